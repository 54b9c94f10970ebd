#include "services/registrystorage.h"

#include "rtl/extended.h"
#include "rtl/format.h"
#include "rtl/sysstr.h"

KST_CLASS_IMPL(TSvAppRegistryStorageOptions, "SvAppRegistryStorage")
KST_CLASS_IMPL(TSvAppRegistryStorage, "SvAppRegistryStorage")

namespace {

// Macros may expand to text holding macros again; a few passes settle any
// real root, and a root that keeps changing stops here.
constexpr int kMaxRootExpansions = 8;

// A key opened for the length of one operation.
class TKey {
 public:
  TKey(TRawRegistry& registry, TRegHandle rootKey, const String& keyPath) : FRegistry(registry) {
    FOpen = registry.OpenKey(rootKey, StripRootKeyPrefix(rootKey, keyPath), kMaximumAllowed, FHandle) == kErrorSuccess;
  }
  ~TKey() {
    if (FOpen) FRegistry.CloseKey(FHandle);
  }
  TKey(const TKey&) = delete;
  TKey& operator=(const TKey&) = delete;

  bool Open() const { return FOpen; }
  TRegHandle Handle() const { return FHandle; }

 private:
  TRawRegistry& FRegistry;
  TRegHandle FHandle = 0;
  bool FOpen = false;
};

[[noreturn]] void RaiseEnumerationError() {
  throw EUtRegistryError(kSvErrorEnumeratingRegistry);
}

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TSvRegKey>) {
  static const TEnumTypeInfo type(u"TSvRegKey", u"SvAppRegistryStorage",
                                  {u"hkClassesRoot", u"hkCurrentUser", u"hkLocalMachine", u"hkUsers",
                                   u"hkPerformanceData", u"hkCurrentConfig", u"hkDynData"});
  return type;
}

void RegisterSettingsStoreClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&TSvAppRegistryStorage::StaticClass(), &TSvTranslateString::StaticClass(),
                            &TSvAppRegistryStorageOptions::StaticClass(), &TSvAppSubStorages::StaticClass(),
                            &TSvAppSubStorage::StaticClass()});
  registry.RegisterType(DescribeType(TypeTag<TSvRegKey>{}));
  registry.RegisterType(DescribeType(TypeTag<TSvProcessCommandEvent>{}));
  registry.RegisterType(DescribeType(TypeTag<TSvAppStorageCryptEvent>{}));
  registry.RegisterType(DescribeType(TypeTag<TSvAppStoragePropTranslateEvent>{}));
  registry.RegisterType(DescribeType(TypeTag<TSvAppStorageErrorEvent>{}));
}

void TSvAppRegistryStorageOptions::Describe(TClassBuilder<TSvAppRegistryStorageOptions>& c) {
  using O = TSvCustomAppStorageOptions;
  c.Property(u"StoreStringListAsSingleString", &O::StoreStringListAsSingleString, &O::SetStoreStringListAsSingleString)
      .Default(0);
}

void TSvAppRegistryStorage::Describe(TClassBuilder<TSvAppRegistryStorage>& c) {
  using S = TSvAppRegistryStorage;
  c.Property(u"RegRoot", &S::RegRoot, &S::SetRegRoot).Default(hkCurrentUser);
  c.Property(u"Root", &S::Root, &S::SetRoot);
  c.Property(u"SubStorages", &S::SubStorages);
  c.Property(u"FlushOnDestroy", &S::FlushOnDestroy, &S::SetFlushOnDestroy).Default(1);
  c.Property(u"UseOldDefaultRoot", &S::UseOldDefaultRoot, &S::SetUseOldDefaultRoot).Default(0);
  c.Property(u"ReadOnly", &S::ReadOnly, &S::SetReadOnly).Default(0);
  c.Property(u"StorageOptions", &S::StorageOptions,
             [](S& store, TSvAppRegistryStorageOptions* options) { store.SetStorageOptions(options); });
}

TSvAppRegistryStorage::TSvAppRegistryStorage(TComponent* owner) : TSvAppRegistryStorage(owner, PlatformRegistry()) {}

TSvAppRegistryStorage::TSvAppRegistryStorage(TComponent* owner, TRawRegistry& registry)
    : TSvCustomAppStorage(owner, std::make_unique<TSvAppRegistryStorageOptions>()), FRegistry(&registry) {}

void TSvAppRegistryStorage::Loaded() {
  TSvCustomAppStorage::Loaded();
  SetUseOldDefaultRoot(FUseOldDefaultRoot);
  SetRoot(Root());
}

void TSvAppRegistryStorage::SetRegRoot(TSvRegKey value) {
  if (value != RegRoot()) FRegHKEY = kHKeyClassesRoot + static_cast<TRegHandle>(value);
}

void TSvAppRegistryStorage::SetRoot(const String& value) {
  String root = NormalizePathList({value});
  if (IsDesigning()) {
    if (value != kSvOldDefaultRoot) FUseOldDefaultRoot = false;
    TSvCustomAppStorage::SetRoot(root.empty() ? String(kSvNoRoot) : root);
    return;
  }
  // While the form is read the engine may not be set yet: Loaded expands.
  if (!ComponentState().Contains(csLoading)) {
    for (int pass = 0; pass < kMaxRootExpansions; ++pass) {
      if (root == kSvNoRoot) {
        root.clear();
        break;
      }
      bool changed = false;
      const String expanded = NormalizePathList({ActiveTranslateStringEngine()->TranslateString(root, changed)});
      if (!changed || expanded == root) break;
      root = expanded;
    }
  }
  TSvCustomAppStorage::SetRoot(root);
}

void TSvAppRegistryStorage::SetUseOldDefaultRoot(bool value) {
  FUseOldDefaultRoot = value;
  if (value) SetRoot(kSvOldDefaultRoot);
}

void TSvAppRegistryStorage::EnsureKey(const String& keyPath) {
  if (RegistryKeyExists(*FRegistry, FRegHKEY, keyPath)) return;
  if (CreateRegistryKey(*FRegistry, FRegHKEY, keyPath) != kErrorSuccess) {
    throw ESvcException(Format(kSvUnableToCreateKey, {keyPath}));
  }
}

void TSvAppRegistryStorage::EnumerateValues(TRegHandle key, const std::function<bool(const String&)>& visit) {
  // The buffer takes the longest name the key holds.
  TRegKeyInfo info;
  if (FRegistry->QueryInfoKey(key, info) != kErrorSuccess) RaiseEnumerationError();
  const Cardinal capacity = info.MaxValueNameLength + 1;
  for (Cardinal index = 0;; ++index) {
    String name;
    const Integer error = FRegistry->EnumValue(key, index, capacity, name);
    if (error == kErrorNoMoreItems) return;
    if (error != kErrorSuccess) RaiseEnumerationError();
    if (!visit(name)) return;
  }
}

void TSvAppRegistryStorage::ListFolders(const String& path, TStrings& strings, bool reportListAsValue) {
  const String keyPath = FullStorePath(path);
  if (!RegistryKeyExists(*FRegistry, FRegHKEY, keyPath)) return;
  const TKey key(*FRegistry, FRegHKEY, keyPath);
  if (!key.Open()) return;
  strings.BeginUpdate();
  try {
    for (Cardinal index = 0;; ++index) {
      String name;
      const Integer error = FRegistry->EnumKey(key.Handle(), index, kMaxRegKeyNameLength + 1, name);
      if (error == kErrorNoMoreItems) break;
      if (error != kErrorSuccess) RaiseEnumerationError();
      // A list is reported as a value of its folder, not as a folder.
      if (reportListAsValue && ListStored(ChildPath(path, name))) continue;
      strings.Add(name);
    }
  } catch (...) {
    strings.EndUpdate();
    throw;
  }
  strings.EndUpdate();
}

void TSvAppRegistryStorage::ListValues(const String& path, TStrings& strings, bool reportListAsValue) {
  const String keyPath = FullStorePath(path);
  if (!RegistryKeyExists(*FRegistry, FRegHKEY, keyPath)) return;
  const TKey key(*FRegistry, FRegHKEY, keyPath);
  if (!key.Open()) return;
  const bool listAsValue = reportListAsValue && ListStored(path);
  strings.BeginUpdate();
  try {
    if (listAsValue) strings.Add(String());
    EnumerateValues(key.Handle(), [&](const String& name) {
      if (!listAsValue || !(SameText(name, u"Count") || IsListItemName(name))) strings.Add(name);
      return true;
    });
  } catch (...) {
    strings.EndUpdate();
    throw;
  }
  strings.EndUpdate();
}

bool TSvAppRegistryStorage::StoreIsFolder(const String& path, bool listIsValue) {
  const TKey key(*FRegistry, FRegHKEY, FullStorePath(path));
  if (!key.Open()) return false;
  Cardinal type = 0;
  Cardinal size = 0;
  if (!listIsValue || FRegistry->QueryValue(key.Handle(), u"Count", type, nullptr, size) != kErrorSuccess) {
    return true;
  }
  // A folder that holds only a list is the list's value, not a folder.
  bool folder = false;
  EnumerateValues(key.Handle(), [&](const String& name) {
    folder = !SameText(name, u"Count") && !IsListItemName(name);
    return !folder;
  });
  return folder;
}

bool TSvAppRegistryStorage::StorePathExists(const String& path) {
  return RegistryKeyExists(*FRegistry, FRegHKEY, FullStorePath(path));
}

bool TSvAppRegistryStorage::StoreValueStored(const String& path) {
  String keyPath, valueName;
  SplitValuePath(path, keyPath, valueName);
  if (!RegistryKeyExists(*FRegistry, FRegHKEY, keyPath)) return false;
  const TKey key(*FRegistry, FRegHKEY, keyPath);
  if (!key.Open()) throw EUtRegistryError(Format(kUtRegKeyReadError, {keyPath, valueName}));
  Cardinal type = 0;
  Cardinal size = 0;
  return FRegistry->QueryValue(key.Handle(), valueName, type, nullptr, size) == kErrorSuccess;
}

void TSvAppRegistryStorage::StoreDeleteValue(const String& path) {
  if (!StoreValueStored(path)) return;
  String keyPath, valueName;
  SplitValuePath(path, keyPath, valueName);
  DeleteRegistryValue(*FRegistry, FRegHKEY, keyPath, valueName);
}

void TSvAppRegistryStorage::StoreDeleteSubTree(const String& path) {
  const String keyPath = FullStorePath(path);
  if (RegistryKeyExists(*FRegistry, FRegHKEY, keyPath)) DeleteRegistryKeyTree(*FRegistry, FRegHKEY, keyPath);
}

Integer TSvAppRegistryStorage::StoreReadInteger(const String& path, Integer defaultValue) {
  String keyPath, valueName;
  SplitValuePath(path, keyPath, valueName);
  try {
    return ReadRegistryIntegerDef(*FRegistry, FRegHKEY, keyPath, valueName, defaultValue);
  } catch (const EUtRegistryError&) {
    if (StorageOptions()->DefaultIfReadConvertError()) return defaultValue;
    throw;
  }
}

void TSvAppRegistryStorage::StoreWriteInteger(const String& path, Integer value) {
  String keyPath, valueName;
  SplitValuePath(path, keyPath, valueName);
  EnsureKey(keyPath);
  WriteRegistryInteger(*FRegistry, FRegHKEY, keyPath, valueName, value);
}

long double TSvAppRegistryStorage::StoreReadFloat(const String& path, long double defaultValue) {
  String keyPath, valueName;
  SplitValuePath(path, keyPath, valueName);
  try {
    const String key = StripRootKeyPrefix(FRegHKEY, keyPath);
    Cardinal type = kRegNone;
    if (RegistryValueType(*FRegistry, FRegHKEY, keyPath, valueName, type) && type != kRegBinary) {
      throw EUtRegistryError(Format(kUtRegWrongKindError, {u"", key, valueName}));
    }
    Byte bytes[10] = {};
    // Anything but the ten bytes of an extended value is of the wrong size:
    // fewer bytes would leave part of the default in the number.
    if (ReadRegistryBinary(*FRegistry, FRegHKEY, keyPath, valueName, bytes, sizeof bytes) != sizeof bytes) {
      throw EUtRegistryError(Format(kUtRegWrongKindError, {u"", key, valueName}));
    }
    return Extended80::FromBytes(bytes).ToLongDouble();
  } catch (const EUtRegistryError&) {
    if (StorageOptions()->DefaultIfReadConvertError()) return defaultValue;
    throw;
  }
}

void TSvAppRegistryStorage::StoreWriteFloat(const String& path, long double value) {
  String keyPath, valueName;
  SplitValuePath(path, keyPath, valueName);
  EnsureKey(keyPath);
  const Extended80 extended = Extended80::FromLongDouble(value);
  WriteRegistryBinary(*FRegistry, FRegHKEY, keyPath, valueName, extended.bytes.data(),
                      static_cast<Cardinal>(extended.bytes.size()));
}

String TSvAppRegistryStorage::StoreReadString(const String& path, const String& defaultValue) {
  String keyPath, valueName;
  SplitValuePath(path, keyPath, valueName);
  try {
    return ReadRegistryStringDef(*FRegistry, FRegHKEY, keyPath, valueName, defaultValue);
  } catch (const EUtRegistryError&) {
    if (StorageOptions()->DefaultIfReadConvertError()) return defaultValue;
    throw;
  }
}

void TSvAppRegistryStorage::StoreWriteString(const String& path, const String& value) {
  String keyPath, valueName;
  SplitValuePath(path, keyPath, valueName);
  EnsureKey(keyPath);
  WriteRegistryString(*FRegistry, FRegHKEY, keyPath, valueName, value);
}

String TSvAppRegistryStorage::StoreReadWideString(const String& path, const String& defaultValue) {
  return StoreReadString(path, defaultValue);
}

void TSvAppRegistryStorage::StoreWriteWideString(const String& path, const String& value) {
  StoreWriteString(path, value);
}

Integer TSvAppRegistryStorage::StoreReadBinary(const String& path, Byte* buffer, Integer bufferSize) {
  String keyPath, valueName;
  SplitValuePath(path, keyPath, valueName);
  const Cardinal room = bufferSize > 0 ? static_cast<Cardinal>(bufferSize) : 0;
  return static_cast<Integer>(ReadRegistryBinary(*FRegistry, FRegHKEY, keyPath, valueName, buffer, room));
}

void TSvAppRegistryStorage::StoreWriteBinary(const String& path, const Byte* buffer, Integer bufferSize) {
  String keyPath, valueName;
  SplitValuePath(path, keyPath, valueName);
  EnsureKey(keyPath);
  const Cardinal size = bufferSize > 0 ? static_cast<Cardinal>(bufferSize) : 0;
  WriteRegistryBinary(*FRegistry, FRegHKEY, keyPath, valueName, buffer, size);
}

bool TSvAppRegistryStorage::StoreReadBoolean(const String& path, bool defaultValue) {
  String keyPath, valueName;
  SplitValuePath(path, keyPath, valueName);
  try {
    return ReadRegistryBooleanDef(*FRegistry, FRegHKEY, keyPath, valueName, defaultValue);
  } catch (const EUtRegistryError&) {
    if (StorageOptions()->DefaultIfReadConvertError()) return defaultValue;
    throw;
  }
}

void TSvAppRegistryStorage::StoreWriteBoolean(const String& path, bool value) {
  String keyPath, valueName;
  SplitValuePath(path, keyPath, valueName);
  EnsureKey(keyPath);
  WriteRegistryBoolean(*FRegistry, FRegHKEY, keyPath, valueName, value);
}
