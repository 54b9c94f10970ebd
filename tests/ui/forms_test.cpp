// Forms read from their resources: components made, fields filled, events
// bound by name, children aligned and anchored; the form events in their
// order; modal forms; MDI parents and their documents; exceptions from
// handlers reach the application's handler and the window goes on working.
// The door to the system headers first: it takes back the names they rename.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include "classes/reader.h"
#include "formfile/formconvert.h"
#include "ui/uitest.h"

namespace {

using FormsTest = UiTest;

TRect ClientBounds(TControl* c) {
  return c->BoundsRect();
}

TEST_F(FormsTest, AFormReadsItsResourceAndAlignsItsChildren) {
  auto* form = CreateForm<TLayoutForm>(FApp.get());
  ASSERT_NE(form->PanelClient, nullptr);
  EXPECT_EQ(form->Created, 1) << "OnCreate is bound by name and fired once";
  EXPECT_EQ(form->Name(), u"LayoutForm");
  EXPECT_EQ(form->Caption(), u"Layout");
  EXPECT_EQ(form->ClientWidth(), 400);
  EXPECT_EQ(form->ClientHeight(), 300);
  EXPECT_EQ(form->PanelClient->Owner(), form);
  EXPECT_EQ(form->ButtonNested->Parent(), form->PanelNested);

  struct Case {
    TControl* control;
    TRect bounds;
  } cases[] = {
      {form->PanelTop, Bounds(0, 0, 400, 40)},    // the two top panels by position,
      {form->PanelTop2, Bounds(0, 40, 400, 20)},  // not by their order in the form
      {form->PanelBottom, Bounds(0, 275, 400, 25)}, {form->PanelLeft, Bounds(0, 60, 100, 215)},
      {form->PanelRight, Bounds(350, 60, 50, 215)}, {form->PanelClient, Bounds(100, 60, 250, 215)},
      {form->PanelNested, Bounds(0, 185, 250, 30)}, {form->ButtonNested, Bounds(170, 2, 75, 25)},
      {form->ButtonOK, Bounds(165, 150, 75, 25)},
  };
  for (const Case& c : cases) EXPECT_EQ(ClientBounds(c.control), c.bounds) << StringToUTF8(c.control->Name());

  // The same once the windows exist.
  form->Show();
  Pump();
  RECT client{};
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 300);
  for (const Case& c : cases) EXPECT_EQ(ClientBounds(c.control), c.bounds) << StringToUTF8(c.control->Name());
  RECT r{};
  GetWindowRect(form->ButtonOK->Handle(), &r);
  MapWindowPoints(HWND_DESKTOP, form->PanelClient->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(FromRECT(r), Bounds(165, 150, 75, 25));
  UpdateWindow(form->Handle());
  SaveForInspection(CaptureScreen(form->Handle()), L"layout.bmp");
  harness::Bitmap32 painted = harness::PaintClient(form->Handle());
  SaveForInspection(painted, L"layout-client.bmp");
  EXPECT_EQ(painted.PixelColor(100 + 200, 60 + 100), RGB(255, 255, 255)) << "the white client panel";
  EXPECT_EQ(painted.PixelColor(20, 150), GetSysColor(COLOR_BTNFACE)) << "the left panel";
  // The system's button is there too, frame and caption, where it stands.
  int dark = 0;
  for (int y = 60 + 150; y < 60 + 175; ++y)
    for (int x = 100 + 165; x < 100 + 240; ++x)
      if (GetRValue(painted.PixelColor(x, y)) < 128) ++dark;
  EXPECT_GT(dark, 60);

  // Anchors keep the distances to the right and bottom edges.
  form->SetClientWidth(500);
  form->SetClientHeight(400);
  Pump();
  EXPECT_EQ(form->PanelClient->BoundsRect(), Bounds(100, 60, 350, 315));
  EXPECT_EQ(form->PanelNested->BoundsRect(), Bounds(0, 285, 350, 30));
  EXPECT_EQ(form->ButtonNested->BoundsRect(), Bounds(270, 2, 75, 25));
  EXPECT_EQ(form->ButtonOK->BoundsRect(), Bounds(265, 250, 75, 25));
  EXPECT_EQ(form->PanelRight->BoundsRect(), Bounds(450, 60, 50, 315));
}

TEST_F(FormsTest, OnShowFiresBeforeTheWindowIsVisibleAndEventsFireByName) {
  auto* form = CreateForm<TLayoutForm>(FApp.get());
  EXPECT_FALSE(form->Visible());
  form->Show();
  Pump();
  EXPECT_EQ(form->Shown, 1);
  EXPECT_FALSE(form->VisibleWhenShown);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));

  SendMessageW(form->ButtonOK->Handle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(form->OKClicks, 1);
  // A mouse click on the button (down and up inside) clicks it too.
  harness::SendClick(form->ButtonOK->Handle(), 10, 10);
  Pump();
  EXPECT_EQ(form->OKClicks, 2);
}

TEST_F(FormsTest, AClassWithoutAResourceCannotBeMade) {
  // A plain form needs none; a form class whose resource is missing fails.
  EXPECT_NO_THROW(delete CreateForm<TForm>(nullptr));
  FApp->SetResourceModule(GetModuleHandleW(L"kernel32.dll"));
  EXPECT_THROW(CreateForm<TLayoutForm>(nullptr), EResNotFound);
}

TEST_F(FormsTest, AnExceptionInAHandlerReachesTheApplicationAndTheWindowGoesOn) {
  auto* form = CreateForm<TLayoutForm>(FApp.get());
  form->Show();
  Pump();
  form->ThrowOnTop = true;
  SendMessageW(form->ButtonTop->Handle(), BM_CLICK, 0, 0);
  Pump();
  ASSERT_EQ(FExceptions.size(), 1u);
  EXPECT_EQ(FExceptions[0], u"The handler failed");

  // The silent abort is not reported.
  form->ThrowOnTop = false;
  form->AbortOnTop = true;
  SendMessageW(form->ButtonTop->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(FExceptions.size(), 1u);

  // The window still works: the next click runs the handler.
  form->AbortOnTop = false;
  SendMessageW(form->ButtonTop->Handle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(form->TopClicks, 3);
  EXPECT_TRUE(IsWindow(form->ButtonTop->Handle()));

  // Without a handler the application shows the message in a box.
  FApp->OnException = nullptr;
  form->ThrowOnTop = true;
  SendMessageW(form->ButtonTop->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(FBoxes.size(), 1u);
  EXPECT_EQ(FBoxes[0].Text, u"The handler failed.");
  EXPECT_EQ(FBoxes[0].Caption, u"Kestrum tests");
  EXPECT_EQ(FBoxes[0].Flags, UINT(MB_OK | MB_ICONSTOP));
}

TEST_F(FormsTest, ModalDialogsReturnTheirModalResult) {
  struct Case {
    const char* how;
    std::function<void(TDialogForm&)> act;
    TModalResult expected;
  } cases[] = {
      {"OK clicked", [](TDialogForm& d) { PostMessageW(d.ButtonOK->Handle(), BM_CLICK, 0, 0); }, mrOk},
      {"Cancel clicked", [](TDialogForm& d) { PostMessageW(d.ButtonCancel->Handle(), BM_CLICK, 0, 0); }, mrCancel},
      {"Enter pressed", [](TDialogForm& d) { PostMessageW(d.ButtonOK->Handle(), WM_KEYDOWN, VK_RETURN, 1); }, mrOk},
      {"Esc pressed", [](TDialogForm& d) { PostMessageW(d.ButtonOK->Handle(), WM_KEYDOWN, VK_ESCAPE, 1); }, mrCancel},
      {"closed", [](TDialogForm& d) { PostMessageW(d.Handle(), WM_CLOSE, 0, 0); }, mrCancel},
  };
  for (const Case& c : cases) {
    TFormPtr<TDialogForm> dialog = MakeForm<TDialogForm>(nullptr);
    TDialogForm* d = dialog.get();
    d->OnShow = TNotifyEvent([&c, d](TObject*) { c.act(*d); });
    EXPECT_EQ(d->ShowModal(), c.expected) << c.how;
    EXPECT_FALSE(d->Visible()) << c.how;
  }
  // Enter presses the button that has the focus; the form previews the
  // other keys (the dialog keys do not reach it).
  TFormPtr<TDialogForm> dialog = MakeForm<TDialogForm>(nullptr);
  TDialogForm* d = dialog.get();
  d->OnShow = TNotifyEvent([d](TObject*) {
    PostMessageW(d->ButtonOK->Handle(), WM_KEYDOWN, 'A', 1);
    PostMessageW(d->ButtonOK->Handle(), WM_KEYDOWN, VK_TAB, 1);
    PostMessageW(d->ButtonOK->Handle(), WM_KEYDOWN, VK_RETURN, 1);
  });
  EXPECT_EQ(d->ShowModal(), mrCancel);
  EXPECT_EQ(d->PreviewedKeys, (std::vector<Word>{'A'}));
  EXPECT_THROW(
      {
        d->Show();
        d->ShowModal();
      },
      EInvalidOperation);
}

TEST_F(FormsTest, AnMDIParentCascadesTilesMinimisesAndReportsItsActiveChild) {
  TMDIParentForm* parent = nullptr;
  FApp->CreateForm(parent);
  ASSERT_EQ(FApp->MainForm(), parent);
  parent->Show();
  Pump();
  ASSERT_NE(parent->ClientHandle(), nullptr);
  RECT client{};
  GetWindowRect(parent->ClientHandle(), &client);
  MapWindowPoints(HWND_DESKTOP, parent->Handle(), reinterpret_cast<POINT*>(&client), 2);
  EXPECT_EQ(client.top, 30) << "the client window takes what the aligned bar leaves";
  EXPECT_EQ(client.bottom, 400);

  std::vector<TMDIChildForm*> children;
  for (int i = 0; i < 3; ++i) {
    children.push_back(CreateForm<TMDIChildForm>(FApp.get()));
    children.back()->SetCaption(u"Document " + IntToStr(i + 1));
  }
  Pump();
  EXPECT_EQ(parent->MDIChildCount(), 3);
  EXPECT_EQ(parent->ActiveMDIChild(), children[2]);
  EXPECT_EQ(parent->MDIChildren(0), children[2]) << "the active document first";
  for (auto* child : children) EXPECT_TRUE(child->Visible() && IsWindowVisible(child->Handle()));
  EXPECT_GE(children[2]->Activations, 1);

  // Cascade: every window one step further right and down than the one behind it.
  parent->Cascade();
  Pump();
  std::vector<TRect> cascaded;
  for (int i = 0; i < 3; ++i) cascaded.push_back(parent->MDIChildren(2 - i)->BoundsRect());
  Integer dx = cascaded[1].Left - cascaded[0].Left, dy = cascaded[1].Top - cascaded[0].Top;
  EXPECT_GT(dx, 0);
  EXPECT_GT(dy, 0);
  EXPECT_EQ(cascaded[2].Left - cascaded[1].Left, dx);
  EXPECT_EQ(cascaded[2].Top - cascaded[1].Top, dy);

  // Tile: the windows share the client area without overlapping.
  parent->SetTileMode(tbHorizontal);
  parent->Tile();
  Pump();
  RECT area{};
  GetClientRect(parent->ClientHandle(), &area);
  Integer covered = 0;
  for (int i = 0; i < 3; ++i) {
    TRect a = parent->MDIChildren(i)->BoundsRect();
    covered += a.Width() * a.Height();
    for (int j = i + 1; j < 3; ++j) {
      TRect overlap;
      EXPECT_FALSE(IntersectRect(overlap, a, parent->MDIChildren(j)->BoundsRect())) << i << " and " << j;
    }
  }
  EXPECT_EQ(covered, (area.right - area.left) * (area.bottom - area.top));

  // Another document becomes active; one is minimised.
  children[0]->Show();
  Pump();
  EXPECT_EQ(parent->ActiveMDIChild(), children[0]);
  EXPECT_GE(children[0]->Activations, 1);
  children[1]->SetWindowState(wsMinimized);
  Pump();
  EXPECT_TRUE(IsIconic(children[1]->Handle()));
  EXPECT_EQ(children[1]->WindowState(), wsMinimized);
  parent->ArrangeIcons();

  // Closing a document frees it (its OnClose says so) once the messages ran.
  children[2]->Close();
  Pump();
  EXPECT_EQ(parent->MDIChildCount(), 2);
  EXPECT_THROW(children[0]->Hide(), EInvalidOperation);
}

TEST_F(FormsTest, AnMDIChildNeedsAnMDIParent) {
  try {
    CreateForm<TMDIChildForm>(FApp.get());
    FAIL() << "made without a parent";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), u"Cannot create form. No MDI forms are currently active");
  }
}

TEST_F(FormsTest, CloseQueryAndCloseActionsDecide) {
  auto* form = CreateForm<TLayoutForm>(FApp.get());
  form->Show();
  Pump();
  bool allow = false;
  form->OnCloseQuery = TCloseQueryEvent([&](TObject*, bool& canClose) { canClose = allow; });
  form->Close();
  EXPECT_TRUE(form->Visible());
  allow = true;
  form->Close();
  EXPECT_FALSE(form->Visible()) << "the form's OnClose chose to hide";
  // caFree: the form goes once the waiting messages ran; OnDestroy first.
  int destroyed = 0;
  auto* other = CreateForm<TForm>(FApp.get());
  other->OnClose = TCloseEvent([](TObject*, TCloseAction& action) { action = caFree; });
  other->OnDestroy = TNotifyEvent([&](TObject*) { ++destroyed; });
  other->Show();
  int before = FApp->ComponentCount();
  other->Close();
  Pump();
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(FApp->ComponentCount(), before - 1);
}

TEST_F(FormsTest, FocusMovesWithTabAndRunsExitAndEnter) {
  auto* form = CreateForm<TLayoutForm>(FApp.get());
  std::vector<std::string> log;
  for (TButton* b : {form->ButtonTop, form->ButtonOK, form->ButtonNested}) {
    b->OnEnter = TNotifyEvent([&log, b](TObject*) { log.push_back("enter " + StringToUTF8(b->Name())); });
    b->OnExit = TNotifyEvent([&log, b](TObject*) { log.push_back("exit " + StringToUTF8(b->Name())); });
  }
  form->Show();
  Pump();
  form->ButtonTop->SetFocus();
  Pump();
  EXPECT_TRUE(form->ButtonTop->Focused());
  EXPECT_EQ(form->ActiveControl(), form->ButtonTop);
  log.clear();
  // Tab order: the panels by TabOrder, inside PanelClient ButtonOK (0) before PanelNested (1).
  PostMessageW(form->ButtonTop->Handle(), WM_KEYDOWN, VK_TAB, 1);
  Pump();
  EXPECT_TRUE(form->ButtonOK->Focused());
  EXPECT_EQ(log, (std::vector<std::string>{"exit ButtonTop", "enter ButtonOK"}));
  PostMessageW(form->ButtonOK->Handle(), WM_KEYDOWN, VK_TAB, 1);
  Pump();
  EXPECT_TRUE(form->ButtonNested->Focused());
  EXPECT_EQ(Screen->ActiveControl(), form->ButtonNested);
  EXPECT_EQ(Screen->ActiveForm(), form);
}

TEST_F(FormsTest, KeyPreviewLetsTheFormTakeKeysFirst) {
  auto* form = CreateForm<TLayoutForm>(FApp.get());
  form->Show();
  Pump();
  std::vector<std::string> log;
  form->SetKeyPreview(true);
  form->OnKeyDown = TKeyEvent([&](TObject*, Word& key, TShiftState) {
    log.push_back("form " + std::to_string(key));
    if (key == 'X') key = 0;
  });
  form->ButtonOK->OnKeyDown = TKeyEvent([&](TObject*, Word& key, TShiftState shift) {
    log.push_back("button " + std::to_string(key) + (shift.Contains(ssCtrl) ? " ctrl" : ""));
  });
  harness::SendKey(form->ButtonOK->Handle(), 'A', {.ctrl = true});
  harness::SendKey(form->ButtonOK->Handle(), 'X');
  EXPECT_EQ(log, (std::vector<std::string>{"form 65", "button 65 ctrl", "form 88"}));
}

TEST_F(FormsTest, AFormInsideAControlIsAChildWindow) {
  auto* host = CreateForm<TLayoutForm>(FApp.get());
  host->Show();
  auto* box = new TScrollBox(host);
  box->SetParent(host->PanelClient);
  box->SetAlign(alClient);
  auto* inner = CreateForm<TForm>(box);
  inner->SetParent(box);
  inner->SetBounds(10, 10, 150, 100);
  inner->Show();
  Pump();
  EXPECT_EQ(GetParent(inner->Handle()), box->Handle());
  EXPECT_TRUE(GetWindowLongW(inner->Handle(), GWL_STYLE) & WS_CHILD);
  EXPECT_EQ(GetParentForm(inner), host) << "the topmost form";
  EXPECT_EQ(GetParentForm(inner, false), inner);
}

}  // namespace

namespace {

TEST_F(FormsTest, ActivationResizeAndHideEventsFire) {
  std::vector<std::string> log;
  auto track = [&log](TCustomForm* form, const std::string& name) {
    form->OnActivate = TNotifyEvent([&log, name](TObject*) { log.push_back(name + " activate"); });
    form->OnDeactivate = TNotifyEvent([&log, name](TObject*) { log.push_back(name + " deactivate"); });
    form->OnResize = TNotifyEvent([&log, name](TObject*) { log.push_back(name + " resize"); });
    form->OnHide = TNotifyEvent([&log, name](TObject*) { log.push_back(name + " hide"); });
  };
  auto* a = CreateForm<TLayoutForm>(FApp.get());
  auto* b = CreateForm<TDialogForm>(FApp.get());
  track(a, "a");
  track(b, "b");
  a->Show();
  Pump();
  a->ButtonOK->SetFocus();
  Pump();
  b->Show();
  Pump();
  b->ButtonOK->SetFocus();
  Pump();
  a->SetWidth(a->Width() + 20);
  b->Hide();
  Pump();
  auto position = [&](const std::string& entry) { return std::find(log.begin(), log.end(), entry) - log.begin(); };
  ASSERT_LT(position("a activate"), static_cast<std::ptrdiff_t>(log.size()));
  EXPECT_LT(position("a activate"), position("a deactivate"));
  EXPECT_LT(position("a deactivate"), position("b activate"));
  EXPECT_LT(position("b activate"), static_cast<std::ptrdiff_t>(log.size()));
  EXPECT_LT(position("a resize"), static_cast<std::ptrdiff_t>(log.size()));
  EXPECT_LT(position("b hide"), static_cast<std::ptrdiff_t>(log.size()));
}

}  // namespace

namespace {

// What a preview does: any form text read into a plain form inside a scroll box.
TEST_F(FormsTest, AnyFormTextReadsIntoAPlainFormInsideAControl) {
  auto* host = CreateForm<TForm>(FApp.get());
  host->SetBounds(700, 100, 400, 300);
  host->SetPosition(poDesigned);
  auto* desktop = new TScrollBox(host);
  desktop->SetParent(host);
  desktop->SetAlign(alClient);
  host->Show();
  auto* preview = CreateForm<TForm>(desktop);
  preview->SetParent(desktop);
  String text =
      u"object Form1: TForm1\r\n  Caption = 'Designed'\r\n  ClientHeight = 100\r\n  ClientWidth = 200\r\n"
      u"  Visible = True\r\n  OnCreate = FormCreate\r\n"
      u"  object Panel1: TPanel\r\n    Left = 0\r\n    Top = 0\r\n    Width = 185\r\n    Height = 41\r\n"
      u"    Align = alClient\r\n"
      u"    object Button1: TButton\r\n      Left = 8\r\n      Top = 8\r\n      OnClick = Button1Click\r\n    end\r\n"
      u"    object Mystery1: TMystery\r\n      Left = 1\r\n    end\r\n  end\r\nend\r\n";
  TStringStream source(text);
  TMemoryStream binary;
  FormTextToBinary(source, binary);
  binary.SetPosition(0);
  std::vector<String> errors;
  TComponentReader reader(binary, FRegistry);
  reader.OnError = TDelegate<void(TComponentReader&, const String&, bool&)>(
      [&](TComponentReader&, const String& message, bool& handled) {
        errors.push_back(message);
        handled = true;
      });
  reader.OnFindMethod = TDelegate<void(TComponentReader&, const String&, std::any&, bool&)>(
      [](TComponentReader&, const String&, std::any&, bool& error) { error = false; });
  reader.ReadRootComponent(preview);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], u"Class TMystery not found");
  preview->SetPosition(poDesigned);
  preview->SetLeft(10);
  preview->SetTop(10);
  preview->Show();
  Pump();
  auto* panel = static_cast<TPanel*>(preview->FindComponent(u"Panel1"));
  auto* button = static_cast<TButton*>(preview->FindComponent(u"Button1"));
  ASSERT_TRUE(panel && button);
  EXPECT_EQ(preview->Caption(), u"Designed");
  EXPECT_EQ(preview->ClientWidth(), 200);
  EXPECT_EQ(panel->BoundsRect(), Bounds(0, 0, 200, 100));
  EXPECT_FALSE(button->OnClick) << "handlers named in the text stay unassigned";
  EXPECT_EQ(GetParent(preview->Handle()), desktop->Handle());
  EXPECT_TRUE(IsWindowVisible(button->Handle()));
}

}  // namespace
