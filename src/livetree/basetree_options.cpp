// Options and their setters, published properties, assignment and the event
// dispatchers with their preset answers.
#include "livetree/basetree.h"

// ---- Option sets ----

void TCustomLiveTreeOptions::SetPaintOptions(TLTPaintOptions value) {
  if (value.Contains(toFixedIndent)) value += toShowRoot;
  TLTPaintOptions old = PaintOptions();
  FPaintOptions.store(value.ToBits(), Relaxed);
  if (old == value || FOwner == nullptr) return;
  FOwner->PaintOptionsChanged(old, value);
}

void TCustomLiveTreeOptions::SetAnimationOptions(TLTAnimationOptions value) {
  FAnimationOptions.store(value.ToBits(), Relaxed);
}

void TCustomLiveTreeOptions::SetAutoOptions(TLTAutoOptions value) {
  TLTAutoOptions old = AutoOptions();
  FAutoOptions.store(value.ToBits(), Relaxed);
  if (old == value || FOwner == nullptr) return;
  FOwner->AutoOptionsChanged(old, value);
}

void TCustomLiveTreeOptions::SetSelectionOptions(TLTSelectionOptions value) {
  TLTSelectionOptions old = SelectionOptions();
  FSelectionOptions.store(value.ToBits(), Relaxed);
  if (old == value || FOwner == nullptr) return;
  FOwner->SelectionOptionsChanged(old, value);
}

void TCustomLiveTreeOptions::SetMiscOptions(TLTMiscOptions value) {
  TLTMiscOptions old = MiscOptions();
  FMiscOptions.store(value.ToBits(), Relaxed);
  if (old == value || FOwner == nullptr) return;
  FOwner->MiscOptionsChanged(old, value);
}

void TCustomLiveTreeOptions::Assign(const TCustomLiveTreeOptions& source) {
  SetPaintOptions(source.PaintOptions());
  SetAnimationOptions(source.AnimationOptions());
  SetAutoOptions(source.AutoOptions());
  SetSelectionOptions(source.SelectionOptions());
  SetMiscOptions(source.MiscOptions());
}

void TBaseLiveTree::PaintOptionsChanged(TLTPaintOptions oldOptions, TLTPaintOptions newOptions) {
  if (oldOptions.Contains(toShowFilteredNodes) != newOptions.Contains(toShowFilteredNodes) && !FLoading) {
    bool window = HasWindow();
    if (window) BeginUpdate();
    StopCacheValidation();
    bool nowShown = newOptions.Contains(toShowFilteredNodes);
    for (PLiveNode run = GetFirstNoInit(false); run; run = GetNextNoInit(run, false)) {
      if (!run->Has(vsFiltered)) continue;
      Integer height = run->Height();
      PropagateTotalHeight(run, nowShown ? height : -height, true);
      if (ShownPath(run)) ChangeVisibleCount(nowShown ? 1 : -1);
    }
    MarkCacheStale();
    if (window) EndUpdate();
  }
  if (oldOptions.Contains(toChildrenAbove) != newOptions.Contains(toChildrenAbove)) {
    MarkCacheStale();
    if (!InUpdate()) {
      RequestCacheValidation();
      Invalidate();
    }
  }
  Invalidate();
}

void TBaseLiveTree::AutoOptionsChanged(TLTAutoOptions oldOptions, TLTAutoOptions newOptions) {
  if (oldOptions.Contains(toAutoSpanColumns) != newOptions.Contains(toAutoSpanColumns) && !FLoading) Invalidate();
}

void TBaseLiveTree::SelectionOptionsChanged(TLTSelectionOptions oldOptions, TLTSelectionOptions newOptions) {
  if (oldOptions.Contains(toMultiSelect) != newOptions.Contains(toMultiSelect) ||
      (newOptions.Contains(toLevelSelectConstraint) && !oldOptions.Contains(toLevelSelectConstraint)) ||
      (newOptions.Contains(toSiblingSelectConstraint) && !oldOptions.Contains(toSiblingSelectConstraint)))
    ClearSelection();
  if (oldOptions.Contains(toExtendedFocus) && !newOptions.Contains(toExtendedFocus) && FFocusedColumn > 0 &&
      HasWindow()) {
    FFocusedColumn = MainColumn();
    Invalidate();
  }
  if (!newOptions.Contains(toExtendedFocus)) FFocusedColumn = MainColumn();
}

void TBaseLiveTree::MiscOptionsChanged(TLTMiscOptions oldOptions, TLTMiscOptions newOptions) {
  if (FLoading || !HasWindow()) return;
  if (oldOptions.Contains(toCheckSupport) != newOptions.Contains(toCheckSupport)) Invalidate();
  if (oldOptions.Contains(toAcceptOLEDrop) != newOptions.Contains(toAcceptOLEDrop))
    FHost->AcceptDropsChanged(newOptions.Contains(toAcceptOLEDrop));
}

// ---- Properties ----

void TBaseLiveTree::SetAnimationDuration(Cardinal value) {
  FAnimationDuration = value;
  TLTAnimationOptions options = FOptions->AnimationOptions();
  if (value > 0)
    options += toAnimatedToggle;
  else
    options -= toAnimatedToggle;
  FOptions->SetAnimationOptions(options);
}

void TBaseLiveTree::SetBottomSpace(Cardinal value) {
  if (value == FBottomSpace) return;
  FBottomSpace = value;
  if (!InUpdate() && HasWindow()) FHost->UpdateVerticalScrollBar(true);
}

void TBaseLiveTree::SetEmptyListMessage(const String& value) {
  if (value == FEmptyListMessage) return;
  FEmptyListMessage = value;
  Invalidate();
}

void TBaseLiveTree::SetIncrementalSearch(TLTIncrementalSearch value) {
  if (value == FIncrementalSearch) return;
  FIncrementalSearch = value;
  if (value == isNone) {
    FHost->StopTimer(TimerIdSearch);
    FSearchBuffer.clear();
    FLastSearchNode = nullptr;
  }
}

void TBaseLiveTree::SetIndent(Cardinal value) {
  if (value == FIndent) return;
  FIndent = value;
  if (HasWindow() && !InUpdate() && !FLoading) {
    UpdateScrollBars(true);
    Invalidate();
  }
}

void TBaseLiveTree::SetMargin(Integer value) {
  if (value == FMargin) return;
  FMargin = value;
  if (!FLoading) Invalidate();
}

void TBaseLiveTree::SetTextMargin(Integer value) {
  if (value == FTextMargin) return;
  FTextMargin = value;
  if (!FLoading) Invalidate();
}

void TBaseLiveTree::SetSelectionCurveRadius(Cardinal value) {
  if (value == FSelectionCurveRadius) return;
  FSelectionCurveRadius = value;
  if (!FLoading) Invalidate();
}

void TBaseLiveTree::Assign(const TBaseLiveTree& source) {
  if (ReadOnly() || &source == this) return;
  SetAutoScrollDelay(source.AutoScrollDelay());
  SetBiDiMode(source.BiDiMode());
  SetBorderStyle(source.BorderStyle());
  SetBorderWidth(source.BorderWidth());
  SetColor(source.Color());
  SetFont(source.Font());
  SetHeader(source.Header());
  SetHintAnimation(source.HintAnimation());
  SetHintMode(source.HintMode());
  SetAutoScrollInterval(source.AutoScrollInterval());
  SetChangeDelay(source.ChangeDelay());
  SetDefaultNodeHeight(source.DefaultNodeHeight());
  SetDefaultPasteMode(source.DefaultPasteMode());
  SetIndent(source.Indent());
  SetMargin(source.Margin());
  SetNodeDataSize(source.NodeDataSize());
  SetTreeOptions(source.TreeOptions());
  SetRootNodeCount(source.RootNodeCount());
  SetSelectionCurveRadius(source.SelectionCurveRadius());
  SetSelectionBlendFactor(source.SelectionBlendFactor());
  SetEmptyListMessage(source.EmptyListMessage());
}

// ---- Event dispatchers ----

void TBaseLiveTree::FireAddToSelection(PLiveNode node) {
  if (OnAddToSelection) OnAddToSelection(this, node);
}

void TBaseLiveTree::FireChecked(PLiveNode node) {
  if (OnChecked) OnChecked(this, node);
}

bool TBaseLiveTree::AskCollapsing(PLiveNode node) {
  bool allowed = true;
  if (OnCollapsing) OnCollapsing(this, node, allowed);
  return allowed;
}

void TBaseLiveTree::FireCollapsed(PLiveNode node) {
  if (OnCollapsed) OnCollapsed(this, node);
  if (!SelectionOptions().Contains(toAlwaysSelectNode)) return;
  PLiveNode first = GetFirstSelected();
  if (first != nullptr && !ShownPath(first)) {
    PLiveNode parent = GetVisibleParent(first, false);
    if (parent != FRoot) SetSelected(parent, true);
    SetSelected(first, false);
  }
  if (FSelection.empty()) EnsureNodeSelected();
}

Integer TBaseLiveTree::QueryCompare(PLiveNode node1, PLiveNode node2, TColumnIndex column) {
  Integer result = 0;
  if (OnCompareNodes) OnCompareNodes(this, node1, node2, column, result);
  return result;
}

bool TBaseLiveTree::AskExpanding(PLiveNode node) {
  bool allowed = true;
  if (OnExpanding) OnExpanding(this, node, allowed);
  return allowed;
}

void TBaseLiveTree::FireExpanded(PLiveNode node) {
  if (OnExpanded) OnExpanded(this, node);
}

bool TBaseLiveTree::AskFocusChange(PLiveNode oldNode, PLiveNode newNode, TColumnIndex oldColumn,
                                   TColumnIndex newColumn) {
  bool allowed = newColumn == oldColumn || FHeader->AllowFocus(newColumn);
  if (OnFocusChanging) OnFocusChanging(this, oldNode, newNode, oldColumn, newColumn, allowed);
  return allowed;
}

void TBaseLiveTree::FireFocusChanged(PLiveNode node, TColumnIndex column) {
  if (OnFocusChanged) OnFocusChanged(this, node, column);
}

void TBaseLiveTree::FireFreeNode(PLiveNode node) {
  if (OnFreeNode) OnFreeNode(this, node);
}

bool TBaseLiveTree::QueryCellIsEmpty(PLiveNode node, TColumnIndex column) {
  bool isEmpty = true;
  if (OnGetCellIsEmpty) OnGetCellIsEmpty(this, node, column, isEmpty);
  return isEmpty;
}

bool TBaseLiveTree::FireInitChildren(PLiveNode node, Cardinal& childCount) {
  if (!OnInitChildren) return false;
  OnInitChildren(this, node, childCount);
  return true;
}

void TBaseLiveTree::FireInitNode(PLiveNode parentNode, PLiveNode node, TLiveNodeInitStates& initStates) {
  if (OnInitNode) OnInitNode(this, parentNode, node, initStates);
}

void TBaseLiveTree::FireMeasureItem(TCanvas* canvas, PLiveNode node, Integer& nodeHeight) {
  if (OnMeasureItem) OnMeasureItem(this, canvas, node, nodeHeight);
}

void TBaseLiveTree::FireNodeCopied(PLiveNode node) {
  if (OnNodeCopied) OnNodeCopied(this, node);
}

bool TBaseLiveTree::AskNodeCopying(PLiveNode node, PLiveNode target) {
  bool allowed = true;
  if (OnNodeCopying) OnNodeCopying(this, node, target, allowed);
  return allowed;
}

void TBaseLiveTree::FireNodeMoved(PLiveNode node) {
  if (OnNodeMoved) OnNodeMoved(this, node);
}

bool TBaseLiveTree::AskNodeMoving(PLiveNode node, PLiveNode target) {
  bool allowed = true;
  if (OnNodeMoving) OnNodeMoving(this, node, target, allowed);
  return allowed;
}

void TBaseLiveTree::FireRemoveFromSelection(PLiveNode node) {
  if (OnRemoveFromSelection) OnRemoveFromSelection(this, node);
}

void TBaseLiveTree::FireResetNode(PLiveNode node) {
  if (OnResetNode) OnResetNode(this, node);
}

void TBaseLiveTree::FireStartOperation(TLTOperationKind kind) {
  if (OnStartOperation) OnStartOperation(this, kind);
}

void TBaseLiveTree::FireEndOperation(TLTOperationKind kind) {
  if (OnEndOperation) OnEndOperation(this, kind);
}

void TBaseLiveTree::FireUpdating(TLTUpdateState state) {
  if (OnUpdating) OnUpdating(this, state);
}
