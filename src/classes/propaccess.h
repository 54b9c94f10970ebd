// Reading and writing published properties by name and kind, as the object
// inspector, the component reader and the settings store do.
#pragma once

#include <any>
#include <vector>

#include "classes/reflection.h"

const TPropInfo* GetPropInfo(const TObject& instance, StringView name);
// Published properties whose kind is in the filter, sorted by name without
// regard to case (or in declaration order).
std::vector<const TPropInfo*> GetPropList(const TClassInfo& cls, TTypeKinds filter = tkAny, bool sorted = true);
bool IsPublishedProp(const TObject& instance, StringView name);

Int64 GetOrdProp(const TObject& instance, const TPropInfo& prop);
void SetOrdProp(TObject& instance, const TPropInfo& prop, Int64 value);
String GetEnumProp(const TObject& instance, const TPropInfo& prop);
// Raises EPropertyConvertError "Invalid property element: %s" for an unknown name.
void SetEnumProp(TObject& instance, const TPropInfo& prop, StringView value);
String GetSetProp(const TObject& instance, const TPropInfo& prop, bool brackets = false);
void SetSetProp(TObject& instance, const TPropInfo& prop, StringView value);
String GetStrProp(const TObject& instance, const TPropInfo& prop);
void SetStrProp(TObject& instance, const TPropInfo& prop, const String& value);
long double GetFloatProp(const TObject& instance, const TPropInfo& prop);
void SetFloatProp(TObject& instance, const TPropInfo& prop, long double value);
Int64 GetInt64Prop(const TObject& instance, const TPropInfo& prop);
void SetInt64Prop(TObject& instance, const TPropInfo& prop, Int64 value);
TObject* GetObjectProp(const TObject& instance, const TPropInfo& prop);
void SetObjectProp(TObject& instance, const TPropInfo& prop, TObject* value);
std::any GetMethodProp(const TObject& instance, const TPropInfo& prop);
void SetMethodProp(TObject& instance, const TPropInfo& prop, const std::any& delegate);
bool IsStoredProp(const TObject& instance, const TPropInfo& prop);

// Enumeration names of an enumeration type (its base's names); "" / -1 when out of range.
String GetEnumName(const TTypeInfo& type, Int64 value);
Int64 GetEnumValue(const TTypeInfo& type, StringView name);

// "a,b" (or "[a,b]") for the members of a set value, in ordinal order.
String SetToString(const TSetTypeInfo& type, Int64 value, bool brackets = false);
// The members named in "[a, b]" or "a,b"; raises EPropertyConvertError
// "Invalid property element: %s" for a name that is no member.
Int64 StringToSet(const TSetTypeInfo& type, StringView text);
