#include "classes/propaccess.h"

#include <algorithm>

#include "rtl/sysstr.h"
#include "rtl/unicode.h"

namespace {

const TOrdinalTypeInfo& SetMemberType(const TSetTypeInfo& type) { return type.CompType(); }

String MemberName(const TOrdinalTypeInfo& member, Int64 ordinal) {
  if (member.Kind() == tkEnumeration) return static_cast<const TEnumTypeInfo&>(member).GetEnumName(ordinal);
  // Sets of characters and integers: the ordinal as the form text writes it.
  return UTF8ToString(std::to_string(ordinal));
}

[[noreturn]] void InvalidElement(StringView name) {
  throw EPropertyConvertError(u"Invalid property element: " + String(name));
}

}  // namespace

const TPropInfo* GetPropInfo(const TObject& instance, StringView name) {
  return ClassOf(instance).FindProperty(name);
}

std::vector<const TPropInfo*> GetPropList(const TClassInfo& cls, TTypeKinds filter, bool sorted) {
  std::vector<const TPropInfo*> result;
  for (const TPropInfo* p : cls.AllProperties())
    if (filter & TypeKindBit(p->Kind())) result.push_back(p);
  if (sorted)
    std::stable_sort(result.begin(), result.end(),
                     [](const TPropInfo* a, const TPropInfo* b) { return CompareText(a->Name(), b->Name()) < 0; });
  return result;
}

bool IsPublishedProp(const TObject& instance, StringView name) { return GetPropInfo(instance, name) != nullptr; }

Int64 GetOrdProp(const TObject& instance, const TPropInfo& prop) { return prop.Access().GetOrd(instance); }
void SetOrdProp(TObject& instance, const TPropInfo& prop, Int64 value) { prop.Access().SetOrd(instance, value); }

String GetEnumProp(const TObject& instance, const TPropInfo& prop) {
  return GetEnumName(prop.PropType(), GetOrdProp(instance, prop));
}

void SetEnumProp(TObject& instance, const TPropInfo& prop, StringView value) {
  Int64 ordinal = GetEnumValue(prop.PropType(), value);
  if (ordinal < 0) InvalidElement(value);
  SetOrdProp(instance, prop, ordinal);
}

String GetSetProp(const TObject& instance, const TPropInfo& prop, bool brackets) {
  if (prop.Kind() != tkSet) throw EPropertyError(u"Invalid property type");
  return SetToString(static_cast<const TSetTypeInfo&>(prop.PropType()), GetOrdProp(instance, prop), brackets);
}

void SetSetProp(TObject& instance, const TPropInfo& prop, StringView value) {
  if (prop.Kind() != tkSet) throw EPropertyError(u"Invalid property type");
  SetOrdProp(instance, prop, StringToSet(static_cast<const TSetTypeInfo&>(prop.PropType()), value));
}

String GetStrProp(const TObject& instance, const TPropInfo& prop) { return prop.Access().GetStr(instance); }
void SetStrProp(TObject& instance, const TPropInfo& prop, const String& value) {
  prop.Access().SetStr(instance, value);
}
long double GetFloatProp(const TObject& instance, const TPropInfo& prop) { return prop.Access().GetFloat(instance); }
void SetFloatProp(TObject& instance, const TPropInfo& prop, long double value) {
  prop.Access().SetFloat(instance, value);
}
Int64 GetInt64Prop(const TObject& instance, const TPropInfo& prop) { return prop.Access().GetOrd(instance); }
void SetInt64Prop(TObject& instance, const TPropInfo& prop, Int64 value) { prop.Access().SetOrd(instance, value); }
Variant GetVariantProp(const TObject& instance, const TPropInfo& prop) { return prop.Access().GetVariant(instance); }
void SetVariantProp(TObject& instance, const TPropInfo& prop, const Variant& value) {
  prop.Access().SetVariant(instance, value);
}
TObject* GetObjectProp(const TObject& instance, const TPropInfo& prop) { return prop.Access().GetObject(instance); }
void SetObjectProp(TObject& instance, const TPropInfo& prop, TObject* value) {
  prop.Access().SetObject(instance, value);
}
std::any GetMethodProp(const TObject& instance, const TPropInfo& prop) { return prop.Access().GetMethod(instance); }
void SetMethodProp(TObject& instance, const TPropInfo& prop, const std::any& delegate) {
  prop.Access().SetMethod(instance, delegate);
}
bool IsStoredProp(const TObject& instance, const TPropInfo& prop) { return prop.IsStored(instance); }

String GetEnumName(const TTypeInfo& type, Int64 value) {
  if (type.Kind() == tkEnumeration) return static_cast<const TEnumTypeInfo&>(type).GetEnumName(value);
  return UTF8ToString(std::to_string(value));
}

Int64 GetEnumValue(const TTypeInfo& type, StringView name) {
  if (type.Kind() != tkEnumeration) return -1;
  return static_cast<const TEnumTypeInfo&>(type).GetEnumValue(name);
}

String SetToString(const TSetTypeInfo& type, Int64 value, bool brackets) {
  const TOrdinalTypeInfo& member = SetMemberType(type);
  String result;
  auto bits = static_cast<std::uint64_t>(value);
  for (int ordinal = 0; ordinal < 64; ++ordinal) {
    if (!(bits & (std::uint64_t{1} << ordinal))) continue;
    if (!result.empty()) result += u',';
    result += MemberName(member, ordinal);
  }
  return brackets ? u"[" + result + u"]" : result;
}

Int64 StringToSet(const TSetTypeInfo& type, StringView text) {
  const TOrdinalTypeInfo& member = SetMemberType(type);
  size_t pos = 0;
  while (pos < text.size() && text[pos] == u' ') ++pos;
  if (pos < text.size() && text[pos] == u'[') ++pos;
  std::uint64_t bits = 0;
  while (pos < text.size()) {
    while (pos < text.size() && (text[pos] == u' ' || text[pos] == u',')) ++pos;
    size_t start = pos;
    while (pos < text.size() && text[pos] != u',' && text[pos] != u']' && text[pos] != u' ') ++pos;
    StringView name = text.substr(start, pos - start);
    if (!name.empty()) {
      Int64 ordinal = -1;
      if (member.Kind() == tkEnumeration) ordinal = static_cast<const TEnumTypeInfo&>(member).GetEnumValue(name);
      if (ordinal < 0 || ordinal > 63 || ordinal < member.MinValue() || ordinal > member.MaxValue())
        InvalidElement(name);
      bits |= std::uint64_t{1} << ordinal;
    }
    while (pos < text.size() && text[pos] == u' ') ++pos;
    if (pos < text.size() && text[pos] == u']') break;
  }
  return static_cast<Int64>(bits);
}
