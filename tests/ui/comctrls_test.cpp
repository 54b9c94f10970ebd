// The list view, tree view, page control and tab set: read from a form
// resource as the IDE writes them, their items in the system's windows,
// selection by message reaching the events, items kept across a re-created
// window, tabs chosen by mouse.
// The door to the system headers first: it takes back the names they rename.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <cstring>

#include "classes/filer.h"
#include "classes/reader.h"
#include "rtl/format.h"
#include "rtl/streams.h"
#include "ui/comctrls.h"
#include "ui/tabs.h"
#include "ui/uitest.h"

namespace {

class TComCtrlsForm : public TForm {
  KST_CLASS(TComCtrlsForm, TForm)
 public:
  using TForm::TForm;
  TListView* RFTList = nullptr;
  TTreeView* Tree = nullptr;
  TPageControl* Pages = nullptr;
  TTabSheet* SheetGeneral = nullptr;
  TTabSheet* SheetPackages = nullptr;
  TLabel* LabelGeneral = nullptr;
  TButton* ButtonAdd = nullptr;
  TTabSet* Tabs = nullptr;

  struct Selection {
    TListItem* Item;
    bool Selected;
  };
  std::vector<Selection> Selections;
  std::vector<TTreeNode*> TreeChanges;
  int PageChanges = 0;
  std::vector<Integer> TabRequests;
  bool RefuseTab = false;
  int TabClicks = 0;
  int TreeDblClicks = 0;

  void RFTListSelectItem(TObject*, TListItem* item, bool selected) { Selections.push_back({item, selected}); }
  void TreeChange(TObject*, TTreeNode* node) { TreeChanges.push_back(node); }
  void PagesChange(TObject*) { ++PageChanges; }
  void TabsChange(TObject*, Integer newTab, bool& allow) {
    TabRequests.push_back(newTab);
    allow = !RefuseTab;
  }
  void TabsClick(TObject*) { ++TabClicks; }
  void TreeDblClick(TObject*) { ++TreeDblClicks; }
};

}  // namespace

KST_CLASS_IMPL(TComCtrlsForm, "UiTests")

void TComCtrlsForm::Describe(TClassBuilder<TComCtrlsForm>& c) {
  c.Field(u"RFTList", &TComCtrlsForm::RFTList);
  c.Field(u"Tree", &TComCtrlsForm::Tree);
  c.Field(u"Pages", &TComCtrlsForm::Pages);
  c.Field(u"SheetGeneral", &TComCtrlsForm::SheetGeneral);
  c.Field(u"SheetPackages", &TComCtrlsForm::SheetPackages);
  c.Field(u"LabelGeneral", &TComCtrlsForm::LabelGeneral);
  c.Field(u"ButtonAdd", &TComCtrlsForm::ButtonAdd);
  c.Field(u"Tabs", &TComCtrlsForm::Tabs);
  c.Method(u"RFTListSelectItem", &TComCtrlsForm::RFTListSelectItem);
  c.Method(u"TreeChange", &TComCtrlsForm::TreeChange);
  c.Method(u"PagesChange", &TComCtrlsForm::PagesChange);
  c.Method(u"TabsChange", &TComCtrlsForm::TabsChange);
  c.Method(u"TabsClick", &TComCtrlsForm::TabsClick);
  c.Method(u"TreeDblClick", &TComCtrlsForm::TreeDblClick);
}

namespace {

class ComCtrlsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    FForm = CreateForm<TComCtrlsForm>(FApp.get());
    FForm->Show();
    Pump();
  }
  TComCtrlsForm* FForm = nullptr;
};

String ListText(HWND list, int item, int subItem) {
  wchar_t buffer[256]{};
  LVITEMW it{};
  it.iSubItem = subItem;
  it.pszText = buffer;
  it.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
  return FromWStr(buffer);
}

void SelectByMessage(HWND list, int item, bool on) {
  LVITEMW it{};
  it.stateMask = LVIS_SELECTED;
  it.state = on ? LVIS_SELECTED : 0;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
}

bool CheckedInWindow(HWND list, int item) {
  return ((SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK) &
           LVIS_STATEIMAGEMASK) >>
          12) == 2;
}

TEST_F(ComCtrlsTest, TheFormReadsItsControlsAndShowsThem) {
  TComCtrlsForm& f = *FForm;
  ASSERT_NE(f.RFTList, nullptr);
  ASSERT_NE(f.Tree, nullptr);
  ASSERT_NE(f.Pages, nullptr);
  ASSERT_NE(f.Tabs, nullptr);

  // The list view: columns from the collection, items from the binary record.
  ASSERT_EQ(f.RFTList->Columns().Count(), 2);
  EXPECT_EQ(f.RFTList->Column(0)->Caption(), u"File Type");
  EXPECT_EQ(f.RFTList->Column(1)->Width(), 150);
  EXPECT_EQ(f.RFTList->ViewStyle(), vsReport);
  EXPECT_TRUE(f.RFTList->Checkboxes());
  EXPECT_TRUE(f.RFTList->ReadOnly());
  ASSERT_EQ(f.RFTList->Items().Count(), 3);
  EXPECT_EQ(f.RFTList->Items()[1]->Caption(), u"FMX");
  EXPECT_EQ(f.RFTList->Items()[1]->SubItems().Get(0), u"FireMonkey Form");
  HWND list = f.RFTList->Handle();
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(ListText(list, 0, 0), u"DFM");
  EXPECT_EQ(ListText(list, 2, 1), u"CLX Form");
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 75);
  EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & LVS_EDITLABELS) << "read-only";

  // The tree view: the nodes of the binary record, nested.
  EXPECT_EQ(f.Tree->Items().Count(), 7);
  TTreeNode* components = f.Tree->Items().GetFirstNode();
  ASSERT_NE(components, nullptr);
  EXPECT_EQ(components->Text(), u"Components");
  ASSERT_EQ(components->Count(), 2);
  EXPECT_EQ(components->Item(0)->Item(1)->Text(), u"TLabel");
  EXPECT_EQ(components->Item(0)->Item(1)->Level(), 2);
  EXPECT_EQ(f.Tree->Items()[6]->Text(), u"Types");
  EXPECT_EQ(SendMessageW(f.Tree->Handle(), TVM_GETCOUNT, 0, 0), 7);
  EXPECT_EQ(f.Tree->Indent(), 19);

  // The page control: two sheets, the first showing inside the display area.
  ASSERT_EQ(f.Pages->PageCount(), 2);
  EXPECT_EQ(f.Pages->ActivePage(), f.SheetGeneral);
  EXPECT_EQ(f.SheetPackages->PageIndex(), 1);
  EXPECT_EQ(f.ButtonAdd->Parent(), f.SheetPackages);
  EXPECT_EQ(SendMessageW(f.Pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_TRUE(IsWindowVisible(f.SheetGeneral->Handle()));
  EXPECT_FALSE(f.SheetPackages->HandleAllocated() && IsWindowVisible(f.SheetPackages->Handle()));
  RECT display{};
  GetClientRect(f.Pages->Handle(), &display);
  SendMessageW(f.Pages->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  EXPECT_EQ(f.SheetGeneral->BoundsRect(), FromRECT(display));
  EXPECT_GT(display.top, 10) << "below the tabs";

  // The tab set along the bottom.
  EXPECT_EQ(f.Tabs->Tabs().Count(), 4);
  EXPECT_EQ(f.Tabs->TabIndex(), 0);
  EXPECT_EQ(f.Tabs->BoundsRect(), Bounds(0, 379, 520, 21));

  UpdateWindow(f.Handle());
  harness::Bitmap32 screen = CaptureScreen(f.Handle());
  SaveForInspection(screen, L"comctrls.bmp");
  harness::Bitmap32 tabs = harness::PaintClient(f.Tabs->Handle());
  SaveForInspection(tabs, L"comctrls-tabset.bmp");
  TRect first = f.Tabs->ItemRect(0), second = f.Tabs->ItemRect(1);
  EXPECT_EQ(tabs.PixelColor(first.Left + 8, 3), GetSysColor(COLOR_BTNFACE)) << "the selected tab";
  EXPECT_EQ(tabs.PixelColor(second.Left + 8, 3), GetSysColor(COLOR_WINDOW)) << "an unselected tab";
}

TEST_F(ComCtrlsTest, ListViewSelectionChecksAndRecreation) {
  TListView& lv = *FForm->RFTList;
  HWND list = lv.Handle();
  auto& events = FForm->Selections;

  SelectByMessage(list, 1, true);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].Item, lv.Items()[1]);
  EXPECT_TRUE(events[0].Selected);
  EXPECT_EQ(lv.ItemIndex(), 1);
  EXPECT_EQ(lv.Selected(), lv.Items()[1]);
  lv.SetItemIndex(2);  // the single selection moves: one event off, one on
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[1].Item, lv.Items()[1]);
  EXPECT_FALSE(events[1].Selected);
  EXPECT_EQ(events[2].Item, lv.Items()[2]);
  EXPECT_TRUE(events[2].Selected);

  // Check boxes both ways.
  lv.Items()[0]->SetChecked(true);
  EXPECT_TRUE(CheckedInWindow(list, 0));
  LVITEMW check{};
  check.stateMask = LVIS_STATEIMAGEMASK;
  check.state = INDEXTOSTATEIMAGEMASK(2);
  SendMessageW(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&check));
  EXPECT_TRUE(lv.Items()[2]->Checked());
  EXPECT_FALSE(lv.Items()[1]->Checked());

  // Images come from an image list component.
  TImageList images(nullptr);
  lv.SetSmallImages(&images);
  EXPECT_EQ(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0), reinterpret_cast<LRESULT>(images.Handle()));

  // Items added in an update bracket, then a new window: everything stays.
  int data = 7;
  lv.Items().BeginUpdate();
  TListItem* added = lv.Items().Add();
  added->SetCaption(u"PAS");
  added->SubItems().Add(u"Unit");
  added->SetData(&data);
  lv.Items().EndUpdate();
  EXPECT_EQ(ListText(list, 3, 1), u"Unit");
  events.clear();
  lv.RecreateWnd();
  HWND again = lv.Handle();
  EXPECT_NE(again, list);
  EXPECT_TRUE(events.empty()) << "filling the new window is no user selection";
  EXPECT_EQ(SendMessageW(again, LVM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(ListText(again, 3, 0), u"PAS");
  EXPECT_EQ(ListText(again, 1, 1), u"FireMonkey Form");
  EXPECT_TRUE(CheckedInWindow(again, 0));
  EXPECT_FALSE(CheckedInWindow(again, 1));
  EXPECT_TRUE(CheckedInWindow(again, 2));
  EXPECT_EQ(lv.ItemIndex(), 2);
  EXPECT_EQ(lv.Items()[3]->Data(), &data);
  EXPECT_EQ(SendMessageW(again, LVM_GETCOLUMNWIDTH, 1, 0), 150);
  EXPECT_EQ(SendMessageW(again, LVM_GETIMAGELIST, LVSIL_SMALL, 0), reinterpret_cast<LRESULT>(images.Handle()));

  lv.Items().Delete(0);
  EXPECT_EQ(SendMessageW(again, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(ListText(again, 0, 0), u"FMX");
  lv.Clear();
  EXPECT_EQ(SendMessageW(again, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(lv.ItemIndex(), -1);
}

TEST_F(ComCtrlsTest, TreeViewFillSelectionAndRecreation) {
  TTreeView& tv = *FForm->Tree;
  HWND tree = tv.Handle();
  int redraws = 0;
  std::vector<WPARAM> redrawFlags;
  TWndProcHook hook([&](TMessage& m, const TWndProcNext& next) {
    if (m.Msg == WM_SETREDRAW) redrawFlags.push_back(m.WParam);
    next(m);
  });
  tv.AddWindowProcHook(hook);
  tv.Items().BeginUpdate();
  tv.Items().Clear();
  for (int i = 0; i < 200; ++i) {
    TTreeNode* parent = tv.Items().Add(nullptr, Format(u"Type %d", {i}));
    for (int j = 0; j < 5; ++j) tv.Items().AddChildObject(parent, Format(u"Member %d.%d", {i, j}), parent);
  }
  tv.Items().EndUpdate();
  tv.RemoveWindowProcHook(hook);
  redraws = static_cast<int>(redrawFlags.size());
  ASSERT_EQ(redraws, 2) << "drawing off for the whole fill, and on again once";
  EXPECT_EQ(redrawFlags[0], static_cast<WPARAM>(FALSE));
  EXPECT_EQ(redrawFlags[1], static_cast<WPARAM>(TRUE));
  EXPECT_EQ(tv.Items().Count(), 1200);
  EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 1200);

  TTreeNode* parent = tv.Items()[150 * 6];
  TTreeNode* member = parent->Item(4);
  EXPECT_EQ(member->Text(), u"Member 150.4");
  EXPECT_EQ(member->Data(), parent);
  EXPECT_EQ(member->Parent(), parent);
  EXPECT_EQ(member->AbsoluteIndex(), 150 * 6 + 5);
  EXPECT_FALSE(parent->Expanded());
  member->MakeVisible();
  EXPECT_TRUE(parent->Expanded());
  EXPECT_TRUE(SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(parent->ItemId()), TVIS_EXPANDED) &
              TVIS_EXPANDED);
  RECT r{};
  HTREEITEM id = member->ItemId();
  static_assert(sizeof id <= sizeof r);
  std::memcpy(&r, &id, sizeof id);  // the message takes the item in the rectangle
  ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
  RECT client{};
  GetClientRect(tree, &client);
  EXPECT_GE(r.top, 0);
  EXPECT_LE(r.bottom, client.bottom) << "scrolled into view";

  // Selection by message reaches OnChange; OnChanging may refuse.
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(member->ItemId()));
  ASSERT_EQ(FForm->TreeChanges.size(), 1u);
  EXPECT_EQ(FForm->TreeChanges[0], member);
  EXPECT_EQ(tv.Selected(), member);
  EXPECT_TRUE(member->Selected());
  tv.OnChanging = TTVChangingEvent([](TObject*, TTreeNode*, bool& allow) { allow = false; });
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(parent->ItemId()));
  EXPECT_EQ(tv.Selected(), member);
  EXPECT_EQ(FForm->TreeChanges.size(), 1u);
  tv.OnChanging = {};
  // The system's tree watches for a drag until the button comes up: the
  // releases wait in the queue for it.
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageW(tree, WM_LBUTTONUP, 0, at);
  SendMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(tree, WM_LBUTTONUP, 0, at);
  SendMessageW(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  Pump();
  EXPECT_EQ(FForm->TreeDblClicks, 1);
  EXPECT_EQ(tv.Selected(), member);

  // Read-only: the system's label editing is off and refused.
  EXPECT_FALSE(GetWindowLongW(tree, GWL_STYLE) & TVS_EDITLABELS);
  NMTVDISPINFOW begin{};
  begin.hdr.hwndFrom = tree;
  begin.hdr.code = TVN_BEGINLABELEDITW;
  begin.item.hItem = member->ItemId();
  begin.item.lParam = reinterpret_cast<LPARAM>(member);
  EXPECT_EQ(tv.Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&begin)), TRUE);

  // A new window keeps the nodes, the selection and what was expanded.
  FForm->TreeChanges.clear();
  tv.RecreateWnd();
  HWND again = tv.Handle();
  EXPECT_NE(again, tree);
  EXPECT_EQ(SendMessageW(again, TVM_GETCOUNT, 0, 0), 1200);
  EXPECT_EQ(tv.Selected(), member);
  EXPECT_TRUE(parent->Expanded());
  EXPECT_TRUE(FForm->TreeChanges.empty());

  member->Delete();
  EXPECT_EQ(tv.Items().Count(), 1199);
  EXPECT_EQ(SendMessageW(again, TVM_GETCOUNT, 0, 0), 1199);
  EXPECT_EQ(parent->Count(), 4);
}

TEST_F(ComCtrlsTest, ClickingATabShowsItsSheetOnly) {
  TPageControl& pc = *FForm->Pages;
  HWND tabs = pc.Handle();
  RECT r{};
  ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)));
  harness::SendClick(tabs, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Pump();
  EXPECT_EQ(pc.ActivePage(), FForm->SheetPackages);
  EXPECT_EQ(pc.ActivePageIndex(), 1);
  EXPECT_EQ(pc.TabIndex(), 1);
  EXPECT_EQ(FForm->PageChanges, 1);
  EXPECT_TRUE(IsWindowVisible(FForm->SheetPackages->Handle()));
  EXPECT_FALSE(IsWindowVisible(FForm->SheetGeneral->Handle()));
  EXPECT_TRUE(IsWindowVisible(FForm->ButtonAdd->Handle()));

  // OnChanging may keep the page.
  pc.OnChanging = TTabChangingEvent([](TObject*, bool& allow) { allow = false; });
  ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)));
  harness::SendClick(tabs, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_EQ(pc.ActivePage(), FForm->SheetPackages);
  EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(FForm->PageChanges, 1);
  pc.OnChanging = {};

  // By program: no change event, the same swap.
  pc.SetActivePageIndex(0);
  EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_TRUE(IsWindowVisible(FForm->SheetGeneral->Handle()));
  EXPECT_FALSE(IsWindowVisible(FForm->SheetPackages->Handle()));
  EXPECT_EQ(FForm->PageChanges, 1);

  // A sheet without a tab: one tab left, and its sheet still the first.
  FForm->SheetPackages->SetTabVisible(false);
  EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(pc.TabSheetOfTab(0), FForm->SheetGeneral);
  FForm->SheetGeneral->SetCaption(u"Renamed");
  wchar_t text[32]{};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 32;
  SendMessageW(tabs, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(FromWStr(text), u"Renamed");
}

TEST_F(ComCtrlsTest, ATabSetTakesItsTabFromAClick) {
  TTabSet& ts = *FForm->Tabs;
  HWND window = ts.Handle();
  TRect second = ts.ItemRect(2);
  ASSERT_FALSE(second.IsEmpty());
  harness::SendClick(window, (second.Left + second.Right) / 2, second.Height() / 2);
  EXPECT_EQ(ts.TabIndex(), 2);
  EXPECT_EQ(FForm->TabRequests, std::vector<Integer>{2});
  EXPECT_EQ(FForm->TabClicks, 1);

  FForm->RefuseTab = true;
  TRect last = ts.ItemRect(3);
  harness::SendClick(window, (last.Left + last.Right) / 2, last.Height() / 2);
  EXPECT_EQ(ts.TabIndex(), 2) << "the handler kept the old tab";
  EXPECT_EQ(FForm->TabClicks, 1);
  harness::SendClick(window, ts.Width() - 2, 5);  // beyond the last tab
  EXPECT_EQ(FForm->TabRequests.size(), 2u);
}

// Damaged item and node records are read errors, never a crash.
TEST_F(ComCtrlsTest, DamagedItemRecordsAreReadErrors) {
  struct Case {
    const char* name;
    TBytes bytes;
  } cases[] = {
      {"empty", {}},
      {"wrong version", {9, 0, 0, 0, 0, 1, 0, 0, 0}},
      {"count beyond the data", {5, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F}},
      {"caption cut short",
       {5,    0,    0,    0, 0, 1, 0, 0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0,    0,    0,    0,    10,   65,   0}},
  };
  for (const Case& c : cases) {
    TBytesStream stream(c.bytes);
    TListView scratch(nullptr);
    // Reading goes through the filer's binary property, as a form's would.
    EXPECT_THROW(
        {
          struct Probe : TFiler {
            Probe(TStream& s) : TFiler(s, 16) {}
            void DefineBinaryProperty(StringView name, const TStreamProc& read, const TStreamProc&, bool) override {
              if (name == u"ItemData" && read) read(Stream());
            }
          } probe(stream);
          scratch.Items().DefineProperties(probe);
        },
        EReadError)
        << c.name;
    EXPECT_EQ(scratch.Items().Count(), 0) << c.name;
  }
  TBytesStream nodes(TBytes{3, 1, 0, 0, 0, 40, 0, 0, 0, 0, 0, 0});
  TTreeView scratchTree(nullptr);
  struct Probe : TFiler {
    Probe(TStream& s) : TFiler(s, 16) {}
    void DefineBinaryProperty(StringView name, const TStreamProc& read, const TStreamProc&, bool) override {
      if (name == u"NodeData" && read) read(Stream());
    }
  } probe(nodes);
  EXPECT_THROW(scratchTree.Items().DefineProperties(probe), EReadError);
  EXPECT_EQ(scratchTree.Items().Count(), 0);
}

// What the list and tree write, they read back.
TEST_F(ComCtrlsTest, ItemAndNodeRecordsRoundTrip) {
  struct Capture : TFiler {
    Capture(TStream& s, const char16_t* want) : TFiler(s, 16), FWant(want) {}
    void DefineBinaryProperty(StringView name, const TStreamProc& read, const TStreamProc& write, bool) override {
      if (name != FWant) return;
      if (Reading && read) read(Stream());
      if (!Reading && write) write(Stream());
    }
    const char16_t* FWant;
    bool Reading = false;
  };
  TBytesStream listBytes;
  Capture listOut(listBytes, u"ItemData");
  FForm->RFTList->Items().DefineProperties(listOut);
  listBytes.SetPosition(0);
  TListView copy(nullptr);
  Capture listIn(listBytes, u"ItemData");
  listIn.Reading = true;
  copy.Items().DefineProperties(listIn);
  ASSERT_EQ(copy.Items().Count(), 3);
  EXPECT_EQ(copy.Items()[2]->Caption(), u"XFM");
  EXPECT_EQ(copy.Items()[2]->SubItems().Get(0), u"CLX Form");

  TBytesStream treeBytes;
  Capture treeOut(treeBytes, u"NodeData");
  FForm->Tree->Items().DefineProperties(treeOut);
  treeBytes.SetPosition(0);
  TTreeView treeCopy(nullptr);
  Capture treeIn(treeBytes, u"NodeData");
  treeIn.Reading = true;
  treeCopy.Items().DefineProperties(treeIn);
  ASSERT_EQ(treeCopy.Items().Count(), 7);
  EXPECT_EQ(treeCopy.Items()[5]->Text(), u"TBevel");
  EXPECT_EQ(treeCopy.Items()[5]->Parent()->Text(), u"Additional");
}

}  // namespace
