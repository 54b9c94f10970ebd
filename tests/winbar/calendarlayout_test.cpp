#include "winbar/calendarlayout.h"

#include <gtest/gtest.h>

#include <cmath>

#include "rtl/exceptions.h"
#include "winbar/graphutils.h"

namespace {

// The reference: a day's column is its weekday counted from the week's
// first day, and a new row starts whenever that column comes round again.
void CheckSheet(Word year, Word month, Integer startOfWeek, bool weekNumbers, bool extraColumn) {
  TMonthSheet sheet{year, month, startOfWeek, weekNumbers, extraColumn};
  const Integer days = DaysInAMonth(year, month);
  const Integer first = sheet.FirstDayColumn();
  const Integer leading = (DayOfWeek(EncodeDate(year, month, 1)) - 1 - startOfWeek + 7) % 7;
  SCOPED_TRACE(testing::Message() << year << "-" << month << " start " << startOfWeek << " weeks " << weekNumbers);
  ASSERT_EQ(sheet.WeekRows(), static_cast<Integer>(std::ceil((leading + days) / 7.0)));
  ASSERT_EQ(sheet.RowCount(), sheet.WeekRows() + 1) << "plus the header row";
  ASSERT_EQ(sheet.ColCount(), first + 7 + (extraColumn ? 1 : 0));
  Integer row = 1, seen = 0;
  for (Integer day = 1; day <= days; ++day) {
    const Integer col = first + (DayOfWeek(EncodeDate(year, month, day)) - 1 - startOfWeek + 7) % 7;
    if (day > 1 && col == first) ++row;
    ASSERT_EQ(sheet.DayCell(day).X, col) << day;
    ASSERT_EQ(sheet.DayCell(day).Y, row) << day;
    ASSERT_EQ(sheet.CellDay(col, row), day);
  }
  ASSERT_EQ(row, sheet.WeekRows()) << "the last day lies in the last row";
  for (Integer r = 0; r < sheet.RowCount(); ++r) {
    for (Integer c = 0; c < sheet.ColCount(); ++c) {
      if (sheet.CellDay(c, r) != 0) ++seen;
    }
  }
  ASSERT_EQ(seen, days) << "every day shown once, nothing else";
  // Each week row's number is that of a day of the month in that row.
  for (Integer r = 1; r <= sheet.WeekRows(); ++r) {
    const Integer day = sheet.WeekNumberDay(r);
    ASSERT_GE(day, 1);
    ASSERT_LE(day, days);
    ASSERT_TRUE(day == 1 || sheet.DayCell(day).Y == r) << r;
  }
  ASSERT_EQ(sheet.WeekNumberDay(sheet.WeekRows() + 1), 0) << "a row after the month asks for no day";
  // The header names the weekday of the days below it.
  const TPoint firstCell = sheet.DayCell(1);
  ASSERT_EQ(sheet.HeaderWeekday(firstCell.X), DayOfWeek(EncodeDate(year, month, 1)));
  ASSERT_EQ(sheet.CellDay(firstCell.X, 0), 0) << "header row";
  if (weekNumbers) {
    ASSERT_EQ(sheet.CellDay(0, firstCell.Y), 0) << "week-number column";
  }
  if (extraColumn) {
    ASSERT_EQ(sheet.CellDay(first + 7, firstCell.Y), 0) << "summary column";
  }
}

}  // namespace

TEST(CalendarSheet, EveryMonthFrom2020To2030WithBothWeekStarts) {
  for (Word year = 2020; year <= 2030; ++year)
    for (Word month = 1; month <= 12; ++month)
      for (Integer start : {0, 1})
        for (bool weekNumbers : {true, false}) CheckSheet(year, month, start, weekNumbers, !weekNumbers);
}

TEST(CalendarSheet, AnyFirstDayOfTheWeekLaysOutTheMonth) {
  for (Word month = 1; month <= 12; ++month)
    for (Integer start = 0; start < 7; ++start) CheckSheet(2024, month, start, true, true);
}

TEST(CalendarSheet, AMonthStartingLateInTheWeekGetsAllItsRows) {
  // 1 June 2024 is a Saturday: with Sunday first, six leading cells and 30
  // days need six week rows (the Monday-based estimate gave five).
  TMonthSheet june{2024, 6, 0, true, false};
  EXPECT_EQ(june.WeekRows(), 6);
  EXPECT_EQ(june.RowCount(), 7);
  EXPECT_EQ(june.DayCell(30).Y, 6);
  EXPECT_EQ(june.CellDay(1 + 0, 6), 30) << "30 June is a Sunday, first column of the last row";
  june.StartOfWeek = 1;
  EXPECT_EQ(june.WeekRows(), 5);
  // February 2026 starts on a Sunday and fills exactly...
  EXPECT_EQ((TMonthSheet{2026, 2, 1, true, false}.WeekRows()), 5);
  EXPECT_EQ((TMonthSheet{2026, 2, 0, true, false}.WeekRows()), 4);
}

TEST(CalendarSheet, OffsetsForMonthsStartingOnSundayAndMonday) {
  // March 2026 starts on a Sunday: with Monday first, day 1 is in the last column.
  TMonthSheet march{2026, 3, 1, true, false};
  EXPECT_EQ(march.MonthOffset(), -5);
  EXPECT_EQ(march.DayCell(1).X, 7);
  EXPECT_EQ(march.DayCell(1).Y, 1);
  // June 2026 starts on a Monday.
  TMonthSheet june{2026, 6, 1, false, false};
  EXPECT_EQ(june.MonthOffset(), 1);
  EXPECT_EQ(june.DayCell(1).X, 0) << "without week numbers the first column holds days";
  EXPECT_EQ(june.HeaderWeekday(0), 2) << "Monday";
}

TEST(CalendarSheet, CellSizesShareTheClientArea) {
  // 8 columns, the week column 24 wide, 1-pixel lines: (400 - 24 - 8) / 7.
  TSheetSizes s = SheetCellSizes(400, 300, 8, 6, 1, 24, 23, 0);
  EXPECT_EQ(s.WeekColumnWidth, 24);
  EXPECT_EQ(s.DefaultColWidth, 52);
  EXPECT_EQ(s.HeaderHeight, 23);
  EXPECT_EQ(s.RowHeight, (300 - 23 - 6) / 5);
  s = SheetCellSizes(350, 300, 7, 6, 0, 0, 23, 20);
  EXPECT_EQ(s.DefaultColWidth, 50);
  EXPECT_EQ(s.RowHeight, 20);
  s = SheetCellSizes(5, 5, 8, 7, 1, 24, 23, 0);
  EXPECT_EQ(s.DefaultColWidth, 0) << "never below 0";
  EXPECT_EQ(s.RowHeight, 0);
  EXPECT_EQ(FixedCellSheetHeight(13, 20, 6, 1), 13 + 10 + 21 * 5 + 1 + 4);
}

TEST(CalendarSheet, IsoWeeksAndYearSteps) {
  EXPECT_EQ(IsoWeekStart(2026, 1), EncodeDate(2025, 12, 29));
  EXPECT_EQ(IsoWeekStart(2020, 53), EncodeDate(2020, 12, 28));
  EXPECT_EQ(IsoWeeksInYear(2020), 53);
  EXPECT_EQ(IsoWeeksInYear(2021), 52);
  EXPECT_EQ(IsoWeekMonday(EncodeDate(2026, 1, 1) + 0.5), EncodeDate(2025, 12, 29));
  EXPECT_TRUE(IsWeekend(EncodeDate(2026, 3, 1)));
  EXPECT_FALSE(IsWeekend(EncodeDate(2026, 3, 2)));
  EXPECT_EQ(StepYearKeepingDay(EncodeDate(2024, 2, 29), 1), EncodeDate(2025, 2, 28));
  EXPECT_EQ(StepMonthKeepingDay(EncodeDate(2026, 1, 31), 1), EncodeDate(2026, 2, 28));
  EXPECT_EQ(StepMonthKeepingDay(EncodeDate(2026, 3, 31), -1), EncodeDate(2026, 2, 28));
  EXPECT_THROW(StepYearKeepingDay(EncodeDate(9999, 5, 1), 1), EConvertError);
}

TEST(Thumbnail, PicturesFitTheSquareKeepingTheirProportions) {
  struct Case {
    Integer w, h, size, fw, fh;
  };
  const Case cases[] = {
      {50, 30, 100, 50, 30},  {400, 200, 100, 100, 50}, {200, 400, 100, 50, 100}, {100, 100, 100, 100, 100},
      {1000, 1, 100, 100, 1}, {1, 5000, 100, 1, 100},   {300, 299, 100, 100, 100}, {7, 7, 0, 1, 1},
      {0, 10, 100, 0, 0},     {10, -3, 100, 0, 0},      {32768, 2048, 255, 255, 16},
  };
  for (const Case& c : cases) {
    TPoint fit = ThumbnailFit(c.w, c.h, c.size);
    EXPECT_EQ(fit.X, c.fw) << c.w << "x" << c.h << " in " << c.size;
    EXPECT_EQ(fit.Y, c.fh) << c.w << "x" << c.h << " in " << c.size;
  }
}

TEST(Thumbnail, DecodingScaleKeepsEnoughPixels) {
  EXPECT_EQ(ThumbnailDecodeScale(50, 30, TPoint{50, 30}), 0);
  EXPECT_EQ(ThumbnailDecodeScale(400, 200, TPoint{100, 50}), 2);
  EXPECT_EQ(ThumbnailDecodeScale(4000, 2000, TPoint{100, 50}), 3);
  EXPECT_EQ(ThumbnailDecodeScale(250, 250, TPoint{100, 100}), 1);
}

TEST(Wheel, NotchesScrollWhenWholeAndNotWithKeysHeld) {
  TWheelAccumulator wheel;
  bool handled = false;
  EXPECT_EQ(wheel.Feed(60, false, handled), 0);
  EXPECT_TRUE(handled);
  EXPECT_EQ(wheel.Feed(60, false, handled), -1) << "two halves make one notch up";
  EXPECT_EQ(wheel.Value(), 0);
  EXPECT_EQ(wheel.Feed(-360, false, handled), 3);
  EXPECT_EQ(wheel.Feed(-120, true, handled), 0) << "Ctrl held: used up, no scrolling";
  EXPECT_FALSE(handled);
  EXPECT_EQ(wheel.Value(), 0);
  EXPECT_EQ(wheel.Feed(-200, false, handled), 1);
  EXPECT_EQ(wheel.Value(), -80);
  EXPECT_EQ(wheel.Feed(0x7FFFFFFF, false, handled), -272) << "an absurd delta stays bounded";
}

TEST(CalendarSheet, DatePartsReplaceOnePartOrRefuse) {
  const TDateTime jan31 = EncodeDate(2026, 1, 31);
  TDateTime result = 0;
  EXPECT_EQ(CalendarDatePart(jan31, 1), 2026);
  EXPECT_EQ(CalendarDatePart(jan31, 4), 5);
  EXPECT_THROW(ReplaceDatePart(jan31, 2, 2, result), EConvertError) << "31 February";
  EXPECT_TRUE(ReplaceDatePart(jan31, 2, 3, result));
  EXPECT_EQ(result, EncodeDate(2026, 3, 31));
  struct Ignored {
    Integer index, value;
  };
  for (Ignored c : {Ignored{1, 0}, Ignored{1, 2026}, Ignored{2, 13}, Ignored{2, 1}, Ignored{3, 32}, Ignored{3, -4},
                    Ignored{4, 54}, Ignored{4, 5}})
    EXPECT_FALSE(ReplaceDatePart(jan31, c.index, c.value, result)) << c.index << " " << c.value;
  EXPECT_TRUE(ReplaceDatePart(jan31, 4, 1, result));
  EXPECT_EQ(result, EncodeDate(2025, 12, 29)) << "the Monday of week 1";
  EXPECT_THROW(ReplaceDatePart(jan31, 1, 70000, result), EConvertError);
  EXPECT_TRUE(ReplaceDatePart(EncodeDate(2024, 2, 29), 1, 2028, result));
  EXPECT_THROW(ReplaceDatePart(EncodeDate(2024, 2, 29), 1, 2025, result), EConvertError);
}
