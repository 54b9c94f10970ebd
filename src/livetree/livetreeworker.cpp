#include "livetree/livetreeworker.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "livetree/basetree.h"
#include "livetree/livetreeassert.h"

namespace {

// The one thread and the number of trees using it.
std::mutex& ReferenceLock() {
  static std::mutex lock;
  return lock;
}
std::unique_ptr<TWorkerThread>& WorkerInstance() {
  static std::unique_ptr<TWorkerThread> worker;
  return worker;
}
unsigned& ReferenceCount() {
  static unsigned count = 0;
  return count;
}
// Published without the reference lock, which the builder thread must never
// wait for (a tree's destructor holds it while waiting for the thread).
std::atomic<TWorkerThread*> PublishedWorker{nullptr};

}  // namespace

void TWorkerThread::AddThreadReference() {
  std::lock_guard<std::mutex> guard(ReferenceLock());
  if (!WorkerInstance()) {
    WorkerInstance() = std::make_unique<TWorkerThread>();
    PublishedWorker.store(WorkerInstance().get());
  }
  ++ReferenceCount();
}

void TWorkerThread::ReleaseThreadReference(TBaseLiveTree* tree) {
  std::unique_ptr<TWorkerThread> finished;
  {
    std::lock_guard<std::mutex> guard(ReferenceLock());
    if (ReferenceCount() == 0) return;
    --ReferenceCount();
    if (WorkerInstance()) WorkerInstance()->RemoveTree(tree);
    if (ReferenceCount() == 0) {
      PublishedWorker.store(nullptr);
      finished = std::move(WorkerInstance());
    }
  }
  // Destroying the thread object waits for the thread, outside the lock.
  finished.reset();
}

TWorkerThread* TWorkerThread::Instance() {
  return PublishedWorker.load();
}

TWorkerThread::TWorkerThread() {
  FThread = std::thread([this] { Execute(); });
}

TWorkerThread::~TWorkerThread() {
  {
    std::lock_guard<std::mutex> guard(FLock);
    FTerminated = true;
  }
  FWorkEvent.notify_all();
  if (FThread.joinable()) FThread.join();
}

void TWorkerThread::AddTree(TBaseLiveTree* tree) {
  LTAssert(tree != nullptr, "Tree must not be nil.");
  tree->ChangeTreeStates({}, {tsStopValidation});
  std::lock_guard<std::mutex> guard(FLock);
  if (std::find(FWaiterList.begin(), FWaiterList.end(), tree) == FWaiterList.end()) FWaiterList.push_back(tree);
}

void TWorkerThread::Signal() {
  {
    std::lock_guard<std::mutex> guard(FLock);
    FSignalled = true;
  }
  FWorkEvent.notify_all();
}

bool TWorkerThread::Queued(TBaseLiveTree* tree) const {
  return std::find(FWaiterList.begin(), FWaiterList.end(), tree) != FWaiterList.end();
}

void TWorkerThread::RunPending(std::unique_lock<std::mutex>& lock) {
  FPending.Running = true;
  const std::function<void()>* call = FPending.Call;
  lock.unlock();
  std::exception_ptr failure;
  try {
    (*call)();
  } catch (...) {
    failure = std::current_exception();
  }
  lock.lock();
  FPending.Running = false;
  FPending.Done = true;
  FPending.Failure = failure;
  FHandOverDone.notify_all();
}

void TWorkerThread::RemoveTree(TBaseLiveTree* tree) {
  LTAssert(tree != nullptr, "Tree must not be nil.");
  std::unique_lock<std::mutex> lock(FLock);
  FWaiterList.erase(std::remove(FWaiterList.begin(), FWaiterList.end(), tree), FWaiterList.end());
  // Called from inside a hand-over of this tree, the thread waits for us:
  // it sees tsStopValidation when the hand-over returns and lets go itself.
  if (FPending.Running && FPending.Tree == tree) return;
  while (FCurrentTree == tree) {
    if (FPending.Call != nullptr && !FPending.Done && !FPending.Running && FPending.Tree == tree) {
      RunPending(lock);
      continue;
    }
    FChanged.wait(lock);
  }
}

bool TWorkerThread::DispatchHandOvers(TBaseLiveTree* tree) {
  std::unique_lock<std::mutex> lock(FLock);
  if (FPending.Call == nullptr || FPending.Done || FPending.Running || FPending.Tree != tree) return false;
  RunPending(lock);
  return true;
}

bool TWorkerThread::WaitForHandOver(TBaseLiveTree* tree) {
  std::unique_lock<std::mutex> lock(FLock);
  for (;;) {
    // The interface thread serves every tree's window, so any waiting call
    // runs, not only the one for this tree.
    if (FPending.Call != nullptr && !FPending.Done && !FPending.Running) {
      RunPending(lock);
      return true;
    }
    if (FCurrentTree != tree && !Queued(tree)) return false;
    FChanged.wait(lock);
  }
}

bool TWorkerThread::InHandOver(TBaseLiveTree* tree) const {
  std::lock_guard<std::mutex> guard(FLock);
  return FPending.Running && FPending.Tree == tree;
}

void TWorkerThread::HandOver(TBaseLiveTree* tree, const std::function<void()>& call) {
  std::unique_lock<std::mutex> lock(FLock);
  FPending = PendingCall{};
  FPending.Tree = tree;
  FPending.Call = &call;
  FChanged.notify_all();
  lock.unlock();
  tree->Host()->WakeInterfaceThread();
  lock.lock();
  FHandOverDone.wait(lock, [this] { return FPending.Done; });
  std::exception_ptr failure = FPending.Failure;
  FPending = PendingCall{};
  lock.unlock();
  if (failure) std::rethrow_exception(failure);
}

void TWorkerThread::Execute() {
  std::unique_lock<std::mutex> lock(FLock);
  for (;;) {
    FWorkEvent.wait(lock, [this] { return FSignalled || FTerminated; });
    if (FTerminated) return;
    FSignalled = false;
    if (FWaiterList.empty()) continue;
    TBaseLiveTree* tree = FWaiterList.front();
    FWaiterList.pop_front();
    if (!FWaiterList.empty()) FSignalled = true;
    FCurrentTree = tree;
    lock.unlock();
    tree->RunCacheValidation();
    lock.lock();
    FCurrentTree = nullptr;
    FChanged.notify_all();
  }
}
