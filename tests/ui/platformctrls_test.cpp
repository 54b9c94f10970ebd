// The platform's further controls read from form files as the IDE writes
// them, the way the preview reads a form (handlers unbound), and shown: the
// scroll bar, the headers, the spin button and scroller, the colour choosers,
// the labeled edit, the grid, flow and category panels and the page scroller.
#include "ui/winapi.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "ui/actnman.h"
#include "ui/colorctrls.h"
#include "ui/commdlg.h"
#include "ui/outline.h"
#include "ui/panelctrls.h"
#include "ui/scrollctrls.h"
#include "ui/shellctrls.h"
#include "ui/stdactns.h"
#include "ui/uitest.h"

namespace {

class PlatformCtrlsTest : public FixtureFormTest {};

TEST_F(PlatformCtrlsTest, ScrollingAndHeaderControlsLoadAndShow) {
  TForm* form = ShowFixture("PlatformCtrls.dfm");
  EXPECT_TRUE(FExceptions.empty());

  auto* bar = Find<TScrollBar>(form, u"Bar");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Max(), 200);
  EXPECT_EQ(bar->Position(), 50);
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(bar->Handle(), SB_CTL, &info));
  EXPECT_EQ(info.nMax, 200);
  EXPECT_EQ(info.nPos, 50);
  // A page click moves by the large change; the arrow by the small one.
  SendMessageW(form->Handle(), WM_HSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(bar->Handle()));
  EXPECT_EQ(bar->Position(), 60);
  SendMessageW(form->Handle(), WM_HSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(bar->Handle()));
  EXPECT_EQ(bar->Position(), 59);
  auto* upright = Find<TScrollBar>(form, u"Upright");
  ASSERT_NE(upright, nullptr);
  EXPECT_TRUE(GetWindowLongW(upright->Handle(), GWL_STYLE) & SBS_VERT);
  EXPECT_EQ(upright->Height(), 100) << "a loaded bar keeps the form's size";

  auto* header = Find<THeaderControl>(form, u"Header");
  ASSERT_NE(header, nullptr);
  ASSERT_EQ(header->Sections().Count(), 2);
  EXPECT_EQ(header->ItemCount(), 2);
  EXPECT_EQ(header->Sections().Items(1)->Left(), 120);
  wchar_t text[32] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_WIDTH;
  item.pszText = text;
  item.cchTextMax = 32;
  ASSERT_TRUE(SendMessageW(header->Handle(), HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
  EXPECT_STREQ(text, L"Size");
  EXPECT_EQ(item.cxy, 80);

  auto* oldHeader = Find<THeader>(form, u"OldHeader");
  ASSERT_NE(oldHeader, nullptr);
  EXPECT_EQ(oldHeader->GetSections()->Count(), 2);
  EXPECT_EQ(oldHeader->SectionWidth(0) + oldHeader->SectionWidth(1), oldHeader->ClientWidth());

  auto* spin = Find<TSpinButton>(form, u"Spin");
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(spin->FocusControl(), form->FindComponent(u"Named"));
  int ups = 0;
  spin->OnUpClick = TNotifyEvent([&ups](TObject*) { ++ups; });
  SendMessageW(spin->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 3));
  SendMessageW(spin->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 3));
  EXPECT_EQ(ups, 1);

  auto* arrows = Find<TScroller>(form, u"Arrows");
  ASSERT_NE(arrows, nullptr);
  EXPECT_EQ(arrows->Position(), 2);
  SendMessageW(arrows->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 5));
  SendMessageW(arrows->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(30, 5));
  EXPECT_EQ(arrows->Position(), 3);

  auto* pager = Find<TPageScroller>(form, u"Pager");
  ASSERT_NE(pager, nullptr);
  EXPECT_EQ(pager->Control(), form->FindComponent(u"PagedButton"));
  EXPECT_EQ(SendMessageW(pager->Handle(), PGM_GETBUTTONSIZE, 0, 0), 12);
  SaveForInspection(CaptureScreen(form->Handle()), L"platformctrls.bmp");
  delete form;
  Pump();
}

TEST_F(PlatformCtrlsTest, ColourChoosersAndLabeledEditShowTheirValues) {
  TForm* form = ShowFixture("PlatformCtrls.dfm");
  auto* colors = Find<TColorBox>(form, u"Colors");
  ASSERT_NE(colors, nullptr);
  ASSERT_EQ(colors->Items().Count(), 16) << "standard colours only";
  EXPECT_EQ(colors->Items()[0], u"Black") << "pretty names";
  EXPECT_EQ(colors->Selected(), clRed);
  EXPECT_EQ(colors->Choice.ColorAt(colors->ItemIndex()), clRed);
  EXPECT_TRUE(GetWindowLongW(colors->Handle(), GWL_STYLE) & CBS_OWNERDRAWFIXED);

  auto* list = Find<TColorListBox>(form, u"ColorList");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->Items().Count(), 17);
  EXPECT_EQ(list->Items()[0], u"clNone");
  EXPECT_EQ(list->Choice.ColorAt(list->ItemIndex()), clBlue);

  auto* palette = Find<TColorGrid>(form, u"Palette");
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette->ForegroundIndex(), 9);
  EXPECT_EQ(palette->BackgroundIndex(), 15);

  auto* named = Find<TLabeledEdit>(form, u"Named");
  ASSERT_NE(named, nullptr);
  ASSERT_NE(named->EditLabel(), nullptr);
  EXPECT_EQ(named->EditLabel()->Caption(), u"Your name");
  EXPECT_EQ(named->EditLabel()->Parent(), form);
  EXPECT_EQ(named->EditLabel()->Left(), named->Left());
  EXPECT_EQ(named->EditLabel()->Top(), named->Top() - named->EditLabel()->Height() - 3);
  EXPECT_EQ(form->FindComponent(u"SubLabel"), nullptr) << "the label belongs to the edit";

  const harness::Bitmap32 shot = CaptureScreen(form->Handle());
  // The colour box's field shows the red swatch; the grid's tenth cell is red.
  EXPECT_EQ(ScreenPixel(shot, form, colors, 6, colors->ClientHeight() / 2), RGB(255, 0, 0));
  const TRect cell = palette->CellRect(9);
  EXPECT_EQ(ScreenPixel(shot, form, palette, cell.Left + 3, cell.Top + 3), RGB(255, 0, 0));
  delete form;
  Pump();
}

TEST_F(PlatformCtrlsTest, PanelsPlaceTheirControls) {
  TForm* form = ShowFixture("PlatformCtrls.dfm");
  auto* grid = Find<TGridPanel>(form, u"Grid");
  auto* button = Find<TButton>(form, u"GridButton");
  auto* edit = Find<TEdit>(form, u"GridEdit");
  ASSERT_TRUE(grid && button && edit);
  ASSERT_EQ(grid->GetColumnCollection()->Count(), 2);
  EXPECT_EQ(grid->GetControlCollection()->Items(0)->Control(), button);
  // The first column is 100 pixels wide; the second takes the rest.
  const TRect first = grid->CellRect(0, 0), last = grid->CellRect(1, 1);
  EXPECT_EQ(first.Width(), 100);
  EXPECT_EQ(last.Right, grid->ClientWidth() - 1);
  // Without anchors the button stands in the middle of its cell; the edit at its corner.
  EXPECT_EQ(button->Left(), last.Left + (last.Width() - button->Width()) / 2);
  EXPECT_EQ(button->Top(), last.Top + (last.Height() - button->Height()) / 2);
  EXPECT_EQ(edit->Left(), first.Left);
  EXPECT_EQ(edit->Top(), first.Top);

  // Two panels of 70 fit a line of the flow panel; the third wraps.
  auto* a = Find<TPanel>(form, u"FlowA");
  auto* b = Find<TPanel>(form, u"FlowB");
  auto* c = Find<TPanel>(form, u"FlowC");
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(b->Left(), a->Left() + 70);
  EXPECT_EQ(b->Top(), a->Top());
  EXPECT_EQ(c->Left(), a->Left());
  EXPECT_EQ(c->Top(), a->Top() + 30);

  auto* group = Find<TCategoryPanelGroup>(form, u"Categories");
  auto* open = Find<TCategoryPanel>(form, u"OpenPanel");
  auto* folded = Find<TCategoryPanel>(form, u"FoldedPanel");
  ASSERT_TRUE(group && open && folded);
  ASSERT_EQ(group->Panels().size(), 2u);
  EXPECT_EQ(group->Panels()[0], open);
  EXPECT_EQ(open->Top(), 0);
  EXPECT_EQ(open->Height(), 100);
  EXPECT_EQ(folded->Top(), 100);
  EXPECT_EQ(folded->Height(), 24) << "a folded panel shows its header only";
  auto* inside = Find<TCheckBox>(form, u"InPanel");
  ASSERT_NE(inside, nullptr);
  RECT panelWindow;
  GetWindowRect(open->Handle(), &panelWindow);
  EXPECT_EQ(inside->ClientToScreen(Point(0, 0)).Y, panelWindow.top + 24 + 8) << "controls count from below the header";
  // A click on the header unfolds the panel to its height.
  RECT foldedWindow;
  GetWindowRect(folded->Handle(), &foldedWindow);
  const LPARAM at = MAKELPARAM(foldedWindow.left + 20, foldedWindow.top + 10);
  const LRESULT hit = SendMessageW(folded->Handle(), WM_NCHITTEST, 0, at);
  EXPECT_EQ(hit, HTBORDER);
  SendMessageW(folded->Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), at);
  EXPECT_FALSE(folded->Collapsed());
  EXPECT_EQ(folded->Height(), 100);
  SaveForInspection(CaptureScreen(form->Handle()), L"platformpanels.bmp");
  delete form;
  Pump();
}

}  // namespace

namespace {

TEST_F(PlatformCtrlsTest, ActionBarsShellAndOlderControlsLoadAndShow) {
  TForm* form = ShowFixture("ActionAndOldCtrls.dfm");
  EXPECT_TRUE(FExceptions.empty());

  // The manager describes the bars; each bar draws its own entries.
  auto* manager = Find<TActionManager>(form, u"Manager");
  auto* menuBar = Find<TActionMainMenuBar>(form, u"MenuBar");
  auto* tools = Find<TActionToolBar>(form, u"Tools");
  ASSERT_TRUE(manager && menuBar && tools);
  EXPECT_EQ(manager->ActionCount(), 3);
  // A standard action of a previewed form ends and closes nothing when run.
  auto* quit = Find<TFileExit>(form, u"QuitAction");
  ASSERT_NE(quit, nullptr);
  EXPECT_FALSE(quit->Execute());
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  ASSERT_EQ(manager->GetActionBars()->Count(), 2);
  EXPECT_EQ(manager->FindItemFor(menuBar), manager->GetActionBars()->Items(0));
  EXPECT_EQ(manager->FileName, u"C:\\settings\\bars.dat") << "kept, never read";
  EXPECT_EQ(menuBar->GetColorMap()->HighlightColor, 14410210);
  EXPECT_FALSE(menuBar->UseSystemFont);
  const auto menuEntries = menuBar->Entries();
  ASSERT_EQ(menuEntries.size(), 2u);
  EXPECT_EQ(menuEntries[0].second->ShownCaption(), u"&File");
  TActionClientItem* file = menuEntries[0].second;
  ASSERT_EQ(file->GetItems()->Count(), 3);
  EXPECT_EQ(file->GetItems()->Items(0)->ShownCaption(), u"&Open") << "the action's caption";
  EXPECT_EQ(file->GetItems()->Items(2)->ShortCut, 16465);
  const auto toolEntries = tools->Entries();
  ASSERT_EQ(toolEntries.size(), 3u);
  // An entry shown as a control keeps what the form stores of that control.
  EXPECT_EQ(toolEntries[2].second->CommandStyle, actnman::csControl);
  EXPECT_EQ(toolEntries[2].second->CommandProperties()->Width, 120);
  EXPECT_EQ(toolEntries[1].second->Action(), form->FindComponent(u"QuitAction"));
  EXPECT_LT(toolEntries[0].first.Right, toolEntries[1].first.Left + 1);
  EXPECT_NE(dynamic_cast<TPopupActionBar*>(form->FindComponent(u"Popup")), nullptr);
  EXPECT_NE(dynamic_cast<TPrinterSetupDialog*>(form->FindComponent(u"PrinterSetup")), nullptr);

  // The shell controls show their root's name and list nothing of the machine.
  auto* tree = Find<TShellTreeView>(form, u"Tree");
  auto* files = Find<TShellListView>(form, u"Files");
  auto* places = Find<TShellComboBox>(form, u"Places");
  ASSERT_TRUE(tree && files && places);
  ASSERT_EQ(tree->Items().Count(), 1);
  EXPECT_EQ(tree->Items().Item(0)->Text(), u"C:\\Windows");
  EXPECT_EQ(tree->Shell.ListView, files);
  EXPECT_EQ(files->Shell.TreeView, tree);
  EXPECT_EQ(files->Items().Count(), 0);
  EXPECT_EQ(places->Items().Count(), 0);

  auto* lines = Find<TOutline>(form, u"Lines");
  ASSERT_NE(lines, nullptr);
  ASSERT_EQ(lines->Nodes().size(), 5u);
  EXPECT_EQ(lines->Nodes()[3].Text, u"Terriers");
  EXPECT_EQ(lines->Nodes()[3].Level, 3);
  EXPECT_EQ(lines->ShownNodes().size(), 2u) << "folded at first";
  SendMessageW(lines->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 4));
  SendMessageW(lines->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(30, 4));
  EXPECT_EQ(lines->ShownNodes().size(), 4u);

  auto* folders = Find<TDirectoryOutline>(form, u"Folders");
  ASSERT_NE(folders, nullptr);
  ASSERT_EQ(folders->Nodes().size(), 3u);
  EXPECT_EQ(folders->Nodes()[0].Text, u"C:\\");
  EXPECT_EQ(folders->Nodes()[2].Text, u"System");

  auto* tabbed = Find<TTabbedNotebook>(form, u"Tabbed");
  ASSERT_NE(tabbed, nullptr);
  ASSERT_EQ(tabbed->Pages().size(), 2u);
  EXPECT_EQ(tabbed->ActivePage(), u"Second");
  EXPECT_FALSE(tabbed->Pages()[0]->Visible());
  EXPECT_TRUE(IsWindowVisible(tabbed->Pages()[1]->Handle()));
  const TRect first = tabbed->TabRect(0);
  SendMessageW(tabbed->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.Left + 5, first.Top + 5));
  SendMessageW(tabbed->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(first.Left + 5, first.Top + 5));
  EXPECT_EQ(tabbed->PageIndex(), 0);
  // The ANSI item and node records of older IDEs.
  auto* oldList = Find<TListView>(form, u"OldList");
  ASSERT_NE(oldList, nullptr);
  ASSERT_EQ(oldList->Items().Count(), 2);
  EXPECT_EQ(oldList->Items().Item(0)->Caption(), u"One");
  EXPECT_EQ(oldList->Items().Item(0)->SubItems()[0], u"Uno");
  EXPECT_EQ(oldList->Items().Item(1)->ImageIndex(), 1);
  auto* oldTree = Find<TTreeView>(form, u"OldTree");
  ASSERT_NE(oldTree, nullptr);
  ASSERT_EQ(oldTree->Items().Count(), 2);
  EXPECT_EQ(oldTree->Items().Item(0)->Text(), u"Root");
  EXPECT_EQ(oldTree->Items().Item(1)->Text(), u"Leaf");
  EXPECT_EQ(oldTree->Items().Item(1)->Parent(), oldTree->Items().Item(0));
  Pump();
  UpdateWindow(form->Handle());
  SaveForInspection(CaptureScreen(form->Handle()), L"actionandold.bmp");
  delete form;
  Pump();
}

}  // namespace
