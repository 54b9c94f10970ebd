#include "services/utilbase.h"

#include <gtest/gtest.h>

#include "rtl/stringlist.h"

namespace {

// ---- Text replacing --------------------------------------------------------

struct ReplaceCase {
  const char* name;
  String text;
  String search;
  String replace;
  TUtReplaceFlags flags;
  String expected;
};

class TextReplaceTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(TextReplaceTest, Replaces) {
  const ReplaceCase& c = GetParam();
  String s = c.text;
  TextReplace(s, c.search, c.replace, c.flags);
  EXPECT_EQ(s, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextReplaceTest,
    ::testing::Values(ReplaceCase{"AllIgnoringCase", u"aXbXc", u"x", u"y", utReplaceAll | utIgnoreCase, u"aybyc"},
                      ReplaceCase{"FirstIgnoringCase", u"aXbXc", u"x", u"y", utIgnoreCase, u"aybXc"},
                      ReplaceCase{"ExactCaseFindsNothing", u"aXbXc", u"x", u"y", utReplaceAll, u"aXbXc"},
                      ReplaceCase{"LongerReplacement", u"a.b.c", u".", u"::", utReplaceAll, u"a::b::c"},
                      ReplaceCase{"MatchAtEnd", u"abcab", u"ab", u"", utReplaceAll, u"c"},
                      ReplaceCase{"NonAsciiCase", u"\u00E9t\u00C9", u"\u00E9", u"e", utReplaceAll | utIgnoreCase,
                                  u"ete"},
                      ReplaceCase{"EmptyTextStays", u"", u"x", u"y", utReplaceAll, u""},
                      ReplaceCase{"EmptyBothGivesReplacement", u"", u"", u"y", 0, u"y"}),
    [](const auto& info) { return info.param.name; });

TEST(TextReplace, BlankSearchInTextRaises) {
  String s = u"abc";
  try {
    TextReplace(s, u"", u"y", utReplaceAll);
    FAIL() << "no exception";
  } catch (const EUtStringError& e) {
    EXPECT_EQ(e.Message(), u"Search string cannot be blank");
  }
  EXPECT_EQ(s, u"abc");
}

// ---- Lines, words, suffixes ---------------------------------------------------

struct LinesCase {
  const char* name;
  String text;
  bool allowEmpty;
  std::vector<String> lines;
};

class TextToLinesTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(TextToLinesTest, Cuts) {
  const LinesCase& c = GetParam();
  TStringList list;
  list.Add(u"old");
  TextToLines(c.text, u",", list, c.allowEmpty);
  EXPECT_EQ(list.ToStringArray(), c.lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextToLinesTest,
                         ::testing::Values(LinesCase{"EmptyLineKept", u"a,,b", true, {u"a", u"", u"b"}},
                                           LinesCase{"EmptyLineDropped", u"a,,b", false, {u"a", u"b"}},
                                           LinesCase{"EmptyTextOneLine", u"", true, {u""}},
                                           LinesCase{"EmptyTextNoLine", u"", false, {}},
                                           LinesCase{"TrailingSeparator", u"a,", true, {u"a", u""}}),
                         [](const auto& info) { return info.param.name; });

TEST(TextHelpers, EnsureSuffix) {
  EXPECT_EQ(TextEnsureSuffix(u"\\", u"a\\"), u"a\\");
  EXPECT_EQ(TextEnsureSuffix(u"\\", u"a"), u"a\\");
  EXPECT_EQ(TextEnsureSuffix(u"\\", u""), u"\\");
}

TEST(TextHelpers, NthWord) {
  EXPECT_EQ(NthWord(2, u"10, 20 30", u" ,"), u"20");
  EXPECT_EQ(NthWordPosition(2, u"10, 20 30", u" ,"), 5);
  EXPECT_EQ(NthWordPosition(4, u"10, 20 30", u" ,"), 0);
  EXPECT_EQ(NthWord(4, u"10, 20 30", u" ,"), u"");
  EXPECT_EQ(NthWord(1, u"  lead", u" "), u"lead");
  // A delimiter beyond the 8-bit range never separates words.
  EXPECT_EQ(NthWord(1, u"a\u2022b", u"\u2022"), u"a\u2022b");
}

TEST(TextHelpers, SearchIgnoringCase) {
  EXPECT_EQ(TextPosNoCase(u"LO", u"Hello"), 4);
  EXPECT_EQ(TextPosNoCase(u"x", u"Hello"), 0);
  EXPECT_EQ(TextPosFrom(u"l", u"Hello", 4), 4);
  EXPECT_EQ(TextPosFrom(u"h", u"Hello", 2), 0);
  EXPECT_EQ(TextPosFrom(u"", u"Hello", 1), 0);
  EXPECT_EQ(TextAfter(u"=", u"Name=Value"), u"Value");
  EXPECT_EQ(TextAfter(u"#", u"Name=Value"), u"");
  EXPECT_EQ(TextBefore(u"VAL", u"Name=Value"), u"Name=");
  EXPECT_EQ(TextBefore(u"#", u"Name=Value"), u"Name=Value");
}

TEST(TextHelpers, CharPositions) {
  EXPECT_EQ(TextCharPosFrom(u"a\\b\\c", u'\\', 1), 2);
  EXPECT_EQ(TextCharPosFrom(u"a\\b\\c", u'\\', 3), 4);
  EXPECT_EQ(TextCharPosFrom(u"a\\b\\c", u'\\', 0), 0);
  EXPECT_EQ(TextCharPosFrom(u"a\\b\\c", u'\\', 6), 0);
  EXPECT_EQ(TextLastCharPos(u"a\\b\\c", u'\\', 1), 4);
  EXPECT_EQ(TextLastCharPos(u"a\\b\\c", u'\\', 5), 0);
  EXPECT_EQ(TextLastCharPos(u"", u'\\', 1), 0);
}

TEST(TextHelpers, CharReplacingAndCutting) {
  String s = u"a/b/c";
  EXPECT_EQ(TextReplaceCharInPlace(s, u'/', u'\\'), 2);
  EXPECT_EQ(s, u"a\\b\\c");
  EXPECT_EQ(TextReplaceCharInPlace(s, u'\\', u'\\'), 0);
  EXPECT_EQ(TextReplaceChar(u"xax", u'x', u'y'), u"yay");
  String zero(u"ab\0cd", 5);
  TextCutAtZero(zero);
  EXPECT_EQ(zero, u"ab");
}

TEST(TextHelpers, CaseMaps) {
  String s = u"aB\u00E9\u00C91";
  MapCase(s, cmSwap);
  EXPECT_EQ(s, u"Ab\u00C9\u00E91");
  EXPECT_EQ(TextUpper(u"a\u00E9"), u"A\u00C9");
  EXPECT_TRUE(IsUpperChar(u'A'));
  EXPECT_FALSE(IsUpperChar(u'1'));
  EXPECT_TRUE(IsLowerChar(u'\u00E9'));
  EXPECT_TRUE(IsHexDigitChar(u'f'));
  EXPECT_TRUE(IsHexDigitChar(u'7'));
  EXPECT_FALSE(IsHexDigitChar(u'g'));
}

TEST(TextHelpers, MidLeftRestAndCopy) {
  EXPECT_EQ(TextLeft(u"abcdef", 2), u"ab");
  EXPECT_EQ(TextMid(u"abcdef", 3, 2), u"cd");
  EXPECT_EQ(TextRestOf(u"abcdef", 5), u"ef");
  String dest = u"xxxxx";
  CopyChars(u"abc", 1, dest, 2, 2);
  EXPECT_EQ(dest, u"xxbcx");
}

TEST(TextHelpers, WideStrPos) {
  const Char* text = u"find the needle";
  EXPECT_EQ(WideStrPos(text, u"needle"), text + 9);
  EXPECT_EQ(WideStrPos(text, u"pin"), nullptr);
  EXPECT_EQ(WideStrPos(text, u""), nullptr);
  EXPECT_EQ(WideStrPos(nullptr, u"a"), nullptr);
}

// ---- Words, bits, rounding -------------------------------------------------

TEST(Rounding, ToGranularity) {
  struct Case {
    Cardinal value;
    bool up;
    Cardinal expected;
  };
  for (const Case& c : {Case{65537, false, 65536}, Case{65537, true, 131072}, Case{65536, false, 65536},
                        Case{65536, true, 65536}, Case{0, true, 0}}) {
    Cardinal value = c.value;
    RoundSizeToGranularity(value, c.up, 65536);
    EXPECT_EQ(value, c.expected) << c.value << (c.up ? " up" : " down");
    Int64 offset = c.value;
    RoundOffsetToGranularity(offset, c.up, 65536);
    EXPECT_EQ(offset, static_cast<Int64>(c.expected));
  }
  Cardinal machine = 1;
  RoundSizeToGranularity(machine, true);
  EXPECT_EQ(machine, SystemInformation().AllocationGranularity);
}

TEST(Words, SplitAndJoin) {
  Cardinal low = 0;
  Integer high = 0;
  SplitInt64(-2, low, high);
  EXPECT_EQ(low, 0xFFFFFFFEu);
  EXPECT_EQ(high, -1);
  Int64 joined = 0;
  JoinInt64(joined, 5, 1);
  EXPECT_EQ(joined, 0x100000005LL);
}

TEST(Bits, SetAndTestAcrossWords) {
  Cardinal buffer[2] = {0, 0};
  SetBufferBit(buffer, 0);
  SetBufferBit(buffer, 33);
  EXPECT_EQ(buffer[0], 1u);
  EXPECT_EQ(buffer[1], 2u);
  EXPECT_TRUE(TestBufferBit(buffer, 33));
  EXPECT_FALSE(TestBufferBit(buffer, 32));
}

TEST(Variants, IntegerKinds) {
  EXPECT_TRUE(VariantIsInteger(Variant(Integer{1})));
  EXPECT_TRUE(VariantIsInteger(Variant(Byte{1})));
  EXPECT_TRUE(VariantIsInteger(Variant(Cardinal{1})));
  EXPECT_FALSE(VariantIsInteger(Variant(Int64{1})));
  EXPECT_FALSE(VariantIsInteger(Variant(true)));
  EXPECT_FALSE(VariantIsInteger(Variant(String(u"1"))));
}

TEST(Exceptions, Win32ErrorCarriesCodeAndText) {
  const EUtWin32Error error(5, u"while writing");
  EXPECT_EQ(error.LastError(), 5u);
  EXPECT_FALSE(error.LastErrorMsg().empty());
  EXPECT_EQ(error.Message(), u"Win32 error: " + error.LastErrorMsg() + u" (5)\r\nwhile writing");
}

}  // namespace
