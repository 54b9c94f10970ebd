// The settings store in the registry: folders are keys, values are values,
// below a root key and the store's Root.
//
//   integer, Boolean   REG_DWORD
//   float, date-time   REG_BINARY of the 10-byte extended value
//   string             REG_SZ with its terminating zero
//   binary             REG_BINARY of the caller's bytes
#pragma once

#include "services/appstorage.h"
#include "services/rawregistry.h"
#include "services/registryaccess.h"

enum TSvRegKey { hkClassesRoot, hkCurrentUser, hkLocalMachine, hkUsers, hkPerformanceData, hkCurrentConfig, hkDynData };
const TTypeInfo& DescribeType(TypeTag<TSvRegKey>);

inline constexpr char16_t kSvUnableToCreateKey[] = u"Unable to create key '%s'";
inline constexpr char16_t kSvErrorEnumeratingRegistry[] = u"Error enumerating registry";
// The root of the older layout, and the root that stands for none.
inline constexpr char16_t kSvOldDefaultRoot[] = u"Software\\%COMPANY_NAME%\\%APPL_NAME%";
inline constexpr char16_t kSvNoRoot[] = u"%NONE%";

class TSvAppRegistryStorageOptions : public TSvAppStorageOptions {
  KST_CLASS(TSvAppRegistryStorageOptions, TSvAppStorageOptions)
};

class TSvAppRegistryStorage : public TSvCustomAppStorage {
  KST_CLASS(TSvAppRegistryStorage, TSvCustomAppStorage)
 public:
  // On the machine's registry.
  explicit TSvAppRegistryStorage(TComponent* owner);
  TSvAppRegistryStorage(TComponent* owner, TRawRegistry& registry);
  void Loaded() override;

  TSvRegKey RegRoot() const { return static_cast<TSvRegKey>(FRegHKEY & 0xFF); }
  void SetRegRoot(TSvRegKey value);
  TRegHandle RegHKEY() const { return FRegHKEY; }
  // Normalized; at run time its macros are expanded ("%NONE%" is no root).
  void SetRoot(const String& value) override;
  bool UseOldDefaultRoot() const { return FUseOldDefaultRoot; }
  // True sets the root of the older layout.
  void SetUseOldDefaultRoot(bool value);
  TSvAppRegistryStorageOptions* StorageOptions() const {
    return static_cast<TSvAppRegistryStorageOptions*>(TSvCustomAppStorage::StorageOptions());
  }
  TRawRegistry& Registry() const { return *FRegistry; }

  // Creates the key below the root key when it is missing; ESvcException
  // "Unable to create key '%s'" when that fails.
  void EnsureKey(const String& keyPath);

  void ListFolders(const String& path, TStrings& strings, bool reportListAsValue) override;
  void ListValues(const String& path, TStrings& strings, bool reportListAsValue) override;

 protected:
  bool StoreIsFolder(const String& path, bool listIsValue) override;
  bool StorePathExists(const String& path) override;
  bool StoreValueStored(const String& path) override;
  void StoreDeleteValue(const String& path) override;
  void StoreDeleteSubTree(const String& path) override;
  Integer StoreReadInteger(const String& path, Integer defaultValue) override;
  void StoreWriteInteger(const String& path, Integer value) override;
  long double StoreReadFloat(const String& path, long double defaultValue) override;
  void StoreWriteFloat(const String& path, long double value) override;
  String StoreReadString(const String& path, const String& defaultValue) override;
  void StoreWriteString(const String& path, const String& value) override;
  String StoreReadWideString(const String& path, const String& defaultValue) override;
  void StoreWriteWideString(const String& path, const String& value) override;
  Integer StoreReadBinary(const String& path, Byte* buffer, Integer bufferSize) override;
  void StoreWriteBinary(const String& path, const Byte* buffer, Integer bufferSize) override;
  bool StoreReadBoolean(const String& path, bool defaultValue) override;
  void StoreWriteBoolean(const String& path, bool value) override;

 private:
  // Calls each value name of an open key; stops when visit answers false.
  void EnumerateValues(TRegHandle key, const std::function<bool(const String&)>& visit);

  TRawRegistry* FRegistry;
  TRegHandle FRegHKEY = kHKeyCurrentUser;
  bool FUseOldDefaultRoot = false;
};
