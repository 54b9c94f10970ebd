#include "app/win32/sysinfo_win32.h"

#include <lmcons.h>
#include <shlobj.h>

#include "app/systeminfo.h"
#include "rtl/datetime.h"

namespace {

TSystemRecord& Record() {
  static TSystemRecord record;
  return record;
}

REGSAM ReadAccess() {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  return KEY_READ | (wow64 ? KEY_WOW64_64KEY : 0);
}

String ReadRegString(HKEY root, const wchar_t* key, const wchar_t* value) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key, 0, ReadAccess(), &handle) != ERROR_SUCCESS) return {};
  DWORD type = 0;
  String result;
  if (RegQueryValueExW(handle, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ))
    result = FromWStr(buffer);
  RegCloseKey(handle);
  return result;
}

DWORD ReadRegDword(HKEY root, const wchar_t* key, const wchar_t* value) {
  DWORD data = 0, size = sizeof data, type = 0;
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key, 0, ReadAccess(), &handle) != ERROR_SUCCESS) return 0;
  if (RegQueryValueExW(handle, value, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    data = 0;
  RegCloseKey(handle);
  return data;
}

bool KeyExists(HKEY root, const wchar_t* key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key, 0, ReadAccess(), &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

// The disk flags of the device keys below a bus key.
Byte DiskFlags(const wchar_t* busKey) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, busKey, 0, ReadAccess(), &handle) != ERROR_SUCCESS) return 0;
  Byte flags = 0;
  wchar_t name[256];
  for (DWORD i = 0; i < 1024; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    flags |= VirtualDiskFlag(FromWStr(name, length));
  }
  RegCloseKey(handle);
  return flags;
}

String FirstSubKey(HKEY root, const wchar_t* key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key, 0, ReadAccess(), &handle) != ERROR_SUCCESS) return {};
  wchar_t name[256];
  DWORD length = 256;
  String result;
  if (RegEnumKeyExW(handle, 0, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
    result = FromWStr(name, length);
  RegCloseKey(handle);
  return result;
}

// The entry points of the network-account library the record binds by name.
constexpr const char* kNetApiNames[] = {
    "NetQueryDisplayInformation", "NetStatisticsGet", "NetWkstaGetInfo", "NetWkstaUserGetInfo", "NetUserEnum",
    "NetWkstaUserEnum", "NetWkstaTransportEnum", "NetServerTransportEnum", "NetUserGetInfo", "NetUserSetInfo",
    "NetUserAdd", "NetUserDel", "NetUserGetGroups", "NetUserGetLocalGroups", "NetGroupEnum", "NetLocalGroupEnum",
    "NetGroupGetUsers", "NetLocalGroupGetMembers", "NetLocalGroupAddMembers", "NetLocalGroupDelMembers",
    "NetServerEnum", "NetShareEnum", "NetShareDel", "NetSessionEnum", "NetSessionDel", "NetConnectionEnum",
    "NetFileEnum", "NetFileClose", "NetApiBufferFree", "NetApiBufferReallocate", "NetApiBufferSize",
    "NetScheduleJobEnum", "NetScheduleJobDel", "NetScheduleJobAdd", "NetScheduleJobGetInfo", "NetUseAdd",
    "NetUseDel", "NetUseEnum", "NetUseGetInfo", "NetServerGetInfo", "NetGetDCName", "NetGetAnyDCName",
    "NetRemoteTOD", "NetShareGetInfo", "NetShareCheck", "DsGetDcNameA", "DsGetSiteNameA", "DsGetDcOpenA",
    "DsGetDcNextA", "DsGetDcCloseW", "NetRenameMachineInDomain", "NetGetJoinInformation"};

bool BindNetApi() {
  HMODULE library = GetModuleHandleW(L"netapi32.dll");
  if (!library) library = LoadLibraryW(L"netapi32.dll");
  if (!library) return false;
  bool workstation = false;
  for (const char* name : kNetApiNames) {
    FARPROC entry = GetProcAddress(library, name);
    if (entry && std::string_view(name) == "NetWkstaGetInfo") workstation = true;
  }
  return workstation;
}

constexpr const wchar_t* kCurrentVersion = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

void Gather(TSystemRecord& r) {
  GetNativeSystemInfo(&r.SystemInfo);
  r.Version.dwOSVersionInfoSize = sizeof r.Version;
  using RtlGetVersionProc = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll"))
    if (auto proc = reinterpret_cast<RtlGetVersionProc>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion"))))
      proc(&r.Version);
  r.EnvironmentFlags = DiskFlags(L"SYSTEM\\CurrentControlSet\\Enum\\IDE") |
                       DiskFlags(L"SYSTEM\\CurrentControlSet\\Enum\\SCSI");
  if (ReadRegString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", L"GinaDLL") ==
          u"CTXGINA" ||
      KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Citrix\\GoToAssist\\ConnectionInfo\\LastGood\\0000"))
    r.EnvironmentFlags |= efCitrixAssistance;
  r.EnvironmentFlags |= GetSystemMetrics(SM_REMOTESESSION) ? efRemoteSession : efLocalSession;
  r.ProductName = ReadRegString(HKEY_LOCAL_MACHINE, kCurrentVersion, L"ProductName");
  r.Edition = ShortenEditionName(r.ProductName);
  r.BuildLab = ReadRegString(HKEY_LOCAL_MACHINE, kCurrentVersion, L"BuildLabEx");
  if (r.BuildLab.empty()) r.BuildLab = ReadRegString(HKEY_LOCAL_MACHINE, kCurrentVersion, L"BuildLab");
  r.InstallationType = ReadRegString(HKEY_LOCAL_MACHINE, kCurrentVersion, L"InstallationType");
  if (DWORD seconds = ReadRegDword(HKEY_LOCAL_MACHINE, kCurrentVersion, L"InstallDate"))
    r.InstallDate = 25569.0 + seconds / 86400.0;  // days from 1899-12-30 to 1970-01-01
  wchar_t buffer[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (GetComputerNameW(buffer, &size)) r.ComputerName = FromWStr(buffer, size);
  const String registered = ReadRegString(
      HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName", L"ComputerName");
  if (!registered.empty()) r.ComputerName = registered;
  size = MAX_PATH;
  if (GetUserNameW(buffer, &size)) r.UserName = FromWStr(buffer);
  r.AccountName = FirstSubKey(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\IdentityCRL\\UserExtendedProperties");
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, 0, buffer))) r.ProfileFolder = FromWStr(buffer);
  for (int i = 0; i < 26; ++i) {
    const wchar_t drive[3] = {static_cast<wchar_t>(L'a' + i), L':', 0};
    wchar_t device[MAX_PATH] = {};
    if (QueryDosDeviceW(drive, device, MAX_PATH)) r.Drives[static_cast<size_t>(i)] = FromWStr(device);
  }
  r.AnsiCodePage = GetACP();
  r.NetworkBound = BindNetApi();
}

}  // namespace

const TSystemRecord& SystemRecord() {
  return Record();
}

void GatherSystemRecord() {
  try {
    Gather(Record());
  } catch (...) {
    // Nothing of this may stop the program.
  }
}
