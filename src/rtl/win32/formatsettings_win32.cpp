#include <windows.h>

#include "rtl/formatsettings.h"

namespace {

// The locale's text for one item, or the fallback when it has none.
String LocaleText(LCID locale, LCTYPE item, const String& fallback) {
  wchar_t buffer[256];
  const int length = GetLocaleInfoW(locale, item, buffer, 256);
  if (length <= 1) return fallback;
  return String(buffer, buffer + length - 1);
}

Char LocaleChar(LCID locale, LCTYPE item, Char fallback) {
  const String text = LocaleText(locale, item, String());
  return text.empty() ? fallback : text[0];
}

// The locale's time pictures in the format language: "tt" (or "t") is the
// AM/PM marker, and "H" (24-hour clock) is written "h" without a marker.
String TimeFormatOf(const String& picture) {
  String result;
  for (size_t i = 0; i < picture.size(); ++i) {
    const Char c = picture[i];
    if (c == u't') {
      while (i + 1 < picture.size() && picture[i + 1] == u't') ++i;
      result += u"AMPM";
    } else if (c == u'H') {
      result += u'h';
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace

TFormatSettings LocaleFormatSettings(Cardinal localeId) {
  const LCID locale = localeId;
  TFormatSettings settings;
  settings.CurrencyString = LocaleText(locale, LOCALE_SCURRENCY, settings.CurrencyString);
  settings.ThousandSeparator = LocaleChar(locale, LOCALE_STHOUSAND, settings.ThousandSeparator);
  settings.DecimalSeparator = LocaleChar(locale, LOCALE_SDECIMAL, settings.DecimalSeparator);
  settings.DateSeparator = LocaleChar(locale, LOCALE_SDATE, settings.DateSeparator);
  settings.TimeSeparator = LocaleChar(locale, LOCALE_STIME, settings.TimeSeparator);
  settings.ListSeparator = LocaleChar(locale, LOCALE_SLIST, settings.ListSeparator);
  settings.ShortDateFormat = LocaleText(locale, LOCALE_SSHORTDATE, settings.ShortDateFormat);
  settings.LongDateFormat = LocaleText(locale, LOCALE_SLONGDATE, settings.LongDateFormat);
  settings.TimeAMString = LocaleText(locale, LOCALE_S1159, settings.TimeAMString);
  settings.TimePMString = LocaleText(locale, LOCALE_S2359, settings.TimePMString);
  const String longTime = LocaleText(locale, LOCALE_STIMEFORMAT, String());
  if (!longTime.empty()) {
    settings.LongTimeFormat = TimeFormatOf(longTime);
    // The short time is the long one without its seconds.
    String shortTime = settings.LongTimeFormat;
    const size_t seconds = shortTime.find(u's');
    if (seconds != String::npos) {
      size_t start = seconds;
      while (start > 0 && shortTime[start - 1] != u'm' && shortTime[start - 1] != u'M') --start;
      size_t end = seconds;
      while (end < shortTime.size() && shortTime[end] == u's') ++end;
      shortTime.erase(start, end - start);
    }
    settings.ShortTimeFormat = shortTime;
  }
  for (int i = 0; i < 12; ++i) {
    settings.ShortMonthNames[i] =
        LocaleText(locale, LOCALE_SABBREVMONTHNAME1 + i, settings.ShortMonthNames[i]);
    settings.LongMonthNames[i] = LocaleText(locale, LOCALE_SMONTHNAME1 + i, settings.LongMonthNames[i]);
  }
  // The locale counts days from Monday (1) to Sunday (7); the names start on Sunday.
  for (int i = 0; i < 7; ++i) {
    const int localeDay = (i + 6) % 7;
    settings.ShortDayNames[i] = LocaleText(locale, LOCALE_SABBREVDAYNAME1 + localeDay, settings.ShortDayNames[i]);
    settings.LongDayNames[i] = LocaleText(locale, LOCALE_SDAYNAME1 + localeDay, settings.LongDayNames[i]);
  }
  return settings;
}
