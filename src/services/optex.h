// A lock that spins before it sleeps and may be shared between processes:
// its state is a 16-byte block (in named shared memory when processes share
// it) changed by atomic operations, and sleepers wait on an auto-reset
// event. The block's layout is fixed, as other processes read it.
#pragma once

#include <cstdint>
#include <vector>

#include "rtl/types.h"

struct TOptexSharedInfo {
  std::int32_t SpinCount;
  std::int32_t LockCount;
  std::uint32_t ThreadId;
  std::int32_t RecursionCount;
};
static_assert(sizeof(TOptexSharedInfo) == 16);

inline constexpr Integer kOptexDefaultSpinCount = 4000;

// The event sleepers wait on: auto-reset, one waiter released per Set.
class TOptexEvent {
 public:
  virtual ~TOptexEvent() = default;
  virtual void Wait() = 0;
  virtual void Set() = 0;
};

// The lock's algorithm over a block and an event that the caller owns.
class TOptexLock {
 public:
  TOptexLock(TOptexSharedInfo& block, TOptexEvent& event, Cardinal (*currentThread)())
      : FBlock(block), FEvent(event), FCurrentThread(currentThread) {}

  // On a machine of more than one processor the block's spin count becomes
  // `spinCount` (a negative one: the default); on one processor it stays.
  void SetSpinCount(Integer spinCount, Cardinal processorCount);
  Integer SpinCount() const;
  bool TryEnter();
  void Enter();
  void Leave();

 private:
  TOptexSharedInfo& FBlock;
  TOptexEvent& FEvent;
  Cardinal (*FCurrentThread)();
};

enum TUtWaitResult { wrAbandoned, wrError, wrIoCompletion, wrSignaled, wrTimeout };
// From the platform's wait result.
TUtWaitResult WaitResultOf(Cardinal platformResult);

// The text form of a security identifier ("S-1-1-0" for everyone).
String SidText(Byte revision, const Byte (&authority)[6], const std::vector<Cardinal>& subAuthorities);
