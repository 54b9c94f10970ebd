#include "rtl/extended.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "rtl/floattext.h"
#include "rtl/unicode.h"

namespace {

constexpr UInt64 kTop = 1ull << 63;
constexpr int kBias = 16383;

Extended80 X(bool negative, int biased, UInt64 significand) {
  return Extended80::FromParts(negative, biased, significand);
}

TEST(Extended80, KeepsTheTenLittleEndianBytes) {
  const Byte raw[10] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0xFF, 0xBF};
  const Extended80 value = Extended80::FromBytes(raw);
  EXPECT_TRUE(value.Negative());
  EXPECT_EQ(value.BiasedExponent(), 0x3FFF);
  EXPECT_EQ(value.Significand(), 0xEFCDAB8967452301ull);
  EXPECT_EQ(value, X(true, 0x3FFF, 0xEFCDAB8967452301ull));
  // 1.0 as the platform streams it.
  const Extended80 one = Extended80::FromDouble(1.0);
  const std::array<Byte, 10> expected{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
  EXPECT_EQ(one.bytes, expected);
}

struct ToDoubleCase {
  const char* name;
  Extended80 value;
  UInt64 doubleBits;  // 0x7FF8... stands for any NaN
};

void PrintTo(const ToDoubleCase& c, std::ostream* os) {
  *os << c.name;
}

class ExtendedToDouble : public testing::TestWithParam<ToDoubleCase> {};

TEST_P(ExtendedToDouble, RoundsToNearestEven) {
  const ToDoubleCase& c = GetParam();
  const double soft = extended_detail::SoftwareToDouble(c.value);
  const double viaType = c.value.ToDouble();
  if (c.doubleBits == 0x7FF8000000000000ull) {
    EXPECT_TRUE(std::isnan(soft));
    EXPECT_TRUE(std::isnan(viaType));
  } else {
    EXPECT_EQ(std::bit_cast<UInt64>(soft), c.doubleBits);
    EXPECT_EQ(std::bit_cast<UInt64>(viaType), c.doubleBits);
  }
  if constexpr (std::numeric_limits<long double>::digits == 64) {
    // The processor agrees.
    const volatile long double hardware = c.value.ToLongDouble();
    const double converted = static_cast<double>(hardware);
    if (std::isnan(soft)) {
      EXPECT_TRUE(std::isnan(converted));
    } else {
      EXPECT_EQ(std::bit_cast<UInt64>(converted), std::bit_cast<UInt64>(soft));
    }
  }
}

constexpr UInt64 kAnyNaN = 0x7FF8000000000000ull;

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtendedToDouble,
    testing::Values(ToDoubleCase{"One", X(false, kBias, kTop), 0x3FF0000000000000ull},
                    ToDoubleCase{"NegativeZero", X(true, 0, 0), 0x8000000000000000ull},
                    ToDoubleCase{"Infinity", X(false, 0x7FFF, kTop), 0x7FF0000000000000ull},
                    ToDoubleCase{"NegativeInfinity", X(true, 0x7FFF, kTop), 0xFFF0000000000000ull},
                    ToDoubleCase{"QuietNaN", X(false, 0x7FFF, 3ull << 62), kAnyNaN},
                    ToDoubleCase{"SignallingNaN", X(false, 0x7FFF, kTop | 1), kAnyNaN},
                    ToDoubleCase{"PseudoInfinity", X(false, 0x7FFF, 0), kAnyNaN},
                    ToDoubleCase{"PseudoNaN", X(false, 0x7FFF, 1), kAnyNaN},
                    ToDoubleCase{"Unnormal", X(false, kBias, 1ull << 62), kAnyNaN},
                    ToDoubleCase{"PseudoDenormalUnderflows", X(false, 0, kTop), 0},
                    ToDoubleCase{"TieToEvenDown", X(false, kBias, kTop | 0x400), 0x3FF0000000000000ull},
                    ToDoubleCase{"TieToEvenUp", X(false, kBias, kTop | 0xC00), 0x3FF0000000000002ull},
                    ToDoubleCase{"AboveTie", X(false, kBias, kTop | 0x401), 0x3FF0000000000001ull},
                    ToDoubleCase{"BelowTie", X(true, kBias, kTop | 0x3FF), 0xBFF0000000000000ull},
                    ToDoubleCase{"CarryIntoExponent", X(false, kBias, ~0ull), 0x4000000000000000ull},
                    ToDoubleCase{"DoubleMax", X(false, kBias + 1023, 0xFFFFFFFFFFFFF800ull), 0x7FEFFFFFFFFFFFFFull},
                    ToDoubleCase{"BelowOverflowTie", X(false, kBias + 1023, 0xFFFFFFFFFFFFFBFFull),
                                 0x7FEFFFFFFFFFFFFFull},
                    ToDoubleCase{"OverflowTie", X(false, kBias + 1023, 0xFFFFFFFFFFFFFC00ull), 0x7FF0000000000000ull},
                    ToDoubleCase{"ExtendedMax", X(true, 0x7FFE, ~0ull), 0xFFF0000000000000ull},
                    ToDoubleCase{"SmallestNormal", X(false, kBias - 1022, kTop), 0x0010000000000000ull},
                    ToDoubleCase{"RoundsUpToSmallestNormal", X(false, kBias - 1023, ~0ull), 0x0010000000000000ull},
                    ToDoubleCase{"Denormal", X(false, kBias - 1023, kTop), 0x0008000000000000ull},
                    ToDoubleCase{"SmallestDenormal", X(false, kBias - 1074, kTop), 1},
                    ToDoubleCase{"HalfSmallestDenormalTiesToZero", X(false, kBias - 1075, kTop), 0},
                    ToDoubleCase{"AboveHalfSmallestDenormal", X(false, kBias - 1075, kTop | 1), 1},
                    ToDoubleCase{"DenormalTieToEven", X(false, kBias - 1074, 3ull << 62), 2},
                    ToDoubleCase{"FarBelow", X(true, 1, kTop), 0x8000000000000000ull},
                    ToDoubleCase{"ExtendedDenormal", X(false, 0, 1), 0}),
    [](const testing::TestParamInfo<ToDoubleCase>& info) { return std::string(info.param.name); });

TEST(Extended80, HoldsEveryDoubleExactly) {
  const double values[] = {0.0,
                           -0.0,
                           1.0,
                           -2.5,
                           0.1,
                           1e308,
                           std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::min(),
                           std::numeric_limits<double>::denorm_min(),
                           std::bit_cast<double>(0x000FFFFFFFFFFFFFull),
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity()};
  for (const double value : values) {
    const Extended80 extended = extended_detail::SoftwareFromDouble(value);
    EXPECT_EQ(std::bit_cast<UInt64>(extended.ToDouble()), std::bit_cast<UInt64>(value)) << value;
    EXPECT_EQ(extended, Extended80::FromDouble(value));
    if constexpr (std::numeric_limits<long double>::digits == 64) {
      EXPECT_EQ(extended, Extended80::FromLongDouble(static_cast<long double>(value))) << value;
    }
  }
  EXPECT_EQ(Extended80::FromDouble(std::numeric_limits<double>::denorm_min()), X(false, kBias - 1074, kTop));
  EXPECT_EQ(Extended80::FromDouble(-0.0), X(true, 0, 0));
  const Extended80 nan = Extended80::FromDouble(std::bit_cast<double>(0x7FF4000000000123ull));
  EXPECT_TRUE(nan.IsNaN());
  EXPECT_EQ(nan.Significand(), kTop | (0x4000000000123ull << 11));
}

TEST(Extended80, LongDoubleRoundTripKeepsEveryPattern) {
  const Extended80 patterns[] = {X(false, kBias, kTop),
                                 X(true, 0, 0),
                                 X(false, 0, 1),
                                 X(false, 0, kTop),
                                 X(false, 0x7FFE, ~0ull),
                                 X(true, 0x7FFF, kTop),
                                 X(false, 0x7FFF, 3ull << 62),
                                 X(false, 1, kTop)};
  for (const Extended80& pattern : patterns) {
    if constexpr (std::numeric_limits<long double>::digits == 64) {
      EXPECT_EQ(Extended80::FromLongDouble(pattern.ToLongDouble()), pattern);
    } else {
      // Where long double is narrower the value goes through a double.
      const double expected = pattern.ToDouble();
      const double actual = static_cast<double>(pattern.ToLongDouble());
      EXPECT_TRUE(std::bit_cast<UInt64>(expected) == std::bit_cast<UInt64>(actual) || std::isnan(expected));
    }
  }
}

TEST(Extended80, ClassifiesTheEncodings) {
  EXPECT_TRUE(X(true, 0, 0).IsZero());
  EXPECT_FALSE(X(false, 0, 1).IsZero());
  EXPECT_TRUE(X(false, 0x7FFF, kTop).IsInfinity());
  EXPECT_FALSE(X(false, 0x7FFF, kTop).IsNaN());
  EXPECT_TRUE(X(false, 0x7FFF, 0).IsNaN());
  EXPECT_TRUE(X(false, 100, 5).IsNaN());
  EXPECT_FALSE(X(false, 0, 5).IsNaN());
}

TEST(Extended80, WritesEveryEncodingAsText) {
  const TFormatSettings& dot = InvariantFormatSettings();
  EXPECT_EQ(FloatToStrF(X(false, kBias, kTop), ffGeneral, 18, 0, dot), u"1");
  EXPECT_EQ(FloatToStrF(X(false, kBias, 1ull << 62), ffGeneral, 18, 0, dot), u"NAN");
  EXPECT_EQ(FloatToStrF(X(true, 0x7FFF, kTop), ffGeneral, 18, 0, dot), u"-INF");
  EXPECT_EQ(FloatToStrF(X(true, 0, 0), ffFixed, 16, 18, dot), u"0.000000000000000000");
  // A pseudo-denormal means what the processor makes of it: 2^-16382.
  EXPECT_EQ(FloatToStrF(X(false, 0, kTop), ffGeneral, 18, 0, dot),
            FloatToStrF(X(false, 1, kTop), ffGeneral, 18, 0, dot));
  EXPECT_EQ(FloatToStrF(X(false, 0, 1), ffGeneral, 5, 0, dot), u"3.6452E-4951");
}

}  // namespace
