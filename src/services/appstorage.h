// The settings store: folders and typed values addressed by backslash paths
// below the store's Path, with options that decide how each kind of value is
// written and how missing or unreadable values read, and sub-storages that
// hand a folder to another store. A back end supplies the primitives.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "classes/collection.h"
#include "rtl/datetime.h"
#include "rtl/events.h"
#include "rtl/formatsettings.h"
#include "rtl/sets.h"
#include "rtl/stringlist.h"
#include "services/svcomponent.h"
#include "services/translatestring.h"
#include "services/utilbase.h"

KST_DECLARE_EXCEPTION(ESvcAppStorageError, ESvcException);

inline constexpr char16_t kSvInvalidPath[] = u"Invalid path";
inline constexpr char16_t kSvNotUniqueRootPath[] = u"'%s' is not a unique root path";
inline constexpr char16_t kSvCircularReference[] = u"Circular reference of storages";

class TSvCustomAppStorage;

using TSvAppStoragePropTranslateEvent =
    TDelegate<void(TSvCustomAppStorage* sender, TPersistent* instance, String& name, bool reading)>;
using TSvAppStorageCryptEvent = TDelegate<void(String& value)>;
using TSvAppStorageErrorEvent = TDelegate<void(TObject* sender, const String& value)>;
using TSvAppStorageObjectListItemCreateEvent =
    TDelegate<TPersistent*(TSvCustomAppStorage* sender, const String& path, Integer index)>;
using TSvAppStorageListItemEvent = TDelegate<void(TSvCustomAppStorage* sender, const String& path, TObject* list,
                                                  Integer index, const String& itemName)>;
using TSvAppStorageListDeleteEvent = TDelegate<void(TSvCustomAppStorage* sender, const String& path, TObject* list,
                                                    Integer first, Integer last, const String& itemName)>;
const TTypeInfo& DescribeType(TypeTag<TSvAppStoragePropTranslateEvent>);
const TTypeInfo& DescribeType(TypeTag<TSvAppStorageCryptEvent>);
const TTypeInfo& DescribeType(TypeTag<TSvAppStorageErrorEvent>);

enum TSvAppStorageEnumOption { aeoFolders, aeoValues, aeoReportListAsValue, aeoReportRelative, aeoRecursive };
using TSvAppStorageEnumOptions = TSet<TSvAppStorageEnumOption>;

// The flags GetStoredValues puts in the objects of its lines.
inline constexpr unsigned kSvStoredFolder = 1;
inline constexpr unsigned kSvStoredValue = 2;
unsigned StoredValueFlags(const TStrings& strings, Integer index);

// ---- Options ------------------------------------------------------------------

class TSvCustomAppStorageOptions : public TPersistent {
  KST_CLASS(TSvCustomAppStorageOptions, TPersistent)
 public:
  TSvCustomAppStorageOptions();

  // Copies every option from another options object.
  void Assign(const TPersistent* source) override;

  bool BooleanAsString() const { return FBooleanAsString; }
  // True only while both default strings have text.
  virtual void SetBooleanAsString(bool value);
  const String& BooleanStringTrueValues() const { return FBooleanStringTrueValues; }
  virtual void SetBooleanStringTrueValues(const String& value);
  const String& BooleanStringFalseValues() const { return FBooleanStringFalseValues; }
  virtual void SetBooleanStringFalseValues(const String& value);
  bool EnumerationAsString() const { return FEnumAsStr; }
  virtual void SetEnumerationAsString(bool value) { FEnumAsStr = value; }
  bool TypedIntegerAsString() const { return FIntAsStr; }
  virtual void SetTypedIntegerAsString(bool value) { FIntAsStr = value; }
  bool SetAsString() const { return FSetAsStr; }
  virtual void SetSetAsString(bool value) { FSetAsStr = value; }
  bool DateTimeAsString() const { return FDateTimeAsString; }
  virtual void SetDateTimeAsString(bool value) { FDateTimeAsString = value; }
  bool FloatAsString() const { return FFloatAsString; }
  virtual void SetFloatAsString(bool value) { FFloatAsString = value; }
  bool DefaultIfReadConvertError() const { return FDefaultIfReadConvertError; }
  virtual void SetDefaultIfReadConvertError(bool value) { FDefaultIfReadConvertError = value; }
  bool DefaultIfValueNotExists() const { return FDefaultIfValueNotExists; }
  virtual void SetDefaultIfValueNotExists(bool value) { FDefaultIfValueNotExists = value; }
  bool StoreStringListAsSingleString() const { return FStoreStringListAsSingleString; }
  virtual void SetStoreStringListAsSingleString(bool value) { FStoreStringListAsSingleString = value; }
  bool UseOldItemNameFormat() const { return FUseOldItemNameFormat; }
  virtual void SetUseOldItemNameFormat(bool value) { FUseOldItemNameFormat = value; }
  bool StoreDefaultValues() const { return FStoreDefaultValues; }
  virtual void SetStoreDefaultValues(bool value) { FStoreDefaultValues = value; }
  bool UseTranslateStringEngineDateTimeFormats() const { return FUseTranslateStringEngineDateTimeFormats; }
  void SetUseTranslateStringEngineDateTimeFormats(bool value) { FUseTranslateStringEngineDateTimeFormats = value; }

  // The first text of each list (before its first comma), trimmed.
  String DefaultTrueString() const;
  String DefaultFalseString() const;
  // Whether the value is one of the list's texts, without regard to case.
  bool IsValueTrueString(const String& value) const;
  bool IsValueFalseString(const String& value) const;
  virtual bool IsValueInList(const String& value, const String& list) const;

 private:
  bool FBooleanAsString = true;
  String FBooleanStringTrueValues;
  String FBooleanStringFalseValues;
  bool FEnumAsStr = true;
  bool FIntAsStr = true;
  bool FSetAsStr = false;
  bool FDateTimeAsString = true;
  bool FFloatAsString = false;
  bool FDefaultIfReadConvertError = false;
  bool FDefaultIfValueNotExists = true;
  bool FStoreDefaultValues = true;
  bool FStoreStringListAsSingleString = false;
  bool FUseOldItemNameFormat = true;
  bool FUseTranslateStringEngineDateTimeFormats = false;
};

// The options with their properties published.
class TSvAppStorageOptions : public TSvCustomAppStorageOptions {
  KST_CLASS(TSvAppStorageOptions, TSvCustomAppStorageOptions)
};

// ---- Sub-storages -------------------------------------------------------------

class TSvAppSubStorages;

// Hands every path below RootPath to another store, with the root cut off.
class TSvAppSubStorage : public TCollectionItem {
  KST_CLASS(TSvAppSubStorage, TCollectionItem)
 public:
  explicit TSvAppSubStorage(TCollection* collection) : TCollectionItem(collection) {}

  const String& RootPath() const { return FRootPath; }
  // Normalized; another item's root equal to it or above it raises
  // ESvcAppStorageError "'%s' is not a unique root path".
  void SetRootPath(const String& value);
  TSvCustomAppStorage* AppStorage() const { return FAppStorage; }
  // The owning store itself, or a store that holds it at any depth, raises
  // "Circular reference of storages".
  void SetAppStorage(TSvCustomAppStorage* value);
  TSvCustomAppStorage* OwnerStore() const;
  String DisplayName() const override;

 private:
  friend class TSvAppSubStorages;
  String FRootPath;
  TSvCustomAppStorage* FAppStorage = nullptr;
  // The store as a component, compared when a component goes.
  TComponent* FAppStorageComponent = nullptr;
};

class TSvAppSubStorages : public TOwnedCollection {
  KST_CLASS(TSvAppSubStorages, TOwnedCollection)
 public:
  explicit TSvAppSubStorages(TSvCustomAppStorage* owner);

  TSvCustomAppStorage* RootStorage() const;
  TSvAppSubStorage* Items(int index) const;
  // A new item with its root and store; when either is refused the item goes again.
  TSvAppSubStorage* Add(const String& rootPath, TSvCustomAppStorage* appStorage);
  using TCollection::Delete;
  // The items whose root is rootPath (and, with includeSubPaths, those below it).
  void Delete(const String& rootPath, bool includeSubPaths);
  // The items that use the store.
  void Delete(const TComponent* appStorage);
  // The item whose root lies above the path (longest root first); nullptr for none.
  TSvAppSubStorage* MatchingSubStorage(const String& path, int ignoreIndex = -1) const;
  // No other root equals the path or lies above it.
  bool IsUniqueRoot(const String& path, int ignoreIndex = -1) const;
  bool ContainsSubStorage(const TSvCustomAppStorage* store) const;
};

// ---- The store ------------------------------------------------------------------

class TSvCustomAppStorage : public TSvComponent {
  KST_CLASS(TSvCustomAppStorage, TSvComponent)
 public:
  // A back end hands in the options object of its own class; the default
  // is TSvAppStorageOptions.
  explicit TSvCustomAppStorage(TComponent* owner, std::unique_ptr<TSvCustomAppStorageOptions> options = nullptr);
  ~TSvCustomAppStorage() override;
  void Loaded() override;

  // ---- Paths ----
  // The parts joined: a part that starts with a backslash starts again; "."
  // stays, n dots go n-1 folders up; no leading or trailing backslash.
  static String NormalizePathList(const std::vector<String>& parts);
  static String ConcatPaths(std::initializer_list<String> paths) { return NormalizePathList(paths); }
  // ConcatPaths that stays absolute ("\" first) when a part is: a resolved
  // path handed back to the public routines must not go below Path again.
  static String JoinPaths(std::initializer_list<String> paths);
  // The store that handles a path and the path below its root ("\" first).
  void ResolvePath(const String& inPath, TSvCustomAppStorage*& targetStore, String& targetPath);
  // While one lives, this store takes the paths it is given as its own: the
  // store a path was resolved to does not hand it on to its sub-storages.
  class TLocalPathScope {
   public:
    explicit TLocalPathScope(TSvCustomAppStorage& store) : FStore(store) { ++FStore.FLocalPathScopes; }
    ~TLocalPathScope() { --FStore.FLocalPathScopes; }
    TLocalPathScope(const TLocalPathScope&) = delete;
    TLocalPathScope& operator=(const TLocalPathScope&) = delete;

   private:
    TSvCustomAppStorage& FStore;
  };
  // The path of a child of the folder: absolute or relative as the folder's
  // path is (an empty path is the current folder, not the root).
  static String ChildPath(const String& path, const String& name) { return path.empty() ? name : path + u"\\" + name; }
  // Whether the last part of the path is a list item name ("Item" in any case and a digit).
  static bool IsListItemName(const String& path);

  // With listIsValue, a folder that holds only a list counts as the list's
  // value, not as a folder; every caller says which it means.
  bool IsFolder(const String& path, bool listIsValue);
  bool PathExists(const String& path);
  bool ValueStored(const String& path);
  bool ListStored(const String& path, const String& itemName = u"Item");
  void DeleteValue(const String& path);
  void DeleteSubTree(const String& path);
  // Folders and values below the path; each line's object carries kSvStoredFolder / kSvStoredValue.
  void GetStoredValues(const String& path, TStrings& strings,
                       TSvAppStorageEnumOptions options = TSvAppStorageEnumOptions{aeoValues});
  void CheckDeletePathByVersion(const String& path, Integer versionNumber, bool deleteIfNotEqual,
                                bool writeVersionNumber, const String& versionName);
  void SetXMLProperty(const String& path, const String& name, const String& value);

  // ---- Values ----
  Integer ReadInteger(const String& path, Integer defaultValue = 0);
  void WriteInteger(const String& path, Integer value);
  long double ReadFloat(const String& path, long double defaultValue = 0);
  void WriteFloat(const String& path, long double value);
  String ReadString(const String& path, const String& defaultValue = String());
  void WriteString(const String& path, const String& value);
  // Text is UTF-16 throughout: these take the same route as the string ones.
  String ReadWideString(const String& path, const String& defaultValue = String());
  void WriteWideString(const String& path, const String& value);
  // The number of bytes read.
  Integer ReadBinary(const String& path, Byte* buffer, Integer bufferSize);
  void WriteBinary(const String& path, const Byte* buffer, Integer bufferSize);
  TDateTime ReadDateTime(const String& path, TDateTime defaultValue = 0);
  void WriteDateTime(const String& path, TDateTime value);
  bool ReadBoolean(const String& path, bool defaultValue = false);
  void WriteBoolean(const String& path, bool value);

  // ---- Lists: a "Count" value and one entry per item ----
  Integer ReadList(const String& path, TObject* list, const TSvAppStorageListItemEvent& onReadItem,
                   const String& itemName = u"Item");
  void WriteList(const String& path, TObject* list, Integer itemCount, const TSvAppStorageListItemEvent& onWriteItem,
                 const TSvAppStorageListDeleteEvent& onDeleteItems = nullptr, const String& itemName = u"Item");
  virtual String ItemNameIndexPath(const String& itemName, Integer index) const;

  // ---- Update brackets, flush and reload ----
  void BeginUpdate();
  void EndUpdate();
  bool IsUpdating() const { return FUpdateCount != 0; }
  virtual void Flush() {}
  virtual void Reload() {}
  virtual bool FlushNeeded() const { return FAutoFlush && !IsUpdating(); }
  virtual bool ReloadNeeded() const { return FAutoReload && !IsUpdating(); }
  void FlushIfNeeded();
  void ReloadIfNeeded();
  bool AutoFlush() const { return FAutoFlush; }
  void SetAutoFlush(bool value) { FAutoFlush = value; }
  bool AutoReload() const { return FAutoReload; }
  void SetAutoReload(bool value) { FAutoReload = value; }

  // ---- Value crypt: hooks, then base64 ----
  void EnablePropertyValueCrypt() { ++FCryptEnabledStatus; }
  void DisablePropertyValueCrypt() { --FCryptEnabledStatus; }
  bool IsPropertyValueCryptEnabled() const { return FCryptEnabledStatus > 0; }
  String EncryptValue(const String& value);
  String DecryptValue(const String& value);

  // ---- Properties ----
  const String& Root() const { return FRoot; }
  virtual void SetRoot(const String& value);
  const String& Path() const { return FCurPath; }
  void SetPath(const String& value) { FCurPath = NormalizePathList({value}); }
  // The flag, or at run time also what the back end says.
  bool ReadOnly() const;
  void SetReadOnly(bool value) { FReadOnly = value; }
  bool FlushOnDestroy() const { return FFlushOnDestroy; }
  virtual void SetFlushOnDestroy(bool value) { FFlushOnDestroy = value; }
  TSvCustomAppStorageOptions* StorageOptions() const { return FStorageOptions.get(); }
  void SetStorageOptions(TSvCustomAppStorageOptions* value);
  TSvAppSubStorages* SubStorages() const { return FSubStorages.get(); }
  TSvTranslateString* TranslateStringEngine() const { return FTranslateStringEngine; }
  void SetTranslateStringEngine(TSvTranslateString* value);
  // The external engine when set, else the store's own.
  TSvTranslateString* ActiveTranslateStringEngine() const;
  TSvTranslateString* InternalTranslateStringEngine() const { return FInternalTranslateStringEngine; }
  // The date and time formats of the system locale with the active engine's
  // formats over them; kept unchanged inside an update bracket.
  const TFormatSettings& CurrentFormatSettings();

  TSvAppStoragePropTranslateEvent OnTranslatePropertyName;
  TSvAppStorageCryptEvent OnEncryptPropertyValue;
  TSvAppStorageCryptEvent OnDecryptPropertyValue;
  TSvAppStorageErrorEvent OnError;
  TSvAppStorageObjectListItemCreateEvent CurrentInstanceCreateEvent;

  // ---- For back ends: the paths they receive are resolved ("\" first) ----
  // Root, a backslash and the path joined to Path, without leading backslashes.
  String FullStorePath(const String& path) const;
  virtual void SplitValuePath(const String& path, String& key, String& valueName) const;
  virtual void ListFolders(const String& path, TStrings& strings, bool reportListAsValue) = 0;
  virtual void ListValues(const String& path, TStrings& strings, bool reportListAsValue) = 0;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

  virtual bool StoreIsFolder(const String& path, bool listIsValue) = 0;
  virtual bool StorePathExists(const String& path) = 0;
  virtual bool StoreValueStored(const String& path) = 0;
  virtual bool StoreListStored(const String& path, const String& itemName);
  virtual void StoreDeleteValue(const String& path) = 0;
  virtual void StoreDeleteSubTree(const String& path) = 0;
  virtual Integer StoreReadInteger(const String& path, Integer defaultValue) = 0;
  virtual void StoreWriteInteger(const String& path, Integer value) = 0;
  virtual long double StoreReadFloat(const String& path, long double defaultValue) = 0;
  virtual void StoreWriteFloat(const String& path, long double value) = 0;
  virtual String StoreReadString(const String& path, const String& defaultValue) = 0;
  virtual void StoreWriteString(const String& path, const String& value) = 0;
  virtual String StoreReadWideString(const String& path, const String& defaultValue);
  virtual void StoreWriteWideString(const String& path, const String& value);
  virtual Integer StoreReadBinary(const String& path, Byte* buffer, Integer bufferSize) = 0;
  virtual void StoreWriteBinary(const String& path, const Byte* buffer, Integer bufferSize) = 0;
  virtual TDateTime StoreReadDateTime(const String& path, TDateTime defaultValue);
  virtual void StoreWriteDateTime(const String& path, TDateTime value);
  virtual bool StoreReadBoolean(const String& path, bool defaultValue);
  virtual void StoreWriteBoolean(const String& path, bool value);
  virtual bool StoreIsReadOnly() const { return false; }
  virtual void StoreSetXMLProperty(const String&, const String&, const String&) {}

  virtual Integer OptReadInteger(const String& path, Integer defaultValue);
  virtual void OptWriteInteger(const String& path, Integer value);
  virtual long double OptReadFloat(const String& path, long double defaultValue);
  virtual void OptWriteFloat(const String& path, long double value);
  virtual String OptReadString(const String& path, const String& defaultValue);
  virtual void OptWriteString(const String& path, const String& value);
  virtual String OptReadWideString(const String& path, const String& defaultValue);
  virtual void OptWriteWideString(const String& path, const String& value);
  virtual Integer OptReadBinary(const String& path, Byte* buffer, Integer bufferSize);
  virtual void OptWriteBinary(const String& path, const Byte* buffer, Integer bufferSize);
  virtual TDateTime OptReadDateTime(const String& path, TDateTime defaultValue);
  virtual void OptWriteDateTime(const String& path, TDateTime value);
  virtual bool OptReadBoolean(const String& path, bool defaultValue);
  virtual void OptWriteBoolean(const String& path, bool value);
  virtual void OptSetXMLProperty(const String& path, const String& name, const String& value);

  virtual TDateTime TextToDateTime(const String& text);
  virtual String DateTimeToText(TDateTime value);
  virtual Integer ReadItemCount(const String& path, const String& itemName);
  virtual void WriteItemCount(const String& path, Integer itemCount, const String& itemName);

  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }

 private:
  // The store and path a public operation works on; nullptr when the target
  // is read-only and the operation writes.
  TSvCustomAppStorage* Target(const String& path, String& targetPath, bool writing);
  void CollectStoredValues(const String& prefixPath, const String& searchPath, TSvAppStorageEnumOptions options,
                           TStrings& strings);
  bool ValueMissingReadsDefault(const String& path);

  TFormatSettings FCachedFormatSettings;
  String FRoot;
  String FCurPath;
  std::unique_ptr<TSvCustomAppStorageOptions> FStorageOptions;
  std::unique_ptr<TSvAppSubStorages> FSubStorages;
  Integer FCryptEnabledStatus = 0;
  Integer FLocalPathScopes = 0;
  bool FAutoFlush = false;
  Integer FUpdateCount = 0;
  bool FAutoReload = false;
  TSvTranslateString* FInternalTranslateStringEngine = nullptr;  // owned as a component
  bool FReadOnly = false;
  TSvTranslateString* FTranslateStringEngine = nullptr;
  TComponent* FTranslateStringEngineComponent = nullptr;
  bool FFlushOnDestroy = true;
};
