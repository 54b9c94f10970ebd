// The colour picker's texts: a colour in the platform notation ("$" and
// eight hexadecimal digits, $00BBGGRR) or the web notation ("#" and six,
// #RRGGBB), and the reading of both whatever notation the picker is in.
#pragma once

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
