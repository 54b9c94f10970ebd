#include "rtl/datetime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "rtl/exceptions.h"
#include "rtl/unicode.h"

namespace {

// Holds the clock at a fixed moment for the life of the object.
class ScopedClock final : public IDateTimeClock {
 public:
  explicit ScopedClock(TDateTime moment) : FMoment(moment), FPrevious(SetDateTimeClock(this)) {}
  ~ScopedClock() override { SetDateTimeClock(FPrevious); }
  TDateTime Now() const override { return FMoment; }

 private:
  TDateTime FMoment;
  const IDateTimeClock* FPrevious;
};

// Mid-2024, so the two-digit window with the default 50 is 1974..2073.
TDateTime FixedMoment() {
  return EncodeDateTime(2024, 6, 15, 10, 20, 30, 400);
}

template <class Fn>
String ConvertErrorOf(Fn&& fn) {
  try {
    fn();
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return u"(no error)";
}

// ---- Encoding and decoding ------------------------------------------------------

struct DateCase {
  Word year, month, day;
  double serial;
  Word dayOfWeek;  // 1 = Sunday
};

class DateEncoding : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateEncoding, EncodesDecodesAndKnowsTheWeekday) {
  const DateCase& c = GetParam();
  EXPECT_EQ(EncodeDate(c.year, c.month, c.day), c.serial);
  Word y, m, d, dow;
  DecodeDateFully(c.serial, y, m, d, dow);
  EXPECT_EQ(y, c.year);
  EXPECT_EQ(m, c.month);
  EXPECT_EQ(d, c.day);
  EXPECT_EQ(dow, c.dayOfWeek);
  EXPECT_EQ(DayOfWeek(c.serial), c.dayOfWeek);
  EXPECT_EQ(DayOfTheWeek(c.serial), (c.dayOfWeek + 5) % 7 + 1);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, DateEncoding,
                         ::testing::Values(DateCase{1899, 12, 30, 0, 7}, DateCase{1899, 12, 31, 1, 1},
                                           DateCase{1899, 12, 29, -1, 6}, DateCase{1900, 1, 1, 2, 2},
                                           DateCase{1900, 2, 28, 60, 4}, DateCase{1900, 3, 1, 61, 5},
                                           DateCase{1, 1, 1, -693593, 2}, DateCase{9999, 12, 31, 2958465, 6},
                                           DateCase{1970, 1, 1, 25569, 5}, DateCase{2000, 2, 29, 36585, 3},
                                           DateCase{2000, 3, 1, 36586, 4}, DateCase{2024, 2, 29, 45351, 5},
                                           DateCase{1600, 2, 29, -109512, 3}));

TEST(DateEncoding, RejectsDaysThatDoNotExist) {
  const Word bad[][3] = {{1900, 2, 29}, {2100, 2, 29}, {2001, 2, 29}, {2001, 4, 31}, {2001, 13, 1},
                         {2001, 0, 1},  {2001, 1, 0},  {0, 1, 1},     {10000, 1, 1}};
  for (const auto& d : bad) {
    TDateTime value = 123;
    EXPECT_FALSE(TryEncodeDate(d[0], d[1], d[2], value)) << d[0] << '-' << d[1] << '-' << d[2];
    EXPECT_EQ(value, 123);
    EXPECT_EQ(ConvertErrorOf([&] { EncodeDate(d[0], d[1], d[2]); }), u"Invalid argument to date encode");
  }
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInAMonth(2023, 2), 28);
  EXPECT_EQ(MonthDays(true, 2), 29);
  EXPECT_EQ(DaysInAYear(2000), 366);
}

TEST(TimeEncoding, AcceptsTheDayAndRejectsWhatLiesOutside) {
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  EXPECT_EQ(EncodeTime(23, 59, 59, 999), (MSecsPerDay - 1.0) / MSecsPerDay);
  const Word bad[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}};
  for (const auto& t : bad) {
    EXPECT_EQ(ConvertErrorOf([&] { EncodeTime(t[0], t[1], t[2], t[3]); }), u"Invalid argument to time encode");
  }
  EXPECT_EQ(ConvertErrorOf([] { EncodeDateTime(2001, 2, 30, 0, 0, 0, 0); }),
            u"'2001/2/30 0:0:0.0' is not a valid date and time");
}

struct DateTimeCase {
  double value;
  Word year, month, day, hour, min, sec, msec;
};

class DateTimeDecoding : public ::testing::TestWithParam<DateTimeCase> {};

TEST_P(DateTimeDecoding, SplitsDayAndTime) {
  const DateTimeCase& c = GetParam();
  Word y, m, d, h, n, s, z;
  DecodeDateTime(c.value, y, m, d, h, n, s, z);
  EXPECT_EQ((std::array<Word, 7>{y, m, d, h, n, s, z}),
            (std::array<Word, 7>{c.year, c.month, c.day, c.hour, c.min, c.sec, c.msec}));
}

INSTANTIATE_TEST_SUITE_P(Values, DateTimeDecoding,
                         ::testing::Values(DateTimeCase{0.5, 1899, 12, 30, 12, 0, 0, 0},
                                           // Before 1899-12-30 the fraction's absolute value is the time.
                                           DateTimeCase{-1.25, 1899, 12, 29, 6, 0, 0, 0},
                                           DateTimeCase{-0.5, 1899, 12, 30, 12, 0, 0, 0},
                                           DateTimeCase{-2.75, 1899, 12, 28, 18, 0, 0, 0},
                                           // Rounding to the millisecond may carry into the next day.
                                           DateTimeCase{0.99999999999, 1899, 12, 31, 0, 0, 0, 0},
                                           DateTimeCase{36526.0 + 1.0 / MSecsPerDay, 2000, 1, 1, 0, 0, 0, 1},
                                           DateTimeCase{2958465.99999999, 9999, 12, 31, 23, 59, 59, 999},
                                           // Outside years 1..9999 there is no date, but still a time.
                                           DateTimeCase{-693594.5, 0, 0, 0, 12, 0, 0, 0},
                                           DateTimeCase{2958466.25, 0, 0, 0, 6, 0, 0, 0},
                                           DateTimeCase{std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 0, 0, 0, 0},
                                           DateTimeCase{1e300, 0, 0, 0, 0, 0, 0, 0}));

TEST(DateTimeEncoding, PutsTheTimeOnTheSideOfTheDay) {
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
  EXPECT_EQ(EncodeDateTime(1899, 12, 30, 6, 0, 0, 0), 0.25);
  EXPECT_EQ(EncodeDateTime(1899, 12, 31, 18, 0, 0, 0), 1.75);
  const TTimeStamp stamp = DateTimeToTimeStamp(-1.25);
  EXPECT_EQ(stamp.Date, DateDelta - 1);
  EXPECT_EQ(stamp.Time, 6 * 3600000);
  EXPECT_EQ(TimeStampToDateTime(stamp), -1.25);
  EXPECT_EQ(DateOf(-1.25), -1);
  EXPECT_EQ(TimeOf(-1.25), -0.25);
  EXPECT_THROW(DateTimeToTimeStamp(std::numeric_limits<double>::infinity()), EConvertError);
}

// ---- Weeks ---------------------------------------------------------------------------

struct WeekCase {
  Word year, month, day;
  Word isoYear, week, isoDay;
};

class IsoWeeks : public ::testing::TestWithParam<WeekCase> {};

TEST_P(IsoWeeks, BelongToTheYearOfTheirThursday) {
  const WeekCase& c = GetParam();
  Word isoYear, week, isoDay;
  DecodeDateWeek(EncodeDate(c.year, c.month, c.day), isoYear, week, isoDay);
  EXPECT_EQ(isoYear, c.isoYear);
  EXPECT_EQ(week, c.week);
  EXPECT_EQ(isoDay, c.isoDay);
  EXPECT_EQ(WeekOfTheYear(EncodeDate(c.year, c.month, c.day)), c.week);
}

INSTANTIATE_TEST_SUITE_P(YearEnds, IsoWeeks,
                         ::testing::Values(WeekCase{2005, 1, 1, 2004, 53, 6}, WeekCase{2005, 1, 2, 2004, 53, 7},
                                           WeekCase{2005, 12, 31, 2005, 52, 6}, WeekCase{2007, 1, 1, 2007, 1, 1},
                                           WeekCase{2007, 12, 30, 2007, 52, 7}, WeekCase{2007, 12, 31, 2008, 1, 1},
                                           WeekCase{2008, 12, 29, 2009, 1, 1}, WeekCase{2009, 12, 31, 2009, 53, 4},
                                           WeekCase{2010, 1, 3, 2009, 53, 7}, WeekCase{2010, 1, 4, 2010, 1, 1},
                                           WeekCase{2021, 1, 1, 2020, 53, 5}, WeekCase{2026, 1, 1, 2026, 1, 4},
                                           WeekCase{1, 1, 1, 1, 1, 1}, WeekCase{9999, 12, 31, 9999, 52, 5}));

// ---- Arithmetic ----------------------------------------------------------------------

TEST(DateArithmetic, MonthsKeepTheDayWhereTheMonthAllows) {
  struct {
    Word y, m, d;
    Integer months;
    Word ey, em, ed;
  } cases[] = {{2001, 1, 31, 1, 2001, 2, 28},    {2000, 1, 31, 1, 2000, 2, 29},   {2000, 3, 31, -1, 2000, 2, 29},
               {2000, 12, 15, 1, 2001, 1, 15},   {2000, 1, 15, -1, 1999, 12, 15}, {2000, 1, 15, 25, 2002, 2, 15},
               {2000, 1, 15, -13, 1998, 12, 15}, {2000, 5, 31, -12, 1999, 5, 31}, {2000, 7, 10, 0, 2000, 7, 10}};
  for (const auto& c : cases) {
    const TDateTime from = EncodeDateTime(c.y, c.m, c.d, 8, 30, 0, 0);
    EXPECT_EQ(IncMonth(from, c.months), EncodeDateTime(c.ey, c.em, c.ed, 8, 30, 0, 0))
        << c.y << '-' << c.m << '-' << c.d << " + " << c.months;
  }
  EXPECT_EQ(IncYear(EncodeDate(2000, 2, 29), 1), EncodeDate(2001, 2, 28));
  EXPECT_EQ(ConvertErrorOf([] { IncMonth(EncodeDate(9999, 12, 1), 1); }), u"Invalid argument to date encode");
  EXPECT_EQ(ConvertErrorOf([] { IncMonth(EncodeDate(1, 1, 1), -1); }), u"Invalid argument to date encode");
  // Before 1899-12-30 the time part keeps its meaning.
  EXPECT_EQ(IncMonth(EncodeDateTime(1899, 11, 29, 6, 0, 0, 0), 1), EncodeDateTime(1899, 12, 29, 6, 0, 0, 0));
}

TEST(DateArithmetic, DaysCrossTheEpochByTheClock) {
  EXPECT_EQ(IncDay(10.5, 3), 13.5);
  EXPECT_EQ(IncDay(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), 2), EncodeDateTime(1899, 12, 31, 6, 0, 0, 0));
  EXPECT_EQ(IncDay(EncodeDateTime(1899, 12, 31, 6, 0, 0, 0), -3), EncodeDateTime(1899, 12, 28, 6, 0, 0, 0));
  EXPECT_EQ(IncWeek(EncodeDate(2024, 2, 26), 1), EncodeDate(2024, 3, 4));
  TDateTime value = EncodeDateTime(2001, 2, 3, 3, 0, 0, 0);
  ReplaceDate(value, EncodeDate(1899, 12, 20));
  EXPECT_EQ(value, EncodeDateTime(1899, 12, 20, 3, 0, 0, 0));
  ReplaceTime(value, 0.75);
  EXPECT_EQ(value, EncodeDateTime(1899, 12, 20, 18, 0, 0, 0));
}

TEST(DateParts, AreReadFromTheValue) {
  const TDateTime v = EncodeDateTime(2024, 12, 31, 23, 58, 57, 956);
  EXPECT_EQ(YearOf(v), 2024);
  EXPECT_EQ(MonthOf(v), 12);
  EXPECT_EQ(DayOf(v), 31);
  EXPECT_EQ(HourOf(v), 23);
  EXPECT_EQ(MinuteOf(v), 58);
  EXPECT_EQ(SecondOf(v), 57);
  EXPECT_EQ(MilliSecondOf(v), 956);
  EXPECT_EQ(DayOfTheYear(v), 366);
  EXPECT_EQ(DayOfTheYear(EncodeDate(2023, 3, 1)), 60);
}

TEST(DateConversions, UnixSecondsAndFileDates) {
  EXPECT_EQ(DateTimeToUnix(EncodeDate(1970, 1, 1)), 0);
  EXPECT_EQ(DateTimeToUnix(EncodeDateTime(2001, 9, 9, 1, 46, 40, 0)), 1000000000);
  EXPECT_EQ(UnixToDateTime(1000000000), EncodeDateTime(2001, 9, 9, 1, 46, 40, 0));
  const TDateTime old = EncodeDateTime(1899, 12, 29, 12, 0, 0, 0);
  EXPECT_EQ(DateTimeToUnix(old), -Int64{UnixDateDelta} * SecsPerDay - SecsPerDay / 2);
  EXPECT_EQ(UnixToDateTime(DateTimeToUnix(old)), old);

  const TDateTime stamp = EncodeDateTime(2021, 6, 15, 13, 45, 31, 0);
  const Integer packed = DateTimeToFileDate(stamp);
  EXPECT_EQ(static_cast<Cardinal>(packed), (((2021u - 1980) << 9 | 6 << 5 | 15) << 16) | (13 << 11 | 45 << 5 | 15));
  EXPECT_EQ(FileDateToDateTime(packed), EncodeDateTime(2021, 6, 15, 13, 45, 30, 0));  // two-second steps
  EXPECT_EQ(DateTimeToFileDate(EncodeDate(1979, 12, 31)), 0);
  EXPECT_THROW(FileDateToDateTime(0), EConvertError);  // month 0
}

TEST(Clock, CanBeReplacedAndRestored) {
  {
    ScopedClock clock(FixedMoment());
    EXPECT_EQ(Now(), FixedMoment());
    EXPECT_EQ(Date(), EncodeDate(2024, 6, 15));
    EXPECT_EQ(Time(), FixedMoment() - EncodeDate(2024, 6, 15));
    EXPECT_EQ(CurrentYear(), 2024);
  }
  // The system clock again: some day after this code was written.
  EXPECT_GT(Now(), EncodeDate(2024, 1, 1));
  EXPECT_GE(Time(), 0.0);
  EXPECT_LT(Time(), 1.0);
}

// ---- Formatting -------------------------------------------------------------------------

struct FormatCase {
  const char* format;
  const char* expected;
};

class FormattingSaturdayAfternoon : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormattingSaturdayAfternoon, FollowsTheFormatLanguage) {
  const TFormatSettings settings;  // the US English defaults
  const TDateTime value = EncodeDateTime(2001, 2, 3, 14, 5, 6, 7);
  EXPECT_EQ(FormatDateTime(S(GetParam().format), value, settings), S(GetParam().expected)) << GetParam().format;
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, FormattingSaturdayAfternoon,
    ::testing::Values(
        FormatCase{"c", "2/3/2001 2:05:06 PM"}, FormatCase{"", "2/3/2001 2:05:06 PM"},
        FormatCase{"d dd ddd dddd", "3 03 Sat Saturday"}, FormatCase{"ddddd", "2/3/2001"},
        FormatCase{"dddddd", "Saturday, February 3, 2001"}, FormatCase{"DDDDDDD", "Saturday, February 3, 2001"},
        FormatCase{"m mm mmm mmmm mmmmm", "2 02 Feb February February"}, FormatCase{"y yy yyy yyyy", "01 01 2001 2001"},
        FormatCase{"h hh hhh n nn s ss z zz zzz zzzz", "14 14 14 5 05 6 06 7 07 007 007"}, FormatCase{"h:m", "14:5"},
        FormatCase{"hh:mm:ss", "14:05:06"}, FormatCase{"HH:MM", "14:05"}, FormatCase{"h d m", "14 3 2"},
        FormatCase{"hh nn mm", "14 05 02"}, FormatCase{"hh:nn am/pm", "02:05 pm"},
        FormatCase{"hh:nn AM/PM", "02:05 PM"}, FormatCase{"h a/p", "2 p"}, FormatCase{"h ampm", "2 PM"},
        FormatCase{"h 'a/p' h", "14 a/p 14"}, FormatCase{"t", "2:05 PM"}, FormatCase{"tt", "2:05:06 PM"},
        FormatCase{"aaa aaaa", "Sat Saturday"}, FormatCase{"e ee g gg", "2001 2001 A.D. A.D."},
        FormatCase{"'h' h \"mm\" mm", "h 14 mm 05"}, FormatCase{"yyyy/mm/dd hh:nn", "2001/02/03 14:05"},
        FormatCase{"x#!'open", "x#!open"}, FormatCase{"a b", "a b"},
        // Quoted text is copied as it stands, blanks outside the quotes too.
        FormatCase{"\"On \" dddd", "On  Saturday"}));

TEST(Formatting, UsesTheSettingsSeparatorsAndNames) {
  TFormatSettings settings;
  settings.DateSeparator = u'-';
  settings.TimeSeparator = u'.';
  settings.ShortDateFormat = u"dd/mm/yyyy";
  settings.LongTimeFormat = u"hh:nn:ss";
  settings.LongMonthNames[1] = u"Februar";
  const TDateTime value = EncodeDateTime(2001, 2, 3, 14, 5, 6, 0);
  EXPECT_EQ(FormatDateTime(u"c", value, settings), u"03-02-2001 14.05.06");
  EXPECT_EQ(FormatDateTime(u"mmmm", value, settings), u"Februar");
  EXPECT_EQ(DateToStr(value, settings), u"03-02-2001");
  EXPECT_EQ(TimeToStr(value, settings), u"14.05.06");
  settings.DateSeparator = 0;
  EXPECT_EQ(FormatDateTime(u"yyyy/mm", value, settings), u"200102");
}

TEST(Formatting, WritesMidnightAndNoonOnTheTwelveHourClock) {
  const TFormatSettings settings;
  EXPECT_EQ(DateTimeToStr(EncodeDate(2001, 2, 3), settings), u"2/3/2001");
  EXPECT_EQ(DateTimeToStr(EncodeDateTime(2001, 2, 3, 0, 0, 0, 1), settings), u"2/3/2001 12:00:00 AM");
  EXPECT_EQ(FormatDateTime(u"h:nn ampm", EncodeTime(0, 30, 0, 0), settings), u"12:30 AM");
  EXPECT_EQ(FormatDateTime(u"h:nn ampm", EncodeTime(12, 0, 0, 0), settings), u"12:00 PM");
  EXPECT_EQ(TimeToStr(EncodeTime(23, 59, 0, 0), settings), u"11:59:00 PM");
}

TEST(Formatting, ExpandsNestedFormatsOnlyOneLevelDeep) {
  TFormatSettings settings;
  settings.ShortDateFormat = u"c";
  settings.LongTimeFormat = u"tt";
  EXPECT_EQ(FormatDateTime(u"[c]", EncodeDateTime(2001, 2, 3, 1, 0, 0, 0), settings), u"[  ]");
  EXPECT_EQ(FormatDateTime(u"yyyy", std::numeric_limits<double>::quiet_NaN(), settings), u"0000");
}

// ---- Reading ----------------------------------------------------------------------------

struct ReadCase {
  const char* name;
  const char* shortDateFormat;
  char16_t separator;
  Word window;
  const char* text;
  Word year, month, day;  // year 0: the text is no date
};

class DateReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(DateReading, ReadsNumbersInTheOrderOfTheShortFormat) {
  const ReadCase& c = GetParam();
  ScopedClock clock(FixedMoment());
  TFormatSettings settings;
  settings.ShortDateFormat = S(c.shortDateFormat);
  settings.DateSeparator = c.separator;
  settings.TwoDigitYearCenturyWindow = c.window;
  TDateTime value = -1;
  const bool ok = TryStrToDate(S(c.text), value, settings);
  if (c.year == 0) {
    EXPECT_FALSE(ok);
    EXPECT_EQ(ConvertErrorOf([&] { StrToDate(S(c.text), settings); }), u"'" + S(c.text) + u"' is not a valid date");
  } else {
    ASSERT_TRUE(ok);
    EXPECT_EQ(value, EncodeDate(c.year, c.month, c.day));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DateReading,
    ::testing::Values(ReadCase{"Full", "M/d/yyyy", u'/', 50, "2/15/1995", 1995, 2, 15},
                      ReadCase{"Blanks", "M/d/yyyy", u'/', 50, "  2 / 15 / 1995  ", 1995, 2, 15},
                      ReadCase{"TrailingSeparator", "M/d/yyyy", u'/', 50, "2/15/1995/", 1995, 2, 15},
                      ReadCase{"NoYear", "M/d/yyyy", u'/', 50, "2/15", 2024, 2, 15},
                      ReadCase{"TwoDigitsInWindow", "M/d/yyyy", u'/', 50, "2/15/95", 1995, 2, 15},
                      ReadCase{"WindowStart", "M/d/yyyy", u'/', 50, "2/15/74", 1974, 2, 15},
                      ReadCase{"WindowEnd", "M/d/yyyy", u'/', 50, "2/15/73", 2073, 2, 15},
                      ReadCase{"OneDigit", "M/d/yyyy", u'/', 50, "2/15/5", 2005, 2, 15},
                      ReadCase{"NoWindow", "M/d/yyyy", u'/', 0, "2/15/95", 2095, 2, 15},
                      ReadCase{"ThreeDigitsAsIs", "M/d/yyyy", u'/', 50, "2/15/095", 95, 2, 15},
                      ReadCase{"DayFirstWithDots", "dd.MM.yyyy", u'.', 50, "15.2.1995", 1995, 2, 15},
                      ReadCase{"DayFirstNoYear", "dd.MM.yyyy", u'.', 50, "15.2", 2024, 2, 15},
                      ReadCase{"YearFirstWithDashes", "yyyy-MM-dd", u'-', 50, "1995-02-15", 1995, 2, 15},
                      ReadCase{"YearFirstTwoDigits", "yy-MM-dd", u'-', 50, "30-02-15", 2030, 2, 15},
                      ReadCase{"BlankSeparator", "d M yyyy", u' ', 50, "15 2 1995", 1995, 2, 15},
                      ReadCase{"WrongSeparator", "M/d/yyyy", u'/', 50, "2-15-1995", 0, 0, 0},
                      ReadCase{"NoSuchDay", "M/d/yyyy", u'/', 50, "2/30/1995", 0, 0, 0},
                      ReadCase{"TrailingText", "M/d/yyyy", u'/', 50, "2/15/1995x", 0, 0, 0},
                      ReadCase{"LongNumber", "M/d/yyyy", u'/', 50, "2/15/19950", 0, 0, 0},
                      ReadCase{"OneNumber", "M/d/yyyy", u'/', 50, "2", 0, 0, 0},
                      ReadCase{"Empty", "M/d/yyyy", u'/', 50, "", 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct TimeReadCase {
  const char* text;
  int hour, min, sec, msec;  // hour -1: the text is no time
};

class TimeReading : public ::testing::TestWithParam<TimeReadCase> {};

TEST_P(TimeReading, ReadsClockTimesWithOptionalMarkers) {
  const TimeReadCase& c = GetParam();
  const TFormatSettings settings;
  TDateTime value = -1;
  const bool ok = TryStrToTime(S(c.text), value, settings);
  if (c.hour < 0) {
    EXPECT_FALSE(ok) << c.text;
    EXPECT_EQ(ConvertErrorOf([&] { StrToTime(S(c.text), settings); }), u"'" + S(c.text) + u"' is not a valid time");
  } else {
    ASSERT_TRUE(ok) << c.text;
    EXPECT_EQ(value, EncodeTime(c.hour, c.min, c.sec, c.msec)) << c.text;
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, TimeReading,
                         ::testing::Values(TimeReadCase{"10", 10, 0, 0, 0}, TimeReadCase{"10:30", 10, 30, 0, 0},
                                           TimeReadCase{" 10 : 30 : 15 ", 10, 30, 15, 0},
                                           TimeReadCase{"10:30:15.250", 10, 30, 15, 250},
                                           // The milliseconds are a plain number, not a fraction.
                                           TimeReadCase{"10:30:15.5", 10, 30, 15, 5},
                                           TimeReadCase{"10:30am", 10, 30, 0, 0}, TimeReadCase{"12:00 AM", 0, 0, 0, 0},
                                           TimeReadCase{"12:00 pm", 12, 0, 0, 0}, TimeReadCase{"PM 1:05", 13, 5, 0, 0},
                                           TimeReadCase{"13:00 PM", -1, 0, 0, 0}, TimeReadCase{"0:10 AM", -1, 0, 0, 0},
                                           TimeReadCase{"24:00", -1, 0, 0, 0}, TimeReadCase{"10:", -1, 0, 0, 0},
                                           TimeReadCase{"10:30:", -1, 0, 0, 0}, TimeReadCase{"10:60", -1, 0, 0, 0},
                                           TimeReadCase{"ten", -1, 0, 0, 0}, TimeReadCase{"", -1, 0, 0, 0}));

TEST(DateTimeReading, ReadsTheDocumentedMeetingExample) {
  ScopedClock clock(FixedMoment());
  const TFormatSettings settings;
  const TDateTime meeting = StrToDateTime(u"2/15/95 10:30am", settings);
  EXPECT_EQ(meeting, EncodeDateTime(1995, 2, 15, 10, 30, 0, 0));
  EXPECT_EQ(FormatDateTime(u"\"The meeting is on \"dddd, mmmm d, yyyy\" at \"hh:mm AM/PM", meeting, settings),
            u"The meeting is on Wednesday, February 15, 1995 at 10:30 AM");
}

TEST(DateTimeReading, TakesDateTimeDateOrTime) {
  ScopedClock clock(FixedMoment());
  const TFormatSettings settings;
  EXPECT_EQ(StrToDateTime(u"2/3/2001 2:05:06 PM", settings), EncodeDateTime(2001, 2, 3, 14, 5, 6, 0));
  EXPECT_EQ(StrToDateTime(u"2/3/2001", settings), EncodeDate(2001, 2, 3));
  EXPECT_EQ(StrToDateTime(u"14:05", settings), EncodeTime(14, 5, 0, 0));
  EXPECT_EQ(StrToDateTime(u"12/29/1899 6:00", settings), -1.25);
  for (const char16_t* bad : {u"2/3/2001 25:00", u"2/3/2001 10:00 x", u"abc", u""}) {
    EXPECT_EQ(ConvertErrorOf([&] { StrToDateTime(bad, settings); }),
              u"'" + String(bad) + u"' is not a valid date and time");
  }
  EXPECT_EQ(StrToDateDef(u"nonsense", 7.0), 7.0);
  EXPECT_EQ(StrToDateTimeDef(u"nonsense", 8.0), 8.0);
}

TEST(DateTimeReading, ReadsBackWhatItWrites) {
  ScopedClock clock(FixedMoment());
  TFormatSettings german;
  german.ShortDateFormat = u"dd.MM.yyyy";
  german.DateSeparator = u'.';
  german.LongTimeFormat = u"hh:nn:ss";
  const TFormatSettings* all[] = {&FormatSettings(), &InvariantFormatSettings(), &german};
  for (const TFormatSettings* settings : all) {
    for (const TDateTime value :
         {EncodeDateTime(2001, 2, 3, 14, 5, 6, 0), EncodeDate(1995, 12, 31), EncodeDateTime(1899, 12, 29, 6, 0, 0, 0),
          EncodeDateTime(9999, 12, 31, 23, 59, 59, 0)}) {
      const String text = DateTimeToStr(value, *settings);
      EXPECT_EQ(StrToDateTime(text, *settings), value) << StringToUTF8(text);
    }
  }
}

}  // namespace
