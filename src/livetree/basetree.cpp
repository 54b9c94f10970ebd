// Node store: the hidden root, node blocks and their caller data, creation
// and deletion, initialisation on demand, the aggregate counts and heights,
// the update bracket and change notifications.
#include "livetree/basetree.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "livetree/livetreeassert.h"
#include "livetree/livetreeworker.h"
#include "rtl/unicode.h"

namespace {

// Raises a counter for the lifetime of the guard, as the model does around
// steps that must not trigger an update's closing work.
class CountGuard {
 public:
  explicit CountGuard(Cardinal& count) : FCount(count) { ++FCount; }
  ~CountGuard() { --FCount; }
  CountGuard(const CountGuard&) = delete;
  CountGuard& operator=(const CountGuard&) = delete;

 private:
  Cardinal& FCount;
};

Word ClampHeight(Int64 value) {
  return static_cast<Word>(std::clamp<Int64>(value, 0, 65535));
}

constexpr Cardinal RoundUp8(Cardinal value) {
  return (value + 7u) & ~7u;
}

}  // namespace

TBaseLiveTree::TBaseLiveTree(ILiveTreeHost* host) : FHost(host ? host : &FNullHost) {
  FOptions = std::make_unique<TLiveTreeOptions>(this);
  Construct();
}

TBaseLiveTree::TBaseLiveTree(ILiveTreeHost* host, std::unique_ptr<TCustomLiveTreeOptions> options)
    : FHost(host ? host : &FNullHost), FOptions(std::move(options)) {
  if (!FOptions) FOptions = std::make_unique<TLiveTreeOptions>(this);
  Construct();
}

void TBaseLiveTree::Construct() {
  FInterfaceThread = std::this_thread::get_id();
  void* block = ::operator new(sizeof(TLiveNode));
  FRoot = new (block) TLiveNode();
  FRoot->Parent = reinterpret_cast<PLiveNode>(this);
  FRoot->PrevSibling = FRoot;
  FRoot->NextSibling = FRoot;
  FRoot->SetStates({vsInitialized, vsExpanded, vsHasChildren, vsVisible});
  FRoot->TotalCount = 1;
  FRoot->TotalHeight = FDefaultNodeHeight;
  FRoot->SetHeight(ClampHeight(FDefaultNodeHeight));
  FRoot->Align = 50;
  FHeader = std::make_unique<TLTHeader>(this);
  TWorkerThread::AddThreadReference();
  FTreeIdentifier = RegisterLiveTree(this);
}

TBaseLiveTree::~TBaseLiveTree() {
  // From here on no reference from a data object reaches this tree.
  UnregisterLiveTree(FTreeIdentifier);
  StopCacheValidation();
  FOptions->SetMiscOptions(FOptions->MiscOptions() - TLTMiscOptions{toReadOnly});
  TWorkerThread::ReleaseThreadReference(this);
  CancelEditNode();
  FDestroying = true;
  try {
    FUpdateCount = 0;
    Clear();
  } catch (...) {
    // A handler failing during destruction cannot stop it.
  }
  FRoot->~TLiveNode();
  ::operator delete(FRoot);
}

void TBaseLiveTree::SetHost(ILiveTreeHost* host) {
  FHost = host ? host : &FNullHost;
}

// ---- Node blocks ----

Cardinal TBaseLiveTree::NodeBlockSize() const {
  Cardinal dataSize = FNodeDataSize > 0 ? static_cast<Cardinal>(FNodeDataSize) : 0;
  return RoundUp8(static_cast<Cardinal>(sizeof(TLiveNode)) + FTotalInternalDataSize + dataSize);
}

PLiveNode TBaseLiveTree::AllocateNode() {
  if (FNodeDataSize == -1) {
    Integer size = -1;
    QueryNodeDataSize(size);
    FNodeDataSize = std::max(size, -1);
  }
  Cardinal size = NodeBlockSize();
  void* block = ::operator new(size);
  std::memset(static_cast<Byte*>(block) + sizeof(TLiveNode), 0, size - sizeof(TLiveNode));
  PLiveNode node = new (block) TLiveNode();
  node->TotalCount = 1;
  node->TotalHeight = FDefaultNodeHeight;
  node->SetHeight(ClampHeight(FDefaultNodeHeight));
  node->SetStates({vsVisible});
  node->Align = 50;
  return node;
}

void TBaseLiveTree::FreeNodeBlock(PLiveNode node) {
  node->~TLiveNode();
  ::operator delete(node);
}

void TBaseLiveTree::QueryNodeDataSize(Integer& size) {
  size = static_cast<Integer>(sizeof(void*));
  if (OnGetNodeDataSize) OnGetNodeDataSize(this, size);
}

Cardinal TBaseLiveTree::ReserveInternalNodeData(Cardinal size) {
  LTAssert(FRoot->ChildCount == 0, "Internal data allocation must be done before any node is created.");
  Cardinal position = static_cast<Cardinal>(sizeof(TLiveNode)) + FTotalInternalDataSize;
  Cardinal oldInternal = FTotalInternalDataSize;
  FTotalInternalDataSize += RoundUp8(size);
  void* block = ::operator new(sizeof(TLiveNode) + FTotalInternalDataSize);
  PLiveNode root = new (block) TLiveNode();
  root->Index = FRoot->Index;
  root->ChildCount = FRoot->ChildCount;
  root->SetHeight(FRoot->Height());
  root->SetStates(FRoot->GetStates());
  root->Align = FRoot->Align;
  root->CheckState = FRoot->CheckState;
  root->CheckType = FRoot->CheckType;
  root->TotalCount = FRoot->TotalCount;
  root->TotalHeight = FRoot->TotalHeight;
  root->Parent = FRoot->Parent;
  root->PrevSibling = root;
  root->NextSibling = root;
  std::memcpy(root->Data(), FRoot->Data(), oldInternal);
  std::memset(root->Data() + oldInternal, 0, FTotalInternalDataSize - oldInternal);
  FreeNodeBlock(FRoot);
  FRoot = root;
  return position;
}

TBaseLiveTree* TBaseLiveTree::TreeFromNode(PLiveNode node) {
  LTAssert(node != nullptr, "Node must not be nil.");
  while (node->NextSibling != node) node = node->Parent;
  return reinterpret_cast<TBaseLiveTree*>(node->Parent);
}

// ---- Simple queries ----

void TBaseLiveTree::SetNodeDataSize(Integer value) {
  if (value < -1) value = -1;
  if (value == FNodeDataSize) return;
  // Read-only nodes cannot be rebuilt, and blocks sized for the old value must
  // not serve the new one.
  if (ReadOnly() && !FLoading && FRoot->FirstChild != nullptr) return;
  FNodeDataSize = value;
  if (FLoading) return;
  Cardinal count = FRoot->ChildCount;
  Clear();
  SetRootNodeCount(count);
}

void TBaseLiveTree::SetRootNodeCount(Cardinal value) {
  if (FLoading) {
    FRoot->ChildCount = value;
    ChangeTreeStates({tsNeedRootCountUpdate}, {});
    return;
  }
  if (value == FRoot->ChildCount) return;
  BeginUpdate();
  try {
    StopCacheValidation();
    SetChildCount(FRoot, value);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TBaseLiveTree::EndLoading() {
  FLoading = false;
  FHeader->ClampMainColumn();
  FHeader->Columns().PositionsFromColumns();
  if (TreeStates().Contains(tsNeedRootCountUpdate)) {
    ChangeTreeStates({}, {tsNeedRootCountUpdate});
    Cardinal count = FRoot->ChildCount;
    FRoot->ChildCount = 0;
    SetChildCount(FRoot, count);
  }
}

Cardinal TBaseLiveTree::TotalCount() {
  {
    CountGuard guard(FUpdateCount);
    ValidateNode(nullptr, true);
  }
  return FRoot->TotalCount - 1;
}

Cardinal TBaseLiveTree::GetChildCount(PLiveNode node) const {
  return node == nullptr ? FRoot->ChildCount : node->ChildCount;
}

PLiveNode TBaseLiveTree::NodeParent(PLiveNode node) const {
  if (node == nullptr || node == FRoot || node->Parent == FRoot) return nullptr;
  return node->Parent;
}

bool TBaseLiveTree::HasChildren(PLiveNode node) const {
  return (node ? node : FRoot)->Has(vsHasChildren);
}

bool TBaseLiveTree::InitializedVisible(PLiveNode node) {
  if (node == nullptr) node = FRoot;
  if (!node->Has(vsInitialized)) InitializeNode(node);
  return node->Has(vsVisible);
}

bool TBaseLiveTree::ShownPath(PLiveNode node) const {
  LTAssert(node != nullptr, "Invalid parameter.");
  if (!node->Has(vsVisible)) return false;
  return node == FRoot || AncestorsShown(node);
}

bool TBaseLiveTree::AncestorsShown(PLiveNode node) const {
  LTAssert(node != nullptr && node != FRoot, "Invalid parameters.");
  for (PLiveNode run = node->Parent; run != FRoot; run = run->Parent) {
    TLiveNodeStates states = run->GetStates();
    if (!states.Contains(vsExpanded) || !states.Contains(vsVisible)) return false;
  }
  return true;
}

void* TBaseLiveTree::GetNodeData(PLiveNode node) {
  LTAssert(FNodeDataSize > 0, "NodeDataSize not initialized.");
  if (node == nullptr || node == FRoot) return nullptr;
  if (!node->Has(vsOnFreeNodeCallRequired)) node->Include({vsOnFreeNodeCallRequired});
  return node->Data() + FTotalInternalDataSize;
}

Cardinal TBaseLiveTree::GetNodeLevel(PLiveNode node) const {
  Cardinal level = 0;
  if (node == nullptr || node == FRoot) return 0;
  for (PLiveNode run = node->Parent; run != FRoot; run = run->Parent) ++level;
  return level;
}

bool TBaseLiveTree::HasAsParent(PLiveNode node, PLiveNode potentialParent) const {
  // The root's parent field does not refer to a node.
  if (node == nullptr || node == FRoot || potentialParent == nullptr || node == potentialParent) return false;
  for (PLiveNode run = node->Parent; run != nullptr; run = run->Parent) {
    if (run == potentialParent) return true;
    if (run == FRoot) break;
  }
  return false;
}

bool TBaseLiveTree::GetEffectivelyFiltered(PLiveNode node) const {
  return node != nullptr && node->Has(vsFiltered) && !PaintOptions().Contains(toShowFilteredNodes);
}

bool TBaseLiveTree::GetEffectivelyVisible(PLiveNode node) const {
  return node != nullptr && node->Has(vsVisible) && !GetEffectivelyFiltered(node);
}

// ---- Totals ----

void TBaseLiveTree::ChangeVisibleCount(Integer delta) {
  FVisibleCount.store(static_cast<Cardinal>(static_cast<Int64>(VisibleCount()) + delta), std::memory_order_relaxed);
}

void TBaseLiveTree::PropagateTotalCount(PLiveNode node, Integer value, bool relative) {
  if (!relative) value -= static_cast<Integer>(node->TotalCount);
  if (value == 0) return;
  for (PLiveNode run = node;; run = run->Parent) {
    run->TotalCount = static_cast<Cardinal>(static_cast<Int64>(run->TotalCount) + value);
    if (run == FRoot) break;
  }
}

void TBaseLiveTree::PropagateTotalHeight(PLiveNode node, Integer value, bool relative) {
  if (!relative) value -= static_cast<Integer>(node->TotalHeight);
  if (value == 0) return;
  for (PLiveNode run = node;; run = run->Parent) {
    run->TotalHeight = static_cast<Cardinal>(static_cast<Int64>(run->TotalHeight) + value);
    if (!run->Has(vsVisible) || run == FRoot || !run->Parent->Has(vsExpanded)) break;
  }
}

void TBaseLiveTree::RecountTotals(PLiveNode node) {
  // Bottom-up without recursion: children are finished before their parent
  // in post-order.
  if (node == nullptr) node = FRoot;
  PLiveNode run = node;
  while (run->FirstChild != nullptr) run = run->FirstChild;
  for (;;) {
    run->TotalCount = 1;
    for (PLiveNode child = run->FirstChild; child; child = child->NextSibling) run->TotalCount += child->TotalCount;
    if (run == node) break;
    if (run->NextSibling != nullptr) {
      run = run->NextSibling;
      while (run->FirstChild != nullptr) run = run->FirstChild;
    } else {
      run = run->Parent;
    }
  }
}

void TBaseLiveTree::RecomputeTotalHeights(PLiveNode node) {
  if (node == nullptr) node = FRoot;
  PLiveNode run = node;
  while (run->FirstChild != nullptr) run = run->FirstChild;
  for (;;) {
    run->TotalHeight = GetEffectivelyFiltered(run) ? 0 : run->Height();
    if (run->Has(vsExpanded)) {
      for (PLiveNode child = run->FirstChild; child; child = child->NextSibling)
        if (child->Has(vsVisible)) run->TotalHeight += child->TotalHeight;
    }
    if (run == node) break;
    if (run->NextSibling != nullptr) {
      run = run->NextSibling;
      while (run->FirstChild != nullptr) run = run->FirstChild;
    } else {
      run = run->Parent;
    }
  }
}

Cardinal TBaseLiveTree::VisibleDescendantCount(PLiveNode node) const {
  if (!node->Has(vsExpanded)) return 0;
  Cardinal count = 0;
  PLiveNode run = node->FirstChild;
  while (run != nullptr) {
    bool descend = false;
    if (run->Has(vsVisible)) {
      if (!GetEffectivelyFiltered(run)) ++count;
      descend = run->Has(vsExpanded) && run->FirstChild != nullptr;
    }
    if (descend) {
      run = run->FirstChild;
      continue;
    }
    while (run != node && run->NextSibling == nullptr) run = run->Parent;
    run = run == node ? nullptr : run->NextSibling;
  }
  return count;
}

void TBaseLiveTree::UpdateAllChildrenHidden(PLiveNode node) {
  if (node->ChildCount == 0) {
    if (node->Has(vsHasChildren))
      node->Exclude({vsAllChildrenHidden});
    else
      node->Include({vsAllChildrenHidden});
    return;
  }
  bool allHidden = true;
  for (PLiveNode child = node->FirstChild; child; child = child->NextSibling) {
    if (GetEffectivelyVisible(child)) {
      allHidden = false;
      break;
    }
  }
  if (allHidden)
    node->Include({vsAllChildrenHidden});
  else
    node->Exclude({vsAllChildrenHidden});
}

void TBaseLiveTree::UpdateAllHiddenFlags() {
  for (PLiveNode run = GetFirstNoInit(false); run; run = GetNextNoInit(run, false)) UpdateAllChildrenHidden(run);
}

// ---- Creation ----

void TBaseLiveTree::SetChildCount(PLiveNode node, Cardinal newCount) {
  if (ReadOnly()) return;
  if (node == nullptr) node = FRoot;
  if (newCount == 0) {
    DeleteChildren(node, false);
    return;
  }
  Cardinal count = node->ChildCount;
  if (newCount == count) return;
  StopCacheValidation();
  if (newCount > count) {
    Cardinal index = 0;
    if (node->LastChild != nullptr)
      index = node->LastChild->Index + 1;
    else
      node->Include({vsHasChildren});
    node->Exclude({vsAllChildrenHidden, vsHeightMeasured});
    bool variable = MiscOptions().Contains(toVariableNodeHeight);
    Int64 heights = 0;
    for (Cardinal i = count; i < newCount; ++i, ++index) {
      PLiveNode child = AllocateNode();
      child->Index = index;
      child->Parent = node;
      child->PrevSibling = node->LastChild;
      if (node->LastChild != nullptr)
        node->LastChild->NextSibling = child;
      else
        node->FirstChild = child;
      node->LastChild = child;
      if (variable) {
        Integer height = child->Height();
        FireMeasureItem(FHost->Canvas(), child, height);
        child->SetHeight(ClampHeight(height));
        child->TotalHeight = child->Height();
      }
      heights += child->TotalHeight;
    }
    Cardinal added = newCount - count;
    if (node->Has(vsExpanded)) {
      PropagateTotalHeight(node, static_cast<Integer>(heights), true);
      if (ShownPath(node)) ChangeVisibleCount(static_cast<Integer>(added));
    }
    PropagateTotalCount(node, static_cast<Integer>(added), true);
    node->ChildCount = newCount;
    if (!InUpdate() && AutoOptions().Contains(toAutoSort) && SortColumn() >= NoColumn)
      Sort(node, SortColumn(), SortDirection(), true);
    MarkCacheStale();
  } else {
    while (node->ChildCount > newCount && node->LastChild != nullptr) DeleteNode(node->LastChild, true);
  }
  if (!InUpdate()) {
    RequestCacheValidation();
    UpdateScrollBars(true);
    Invalidate();
  }
  NoteStructureChange(node == FRoot ? nullptr : node, crChildAdded);
}

PLiveNode TBaseLiveTree::AddChild(PLiveNode parent, void* userData) {
  if (ReadOnly()) return nullptr;
  CancelEditNode();
  if (parent == nullptr) parent = FRoot;
  if (!parent->Has(vsInitialized)) InitializeNode(parent);
  {
    CountGuard guard(FUpdateCount);
    SetChildCount(parent, parent->ChildCount + 1);
    parent->Exclude({vsAllChildrenHidden});
  }
  PLiveNode result = parent->LastChild;
  if (userData != nullptr) {
    if (FNodeDataSize < static_cast<Integer>(sizeof(void*)))
      throw ELiveTreeError(S("Cannot set initial user data because there is not enough user data space allocated."),
                           2008);
    std::memcpy(GetNodeData(result), &userData, sizeof(void*));
  }
  MarkCacheStale();
  if (!InUpdate()) {
    RequestCacheValidation();
    if (TreeStates().Contains(tsStructureChangePending))
      NoteStructureChange(parent == FRoot ? nullptr : parent, crChildAdded);
    if (AutoOptions().Contains(toAutoSort) && SortColumn() >= NoColumn)
      Sort(parent, SortColumn(), SortDirection(), true);
    InvalidateToBottom(parent);
    UpdateScrollBars(true);
  }
  return result;
}

PLiveNode TBaseLiveTree::InsertNode(PLiveNode node, TLTNodeAttachMode mode, void* userData) {
  if (mode == amNoWhere) return nullptr;
  CancelEditNode();
  if (node == nullptr) node = FRoot;
  if (node == FRoot) {
    if (mode == amInsertBefore) mode = amAddChildFirst;
    if (mode == amInsertAfter) mode = amAddChildLast;
  }
  PLiveNode result = AllocateNode();
  if ((mode == amAddChildFirst || mode == amAddChildLast) && !node->Has(vsInitialized)) InitializeNode(node);
  LinkNode(result, node, mode);
  if (userData != nullptr) {
    if (FNodeDataSize < static_cast<Integer>(sizeof(void*)))
      throw ELiveTreeError(S("Cannot set initial user data because there is not enough user data space allocated."),
                           2008);
    std::memcpy(GetNodeData(result), &userData, sizeof(void*));
  }
  MarkCacheStale();
  if (!InUpdate()) {
    if (AutoOptions().Contains(toAutoSort) && SortColumn() >= NoColumn) {
      PLiveNode sortParent = (mode == amInsertBefore || mode == amInsertAfter) ? node->Parent : node;
      Sort(sortParent, SortColumn(), SortDirection(), true);
    }
    RequestCacheValidation();
    UpdateScrollBars(true);
    InvalidateToBottom(mode == amInsertBefore ? result : node);
  }
  NoteStructureChange(result, crNodeAdded);
  return result;
}

void TBaseLiveTree::LinkNode(PLiveNode node, PLiveNode destination, TLTNodeAttachMode mode) {
  if (destination == FRoot) {
    if (mode == amInsertBefore) mode = amAddChildFirst;
    if (mode == amInsertAfter) mode = amAddChildLast;
  }
  if (mode == amNoWhere) return;
  StopCacheValidation();
  PLiveNode parent = nullptr;
  switch (mode) {
    case amInsertBefore: {
      parent = destination->Parent;
      node->Parent = parent;
      node->Index = destination->Index;
      node->PrevSibling = destination->PrevSibling;
      node->NextSibling = destination;
      if (destination->PrevSibling != nullptr)
        destination->PrevSibling->NextSibling = node;
      else
        parent->FirstChild = node;
      destination->PrevSibling = node;
      for (PLiveNode run = destination; run; run = run->NextSibling) ++run->Index;
      break;
    }
    case amInsertAfter: {
      parent = destination->Parent;
      node->Parent = parent;
      node->Index = destination->Index + 1;
      node->PrevSibling = destination;
      node->NextSibling = destination->NextSibling;
      if (destination->NextSibling != nullptr)
        destination->NextSibling->PrevSibling = node;
      else
        parent->LastChild = node;
      destination->NextSibling = node;
      for (PLiveNode run = node->NextSibling; run; run = run->NextSibling) ++run->Index;
      break;
    }
    case amAddChildFirst: {
      parent = destination;
      node->Parent = parent;
      node->PrevSibling = nullptr;
      node->NextSibling = parent->FirstChild;
      if (parent->FirstChild != nullptr)
        parent->FirstChild->PrevSibling = node;
      else
        parent->LastChild = node;
      parent->FirstChild = node;
      Cardinal index = 0;
      for (PLiveNode run = node; run; run = run->NextSibling) run->Index = index++;
      break;
    }
    default: {
      parent = destination;
      node->Parent = parent;
      node->NextSibling = nullptr;
      node->PrevSibling = parent->LastChild;
      node->Index = parent->LastChild != nullptr ? parent->LastChild->Index + 1 : 0;
      if (parent->LastChild != nullptr)
        parent->LastChild->NextSibling = node;
      else
        parent->FirstChild = node;
      parent->LastChild = node;
      break;
    }
  }
  ++parent->ChildCount;
  parent->Include({vsHasChildren});
  PropagateTotalCount(parent, static_cast<Integer>(node->TotalCount), true);
  // The parent's total height holds its visible children whenever it is
  // expanded, shown or not, so that is the condition, not the node's path.
  if (parent->Has(vsExpanded) && node->Has(vsVisible))
    PropagateTotalHeight(parent, static_cast<Integer>(node->TotalHeight), true);
  if (ShownPath(node))
    ChangeVisibleCount(static_cast<Integer>(VisibleDescendantCount(node) + (GetEffectivelyVisible(node) ? 1 : 0)));
  node->Exclude({vsChecking, vsCutOrCopy, vsDeleting, vsClearing});
  if (parent != FRoot) {
    if (GetEffectivelyVisible(node))
      parent->Exclude({vsAllChildrenHidden});
    else if (parent->ChildCount == 1)
      parent->Include({vsAllChildrenHidden});
  }
  MarkCacheStale();
}

PLiveNode TBaseLiveTree::UnlinkNode(PLiveNode node, bool keepFocus, bool reindex) {
  LTAssert(node != nullptr && node != FRoot, "Node must neither be nil nor the root node.");
  PLiveNode parent = node->Parent;
  if (node == FFocusedNode && !keepFocus) {
    FFocusedNode = nullptr;
    FireFocusChanged(FFocusedNode, FFocusedColumn);
  }
  if (node == FRangeAnchor) ResetRangeAnchor();
  if (parent != FRoot && !parent->Has(vsClearing)) {
    if (InUpdate())
      ChangeTreeStates({tsUpdateHiddenChildrenNeeded}, {});
    else
      UpdateAllChildrenHidden(parent);
  }
  if (node->Has(vsDeleting)) return parent;

  node->Exclude({vsChecking});
  bool parentWasExpanded = parent->Has(vsExpanded);
  bool shown = ShownPath(node);
  Cardinal visibleRemoved = shown ? VisibleDescendantCount(node) + (GetEffectivelyVisible(node) ? 1 : 0) : 0;
  --parent->ChildCount;
  if (parent->ChildCount == 0) {
    parent->Exclude({vsHasChildren, vsAllChildrenHidden});
    if (parent != FRoot && parentWasExpanded) parent->Exclude({vsExpanded});
  }
  PropagateTotalCount(parent, -static_cast<Integer>(node->TotalCount), true);
  if (parentWasExpanded && node->Has(vsVisible))
    PropagateTotalHeight(parent, -static_cast<Integer>(node->TotalHeight), true);
  if (visibleRemoved != 0) ChangeVisibleCount(-static_cast<Integer>(visibleRemoved));

  PLiveNode next = node->NextSibling;
  if (node->PrevSibling != nullptr)
    node->PrevSibling->NextSibling = next;
  else
    parent->FirstChild = next;
  if (next != nullptr)
    next->PrevSibling = node->PrevSibling;
  else
    parent->LastChild = node->PrevSibling;
  if (next != nullptr && reindex) {
    Cardinal index = node->Index;
    for (PLiveNode run = next; run; run = run->NextSibling) run->Index = index++;
  }
  node->PrevSibling = nullptr;
  node->NextSibling = nullptr;
  MarkCacheStale();
  return next != nullptr ? next : parent;
}

// ---- Deletion ----

void TBaseLiveTree::CheckNotIterating() const {
  LTAssert(!TreeStates().Contains(tsIterating), "Deleting nodes during tree iteration leads to invalid pointers.");
}

void TBaseLiveTree::DeleteNode(PLiveNode node, bool reindex) {
  if (node == nullptr || node == FRoot || ReadOnly()) return;
  CheckNotIterating();
  CancelEditBelow(node, true);
  PLiveNode parent = node->Parent;
  bool parentClearing = parent->Has(vsClearing);
  if (!parentClearing) NoteStructureChange(parent == FRoot ? nullptr : parent, crChildDeleted);
  Integer oldX = FOffsetX, oldY = FOffsetY;
  if (!node->Has(vsSelected)) {
    InvalidateToBottom(parent);
  } else if (InUpdate()) {
    FlagOutOfSelection(node);
  } else {
    bool wasSynch = TreeStates().Contains(tsSynchMode);
    ChangeTreeStates({tsSynchMode}, {});
    try {
      RemoveFromSelection(node);
    } catch (...) {
      if (!wasSynch) ChangeTreeStates({}, {tsSynchMode});
      throw;
    }
    if (!wasSynch) ChangeTreeStates({}, {tsSynchMode});
    InvalidateToBottom(parent);
  }
  if (TreeStates().Contains(tsHint)) {
    FHost->CancelHint();
    ChangeTreeStates({}, {tsHint});
  }
  if (!parentClearing) StopCacheValidation();
  DeleteChildren(node, false);
  UnlinkNode(node, false, reindex);
  ReleaseNode(node);
  if (!parentClearing) {
    UpdateAllChildrenHidden(parent);
    MarkCacheStale();
    if (!InUpdate()) {
      RequestCacheValidation();
      UpdateScrollBars(true);
      if (oldX != FOffsetX || oldY != FOffsetY) Invalidate();
    }
  }
}

void TBaseLiveTree::DeleteChildren(PLiveNode node, bool resetHasChildren) {
  if (node == nullptr || node->ChildCount == 0 || ReadOnly()) {
    if (node != nullptr && resetHasChildren) node->Exclude({vsHasChildren});
    return;
  }
  CheckNotIterating();
  CancelEditBelow(node, false);
  Integer oldX = FOffsetX, oldY = FOffsetY;
  {
    CountGuard guard(FUpdateCount);
    StopCacheValidation();
    bool parentVisible = node == FRoot || (ShownPath(node) && node->Has(vsExpanded));
    node->Include({vsClearing});
    DeleteClearedSubtrees(node, parentVisible);
    if (resetHasChildren) node->Exclude({vsHasChildren});
    if (node == FRoot) {
      FRoot->TotalHeight = FRoot->Height();
      FRoot->TotalCount = 1;
    } else if (!node->Has(vsDeleting)) {
      PropagateTotalHeight(node, GetEffectivelyFiltered(node) ? 0 : node->Height(), false);
      PropagateTotalCount(node, 1, false);
    }
  }
  MarkCacheStale();
  if (!InUpdate()) {
    PackSelection();
    RequestCacheValidation();
    UpdateScrollBars(true);
    if (oldX != FOffsetX || oldY != FOffsetY)
      Invalidate();
    else
      InvalidateToBottom(node);
  }
  NoteStructureChange(node == FRoot ? nullptr : node, crChildDeleted);
}

// An editor open over a node that is about to go would hand its text to a
// freed node: it is cancelled first.
void TBaseLiveTree::CancelEditBelow(PLiveNode node, bool includingNode) {
  TLiveTreeStates states = TreeStates();
  if (!states.Contains(tsEditing) && !states.Contains(tsEditPending)) return;
  if (FFocusedNode == nullptr) return;
  if ((includingNode && FFocusedNode == node) || node == FRoot || HasAsParent(FFocusedNode, node)) CancelEditNode();
}

// A node whose parent is being emptied leaves: out of the selection, any hint
// gone (the parent is repainted as a whole afterwards).
void TBaseLiveTree::DetachClearedNode(PLiveNode node) {
  if (node->Has(vsSelected)) FlagOutOfSelection(node);
  if (TreeStates().Contains(tsHint)) {
    FHost->CancelHint();
    ChangeTreeStates({}, {tsHint});
  }
}

// Frees every descendant of Node, the last child first and each subtree
// deepest first. Chains can be thousands of levels deep (pasted or streamed
// data), so the walk keeps its own stack instead of recursing per level.
void TBaseLiveTree::DeleteClearedSubtrees(PLiveNode node, bool nodeShown) {
  struct Frame {
    PLiveNode Node;
    bool Shown;  // the node's children are shown
  };
  std::vector<Frame> frames{{node, nodeShown}};
  node->Include({vsClearing});
  while (!frames.empty()) {
    Frame& frame = frames.back();
    PLiveNode parent = frame.Node;
    if (parent->LastChild != nullptr) {
      PLiveNode child = parent->LastChild;
      if (frame.Shown && GetEffectivelyVisible(child)) ChangeVisibleCount(-1);
      child->Include({vsDeleting});
      PLiveNode previous = child->PrevSibling;
      if (previous != nullptr)
        previous->NextSibling = nullptr;
      else
        parent->FirstChild = nullptr;
      parent->LastChild = previous;
      --parent->ChildCount;
      DetachClearedNode(child);
      if (child->ChildCount != 0) {
        bool shown = frame.Shown && child->Has(vsVisible) && child->Has(vsExpanded);
        child->Include({vsClearing});
        frames.push_back({child, shown});
        continue;
      }
      UnlinkNode(child, false, true);
      ReleaseNode(child);
      continue;
    }
    parent->Exclude({vsClearing});
    if (parent != FRoot) parent->Exclude({vsExpanded});
    parent->ChildCount = 0;
    parent->FirstChild = nullptr;
    parent->LastChild = nullptr;
    frames.pop_back();
    if (frames.empty()) break;
    // A node emptied on its way out: its children are gone, now it goes.
    AccumulateChange(true, parent, crChildDeleted);
    UnlinkNode(parent, false, true);
    ReleaseNode(parent);
  }
}

void TBaseLiveTree::ClearTreeNodeReferences() {
  FFocusedNode = nullptr;
  FLastSelected = nullptr;
  FCurrentHotNode = nullptr;
  FDropTargetNode = nullptr;
  FLastChangedNode = nullptr;
  FRangeAnchor = nullptr;
  FCheckNode = nullptr;
  FLastDragTarget = nullptr;
  FLastSearchNode = nullptr;
  FNextNodeToSelect = nullptr;
  FLastStructureChangeNode = nullptr;
  FHeightTrackNode = nullptr;
  FDragSelection.clear();
}

void TBaseLiveTree::Clear() {
  if (ReadOnly() && !FDestroying) return;
  BeginUpdate();
  try {
    StopCacheValidation();
    CancelEditNode();
    if (TreeStates().Contains(tsCutPending) || TreeStates().Contains(tsCopyPending))
      ChangeTreeStates({}, {tsCutPending, tsCopyPending});
    ClearSelection();
    ClearTreeNodeReferences();
    DeleteChildren(FRoot, true);
    FOffsetX = 0;
    FOffsetY = 0;
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TBaseLiveTree::DropNodeReferences(PLiveNode node) {
  // Every tree field that can refer to a node lets go of it here, so that no
  // field ever points at freed memory.
  PLiveNode* fields[] = {&FLastChangedNode,  &FCurrentHotNode, &FDropTargetNode,  &FLastStructureChangeNode,
                         &FNextNodeToSelect, &FFocusedNode,    &FRangeAnchor,     &FLastSelected,
                         &FCheckNode,        &FLastSearchNode, &FHeightTrackNode, &FLastDragTarget};
  for (PLiveNode* field : fields)
    if (*field == node) *field = nullptr;
  FDragSelection.erase(std::remove(FDragSelection.begin(), FDragSelection.end(), node), FDragSelection.end());
}

void TBaseLiveTree::ReleaseNode(PLiveNode node) {
  DropNodeReferences(node);
  if (node->Has(vsInitialized) || node->Has(vsOnFreeNodeCallRequired)) {
    try {
      FireFreeNode(node);
    } catch (...) {
      FreeNodeBlock(node);
      throw;
    }
  }
  FreeNodeBlock(node);
  if (!InUpdate()) EnsureNodeSelected();
}

// ---- Initialisation ----

void TBaseLiveTree::InitializeNode(PLiveNode node) {
  TLiveNodeInitStates initStates;
  if (node->Has(vsInitialized)) initStates += ivsReInit;
  node->Include({vsInitialized});
  if (node == FRoot) return;
  FireInitNode(node->Parent == FRoot ? nullptr : node->Parent, node, initStates);
  if (initStates.Contains(ivsDisabled)) node->Include({vsDisabled});
  if (initStates.Contains(ivsHasChildren)) node->Include({vsHasChildren});
  if (initStates.Contains(ivsSelected)) AddNodesToSelection(TNodeArray{node}, false);
  if (initStates.Contains(ivsMultiline)) node->Include({vsMultiline});
  // A node that is filtered already has its height taken off.
  if (initStates.Contains(ivsFiltered) && !node->Has(vsFiltered)) {
    node->Include({vsFiltered});
    if (!PaintOptions().Contains(toShowFilteredNodes)) {
      PropagateTotalHeight(node, -static_cast<Integer>(node->Height()), true);
      if (ShownPath(node)) ChangeVisibleCount(-1);
      MarkCacheStale();
      UpdateScrollBars(true);
    }
  }
  if (node->Has(vsExpanded) != initStates.Contains(ivsExpanded)) {
    if (initStates.Contains(ivsExpanded))
      ToggleNode(node);
    else if (node->Has(vsHasChildren))
      InitializeChildren(node);
  }
}

void TBaseLiveTree::InitializeChildren(PLiveNode node) {
  if (node == nullptr || node == FRoot || !node->Has(vsHasChildren)) return;
  Cardinal count = node->ChildCount;
  if (FireInitChildren(node, count)) {
    SetChildCount(node, count);
    if (count == 0) node->Exclude({vsHasChildren});
  }
}

void TBaseLiveTree::ValidateNode(PLiveNode node, bool recursive) {
  if (node == nullptr) node = FRoot;
  if (node != FRoot && !node->Has(vsInitialized)) InitializeNode(node);
  if (!recursive) return;
  // Walks the subtree without recursion; each node is initialised before its
  // children are asked for.
  PLiveNode run = node;
  for (;;) {
    if (run->Has(vsHasChildren) && run->ChildCount == 0) InitializeChildren(run);
    if (run->FirstChild != nullptr) {
      run = run->FirstChild;
    } else {
      while (run != node && run->NextSibling == nullptr) run = run->Parent;
      if (run == node) return;
      run = run->NextSibling;
    }
    if (!run->Has(vsInitialized)) InitializeNode(run);
  }
}

void TBaseLiveTree::ValidateChildren(PLiveNode node, bool recursive) {
  if (node == nullptr) node = FRoot;
  if (node->Has(vsHasChildren) && node->ChildCount == 0) InitializeChildren(node);
  for (PLiveNode child = node->FirstChild; child; child = child->NextSibling) ValidateNode(child, recursive);
}

void TBaseLiveTree::ReinitNode(PLiveNode node, bool recursive) {
  if (node == nullptr || node == FRoot) return;
  node->Exclude({vsChecking, vsCutOrCopy, vsDeleting, vsHeightMeasured});
  InitializeNode(node);
  if (recursive) ReinitChildren(node, true);
}

void TBaseLiveTree::ReinitChildren(PLiveNode node, bool recursive) {
  if (node == nullptr) node = FRoot;
  InitializeChildren(node);
  for (PLiveNode child = node->FirstChild; child;) {
    PLiveNode next = child->NextSibling;
    ReinitNode(child, recursive);
    child = next;
  }
}

void TBaseLiveTree::ResetNode(PLiveNode node) {
  CancelEditNode();
  if (node == nullptr || node == FRoot) {
    Clear();
    return;
  }
  FireResetNode(node);
  DeleteChildren(node, false);
  node->Exclude({vsInitialized, vsChecking, vsCutOrCopy, vsDeleting, vsExpanded, vsHasChildren, vsHeightMeasured});
  InvalidateNode(node);
}

// ---- Heights ----

Cardinal TBaseLiveTree::GetNodeHeight(PLiveNode node) {
  if (node == nullptr || node == FRoot) return 0;
  if (!MiscOptions().Contains(toVariableNodeHeight) || node->Has(vsDeleting)) return node->Height();
  if (OnInterfaceThread()) {
    if (!node->Has(vsInitialized)) InitializeNode(node);
    MeasureItemHeight(FHost->Canvas(), node);
  } else if (node->Has(vsInitialized) && !node->Has(vsHeightMeasured)) {
    // The cache builder never initialises; measuring is handed over.
    MeasureItemHeight(FHost->Canvas(), node);
  }
  return node->Height();
}

void TBaseLiveTree::SetNodeHeight(PLiveNode node, Cardinal value) {
  if (node == nullptr || node == FRoot || ReadOnly()) return;
  Word height = ClampHeight(value);
  Word old = node->Height();
  if (height == old) return;
  node->SetHeight(height);
  if (GetEffectivelyFiltered(node)) return;
  PropagateTotalHeight(node, static_cast<Integer>(height) - static_cast<Integer>(old), true);
  MarkCacheStale();
  TLiveTreeStates states = TreeStates();
  if (!states.Contains(tsValidating) && ShownPath(node) && !InUpdate() && !states.Contains(tsPainting) &&
      !states.Contains(tsSizing)) {
    RequestCacheValidation();
    InvalidateToBottom(node);
    UpdateScrollBars(true);
  }
}

void TBaseLiveTree::MeasureItemHeight(TCanvas* canvas, PLiveNode node) {
  if (node->Has(vsHeightMeasured)) return;
  if (!OnInterfaceThread()) {
    if (TWorkerThread* worker = TWorkerThread::Instance())
      worker->HandOver(this, [this, canvas, node] { MeasureItemHeight(canvas, node); });
    return;
  }
  node->Include({vsHeightMeasured});
  if (MiscOptions().Contains(toVariableNodeHeight)) {
    Integer height = node->Height();
    FireMeasureItem(canvas, node, height);
    SetNodeHeight(node, static_cast<Cardinal>(std::max(height, 0)));
  }
}

void TBaseLiveTree::SetDefaultNodeHeight(Cardinal value) {
  if (value == 0) value = 18;
  value = ClampHeight(value);
  if (value == FDefaultNodeHeight) return;
  Integer diff = static_cast<Integer>(value) - static_cast<Integer>(FDefaultNodeHeight);
  FRoot->TotalHeight = static_cast<Cardinal>(static_cast<Int64>(FRoot->TotalHeight) + diff);
  FRoot->SetHeight(ClampHeight(static_cast<Int64>(FRoot->Height()) + diff));
  FDefaultNodeHeight = value;
  MarkCacheStale();
  if (!InUpdate() && HasWindow() && !FLoading) {
    RequestCacheValidation();
    UpdateScrollBars(true);
    Invalidate();
  }
}

void TBaseLiveTree::ApplyFontTextHeight(Integer textHeight) {
  if (FLoading || !AutoOptions().Contains(toAutoChangeScale)) return;
  if (textHeight > static_cast<Integer>(FDefaultNodeHeight)) SetDefaultNodeHeight(static_cast<Cardinal>(textHeight));
}

// ---- Update bracket and change notifications ----

void TBaseLiveTree::BeginUpdate() {
  if (FDestroying) return;
  if (FUpdateCount == 0) {
    FireUpdating(usBegin);
    if (FHost->Visible() && HasWindow()) FHost->SetRedraw(false);
  } else {
    FireUpdating(usUpdate);
  }
  ++FUpdateCount;
  ChangeTreeStates({tsUpdating}, {});
}

void TBaseLiveTree::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FDestroying) return;
  struct FinalNotice {
    TBaseLiveTree* Tree;
    ~FinalNotice() {
      try {
        Tree->FireUpdating(Tree->FUpdateCount == 0 ? usEnd : usUpdate);
      } catch (...) {
      }
    }
  } notice{this};
  if (FUpdateCount != 0 || !TreeStates().Contains(tsUpdating)) return;
  if (TreeStates().Contains(tsUpdateHiddenChildrenNeeded)) {
    UpdateAllHiddenFlags();
    ChangeTreeStates({}, {tsUpdateHiddenChildrenNeeded});
  }
  ChangeTreeStates({}, {tsUpdating});
  PackSelection();
  MarkCacheStale();
  RequestCacheValidation();
  if (HasWindow()) UpdateScrollBars(false);
  auto finish = [this] {
    if (AutoOptions().Contains(toAutoSort)) SortTree(SortColumn(), SortDirection(), true);
    if (FHost->Visible() && HasWindow()) FHost->SetRedraw(true);
    if (HasWindow()) Invalidate();
  };
  try {
    if (TreeStates().Contains(tsStructureChangePending))
      FireStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
    if (TreeStates().Contains(tsChangePending)) FireChange(FLastChangedNode);
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TBaseLiveTree::BeginSynch() {
  if (FDestroying) return;
  if (FSynchUpdateCount == 0) {
    FireUpdating(usBeginSynch);
    for (int id : {TimerIdChange, TimerIdStructureChange, TimerIdExpand, TimerIdEdit, TimerIdHeaderHover, TimerIdScroll,
                   TimerIdSearch})
      FHost->StopTimer(id);
    FSearchBuffer.clear();
    FLastSearchNode = nullptr;
    ChangeTreeStates({}, {tsEditPending, tsIncrementalSearching, tsScrolling, tsScrollPending});
    if (TreeStates().Contains(tsStructureChangePending))
      FireStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
    if (TreeStates().Contains(tsChangePending)) FireChange(FLastChangedNode);
  } else {
    FireUpdating(usSynch);
  }
  ++FSynchUpdateCount;
  ChangeTreeStates({tsSynchMode}, {});
}

void TBaseLiveTree::EndSynch() {
  if (FSynchUpdateCount > 0) --FSynchUpdateCount;
  if (FDestroying) return;
  if (FSynchUpdateCount > 0) {
    FireUpdating(usSynch);
  } else {
    ChangeTreeStates({}, {tsSynchMode});
    FireUpdating(usEndSynch);
  }
}

void TBaseLiveTree::AccumulateChange(bool isStructure, PLiveNode node, TChangeReason reason) {
  if (isStructure) {
    if (TreeStates().Contains(tsStructureChangePending))
      FHost->StopTimer(TimerIdStructureChange);
    else
      ChangeTreeStates({tsStructureChangePending}, {});
    FLastStructureChangeNode = node;
    if (FLastStructureChangeReason == crIgnore)
      FLastStructureChangeReason = reason;
    else if (reason != crIgnore)
      FLastStructureChangeReason = crAccumulated;
  } else {
    if (TreeStates().Contains(tsChangePending))
      FHost->StopTimer(TimerIdChange);
    else
      ChangeTreeStates({tsChangePending}, {});
    FLastChangedNode = node;
  }
}

void TBaseLiveTree::NoteStructureChange(PLiveNode node, TChangeReason reason) {
  AccumulateChange(true, node, reason);
  if (InUpdate()) return;
  if (FChangeDelay > 0 && !TreeStates().Contains(tsSynchMode))
    FHost->StartTimer(TimerIdStructureChange, FChangeDelay);
  else
    FireStructureChange(node, reason);
}

void TBaseLiveTree::FireStructureChange(PLiveNode node, TChangeReason reason) {
  FHost->StopTimer(TimerIdStructureChange);
  struct Reset {
    TBaseLiveTree* Tree;
    ~Reset() {
      Tree->ChangeTreeStates({}, {tsStructureChangePending});
      Tree->FLastStructureChangeNode = nullptr;
      Tree->FLastStructureChangeReason = crIgnore;
    }
  } reset{this};
  if (OnStructureChange) OnStructureChange(this, node, reason);
}

void TBaseLiveTree::NoteChange(PLiveNode node) {
  AccumulateChange(false, node, crIgnore);
  if (InUpdate()) return;
  if (FChangeDelay > 0 && !TreeStates().Contains(tsSynchMode))
    FHost->StartTimer(TimerIdChange, FChangeDelay);
  else
    FireChange(node);
}

void TBaseLiveTree::FireChange(PLiveNode node) {
  FHost->StopTimer(TimerIdChange);
  struct Reset {
    TBaseLiveTree* Tree;
    ~Reset() {
      Tree->ChangeTreeStates({}, {tsChangePending});
      Tree->FLastChangedNode = nullptr;
    }
  } reset{this};
  if (OnChange) OnChange(this, node);
}

void TBaseLiveTree::ChangeTreeStates(TLiveTreeStates enter, TLiveTreeStates leave) {
  TLiveTreeStates current = TreeStates();
  if (OnStateChange && !((enter - current) + (current * leave)).Empty()) OnStateChange(this, enter, leave);
  FStates.store(((TreeStates() + enter) - leave).ToBits(), std::memory_order_relaxed);
}

void TBaseLiveTree::TimerFired(int id) {
  switch (id) {
    case TimerIdChange: FireChange(FLastChangedNode); break;
    case TimerIdEdit: StartEditing(); break;
    case TimerIdExpand: ExpandDropTarget(); break;
    case TimerIdScroll:
      if (TreeStates().Contains(tsScrollPending)) {
        // The delay passed: from now on every interval scrolls a step.
        FHost->CancelHint();
        FHost->StartTimer(TimerIdScroll, FAutoScrollInterval);
        ChangeTreeStates({tsScrolling}, {tsScrollPending});
      }
      TimerScrollStep();
      break;
    case TimerIdStructureChange: FireStructureChange(FLastStructureChangeNode, FLastStructureChangeReason); break;
    case TimerIdSearch:
      FHost->StopTimer(TimerIdSearch);
      ChangeTreeStates({}, {tsIncrementalSearching});
      FSearchBuffer.clear();
      FLastSearchNode = nullptr;
      break;
    default: FHost->StopTimer(id); break;
  }
}

// ---- Window side ----

void TBaseLiveTree::Invalidate() {
  if (!InUpdate() && HasWindow()) FHost->Invalidate();
}

void TBaseLiveTree::InvalidateNode(PLiveNode node) {
  if (!InUpdate() && HasWindow() && node != nullptr) FHost->InvalidateNode(node);
}

void TBaseLiveTree::InvalidateToBottom(PLiveNode node) {
  if (InUpdate() || !HasWindow()) return;
  if (node == nullptr || node == FRoot) {
    FHost->Invalidate();
  } else if (node->Has(vsInitialized) && GetEffectivelyVisible(node)) {
    FHost->InvalidateToBottom(node);
  }
}

void TBaseLiveTree::UpdateScrollBars(bool repaint) {
  // Nodes added, deleted, expanded or collapsed change the content height.
  UpdateVerticalRange();
  if (!InUpdate() && HasWindow()) FHost->UpdateScrollBars(repaint);
}

void TBaseLiveTree::SetOffsets(Integer x, Integer y) {
  if (x == FOffsetX && y == FOffsetY) return;
  Integer dx = x - FOffsetX, dy = y - FOffsetY;
  FOffsetX = x;
  FOffsetY = y;
  if (OnScroll) OnScroll(this, dx, dy);
}
