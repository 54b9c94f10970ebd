#include "ui/commonctrls.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "rtl/format.h"
#include "ui/menus.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TCommonControl, "ComCtrls")
KST_CLASS_IMPL(TProgressBar, "ComCtrls")
KST_CLASS_IMPL(TTrackBar, "ComCtrls")
KST_CLASS_IMPL(TUpDown, "ComCtrls")
KST_CLASS_IMPL(THotKey, "ComCtrls")
KST_CLASS_IMPL(TDateTimePicker, "ComCtrls")
KST_CLASS_IMPL(TMonthCalColors, "ComCtrls")
KST_CLASS_IMPL(TMonthCalendar, "ComCtrls")
KST_CLASS_IMPL(TAnimate, "ComCtrls")
KST_CLASS_IMPL(TTabControl, "ComCtrls")
KST_CLASS_IMPL(TRichEdit, "ComCtrls")
KST_CLASS_IMPL(TParaAttributes, "ComCtrls")

namespace {

template <class E>
const TEnumTypeInfo& EnumType(const char16_t* name, std::initializer_list<String> values) {
  static const TEnumTypeInfo t(name, u"ComCtrls", values);
  return t;
}

SYSTEMTIME ToSystemTime(TDateTime value) {
  SYSTEMTIME time{};
  Word year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, msec);
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  time.wHour = hour;
  time.wMinute = minute;
  time.wSecond = second;
  return time;
}

// A date from a form is only shown when it is one the system's calendar has.
bool ShowableDate(TDateTime value) {
  return value > -109205.0 && value < 2958466.0;  // 1601-01-01 .. 9999-12-31
}

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TProgressBarOrientation>) {
  return EnumType<TProgressBarOrientation>(u"TProgressBarOrientation", {u"pbHorizontal", u"pbVertical"});
}
const TTypeInfo& DescribeType(TypeTag<TProgressBarStyle>) {
  return EnumType<TProgressBarStyle>(u"TProgressBarStyle", {u"pbstNormal", u"pbstMarquee"});
}
const TTypeInfo& DescribeType(TypeTag<TTrackBarOrientation>) {
  return EnumType<TTrackBarOrientation>(u"TTrackBarOrientation", {u"trHorizontal", u"trVertical"});
}
const TTypeInfo& DescribeType(TypeTag<TTickMark>) {
  return EnumType<TTickMark>(u"TTickMark", {u"tmBottomRight", u"tmTopLeft", u"tmBoth"});
}
const TTypeInfo& DescribeType(TypeTag<TTickStyle>) {
  return EnumType<TTickStyle>(u"TTickStyle", {u"tsNone", u"tsAuto", u"tsManual"});
}
const TTypeInfo& DescribeType(TypeTag<TUDAlignButton>) {
  return EnumType<TUDAlignButton>(u"TUDAlignButton", {u"udLeft", u"udRight"});
}
const TTypeInfo& DescribeType(TypeTag<TUDOrientation>) {
  return EnumType<TUDOrientation>(u"TUDOrientation", {u"udHorizontal", u"udVertical"});
}
const TTypeInfo& DescribeType(TypeTag<THKModifiers>) {
  static const TSetTypeInfo t(u"THKModifiers", u"ComCtrls",
                              EnumType<THKModifier>(u"THKModifier", {u"hkShift", u"hkCtrl", u"hkAlt", u"hkExt"}));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<THKInvalidKeys>) {
  static const TSetTypeInfo t(
      u"THKInvalidKeys", u"ComCtrls",
      EnumType<THKInvalidKey>(u"THKInvalidKey", {u"hcNone", u"hcShift", u"hcCtrl", u"hcAlt", u"hcShiftCtrl",
                                                 u"hcShiftAlt", u"hcCtrlAlt", u"hcShiftCtrlAlt"}));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDateTimeKind>) {
  return EnumType<TDateTimeKind>(u"TDateTimeKind", {u"dtkDate", u"dtkTime"});
}
const TTypeInfo& DescribeType(TypeTag<TDTDateFormat>) {
  return EnumType<TDTDateFormat>(u"TDTDateFormat", {u"dfShort", u"dfLong"});
}
const TTypeInfo& DescribeType(TypeTag<TDTDateMode>) {
  return EnumType<TDTDateMode>(u"TDTDateMode", {u"dmComboBox", u"dmUpDown"});
}
const TTypeInfo& DescribeType(TypeTag<TCommonAVI>) {
  return EnumType<TCommonAVI>(
      u"TCommonAVI", {u"aviNone", u"aviFindFolder", u"aviFindFile", u"aviFindComputer", u"aviCopyFiles", u"aviCopyFile",
                      u"aviRecycleFile", u"aviEmptyRecycle", u"aviDeleteFile"});
}
const TTypeInfo& DescribeType(TypeTag<TTabPosition>) {
  return EnumType<TTabPosition>(u"TTabPosition", {u"tpTop", u"tpBottom", u"tpLeft", u"tpRight"});
}
const TTypeInfo& DescribeType(TypeTag<TTabStyle>) {
  return EnumType<TTabStyle>(u"TTabStyle", {u"tsTabs", u"tsButtons", u"tsFlatButtons"});
}

// ---------------------------------------------------------------------------

void TCommonControl::Describe(TClassBuilder<TCommonControl>&) {}

TCommonControl::TCommonControl(TComponent* owner, const wchar_t* windowClass, DWORD commonClasses)
    : TWinControl(owner), FWindowClass(windowClass), FCommonClasses(commonClasses) {}

void TCommonControl::CreateParams(TCreateParams& params) {
  if (FCommonClasses != 0) {
    INITCOMMONCONTROLSEX icc{sizeof icc, FCommonClasses};
    InitCommonControlsEx(&icc);
  }
  TWinControl::CreateParams(params);
  CreateSubClass(params, FWindowClass);
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCommonControl::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyToWindow();
}

LRESULT TCommonControl::Send(UINT message, WPARAM wParam, LPARAM lParam) {
  return HandleAllocated() ? SendMessageW(Handle(), message, wParam, lParam) : 0;
}

// ---------------------------------------------------------------------------

void TProgressBar::Describe(TClassBuilder<TProgressBar>& c) {
  publish::WinControlBundle(c);
  c.Property(u"Max", &TProgressBar::Max).Default(100);
  c.Property(u"Min", &TProgressBar::Min).Default(0);
  c.Property(u"Orientation", &TProgressBar::Orientation).Default(pbHorizontal);
  c.Property(u"Position", &TProgressBar::Position).Default(0);
  c.Property(u"Smooth", &TProgressBar::Smooth).Default(0);
  c.Property(u"Step", &TProgressBar::Step).Default(10);
  c.Property(u"Style", &TProgressBar::Style).Default(pbstNormal);
}

TProgressBar::TProgressBar(TComponent* owner) : TCommonControl(owner, PROGRESS_CLASSW, ICC_PROGRESS_CLASS) {
  SetBounds(Left(), Top(), 150, 17);
}

void TProgressBar::CreateParams(TCreateParams& params) {
  TCommonControl::CreateParams(params);
  if (Smooth) params.Style |= PBS_SMOOTH;
  if (Orientation == pbVertical) params.Style |= PBS_VERTICAL;
}

void TProgressBar::ApplyToWindow() {
  Send(PBM_SETRANGE32, static_cast<WPARAM>(Min), static_cast<LPARAM>(Max));
  Send(PBM_SETSTEP, static_cast<WPARAM>(Step));
  Send(PBM_SETPOS, static_cast<WPARAM>(Position));
}

// ---------------------------------------------------------------------------

void TTrackBar::Describe(TClassBuilder<TTrackBar>& c) {
  publish::WinControlBundle(c);
  c.Property(u"Frequency", &TTrackBar::Frequency).Default(1);
  c.Property(u"LineSize", &TTrackBar::LineSize).Default(1);
  c.Property(u"Max", &TTrackBar::Max).Default(10);
  c.Property(u"Min", &TTrackBar::Min).Default(0);
  c.Property(u"Orientation", &TTrackBar::Orientation).Default(trHorizontal);
  c.Property(u"PageSize", &TTrackBar::PageSize).Default(2);
  c.Property(u"Position", &TTrackBar::Position).Default(0);
  c.Property(u"SelEnd", &TTrackBar::SelEnd).Default(0);
  c.Property(u"SelStart", &TTrackBar::SelStart).Default(0);
  c.Property(u"ShowSelRange", &TTrackBar::ShowSelRange).Default(1);
  c.Property(u"SliderVisible", &TTrackBar::SliderVisible).Default(1);
  c.Property(u"ThumbLength", &TTrackBar::ThumbLength).Default(20);
  c.Property(u"TickMarks", &TTrackBar::TickMarks).Default(tmBottomRight);
  c.Property(u"TickStyle", &TTrackBar::TickStyle).Default(tsAuto);
  c.Property(u"OnChange", &TTrackBar::OnChange);
}

TTrackBar::TTrackBar(TComponent* owner) : TCommonControl(owner, TRACKBAR_CLASSW, ICC_BAR_CLASSES) {
  SetBounds(Left(), Top(), 150, 45);
  SetTabStop(true);
}

void TTrackBar::CreateParams(TCreateParams& params) {
  TCommonControl::CreateParams(params);
  params.Style |= Orientation == trVertical ? TBS_VERT : TBS_HORZ;
  if (TickStyle == tsAuto) params.Style |= TBS_AUTOTICKS;
  if (TickStyle == tsNone) params.Style |= TBS_NOTICKS;
  if (TickMarks == tmBoth) params.Style |= TBS_BOTH;
  if (TickMarks == tmTopLeft) params.Style |= TBS_TOP;
  if (ShowSelRange) params.Style |= TBS_ENABLESELRANGE;
  if (!SliderVisible) params.Style |= TBS_NOTHUMB;
}

void TTrackBar::ApplyToWindow() {
  Send(TBM_SETRANGEMIN, FALSE, Min);
  Send(TBM_SETRANGEMAX, FALSE, Max);
  Send(TBM_SETTICFREQ, static_cast<WPARAM>(std::max(Frequency, 1)));
  Send(TBM_SETLINESIZE, 0, LineSize);
  Send(TBM_SETPAGESIZE, 0, PageSize);
  if (ShowSelRange) Send(TBM_SETSEL, FALSE, MAKELPARAM(SelStart, SelEnd));
  Send(TBM_SETPOS, TRUE, Position);
}

// ---------------------------------------------------------------------------

void TUpDown::Describe(TClassBuilder<TUpDown>& c) {
  publish::WinControlBundle(c);
  c.Property(u"AlignButton", &TUpDown::AlignButton).Default(udRight);
  c.Property(u"ArrowKeys", &TUpDown::ArrowKeys).Default(1);
  c.Property(u"Associate", &TUpDown::Associate, &TUpDown::SetAssociate);
  c.Property(u"Increment", &TUpDown::Increment).Default(1);
  c.Property(u"Max", &TUpDown::Max).Default(100);
  c.Property(u"Min", &TUpDown::Min).Default(0);
  c.Property(u"Orientation", &TUpDown::Orientation).Default(udVertical);
  c.Property(u"Position", &TUpDown::Position).Default(0);
  c.Property(u"Thousands", &TUpDown::Thousands).Default(1);
  c.Property(u"Wrap", &TUpDown::Wrap).Default(0);
}

TUpDown::TUpDown(TComponent* owner) : TCommonControl(owner, UPDOWN_CLASSW, ICC_UPDOWN_CLASS) {
  SetBounds(Left(), Top(), 17, 25);
}

void TUpDown::SetAssociate(TWinControl* control) {
  if (FAssociate) FAssociate->RemoveFreeNotification(this);
  FAssociate = control;
  if (FAssociate) FAssociate->FreeNotification(this);
}

void TUpDown::Notification(TComponent* component, TOperation operation) {
  TCommonControl::Notification(component, operation);
  if (operation == opRemove && component == FAssociate) FAssociate = nullptr;
}

void TUpDown::CreateParams(TCreateParams& params) {
  TCommonControl::CreateParams(params);
  if (ArrowKeys) params.Style |= UDS_ARROWKEYS;
  if (!Thousands) params.Style |= UDS_NOTHOUSANDS;
  if (Wrap) params.Style |= UDS_WRAP;
  if (Orientation == udHorizontal) params.Style |= UDS_HORZ;
}

void TUpDown::ApplyToWindow() {
  Send(UDM_SETRANGE32, static_cast<WPARAM>(Min), static_cast<LPARAM>(Max));
  Send(UDM_SETPOS32, 0, Position);
  UDACCEL accel{0, static_cast<UINT>(std::max(Increment, 1))};
  Send(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

// ---------------------------------------------------------------------------

void THotKey::Describe(TClassBuilder<THotKey>& c) {
  publish::WinControlBundle(c);
  c.Property(u"HotKey", &THotKey::HotKey, &ShortCutType());
  c.Property(u"InvalidKeys", &THotKey::InvalidKeys);
  c.Property(u"Modifiers", &THotKey::Modifiers);
}

THotKey::THotKey(TComponent* owner) : TCommonControl(owner, HOTKEY_CLASSW, ICC_HOTKEY_CLASS) {
  SetBounds(Left(), Top(), 121, 19);
  SetTabStop(true);
}

void THotKey::ApplyToWindow() {
  // A short-cut holds the virtual key in its low byte and Shift/Ctrl/Alt in
  // its high bits; the window wants the key and its own modifier flags.
  const WORD key = HotKey & 0xFF;
  BYTE modifiers = 0;
  if (HotKey & 0x2000) modifiers |= HOTKEYF_SHIFT;
  if (HotKey & 0x4000) modifiers |= HOTKEYF_CONTROL;
  if (HotKey & 0x8000) modifiers |= HOTKEYF_ALT;
  Send(HKM_SETHOTKEY, MAKEWORD(key, modifiers));
}

// ---------------------------------------------------------------------------

void TDateTimePicker::Describe(TClassBuilder<TDateTimePicker>& c) {
  publish::WinControlBundle(c);
  c.Property(u"Checked", &TDateTimePicker::Checked).Default(1);
  c.Property(u"Date", &TDateTimePicker::Date);
  c.Property(u"DateFormat", &TDateTimePicker::DateFormat).Default(dfShort);
  c.Property(u"DateMode", &TDateTimePicker::DateMode).Default(dmComboBox);
  c.Property(u"Format", &TDateTimePicker::Format);
  c.Property(u"Kind", &TDateTimePicker::Kind).Default(dtkDate);
  c.Property(u"ShowCheckbox", &TDateTimePicker::ShowCheckbox).Default(0);
  c.Property(u"Time", &TDateTimePicker::Time);
  c.Property(u"OnChange", &TDateTimePicker::OnChange);
  c.Property(u"CalAlignment", &TDateTimePicker::CalAlignment).Default(dtaLeft);
  c.Property(u"CalColors", &TDateTimePicker::GetCalColors, &TDateTimePicker::SetCalColors);
  c.Property(u"ParseInput", &TDateTimePicker::ParseInput).Default(0);
  c.Property(u"OnCloseUp", &TDateTimePicker::OnCloseUp);
  c.Property(u"OnDropDown", &TDateTimePicker::OnDropDown);
  c.Property(u"OnUserInput", &TDateTimePicker::OnUserInput);
  publish::ImeProperties(c);
}

const TTypeInfo& DescribeType(TypeTag<TDTCalAlignment>) {
  static const TEnumTypeInfo t(u"TDTCalAlignment", u"ComCtrls", {u"dtaLeft", u"dtaRight"});
  return t;
}

void TMonthCalColors::Describe(TClassBuilder<TMonthCalColors>& c) {
  c.Property(u"BackColor", &TMonthCalColors::BackColor, &types::Color()).Default(clWindow);
  c.Property(u"MonthBackColor", &TMonthCalColors::MonthBackColor, &types::Color()).Default(clWhite);
  c.Property(u"TextColor", &TMonthCalColors::TextColor, &types::Color()).Default(clWindowText);
  c.Property(u"TitleBackColor", &TMonthCalColors::TitleBackColor, &types::Color()).Default(clActiveCaption);
  c.Property(u"TitleTextColor", &TMonthCalColors::TitleTextColor, &types::Color()).Default(clWhite);
  c.Property(u"TrailingTextColor", &TMonthCalColors::TrailingTextColor, &types::Color())
      .Default(clInactiveCaptionText);
}

void TDateTimePicker::SetCalColors(const TMonthCalColors* colors) {
  if (!colors) return;
  FCalColors->BackColor = colors->BackColor;
  FCalColors->TextColor = colors->TextColor;
  FCalColors->TitleBackColor = colors->TitleBackColor;
  FCalColors->TitleTextColor = colors->TitleTextColor;
  FCalColors->MonthBackColor = colors->MonthBackColor;
  FCalColors->TrailingTextColor = colors->TrailingTextColor;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TCommonControl(owner, DATETIMEPICK_CLASSW, ICC_DATE_CLASSES) {
  SetBounds(Left(), Top(), 186, 21);
  SetTabStop(true);
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
  TCommonControl::CreateParams(params);
  if (Kind == dtkTime)
    params.Style |= DTS_TIMEFORMAT;
  else if (DateFormat == dfLong)
    params.Style |= DTS_LONGDATEFORMAT;
  if (DateMode == dmUpDown) params.Style |= DTS_UPDOWN;
  if (ShowCheckbox) params.Style |= DTS_SHOWNONE;
}

void TDateTimePicker::ApplyToWindow() {
  const TDateTime shown = static_cast<TDateTime>(static_cast<Int64>(Date)) + (Time - static_cast<Int64>(Time));
  if (ShowableDate(shown)) {
    SYSTEMTIME time = ToSystemTime(shown);
    Send(DTM_SETSYSTEMTIME, ShowCheckbox && !Checked ? GDT_NONE : GDT_VALID, reinterpret_cast<LPARAM>(&time));
  }
  if (!Format.empty()) Send(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(Format.c_str()));
}

// ---------------------------------------------------------------------------

void TMonthCalendar::Describe(TClassBuilder<TMonthCalendar>& c) {
  publish::WinControlBundle(c);
  c.Property(u"Date", &TMonthCalendar::Date);
  c.Property(u"MultiSelect", &TMonthCalendar::MultiSelect).Default(0);
  c.Property(u"ShowToday", &TMonthCalendar::ShowToday).Default(1);
  c.Property(u"ShowTodayCircle", &TMonthCalendar::ShowTodayCircle).Default(1);
  c.Property(u"WeekNumbers", &TMonthCalendar::WeekNumbers).Default(0);
}

TMonthCalendar::TMonthCalendar(TComponent* owner) : TCommonControl(owner, MONTHCAL_CLASSW, ICC_DATE_CLASSES) {
  SetBounds(Left(), Top(), 191, 154);
  SetTabStop(true);
}

void TMonthCalendar::CreateParams(TCreateParams& params) {
  TCommonControl::CreateParams(params);
  if (MultiSelect) params.Style |= MCS_MULTISELECT;
  if (!ShowToday) params.Style |= MCS_NOTODAY;
  if (!ShowTodayCircle) params.Style |= MCS_NOTODAYCIRCLE;
  if (WeekNumbers) params.Style |= MCS_WEEKNUMBERS;
}

void TMonthCalendar::ApplyToWindow() {
  if (!ShowableDate(Date) || Date == 0) return;
  SYSTEMTIME time = ToSystemTime(Date);
  Send(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&time));
}

// ---------------------------------------------------------------------------

void TAnimate::Describe(TClassBuilder<TAnimate>& c) {
  publish::WinControlBundle(c);
  c.Property(u"Active", &TAnimate::Active).Default(0);
  c.Property(u"AutoSize", &TAnimate::AutoSize).Default(1);
  c.Property(u"Center", &TAnimate::Center).Default(1);
  c.Property(u"CommonAVI", &TAnimate::CommonAVI).Default(aviNone);
  c.Property(u"FileName", &TAnimate::FileName);
  c.Property(u"Repetitions", &TAnimate::Repetitions).Default(0);
  c.Property(u"StartFrame", &TAnimate::StartFrame).Default(1);
  c.Property(u"StopFrame", &TAnimate::StopFrame).Default(0);
  c.Property(u"Transparent", &TAnimate::Transparent).Default(1);
}

TAnimate::TAnimate(TComponent* owner) : TCommonControl(owner, ANIMATE_CLASSW, ICC_ANIMATE_CLASS) {
  SetBounds(Left(), Top(), 100, 80);
}

void TAnimate::CreateParams(TCreateParams& params) {
  TCommonControl::CreateParams(params);
  if (Center) params.Style |= ACS_CENTER;
  if (Transparent) params.Style |= ACS_TRANSPARENT;
}

// ---------------------------------------------------------------------------

void TTabControl::Describe(TClassBuilder<TTabControl>& c) {
  publish::WinControlBundle(c);
  c.Property(u"HotTrack", &TTabControl::HotTrack).Default(0);
  c.Property(u"MultiLine", &TTabControl::MultiLine).Default(0);
  c.Property(u"RaggedRight", &TTabControl::RaggedRight).Default(0);
  c.Property(u"Style", &TTabControl::Style).Default(tsTabs);
  c.Property(u"TabHeight", &TTabControl::TabHeight).Default(0);
  c.Property(u"TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex).Default(-1);
  c.Property(u"TabPosition", &TTabControl::TabPosition).Default(tpTop);
  c.Property(u"Tabs", &TTabControl::GetTabs, &TTabControl::SetTabs);
  c.Property(u"TabWidth", &TTabControl::TabWidth).Default(0);
  c.Property(u"OnChange", &TTabControl::OnChange);
  publish::ResizeEvents(c);
}

TTabControl::TTabControl(TComponent* owner)
    : TCommonControl(owner, WC_TABCONTROLW, ICC_TAB_CLASSES), FTabs(std::make_unique<TStringList>()) {
  FControlStyle.Include(csAcceptsControls);
  SetBounds(Left(), Top(), 289, 193);
  SetTabStop(true);
}

TTabControl::~TTabControl() = default;

void TTabControl::SetTabs(const TStrings* tabs) {
  if (tabs) FTabs->Assign(*tabs);
  if (HandleAllocated()) ApplyToWindow();
}

Integer TTabControl::TabIndex() const {
  return FTabIndex;
}

void TTabControl::SetTabIndex(Integer index) {
  FTabIndex = index;
  Send(TCM_SETCURSEL, static_cast<WPARAM>(index));
}

void TTabControl::CreateParams(TCreateParams& params) {
  TCommonControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  if (MultiLine) params.Style |= TCS_MULTILINE;
  if (HotTrack) params.Style |= TCS_HOTTRACK;
  if (RaggedRight) params.Style |= TCS_RAGGEDRIGHT;
  if (Style == tsButtons) params.Style |= TCS_BUTTONS;
  if (Style == tsFlatButtons) params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
  if (TabPosition == tpBottom) params.Style |= TCS_BOTTOM;
  if (TabPosition == tpLeft || TabPosition == tpRight) params.Style |= TCS_VERTICAL | TCS_MULTILINE;
  if (TabPosition == tpRight) params.Style |= TCS_RIGHT;
  if (TabWidth > 0) params.Style |= TCS_FIXEDWIDTH;
}

void TTabControl::ApplyToWindow() {
  Send(TCM_DELETEALLITEMS);
  for (Integer i = 0; i < FTabs->Count(); ++i) {
    String caption = (*FTabs)[i];
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<LPWSTR>(caption.data());
    Send(TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  if (TabWidth > 0 || TabHeight > 0) Send(TCM_SETITEMSIZE, 0, MAKELPARAM(TabWidth, TabHeight));
  Send(TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex));
  Realign();
}

void TTabControl::AdjustClientRect(TRect& rect) const {
  TCommonControl::AdjustClientRect(rect);
  if (!HandleAllocated()) return;
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  SendMessageW(const_cast<TTabControl*>(this)->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  rect = Rect(r.left, r.top, r.right, r.bottom);
}

// ---------------------------------------------------------------------------

void TRichEdit::Describe(TClassBuilder<TRichEdit>& c) {
  publish::BiDiProperties(c);
  publish::DragProperties(c);
  c.Property(u"HideScrollBars", &TRichEdit::HideScrollBars).Default(1);
  c.Property(u"PlainText", &TRichEdit::PlainText).Default(0);
  c.Property(u"Zoom", &TRichEdit::Zoom).Default(100);
}

TRichEdit::TRichEdit(TComponent* owner) : TMemo(owner), FParagraph(std::make_unique<TParaAttributes>(this)) {
  SetBounds(Left(), Top(), 185, 89);
}

TRichEdit::~TRichEdit() = default;

const TTypeInfo& DescribeType(TypeTag<TNumberingStyle>) {
  return EnumType<TNumberingStyle>(u"TNumberingStyle", {u"nsNone", u"nsBullet"});
}

void TParaAttributes::Describe(TClassBuilder<TParaAttributes>&) {}

struct TParaAttributes::ParaFormat : PARAFORMAT2 {
  ParaFormat() : PARAFORMAT2() { cbSize = sizeof(PARAFORMAT2); }
};

TParaAttributes::ParaFormat TParaAttributes::Get() const {
  ParaFormat format;
  if (FRichEdit) {
    FRichEdit->HandleNeeded();
    SendMessageW(FRichEdit->Handle(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
  }
  return format;
}

void TParaAttributes::Set(ParaFormat& format) const {
  if (!FRichEdit) return;
  FRichEdit->HandleNeeded();
  SendMessageW(FRichEdit->Handle(), EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

TAlignment TParaAttributes::Alignment() const {
  switch (Get().wAlignment) {
    case PFA_RIGHT: return taRightJustify;
    case PFA_CENTER: return taCenter;
    default: return taLeftJustify;
  }
}

void TParaAttributes::SetAlignment(TAlignment value) {
  ParaFormat format;
  format.dwMask = PFM_ALIGNMENT;
  format.wAlignment = value == taRightJustify ? PFA_RIGHT : value == taCenter ? PFA_CENTER : PFA_LEFT;
  Set(format);
}

namespace {
constexpr Integer kTwipsPerPoint = 20;
// Points to twips, held to what the control's 32-bit fields carry.
LONG ParaTwips(Integer points) {
  return static_cast<LONG>(std::clamp<Int64>(Int64{points} * kTwipsPerPoint, INT32_MIN, INT32_MAX));
}
}  // namespace

void TParaAttributes::SetIndent(DWORD mask, Integer points) const {
  ParaFormat format;
  format.dwMask = mask;
  // The control reads only the field the mask names.
  format.dxStartIndent = format.dxOffset = format.dxRightIndent = ParaTwips(points);
  Set(format);
}

Integer TParaAttributes::FirstIndent() const {
  return Get().dxStartIndent / kTwipsPerPoint;
}

void TParaAttributes::SetFirstIndent(Integer value) {
  SetIndent(PFM_STARTINDENT, value);
}

Integer TParaAttributes::LeftIndent() const {
  return Get().dxOffset / kTwipsPerPoint;
}

void TParaAttributes::SetLeftIndent(Integer value) {
  SetIndent(PFM_OFFSET, value);
}

Integer TParaAttributes::RightIndent() const {
  return Get().dxRightIndent / kTwipsPerPoint;
}

void TParaAttributes::SetRightIndent(Integer value) {
  SetIndent(PFM_RIGHTINDENT, value);
}

TNumberingStyle TParaAttributes::Numbering() const {
  return Get().wNumbering == PFN_BULLET ? nsBullet : nsNone;
}

void TParaAttributes::SetNumbering(TNumberingStyle value) {
  ParaFormat format;
  format.dwMask = PFM_NUMBERING;
  format.wNumbering = value == nsBullet ? PFN_BULLET : 0;
  Set(format);
}

Integer TParaAttributes::Tab(Integer index) const {
  if (index < 0 || index >= kMaxTabStops) throw EListError(::Format(u"List index out of bounds (%d)", {index}));
  const TParaAttributes::ParaFormat format = Get();
  // The high byte of a stop holds its kind (rich edit 3), not its place.
  return (format.rgxTabs[index] & 0x00FFFFFF) / kTwipsPerPoint;
}

void TParaAttributes::SetTab(Integer index, Integer value) {
  if (index < 0 || index >= kMaxTabStops) throw EListError(::Format(u"List index out of bounds (%d)", {index}));
  TParaAttributes::ParaFormat format = Get();
  format.dwMask = PFM_TABSTOPS;
  if (format.cTabCount <= index) format.cTabCount = static_cast<SHORT>(index + 1);
  format.rgxTabs[index] = std::clamp<LONG>(ParaTwips(value), 0, 0x00FFFFFF);
  Set(format);
}

Integer TParaAttributes::TabCount() const {
  return std::clamp<Integer>(Get().cTabCount, 0, kMaxTabStops);
}

void TParaAttributes::SetTabCount(Integer value) {
  TParaAttributes::ParaFormat format = Get();
  format.dwMask = PFM_TABSTOPS;
  format.cTabCount = static_cast<SHORT>(std::clamp<Integer>(value, 0, kMaxTabStops));
  Set(format);
}

void TParaAttributes::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TParaAttributes*>(source)) {
    SetAlignment(other->Alignment());
    SetFirstIndent(other->FirstIndent());
    SetLeftIndent(other->LeftIndent());
    SetRightIndent(other->RightIndent());
    SetNumbering(other->Numbering());
    const Integer count = other->TabCount();
    for (Integer i = 0; i < count; ++i) SetTab(i, other->Tab(i));
    SetTabCount(count);
    return;
  }
  TPersistent::Assign(source);
}

void TRichEdit::CreateParams(TCreateParams& params) {
  // The system's rich edit lives in its own library, loaded once for the
  // program's life like the common controls.
  static const HMODULE richEdit = LoadLibraryW(L"riched20.dll");
  TMemo::CreateParams(params);
  if (richEdit) CreateSubClass(params, RICHEDIT_CLASSW);
  if (!HideScrollBars) params.Style |= ES_DISABLENOSCROLL;
}
