#include "rtl/character.h"

#include <algorithm>

#include "rtl/character_tables.h"

TUnicodeCategory GetUnicodeCategory(char32_t codePoint) {
  if (codePoint > 0x10FFFF) return ucUnassigned;
  auto runs = character_tables::CategoryRuns();
  auto after = std::upper_bound(runs.begin(), runs.end(), codePoint,
                                [](char32_t cp, const character_tables::TCategoryRun& run) { return cp < run.First; });
  return static_cast<TUnicodeCategory>(std::prev(after)->Category);
}

bool IsLetterCategory(TUnicodeCategory category) {
  switch (category) {
    case ucLowercaseLetter:
    case ucModifierLetter:
    case ucOtherLetter:
    case ucTitlecaseLetter:
    case ucUppercaseLetter: return true;
    default: return false;
  }
}
