#include "codeedit/editqueries.h"

#include <algorithm>

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

// Brackets in strings and comments are text, not structure.
bool CountsAsBracket(TCodeEditCore& core, const TBufferCoord& pos) {
  TCodeCustomHighlighter* highlighter = core.Highlighter();
  if (!highlighter) return true;
  String token;
  TCodeHighlighterAttributes* attribute = nullptr;
  if (!GetHighlighterAttriAtRowCol(core, pos, token, attribute)) return true;
  return attribute != highlighter->StringAttribute() && attribute != highlighter->CommentAttribute();
}

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
    if (!CountsAsBracket(core, {column, line})) continue;
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
