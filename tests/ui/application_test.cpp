// The application's loop: idle work, running until the main form closes, the
// MDI keys, the hint timers; frames and pictures from the program's
// resources; scrolling containers.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include "ui/uitest.h"

namespace {

using ApplicationTest = UiTest;

TEST_F(ApplicationTest, IdleHandlersRunWhenTheQueueIsEmptyAndCanBeRemoved) {
  std::vector<std::string> log;
  FApp->OnIdle = TIdleEvent([&](TObject*, bool& done) {
    log.push_back("idle");
    done = false;  // more to do: do not wait for a message
  });
  struct Updater : TObject {
    std::vector<std::string>* Log;
    void Update(TObject*, bool& done) {
      Log->push_back("update");
      done = false;
    }
  } updater;
  updater.Log = &log;
  FApp->AddIdleHandler(TIdleEvent(&updater, &Updater::Update));
  Pump();
  FApp->HandleMessage();
  EXPECT_EQ(log, (std::vector<std::string>{"idle", "update"}));
  FApp->RemoveIdleHandler(TIdleEvent(&updater, &Updater::Update));
  log.clear();
  FApp->HandleMessage();
  EXPECT_EQ(log, (std::vector<std::string>{"idle"}));
}

TEST_F(ApplicationTest, RunShowsTheMainFormAndEndsWhenItCloses) {
  TLayoutForm* main = nullptr;
  FApp->CreateForm(main);
  bool shownInLoop = false;
  main->OnActivate = TNotifyEvent([&](TObject*) {
    shownInLoop = main->Visible();
    PostMessageW(main->Handle(), WM_CLOSE, 0, 0);
  });
  FApp->Run();
  EXPECT_TRUE(shownInLoop);
  EXPECT_TRUE(FApp->Terminated());
}

TEST_F(ApplicationTest, TheMDIKeysGoToTheActiveDocument) {
  TMDIParentForm* parent = nullptr;
  FApp->CreateForm(parent);
  parent->Show();
  auto* first = CreateForm<TMDIChildForm>(FApp.get());
  auto* second = CreateForm<TMDIChildForm>(FApp.get());
  Pump();
  second->PanelDoc->SetTabStop(true);
  second->PanelDoc->SetFocus();
  Pump();
  ASSERT_EQ(parent->ActiveMDIChild(), second);
  ASSERT_EQ(Screen->ActiveForm(), second);
  // Ctrl+F6 through the loop: the next document becomes active.
  harness::SetModifiers({.ctrl = true});
  PostMessageW(second->PanelDoc->Handle(), WM_KEYDOWN, VK_F6, 1);
  Pump();
  harness::SetModifiers({});
  EXPECT_EQ(parent->ActiveMDIChild(), first);
}

TEST_F(ApplicationTest, TheHintTimerShowsTheHintAfterThePause) {
  auto* form = CreateForm<TLayoutForm>(FApp.get());
  form->SetFormStyle(fsStayOnTop);
  form->Show();
  Pump();
  // The control may shorten the pause it is asked about.
  int asked = -1;
  form->ButtonOK->SetWindowProc(TWndMethod([&](TMessage& m) {
    if (m.Msg == CM_HINTSHOWPAUSE) {
      asked = *reinterpret_cast<Integer*>(m.LParam);
      *reinterpret_cast<Integer*>(m.LParam) = 1;
    }
    form->ButtonOK->WndProc(m);
  }));
  POINT p = ToPOINT(form->ButtonOK->ClientToScreen({5, 5}));
  SetCursorPos(p.x, p.y);
  TMessage move{WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), 0};
  FApp->HintMouseMessage(form->ButtonOK, move);
  EXPECT_EQ(asked, FApp->HintPause());
  THintWindow* hint = nullptr;
  for (int i = 0; i < 400 && !hint; ++i) {
    Pump();
    Sleep(5);
    hint = FApp->HintWindowInstance();
    if (hint && !(hint->HandleAllocated() && IsWindowVisible(hint->Handle()))) hint = nullptr;
  }
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint->Caption(), u"Line one\r\nLine two");
  // A click ends it.
  PostMessageW(form->ButtonOK->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(form->ButtonOK->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump();
  EXPECT_FALSE(hint->HandleAllocated() && IsWindowVisible(hint->Handle()));
  form->ButtonOK->SetWindowProc(nullptr);
}

TEST_F(ApplicationTest, AFrameReadsItsOwnResource) {
  auto* form = CreateForm<TForm>(FApp.get());
  auto* frame = CreateForm<TTestFrame>(form);
  frame->SetParent(form);
  frame->SetBounds(10, 20, 200, 60);
  ASSERT_NE(frame->FrameButton, nullptr);
  EXPECT_EQ(frame->FrameButton->Owner(), frame);
  EXPECT_EQ(frame->FrameButton->Parent(), frame);
  EXPECT_EQ(frame->FrameButton->Caption(), u"In frame");
  form->Show();
  Pump();
  SendMessageW(frame->FrameButton->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(frame->Clicks, 1);
}

TEST_F(ApplicationTest, BitmapsLoadFromTheProgramsResources) {
  TBitmap bitmap;
  bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), u"PROBE");
  ASSERT_EQ(bitmap.Width(), 4);
  ASSERT_EQ(bitmap.Height(), 2);
  HDC dc = bitmap.Canvas().Handle();
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 3, 0), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dc, 3, 1), RGB(255, 255, 255));
  EXPECT_THROW(bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), u"MISSING"), EResNotFound);
}

TEST_F(ApplicationTest, AScrollBoxScrollsChildrenBeyondItsSize) {
  auto* form = CreateForm<TForm>(FApp.get());
  form->SetBounds(0, 0, 300, 300);
  auto* box = new TScrollBox(form);
  box->SetParent(form);
  box->SetBounds(0, 0, 200, 150);
  auto* distant = new TPanel(form);
  distant->SetParent(box);
  distant->SetBounds(10, 400, 50, 50);
  form->Show();
  Pump();
  EXPECT_EQ(box->VertScrollBar().Range(), 450);
  EXPECT_TRUE(box->VertScrollBar().IsScrollBarVisible());
  EXPECT_TRUE(GetWindowLongW(box->Handle(), GWL_STYLE) & WS_VSCROLL);
  box->VertScrollBar().SetPosition(100);
  EXPECT_EQ(distant->Top(), 300);
  SendMessageW(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(box->VertScrollBar().Position(), 108);
  EXPECT_EQ(distant->Top(), 292);
  box->ScrollInView(distant);
  EXPECT_GE(distant->Top(), 0);
  EXPECT_LE(distant->Top() + distant->Height(), box->ClientHeight());
  RECT r{};
  GetWindowRect(distant->Handle(), &r);
  MapWindowPoints(HWND_DESKTOP, box->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.top, distant->Top()) << "the window moved with it";
}

}  // namespace
