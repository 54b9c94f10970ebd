#include "rtl/unicode.h"

#include <gtest/gtest.h>

namespace {

struct Utf8Case {
  const char* name;
  std::string utf8;
  String utf16;
};

class Utf8Decoding : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Decoding, GivesExpectedUnits) {
  EXPECT_EQ(UTF8ToString(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8Decoding,
    ::testing::Values(
        Utf8Case{"Empty", "", u""},
        Utf8Case{"Ascii", "object Form1: TForm1", u"object Form1: TForm1"},
        Utf8Case{"TwoByte", "\xC3\xA9t\xC3\xA9", u"\u00E9t\u00E9"},
        Utf8Case{"ThreeByte", "\xE2\x82\xAC", u"\u20AC"},
        Utf8Case{"FourByteBecomesPair", "\xF0\x9F\x98\x80", u"\U0001F600"},
        Utf8Case{"LoneContinuation", "a\x80z", u"a\uFFFDz"},
        Utf8Case{"OverlongSlash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        Utf8Case{"OverlongThreeByte", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        Utf8Case{"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        Utf8Case{"AboveUnicode", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        Utf8Case{"TruncatedAtEnd", "ab\xE2\x82", u"ab\uFFFD"},
        Utf8Case{"TruncatedThenAscii", "\xF0\x9F\x98z", u"\uFFFDz"},
        Utf8Case{"LongAsciiRun", "0123456789abcdefXYZ", u"0123456789abcdefXYZ"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf16Encoding, RoundTripsEveryValidText) {
  const String text = u"a\u00E9\u20AC\U0001F600\u0000z";
  EXPECT_EQ(UTF8ToString(StringToUTF8(text)), text);
}

TEST(Utf16Encoding, LoneSurrogatesBecomeReplacement) {
  EXPECT_EQ(StringToUTF8(String(u"x") + char16_t(0xD800)), "x\xEF\xBF\xBD");
  EXPECT_EQ(StringToUTF8(String(1, char16_t(0xDC00)) + u"y"), "\xEF\xBF\xBDy");
}

}  // namespace
