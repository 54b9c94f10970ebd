// The arithmetic of the month calendars (the date popup and the stand-alone
// month calendar) and of the date picker's key steps, apart from any window:
// which weekday a column holds, which date a cell of the six-week grid holds,
// how many rows the month needs, and month and year steps.
#pragma once

#include "panelkit/pxclasses.h"
#include "rtl/datetime.h"
#include "rtl/types.h"

// The first day of the week for a start day setting; an automatic one
// follows the locale's first day (0 is Monday, anything else Sunday).
TStartDayOfWeek ResolveStartDay(TStartDayOfWeek startDay, Integer localeFirstDay);

// The locale's first day of the week as the locale states it (0 = Monday ...
// 6 = Sunday), read from its text; an unreadable answer counts as Sunday.
Integer ParseLocaleFirstDay(StringView answer);

// Column 1 to 7 of a date in a grid whose first column is the resolved
// start day (dwMonday or dwSunday).
Word CalendarColumn(TDateTime date, TStartDayOfWeek resolvedStartDay);

// The index (1 = Sunday ... 7 = Saturday) of the locale's day name heading
// column 1 to 7.
Integer CalendarHeaderDayIndex(Integer column, TStartDayOfWeek resolvedStartDay);

// The month shown in a calendar grid.
struct TCalendarMonth {
  Word Year = 1;
  Word Month = 1;
  TStartDayOfWeek StartDay = dwSunday;  // resolved

  // Cells before the 1st of the month in the first row (0 to 6).
  Integer LeadingDays() const;
  // The rows the month's days take: ceil((leading days + days) / 7), 4 to 6.
  Integer RowCount() const;
  // The date of the first cell (the 1st itself when it falls in column 1).
  TDateTime FirstCellDate() const;
  // The date of cell (column 0.., row 0..); rows past the sixth go on into
  // the following weeks.
  TDateTime CellDate(Integer column, Integer row) const;
  // Whether a date lies in the shown month.
  bool Shows(TDateTime date) const;
};

// Moves a shown month by whole months, across year ends; years stay within 1..9999.
void StepCalendarMonth(Word& year, Word& month, Integer months);

// The moves of the date picker's keys while its calendar is open.
enum class TDateKeyStep { DayBack, DayOn, WeekBack, WeekOn, MonthBack, MonthOn, YearBack, YearOn };

// The date after a key step; months and years clip the day to the target
// month's length. A step out of years 1..9999 leaves the date as it is.
TDateTime StepDate(TDateTime date, TDateKeyStep step);

// The date picker's text: the short date (and the long time when the time
// of day is not midnight).
String DatePickerText(TDateTime date, const TFormatSettings& settings);
// What the date picker's text stands for: today for an empty text or "0",
// else the date read, else 0.
TDateTime ReadDatePickerText(StringView text, TDateTime today, const TFormatSettings& settings);
