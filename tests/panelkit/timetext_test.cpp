#include "panelkit/timetext.h"

#include <gtest/gtest.h>

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

}  // namespace
