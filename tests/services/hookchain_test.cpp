// Hooks before and after a window's own handling, added and deleted while
// a message is on its way.
#include "services/hookchain.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Msg {
  int Id = 0;
  long Result = 0;
};
using Chain = TSvHookChain<Msg>;

struct Recorder {
  Chain chain;
  std::string log;
  bool destroyed = false;
  void Send(Msg m) {
    chain.Dispatch(
        m, [&](Msg& x) { log += "[own" + std::to_string(x.Id) + "]"; }, [&] { return destroyed; });
  }
  Chain::Hook Logging(const std::string& name, bool handled = false) {
    return Chain::Hook([this, name, handled](Msg&) {
      log += name;
      return handled;
    });
  }
};

TEST(HookChain, BeforeHooksThenTheWindowThenAfterHooksInOrder) {
  Recorder r;
  r.chain.Add(r.Logging("a"), hoAfterMsg);
  r.chain.Add(r.Logging("b"), hoBeforeMsg);
  r.chain.Add(r.Logging("c"), hoBeforeMsg);
  r.chain.Add(r.Logging("d"), hoAfterMsg);
  r.Send({1});
  EXPECT_EQ(r.log, "bc[own1]ad");
}

TEST(HookChain, AHandlingBeforeHookStopsEverythingAfterIt) {
  Recorder r;
  r.chain.Add(r.Logging("b", true), hoBeforeMsg);
  r.chain.Add(r.Logging("c"), hoBeforeMsg);
  r.chain.Add(r.Logging("a"), hoAfterMsg);
  r.Send({1});
  EXPECT_EQ(r.log, "b");
}

TEST(HookChain, DeletingAndAddingDuringDispatchKeepsItsCourse) {
  Recorder r;
  Chain::Hook second = r.Logging("2");
  Chain::Hook added = r.Logging("+");
  Chain::Hook first([&](Msg&) {
    r.log += "1";
    r.chain.Delete(second, hoBeforeMsg);  // the next one goes: skipped
    r.chain.Add(added, hoAfterMsg);
    return false;
  });
  r.chain.Add(first, hoBeforeMsg);
  r.chain.Add(second, hoBeforeMsg);
  r.Send({1});
  EXPECT_EQ(r.log, "1[own1]+");
  EXPECT_TRUE(r.chain.Delete(first, hoBeforeMsg));
  EXPECT_FALSE(r.chain.Delete(first, hoBeforeMsg));
  EXPECT_FALSE(r.chain.Delete(added, hoBeforeMsg));  // other order
  EXPECT_TRUE(r.chain.Delete(added, hoAfterMsg));
  EXPECT_TRUE(r.chain.Empty());
}

TEST(HookChain, AHookAddedToAnExhaustedListRunsForTheMessageInProgress) {
  Recorder r;
  Chain::Hook late = r.Logging("late");
  Chain::Hook only([&](Msg&) {
    r.log += "only";
    r.chain.Add(late, hoBeforeMsg);
    return false;
  });
  r.chain.Add(only, hoBeforeMsg);
  r.Send({1});
  EXPECT_EQ(r.log, "onlylate[own1]");
}

TEST(HookChain, NestedMessagesKeepTheirOwnCursors) {
  Recorder r;
  r.chain.Add(Chain::Hook([&](Msg& m) {
                r.log += "<" + std::to_string(m.Id);
                if (m.Id == 1) r.Send({2});
                return false;
              }),
              hoBeforeMsg);
  r.chain.Add(r.Logging(">"), hoBeforeMsg);
  r.Send({1});
  EXPECT_EQ(r.log, "<1<2>[own2]>[own1]");
  EXPECT_EQ(r.chain.Depth(), 0u);
}

TEST(HookChain, AWindowThatGoesEndsTheDispatch) {
  Recorder r;
  r.chain.Add(Chain::Hook([&](Msg&) {
                r.log += "x";
                r.destroyed = true;
                return false;
              }),
              hoBeforeMsg);
  r.chain.Add(r.Logging("y"), hoBeforeMsg);
  r.chain.Add(r.Logging("z"), hoAfterMsg);
  r.Send({1});
  EXPECT_EQ(r.log, "x");
}

}  // namespace
