// The shape, static text, speed buttons, link label, control bar, edit with
// buttons, spin edit, standard edit actions, picture dialog and DDE server
// read from a form resource as the IDE writes them, shown and used.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include "ui/actnlist.h"
#include "ui/ddeman.h"
#include "ui/extdlgs.h"
#include "ui/morectrls.h"
#include "ui/stdactns.h"
#include "ui/uitest.h"

namespace {

class TMoreCtrlsForm : public TForm {
  KST_CLASS(TMoreCtrlsForm, TForm)
 public:
  using TForm::TForm;
  TShape* Circle = nullptr;
  TShape* Frame = nullptr;
  TStaticText* Caption1 = nullptr;
  TSpeedButton* Bold = nullptr;
  TSpeedButton* Italic = nullptr;
  TLinkLabel* Link = nullptr;
  TControlBar* Bar = nullptr;
  TPanel* BarPanel = nullptr;
  TButtonedEdit* Search = nullptr;
  TSpinEdit* Count = nullptr;
  TActionList* Actions = nullptr;
  TEditCopy* CopyAction = nullptr;
  TEditSelectAll* SelectAllAction = nullptr;
  TOpenPictureDialog* PictureDialog = nullptr;
  TDdeServerConv* Server = nullptr;
  TDdeServerItem* ServerItem = nullptr;
  std::vector<String> Links;
  void BoldClick(TObject*) {}
  void LinkLinkClick(TObject*, const String& link, TSysLinkType) { Links.push_back(link); }
  void SearchRightButtonClick(TObject*) {}
};

}  // namespace

KST_CLASS_IMPL(TMoreCtrlsForm, "UiTests")

void TMoreCtrlsForm::Describe(TClassBuilder<TMoreCtrlsForm>& c) {
#define KST_FIELD(name) c.Field(u## #name, &TMoreCtrlsForm::name)
  KST_FIELD(Circle);
  KST_FIELD(Frame);
  KST_FIELD(Caption1);
  KST_FIELD(Bold);
  KST_FIELD(Italic);
  KST_FIELD(Link);
  KST_FIELD(Bar);
  KST_FIELD(BarPanel);
  KST_FIELD(Search);
  KST_FIELD(Count);
  KST_FIELD(Actions);
  KST_FIELD(CopyAction);
  KST_FIELD(SelectAllAction);
  KST_FIELD(PictureDialog);
  KST_FIELD(Server);
  KST_FIELD(ServerItem);
#undef KST_FIELD
  c.Method(u"BoldClick", &TMoreCtrlsForm::BoldClick);
  c.Method(u"LinkLinkClick", &TMoreCtrlsForm::LinkLinkClick);
  c.Method(u"SearchRightButtonClick", &TMoreCtrlsForm::SearchRightButtonClick);
}

namespace {

class MoreCtrlsTest : public UiTest {
 protected:
  TMoreCtrlsForm* Show() {
    auto* form = CreateForm<TMoreCtrlsForm>(FApp.get());
    form->Show();
    Pump();
    UpdateWindow(form->Handle());
    Pump();
    return form;
  }
};

TEST_F(MoreCtrlsTest, TheFormLoadsShowsAndDrawsItsShapes) {
  TMoreCtrlsForm* form = Show();
  EXPECT_EQ(form->Circle->Shape(), stCircle);
  EXPECT_EQ(form->Circle->GetBrush()->Color(), clRed);
  EXPECT_EQ(form->Circle->GetPen()->Style(), psClear);
  EXPECT_TRUE(form->Bold->Down());
  EXPECT_TRUE(form->Search->GetRightButton()->Visible);
  EXPECT_EQ(form->Search->GetRightButton()->ImageIndex, 2);
  EXPECT_EQ(form->Search->TextHint, u"Search");
  EXPECT_EQ(form->Count->Value(), 7);
  EXPECT_EQ(form->Count->MaxValue, 10);
  EXPECT_EQ(form->ServerItem->ServerConv(), form->Server);
  EXPECT_NE(form->PictureDialog->Filter().find(u"*.bmp"), String::npos);
  EXPECT_EQ(form->BarPanel->Parent(), form->Bar);
  EXPECT_TRUE(IsWindowVisible(form->Caption1->Handle()));
  const harness::Bitmap32 shot = CaptureScreen(form->Handle());
  SaveForInspection(shot, L"morectrls.bmp");
  // The middle of the circle is red, the middle of the frame green.
  POINT origin{0, 0};
  ClientToScreen(form->Handle(), &origin);
  RECT window{};
  GetWindowRect(form->Handle(), &window);
  const int dx = origin.x - window.left, dy = origin.y - window.top;
  EXPECT_EQ(shot.Pixel(dx + 38, dy + 28) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(shot.Pixel(dx + 106, dy + 28) & 0xFFFFFF, 0x00FF00u);
}

TEST_F(MoreCtrlsTest, SpeedButtonsOfAGroupStayDownOneAtATime) {
  TMoreCtrlsForm* form = Show();
  form->Italic->Click();
  EXPECT_TRUE(form->Italic->Down());
  EXPECT_FALSE(form->Bold->Down());
  form->Italic->Click();
  EXPECT_TRUE(form->Italic->Down()) << "the group does not allow all up";
  form->Bold->AllowAllUp = true;
  form->Bold->Click();
  form->Bold->Click();
  EXPECT_FALSE(form->Bold->Down());
}

TEST_F(MoreCtrlsTest, ALinkClickReportsTheTargetAndOpensNothing) {
  EXPECT_EQ(TLinkLabel::Parse(u"See <a href=\"x://y\">it</a>").size(), 2u);
  EXPECT_EQ(TLinkLabel::Parse(u"plain <a unclosed").size(), 1u) << "an unclosed tag is text";
  EXPECT_EQ(TLinkLabel::Parse(u"<a></a>")[0].Link, u"#");
  TMoreCtrlsForm* form = Show();
  HDC dc = GetDC(form->Link->Handle());
  SelectObject(dc, form->Font().Handle());
  SIZE before{};
  GetTextExtentPoint32W(dc, L"See ", 4, &before);
  ReleaseDC(form->Link->Handle(), dc);
  SendMessageW(form->Link->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(before.cx + 6, 5));
  SendMessageW(form->Link->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(before.cx + 6, 5));
  ASSERT_EQ(form->Links.size(), 1u);
  EXPECT_EQ(form->Links[0], u"https://example.invalid/");
}

TEST_F(MoreCtrlsTest, TheEditActionsWorkOnTheFocusedEdit) {
  TMoreCtrlsForm* form = Show();
  form->Search->SetFocus();
  Pump();
  form->SelectAllAction->Update();
  EXPECT_TRUE(form->SelectAllAction->Enabled());
  EXPECT_TRUE(form->SelectAllAction->Execute());
  DWORD start = 0, end = 0;
  SendMessageW(form->Search->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 7u);
  form->Bar->SetFocus();
  Pump();
  form->CopyAction->Update();
  EXPECT_FALSE(form->CopyAction->Enabled()) << "no edit has the focus";
}

}  // namespace
