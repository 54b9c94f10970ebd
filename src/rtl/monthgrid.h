// Where the days of a month fall in a grid of week rows, for any first day
// of the week: the calendars of the panel kit and of the window bar share it.
#pragma once

#include "rtl/types.h"

// Cells before the 1st of the month in the first week row (0 to 6), with
// weeks starting on `firstWeekday` (0 = Sunday ... 6 = Saturday).
Integer MonthLeadingDays(Word year, Word month, Integer firstWeekday);

// The week rows the month's days take: ceil((leading days + days) / 7), 4 to 6.
Integer MonthWeekRows(Word year, Word month, Integer firstWeekday);
