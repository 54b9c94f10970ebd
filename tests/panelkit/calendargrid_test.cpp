#include "panelkit/calendargrid.h"

#include <gtest/gtest.h>

#include "rtl/unicode.h"

namespace {

std::string U8(const String& s) {
  return StringToUTF8(s);
}

// Every month of a few years, with both week starts: the grid begins on the
// start day, the 1st sits at its weekday's column, the month's days fill the
// counted rows exactly, and the 42 cells run on day by day.
TEST(CalendarGrid, EveryMonthOfSeveralYearsLaysOutWithBothWeekStarts) {
  for (TStartDayOfWeek start : {dwMonday, dwSunday}) {
    for (Word year : {1999, 2000, 2019, 2020, 2021, 2026}) {
      for (Word month = 1; month <= 12; ++month) {
        SCOPED_TRACE(testing::Message() << year << "-" << month << (start == dwMonday ? " Monday" : " Sunday"));
        const TCalendarMonth grid{year, month, start};
        const TDateTime first = EncodeDate(year, month, 1);
        const Integer days = DaysInAMonth(year, month);
        const Integer offset = grid.LeadingDays();
        ASSERT_GE(offset, 0);
        ASSERT_LE(offset, 6);
        EXPECT_EQ(CalendarColumn(grid.FirstCellDate(), start), 1);
        EXPECT_EQ(grid.CellDate(offset % 7, offset / 7), first);
        EXPECT_EQ(grid.RowCount(), (offset + days + 6) / 7);
        EXPECT_GE(grid.RowCount(), 4);
        EXPECT_LE(grid.RowCount(), 6);
        const TDateTime last = EncodeDate(year, month, static_cast<Word>(days));
        const Integer lastCell = offset + days - 1;
        EXPECT_EQ(grid.CellDate(lastCell % 7, lastCell / 7), last);
        EXPECT_EQ(lastCell / 7, grid.RowCount() - 1);
        for (Integer cell = 0; cell < 42; ++cell) {
          const TDateTime date = grid.CellDate(cell % 7, cell / 7);
          EXPECT_EQ(CalendarColumn(date, start), cell % 7 + 1);
          EXPECT_EQ(grid.Shows(date), cell >= offset && cell <= lastCell);
        }
      }
    }
  }
}

struct RowCase {
  Word Year, Month;
  TStartDayOfWeek Start;
  Integer Leading, Rows;
};

TEST(CalendarGrid, RowsCountTheLeadingCellsAndTheDays) {
  const RowCase cases[] = {
      {2015, 2, dwSunday, 0, 4},  // 1 February 2015 is a Sunday: four full weeks
      {2021, 2, dwMonday, 0, 4},  // 1 February 2021 is a Monday
      {2020, 8, dwSunday, 6, 6},  // a month starting on the week's last day (Saturday)
      {2021, 8, dwMonday, 6, 6},  // 1 August 2021 is a Sunday, last day of a Monday week
      {2020, 2, dwSunday, 6, 5},  // 29 days from Saturday
      {2026, 12, dwMonday, 1, 5},
  };
  for (const RowCase& c : cases) {
    const TCalendarMonth grid{c.Year, c.Month, c.Start};
    EXPECT_EQ(grid.LeadingDays(), c.Leading) << c.Year << "-" << c.Month;
    EXPECT_EQ(grid.RowCount(), c.Rows) << c.Year << "-" << c.Month;
  }
}

TEST(CalendarGrid, StartDayAndHeaderFollowTheLocaleWhenAutomatic) {
  EXPECT_EQ(ResolveStartDay(dwAutomatic, 0), dwMonday);
  EXPECT_EQ(ResolveStartDay(dwAutomatic, 5), dwSunday);  // a Saturday week shows Sunday first
  EXPECT_EQ(ResolveStartDay(dwAutomatic, 6), dwSunday);
  EXPECT_EQ(ResolveStartDay(dwMonday, 6), dwMonday);
  EXPECT_EQ(ResolveStartDay(dwSunday, 0), dwSunday);
  EXPECT_EQ(ParseLocaleFirstDay(u"0"), 0);
  EXPECT_EQ(ParseLocaleFirstDay(u"5"), 5);
  EXPECT_EQ(ParseLocaleFirstDay(u""), 6);
  EXPECT_EQ(ParseLocaleFirstDay(u"x"), 6);
  const Integer mondayHeader[] = {2, 3, 4, 5, 6, 7, 1};
  for (Integer column = 1; column <= 7; ++column) {
    EXPECT_EQ(CalendarHeaderDayIndex(column, dwMonday), mondayHeader[column - 1]);
    EXPECT_EQ(CalendarHeaderDayIndex(column, dwSunday), column);
  }
}

TEST(CalendarGrid, MonthStepsWrapAtYearEnds) {
  struct Case {
    Word Year, Month;
    Integer Step;
    Word ExpectedYear, ExpectedMonth;
  };
  const Case cases[] = {{2010, 12, 1, 2011, 1}, {2010, 1, -1, 2009, 12},  {2020, 1, -1, 2019, 12},
                        {2020, 6, 12, 2021, 6}, {2020, 6, -18, 2018, 12}, {1, 1, -1, 1, 1},
                        {9999, 12, 1, 9999, 12}};
  for (const Case& c : cases) {
    Word year = c.Year, month = c.Month;
    StepCalendarMonth(year, month, c.Step);
    EXPECT_EQ(year, c.ExpectedYear) << c.Year << "-" << c.Month << " " << c.Step;
    EXPECT_EQ(month, c.ExpectedMonth) << c.Year << "-" << c.Month << " " << c.Step;
  }
}

TEST(CalendarGrid, KeyStepsMoveByDaysWeeksMonthsAndYears) {
  struct Case {
    TDateKeyStep Step;
    TDateTime From, Expected;
  };
  const Case cases[] = {
      {TDateKeyStep::MonthOn, EncodeDate(2021, 1, 31), EncodeDate(2021, 2, 28)},
      {TDateKeyStep::MonthOn, EncodeDate(2020, 1, 31), EncodeDate(2020, 2, 29)},
      {TDateKeyStep::MonthBack, EncodeDate(2021, 3, 31), EncodeDate(2021, 2, 28)},
      {TDateKeyStep::YearOn, EncodeDate(2020, 2, 29), EncodeDate(2021, 2, 28)},
      {TDateKeyStep::YearBack, EncodeDate(2020, 5, 4), EncodeDate(2019, 5, 4)},
      {TDateKeyStep::DayBack, EncodeDate(2021, 1, 1), EncodeDate(2020, 12, 31)},
      {TDateKeyStep::DayOn, EncodeDate(2020, 12, 31), EncodeDate(2021, 1, 1)},
      {TDateKeyStep::WeekOn, EncodeDate(2020, 12, 28), EncodeDate(2021, 1, 4)},
      {TDateKeyStep::WeekBack, EncodeDate(2021, 1, 4), EncodeDate(2020, 12, 28)},
      {TDateKeyStep::YearOn, EncodeDate(9999, 6, 1), EncodeDate(9999, 6, 1)},  // stays in range
      {TDateKeyStep::DayOn, EncodeDate(9999, 12, 31), EncodeDate(9999, 12, 31)},
      {TDateKeyStep::WeekOn, EncodeDate(9999, 12, 28), EncodeDate(9999, 12, 28)},
      {TDateKeyStep::DayBack, EncodeDate(1, 1, 1), EncodeDate(1, 1, 1)},
      {TDateKeyStep::WeekBack, EncodeDate(1, 1, 3), EncodeDate(1, 1, 3)},
      {TDateKeyStep::MonthBack, EncodeDate(1, 1, 3), EncodeDate(1, 1, 3)},
  };
  for (const Case& c : cases) EXPECT_EQ(StepDate(c.From, c.Step), c.Expected) << c.From;
}

TEST(CalendarGrid, PickerTextsFollowTheLocaleFormats) {
  TFormatSettings us;
  TFormatSettings german;
  german.DateSeparator = u'.';
  german.ShortDateFormat = u"dd.MM.yyyy";
  german.LongTimeFormat = u"HH:mm:ss";
  const TDateTime date = EncodeDate(2021, 3, 7);
  EXPECT_EQ(U8(DatePickerText(date, us)), "3/7/2021");
  EXPECT_EQ(U8(DatePickerText(date, german)), "07.03.2021");
  EXPECT_EQ(U8(DatePickerText(date + EncodeTime(14, 5, 0, 0), german)), "07.03.2021 14:05:00");
  const TDateTime today = EncodeDate(2026, 12, 10);
  EXPECT_EQ(ReadDatePickerText(u"", today, german), today);
  EXPECT_EQ(ReadDatePickerText(u"0", today, german), today);
  EXPECT_EQ(ReadDatePickerText(u"07.03.2021", today, german), date);
  EXPECT_EQ(ReadDatePickerText(u"3/7/2021", today, us), date);
  EXPECT_EQ(ReadDatePickerText(u"no date", today, us), 0);
}

}  // namespace
