#include "services/optex.h"

#include <algorithm>
#include <atomic>

#include "rtl/format.h"
#include "rtl/sysstr.h"

namespace {

template <typename T>
std::atomic_ref<T> Atomic(T& value) {
  return std::atomic_ref<T>(value);
}

}  // namespace

void TOptexLock::SetSpinCount(Integer spinCount, Cardinal processorCount) {
  if (processorCount > 1) Atomic(FBlock.SpinCount).exchange(spinCount < 0 ? kOptexDefaultSpinCount : spinCount);
}

Integer TOptexLock::SpinCount() const {
  return Atomic(FBlock.SpinCount).load();
}

bool TOptexLock::TryEnter() {
  const Cardinal self = FCurrentThread();
  const Integer attempts = std::max<Integer>(1, SpinCount());
  for (Integer i = 0; i < attempts; ++i) {
    std::int32_t expected = 0;
    if (Atomic(FBlock.LockCount).compare_exchange_strong(expected, 1)) {
      Atomic(FBlock.ThreadId).store(self);
      FBlock.RecursionCount = 1;
      return true;
    }
    if (Atomic(FBlock.ThreadId).load() == self) {
      Atomic(FBlock.LockCount).fetch_add(1);
      ++FBlock.RecursionCount;
      return true;
    }
  }
  return false;
}

void TOptexLock::Enter() {
  if (TryEnter()) return;
  const Cardinal self = FCurrentThread();
  if (Atomic(FBlock.LockCount).fetch_add(1) + 1 != 1) {
    if (Atomic(FBlock.ThreadId).load() == self) {
      ++FBlock.RecursionCount;
      return;
    }
    FEvent.Wait();
  }
  Atomic(FBlock.ThreadId).store(self);
  FBlock.RecursionCount = 1;
}

void TOptexLock::Leave() {
  if (--FBlock.RecursionCount > 0) {
    Atomic(FBlock.LockCount).fetch_sub(1);
    return;
  }
  Atomic(FBlock.ThreadId).store(0);
  if (Atomic(FBlock.LockCount).fetch_sub(1) - 1 > 0) FEvent.Set();
}

TUtWaitResult WaitResultOf(Cardinal platformResult) {
  switch (platformResult) {
    case 0: return wrSignaled;
    case 0x80: return wrAbandoned;
    case 0xC0: return wrIoCompletion;
    case 0x102: return wrTimeout;
    default: return wrError;
  }
}

String SidText(Byte revision, const Byte (&authority)[6], const std::vector<Cardinal>& subAuthorities) {
  String text = Format(u"S-%u-", {static_cast<Cardinal>(revision)});
  if (authority[0] != 0 || authority[1] != 0) {
    text += LowerCase(Format(u"0x%2.2x%2.2x%2.2x%2.2x%2.2x%2.2x",
                             {Integer(authority[0]), Integer(authority[1]), Integer(authority[2]),
                              Integer(authority[3]), Integer(authority[4]), Integer(authority[5])}));
  } else {
    const Cardinal value = (static_cast<Cardinal>(authority[2]) << 24) | (static_cast<Cardinal>(authority[3]) << 16) |
                           (static_cast<Cardinal>(authority[4]) << 8) | authority[5];
    text += Format(u"%u", {value});
  }
  for (const Cardinal sub : subAuthorities) text += Format(u"-%u", {sub});
  return text;
}
