// Character facts that must not depend on the platform's locale tables, so
// that both builds give the same answers. Internal to the string routines.
#pragma once

#include <span>

#include "rtl/types.h"

namespace charmap_tables {

struct TCharRange {
  Char First;
  Char Last;
};

// The simple case mapping: one UTF-16 unit to one, the unit itself where the
// character has no single-unit counterpart (so lengths never change).
Char ToUpper(Char c);
Char ToLower(Char c);

// Sorted, disjoint ranges of the letters and of the decimal digits of the
// Basic Multilingual Plane.
std::span<const TCharRange> LetterRanges();
std::span<const TCharRange> DigitRanges();

}  // namespace charmap_tables
