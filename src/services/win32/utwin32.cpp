#include "services/win32/utwin32.h"

#include <vector>

#include "rtl/files.h"
#include "rtl/format.h"
#include "services/machine.h"

namespace {

std::wstring Wide(StringView text) {
  return std::wstring(text.begin(), text.end());
}

String FromWide(const wchar_t* text, size_t length) {
  return String(text, text + length);
}

using GetFileVersionInfoSizeProc = DWORD WINAPI(LPCWSTR, LPDWORD);
using GetFileVersionInfoProc = BOOL WINAPI(LPCWSTR, DWORD, DWORD, LPVOID);
using QueryFullProcessImageNameProc = BOOL WINAPI(HANDLE, DWORD, LPWSTR, PDWORD);
using GetModuleFileNameExProc = DWORD WINAPI(HANDLE, HMODULE, LPWSTR, DWORD);

class TWindowsVersionSource final : public IVersionInfoSource {
 public:
  bool FileExists(const String& fileName) const override { return ::FileExists(fileName); }

  bool ReadVersionBlock(const String& fileName, TBytes& block) const override {
    static GetFileVersionInfoSizeProc* getSize = nullptr;
    static GetFileVersionInfoProc* getInfo = nullptr;
    BindProcedure(getSize, u"version.dll", u"GetFileVersionInfoSizeW");
    BindProcedure(getInfo, u"version.dll", u"GetFileVersionInfoW");
    const std::wstring name = Wide(fileName);
    DWORD handle = 0;
    const DWORD size = getSize(name.c_str(), &handle);
    if (size == 0) return false;
    block.assign(size, 0);
    if (!getInfo(name.c_str(), 0, size, block.data())) throw EUtWin32Error(String());
    return true;
  }
};

}  // namespace

void BindProcedure(void*& proc, const String& moduleName, const String& procName) {
  if (proc != nullptr) return;
  const std::wstring module = Wide(moduleName);
  HMODULE handle = GetModuleHandleW(module.c_str());
  if (handle == nullptr) {
    const UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    handle = LoadLibraryW(module.c_str());
    SetErrorMode(oldMode);
  }
  if (handle == nullptr) throw EUtError(Format(kUtLibraryNotFound, {moduleName}));
  const std::string ansiName(procName.begin(), procName.end());
  void* address = reinterpret_cast<void*>(GetProcAddress(handle, ansiName.c_str()));
  if (address == nullptr) throw EUtError(Format(kUtFunctionNotFound, {moduleName, procName}));
  proc = address;
}

String ModulePath(HMODULE module) {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameW(module, buffer, MAX_PATH + 1);
  return FromWide(buffer, length);
}

String ProcessImagePath(HWND window) {
  if (!IsWindowsVersionOrGreater(5, 0)) throw EUtWin32Error(u"This windows version is not supported");
  if (window == nullptr) {
    throw EUtError(Format(u"The window with handle %d is not valid", {static_cast<Int64>(0)}));
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (process == nullptr) throw EUtError(Format(u"The process with ID %d is not valid", {processId}));
  wchar_t buffer[301];
  DWORD length = 0;
  try {
    if (IsWindowsVersionOrGreater(6, 0)) {
      static QueryFullProcessImageNameProc* query = nullptr;
      BindProcedure(query, u"Kernel32.dll", u"QueryFullProcessImageNameW");
      length = 301;
      if (!query(process, 0, buffer, &length)) length = 0;
    } else {
      static GetModuleFileNameExProc* query = nullptr;
      BindProcedure(query, u"Psapi.dll", u"GetModuleFileNameExW");
      length = query(process, nullptr, buffer, 301);
    }
  } catch (...) {
    CloseHandle(process);
    throw;
  }
  CloseHandle(process);
  return FromWide(buffer, length);
}

void UnloadLibrary(HMODULE& module) {
  if (module != nullptr) FreeLibrary(module);
  module = nullptr;
}

String CompactPath(HDC dc, const String& path, Integer width, TCompactPathFormat format) {
  if (dc == nullptr || path.empty() || width <= 0) return String();
  // DrawTextEx writes the shortened text into the buffer; it may grow by the ellipsis.
  std::vector<wchar_t> buffer(path.size() + 5, L'\0');
  std::copy(path.begin(), path.end(), buffer.begin());
  RECT rect{0, 0, width, 255};
  // An ampersand in a path is a character, not an accelerator prefix.
  const UINT flags =
      (format == cpfPathEllipsis ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS) | DT_MODIFYSTRING | DT_CALCRECT | DT_NOPREFIX;
  if (DrawTextExW(dc, buffer.data(), static_cast<int>(path.size()), &rect, flags, nullptr) == 0) return String();
  size_t length = 0;
  while (length < buffer.size() && buffer[length] != L'\0') ++length;
  return FromWide(buffer.data(), length);
}

std::unique_ptr<TUtFileVersionInfo> ModuleVersionInfo(HMODULE module) {
  if (module == nullptr) {
    throw EUtError(Format(u"The Module with handle %d is not valid", {static_cast<Int64>(0)}));
  }
  return std::make_unique<TUtFileVersionInfo>(ModulePath(module));
}

std::unique_ptr<TUtFileVersionInfo> WindowVersionInfo(HWND window) {
  return std::make_unique<TUtFileVersionInfo>(ProcessImagePath(window));
}

const IVersionInfoSource& PlatformVersionInfoSource() {
  static const TWindowsVersionSource source;
  return source;
}
