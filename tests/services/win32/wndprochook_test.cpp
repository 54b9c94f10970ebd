// Hooks on a control's messages: several on one control, in order, a hook
// that handles a message, hooks that come and go during a message, controls
// and raw windows that go away while hooked.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <string>

#include "services/win32/servicesuitest.h"
#include "services/win32/wndprochook.h"
#include "ui/extctrls.h"

namespace {

class WndProcHookTest : public ServicesUiTest {
 protected:
  void SetUp() override {
    ServicesUiTest::SetUp();
    FForm = MakeForm<TForm>(FApp.get());
    FPanel = new TPanel(FForm.get());
    FPanel->SetParent(FForm.get());
    FPanel->HandleNeeded();
  }
  void TearDown() override {
    FForm.reset();
    Pump();
    FreeSharedWndProcHook();
    ServicesUiTest::TearDown();
  }
  TSvWindowHook* MakeHook(const std::string& name, bool handleSetText = false) {
    auto* hook = new TSvWindowHook(FForm.get());
    hook->SetControl(FPanel);
    hook->SetBeforeMessage(TSvHookMessageEvent([this, name, handleSetText](TObject*, TMessage& m, bool& handled) {
      if (m.Msg != WM_SETTEXT) return;
      FLog += name + "<";
      handled = handleSetText;
    }));
    hook->SetAfterMessage(TSvHookMessageEvent([this, name](TObject*, TMessage& m, bool&) {
      if (m.Msg == WM_SETTEXT) FLog += name + ">";
    }));
    return hook;
  }
  void SetText(HWND window, const wchar_t* text) {
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  String WindowText(HWND window) {
    wchar_t buffer[64]{};
    GetWindowTextW(window, buffer, 64);
    return FromWStr(buffer);
  }

  TFormPtr<TForm> FForm;
  TPanel* FPanel = nullptr;
  std::string FLog;
};

TEST_F(WndProcHookTest, TwoHooksOnOneControlEachGetTheirEventsInOrder) {
  MakeHook("a");
  MakeHook("b");
  SetText(FPanel->Handle(), L"x");
  EXPECT_EQ(FLog, "a<b<a>b>");
  EXPECT_EQ(WindowText(FPanel->Handle()), u"x");
}

TEST_F(WndProcHookTest, AHandlingBeforeHookKeepsTheMessageFromTheControl) {
  SetText(FPanel->Handle(), L"old");
  MakeHook("a", true);
  MakeHook("b");
  SetText(FPanel->Handle(), L"new");
  EXPECT_EQ(FLog, "a<");
  EXPECT_EQ(WindowText(FPanel->Handle()), u"old");
}

TEST_F(WndProcHookTest, InactiveHooksAndHooksWithoutEventsAreNotCalled) {
  TSvWindowHook* a = MakeHook("a");
  TSvWindowHook* b = MakeHook("b");
  a->SetActive(false);
  b->SetAfterMessage(nullptr);
  SetText(FPanel->Handle(), L"x");
  EXPECT_EQ(FLog, "b<");
  a->HookControl();
  FLog.clear();
  SetText(FPanel->Handle(), L"y");
  EXPECT_EQ(FLog, "b<a<a>");
}

TEST_F(WndProcHookTest, AHookMayUnregisterItselfWhileBeingCalled) {
  TSvWindowHook* a = MakeHook("a");
  MakeHook("b");
  a->SetBeforeMessage(TSvHookMessageEvent([&](TObject*, TMessage& m, bool&) {
    if (m.Msg != WM_SETTEXT) return;
    FLog += "a<";
    a->SetActive(false);
  }));
  SetText(FPanel->Handle(), L"x");
  EXPECT_EQ(FLog, "a<b<b>");
  FLog.clear();
  SetText(FPanel->Handle(), L"y");
  EXPECT_EQ(FLog, "b<b>");
}

TEST_F(WndProcHookTest, AControlFreedWhileHookedIsFreedOfItsHooksAfterTheMessage) {
  TSvWindowHook* hook = MakeHook("a");
  hook->SetBeforeMessage(TSvHookMessageEvent([&](TObject*, TMessage& m, bool&) {
    if (m.Msg == WM_USER + 7) {
      FLog += "free ";
      delete FPanel;
      FPanel = nullptr;
    }
  }));
  hook->SetAfterMessage(TSvHookMessageEvent([&](TObject*, TMessage& m, bool&) {
    if (m.Msg == WM_USER + 7) FLog += "after ";
  }));
  FPanel->Perform(WM_USER + 7, 0, 0);
  EXPECT_EQ(FLog, "free ");
  EXPECT_EQ(hook->Control(), nullptr);
  EXPECT_EQ(TSvReleaser::Instance().Pending(), 1u);
  Pump();
  EXPECT_EQ(TSvReleaser::Instance().Pending(), 0u);
}

TEST_F(WndProcHookTest, ARawWindowIsHookedAndGivenBackItsProcedure) {
  HWND window = CreateWindowExW(0, L"STATIC", L"start", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const LONG_PTR original = GetWindowLongPtrW(window, GWLP_WNDPROC);
  struct Recorder : TObject {
    std::string Log;
    bool Before(TMessage& m) {
      if (m.Msg == WM_SETTEXT) Log += "<";
      return false;
    }
    bool After(TMessage& m) {
      if (m.Msg == WM_SETTEXT) Log += ">";
      return false;
    }
  } recorder;
  const TSvControlHook before(&recorder, &Recorder::Before);
  const TSvControlHook after(&recorder, &Recorder::After);
  TSvWndProcHook& registry = SharedWndProcHook();
  EXPECT_TRUE(registry.RegisterWndProc(window, before, hoBeforeMsg));
  EXPECT_TRUE(registry.RegisterWndProc(window, after, hoAfterMsg));
  EXPECT_NE(GetWindowLongPtrW(window, GWLP_WNDPROC), original);
  SetText(window, L"hooked");
  EXPECT_EQ(recorder.Log, "<>");
  EXPECT_EQ(WindowText(window), u"hooked");
  EXPECT_TRUE(registry.UnRegisterWndProc(window, before, hoBeforeMsg));
  EXPECT_TRUE(registry.UnRegisterWndProc(window, after, hoAfterMsg));
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), original);
  EXPECT_FALSE(registry.UnRegisterWndProc(static_cast<HWND>(nullptr), before, hoBeforeMsg));
  // Hooked again and destroyed: the chain goes after the message.
  registry.RegisterWndProc(window, before, hoBeforeMsg);
  DestroyWindow(window);
  EXPECT_EQ(TSvReleaser::Instance().Pending(), 1u);
  Pump();
  EXPECT_EQ(TSvReleaser::Instance().Pending(), 0u);
}

TEST_F(WndProcHookTest, ARawWindowDestroyedInAHookThatRunsAMessageLoopKeepsItsChainUntilTheHookReturns) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  struct Destroyer : TObject {
    size_t PendingInLoop = 99;
    std::string Log;
    bool Before(TMessage& m) {
      if (m.Msg != WM_USER + 9) return false;
      DestroyWindow(reinterpret_cast<HWND>(m.LParam));
      // A message box would run this loop.
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      PendingInLoop = TSvReleaser::Instance().Pending();
      Log += "before ";
      return false;
    }
    bool After(TMessage& m) {
      if (m.Msg == WM_USER + 9) Log += "after ";
      return false;
    }
  } destroyer;
  TSvWndProcHook& registry = SharedWndProcHook();
  registry.RegisterWndProc(window, TSvControlHook(&destroyer, &Destroyer::Before), hoBeforeMsg);
  registry.RegisterWndProc(window, TSvControlHook(&destroyer, &Destroyer::After), hoAfterMsg);
  SendMessageW(window, WM_USER + 9, 0, reinterpret_cast<LPARAM>(window));
  EXPECT_EQ(destroyer.PendingInLoop, 0u);
  EXPECT_EQ(destroyer.Log, "before ");
  EXPECT_EQ(TSvReleaser::Instance().Pending(), 1u);
  Pump();
  EXPECT_EQ(TSvReleaser::Instance().Pending(), 0u);
}

// A subclass put on a window after its hooks, as another program part would.
WNDPROC subclassedFrom = nullptr;
int subclassCalls = 0;
LRESULT CALLBACK SubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SETTEXT) ++subclassCalls;
  return CallWindowProcW(subclassedFrom, window, msg, wParam, lParam);
}

TEST_F(WndProcHookTest, RemovingTheLastHookKeepsASubclassMadeAfterIt) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  struct Recorder : TObject {
    int Calls = 0;
    bool Before(TMessage& m) {
      if (m.Msg == WM_SETTEXT) ++Calls;
      return false;
    }
  } recorder;
  const TSvControlHook hook(&recorder, &Recorder::Before);
  TSvWndProcHook& registry = SharedWndProcHook();
  registry.RegisterWndProc(window, hook, hoBeforeMsg);
  subclassCalls = 0;
  subclassedFrom = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  registry.UnRegisterWndProc(window, hook, hoBeforeMsg);
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&SubclassProc));
  SetText(window, L"still");
  EXPECT_EQ(subclassCalls, 1);
  EXPECT_EQ(recorder.Calls, 0);
  EXPECT_EQ(WindowText(window), u"still");
  // Hooked again: called once more, through the subclass.
  registry.RegisterWndProc(window, hook, hoBeforeMsg);
  SetText(window, L"again");
  EXPECT_EQ(subclassCalls, 2);
  EXPECT_EQ(recorder.Calls, 1);
  EXPECT_EQ(WindowText(window), u"again");
  DestroyWindow(window);
  Pump();
}

TEST_F(WndProcHookTest, RegisteringNeedsAControlAndAHook) {
  TSvWndProcHook& registry = SharedWndProcHook();
  struct Sink : TObject {
    bool Hook(TMessage&) { return false; }
  } sink;
  EXPECT_FALSE(
      registry.RegisterWndProc(static_cast<TControl*>(nullptr), TSvControlHook(&sink, &Sink::Hook), hoBeforeMsg));
  EXPECT_FALSE(registry.RegisterWndProc(FPanel, TSvControlHook(), hoBeforeMsg));
  EXPECT_FALSE(registry.UnRegisterWndProc(FPanel, TSvControlHook(&sink, &Sink::Hook), hoBeforeMsg));
}

TEST_F(WndProcHookTest, DragCursorNumbersShowTheSystemsDragCursors) {
  AliasDragCursors();
  EXPECT_EQ(Screen->Cursors(368), Screen->Cursors(crMultiDrag));
  EXPECT_EQ(Screen->Cursors(369), Screen->Cursors(crDrag));
  EXPECT_EQ(Screen->Cursors(371), Screen->Cursors(crMultiDrag));
}

}  // namespace
