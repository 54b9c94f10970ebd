#include "winbar/calendarlayout.h"

#include <algorithm>

#include "rtl/monthgrid.h"

Integer TMonthSheet::MonthOffset() const {
  return 1 - MonthLeadingDays(Year, Month, StartOfWeek);
}

Integer TMonthSheet::WeekRows() const {
  return MonthWeekRows(Year, Month, StartOfWeek);
}

Integer TMonthSheet::RawDay(Integer col, Integer row) const {
  return col - FirstDayColumn() + MonthOffset() + 7 * row - 7;
}

Integer TMonthSheet::CellDay(Integer col, Integer row) const {
  if (row < 1 || !IsDayColumn(col)) return 0;
  const Integer day = RawDay(col, row);
  return day >= 1 && day <= DaysInMonth() ? day : 0;
}

TPoint TMonthSheet::DayCell(Integer day) const {
  const Integer index = day - MonthOffset();
  return TPoint{FirstDayColumn() + index % 7, index / 7 + 1};
}

Integer TMonthSheet::HeaderWeekday(Integer col) const {
  return (col - FirstDayColumn() + StartOfWeek) % 7 + 1;
}

Integer TMonthSheet::WeekNumberDay(Integer row) const {
  if (row < 1) return 0;
  const Integer day = RawDay(FirstDayColumn(), row);
  if (day > DaysInMonth()) return 0;
  return std::max(day, 1);
}

TSheetSizes SheetCellSizes(Integer width, Integer height, Integer cols, Integer rows, Integer gridLineWidth,
                           Integer weekColumnWidth, Integer headerHeight, Integer fixedCellHeight) {
  TSheetSizes sizes;
  sizes.WeekColumnWidth = std::max(weekColumnWidth, 0);
  const Integer shared = cols - (weekColumnWidth > 0 ? 1 : 0);
  if (shared > 0)
    sizes.DefaultColWidth = std::max((width - sizes.WeekColumnWidth - cols * gridLineWidth) / shared, 0);
  sizes.HeaderHeight = std::max(headerHeight, 0);
  if (fixedCellHeight > 0)
    sizes.RowHeight = fixedCellHeight;
  else if (rows > 1)
    sizes.RowHeight = std::max((height - sizes.HeaderHeight - rows * gridLineWidth) / (rows - 1), 0);
  return sizes;
}

Integer FixedCellSheetHeight(Integer textHeight, Integer fixedCellHeight, Integer rows, Integer gridLineWidth) {
  return textHeight + 10 + (fixedCellHeight + gridLineWidth) * (rows - 1) + gridLineWidth + 4;
}

TDateTime IsoWeekMonday(TDateTime date) {
  const TDateTime day = DateOf(date);
  return day - (DayOfTheWeek(day) - 1);
}

TDateTime IsoWeekStart(Word year, Word week) {
  // 4 January always lies in week 1.
  return IsoWeekMonday(EncodeDate(year, 1, 4)) + 7.0 * (week - 1);
}

Word IsoWeeksInYear(Word year) {
  // 28 December always lies in the year's last week.
  return WeekOfTheYear(EncodeDate(year, 12, 28));
}

bool IsWeekend(TDateTime date) {
  return DayOfTheWeek(date) >= 6;
}

TDateTime StepMonthKeepingDay(TDateTime date, Integer months) {
  return IncMonth(DateOf(date), months);
}

TDateTime StepYearKeepingDay(TDateTime date, Integer years) {
  Word year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  if (month == 2 && day == 29) day = 28;
  return EncodeDate(static_cast<Word>(year + years), month, day);
}

Integer CalendarDatePart(TDateTime date, Integer index) {
  Word year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  switch (index) {
    case 1: return year;
    case 2: return month;
    case 3: return day;
    case 4: return WeekOfTheYear(date);
    default: return 0;
  }
}

bool ReplaceDatePart(TDateTime date, Integer index, Integer value, TDateTime& result) {
  if (value < 1 || value == CalendarDatePart(date, index)) return false;
  Word year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  switch (index) {
    case 1:
      // Years beyond the calendar go to the encoder, which refuses them.
      result = EncodeDate(static_cast<Word>(std::min(value, 10000)), month, day);
      return true;
    case 2:
      if (value > 12) return false;
      result = EncodeDate(year, static_cast<Word>(value), day);
      return true;
    case 3:
      if (value > DaysInAMonth(year, month)) return false;
      result = EncodeDate(year, month, static_cast<Word>(value));
      return true;
    case 4:
      if (value > IsoWeeksInYear(year)) return false;
      result = IsoWeekStart(year, static_cast<Word>(value));
      return true;
    default: return false;
  }
}
