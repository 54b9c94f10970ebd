// The arithmetic of the calendar grids, apart from any window: which day a
// cell of the month sheet holds, how many week rows the month needs, the
// week numbers beside the rows, the cell sizes for a client size, and the
// dates of the week view's columns. Tested natively for every month.
#pragma once

#include "rtl/datetime.h"
#include "rtl/geometry.h"
#include "rtl/types.h"

// The month sheet: a header row of day names, one row per week, an optional
// leading week-number column and an optional trailing summary column.
struct TMonthSheet {
  Word Year = 2000;
  Word Month = 1;
  Integer StartOfWeek = 1;  // 0 = Sunday ... 6 = Saturday
  bool WeekNumbers = true;
  bool ExtraColumn = false;

  Integer FirstDayColumn() const { return WeekNumbers ? 1 : 0; }
  Integer ColCount() const { return FirstDayColumn() + 7 + (ExtraColumn ? 1 : 0); }
  bool IsDayColumn(Integer col) const { return col >= FirstDayColumn() && col < FirstDayColumn() + 7; }
  bool IsExtraColumn(Integer col) const { return ExtraColumn && col == FirstDayColumn() + 7; }
  // The day number of the first day column in week row 1: 1 when the 1st
  // falls there, down to -5 when it falls in the last day column.
  Integer MonthOffset() const;
  // Week rows for the month's days: ceil((leading days + days) / 7). The
  // sheet has one row more, for the day names.
  Integer WeekRows() const;
  Integer RowCount() const { return WeekRows() + 1; }
  Integer DaysInMonth() const { return DaysInAMonth(Year, Month); }
  // The day number that column `col` of row `row` would have, whether or
  // not it lies in the month (the summary column counts as an eighth day).
  Integer RawDay(Integer col, Integer row) const;
  // The day of the month a day cell shows; 0 for the header row, the week
  // number and summary columns and cells before or after the month.
  Integer CellDay(Integer col, Integer row) const;
  // The cell (X = column, Y = row) showing a day of the month.
  TPoint DayCell(Integer day) const;
  // The weekday (1 = Sunday ... 7 = Saturday) whose name heads a day column.
  Integer HeaderWeekday(Integer col) const;
  // The day whose ISO week a week row shows: its first day cell, or the 1st
  // when that lies before the month; 0 when the row starts after the month.
  Integer WeekNumberDay(Integer row) const;
};

// Cell sizes of a calendar grid for a client area.
struct TSheetSizes {
  Integer WeekColumnWidth = 0;  // 0 without week numbers
  Integer DefaultColWidth = 0;
  Integer HeaderHeight = 0;
  Integer RowHeight = 0;
};

// `weekColumnWidth` is 0 without week numbers; `fixedCellHeight` 0 shares
// the height out among the `rows` - 1 rows below the header. Sizes never go
// below 0.
TSheetSizes SheetCellSizes(Integer width, Integer height, Integer cols, Integer rows, Integer gridLineWidth,
                           Integer weekColumnWidth, Integer headerHeight, Integer fixedCellHeight);

// The height a calendar takes with rows of a fixed height.
Integer FixedCellSheetHeight(Integer textHeight, Integer fixedCellHeight, Integer rows, Integer gridLineWidth);

// The Monday of the ISO week of a date.
TDateTime IsoWeekMonday(TDateTime date);
// The Monday of ISO week `week` of `year`.
TDateTime IsoWeekStart(Word year, Word week);
// The number of ISO weeks of a year (52 or 53).
Word IsoWeeksInYear(Word year);
// Saturday or Sunday.
bool IsWeekend(TDateTime date);

// A date `months` months on, the day kept or cut to the target month's last
// (the calendars' month steps). Raises EConvertError outside years 1..9999.
TDateTime StepMonthKeepingDay(TDateTime date, Integer months);
// A year on or back; 29 February becomes the 28th first.
TDateTime StepYearKeepingDay(TDateTime date, Integer years);

// Part 1 year, 2 month, 3 day, 4 ISO week of a date.
Integer CalendarDatePart(TDateTime date, Integer index);
// The date with one part replaced (a week: the Monday of that ISO week of
// the date's year). False when the value is ignored: below 1, equal to the
// date's part, a month above 12, a day above the month's days, a week above
// the year's weeks. A day that the new month or year lacks raises
// EConvertError "Invalid argument to date encode".
bool ReplaceDatePart(TDateTime date, Integer index, Integer value, TDateTime& result);
