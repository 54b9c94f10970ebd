// The date picker and its drop-down month calendar: a grid of six weeks
// under a header with the month, the year and two arrows, with a "Today"
// and a "None" button below; a release on a day hands that date back.
#pragma once

#include <functional>

#include "panelkit/calendargrid.h"
#include "panelkit/win32/popupedit.h"

const TTypeInfo& DescribeType(TypeTag<TStartDayOfWeek>);

// The start day with an automatic one resolved by the user's locale.
TStartDayOfWeek EffectiveStartDay(TStartDayOfWeek startDay);

// Where a month calendar draws its header, day letters, lines and six weeks.
struct TCalendarLayout {
  TRect Header;
  Integer LettersTop = 0;
  Integer GridLeft = 0;
  Integer GridTop = 0;
  Integer PitchX = 0;
  Integer PitchY = 0;
  // The day numbers are right-aligned in this width from a cell's left.
  Integer NumberWidth = 0;
  Integer TopLine = 0;
  Integer BottomLine = 0;
  Integer LineRight = 0;
};

// The month's face: the header with its title and arrows, the day letters
// and the 42 days, the selected one filled and today framed; the hook may
// change a day's font.
void PaintCalendarFace(TCanvas& canvas, const TCalendarMonth& month, TDateTime selected, const TCalendarLayout& layout,
                       const std::function<void(TDateTime, TFont&)>& dayFont);
// The drop-downs' and the calendar's ground: the colour inside a grey
// one-pixel frame, the canvas taking the font.
void PaintFramedBackground(TCanvas& canvas, TFont& font, TColor color, const TRect& client);
void PaintCalendarButton(TCanvas& canvas, const TRect& bounds, const String& caption);

class TPxDatePopup : public TPxPopupControl {
  KST_CLASS(TPxDatePopup, TPxPopupControl)
 public:
  explicit TPxDatePopup(TComponent* owner);

  TDateTime SelectedDate() const { return FSelectedDate; }
  void SetSelectedDate(TDateTime value) { FSelectedDate = value; }
  // Shows the date's month with the date selected.
  void SetDate(TDateTime value);
  Word Year() const { return FYear; }
  Word Month() const { return FMonth; }
  TStartDayOfWeek StartDay() const { return FStartDay; }
  void SetStartDay(TStartDayOfWeek value) { FStartDay = value; }
  String TodayCaption = u"Today";
  String NoneCaption = u"None";
  bool ShowNoneButton = true;

  // A day cell's size: the font's height + 4 wide, + 2 high.
  TSize DaySize();
  TRect HeaderRect();
  TRect DayGridRect();
  TRect TodayButtonRect();
  TRect NoneButtonRect();
  TCalendarMonth ShownMonth() const;
  void BeforePopup() override;
  TRect GetPickRect() const override;
  void PickAt(Integer x, Integer y) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void WMEraseBkgnd(TMessage& message) override;

 private:
  TDateTime FSelectedDate = 0;
  Word FYear = 1;
  Word FMonth = 1;
  TStartDayOfWeek FStartDay = dwAutomatic;
  Integer FCellWidth = 0;
  Integer FCellHeight = 0;
};

class TPxDatePicker : public TPxPopupEdit {
  KST_CLASS(TPxDatePicker, TPxPopupEdit)
 public:
  explicit TPxDatePicker(TComponent* owner);

  TDateTime Date() const;
  void SetDate(TDateTime value);
  const String& EmptyText() const { return FEmptyText; }
  void SetEmptyText(const String& value) { FEmptyText = value; }
  const String& NoneCaption() const { return FNoneCaption; }
  void SetNoneCaption(const String& value) { FNoneCaption = value; }
  bool ShowNoneButton() const { return FShowNoneButton; }
  void SetShowNoneButton(bool value) { FShowNoneButton = value; }
  TStartDayOfWeek StartDay() const { return FStartDay; }
  void SetStartDay(TStartDayOfWeek value) { FStartDay = value; }
  const String& TodayCaption() const { return FTodayCaption; }
  void SetTodayCaption(const String& value) { FTodayCaption = value; }
  TPxDatePopup& Calendar() { return static_cast<TPxDatePopup&>(Popup()); }

 protected:
  TPxPopupControl* NewPopup() override;
  void PreparePopup() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void Dispatch(TMessage& message) override;
  TDateTime GetValueAsDateTime() const override { return Date(); }
  void SetValueAsDateTimeImpl(TDateTime value) override { SetDate(value); }

 private:
  String FEmptyText;
  String FNoneCaption = u"None";
  bool FShowNoneButton = true;
  TStartDayOfWeek FStartDay = dwSunday;
  String FTodayCaption = u"Today";
};

// The pickers and their drop-downs, with the types their properties use.
void RegisterPickerClasses(TClassRegistry& registry, const String& module);
