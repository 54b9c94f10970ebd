// The general category of every code point, as runs. Internal to the
// character classification.
#pragma once

#include <span>

#include "rtl/types.h"

namespace character_tables {

// The first code point of a run of code points that share a category; the run
// ends where the next begins. `Category` is a TUnicodeCategory ordinal.
struct TCategoryRun {
  char32_t First;
  Byte Category;
};

// Sorted by First; the first run starts at U+0000.
std::span<const TCategoryRun> CategoryRuns();

}  // namespace character_tables
