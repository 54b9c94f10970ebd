// Locale facts that number, currency and date texts are written and read with.
// Routines take them explicitly or use the process-wide default.
#pragma once

#include <array>

#include "rtl/types.h"

struct TFormatSettings {
  String CurrencyString = u"$";
  Byte CurrencyFormat = 0;
  Byte NegCurrFormat = 0;
  Char ThousandSeparator = u',';
  Char DecimalSeparator = u'.';
  Byte CurrencyDecimals = 2;
  Char DateSeparator = u'/';
  Char TimeSeparator = u':';
  Char ListSeparator = u',';
  String ShortDateFormat = u"M/d/yyyy";
  String LongDateFormat = u"dddd, MMMM d, yyyy";
  String TimeAMString = u"AM";
  String TimePMString = u"PM";
  String ShortTimeFormat = u"h:mm AMPM";
  String LongTimeFormat = u"h:mm:ss AMPM";
  std::array<String, 12> ShortMonthNames{u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                         u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  std::array<String, 12> LongMonthNames{u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                        u"July",    u"August",   u"September", u"October", u"November", u"December"};
  std::array<String, 7> ShortDayNames{u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  std::array<String, 7> LongDayNames{u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
  Word TwoDigitYearCenturyWindow = 50;
};

// The process-wide settings that routines without a settings argument use.
// The Windows program fills them from the user's locale at start-up; until
// then (and in native builds) they are the US English defaults above.
TFormatSettings& FormatSettings();

// The settings of a locale of the system: its separators, date and time
// formats, AM/PM texts and month and day names. Outside Windows every locale
// gives the defaults above.
inline constexpr Cardinal kLocaleSystemDefault = 0x0800;
inline constexpr Cardinal kLocaleUserDefault = 0x0400;
TFormatSettings LocaleFormatSettings(Cardinal localeId);

// Settings with "." as the decimal separator and no thousands separator, for
// the texts that the system always writes with a point (form files, settings).
const TFormatSettings& InvariantFormatSettings();
