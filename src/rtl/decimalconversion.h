// Exact conversions between binary floats and decimal digits, shared by the
// float, currency and Format routines. Everything here is integer arithmetic,
// so the digits are the same on every build and never depend on a C locale.
#pragma once

#include <string>

#include "rtl/extended.h"
#include "rtl/types.h"

namespace decimal_conversion {

enum class FloatClass { Zero, Finite, Infinity, NaN };

// A finite value is mantissa * 2^exponent (mantissa not 0).
struct BinaryValue {
  FloatClass kind = FloatClass::Zero;
  bool negative = false;
  UInt64 mantissa = 0;
  int exponent = 0;
};

BinaryValue Decompose(const Extended80& value);
BinaryValue Decompose(long double value);

// A finite value is 0.digits * 10^exponent; digits are ASCII, without
// trailing zeros, empty for zero.
struct DecimalValue {
  FloatClass kind = FloatClass::Zero;
  bool negative = false;
  int exponent = 0;
  std::string digits;
};

// The platform's digit generation: the value is taken to 18 significant
// digits (ties to even), which are then rounded half away from zero to at
// most `precision` significant digits and at most `decimals` digits after the
// point. A value that rounds away completely is an unsigned zero.
inline constexpr int kMaxPrecision = 18;
DecimalValue ToDecimal(const BinaryValue& value, int precision, int decimals);
// A currency amount (scaled by 10 000) is exact in 19 digits; `precision`
// (1..19) and `decimals` round it half away from zero.
inline constexpr int kCurrencyPrecision = 19;
DecimalValue CurrencyToDecimal(Int64 scaled, int precision, int decimals);

// A decimal number as text gives it: value = digits * 10^exponent with the
// digits as written (leading zeros removed, at most a bounded count kept
// exactly, the rest only as "something non-zero follows").
struct DecimalText {
  bool negative = false;
  std::string digits;
  bool inexactTail = false;
  long long exponent = 0;
};

// The platform's float syntax: blanks, optional sign, digits with at most one
// decimal separator (at least one digit in all), an optional "E" or "e" with
// optional sign and at least one digit, blanks. Also "INF", "NAN" with an
// optional sign, in any case. No thousands separators.
enum class ParsedKind { Invalid, Number, Infinity, NaN };
ParsedKind ParseDecimalText(StringView text, Char decimalSeparator, DecimalText& out);

// Correctly rounded (nearest, ties to even) to a binary format with
// `mantissaBits` significant bits whose smallest denormal is 2^minExponent and
// whose values stay below 2^maxExponent. Returns false on overflow.
struct BinaryFormat {
  int mantissaBits;
  int minExponent;
  int maxExponent;
};
inline constexpr BinaryFormat kExtendedFormat{64, -16445, 16384};
inline constexpr BinaryFormat kDoubleFormat{53, -1074, 1024};
inline constexpr BinaryFormat kSingleFormat{24, -149, 128};
bool DecimalToBinary(const DecimalText& text, const BinaryFormat& format, BinaryValue& out);

// The scaled currency integer of a decimal number, rounded to nearest with ties
// to even as the processor does; false when it does not fit 64 bits.
bool DecimalToCurrency(const DecimalText& text, Int64& scaled);

// A value to be written: a binary float or a scaled currency amount.
struct NumberSource {
  bool isCurrency = false;
  BinaryValue binary;
  Int64 scaled = 0;

  static NumberSource Of(long double value);
  static NumberSource OfCurrency(Int64 scaled);
  DecimalValue Digits(int precision, int decimals) const;
  int MaxPrecision() const { return isCurrency ? kCurrencyPrecision : kMaxPrecision; }
};

// Value construction for the machine's types.
long double ToLongDouble(const BinaryValue& value);
double ToDouble(const BinaryValue& value);
Extended80 ToExtended80(const BinaryValue& value);

}  // namespace decimal_conversion
