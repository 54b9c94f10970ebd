// The main window opens every file its process's command line names, and a
// name that is no file gets an error box. The test program's own switches
// (--gtest_filter, --gtest_output) are no forms: the windows under test see a
// command line holding only the program, as a plain start of the program has.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>

namespace {

class BareCommandLine : public testing::Environment {
 public:
  void SetUp() override {
    // The process keeps one buffer for its command line and hands it out on
    // every call; the program's own name is never longer than the whole line.
    wchar_t* line = GetCommandLineW();
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const size_t available = std::wcslen(line);
    if (length == 0 || length + 2 > available) {
      line[0] = L'\0';
      return;
    }
    line[0] = L'"';
    std::wmemcpy(line + 1, path, length);
    line[length + 1] = L'"';
    line[length + 2] = L'\0';
  }
};

const testing::Environment* const bareCommandLine = testing::AddGlobalTestEnvironment(new BareCommandLine);

}  // namespace
