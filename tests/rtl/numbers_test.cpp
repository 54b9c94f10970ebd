#include "rtl/numbers.h"

#include <gtest/gtest.h>

#include <limits>

#include "rtl/exceptions.h"
#include "rtl/unicode.h"

namespace {

TEST(IntToStr, WritesDecimalWithSignAndExtremes) {
  EXPECT_EQ(IntToStr(0), u"0");
  EXPECT_EQ(IntToStr(-42), u"-42");
  EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::min()), u"-9223372036854775808");
  EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::max()), u"9223372036854775807");
  EXPECT_EQ(UIntToStr(std::numeric_limits<UInt64>::max()), u"18446744073709551615");
}

TEST(IntToHex, PadsToDigitsAndUsesTheArgumentWidthForNegatives) {
  EXPECT_EQ(IntToHex(255, 4), u"00FF");
  EXPECT_EQ(IntToHex(255, 1), u"FF");
  EXPECT_EQ(IntToHex(0, 0), u"0");
  EXPECT_EQ(IntToHex(-1, 4), u"FFFFFFFF");
  EXPECT_EQ(IntToHex(Int64{-1}, 4), u"FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(Int64{0x123456789A}, 2), u"123456789A");
  EXPECT_EQ(IntToHex(Byte{10}), u"0A");
  EXPECT_EQ(IntToHex(Word{0xBEEF}), u"BEEF");
}

struct IntegerCase {
  const char16_t* text;
  bool valid32;
  Integer value32;
  bool valid64;
  Int64 value64;
};

class IntegerParsing : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerParsing, FollowsThePlatformSyntax) {
  const IntegerCase& c = GetParam();
  Integer value32 = 12345;
  EXPECT_EQ(TryStrToInt(c.text, value32), c.valid32);
  if (c.valid32) {
    EXPECT_EQ(value32, c.value32);
  }
  Int64 value64 = 12345;
  EXPECT_EQ(TryStrToInt64(c.text, value64), c.valid64);
  if (c.valid64) {
    EXPECT_EQ(value64, c.value64);
  }
  EXPECT_EQ(StrToIntDef(c.text, -99), c.valid32 ? c.value32 : -99);
  EXPECT_EQ(StrToInt64Def(c.text, -99), c.valid64 ? c.value64 : -99);
}

constexpr Int64 kMin64 = std::numeric_limits<Int64>::min();

INSTANTIATE_TEST_SUITE_P(
    Cases, IntegerParsing,
    testing::Values(IntegerCase{u"0", true, 0, true, 0}, IntegerCase{u"42", true, 42, true, 42},
                    IntegerCase{u"-42", true, -42, true, -42}, IntegerCase{u"+42", true, 42, true, 42},
                    IntegerCase{u"   7", true, 7, true, 7}, IntegerCase{u"7 ", false, 0, false, 0},
                    IntegerCase{u"\t7", false, 0, false, 0}, IntegerCase{u"", false, 0, false, 0},
                    IntegerCase{u"-", false, 0, false, 0}, IntegerCase{u"$", false, 0, false, 0},
                    IntegerCase{u"1.0", false, 0, false, 0}, IntegerCase{u"1e3", false, 0, false, 0},
                    IntegerCase{u"- 1", false, 0, false, 0}, IntegerCase{u"00012", true, 12, true, 12},
                    IntegerCase{u"$FF", true, 255, true, 255}, IntegerCase{u"$ff", true, 255, true, 255},
                    IntegerCase{u"0x1F", true, 31, true, 31}, IntegerCase{u"0X1f", true, 31, true, 31},
                    IntegerCase{u"x10", true, 16, true, 16}, IntegerCase{u"-$10", true, -16, true, -16},
                    IntegerCase{u"$G", false, 0, false, 0}, IntegerCase{u"0x", false, 0, false, 0},
                    IntegerCase{u"2147483647", true, 2147483647, true, 2147483647},
                    IntegerCase{u"2147483648", false, 0, true, 2147483648},
                    IntegerCase{u"-2147483648", true, std::numeric_limits<Integer>::min(), true, -2147483648LL},
                    IntegerCase{u"-2147483649", false, 0, true, -2147483649LL},
                    IntegerCase{u"$FFFFFFFF", true, -1, true, 0xFFFFFFFFLL},
                    IntegerCase{u"$100000000", false, 0, true, 0x100000000LL},
                    IntegerCase{u"9223372036854775807", false, 0, true, std::numeric_limits<Int64>::max()},
                    IntegerCase{u"9223372036854775808", false, 0, false, 0},
                    IntegerCase{u"-9223372036854775808", false, 0, true, kMin64},
                    IntegerCase{u"$FFFFFFFFFFFFFFFF", false, 0, true, -1},
                    IntegerCase{u"$10000000000000000", false, 0, false, 0},
                    IntegerCase{u"99999999999999999999999", false, 0, false, 0},
                    IntegerCase{u"\uFF11", false, 0, false, 0}));

TEST(StrToInt, RaisesConvertErrorWithTheText) {
  try {
    StrToInt(u"12a");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(StringToUTF8(e.Message()), "'12a' is not a valid integer value");
  }
  EXPECT_THROW(StrToInt64(u"9223372036854775808"), EConvertError);
  EXPECT_EQ(StrToInt(u"$7FFFFFFF"), 2147483647);
  EXPECT_EQ(StrToUInt64(u"18446744073709551615"), std::numeric_limits<UInt64>::max());
  EXPECT_THROW(StrToUInt64(u"18446744073709551616"), EConvertError);
  EXPECT_THROW(StrToUInt64(u"-1"), EConvertError);
}

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  struct Case {
    Integer number, numerator, denominator, result;
  } cases[] = {
      {-11, 72, 96, -8},
      {11, 72, 96, 8},
      {3, 1, 2, 2},
      {-3, 1, 2, -2},
      {5, 1, -2, -3},
      {1, 2, 0, -1},
      {1 << 30, 8, 1, -1},
      {7, 0, 3, 0},
#ifndef _WIN32
      // The system's own routine (the Windows build uses it) refuses the
      // smallest integer on some systems; ours gives it.
      {-(1 << 30), 2, 1, -2147483647 - 1},
#endif
  };
  for (const Case& c : cases)
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.result)
        << c.number << "*" << c.numerator << "/" << c.denominator;
}

}  // namespace
