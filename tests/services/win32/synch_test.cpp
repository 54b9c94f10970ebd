// Kernel objects shared by name: the optex, mappings and their views, and
// the names of accounts.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "rtl/format.h"
#include "rtl/streams.h"
#include "services/win32/synch.h"
#include "services/win32/synch_holder.h"

namespace {

String UniqueName(const char16_t* stem) {
  static int serial = 0;
  return Format(u"%s_%u_%d", {String(stem), static_cast<Cardinal>(GetCurrentProcessId()), ++serial});
}

TEST(Optex, TwoOpeningsOfOneNameShareTheLock) {
  const String name = UniqueName(u"KestrumOptexTest");
  TUtOptex first(name, 100);
  EXPECT_FALSE(first.Existed());
  EXPECT_FALSE(first.UniProcess());
  TUtOptex second(name, -1);
  EXPECT_TRUE(second.Existed());
  first.Enter();
  first.Enter();  // re-entrant for its owner
  std::atomic<bool> entered{false};
  std::thread other([&] {
    second.Enter();
    entered = true;
    second.Leave();
  });
  first.Leave();
  Sleep(30);
  EXPECT_FALSE(entered);
  first.Leave();
  other.join();
  EXPECT_TRUE(entered);
  EXPECT_TRUE(first.TryEnter());
  first.Leave();
}

// Started as a process of its own by KilledLockHolder: takes the lock named
// in its environment (twice), says so, and waits to be killed.
TEST(OptexHolder, DISABLED_HoldsTheLockUntilKilled) {
  wchar_t name[512]{};
  ASSERT_NE(GetEnvironmentVariableW(kLockHolderVariable, name, 512), 0u);
  TUtOptex optex(FromWStr(name), 10);
  optex.Enter();
  optex.Enter();
  TUtEvent held(nullptr, true, false, FromWStr(name) + u"_Held");
  held.SetEvent();
  Sleep(60000);
}

TEST(Optex, ALockWhoseHolderWasKilledIsTakenOver) {
  const String name = UniqueName(u"KestrumOptexKilled");
  TUtOptex optex(name, 10);
  {
    KilledLockHolder holder(name);
    ASSERT_TRUE(holder.Holding());
  }
  std::atomic<bool> entered{false};
  std::thread taker([&] {
    optex.Enter();
    entered = true;
  });
  const DWORD end = GetTickCount() + 20000;
  while (!entered && GetTickCount() < end) Sleep(20);
  EXPECT_TRUE(entered) << "waits for a dead holder";
  if (!entered) {
    taker.detach();  // it goes with the process
    return;
  }
  taker.join();
  // The taker owns it now, once: another thread waits until it leaves.
  std::atomic<bool> other{false};
  std::thread([&] { other = optex.TryEnter(); }).join();
  EXPECT_FALSE(other);
}

TEST(Optex, WithoutANameItStaysInTheProcess) {
  TUtOptex optex(String(), 10);
  EXPECT_TRUE(optex.UniProcess());
  EXPECT_TRUE(optex.TryEnter());
  optex.Leave();
}

TEST(FileMapping, ViewsReadAndWriteWithoutGrowing) {
  const String name = UniqueName(u"KestrumMappingTest");
  TUtSwapFileMapping mapping(name, PAGE_READWRITE, 64, nullptr);
  EXPECT_FALSE(mapping.Existed());
  TUtFileMappingView& view = mapping.Views(mapping.Add(FILE_MAP_ALL_ACCESS, 64, 0));
  EXPECT_EQ(view.Size(), 64);
  EXPECT_EQ(view.Index(), 0);
  const char text[] = "shared";
  EXPECT_EQ(view.Write(text, sizeof text), static_cast<Int64>(sizeof text));
  view.SetPosition(60);
  EXPECT_EQ(view.Write(text, sizeof text), 0);  // would pass the end: nothing
  // Another opening of the name sees the same bytes.
  auto other = TUtCustomFileMapping::Open(name, false, FILE_MAP_READ);
  EXPECT_TRUE(other->Existed());
  TUtFileMappingView& otherView = other->Views(other->Add(FILE_MAP_READ, 64, 0));
  EXPECT_STREQ(reinterpret_cast<const char*>(otherView.Memory()), "shared");
  TMemoryStream tooLarge;
  tooLarge.SetSize(65);
  EXPECT_THROW(view.LoadFromStream(tooLarge), EUtFileMappingViewError);
  mapping.Delete(0);
  EXPECT_EQ(mapping.Count(), 0);
}

TEST(FileMapping, OpeningWhatIsNotThereFails) {
  EXPECT_THROW(TUtCustomFileMapping::Open(UniqueName(u"KestrumMissing"), false, FILE_MAP_READ), EUtFileMappingError);
}

TEST(Security, TheWorldsIdentifierReadsAsText) {
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID sid = nullptr;
  ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &sid));
  EXPECT_EQ(SidText(sid), u"S-1-1-0");
  String name, domain;
  AccountNameOfSid(sid, name, domain, true);
  EXPECT_FALSE(name.empty());
  FreeSid(sid);
  EXPECT_THROW(SidText(nullptr), EUtSecurityError);
}

}  // namespace
