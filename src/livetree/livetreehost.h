// What the tree model needs of its window. The Win32 control implements it;
// tests use a fake. The model never touches the window system itself.
#pragma once

#include "livetree/livetreetypes.h"
#include "rtl/uitypes.h"

class TCanvas;

// A font as the tree model describes it; the control maps it onto a real one.
// Height is the platform's: negative for the character height, positive for
// the cell height, in pixels.
struct TLiveTreeFont {
  String Name = u"Tahoma";
  Integer Height = -11;
  TColor Color = clWindowText;
  TFontStyles Style;
  TFontPitch Pitch = fpDefault;

  // The size in points at a screen resolution (negative for a cell height).
  Integer Size(Integer pixelsPerInch) const;
  friend bool operator==(const TLiveTreeFont&, const TLiveTreeFont&) = default;
};

// The pictures of wheel panning: the panning window shows one of the first
// three (the directions the content can move), the cursor one of them all
// (the direction it moves now).
enum TLTPanningImage : std::uint8_t {
  piMoveAll,
  piMoveEW,
  piMoveNS,
  piMoveN,
  piMoveS,
  piMoveE,
  piMoveW,
  piMoveNE,
  piMoveNW,
  piMoveSE,
  piMoveSW
};

// How a hint comes into view.
enum THintAnimationType : std::uint8_t { hatNone, hatFade, hatSlide, hatSystemDefault };

// The image lists of a tree whose sizes the model needs for its geometry.
enum TLTImageListKind : std::uint8_t { ilNormal, ilState, ilCheck };

class ILiveTreeHost {
 public:
  virtual ~ILiveTreeHost() = default;

  // Whether the window exists; without one nothing is painted or scrolled.
  virtual bool HandleAllocated() const = 0;
  // Whether the window is shown (redraw switching is skipped for hidden ones).
  virtual bool Visible() const = 0;
  virtual bool Focused() const = 0;

  // Repaint requests. The model has already checked that no update is open.
  virtual void Invalidate() = 0;
  virtual void InvalidateNode(PLiveNode node) = 0;
  // From the node's row down to the bottom of the client area (nil: all).
  virtual void InvalidateToBottom(PLiveNode node) = 0;

  // The scroll ranges follow the tree's total height and width.
  virtual void UpdateScrollBars(bool repaint) = 0;
  virtual void UpdateVerticalScrollBar(bool repaint) = 0;

  // Window timers 1 to 8; a fired timer calls TBaseLiveTree::TimerFired on the
  // interface thread.
  virtual void StartTimer(int id, Cardinal milliseconds) = 0;
  virtual void StopTimer(int id) = 0;

  // Window redrawing on and off around update brackets.
  virtual void SetRedraw(bool on) = 0;

  // The cache builder thread has a call waiting that must run on the interface
  // thread: arrange for TBaseLiveTree::DispatchHandOvers to run there soon
  // (the control posts itself a message). Called from the builder thread.
  virtual void WakeInterfaceThread() = 0;

  // The canvas measuring events receive; may be nil.
  virtual TCanvas* Canvas() = 0;

  // Client area height in pixels.
  virtual Integer ClientHeight() const = 0;

  // An open hint is cancelled (structure changes under it).
  virtual void CancelHint() = 0;

  // ---- Geometry and measuring; a window that does not measure answers 0 ----
  virtual Integer ClientWidth() const { return 0; }
  // The extent of one line of text in a font.
  virtual TSize TextExtent(const TLiveTreeFont&, StringView) { return {}; }
  // The extent of a text broken at words into lines no wider than Width; cy
  // is the height of the whole block.
  virtual TSize WrappedTextExtent(const TLiveTreeFont&, StringView, Integer) { return {}; }
  // The height of a line in the font (the font's cell height).
  virtual Integer FontHeight(const TLiveTreeFont&) { return 0; }
  // The size of one image of an image list of the tree; (0, 0) when the tree
  // has no such list.
  virtual TSize ImageListSize(TLTImageListKind) { return {}; }
  // The font of a canvas that events receive; handlers may change it. A nil
  // canvas has none and keeps nothing.
  virtual TLiveTreeFont CanvasFont(TCanvas*) { return {}; }
  virtual void SetCanvasFont(TCanvas*, const TLiveTreeFont&) {}
  // The width of a vertical and the height of a horizontal scroll bar.
  virtual Integer VerticalScrollBarWidth() const { return 0; }
  virtual Integer HorizontalScrollBarHeight() const { return 0; }
  // Whether the scroll bars are shown now.
  virtual bool VerticalScrollBarShown() const { return false; }
  virtual bool HorizontalScrollBarShown() const { return false; }

  // ---- Scrolling and the header ----
  // The system's beep (an unmatched search character).
  virtual void Beep() {}
  // The content moved by (DeltaX, DeltaY) pixels: the window scrolls what it
  // shows (the model has applied the new offsets).
  virtual void ScrollContent(Integer, Integer) {}
  virtual void UpdateHorizontalScrollBar(bool) {}
  // Repaint a part of the header (header coordinates); an empty rectangle is
  // the whole header.
  virtual void InvalidateHeader(const TRect&) {}
  // The header's height or visibility changed: the window frame follows.
  virtual void HeaderFrameChanged() {}
  // In-place editing of a cell: the host lays its editor over the cell and
  // says whether one now runs. Ending takes the editor's text into the node
  // (Accept) or drops it, and says whether the editor stopped.
  virtual bool BeginNodeEdit(PLiveNode, TColumnIndex) { return false; }
  virtual bool EndNodeEdit(bool /*accept*/) { return true; }
  // toAcceptOLEDrop was switched: the window registers or revokes itself as
  // a drop target.
  virtual void AcceptDropsChanged(bool) {}

  // ---- Mouse selection, auto-scroll and wheel panning ----
  // Where the mouse cursor is now, in client coordinates.
  virtual TPoint CursorPos() const { return {}; }
  // The scroll bars' line steps, by which auto-scrolling moves too.
  virtual Integer HorizontalIncrement() const { return 20; }
  virtual Integer VerticalIncrement() const { return 20; }
  // How far the mouse moves with a button held before it drags.
  virtual Integer DragThreshold() const { return 4; }
  // Repaint a part of the client area (client coordinates).
  virtual void InvalidateArea(const TRect&) { Invalidate(); }
  // Paint what is invalid at once.
  virtual void PaintNow() {}
  // The mouse stays with the window while a rectangle is drawn or panning runs.
  virtual void CaptureMouse(bool) {}
  // Wheel panning: a small window with the image stands centred on a client
  // point until it is hidden; the cursor shows the direction of the move.
  virtual void ShowPanningWindow(TPoint, TLTPanningImage) {}
  virtual void HidePanningWindow() {}
  virtual void SetPanningCursor(TLTPanningImage) {}
  // The system's hint animation: hatNone, hatFade or hatSlide.
  virtual THintAnimationType SystemHintAnimation() const { return hatNone; }
};

// The host of a tree without a window: nothing to paint, scroll or time.
class TNullLiveTreeHost : public ILiveTreeHost {
 public:
  bool HandleAllocated() const override { return false; }
  bool Visible() const override { return false; }
  bool Focused() const override { return false; }
  void Invalidate() override {}
  void InvalidateNode(PLiveNode) override {}
  void InvalidateToBottom(PLiveNode) override {}
  void UpdateScrollBars(bool) override {}
  void UpdateVerticalScrollBar(bool) override {}
  void StartTimer(int, Cardinal) override {}
  void StopTimer(int) override {}
  void SetRedraw(bool) override {}
  void WakeInterfaceThread() override {}
  TCanvas* Canvas() override { return nullptr; }
  Integer ClientHeight() const override { return 0; }
  void CancelHint() override {}
};
