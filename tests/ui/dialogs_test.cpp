// The three message boxes (captions, owner, open-box count) and the
// platform's message dialog (type captions, buttons, results).
// The door to the system headers first: it takes back the names they rename.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include "ui/dialogs.h"
#include "ui/messageboxes.h"
#include "ui/uitest.h"

namespace {

using DialogsTest = UiTest;

TEST_F(DialogsTest, TheBoxesHaveTheirDefaultCaptionsIconsAndButtons) {
  struct Case {
    const char* what;
    std::function<void()> show;
    const char16_t* caption;
    UINT flags;
  } cases[] = {
      {"confirmation", [] { Confirmation(u"Sure?"); }, u"Confirmation", MB_YESNO | MB_ICONQUESTION},
      {"warning", [] { Warning(u"Careful"); }, u"Warning", MB_OK | MB_ICONWARNING},
      {"information", [] { Information(u"Done"); }, u"Information", MB_OK | MB_ICONINFORMATION},
      {"own caption", [] { Warning(u"Careful", u"Mine"); }, u"Mine", MB_OK | MB_ICONWARNING},
  };
  for (const Case& c : cases) {
    FBoxes.clear();
    c.show();
    ASSERT_EQ(FBoxes.size(), 1u) << c.what;
    EXPECT_EQ(FBoxes[0].Caption, c.caption) << c.what;
    EXPECT_EQ(FBoxes[0].Flags, c.flags) << c.what;
  }
  EXPECT_EQ(DefaultBoxCaption(TBoxCaption::Error), u"Error");
  EXPECT_EQ(DefaultBoxCaption(TBoxCaption::Debug), u"Debug message");
}

TEST_F(DialogsTest, ConfirmationIsTrueOnlyForYesAndCountsOpenBoxes) {
  int openWhileShown = -1;
  FApp->MessageBoxHook = [&](const TMessageBoxRequest&) {
    openWhileShown = OpenBoxCount();
    return FBoxAnswer;
  };
  EXPECT_EQ(OpenBoxCount(), 0);
  FBoxAnswer = IDYES;
  EXPECT_TRUE(Confirmation(u"Sure?"));
  EXPECT_EQ(openWhileShown, 1);
  EXPECT_EQ(OpenBoxCount(), 0);
  FBoxAnswer = IDNO;
  EXPECT_FALSE(Confirmation(u"Sure?"));
  FApp->MessageBoxHook = [](const TMessageBoxRequest&) -> int { throw EAbort(u""); };
  EXPECT_THROW(Information(u"x"), EAbort);
  EXPECT_EQ(OpenBoxCount(), 0) << "lowered also when the box fails";
}

TEST_F(DialogsTest, TheOwnerIsTheActiveFormElseTheMainFormElseTheApplication) {
  EXPECT_EQ(GetOwnerWindow(), FApp->Handle());
  TLayoutForm* main = nullptr;
  FApp->CreateForm(main);
  main->HandleNeeded();
  EXPECT_EQ(GetOwnerWindow(), main->Handle());
  auto* other = CreateForm<TLayoutForm>(FApp.get());
  other->Show();
  Pump();
  other->ButtonOK->SetFocus();
  Pump();
  EXPECT_EQ(Screen->ActiveForm(), other);
  FBoxes.clear();
  Information(u"Hello");
  ASSERT_EQ(FBoxes.size(), 1u);
  EXPECT_EQ(FBoxes[0].Owner, other->Handle());
}

TEST_F(DialogsTest, MessageDialogsHaveTheirCaptionsButtonsAndResults) {
  EXPECT_EQ(MessageDlgCaption(mtWarning), u"Warning");
  EXPECT_EQ(MessageDlgCaption(mtError), u"Error");
  EXPECT_EQ(MessageDlgCaption(mtInformation), u"Information");
  EXPECT_EQ(MessageDlgCaption(mtConfirmation), u"Confirm");
  EXPECT_EQ(MessageDlgCaption(mtCustom), u"Kestrum tests");

  TFormPtr<TForm> dialog = CreateMessageDialog(u"Save changes to file a.dfm?", mtConfirmation, mbYesNoCancel);
  EXPECT_EQ(dialog->Caption(), u"Confirm");
  auto* yes = static_cast<TButton*>(dialog->FindComponent(u"Yes"));
  auto* no = static_cast<TButton*>(dialog->FindComponent(u"No"));
  auto* cancel = static_cast<TButton*>(dialog->FindComponent(u"Cancel"));
  ASSERT_TRUE(yes && no && cancel);
  EXPECT_EQ(dialog->FindComponent(u"OK"), nullptr);
  EXPECT_EQ(yes->Caption(), u"&Yes");
  EXPECT_TRUE(yes->Default());
  EXPECT_TRUE(cancel->Cancel());
  EXPECT_LT(yes->Left(), no->Left());
  EXPECT_LT(no->Left(), cancel->Left());
  auto* text = static_cast<TLabel*>(dialog->FindComponent(u"Message"));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->Caption(), u"Save changes to file a.dfm?");
  EXPECT_GE(dialog->ClientWidth(), cancel->Left() + cancel->Width());

  // Shown for real: the keys of a person.
  struct Case {
    const char* what;
    UINT key;
    const char16_t* button;
    TModalResult expected;
  } cases[] = {
      {"Enter", VK_RETURN, nullptr, mrYes},
      {"Esc", VK_ESCAPE, nullptr, mrCancel},
      {"accelerator N", 'N', nullptr, mrNo},
      {"click on No", 0, u"No", mrNo},
  };
  for (const Case& c : cases) {
    TFormPtr<TForm> d = CreateMessageDialog(u"Question?", mtConfirmation, mbYesNoCancel);
    TForm* raw = d.get();
    raw->OnShow = TNotifyEvent([&c, raw](TObject*) {
      auto* target = static_cast<TButton*>(raw->FindComponent(c.button ? c.button : u"Yes"));
      if (c.button)
        PostMessageW(target->Handle(), BM_CLICK, 0, 0);
      else if (c.key == 'N')
        PostMessageW(target->Handle(), WM_CHAR, 'n', 1);
      else
        PostMessageW(target->Handle(), WM_KEYDOWN, c.key, 1);
    });
    EXPECT_EQ(raw->ShowModal(), c.expected) << c.what;
  }

  // The hook answers instead.
  TMessageDlgRequest seen;
  FApp->MessageDlgHook = [&](const TMessageDlgRequest& r) {
    seen = r;
    return mrNo;
  };
  EXPECT_EQ(MessageDlg(u"Cannot open file x.", mtError, {mbOK}), mrNo);
  EXPECT_EQ(seen.Msg, u"Cannot open file x.");
  EXPECT_EQ(seen.DlgType, mtError);
  EXPECT_EQ(seen.Buttons, TMsgDlgButtons{mbOK});
  EXPECT_EQ(seen.Caption, u"Error");
}

}  // namespace
