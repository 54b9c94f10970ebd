#include <windows.h>

#include "services/utilbase.h"

namespace {

using GetNativeSystemInfoProc = void(WINAPI*)(LPSYSTEM_INFO);

// The native architecture, also for a 32-bit program on a 64-bit system.
SYSTEM_INFO NativeSystemInfo() {
  SYSTEM_INFO info{};
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto native = kernel != nullptr ? reinterpret_cast<GetNativeSystemInfoProc>(
                                              reinterpret_cast<void*>(GetProcAddress(kernel, "GetNativeSystemInfo")))
                                        : nullptr;
  if (native != nullptr) {
    native(&info);
  } else {
    GetSystemInfo(&info);
  }
  return info;
}

TSystemInformation ReadSystemInformation() {
  SYSTEM_INFO system{};
  GetSystemInfo(&system);
  TSystemInformation info;
  info.ProcessorCount = system.dwNumberOfProcessors;
  info.PageSize = system.dwPageSize;
  info.AllocationGranularity = system.dwAllocationGranularity;
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  info.IsWinNT = !GetVersionExW(&version) || version.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
  const WORD architecture = NativeSystemInfo().wProcessorArchitecture;
  info.IsWindows64 = architecture == PROCESSOR_ARCHITECTURE_AMD64 || architecture == PROCESSOR_ARCHITECTURE_IA64;
  return info;
}

}  // namespace

const TSystemInformation& SystemInformation() {
  static const TSystemInformation info = ReadSystemInformation();
  return info;
}

bool IsWindowsVersionOrGreater(Cardinal major, Cardinal minor) {
  OSVERSIONINFOEXW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  version.dwMajorVersion = major;
  version.dwMinorVersion = minor;
  ULONGLONG condition = 0;
  condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
  condition = VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
  return VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION, condition) != FALSE;
}

AnsiChar AnsiReplacementChar() {
  static const AnsiChar replacement = [] {
    CPINFO info{};
    if (!GetCPInfo(CP_ACP, &info)) throw EUtInternalError(kUtNoAnsiReplacementChar);
    return static_cast<AnsiChar>(info.DefaultChar[0]);
  }();
  return replacement;
}
