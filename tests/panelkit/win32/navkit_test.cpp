// The navigation controls on a form read from its form file: the palette's
// buttons and tabs, the link menu's sections and links, the tool box's
// categories and selection, the outlook bar's buttons and splitter, and the
// status bar's panels (pictures saved for a person to look at).
#include "panelkit/win32/linkmenu.h"
#include "panelkit/win32/outlookbar.h"
#include "panelkit/win32/palettetabs.h"
#include "panelkit/win32/pxstatusbar.h"
#include "panelkit/win32/toolbox.h"

#include "panelkit/win32/panelkittest.h"
#include "panelkit/win32/shareddraw.h"
#include "rtl/unicode.h"
#include "ui/extctrls.h"
#include "ui/messages.h"

class TNavKitForm : public TForm {
  KST_CLASS(TNavKitForm, TForm)
 public:
  using TForm::TForm;
  TPxTabControl* Palette = nullptr;
  TPxLinkMenu* Links = nullptr;
  TPxToolBox* Tools = nullptr;
  TPxOutlookBar* Outlook = nullptr;
  TPanel* OutlookPage = nullptr;
  TPxStatusBar* Status = nullptr;

  std::vector<std::string> Events;
  void PaletteButtonClick(TObject*, Integer index) { Events.push_back("button:" + std::to_string(index)); }
  void LinksItemClick(TObject*, TPxSectionItem* item) { Events.push_back("link:" + StringToUTF8(item->Caption())); }
  void LinksSectionClick(TObject*, Integer section) { Events.push_back("section:" + std::to_string(section)); }
  void ToolsSelectItem(TObject*) {
    Events.push_back("tool:" + (Tools->SelectedItem() ? StringToUTF8(Tools->SelectedItem()->Caption()) : "none"));
  }
  void OutlookChange(TObject*) { Events.push_back("change:" + std::to_string(Outlook->DisplayCount())); }
  void OutlookSelect(TObject*) { Events.push_back("select:" + std::to_string(Outlook->ItemIndex())); }
};

KST_CLASS_IMPL(TNavKitForm, "PanelKitTests")

void TNavKitForm::Describe(TClassBuilder<TNavKitForm>& c) {
  using F = TNavKitForm;
  c.Field(u"Palette", &F::Palette);
  c.Field(u"Links", &F::Links);
  c.Field(u"Tools", &F::Tools);
  c.Field(u"Outlook", &F::Outlook);
  c.Field(u"OutlookPage", &F::OutlookPage);
  c.Field(u"Status", &F::Status);
  c.Method(u"PaletteButtonClick", &F::PaletteButtonClick);
  c.Method(u"LinksItemClick", &F::LinksItemClick);
  c.Method(u"LinksSectionClick", &F::LinksSectionClick);
  c.Method(u"ToolsSelectItem", &F::ToolsSelectItem);
  c.Method(u"OutlookChange", &F::OutlookChange);
  c.Method(u"OutlookSelect", &F::OutlookSelect);
}

// A panel whose painter fills it with one colour.
class TTestStatusPanel : public TPxStatusPanel {
  KST_CLASS(TTestStatusPanel, TPxStatusPanel)
 public:
  using TPxStatusPanel::TPxStatusPanel;

 protected:
  std::unique_ptr<TPxPanelPainter> CreatePainter() override {
    class TSolidPainter : public TPxPanelPainter {
     public:
      using TPxPanelPainter::TPxPanelPainter;
      void Paint() override {
        Canvas()->Brush().SetColor(RGB(255, 0, 0));
        Canvas()->FillRect(ClientRect());
      }
    };
    return std::make_unique<TSolidPainter>(this);
  }
};

KST_CLASS_IMPL(TTestStatusPanel, "PanelKitTests")

void TTestStatusPanel::Describe(TClassBuilder<TTestStatusPanel>&) {}

namespace {

class NavKitTest : public PanelKitTest {
 protected:
  void SetUp() override {
    PanelKitTest::SetUp();
    FRegistry.RegisterClasses({&TNavKitForm::StaticClass(), &TTestStatusPanel::StaticClass()});
  }
  TNavKitForm& Kit() {
    if (!FKit) {
      FKit = CreateForm<TNavKitForm>(FApp.get());
      FKit->Show();
      Pump();
      FKit->Events.clear();
    }
    return *FKit;
  }
  // Three buttons on "Standard" and one on "Additional", with 16-pixel icons.
  void FillPalette() {
    TPxTabControl& p = *Kit().Palette;
    p.SetImages(FIcons.get());
    for (Integer i = 0; i < 3; ++i) p.AddButton(u"Standard", &TPanel::StaticClass(), i);
    p.AddButton(u"Additional", &TPanel::StaticClass(), 3);
    Pump();
  }
  std::unique_ptr<TImageList> FIcons = MakeIcons(4, 16);
  TNavKitForm* FKit = nullptr;
};

TEST_F(NavKitTest, EveryControlIsReadWithItsStreamedItems) {
  TNavKitForm& f = Kit();
  EXPECT_EQ(f.Palette->BackgroundStyle(), tbsVertGradient);
  EXPECT_EQ(f.Palette->ButtonWidth(), 24);
  EXPECT_EQ(f.Palette->Count(), 0) << "palettes are made in code";
  TPxSections& sections = f.Links->Sections();
  ASSERT_EQ(sections.Count(), 3);
  EXPECT_EQ(sections.Items(0)->Items().Items(1)->Caption(), u"Recent forms");
  EXPECT_EQ(sections.Items(0)->Items().Items(1)->ImageIndex(), 1);
  EXPECT_FALSE(sections.Items(1)->Expanded());
  EXPECT_TRUE(sections.Items(1)->Special());
  EXPECT_EQ(sections.Items(1)->GetSectionMargins()->Left(), 8);
  EXPECT_EQ(sections.Items(1)->GetSectionMargins()->Top(), 5);
  EXPECT_EQ(sections.Items(2)->Items().Items(1)->Options(), TShowingItems{siLink});
  EXPECT_EQ(sections.Items(2)->Items().Items(1)->Section(), sections.Items(2));
  TPxToolBoxCategories& categories = f.Tools->Categories();
  ASSERT_EQ(categories.Count(), 3);
  EXPECT_EQ(categories.Items(0)->Items().Count(), 3);
  EXPECT_EQ(categories.Items(0)->Items().Items(1)->Tag(), 7);
  EXPECT_EQ(categories.Items(0)->Items().Items(1)->Category(), categories.Items(0));
  EXPECT_FALSE(categories.Items(1)->Expanded());
  EXPECT_EQ(f.Tools->ItemHeight(), 22);
  TPxOutlookBar& bar = *f.Outlook;
  ASSERT_EQ(bar.Items().Count(), 4);
  EXPECT_EQ(bar.Items().VisibleCount(), 3);
  EXPECT_EQ(bar.Items().Items(3)->Color(), clInfoBk);
  EXPECT_EQ(bar.DisplayCount(), 2) << "kept though the items come after it";
  EXPECT_EQ(bar.ButtonsHeight(), 30 + 9 + 2 * 32);
  EXPECT_EQ(bar.Selected(), bar.Items().Items(1));
  EXPECT_EQ(f.OutlookPage->Parent(), &bar);
  EXPECT_EQ(f.OutlookPage->Height(), 300 - 103) << "the page area ends at the splitter";
  EXPECT_EQ(f.Status->Align(), alBottom);
  EXPECT_TRUE(FExceptions.empty());
  FillPalette();
  f.Links->SetImages(FIcons.get());
  f.Tools->SetImages(FIcons.get());
  auto large = MakeIcons(3, 24);
  bar.SetLargeImages(large.get());
  bar.SetSmallImages(FIcons.get());
  for (Integer width : {120, 80}) f.Status->Panels().Add(TPxStatusPanel::StaticClass())->SetWidth(width);
  f.Status->Invalidate();
  Pump();
  SavePicture(harness::CaptureScreen(f.Handle()), L"panelkit-navigation-form.bmp");
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(NavKitTest, PaletteButtonsClickByIndexOnTheActivePalette) {
  TNavKitForm& f = Kit();
  FillPalette();
  TPxTabControl& p = *f.Palette;
  ASSERT_EQ(p.Count(), 2);
  EXPECT_EQ(p.Palettes(0)->Count(), 3);
  TPxTabButtons* lower = p.AddButton(u"standard", nullptr, 0)->Owner();
  ASSERT_EQ(p.Count(), 3);
  EXPECT_EQ(lower, p.Palettes(2)) << "palette names match by exact case";
  EXPECT_EQ(p.GetButtonRect(1), Rect(26, 25, 50, 47));
  harness::SendClick(p.Handle(), 38, 36);
  Pump();
  EXPECT_EQ(f.Events, std::vector<std::string>{"button:1"});
  f.Events.clear();
  harness::SendMouseDown(p.Handle(), 14, 36);
  harness::SendMouseUp(p.Handle(), 62, 36);
  Pump();
  EXPECT_TRUE(f.Events.empty()) << "pressed on one button, released on another";
  EXPECT_EQ(p.DownButton(), -1);
  harness::SendMouseMove(p.Handle(), 62, 36);
  Pump();
  EXPECT_EQ(p.HoverButton(), 2);
  const harness::Bitmap32 hovered = harness::PaintClient(p.Handle());
  SavePicture(hovered, L"panelkit-palette.bmp");
  EXPECT_EQ(hovered.PixelColor(50, 26), static_cast<COLORREF>(ResolveColor(clBtnHighlight))) << "raised frame";
  EXPECT_EQ(hovered.PixelColor(73, 46), static_cast<COLORREF>(ResolveColor(clBtnShadow)));
  // The second tab, found where its caption ends.
  Integer x = 0;
  while (x < p.ClientWidth() && p.GetTabAtPos(x, 10) != 1) ++x;
  ASSERT_LT(x, p.ClientWidth());
  harness::SendClick(p.Handle(), x + 2, 10);
  Pump();
  EXPECT_EQ(p.ActiveIndex(), 1);
  harness::SendClick(p.Handle(), 38, 36);
  Pump();
  EXPECT_EQ(f.Events, std::vector<std::string>{}) << "the other palette has one button only";
  harness::SendClick(p.Handle(), 14, 36);
  Pump();
  EXPECT_EQ(f.Events, std::vector<std::string>{"button:0"});
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(NavKitTest, PaletteHintsSwitchAtOnceBetweenButtonsWithHints) {
  TNavKitForm& f = Kit();
  FillPalette();
  TPxTabControl& p = *f.Palette;
  for (Integer i : {0, 1}) {
    p.Palettes(0)->Buttons(i)->SetHint(i == 0 ? u"Panel" : u"Another panel");
    p.Palettes(0)->Buttons(i)->SetShowHint(true);
  }
  harness::SendMouseMove(p.Handle(), 14, 36);
  Pump();
  EXPECT_TRUE(p.HintTimer().Enabled()) << "the first hint waits";
  p.HintWindow().SetButton(p.Palettes(0)->Buttons(0));
  harness::SendMouseMove(p.Handle(), 38, 36);
  Pump();
  EXPECT_EQ(p.HintWindow().Button(), p.Palettes(0)->Buttons(1)) << "another hint shows at once";
  EXPECT_TRUE(p.HintHideTimer().Enabled());
  harness::SendMouseMove(p.Handle(), 62, 36);
  Pump();
  EXPECT_EQ(p.HintWindow().Button(), nullptr) << "a button without a hint cancels it";
  EXPECT_FALSE(p.HintTimer().Enabled());
}

TEST_F(NavKitTest, LinkMenuClicksLinksAndFoldsSections) {
  TNavKitForm& f = Kit();
  TPxLinkMenu& menu = *f.Links;
  TPxSection* help = menu.Sections().Items(2);
  EXPECT_EQ(menu.GetSectionHeaderRect(help), Rect(10, 130, 190, 155));
  EXPECT_EQ(menu.GetSectionItemAtPos(50, 70), menu.GetSectionItem(0, 1));
  harness::SendClick(menu.Handle(), 50, 70);
  Pump();
  EXPECT_EQ(f.Events, std::vector<std::string>{"link:Recent forms"});
  f.Events.clear();
  harness::SendClick(menu.Handle(), 5, 70);
  Pump();
  EXPECT_TRUE(f.Events.empty()) << "the inner margin is not part of the menu";
  harness::SendClick(menu.Handle(), 50, 20);
  Pump();
  EXPECT_EQ(f.Events, std::vector<std::string>{"section:0"});
  EXPECT_FALSE(menu.Sections().Items(0)->Expanded());
  EXPECT_EQ(menu.GetSectionHeaderRect(help).Top, 130 - 50) << "moved up by the section's items height";
  const harness::Bitmap32 folded = harness::PaintClient(menu.Handle());
  SavePicture(folded, L"panelkit-link-menu.bmp");
  EXPECT_EQ(folded.PixelColor(100, 40), static_cast<COLORREF>(ResolveColor(clWindow))) << "spacing below the header";
  harness::SendClick(menu.Handle(), 50, 20);
  Pump();
  EXPECT_EQ(menu.GetSectionHeaderRect(help).Top, 130);
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(NavKitTest, LinkMenuHoverBelongsToTheOneRowUnderThePointer) {
  TNavKitForm& f = Kit();
  TPxLinkMenu& menu = *f.Links;
  const harness::Bitmap32 before = harness::PaintClient(menu.Handle());
  harness::SendMouseMove(menu.Handle(), 50, 70);
  Pump();
  EXPECT_EQ(menu.HoverSectionItem(), menu.GetSectionItem(0, 1));
  const harness::Bitmap32 after = harness::PaintClient(menu.Handle());
  // Row 1 of the first section is underlined; row 1 of the last is not.
  Integer changedHovered = 0;
  Integer changedOther = 0;
  for (Integer y = 60; y < 80; ++y)
    for (Integer x = 15; x < 185; ++x) {
      changedHovered += before.PixelColor(x, y) != after.PixelColor(x, y);
      changedOther += before.PixelColor(x, y + 120) != after.PixelColor(x, y + 120);
    }
  EXPECT_GT(changedHovered, 0);
  EXPECT_EQ(changedOther, 0);
  harness::SendMouseMove(menu.Handle(), 50, 190);
  Pump();
  EXPECT_EQ(menu.HoverSectionItem(), menu.GetSectionItem(2, 1));
  // A removed item takes its hover with it.
  menu.Sections().Items(2)->Items().Delete(1);
  EXPECT_EQ(menu.HoverSectionItem(), nullptr);
  harness::PaintClient(menu.Handle());
  menu.Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(menu.HoverSection(), nullptr);
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(NavKitTest, LinkMenuScrollsContentTallerThanItsWindow) {
  TNavKitForm& f = Kit();
  TPxLinkMenu& menu = *f.Links;
  harness::PaintClient(menu.Handle());
  EXPECT_EQ(menu.GetTotalHeigth(), 215);
  EXPECT_EQ(menu.VertScrollBar().Max(), 0);
  for (Integer i = 0; i < 10; ++i) menu.Sections().Items(2)->Items().Add()->SetCaption(u"More");
  harness::PaintClient(menu.Handle());
  EXPECT_EQ(menu.GetTotalHeigth(), 415);
  EXPECT_EQ(menu.VertScrollBar().Max(), 415);
  EXPECT_EQ(menu.VertScrollBar().PageSize(), menu.ClientHeight() + 1);
  menu.Perform(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
  Pump();
  EXPECT_EQ(menu.VertScrollBar().Position(), 415 - menu.ClientHeight());
  EXPECT_EQ(menu.GetSectionHeaderRect(menu.Sections().Items(0)).Top, 10 - menu.VertScrollBar().Position());
  SavePicture(harness::PaintClient(menu.Handle()), L"panelkit-link-menu-scrolled.bmp");
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(NavKitTest, ControlsLetGoOfAFreedImageList) {
  TNavKitForm& f = Kit();
  auto images = MakeIcons(3, 16);
  f.Links->SetImages(images.get());
  f.Links->SetImages(images.get());
  f.Tools->SetImages(images.get());
  f.Outlook->SetLargeImages(images.get());
  f.Outlook->SetSmallImages(images.get());
  f.Palette->SetImages(images.get());
  Pump();
  images.reset();
  EXPECT_EQ(f.Links->Images(), nullptr);
  EXPECT_EQ(f.Tools->Images(), nullptr);
  EXPECT_EQ(f.Outlook->LargeImages(), nullptr);
  EXPECT_EQ(f.Outlook->SmallImages(), nullptr);
  EXPECT_EQ(f.Palette->Images(), nullptr);
  for (TWinControl* c : std::initializer_list<TWinControl*>{f.Links, f.Tools, f.Outlook, f.Palette})
    harness::PaintClient(c->Handle());
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(NavKitTest, ToolBoxSelectsItemsAndFoldsCategories) {
  TNavKitForm& f = Kit();
  TPxToolBox& box = *f.Tools;
  TPxToolBoxCategoryItem* standard = box.Categories().Items(0);
  TPxToolBoxItem* label = standard->Items().Items(1);
  EXPECT_EQ(box.GetItemRect(label), Rect(3, 39, 184, 61));
  EXPECT_EQ(box.GetItemRect(box.Categories().Items(1)->Items().Items(0)), TRect{}) << "in a folded category";
  harness::SendClick(box.Handle(), 50, 50);
  Pump();
  EXPECT_EQ(box.SelectedItem(), label);
  EXPECT_EQ(f.Events, std::vector<std::string>{"tool:Label"});
  harness::SendMouseMove(box.Handle(), 50, 70);
  Pump();
  EXPECT_EQ(box.HoverItem(), standard->Items().Items(2));
  const harness::Bitmap32 picture = harness::PaintClient(box.Handle());
  SavePicture(picture, L"panelkit-tool-box.bmp");
  EXPECT_EQ(picture.PixelColor(3, 50), static_cast<COLORREF>(ResolveColor(clHighlight))) << "the selection's frame";
  f.Events.clear();
  harness::SendClick(box.Handle(), 50, 8);
  Pump();
  EXPECT_FALSE(standard->Expanded());
  EXPECT_TRUE(f.Events.empty()) << "a header folds without selecting";
  EXPECT_EQ(box.GetItemRect(box.Categories().Items(2)).Top, 34);
  harness::SendClick(box.Handle(), 50, 200);
  Pump();
  EXPECT_EQ(f.Events, std::vector<std::string>{"tool:none"});
  EXPECT_EQ(box.SelectedItem(), nullptr);
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(NavKitTest, ToolBoxForgetsEntriesDeletedFromCode) {
  TNavKitForm& f = Kit();
  TPxToolBox& box = *f.Tools;
  harness::SendClick(box.Handle(), 50, 50);
  harness::SendMouseMove(box.Handle(), 50, 125);
  Pump();
  ASSERT_NE(box.SelectedItem(), nullptr);
  ASSERT_NE(box.HoverItem(), nullptr);
  box.Categories().Items(0)->Items().Delete(1);
  EXPECT_EQ(box.SelectedItem(), nullptr);
  box.Categories().Delete(2);
  EXPECT_EQ(box.HoverItem(), nullptr);
  harness::PaintClient(box.Handle());
  harness::SendMouseMove(box.Handle(), 50, 30);
  harness::SendClick(box.Handle(), 50, 30);
  Pump();
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(NavKitTest, ToolBoxScrollsContentTallerThanItsWindow) {
  TNavKitForm& f = Kit();
  TPxToolBox& box = *f.Tools;
  TPxToolBoxItems& items = box.Categories().Items(2)->Items();
  // 17 * 3 + 22 * 4 = 139 so far; 7 more rows of 22 make 293 in 250.
  for (Integer i = 0; i < 7; ++i) items.Add()->SetCaption(u"Extra");
  Pump();
  harness::PaintClient(box.Handle());
  EXPECT_EQ(box.VertScrollBar().Max(), 293 - box.ClientHeight());
  EXPECT_TRUE(box.VertScrollBar().Visible());
  box.Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  Pump();
  EXPECT_EQ(box.VertScrollBar().Position(), 22) << "the wheel steps by the bar's small change, the item height";
}

TEST_F(NavKitTest, OutlookBarSelectsLargeAndToolbarButtons) {
  TNavKitForm& f = Kit();
  TPxOutlookBar& bar = *f.Outlook;
  TPxOutlookBarItem* packages = bar.Items().Items(3);
  EXPECT_TRUE(bar.IsToolButton(packages));
  EXPECT_EQ(bar.GetItemRect(bar.Items().Items(0)), Rect(0, 206, 185, 237));
  EXPECT_EQ(bar.GetItemRect(packages), Rect(163, 270, 186, 300));
  EXPECT_EQ(bar.GetItemRect(bar.Items().Items(2)), Rect(0, 0, 185, 0)) << "hidden";
  harness::SendClick(bar.Handle(), 50, 220);
  Pump();
  EXPECT_EQ(f.Events, std::vector<std::string>{"select:0"});
  harness::SendClick(bar.Handle(), 174, 285);
  Pump();
  EXPECT_EQ(f.Events, (std::vector<std::string>{"select:0", "select:3"}));
  EXPECT_EQ(bar.Selected(), packages);
  harness::SendKey(bar.Handle(), VK_UP);
  Pump();
  EXPECT_EQ(bar.ItemIndex(), 2) << "keys do not skip hidden items";
  harness::SendMouseMove(bar.Handle(), 50, 250);
  Pump();
  EXPECT_EQ(bar.HoverItem(), bar.Items().Items(1));
  const harness::Bitmap32 picture = harness::PaintClient(bar.Handle());
  SavePicture(picture, L"panelkit-outlook-bar.bmp");
  EXPECT_NE(picture.PixelColor(100, 240), picture.PixelColor(100, 215)) << "the hovered button differs from the idle";
  f.Events.clear();
  bar.SetDisplayCount(1);
  EXPECT_EQ(f.Events, std::vector<std::string>{"change:1"});
  EXPECT_EQ(bar.HoverItem(), bar.Items().Items(1));
  bar.Items().Delete(1);
  EXPECT_EQ(bar.HoverItem(), nullptr);
  EXPECT_EQ(bar.Items().VisibleCount(), 2);
  harness::PaintClient(bar.Handle());
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(NavKitTest, OutlookSplitterMovesItemsBetweenLargeAndSmallButtons) {
  TNavKitForm& f = Kit();
  TPxOutlookBar& bar = *f.Outlook;
  TPxOutlookBarItem* packages = bar.Items().Items(3);
  EXPECT_EQ(bar.GetSplitterRect(), Rect(0, 197, 185, 206));
  harness::SendMouseDown(bar.Handle(), 90, 200);
  harness::SendMouseMove(bar.Handle(), 90, 168);
  Pump();
  EXPECT_TRUE(bar.Sizing());
  EXPECT_EQ(bar.DisplayCount(), 3);
  EXPECT_FALSE(bar.IsToolButton(packages));
  EXPECT_EQ(bar.GetItemRect(packages), Rect(0, 238, 185, 269));
  EXPECT_EQ(f.OutlookPage->Height(), 300 - (30 + 9 + 3 * 32));
  harness::SendMouseMove(bar.Handle(), 90, 290);
  Pump();
  EXPECT_EQ(bar.DisplayCount(), 0);
  for (Integer i : {0, 1, 3}) EXPECT_TRUE(bar.IsToolButton(bar.Items().Items(i))) << i;
  EXPECT_EQ(bar.GetItemRect(bar.Items().Items(0)), Rect(119, 270, 142, 300)) << "right-aligned in order";
  harness::SendMouseUp(bar.Handle(), 90, 290);
  Pump();
  EXPECT_FALSE(bar.Sizing());
  EXPECT_TRUE(f.Events.empty()) << "the splitter neither selects nor reports a change";
  const harness::Bitmap32 picture = harness::PaintClient(bar.Handle());
  SavePicture(picture, L"panelkit-outlook-bar-small.bmp");
  EXPECT_EQ(f.OutlookPage->Height(), 300 - 39);
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(NavKitTest, StatusBarPanelsAreOfTheClassAskedFor) {
  TNavKitForm& f = Kit();
  TPxStatusBarPanels& panels = f.Status->Panels();
  TPxStatusPanel* solid = panels.Add(TTestStatusPanel::StaticClass());
  EXPECT_NE(dynamic_cast<TTestStatusPanel*>(solid), nullptr);
  solid->SetWidth(50);
  panels.Add(TPxStatusPanel::StaticClass())->SetWidth(80);
  panels.Add(TPxStatusPanel::StaticClass())->SetWidth(20);
  EXPECT_THROW(panels.Add(TPanel::StaticClass()), EInvalidOperation);
  EXPECT_EQ(panels.Count(), 3);
  EXPECT_EQ(f.Status->GetPanelRect(1), Rect(50, 0, 130, 20));
  EXPECT_EQ(f.Status->GetPanelRect(2), Rect(130, 0, 150, 20));
  const harness::Bitmap32 picture = harness::PaintClient(f.Status->Handle());
  SavePicture(picture, L"panelkit-status-bar.bmp");
  EXPECT_EQ(picture.PixelColor(10, 10), RGB(255, 0, 0));
  EXPECT_NE(picture.PixelColor(60, 10), RGB(255, 0, 0));
  EXPECT_NE(picture.PixelColor(60, 10), static_cast<COLORREF>(ResolveColor(clBtnFace)));
  panels.Clear();
  EXPECT_EQ(panels.Count(), 0);
  const harness::Bitmap32 empty = harness::PaintClient(f.Status->Handle());
  EXPECT_EQ(empty.PixelColor(10, 10), empty.PixelColor(300, 10));
}

}  // namespace
