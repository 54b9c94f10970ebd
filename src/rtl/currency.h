// The platform's Currency: a 64-bit integer holding the amount times 10 000,
// exact for four decimal places.
#pragma once

#include <compare>
#include <limits>

#include "rtl/formatsettings.h"
#include "rtl/types.h"

enum TFloatFormat : int;

class Currency {
 public:
  static constexpr Int64 kScale = 10000;

  constexpr Currency() = default;
  static constexpr Currency FromScaled(Int64 scaled) {
    Currency result;
    result.FScaled = scaled;
    return result;
  }
  // Raises EConvertError "'<value>' is not a valid currency value" when the
  // amount is outside the range.
  static Currency FromInteger(Int64 amount);

  constexpr Int64 Scaled() const { return FScaled; }
  long double ToExtended() const { return static_cast<long double>(FScaled) / kScale; }
  double ToDouble() const { return static_cast<double>(ToExtended()); }

  // Overflow raises EOverflow, as the processor's integer arithmetic of the
  // platform reports it.
  friend Currency operator+(Currency a, Currency b);
  friend Currency operator-(Currency a, Currency b);
  Currency operator-() const;
  Currency& operator+=(Currency other) { return *this = *this + other; }
  Currency& operator-=(Currency other) { return *this = *this - other; }

  friend constexpr bool operator==(Currency, Currency) = default;
  friend constexpr auto operator<=>(Currency a, Currency b) { return a.FScaled <=> b.FScaled; }

 private:
  Int64 FScaled = 0;
};

inline constexpr Currency MinCurrency = Currency::FromScaled(std::numeric_limits<Int64>::min());
inline constexpr Currency MaxCurrency = Currency::FromScaled(std::numeric_limits<Int64>::max());

// Rounded to four places with ties to even, as the processor stores it.
// Raises EConvertError "'<value>' is not a valid currency value" out of range
// or for NaN and infinities.
Currency FloatToCurr(long double value);
bool TryFloatToCurr(long double value, Currency& result);

String CurrToStr(Currency value);
String CurrToStr(Currency value, const TFormatSettings& settings);
String CurrToStrF(Currency value, TFloatFormat format, int digits);
String CurrToStrF(Currency value, TFloatFormat format, int digits, const TFormatSettings& settings);

// The float syntax of StrToFloat; the amount is rounded to four places.
// Raises EConvertError "'<text>' is not a valid floating point value".
Currency StrToCurr(StringView text);
Currency StrToCurr(StringView text, const TFormatSettings& settings);
Currency StrToCurrDef(StringView text, Currency defaultValue);
Currency StrToCurrDef(StringView text, Currency defaultValue, const TFormatSettings& settings);
bool TryStrToCurr(StringView text, Currency& value);
bool TryStrToCurr(StringView text, Currency& value, const TFormatSettings& settings);
