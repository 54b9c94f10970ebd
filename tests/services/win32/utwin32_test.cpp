#include "services/win32/utwin32.h"

#include <gtest/gtest.h>

#include "rtl/files.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"
#include "services/machine.h"

namespace {

template <typename F>
String UtErrorOf(F&& action) {
  try {
    action();
  } catch (const EUtError& e) {
    return e.Message();
  }
  return u"<no EUtError>";
}

String SystemFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  return String(folder, folder + length) + u"\\" + String(name, name + wcslen(name));
}

TEST(BindProcedure, BindsOnceAndNamesWhatIsMissing) {
  using GetTickCountProc = DWORD WINAPI();
  GetTickCountProc* proc = nullptr;
  BindProcedure(proc, u"kernel32.dll", u"GetTickCount");
  ASSERT_NE(proc, nullptr);
  GetTickCountProc* const first = proc;
  // A bound procedure is kept, whatever is asked the second time.
  BindProcedure(proc, u"kernel32.dll", u"NoSuchFunction");
  EXPECT_EQ(proc, first);
  EXPECT_GT(proc(), 0u);
  void* missing = nullptr;
  EXPECT_EQ(UtErrorOf([&] { BindProcedure(missing, u"kernel32.dll", u"NoSuchFunction"); }),
            u"Function not found: kernel32.dll.NoSuchFunction");
  EXPECT_EQ(UtErrorOf([&] { BindProcedure(missing, u"no-such-library.dll", u"F"); }),
            u"Library not found: no-such-library.dll");
  EXPECT_EQ(missing, nullptr);
}

TEST(ModulePaths, ProgramAndWindowProcess) {
  const String program = ModulePath(nullptr);
  EXPECT_TRUE(EndsText(u"services_tests.exe", program)) << StringToUTF8(program);
  EXPECT_EQ(PlatformMachine().ProgramPath(), program);
  EXPECT_EQ(UtErrorOf([] { ProcessImagePath(nullptr); }), u"The window with handle 0 is not valid");
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(SameText(ExtractFileName(ProcessImagePath(window)), u"services_tests.exe"));
  DestroyWindow(window);
}

TEST(FileVersionInfo, PlatformResourceOfASystemLibrary) {
  const auto info = std::make_unique<TUtFileVersionInfo>(SystemFile(L"kernel32.dll"));
  EXPECT_FALSE(info->FileVersion().empty());
  EXPECT_GE(info->LanguageCount(), 1);
  EXPECT_EQ(info->FixedInfo().dwSignature, kVSFixedFileInfoSignature);
  EXPECT_TRUE(FileHasVersionInfo(SystemFile(L"kernel32.dll")));
  const auto module = ModuleVersionInfo(GetModuleHandleW(L"kernel32.dll"));
  EXPECT_EQ(module->FileVersion(), info->FileVersion());
  EXPECT_EQ(UtErrorOf([] { ModuleVersionInfo(nullptr); }), u"The Module with handle 0 is not valid");
}

TEST(FileVersionInfo, ProgramWithoutVersionResource) {
  EXPECT_EQ(UtErrorOf([] { TUtFileVersionInfo info(ModulePath(nullptr)); }),
            u"File contains no version information");
  EXPECT_EQ(UtErrorOf([] { TUtFileVersionInfo info(u"C:\\no\\such\\file.exe"); }),
            u"The file C:\\no\\such\\file.exe does not exist");
}

TEST(CompactPath, FitsPathsIntoWidths) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  const String path = u"C:\\Projects\\Forms\\MainForm.dfm";
  EXPECT_EQ(CompactPath(dc, path, 2000, cpfPathEllipsis), path);
  const String compact = CompactPath(dc, u"C:\\A very long folder name\\another long folder\\Main.dfm", 120,
                                     cpfPathEllipsis);
  EXPECT_NE(compact.find(u"..."), String::npos) << StringToUTF8(compact);
  EXPECT_TRUE(EndsStr(u"Main.dfm", compact)) << StringToUTF8(compact);
  EXPECT_EQ(CompactPath(dc, path, 0, cpfEndEllipsis), u"");
  EXPECT_EQ(CompactPath(nullptr, path, 100, cpfEndEllipsis), u"");
  DeleteDC(dc);
}

TEST(SystemInformation, FromThePlatform) {
  EXPECT_GE(SystemInformation().ProcessorCount, 1u);
  EXPECT_EQ(SystemInformation().AllocationGranularity, 65536u);
  EXPECT_TRUE(SystemInformation().IsWinNT);
  EXPECT_TRUE(IsWindowsVersionOrGreater(5, 1));
  EXPECT_NE(AnsiReplacementChar(), '\0');
}

}  // namespace
