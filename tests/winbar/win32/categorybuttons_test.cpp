// The category buttons list: read from a form as the IDE writes it, laid out,
// drawn, and driven by mouse and keys, with items dragged and renamed.
#include "winbar/win32/winbartest.h"

#include "classes/reflection.h"
#include "rtl/unicode.h"
#include "support/win32/realinput.h"

namespace {

TPoint Centre(const TRect& r) {
  return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

class CategoryButtonsTest : public WinbarTest {
 protected:
  void SetUp() override {
    WinbarTest::SetUp();
    FForm = MakeForm<TWinbarCategoryForm>(FApp.get());
    FForm->Show();
    Pump();
    FPalette = FForm->Palette;
  }
  void TearDown() override {
    FForm.reset();
    WinbarTest::TearDown();
  }
  TButtonCategory* Category(int index) const { return FPalette->Categories().Items(index); }
  TButtonItem* Button(int category, int index) const { return Category(category)->Items().Items(index); }
  void Click(const TBaseItem* item) {
    TPoint p = Centre(FPalette->GetButtonRect(item));
    harness::SendClick(FPalette->Handle(), p.X, p.Y);
    Pump();
  }

  TFormPtr<TWinbarCategoryForm> FForm;
  TCategoryButtonsEx* FPalette = nullptr;
};

}  // namespace

TEST_F(CategoryButtonsTest, TheFormLoadsCategoriesAndItemsAsStored) {
  ASSERT_TRUE(FPalette && FForm->Grid);
  ASSERT_EQ(FPalette->Categories().Count(), 3);
  EXPECT_EQ(Category(0)->Caption(), u"Standard");
  EXPECT_EQ(Category(0)->Items().Count(), 3);
  EXPECT_EQ(Button(0, 0)->Hint(), u"A push button");
  EXPECT_EQ(Button(1, 0)->Tag(), 7);
  EXPECT_EQ(Button(1, 0)->ImageIndex, -1);
  EXPECT_EQ(Button(1, 0)->ImageSpacing, 1);
  EXPECT_EQ(Category(1)->GradientColor(), clWhite);
  EXPECT_EQ(Category(1)->Color(), 15395839);
  EXPECT_TRUE(Category(2)->Collapsed());
  EXPECT_EQ(Category(2)->TextColor(), clWindowText);
  EXPECT_EQ(Button(1, 1)->Category(), Category(1));
  EXPECT_EQ(Button(1, 1)->CategoryButtons(), FPalette);
  EXPECT_EQ(FPalette->ButtonHeight(), 22);
  EXPECT_TRUE(FPalette->ButtonOptions().Contains(boFullSize));
  EXPECT_EQ(FPalette->EdgeButtonColor(), clMedGray) << "not stored, so the initial value";
  EXPECT_EQ(FPalette->Categories().VisibleCount(), 3 + 3 + 2);
  EXPECT_EQ(FPalette->Categories().ItemAt(4), Category(1));
  EXPECT_EQ(FPalette->Categories().IndexOf(u"additional"), 1);
  EXPECT_EQ(Category(0)->IndexOf(u"EDIT"), 2);
  EXPECT_EQ(FForm->Grid->ButtonFlow(), cbfHorizontal);
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(CategoryButtonsTest, StreamDefaultsAreTheValuesANewControlStartsWith) {
  auto* fresh = new TCategoryButtonsEx(FForm.get());
  const TClassInfo& info = TCategoryButtonsEx::StaticClass();
  EXPECT_EQ(info.FindProperty(u"EdgeButtonColor")->Default(), fresh->EdgeButtonColor());
  EXPECT_EQ(info.FindProperty(u"HotButtonColor")->Default(), fresh->HotButtonColor());
  EXPECT_EQ(info.FindProperty(u"ButtonOptions")->Default(), static_cast<Integer>(fresh->ButtonOptions().Bits()));
  EXPECT_EQ(info.FindProperty(u"ButtonWidth")->Default(), fresh->ButtonWidth());
  EXPECT_EQ(info.FindProperty(u"Color")->Default(), fresh->Color());
  EXPECT_EQ(fresh->SelectedButtonColor(), ColorShadow(clBtnFace, -10));
  EXPECT_EQ(fresh->RegularButtonColor(), ColorHighlight(clBtnFace, 15));
  EXPECT_TRUE(fresh->TabStop());
  EXPECT_EQ(fresh->Width(), 100);
}

TEST_F(CategoryButtonsTest, EachVerticalAndHorizontalLayoutPlacesTheCells) {
  // Full-size rows: each button spans the button area under the caption row.
  TRect first = FPalette->GetButtonRect(Button(0, 0)), second = FPalette->GetButtonRect(Button(0, 1));
  EXPECT_EQ(first.Left, 4);
  EXPECT_EQ(first.Right, FPalette->ClientWidth() - 3);
  EXPECT_EQ(second.Top - first.Top, 22);
  EXPECT_EQ(Category(1)->Start(), Category(0)->End());
  EXPECT_TRUE(Button(2, 0)->Bounds().Left == -1) << "a collapsed category shows no buttons";
  // Horizontal flow with the caption beside: three cells one above another.
  TCategoryButtonsEx& grid = *FForm->Grid;
  TRect a = grid.GetButtonRect(grid.Categories().Items(0)->Items().Items(0));
  TRect b = grid.GetButtonRect(grid.Categories().Items(0)->Items().Items(1));
  EXPECT_EQ(a.Width(), 40);
  EXPECT_EQ(b.Left, a.Left);
  EXPECT_EQ(b.Top, a.Top + 30);
  EXPECT_EQ(grid.GetButtonAt(b.Left + 2, b.Top + 2), grid.Categories().Items(0)->Items().Items(1));
}

TEST_F(CategoryButtonsTest, ClickingSelectsAndClicksAndACaptionClickExpands) {
  Click(Button(0, 1));
  EXPECT_EQ(FPalette->SelectedItem(), Button(0, 1));
  EXPECT_EQ(FForm->Clicked, std::vector<String>{u"Label"});
  EXPECT_EQ(FPalette->CurrentCategory(), Category(0));

  std::vector<TButtonCategory*> clicked, collapsed;
  FPalette->OnCategoryClicked = [&](TObject*, TButtonCategory* c) { clicked.push_back(c); };
  FPalette->OnCategoryCollapse = [&](TObject*, TButtonCategory* c) { collapsed.push_back(c); };
  Click(Category(2));
  EXPECT_FALSE(Category(2)->Collapsed());
  EXPECT_EQ(clicked, std::vector<TButtonCategory*>{Category(2)});
  EXPECT_EQ(collapsed, std::vector<TButtonCategory*>{Category(2)});
  EXPECT_EQ(FPalette->SelectedItem(), Category(2));
  harness::Bitmap32 picture = harness::PaintClient(FPalette->Handle());
  TRect hidden = FPalette->GetButtonRect(Button(2, 0));
  EXPECT_EQ(picture.PixelColor(hidden.Right - 4, hidden.Top + 4), static_cast<COLORREF>(clWhite))
      << "the expanded category's button in the regular colour";
}

TEST_F(CategoryButtonsTest, ArrowsWalkTheItemsAndCollapseCategories) {
  Click(Button(0, 0));
  HWND h = FPalette->Handle();
  const struct {
    UINT key;
    TBaseItem* expected;
  } steps[] = {
      {VK_DOWN, Button(0, 1)},  {VK_DOWN, Button(0, 2)}, {VK_DOWN, Category(1)},
      {VK_RIGHT, Button(1, 0)}, {VK_UP, Category(1)},    {VK_UP, Button(0, 2)},
      {VK_LEFT, Category(0)},   {VK_END, Category(2)},   {VK_HOME, Category(0)},
  };
  for (const auto& step : steps) {
    harness::SendKey(h, step.key);
    Pump();
    EXPECT_EQ(FPalette->SelectedItem(), step.expected) << "after key " << step.key;
  }
  harness::SendKey(h, VK_LEFT);
  Pump();
  EXPECT_TRUE(Category(0)->Collapsed()) << "Left on an expanded category collapses it";
  harness::SendKey(h, VK_RIGHT);
  Pump();
  EXPECT_FALSE(Category(0)->Collapsed());
}

TEST_F(CategoryButtonsTest, PageKeysJumpAClientHeightAndShiftWheelWalksTheButtons) {
  Click(Button(0, 0));
  harness::BringToFront(FPalette->Handle());
  FPalette->SetFocus();
  Pump();
  ASSERT_EQ(FPalette->ScrollMax(), 0) << "everything shows";
  harness::InputKey(VK_NEXT);
  EXPECT_EQ(FPalette->SelectedItem(), Category(2)) << "past the end: the last category, collapsed";
  harness::InputKey(VK_PRIOR);
  EXPECT_EQ(FPalette->SelectedItem(), Category(0)) << "before the start: the first category";

  Click(Button(0, 2));
  const TPoint over = Centre(FPalette->GetButtonRect(Button(0, 1)));
  harness::InputWheel(FPalette->Handle(), over.X, over.Y, -1, {.ctrl = false, .shift = true});
  EXPECT_EQ(FPalette->SelectedItem(), Button(1, 0)) << "on into the next category's first button";
  harness::InputWheel(FPalette->Handle(), over.X, over.Y, -1, {.ctrl = false, .shift = true});
  EXPECT_EQ(FPalette->SelectedItem(), Button(1, 1));
  harness::InputWheel(FPalette->Handle(), over.X, over.Y, -1, {.ctrl = false, .shift = true});
  EXPECT_EQ(FPalette->SelectedItem(), Button(1, 1)) << "the collapsed category is passed over: nothing after";
  harness::InputWheel(FPalette->Handle(), over.X, over.Y, 1, {.ctrl = false, .shift = true});
  EXPECT_EQ(FPalette->SelectedItem(), Button(1, 0));
  harness::InputWheel(FPalette->Handle(), over.X, over.Y, 1, {.ctrl = false, .shift = true});
  EXPECT_EQ(FPalette->SelectedItem(), Button(0, 2)) << "back into the category before";
  harness::InputWheel(FPalette->Handle(), over.X, over.Y, -1);
  EXPECT_EQ(FPalette->SelectedItem(), Button(0, 2)) << "without Shift the wheel only scrolls";
  EXPECT_EQ(FPalette->ScrollPosition(), 0);
}

TEST_F(CategoryButtonsTest, DraggingAButtonMovesItIntoAnotherCategory) {
  std::vector<String> reorders;
  FPalette->OnReorderButton = [&](TObject*, TButtonItem* b, TButtonCategory* from, TButtonCategory* to) {
    reorders.push_back(b->Caption() + u":" + from->Caption() + u">" + to->Caption());
  };
  TButtonItem* dragged = Button(0, 0);
  TPoint from = Centre(FPalette->GetButtonRect(dragged));
  TRect shape = FPalette->GetButtonRect(Button(1, 1));
  HWND h = FPalette->Handle();
  harness::SendMouseDown(h, from.X, from.Y);
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.X, from.Y + 10));
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(shape.Left + 10, shape.Top + 3));
  Pump();
  SaveForInspection(CaptureScreen(FForm->Handle()), L"winbar-categories-drag.bmp");
  harness::SendMouseUp(h, shape.Left + 10, shape.Top + 3);
  Pump();
  ASSERT_EQ(Category(1)->Items().Count(), 3);
  EXPECT_EQ(Category(0)->Items().Count(), 2);
  EXPECT_EQ(Button(1, 1), dragged) << "dropped before the button under the upper half";
  EXPECT_EQ(dragged->Category(), Category(1));
  EXPECT_EQ(reorders, std::vector<String>{u"Button:Standard>Additional"});
  EXPECT_TRUE(FForm->Clicked.empty()) << "a drag is no click";

  // Dropping on the lower half of the button before it changes nothing.
  TRect image = FPalette->GetButtonRect(Button(1, 0));
  TButtonCategory* target = nullptr;
  TButtonItem* at = nullptr;
  FPalette->GetTargetAt(image.Left + 5, image.Bottom - 3, target, at);
  EXPECT_EQ(target, Category(1));
  EXPECT_EQ(at, dragged);
}

TEST_F(CategoryButtonsTest, ADropThatWouldMoveNothingIsRefused) {
  std::vector<String> reorders;
  FPalette->OnReorderButton = [&](TObject*, TButtonItem* b, TButtonCategory*, TButtonCategory*) {
    reorders.push_back(b->Caption());
  };
  harness::BringToFront(FPalette->Handle());
  const HWND h = FPalette->Handle();
  const auto drag = [&](const TBaseItem* item, Integer toX, Integer toY) {
    const TPoint from = Centre(FPalette->GetButtonRect(item));
    harness::InputMouseDown(h, from.X, from.Y);
    harness::InputMouseMove(h, from.X, from.Y + 8);
    harness::InputMouseMove(h, toX, toY);
    harness::InputMouseUp(h, toX, toY);
    Pump();
  };
  TButtonItem* first = Button(0, 0);
  TButtonItem* second = Button(0, 1);
  // The upper half of the next button: the place it already has.
  const TRect next = FPalette->GetButtonRect(second);
  drag(first, next.Left + 10, next.Top + 3);
  EXPECT_EQ(Button(0, 0), first);
  EXPECT_EQ(Button(0, 1), second);
  EXPECT_TRUE(reorders.empty()) << "nothing moved, nothing reported";
  // Onto its own lower half: the same.
  const TRect own = FPalette->GetButtonRect(first);
  drag(first, own.Left + 10, own.Bottom - 3);
  EXPECT_EQ(Button(0, 0), first);
  EXPECT_TRUE(reorders.empty());
  // The lower half of the next button does move it.
  drag(first, next.Left + 10, next.Bottom - 3);
  EXPECT_EQ(Button(0, 1), first);
  EXPECT_EQ(reorders, std::vector<String>{first->Caption()});
  EXPECT_FALSE(TCategoryButtonsEx::DropMovesNothing(first, Category(1), nullptr));
}

TEST_F(CategoryButtonsTest, DraggingACategoryCaptionMovesTheCategory) {
  TButtonCategory* dragged = Category(2);
  const bool collapsed = dragged->Collapsed();
  TPoint from = Centre(FPalette->GetButtonRect(dragged));
  TPoint to = Centre(FPalette->GetButtonRect(Category(0)));
  HWND h = FPalette->Handle();
  harness::SendMouseDown(h, from.X, from.Y);
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.X, from.Y - 10));
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.X, to.Y));
  harness::SendMouseUp(h, to.X, to.Y);
  Pump();
  ASSERT_EQ(FPalette->Categories().Count(), 3);
  EXPECT_EQ(Category(0), dragged) << "put where the category under the drop stood";
  EXPECT_EQ(Category(1)->Caption(), u"Standard");
  EXPECT_EQ(Category(2)->Caption(), u"Additional");
  EXPECT_EQ(dragged->Collapsed(), collapsed) << "a drag is no caption click";
  EXPECT_LT(FPalette->GetButtonRect(dragged).Top, FPalette->GetButtonRect(Category(1)).Top) << "laid out again";
}

TEST_F(CategoryButtonsTest, ARightPressDoesNotArmADrag) {
  TButtonItem* pressed = Button(0, 0);
  TPoint from = Centre(FPalette->GetButtonRect(pressed));
  TRect shape = FPalette->GetButtonRect(Button(1, 1));
  HWND h = FPalette->Handle();
  harness::SendMouseDown(h, from.X, from.Y, harness::MouseButton::Right);
  EXPECT_EQ(FPalette->DragButton(), nullptr);
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(from.X, from.Y + 10));
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(shape.Left + 10, shape.Top + 3));
  harness::SendMouseUp(h, shape.Left + 10, shape.Top + 3, harness::MouseButton::Right);
  harness::SendMouseDown(h, shape.Left + 10, shape.Top + 3);
  harness::SendMouseUp(h, shape.Left + 10, shape.Top + 3);
  Pump();
  EXPECT_EQ(pressed->Category(), Category(0)) << "nothing moved";
  EXPECT_EQ(Category(1)->Items().Count(), 2);
}

TEST_F(CategoryButtonsTest, F2RenamesInPlaceEnterKeepsAndEscapeCancels) {
  std::vector<String> edited;
  int cancelled = 0;
  FPalette->OnEdited = [&](TObject*, TBaseItem*, String& s) { edited.push_back(s); };
  FPalette->OnCancelEdit = [&](TObject*, TBaseItem*) { ++cancelled; };
  Click(Button(0, 1));
  harness::SendKey(FPalette->Handle(), VK_F2);
  Pump();
  ASSERT_TRUE(FPalette->IsEditing());
  TEdit* edit = FPalette->InplaceEdit();
  EXPECT_EQ(edit->Text(), u"Label");
  SaveForInspection(CaptureScreen(FForm->Handle()), L"winbar-categories-edit.bmp");
  edit->SetText(u"Static text");
  harness::SendKey(edit->Handle(), VK_RETURN);
  Pump();
  EXPECT_FALSE(FPalette->IsEditing());
  EXPECT_EQ(Button(0, 1)->Caption(), u"Static text");
  EXPECT_EQ(edited, std::vector<String>{u"Static text"});

  // A category whose caption runs across can be renamed; Escape keeps the old name.
  ASSERT_TRUE(Category(1)->EditText());
  FPalette->InplaceEdit()->SetText(u"Other");
  harness::SendKey(FPalette->InplaceEdit()->Handle(), VK_ESCAPE);
  Pump();
  EXPECT_EQ(Category(1)->Caption(), u"Additional");
  EXPECT_EQ(cancelled, 1);

  // Captions beside the buttons, and buttons without full size, are refused.
  TCategoryButtonsEx& grid = *FForm->Grid;
  EXPECT_FALSE(grid.Categories().Items(0)->EditText());
  EXPECT_FALSE(grid.Categories().Items(0)->Items().Items(0)->EditText());
}

TEST_F(CategoryButtonsTest, TheListScrollsWhenCategoriesOutgrowIt) {
  for (int i = 0; i < 12; ++i) Category(1)->Items().Add()->SetCaption(u"Extra");
  Pump();
  EXPECT_GT(FPalette->ScrollMax(), 0);
  EXPECT_TRUE(GetWindowLongW(FPalette->Handle(), GWL_STYLE) & WS_VSCROLL);
  TButtonItem* last = Button(1, Category(1)->Items().Count() - 1);
  FPalette->SetSelectedItem(last);
  Pump();
  EXPECT_GT(FPalette->ScrollPosition(), 0);
  TRect r = FPalette->GetButtonRect(last);
  EXPECT_LE(r.Bottom, FPalette->ClientHeight());
  EXPECT_GE(r.Top, 0);
  SendMessageW(FPalette->Handle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(FPalette->ScrollPosition(), 0);
  FForm->Repaint();
  Pump();
  SaveForInspection(CaptureScreen(FForm->Handle()), L"winbar-categories.bmp");
}

// The platform's category list, as the IDE writes it, beside the window bar's.
TEST_F(WinbarTest, ThePlatformCategoryListLoadsWithItsOwnPropertiesAndAncestors) {
  auto form = MakeForm<TWinbarPlatformForm>(FApp.get());
  form->Show();
  Pump();
  ASSERT_NE(form->Tools, nullptr);
  TCategoryButtons& tools = *form->Tools;
  const TClassInfo& info = TCategoryButtons::StaticClass();
  EXPECT_EQ(info.UnitName(), u"CategoryButtons");
  ASSERT_NE(info.ClassParent(), nullptr);
  EXPECT_EQ(info.ClassParent()->ClassName(), u"TCustomControl");
  for (const char16_t* name : {u"DragMode", u"BevelKind", u"Categories", u"ButtonOptions", u"HotButtonColor"})
    EXPECT_NE(info.FindProperty(name), nullptr) << StringToUTF8(name);
  for (const char16_t* name : {u"GlassButtonStyle", u"WordWrap", u"CategoryImages", u"EdgeButtonColor"})
    EXPECT_EQ(info.FindProperty(name), nullptr) << StringToUTF8(name);
  ASSERT_EQ(tools.Categories().Count(), 2);
  EXPECT_EQ(tools.Categories().Items(0)->Items().Items(0)->Hint(), u"Opens a form");
  EXPECT_EQ(tools.Categories().Items(1)->Items().Items(0)->Tag(), 3);
  EXPECT_TRUE(tools.ButtonOptions().Contains(boBoldCaptions));
  EXPECT_EQ(tools.Kept.DragMode, dmAutomatic);
  EXPECT_EQ(tools.BorderStyle(), bsNone);
  TButtonItem* copy = tools.Categories().Items(1)->Items().Items(0);
  const TRect cell = tools.GetButtonRect(copy);
  harness::SendClick(tools.Handle(), (cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
  Pump();
  EXPECT_EQ(tools.SelectedItem(), copy);
  harness::Bitmap32 picture = harness::PaintClient(tools.Handle());
  const TRect save = tools.GetButtonRect(tools.Categories().Items(0)->Items().Items(1));
  EXPECT_EQ(picture.PixelColor(save.Right - 4, save.Top + 4), static_cast<COLORREF>(clWhite))
      << "an unselected button in the regular colour";
  SaveForInspection(CaptureScreen(form->Handle()), L"platform-categories.bmp");
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(CategoryButtonsTest, ANewCategoryOnALiveControlHoldingOneJoinsWithItsButtons) {
  ASSERT_TRUE(FPalette->HandleAllocated());
  int before = FPalette->Categories().Count();
  TButtonCategory* added = FPalette->Categories().Add();
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->Items().Count(), 0);
  auto* inserted = static_cast<TButtonCategory*>(FPalette->Categories().Insert(0));
  ASSERT_NE(inserted, nullptr);
  EXPECT_EQ(FPalette->Categories().Items(0), inserted);
  EXPECT_EQ(inserted->CategoryButtons(), FPalette);
  EXPECT_EQ(FPalette->Categories().Count(), before + 2);
  Pump();
  EXPECT_TRUE(FExceptions.empty());
}
