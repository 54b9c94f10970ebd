// The single-byte code pages the library converts by itself, identically in
// every build. Internal to the code page conversions.
#pragma once

#include <cstddef>

#include "rtl/types.h"

namespace codepage_tables {

// One character of the upper half and the byte that stands for it.
struct TReverseEntry {
  Char Unicode;
  Byte Value;
};

struct TSingleBytePage {
  Word CodePage;
  // The character of every byte; the lower half is ASCII in every page except
  // that ASCII itself (20127) folds the upper half onto it.
  const Char* ToUnicode;
  // The characters at or above U+0080 that have a byte, sorted by character.
  // Characters below U+0080 are their own byte in every page.
  const TReverseEntry* FromUnicode;
  std::size_t FromUnicodeCount;
};

// Null for code pages without a table here.
const TSingleBytePage* FindSingleBytePage(Word codePage);

}  // namespace codepage_tables
