#include "codeedit/displayform.h"

#include <algorithm>

#include "codeedit/textutils.h"
#include "codeedit/types.h"

namespace {

Integer NextTabStop(Integer column, Integer tabWidth) {
  return tabWidth < 2 ? column + 1 : column + tabWidth - column % tabWidth;
}

// Walks the glyphs of a line with their cells. `visit` (index, units, cellsBefore,
// cells) returns false to stop the walk.
template <typename Visit>
void WalkCells(StringView line, Integer tabWidth, TCodeGlyphCells& cells, Visit visit) {
  Integer column = 0;
  size_t i = 0;
  while (i < line.size()) {
    size_t units = 1;
    const Integer width = line[i] == u'\t' ? NextTabStop(column, tabWidth) - column : cells.CellsAt(line, i, units);
    if (!visit(i, units, column, width)) return;
    column += width;
    i += units;
  }
}

}  // namespace

TCodeGlyphCells::TCodeGlyphCells(ICodeEditCellMetrics* metrics) : FMetrics(metrics), FSingleUnit(65536, 0) {}

void TCodeGlyphCells::SetMetrics(ICodeEditCellMetrics* metrics) {
  FMetrics = metrics;
  FontChanged();
}

void TCodeGlyphCells::FontChanged() {
  std::fill(FSingleUnit.begin(), FSingleUnit.end(), Byte{0});
  FPairs.clear();
}

Integer TCodeGlyphCells::AskMetrics(StringView glyph, Integer minimum) {
  const Integer answer = FMetrics ? FMetrics->GlyphCells(glyph) : 1;
  return std::clamp(answer, minimum, 255);
}

Integer TCodeGlyphCells::CellsAt(StringView text, size_t pos, size_t& units) {
  const Char c = text[pos];
  if (IsHighSurrogate(c) && pos + 1 < text.size() && IsLowSurrogate(text[pos + 1])) {
    units = 2;
    const char32_t codePoint = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[pos + 1] - 0xDC00);
    auto found = FPairs.find(codePoint);
    if (found == FPairs.end())
      found = FPairs.emplace(codePoint, static_cast<Byte>(AskMetrics(text.substr(pos, 2), 2))).first;
    return found->second;
  }
  units = 1;
  Byte& known = FSingleUnit[c];
  if (known == 0) known = static_cast<Byte>(AskMetrics(text.substr(pos, 1), 1));
  return known;
}

String DisplayForm(StringView line, Integer tabWidth, TCodeGlyphCells& cells, bool* hasTabs) {
  String result;
  result.reserve(line.size());
  bool tabs = false;
  WalkCells(line, tabWidth, cells, [&](size_t i, size_t units, Integer, Integer width) {
    if (line[i] == u'\t') {
      tabs = true;
      result.append(static_cast<size_t>(width), tabWidth < 2 ? u' ' : u'\t');
    } else {
      const auto fillers = width - static_cast<Integer>(units);
      if (fillers > 0) result.append(static_cast<size_t>(fillers), WideGlyphFiller);
      result.append(line.substr(i, units));
    }
    return true;
  });
  if (hasTabs) *hasTabs = tabs;
  return result;
}

Integer DisplayWidth(StringView line, Integer tabWidth, TCodeGlyphCells& cells, bool* hasTabs) {
  Integer width = 0;
  bool tabs = false;
  WalkCells(line, tabWidth, cells, [&](size_t i, size_t, Integer, Integer cellsOfGlyph) {
    tabs = tabs || line[i] == u'\t';
    width += cellsOfGlyph;
    return true;
  });
  if (hasTabs) *hasTabs = tabs;
  return width;
}

String WithoutFillers(StringView displayForm) {
  String result;
  result.reserve(displayForm.size());
  for (Char c : displayForm)
    if (c != WideGlyphFiller) result += c;
  return result;
}

Integer CharToDisplayColumn(StringView line, Integer aChar, Integer tabWidth, TCodeGlyphCells& cells) {
  if (aChar < 1) return aChar;
  const auto target = static_cast<size_t>(aChar - 1);
  Integer column = 0;
  size_t consumed = 0;
  WalkCells(line, tabWidth, cells, [&](size_t i, size_t units, Integer before, Integer width) {
    if (i + units > target) {
      column = before;
      consumed = i;
      return false;
    }
    column = before + width;
    consumed = i + units;
    return true;
  });
  if (consumed < target && consumed >= line.size()) column += static_cast<Integer>(target - consumed);
  return column + 1;
}

Integer DisplayColumnToChar(StringView line, Integer column, Integer tabWidth, TCodeGlyphCells& cells) {
  if (column < 1) return column;
  Integer result = 0;
  Integer reached = 0;
  size_t consumed = 0;
  WalkCells(line, tabWidth, cells, [&](size_t i, size_t units, Integer before, Integer width) {
    consumed = i + units;
    reached = before + width;
    if (reached >= column) {
      result = static_cast<Integer>(i) + 1;
      return false;
    }
    return true;
  });
  if (result > 0) return result;
  return static_cast<Integer>(consumed) + (column - reached);
}
