// The colour picker's texts: a colour in the platform notation ("$" and
// eight hexadecimal digits, $00BBGGRR) or the web notation ("#" and six,
// #RRGGBB), and the reading of both whatever notation the picker is in.
#pragma once

#include <array>
#include <optional>

#include "rtl/types.h"
#include "rtl/uitypes.h"

enum class TColorNotation { Platform, Web };

// The text of a colour value (system colours already resolved for the web notation).
String ColorNotationText(TColor color, TColorNotation notation);

// The colour a text stands for: "$" and up to eight digits, "0x" and digits,
// or "#" and six digits (red, green, blue) are read in either notation;
// anything else has no colour.
std::optional<TColor> ReadColorNotation(StringView text);

// ---- The colour picker's text rules ----

// The text's longest form: "$" and eight digits, "#" and six, or "0x" and
// eight, by the text's own prefix, else by the notation.
Integer ColorTextMaxLength(StringView text, TColorNotation notation);
// Keeps what a colour text may hold (hexadecimal digits, "x", Backspace and
// one prefix at the front, the web notation refusing "$"); a text standing
// at the start without a prefix and not "0x..." gets the notation's.
String FilterColorText(StringView text, bool atStart, TColorNotation notation);
// Cuts the text to its longest form or pads it at its end with "0".
String FitColorText(StringView text, TColorNotation notation);
// Whether a typed character may go into the text (`caret` the selection's
// start, `hasSelection` whether characters are selected).
bool ColorTextAcceptsChar(Char ch, StringView text, Integer caret, bool hasSelection, TColorNotation notation);
// The value of a web colour name ("transparent" and the HTML keywords, in any case).
std::optional<TColor> HtmlColorNameValue(StringView name);
// The first web colour name whose "#RRGGBB" text is exactly the given one
// ("transparent" names no colour and is never the name of one).
std::optional<String> HtmlColorNameOf(StringView webText);
// Whether the text holds only what a colour text may hold (a name does not).
bool IsColorTextOnly(StringView text);
// A pasted "RRGGBB" or "#RRGGBB", blanks around it allowed: the colour that
// web text stands for, whatever the notation (a text copied from a web page).
std::optional<TColor> ReadPastedWebColor(StringView text);

// The colour popup's swatches: 21 columns of 12 rows, column c and row r at c * 12 + r.
inline constexpr Integer kColorMatrixColumns = 21;
inline constexpr Integer kColorMatrixRows = 12;
const std::array<TColor, kColorMatrixColumns * kColorMatrixRows>& ColorPopupMatrix();
