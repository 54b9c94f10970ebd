// Formatting any date-time by any format, and reading any text as a date,
// never crashes or hangs; the only failure reading may report is EConvertError.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "rtl/datetime.h"
#include "rtl/exceptions.h"
#include "rtl/unicode.h"

namespace {

class FixedClock final : public IDateTimeClock {
 public:
  TDateTime Now() const override { return 45458.5; }  // mid-2024
};

}  // namespace

// Input: 8 bytes of a double, one byte of options, then UTF-8 parts split by
// NUL bytes: the format, the text to read, the short date format and the
// long time format.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FixedClock clock;
  SetDateTimeClock(&clock);
  if (size < 9) return 0;
  TDateTime value;
  std::memcpy(&value, data, sizeof value);
  const std::uint8_t options = data[8];
  std::string_view rest(reinterpret_cast<const char*>(data + 9), size - 9);
  String parts[4];
  for (String& part : parts) {
    const std::size_t end = rest.find('\0');
    part = UTF8ToString(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  TFormatSettings settings;
  if (!parts[2].empty()) settings.ShortDateFormat = parts[2];
  if (!parts[3].empty()) settings.LongTimeFormat = parts[3];
  static constexpr Char kSeparators[] = {u'/', u'.', u'-', u' ', u':', 0, u'a', u'\u00E9'};
  settings.DateSeparator = kSeparators[options & 7];
  settings.TimeSeparator = kSeparators[(options >> 3) & 7];
  settings.TwoDigitYearCenturyWindow = static_cast<Word>(options >> 6) * 40;

  const String written = FormatDateTime(parts[0], value, settings);
  // Nothing expands more than two levels deep, so the text stays in proportion to its formats.
  const std::size_t bound = (parts[0].size() + 1) *
                            (settings.ShortDateFormat.size() + settings.LongDateFormat.size() +
                             settings.LongTimeFormat.size() + settings.ShortTimeFormat.size() + 64) *
                            64;
  if (written.size() > bound) std::abort();

  for (const StringView text : {StringView(parts[1]), StringView(written)}) {
    TDateTime read = 0;
    const bool ok = TryStrToDateTime(text, read, settings);
    if (ok && !(read >= MinDateTimeValue - 1 && read <= MaxDateTimeValue + 1)) std::abort();
    try {
      if (StrToDateTime(text, settings) != read || !ok) std::abort();
    } catch (const EConvertError&) {
      if (ok) std::abort();
    }
    try {
      StrToDate(text, settings);
    } catch (const EConvertError&) {
    }
    try {
      StrToTime(text, settings);
    } catch (const EConvertError&) {
    }
  }
  try {
    IncMonth(value, static_cast<std::int8_t>(options));
  } catch (const EConvertError&) {
  }
  Word y, w, d;
  DecodeDateWeek(value, y, w, d);
  try {
    UnixToDateTime(DateTimeToUnix(value));
  } catch (const EConvertError&) {
  }
  DateTimeToFileDate(value);
  return 0;
}
