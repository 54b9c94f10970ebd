#include "panelkit/calendargrid.h"

#include <cmath>

#include "rtl/exceptions.h"
#include "rtl/monthgrid.h"

TStartDayOfWeek ResolveStartDay(TStartDayOfWeek startDay, Integer localeFirstDay) {
  if (startDay != dwAutomatic) return startDay;
  return localeFirstDay == 0 ? dwMonday : dwSunday;
}

Integer ParseLocaleFirstDay(StringView answer) {
  Integer value = 0;
  size_t digits = 0;
  for (; digits < answer.size() && digits < 2; ++digits) {
    const Char ch = answer[digits];
    if (ch < u'0' || ch > u'9') break;
    value = value * 10 + (ch - u'0');
  }
  return digits == 0 ? 6 : value;
}

Word CalendarColumn(TDateTime date, TStartDayOfWeek resolvedStartDay) {
  return resolvedStartDay == dwMonday ? DayOfTheWeek(date) : DayOfWeek(date);
}

Integer CalendarHeaderDayIndex(Integer column, TStartDayOfWeek resolvedStartDay) {
  if (resolvedStartDay != dwMonday) return column;
  return column == 7 ? 1 : column + 1;
}

Integer TCalendarMonth::LeadingDays() const {
  return MonthLeadingDays(Year, Month, StartDay == dwMonday ? 1 : 0);
}

Integer TCalendarMonth::RowCount() const {
  return MonthWeekRows(Year, Month, StartDay == dwMonday ? 1 : 0);
}

TDateTime TCalendarMonth::FirstCellDate() const {
  return EncodeDate(Year, Month, 1) - LeadingDays();
}

TDateTime TCalendarMonth::CellDate(Integer column, Integer row) const {
  return FirstCellDate() + column + 7 * row;
}

bool TCalendarMonth::Shows(TDateTime date) const {
  Word year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  return year == Year && month == Month;
}

void StepCalendarMonth(Word& year, Word& month, Integer months) {
  const Integer index = static_cast<Integer>(year) * 12 + (month - 1) + months;
  const Integer newYear = index / 12;
  if (index < 0 || newYear < 1 || newYear > 9999) return;
  year = static_cast<Word>(newYear);
  month = static_cast<Word>(index % 12 + 1);
}

namespace {

TDateTime StepDateUnchecked(TDateTime date, TDateKeyStep step) {
  switch (step) {
    case TDateKeyStep::DayBack: return IncDay(date, -1);
    case TDateKeyStep::DayOn: return IncDay(date, 1);
    case TDateKeyStep::WeekBack: return IncDay(date, -7);
    case TDateKeyStep::WeekOn: return IncDay(date, 7);
    case TDateKeyStep::MonthBack: return IncMonth(date, -1);
    case TDateKeyStep::MonthOn: return IncMonth(date, 1);
    case TDateKeyStep::YearBack: return IncMonth(date, -12);
    case TDateKeyStep::YearOn: return IncMonth(date, 12);
  }
  return date;
}

}  // namespace

TDateTime StepDate(TDateTime date, TDateKeyStep step) {
  try {
    // Day steps do not check the range themselves: a step past 1/1/0001 or
    // 12/31/9999 would yield a date no calendar can show. Stay at the limit.
    const TDateTime result = StepDateUnchecked(date, step);
    Word year = 0, month = 0, day = 0;
    DecodeDate(result, year, month, day);
    if (year >= 1 && year <= 9999) return result;
  } catch (const EConvertError&) {
  }
  return date;
}

String DatePickerText(TDateTime date, const TFormatSettings& settings) {
  return FormatDateTime(u"", date, settings);
}

TDateTime ReadDatePickerText(StringView text, TDateTime today, const TFormatSettings& settings) {
  if (text.empty() || text == u"0") return today;
  TDateTime value = 0;
  return TryStrToDateTime(text, value, settings) ? value : 0;
}
