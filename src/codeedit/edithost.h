// The window as the editor core sees it: the core keeps the text, the caret,
// the selection and the view, and asks its window (or a test's stand-in) to
// repaint, scroll, show the caret, run the drag-scroll timer, use the
// clipboard and measure the font.
#pragma once

#include "codeedit/displayform.h"
#include "codeedit/types.h"
#include "rtl/geometry.h"
#include "rtl/uitypes.h"

enum TTransientType { ttBefore, ttAfter };

class ICodeEditHost {
 public:
  virtual ~ICodeEditHost() = default;

  // ---- The window ----
  virtual bool HandleAllocated() const = 0;
  // Creates the window when it does not exist yet (where the core needs its size).
  virtual void HandleNeeded() = 0;
  virtual bool Visible() const = 0;
  virtual bool Focused() const = 0;
  virtual bool Designing() const { return false; }
  virtual Integer ClientWidth() const = 0;
  virtual Integer ClientHeight() const = 0;

  // ---- Painting ----
  virtual void InvalidateRect(const TRect& rect) = 0;
  virtual void Invalidate() = 0;
  // Moves the pixels of the area by (dx, dy) and invalidates what is uncovered.
  virtual void ScrollArea(Integer dx, Integer dy, const TRect& area) = 0;
  // Paints what is invalid now rather than when the message queue is idle.
  virtual void UpdateNow() = 0;
  virtual void UpdateScrollBars() = 0;

  // ---- Caret ----
  virtual void CreateCaret(Integer width, Integer height) = 0;
  virtual void DestroyCaret() = 0;
  virtual void SetCaretPos(Integer x, Integer y) = 0;
  // Whether the system shows it.
  virtual bool ShowCaret() = 0;
  virtual void HideCaret() = 0;
  // Around caret moves and edits: the window may paint transient marks
  // (hidden before, shown after).
  virtual void PaintTransient(TTransientType) {}
  // Where the input method's composition window goes.
  virtual void PlaceComposition(Integer, Integer) {}

  // ---- Timer and clipboard ----
  virtual void SetScrollTimer(bool running) = 0;
  // The text with the selection mode it was copied in.
  virtual void CopyText(const String& text, TCodeSelectionMode mode) = 0;
  // False when the clipboard holds no text; `mode` is the mode of the copy,
  // or left as given when the clipboard does not say.
  virtual bool PasteText(String& text, TCodeSelectionMode& mode) = 0;
  virtual bool CanPasteText() = 0;

  // ---- Text metrics of the editor's font ----
  // The cell (character width, row height) of the font drawn in the style.
  virtual TSize MeasureCell(TFontStyles style) = 0;
  // The widths of glyphs in cells; nil: every glyph takes one cell.
  virtual ICodeEditCellMetrics* CellMetrics() { return nullptr; }
};
