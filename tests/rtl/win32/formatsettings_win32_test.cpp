#include <gtest/gtest.h>

#include "rtl/formatsettings.h"

namespace {

TEST(LocaleFormatSettings, UnitedStates) {
  const TFormatSettings settings = LocaleFormatSettings(0x0409);
  EXPECT_EQ(settings.ShortDateFormat, u"M/d/yyyy");
  EXPECT_EQ(settings.DateSeparator, u'/');
  EXPECT_EQ(settings.TimeSeparator, u':');
  EXPECT_EQ(settings.DecimalSeparator, u'.');
  EXPECT_EQ(settings.LongTimeFormat, u"h:mm:ss AMPM");
  EXPECT_EQ(settings.ShortTimeFormat, u"h:mm AMPM");
  EXPECT_EQ(settings.LongMonthNames[0], u"January");
  EXPECT_EQ(settings.ShortDayNames[0], u"Sun");
  EXPECT_EQ(settings.LongDayNames[1], u"Monday");
}

TEST(LocaleFormatSettings, GermanyUsesTheTwentyFourHourClock) {
  const TFormatSettings settings = LocaleFormatSettings(0x0407);
  // Day, month and year with dots; whether with leading zeros depends on the system's locale data.
  EXPECT_NE(settings.ShortDateFormat.find(u'.'), String::npos);
  EXPECT_EQ(settings.ShortDateFormat.front(), u'd');
  EXPECT_EQ(settings.DateSeparator, u'.');
  EXPECT_EQ(settings.DecimalSeparator, u',');
  EXPECT_EQ(settings.LongTimeFormat, u"hh:mm:ss");
  EXPECT_EQ(settings.ShortTimeFormat, u"hh:mm");
}

}  // namespace
