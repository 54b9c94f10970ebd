#include "app/win32/sysinfo_win32.h"

#include <lmcons.h>
#include <shlobj.h>

#include <memory>

#include "app/systeminfo.h"
#include "rtl/datetime.h"
#include "rtl/format.h"
#include "rtl/exceptions.h"
#include "services/fileversion.h"

namespace {

TSystemRecord& Record() {
  static TSystemRecord record;
  return record;
}

// Whether this 32-bit process runs on a 64-bit system; false where the
// question cannot be asked.
bool UnderWow64() {
  using IsWow64Proc = BOOL(WINAPI*)(HANDLE, BOOL*);
  const auto proc = reinterpret_cast<IsWow64Proc>(reinterpret_cast<void*>(Record().EntryPoints.IsWow64Process));
  BOOL wow64 = FALSE;
  return proc && proc(GetCurrentProcess(), &wow64) && wow64;
}

REGSAM ReadAccess() {
  return KEY_READ | (UnderWow64() ? KEY_WOW64_64KEY : 0);
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

// The network-account library when the record loaded it itself.
HMODULE& LoadedNetApi() {
  static HMODULE library = nullptr;
  return library;
}

bool BindNetApi() {
  HMODULE library = GetModuleHandleW(L"netapi32.dll");
  if (!library) library = LoadedNetApi() = LoadLibraryW(L"netapi32.dll");
  if (!library) return false;
  bool workstation = false;
  for (const char* name : kNetApiNames) {
    FARPROC entry = GetProcAddress(library, name);
    if (entry && std::string_view(name) == "NetWkstaGetInfo") workstation = true;
  }
  return workstation;
}

constexpr const wchar_t* kCurrentVersion = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

template <typename Proc>
Proc Bound(FARPROC entry) {
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(entry));
}

String SystemFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? FromWStr(buffer, length) : String();
}

String WindowsFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? FromWStr(buffer, length) : String();
}

void Gather(TSystemRecord& r) {
  r.EntryPoints = BindOptionalEntryPoints(GetModuleHandleW(L"kernel32.dll"), GetModuleHandleW(L"user32.dll"),
                                          LoadLibraryW(L"psapi.dll"));
  using SystemInfoProc = void(WINAPI*)(SYSTEM_INFO*);
  if (auto native = Bound<SystemInfoProc>(r.EntryPoints.GetNativeSystemInfo))
    native(&r.SystemInfo);
  else
    GetSystemInfo(&r.SystemInfo);
  r.Version.dwOSVersionInfoSize = sizeof r.Version;
  using RtlGetVersionProc = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll"))
    if (auto proc = reinterpret_cast<RtlGetVersionProc>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion"))))
      proc(&r.Version);
  BindShellOrdinals(r.EntryPoints, LoadLibraryW(L"shell32.dll"), r.Version.dwMajorVersion);
  r.EnvironmentFlags = DiskFlags(L"SYSTEM\\CurrentControlSet\\Enum\\IDE") |
                       DiskFlags(L"SYSTEM\\CurrentControlSet\\Enum\\SCSI");
  if (ReadRegString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", L"GinaDLL") ==
          u"CTXGINA" ||
      KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Citrix\\GoToAssist\\ConnectionInfo\\LastGood\\0000"))
    r.EnvironmentFlags |= efCitrixAssistance;
  r.EnvironmentFlags |= GetSystemMetrics(SM_REMOTESESSION) ? efRemoteSession : efLocalSession;
  r.ProductName = ReadRegString(HKEY_LOCAL_MACHINE, kCurrentVersion, L"ProductName");
  using ProductInfoProc = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, DWORD*);
  DWORD productCode = 0;
  if (auto productInfo = Bound<ProductInfoProc>(r.EntryPoints.GetProductInfo);
      productInfo && productInfo(r.Version.dwMajorVersion, r.Version.dwMinorVersion, r.Version.wServicePackMajor,
                                 r.Version.wServicePackMinor, &productCode)) {
    r.ProductCode = productCode;
    r.Edition = ProductEditionName(productCode);
  } else {
    r.Edition = ShortenEditionName(r.ProductName);
  }
  TOsVersionFacts facts;
  facts.Major = r.Version.dwMajorVersion;
  facts.Minor = r.Version.dwMinorVersion;
  facts.Build = r.Version.dwBuildNumber;
  facts.PlatformId = r.Version.dwPlatformId;
  facts.ProductType = r.Version.wProductType;
  facts.SuiteMask = r.Version.wSuiteMask;
  facts.ServicePack = FromWStr(r.Version.szCSDVersion);
  facts.ServerR2 = GetSystemMetrics(SM_SERVERR2) != 0;
  facts.Starter = GetSystemMetrics(SM_STARTER) != 0;
  facts.TabletPC = GetSystemMetrics(SM_TABLETPC) != 0;
  facts.MediaCenter = GetSystemMetrics(SM_MEDIACENTER) != 0;
  facts.Is64Bit = r.SystemInfo.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
                  r.SystemInfo.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
  constexpr const wchar_t* kWinPE = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\WinPE";
  facts.WinPE = KeyExists(HKEY_LOCAL_MACHINE, kWinPE);
  if (facts.WinPE) facts.WinPEVersion = ReadRegString(HKEY_LOCAL_MACHINE, kWinPE, L"Version");
  r.SystemName = ShortSystemName(facts);
  r.OperatingSystem = OperatingSystemName(facts);
  try {
    r.KernelVersion = TUtFileVersionInfo(SystemFolder() + u"\\kernel32.dll").ProductVersion();
  } catch (const Exception&) {
    // No version record: the version stays empty.
  }
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

TOptionalEntryPoints BindOptionalEntryPoints(HMODULE kernel, HMODULE user, HMODULE psapi) {
  TOptionalEntryPoints e;
  const auto bind = [](HMODULE module, const char* name) { return module ? GetProcAddress(module, name) : nullptr; };
  e.SetProcessAffinityMask = bind(kernel, "SetProcessAffinityMask");
  e.OpenThread = bind(kernel, "OpenThread");
  e.GetNativeSystemInfo = bind(kernel, "GetNativeSystemInfo");
  e.VerSetConditionMask = bind(kernel, "VerSetConditionMask");
  e.VerifyVersionInfo = bind(kernel, "VerifyVersionInfoW");
  e.IsWow64Process = bind(kernel, "IsWow64Process");
  e.ProcessIdToSessionId = bind(kernel, "ProcessIdToSessionId");
  e.GetSystemTimes = bind(kernel, "GetSystemTimes");
  e.GetProductInfo = bind(kernel, "GetProductInfo");
  e.GlobalMemoryStatusEx = bind(kernel, "GlobalMemoryStatusEx");
  e.CreateProcessWithLogonW = bind(kernel, "CreateProcessWithLogonW");
  e.GetLongPathNameW = bind(kernel, "GetLongPathNameW");
  e.QueryFullProcessImageNameW = bind(kernel, "QueryFullProcessImageNameW");
  e.GetFinalPathNameByHandleW = bind(kernel, "GetFinalPathNameByHandleW");
  e.GetLogicalProcessorInformation = bind(kernel, "GetLogicalProcessorInformation");
  e.GetTickCount64 = bind(kernel, "GetTickCount64");
  e.LockWorkStation = bind(user, "LockWorkStation");
  e.IsHungAppWindow = bind(user, "IsHungAppWindow");
  e.HungWindowFromGhostWindow = bind(user, "HungWindowFromGhostWindow");
  e.GhostWindowFromHungWindow = bind(user, "GhostWindowFromHungWindow");
  e.DisableProcessWindowsGhosting = bind(user, "DisableProcessWindowsGhosting");
  e.GetProcessMemoryInfo = bind(psapi, "GetProcessMemoryInfo");
  return e;
}

void BindShellOrdinals(TOptionalEntryPoints& entries, HMODULE shell, Cardinal majorVersion) {
  // The run and shut-down dialogs; from version 6 on also the administrator
  // question and the restart dialog.
  constexpr WORD kOrdinals[] = {61, 60, 680, 730};
  for (size_t i = 0; i < entries.ShellOrdinals.size(); ++i) {
    const bool available = i < 2 || majorVersion >= 6;
    entries.ShellOrdinals[i] =
        shell && available ? GetProcAddress(shell, MAKEINTRESOURCEA(kOrdinals[i])) : nullptr;
  }
}

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

void ReleaseSystemRecord() {
  HMODULE& library = LoadedNetApi();
  if (!library) return;
  HMODULE handle = library;
  library = nullptr;
  Record().NetworkBound = false;
  if (!FreeLibrary(handle))
    throw Exception(Format(u"Unload Error: %s - 0x%x",
                           {String(u"netapi32.dll"), static_cast<Int64>(reinterpret_cast<UINT_PTR>(handle))}));
}

void EnvironmentList(TStrings& lines) {
  wchar_t* block = GetEnvironmentStringsW();
  EnvironmentLines(reinterpret_cast<const char16_t*>(block), lines);
  if (block) FreeEnvironmentStringsW(block);
}

String WindowsAndSystemFolders() {
  return WindowsFolder() + u";" + SystemFolder();
}

String SpecialFolderPath(int folder) {
  wchar_t buffer[MAX_PATH] = {};
  return SUCCEEDED(SHGetFolderPathW(nullptr, folder, nullptr, 0, buffer)) ? FromWStr(buffer) : String();
}

String ProfileFolderOfSid(const String& sidText) {
  if (sidText.empty()) return {};
  const String key = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\" + sidText;
  return ExpandEnvironment(ReadRegString(HKEY_LOCAL_MACHINE, WStr(key), L"ProfileImagePath"));
}

String ExpandEnvironment(const String& text) {
  if (text.empty()) return {};
  const DWORD size = ExpandEnvironmentStringsW(WStr(text), nullptr, 0);
  if (size == 0) return text;
  std::wstring buffer(size, L'\0');
  const DWORD written = ExpandEnvironmentStringsW(WStr(text), buffer.data(), size);
  if (written == 0 || written > size) return text;
  return FromWStr(buffer.c_str());
}

String AccountSecurityId(const String& machine, const String& account) {
  if (account.empty()) return {};
  DWORD sidSize = 0, domainSize = 0;
  SID_NAME_USE use{};
  LookupAccountNameW(machine.empty() ? nullptr : WStr(machine), WStr(account), nullptr, &sidSize, nullptr,
                     &domainSize, &use);
  if (sidSize == 0) return {};
  std::vector<BYTE> sid(sidSize);
  std::wstring domain(domainSize + 1, L'\0');
  if (!LookupAccountNameW(machine.empty() ? nullptr : WStr(machine), WStr(account), sid.data(), &sidSize,
                          domain.data(), &domainSize, &use) ||
      !IsValidSid(sid.data()))
    return {};
  const SID_IDENTIFIER_AUTHORITY* authority = GetSidIdentifierAuthority(sid.data());
  UInt64 value = 0;
  for (BYTE part : authority->Value) value = (value << 8) | part;
  std::vector<Cardinal> subs;
  for (UCHAR i = 0; i < *GetSidSubAuthorityCount(sid.data()); ++i) subs.push_back(*GetSidSubAuthority(sid.data(), i));
  return SecurityIdText(value, subs);
}
