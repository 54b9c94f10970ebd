// The single-instance service across real processes: a small program built
// with the component is started twice; the second hands its command line to
// the first and ends.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "rtl/files.h"
#include "rtl/format.h"
#include "rtl/streams.h"
#include "rtl/unicode.h"
#include "services/instancetable.h"
#include "services/win32/appinst.h"
#include "services/win32/servicesuitest.h"
#include "services/win32/svappinst.h"
#include "services/win32/synch.h"
#include "services/win32/utwin32.h"

namespace {

String TestFolder() {
  return ExtractFilePath(ModulePath(nullptr));
}

String ProbePath() {
  return TestFolder() + u"services_instance_probe.exe";
}

std::string ReadAll(const String& path) {
  std::ifstream in(reinterpret_cast<const wchar_t*>(path.c_str()), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

template <typename F>
bool WaitUntil(F condition, int milliseconds = 20000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(20);
  }
  return condition();
}

class Probe {
 public:
  Probe(const String& arguments, const String& folder) {
    String commandLine = u"\"" + ProbePath() + u"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    FStarted = CreateProcessW(nullptr, WBuf(commandLine), nullptr, nullptr, FALSE, 0, nullptr, WStr(folder), &startup,
                              &FInfo) != 0;
  }
  ~Probe() {
    if (!FStarted) return;
    if (WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT) {
      Close();
      if (WaitForSingleObject(FInfo.hProcess, 10000) == WAIT_TIMEOUT) TerminateProcess(FInfo.hProcess, 9);
    }
    CloseHandle(FInfo.hThread);
    CloseHandle(FInfo.hProcess);
  }
  bool Started() const { return FStarted; }
  Cardinal Id() const { return FInfo.dwProcessId; }
  // The exit code, or -1 while it runs after the wait.
  long WaitForExit(int milliseconds = 20000) {
    if (WaitForSingleObject(FInfo.hProcess, static_cast<DWORD>(milliseconds)) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(FInfo.hProcess, &code);
    return static_cast<long>(code);
  }
  HWND MainForm() const {
    struct Search {
      DWORD Process;
      HWND Found = nullptr;
    } search{FInfo.dwProcessId};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto& s = *reinterpret_cast<Search*>(data);
          DWORD process = 0;
          GetWindowThreadProcessId(window, &process);
          wchar_t name[64]{};
          GetClassNameW(window, name, 64);
          if (process == s.Process && IsWindowVisible(window) && String(FromWStr(name)) != u"TApplication") {
            s.Found = window;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
  }
  void Close() {
    if (HWND form = MainForm()) PostMessageW(form, WM_CLOSE, 0, 0);
  }

 private:
  bool FStarted = false;
  PROCESS_INFORMATION FInfo{};
};

class InstancesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    FFolder = IncludeTrailingPathDelimiter(FromWStr(temp)) +
              Format(u"kestrum-instances-%u", {static_cast<Cardinal>(GetCurrentProcessId())});
    ForceDirectories(FFolder + u"\\second");
    FLog = FFolder + u"\\probe.log";
    DeleteFile(FLog);
    SetEnvironmentVariableW(L"KESTRUM_PROBE_LOG", WStr(FLog));
  }
  void TearDown() override {
    DeleteFile(FLog);
    DeleteFile(FFolder + u"\\second\\sub\\Form1.dfm");
    DeleteFile(FFolder + u"\\second\\with space\\b.dfm");
    DeleteFile(FFolder + u"\\asked.dfm");
    for (const char16_t* folder : {u"\\second\\sub", u"\\second\\with space", u"\\second", u""})
      RemoveDir(FFolder + folder);
  }
  std::string Log() const { return ReadAll(FLog); }
  bool LogHas(const std::string& text, int milliseconds = 20000) {
    return WaitUntil([&] { return Log().find(text) != std::string::npos; }, milliseconds);
  }
  // The probes' table of all instances, read as they read it.
  std::unique_ptr<TUtCustomFileMapping> OpenTable() {
    return TUtCustomFileMapping::Open(InstanceAppId(u"", ProbePath()) + u"_All", false, FILE_MAP_ALL_ACCESS);
  }
  int CountInTable() {
    auto mapping = OpenTable();
    auto& view = mapping->Views(mapping->Add(FILE_MAP_ALL_ACCESS, kInstanceTableSize, 0));
    return TInstanceTable(view.Memory()).Count();
  }
  static std::string Id(Cardinal id) { return std::to_string(id); }

  String FFolder;
  String FLog;
};

TEST_F(InstancesTest, ASecondStartHandsItsCommandLineToTheFirstAndEnds) {
  Probe first(u"", FFolder);
  ASSERT_TRUE(first.Started());
  ASSERT_TRUE(LogHas("ready " + Id(first.Id()))) << Log();
  EXPECT_EQ(CountInTable(), 1);
  // The first one is minimised: the hand-over restores it.
  HWND form = first.MainForm();
  ASSERT_NE(form, nullptr);
  ShowWindow(form, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(form) != 0; }));

  // A path with a blank, unquoted, comes as two arguments and is joined.
  const String second = FFolder + u"\\second";
  ForceDirectories(second + u"\\sub");
  ForceDirectories(second + u"\\with space");
  for (const String& name : {second + u"\\sub\\Form1.dfm", second + u"\\with space\\b.dfm"})
    TFileStream(name, fmCreate).WriteBuffer("x", 1);
  Probe secondProbe(u"sub\\Form1.dfm with space\\b.dfm -flag", second);
  ASSERT_TRUE(secondProbe.Started());
  EXPECT_EQ(secondProbe.WaitForExit(), 0);
  // Every argument goes, the switch too: the first instance reports it.
  const std::string expected = "cmdline 0 3: " + StringToUTF8(second + u"\\sub\\Form1.dfm|" + second +
                                                              u"\\with space\\b.dfm|" + second + u"\\-flag");
  EXPECT_TRUE(LogHas(expected)) << Log();
  EXPECT_TRUE(LogHas("created " + Id(secondProbe.Id()))) << Log();
  EXPECT_TRUE(LogHas("destroyed " + Id(secondProbe.Id()))) << Log();
  EXPECT_EQ(Log().find("ready " + Id(secondProbe.Id())), std::string::npos) << "the second one showed its form";
  EXPECT_TRUE(WaitUntil([&] { return !IsIconic(form) && GetForegroundWindow() == form; }))
      << "foreground " << GetForegroundWindow() << " iconic " << IsIconic(form);
  Sleep(300);
  SaveScreenForInspection(form, L"instance-probe.bmp");
  EXPECT_EQ(CountInTable(), 1);
}

TEST_F(InstancesTest, ASecondStartWithoutArgumentsSendsAnEmptyCommandLine) {
  Probe first(u"", FFolder);
  ASSERT_TRUE(LogHas("ready " + Id(first.Id()))) << Log();
  Probe second(u"", FFolder);
  EXPECT_EQ(second.WaitForExit(), 0);
  EXPECT_TRUE(LogHas("cmdline 0 0: ")) << Log();
}

TEST_F(InstancesTest, ASecondStartWaitsForABusyFirstInstance) {
  Probe first(u"--busy", FFolder);
  ASSERT_TRUE(LogHas("busy")) << Log();
  const String asked = FFolder + u"\\asked.dfm";
  TFileStream(asked, fmCreate).WriteBuffer("x", 1);
  Probe second(u"asked.dfm", FFolder);
  EXPECT_EQ(second.WaitForExit(60000), 0);
  EXPECT_TRUE(LogHas("cmdline 0 1: " + StringToUTF8(asked))) << Log();
  EXPECT_EQ(Log().find("box "), std::string::npos) << Log();
  EXPECT_EQ(Log().find("ready " + Id(second.Id())), std::string::npos) << Log();
}

TEST_F(InstancesTest, AHungFirstInstanceIsToldAndTheSecondRunsItself) {
  Probe first(u"--hang", FFolder);
  ASSERT_TRUE(LogHas("hanging")) << Log();
  const String asked = FFolder + u"\\asked.dfm";
  TFileStream(asked, fmCreate).WriteBuffer("x", 1);
  Probe second(u"asked.dfm", FFolder);
  ASSERT_TRUE(LogHas("ready " + Id(second.Id()), 90000)) << Log();
  EXPECT_TRUE(LogHas("box " + StringToUTF8(kInstanceHungText))) << Log();
  second.Close();
  EXPECT_EQ(second.WaitForExit(), 0);
}

TEST_F(InstancesTest, CountsFollowTheInstancesThatRun) {
  Probe first(u"--max2", FFolder);
  ASSERT_TRUE(LogHas("ready " + Id(first.Id()))) << Log();
  {
    Probe second(u"--max2", FFolder);
    ASSERT_TRUE(LogHas("ready " + Id(second.Id()))) << Log();
    EXPECT_EQ(CountInTable(), 2);
    EXPECT_TRUE(LogHas("created " + Id(second.Id()))) << Log();
    second.Close();
    EXPECT_EQ(second.WaitForExit(), 0);
  }
  EXPECT_TRUE(LogHas("destroyed ")) << Log();
  EXPECT_EQ(CountInTable(), 1);
  {
    // A plain start (one instance allowed) is one too many and ends.
    Probe third(u"", FFolder);
    EXPECT_EQ(third.WaitForExit(), 0);
    EXPECT_TRUE(LogHas("destroyed " + Id(third.Id()))) << Log();
    EXPECT_EQ(Log().find("ready " + Id(third.Id())), std::string::npos) << Log();
  }
  EXPECT_EQ(CountInTable(), 1);
}

TEST_F(InstancesTest, ADamagedTableDoesNotBringTheNextProcessDown) {
  // The test holds the table, so it is there when the probe starts.
  TUtSwapFileMapping table(InstanceAppId(u"", ProbePath()) + u"_All", PAGE_READWRITE, kInstanceTableSize, nullptr);
  auto& view = table.Views(table.Add(FILE_MAP_ALL_ACCESS, kInstanceTableSize, 0));
  view.Memory()[2] = 0x60;  // count 60000
  view.Memory()[3] = 0xEA;
  Probe probe(u"", FFolder);
  ASSERT_TRUE(LogHas("ready " + Id(probe.Id()))) << Log();
  EXPECT_EQ(TInstanceTable(view.Memory()).Count(), kInstanceTableCapacity);
  probe.Close();
  EXPECT_EQ(probe.WaitForExit(), 0);
  EXPECT_EQ(Log().find("exception"), std::string::npos) << Log();
}

}  // namespace
