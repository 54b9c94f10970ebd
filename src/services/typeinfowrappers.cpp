#include "services/typeinfowrappers.h"

#include <cstdint>

#include "classes/propaccess.h"
#include "rtl/floattext.h"
#include "rtl/format.h"
#include "rtl/numbers.h"
#include "rtl/stringlist.h"
#include "rtl/sysstr.h"
#include "rtl/updatescope.h"

namespace {


const TPropInfo& PropertyOf(const TObject& anObj, StringView propName) {
  const TPropInfo* prop = GetPropInfo(anObj, propName);
  if (!prop) throw EPropertyError(Format(kPropertyDoesNotExist, {propName}));
  return *prop;
}

template <class I>
std::shared_ptr<I> WrapAs(const TTypeInfo& typeInfo) {
  return Supports<I>(WrapTypeInfo(typeInfo));
}

const TSetTypeInfo& SetTypeOf(const TTypeInfo& typeInfo) {
  const auto* set = typeInfo.Kind() == tkSet ? dynamic_cast<const TSetTypeInfo*>(&typeInfo) : nullptr;
  if (!set) throw EUtRTTIError(Format(kUtNotASetType, {typeInfo.Name()}));
  return *set;
}

TOrdType OrdTypeOf(const TTypeInfo& typeInfo) {
  if (const auto* ordinal = dynamic_cast<const TOrdinalTypeInfo*>(&typeInfo)) return ordinal->OrdType();
  if (const auto* set = dynamic_cast<const TSetTypeInfo*>(&typeInfo)) return set->OrdType();
  throw EUtRTTIError(Format(kUtNotAnOrdinalType, {typeInfo.Name()}));
}

// A 32-bit bound of the platform's record: unsigned for otULong, else signed.
Int64 Bound32(Int64 value, TOrdType ordType) {
  auto raw = static_cast<std::uint32_t>(static_cast<std::uint64_t>(value));
  if (ordType == otULong) return static_cast<Int64>(raw);
  return static_cast<Int64>(static_cast<std::int32_t>(raw));
}

}  // namespace

// ---- TUtTypeInfo ----------------------------------------------------------------

TUtTypeInfo::TUtTypeInfo(const TTypeInfo& typeInfo) : FTypeData(&typeInfo), FTypeInfo(&typeInfo) {}

String TUtTypeInfo::GetName() const {
  return FTypeInfo->Name();
}

TTypeKind TUtTypeInfo::GetTypeKind() const {
  return FTypeInfo->Kind();
}

bool TUtTypeInfo::IsAnonymous() const {
  return !FTypeInfo->Name().empty() && FTypeInfo->Name()[0] == u'.';
}

// ---- Ordinal types -----------------------------------------------------------------

TUtOrdinalTypeInfo::TUtOrdinalTypeInfo(const TTypeInfo& typeInfo)
    : TUtTypeInfo(typeInfo), FOrdType(OrdTypeOf(typeInfo)) {}

String TUtOrdinalTypeInfo::SaveValueToString(const TObject& anObj, const String& propName) const {
  return IntToStr(GetOrdProp(anObj, PropertyOf(anObj, propName)));
}

void TUtOrdinalTypeInfo::LoadValueFromString(TObject& anObj, const String& propName, const String& value) const {
  SetOrdProp(anObj, PropertyOf(anObj, propName), StrToInt(value));
}

TUtOrdinalRangeTypeInfo::TUtOrdinalRangeTypeInfo(const TOrdinalTypeInfo& typeInfo) : TUtOrdinalTypeInfo(typeInfo) {}

Int64 TUtOrdinalRangeTypeInfo::GetMinValue() const {
  return Bound32(Ordinal().MinValue(), Ordinal().OrdType());
}

Int64 TUtOrdinalRangeTypeInfo::GetMaxValue() const {
  return Bound32(Ordinal().MaxValue(), Ordinal().OrdType());
}

// ---- Enumerations -----------------------------------------------------------------

TUtEnumerationTypeInfo::TUtEnumerationTypeInfo(const TEnumTypeInfo& typeInfo) : TUtOrdinalRangeTypeInfo(typeInfo) {}

std::shared_ptr<IUtEnumerationTypeInfo> TUtEnumerationTypeInfo::GetBaseType() const {
  const TEnumTypeInfo& base = Enumeration().BaseType();
  if (&base == FTypeInfo) {
    return std::const_pointer_cast<IUtEnumerationTypeInfo>(
        std::dynamic_pointer_cast<const IUtEnumerationTypeInfo>(shared_from_this()));
  }
  return std::make_shared<TUtEnumerationTypeInfo>(base);
}

String TUtEnumerationTypeInfo::GetNames(Integer i) const {
  // The names belong to the base type; an index past them would read beyond
  // the list, so it is refused.
  const auto& names = Enumeration().Names();
  Integer last = static_cast<Integer>(names.size()) - 1;
  if (i < 0 || i > last) throw EUtRTTIError(Format(kUtNameIndexOutOfRange, {i, 0, last}));
  return names[static_cast<size_t>(i)];
}

String TUtEnumerationTypeInfo::GetUnitName() const {
  return FTypeInfo->UnitName();
}

Integer TUtEnumerationTypeInfo::IndexOfName(StringView name) const {
  for (auto i = static_cast<Integer>(GetMaxValue()); i >= GetMinValue(); --i)
    if (AnsiSameText(name, GetNames(i))) return i;
  return -1;
}

String TUtEnumerationTypeInfo::SaveValueToString(const TObject& anObj, const String& propName) const {
  return GetEnumProp(anObj, PropertyOf(anObj, propName));
}

void TUtEnumerationTypeInfo::LoadValueFromString(TObject& anObj, const String& propName, const String& value) const {
  SetEnumProp(anObj, PropertyOf(anObj, propName), value);
}

// ---- Sets -----------------------------------------------------------------------------

TUtSetTypeInfo::TUtSetTypeInfo(const TSetTypeInfo& typeInfo) : TUtOrdinalTypeInfo(typeInfo) {}

std::shared_ptr<IUtOrdinalTypeInfo> TUtSetTypeInfo::GetBaseType() const {
  return WrapAs<IUtOrdinalTypeInfo>(Set().CompType());
}

void TUtSetTypeInfo::GetAsList(const void* value, bool wantRanges, TStrings& strings) const {
  const TSetTypeInfo& set = Set();
  const TOrdinalTypeInfo& member = set.CompType();
  auto enumeration = Supports<IUtEnumerationTypeInfo>(GetBaseType());
  const auto* bytes = static_cast<const Byte*>(value);
  const int firstBit = set.FirstBit();
  const int lastBit = set.LastBit();
  const auto minValue = static_cast<int>(member.MinValue());
  auto memberText = [&](int ordinal) { return enumeration ? enumeration->GetNames(ordinal) : IntToStr(ordinal); };
  auto emit = [&](int startBit, int endBit) {
    int first = startBit - firstBit + minValue;
    int last = endBit - firstBit + minValue;
    if (wantRanges && first != last) {
      strings.Add(memberText(first) + u" .. " + memberText(last));
    } else {
      for (int ordinal = first; ordinal <= last; ++ordinal) strings.Add(memberText(ordinal));
    }
  };

  TUpdateScope<TStrings> update(strings);
  int runStart = -1;
  for (int bit = firstBit; bit <= lastBit; ++bit) {
    bool isSet = (bytes[bit / 8] >> (bit % 8)) & 1;
    if (isSet && runStart < 0) {
      runStart = bit;
    } else if (!isSet && runStart >= 0) {
      emit(runStart, bit - 1);
      runStart = -1;
    }
  }
  if (runStart >= 0) emit(runStart, lastBit);
}

void TUtSetTypeInfo::SetAsList(void* value, TStrings& strings) const {
  const TSetTypeInfo& set = Set();
  const TOrdinalTypeInfo& member = set.CompType();
  auto enumeration = Supports<IUtEnumerationTypeInfo>(GetBaseType());
  auto* bytes = static_cast<Byte*>(value);
  for (int i = 0; i < set.StorageSize(); ++i) bytes[i] = 0;

  TUpdateScope<TStrings> update(strings);
  for (Integer line = 0; line < strings.Count(); ++line) {
    String text = Trim(strings.Strings(line));
    if (text.empty()) continue;
    String firstIdent = text;
    String lastIdent = text;
    Integer dots = Pos(u"..", text);
    if (dots > 0) {
      firstIdent = Trim(Copy(text, 1, dots - 1));
      lastIdent = Trim(Copy(text, dots + 2));
    }
    Int64 first = 0;
    Int64 last = 0;
    if (enumeration) {
      first = enumeration->IndexOfName(firstIdent);
      if (first == -1) throw EUtRTTIError(Format(kUtUnknownIdentifier, {firstIdent}));
      last = enumeration->IndexOfName(lastIdent);
      if (last == -1) throw EUtRTTIError(Format(kUtUnknownIdentifier, {lastIdent}));
    } else {
      first = StrToInt(firstIdent);
      last = StrToInt(lastIdent);
    }
    // Members outside the member type have no bit in the storage.
    first = std::max(first, member.MinValue());
    last = std::min(last, member.MaxValue());
    for (Int64 ordinal = first; ordinal <= last; ++ordinal) {
      auto bit = static_cast<int>(ordinal - member.MinValue()) + set.FirstBit();
      bytes[bit / 8] = static_cast<Byte>(bytes[bit / 8] | (1u << (bit % 8)));
    }
  }
}

String TUtSetTypeInfo::SaveValueToString(const TObject& anObj, const String& propName) const {
  return GetSetProp(anObj, PropertyOf(anObj, propName), false);
}

void TUtSetTypeInfo::LoadValueFromString(TObject& anObj, const String& propName, const String& value) const {
  SetSetProp(anObj, PropertyOf(anObj, propName), value);
}

// ---- Floats, strings, 64-bit integers -------------------------------------------

TUtFloatTypeInfo::TUtFloatTypeInfo(const TFloatTypeInfo& typeInfo) : TUtTypeInfo(typeInfo) {}

TFloatType TUtFloatTypeInfo::GetFloatType() const {
  return static_cast<const TFloatTypeInfo&>(*FTypeInfo).FloatType();
}

String TUtFloatTypeInfo::SaveValueToString(const TObject& anObj, const String& propName) const {
  return FloatToStr(GetFloatProp(anObj, PropertyOf(anObj, propName)));
}

void TUtFloatTypeInfo::LoadValueFromString(TObject& anObj, const String& propName, const String& value) const {
  SetFloatProp(anObj, PropertyOf(anObj, propName), StrToFloat(value));
}

TUtStringTypeInfo::TUtStringTypeInfo(const TStringTypeInfo& typeInfo) : TUtTypeInfo(typeInfo) {}

Integer TUtStringTypeInfo::GetMaxLength() const {
  if (FTypeInfo->Kind() != tkString) return 0;
  return static_cast<const TStringTypeInfo&>(*FTypeInfo).MaxLength();
}

String TUtStringTypeInfo::SaveValueToString(const TObject& anObj, const String& propName) const {
  return GetStrProp(anObj, PropertyOf(anObj, propName));
}

void TUtStringTypeInfo::LoadValueFromString(TObject& anObj, const String& propName, const String& value) const {
  SetStrProp(anObj, PropertyOf(anObj, propName), value);
}

TUtInt64TypeInfo::TUtInt64TypeInfo(const TInt64TypeInfo& typeInfo) : TUtTypeInfo(typeInfo) {}

Int64 TUtInt64TypeInfo::GetMinValue() const {
  return static_cast<const TInt64TypeInfo&>(*FTypeInfo).MinValue();
}

Int64 TUtInt64TypeInfo::GetMaxValue() const {
  return static_cast<const TInt64TypeInfo&>(*FTypeInfo).MaxValue();
}

String TUtInt64TypeInfo::SaveValueToString(const TObject& anObj, const String& propName) const {
  return IntToStr(GetInt64Prop(anObj, PropertyOf(anObj, propName)));
}

void TUtInt64TypeInfo::LoadValueFromString(TObject& anObj, const String& propName, const String& value) const {
  SetInt64Prop(anObj, PropertyOf(anObj, propName), StrToInt64(value));
}

// ---- Classes ------------------------------------------------------------------------

TUtClassTypeInfo::TUtClassTypeInfo(const TClassTypeInfo& typeInfo) : TUtTypeInfo(typeInfo) {}

const TClassInfo& TUtClassTypeInfo::GetClassRef() const {
  return static_cast<const TClassTypeInfo&>(*FTypeInfo).ClassInfo();
}

std::shared_ptr<IUtClassTypeInfo> TUtClassTypeInfo::GetParent() const {
  const TClassInfo* parent = GetClassRef().ClassParent();
  if (!parent) return nullptr;
  return WrapAs<IUtClassTypeInfo>(parent->TypeInfo());
}

Integer TUtClassTypeInfo::GetTotalPropertyCount() const {
  return static_cast<Integer>(GetClassRef().AllProperties().size());
}

Integer TUtClassTypeInfo::GetPropertyCount() const {
  return static_cast<Integer>(GetClassRef().Properties().size());
}

std::shared_ptr<IUtPropInfo> TUtClassTypeInfo::GetProperties(Integer propIdx) const {
  // Own properties first, then each ancestor's own ones in turn.
  Integer index = propIdx;
  for (const TClassInfo* cls = &GetClassRef(); cls && index >= 0; cls = cls->ClassParent()) {
    auto count = static_cast<Integer>(cls->Properties().size());
    if (index < count) return std::make_shared<TUtPropInfo>(*cls->Properties()[static_cast<size_t>(index)]);
    index -= count;
  }
  Integer available = 0;
  for (const TClassInfo* cls = &GetClassRef(); cls; cls = cls->ClassParent())
    available += static_cast<Integer>(cls->Properties().size());
  throw EUtRTTIError(Format(kUtPropertyIndexOutOfRange, {propIdx, available - 1}));
}

std::shared_ptr<IUtPropInfo> TUtClassTypeInfo::GetPropNames(StringView name) const {
  const TPropInfo* prop = GetClassRef().FindProperty(name);
  if (!prop) return nullptr;
  return std::make_shared<TUtPropInfo>(*prop);
}

String TUtClassTypeInfo::GetUnitName() const {
  return GetClassRef().UnitName();
}

String TUtClassTypeInfo::SaveValueToString(const TObject& anObj, const String& propName) const {
  Integer dot = Pos(u".", propName);
  if (dot == 0) throw EUtRTTIError(Format(kUtNoStringValue, {propName, GetName()}));
  TObject* child = GetObjectProp(anObj, PropertyOf(anObj, Copy(propName, 1, dot - 1)));
  String rest = Copy(propName, dot + 1);
  const TPropInfo* inner = child ? GetPropInfo(*child, rest) : nullptr;
  auto valueType = inner ? WrapAs<IUtValueTypeInfo>(inner->PropType()) : nullptr;
  if (!valueType) throw EUtRTTIError(Format(kUtNoStringValue, {propName, GetName()}));
  return valueType->SaveValueToString(*child, rest);
}

void TUtClassTypeInfo::LoadValueFromString(TObject& anObj, const String& propName, const String& value) const {
  Integer dot = Pos(u".", propName);
  if (dot == 0) throw EUtRTTIError(Format(kUtNoStringValue, {propName, GetName()}));
  TObject* child = GetObjectProp(anObj, PropertyOf(anObj, Copy(propName, 1, dot - 1)));
  String rest = Copy(propName, dot + 1);
  const TPropInfo* inner = child ? GetPropInfo(*child, rest) : nullptr;
  auto valueType = inner ? WrapAs<IUtValueTypeInfo>(inner->PropType()) : nullptr;
  if (!valueType) throw EUtRTTIError(Format(kUtNoStringValue, {propName, GetName()}));
  valueType->LoadValueFromString(*child, rest, value);
}

// ---- Method types and their parameters -------------------------------------------

TUtEventTypeInfo::TUtEventTypeInfo(const TMethodTypeInfo& typeInfo) : TUtTypeInfo(typeInfo) {}

TMethodKind TUtEventTypeInfo::GetMethodKind() const {
  return Method().MethodKind();
}

Integer TUtEventTypeInfo::GetParameterCount() const {
  return static_cast<Integer>(Method().Params().size());
}

std::shared_ptr<IUtEventParamInfo> TUtEventTypeInfo::GetParameters(Integer paramIdx) const {
  const auto& params = Method().Params();
  if (paramIdx < 0 || paramIdx >= static_cast<Integer>(params.size()))
    throw EUtRTTIError(Format(kUtParameterIndexOutOfRange, {paramIdx, static_cast<Integer>(params.size()) - 1}));
  return std::make_shared<TUtEventParamInfo>(params[static_cast<size_t>(paramIdx)]);
}

String TUtEventTypeInfo::GetResultTypeName() const {
  return Method().MethodKind() == mkFunction ? Method().ResultTypeName() : String();
}

TUtEventParamInfo::TUtEventParamInfo(const TMethodParam& param) : FParam(&param) {}
TParamFlags TUtEventParamInfo::GetFlags() const {
  return FParam->Flags;
}
String TUtEventParamInfo::GetName() const {
  return FParam->Name;
}
Integer TUtEventParamInfo::GetRecSize() const {
  return FParam->RecSize();
}
String TUtEventParamInfo::GetTypeName() const {
  return FParam->TypeName;
}

// ---- Interfaces and dynamic arrays -----------------------------------------------

TUtInterfaceTypeInfo::TUtInterfaceTypeInfo(const TInterfaceTypeInfo& typeInfo) : TUtTypeInfo(typeInfo) {}

std::shared_ptr<IUtInterfaceTypeInfo> TUtInterfaceTypeInfo::GetParent() const {
  const TInterfaceTypeInfo* parent = Interface().Parent();
  return parent ? WrapAs<IUtInterfaceTypeInfo>(*parent) : nullptr;
}

TIntfFlags TUtInterfaceTypeInfo::GetFlags() const {
  return Interface().Flags();
}

TGUID TUtInterfaceTypeInfo::GetGUID() const {
  return (Interface().Flags() & (1u << ifHasGuid)) ? Interface().Guid() : TGUID{};
}

Integer TUtInterfaceTypeInfo::GetPropertyCount() const {
  return Interface().MethodCount();
}

String TUtInterfaceTypeInfo::GetUnitName() const {
  return FTypeInfo->UnitName();
}

TUtDynArrayTypeInfo::TUtDynArrayTypeInfo(const TDynArrayTypeInfo& typeInfo) : TUtTypeInfo(typeInfo) {}

Integer TUtDynArrayTypeInfo::GetElementSize() const {
  return DynArray().ElementSize();
}

std::shared_ptr<IUtTypeInfo> TUtDynArrayTypeInfo::GetElementType() const {
  const TTypeInfo* element = DynArray().ElementType();
  return element ? WrapTypeInfo(*element) : nullptr;
}

bool TUtDynArrayTypeInfo::GetElementsNeedCleanup() const {
  return DynArray().ElementsNeedCleanup();
}

Integer TUtDynArrayTypeInfo::GetVarType() const {
  return DynArray().VarType();
}

String TUtDynArrayTypeInfo::GetUnitName() const {
  return FTypeInfo->UnitName();
}

// ---- Properties ------------------------------------------------------------------------

TUtPropInfo::TUtPropInfo(const TPropInfo& propInfo) : FPropInfo(&propInfo) {}

std::shared_ptr<IUtTypeInfo> TUtPropInfo::GetPropType() const {
  return WrapTypeInfo(FPropInfo->PropType());
}
Cardinal TUtPropInfo::GetReader() const {
  return FPropInfo->Reader();
}
Cardinal TUtPropInfo::GetWriter() const {
  return FPropInfo->Writer();
}
Cardinal TUtPropInfo::GetStoredProc() const {
  return FPropInfo->StoredProc();
}
Integer TUtPropInfo::GetIndex() const {
  return FPropInfo->Index();
}
Integer TUtPropInfo::GetDefault() const {
  return FPropInfo->Default();
}
Integer TUtPropInfo::GetNameIndex() const {
  return FPropInfo->NameIndex();
}
String TUtPropInfo::GetName() const {
  return FPropInfo->Name();
}

// A missing specifier is encoded as 0, which the platform's record reads as
// the constant False.
TUtPropSpecKind TUtPropInfo::GetReaderType() const {
  return FPropInfo->ReaderKind() == pskNone ? pskConstant : FPropInfo->ReaderKind();
}
TUtPropSpecKind TUtPropInfo::GetWriterType() const {
  return FPropInfo->WriterKind() == pskNone ? pskConstant : FPropInfo->WriterKind();
}
TUtPropSpecKind TUtPropInfo::GetStoredType() const {
  return FPropInfo->StoredKind() == pskNone ? pskConstant : FPropInfo->StoredKind();
}
Cardinal TUtPropInfo::GetReaderValue() const {
  return FPropInfo->ReaderKind() == pskNone ? 0 : FPropInfo->ReaderValue();
}
Cardinal TUtPropInfo::GetWriterValue() const {
  return FPropInfo->WriterKind() == pskNone ? 0 : FPropInfo->WriterValue();
}
Cardinal TUtPropInfo::GetStoredValue() const {
  return FPropInfo->StoredKind() == pskNone ? 0 : FPropInfo->StoredValue();
}
bool TUtPropInfo::IsStored(const TObject& instance) const {
  return IsStoredProp(instance, *FPropInfo);
}
bool TUtPropInfo::HasDefault() const {
  return FPropInfo->Default() != kNoDefault;
}
bool TUtPropInfo::HasIndex() const {
  return FPropInfo->Index() != kNoIndex;
}

std::shared_ptr<IUtValueTypeInfo> TUtPropInfo::ValueType() const {
  auto valueType = Supports<IUtValueTypeInfo>(GetPropType());
  if (!valueType) throw EUtRTTIError(Format(kUtNoStringValue, {FPropInfo->Name(), FPropInfo->PropType().Name()}));
  return valueType;
}

String TUtPropInfo::SaveValueToString(const TObject& anObj) const {
  return ValueType()->SaveValueToString(anObj, FPropInfo->Name());
}

void TUtPropInfo::LoadValueFromString(TObject& anObj, const String& value) const {
  ValueType()->LoadValueFromString(anObj, FPropInfo->Name(), value);
}

// ---- Routines ---------------------------------------------------------------------------

std::shared_ptr<IUtTypeInfo> WrapTypeInfo(const TTypeInfo& typeInfo) {
  switch (typeInfo.Kind()) {
    case tkEnumeration:
      if (const auto* enumeration = dynamic_cast<const TEnumTypeInfo*>(&typeInfo))
        return std::make_shared<TUtEnumerationTypeInfo>(*enumeration);
      [[fallthrough]];
    case tkInteger:
    case tkChar:
    case tkWChar:
      if (const auto* ordinal = dynamic_cast<const TOrdinalTypeInfo*>(&typeInfo))
        return std::make_shared<TUtOrdinalRangeTypeInfo>(*ordinal);
      break;
    case tkFloat:
      if (const auto* floatType = dynamic_cast<const TFloatTypeInfo*>(&typeInfo))
        return std::make_shared<TUtFloatTypeInfo>(*floatType);
      break;
    case tkString:
    case tkLString:
    case tkWString:
    case tkUString:
      if (const auto* stringType = dynamic_cast<const TStringTypeInfo*>(&typeInfo))
        return std::make_shared<TUtStringTypeInfo>(*stringType);
      break;
    case tkSet:
      if (const auto* set = dynamic_cast<const TSetTypeInfo*>(&typeInfo)) return std::make_shared<TUtSetTypeInfo>(*set);
      break;
    case tkClass:
      if (const auto* cls = dynamic_cast<const TClassTypeInfo*>(&typeInfo))
        return std::make_shared<TUtClassTypeInfo>(*cls);
      break;
    case tkMethod:
      if (const auto* method = dynamic_cast<const TMethodTypeInfo*>(&typeInfo))
        return std::make_shared<TUtEventTypeInfo>(*method);
      break;
    case tkInterface:
      if (const auto* intf = dynamic_cast<const TInterfaceTypeInfo*>(&typeInfo))
        return std::make_shared<TUtInterfaceTypeInfo>(*intf);
      break;
    case tkInt64:
      if (const auto* int64 = dynamic_cast<const TInt64TypeInfo*>(&typeInfo))
        return std::make_shared<TUtInt64TypeInfo>(*int64);
      break;
    case tkDynArray:
      if (const auto* array = dynamic_cast<const TDynArrayTypeInfo*>(&typeInfo))
        return std::make_shared<TUtDynArrayTypeInfo>(*array);
      break;
    default: break;
  }
  return std::make_shared<TUtTypeInfo>(typeInfo);
}

String SetToTextList(const TTypeInfo& typeInfo, const void* value, bool wantBrackets, TStrings& strings,
                     bool wantRanges) {
  auto set = std::make_shared<TUtSetTypeInfo>(SetTypeOf(typeInfo));
  Integer first = strings.Count();
  set->GetAsList(value, wantRanges, strings);
  String text;
  for (Integer i = first; i < strings.Count(); ++i) {
    if (i > first) text += u", ";
    text += strings.Strings(i);
  }
  return wantBrackets ? u"[" + text + u"]" : text;
}

String SetToText(const TTypeInfo& typeInfo, const void* value, bool wantBrackets, bool wantRanges) {
  TStringList strings;
  return SetToTextList(typeInfo, value, wantBrackets, strings, wantRanges);
}

void TextToSet(const TTypeInfo& typeInfo, void* setVar, const String& value) {
  const TSetTypeInfo& setType = SetTypeOf(typeInfo);
  TStringList parts;
  size_t start = 0;
  for (;;) {
    size_t comma = value.find(u',', start);
    parts.Add(value.substr(start, comma == String::npos ? String::npos : comma - start));
    if (comma == String::npos) break;
    start = comma + 1;
  }
  if (StartsStr(u"[", parts.Strings(0))) {
    parts.SetStrings(0, parts.Strings(0).substr(1));
    Integer last = parts.Count() - 1;
    String lastPart = parts.Strings(last);
    if (!lastPart.empty()) lastPart.pop_back();
    parts.SetStrings(last, lastPart);
  }
  std::make_shared<TUtSetTypeInfo>(setType)->SetAsList(setVar, parts);
}
