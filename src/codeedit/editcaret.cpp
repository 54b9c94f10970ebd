#include "codeedit/editcaret.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "codeedit/editcore.h"
#include "codeedit/textutils.h"

namespace {

constexpr Integer MaxInteger = std::numeric_limits<Integer>::max();

// Rounds halves to even, as the conversions to the nearest cell do.
Integer RoundHalfEven(double value) {
  return static_cast<Integer>(std::nearbyint(value));
}

}  // namespace

// ---- Conversions ----

TDisplayCoord TCodeEditCaret::PixelsToRowColumn(Integer x, Integer y) const {
  const Integer w = std::max(E.fCharWidth, 1);
  const Integer h = std::max(E.fTextHeight, 1);
  const Integer dx = x - E.fGutterWidth - 2;
  return {std::max(1, (dx >= 0 ? dx / w : -((-dx + w - 1) / w)) + E.fLeftChar),
          std::max(1, (y >= 0 ? y / h : -((-y + h - 1) / h)) + E.fTopLine)};
}

TDisplayCoord TCodeEditCaret::PixelsToNearestRowColumn(Integer x, Integer y) const {
  const Integer w = std::max(E.fCharWidth, 1);
  const Integer h = std::max(E.fTextHeight, 1);
  y = std::max(0, std::min(y, E.fLinesInWindow * h - 1));
  return {std::max(1, RoundHalfEven(static_cast<double>(x - E.fGutterWidth - 2) / w) + E.fLeftChar),
          std::max(1, y / h + E.fTopLine)};
}

TPoint TCodeEditCaret::RowColumnToPixels(const TDisplayCoord& pos) const {
  return {(pos.Column - 1) * E.fCharWidth + E.fTextOffset, (pos.Row - E.fTopLine) * E.fTextHeight};
}

TDisplayCoord TCodeEditCaret::BufferToDisplayPos(const TBufferCoord& pos) const {
  TDisplayCoord result{pos.Char, pos.Line};
  if (pos.Line >= 1 && pos.Line <= E.fLines->GetCount())
    result.Column =
        CharToDisplayColumn(E.fLines->LineText(pos.Line - 1), pos.Char, E.fTabWidth, E.fLines->GlyphCells());
  if (E.fWordWrapPlugin) result = E.fWordWrapPlugin->BufferToDisplayPos({result.Column, result.Row});
  return result;
}

TBufferCoord TCodeEditCaret::DisplayToBufferPos(const TDisplayCoord& pos) const {
  TBufferCoord result{pos.Column, pos.Row};
  if (E.fWordWrapPlugin) result = E.fWordWrapPlugin->DisplayToBufferPos(pos);
  if (result.Line >= 1 && result.Line <= E.fLines->GetCount())
    result.Char =
        DisplayColumnToChar(E.fLines->LineText(result.Line - 1), result.Char, E.fTabWidth, E.fLines->GlyphCells());
  return result;
}

Integer TCodeEditCaret::LineToRow(Integer line) const {
  if (!E.fWordWrapPlugin) return line;
  return BufferToDisplayPos({1, line}).Row;
}

Integer TCodeEditCaret::RowToLine(Integer row) const {
  if (!E.fWordWrapPlugin) return row;
  return DisplayToBufferPos({1, row}).Line;
}

Integer TCodeEditCaret::DisplayLineCount() const {
  if (!E.fWordWrapPlugin) return E.fLines->GetCount();
  if (E.fLines->GetCount() == 0) return 0;
  return E.fWordWrapPlugin->RowCount();
}

Integer TCodeEditCaret::RowColToCharIndex(const TBufferCoord& pos) const {
  const Integer line = std::min(pos.Line, E.fLines->GetCount());
  if (line < 1) return pos.Char - 1;
  return E.fLines->LineCharIndex(line - 1) + 2 * (line - 1) + (pos.Char - 1);
}

TBufferCoord TCodeEditCaret::CharIndexToRowCol(Integer index) const {
  Integer start = 0;
  for (Integer i = 0; i < E.fLines->GetCount(); ++i) {
    const Integer end = start + E.fLines->LineCharLength(i) + 2;
    if (end > index) return {index - start + 1, i + 1};
    start = end;
  }
  return {1, E.fLines->GetCount() + 1};
}

// ---- Caret ----

TBufferCoord TCodeEditCaret::CaretXY() const {
  return {E.fCaretX, E.fCaretY};
}
Integer TCodeEditCaret::CaretX() const {
  return E.fCaretX;
}
Integer TCodeEditCaret::CaretY() const {
  return E.fCaretY;
}

void TCodeEditCaret::SetCaretXY(const TBufferCoord& value) {
  TCodeEditPaintLock lock(E);
  E.fStatusChanges.Include(scSelection);
  MoveCaretEx(true, value);
  if (SelAvail()) InvalidateSelection();
  E.fBlockBegin = E.fBlockEnd = CaretXY();
}

void TCodeEditCaret::SetCaretX(Integer value) {
  SetCaretXY({value, E.fCaretY});
}

void TCodeEditCaret::SetCaretY(Integer value) {
  SetCaretXY({E.fCaretX, value});
}

void TCodeEditCaret::MoveCaretX(Integer x) {
  MoveCaret({x, E.fCaretY});
}

void TCodeEditCaret::MoveCaretY(Integer y) {
  MoveCaret({E.fCaretX, y});
}

void TCodeEditCaret::MoveCaretEx(bool ensureVisible, const TBufferCoord& pos) {
  E.fCaretAtEOL = false;
  const bool window = E.fHost.HandleAllocated();
  if (window) E.FirePaintTransient(ttBefore, false);
  struct TAfter {
    TCodeEditCore& Core;
    bool Window;
    ~TAfter() {
      if (Window) Core.FirePaintTransient(ttAfter, false);
    }
  } after{E, window};
  Integer x = pos.Char;
  Integer y = pos.Line;
  Integer limit = E.fWordWrapPlugin ? MaxInteger : E.fMaxScrollWidth + 1;
  const bool pastEol = E.HasOption(eoScrollPastEol);
  y = std::min(y, E.fLines->GetCount());
  if (y < 1) {
    y = 1;
    if (!pastEol) limit = 1;
  } else if (!pastEol) {
    limit = E.fLines->LineCharLength(y - 1) + 1;
  } else {
    // The scroll width bounds the blank space past the end, never the text.
    limit = std::max(limit, E.fLines->LineCharLength(y - 1) + 1);
  }
  if (x > limit && !(pastEol && E.HasOption(eoAutoSizeMaxScrollWidth))) x = limit;
  x = std::max(x, 1);
  // Between the two halves of a pair there is no character to stand before.
  if (y <= E.fLines->GetCount()) x = OutsideSurrogatePair(E.fLines->LineText(y - 1), x);
  if (x == E.fCaretX && y == E.fCaretY) {
    UpdateLastCaretX();
    return;
  }
  TCodeEditPaintLock lock(E);
  if (x != E.fCaretX) {
    E.fCaretX = x;
    E.fStatusChanges.Include(scCaretX);
  }
  if (y != E.fCaretY) {
    if (E.fActiveLineColor != clNone) {
      InvalidateLine(y);
      InvalidateLine(E.fCaretY);
    }
    E.fCaretY = y;
    E.fStatusChanges.Include(scCaretY);
  }
  UpdateLastCaretX();
  if (ensureVisible) EnsureCursorPosVisible();
  E.fStateFlags.Include(sfCaretChanged);
  E.fStateFlags.Include(sfScrollbarChanged);
}

void TCodeEditCaret::UpdateLastCaretX() {
  E.fLastCaretX = DisplayX();
}

void TCodeEditCaret::MoveCaretToDisplay(const TDisplayCoord& pos) {
  TCodeEditPaintLock lock(E);
  MoveCaret(DisplayToBufferPos(pos));
  if (E.fWordWrapPlugin) {
    E.fCaretAtEOL = pos.Row >= 1 && pos.Row <= E.fWordWrapPlugin->RowCount() &&
                    E.fWordWrapPlugin->GetRowLength(pos.Row) < pos.Column &&
                    BufferToDisplayPos(CaretXY()).Row != pos.Row;
  }
  UpdateLastCaretX();
}

TDisplayCoord TCodeEditCaret::DisplayXY() const {
  TDisplayCoord result = BufferToDisplayPos(CaretXY());
  if (E.fWordWrapPlugin && E.fCaretAtEOL) {
    if (result.Column == 1 && result.Row > 1) {
      result.Row -= 1;
      result.Column = E.fWordWrapPlugin->GetRowLength(result.Row) + 1;
    } else {
      E.fCaretAtEOL = false;
    }
  }
  return result;
}

Integer TCodeEditCaret::DisplayY() const {
  return E.fWordWrapPlugin ? DisplayXY().Row : E.fCaretY;
}

bool TCodeEditCaret::CaretInView() const {
  const TDisplayCoord d = DisplayXY();
  return d.Column >= E.fLeftChar && d.Column <= E.fLeftChar + E.fCharsInWindow && d.Row >= E.fTopLine &&
         d.Row <= E.fTopLine + E.fLinesInWindow;
}

void TCodeEditCaret::EnsureCursorPosVisibleEx(bool forceToMiddle, bool evenIfVisible) {
  E.fHost.HandleNeeded();
  TCodeEditPaintLock lock(E);
  const Integer c = DisplayX();
  if (c < E.fLeftChar)
    SetLeftChar(c);
  else if (c < E.fLeftChar + E.fCharsInWindow)
    SetLeftChar(E.fLeftChar);
  else
    SetLeftChar(c - E.fCharsInWindow + 1);
  const Integer r = DisplayY();
  const Integer t = E.fTopLine;
  const Integer n = E.fLinesInWindow;
  if (forceToMiddle) {
    if (r < t - 1)
      SetTopLine(r - n / 2 < 0 ? 1 : r - n / 2 + 1);
    else if (r > t + n - 2)
      SetTopLine(r - (n - 1) + n / 2);
    else if (evenIfVisible)
      SetTopLine(r - n / 2 + 1);
  } else if (r < t) {
    SetTopLine(r);
  } else if (r > t + std::max(n, 1) - 1) {
    SetTopLine(r - n + 1);
  } else {
    SetTopLine(t);
  }
}

void TCodeEditCaret::UpdateCaret() {
  if (E.fPaintLock != 0 || !(E.fHost.Focused() || E.fAlwaysShowCaret)) {
    E.fStateFlags.Include(sfCaretChanged);
    return;
  }
  E.fStateFlags.Exclude(sfCaretChanged);
  TDisplayCoord d = DisplayXY();
  if (E.fWordWrapPlugin) d.Column = std::min(d.Column, E.fCharsInWindow + 1);
  TPoint p = RowColumnToPixels(d);
  p.X += E.fCaretOffset.X;
  p.Y += E.fCaretOffset.Y;
  E.fHost.SetCaretPos(p.X, p.Y);
  const TRect area = Rect(E.fGutterWidth, 0, E.fHost.ClientWidth(), E.fHost.ClientHeight());
  if (area.Contains(p)) {
    if (!E.HasOption(eoNoCaret) && !E.fStateFlags.Contains(sfCaretVisible)) {
      if (E.fHost.ShowCaret()) E.fStateFlags.Include(sfCaretVisible);
    }
  } else {
    HideCaret();
  }
  E.fHost.PlaceComposition(p.X, p.Y);
}

void TCodeEditCaret::HideCaret() {
  if (!E.fStateFlags.Contains(sfCaretVisible)) return;
  E.fHost.HideCaret();
  E.fStateFlags.Exclude(sfCaretVisible);
}

void TCodeEditCaret::CreateCaretShape() {
  const Integer w = E.fCharWidth;
  const Integer h = E.fTextHeight;
  Integer cw = 2, ch = h - 2;
  TPoint offset{-1, 0};
  switch (E.fInserting ? E.fInsertCaret : E.fOverwriteCaret) {
    case ctVerticalLine: break;
    case ctHorizontalLine:
      cw = w;
      ch = 2;
      offset = {0, h - 2};
      break;
    case ctHalfBlock:
      cw = w;
      ch = (h - 2) / 2;
      offset = {0, (h - 2) / 2};
      break;
    case ctBlock:
      cw = w;
      offset = {0, 0};
      break;
  }
  E.fCaretOffset = offset;
  E.fStateFlags.Exclude(sfCaretVisible);
  if (E.fHost.HandleAllocated() && (E.fHost.Focused() || E.fAlwaysShowCaret)) {
    E.fHost.CreateCaret(cw, std::max(ch, 1));
    UpdateCaret();
  }
}

// ---- View ----

Integer TCodeEditCaret::LeftChar() const {
  return E.fLeftChar;
}

Integer TCodeEditCaret::TopLine() const {
  return E.fTopLine;
}

void TCodeEditCaret::SetLeftChar(Integer value) {
  if (E.fWordWrapPlugin) value = 1;
  Integer limit;
  if (E.HasOption(eoScrollPastEol)) {
    limit = E.HasOption(eoAutoSizeMaxScrollWidth)
                ? MaxInteger - E.fCharsInWindow
                : std::max(E.fMaxScrollWidth, E.fLines->LengthOfLongestLine()) - E.fCharsInWindow + 1;
  } else {
    const Integer longest = E.fLines->LengthOfLongestLine();
    limit = longest > E.fCharsInWindow ? longest - E.fCharsInWindow + 1 : 1;
  }
  value = std::max(1, std::min(value, limit));
  if (value == E.fLeftChar) return;
  const Integer old = E.fLeftChar;
  E.fLeftChar = value;
  E.fTextOffset = E.fGutterWidth + 2 - (value - 1) * E.fCharWidth;
  if (E.fHost.HandleAllocated()) {
    const Integer delta = old - value;
    if (std::abs(delta) < E.fCharsInWindow) {
      E.fHost.ScrollArea(delta * E.fCharWidth, 0,
                         Rect(E.fGutterWidth + 2, 0, E.fHost.ClientWidth(), E.fHost.ClientHeight()));
    } else {
      InvalidateLines(-1, -1);
    }
  }
  if (E.HasOption(eoScrollPastEol) && E.HasOption(eoAutoSizeMaxScrollWidth) &&
      E.fLeftChar + E.fCharsInWindow > E.fMaxScrollWidth) {
    E.SetMaxScrollWidth(E.fLeftChar + E.fCharsInWindow);
  } else {
    E.ScrollBarsChanged();
  }
  E.StatusChanged({scLeftChar});
}

void TCodeEditCaret::SetTopLine(Integer value) {
  const Integer rows = DisplayLineCount();
  const Integer limit = E.HasOption(eoScrollPastEof) ? rows : rows - E.fLinesInWindow + 1;
  value = std::min(value, limit);
  if (value < 2) value = 1;
  if (value == E.fTopLine) return;
  const Integer delta = E.fTopLine - value;
  E.fTopLine = value;
  if (E.fHost.HandleAllocated()) {
    if (std::abs(delta) < E.fLinesInWindow)
      E.fHost.ScrollArea(0, delta * E.fTextHeight, Rect(0, 0, E.fHost.ClientWidth(), E.fHost.ClientHeight()));
    else
      E.fHost.Invalidate();
    E.UpdateWindowNow();
  }
  E.ScrollBarsChanged();
  E.StatusChanged({scTopLine});
}

// ---- Selection ----

TBufferCoord TCodeEditCaret::BlockBegin() const {
  return EarlierCoord(E.fBlockBegin, E.fBlockEnd);
}

TBufferCoord TCodeEditCaret::BlockEnd() const {
  const TBufferCoord first = EarlierCoord(E.fBlockBegin, E.fBlockEnd);
  return first == E.fBlockBegin ? E.fBlockEnd : E.fBlockBegin;
}

TBufferCoord TCodeEditCaret::Anchor() const {
  return E.fBlockBegin;
}

TBufferCoord TCodeEditCaret::MovingEnd() const {
  return E.fBlockEnd;
}

TBufferCoord TCodeEditCaret::ClampBlockPos(TBufferCoord value) const {
  value.Line = std::max(1, std::min(value.Line, E.fLines->GetCount()));
  const Integer length = value.Line <= E.fLines->GetCount() ? E.fLines->LineCharLength(value.Line - 1) : 0;
  // The scroll width bounds the blank space past the end, never the text.
  if (E.HasOption(eoScrollPastEol) && !E.fWordWrapPlugin)
    value.Char = ClampInt(value.Char, 1, std::max(E.fMaxScrollWidth, length) + 1);
  else
    value.Char = std::max(value.Char, 1);
  if (E.fActiveSelectionMode == smNormal) {
    value.Char = std::min(value.Char, length + 1);
    if (length > 0) value.Char = OutsideSurrogatePair(E.fLines->LineText(value.Line - 1), value.Char);
  }
  return value;
}

void TCodeEditCaret::SetBlockBegin(TBufferCoord value) {
  E.fActiveSelectionMode = E.fSelectionMode;
  value = ClampBlockPos(value);
  if (SelAvail()) {
    const Integer first = std::min({E.fBlockBegin.Line, E.fBlockEnd.Line, value.Line});
    const Integer last = std::max({E.fBlockBegin.Line, E.fBlockEnd.Line, value.Line});
    E.fBlockBegin = E.fBlockEnd = value;
    InvalidateLines(first, last);
    E.StatusChanged({scSelection});
  } else {
    const bool changed = !(value == E.fBlockBegin) || !(value == E.fBlockEnd);
    E.fBlockBegin = E.fBlockEnd = value;
    if (changed) E.StatusChanged({scSelection});
  }
}

void TCodeEditCaret::SetBlockEnd(TBufferCoord value) {
  if (E.HasOption(eoNoSelection)) return;
  E.fActiveSelectionMode = E.fSelectionMode;
  value = ClampBlockPos(value);
  if (value == E.fBlockEnd) return;
  const TBufferCoord old = E.fBlockEnd;
  if (E.fActiveSelectionMode != smColumn || value.Char == old.Char) {
    if (E.fActiveSelectionMode != smColumn || E.fBlockBegin.Char != value.Char) InvalidateLines(old.Line, value.Line);
  } else {
    InvalidateLines(std::min({E.fBlockBegin.Line, old.Line, value.Line}),
                    std::max({E.fBlockBegin.Line, old.Line, value.Line}));
  }
  E.fBlockEnd = value;
  E.StatusChanged({scSelection});
}

TCodeSelectionMode TCodeEditCaret::SelectionMode() const {
  return E.fSelectionMode;
}

void TCodeEditCaret::SetSelectionMode(TCodeSelectionMode value) {
  if (value == E.fSelectionMode) return;
  E.fSelectionMode = value;
  SetActiveSelectionMode(value);
}

TCodeSelectionMode TCodeEditCaret::ActiveSelectionMode() const {
  return E.fActiveSelectionMode;
}

void TCodeEditCaret::SetActiveSelectionMode(TCodeSelectionMode value) {
  if (value == E.fActiveSelectionMode) return;
  InvalidateSelection();
  E.fActiveSelectionMode = value;
  InvalidateSelection();
  E.StatusChanged({scSelection});
}

void TCodeEditCaret::SelectMatch(const TBufferCoord& begin, const TBufferCoord& end, bool caretAtBegin) {
  struct TChosenMode {
    TCodeEditCore& Core;
    TCodeSelectionMode Chosen;
    ~TChosenMode() { Core.fSelectionMode = Chosen; }
  } chosen{E, E.fSelectionMode};
  E.fSelectionMode = smNormal;
  SetBlockBegin(begin);
  MoveCaretEx(false, {1, begin.Line});
  EnsureCursorPosVisibleEx(true);
  SetBlockEnd(end);
  MoveCaretEx(true, caretAtBegin ? begin : end);
}

void TCodeEditCaret::SetCaretAndSelection(const TBufferCoord& caret, const TBufferCoord& begin,
                                          const TBufferCoord& end) {
  const TCodeSelectionMode mode = E.fActiveSelectionMode;
  {
    TCodeEditPaintLock lock(E);
    MoveCaret(caret);
    SetBlockBegin(begin);
    SetBlockEnd(end);
  }
  E.fActiveSelectionMode = mode;
  // The ends were limited for the chosen mode; a normal selection kept
  // active must not reach into virtual space.
  E.fBlockBegin = ClampBlockPos(E.fBlockBegin);
  E.fBlockEnd = ClampBlockPos(E.fBlockEnd);
}

bool TCodeEditCaret::SelAvail() const {
  return E.fBlockBegin.Char != E.fBlockEnd.Char ||
         (E.fBlockBegin.Line != E.fBlockEnd.Line && E.fActiveSelectionMode != smColumn);
}

bool TCodeEditCaret::SelTabBlock() const {
  return E.fBlockBegin.Line != E.fBlockEnd.Line && E.fActiveSelectionMode != smColumn;
}

bool TCodeEditCaret::SelTabLine() const {
  if (!SelAvail()) return false;
  const Integer length =
      E.fCaretY >= 1 && E.fCaretY <= E.fLines->GetCount() ? E.fLines->LineCharLength(E.fCaretY - 1) : 0;
  return BlockBegin().Char <= 1 && BlockEnd().Char > length;
}

bool TCodeEditCaret::IsPointInSelection(const TBufferCoord& pos) const {
  const TBufferCoord b = BlockBegin(), e = BlockEnd();
  if (pos.Line < b.Line || pos.Line > e.Line || b == e) return false;
  switch (E.fActiveSelectionMode) {
    case smLine: return true;
    case smColumn: {
      const Integer left = std::min(b.Char, e.Char), right = std::max(b.Char, e.Char);
      return pos.Char >= left && pos.Char < right;
    }
    case smNormal: break;
  }
  if (pos.Line == b.Line && pos.Char < b.Char) return false;
  if (pos.Line == e.Line && pos.Char >= e.Char) return false;
  return true;
}

Integer TCodeEditCaret::SelStart() const {
  return RowColToCharIndex(SelAvail() ? BlockBegin() : CaretXY());
}

Integer TCodeEditCaret::SelEnd() const {
  return RowColToCharIndex(SelAvail() ? BlockEnd() : CaretXY());
}

void TCodeEditCaret::SetSelStart(Integer value) {
  E.fHost.HandleNeeded();
  MoveCaret(CharIndexToRowCol(value));
  SetBlockBegin(CaretXY());
}

void TCodeEditCaret::SetSelEnd(Integer value) {
  E.fHost.HandleNeeded();
  SetBlockEnd(CharIndexToRowCol(value));
}

Integer TCodeEditCaret::SelLength() const {
  if (!SelAvail()) return 0;
  return RowColToCharIndex(BlockEnd()) - RowColToCharIndex(BlockBegin());
}

void TCodeEditCaret::SetSelLength(Integer value) {
  const TBufferCoord begin = BlockBegin();
  const Integer start = RowColToCharIndex(begin);
  const Integer target = start + value;
  TCodeEditPaintLock lock(E);
  if (value < 0 && target >= 0) {
    const TBufferCoord to = CharIndexToRowCol(target);
    MoveCaret(to);
    SetBlockBegin(to);
    SetBlockEnd(begin);
    return;
  }
  if (target < 0) {
    const Integer count = E.fLines->GetCount();
    MoveCaret(count > 0 ? TBufferCoord{E.fLines->LineCharLength(count - 1) + 1, count} : TBufferCoord{1, 1});
  } else {
    MoveCaret(CharIndexToRowCol(target));
  }
  SetBlockBegin(begin);
  SetBlockEnd(CaretXY());
}

void TCodeEditCaret::SelectAll() {
  const Integer count = E.fLines->GetCount();
  const TBufferCoord last =
      count > 0 ? TBufferCoord{E.fLines->LineCharLength(count - 1) + 1, count} : TBufferCoord{1, 1};
  SetCaretAndSelection(last, {1, 1}, last);
  E.StatusChanged({scSelection});
}

void TCodeEditCaret::SetWordBlock(TBufferCoord pos) {
  pos.Line = std::max(1, std::min(pos.Line, E.fLines->GetCount()));
  if (E.HasOption(eoScrollPastEol) && !E.fWordWrapPlugin) {
    const Integer length = E.fLines->GetCount() > 0 ? E.fLines->LineCharLength(pos.Line - 1) : 0;
    pos.Char = ClampInt(pos.Char, 1, std::max(E.fMaxScrollWidth, length) + 1);
  } else {
    pos.Char = std::max(pos.Char, 1);
  }
  String line = E.fLines->GetCount() > 0 ? String(E.fLines->LineText(pos.Line - 1)) : String();
  line.push_back(Char{0});
  const auto length = static_cast<Integer>(line.size());
  if (pos.Char > length) {
    MoveCaret({length, pos.Line});
    return;
  }
  Integer wordEnd = pos.Char;
  while (wordEnd <= length && IsIdentChar(line[static_cast<size_t>(wordEnd - 1)]) && line[wordEnd - 1] != 0) ++wordEnd;
  Integer wordStart = pos.Char;
  while (wordStart > 1 && IsIdentChar(line[static_cast<size_t>(wordStart - 2)])) --wordStart;
  SetCaretAndSelection({wordEnd, pos.Line}, {wordStart, pos.Line}, {wordEnd, pos.Line});
  InvalidateLine(pos.Line);
  E.StatusChanged({scSelection});
}

// ---- Words ----

bool TCodeEditCaret::IsWordBreakChar(Char c) const {
  bool result;
  if (E.fHighlighter) {
    result = E.fHighlighter->IsWordBreakChar(c);
  } else {
    const unsigned code = c;
    result = code <= 47 || (code >= 58 && code <= 64) || (code >= 91 && code <= 94) || code == 96 ||
             (code >= 123 && code <= 126) || code == 167 || code == 176 || code == 180;
  }
  if (c < 256) {
    const TCodeCharSet& breaks =
        E.fHighlighter ? E.fHighlighter->AdditionalWordBreakChars() : E.fAdditionalWordBreakChars;
    const TCodeCharSet& idents = E.fHighlighter ? E.fHighlighter->AdditionalIdentChars() : E.fAdditionalIdentChars;
    if (breaks.test(c)) result = true;
    if (idents.test(c)) result = false;
  }
  return result;
}

bool TCodeEditCaret::IsIdentChar(Char c) const {
  bool result = E.fHighlighter ? E.fHighlighter->IsIdentChar(c) : c > 32;
  if (c < 256) {
    const TCodeCharSet& idents = E.fHighlighter ? E.fHighlighter->AdditionalIdentChars() : E.fAdditionalIdentChars;
    if (idents.test(c)) result = true;
  }
  return result && !IsWordBreakChar(c);
}

bool TCodeEditCaret::IsWhiteChar(Char c) const {
  if (E.fHighlighter) return E.fHighlighter->IsWhiteChar(c);
  if (c <= 32) return true;
  return !IsIdentChar(c) && !IsWordBreakChar(c);
}

TBufferCoord TCodeEditCaret::NextWordPosEx(const TBufferCoord& pos) const {
  TBufferCoord result = pos;
  if (pos.Line < 1 || pos.Line > E.fLines->GetCount()) return result;
  const StringView line = E.fLines->LineText(pos.Line - 1);
  const auto length = static_cast<Integer>(line.size());
  const TCharTest isBreak = [this](Char c) { return IsWordBreakChar(c); };
  const TCharTest isIdent = [this](Char c) { return IsIdentChar(c); };
  if (result.Char < length) {
    if (result.Char >= 1 && IsIdentChar(line[static_cast<size_t>(result.Char - 1)]))
      result.Char = ScanForward(line, result.Char, isBreak);
    if (result.Char > 0) result.Char = ScanForward(line, result.Char, isIdent);
    if (result.Char == 0) result.Char = length + 1;
  } else if (pos.Line < E.fLines->GetCount()) {
    const StringView next = E.fLines->LineText(pos.Line);
    result.Line = pos.Line + 1;
    result.Char = ScanForward(next, 1, isIdent);
    if (result.Char == 0) result.Char = 1;
  }
  return result;
}

TBufferCoord TCodeEditCaret::WordStartEx(const TBufferCoord& pos) const {
  TBufferCoord result = pos;
  if (pos.Line < 1 || pos.Line > E.fLines->GetCount()) return result;
  const StringView line = E.fLines->LineText(pos.Line - 1);
  result.Char = std::min(result.Char, static_cast<Integer>(line.size()) + 1);
  if (result.Char > 1 && !IsWordBreakChar(line[static_cast<size_t>(result.Char - 2)]))
    result.Char = 1 + ScanBackward(line, result.Char - 1, [this](Char c) { return IsWordBreakChar(c); });
  return result;
}

TBufferCoord TCodeEditCaret::WordEndEx(const TBufferCoord& pos) const {
  TBufferCoord result = pos;
  if (pos.Line < 1 || pos.Line > E.fLines->GetCount()) return result;
  const StringView line = E.fLines->LineText(pos.Line - 1);
  result.Char = ScanForward(line, pos.Char, [this](Char c) { return IsWordBreakChar(c); });
  if (result.Char == 0) result.Char = static_cast<Integer>(line.size()) + 1;
  return result;
}

TBufferCoord TCodeEditCaret::PrevWordPosEx(const TBufferCoord& pos) const {
  TBufferCoord result = pos;
  if (pos.Line < 1 || pos.Line > E.fLines->GetCount()) return result;
  const StringView line = E.fLines->LineText(pos.Line - 1);
  result.Char = std::min(result.Char, static_cast<Integer>(line.size()) + 1);
  const auto toPreviousLineEnd = [&] {
    if (result.Line > 1) return TBufferCoord{E.fLines->LineCharLength(result.Line - 2) + 1, result.Line - 1};
    return TBufferCoord{result.Char <= 1 ? result.Char : 1, result.Line};
  };
  if (result.Char <= 1) return toPreviousLineEnd();
  Integer c = result.Char;
  if (IsWordBreakChar(line[static_cast<size_t>(c - 2)]))
    c = ScanBackward(line, c - 1, [this](Char ch) { return IsIdentChar(ch); });
  if (c > 0) {
    result.Char = 1 + ScanBackward(line, c - 1, [this](Char ch) { return IsWordBreakChar(ch); });
    return result;
  }
  return toPreviousLineEnd();
}

String TCodeEditCaret::GetWordAtRowCol(const TBufferCoord& pos) const {
  if (pos.Line < 1 || pos.Line > E.fLines->GetCount()) return {};
  const StringView line = E.fLines->LineText(pos.Line - 1);
  const auto length = static_cast<Integer>(line.size());
  if (length == 0 || pos.Char < 1 || pos.Char > length) return {};
  if (!IsIdentChar(line[static_cast<size_t>(pos.Char - 1)])) return {};
  Integer end = pos.Char;
  while (end <= length && IsIdentChar(line[static_cast<size_t>(end - 1)])) ++end;
  Integer start = pos.Char;
  while (start > 1 && IsIdentChar(line[static_cast<size_t>(start - 2)])) --start;
  return String(line.substr(static_cast<size_t>(start - 1), static_cast<size_t>(end - start)));
}

// ---- Repainting ----

bool TCodeEditCaret::CanPaint() const {
  return E.fHost.Visible() && E.fHost.HandleAllocated();
}

void TCodeEditCaret::InvalidateArea(const TRect& rect) {
  if (rect.IsEmpty()) return;
  if (E.fStateFlags.Contains(sfLinesChanging)) {
    TRect& r = E.fInvalidateRect;
    if (r.IsEmpty())
      r = rect;
    else
      r = Rect(std::min(r.Left, rect.Left), std::min(r.Top, rect.Top), std::max(r.Right, rect.Right),
               std::max(r.Bottom, rect.Bottom));
    return;
  }
  E.fHost.InvalidateRect(rect);
}

void TCodeEditCaret::InvalidateLines(Integer first, Integer last) {
  if (!CanPaint()) return;
  if (first == -1 && last == -1) {
    InvalidateArea(Rect(E.fGutterWidth, 0, E.fHost.ClientWidth(), E.fHost.ClientHeight()));
    return;
  }
  first = std::max(first, 1);
  last = std::max(last, 1);
  if (last < first) std::swap(first, last);
  const Integer count = E.fLines->GetCount();
  if (last >= count) last = MaxInteger;
  if (E.fWordWrapPlugin) {
    first = LineToRow(first);
    if (last < count) last = LineToRow(last + 1) - 1;
  }
  first = std::max(first, E.fTopLine);
  last = std::min(last, E.fTopLine + E.fLinesInWindow);
  if (last < first) return;
  InvalidateArea(Rect(E.fGutterWidth, (first - E.fTopLine) * E.fTextHeight, E.fHost.ClientWidth(),
                      (last - E.fTopLine + 1) * E.fTextHeight));
}

void TCodeEditCaret::InvalidateLine(Integer line) {
  if (!CanPaint() || line < 1 || line > E.fLines->GetCount()) return;
  if (E.fWordWrapPlugin) {
    InvalidateLines(line, line);
    return;
  }
  if (line < E.fTopLine || line > E.fTopLine + E.fLinesInWindow) return;
  InvalidateArea(Rect(E.fGutterWidth, (line - E.fTopLine) * E.fTextHeight, E.fHost.ClientWidth(),
                      (line - E.fTopLine + 1) * E.fTextHeight));
}

void TCodeEditCaret::InvalidateGutterLines(Integer first, Integer last) {
  if (!CanPaint()) return;
  if (first == -1 && last == -1) {
    InvalidateArea(Rect(0, 0, E.fGutterWidth, E.fHost.ClientHeight()));
    return;
  }
  if (last < first) std::swap(first, last);
  const Integer count = E.fLines->GetCount();
  if (E.fWordWrapPlugin) {
    first = LineToRow(std::max(first, 1));
    last = last >= count ? MaxInteger : LineToRow(last + 1) - 1;
  }
  first = std::max(first, E.fTopLine);
  last = std::min(last, E.fTopLine + E.fLinesInWindow);
  if (last < first) return;
  InvalidateArea(
      Rect(0, (first - E.fTopLine) * E.fTextHeight, E.fGutterWidth, (last - E.fTopLine + 1) * E.fTextHeight));
}

void TCodeEditCaret::InvalidateGutterLine(Integer line) {
  if (line < 1 || line > E.fLines->GetCount()) return;
  InvalidateGutterLines(line, line);
}

void TCodeEditCaret::InvalidateSelection() {
  InvalidateLines(BlockBegin().Line, BlockEnd().Line);
}
