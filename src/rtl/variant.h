// Variants: one value of one of the platform's simple variant types, tagged
// with the platform's type code, converting between types by the platform's
// rules and failing with its errors.
#pragma once

#include <concepts>
#include <cstddef>
#include <type_traits>

#include "rtl/currency.h"
#include "rtl/datetime.h"
#include "rtl/types.h"

using TVarType = Word;

inline constexpr TVarType varEmpty = 0x0000;
inline constexpr TVarType varNull = 0x0001;
inline constexpr TVarType varSmallint = 0x0002;
inline constexpr TVarType varInteger = 0x0003;
inline constexpr TVarType varSingle = 0x0004;
inline constexpr TVarType varDouble = 0x0005;
inline constexpr TVarType varCurrency = 0x0006;
inline constexpr TVarType varDate = 0x0007;
inline constexpr TVarType varOleStr = 0x0008;
inline constexpr TVarType varDispatch = 0x0009;
inline constexpr TVarType varError = 0x000A;
inline constexpr TVarType varBoolean = 0x000B;
inline constexpr TVarType varVariant = 0x000C;
inline constexpr TVarType varUnknown = 0x000D;
inline constexpr TVarType varShortInt = 0x0010;
inline constexpr TVarType varByte = 0x0011;
inline constexpr TVarType varWord = 0x0012;
inline constexpr TVarType varLongWord = 0x0013;
inline constexpr TVarType varInt64 = 0x0014;
inline constexpr TVarType varUInt64 = 0x0015;
inline constexpr TVarType varString = 0x0100;
inline constexpr TVarType varUString = 0x0102;
inline constexpr TVarType varTypeMask = 0x0FFF;
inline constexpr TVarType varArray = 0x2000;
inline constexpr TVarType varByRef = 0x4000;

enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

class Variant {
 public:
  // Empty (Unassigned).
  Variant() = default;

  Variant(bool value) : FType(varBoolean), FInteger(value ? -1 : 0) {}
  // Integers take the type of their size and sign: 8-bit ShortInt/Byte,
  // 16-bit Smallint/Word, 32-bit Integer/LongWord, 64-bit Int64/UInt64.
  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, char8_t> &&
           !std::same_as<T, char16_t> && !std::same_as<T, char32_t> && !std::same_as<T, wchar_t>) Variant(T value)
      : FType(IntegerTypeOf<T>()) {
    if constexpr (std::is_signed_v<T>) {
      FInteger = value;
    } else {
      FUnsigned = value;
    }
  }
  Variant(float value) : FType(varSingle), FSingle(value) {}
  Variant(double value) : FType(varDouble), FDouble(value) {}
  Variant(long double value) : FType(varDouble), FDouble(static_cast<double>(value)) {}
  Variant(Currency value) : FType(varCurrency), FInteger(value.Scaled()) {}
  Variant(String value) : FType(varUString), FText(std::move(value)) {}
  Variant(StringView value) : FType(varUString), FText(value) {}
  Variant(const Char* value) : FType(varUString), FText(value != nullptr ? value : u"") {}
  Variant(Char value) : FType(varUString), FText(1, value) {}
  // Byte strings and other pointers would silently become booleans.
  Variant(const char*) = delete;
  Variant(std::nullptr_t) = delete;
  template <class T>
  Variant(T*) = delete;

  static Variant Null();
  static Variant FromDate(TDateTime value);
  // kind: varUString (the default), varOleStr or varString.
  static Variant FromString(String value, TVarType kind);

  TVarType VarType() const { return FType; }
  bool IsEmpty() const { return FType == varEmpty; }
  bool IsNull() const { return FType == varNull; }

  // Conversions by the platform's rules (see VarAsType). Failures raise
  // EVariantTypeCastError "Could not convert variant of type (%s) into type
  // (%s)" or EVariantOverflowError "Overflow while converting variant of type
  // (%s) into type (%s)".
  bool AsBoolean() const;
  ShortInt AsShortInt() const;
  Byte AsByte() const;
  SmallInt AsSmallint() const;
  Word AsWord() const;
  Integer AsInteger() const;
  LongWord AsLongWord() const;
  Int64 AsInt64() const;
  UInt64 AsUInt64() const;
  float AsSingle() const;
  double AsDouble() const;
  Currency AsCurrency() const;
  TDateTime AsDate() const;
  // Empty and Null give the empty text.
  String AsString() const;

  // Identical: the same type and the same stored value. The platform's
  // comparison across types is VarCompareValue.
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  template <class T>
  static constexpr TVarType IntegerTypeOf() {
    if constexpr (sizeof(T) == 1) return std::is_signed_v<T> ? varShortInt : varByte;
    if constexpr (sizeof(T) == 2) return std::is_signed_v<T> ? varSmallint : varWord;
    if constexpr (sizeof(T) == 4) return std::is_signed_v<T> ? varInteger : varLongWord;
    if constexpr (sizeof(T) == 8) return std::is_signed_v<T> ? varInt64 : varUInt64;
  }
  friend class VariantAccess;

  TVarType FType = varEmpty;
  union {
    Int64 FInteger = 0;  // signed integers, booleans (-1 or 0), currency scaled by 10 000
    UInt64 FUnsigned;    // unsigned integers
    double FDouble;      // double and date
    float FSingle;
  };
  String FText;
};

Variant Null();
Variant Unassigned();

inline TVarType VarType(const Variant& value) {
  return value.VarType();
}
inline bool VarIsEmpty(const Variant& value) {
  return value.IsEmpty();
}
inline bool VarIsNull(const Variant& value) {
  return value.IsNull();
}
inline bool VarIsClear(const Variant& value) {
  return value.IsEmpty();
}
inline bool VarIsType(const Variant& value, TVarType type) {
  return value.VarType() == type;
}
// Integers of every size and booleans.
bool VarIsOrdinal(const Variant& value);
// Single, double and currency.
bool VarIsFloat(const Variant& value);
bool VarIsNumeric(const Variant& value);
// The three string kinds.
bool VarIsStr(const Variant& value);
void VarClear(Variant& value);

// The platform's name of a type code: "Empty", "Null", "Smallint", "Integer",
// "Single", "Double", "Currency", "Date", "OleStr", "Boolean", "ShortInt",
// "Byte", "Word", "LongWord", "Int64", "UInt64", "String", "UnicodeString",
// ...; unknown codes as "$" and four hexadecimal digits; arrays and
// references prefixed by "Array " and "ByRef ".
String VarTypeAsText(TVarType type);

// The text of a variant; Null gives the empty text (or the fallback).
String VarToStr(const Variant& value);
String VarToStrDef(const Variant& value, StringView fallback);

// The value converted to another type:
// - to an integer type: integers must fit; floats, currency and dates are
//   rounded to the nearest (ties to even); booleans are -1 and 0; text is read
//   as an integer (decimal or "$" hexadecimal), else as a float, else as
//   "True"/"False".
// - to Single/Double: text read with StrToFloat, else "True"/"False".
// - to Currency: amounts outside the currency range overflow; text read with
//   StrToCurr.
// - to Date: numbers are taken as date-times (years 1..9999); text read with
//   StrToDateTime, else as a number.
// - to Boolean: numbers are True when not zero; text "True"/"False" without
//   regard to case, else a number.
// - to a string kind: IntToStr, FloatToStr, CurrToStr, DateTimeToStr, "True"
//   or "False".
// - to Empty or Null: that value.
// Empty converts to zero, False and the empty text; Null only to the empty
// text, Empty and Null. Text is read with the default format settings.
Variant VarAsType(const Variant& value, TVarType type);

// The platform's comparison: Empty equals only Empty and Null only Null,
// either against anything else is vrNotEqual; texts compare by code units;
// text against a number, date or boolean is converted to that kind first
// (raising when it does not convert); numbers compare by value.
TVariantRelationship VarCompareValue(const Variant& a, const Variant& b);
// VarCompareValue(a, b) == vrEqual.
bool VarSameValue(const Variant& a, const Variant& b);
