// The page containers read from a form as the designer writes it, switched
// by mouse and keyboard with their events in order, their tabs menu, and the
// faults of the page list mended.
#include "panelkit/win32/panelkittest.h"

#include "panelkit/win32/shareddraw.h"
#include "ui/stdctrls.h"

namespace {

using Events = std::vector<std::string>;

TEST_F(PanelKitTest, TheFormReadsEveryPageContainer) {
  TPageKitForm& f = Form();
  ASSERT_NE(f.pc, nullptr);
  ASSERT_NE(f.gpc, nullptr);
  ASSERT_NE(f.nb, nullptr);
  ASSERT_NE(f.Scheme, nullptr);
  EXPECT_EQ(f.pc->TabPosition(), pxtabs::tpBottom);
  EXPECT_EQ(f.pc->Options(), (TPageOptions{pgBoldActiveTab, pgScrollButtons}));
  EXPECT_EQ(f.pc->BackgroundKind(), bkTransparent);
  EXPECT_EQ(f.pc->TabMargin(), 5);
  EXPECT_EQ(f.pc->TabStyle(), pxtabs::tsWhidbey);
  ASSERT_EQ(f.pc->PageCount(), 3);
  EXPECT_EQ(f.pc->Pages(1), f.PxTabSheet2);
  EXPECT_EQ(f.PxTabSheet2->Caption(), u"Preview");
  EXPECT_FALSE(f.PxTabSheet2->TabVisible());
  EXPECT_EQ(f.PxTabSheet3->PageStyle(), ptGradient);
  EXPECT_EQ(f.pc->ActivePage(), f.PxTabSheet1);
  EXPECT_EQ(f.pc->ActivePageIndex(), 0);
  EXPECT_TRUE(f.PxTabSheet1->Visible());
  EXPECT_FALSE(f.PxTabSheet3->Visible());
  EXPECT_EQ(f.LoadEvents, (Events{"show:PxTabSheet1"})) << "loading shows the stored page and fires no change";
  // The page sits above the strip at the bottom.
  EXPECT_EQ(f.PxTabSheet1->BoundsRect(), Rect(0, 0, 420, 170 - 17 - 3 - 1));

  EXPECT_EQ(f.gpc->Alignment(), taLeftJustify);
  EXPECT_EQ(f.gpc->BackgroundKind(), bkVertGradient);
  EXPECT_EQ(f.gpc->GetFontActive()->Style(), TFontStyles{fsBold});
  ASSERT_EQ(f.gpc->PageCount(), 2);
  EXPECT_EQ(f.gpc->ActivePage(), f.GlyphSheet1);
  EXPECT_EQ(f.GlyphSheet1->BoundsRect().Top, 31) << "below the tab band";
  EXPECT_EQ(f.gpc->GetGlyphActive()->GetLeftGlyph()->Width(), 100);
  EXPECT_EQ(f.gpc->GetGlyphActive()->GetRightGlyph()->Width(), 3);
  EXPECT_TRUE(f.gpc->GetGlyphNormal()->GetLeftGlyph()->Empty());

  EXPECT_TRUE(f.nb->DesignButtons());
  EXPECT_EQ(f.nb->Pages(0)->Height(), 48 - 25);
  EXPECT_EQ(f.Scheme->ColorScheme(), csSilver2010);
  EXPECT_EQ(CurrentColorScheme(), csSilver2010) << "the scheme component switched the process's scheme";

  UpdateWindow(f.Handle());
  SavePicture(harness::PaintClient(f.Handle()), L"panelkit-form.bmp");
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(PanelKitTest, ClickingTabsChangesPagesWithEventsInOrder) {
  TPageKitForm& f = Form();
  HWND pc = f.pc->Handle();
  // The hidden page's tab takes no room: the third tab follows the first.
  TRect third = f.pc->GetTabRect(2);
  EXPECT_EQ(third.Left, f.pc->GetTabRect(0).Left + f.pc->GetTabClientWidth(f.PxTabSheet1));
  TPoint at = Centre(third);
  at.X += 6;
  ASSERT_EQ(f.pc->GetTabAtPos(at.X, at.Y), f.PxTabSheet3);
  harness::SendClick(pc, at.X, at.Y);
  Pump();
  EXPECT_EQ(f.Events, (Events{"changing:2", "hide:PxTabSheet1", "show:PxTabSheet3", "change:2", "tabclick:2"}));
  EXPECT_EQ(f.pc->ActivePage(), f.PxTabSheet3);
  EXPECT_TRUE(f.PxTabSheet3->Visible());
  EXPECT_FALSE(f.PxTabSheet1->Visible());

  // The active tab again: no change, only the click.
  f.Events.clear();
  harness::SendClick(pc, at.X, at.Y);
  EXPECT_EQ(f.Events, (Events{"tabclick:2"}));

  // A refused change keeps the page.
  f.Events.clear();
  f.RefuseChange = true;
  TPoint first = Centre(f.pc->GetTabRect(0));
  harness::SendClick(pc, first.X - 8, first.Y);
  EXPECT_EQ(f.Events, (Events{"changing:0", "tabclick:0"})) << "the tab was still pressed and released";
  EXPECT_EQ(f.pc->ActivePage(), f.PxTabSheet3);
  f.RefuseChange = false;

  // The arrow keys walk the pages with visible tabs, without wrapping.
  f.Events.clear();
  harness::SendKey(pc, VK_LEFT);
  EXPECT_EQ(f.pc->ActivePage(), f.PxTabSheet1) << "the hidden tab is skipped";
  harness::SendKey(pc, VK_LEFT);
  EXPECT_EQ(f.pc->ActivePage(), f.PxTabSheet1);
  EXPECT_EQ(f.Events, (Events{"changing:0", "hide:PxTabSheet3", "show:PxTabSheet1", "change:0"}));

  // The application's own calls: an index out of range does nothing; the
  // current one runs the whole switch again.
  f.Events.clear();
  f.pc->SetActivePageIndex(-1);
  f.pc->SetActivePageIndex(3);
  EXPECT_TRUE(f.Events.empty());
  f.pc->SetActivePageIndex(0);
  EXPECT_EQ(f.Events, (Events{"changing:0", "hide:PxTabSheet1", "show:PxTabSheet1", "change:0"}));
  // A page whose tab is hidden can still be made active.
  f.pc->SetActivePageIndex(1);
  EXPECT_EQ(f.pc->ActivePage(), f.PxTabSheet2);
  EXPECT_TRUE(f.PxTabSheet2->Visible());
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(PanelKitTest, TheGlyphPageControlSwitchesOnRelease) {
  TPageKitForm& f = Form();
  TRect second = f.gpc->GetTabRect(1);
  EXPECT_EQ(f.gpc->GetTabRect(0).Left, 10);
  EXPECT_EQ(second.Left, f.gpc->GetTabRect(0).Right + 2);
  TPoint at = Centre(second);
  harness::SendClick(f.gpc->Handle(), at.X, at.Y);
  EXPECT_EQ(f.gpc->ActivePage(), f.GlyphSheet2);
  EXPECT_EQ(f.Events, (Events{"glyphchange:1"}));
  harness::SendClick(f.gpc->Handle(), 400, at.Y);
  EXPECT_EQ(f.gpc->ActivePage(), f.GlyphSheet2) << "nothing there";
  harness::Bitmap32 picture = harness::PaintClient(f.gpc->Handle());
  SavePicture(picture, L"panelkit-glyphpages.bmp");
  EXPECT_EQ(picture.PixelColor(2, 0), RGB(0x00, 0x80, 0xC0)) << "the band's gradient starts at its first colour";
  // The active tab: its body from the left, cut before the right end, which closes it.
  const Integer y = second.Bottom - 1;
  EXPECT_EQ(picture.PixelColor(second.Left + 1, y), RGB(255, 170, 60));
  EXPECT_EQ(picture.PixelColor(second.Right - 4, y), RGB(255, 170, 60));
  EXPECT_EQ(picture.PixelColor(second.Right - 2, y), RGB(150, 80, 10));
  EXPECT_NE(picture.PixelColor(second.Right + 1, y), RGB(150, 80, 10)) << "nothing past the tab";
  // The other tab has no glyphs: only its caption over the band.
  const TRect first = f.gpc->GetTabRect(0);
  EXPECT_NE(picture.PixelColor(first.Left + 1, y), RGB(255, 170, 60));
}

TEST_F(PanelKitTest, TheNotebooksDesignBarListsPagesByName) {
  TPageKitForm& f = Form();
  harness::Bitmap32 picture = harness::PaintClient(f.nb->Handle());
  SavePicture(picture, L"panelkit-notebook.bmp");
  const Integer w = f.nb->ClientWidth(), h = f.nb->ClientHeight();
  EXPECT_EQ(picture.PixelColor(w / 2, h - 12), GetSysColor(COLOR_WINDOW)) << "the bar's fill";
  EXPECT_EQ(f.nb->GetDesignTabAtPos(24, h - 10), 0);
  EXPECT_EQ(f.nb->GetMaxScrollPos(), 0);
}

TEST_F(PanelKitTest, TheTabsMenuListsShownTabsAndActivates) {
  TPageKitForm& f = Form();
  f.pc->SetOptions({pgBoldActiveTab, pgScrollButtons, pgTabsPopup});
  f.pc->FillTabsPopup();
  TMenuItem* items = f.pc->TabsPopup().Items();
  ASSERT_EQ(items->Count(), 2);
  EXPECT_EQ(items->Items(1)->Caption(), u"Origin");
  EXPECT_EQ(items->Items(1)->Tag(), 2);
  f.pc->TabsPopup().TrackHook = [](TPopupMenu& menu) { return static_cast<UINT>(menu.Items()->Items(1)->Command()); };
  TRect button;
  f.pc->GetPageButtonRect(TPageButton::pbPopup, button);
  harness::SendClick(f.pc->Handle(), button.Left + 8, button.Top + 8);
  Pump();
  EXPECT_EQ(f.pc->ActivePage(), f.PxTabSheet3);
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(PanelKitTest, AButtonActsOnlyWhenPressedAndReleasedOnIt) {
  TPageKitForm& f = Form();
  f.pc->SetOptions({pgCloseButton, pgTabsPopup});
  int closes = 0;
  f.pc->OnPageClose = TPageCloseEvent([&](TObject*, Integer, bool& accept) {
    ++closes;
    accept = false;
  });
  TRect popup, close;
  f.pc->GetPageButtonRect(TPageButton::pbPopup, popup);
  f.pc->GetPageButtonRect(TPageButton::pbClose, close);
  HWND pc = f.pc->Handle();
  harness::SendMouseDown(pc, popup.Left + 8, popup.Top + 8);
  harness::SendMouseUp(pc, close.Left + 8, close.Top + 8);
  EXPECT_EQ(closes, 0) << "pressed on the menu button, released on the close button";
  harness::SendClick(pc, close.Left + 8, close.Top + 8);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(f.pc->PageCount(), 3) << "the handler refused";

  // Accepted: the active page goes and the one before it takes over.
  f.pc->OnPageClose = TPageCloseEvent([&](TObject*, Integer index, bool& accept) {
    EXPECT_EQ(index, 2);
    accept = true;
  });
  f.pc->SetActivePageIndex(2);
  harness::SendClick(pc, close.Left + 8, close.Top + 8);
  f.PxTabSheet3 = nullptr;
  EXPECT_EQ(f.pc->PageCount(), 2);
  EXPECT_EQ(f.pc->ActivePage(), f.PxTabSheet2);

  // A custom tabs menu is the program's own: only its event, at the button's lower left corner.
  f.pc->SetOptions({pgTabsPopup, pgCustomTabsPopup});
  TPoint asked{-1, -1};
  f.pc->OnCustomTabsPopup = TPxCustomTabsPopupEvent([&](TObject*, Integer x, Integer y) { asked = Point(x, y); });
  f.pc->GetPageButtonRect(TPageButton::pbPopup, popup);
  harness::SendClick(pc, popup.Left + 8, popup.Top + 8);
  EXPECT_EQ(asked, f.pc->ClientToScreen(Point(popup.Left, popup.Bottom)));
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(PanelKitTest, FreeingTheActivePageDoesNotHideItWhileItIsFreed) {
  TPageKitForm& f = Form();
  f.pc->SetActivePageIndex(2);
  f.Events.clear();
  delete f.PxTabSheet3;
  f.PxTabSheet3 = nullptr;
  EXPECT_EQ(f.Events, (Events{"changing:1", "show:PxTabSheet2", "change:1"})) << "the last page goes: the one before";
  EXPECT_EQ(f.pc->PageCount(), 2);
  EXPECT_EQ(f.pc->ActivePageIndex(), 1);

  // Moving the active page moves its index with it.
  f.PxTabSheet2->SetPageIndex(0);
  EXPECT_EQ(f.pc->ActivePageIndex(), 0);
  EXPECT_EQ(f.PxTabSheet1->PageIndex(), 1);

  f.Events.clear();
  delete f.PxTabSheet2;
  f.PxTabSheet2 = nullptr;
  EXPECT_EQ(f.Events, (Events{"changing:0", "show:PxTabSheet1", "change:0"}));
  delete f.PxTabSheet1;
  f.PxTabSheet1 = nullptr;
  EXPECT_EQ(f.pc->ActivePage(), nullptr);
  EXPECT_EQ(f.pc->ActivePageIndex(), -1) << "no page, no index";
  harness::Bitmap32 empty = harness::PaintClient(f.pc->Handle());
  EXPECT_EQ(empty.PixelColor(50, 50), static_cast<COLORREF>(ResolveColor(f.pc->Color())));
}

TEST_F(PanelKitTest, OnlyPagesGoIntoANotebookAndAPageBroughtToTheFrontIsActive) {
  TPageKitForm& f = Form();
  auto* button = new TButton(&f);
  try {
    button->SetParent(f.pc);
    ADD_FAILURE() << "a button was put into the page control";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), u"Cannot insert TButton into TPxPageControl");
  }
  EXPECT_EQ(button->Parent(), nullptr) << "the button is not inserted";
  EXPECT_THROW(button->SetParent(f.nb), EInvalidOperation);
  button->SetParent(f.PxTabSheet1);
  EXPECT_EQ(button->Parent(), f.PxTabSheet1) << "a page takes any control";
  EXPECT_THROW(button->SetParent(f.gpc), EInvalidOperation);
  EXPECT_EQ(button->Parent(), f.PxTabSheet1) << "a refused move leaves it where it was";
  EXPECT_EQ(f.pc->PageCount(), 3);

  f.pc->SetActivePageIndex(0);
  f.Events.clear();
  f.PxTabSheet3->BringToFront();
  EXPECT_EQ(f.pc->ActivePage(), f.PxTabSheet3);
  EXPECT_TRUE(f.PxTabSheet3->Visible());
  EXPECT_FALSE(f.PxTabSheet1->Visible());
  EXPECT_EQ(f.Events, (Events{"changing:2", "hide:PxTabSheet1", "show:PxTabSheet3", "change:2"}));
  EXPECT_EQ(GetWindow(f.pc->Handle(), GW_CHILD), f.PxTabSheet3->Handle()) << "on top of the windows too";
  f.Events.clear();
  f.PxTabSheet3->BringToFront();
  EXPECT_EQ(f.Events, (Events{"changing:2", "hide:PxTabSheet3", "show:PxTabSheet3", "change:2"}))
      << "as setting the active page again does";
  f.PxTabSheet3->SendToBack();
  EXPECT_NE(f.pc->ActivePage(), f.PxTabSheet3) << "the sheet then on top is active";
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(PanelKitTest, PagesAddedInCodeJoinTheirContainer) {
  TPageKitForm& f = Form();
  auto* page = new TPxTabSheet(&f);
  page->SetName(u"Extra");
  page->SetPageControl(f.pc);
  EXPECT_EQ(page->Caption(), u"Extra") << "an empty caption becomes the name";
  EXPECT_EQ(f.pc->PageCount(), 4);
  EXPECT_FALSE(page->Visible());
  f.pc->InsertPage(0, new TPxTabSheet(&f));
  EXPECT_EQ(f.pc->ActivePageIndex(), 0);
  EXPECT_EQ(f.pc->GetTabByCaption(u"ORIGIN", true), f.PxTabSheet3);
  EXPECT_EQ(f.pc->GetTabByCaption(u"ORIGIN", false), nullptr);
}

}  // namespace

namespace {

// The inspector's settings: tabs that do not fit, scrolled a tab at a time.
TEST_F(PanelKitTest, ScrollButtonsMoveTheTabsAndShowTheirEnds) {
  TPageKitForm& f = Form();
  f.pc->SetTabPosition(pxtabs::tpTop);
  f.pc->SetOptions({pgBoldActiveTab, pgScrollButtons, pgTabsPopup});
  f.pc->SetScrollMethod(smTab);
  f.pc->SetAlign(alNone);
  f.pc->SetWidth(200);
  for (const char16_t* caption : {u"Properties", u"Events", u"Image Preview"}) {
    auto* page = new TPxTabSheet(&f);
    page->SetPageControl(f.pc);
    page->SetCaption(caption);
  }
  Pump();
  HWND pc = f.pc->Handle();
  TRect left, right;
  f.pc->GetPageButtonRect(TPageButton::pbScrollLeft, left);
  f.pc->GetPageButtonRect(TPageButton::pbScrollRight, right);
  auto arrowPixel = [&](const TRect& button, Integer dx) {
    harness::Bitmap32 strip = harness::PaintClient(pc);
    return strip.PixelColor(button.Left + dx, button.Top + 7);
  };
  // At the left end the left arrow is hollow (its middle is not black).
  EXPECT_EQ(f.pc->ScrollPos(), 0);
  EXPECT_NE(arrowPixel(left, 7), RGB(0, 0, 0));
  EXPECT_EQ(arrowPixel(right, 6), RGB(0, 0, 0)) << "more tabs to the right: solid";
  harness::SendClick(pc, right.Left + 8, right.Top + 8);
  EXPECT_GT(f.pc->ScrollPos(), 0);
  EXPECT_EQ(arrowPixel(left, 7), RGB(0, 0, 0));
  for (int i = 0; i < 10; ++i) harness::SendClick(pc, right.Left + 8, right.Top + 8);
  const TTabStripLayout layout = f.pc->Layout();
  EXPECT_EQ(f.pc->ScrollPos(), layout.MaxScrollPos());
  EXPECT_EQ(layout.TabRect(f.pc->PageCount() - 1).Right, layout.TabsEdge()) << "the last tab ends at the strip's end";
  EXPECT_NE(arrowPixel(right, 6), RGB(0, 0, 0)) << "at the right end: hollow";
  SavePicture(harness::PaintClient(pc), L"panelkit-scrolled.bmp");
  // Choosing the first page brings its tab back into view.
  f.pc->SetActivePageIndex(0);
  EXPECT_EQ(f.pc->ScrollPos(), 0);
  for (int i = 0; i < 10; ++i) harness::SendClick(pc, left.Left + 8, left.Top + 8);
  EXPECT_EQ(f.pc->ScrollPos(), 0) << "never below the left end";
  EXPECT_TRUE(FExceptions.empty());
}

}  // namespace
