// The stand-alone month calendar: a header whose arrows step the month, the
// day letters, six weeks with the neighbouring months greyed, today framed
// and the selected date filled, and "Today" and "None" buttons below.
#pragma once

#include "panelkit/win32/datepicker.h"

using TPxDayFontEvent = TDelegate<void(TObject* Sender, Integer Day, Integer Month, Integer Year, TFont* Font)>;

class TPxMonthCalendar : public TCustomControl {
  KST_CLASS(TPxMonthCalendar, TCustomControl)
 public:
  explicit TPxMonthCalendar(TComponent* owner);

  TDateTime Date() const { return FDate; }
  // Shows the date's month with the date selected, without OnChange.
  void SetDate(TDateTime value);
  Word Day() const { return FDay; }
  void SetDay(Word value) { FDay = value; }
  Word Month() const { return FMonth; }
  void SetMonth(Word value);
  Word Year() const { return FYear; }
  void SetYear(Word value);
  TDateTime SelectedDate() const { return FSelectedDate; }
  void SetSelectedDate(TDateTime value);
  const String& NoneCaption() const { return FNoneCaption; }
  void SetNoneCaption(const String& value);
  const String& TodayCaption() const { return FTodayCaption; }
  void SetTodayCaption(const String& value);
  bool ShowNoneButton() const { return FShowNoneButton; }
  void SetShowNoneButton(bool value);
  TStartDayOfWeek StartDay() const { return FStartDay; }
  void SetStartDay(TStartDayOfWeek value);

  TCalendarMonth ShownMonth() const;
  TRect TodayButtonRect() const;
  TRect NoneButtonRect() const;
  // The cell of grid column 0..6 and row 0..5.
  static TRect CellRect(Integer column, Integer row);
  // The date under a client point of the grid area.
  TDateTime DateAt(Integer x, Integer y) const;

  TNotifyEvent OnChange;
  TNotifyEvent OnDayClick;
  TPxDayFontEvent OnDayFont;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void WMEraseBkgnd(TMessage& message) override;
  virtual void DoChange();

 private:
  bool InGridArea(Integer x, Integer y) const;
  void SelectAt(Integer x, Integer y);
  TDateTime FDate = 0;
  Word FDay = 1;
  Word FMonth = 1;
  Word FYear = 1;
  TDateTime FSelectedDate = 0;
  String FNoneCaption = u"None";
  String FTodayCaption = u"Today";
  bool FShowNoneButton = false;
  TStartDayOfWeek FStartDay = dwAutomatic;
  bool FDown = false;
  bool FPressedButton = false;
};

const TTypeInfo& DescribeType(TypeTag<TPxDayFontEvent>);
