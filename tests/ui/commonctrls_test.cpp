// The common controls of the system read from a form resource as the IDE
// writes them: each shows as the system's own window with the values of the
// form, and a file named in the form is never opened.
#include "ui/winapi.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <richedit.h>

#include "ui/commonctrls.h"
#include "ui/uitest.h"

namespace {

class TCommonCtrlsForm : public TForm {
  KST_CLASS(TCommonCtrlsForm, TForm)
 public:
  using TForm::TForm;
  TProgressBar* Progress = nullptr;
  TTrackBar* Track = nullptr;
  TEdit* Count = nullptr;
  TUpDown* Spin = nullptr;
  THotKey* Keys = nullptr;
  TDateTimePicker* Picker = nullptr;
  TMonthCalendar* Month = nullptr;
  TAnimate* Movie = nullptr;
  TTabControl* Tabs = nullptr;
  TLabel* TabLabel = nullptr;
  TRichEdit* Rich = nullptr;
  void TrackChange(TObject*) {}
};

}  // namespace

KST_CLASS_IMPL(TCommonCtrlsForm, "UiTests")

void TCommonCtrlsForm::Describe(TClassBuilder<TCommonCtrlsForm>& c) {
#define KST_FIELD(name) c.Field(u## #name, &TCommonCtrlsForm::name)
  KST_FIELD(Progress);
  KST_FIELD(Track);
  KST_FIELD(Count);
  KST_FIELD(Spin);
  KST_FIELD(Keys);
  KST_FIELD(Picker);
  KST_FIELD(Month);
  KST_FIELD(Movie);
  KST_FIELD(Tabs);
  KST_FIELD(TabLabel);
  KST_FIELD(Rich);
#undef KST_FIELD
  c.Method(u"TrackChange", &TCommonCtrlsForm::TrackChange);
}

namespace {

class CommonCtrlsTest : public UiTest {};

TEST_F(CommonCtrlsTest, EveryControlShowsAsTheSystemsWindowWithTheFormsValues) {
  auto* form = CreateForm<TCommonCtrlsForm>(FApp.get());
  form->Show();
  Pump();
  UpdateWindow(form->Handle());
  Pump();
  // Each answers its system window's own messages with the form's values.
  for (TWinControl* control :
       std::initializer_list<TWinControl*>{form->Progress, form->Track, form->Spin, form->Keys, form->Picker,
                                           form->Month, form->Movie, form->Tabs, form->Rich})
    EXPECT_TRUE(IsWindowVisible(control->Handle())) << StringToUTF8(control->Name());
  EXPECT_EQ(SendMessageW(form->Progress->Handle(), PBM_GETPOS, 0, 0), 150);
  EXPECT_EQ(SendMessageW(form->Track->Handle(), TBM_GETPOS, 0, 0), 5);
  EXPECT_EQ(SendMessageW(form->Track->Handle(), TBM_GETRANGEMAX, 0, 0), 20);
  EXPECT_EQ(form->Spin->Associate(), form->Count);
  EXPECT_EQ(LOWORD(SendMessageW(form->Spin->Handle(), UDM_GETPOS32, 0, 0)), 3);
  EXPECT_EQ(LOBYTE(SendMessageW(form->Keys->Handle(), HKM_GETHOTKEY, 0, 0)), 'S');
  SYSTEMTIME picked{};
  SendMessageW(form->Picker->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked));
  EXPECT_EQ(picked.wYear, 2023);
  EXPECT_EQ(picked.wMonth, 12);
  EXPECT_EQ(picked.wDay, 31);
  EXPECT_EQ(SendMessageW(form->Tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(form->Tabs->Handle(), TCM_GETCURSEL, 0, 0), 1);
  EXPECT_GT(form->TabLabel->Top(), 0);
  EXPECT_EQ(form->Rich->Lines().Count(), 2);
  EXPECT_EQ(form->Movie->FileName, u"C:\\Windows\\clock.avi") << "kept, never opened";
  SaveForInspection(CaptureScreen(form->Handle()), L"commonctrls.bmp");
}

// The paragraph formatting of the selection, set through the paragraph
// object and seen by the window, and read back in points.
TEST_F(CommonCtrlsTest, TheRichEditsParagraphFormatsTheSelectedParagraphs) {
  auto* form = CreateForm<TCommonCtrlsForm>(FApp.get());
  form->Show();
  Pump();
  TRichEdit& rich = *form->Rich;
  TParaAttributes& para = *rich.Paragraph();
  SendMessageW(rich.Handle(), EM_SETSEL, 0, 0);
  EXPECT_EQ(para.Alignment(), taLeftJustify);
  EXPECT_EQ(para.Numbering(), nsNone);
  para.SetAlignment(taCenter);
  para.SetFirstIndent(10);
  para.SetLeftIndent(5);
  para.SetRightIndent(20);
  para.SetNumbering(nsBullet);
  para.SetTab(0, 36);
  para.SetTab(1, 72);
  PARAFORMAT2 seen{};
  seen.cbSize = sizeof seen;
  SendMessageW(rich.Handle(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(seen.wAlignment, PFA_CENTER);
  EXPECT_EQ(seen.dxStartIndent, 200);
  EXPECT_EQ(seen.dxRightIndent, 400);
  EXPECT_EQ(seen.wNumbering, PFN_BULLET);
  EXPECT_EQ(para.Alignment(), taCenter);
  EXPECT_EQ(para.FirstIndent(), 10);
  EXPECT_EQ(para.LeftIndent(), 5);
  EXPECT_EQ(para.RightIndent(), 20);
  EXPECT_EQ(para.Numbering(), nsBullet);
  ASSERT_EQ(para.TabCount(), 2);
  EXPECT_EQ(para.Tab(1), 72);
  para.SetTabCount(1);
  EXPECT_EQ(para.TabCount(), 1);
  EXPECT_THROW(para.Tab(32), EListError);
  EXPECT_THROW(para.SetTab(-1, 5), EListError);
  // The second line keeps its own format until it is selected.
  const LRESULT second = SendMessageW(rich.Handle(), EM_LINEINDEX, 1, 0);
  SendMessageW(rich.Handle(), EM_SETSEL, second, second);
  EXPECT_EQ(para.Alignment(), taLeftJustify);
  para.SetAlignment(taRightJustify);
  EXPECT_EQ(para.Alignment(), taRightJustify);
  TParaAttributes detached;
  EXPECT_EQ(detached.FirstIndent(), 0);
  detached.SetAlignment(taCenter);  // nothing to format: ignored
  rich.Repaint();
  Pump();
  SaveForInspection(CaptureScreen(form->Handle()), L"richedit-paragraph.bmp");
}

TEST_F(CommonCtrlsTest, ADateOutsideTheCalendarIsKeptButNotShown) {
  auto* form = CreateForm<TCommonCtrlsForm>(FApp.get());
  form->Picker->Date = 1.0e12;
  form->Picker->RecreateWnd();
  form->Show();
  Pump();
  EXPECT_TRUE(IsWindow(form->Picker->Handle()));
  EXPECT_EQ(form->Picker->Date, 1.0e12);
}

}  // namespace
