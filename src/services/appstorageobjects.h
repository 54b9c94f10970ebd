// What the settings store keeps beyond single scalars: enumerations and typed
// integers by name, sets as a folder of Booleans or as one text, published
// properties of any kind, whole objects walked through their published
// properties, string lists, collections, object lists and string lists with
// attached objects, and the pluggable property engines that may take over
// object-valued properties.
//
// These operations work through the store's public interface, so they take
// the store as their first argument: ReadSet(store, path, ...) is the store's
// ReadSet. Like the store's own typed operations they resolve the path
// first (sub-storages included) and then work on the store that handles it;
// writes do nothing on a read-only target.
//
// Ordinal and set values are passed by address, as untyped values of the
// type's size: an ordinal of its OrdType's width, a set in its storage
// layout (TSetTypeInfo::StorageSize() bytes).
#pragma once

#include <memory>
#include <typeindex>
#include <vector>

#include "classes/reflection.h"
#include "rtl/list.h"
#include "services/appstorage.h"

class TClassRegistry;

inline constexpr char16_t kSvInvalidType[] = u"Invalid type";
inline constexpr char16_t kSvUnknownSetBaseType[] = u"Unknown base type for given set";
inline constexpr char16_t kSvTooManyListItems[] = u"List at '%s' has more than %d items";

// A stored list count above this is refused ("List at '%s' has more than %d
// items") instead of reading that many items.
inline constexpr Integer kSvMaxListItems = 1 << 20;

// ---- Ordinals and element names ----------------------------------------------

// The ordinal at value, read with the kind's width and sign.
Int64 OrdinalOf(const void* value, TOrdType kind);
// Copies 1, 2 or 4 bytes as the kind says.
void CopyOrdinal(const void* source, void* target, TOrdType kind);
// The value names of the members of sets stored as folders: "Char_A" for
// "!" to "z" except the lower-case letters, else "Char#" and the code (value
// names ignore case); "Int_" and the number.
String GetCharName(Char ch);
String GetIntName(Integer value);

// ---- Objects that store themselves --------------------------------------------

// An object that takes part in its own storage: its read or write runs first.
// Without IStoragePublishedProps as well, its published properties are then
// left alone.
class IStorageAware {
 public:
  static constexpr TGUID IID = MakeGUID(0x5F2A8C6D, 0xE193, 0x47B0, {0xB5, 0xD2, 0x0A, 0x6E, 0x94, 0xC3, 0x1F, 0x78});
  virtual ~IStorageAware() = default;
  virtual void ReadFromAppStorage(TSvCustomAppStorage& store, const String& path) = 0;
  virtual void WriteToAppStorage(TSvCustomAppStorage& store, const String& path) = 0;
};

// With IStorageAware: the published properties are stored as well.
class IStoragePublishedProps {
 public:
  static constexpr TGUID IID = MakeGUID(0xD83B57E0, 0x62AF, 0x4C19, {0x9F, 0x4D, 0x7B, 0x21, 0xE0, 0xC6, 0xA8, 0x53});
  virtual ~IStoragePublishedProps() = default;
};

// ---- Property engines ------------------------------------------------------------

// Takes over object-valued properties it supports. aObject owns the property,
// aProperty is the object the property holds.
class TSvAppStoragePropertyBaseEngine {
 public:
  virtual ~TSvAppStoragePropertyBaseEngine() = default;
  virtual bool Supports(TObject* aObject, TObject* aProperty);
  virtual void ReadProperty(TSvCustomAppStorage& storage, const String& path, TObject* aObject, TObject* aProperty,
                            bool recursive, bool clearFirst, const TStrings* ignoreProperties);
  virtual void WriteProperty(TSvCustomAppStorage& storage, const String& path, TObject* aObject, TObject* aProperty,
                             bool recursive, const TStrings* ignoreProperties);
};

// The engines by class, in registration order; owns them.
class TSvAppStoragePropertyEngineList {
 public:
  TSvAppStoragePropertyEngineList() = default;
  TSvAppStoragePropertyEngineList(const TSvAppStoragePropertyEngineList&) = delete;
  TSvAppStoragePropertyEngineList& operator=(const TSvAppStoragePropertyEngineList&) = delete;
  // Frees the engines from the last to the first.
  ~TSvAppStoragePropertyEngineList();

  template <class Engine>
  void RegisterEngine() {
    RegisterEngine(typeid(Engine), std::make_unique<Engine>());
  }
  // Frees and removes the first engine of exactly that class.
  template <class Engine>
  void UnregisterEngine() {
    UnregisterEngine(typeid(Engine));
  }
  void RegisterEngine(std::type_index engineClass, std::unique_ptr<TSvAppStoragePropertyBaseEngine> engine);
  void UnregisterEngine(std::type_index engineClass);
  // The first engine that supports the pair, or nullptr.
  TSvAppStoragePropertyBaseEngine* GetEngine(TObject* aObject, TObject* aProperty) const;
  // Hand the property to its engine; false when none takes it.
  bool ReadProperty(TSvCustomAppStorage& storage, const String& path, TObject* aObject, TObject* aProperty,
                    bool recursive, bool clearFirst, const TStrings* ignoreProperties) const;
  bool WriteProperty(TSvCustomAppStorage& storage, const String& path, TObject* aObject, TObject* aProperty,
                     bool recursive, const TStrings* ignoreProperties) const;
  int Count() const { return static_cast<int>(FEngines.size()); }

 private:
  struct Entry {
    std::type_index Class;
    std::unique_ptr<TSvAppStoragePropertyBaseEngine> Engine;
  };
  std::vector<Entry> FEngines;
};

// The program's engine list, made on first use; nullptr once released.
TSvAppStoragePropertyEngineList* PropertyEngineList();
// Frees the list for good (program end).
void ReleasePropertyEngineList();

// ---- Enumerations and sets ------------------------------------------------------

// Enumerations by name (EnumerationAsString), integers of a type with
// identifiers by identifier (TypedIntegerAsString), characters and other
// integers as integers, Boolean-like types through the Boolean operations.
// A stored number outside the type's range reads as the default. Other types
// raise ESvcAppStorageError "Invalid type".
void ReadEnumeration(TSvCustomAppStorage& store, const String& path, const TTypeInfo& typeInfo,
                     const void* defaultValue, void* value);
void WriteEnumeration(TSvCustomAppStorage& store, const String& path, const TTypeInfo& typeInfo, const void* value);

// A folder with one Boolean per possible member, or with SetAsString the text
// "[a, c]". Either form reads back, a folder winning over a text. A member
// type other than integers, characters and enumerations raises "Unknown base
// type for given set".
void ReadSet(TSvCustomAppStorage& store, const String& path, const TTypeInfo& typeInfo, const void* defaultValue,
             void* value);
void WriteSet(TSvCustomAppStorage& store, const String& path, const TTypeInfo& typeInfo, const void* value);

// ---- Properties and whole objects ---------------------------------------------

// One published property at path. Without StoreDefaultValues a value equal to
// its declared default (0 or empty for kinds without one) is not written. An
// object-valued property goes to an engine (recursive only), else a string
// list is written as a list, and with recursive a collection as a collection
// and any other persistent object as a folder of its own properties. An
// object met again below itself is not followed a second time.
void ReadProperty(TSvCustomAppStorage& store, const String& path, TObject* persObj, const String& propName,
                  bool recursive, bool clearFirst, const TStrings* ignoreProperties);
void WriteProperty(TSvCustomAppStorage& store, const String& path, TObject* persObj, const String& propName,
                   bool recursive, const TStrings* ignoreProperties);
// Every published property of the object, each at path\<translated name>,
// except those whose (untranslated) names ignoreProperties holds.
void ReadPersistent(TSvCustomAppStorage& store, const String& path, TObject* persObj, bool recursive, bool clearFirst,
                    const TStrings* ignoreProperties);
void WritePersistent(TSvCustomAppStorage& store, const String& path, TObject* persObj, bool recursive,
                     const TStrings* ignoreProperties);
// The name as the store's OnTranslatePropertyName makes it.
String TranslatePropertyName(TSvCustomAppStorage& store, TObject* instance, const String& name, bool reading);

// ---- Lists ---------------------------------------------------------------------------
//
// A list at path is a Count value and one entry per item (the store's list
// layout). Reads return the number of items now in the list object.

// Items as string values; with StoreStringListAsSingleString the whole text
// as one value. A single text value at path reads as the list's lines.
Integer ReadStringList(TSvCustomAppStorage& store, const String& path, TStrings& sl, bool clearFirst = true,
                       const String& itemName = u"Item");
void WriteStringList(TSvCustomAppStorage& store, const String& path, TStrings& sl, const String& itemName = u"Item");
// As string lists through the wide-string operations, the items always named
// itemName followed by the index.
Integer ReadWideStringList(TSvCustomAppStorage& store, const String& path, TStrings& sl, bool clearFirst = true,
                           const String& itemName = u"Item");
void WriteWideStringList(TSvCustomAppStorage& store, const String& path, TStrings& sl,
                         const String& itemName = u"Item");
// Each item a folder of its published properties.
Integer ReadCollection(TSvCustomAppStorage& store, const String& path, TCollection& list, bool clearFirst = true,
                       const String& itemName = u"Item");
void WriteCollection(TSvCustomAppStorage& store, const String& path, TCollection& list,
                     const String& itemName = u"Item");
// Lists of TPersistent pointers, each item a folder of its object's published
// properties; a null entry writes nothing but counts. Reading appends the
// objects that itemCreator makes (the caller owns them). The form with a
// class registry makes each object from the class registered under the name
// in the item's "Classname" value, which the caller writes itself; an empty
// or unknown name gives a null entry.
Integer ReadObjectList(TSvCustomAppStorage& store, const String& path, TList& list,
                       const TSvAppStorageObjectListItemCreateEvent& itemCreator, bool clearFirst = true,
                       const String& itemName = u"Item");
Integer ReadObjectList(TSvCustomAppStorage& store, const String& path, TList& list, const TClassRegistry& classes,
                       bool clearFirst = true, const String& itemName = u"Item");
void WriteObjectList(TSvCustomAppStorage& store, const String& path, TList& list, const String& itemName = u"Item");
// Lines with attached objects: each item a folder holding the line as
// "Itemname" and the object below "Object".
Integer ReadStringObjectList(TSvCustomAppStorage& store, const String& path, TStrings& sl,
                             const TSvAppStorageObjectListItemCreateEvent& itemCreator, bool clearFirst = true,
                             const String& itemName = u"Item");
Integer ReadStringObjectList(TSvCustomAppStorage& store, const String& path, TStrings& sl,
                             const TClassRegistry& classes, bool clearFirst = true, const String& itemName = u"Item");
void WriteStringObjectList(TSvCustomAppStorage& store, const String& path, TStrings& sl,
                           const String& itemName = u"Item");
