#include "rtl/extended.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// long double is the processor's 80-bit format with g++ on x86 (Linux and
// MinGW); its first 10 bytes are then exactly the stream's bytes.
constexpr bool kLongDoubleIsExtended =
    std::numeric_limits<long double>::digits == 64 && std::numeric_limits<long double>::max_exponent == 16384;

constexpr int kDoubleBias = 1023;

}  // namespace

Extended80 Extended80::FromBytes(const Byte* tenBytes) {
  Extended80 result;
  std::memcpy(result.bytes.data(), tenBytes, result.bytes.size());
  return result;
}

Extended80 Extended80::FromParts(bool negative, int biasedExponent, UInt64 significand) {
  Extended80 result;
  for (int i = 0; i < 8; ++i) result.bytes[static_cast<size_t>(i)] = static_cast<Byte>(significand >> (8 * i));
  result.bytes[8] = static_cast<Byte>(biasedExponent);
  result.bytes[9] = static_cast<Byte>(((biasedExponent >> 8) & 0x7F) | (negative ? 0x80 : 0));
  return result;
}

UInt64 Extended80::Significand() const {
  UInt64 result = 0;
  for (int i = 7; i >= 0; --i) result = (result << 8) | bytes[static_cast<size_t>(i)];
  return result;
}

bool Extended80::IsZero() const {
  return BiasedExponent() == 0 && Significand() == 0;
}

bool Extended80::IsInfinity() const {
  return BiasedExponent() == kMaxBiasedExponent && Significand() == (UInt64{1} << 63);
}

bool Extended80::IsNaN() const {
  const int exponent = BiasedExponent();
  const UInt64 significand = Significand();
  if (exponent == kMaxBiasedExponent) return significand != (UInt64{1} << 63);
  return exponent != 0 && (significand >> 63) == 0;
}

namespace extended_detail {

Extended80 SoftwareFromDouble(double value) {
  const auto bits = std::bit_cast<UInt64>(value);
  const bool negative = (bits >> 63) != 0;
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  const UInt64 fraction = bits & ((UInt64{1} << 52) - 1);
  if (exponent == 0x7FF) {
    // Infinity, or a NaN whose payload moves to the top of the significand.
    return Extended80::FromParts(negative, Extended80::kMaxBiasedExponent, (UInt64{1} << 63) | (fraction << 11));
  }
  if (exponent == 0) {
    if (fraction == 0) return Extended80::FromParts(negative, 0, 0);
    // A double denormal is a normal extended value.
    const int leading = std::countl_zero(fraction);
    const UInt64 significand = fraction << leading;
    const int biased = 1 - kDoubleBias - (leading - 11) + Extended80::kExponentBias;
    return Extended80::FromParts(negative, biased, significand);
  }
  return Extended80::FromParts(negative, exponent - kDoubleBias + Extended80::kExponentBias,
                               (UInt64{1} << 63) | (fraction << 11));
}

double SoftwareToDouble(const Extended80& value) {
  const bool negative = value.Negative();
  const UInt64 sign = negative ? UInt64{1} << 63 : 0;
  const int biased = value.BiasedExponent();
  const UInt64 significand = value.Significand();
  if (value.IsNaN()) {
    // Quiet NaN keeping the top of the payload.
    const UInt64 payload = (significand << 1) >> 12;
    return std::bit_cast<double>(sign | (UInt64{0x7FF} << 52) | (UInt64{1} << 51) | payload);
  }
  if (value.IsInfinity()) return std::bit_cast<double>(sign | (UInt64{0x7FF} << 52));
  if (significand == 0) return std::bit_cast<double>(sign);
  // value = significand * 2^(e - 63) with e the unbiased exponent of the integer bit.
  const int leading = std::countl_zero(significand);
  const UInt64 normalised = significand << leading;
  long long exponent = static_cast<long long>(biased == 0 ? 1 : biased) - Extended80::kExponentBias - leading;
  // Target: 53 bits; for a result below the normal range fewer bits remain.
  int drop = 11;
  if (exponent < 1 - kDoubleBias) {
    const long long extra = (1 - kDoubleBias) - exponent;
    if (extra > 53) return std::bit_cast<double>(sign);  // below half the smallest denormal
    drop += static_cast<int>(extra);
  }
  UInt64 mantissa = drop >= 64 ? 0 : normalised >> drop;
  const UInt64 rest = drop >= 64 ? normalised : normalised & ((UInt64{1} << drop) - 1);
  const UInt64 half = UInt64{1} << (drop - 1);
  if (rest > half || (rest == half && (mantissa & 1) != 0)) ++mantissa;
  if (exponent < 1 - kDoubleBias) {
    // Denormal (or rounded up into the smallest normal, which the same bits express).
    return std::bit_cast<double>(sign | mantissa);
  }
  if (mantissa == (UInt64{1} << 53)) {
    mantissa >>= 1;
    ++exponent;
  }
  if (exponent > kDoubleBias) return std::bit_cast<double>(sign | (UInt64{0x7FF} << 52));
  const auto doubleExponent = static_cast<UInt64>(exponent + kDoubleBias);
  return std::bit_cast<double>(sign | (doubleExponent << 52) | (mantissa & ((UInt64{1} << 52) - 1)));
}

}  // namespace extended_detail

Extended80 Extended80::FromDouble(double value) {
  return extended_detail::SoftwareFromDouble(value);
}

double Extended80::ToDouble() const {
  return extended_detail::SoftwareToDouble(*this);
}

Extended80 Extended80::FromLongDouble(long double value) {
  if constexpr (kLongDoubleIsExtended) {
    Extended80 result;
    std::memcpy(result.bytes.data(), &value, result.bytes.size());
    return result;
  } else if constexpr (std::numeric_limits<long double>::digits <= 53) {
    return FromDouble(static_cast<double>(value));
  } else {
    // A wider long double: round its significand to 64 bits.
    if (std::isnan(value)) return FromParts(std::signbit(value), kMaxBiasedExponent, UInt64{3} << 62);
    if (std::isinf(value)) return FromParts(std::signbit(value), kMaxBiasedExponent, UInt64{1} << 63);
    if (value == 0) return FromParts(std::signbit(value), 0, 0);
    int exponent = 0;
    const long double fraction = std::frexp(std::fabs(value), &exponent);  // [0.5, 1)
    long double scaled = std::nearbyint(std::ldexp(fraction, 64));
    if (scaled >= std::ldexp(1.0L, 64)) {
      scaled = std::ldexp(1.0L, 63);
      ++exponent;
    }
    UInt64 significand = static_cast<UInt64>(scaled);
    int biased = exponent - 1 + kExponentBias;
    if (biased >= kMaxBiasedExponent) return FromParts(std::signbit(value), kMaxBiasedExponent, UInt64{1} << 63);
    if (biased <= 0) {
      const int shift = 1 - biased;
      significand = shift >= 64 ? 0 : significand >> shift;
      biased = 0;
    }
    return FromParts(std::signbit(value), biased, significand);
  }
}

long double Extended80::ToLongDouble() const {
  if constexpr (kLongDoubleIsExtended) {
    long double result = 0;
    std::memcpy(&result, bytes.data(), bytes.size());
    return result;
  } else if constexpr (std::numeric_limits<long double>::digits <= 53) {
    return ToDouble();
  } else {
    if (IsNaN())
      return Negative() ? -std::numeric_limits<long double>::quiet_NaN()
                        : std::numeric_limits<long double>::quiet_NaN();
    if (IsInfinity())
      return Negative() ? -std::numeric_limits<long double>::infinity() : std::numeric_limits<long double>::infinity();
    const int exponent = BiasedExponent() == 0 ? 1 : BiasedExponent();
    const long double magnitude = std::ldexp(static_cast<long double>(Significand()), exponent - kExponentBias - 63);
    return Negative() ? -magnitude : magnitude;
  }
}
