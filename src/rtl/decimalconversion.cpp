#include "rtl/decimalconversion.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace decimal_conversion {
namespace {

using UInt128 = unsigned __int128;

// Unsigned big integer, little-endian 32-bit limbs; just the operations the
// exact conversions need.
class BigUInt {
 public:
  explicit BigUInt(UInt64 value = 0) {
    while (value != 0) {
      FLimbs.push_back(static_cast<std::uint32_t>(value));
      value >>= 32;
    }
  }

  bool IsZero() const { return FLimbs.empty(); }

  int BitLength() const {
    if (FLimbs.empty()) return 0;
    return static_cast<int>(FLimbs.size() - 1) * 32 + std::bit_width(FLimbs.back());
  }

  void MultiplyAdd(std::uint32_t factor, std::uint32_t addend) {
    UInt64 carry = addend;
    for (auto& limb : FLimbs) {
      const UInt64 product = static_cast<UInt64>(limb) * factor + carry;
      limb = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    if (carry != 0) FLimbs.push_back(static_cast<std::uint32_t>(carry));
    Trim();
  }

  void MultiplyPow5(long long count) {
    constexpr std::uint32_t kPow5_13 = 1220703125;  // 5^13, the largest power of 5 in 32 bits
    for (; count >= 13; count -= 13) MultiplyAdd(kPow5_13, 0);
    std::uint32_t rest = 1;
    for (; count > 0; --count) rest *= 5;
    if (rest != 1) MultiplyAdd(rest, 0);
  }

  void ShiftLeft(long long bits) {
    if (FLimbs.empty() || bits <= 0) return;
    const auto limbShift = static_cast<size_t>(bits / 32);
    const int bitShift = static_cast<int>(bits % 32);
    if (bitShift != 0) {
      std::uint32_t carry = 0;
      for (auto& limb : FLimbs) {
        const std::uint32_t next = limb >> (32 - bitShift);
        limb = (limb << bitShift) | carry;
        carry = next;
      }
      if (carry != 0) FLimbs.push_back(carry);
    }
    FLimbs.insert(FLimbs.begin(), limbShift, 0u);
  }

  void ShiftRightOne() {
    std::uint32_t carry = 0;
    for (size_t i = FLimbs.size(); i-- > 0;) {
      const std::uint32_t limb = FLimbs[i];
      FLimbs[i] = (limb >> 1) | (carry << 31);
      carry = limb & 1;
    }
    Trim();
  }

  // this -= other; requires this >= other.
  void Subtract(const BigUInt& other) {
    std::int64_t borrow = 0;
    for (size_t i = 0; i < FLimbs.size(); ++i) {
      std::int64_t difference = static_cast<std::int64_t>(FLimbs[i]) - borrow -
                                (i < other.FLimbs.size() ? static_cast<std::int64_t>(other.FLimbs[i]) : 0);
      borrow = difference < 0 ? 1 : 0;
      if (difference < 0) difference += std::int64_t{1} << 32;
      FLimbs[i] = static_cast<std::uint32_t>(difference);
    }
    Trim();
  }

  friend int Compare(const BigUInt& a, const BigUInt& b) {
    if (a.FLimbs.size() != b.FLimbs.size()) return a.FLimbs.size() < b.FLimbs.size() ? -1 : 1;
    for (size_t i = a.FLimbs.size(); i-- > 0;) {
      if (a.FLimbs[i] != b.FLimbs[i]) return a.FLimbs[i] < b.FLimbs[i] ? -1 : 1;
    }
    return 0;
  }

 private:
  void Trim() {
    while (!FLimbs.empty() && FLimbs.back() == 0) FLimbs.pop_back();
  }

  std::vector<std::uint32_t> FLimbs;
};

// numerator / denominator for a quotient known to be below 2^quotientBits
// (at most 127); the remainder stays in numerator.
UInt128 Divide(BigUInt& numerator, const BigUInt& denominator, int quotientBits) {
  BigUInt shifted = denominator;
  shifted.ShiftLeft(quotientBits - 1);
  UInt128 quotient = 0;
  for (int bit = quotientBits - 1; bit >= 0; --bit) {
    if (Compare(numerator, shifted) >= 0) {
      numerator.Subtract(shifted);
      quotient |= UInt128{1} << bit;
    }
    shifted.ShiftRightOne();
  }
  return quotient;
}

constexpr UInt64 kPow10_17 = 100000000000000000ull;
constexpr UInt64 kPow10_18 = 1000000000000000000ull;

// The first 18 significant digits of mantissa * 2^exponent, rounded to
// nearest with ties to even, and the decimal exponent k with
// value ~ 0.digits * 10^k.
void EighteenDigits(UInt64 mantissa, int exponent, UInt64& digits, int& decimalExponent) {
  const int bitLength = std::bit_width(mantissa) + exponent;
  int k = static_cast<int>(std::floor((bitLength - 1) * 0.30102999566398120)) + 1;
  for (;;) {
    // Q = floor(value * 10^(18 - k)); with k right, 10^17 <= Q < 10^18.
    const int scale = kMaxPrecision - k;
    BigUInt numerator(mantissa);
    BigUInt denominator(1);
    if (scale >= 0) {
      numerator.MultiplyPow5(scale);
    } else {
      denominator.MultiplyPow5(-scale);
    }
    const long long twos = static_cast<long long>(exponent) + scale;
    if (twos >= 0) {
      numerator.ShiftLeft(twos);
    } else {
      denominator.ShiftLeft(-twos);
    }
    if (numerator.BitLength() - denominator.BitLength() > 66) {
      ++k;
      continue;
    }
    UInt128 quotient = Divide(numerator, denominator, 68);
    if (quotient >= UInt128{kPow10_18} * 10) {
      ++k;
      continue;
    }
    if (quotient < kPow10_17) {
      --k;
      continue;
    }
    bool roundUp;
    if (quotient >= kPow10_18) {
      // One digit too many: k was one too small. Round on that digit.
      const auto lastDigit = static_cast<int>(quotient % 10);
      quotient /= 10;
      ++k;
      roundUp = lastDigit > 5 || (lastDigit == 5 && (!numerator.IsZero() || (quotient & 1) != 0));
    } else {
      // Compare the remainder with half the denominator.
      BigUInt twice = numerator;
      twice.ShiftLeft(1);
      const int order = Compare(twice, denominator);
      roundUp = order > 0 || (order == 0 && (quotient & 1) != 0);
    }
    digits = static_cast<UInt64>(quotient) + (roundUp ? 1 : 0);
    if (digits == kPow10_18) {
      digits = kPow10_17;
      ++k;
    }
    decimalExponent = k;
    return;
  }
}

// Rounds `digits` (value 0.digits * 10^exponent) half away from zero to
// `keep` significant digits and strips trailing zeros.
void RoundDigits(DecimalValue& value, int keep) {
  std::string& digits = value.digits;
  if (keep < 0) {
    digits.clear();
  } else if (keep < static_cast<int>(digits.size())) {
    const bool roundUp = digits[static_cast<size_t>(keep)] >= '5';
    digits.resize(static_cast<size_t>(keep));
    if (roundUp) {
      int i = keep - 1;
      while (i >= 0 && digits[static_cast<size_t>(i)] == '9') {
        digits[static_cast<size_t>(i)] = '0';
        --i;
      }
      if (i >= 0) {
        ++digits[static_cast<size_t>(i)];
      } else {
        digits.assign(1, '1');  // all nines carried over
        ++value.exponent;
      }
    }
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.empty()) {
    value.kind = FloatClass::Zero;
    value.negative = false;
    value.exponent = 0;
  }
}

int ClampDecimals(int precision, int exponent, int decimals) {
  const long long limit = static_cast<long long>(exponent) + std::clamp(decimals, -100000, 100000);
  return static_cast<int>(std::min<long long>(precision, limit));
}

bool IsBlank(Char c) {
  return c == u' ';
}

bool MatchesWordIgnoringCase(StringView text, size_t at, std::u16string_view word) {
  if (text.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    Char c = text[at + i];
    if (c >= u'a' && c <= u'z') c = static_cast<Char>(c - 32);
    if (c != word[i]) return false;
  }
  return true;
}

// Enough digits to place any decimal number exactly between two neighbouring
// extended values: halfway points have fewer significant digits than this.
constexpr size_t kMaxExactDigits = 12000;
constexpr long long kExponentLimit = 1000000000;

}  // namespace

BinaryValue Decompose(const Extended80& value) {
  BinaryValue result;
  result.negative = value.Negative();
  const int biased = value.BiasedExponent();
  const UInt64 significand = value.Significand();
  const bool integerBit = (significand >> 63) != 0;
  if (biased == Extended80::kMaxBiasedExponent) {
    result.kind = integerBit && (significand << 1) == 0 ? FloatClass::Infinity : FloatClass::NaN;
    return result;
  }
  if (biased != 0 && !integerBit) {
    result.kind = FloatClass::NaN;  // an unnormal, which the processor refuses
    return result;
  }
  if (significand == 0) return result;
  result.kind = FloatClass::Finite;
  result.mantissa = significand;
  result.exponent = std::max(biased, 1) - Extended80::kExponentBias - 63;
  return result;
}

BinaryValue Decompose(long double value) {
  return Decompose(Extended80::FromLongDouble(value));
}

DecimalValue ToDecimal(const BinaryValue& value, int precision, int decimals) {
  DecimalValue result;
  result.kind = value.kind;
  result.negative = value.negative;
  if (value.kind != FloatClass::Finite) {
    if (value.kind == FloatClass::Zero) result.negative = false;
    return result;
  }
  UInt64 digits = 0;
  EighteenDigits(value.mantissa, value.exponent, digits, result.exponent);
  result.digits = std::to_string(digits);
  precision = std::clamp(precision, 1, kMaxPrecision);
  RoundDigits(result, ClampDecimals(precision, result.exponent, decimals));
  return result;
}

DecimalValue CurrencyToDecimal(Int64 scaled, int precision, int decimals) {
  DecimalValue result;
  if (scaled == 0) return result;
  result.kind = FloatClass::Finite;
  result.negative = scaled < 0;
  const UInt64 magnitude = result.negative ? UInt64{0} - static_cast<UInt64>(scaled) : static_cast<UInt64>(scaled);
  result.digits = std::to_string(magnitude);
  result.exponent = static_cast<int>(result.digits.size()) - 4;
  RoundDigits(result, ClampDecimals(std::clamp(precision, 1, kCurrencyPrecision), result.exponent, decimals));
  return result;
}

ParsedKind ParseDecimalText(StringView text, Char decimalSeparator, DecimalText& out) {
  out = DecimalText{};
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    out.negative = text[i] == u'-';
    ++i;
  }
  auto onlyBlanksFrom = [&](size_t from) {
    while (from < n && IsBlank(text[from])) ++from;
    return from == n;
  };
  if (MatchesWordIgnoringCase(text, i, u"INF"))
    return onlyBlanksFrom(i + 3) ? ParsedKind::Infinity : ParsedKind::Invalid;
  if (MatchesWordIgnoringCase(text, i, u"NAN")) return onlyBlanksFrom(i + 3) ? ParsedKind::NaN : ParsedKind::Invalid;

  long long exponent = 0;
  bool anyDigit = false;
  bool afterPoint = false;
  for (; i < n; ++i) {
    const Char c = text[i];
    if (c >= u'0' && c <= u'9') {
      anyDigit = true;
      if (out.digits.empty() && c == u'0') {
        if (afterPoint) --exponent;
        continue;
      }
      if (out.digits.size() < kMaxExactDigits) {
        out.digits.push_back(static_cast<char>(c));
        if (afterPoint) --exponent;
      } else {
        if (c != u'0') out.inexactTail = true;
        if (!afterPoint) ++exponent;
      }
      exponent = std::clamp(exponent, -kExponentLimit, kExponentLimit);
    } else if (c == decimalSeparator && !afterPoint) {
      afterPoint = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return ParsedKind::Invalid;
  if (i < n && (text[i] == u'E' || text[i] == u'e')) {
    ++i;
    bool negativeExponent = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
      negativeExponent = text[i] == u'-';
      ++i;
    }
    if (i == n || text[i] < u'0' || text[i] > u'9') return ParsedKind::Invalid;
    long long written = 0;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
      written = std::min(written * 10 + (text[i] - u'0'), kExponentLimit);
    }
    exponent += negativeExponent ? -written : written;
  }
  if (!onlyBlanksFrom(i)) return ParsedKind::Invalid;
  while (!out.digits.empty() && out.digits.back() == '0') {
    out.digits.pop_back();
    ++exponent;
  }
  out.exponent = exponent;
  return ParsedKind::Number;
}

bool DecimalToBinary(const DecimalText& text, const BinaryFormat& format, BinaryValue& out) {
  out = BinaryValue{};
  out.negative = text.negative;
  if (text.digits.empty()) return true;  // zero, with its sign
  const auto digitCount = static_cast<long long>(text.digits.size());
  // value < 10^(digitCount + exponent) and >= 10^(digitCount + exponent - 1).
  const long long magnitude = digitCount + text.exponent;
  if ((magnitude - 1) * 3 > format.maxExponent) return false;  // 10^(m-1) >= 2^(3(m-1)) > max
  if (magnitude * 3 < format.minExponent - 2) {                // 10^m < 2^(3m): below half the smallest denormal
    out.kind = FloatClass::Zero;
    return true;
  }

  BigUInt numerator(0);
  for (size_t at = 0; at < text.digits.size(); at += 9) {
    const size_t end = std::min(at + 9, text.digits.size());
    std::uint32_t chunk = 0;
    std::uint32_t scale = 1;
    for (size_t j = at; j < end; ++j) {
      chunk = chunk * 10 + static_cast<std::uint32_t>(text.digits[j] - '0');
      scale *= 10;
    }
    numerator.MultiplyAdd(scale, chunk);
  }
  long long exponent10 = text.exponent;
  if (text.inexactTail) {
    numerator.MultiplyAdd(10, 1);
    --exponent10;
  }
  BigUInt denominator(1);
  // value = numerator / denominator * 2^binaryExponent
  if (exponent10 >= 0) {
    numerator.MultiplyPow5(exponent10);
  } else {
    denominator.MultiplyPow5(-exponent10);
  }
  long long binaryExponent = exponent10;
  const int p = format.mantissaBits;
  const long long shift = p + 1 - (numerator.BitLength() - denominator.BitLength());
  if (shift >= 0) {
    numerator.ShiftLeft(shift);
  } else {
    denominator.ShiftLeft(-shift);
  }
  binaryExponent -= shift;
  const UInt128 quotient = Divide(numerator, denominator, p + 3);
  const bool sticky = !numerator.IsZero();
  const int quotientBits =
      128 - (static_cast<UInt64>(quotient >> 64) != 0 ? std::countl_zero(static_cast<UInt64>(quotient >> 64))
                                                      : 64 + std::countl_zero(static_cast<UInt64>(quotient)));
  long long drop = quotientBits - p;
  if (binaryExponent + drop < format.minExponent) drop = format.minExponent - binaryExponent;
  UInt128 mantissa = 0;
  if (drop < 127) {
    mantissa = quotient >> drop;
    const UInt128 rest = quotient & ((UInt128{1} << drop) - 1);
    const UInt128 half = UInt128{1} << (drop - 1);
    if (rest > half || (rest == half && (sticky || (mantissa & 1) != 0))) ++mantissa;
    if (mantissa == UInt128{1} << p) {
      mantissa >>= 1;
      ++drop;
    }
  }
  if (mantissa == 0) {
    out.kind = FloatClass::Zero;
    return true;
  }
  const long long finalExponent = binaryExponent + drop;
  const int mantissaBits = std::bit_width(static_cast<UInt64>(mantissa));
  if (finalExponent + mantissaBits > format.maxExponent) return false;
  out.kind = FloatClass::Finite;
  out.mantissa = static_cast<UInt64>(mantissa);
  out.exponent = static_cast<int>(finalExponent);
  return true;
}

bool DecimalToCurrency(const DecimalText& text, Int64& scaled) {
  const auto digitCount = static_cast<long long>(text.digits.size());
  const long long integerDigits = digitCount + text.exponent + 4;  // digits before the point of value * 10^4
  if (integerDigits > 19) return false;
  UInt64 magnitude = 0;
  for (long long i = 0; i < integerDigits; ++i) {
    const UInt64 digit = i < digitCount ? static_cast<UInt64>(text.digits[static_cast<size_t>(i)] - '0') : 0;
    if (magnitude > (std::numeric_limits<UInt64>::max() - digit) / 10) return false;
    magnitude = magnitude * 10 + digit;
  }
  if (integerDigits >= 0 && integerDigits < digitCount) {
    const char first = text.digits[static_cast<size_t>(integerDigits)];
    bool moreAfter = text.inexactTail;
    for (auto j = static_cast<size_t>(integerDigits) + 1; j < text.digits.size() && !moreAfter; ++j) {
      moreAfter = text.digits[j] != '0';
    }
    if (first > '5' || (first == '5' && (moreAfter || (magnitude & 1) != 0))) ++magnitude;
  }
  const UInt64 limit = text.negative ? UInt64{1} << 63 : (UInt64{1} << 63) - 1;
  if (magnitude > limit) return false;
  scaled = text.negative ? static_cast<Int64>(UInt64{0} - magnitude) : static_cast<Int64>(magnitude);
  return true;
}

NumberSource NumberSource::Of(long double value) {
  NumberSource source;
  source.binary = Decompose(value);
  return source;
}

NumberSource NumberSource::OfCurrency(Int64 scaled) {
  NumberSource source;
  source.isCurrency = true;
  source.scaled = scaled;
  source.binary.kind = scaled == 0 ? FloatClass::Zero : FloatClass::Finite;
  source.binary.negative = scaled < 0;
  return source;
}

DecimalValue NumberSource::Digits(int precision, int decimals) const {
  return isCurrency ? CurrencyToDecimal(scaled, precision, decimals) : ToDecimal(binary, precision, decimals);
}

Extended80 ToExtended80(const BinaryValue& value) {
  switch (value.kind) {
    case FloatClass::Zero: return Extended80::FromParts(value.negative, 0, 0);
    case FloatClass::Infinity:
      return Extended80::FromParts(value.negative, Extended80::kMaxBiasedExponent, UInt64{1} << 63);
    case FloatClass::NaN: return Extended80::FromParts(value.negative, Extended80::kMaxBiasedExponent, UInt64{3} << 62);
    case FloatClass::Finite: break;
  }
  // Normalise the mantissa to 64 bits; a value below the normal range keeps
  // the smallest exponent with a denormal significand (callers round first).
  const int leading = std::countl_zero(value.mantissa);
  int biased = value.exponent - leading + 63 + Extended80::kExponentBias;
  UInt64 significand = value.mantissa << leading;
  if (biased <= 0) {
    const int shift = 1 - biased;
    significand = shift >= 64 ? 0 : significand >> shift;
    biased = 0;
  }
  return Extended80::FromParts(value.negative, biased, significand);
}

long double ToLongDouble(const BinaryValue& value) {
  return ToExtended80(value).ToLongDouble();
}

double ToDouble(const BinaryValue& value) {
  return ToExtended80(value).ToDouble();
}

}  // namespace decimal_conversion
