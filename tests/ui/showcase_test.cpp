// One form holding every class the program's own windows are made of, read
// from its resource as the IDE writes it: it loads, shows and works together
// (short-cuts from a focused control, the find dialog searching the memo).
#include "ui/winapi.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <set>

#include "ui/actnlist.h"
#include "ui/buttons.h"
#include "ui/comctrls.h"
#include "ui/commdlg.h"
#include "ui/menus.h"
#include "ui/statusbar.h"
#include "ui/tabs.h"
#include "ui/toolbar.h"
#include "ui/uitest.h"

class TUiShowcaseForm : public TForm {
  KST_CLASS(TUiShowcaseForm, TForm)
 public:
  using TForm::TForm;
  TToolBar* ToolBar1 = nullptr;
  TToolButton* tbOpen = nullptr;
  TToolButton* tbFind = nullptr;
  TPanel* PanelLeft = nullptr;
  TLabel* Label1 = nullptr;
  TBevel* Bevel1 = nullptr;
  TImage* Image1 = nullptr;
  TEdit* Edit1 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TRadioButton* RadioButton1 = nullptr;
  TRadioButton* RadioButton2 = nullptr;
  TRadioGroup* RadioGroup1 = nullptr;
  TListBox* ListBox1 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TButton* Button1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TSplitter* Splitter1 = nullptr;
  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheet1 = nullptr;
  TTabSheet* TabSheet2 = nullptr;
  TMemo* Memo1 = nullptr;
  TListView* ListView1 = nullptr;
  TTreeView* TreeView1 = nullptr;
  TTabSet* TabSet1 = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem* mmEdit = nullptr;
  TMenuItem* Find1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TActionList* ActionList1 = nullptr;
  TAction* acOpen = nullptr;
  TAction* acFind = nullptr;
  TImageList* ImageList1 = nullptr;
  TOpenDialog* OpenDialog1 = nullptr;
  TSaveDialog* SaveDialog1 = nullptr;
  TFindDialog* FindDialog1 = nullptr;
  TReplaceDialog* ReplaceDialog1 = nullptr;
  TFontDialog* FontDialog1 = nullptr;
  TColorDialog* ColorDialog1 = nullptr;
  TPrintDialog* PrintDialog1 = nullptr;

  int Opens = 0;
  void acOpenExecute(TObject*) { ++Opens; }
  void acFindExecute(TObject*) { FindDialog1->Execute(); }
  // Selects the next match after the selection, as the editor's search does.
  void FindDialog1Find(TObject*) {
    const String text = Memo1->Lines().Text();
    const size_t from = static_cast<size_t>(Memo1->SelStart() + Memo1->SelLength());
    const size_t at = text.find(FindDialog1->FindText(), from);
    if (at == String::npos) return;
    Memo1->SetSelStart(static_cast<Integer>(at));
    Memo1->SetSelLength(static_cast<Integer>(FindDialog1->FindText().size()));
  }
};

KST_CLASS_IMPL(TUiShowcaseForm, "UiTests")

void TUiShowcaseForm::Describe(TClassBuilder<TUiShowcaseForm>& c) {
#define KST_FIELD(name) c.Field(u## #name, &TUiShowcaseForm::name)
  KST_FIELD(ToolBar1);
  KST_FIELD(tbOpen);
  KST_FIELD(tbFind);
  KST_FIELD(PanelLeft);
  KST_FIELD(Label1);
  KST_FIELD(Bevel1);
  KST_FIELD(Image1);
  KST_FIELD(Edit1);
  KST_FIELD(CheckBox1);
  KST_FIELD(GroupBox1);
  KST_FIELD(RadioButton1);
  KST_FIELD(RadioButton2);
  KST_FIELD(RadioGroup1);
  KST_FIELD(ListBox1);
  KST_FIELD(ComboBox1);
  KST_FIELD(Button1);
  KST_FIELD(BitBtn1);
  KST_FIELD(Splitter1);
  KST_FIELD(PageControl1);
  KST_FIELD(TabSheet1);
  KST_FIELD(TabSheet2);
  KST_FIELD(Memo1);
  KST_FIELD(ListView1);
  KST_FIELD(TreeView1);
  KST_FIELD(TabSet1);
  KST_FIELD(StatusBar1);
  KST_FIELD(MainMenu1);
  KST_FIELD(mmEdit);
  KST_FIELD(Find1);
  KST_FIELD(PopupMenu1);
  KST_FIELD(ActionList1);
  KST_FIELD(acOpen);
  KST_FIELD(acFind);
  KST_FIELD(ImageList1);
  KST_FIELD(OpenDialog1);
  KST_FIELD(SaveDialog1);
  KST_FIELD(FindDialog1);
  KST_FIELD(ReplaceDialog1);
  KST_FIELD(FontDialog1);
  KST_FIELD(ColorDialog1);
  KST_FIELD(PrintDialog1);
#undef KST_FIELD
  c.Method(u"acOpenExecute", &TUiShowcaseForm::acOpenExecute);
  c.Method(u"acFindExecute", &TUiShowcaseForm::acFindExecute);
  c.Method(u"FindDialog1Find", &TUiShowcaseForm::FindDialog1Find);
}

namespace {

class ShowcaseTest : public UiTest {
 protected:
  TUiShowcaseForm* MakeShowcase() {
    auto* form = CreateForm<TUiShowcaseForm>(FApp.get());
    for (COLORREF colour : {RGB(220, 0, 0), RGB(0, 0, 220)}) {
      TBitmap image(16, 16, pf24bit);
      image.Canvas().Brush().SetColor(static_cast<TColor>(colour));
      image.Canvas().FillRect(Rect(0, 0, 16, 16));
      form->ImageList1->AddMasked(image, clFuchsia);
    }
    form->ListView1->Items().Add()->SetCaption(u"Button1");
    TTreeNode* root = form->TreeView1->Items().AddChild(nullptr, u"Form1");
    form->TreeView1->Items().AddChild(root, u"Button1");
    root->Expand(false);
    return form;
  }
};

TEST_F(ShowcaseTest, EveryClassLoadsFromTheFormResourceAndShows) {
  TUiShowcaseForm* form = MakeShowcase();
  // Every class is there, made from the form file.
  std::set<String> classes;
  for (int i = 0; i < form->ComponentCount(); ++i) classes.insert(String(form->Components(i)->ClassName()));
  const std::set<String> expected{
      u"TToolBar",    u"TToolButton", u"TPanel",         u"TLabel",       u"TBevel",       u"TImage",
      u"TEdit",       u"TCheckBox",   u"TGroupBox",      u"TRadioButton", u"TRadioGroup",  u"TListBox",
      u"TComboBox",   u"TButton",     u"TBitBtn",        u"TSplitter",    u"TPageControl", u"TTabSheet",
      u"TMemo",       u"TListView",   u"TTreeView",      u"TTabSet",      u"TStatusBar",   u"TMainMenu",
      u"TMenuItem",   u"TPopupMenu",  u"TActionList",    u"TAction",      u"TImageList",   u"TOpenDialog",
      u"TSaveDialog", u"TFindDialog", u"TReplaceDialog", u"TFontDialog",  u"TColorDialog", u"TPrintDialog"};
  EXPECT_EQ(classes, expected);
  EXPECT_EQ(form->Memo1->Lines().Count(), 6);
  EXPECT_EQ(form->ComboBox1->Text(), u"Binary");
  EXPECT_EQ(form->RadioGroup1->ItemIndex(), 0);
  EXPECT_EQ(form->BitBtn1->Caption(), u"OK");
  EXPECT_EQ(form->Image1->Width(), 32) << "sized to its picture";

  form->Show();
  Pump();
  UpdateWindow(form->Handle());
  Pump();
  for (TWinControl* shown : std::initializer_list<TWinControl*>{
           form->ToolBar1, form->Edit1, form->CheckBox1, form->RadioGroup1, form->ListBox1, form->ComboBox1,
           form->BitBtn1, form->PageControl1, form->Memo1, form->TabSet1, form->StatusBar1})
    EXPECT_TRUE(IsWindowVisible(shown->Handle())) << StringToUTF8(shown->Name());
  EXPECT_FALSE(form->TabSheet2->Visible()) << "only the active page shows";
  EXPECT_EQ(GetMenu(form->Handle()), form->MainMenu1->Handle());
  SaveForInspection(CaptureScreen(form->Handle()), L"showcase-controls.bmp");
  form->PageControl1->SetActivePage(form->TabSheet2);
  Pump();
  UpdateWindow(form->Handle());
  SaveForInspection(CaptureScreen(form->Handle()), L"showcase-controls-objects.bmp");
  EXPECT_TRUE(IsWindowVisible(form->ListView1->Handle()));
  EXPECT_TRUE(IsWindowVisible(form->TreeView1->Handle()));
}

TEST_F(ShowcaseTest, TheFindDialogFindsInTheMemoThroughTheLoop) {
  TUiShowcaseForm* form = MakeShowcase();
  form->Show();
  Pump();
  form->Memo1->SetFocus();
  Pump();
  // Ctrl+O in the memo reaches the form's action list.
  harness::SetModifiers({.ctrl = true});
  PostMessageW(form->Memo1->Handle(), WM_KEYDOWN, 'O', 1);
  Pump();
  harness::SetModifiers({});
  EXPECT_EQ(form->Opens, 1);

  form->acFind->Execute();
  HWND dialog = form->FindDialog1->Handle();
  ASSERT_TRUE(dialog && IsWindow(dialog));
  Pump();
  SetDlgItemTextW(dialog, edt1, L"Caption");
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  Pump();
  const String text = form->Memo1->Lines().Text();
  const Integer first = static_cast<Integer>(text.find(u"Caption"));
  EXPECT_EQ(form->Memo1->SelStart(), first);
  EXPECT_EQ(form->Memo1->SelText(), u"Caption");
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(form->Memo1->SelStart(), static_cast<Integer>(text.find(u"Caption", first + 1)))
      << "Find Next goes on from the selection";
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(form->Memo1->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(end - start, 7u) << "the memo's window shows the selection";
  form->FindDialog1->CloseDialog();
  Pump();
}

}  // namespace
