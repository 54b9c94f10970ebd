// The date picker on a form read from its form file: its calendar opens at
// the picker's lower edge, a click on a day sets the date and closes it, a
// click outside or Escape closes it without a change, the header arrows
// step the month and the keys move the date while it is open.
#include "panelkit/win32/datepicker.h"

#include <cmath>

#include "panelkit/win32/calcedit.h"
#include "panelkit/win32/colorpicker.h"
#include "panelkit/win32/monthcalendar.h"
#include "panelkit/win32/timepicker.h"

#include "panelkit/win32/edittest.h"
#include "rtl/unicode.h"
#include "ui/clipbrd.h"

class TPickerForm : public TForm {
  KST_CLASS(TPickerForm, TForm)
 public:
  using TForm::TForm;
  TPxDatePicker* date = nullptr;
  TPxDatePicker* other = nullptr;
  TPxCalcEdit* calc = nullptr;
  TPxTimePicker* time = nullptr;
  TPxMonthCalendar* month = nullptr;
  TPxTimeEdit* clock = nullptr;
  TPxColorPicker* colour = nullptr;
  Integer Changes = 0;
  void monthChange(TObject*) { ++Changes; }
};

KST_CLASS_IMPL(TPickerForm, "PanelKitTests")

void TPickerForm::Describe(TClassBuilder<TPickerForm>& c) {
  c.Field(u"date", &TPickerForm::date);
  c.Field(u"other", &TPickerForm::other);
  c.Field(u"calc", &TPickerForm::calc);
  c.Field(u"time", &TPickerForm::time);
  c.Field(u"month", &TPickerForm::month);
  c.Field(u"clock", &TPickerForm::clock);
  c.Field(u"colour", &TPickerForm::colour);
  c.Method(u"monthChange", &TPickerForm::monthChange);
}

namespace {

std::string U8(const String& s) {
  return StringToUTF8(s);
}

class PickerTest : public PanelKitTest {
 protected:
  void SetUp() override {
    PanelKitTest::SetUp();
    FRegistry.RegisterClasses({&TPickerForm::StaticClass()});
  }
  TPickerForm& Pickers() {
    if (!FPickers) {
      FPickers = CreateForm<TPickerForm>(FApp.get());
      FPickers->Show();
      Pump();
    }
    return *FPickers;
  }
  // Opens a picker's calendar on the given date.
  TPxDatePopup& Open(TPxDatePicker& picker, TDateTime date) {
    picker.SetDate(date);
    picker.SetFocus();
    harness::SendKey(picker.Handle(), VK_DOWN, {.ctrl = false, .shift = false, .alt = true});
    Pump();
    return picker.Calendar();
  }
  // The centre of the grid cell that shows a date.
  static TPoint CellOf(TPxDatePopup& calendar, TDateTime date) {
    const TRect grid = calendar.DayGridRect();
    const Integer cell = static_cast<Integer>(date - calendar.ShownMonth().FirstCellDate());
    const TSize size = calendar.DaySize();
    return Point(grid.Left + (cell % 7) * size.cx + size.cx / 2, grid.Top + (cell / 7) * size.cy + size.cy / 2);
  }
  void Type(TWinControl& control, const std::wstring& characters) {
    for (wchar_t ch : characters) harness::SendChar(control.Handle(), ch);
    Pump();
  }
  TPickerForm* FPickers = nullptr;
};

TEST_F(PickerTest, ReadFromItsFormWithTodaysDate) {
  TPickerForm& f = Pickers();
  ASSERT_NE(f.date, nullptr);
  EXPECT_EQ(U8(f.date->EmptyText()), "No date");
  EXPECT_EQ(U8(f.date->NoneCaption()), "Clear");
  EXPECT_EQ(U8(f.date->TodayCaption()), "Now");
  EXPECT_EQ(f.date->StartDay(), dwMonday);
  EXPECT_FALSE(f.other->ShowNoneButton());
  EXPECT_EQ(f.other->StartDay(), dwSunday);
  EXPECT_EQ(U8(f.other->Text()), U8(DateToStr(Date())));
  EXPECT_EQ(f.other->Date(), Date());
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(PickerTest, TheCalendarOpensBelowThePickerAndAClickedDaySetsTheDate) {
  TPickerForm& f = Pickers();
  TPxDatePopup& calendar = Open(*f.date, EncodeDate(2021, 3, 10));
  ASSERT_TRUE(f.date->DroppedDown());
  ASSERT_TRUE(IsWindowVisible(calendar.Handle()));
  RECT picker{}, popup{};
  GetWindowRect(f.date->Handle(), &picker);
  GetWindowRect(calendar.Handle(), &popup);
  EXPECT_EQ(popup.left, picker.left) << "at the picker's outer edge";
  EXPECT_EQ(popup.top, picker.bottom);
  EXPECT_EQ(calendar.Year(), 2021);
  EXPECT_EQ(calendar.Month(), 3);
  EXPECT_EQ(calendar.ShownMonth().StartDay, dwMonday);
  EXPECT_EQ(calendar.ShownMonth().LeadingDays(), 0) << "1 March 2021 is a Monday";
  SavePicture(ScreenPicture(calendar.Handle()), L"panelkit-datepopup.bmp");
  const TPoint day = CellOf(calendar, EncodeDate(2021, 3, 24));
  harness::SendClick(calendar.Handle(), day.X, day.Y);
  Pump();
  EXPECT_FALSE(f.date->DroppedDown());
  EXPECT_FALSE(IsWindowVisible(calendar.Handle()));
  EXPECT_EQ(f.date->Date(), EncodeDate(2021, 3, 24));
  EXPECT_EQ(U8(f.date->Text()), U8(DateToStr(EncodeDate(2021, 3, 24))));
}

TEST_F(PickerTest, AClickOutsideOrEscapeClosesWithoutAChange) {
  TPickerForm& f = Pickers();
  const TDateTime start = EncodeDate(2020, 8, 15);
  TPxDatePopup& calendar = Open(*f.other, start);
  ASSERT_TRUE(f.other->DroppedDown());
  EXPECT_EQ(calendar.ShownMonth().RowCount(), 6) << "August 2020 starts on Saturday";
  SavePicture(ScreenPicture(calendar.Handle()), L"panelkit-datepopup-sunday.bmp");
  harness::SendClick(calendar.Handle(), -30, -40);
  Pump();
  EXPECT_FALSE(f.other->DroppedDown());
  EXPECT_EQ(f.other->Date(), start);

  Open(*f.other, start);
  ASSERT_TRUE(f.other->DroppedDown());
  harness::SendKey(f.other->Handle(), VK_ESCAPE, {}, 27);
  Pump();
  EXPECT_FALSE(f.other->DroppedDown());
  EXPECT_EQ(f.other->Date(), start);
}

TEST_F(PickerTest, ArrowsStepTheMonthAndTheButtonsHandBackTodayOrNothing) {
  TPickerForm& f = Pickers();
  TPxDatePopup& calendar = Open(*f.date, EncodeDate(2010, 12, 5));
  const TRect header = calendar.HeaderRect();
  const Integer middle = (header.Top + header.Bottom) / 2;
  harness::SendClick(calendar.Handle(), header.Right - 5, middle);
  Pump();
  EXPECT_EQ(calendar.Year(), 2011);
  EXPECT_EQ(calendar.Month(), 1);
  EXPECT_TRUE(f.date->DroppedDown()) << "the arrows choose nothing";
  harness::SendClick(calendar.Handle(), header.Left + 3, middle);
  harness::SendClick(calendar.Handle(), header.Left + 3, middle);
  Pump();
  EXPECT_EQ(calendar.Year(), 2010);
  EXPECT_EQ(calendar.Month(), 11);
  const TPoint today = Centre(calendar.TodayButtonRect());
  harness::SendClick(calendar.Handle(), today.X, today.Y);
  Pump();
  EXPECT_FALSE(f.date->DroppedDown());
  EXPECT_EQ(f.date->Date(), Date());

  Open(*f.date, EncodeDate(2010, 12, 5));
  const TPoint none = Centre(calendar.NoneButtonRect());
  harness::SendClick(calendar.Handle(), none.X, none.Y);
  Pump();
  EXPECT_FALSE(f.date->DroppedDown());
  EXPECT_EQ(U8(f.date->Text()), "");
}

TEST_F(PickerTest, KeysMoveTheDateWhileTheCalendarIsOpen) {
  TPickerForm& f = Pickers();
  TPxDatePopup& calendar = Open(*f.other, EncodeDate(2021, 1, 31));
  harness::SendKey(f.other->Handle(), VK_RIGHT, {.ctrl = false, .shift = true});
  EXPECT_EQ(f.other->Date(), EncodeDate(2021, 2, 28));
  EXPECT_EQ(calendar.Month(), 2);
  harness::SendKey(f.other->Handle(), VK_DOWN);
  EXPECT_EQ(f.other->Date(), EncodeDate(2021, 3, 7));
  harness::SendKey(f.other->Handle(), VK_NEXT, {.ctrl = false, .shift = true});
  EXPECT_EQ(f.other->Date(), EncodeDate(2022, 3, 7));
  EXPECT_EQ(calendar.SelectedDate(), EncodeDate(2022, 3, 7));
  EXPECT_TRUE(f.other->DroppedDown());
}

TEST_F(PickerTest, KeysStopAtTheFirstAndLastDate) {
  TPickerForm& f = Pickers();
  struct Case {
    TDateTime From;
    Word Key;
  };
  const Case cases[] = {{EncodeDate(9999, 12, 31), VK_RIGHT}, {EncodeDate(9999, 12, 30), VK_DOWN},
                        {EncodeDate(1, 1, 1), VK_LEFT}, {EncodeDate(1, 1, 2), VK_UP}};
  for (const Case& c : cases) {
    TPxDatePopup& calendar = Open(*f.other, c.From);
    harness::SendKey(f.other->Handle(), c.Key);
    harness::SendKey(f.other->Handle(), c.Key);
    EXPECT_EQ(f.other->Date(), c.From) << U8(f.other->Text());
    EXPECT_EQ(calendar.SelectedDate(), c.From);
    harness::SendKey(f.other->Handle(), VK_ESCAPE, {}, 27);
    Pump();
  }
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(PickerTest, WithoutTheNoneButtonTodayIsCentred) {
  TPickerForm& f = Pickers();
  TPxDatePopup& calendar = Open(*f.other, EncodeDate(2021, 5, 1));
  const TRect today = calendar.TodayButtonRect();
  EXPECT_LE(std::abs((today.Left + today.Right) / 2 - calendar.ClientWidth() / 2), 1);
  EXPECT_TRUE(calendar.NoneButtonRect().IsEmpty());
}

TEST_F(PickerTest, TheCalculatorOpensBelowItsEditAndComputesIntoTheText) {
  TPickerForm& f = Pickers();
  TPxCalcEdit& edit = *f.calc;
  EXPECT_TRUE(edit.AutoClose());
  EXPECT_EQ(edit.Value(), 12.5);
  edit.SetFocus();
  harness::SendKey(edit.Handle(), VK_DOWN, {.ctrl = false, .shift = false, .alt = true});
  Pump();
  ASSERT_TRUE(edit.DroppedDown());
  TPxCalcPopup& calculator = edit.Calculator();
  RECT frame{}, popup{};
  GetWindowRect(edit.Handle(), &frame);
  GetWindowRect(calculator.Handle(), &popup);
  EXPECT_EQ(popup.left, frame.left);
  EXPECT_EQ(popup.top, frame.bottom);
  EXPECT_EQ(calculator.Width(), 199);
  EXPECT_EQ(calculator.Height(), 139);
  SavePicture(ScreenPicture(calculator.Handle()), L"panelkit-calculator.bmp");
  auto press = [&](TCalcKey key) {
    const TPoint at = Centre(calculator.KeyRect(key));
    harness::SendClick(calculator.Handle(), at.X, at.Y);
    Pump();
  };
  press(TCalcKey::D7);
  press(TCalcKey::Multiply);
  press(TCalcKey::D6);
  EXPECT_EQ(U8(edit.Text()), "6");
  EXPECT_TRUE(edit.DroppedDown());
  press(TCalcKey::Equal);
  EXPECT_EQ(U8(edit.Text()), "42");
  EXPECT_FALSE(edit.DroppedDown()) << "equals closes with AutoClose";

  harness::SendKey(edit.Handle(), VK_DOWN, {.ctrl = false, .shift = false, .alt = true});
  Pump();
  ASSERT_TRUE(edit.DroppedDown());
  harness::SendClick(calculator.Handle(), calculator.Width() + 20, 10);
  Pump();
  EXPECT_FALSE(edit.DroppedDown());
  EXPECT_EQ(U8(edit.Text()), "42");
  harness::SendKey(edit.Handle(), VK_DOWN, {.ctrl = false, .shift = false, .alt = true});
  Pump();
  press(TCalcKey::Divide);
  press(TCalcKey::D0);
  press(TCalcKey::Equal);
  EXPECT_EQ(U8(edit.Text()), "0") << "a division by zero keeps the display";
  ASSERT_EQ(FExceptions.size(), 1u) << "and says that it failed";
  EXPECT_EQ(U8(FExceptions[0]), "Floating point division by zero");
  FExceptions.clear();
  EXPECT_TRUE(edit.DroppedDown());
  // C starts a new sum: 5 x 3, C, 4 x 2 = is 8 as on a desk calculator.
  for (TCalcKey key : {TCalcKey::D5, TCalcKey::Multiply, TCalcKey::D3, TCalcKey::Clear, TCalcKey::D4,
                       TCalcKey::Multiply, TCalcKey::D2})
    press(key);
  EXPECT_TRUE(edit.DroppedDown());
  press(TCalcKey::Equal);
  EXPECT_EQ(U8(edit.Text()), "8");
  harness::SendKey(edit.Handle(), VK_DOWN, {.ctrl = false, .shift = false, .alt = true});
  Pump();
  harness::SendKey(edit.Handle(), VK_ESCAPE, {}, 27);
  Pump();
  EXPECT_FALSE(edit.DroppedDown());
}

TEST_F(PickerTest, TheCalculatorEditFiltersTypingAndPasting) {
  TPickerForm& f = Pickers();
  TPxCalcEdit& edit = *f.calc;
  edit.SetFocus();
  edit.SetText(u"");
  for (wchar_t ch : std::wstring(L"1a2b.5"))
    harness::SendChar(edit.Handle(), ch);
  Pump();
  EXPECT_EQ(U8(edit.Text()), "12.5") << "letters never reach the display";
  EXPECT_TRUE(edit.ResetPending()) << "a typed character starts a new number for the next key";
  edit.SetOptions({eoAllowFloat, eoAllowSigns, eoDisableTyping});
  edit.SetText(u"3");
  edit.SetSelStart(1);
  harness::SendChar(edit.Handle(), L'a');
  harness::SendChar(edit.Handle(), L'4');
  Pump();
  EXPECT_EQ(U8(edit.Text()), "3") << "typing switched off";
  edit.SetOptions({eoAllowFloat, eoAllowSigns});
  edit.SetText(u"");
  Clipboard().SetAsText(u"12abc3");
  SendMessageW(edit.Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(U8(edit.Text()), "123");
  edit.SetMax(100);
  edit.SetText(u"");
  SendMessageW(edit.Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(U8(edit.Text()), "100");
  edit.SetMax(0);
}

TEST_F(PickerTest, TheTimeChooserOpensBelowItsPickerAndHandsBackAClickedTime) {
  TPickerForm& f = Pickers();
  TPxTimePicker& picker = *f.time;
  EXPECT_EQ(U8(picker.HoursString()), "Hour");
  EXPECT_TRUE(picker.UseStandardMinute());
  picker.SetTime(EncodeTime(14, 37, 22, 0));
  EXPECT_EQ(U8(picker.Text()), U8(TimePickerText(EncodeTime(14, 35, 0, 0), false, FormatSettings())));
  picker.SetFocus();
  harness::SendKey(picker.Handle(), VK_DOWN, {.ctrl = false, .shift = false, .alt = true});
  Pump();
  ASSERT_TRUE(picker.DroppedDown());
  TPxTimePopup& chooser = picker.Chooser();
  RECT frame{}, popup{};
  GetWindowRect(picker.Handle(), &frame);
  GetWindowRect(chooser.Handle(), &popup);
  EXPECT_EQ(popup.left, frame.left);
  EXPECT_EQ(popup.top, frame.bottom);
  EXPECT_EQ(chooser.Hours(), 14);
  EXPECT_EQ(chooser.Minutes(), 35);
  SavePicture(ScreenPicture(chooser.Handle()), L"panelkit-timepopup.bmp");
  // Press on hour 9, drag to minute 20, release there.
  const TPoint hour = Centre(chooser.HourRect(9));
  const TPoint minute = Centre(chooser.MinuteRect(20));
  harness::SendMouseDown(chooser.Handle(), hour.X, hour.Y);
  harness::SendMouseMove(chooser.Handle(), minute.X, minute.Y);
  harness::SendMouseUp(chooser.Handle(), minute.X, minute.Y);
  Pump();
  EXPECT_FALSE(picker.DroppedDown());
  EXPECT_EQ(picker.Time(), EncodeTime(9, 20, 0, 0));

  harness::SendKey(picker.Handle(), VK_DOWN, {.ctrl = false, .shift = false, .alt = true});
  Pump();
  ASSERT_TRUE(picker.DroppedDown());
  // Below the last row: still the last hour of the column, never hour 24.
  const TRect last = chooser.HourRect(23);
  harness::SendClick(chooser.Handle(), last.Left + 5, chooser.ClientHeight() - 6);
  Pump();
  EXPECT_FALSE(picker.DroppedDown());
  EXPECT_EQ(HourOf(picker.Time()), 23);

  harness::SendKey(picker.Handle(), VK_DOWN, {.ctrl = false, .shift = false, .alt = true});
  Pump();
  harness::SendClick(chooser.Handle(), -10, -10);
  Pump();
  EXPECT_FALSE(picker.DroppedDown());
  EXPECT_EQ(HourOf(picker.Time()), 23) << "a click outside changes nothing";
  harness::SendKey(picker.Handle(), VK_DOWN, {.ctrl = false, .shift = false, .alt = true});
  Pump();
  harness::SendKey(picker.Handle(), VK_ESCAPE, {}, 27);
  Pump();
  EXPECT_FALSE(picker.DroppedDown());
  EXPECT_EQ(HourOf(picker.Time()), 23);
}

TEST_F(PickerTest, TheTimeEditStartsWithTheTimeAndItsSpinButtonsStepNothing) {
  TPickerForm& f = Pickers();
  ASSERT_NE(f.clock, nullptr);
  TPxTimeEdit& clock = *f.clock;
  EXPECT_EQ(U8(clock.TimeFormat()), "h:mm:ss AMPM");
  EXPECT_EQ(U8(clock.TimeSeparator()), ":");
  EXPECT_EQ(U8(clock.EffectiveTimeFormat()), "h:mm:ss");
  EXPECT_FALSE(clock.Is24HourFormat());
  TDateTime shown = 0;
  ASSERT_TRUE(TryStrToTime(clock.Text(), shown, FormatSettings())) << U8(clock.Text());
  const double now = static_cast<double>(Now());
  EXPECT_LT(std::abs(static_cast<double>(shown) - (now - std::floor(now))), 2.0 / MinsPerDay)
      << "the time of its creation";

  // The buttons stand at the right edge, the width of a scroll bar.
  TPxSpinButtons& buttons = clock.Buttons();
  const Integer spinWidth = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_TRUE(buttons.Visible());
  EXPECT_EQ(buttons.BoundsRect(), Rect(clock.ClientWidth() - spinWidth, 1, clock.ClientWidth(), clock.ClientHeight()));
  const String before = clock.Text();
  for (int y : {3, buttons.Height() - 3}) harness::SendClick(buttons.Handle(), spinWidth / 2, y);
  Pump();
  EXPECT_EQ(U8(clock.Text()), U8(before));
  SavePicture(ScreenPicture(f.Handle()), L"panelkit-pickers.bmp");

  // Switching the buttons off only takes effect at the next resize.
  clock.SetSpinButtons(false);
  EXPECT_TRUE(buttons.Visible());
  clock.SetWidth(clock.Width() + 10);
  Pump();
  EXPECT_FALSE(buttons.Visible());

  TPxTimeEdit fresh(nullptr);
  EXPECT_TRUE(fresh.SpinButtons());
  EXPECT_EQ(fresh.TimeFormat(), u"");
  EXPECT_EQ(fresh.EffectiveTimeFormat(), ReducedTimeFormat(u"", FormatSettings()));
}

TEST_F(PickerTest, ANewColourPickerShowsWhiteAndSwitchesNotation) {
  TPickerForm& f = Pickers();
  EXPECT_EQ(f.colour->SelectedColor(), clRed) << "read from the form";
  EXPECT_EQ(U8(f.colour->Text()), "$000000FF");
  EXPECT_EQ(f.colour->Options(), (TPxColorPickerOptions{coColorsButton, coNoneButton}));

  auto* picker = new TPxColorPicker(&f);
  picker->SetBounds(200, 200, 121, 21);
  picker->SetParent(&f);
  Pump();
  EXPECT_EQ(U8(picker->Text()), "$00FFFFFF");
  EXPECT_EQ(picker->SelectedColor(), static_cast<TColor>(0xFFFFFF));
  EXPECT_TRUE(picker->ShowPreview());
  harness::Bitmap32 box = harness::PaintClient(picker->Info().Handle());
  EXPECT_EQ(box.PixelColor(box.Width() / 2, box.Height() / 2), RGB(255, 255, 255));

  picker->SetWebColorFormat(true);
  EXPECT_EQ(U8(picker->Text()), "#FFFFFF");
  picker->SetWebColorFormat(false);
  picker->SetOptions({coAllowColorNames, coColorsButton, coNoneButton});
  picker->SetWebColorFormat(true);
  EXPECT_EQ(U8(picker->Text()), "white") << "transparent is no colour";
  EXPECT_EQ(picker->SelectedColor(), static_cast<TColor>(0xFFFFFF));
  picker->SetText(u"NAVY");
  EXPECT_EQ(picker->SelectedColor(), static_cast<TColor>(0x800000));
  picker->SetWebColorFormat(false);
  picker->SetText(u"clRed");
  EXPECT_EQ(picker->SelectedColor(), clRed);

  // Clearing the text leaves no colour: a white box crossed in red.
  picker->SetText(u"");
  EXPECT_EQ(picker->SelectedColor(), clNone);
  box = harness::PaintClient(picker->Info().Handle());
  const COLORREF corner = box.PixelColor(3, 3), middle = box.PixelColor(box.Width() / 2, 2);
  EXPECT_EQ(corner, RGB(255, 0, 0)) << "on the diagonal";
  EXPECT_EQ(middle, RGB(255, 255, 255));
}

TEST_F(PickerTest, TheColourPickerFiltersTypingAndPasting) {
  TPickerForm& f = Pickers();
  TPxColorPicker& picker = *f.colour;
  picker.SetFocus();
  picker.SelectAll();
  Type(picker, L"#");
  EXPECT_EQ(U8(picker.Text()), "$000000FF") << "\"#\" is not the platform's prefix";
  Type(picker, L"$00ff00");
  EXPECT_EQ(U8(picker.Text()), "$00ff00");
  EXPECT_EQ(picker.SelectedColor(), static_cast<TColor>(0x00FF0000)) << "read padded to eight digits";
  Type(picker, L"g12");
  EXPECT_EQ(U8(picker.Text()), "$00ff0012");
  Type(picker, L"3");
  EXPECT_EQ(U8(picker.Text()), "$00ff0012") << "a ninth digit is refused";

  picker.SetText(u"");
  Clipboard().SetAsText(u"FF0000");
  SendMessageW(picker.Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(U8(picker.Text()), "$000000FF") << "six digits copied from a web page";
  EXPECT_EQ(picker.SelectedColor(), clRed);
  picker.SetText(u"");
  Clipboard().SetAsText(u"#FF0000");
  EXPECT_NO_THROW(SendMessageW(picker.Handle(), WM_PASTE, 0, 0));
  EXPECT_EQ(picker.SelectedColor(), static_cast<TColor>(0x0000FF)) << "the web notation is read in either";
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(PickerTest, TheWebNotationKeepsSystemColoursAndUnreadableTextKeepsTheColour) {
  TPickerForm& f = Pickers();
  auto* picker = new TPxColorPicker(&f);
  picker->SetBounds(200, 200, 121, 21);
  picker->SetParent(&f);
  Pump();
  picker->SetWebColorFormat(true);
  picker->SetFocus();
  picker->SelectAll();
  Clipboard().SetAsText(u"FF0000");
  SendMessageW(picker->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(U8(picker->Text()), "#FF0000");
  EXPECT_EQ(picker->SelectedColor(), clRed);

  for (bool names : {false, true}) {
    picker->SetOptions(names ? TPxColorPickerOptions{coAllowColorNames} : TPxColorPickerOptions{});
    picker->SetSelectedColor(clBtnFace);
    EXPECT_EQ(picker->SelectedColor(), clBtnFace) << names;
    picker->SetWebColorFormat(false);
    EXPECT_EQ(picker->SelectedColor(), clBtnFace) << names;
    EXPECT_EQ(U8(picker->Text()), names ? "clBtnFace" : "$FF00000F");
    picker->SetWebColorFormat(true);
    EXPECT_EQ(picker->SelectedColor(), clBtnFace) << names;
  }

  // An unknown name, typed with names allowed, is no colour: the colour stays.
  picker->SetSelectedColor(clRed);
  picker->SelectAll();
  Type(*picker, L"zzee");
  EXPECT_EQ(U8(picker->Text()), "zzee");
  EXPECT_EQ(picker->SelectedColor(), clRed);
  picker->SetText(u"blanchedalmond?");
  EXPECT_EQ(picker->SelectedColor(), clRed);
  picker->SetText(u"Navy");
  EXPECT_EQ(picker->SelectedColor(), static_cast<TColor>(0x800000));
  f.other->SetFocus();
  Pump();
  EXPECT_EQ(picker->SelectedColor(), static_cast<TColor>(0x800000));
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(PickerTest, TheColourGridOpensBelowThePickerAndAClickedSwatchSetsTheColour) {
  TPickerForm& f = Pickers();
  TPxColorPicker& picker = *f.colour;
  std::vector<TColor> over;
  picker.OnColorOver = [&](TObject*, TColor value) { over.push_back(value); };
  picker.SetSelectedColor(0x000000);
  picker.SetFocus();
  const auto open = [&] {
    harness::SendKey(picker.Handle(), VK_DOWN, {.ctrl = false, .shift = false, .alt = true});
    Pump();
    return picker.DroppedDown();
  };
  ASSERT_TRUE(open());
  TPxColorPopup& palette = picker.Palette();
  RECT frame{}, popup{};
  GetWindowRect(picker.Handle(), &frame);
  GetWindowRect(palette.Handle(), &popup);
  EXPECT_EQ(popup.left, frame.left);
  EXPECT_EQ(popup.top, frame.bottom);
  EXPECT_EQ(popup.right - popup.left, 213);
  EXPECT_EQ(popup.bottom - popup.top, 151);
  harness::Bitmap32 shot = harness::PaintClient(palette.Handle());
  const TRect marked = TPxColorPopup::SwatchRect(2, 11);
  EXPECT_EQ(shot.PixelColor(marked.Left, marked.Top + 3), RGB(255, 255, 255)) << "black's last swatch is framed";
  EXPECT_EQ(shot.PixelColor(20, 14), RGB(0, 0, 0)) << "the preview shows black";
  SavePicture(ScreenPicture(palette.Handle()), L"panelkit-colourpopup.bmp");

  // Moving over a swatch previews it; a click on it hands it back and closes.
  const TRect swatch = TPxColorPopup::SwatchRect(1, 6);
  harness::SendMouseMove(palette.Handle(), swatch.Left + 5, swatch.Top + 5);
  ASSERT_FALSE(over.empty());
  EXPECT_EQ(over.back(), static_cast<TColor>(0x0000FF));
  harness::SendClick(palette.Handle(), swatch.Left + 5, swatch.Top + 5);
  Pump();
  EXPECT_FALSE(picker.DroppedDown());
  EXPECT_EQ(picker.SelectedColor(), static_cast<TColor>(0x0000FF));
  EXPECT_EQ(U8(picker.Text()), "$000000FF");

  // A click outside and Escape change nothing.
  ASSERT_TRUE(open());
  harness::SendClick(palette.Handle(), -20, -20);
  Pump();
  EXPECT_FALSE(picker.DroppedDown());
  ASSERT_TRUE(open());
  harness::SendKey(picker.Handle(), VK_ESCAPE, {}, 27);
  Pump();
  EXPECT_FALSE(picker.DroppedDown());
  EXPECT_EQ(picker.SelectedColor(), static_cast<TColor>(0x0000FF));

  // The none button hands back no colour.
  ASSERT_TRUE(open());
  const TRect none = TPxColorPopup::NoneButtonRect();
  harness::SendClick(palette.Handle(), none.Left + 5, none.Top + 5);
  Pump();
  EXPECT_FALSE(picker.DroppedDown());
  EXPECT_EQ(picker.SelectedColor(), clNone);
  EXPECT_EQ(U8(picker.Text()), "");

  // The more-colours button closes the grid and takes the dialog's colour.
  FApp->CommonDialogHook = [](TCommonDialog& dialog) {
    static_cast<TColorDialog&>(dialog).SetColor(0x123456);
    return true;
  };
  std::vector<bool> closed;
  picker.OnDialogClose = [&](TObject*, bool execute) { closed.push_back(execute); };
  ASSERT_TRUE(open());
  const TRect more = TPxColorPopup::ColorsButtonRect();
  harness::SendClick(palette.Handle(), more.Left + 5, more.Top + 5);
  Pump();
  EXPECT_FALSE(picker.DroppedDown());
  EXPECT_EQ(picker.SelectedColor(), static_cast<TColor>(0x123456));
  EXPECT_EQ(closed, std::vector<bool>{true});
  FApp->CommonDialogHook = nullptr;
  picker.OnColorOver = nullptr;
  picker.OnDialogClose = nullptr;
}

TEST_F(PickerTest, TheMonthCalendarSelectsEveryColumnWhereItIsDrawn) {
  TPickerForm& f = Pickers();
  TPxMonthCalendar& calendar = *f.month;
  EXPECT_TRUE(calendar.ShowNoneButton());
  EXPECT_EQ(calendar.StartDay(), dwSunday);
  calendar.SetDate(EncodeDate(2020, 8, 15));
  Pump();
  SavePicture(ScreenPicture(calendar.Handle()), L"panelkit-monthcalendar.bmp");
  f.Changes = 0;
  // August 2020 starts on a Saturday: the first row holds 26 July to 1 August.
  for (Integer column = 0; column < 7; ++column) {
    const TPoint at = Centre(TPxMonthCalendar::CellRect(column, 1));
    harness::SendClick(calendar.Handle(), at.X, at.Y);
    EXPECT_EQ(calendar.SelectedDate(), EncodeDate(2020, 8, static_cast<Word>(2 + column))) << column;
    const TRect cell = TPxMonthCalendar::CellRect(column, 1);
    harness::SendClick(calendar.Handle(), cell.Right - 1, at.Y);
    EXPECT_EQ(calendar.SelectedDate(), EncodeDate(2020, 8, static_cast<Word>(2 + column))) << "right edge " << column;
  }
  EXPECT_EQ(f.Changes, 7) << "once per newly chosen day";
  harness::SendClick(calendar.Handle(), 5, 8);
  EXPECT_EQ(calendar.Month(), 7);
  calendar.SetDate(EncodeDate(2020, 1, 10));
  harness::SendClick(calendar.Handle(), 5, 8);
  EXPECT_EQ(calendar.Year(), 2019);
  EXPECT_EQ(calendar.Month(), 12);
  const TPoint none = Centre(calendar.NoneButtonRect());
  harness::SendClick(calendar.Handle(), none.X, none.Y);
  EXPECT_EQ(calendar.Year(), 1899);
  EXPECT_EQ(calendar.Month(), 12);
  EXPECT_EQ(calendar.SelectedDate(), 0);
  const TPoint today = Centre(calendar.TodayButtonRect());
  harness::SendClick(calendar.Handle(), today.X, today.Y);
  EXPECT_EQ(calendar.SelectedDate(), Date());
  calendar.SetShowNoneButton(false);
  EXPECT_EQ((calendar.TodayButtonRect().Left + calendar.TodayButtonRect().Right) / 2, calendar.ClientWidth() / 2);
}

}  // namespace
