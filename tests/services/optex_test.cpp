// The spinning lock's algorithm over its shared block, the wait results and
// the text of security identifiers.
#include "services/optex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// An auto-reset event of threads of this process.
class ThreadEvent : public TOptexEvent {
 public:
  void Wait() override {
    std::unique_lock lock(FMutex);
    FCondition.wait(lock, [&] { return FSignaled; });
    FSignaled = false;
  }
  bool WaitFor(Cardinal milliseconds) override {
    std::unique_lock lock(FMutex);
    if (!FCondition.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return FSignaled; })) return false;
    FSignaled = false;
    return true;
  }
  void Set() override {
    {
      std::lock_guard lock(FMutex);
      FSignaled = true;
    }
    FCondition.notify_one();
  }

 private:
  std::mutex FMutex;
  std::condition_variable FCondition;
  bool FSignaled = false;
};

std::atomic<Cardinal> nextThreadId{1};
Cardinal CurrentThread() {
  thread_local Cardinal id = nextThreadId++;
  return id;
}

TEST(Optex, TheOwnerEntersTwiceAndMustLeaveTwice) {
  TOptexSharedInfo block{};
  ThreadEvent event;
  TOptexLock lock(block, event, CurrentThread);
  lock.SetSpinCount(-1, 4);
  EXPECT_EQ(lock.SpinCount(), kOptexDefaultSpinCount);
  lock.Enter();
  lock.Enter();
  EXPECT_EQ(block.RecursionCount, 2);
  std::atomic<bool> otherIn{false};
  std::thread other([&] {
    lock.Enter();
    otherIn = true;
    lock.Leave();
  });
  lock.Leave();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(otherIn);
  std::thread([&] { EXPECT_FALSE(lock.TryEnter()); }).join();
  lock.Leave();
  other.join();
  EXPECT_TRUE(otherIn);
  EXPECT_EQ(block.LockCount, 0);
  EXPECT_EQ(block.ThreadId, 0u);
}

TEST(Optex, OneProcessorKeepsTheBlocksSpinCount) {
  TOptexSharedInfo block{};
  ThreadEvent event;
  TOptexLock lock(block, event, CurrentThread);
  lock.SetSpinCount(100, 1);
  EXPECT_EQ(lock.SpinCount(), 0);  // tries once before it sleeps
  EXPECT_TRUE(lock.TryEnter());
  std::thread([&] { EXPECT_FALSE(lock.TryEnter()); }).join();
  lock.Leave();
}

TEST(Optex, ThreadsTakeTurns) {
  TOptexSharedInfo block{};
  ThreadEvent event;
  TOptexLock lock(block, event, CurrentThread);
  lock.SetSpinCount(10, 4);
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 2000; ++i) {
        lock.Enter();
        ++counter;
        lock.Leave();
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(counter, 8000);
  EXPECT_EQ(block.LockCount, 0);
}

// A holder token whose answers the test chooses.
class ScriptedToken : public TOptexHolderToken {
 public:
  explicit ScriptedToken(TState answer) : FAnswer(answer) {}
  void Take() override { ++Taken; }
  void Give() override { ++Given; }
  TState TryTake() override {
    ++Tries;
    if (FAnswer != tsHeld) ++Taken;
    return FAnswer;
  }
  std::atomic<int> Taken{0}, Given{0}, Tries{0};

 private:
  TState FAnswer;
};

TEST(Optex, ALockWhoseHolderDiedIsTakenOver) {
  // A holder that entered twice and died: abandoned at once; or died between
  // taking the block and its token: found free, again and again, over an
  // unchanged block.
  struct Case {
    TOptexHolderToken::TState Answer;
    int MinTries;
  };
  for (const Case c : {Case{TOptexHolderToken::tsAbandoned, 1}, Case{TOptexHolderToken::tsFree, kOptexStaleFreeChecks}}) {
    SCOPED_TRACE(static_cast<int>(c.Answer));
    TOptexSharedInfo block{0, 2, 0xDEAD, 2};
    ThreadEvent event;
    ScriptedToken token(c.Answer);
    TOptexLock lock(block, event, CurrentThread, &token);
    std::atomic<bool> entered{false};
    std::thread waiter([&] {
      lock.Enter();
      entered = true;
      EXPECT_EQ(block.LockCount, 1);
      EXPECT_EQ(block.RecursionCount, 1);
      lock.Leave();
    });
    waiter.join();
    EXPECT_TRUE(entered);
    EXPECT_GE(token.Tries, c.MinTries);
    EXPECT_EQ(token.Taken, token.Given);
    EXPECT_EQ(block.LockCount, 0);
    EXPECT_EQ(block.ThreadId, 0u);
  }
}

TEST(Optex, ALiveHolderIsWaitedFor) {
  TOptexSharedInfo block{};
  ThreadEvent event;
  ScriptedToken token(TOptexHolderToken::tsHeld);
  TOptexLock lock(block, event, CurrentThread, &token);
  lock.Enter();
  std::atomic<bool> entered{false};
  std::thread waiter([&] {
    lock.Enter();
    entered = true;
    lock.Leave();
  });
  while (token.Tries < 2) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(entered);
  lock.Leave();
  waiter.join();
  EXPECT_TRUE(entered);
  EXPECT_EQ(token.Taken, 2);
  EXPECT_EQ(token.Given, 2);
  EXPECT_EQ(block.LockCount, 0);
}

TEST(Optex, WaitResultsMapFromThePlatform) {
  EXPECT_EQ(WaitResultOf(0), wrSignaled);
  EXPECT_EQ(WaitResultOf(0x80), wrAbandoned);
  EXPECT_EQ(WaitResultOf(0xC0), wrIoCompletion);
  EXPECT_EQ(WaitResultOf(0x102), wrTimeout);
  EXPECT_EQ(WaitResultOf(0xFFFFFFFF), wrError);
}

TEST(SidText, WritesTheAuthorityAsNumberOrHex) {
  const Byte world[6] = {0, 0, 0, 0, 0, 1};
  EXPECT_EQ(SidText(1, world, {0}), u"S-1-1-0");
  const Byte nt[6] = {0, 0, 0, 0, 0, 5};
  EXPECT_EQ(SidText(1, nt, {21, 1000, 4294967295u}), u"S-1-5-21-1000-4294967295");
  const Byte wide[6] = {0x01, 0xAB, 0, 0, 0, 0x0f};
  EXPECT_EQ(SidText(1, wide, {}), u"S-1-0x01ab0000000f");
}

}  // namespace
