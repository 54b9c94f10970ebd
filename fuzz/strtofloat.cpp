// Number text from outside: the float, integer and currency readers and
// Format with any format string either succeed or raise EConvertError, and
// what they accept survives a round through the writers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "rtl/currency.h"
#include "rtl/exceptions.h"
#include "rtl/floattext.h"
#include "rtl/format.h"
#include "rtl/numbers.h"
#include "rtl/unicode.h"

namespace {

void CheckFloat(const String& text, const TFormatSettings& settings) {
  double value = 0;
  if (TryStrToFloat(text, value, settings)) {
    const String written = FloatToStrF(value, ffExponent, 17, 0, settings);
    double back = 0;
    if (!TryStrToFloat(written, back, settings)) std::abort();
    // Text keeps no sign of zero; everything else comes back bit for bit.
    if (value == value && value != 0 && std::memcmp(&value, &back, sizeof value) != 0) std::abort();
    FloatToStrF(value, ffFixed, 16, 18, settings);
    FloatToStrF(value, ffNumber, 15, 4, settings);
    FloatToStrF(value, ffCurrency, 15, 2, settings);
  }
  try {
    const long double extended = StrToFloat(text, settings);
    FloatToStrF(extended, ffGeneral, 18, 0, settings);
    FormatFloat(text, extended, settings);
  } catch (const EConvertError&) {
  }
}

void CheckIntegers(const String& text) {
  Int64 value = 0;
  if (TryStrToInt64(text, value) && StrToInt64(IntToStr(value)) != value) std::abort();
  Integer small = 0;
  if (TryStrToInt(text, small) && StrToInt(IntToStr(small)) != small) std::abort();
  try {
    StrToInt(text);
  } catch (const EConvertError&) {
  }
}

void CheckCurrency(const String& text, const TFormatSettings& settings) {
  Currency value;
  if (TryStrToCurr(text, value, settings)) {
    Currency back;
    if (!TryStrToCurr(CurrToStr(value, settings), back, settings) || back != value) std::abort();
  }
}

void CheckFormat(const String& format, const TFormatSettings& settings) {
  // Fields may be a million characters wide; a short format keeps memory small.
  if (format.size() > 64) return;
  static const int kInteger = -7;
  try {
    Format(format, {kInteger, Int64{1} << 40, 3.5, u"text", Currency::FromScaled(12345), u'c', "utf8", nullptr, 2, 1},
           settings);
  } catch (const EConvertError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 4096) return 0;
  TFormatSettings settings = InvariantFormatSettings();
  if ((data[0] & 1) != 0) {
    settings.DecimalSeparator = u',';
    settings.ThousandSeparator = u'.';
  }
  const String text = UTF8ToString(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  switch ((data[0] >> 1) % 4) {
    case 0: CheckFloat(text, settings); break;
    case 1: CheckIntegers(text); break;
    case 2: CheckCurrency(text, settings); break;
    default: CheckFormat(text, settings); break;
  }
  return 0;
}
