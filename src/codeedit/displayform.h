// The display form of a line, the one picture of a line on the editor's grid
// of character cells that painting, word wrap, the highlighter's display
// positions and the coordinate conversions all use:
//
// - a TAB advances to the next tab stop on the cell grid and becomes as many
//   TAB characters as cells it advances (with a tab width below 2, one space);
// - a glyph wider than one cell is preceded by one WideGlyphFiller per extra
//   cell; a surrogate pair is one glyph, measured as a whole, and takes at
//   least its two cells (so it is never split by fillers and its two code
//   units always fit);
// - every other character is one cell.
//
// So the display form's length is the line's width in cells, and tab stops
// depend on the cells before them, wide glyphs included.
#pragma once

#include <unordered_map>
#include <vector>

#include "rtl/types.h"

// How wide glyphs are, in character cells of the editor's font. The window
// control answers from its font (the glyph's width divided by the cell width,
// rounded up); tests use fixed widths.
class ICodeEditCellMetrics {
 public:
  virtual ~ICodeEditCellMetrics() = default;
  // Cells (1 or more) of one glyph: a single UTF-16 code unit or a surrogate pair.
  virtual Integer GlyphCells(StringView glyph) = 0;
};

// Remembers the cells of every glyph asked for until the font changes, so that
// the metrics are asked once per distinct character.
class TCodeGlyphCells {
 public:
  // Without metrics every glyph is one cell (a surrogate pair two).
  explicit TCodeGlyphCells(ICodeEditCellMetrics* metrics = nullptr);

  void SetMetrics(ICodeEditCellMetrics* metrics);
  ICodeEditCellMetrics* Metrics() const noexcept { return FMetrics; }
  // Forget every answer: the font (and so the widths) changed.
  void FontChanged();

  // Cells of the glyph that starts at `pos` (which is < text.size());
  // `units` := its code units (2 for a surrogate pair, else 1).
  Integer CellsAt(StringView text, size_t pos, size_t& units);

 private:
  Integer AskMetrics(StringView glyph, Integer minimum);

  ICodeEditCellMetrics* FMetrics;
  std::vector<Byte> FSingleUnit;  // 0: not asked yet
  std::unordered_map<char32_t, Byte> FPairs;
};

// The display form of `line`; hasTabs (when given) := the line has a TAB.
String DisplayForm(StringView line, Integer tabWidth, TCodeGlyphCells& cells, bool* hasTabs = nullptr);

// The length of the display form (the line's width in cells), without building it.
Integer DisplayWidth(StringView line, Integer tabWidth, TCodeGlyphCells& cells, bool* hasTabs = nullptr);

// The display form without its fillers: tabs expanded, one code unit per
// character otherwise (what the highlighter scans when it is given a display form).
String WithoutFillers(StringView displayForm);

// The 1-based display column of the 1-based character position `aChar`:
// the cells of the characters before it plus one; positions past the end of
// the line take one cell each; a position inside a surrogate pair is that of
// the pair.
Integer CharToDisplayColumn(StringView line, Integer aChar, Integer tabWidth, TCodeGlyphCells& cells);

// The 1-based character position whose cells hold the 1-based display
// `column` (the first code unit of that glyph); past the end of the line one
// position per cell.
Integer DisplayColumnToChar(StringView line, Integer column, Integer tabWidth, TCodeGlyphCells& cells);
