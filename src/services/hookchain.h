// The dispatch of one hooked window: hooks called before and after the
// window's own handling, in the order they were added. Hooks may be added or
// deleted while a message (or a message sent from inside one, at any depth)
// is on its way through them: each nesting level keeps its own cursors, a
// deleted hook moves the cursors past it, and a hook added to an exhausted
// list is still called for the message in progress.
#pragma once

#include <functional>
#include <list>
#include <vector>

#include "rtl/events.h"

enum TSvHookOrder { hoBeforeMsg, hoAfterMsg };

template <typename Message>
class TSvHookChain {
 public:
  // True when the hook handled the message: nothing after it sees it.
  using Hook = TDelegate<bool(Message& message)>;

  void Add(const Hook& hook, TSvHookOrder order) {
    auto& list = FHooks[order];
    list.push_back(hook);
    auto added = std::prev(list.end());
    for (auto& level : FLevels) {
      if (level.Cursor[order] == list.end()) level.Cursor[order] = added;
    }
  }

  // Deletes the first hook equal to `hook`; false when there is none.
  bool Delete(const Hook& hook, TSvHookOrder order) {
    auto& list = FHooks[order];
    for (auto it = list.begin(); it != list.end(); ++it) {
      if (*it == hook) {
        for (auto& level : FLevels) {
          if (level.Cursor[order] == it) ++level.Cursor[order];
        }
        list.erase(it);
        return true;
      }
    }
    return false;
  }

  bool Empty() const { return FHooks[hoBeforeMsg].empty() && FHooks[hoAfterMsg].empty(); }
  size_t Depth() const { return FLevels.size(); }

  // Runs the message through the before-hooks, `handle` (the window's own
  // handling) and the after-hooks; `gone` tells that the window went away
  // meanwhile, which ends the dispatch.
  void Dispatch(Message& message, const std::function<void(Message&)>& handle, const std::function<bool()>& gone) {
    Message& m = message;
    m.Result = 0;
    FLevels.push_back(Level{{FHooks[hoBeforeMsg].begin(), FHooks[hoAfterMsg].end()}});
    const size_t level = FLevels.size() - 1;
    struct Closer {
      std::vector<Level>& Levels;
      ~Closer() { Levels.pop_back(); }
    } closer{FLevels};
    if (RunHooks(m, hoBeforeMsg, level, gone)) return;
    if (gone()) return;
    handle(m);
    if (gone()) return;
    FLevels[level].Cursor[hoAfterMsg] = FHooks[hoAfterMsg].begin();
    RunHooks(m, hoAfterMsg, level, gone);
  }

 private:
  using HookList = std::list<Hook>;
  struct Level {
    typename HookList::iterator Cursor[2];
  };

  // True when a hook handled the message or the window went.
  bool RunHooks(Message& m, TSvHookOrder order, size_t level, const std::function<bool()>& gone) {
    while (FLevels[level].Cursor[order] != FHooks[order].end()) {
      Hook hook = *FLevels[level].Cursor[order];
      ++FLevels[level].Cursor[order];
      if (hook(m)) return true;
      if (gone()) return true;
    }
    return false;
  }

  HookList FHooks[2];
  std::vector<Level> FLevels;
};
