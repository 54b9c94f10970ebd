#include "codeedit/editqueries.h"

#include <algorithm>
#include <vector>

#include "codeedit/editcaret.h"

bool GetHighlighterAttriAtRowColEx(TCodeEditCore& core, const TBufferCoord& pos, String& token,
                                   TCodeHighlighterAttributes*& attribute, Integer& tokenStart, Integer& tokenKind) {
  token.clear();
  attribute = nullptr;
  tokenStart = 0;
  tokenKind = 0;
  TCodeCustomHighlighter* highlighter = core.Highlighter();
  TCodeEditStringList& lines = core.Lines();
  if (!highlighter || pos.Line < 1 || pos.Line > lines.GetCount()) return false;
  const String text = lines.Get(pos.Line - 1);
  if (pos.Line == 1)
    highlighter->ResetRange();
  else
    highlighter->SetRange(lines.LineRange(pos.Line - 2));
  highlighter->SetLine(text, pos.Line - 1);
  if (pos.Char < 1 || pos.Char > static_cast<Integer>(text.size())) return false;
  while (!highlighter->GetEol()) {
    const Integer start = highlighter->GetTokenPos() + 1;
    token = highlighter->GetToken();
    if (pos.Char >= start && pos.Char < start + static_cast<Integer>(token.size())) {
      attribute = highlighter->GetTokenAttribute();
      tokenKind = highlighter->GetTokenKind();
      tokenStart = start;
      return true;
    }
    highlighter->Next();
  }
  token.clear();
  return false;
}

bool GetHighlighterAttriAtRowCol(TCodeEditCore& core, const TBufferCoord& pos, String& token,
                                 TCodeHighlighterAttributes*& attribute) {
  Integer start = 0, kind = 0;
  return GetHighlighterAttriAtRowColEx(core, pos, token, attribute, start, kind);
}

namespace {

constexpr Char kBrackets[] = {u'(', u')', u'[', u']', u'{', u'}', u'<', u'>'};

// Which characters of one line lie in string or comment tokens (brackets
// there are text, not structure); the line's tokens are walked once, when
// its first candidate bracket is looked at.
class TTextualChars {
 public:
  explicit TTextualChars(TCodeEditCore& core) : E(core) {}

  bool IsText(Integer line, const String& text, Integer column) {
    TCodeCustomHighlighter* highlighter = E.Highlighter();
    if (!highlighter) return false;
    if (line != fLine) Scan(*highlighter, line, text);
    return fText[static_cast<size_t>(column - 1)];
  }

 private:
  void Scan(TCodeCustomHighlighter& highlighter, Integer line, const String& text) {
    fLine = line;
    fText.assign(text.size(), false);
    TCodeEditStringList& lines = E.Lines();
    if (line == 1)
      highlighter.ResetRange();
    else
      highlighter.SetRange(lines.LineRange(line - 2));
    highlighter.SetLine(text, line - 1);
    TCodeHighlighterAttributes* const strings = highlighter.StringAttribute();
    TCodeHighlighterAttributes* const comments = highlighter.CommentAttribute();
    const auto size = static_cast<Integer>(text.size());
    for (; !highlighter.GetEol(); highlighter.Next()) {
      TCodeHighlighterAttributes* attribute = highlighter.GetTokenAttribute();
      if (attribute != strings && attribute != comments) continue;
      const Integer start = std::max<Integer>(highlighter.GetTokenPos(), 0);
      const Integer end = std::min<Integer>(start + static_cast<Integer>(highlighter.GetToken().size()), size);
      for (Integer i = start; i < end; ++i) fText[static_cast<size_t>(i)] = true;
    }
  }

  TCodeEditCore& E;
  Integer fLine = 0;
  std::vector<bool> fText;
};

}  // namespace

TBufferCoord GetMatchingBracketEx(TCodeEditCore& core, const TBufferCoord& pos) {
  TCodeEditStringList& lines = core.Lines();
  if (pos.Line < 1 || pos.Line > lines.GetCount()) return {0, 0};
  const String start = lines.Get(pos.Line - 1);
  if (pos.Char < 1 || pos.Char > static_cast<Integer>(start.size())) return {0, 0};
  const Char* found = std::find(std::begin(kBrackets), std::end(kBrackets), start[static_cast<size_t>(pos.Char - 1)]);
  if (found == std::end(kBrackets)) return {0, 0};
  const auto index = static_cast<size_t>(found - std::begin(kBrackets));
  const Char same = kBrackets[index], partner = kBrackets[index ^ 1];
  const bool forwards = index % 2 == 0;
  TTextualChars textual(core);
  Integer depth = 1;
  Integer line = pos.Line, column = pos.Char;
  String text = start;
  for (;;) {
    column += forwards ? 1 : -1;
    while (column < 1 || column > static_cast<Integer>(text.size())) {
      line += forwards ? 1 : -1;
      if (line < 1 || line > lines.GetCount()) return {0, 0};
      text = lines.Get(line - 1);
      column = forwards ? 1 : static_cast<Integer>(text.size());
    }
    const Char c = text[static_cast<size_t>(column - 1)];
    if (c != same && c != partner) continue;
    if (textual.IsText(line, text, column)) continue;
    if (c == same) {
      ++depth;
    } else if (--depth == 0) {
      return {column, line};
    }
  }
}

void FindMatchingBracket(TCodeEditCore& core) {
  const TBufferCoord match = GetMatchingBracketEx(core, core.Caret().CaretXY());
  if (match.Line > 0) core.Caret().MoveCaret(match);
}

void GotoLineAndCenter(TCodeEditCore& core, Integer line) {
  TCodeEditCaret& caret = core.Caret();
  caret.MoveCaretEx(false, {1, line});
  if (caret.SelAvail()) {
    caret.InvalidateSelection();
    const TBufferCoord at = caret.CaretXY();
    caret.SetCaretAndSelection(at, at, at);
  }
  caret.EnsureCursorPosVisibleEx(true);
}
