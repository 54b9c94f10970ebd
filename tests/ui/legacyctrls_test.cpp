// The cool bar with its bands, the combo box with image items, the gauge,
// the calendar, the notebook, the masked edit, the check list box and the
// file controls, read from a form resource as the IDE writes them and shown.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include "rtl/unicode.h"
#include "ui/coolbar.h"
#include "ui/filectrls.h"
#include "ui/legacyctrls.h"
#include "ui/toolbar.h"
#include "ui/uitest.h"

namespace {

class TLegacyCtrlsForm : public TForm {
  KST_CLASS(TLegacyCtrlsForm, TForm)
 public:
  using TForm::TForm;
  TCoolBar* Cool = nullptr;
  TToolBar* Tools = nullptr;
  TComboBoxEx* Choice = nullptr;
  TGauge* Gauge = nullptr;
  TCalendar* Calendar = nullptr;
  TNotebook* Book = nullptr;
  TLabel* FirstLabel = nullptr;
  TLabel* SecondLabel = nullptr;
  TMaskEdit* Masked = nullptr;
  TCheckListBox* Checks = nullptr;
  TFilterComboBox* Filter = nullptr;
  TFileListBox* Files = nullptr;
  TDirectoryListBox* Folders = nullptr;
  TDriveComboBox* Drives = nullptr;
  TLabel* FolderLabel = nullptr;
};

}  // namespace

KST_CLASS_IMPL(TLegacyCtrlsForm, "UiTests")

void TLegacyCtrlsForm::Describe(TClassBuilder<TLegacyCtrlsForm>& c) {
#define KST_FIELD(name) c.Field(u## #name, &TLegacyCtrlsForm::name)
  KST_FIELD(Cool);
  KST_FIELD(Tools);
  KST_FIELD(Choice);
  KST_FIELD(Gauge);
  KST_FIELD(Calendar);
  KST_FIELD(Book);
  KST_FIELD(FirstLabel);
  KST_FIELD(SecondLabel);
  KST_FIELD(Masked);
  KST_FIELD(Checks);
  KST_FIELD(Filter);
  KST_FIELD(Files);
  KST_FIELD(Folders);
  KST_FIELD(Drives);
  KST_FIELD(FolderLabel);
#undef KST_FIELD
}

namespace {

using LegacyCtrlsTest = UiTest;

TEST_F(LegacyCtrlsTest, LoadAndShow) {
  auto* form = CreateForm<TLegacyCtrlsForm>(FApp.get());
  form->Show();
  Pump();
  UpdateWindow(form->Handle());
  Pump();
  EXPECT_TRUE(FExceptions.empty());

  // The cool bar places each band's control after the band's grip.
  ASSERT_EQ(form->Cool->Bands().Count(), 2);
  EXPECT_EQ(form->Cool->Bands().Items(0)->Control(), form->Tools);
  const TRect first = form->Cool->BandRect(0), second = form->Cool->BandRect(1);
  EXPECT_EQ(first.Top, second.Top) << "the second band does not break the row";
  EXPECT_EQ(second.Left, first.Right);
  EXPECT_EQ(form->Tools->Left(), first.Left + 9);
  EXPECT_EQ(form->Choice->Left(), second.Left + 9);
  EXPECT_EQ(form->Tools->Top(), first.Top);
  EXPECT_EQ(form->Tools->EdgeBorders, TEdgeBorders{});

  // The combo box lists its image items' captions.
  ASSERT_EQ(form->Choice->Items().Count(), 2);
  EXPECT_EQ(form->Choice->Items()[1], u"HTML");
  EXPECT_EQ(form->Choice->Style(), csDropDownList);

  EXPECT_EQ(form->Gauge->PercentDone(), 50);
  const harness::Bitmap32 gauge = CaptureScreen(form->Handle());
  const TPoint bar = form->Gauge->ClientToScreen(Point(10, 12));
  RECT window;
  GetWindowRect(form->Handle(), &window);
  EXPECT_EQ(gauge.PixelColor(bar.X - window.left, bar.Y - window.top), RGB(255, 0, 0));

  // February 2024 starts on a Thursday; weeks start on Sunday here.
  EXPECT_EQ(form->Calendar->CellText(0, 0), u"Sun");
  EXPECT_EQ(form->Calendar->CellText(4, 1), u"1");
  EXPECT_EQ(form->Calendar->CellText(4, 5), u"29");

  // The notebook shows its second page only.
  ASSERT_EQ(form->Book->Pages().size(), 2u);
  EXPECT_FALSE(form->Book->Pages()[0]->Visible());
  EXPECT_TRUE(form->Book->Pages()[1]->Visible());
  EXPECT_TRUE(IsWindowVisible(form->Book->Pages()[1]->Handle()));

  EXPECT_EQ(form->Masked->EditMask, u"!99/99/0000;1;_");
  EXPECT_EQ(form->Checks->Items().Count(), 2);

  // The file controls list what is there, and the filters' descriptions.
  ASSERT_EQ(form->Filter->Items().Count(), 2);
  EXPECT_EQ(form->Filter->Items()[0], u"Text files");
  EXPECT_GT(form->Folders->Items().Count(), 0);
  EXPECT_GT(form->Drives->Items().Count(), 0);
  EXPECT_FALSE(form->FolderLabel->Caption().empty());
  SaveForInspection(CaptureScreen(form->Handle()), L"legacyctrls.bmp");
}

}  // namespace
