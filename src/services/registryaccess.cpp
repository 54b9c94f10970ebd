#include "services/registryaccess.h"

#include <array>

#include "rtl/format.h"
#include "rtl/numbers.h"

namespace {

struct TRootKeyName {
  TRegHandle Key;
  const char16_t* Name;
};

// Long names first, then the short forms, in the order the prefixes are tried.
constexpr std::array<TRootKeyName, 14> kRootKeyNames{{
    {kHKeyClassesRoot, u"HKEY_CLASSES_ROOT"},
    {kHKeyCurrentUser, u"HKEY_CURRENT_USER"},
    {kHKeyLocalMachine, u"HKEY_LOCAL_MACHINE"},
    {kHKeyUsers, u"HKEY_USERS"},
    {kHKeyPerformanceData, u"HKEY_PERFORMANCE_DATA"},
    {kHKeyCurrentConfig, u"HKEY_CURRENT_CONFIG"},
    {kHKeyDynData, u"HKEY_DYN_DATA"},
    {kHKeyClassesRoot, u"HKCR"},
    {kHKeyCurrentUser, u"HKCU"},
    {kHKeyLocalMachine, u"HKLM"},
    {kHKeyUsers, u"HKUS"},
    {kHKeyPerformanceData, u"HKPD"},
    {kHKeyCurrentConfig, u"HKCC"},
    {kHKeyDynData, u"HKDD"},
}};

// A registry key holds at most 512 levels; deeper trees cannot exist.
constexpr int kMaxKeyDepth = 512;

constexpr TRegKinds kTextKinds = RegKinds({kRegSz, kRegExpandSz, kRegBinary});
constexpr TRegKinds kIntegerKinds = RegKinds({kRegBinary, kRegDword, kRegQword});
constexpr TRegKinds kBinaryKinds = RegKinds({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});

// Opens a key of the root; the key is closed when this goes.
class TOpenedKey {
 public:
  TOpenedKey(TRawRegistry& registry, TRegHandle rootKey, StringView key, Cardinal access) : FRegistry(registry) {
    FError = registry.OpenKey(rootKey, key, access, FKey);
  }
  ~TOpenedKey() {
    if (FError == kErrorSuccess) FRegistry.CloseKey(FKey);
  }
  TOpenedKey(const TOpenedKey&) = delete;
  TOpenedKey& operator=(const TOpenedKey&) = delete;

  bool Ok() const { return FError == kErrorSuccess; }
  TRegHandle Key() const { return FKey; }

 private:
  TRawRegistry& FRegistry;
  TRegHandle FKey = 0;
  Integer FError;
};

String TextFromBytes(const TBytes& data, Cardinal size) {
  String text(size / 2, Char{0});
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<Char>(data[2 * i] | (data[2 * i + 1] << 8));
  // Only a terminating zero goes: text written by other tools may have none.
  if (!text.empty() && text.back() == 0) text.pop_back();
  return text;
}

TBytes BytesOfText(StringView value) {
  TBytes bytes((value.size() + 1) * 2, 0);
  for (size_t i = 0; i < value.size(); ++i) {
    bytes[2 * i] = static_cast<Byte>(value[i]);
    bytes[2 * i + 1] = static_cast<Byte>(value[i] >> 8);
  }
  return bytes;
}

void WriteLittleEndian(UInt64 value, Byte* out, size_t count) {
  for (size_t i = 0; i < count; ++i) out[i] = static_cast<Byte>(value >> (8 * i));
}

void WriteRegistryNumber(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, UInt64 extended,
                         StringView text, Cardinal dataType) {
  switch (dataType) {
    case kRegSz:
    case kRegExpandSz: WriteRegistryStringEx(registry, rootKey, key, name, text, dataType); return;
    case kRegBinary:
    case kRegDword:
    case kRegQword: {
      Byte bytes[8];
      const size_t size = dataType == kRegQword ? 8 : 4;
      WriteLittleEndian(extended, bytes, size);
      WriteRegistryData(registry, rootKey, key, name, dataType, bytes, static_cast<Cardinal>(size));
      return;
    }
    default: RaiseWrongKindError(rootKey, StripRootKeyPrefix(rootKey, key), name);
  }
}

bool DeleteKeyTree(TRawRegistry& registry, TRegHandle rootKey, const String& key, int depth) {
  if (depth > kMaxKeyDepth) return false;
  TRegKeyInfo info;
  bool allGone = true;
  {
    TOpenedKey opened(registry, rootKey, key, kKeyAllAccess);
    if (!opened.Ok()) RaiseKeyWriteError(rootKey, key);
    if (registry.QueryInfoKey(opened.Key(), info) != kErrorSuccess) return false;
    for (Cardinal index = info.SubKeys; allGone && index-- > 0;) {
      String name;
      if (registry.EnumKey(opened.Key(), index, info.MaxSubKeyLength + 1, name) != kErrorSuccess) {
        allGone = false;
        break;
      }
      allGone = DeleteKeyTree(registry, rootKey, key + u"\\" + name, depth + 1);
    }
  }
  return allGone && registry.DeleteKey(rootKey, key) == kErrorSuccess;
}

}  // namespace

String RootKeyText(TRegHandle rootKey) {
  for (size_t i = 0; i < 7; ++i) {
    if (kRootKeyNames[i].Key == rootKey) return kRootKeyNames[i].Name;
  }
  return Format(u"$%.8x", {static_cast<UInt64>(rootKey)});
}

String StripRootKeyPrefix(TRegHandle rootKey, StringView key) {
  StringView rest = key;
  if (!rest.empty() && rest.front() == u'\\') rest.remove_prefix(1);
  for (const TRootKeyName& entry : kRootKeyNames) {
    const StringView name(entry.Name);
    if (rest.size() <= name.size() || rest.substr(0, name.size()) != name || rest[name.size()] != u'\\') continue;
    if (entry.Key != rootKey) throw EUtRegistryError(Format(kUtRegRootMismatch, {key}));
    // The key goes on after the backslash that follows the name: a key path
    // with a leading backslash is refused by the registry.
    return String(rest.substr(name.size() + 1));
  }
  return String(rest);
}

void RaiseKeyReadError(TRegHandle rootKey, StringView key) {
  throw EUtRegistryError(Format(kUtRegKeyReadError, {RootKeyText(rootKey), key}));
}

void RaiseKeyWriteError(TRegHandle rootKey, StringView key) {
  throw EUtRegistryError(Format(kUtRegKeyWriteError, {RootKeyText(rootKey), key}));
}

void RaiseValueAccessError(TRegHandle rootKey, StringView key, StringView name) {
  throw EUtRegistryError(Format(kUtRegValueAccessError, {RootKeyText(rootKey), key, name}));
}

void RaiseWrongKindError(TRegHandle rootKey, StringView key, StringView name) {
  throw EUtRegistryError(Format(kUtRegWrongKindError, {RootKeyText(rootKey), key, name}));
}

bool RegistryKeyExists(TRawRegistry& registry, TRegHandle rootKey, StringView key) {
  const TOpenedKey opened(registry, rootKey, StripRootKeyPrefix(rootKey, key), kKeyRead);
  return opened.Ok();
}

Integer CreateRegistryKey(TRawRegistry& registry, TRegHandle rootKey, StringView key) {
  TRegHandle created = 0;
  const Integer error = registry.CreateKey(rootKey, StripRootKeyPrefix(rootKey, key), kKeyAllAccess, created);
  if (error == kErrorSuccess) registry.CloseKey(created);
  return error;
}

bool RegistryValueType(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                       Cardinal& dataType) {
  dataType = kRegNone;
  const TOpenedKey opened(registry, rootKey, StripRootKeyPrefix(rootKey, key), kKeyRead);
  if (!opened.Ok()) return false;
  Cardinal size = 0;
  Cardinal type = kRegNone;
  if (registry.QueryValue(opened.Key(), name, type, nullptr, size) != kErrorSuccess) return false;
  dataType = type;
  return true;
}

bool ReadRegistryData(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, bool raiseException,
                      TRegKinds kinds, Cardinal maxSize, Byte* buffer, Cardinal& dataType, Cardinal& dataSize) {
  dataType = kRegNone;
  dataSize = 0;
  const String path = StripRootKeyPrefix(rootKey, key);
  const TOpenedKey opened(registry, rootKey, path, kKeyRead);
  if (!opened.Ok()) {
    if (raiseException) RaiseKeyReadError(rootKey, path);
    return false;
  }
  Cardinal type = kRegNone;
  Cardinal size = 0;
  if (registry.QueryValue(opened.Key(), name, type, nullptr, size) != kErrorSuccess) {
    if (raiseException) RaiseValueAccessError(rootKey, path, name);
    return false;
  }
  dataType = type;
  dataSize = size;
  if (!RegKindAllowed(kinds, type) || size > maxSize) {
    if (raiseException) RaiseWrongKindError(rootKey, path, name);
    return false;
  }
  if (size > 0 && registry.QueryValue(opened.Key(), name, type, buffer, size) != kErrorSuccess) {
    if (raiseException) RaiseValueAccessError(rootKey, path, name);
    return false;
  }
  dataSize = size;
  return true;
}

bool ReadRegistryText(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, bool raiseException,
                      String& value) {
  value.clear();
  const String path = StripRootKeyPrefix(rootKey, key);
  const TOpenedKey opened(registry, rootKey, path, kKeyRead);
  if (!opened.Ok()) {
    if (raiseException) RaiseKeyReadError(rootKey, path);
    return false;
  }
  Cardinal type = kRegNone;
  Cardinal size = 0;
  if (registry.QueryValue(opened.Key(), name, type, nullptr, size) != kErrorSuccess) {
    if (raiseException) RaiseValueAccessError(rootKey, path, name);
    return false;
  }
  if (!RegKindAllowed(kTextKinds, type)) {
    if (raiseException) RaiseWrongKindError(rootKey, path, name);
    return false;
  }
  TBytes data(size);
  if (size > 0 && registry.QueryValue(opened.Key(), name, type, data.data(), size) != kErrorSuccess) {
    if (raiseException) RaiseValueAccessError(rootKey, path, name);
    return false;
  }
  value = TextFromBytes(data, size);
  return true;
}

bool ReadRegistryIntegerEx(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                           bool raiseException, Integer& value) {
  Cardinal type = kRegNone;
  RegistryValueType(registry, rootKey, key, name, type);
  if (type == kRegSz || type == kRegExpandSz) {
    const String text = ReadRegistryString(registry, rootKey, key, name);
    Int64 number = 0;
    if (raiseException) {
      number = StrToInt64(text);
    } else if (!TryStrToInt64(text, number)) {
      return false;
    }
    value = static_cast<Integer>(static_cast<UInt64>(number));
    return true;
  }
  Byte buffer[8] = {};
  Cardinal dataType = kRegNone;
  Cardinal dataSize = 0;
  if (!ReadRegistryData(registry, rootKey, key, name, raiseException, kIntegerKinds, sizeof(buffer), buffer, dataType,
                        dataSize)) {
    return false;
  }
  value = static_cast<Integer>(buffer[0] | (buffer[1] << 8) | (buffer[2] << 16) | (Cardinal{buffer[3]} << 24));
  return true;
}

Integer ReadRegistryIntegerDef(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                               Integer defaultValue) {
  try {
    Integer value = 0;
    return ReadRegistryIntegerEx(registry, rootKey, key, name, false, value) ? value : defaultValue;
  } catch (const Exception&) {
    return defaultValue;
  }
}

bool ReadRegistryBooleanDef(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                            bool defaultValue) {
  return ReadRegistryIntegerDef(registry, rootKey, key, name, defaultValue ? 1 : 0) != 0;
}

bool ReadRegistryStringEx(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                          bool raiseException, String& value) {
  return ReadRegistryText(registry, rootKey, key, name, raiseException, value);
}

String ReadRegistryString(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name) {
  String value;
  ReadRegistryText(registry, rootKey, key, name, true, value);
  return value;
}

String ReadRegistryStringDef(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                             const String& defaultValue) {
  try {
    String value;
    return ReadRegistryText(registry, rootKey, key, name, false, value) ? value : defaultValue;
  } catch (const Exception&) {
    return defaultValue;
  }
}

bool ReadRegistryBinaryEx(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                          bool raiseException, Cardinal& dataSize, Byte* buffer, Cardinal maxSize) {
  Cardinal dataType = kRegNone;
  return ReadRegistryData(registry, rootKey, key, name, raiseException, kBinaryKinds, maxSize, buffer, dataType,
                          dataSize);
}

Cardinal ReadRegistryBinary(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, Byte* buffer,
                            Cardinal maxSize) {
  Cardinal dataSize = 0;
  ReadRegistryBinaryEx(registry, rootKey, key, name, true, dataSize, buffer, maxSize);
  return dataSize;
}

void WriteRegistryData(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, Cardinal dataType,
                       const Byte* data, Cardinal dataSize) {
  const String path = StripRootKeyPrefix(rootKey, key);
  if (!TOpenedKey(registry, rootKey, path, kKeyRead).Ok()) {
    TRegHandle created = 0;
    if (registry.CreateKey(rootKey, path, kKeyAllAccess, created) == kErrorSuccess) registry.CloseKey(created);
  }
  const TOpenedKey opened(registry, rootKey, path, kKeyWriteValues);
  if (!opened.Ok()) RaiseKeyWriteError(rootKey, path);
  if (registry.SetValue(opened.Key(), name, dataType, data, dataSize) != kErrorSuccess) {
    RaiseKeyWriteError(rootKey, path);
  }
}

void WriteRegistryInteger(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, Integer value) {
  WriteRegistryIntegerEx(registry, rootKey, key, name, value, kRegDword);
}

void WriteRegistryBoolean(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, bool value) {
  WriteRegistryCardinalEx(registry, rootKey, key, name, value ? 1 : 0, kRegDword);
}

void WriteRegistryIntegerEx(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, Integer value,
                            Cardinal dataType) {
  WriteRegistryNumber(registry, rootKey, key, name, static_cast<UInt64>(static_cast<Int64>(value)), IntToStr(value),
                      dataType);
}

void WriteRegistryCardinalEx(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                             Cardinal value, Cardinal dataType) {
  WriteRegistryNumber(registry, rootKey, key, name, value, UIntToStr(value), dataType);
}

void WriteRegistryString(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                         StringView value) {
  WriteRegistryStringEx(registry, rootKey, key, name, value, kRegSz);
}

void WriteRegistryStringEx(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name,
                           StringView value, Cardinal dataType) {
  if (dataType != kRegSz && dataType != kRegExpandSz && dataType != kRegBinary) {
    RaiseWrongKindError(rootKey, StripRootKeyPrefix(rootKey, key), name);
  }
  const TBytes bytes = BytesOfText(value);
  WriteRegistryData(registry, rootKey, key, name, dataType, bytes.data(), static_cast<Cardinal>(bytes.size()));
}

void WriteRegistryBinary(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name, const Byte* data,
                         Cardinal dataSize) {
  WriteRegistryData(registry, rootKey, key, name, kRegBinary, data, dataSize);
}

bool DeleteRegistryValue(TRawRegistry& registry, TRegHandle rootKey, StringView key, StringView name) {
  const String path = StripRootKeyPrefix(rootKey, key);
  const TOpenedKey opened(registry, rootKey, path, kKeySetValue);
  if (!opened.Ok()) RaiseKeyWriteError(rootKey, path);
  if (registry.DeleteValue(opened.Key(), name) != kErrorSuccess) RaiseValueAccessError(rootKey, path, name);
  return true;
}

bool DeleteRegistryKeyTree(TRawRegistry& registry, TRegHandle rootKey, StringView key) {
  return DeleteKeyTree(registry, rootKey, StripRootKeyPrefix(rootKey, key), 0);
}
