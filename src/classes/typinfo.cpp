#include "classes/typinfo.h"

#include <limits>
#include <utility>

#include "rtl/exceptions.h"
#include "rtl/format.h"
#include "rtl/unicode.h"

namespace {

bool SameIdent(StringView a, StringView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    Char x = a[i], y = b[i];
    if (x >= u'a' && x <= u'z') x = static_cast<Char>(x - 32);
    if (y >= u'a' && y <= u'z') y = static_cast<Char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

TTypeInfo::TTypeInfo(TTypeKind kind, String name, String unitName)
    : FKind(kind), FName(std::move(name)), FUnitName(std::move(unitName)) {}

TTypeInfo::~TTypeInfo() = default;

TOrdinalTypeInfo::TOrdinalTypeInfo(TTypeKind kind, String name, String unitName, TOrdType ordType, Int64 minValue,
                                   Int64 maxValue, std::vector<TIdentMapEntry> identMap)
    : TTypeInfo(kind, std::move(name), std::move(unitName)),
      FOrdType(ordType),
      FMinValue(minValue),
      FMaxValue(maxValue),
      FIdentMap(std::move(identMap)) {}

int TOrdinalTypeInfo::Size() const {
  switch (FOrdType) {
    case otSByte:
    case otUByte: return 1;
    case otSWord:
    case otUWord: return 2;
    default: return 4;
  }
}

bool TOrdinalTypeInfo::IdentToInt(StringView ident, Integer& value) const {
  for (const auto& entry : FIdentMap)
    if (SameIdent(entry.Name, ident)) {
      value = entry.Value;
      return true;
    }
  return false;
}

bool TOrdinalTypeInfo::IntToIdent(Integer value, String& ident) const {
  for (const auto& entry : FIdentMap)
    if (entry.Value == value) {
      ident = entry.Name;
      return true;
    }
  return false;
}

namespace {

TOrdType EnumOrdType(size_t count) {
  if (count <= 256) return otUByte;
  if (count <= 65536) return otUWord;
  return otULong;
}

}  // namespace

TEnumTypeInfo::TEnumTypeInfo(String name, String unitName, std::vector<String> names)
    : TOrdinalTypeInfo(tkEnumeration, std::move(name), std::move(unitName), EnumOrdType(names.size()), 0,
                       static_cast<Int64>(names.size()) - 1),
      FNames(std::move(names)) {}

TEnumTypeInfo::TEnumTypeInfo(String name, String unitName, const TEnumTypeInfo& base, Int64 minValue, Int64 maxValue)
    : TOrdinalTypeInfo(tkEnumeration, std::move(name), std::move(unitName), base.OrdType(), minValue, maxValue),
      FBase(&base.BaseType()) {}

String TEnumTypeInfo::GetEnumName(Int64 value) const {
  const auto& names = Names();
  if (value < 0 || value >= static_cast<Int64>(names.size())) return {};
  return names[static_cast<size_t>(value)];
}

Int64 TEnumTypeInfo::GetEnumValue(StringView name) const {
  const auto& names = Names();
  for (Int64 v = MinValue(); v <= MaxValue() && v < static_cast<Int64>(names.size()); ++v)
    if (v >= 0 && SameIdent(names[static_cast<size_t>(v)], name)) return v;
  return -1;
}

TSetTypeInfo::TSetTypeInfo(String name, String unitName, const TOrdinalTypeInfo& compType)
    : TTypeInfo(tkSet, std::move(name), std::move(unitName)), FCompType(&compType) {
  if (compType.MinValue() < 0 || compType.MaxValue() > 255 || compType.MinValue() > compType.MaxValue())
    throw EInvalidOperation(u"Set members must lie between 0 and 255: " + Name());
}

void TSetTypeInfo::OrdinalToStorage(Int64 value, void* storage) const {
  auto* bytes = static_cast<Byte*>(storage);
  auto bits = static_cast<std::uint64_t>(value);
  for (int i = 0; i < StorageSize(); ++i) {
    int shift = 8 * (FirstByte() + i);
    bytes[i] = shift < 64 ? static_cast<Byte>(bits >> shift) : 0;
  }
}

Int64 TSetTypeInfo::StorageToOrdinal(const void* storage) const {
  const auto* bytes = static_cast<const Byte*>(storage);
  std::uint64_t bits = 0;
  for (int i = 0; i < StorageSize(); ++i) {
    int shift = 8 * (FirstByte() + i);
    if (shift < 64) bits |= std::uint64_t{bytes[i]} << shift;
  }
  return static_cast<Int64>(bits);
}

int TSetTypeInfo::Size() const {
  Int64 top = FCompType->MaxValue();
  if (top < 8) return 1;
  if (top < 16) return 2;
  if (top < 32) return 4;
  return 32;
}

TOrdType TSetTypeInfo::OrdType() const {
  switch (Size()) {
    case 1: return otUByte;
    case 2: return otUWord;
    default: return otULong;
  }
}

TFloatTypeInfo::TFloatTypeInfo(String name, String unitName, TFloatType floatType)
    : TTypeInfo(tkFloat, std::move(name), std::move(unitName)), FFloatType(floatType) {}

TStringTypeInfo::TStringTypeInfo(TTypeKind kind, String name, String unitName, Byte maxLength)
    : TTypeInfo(kind, std::move(name), std::move(unitName)), FMaxLength(maxLength) {}

TInt64TypeInfo::TInt64TypeInfo(String name, String unitName, Int64 minValue, Int64 maxValue)
    : TTypeInfo(tkInt64, std::move(name), std::move(unitName)), FMinValue(minValue), FMaxValue(maxValue) {}

int TMethodParam::RecSize() const {
  return 3 + static_cast<int>(StringToUTF8(Name).size()) + static_cast<int>(StringToUTF8(TypeName).size());
}

String GUIDToString(const TGUID& g) {
  auto d1 = static_cast<unsigned>(g[0] | g[1] << 8 | g[2] << 16 | static_cast<unsigned>(g[3]) << 24);
  auto d2 = static_cast<unsigned>(g[4] | g[5] << 8);
  auto d3 = static_cast<unsigned>(g[6] | g[7] << 8);
  String text = Format(u"{%.8x-%.4x-%.4x-", {d1, d2, d3});
  for (int i = 8; i < 16; ++i) {
    if (i == 10) text += u'-';
    text += Format(u"%.2x", {int{g[i]}});
  }
  return text + u'}';
}

TMethodTypeInfo::TMethodTypeInfo(String name, String unitName, TMethodKind methodKind, std::vector<TMethodParam> params,
                                 String resultTypeName)
    : TTypeInfo(tkMethod, std::move(name), std::move(unitName)),
      FMethodKind(methodKind),
      FParams(std::move(params)),
      FResultTypeName(std::move(resultTypeName)) {}

TInterfaceTypeInfo::TInterfaceTypeInfo(String name, String unitName, const TInterfaceTypeInfo* parent,
                                       TIntfFlags flags, TGUID guid, int methodCount)
    : TTypeInfo(tkInterface, std::move(name), std::move(unitName)),
      FParent(parent),
      FFlags(flags),
      FGuid(guid),
      FMethodCount(methodCount) {}

TDynArrayTypeInfo::TDynArrayTypeInfo(String name, String unitName, Integer elementSize, const TTypeInfo* elementType,
                                     Integer varType, bool elementsNeedCleanup)
    : TTypeInfo(tkDynArray, std::move(name), std::move(unitName)),
      FElementSize(elementSize),
      FElementType(elementType),
      FVarType(varType),
      FElementsNeedCleanup(elementsNeedCleanup) {}

namespace types {

// The fundamental types are built on first use and never change afterwards.
const TOrdinalTypeInfo& Integer() {
  static const TOrdinalTypeInfo t(tkInteger, u"Integer", u"System", otSLong, std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max());
  return t;
}
const TOrdinalTypeInfo& Cardinal() {
  static const TOrdinalTypeInfo t(tkInteger, u"Cardinal", u"System", otULong, 0,
                                  std::numeric_limits<std::uint32_t>::max());
  return t;
}
const TOrdinalTypeInfo& SmallInt() {
  static const TOrdinalTypeInfo t(tkInteger, u"SmallInt", u"System", otSWord, -32768, 32767);
  return t;
}
const TOrdinalTypeInfo& Word() {
  static const TOrdinalTypeInfo t(tkInteger, u"Word", u"System", otUWord, 0, 65535);
  return t;
}
const TOrdinalTypeInfo& ShortInt() {
  static const TOrdinalTypeInfo t(tkInteger, u"ShortInt", u"System", otSByte, -128, 127);
  return t;
}
const TOrdinalTypeInfo& Byte() {
  static const TOrdinalTypeInfo t(tkInteger, u"Byte", u"System", otUByte, 0, 255);
  return t;
}
const TOrdinalTypeInfo& Char() {
  static const TOrdinalTypeInfo t(tkChar, u"AnsiChar", u"System", otUByte, 0, 255);
  return t;
}
const TOrdinalTypeInfo& WideChar() {
  static const TOrdinalTypeInfo t(tkWChar, u"Char", u"System", otUWord, 0, 65535);
  return t;
}
const TEnumTypeInfo& Boolean() {
  static const TEnumTypeInfo t(u"Boolean", u"System", {u"False", u"True"});
  return t;
}
const TInt64TypeInfo& Int64() {
  static const TInt64TypeInfo t(u"Int64", u"System", std::numeric_limits<std::int64_t>::min(),
                                std::numeric_limits<std::int64_t>::max());
  return t;
}
const TInt64TypeInfo& UInt64() {
  // The platform's record keeps the bounds as signed values: 0 and -1.
  static const TInt64TypeInfo t(u"UInt64", u"System", 0, -1);
  return t;
}
const TFloatTypeInfo& Single() {
  static const TFloatTypeInfo t(u"Single", u"System", ftSingle);
  return t;
}
const TFloatTypeInfo& Double() {
  static const TFloatTypeInfo t(u"Double", u"System", ftDouble);
  return t;
}
const TFloatTypeInfo& Extended() {
  static const TFloatTypeInfo t(u"Extended", u"System", ftExtended);
  return t;
}
const TFloatTypeInfo& Comp() {
  static const TFloatTypeInfo t(u"Comp", u"System", ftComp);
  return t;
}
const TFloatTypeInfo& Currency() {
  static const TFloatTypeInfo t(u"Currency", u"System", ftCurr);
  return t;
}
const TFloatTypeInfo& TDateTime() {
  static const TFloatTypeInfo t(u"TDateTime", u"System", ftDouble);
  return t;
}
const TStringTypeInfo& ShortString() {
  static const TStringTypeInfo t(tkString, u"ShortString", u"System", 255);
  return t;
}
const TStringTypeInfo& AnsiString() {
  static const TStringTypeInfo t(tkLString, u"AnsiString", u"System");
  return t;
}
const TStringTypeInfo& WideString() {
  static const TStringTypeInfo t(tkWString, u"WideString", u"System");
  return t;
}
const TStringTypeInfo& UnicodeString() {
  static const TStringTypeInfo t(tkUString, u"string", u"System");
  return t;
}
const TTypeInfo& Variant() {
  static const TTypeInfo t(tkVariant, u"Variant", u"System");
  return t;
}
const TEnumTypeInfo& TypeKind() {
  static const TEnumTypeInfo t(u"TTypeKind", u"System",
                               {u"tkUnknown", u"tkInteger", u"tkChar", u"tkEnumeration", u"tkFloat", u"tkString",
                                u"tkSet", u"tkClass", u"tkMethod", u"tkWChar", u"tkLString", u"tkWString",
                                u"tkVariant", u"tkArray", u"tkRecord", u"tkInterface", u"tkInt64", u"tkDynArray",
                                u"tkUString", u"tkClassRef", u"tkPointer", u"tkProcedure"});
  return t;
}
const TSetTypeInfo& TypeKinds() {
  static const TSetTypeInfo t(u"TTypeKinds", u"System", TypeKind());
  return t;
}
const TEnumTypeInfo& OrdType() {
  static const TEnumTypeInfo t(u"TOrdType", u"TypInfo",
                               {u"otSByte", u"otUByte", u"otSWord", u"otUWord", u"otSLong", u"otULong"});
  return t;
}
const TEnumTypeInfo& FloatType() {
  static const TEnumTypeInfo t(u"TFloatType", u"TypInfo",
                               {u"ftSingle", u"ftDouble", u"ftExtended", u"ftComp", u"ftCurr"});
  return t;
}
const TEnumTypeInfo& MethodKind() {
  static const TEnumTypeInfo t(
      u"TMethodKind", u"TypInfo",
      {u"mkProcedure", u"mkFunction", u"mkConstructor", u"mkDestructor", u"mkClassProcedure", u"mkClassFunction",
       u"mkClassConstructor", u"mkClassDestructor", u"mkOperatorOverload", u"mkSafeProcedure", u"mkSafeFunction"});
  return t;
}
const TEnumTypeInfo& ParamFlag() {
  static const TEnumTypeInfo t(u"TParamFlag", u"TypInfo",
                               {u"pfVar", u"pfConst", u"pfArray", u"pfAddress", u"pfReference", u"pfOut", u"pfResult"});
  return t;
}
const TSetTypeInfo& ParamFlags() {
  static const TSetTypeInfo t(u"TParamFlags", u"TypInfo", ParamFlag());
  return t;
}
const TEnumTypeInfo& IntfFlag() {
  static const TEnumTypeInfo t(u"TIntfFlag", u"TypInfo", {u"ifHasGuid", u"ifDispInterface", u"ifDispatch"});
  return t;
}
const TSetTypeInfo& IntfFlags() {
  static const TSetTypeInfo t(u"TIntfFlags", u"TypInfo", IntfFlag());
  return t;
}

}  // namespace types

#include "classes/reflection.h"

TClassTypeInfo::TClassTypeInfo(const TClassInfo& classInfo)
    : TTypeInfo(tkClass, classInfo.ClassName(), classInfo.UnitName()), FClass(&classInfo) {}
