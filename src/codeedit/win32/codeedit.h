// The editor control as a window of the window class library: it hosts the
// editor core, lends it the window (repainting, scrolling, caret, clipboard,
// font metrics) and publishes its properties, so that forms that hold a
// TCodeEdit load. It paints what the core's paint plan says.
#pragma once

#include "ui/winapi.h"

#include <array>
#include <memory>

#include "codeedit/editcore.h"
#include "ui/controls.h"
#include "ui/graphics.h"
#include "ui/stdctrls.h"

class TClassRegistry;
struct TCodePaintPlan;
class TFiler;
class TReader;

const TTypeInfo& DescribeType(TypeTag<TCodeEditorOption>);
const TTypeInfo& DescribeType(TypeTag<TCodeEditorOptions>);
const TTypeInfo& DescribeType(TypeTag<TCodeSelectionMode>);
const TTypeInfo& DescribeType(TypeTag<TCodeEditCaretType>);
const TTypeInfo& DescribeType(TypeTag<TCodeScrollHintFormat>);
const TTypeInfo& DescribeType(TypeTag<TCodeFontSmoothMethod>);
const TTypeInfo& DescribeType(TypeTag<TCodeStatusChange>);
const TTypeInfo& DescribeType(TypeTag<TCodeStatusChanges>);
const TTypeInfo& DescribeType(TypeTag<TStatusChangeEvent>);
const TTypeInfo& DescribeType(TypeTag<TProcessCommandEvent>);
const TTypeInfo& DescribeType(TypeTag<TContextHelpEvent>);
const TTypeInfo& DescribeType(TypeTag<TPlaceMarkEvent>);

const TTypeInfo& DescribeType(TypeTag<TCodeGutterBorderStyle>);

// The editor's appearance objects as forms set them, property by property.
class TCodeEditGutter : public TOwnedPersistent {
  KST_CLASS(TCodeEditGutter, TOwnedPersistent)
 public:
  TCodeEditGutter(TPersistent* owner, TCodeGutter& gutter);
  TCodeGutter& Gutter() const { return FGutter; }
  // The font of the line numbers.
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(const TFont* value);

 private:
  TCodeGutter& FGutter;
  std::unique_ptr<TFont> FFont;
};

class TCodeEditSelectedColor : public TOwnedPersistent {
  KST_CLASS(TCodeEditSelectedColor, TOwnedPersistent)
 public:
  TCodeEditSelectedColor(TPersistent* owner, TCodeSelectedColor& colors) : TOwnedPersistent(owner), FColors(colors) {}
  TCodeSelectedColor& Colors() const { return FColors; }

 private:
  TCodeSelectedColor& FColors;
};

class TCodeEditBookMarkOpt : public TOwnedPersistent {
  KST_CLASS(TCodeEditBookMarkOpt, TOwnedPersistent)
 public:
  TCodeEditBookMarkOpt(TPersistent* owner, TCodeBookMarkOpt& options) : TOwnedPersistent(owner), FOptions(options) {}
  TCodeBookMarkOpt& Options() const { return FOptions; }

 private:
  TCodeBookMarkOpt& FOptions;
};

class TCustomCodeEdit : public TCustomControl, public ICodeEditHost {
  KST_CLASS(TCustomCodeEdit, TCustomControl)
 public:
  explicit TCustomCodeEdit(TComponent* owner);
  ~TCustomCodeEdit() override;

  TCodeEditCore& Core() const { return *FCore; }

  // ---- What forms store ----
  TStrings* GetLines() const { return &FCore->Lines(); }
  void SetLines(const TStrings* value);
  String Text() const { return FCore->Text(); }
  void SetEditText(const String& value) { FCore->SetText(value); }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  TCodeEditorOptions Options() const { return FCore->Options(); }
  // eoDropFiles also lets the window take files dropped from the shell.
  void SetOptions(TCodeEditorOptions value) {
    FCore->SetOptions(value);
    SetAcceptFiles(value.Contains(eoDropFiles));
  }
  TCodeSelectionMode SelectionMode() const;
  void SetSelectionMode(TCodeSelectionMode value);
  bool WordWrap() const { return FCore->WordWrap(); }
  void SetWordWrap(bool value) { FCore->SetWordWrap(value); }
  TCodeEditGutter* GetGutter() const { return FGutter.get(); }
  TCodeEditSelectedColor* GetSelectedColor() const { return FSelectedColor.get(); }
  TCodeEditBookMarkOpt* GetBookMarkOptions() const { return FBookMarkOptions.get(); }
  bool Modified() const { return FCore->Modified(); }
  void SetModified(bool value) { FCore->SetModified(value); }
  TCodeEditSearchCustom* SearchEngine() const { return FCore->SearchEngine(); }
  // Asks the engine for its removal notice, so the editor never keeps a freed one.
  void SetSearchEngine(TCodeEditSearchCustom* value);

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Paint() override;
  void Resize() override;
  void Dispatch(TMessage& message) override;
  // The keystroke table as its difference to the default table:
  // "RemovedKeystrokes" and "AddedKeystrokes".
  void DefineProperties(TFiler& filer) override;

 private:
  void PaintGutter(HDC dc, const TRect& area, const TCodePaintPlan& plan);
  void PaintText(HDC dc, const TRect& area, const TCodePaintPlan& plan);
  // The font text is drawn in, in a style, kept until the font changes.
  HFONT StyledFont(TFontStyles style);
  const TFont& TextFont() const { return FFixedFont ? *FFixedFont : Font(); }
  void ChooseTextFont();
  // ---- Input ----
  // Runs the key's command; false when the key has none.
  bool HandleKey(Word key);
  // The input method's finished text, typed as one string.
  void TypeImeResult();
  // The input method composes in the editor's font.
  void SetImeFont();
  void HandleChar(Char c);
  TBufferCoord PixelToBuffer(Integer x, Integer y) const;
  void MouseSelect(Integer x, Integer y, int clicks);
  void MouseDrag(Integer x, Integer y);
  // A drag outside the text scrolls towards the pointer on a timer.
  void UpdateDragScroll(Integer x, Integer y);
  void DragScrollTick();
  void StopDragScroll();
  void Scrolled(bool vertical, Word code);
  void ReadRemovedKeystrokes(TReader& reader);
  void ReadAddedKeystrokes(TReader& reader);

  // ---- The window as the core sees it ----
  bool HandleAllocated() const override { return TWinControl::HandleAllocated(); }
  void HandleNeeded() override { TWinControl::HandleNeeded(); }
  bool Visible() const override { return TControl::Visible(); }
  bool Focused() const override { return TWinControl::Focused(); }
  bool Designing() const override { return false; }
  Integer ClientWidth() const override;
  Integer ClientHeight() const override;
  void InvalidateRect(const TRect& rect) override;
  void Invalidate() override { TCustomControl::Invalidate(); }
  void ScrollArea(Integer dx, Integer dy, const TRect& area) override;
  void UpdateNow() override;
  void UpdateScrollBars() override;
  void CreateCaret(Integer width, Integer height) override;
  void DestroyCaret() override;
  void SetCaretPos(Integer x, Integer y) override;
  bool ShowCaret() override;
  void HideCaret() override;
  void SetScrollTimer(bool) override {}
  void CopyText(const String& text, TCodeSelectionMode mode) override;
  bool PasteText(String& text, TCodeSelectionMode& mode) override;
  bool CanPasteText() override;
  TSize MeasureCell(TFontStyles style) override;

  std::unique_ptr<TCodeEditCore> FCore;
  std::unique_ptr<TCodeEditGutter> FGutter;
  std::unique_ptr<TCodeEditSelectedColor> FSelectedColor;
  std::unique_ptr<TCodeEditBookMarkOpt> FBookMarkOptions;
  TFormBorderStyle FBorderStyle = bsSingle;
  TScrollStyle FScrollBars = ssBoth;
  // What each scroll bar (vertical, horizontal) was last given, so that an
  // unchanged bar is not set again; Max -1 before the first setting.
  struct TShownBar {
    int Max = -1;
    unsigned Page = 0;
    int Pos = 0;
    unsigned Mask = 0;
    bool operator==(const TShownBar&) const = default;
  };
  std::array<TShownBar, 2> FShownBars{};
  // The editor's font in its sixteen styles, made on first use.
  std::array<std::unique_ptr<TFont>, 16> FStyledFonts;
  // The fixed-pitch stand-in for a proportional font, or nil.
  std::unique_ptr<TFont> FFixedFont;
  bool FMouseSelecting = false;
  // The scroll step per tick in columns and rows, and the pointer's last place.
  Integer FScrollDeltaX = 0;
  Integer FScrollDeltaY = 0;
  TPoint FDragPoint{};
};

class TCodeEdit : public TCustomCodeEdit {
  KST_CLASS(TCodeEdit, TCustomCodeEdit)
 public:
  using TCustomCodeEdit::TCustomCodeEdit;

  TCodeFontSmoothMethod FontSmoothing() const { return FFontSmoothing; }
  void SetFontSmoothing(TCodeFontSmoothMethod value);

 private:
  TCodeFontSmoothMethod FFontSmoothing = fsmNone;
};

// The editor that also answers the standard multi-line edit's messages
// (EM_*), counting characters with CR LF line breaks and lines from 0.
class TCodeMemo : public TCodeEdit {
  KST_CLASS(TCodeMemo, TCodeEdit)
 public:
  using TCodeEdit::TCodeEdit;

 protected:
  void Dispatch(TMessage& message) override;

 private:
  // False when the message is not an edit message.
  bool HandleEditMessage(TMessage& message);
  void ReplaceSelection(const String& text, bool canUndo);
};

// The clipboard format of the block that carries a copy's selection mode.
UINT CodeEditBlockTypeFormat();

// Makes the editor controls and the types of their properties known.
void RegisterCodeEditClasses(TClassRegistry& registry);
