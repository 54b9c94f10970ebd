#include "codeedit/editcommands.h"

#include <algorithm>

#include "codeedit/editcaret.h"
#include "codeedit/editcore.h"
#include "codeedit/editqueries.h"
#include "codeedit/editscopes.h"
#include "codeedit/edittext.h"
#include "codeedit/textutils.h"
#include "rtl/exceptions.h"

namespace {

bool IsSelecting(TCodeEditorCommand command) {
  return command > ecSelection && command <= ecSelGotoXY;
}

}  // namespace

// ---- The pipeline ----

void TCodeEditCommands::CommandProcessor(TCodeEditorCommand command, Char aChar, void* data) {
  FireProcessCommand(command, aChar, data);
  if (command != ecNone) {
    NotifyCommandHooks(false, command, aChar, data);
    if (command != ecNone && command < ecUserFirst) ExecuteCommand(command, aChar, data);
    if (command != ecNone) NotifyCommandHooks(true, command, aChar, data);
  }
  E.OnCommandProcessed(E.fSender, command, aChar, data);
}

void TCodeEditCommands::FireProcessCommand(TCodeEditorCommand& command, Char& aChar, void* data) {
  if (command >= ecUserFirst)
    E.OnProcessUserCommand(E.fSender, command, aChar, data);
  else
    E.OnProcessCommand(E.fSender, command, aChar, data);
}

void TCodeEditCommands::RegisterCommandHandler(const THookedCommandEvent& handler, void* handlerData) {
  if (!handler) return;
  for (const auto& entry : fHookedCommandHandlers)
    if (entry->SameEvent(handler)) return;
  fHookedCommandHandlers.push_back(std::make_unique<THookedCommandHandlerEntry>(handler, handlerData));
}

void TCodeEditCommands::UnregisterCommandHandler(const THookedCommandEvent& handler) {
  if (!handler) return;
  for (auto i = fHookedCommandHandlers.size(); i-- > 0;) {
    if (fHookedCommandHandlers[i]->SameEvent(handler)) {
      fHookedCommandHandlers.erase(fHookedCommandHandlers.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

void TCodeEditCommands::NotifyCommandHooks(bool afterProcessing, TCodeEditorCommand& command, Char& aChar, void* data) {
  bool handled = false;
  // A hook may unregister hooks: walk a copy of the handlers.
  std::vector<std::pair<THookedCommandEvent, void*>> hooks;
  hooks.reserve(fHookedCommandHandlers.size());
  for (const auto& entry : fHookedCommandHandlers) hooks.emplace_back(entry->Event(), entry->Data());
  for (const auto& [event, handlerData] : hooks)
    event(E.fSender, afterProcessing, handled, command, aChar, data, handlerData);
  if (handled) command = ecNone;
}

TCodeEditorCommand TCodeEditCommands::KeyToCommand(Word key, TShiftState shift) {
  const TCodeEditKeyStrokes& strokes = *E.fKeyStrokes;
  Integer index = fLastKey != 0 ? strokes.FindKeycode2(fLastKey, fLastShiftState, key, shift) : -1;
  if (index < 0) index = strokes.FindKeycode(key, shift);
  const TCodeEditorCommand command = index >= 0 ? strokes.Items(index).Command() : ecNone;
  if (command != ecNone || key < 30 || key > 145) {
    fLastKey = 0;
    fLastShiftState = {};
  } else {
    fLastKey = key;
    fLastShiftState = shift;
  }
  return command;
}

// ---- Built-in commands ----

void TCodeEditCommands::ExecuteCommand(TCodeEditorCommand command, Char aChar, void* data) {
  TCodeEditPaintLock lock(E);
  TCodeEditCaret& caret = E.Caret();
  TCodeEditText& text = E.Editing();
  if (ExecuteMovement(command, data)) return;
  const bool writable = !E.ReadOnly();
  switch (command) {
    case ecSelWord: caret.SelWord(); break;
    case ecSelectAll: caret.SelectAll(); break;
    case ecCopy: text.CopyToClipboard(); break;
    case ecScrollUp:
    case ecScrollDown: {
      const Integer row = caret.DisplayY();
      if (row < E.fTopLine || row >= E.fTopLine + E.fLinesInWindow) {
        caret.EnsureCursorPosVisible();
      } else {
        const Integer step = command == ecScrollUp ? -1 : 1;
        caret.SetTopLine(E.fTopLine + step);
        const Integer last = E.fTopLine + std::max(E.fLinesInWindow, 1) - 1;
        if (caret.DisplayY() > last)
          MoveCaretVertically(last - caret.DisplayY(), false);
        else if (caret.DisplayY() < E.fTopLine)
          MoveCaretVertically(E.fTopLine - caret.DisplayY(), false);
        caret.EnsureCursorPosVisible();
      }
      E.UpdateWindowNow();
      break;
    }
    case ecScrollLeft:
      caret.SetLeftChar(E.fLeftChar - 1);
      E.UpdateWindowNow();
      break;
    case ecScrollRight:
      caret.SetLeftChar(E.fLeftChar + 1);
      E.UpdateWindowNow();
      break;
    case ecInsertMode: E.SetInsertMode(true); break;
    case ecOverwriteMode: E.SetInsertMode(false); break;
    case ecToggleMode: E.SetInsertMode(!E.fInserting); break;
    case ecNormalSelect: caret.SetSelectionMode(smNormal); break;
    case ecColumnSelect: caret.SetSelectionMode(smColumn); break;
    case ecLineSelect: caret.SetSelectionMode(smLine); break;
    case ecMatchBracket: FindMatchingBracket(E); break;
    case ecContextHelp:
      if (E.OnContextHelp) E.OnContextHelp(E.fSender, caret.WordAtCursor());
      break;
    default: break;
  }
  if (command >= ecGotoMarker0 && command <= ecGotoMarker9) {
    Integer x = 0, y = 0;
    if (E.fBookMarkOpt->EnableKeys && E.GetBookMark(command - ecGotoMarker0, x, y)) {
      caret.SetCaretXY({x, y});
      caret.EnsureCursorPosVisibleEx(true);
    }
    return;
  }
  if (command >= ecSetMarker0 && command <= ecSetMarker9) {
    if (E.fBookMarkOpt->EnableKeys) SetMarker(command - ecSetMarker0, data);
    return;
  }
  if (!writable) return;
  switch (command) {
    case ecDeleteLastChar: DeleteLastChar(); break;
    case ecDeleteChar: DeleteChar(); break;
    case ecDeleteWord:
    case ecDeleteEOL: DeleteToWordEndOrLineEnd(command); break;
    case ecDeleteLastWord:
    case ecDeleteBOL: DeleteToWordStartOrLineStart(command); break;
    case ecDeleteLine: DeleteLine(); break;
    case ecClearAll: E.ClearAll(); break;
    case ecLineBreak:
    case ecInsertLine: LineBreak(command); break;
    case ecChar: TypeChar(aChar); break;
    case ecImeStr:
      if (data) TypeString(static_cast<const Char*>(data));
      break;
    case ecUndo: text.Undo(); break;
    case ecRedo: text.Redo(); break;
    case ecCut:
      if (caret.SelAvail()) text.CutToClipboard();
      break;
    case ecPaste: text.PasteFromClipboard(); break;
    case ecBlockIndent: text.DoBlockIndent(); break;
    case ecBlockUnindent: text.DoBlockUnindent(); break;
    case ecTab: TypeTab(); break;
    case ecShiftTab: TypeShiftTab(); break;
    case ecUpperCase:
    case ecLowerCase:
    case ecToggleCase:
    case ecTitleCase:
    case ecUpperCaseBlock:
    case ecLowerCaseBlock:
    case ecToggleCaseBlock: ConvertCase(command); break;
    default: break;
  }
}

bool TCodeEditCommands::ExecuteMovement(TCodeEditorCommand command, void* data) {
  TCodeEditCaret& caret = E.Caret();
  const bool select = IsSelecting(command);
  const TCodeEditorCommand plain = select ? static_cast<TCodeEditorCommand>(command - ecSelection) : command;
  if (plain < ecLeft || plain > ecGotoXY) return false;
  TCodeEditStringList& lines = *E.fLines;
  switch (plain) {
    case ecLeft: MoveCaretHorizontally(-1, select); break;
    case ecRight: MoveCaretHorizontally(1, select); break;
    case ecUp:
      MoveCaretVertically(-1, select);
      E.UpdateWindowNow();
      break;
    case ecDown:
      MoveCaretVertically(1, select);
      E.UpdateWindowNow();
      break;
    case ecWordLeft: MoveCaretAndSelect(caret.Anchor(), caret.PrevWordPos(), select); break;
    case ecWordRight: MoveCaretAndSelect(caret.Anchor(), caret.NextWordPos(), select); break;
    case ecLineStart: GoLineStart(select); break;
    case ecLineEnd: GoLineEnd(select); break;
    case ecPageUp:
    case ecPageDown: {
      Integer n = E.HasOption(eoHalfPageScroll) ? E.fLinesInWindow / 2 : E.fLinesInWindow;
      if (E.HasOption(eoScrollByOneLess)) --n;
      if (plain == ecPageUp) n = -n;
      caret.SetTopLine(E.fTopLine + n);
      MoveCaretVertically(n, select);
      E.UpdateWindowNow();
      break;
    }
    case ecPageLeft: MoveCaretHorizontally(-E.fCharsInWindow, select); break;
    case ecPageRight: MoveCaretHorizontally(E.fCharsInWindow, select); break;
    case ecPageTop:
    case ecPageBottom: {
      const Integer row = plain == ecPageTop ? E.fTopLine : E.fTopLine + E.fLinesInWindow - 1;
      MoveCaretAndSelect(caret.Anchor(), caret.DisplayToBufferPos({caret.DisplayX(), row}), select);
      E.UpdateWindowNow();
      break;
    }
    case ecEditorTop:
    case ecEditorBottom: {
      const Integer count = lines.GetCount();
      const TBufferCoord target = plain == ecEditorTop || count == 0
                                      ? TBufferCoord{1, 1}
                                      : TBufferCoord{lines.LineCharLength(count - 1) + 1, count};
      MoveCaretAndSelect(caret.Anchor(), target, select);
      E.UpdateWindowNow();
      break;
    }
    case ecGotoXY:
      if (data) {
        MoveCaretAndSelect(caret.Anchor(), *static_cast<const TBufferCoord*>(data), select);
        E.UpdateWindowNow();
      }
      break;
    default: break;
  }
  return true;
}

// ---- Caret movement ----

void TCodeEditCommands::MoveCaretAndSelect(const TBufferCoord& from, const TBufferCoord& to, bool select) {
  if (E.HasOption(eoGroupUndo) && E.fUndoList->CanUndo()) E.fUndoList->AddGroupBreak();
  TCodeEditCaret& caret = E.Caret();
  TCodeEditPaintLock lock(E);
  if (select) {
    if (!caret.SelAvail()) caret.SetBlockBegin(from);
    caret.SetBlockEnd(to);
  } else {
    caret.SetBlockBegin(to);
  }
  caret.MoveCaret(to);
}

void TCodeEditCommands::MoveCaretHorizontally(Integer n, bool select) {
  TCodeEditCaret& caret = E.Caret();
  TCodeEditStringList& lines = *E.fLines;
  TBufferCoord target = caret.CaretXY();
  const bool pastEol = E.HasOption(eoScrollPastEol);
  const Integer length =
      target.Line >= 1 && target.Line <= lines.GetCount() ? lines.LineCharLength(target.Line - 1) : 0;
  if (E.fWordWrapPlugin) {
    const TDisplayCoord shown = caret.DisplayXY();
    if (n == -1 && target.Char > 1 && shown.Column == 1 && !E.fCaretAtEOL) {
      E.fCaretAtEOL = true;
      E.fStateFlags.Include(sfCaretChanged);
      caret.UpdateCaret();
      return;
    }
    if (n == 1 && E.fCaretAtEOL) {
      E.fCaretAtEOL = false;
      E.fStateFlags.Include(sfCaretChanged);
      caret.UpdateCaret();
      return;
    }
  }
  if (!pastEol && n == -1 && target.Char == 1 && target.Line > 1) {
    target = {lines.LineCharLength(target.Line - 2) + 1, target.Line - 1};
  } else if (!pastEol && n == 1 && target.Char > length && target.Line < lines.GetCount()) {
    target = {1, target.Line + 1};
  } else {
    // One step is one character: both halves of a surrogate pair.
    if ((n == 1 || n == -1) && target.Line >= 1 && target.Line <= lines.GetCount())
      n *= CharUnitsAt(lines.LineText(target.Line - 1), target.Char, n > 0);
    target.Char = std::max(1, target.Char + n);
    if (!pastEol && n > 0) target.Char = std::min(target.Char, length + 1);
  }
  MoveCaretAndSelect(caret.Anchor(), target, select);
  if (E.fWordWrapPlugin && n > 0 && target.Char <= length) {
    const TDisplayCoord shown = caret.BufferToDisplayPos(target);
    if (shown.Column == 1 && shown.Row > 1 && caret.BufferToDisplayPos({1, target.Line}).Row != shown.Row) {
      E.fCaretAtEOL = true;
      E.fStateFlags.Include(sfCaretChanged);
    }
  }
}

void TCodeEditCommands::MoveCaretVertically(Integer n, bool select) {
  TCodeEditCaret& caret = E.Caret();
  const TDisplayCoord shown = caret.DisplayXY();
  TDisplayCoord target = shown;
  target.Row += n;
  const Integer rows = caret.DisplayLineCount();
  if (n > 0 && target.Row > rows) target.Row = std::max(1, rows);
  if (n < 0 && target.Row < 1) target.Row = 1;
  const Integer remembered = E.fLastCaretX;
  if (E.HasOption(eoKeepCaretX) && target.Row != shown.Row) target.Column = remembered;
  const TBufferCoord position = caret.DisplayToBufferPos(target);
  MoveCaretAndSelect(caret.Anchor(), position, select);
  if (E.fWordWrapPlugin) {
    const TDisplayCoord landed = caret.BufferToDisplayPos(position);
    if (landed.Column == 1 && landed.Row != target.Row) {
      E.fCaretAtEOL = true;
      E.fStateFlags.Include(sfCaretChanged);
    }
  }
  E.fLastCaretX = remembered;
}

void TCodeEditCommands::GoLineStart(bool select) {
  TCodeEditCaret& caret = E.Caret();
  TCodeEditStringList& lines = *E.fLines;
  const TBufferCoord at = caret.CaretXY();
  TBufferCoord target{1, at.Line};
  if (E.fWordWrapPlugin) target = caret.DisplayToBufferPos({1, caret.DisplayY()});
  const bool firstRow = !E.fWordWrapPlugin || caret.DisplayY() == caret.LineToRow(at.Line);
  if (E.HasOption(eoEnhanceHomeKey) && firstRow && at.Line >= 1 && at.Line <= lines.GetCount()) {
    const StringView line = lines.LineText(at.Line - 1);
    Integer first = 1;
    while (first <= static_cast<Integer>(line.size()) && IsBlank(line[static_cast<size_t>(first - 1)])) ++first;
    target.Char = first >= at.Char && at.Char != 1 ? 1 : first;
  }
  MoveCaretAndSelect(at, target, select);
}

void TCodeEditCommands::GoLineEnd(bool select) {
  TCodeEditCaret& caret = E.Caret();
  TCodeEditStringList& lines = *E.fLines;
  const TBufferCoord at = caret.CaretXY();
  if (at.Line < 1 || at.Line > lines.GetCount()) {
    MoveCaretAndSelect(at, {1, at.Line}, select);
    return;
  }
  const StringView line = lines.LineText(at.Line - 1);
  const auto length = static_cast<Integer>(line.size());
  const bool lastRow =
      !E.fWordWrapPlugin || caret.DisplayY() == caret.LineToRow(at.Line + 1) - 1 || at.Line == lines.GetCount();
  TBufferCoord target{length + 1, at.Line};
  if (E.HasOption(eoEnhanceEndKey) && lastRow) {
    Integer end = length;
    while (end > 0 && IsBlank(line[static_cast<size_t>(end - 1)])) --end;
    target.Char = end + 1 == at.Char ? length + 1 : end + 1;
  } else if (E.fWordWrapPlugin) {
    const Integer row = caret.DisplayY();
    const Integer column = std::min(E.fWordWrapPlugin->GetRowLength(row) + 1, E.fCharsInWindow + 1);
    MoveCaretAndSelect(at, caret.DisplayToBufferPos({column, row}), select);
    caret.MoveCaretToDisplay({column, row});
    return;
  }
  MoveCaretAndSelect(at, target, select);
}

// ---- Editing ----

Integer TCodeEditCommands::LeftSpaces(StringView text, bool tabsCount) const {
  if (!E.HasOption(eoAutoIndent)) return 0;
  Integer count = 0;
  for (const Char c : text) {
    if (c == u' ')
      ++count;
    else if (c == u'\t')
      count += tabsCount ? E.fTabWidth : 1;
    else
      break;
    if (count >= 32) return 32;
  }
  return count;
}

void TCodeEditCommands::DeleteSelectionRecorded(TCodeSelectionMode mode) {
  TCodeEditCaret& caret = E.Caret();
  const TBufferCoord anchor = E.fBlockBegin, moving = E.fBlockEnd;
  const String removed = E.Editing().UndoText();
  E.Editing().ReplaceSelectionTextEx(mode, String(), false);
  const bool anchorFirst = anchor.Line < moving.Line || (anchor.Line == moving.Line && anchor.Char < moving.Char);
  E.fUndoList->AddChange(anchorFirst ? crDelete : crDeleteAfterCursor, anchor, moving, removed, E.fActiveSelectionMode);
  caret.SetBlockBegin(caret.CaretXY());
}

void TCodeEditCommands::DeleteLastChar() {
  TCodeEditCaret& caret = E.Caret();
  E.FirePaintTransient(ttBefore, true);
  struct TAfter {
    TCodeEditCore& Core;
    ~TAfter() { Core.FirePaintTransient(ttAfter, true); }
  } after{E};
  if (caret.SelAvail()) {
    DeleteSelectionRecorded(E.fActiveSelectionMode);
    return;
  }
  TCodeEditStringList& lines = *E.fLines;
  const TBufferCoord old = caret.CaretXY();
  if (old.Line < 1 || old.Line > lines.GetCount()) {
    if (old.Char > 1) caret.SetCaretX(old.Char - 1);
    return;
  }
  String line(lines.LineText(old.Line - 1));
  const auto length = static_cast<Integer>(line.size());
  const bool trim = E.HasOption(eoTrimTrailingSpaces);
  String removed;
  TBufferCoord to = old;
  if (old.Char > length + 1) {
    if (E.HasOption(eoSmartTabDelete) && length == 0) {
      Integer column = 1;
      for (Integer y = old.Line - 1; y >= 1; --y) {
        const Integer indent = LeftSpaces(lines.LineText(y - 1), trim);
        if (indent >= 1 && indent <= old.Char - 2) {
          column = indent + 1;
          break;
        }
      }
      caret.SetCaretX(column);
    } else if (length > 0 && E.HasOption(eoSmartTabDelete)) {
      caret.SetCaretX(length + 1);
    } else {
      caret.SetCaretX(old.Char - 1);
    }
    return;
  }
  if (old.Char == 1) {
    if (old.Line == 1) return;
    const Integer previousLength = lines.LineCharLength(old.Line - 2);
    to = {previousLength + 1, old.Line - 1};
    caret.SetCaretXY(to);
    const String tail = trim ? TrimTrailingBlanks(line) : line;
    lines.Delete(old.Line - 1);
    E.Editing().LinesDeletedNotify(old.Line, 1);
    lines.Put(old.Line - 2, String(lines.LineText(old.Line - 2)) + tail);
    removed = CRLF;
  } else {
    const Char before = line[static_cast<size_t>(old.Char - 2)];
    Integer leading = 0;
    while (leading < length && IsBlank(line[static_cast<size_t>(leading)])) ++leading;
    Integer newX = old.Char - 1;
    if (before <= 32 && leading >= old.Char - 1) {
      if (E.HasOption(eoSmartTabDelete)) {
        const Integer current = LeftSpaces(StringView(line).substr(0, static_cast<size_t>(old.Char - 1)), trim);
        newX = 1;
        for (Integer y = old.Line - 1; y >= 1; --y) {
          const StringView above = lines.LineText(y - 1);
          if (above.empty()) continue;
          Integer indent = 0;
          for (const Char c : above) {
            if (c == u' ')
              ++indent;
            else if (c == u'\t')
              indent += trim ? E.fTabWidth : 1;
            else
              break;
          }
          if (indent < current) {
            newX = std::min(indent, old.Char - 1) + 1;
            break;
          }
        }
      } else {
        const Integer column = caret.DisplayX();
        const Integer stop = ((column - 2) / E.fTabWidth) * E.fTabWidth + 1;
        Integer x = old.Char;
        Integer taken = 0;
        Integer shownColumn = column;
        while (x > 1 && taken < E.fTabWidth && shownColumn > stop) {
          const Char c = line[static_cast<size_t>(x - 2)];
          --x;
          ++taken;
          if (c == u'\t') break;
          --shownColumn;
        }
        newX = x;
      }
    } else if (old.Char >= 3 && before >= 0xDC00 && before <= 0xDFFF) {
      const Char high = line[static_cast<size_t>(old.Char - 3)];
      if (high >= 0xD800 && high <= 0xDBFF) newX = old.Char - 2;
    }
    removed = line.substr(static_cast<size_t>(newX - 1), static_cast<size_t>(old.Char - newX));
    line.erase(static_cast<size_t>(newX - 1), static_cast<size_t>(old.Char - newX));
    E.Editing().StoreLine(old.Line - 1, line);
    to = {newX, old.Line};
    caret.SetCaretXY(to);
  }
  if (!(to == old)) {
    E.fUndoList->AddChange(crSilentDelete, to, old, removed, smNormal);
  }
  caret.EnsureCursorPosVisible();
}

void TCodeEditCommands::DeleteChar() {
  TCodeEditCaret& caret = E.Caret();
  if (caret.SelAvail()) {
    DeleteSelectionRecorded(E.fActiveSelectionMode);
    return;
  }
  TCodeEditStringList& lines = *E.fLines;
  const TBufferCoord at = caret.CaretXY();
  if (at.Line < 1 || at.Line > lines.GetCount()) return;
  const Integer remembered = E.fLastCaretX;
  const Integer length = lines.LineCharLength(at.Line - 1);
  TUndoBlock block(*E.fUndoList);
  if (at.Char > length) {
    if (at.Line >= lines.GetCount()) return;
    // The blanks up to the caret are a change of their own, so that undoing
    // the join gives the line back as it was.
    E.Editing().PadToCaret(false, at.Char - 1);
    const String next(lines.LineText(at.Line));
    lines.Put(at.Line - 1, String(lines.LineText(at.Line - 1)) + next);
    lines.Delete(at.Line);
    E.Editing().LinesDeletedNotify(at.Line + 1, 1);
    E.fUndoList->AddChange(crSilentDeleteAfterCursor, at, {1, at.Line + 1}, CRLF, smNormal);
  } else {
    String line(lines.LineText(at.Line - 1));
    size_t units = 1;
    const Char c = line[static_cast<size_t>(at.Char - 1)];
    if (c >= 0xD800 && c <= 0xDBFF && static_cast<size_t>(at.Char) < line.size()) units = 2;
    const String removed = line.substr(static_cast<size_t>(at.Char - 1), units);
    line.erase(static_cast<size_t>(at.Char - 1), units);
    E.Editing().StoreLine(at.Line - 1, line);
    E.fUndoList->AddChange(crSilentDeleteAfterCursor, at, {at.Char + static_cast<Integer>(units), at.Line}, removed,
                           smNormal);
  }
  caret.SetCaretXY(at);
  E.fLastCaretX = remembered;
}

void TCodeEditCommands::DeleteToWordEndOrLineEnd(TCodeEditorCommand command) {
  TCodeEditCaret& caret = E.Caret();
  TCodeEditStringList& lines = *E.fLines;
  const TBufferCoord at = caret.CaretXY();
  if (at.Line < 1 || at.Line > lines.GetCount()) return;
  const Integer length = lines.LineCharLength(at.Line - 1);
  TBufferCoord end{length + 1, at.Line};
  if (command == ecDeleteWord) {
    end = caret.WordEnd();
    StringView text = lines.LineText(at.Line - 1);
    if (end.Char < at.Char || (end.Char == at.Char && end.Line < lines.GetCount())) {
      if (end.Char > length) {
        // The last line has no next line to join.
        if (end.Line >= lines.GetCount()) return;
        end = {1, end.Line + 1};
        text = lines.LineText(end.Line - 1);
      } else if (text[static_cast<size_t>(end.Char - 1)] != u' ') {
        ++end.Char;
      }
    }
    while (end.Char >= 1 && static_cast<size_t>(end.Char - 1) < text.size() &&
           text[static_cast<size_t>(end.Char - 1)] == u' ')
      ++end.Char;
  }
  // Nothing lies between a caret in virtual space and the line end before it.
  if (end == at || (end.Line == at.Line && end.Char < at.Char)) return;
  TUndoBlock block(*E.fUndoList);
  E.Editing().PadToCaret(false, at.Char - 1);
  caret.SetCaretAndSelection(at, at, end);
  E.fActiveSelectionMode = smNormal;
  const String removed = E.Editing().UndoText();
  E.Editing().ReplaceSelectionTextEx(smNormal, String(), false);
  E.fUndoList->AddChange(crSilentDeleteAfterCursor, at, end, removed, smNormal);
  caret.SetCaretXY(at);
}

void TCodeEditCommands::DeleteToWordStartOrLineStart(TCodeEditorCommand command) {
  TCodeEditCaret& caret = E.Caret();
  const TBufferCoord at = caret.CaretXY();
  const TBufferCoord target = command == ecDeleteLastWord ? caret.PrevWordPos() : TBufferCoord{1, at.Line};
  if (target == at) return;
  caret.SetCaretAndSelection(at, at, target);
  E.fActiveSelectionMode = smNormal;
  const String removed = E.Editing().UndoText();
  E.Editing().ReplaceSelectionTextEx(smNormal, String(), false);
  // What went is from the target up to the line end at most: a caret in
  // virtual space names a column the text never had.
  TBufferCoord through = at;
  if (through.Line >= 1 && through.Line <= E.fLines->GetCount() + 1) {
    const StringView before = removed;
    const size_t lastBreak = before.find_last_of(u"\n");
    const auto tailLength =
        static_cast<Integer>(lastBreak == StringView::npos ? before.size() : before.size() - lastBreak - 1);
    through.Char = (lastBreak == StringView::npos ? target.Char : 1) + tailLength;
  }
  E.fUndoList->AddChange(crSilentDelete, target, through, removed, smNormal);
  caret.SetCaretXY(target);
}

void TCodeEditCommands::DeleteLine() {
  TCodeEditCaret& caret = E.Caret();
  TCodeEditStringList& lines = *E.fLines;
  const Integer count = lines.GetCount();
  const Integer y = E.fCaretY;
  if (count == 0 || y > count) return;
  if (y == count && lines.LineCharLength(y - 1) == 0) return;
  if (caret.SelAvail()) caret.SetBlockBegin(caret.CaretXY());
  const String text(lines.LineText(y - 1));
  if (y == count) {
    lines.Put(y - 1, String());
    E.fUndoList->AddChange(crSilentDeleteAfterCursor, {1, y}, {static_cast<Integer>(text.size()) + 1, y}, text,
                           smNormal);
  } else {
    lines.Delete(y - 1);
    E.Editing().LinesDeletedNotify(y, 1);
    E.fUndoList->AddChange(crSilentDeleteAfterCursor, {1, y}, {1, y + 1}, text + CRLF, smNormal);
  }
  caret.SetCaretXY({1, y});
}

void TCodeEditCommands::LineBreak(TCodeEditorCommand command, bool retypeIndent) {
  TCodeEditCaret& caret = E.Caret();
  TCodeEditStringList& lines = *E.fLines;
  const bool moves = command == ecLineBreak;
  String retype;
  {
    TUndoBlock block(*E.fUndoList);
    if (caret.SelAvail()) {
      const TBufferCoord anchor = E.fBlockBegin, moving = E.fBlockEnd;
      const String removed = E.Editing().UndoText();
      const TCodeSelectionMode mode = E.fActiveSelectionMode;
      E.Editing().ReplaceSelectionTextEx(mode, String(), false);
      E.fUndoList->AddChange(crDelete, anchor, moving, removed, mode);
    }
    const TBufferCoord at = caret.CaretXY();
    if (lines.GetCount() == 0) lines.Add(String());
    const Integer y = std::min(at.Line, lines.GetCount());
    const String line(lines.LineText(y - 1));
    const auto length = static_cast<Integer>(line.size());
    const auto indentAbove = [&](Integer from) {
      for (Integer i = from; i >= 1; --i) {
        const StringView text = lines.LineText(i - 1);
        if (!text.empty()) return text;
      }
      return StringView();
    };
    TBufferCoord next = at;
    if (length == 0) {
      const Integer indent = LeftSpaces(indentAbove(y), true);
      lines.Insert(y - 1, String());
      E.fUndoList->AddChange(crLineBreak, at, at, String(), smNormal);
      next = {indent + 1, y + 1};
    } else if (at.Char > length) {
      const StringView above = indentAbove(y);
      const Integer indent = LeftSpaces(above, false);
      lines.Insert(y, String());
      E.fUndoList->AddChange(crLineBreak, at, at, String(), smNormal);
      if (retypeIndent) retype = String(above.substr(0, static_cast<size_t>(indent)));
      next = {1, y + 1};
    } else if (at.Char == 1) {
      lines.Insert(y - 1, String());
      E.fUndoList->AddChange(crLineBreak, at, at, line, smNormal);
      next = {1, y + 1};
    } else {
      const String left = line.substr(0, static_cast<size_t>(at.Char - 1));
      const String right = line.substr(static_cast<size_t>(at.Char - 1));
      const String indent = E.Editing().IndentText(LeftSpaces(left, true));
      E.Editing().StoreLine(y - 1, left);
      lines.Insert(y, indent + right);
      E.fUndoList->AddChange(crLineBreak, at, at, right, smNormal);
      next = {static_cast<Integer>(indent.size()) + 1, y + 1};
    }
    E.Editing().LinesInsertedNotify(at.Char == 1 ? y : y + 1, 1);
    if (moves) {
      caret.SetCaretXY(next);
      for (const Char c : retype) CommandProcessor(c == u'\t' ? ecTab : ecChar, c, nullptr);
    }
  }
  caret.SetBlockBegin(caret.CaretXY());
  caret.EnsureCursorPosVisible();
  caret.UpdateLastCaretX();
}

void TCodeEditCommands::TypeChar(Char c) {
  if (c < 32 || c == 127) return;
  TCodeEditCaret& caret = E.Caret();
  TCodeEditStringList& lines = *E.fLines;
  if (caret.SelAvail()) {
    TUndoBlock block(*E.fUndoList);
    const TCodeSelectionMode mode = E.fActiveSelectionMode;
    E.fUndoList->AddChange(crDelete, E.fBlockBegin, E.fBlockEnd, E.Editing().UndoText(), mode);
    TBufferCoord start = caret.BlockBegin();
    if (mode == smLine) start.Char = 1;
    E.Editing().ReplaceSelectionTextEx(mode, String(1, c), true);
    if (mode != smColumn) E.fUndoList->AddChange(crInsert, start, caret.CaretXY(), String(), smNormal);
    ScrollCaretRight();
    return;
  }
  const TBufferCoord old = caret.CaretXY();
  // Typing past the end of the line stops at the scroll width; inside the text it always goes in.
  if (E.fInserting && !E.fWordWrapPlugin && !E.HasOption(eoAutoSizeMaxScrollWidth) && old.Char > E.fMaxScrollWidth &&
      old.Char > lines.LineCharLength(old.Line - 1) + 1)
    return;
  TForcedOption pastEol(E.fOptions, eoScrollPastEol);
  TUndoBlock block(*E.fUndoList);
  const Integer filled = E.Editing().PadToCaret(true, E.fInserting ? old.Char - 1 : old.Char);
  String line(lines.LineText(old.Line - 1));
  const auto length = static_cast<Integer>(line.size());
  // Where the character goes: at the caret, or after the blanks that an
  // empty line was filled with (tabs take fewer characters than cells).
  const Integer at = filled > 0 ? (E.fInserting ? length + 1 : length) : old.Char;
  String replaced;
  if (E.fInserting) {
    line.insert(static_cast<size_t>(at - 1), 1, c);
  } else {
    if (at <= length) {
      // A character outside the basic plane is overwritten whole.
      const auto units = static_cast<size_t>(CharUnitsAt(line, at, true));
      replaced = line.substr(static_cast<size_t>(at - 1), units);
      line.replace(static_cast<size_t>(at - 1), units, 1, c);
    } else {
      line.push_back(c);
    }
  }
  E.Editing().StoreLine(old.Line - 1, line);
  Integer newX = at + 1;
  if (E.HasOption(eoTrimTrailingSpaces) && c == u' ' && TrimTrailingBlanks(line).empty())
    newX = ExpandedTextWidth(line, E.fTabWidth) + 1;
  E.fUndoList->AddChange(crInsert, {at, old.Line}, {at + 1, old.Line}, replaced, smNormal);
  caret.SetCaretXY({newX, old.Line});
  ScrollCaretRight();
}

void TCodeEditCommands::ScrollCaretRight() {
  TCodeEditCaret& caret = E.Caret();
  if (E.fCharsInWindow > 0 && caret.DisplayX() >= E.fLeftChar + E.fCharsInWindow)
    caret.SetLeftChar(E.fLeftChar + std::min(E.fCharsInWindow - 1, 25));
}

void TCodeEditCommands::TypeString(const Char* text) {
  TCodeEditCaret& caret = E.Caret();
  TCodeEditStringList& lines = *E.fLines;
  const String value(text);
  if (value.empty()) return;
  TUndoBlock block(*E.fUndoList);
  if (caret.SelAvail()) {
    E.fUndoList->AddChange(crDelete, E.fBlockBegin, E.fBlockEnd, E.Editing().UndoText(), smNormal);
    const TBufferCoord start = caret.BlockBegin();
    E.fActiveSelectionMode = smNormal;
    E.Editing().ReplaceSelectionTextEx(smNormal, value, true);
    E.fUndoList->AddChange(crInsert, start, caret.CaretXY(), String(), smNormal);
    caret.InvalidateGutter();
    return;
  }
  TForcedOption pastEol(E.fOptions, eoScrollPastEol);
  const TBufferCoord old = caret.CaretXY();
  E.Editing().PadToCaret(false, old.Char - 1);
  String line(lines.LineText(old.Line - 1));
  String replaced;
  if (!E.fInserting) {
    replaced = line.substr(static_cast<size_t>(old.Char - 1), value.size());
    line.erase(static_cast<size_t>(old.Char - 1), replaced.size());
  }
  line.insert(static_cast<size_t>(old.Char - 1), value);
  E.Editing().StoreLine(old.Line - 1, line);
  const TBufferCoord after{old.Char + static_cast<Integer>(value.size()), old.Line};
  E.fUndoList->AddChange(crInsert, old, after, replaced, smNormal);
  caret.SetCaretXY(after);
  ScrollCaretRight();
}

void TCodeEditCommands::TypeTab() {
  TCodeEditCaret& caret = E.Caret();
  TCodeEditStringList& lines = *E.fLines;
  if (E.HasOption(eoTabIndent) && ((caret.SelTabBlock()) || caret.SelTabLine())) {
    const bool wholeLine = !caret.SelTabBlock();
    E.Editing().DoBlockIndent();
    if (wholeLine) {
      const TBufferCoord end = E.fBlockEnd;
      caret.SetCaretAndSelection(caret.CaretXY(), {1, E.fBlockBegin.Line}, end);
    }
    return;
  }
  const Integer column = caret.DisplayX();
  Integer smartWidth = 0;
  if (E.HasOption(eoSmartTabs) && E.fCaretY > 1 && E.fCaretY <= lines.GetCount()) {
    for (Integer y = E.fCaretY - 1; y >= 1; --y) {
      const String shown = lines.ExpandedText(y - 1);
      if (static_cast<Integer>(shown.size()) < column) continue;
      Integer i = column - 1;
      const auto size = static_cast<Integer>(shown.size());
      while (i < size && !IsBlank(shown[static_cast<size_t>(i)])) ++i;
      while (i < size && IsBlank(shown[static_cast<size_t>(i)])) ++i;
      smartWidth = i - (column - 1);
      break;
    }
  }
  TUndoBlock block(*E.fUndoList);
  if (caret.SelAvail()) DeleteSelectionRecorded(E.fActiveSelectionMode);
  const TBufferCoord start = caret.CaretXY();
  const Integer shownColumn = caret.DisplayX();
  Integer width = smartWidth;
  if (width == 0) width = E.HasOption(eoTabsToSpaces) ? E.fTabWidth - (shownColumn - 1) % E.fTabWidth : E.fTabWidth;
  const Integer length = start.Line <= lines.GetCount() ? lines.LineCharLength(start.Line - 1) : 0;
  TForcedOption pastEol(E.fOptions, eoScrollPastEol);
  if (!E.HasOption(eoTabsToSpaces) && E.HasOption(eoTrimTrailingSpaces) && start.Char > length) {
    caret.MoveCaretToDisplay({shownColumn + width, caret.DisplayY()});
    caret.EnsureCursorPosVisible();
    return;
  }
  const String insert = E.HasOption(eoTabsToSpaces) ? String(static_cast<size_t>(width), u' ') : String(u"\t");
  E.Editing().PadToCaret(false, start.Char - 1);
  String line(lines.LineText(start.Line - 1));
  line.insert(static_cast<size_t>(start.Char - 1), insert);
  E.Editing().StoreLine(start.Line - 1, line);
  const TBufferCoord after{start.Char + static_cast<Integer>(insert.size()), start.Line};
  E.fUndoList->AddChange(crInsert, start, after, String(), smNormal);
  caret.SetCaretXY(after);
  caret.EnsureCursorPosVisible();
}

void TCodeEditCommands::TypeShiftTab() {
  TCodeEditCaret& caret = E.Caret();
  TCodeEditStringList& lines = *E.fLines;
  if (E.HasOption(eoTabIndent) && (caret.SelTabBlock() || caret.SelTabLine())) {
    E.Editing().DoBlockUnindent();
    return;
  }
  const TBufferCoord at = caret.CaretXY();
  if (at.Line < 1 || at.Line > lines.GetCount() || at.Char <= 1) return;
  Integer newX = 0;
  if (E.HasOption(eoSmartTabs)) {
    for (Integer y = at.Line - 1; y >= 1; --y) {
      const StringView above = lines.LineText(y - 1);
      if (static_cast<Integer>(above.size()) < at.Char - 1) continue;
      Integer i = at.Char - 1;
      while (i > 1 && above[static_cast<size_t>(i - 1)] == u' ') --i;
      while (i > 1 && above[static_cast<size_t>(i - 1)] != u' ') --i;
      newX = std::max(i, 1);
      break;
    }
  }
  const String line(lines.LineText(at.Line - 1));
  const auto length = static_cast<Integer>(line.size());
  if (newX == 0) {
    const Integer stop = E.fTabWidth * ((at.Char - 2) / E.fTabWidth) + 1;
    if (at.Char > length + 1) {
      newX = stop;
    } else if (line[static_cast<size_t>(at.Char - 2)] == u'\t' && stop < at.Char) {
      newX = at.Char - 1;
    } else {
      newX = at.Char;
      while (newX > stop && line[static_cast<size_t>(newX - 2)] == u' ') --newX;
    }
  }
  newX = std::min(newX, at.Char);
  if (newX == at.Char) return;
  const Integer from = std::min(newX, length + 1), to = std::min(at.Char, length + 1);
  TForcedOption pastEol(E.fOptions, eoScrollPastEol);
  if (to > from) {
    const String removed = line.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from));
    String changed = line;
    changed.erase(static_cast<size_t>(from - 1), static_cast<size_t>(to - from));
    lines.Put(at.Line - 1, changed);
    E.fUndoList->AddChange(crSilentDelete, {from, at.Line}, {to, at.Line}, removed, smNormal);
  }
  caret.SetCaretXY({newX, at.Line});
}

void TCodeEditCommands::ConvertCase(TCodeEditorCommand command) {
  if (command < ecUpperCase || command > ecToggleCaseBlock)
    throw EAssertionFailed(u"Assertion failed: no case conversion command");
  TCodeEditCaret& caret = E.Caret();
  TCodeEditStringList& lines = *E.fLines;
  const bool wordForm = command <= ecTitleCase;
  const TBufferCoord oldCaret = caret.CaretXY();
  const bool hadSelection = caret.SelAvail();
  const TBufferCoord oldBegin = caret.BlockBegin(), oldEnd = caret.BlockEnd();
  // A word or a character is a stream of characters, whatever the mode.
  if (wordForm) {
    // Where no word is found nothing may stay selected: an old column block
    // read as a stream would reach past line ends, and its replacement would
    // leave blanks that no undo item takes back.
    caret.SetCaretAndSelection(oldCaret, oldCaret, oldCaret);
    caret.SetWordBlock(caret.CaretXY());
    E.fActiveSelectionMode = smNormal;
    for (int attempt = 0; attempt < 2 && E.Editing().UndoText().empty(); ++attempt) {
      caret.MoveCaret(caret.PrevWordPos());
      caret.SetWordBlock(caret.CaretXY());
      E.fActiveSelectionMode = smNormal;
    }
  } else if (!hadSelection) {
    const TBufferCoord at = caret.CaretXY();
    const Integer length = at.Line >= 1 && at.Line <= lines.GetCount() ? lines.LineCharLength(at.Line - 1) : 0;
    if (at.Char > length) {
      if (at.Line < lines.GetCount()) caret.SetCaretXY({1, at.Line + 1});
    } else {
      caret.SetCaretAndSelection({at.Char + 1, at.Line}, at, {at.Char + 1, at.Line});
      E.fActiveSelectionMode = smNormal;
    }
  }
  const String word = E.Editing().UndoText();
  if (!word.empty()) {
    String converted;
    switch (command) {
      case ecUpperCase:
      case ecUpperCaseBlock: converted = WideUpperCase(word); break;
      case ecLowerCase:
      case ecLowerCaseBlock: converted = WideLowerCase(word); break;
      case ecToggleCase:
      case ecToggleCaseBlock:
        converted = word;
        for (Char& c : converted) c = WideCharUpper(c) == c ? WideCharLower(c) : WideCharUpper(c);
        break;
      default:
        converted = WideLowerCase(word);
        converted[0] = WideCharUpper(converted[0]);
        break;
    }
    TUndoBlock block(*E.fUndoList);
    if (hadSelection)
      E.fUndoList->AddChange(crSelection, oldBegin, oldEnd, String(), E.fActiveSelectionMode);
    else
      E.fUndoList->AddChange(crSelection, oldCaret, oldCaret, String(), E.fActiveSelectionMode);
    E.fUndoList->AddChange(crCaret, oldCaret, oldCaret, String(), E.fActiveSelectionMode);
    E.Editing().SetSelText(converted);
  }
  if (!wordForm && hadSelection) {
    caret.SetCaretAndSelection(oldCaret, oldBegin, oldEnd);
  } else if (wordForm || hadSelection) {
    caret.SetCaretXY(oldCaret);
  }
}

void TCodeEditCommands::SetMarker(Integer number, void* data) {
  const TBufferCoord at = data ? *static_cast<const TBufferCoord*>(data) : E.Caret().CaretXY();
  Integer x = 0, y = 0;
  // On its own line the bookmark goes; elsewhere it moves (placing clears the
  // old one only when the new one is accepted).
  if (E.GetBookMark(number, x, y) && y == at.Line)
    E.ClearBookMark(number);
  else
    E.SetBookMark(number, at.Char, at.Line);
}
