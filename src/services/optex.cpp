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
      BecomeOwner(self, true);
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
    WaitForOwner(self);
    return;
  }
  BecomeOwner(self, true);
}

void TOptexLock::BecomeOwner(Cardinal self, bool takeToken) {
  if (takeToken && FToken) FToken->Take();
  Atomic(FBlock.ThreadId).store(self);
  FBlock.RecursionCount = 1;
}

void TOptexLock::WaitForOwner(Cardinal self) {
  if (!FToken) {
    FEvent.Wait();
    BecomeOwner(self, false);
    return;
  }
  int freeChecks = 0;
  std::uint32_t seenOwner = 0;
  std::int32_t seenRecursion = 0;
  while (!FEvent.WaitFor(kOptexHolderCheckInterval)) {
    const std::uint32_t owner = Atomic(FBlock.ThreadId).load();
    const std::int32_t recursion = FBlock.RecursionCount;
    const TOptexHolderToken::TState state = FToken->TryTake();
    if (state == TOptexHolderToken::tsHeld) {
      freeChecks = 0;
      continue;
    }
    if (state == TOptexHolderToken::tsFree) {
      // Free while the block is taken: someone is between the two steps,
      // or died there; only a state that never moves is a dead one.
      const bool same = freeChecks > 0 && owner == seenOwner && recursion == seenRecursion;
      freeChecks = same ? freeChecks + 1 : 1;
      seenOwner = owner;
      seenRecursion = recursion;
      if (freeChecks < kOptexStaleFreeChecks) {
        FToken->Give();
        continue;
      }
    }
    // The holder died holding the lock: its entries no longer count, this
    // thread's own entry stays.
    const std::int32_t dead = std::max<std::int32_t>(1, FBlock.RecursionCount);
    std::int32_t count = Atomic(FBlock.LockCount).load();
    while (!Atomic(FBlock.LockCount).compare_exchange_weak(count, std::max<std::int32_t>(1, count - dead))) {
    }
    BecomeOwner(self, false);
    return;
  }
  BecomeOwner(self, true);
}

void TOptexLock::Leave() {
  if (--FBlock.RecursionCount > 0) {
    Atomic(FBlock.LockCount).fetch_sub(1);
    return;
  }
  if (FToken) FToken->Give();
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
