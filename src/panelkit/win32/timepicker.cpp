#include "panelkit/win32/timepicker.h"

#include <algorithm>

#include "panelkit/win32/datepicker.h"
#include "panelkit/win32/themes.h"
#include "rtl/numbers.h"
#include "ui/forms.h"

KST_CLASS_IMPL(TPxTimePopup, "PxTimePicker")
KST_CLASS_IMPL(TPxTimePicker, "PxTimePicker")
KST_CLASS_IMPL(TPxTimeEdit, "PxTimePicker")

namespace {

constexpr Integer kRowsTop = 22;
constexpr Integer kRowHeight = 15;
constexpr Integer kRows = 12;
constexpr TColor kThemedSelection = 0x94E6FB;

// A row under a point, kept within the twelve rows so that no hour 24 and
// no minute 60 can be chosen below the last row.
Integer RowAt(Integer y) {
  return std::clamp<Integer>((y - kRowsTop + 1) / kRowHeight, 0, kRows - 1);
}

}  // namespace

// ---- The hour and minute chooser ----

void TPxTimePopup::Describe(TClassBuilder<TPxTimePopup>&) {}

TPxTimePopup::TPxTimePopup(TComponent* owner) : TPxPopupControl(owner) {
  SetDoubleBuffered(true);
}

void TPxTimePopup::SetTime(TDateTime value) {
  FSelectedTime = TimePickerTime(value, false);
  Word second = 0, millisecond = 0;
  DecodeTime(FSelectedTime, FHours, FMinutes, second, millisecond);
}

TRect TPxTimePopup::HourRect(Integer hour) const {
  const Integer m = ColumnWidth();
  const Integer top = kRowsTop + (hour % kRows) * kRowHeight;
  const Integer left = 5 + (hour >= kRows ? m : 0);
  return TRect(left, top, left + m, top + kRowHeight);
}

TRect TPxTimePopup::MinuteRect(Integer minute) const {
  const Integer m = ColumnWidth();
  const Integer top = kRowsTop + (minute / 5) * kRowHeight;
  return TRect(5 + 2 * m, top, 5 + 3 * m, top + kRowHeight);
}

void TPxTimePopup::PickPoint(Integer x, Integer y) {
  const Integer m = ColumnWidth();
  if (y < 21 || y >= ClientHeight() - 5 || x < 5 || x >= ClientWidth() - 5) return;
  if (x < 5 + 2 * m) {
    FHours = static_cast<Word>(RowAt(y) + (x - 5 >= m ? kRows : 0));
  } else {
    FMinutes = static_cast<Word>(5 * RowAt(y));
  }
  FSelectedTime = EncodeTime(FHours, FMinutes, 0, 0);
  Invalidate();
}

void TPxTimePopup::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxPopupControl::MouseDown(button, shift, x, y);
  if (DropMode() != dmDropped) return;
  FTracking = true;
  PickPoint(x, y);
}

void TPxTimePopup::MouseMove(TShiftState shift, Integer x, Integer y) {
  TPxPopupControl::MouseMove(shift, x, y);
  if (FTracking) PickPoint(x, y);
}

void TPxTimePopup::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxPopupControl::MouseUp(button, shift, x, y);
  FTracking = false;
}

void TPxTimePopup::PickAt(Integer, Integer) {
  Input(FormatDateTime(FormatSettings().LongTimeFormat, FSelectedTime));
}

void TPxTimePopup::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
}

void TPxTimePopup::Paint() {
  TCanvas& canvas = Canvas();
  const Integer m = ColumnWidth();
  const Integer width = ClientWidth();
  const TColor highlight = IsThemed() ? kThemedSelection : clSilver;
  PaintFramedBackground(canvas, *GetFont(), Color(), ClientRect());
  canvas.Font().SetColor(clWindowText);
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect(TRect(5, 5, width - 5, 21));
  canvas.Brush().SetStyle(bsClear);
  const UINT centred = DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX;
  TRect hoursTitle(5, 5, 2 * m + 10, 21), minutesTitle(2 * m + 5, 5, width - 5, 21);
  canvas.DrawText(HoursString, hoursTitle, centred);
  canvas.DrawText(MinutesString, minutesTitle, centred);
  const Integer bottom = kRowsTop + kRows * kRowHeight;
  canvas.MoveTo(5, 21);
  canvas.LineTo(width - 5, 21);
  canvas.MoveTo(2 * m + 5, 21);
  canvas.LineTo(2 * m + 5, bottom);
  canvas.MoveTo(m + 5, 21);
  canvas.LineTo(m + 5, bottom);
  canvas.MoveTo(5, bottom);
  canvas.LineTo(width - 5, bottom);
  const UINT right = DT_SINGLELINE | DT_RIGHT | DT_VCENTER | DT_NOPREFIX;
  for (Integer row = 0; row < kRows; ++row) {
    const Integer y = kRowsTop + kRowHeight * row;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(highlight);
    if (FHours == row) canvas.FillRect(TRect(6, y + 1, 4 + m, y + 14));
    if (FHours == row + kRows) canvas.FillRect(TRect(7 + m, y + 1, 4 + 2 * m, y + 14));
    if (FMinutes / 5 == row) canvas.FillRect(TRect(7 + 2 * m, y + 1, 4 + 3 * m, y + 14));
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(clWindowText);
    TRect morning(8, y, 2 + m, y + kRowHeight), afternoon(8 + m, y, 2 + 2 * m, y + kRowHeight);
    canvas.DrawText(IntToStr(row), morning, right);
    canvas.DrawText(IntToStr(row + kRows), afternoon, right);
    canvas.Font().SetColor(clGrayText);
    TRect minute(8 + 2 * m, y, 2 + 3 * m, y + kRowHeight);
    canvas.DrawText(IntToStr(5 * row), minute, right);
  }
}

// ---- The time picker ----

void TPxTimePicker::Describe(TClassBuilder<TPxTimePicker>& c) {
  using T = TPxTimePicker;
  c.Property(u"HoursString", &T::HoursString, &T::SetHoursString);
  c.Property(u"MinutesString", &T::MinutesString, &T::SetMinutesString);
  c.Property(u"Time", &T::Time, &T::SetTime);
  c.Property(u"UseStandardMinute", &T::UseStandardMinute, &T::SetUseStandardMinute).Default(true);
}

TPxTimePicker::TPxTimePicker(TComponent* owner) : TPxPopupEdit(owner) {
  SetTime(Now());
}

TPxPopupControl* TPxTimePicker::NewPopup() {
  return new TPxTimePopup(this);
}

TDateTime TPxTimePicker::Time() const {
  return ReadTimePickerText(Text(), ::Time(), FormatSettings());
}

void TPxTimePicker::SetTime(TDateTime value) {
  SetText(TimePickerText(value, FUseStandardMinute, FormatSettings()));
}

void TPxTimePicker::SetUseStandardMinute(bool value) {
  FUseStandardMinute = value;
  SetTime(Time());
}

void TPxTimePicker::PreparePopup() {
  TPxTimePopup& chooser = Chooser();
  chooser.SetTime(Time());
  chooser.HoursString = FHoursString;
  chooser.MinutesString = FMinutesString;
  chooser.SetBounds(chooser.Left(), chooser.Top(), 100, 207);
}

void TPxTimePicker::Dispatch(TMessage& m) {
  if (m.Msg == WM_KILLFOCUS) {
    TPxPopupEdit::Dispatch(m);
    const String text = Text();
    if (!text.empty()) {
      TDateTime value = 0;
      SetTime(TryStrToTime(text, value, FormatSettings()) ? value : Time());
    }
    return;
  }
  TPxPopupEdit::Dispatch(m);
}

// ---- The time edit ----

void TPxTimeEdit::Describe(TClassBuilder<TPxTimeEdit>& c) {
  using T = TPxTimeEdit;
  c.Property(u"SpinButtons", &T::SpinButtons, &T::SetSpinButtons).Default(1);
  c.Property(u"TimeFormat", &T::TimeFormat, &T::SetTimeFormat);
  c.Property(u"TimeSeparator", &T::TimeSeparator, &T::SetTimeSeparator);
}

TPxTimeEdit::TPxTimeEdit(TComponent* owner) : TPxEdit(owner) {
  FButtons = new TPxSpinButtons(this);
  FButtons->SetCellEditor(this);
  FButtons->SetParent(this);
  SetText(FormatDateTime(FormatSettings().LongTimeFormat, Now(), FormatSettings()));
}

String TPxTimeEdit::EffectiveTimeFormat() const {
  return ReducedTimeFormat(FTimeFormat, FormatSettings());
}

bool TPxTimeEdit::Is24HourFormat() const {
  return EffectiveTimeFormat().find(u"AM/PM") != String::npos;
}

void TPxTimeEdit::LayoutButtons() {
  if (!HandleAllocated()) return;
  // The text margins are not widened for the buttons: a long time may run under them.
  PlaceSpinButtons(*FButtons, ClientWidth(), ClientHeight(), BorderStyle() == bsSingle, FSpinButtons);
}

void TPxTimeEdit::CreateWnd() {
  TPxEdit::CreateWnd();
  LayoutButtons();
}

void TPxTimeEdit::Dispatch(TMessage& m) {
  TPxEdit::Dispatch(m);
  if (m.Msg == WM_SIZE) LayoutButtons();
}
