// The registry as the settings services see it: a tree of keys holding typed
// values, reached through handles, answering with the platform's error codes.
// The Windows build talks to the real registry through it; elsewhere, and in
// tests, an in-memory registry with the same rules stands in.
#pragma once

#include "rtl/types.h"

// A key handle: a predefined root key or a handle that OpenKey or CreateKey
// gave out.
using TRegHandle = UInt64;

// The predefined root keys.
inline constexpr TRegHandle kHKeyClassesRoot = 0x80000000;
inline constexpr TRegHandle kHKeyCurrentUser = 0x80000001;
inline constexpr TRegHandle kHKeyLocalMachine = 0x80000002;
inline constexpr TRegHandle kHKeyUsers = 0x80000003;
inline constexpr TRegHandle kHKeyPerformanceData = 0x80000004;
inline constexpr TRegHandle kHKeyCurrentConfig = 0x80000005;
inline constexpr TRegHandle kHKeyDynData = 0x80000006;

inline constexpr bool IsPredefinedRegKey(TRegHandle key) {
  return key >= kHKeyClassesRoot && key <= kHKeyDynData;
}

// Value types, numbered as the platform numbers them.
inline constexpr Cardinal kRegNone = 0;
inline constexpr Cardinal kRegSz = 1;
inline constexpr Cardinal kRegExpandSz = 2;
inline constexpr Cardinal kRegBinary = 3;
inline constexpr Cardinal kRegDword = 4;
inline constexpr Cardinal kRegDwordBigEndian = 5;
inline constexpr Cardinal kRegLink = 6;
inline constexpr Cardinal kRegMultiSz = 7;
inline constexpr Cardinal kRegQword = 11;

// Access rights.
inline constexpr Cardinal kKeyQueryValue = 0x0001;
inline constexpr Cardinal kKeySetValue = 0x0002;
inline constexpr Cardinal kKeyCreateSubKey = 0x0004;
inline constexpr Cardinal kKeyEnumerateSubKeys = 0x0008;
inline constexpr Cardinal kKeyNotify = 0x0010;
inline constexpr Cardinal kKeyWow64_64Key = 0x0100;
inline constexpr Cardinal kKeyWow64_32Key = 0x0200;
inline constexpr Cardinal kKeyRead = 0x20019;
// Standard write rights, set value and create subkey.
inline constexpr Cardinal kKeyWriteValues = 0x20006;
inline constexpr Cardinal kKeyAllAccess = 0xF003F;
inline constexpr Cardinal kMaximumAllowed = 0x02000000;

// The platform's error codes that the registry answers with.
inline constexpr Integer kErrorSuccess = 0;
inline constexpr Integer kErrorFileNotFound = 2;
inline constexpr Integer kErrorAccessDenied = 5;
inline constexpr Integer kErrorInvalidHandle = 6;
inline constexpr Integer kErrorInvalidParameter = 87;
inline constexpr Integer kErrorBadPathname = 161;
inline constexpr Integer kErrorMoreData = 234;
inline constexpr Integer kErrorNoMoreItems = 259;
inline constexpr Integer kErrorKeyDeleted = 1018;

// The longest key name and value name the registry takes, in characters.
inline constexpr Cardinal kMaxRegKeyNameLength = 255;
inline constexpr Cardinal kMaxRegValueNameLength = 16383;

struct TRegKeyInfo {
  Cardinal SubKeys = 0;
  // Lengths in characters without a terminating zero.
  Cardinal MaxSubKeyLength = 0;
  Cardinal Values = 0;
  Cardinal MaxValueNameLength = 0;
  // In bytes.
  Cardinal MaxValueLength = 0;
};

// Every operation answers kErrorSuccess or the platform's error code.
// Key paths are relative to the given key, with backslashes between names;
// names of keys and values compare without regard to case.
class TRawRegistry {
 public:
  virtual ~TRawRegistry() = default;

  virtual Integer OpenKey(TRegHandle parent, StringView subKey, Cardinal access, TRegHandle& key) = 0;
  // Opens the key, creating it and every missing key above it first.
  virtual Integer CreateKey(TRegHandle parent, StringView subKey, Cardinal access, TRegHandle& key) = 0;
  // Closing a predefined root key does nothing.
  virtual Integer CloseKey(TRegHandle key) = 0;
  virtual Integer QueryInfoKey(TRegHandle key, TRegKeyInfo& info) = 0;
  // The name at index into a buffer of `capacity` characters, the terminating
  // zero included: kErrorMoreData when it does not fit, kErrorNoMoreItems past
  // the last one.
  virtual Integer EnumKey(TRegHandle key, Cardinal index, Cardinal capacity, String& name) = 0;
  virtual Integer EnumValue(TRegHandle key, Cardinal index, Cardinal capacity, String& name) = 0;
  // The value's type and size. With data, size is the buffer's room on entry
  // and the bytes written on return; when the room is short, kErrorMoreData
  // with size set to the bytes needed.
  virtual Integer QueryValue(TRegHandle key, StringView name, Cardinal& type, Byte* data, Cardinal& size) = 0;
  virtual Integer SetValue(TRegHandle key, StringView name, Cardinal type, const Byte* data, Cardinal size) = 0;
  virtual Integer DeleteValue(TRegHandle key, StringView name) = 0;
  // Deletes a key that has no subkeys.
  virtual Integer DeleteKey(TRegHandle parent, StringView subKey) = 0;
};

// The registry of this machine: the Windows registry in the Windows build, an
// in-memory registry for the life of the process elsewhere.
TRawRegistry& PlatformRegistry();

// Closes a key when it goes out of scope.
class TRegKeyCloser {
 public:
  TRegKeyCloser(TRawRegistry& registry, TRegHandle key) : FRegistry(registry), FKey(key) {}
  ~TRegKeyCloser() { FRegistry.CloseKey(FKey); }
  TRegKeyCloser(const TRegKeyCloser&) = delete;
  TRegKeyCloser& operator=(const TRegKeyCloser&) = delete;

 private:
  TRawRegistry& FRegistry;
  TRegHandle FKey;
};
