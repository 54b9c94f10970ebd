// The page scroller paging its child, list-view groups, drop-down tool
// buttons and the standard actions with a dialog, read from form files as
// the IDE writes them, the way the preview reads a form (handlers unbound).
#include "ui/winapi.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ui/comctrls.h"
#include "ui/scrollctrls.h"
#include "ui/stdactns.h"
#include "ui/toolbar.h"
#include "ui/uitest.h"

namespace {

class PagedGroupedTest : public FixtureFormTest {};

// Watches what a list view's window is told about groups.
struct GroupMessages {
  struct Group {
    String Header;
    int Id;
    UINT Align, State;
  };
  explicit GroupMessages(HWND window) : Window(window) {
    SetPropW(window, L"KstGroupWatch", this);
    Previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GroupMessages::Proc)));
  }
  ~GroupMessages() { Release(); }
  void Release() {
    if (!Previous) return;
    SetWindowLongPtrW(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Previous));
    RemovePropW(Window, L"KstGroupWatch");
    Previous = nullptr;
  }
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<GroupMessages*>(GetPropW(window, L"KstGroupWatch"));
    if (message == LVM_REMOVEALLGROUPS) self->Groups.clear();
    if (message == LVM_ENABLEGROUPVIEW) self->Enabled.push_back(static_cast<int>(wParam));
    if (message == LVM_INSERTGROUP) {
      const auto* g = reinterpret_cast<const LVGROUP*>(lParam);
      self->Groups.push_back({FromWStr(g->pszHeader), g->iGroupId, g->uAlign, g->state});
    }
    if (message == LVM_SETITEMW) {
      const auto* it = reinterpret_cast<const LVITEMW*>(lParam);
      if (it->mask & LVIF_GROUPID) self->ItemGroups.emplace_back(it->iItem, it->iGroupId);
    }
    return CallWindowProcW(self->Previous, window, message, wParam, lParam);
  }
  HWND Window;
  WNDPROC Previous = nullptr;
  std::vector<Group> Groups;
  std::vector<int> Enabled;
  std::vector<std::pair<int, int>> ItemGroups;
};

bool IsRed(COLORREF c) {
  return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60;
}

TEST_F(PagedGroupedTest, PageScrollerScrollsAWiderChild) {
  TForm* form = ShowFixture("PagedGroupedCtrls.dfm");
  auto* pager = Find<TPageScroller>(form, u"Pager");
  auto* strip = Find<TPanel>(form, u"Strip");
  auto* roomy = Find<TPageScroller>(form, u"RoomyPager");
  ASSERT_TRUE(pager && strip && roomy);
  EXPECT_EQ(pager->Control(), strip);
  EXPECT_EQ(GetParent(strip->Handle()), pager->Handle());

  // Buttons only while the child is larger than the pager.
  EXPECT_NE(SendMessageW(pager->Handle(), PGM_GETBUTTONSTATE, 0, PGB_BOTTOMORRIGHT), PGF_INVISIBLE);
  EXPECT_EQ(SendMessageW(roomy->Handle(), PGM_GETBUTTONSTATE, 0, PGB_BOTTOMORRIGHT), PGF_INVISIBLE);
  EXPECT_EQ(SendMessageW(roomy->Handle(), PGM_GETBUTTONSTATE, 0, PGB_TOPORLEFT), PGF_INVISIBLE);

  RECT before{};
  GetWindowRect(strip->Handle(), &before);
  pager->SetPosition(60);
  Pump();
  EXPECT_EQ(pager->Position(), 60);
  RECT after{};
  GetWindowRect(strip->Handle(), &after);
  // (The left button takes its place at the pager's start once there is room to go back.)
  EXPECT_LE(before.left - after.left, 60) << "the child moves under the pager";
  EXPECT_GE(before.left - after.left, 60 - pager->ButtonSize);
  EXPECT_EQ(strip->Width(), 500) << "the child keeps its size";

  // A control that is not the pager's own child is not taken from its parent.
  roomy->SetControl(strip);
  EXPECT_EQ(GetParent(strip->Handle()), pager->Handle());
  EXPECT_EQ(SendMessageW(roomy->Handle(), PGM_GETBUTTONSTATE, 0, PGB_BOTTOMORRIGHT), PGF_INVISIBLE);
  roomy->SetControl(Find<TPanel>(form, u"ShortStrip"));

  UpdateWindow(form->Handle());
  Pump();
  const harness::Bitmap32 shot = CaptureScreen(form->Handle());
  SaveForInspection(shot, L"pagedgrouped.bmp");
  EXPECT_TRUE(IsRed(ScreenPixel(shot, form, pager, pager->Width() / 2, pager->Height() / 2))) << "the child shows";
  EXPECT_FALSE(IsRed(ScreenPixel(shot, form, pager, pager->Width() - 4, pager->Height() / 2)))
      << "the right button covers the child's end";
  delete form;
  Pump();
}

TEST_F(PagedGroupedTest, ListViewGroupsHoldTheirItems) {
  TForm* form = ShowFixture("PagedGroupedCtrls.dfm");
  auto* files = Find<TListView>(form, u"Files");
  ASSERT_NE(files, nullptr);
  ASSERT_EQ(files->Groups().Count(), 2);
  TListGroup* pictures = files->Groups().Items(1);
  EXPECT_EQ(pictures->Header(), u"Pictures");
  EXPECT_EQ(pictures->Footer(), u"One picture");
  EXPECT_EQ(pictures->GroupID(), 3);
  EXPECT_EQ(pictures->HeaderAlign(), taCenter);
  EXPECT_EQ(pictures->FooterAlign(), taRightJustify);
  EXPECT_TRUE(pictures->State().Contains(lgsCollapsible));
  EXPECT_EQ(pictures->Subtitle, u"From the camera");
  EXPECT_EQ(files->Groups().FindGroup(3), pictures);
  EXPECT_EQ(files->Groups().FindGroup(7), nullptr);
  EXPECT_EQ(files->Groups().Add()->GroupID(), 4) << "a new group takes the next free ID";
  files->Groups().Delete(2);

  // A column added to a shown list view reaches the window whole.
  files->Columns().Add()->SetCaption(u"Size");
  HWND header = reinterpret_cast<HWND>(SendMessageW(files->Handle(), LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
  wchar_t caption[16] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = caption;
  column.cchTextMax = 16;
  SendMessageW(files->Handle(), LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
  EXPECT_EQ(FromWStr(caption), u"Size");

  ASSERT_EQ(files->Items().Count(), 4);
  const Integer expected[] = {0, 0, 3, -1};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(files->Items()[i]->GroupID(), expected[i]) << i;

  // The system's list view is told of the groups and of each item's group.
  // (Wine's list view ignores groups, so the messages are watched instead.)
  ASSERT_TRUE(files->GroupView());
  GroupMessages watched(files->Handle());
  files->Groups().Items(0)->SetHeader(u"Papers");
  ASSERT_EQ(watched.Groups.size(), 2u);
  EXPECT_EQ(watched.Groups[0].Header, u"Papers");
  EXPECT_EQ(watched.Groups[1].Header, u"Pictures");
  EXPECT_EQ(watched.Groups[1].Id, 3);
  EXPECT_EQ(watched.Groups[1].Align, static_cast<UINT>(LVGA_HEADER_CENTER | LVGA_FOOTER_RIGHT));
  EXPECT_EQ(watched.Groups[1].State, static_cast<UINT>(LVGS_COLLAPSIBLE));
  EXPECT_EQ(watched.Enabled, std::vector<int>{1});
  EXPECT_EQ(watched.ItemGroups, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 3}, {3, I_GROUPIDNONE}}));
  watched.ItemGroups.clear();
  files->Items()[2]->SetGroupID(0);
  EXPECT_EQ(watched.ItemGroups, (std::vector<std::pair<int, int>>{{2, 0}})) << "moving an item moves it in the window";
  files->SetGroupView(false);
  EXPECT_EQ(watched.Enabled, (std::vector<int>{1, 0}));
  watched.Release();

  // The groups survive a new window.
  files->SetViewStyle(vsSmallIcon);
  EXPECT_EQ(files->Groups().Count(), 2);
  EXPECT_EQ(files->Items()[3]->Caption(), u"Loose.bin");

  // An item's group goes with it when the items are copied.
  TListView copy(nullptr);
  copy.Items().Assign(&files->Items());
  EXPECT_EQ(copy.Items()[3]->GroupID(), -1);
  EXPECT_EQ(copy.Items()[2]->GroupID(), 0);
  delete form;
  Pump();
}

TEST_F(PagedGroupedTest, DropDownButtonShowsItsArrowAndMenu) {
  TForm* form = ShowFixture("PagedGroupedCtrls.dfm");
  auto* bar = Find<TToolBar>(form, u"Bar");
  auto* open = Find<TToolButton>(form, u"OpenButton");
  auto* plain = Find<TToolButton>(form, u"PlainButton");
  auto* recent = Find<TPopupMenu>(form, u"Recent");
  ASSERT_TRUE(bar && open && plain && recent);
  EXPECT_EQ(open->Style(), tbsDropDown);
  EXPECT_EQ(open->DropdownMenu(), recent);
  EXPECT_EQ(open->Width(), bar->ButtonWidth() + 14) << "the arrow adds its width";
  EXPECT_EQ(plain->Left(), open->Left() + open->Width());
  EXPECT_TRUE(plain->ArrowRect().IsEmpty());
  const TRect arrow = open->ArrowRect();
  EXPECT_EQ(arrow.Right, open->Width());

  // The arrow is drawn in the button's text colour.
  const harness::Bitmap32 shot = CaptureScreen(form->Handle());
  const Integer cx = (arrow.Left + arrow.Right) / 2, cy = (arrow.Top + arrow.Bottom) / 2 - 1;
  const auto text = static_cast<COLORREF>(ColorToRGB(clBtnText));
  EXPECT_EQ(ScreenPixel(shot, form, open, cx, cy), text);
  EXPECT_NE(ScreenPixel(shot, form, open, cx, cy + 4), text);

  // The arrow opens the menu and is no click of the button; the face clicks.
  int clicks = 0, shown = 0;
  open->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
  recent->TrackHook = [&](TPopupMenu& menu) -> UINT {
    ++shown;
    EXPECT_EQ(menu.PopupComponent(), open);
    // Choosing the item runs nothing: its handler is not bound in a preview.
    return menu.Items()->Items(0)->Command();
  };
  auto press = [&](Integer x) {
    const LPARAM at = MAKELPARAM(open->Left() + x, open->Top() + 5);
    SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(bar->Handle(), WM_LBUTTONUP, 0, at);
    Pump();
  };
  press(arrow.Left + 4);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(clicks, 0);
  press(4);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(FExceptions.empty());

  // A menu that goes leaves a button with nothing to show.
  delete recent;
  EXPECT_EQ(open->DropdownMenu(), nullptr);
  EXPECT_FALSE(open->DropDown());
  delete form;
  Pump();
}

TEST_F(PagedGroupedTest, DialogActionsKeepTheirDialogsAndShowNone) {
  TForm* form = ShowFixture("DialogActions.dfm");
  auto* open = Find<TFileOpen>(form, u"FileOpen1");
  auto* openWith = Find<TFileOpenWith>(form, u"FileOpenWith1");
  auto* saveAs = Find<TFileSaveAs>(form, u"FileSaveAs1");
  auto* setup = Find<TFilePrintSetup>(form, u"FilePrintSetup1");
  auto* run = Find<TFileRun>(form, u"FileRun1");
  auto* find = Find<TSearchFind>(form, u"SearchFind1");
  auto* findFirst = Find<TSearchFindFirst>(form, u"SearchFindFirst1");
  auto* findNext = Find<TSearchFindNext>(form, u"SearchFindNext1");
  auto* replace = Find<TSearchReplace>(form, u"SearchReplace1");
  auto* font = Find<TFontEdit>(form, u"FontEdit1");
  auto* color = Find<TColorSelect>(form, u"ColorSelect1");
  auto* print = Find<TPrintDlg>(form, u"PrintDlg1");
  ASSERT_TRUE(open && openWith && saveAs && setup && run && find && findFirst && findNext && replace && font &&
              color && print);

  EXPECT_EQ(open->Dialog()->Filter(), u"Text files (*.txt)|*.txt|All files (*.*)|*.*");
  EXPECT_EQ(open->Dialog()->DefaultExt(), u"txt");
  EXPECT_EQ(open->Dialog()->InitialDir(), u"C:\\secret");
  EXPECT_EQ(open->Dialog()->Name(), u"OpenDialog");
  EXPECT_EQ(open->Dialog()->Owner(), open);
  EXPECT_EQ(open->Caption(), u"&Open...");
  EXPECT_EQ(open->ShortCut(), 16463);
  EXPECT_EQ(openWith->FileName, u"C:\\secret\\notes.txt");
  EXPECT_TRUE(saveAs->Dialog()->Options().Contains(ofOverwritePrompt));
  EXPECT_EQ(saveAs->Dialog()->Name(), u"SaveDialog");
  EXPECT_NE(setup->Dialog(), nullptr);
  EXPECT_EQ(run->FileName, u"C:\\Windows\\notepad.exe");
  EXPECT_EQ(run->Parameters, u"C:\\secret\\notes.txt");
  EXPECT_EQ(run->ShowCmd, scShowMaximized);
  EXPECT_EQ(run->BrowseDlg()->Title(), u"Run");
  EXPECT_EQ(find->Dialog()->FindText(), u"needle");
  EXPECT_TRUE(find->Dialog()->Options().Contains(frMatchCase));
  EXPECT_NE(findFirst->Dialog(), find->Dialog());
  EXPECT_EQ(findNext->SearchFind(), find);
  EXPECT_EQ(replace->Dialog()->ReplaceText(), u"pin");
  EXPECT_EQ(font->Dialog()->Font().Name(), u"Tahoma");
  EXPECT_EQ(color->Dialog()->Color(), clRed);
  EXPECT_EQ(print->Dialog()->Copies(), 2);

  // Run, none shows its dialog or starts anything: a dialog would stop the
  // test until closed.
  for (TBasicAction* action : std::initializer_list<TBasicAction*>{open, openWith, saveAs, setup, run, find,
                                                                    findFirst, findNext, replace, font, color,
                                                                    print})
    EXPECT_FALSE(action->Execute()) << StringToUTF8(action->Name());
  SendMessageW(Find<TButton>(form, u"OpenButton")->Handle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(open->Dialog()->Handle(), nullptr);
  EXPECT_FALSE(open->ExecuteResult());
  EXPECT_EQ(open->Dialog()->FileName(), u"");
  EXPECT_TRUE(FExceptions.empty());
  EXPECT_TRUE(FBoxes.empty());

  delete find;
  EXPECT_EQ(findNext->SearchFind(), nullptr);
  delete form;
  Pump();
}

}  // namespace
