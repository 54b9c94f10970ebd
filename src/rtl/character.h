// Unicode general categories, from built-in tables, so that every build
// classifies characters alike whatever the system's own tables say.
#pragma once

#include "rtl/types.h"

// The platform's order of the categories.
enum TUnicodeCategory : Byte {
  ucControl,
  ucFormat,
  ucUnassigned,
  ucPrivateUse,
  ucSurrogate,
  ucLowercaseLetter,
  ucModifierLetter,
  ucOtherLetter,
  ucTitlecaseLetter,
  ucUppercaseLetter,
  ucCombiningMark,  // spacing combining marks
  ucEnclosingMark,
  ucNonSpacingMark,
  ucDecimalNumber,
  ucLetterNumber,
  ucOtherNumber,
  ucConnectPunctuation,
  ucDashPunctuation,
  ucClosePunctuation,
  ucFinalPunctuation,
  ucInitialPunctuation,
  ucOtherPunctuation,
  ucOpenPunctuation,
  ucCurrencySymbol,
  ucModifierSymbol,
  ucMathSymbol,
  ucOtherSymbol,
  ucLineSeparator,
  ucParagraphSeparator,
  ucSpaceSeparator,
};

// Code points above U+10FFFF are unassigned.
TUnicodeCategory GetUnicodeCategory(char32_t codePoint);

// Letters of every case and kind (Lu, Ll, Lt, Lm, Lo).
bool IsLetterCategory(TUnicodeCategory category);
