#include "services/appstorageobjects.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "classes/collection.h"
#include "classes/persistent.h"
#include "classes/propaccess.h"
#include "rtl/updatescope.h"
#include "rtl/variant.h"
#include "rtl/format.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"
#include "services/typeinfowrappers.h"

namespace {

constexpr char16_t kNotKnownText[] = u" #!@not known@!# ";

// Puts a factory in place for one read and the old one back afterwards.
class TFactoryScope {
 public:
  TFactoryScope(TSvCustomAppStorage& store, const TSvAppStorageObjectListItemCreateEvent& factory)
      : FStore(store), FSaved(store.CurrentInstanceCreateEvent) {
    FStore.CurrentInstanceCreateEvent = factory;
  }
  ~TFactoryScope() { FStore.CurrentInstanceCreateEvent = FSaved; }
  TFactoryScope(const TFactoryScope&) = delete;
  TFactoryScope& operator=(const TFactoryScope&) = delete;

 private:
  TSvCustomAppStorage& FStore;
  TSvAppStorageObjectListItemCreateEvent FSaved;
};

// The objects being stored on the way down from the first one: an object that
// holds (a reference to) one of them is not followed again.
struct TObjectChain {
  std::vector<const TObject*> Objects;
  bool Contains(const TObject* object) const {
    return std::find(Objects.begin(), Objects.end(), object) != Objects.end();
  }
};

class TChainLink {
 public:
  TChainLink(TObjectChain& chain, const TObject* object) : FChain(chain) { FChain.Objects.push_back(object); }
  ~TChainLink() { FChain.Objects.pop_back(); }
  TChainLink(const TChainLink&) = delete;
  TChainLink& operator=(const TChainLink&) = delete;

 private:
  TObjectChain& FChain;
};

struct TTarget {
  TSvCustomAppStorage* Store;
  String Path;
};

TTarget Resolve(TSvCustomAppStorage& store, const String& path) {
  TTarget target{nullptr, {}};
  store.ResolvePath(path, target.Store, target.Path);
  return target;
}

// The store and path that handle the entries of the list at path.
TTarget ResolveList(TSvCustomAppStorage& store, const String& path) {
  TTarget target = Resolve(store, path + u"\\*");
  target.Path.resize(target.Path.size() - 2);
  return target;
}

const TOrdinalTypeInfo* OrdinalType(const TTypeInfo& type) {
  switch (type.Kind()) {
    case tkInteger:
    case tkChar:
    case tkWChar:
    case tkEnumeration: return dynamic_cast<const TOrdinalTypeInfo*>(&type);
    default: return nullptr;
  }
}

// Boolean itself and the Boolean types whose base starts below zero (True is
// any number but 0).
bool IsBooleanLike(const TOrdinalTypeInfo& type) {
  if (&type == &types::Boolean()) return true;
  if (type.Kind() != tkEnumeration) return false;
  const auto* enumeration = dynamic_cast<const TEnumTypeInfo*>(&type);
  const TOrdinalTypeInfo& base = enumeration ? enumeration->BaseType() : type;
  return base.MinValue() < 0;
}

bool HasIdentMap(const TOrdinalTypeInfo& type) {
  return !type.IdentMap().empty();
}

// Names of an enumeration's values ("" / -1 for a record without names).
String EnumNameOf(const TOrdinalTypeInfo& type, Int64 value) {
  const auto* enumeration = dynamic_cast<const TEnumTypeInfo*>(&type);
  return enumeration ? enumeration->GetEnumName(value) : String();
}
Int64 EnumValueOf(const TOrdinalTypeInfo& type, StringView name) {
  const auto* enumeration = dynamic_cast<const TEnumTypeInfo*>(&type);
  return enumeration ? enumeration->GetEnumValue(name) : -1;
}

bool IsDateTime(const TTypeInfo& type) {
  return &type == &types::TDateTime() || SameText(type.Name(), u"TDateTime");
}

// An ordinal value in a buffer wide enough for any ordinal kind.
struct TOrdinalBuffer {
  alignas(8) Byte Bytes[8] = {};
  TOrdinalBuffer() = default;
  TOrdinalBuffer(Int64 value, TOrdType kind) { Set(value, kind); }
  void Set(Int64 value, TOrdType kind) {
    const auto bits = static_cast<std::uint64_t>(value);
    std::uint8_t b8 = static_cast<std::uint8_t>(bits);
    std::uint16_t b16 = static_cast<std::uint16_t>(bits);
    std::uint32_t b32 = static_cast<std::uint32_t>(bits);
    switch (kind) {
      case otSByte:
      case otUByte: std::memcpy(Bytes, &b8, 1); break;
      case otSWord:
      case otUWord: std::memcpy(Bytes, &b16, 2); break;
      default: std::memcpy(Bytes, &b32, 4); break;
    }
  }
};

const TSetTypeInfo& SetType(const TTypeInfo& typeInfo) {
  const auto* set = typeInfo.Kind() == tkSet ? dynamic_cast<const TSetTypeInfo*>(&typeInfo) : nullptr;
  if (!set) throw ESvcAppStorageError(kSvInvalidType);
  return *set;
}

bool TestMember(const TSetTypeInfo& set, const void* value, Int64 ordinal) {
  const int bit = static_cast<int>(ordinal - set.CompType().MinValue()) + set.FirstBit();
  return (static_cast<const Byte*>(value)[bit / 8] >> (bit % 8)) & 1;
}

void IncludeMember(const TSetTypeInfo& set, void* value, Int64 ordinal) {
  const int bit = static_cast<int>(ordinal - set.CompType().MinValue()) + set.FirstBit();
  auto* bytes = static_cast<Byte*>(value);
  bytes[bit / 8] = static_cast<Byte>(bytes[bit / 8] | (1u << (bit % 8)));
}

// The value name of member v of a set stored as a folder.
String MemberValueName(const TOrdinalTypeInfo& base, Int64 v) {
  switch (base.Kind()) {
    case tkInteger: return GetIntName(static_cast<Integer>(v));
    case tkChar: return GetCharName(static_cast<Char>(v));
    case tkEnumeration: return EnumNameOf(base, v);
    default: throw ESvcAppStorageError(kSvUnknownSetBaseType);
  }
}

bool Ignored(const TStrings* ignoreProperties, const String& name) {
  return ignoreProperties && ignoreProperties->IndexOf(name) >= 0;
}

// A stored count is outside data: one beyond reason is refused before any
// item is read.
void CheckListCount(TSvCustomAppStorage& store, const String& path) {
  if (store.ReadInteger(TSvCustomAppStorage::JoinPaths({path, u"Count"}), 0) > kSvMaxListItems)
    throw ESvcAppStorageError(Format(kSvTooManyListItems, {path, kSvMaxListItems}));
}

String ItemPath(TSvCustomAppStorage& store, const String& path, const String& itemName, Integer index) {
  return TSvCustomAppStorage::JoinPaths({path, store.ItemNameIndexPath(itemName, index)});
}

// Surplus entries go by the old name form, whatever the options say; entries
// that are folders stay behind, out of reach of the new count.
TSvAppStorageListDeleteEvent DeleteItemValues() {
  return [](TSvCustomAppStorage* sender, const String& path, TObject*, Integer first, Integer last,
            const String& itemName) {
    for (Integer i = first; i <= last; ++i)
      sender->DeleteValue(TSvCustomAppStorage::JoinPaths({path, itemName + IntToStr(i)}));
  };
}

TSvAppStorageObjectListItemCreateEvent ClassNameFactory(const TClassRegistry& classes) {
  return [&classes](TSvCustomAppStorage* sender, const String& path, Integer) -> TPersistent* {
    const String className = sender->ReadString(TSvCustomAppStorage::JoinPaths({path, u"Classname"}));
    const TClassInfo* cls = className.empty() ? nullptr : classes.FindClass(className);
    if (!cls || !cls->CanCreate()) return nullptr;
    std::unique_ptr<TObject> made(cls->Create(nullptr));
    auto* persistent = dynamic_cast<TPersistent*>(made.get());
    if (persistent) made.release();
    return persistent;
  };
}

// An object from the factory of the store that handles the item's path.
TPersistent* CreateItemObject(TSvCustomAppStorage& reader, const String& itemPath, Integer index) {
  TTarget target = Resolve(reader, itemPath);
  return target.Store->CurrentInstanceCreateEvent(&reader, itemPath, index);
}

// ---- Properties and objects, with the chain of objects on the way ------------

Integer ReadStringListIn(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TStrings& sl,
                         bool clearFirst, const String& itemName);
void WriteStringListIn(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TStrings& sl,
                       const String& itemName);
Integer ReadCollectionIn(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TCollection& list,
                         bool clearFirst, const String& itemName);
void WriteCollectionIn(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TCollection& list,
                       const String& itemName);

void ReadPropertyIn(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TObject* persObj,
                    const String& propName, bool recursive, bool clearFirst, const TStrings* ignoreProperties);
void WritePropertyIn(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TObject* persObj,
                     const String& propName, bool recursive, const TStrings* ignoreProperties);

void ReadPersistentIn(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TObject* persObj,
                      bool recursive, bool clearFirst, const TStrings* ignoreProperties) {
  if (!persObj || chain.Contains(persObj)) return;
  TChainLink link(chain, persObj);
  auto* aware = dynamic_cast<IStorageAware*>(persObj);
  if (aware) aware->ReadFromAppStorage(store, path);
  if (aware && !dynamic_cast<IStoragePublishedProps*>(persObj)) return;
  for (const TPropInfo* prop : ClassOf(*persObj).AllProperties()) {
    const String& name = prop->Name();
    const String translated = TranslatePropertyName(store, persObj, name, false);
    if (Ignored(ignoreProperties, name)) continue;
    ReadPropertyIn(chain, store, TSvCustomAppStorage::JoinPaths({path, translated}), persObj, name, recursive,
                   clearFirst, ignoreProperties);
  }
}

void WritePersistentIn(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TObject* persObj,
                       bool recursive, const TStrings* ignoreProperties) {
  if (!persObj || chain.Contains(persObj)) return;
  TChainLink link(chain, persObj);
  auto* aware = dynamic_cast<IStorageAware*>(persObj);
  if (aware) aware->WriteToAppStorage(store, path);
  if (aware && !dynamic_cast<IStoragePublishedProps*>(persObj)) return;
  for (const TPropInfo* prop : ClassOf(*persObj).AllProperties()) {
    const String& name = prop->Name();
    const String translated = TranslatePropertyName(store, persObj, name, false);
    if (Ignored(ignoreProperties, name)) continue;
    WritePropertyIn(chain, store, TSvCustomAppStorage::JoinPaths({path, translated}), persObj, name, recursive,
                    ignoreProperties);
  }
}

const TPropInfo& FindProperty(const TObject& object, const String& propName) {
  const TPropInfo* prop = GetPropInfo(object, propName);
  if (!prop) throw EPropertyError(Format(kPropertyDoesNotExist, {propName}));
  return *prop;
}

void WriteObjectProperty(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TObject* owner,
                         TObject* value, bool recursive, const TStrings* ignoreProperties) {
  if (!value || chain.Contains(value)) return;
  if (recursive) {
    if (const auto* engines = PropertyEngineList())
      if (engines->WriteProperty(store, path, owner, value, recursive, ignoreProperties)) return;
  }
  if (auto* strings = dynamic_cast<TStrings*>(value)) {
    if (store.StorageOptions()->StoreDefaultValues() || strings->Count() > 0)
      WriteStringListIn(chain, store, path, *strings, u"Item");
  } else if (recursive) {
    if (auto* collection = dynamic_cast<TCollection*>(value))
      WriteCollectionIn(chain, store, path, *collection, u"Item");
    else if (dynamic_cast<TPersistent*>(value))
      WritePersistentIn(chain, store, path, value, recursive, ignoreProperties);
  }
}

void ReadObjectProperty(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TObject* owner,
                        TObject* value, bool recursive, bool clearFirst, const TStrings* ignoreProperties) {
  if (!value || chain.Contains(value)) return;
  if (recursive) {
    if (const auto* engines = PropertyEngineList())
      if (engines->ReadProperty(store, path, owner, value, recursive, clearFirst, ignoreProperties)) return;
  }
  if (auto* strings = dynamic_cast<TStrings*>(value)) {
    ReadStringListIn(chain, store, path, *strings, clearFirst, u"Item");
  } else if (recursive) {
    if (auto* collection = dynamic_cast<TCollection*>(value))
      ReadCollectionIn(chain, store, path, *collection, clearFirst, u"Item");
    else if (dynamic_cast<TPersistent*>(value))
      ReadPersistentIn(chain, store, path, value, true, clearFirst, ignoreProperties);
  }
}

void WritePropertyIn(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TObject* persObj,
                     const String& propName, bool recursive, const TStrings* ignoreProperties) {
  if (!persObj) return;
  const TPropInfo& prop = FindProperty(*persObj, propName);
  const TTypeKind kind = prop.Kind();
  const bool storeDefaults = store.StorageOptions()->StoreDefaultValues();
  // A property without a getter has nothing to write.
  if (!prop.IsReadable()) return;
  if (!storeDefaults && kind != tkClass && (!prop.IsWritable() || !prop.IsStored(*persObj))) return;
  const bool hasDefault = prop.Default() != kNoDefault;

  switch (kind) {
    case tkInteger:
    case tkChar:
    case tkWChar: {
      const Int64 ordinal = GetOrdProp(*persObj, prop);
      if (!storeDefaults && hasDefault && ordinal == prop.Default()) return;
      if (store.StorageOptions()->TypedIntegerAsString()) {
        const auto& type = static_cast<const TOrdinalTypeInfo&>(prop.PropType());
        TOrdinalBuffer buffer(ordinal, type.OrdType());
        WriteEnumeration(store, path, type, buffer.Bytes);
      } else {
        store.WriteInteger(path, static_cast<Integer>(ordinal));
      }
      return;
    }
    case tkEnumeration: {
      const Int64 ordinal = GetOrdProp(*persObj, prop);
      if (!storeDefaults && hasDefault && ordinal == prop.Default()) return;
      const auto* type = OrdinalType(prop.PropType());
      if (!type) throw ESvcAppStorageError(kSvInvalidType);
      TOrdinalBuffer buffer(ordinal, type->OrdType());
      WriteEnumeration(store, path, *type, buffer.Bytes);
      return;
    }
    case tkSet: {
      const Int64 ordinal = GetOrdProp(*persObj, prop);
      if (!storeDefaults && hasDefault && ordinal == prop.Default()) return;
      const TSetTypeInfo& type = SetType(prop.PropType());
      std::vector<Byte> storage(static_cast<size_t>(type.StorageSize()));
      type.OrdinalToStorage(ordinal, storage.data());
      WriteSet(store, path, type, storage.data());
      return;
    }
    case tkFloat: {
      const long double value = GetFloatProp(*persObj, prop);
      if (!storeDefaults && value == 0) return;
      if (IsDateTime(prop.PropType()))
        store.WriteDateTime(path, static_cast<TDateTime>(value));
      else
        store.WriteFloat(path, value);
      return;
    }
    case tkVariant: {
      const String value = VarToStr(GetVariantProp(*persObj, prop));
      if (!storeDefaults && value.empty()) return;
      store.WriteString(path, value);
      return;
    }
    case tkString:
    case tkLString:
    case tkUString: {
      const String value = GetStrProp(*persObj, prop);
      if (!storeDefaults && value.empty()) return;
      store.WriteString(path, value);
      return;
    }
    case tkWString: {
      const String value = GetStrProp(*persObj, prop);
      if (!storeDefaults && value.empty()) return;
      store.WriteWideString(path, value);
      return;
    }
    case tkInt64: {
      const Int64 value = GetInt64Prop(*persObj, prop);
      if (!storeDefaults && value == 0) return;
      store.WriteString(path, IntToStr(value));
      return;
    }
    case tkClass:
      WriteObjectProperty(chain, store, path, persObj, GetObjectProp(*persObj, prop), recursive, ignoreProperties);
      return;
    default: return;
  }
}

void ReadPropertyIn(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TObject* persObj,
                    const String& propName, bool recursive, bool clearFirst, const TStrings* ignoreProperties) {
  if (!persObj) return;
  const TPropInfo& prop = FindProperty(*persObj, propName);
  const TTypeKind kind = prop.Kind();
  if (!prop.IsReadable()) return;
  // A value can only be read into a property that can be set.
  if (kind != tkClass && !prop.IsWritable()) return;

  switch (kind) {
    case tkInteger:
    case tkChar:
    case tkWChar:
    case tkEnumeration: {
      const auto* type = OrdinalType(prop.PropType());
      if (!type) throw ESvcAppStorageError(kSvInvalidType);
      TOrdinalBuffer current(GetOrdProp(*persObj, prop), type->OrdType());
      TOrdinalBuffer result;
      ReadEnumeration(store, path, *type, current.Bytes, result.Bytes);
      SetOrdProp(*persObj, prop, OrdinalOf(result.Bytes, type->OrdType()));
      return;
    }
    case tkFloat: {
      const long double current = GetFloatProp(*persObj, prop);
      if (IsDateTime(prop.PropType()))
        SetFloatProp(*persObj, prop, store.ReadDateTime(path, static_cast<TDateTime>(current)));
      else
        SetFloatProp(*persObj, prop, store.ReadFloat(path, current));
      return;
    }
    case tkString:
    case tkLString:
    case tkUString: SetStrProp(*persObj, prop, store.ReadString(path, GetStrProp(*persObj, prop))); return;
    case tkVariant:
      SetVariantProp(*persObj, prop, Variant(store.ReadString(path, VarToStr(GetVariantProp(*persObj, prop)))));
      return;
    case tkWString: SetStrProp(*persObj, prop, store.ReadWideString(path, GetStrProp(*persObj, prop))); return;
    case tkSet: {
      const TSetTypeInfo& type = SetType(prop.PropType());
      std::vector<Byte> current(static_cast<size_t>(type.StorageSize()));
      std::vector<Byte> result(current.size());
      type.OrdinalToStorage(GetOrdProp(*persObj, prop), current.data());
      ReadSet(store, path, type, current.data(), result.data());
      SetOrdProp(*persObj, prop, type.StorageToOrdinal(result.data()));
      return;
    }
    case tkInt64:
      SetInt64Prop(*persObj, prop, StrToInt64(store.ReadString(path, IntToStr(GetInt64Prop(*persObj, prop)))));
      return;
    case tkClass:
      ReadObjectProperty(chain, store, path, persObj, GetObjectProp(*persObj, prop), recursive, clearFirst,
                         ignoreProperties);
      return;
    default: return;
  }
}

// ---- Enumerations and sets on the store that handles the path ----------------

void ReadEnumerationAt(TSvCustomAppStorage& target, const String& path, const TOrdinalTypeInfo& type,
                       const void* defaultValue, void* value) {
  TSvCustomAppStorageOptions& options = *target.StorageOptions();
  const TOrdType width = type.OrdType();
  const Int64 defaultOrdinal = OrdinalOf(defaultValue, width);
  if (!target.ValueStored(path) && options.DefaultIfValueNotExists()) {
    CopyOrdinal(defaultValue, value, width);
    return;
  }
  if (IsBooleanLike(type)) {
    TOrdinalBuffer result(target.ReadBoolean(path, defaultOrdinal != 0) ? 1 : 0, width);
    CopyOrdinal(result.Bytes, value, width);
    return;
  }
  Int64 result = defaultOrdinal;
  try {
    if (type.Kind() == tkInteger && HasIdentMap(type)) {
      const bool saved = options.DefaultIfReadConvertError();
      options.SetDefaultIfReadConvertError(true);
      String text;
      try {
        text = target.ReadString(path, String());
      } catch (...) {
        options.SetDefaultIfReadConvertError(saved);
        throw;
      }
      options.SetDefaultIfReadConvertError(saved);
      Integer mapped = 0;
      if (!text.empty() && type.IdentToInt(text, mapped))
        result = mapped;
      else
        result = target.ReadInteger(path, static_cast<Integer>(defaultOrdinal));
    } else if (type.Kind() == tkEnumeration) {
      const Int64 named = EnumValueOf(type, target.ReadString(path, kNotKnownText));
      if (named >= 0) {
        result = named;
      } else {
        const Integer number = target.ReadInteger(path, -1);
        // A number outside the type would name no member: it reads as the default.
        if (number != -1 && number >= type.MinValue() && number <= type.MaxValue()) result = number;
      }
    } else {
      result = target.ReadInteger(path, static_cast<Integer>(defaultOrdinal));
    }
  } catch (const EConvertError&) {
    if (!options.DefaultIfReadConvertError()) throw;
    result = defaultOrdinal;
  }
  TOrdinalBuffer buffer(result, width);
  CopyOrdinal(buffer.Bytes, value, width);
}

void WriteEnumerationAt(TSvCustomAppStorage& target, const String& path, const TOrdinalTypeInfo& type,
                        const void* value) {
  const Int64 ordinal = OrdinalOf(value, type.OrdType());
  if (IsBooleanLike(type)) {
    target.WriteBoolean(path, ordinal != 0);
  } else if (type.Kind() == tkInteger) {
    String ident;
    if (target.StorageOptions()->TypedIntegerAsString() && type.IntToIdent(static_cast<Integer>(ordinal), ident))
      target.WriteString(path, ident);
    else
      target.WriteInteger(path, static_cast<Integer>(ordinal));
  } else if (type.Kind() == tkEnumeration) {
    // A value outside the type has no name: it is written as its number.
    const bool named = ordinal >= type.MinValue() && ordinal <= type.MaxValue();
    if (target.StorageOptions()->EnumerationAsString() && named)
      target.WriteString(path, EnumNameOf(type, ordinal));
    else
      target.WriteInteger(path, static_cast<Integer>(ordinal));
  } else {
    target.WriteInteger(path, static_cast<Integer>(ordinal));
  }
}

void WriteSetAt(TSvCustomAppStorage& target, const String& path, const TSetTypeInfo& type, const void* value) {
  if (target.StorageOptions()->SetAsString()) {
    target.WriteString(path, SetToText(type, value, true, false));
    return;
  }
  const TOrdinalTypeInfo& base = type.CompType();
  MemberValueName(base, base.MinValue());  // refuses other base kinds before anything is written
  for (Int64 v = base.MinValue(); v <= base.MaxValue(); ++v)
    target.WriteBoolean(TSvCustomAppStorage::JoinPaths({path, MemberValueName(base, v)}), TestMember(type, value, v));
}

void ReadSetAt(TSvCustomAppStorage& target, const String& path, const TSetTypeInfo& type, const void* defaultValue,
               void* value) {
  if (!target.IsFolder(path, true)) {
    const String text = target.ReadString(path, SetToText(type, defaultValue, true, false));
    TextToSet(type, value, text);
    return;
  }
  const TOrdinalTypeInfo& base = type.CompType();
  switch (base.Kind()) {
    case tkInteger:
    case tkEnumeration: {
      TStringList members;
      for (Int64 v = base.MinValue(); v <= base.MaxValue(); ++v) {
        const String name = MemberValueName(base, v);
        if (target.ReadBoolean(TSvCustomAppStorage::JoinPaths({path, name}), false))
          members.Add(base.Kind() == tkInteger ? IntToStr(v) : name);
      }
      Supports<IUtSetTypeInfo>(WrapTypeInfo(type))->SetAsList(value, members);
      return;
    }
    case tkChar:
      TextToSet(type, value, String());
      for (Int64 c = base.MinValue(); c <= base.MaxValue(); ++c)
        if (target.ReadBoolean(TSvCustomAppStorage::JoinPaths({path, GetCharName(static_cast<Char>(c))}), false))
          IncludeMember(type, value, c);
      return;
    default: throw ESvcAppStorageError(kSvUnknownSetBaseType);
  }
}

}  // namespace

// ---- Ordinals and names ------------------------------------------------------------

Int64 OrdinalOf(const void* value, TOrdType kind) {
  switch (kind) {
    case otSByte: {
      std::int8_t v;
      std::memcpy(&v, value, sizeof v);
      return v;
    }
    case otUByte: {
      std::uint8_t v;
      std::memcpy(&v, value, sizeof v);
      return v;
    }
    case otSWord: {
      std::int16_t v;
      std::memcpy(&v, value, sizeof v);
      return v;
    }
    case otUWord: {
      std::uint16_t v;
      std::memcpy(&v, value, sizeof v);
      return v;
    }
    case otSLong: {
      std::int32_t v;
      std::memcpy(&v, value, sizeof v);
      return v;
    }
    case otULong: {
      std::uint32_t v;
      std::memcpy(&v, value, sizeof v);
      return v;
    }
  }
  return -1;
}

void CopyOrdinal(const void* source, void* target, TOrdType kind) {
  switch (kind) {
    case otSByte:
    case otUByte: std::memcpy(target, source, 1); break;
    case otSWord:
    case otUWord: std::memcpy(target, source, 2); break;
    case otSLong:
    case otULong: std::memcpy(target, source, 4); break;
  }
}

String GetCharName(Char ch) {
  // Value names ignore case, so "Char_a" would be "Char_A": lower-case
  // letters go by their code.
  if (ch >= u'!' && ch <= u'z' && !(ch >= u'a' && ch <= u'z')) return String(u"Char_") + ch;
  return u"Char#" + IntToStr(static_cast<Integer>(ch));
}

String GetIntName(Integer value) {
  return u"Int_" + IntToStr(value);
}

// ---- Engines ---------------------------------------------------------------------------

bool TSvAppStoragePropertyBaseEngine::Supports(TObject*, TObject*) {
  return false;
}
void TSvAppStoragePropertyBaseEngine::ReadProperty(TSvCustomAppStorage&, const String&, TObject*, TObject*, bool, bool,
                                                   const TStrings*) {}
void TSvAppStoragePropertyBaseEngine::WriteProperty(TSvCustomAppStorage&, const String&, TObject*, TObject*, bool,
                                                    const TStrings*) {}

TSvAppStoragePropertyEngineList::~TSvAppStoragePropertyEngineList() {
  while (!FEngines.empty()) FEngines.pop_back();
}

void TSvAppStoragePropertyEngineList::RegisterEngine(std::type_index engineClass,
                                                     std::unique_ptr<TSvAppStoragePropertyBaseEngine> engine) {
  FEngines.push_back(Entry{engineClass, std::move(engine)});
}

void TSvAppStoragePropertyEngineList::UnregisterEngine(std::type_index engineClass) {
  auto found = std::find_if(FEngines.begin(), FEngines.end(), [&](const Entry& e) { return e.Class == engineClass; });
  if (found != FEngines.end()) FEngines.erase(found);
}

TSvAppStoragePropertyBaseEngine* TSvAppStoragePropertyEngineList::GetEngine(TObject* aObject,
                                                                            TObject* aProperty) const {
  for (const Entry& entry : FEngines)
    if (entry.Engine->Supports(aObject, aProperty)) return entry.Engine.get();
  return nullptr;
}

bool TSvAppStoragePropertyEngineList::ReadProperty(TSvCustomAppStorage& storage, const String& path, TObject* aObject,
                                                   TObject* aProperty, bool recursive, bool clearFirst,
                                                   const TStrings* ignoreProperties) const {
  TSvAppStoragePropertyBaseEngine* engine = GetEngine(aObject, aProperty);
  if (!engine) return false;
  engine->ReadProperty(storage, path, aObject, aProperty, recursive, clearFirst, ignoreProperties);
  return true;
}

bool TSvAppStoragePropertyEngineList::WriteProperty(TSvCustomAppStorage& storage, const String& path, TObject* aObject,
                                                    TObject* aProperty, bool recursive,
                                                    const TStrings* ignoreProperties) const {
  TSvAppStoragePropertyBaseEngine* engine = GetEngine(aObject, aProperty);
  if (!engine) return false;
  engine->WriteProperty(storage, path, aObject, aProperty, recursive, ignoreProperties);
  return true;
}

namespace {

struct TEngineListHolder {
  std::unique_ptr<TSvAppStoragePropertyEngineList> List;
  bool Released = false;
};

TEngineListHolder& EngineListHolder() {
  static TEngineListHolder holder;
  return holder;
}

}  // namespace

TSvAppStoragePropertyEngineList* PropertyEngineList() {
  TEngineListHolder& holder = EngineListHolder();
  if (holder.Released) return nullptr;
  if (!holder.List) holder.List = std::make_unique<TSvAppStoragePropertyEngineList>();
  return holder.List.get();
}

void ReleasePropertyEngineList() {
  TEngineListHolder& holder = EngineListHolder();
  holder.List.reset();
  holder.Released = true;
}

// ---- Enumerations and sets -----------------------------------------------------------

void ReadEnumeration(TSvCustomAppStorage& store, const String& path, const TTypeInfo& typeInfo,
                     const void* defaultValue, void* value) {
  const TOrdinalTypeInfo* type = OrdinalType(typeInfo);
  if (!type) throw ESvcAppStorageError(kSvInvalidType);
  TTarget target = Resolve(store, path);
  TSvCustomAppStorage::TLocalPathScope local(*target.Store);
  ReadEnumerationAt(*target.Store, target.Path, *type, defaultValue, value);
}

void WriteEnumeration(TSvCustomAppStorage& store, const String& path, const TTypeInfo& typeInfo, const void* value) {
  const TOrdinalTypeInfo* type = OrdinalType(typeInfo);
  if (!type) throw ESvcAppStorageError(kSvInvalidType);
  TTarget target = Resolve(store, path);
  TSvCustomAppStorage::TLocalPathScope local(*target.Store);
  WriteEnumerationAt(*target.Store, target.Path, *type, value);
}

void ReadSet(TSvCustomAppStorage& store, const String& path, const TTypeInfo& typeInfo, const void* defaultValue,
             void* value) {
  const TSetTypeInfo& type = SetType(typeInfo);
  TTarget target = Resolve(store, path);
  TSvCustomAppStorage::TLocalPathScope local(*target.Store);
  ReadSetAt(*target.Store, target.Path, type, defaultValue, value);
}

void WriteSet(TSvCustomAppStorage& store, const String& path, const TTypeInfo& typeInfo, const void* value) {
  const TSetTypeInfo& type = SetType(typeInfo);
  TTarget target = Resolve(store, path);
  if (target.Store->ReadOnly()) return;
  TSvCustomAppStorage::TLocalPathScope local(*target.Store);
  WriteSetAt(*target.Store, target.Path, type, value);
}

// ---- Properties and whole objects ---------------------------------------------------

void ReadProperty(TSvCustomAppStorage& store, const String& path, TObject* persObj, const String& propName,
                  bool recursive, bool clearFirst, const TStrings* ignoreProperties) {
  TObjectChain chain;
  TChainLink owner(chain, persObj);
  ReadPropertyIn(chain, store, path, persObj, propName, recursive, clearFirst, ignoreProperties);
}

void WriteProperty(TSvCustomAppStorage& store, const String& path, TObject* persObj, const String& propName,
                   bool recursive, const TStrings* ignoreProperties) {
  TObjectChain chain;
  TChainLink owner(chain, persObj);
  WritePropertyIn(chain, store, path, persObj, propName, recursive, ignoreProperties);
}

void ReadPersistent(TSvCustomAppStorage& store, const String& path, TObject* persObj, bool recursive, bool clearFirst,
                    const TStrings* ignoreProperties) {
  TObjectChain chain;
  ReadPersistentIn(chain, store, path, persObj, recursive, clearFirst, ignoreProperties);
}

void WritePersistent(TSvCustomAppStorage& store, const String& path, TObject* persObj, bool recursive,
                     const TStrings* ignoreProperties) {
  TObjectChain chain;
  WritePersistentIn(chain, store, path, persObj, recursive, ignoreProperties);
}

String TranslatePropertyName(TSvCustomAppStorage& store, TObject* instance, const String& name, bool reading) {
  String result = name;
  if (store.OnTranslatePropertyName)
    store.OnTranslatePropertyName(&store, dynamic_cast<TPersistent*>(instance), result, reading);
  return result;
}

// ---- String lists ------------------------------------------------------------------------

namespace {

Integer ReadStringListIn(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TStrings& sl,
                         bool clearFirst, const String& itemName) {
  TUpdateScope<TSvCustomAppStorage> storeUpdate(store);
  TUpdateScope<TStrings> listUpdate(sl);
  if (clearFirst) sl.Clear();
  if (store.ListStored(path, itemName)) {
    ReadPersistentIn(chain, store, path, &sl, true, false, nullptr);
    CheckListCount(store, path);
    store.ReadList(
        path, &sl,
        [&sl](TSvCustomAppStorage* sender, const String& listPath, TObject*, Integer index, const String& name) {
          sl.Add(sender->ReadString(ItemPath(*sender, listPath, name, index), String()));
        },
        itemName);
  } else if (store.ValueStored(path)) {
    sl.SetText(store.ReadString(path));
  }
  return sl.Count();
}

void WriteStringListIn(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TStrings& sl,
                       const String& itemName) {
  TUpdateScope<TSvCustomAppStorage> storeUpdate(store);
  if (store.StorageOptions()->StoreStringListAsSingleString()) {
    if (store.ListStored(path, itemName)) store.DeleteSubTree(path);
    store.WriteString(path, sl.Text());
    return;
  }
  store.WriteList(
      path, &sl, sl.Count(),
      [&sl](TSvCustomAppStorage* sender, const String& listPath, TObject*, Integer index, const String& name) {
        sender->WriteString(ItemPath(*sender, listPath, name, index), sl.Strings(index));
      },
      DeleteItemValues(), itemName);
  WritePersistentIn(chain, store, path, &sl, true, nullptr);
}

Integer ReadCollectionIn(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TCollection& list,
                         bool clearFirst, const String& itemName) {
  if (!store.ListStored(path, itemName) && store.StorageOptions()->DefaultIfValueNotExists()) return list.Count();
  TUpdateScope<TCollection> update(list);
  if (clearFirst) list.Clear();
  ReadPersistentIn(chain, store, path, &list, true, false, nullptr);
  CheckListCount(store, path);
  store.ReadList(
      path, &list,
      [&](TSvCustomAppStorage* sender, const String& listPath, TObject*, Integer index, const String& name) {
        ReadPersistentIn(chain, *sender, ItemPath(*sender, listPath, name, index), list.Add(), true, true, nullptr);
      },
      itemName);
  return list.Count();
}

void WriteCollectionIn(TObjectChain& chain, TSvCustomAppStorage& store, const String& path, TCollection& list,
                       const String& itemName) {
  store.WriteList(
      path, &list, list.Count(),
      [&](TSvCustomAppStorage* sender, const String& listPath, TObject*, Integer index, const String& name) {
        if (TCollectionItem* item = list.Items(index))
          WritePersistentIn(chain, *sender, ItemPath(*sender, listPath, name, index), item, true, nullptr);
      },
      DeleteItemValues(), itemName);
  WritePersistentIn(chain, store, path, &list, true, nullptr);
}

}  // namespace

Integer ReadStringList(TSvCustomAppStorage& store, const String& path, TStrings& sl, bool clearFirst,
                       const String& itemName) {
  TObjectChain chain;
  return ReadStringListIn(chain, store, path, sl, clearFirst, itemName);
}

void WriteStringList(TSvCustomAppStorage& store, const String& path, TStrings& sl, const String& itemName) {
  TObjectChain chain;
  WriteStringListIn(chain, store, path, sl, itemName);
}

Integer ReadWideStringList(TSvCustomAppStorage& store, const String& path, TStrings& sl, bool clearFirst,
                           const String& itemName) {
  if (!store.ListStored(path, itemName) && store.StorageOptions()->DefaultIfValueNotExists()) return sl.Count();
  TUpdateScope<TSvCustomAppStorage> storeUpdate(store);
  TUpdateScope<TStrings> listUpdate(sl);
  if (clearFirst) sl.Clear();
  ReadPersistent(store, path, &sl, true, false, nullptr);
  CheckListCount(store, path);
  store.ReadList(
      path, &sl,
      [&sl](TSvCustomAppStorage* sender, const String& listPath, TObject*, Integer index, const String& name) {
        sl.Add(sender->ReadWideString(TSvCustomAppStorage::JoinPaths({listPath, name + IntToStr(index)}), String()));
      },
      itemName);
  return sl.Count();
}

void WriteWideStringList(TSvCustomAppStorage& store, const String& path, TStrings& sl, const String& itemName) {
  TUpdateScope<TSvCustomAppStorage> storeUpdate(store);
  store.WriteList(
      path, &sl, sl.Count(),
      [&sl](TSvCustomAppStorage* sender, const String& listPath, TObject*, Integer index, const String& name) {
        sender->WriteWideString(TSvCustomAppStorage::JoinPaths({listPath, name + IntToStr(index)}), sl.Strings(index));
      },
      DeleteItemValues(), itemName);
  WritePersistent(store, path, &sl, true, nullptr);
}

// ---- Collections ---------------------------------------------------------------------------

Integer ReadCollection(TSvCustomAppStorage& store, const String& path, TCollection& list, bool clearFirst,
                       const String& itemName) {
  TObjectChain chain;
  return ReadCollectionIn(chain, store, path, list, clearFirst, itemName);
}

void WriteCollection(TSvCustomAppStorage& store, const String& path, TCollection& list, const String& itemName) {
  TObjectChain chain;
  WriteCollectionIn(chain, store, path, list, itemName);
}

// ---- Object lists ----------------------------------------------------------------------------

Integer ReadObjectList(TSvCustomAppStorage& store, const String& path, TList& list,
                       const TSvAppStorageObjectListItemCreateEvent& itemCreator, bool clearFirst,
                       const String& itemName) {
  if (!store.ListStored(path, itemName) && store.StorageOptions()->DefaultIfValueNotExists()) return list.Count();
  if (clearFirst) list.Clear();
  TTarget handler = Resolve(store, path + u"\\*");
  TFactoryScope factory(*handler.Store, itemCreator);
  CheckListCount(store, path);
  store.ReadList(
      path, &list,
      [&list](TSvCustomAppStorage* sender, const String& listPath, TObject*, Integer index, const String& name) {
        const String itemPath = ItemPath(*sender, listPath, name, index);
        TPersistent* object = CreateItemObject(*sender, itemPath, index);
        list.Add(object);
        ReadPersistent(*sender, itemPath, object, true, true, nullptr);
      },
      itemName);
  return list.Count();
}

Integer ReadObjectList(TSvCustomAppStorage& store, const String& path, TList& list, const TClassRegistry& classes,
                       bool clearFirst, const String& itemName) {
  return ReadObjectList(store, path, list, ClassNameFactory(classes), clearFirst, itemName);
}

void WriteObjectList(TSvCustomAppStorage& store, const String& path, TList& list, const String& itemName) {
  store.WriteList(
      path, &list, list.Count(),
      [&list](TSvCustomAppStorage* sender, const String& listPath, TObject*, Integer index, const String& name) {
        if (auto* object = static_cast<TPersistent*>(list.Get(index)))
          WritePersistent(*sender, ItemPath(*sender, listPath, name, index), object, true, nullptr);
      },
      DeleteItemValues(), itemName);
}

// ---- Lines with objects ------------------------------------------------------------------------

Integer ReadStringObjectList(TSvCustomAppStorage& store, const String& path, TStrings& sl,
                             const TSvAppStorageObjectListItemCreateEvent& itemCreator, bool clearFirst,
                             const String& itemName) {
  if (!store.ListStored(path, itemName) && store.StorageOptions()->DefaultIfValueNotExists()) return sl.Count();
  TUpdateScope<TStrings> update(sl);
  TTarget target = ResolveList(store, path);
  if (clearFirst) sl.Clear();
  ReadPersistent(*target.Store, target.Path, &sl, true, false, nullptr);
  TFactoryScope factory(*target.Store, itemCreator);
  CheckListCount(*target.Store, target.Path);
  target.Store->ReadList(
      target.Path, &sl,
      [&sl](TSvCustomAppStorage* sender, const String& listPath, TObject*, Integer index, const String& name) {
        const String itemPath = ItemPath(*sender, listPath, name, index);
        const String objectPath = TSvCustomAppStorage::JoinPaths({itemPath, u"Object"});
        TPersistent* object = CreateItemObject(*sender, objectPath, index);
        const String line = sender->ReadString(TSvCustomAppStorage::JoinPaths({itemPath, u"Itemname"}));
        sl.AddObject(line, object);
        ReadPersistent(*sender, objectPath, object, true, true, nullptr);
      },
      itemName);
  return sl.Count();
}

Integer ReadStringObjectList(TSvCustomAppStorage& store, const String& path, TStrings& sl,
                             const TClassRegistry& classes, bool clearFirst, const String& itemName) {
  return ReadStringObjectList(store, path, sl, ClassNameFactory(classes), clearFirst, itemName);
}

void WriteStringObjectList(TSvCustomAppStorage& store, const String& path, TStrings& sl, const String& itemName) {
  TTarget target = ResolveList(store, path);
  target.Store->WriteList(
      target.Path, &sl, sl.Count(),
      [&sl](TSvCustomAppStorage* sender, const String& listPath, TObject*, Integer index, const String& name) {
        const String itemPath = ItemPath(*sender, listPath, name, index);
        sender->WriteString(TSvCustomAppStorage::JoinPaths({itemPath, u"Itemname"}), sl.Strings(index));
        if (TObject* object = sl.Objects(index))
          WritePersistent(*sender, TSvCustomAppStorage::JoinPaths({itemPath, u"Object"}), object, true, nullptr);
      },
      DeleteItemValues(), itemName);
  WritePersistent(store, path, &sl, true, nullptr);
}
