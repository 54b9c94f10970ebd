#include "services/appstorage.h"

#include <algorithm>
#include <cstdint>

#include "rtl/codepage.h"
#include "rtl/floattext.h"
#include "rtl/format.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"
#include "rtl/updatescope.h"
#include "services/mime.h"

KST_CLASS_IMPL(TSvCustomAppStorageOptions, "SvAppStorage")
KST_CLASS_IMPL(TSvAppStorageOptions, "SvAppStorage")
KST_CLASS_IMPL(TSvAppSubStorage, "SvAppStorage")
KST_CLASS_IMPL(TSvAppSubStorages, "SvAppStorage")
KST_CLASS_IMPL(TSvCustomAppStorage, "SvAppStorage")

namespace {

bool IsDotsOnly(StringView segment) {
  return !segment.empty() && segment.find_first_not_of(u'.') == StringView::npos;
}

// The text before the first comma, trimmed.
String FirstListText(const String& list) {
  return Trim(StringView(list).substr(0, list.find(u',')));
}

TObject* FlagsAsObject(unsigned flags) {
  return reinterpret_cast<TObject*>(static_cast<std::uintptr_t>(flags));
}

// Adds the entry with the flag, or adds the flag to the entry already listed
// (compared exactly).
void AddStoredEntry(TStrings& strings, const String& entry, unsigned flag) {
  for (Integer i = 0; i < strings.Count(); ++i) {
    if (strings[i] == entry) {
      strings.SetObjects(i, FlagsAsObject(StoredValueFlags(strings, i) | flag));
      return;
    }
  }
  strings.AddObject(entry, FlagsAsObject(flag));
}

}  // namespace

unsigned StoredValueFlags(const TStrings& strings, Integer index) {
  return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(strings.Objects(index)));
}

const TTypeInfo& DescribeType(TypeTag<TSvAppStoragePropTranslateEvent>) {
  static const TMethodTypeInfo type(u"TSvAppStoragePropTranslateEvent", u"SvAppStorage", mkProcedure,
                                    {{0, u"Sender", u"TSvCustomAppStorage"},
                                     {0, u"Instance", u"TPersistent"},
                                     {ParamFlagBit(pfVar), u"Name", u"string"},
                                     {ParamFlagBit(pfConst), u"Reading", u"Boolean"}});
  return type;
}

const TTypeInfo& DescribeType(TypeTag<TSvAppStorageCryptEvent>) {
  static const TMethodTypeInfo type(u"TSvAppStorageCryptEvent", u"SvAppStorage", mkProcedure,
                                    {{ParamFlagBit(pfVar), u"Value", u"string"}});
  return type;
}

const TTypeInfo& DescribeType(TypeTag<TSvAppStorageErrorEvent>) {
  static const TMethodTypeInfo type(u"TSvAppStorageErrorEvent", u"SvAppStorage", mkProcedure,
                                    {{0, u"Sender", u"TObject"}, {ParamFlagBit(pfConst), u"Value", u"string"}});
  return type;
}

// ---- Options ------------------------------------------------------------------

void TSvCustomAppStorageOptions::Describe(TClassBuilder<TSvCustomAppStorageOptions>&) {}

void TSvAppStorageOptions::Describe(TClassBuilder<TSvAppStorageOptions>& c) {
  using O = TSvCustomAppStorageOptions;
  c.Property(u"BooleanStringTrueValues", &O::BooleanStringTrueValues, &O::SetBooleanStringTrueValues);
  c.Property(u"BooleanStringFalseValues", &O::BooleanStringFalseValues, &O::SetBooleanStringFalseValues);
  c.Property(u"BooleanAsString", &O::BooleanAsString, &O::SetBooleanAsString).Default(1);
  c.Property(u"EnumerationAsString", &O::EnumerationAsString, &O::SetEnumerationAsString).Default(1);
  c.Property(u"TypedIntegerAsString", &O::TypedIntegerAsString, &O::SetTypedIntegerAsString).Default(1);
  c.Property(u"SetAsString", &O::SetAsString, &O::SetSetAsString).Default(0);
  c.Property(u"DateTimeAsString", &O::DateTimeAsString, &O::SetDateTimeAsString).Default(1);
  c.Property(u"FloatAsString", &O::FloatAsString, &O::SetFloatAsString).Default(0);
  c.Property(u"DefaultIfReadConvertError", &O::DefaultIfReadConvertError, &O::SetDefaultIfReadConvertError).Default(0);
  c.Property(u"DefaultIfValueNotExists", &O::DefaultIfValueNotExists, &O::SetDefaultIfValueNotExists).Default(1);
  c.Property(u"StoreDefaultValues", &O::StoreDefaultValues, &O::SetStoreDefaultValues).Default(1);
  c.Property(u"UseOldItemNameFormat", &O::UseOldItemNameFormat, &O::SetUseOldItemNameFormat).Default(1);
  c.Property(u"UseTranslateStringEngineDateTimeFormats", &O::UseTranslateStringEngineDateTimeFormats,
             &O::SetUseTranslateStringEngineDateTimeFormats)
      .Default(0);
}

TSvCustomAppStorageOptions::TSvCustomAppStorageOptions() {
  // The lists first: Booleans as text need both default texts.
  SetBooleanStringTrueValues(u"TRUE, YES, Y");
  SetBooleanStringFalseValues(u"FALSE, NO, N");
  SetBooleanAsString(true);
  SetEnumerationAsString(true);
  SetTypedIntegerAsString(true);
  SetSetAsString(false);
  SetDateTimeAsString(true);
  SetFloatAsString(false);
  SetDefaultIfReadConvertError(false);
  SetDefaultIfValueNotExists(true);
  SetStoreDefaultValues(true);
  SetStoreStringListAsSingleString(false);
  SetUseOldItemNameFormat(true);
  SetUseTranslateStringEngineDateTimeFormats(false);
}

void TSvCustomAppStorageOptions::Assign(const TPersistent* source) {
  if (source == this) return;
  const auto* other = dynamic_cast<const TSvCustomAppStorageOptions*>(source);
  if (other == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  // The lists before the flag that depends on them.
  SetBooleanStringTrueValues(other->FBooleanStringTrueValues);
  SetBooleanStringFalseValues(other->FBooleanStringFalseValues);
  SetBooleanAsString(other->FBooleanAsString);
  SetEnumerationAsString(other->FEnumAsStr);
  SetTypedIntegerAsString(other->FIntAsStr);
  SetSetAsString(other->FSetAsStr);
  SetDateTimeAsString(other->FDateTimeAsString);
  SetFloatAsString(other->FFloatAsString);
  SetDefaultIfReadConvertError(other->FDefaultIfReadConvertError);
  SetDefaultIfValueNotExists(other->FDefaultIfValueNotExists);
  SetStoreDefaultValues(other->FStoreDefaultValues);
  SetStoreStringListAsSingleString(other->FStoreStringListAsSingleString);
  SetUseOldItemNameFormat(other->FUseOldItemNameFormat);
  FUseTranslateStringEngineDateTimeFormats = other->FUseTranslateStringEngineDateTimeFormats;
}

void TSvCustomAppStorageOptions::SetBooleanAsString(bool value) {
  FBooleanAsString = value && !DefaultTrueString().empty() && !DefaultFalseString().empty();
}

void TSvCustomAppStorageOptions::SetBooleanStringTrueValues(const String& value) {
  FBooleanStringTrueValues = value;
  FBooleanAsString = FBooleanAsString && !DefaultTrueString().empty();
}

void TSvCustomAppStorageOptions::SetBooleanStringFalseValues(const String& value) {
  FBooleanStringFalseValues = value;
  FBooleanAsString = FBooleanAsString && !DefaultFalseString().empty();
}

String TSvCustomAppStorageOptions::DefaultTrueString() const {
  return FirstListText(FBooleanStringTrueValues);
}

String TSvCustomAppStorageOptions::DefaultFalseString() const {
  return FirstListText(FBooleanStringFalseValues);
}

bool TSvCustomAppStorageOptions::IsValueTrueString(const String& value) const {
  return IsValueInList(value, FBooleanStringTrueValues);
}

bool TSvCustomAppStorageOptions::IsValueFalseString(const String& value) const {
  return IsValueInList(value, FBooleanStringFalseValues);
}

bool TSvCustomAppStorageOptions::IsValueInList(const String& value, const String& list) const {
  TStringList items;
  items.SetCommaText(AnsiUpperCase(list));
  const String upper = AnsiUpperCase(value);
  for (Integer i = 0; i < items.Count(); ++i) {
    if (items[i] == upper) return true;
  }
  return false;
}

// ---- Sub-storages -------------------------------------------------------------

void TSvAppSubStorage::Describe(TClassBuilder<TSvAppSubStorage>& c) {
  c.Property(u"RootPath", &TSvAppSubStorage::RootPath, &TSvAppSubStorage::SetRootPath);
  c.Property(u"AppStorage", &TSvAppSubStorage::AppStorage, &TSvAppSubStorage::SetAppStorage);
}

TSvCustomAppStorage* TSvAppSubStorage::OwnerStore() const {
  const auto* collection = dynamic_cast<const TSvAppSubStorages*>(Collection());
  return collection != nullptr ? collection->RootStorage() : nullptr;
}

void TSvAppSubStorage::SetRootPath(const String& value) {
  const String path = TSvCustomAppStorage::NormalizePathList({value});
  if (path == FRootPath) return;
  const auto* collection = dynamic_cast<const TSvAppSubStorages*>(Collection());
  if (collection != nullptr && !collection->IsUniqueRoot(path, Index())) {
    throw ESvcAppStorageError(Format(kSvNotUniqueRootPath, {path}));
  }
  FRootPath = path;
}

void TSvAppSubStorage::SetAppStorage(TSvCustomAppStorage* value) {
  if (value == FAppStorage) return;
  TSvCustomAppStorage* owner = OwnerStore();
  if (value != nullptr && owner != nullptr && (value == owner || value->SubStorages()->ContainsSubStorage(owner))) {
    throw ESvcAppStorageError(kSvCircularReference);
  }
  FAppStorage = value;
  FAppStorageComponent = value;
  if (value != nullptr && owner != nullptr) value->FreeNotification(owner);
}

String TSvAppSubStorage::DisplayName() const {
  if (!FRootPath.empty() && FAppStorage != nullptr) return u"\\" + FRootPath + u"=" + FAppStorage->Name();
  return TCollectionItem::DisplayName();
}

void TSvAppSubStorages::Describe(TClassBuilder<TSvAppSubStorages>&) {}

TSvAppSubStorages::TSvAppSubStorages(TSvCustomAppStorage* owner)
    : TOwnedCollection(owner, TSvAppSubStorage::StaticClass()) {}

TSvCustomAppStorage* TSvAppSubStorages::RootStorage() const {
  return dynamic_cast<TSvCustomAppStorage*>(GetOwner());
}

TSvAppSubStorage* TSvAppSubStorages::Items(int index) const {
  return static_cast<TSvAppSubStorage*>(TCollection::Items(index));
}

TSvAppSubStorage* TSvAppSubStorages::Add(const String& rootPath, TSvCustomAppStorage* appStorage) {
  auto item = std::make_unique<TSvAppSubStorage>(this);
  item->SetRootPath(rootPath);
  item->SetAppStorage(appStorage);
  return item.release();
}

void TSvAppSubStorages::Delete(const String& rootPath, bool includeSubPaths) {
  const String root = TSvCustomAppStorage::NormalizePathList({rootPath});
  if (root.empty()) return;
  const String below = root + u"\\";
  for (int i = Count(); i-- > 0;) {
    const String& itemRoot = Items(i)->RootPath();
    if (AnsiSameText(itemRoot, root) || (includeSubPaths && StartsText(below, itemRoot))) TCollection::Delete(i);
  }
}

void TSvAppSubStorages::Delete(const TComponent* appStorage) {
  for (int i = Count(); i-- > 0;) {
    if (Items(i)->FAppStorageComponent == appStorage) TCollection::Delete(i);
  }
}

TSvAppSubStorage* TSvAppSubStorages::MatchingSubStorage(const String& path, int ignoreIndex) const {
  const String normalized = TSvCustomAppStorage::NormalizePathList({path});
  TSvAppSubStorage* best = nullptr;
  for (int i = 0; i < Count(); ++i) {
    if (i == ignoreIndex) continue;
    TSvAppSubStorage* item = Items(i);
    const String& root = item->RootPath();
    // The root must end where a backslash of the path follows it.
    if (normalized.size() <= root.size() || normalized[root.size()] != u'\\') continue;
    if (!StartsText(root, normalized)) continue;
    if (best == nullptr || root.size() > best->RootPath().size()) best = item;
  }
  return best;
}

bool TSvAppSubStorages::IsUniqueRoot(const String& path, int ignoreIndex) const {
  return MatchingSubStorage(TSvCustomAppStorage::NormalizePathList({path}) + u"\\*", ignoreIndex) == nullptr;
}

bool TSvAppSubStorages::ContainsSubStorage(const TSvCustomAppStorage* store) const {
  for (int i = Count(); i-- > 0;) {
    const TSvCustomAppStorage* itemStore = Items(i)->AppStorage();
    if (itemStore == nullptr) continue;
    if (itemStore == store || itemStore->SubStorages()->ContainsSubStorage(store)) return true;
  }
  return false;
}

// ---- The store ------------------------------------------------------------------

void TSvCustomAppStorage::Describe(TClassBuilder<TSvCustomAppStorage>& c) {
  c.Property(u"StorageOptions", &TSvCustomAppStorage::StorageOptions, &TSvCustomAppStorage::SetStorageOptions);
  c.Property(u"TranslateStringEngine", &TSvCustomAppStorage::TranslateStringEngine,
             &TSvCustomAppStorage::SetTranslateStringEngine);
  c.Property(u"OnTranslatePropertyName", &TSvCustomAppStorage::OnTranslatePropertyName);
  c.Property(u"OnEncryptPropertyValue", &TSvCustomAppStorage::OnEncryptPropertyValue);
  c.Property(u"OnDecryptPropertyValue", &TSvCustomAppStorage::OnDecryptPropertyValue);
  c.Property(u"OnError", &TSvCustomAppStorage::OnError);
}

TSvCustomAppStorage::TSvCustomAppStorage(TComponent* owner, std::unique_ptr<TSvCustomAppStorageOptions> options)
    : TSvComponent(owner),
      FStorageOptions(options != nullptr ? std::move(options) : std::make_unique<TSvAppStorageOptions>()),
      FSubStorages(std::make_unique<TSvAppSubStorages>(this)),
      FInternalTranslateStringEngine(new TSvTranslateString(this)) {}

TSvCustomAppStorage::~TSvCustomAppStorage() {
  // A back end that caches flushes in its own destructor: here only the base's Flush is reached.
  if (FFlushOnDestroy) Flush();
  delete FInternalTranslateStringEngine;
  FInternalTranslateStringEngine = nullptr;
  FSubStorages.reset();
  FStorageOptions.reset();
}

void TSvCustomAppStorage::Loaded() {
  TSvComponent::Loaded();
  if (!IsUpdating()) Reload();
}

void TSvCustomAppStorage::Notification(TComponent* component, TOperation operation) {
  TSvComponent::Notification(component, operation);
  if (operation != opRemove || component == nullptr) return;
  if (FSubStorages != nullptr) FSubStorages->Delete(component);
  if (component == FTranslateStringEngineComponent) {
    FTranslateStringEngine = nullptr;
    FTranslateStringEngineComponent = nullptr;
  }
}

// ---- Paths ----

String TSvCustomAppStorage::NormalizePathList(const std::vector<String>& parts) {
  if (parts.empty()) return String();
  size_t start = 0;
  for (size_t i = 1; i < parts.size(); ++i) {
    if (!parts[i].empty() && parts[i].front() == u'\\') start = i;
  }
  std::vector<StringView> segments;
  for (size_t i = start; i < parts.size(); ++i) {
    const StringView part = parts[i];
    size_t from = 0;
    while (from <= part.size()) {
      const size_t to = std::min(part.find(u'\\', from), part.size());
      const StringView segment = part.substr(from, to - from);
      from = to + 1;
      if (segment.empty()) continue;
      if (IsDotsOnly(segment)) {
        const size_t up = std::min(segment.size() - 1, segments.size());
        segments.resize(segments.size() - up);
      } else {
        segments.push_back(segment);
      }
    }
  }
  String result;
  for (const StringView segment : segments) {
    if (!result.empty()) result += u'\\';
    result += segment;
  }
  return result;
}

void TSvCustomAppStorage::ResolvePath(const String& inPath, TSvCustomAppStorage*& targetStore, String& targetPath) {
  targetPath = u"\\" + NormalizePathList({FCurPath, inPath});
  targetStore = this;
  if (FLocalPathScopes > 0) return;
  const TSvAppSubStorage* item = FSubStorages->MatchingSubStorage(targetPath);
  if (item == nullptr || item->AppStorage() == nullptr) return;
  targetStore = item->AppStorage();
  targetPath = u"\\" + NormalizePathList({targetPath.substr(item->RootPath().size() + 1)});
  if (targetPath == u"\\") throw ESvcAppStorageError(kSvInvalidPath);
}

String TSvCustomAppStorage::JoinPaths(std::initializer_list<String> paths) {
  const bool absolute = std::any_of(paths.begin(), paths.end(),
                                    [](const String& part) { return !part.empty() && part.front() == u'\\'; });
  const String joined = NormalizePathList(paths);
  return absolute ? u"\\" + joined : joined;
}

bool TSvCustomAppStorage::IsListItemName(const String& path) {
  const size_t slash = path.rfind(u'\\');
  const StringView name = slash == String::npos ? StringView(path) : StringView(path).substr(slash + 1);
  return name.size() >= 5 && AnsiSameText(name.substr(0, 4), u"Item") && name[4] >= u'0' && name[4] <= u'9';
}

String TSvCustomAppStorage::FullStorePath(const String& path) const {
  const String below = NormalizePathList({FCurPath, path});
  String full = below.empty() ? FRoot : FRoot + u"\\" + below;
  const size_t first = full.find_first_not_of(u'\\');
  return first == String::npos ? String() : full.substr(first);
}

void TSvCustomAppStorage::SplitValuePath(const String& path, String& key, String& valueName) const {
  const String full = FullStorePath(path);
  if (NormalizePathList({FCurPath, path}).empty()) {
    // The root folder's own value, not the parent's value named after it.
    key = full;
    valueName.clear();
    return;
  }
  const size_t slash = full.rfind(u'\\');
  if (slash == String::npos) {
    key.clear();
    valueName = full;
  } else {
    key = full.substr(0, slash);
    valueName = full.substr(slash + 1);
  }
}

TSvCustomAppStorage* TSvCustomAppStorage::Target(const String& path, String& targetPath, bool writing) {
  TSvCustomAppStorage* store = nullptr;
  ResolvePath(path, store, targetPath);
  if (writing && store->ReadOnly()) return nullptr;
  return store;
}

bool TSvCustomAppStorage::IsFolder(const String& path, bool listIsValue) {
  String targetPath;
  return Target(path, targetPath, false)->StoreIsFolder(targetPath, listIsValue);
}

bool TSvCustomAppStorage::PathExists(const String& path) {
  String targetPath;
  return Target(path, targetPath, false)->StorePathExists(targetPath);
}

bool TSvCustomAppStorage::ValueStored(const String& path) {
  String targetPath;
  return Target(path, targetPath, false)->StoreValueStored(targetPath);
}

bool TSvCustomAppStorage::ListStored(const String& path, const String& itemName) {
  String targetPath;
  return Target(path, targetPath, false)->StoreListStored(targetPath, itemName);
}

void TSvCustomAppStorage::DeleteValue(const String& path) {
  String targetPath;
  if (TSvCustomAppStorage* store = Target(path, targetPath, true)) store->StoreDeleteValue(targetPath);
}

void TSvCustomAppStorage::DeleteSubTree(const String& path) {
  String targetPath;
  if (TSvCustomAppStorage* store = Target(path, targetPath, true)) store->StoreDeleteSubTree(targetPath);
}

void TSvCustomAppStorage::SetXMLProperty(const String& path, const String& name, const String& value) {
  String targetPath;
  if (TSvCustomAppStorage* store = Target(path, targetPath, true)) store->OptSetXMLProperty(targetPath, name, value);
}

void TSvCustomAppStorage::GetStoredValues(const String& path, TStrings& strings, TSvAppStorageEnumOptions options) {
  TUpdateScope<TStrings> update(strings);
  strings.Clear();
  const String searchPath = NormalizePathList({path});
  if (options.Contains(aeoReportRelative)) {
    CollectStoredValues(String(), searchPath, options, strings);
    return;
  }
  const String full = NormalizePathList({FCurPath, searchPath});
  CollectStoredValues(full + u"\\", searchPath, options, strings);
  for (Integer i = 0; i < strings.Count(); ++i) {
    if (strings[i] == full) {
      strings.Delete(i);
      break;
    }
  }
}

void TSvCustomAppStorage::CollectStoredValues(const String& prefixPath, const String& searchPath,
                                              TSvAppStorageEnumOptions options, TStrings& strings) {
  const String prefix = prefixPath == u"\\" ? String() : prefixPath;
  const bool listAsValue = options.Contains(aeoReportListAsValue);
  if (options.Contains(aeoValues)) {
    TStringList values;
    ListValues(searchPath, values, listAsValue);
    for (Integer i = 0; i < values.Count(); ++i) {
      const String& name = values[i];
      // An empty name is a list reported as a value of its own folder.
      const String entry =
          name.empty() ? prefixPath.substr(0, prefixPath.empty() ? 0 : prefixPath.size() - 1) : prefix + name;
      if (!entry.empty()) AddStoredEntry(strings, entry, kSvStoredValue);
    }
  }
  if (options.Contains(aeoFolders) || options.Contains(aeoRecursive)) {
    TStringList folders;
    ListFolders(searchPath, folders, false);
    for (Integer i = 0; i < folders.Count(); ++i) {
      const String& name = folders[i];
      if (options.Contains(aeoFolders) && IsFolder(ChildPath(searchPath, name), listAsValue)) {
        AddStoredEntry(strings, prefix + name, kSvStoredFolder);
      }
      if (options.Contains(aeoRecursive)) {
        CollectStoredValues(NormalizePathList({prefixPath, name}) + u"\\", NormalizePathList({searchPath, name}),
                            options, strings);
      }
    }
  }
}

void TSvCustomAppStorage::CheckDeletePathByVersion(const String& path, Integer versionNumber, bool deleteIfNotEqual,
                                                   bool writeVersionNumber, const String& versionName) {
  String targetPath;
  TSvCustomAppStorage* store = nullptr;
  ResolvePath(path, store, targetPath);
  if (store->ReadOnly() || versionName.empty()) return;
  TUpdateScope<TSvCustomAppStorage> bracket(*store);
  TLocalPathScope local(*store);
  const String versionPath = JoinPaths({targetPath, versionName});
  const Integer stored = store->ReadInteger(versionPath, 0);
  if ((deleteIfNotEqual && stored != versionNumber) || stored < versionNumber) store->DeleteSubTree(targetPath);
  if (stored != versionNumber && writeVersionNumber) store->WriteInteger(versionPath, versionNumber);
}

// ---- Values ----

Integer TSvCustomAppStorage::ReadInteger(const String& path, Integer defaultValue) {
  String targetPath;
  return Target(path, targetPath, false)->OptReadInteger(targetPath, defaultValue);
}

void TSvCustomAppStorage::WriteInteger(const String& path, Integer value) {
  String targetPath;
  if (TSvCustomAppStorage* store = Target(path, targetPath, true)) store->OptWriteInteger(targetPath, value);
}

long double TSvCustomAppStorage::ReadFloat(const String& path, long double defaultValue) {
  String targetPath;
  return Target(path, targetPath, false)->OptReadFloat(targetPath, defaultValue);
}

void TSvCustomAppStorage::WriteFloat(const String& path, long double value) {
  String targetPath;
  if (TSvCustomAppStorage* store = Target(path, targetPath, true)) store->OptWriteFloat(targetPath, value);
}

String TSvCustomAppStorage::ReadString(const String& path, const String& defaultValue) {
  String targetPath;
  return Target(path, targetPath, false)->OptReadString(targetPath, defaultValue);
}

void TSvCustomAppStorage::WriteString(const String& path, const String& value) {
  String targetPath;
  if (TSvCustomAppStorage* store = Target(path, targetPath, true)) store->OptWriteString(targetPath, value);
}

String TSvCustomAppStorage::ReadWideString(const String& path, const String& defaultValue) {
  String targetPath;
  return Target(path, targetPath, false)->OptReadWideString(targetPath, defaultValue);
}

void TSvCustomAppStorage::WriteWideString(const String& path, const String& value) {
  String targetPath;
  if (TSvCustomAppStorage* store = Target(path, targetPath, true)) store->OptWriteWideString(targetPath, value);
}

Integer TSvCustomAppStorage::ReadBinary(const String& path, Byte* buffer, Integer bufferSize) {
  String targetPath;
  return Target(path, targetPath, false)->OptReadBinary(targetPath, buffer, bufferSize);
}

void TSvCustomAppStorage::WriteBinary(const String& path, const Byte* buffer, Integer bufferSize) {
  String targetPath;
  if (TSvCustomAppStorage* store = Target(path, targetPath, true)) {
    store->OptWriteBinary(targetPath, buffer, bufferSize);
  }
}

TDateTime TSvCustomAppStorage::ReadDateTime(const String& path, TDateTime defaultValue) {
  String targetPath;
  return Target(path, targetPath, false)->OptReadDateTime(targetPath, defaultValue);
}

void TSvCustomAppStorage::WriteDateTime(const String& path, TDateTime value) {
  String targetPath;
  if (TSvCustomAppStorage* store = Target(path, targetPath, true)) store->OptWriteDateTime(targetPath, value);
}

bool TSvCustomAppStorage::ReadBoolean(const String& path, bool defaultValue) {
  String targetPath;
  return Target(path, targetPath, false)->OptReadBoolean(targetPath, defaultValue);
}

void TSvCustomAppStorage::WriteBoolean(const String& path, bool value) {
  String targetPath;
  if (TSvCustomAppStorage* store = Target(path, targetPath, true)) store->OptWriteBoolean(targetPath, value);
}

// ---- Lists ----

Integer TSvCustomAppStorage::ReadList(const String& path, TObject* list, const TSvAppStorageListItemEvent& onReadItem,
                                      const String& itemName) {
  TUpdateScope<TSvCustomAppStorage> bracket(*this);
  const Integer count = ReadItemCount(path, itemName);
  for (Integer i = 0; i < count; ++i) onReadItem(this, path, list, i, itemName);
  return count;
}

void TSvCustomAppStorage::WriteList(const String& path, TObject* list, Integer itemCount,
                                    const TSvAppStorageListItemEvent& onWriteItem,
                                    const TSvAppStorageListDeleteEvent& onDeleteItems, const String& itemName) {
  String targetPath;
  TSvCustomAppStorage* store = nullptr;
  ResolvePath(path + u"\\*", store, targetPath);
  if (store->ReadOnly()) return;
  TUpdateScope<TSvCustomAppStorage> bracket(*store);
  const Integer oldCount = ReadItemCount(path, itemName);
  for (Integer i = 0; i < itemCount; ++i) onWriteItem(this, path, list, i, itemName);
  if (itemCount < oldCount && onDeleteItems) onDeleteItems(this, path, list, itemCount, oldCount - 1, itemName);
  WriteItemCount(path, itemCount, itemName);
}

String TSvCustomAppStorage::ItemNameIndexPath(const String& itemName, Integer index) const {
  if (FStorageOptions->UseOldItemNameFormat()) return itemName + IntToStr(index);
  return itemName + u"[" + IntToStr(index) + u"]";
}

Integer TSvCustomAppStorage::ReadItemCount(const String& path, const String&) {
  return ReadInteger(JoinPaths({path, u"Count"}), 0);
}

void TSvCustomAppStorage::WriteItemCount(const String& path, Integer itemCount, const String&) {
  WriteInteger(JoinPaths({path, u"Count"}), itemCount);
}

bool TSvCustomAppStorage::StoreListStored(const String& path, const String&) {
  return StoreValueStored(TextEnsureSuffix(u"\\", path) + u"Count");
}

// ---- Update brackets ----

void TSvCustomAppStorage::BeginUpdate() {
  CurrentFormatSettings();
  ReloadIfNeeded();
  ++FUpdateCount;
  for (int i = 0; i < FSubStorages->Count(); ++i) {
    if (TSvCustomAppStorage* store = FSubStorages->Items(i)->AppStorage()) store->BeginUpdate();
  }
}

void TSvCustomAppStorage::EndUpdate() {
  for (int i = 0; i < FSubStorages->Count(); ++i) {
    if (TSvCustomAppStorage* store = FSubStorages->Items(i)->AppStorage()) store->EndUpdate();
  }
  --FUpdateCount;
  FlushIfNeeded();
  if (FUpdateCount < 0) FUpdateCount = 0;
}

void TSvCustomAppStorage::FlushIfNeeded() {
  if (FlushNeeded()) Flush();
}

void TSvCustomAppStorage::ReloadIfNeeded() {
  if (ReloadNeeded()) Reload();
}

// ---- Crypt ----

String TSvCustomAppStorage::EncryptValue(const String& value) {
  if (!OnEncryptPropertyValue || !IsPropertyValueCryptEnabled()) return value;
  String text = value;
  OnEncryptPropertyValue(text);
  return AnsiToString(MimeEncodeText(StringToAnsi(text)));
}

String TSvCustomAppStorage::DecryptValue(const String& value) {
  if (!OnDecryptPropertyValue || !IsPropertyValueCryptEnabled()) return value;
  String text = AnsiToString(MimeDecodeText(StringToAnsi(value)));
  OnDecryptPropertyValue(text);
  return text;
}

// ---- Properties ----

void TSvCustomAppStorage::SetRoot(const String& value) {
  FRoot = NormalizePathList({value});
}

bool TSvCustomAppStorage::ReadOnly() const {
  if (IsDesigning()) return FReadOnly;
  return FReadOnly || StoreIsReadOnly();
}

void TSvCustomAppStorage::SetStorageOptions(TSvCustomAppStorageOptions* value) {
  if (value != nullptr && value != FStorageOptions.get()) FStorageOptions->Assign(value);
}

void TSvCustomAppStorage::SetTranslateStringEngine(TSvTranslateString* value) {
  FTranslateStringEngine = value;
  FTranslateStringEngineComponent = value;
  if (value != nullptr) value->FreeNotification(this);
}

TSvTranslateString* TSvCustomAppStorage::ActiveTranslateStringEngine() const {
  return FTranslateStringEngine != nullptr ? FTranslateStringEngine : FInternalTranslateStringEngine;
}

const TFormatSettings& TSvCustomAppStorage::CurrentFormatSettings() {
  if (IsUpdating()) return FCachedFormatSettings;
  const TSvTranslateString* engine = ActiveTranslateStringEngine();
  FCachedFormatSettings = engine->Machine().DefaultLocaleFormats();
  if (!engine->DateFormat().empty()) {
    FCachedFormatSettings.ShortDateFormat = engine->DateFormat();
    FCachedFormatSettings.LongDateFormat = engine->DateFormat();
  }
  if (engine->DateSeparator() != kSvNoSeparator) FCachedFormatSettings.DateSeparator = engine->DateSeparator();
  if (!engine->TimeFormat().empty()) {
    FCachedFormatSettings.ShortTimeFormat = engine->TimeFormat();
    FCachedFormatSettings.LongTimeFormat = engine->TimeFormat();
  }
  if (engine->TimeSeparator() != kSvNoSeparator) FCachedFormatSettings.TimeSeparator = engine->TimeSeparator();
  return FCachedFormatSettings;
}

// ---- Primitives the base can give ----

String TSvCustomAppStorage::StoreReadWideString(const String& path, const String& defaultValue) {
  return StoreReadString(path, defaultValue);
}

void TSvCustomAppStorage::StoreWriteWideString(const String& path, const String& value) {
  StoreWriteString(path, value);
}

TDateTime TSvCustomAppStorage::StoreReadDateTime(const String& path, TDateTime defaultValue) {
  return static_cast<TDateTime>(StoreReadFloat(path, defaultValue));
}

void TSvCustomAppStorage::StoreWriteDateTime(const String& path, TDateTime value) {
  StoreWriteFloat(path, value);
}

bool TSvCustomAppStorage::StoreReadBoolean(const String& path, bool defaultValue) {
  return StoreReadInteger(path, defaultValue ? 1 : 0) != 0;
}

void TSvCustomAppStorage::StoreWriteBoolean(const String& path, bool value) {
  StoreWriteInteger(path, value ? 1 : 0);
}

// ---- Option-aware reads and writes ----

bool TSvCustomAppStorage::ValueMissingReadsDefault(const String& path) {
  return FStorageOptions->DefaultIfValueNotExists() && !StoreValueStored(path);
}

Integer TSvCustomAppStorage::OptReadInteger(const String& path, Integer defaultValue) {
  if (ValueMissingReadsDefault(path)) return defaultValue;
  try {
    return StoreReadInteger(path, defaultValue);
  } catch (const EConvertError&) {
    if (FStorageOptions->DefaultIfReadConvertError()) return defaultValue;
    throw;
  }
}

void TSvCustomAppStorage::OptWriteInteger(const String& path, Integer value) {
  StoreWriteInteger(path, value);
}

long double TSvCustomAppStorage::OptReadFloat(const String& path, long double defaultValue) {
  if (ValueMissingReadsDefault(path)) return defaultValue;
  auto asText = [&] { return StrToFloat(DecryptValue(StoreReadString(path, EncryptValue(FloatToStr(defaultValue))))); };
  auto asFloat = [&] { return StoreReadFloat(path, defaultValue); };
  const bool textFirst = FStorageOptions->FloatAsString();
  try {
    try {
      return textFirst ? asText() : asFloat();
    } catch (const EConvertError&) {
      return textFirst ? asFloat() : asText();
    }
  } catch (const EConvertError&) {
    if (FStorageOptions->DefaultIfReadConvertError()) return defaultValue;
    throw;
  }
}

void TSvCustomAppStorage::OptWriteFloat(const String& path, long double value) {
  if (FStorageOptions->FloatAsString()) {
    StoreWriteString(path, EncryptValue(FloatToStr(value)));
  } else {
    StoreWriteFloat(path, value);
  }
}

String TSvCustomAppStorage::OptReadString(const String& path, const String& defaultValue) {
  if (ValueMissingReadsDefault(path)) return defaultValue;
  try {
    return DecryptValue(StoreReadString(path, EncryptValue(defaultValue)));
  } catch (const EConvertError&) {
    if (FStorageOptions->DefaultIfReadConvertError()) return defaultValue;
    throw;
  }
}

void TSvCustomAppStorage::OptWriteString(const String& path, const String& value) {
  StoreWriteString(path, EncryptValue(value));
}

String TSvCustomAppStorage::OptReadWideString(const String& path, const String& defaultValue) {
  if (ValueMissingReadsDefault(path)) return defaultValue;
  try {
    return DecryptValue(StoreReadWideString(path, EncryptValue(defaultValue)));
  } catch (const EConvertError&) {
    if (FStorageOptions->DefaultIfReadConvertError()) return defaultValue;
    throw;
  }
}

void TSvCustomAppStorage::OptWriteWideString(const String& path, const String& value) {
  StoreWriteWideString(path, EncryptValue(value));
}

Integer TSvCustomAppStorage::OptReadBinary(const String& path, Byte* buffer, Integer bufferSize) {
  return StoreReadBinary(path, buffer, bufferSize);
}

void TSvCustomAppStorage::OptWriteBinary(const String& path, const Byte* buffer, Integer bufferSize) {
  StoreWriteBinary(path, buffer, bufferSize);
}

TDateTime TSvCustomAppStorage::OptReadDateTime(const String& path, TDateTime defaultValue) {
  if (ValueMissingReadsDefault(path)) return defaultValue;
  auto asText = [&] {
    return TextToDateTime(DecryptValue(StoreReadString(path, EncryptValue(DateTimeToText(defaultValue)))));
  };
  auto asNumber = [&] { return StoreReadDateTime(path, defaultValue); };
  const bool textFirst = FStorageOptions->DateTimeAsString();
  try {
    try {
      return textFirst ? asText() : asNumber();
    } catch (const EConvertError&) {
      return textFirst ? asNumber() : asText();
    }
  } catch (const EConvertError&) {
    if (FStorageOptions->DefaultIfReadConvertError()) return defaultValue;
    throw;
  }
}

void TSvCustomAppStorage::OptWriteDateTime(const String& path, TDateTime value) {
  if (FStorageOptions->DateTimeAsString()) {
    StoreWriteString(path, EncryptValue(DateTimeToText(value)));
  } else {
    StoreWriteFloat(path, value);
  }
}

bool TSvCustomAppStorage::OptReadBoolean(const String& path, bool defaultValue) {
  if (ValueMissingReadsDefault(path)) return defaultValue;
  const TSvCustomAppStorageOptions& options = *FStorageOptions;
  try {
    if (!options.BooleanAsString()) return StoreReadBoolean(path, defaultValue);
    String text;
    try {
      const String defaultText = defaultValue ? options.DefaultTrueString() : options.DefaultFalseString();
      text = DecryptValue(StoreReadString(path, EncryptValue(defaultText)));
    } catch (const EConvertError&) {
      return StoreReadBoolean(path, defaultValue);
    }
    if (options.IsValueTrueString(text)) return true;
    if (options.IsValueFalseString(text)) return false;
    return StoreReadBoolean(path, defaultValue);
  } catch (const EConvertError&) {
    if (options.DefaultIfReadConvertError()) return defaultValue;
    throw;
  }
}

void TSvCustomAppStorage::OptWriteBoolean(const String& path, bool value) {
  const TSvCustomAppStorageOptions& options = *FStorageOptions;
  if (options.BooleanAsString()) {
    StoreWriteString(path, EncryptValue(value ? options.DefaultTrueString() : options.DefaultFalseString()));
  } else {
    StoreWriteBoolean(path, value);
  }
}

void TSvCustomAppStorage::OptSetXMLProperty(const String& path, const String& name, const String& value) {
  StoreSetXMLProperty(path, name, value);
}

TDateTime TSvCustomAppStorage::TextToDateTime(const String& text) {
  if (!FStorageOptions->UseTranslateStringEngineDateTimeFormats()) return StrToDateTime(text);
  try {
    return StrToDateTime(text, CurrentFormatSettings());
  } catch (const EConvertError&) {
    return StrToDateTime(text);
  }
}

String TSvCustomAppStorage::DateTimeToText(TDateTime value) {
  if (!FStorageOptions->UseTranslateStringEngineDateTimeFormats()) return DateTimeToStr(value);
  return DateTimeToStr(value, CurrentFormatSettings());
}
