#include "codeedit/edittext.h"

#include <algorithm>
#include <vector>

#include "codeedit/editcaret.h"
#include "codeedit/editcommands.h"
#include "codeedit/editcore.h"
#include "codeedit/editscopes.h"
#include "codeedit/textutils.h"

namespace {

// The text cut at its line breaks (CR LF, CR or LF).
std::vector<String> SplitAtBreaks(StringView text) {
  std::vector<String> segments(1);
  for (size_t i = 0; i < text.size(); ++i) {
    const Char c = text[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      segments.emplace_back();
    } else {
      segments.back().push_back(c);
    }
  }
  return segments;
}

bool IsEndReason(TCodeChangeReason reason) {
  return reason == crAutoCompleteEnd || reason == crPasteEnd || reason == crSpecial1End || reason == crSpecial2End;
}

bool IsBeginReason(TCodeChangeReason reason) {
  return reason == crAutoCompleteBegin || reason == crPasteBegin || reason == crSpecial1Begin ||
         reason == crSpecial2Begin;
}

// The begin marker of an end marker and the other way round (they are neighbours).
TCodeChangeReason MatchingBegin(TCodeChangeReason end) {
  return static_cast<TCodeChangeReason>(end - 1);
}
TCodeChangeReason MatchingEnd(TCodeChangeReason begin) {
  return static_cast<TCodeChangeReason>(begin + 1);
}

// The buffer's update bracket for a scope.
class TBufferUpdate {
 public:
  explicit TBufferUpdate(TStrings& lines) : FLines(lines) { FLines.BeginUpdate(); }
  ~TBufferUpdate() noexcept(false) { FLines.EndUpdate(); }
  TBufferUpdate(const TBufferUpdate&) = delete;
  TBufferUpdate& operator=(const TBufferUpdate&) = delete;

 private:
  TStrings& FLines;
};

// A list's block number held for a scope.
class TBlockNumber {
 public:
  TBlockNumber(TCodeEditUndoList& list, Integer number) : FList(list), FSaved(list.BlockChangeNumber()) {
    FList.SetBlockChangeNumber(number);
  }
  ~TBlockNumber() { FList.SetBlockChangeNumber(FSaved); }
  TBlockNumber(const TBlockNumber&) = delete;
  TBlockNumber& operator=(const TBlockNumber&) = delete;

 private:
  TCodeEditUndoList& FList;
  Integer FSaved;
};

// What applying an undo or redo item holds: the paint lock and virtual
// space; text put back goes in between, whatever the typing mode, and the
// ends of the item's range are taken in the item's own selection mode.
class TItemApplication {
 public:
  TItemApplication(TCodeEditCore& core, TCodeEditorOptions& options, bool& inserting, TCodeSelectionMode& selectionMode,
                   TCodeSelectionMode itemMode)
      : FLock(core),
        FPastEol(options, eoScrollPastEol),
        FInserting(inserting, true),
        FSelectionMode(selectionMode, itemMode) {}

 private:
  TCodeEditPaintLock FLock;
  TForcedOption FPastEol;
  TScopedValue<bool> FInserting;
  TScopedValue<TCodeSelectionMode> FSelectionMode;
};

}  // namespace

// ---- Reading the selection ----

String TCodeEditText::SelText() const {
  return SelectedText(true);
}

String TCodeEditText::SelectedText(bool padColumns) const {
  TCodeEditCaret& caret = E.Caret();
  if (!caret.SelAvail()) return {};
  const TBufferCoord b = caret.BlockBegin(), e = caret.BlockEnd();
  TCodeEditStringList& lines = *E.fLines;
  const Integer count = lines.GetCount();
  const auto lineAt = [&](Integer line) {
    return line >= 1 && line <= count ? lines.LineText(line - 1) : StringView();
  };
  const auto part = [](StringView line, Integer from, Integer n) {
    from = std::max(from, 0);
    if (from >= static_cast<Integer>(line.size()) || n <= 0) return String();
    return String(line.substr(static_cast<size_t>(from), static_cast<size_t>(n)));
  };
  String result;
  switch (E.fActiveSelectionMode) {
    case smNormal:
      if (b.Line == e.Line) return part(lineAt(b.Line), b.Char - 1, e.Char - b.Char);
      result = part(lineAt(b.Line), b.Char - 1, static_cast<Integer>(lineAt(b.Line).size()));
      result += CRLF;
      for (Integer line = b.Line + 1; line < e.Line; ++line) {
        result += lineAt(line);
        result += CRLF;
      }
      result += part(lineAt(e.Line), 0, e.Char - 1);
      return result;
    case smLine:
      for (Integer line = b.Line; line <= e.Line; ++line) {
        result += lineAt(line);
        if (line != count) result += CRLF;
      }
      return result;
    case smColumn: {
      if (!padColumns) {
        // The characters that deleting the block takes, line by line.
        const Integer left = std::min(b.Char, e.Char), right = std::max(b.Char, e.Char);
        for (Integer line = b.Line; line <= e.Line; ++line) {
          result += part(lineAt(line), left - 1, right - left);
          if (line != e.Line) result += CRLF;
        }
        return result;
      }
      const TDisplayCoord db = caret.BufferToDisplayPos(b), de = caret.BufferToDisplayPos(e);
      const Integer left = std::min(db.Column, de.Column), right = std::max(db.Column, de.Column);
      for (Integer row = db.Row; row <= de.Row; ++row) {
        const TBufferCoord from = caret.DisplayToBufferPos({left, row});
        const TBufferCoord to = caret.DisplayToBufferPos({right, row});
        const StringView line = lineAt(from.Line);
        String piece = part(line, from.Char - 1, to.Char - from.Char);
        // A column block stays a rectangle on the clipboard: trimming trailing
        // blanks concerns the lines of the text, not the copied block.
        if (static_cast<Integer>(piece.size()) < to.Char - from.Char)
          piece.append(static_cast<size_t>(to.Char - from.Char) - piece.size(), u' ');
        result += piece;
        if (row != de.Row) result += CRLF;
      }
      return result;
    }
  }
  return result;
}

// ---- Replacing the selection ----

void TCodeEditText::StoreLine(Integer index, const String& value) {
  E.fLines->Put(index, E.HasOption(eoTrimTrailingSpaces) ? TrimTrailingBlanks(value) : value);
}

void TCodeEditText::SetSelText(const String& value) {
  TCodeEditCaret& caret = E.Caret();
  TUndoBlock block(*E.fUndoList);
  if (caret.SelAvail())
    E.fUndoList->AddChange(crDelete, E.fBlockBegin, E.fBlockEnd, UndoText(), E.fActiveSelectionMode);
  else
    E.fActiveSelectionMode = E.fSelectionMode;
  // Text typed past the line end stands after blanks recorded on their own.
  if (!caret.SelAvail() && E.fActiveSelectionMode == smNormal && !value.empty()) PadToCaret(false, E.fCaretX - 1);
  const TBufferCoord b = caret.BlockBegin(), e = caret.BlockEnd();
  E.fBlockBegin = b;
  E.fBlockEnd = e;
  ReplaceSelectionText(value);
  // Whole lines inserted are recorded as the characters they are: taking
  // back whole lines would take the line after them as well.
  if (!value.empty() && E.fActiveSelectionMode == smLine)
    E.fUndoList->AddChange(crInsert, {1, b.Line}, caret.CaretXY(), String(), smNormal);
  else if (!value.empty() && E.fActiveSelectionMode != smColumn)
    E.fUndoList->AddChange(crInsert, b, caret.CaretXY(), String(), E.fActiveSelectionMode);
}

void TCodeEditText::ClearSelection() {
  if (E.Caret().SelAvail()) SetSelText(String());
}

void TCodeEditText::ReplaceSelectionText(const String& value) {
  ReplaceSelectionTextEx(E.fActiveSelectionMode, value, true);
}

void TCodeEditText::ReplaceSelectionTextEx(TCodeSelectionMode mode, const String& value, bool addToUndoList) {
  TCodeEditCaret& caret = E.Caret();
  TCodeEditPaintLock lock(E);
  TBufferUpdate update(*E.fLines);
  TBufferCoord b = caret.BlockBegin(), e = caret.BlockEnd();
  if (caret.SelAvail()) {
    DeleteSelection(b, e);
    caret.MoveCaret(b);
  }
  if (!value.empty()) {
    const TBufferCoord start = caret.CaretXY();
    Integer inserted = 0;
    switch (mode) {
      case smNormal: inserted = InsertNormal(value); break;
      case smColumn: inserted = InsertColumn(value, addToUndoList); break;
      case smLine: inserted = InsertLineMode(value); break;
    }
    if (inserted > 0) LinesInsertedNotify(mode == smNormal && start.Char > 1 ? start.Line + 1 : start.Line, inserted);
    caret.MoveCaret(caret.CaretXY());
  }
  if (E.fCaretY < 1) E.fCaretY = 1;
}

void TCodeEditText::DeleteSelection(TBufferCoord& b, TBufferCoord& e) {
  TCodeEditStringList& lines = *E.fLines;
  TCodeEditCaret& caret = E.Caret();
  switch (E.fActiveSelectionMode) {
    case smNormal: {
      if (lines.GetCount() == 0) break;
      const StringView first = lines.LineText(b.Line - 1);
      String joined(first.substr(0, std::min(first.size(), static_cast<size_t>(std::max(b.Char - 1, 0)))));
      if (e.Line <= lines.GetCount()) {
        const StringView last = lines.LineText(e.Line - 1);
        if (static_cast<size_t>(e.Char - 1) < last.size()) joined += last.substr(static_cast<size_t>(e.Char - 1));
      }
      if (E.HasOption(eoScrollPastEol) && E.HasOption(eoTrimTrailingSpaces)) joined = TrimTrailingBlanks(joined);
      if (e.Line > b.Line) lines.DeleteLines(b.Line, std::min(e.Line, lines.GetCount()) - b.Line);
      lines.Put(b.Line - 1, joined);
      caret.MoveCaret(b);
      LinesDeletedNotify(b.Char > 1 ? b.Line + 1 : b.Line, e.Line - b.Line);
      break;
    }
    case smLine: {
      const Integer count = lines.GetCount();
      if (e.Line >= count) {
        if (count > 0) lines.Put(count - 1, String());
        for (Integer line = std::min(e.Line, count) - 1; line >= b.Line; --line) lines.Delete(line - 1);
      } else {
        for (Integer line = e.Line; line >= b.Line; --line) lines.Delete(line - 1);
      }
      // The begin's column belonged to a line that is gone: what is put in
      // its place starts at the line's start, not after blanks.
      b.Char = 1;
      caret.MoveCaret(b);
      LinesDeletedNotify(b.Line, e.Line - b.Line + 1);
      break;
    }
    case smColumn: {
      if (b.Char > e.Char) std::swap(b.Char, e.Char);
      for (Integer line = b.Line; line <= e.Line && line <= lines.GetCount(); ++line) {
        String text(lines.LineText(line - 1));
        const auto from = static_cast<size_t>(b.Char - 1);
        if (from >= text.size()) continue;
        text.erase(from, std::min(text.size(), static_cast<size_t>(e.Char - 1)) - from);
        StoreLine(line - 1, text);
      }
      caret.MoveCaret({b.Char, E.fBlockEnd.Line});
      break;
    }
  }
}

Integer TCodeEditText::InsertNormal(const String& value) {
  TCodeEditStringList& lines = *E.fLines;
  const Integer x = E.fCaretX, y = E.fCaretY;
  while (lines.GetCount() < y) lines.Add(String());
  const StringView line = lines.LineText(y - 1);
  String left(line.substr(0, std::min(line.size(), static_cast<size_t>(x - 1))));
  left.append(static_cast<size_t>(x - 1) - left.size(), u' ');
  const String right(line.size() > static_cast<size_t>(x - 1) ? line.substr(static_cast<size_t>(x - 1)) : StringView());
  const std::vector<String> segments = SplitAtBreaks(value);
  String written;
  if (segments.size() == 1) {
    written = left + value + right;
    StoreLine(y - 1, written);
  } else {
    StoreLine(y - 1, left + segments.front());
    lines.InsertLines(y, static_cast<Integer>(segments.size()) - 1);
    for (size_t i = 1; i < segments.size(); ++i) {
      ++E.fCaretY;
      E.fStatusChanges.Include(scCaretY);
      written = i + 1 == segments.size() ? segments[i] + right : segments[i];
      StoreLine(E.fCaretY - 1, written);
    }
  }
  const auto stored = static_cast<Integer>(lines.LineCharLength(E.fCaretY - 1));
  if (!E.HasOption(eoTrimTrailingSpaces)) {
    E.fCaretX = stored + 1 - static_cast<Integer>(right.size());
  } else if (!right.empty()) {
    E.fCaretX = stored + 1 - static_cast<Integer>(TrimTrailingBlanks(right).size());
  } else {
    E.fCaretX = ExpandedTextWidth(written, E.fTabWidth) + 1;
  }
  E.fStatusChanges.Include(scCaretX);
  return static_cast<Integer>(segments.size()) - 1;
}

Integer TCodeEditText::InsertColumn(const String& value, bool addToUndoList) {
  TCodeEditStringList& lines = *E.fLines;
  const Integer x = E.fCaretX;
  const std::vector<String> segments = SplitAtBreaks(value);
  Integer appended = 0;
  Integer lastLength = 0;
  for (size_t i = 0; i < segments.size(); ++i) {
    const String& segment = segments[i];
    if (i > 0) {
      ++E.fCaretY;
      E.fStatusChanges.Include(scCaretY);
    }
    if (segment.empty()) continue;
    const Integer y = E.fCaretY;
    if (y > lines.GetCount()) {
      // Every line added is recorded, the empty ones of empty segments too:
      // undo takes back as many lines as were added.
      while (lines.GetCount() < y) {
        const Integer before = lines.GetCount();
        const Integer beforeLength = before > 0 ? lines.LineCharLength(before - 1) : 0;
        lines.Add(lines.GetCount() < y - 1 ? String() : String(static_cast<size_t>(x - 1), u' ') + segment);
        ++appended;
        if (addToUndoList)
          E.fUndoList->AddChange(crLineBreak, {beforeLength + 1, before}, {beforeLength + 1, before}, String(),
                                 smNormal);
      }
    } else {
      String text(lines.LineText(y - 1));
      const auto length = static_cast<Integer>(text.size());
      if (length < x - 1) {
        text.append(static_cast<size_t>(x - 1 - length), u' ');
        // The blanks are a change of their own: undoing the segment alone
        // would leave them behind.
        if (addToUndoList) E.fUndoList->AddChange(crWhiteSpaceAdd, {x, y}, {length + 1, y}, String(), smNormal);
      }
      text.insert(static_cast<size_t>(x - 1), segment);
      lines.Put(y - 1, text);
    }
    StoreLine(y - 1, String(lines.LineText(y - 1)));
    // Each segment is a run within one line, whatever the editor's mode: a
    // column block pasted in line mode must not take whole lines on undo.
    if (addToUndoList)
      E.fUndoList->AddChange(crPaste, {x, y}, {x + static_cast<Integer>(segment.size()), y}, String(), smNormal);
    lastLength = static_cast<Integer>(segment.size());
  }
  E.fCaretX = x + lastLength;
  E.fStatusChanges.Include(scCaretX);
  return appended;
}

Integer TCodeEditText::InsertLineMode(const String& value) {
  TCodeEditStringList& lines = *E.fLines;
  E.fCaretX = 1;
  const std::vector<String> segments = SplitAtBreaks(value);
  Integer inserted = 0;
  for (size_t i = 0; i + 1 < segments.size(); ++i) {
    const Integer y = E.fCaretY;
    if (y >= lines.GetCount() || E.fInserting) {
      lines.Insert(std::min(y - 1, lines.GetCount()), String());
      ++inserted;
    }
    StoreLine(y - 1, segments[i]);
    ++E.fCaretY;
    E.fStatusChanges.Include(scCaretY);
  }
  const String& last = segments.back();
  const Integer y = E.fCaretY;
  String text;
  if (y > lines.GetCount()) {
    text = last;
    lines.Add(text);
  } else {
    text = last + String(lines.LineText(y - 1));
  }
  if (E.HasOption(eoTrimTrailingSpaces)) text = TrimTrailingBlanks(text);
  lines.Put(y - 1, text);
  E.fCaretX = static_cast<Integer>(last.size()) + 1;
  E.fStatusChanges.Include(scCaretX);
  return inserted;
}

void TCodeEditText::InsertBlock(const TBufferCoord& begin, const TBufferCoord& end, const String& value,
                                bool addToUndoList) {
  TCodeEditCaret& caret = E.Caret();
  caret.SetCaretAndSelection(begin, begin, end);
  E.fActiveSelectionMode = smColumn;
  ReplaceSelectionTextEx(smColumn, value, addToUndoList);
  E.StatusChanged({scSelection});
}

String TCodeEditText::IndentText(Integer width) const {
  if (width <= 0) return {};
  if (E.HasOption(eoTabsToSpaces) || width < E.fTabWidth) return String(static_cast<size_t>(width), u' ');
  return String(static_cast<size_t>(width / E.fTabWidth), u'\t') +
         String(static_cast<size_t>(width % E.fTabWidth), u' ');
}

Integer TCodeEditText::PadToCaret(bool useIndentText, Integer upTo) {
  TCodeEditStringList& lines = *E.fLines;
  const Integer y = E.fCaretY;
  while (lines.GetCount() < y) lines.Add(String());
  String line(lines.LineText(y - 1));
  const auto length = static_cast<Integer>(line.size());
  if (upTo <= length) return 0;
  const String filler =
      useIndentText && length == 0 ? IndentText(upTo) : String(static_cast<size_t>(upTo - length), u' ');
  lines.Put(y - 1, line + filler);
  const auto filled = static_cast<Integer>(filler.size());
  E.fUndoList->AddChange(crWhiteSpaceAdd, {length + filled + 1, y}, {length + 1, y}, String(), smNormal);
  return filled;
}

// ---- Marks ----

void TCodeEditText::LinesInsertedNotify(Integer firstLine, Integer count) {
  TCodeEditMarkList& marks = *E.fMarkList;
  for (Integer i = 0; i < marks.Count(); ++i) {
    TCodeEditMark* mark = marks.Items(i);
    if (mark->Line() >= firstLine) mark->SetLine(mark->Line() + count);
  }
}

void TCodeEditText::LinesDeletedNotify(Integer firstLine, Integer count) {
  if (count <= 0) return;
  TCodeEditMarkList& marks = *E.fMarkList;
  for (Integer i = 0; i < marks.Count(); ++i) {
    TCodeEditMark* mark = marks.Items(i);
    if (mark->Line() >= firstLine + count)
      mark->SetLine(mark->Line() - count);
    else if (mark->Line() > firstLine)
      mark->SetLine(firstLine);
  }
}

// ---- Undo and redo ----

void TCodeEditText::SelectRange(const TBufferCoord& begin, const TBufferCoord& end, const TBufferCoord& caret) {
  E.Caret().SetCaretAndSelection(caret, begin, end);
}

void TCodeEditText::RunStep(TCodeEditUndoList& from, TCodeEditUndoList& to, bool redoing) {
  const TCodeEditUndoItem* newest = from.PeekItem();
  if (!newest) return;
  const TCodeChangeReason first = from.LastChangeReason();
  const Integer number = newest->ChangeNumber();
  // A marked run goes to its other marker; undo walks back from an end
  // marker, redo forward from a begin marker.
  const bool marked = redoing ? IsBeginReason(first) : IsEndReason(first);
  const TCodeChangeReason closing = redoing ? MatchingEnd(first) : MatchingBegin(first);
  const auto applyOne = [&] { redoing ? RedoOneItem() : UndoOneItem(); };
  TBlockNumber held(to, number);
  TCodeChangeReason last = first;
  for (;;) {
    applyOne();
    const TCodeEditUndoItem* next = from.PeekItem();
    if (!next) break;
    bool keepGoing;
    if (marked)
      keepGoing = next->ChangeReason() != closing;
    else if (next->ChangeNumber() == number)
      keepGoing = true;
    else
      keepGoing = E.HasOption(eoGroupUndo) && next->ChangeReason() == last && last != crIndent && last != crUnindent;
    last = next->ChangeReason();
    if (!keepGoing) break;
  }
  if (marked && from.LastChangeReason() == closing) {
    applyOne();
    E.SetModified(!E.fUndoList->InitialState());
  }
}

void TCodeEditText::Undo() {
  if (E.ReadOnly()) return;
  TCodeEditUndoList& undo = *E.fUndoList;
  TCodeEditUndoList& redo = *E.fRedoList;
  MoveGroupBreak(undo, redo);
  RunStep(undo, redo, false);
}

void TCodeEditText::Redo() {
  if (E.ReadOnly()) return;
  TCodeEditUndoList& undo = *E.fUndoList;
  TCodeEditUndoList& redo = *E.fRedoList;
  if (redo.LastChangeReason() != crGroupBreak) RunStep(redo, undo, true);
  MoveGroupBreak(redo, undo);
}

void TCodeEditText::MoveGroupBreak(TCodeEditUndoList& from, TCodeEditUndoList& to) {
  if (from.LastChangeReason() != crGroupBreak) return;
  const Integer number = from.PeekItem()->ChangeNumber();
  from.PopItem();
  TBlockNumber held(to, number);
  to.AddGroupBreak();
}

void TCodeEditText::UndoOneItem() {
  std::unique_ptr<TCodeEditUndoItem> item = E.fUndoList->PopItem();
  if (!item) return;
  TCodeEditCaret& caret = E.Caret();
  TCodeEditUndoList& redo = *E.fRedoList;
  E.fActiveSelectionMode = item->ChangeSelMode();
  const TItemApplication applying(E, E.fOptions, E.fInserting, E.fSelectionMode, item->ChangeSelMode());
  const TBufferCoord s = item->ChangeStartPos(), e = item->ChangeEndPos();
  const TCodeChangeReason reason = item->ChangeReason();
  switch (reason) {
    case crInsert:
    case crPaste:
    case crDragDropInsert: {
      SelectRange(s, e, s);
      const String taken = UndoText();
      ReplaceSelectionTextEx(item->ChangeSelMode(), item->ChangeStr(), false);
      redo.AddChange(reason, s, e, taken, item->ChangeSelMode());
      // A character typed over another: redo first removes the character
      // brought back here, so that it replaces rather than inserts.
      if (reason == crInsert && !item->ChangeStr().empty() && item->ChangeSelMode() == smNormal)
        redo.AddChange(crSilentDelete, s, caret.CaretXY(), String(), smNormal);
      caret.SetCaretXY(s);
      break;
    }
    case crDelete:
    case crDeleteAfterCursor:
    case crSilentDelete:
    case crSilentDeleteAfterCursor:
    case crDeleteAll: {
      TBufferCoord p;
      if (item->ChangeSelMode() == smColumn)
        p = {std::min(s.Char, e.Char), std::min(s.Line, e.Line)};
      else
        p = EarlierCoord(s, e);
      const bool afterCursor = reason == crDeleteAfterCursor || reason == crSilentDeleteAfterCursor;
      if (afterCursor && p.Line > E.fLines->GetCount()) {
        caret.SetCaretXY({1, E.fLines->GetCount()});
        E.fLines->Add(String());
      }
      caret.SetCaretXY(p);
      ReplaceSelectionTextEx(item->ChangeSelMode(), item->ChangeStr(), false);
      const TBufferCoord target = afterCursor ? s : e;
      if (reason == crSilentDelete || reason == crSilentDeleteAfterCursor)
        caret.MoveCaret(target);
      else
        SelectRange(s, e, target);
      redo.AddChange(reason, s, e, String(), item->ChangeSelMode());
      if (reason == crDeleteAll) {
        caret.MoveCaret({1, 1});
        E.fBlockEnd = {1, 1};
      }
      caret.EnsureCursorPosVisible();
      break;
    }
    case crLineBreak: {
      caret.SetCaretXY(s);
      TCodeEditStringList& lines = *E.fLines;
      while (lines.GetCount() < E.fCaretY) lines.Add(String());
      String text(lines.LineText(E.fCaretY - 1));
      // Only a text that goes back behind the caret is placed at its column:
      // padding for nothing would leave blanks the line never had.
      const String& restored = item->ChangeStr();
      if (!restored.empty() && static_cast<Integer>(text.size()) < E.fCaretX - 1 &&
          (restored.empty() || !IsBlank(restored.front())))
        text.append(static_cast<size_t>(E.fCaretX - 1) - text.size(), u' ');
      StoreLine(E.fCaretY - 1, text + restored);
      if (e.Line < lines.GetCount()) lines.Delete(e.Line);
      LinesDeletedNotify(E.fCaretY + 1, 1);
      redo.AddChange(reason, s, e, String(), item->ChangeSelMode());
      break;
    }
    case crIndent:
      SelectRange(s, e, e);
      redo.AddChange(reason, s, e, item->ChangeStr(), item->ChangeSelMode());
      break;
    case crUnindent: {
      const Integer c = item->ChangeSelMode() == smColumn ? std::min(s.Char, e.Char) : 1;
      InsertBlock({c, s.Line}, {c, e.Line}, item->ChangeStr(), false);
      E.fActiveSelectionMode = item->ChangeSelMode();
      SelectRange(s, e, s);
      redo.AddChange(reason, s, e, item->ChangeStr(), item->ChangeSelMode());
      break;
    }
    case crCaret:
      redo.AddChange(crCaret, caret.CaretXY(), caret.CaretXY(), String(), E.fActiveSelectionMode);
      caret.SetCaretXY(s);
      break;
    case crSelection:
      redo.AddChange(crSelection, caret.BlockBegin(), caret.BlockEnd(), String(), E.fActiveSelectionMode);
      SelectRange(s, e, caret.CaretXY());
      break;
    case crWhiteSpaceAdd: {
      SelectRange(s, e, s);
      const String taken = UndoText();
      // Taking the blanks back is no new change: nothing may be recorded
      // while the list is being undone.
      E.fUndoList->Lock();
      try {
        ReplaceSelectionTextEx(item->ChangeSelMode(), item->ChangeStr(), false);
      } catch (...) {
        E.fUndoList->Unlock();
        throw;
      }
      E.fUndoList->Unlock();
      redo.AddChange(reason, s, e, taken, item->ChangeSelMode());
      caret.SetCaretXY(s);
      break;
    }
    default: break;
  }
}

void TCodeEditText::RedoOneItem() {
  std::unique_ptr<TCodeEditUndoItem> item = E.fRedoList->PopItem();
  if (!item) return;
  TCodeEditCaret& caret = E.Caret();
  TCodeEditUndoList& undo = *E.fUndoList;
  E.fActiveSelectionMode = item->ChangeSelMode();
  const TItemApplication applying(E, E.fOptions, E.fInserting, E.fSelectionMode, item->ChangeSelMode());
  const bool wasInsideRedo = undo.InsideRedo();
  undo.SetInsideRedo(true);
  struct TRestore {
    TCodeEditUndoList& List;
    bool Value;
    ~TRestore() { List.SetInsideRedo(Value); }
  } restore{undo, wasInsideRedo};
  const TBufferCoord s = item->ChangeStartPos(), e = item->ChangeEndPos();
  const TCodeChangeReason reason = item->ChangeReason();
  switch (reason) {
    case crInsert:
    case crPaste:
    case crDragDropInsert: {
      SelectRange(s, s, s);
      ReplaceSelectionTextEx(item->ChangeSelMode(), item->ChangeStr(), false);
      caret.SetCaretXY(e);
      undo.AddChange(reason, s, e, String(), item->ChangeSelMode());
      if (reason == crDragDropInsert) SelectRange(s, e, e);
      break;
    }
    case crDeleteAfterCursor:
    case crSilentDeleteAfterCursor:
    case crDelete:
    case crSilentDelete: {
      SelectRange(s, e, s);
      const String taken = UndoText();
      ReplaceSelectionTextEx(item->ChangeSelMode(), item->ChangeStr(), false);
      undo.AddChange(reason, s, e, taken, item->ChangeSelMode());
      const bool afterCursor = reason == crDeleteAfterCursor || reason == crSilentDeleteAfterCursor;
      caret.SetCaretXY(afterCursor ? e : s);
      break;
    }
    case crLineBreak: {
      SelectRange(s, s, s);
      E.Commands().RedoLineBreak();
      break;
    }
    case crIndent:
      SelectRange(s, e, e);
      undo.AddChange(reason, s, e, item->ChangeStr(), item->ChangeSelMode());
      break;
    case crUnindent: {
      TCodeEditStringList& lines = *E.fLines;
      const Integer start = item->ChangeSelMode() == smColumn ? std::min(s.Char, e.Char) : 1;
      const std::vector<String> prefixes = SplitAtBreaks(item->ChangeStr());
      Integer line = s.Line;
      for (const String& prefix : prefixes) {
        if (line >= 1 && line <= lines.GetCount()) {
          String text(lines.LineText(line - 1));
          const auto from = static_cast<size_t>(start - 1);
          if (from < text.size()) text.erase(from, std::min(prefix.size(), text.size() - from));
          lines.Put(line - 1, text);
        }
        ++line;
      }
      if (item->ChangeSelMode() == smColumn)
        SelectRange(s, e, s);
      else
        SelectRange({s.Char - E.fTabWidth, s.Line}, {e.Char - static_cast<Integer>(prefixes.back().size()), e.Line},
                    {s.Char - E.fTabWidth, s.Line});
      undo.AddChange(reason, s, e, item->ChangeStr(), item->ChangeSelMode());
      break;
    }
    case crCaret:
      undo.AddChange(crCaret, caret.CaretXY(), caret.CaretXY(), String(), E.fActiveSelectionMode);
      caret.SetCaretXY(s);
      break;
    case crSelection:
      undo.AddChange(crSelection, caret.BlockBegin(), caret.BlockEnd(), String(), E.fActiveSelectionMode);
      SelectRange(s, e, caret.CaretXY());
      break;
    case crWhiteSpaceAdd: {
      undo.AddChange(reason, s, e, String(), item->ChangeSelMode());
      SelectRange(e, e, e);
      undo.Lock();
      try {
        ReplaceSelectionTextEx(item->ChangeSelMode(), item->ChangeStr(), false);
      } catch (...) {
        undo.Unlock();
        throw;
      }
      undo.Unlock();
      caret.SetCaretXY(s);
      break;
    }
    default: break;
  }
}

// ---- Block indent ----

void TCodeEditText::DoBlockIndent() {
  TCodeEditCaret& caret = E.Caret();
  if (!caret.SelAvail()) return;
  const TCodeSelectionMode mode = E.fActiveSelectionMode;
  TBufferCoord b = caret.BlockBegin(), e = caret.BlockEnd();
  const Integer lastLine = e.Char == 1 ? e.Line - 1 : e.Line;
  const Integer caretColumn = e.Char == 1 ? 1 : E.fCaretX + (E.HasOption(eoTabsToSpaces) ? E.fTabWidth : 1);
  const String unit = E.HasOption(eoTabsToSpaces) ? String(static_cast<size_t>(E.fTabWidth), u' ') : String(u"\t");
  const auto unitLength = static_cast<Integer>(unit.size());
  String block;
  for (Integer line = b.Line; line <= lastLine; ++line) {
    if (line > b.Line) block += CRLF;
    block += unit;
  }
  {
    TUndoBlock undoBlock(*E.fUndoList);
    const Integer c = mode == smColumn ? std::min(b.Char, e.Char) : 1;
    InsertBlock({c, b.Line}, {c, lastLine}, block, true);
    E.fUndoList->AddChange(crIndent, b, e, String(), smColumn);
    E.fUndoList->AddChange(crIndent, {b.Char + unitLength, b.Line}, {e.Char + unitLength, e.Line}, String(), smColumn);
  }
  if (e.Char > 1) e.Char += unitLength;
  E.fActiveSelectionMode = mode;
  caret.SetCaretAndSelection({caretColumn, E.fCaretY}, {b.Char + unitLength, b.Line}, e);
  E.fActiveSelectionMode = mode;
}

void TCodeEditText::DoBlockUnindent() {
  TCodeEditCaret& caret = E.Caret();
  if (!caret.SelAvail()) return;
  const TCodeSelectionMode mode = E.fActiveSelectionMode;
  TBufferCoord b = caret.BlockBegin(), e = caret.BlockEnd();
  TCodeEditStringList& lines = *E.fLines;
  const Integer lastLine = std::min(e.Char == 1 ? e.Line - 1 : e.Line, lines.GetCount());
  const Integer start = mode == smColumn ? std::min(b.Char, e.Char) : 1;
  std::vector<Integer> counts;
  String removed;
  bool any = false;
  Integer caretCount = 0;
  for (Integer line = b.Line; line <= lastLine; ++line) {
    const StringView text = lines.LineText(line - 1);
    const StringView rest =
        static_cast<size_t>(start - 1) < text.size() ? text.substr(static_cast<size_t>(start - 1)) : StringView();
    Integer count = 0;
    if (!rest.empty() && rest.front() == u'\t') {
      count = 1;
    } else {
      while (count < E.fTabWidth && static_cast<size_t>(count) < rest.size() &&
             rest[static_cast<size_t>(count)] == u' ')
        ++count;
      if (count < E.fTabWidth && static_cast<size_t>(count) < rest.size() && rest[static_cast<size_t>(count)] == u'\t')
        ++count;
    }
    counts.push_back(count);
    if (line > b.Line) removed += CRLF;
    removed += rest.substr(0, static_cast<size_t>(count));
    if (count > 0) any = true;
    if (line == E.fCaretY) caretCount = count;
  }
  if (!any) return;
  Integer newCaretX = E.fCaretX;
  if (newCaretX != 1) newCaretX = std::max(1, newCaretX - caretCount);
  Integer firstCount = 0, lastCount = 0;
  const Integer caretLine = E.fCaretY;
  {
    TCodeEditPaintLock lock(E);
    caret.MoveCaret({E.fCaretX, b.Line});
    for (Integer line = b.Line; line <= lastLine; ++line) {
      const Integer count = counts[static_cast<size_t>(line - b.Line)];
      if (count == 0) continue;
      if (firstCount == 0) firstCount = count;
      lastCount = count;
      String text(lines.LineText(line - 1));
      text.erase(static_cast<size_t>(start - 1), static_cast<size_t>(count));
      lines.Put(line - 1, text);
    }
    E.fUndoList->AddChange(crUnindent, b, e, removed, mode);
  }
  if (mode != smColumn) {
    b.Char = std::max(1, b.Char - firstCount);
    e.Char = std::max(1, e.Char - lastCount);
  }
  caret.SetCaretAndSelection({newCaretX, caretLine}, b, e);
  E.fActiveSelectionMode = mode;
}

// ---- Clipboard ----

void TCodeEditText::CopyToClipboard() {
  if (E.Caret().SelAvail()) E.fHost.CopyText(SelText(), E.fActiveSelectionMode);
}

void TCodeEditText::CutToClipboard() {
  if (E.ReadOnly() || !E.Caret().SelAvail()) return;
  // The clipboard's text ends at a null: a selection holding one could not
  // be put there whole, and nothing is deleted that is not on the clipboard.
  if (SelText().find(Char{0}) != String::npos) return;
  CopyToClipboard();
  SetSelText(String());
}

void TCodeEditText::PasteFromClipboard() {
  if (E.ReadOnly()) return;
  TCodeSelectionMode mode = E.fSelectionMode;
  String text;
  if (!E.fHost.PasteText(text, mode)) return;
  TCodeEditCaret& caret = E.Caret();
  TCodeEditPaintLock lock(E);
  TUndoBlock block(*E.fUndoList);
  // The selection goes first, so that the text is put, and recorded, where
  // the deletion left the caret, after blanks recorded on their own.
  if (caret.SelAvail()) {
    E.fUndoList->AddChange(crDelete, E.fBlockBegin, E.fBlockEnd, UndoText(), E.fActiveSelectionMode);
    ReplaceSelectionTextEx(E.fActiveSelectionMode, String(), false);
    E.fBlockBegin = E.fBlockEnd = caret.CaretXY();
  }
  TBufferCoord start = caret.CaretXY();
  if (mode == smLine) start.Char = 1;
  // An empty clipboard text only takes the selection: nothing is put in.
  if (text.empty()) return;
  if (mode == smNormal) PadToCaret(false, E.fCaretX - 1);
  ReplaceSelectionTextEx(mode, text, true);
  // A line-mode paste is recorded as the stream of characters it inserted,
  // so that undoing it leaves the lines around it alone.
  if (mode != smColumn) E.fUndoList->AddChange(crPaste, start, caret.CaretXY(), String(), smNormal);
}
