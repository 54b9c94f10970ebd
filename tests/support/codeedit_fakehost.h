// A window stand-in for the editor core in tests and benchmarks: a fixed
// client size, a fixed-width font (every cell 8 x 16 pixels, bold or not), a
// recorded caret and clipboard, and counters of what the core asked for.
#pragma once

#include <vector>

#include "codeedit/editcore.h"

class TFakeCodeEditHost : public ICodeEditHost {
 public:
  static constexpr Integer CellWidth = 8;
  static constexpr Integer CellHeight = 16;

  bool Window = true;
  bool Shown = true;
  bool HasFocus = true;
  Integer Width = 8 * 80 + 32;  // 80 cells beside the default gutter
  Integer Height = 16 * 25;     // 25 rows

  int Invalidations = 0;
  int ScrollBarUpdates = 0;
  int Updates = 0;
  TPoint Scrolled;
  TPoint CaretPos;
  TSize CaretSize;
  bool CaretShown = false;
  int TransientBefore = 0;
  int TransientAfter = 0;
  bool TimerRunning = false;
  String Clipboard;
  TCodeSelectionMode ClipboardMode = smNormal;
  bool ClipboardHasMode = false;
  bool ClipboardFull = false;

  bool HandleAllocated() const override { return Window; }
  void HandleNeeded() override { Window = true; }
  bool Visible() const override { return Shown; }
  bool Focused() const override { return HasFocus; }
  Integer ClientWidth() const override { return Width; }
  Integer ClientHeight() const override { return Height; }
  void InvalidateRect(const TRect&) override { ++Invalidations; }
  void Invalidate() override { ++Invalidations; }
  void ScrollArea(Integer dx, Integer dy, const TRect&) override {
    Scrolled.X += dx;
    Scrolled.Y += dy;
  }
  void UpdateNow() override { ++Updates; }
  void UpdateScrollBars() override { ++ScrollBarUpdates; }
  void CreateCaret(Integer width, Integer height) override { CaretSize = {width, height}; }
  void DestroyCaret() override { CaretShown = false; }
  void SetCaretPos(Integer x, Integer y) override { CaretPos = {x, y}; }
  bool ShowCaret() override { return CaretShown = true; }
  void HideCaret() override { CaretShown = false; }
  void PaintTransient(TTransientType type) override { ++(type == ttBefore ? TransientBefore : TransientAfter); }
  void SetScrollTimer(bool running) override { TimerRunning = running; }
  void CopyText(const String& text, TCodeSelectionMode mode) override {
    Clipboard = text;
    ClipboardMode = mode;
    ClipboardHasMode = true;
    ClipboardFull = true;
  }
  bool PasteText(String& text, TCodeSelectionMode& mode) override {
    if (!ClipboardFull) return false;
    text = Clipboard;
    if (ClipboardHasMode) mode = ClipboardMode;
    return true;
  }
  bool CanPasteText() override { return ClipboardFull; }
  TSize MeasureCell(TFontStyles) override { return {CellWidth, CellHeight}; }
};
