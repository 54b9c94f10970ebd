// The reports (WriteTo) and declarations (DeclarationTo) of the
// type-information wrappers, and the text sink that keeps them in memory.
#include <cstdint>
#include <cstring>

#include "rtl/format.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"
#include "services/typeinfowrappers.h"

namespace {

// Labels and words of the reports and declarations.
constexpr char16_t kName[] = u"Name: ";
constexpr char16_t kTypeKind[] = u"Type kind: ";
constexpr char16_t kTypeInfoAt[] = u"Type info: %p";
constexpr char16_t kOrdinalType[] = u"Ordinal type: ";
constexpr char16_t kMinValue[] = u"Min value: ";
constexpr char16_t kMaxValue[] = u"Max value: ";
constexpr char16_t kUnitName[] = u"Unit name: ";
constexpr char16_t kNames[] = u"Names: ";
constexpr char16_t kBasedOn[] = u"Based on: ";
constexpr char16_t kFloatType[] = u"Float type: ";
constexpr char16_t kMaxLength[] = u"Max length: ";
constexpr char16_t kClassName[] = u"Class name: ";
constexpr char16_t kParent[] = u"Parent: ";
constexpr char16_t kNoParent[] = u"(none)";
constexpr char16_t kPropertyCount[] = u"Property count: ";
constexpr char16_t kMethodKind[] = u"Method kind: ";
constexpr char16_t kParameterCount[] = u"Parameter count: ";
constexpr char16_t kType[] = u"Type: ";
constexpr char16_t kFlags[] = u"Flags: ";
constexpr char16_t kReturnType[] = u"Return type: ";
constexpr char16_t kGuid[] = u"GUID: ";
constexpr char16_t kElementSize[] = u"Element size: ";
constexpr char16_t kElementType[] = u"Element type: ";
constexpr char16_t kUnknownType[] = u"???";
constexpr char16_t kElementsNeedCleanup[] = u"Elements need clean up: ";
constexpr char16_t kVariantType[] = u"Variant type: ";
constexpr char16_t kSpecifierNumber[] = u"[%s %d]";
constexpr char16_t kSpecifierAt[] = u"[%s %s $%.8x]";
constexpr char16_t kStoredAt[] = u"[%s=%s $%.8x]";
constexpr char16_t kStoredConstant[] = u"[%s=%s]";
constexpr char16_t kDeclarationNotSupported[] = u"// Declaration for '%s' not supported.";

String TrueFalse(bool value) {
  return value ? u"True" : u"False";
}

// The word of a specifier kind in the reports; none for constants.
const char16_t* KindWord(TUtPropSpecKind kind) {
  switch (kind) {
    case pskStaticMethod: return u"static method";
    case pskVirtualMethod: return u"virtual method";
    case pskField: return u"field";
    default: return nullptr;
  }
}

// Runs body one indentation step deeper, undoing the step also when an error
// passes (an error from the sink itself included).
template <class Body>
void Indented(IUtInfoWriter& dest, Body body) {
  dest.Indent();
  try {
    body();
  } catch (...) {
    dest.Outdent();
    throw;
  }
  dest.Outdent();
}

bool IsAnonymousName(const String& name) {
  return !name.empty() && name[0] == u'.';
}

template <class E>
String EnumText(const TTypeInfo& type, E value) {
  static_assert(sizeof(E) == 1);
  return OrdinalToText(type, &value);
}

String TypeKindText(TTypeKind kind) {
  return EnumText(types::TypeKind(), kind);
}
String OrdTypeText(TOrdType ordType) {
  return EnumText(types::OrdType(), ordType);
}

String CharBound(Int64 value) {
  if (value >= 32 && value <= 126) return String(u"'") + static_cast<Char>(value) + u"'";
  return u"#" + IntToStr(value);
}

void WriteSpecifierLines(IUtInfoWriter& dest, const IUtPropInfo& prop) {
  if (prop.HasIndex()) dest.Writeln(Format(kSpecifierNumber, {u"index", prop.GetIndex()}));
  if (prop.HasDefault()) dest.Writeln(Format(kSpecifierNumber, {u"default", prop.GetDefault()}));
  if (const char16_t* word = KindWord(prop.GetReaderType()))
    dest.Writeln(Format(kSpecifierAt, {u"read", word, prop.GetReaderValue()}));
  if (const char16_t* word = KindWord(prop.GetWriterType()))
    dest.Writeln(Format(kSpecifierAt, {u"write", word, prop.GetWriterValue()}));
  if (const char16_t* word = KindWord(prop.GetStoredType()))
    dest.Writeln(Format(kStoredAt, {u"stored", word, prop.GetStoredValue()}));
  else
    dest.Writeln(Format(kStoredConstant, {u"stored", TrueFalse(prop.GetStoredValue() != 0)}));
}

String SpecifierClause(const char16_t* prefix, TUtPropSpecKind kind, Cardinal value) {
  const char16_t* word = KindWord(kind);
  if (!word) return {};
  return Format(u"%s[%s $%.8x]", {prefix, word, value});
}

void WritePropertyDeclaration(IUtInfoWriter& dest, const IUtPropInfo& prop) {
  dest.Write(u"property " + prop.GetName() + u": " + prop.GetPropInfo().PropType().Name());
  if (prop.HasIndex()) dest.Write(Format(u" index %d", {prop.GetIndex()}));
  dest.Write(SpecifierClause(u" read ", prop.GetReaderType(), prop.GetReaderValue()));
  dest.Write(SpecifierClause(u" write ", prop.GetWriterType(), prop.GetWriterValue()));
  if (KindWord(prop.GetStoredType()))
    dest.Write(SpecifierClause(u" stored = ", prop.GetStoredType(), prop.GetStoredValue()));
  else
    dest.Write(u" stored = " + TrueFalse(prop.GetStoredValue() != 0));
  if (prop.HasDefault()) dest.Write(u" default " + IntToStr(prop.GetDefault()));
  dest.Writeln(u";");
}

}  // namespace

String OrdinalToText(const TTypeInfo& typeInfo, const void* value) {
  const auto* ordinal = dynamic_cast<const TOrdinalTypeInfo*>(&typeInfo);
  if (!ordinal) throw EUtRTTIError(Format(kUtNotAnOrdinalType, {typeInfo.Name()}));
  Int64 v = 0;
  switch (ordinal->OrdType()) {
    case otSByte: {
      std::int8_t x;
      std::memcpy(&x, value, sizeof x);
      v = x;
      break;
    }
    case otUByte: {
      std::uint8_t x;
      std::memcpy(&x, value, sizeof x);
      v = x;
      break;
    }
    case otSWord: {
      std::int16_t x;
      std::memcpy(&x, value, sizeof x);
      v = x;
      break;
    }
    case otUWord: {
      std::uint16_t x;
      std::memcpy(&x, value, sizeof x);
      v = x;
      break;
    }
    case otSLong: {
      std::int32_t x;
      std::memcpy(&x, value, sizeof x);
      v = x;
      break;
    }
    case otULong: {
      std::uint32_t x;
      std::memcpy(&x, value, sizeof x);
      v = x;
      break;
    }
  }
  // Enumerations by name, other ordinal types by number.
  const auto* enumeration = dynamic_cast<const TEnumTypeInfo*>(ordinal);
  auto name = [&](Int64 n) { return enumeration ? enumeration->GetEnumName(n) : IntToStr(n); };
  if (ordinal->MinValue() <= v && v <= ordinal->MaxValue()) return name(v);
  return Format(kUtValueOutOfRange, {u"ordinal=" + IntToStr(v), name(ordinal->MinValue()), name(ordinal->MaxValue())});
}

// ---- Reports ------------------------------------------------------------------------

void TUtTypeInfo::WriteTo(IUtInfoWriter& dest) const {
  dest.Writeln(kName + GetName());
  dest.Writeln(kTypeKind + TypeKindText(GetTypeKind()));
  dest.Writeln(Format(kTypeInfoAt, {static_cast<const void*>(FTypeInfo)}));
}

void TUtOrdinalTypeInfo::WriteTo(IUtInfoWriter& dest) const {
  TUtTypeInfo::WriteTo(dest);
  dest.Writeln(kOrdinalType + OrdTypeText(FOrdType));
}

void TUtOrdinalRangeTypeInfo::WriteTo(IUtInfoWriter& dest) const {
  TUtOrdinalTypeInfo::WriteTo(dest);
  dest.Writeln(kMinValue + IntToStr(GetMinValue()));
  dest.Writeln(kMaxValue + IntToStr(GetMaxValue()));
}

void TUtEnumerationTypeInfo::WriteTo(IUtInfoWriter& dest) const {
  TUtOrdinalRangeTypeInfo::WriteTo(dest);
  dest.Writeln(kUnitName + GetUnitName());
  dest.Write(kNames);
  for (Int64 i = GetMinValue(); i <= GetMaxValue(); ++i)
    dest.Write((i == GetMinValue() ? u"(" : u", ") + GetNames(static_cast<Integer>(i)));
  dest.Writeln(u")");
}

void TUtSetTypeInfo::WriteTo(IUtInfoWriter& dest) const {
  TUtOrdinalTypeInfo::WriteTo(dest);
  dest.Writeln(kBasedOn);
  Indented(dest, [&] { GetBaseType()->WriteTo(dest); });
}

void TUtFloatTypeInfo::WriteTo(IUtInfoWriter& dest) const {
  TUtTypeInfo::WriteTo(dest);
  dest.Writeln(kFloatType + EnumText(types::FloatType(), GetFloatType()));
}

void TUtStringTypeInfo::WriteTo(IUtInfoWriter& dest) const {
  TUtTypeInfo::WriteTo(dest);
  if (GetTypeKind() == tkString) dest.Writeln(kMaxLength + IntToStr(GetMaxLength()));
}

void TUtClassTypeInfo::WriteTo(IUtInfoWriter& dest) const {
  TUtTypeInfo::WriteTo(dest);
  const TClassInfo& cls = GetClassRef();
  dest.Writeln(kClassName + cls.ClassName());
  dest.Writeln(kParent + (cls.ClassParent() ? cls.ClassParent()->ClassName() : String(kNoParent)));
  dest.Writeln(kUnitName + GetUnitName());
  dest.Writeln(kPropertyCount + IntToStr(GetPropertyCount()) + u" (" + IntToStr(GetTotalPropertyCount()) + u")");
  Indented(dest, [&] {
    for (Integer i = 0; i < GetPropertyCount(); ++i) {
      auto prop = GetProperties(i);
      dest.Writeln(prop->GetName() + u": " + prop->GetPropInfo().PropType().Name());
      Indented(dest, [&] { WriteSpecifierLines(dest, *prop); });
    }
  });
}

void TUtEventTypeInfo::WriteTo(IUtInfoWriter& dest) const {
  TUtTypeInfo::WriteTo(dest);
  dest.Writeln(kMethodKind + EnumText(types::MethodKind(), GetMethodKind()));
  dest.Writeln(kParameterCount + IntToStr(GetParameterCount()));
  Indented(dest, [&] {
    for (Integer i = 0; i < GetParameterCount(); ++i) {
      auto param = GetParameters(i);
      if (i > 0) dest.Writeln();
      dest.Writeln(kName + param->GetName());
      dest.Writeln(kType + param->GetTypeName());
      TParamFlags flags = param->GetFlags();
      dest.Writeln(kFlags + SetToText(types::ParamFlags(), &flags, true, false));
    }
  });
  if (GetMethodKind() == mkFunction) dest.Writeln(kReturnType + GetResultTypeName());
}

void TUtInterfaceTypeInfo::WriteTo(IUtInfoWriter& dest) const {
  TUtTypeInfo::WriteTo(dest);
  TIntfFlags flags = GetFlags();
  if (flags & (1u << ifHasGuid)) dest.Writeln(kGuid + GUIDToString(GetGUID()));
  dest.Writeln(kFlags + SetToText(types::IntfFlags(), &flags, true, false));
  dest.Writeln(kUnitName + GetUnitName());
  if (auto parent = GetParent()) dest.Writeln(kParent + parent->GetName());
  dest.Writeln(kPropertyCount + IntToStr(GetPropertyCount()));
}

void TUtInt64TypeInfo::WriteTo(IUtInfoWriter& dest) const {
  TUtTypeInfo::WriteTo(dest);
  dest.Writeln(kMinValue + IntToStr(GetMinValue()));
  dest.Writeln(kMaxValue + IntToStr(GetMaxValue()));
}

void TUtDynArrayTypeInfo::WriteTo(IUtInfoWriter& dest) const {
  TUtTypeInfo::WriteTo(dest);
  dest.Writeln(kElementSize + IntToStr(GetElementSize()));
  auto element = GetElementType();
  if (!element) {
    dest.Writeln(kElementType + String(kUnknownType));
  } else if (IsAnonymousName(element->GetName())) {
    dest.Writeln(kElementType);
    Indented(dest, [&] { element->WriteTo(dest); });
  } else {
    dest.Writeln(kElementType + element->GetName());
  }
  dest.Write(kElementsNeedCleanup);
  dest.Writeln(TrueFalse(GetElementsNeedCleanup()));
  dest.Writeln(kVariantType + IntToStr(GetVarType()));
  dest.Writeln(kUnitName + GetUnitName());
}

// ---- Declarations ---------------------------------------------------------------------

void TUtTypeInfo::DeclarationTo(IUtInfoWriter& dest) const {
  dest.Write(Format(kDeclarationNotSupported, {GetName()}));
}

void TUtOrdinalRangeTypeInfo::DeclarationTo(IUtInfoWriter& dest) const {
  dest.Write(GetName() + u" = ");
  if (GetTypeKind() == tkChar || GetTypeKind() == tkWChar)
    dest.Write(CharBound(GetMinValue()) + u".." + CharBound(GetMaxValue()));
  else
    dest.Write(IntToStr(GetMinValue()) + u".." + IntToStr(GetMaxValue()));
  dest.Writeln(u"; // " + OrdTypeText(GetOrdinalType()));
}

void TUtEnumerationTypeInfo::DeclarationTo(IUtInfoWriter& dest) const {
  bool named = !IsAnonymous();
  if (named) dest.Write(GetName() + u" = ");
  if (&Enumeration().BaseType() == FTypeInfo) {
    String names;
    for (Int64 i = GetMinValue(); i <= GetMaxValue(); ++i)
      names += (i == GetMinValue() ? u"" : u", ") + GetNames(static_cast<Integer>(i));
    dest.Write(u"(" + names + u")");
  } else {
    dest.Write(GetNames(static_cast<Integer>(GetMinValue())) + u" .. " + GetNames(static_cast<Integer>(GetMaxValue())));
  }
  if (named) {
    dest.Write(u"; // " + OrdTypeText(GetOrdinalType()));
    dest.Writeln();
  }
}

void TUtSetTypeInfo::DeclarationTo(IUtInfoWriter& dest) const {
  bool named = !IsAnonymous();
  if (named) dest.Write(GetName() + u" = set of ");
  auto member = GetBaseType();
  if (!IsAnonymousName(member->GetName())) {
    dest.Write(member->GetName());
  } else if (auto enumeration = Supports<IUtEnumerationTypeInfo>(member)) {
    enumeration->DeclarationTo(dest);
  } else {
    dest.Write(kUnknownType);
  }
  if (named) {
    dest.Write(u"; // " + OrdTypeText(GetOrdinalType()));
    dest.Writeln();
  }
}

void TUtFloatTypeInfo::DeclarationTo(IUtInfoWriter& dest) const {
  String floatName = EnumText(types::FloatType(), GetFloatType());
  dest.Writeln(GetName() + u" = type " + floatName.substr(2) + u";");
}

void TUtStringTypeInfo::DeclarationTo(IUtInfoWriter& dest) const {
  bool named = !IsAnonymous();
  if (named) dest.Write(GetName() + u" = ");
  switch (GetTypeKind()) {
    case tkUString: dest.Write(u"UnicodeString"); break;
    case tkLString: dest.Write(u"AnsiString"); break;
    case tkWString: dest.Write(u"WideString"); break;
    case tkString: dest.Write(u"string[" + IntToStr(GetMaxLength()) + u"]"); break;
    default: break;
  }
  if (named) dest.Writeln(u";");
}

void TUtClassTypeInfo::DeclarationTo(IUtInfoWriter& dest) const {
  auto parent = GetParent();
  if (parent && !SameText(parent->GetName(), u"TObject")) {
    dest.Write(GetName() + u" = class(" + parent->GetName());
    for (const TInterfaceTypeInfo* intf : GetClassRef().Interfaces())
      dest.Write(u", ['" + GUIDToString(intf->Guid()) + u"']");
    dest.Writeln(u") // unit " + GetUnitName());
  } else {
    dest.Writeln(GetName() + u" = class // unit " + GetUnitName());
  }
  if (GetPropertyCount() > 0) {
    dest.Writeln(u"published");
    Indented(dest, [&] {
      for (Integer i = 0; i < GetPropertyCount(); ++i) WritePropertyDeclaration(dest, *GetProperties(i));
    });
  }
  dest.Writeln(u"end;");
}

void TUtEventTypeInfo::DeclarationTo(IUtInfoWriter& dest) const {
  dest.Write(GetName() + u" = ");
  dest.Write(GetMethodKind() == mkFunction ? u"function" : u"procedure");
  for (Integer i = 0; i < GetParameterCount(); ++i) {
    auto param = GetParameters(i);
    TParamFlags flags = param->GetFlags();
    dest.Write(i == 0 ? u"(" : u"; ");
    if (flags & ParamFlagBit(pfVar))
      dest.Write(u"var ");
    else if (flags & ParamFlagBit(pfConst))
      dest.Write(u"const ");
    else if (flags & ParamFlagBit(pfOut))
      dest.Write(u"out ");
    dest.Write(param->GetName());
    String typeName = param->GetTypeName();
    if (!typeName.empty()) {
      dest.Write(u": ");
      bool isArray = (flags & ParamFlagBit(pfArray)) != 0;
      if (isArray) dest.Write(u"array of ");
      dest.Write(isArray && SameText(typeName, u"TVarRec") ? String(u"const") : typeName);
    }
  }
  if (GetParameterCount() > 0) dest.Write(u")");
  if (GetMethodKind() == mkFunction) dest.Write(u": " + GetResultTypeName());
  dest.Writeln(u" of object;");
}

void TUtInterfaceTypeInfo::DeclarationTo(IUtInfoWriter& dest) const {
  TIntfFlags flags = GetFlags();
  bool dispInterface = (flags & (1u << ifDispInterface)) != 0;
  dest.Write(GetName() + u" = ");
  dest.Write(dispInterface ? u"dispinterface" : u"interface");
  auto parent = GetParent();
  if (parent && !dispInterface && !SameText(parent->GetName(), u"IUnknown"))
    dest.Write(u"(" + parent->GetName() + u")");
  dest.Writeln(u" // unit " + GetUnitName());
  try {
    Indented(dest, [&] {
      if (flags & (1u << ifHasGuid)) dest.Writeln(u"['" + GUIDToString(GetGUID()) + u"']");
    });
  } catch (...) {
    dest.Writeln(u"end;");
    throw;
  }
  dest.Writeln(u"end;");
}

void TUtInt64TypeInfo::DeclarationTo(IUtInfoWriter& dest) const {
  dest.Writeln(GetName() + u" = " + IntToStr(GetMinValue()) + u" .. " + IntToStr(GetMaxValue()) + u";");
}

void TUtDynArrayTypeInfo::DeclarationTo(IUtInfoWriter& dest) const {
  bool named = !IsAnonymous();
  dest.Write(named ? GetName() + u" = array of " : String(u"array of "));
  auto element = GetElementType();
  if (!element)
    dest.Write(kUnknownType);
  else if (IsAnonymousName(element->GetName()))
    element->DeclarationTo(dest);
  else
    dest.Write(element->GetName());
  if (named) dest.Writeln(u"; // Unit " + GetUnitName());
}

// ---- The in-memory text sink -------------------------------------------------------

void TUtTextInfoWriter::Clear() {
  FLines.clear();
  FCurrent.clear();
  FLineOpen = false;
  FLevel = 0;
}

String TUtTextInfoWriter::GetText() const {
  String text;
  for (const String& line : FLines) text += line + u"\r\n";
  if (FLineOpen) text += FCurrent;
  return text;
}

void TUtTextInfoWriter::Write(const String& text) {
  if (!FLineOpen) {
    FCurrent = String(static_cast<size_t>(2 * FLevel), u' ');
    FLineOpen = true;
  }
  FCurrent += text;
}

void TUtTextInfoWriter::Writeln(const String& text) {
  // An empty line stays empty, without the indentation.
  if (FLineOpen || !text.empty()) Write(text);
  FLines.push_back(std::move(FCurrent));
  FCurrent.clear();
  FLineOpen = false;
}

void TUtTextInfoWriter::Indent() {
  ++FLevel;
}

void TUtTextInfoWriter::Outdent() {
  if (FLevel > 0) --FLevel;
}
