#include "services/win32/windowsregistry.h"

#include <windows.h>

#include <vector>

namespace {

// The predefined keys are sign-extended 32-bit values in a handle.
HKEY ToHKey(TRegHandle key) {
  if (IsPredefinedRegKey(key)) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(key))));
  }
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
}

TRegHandle FromHKey(HKEY key) {
  return static_cast<TRegHandle>(reinterpret_cast<ULONG_PTR>(key));
}

// A zero-terminated copy for the API.
std::wstring ToWide(StringView text) {
  return std::wstring(text.begin(), text.end());
}

String RegistryText(const wchar_t* text, size_t length) {
  return String(text, text + length);
}

}  // namespace

Integer TWindowsRegistry::OpenKey(TRegHandle parent, StringView subKey, Cardinal access, TRegHandle& key) {
  HKEY opened = nullptr;
  const LONG error = RegOpenKeyExW(ToHKey(parent), ToWide(subKey).c_str(), 0, access, &opened);
  key = error == ERROR_SUCCESS ? FromHKey(opened) : 0;
  return error;
}

Integer TWindowsRegistry::CreateKey(TRegHandle parent, StringView subKey, Cardinal access, TRegHandle& key) {
  HKEY created = nullptr;
  const LONG error = RegCreateKeyExW(ToHKey(parent), ToWide(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     access, nullptr, &created, nullptr);
  key = error == ERROR_SUCCESS ? FromHKey(created) : 0;
  return error;
}

Integer TWindowsRegistry::CloseKey(TRegHandle key) {
  if (IsPredefinedRegKey(key)) return ERROR_SUCCESS;
  return RegCloseKey(ToHKey(key));
}

Integer TWindowsRegistry::QueryInfoKey(TRegHandle key, TRegKeyInfo& info) {
  DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxValue = 0;
  const LONG error = RegQueryInfoKeyW(ToHKey(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values,
                                      &maxValueName, &maxValue, nullptr, nullptr);
  info = TRegKeyInfo{};
  if (error == ERROR_SUCCESS) info = TRegKeyInfo{subKeys, maxSubKey, values, maxValueName, maxValue};
  return error;
}

Integer TWindowsRegistry::EnumKey(TRegHandle key, Cardinal index, Cardinal capacity, String& name) {
  name.clear();
  std::vector<wchar_t> buffer(capacity + 1, L'\0');
  DWORD length = capacity;
  const LONG error = RegEnumKeyExW(ToHKey(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
  if (error == ERROR_SUCCESS) name = RegistryText(buffer.data(), length);
  return error;
}

Integer TWindowsRegistry::EnumValue(TRegHandle key, Cardinal index, Cardinal capacity, String& name) {
  name.clear();
  std::vector<wchar_t> buffer(capacity + 1, L'\0');
  DWORD length = capacity;
  const LONG error = RegEnumValueW(ToHKey(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
  if (error == ERROR_SUCCESS) name = RegistryText(buffer.data(), length);
  return error;
}

Integer TWindowsRegistry::QueryValue(TRegHandle key, StringView name, Cardinal& type, Byte* data, Cardinal& size) {
  DWORD valueType = REG_NONE;
  DWORD valueSize = data != nullptr ? size : 0;
  const LONG error = RegQueryValueExW(ToHKey(key), ToWide(name).c_str(), nullptr, &valueType, data, &valueSize);
  if (error == ERROR_SUCCESS || error == ERROR_MORE_DATA) {
    type = valueType;
    size = valueSize;
  }
  return error;
}

Integer TWindowsRegistry::SetValue(TRegHandle key, StringView name, Cardinal type, const Byte* data, Cardinal size) {
  return RegSetValueExW(ToHKey(key), ToWide(name).c_str(), 0, type, data, size);
}

Integer TWindowsRegistry::DeleteValue(TRegHandle key, StringView name) {
  return RegDeleteValueW(ToHKey(key), ToWide(name).c_str());
}

Integer TWindowsRegistry::DeleteKey(TRegHandle parent, StringView subKey) {
  // An empty name would delete the handle's own key; the interface refuses it.
  if (subKey.empty()) return ERROR_ACCESS_DENIED;
  return RegDeleteKeyW(ToHKey(parent), ToWide(subKey).c_str());
}

TRawRegistry& PlatformRegistry() {
  static TWindowsRegistry registry;
  return registry;
}
