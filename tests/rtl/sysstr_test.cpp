#include "rtl/sysstr.h"

#include <gtest/gtest.h>

namespace {

// --- Case ------------------------------------------------------------------

struct CaseCase {
  const char* name;
  String text;
  String upper;
  String lower;
};

class AnsiCase : public ::testing::TestWithParam<CaseCase> {};

TEST_P(AnsiCase, MapsEveryUnitAndKeepsLength) {
  const CaseCase& c = GetParam();
  EXPECT_EQ(AnsiUpperCase(c.text), c.upper);
  EXPECT_EQ(AnsiLowerCase(c.text), c.lower);
  for (std::size_t i = 0; i < c.text.size(); ++i) {
    EXPECT_EQ(CharToUpper(c.text[i]), c.upper[i]) << i;
    EXPECT_EQ(CharToLower(c.text[i]), c.lower[i]) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnsiCase,
    ::testing::Values(
        CaseCase{"Ascii", u"Form1_x9", u"FORM1_X9", u"form1_x9"},
        CaseCase{"Latin1", u"\u00E9\u00C9\u00FF\u0178", u"\u00C9\u00C9\u0178\u0178", u"\u00E9\u00E9\u00FF\u00FF"},
        CaseCase{"SharpSStays", u"stra\u00DFe", u"STRA\u00DFE", u"stra\u00DFe"},
        CaseCase{"CapitalSharpSStays", u"\u1E9E", u"\u1E9E", u"\u1E9E"},
        // Only pairs that map back to each other change: dotless i and
        // capital I with dot keep their case, as the system's tables have it.
        CaseCase{"TurkishI", u"iI\u0131\u0130", u"II\u0131\u0130", u"ii\u0131\u0130"},
        CaseCase{"GreekSigmas", u"\u039F\u03B4\u03CC\u03C2\u03A3\u03C3", u"\u039F\u0394\u038C\u03C2\u03A3\u03A3",
                 u"\u03BF\u03B4\u03CC\u03C2\u03C3\u03C3"},
        CaseCase{"Cyrillic", u"\u0416\u0436", u"\u0416\u0416", u"\u0436\u0436"},
        CaseCase{"TitleCaseDigraphStays", u"\u01C4\u01C5\u01C6", u"\u01C4\u01C5\u01C4", u"\u01C6\u01C5\u01C6"},
        CaseCase{"SignsStay", u"\u00B5\u212A\u2126\u212B\u017F", u"\u00B5\u212A\u2126\u212B\u017F",
                 u"\u00B5\u212A\u2126\u212B\u017F"},
        CaseCase{"IotaSubscript", u"\u1FB3\u1FBC", u"\u1FBC\u1FBC", u"\u1FB3\u1FB3"},
        CaseCase{"LigatureStays", u"\uFB00", u"\uFB00", u"\uFB00"},
        CaseCase{"FullwidthLetters", u"\uFF41\uFF21", u"\uFF21\uFF21", u"\uFF41\uFF41"},
        CaseCase{"SurrogatesAndDigitsStay", u"1\U0001F600", u"1\U0001F600", u"1\U0001F600"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AsciiCase, TouchesOnlyAsciiLetters) {
  EXPECT_EQ(UpperCase(u"abz\u00E9\u0131{"), u"ABZ\u00E9\u0131{");
  EXPECT_EQ(LowerCase(u"ABZ\u00C9\u0130@["), u"abz\u00C9\u0130@[");
  EXPECT_EQ(UpCase(u'q'), u'Q');
  EXPECT_EQ(UpCase(u'\u00E9'), u'\u00E9');
}

TEST(AnsiCaseTables, NeverMakeOrBreakSurrogates) {
  auto isSurrogate = [](Char c) { return c >= 0xD800 && c <= 0xDFFF; };
  for (int c = 0; c < 0x10000; ++c) {
    const Char unit = static_cast<Char>(c);
    EXPECT_EQ(isSurrogate(CharToUpper(unit)), isSurrogate(unit)) << c;
    EXPECT_EQ(isSurrogate(CharToLower(unit)), isSurrogate(unit)) << c;
    if (isSurrogate(unit)) {
      EXPECT_EQ(CharToUpper(unit), unit);
    }
  }
}

// --- Comparison ------------------------------------------------------------

struct CompareCase {
  String a;
  String b;
  int compareStr;   // sign
  int compareText;  // sign
  int invariantStr;
  int invariantText;
};

class Comparison : public ::testing::TestWithParam<CompareCase> {};

TEST_P(Comparison, GivesTheExpectedSign) {
  const CompareCase& c = GetParam();
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  EXPECT_EQ(sign(CompareStr(c.a, c.b)), c.compareStr);
  EXPECT_EQ(sign(CompareStr(c.b, c.a)), -c.compareStr);
  EXPECT_EQ(sign(CompareText(c.a, c.b)), c.compareText);
  EXPECT_EQ(SameStr(c.a, c.b), c.compareStr == 0);
  EXPECT_EQ(SameText(c.a, c.b), c.compareText == 0);
  const TInvariantTextCollator invariant;
  EXPECT_EQ(invariant.Compare(c.a, c.b, false), c.invariantStr);
  EXPECT_EQ(invariant.Compare(c.b, c.a, false), -c.invariantStr);
  EXPECT_EQ(invariant.Compare(c.a, c.b, true), c.invariantText);
}

INSTANTIATE_TEST_SUITE_P(Cases, Comparison,
                         ::testing::Values(CompareCase{u"", u"", 0, 0, 0, 0}, CompareCase{u"abc", u"abc", 0, 0, 0, 0},
                                           CompareCase{u"abc", u"ABC", 1, 0, 1, 0},
                                           CompareCase{u"ab", u"abc", -1, -1, -1, -1},
                                           CompareCase{u"a", u"B", 1, -1, -1, -1}, CompareCase{u"_", u"a", -1, 1, 1, 1},
                                           CompareCase{u"\u00E9", u"\u00C9", 1, 1, 1, 0},
                                           CompareCase{u"\u00E9t\u00E9", u"\u00C9T\u00C9", 1, 1, 1, 0},
                                           CompareCase{u"\u0416a", u"\u0436B", -1, -1, -1, -1}));

class RecordingCollator : public TTextCollator {
 public:
  int Compare(StringView s1, StringView s2, bool ignoreCase) const override {
    lastIgnoreCase = ignoreCase;
    return s1.size() < s2.size() ? -7 : (s1.size() > s2.size() ? 9 : 0);
  }
  mutable bool lastIgnoreCase = false;
};

TEST(TextCollator, AnsiComparisonsGoThroughTheCurrentOne) {
  RecordingCollator byLength;
  const TTextCollator* before = SetTextCollator(&byLength);
  EXPECT_EQ(&CurrentTextCollator(), &byLength);
  EXPECT_EQ(AnsiCompareStr(u"zz", u"aaa"), -1);
  EXPECT_FALSE(byLength.lastIgnoreCase);
  EXPECT_EQ(AnsiCompareText(u"aaa", u"z"), 1);
  EXPECT_TRUE(byLength.lastIgnoreCase);
  EXPECT_TRUE(AnsiSameText(u"ab", u"xy"));
  EXPECT_TRUE(AnsiSameStr(u"ab", u"xy"));
  EXPECT_TRUE(StartsText(u"xy", u"abc"));
  EXPECT_EQ(SetTextCollator(before), &byLength);
}

TEST(TextCollator, AnsiComparisonsIgnoreOnlyCase) {
  EXPECT_TRUE(AnsiSameText(u"\u00C9cole", u"\u00E9COLE"));
  EXPECT_FALSE(AnsiSameStr(u"\u00C9cole", u"\u00E9cole"));
  EXPECT_FALSE(AnsiSameText(u"ecole", u"\u00E9cole"));
  EXPECT_LT(AnsiCompareText(u"apple", u"Banana"), 0);
  EXPECT_GT(AnsiCompareText(u"cherry", u"Banana"), 0);
  EXPECT_EQ(AnsiCompareStr(u"same", u"same"), 0);
}

// --- Substrings and search -------------------------------------------------

struct PosCase {
  String sub;
  String text;
  Integer offset;
  Integer expected;
};

class PosSearch : public ::testing::TestWithParam<PosCase> {};

TEST_P(PosSearch, FindsOneBasedPosition) {
  const PosCase& c = GetParam();
  EXPECT_EQ(PosEx(c.sub, c.text, c.offset), c.expected);
  if (c.offset == 1) {
    EXPECT_EQ(Pos(c.sub, c.text), c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PosSearch,
                         ::testing::Values(PosCase{u"b", u"abcb", 1, 2}, PosCase{u"b", u"abcb", 3, 4},
                                           PosCase{u"b", u"abcb", 4, 4}, PosCase{u"b", u"abcb", 5, 0},
                                           PosCase{u"b", u"abcb", 0, 0}, PosCase{u"b", u"abcb", -3, 0},
                                           PosCase{u"", u"abc", 1, 0}, PosCase{u"abc", u"", 1, 0},
                                           PosCase{u"abcd", u"abc", 1, 0}, PosCase{u"abc", u"abc", 1, 1},
                                           PosCase{u"aa", u"aaa", 2, 2}, PosCase{u"\u20AC", u"x\u20AC", 1, 2}));

struct CopyCase {
  Integer index;
  Integer count;
  String expected;
};

class CopyClamp : public ::testing::TestWithParam<CopyCase> {};

TEST_P(CopyClamp, ClampsLikeThePlatform) {
  EXPECT_EQ(Copy(u"abcdef", GetParam().index, GetParam().count), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyClamp,
                         ::testing::Values(CopyCase{1, 3, u"abc"}, CopyCase{4, 100, u"def"}, CopyCase{6, 1, u"f"},
                                           CopyCase{7, 1, u""}, CopyCase{100, 5, u""}, CopyCase{0, 3, u"abc"},
                                           CopyCase{-5, 2, u"ab"}, CopyCase{2, 0, u""}, CopyCase{2, -1, u""},
                                           CopyCase{2, 0x7FFFFFFF, u"bcdef"},
                                           CopyCase{-0x7FFFFFFF - 1, 0x7FFFFFFF, u"abcdef"}));

TEST(Substrings, CopyDefaultsToTheRest) {
  EXPECT_EQ(Copy(u"abcdef", 3), u"cdef");
}

TEST(Substrings, DeleteAndInsertClamp) {
  String s = u"abcdef";
  Delete(s, 0, 2);
  EXPECT_EQ(s, u"abcdef");
  Delete(s, 7, 2);
  EXPECT_EQ(s, u"abcdef");
  Delete(s, 5, 100);
  EXPECT_EQ(s, u"abcd");
  Delete(s, 2, 2);
  EXPECT_EQ(s, u"ad");
  Insert(u"XY", s, 2);
  EXPECT_EQ(s, u"aXYd");
  Insert(u"<", s, -4);
  Insert(u">", s, 99);
  EXPECT_EQ(s, u"<aXYd>");
}

TEST(Substrings, LeftRightMid) {
  EXPECT_EQ(LeftStr(u"abc", 2), u"ab");
  EXPECT_EQ(LeftStr(u"abc", 9), u"abc");
  EXPECT_EQ(LeftStr(u"abc", -1), u"");
  EXPECT_EQ(RightStr(u"abc", 2), u"bc");
  EXPECT_EQ(RightStr(u"abc", 9), u"abc");
  EXPECT_EQ(RightStr(u"abc", 0), u"");
  EXPECT_EQ(MidStr(u"abcde", 2, 3), u"bcd");
}

TEST(Substrings, StartsEndsContains) {
  EXPECT_TRUE(StartsStr(u"ab", u"abc"));
  EXPECT_FALSE(StartsStr(u"AB", u"abc"));
  EXPECT_TRUE(StartsStr(u"", u"abc"));
  EXPECT_FALSE(StartsStr(u"abcd", u"abc"));
  EXPECT_TRUE(EndsStr(u"bc", u"abc"));
  EXPECT_FALSE(EndsStr(u"abcd", u"bcd"));
  EXPECT_TRUE(ContainsStr(u"abc", u"b"));
  EXPECT_FALSE(ContainsStr(u"abc", u"B"));
  EXPECT_TRUE(StartsText(u"AB", u"abc"));
  EXPECT_TRUE(EndsText(u"\u00C9T\u00C9", u"\u00E9t\u00E9"));
  EXPECT_FALSE(EndsText(u"xabc", u"abc"));
  EXPECT_TRUE(ContainsText(u"Hello World", u"O w"));
  EXPECT_FALSE(ContainsText(u"Hello", u"x"));
}

TEST(Substrings, Delimiters) {
  EXPECT_EQ(LastDelimiter(u"\\.:", u"C:\\dir\\file.txt"), 12);
  EXPECT_EQ(LastDelimiter(u"/", u"C:\\dir"), 0);
  EXPECT_EQ(LastDelimiter(u"", u"abc"), 0);
  EXPECT_TRUE(IsDelimiter(u",;", u"a,b", 2));
  EXPECT_FALSE(IsDelimiter(u",;", u"a,b", 1));
  EXPECT_FALSE(IsDelimiter(u",;", u"a,b", 0));
  EXPECT_FALSE(IsDelimiter(u",;", u"a,b", 4));
}

// --- Building and changing -------------------------------------------------

TEST(Trimming, RemovesControlsAndSpacesOnly) {
  const String text = String(u"\t \r\n") + Char(0) + u"a b\u00A0" + Char(1) + u" ";
  EXPECT_EQ(Trim(text), u"a b\u00A0");
  EXPECT_EQ(TrimLeft(text), String(u"a b\u00A0") + Char(1) + u" ");
  EXPECT_EQ(TrimRight(text), String(u"\t \r\n") + Char(0) + u"a b\u00A0");
  EXPECT_EQ(Trim(u" \t "), u"");
  EXPECT_EQ(Trim(u""), u"");
}

struct ReplaceCase {
  const char* name;
  String text;
  String from;
  String to;
  TReplaceFlags flags;
  String expected;
};

class Replace : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(Replace, GivesExpectedText) {
  const ReplaceCase& c = GetParam();
  EXPECT_EQ(StringReplace(c.text, c.from, c.to, c.flags), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Replace,
    ::testing::Values(ReplaceCase{"FirstOnly", u"a-b-c", u"-", u"+", 0, u"a+b-c"},
                      ReplaceCase{"All", u"a-b-c", u"-", u"+", rfReplaceAll, u"a+b+c"},
                      ReplaceCase{"EmptyPattern", u"abc", u"", u"x", rfReplaceAll, u"abc"},
                      ReplaceCase{"EmptyText", u"", u"a", u"x", rfReplaceAll, u""},
                      ReplaceCase{"Overlapping", u"aaaa", u"aa", u"b", rfReplaceAll, u"bb"},
                      ReplaceCase{"OverlappingOdd", u"aaa", u"aa", u"b", rfReplaceAll, u"ba"},
                      ReplaceCase{"ReplacementContainsPattern", u"aXa", u"a", u"aa", rfReplaceAll, u"aaXaa"},
                      ReplaceCase{"Deleting", u"a, b, c", u", ", u"", rfReplaceAll, u"abc"},
                      ReplaceCase{"CaseMatters", u"Abc abc", u"abc", u"x", rfReplaceAll, u"Abc x"},
                      ReplaceCase{"IgnoreCase", u"Abc aBC", u"ABC", u"x", rfReplaceAll | rfIgnoreCase, u"x x"},
                      ReplaceCase{"IgnoreCaseKeepsRest", u"\u00C9t\u00E9 \u00E9T\u00C9", u"\u00E9t\u00E9", u"x",
                                  rfIgnoreCase, u"x \u00E9T\u00C9"},
                      ReplaceCase{"WholeText", u"abc", u"abc", u"", 0, u""},
                      ReplaceCase{"PatternLonger", u"ab", u"abc", u"x", rfReplaceAll, u"ab"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Replace, ShorthandsReplaceEvery) {
  EXPECT_EQ(ReplaceStr(u"aAa", u"a", u"-"), u"-A-");
  EXPECT_EQ(ReplaceText(u"aAa", u"a", u"-"), u"---");
}

TEST(Building, RepeatedText) {
  EXPECT_EQ(StringOfChar(u'x', 3), u"xxx");
  EXPECT_EQ(StringOfChar(u'x', 0), u"");
  EXPECT_EQ(StringOfChar(u'x', -2), u"");
  EXPECT_EQ(DupeString(u"ab", 3), u"ababab");
  EXPECT_EQ(DupeString(u"ab", -1), u"");
}

struct LineBreakCase {
  String text;
  String crlf;
  String lf;
};

class LineBreaks : public ::testing::TestWithParam<LineBreakCase> {};

TEST_P(LineBreaks, BecomeOneStyle) {
  EXPECT_EQ(AdjustLineBreaks(GetParam().text), GetParam().crlf);
  EXPECT_EQ(AdjustLineBreaks(GetParam().text, tlbsLF), GetParam().lf);
}

INSTANTIATE_TEST_SUITE_P(Cases, LineBreaks,
                         ::testing::Values(LineBreakCase{u"", u"", u""}, LineBreakCase{u"a\r\nb", u"a\r\nb", u"a\nb"},
                                           LineBreakCase{u"a\nb\rc", u"a\r\nb\r\nc", u"a\nb\nc"},
                                           LineBreakCase{u"a\n\rb", u"a\r\nb", u"a\nb"},
                                           LineBreakCase{u"a\r\r\nb", u"a\r\n\r\nb", u"a\n\nb"},
                                           LineBreakCase{u"\n\n", u"\r\n\r\n", u"\n\n"},
                                           LineBreakCase{u"a\r", u"a\r\n", u"a\n"}));

// --- Quoting ---------------------------------------------------------------

TEST(Quoting, DoublesTheQuoteInside) {
  EXPECT_EQ(QuotedStr(u"it's"), u"'it''s'");
  EXPECT_EQ(QuotedStr(u""), u"''");
  EXPECT_EQ(AnsiQuotedStr(u"say \"hi\"", u'"'), u"\"say \"\"hi\"\"\"");
}

struct ExtractCase {
  String src;
  String result;
  String rest;
};

class ExtractQuoted : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractQuoted, TakesTheQuotedPrefix) {
  StringView src = GetParam().src;
  EXPECT_EQ(AnsiExtractQuotedStr(src, u'\''), GetParam().result);
  EXPECT_EQ(String(src), GetParam().rest);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExtractQuoted,
                         ::testing::Values(ExtractCase{u"'abc' rest", u"abc", u" rest"},
                                           ExtractCase{u"'it''s'", u"it's", u""}, ExtractCase{u"'open", u"open", u""},
                                           ExtractCase{u"''", u"", u""}, ExtractCase{u"'", u"", u""},
                                           ExtractCase{u"'''", u"'", u""}, ExtractCase{u"abc", u"", u"abc"},
                                           ExtractCase{u"", u"", u""}));

struct DequoteCase {
  String text;
  String expected;
};

class Dequote : public ::testing::TestWithParam<DequoteCase> {};

TEST_P(Dequote, UnquotesOnlyQuotedText) {
  EXPECT_EQ(AnsiDequotedStr(GetParam().text, u'"'), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Dequote,
                         ::testing::Values(DequoteCase{u"\"abc\"", u"abc"}, DequoteCase{u"abc", u"abc"},
                                           DequoteCase{u"\"a\"\"b\"", u"a\"b"}, DequoteCase{u"\"abc", u"\"abc"},
                                           DequoteCase{u"\"a\"b", u"a"}, DequoteCase{u"\"\"", u""},
                                           DequoteCase{u"", u""}, DequoteCase{u"a\"", u"a\""}));

// --- Identifiers -----------------------------------------------------------

struct IdentCase {
  String text;
  bool plain;
  bool dotted;
};

class Identifiers : public ::testing::TestWithParam<IdentCase> {};

TEST_P(Identifiers, AreRecognised) {
  EXPECT_EQ(IsValidIdent(GetParam().text), GetParam().plain);
  EXPECT_EQ(IsValidIdent(GetParam().text, true), GetParam().dotted);
}

INSTANTIATE_TEST_SUITE_P(Cases, Identifiers,
                         ::testing::Values(IdentCase{u"Button1", true, true}, IdentCase{u"_x", true, true},
                                           IdentCase{u"1x", false, false}, IdentCase{u"", false, false},
                                           IdentCase{u"a b", false, false}, IdentCase{u"B\u00FCton", true, true},
                                           IdentCase{u"\u0416\u0436_2", true, true}, IdentCase{u"x\u0663", true, true},
                                           IdentCase{u"\u0663x", false, false}, IdentCase{u"Unit.TForm1", false, true},
                                           IdentCase{u"a.", false, false}, IdentCase{u".a", false, false},
                                           IdentCase{u"a..b", false, false}, IdentCase{u"a.1b", false, false},
                                           IdentCase{u"a-b", false, false}, IdentCase{u"x\u00B7", false, false}));

}  // namespace

TEST(SameTextBytes, FoldsOnlyAsciiLetters) {
  EXPECT_TRUE(SameText(std::string_view("Object"), std::string_view("OBJECT")));
  EXPECT_FALSE(SameText(std::string_view("end"), std::string_view("ends")));
  EXPECT_FALSE(SameText(std::string_view("\xE9"), std::string_view("\xC9")));
  EXPECT_TRUE(SameText(std::string_view("\xC3\xA9x"), std::string_view("\xC3\xA9X")));
  EXPECT_FALSE(SameText(std::string_view("["), std::string_view("{")));
}
