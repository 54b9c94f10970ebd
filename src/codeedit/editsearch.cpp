#include "codeedit/editsearch.h"

#include <algorithm>
#include <vector>

#include "codeedit/editcaret.h"
#include "codeedit/edittext.h"

namespace {

// The paint lock and undo block of a replace-all, released whatever happens.
class TReplaceAllScope {
 public:
  explicit TReplaceAllScope(TCodeEditCore& core) : E(core) {}
  ~TReplaceAllScope() {
    if (!fTaken) return;
    E.EndUndoBlock();
    E.EndUpdate();
  }
  void Take() {
    if (fTaken) return;
    fTaken = true;
    E.BeginUpdate();
    E.BeginUndoBlock();
  }

 private:
  TCodeEditCore& E;
  bool fTaken = false;
};

// The area searched and which matches in it count.
struct TSearchArea {
  TBufferCoord Start, End;
  bool SelectedOnly = false;
  TCodeSelectionMode Mode = smNormal;

  // `column` and `length` in the line as it was before any replacement.
  bool Accepts(Integer line, Integer column, Integer length) const {
    if (SelectedOnly && Mode != smNormal)
      return !(Mode == smColumn && Start.Char != End.Char && (column < Start.Char || column + length > End.Char));
    return !((line == Start.Line && column < Start.Char) || (line == End.Line && column + length > End.Char));
  }
};

// Replace All without prompts in one pass: each line with matches is built
// once from its pieces and stored once, recorded as one change of the undo
// step, so the work is proportional to the text searched. -1 (nothing
// changed) when a replacement would hold a line break, which only the
// match-by-match replacement can insert.
Integer ReplaceEveryMatch(TCodeEditCore& core, TCodeEditSearchCustom& engine, const String& replace,
                          const TSearchArea& area, bool backwards) {
  TCodeEditStringList& lines = core.Lines();
  struct TLineChange {
    Integer Line;
    String Old, New;
  };
  std::vector<TLineChange> changes;
  Integer count = 0;
  // After the replacement of the match handled last (the last one going
  // forwards, the first one going backwards).
  TBufferCoord caretAfter{0, 0};
  for (Integer line = area.Start.Line; line <= area.End.Line && line <= lines.GetCount(); ++line) {
    String old = lines.Get(line - 1);
    const Integer found = engine.FindAll(old);
    String result;
    size_t copied = 0;
    for (Integer n = 0; n < found; ++n) {
      const Integer column = engine.ResultPosition(n);
      const Integer length = engine.ResultLength(n);
      if (column < 1 || length < 0 || static_cast<size_t>(column - 1) < copied ||
          static_cast<size_t>(column - 1 + length) > old.size() || !area.Accepts(line, column, length))
        continue;
      const String replacement =
          engine.Replace(old.substr(static_cast<size_t>(column - 1), static_cast<size_t>(length)), replace);
      if (replacement.find_first_of(u"\r\n") != String::npos) return -1;
      if (result.empty()) result.reserve(old.size() + replacement.size());
      result.append(old, copied, static_cast<size_t>(column - 1) - copied);
      result += replacement;
      copied = static_cast<size_t>(column - 1 + length);
      if (!backwards || caretAfter.Line == 0) caretAfter = {static_cast<Integer>(result.size()) + 1, line};
      ++count;
    }
    if (copied == 0 && result.empty()) continue;
    result.append(old, copied);
    changes.push_back({line, std::move(old), std::move(result)});
  }
  if (changes.empty()) return 0;
  TCodeEditUndoList& undo = core.UndoList();
  lines.BeginUpdate();
  try {
    for (const TLineChange& change : changes) {
      const Integer line = change.Line;
      undo.AddChange(crDelete, {1, line}, {static_cast<Integer>(change.Old.size()) + 1, line}, change.Old, smNormal);
      core.Editing().StoreLine(line - 1, change.New);
      undo.AddChange(crInsert, {1, line}, {lines.LineCharLength(line - 1) + 1, line}, String(), smNormal);
    }
  } catch (...) {
    lines.EndUpdate();
    throw;
  }
  lines.EndUpdate();
  core.Caret().SetCaretXY(caretAfter);
  return count;
}

}  // namespace

Integer SearchReplace(TCodeEditCore& core, const String& search, const String& replace, TCodeSearchOptions options,
                      const TReplaceTextEvent& onReplaceText) {
  TCodeEditSearchCustom* engine = core.SearchEngine();
  if (!engine) throw ECodeEditError(u"No search engine has been assigned");
  if (search.empty()) return 0;
  TCodeEditCaret& caret = core.Caret();
  TCodeEditStringList& lines = core.Lines();
  if (!caret.SelAvail()) options -= TCodeSearchOptions{ssoSelectedOnly};
  const bool backwards = options.Contains(ssoBackwards);
  bool prompt = options.Contains(ssoPrompt);
  bool replaceAll = options.Contains(ssoReplaceAll);
  const bool replacing = options.Contains(ssoReplace) || replaceAll;
  // A read-only text is never changed, not even by a replace.
  if (replacing && core.ReadOnly()) return 0;
  const TCodeSelectionMode mode = caret.ActiveSelectionMode();
  const bool selectedOnly = options.Contains(ssoSelectedOnly);

  TBufferCoord start, end;
  if (selectedOnly) {
    start = caret.BlockBegin();
    end = caret.BlockEnd();
    if (mode == smLine) {
      start.Char = 1;
      end.Char = static_cast<Integer>(lines.Get(end.Line - 1).size()) + 1;
    } else if (mode == smColumn && start.Char > end.Char) {
      std::swap(start.Char, end.Char);
    }
  } else {
    const Integer count = std::max<Integer>(lines.GetCount(), 1);
    start = {1, 1};
    end = {static_cast<Integer>(lines.Get(count - 1).size()) + 1, count};
    if (!options.Contains(ssoEntireScope)) (backwards ? end : start) = caret.CaretXY();
  }
  Integer line = backwards ? end.Line : start.Line;
  engine->SetOptions(options);
  engine->SetPattern(search);

  Integer result = 0;
  bool cancelled = false;
  core.FirePaintTransient(ttBefore, false);
  TReplaceAllScope scope(core);
  try {
    if (replaceAll && !prompt) {
      scope.Take();
      const Integer replaced = ReplaceEveryMatch(core, *engine, replace, {start, end, selectedOnly, mode}, backwards);
      if (replaced >= 0) {
        core.FirePaintTransient(ttAfter, false);
        return replaced;
      }
    }
    while (line >= start.Line && line <= end.Line && line <= lines.GetCount()) {
      const Integer found = engine->FindAll(lines.Get(line - 1));
      Integer shift = 0;
      for (Integer n = 0; n < found; ++n) {
        const Integer index = backwards ? found - 1 - n : n;
        const Integer column = engine->ResultPosition(index) + shift;
        const Integer length = engine->ResultLength(index);
        if (!TSearchArea{start, end, selectedOnly, mode}.Accepts(line, column, length)) continue;
        ++result;
        caret.SelectMatch({column, line}, {column + length, line}, backwards);
        if (!replacing) {
          core.FirePaintTransient(ttAfter, false);
          return result;
        }
        TCodeReplaceAction action = raReplace;
        if (prompt && onReplaceText) {
          onReplaceText(core.Sender(), search, replace, line, column, action);
          if (action == raCancel) {
            cancelled = true;
            break;
          }
        }
        Integer replacedLength = length;
        if (action == raSkip) {
          --result;
        } else {
          if (action == raReplaceAll) {
            replaceAll = true;
            prompt = false;
            scope.Take();
          }
          core.Editing().SetSelText(engine->Replace(core.Editing().SelText(), replace));
          replacedLength = caret.CaretX() - column;
        }
        if (!backwards) {
          caret.MoveCaretEx(false, {column + replacedLength, line});
          if (length != replacedLength && action != raSkip) {
            shift += replacedLength - length;
            if (mode != smColumn && line == end.Line) end.Char += replacedLength - length;
          }
        }
        if (!replaceAll) {
          core.FirePaintTransient(ttAfter, false);
          return result;
        }
      }
      if (cancelled) break;
      line += backwards ? -1 : 1;
    }
  } catch (...) {
    core.FirePaintTransient(ttAfter, false);
    throw;
  }
  core.FirePaintTransient(ttAfter, false);
  return result;
}
