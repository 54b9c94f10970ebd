#include "rtl/monthgrid.h"

#include "rtl/datetime.h"

Integer MonthLeadingDays(Word year, Word month, Integer firstWeekday) {
  const Integer weekday = DayOfWeek(EncodeDate(year, month, 1)) - 1;  // 0 = Sunday
  return ((weekday - firstWeekday) % 7 + 7) % 7;
}

Integer MonthWeekRows(Word year, Word month, Integer firstWeekday) {
  return (MonthLeadingDays(year, month, firstWeekday) + DaysInAMonth(year, month) + 6) / 7;
}
