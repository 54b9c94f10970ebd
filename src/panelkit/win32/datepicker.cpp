#include "panelkit/win32/datepicker.h"

#include "panelkit/win32/calcedit.h"
#include "panelkit/win32/colorpicker.h"
#include "panelkit/win32/monthcalendar.h"
#include "panelkit/win32/themes.h"
#include "panelkit/win32/timepicker.h"
#include "rtl/numbers.h"
#include "ui/forms.h"

KST_CLASS_IMPL(TPxDatePopup, "PxDatePicker")
KST_CLASS_IMPL(TPxDatePicker, "PxDatePicker")

const TTypeInfo& DescribeType(TypeTag<TStartDayOfWeek>) {
  static const TEnumTypeInfo t(u"TStartDayOfWeek", u"PxClasses", {u"dwAutomatic", u"dwMonday", u"dwSunday"});
  return t;
}

namespace {

constexpr Integer kGridLeft = 15;
constexpr TColor kThemedSelection = 0x94E6FB;
constexpr TColor kThemedTodayFrame = 0x000080;

}  // namespace

TStartDayOfWeek EffectiveStartDay(TStartDayOfWeek startDay) {
  if (startDay != dwAutomatic) return startDay;
  wchar_t answer[4] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, answer, 4);
  String text;
  for (wchar_t ch : answer) {
    if (!ch) break;
    text.push_back(static_cast<Char>(ch));
  }
  return ResolveStartDay(startDay, ParseLocaleFirstDay(text));
}

// ---- The calendar drop-down ----

void TPxDatePopup::Describe(TClassBuilder<TPxDatePopup>&) {}

TPxDatePopup::TPxDatePopup(TComponent* owner) : TPxPopupControl(owner) {
  SetDoubleBuffered(true);
}

void TPxDatePopup::SetDate(TDateTime value) {
  FSelectedDate = value;
  Word day = 0;
  DecodeDate(value, FYear, FMonth, day);
  if (FYear == 0) {
    FYear = 1;
    FMonth = 1;
  }
}

TCalendarMonth TPxDatePopup::ShownMonth() const {
  return TCalendarMonth{FYear, FMonth, EffectiveStartDay(FStartDay)};
}

TSize TPxDatePopup::DaySize() {
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(GetFont());
  const Integer height = canvas.TextHeight(u"0");
  FCellWidth = height + 4;
  FCellHeight = height + 2;
  return TSize{FCellWidth, FCellHeight};
}

TRect TPxDatePopup::HeaderRect() {
  const TSize cell = DaySize();
  return TRect(5, 5, ClientWidth() - 5, 5 + cell.cy);
}

TRect TPxDatePopup::DayGridRect() {
  const TRect header = HeaderRect();
  const Integer top = header.Bottom + FCellHeight;
  return TRect(kGridLeft, top, kGridLeft + 7 * FCellWidth, top + 6 * FCellHeight);
}

TRect TPxDatePopup::TodayButtonRect() {
  const TSize cell = DaySize();
  const Integer width = Width() / 3;
  const Integer height = cell.cy + 6;
  const Integer top = Height() - height - 8;
  const Integer left = ShowNoneButton ? width / 2 - 5 : ClientWidth() / 2 - width / 2;
  return TRect(left, top, left + width, top + height);
}

TRect TPxDatePopup::NoneButtonRect() {
  if (!ShowNoneButton) return TRect();
  const TRect today = TodayButtonRect();
  const Integer left = Width() / 3 * 3 / 2 + 5;
  return TRect(left, today.Top, left + today.Width(), today.Bottom);
}

void TPxDatePopup::BeforePopup() {
  TPxPopupControl::BeforePopup();
  HandleNeeded();
  const TSize cell = DaySize();
  const TRect header(5, 5, 0, 5 + cell.cy);
  SetBounds(Left(), Top(), 7 * cell.cx + 30, header.Bottom + 7 * cell.cy + cell.cy + 20);
}

TRect TPxDatePopup::GetPickRect() const {
  // The cell sizes are those of the last layout, which every opening makes.
  const Integer top = 5 + FCellHeight + FCellHeight;
  TRect grid(kGridLeft, top, kGridLeft + 7 * FCellWidth, top + 6 * FCellHeight);
  return grid;
}

void TPxDatePopup::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (DropMode() == dmDropped && PressedSinceOpening()) {
    if (TodayButtonRect().Contains(Point(x, y))) {
      Input(DatePickerText(::Date(), FormatSettings()));
      return;
    }
    if (NoneButtonRect().Contains(Point(x, y))) {
      Input(String());
      return;
    }
    // The button row outside the buttons closes without a choice.
    if (y >= DayGridRect().Bottom && y < ClientHeight()) {
      ClosePopup();
      return;
    }
  }
  TPxPopupControl::MouseUp(button, shift, x, y);
}

void TPxDatePopup::PickAt(Integer x, Integer y) {
  const TRect grid = DayGridRect();
  if (!grid.Contains(Point(x, y)) || FCellWidth <= 0 || FCellHeight <= 0) return;
  const TDateTime date = ShownMonth().CellDate((x - grid.Left) / FCellWidth, (y - grid.Top) / FCellHeight);
  FSelectedDate = date;
  Input(DatePickerText(date, FormatSettings()));
}

void TPxDatePopup::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxPopupControl::MouseDown(button, shift, x, y);
  if (DropMode() != dmDropped) return;
  const TRect header = HeaderRect();
  if (header.Contains(Point(x, y)) && x < kGridLeft) {
    StepCalendarMonth(FYear, FMonth, -1);
    Invalidate();
  } else if (header.Contains(Point(x, y)) && x >= header.Right - kGridLeft) {
    StepCalendarMonth(FYear, FMonth, 1);
    Invalidate();
  }
}

void TPxDatePopup::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
}

void PaintCalendarFace(TCanvas& canvas, const TCalendarMonth& month, TDateTime selected, const TCalendarLayout& layout,
                       const std::function<void(TDateTime, TFont&)>& dayFont) {
  const bool themed = IsThemed();
  const TRect header = layout.Header;
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect(header);
  canvas.Brush().SetStyle(bsClear);
  canvas.Font().SetColor(clWindowText);
  TRect title = header;
  canvas.DrawText(LocalSettings().LongMonthName(month.Month) + u" " + IntToStr(month.Year), title,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clWindowText);
  canvas.Pen().SetColor(clWindowText);
  const Integer middle = header.Top + header.Height() / 2;
  const Integer right = header.Right + 5 - 15;
  canvas.Polygon({Point(15, middle - 4), Point(15, middle + 4), Point(11, middle)});
  canvas.Polygon({Point(right, middle - 4), Point(right, middle + 4), Point(right + 4, middle)});

  canvas.Brush().SetStyle(bsClear);
  for (Integer column = 1; column <= 7; ++column) {
    const String name = LocalSettings().LongDayName(CalendarHeaderDayIndex(column, month.StartDay));
    const Integer left = layout.GridLeft + (column - 1) * layout.PitchX;
    TRect cell(left, layout.LettersTop, left + layout.NumberWidth, layout.GridTop - 1);
    canvas.DrawText(name.substr(0, 1), cell, DT_SINGLELINE | DT_RIGHT | DT_VCENTER | DT_NOPREFIX);
  }
  canvas.Pen().SetColor(clGrayText);
  canvas.MoveTo(layout.GridLeft, layout.TopLine);
  canvas.LineTo(layout.LineRight, layout.TopLine);
  const TDateTime today = ::Date();
  for (Integer cellIndex = 0; cellIndex < 42; ++cellIndex) {
    const Integer column = cellIndex % 7, row = cellIndex / 7;
    const TDateTime date = month.CellDate(column, row);
    const Integer left = layout.GridLeft + column * layout.PitchX, top = layout.GridTop + row * layout.PitchY;
    const TRect cell(left, top, left + layout.PitchX, top + layout.PitchY);
    if (date == DateOf(selected)) {
      canvas.Brush().SetStyle(bsSolid);
      canvas.Brush().SetColor(themed ? kThemedSelection : clSilver);
      canvas.FillRect(cell);
    }
    if (date == today) {
      canvas.Brush().SetStyle(bsSolid);
      canvas.Brush().SetColor(themed ? kThemedTodayFrame : clHighlight);
      canvas.FrameRect(cell);
    }
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(month.Shows(date) ? clWindowText : clGrayText);
    if (dayFont) dayFont(date, canvas.Font());
    TRect number(left, top, left + layout.NumberWidth, top + layout.PitchY);
    canvas.DrawText(IntToStr(DayOf(date)), number, DT_SINGLELINE | DT_RIGHT | DT_VCENTER | DT_NOPREFIX);
  }
  canvas.Pen().SetColor(clGrayText);
  canvas.MoveTo(layout.GridLeft, layout.BottomLine);
  canvas.LineTo(layout.LineRight, layout.BottomLine);
}

void PaintFramedBackground(TCanvas& canvas, TFont& font, TColor color, const TRect& client) {
  canvas.Font().Assign(&font);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(color);
  canvas.Pen().SetColor(clGrayText);
  canvas.Rectangle(client);
}

void PaintCalendarButton(TCanvas& canvas, const TRect& bounds, const String& caption) {
  canvas.Font().SetColor(clWindowText);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clBtnFace);
  canvas.Pen().SetColor(clGrayText);
  canvas.Rectangle(bounds);
  canvas.Brush().SetStyle(bsClear);
  TRect r = bounds;
  canvas.DrawText(caption, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

void TPxDatePopup::Paint() {
  TCanvas& canvas = Canvas();
  const TRect header = HeaderRect();
  PaintFramedBackground(canvas, *GetFont(), Color(), ClientRect());
  TCalendarLayout layout;
  layout.Header = header;
  layout.LettersTop = header.Bottom;
  layout.GridLeft = kGridLeft;
  layout.GridTop = header.Bottom + FCellHeight;
  layout.PitchX = FCellWidth;
  layout.PitchY = FCellHeight;
  layout.NumberWidth = FCellHeight;
  layout.TopLine = header.Bottom + FCellHeight - 1;
  layout.BottomLine = header.Bottom + 7 * FCellHeight;
  layout.LineRight = ClientWidth() - kGridLeft;
  PaintCalendarFace(canvas, ShownMonth(), FSelectedDate, layout, nullptr);
  PaintCalendarButton(canvas, TodayButtonRect(), TodayCaption);
  if (ShowNoneButton) PaintCalendarButton(canvas, NoneButtonRect(), NoneCaption);
}

// ---- The date picker ----

void TPxDatePicker::Describe(TClassBuilder<TPxDatePicker>& c) {
  using T = TPxDatePicker;
  c.Property(u"Date", &T::Date, &T::SetDate);
  c.Property(u"EmptyText", &T::EmptyText, &T::SetEmptyText);
  c.Property(u"NoneCaption", &T::NoneCaption, &T::SetNoneCaption);
  c.Property(u"ShowNoneButton", &T::ShowNoneButton, &T::SetShowNoneButton).Default(true);
  c.Property(u"StartDay", &T::StartDay, &T::SetStartDay).Default(dwSunday);
  c.Property(u"TodayCaption", &T::TodayCaption, &T::SetTodayCaption);
}

TPxDatePicker::TPxDatePicker(TComponent* owner) : TPxPopupEdit(owner) {
  SetDate(::Date());
}

TPxPopupControl* TPxDatePicker::NewPopup() {
  return new TPxDatePopup(this);
}

TDateTime TPxDatePicker::Date() const {
  return ReadDatePickerText(Text(), ::Date(), FormatSettings());
}

void TPxDatePicker::SetDate(TDateTime value) {
  SetText(DatePickerText(value, FormatSettings()));
}

void TPxDatePicker::PreparePopup() {
  TPxDatePopup& calendar = Calendar();
  calendar.NoneCaption = FNoneCaption;
  calendar.TodayCaption = FTodayCaption;
  calendar.ShowNoneButton = FShowNoneButton;
  calendar.SetStartDay(FStartDay);
  const TDateTime date = Date();
  calendar.SetDate(date != 0 ? date : ::Date());
}

void TPxDatePicker::KeyDown(Word& key, TShiftState shift) {
  TPxPopupEdit::KeyDown(key, shift);
  if (!DroppedDown() || key == 0) return;
  const bool shifted = shift.Contains(ssShift);
  TDateKeyStep step{};
  switch (key) {
    case VK_PRIOR: step = shifted ? TDateKeyStep::YearBack : TDateKeyStep::MonthBack; break;
    case VK_NEXT: step = shifted ? TDateKeyStep::YearOn : TDateKeyStep::MonthOn; break;
    case VK_LEFT: step = shifted ? TDateKeyStep::MonthBack : TDateKeyStep::DayBack; break;
    case VK_RIGHT: step = shifted ? TDateKeyStep::MonthOn : TDateKeyStep::DayOn; break;
    case VK_UP: step = TDateKeyStep::WeekBack; break;
    case VK_DOWN: step = TDateKeyStep::WeekOn; break;
    default: return;
  }
  SetDate(StepDate(Date(), step));
  key = 0;
  Calendar().SetDate(Date());
  Calendar().Invalidate();
}

void TPxDatePicker::Dispatch(TMessage& m) {
  if (m.Msg == WM_KILLFOCUS) {
    TPxPopupEdit::Dispatch(m);
    // An unreadable text becomes today; a readable one takes the standard form.
    const String text = Text();
    if (!text.empty()) {
      TDateTime value = 0;
      SetDate(TryStrToDateTime(text, value, FormatSettings()) ? value : ::Date());
    }
    return;
  }
  TPxPopupEdit::Dispatch(m);
}

void RegisterPickerClasses(TClassRegistry& registry, const String& module) {
  registry.RegisterClasses({&TPxDatePopup::StaticClass(), &TPxDatePicker::StaticClass(), &TPxCalcPopup::StaticClass(),
                            &TPxCalcEdit::StaticClass(), &TPxTimePopup::StaticClass(), &TPxTimePicker::StaticClass(),
                            &TPxTimeEdit::StaticClass(), &TPxMonthCalendar::StaticClass(),
                            &TPxColorPopup::StaticClass(), &TPxColorPicker::StaticClass()},
                           module);
  registry.RegisterType(DescribeType(TypeTag<TPxColorPickerOptions>{}));
  registry.RegisterType(DescribeType(TypeTag<TDialogCloseEvent>{}));
  registry.RegisterType(DescribeType(TypeTag<TStartDayOfWeek>{}));
  registry.RegisterType(DescribeType(TypeTag<TPxDayFontEvent>{}));
}
