#include "codeedit/textutils.h"

#include <gtest/gtest.h>

namespace {

struct TabCase {
  const char* name;
  String line;
  Integer tabWidth;
  String expanded;
  bool hasTabs;
};

class TabConverters : public ::testing::TestWithParam<TabCase> {};

TEST_P(TabConverters, ExpandToTabCharactersUpToTheStop) {
  const TabCase& c = GetParam();
  bool hasTabs = !c.hasTabs;
  EXPECT_EQ(SelectTabConverter(c.tabWidth)(c.line, c.tabWidth, hasTabs), c.expanded);
  EXPECT_EQ(hasTabs, c.hasTabs);
  if (c.tabWidth >= 2) {  // both arithmetic variants agree
    EXPECT_EQ(ExpandTabsModulo(c.line, c.tabWidth, hasTabs), c.expanded);
    if (IsPowerOfTwoWidth(c.tabWidth)) {
      EXPECT_EQ(ExpandTabsMasked(c.line, c.tabWidth, hasTabs), c.expanded);
    }
  }
  EXPECT_EQ(ExpandedTextWidth(c.line, std::max(c.tabWidth, 1)), static_cast<Integer>(c.expanded.size()));
}

INSTANTIATE_TEST_SUITE_P(Table, TabConverters,
                         ::testing::Values(TabCase{"Width4", u"a\tb", 4, u"a\t\t\tb", true},
                                           TabCase{"Width1", u"a\tb", 1, u"a b", true},
                                           TabCase{"Width6AtStart", u"\tx", 6, u"\t\t\t\t\t\tx", true},
                                           TabCase{"Width8", u"a\tb", 8, u"a\t\t\t\t\t\t\tb", true},
                                           TabCase{"TwoTabs", u"ab\t\tc", 4, u"ab\t\t\t\t\t\tc", true},
                                           TabCase{"NoTab", u"plain", 4, u"plain", false},
                                           TabCase{"Empty", u"", 8, u"", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TabConverters, PowersOfTwoAreChosenForMasking) {
  EXPECT_EQ(SelectTabConverter(0), &TabsToSingleSpaces);
  EXPECT_EQ(SelectTabConverter(1), &TabsToSingleSpaces);
  EXPECT_EQ(SelectTabConverter(2), &ExpandTabsMasked);
  EXPECT_EQ(SelectTabConverter(65536), &ExpandTabsMasked);
  EXPECT_EQ(SelectTabConverter(6), &ExpandTabsModulo);
  EXPECT_EQ(SelectTabConverter(131072), &ExpandTabsModulo);
}

TEST(Columns, CharIndexToColumnCountsTabsFromTheFirstTab) {
  EXPECT_EQ(CharIndexToColumn(1, 4, u"\ta"), 1);
  EXPECT_EQ(CharIndexToColumn(2, 4, u"\ta"), 5);
  EXPECT_EQ(CharIndexToColumn(3, 4, u"\ta"), 6);
  EXPECT_EQ(CharIndexToColumn(5, 4, u"\ta"), 8);  // past the end: one column each
  EXPECT_EQ(CharIndexToColumn(3, 4, u"abc"), 3);
  EXPECT_EQ(CharIndexToColumn(3, 1, u"\t\t"), 3);
  EXPECT_EQ(CharIndexToColumn(0, 4, u"\t"), 1);
  EXPECT_EQ(ExpandedTextWidth(u"a\tb", 8), 9);
}

TEST(Scans, FindTheFirstPassingCharacterOrZero) {
  const auto isSpace = [](Char c) { return c == u' '; };
  EXPECT_EQ(ScanForward(u"ab cd", 1, isSpace), 3);
  EXPECT_EQ(ScanForward(u"ab cd", 4, isSpace), 0);
  EXPECT_EQ(ScanForward(u"ab cd", 0, isSpace), 0);
  EXPECT_EQ(ScanForward(u"ab cd", 6, isSpace), 0);
  EXPECT_EQ(ScanBackward(u"ab cd", 5, isSpace), 3);
  EXPECT_EQ(ScanBackward(u"ab cd", 2, isSpace), 0);
  EXPECT_EQ(ScanBackward(u"ab cd", 6, isSpace), 0);
  EXPECT_EQ(FindLineEnd(u"ab\rc"), 2);
  EXPECT_EQ(FindLineEnd(StringView(u"a\0b", 3)), 1);
  EXPECT_EQ(FindLineEnd(u"abc"), 3);
}

TEST(Texts, TrimmingAndAffixes) {
  EXPECT_EQ(StripClassNameAffixes(u"TCodeDfmHighlighter"), u"Dfm");
  EXPECT_EQ(StripClassNameAffixes(u"tcodeXMLHIGHLIGHTER"), u"XML");
  EXPECT_EQ(StripClassNameAffixes(u"TPascalHighlighter"), u"Pascal");
  EXPECT_EQ(StripClassNameAffixes(u"Plain"), u"Plain");
  EXPECT_EQ(TrimTrailingBlanks(u" a \t \t"), u" a");
  EXPECT_EQ(TrimTrailingBlanks(u" \t"), u"");
  EXPECT_EQ(TrimControlChars(u"   "), u"");
  EXPECT_EQ(TrimControlChars(u"\r\n a b\t"), u"a b");
  EXPECT_EQ(StringOfWideChar(u'x', 3), u"xxx");
  EXPECT_EQ(StringOfWideChar(u'x', -1), u"");
}

TEST(Arithmetic, ClampsAndOrders) {
  EXPECT_EQ(ClampInt(5, 1, 3), 3);
  EXPECT_EQ(ClampInt(-5, 1, 3), 1);
  EXPECT_EQ(ClampInt(5, 7, 3), 7);  // the high bound first, then the low one
  EXPECT_EQ(CeilDiv(7, 2), 4);
  EXPECT_EQ(CeilDiv(8, 2), 4);
  Integer a = 1, b = 2;
  SwapInts(a, b);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(EarlierCoord({5, 2}, {1, 3}), (TBufferCoord{5, 2}));
  EXPECT_EQ(EarlierCoord({5, 2}, {4, 2}), (TBufferCoord{4, 2}));
}

TEST(CaseMapping, KeepsTheLength) {
  EXPECT_EQ(WideUpperCase(u"Object \u00E9t\u00E9 \u00DF"), u"OBJECT \u00C9T\u00C9 \u00DF");
  EXPECT_EQ(WideLowerCase(u"OBJECT \u00C9T\u00C9 \U0001F600"), u"object \u00E9t\u00E9 \U0001F600");
  EXPECT_EQ(WideCharUpper(u'a'), u'A');
  EXPECT_EQ(WideCharLower(u'\u0416'), u'\u0436');
  String text = u"MiXed";
  WideBufferLower(text.data(), 3);
  EXPECT_EQ(text, u"mixed");
  WideBufferUpper(text.data(), static_cast<Integer>(text.size()));
  EXPECT_EQ(text, u"MIXED");
}

}  // namespace
