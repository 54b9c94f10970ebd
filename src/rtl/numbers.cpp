#include "rtl/numbers.h"

#include <limits>

#include "rtl/exceptions.h"

namespace {

String DecimalDigits(UInt64 magnitude, bool negative) {
  Char buffer[24];
  Char* end = buffer + std::size(buffer);
  Char* p = end;
  do {
    *--p = static_cast<Char>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) *--p = u'-';
  return String(p, end);
}

int HexValue(Char c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// The platform's integer syntax: leading blanks, an optional sign, then
// decimal digits, or "$", "x", "X", "0x", "0X" and hexadecimal digits, and
// nothing after them. Decimal magnitudes must fit the limit of their sign;
// hexadecimal ones may use all `hexBits` bits and are taken as the two's
// complement pattern.
struct ParsedInteger {
  bool negative = false;
  bool hex = false;
  UInt64 magnitude = 0;
};

bool ParseInteger(StringView text, int hexBits, UInt64 positiveLimit, UInt64 negativeLimit, ParsedInteger& out) {
  size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    out.negative = text[i] == u'-';
    ++i;
  }
  if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    out.hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    out.hex = true;
    i += 2;
  }
  if (i == text.size()) return false;
  UInt64 value = 0;
  if (out.hex) {
    const UInt64 limit = hexBits == 64 ? std::numeric_limits<UInt64>::max() : (UInt64{1} << hexBits) - 1;
    for (; i < text.size(); ++i) {
      const int digit = HexValue(text[i]);
      if (digit < 0) return false;
      if (value > (limit >> 4)) return false;
      value = (value << 4) | static_cast<UInt64>(digit);
    }
  } else {
    const UInt64 limit = out.negative ? negativeLimit : positiveLimit;
    for (; i < text.size(); ++i) {
      const Char c = text[i];
      if (c < u'0' || c > u'9') return false;
      const auto digit = static_cast<UInt64>(c - u'0');
      if (value > limit / 10 || digit > limit - value * 10) return false;
      value = value * 10 + digit;
    }
  }
  out.magnitude = value;
  return true;
}

[[noreturn]] void RaiseInvalidInteger(StringView text) {
  throw EConvertError(InvalidIntegerMessage(text));
}

}  // namespace

namespace number_text {

String HexDigits(UInt64 value, int minDigits) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  Char buffer[16];
  int count = 0;
  do {
    buffer[count++] = kDigits[value & 15];
    value >>= 4;
  } while (value != 0);
  String result;
  if (minDigits > count) result.assign(static_cast<size_t>(minDigits - count), u'0');
  while (count > 0) result.push_back(buffer[--count]);
  return result;
}

}  // namespace number_text

String IntToStr(Int64 value) {
  const bool negative = value < 0;
  const UInt64 magnitude = negative ? UInt64{0} - static_cast<UInt64>(value) : static_cast<UInt64>(value);
  return DecimalDigits(magnitude, negative);
}

String UIntToStr(UInt64 value) {
  return DecimalDigits(value, false);
}

String InvalidIntegerMessage(StringView text) {
  String message = u"'";
  message.append(text);
  message.append(u"' is not a valid integer value");
  return message;
}

bool TryStrToInt(StringView text, Integer& value) {
  ParsedInteger parsed;
  if (!ParseInteger(text, 32, 0x7FFFFFFFu, 0x80000000u, parsed)) return false;
  auto bits = static_cast<std::uint32_t>(parsed.magnitude);
  if (parsed.negative) bits = 0u - bits;
  value = static_cast<Integer>(bits);
  return true;
}

bool TryStrToInt64(StringView text, Int64& value) {
  ParsedInteger parsed;
  if (!ParseInteger(text, 64, 0x7FFFFFFFFFFFFFFFu, 0x8000000000000000u, parsed)) return false;
  UInt64 bits = parsed.magnitude;
  if (parsed.negative) bits = UInt64{0} - bits;
  value = static_cast<Int64>(bits);
  return true;
}

bool TryStrToUInt64(StringView text, UInt64& value) {
  ParsedInteger parsed;
  if (!ParseInteger(text, 64, std::numeric_limits<UInt64>::max(), 0, parsed)) return false;
  if (parsed.negative && parsed.magnitude != 0) return false;
  value = parsed.magnitude;
  return true;
}

Integer StrToInt(StringView text) {
  Integer value = 0;
  if (!TryStrToInt(text, value)) RaiseInvalidInteger(text);
  return value;
}

Int64 StrToInt64(StringView text) {
  Int64 value = 0;
  if (!TryStrToInt64(text, value)) RaiseInvalidInteger(text);
  return value;
}

UInt64 StrToUInt64(StringView text) {
  UInt64 value = 0;
  if (!TryStrToUInt64(text, value)) RaiseInvalidInteger(text);
  return value;
}

Integer StrToIntDef(StringView text, Integer defaultValue) {
  Integer value = 0;
  return TryStrToInt(text, value) ? value : defaultValue;
}

Int64 StrToInt64Def(StringView text, Int64 defaultValue) {
  Int64 value = 0;
  return TryStrToInt64(text, value) ? value : defaultValue;
}

#ifndef _WIN32
Integer MulDiv(Integer number, Integer numerator, Integer denominator) {
  if (denominator == 0) return -1;
  Int64 product = static_cast<Int64>(number) * numerator;
  bool negative = (product < 0) != (denominator < 0);
  UInt64 magnitude = product < 0 ? static_cast<UInt64>(-product) : static_cast<UInt64>(product);
  UInt64 divisor = denominator < 0 ? static_cast<UInt64>(-static_cast<Int64>(denominator)) : denominator;
  UInt64 quotient = (magnitude + divisor / 2) / divisor;
  if (quotient > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return -1;
  return negative ? static_cast<Integer>(-static_cast<Int64>(quotient)) : static_cast<Integer>(quotient);
}
#endif
