// Positions and small value types shared by the editor's classes.
#pragma once

#include <bitset>
#include <cstdint>

#include "rtl/sets.h"
#include "rtl/types.h"

// A position in the text: Char counts UTF-16 code units of the line, both are
// 1-based; Char = length + 1 is just after the last character.
struct TBufferCoord {
  Integer Char = 0;
  Integer Line = 0;
  friend constexpr bool operator==(const TBufferCoord&, const TBufferCoord&) = default;
};

// A position on the screen grid: Column counts character cells, Row display
// rows (lines, unless word wrap is on); both 1-based.
struct TDisplayCoord {
  Integer Column = 0;
  Integer Row = 0;
  friend constexpr bool operator==(const TDisplayCoord&, const TDisplayCoord&) = default;
};

constexpr TBufferCoord MakeBufferCoord(Integer aChar, Integer aLine) {
  return {aChar, aLine};
}
constexpr TDisplayCoord MakeDisplayCoord(Integer aColumn, Integer aRow) {
  return {aColumn, aRow};
}

enum TCodeSelectionMode : Byte { smNormal, smLine, smColumn };

enum TCodeSearchOption {
  ssoMatchCase,
  ssoWholeWord,
  ssoBackwards,
  ssoEntireScope,
  ssoSelectedOnly,
  ssoReplace,
  ssoReplaceAll,
  ssoPrompt
};
using TCodeSearchOptions = TSet<TCodeSearchOption>;

// The character that stands in the display form of a line for each extra
// character cell of a wide glyph, ahead of the glyph.
inline constexpr Char WideGlyphFiller = u'\uE000';

// A set of the characters 0-255 (the editor's additional identifier and
// word-break characters).
using TCodeCharSet = std::bitset<256>;

// The highlighter state at the end of a line, stored with the line.
using TCodeRange = std::intptr_t;
