// Free routines of the editor: clamps, tab-aware column arithmetic, character
// scans and trimming. The display form that painting, word wrap and
// coordinates share is built in codeedit/displayform.h.
#pragma once

#include <functional>

#include "codeedit/types.h"

// The line break the editor writes between lines it joins or inserts.
inline const String CRLF = u"\r\n";

// A blank in the editor's sense: space or tab, the characters trimmed and
// indented over.
inline bool IsBlank(Char c) {
  return c == u' ' || c == u'\t';
}

Integer ClampInt(Integer value, Integer low, Integer high);
void SwapInts(Integer& a, Integer& b);
// The earlier of two positions (a when they are equal).
TBufferCoord EarlierCoord(const TBufferCoord& a, const TBufferCoord& b);

// count := the characters before the first TAB (the whole length without one).
bool FindFirstTab(StringView text, Integer& count);

// Tab converters: each TAB becomes as many TAB characters as columns it
// advances (one space for a width below 2), counting one column per
// character. hasTabs reports whether the line had a TAB.
using TConvertTabsProcEx = String (*)(StringView line, Integer tabWidth, bool& hasTabs);
String TabsToSingleSpaces(StringView line, Integer tabWidth, bool& hasTabs);
String ExpandTabsMasked(StringView line, Integer tabWidth, bool& hasTabs);
String ExpandTabsModulo(StringView line, Integer tabWidth, bool& hasTabs);
bool IsPowerOfTwoWidth(Integer tabWidth);
TConvertTabsProcEx SelectTabConverter(Integer tabWidth);

// A character outside the basic plane is two code units, a high and a low
// surrogate; a position between them is taken back to the pair's start.
inline bool IsHighSurrogate(Char c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
inline bool IsLowSurrogate(Char c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}
// The 1-based position `aChar` of the line, or the start of the pair it splits.
Integer OutsideSurrogatePair(StringView line, Integer aChar);
// The code units (2 for a pair, else 1) of the character after (forwards) or
// before the 1-based position.
Integer CharUnitsAt(StringView line, Integer aChar, bool forwards);

Integer ExpandedTextWidth(StringView text, Integer tabWidth);
// The 1-based display column of a 1-based character index, counting one
// column per character and tabs to their stops.
Integer CharIndexToColumn(Integer index, Integer tabWidth, StringView text);

using TCharTest = std::function<bool(Char)>;
// 1-based index of the first character from `start` on (or back from it) that
// passes the test; 0 when start is outside the text or none passes.
Integer ScanForward(StringView text, Integer start, const TCharTest& test);
Integer ScanBackward(StringView text, Integer start, const TCharTest& test);

// 0-based index of the first NUL, LF or CR; the length when there is none.
Integer FindLineEnd(StringView text);

// "TCodeDfmHighlighter" -> "Dfm": a leading T (or "TCode") and a trailing
// "Highlighter" go, in any case.
String StripClassNameAffixes(StringView className);
String TrimTrailingBlanks(StringView text);
String TrimControlChars(StringView text);
String StringOfWideChar(Char c, Integer count);
Integer CeilDiv(Integer a, Integer b);

// Case mapping of every UTF-16 code unit by the library's simple tables: the
// length never changes, so positions in the mapped text are those of the original.
String WideUpperCase(StringView text);
String WideLowerCase(StringView text);
Char WideCharUpper(Char c);
Char WideCharLower(Char c);
void WideBufferUpper(Char* buffer, Integer count);
void WideBufferLower(Char* buffer, Integer count);
