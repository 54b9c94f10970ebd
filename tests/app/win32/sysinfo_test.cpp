// The system facts on a system that lacks some of the optional entry
// points: binding them never fails, and the record fills what it can.
#include "ui/winapi.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include "app/win32/sysinfo_win32.h"
#include "rtl/stringlist.h"

namespace {

TEST(SystemRecord, OptionalEntryPointsMissingFromAModuleStayEmpty) {
  // The test program itself exports none of them: every one stays empty.
  HMODULE self = GetModuleHandleW(nullptr);
  TOptionalEntryPoints none = BindOptionalEntryPoints(self, self, self);
  EXPECT_EQ(none.GetNativeSystemInfo, nullptr);
  EXPECT_EQ(none.GetProductInfo, nullptr);
  EXPECT_EQ(none.LockWorkStation, nullptr);
  EXPECT_EQ(none.GetProcessMemoryInfo, nullptr);
  TOptionalEntryPoints noModules = BindOptionalEntryPoints(nullptr, nullptr, nullptr);
  EXPECT_EQ(noModules.IsWow64Process, nullptr);
  BindShellOrdinals(noModules, nullptr, 10);
  for (FARPROC entry : noModules.ShellOrdinals) EXPECT_EQ(entry, nullptr);
  // From the system's own modules the common ones are there.
  TOptionalEntryPoints real =
      BindOptionalEntryPoints(GetModuleHandleW(L"kernel32.dll"), GetModuleHandleW(L"user32.dll"), nullptr);
  EXPECT_NE(real.GetNativeSystemInfo, nullptr);
  EXPECT_NE(real.GetTickCount64, nullptr);
  EXPECT_NE(real.LockWorkStation, nullptr);
  EXPECT_EQ(real.GetProcessMemoryInfo, nullptr);
  // Shell functions of version 6 are not asked of an older system.
  BindShellOrdinals(real, LoadLibraryW(L"shell32.dll"), 5);
  EXPECT_EQ(real.ShellOrdinals[2], nullptr);
  EXPECT_EQ(real.ShellOrdinals[3], nullptr);
}

TEST(SystemRecord, GatheringFillsWhatTheSystemTells) {
  EXPECT_NO_THROW(GatherSystemRecord());
  const TSystemRecord& record = SystemRecord();
  EXPECT_GT(record.Version.dwMajorVersion, 0u);
  EXPECT_FALSE(record.ComputerName.empty());
  EXPECT_FALSE(record.UserName.empty());
  EXPECT_FALSE(record.SystemName.empty());
  EXPECT_FALSE(record.Edition.empty());
  EXPECT_GT(record.AnsiCodePage, 0u);
  EXPECT_NO_THROW(ReleaseSystemRecord());
  EXPECT_NO_THROW(ReleaseSystemRecord());
}

TEST(SystemRecord, EnvironmentFoldersAndAccounts) {
  SetEnvironmentVariableW(L"KESTRUM_PROBE", L"here");
  TStringList lines;
  EnvironmentList(lines);
  EXPECT_GE(lines.IndexOf(u"KESTRUM_PROBE=here"), 0);
  EXPECT_EQ(ExpandEnvironment(u"[%KESTRUM_PROBE%]"), u"[here]");
  EXPECT_EQ(ExpandEnvironment(u"%KESTRUM_NOT_SET%"), u"%KESTRUM_NOT_SET%");
  SetEnvironmentVariableW(L"KESTRUM_PROBE", nullptr);
  const String folders = WindowsAndSystemFolders();
  const size_t separator = folders.find(u';');
  ASSERT_NE(separator, String::npos);
  EXPECT_GT(separator, 0u);
  EXPECT_GT(folders.size(), separator + 1);
  EXPECT_FALSE(SpecialFolderPath(CSIDL_APPDATA).empty());
  // A well-known account: the local system.
  const String system = AccountSecurityId({}, u"SYSTEM");
  if (!system.empty()) {
    EXPECT_EQ(system, u"S-1-5-18");
  }
  EXPECT_EQ(AccountSecurityId({}, u""), u"");
  EXPECT_EQ(ProfileFolderOfSid(u""), u"");
}

}  // namespace
