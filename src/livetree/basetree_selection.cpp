// Selection (an address-sorted array mirrored by the nodes' vsSelected flag),
// range selection, focus and the check-box model.
#include <algorithm>
#include <cstdint>
#include <functional>

#include "livetree/basetree.h"
#include "livetree/livetreeassert.h"

namespace {

// A selection entry whose lowest bit is set marks a node that left the
// selection and waits for packing; nodes are at least 8-aligned.
std::uintptr_t Address(PLiveNode node) {
  return reinterpret_cast<std::uintptr_t>(node);
}
bool Flagged(PLiveNode entry) {
  return (Address(entry) & 1u) != 0;
}
PLiveNode WithFlag(PLiveNode node) {
  return reinterpret_cast<PLiveNode>(Address(node) | 1u);
}
bool AddressLess(PLiveNode a, PLiveNode b) {
  return Address(a) < Address(b);
}

// The column that takes the focus when Focused is none or hidden: the main
// column when it is shown and may be focused, else the first such column.
// Without columns the focused column stays as it is.
TColumnIndex RepairedFocusedColumn(const TLTHeader& header, TColumnIndex focused) {
  const TLiveTreeColumns& columns = header.Columns();
  auto shown = [&](TColumnIndex column) {
    return columns.IsValidColumn(column) && columns[column]->Options().Contains(coVisible);
  };
  TColumnIndex main = header.MainColumn();
  if (shown(focused) || !columns.IsValidColumn(main)) return focused;
  if (shown(main) && header.AllowFocus(main)) return main;
  TColumnIndex first = columns.GetFirstVisibleColumn(true);
  return columns.IsValidColumn(first) ? first : focused;
}

}  // namespace

// ---- The selection array ----

bool TBaseLiveTree::FindInSelection(PLiveNode node, Integer& index, Integer highBound, Integer lowBound) const {
  Integer low = lowBound < 0 ? 0 : lowBound;
  Integer high = highBound < 0 ? static_cast<Integer>(FSelection.size()) - 1 : highBound;
  std::uintptr_t key = Address(node);
  while (low <= high) {
    Integer middle = low + (high - low) / 2;
    std::uintptr_t value = Address(FSelection[static_cast<size_t>(middle)]);
    if (value == key) {
      index = middle;
      return true;
    }
    if (value < key)
      low = middle + 1;
    else
      high = middle - 1;
  }
  index = low;
  return false;
}

void TBaseLiveTree::PackSelection() {
  if (FSelection.empty()) return;
  FSelection.erase(std::remove_if(FSelection.begin(), FSelection.end(), Flagged), FSelection.end());
}

bool TBaseLiveTree::BulkAddToSelection(TNodeArray& newItems, bool forceInsert) {
  if (newItems.empty()) return false;
  TLTSelectionOptions options = SelectionOptions();
  if (forceInsert) {
    for (PLiveNode node : newItems) {
      node->Include({vsSelected});
      FireAddToSelection(node);
    }
  } else {
    bool levelConstraint = options.Contains(toLevelSelectConstraint);
    bool siblingConstraint = options.Contains(toSiblingSelectConstraint);
    if (levelConstraint && FLastSelectionLevel < 0)
      FLastSelectionLevel = static_cast<Integer>(GetNodeLevel(newItems.front()));
    if (siblingConstraint && FRangeAnchor == nullptr) FRangeAnchor = newItems.front();
    for (PLiveNode& node : newItems) {
      bool refused = node->Has(vsSelected) || node->Has(vsDisabled) ||
                     (levelConstraint && static_cast<Integer>(GetNodeLevel(node)) != FLastSelectionLevel) ||
                     (siblingConstraint && node->Parent != FRangeAnchor->Parent);
      if (refused) {
        node = WithFlag(node);
        continue;
      }
      node->Include({vsSelected});
      FireAddToSelection(node);
    }
  }
  newItems.erase(std::remove_if(newItems.begin(), newItems.end(), Flagged), newItems.end());
  if (newItems.empty()) return false;
  std::sort(newItems.begin(), newItems.end(), AddressLess);
  PackSelection();
  size_t oldSize = FSelection.size();
  FSelection.insert(FSelection.end(), newItems.begin(), newItems.end());
  std::inplace_merge(FSelection.begin(), FSelection.begin() + static_cast<std::ptrdiff_t>(oldSize), FSelection.end(),
                     AddressLess);
  return true;
}

void TBaseLiveTree::AddToSelection(PLiveNode node) {
  if (FSelectionLocked) return;
  LTAssert(node != nullptr, "Node must not be nil!");
  TNodeArray single{node};
  if (BulkAddToSelection(single, false)) {
    InvalidateNode(node);
    NoteChange(node);
  }
}

void TBaseLiveTree::AddNodesToSelection(const TNodeArray& newItems, bool forceInsert) {
  if (FSelectionLocked) return;
  TNodeArray items = newItems;
  if (!BulkAddToSelection(items, forceInsert)) return;
  if (items.size() == 1) {
    InvalidateNode(items.front());
    NoteChange(items.front());
  } else {
    Invalidate();
    NoteChange(nullptr);
  }
}

void TBaseLiveTree::RemoveFromSelection(PLiveNode node) {
  if (FSelectionLocked) return;
  LTAssert(node != nullptr, "Node must not be nil!");
  if (!node->Has(vsSelected)) return;
  node->Exclude({vsSelected});
  Integer index = 0;
  if (FindInSelection(node, index)) FSelection.erase(FSelection.begin() + index);
  if (FSelection.empty()) ResetRangeAnchor();
  if (FSelection.size() <= 1) ChooseNextNodeToSelect(node);
  FireRemoveFromSelection(node);
  NoteChange(node);
}

void TBaseLiveTree::FlagOutOfSelection(PLiveNode node) {
  Integer index = 0;
  if (!FindInSelection(node, index)) return;
  node->Exclude({vsSelected});
  FSelection[static_cast<size_t>(index)] = WithFlag(node);
  FireRemoveFromSelection(node);
  AccumulateChange(false, node, crIgnore);
}

void TBaseLiveTree::ClearSelectionArray() {
  PackSelection();
  for (auto entry = FSelection.rbegin(); entry != FSelection.rend(); ++entry) {
    (*entry)->Exclude({vsSelected});
    FireRemoveFromSelection(*entry);
  }
  ResetRangeAnchor();
  FSelection.clear();
  ChangeTreeStates({}, {tsClearPending});
}

void TBaseLiveTree::ClearSelection() {
  if (FSelectionLocked || FSelection.empty() || FDestroying) return;
  Invalidate();
  ClearSelectionArray();
  NoteChange(nullptr);
}

void TBaseLiveTree::ClearSelectionDirectly(PLiveNode keep) {
  ChangeTreeStates({}, {tsClearPending});
  if (keep == nullptr || !keep->Has(vsSelected)) {
    ClearSelection();
    return;
  }
  if (FSelectionLocked || FDestroying) return;
  bool others = FSelection.size() > 1;
  ClearSelectionArray();
  AddToSelection(keep);
  if (others) {
    Invalidate();
    NoteChange(nullptr);
  }
}

void TBaseLiveTree::AddToTempCache(PLiveNode node) {
  FTempNodeCache.push_back(node);
}

void TBaseLiveTree::ClearTempCache() {
  FTempNodeCache.clear();
}

void TBaseLiveTree::SelectAll(bool visibleOnly) {
  if (!SelectionOptions().Contains(toMultiSelect) || FSelectionLocked) return;
  ClearTempCache();
  PLiveNode run = visibleOnly ? GetFirstVisible(nullptr, true, false) : GetFirst(false);
  while (run != nullptr) {
    if (!run->Has(vsSelected)) AddToTempCache(run);
    run = visibleOnly ? GetNextVisible(run, true) : GetNext(run, false);
  }
  TNodeArray collected;
  collected.swap(FTempNodeCache);
  AddNodesToSelection(collected, false);
  Invalidate();
}

void TBaseLiveTree::InvertSelection(bool visibleOnly) {
  if (!SelectionOptions().Contains(toMultiSelect) || FSelectionLocked) return;
  ClearTempCache();
  PLiveNode run = visibleOnly ? GetFirstVisibleNoInit(nullptr, true, false) : GetFirstNoInit(false);
  while (run != nullptr) {
    if (run->Has(vsSelected))
      FlagOutOfSelection(run);
    else
      AddToTempCache(run);
    run = visibleOnly ? GetNextVisibleNoInit(run, true) : GetNextNoInit(run, false);
  }
  size_t before = FSelection.size();
  PackSelection();
  bool packed = FSelection.size() != before;
  if (!FTempNodeCache.empty()) {
    TNodeArray collected;
    collected.swap(FTempNodeCache);
    AddNodesToSelection(collected, false);
  } else if (packed) {
    Invalidate();
    NoteChange(nullptr);
  }
  Invalidate();
  if (FSelection.empty()) FNextNodeToSelect = nullptr;
}

void TBaseLiveTree::SetSelected(PLiveNode node, bool value) {
  if (FSelectionLocked || node == nullptr || node == FRoot || node->Has(vsSelected) == value) return;
  if (value) {
    if (FSelection.empty())
      FRangeAnchor = node;
    else if (!SelectionOptions().Contains(toMultiSelect))
      ClearSelection();
    AddToSelection(node);
    FFocusedColumn = RepairedFocusedColumn(*FHeader, FFocusedColumn);
    if (FRangeAnchor == nullptr) FRangeAnchor = node;
  } else {
    RemoveFromSelection(node);
    if (FSelection.empty()) ResetRangeAnchor();
  }
  if (ShownPath(node) && !GetEffectivelyFiltered(node)) InvalidateNode(node);
}

void TBaseLiveTree::ResetRangeAnchor() {
  FRangeAnchor = FFocusedNode;
  FLastSelectionLevel = -1;
}

namespace {

// The node a range starts from when the given one is missing or not shown.
PLiveNode RangeStart(TBaseLiveTree& tree, PLiveNode start, const std::function<PLiveNode()>& fallback) {
  if (start != nullptr && tree.ShownPath(start)) return start;
  PLiveNode previous = start != nullptr ? tree.GetPreviousVisible(start, true) : nullptr;
  return previous != nullptr ? previous : fallback();
}

}  // namespace

void TBaseLiveTree::SelectRange(PLiveNode startNode, PLiveNode endNode, bool addOnly) {
  LTAssert(endNode != nullptr, "EndNode must not be nil!");
  if (FSelectionLocked) return;
  ClearTempCache();
  startNode = RangeStart(*this, startNode, [this] { return GetFirstVisible(nullptr, true, false); });
  if (startNode == nullptr) return;
  if (CompareDisplayOrder(startNode, endNode, true) > 0) std::swap(startNode, endNode);
  PLiveNode anchor = FRangeAnchor;
  if (!addOnly) ClearSelectionArray();
  for (PLiveNode run = startNode; run != nullptr; run = GetNextVisible(run, true)) {
    AddToTempCache(run);
    if (run == endNode) break;
  }
  TNodeArray collected;
  collected.swap(FTempNodeCache);
  AddNodesToSelection(collected, false);
  if (anchor != nullptr && anchor->Has(vsSelected)) FRangeAnchor = anchor;
}

void TBaseLiveTree::ToggleRange(PLiveNode startNode, PLiveNode endNode) {
  LTAssert(endNode != nullptr, "EndNode must not be nil!");
  if (FSelectionLocked) return;
  startNode = RangeStart(*this, startNode, [this] { return FRoot->FirstChild; });
  if (startNode == nullptr) return;
  Integer order = CompareDisplayOrder(startNode, endNode, true);
  if (order == 0) return;
  PLiveNode first = order < 0 ? startNode : endNode;
  PLiveNode last = order < 0 ? endNode : startNode;
  ClearTempCache();
  PLiveNode anchor = FRangeAnchor;
  for (PLiveNode run = first; run != nullptr; run = GetNextVisible(run, true)) {
    bool flip = true;
    if (run == first && anchor != nullptr) flip = CompareDisplayOrder(first, anchor, true) < 0;
    if (run == last && anchor != nullptr) flip = CompareDisplayOrder(last, anchor, true) > 0;
    if (flip) {
      if (run->Has(vsSelected))
        FlagOutOfSelection(run);
      else
        AddToTempCache(run);
    }
    if (run == last) break;
  }
  PackSelection();
  if (anchor != nullptr && !anchor->Has(vsSelected)) AddToTempCache(anchor);
  TNodeArray collected;
  collected.swap(FTempNodeCache);
  AddNodesToSelection(collected, false);
}

void TBaseLiveTree::UnselectRange(PLiveNode startNode, PLiveNode endNode) {
  LTAssert(endNode != nullptr, "EndNode must not be nil!");
  if (FSelectionLocked) return;
  startNode = RangeStart(*this, startNode, [this] { return FRoot->FirstChild; });
  if (startNode == nullptr) return;
  if (CompareDisplayOrder(startNode, endNode, true) > 0) std::swap(startNode, endNode);
  for (PLiveNode run = startNode; run != nullptr; run = GetNextVisible(run, true)) {
    FlagOutOfSelection(run);
    if (run == endNode) break;
  }
  PackSelection();
}

void TBaseLiveTree::ClickSelect(PLiveNode newNode, bool ctrl, bool shift, bool dragPending) {
  if (newNode == nullptr) return;
  if (ctrl && shift) {
    SelectRange(FRangeAnchor, newNode, true);
    Invalidate();
  } else if (ctrl) {
    if (!SelectionOptions().Contains(toSiblingSelectConstraint)) FRangeAnchor = newNode;
    if (dragPending) {
      ChangeTreeStates({tsToggleFocusedSelection}, {});
    } else if (newNode->Has(vsSelected)) {
      RemoveFromSelection(newNode);
    } else {
      AddToSelection(newNode);
    }
    Invalidate();
  } else if (shift) {
    if (FRangeAnchor == nullptr) FRangeAnchor = FRoot->FirstChild;
    SelectRange(FRangeAnchor, newNode, false);
    Invalidate();
  } else {
    if (!newNode->Has(vsSelected)) {
      AddToSelection(newNode);
      InvalidateNode(newNode);
    }
    FRangeAnchor = newNode;
  }
}

void TBaseLiveTree::EnsureNodeSelected() {
  if (!SelectionOptions().Contains(toAlwaysSelectNode) || !FSelection.empty() || FSelectionLocked || FDestroying)
    return;
  if (FNextNodeToSelect != nullptr) {
    SetSelected(FNextNodeToSelect, true);
  } else if (FHost->Focused()) {
    PLiveNode first = GetFirstVisible(nullptr, true, false);
    if (first != nullptr) SetSelected(first, true);
  }
}

void TBaseLiveTree::ChooseNextNodeToSelect(PLiveNode node) {
  if (!SelectionOptions().Contains(toAlwaysSelectNode)) return;
  PLiveNode next = GetNextSibling(node);
  if (next == nullptr) next = GetPreviousSibling(node);
  if (next == nullptr && node->Parent != FRoot) next = node->Parent;
  if (next == nullptr) next = GetFirstChild(node);
  FNextNodeToSelect = next;
}

bool TBaseLiveTree::IsMouseSelecting() const {
  TLiveTreeStates states = TreeStates();
  return states.Contains(tsDrawSelPending) || states.Contains(tsDrawSelecting);
}

TNodeArray TBaseLiveTree::GetSortedSelection(bool resolve) const {
  TNodeArray result;
  if (FSelection.empty()) return result;
  result.reserve(FSelection.size());
  PLiveNode run = GetFirstNoInit(false);
  while (run != nullptr) {
    if (run->Has(vsSelected)) {
      result.push_back(run);
      if (resolve) {
        while (run != FRoot && run->NextSibling == nullptr) run = run->Parent;
        run = run == FRoot ? nullptr : run->NextSibling;
        continue;
      }
    }
    run = GetNextNoInit(run, false);
  }
  return result;
}

TNodeArray TBaseLiveTree::GetSortedCutCopySet(bool resolve) const {
  TNodeArray result;
  PLiveNode run = GetFirstNoInit(false);
  while (run != nullptr) {
    if (run->Has(vsCutOrCopy)) {
      result.push_back(run);
      if (resolve) {
        while (run != FRoot && run->NextSibling == nullptr) run = run->Parent;
        run = run == FRoot ? nullptr : run->NextSibling;
        continue;
      }
    }
    run = GetNextNoInit(run, false);
  }
  return result;
}

void TBaseLiveTree::DeleteSelectedNodes() {
  if (FSelection.empty() || ReadOnly()) return;
  BeginUpdate();
  try {
    TNodeArray nodes = GetSortedSelection(true);
    // Each sibling list is renumbered once, by the deletion of its first
    // selected member, which comes last.
    for (size_t i = nodes.size(); i-- > 1;) DeleteNode(nodes[i], nodes[i]->Parent != nodes[i - 1]->Parent);
    if (!nodes.empty()) DeleteNode(nodes.front(), true);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

Cardinal TBaseLiveTree::CheckedCount() const {
  Cardinal count = 0;
  for (PLiveNode run = GetFirstChecked(csCheckedNormal); run; run = GetNextChecked(run, csCheckedNormal)) ++count;
  return count;
}

Cardinal TBaseLiveTree::CutCopyCount() const {
  Cardinal count = 0;
  for (PLiveNode run = GetFirstCutCopy(); run; run = GetNextCutCopy(run)) ++count;
  return count;
}

// ---- Focus ----

bool TBaseLiveTree::ChangeFocus(PLiveNode value, bool ask) {
  if (value == FRoot) value = nullptr;
  if (value == FFocusedNode) return false;
  if (TreeStates().Contains(tsEditing) && !EndEditNode()) return false;
  if (ask && !AskFocusChange(FFocusedNode, value, FFocusedColumn, FFocusedColumn)) return false;
  PLiveNode old = FFocusedNode;
  const bool autoExpand = AutoOptions().Contains(toAutoExpand);
  if (old != nullptr && autoExpand && old->Has(vsExpanded) && value != nullptr && old->Parent == value->Parent)
    ToggleNode(old);
  else
    InvalidateNode(old);
  FFocusedNode = value;
  if (value != nullptr) {
    FFocusedColumn = RepairedFocusedColumn(*FHeader, FFocusedColumn);
    if (autoExpand && !value->Has(vsExpanded)) ToggleNode(value);
    InvalidateNode(value);
    // A focus moved by keys or search must stay where the user can see it.
    if (!InUpdate() && !AutoOptions().Contains(toDisableAutoscrollOnFocus)) {
      const TLiveTreeStates states = TreeStates();
      const bool buttonDown = states.Contains(tsLeftButtonDown) || states.Contains(tsMiddleButtonDown) ||
                              states.Contains(tsRightButtonDown);
      ScrollIntoView(value, SelectionOptions().Contains(toCenterScrollIntoView) && !buttonDown,
                     !SelectionOptions().Contains(toFullRowSelect));
    }
  }
  if (FSelection.empty()) ResetRangeAnchor();
  return true;
}

void TBaseLiveTree::SetFocusedNode(PLiveNode value) {
  if (ChangeFocus(value, true) && FFocusedNode == value) FireFocusChanged(FFocusedNode, FFocusedColumn);
}

void TBaseLiveTree::SetFocusedColumn(TColumnIndex value) {
  if (value == FFocusedColumn) return;
  if (!AskFocusChange(FFocusedNode, FFocusedNode, FFocusedColumn, value)) return;
  CancelEditNode();
  FFocusedColumn = value;
  Invalidate();
  FireFocusChanged(FFocusedNode, FFocusedColumn);
}

// ---- Check states ----

TCheckState TBaseLiveTree::NextCheckState(TCheckType checkType, TCheckState checkState) const {
  switch (checkType) {
    case ctTriStateCheckBox:
    case ctCheckBox: return checkState == csCheckedNormal ? csUncheckedNormal : csCheckedNormal;
    case ctRadioButton: return csCheckedNormal;
    case ctButton: return csUncheckedNormal;
    default: return csMixedNormal;
  }
}

void TBaseLiveTree::SetCheckType(PLiveNode node, TCheckType value) {
  if (node == nullptr || node == FRoot || node->CheckType == value) return;
  node->CheckType = value;
  InvalidateNode(node);
}

void TBaseLiveTree::SetCheckState(PLiveNode node, TCheckState value) {
  if (node == nullptr || node == FRoot || node->CheckState == value || node->Has(vsDisabled)) return;
  TCheckState newState = value;
  if (AskChecking(node, newState)) CheckClick(node, newState);
}

bool TBaseLiveTree::AskChecking(PLiveNode node, TCheckState& newCheckState) {
  if (ReadOnly()) return false;
  bool allowed = true;
  if (OnChecking) OnChecking(this, node, newCheckState, allowed);
  return allowed;
}

void TBaseLiveTree::CheckClick(PLiveNode node, TCheckState newCheckState) {
  // The node's own change is reported even when its parent refused to follow.
  TCheckState before = node->CheckState;
  bool succeeded = ChangeCheckState(node, newCheckState);
  if (succeeded || node->CheckState != before) FireChecked(node);
}

void TBaseLiveTree::ClearChecked() {
  for (PLiveNode run = GetFirstNoInit(false); run; run = GetNextNoInit(run, false))
    if (run->CheckState != csUncheckedNormal) SetCheckState(run, csUncheckedNormal);
}

namespace {

bool IsCheckBox(PLiveNode node) {
  return node->CheckType == ctTriStateCheckBox || node->CheckType == ctCheckBox;
}

}  // namespace

bool TBaseLiveTree::ChangeCheckState(PLiveNode node, TCheckState value) {
  if (node->Has(vsChecking)) return false;
  node->Include({vsChecking});
  struct Leave {
    TBaseLiveTree* Tree;
    PLiveNode Node;
    bool Counted = false;
    ~Leave() {
      Node->Exclude({vsChecking});
      if (Counted && --Tree->FCheckPropagationCount == 0) Tree->ChangeTreeStates({}, {tsCheckPropagation});
    }
  } leave{this, node};
  if (!node->Has(vsInitialized))
    InitializeNode(node);
  else if (node->CheckState == value)
    return false;
  if (FCheckPropagationCount++ == 0) ChangeTreeStates({tsCheckPropagation}, {});
  leave.Counted = true;

  bool tracking = AutoOptions().Contains(toAutoTristateTracking);
  if (node->CheckType == ctTriStateCheckBox && tracking && (value == csUncheckedNormal || value == csCheckedNormal) &&
      node->ChildCount > 0) {
    for (PLiveNode child = node->FirstChild; child; child = child->NextSibling)
      if (IsCheckBox(child)) SetCheckState(child, value);
    bool anyMixed = false, anyChecked = false, anyUnchecked = false;
    for (PLiveNode child = node->FirstChild; child; child = child->NextSibling) {
      if (!IsCheckBox(child)) continue;
      anyMixed |= child->CheckState == csMixedNormal;
      anyChecked |= child->CheckState == csCheckedNormal;
      anyUnchecked |= child->CheckState == csUncheckedNormal;
    }
    if (anyMixed)
      value = csMixedNormal;
    else if (anyChecked)
      value = anyUnchecked ? csMixedNormal : csCheckedNormal;
  }
  if (node->CheckType == ctRadioButton && value == csCheckedNormal) {
    for (PLiveNode sibling = node->Parent->FirstChild; sibling; sibling = sibling->NextSibling)
      if (sibling->CheckType == ctRadioButton) sibling->CheckState = csUncheckedNormal;
    Invalidate();
  }
  node->CheckState = value;
  PLiveNode parent = node->Parent;
  if (parent != FRoot && !parent->Has(vsInitialized)) InitializeNode(parent);
  bool result = true;
  if (tracking && IsCheckBox(node) && parent != FRoot && !parent->Has(vsChecking) && !parent->Has(vsDisabled) &&
      parent->CheckType == ctTriStateCheckBox)
    result = UpdateParentCheckState(node, value);
  InvalidateNode(node);
  return result;
}

bool TBaseLiveTree::UpdateParentCheckState(PLiveNode node, TCheckState newCheckState) {
  PLiveNode parent = node->Parent;
  Cardinal count = 0, checked = 0;
  bool mixed = false;
  for (PLiveNode child = parent->FirstChild; child; child = child->NextSibling) {
    if (!IsCheckBox(child)) continue;
    ++count;
    TCheckState state = child == node ? newCheckState : child->CheckState;
    if (state == csCheckedNormal || state == csCheckedPressed) ++checked;
    if (state == csMixedNormal) mixed = true;
  }
  TCheckState parentState;
  if (checked == 0 && !mixed)
    parentState = csUncheckedNormal;
  else if (checked < count)
    parentState = csMixedNormal;
  else
    parentState = csCheckedNormal;
  bool allowed = AskChecking(parent, parentState);
  if (allowed) CheckClick(parent, parentState);
  return allowed;
}
