// The one background thread shared by all trees: it builds the position caches
// of large trees. Trees queue themselves and take themselves off again; any
// change of a tree's states that the thread needs is handed to the interface
// thread, which runs it while the thread waits.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

class TBaseLiveTree;

class TWorkerThread {
 public:
  // Every tree holds one reference from construction to destruction; the
  // thread exists while any tree does.
  static void AddThreadReference();
  static void ReleaseThreadReference(TBaseLiveTree* tree);
  // The running thread, or nil when no tree exists.
  static TWorkerThread* Instance();

  TWorkerThread();
  ~TWorkerThread();
  TWorkerThread(const TWorkerThread&) = delete;
  TWorkerThread& operator=(const TWorkerThread&) = delete;

  // Queues the tree (once) and leaves its tsStopValidation; the caller signals.
  void AddTree(TBaseLiveTree* tree);
  void Signal();
  // Takes the tree off the queue and waits until the thread has let go of it,
  // running the thread's hand-overs for that tree meanwhile. Interface thread.
  void RemoveTree(TBaseLiveTree* tree);

  // Runs the call the thread is waiting on for this tree, if any. Interface
  // thread; returns whether a call ran.
  bool DispatchHandOvers(TBaseLiveTree* tree);
  // Waits until a call is waiting (for any tree: runs it, returns True) or
  // the thread neither works on nor has queued this tree (returns False).
  bool WaitForHandOver(TBaseLiveTree* tree);

  // Builder thread: runs Call on the interface thread and waits for it.
  // An exception of the call is raised again here.
  void HandOver(TBaseLiveTree* tree, const std::function<void()>& call);

  // Whether the calling thread is inside a hand-over for the tree.
  bool InHandOver(TBaseLiveTree* tree) const;

 private:
  void Execute();
  bool Queued(TBaseLiveTree* tree) const;
  void RunPending(std::unique_lock<std::mutex>& lock);

  mutable std::mutex FLock;
  std::condition_variable FWorkEvent;  // the thread waits for work
  std::condition_variable FChanged;    // the interface thread waits for the thread
  std::condition_variable FHandOverDone;
  std::deque<TBaseLiveTree*> FWaiterList;
  TBaseLiveTree* FCurrentTree = nullptr;
  bool FSignalled = false;
  bool FTerminated = false;

  struct PendingCall {
    TBaseLiveTree* Tree = nullptr;
    const std::function<void()>* Call = nullptr;
    bool Running = false;
    bool Done = false;
    std::exception_ptr Failure;
  } FPending;

  std::thread FThread;
};
