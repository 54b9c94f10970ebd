// Form storage: the form placement with two more kinds of settings, written
// and read in the same sequences below the same folder: listed published
// properties of the form's components ("Component.Property" lines) and named
// values kept as variants.
#pragma once

#include <memory>
#include <vector>

#include "classes/collection.h"
#include "rtl/variant.h"
#include "services/win32/formplacement.h"

class TSvFormStorage;
class TSvStoredValue;
class TSvStoredValues;

using TSvStoredValueEvent = TDelegate<void(TSvStoredValue* Sender, Variant& AValue)>;
const TTypeInfo& DescribeType(TypeTag<TSvStoredValueEvent>);

// The property lines of a form storage, linked to their components.
class TSvFormStorageStringList : public TStringList {
 public:
  explicit TSvFormStorageStringList(TSvFormStorage* formStorage) : FFormStorage(formStorage) {}
  void Assign(const TStrings& source) override;
  void LoadFromStream(TStream& stream, TEncoding* encoding = nullptr) override;

 private:
  TSvFormStorage* FFormStorage;
};

// One named value.
class TSvStoredValue : public TCollectionItem {
  KST_CLASS(TSvStoredValue, TCollectionItem)
 public:
  explicit TSvStoredValue(TCollection* collection) : TCollectionItem(collection) {}

  const String& Name() const { return FName; }
  void SetName(const String& value) { SetDisplayName(value); }
  const Variant& Value() const { return FValue; }
  void SetValue(const Variant& value) { FValue = value; }
  const String& KeyString() const { return FKeyString; }
  void SetKeyString(const String& value) { FKeyString = value; }
  TSvStoredValues* StoredValues() const;

  void Assign(const TPersistent* source) override;
  String DisplayName() const override;
  // ESvcException "String list does not allow duplicates" for a name another item has.
  void SetDisplayName(const String& value) override;
  void Clear() { FValue = Variant(); }
  virtual void Save();
  virtual void Restore();

  TSvStoredValueEvent OnSave;
  TSvStoredValueEvent OnRestore;

 private:
  String FName;
  Variant FValue;
  String FKeyString;
};

class TSvStoredValues : public TOwnedCollection {
  KST_CLASS(TSvStoredValues, TOwnedCollection)
 public:
  explicit TSvStoredValues(TPersistent* owner = nullptr);

  TSvFormPlacement* Storage() const { return FStorage; }
  void SetStorage(TSvFormPlacement* value) { FStorage = value; }
  const String& Path() const { return FPath; }
  void SetPath(const String& value) { FPath = value; }

  // By name without regard to letter case; -1 for none.
  int IndexOf(const String& name) const;
  TSvStoredValue* Items(int index) const { return static_cast<TSvStoredValue*>(TCollection::Items(index)); }
  TSvStoredValue* ItemByName(const String& name) const;
  // Null for a name not listed; writing a name not listed adds it.
  Variant ValueByName(const String& name) const;
  void SetValueByName(const String& name, const Variant& value);
  virtual void SaveValues();
  virtual void RestoreValues();

 private:
  TSvFormPlacement* FStorage = nullptr;
  String FPath;
};

class TSvFormStorage : public TSvFormPlacement {
  KST_CLASS(TSvFormStorage, TSvFormPlacement)
 public:
  explicit TSvFormStorage(TComponent* owner);
  ~TSvFormStorage() override;

  TStrings* StoredProps() const { return FStoredProps.get(); }
  void SetStoredProps(const TStrings* value);
  TSvStoredValues* StoredValues() const { return FStoredValues.get(); }
  void SetStoredValues(const TSvStoredValues* value) { FStoredValues->Assign(value); }
  const String& StoredPropsPath() const { return FStoredPropsPath; }
  void SetStoredPropsPath(const String& value) { FStoredPropsPath = value; }
  const String& StoredValuesPath() const { return FStoredValues->Path(); }
  void SetStoredValuesPath(const String& value) { FStoredValues->SetPath(value); }

  Variant StoredValue(const String& name) const { return FStoredValues->ValueByName(name); }
  void SetStoredValue(const String& name, const Variant& value) { FStoredValues->SetValueByName(name, value); }

  // Drops lines that name no component of the owner and attaches each
  // component to its line.
  void LinkStoredProps();
  // Places a free notification on every component attached to a line.
  void SetNotification();

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void WritePlacement() override;
  void ReadPlacement() override;
  virtual void WriteStoredProps();
  virtual void ReadStoredProps();

 private:
  std::unique_ptr<TSvFormStorageStringList> FStoredProps;
  std::unique_ptr<TSvStoredValues> FStoredValues;
  String FStoredPropsPath;
};

// The published properties of an object's class whose kinds are in the
// filter, sorted by name.
class TSvPropInfoList {
 public:
  TSvPropInfoList(const TObject* object, TTypeKinds filter);
  int Count() const { return static_cast<int>(FList.size()); }
  const TPropInfo* Items(int index) const { return FList.at(static_cast<size_t>(index)); }
  // By name without regard to letter case; nullptr for none.
  const TPropInfo* Find(const String& name) const;
  bool Contains(const TPropInfo* prop) const;
  void Delete(int index) { FList.erase(FList.begin() + index); }
  // Keeps only the entries the other list contains.
  void Intersect(const TSvPropInfoList& list);

 private:
  std::vector<const TPropInfo*> FList;
};

// Writes and reads listed published properties through a store.
class TSvPropertyStorage {
 public:
  virtual ~TSvPropertyStorage() = default;

  TObject* AObject() const { return FObject; }
  void SetAObject(TObject* value) { FObject = value; }
  const String& Prefix() const { return FPrefix; }
  void SetPrefix(const String& value) { FPrefix = value; }
  TSvCustomAppStorage* AppStorage() const { return FAppStorage; }
  void SetAppStorage(TSvCustomAppStorage* value) { FAppStorage = value; }
  const String& AppStoragePath() const { return FAppStoragePath; }
  void SetAppStoragePath(const String& value) { FAppStoragePath = value; }

  // Every "Component.Property" line of the list, for the components of the root.
  void StoreObjectsProps(TComponent* root, TStrings& storedList);
  void LoadObjectsProps(TComponent* root, TStrings& storedList);
  // The properties the lines name, of AObject, with the current prefix.
  void StoreProperties(const TStrings& propList);
  void LoadProperties(const TStrings& propList);
  void StoreAnyProperty(const TPropInfo* prop);
  void LoadAnyProperty(const TPropInfo* prop);

 protected:
  virtual String ReadString(const String& path, const String& item, const String& defaultValue);
  virtual void WriteString(const String& path, const String& item, const String& value);
  virtual void EraseSection(const String& path);
  virtual String GetItemName(const String& propName) const { return FPrefix + propName; }
  virtual std::unique_ptr<TSvPropertyStorage> CreateStorage() const;

 private:
  template <class Action>
  void ForEachListedProperty(TComponent* root, TStrings& storedList, Action action);
  String ValuePath(const TPropInfo* prop, bool reading);

  TObject* FObject = nullptr;
  TComponent* FOwner = nullptr;
  String FPrefix;
  TSvCustomAppStorage* FAppStorage = nullptr;
  String FAppStoragePath;
};

// Makes the settings components known by name for form streaming, with the
// types of their published properties.
void RegisterFormStorageClasses(TClassRegistry& registry);
