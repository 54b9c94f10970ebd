#include "panelkit/timetext.h"

#include <gtest/gtest.h>

#include <set>

#include "panelkit/colortext.h"
#include "rtl/unicode.h"

namespace {

std::string U8(const String& s) {
  return StringToUTF8(s);
}

TEST(TimeText, ThePickerShowsHoursAndStandardMinutesInTheLongFormat) {
  TFormatSettings twentyFour;
  twentyFour.LongTimeFormat = u"hh:mm:ss";
  TFormatSettings us;  // h:mm:ss AMPM
  TFormatSettings dotted;
  dotted.TimeSeparator = u'.';
  dotted.LongTimeFormat = u"H/nn/ss";
  const TDateTime value = EncodeDate(2021, 5, 6) + EncodeTime(14, 37, 22, 0);
  EXPECT_EQ(U8(TimePickerText(value, true, twentyFour)), "14:35:00");
  EXPECT_EQ(U8(TimePickerText(value, false, twentyFour)), "14:37:00");
  EXPECT_EQ(U8(TimePickerText(value, true, us)), "2:35:00 PM");
  EXPECT_EQ(U8(TimePickerText(EncodeTime(23, 59, 59, 999), true, twentyFour)), "23:55:00");
  EXPECT_EQ(U8(TimePickerText(EncodeTime(0, 4, 0, 0), true, twentyFour)), "00:00:00");
  EXPECT_EQ(U8(TimePickerText(value, true, dotted)), "14/35/00");
}

TEST(TimeText, ThePickerReadsItsText) {
  TFormatSettings settings;
  settings.LongTimeFormat = u"hh:mm:ss";
  const TDateTime now = EncodeTime(9, 15, 0, 0);
  EXPECT_EQ(ReadTimePickerText(u"", now, settings), now);
  EXPECT_EQ(ReadTimePickerText(u"0", now, settings), now);
  EXPECT_EQ(ReadTimePickerText(u"14:35:00", now, settings), EncodeTime(14, 35, 0, 0));
  EXPECT_EQ(ReadTimePickerText(u"2:35 PM", now, settings), EncodeTime(14, 35, 0, 0));
  EXPECT_EQ(ReadTimePickerText(u"tea time", now, settings), 0);
}

TEST(TimeText, TheTimeEditFormatKeepsSeparatorsAndUpToTwoOfEachField) {
  TFormatSettings settings;  // h:mm:ss AMPM
  EXPECT_EQ(U8(ReducedTimeFormat(u"", settings)), "h:mm:ss");
  EXPECT_EQ(U8(ReducedTimeFormat(u"hhh:mmm:sss", settings)), "hh:mm:ss");
  EXPECT_EQ(U8(ReducedTimeFormat(u"h.mm", settings)), "hmm");
  EXPECT_EQ(U8(ReducedTimeFormat(u"h:m:s:x:", settings)), "h:m:s");
  EXPECT_EQ(kTimePopupHours, 24);  // hours 0 to 23
}

TEST(ColorText, BothNotationsAreWrittenAndReadWhateverTheNotation) {
  EXPECT_EQ(U8(ColorNotationText(0xFFFFFF, TColorNotation::Platform)), "$00FFFFFF");
  EXPECT_EQ(U8(ColorNotationText(0x0000FF, TColorNotation::Web)), "#FF0000");
  EXPECT_EQ(U8(ColorNotationText(0x123456, TColorNotation::Web)), "#563412");
  EXPECT_EQ(U8(ColorNotationText(0x123456, TColorNotation::Platform)), "$00123456");
  struct Case {
    const char16_t* Text;
    std::optional<TColor> Expected;
  };
  const Case cases[] = {
      {u"$00FFFFFF", 0xFFFFFF}, {u"#FF0000", 0x0000FF},  {u"#563412", 0x123456},        {u"$ff", 0xFF},
      {u"0x10", 0x10},          {u"#FFF", std::nullopt}, {u"#GG0000", std::nullopt},    {u"", std::nullopt},
      {u"$", std::nullopt},     {u"#", std::nullopt},    {u"$123456789", std::nullopt}, {u"clRed", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadColorNotation(c.Text), c.Expected) << U8(String(c.Text));
}

TEST(ColorText, FilteringKeepsTheDigitsAndOnePrefixOfTheNotation) {
  constexpr auto P = TColorNotation::Platform;
  constexpr auto W = TColorNotation::Web;
  struct Case {
    const char16_t* Text;
    bool AtStart;
    TColorNotation Notation;
    const char* Filtered;
    const char* Fitted;
  };
  const Case cases[] = {
      {u"FF0000", true, P, "$FF0000", "$FF000000"},    // the prefix is put in front, the end padded
      {u"#FF0000", true, P, "#FF0000", "#FF0000"},     // a "#" text keeps its notation and length
      {u"$FF0000", true, W, "#FF0000", "#FF0000"},     // the web notation drops "$" and puts its own
      {u"12$34#56", false, P, "123456", "123456000"},  // prefixes after the front go
      {u"ab cd-ef!", false, W, "abcdef", "abcdef0"},   // anything else goes
      {u"0x00ff", true, P, "0x00ff", "0x00ff0000"},    // "0x" takes no prefix and ten characters
      {u"$0012345678", true, P, "$0012345678", "$00123456"},
  };
  for (const Case& c : cases) {
    const String filtered = FilterColorText(c.Text, c.AtStart, c.Notation);
    EXPECT_EQ(U8(filtered), c.Filtered) << U8(String(c.Text));
    EXPECT_EQ(U8(FitColorText(filtered, c.Notation)), c.Fitted) << U8(String(c.Text));
  }
}

TEST(ColorText, TypingTakesAPrefixAtTheFrontAndDigitsUpToTheLength) {
  constexpr auto P = TColorNotation::Platform;
  constexpr auto W = TColorNotation::Web;
  struct Case {
    Char Ch;
    const char16_t* Text;
    Integer Caret;
    bool Selection;
    TColorNotation Notation;
    bool Accepted;
  };
  const Case cases[] = {
      {u'A', u"$0000000", 8, false, P, true}, {u'A', u"$00000000", 9, false, P, false},  // a ninth digit
      {u'A', u"$00000000", 1, true, P, true}, {u'#', u"", 0, false, P, false},           // "#" in the platform notation
      {u'$', u"", 0, false, P, true},         {u'#', u"", 0, false, W, true},
      {u'$', u"", 0, false, W, false},        {u'1', u"", 0, false, P, false},  // a digit at the front
      {u'$', u"$12", 2, false, P, false},     {u'g', u"$12", 3, false, P, false},
      {u'f', u"#12", 3, false, W, true},      {u'1', u"#123456", 7, false, W, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ColorTextAcceptsChar(c.Ch, c.Text, c.Caret, c.Selection, c.Notation), c.Accepted)
        << U8(String(1, c.Ch)) << " into " << U8(String(c.Text)) << " at " << c.Caret;
}

TEST(ColorText, WebNamesReadInAnyCaseAndWhiteIsWhite) {
  EXPECT_EQ(HtmlColorNameValue(u"Navy"), std::optional<TColor>(0x800000));
  EXPECT_EQ(HtmlColorNameValue(u"NAVY"), std::optional<TColor>(0x800000));
  EXPECT_EQ(HtmlColorNameValue(u"nowhere"), std::nullopt);
  EXPECT_EQ(HtmlColorNameOf(u"#FFFFFF"), std::optional<String>(u"white")) << "transparent is no colour";
  EXPECT_EQ(HtmlColorNameOf(u"#FF0000"), std::optional<String>(u"red"));
  EXPECT_EQ(HtmlColorNameOf(u"#123456"), std::nullopt);
}

TEST(ColorText, PastedSixDigitsAreAWebColourAndNamesAreNoColourText) {
  struct Case {
    const char16_t* Text;
    std::optional<TColor> Web;
    bool ColorTextOnly;
  };
  const Case cases[] = {
      {u"FF0000", 0x0000FF, true},      {u" #00ff00\r\n", 0x00FF00, false}, {u"#563412", 0x123456, true},
      {u"FF00000", std::nullopt, true}, {u"$FF0000", std::nullopt, true},   {u"FF00", std::nullopt, true},
      {u"zzee", std::nullopt, false},   {u"navy", std::nullopt, false},     {u"0x00ff", std::nullopt, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadPastedWebColor(c.Text), c.Web) << U8(String(c.Text));
    EXPECT_EQ(IsColorTextOnly(c.Text), c.ColorTextOnly) << U8(String(c.Text));
  }
}

TEST(ColorText, ThePopupMatrixHoldsGreysBasicsAndTheWebCube) {
  const auto& m = ColorPopupMatrix();
  const auto at = [&](int column, int row) { return m[static_cast<size_t>(column * kColorMatrixRows + row)]; };
  for (int row = 0; row < kColorMatrixRows; ++row) {
    EXPECT_EQ(at(0, row), 0);
    EXPECT_EQ(at(2, row), 0);
  }
  EXPECT_EQ(at(1, 3), 0x999999);
  EXPECT_EQ(at(1, 6), 0x0000FF);   // red
  EXPECT_EQ(at(1, 11), 0xFF00FF);  // fuchsia
  EXPECT_EQ(at(3, 0), 0x000000);
  EXPECT_EQ(at(4, 0), 0x003300);    // green steps along the block
  EXPECT_EQ(at(3, 5), 0xFF0000);    // blue down the rows
  EXPECT_EQ(at(9, 0), 0x000033);    // the second block's red
  EXPECT_EQ(at(3, 6), 0x000099);    // the lower rows' red
  EXPECT_EQ(at(20, 11), 0xFFFFFF);  // the last swatch is white
  std::set<TColor> cube(m.begin() + 3 * kColorMatrixRows, m.end());
  EXPECT_EQ(cube.size(), 216u) << "every colour of the cube once";
}

}  // namespace
