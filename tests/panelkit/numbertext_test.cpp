#include "panelkit/numbertext.h"

#include <gtest/gtest.h>

#include "rtl/unicode.h"

namespace {

std::string U8(const String& s) {
  return StringToUTF8(s);
}

struct FilterCase {
  const char16_t* Text;
  Char Separator;
  bool AllowSeparator;
  bool AllowSign;
  const char16_t* Expected;
};

TEST(NumberText, TheFilterKeepsDigitsOneSeparatorAndALeadingSign) {
  const FilterCase cases[] = {
      {u"12ab3", u'.', true, true, u"123"},  {u"1.2.3", u'.', true, true, u"1.23"},
      {u"1.2.3", u'.', false, true, u"123"}, {u"1,5", u',', true, true, u"1,5"},
      {u"1.5", u',', true, true, u"15"},  // a period is no separator in a comma locale
      {u"-12", u'.', true, true, u"-12"},    {u"-12", u'.', true, false, u"12"},
      {u"1-2+3", u'.', true, true, u"123"},  {u"x-1", u'.', true, true, u"1"},  // the sign was not the first character
      {u"", u'.', true, true, u""},
  };
  for (const FilterCase& c : cases)
    EXPECT_EQ(U8(FilterNumberCharacters(c.Text, c.Separator, c.AllowSeparator, c.AllowSign)), U8(c.Expected))
        << U8(c.Text);
}

struct ReadCase {
  const char16_t* Text;
  Char Separator;
  double Min, Max;
  double Expected;
};

TEST(NumberText, ReadingBringsTheValueIntoTheRangeAndNeverRaises) {
  const ReadCase cases[] = {
      {u"25", u'.', 0, 10, 10},       // above the upper bound
      {u"-3", u'.', 0, 10, 0},        // a bound of 0 applies once the range is active
      {u"7", u'.', 5, 0, 5},          // Min 5, Max 0: every value reads as the lower bound
      {u"", u'.', 3, 9, 3},           // empty: the lower bound
      {u"abc", u'.', 3, 9, 3},        // nothing left: the lower bound
      {u"-", u'.', 0, 0, 0},          // a lone sign
      {u".", u'.', 0, 0, 0},          // a lone separator is 0, not an error
      {u"-.", u'.', 0, 0, 0},         // a sign and a separator
      {u",", u',', 2, 9, 2},          // a lone separator, brought into the range
      {u"12,75", u',', 0, 0, 12.75},  // the locale's separator
      {u"1e5", u'.', 0, 0, 15},       // no exponents: the letter goes
      {u"-1234.5", u'.', 0, 0, -1234.5},
  };
  for (const ReadCase& c : cases)
    EXPECT_DOUBLE_EQ(ReadNumberText(c.Text, c.Separator, true, true, {c.Min, c.Max}), c.Expected) << U8(c.Text);
}

TEST(NumberText, AHugeDigitRunReadsAsTheLargestDouble) {
  const String digits(400, u'9');
  EXPECT_EQ(ReadNumberText(digits, u'.', true, true, {}), std::numeric_limits<double>::max());
  EXPECT_EQ(ReadNumberText(u"-" + digits, u'.', true, true, {}), -std::numeric_limits<double>::max());
  EXPECT_EQ(ReadNumberText(digits, u'.', true, true, {0, 100}), 100);
}

TEST(NumberText, TheFilterTextIsTheShortestForm) {
  EXPECT_EQ(U8(NumberFilterText(u"x1.500", u'.', true, true, {})), "1.5");
  EXPECT_EQ(U8(NumberFilterText(u"no digits", u'.', true, true, {4, 8})), "4");
  EXPECT_EQ(U8(NumberFilterText(u"2,25", u',', true, true, {})), "2,25");
}

TEST(NumberText, TheShownPrefixAndSuffixAreNotReadBack) {
  EXPECT_EQ(U8(StripAffixes(u"No.1 25 m2", u"No.1 ", u" m2")), "25");
  EXPECT_EQ(U8(StripAffixes(u"25", u"No.1 ", u" m2")), "25");
  EXPECT_EQ(U8(StripAffixes(u"No.1", u"No.1 ", u"")), "No.1");
  // A number typed after the prefix is a fresh value: 25, not 125.
  EXPECT_DOUBLE_EQ(ReadNumberText(StripAffixes(u"1 25", u"1 ", u""), u'.', true, true, {}), 25);
}

struct FormatCase {
  double Value;
  Integer Precision;
  bool AllowFloat;
  const char16_t* Null;
  const char16_t* Expected;
};

TEST(NumberText, TheShownTextFollowsPrecisionNullTextAndAffixes) {
  const FormatCase cases[] = {
      {0, 2, true, u"", u"<0.00>"},          {0, 2, true, u"-", u"-"},     {3.14159, 2, true, u"", u"<3.14>"},
      {2.5, 0, true, u"", u"<2.5>"},         {2.5, 0, false, u"", u"<3>"}, {-1.25, 1, true, u"", u"<-1.3>"},
      {1e6, 3, true, u"", u"<1000000.000>"},
      // never in exponent form, which the reading filter would turn into other numbers
      {1e20, 2, true, u"", u"<100000000000000000000.00>"}, {1e20, 0, true, u"", u"<100000000000000000000>"},
      {1e20, 0, false, u"", u"<100000000000000000000>"},
  };
  for (const FormatCase& c : cases) {
    TNumberFormat format;
    format.Precision = c.Precision;
    format.AllowFloat = c.AllowFloat;
    format.NullText = c.Null;
    format.TextBefore = u"<";
    format.TextAfter = u">";
    EXPECT_EQ(U8(FormatNumberValue(c.Value, format)), U8(c.Expected)) << c.Value;
  }
  TNumberFormat comma;
  comma.DecimalSeparator = u',';
  EXPECT_EQ(U8(FormatNumberValue(1.5, comma)), "1,50");
}

struct TypingCase {
  Char Character;
  TPxNumberEditOptions Options;
  const char16_t* Text;
  const char16_t* Selected;
  Integer Caret;
  bool Passes;
};

TEST(NumberText, TypedCharactersPassByTheRules) {
  const TPxNumberEditOptions defaults = kDefaultNumberEditOptions;
  const TypingCase cases[] = {
      {u'5', defaults, u"", u"", 0, true},
      {u'a', defaults, u"", u"", 0, false},
      {u'a', {eoAllowAll}, u"", u"", 0, true},
      {u'5', {eoDisableTyping, eoAllowAll}, u"", u"", 0, false},
      {22, defaults, u"", u"", 0, true},  // paste
      {8, defaults, u"1", u"", 1, true},  // backspace
      {u'.', defaults, u"1", u"", 1, true},
      {u'.', defaults, u"1.5", u"", 3, false},  // a second separator
      {u'.', defaults, u"1.5", u".", 1, true},  // replacing the first one
      {u'.', {eoAllowSigns}, u"1", u"", 1, false},
      {u'-', defaults, u"15", u"", 0, true},
      {u'-', defaults, u"15", u"", 1, false},   // not at the start
      {u'-', defaults, u"-15", u"", 0, false},  // already signed
      {u'+', defaults, u"-15", u"-", 0, true},  // replacing the sign
      {u'-', {eoAllowFloat}, u"15", u"", 0, false},
  };
  for (const TypingCase& c : cases) {
    TNumberTyping typing;
    typing.Options = c.Options;
    typing.Text = c.Text;
    typing.SelectedText = c.Selected;
    typing.CaretPosition = c.Caret;
    EXPECT_EQ(NumberCharacterPasses(c.Character, typing), c.Passes)
        << static_cast<int>(c.Character) << " in " << U8(c.Text);
  }
  TNumberTyping comma;
  comma.DecimalSeparator = u',';
  EXPECT_TRUE(NumberCharacterPasses(u',', comma));
  EXPECT_FALSE(NumberCharacterPasses(u'.', comma));
}

TEST(NumberText, LargeValuesReadBackAsTheyWereShown) {
  for (double value : {1e20, -1e300, 1e300, 123456789012345678.0, -5e17}) {
    for (int precision : {0, 2}) {
      TNumberFormat format;
      format.Precision = precision;
      const String shown = FormatNumberValue(value, format);
      const double back = ReadNumberText(shown, u'.', true, true, {});
      EXPECT_NEAR(back / value, 1.0, 1e-15) << U8(shown);
    }
  }
}

TEST(NumberText, APasteWithoutDigitsInsertsNothing) {
  EXPECT_EQ(U8(PastedNumberText(u"abc", u'.', true, true, {})), "");
  EXPECT_EQ(U8(PastedNumberText(u"-", u'.', true, true, {})), "");
  EXPECT_EQ(U8(PastedNumberText(u"12abc3", u'.', true, true, {})), "123");
  EXPECT_EQ(U8(PastedNumberText(u"12abc3", u'.', true, true, {0, 100})), "100");
}

TEST(NumberText, SpinStepsStayInTheRange) {
  EXPECT_EQ(SpinStep(9.5, 1, true, true, {0, 10}), std::nullopt);  // no step to 10
  EXPECT_EQ(SpinStep(9, 1, true, true, {0, 10}), 10);
  EXPECT_EQ(SpinStep(0, 1, false, false, {}), std::nullopt);  // no signs at 0
  EXPECT_EQ(SpinStep(0.5, 1, false, false, {}), std::nullopt);  // no step below 0 without signs
  EXPECT_EQ(SpinStep(1.5, 1, false, false, {}), 0.5);
  EXPECT_EQ(SpinStep(0, 1, false, true, {}), -1);
  EXPECT_EQ(SpinStep(1, 1, false, true, {1, 5}), std::nullopt);
  EXPECT_EQ(SpinStep(100, 2.5, true, true, {}), 102.5);
}

}  // namespace
