#include "rtl/formatsettings.h"

TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}

const TFormatSettings& InvariantFormatSettings() {
  static const TFormatSettings settings = [] {
    TFormatSettings s;
    s.ThousandSeparator = u'\0';
    s.DecimalSeparator = u'.';
    s.ShortDateFormat = u"MM/dd/yyyy";
    s.LongDateFormat = u"dddd, dd MMMMM yyyy HH:mm:ss";
    s.ShortTimeFormat = u"HH:mm";
    s.LongTimeFormat = u"HH:mm:ss";
    s.CurrencyString = u"\u00A4";
    return s;
  }();
  return settings;
}
