// Expansion and collapse, sorting, long operations, display order and the
// position cache built by the shared background thread.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <exception>
#include <vector>

#include "livetree/basetree.h"
#include "livetree/livetreeassert.h"
#include "livetree/livetreeworker.h"

// ---- Expansion ----

void TBaseLiveTree::ToggleNode(PLiveNode node) {
  LTAssert(node != nullptr, "Node must not be nil.");
  if (node->Has(vsDeleting) || node->Has(vsToggling)) return;
  bool wasToggling = TreeStates().Contains(tsToggling);
  ChangeTreeStates({tsToggling}, {});
  node->Include({vsToggling});
  struct Restore {
    TBaseLiveTree* Tree;
    PLiveNode Node;
    bool WasToggling;
    ~Restore() {
      Node->Exclude({vsToggling});
      if (!WasToggling) Tree->ChangeTreeStates({}, {tsToggling});
    }
  } restore{this, node, wasToggling};

  bool changed = false;
  Integer heightDelta = 0;
  if (node->Has(vsExpanded)) {
    if (!AskCollapsing(node)) return;
    changed = true;
    Integer ownHeight = GetEffectivelyFiltered(node) ? 0 : node->Height();
    heightDelta = ownHeight - static_cast<Integer>(node->TotalHeight);
    if (!InUpdate() && FOptions->AnimationOptions().Contains(toAnimatedToggle) && !TreeStates().Contains(tsCollapsing))
      AnimateToggle(node, heightDelta);
    if (ShownPath(node)) ChangeVisibleCount(-static_cast<Integer>(VisibleDescendantCount(node)));
    PropagateTotalHeight(node, ownHeight, false);
    node->Exclude({vsExpanded});
    FireCollapsed(node);
    if (AutoOptions().Contains(toAutoFreeOnCollapse) && node->ChildCount > 0) {
      DeleteChildren(node, false);
      node->Include({vsHasChildren});
    }
  } else {
    if (!AskExpanding(node)) return;
    changed = true;
    if (!node->Has(vsInitialized)) InitializeNode(node);
    if (node->Has(vsHasChildren) && node->ChildCount == 0) InitializeChildren(node);
    if (node->ChildCount > 0 && !node->Has(vsExpanded)) {
      for (PLiveNode child = node->FirstChild; child; child = child->NextSibling) {
        if (!child->Has(vsVisible)) continue;
        MeasureItemHeight(FHost->Canvas(), child);
        heightDelta += static_cast<Integer>(child->TotalHeight);
      }
      if (!InUpdate()) {
        if (FOptions->AnimationOptions().Contains(toAnimatedToggle) && !TreeStates().Contains(tsExpanding) &&
            !TreeStates().Contains(tsPainting))
          AnimateToggle(node, heightDelta);
        if (AutoOptions().Contains(toAutoSort)) Sort(node, SortColumn(), SortDirection(), false);
      }
      node->Include({vsExpanded});
      PropagateTotalHeight(node, heightDelta, true);
      if (ShownPath(node)) ChangeVisibleCount(static_cast<Integer>(VisibleDescendantCount(node)));
      FireExpanded(node);
    }
  }
  if (!changed) return;
  MarkCacheStale();
  if (InUpdate()) return;
  RequestCacheValidation();
  if (node->ChildCount == 0) {
    InvalidateNode(node);
    return;
  }
  UpdateScrollBars(false);
  NodeToggled(node, heightDelta);
}

void TBaseLiveTree::NodeToggled(PLiveNode node, Integer) {
  if (TreeStates().Contains(tsExpanding) || TreeStates().Contains(tsPainting))
    InvalidateToBottom(node);
  else
    Invalidate();
}

void TBaseLiveTree::FullExpand(PLiveNode node) {
  if (FRoot->TotalCount <= 1) return;
  bool wasExpanding = TreeStates().Contains(tsExpanding);
  ChangeTreeStates({tsExpanding}, {});
  BeginUpdate();
  struct Finish {
    TBaseLiveTree* Tree;
    bool WasExpanding;
    ~Finish() {
      try {
        Tree->EndUpdate();
      } catch (...) {
      }
      if (!WasExpanding) Tree->ChangeTreeStates({}, {tsExpanding});
    }
  } finish{this, wasExpanding};
  PLiveNode run;
  PLiveNode stop = nullptr;
  if (node == nullptr || node == FRoot) {
    run = FRoot->FirstChild;
  } else {
    run = node;
    PLiveNode up = node;
    while (up != FRoot && up->NextSibling == nullptr) up = up->Parent;
    stop = up == FRoot ? nullptr : up->NextSibling;
  }
  if (run != nullptr && !run->Has(vsInitialized)) InitializeNode(run);
  while (run != nullptr && run != stop) {
    if (!run->Has(vsExpanded)) ToggleNode(run);
    run = GetNext(run, false);
  }
}

void TBaseLiveTree::FullCollapse(PLiveNode node) {
  if (FRoot->TotalCount <= 1) return;
  if (node == FRoot) node = nullptr;
  bool wasCollapsing = TreeStates().Contains(tsCollapsing);
  ChangeTreeStates({tsCollapsing}, {});
  BeginUpdate();
  struct Finish {
    TBaseLiveTree* Tree;
    bool WasCollapsing;
    ~Finish() {
      try {
        Tree->EndUpdate();
      } catch (...) {
      }
      if (!WasCollapsing) Tree->ChangeTreeStates({}, {tsCollapsing});
    }
  } finish{this, wasCollapsing};
  PLiveNode run = GetLastVisibleNoInit(node, true, false);
  // In children-above order the walk backwards leaves the subtree without
  // meeting its top node.
  while (run != nullptr && run != node && (node == nullptr || HasAsParent(run, node))) {
    if (run->Has(vsExpanded) && run->Has(vsHasChildren)) ToggleNode(run);
    run = GetPreviousNoInit(run, true);
  }
  if (node != nullptr && node->Has(vsExpanded) && node->Has(vsHasChildren)) ToggleNode(node);
}

// ---- Sorting ----

namespace {

// How many nodes ahead of a merge's read positions are fetched into the
// cache. Large child lists are scattered over memory once sorted, so without
// this every comparison waits for memory.
constexpr std::ptrdiff_t PrefetchDistance = 16;
// From this length on a list's nodes no longer fit in the nearer caches.
constexpr std::ptrdiff_t PrefetchFromCount = 4096;

// The comparison reads a node's fixed fields (its states) and the start of
// the data area behind them, which lie on different cache lines.
inline void PrefetchNode(PLiveNode node) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(node);
  __builtin_prefetch(node->Data());
#else
  (void)node;
#endif
}

}  // namespace

void TBaseLiveTree::SortChildList(PLiveNode parent, TColumnIndex column, TSortDirection direction) {
  // Merge sort, stable: on equality the earlier node is taken first in both
  // directions. The nodes are sorted as a contiguous array of pointers and
  // relinked once at the end; the order of the owner's comparisons is that of
  // a bottom-up merge of a sibling chain (see below), so a handler that
  // cancels, fails or answers inconsistently sees the same sequence.

  // One allocation: the nodes in list order, then room for the left run of
  // a merge, which in the last merges may be as long as the largest power of
  // two not above the count.
  const Cardinal listed = parent->ChildCount;
  std::vector<PLiveNode> storage;
  try {
    storage.resize(static_cast<size_t>(listed) + std::bit_floor(listed));
  } catch (...) {
    // Nothing has moved yet: the list stays as it was and the caller still
    // ends its operation before the failure passes on.
    FSortFailure = std::current_exception();
    return;
  }
  PLiveNode* const array = storage.data();
  std::ptrdiff_t count = 0;
  for (PLiveNode run = parent->FirstChild; run != nullptr && count < static_cast<std::ptrdiff_t>(listed);
       run = run->NextSibling)
    array[count++] = run;
  if (count < 2) return;
  PLiveNode* const buffer = array + listed;
  // Short lists stay in the cache from their first comparisons on.
  const bool fetchAhead = count >= PrefetchFromCount;

  // A failing owner handler ends the asking (the rest counts as equal) so
  // that the list is always relinked whole; the failure is raised once the
  // list is consistent again. Only the handler itself can cancel the
  // operation or fail, so whether to go on asking is decided once before the
  // first comparison and after each.
  std::exception_ptr failure;
  const bool ascending = direction == sdAscending;
  bool asking = !OperationCanceled();
  auto takeRight = [&](PLiveNode left, PLiveNode right) -> bool {
    if (!asking) return false;
    Integer order = 0;
    try {
      order = QueryCompare(left, right, column);
    } catch (...) {
      failure = std::current_exception();
      asking = false;
      return false;
    }
    asking = !OperationCanceled();
    return ascending ? order > 0 : order < 0;
  };
  // Merges the sorted neighbours [first, middle) and [middle, last); the left
  // part holds the earlier nodes, so it wins ties. The left part is moved
  // aside, so the output never overtakes the right part still to be read.
  auto merge = [&](std::ptrdiff_t first, std::ptrdiff_t middle, std::ptrdiff_t last) {
    PLiveNode* left = buffer;
    PLiveNode* const leftEnd = std::copy(array + first, array + middle, left);
    PLiveNode* right = array + middle;
    PLiveNode* const rightEnd = array + last;
    PLiveNode* out = array + first;
    for (std::ptrdiff_t ahead = 0; fetchAhead && ahead < PrefetchDistance; ++ahead) {
      if (left + ahead < leftEnd) PrefetchNode(left[ahead]);
      if (right + ahead < rightEnd) PrefetchNode(right[ahead]);
    }
    while (left != leftEnd && right != rightEnd) {
      if (takeRight(*left, *right)) {
        *out++ = *right++;
        if (fetchAhead && rightEnd - right > PrefetchDistance) PrefetchNode(right[PrefetchDistance]);
      } else {
        *out++ = *left++;
        if (fetchAhead && leftEnd - left > PrefetchDistance) PrefetchNode(left[PrefetchDistance]);
      }
    }
    std::copy(left, leftEnd, out);
  };
  // Bottom-up, like the digits of a binary counter: after the node at Index k
  // is placed, the runs of 1, 2, 4 ... nodes that end with it are merged, as
  // many as k + 1 has trailing zero bits. What is left are runs whose sizes
  // are the set bits of the count, merged from the last run forwards.
  for (std::ptrdiff_t placed = 1; placed <= count; ++placed) {
    for (std::ptrdiff_t size = 1; (placed & size) == 0; size <<= 1) merge(placed - 2 * size, placed - size, placed);
  }
  std::ptrdiff_t lowest = count & -count;
  std::ptrdiff_t sortedFrom = count - lowest;
  for (std::ptrdiff_t size = lowest << 1; size <= count; size <<= 1) {
    if ((count & size) == 0) continue;
    merge(sortedFrom - size, sortedFrom, count);
    sortedFrom -= size;
  }

  PLiveNode previous = nullptr;
  for (std::ptrdiff_t index = 0; index < count; ++index) {
    if (fetchAhead && index + PrefetchDistance < count) PrefetchNode(array[index + PrefetchDistance]);
    PLiveNode run = array[index];
    run->PrevSibling = previous;
    run->NextSibling = index + 1 < count ? array[index + 1] : nullptr;
    run->Index = static_cast<Cardinal>(index);
    previous = run;
  }
  parent->FirstChild = array[0];
  parent->LastChild = previous;
  // The caller raises the failure once its operation has ended.
  if (failure) FSortFailure = failure;
}

void TBaseLiveTree::Sort(PLiveNode node, TColumnIndex column, TSortDirection direction, bool doInit) {
  StopCacheValidation();
  if (TreeStates().Contains(tsEditPending)) {
    FHost->StopTimer(TimerIdEdit);
    ChangeTreeStates({}, {tsEditPending});
  }
  if (TreeStates().Contains(tsEditing) && !EndEditNode()) return;
  if (node == nullptr) node = FRoot;
  if (!node->Has(vsHasChildren)) return;
  if (doInit) ValidateChildren(node, false);
  if (node->ChildCount > 1) {
    StartOperation(okSortNode);
    SortChildList(node, column, direction);
    MarkCacheStale();
    std::exception_ptr failure = FSortFailure;
    FSortFailure = nullptr;
    EndOperation(okSortNode);
    if (failure) std::rethrow_exception(failure);
  }
  if (!InUpdate()) {
    RequestCacheValidation();
    Invalidate();
  }
}

void TBaseLiveTree::SortTreeLevel(PLiveNode node, TColumnIndex column, TSortDirection direction, bool doInit) {
  Sort(node, column, direction, doInit);
  bool autoSort = AutoOptions().Contains(toAutoSort);
  PLiveNode run = node->FirstChild;
  while (run != nullptr && !OperationCanceled()) {
    if (doInit && !run->Has(vsInitialized)) InitializeNode(run);
    bool descend = run->Has(vsInitialized) && !(autoSort && !run->Has(vsExpanded));
    if (descend) Sort(run, column, direction, doInit);
    if (descend && run->FirstChild != nullptr) {
      run = run->FirstChild;
      continue;
    }
    while (run != node && run->NextSibling == nullptr) run = run->Parent;
    run = run == node ? nullptr : run->NextSibling;
  }
}

void TBaseLiveTree::SortTree(TColumnIndex column, TSortDirection direction, bool doInit) {
  if (FRoot->TotalCount <= 2) return;
  struct Finish {
    TBaseLiveTree* Tree;
    ~Finish() {
      --Tree->FUpdateCount;
      Tree->MarkCacheStale();
      if (Tree->FUpdateCount == 0) {
        try {
          Tree->RequestCacheValidation();
          Tree->Invalidate();
        } catch (...) {
        }
      }
    }
  };
  ++FUpdateCount;
  Finish finish{this};
  if (column >= NoColumn) {
    StartOperation(okSortTree);
    try {
      SortTreeLevel(FRoot, column, direction, doInit);
    } catch (...) {
      EndOperation(okSortTree);
      throw;
    }
    EndOperation(okSortTree);
  }
}

void TBaseLiveTree::StartOperation(TLTOperationKind kind) {
  ++FOperationCount;
  FireStartOperation(kind);
  if (FOperationCount == 1) FOperationCanceled = false;
}

void TBaseLiveTree::EndOperation(TLTOperationKind kind) {
  LTAssert(FOperationCount > 0, "EndOperation must not be called when no operation in progress.");
  --FOperationCount;
  FireEndOperation(kind);
}

void TBaseLiveTree::CancelOperation() {
  if (FOperationCount > 0) FOperationCanceled = true;
}

Integer TBaseLiveTree::CompareDisplayOrder(PLiveNode node1, PLiveNode node2, bool considerChildrenAbove) const {
  LTAssert(node1 != nullptr && node2 != nullptr, "Nodes must never be nil.");
  if (node1 == node2) return 0;
  bool above = ChildrenAbove(considerChildrenAbove);
  if (HasAsParent(node1, node2)) return above ? -1 : 1;
  if (HasAsParent(node2, node1)) return above ? 1 : -1;
  Cardinal level1 = GetNodeLevel(node1), level2 = GetNodeLevel(node2);
  for (; level1 > level2; --level1) node1 = node1->Parent;
  for (; level2 > level1; --level2) node2 = node2->Parent;
  while (node1->Parent != node2->Parent) {
    node1 = node1->Parent;
    node2 = node2->Parent;
  }
  return node1->Index < node2->Index ? -1 : (node1->Index > node2->Index ? 1 : 0);
}

// ---- Position ----

PLiveNode TBaseLiveTree::GetNodeAt(Integer x, Integer y) {
  Integer top = 0;
  return GetNodeAt(x, y, true, top);
}

PLiveNode TBaseLiveTree::GetNodeAt(Integer, Integer y, bool relative, Integer& nodeTop) {
  if (y < 0) y = 0;
  Int64 position = y;
  if (relative) position -= FOffsetY;
  if (position < 0) position = 0;
  Cardinal top = 0;
  PLiveNode node = nullptr;
  if (TreeStates().Contains(tsUseCache)) node = CacheEntryForPosition(static_cast<Cardinal>(position), top);
  if (node == nullptr) {
    node = GetFirstVisibleNoInit(nullptr, true, false);
    top = 0;
  }
  while (node != nullptr) {
    Cardinal height = node->Height();
    if (position < static_cast<Int64>(top) + height) break;
    top += height;
    node = GetNextVisibleNoInit(node, true);
  }
  nodeTop = static_cast<Integer>(top) + (relative ? FOffsetY : 0);
  return node;
}

PLiveNode TBaseLiveTree::CacheEntryForPosition(Cardinal position, Cardinal& top) const {
  auto entry = std::upper_bound(FPositionCache.begin(), FPositionCache.end(), position,
                                [](Cardinal value, const TCacheEntry& e) { return value < e.AbsoluteTop; });
  if (entry == FPositionCache.begin() || FPositionCache.empty()) {
    top = 0;
    return nullptr;
  }
  --entry;
  top = entry->AbsoluteTop;
  return entry->Node;
}

PLiveNode TBaseLiveTree::CacheEntryForNode(PLiveNode node, Cardinal& top) const {
  size_t low = 0, high = FPositionCache.size();
  while (low < high) {
    size_t middle = (low + high) / 2;
    PLiveNode entryNode = FPositionCache[middle].Node;
    if (entryNode != nullptr && CompareDisplayOrder(entryNode, node) <= 0)
      low = middle + 1;
    else
      high = middle;
  }
  if (low == 0) {
    top = 0;
    return nullptr;
  }
  top = FPositionCache[low - 1].AbsoluteTop;
  return FPositionCache[low - 1].Node;
}

// ---- The position cache ----

void TBaseLiveTree::MarkCacheStale() {
  ++FCacheGeneration;
  TLiveTreeStates states = TreeStates();
  if (states.Contains(tsUseCache) || !states.Contains(tsValidationNeeded))
    ChangeTreeStates({tsValidationNeeded}, {tsUseCache});
}

void TBaseLiveTree::StopCacheValidation() {
  ChangeTreeStates({tsStopValidation}, {tsUseCache});
  if (TWorkerThread* worker = TWorkerThread::Instance()) worker->RemoveTree(this);
  // A stopped or abandoned build leaves no valid cache behind.
  MarkCacheStale();
}

void TBaseLiveTree::RequestCacheValidation() {
  if (!HasWindow()) return;
  StopCacheValidation();
  FStartIndex = 0;
  if (TreeStates().Contains(tsValidationNeeded) && VisibleCount() > CacheThreshold) {
    if (TWorkerThread* worker = TWorkerThread::Instance()) {
      worker->AddTree(this);
      worker->Signal();
    }
  }
}

bool TBaseLiveTree::DispatchHandOvers() {
  TWorkerThread* worker = TWorkerThread::Instance();
  return worker != nullptr && worker->DispatchHandOvers(this);
}

bool TBaseLiveTree::BuildPositionCache() {
  auto stopped = [this] { return TreeStates().Contains(tsStopValidation); };
  if (stopped()) return false;
  if (FStartIndex == 0) FPositionCache.clear();
  Cardinal visible = VisibleCount();
  // One entry per started block of the threshold plus one for the last
  // shown node.
  size_t count = visible < 2 ? 0 : (visible - 1) / CacheThreshold + 2;
  FPositionCache.resize(count);
  if (FStartIndex > count) FStartIndex = static_cast<Cardinal>(count);

  PLiveNode node = nullptr;
  Cardinal top = 0;
  size_t index = 0;
  if (FStartIndex > 0 && FPositionCache[FStartIndex - 1].Node != nullptr) {
    index = FStartIndex - 1;
    node = FPositionCache[index].Node;
    top = FPositionCache[index].AbsoluteTop;
  } else {
    node = GetFirstVisibleNoInit(nullptr, true, false);
  }
  Cardinal counter = 0;
  Cardinal walked = 0;
  PLiveNode last = nullptr;
  Cardinal lastTop = 0;
  bool wasStopped = false;
  while (node != nullptr) {
    if (stopped()) {
      wasStopped = true;
      break;
    }
    if (counter % CacheThreshold == 0) {
      if (index >= count) break;
      FPositionCache[index++] = TCacheEntry{node, top};
    }
    last = node;
    lastTop = top;
    top += GetNodeHeight(node);
    // Measuring may have run on the interface thread; the tree may be
    // changing now, so nothing of it is touched once a stop is requested.
    if (stopped()) {
      wasStopped = true;
      break;
    }
    ++counter;
    ++walked;
    node = GetNextVisibleNoInit(node, true);
  }
  if (!wasStopped && index < count && last != nullptr) {
    FPositionCache.resize(index + 1);
    FPositionCache[index] = TCacheEntry{last, lastTop};
  }
  FStartIndex = 0;
  return walked > 0 && !wasStopped;
}

void TBaseLiveTree::RunCacheValidation() {
  TWorkerThread* worker = TWorkerThread::Instance();
  if (worker == nullptr) return;
  Cardinal generation = 0;
  bool started = false;
  try {
    worker->HandOver(this, [&] {
      ChangeTreeStates({tsValidating}, {tsUseCache, tsValidationNeeded});
      generation = FCacheGeneration;
      started = true;
    });
  } catch (...) {
  }
  bool built = false;
  if (started && !TreeStates().Contains(tsStopValidation)) {
    try {
      built = BuildPositionCache();
    } catch (...) {
      built = false;
    }
  }
  try {
    worker->HandOver(this, [&] {
      // A change during the build (a height measured or set, a toggle) made
      // the walk stale: the cache is only valid when nothing was marked.
      bool fresh = generation == FCacheGeneration;
      TLiveTreeStates enter;
      if (built && fresh) enter += tsUseCache;
      if (!fresh) enter += tsValidationNeeded;
      ChangeTreeStates(enter, {tsStopValidation, tsValidating});
      if (built && !fresh && VisibleCount() > CacheThreshold && HasWindow()) {
        FStartIndex = 0;
        worker->AddTree(this);
        worker->Signal();
      }
      if (built && fresh) {
        if (MiscOptions().Contains(toVariableNodeHeight)) UpdateScrollBars(false);
        CacheValidated();
      }
    });
  } catch (...) {
  }
}
