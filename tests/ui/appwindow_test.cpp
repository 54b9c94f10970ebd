// The application's hidden window, by which other processes of the program
// find it: its class, and the main form following what is asked of it.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include "ui/uitest.h"

namespace {

using AppWindowTest = UiTest;

TEST_F(AppWindowTest, IsAHiddenTopLevelWindowOfClassTApplication) {
  HWND window = FApp->Handle();
  ASSERT_NE(window, nullptr);
  wchar_t name[32]{};
  GetClassNameW(window, name, 32);
  EXPECT_STREQ(name, L"TApplication");
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(GetParent(window), nullptr);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  EXPECT_EQ(process, GetCurrentProcessId());
}

TEST_F(AppWindowTest, MinimiseAndRestoreActOnTheMainForm) {
  TLayoutForm* main = nullptr;
  FApp->CreateForm(main);
  main->Show();
  Pump();
  SendMessageW(FApp->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_TRUE(IsIconic(main->Handle()));
  SendMessageW(FApp->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  EXPECT_FALSE(IsIconic(main->Handle()));
  EXPECT_TRUE(IsWindowVisible(main->Handle()));
}

TEST_F(AppWindowTest, BringingItToTheFrontBringsTheMainForm) {
  TLayoutForm* main = nullptr;
  FApp->CreateForm(main);
  main->Show();
  harness::HostWindow other(200, 100, L"Another window");
  SetForegroundWindow(other.Handle());
  Pump();
  ASSERT_EQ(GetForegroundWindow(), other.Handle());
  SetForegroundWindow(FApp->Handle());
  Pump();
  EXPECT_EQ(GetForegroundWindow(), main->Handle());
}

}  // namespace
