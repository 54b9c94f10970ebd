#include "rtl/format.h"

#include <gtest/gtest.h>

#include <limits>

#include "rtl/exceptions.h"
#include "rtl/unicode.h"

namespace {

struct FormatCase {
  const char* name;
  String expected;
  String actual;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
  *os << c.name;
}

class FormatResults : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatResults, MatchThePlatform) {
  EXPECT_EQ(StringToUTF8(GetParam().actual), StringToUTF8(GetParam().expected));
}

const int kSeven = 7;

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatResults,
    testing::Values(
        FormatCase{"FixedWidthPrecision", u"   3.142", Format(u"%8.3f", {3.14159})},
        FormatCase{"LeftAligned", u"42   |", Format(u"%-5d|", {42})},
        FormatCase{"IntegerPrecisionPadsZeros", u"007", Format(u"%.3d", {kSeven})},
        FormatCase{"NegativeIntegerPrecision", u"-007", Format(u"%.3d", {-7})},
        FormatCase{"Indexes", u"b a", Format(u"%1:s %0:s", {u"a", u"b"})},
        FormatCase{"IndexThenContinues", u"b c a", Format(u"%1:s %s %0:s", {u"a", u"b", u"c"})},
        FormatCase{"StarWidthAndPrecision", u"  1.50", Format(u"%*.*f", {6, 2, 1.5})},
        FormatCase{"StarLeft", u"ab   |", Format(u"%-*s|", {5, u"ab"})},
        FormatCase{"NegativeStarWidthIsNone", u"5|", Format(u"%*d|", {-3, 5})},
        FormatCase{"IndexThenLeftAligned", u"b    |", Format(u"%1:-5s|", {u"a", u"b"})},
        FormatCase{"Percent", u"100%", Format(u"%d%%", {100})},
        FormatCase{"StringPrecisionTruncates", u"abc", Format(u"%.3s", {u"abcdef"})},
        FormatCase{"Utf8Argument", u"\u00E9t\u00E9", Format(u"%s", {"\xC3\xA9t\xC3\xA9"})},
        FormatCase{"StringArgument", u"x=abc", Format(u"x=%s", {String(u"abc")})},
        FormatCase{"CharArgument", u"[Q]", Format(u"[%s]", {u'Q'})},
        FormatCase{"HexOfNegativeInteger", u"FFFFFFFF", Format(u"%x", {-1})},
        FormatCase{"HexOfNegativeInt64", u"FFFFFFFFFFFFFFFF", Format(u"%x", {Int64{-1}})},
        FormatCase{"HexUpperAnyCase", u"0x00FF 0xABCDEF12", Format(u"0x%4.4x 0x%8.8X", {255, 0xABCDEF12u})},
        FormatCase{"UnsignedOfNegativeInteger", u"4294967295", Format(u"%u", {-1})},
        FormatCase{"Int64Extremes", u"-9223372036854775808 18446744073709551615",
                   Format(u"%d %u", {std::numeric_limits<Int64>::min(), std::numeric_limits<UInt64>::max()})},
        FormatCase{"ExponentDefault", u"1.00000000000000E+003", Format(u"%e", {1000.0})},
        FormatCase{"ExponentPrecision", u"-1.23E-005", Format(u"%.3e", {-0.0000123456})},
        FormatCase{"FixedDefault", u"2.50", Format(u"%f", {2.5})},
        FormatCase{"FixedRoundsHalfAway", u"0.13 -0.13 1 3", Format(u"%.2f %.2f %.0f %.0f", {0.125, -0.125, 0.5, 2.5})},
        FormatCase{"FixedBinaryBelowHalf", u"2.67", Format(u"%.2f", {2.675})},
        FormatCase{"GeneralDefault", u"0.1 1234.5", Format(u"%g %g", {0.1, 1234.5})},
        FormatCase{"NumberGroups", u"1,234,567.89", Format(u"%n", {1234567.891})},
        FormatCase{"Money", u"$1,234.50 ($2.00)", Format(u"%m %m", {1234.5, -2.0})},
        FormatCase{"CurrencyArgument", u"1.50 $1.50",
                   Format(u"%f %m", {Currency::FromScaled(15000), Currency::FromScaled(15000)})},
        FormatCase{"SingleArgument", u"0.100000001490116", Format(u"%g", {0.1f})},
        FormatCase{
            "NanAndInfinity", u"NAN INF -INF",
            Format(u"%f %e %g", {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity()})},
        FormatCase{"PaddedField", u"[  abc][abc  ]", Format(u"[%5s][%-5s]", {u"abc", u"abc"})},
        FormatCase{"Pointer", u"00000000000000FF", Format(u"%p", {reinterpret_cast<const void*>(std::uintptr_t{255})})},
        FormatCase{"CharType", u"A\U0001F600", Format(u"%c%c", {u'A', 0x1F600})},
        FormatCase{"ObjectCount", u"Object count: 12", Format(u"Object count: %d", {12})},
        FormatCase{"ListingLine", u"Size of image=4096 B", Format(u"%s=%d B", {u"Size of image", 4096})}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

struct FormatError {
  const char16_t* format;
  const char16_t* message;
};

class FormatErrors : public testing::TestWithParam<FormatError> {};

TEST_P(FormatErrors, RaiseConvertErrorWithThePlatformText) {
  try {
    Format(GetParam().format, {42, u"text"});
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(StringToUTF8(e.Message()), StringToUTF8(GetParam().message));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatErrors,
    testing::Values(FormatError{u"%s", u"Format '%s' invalid or incompatible with argument"},
                    FormatError{u"%d %d", u"Format '%d %d' invalid or incompatible with argument"},
                    FormatError{u"%f", u"Format '%f' invalid or incompatible with argument"},
                    FormatError{u"%d %s %d", u"No argument for format '%d %s %d'"},
                    FormatError{u"%k", u"Format '%k' invalid or incompatible with argument"},
                    FormatError{u"abc%", u"Format 'abc%' invalid or incompatible with argument"},
                    FormatError{u"%5", u"Format '%5' invalid or incompatible with argument"},
                    FormatError{u"%d and a long tail of text that goes on %x",
                                u"Format '%d and a long tail of text that' invalid or incompatible with argument"}));

TEST(Format, UsesTheGivenSettings) {
  TFormatSettings settings;
  settings.DecimalSeparator = u',';
  settings.ThousandSeparator = u'.';
  EXPECT_EQ(Format(u"%.2f|%n", {1.5, 1234567.0}, settings), u"1,50|1.234.567,00");
  EXPECT_EQ(Format(u"%.1f", {1.5}, InvariantFormatSettings()), u"1.5");
}

TEST(Format, ArgumentsCopyOwnTheirText) {
  const TVarRec original("abc");
  const TVarRec copy = original;
  EXPECT_EQ(copy.AsText(), u"abc");
  EXPECT_NE(copy.AsText().data(), original.AsText().data());
}

}  // namespace
