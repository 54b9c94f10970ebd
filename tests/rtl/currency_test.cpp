#include "rtl/currency.h"

#include <gtest/gtest.h>

#include <limits>

#include "rtl/exceptions.h"
#include "rtl/floattext.h"
#include "rtl/format.h"
#include "rtl/unicode.h"

namespace {

Currency C(Int64 scaled) {
  return Currency::FromScaled(scaled);
}

TEST(Currency, ArithmeticAndComparison) {
  EXPECT_EQ(C(15000) + C(2500), C(17500));
  EXPECT_EQ(C(15000) - C(25000), C(-10000));
  EXPECT_EQ(-C(5), C(-5));
  EXPECT_LT(C(-1), C(0));
  EXPECT_EQ(Currency::FromInteger(3), C(30000));
  EXPECT_DOUBLE_EQ(C(15000).ToDouble(), 1.5);
  EXPECT_THROW(MaxCurrency + C(1), EOverflow);
  EXPECT_THROW(MinCurrency - C(1), EOverflow);
  EXPECT_THROW(Currency::FromInteger(std::numeric_limits<Int64>::max() / 1000), EConvertError);
}

struct FloatToCurrCase {
  long double value;
  bool valid;
  Int64 scaled;
};

class FloatToCurrency : public testing::TestWithParam<FloatToCurrCase> {};

TEST_P(FloatToCurrency, RoundsTiesToEvenAndChecksTheRange) {
  Currency result;
  ASSERT_EQ(TryFloatToCurr(GetParam().value, result), GetParam().valid);
  if (GetParam().valid) {
    EXPECT_EQ(result.Scaled(), GetParam().scaled);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, FloatToCurrency,
                         testing::Values(FloatToCurrCase{1.5L, true, 15000}, FloatToCurrCase{-1.5L, true, -15000},
                                         FloatToCurrCase{0.00005L, true, 0}, FloatToCurrCase{0.00015L, true, 2},
                                         FloatToCurrCase{0.0000500001L, true, 1}, FloatToCurrCase{-0.00025L, true, -2},
                                         FloatToCurrCase{0.0L, true, 0}, FloatToCurrCase{-0.0L, true, 0},
                                         FloatToCurrCase{922337203685477.0L, true, 9223372036854770000LL},
                                         FloatToCurrCase{922337203685478.0L, false, 0},
                                         FloatToCurrCase{-922337203685477.5808L, true,
                                                         std::numeric_limits<Int64>::min()},
                                         FloatToCurrCase{std::numeric_limits<long double>::infinity(), false, 0},
                                         FloatToCurrCase{std::numeric_limits<long double>::quiet_NaN(), false, 0}));

TEST(Currency, FloatToCurrRaisesWithTheValue) {
  try {
    FloatToCurr(1e20L);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(StringToUTF8(e.Message()), "'1E20' is not a valid currency value");
  }
}

struct CurrTextCase {
  const char* name;
  String expected;
  String actual;
};

void PrintTo(const CurrTextCase& c, std::ostream* os) {
  *os << c.name;
}

class CurrencyTexts : public testing::TestWithParam<CurrTextCase> {};

TEST_P(CurrencyTexts, MatchThePlatform) {
  EXPECT_EQ(StringToUTF8(GetParam().actual), StringToUTF8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CurrencyTexts,
    testing::Values(CurrTextCase{"Simple", u"1.5", CurrToStr(C(15000))},
                    CurrTextCase{"Integer", u"-12", CurrToStr(C(-120000))}, CurrTextCase{"Zero", u"0", CurrToStr(C(0))},
                    CurrTextCase{"Max", u"922337203685477.5807", CurrToStr(MaxCurrency)},
                    CurrTextCase{"Min", u"-922337203685477.5808", CurrToStr(MinCurrency)},
                    CurrTextCase{"Fixed", u"1.50", CurrToStrF(C(15000), ffFixed, 2)},
                    CurrTextCase{"FixedTieAway", u"0.13", CurrToStrF(C(1250), ffFixed, 2)},
                    CurrTextCase{"Number", u"-1,234,567.89", CurrToStrF(C(-12345678900), ffNumber, 2)},
                    CurrTextCase{"Currency", u"($1,234.57)", CurrToStrF(C(-12345678), ffCurrency, 2)},
                    CurrTextCase{"Exponent", u"1.234567800000000000E+003", CurrToStrF(C(12345678), ffExponent, 3)},
                    CurrTextCase{"FormatFixed", u"922337203685477.58", Format(u"%f", {MaxCurrency})},
                    CurrTextCase{"FormatMoneyDefaultDecimals", u"$0.01", Format(u"%m", {C(100)})}),
    [](const testing::TestParamInfo<CurrTextCase>& info) { return std::string(info.param.name); });

struct StrToCurrCase {
  const char16_t* text;
  bool valid;
  Int64 scaled;
};

class CurrencyParsing : public testing::TestWithParam<StrToCurrCase> {};

TEST_P(CurrencyParsing, IsExactToFourPlaces) {
  Currency value;
  ASSERT_EQ(TryStrToCurr(GetParam().text, value, InvariantFormatSettings()), GetParam().valid);
  if (GetParam().valid) {
    EXPECT_EQ(value.Scaled(), GetParam().scaled);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CurrencyParsing,
    testing::Values(StrToCurrCase{u"1.5", true, 15000}, StrToCurrCase{u" -0.0001 ", true, -1},
                    StrToCurrCase{u"0.00005", true, 0}, StrToCurrCase{u"0.00015", true, 2},
                    StrToCurrCase{u"0.000050000000000000000001", true, 1}, StrToCurrCase{u"1e3", true, 10000000},
                    StrToCurrCase{u"922337203685477.5807", true, std::numeric_limits<Int64>::max()},
                    StrToCurrCase{u"922337203685477.5808", false, 0},
                    StrToCurrCase{u"-922337203685477.5808", true, std::numeric_limits<Int64>::min()},
                    StrToCurrCase{u"1e-100", true, 0}, StrToCurrCase{u"1e100", false, 0},
                    StrToCurrCase{u"INF", false, 0}, StrToCurrCase{u"1,5", false, 0}, StrToCurrCase{u"", false, 0}));

TEST(Currency, StrToCurrRaisesTheFloatMessage) {
  try {
    StrToCurr(u"abc");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(StringToUTF8(e.Message()), "'abc' is not a valid floating point value");
  }
  EXPECT_EQ(StrToCurrDef(u"abc", C(7)), C(7));
}

}  // namespace
