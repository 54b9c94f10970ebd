// The editor's caret, selection and view: positions in the text (buffer
// coordinates), on the screen grid (display coordinates, word wrap and tabs
// included) and in pixels, and the conversions between them; the selection
// in its three modes; where words begin and end; what to repaint.
#pragma once

#include "codeedit/types.h"
#include "rtl/geometry.h"

class TCodeEditCore;

class TCodeEditCaret {
 public:
  explicit TCodeEditCaret(TCodeEditCore& core) : E(core) {}

  // ---- Conversions ----
  TDisplayCoord PixelsToRowColumn(Integer x, Integer y) const;
  TDisplayCoord PixelsToNearestRowColumn(Integer x, Integer y) const;
  TPoint RowColumnToPixels(const TDisplayCoord& pos) const;
  TDisplayCoord BufferToDisplayPos(const TBufferCoord& pos) const;
  TBufferCoord DisplayToBufferPos(const TDisplayCoord& pos) const;
  Integer LineToRow(Integer line) const;
  Integer RowToLine(Integer row) const;
  Integer DisplayLineCount() const;
  Integer RowColToCharIndex(const TBufferCoord& pos) const;
  TBufferCoord CharIndexToRowCol(Integer index) const;

  // ---- Caret ----
  TBufferCoord CaretXY() const;
  Integer CaretX() const;
  Integer CaretY() const;
  // Moves the caret and collapses the selection onto it.
  void SetCaretXY(const TBufferCoord& value);
  void SetCaretX(Integer value);
  void SetCaretY(Integer value);
  // Moves the caret without touching the selection.
  void MoveCaret(const TBufferCoord& pos) { MoveCaretEx(true, pos); }
  void MoveCaretEx(bool ensureVisible, const TBufferCoord& pos);
  void MoveCaretX(Integer x);
  void MoveCaretY(Integer y);
  void MoveCaretToDisplay(const TDisplayCoord& pos);
  TDisplayCoord DisplayXY() const;
  Integer DisplayX() const { return DisplayXY().Column; }
  Integer DisplayY() const;
  bool CaretInView() const;
  void EnsureCursorPosVisible() { EnsureCursorPosVisibleEx(false, false); }
  void EnsureCursorPosVisibleEx(bool forceToMiddle, bool evenIfVisible = false);
  void UpdateLastCaretX();
  void UpdateCaret();
  void CreateCaretShape();
  void HideCaret();

  // ---- View ----
  Integer LeftChar() const;
  void SetLeftChar(Integer value);
  Integer TopLine() const;
  void SetTopLine(Integer value);

  // ---- Selection ----
  // Ordered.
  TBufferCoord BlockBegin() const;
  TBufferCoord BlockEnd() const;
  // As stored: the anchor and the moving end.
  TBufferCoord Anchor() const;
  TBufferCoord MovingEnd() const;
  void SetBlockBegin(TBufferCoord value);
  void SetBlockEnd(TBufferCoord value);
  TCodeSelectionMode SelectionMode() const;
  void SetSelectionMode(TCodeSelectionMode value);
  TCodeSelectionMode ActiveSelectionMode() const;
  void SetActiveSelectionMode(TCodeSelectionMode value);
  void SetCaretAndSelection(const TBufferCoord& caret, const TBufferCoord& begin, const TBufferCoord& end);
  // Selects the characters of a found match on one line, whatever the chosen
  // selection mode (which stays chosen for the next selection the user makes),
  // brings it into view and puts the caret at its start or end.
  void SelectMatch(const TBufferCoord& begin, const TBufferCoord& end, bool caretAtBegin);
  bool SelAvail() const;
  bool SelTabBlock() const;
  bool SelTabLine() const;
  bool IsPointInSelection(const TBufferCoord& pos) const;
  Integer SelStart() const;
  void SetSelStart(Integer value);
  Integer SelEnd() const;
  void SetSelEnd(Integer value);
  Integer SelLength() const;
  void SetSelLength(Integer value);
  void SelectAll();
  void SetWordBlock(TBufferCoord pos);
  void SelWord() { SetWordBlock(CaretXY()); }

  // ---- Words ----
  bool IsIdentChar(Char c) const;
  bool IsWordBreakChar(Char c) const;
  bool IsWhiteChar(Char c) const;
  TBufferCoord NextWordPosEx(const TBufferCoord& pos) const;
  TBufferCoord PrevWordPosEx(const TBufferCoord& pos) const;
  TBufferCoord WordStartEx(const TBufferCoord& pos) const;
  TBufferCoord WordEndEx(const TBufferCoord& pos) const;
  TBufferCoord NextWordPos() const { return NextWordPosEx(CaretXY()); }
  TBufferCoord PrevWordPos() const { return PrevWordPosEx(CaretXY()); }
  TBufferCoord WordStart() const { return WordStartEx(CaretXY()); }
  TBufferCoord WordEnd() const { return WordEndEx(CaretXY()); }
  String GetWordAtRowCol(const TBufferCoord& pos) const;
  String WordAtCursor() const { return GetWordAtRowCol(CaretXY()); }

  // ---- Repainting ----
  void InvalidateLines(Integer first, Integer last);
  void InvalidateLine(Integer line);
  void InvalidateGutterLines(Integer first, Integer last);
  void InvalidateGutterLine(Integer line);
  void InvalidateGutter() { InvalidateGutterLines(-1, -1); }
  void InvalidateSelection();
  // A rectangle of the window, collected while the buffer is inside an update.
  void InvalidateArea(const TRect& rect);

 private:
  // The column limits of a selection end.
  TBufferCoord ClampBlockPos(TBufferCoord value) const;
  bool CanPaint() const;

  TCodeEditCore& E;
};
