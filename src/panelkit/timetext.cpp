#include "panelkit/timetext.h"

#include <array>

TDateTime TimePickerTime(TDateTime value, bool standardMinute) {
  Word hour = 0, minute = 0, second = 0, millisecond = 0;
  DecodeTime(value, hour, minute, second, millisecond);
  if (hour >= HoursPerDay) hour = 0;
  if (standardMinute) minute = static_cast<Word>(minute / 5 * 5);
  return EncodeTime(hour, minute, 0, 0);
}

String TimePickerText(TDateTime value, bool standardMinute, const TFormatSettings& settings) {
  return FormatDateTime(settings.LongTimeFormat, TimePickerTime(value, standardMinute), settings);
}

TDateTime ReadTimePickerText(StringView text, TDateTime now, const TFormatSettings& settings) {
  if (text.empty() || text == u"0") return now;
  TDateTime value = 0;
  return TryStrToTime(text, value, settings) ? value : 0;
}

String ReducedTimeFormat(StringView timeFormat, const TFormatSettings& settings) {
  const StringView format = timeFormat.empty() ? StringView(settings.LongTimeFormat) : timeFormat;
  static constexpr std::array<Char, 4> kKept{u':', u'h', u'm', u's'};
  std::array<int, 4> seen{};
  String result;
  for (Char ch : format) {
    for (size_t i = 0; i < kKept.size(); ++i) {
      if (ch != kKept[i] || seen[i] == 2) continue;
      ++seen[i];
      result.push_back(ch);
    }
  }
  return result;
}
