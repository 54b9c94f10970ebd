#include "codeedit/search.h"

#include <gtest/gtest.h>

#include <random>

#include "codeedit/textutils.h"
#include "rtl/exceptions.h"

namespace {

std::vector<Integer> FindAll(TCodeEditSearch& search, const String& text) {
  search.FindAll(text);
  std::vector<Integer> positions;
  for (Integer i = 0; i < search.ResultCount(); ++i) positions.push_back(search.ResultPosition(i));
  return positions;
}

struct SearchCase {
  const char* name;
  String pattern;
  TCodeSearchOptions options;
  String text;
  std::vector<Integer> positions;
};

class SearchCases : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SearchCases, FindTheseMatches) {
  TCodeEditSearch search;
  search.SetOptions(GetParam().options);
  search.SetPattern(GetParam().pattern);
  EXPECT_EQ(FindAll(search, GetParam().text), GetParam().positions);
  EXPECT_EQ(search.Count(), static_cast<Integer>(GetParam().positions.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SearchCases,
    ::testing::Values(SearchCase{"NoOverlap", u"aa", {}, u"aaaa", {1, 3}},
                      SearchCase{"WholeWord", u"end", {ssoWholeWord}, u"end end_x xend", {1}},
                      SearchCase{"WholeWordBeforeStop", u"end", {ssoWholeWord}, u"end.", {1}},
                      SearchCase{"WholeWordAfterBar", u"end", {ssoWholeWord}, u"|end|", {2}},
                      SearchCase{"WholeWordLettersAbove126", u"end", {ssoWholeWord}, u"\u00E9end \u00A7end", {7}},
                      SearchCase{"IgnoringCase", u"Object", {}, u"object OBJECT Object", {1, 8, 15}},
                      SearchCase{"MatchingCase", u"Object", {ssoMatchCase}, u"object OBJECT Object", {15}},
                      SearchCase{"LongerThanText", u"abcdef", {}, u"abc", {}},
                      SearchCase{"WholeText", u"abc", {}, u"abc", {1}},
                      SearchCase{"AtTheEnd", u"xy", {}, u"abcxy", {4}},
                      SearchCase{"RepeatedLastChar", u"abab", {}, u"aababcabab", {2, 7}},
                      SearchCase{"OtherOptionsIgnored", u"a", {ssoBackwards, ssoReplaceAll}, u"bab", {2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Search, PatternKeepsItsCaseAndResetsTheCount) {
  TCodeEditSearch search;
  search.SetPattern(u"Object");
  EXPECT_EQ(search.FindAll(u"object"), 1);
  EXPECT_EQ(search.Pattern(), u"Object");
  search.SetPattern(u"Object");
  EXPECT_EQ(search.Count(), 0);
  search.SetPattern(u"object");  // only the case differs: still the pattern as set
  EXPECT_EQ(search.Pattern(), u"object");
}

TEST(Search, ResultsOutsideTheRangeAreZero) {
  TCodeEditSearch search;
  search.SetPattern(u"ab");
  EXPECT_EQ(search.FindAll(u"ab ab"), 2);
  EXPECT_EQ(search.ResultPosition(-1), 0);
  EXPECT_EQ(search.ResultPosition(2), 0);
  EXPECT_EQ(search.ResultLength(5), 2);
  EXPECT_EQ(search.FindAll(u"a"), 0);
  EXPECT_EQ(search.ResultCount(), 0);
}

TEST(Search, AnEmptyPatternFailsAtTheFirstSearch) {
  TCodeEditSearch search;
  search.SetPattern(u"");
  try {
    search.FindAll(u"text");
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Pattern is empty");
  }
}

TEST(Search, FixResultsMovesTheLaterOnes) {
  TCodeEditSearch search;
  search.SetPattern(u"x");
  search.FindAll(u"x x x x");  // 1 3 5 7
  search.FixResults(3, 2);
  EXPECT_EQ(search.ResultPosition(0), 1);
  EXPECT_EQ(search.ResultPosition(1), 3);
  EXPECT_EQ(search.ResultPosition(2), 3);
  EXPECT_EQ(search.ResultPosition(3), 5);
}

TEST(Search, ReplaceGivesTheReplacement) {
  TCodeEditSearch search;
  EXPECT_EQ(search.Replace(u"old", u"new"), u"new");
}

// Left to right, one pattern length on after each match; a match that fails
// the whole-word test moves on by one.
std::vector<Integer> NaiveFindAll(const String& pattern, const String& text, bool matchCase, bool whole) {
  const String p = matchCase ? pattern : WideLowerCase(pattern);
  const String t = matchCase ? text : WideLowerCase(text);
  std::vector<Integer> found;
  for (size_t i = 0; i + p.size() <= t.size();) {
    const bool same = t.compare(i, p.size(), p) == 0;
    const bool wordStart = i == 0 || IsSearchDelimiter(t[i - 1]);
    const bool wordEnd = i + p.size() == t.size() || IsSearchDelimiter(t[i + p.size()]);
    if (same && (!whole || (wordStart && wordEnd))) {
      found.push_back(static_cast<Integer>(i) + 1);
      i += p.size();
    } else {
      ++i;
    }
  }
  return found;
}

TEST(Search, AgreesWithANaiveSearchOverRandomTexts) {
  const String alphabet = u"aAbB _.\u00E9\u00C9\U0001F600";
  std::mt19937 random(20240601);
  auto randomText = [&](size_t maxLength) {
    String s(random() % (maxLength + 1), u' ');
    for (Char& c : s) c = alphabet[random() % alphabet.size()];
    return s;
  };
  TCodeEditSearch search;
  for (int round = 0; round < 4000; ++round) {
    String pattern = randomText(4);
    if (pattern.empty()) pattern.assign(1, u'a');
    const String text = randomText(40);
    const bool matchCase = (round & 1) != 0;
    const bool whole = (round & 2) != 0;
    TCodeSearchOptions options;
    if (matchCase) options.Include(ssoMatchCase);
    if (whole) options.Include(ssoWholeWord);
    search.SetOptions(options);
    search.SetPattern(pattern);
    ASSERT_EQ(FindAll(search, text), NaiveFindAll(pattern, text, matchCase, whole)) << "round " << round;
  }
}

}  // namespace
