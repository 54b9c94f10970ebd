#include "rtl/variant.h"

#include <cmath>
#include <limits>

#include "rtl/exceptions.h"
#include "rtl/floattext.h"
#include "rtl/format.h"
#include "rtl/formatsettings.h"
#include "rtl/numbers.h"

// Reads the stored value of a variant for the conversions below.
class VariantAccess {
 public:
  static Int64 Signed(const Variant& v) { return v.FInteger; }
  static UInt64 Unsigned(const Variant& v) { return v.FUnsigned; }
  static double Double(const Variant& v) { return v.FDouble; }
  static float Single(const Variant& v) { return v.FSingle; }
  static const String& Text(const Variant& v) { return v.FText; }
};

namespace {

using Int128 = __int128;

[[noreturn]] void RaiseCastError(TVarType from, TVarType to) {
  throw EVariantTypeCastError(
      Format(u"Could not convert variant of type (%s) into type (%s)", {VarTypeAsText(from), VarTypeAsText(to)}));
}

[[noreturn]] void RaiseOverflow(TVarType from, TVarType to) {
  throw EVariantOverflowError(Format(u"Overflow while converting variant of type (%s) into type (%s)",
                                     {VarTypeAsText(from), VarTypeAsText(to)}));
}

bool IsStringType(TVarType type) {
  return type == varUString || type == varOleStr || type == varString;
}

bool IsSignedType(TVarType type) {
  return type == varSmallint || type == varInteger || type == varShortInt || type == varInt64;
}

bool IsUnsignedType(TVarType type) {
  return type == varByte || type == varWord || type == varLongWord || type == varUInt64;
}

Char AsciiUpper(Char c) {
  return (c >= u'a' && c <= u'z') ? static_cast<Char>(c - 32) : c;
}

bool SameAsciiText(StringView a, StringView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

StringView TrimBlanks(StringView text) {
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
  return text;
}

// "True" or "False" without regard to case.
bool TryBooleanWord(StringView text, bool& value) {
  text = TrimBlanks(text);
  if (SameAsciiText(text, u"True")) {
    value = true;
    return true;
  }
  if (SameAsciiText(text, u"False")) {
    value = false;
    return true;
  }
  return false;
}

// A double rounded to a whole number, ties to even; false when it is no
// finite number or lies beyond any 64-bit integer.
bool RoundToWhole(long double value, Int128& whole) {
  if (!std::isfinite(value)) return false;
  const long double rounded = std::nearbyint(value);
  constexpr long double kLimit = 18446744073709551616.0L;  // 2^64
  if (rounded >= kLimit || rounded <= -kLimit) return false;
  whole = rounded < 0 ? -static_cast<Int128>(static_cast<UInt64>(-rounded))
                      : static_cast<Int128>(static_cast<UInt64>(rounded));
  return true;
}

Int128 RoundCurrency(Int64 scaled) {
  Int128 quotient = scaled / Currency::kScale;
  const Int64 rest = scaled % Currency::kScale;
  const Int64 twice = (rest < 0 ? -rest : rest) * 2;
  if (twice > Currency::kScale || (twice == Currency::kScale && (quotient & 1) != 0)) quotient += rest < 0 ? -1 : 1;
  return quotient;
}

// The source as a whole number for a conversion to an integer type.
Int128 WholeNumberOf(const Variant& v, TVarType target) {
  const TVarType type = v.VarType();
  Int128 whole = 0;
  switch (type) {
    case varEmpty: return 0;
    case varBoolean: return VariantAccess::Signed(v);
    case varCurrency: return RoundCurrency(VariantAccess::Signed(v));
    case varSingle:
      if (!RoundToWhole(VariantAccess::Single(v), whole)) RaiseOverflow(type, target);
      return whole;
    case varDouble:
    case varDate:
      if (!RoundToWhole(VariantAccess::Double(v), whole)) RaiseOverflow(type, target);
      return whole;
    default: break;
  }
  if (IsSignedType(type)) return VariantAccess::Signed(v);
  if (IsUnsignedType(type)) return VariantAccess::Unsigned(v);
  if (IsStringType(type)) {
    const String& text = VariantAccess::Text(v);
    Int64 signedValue;
    UInt64 unsignedValue;
    long double floatValue;
    bool boolean;
    if (TryStrToInt64(text, signedValue)) return signedValue;
    if (TryStrToUInt64(text, unsignedValue)) return unsignedValue;
    if (TryStrToFloat(text, floatValue, FormatSettings())) {
      if (!RoundToWhole(floatValue, whole)) RaiseOverflow(type, target);
      return whole;
    }
    if (TryBooleanWord(text, boolean)) return boolean ? -1 : 0;
  }
  RaiseCastError(type, target);
}

template <class T>
T ToInteger(const Variant& v, TVarType target) {
  if (v.VarType() == target) {
    return static_cast<T>(std::is_signed_v<T> ? VariantAccess::Signed(v)
                                              : static_cast<Int64>(VariantAccess::Unsigned(v)));
  }
  const Int128 whole = WholeNumberOf(v, target);
  if (whole < static_cast<Int128>(std::numeric_limits<T>::min()) ||
      whole > static_cast<Int128>(std::numeric_limits<T>::max())) {
    RaiseOverflow(v.VarType(), target);
  }
  return static_cast<T>(whole);
}

// Numbers as extended floats for the float, currency, date and boolean
// targets; text is left to each target.
bool NumberOf(const Variant& v, long double& number) {
  const TVarType type = v.VarType();
  switch (type) {
    case varEmpty: number = 0; return true;
    case varBoolean: number = static_cast<long double>(VariantAccess::Signed(v)); return true;
    case varCurrency: number = Currency::FromScaled(VariantAccess::Signed(v)).ToExtended(); return true;
    case varSingle: number = VariantAccess::Single(v); return true;
    case varDouble:
    case varDate: number = VariantAccess::Double(v); return true;
    default: break;
  }
  if (IsSignedType(type)) {
    number = static_cast<long double>(VariantAccess::Signed(v));
    return true;
  }
  if (IsUnsignedType(type)) {
    number = static_cast<long double>(VariantAccess::Unsigned(v));
    return true;
  }
  return false;
}

// Text read as an extended float and stored in the target's precision, as
// the platform does; a number beyond the target's range overflows, text that
// is no number may still be a boolean word.
template <class F>
F TextToFloat(const Variant& v, TVarType target) {
  const String& text = VariantAccess::Text(v);
  long double wide;
  if (TryStrToFloat(text, wide, FormatSettings())) {
    if (std::isfinite(wide) && std::fabs(wide) > std::numeric_limits<F>::max()) RaiseOverflow(v.VarType(), target);
    return static_cast<F>(wide);
  }
  bool boolean;
  if (TryBooleanWord(text, boolean)) return boolean ? F(-1) : F(0);
  RaiseCastError(v.VarType(), target);
}

bool InDateRange(long double value) {
  return value >= MinDateTimeValue && value < MaxDateTimeValue + 1e-8;
}

}  // namespace

// ---- Construction and identity ------------------------------------------------------

Variant Variant::Null() {
  Variant v;
  v.FType = varNull;
  return v;
}

Variant Variant::FromDate(TDateTime value) {
  Variant v(value);
  v.FType = varDate;
  return v;
}

Variant Variant::FromString(String value, TVarType kind) {
  Variant v(std::move(value));
  if (IsStringType(kind)) v.FType = kind;
  return v;
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.FType != b.FType) return false;
  switch (a.FType) {
    case varEmpty:
    case varNull: return true;
    case varSingle: return a.FSingle == b.FSingle;
    case varDouble:
    case varDate: return a.FDouble == b.FDouble;
    default: break;
  }
  if (IsStringType(a.FType)) return a.FText == b.FText;
  if (IsUnsignedType(a.FType)) return a.FUnsigned == b.FUnsigned;
  return a.FInteger == b.FInteger;
}

Variant Null() {
  return Variant::Null();
}

Variant Unassigned() {
  return Variant();
}

void VarClear(Variant& value) {
  value = Variant();
}

bool VarIsOrdinal(const Variant& value) {
  const TVarType type = value.VarType();
  return type == varBoolean || IsSignedType(type) || IsUnsignedType(type);
}

bool VarIsFloat(const Variant& value) {
  const TVarType type = value.VarType();
  return type == varSingle || type == varDouble || type == varCurrency;
}

bool VarIsNumeric(const Variant& value) {
  return VarIsOrdinal(value) || VarIsFloat(value);
}

bool VarIsStr(const Variant& value) {
  return IsStringType(value.VarType());
}

String VarTypeAsText(TVarType type) {
  static const char16_t* const kNames[] = {u"Empty",    u"Null",     u"Smallint", u"Integer",  u"Single",   u"Double",
                                           u"Currency", u"Date",     u"OleStr",   u"Dispatch", u"Error",    u"Boolean",
                                           u"Variant",  u"Unknown",  u"Decimal",  u"$000F",    u"ShortInt", u"Byte",
                                           u"Word",     u"LongWord", u"Int64",    u"UInt64"};
  const TVarType base = type & varTypeMask;
  String name;
  if (base < std::size(kNames)) {
    name = kNames[base];
  } else if (base == varString) {
    name = u"String";
  } else if (base == varUString) {
    name = u"UnicodeString";
  } else {
    name = u"$" + IntToHex(base, 4);
  }
  if ((type & varArray) != 0) name = u"Array " + name;
  if ((type & varByRef) != 0) name = u"ByRef " + name;
  return name;
}

// ---- Conversions ----------------------------------------------------------------------

bool Variant::AsBoolean() const {
  if (FType == varBoolean) return FInteger != 0;
  if (FType == varCurrency) return FInteger != 0;
  long double number;
  if (NumberOf(*this, number)) return number != 0;
  if (IsStringType(FType)) {
    bool boolean;
    if (TryBooleanWord(FText, boolean)) return boolean;
    if (TryStrToFloat(FText, number, FormatSettings())) return number != 0;
  }
  RaiseCastError(FType, varBoolean);
}

ShortInt Variant::AsShortInt() const {
  return ToInteger<ShortInt>(*this, varShortInt);
}
Byte Variant::AsByte() const {
  return ToInteger<Byte>(*this, varByte);
}
SmallInt Variant::AsSmallint() const {
  return ToInteger<SmallInt>(*this, varSmallint);
}
Word Variant::AsWord() const {
  return ToInteger<Word>(*this, varWord);
}
Integer Variant::AsInteger() const {
  return ToInteger<Integer>(*this, varInteger);
}
LongWord Variant::AsLongWord() const {
  return ToInteger<LongWord>(*this, varLongWord);
}
Int64 Variant::AsInt64() const {
  return ToInteger<Int64>(*this, varInt64);
}

UInt64 Variant::AsUInt64() const {
  if (FType == varUInt64) return FUnsigned;
  const Int128 whole = WholeNumberOf(*this, varUInt64);
  if (whole < 0 || whole > static_cast<Int128>(std::numeric_limits<UInt64>::max())) RaiseOverflow(FType, varUInt64);
  return static_cast<UInt64>(whole);
}

double Variant::AsDouble() const {
  if (FType == varDouble) return FDouble;
  if (IsStringType(FType)) return TextToFloat<double>(*this, varDouble);
  long double number;
  if (!NumberOf(*this, number)) RaiseCastError(FType, varDouble);
  return static_cast<double>(number);
}

float Variant::AsSingle() const {
  if (FType == varSingle) return FSingle;
  if (IsStringType(FType)) return TextToFloat<float>(*this, varSingle);
  long double number;
  if (!NumberOf(*this, number)) RaiseCastError(FType, varSingle);
  if (std::isfinite(number) && std::fabs(number) > std::numeric_limits<float>::max()) RaiseOverflow(FType, varSingle);
  return static_cast<float>(number);
}

Currency Variant::AsCurrency() const {
  if (FType == varCurrency) return Currency::FromScaled(FInteger);
  if (IsSignedType(FType) || IsUnsignedType(FType) || FType == varBoolean) {
    const Int128 whole = WholeNumberOf(*this, varCurrency);
    const Int128 scaled = whole * Currency::kScale;
    if (scaled < std::numeric_limits<Int64>::min() || scaled > std::numeric_limits<Int64>::max()) {
      RaiseOverflow(FType, varCurrency);
    }
    return Currency::FromScaled(static_cast<Int64>(scaled));
  }
  Currency result;
  long double number;
  if (NumberOf(*this, number)) {
    if (!TryFloatToCurr(number, result)) RaiseOverflow(FType, varCurrency);
    return result;
  }
  if (IsStringType(FType)) {
    if (TryStrToCurr(FText, result, FormatSettings())) return result;
    if (TryStrToFloat(FText, number, FormatSettings())) RaiseOverflow(FType, varCurrency);
    bool boolean;
    if (TryBooleanWord(FText, boolean)) return Currency::FromScaled(boolean ? -Currency::kScale : 0);
  }
  RaiseCastError(FType, varCurrency);
}

TDateTime Variant::AsDate() const {
  if (FType == varDate) return FDouble;
  long double number;
  if (NumberOf(*this, number)) {
    if (!InDateRange(number)) RaiseOverflow(FType, varDate);
    return static_cast<double>(number);
  }
  if (IsStringType(FType)) {
    TDateTime date;
    if (TryStrToDateTime(FText, date, FormatSettings())) return date;
    if (TryStrToFloat(FText, number, FormatSettings())) {
      if (!InDateRange(number)) RaiseOverflow(FType, varDate);
      return static_cast<double>(number);
    }
  }
  RaiseCastError(FType, varDate);
}

String Variant::AsString() const {
  switch (FType) {
    case varEmpty:
    case varNull: return String();
    case varBoolean: return FInteger != 0 ? u"True" : u"False";
    case varSingle: return FloatToStr(FSingle);
    case varDouble: return FloatToStr(FDouble);
    case varCurrency: return CurrToStr(Currency::FromScaled(FInteger));
    case varDate: return DateTimeToStr(FDouble);
    default: break;
  }
  if (IsStringType(FType)) return FText;
  if (IsSignedType(FType)) return IntToStr(FInteger);
  if (IsUnsignedType(FType)) return UIntToStr(FUnsigned);
  RaiseCastError(FType, varUString);
}

String VarToStr(const Variant& value) {
  return value.AsString();
}

String VarToStrDef(const Variant& value, StringView fallback) {
  return value.IsNull() ? String(fallback) : value.AsString();
}

Variant VarAsType(const Variant& value, TVarType type) {
  if (value.VarType() == type) return value;
  if (value.IsNull() && !IsStringType(type) && type != varEmpty) {
    if (type == varNull) return value;
    RaiseCastError(varNull, type);
  }
  switch (type) {
    case varEmpty: return Variant();
    case varNull: return Null();
    case varSmallint: return value.AsSmallint();
    case varInteger: return value.AsInteger();
    case varSingle: return value.AsSingle();
    case varDouble: return value.AsDouble();
    case varCurrency: return value.AsCurrency();
    case varDate: return Variant::FromDate(value.AsDate());
    case varBoolean: return value.AsBoolean();
    case varShortInt: return value.AsShortInt();
    case varByte: return value.AsByte();
    case varWord: return value.AsWord();
    case varLongWord: return value.AsLongWord();
    case varInt64: return value.AsInt64();
    case varUInt64: return value.AsUInt64();
    case varOleStr:
    case varString:
    case varUString: return Variant::FromString(value.AsString(), type);
    default: RaiseCastError(value.VarType(), type);
  }
}

// ---- Comparison --------------------------------------------------------------------------

namespace {

template <class T>
TVariantRelationship Relate(const T& a, const T& b) {
  if (a == b) return vrEqual;
  if (a < b) return vrLessThan;
  if (b < a) return vrGreaterThan;
  return vrNotEqual;  // NaN
}

bool IsWholeType(TVarType type) {
  return IsSignedType(type) || IsUnsignedType(type);
}

Int128 WholeValue(const Variant& v) {
  return IsUnsignedType(v.VarType()) ? static_cast<Int128>(VariantAccess::Unsigned(v))
                                     : static_cast<Int128>(VariantAccess::Signed(v));
}

TVariantRelationship CompareNonText(const Variant& a, const Variant& b) {
  const TVarType ta = a.VarType(), tb = b.VarType();
  if (ta == varBoolean && tb == varBoolean) {
    // False before True, as the language orders booleans.
    return Relate(VariantAccess::Signed(a) != 0, VariantAccess::Signed(b) != 0);
  }
  if ((IsWholeType(ta) || ta == varBoolean) && (IsWholeType(tb) || tb == varBoolean)) {
    return Relate(WholeValue(a), WholeValue(b));
  }
  if (ta == varCurrency && tb == varCurrency) return Relate(VariantAccess::Signed(a), VariantAccess::Signed(b));
  long double x, y;
  if (!NumberOf(a, x) || !NumberOf(b, y)) return vrNotEqual;
  return Relate(x, y);
}

// The text side converted to the kind of the other side.
Variant TextAs(const Variant& text, const Variant& other) {
  switch (other.VarType()) {
    case varBoolean: return text.AsBoolean();
    case varDate: return Variant::FromDate(text.AsDate());
    case varCurrency: return text.AsCurrency();
    default: return text.AsDouble();
  }
}

}  // namespace

TVariantRelationship VarCompareValue(const Variant& a, const Variant& b) {
  if (a.IsEmpty()) return b.IsEmpty() ? vrEqual : vrNotEqual;
  if (a.IsNull()) return b.IsNull() ? vrEqual : vrNotEqual;
  if (b.IsEmpty() || b.IsNull()) return vrNotEqual;
  const bool textA = VarIsStr(a), textB = VarIsStr(b);
  if (textA && textB) {
    const int order = VariantAccess::Text(a).compare(VariantAccess::Text(b));
    return order == 0 ? vrEqual : (order < 0 ? vrLessThan : vrGreaterThan);
  }
  if (textA) return CompareNonText(TextAs(a, b), b);
  if (textB) return CompareNonText(a, TextAs(b, a));
  return CompareNonText(a, b);
}

bool VarSameValue(const Variant& a, const Variant& b) {
  return VarCompareValue(a, b) == vrEqual;
}
