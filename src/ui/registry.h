// The system registry as the class library reaches it: one open key at a
// time below a root key, values read and written by type.
#pragma once

#include "ui/winapi.h"

#include <vector>

#include "rtl/exceptions.h"
#include "rtl/stringlist.h"

KST_DECLARE_EXCEPTION(ERegistryException, Exception);

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  Integer DataSize = 0;
};

class TRegistry {
 public:
  // Opens keys with the access given (default: everything).
  explicit TRegistry(REGSAM access = KEY_ALL_ACCESS);
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  // The key that absolute paths start from (default HKEY_CURRENT_USER);
  // changing it closes the open key.
  HKEY RootKey() const { return FRootKey; }
  void SetRootKey(HKEY key);
  REGSAM Access() const { return FAccess; }
  void SetAccess(REGSAM access) { FAccess = access; }
  // Whether closing a key leaves writing it to disk to the system (true), or
  // flushes it at once.
  bool LazyWrite() const { return FLazyWrite; }
  void SetLazyWrite(bool value) { FLazyWrite = value; }
  // The open key (nullptr when none) and its path below the root key.
  HKEY CurrentKey() const { return FCurrentKey; }
  const String& CurrentPath() const { return FCurrentPath; }

  // A path that begins with "\" starts at the root key; any other path starts
  // at the open key (at the root key when none is open).
  // Opens the key, creating it (and the keys on its way) when asked; false
  // when it cannot be opened.
  bool OpenKey(const String& key, bool canCreate);
  // Opens the key for reading only.
  bool OpenKeyReadOnly(const String& key);
  // Creates the key without opening it; ERegistryException when that fails.
  bool CreateKey(const String& key);
  // Deletes the key with every key below it.
  bool DeleteKey(const String& key);
  bool KeyExists(const String& key);
  void CloseKey();

  bool HasSubKeys() const;
  void GetKeyNames(TStrings& strings) const;
  void GetValueNames(TStrings& strings) const;
  bool ValueExists(const String& name) const;
  bool DeleteValue(const String& name);

  // The type and size of a value; false when it is not there.
  bool GetDataInfo(const String& name, TRegDataInfo& info) const;
  // The size of a value in bytes, -1 when it is not there.
  Integer GetDataSize(const String& name) const;
  TRegDataType GetDataType(const String& name) const;

  // Reading a value of another type raises ERegistryException; so does
  // reading a number or flag that is not there. A missing string is empty.
  String ReadString(const String& name) const;
  void WriteString(const String& name, const String& value);
  void WriteExpandString(const String& name, const String& value);
  Integer ReadInteger(const String& name) const;
  void WriteInteger(const String& name, Integer value);
  bool ReadBool(const String& name) const;
  void WriteBool(const String& name, bool value);
  // Copies the value into the buffer and returns its size; 0 when it is not
  // there; ERegistryException when it does not fit or is text or a number.
  Integer ReadBinaryData(const String& name, void* buffer, Integer bufSize) const;
  std::vector<Byte> ReadBinaryData(const String& name) const;
  void WriteBinaryData(const String& name, const void* buffer, Integer bufSize);

 private:
  HKEY BaseKey(bool relative) const;
  // The path without its leading "\" and trailing "\"s; whether it was relative.
  static String Normalize(const String& key, bool& relative);
  void ChangeKey(HKEY key, const String& path);
  std::vector<Byte> ReadRaw(const String& name, DWORD& type) const;
  void WriteRaw(const String& name, DWORD type, const void* data, DWORD size);

  HKEY FRootKey = HKEY_CURRENT_USER;
  HKEY FCurrentKey = nullptr;
  REGSAM FAccess;
  String FCurrentPath;
  bool FLazyWrite = true;
};
