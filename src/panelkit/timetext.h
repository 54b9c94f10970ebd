// The texts of the time picker and the time edit, apart from any window.
#pragma once

#include "rtl/datetime.h"
#include "rtl/types.h"

// The time of day the time picker shows for a value: its hour and minute
// (the minute brought down to a multiple of five with standard minutes),
// seconds zero.
TDateTime TimePickerTime(TDateTime value, bool standardMinute);
// That time in the locale's long time format.
String TimePickerText(TDateTime value, bool standardMinute, const TFormatSettings& settings);
// What the time picker's text stands for: now for an empty text or "0",
// else the time read, else 0 (midnight).
TDateTime ReadTimePickerText(StringView text, TDateTime now, const TFormatSettings& settings);
// The time edit's format: the given one, or the locale's long time format
// when it is empty, reduced to its ":", "h", "m" and "s" characters, at most
// two of each.
String ReducedTimeFormat(StringView timeFormat, const TFormatSettings& settings);

// The hours and minutes the time popup offers: hours 0 to 23, minutes in
// steps of five.
inline constexpr Integer kTimePopupHours = 24;
inline constexpr Integer kTimePopupMinuteSteps = 12;
