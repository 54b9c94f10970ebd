#include "panelkit/win32/monthcalendar.h"
#include "panelkit/win32/lifeguard.h"

#include <algorithm>

#include "panelkit/win32/editpublish.h"
#include "ui/forms.h"

KST_CLASS_IMPL(TPxMonthCalendar, "PxMonthCalendar")

namespace {

constexpr Integer kCalendarGridLeft = 15;
constexpr Integer kGridTop = 38;
constexpr Integer kPitchX = 17;
constexpr Integer kPitchY = 15;
constexpr Integer kButtonTop = 133;
constexpr Integer kButtonWidth = 47;
constexpr Integer kButtonHeight = 20;

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TPxDayFontEvent>) {
  static const TMethodTypeInfo t(u"TPxDayFontEvent", u"PxMonthCalendar", mkProcedure,
                                 {editpublish::Param(u"Sender", u"TObject"), editpublish::Param(u"Day", u"Integer"),
                                  editpublish::Param(u"Month", u"Integer"), editpublish::Param(u"Year", u"Integer"),
                                  editpublish::Param(u"Font", u"TFont")});
  return t;
}

void TPxMonthCalendar::Describe(TClassBuilder<TPxMonthCalendar>& c) {
  using T = TPxMonthCalendar;
  c.Property(u"Day", &T::Day, &T::SetDay);
  c.Property(u"Month", &T::Month, &T::SetMonth);
  c.Property(u"Year", &T::Year, &T::SetYear);
  c.Property(u"NoneCaption", &T::NoneCaption, &T::SetNoneCaption);
  c.Property(u"TodayCaption", &T::TodayCaption, &T::SetTodayCaption);
  c.Property(u"SelectedDate", &T::SelectedDate, &T::SetSelectedDate);
  c.Property(u"ShowNoneButton", &T::ShowNoneButton, &T::SetShowNoneButton).Default(false);
  c.Property(u"StartDay", &T::StartDay, &T::SetStartDay).Default(dwAutomatic);
  c.Property(u"OnChange", &T::OnChange);
  c.Property(u"OnDayClick", &T::OnDayClick);
  c.Property(u"OnDayFont", &T::OnDayFont);
}

TPxMonthCalendar::TPxMonthCalendar(TComponent* owner) : TCustomControl(owner) {
  SetDate(::Date());
  SetColor(clWindow);
  SetBounds(Left(), Top(), 151, 163);
  SetDoubleBuffered(true);
}

TCalendarMonth TPxMonthCalendar::ShownMonth() const {
  return TCalendarMonth{std::max<Word>(FYear, 1), std::clamp<Word>(FMonth, 1, 12), EffectiveStartDay(FStartDay)};
}

void TPxMonthCalendar::SetDate(TDateTime value) {
  FDate = value;
  FSelectedDate = value;
  DecodeDate(value, FYear, FMonth, FDay);
  if (FYear == 0) FYear = FMonth = FDay = 1;
  Invalidate();
}

void TPxMonthCalendar::SetMonth(Word value) {
  if (value < 1 || value > 12 || value == FMonth) return;
  FMonth = value;
  Invalidate();
}

void TPxMonthCalendar::SetYear(Word value) {
  if (value < 1 || value > 9999 || value == FYear) return;
  FYear = value;
  Invalidate();
}

void TPxMonthCalendar::SetSelectedDate(TDateTime value) {
  if (value == FSelectedDate) return;
  FSelectedDate = value;
  Invalidate();
  DoChange();
}

void TPxMonthCalendar::DoChange() {
  if (OnChange && !ComponentState().Contains(csLoading)) OnChange(this);
}

void TPxMonthCalendar::SetNoneCaption(const String& value) {
  FNoneCaption = value;
  Invalidate();
}

void TPxMonthCalendar::SetTodayCaption(const String& value) {
  FTodayCaption = value;
  Invalidate();
}

void TPxMonthCalendar::SetShowNoneButton(bool value) {
  FShowNoneButton = value;
  Invalidate();
}

void TPxMonthCalendar::SetStartDay(TStartDayOfWeek value) {
  if (value == FStartDay) return;
  FStartDay = value;
  Invalidate();
}

TRect TPxMonthCalendar::TodayButtonRect() const {
  const Integer left = FShowNoneButton ? 20 : ClientWidth() / 2 - kButtonWidth / 2;
  return TRect(left, kButtonTop, left + kButtonWidth, kButtonTop + kButtonHeight);
}

TRect TPxMonthCalendar::NoneButtonRect() const {
  if (!FShowNoneButton) return TRect();
  return TRect(82, kButtonTop, 82 + kButtonWidth, kButtonTop + kButtonHeight);
}

TRect TPxMonthCalendar::CellRect(Integer column, Integer row) {
  const Integer left = kCalendarGridLeft + kPitchX * column, top = kGridTop + kPitchY * row;
  return TRect(left, top, left + kPitchX, top + kPitchY);
}

bool TPxMonthCalendar::InGridArea(Integer x, Integer y) const {
  return x >= 14 && y >= kGridTop && x < ClientWidth() - 14 && y < ClientHeight() - 20;
}

TDateTime TPxMonthCalendar::DateAt(Integer x, Integer y) const {
  // Columns are measured from the painted grid, so the seventh column is
  // hit where it is drawn.
  const Integer column = std::clamp<Integer>((x - kCalendarGridLeft) / kPitchX, 0, 6);
  const Integer row = std::max<Integer>(0, (y - kGridTop) / kPitchY);
  return ShownMonth().CellDate(column, row);
}

void TPxMonthCalendar::SelectAt(Integer x, Integer y) {
  SetSelectedDate(DateAt(x, y));
}

void TPxMonthCalendar::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxLifeGuard guard(this);
  TCustomControl::MouseDown(button, shift, x, y);
  if (guard.Gone()) return;
  FPressedButton = false;
  if (x < 18 && y < 18) {
    StepCalendarMonth(FYear, FMonth, -1);
    Invalidate();
  } else if (x >= ClientWidth() - 18 && y < 18) {
    StepCalendarMonth(FYear, FMonth, 1);
    Invalidate();
  } else if (InGridArea(x, y)) {
    FDown = true;
    SelectAt(x, y);
    if (OnDayClick) OnDayClick(this);
  } else {
    FPressedButton = true;
  }
}

void TPxMonthCalendar::MouseMove(TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseMove(shift, x, y);
  if (FDown && InGridArea(x, y)) SelectAt(x, y);
}

void TPxMonthCalendar::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  FDown = false;
  if (!FPressedButton) return;
  FPressedButton = false;
  if (TodayButtonRect().Contains(Point(x, y))) {
    SetDate(::Date());
  } else if (NoneButtonRect().Contains(Point(x, y))) {
    SetDate(0);
  }
}

void TPxMonthCalendar::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
}

void TPxMonthCalendar::Paint() {
  TCanvas& canvas = Canvas();
  PaintFramedBackground(canvas, *GetFont(), Color(), ClientRect());
  TCalendarLayout layout;
  layout.Header = TRect(5, 5, ClientWidth() - 5, 21);
  layout.LettersTop = 22;
  layout.GridLeft = kCalendarGridLeft;
  layout.GridTop = kGridTop;
  layout.PitchX = kPitchX;
  layout.PitchY = kPitchY;
  layout.NumberWidth = 15;
  layout.TopLine = 36;
  layout.BottomLine = 128;
  layout.LineRight = ClientWidth() - 17;
  const auto dayFont = [this](TDateTime date, TFont& font) {
    if (!OnDayFont) return;
    Word year = 0, month = 0, day = 0;
    DecodeDate(date, year, month, day);
    OnDayFont(this, day, month, year, &font);
  };
  PaintCalendarFace(canvas, ShownMonth(), FSelectedDate, layout, dayFont);
  PaintCalendarButton(canvas, TodayButtonRect(), FTodayCaption);
  if (FShowNoneButton) PaintCalendarButton(canvas, NoneButtonRect(), FNoneCaption);
}
