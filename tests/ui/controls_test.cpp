// Controls: the window procedure with its hooks, recreating windows,
// parent font and colour, reflected notifications, mouse routing to graphic
// controls, hints, timers, the screen and the registry of classes.
// The door to the system headers first: it takes back the names they rename.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/menus.h"
#include "ui/uitest.h"

namespace {

using ControlsTest = UiTest;

// A panel that records the messages its window procedure sees.
class TRecorder : public TObject {
 public:
  std::vector<std::string> Log;
  std::string Name;
  bool Swallow = false;
  void Hook(TMessage& m, const TWndProcNext& next) {
    if (m.Msg != WM_USER + 1) {
      next(m);
      return;
    }
    Log.push_back(Name);
    if (!Swallow) next(m);
  }
};

TEST_F(ControlsTest, WindowProcHooksChainAndUnchainByIdentity) {
  TPanel panel(nullptr);
  std::vector<std::string> log;
  TRecorder a, b, c;
  a.Name = "a";
  b.Name = "b";
  c.Name = "c";
  panel.AddWindowProcHook(TWndProcHook(&a, &TRecorder::Hook));
  panel.AddWindowProcHook(TWndProcHook(&b, &TRecorder::Hook));
  panel.AddWindowProcHook(TWndProcHook(&c, &TRecorder::Hook));
  // The replaceable window procedure runs after the hooks.
  TWndMethod original = panel.WindowProc();
  panel.SetWindowProc(TWndMethod([&](TMessage& m) {
    if (m.Msg == WM_USER + 1) log.push_back("proc");
    original(m);
  }));
  panel.Perform(WM_USER + 1);
  EXPECT_EQ(c.Log.size() + b.Log.size() + a.Log.size(), 3u);
  EXPECT_EQ(log, std::vector<std::string>{"proc"});

  // Removed out of order, by (object, method) identity.
  panel.RemoveWindowProcHook(TWndProcHook(&b, &TRecorder::Hook));
  a.Log.clear();
  b.Log.clear();
  c.Log.clear();
  panel.Perform(WM_USER + 1);
  EXPECT_EQ(a.Log.size(), 1u);
  EXPECT_TRUE(b.Log.empty());
  EXPECT_EQ(c.Log.size(), 1u);

  // A hook that handles the message keeps it from the rest.
  c.Swallow = true;
  log.clear();
  a.Log.clear();
  panel.Perform(WM_USER + 1);
  EXPECT_TRUE(a.Log.empty());
  EXPECT_TRUE(log.empty());

  // A hook that removes another during a message: the removed one is skipped.
  c.Swallow = false;
  TWndProcHook remover([&](TMessage& m, const TWndProcNext& next) {
    if (m.Msg == WM_USER + 1) panel.RemoveWindowProcHook(TWndProcHook(&a, &TRecorder::Hook));
    next(m);
  });
  panel.AddWindowProcHook(remover);
  a.Log.clear();
  panel.Perform(WM_USER + 1);
  EXPECT_TRUE(a.Log.empty());
  panel.SetWindowProc(original);
  EXPECT_TRUE(panel.WindowProc() == original);
}

TEST_F(ControlsTest, ExceptionsNeverLeaveTheWindowProcedure) {
  harness::HostWindow host;
  TPanel panel(nullptr);
  panel.SetParentWindow(host.Handle());
  panel.SetBounds(0, 0, 50, 50);
  panel.SetWindowProc(TWndMethod([&](TMessage& m) {
    if (m.Msg == WM_USER + 2) throw EConvertError(u"Bad value");
    panel.WndProc(m);
  }));
  EXPECT_NO_THROW(SendMessageW(panel.Handle(), WM_USER + 2, 0, 0));
  ASSERT_EQ(FExceptions.size(), 1u);
  EXPECT_EQ(FExceptions[0], u"Bad value");
  EXPECT_TRUE(IsWindow(panel.Handle()));
  panel.SetWindowProc(nullptr);
}

TEST_F(ControlsTest, RecreatingTheWindowKeepsTextBoundsChildrenAndStyle) {
  harness::HostWindow host;
  TPanel panel(nullptr);
  panel.SetParentWindow(host.Handle());
  panel.SetBounds(5, 6, 150, 80);
  panel.SetCaption(u"Before");
  auto* button = new TButton(&panel);
  button->SetParent(&panel);
  button->SetBounds(10, 10, 60, 24);
  button->SetCaption(u"Child");
  HWND old = panel.Handle();
  HWND oldChild = button->Handle();
  SetWindowTextW(old, L"Changed");
  EXPECT_EQ(panel.Caption(), u"Changed") << "text set on the window is the control's";
  panel.SetBorderStyle(bsSingle);  // recreates the window
  EXPECT_NE(panel.Handle(), old);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(panel.Caption(), u"Changed");
  EXPECT_TRUE(GetWindowLongW(panel.Handle(), GWL_STYLE) & WS_BORDER);
  RECT r{};
  GetWindowRect(panel.Handle(), &r);
  MapWindowPoints(HWND_DESKTOP, host.Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(FromRECT(r), Bounds(5, 6, 150, 80));
  EXPECT_FALSE(IsWindow(oldChild));
  EXPECT_EQ(GetParent(button->Handle()), panel.Handle());
  EXPECT_EQ(button->Caption(), u"Child");
}

TEST_F(ControlsTest, FontColourAndHintsComeFromTheParentUntilSetOwn) {
  TPanel parent(nullptr);
  TLabel* label = new TLabel(&parent);
  label->SetParent(&parent);
  parent.Font().SetName(u"Courier New");
  parent.SetColor(clYellow);
  parent.SetShowHint(true);
  EXPECT_EQ(label->Font().Name(), u"Courier New");
  EXPECT_EQ(label->Color(), clYellow);
  EXPECT_TRUE(label->ShowHint());
  label->Font().SetSize(14);
  EXPECT_FALSE(label->ParentFont());
  parent.Font().SetName(u"Tahoma");
  EXPECT_EQ(label->Font().Name(), u"Courier New");
  label->SetParentFont(true);
  EXPECT_EQ(label->Font().Name(), u"Tahoma");
  label->SetColor(clRed);
  parent.SetColor(clBlue);
  EXPECT_EQ(label->Color(), clRed);
}

// A control over the system's static window that records reflected messages.
class TReflected : public TWinControl {
 public:
  using TWinControl::TWinControl;
  std::vector<UINT> Seen;

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"STATIC");
    params.WinClassName = u"TReflectedStatic";
  }
  void Dispatch(TMessage& m) override {
    if (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400) {
      Seen.push_back(m.Msg);
      m.Result = m.Msg == CN_CTLCOLORSTATIC ? 77 : 5;
      return;
    }
    TWinControl::Dispatch(m);
  }
};

TEST_F(ControlsTest, NotificationsAreReflectedToTheChildTheyConcern) {
  harness::HostWindow host;
  TPanel panel(nullptr);
  panel.SetParentWindow(host.Handle());
  panel.SetBounds(0, 0, 200, 100);
  auto* child = new TReflected(&panel);
  child->SetParent(&panel);
  child->SetBounds(0, 0, 50, 20);
  HWND c = child->Handle();
  HWND p = panel.Handle();
  EXPECT_EQ(SendMessageW(p, WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(c)), 77);
  EXPECT_EQ(SendMessageW(p, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(c)), 5);
  NMHDR header{c, 1, 0};
  EXPECT_EQ(SendMessageW(p, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header)), 5);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_STATIC;
  item.hwndItem = c;
  EXPECT_EQ(SendMessageW(p, WM_DRAWITEM, 1, reinterpret_cast<LPARAM>(&item)), 5);
  EXPECT_EQ(child->Seen, (std::vector<UINT>{CN_CTLCOLORSTATIC, CN_COMMAND, CN_NOTIFY, CN_DRAWITEM}));
}

// A graphic control that records its mouse events.
class TMouseRecorder : public TGraphicControl {
 public:
  explicit TMouseRecorder(TComponent* owner) : TGraphicControl(owner) {}
  std::vector<std::string> Log;

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override {
    Log.push_back("down " + std::to_string(button) + " " + std::to_string(x) + "," + std::to_string(y) +
                  (shift.Contains(ssShift) ? " shift" : "") + (shift.Contains(ssDouble) ? " double" : ""));
  }
  void MouseUp(TMouseButton, TShiftState, Integer x, Integer y) override {
    Log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
  }
};

TEST_F(ControlsTest, MouseMessagesGoToTheGraphicControlUnderTheMouse) {
  auto* form = CreateForm<TForm>(FApp.get());
  form->SetPosition(poDesigned);
  form->SetBounds(200, 200, 300, 200);
  auto* target = new TMouseRecorder(form);
  target->SetParent(form);
  target->SetBounds(50, 40, 60, 30);
  int clicks = 0, doubles = 0, enters = 0, leaves = 0;
  target->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  target->OnDblClick = TNotifyEvent([&](TObject*) { ++doubles; });
  target->OnMouseEnter = TNotifyEvent([&](TObject*) { ++enters; });
  target->OnMouseLeave = TNotifyEvent([&](TObject*) { ++leaves; });
  form->Show();
  Pump();
  HWND w = form->Handle();
  harness::SendMouseMove(w, 60, 50);
  EXPECT_EQ(enters, 1);
  harness::SendMouseDown(w, 60, 50, harness::MouseButton::Left, {.shift = true});
  harness::SendMouseUp(w, 61, 52);
  EXPECT_EQ(clicks, 1);
  harness::SendDoubleClick(w, 55, 45);
  EXPECT_EQ(doubles, 1);
  harness::SendMouseDown(w, 10, 10, harness::MouseButton::Right);
  harness::SendMouseMove(w, 10, 10);
  EXPECT_EQ(leaves, 1);
  ASSERT_GE(target->Log.size(), 3u);
  EXPECT_EQ(target->Log[0], "down 0 10,10 shift");
  EXPECT_EQ(target->Log[1], "up 11,12");
  EXPECT_TRUE(std::any_of(target->Log.begin(), target->Log.end(),
                          [](const std::string& e) { return e.find("double") != std::string::npos; }));
}

TEST_F(ControlsTest, TheContextMenuShowsThePopupMenuOrTheHandlersChoice) {
  harness::HostWindow host;
  TPanel panel(nullptr);
  panel.SetParentWindow(host.Handle());
  panel.SetBounds(0, 0, 100, 100);
  TPopupMenu menu(nullptr);
  int shown = 0;
  menu.OnPopup = TNotifyEvent([&](TObject*) { ++shown; });
  panel.SetPopupMenu(&menu);
  SendMessageW(panel.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel.Handle()), MAKELPARAM(30, 40));
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(menu.PopupComponent(), &panel);
  EXPECT_EQ(menu.PopupPoint(), Point(30, 40));
  panel.OnContextPopup = TContextPopupEvent([](TObject*, TPoint, bool& handled) { handled = true; });
  SendMessageW(panel.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel.Handle()), MAKELPARAM(30, 40));
  EXPECT_EQ(shown, 1);
  {
    TPopupMenu gone(nullptr);
    panel.SetPopupMenu(&gone);
  }
  EXPECT_EQ(panel.PopupMenu(), nullptr) << "the reference goes with the menu";
}

TEST_F(ControlsTest, HintsShowTheControlsHintWithItsLineBreaks) {
  auto* form = CreateForm<TLayoutForm>(FApp.get());
  form->SetFormStyle(fsStayOnTop);  // the hint machinery asks the screen what is under the mouse
  form->Show();
  Pump();
  TPoint over = form->ButtonOK->ClientToScreen({10, 10});
  TMessage move{WM_MOUSEMOVE, 0, MAKELPARAM(10, 10), 0};
  FApp->HintMouseMessage(form->ButtonOK, move);
  EXPECT_EQ(FApp->HintControl(), form->ButtonOK);
  FApp->ActivateHint(over);
  THintWindow* hint = FApp->HintWindowInstance();
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(IsWindowVisible(hint->Handle()));
  EXPECT_EQ(hint->Caption(), u"Line one\r\nLine two");
  TBitmap measure(1, 1);
  measure.Canvas().Font().Assign(&hint->Font());
  Integer line = measure.Canvas().TextHeight(u"Line");
  RECT r{};
  GetClientRect(hint->Handle(), &r);
  EXPECT_GE(r.bottom, 2 * line) << "two lines";
  EXPECT_LT(r.bottom, 3 * line);
  EXPECT_GT(r.right, measure.Canvas().TextWidth(u"Line one"));
  RECT w{};
  GetWindowRect(hint->Handle(), &w);
  EXPECT_GT(w.top, over.Y) << "below the mouse";
  harness::Bitmap32 picture = harness::PaintClient(hint->Handle());
  EXPECT_EQ(picture.PixelColor(r.right - 2, 1), GetSysColor(COLOR_INFOBK));

  // A control can change the hint or refuse it.
  form->ButtonOK->SetWindowProc(TWndMethod([&](TMessage& m) {
    if (m.Msg == CM_HINTSHOW)
      reinterpret_cast<THintInfo*>(m.LParam)->HintStr = u"Changed";
    else
      form->ButtonOK->WndProc(m);
  }));
  FApp->ActivateHint(over);
  EXPECT_EQ(hint->Caption(), u"Changed");
  FApp->CancelHint();
  EXPECT_FALSE(hint->HandleAllocated() && IsWindowVisible(hint->Handle()));
  form->ButtonOK->SetWindowProc(nullptr);

  // The short and long parts of a hint.
  EXPECT_EQ(GetShortHint(u"Save|Saves the file"), u"Save");
  EXPECT_EQ(GetLongHint(u"Save|Saves the file"), u"Saves the file");
  EXPECT_EQ(GetLongHint(u"Save"), u"Save");
}

TEST_F(ControlsTest, TimersFireWhileTheLoopRunsAndStopWhenDisabled) {
  TTimer timer(nullptr);
  int fired = 0;
  timer.SetInterval(10);
  timer.SetOnTimer(TNotifyEvent([&](TObject*) {
    if (++fired == 2) timer.SetEnabled(false);
  }));
  for (int i = 0; i < 500 && fired < 2; ++i) {
    Pump();
    Sleep(5);
  }
  EXPECT_EQ(fired, 2);
  for (int i = 0; i < 5; ++i) {
    Pump();
    Sleep(5);
  }
  EXPECT_EQ(fired, 2);
  // A failing handler goes to the application's handler.
  timer.SetOnTimer(TNotifyEvent([&](TObject*) {
    timer.SetEnabled(false);
    throw EAbort(u"");
  }));
  timer.SetEnabled(true);
  for (int i = 0; i < 500 && timer.Enabled(); ++i) {
    Pump();
    Sleep(5);
  }
  EXPECT_FALSE(timer.Enabled());
  EXPECT_TRUE(FExceptions.empty()) << "the silent abort";
}

TEST_F(ControlsTest, TheScreenKnowsCursorsFormsFontsAndWorkArea) {
  struct {
    TCursor id;
    LPCWSTR system;
  } cursors[] = {{crDefault, IDC_ARROW},  {crArrow, IDC_ARROW},    {crIBeam, IDC_IBEAM},
                 {crHourGlass, IDC_WAIT}, {crHandPoint, IDC_HAND}, {crSizeWE, IDC_SIZEWE},
                 {crHSplit, IDC_SIZEWE},  {crNo, IDC_NO},          {crSizeAll, IDC_SIZEALL}};
  for (const auto& c : cursors) EXPECT_EQ(Screen->Cursors(c.id), LoadCursorW(nullptr, c.system)) << c.id;
  EXPECT_EQ(Screen->Cursors(crNone), nullptr);
  Screen->SetCursors(368, Screen->Cursors(crMultiDrag));
  EXPECT_EQ(Screen->Cursors(368), Screen->Cursors(crMultiDrag));
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
  Screen->SetCursor(crDefault);

  int before = Screen->FormCount();
  auto* form = CreateForm<TForm>(FApp.get());
  EXPECT_EQ(Screen->FormCount(), before + 1);
  form->Free();
  EXPECT_EQ(Screen->FormCount(), before);
  // The families installed here, sorted; each one gives a font of that face.
  TStrings& fonts = Screen->Fonts();
  ASSERT_GT(fonts.Count(), 0);
  for (int i = 1; i < fonts.Count(); ++i) EXPECT_LE(fonts.CompareStrings(fonts[i - 1], fonts[i]), 0);
  TBitmap probe(1, 1);
  probe.Canvas().Font().SetName(fonts[0]);
  wchar_t face[LF_FACESIZE]{};
  probe.Canvas().TextWidth(u"x");
  GetTextFaceW(probe.Canvas().Handle(), LF_FACESIZE, face);
  EXPECT_EQ(FromWStr(face), fonts[0]);
  TRect work = Screen->WorkAreaRect();
  EXPECT_GT(work.Width(), 0);
  EXPECT_LE(work.Width(), Screen->Width());
  EXPECT_EQ(Screen->PixelsPerInch(), 96);
}

TEST_F(ControlsTest, EveryClassIsRegisteredWithItsPublishedProperties) {
  for (const char16_t* name :
       {u"TForm", u"TFrame", u"TScrollBox", u"TPanel", u"TLabel", u"TButton", u"TTimer", u"TImageList", u"TPopupMenu"})
    EXPECT_NE(FRegistry.FindClass(name), nullptr) << StringToUTF8(name);
  const TClassInfo& panel = TPanel::StaticClass();
  for (const char16_t* prop : {u"Left", u"Align", u"Anchors", u"BevelOuter", u"Caption", u"Color", u"Font",
                               u"ParentFont", u"PopupMenu", u"TabOrder", u"OnClick", u"OnResize"})
    EXPECT_NE(panel.FindProperty(prop), nullptr) << StringToUTF8(prop);
  EXPECT_EQ(TLabel::StaticClass().FindProperty(u"TabOrder"), nullptr) << "a label is no window";
  EXPECT_EQ(TForm::StaticClass().FindProperty(u"FormStyle")->PropType().Name(), u"TFormStyle");
  EXPECT_EQ(TPanel::StaticClass().FindProperty(u"BorderStyle")->PropType().Name(), u"TBorderStyle");
  auto* made = static_cast<TPanel*>(FRegistry.GetClass(u"TPanel").Create(nullptr));
  EXPECT_EQ(made->Width(), 185);
  delete made;
}

}  // namespace

namespace {

TEST_F(ControlsTest, ChildrenAreStreamedInControlOrderThenTheOwnedComponents) {
  auto* form = CreateForm<TLayoutForm>(FApp.get());
  auto* timer = new TTimer(form);
  timer->SetName(u"Timer1");
  std::vector<String> roots, inPanel;
  form->GetChildren([&](TComponent* c) { roots.push_back(c->Name()); }, form);
  EXPECT_EQ(roots.back(), u"Timer1") << "components without a parent come after the controls";
  EXPECT_EQ(roots.size(), 7u);
  form->PanelClient->GetChildren([&](TComponent* c) { inPanel.push_back(c->Name()); }, form);
  EXPECT_EQ(inPanel, (std::vector<String>{u"LabelHello", u"PanelNested", u"ButtonOK"}));
  form->PanelClient->SetChildOrder(form->ButtonOK, 0);
  inPanel.clear();
  form->PanelClient->GetChildren([&](TComponent* c) { inPanel.push_back(c->Name()); }, form);
  EXPECT_EQ(inPanel, (std::vector<String>{u"LabelHello", u"ButtonOK", u"PanelNested"}));
  EXPECT_EQ(Mouse.DragThreshold(), 5);
  EXPECT_NE(Mouse.WheelScrollLines(), 0);
}

}  // namespace
