// Dates and times as the platform keeps them: a double counting days since
// 30 December 1899, the fraction being the time of day. Before that day the
// value is negative; its integer part is still the day and the absolute value
// of its fraction the time, so -1.25 is 29 December 1899, 6:00.
#pragma once

#include "rtl/formatsettings.h"
#include "rtl/types.h"

using TDateTime = double;

inline constexpr Word HoursPerDay = 24;
inline constexpr Word MinsPerHour = 60;
inline constexpr Word SecsPerMin = 60;
inline constexpr Word MSecsPerSec = 1000;
inline constexpr Integer MinsPerDay = HoursPerDay * MinsPerHour;
inline constexpr Integer SecsPerDay = MinsPerDay * SecsPerMin;
inline constexpr Integer MSecsPerDay = SecsPerDay * MSecsPerSec;
// Days from 1 January 0001 (day 1) to 30 December 1899 (day 0 of TDateTime).
inline constexpr Integer DateDelta = 693594;
// Days from 30 December 1899 to 1 January 1970.
inline constexpr Integer UnixDateDelta = 25569;
// The first day of year 1 and the last millisecond of year 9999.
inline constexpr TDateTime MinDateTimeValue = -693593.0;
inline constexpr TDateTime MaxDateTimeValue = 2958465.99999999;

// Day of week numbers of DayOfTheWeek (ISO 8601: Monday 1 ... Sunday 7).
inline constexpr Word DayMonday = 1;
inline constexpr Word DaySunday = 7;

// A date and time split into whole days since 1 January 0001 (that day is 1)
// and milliseconds since midnight.
struct TTimeStamp {
  Integer Time = 0;
  Integer Date = 0;
};

// ---- Calendar facts --------------------------------------------------------

bool IsLeapYear(Word year);
// Days of the month in a common (index 0) and a leap (index 1) year; months 1..12.
Word MonthDays(bool leapYear, Word month);
Word DaysInAMonth(Word year, Word month);
Word DaysInAYear(Word year);
bool IsValidDate(Word year, Word month, Word day);

// ---- Encoding and decoding -------------------------------------------------

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date);
bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time);
bool TryEncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec, Word msec, TDateTime& value);
// These raise EConvertError: "Invalid argument to date encode", "Invalid
// argument to time encode", and for EncodeDateTime "'%s' is not a valid date
// and time" with the fields joined by the current separators.
TDateTime EncodeDate(Word year, Word month, Word day);
TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec);
TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec, Word msec);

// Values are first rounded to the millisecond. A value outside years
// 1..9999 (or not a number) decodes as day 0 of month 0 of year 0, weekday 0.
// DecodeDateFully tells whether the year is a leap year; dayOfWeek is 1 for Sunday.
bool DecodeDateFully(TDateTime value, Word& year, Word& month, Word& day, Word& dayOfWeek);
void DecodeDate(TDateTime value, Word& year, Word& month, Word& day);
void DecodeTime(TDateTime value, Word& hour, Word& min, Word& sec, Word& msec);
void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& min, Word& sec, Word& msec);

// Raises EConvertError "Invalid argument to date encode" for values that no
// time stamp can hold (not a number, or beyond about a million years).
TTimeStamp DateTimeToTimeStamp(TDateTime value);
TDateTime TimeStampToDateTime(const TTimeStamp& stamp);

// ---- Parts and arithmetic --------------------------------------------------

// 1 = Sunday ... 7 = Saturday.
Word DayOfWeek(TDateTime value);
// ISO 8601: 1 = Monday ... 7 = Sunday.
Word DayOfTheWeek(TDateTime value);
Word DayOfTheYear(TDateTime value);
// ISO 8601 week number (1..53); the week of 1 January may belong to the
// previous year and that of 31 December to the next: isoYear tells which.
Word WeekOfTheYear(TDateTime value);
Word WeekOfTheYear(TDateTime value, Word& isoYear);
void DecodeDateWeek(TDateTime value, Word& isoYear, Word& weekOfYear, Word& dayOfWeek);

Word YearOf(TDateTime value);
Word MonthOf(TDateTime value);
Word DayOf(TDateTime value);
Word HourOf(TDateTime value);
Word MinuteOf(TDateTime value);
Word SecondOf(TDateTime value);
Word MilliSecondOf(TDateTime value);

// The day part (truncated toward zero) and the time part (the fraction, with
// the sign of the value).
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);

TDateTime IncDay(TDateTime value, Integer days = 1);
TDateTime IncWeek(TDateTime value, Integer weeks = 1);
// Moves by calendar months; the day becomes the month's last when the month
// is shorter, and the time of day is kept. Raises EConvertError "Invalid
// argument to date encode" when the year leaves 1..9999.
TDateTime IncMonth(TDateTime value, Integer months = 1);
TDateTime IncYear(TDateTime value, Integer years = 1);
void IncAMonth(Word& year, Word& month, Word& day, Integer months = 1);
// Replaces the time part (keeping the day) or the day part (keeping the time).
void ReplaceTime(TDateTime& value, TDateTime newTime);
void ReplaceDate(TDateTime& value, TDateTime newDate);

// Seconds since 1 January 1970 (toward zero); the date-time is taken as it
// stands (no time zone). Values no time stamp can hold raise as
// DateTimeToTimeStamp does.
Int64 DateTimeToUnix(TDateTime value);
TDateTime UnixToDateTime(Int64 seconds);

// The 32-bit packed date of FAT directory entries: date in the high word
// (years since 1980, month, day), time in the low word (hours, minutes,
// seconds / 2). Dates outside 1980..2107 give 0. Reading an invalid packed
// date raises EConvertError.
Integer DateTimeToFileDate(TDateTime value);
TDateTime FileDateToDateTime(Integer fileDate);

// ---- The clock -------------------------------------------------------------

// The wall clock Now, Date and Time read; local time.
class IDateTimeClock {
 public:
  virtual ~IDateTimeClock() = default;
  virtual TDateTime Now() const = 0;
};

// The system's local time, with millisecond resolution.
const IDateTimeClock& SystemDateTimeClock();
// Makes Now, Date, Time and the two-digit year window read another clock
// (tests use a fixed one). Null restores the system clock. Returns the clock
// used before. The clock must outlive its use.
const IDateTimeClock* SetDateTimeClock(const IDateTimeClock* clock);

TDateTime Now();
TDateTime Date();
TDateTime Time();
Word CurrentYear();

// ---- Text ------------------------------------------------------------------

// The platform's date format language:
//   c          short date, then a blank and the long time unless the time is midnight
//   d dd       day without / with leading zero;  ddd dddd  short / long day name
//   ddddd      short date format;  dddddd  long date format
//   e ee       year of the era (the Gregorian era: the year) without / with leading zero
//   g gg       era name ("A.D.")
//   m mm       month without / with leading zero, or minute right after an hour
//   mmm mmmm   short / long month name
//   yy yyyy    two- / four-digit year
//   h hh n nn s ss z zzz   hour, minute, second, millisecond
//   t tt       short / long time format
//   am/pm a/p  12-hour clock, writing the marker in the case it is written in
//   ampm       12-hour clock with the settings' AM/PM strings
//   aaa aaaa   short / long day name
//   / :        the date / time separator
//   "..." '...'  literal text
// Letters are case-insensitive; other characters are copied. An empty format is "c".
String FormatDateTime(StringView format, TDateTime value);
String FormatDateTime(StringView format, TDateTime value, const TFormatSettings& settings);

String DateToStr(TDateTime value);
String DateToStr(TDateTime value, const TFormatSettings& settings);
String TimeToStr(TDateTime value);
String TimeToStr(TDateTime value, const TFormatSettings& settings);
String DateTimeToStr(TDateTime value);
String DateTimeToStr(TDateTime value, const TFormatSettings& settings);

// Reading dates: up to three numbers split by the date separator, in the
// order of the short date format (month-day-year, day-month-year or
// year-month-day). Without a year the current year is used; a year of one or
// two digits is placed in the hundred years that begin
// TwoDigitYearCenturyWindow years before the current year (a window of 0
// keeps the current century). Times: hour[:min[:sec[.msec]]] with an optional
// AM/PM marker before or after. Blanks around the parts are allowed.
bool TryStrToDate(StringView text, TDateTime& value);
bool TryStrToDate(StringView text, TDateTime& value, const TFormatSettings& settings);
bool TryStrToTime(StringView text, TDateTime& value);
bool TryStrToTime(StringView text, TDateTime& value, const TFormatSettings& settings);
bool TryStrToDateTime(StringView text, TDateTime& value);
bool TryStrToDateTime(StringView text, TDateTime& value, const TFormatSettings& settings);
// EConvertError "'%s' is not a valid date" / "... time" / "... date and time".
TDateTime StrToDate(StringView text);
TDateTime StrToDate(StringView text, const TFormatSettings& settings);
TDateTime StrToTime(StringView text);
TDateTime StrToTime(StringView text, const TFormatSettings& settings);
TDateTime StrToDateTime(StringView text);
TDateTime StrToDateTime(StringView text, const TFormatSettings& settings);
TDateTime StrToDateDef(StringView text, TDateTime fallback);
TDateTime StrToDateTimeDef(StringView text, TDateTime fallback);
