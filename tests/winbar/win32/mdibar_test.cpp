// The window bar and the tab strip of a multiple-document main form read
// from its form resource: they follow the document windows' creation,
// activation, captions and destruction, and activate a window on a click.
#include "winbar/win32/winbartest.h"

#include "rtl/numbers.h"
#include "support/win32/realinput.h"

namespace {

struct Documents {
  TWinbarMainForm* Main = nullptr;
  std::vector<TWinbarChildForm*> Children;
};

}  // namespace

class MDIBarTest : public WinbarTest {
 protected:
  // The main form with three documents, each given a button and a tab.
  Documents OpenThree(TWinbarMainForm* main = nullptr) {
    Documents d;
    d.Main = main;
    if (!d.Main) {
      FApp->CreateForm(d.Main);
      d.Main->Show();
      Pump();
    }
    for (int i = 0; i < 3; ++i) {
      auto* child = CreateForm<TWinbarChildForm>(FApp.get());
      child->SetCaption(u"Document " + IntToStr(i + 1));
      d.Main->mdibg->AddButton(child, 5, u"C:\\forms\\Unit" + IntToStr(i + 1) + u".dfm");
      d.Main->tabs->AddTab(child, -1, u"Tab hint " + IntToStr(i + 1));
      d.Children.push_back(child);
    }
    Pump();
    return d;
  }
  static TPoint ButtonCentre(TMDIButtonGroup& bar, int index) {
    TRect r = bar.GetButtonRect(index);
    return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  static void Click(TMDIButtonGroup& bar, int index, harness::MouseButton button = harness::MouseButton::Left) {
    TPoint p = ButtonCentre(bar, index);
    harness::SendClick(bar.Handle(), p.X, p.Y, button);
  }
};

TEST_F(MDIBarTest, ThreeDocumentsShowThreeButtonsAndTabsWithTheirCaptions) {
  Documents d = OpenThree();
  TMDIButtonGroup& bar = *d.Main->mdibg;
  ASSERT_EQ(bar.Items().Count(), 3);
  EXPECT_EQ(bar.MDIChildCount(), 3);
  ASSERT_EQ(d.Main->tabs->Tabs().Count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(bar.Items().Items(i)->Caption(), u"Document " + IntToStr(i + 1));
    EXPECT_EQ(bar.GetMDIChild(i), d.Children[i]);
    EXPECT_EQ(bar.Items().Items(i)->ImageIndex(), 5);
    EXPECT_EQ(d.Children[i]->Hint(), u"Tab hint " + IntToStr(i + 1)) << "the last hint given is the window's";
    EXPECT_EQ(d.Main->tabs->Tabs().Get(i), u"Document " + IntToStr(i + 1));
    EXPECT_EQ(d.Main->tabs->GetMDIChild(i), d.Children[i]);
  }
  EXPECT_EQ(bar.GetMDIChild(-1), nullptr);
  EXPECT_EQ(bar.GetMDIChild(3), nullptr);
  EXPECT_EQ(bar.ItemIndex(), 2) << "the last one added is selected";
  EXPECT_EQ(d.Main->tabs->TabIndex(), 2);
  EXPECT_EQ(bar.Height(), 6 + 22) << "bevels top and bottom and one row of four-wide buttons";
  // Three buttons left to right, 150 wide; the bar draws the selected one yellow.
  EXPECT_EQ(bar.GetButtonRect(1), Rect(150, 0, 300, 22));
  harness::Bitmap32 picture = harness::PaintClient(bar.Handle());
  COLORREF selected = picture.PixelColor(375, 19);  // the glass has faded almost into the fill there
  EXPECT_GT(GetRValue(selected), 0xC0);
  EXPECT_GT(GetGValue(selected), 0xC0);
  EXPECT_LT(GetBValue(selected), 0x40);
  EXPECT_EQ(picture.PixelColor(375, 20), static_cast<COLORREF>(clMedGray)) << "the edge";
  EXPECT_EQ(picture.PixelColor(500, 10), static_cast<COLORREF>(ColorToRGB(clBtnFace)))
      << "the bar's colour after the row";

  // A second AddButton of the same window adds nothing; nor does nil.
  bar.AddButton(d.Children[0], 5, u"again");
  bar.AddButton(nullptr, 5, u"none");
  d.Main->tabs->AddTab(d.Children[0], -1, u"again");
  EXPECT_EQ(bar.Items().Count(), 3);
  EXPECT_EQ(d.Main->tabs->Tabs().Count(), 3);

  SaveForInspection(CaptureScreen(d.Main->Handle()), L"winbar-mdi.bmp");
}

TEST_F(MDIBarTest, ClickingAButtonActivatesItsWindowAndATabDoesTheSame) {
  Documents d = OpenThree();
  TMDIButtonGroup& bar = *d.Main->mdibg;
  std::vector<TMDIAction> actions;
  bar.OnChange = [&](TObject*, TMDIAction action) { actions.push_back(action); };
  ASSERT_EQ(d.Main->ActiveMDIChild(), d.Children[2]);
  int before = d.Children[0]->Activations;
  Click(bar, 0);
  Pump();
  EXPECT_EQ(d.Main->ActiveMDIChild(), d.Children[0]);
  EXPECT_EQ(bar.ItemIndex(), 0);
  EXPECT_EQ(d.Main->tabs->TabIndex(), 0) << "the tab strip follows the activation";
  EXPECT_GT(d.Children[0]->Activations, before) << "the window's own handler still runs";
  EXPECT_NE(std::find(actions.begin(), actions.end(), mdiActivate), actions.end());
  EXPECT_NE(std::find(actions.begin(), actions.end(), mdiOpen), actions.end());

  // A minimised window comes back on its button.
  d.Children[1]->SetWindowState(wsMinimized);
  Pump();
  EXPECT_EQ(bar.MinimizedCount(), 1);
  Click(bar, 1);
  Pump();
  EXPECT_EQ(d.Children[1]->WindowState(), wsNormal);
  EXPECT_EQ(d.Main->ActiveMDIChild(), d.Children[1]);

  // A veto leaves everything as it was.
  bar.OnBeforeChange = [](TObject*, Integer&, TMDIAction& action) { action = mdiNone; };
  actions.clear();
  Click(bar, 2);
  Pump();
  EXPECT_EQ(d.Main->ActiveMDIChild(), d.Children[1]);
  EXPECT_EQ(bar.ItemIndex(), 1);
  EXPECT_TRUE(actions.empty());
  bar.OnBeforeChange = nullptr;

  // Activating a window directly selects its button and its tab.
  d.Children[2]->Show();
  Pump();
  EXPECT_EQ(bar.ItemIndex(), 2);
  EXPECT_EQ(d.Main->tabs->TabIndex(), 2);

  // Selecting a tab brings its window to the front.
  RECT tab{};
  SendMessageW(d.Main->tabs->Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
  harness::SendClick(d.Main->tabs->Handle(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  Pump();
  EXPECT_EQ(d.Main->ActiveMDIChild(), d.Children[0]);
  EXPECT_EQ(bar.ItemIndex(), 0);
  bar.OnChange = nullptr;
}

TEST_F(MDIBarTest, RenamingAWindowRenamesItsButtonAndTab) {
  Documents d = OpenThree();
  d.Children[1]->SetCaption(u"Renamed.dfm");
  Pump();
  EXPECT_EQ(d.Main->mdibg->Items().Items(1)->Caption(), u"Renamed.dfm");
  EXPECT_EQ(d.Main->tabs->Tabs().Get(1), u"Renamed.dfm");
  EXPECT_EQ(d.Main->mdibg->Items().Items(0)->Caption(), u"Document 1");
}

TEST_F(MDIBarTest, ClosingAWindowRemovesItsButtonAndTab) {
  Documents d = OpenThree();
  TMDIButtonGroup& bar = *d.Main->mdibg;
  d.Children[1]->Close();
  Pump();
  ASSERT_EQ(bar.Items().Count(), 2);
  EXPECT_EQ(bar.GetMDIChild(0), d.Children[0]);
  EXPECT_EQ(bar.GetMDIChild(1), d.Children[2]);
  ASSERT_EQ(d.Main->tabs->Tabs().Count(), 2);
  EXPECT_EQ(d.Main->tabs->Tabs().Get(1), u"Document 3");
  EXPECT_EQ(TWinbarChildForm::Destroyed, 1) << "the window's own handler ran";
  EXPECT_EQ(bar.ActiveMDIChild(), d.Main->ActiveMDIChild()) << "the selection follows the window now active";

  // A window whose own destruction handler fails still loses its button.
  d.Children[2]->ThrowOnDestroy = true;
  d.Children[2]->Close();
  Pump();
  EXPECT_EQ(bar.Items().Count(), 1);
  EXPECT_EQ(d.Main->tabs->Tabs().Count(), 1);
  EXPECT_EQ(bar.GetMDIChild(0), d.Children[0]);
  EXPECT_FALSE(FExceptions.empty()) << "the failure is reported, not dropped";

  // A window freed by its owner, without its destruction handler, loses its button too.
  delete d.Children[0];
  Pump();
  EXPECT_EQ(bar.Items().Count(), 0);
  EXPECT_EQ(d.Main->tabs->Tabs().Count(), 0);
  EXPECT_EQ(bar.ItemIndex(), -1);
  EXPECT_EQ(bar.Height(), 6) << "the empty bar";
}

TEST_F(MDIBarTest, ADocumentsButtonDraggedOntoTheLeftHalfOfAnotherLandsBeforeIt) {
  Documents d = OpenThree();
  TMDIButtonGroup& bar = *d.Main->mdibg;
  harness::BringToFront(bar.Handle());
  const TRect first = bar.GetButtonRect(0), third = bar.GetButtonRect(2);
  const Integer y = (first.Top + first.Bottom) / 2;
  harness::InputDrag(bar.Handle(), (first.Left + first.Right) / 2, y, third.Left + 6, y, 4);
  Pump();
  ASSERT_EQ(bar.Items().Count(), 3);
  EXPECT_EQ(bar.Items().Items(0)->Caption(), u"Document 2");
  EXPECT_EQ(bar.Items().Items(1)->Caption(), u"Document 1");
  EXPECT_EQ(bar.Items().Items(2)->Caption(), u"Document 3");
  EXPECT_EQ(bar.GetMDIChild(1), d.Children[0]) << "the window goes with its button";
}

TEST_F(MDIBarTest, ClosingAnInactiveWindowKeepsTheActiveWindowsTabSelected) {
  Documents d = OpenThree();
  TMDITab& strip = *d.Main->tabs;
  d.Children[1]->Show();
  Pump();
  ASSERT_EQ(strip.ActiveMDIChild(), d.Children[1]);
  d.Children[0]->Close();
  Pump();
  ASSERT_EQ(strip.Tabs().Count(), 2);
  EXPECT_EQ(strip.TabIndex(), 0) << "Document 2 moved to the first tab";
  EXPECT_EQ(strip.ActiveMDIChild(), d.Children[1]);
  EXPECT_EQ(SendMessageW(strip.Handle(), TCM_GETCURSEL, 0, 0), 0) << "and that tab is highlighted";
  EXPECT_EQ(d.Main->ActiveMDIChild(), d.Children[1]);
}

TEST_F(MDIBarTest, ABarThatGoesFirstGivesTheWindowsTheirHandlersBack) {
  Documents d = OpenThree();
  // (The strip hooked the windows after the bar, so it goes first.)
  delete d.Main->tabs;
  d.Main->tabs = nullptr;
  delete d.Main->mdibg;
  d.Main->mdibg = nullptr;
  for (auto* child : d.Children) {
    EXPECT_EQ(child->OnActivate, TNotifyEvent(child, &TWinbarChildForm::FormActivate));
    EXPECT_EQ(child->OnDestroy, TNotifyEvent(child, &TWinbarChildForm::FormDestroy));
  }
  d.Children[0]->SetCaption(u"No bar to follow");
  d.Children[0]->Close();
  Pump();
  EXPECT_EQ(TWinbarChildForm::Destroyed, 1);
}

TEST_F(MDIBarTest, AnActivationRunsTheHandlerOfTheWindowActivatedWhereverItsButtonStands) {
  Documents d = OpenThree();
  TMDIButtonGroup& bar = *d.Main->mdibg;
  // Drag the third button onto the left half of the first.
  TPoint from = ButtonCentre(bar, 2), to = bar.GetButtonRect(0).TopLeft();
  harness::SendMouseDown(bar.Handle(), from.X, from.Y);
  SendMessageW(bar.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.X - 20, from.Y));
  SendMessageW(bar.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.X + 5, to.Y + 5));
  harness::SendMouseUp(bar.Handle(), to.X + 5, to.Y + 5);
  Pump();
  ASSERT_EQ(bar.GetMDIChild(0), d.Children[2]);
  EXPECT_EQ(bar.GetMDIChild(1), d.Children[0]);
  EXPECT_EQ(bar.GetMDIChild(bar.ItemIndex()), d.Main->ActiveMDIChild()) << "the selection moved with its item";

  int counts[3];
  for (int i = 0; i < 3; ++i) counts[i] = d.Children[i]->Activations;
  d.Children[1]->Show();
  Pump();
  EXPECT_GT(d.Children[1]->Activations, counts[1]);
  EXPECT_EQ(d.Children[0]->Activations, counts[0]);

  // Without group style the selection never moves, and the window's own
  // handler runs all the same.
  bar.SetButtonOptions({gboShowCaptions});
  EXPECT_EQ(bar.ItemIndex(), -1);
  counts[0] = d.Children[0]->Activations;
  d.Children[0]->Show();
  Pump();
  EXPECT_GT(d.Children[0]->Activations, counts[0]);
  EXPECT_EQ(bar.ItemIndex(), -1);
}

TEST_F(MDIBarTest, TheHotButtonIsTheOneLastPressedWithAnyButton) {
  Documents d = OpenThree();
  TMDIButtonGroup& bar = *d.Main->mdibg;
  EXPECT_EQ(bar.HotButtonIndex(), 0) << "no press yet: the first button";
  Click(bar, 0);
  Click(bar, 2, harness::MouseButton::Right);
  Pump();
  EXPECT_EQ(bar.HotButtonIndex(), 2);
  EXPECT_EQ(bar.ItemIndex(), 0) << "a right-click selects nothing";
  harness::SendClick(bar.Handle(), 560, 10, harness::MouseButton::Right);
  EXPECT_EQ(bar.HotButtonIndex(), -1);
}

TEST_F(MDIBarTest, AnAutoSizedBarGrowsARowForEveryTwoButtonsOnANarrowForm) {
  Documents d = OpenThree();
  d.Main->SetClientWidth(400);
  Pump();
  EXPECT_EQ(d.Main->mdibg->Height(), 6 + 2 * 22);
  d.Main->mdibg->SetAutoSize(false);
  Pump();
  EXPECT_EQ(d.Main->mdibg->Height(), 6 + 22) << "one row, the rest behind the scroll bar";
  EXPECT_TRUE(d.Main->mdibg->ScrollBarShown());
}

TEST_F(MDIBarTest, OnlyOneBarAndStripOnAMultipleDocumentForm) {
  TWinbarMainForm* main = nullptr;
  FApp->CreateForm(main);
  auto* plain = new TForm(FApp.get());
  struct Case {
    TComponent* Owner;
    const char16_t* BarMessage;
    const char16_t* TabMessage;
  };
  const Case cases[] = {
      {FApp.get(), u"MDIButtonGroup can be put only on Form.", u"MDITab can be put only on Form."},
      {plain, u"MDIButtonGroup can be put only on MDIForm.", u"MDITab can be put only on MDIForm."},
      {main, u"Only one MDIButtonGroup can be put on MDIForm.", u"Only one MDITab can be put on MDIForm."},
  };
  int before = main->ComponentCount();
  for (const Case& c : cases) {
    try {
      new TMDIButtonGroup(c.Owner);
      ADD_FAILURE() << "a bar was made";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.BarMessage);
    }
    try {
      new TMDITab(c.Owner);
      ADD_FAILURE() << "a strip was made";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.TabMessage);
    }
  }
  EXPECT_EQ(main->ComponentCount(), before) << "nothing was left in the owner";
}

TEST_F(MDIBarTest, TheStripKeepsItsOwnTextAndShowsEachTabsHint) {
  Documents d = OpenThree();
  TMDITab& strip = *d.Main->tabs;
  SendMessageW(strip.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Tabs"));
  wchar_t buffer[3] = {};
  EXPECT_EQ(SendMessageW(strip.Handle(), WM_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)), 2);
  EXPECT_STREQ(buffer, L"Ta");
  EXPECT_EQ(SendMessageW(strip.Handle(), WM_GETTEXTLENGTH, 0, 0), 4);
  EXPECT_EQ(strip.Tabs().Count(), 3) << "the text is not a tab";

  RECT tab{};
  SendMessageW(strip.Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
  POINT centre{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
  EXPECT_EQ(strip.GetTabAtPos(Point(centre.x, centre.y)), 1);
  harness::SendMouseMove(strip.Handle(), centre.x, centre.y);
  EXPECT_EQ(strip.Hint(), u"Tab hint 2");
  harness::SendMouseMove(strip.Handle(), 590, centre.y);
  EXPECT_EQ(strip.Hint(), u"");

  strip.OnGetImageIndex = [](TObject*, Integer tab, Integer& image) { image = tab * 10; };
  EXPECT_EQ(strip.GetImageIndex(2), 20);
}

TEST_F(MDIBarTest, WindowCommandsReachEveryDocument) {
  Documents d = OpenThree();
  TMDIButtonGroup& bar = *d.Main->mdibg;
  bar.MinimizeAll();
  Pump();
  EXPECT_EQ(bar.MinimizedCount(), 3);
  EXPECT_EQ(d.Main->tabs->MinimizedCount(), 3);
  bar.CloseAll();
  Pump();
  EXPECT_EQ(bar.Items().Count(), 0) << "every window closed itself and freed";
  EXPECT_EQ(TWinbarChildForm::Destroyed, 3);

  OpenThree(d.Main);
  d.Main->tabs->CloseAll();
  Pump();
  EXPECT_EQ(d.Main->tabs->Tabs().Count(), 0);
  OpenThree(d.Main);
  bar.DestroyAll();
  EXPECT_EQ(bar.Items().Count(), 0);
  EXPECT_EQ(d.Main->MDIChildCount(), 0);
}
