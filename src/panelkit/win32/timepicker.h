// The time picker and its drop-down: a column of the morning hours, one of
// the afternoon hours and one of the minutes in steps of five; a release
// hands the chosen time back in the locale's long time format.
#pragma once

#include "panelkit/timetext.h"
#include "panelkit/win32/editbuttons.h"
#include "panelkit/win32/popupedit.h"

class TPxTimePopup : public TPxPopupControl {
  KST_CLASS(TPxTimePopup, TPxPopupControl)
 public:
  explicit TPxTimePopup(TComponent* owner);
  TDateTime SelectedTime() const { return FSelectedTime; }
  // Shows and selects the hour and minute of a time.
  void SetTime(TDateTime value);
  Word Hours() const { return FHours; }
  Word Minutes() const { return FMinutes; }
  String HoursString = u"H";
  String MinutesString = u"M";
  // The cell of an hour (0 to 23) and of a minute (0 to 55).
  TRect HourRect(Integer hour) const;
  TRect MinuteRect(Integer minute) const;
  TRect GetPickRect() const override { return ClientRect(); }
  void PickAt(Integer x, Integer y) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void WMEraseBkgnd(TMessage& message) override;

 private:
  Integer ColumnWidth() const { return (ClientWidth() - 10) / 3; }
  void PickPoint(Integer x, Integer y);
  TDateTime FSelectedTime = 0;
  Word FHours = 0;
  Word FMinutes = 0;
  bool FTracking = false;
};

class TPxTimePicker : public TPxPopupEdit {
  KST_CLASS(TPxTimePicker, TPxPopupEdit)
 public:
  explicit TPxTimePicker(TComponent* owner);
  TDateTime Time() const;
  void SetTime(TDateTime value);
  const String& HoursString() const { return FHoursString; }
  void SetHoursString(const String& value) { FHoursString = value; }
  const String& MinutesString() const { return FMinutesString; }
  void SetMinutesString(const String& value) { FMinutesString = value; }
  bool UseStandardMinute() const { return FUseStandardMinute; }
  void SetUseStandardMinute(bool value);
  TPxTimePopup& Chooser() { return static_cast<TPxTimePopup&>(Popup()); }

 protected:
  TPxPopupControl* NewPopup() override;
  void PreparePopup() override;
  void Dispatch(TMessage& message) override;
  TDateTime GetValueAsDateTime() const override { return Time(); }
  void SetValueAsDateTimeImpl(TDateTime value) override { SetTime(value); }

 private:
  String FHoursString = u"H";
  String FMinutesString = u"M";
  bool FUseStandardMinute = true;
};

// A plain edit that starts with the current time, with spin buttons at its
// right edge that animate but step nothing: the time edit keeps a format
// and a separator for a check of the text that nothing performs.
class TPxTimeEdit : public TPxEdit {
  KST_CLASS(TPxTimeEdit, TPxEdit)
 public:
  explicit TPxTimeEdit(TComponent* owner);
  bool SpinButtons() const { return FSpinButtons; }
  // The buttons follow at the next resize.
  void SetSpinButtons(bool value) { FSpinButtons = value; }
  const String& TimeFormat() const { return FTimeFormat; }
  void SetTimeFormat(const String& value) { FTimeFormat = value; }
  const String& TimeSeparator() const { return FTimeSeparator; }
  void SetTimeSeparator(const String& value) { FTimeSeparator = value; }
  TPxSpinButtons& Buttons() const { return *FButtons; }
  // The format the text is meant to follow: ":", "h", "m" and "s" of the
  // given or the locale's long time format.
  String EffectiveTimeFormat() const;
  // Whether the effective format holds "AM/PM" (despite the name, kept as
  // published); the reduced format never does, so nothing depends on it.
  bool Is24HourFormat() const;

 protected:
  void CreateWnd() override;
  void Dispatch(TMessage& message) override;

 private:
  void LayoutButtons();
  TPxSpinButtons* FButtons = nullptr;
  bool FSpinButtons = true;
  String FTimeFormat;
  String FTimeSeparator;
};
