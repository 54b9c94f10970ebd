#include "rtl/floattext.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <limits>

#include "rtl/exceptions.h"
#include "rtl/unicode.h"

namespace {

constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

struct TextCase {
  const char* name;
  String expected;
  String actual;
};

void PrintTo(const TextCase& c, std::ostream* os) {
  *os << c.name;
}

class FloatTexts : public testing::TestWithParam<TextCase> {};

TEST_P(FloatTexts, MatchThePlatform) {
  EXPECT_EQ(StringToUTF8(GetParam().actual), StringToUTF8(GetParam().expected));
}

// Values from the binary image of an 80-bit number, so the cases mean the
// same on every build.
long double Ext(bool negative, int biasedExponent, UInt64 significand) {
  return Extended80::FromParts(negative, biasedExponent, significand).ToLongDouble();
}

const TFormatSettings& Dot() {
  return InvariantFormatSettings();
}

TFormatSettings Comma() {
  TFormatSettings settings;
  settings.DecimalSeparator = u',';
  settings.ThousandSeparator = u'.';
  settings.CurrencyString = u"EUR";
  settings.CurrencyFormat = 3;
  settings.NegCurrFormat = 8;
  return settings;
}

INSTANTIATE_TEST_SUITE_P(
    General, FloatTexts,
    testing::Values(
        TextCase{"PointOne", u"0.1", FloatToStr(0.1)}, TextCase{"Huge", u"1E100", FloatToStr(1e100)},
        TextCase{"SeventeenDigitInteger", u"1.23456789012346E17", FloatToStr(123456789012345678.0)},
        TextCase{"FifteenIntegerDigitsStayFixed", u"123456789012345", FloatToStr(123456789012345.0)},
        TextCase{"SixteenIntegerDigitsGoScientific", u"1E15", FloatToStr(1e15)},
        TextCase{"SmallestFixed", u"0.0001", FloatToStr(0.0001)},
        TextCase{"FirstScientific", u"1E-5", FloatToStr(0.00001)}, TextCase{"Negative", u"-2.5", FloatToStr(-2.5)},
        TextCase{"Zero", u"0", FloatToStr(0.0)}, TextCase{"NegativeZero", u"0", FloatToStr(-0.0)},
        TextCase{"ThirdDouble", u"0.333333333333333", FloatToStr(1.0 / 3)},
        TextCase{"RoundsUpAcrossDigits", u"1", FloatToStr(0.99999999999999999)},
        TextCase{"Single", u"0.100000001490116", FloatToStr(0.1f)},
        TextCase{"ExtendedThird18", u"0.333333333333333333",
                 FloatToStrF(Ext(false, 16381, 0xAAAAAAAAAAAAAAABull), ffGeneral, 18, 0)},
        TextCase{"ExtendedTenth18", u"0.1", FloatToStrF(Ext(false, 16379, 0xCCCCCCCCCCCCCCCDull), ffGeneral, 18, 0)},
        TextCase{"PrecisionAbove18Is18", u"0.333333333333333333",
                 FloatToStrF(Ext(false, 16381, 0xAAAAAAAAAAAAAAABull), ffGeneral, 25, 0)},
        TextCase{"ExtendedMax", u"1.18973149535723177E4932", FloatToStrF(Ext(false, 0x7FFE, ~0ull), ffGeneral, 18, 0)},
        TextCase{"ExtendedMinNormal", u"3.36210314311209351E-4932",
                 FloatToStrF(Ext(false, 1, 1ull << 63), ffGeneral, 18, 0)},
        TextCase{"ExtendedMinDenormal", u"3.64519953188247460E-4951", FloatToStrF(Ext(false, 0, 1), ffExponent, 18, 0)},
        TextCase{"DoubleMax", u"1.79769313486232E308", FloatToStr(DBL_MAX)},
        TextCase{"DoubleMinDenormal", u"4.94065645841247E-324", FloatToStr(DBL_TRUE_MIN)},
        TextCase{"ExponentDigitsMinimum", u"1E020", FloatToStrF(1e20, ffGeneral, 15, 3)},
        TextCase{"DecimalSeparatorFromSettings", u"1,5", FloatToStr(1.5, Comma())},
        TextCase{"NaN", u"NAN", FloatToStr(kNaN)}, TextCase{"Infinity", u"INF", FloatToStr(kInf)},
        TextCase{"NegativeInfinity", u"-INF", FloatToStrF(-kInf, ffFixed, 15, 2)}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Formats, FloatTexts,
    testing::Values(
        TextCase{"ExponentDefault", u"1.00000000000000E+003", FloatToStrF(1000.0, ffExponent, 15, 3)},
        TextCase{"ExponentRounds", u"1.235E+04", FloatToStrF(12345.678, ffExponent, 4, 2)},
        TextCase{"ExponentOneDigit", u"-1E+4", FloatToStrF(-12345.678, ffExponent, 1, 0)},
        TextCase{"ExponentZero", u"0.000E+00", FloatToStrF(0.0, ffExponent, 4, 2)},
        TextCase{"ExponentNegative", u"1.5E-0007", FloatToStrF(1.5e-7, ffExponent, 2, 4)},
        TextCase{"FixedPadsDecimals", u"3.10", FloatToStrF(3.1, ffFixed, 15, 2)},
        TextCase{"FixedNoDecimals", u"3", FloatToStrF(3.1, ffFixed, 15, 0)},
        TextCase{"FixedTieAwayFromZero", u"-0.13", FloatToStrF(-0.125, ffFixed, 15, 2)},
        TextCase{"FixedBelowHalfInBinary", u"1.00", FloatToStrF(1.005, ffFixed, 15, 2)},
        TextCase{"FixedRoundsAwayToZero", u"0.00", FloatToStrF(-0.001, ffFixed, 15, 2)},
        TextCase{"FixedPrecisionLimitsDigits", u"123456.800", FloatToStrF(123456.789, ffFixed, 7, 3)},
        TextCase{"FixedTooManyIntegerDigits", u"1.2346E8", FloatToStrF(123456789.0, ffFixed, 5, 2)},
        TextCase{"FixedFormFileDouble", u"1.500000000000000000", FloatToStrF(1.5, ffFixed, 16, 18, Dot())},
        TextCase{"FixedFormFileThird", u"0.333333333333333300", FloatToStrF(1.0 / 3, ffFixed, 16, 18, Dot())},
        TextCase{"FixedFormFileNegative", u"-0.100000000000000000", FloatToStrF(-0.1, ffFixed, 16, 18, Dot())},
        TextCase{"FixedFormFileLarge", u"1E20", FloatToStrF(1e20, ffFixed, 16, 18, Dot())},
        TextCase{"FixedFormFileSixteenDigits", u"1234567890123456.000000000000000000",
                 FloatToStrF(1234567890123456.0, ffFixed, 16, 18, Dot())},
        TextCase{"NumberGroups", u"1,234,567.89", FloatToStrF(1234567.891, ffNumber, 15, 2)},
        TextCase{"NumberNegative", u"-1,000", FloatToStrF(-1000.0, ffNumber, 15, 0)},
        TextCase{"NumberSmall", u"999.50", FloatToStrF(999.5, ffNumber, 15, 2)},
        TextCase{"NumberOtherSeparators", u"1.234.567,9", FloatToStrF(1234567.891, ffNumber, 15, 1, Comma())},
        TextCase{"NumberInvariantHasNoGroups", u"1234567.89", FloatToStrF(1234567.891, ffNumber, 15, 2, Dot())},
        TextCase{"CurrencyDefault", u"$1,234.50", FloatToStrF(1234.5, ffCurrency, 15, 2)},
        TextCase{"CurrencyNegativeDefault", u"($1,234.50)", FloatToStrF(-1234.5, ffCurrency, 15, 2)},
        TextCase{
            "CurrencyOtherPatterns", u"1.234,50 EUR|-1.234,50 EUR",
            FloatToStrF(1234.5, ffCurrency, 15, 2, Comma()) + u"|" + FloatToStrF(-1234.5, ffCurrency, 15, 2, Comma())}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Masks, FloatTexts,
    testing::Values(TextCase{"Grouped", u"1,234,567.89", FormatFloat(u"#,##0.00", 1234567.891)},
                    TextCase{"GroupedZero", u"0.00", FormatFloat(u"#,##0.00", 0)},
                    TextCase{"GroupedNegative", u"-1,234", FormatFloat(u"#,##0", -1234.4)},
                    TextCase{"OptionalDecimals", u"1.5", FormatFloat(u"0.##", 1.5)},
                    TextCase{"OptionalDecimalsNone", u"2", FormatFloat(u"0.##", 2)},
                    TextCase{"NoIntegerZero", u".5", FormatFloat(u"#.##", 0.5)},
                    TextCase{"HashOnlyZero", u"", FormatFloat(u"#", 0)},
                    TextCase{"LeadingZeros", u"005", FormatFloat(u"000", 5)},
                    TextCase{"ExtraIntegerDigits", u"12345.0", FormatFloat(u"0.0", 12345)},
                    TextCase{"Interleaved", u"12-34", FormatFloat(u"00-00", 1234)},
                    TextCase{"RoundsToInteger", u"3", FormatFloat(u"0", 2.5)},
                    TextCase{"Scientific", u"1.23E+03", FormatFloat(u"0.00E+00", 1234.5)},
                    TextCase{"ScientificMinusOnly", u"1.2E3 1.2E-3",
                             FormatFloat(u"0.0E-0", 1234.5) + u" " + FormatFloat(u"0.0E-0", 0.0012)},
                    TextCase{"ScientificTwoIntegerDigits", u"12.3E+02", FormatFloat(u"00.0E+00", 1234.5)},
                    TextCase{"QuotedText", u"$1,234.50 total", FormatFloat(u"\"$\"#,##0.00' total'", 1234.5)},
                    TextCase{"NegativeSectionNoMinus", u"(5.00)", FormatFloat(u"0.00;(0.00);'zero'", -5)},
                    TextCase{"ZeroSection", u"zero", FormatFloat(u"0.00;(0.00);'zero'", 0)},
                    TextCase{"RoundedToZeroUsesZeroSection", u"zero", FormatFloat(u"0.00;(0.00);'zero'", -0.001)},
                    TextCase{"EmptyNegativeSectionUsesFirst", u"-5.0", FormatFloat(u"0.0;;z", -5)},
                    TextCase{"SemicolonInQuotes", u"a;1", FormatFloat(u"'a;'0", 1)},
                    TextCase{"EmptyMaskIsGeneral", u"1.5", FormatFloat(u"", 1.5)},
                    TextCase{"BeyondFixedRangeIsGeneral", u"1E25", FormatFloat(u"0", 1e25)},
                    TextCase{"MaskSeparatorsFromSettings", u"1.234,5", FormatFloat(u"#,##0.0", 1234.5, Comma())},
                    TextCase{"MaskNaN", u"NAN", FormatFloat(u"0.00", kNaN)}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

// The platform's documented table of masks against 1234, -1234, 0.5 and 0.
struct MaskRow {
  const char16_t* mask;
  const char16_t* results[4];
};

class MaskTable : public testing::TestWithParam<MaskRow> {};

TEST_P(MaskTable, MatchesTheDocumentedResults) {
  const long double values[4] = {1234, -1234, 0.5, 0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(StringToUTF8(FormatFloat(GetParam().mask, values[i])), StringToUTF8(GetParam().results[i]))
        << StringToUTF8(GetParam().mask) << " with " << static_cast<double>(values[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Documented, MaskTable,
    testing::Values(MaskRow{u"", {u"1234", u"-1234", u"0.5", u"0"}}, MaskRow{u"0", {u"1234", u"-1234", u"1", u"0"}},
                    MaskRow{u"0.00", {u"1234.00", u"-1234.00", u"0.50", u"0.00"}},
                    MaskRow{u"#.##", {u"1234", u"-1234", u".5", u""}},
                    MaskRow{u"#,##0.00", {u"1,234.00", u"-1,234.00", u"0.50", u"0.00"}},
                    MaskRow{u"#,##0.00;(#,##0.00)", {u"1,234.00", u"(1,234.00)", u"0.50", u"0.00"}},
                    MaskRow{u"#,##0.00;;Zero", {u"1,234.00", u"-1,234.00", u"0.50", u"Zero"}},
                    MaskRow{u"0.000E+00", {u"1.234E+03", u"-1.234E+03", u"5.000E-01", u"0.000E+00"}},
                    MaskRow{u"#.###E-0", {u"1.234E3", u"-1.234E3", u"5E-1", u"0E0"}}));

TEST(FloatToDecimal, GivesDigitsExponentAndSign) {
  TFloatRec rec;
  FloatToDecimal(rec, -1234.5678, 6, 9999);
  EXPECT_STREQ(rec.Digits, "123457");
  EXPECT_EQ(rec.Exponent, 4);
  EXPECT_TRUE(rec.Negative);
  FloatToDecimal(rec, 0.0, 15, 9999);
  EXPECT_STREQ(rec.Digits, "");
  EXPECT_EQ(rec.Exponent, 0);
  FloatToDecimal(rec, kInf, 15, 9999);
  EXPECT_EQ(rec.Exponent, 0x7FFF);
  FloatToDecimal(rec, kNaN, 15, 9999);
  EXPECT_EQ(static_cast<Word>(rec.Exponent), 0x8000);
  FloatToDecimal(rec, 9.5, 15, 0);
  EXPECT_STREQ(rec.Digits, "1");
  EXPECT_EQ(rec.Exponent, 2);
}

// Parsing: exact bytes of the result, so each case says which neighbour
// a correctly rounded conversion picks.
struct ParseCase {
  const char16_t* text;
  bool valid;
  bool negative;
  int biasedExponent;
  UInt64 significand;
};

class FloatParsing : public testing::TestWithParam<ParseCase> {};

TEST_P(FloatParsing, RoundsCorrectlyToExtended) {
  const ParseCase& c = GetParam();
  Extended80 value;
  ASSERT_EQ(TryStrToExtended80(c.text, value, Dot()), c.valid);
  if (c.valid) {
    EXPECT_EQ(value, Extended80::FromParts(c.negative, c.biasedExponent, c.significand));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FloatParsing,
    testing::Values(
        ParseCase{u"1", true, false, 16383, 1ull << 63}, ParseCase{u" -1.5 ", true, true, 16383, 3ull << 62},
        ParseCase{u"+.5", true, false, 16382, 1ull << 63}, ParseCase{u"2.", true, false, 16384, 1ull << 63},
        ParseCase{u"0.1", true, false, 16379, 0xCCCCCCCCCCCCCCCDull},
        ParseCase{u"1e3", true, false, 16392, 0xFA00000000000000ull},
        ParseCase{u"1E+3", true, false, 16392, 0xFA00000000000000ull}, ParseCase{u"-0", true, true, 0, 0},
        ParseCase{u"0e999999999999", true, false, 0, 0}, ParseCase{u"000.000", true, false, 0, 0},
        // 2^64 + 2^0: the tie between 2^64 and 2^64 + 2 goes to even.
        ParseCase{u"18446744073709551617", true, false, 16383 + 64, 1ull << 63},
        ParseCase{u"18446744073709551619", true, false, 16383 + 64, (1ull << 63) | 2},
        ParseCase{u"18446744073709551617.000000000000000000000000000000001", true, false, 16383 + 64, (1ull << 63) | 1},
        ParseCase{u"1.18973149535723176502e4932", true, false, 0x7FFE, ~0ull},
        ParseCase{u"1.18973149535723176509e4932", false, false, 0, 0},
        ParseCase{u"3.6451995318824746025e-4951", true, false, 0, 1},
        ParseCase{u"1.8225997659412373012e-4951", true, false, 0, 0},
        ParseCase{u"1.8225997659412373013e-4951", true, false, 0, 1}, ParseCase{u"1e-5000", true, false, 0, 0},
        ParseCase{u"1e5000", false, false, 0, 0}, ParseCase{u"INF", true, false, 0x7FFF, 1ull << 63},
        ParseCase{u" -inf ", true, true, 0x7FFF, 1ull << 63}, ParseCase{u"NaN", true, false, 0x7FFF, 3ull << 62},
        ParseCase{u"", false, false, 0, 0}, ParseCase{u" ", false, false, 0, 0}, ParseCase{u".", false, false, 0, 0},
        ParseCase{u"-", false, false, 0, 0}, ParseCase{u"1e", false, false, 0, 0},
        ParseCase{u"1e+", false, false, 0, 0}, ParseCase{u"1.2.3", false, false, 0, 0},
        ParseCase{u"1,5", false, false, 0, 0}, ParseCase{u"1 000", false, false, 0, 0},
        ParseCase{u"$10", false, false, 0, 0}, ParseCase{u"1.5x", false, false, 0, 0},
        ParseCase{u"infinity", false, false, 0, 0}, ParseCase{u"\t1", false, false, 0, 0}));

TEST(FloatParsing, RoundsCorrectlyToDoubleAndSingle) {
  double d = 0;
  ASSERT_TRUE(TryStrToFloat(u"2.2250738585072011e-308", d, Dot()));
  EXPECT_EQ(d, 2.2250738585072009e-308);  // the largest denormal
  ASSERT_TRUE(TryStrToFloat(u"2.4703282292062328e-324", d, Dot()));
  EXPECT_EQ(d, DBL_TRUE_MIN);
  ASSERT_TRUE(TryStrToFloat(u"2.4703282292062327e-324", d, Dot()));
  EXPECT_EQ(d, 0.0);
  // Double rounding through 64 bits would give 1 + 2^-52 here.
  ASSERT_TRUE(TryStrToFloat(u"1.00000000000000011102230246251565404236316680908203126", d, Dot()));
  EXPECT_EQ(d, 1.0000000000000002);
  ASSERT_TRUE(TryStrToFloat(u"1.7976931348623157e308", d, Dot()));
  EXPECT_EQ(d, DBL_MAX);
  EXPECT_FALSE(TryStrToFloat(u"1.7976931348623159e308", d, Dot()));
  float f = 0;
  ASSERT_TRUE(TryStrToFloat(u"0.1", f, Dot()));
  EXPECT_EQ(f, 0.1f);
  EXPECT_FALSE(TryStrToFloat(u"3.5e38", f, Dot()));
  ASSERT_TRUE(TryStrToFloat(u"1.4e-45", f, Dot()));
  EXPECT_EQ(f, FLT_TRUE_MIN);
}

TEST(FloatParsing, DigitsBeyondTheExactLimitStillRound) {
  // 1 + 2^-64 (a tie at 64 bits) followed by a long run of zeros and a 1.
  String text = u"1.0000000000000000000542101086242752217003726400434970855712890625";
  Extended80 tie;
  ASSERT_TRUE(TryStrToExtended80(text, tie, Dot()));
  EXPECT_EQ(tie, Extended80::FromParts(false, 16383, 1ull << 63));
  text.append(20000, u'0');
  text.push_back(u'1');
  Extended80 above;
  ASSERT_TRUE(TryStrToExtended80(text, above, Dot()));
  EXPECT_EQ(above, Extended80::FromParts(false, 16383, (1ull << 63) | 1));
}

TEST(StrToFloat, RaisesConvertErrorAndHonoursSettings) {
  try {
    StrToFloat(u"1.5x");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(StringToUTF8(e.Message()), "'1.5x' is not a valid floating point value");
  }
  EXPECT_EQ(StrToFloat(u"1,5", Comma()), 1.5L);
  EXPECT_THROW(StrToFloat(u"1.5", Comma()), EConvertError);
  EXPECT_EQ(StrToFloatDef(u"x", 7.0L), 7.0L);
  EXPECT_EQ(StrToFloat(u"-2.5e-1"), -0.25L);
}

// Every double survives 17 significant digits and the way back.
TEST(FloatText, DoublesRoundTripThroughSeventeenDigits) {
  UInt64 state = 0x9E3779B97F4A7C15ull;
  for (int i = 0; i < 3000; ++i) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    const double value = std::bit_cast<double>(state);
    if (value != value || value - value != 0) continue;
    const String text = FloatToStrF(value, ffExponent, 17, 0, Dot());
    double back = 0;
    ASSERT_TRUE(TryStrToFloat(text, back, Dot())) << StringToUTF8(text);
    EXPECT_EQ(std::bit_cast<UInt64>(back), std::bit_cast<UInt64>(value)) << StringToUTF8(text);
  }
}

}  // namespace
