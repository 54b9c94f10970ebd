#include "rtl/character.h"

#include <gtest/gtest.h>

namespace {

struct CategoryCase {
  char32_t CodePoint;
  TUnicodeCategory Category;
};

const CategoryCase kCases[] = {
    {0x0000, ucControl},
    {0x0041, ucUppercaseLetter},
    {0x0061, ucLowercaseLetter},
    {0x005F, ucConnectPunctuation},
    {0x0030, ucDecimalNumber},
    {0x00E9, ucLowercaseLetter},
    {0x01C5, ucTitlecaseLetter},
    {0x02B0, ucModifierLetter},
    {0x05D0, ucOtherLetter},
    {0x0301, ucNonSpacingMark},
    {0x0903, ucCombiningMark},
    {0x20DD, ucEnclosingMark},
    {0x0660, ucDecimalNumber},
    {0x2160, ucLetterNumber},
    {0x00B2, ucOtherNumber},
    {0x200D, ucFormat},
    {0x00AD, ucFormat},
    {0x2028, ucLineSeparator},
    {0x2029, ucParagraphSeparator},
    {0x0020, ucSpaceSeparator},
    {0xD800, ucSurrogate},
    {0xE000, ucPrivateUse},
    {0x0378, ucUnassigned},
    {0x20AC, ucCurrencySymbol},
    {0x1D400, ucUppercaseLetter},
    {0x10FFFF, ucUnassigned},
    {0x110000, ucUnassigned},
    {0x20000, ucOtherLetter},
    {0x002B, ucMathSymbol},
    {0x00A9, ucOtherSymbol},
};

TEST(UnicodeCategory, KnownCodePoints) {
  for (const auto& c : kCases)
    EXPECT_EQ(GetUnicodeCategory(c.CodePoint), c.Category) << std::hex << static_cast<unsigned>(c.CodePoint);
}

TEST(UnicodeCategory, Letters) {
  EXPECT_TRUE(IsLetterCategory(GetUnicodeCategory(U'Ж')));
  EXPECT_TRUE(IsLetterCategory(GetUnicodeCategory(U'ǅ')));
  EXPECT_FALSE(IsLetterCategory(GetUnicodeCategory(U'1')));
  EXPECT_FALSE(IsLetterCategory(GetUnicodeCategory(U'\u2160')));
}

}  // namespace
