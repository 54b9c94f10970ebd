// The edit base, the number and spin edits and the toggles, read from a
// form file and driven with real messages.
#include <memory>

#include "panelkit/win32/edittest.h"
#include "support/win32/realinput.h"
#include "rtl/exceptions.h"
#include "rtl/formatsettings.h"
#include "rtl/unicode.h"
#include "ui/clipbrd.h"

namespace {

std::string U8(const String& s) {
  return StringToUTF8(s);
}

std::unique_ptr<TBitmap> SolidBitmap(Integer width, Integer height, TColor color) {
  auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
  bitmap->Canvas().Brush().SetColor(color);
  bitmap->Canvas().FillRect(TRect(0, 0, width, height));
  return bitmap;
}

TEST_F(EditKitTest, TheFormReadsEveryEditAndToggle) {
  TEditKitForm& f = Edits();
  ASSERT_TRUE(f.edit && f.number && f.spin && f.priced && f.check && f.radio1 && f.radio2 && f.radio3);
  EXPECT_EQ(U8(f.edit->Text()), "Plain text");
  EXPECT_TRUE(f.edit->ShowPreview());
  EXPECT_EQ(f.edit->GetEditMargins()->Left(), 3);
  EXPECT_EQ(f.edit->AppliedMargins().X, 31) << "a configured margin of 3 with the preview: 2 * 3 + 25";
  EXPECT_EQ(U8(f.number->Text()), "2.50");
  EXPECT_EQ(f.number->Max(), 10);
  EXPECT_EQ(U8(f.spin->Text()), "4");
  EXPECT_EQ(f.spin->Increment(), 2);
  EXPECT_EQ(f.spin->Min(), -4);
  EXPECT_EQ(U8(f.priced->Text()), "No.1 12.00 m2");
  EXPECT_TRUE(f.check->Checked());
  EXPECT_EQ(U8(f.check->Caption()), "Wrap long lines");
  EXPECT_TRUE(f.radio1->Checked());
  EXPECT_FALSE(f.radio2->Checked());
  EXPECT_EQ(f.radio2->Parent(), f.group);
  // The platform's edit properties the kit's edits publish as well.
  ASSERT_NE(f.secret, nullptr);
  EXPECT_EQ(f.secret->PasswordChar(), u'*');
  EXPECT_TRUE(GetWindowLongW(f.secret->Handle(), GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(f.secret->Kept.BevelKind, bkFlat);
  EXPECT_EQ(f.secret->Kept.BevelEdges, (TBevelEdges{beLeft, beBottom}));
  EXPECT_EQ(f.secret->Kept.BevelInner, bvNone);
  EXPECT_EQ(f.secret->Kept.BevelOuter, bvRaised);
  EXPECT_EQ(f.secret->Kept.BorderWidth, 1);
  EXPECT_FALSE(f.secret->Kept.ParentBiDiMode);
  EXPECT_FALSE(f.secret->Kept.EditAutoSize);
  EXPECT_TRUE(FExceptions.empty());
  SavePicture(ScreenPicture(f.Handle()), L"panelkit-edits.bmp");
}

TEST_F(EditKitTest, ANewEditHasItsDefaultsAndMarginsFollowGlyphAndPreview) {
  TEditKitForm& f = Edits();
  auto* edit = new TPxEdit(&f);
  edit->SetParent(&f);
  EXPECT_EQ(edit->Width(), 121);
  EXPECT_EQ(edit->Height(), 20);
  EXPECT_EQ(edit->Alignment(), taLeftJustify);
  EXPECT_EQ(edit->BorderStyle(), bsSingle);
  EXPECT_EQ(edit->Color(), clWindow);
  EXPECT_EQ(edit->AppliedMargins(), Point(0, 0));
  EXPECT_FALSE(edit->Info().Visible());
  const DWORD margins = static_cast<DWORD>(SendMessageW(edit->Handle(), EM_GETMARGINS, 0, 0));
  EXPECT_EQ(LOWORD(margins), 0);

  edit->SetShowPreview(true);
  EXPECT_EQ(edit->Info().Width(), 20);
  EXPECT_EQ(edit->AppliedMargins().X, 25);
  EXPECT_EQ(LOWORD(SendMessageW(edit->Handle(), EM_GETMARGINS, 0, 0)), 25) << "the window has the margin too";

  auto glyph = SolidBitmap(16, 16, clFuchsia);
  edit->SetShowPreview(false);
  edit->SetGlyph(glyph.get());
  EXPECT_EQ(edit->Info().Width(), 20);
  EXPECT_EQ(edit->AppliedMargins().X, 20);
  EXPECT_TRUE(edit->Info().Visible());
  EXPECT_TRUE(edit->GetGlyph()->Transparent());
  EXPECT_EQ(edit->GetGlyph()->TransparentColor() & 0xFFFFFF, static_cast<TColor>(clFuchsia) & 0xFFFFFF);
  edit->SetShowPreview(true);
  EXPECT_EQ(edit->Info().Width(), 40);
  EXPECT_EQ(edit->AppliedMargins().X, 45);
}

TEST_F(EditKitTest, TheEditAsksForTabsOnlyWhenItWantsThem) {
  TEditKitForm& f = Edits();
  const auto code = [&] { return static_cast<UINT>(SendMessageW(f.edit->Handle(), WM_GETDLGCODE, 0, 0)); };
  EXPECT_TRUE(code() & DLGC_WANTARROWS);
  EXPECT_FALSE(code() & DLGC_WANTTAB);
  f.edit->SetWantTabs(true);
  EXPECT_TRUE(code() & DLGC_WANTTAB);
}

TEST_F(EditKitTest, TypedValuesReadAndRaiseAsThePlatformDoes) {
  TEditKitForm& f = Edits();
  f.edit->SetText(u"");
  EXPECT_EQ(f.edit->ValueAsFloat(), 0);
  EXPECT_EQ(f.edit->ValueAsInteger(), 0);
  EXPECT_THROW(f.edit->ValueAsBoolean(), EConvertError);
  f.edit->SetText(u"abc");
  EXPECT_THROW(f.edit->ValueAsFloat(), EConvertError);
  EXPECT_EQ(U8(f.edit->Text()), "abc") << "the text stays";
  f.edit->SetValueAsBoolean(true);
  EXPECT_EQ(U8(f.edit->Text()), "True");
  EXPECT_TRUE(f.edit->ValueAsBoolean());
  f.edit->SetValueAsInteger(-42);
  EXPECT_EQ(f.edit->ValueAsInteger(), -42);
}

TEST_F(EditKitTest, ThePreviewBoxIsPaintedByItsEvent) {
  TEditKitForm& f = Edits();
  harness::Bitmap32 info = harness::PaintClient(f.edit->Info().Handle());
  ASSERT_EQ(info.Width(), 20);
  EXPECT_EQ(info.PixelColor(0, 0), RGB(0x80, 0x80, 0x80)) << "the grey frame";
  EXPECT_EQ(info.PixelColor(10, info.Height() / 2), RGB(255, 0, 0)) << "the handler's swatch";
}

TEST_F(EditKitTest, TypingIntoANumberEditKeepsToNumbersAndTheRange) {
  TEditKitForm& f = Edits();
  f.number->SetFocus();
  f.number->SelectAll();
  Type(*f.number, L"2a5.-");
  EXPECT_EQ(U8(f.number->Text()), "25.") << "letters and a late sign never reach the text";
  Type(*f.number, L".");
  EXPECT_EQ(U8(f.number->Text()), "25.") << "a second separator is refused";
  f.spin->SetFocus();
  Pump();
  EXPECT_EQ(U8(f.number->Text()), "10.00") << "leaving brings 25 into the range";
  EXPECT_EQ(f.number->Value(), 10);
}

TEST_F(EditKitTest, ALoneSeparatorOrSignReadsAsZero) {
  TEditKitForm& f = Edits();
  for (const char16_t* text : {u".", u"-", u"-."}) {
    f.number->SetText(text);
    EXPECT_NO_THROW(EXPECT_EQ(f.number->Value(), 0)) << U8(text);
  }
  f.number->SetMin(5);
  f.number->SetText(u".");
  EXPECT_EQ(f.number->Value(), 5) << "brought into the range";
}

TEST_F(EditKitTest, AValueTypedAfterThePrefixIsReadAlone) {
  TEditKitForm& f = Edits();
  // The prefix "No.1 " carries a digit; typing 25 after it is the value 25, not 125.
  f.priced->SetText(u"No.1 25 m2");
  EXPECT_EQ(f.priced->Value(), 25);
  f.priced->SetText(u"25");
  EXPECT_EQ(f.priced->Value(), 25);
  f.priced->SetValue(0);
  EXPECT_EQ(U8(f.priced->Text()), "-") << "the null text";
  EXPECT_EQ(f.priced->Value(), 0);
}

TEST_F(EditKitTest, PastingKeepsTheNumberPart) {
  TEditKitForm& f = Edits();
  f.number->SetText(u"");
  Clipboard().SetAsText(u"price: 7.25 EUR");
  SendMessageW(f.number->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(U8(f.number->Text()), "7.25");
  f.number->SetText(u"7");
  f.number->SetSelStart(1);
  Clipboard().SetAsText(u"none");
  SendMessageW(f.number->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(U8(f.number->Text()), "7") << "no digits: nothing to insert";
}

TEST_F(EditKitTest, KeysAndTheWheelStepTheSpinEditWithinItsBounds) {
  TEditKitForm& f = Edits();
  TPxSpinEdit& spin = *f.spin;
  spin.SetFocus();
  harness::SendKey(spin.Handle(), VK_UP);
  Pump();
  EXPECT_EQ(U8(spin.Text()), "6");
  EXPECT_FALSE(spin.Buttons().Repeating()) << "the key's release stops the stepping";
  harness::SendKey(spin.Handle(), VK_DOWN);
  EXPECT_EQ(U8(spin.Text()), "4");
  const POINT centre{spin.Width() / 2, spin.Height() / 2};
  const auto wheel = [&](int notches) {
    POINT screen = centre;
    ClientToScreen(spin.Handle(), &screen);
    SendMessageW(spin.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA * notches), MAKELPARAM(screen.x, screen.y));
  };
  for (int i = 0; i < 10; ++i) wheel(1);
  EXPECT_EQ(U8(spin.Text()), "20") << "stops at the upper bound";
  for (int i = 0; i < 20; ++i) wheel(-1);
  EXPECT_EQ(U8(spin.Text()), "-4") << "stops at the lower bound";
  EXPECT_EQ(f.Events.front(), "spin:up");
  EXPECT_EQ(f.Events.back(), "spin:down");
  spin.SetReadOnly(true);
  wheel(1);
  EXPECT_EQ(U8(spin.Text()), "-4") << "a read-only edit does not step";
}

TEST_F(EditKitTest, TheSpinButtonsStepOnceForAShortClick) {
  TEditKitForm& f = Edits();
  TPxSpinButtons& buttons = f.spin->Buttons();
  ASSERT_TRUE(buttons.Visible());
  EXPECT_EQ(buttons.Left() + buttons.Width(), f.spin->ClientWidth());
  EXPECT_EQ(f.spin->AppliedMargins().Y, GetSystemMetrics(SM_CXVSCROLL));
  harness::SendClick(buttons.Handle(), 4, 2);
  Pump();
  EXPECT_EQ(U8(f.spin->Text()), "6");
  harness::SendClick(buttons.Handle(), 4, buttons.Height() - 2);
  Pump();
  EXPECT_EQ(U8(f.spin->Text()), "4");
  EXPECT_EQ(f.Events, (std::vector<std::string>{"spin:up", "spin:down"}));
  SavePicture(harness::PaintClient(buttons.Handle()), L"panelkit-spinbuttons.bmp");
}

TEST_F(EditKitTest, ASpinEditWithoutSignsStopsAtZero) {
  TEditKitForm& f = Edits();
  TPxSpinEdit& spin = *f.spin;
  spin.SetMin(0);
  spin.SetMax(0);
  spin.SetOptions({eoAllowFloat});
  spin.SetIncrement(1);
  spin.SetValue(0);
  harness::SendKey(spin.Handle(), VK_DOWN);
  EXPECT_EQ(U8(spin.Text()), "0");
  spin.SetValue(0.5);
  harness::SendKey(spin.Handle(), VK_DOWN);
  EXPECT_EQ(U8(spin.Text()), "0.5") << "no step may end below 0 without signs";
  EXPECT_EQ(spin.Value(), 0.5);
}

TEST_F(EditKitTest, TheCheckBoxTogglesInItsBoxOrAnywhereWhenAsked) {
  TEditKitForm& f = Edits();
  TPxCheckBox& check = *f.check;
  const TPoint box = Centre(check.BoxRect());
  harness::SendClick(check.Handle(), box.X, box.Y);
  EXPECT_FALSE(check.Checked());
  harness::SendClick(check.Handle(), check.Width() - 10, box.Y);
  EXPECT_FALSE(check.Checked()) << "beside the box";
  check.SetOptions({coExpandActiveRect});
  harness::SendClick(check.Handle(), check.Width() - 10, box.Y);
  EXPECT_TRUE(check.Checked());
  harness::SendKey(check.Handle(), VK_SPACE);
  EXPECT_FALSE(check.Checked());
  check.SetGrayed(true);
  EXPECT_EQ(f.Events, (std::vector<std::string>{"check:off", "check:on", "check:off"}));

  harness::Bitmap32 unticked = harness::PaintClient(check.Handle());
  check.SetChecked(true);
  harness::Bitmap32 ticked = harness::PaintClient(check.Handle());
  const TRect drawn = check.BoxRect();
  int changed = 0;
  for (int y = drawn.Top; y < drawn.Bottom; ++y)
    for (int x = drawn.Left; x < drawn.Right; ++x) changed += unticked.Pixel(x, y) != ticked.Pixel(x, y);
  EXPECT_GT(changed, 10) << "the tick shows";
  SavePicture(ticked, L"panelkit-checkbox.bmp");
}

TEST_F(EditKitTest, RadioButtonsOfOneParentCheckOneAtATime) {
  TEditKitForm& f = Edits();
  const TPoint box = Centre(f.radio2->BoxRect());
  harness::SendClick(f.radio2->Handle(), box.X, box.Y);
  EXPECT_FALSE(f.radio1->Checked());
  EXPECT_TRUE(f.radio2->Checked());
  EXPECT_EQ(f.Events, (std::vector<std::string>{"radio1:off", "radio2:on"}));
  harness::SendClick(f.radio2->Handle(), box.X, box.Y);
  EXPECT_TRUE(f.radio2->Checked()) << "the mouse never unchecks";
  f.Events.clear();
  harness::BringToFront(f.radio2->Handle());
  f.radio2->SetFocus();
  harness::InputKey(VK_SPACE);
  EXPECT_TRUE(f.radio2->Checked()) << "nor does Space: the group is never left empty";
  EXPECT_TRUE(f.Events.empty());
  f.radio3->SetFocus();
  harness::InputKey(VK_SPACE);
  EXPECT_TRUE(f.radio3->Checked()) << "Space checks an unchecked one";
  EXPECT_FALSE(f.radio2->Checked());
  EXPECT_EQ(f.Events, (std::vector<std::string>{"radio2:off", "radio3:on"}));
  f.radio3->SetChecked(true);
  EXPECT_FALSE(f.radio1->Checked());
  EXPECT_FALSE(f.check->Checked() != true) << "a check box is no radio";
  SavePicture(harness::PaintClient(f.group->Handle()), L"panelkit-radios.bmp");
}

TEST_F(EditKitTest, TheProgramCarriesThePicturesTheControlsLoadByName) {
  struct Picture {
    const char16_t* Name;
    Integer Width, Height;
  };
  const Picture pictures[] = {{u"CLOSEBTN", 8, 8},     {u"FLIPPLUS", 9, 9},       {u"COLLAPSE", 9, 9},
                              {u"BUTTONEXPAND", 9, 9}, {u"BUTTONCOLLAPSE", 9, 9}};
  for (const Picture& p : pictures) {
    TBitmap bitmap;
    EXPECT_NO_THROW(bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), p.Name)) << U8(p.Name);
    EXPECT_EQ(bitmap.Width(), p.Width) << U8(p.Name);
    EXPECT_EQ(bitmap.Height(), p.Height) << U8(p.Name);
  }
  HCURSOR reversed = LoadCursorW(GetModuleHandleW(nullptr), L"REVERSEDARROW");
  ASSERT_NE(reversed, nullptr);
  Edits();
  EXPECT_EQ(Screen->Cursors(crReversedArrow), reversed) << "an edit registers the cursor as number 1000";
}

TEST_F(EditKitTest, TheReversedArrowShowsBesideTheInfoArea) {
  TEditKitForm& f = Edits();
  TPxEdit& edit = *f.edit;
  ASSERT_TRUE(edit.Info().Visible());
  const Integer y = edit.ClientHeight() / 2;
  harness::BringToFront(edit.Handle());
  harness::InputMouseMove(edit.Handle(), edit.Info().Left() + edit.Info().Width() + 1, y);
  EXPECT_EQ(edit.Cursor(), crReversedArrow);
  EXPECT_EQ(GetCursor(), Screen->Cursors(crReversedArrow));
  harness::InputMouseMove(edit.Handle(), edit.ClientWidth() - 10, y);
  EXPECT_EQ(edit.Cursor(), crDefault) << "over the text the edit's own cursor";
}

TEST_F(EditKitTest, ADisabledRadioButtonDrawsItsCaptionInTheDisabledTextColour) {
  TEditKitForm& f = Edits();
  TPxRadioButton& radio = *f.radio2;
  const auto captionInks = [&](TColor ink) {
    const harness::Bitmap32 picture = harness::PaintClient(radio.Handle());
    const COLORREF wanted = static_cast<COLORREF>(ColorToRGB(ink));
    int count = 0;
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = radio.BoxRect().Right + radio.Indent(); x < picture.Width(); ++x)
        count += picture.PixelColor(x, y) == wanted;
    return count;
  };
  EXPECT_GT(captionInks(clWindowText), 10);
  radio.SetEnabled(false);
  Pump();
  EXPECT_GT(captionInks(clGrayText), 10) << "the caption is drawn in grey text";
  EXPECT_EQ(captionInks(clWindowText), 0);
  SavePicture(harness::PaintClient(f.group->Handle()), L"panelkit-radio-disabled.bmp");
  radio.SetEnabled(true);
}

}  // namespace

namespace {

// The process-wide decimal separator for one test, restored after it.
class ScopedDecimalSeparator {
 public:
  explicit ScopedDecimalSeparator(Char separator) : FSaved(FormatSettings().DecimalSeparator) {
    FormatSettings().DecimalSeparator = separator;
  }
  ~ScopedDecimalSeparator() { FormatSettings().DecimalSeparator = FSaved; }

 private:
  Char FSaved;
};

TEST_F(EditKitTest, NumberEditsFollowTheLocalesDecimalSeparator) {
  ScopedDecimalSeparator comma(u',');
  TEditKitForm& f = Edits();
  TPxNumberEdit& number = *f.number;
  number.SetValue(2.5);
  EXPECT_EQ(U8(number.Text()), "2,50");
  number.SetFocus();
  number.SetText(u"3");
  number.SetSelStart(1);
  Type(number, L".,7");
  EXPECT_EQ(U8(number.Text()), "3,7") << "the period is no separator here";
  EXPECT_DOUBLE_EQ(number.Value(), 3.7);
}

TEST_F(EditKitTest, TheAlignmentIsTheWindowsOwnStyle) {
  TEditKitForm& f = Edits();
  const auto style = [&] { return GetWindowLongW(f.edit->Handle(), GWL_STYLE); };
  EXPECT_EQ(style() & (ES_RIGHT | ES_CENTER), ES_LEFT);
  f.edit->SetAlignment(taRightJustify);
  EXPECT_TRUE(style() & ES_RIGHT);
  EXPECT_EQ(f.edit->AppliedMargins().X, 31) << "the margins come back with the new window";
  f.edit->SetAlignment(taCenter);
  EXPECT_TRUE(style() & ES_CENTER);
}

}  // namespace
