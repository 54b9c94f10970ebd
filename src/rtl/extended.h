// The 80-bit extended float of the platform's streams: 10 little-endian bytes,
// a 64-bit significand with an explicit integer bit, a 15-bit exponent biased
// by 16383 and the sign. The bytes are kept exactly as read, so a value that
// is read and written again is the same whatever this machine's long double is.
#pragma once

#include <array>

#include "rtl/types.h"

struct Extended80 {
  std::array<Byte, 10> bytes{};

  static constexpr int kExponentBias = 16383;
  static constexpr int kMaxBiasedExponent = 0x7FFF;

  static Extended80 FromBytes(const Byte* tenBytes);
  static Extended80 FromParts(bool negative, int biasedExponent, UInt64 significand);
  // Exact: every double is an extended value.
  static Extended80 FromDouble(double value);
  // Exact where long double has at most 64 significand bits; a wider long
  // double is rounded to nearest, ties to even.
  static Extended80 FromLongDouble(long double value);

  bool Negative() const { return (bytes[9] & 0x80) != 0; }
  int BiasedExponent() const { return ((bytes[9] & 0x7F) << 8) | bytes[8]; }
  UInt64 Significand() const;

  bool IsZero() const;
  bool IsInfinity() const;
  // NaN also covers the encodings the processor refuses as operands
  // (pseudo-NaN, pseudo-infinity and unnormals): they are read as NaN.
  bool IsNaN() const;

  // Rounded to nearest, ties to even; too large for a double gives an
  // infinity, too small a denormal or a signed zero.
  double ToDouble() const;
  // Exact where long double is the 80-bit format; otherwise rounded as ToDouble.
  long double ToLongDouble() const;

  friend bool operator==(const Extended80&, const Extended80&) = default;
};

namespace extended_detail {
// The portable conversions, which the long double ones use where long double
// is not the 80-bit format; public so that every build can test them.
Extended80 SoftwareFromDouble(double value);
double SoftwareToDouble(const Extended80& value);
}  // namespace extended_detail
