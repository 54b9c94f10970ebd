#include "codeedit/editsearch.h"

#include <algorithm>

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
    if (replaceAll && !prompt) scope.Take();
    while (line >= start.Line && line <= end.Line && line <= lines.GetCount()) {
      const Integer found = engine->FindAll(lines.Get(line - 1));
      Integer shift = 0;
      for (Integer n = 0; n < found; ++n) {
        const Integer index = backwards ? found - 1 - n : n;
        const Integer column = engine->ResultPosition(index) + shift;
        const Integer length = engine->ResultLength(index);
        if (selectedOnly && mode != smNormal) {
          if (mode == smColumn && start.Char != end.Char && (column < start.Char || column + length > end.Char))
            continue;
        } else if ((line == start.Line && column < start.Char) || (line == end.Line && column + length > end.Char)) {
          continue;
        }
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
