#include "ui/registry.h"

#include <cstring>

#include "rtl/format.h"

namespace {

[[noreturn]] void RaiseRegistry(const char16_t* format, const String& name) {
  throw ERegistryException(Format(format, {name}));
}

TRegDataType DataTypeOf(DWORD type) {
  switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

}  // namespace

TRegistry::TRegistry(REGSAM access) : FAccess(access) {}

TRegistry::~TRegistry() {
  CloseKey();
}

void TRegistry::SetRootKey(HKEY key) {
  if (key == FRootKey) return;
  CloseKey();
  FRootKey = key;
}

void TRegistry::CloseKey() {
  if (!FCurrentKey) return;
  if (!FLazyWrite) RegFlushKey(FCurrentKey);
  RegCloseKey(FCurrentKey);
  FCurrentKey = nullptr;
  FCurrentPath.clear();
}

String TRegistry::Normalize(const String& key, bool& relative) {
  relative = key.empty() || key[0] != u'\\';
  size_t begin = relative ? 0 : 1;
  size_t end = key.size();
  while (end > begin && key[end - 1] == u'\\') --end;
  return key.substr(begin, end - begin);
}

HKEY TRegistry::BaseKey(bool relative) const {
  return relative && FCurrentKey ? FCurrentKey : FRootKey;
}

void TRegistry::ChangeKey(HKEY key, const String& path) {
  CloseKey();
  FCurrentKey = key;
  FCurrentPath = path;
}

bool TRegistry::OpenKey(const String& key, bool canCreate) {
  bool relative = false;
  String path = Normalize(key, relative);
  HKEY opened = nullptr;
  LONG status;
  if (canCreate && !path.empty()) {
    DWORD disposition = 0;
    status = RegCreateKeyExW(BaseKey(relative), WStr(path), 0, nullptr, REG_OPTION_NON_VOLATILE, FAccess, nullptr,
                             &opened, &disposition);
  } else {
    status = RegOpenKeyExW(BaseKey(relative), WStr(path), 0, FAccess, &opened);
  }
  if (status != ERROR_SUCCESS) return false;
  String full = relative && FCurrentKey && !FCurrentPath.empty() && !path.empty() ? FCurrentPath + u"\\" + path
                : relative && FCurrentKey                                         ? FCurrentPath + path
                                                                                  : path;
  ChangeKey(opened, full);
  return true;
}

bool TRegistry::OpenKeyReadOnly(const String& key) {
  REGSAM saved = FAccess;
  bool opened = false;
  // Keys that may be read but not listed still open for their values.
  for (REGSAM access : {static_cast<REGSAM>(KEY_READ), static_cast<REGSAM>(KEY_QUERY_VALUE)}) {
    FAccess = access;
    if ((opened = OpenKey(key, false))) break;
  }
  if (!opened) FAccess = saved;
  return opened;
}

bool TRegistry::CreateKey(const String& key) {
  bool relative = false;
  String path = Normalize(key, relative);
  HKEY created = nullptr;
  DWORD disposition = 0;
  if (path.empty() || RegCreateKeyExW(BaseKey(relative), WStr(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_ALL_ACCESS, nullptr, &created, &disposition) != ERROR_SUCCESS)
    throw ERegistryException(Format(u"Failed to create key %s", {key}));
  RegCloseKey(created);
  return true;
}

bool TRegistry::DeleteKey(const String& key) {
  bool relative = false;
  String path = Normalize(key, relative);
  // The whole root would go with an empty path.
  if (path.empty()) return false;
  return RegDeleteTreeW(BaseKey(relative), WStr(path)) == ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const String& key) {
  bool relative = false;
  String path = Normalize(key, relative);
  HKEY opened = nullptr;
  for (REGSAM access : {static_cast<REGSAM>(KEY_READ), static_cast<REGSAM>(KEY_QUERY_VALUE)}) {
    if (RegOpenKeyExW(BaseKey(relative), WStr(path), 0, access, &opened) == ERROR_SUCCESS) {
      RegCloseKey(opened);
      return true;
    }
  }
  return false;
}

bool TRegistry::HasSubKeys() const {
  DWORD subKeys = 0;
  return FCurrentKey &&
         RegQueryInfoKeyW(FCurrentKey, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS &&
         subKeys > 0;
}

void TRegistry::GetKeyNames(TStrings& strings) const {
  strings.Clear();
  if (!FCurrentKey) return;
  DWORD count = 0, maxLength = 0;
  if (RegQueryInfoKeyW(FCurrentKey, nullptr, nullptr, nullptr, &count, &maxLength, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return;
  std::vector<wchar_t> name(maxLength + 1);
  for (DWORD i = 0; i < count; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumKeyExW(FCurrentKey, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
      strings.Add(FromWStr(name.data(), length));
  }
}

void TRegistry::GetValueNames(TStrings& strings) const {
  strings.Clear();
  if (!FCurrentKey) return;
  DWORD count = 0, maxLength = 0;
  if (RegQueryInfoKeyW(FCurrentKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxLength, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return;
  std::vector<wchar_t> name(maxLength + 1);
  for (DWORD i = 0; i < count; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumValueW(FCurrentKey, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
      strings.Add(FromWStr(name.data(), length));
  }
}

bool TRegistry::ValueExists(const String& name) const {
  TRegDataInfo info;
  return GetDataInfo(name, info);
}

bool TRegistry::DeleteValue(const String& name) {
  return FCurrentKey && RegDeleteValueW(FCurrentKey, WStr(name)) == ERROR_SUCCESS;
}

bool TRegistry::GetDataInfo(const String& name, TRegDataInfo& info) const {
  info = TRegDataInfo{};
  DWORD type = REG_NONE, size = 0;
  if (!FCurrentKey || RegQueryValueExW(FCurrentKey, WStr(name), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  info.RegData = DataTypeOf(type);
  info.DataSize = static_cast<Integer>(size);
  return true;
}

Integer TRegistry::GetDataSize(const String& name) const {
  TRegDataInfo info;
  return GetDataInfo(name, info) ? info.DataSize : -1;
}

TRegDataType TRegistry::GetDataType(const String& name) const {
  TRegDataInfo info;
  GetDataInfo(name, info);
  return info.RegData;
}

std::vector<Byte> TRegistry::ReadRaw(const String& name, DWORD& type) const {
  if (!FCurrentKey) RaiseRegistry(u"Failed to get data for '%s'", name);
  std::vector<Byte> data;
  // The value may grow between asking its size and reading it.
  for (;;) {
    DWORD size = static_cast<DWORD>(data.size());
    LONG status =
        RegQueryValueExW(FCurrentKey, WStr(name), nullptr, &type, data.empty() ? nullptr : data.data(), &size);
    if (status == ERROR_SUCCESS && (!data.empty() || size == 0)) {
      data.resize(size);
      return data;
    }
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) RaiseRegistry(u"Failed to get data for '%s'", name);
    data.resize(size);
  }
}

void TRegistry::WriteRaw(const String& name, DWORD type, const void* data, DWORD size) {
  if (!FCurrentKey ||
      RegSetValueExW(FCurrentKey, WStr(name), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
    RaiseRegistry(u"Failed to set data for '%s'", name);
}

String TRegistry::ReadString(const String& name) const {
  if (!ValueExists(name)) return {};
  DWORD type = REG_NONE;
  std::vector<Byte> data = ReadRaw(name, type);
  if (type != REG_SZ && type != REG_EXPAND_SZ) RaiseRegistry(u"Invalid data type for '%s'", name);
  // Stored text need not end with a null, nor stop at the first one.
  String text(data.size() / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * 2);
  size_t end = text.find(u'\0');
  if (end != String::npos) text.resize(end);
  return text;
}

void TRegistry::WriteString(const String& name, const String& value) {
  WriteRaw(name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * 2));
}

void TRegistry::WriteExpandString(const String& name, const String& value) {
  WriteRaw(name, REG_EXPAND_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * 2));
}

Integer TRegistry::ReadInteger(const String& name) const {
  DWORD type = REG_NONE;
  std::vector<Byte> data = ReadRaw(name, type);
  if (type != REG_DWORD || data.size() != sizeof(DWORD)) RaiseRegistry(u"Invalid data type for '%s'", name);
  Integer value = 0;
  std::memcpy(&value, data.data(), sizeof value);
  return value;
}

void TRegistry::WriteInteger(const String& name, Integer value) {
  DWORD data = static_cast<DWORD>(value);
  WriteRaw(name, REG_DWORD, &data, sizeof data);
}

bool TRegistry::ReadBool(const String& name) const {
  return ReadInteger(name) != 0;
}

void TRegistry::WriteBool(const String& name, bool value) {
  WriteInteger(name, value ? 1 : 0);
}

Integer TRegistry::ReadBinaryData(const String& name, void* buffer, Integer bufSize) const {
  if (!ValueExists(name)) return 0;
  DWORD type = REG_NONE;
  std::vector<Byte> data = ReadRaw(name, type);
  TRegDataType kind = DataTypeOf(type);
  if ((kind != rdBinary && kind != rdUnknown) || static_cast<Int64>(data.size()) > bufSize || (bufSize > 0 && !buffer))
    RaiseRegistry(u"Invalid data type for '%s'", name);
  if (!data.empty()) std::memcpy(buffer, data.data(), data.size());
  return static_cast<Integer>(data.size());
}

std::vector<Byte> TRegistry::ReadBinaryData(const String& name) const {
  if (!ValueExists(name)) return {};
  DWORD type = REG_NONE;
  std::vector<Byte> data = ReadRaw(name, type);
  TRegDataType kind = DataTypeOf(type);
  if (kind != rdBinary && kind != rdUnknown) RaiseRegistry(u"Invalid data type for '%s'", name);
  return data;
}

void TRegistry::WriteBinaryData(const String& name, const void* buffer, Integer bufSize) {
  if (bufSize < 0 || (bufSize > 0 && !buffer)) RaiseRegistry(u"Failed to set data for '%s'", name);
  WriteRaw(name, REG_BINARY, buffer, static_cast<DWORD>(bufSize));
}
