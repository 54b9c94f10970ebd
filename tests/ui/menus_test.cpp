// Menus, actions, the tool bar and the status bar: a form file with all of
// them loads and shows; short-cut keys through the application's loop run
// actions and menu items; idle updates reach menu items and tool buttons;
// an MDI document's menus join the frame's bar by group and leave with it;
// owner-drawn items paint their images.
// The door to the system headers first: it takes back the names they rename.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include "ui/actnlist.h"
#include "ui/menus.h"
#include "ui/statusbar.h"
#include "ui/toolbar.h"
#include "ui/uitest.h"

class TMenuForm : public TForm {
  KST_CLASS(TMenuForm, TForm)
 public:
  using TForm::TForm;
  TToolBar* ToolBar1 = nullptr;
  TToolButton* sbNew = nullptr;
  TToolButton* sbOpen = nullptr;
  TToolButton* ToolButton3 = nullptr;
  TToolButton* sbSave = nullptr;
  TStatusBar* sb = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem* mmFile = nullptr;
  TMenuItem* New1 = nullptr;
  TMenuItem* Open1 = nullptr;
  TMenuItem* Save1 = nullptr;
  TMenuItem* N1 = nullptr;
  TMenuItem* Exit1 = nullptr;
  TMenuItem* mmHelp = nullptr;
  TActionList* ActionList1 = nullptr;
  TAction* acNew = nullptr;
  TAction* acOpen = nullptr;
  TAction* acSave = nullptr;
  TImageList* ImageList1 = nullptr;
  TPopupMenu* pmBar = nullptr;
  TMenuItem* pmHide = nullptr;

  int News = 0, Opens = 0, Saves = 0, Exits = 0, Popups = 0, Hides = 0;
  bool CanSave = true;
  void acNewExecute(TObject*) { ++News; }
  void acOpenExecute(TObject*) { ++Opens; }
  void acSaveExecute(TObject*) { ++Saves; }
  void acSaveUpdate(TObject*) { acSave->SetEnabled(CanSave); }
  void Exit1Click(TObject*) { ++Exits; }
  void pmBarPopup(TObject*) { ++Popups; }
  void pmHideClick(TObject*) { ++Hides; }
};

class TMenuFrameForm : public TForm {
  KST_CLASS(TMenuFrameForm, TForm)
 public:
  using TForm::TForm;
  TMainMenu* MainMenu = nullptr;
  TMenuItem* mmFile = nullptr;
  TMenuItem* mmWin = nullptr;
  TMenuItem* mmHelp = nullptr;
};

class TMenuDocForm : public TForm {
  KST_CLASS(TMenuDocForm, TForm)
 public:
  using TForm::TForm;
  TMainMenu* MainMenu = nullptr;
  TMenuItem* mmEdit = nullptr;
  TMenuItem* Undo1 = nullptr;
  int Undos = 0;
  void Undo1Click(TObject*) { ++Undos; }
  void FormClose(TObject*, TCloseAction& action) { action = caFree; }
};

KST_CLASS_IMPL(TMenuForm, "MenusTests")
KST_CLASS_IMPL(TMenuFrameForm, "MenusTests")
KST_CLASS_IMPL(TMenuDocForm, "MenusTests")

void TMenuForm::Describe(TClassBuilder<TMenuForm>& c) {
  c.Field(u"ToolBar1", &TMenuForm::ToolBar1);
  c.Field(u"sbNew", &TMenuForm::sbNew);
  c.Field(u"sbOpen", &TMenuForm::sbOpen);
  c.Field(u"ToolButton3", &TMenuForm::ToolButton3);
  c.Field(u"sbSave", &TMenuForm::sbSave);
  c.Field(u"sb", &TMenuForm::sb);
  c.Field(u"MainMenu1", &TMenuForm::MainMenu1);
  c.Field(u"mmFile", &TMenuForm::mmFile);
  c.Field(u"New1", &TMenuForm::New1);
  c.Field(u"Open1", &TMenuForm::Open1);
  c.Field(u"Save1", &TMenuForm::Save1);
  c.Field(u"N1", &TMenuForm::N1);
  c.Field(u"Exit1", &TMenuForm::Exit1);
  c.Field(u"mmHelp", &TMenuForm::mmHelp);
  c.Field(u"ActionList1", &TMenuForm::ActionList1);
  c.Field(u"acNew", &TMenuForm::acNew);
  c.Field(u"acOpen", &TMenuForm::acOpen);
  c.Field(u"acSave", &TMenuForm::acSave);
  c.Field(u"ImageList1", &TMenuForm::ImageList1);
  c.Field(u"pmBar", &TMenuForm::pmBar);
  c.Field(u"pmHide", &TMenuForm::pmHide);
  c.Method(u"acNewExecute", &TMenuForm::acNewExecute);
  c.Method(u"acOpenExecute", &TMenuForm::acOpenExecute);
  c.Method(u"acSaveExecute", &TMenuForm::acSaveExecute);
  c.Method(u"acSaveUpdate", &TMenuForm::acSaveUpdate);
  c.Method(u"Exit1Click", &TMenuForm::Exit1Click);
  c.Method(u"pmBarPopup", &TMenuForm::pmBarPopup);
  c.Method(u"pmHideClick", &TMenuForm::pmHideClick);
}

void TMenuFrameForm::Describe(TClassBuilder<TMenuFrameForm>& c) {
  c.Field(u"MainMenu", &TMenuFrameForm::MainMenu);
  c.Field(u"mmFile", &TMenuFrameForm::mmFile);
  c.Field(u"mmWin", &TMenuFrameForm::mmWin);
  c.Field(u"mmHelp", &TMenuFrameForm::mmHelp);
}

void TMenuDocForm::Describe(TClassBuilder<TMenuDocForm>& c) {
  c.Field(u"MainMenu", &TMenuDocForm::MainMenu);
  c.Field(u"mmEdit", &TMenuDocForm::mmEdit);
  c.Field(u"Undo1", &TMenuDocForm::Undo1);
  c.Method(u"Undo1Click", &TMenuDocForm::Undo1Click);
  c.Method(u"FormClose", &TMenuDocForm::FormClose);
}

namespace {

const COLORREF kImageColors[] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255)};

class MenusTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    FApp->OnIdle = TIdleEvent([this](TObject*, bool& done) {
      ++FIdles;
      done = false;  // the test goes on rather than wait for a message
    });
  }

  // Makes a form and gives its image list three plain images.
  TMenuForm* MakeMenuForm() {
    auto* form = CreateForm<TMenuForm>(FApp.get());
    for (COLORREF colour : kImageColors) {
      TBitmap image(16, 16, pf24bit);
      image.Canvas().Brush().SetColor(static_cast<TColor>(colour));
      image.Canvas().FillRect(Rect(0, 0, 16, 16));
      form->ImageList1->AddMasked(image, clFuchsia);
    }
    return form;
  }

  // Lets the application idle once (its idle handlers run).
  void Idle() {
    int before = FIdles;
    while (FIdles == before) FApp->HandleMessage();
  }

  // A key pressed with modifiers, through the application's loop.
  void PressThroughLoop(HWND window, UINT key, harness::Modifiers modifiers) {
    harness::SetModifiers(modifiers);
    bool alt = modifiers.alt;
    PostMessageW(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, alt ? (1 | 0x20000000) : 1);
    Pump();
    harness::SetModifiers({});
  }

  static String MenuString(HMENU menu, UINT position) {
    wchar_t text[128]{};
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return FromWStr(text);
  }
  // The texts of the entries (the system's picture entries of a maximised document have none).
  static std::vector<String> BarStrings(HMENU menu) {
    std::vector<String> result;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
      if (String text = MenuString(menu, static_cast<UINT>(i)); !text.empty()) result.push_back(text);
    return result;
  }

  int FIdles = 0;
};

TEST_F(MenusTest, ShortCutsReadAndWriteTheirNames) {
  struct Case {
    const char16_t* text;
    TShortCut shortCut;
  } cases[] = {
      {u"Ctrl+O", scCtrl | 'O'},
      {u"F9", VK_F9},
      {u"Alt+X", scAlt | 'X'},
      {u"Alt+BkSp", scAlt | VK_BACK},
      {u"Ctrl+F4", scCtrl | VK_F4},
      {u"Ctrl+PgDn", scCtrl | VK_NEXT},
      {u"Shift+Del", scShift | VK_DELETE},
      {u"Ctrl+Ins", scCtrl | VK_INSERT},
      {u"Shift+Ctrl+F1", scShift | scCtrl | VK_F1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortCutToText(c.shortCut), c.text);
    EXPECT_EQ(TextToShortCut(c.text), c.shortCut) << StringToUTF8(c.text);
  }
  EXPECT_EQ(TextToShortCut(u"Alt+Backspace"), scAlt | VK_BACK) << "the long name reads too";
  EXPECT_EQ(TextToShortCut(u"ctrl+o"), scCtrl | 'O');
  for (const char16_t* bad : {u"", u"Ctrl+", u"Ctrl+Nothing", u"Hyper+A"}) EXPECT_EQ(TextToShortCut(bad), 0);
  EXPECT_EQ(ShortCutType().Name(), u"TShortCut");
}

TEST_F(MenusTest, AFormWithMenusActionsToolBarAndStatusBarLoadsAndShows) {
  TMenuForm* form = MakeMenuForm();
  // The items are the form's components, placed under their menu and items.
  ASSERT_NE(form->Open1, nullptr);
  EXPECT_EQ(form->Open1->Owner(), form);
  EXPECT_EQ(form->Open1->Parent(), form->mmFile);
  EXPECT_EQ(form->mmFile->Parent(), form->MainMenu1->Items());
  EXPECT_EQ(form->mmFile->GetParentComponent(), form->MainMenu1);
  EXPECT_EQ(form->mmFile->Count(), 5);
  EXPECT_EQ(form->acOpen->ActionList(), form->ActionList1);
  EXPECT_EQ(form->ActionList1->ActionCount(), 3);
  EXPECT_EQ(form->Menu(), form->MainMenu1);
  EXPECT_EQ(form->MainMenu1->DesignInfo(), 8 | (40 << 16)) << "Left and Top of a component that is no control";
  // Items and buttons take what they show from their actions.
  EXPECT_EQ(form->Open1->Caption(), u"Open...");
  EXPECT_EQ(form->Open1->ShortCut(), scCtrl | 'O');
  EXPECT_EQ(form->Open1->ImageIndex(), 1);
  EXPECT_EQ(form->sbOpen->Hint(), u"Open");
  EXPECT_EQ(form->sbOpen->ImageIndex(), 1);
  EXPECT_EQ(form->sbOpen->Cursor(), crHandPoint);
  std::vector<String> componentsUnderMenu;
  form->MainMenu1->GetChildren([&](TComponent* c) { componentsUnderMenu.push_back(c->Name()); }, form);
  EXPECT_EQ(componentsUnderMenu, (std::vector<String>{u"mmFile", u"mmHelp"}));

  form->Show();
  Pump();
  EXPECT_EQ(form->ClientHeight(), 200) << "the bar does not take the form file's client area";
  HMENU bar = GetMenu(form->Handle());
  ASSERT_EQ(bar, form->MainMenu1->Handle());
  EXPECT_EQ(BarStrings(bar), (std::vector<String>{u"&File", u"&Help"}));
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_EQ(file, form->mmFile->Handle());
  EXPECT_EQ(GetMenuItemCount(file), 5);
  EXPECT_EQ(MenuString(file, 1), u"Open...\tCtrl+O");
  EXPECT_EQ(MenuString(file, 4), u"E&xit\tAlt+X");
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_ID;
  ASSERT_TRUE(GetMenuItemInfoW(file, 1, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  EXPECT_EQ(info.wID, form->Open1->Command());
  ASSERT_TRUE(GetMenuItemInfoW(file, 3, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_SEPARATOR);

  // The tool buttons stand in a row; the separator is narrow.
  EXPECT_EQ(form->ToolBar1->ButtonCount(), 4);
  EXPECT_EQ(form->sbNew->BoundsRect(), Bounds(0, 0, 23, 22));
  EXPECT_EQ(form->sbOpen->BoundsRect(), Bounds(23, 0, 23, 22));
  EXPECT_EQ(form->ToolButton3->BoundsRect(), Bounds(46, 0, 8, 22));
  EXPECT_EQ(form->sbSave->BoundsRect(), Bounds(54, 0, 23, 22));
  EXPECT_EQ(form->sb->BoundsRect(), Bounds(0, 181, 360, 19));

  // The status bar's panels on the system's window.
  EXPECT_EQ(form->sb->Panels().Count(), 3);
  EXPECT_EQ(form->sb->PanelText(0), u"Object count: 0");
  EXPECT_EQ(StripHotkey(form->sb->PanelText(2)).find(u"Modified") != String::npos, true);
  EXPECT_NEAR(form->sb->PanelRect(0).Width(), 100, 4);
  form->sb->Panels().Items(1)->SetText(u"Col: 5  Ln: 12");
  EXPECT_EQ(form->sb->PanelText(1), u"Col: 5  Ln: 12");
  form->sb->SetSimplePanel(true);
  form->sb->SetSimpleText(u"Simple");
  EXPECT_EQ(form->sb->PanelText(0), u"Simple");
  form->sb->SetSimplePanel(false);
  EXPECT_EQ(form->sb->PanelText(0), u"Object count: 0");

  // The buttons paint their images; the disabled one greyed.
  form->CanSave = false;
  Idle();
  Pump();
  harness::Bitmap32 painted = harness::PaintClient(form->Handle());
  SaveForInspection(painted, L"menus-client.bmp");
  SaveForInspection(CaptureScreen(form->Handle()), L"menus.bmp");
  EXPECT_EQ(painted.PixelColor(11, 11), kImageColors[0]);
  EXPECT_EQ(painted.PixelColor(23 + 11, 11), kImageColors[1]);
  EXPECT_EQ(painted.PixelColor(54 + 11, 11), GetSysColor(COLOR_BTNSHADOW)) << "a disabled button's image is greyed";

  // A button's hint is its action's.
  FApp->ActivateHint(form->sbOpen->ClientToScreen({5, 5}));
  ASSERT_NE(FApp->HintWindowInstance(), nullptr);
  EXPECT_EQ(FApp->HintWindowInstance()->Caption(), u"Open");
  FApp->CancelHint();
}

TEST_F(MenusTest, ShortCutKeysThroughTheLoopRunActionsAndItems) {
  TMenuForm* form = MakeMenuForm();
  form->Show();
  Pump();
  PressThroughLoop(form->Handle(), 'O', {.ctrl = true});
  EXPECT_EQ(form->Opens, 1) << "Ctrl+O runs the action";
  PressThroughLoop(form->ToolBar1->Handle(), 'X', {.alt = true});
  EXPECT_EQ(form->Exits, 1) << "Alt+X runs the item from a control of the form";
  PressThroughLoop(form->Handle(), 'O', {});
  EXPECT_EQ(form->Opens, 1) << "O alone is no short-cut";
  form->CanSave = false;
  PressThroughLoop(form->Handle(), 'S', {.ctrl = true});
  EXPECT_EQ(form->Saves, 0) << "the action is updated first and does not run disabled";
  form->CanSave = true;
  PressThroughLoop(form->Handle(), 'S', {.ctrl = true});
  EXPECT_EQ(form->Saves, 1);

  // A menu command from the system, and a click on a tool button.
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(form->New1->Command(), 0), 0);
  EXPECT_EQ(form->News, 1);
  harness::SendClick(form->ToolBar1->Handle(), 23 + 11, 11);
  Pump();
  EXPECT_EQ(form->Opens, 2);

  // A right click on the bar shows its pop-up menu; the chosen item runs.
  UINT offered = 0;
  form->pmBar->TrackHook = [&](TPopupMenu& menu) {
    offered = static_cast<UINT>(GetMenuItemCount(menu.Handle()));
    return static_cast<UINT>(form->pmHide->Command());
  };
  SendMessageW(form->ToolBar1->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->ToolBar1->Handle()),
               MAKELPARAM(100, 100));
  EXPECT_EQ(form->Popups, 1);
  EXPECT_EQ(offered, 1u);
  EXPECT_EQ(form->Hides, 1);
  EXPECT_EQ(form->pmBar->PopupComponent(), form->ToolBar1);
}

TEST_F(MenusTest, IdleUpdatesDisableTheMenuItemAndToolButtonOfAnAction) {
  TMenuForm* form = MakeMenuForm();
  form->Show();
  Pump();
  HMENU file = form->mmFile->Handle();
  form->CanSave = false;
  Idle();
  EXPECT_FALSE(form->acSave->Enabled());
  EXPECT_FALSE(form->Save1->Enabled());
  EXPECT_TRUE(GetMenuState(file, form->Save1->Command(), MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(form->sbSave->Enabled());
  EXPECT_FALSE(GetMenuState(file, form->Open1->Command(), MF_BYCOMMAND) & MF_GRAYED);
  form->CanSave = true;
  Idle();
  EXPECT_FALSE(GetMenuState(file, form->Save1->Command(), MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(form->sbSave->Enabled());

  // A hidden form's actions are left alone.
  form->Hide();
  form->CanSave = false;
  Idle();
  EXPECT_TRUE(form->acSave->Enabled());

  // Changes of the action reach its clients at once.
  form->acOpen->SetCaption(u"Open file...");
  form->acOpen->SetChecked(true);
  EXPECT_EQ(form->Open1->Caption(), u"Open file...");
  EXPECT_EQ(MenuString(file, 1), u"Open file...\tCtrl+O");
  EXPECT_TRUE(GetMenuState(file, form->Open1->Command(), MF_BYCOMMAND) & MF_CHECKED);
  form->acOpen->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(file), 4) << "a hidden item leaves the menu";
  EXPECT_FALSE(form->sbOpen->Visible());
  delete form->acOpen;
  EXPECT_EQ(form->Open1->Action(), nullptr) << "the item lets go of an action that goes";
  EXPECT_EQ(form->sbOpen->Action(), nullptr);
}

TEST_F(MenusTest, AButtonFollowsItsActionAndRunsIt) {
  TMenuForm* form = MakeMenuForm();
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetAction(form->acOpen);
  EXPECT_EQ(button->Caption(), u"Open...");
  EXPECT_EQ(button->Hint(), u"Open");
  form->Show();
  Pump();
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(form->Opens, 1);
  form->acOpen->SetEnabled(false);
  EXPECT_FALSE(button->Enabled());
  EXPECT_FALSE(IsWindowEnabled(button->Handle()));
  // A handler of its own takes the click instead.
  form->acOpen->SetEnabled(true);
  int own = 0;
  button->OnClick = TNotifyEvent([&](TObject*) { ++own; });
  button->Click();
  EXPECT_EQ(own, 1);
  EXPECT_EQ(form->Opens, 1);
}

TEST_F(MenusTest, AnMDIDocumentsMenusJoinTheFramesBarByGroupAndLeaveWithIt) {
  TMenuFrameForm* frame = nullptr;
  FApp->CreateForm(frame);
  frame->Show();
  Pump();
  HMENU bar = GetMenu(frame->Handle());
  ASSERT_EQ(bar, frame->MainMenu->Handle());
  EXPECT_EQ(BarStrings(bar), (std::vector<String>{u"&File", u"&Windows", u"&Help"}));

  auto* doc = CreateForm<TMenuDocForm>(FApp.get());
  Pump();
  ASSERT_EQ(frame->ActiveMDIChild(), doc);
  EXPECT_EQ(BarStrings(bar), (std::vector<String>{u"&File", u"&Edit", u"&Data", u"&Windows", u"&Help"}));

  // The system lists the documents under the window menu.
  std::vector<String> windowItems = BarStrings(frame->mmWin->Handle());
  EXPECT_EQ(windowItems.front(), u"Cascade");
  EXPECT_TRUE(std::any_of(windowItems.begin(), windowItems.end(), [](const String& s) {
    return s.find(u"Doc") != String::npos;
  })) << "the window menu lists the document";

  // The merged items work from the frame's bar and by their short-cuts.
  SendMessageW(frame->Handle(), WM_COMMAND, MAKEWPARAM(doc->Undo1->Command(), 0), 0);
  EXPECT_EQ(doc->Undos, 1);
  PressThroughLoop(doc->Handle(), VK_BACK, {.alt = true});
  EXPECT_EQ(doc->Undos, 2) << "Alt+BkSp in the document";
  PressThroughLoop(frame->ClientHandle(), VK_BACK, {.alt = true});
  EXPECT_EQ(doc->Undos, 3) << "Alt+BkSp on the frame goes to the active document";

  // A second document replaces the first one's entries, it does not add to them.
  auto* second = CreateForm<TMenuDocForm>(FApp.get());
  Pump();
  ASSERT_EQ(frame->ActiveMDIChild(), second);
  EXPECT_EQ(BarStrings(bar), (std::vector<String>{u"&File", u"&Edit", u"&Data", u"&Windows", u"&Help"}));
  EXPECT_EQ(frame->MainMenu->Merged(), second->MainMenu);
  SendMessageW(frame->Handle(), WM_COMMAND, MAKEWPARAM(second->Undo1->Command(), 0), 0);
  EXPECT_EQ(second->Undos, 1);

  // A maximised document puts the system's buttons into the bar; activating
  // another document keeps them where they are.
  second->SetWindowState(wsMaximized);
  Pump();
  int withButtons = GetMenuItemCount(bar);
  EXPECT_GT(withButtons, 5);
  doc->Show();
  Pump();
  ASSERT_EQ(frame->ActiveMDIChild(), doc);
  EXPECT_EQ(BarStrings(bar), (std::vector<String>{u"&File", u"&Edit", u"&Data", u"&Windows", u"&Help"}));
  EXPECT_EQ(frame->MainMenu->Merged(), doc->MainMenu);
  SaveForInspection(CaptureScreen(frame->Handle()), L"menus-mdi.bmp");

  second->Close();
  doc->Close();
  Pump();
  EXPECT_EQ(frame->MDIChildCount(), 0);
  EXPECT_EQ(BarStrings(bar), (std::vector<String>{u"&File", u"&Windows", u"&Help"}));
  EXPECT_EQ(frame->MainMenu->Merged(), nullptr);
}

TEST_F(MenusTest, AnOwnerDrawnItemIsMeasuredAndPaintsItsImage) {
  TMenuForm* form = MakeMenuForm();
  form->Show();
  Pump();
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemID = form->Open1->Command();
  measure.itemData = reinterpret_cast<ULONG_PTR>(form->Open1);
  EXPECT_EQ(SendMessageW(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), 1);
  EXPECT_GE(measure.itemHeight, 20u);
  EXPECT_GT(measure.itemWidth, 16u + 40u);
  MEASUREITEMSTRUCT stranger = measure;
  stranger.itemData = reinterpret_cast<ULONG_PTR>(&measure);
  stranger.itemHeight = 0;
  SendMessageW(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&stranger));
  EXPECT_EQ(stranger.itemHeight, 0u) << "data that is no item of the menu is left alone";

  int w = static_cast<int>(measure.itemWidth), h = static_cast<int>(measure.itemHeight);
  auto draw = [&](TMenuItem* item, UINT state) {
    return harness::PaintInto(w, h, [&](HDC dc) {
      DRAWITEMSTRUCT d{};
      d.CtlType = ODT_MENU;
      d.itemID = item->Command();
      d.itemAction = ODA_DRAWENTIRE;
      d.itemState = state;
      d.hwndItem = reinterpret_cast<HWND>(form->mmFile->Handle());
      d.hDC = dc;
      d.rcItem = {0, 0, w, h};
      d.itemData = reinterpret_cast<ULONG_PTR>(item);
      SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    });
  };
  harness::Bitmap32 normal = draw(form->Open1, 0);
  SaveForInspection(normal, L"menu-item.bmp");
  int imageY = (h - 16) / 2;
  EXPECT_EQ(normal.PixelColor(4 + 8, imageY + 8), kImageColors[1]) << "the image of the item";
  EXPECT_EQ(normal.PixelColor(w - 2, 1), GetSysColor(COLOR_MENU));
  int dark = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 30; x < w; ++x)
      if (GetRValue(normal.PixelColor(x, y)) < 100) ++dark;
  EXPECT_GT(dark, 20) << "the caption and the short-cut";
  harness::Bitmap32 selected = draw(form->Open1, ODS_SELECTED);
  EXPECT_EQ(selected.PixelColor(w - 2, 1), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(selected.PixelColor(4 + 8, imageY + 8), kImageColors[1]);
  form->acOpen->SetEnabled(false);
  harness::Bitmap32 disabled = draw(form->Open1, ODS_GRAYED);
  EXPECT_NE(disabled.PixelColor(4 + 8, imageY + 8), kImageColors[1]) << "greyed";
  harness::Bitmap32 line = draw(form->N1, 0);
  EXPECT_NE(line.PixelColor(w / 2, h / 2 - 1) == GetSysColor(COLOR_MENU) &&
                line.PixelColor(w / 2, h / 2) == GetSysColor(COLOR_MENU),
            true)
      << "a separator draws its line";
}

}  // namespace
