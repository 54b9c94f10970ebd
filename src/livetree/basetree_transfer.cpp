// The tree's side of the clipboard and of drag and drop: the marks of a cut
// or copy, the node chunks that travel in "Live Tree Data", moving nodes
// between trees of this process, the drop target and mode, and scrolling and
// expanding while a drag lingers.
#include <algorithm>

#include "livetree/basetree.h"
#include "rtl/streams.h"

namespace {

constexpr Integer DataStreamVersion = 2;

}  // namespace

// ---- Cut and copy ----

void TBaseLiveTree::MarkClipboardNodes() {
  for (PLiveNode node : FSelection)
    if (!node->Has(vsDisabled)) node->Include({vsCutOrCopy});
}

void TBaseLiveTree::MarkCutOrCopy(bool cut) {
  MarkClipboardNodes();
  if (cut)
    ChangeTreeStates({tsCutPending}, {tsCopyPending});
  else
    ChangeTreeStates({tsCopyPending}, {});
  Invalidate();
}

void TBaseLiveTree::CancelCutOrCopy() {
  TLiveTreeStates states = TreeStates();
  if (states.Contains(tsCutPending) || states.Contains(tsCopyPending)) {
    for (PLiveNode run = GetFirstNoInit(false); run; run = GetNextNoInit(run, false)) run->Exclude({vsCutOrCopy});
    Invalidate();
  }
  ChangeTreeStates({}, {tsCutPending, tsCopyPending});
}

void TBaseLiveTree::FinishCutOrCopy() {
  if (TreeStates().Contains(tsCutPending)) {
    TNodeArray nodes = GetSortedCutCopySet(true);
    BeginUpdate();
    try {
      for (size_t i = nodes.size(); i-- > 0;) DeleteNode(nodes[i], true);
    } catch (...) {
      EndUpdate();
      ChangeTreeStates({}, {tsCutPending});
      throw;
    }
    EndUpdate();
  }
  ChangeTreeStates({}, {tsCutPending});
}

// ---- Node chunks ----

void TBaseLiveTree::StreamDataNodes(TStream& stream, bool forClipboard) {
  TNodeArray nodes = forClipboard ? GetSortedCutCopySet(true) : GetSortedSelection(true);
  for (PLiveNode node : nodes) StoreNode(stream, node);
}

void TBaseLiveTree::InsertDataNodes(TStream& stream, PLiveNode target, TLTNodeAttachMode mode,
                                    const TBaseLiveTree* source) {
  if (ReadOnly() || mode == amNoWhere) return;
  if (target == nullptr) target = FRoot;
  if (target == FRoot) {
    if (mode == amInsertBefore) mode = amAddChildFirst;
    if (mode == amInsertAfter) mode = amAddChildLast;
  }
  PLiveNode askTarget = target == FRoot ? nullptr : target;
  BeginUpdate();
  try {
    if (!target->Has(vsInitialized)) InitializeNode(target);
    if (target->Has(vsHasChildren) && target->ChildCount == 0) InitializeChildren(target);
    while (stream.Position() < stream.Size()) {
      PLiveNode node = AllocateNode();
      LinkNode(node, target, mode);
      try {
        RestoreNode(stream, DataStreamVersion, node);
      } catch (...) {
        DeleteNode(node, true);
        throw;
      }
      if (!AskNodeCopying(node, askTarget)) {
        DeleteNode(node, true);
        continue;
      }
      FireNodeCopied(node);
      NoteStructureChange(node, source == this ? crNodeCopied : crNodeAdded);
      // The next node follows this one, so the nodes keep their order.
      if (mode == amInsertAfter || mode == amAddChildFirst) {
        target = node;
        mode = amInsertAfter;
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TBaseLiveTree::MoveDataNodes(TBaseLiveTree& source, PLiveNode target, TLTNodeAttachMode mode) {
  if (ReadOnly() || mode == amNoWhere) return;
  if (target == nullptr) target = FRoot;
  TNodeArray nodes =
      source.TreeStates().Contains(tsOLEDragging) ? source.FDragSelection : source.GetSortedCutCopySet(true);
  bool forward = mode == amInsertBefore || mode == amAddChildLast;
  if (!forward) std::reverse(nodes.begin(), nodes.end());
  for (PLiveNode node : nodes) {
    // A node is never moved into its own subtree.
    if (&source == this && (node == target || HasAsParent(target, node))) continue;
    source.MoveTo(node, target, mode, false);
  }
}

// ---- Drop target ----

TDropMode TBaseLiveTree::ComputeDropMode(TPoint p, const THitInfo& hitInfo, const TRect& nodeRect) const {
  const THitPositions& hit = hitInfo.HitPositions;
  bool rowHit =
      hit.Contains(hiOnItem) && (MiscOptions().Contains(toFullRowDrag) || SelectionOptions().Contains(toFullRowSelect));
  bool contentHit = hit.Contains(hiOnItemLabel) || hit.Contains(hiOnNormalIcon) || hit.Contains(hiOnStateIcon);
  PLiveNode node = hitInfo.HitNode;
  if (MiscOptions().Contains(toReportMode) && !rowHit && (!contentHit || hitInfo.HitColumn != MainColumn()))
    node = nullptr;
  if (node == nullptr) return dmNowhere;
  if (!contentHit && PaintOptions().Contains(toShowDropmark))
    return p.Y < (nodeRect.Top + nodeRect.Bottom) / 2 ? dmAbove : dmBelow;
  return dmOnNode;
}

bool TBaseLiveTree::SetDropTarget(PLiveNode node, TDropMode mode) {
  if (node == FDropTargetNode && mode == FPaintSettings.LastDropMode) return false;
  FPaintSettings.LastDropMode = mode;
  if (node == FDropTargetNode) {
    InvalidateNode(node);
    return true;
  }
  InvalidateNode(FDropTargetNode);
  FDropTargetNode = node;
  InvalidateNode(node);
  FHost->StopTimer(TimerIdExpand);
  if (node != nullptr && AutoOptions().Contains(toAutoDropExpand) && node->Has(vsHasChildren))
    FHost->StartTimer(TimerIdExpand, FAutoExpandDelay);
  return true;
}

void TBaseLiveTree::ClearDropTarget() {
  FHost->StopTimer(TimerIdExpand);
  InvalidateNode(FDropTargetNode);
  FDropTargetNode = nullptr;
}

void TBaseLiveTree::ExpandDropTarget() {
  FHost->StopTimer(TimerIdExpand);
  if (FDropTargetNode != nullptr && FDropTargetNode->Has(vsHasChildren) && !FDropTargetNode->Has(vsExpanded))
    ToggleNode(FDropTargetNode);
}

bool TBaseLiveTree::DragAutoScroll(TPoint p, Cardinal nowMs, Integer incrementX, Integer incrementY) {
  Integer zone = static_cast<Integer>(FDefaultNodeHeight);
  Integer width = FHost->ClientWidth(), height = FHost->ClientHeight();
  Integer dx = 0, dy = 0;
  if (p.X < zone && FEffectiveOffsetX != 0) dx = incrementX;
  if (p.X > width - zone && width + FEffectiveOffsetX < FRangeX) dx = -incrementX;
  if (p.Y < zone && FOffsetY != 0) dy = std::min(incrementY, height);
  if (p.Y > height - zone && height - FOffsetY < FRangeY) dy = -std::min(incrementY, height);
  if (dx == 0 && dy == 0) {
    FDragScrollTiming = false;
    return false;
  }
  // Lingering near an edge scrolls only once the delay has passed.
  if (!FDragScrollTiming) {
    FDragScrollTiming = true;
    FDragScrollStart = nowMs;
  }
  if (nowMs - FDragScrollStart < FAutoScrollDelay) return false;
  if (UseRightToLeftAlignment()) dx = -dx;
  return ScrollOffsets(Point(FOffsetX + dx, FOffsetY + dy));
}

// ---- Drag source ----

void TBaseLiveTree::BeginOleDrag() {
  CancelEditNode();
  if (FCurrentHotNode != nullptr) {
    InvalidateNode(FCurrentHotNode);
    FCurrentHotNode = nullptr;
  }
  if (FFocusedNode != nullptr && !FFocusedNode->Has(vsSelected)) {
    AddToSelection(FFocusedNode);
    InvalidateNode(FFocusedNode);
  }
  FDragSelection = GetSortedSelection(true);
  ChangeTreeStates({tsOLEDragging}, {tsClearPending, tsOLEDragPending});
  FPaintSettings.LastDropMode = dmOnNode;
  FLastDragEffect = DropEffectNone;
}

bool TBaseLiveTree::AskDragAllowed(PLiveNode node, TColumnIndex column) {
  bool allowed = false;
  if (OnDragAllowed && node != nullptr) OnDragAllowed(this, node, column, allowed);
  return allowed;
}

void TBaseLiveTree::EndOleDrag(Integer effect) {
  FLastDragEffect = effect;
  try {
    if (effect == DropEffectMove && AutoOptions().Contains(toAutoDeleteMovedNodes)) DeleteSelectedNodes();
  } catch (...) {
    FDragSelection.clear();
    ChangeTreeStates({}, {tsOLEDragging});
    throw;
  }
  FDragSelection.clear();
  ChangeTreeStates({}, {tsOLEDragging});
}
