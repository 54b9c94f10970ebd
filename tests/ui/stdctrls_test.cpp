// The standard controls on a form read from its resource: edit and memo
// text both ways, check boxes and radio buttons, list and combo boxes that
// keep their items when their windows are made again, the radio group, the
// splitter dragged with the mouse, pictures painted and the bit button.
// The door to the system headers first: it takes back the names they rename.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include "ui/buttons.h"
#include "ui/uitest.h"

namespace {

class TStdCtrlsForm : public TForm {
  KST_CLASS(TStdCtrlsForm, TForm)
 public:
  using TForm::TForm;
  TEdit* Edit1 = nullptr;
  TMemo* Memo1 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TRadioButton* RadioButton1 = nullptr;
  TRadioButton* RadioButton2 = nullptr;
  TListBox* ListBox1 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TRadioGroup* RadioGroup1 = nullptr;
  TBevel* Bevel1 = nullptr;
  TImage* Image1 = nullptr;
  TImage* Image2 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TBitBtn* BitBtn2 = nullptr;
  TPanel* PanelSplit = nullptr;
  TPanel* PanelLeft = nullptr;
  TSplitter* Splitter1 = nullptr;
  TPanel* PanelRest = nullptr;

  int EditChanges = 0, CheckClicks = 0, ListClicks = 0, ComboChanges = 0, GroupClicks = 0, SplitterMoves = 0;
  void Edit1Change(TObject*) { ++EditChanges; }
  void CheckBox1Click(TObject*) { ++CheckClicks; }
  void ListBox1Click(TObject*) { ++ListClicks; }
  void ComboBox1Change(TObject*) { ++ComboChanges; }
  void RadioGroup1Click(TObject*) { ++GroupClicks; }
  void Splitter1Moved(TObject*) { ++SplitterMoves; }
};

}  // namespace

KST_CLASS_IMPL(TStdCtrlsForm, "UiTests")

void TStdCtrlsForm::Describe(TClassBuilder<TStdCtrlsForm>& c) {
  c.Field(u"Edit1", &TStdCtrlsForm::Edit1);
  c.Field(u"Memo1", &TStdCtrlsForm::Memo1);
  c.Field(u"CheckBox1", &TStdCtrlsForm::CheckBox1);
  c.Field(u"GroupBox1", &TStdCtrlsForm::GroupBox1);
  c.Field(u"RadioButton1", &TStdCtrlsForm::RadioButton1);
  c.Field(u"RadioButton2", &TStdCtrlsForm::RadioButton2);
  c.Field(u"ListBox1", &TStdCtrlsForm::ListBox1);
  c.Field(u"ComboBox1", &TStdCtrlsForm::ComboBox1);
  c.Field(u"RadioGroup1", &TStdCtrlsForm::RadioGroup1);
  c.Field(u"Bevel1", &TStdCtrlsForm::Bevel1);
  c.Field(u"Image1", &TStdCtrlsForm::Image1);
  c.Field(u"Image2", &TStdCtrlsForm::Image2);
  c.Field(u"BitBtn1", &TStdCtrlsForm::BitBtn1);
  c.Field(u"BitBtn2", &TStdCtrlsForm::BitBtn2);
  c.Field(u"PanelSplit", &TStdCtrlsForm::PanelSplit);
  c.Field(u"PanelLeft", &TStdCtrlsForm::PanelLeft);
  c.Field(u"Splitter1", &TStdCtrlsForm::Splitter1);
  c.Field(u"PanelRest", &TStdCtrlsForm::PanelRest);
  c.Method(u"Edit1Change", &TStdCtrlsForm::Edit1Change);
  c.Method(u"CheckBox1Click", &TStdCtrlsForm::CheckBox1Click);
  c.Method(u"ListBox1Click", &TStdCtrlsForm::ListBox1Click);
  c.Method(u"ComboBox1Change", &TStdCtrlsForm::ComboBox1Change);
  c.Method(u"RadioGroup1Click", &TStdCtrlsForm::RadioGroup1Click);
  c.Method(u"Splitter1Moved", &TStdCtrlsForm::Splitter1Moved);
}

namespace {

class StdCtrlsTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    FForm = CreateForm<TStdCtrlsForm>(FApp.get());
    FForm->Show();
    Pump();
  }
  TStdCtrlsForm* FForm = nullptr;
};

std::vector<String> Items(const TStrings& s) {
  return s.ToStringArray();
}

String WindowText(HWND window) {
  wchar_t buffer[512]{};
  GetWindowTextW(window, buffer, 512);
  return FromWStr(buffer);
}

TEST_F(StdCtrlsTest, EveryControlLoadsFromTheFormAndShows) {
  TStdCtrlsForm& f = *FForm;
  EXPECT_EQ(f.Edit1->Text(), u"Hello");
  EXPECT_EQ(f.EditChanges, 0) << "no change event while the form loads";
  EXPECT_EQ(Items(f.Memo1->Lines()), (std::vector<String>{u"First line", u"Second line"}));
  EXPECT_EQ(WindowText(f.Memo1->Handle()), u"First line\r\nSecond line\r\n");
  EXPECT_TRUE(GetWindowLongW(f.Memo1->Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_TRUE(f.RadioButton1->Checked());
  EXPECT_EQ(SendMessageW(f.RadioButton1->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Items(f.ListBox1->Items()), (std::vector<String>{u"Apple", u"Banana", u"Cherry"}));
  EXPECT_EQ(f.ListBox1->ItemIndex(), 1);
  EXPECT_EQ(f.ComboBox1->ItemIndex(), 2);
  EXPECT_EQ(f.ComboBox1->Text(), u"Blue");
  EXPECT_EQ(f.ComboBox1->Height(), 21) << "the closed height, however tall the list";
  ASSERT_EQ(f.RadioGroup1->ButtonCount(), 3);
  EXPECT_TRUE(f.RadioGroup1->Buttons(0)->Checked());
  EXPECT_EQ(f.RadioGroup1->Buttons(2)->Caption(), u"Three");
  EXPECT_GT(f.RadioGroup1->Buttons(2)->Left(), f.RadioGroup1->Buttons(0)->Left()) << "two columns";
  EXPECT_EQ(f.Bevel1->Shape(), bsTopLine);
  EXPECT_EQ(f.Image2->Width(), 8) << "AutoSize takes the picture's size";
  EXPECT_EQ(f.Image2->Height(), 8);
  EXPECT_EQ(f.BitBtn1->Caption(), u"OK");
  EXPECT_EQ(f.BitBtn1->ModalResult(), mrOk);
  EXPECT_TRUE(f.BitBtn1->Default());
  EXPECT_EQ(f.BitBtn1->NumGlyphs(), 1);
  EXPECT_EQ(f.BitBtn1->Glyph().Width(), 16);
  EXPECT_EQ(f.BitBtn2->Caption(), u"Cancel");
  EXPECT_TRUE(f.BitBtn2->Cancel());
  EXPECT_EQ(f.Splitter1->Cursor(), crHSplit);
  harness::Bitmap32 picture =
      harness::PaintInto(f.ClientWidth(), f.ClientHeight(), [&](HDC dc) { f.PaintTo(dc, 0, 0); });
  SaveForInspection(picture, L"stdctrls.bmp");
  EXPECT_EQ(picture.PixelColor(20, 200), GetSysColor(COLOR_WINDOW)) << "the list box";
}

TEST_F(StdCtrlsTest, MemoLinesAndWindowTextAreOneText) {
  TMemo& memo = *FForm->Memo1;
  // Lines to the window.
  memo.Lines().Add(u"Third");
  EXPECT_EQ(WindowText(memo.Handle()), u"First line\r\nSecond line\r\nThird\r\n");
  memo.Lines().SetStrings(0, u"One");
  memo.Lines().Delete(1);
  EXPECT_EQ(WindowText(memo.Handle()), u"One\r\nThird\r\n");
  // Any line break becomes the window's CR LF.
  memo.Lines().SetText(u"a\nb\rc\r\nd");
  EXPECT_EQ(WindowText(memo.Handle()), u"a\r\nb\r\nc\r\nd");
  EXPECT_EQ(memo.Lines().Count(), 4);
  // The window to Lines: text set on the window, and typed.
  SetWindowTextW(memo.Handle(), L"x\r\ny");
  EXPECT_EQ(Items(memo.Lines()), (std::vector<String>{u"x", u"y"}));
  memo.SetSelStart(3);
  PostMessageW(memo.Handle(), WM_CHAR, L'z', 1);
  PostMessageW(memo.Handle(), WM_CHAR, VK_RETURN, 1);
  PostMessageW(memo.Handle(), WM_CHAR, L'w', 1);
  Pump();
  EXPECT_EQ(Items(memo.Lines()), (std::vector<String>{u"x", u"z", u"wy"}));
  // Lines survive a new window.
  memo.SetWordWrap(false);
  EXPECT_EQ(Items(memo.Lines()), (std::vector<String>{u"x", u"z", u"wy"}));
  EXPECT_THROW(memo.Lines().Get(3), EStringListError);
}

TEST_F(StdCtrlsTest, TypingInAnEditFiresOnChange) {
  TEdit& edit = *FForm->Edit1;
  edit.SetFocus();
  edit.SetSelStart(5);
  PostMessageW(edit.Handle(), WM_CHAR, L'!', 1);
  Pump();
  EXPECT_EQ(edit.Text(), u"Hello!");
  EXPECT_EQ(FForm->EditChanges, 1);
  edit.SetText(u"Set");
  EXPECT_EQ(FForm->EditChanges, 2) << "once for text set from the program";
  edit.SetSelStart(0);
  edit.SetSelLength(2);
  EXPECT_EQ(edit.SelText(), u"Se");
  edit.SetSelText(u"Ne");
  EXPECT_EQ(edit.Text(), u"Net");
  edit.SetMaxLength(4);
  EXPECT_EQ(SendMessageW(edit.Handle(), EM_GETLIMITTEXT, 0, 0), 4);
}

TEST_F(StdCtrlsTest, CheckBoxTogglesAndRadioButtonsExcludeTheirSiblings) {
  TStdCtrlsForm& f = *FForm;
  harness::SendClick(f.CheckBox1->Handle(), 5, 8);
  Pump();
  EXPECT_TRUE(f.CheckBox1->Checked());
  EXPECT_EQ(SendMessageW(f.CheckBox1->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(f.CheckClicks, 1);
  f.CheckBox1->SetAllowGrayed(true);
  SendMessageW(f.CheckBox1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(f.CheckBox1->State(), cbUnchecked);
  SendMessageW(f.CheckBox1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(f.CheckBox1->State(), cbGrayed);
  EXPECT_EQ(SendMessageW(f.CheckBox1->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_EQ(f.CheckClicks, 3);

  SendMessageW(f.RadioButton2->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(f.RadioButton2->Checked());
  EXPECT_FALSE(f.RadioButton1->Checked());
  EXPECT_EQ(SendMessageW(f.RadioButton1->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  f.RadioButton1->SetChecked(true);
  EXPECT_FALSE(f.RadioButton2->Checked());
  // The radio buttons of the group are not siblings of these.
  EXPECT_TRUE(f.RadioGroup1->Buttons(0)->Checked());
}

TEST_F(StdCtrlsTest, ListAndComboBoxesKeepItemsAndIndexWhenTheirWindowsAreMadeAgain) {
  TStdCtrlsForm& f = *FForm;
  f.ListBox1->Items().Add(u"Avocado");  // sorted in
  EXPECT_EQ(f.ListBox1->Items()[1], u"Avocado");
  f.ListBox1->SetItemIndex(3);
  f.ComboBox1->Items().Add(u"Black");
  f.ComboBox1->SetItemIndex(3);

  struct Case {
    TWinControl* control;
    std::vector<String> items;
    Integer index;
  } cases[] = {
      {f.ListBox1, {u"Apple", u"Avocado", u"Banana", u"Cherry"}, 3},
      {f.ComboBox1, {u"Red", u"Green", u"Blue", u"Black"}, 3},
  };
  for (const Case& c : cases) {
    HWND old = c.control->Handle();
    c.control->RecreateWnd();
    EXPECT_NE(c.control->Handle(), old);
    auto* list = dynamic_cast<TListBox*>(c.control);
    auto* combo = dynamic_cast<TComboBox*>(c.control);
    EXPECT_EQ(Items(list ? list->Items() : combo->Items()), c.items) << StringToUTF8(c.control->Name());
    EXPECT_EQ(list ? list->ItemIndex() : combo->ItemIndex(), c.index) << StringToUTF8(c.control->Name());
  }
  EXPECT_EQ(f.ComboBox1->Text(), u"Black");
  // Items hold objects; a bad index is an error, never a wild value.
  f.ListBox1->Items().SetObjects(2, f.Edit1);
  EXPECT_EQ(f.ListBox1->Items().Objects(2), f.Edit1);
  for (TStrings* items : {&f.ListBox1->Items(), &f.ComboBox1->Items()}) {
    EXPECT_THROW(items->Objects(10), EStringListError);
    EXPECT_THROW(items->Delete(-1), EStringListError);
    EXPECT_THROW(items->Get(10), EStringListError);
  }

  // A multiple selection survives too.
  f.ListBox1->SetMultiSelect(true);
  f.ListBox1->SetSelected(0, true);
  f.ListBox1->SetSelected(2, true);
  f.ListBox1->RecreateWnd();
  EXPECT_TRUE(f.ListBox1->Selected(0));
  EXPECT_FALSE(f.ListBox1->Selected(1));
  EXPECT_TRUE(f.ListBox1->Selected(2));

  // The list has room for DropDownCount items, also after the box moved.
  f.ComboBox1->SetBounds(150, 132, 140, 21);
  RECT dropped{};
  SendMessageW(f.ComboBox1->Handle(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_GT(dropped.bottom - dropped.top, 21 + 4 * 13);
  EXPECT_EQ(f.ComboBox1->Height(), 21);

  // A choice in the list is a change of the combo box.
  SendMessageW(f.ComboBox1->Handle(), CB_SETCURSEL, 1, 0);
  SendMessageW(f.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(f.ComboBox1->Handle()), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(f.ComboBox1->Handle()));
  EXPECT_EQ(f.ComboChanges, 1);
  EXPECT_EQ(f.ComboBox1->Text(), u"Green");
}

TEST_F(StdCtrlsTest, RadioGroupIndexFollowsItsButtons) {
  TRadioGroup& group = *FForm->RadioGroup1;
  group.SetItemIndex(2);
  EXPECT_TRUE(group.Buttons(2)->Checked());
  EXPECT_FALSE(group.Buttons(0)->Checked());
  SendMessageW(group.Buttons(1)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(group.ItemIndex(), 1);
  EXPECT_FALSE(group.Buttons(2)->Checked());
  EXPECT_EQ(FForm->GroupClicks, 2);
  // New items make new buttons; the index stays within them.
  group.Items().Delete(2);
  group.Items().Delete(1);
  EXPECT_EQ(group.ButtonCount(), 1);
  EXPECT_EQ(group.ItemIndex(), 0);
  group.Items().Add(u"Four");
  ASSERT_EQ(group.ButtonCount(), 2);
  EXPECT_EQ(group.Buttons(1)->Caption(), u"Four");
  EXPECT_TRUE(group.Buttons(1)->HandleAllocated());
}

TEST_F(StdCtrlsTest, DraggingTheSplitterResizesItsNeighbour) {
  TStdCtrlsForm& f = *FForm;
  HWND panel = f.PanelSplit->Handle();
  // Down on the splitter, along 40 pixels to the right, up.
  harness::SendMouseDown(panel, 122, 50);
  harness::SendMouseMove(panel, 142, 50);
  harness::SendMouseMove(panel, 162, 50);
  harness::SendMouseUp(panel, 162, 50);
  Pump();
  EXPECT_EQ(f.PanelLeft->Width(), 160);
  EXPECT_EQ(f.Splitter1->Left(), 160);
  EXPECT_EQ(f.PanelRest->Left(), 165);
  EXPECT_EQ(f.SplitterMoves, 1);
  // Never smaller than MinSize.
  f.Splitter1->SetResizeStyle(rsUpdate);
  harness::SendMouseDown(panel, 162, 50);
  harness::SendMouseMove(panel, 10, 50);
  EXPECT_EQ(f.PanelLeft->Width(), 30);
  harness::SendMouseUp(panel, 10, 50);
  EXPECT_EQ(f.SplitterMoves, 2);
}

TEST_F(StdCtrlsTest, ImagesPaintTheirPictureStretchedOrAtItsSize) {
  TStdCtrlsForm& f = *FForm;
  harness::Bitmap32 painted = harness::PaintClient(f.Handle());
  SaveForInspection(painted, L"stdctrls-client.bmp");
  // Image1 (380, 8) stretches 8 x 8 to 64 x 64: red left half, blue right half.
  EXPECT_EQ(painted.PixelColor(380 + 2, 8 + 60), RGB(255, 0, 0));
  EXPECT_EQ(painted.PixelColor(380 + 30, 8 + 30), RGB(255, 0, 0));
  EXPECT_EQ(painted.PixelColor(380 + 34, 8 + 30), RGB(0, 0, 255));
  EXPECT_EQ(painted.PixelColor(380 + 63, 8 + 63), RGB(0, 0, 255));
  // Image2 (460, 8) took the picture's size.
  EXPECT_EQ(painted.PixelColor(460 + 3, 8 + 3), RGB(255, 0, 0));
  EXPECT_EQ(painted.PixelColor(460 + 4, 8 + 3), RGB(0, 0, 255));
  EXPECT_EQ(painted.PixelColor(460 + 8, 8 + 3), GetSysColor(COLOR_BTNFACE));
  // Centred without stretching.
  f.Image1->SetStretch(false);
  f.Image1->SetCenter(true);
  painted = harness::PaintClient(f.Handle());
  EXPECT_EQ(painted.PixelColor(380 + 2, 8 + 30), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(painted.PixelColor(380 + 28, 8 + 28), RGB(255, 0, 0));
  EXPECT_EQ(painted.PixelColor(380 + 35, 8 + 35), RGB(0, 0, 255));
}

TEST_F(StdCtrlsTest, BitButtonPaintsItsGlyphAndItsKindGivesTheModalResult) {
  TStdCtrlsForm& f = *FForm;
  harness::Bitmap32 painted = harness::PaintClient(f.BitBtn1->Handle());
  SaveForInspection(painted, L"bitbtn.bmp");
  int green = 0, magenta = 0, dark = 0;
  for (int y = 0; y < painted.Height(); ++y)
    for (int x = 0; x < painted.Width(); ++x) {
      COLORREF c = painted.PixelColor(x, y);
      if (c == RGB(0, 160, 0)) ++green;
      if (c == RGB(255, 0, 255)) ++magenta;
      if (GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128) ++dark;
    }
  EXPECT_EQ(green, 64) << "the glyph's 8 x 8 square";
  EXPECT_EQ(magenta, 0) << "the glyph's background is transparent";
  EXPECT_GT(dark, 20) << "the caption";

  SendMessageW(f.BitBtn1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(f.ModalResult(), mrOk);
  SendMessageW(f.BitBtn2->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(f.ModalResult(), mrCancel);

  struct Case {
    TBitBtnKind kind;
    const char16_t* caption;
    TModalResult result;
  } cases[] = {{bkOK, u"OK", mrOk},
               {bkCancel, u"Cancel", mrCancel},
               {bkHelp, u"&Help", mrNone},
               {bkYes, u"&Yes", mrYes},
               {bkNo, u"&No", mrNo},
               {bkClose, u"&Close", mrNone},
               {bkAbort, u"Abort", mrAbort},
               {bkRetry, u"&Retry", mrRetry},
               {bkIgnore, u"&Ignore", mrIgnore},
               {bkAll, u"&All", mrAll}};
  for (const Case& c : cases) {
    TBitBtn button(nullptr);
    button.SetKind(c.kind);
    EXPECT_EQ(button.Kind(), c.kind);
    EXPECT_EQ(button.Caption(), c.caption);
    EXPECT_EQ(button.ModalResult(), c.result);
  }
  // A result of its own makes it a custom button.
  f.BitBtn1->SetModalResult(mrRetry);
  EXPECT_EQ(f.BitBtn1->Kind(), bkCustom);
}

TEST_F(StdCtrlsTest, AWindowControlDeletedLeavesItsParent) {
  // Also when it has the focus: its parent and the screen let go of it.
  TPanel& panel = *FForm->PanelRest;
  int before = panel.ControlCount();
  auto* button = new TButton(&panel);
  button->SetParent(&panel);
  button->SetFocus();
  ASSERT_EQ(GetFocus(), button->Handle());
  delete button;
  EXPECT_EQ(panel.ControlCount(), before);
  EXPECT_NE(Screen->ActiveControl(), static_cast<TWinControl*>(button));
  panel.Realign();
}

}  // namespace
