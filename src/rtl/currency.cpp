#include "rtl/currency.h"

#include <bit>

#include "rtl/decimalconversion.h"
#include "rtl/exceptions.h"
#include "rtl/floattext.h"
#include "rtl/numbers.h"

using decimal_conversion::BinaryValue;
using decimal_conversion::DecimalText;
using decimal_conversion::FloatClass;
using decimal_conversion::NumberSource;

namespace {

using UInt128 = unsigned __int128;

constexpr UInt64 kMaxMagnitudePositive = (UInt64{1} << 63) - 1;
constexpr UInt64 kMaxMagnitudeNegative = UInt64{1} << 63;

[[noreturn]] void RaiseCurrencyOverflow() {
  throw EOverflow(u"Floating point overflow");
}

String InvalidCurrencyMessage(const String& valueText) {
  return u"'" + valueText + u"' is not a valid currency value";
}

// value >> shift rounded to nearest, ties to even.
UInt128 ShiftRightRounded(UInt128 value, int shift) {
  if (shift <= 0) return value;
  if (shift >= 128) return 0;
  const UInt128 kept = value >> shift;
  const UInt128 rest = value & ((UInt128{1} << shift) - 1);
  const UInt128 half = UInt128{1} << (shift - 1);
  return kept + ((rest > half || (rest == half && (kept & 1) != 0)) ? 1 : 0);
}

int BitWidth(UInt128 value) {
  const auto high = static_cast<UInt64>(value >> 64);
  return high != 0 ? 64 + std::bit_width(high) : std::bit_width(static_cast<UInt64>(value));
}

}  // namespace

Currency Currency::FromInteger(Int64 amount) {
  constexpr Int64 kLimit = std::numeric_limits<Int64>::max() / kScale;
  if (amount > kLimit || amount < -kLimit) throw EConvertError(InvalidCurrencyMessage(IntToStr(amount)));
  return FromScaled(amount * kScale);
}

Currency operator+(Currency a, Currency b) {
  Int64 sum = 0;
  if (__builtin_add_overflow(a.FScaled, b.FScaled, &sum)) RaiseCurrencyOverflow();
  return Currency::FromScaled(sum);
}

Currency operator-(Currency a, Currency b) {
  Int64 difference = 0;
  if (__builtin_sub_overflow(a.FScaled, b.FScaled, &difference)) RaiseCurrencyOverflow();
  return Currency::FromScaled(difference);
}

Currency Currency::operator-() const {
  return Currency() - *this;
}

bool TryFloatToCurr(long double value, Currency& result) {
  const BinaryValue binary = decimal_conversion::Decompose(value);
  if (binary.kind == FloatClass::Zero) {
    result = Currency();
    return true;
  }
  if (binary.kind != FloatClass::Finite) return false;
  // The processor scales in extended precision (64 bits, ties to even) and
  // then stores the integer with ties to even.
  UInt128 product = static_cast<UInt128>(binary.mantissa) * Currency::kScale;
  int exponent = binary.exponent;
  const int width = BitWidth(product);
  if (width > 64) {
    product = ShiftRightRounded(product, width - 64);
    exponent += width - 64;
    if (BitWidth(product) > 64) {
      product >>= 1;
      ++exponent;
    }
  }
  UInt128 magnitude;
  if (exponent >= 0) {
    if (exponent > 64 || BitWidth(product) + exponent > 64) return false;
    magnitude = product << exponent;
  } else {
    magnitude = ShiftRightRounded(product, -exponent);
  }
  if (magnitude > (binary.negative ? kMaxMagnitudeNegative : kMaxMagnitudePositive)) return false;
  const auto bits = static_cast<UInt64>(magnitude);
  result = Currency::FromScaled(static_cast<Int64>(binary.negative ? UInt64{0} - bits : bits));
  return true;
}

Currency FloatToCurr(long double value) {
  Currency result;
  if (!TryFloatToCurr(value, result)) throw EConvertError(InvalidCurrencyMessage(FloatToStr(value)));
  return result;
}

String CurrToStr(Currency value) {
  return CurrToStr(value, FormatSettings());
}

String CurrToStr(Currency value, const TFormatSettings& settings) {
  return CurrToStrF(value, ffGeneral, 0, settings);
}

String CurrToStrF(Currency value, TFloatFormat format, int digits) {
  return CurrToStrF(value, format, digits, FormatSettings());
}

String CurrToStrF(Currency value, TFloatFormat format, int digits, const TFormatSettings& settings) {
  return float_text::Render(NumberSource::OfCurrency(value.Scaled()), format, decimal_conversion::kCurrencyPrecision,
                            digits, settings);
}

bool TryStrToCurr(StringView text, Currency& value, const TFormatSettings& settings) {
  DecimalText decimal;
  if (decimal_conversion::ParseDecimalText(text, settings.DecimalSeparator, decimal) !=
      decimal_conversion::ParsedKind::Number) {
    return false;
  }
  Int64 scaled = 0;
  if (!decimal_conversion::DecimalToCurrency(decimal, scaled)) return false;
  value = Currency::FromScaled(scaled);
  return true;
}

bool TryStrToCurr(StringView text, Currency& value) {
  return TryStrToCurr(text, value, FormatSettings());
}

Currency StrToCurr(StringView text) {
  return StrToCurr(text, FormatSettings());
}

Currency StrToCurr(StringView text, const TFormatSettings& settings) {
  Currency value;
  if (!TryStrToCurr(text, value, settings)) throw EConvertError(InvalidFloatMessage(text));
  return value;
}

Currency StrToCurrDef(StringView text, Currency defaultValue) {
  return StrToCurrDef(text, defaultValue, FormatSettings());
}

Currency StrToCurrDef(StringView text, Currency defaultValue, const TFormatSettings& settings) {
  Currency value;
  return TryStrToCurr(text, value, settings) ? value : defaultValue;
}
