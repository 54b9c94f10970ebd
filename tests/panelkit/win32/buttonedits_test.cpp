// The button edits, the drop-down edit, the combo boxes and the memo, read
// from the edit form and driven with real messages.
#include "panelkit/win32/edittest.h"
#include "rtl/unicode.h"
#include "ui/clipbrd.h"
#include "ui/commdlg.h"
#include "ui/forms.h"

namespace {

std::string U8(const String& s) {
  return StringToUTF8(s);
}

// A combo box whose clock the test sets, for the list style's typing delay.
class TTimedComboBox : public TPxComboBox {
 public:
  using TPxComboBox::TPxComboBox;
  Cardinal Now = 10000;

 protected:
  Cardinal TickCount() const override { return Now; }
};

TEST_F(EditKitTest, AButtonEditKeepsItsTextClearOfTheButton) {
  TEditKitForm& f = Edits();
  TPxButtonEdit& edit = *f.buttonEdit;
  EXPECT_EQ(U8(edit.ButtonCaption()), "...");
  EXPECT_EQ(edit.AppliedMargins().Y, 21);
  EXPECT_EQ(HIWORD(SendMessageW(edit.Handle(), EM_GETMARGINS, 0, 0)), 21);
  EXPECT_EQ(edit.Button().Left() + edit.Button().Width(), edit.ClientWidth());
  edit.GetEditMargins()->SetRight(7);
  EXPECT_EQ(edit.AppliedMargins().Y, 21) << "the configured right margin is replaced";
  edit.SetShowButton(false);
  EXPECT_EQ(edit.AppliedMargins().Y, 0);
  EXPECT_FALSE(IsWindowVisible(edit.Button().Handle()));
  edit.SetShowButton(true);

  harness::SendKey(edit.Handle(), VK_RETURN);
  EXPECT_TRUE(f.Events.empty()) << "Enter alone";
  harness::SendKey(edit.Handle(), VK_RETURN, {.ctrl = true});
  EXPECT_EQ(f.Events, (std::vector<std::string>{"button"}));
  const HWND button = edit.Button().Handle();
  harness::SendMouseDown(button, 5, 5);
  EXPECT_TRUE(edit.Button().Down());
  harness::SendMouseUp(button, 300, 5);
  EXPECT_EQ(f.Events.size(), 2u) << "released outside, it still clicks";
  SavePicture(ScreenPicture(edit.Handle()), L"panelkit-buttonedit.bmp");
}

TEST_F(EditKitTest, TypingCanBeSwitchedOffWhilePastingStays) {
  TEditKitForm& f = Edits();
  TPxImagePathEdit& edit = *f.imagePath;
  EXPECT_EQ(U8(f.folder->DialogCaption()), "Choose a folder");
  EXPECT_EQ(U8(f.folder->Root()), "\\");
  edit.SetText(u"pic.bmp");
  edit.SetFocus();
  edit.SetSelStart(3);
  harness::SendKey(edit.Handle(), VK_BACK, {}, 8);
  harness::SendKey(edit.Handle(), VK_DELETE);
  harness::SendChar(edit.Handle(), u'x');
  EXPECT_EQ(U8(edit.Text()), "pic.bmp");
  Clipboard().SetAsText(u"new-");
  SendMessageW(edit.Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(U8(edit.Text()), "picnew-.bmp");
  edit.SetOptions({epDisableTyping, epDisablePaste});
  SendMessageW(edit.Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(U8(edit.Text()), "picnew-.bmp");
}

TEST_F(EditKitTest, TheImagePathEditTakesThePictureDialogsFile) {
  TEditKitForm& f = Edits();
  TPxImagePathEdit& edit = *f.imagePath;
  edit.SetText(u"old.bmp");
  bool confirm = false;
  int shown = 0;
  FApp->CommonDialogHook = [&](TCommonDialog& dialog) {
    ++shown;
    EXPECT_NE(dynamic_cast<TOpenDialog*>(&dialog), nullptr);
    static_cast<TOpenDialog&>(dialog).SetFileName(u"C:\\pictures\\tree.bmp");
    return confirm;
  };
  harness::SendKey(edit.Handle(), VK_RETURN, {.ctrl = true});
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(U8(edit.Text()), "old.bmp") << "a cancelled dialog changes nothing";
  confirm = true;
  harness::SendKey(edit.Handle(), VK_RETURN, {.ctrl = true});
  EXPECT_EQ(U8(edit.Text()), "C:\\pictures\\tree.bmp");
  FApp->CommonDialogHook = nullptr;
}

TEST_F(EditKitTest, TheComboBoxCompletesWhatIsTyped) {
  TEditKitForm& f = Edits();
  TPxComboBox& combo = *f.combo;
  combo.SetFocus();
  Type(combo, L"ap");
  EXPECT_EQ(U8(combo.Text()), "Apple");
  EXPECT_EQ(combo.ItemIndex(), 0);
  EXPECT_EQ(U8(combo.SelText()), "ple");
  Type(combo, L"r");
  EXPECT_EQ(U8(combo.Text()), "Apricot");
  EXPECT_EQ(U8(combo.SelText()), "icot");
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(f.Events, (std::vector<std::string>{"select:0", "select:1"}));
  combo.SetText(u"");
  Type(combo, L"x");
  EXPECT_EQ(U8(combo.Text()), "x") << "no item starts so: the character goes through";
  EXPECT_EQ(combo.ItemIndex(), -1);
}

TEST_F(EditKitTest, TheListStyleCollectsCharactersWithinTheDelay) {
  TEditKitForm& f = Edits();
  auto* combo = new TTimedComboBox(&f);
  combo->SetParent(&f);
  combo->Items().Assign(f.combo->Items());
  combo->SetAutoComplete(true);
  combo->SetStyle(dsDropDownList);
  combo->SetFocus();
  Type(*combo, L"b");
  EXPECT_EQ(U8(combo->Text()), "Banana");
  combo->Now += 1000;
  Type(*combo, L"a");
  combo->Now += 100;
  Type(*combo, L"p");
  EXPECT_EQ(U8(combo->Text()), "Apple") << "a then p within the delay";
  EXPECT_EQ(U8(combo->Filter()), "Ap") << "in the item's own case";
  combo->Now += 800;
  Type(*combo, L"p");
  EXPECT_EQ(U8(combo->Text()), "Apple") << "a lone p starts nothing";
  EXPECT_EQ(U8(combo->Filter()), "");
}

TEST_F(EditKitTest, ArrowsAndTheWheelStepThroughTheItems) {
  TEditKitForm& f = Edits();
  TPxComboBox& combo = *f.combo;
  combo.SetFocus();
  harness::SendKey(combo.Handle(), VK_DOWN);
  EXPECT_EQ(combo.ItemIndex(), 0) << "from -1 Down selects the first item";
  const auto wheel = [&](int notches) {
    SendMessageW(combo.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA * notches), 0);
  };
  wheel(-1);
  wheel(-1);
  wheel(-1);
  EXPECT_EQ(combo.ItemIndex(), 2) << "stops at the last";
  EXPECT_EQ(U8(combo.Text()), "Banana");
  harness::SendKey(combo.Handle(), VK_UP);
  EXPECT_EQ(U8(combo.Text()), "Apricot");
  combo.SetItemIndex(5);
  EXPECT_EQ(combo.ItemIndex(), 5);
  EXPECT_EQ(U8(combo.Text()), "Apricot") << "an index out of range leaves the text";
}

TEST_F(EditKitTest, TheListDropsBelowTheEditAndDeliversAChoice) {
  TEditKitForm& f = Edits();
  TPxComboBox& combo = *f.combo;
  combo.SetFocus();
  combo.SetListWidth(50);
  harness::SendKey(combo.Handle(), VK_DOWN, {.alt = true});
  ASSERT_TRUE(combo.DroppedDown());
  TPxPopupList& list = combo.List();
  EXPECT_TRUE(IsWindowVisible(list.Handle()));
  EXPECT_EQ(list.Width(), combo.Width()) << "never narrower than the edit";
  EXPECT_EQ(list.ClientHeight(), 3 * 16);
  RECT bounds{};
  GetWindowRect(list.Handle(), &bounds);
  RECT edit{};
  GetWindowRect(combo.Handle(), &edit);
  EXPECT_EQ(bounds.left, edit.left) << "at the edit's outer edge";
  EXPECT_EQ(bounds.top, edit.bottom);
  SavePicture(ScreenPicture(list.Handle()), L"panelkit-combolist.bmp");
  harness::SendMouseMove(list.Handle(), 10, 2 * 16 + 4);
  harness::SendClick(list.Handle(), 10, 2 * 16 + 4);
  EXPECT_FALSE(combo.DroppedDown());
  EXPECT_FALSE(IsWindowVisible(list.Handle()));
  EXPECT_EQ(combo.ItemIndex(), 2);
  EXPECT_EQ(U8(combo.Text()), "Banana");
  EXPECT_EQ(f.Events.back(), "select:2");
}

TEST_F(EditKitTest, DisplayModesShowNamesOrValues) {
  TEditKitForm& f = Edits();
  auto* combo = new TPxComboBox(&f);
  combo->SetParent(&f);
  combo->Items().SetTextStr(u"a=1\r\nb=2\r\nabc");
  combo->SetDisplayMode(dmNameList);
  combo->SetItemIndex(1);
  EXPECT_EQ(U8(combo->Text()), "b");
  EXPECT_EQ(U8(combo->SelectedItemName()), "b");
  EXPECT_EQ(U8(combo->SelectedItemValue()), "2");
  combo->SetDisplayMode(dmValueList);
  combo->SetItemIndex(2);
  EXPECT_EQ(U8(combo->Text()), "bc") << "an item without = loses its first character";
  EXPECT_EQ(combo->LocateKey(u'A'), -1) << "after abc, no wrapping around";
  combo->SetItemIndex(0);
  EXPECT_EQ(combo->LocateKey(u'A'), 2);
  combo->SetItemIndex(1);
  EXPECT_EQ(combo->LocateKey(u'a'), 0);
  EXPECT_EQ(combo->SearchFor(u"a"), -1);
}

TEST_F(EditKitTest, TheFontComboListsTheSystemsFonts) {
  TEditKitForm& f = Edits();
  TPxFontComboBox& fonts = *f.fonts;
  ASSERT_GT(fonts.Items().Count(), 0);
  EXPECT_EQ(fonts.Items().Count(), Screen->Fonts().Count());
  const String first = fonts.Items().Get(0);
  fonts.SetItemIndex(0);
  EXPECT_EQ(U8(fonts.Text()), U8(first));
  fonts.SetFocus();
  harness::SendKey(fonts.Handle(), VK_DOWN, {.alt = true});
  ASSERT_TRUE(fonts.DroppedDown());
  EXPECT_EQ(fonts.List().Items().Count(), fonts.Items().Count());
  EXPECT_EQ(fonts.List().ClientHeight(), std::min(8, fonts.Items().Count()) * 16);
  SavePicture(ScreenPicture(fonts.List().Handle()), L"panelkit-fontlist.bmp");
  harness::SendKey(fonts.Handle(), VK_ESCAPE, {}, 27);
  EXPECT_FALSE(fonts.DroppedDown());
  SavePicture(ScreenPicture(f.Handle()), L"panelkit-edits-all.bmp");
}

TEST_F(EditKitTest, ThePopupEditOpensOnceAndReportsInOrder) {
  TEditKitForm& f = Edits();
  auto* edit = new TPxPopupEdit(&f);
  edit->SetParent(&f);
  std::vector<std::string> events;
  edit->OnSelect = TNotifyEvent([&](TObject*) { events.push_back("select:" + U8(edit->Text())); });
  edit->OnCloseUp = TNotifyEvent([&](TObject*) { events.push_back("closeup:" + U8(edit->Text())); });
  edit->SetDroppedDown(true);
  EXPECT_TRUE(edit->Editing());
  EXPECT_EQ(edit->Popup().Width(), edit->Width());
  edit->Popup().Input(u"chosen");
  EXPECT_EQ(events, (std::vector<std::string>{"select:", "closeup:chosen"}));
  edit->SetDroppedDown(false);
  EXPECT_EQ(events.size(), 2u) << "closing a closed drop-down does nothing";
  EXPECT_FALSE(edit->Editing());
}

TEST_F(EditKitTest, TheMemoLaysItsTextOutInsideTheMargin) {
  TEditKitForm& f = Edits();
  TPxMemo& memo = *f.memo;
  const auto layout = [&] {
    RECT r{};
    SendMessageW(memo.Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
  };
  const RECT margined = layout();
  memo.SetMargin(0);
  const RECT plain = layout();
  EXPECT_EQ(margined.left - plain.left, 10);
  EXPECT_EQ(plain.right - margined.right, 10);
  memo.SetMargin(10);
  EXPECT_GT(SendMessageW(memo.Handle(), EM_GETLINECOUNT, 0, 0), 1) << "the long line wraps";
  const Integer before = memo.Lines().Count();
  memo.Add(u"");
  memo.Add(u"%s has %d lines", {u"the memo", 3});
  EXPECT_EQ(memo.Lines().Count(), before + 2);
  EXPECT_EQ(U8(memo.Lines().Get(before + 1)), "the memo has 3 lines");
}

}  // namespace

namespace {

TEST_F(EditKitTest, ASpinEditsPushButtonSitsLeftAndClicks) {
  TEditKitForm& f = Edits();
  TPxSpinEdit& spin = *f.spin;
  int clicks = 0;
  spin.OnButtonClick = TNotifyEvent([&](TObject*) { ++clicks; });
  EXPECT_FALSE(spin.PushButton().Visible());
  spin.SetButtonCaption(u"Go");
  spin.SetShowButton(true);
  EXPECT_TRUE(spin.PushButton().Visible());
  EXPECT_EQ(spin.PushButton().Left(), 0);
  EXPECT_EQ(spin.AppliedMargins().X, 21);
  spin.SetButtonWidth(30);
  EXPECT_EQ(spin.AppliedMargins().X, 30);
  harness::SendClick(spin.PushButton().Handle(), 5, 5);
  EXPECT_EQ(clicks, 1);
  spin.SetSpinButtons(false);
  EXPECT_EQ(spin.AppliedMargins().Y, 0);
  SavePicture(ScreenPicture(spin.Handle()), L"panelkit-spinbutton.bmp");
}

TEST_F(EditKitTest, AClickOnAListStyleComboOpensItsList) {
  TEditKitForm& f = Edits();
  TPxFontComboBox& fonts = *f.fonts;
  int closeUps = 0;
  fonts.OnCloseUp = TNotifyEvent([&](TObject*) { ++closeUps; });
  harness::SendClick(fonts.Handle(), 40, 5);
  EXPECT_TRUE(fonts.DroppedDown());
  fonts.SetDroppedDown(true);
  f.edit->SetFocus();
  Pump();
  EXPECT_FALSE(fonts.DroppedDown()) << "losing the focus closes the list";
  EXPECT_EQ(closeUps, 1);
}

}  // namespace
