// Integer <-> text conversions with the platform's rules: decimal with an
// optional sign, "$", "x" or "0x" for hexadecimal, overflow is an error.
#pragma once

#include <concepts>
#include <type_traits>

#include "rtl/types.h"

String IntToStr(Int64 value);
String UIntToStr(UInt64 value);

namespace number_text {
String HexDigits(UInt64 value, int minDigits);
}  // namespace number_text

// Upper-case hexadecimal with at least `digits` digits. A negative value shows
// the two's complement of its own width: IntToHex(-1, 4) is "FFFFFFFF" for a
// 32-bit argument and sixteen "F" for a 64-bit one.
template <std::integral T>
requires(!std::same_as<T, bool>) String IntToHex(T value, int digits = static_cast<int>(sizeof(T) * 2)) {
  return number_text::HexDigits(static_cast<UInt64>(static_cast<std::make_unsigned_t<T>>(value)), digits);
}

// Raise EConvertError "'<text>' is not a valid integer value" on failure.
Integer StrToInt(StringView text);
Int64 StrToInt64(StringView text);
UInt64 StrToUInt64(StringView text);
Integer StrToIntDef(StringView text, Integer defaultValue);
Int64 StrToInt64Def(StringView text, Int64 defaultValue);
bool TryStrToInt(StringView text, Integer& value);
bool TryStrToInt64(StringView text, Int64& value);
bool TryStrToUInt64(StringView text, UInt64& value);

// The message the integer conversions raise, for callers that check text themselves.
String InvalidIntegerMessage(StringView text);

// Number × Numerator / Denominator with a 64-bit intermediate, rounded to the
// nearest integer (halves away from zero), as the platform's MulDiv; -1 for a
// zero denominator or a result outside 32 bits. On Windows it is the system's
// own, declared as the system headers declare it so that both can be included.
#ifdef _WIN32
extern "C" __declspec(dllimport) int __stdcall MulDiv(int number, int numerator, int denominator);
#else
Integer MulDiv(Integer number, Integer numerator, Integer denominator);
#endif
