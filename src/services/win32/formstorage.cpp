#include "services/win32/formstorage.h"

#include <map>

#include "classes/propaccess.h"
#include "classes/reflection.h"
#include "rtl/sysstr.h"
#include "services/appstorageobjects.h"
#include "services/mime.h"
#include "services/registrystorage.h"
#include "services/utilbase.h"
#include "services/win32/mrumanager.h"

KST_CLASS_IMPL(TSvStoredValue, "SvFormPlacement")
KST_CLASS_IMPL(TSvStoredValues, "SvFormPlacement")
KST_CLASS_IMPL(TSvFormStorage, "SvFormPlacement")

const TTypeInfo& DescribeType(TypeTag<TSvStoredValueEvent>) {
  static const TMethodTypeInfo t(
      u"TSvStoredValueEvent", u"SvFormPlacement", mkProcedure,
      {TMethodParam{0, u"Sender", u"TSvStoredValue"}, TMethodParam{ParamFlagBit(pfVar), u"AValue", u"Variant"}});
  return t;
}

namespace {

// "Component.Property" split at the first dot, both parts trimmed; false
// when there is no dot or a part is empty.
bool SplitPropLine(const String& line, String& componentName, String& propertyName) {
  const size_t dot = line.find(u'.');
  if (dot == String::npos) return false;
  componentName = Trim(StringView(line).substr(0, dot));
  propertyName = Trim(StringView(line).substr(dot + 1));
  return !componentName.empty() && !propertyName.empty();
}

// Rewrites each line with its component's current name; drops the lines
// that do not split or have no component.
void RefreshPropLines(TStrings& lines) {
  for (Integer i = lines.Count() - 1; i >= 0; --i) {
    String componentName, propertyName;
    auto* component = dynamic_cast<TComponent*>(lines.Objects(i));
    if (SplitPropLine(lines[i], componentName, propertyName) && component != nullptr)
      lines.SetStrings(i, component->Name() + u"." + propertyName);
    else
      lines.Delete(i);
  }
}

constexpr TTypeKinds kStoredKinds = tkAny & ~TypeKindBit(tkUnknown);

bool IsFloatVariant(TVarType type) {
  return type == varSingle || type == varDouble || type == varCurrency;
}

}  // namespace

// ---- The property lines ----

void TSvFormStorageStringList::Assign(const TStrings& source) {
  TStringList::Assign(source);
  if (!FFormStorage->ComponentState().Contains(csLoading)) FFormStorage->LinkStoredProps();
}

void TSvFormStorageStringList::LoadFromStream(TStream& stream, TEncoding* encoding) {
  TStringList::LoadFromStream(stream, encoding);
  if (!FFormStorage->ComponentState().Contains(csLoading)) FFormStorage->LinkStoredProps();
}

// ---- Stored values ----

void TSvStoredValue::Describe(TClassBuilder<TSvStoredValue>& c) {
  using V = TSvStoredValue;
  c.Property(u"Name", &V::Name, &V::SetName);
  c.Property(u"Value", &V::Value, &V::SetValue).StoredWhen([](const V& v) { return !v.Value().IsEmpty(); });
  c.Property(u"KeyString", &V::KeyString, &V::SetKeyString);
  c.Property(u"OnSave", &V::OnSave);
  c.Property(u"OnRestore", &V::OnRestore);
}

TSvStoredValues* TSvStoredValue::StoredValues() const {
  return static_cast<TSvStoredValues*>(Collection());
}

void TSvStoredValue::Assign(const TPersistent* source) {
  if (const auto* other = dynamic_cast<const TSvStoredValue*>(source)) {
    if (other->FValue.IsEmpty())
      Clear();
    else
      FValue = other->FValue;
    SetDisplayName(other->FName);
    FKeyString = other->FKeyString;
    return;
  }
  TCollectionItem::Assign(source);
}

String TSvStoredValue::DisplayName() const {
  return FName.empty() ? TCollectionItem::DisplayName() : FName;
}

void TSvStoredValue::SetDisplayName(const String& value) {
  if (!value.empty() && AnsiCompareText(value, FName) != 0 && StoredValues() != nullptr &&
      StoredValues()->IndexOf(value) >= 0)
    throw ESvcException(u"String list does not allow duplicates");
  FName = value;
  TCollectionItem::SetDisplayName(value);
}

namespace {
TSvFormPlacement* StorageOf(const TSvStoredValue& item, String& path) {
  TSvStoredValues* values = item.StoredValues();
  TSvFormPlacement* storage = values != nullptr ? values->Storage() : nullptr;
  if (storage != nullptr) path = storage->ConcatPaths({values->Path(), item.Name()});
  return storage;
}
}  // namespace

void TSvStoredValue::Save() {
  Variant saved = FValue;
  OnSave(this, saved);
  String path;
  TSvFormPlacement* storage = StorageOf(*this, path);
  if (storage == nullptr) return;
  const TVarType type = saved.VarType();
  if (!FKeyString.empty())
    storage->WriteString(path, XorTextEncode(FKeyString, saved.AsString()));
  else if (VariantIsInteger(saved))
    storage->WriteInteger(path, saved.AsInteger());
  else if (IsFloatVariant(type))
    storage->WriteFloat(path, saved.AsDouble());
  else if (type == varDate)
    storage->WriteDateTime(path, saved.AsDate());
  else if (type == varBoolean)
    storage->WriteBoolean(path, saved.AsBoolean());
  else
    storage->WriteString(path, saved.AsString());
}

void TSvStoredValue::Restore() {
  String path;
  TSvFormPlacement* storage = StorageOf(*this, path);
  if (storage == nullptr) return;
  const TVarType type = FValue.VarType();
  Variant restored = FValue;
  // A stored value that cannot be read costs only itself: it keeps its
  // current value, and the values and handlers after it still run.
  try {
    if (!FKeyString.empty())
      restored = XorTextDecode(FKeyString, storage->ReadString(path, XorTextEncode(FKeyString, FValue.AsString())));
    else if (VariantIsInteger(FValue))
      restored = storage->ReadInteger(path, FValue.AsInteger());
    else if (IsFloatVariant(type))
      restored = storage->ReadFloat(path, FValue.AsDouble());
    else if (type == varDate)
      restored = Variant::FromDate(storage->ReadDateTime(path, FValue.AsDate()));
    else if (type == varBoolean)
      restored = storage->ReadBoolean(path, FValue.AsBoolean());
    else
      restored = storage->ReadString(path, FValue.AsString());
  } catch (const Exception&) {
    restored = FValue;
  }
  OnRestore(this, restored);
  FValue = restored;
}

void TSvStoredValues::Describe(TClassBuilder<TSvStoredValues>&) {}

TSvStoredValues::TSvStoredValues(TPersistent* owner) : TOwnedCollection(owner, TSvStoredValue::StaticClass()) {}

int TSvStoredValues::IndexOf(const String& name) const {
  for (int i = 0; i < Count(); ++i)
    if (AnsiCompareText(Items(i)->Name(), name) == 0) return i;
  return -1;
}

TSvStoredValue* TSvStoredValues::ItemByName(const String& name) const {
  const int index = IndexOf(name);
  return index >= 0 ? Items(index) : nullptr;
}

Variant TSvStoredValues::ValueByName(const String& name) const {
  const TSvStoredValue* item = ItemByName(name);
  return item != nullptr ? item->Value() : Null();
}

void TSvStoredValues::SetValueByName(const String& name, const Variant& value) {
  TSvStoredValue* item = ItemByName(name);
  if (item == nullptr) {
    item = static_cast<TSvStoredValue*>(Add());
    item->SetName(name);
  }
  item->SetValue(value);
}

void TSvStoredValues::SaveValues() {
  for (int i = 0; i < Count(); ++i) Items(i)->Save();
}

void TSvStoredValues::RestoreValues() {
  for (int i = 0; i < Count(); ++i) Items(i)->Restore();
}

// ---- The component ----

void TSvFormStorage::Describe(TClassBuilder<TSvFormStorage>& c) {
  using S = TSvFormStorage;
  c.Property(u"StoredProps", &S::StoredProps, &S::SetStoredProps);
  c.Property(u"StoredValues", &S::StoredValues, &S::SetStoredValues);
  c.Property(u"StoredPropsPath", &S::StoredPropsPath, &S::SetStoredPropsPath);
  c.Property(u"StoredValuesPath", &S::StoredValuesPath, &S::SetStoredValuesPath);
}

TSvFormStorage::TSvFormStorage(TComponent* owner)
    : TSvFormPlacement(owner),
      FStoredProps(std::make_unique<TSvFormStorageStringList>(this)),
      FStoredValues(std::make_unique<TSvStoredValues>(this)) {
  FStoredValues->SetStorage(this);
}

TSvFormStorage::~TSvFormStorage() = default;

void TSvFormStorage::SetStoredProps(const TStrings* value) {
  if (value != nullptr)
    FStoredProps->Assign(*value);
  else
    FStoredProps->Clear();
  SetNotification();
}

void TSvFormStorage::LinkStoredProps() {
  TComponent* owner = Owner();
  for (Integer i = FStoredProps->Count() - 1; i >= 0; --i) {
    String componentName, propertyName;
    TComponent* component = nullptr;
    if (SplitPropLine((*FStoredProps)[i], componentName, propertyName) && owner != nullptr)
      component = owner->FindComponent(componentName);
    if (component == nullptr) {
      FStoredProps->Delete(i);
      continue;
    }
    FStoredProps->SetObjects(i, component);
  }
}

void TSvFormStorage::SetNotification() {
  for (Integer i = 0; i < FStoredProps->Count(); ++i)
    if (auto* component = dynamic_cast<TComponent*>(FStoredProps->Objects(i))) component->FreeNotification(this);
}

void TSvFormStorage::Loaded() {
  TSvFormPlacement::Loaded();
  if (!IsDesigning()) {
    LinkStoredProps();
    SetNotification();
  }
}

void TSvFormStorage::Notification(TComponent* component, TOperation operation) {
  TSvFormPlacement::Notification(component, operation);
  if (operation != opRemove || component == nullptr || ComponentState().Contains(csDestroying) ||
      FStoredProps == nullptr)
    return;
  for (Integer i = FStoredProps->Count() - 1; i >= 0; --i)
    if (FStoredProps->Objects(i) == component) FStoredProps->Delete(i);
}

void TSvFormStorage::WritePlacement() {
  // A window closed before its settings were ever read leaves them alone.
  if (!Restored()) return;
  TSvFormPlacement::WritePlacement();
  if (auto* aware = dynamic_cast<IStorageAware*>(Owner()); aware != nullptr && AppStorage() != nullptr)
    aware->WriteToAppStorage(*AppStorage(), AppStoragePath());
  WriteStoredProps();
  FStoredValues->SaveValues();
}

void TSvFormStorage::ReadPlacement() {
  TSvFormPlacement::ReadPlacement();
  SetRestored();
  if (auto* aware = dynamic_cast<IStorageAware*>(Owner()); aware != nullptr && AppStorage() != nullptr)
    aware->ReadFromAppStorage(*AppStorage(), AppStoragePath());
  ReadStoredProps();
  FStoredValues->RestoreValues();
}

void TSvFormStorage::WriteStoredProps() {
  TSvPropertyStorage storage;
  storage.SetAppStorage(AppStorage());
  storage.SetAppStoragePath(ConcatPaths({AppStoragePath(), FStoredPropsPath}));
  storage.StoreObjectsProps(Owner(), *FStoredProps);
}

void TSvFormStorage::ReadStoredProps() {
  try {
    TSvPropertyStorage storage;
    storage.SetAppStorage(AppStorage());
    storage.SetAppStoragePath(ConcatPaths({AppStoragePath(), FStoredPropsPath}));
    storage.LoadObjectsProps(Owner(), *FStoredProps);
  } catch (const Exception&) {
    // Settings that cannot be read leave the properties as the form has them.
  }
}

// ---- Property lists ----

TSvPropInfoList::TSvPropInfoList(const TObject* object, TTypeKinds filter) {
  if (object != nullptr) FList = GetPropList(ClassOf(*object), filter, true);
}

const TPropInfo* TSvPropInfoList::Find(const String& name) const {
  for (const TPropInfo* prop : FList)
    if (SameText(prop->Name(), name)) return prop;
  return nullptr;
}

bool TSvPropInfoList::Contains(const TPropInfo* prop) const {
  for (const TPropInfo* entry : FList)
    if (&entry->PropType() == &prop->PropType() && SameText(entry->Name(), prop->Name())) return true;
  return false;
}

void TSvPropInfoList::Intersect(const TSvPropInfoList& list) {
  for (int i = Count() - 1; i >= 0; --i)
    if (!list.Contains(FList[static_cast<size_t>(i)])) Delete(i);
}

// ---- Property storage ----

String TSvPropertyStorage::ReadString(const String& path, const String& item, const String& defaultValue) {
  if (FAppStorage == nullptr) return defaultValue;
  return FAppStorage->ReadString(
      TSvCustomAppStorage::ConcatPaths({path, ::TranslatePropertyName(*FAppStorage, FObject, item, true)}),
      defaultValue);
}

void TSvPropertyStorage::WriteString(const String& path, const String& item, const String& value) {
  if (FAppStorage != nullptr) FAppStorage->WriteString(TSvCustomAppStorage::ConcatPaths({path, item}), value);
}

void TSvPropertyStorage::EraseSection(const String& path) {
  if (FAppStorage != nullptr) FAppStorage->DeleteSubTree(path);
}

std::unique_ptr<TSvPropertyStorage> TSvPropertyStorage::CreateStorage() const {
  auto storage = std::make_unique<TSvPropertyStorage>();
  storage->FAppStorage = FAppStorage;
  storage->FAppStoragePath = FAppStoragePath;
  return storage;
}

String TSvPropertyStorage::ValuePath(const TPropInfo* prop, bool reading) {
  return TSvCustomAppStorage::ConcatPaths(
      {FAppStoragePath, ::TranslatePropertyName(*FAppStorage, FObject, GetItemName(prop->Name()), reading)});
}

template <class Action>
void TSvPropertyStorage::ForEachListedProperty(TComponent* root, TStrings& storedList, Action action) {
  std::map<String, TSvPropInfoList> properties;
  try {
    RefreshPropLines(storedList);
    for (Integer i = 0; i < storedList.Count(); ++i) {
      auto* component = dynamic_cast<TComponent*>(storedList.Objects(i));
      if (component != nullptr && !properties.contains(component->Name()))
        properties.emplace(component->Name(), TSvPropInfoList(component, kStoredKinds));
    }
  } catch (const Exception&) {
    return;
  }
  FOwner = root;
  try {
    for (Integer i = 0; i < storedList.Count(); ++i) {
      String componentName, propertyName;
      if (!SplitPropLine(storedList[i], componentName, propertyName)) continue;
      auto* component = dynamic_cast<TComponent*>(storedList.Objects(i));
      FObject = component;
      FPrefix = componentName;
      const auto found = component != nullptr ? properties.find(component->Name()) : properties.end();
      if (found == properties.end()) continue;
      FPrefix += u"_";
      action(found->second.Find(propertyName));
    }
  } catch (...) {
    FOwner = nullptr;
    throw;
  }
  FOwner = nullptr;
}

void TSvPropertyStorage::StoreObjectsProps(TComponent* root, TStrings& storedList) {
  ForEachListedProperty(root, storedList, [&](const TPropInfo* prop) { StoreAnyProperty(prop); });
}

void TSvPropertyStorage::LoadObjectsProps(TComponent* root, TStrings& storedList) {
  ForEachListedProperty(root, storedList, [&](const TPropInfo* prop) {
    try {
      LoadAnyProperty(prop);
    } catch (const Exception&) {
      // One value that cannot be read does not stop the others.
    }
  });
}

void TSvPropertyStorage::StoreProperties(const TStrings& propList) {
  if (FObject == nullptr) return;
  const TSvPropInfoList properties(FObject, kStoredKinds);
  for (Integer i = 0; i < propList.Count(); ++i) StoreAnyProperty(properties.Find(propList[i]));
}

void TSvPropertyStorage::LoadProperties(const TStrings& propList) {
  if (FObject == nullptr) return;
  const TSvPropInfoList properties(FObject, kStoredKinds);
  for (Integer i = 0; i < propList.Count(); ++i) {
    try {
      LoadAnyProperty(properties.Find(propList[i]));
    } catch (const Exception&) {
      // As above: the next property follows.
    }
  }
}

namespace {

// A property whose type is a component class, or that holds a component now.
bool IsComponentReference(TObject& object, const TPropInfo& prop) {
  if (prop.Kind() != tkClass) return false;
  if (dynamic_cast<TComponent*>(GetObjectProp(object, prop)) != nullptr) return true;
  const auto* type = dynamic_cast<const TClassTypeInfo*>(&prop.PropType());
  return type != nullptr && GetObjectProp(object, prop) == nullptr &&
         type->ClassInfo().InheritsFrom(TComponent::StaticClass());
}

}  // namespace

void TSvPropertyStorage::StoreAnyProperty(const TPropInfo* prop) {
  if (prop == nullptr || !prop->IsWritable() || FAppStorage == nullptr || FObject == nullptr) return;
  const String path = ValuePath(prop, false);
  if (IsComponentReference(*FObject, *prop)) {
    const auto* component = dynamic_cast<TComponent*>(GetObjectProp(*FObject, *prop));
    FAppStorage->WriteString(path, component ? component->Name() : String());
    return;
  }
  WriteProperty(*FAppStorage, path, FObject, prop->Name(), true, nullptr);
}

void TSvPropertyStorage::LoadAnyProperty(const TPropInfo* prop) {
  if (prop == nullptr || !prop->IsWritable() || FAppStorage == nullptr || FObject == nullptr) return;
  const String path = ValuePath(prop, true);
  // A reference to a component is stored by name, also when it is nil now.
  if (IsComponentReference(*FObject, *prop)) {
    if (!FAppStorage->ValueStored(path)) return;
    const String name = FAppStorage->ReadString(path, String());
    if (name.empty()) return;
    for (TComponent* owner = FOwner; owner != nullptr; owner = owner->Owner()) {
      if (TComponent* match = owner->FindComponent(name)) {
        SetObjectProp(*FObject, *prop, match);
        return;
      }
    }
    return;
  }
  // A folder holding only a list (a string list, a collection) is what such
  // a property is stored as.
  if (FAppStorage->ValueStored(path) || FAppStorage->IsFolder(path, false))
    ReadProperty(*FAppStorage, path, FObject, prop->Name(), true, true, nullptr);
}

// ---- Registration ----

void RegisterFormStorageClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TSvFormPlacement::StaticClass(), &TSvFormStorage::StaticClass(),
                            &TSvMRUManager::StaticClass(), &TSvWinMinMaxInfo::StaticClass(),
                            &TSvStoredValues::StaticClass(), &TSvStoredValue::StaticClass(),
                            &TSvIniLink::StaticClass()});
  for (const TTypeInfo* type :
       {&DescribeType(TypeTag<TPlacementOption>{}), &DescribeType(TypeTag<TPlacementOptions>{}),
        &DescribeType(TypeTag<TSvFormPlacementVersionCheck>{}), &DescribeType(TypeTag<TSvStoredValueEvent>{}),
        &DescribeType(TypeTag<TRecentMode>{}), &DescribeType(TypeTag<TMenuLocation>{}),
        &DescribeType(TypeTag<TAccelDelimiter>{}), &DescribeType(TypeTag<TDuplicates>{}),
        &DescribeType(TypeTag<TClickMenuEvent>{}), &DescribeType(TypeTag<TGetItemEvent>{}),
        &DescribeType(TypeTag<TReadItemEvent>{}), &DescribeType(TypeTag<TWriteItemEvent>{}),
        &DescribeType(TypeTag<TGetItemInfoEvent>{}), &DescribeType(TypeTag<TGetItemInfoExEvent>{})})
    registry.RegisterType(*type);
}
