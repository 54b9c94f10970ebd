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
  // Waits at most `milliseconds`; false when the time ran out.
  virtual bool WaitFor(Cardinal milliseconds) {
    (void)milliseconds;
    Wait();
    return true;
  }
  virtual void Set() = 0;
};

// What the lock's owner holds, apart from the block, while it owns a lock
// shared with other processes: a process may die holding the lock, and the
// system tells the next taker of the token so (an abandoned mutex).
class TOptexHolderToken {
 public:
  enum TState { tsHeld, tsFree, tsAbandoned };
  virtual ~TOptexHolderToken() = default;
  // Taken by the thread that becomes the owner (waiting for a holder that is
  // just leaving); given back when it leaves.
  virtual void Take() = 0;
  virtual void Give() = 0;
  // Without waiting: tsHeld (someone holds it), else the caller now holds it,
  // tsAbandoned when its last holder died holding it.
  virtual TState TryTake() = 0;
};

// How often a waiter on a shared lock looks whether the holder still lives.
inline constexpr Cardinal kOptexHolderCheckInterval = 100;
// A token found free this many checks in a row while the block still names
// the same owner: the holder died between taking the block and the token.
inline constexpr int kOptexStaleFreeChecks = 5;

// The lock's algorithm over a block and an event that the caller owns.
class TOptexLock {
 public:
  // With a holder token, a waiter takes over a lock whose holder died.
  TOptexLock(TOptexSharedInfo& block, TOptexEvent& event, Cardinal (*currentThread)(),
             TOptexHolderToken* token = nullptr)
      : FBlock(block), FEvent(event), FCurrentThread(currentThread), FToken(token) {}

  // On a machine of more than one processor the block's spin count becomes
  // `spinCount` (a negative one: the default); on one processor it stays.
  void SetSpinCount(Integer spinCount, Cardinal processorCount);
  Integer SpinCount() const;
  bool TryEnter();
  void Enter();
  void Leave();

 private:
  void BecomeOwner(Cardinal self, bool takeToken);
  // Waits for the lock; with a token, takes it over when its holder died.
  void WaitForOwner(Cardinal self);
  TOptexSharedInfo& FBlock;
  TOptexEvent& FEvent;
  Cardinal (*FCurrentThread)();
  TOptexHolderToken* FToken;
};

enum TUtWaitResult { wrAbandoned, wrError, wrIoCompletion, wrSignaled, wrTimeout };
// From the platform's wait result.
TUtWaitResult WaitResultOf(Cardinal platformResult);

// The text form of a security identifier ("S-1-1-0" for everyone).
String SidText(Byte revision, const Byte (&authority)[6], const std::vector<Cardinal>& subAuthorities);
