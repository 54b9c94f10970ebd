#include "rtl/formatsettings.h"

TFormatSettings LocaleFormatSettings(Cardinal) {
  return TFormatSettings{};
}
