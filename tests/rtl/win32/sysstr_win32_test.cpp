// The Ansi... comparisons in the Windows build follow the user's locale.
#include <windows.h>

#include <gtest/gtest.h>

#include "rtl/sysstr.h"

namespace {

struct Pair {
  String a;
  String b;
};

class LocaleComparison : public ::testing::TestWithParam<Pair> {};

int SystemCompare(const String& a, const String& b, DWORD flags) {
  return CompareStringW(LOCALE_USER_DEFAULT, flags, reinterpret_cast<const wchar_t*>(a.c_str()),
                        static_cast<int>(a.size()), reinterpret_cast<const wchar_t*>(b.c_str()),
                        static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

TEST_P(LocaleComparison, MatchesCompareString) {
  const Pair& p = GetParam();
  EXPECT_EQ(AnsiCompareStr(p.a, p.b), SystemCompare(p.a, p.b, 0));
  EXPECT_EQ(AnsiCompareText(p.a, p.b), SystemCompare(p.a, p.b, NORM_IGNORECASE));
}

INSTANTIATE_TEST_SUITE_P(Pairs, LocaleComparison,
                         ::testing::Values(Pair{u"a", u"A"}, Pair{u"a", u"B"}, Pair{u"_x", u"ax"},
                                           Pair{u"\u00E9cole", u"ecole"}, Pair{u"\u00C9COLE", u"\u00E9cole"},
                                           Pair{u"co-op", u"coop"}, Pair{u"", u"x"}, Pair{u"same", u"same"}));

TEST(LocaleComparison, IsNotTheInvariantOrder) {
  // Linguistic order puts lower case first; the invariant order, by code unit,
  // puts it last.
  EXPECT_LT(AnsiCompareStr(u"a", u"A"), 0);
  EXPECT_GT(TInvariantTextCollator().Compare(u"a", u"A", false), 0);
}

}  // namespace

namespace {

// The built-in case tables give what the system's own mapping gives. Checked
// over the scripts whose mappings have been stable for decades, plus the
// characters whose case deliberately stays.
TEST(CaseTablesWin32, MatchTheSystemsMapping) {
  std::u16string chars;
  for (Char c = 1; c < 0x0530; ++c) chars.push_back(c);
  chars += u"\u1E9E\u1FB3\u1FBC\u2126\u212A\u212B\uFB00\uFF41\uFF21";
  for (Char c : chars) {
    wchar_t upper = static_cast<wchar_t>(c);
    wchar_t lower = static_cast<wchar_t>(c);
    CharUpperBuffW(&upper, 1);
    CharLowerBuffW(&lower, 1);
    EXPECT_EQ(CharToUpper(c), static_cast<Char>(upper)) << std::hex << static_cast<int>(c);
    EXPECT_EQ(CharToLower(c), static_cast<Char>(lower)) << std::hex << static_cast<int>(c);
  }
}

}  // namespace
