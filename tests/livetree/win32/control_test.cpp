// The tree control as a window: read from a form, filled through its events,
// painted into memory and on screen, scrolled by its scroll bar.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <any>
#include <cstring>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "classes/propaccess.h"
#include "livetree/win32/livetreecontrol.h"
#include "rtl/numbers.h"
#include "rtl/unicode.h"
#include "support/win32/harness.h"
#include "ui/forms.h"
#include "ui/imglist.h"
#include "ui/menus.h"
#include "ui/registration.h"

namespace {

class TLiveTreeForm : public TForm {
  KST_CLASS(TLiveTreeForm, TForm)
 public:
  using TForm::TForm;
  ltcontrol::TLiveStringTree* Tree = nullptr;
  ltcontrol::TBaseLiveTree* LastSender = nullptr;

  void TreeGetText(ltcontrol::TBaseLiveTree* sender, PLiveNode node, TColumnIndex column, TLSTTextType, String& text) {
    LastSender = sender;
    text = u"Form text " + IntToStr(node->Index) + u"/" + IntToStr(column);
  }
};

}  // namespace

KST_CLASS_IMPL(TLiveTreeForm, "LiveTreeTests")

void TLiveTreeForm::Describe(TClassBuilder<TLiveTreeForm>& c) {
  c.Field(u"Tree", &TLiveTreeForm::Tree);
  c.Method(u"TreeGetText", &TLiveTreeForm::TreeGetText);
}

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kWhite = RGB(255, 255, 255);

using harness::CaptureScreen;
using harness::SaveForInspection;

// How many sampled pixels of what the screen shows of a window's client
// area differ from a fresh paint of it.
// The display server draws asynchronously: a busy one may show the last
// paint a little later, so the comparison is given a moment to settle.
int ScreenDiffersFromFreshPaint(HWND handle) {
  int differing = 0;
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (attempt > 0) {
      harness::PumpMessages();
      Sleep(50);
    }
    UpdateWindow(handle);
    harness::Bitmap32 fresh = harness::PaintClient(handle);
    harness::Bitmap32 screen = CaptureScreen(handle);
    RECT frame{};
    GetWindowRect(handle, &frame);
    POINT origin{0, 0};
    ClientToScreen(handle, &origin);
    int dx = origin.x - frame.left, dy = origin.y - frame.top;
    differing = 0;
    for (int y = 0; y < fresh.Height(); y += 3)
      for (int x = 0; x < fresh.Width(); x += 3)
        if (screen.PixelColor(x + dx, y + dy) != fresh.PixelColor(x, y)) ++differing;
    if (differing == 0) break;
  }
  return differing;
}

// How many pixels of a row band (client y from Top to Bottom, x from Left to Right) have the colour.
int CountColour(const harness::Bitmap32& picture, int left, int top, int right, int bottom, COLORREF colour) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (picture.PixelColor(x, y) == colour) ++count;
  return count;
}

class LiveTreeControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterUiClasses(FRegistry);
    RegisterLiveTreeClasses(FRegistry);
    FRegistry.RegisterClasses({&TLiveTreeForm::StaticClass()});
    FApp = std::make_unique<TApplication>(nullptr, FRegistry);
    FApp->OnException = TExceptionEvent([this](TObject*, const Exception& e) { FExceptions.push_back(e.Message()); });
    FForm = CreateForm<TLiveTreeForm>(FApp.get());
    ASSERT_NE(FForm->Tree, nullptr);
  }
  void TearDown() override {
    EXPECT_TRUE(FExceptions.empty()) << (FExceptions.empty() ? ""
                                                             : std::string(reinterpret_cast<const char*>(
                                                                   StringToUTF8(FExceptions.front()).c_str())));
    FApp.reset();
    harness::PumpMessages();
  }
  void Pump() { FApp->ProcessMessages(); }

  // Fills the tree with Count top-level nodes through its events: every
  // tenth node has three children and a check box, texts name the node.
  void FillThroughEvents(Cardinal count) {
    ::TLiveStringTree& model = FForm->Tree->StringModel();
    model.TreeOptions().SetMiscOptions(model.TreeOptions().MiscOptions() - TLTMiscOptions{toReadOnly});
    model.OnInitNode = [](::TBaseLiveTree* sender, PLiveNode parent, PLiveNode node, TLiveNodeInitStates& states) {
      if (parent == nullptr && node->Index % 10 == 0) {
        states += ivsHasChildren;
        sender->SetCheckType(node, ctCheckBox);
        if (node->Index % 20 == 0) sender->SetCheckState(node, csCheckedNormal);
      }
    };
    model.OnInitChildren = [](::TBaseLiveTree*, PLiveNode, Cardinal& children) { children = 3; };
    model.OnGetText = [](::TBaseLiveTree* sender, PLiveNode node, TColumnIndex column, TLSTTextType, String& text) {
      PLiveNode parent = sender->NodeParent(node);
      String name = parent != nullptr ? u"Child " + IntToStr(node->Index) : u"Node " + IntToStr(node->Index);
      text = column == 1 ? u"value " + IntToStr(node->Index * 7) : name;
    };
    FForm->Tree->SetRootNodeCount(count);
  }

  TClassRegistry FRegistry;
  std::unique_ptr<TApplication> FApp;
  std::vector<String> FExceptions;
  TLiveTreeForm* FForm = nullptr;
};

TEST_F(LiveTreeControlTest, AFormWithATreeLoadsAndKeepsItsColumnsHeaderAndOptions) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  ::TBaseLiveTree& model = tree.Model();
  ASSERT_EQ(model.Header().Columns().Count(), 2);
  EXPECT_EQ(model.Header().Columns()[0]->Text(), u"Name");
  EXPECT_EQ(model.Header().Columns()[0]->Width(), 220);
  EXPECT_EQ(model.Header().Columns()[1]->Text(), u"Value");
  EXPECT_EQ(model.Header().Columns()[1]->Hint(), u"The value");
  EXPECT_EQ(model.Header().Columns()[1]->Position(), 1);
  EXPECT_TRUE(model.Header().Options().Contains(hoVisible));
  EXPECT_EQ(model.Header().Height(), 20);
  EXPECT_EQ(model.Header().SortColumn(), 0);
  EXPECT_EQ(model.Header().SortDirection(), sdDescending);
  EXPECT_TRUE(model.TreeOptions().PaintOptions().Contains(toShowHorzGridLines));
  EXPECT_TRUE(model.TreeOptions().PaintOptions().Contains(toShowVertGridLines));
  EXPECT_FALSE(model.TreeOptions().AutoOptions().Contains(toAutoSort));
  EXPECT_TRUE(model.TreeOptions().SelectionOptions().Contains(toMultiSelect));
  EXPECT_EQ(model.Indent(), 19u);
  EXPECT_EQ(tree.DefaultText(), u"Item");
  EXPECT_EQ(model.PaintSettings().Colors[ciUnfocusedSelectionColor], clSilver);
  EXPECT_EQ(model.PaintSettings().Colors[ciFocusedSelectionColor], clHighlight);
  // The stored count made its nodes once everything was read, although the
  // tree is read-only, and read-only it stays.
  EXPECT_EQ(model.RootNodeCount(), 5u);
  EXPECT_EQ(model.GetFirst() != nullptr, true);
  EXPECT_TRUE(model.TreeOptions().MiscOptions().Contains(toReadOnly));
  EXPECT_TRUE(model.TreeOptions().MiscOptions().Contains(toCheckSupport));
  // The form's own method gives the texts, with the control as Sender.
  EXPECT_EQ(tree.StringModel().NodeText(model.GetFirst(), 1), u"Form text 0/1");
  EXPECT_EQ(FForm->LastSender, &tree);
  // The published parts answer by name as the object inspector reads them.
  const TClassInfo& info = *tree.ClassType();
  EXPECT_EQ(info.ClassName(), u"TLiveStringTree");
  for (const char16_t* name :
       {u"Header", u"TreeOptions", u"Colors", u"Columns", u"ScrollBarOptions", u"ClipboardFormats", u"RootNodeCount",
        u"Indent", u"DefaultText", u"OnGetText", u"OnPaintText", u"OnInitNode", u"OnCompareNodes"})
    EXPECT_NE(info.FindProperty(name), nullptr)
        << std::string(reinterpret_cast<const char*>(StringToUTF8(name).c_str()));
}

TEST_F(LiveTreeControlTest, AHundredThousandNodesPaintWithSelectionAndFocusColours) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  ::TBaseLiveTree& model = tree.Model();
  FillThroughEvents(100000);
  EXPECT_EQ(model.RootNodeCount(), 100000u);
  model.PaintSettings().Colors[ciFocusedSelectionColor] = clRed;
  model.PaintSettings().Colors[ciFocusedSelectionBorderColor] = clRed;
  model.PaintSettings().Colors[ciUnfocusedSelectionBorderColor] = clSilver;
  // Two images: a green square for top-level nodes, a blue one for children.
  auto* images = new TImageList(FForm);  // the form owns it
  for (TColor colour : {clGreen, clBlue}) {
    TBitmap bitmap;
    bitmap.SetSize(16, 16);
    bitmap.Canvas().Brush().SetColor(clFuchsia);
    bitmap.Canvas().FillRect(Rect(0, 0, 16, 16));
    bitmap.Canvas().Brush().SetColor(colour);
    bitmap.Canvas().FillRect(Rect(3, 3, 13, 13));
    images->AddMasked(bitmap, clFuchsia);
  }
  tree.SetImages(images);
  model.OnGetImageIndex = [](::TBaseLiveTree* sender, PLiveNode node, TLTImageKind kind, TColumnIndex column, bool&,
                             Integer& index) {
    if (column <= 0 && (kind == ikNormal || kind == ikSelected)) index = sender->NodeParent(node) ? 1 : 0;
  };
  PLiveNode third = model.GetFirst()->NextSibling->NextSibling;
  model.SetFocusedNode(third);
  model.SetSelected(third, true);
  model.ToggleNode(model.GetFirst());  // node 0 shows its three children
  FForm->Show();
  Pump();
  HWND handle = tree.Handle();

  const int rowHeight = static_cast<int>(model.DefaultNodeHeight());
  const int selectedRow = 5;  // the first node's three children come first
  int top = selectedRow * rowHeight, bottom = top + rowHeight - 1;

  // Focused: red fill; the focus rectangle's dots break the fill's edge.
  SetFocus(handle);
  Pump();
  ASSERT_EQ(GetFocus(), handle);
  harness::Bitmap32 focused = harness::PaintClient(handle);
  ASSERT_GT(focused.Width(), 300);
  EXPECT_GT(CountColour(focused, 40, top, 200, bottom, kRed), 200);
  EXPECT_EQ(CountColour(focused, 40, top + 3, 200, bottom - 3, kSilver), 0);
  int frameRed = CountColour(focused, 40, top, 200, top + 1, kRed);
  EXPECT_GT(frameRed, 0);
  EXPECT_LT(frameRed, 150);  // every other pixel of the top edge is a focus dot
  // Other rows keep the window colour behind their text.
  EXPECT_EQ(focused.PixelColor(300, top - rowHeight / 2), kWhite);
  // The images stand before the texts.
  EXPECT_GT(CountColour(focused, 0, top - rowHeight, 80, top, RGB(0, 128, 0)), 50);
  EXPECT_GT(CountColour(focused, 0, rowHeight, 100, 2 * rowHeight, RGB(0, 0, 255)), 50);
  SaveForInspection(CaptureScreen(tree.Handle()), L"livetree_focused.bmp");

  // Unfocused: the selected row is silver and shows no focus rectangle.
  SetFocus(nullptr);
  Pump();
  ASSERT_NE(GetFocus(), handle);
  harness::Bitmap32 unfocused = harness::PaintClient(handle);
  EXPECT_GT(CountColour(unfocused, 40, top, 200, bottom, kSilver), 200);
  EXPECT_EQ(CountColour(unfocused, 40, top, 200, bottom, kRed), 0);
}

TEST_F(LiveTreeControlTest, ScrollingByTheScrollBarRepaintsTheRightRows) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  ::TBaseLiveTree& model = tree.Model();
  FillThroughEvents(100000);
  for (TLTColorIndex index : {ciFocusedSelectionColor, ciFocusedSelectionBorderColor, ciUnfocusedSelectionColor,
                              ciUnfocusedSelectionBorderColor})
    model.PaintSettings().Colors[index] = clRed;
  PLiveNode node = model.GetFirst();
  for (int i = 0; i < 42; ++i) node = model.GetNextSibling(node);
  model.SetSelected(node, true);
  FForm->SetFormStyle(fsStayOnTop);
  FForm->Show();
  Pump();
  HWND handle = tree.Handle();
  const int rowHeight = static_cast<int>(model.DefaultNodeHeight());

  // Forty lines down, one line at a time: node 42 is the third row.
  for (int i = 0; i < 40; ++i) SendMessageW(handle, WM_VSCROLL, SB_LINEDOWN, 0);
  // The scroll bar scrolls by its increment of 20 pixels, not by rows.
  model.ScrollOffsets(Point(0, -40 * rowHeight));
  EXPECT_EQ(model.OffsetY(), -40 * rowHeight);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(handle, SB_VERT, &info);
  EXPECT_EQ(info.nPos, 40 * rowHeight);
  UpdateWindow(handle);
  Pump();

  harness::Bitmap32 fresh = harness::PaintClient(handle);
  int top = 2 * rowHeight;
  EXPECT_GT(CountColour(fresh, 40, top, 200, top + rowHeight - 1, kRed), 200);
  EXPECT_EQ(CountColour(fresh, 40, 0, 200, top, kRed), 0);
  EXPECT_EQ(CountColour(fresh, 40, top + rowHeight, 200, fresh.Height(), kRed), 0);

  // What the screen shows after the window scrolled its content is what a
  // whole new paint gives.
  EXPECT_EQ(ScreenDiffersFromFreshPaint(handle), 0);
  harness::Bitmap32 screen = CaptureScreen(handle);
  SaveForInspection(screen, L"livetree_scrolled.bmp");
}

TEST_F(LiveTreeControlTest, TheHeaderShowsItsCaptionsAndTheSortMark) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  FForm->Show();
  Pump();
  const int height = tree.HeaderHeight();
  ASSERT_EQ(height, 20);
  harness::Bitmap32 header =
      harness::PaintInto(tree.ClientWidth(), height, [&](HDC dc) { tree.PaintHeader(dc, 0, 0); });
  // Caption text is dark on the button face; the sort arrow sits in the
  // first column right of its caption.
  int dark = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < 60; ++x)
      if (GetRValue(header.PixelColor(x, y)) < 80) ++dark;
  EXPECT_GT(dark, 10);
  int arrow = CountColour(header, 40, 2, 215, height - 2, ColorToRGB(clBtnShadow));
  EXPECT_GT(arrow, 8);
  // The client area starts below the header strip.
  RECT client{};
  GetClientRect(tree.Handle(), &client);
  EXPECT_EQ(client.bottom, tree.Height() - 4 - height);
}

TEST_F(LiveTreeControlTest, AColourRepaintsOnlyWhenItChangesAndTheBorderColourOnlyTheFrame) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  FForm->Show();
  Pump();
  HWND handle = tree.Handle();
  UpdateWindow(handle);
  ltcontrol::TLTColors& colors = *tree.GetColors();
  struct Case {
    TLTColorIndex index;
    TColor value;
    bool clientRepaints;
  } cases[] = {
      {ciUnfocusedSelectionColor, clSilver, false},  // as the form set it
      {ciUnfocusedSelectionColor, clRed, true},
      {ciBorderColor, clRed, false},
      {ciGridLineColor, clGreen, true},
  };
  for (const Case& c : cases) {
    ValidateRect(handle, nullptr);
    colors.SetColor(c.index, c.value);
    EXPECT_EQ(colors.Color(c.index), c.value);
    EXPECT_EQ(GetUpdateRect(handle, nullptr, FALSE) != FALSE, c.clientRepaints) << static_cast<int>(c.index);
  }
}

TEST_F(LiveTreeControlTest, AFixedColumnStaysWhileTheOthersScrollSideways) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  ::TBaseLiveTree& model = tree.Model();
  FillThroughEvents(50);
  ::TLiveTreeColumns& columns = model.Header().Columns();
  columns[0]->SetOptions(columns[0]->Options() + TLTColumnOptions{coFixed});
  columns[1]->SetOptions(columns[1]->Options() - TLTColumnOptions{coParentColor});
  columns[1]->SetColor(clYellow);
  columns.Add()->SetWidth(300);
  for (TLTColorIndex index : {ciFocusedSelectionColor, ciFocusedSelectionBorderColor, ciUnfocusedSelectionColor,
                              ciUnfocusedSelectionBorderColor})
    model.PaintSettings().Colors[index] = clRed;
  model.SetSelected(model.GetFirst(), true);
  FForm->SetFormStyle(fsStayOnTop);  // what the screen shows is compared
  FForm->Show();
  Pump();
  HWND handle = tree.Handle();
  model.UpdateRanges();
  auto redLeft = [](const harness::Bitmap32& picture) {
    for (int x = 0; x < picture.Width(); ++x)
      if (picture.PixelColor(x, 9) == kRed) return x;
    return -1;
  };
  auto yellowLeft = [](const harness::Bitmap32& picture) {
    for (int x = 0; x < picture.Width(); ++x)
      if (picture.PixelColor(x, 40) == RGB(255, 255, 0)) return x;
    return -1;
  };
  harness::Bitmap32 before = harness::PaintClient(handle);
  ASSERT_TRUE(model.ScrollOffsets(Point(-100, 0)));
  EXPECT_EQ(model.EffectiveOffsetX(), 100);
  harness::Bitmap32 after = harness::PaintClient(handle);
  EXPECT_GE(redLeft(before), 0);
  EXPECT_EQ(redLeft(after), redLeft(before));
  // The scrolling column's colour starts 100 pixels further left, but not
  // under the fixed column.
  EXPECT_EQ(yellowLeft(before), 220);
  EXPECT_EQ(yellowLeft(after), 220);
  EXPECT_EQ(after.PixelColor(230, 40), RGB(255, 255, 0));
  EXPECT_NE(after.PixelColor(330, 40), RGB(255, 255, 0));
  EXPECT_EQ(ScreenDiffersFromFreshPaint(handle), 0);
  SaveForInspection(CaptureScreen(handle), L"livetree_fixed.bmp");
}

// Input arrives as the window messages a user's keys and mouse make.
class LiveTreeInputTest : public LiveTreeControlTest {
 protected:
  void SetUp() override {
    LiveTreeControlTest::SetUp();
    ::TLiveStringTree& model = FForm->Tree->StringModel();
    FillThroughEvents(50);
    model.OnGetText = [this](::TBaseLiveTree* sender, PLiveNode node, TColumnIndex column, TLSTTextType, String& text) {
      auto renamed = FTexts.find(node);
      if (renamed != FTexts.end() && column <= 0) {
        text = renamed->second;
        return;
      }
      static const std::map<Cardinal, String> named{{2, u"tab"}, {5, u"tsx"}, {9, u"tst"}};
      auto name = named.find(node->Index);
      bool top = sender->NodeParent(node) == nullptr;
      text = column == 1                  ? u"value " + IntToStr(node->Index * 7)
             : top && name != named.end() ? name->second
                                          : u"Node " + IntToStr(node->Index);
    };
    model.OnNewText = [this](::TBaseLiveTree*, PLiveNode node, TColumnIndex, const String& text) {
      FTexts[node] = text;
    };
    FForm->SetFormStyle(fsStayOnTop);
    FForm->Show();
    Pump();
    FHandle = FForm->Tree->Handle();
    SetFocus(FHandle);
    Pump();
  }
  void TearDown() override {
    SetModifierDown(VK_SHIFT, false);
    LiveTreeControlTest::TearDown();
  }
  ::TLiveStringTree& Model() { return FForm->Tree->StringModel(); }
  void SetModifierDown(BYTE key, bool down) {
    BYTE state[256]{};
    GetKeyboardState(state);
    state[key] = down ? 0x80 : 0;
    SetKeyboardState(state);
  }
  LPARAM KeyData(UINT key) { return 1 | (static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16); }
  void PressKey(HWND window, UINT key) {
    SendMessageW(window, WM_KEYDOWN, key, KeyData(key));
    SendMessageW(window, WM_KEYUP, key, KeyData(key) | 0xC0000000);
  }
  void Type(HWND window, const String& text) {
    for (Char c : text) {
      UINT key = c >= u'a' && c <= u'z' ? c - 32 : c;
      SendMessageW(window, WM_KEYDOWN, key, KeyData(key));
      SendMessageW(window, WM_CHAR, c, KeyData(key));
      SendMessageW(window, WM_KEYUP, key, KeyData(key) | 0xC0000000);
    }
  }
  static LPARAM ClientPoint(int x, int y) { return MAKELPARAM(x, y); }
  LPARAM ScreenPoint(int x, int y) {
    POINT p{x, y};
    ClientToScreen(FHandle, &p);
    return MAKELPARAM(p.x, p.y);
  }
  void ClickClient(TPoint p, WPARAM keys = 0) {
    SendMessageW(FHandle, WM_LBUTTONDOWN, MK_LBUTTON | keys, ClientPoint(p.X, p.Y));
    SendMessageW(FHandle, WM_LBUTTONUP, keys, ClientPoint(p.X, p.Y));
  }
  TPoint LabelOf(PLiveNode node) {
    TRect r = Model().GetDisplayRect(node, 0, true);
    return Point(r.Left + 5, (r.Top + r.Bottom) / 2);
  }
  Cardinal FocusedIndex() { return Model().FocusedNode() ? Model().FocusedNode()->Index : 999u; }
  std::vector<Cardinal> Selected() {
    std::vector<Cardinal> indices;
    for (PLiveNode node = Model().GetFirst(); node != nullptr; node = Model().GetNextSibling(node))
      if (Model().Selected(node)) indices.push_back(node->Index);
    return indices;
  }
  // The search's pause passes: its timer fires (sent, not waited for).
  void PauseTyping() {
    EXPECT_TRUE(Model().TreeStates().Contains(tsIncrementalSearching));
    SendMessageW(FHandle, WM_TIMER, TimerIdSearch, 0);
  }

  HWND FHandle = nullptr;
  std::map<PLiveNode, String> FTexts;
};

TEST_F(LiveTreeInputTest, KeysMoveTheFocusExtendTheSelectionAndSearchAsTyped) {
  ASSERT_EQ(GetFocus(), FHandle);
  EXPECT_EQ(SendMessageW(FHandle, WM_GETDLGCODE, 0, 0) & (DLGC_WANTARROWS | DLGC_WANTCHARS),
            DLGC_WANTARROWS | DLGC_WANTCHARS);
  PressKey(FHandle, VK_DOWN);
  EXPECT_EQ(FocusedIndex(), 0u) << "the first node when none had the focus";
  PressKey(FHandle, VK_DOWN);
  PressKey(FHandle, VK_DOWN);
  EXPECT_EQ(FocusedIndex(), 2u);
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{2}));
  SetModifierDown(VK_SHIFT, true);
  PressKey(FHandle, VK_DOWN);
  PressKey(FHandle, VK_DOWN);
  SetModifierDown(VK_SHIFT, false);
  EXPECT_EQ(FocusedIndex(), 4u);
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{2, 3, 4})) << "Shift extends the selection";
  PressKey(FHandle, VK_HOME);
  EXPECT_EQ(FocusedIndex(), 0u);
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{0}));

  Type(FHandle, u"t");
  EXPECT_EQ(FocusedIndex(), 2u) << "tab";
  Type(FHandle, u"st");
  EXPECT_EQ(FocusedIndex(), 9u) << "tst";
  EXPECT_EQ(Model().SearchBuffer(), u"tst");
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{9}));
  UpdateWindow(FHandle);
  Pump();
  SaveForInspection(CaptureScreen(FHandle), L"livetree_search.bmp");
  PauseTyping();
  EXPECT_TRUE(Model().SearchBuffer().empty()) << "a pause ends the search";
  Type(FHandle, u"ts");
  EXPECT_EQ(FocusedIndex(), 5u) << "typing starts over after the focused node: tsx";
}

TEST_F(LiveTreeInputTest, ClicksSelectTheWheelScrollsAndTheButtonExpands) {
  PLiveNode third = Model().GetFirst()->NextSibling->NextSibling;
  PLiveNode sixth = third->NextSibling->NextSibling->NextSibling;
  ClickClient(LabelOf(third));
  EXPECT_EQ(Model().FocusedNode(), third);
  ClickClient(LabelOf(sixth), MK_SHIFT);
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{2, 3, 4, 5}));
  ClickClient(LabelOf(third), MK_CONTROL);
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{3, 4, 5}));

  // The first node has children: its button expands it.
  PLiveNode first = Model().GetFirst();
  TRect row = Model().GetDisplayRect(first, 0, false);
  int buttonX = -1;
  for (int x = 0; x < 60 && buttonX < 0; ++x) {
    THitInfo info;
    Model().GetHitTestInfoAt(x, (row.Top + row.Bottom) / 2, true, info);
    if (info.HitPositions.Contains(hiOnItemButton)) buttonX = x;
  }
  ASSERT_GE(buttonX, 0);
  ClickClient(Point(buttonX, (row.Top + row.Bottom) / 2));
  EXPECT_TRUE(Model().Expanded(first));

  ASSERT_EQ(Model().OffsetY(), 0);
  SendMessageW(FHandle, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), ScreenPoint(50, 50));
  EXPECT_LT(Model().OffsetY(), 0) << "the wheel scrolls down";
  Integer scrolled = Model().OffsetY();
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(FHandle, SB_VERT, &info);
  EXPECT_EQ(info.nPos, -scrolled);
  SendMessageW(FHandle, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), ScreenPoint(50, 50));
  EXPECT_EQ(Model().OffsetY(), 0);
  Pump();
  EXPECT_EQ(ScreenDiffersFromFreshPaint(FHandle), 0);
}

TEST_F(LiveTreeInputTest, HeaderClicksSortWithTheArrowAndDraggedSplittersKeepTheWidth) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  ::TLTHeader& header = Model().Header();
  header.SetOptions(header.Options() + TLTHeaderOptions{hoHeaderClickAutoSort});
  const int inHeader = -tree.HeaderHeight() / 2;
  auto clickHeader = [&](int x) {
    SendMessageW(FHandle, WM_NCLBUTTONDOWN, HTBORDER, ScreenPoint(x, inHeader));
    EXPECT_EQ(GetCapture(), FHandle);
    SendMessageW(FHandle, WM_LBUTTONUP, 0, ClientPoint(x, inHeader));
  };
  clickHeader(300);
  EXPECT_EQ(header.SortColumn(), 1);
  EXPECT_EQ(header.SortDirection(), sdAscending);
  auto arrowPixels = [&](int left, int right) {
    harness::Bitmap32 strip =
        harness::PaintInto(tree.ClientWidth(), tree.HeaderHeight(), [&](HDC dc) { tree.PaintHeader(dc, 0, 0); });
    return CountColour(strip, left, 2, right, tree.HeaderHeight() - 2, ColorToRGB(clBtnShadow));
  };
  EXPECT_GT(arrowPixels(260, 365), 8) << "the arrow moved to the clicked column";
  harness::Bitmap32 ascending =
      harness::PaintInto(tree.ClientWidth(), tree.HeaderHeight(), [&](HDC dc) { tree.PaintHeader(dc, 0, 0); });
  clickHeader(300);
  EXPECT_EQ(header.SortDirection(), sdDescending);
  harness::Bitmap32 descending =
      harness::PaintInto(tree.ClientWidth(), tree.HeaderHeight(), [&](HDC dc) { tree.PaintHeader(dc, 0, 0); });
  int differing = 0;
  for (int y = 0; y < tree.HeaderHeight(); ++y)
    for (int x = 260; x < 365; ++x) differing += ascending.PixelColor(x, y) != descending.PixelColor(x, y);
  EXPECT_GT(differing, 4) << "the arrow turned";
  UpdateWindow(FHandle);
  Pump();
  SaveForInspection(CaptureScreen(FHandle), L"livetree_header_sorted.bmp");

  // The splitter at the right edge of the first column (220 pixels wide).
  SendMessageW(FHandle, WM_NCLBUTTONDOWN, HTBORDER, ScreenPoint(220, inHeader));
  ASSERT_EQ(GetCapture(), FHandle);
  SendMessageW(FHandle, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(240, inHeader));
  SendMessageW(FHandle, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(170, 40));
  SendMessageW(FHandle, WM_LBUTTONUP, 0, ClientPoint(170, 40));
  EXPECT_NE(GetCapture(), FHandle);
  EXPECT_EQ(header.Columns()[0]->Width(), 170);
  SendMessageW(FHandle, WM_MOUSEMOVE, 0, ClientPoint(250, 40));
  EXPECT_EQ(header.Columns()[0]->Width(), 170) << "the width stays after the button is up";
  EXPECT_EQ(header.Columns()[1]->Left(), 170);
  EXPECT_EQ(header.SortDirection(), sdDescending) << "a resize is no click";
  EXPECT_FALSE(tree.HorizontalScrollBarShown()) << "the columns fit again";
  UpdateWindow(FHandle);
  Pump();
  SaveForInspection(CaptureScreen(FHandle), L"livetree_header_resized.bmp");
}

TEST_F(LiveTreeInputTest, F2EditsTheFocusedNodeAndEnterTakesTheText) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  Model().TreeOptions().SetMiscOptions(Model().TreeOptions().MiscOptions() - TLTMiscOptions{toReadOnly} +
                                       TLTMiscOptions{toEditable});
  PLiveNode fourth = Model().GetFirst()->NextSibling->NextSibling->NextSibling;
  int edited = 0;
  Model().OnEdited = [&](::TBaseLiveTree*, PLiveNode node, TColumnIndex) { edited += node == fourth; };
  Model().SetFocusedNode(fourth);
  PressKey(FHandle, VK_F2);
  ASSERT_NE(tree.Editor(), nullptr);
  HWND editor = tree.Editor()->Handle();
  EXPECT_TRUE(IsWindowVisible(editor));
  EXPECT_EQ(GetFocus(), editor);
  EXPECT_TRUE(Model().IsEditing());
  EXPECT_EQ(tree.Editor()->Text(), u"Node 3");
  for (Char c : String(u"Renamed")) SendMessageW(editor, WM_CHAR, c, 1);
  Pump();
  UpdateWindow(FHandle);
  Pump();
  SaveForInspection(CaptureScreen(FHandle), L"livetree_editing.bmp");
  PressKey(editor, VK_RETURN);
  EXPECT_FALSE(Model().IsEditing());
  EXPECT_FALSE(IsWindowVisible(editor));
  EXPECT_EQ(GetFocus(), FHandle);
  EXPECT_EQ(Model().NodeText(fourth, 0), u"Renamed");
  EXPECT_EQ(edited, 1);

  // Escape drops what was typed.
  PressKey(FHandle, VK_F2);
  for (Char c : String(u"Dropped")) SendMessageW(editor, WM_CHAR, c, 1);
  PressKey(editor, VK_ESCAPE);
  EXPECT_FALSE(Model().IsEditing());
  EXPECT_EQ(Model().NodeText(fourth, 0), u"Renamed");
}

// Removing the node under the editor, or its parent, closes the editor first:
// Enter afterwards hands no text to a freed node.
TEST_F(LiveTreeInputTest, DeletingTheEditedNodeOrItsParentCancelsTheEditor) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  Model().TreeOptions().SetMiscOptions(Model().TreeOptions().MiscOptions() - TLTMiscOptions{toReadOnly} +
                                       TLTMiscOptions{toEditable});
  for (bool viaParent : {false, true}) {
    PLiveNode parent = Model().GetFirst();
    Model().FullExpand(parent);
    PLiveNode edited = viaParent ? Model().GetFirstChild(parent) : parent->NextSibling;
    ASSERT_NE(edited, nullptr);
    int newTexts = 0, cancels = 0;
    Model().OnNewText = [&](::TBaseLiveTree*, PLiveNode, TColumnIndex, const String&) { ++newTexts; };
    Model().OnEditCancelled = [&](::TBaseLiveTree*, TColumnIndex) { ++cancels; };
    ASSERT_TRUE(Model().EditNode(edited, 0));
    HWND editor = tree.Editor()->Handle();
    SendMessageW(editor, WM_CHAR, u'x', 1);
    Model().DeleteNode(viaParent ? parent : edited);
    EXPECT_FALSE(Model().IsEditing());
    EXPECT_FALSE(IsWindowVisible(editor));
    PressKey(editor, VK_RETURN);
    Pump();
    EXPECT_EQ(newTexts, 0);
    EXPECT_EQ(cancels, 1);
  }
}

TEST_F(LiveTreeInputTest, AHintShowsTheWholeTextOfATruncatedNode) {
  EXPECT_EQ(Model().HintMode(), hmTooltip) << "as the form sets it";
  // Only here: hints that pop up under a resting mouse would spoil the
  // other tests' screen pictures.
  FForm->Tree->SetShowHint(true);
  PLiveNode second = Model().GetFirst()->NextSibling;
  PLiveNode third = second->NextSibling;
  const String whole = u"A node text much too long to fit into the first column of this tree";
  FTexts[second] = whole;
  auto hintAt = [&](PLiveNode node) {
    FApp->CancelHint();
    FApp->HideHint();
    TPoint label = LabelOf(node);
    POINT screen{label.X, label.Y};
    ClientToScreen(FHandle, &screen);
    // The mouse comes to rest over the node, and the hint pause has passed.
    SetCursorPos(screen.x, screen.y);
    Pump();
    FApp->ActivateHint(Point(screen.x, screen.y));
    Pump();
    THintWindow* window = FApp->HintWindowInstance();
    return window != nullptr && window->HandleAllocated() && IsWindowVisible(window->Handle()) ? window : nullptr;
  };
  THintWindow* hint = hintAt(second);
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint->Text(), whole);
  RECT hintRect{};
  GetWindowRect(hint->Handle(), &hintRect);
  RECT treeRect{};
  GetWindowRect(FHandle, &treeRect);
  EXPECT_GT(hintRect.right, treeRect.left + 220) << "wider than the column it stands over";
  harness::Bitmap32 screen = harness::CaptureScreen(FForm->Handle());
  SaveForInspection(screen, L"livetree_tooltip.bmp");
  EXPECT_EQ(hintAt(third), nullptr) << "a text that fits has no hint";
}

TEST_F(LiveTreeInputTest, TreeViewItemMessagesAnswerOnlyForTheTreesOwnNodes) {
  PLiveNode first = Model().GetFirst();
  auto next = [&](WPARAM code, const void* item) {
    return reinterpret_cast<PLiveNode>(SendMessageW(FHandle, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
  };
  EXPECT_EQ(next(TVGN_ROOT, nullptr), first);
  EXPECT_EQ(next(TVGN_NEXT, first), first->NextSibling);
  int foreign[16]{};
  EXPECT_EQ(next(TVGN_NEXT, foreign), nullptr);
  EXPECT_EQ(next(TVGN_CHILD, reinterpret_cast<const void*>(0x10)), nullptr);
  TVITEMW item{};
  item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_TEXT | TVIF_CHILDREN;
  wchar_t text[32]{};
  item.pszText = text;
  item.cchTextMax = 32;
  item.hItem = reinterpret_cast<HTREEITEM>(foreign);
  EXPECT_EQ(SendMessageW(FHandle, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)), FALSE);
  item.hItem = reinterpret_cast<HTREEITEM>(first->NextSibling);
  ASSERT_EQ(SendMessageW(FHandle, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
  EXPECT_EQ(std::wstring(text), L"Node 1");
  RECT rect{};
  const void* handle = foreign;
  std::memcpy(&rect, &handle, sizeof handle);
  EXPECT_EQ(SendMessageW(FHandle, TVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect)), FALSE);
  handle = first->NextSibling;
  std::memcpy(&rect, &handle, sizeof handle);
  ASSERT_EQ(SendMessageW(FHandle, TVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect)), TRUE);
  EXPECT_EQ(rect.top, static_cast<LONG>(Model().DefaultNodeHeight()));
}

// The mouse is where a test says, in client coordinates of the tree.
void PutCursor(HWND window, TPoint p) {
  POINT screen{p.X, p.Y};
  ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
}

TEST_F(LiveTreeInputTest, ADraggedRectangleSelectsTheNodesItCrossesAndScrollsPastTheEdge) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  Model().TreeOptions().SetAutoOptions(Model().TreeOptions().AutoOptions() + TLTAutoOptions{toAutoScroll});
  Model().PaintSettings().DrawSelectionMode = smBlendedRectangle;
  Model().PaintSettings().Colors[ciSelectionRectangleBorderColor] = clRed;
  PLiveNode first = Model().GetFirst();
  auto rowMiddle = [&](Cardinal index) {
    PLiveNode node = first;
    for (Cardinal i = 0; i < index; ++i) node = node->NextSibling;
    TRect r = Model().GetDisplayRect(node, 0, false);
    return (r.Top + r.Bottom) / 2;
  };
  // Right of the short labels: empty space of the first column.
  THitInfo hit;
  Model().GetHitTestInfoAt(160, rowMiddle(1), true, hit);
  ASSERT_FALSE(hit.HitPositions.Contains(hiOnItemLabel));
  SendMessageW(FHandle, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(160, rowMiddle(1)));
  EXPECT_TRUE(Model().TreeStates().Contains(tsDrawSelPending));
  EXPECT_EQ(GetCapture(), FHandle);
  EXPECT_TRUE(Selected().empty()) << "a press on empty space clears the selection";

  SendMessageW(FHandle, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(30, rowMiddle(4)));
  EXPECT_TRUE(Model().TreeStates().Contains(tsDrawSelecting));
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{1, 2, 3, 4}));
  // The rectangle in a paint into memory: its red frame, its blended inside.
  harness::Bitmap32 picture = harness::PaintClient(FHandle);
  const int top = rowMiddle(1), bottom = rowMiddle(4);
  EXPECT_GE(CountColour(picture, 30, top, 161, top + 1, kRed), 120) << "the top edge";
  EXPECT_GE(CountColour(picture, 30, top, 31, bottom + 1, kRed), 50) << "the left edge";
  EXPECT_EQ(CountColour(picture, 200, top - 5, picture.Width(), bottom + 5, kRed), 0) << "nothing outside";
  EXPECT_NE(picture.PixelColor(100, rowMiddle(3) - 4), kWhite) << "the inside is tinted";
  UpdateWindow(FHandle);
  Pump();
  SaveForInspection(CaptureScreen(FHandle), L"livetree_drag_rectangle.bmp");

  SendMessageW(FHandle, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(30, rowMiddle(2)));
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{1, 2})) << "nodes the rectangle leaves drop out";

  // Near the bottom edge the scroll timer starts; its ticks are sent here
  // instead of waited for: inside the window a tick moves by the increment,
  // below it by the increment times the distance.
  const Integer height = tree.ClientHeight();
  PutCursor(FHandle, Point(30, height - 5));
  SendMessageW(FHandle, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(30, height - 5));
  EXPECT_TRUE(Model().TreeStates().Contains(tsScrollPending));
  EXPECT_EQ(Model().ScrollDirections(), TScrollDirections{sdDown});
  SendMessageW(FHandle, WM_TIMER, TimerIdScroll, 0);
  EXPECT_TRUE(Model().TreeStates().Contains(tsScrolling));
  EXPECT_EQ(Model().OffsetY(), -20);
  PutCursor(FHandle, Point(30, height + 10));
  SendMessageW(FHandle, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(30, height + 10));
  SendMessageW(FHandle, WM_TIMER, TimerIdScroll, 0);
  EXPECT_EQ(Model().OffsetY(), -20 - 20 * 10);
  // The free corner stayed under the mouse: the rectangle reaches down into
  // the rows scrolled into view.
  Cardinal lastRow = static_cast<Cardinal>((height + 10 - Model().OffsetY()) / Model().DefaultNodeHeight());
  std::vector<Cardinal> expected;
  for (Cardinal i = 1; i <= lastRow; ++i) expected.push_back(i);
  EXPECT_EQ(Selected(), expected);

  SendMessageW(FHandle, WM_LBUTTONUP, 0, ClientPoint(30, height + 10));
  EXPECT_FALSE(Model().IsMouseSelecting());
  EXPECT_FALSE(Model().TreeStates().Contains(tsScrolling));
  EXPECT_NE(GetCapture(), FHandle);
  EXPECT_EQ(Selected(), expected) << "the selection stays";
  harness::Bitmap32 after = harness::PaintClient(FHandle);
  EXPECT_EQ(CountColour(after, 0, 0, after.Width(), after.Height(), kRed), 0) << "the rectangle is gone";

  // Escape drops a rectangle; with Ctrl the crossed nodes flip.
  Model().SetOffsetY(0);
  SendMessageW(FHandle, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, ClientPoint(160, rowMiddle(2)));
  SendMessageW(FHandle, WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, ClientPoint(30, rowMiddle(5)));
  std::vector<Cardinal> flipped;
  for (Cardinal i : expected)
    if (i < 2 || i > 5) flipped.push_back(i);
  EXPECT_EQ(Selected(), flipped) << "the selected nodes it crosses flip off";
  int keys = 0;
  Model().OnKeyAction = [&](::TBaseLiveTree*, Word& key, TShiftState&, bool&) { keys += key == VK_ESCAPE; };
  PressKey(FHandle, VK_ESCAPE);
  EXPECT_EQ(keys, 1);
  EXPECT_FALSE(Model().IsMouseSelecting());
  SendMessageW(FHandle, WM_LBUTTONUP, 0, ClientPoint(30, rowMiddle(5)));
}

TEST_F(LiveTreeInputTest, TheMiddleButtonPansByTheMouseDistanceUntilAClickStopsIt) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  const TPoint origin = Point(200, 150);
  PutCursor(FHandle, origin);
  SendMessageW(FHandle, WM_MBUTTONDOWN, MK_MBUTTON, ClientPoint(origin.X, origin.Y));
  EXPECT_TRUE(Model().TreeStates().Contains(tsWheelPanning));
  EXPECT_TRUE(Model().TreeStates().Contains(tsWheelScrolling));
  EXPECT_EQ(GetCapture(), FHandle);
  HWND panning = tree.PanningWindow();
  ASSERT_NE(panning, nullptr);
  EXPECT_TRUE(IsWindowVisible(panning));
  RECT frame{};
  GetWindowRect(panning, &frame);
  POINT centre{origin.X, origin.Y};
  ClientToScreen(FHandle, &centre);
  EXPECT_EQ(frame.left + 16, centre.x);
  EXPECT_EQ(frame.top + 16, centre.y);
  // Only the picture's disc is part of the window.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(panning, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 1, 1));
  EXPECT_TRUE(PtInRegion(region, 16, 16));
  DeleteObject(region);
  EXPECT_EQ(tree.PanningCursorImage(), piMoveNS) << "only taller than the window";
  Pump();
  SaveForInspection(CaptureScreen(FForm->Handle()), L"livetree_panning.bmp");

  // The mouse 60 pixels below the origin: each tick scrolls by the distance
  // less the quiet zone of 8 pixels.
  PutCursor(FHandle, Point(origin.X, origin.Y + 60));
  SendMessageW(FHandle, WM_MOUSEMOVE, MK_MBUTTON, ClientPoint(origin.X, origin.Y + 60));
  EXPECT_FALSE(Model().TreeStates().Contains(tsWheelScrolling)) << "moved: releasing will stop";
  EXPECT_EQ(tree.PanningCursorImage(), piMoveS);
  SendMessageW(FHandle, WM_TIMER, TimerIdScroll, 0);
  EXPECT_EQ(Model().OffsetY(), -52);
  SendMessageW(FHandle, WM_TIMER, TimerIdScroll, 0);
  EXPECT_EQ(Model().OffsetY(), -104);
  PutCursor(FHandle, Point(origin.X, origin.Y - 30));
  SendMessageW(FHandle, WM_MOUSEMOVE, MK_MBUTTON, ClientPoint(origin.X, origin.Y - 30));
  EXPECT_EQ(tree.PanningCursorImage(), piMoveN);
  SendMessageW(FHandle, WM_TIMER, TimerIdScroll, 0);
  EXPECT_EQ(Model().OffsetY(), -104 + 22);
  SendMessageW(FHandle, WM_MBUTTONUP, 0, ClientPoint(origin.X, origin.Y - 30));
  EXPECT_FALSE(Model().IsPanning());
  EXPECT_EQ(tree.PanningWindow(), nullptr);
  EXPECT_NE(GetCapture(), FHandle);

  // A click without moving: the content keeps moving after the release,
  // until the next press, which does nothing else.
  PLiveNode focused = Model().FocusedNode();
  PutCursor(FHandle, origin);
  SendMessageW(FHandle, WM_MBUTTONDOWN, MK_MBUTTON, ClientPoint(origin.X, origin.Y));
  SendMessageW(FHandle, WM_MBUTTONUP, 0, ClientPoint(origin.X, origin.Y));
  EXPECT_TRUE(Model().TreeStates().Contains(tsWheelScrolling));
  EXPECT_FALSE(Model().TreeStates().Contains(tsWheelPanning));
  EXPECT_NE(tree.PanningWindow(), nullptr);
  const Integer before = Model().OffsetY();
  PutCursor(FHandle, Point(origin.X, origin.Y + 50));
  SendMessageW(FHandle, WM_TIMER, TimerIdScroll, 0);
  EXPECT_EQ(Model().OffsetY(), before - 42);
  SendMessageW(FHandle, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(30, 30));
  SendMessageW(FHandle, WM_LBUTTONUP, 0, ClientPoint(30, 30));
  EXPECT_FALSE(Model().IsPanning());
  EXPECT_EQ(tree.PanningWindow(), nullptr);
  EXPECT_EQ(Model().FocusedNode(), focused) << "the stopping click selects nothing";

  // A wheel turn and the loss of the focus stop it too.
  for (UINT stop : {WM_MOUSEWHEEL, WM_KILLFOCUS}) {
    PutCursor(FHandle, origin);
    SendMessageW(FHandle, WM_MBUTTONDOWN, MK_MBUTTON, ClientPoint(origin.X, origin.Y));
    SendMessageW(FHandle, WM_MBUTTONUP, 0, ClientPoint(origin.X, origin.Y));
    ASSERT_TRUE(Model().IsPanning());
    SendMessageW(FHandle, stop, 0, stop == WM_MOUSEWHEEL ? ScreenPoint(origin.X, origin.Y) : 0);
    EXPECT_FALSE(Model().IsPanning()) << stop;
    EXPECT_EQ(tree.PanningWindow(), nullptr);
  }
}

TEST_F(LiveTreeInputTest, TreeHintsComeInAsTheHintAnimationSays) {
  FForm->Tree->SetShowHint(true);
  PLiveNode second = Model().GetFirst()->NextSibling;
  FTexts[second] = u"A node text much too long to fit into the first column of this tree";
  TPoint label = LabelOf(second);
  POINT screen{label.X, label.Y};
  ClientToScreen(FHandle, &screen);
  SetCursorPos(screen.x, screen.y);
  Pump();
  for (THintAnimationType animation : {hatNone, hatFade, hatSlide}) {
    Model().SetHintAnimation(animation);
    FApp->CancelHint();
    FApp->HideHint();
    FApp->ActivateHint(Point(screen.x, screen.y));
    auto* hint = dynamic_cast<ltcontrol::TLiveTreeHintWindow*>(FApp->HintWindowInstance());
    ASSERT_NE(hint, nullptr) << "the tree's own hint window";
    EXPECT_TRUE(IsWindowVisible(hint->Handle()));
    EXPECT_EQ(hint->Text(), FTexts[second]);
    EXPECT_EQ(hint->ShownWith(), animation);
  }
  Model().SetHintAnimation(hatSystemDefault);
  EXPECT_EQ(Model().EffectiveHintAnimation(), FForm->Tree->SystemHintAnimation());
  // No hint pops up while a rectangle is drawn.
  SendMessageW(FHandle, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(300, 100));
  FApp->CancelHint();
  FApp->HideHint();
  FApp->ActivateHint(Point(screen.x, screen.y));
  THintWindow* window = FApp->HintWindowInstance();
  EXPECT_FALSE(window != nullptr && window->HandleAllocated() && IsWindowVisible(window->Handle()));
  SendMessageW(FHandle, WM_LBUTTONUP, 0, ClientPoint(300, 100));
}

}  // namespace

bool HasStyle(HWND handle, LONG style) { return (GetWindowLongW(handle, GWL_STYLE) & style) != 0; }

TEST_F(LiveTreeControlTest, NodesAddedOrExpandedInAShownTreeGetTheirScrollRange) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  ::TBaseLiveTree& model = tree.Model();
  std::vector<std::pair<Integer, bool>> shown;
  model.OnShowScrollBar = [&shown](::TBaseLiveTree*, Integer bar, bool show) { shown.emplace_back(bar, show); };
  tree.SetRootNodeCount(0);
  FForm->Show();
  Pump();
  HWND handle = tree.Handle();
  EXPECT_FALSE(HasStyle(handle, WS_VSCROLL)) << "an empty tree needs no bar";
  shown.clear();
  FillThroughEvents(600);
  Pump();
  const Integer rowHeight = static_cast<Integer>(model.DefaultNodeHeight());
  EXPECT_EQ(model.RangeY(), 600 * rowHeight);
  EXPECT_TRUE(HasStyle(handle, WS_VSCROLL));
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(handle, SB_VERT, &info);
  EXPECT_EQ(info.nMax + 1, 600 * rowHeight);
  EXPECT_EQ(shown, (std::vector<std::pair<Integer, bool>>{{SB_VERT, true}}));

  // The last node gets children and opens: the bar reaches them.
  PLiveNode last = model.GetLast();
  model.TreeOptions().SetMiscOptions(model.TreeOptions().MiscOptions() - TLTMiscOptions{toReadOnly});
  PLiveNode lastChild = nullptr;
  for (int i = 0; i < 5; ++i) lastChild = model.AddChild(last);
  model.ToggleNode(last);
  ASSERT_TRUE(model.Expanded(last));
  EXPECT_EQ(model.RangeY(), 605 * rowHeight);
  SendMessageW(handle, WM_VSCROLL, SB_BOTTOM, 0);
  TRect r = model.GetDisplayRect(lastChild, NoColumn, false);
  EXPECT_EQ(r.Bottom, tree.ClientHeight());
  GetScrollInfo(handle, SB_VERT, &info);
  EXPECT_EQ(info.nMax + 1, 605 * rowHeight);

  // Deleting all but a few leaves no bar and the offset back at the top.
  model.Clear();
  Pump();
  EXPECT_EQ(model.OffsetY(), 0);
  EXPECT_FALSE(HasStyle(handle, WS_VSCROLL));
  EXPECT_EQ(shown.back(), (std::pair<Integer, bool>{SB_VERT, false}));
}

TEST_F(LiveTreeControlTest, TheAutoSizeColumnFollowsTheWindowAndTheVerticalBar) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  ::TBaseLiveTree& model = tree.Model();
  ::TLTHeader& header = model.Header();
  header.SetOptions(header.Options() + TLTHeaderOptions{hoAutoResize});
  FForm->Show();
  Pump();
  HWND handle = tree.Handle();
  auto fitted = [&] { return tree.ClientWidth() - header.Columns()[1]->Width(); };
  EXPECT_EQ(header.Columns()[0]->Width(), fitted());
  EXPECT_FALSE(HasStyle(handle, WS_HSCROLL));

  FillThroughEvents(600);
  Pump();
  ASSERT_TRUE(HasStyle(handle, WS_VSCROLL));
  EXPECT_EQ(header.Columns()[0]->Width(), fitted()) << "the vertical bar took its width from the column";
  EXPECT_FALSE(HasStyle(handle, WS_HSCROLL)) << "no bar for a width the column gave back";

  tree.SetWidth(tree.Width() - 60);
  Pump();
  EXPECT_EQ(header.Columns()[0]->Width(), fitted()) << "the column follows the window";
  EXPECT_FALSE(HasStyle(handle, WS_HSCROLL));
  UpdateWindow(handle);
  SaveForInspection(CaptureScreen(handle), L"livetree_autosize.bmp");

  // Spring columns share what the window gains.
  header.SetOptions(header.Options() - TLTHeaderOptions{hoAutoResize} + TLTHeaderOptions{hoAutoSpring});
  header.Columns()[1]->SetOptions(header.Columns()[1]->Options() + TLTColumnOptions{coAutoSpring});
  Integer before = header.Columns()[1]->Width();
  tree.SetWidth(tree.Width() + 40);
  Pump();
  EXPECT_EQ(header.Columns()[1]->Width(), before + 40);
}

TEST_F(LiveTreeInputTest, EndAndPageDownKeepTheFocusedNodeOnScreen) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  ASSERT_GT(Model().RangeY(), tree.ClientHeight());
  for (UINT key : {VK_END, VK_HOME, VK_NEXT, VK_NEXT}) {
    PressKey(FHandle, key);
    TRect r = Model().GetDisplayRect(Model().FocusedNode(), NoColumn, false);
    EXPECT_GE(r.Top, 0) << key;
    EXPECT_LE(r.Bottom, tree.ClientHeight()) << key;
  }
  PressKey(FHandle, VK_END);
  EXPECT_EQ(FocusedIndex(), 49u);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(FHandle, SB_VERT, &info);
  EXPECT_EQ(info.nPos, -Model().OffsetY()) << "the bar follows";
  UpdateWindow(FHandle);
  Pump();
  EXPECT_EQ(ScreenDiffersFromFreshPaint(FHandle), 0);
  SaveForInspection(CaptureScreen(FHandle), L"livetree_end.bmp");
}

TEST_F(LiveTreeInputTest, TheEditorMovesWithTheContentAndLeavingItKeepsTheTextOnlyWhenAutoAccepting) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  Model().TreeOptions().SetMiscOptions(Model().TreeOptions().MiscOptions() - TLTMiscOptions{toReadOnly} +
                                       TLTMiscOptions{toEditable});
  PLiveNode fourth = Model().GetFirst()->NextSibling->NextSibling->NextSibling;
  ASSERT_TRUE(Model().EditNode(fourth, 0));
  HWND editor = tree.Editor()->Handle();
  auto editorTop = [&] {
    RECT r{};
    GetWindowRect(editor, &r);
    MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&r), 2);
    return static_cast<int>(r.top);
  };
  const int top = editorTop();
  SendMessageW(FHandle, WM_VSCROLL, SB_LINEDOWN, 0);
  ASSERT_EQ(Model().OffsetY(), -20);
  EXPECT_EQ(editorTop(), top - 20) << "the editor stays on its node";
  // Ctrl+A selects the whole text again.
  tree.Editor()->SetSelStart(2);
  tree.Editor()->SetSelLength(0);
  SetModifierDown(VK_CONTROL, true);
  PressKey(editor, 'A');
  SetModifierDown(VK_CONTROL, false);
  EXPECT_EQ(tree.Editor()->SelStart(), 0);
  EXPECT_EQ(tree.Editor()->SelLength(), static_cast<Integer>(tree.Editor()->Text().size()));
  EXPECT_TRUE(Model().IsEditing());
  Model().CancelEditNode();

  auto& strings = static_cast<TCustomStringTreeOptions&>(Model().TreeOptions());
  for (bool autoAccept : {false, true}) {
    SCOPED_TRACE(autoAccept);
    TLTStringOptions options = strings.StringOptions() - TLTStringOptions{toAutoAcceptEditChange};
    if (autoAccept) options += TLTStringOptions{toAutoAcceptEditChange};
    strings.SetStringOptions(options);
    String before = Model().NodeText(fourth, 0);
    ASSERT_TRUE(Model().EditNode(fourth, 0));
    for (Char c : String(u"Left")) SendMessageW(editor, WM_CHAR, c, 1);
    SetFocus(FHandle);
    Pump();
    EXPECT_FALSE(Model().IsEditing());
    EXPECT_FALSE(IsWindowVisible(editor));
    EXPECT_EQ(Model().NodeText(fourth, 0), autoAccept ? u"Left" : before);
  }
}

// Nodes made before the window exists, by the program or by a count read
// from the form, get their position cache once the window is there.
TEST_F(LiveTreeControlTest, ATreeFilledBeforeItsWindowExistsBuildsItsPositionCache) {
  ltcontrol::TLiveStringTree& tree = *FForm->Tree;
  ::TBaseLiveTree& model = tree.Model();
  ASSERT_FALSE(tree.HandleAllocated());
  FillThroughEvents(3 * CacheThreshold);
  EXPECT_FALSE(model.PositionCacheValid());
  FForm->Show();
  for (int i = 0; i < 500 && !model.PositionCacheValid(); ++i) {
    Pump();
    Sleep(10);
  }
  EXPECT_TRUE(model.PositionCacheValid());
}

TEST_F(LiveTreeInputTest, AComparisonThatRaisesDuringAHeaderClickReleasesTheMouseAndTheColumn) {
  ::TLTHeader& header = Model().Header();
  header.SetOptions(header.Options() + TLTHeaderOptions{hoHeaderClickAutoSort});
  Model().OnCompareNodes = [](::TBaseLiveTree*, PLiveNode, PLiveNode, TColumnIndex, Integer&) {
    throw Exception(u"no order");
  };
  const int inHeader = -FForm->Tree->HeaderHeight() / 2;
  SendMessageW(FHandle, WM_NCLBUTTONDOWN, HTBORDER, ScreenPoint(300, inHeader));
  ASSERT_EQ(GetCapture(), FHandle);
  EXPECT_EQ(header.Columns().DownIndex(), 1);
  SendMessageW(FHandle, WM_LBUTTONUP, 0, ClientPoint(300, inHeader));
  EXPECT_NE(GetCapture(), FHandle);
  EXPECT_EQ(header.Columns().DownIndex(), NoColumn);
  ASSERT_EQ(FExceptions.size(), 1u);
  EXPECT_EQ(FExceptions.front(), u"no order");
  FExceptions.clear();
  Model().OnCompareNodes = nullptr;
}

// The context-menu key and a right click ask OnGetPopupMenu for the node,
// and its parents while the handler lets them.
TEST_F(LiveTreeInputTest, TheContextKeyAndARightClickAskForTheNodesPopupMenu) {
  using TGetPopup = TDelegate<void(ltcontrol::TBaseLiveTree*, PLiveNode, TColumnIndex, const TPoint&, bool&, TPopupMenu*&)>;
  std::vector<std::pair<PLiveNode, TPoint>> asked;
  const TPropInfo* prop = FForm->Tree->ClassType()->FindProperty(u"OnGetPopupMenu");
  ASSERT_NE(prop, nullptr);
  SetMethodProp(*FForm->Tree, *prop,
                std::any(TGetPopup([&](ltcontrol::TBaseLiveTree*, PLiveNode node, TColumnIndex, const TPoint& p,
                                       bool& askParent, TPopupMenu*&) {
                  asked.emplace_back(node, p);
                  askParent = node != nullptr && Model().NodeParent(node) != nullptr;
                })));
  PLiveNode first = Model().GetFirst();
  Model().FullExpand(first);
  PLiveNode child = Model().GetFirstChild(first);
  Model().SetFocusedNode(child);
  PressKey(FHandle, VK_APPS);
  ASSERT_EQ(asked.size(), 2u) << "the node, then its parent";
  EXPECT_EQ(asked[0].first, child);
  EXPECT_EQ(asked[1].first, first);
  TRect label = Model().GetDisplayRect(child, 0, true);
  EXPECT_EQ(asked[0].second.Y, (label.Top + label.Bottom) / 2);
  EXPECT_GT(asked[0].second.X, label.Left);
  asked.clear();
  TPoint p = LabelOf(Model().GetNextSibling(first));
  SendMessageW(FHandle, WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(p.X, p.Y));
  SendMessageW(FHandle, WM_RBUTTONUP, 0, ClientPoint(p.X, p.Y));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].first, Model().GetNextSibling(first));
  EXPECT_EQ(asked[0].second, p);
  SetMethodProp(*FForm->Tree, *prop, std::any());
}
