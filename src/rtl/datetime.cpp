#include "rtl/datetime.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>

#include "rtl/exceptions.h"

namespace {

constexpr Word kMonthDays[2][13] = {{0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};
constexpr Int64 kDaysPer400Years = 146097;
constexpr Int64 kDaysPer100Years = 36524;
constexpr Int64 kDaysPer4Years = 1461;
constexpr Int64 kDaysPerYear = 365;
// Day numbers (1 = 1 January 0001) of the first and last representable days.
constexpr Int64 kFirstDay = 1;
constexpr Int64 kLastDay = 3652059;  // 31 December 9999
// Beyond this many days from 1899 a value is no date at all; the bound keeps
// the millisecond arithmetic far from overflow.
constexpr double kStampLimitDays = 1e9;

const String& DateEncodeMessage() {
  static const String text = u"Invalid argument to date encode";
  return text;
}

Int64 FloorDiv(Int64 a, Int64 b) {
  Int64 q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

Int64 FloorMod(Int64 a, Int64 b) {
  return a - FloorDiv(a, b) * b;
}

// Rounds to the millisecond and splits into the day number (1 = 1 January
// 0001) and the milliseconds of the day; for negative values the time is the
// absolute value of the fraction. False for values no stamp can hold.
bool SplitStamp(TDateTime value, Int64& day, Int64& msec) {
  if (!std::isfinite(value) || std::fabs(value) > kStampLimitDays) return false;
  const auto total = static_cast<Int64>(std::nearbyint(value * MSecsPerDay));
  day = DateDelta + total / MSecsPerDay;  // toward zero: the integer part is the day
  msec = (total < 0 ? -total : total) % MSecsPerDay;
  return true;
}

TDateTime JoinStamp(Int64 day, Int64 msec) {
  Int64 total = (day - DateDelta) * MSecsPerDay;
  total = total >= 0 ? total + msec : total - msec;
  return static_cast<double>(total) / MSecsPerDay;
}

// Milliseconds since 30 December 1899 on a straight line, which the
// date-time's own form (sign on the time) is not before that day.
bool ToLinear(TDateTime value, Int64& msec) {
  Int64 day, time;
  if (!SplitStamp(value, day, time)) return false;
  msec = (day - DateDelta) * MSecsPerDay + time;
  return true;
}

TDateTime FromLinear(Int64 msec) {
  const Int64 day = FloorDiv(msec, MSecsPerDay);
  return JoinStamp(day + DateDelta, msec - day * MSecsPerDay);
}

Int64 DayNumber(Int64 year, Int64 month, Int64 day) {
  const bool leap = IsLeapYear(static_cast<Word>(year));
  for (Int64 m = 1; m < month; ++m) day += kMonthDays[leap][m];
  const Int64 y = year - 1;
  return y * 365 + y / 4 - y / 100 + y / 400 + day;
}

// The calendar date of a day number >= 1 (not bounded above by year 9999).
void SplitDayNumber(Int64 number, Int64& year, Word& month, Word& day) {
  Int64 t = number - 1;
  year = 1 + (t / kDaysPer400Years) * 400;
  t %= kDaysPer400Years;
  Int64 i = t / kDaysPer100Years;
  t %= kDaysPer100Years;
  if (i == 4) {
    --i;
    t += kDaysPer100Years;
  }
  year += i * 100;
  year += (t / kDaysPer4Years) * 4;
  t %= kDaysPer4Years;
  i = t / kDaysPerYear;
  t %= kDaysPerYear;
  if (i == 4) {
    --i;
    t += kDaysPerYear;
  }
  year += i;
  const bool leap = (year % 4 == 0) && (year % 100 != 0 || year % 400 == 0);
  Word m = 1;
  while (t >= kMonthDays[leap][m]) {
    t -= kMonthDays[leap][m];
    ++m;
  }
  month = m;
  day = static_cast<Word>(t + 1);
}

// The day number of a value, when it lies in years 1..9999.
bool ValidDayNumber(TDateTime value, Int64& number) {
  Int64 time;
  return SplitStamp(value, number, time) && number >= kFirstDay && number <= kLastDay;
}

String DigitText(Int64 n) {
  if (n == 0) return u"0";
  const bool negative = n < 0;
  UInt64 u = negative ? 0 - static_cast<UInt64>(n) : static_cast<UInt64>(n);
  String digits;
  while (u != 0) {
    digits.insert(digits.begin(), static_cast<Char>(u'0' + u % 10));
    u /= 10;
  }
  if (negative) digits.insert(digits.begin(), u'-');
  return digits;
}

void AppendNumber(String& out, UInt64 number, std::size_t minDigits) {
  Char buffer[24];
  std::size_t n = 0;
  do {
    buffer[n++] = static_cast<Char>(u'0' + number % 10);
    number /= 10;
  } while (number != 0);
  for (std::size_t i = n; i < minDigits; ++i) out += u'0';
  while (n > 0) out += buffer[--n];
}

Char AsciiUpper(Char c) {
  return (c >= u'a' && c <= u'z') ? static_cast<Char>(c - 32) : c;
}

// Whether text at pos begins with the ASCII word, letters compared without case.
bool MatchesAt(StringView text, std::size_t pos, std::string_view word) {
  if (pos > text.size() || text.size() - pos < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (AsciiUpper(text[pos + i]) != AsciiUpper(static_cast<Char>(word[i]))) return false;
  }
  return true;
}

bool SameTextAt(StringView text, std::size_t pos, StringView word) {
  if (pos > text.size() || text.size() - pos < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (AsciiUpper(text[pos + i]) != AsciiUpper(word[i])) return false;
  }
  return true;
}

template <std::size_t N>
const String& NameOrEmpty(const std::array<String, N>& names, Word oneBased) {
  static const String empty;
  return (oneBased >= 1 && oneBased <= N) ? names[oneBased - 1] : empty;
}

// Writes a date-time by the format language. Nested formats (c, t, ddddd...)
// are expanded one level deep and no further, so a format that names itself
// cannot recurse.
class DateTimeWriter {
 public:
  DateTimeWriter(TDateTime value, const TFormatSettings& settings) : FValue(value), FSettings(settings) {}

  void Write(StringView format, int level);
  String& Text() { return FText; }

 private:
  struct Parts {
    bool dateDone = false;
    bool timeDone = false;
    Word year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0, msec = 0;
  };
  void NeedDate(Parts& p) const {
    if (!p.dateDone) DecodeDate(FValue, p.year, p.month, p.day);
    p.dateDone = true;
  }
  void NeedTime(Parts& p) const {
    if (!p.timeDone) DecodeTime(FValue, p.hour, p.min, p.sec, p.msec);
    p.timeDone = true;
  }
  static bool HourIsFollowedByMarker(StringView format, std::size_t from);

  TDateTime FValue;
  const TFormatSettings& FSettings;
  String FText;
};

// An hour is on the 12-hour clock when the next A (outside quotes) before any
// other hour starts one of the AM/PM markers.
bool DateTimeWriter::HourIsFollowedByMarker(StringView format, std::size_t from) {
  bool quoted = false;
  for (std::size_t p = from; p < format.size(); ++p) {
    const Char c = format[p];
    if ((c == u'A' || c == u'a') && !quoted) {
      return MatchesAt(format, p, "AM/PM") || MatchesAt(format, p, "A/P") || MatchesAt(format, p, "AMPM");
    }
    if (c == u'H' || c == u'h') return false;
    if (c == u'\'' || c == u'"') quoted = !quoted;
  }
  return false;
}

void DateTimeWriter::Write(StringView format, int level) {
  if (level >= 2) return;
  Parts parts;
  Char lastToken = u' ';
  bool twelveHour = false;
  std::size_t i = 0;
  while (i < format.size()) {
    const Char starter = format[i++];
    Char token = AsciiUpper(starter);
    if (token >= u'A' && token <= u'Z') {
      if (token == u'M' && lastToken == u'H') token = u'N';
      lastToken = token;
    }
    auto count = [&] {
      const std::size_t start = i;
      while (i < format.size() && format[i] == starter) ++i;
      return i - start + 1;
    };
    switch (token) {
      case u'Y': {
        const std::size_t n = count();
        NeedDate(parts);
        if (n <= 2) {
          AppendNumber(FText, parts.year % 100, 2);
        } else {
          AppendNumber(FText, parts.year, 4);
        }
        break;
      }
      case u'G':
        count();
        NeedDate(parts);
        if (parts.year != 0) FText += u"A.D.";
        break;
      case u'E': {
        const std::size_t n = count();
        NeedDate(parts);
        AppendNumber(FText, parts.year, n >= 2 ? 2 : 1);
        break;
      }
      case u'M': {
        const std::size_t n = count();
        NeedDate(parts);
        if (n <= 2) {
          AppendNumber(FText, parts.month, n);
        } else if (n == 3) {
          FText += NameOrEmpty(FSettings.ShortMonthNames, parts.month);
        } else {
          FText += NameOrEmpty(FSettings.LongMonthNames, parts.month);
        }
        break;
      }
      case u'D': {
        const std::size_t n = count();
        if (n <= 2) {
          NeedDate(parts);
          AppendNumber(FText, parts.day, n);
        } else if (n == 3) {
          FText += NameOrEmpty(FSettings.ShortDayNames, DayOfWeek(FValue));
        } else if (n == 4) {
          FText += NameOrEmpty(FSettings.LongDayNames, DayOfWeek(FValue));
        } else if (n == 5) {
          Write(FSettings.ShortDateFormat, level + 1);
        } else {
          Write(FSettings.LongDateFormat, level + 1);
        }
        break;
      }
      case u'H': {
        const std::size_t n = count();
        NeedTime(parts);
        if (HourIsFollowedByMarker(format, i)) twelveHour = true;
        Word h = parts.hour;
        if (twelveHour) {
          if (h == 0) {
            h = 12;
          } else if (h > 12) {
            h -= 12;
          }
        }
        AppendNumber(FText, h, n > 2 ? 2 : n);
        break;
      }
      case u'N': {
        const std::size_t n = count();
        NeedTime(parts);
        AppendNumber(FText, parts.min, n > 2 ? 2 : n);
        break;
      }
      case u'S': {
        const std::size_t n = count();
        NeedTime(parts);
        AppendNumber(FText, parts.sec, n > 2 ? 2 : n);
        break;
      }
      case u'Z': {
        const std::size_t n = count();
        NeedTime(parts);
        AppendNumber(FText, parts.msec, n > 3 ? 3 : n);
        break;
      }
      case u'T': Write(count() == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, level + 1); break;
      case u'A': {
        NeedTime(parts);
        const std::size_t at = i - 1;
        if (MatchesAt(format, at, "AM/PM")) {
          FText += format.substr(at + (parts.hour >= 12 ? 3 : 0), 2);
          i += 4;
          twelveHour = true;
        } else if (MatchesAt(format, at, "A/P")) {
          FText += format.substr(at + (parts.hour >= 12 ? 2 : 0), 1);
          i += 2;
          twelveHour = true;
        } else if (MatchesAt(format, at, "AMPM")) {
          FText += parts.hour < 12 ? FSettings.TimeAMString : FSettings.TimePMString;
          i += 3;
          twelveHour = true;
        } else if (MatchesAt(format, at, "AAAA")) {
          FText += NameOrEmpty(FSettings.LongDayNames, DayOfWeek(FValue));
          i += 3;
        } else if (MatchesAt(format, at, "AAA")) {
          FText += NameOrEmpty(FSettings.ShortDayNames, DayOfWeek(FValue));
          i += 2;
        } else {
          FText += starter;
        }
        break;
      }
      case u'C':
        count();
        Write(FSettings.ShortDateFormat, level + 1);
        NeedTime(parts);
        if (parts.hour != 0 || parts.min != 0 || parts.sec != 0 || parts.msec != 0) {
          FText += u' ';
          Write(FSettings.LongTimeFormat, level + 1);
        }
        break;
      case u'/':
        if (FSettings.DateSeparator != 0) FText += FSettings.DateSeparator;
        break;
      case u':':
        if (FSettings.TimeSeparator != 0) FText += FSettings.TimeSeparator;
        break;
      case u'\'':
      case u'"': {
        const std::size_t start = i;
        while (i < format.size() && format[i] != starter) ++i;
        FText += format.substr(start, i - start);
        if (i < format.size()) ++i;
        break;
      }
      default: FText += starter; break;
    }
  }
}

// ---- Reading ----------------------------------------------------------------

enum class DateOrder { MDY, DMY, YMD };

DateOrder DateOrderOf(StringView format) {
  for (const Char c : format) {
    switch (c & 0xFFDF) {
      case u'E':
      case u'Y': return DateOrder::YMD;
      case u'M': return DateOrder::MDY;
      case u'D': return DateOrder::DMY;
      default: break;
    }
  }
  return DateOrder::MDY;
}

// A cursor over the text being read, with the platform's scanning rules:
// blanks before a part are skipped, numbers stop before they pass 9999.
class DateTimeScanner {
 public:
  DateTimeScanner(StringView text, const TFormatSettings& settings) : FText(text), FSettings(settings) {}

  bool AtEnd() const { return FPos >= FText.size(); }

  bool SkipBlanks() {
    const std::size_t start = FPos;
    while (FPos < FText.size() && FText[FPos] == u' ') ++FPos;
    return FPos > start;
  }

  bool Number(Word& value, std::size_t& digits) {
    SkipBlanks();
    std::size_t p = FPos;
    unsigned n = 0;
    while (p < FText.size() && FText[p] >= u'0' && FText[p] <= u'9' && n < 1000) {
      n = n * 10 + (FText[p] - u'0');
      ++p;
    }
    if (p == FPos) return false;
    digits = p - FPos;
    FPos = p;
    value = static_cast<Word>(n);
    return true;
  }

  bool Number(Word& value) {
    std::size_t digits;
    return Number(value, digits);
  }

  bool Symbol(Char c) {
    if (SkipBlanks() && c == u' ') return true;
    if (c != 0 && FPos < FText.size() && AsciiUpper(FText[FPos]) == AsciiUpper(c)) {
      ++FPos;
      return true;
    }
    return false;
  }

  bool Keyword(StringView word) {
    if (word.empty()) return false;
    SkipBlanks();
    if (!SameTextAt(FText, FPos, word)) return false;
    FPos += word.size();
    return true;
  }

  // -1 when no marker is there, else 0 (AM) or 12 (PM).
  int DayHalf() {
    if (Keyword(FSettings.TimeAMString) || Keyword(u"AM")) return 0;
    if (Keyword(FSettings.TimePMString) || Keyword(u"PM")) return 12;
    return -1;
  }

  bool Date(TDateTime& value) {
    const DateOrder order = DateOrderOf(FSettings.ShortDateFormat);
    Word n1, n2, n3;
    std::size_t len1, len2, len3;
    if (!(Number(n1, len1) && Symbol(FSettings.DateSeparator) && Number(n2, len2))) return false;
    Int64 year;
    Word month, day;
    if (Symbol(FSettings.DateSeparator)) {
      if (!Number(n3, len3)) return false;
      std::size_t yearDigits;
      switch (order) {
        case DateOrder::MDY: year = n3, yearDigits = len3, month = n1, day = n2; break;
        case DateOrder::DMY: year = n3, yearDigits = len3, month = n2, day = n1; break;
        default: year = n1, yearDigits = len1, month = n2, day = n3; break;
      }
      if (yearDigits <= 2) {
        const Int64 centuryBase = static_cast<Int64>(CurrentYear()) - FSettings.TwoDigitYearCenturyWindow;
        year += FloorDiv(centuryBase, 100) * 100;
        if (FSettings.TwoDigitYearCenturyWindow > 0 && year < centuryBase) year += 100;
      }
    } else {
      year = CurrentYear();
      if (order == DateOrder::DMY) {
        day = n1, month = n2;
      } else {
        month = n1, day = n2;
      }
    }
    Symbol(FSettings.DateSeparator);
    SkipBlanks();
    if (year < 1 || year > 9999) return false;
    return TryEncodeDate(static_cast<Word>(year), month, day, value);
  }

  bool Time(TDateTime& value) {
    int half = DayHalf();
    Word hour, min = 0, sec = 0, msec = 0;
    if (!Number(hour)) return false;
    if (Symbol(FSettings.TimeSeparator)) {
      if (!Number(min)) return false;
      if (Symbol(FSettings.TimeSeparator)) {
        if (!Number(sec)) return false;
        if (Symbol(FSettings.DecimalSeparator) && !Number(msec)) return false;
      }
    }
    if (half < 0) half = DayHalf();
    if (half >= 0) {
      if (hour == 0 || hour > 12) return false;
      if (hour == 12) hour = 0;
      hour = static_cast<Word>(hour + half);
    }
    SkipBlanks();
    return TryEncodeTime(hour, min, sec, msec, value);
  }

 private:
  StringView FText;
  const TFormatSettings& FSettings;
  std::size_t FPos = 0;
};

String QuotedMessage(StringView text, const char16_t* tail) {
  String message = u"'";
  message += text;
  message += u"' ";
  message += tail;
  return message;
}

// The clock that replaces the system's, or null.
std::atomic<const IDateTimeClock*>& ClockOverride() {
  static std::atomic<const IDateTimeClock*> clock{nullptr};
  return clock;
}

}  // namespace

// ---- Calendar facts ------------------------------------------------------------

bool IsLeapYear(Word year) {
  return (year % 4 == 0) && (year % 100 != 0 || year % 400 == 0);
}

Word MonthDays(bool leapYear, Word month) {
  return (month >= 1 && month <= 12) ? kMonthDays[leapYear][month] : 0;
}

Word DaysInAMonth(Word year, Word month) {
  return MonthDays(IsLeapYear(year), month);
}

Word DaysInAYear(Word year) {
  return IsLeapYear(year) ? 366 : 365;
}

bool IsValidDate(Word year, Word month, Word day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInAMonth(year, month);
}

// ---- Encoding and decoding -------------------------------------------------------

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date) {
  if (!IsValidDate(year, month, day)) return false;
  date = static_cast<double>(DayNumber(year, month, day) - DateDelta);
  return true;
}

bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time) {
  if (hour >= HoursPerDay || min >= MinsPerHour || sec >= SecsPerMin || msec >= MSecsPerSec) return false;
  const Int64 total = ((Int64{hour} * MinsPerHour + min) * SecsPerMin + sec) * MSecsPerSec + msec;
  time = static_cast<double>(total) / MSecsPerDay;
  return true;
}

bool TryEncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec, Word msec, TDateTime& value) {
  TDateTime date, time;
  if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, min, sec, msec, time)) return false;
  value = date >= 0 ? date + time : date - time;
  return true;
}

TDateTime EncodeDate(Word year, Word month, Word day) {
  TDateTime value;
  if (!TryEncodeDate(year, month, day, value)) throw EConvertError(DateEncodeMessage());
  return value;
}

TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec) {
  TDateTime value;
  if (!TryEncodeTime(hour, min, sec, msec, value)) throw EConvertError(u"Invalid argument to time encode");
  return value;
}

TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec, Word msec) {
  TDateTime value;
  if (!TryEncodeDateTime(year, month, day, hour, min, sec, msec, value)) {
    const TFormatSettings& s = FormatSettings();
    String fields = DigitText(year) + s.DateSeparator + DigitText(month) + s.DateSeparator + DigitText(day) +
                    u' ' + DigitText(hour) + s.TimeSeparator + DigitText(min) + s.TimeSeparator + DigitText(sec) +
                    s.DecimalSeparator + DigitText(msec);
    throw EConvertError(QuotedMessage(fields, u"is not a valid date and time"));
  }
  return value;
}

bool DecodeDateFully(TDateTime value, Word& year, Word& month, Word& day, Word& dayOfWeek) {
  Int64 number;
  if (!ValidDayNumber(value, number)) {
    year = month = day = dayOfWeek = 0;
    return false;
  }
  Int64 y;
  SplitDayNumber(number, y, month, day);
  year = static_cast<Word>(y);
  dayOfWeek = static_cast<Word>(number % 7 + 1);
  return IsLeapYear(year);
}

void DecodeDate(TDateTime value, Word& year, Word& month, Word& day) {
  Word dayOfWeek;
  DecodeDateFully(value, year, month, day, dayOfWeek);
}

void DecodeTime(TDateTime value, Word& hour, Word& min, Word& sec, Word& msec) {
  Int64 day, time;
  if (!SplitStamp(value, day, time)) time = 0;
  hour = static_cast<Word>(time / 3600000);
  min = static_cast<Word>(time / 60000 % 60);
  sec = static_cast<Word>(time / 1000 % 60);
  msec = static_cast<Word>(time % 1000);
}

void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& min, Word& sec, Word& msec) {
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, min, sec, msec);
}

TTimeStamp DateTimeToTimeStamp(TDateTime value) {
  Int64 day, time;
  if (!SplitStamp(value, day, time)) throw EConvertError(DateEncodeMessage());
  return TTimeStamp{static_cast<Integer>(time), static_cast<Integer>(day)};
}

TDateTime TimeStampToDateTime(const TTimeStamp& stamp) {
  return JoinStamp(stamp.Date, stamp.Time);
}

// ---- Parts and arithmetic --------------------------------------------------------

Word DayOfWeek(TDateTime value) {
  Int64 day, time;
  if (!SplitStamp(value, day, time)) return 0;
  return static_cast<Word>(FloorMod(day, 7) + 1);
}

Word DayOfTheWeek(TDateTime value) {
  Int64 day, time;
  if (!SplitStamp(value, day, time)) return 0;
  return static_cast<Word>(FloorMod(day - 1, 7) + 1);
}

Word DayOfTheYear(TDateTime value) {
  Int64 number;
  if (!ValidDayNumber(value, number)) return 0;
  Int64 year;
  Word month, day;
  SplitDayNumber(number, year, month, day);
  return static_cast<Word>(number - DayNumber(year, 1, 1) + 1);
}

void DecodeDateWeek(TDateTime value, Word& isoYear, Word& weekOfYear, Word& dayOfWeek) {
  Int64 number;
  if (!ValidDayNumber(value, number)) {
    isoYear = weekOfYear = dayOfWeek = 0;
    return;
  }
  dayOfWeek = static_cast<Word>(FloorMod(number - 1, 7) + 1);
  // The week belongs to the year that holds its Thursday.
  const Int64 thursday = number - dayOfWeek + 4;
  Int64 year;
  Word month, day;
  SplitDayNumber(thursday, year, month, day);
  isoYear = static_cast<Word>(year);
  weekOfYear = static_cast<Word>((thursday - DayNumber(year, 1, 1)) / 7 + 1);
}

Word WeekOfTheYear(TDateTime value, Word& isoYear) {
  Word week, dayOfWeek;
  DecodeDateWeek(value, isoYear, week, dayOfWeek);
  return week;
}

Word WeekOfTheYear(TDateTime value) {
  Word isoYear;
  return WeekOfTheYear(value, isoYear);
}

Word YearOf(TDateTime value) {
  Word y, m, d;
  DecodeDate(value, y, m, d);
  return y;
}

Word MonthOf(TDateTime value) {
  Word y, m, d;
  DecodeDate(value, y, m, d);
  return m;
}

Word DayOf(TDateTime value) {
  Word y, m, d;
  DecodeDate(value, y, m, d);
  return d;
}

Word HourOf(TDateTime value) {
  Word h, n, s, z;
  DecodeTime(value, h, n, s, z);
  return h;
}

Word MinuteOf(TDateTime value) {
  Word h, n, s, z;
  DecodeTime(value, h, n, s, z);
  return n;
}

Word SecondOf(TDateTime value) {
  Word h, n, s, z;
  DecodeTime(value, h, n, s, z);
  return s;
}

Word MilliSecondOf(TDateTime value) {
  Word h, n, s, z;
  DecodeTime(value, h, n, s, z);
  return z;
}

TDateTime DateOf(TDateTime value) {
  return std::trunc(value);
}

TDateTime TimeOf(TDateTime value) {
  return value - std::trunc(value);
}

TDateTime IncDay(TDateTime value, Integer days) {
  const TDateTime simple = value + days;
  // Across 30 December 1899 the time part changes its sign: go by the clock.
  Int64 linear;
  if ((value >= 0 && simple >= 0) || !ToLinear(value, linear)) return simple;
  return FromLinear(linear + Int64{days} * MSecsPerDay);
}

TDateTime IncWeek(TDateTime value, Integer weeks) {
  return IncDay(value, static_cast<Integer>(std::clamp<Int64>(Int64{weeks} * 7, INT32_MIN, INT32_MAX)));
}

void IncAMonth(Word& year, Word& month, Word& day, Integer months) {
  Int64 y = year + Int64{months} / 12;
  Int64 m = month + Int64{months} % 12;
  if (m < 1) {
    m += 12;
    --y;
  } else if (m > 12) {
    m -= 12;
    ++y;
  }
  year = (y >= 1 && y <= 9999) ? static_cast<Word>(y) : 0;  // year 0 makes the encoding fail
  month = static_cast<Word>(m);
  const Word last = DaysInAMonth(year, month);
  if (day > last) day = last;
}

TDateTime IncMonth(TDateTime value, Integer months) {
  Word year, month, day;
  DecodeDate(value, year, month, day);
  IncAMonth(year, month, day, months);
  TDateTime result = EncodeDate(year, month, day);
  ReplaceTime(result, value);
  return result;
}

TDateTime IncYear(TDateTime value, Integer years) {
  return IncMonth(value, static_cast<Integer>(std::clamp<Int64>(Int64{years} * 12, INT32_MIN, INT32_MAX)));
}

void ReplaceTime(TDateTime& value, TDateTime newTime) {
  value = std::trunc(value);
  const TDateTime time = std::fabs(newTime - std::trunc(newTime));
  value = value >= 0 ? value + time : value - time;
}

void ReplaceDate(TDateTime& value, TDateTime newDate) {
  TDateTime result = newDate;
  ReplaceTime(result, value);
  value = result;
}

Int64 DateTimeToUnix(TDateTime value) {
  Int64 linear;
  if (!ToLinear(value, linear)) throw EConvertError(DateEncodeMessage());
  return (linear - Int64{UnixDateDelta} * MSecsPerDay) / 1000;
}

TDateTime UnixToDateTime(Int64 seconds) {
  constexpr Int64 kLinearLimit = static_cast<Int64>(kStampLimitDays) * SecsPerDay;
  if (seconds > kLinearLimit || seconds < -kLinearLimit) {
    return static_cast<double>(seconds) / SecsPerDay + UnixDateDelta;
  }
  return FromLinear(seconds * 1000 + Int64{UnixDateDelta} * MSecsPerDay);
}

Integer DateTimeToFileDate(TDateTime value) {
  Word year, month, day, hour, min, sec, msec;
  DecodeDateTime(value, year, month, day, hour, min, sec, msec);
  if (year < 1980 || year > 2107) return 0;
  const auto time = static_cast<UInt64>((sec >> 1) | (min << 5) | (hour << 11));
  const auto date = static_cast<UInt64>(day | (month << 5) | ((year - 1980) << 9));
  return static_cast<Integer>(static_cast<Cardinal>((date << 16) | time));
}

TDateTime FileDateToDateTime(Integer fileDate) {
  const auto packed = static_cast<Cardinal>(fileDate);
  const Cardinal date = packed >> 16;
  const Cardinal time = packed & 0xFFFF;
  const TDateTime day = EncodeDate(static_cast<Word>((date >> 9) + 1980), static_cast<Word>((date >> 5) & 15),
                                   static_cast<Word>(date & 31));
  return day + EncodeTime(static_cast<Word>(time >> 11), static_cast<Word>((time >> 5) & 63),
                          static_cast<Word>((time & 31) << 1), 0);
}

// ---- The clock ---------------------------------------------------------------------

const IDateTimeClock* SetDateTimeClock(const IDateTimeClock* clock) {
  const IDateTimeClock* previous = ClockOverride().exchange(clock);
  return previous != nullptr ? previous : &SystemDateTimeClock();
}

TDateTime Now() {
  const IDateTimeClock* clock = ClockOverride().load();
  return clock != nullptr ? clock->Now() : SystemDateTimeClock().Now();
}

TDateTime Date() {
  return DateOf(Now());
}

TDateTime Time() {
  return TimeOf(Now());
}

Word CurrentYear() {
  return YearOf(Now());
}

// ---- Text ----------------------------------------------------------------------------

String FormatDateTime(StringView format, TDateTime value, const TFormatSettings& settings) {
  DateTimeWriter writer(value, settings);
  writer.Write(format.empty() ? StringView(u"C") : format, 0);
  return std::move(writer.Text());
}

String FormatDateTime(StringView format, TDateTime value) {
  return FormatDateTime(format, value, FormatSettings());
}

String DateToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime(settings.ShortDateFormat, value, settings);
}
String DateToStr(TDateTime value) {
  return DateToStr(value, FormatSettings());
}

String TimeToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime(settings.LongTimeFormat, value, settings);
}
String TimeToStr(TDateTime value) {
  return TimeToStr(value, FormatSettings());
}

String DateTimeToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime(u"", value, settings);
}
String DateTimeToStr(TDateTime value) {
  return DateTimeToStr(value, FormatSettings());
}

bool TryStrToDate(StringView text, TDateTime& value, const TFormatSettings& settings) {
  DateTimeScanner scan(text, settings);
  TDateTime date;
  if (!scan.Date(date) || !scan.AtEnd()) return false;
  value = date;
  return true;
}
bool TryStrToDate(StringView text, TDateTime& value) {
  return TryStrToDate(text, value, FormatSettings());
}

bool TryStrToTime(StringView text, TDateTime& value, const TFormatSettings& settings) {
  DateTimeScanner scan(text, settings);
  TDateTime time;
  if (!scan.Time(time) || !scan.AtEnd()) return false;
  value = time;
  return true;
}
bool TryStrToTime(StringView text, TDateTime& value) {
  return TryStrToTime(text, value, FormatSettings());
}

bool TryStrToDateTime(StringView text, TDateTime& value, const TFormatSettings& settings) {
  DateTimeScanner scan(text, settings);
  TDateTime date, time = 0;
  if (scan.Date(date) && (scan.AtEnd() || (scan.Time(time) && scan.AtEnd()))) {
    value = date >= 0 ? date + time : date - time;
    return true;
  }
  return TryStrToTime(text, value, settings);
}
bool TryStrToDateTime(StringView text, TDateTime& value) {
  return TryStrToDateTime(text, value, FormatSettings());
}

TDateTime StrToDate(StringView text, const TFormatSettings& settings) {
  TDateTime value;
  if (!TryStrToDate(text, value, settings)) throw EConvertError(QuotedMessage(text, u"is not a valid date"));
  return value;
}
TDateTime StrToDate(StringView text) {
  return StrToDate(text, FormatSettings());
}

TDateTime StrToTime(StringView text, const TFormatSettings& settings) {
  TDateTime value;
  if (!TryStrToTime(text, value, settings)) throw EConvertError(QuotedMessage(text, u"is not a valid time"));
  return value;
}
TDateTime StrToTime(StringView text) {
  return StrToTime(text, FormatSettings());
}

TDateTime StrToDateTime(StringView text, const TFormatSettings& settings) {
  TDateTime value;
  if (!TryStrToDateTime(text, value, settings)) {
    throw EConvertError(QuotedMessage(text, u"is not a valid date and time"));
  }
  return value;
}
TDateTime StrToDateTime(StringView text) {
  return StrToDateTime(text, FormatSettings());
}

TDateTime StrToDateDef(StringView text, TDateTime fallback) {
  TDateTime value;
  return TryStrToDate(text, value) ? value : fallback;
}

TDateTime StrToDateTimeDef(StringView text, TDateTime fallback) {
  TDateTime value;
  return TryStrToDateTime(text, value) ? value : fallback;
}
