#include <windows.h>

#include "rtl/datetime.h"

namespace {

class LocalClock final : public IDateTimeClock {
 public:
  TDateTime Now() const override {
    SYSTEMTIME local;
    GetLocalTime(&local);
    TDateTime date = 0, time = 0;
    TryEncodeDate(local.wYear, local.wMonth, local.wDay, date);
    TryEncodeTime(local.wHour, local.wMinute, local.wSecond, local.wMilliseconds, time);
    return date + time;
  }
};

}  // namespace

const IDateTimeClock& SystemDateTimeClock() {
  static const LocalClock clock;
  return clock;
}
