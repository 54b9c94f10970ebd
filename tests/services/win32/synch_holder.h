// A process that takes a named lock and is killed while it holds it: the
// services' test program started again with one disabled test of its own.
#pragma once

#include "ui/winapi.h"

#include "rtl/types.h"
#include "rtl/unicode.h"
#include "services/win32/synch.h"
#include "services/win32/utwin32.h"

inline constexpr const wchar_t* kLockHolderVariable = L"KESTRUM_LOCK_HOLDER";

class KilledLockHolder {
 public:
  // Starts the holder of `name` and waits until it holds the lock; then kills it.
  explicit KilledLockHolder(const String& name) {
    TUtEvent held(nullptr, true, false, name + u"_Held");
    SetEnvironmentVariableW(kLockHolderVariable, WStr(name));
    String commandLine = u"\"" + ModulePath(nullptr) +
                         u"\" --gtest_also_run_disabled_tests --gtest_filter=OptexHolder.DISABLED_HoldsTheLockUntilKilled";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const bool started =
        CreateProcessW(nullptr, WBuf(commandLine), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info) != 0;
    SetEnvironmentVariableW(kLockHolderVariable, nullptr);
    if (!started) return;
    FHolding = held.WaitFor(30000) == wrSignaled;
    TerminateProcess(info.hProcess, 9);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  bool Holding() const { return FHolding; }

 private:
  bool FHolding = false;
};
