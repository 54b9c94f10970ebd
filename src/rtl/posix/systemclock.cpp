#include <chrono>
#include <ctime>

#include "rtl/datetime.h"

namespace {

class LocalClock final : public IDateTimeClock {
 public:
  TDateTime Now() const override {
    const auto now = std::chrono::system_clock::now();
    const auto msec = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    TDateTime date = 0, time = 0;
    TryEncodeDate(static_cast<Word>(local.tm_year + 1900), static_cast<Word>(local.tm_mon + 1),
                  static_cast<Word>(local.tm_mday), date);
    // A leap second shows as the last second of its minute.
    TryEncodeTime(static_cast<Word>(local.tm_hour), static_cast<Word>(local.tm_min),
                  static_cast<Word>(local.tm_sec > 59 ? 59 : local.tm_sec),
                  static_cast<Word>(((msec % 1000) + 1000) % 1000), time);
    return date + time;
  }
};

}  // namespace

const IDateTimeClock& SystemDateTimeClock() {
  static const LocalClock clock;
  return clock;
}
