// The mouse: focus and selection by clicks, expand buttons, check boxes, the
// hot node, wheel scrolling, and the in-place editing that clicks and F2
// start.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "livetree/basetree.h"

namespace {

TCheckState PressedCheckForm(TCheckState state) {
  switch (state) {
    case csUncheckedNormal: return csUncheckedPressed;
    case csCheckedNormal: return csCheckedPressed;
    case csMixedNormal: return csMixedPressed;
    default: return state;
  }
}

TCheckState NormalCheckForm(TCheckState state) {
  switch (state) {
    case csUncheckedPressed: return csUncheckedNormal;
    case csCheckedPressed: return csCheckedNormal;
    case csMixedPressed: return csMixedNormal;
    default: return state;
  }
}

TLiveTreeStates ButtonState(TMouseButton button) {
  switch (button) {
    case mbLeft: return {tsLeftButtonDown};
    case mbRight: return {tsRightButtonDown};
    default: return {tsMiddleButtonDown};
  }
}

// A button other than the left one selects only when the options say so.
bool ButtonSelects(TMouseButton button, TLTSelectionOptions options) {
  if (button == mbRight) return options.Contains(toRightClickSelect);
  if (button == mbMiddle) return options.Contains(toMiddleClickSelect);
  return true;
}

}  // namespace

void TBaseLiveTree::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  ChangeTreeStates(ButtonState(button), {});
  FPressMayDrag = false;
  // A press while panning only ends it.
  if (IsPanning()) {
    StopWheelPanning();
    return;
  }
  if (button == mbMiddle && MiscOptions().Contains(toWheelPanning) &&
      (FRangeX > FHost->ClientWidth() || FRangeY > FHost->ClientHeight())) {
    StartWheelPanning(Point(x, y));
    return;
  }
  if (!ButtonSelects(button, SelectionOptions())) return;
  THitInfo hitInfo;
  GetHitTestInfoAt(x, y, true, hitInfo);
  ProcessMouseDown(button, shift, hitInfo, Point(x, y));
}

void TBaseLiveTree::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  ChangeTreeStates({}, ButtonState(button));
  if (button == mbMiddle && IsPanning()) {
    // A click without a move leaves the content scrolling until the next
    // press; after a move the release ends panning.
    if (TreeStates().Contains(tsWheelScrolling))
      ChangeTreeStates({}, {tsWheelPanning});
    else
      StopWheelPanning();
    return;
  }
  if (!ButtonSelects(button, SelectionOptions())) return;
  THitInfo hitInfo;
  GetHitTestInfoAt(x, y, true, hitInfo);
  ProcessMouseUp(button, shift, hitInfo);
}

void TBaseLiveTree::MouseDblClick(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (!ButtonSelects(button, SelectionOptions())) return;
  THitInfo hitInfo;
  GetHitTestInfoAt(x, y, true, hitInfo);
  ProcessMouseDblClick(button, shift, hitInfo);
}

void TBaseLiveTree::PressCheckBox(PLiveNode node, TMouseButton button) {
  TLiveTreeStates states = TreeStates();
  if (states.Contains(tsKeyCheckPending) || states.Contains(tsMouseCheckPending) || node->Has(vsDisabled)) return;
  TCheckState newState = NextCheckState(node->CheckType, node->CheckState);
  if (button != mbLeft || !AskChecking(node, newState)) return;
  // The new state waits for the button to come up over the box.
  ChangeTreeStates({tsMouseCheckPending}, {});
  FCheckNode = node;
  FPendingCheckState = newState;
  node->CheckState = PressedCheckForm(node->CheckState);
  InvalidateNode(node);
}

void TBaseLiveTree::ProcessMouseDown(TMouseButton button, TShiftState shift, const THitInfo& hitInfo, TPoint p) {
  if (TreeStates().Contains(tsEditPending)) {
    FHost->StopTimer(TimerIdEdit);
    ChangeTreeStates({}, {tsEditPending});
  }
  if (IsEditing()) EndEditNode();
  const TLTSelectionOptions selectionOptions = SelectionOptions();
  const TLTMiscOptions miscOptions = MiscOptions();
  const THitPositions& positions = hitInfo.HitPositions;
  PLiveNode hitNode = hitInfo.HitNode;
  FHeader->Columns().SetClickIndex(hitInfo.HitColumn);

  TColumnIndex newColumn = FFocusedColumn;
  bool columnChanged = false;
  // Without columns there is no column focus to move.
  if (FHeader->UseColumns() && (positions.Contains(hiOnItemLabel) || selectionOptions.Contains(toFullRowSelect) ||
                                miscOptions.Contains(toGridExtensions))) {
    newColumn = selectionOptions.Contains(toExtendedFocus) ? hitInfo.HitColumn : MainColumn();
    if (!FHeader->AllowFocus(newColumn)) newColumn = FFocusedColumn;
    columnChanged = newColumn != FFocusedColumn;
  }
  const bool nodeChanged = hitNode != FFocusedNode;
  const bool altPressed = shift.Contains(ssAlt);
  const TShiftState keys = shift * TShiftState{ssShift, ssCtrl};
  const bool isLabelHit = !altPressed && !selectionOptions.Contains(toSimpleDrawSelection) &&
                          (positions.Contains(hiOnItemLabel) || positions.Contains(hiOnNormalIcon));
  const bool isCellHit = !altPressed && !isLabelHit && hitNode != nullptr && !positions.Contains(hiOnItemButton) &&
                         !positions.Contains(hiOnItemCheckbox) &&
                         (selectionOptions.Contains(toFullRowSelect) ||
                          (miscOptions.Contains(toGridExtensions) && hitInfo.HitColumn >= 0));
  const bool isAnyHit = isLabelHit || isCellHit;
  const bool isHitSelected = isAnyHit && hitNode->Has(vsSelected);
  const bool multiSelect = selectionOptions.Contains(toMultiSelect);
  const bool shiftEmpty = keys.Empty();
  const bool fullRowDrag =
      !multiSelect || selectionOptions.Contains(toDisableDrawSelection)
          ? miscOptions.Contains(toFullRowDrag)
          : isCellHit && miscOptions.Contains(toFullRowDrag) && !positions.Contains(hiNowhere) &&
                (isHitSelected || positions.Contains(hiOnItemLabel) || positions.Contains(hiOnNormalIcon));

  // Whether this press may become a drag of the selection.
  bool autoDrag = (FDragAutomatic || TreeStates().Contains(tsOLEDragging)) && (fullRowDrag || !isCellHit);
  if (!FDragAutomatic && hitNode != nullptr)
    autoDrag = AskDragAllowed(hitNode, newColumn) && (fullRowDrag || isLabelHit);
  FPressMayDrag = autoDrag && isAnyHit;

  if (hitNode != nullptr && positions.Contains(hiOnItemButton) && hitNode->Has(vsHasChildren)) {
    ToggleNode(hitNode);
    return;
  }
  if (hitNode != nullptr && positions.Contains(hiOnItemCheckbox)) {
    PressCheckBox(hitNode, button);
    return;
  }
  if ((FRoot->ChildCount > 0 && shiftEmpty) || SelectedCount() == 0) {
    PLiveNode levelNode = hitNode != nullptr ? hitNode : GetLastVisible(nullptr, true, false);
    FLastSelectionLevel = levelNode != nullptr ? static_cast<Integer>(GetNodeLevel(levelNode)) : -1;
  }
  // A press beside the labels may become a selection rectangle once the
  // mouse moves.
  const bool drawSelection =
      !selectionOptions.Contains(toDisableDrawSelection) && multiSelect && !isLabelHit && !fullRowDrag;
  if (drawSelection) {
    FHost->CaptureMouse(true);
    ChangeTreeStates({tsDrawSelPending}, {});
    FDrawSelShiftState = keys;
    FNewSelRect = Rect(p.X + FEffectiveOffsetX, p.Y - FOffsetY, p.X + FEffectiveOffsetX, p.Y - FOffsetY);
    FLastSelRect = FNewSelRect;
  }
  // A press on a selected node that may drag keeps the others until the
  // button goes up without a drag.
  if (multiSelect && shiftEmpty && isAnyHit && autoDrag && isHitSelected && !FSelectionLocked)
    ChangeTreeStates({tsClearPending}, {});
  // Without a drag to wait for, a click on a selected node reduces the
  // selection at once.
  const bool needChange = !autoDrag;
  if (!FSelectionLocked && ((multiSelect && shiftEmpty && !isAnyHit && !fullRowDrag) ||
                            (isAnyHit && (!isHitSelected || needChange) && (shiftEmpty || !multiSelect)))) {
    if (isHitSelected || (altPressed && hitInfo.HitColumn == MainColumn() && !positions.Contains(hiNowhere)))
      ClearSelectionDirectly(hitNode);
    else if (!(positions.Contains(hiNowhere) && selectionOptions.Contains(toAlwaysSelectNode)))
      ClearSelection();
  }
  if (button == mbLeft && FHost->Focused() && isHitSelected && !nodeChanged && !columnChanged && shiftEmpty &&
      (positions.Contains(hiOnItemLabel) || (miscOptions.Contains(toGridExtensions) && positions.Contains(hiOnItem))))
    ChangeTreeStates({tsEditPending}, {});
  if (drawSelection && (!isCellHit || positions.Contains(hiNowhere))) return;
  FLastClickPos = p;
  if (!isAnyHit || !AskFocusChange(FFocusedNode, hitNode, FFocusedColumn, newColumn)) return;
  if (columnChanged) {
    Invalidate();
    FFocusedColumn = newColumn;
  }
  if (nodeChanged) ChangeFocus(hitNode, false);
  if (!multiSelect || shiftEmpty) {
    if (shiftEmpty) FRangeAnchor = hitNode;
    if (!hitNode->Has(vsSelected)) {
      AddToSelection(hitNode);
      InvalidateNode(hitNode);
    }
  } else {
    ClickSelect(hitNode, keys.Contains(ssCtrl), keys.Contains(ssShift), false);
  }
  if (nodeChanged || columnChanged) {
    ScrollIntoView(FFocusedNode, selectionOptions.Contains(toCenterScrollIntoView),
                   !AutoOptions().Contains(toDisableAutoscrollOnFocus) && !selectionOptions.Contains(toFullRowSelect));
    FireFocusChanged(FFocusedNode, FFocusedColumn);
  }
}

void TBaseLiveTree::ProcessMouseUp(TMouseButton, TShiftState shift, const THitInfo& hitInfo) {
  TLiveTreeStates states = TreeStates();
  if (IsMouseSelecting()) {
    // The rectangle goes from the screen.
    FHost->CaptureMouse(false);
    Invalidate();
  }
  if (states.Contains(tsClearPending)) {
    PLiveNode keep = FFocusedNode != nullptr && FFocusedNode->Has(vsSelected) ? FFocusedNode : nullptr;
    ClearSelectionDirectly(keep);
  }
  if (states.Contains(tsToggleFocusedSelection) && hitInfo.HitNode == FFocusedNode && FFocusedNode != nullptr) {
    if (!FFocusedNode->Has(vsSelected))
      AddToSelection(FFocusedNode);
    else if (!SelectionOptions().Contains(toAlwaysSelectNode) || SelectedCount() > 1)
      RemoveFromSelection(FFocusedNode);
    InvalidateNode(FFocusedNode);
  }
  ChangeTreeStates({}, {tsToggleFocusedSelection, tsClearPending, tsDrawSelPending, tsDrawSelecting, tsOLEDragging,
                        tsOLEDragPending, tsScrolling, tsScrollPending});
  FHost->StopTimer(TimerIdScroll);
  if (states.Contains(tsMouseCheckPending)) {
    ChangeTreeStates({}, {tsMouseCheckPending});
    PLiveNode node = FCheckNode;
    FCheckNode = nullptr;
    if (node != nullptr) {
      if (hitInfo.HitNode == node && hitInfo.HitPositions.Contains(hiOnItemCheckbox))
        CheckClick(node, FPendingCheckState);
      else
        node->CheckState = NormalCheckForm(node->CheckState);
      InvalidateNode(node);
    }
  }
  if (FHeader->Columns().ClickIndex() >= 0 && FHeader->Columns().ClickIndex() == hitInfo.HitColumn && OnColumnClick)
    OnColumnClick(this, hitInfo.HitColumn, shift);
  if (hitInfo.HitNode != nullptr && OnNodeClick) OnNodeClick(this, hitInfo);
  if (!TreeStates().Contains(tsEditPending)) return;
  if (hitInfo.HitNode == FFocusedNode && FFocusedNode != nullptr && hitInfo.HitColumn == FocusedColumnOrNone() &&
      hitInfo.HitPositions.Contains(hiOnItem) && MiscOptions().Contains(toEditOnClick) &&
      CanEdit(FFocusedNode, hitInfo.HitColumn)) {
    FEditColumn = hitInfo.HitColumn;
    FHost->StartTimer(TimerIdEdit, FEditDelay);
  } else {
    ChangeTreeStates({}, {tsEditPending});
  }
}

void TBaseLiveTree::ProcessMouseDblClick(TMouseButton button, TShiftState shift, const THitInfo& hitInfo) {
  bool editAllowed = !IsEditing() && MiscOptions().Contains(toEditOnDblClick);
  if (TreeStates().Contains(tsEditPending)) {
    FHost->StopTimer(TimerIdEdit);
    ChangeTreeStates({}, {tsEditPending});
  }
  if (IsEditing() && !EndEditNode()) return;
  if (hitInfo.HitColumn == FHeader->Columns().ClickIndex() && OnColumnDblClick)
    OnColumnDblClick(this, hitInfo.HitColumn, shift);
  PLiveNode node = hitInfo.HitNode;
  if (node != nullptr && OnNodeDblClick) OnNodeDblClick(this, hitInfo);
  const THitPositions& positions = hitInfo.HitPositions;
  if (node != nullptr && positions.Contains(hiOnItemCheckbox)) {
    PressCheckBox(node, button);
    editAllowed = false;
  } else if (node != nullptr && (positions.Contains(hiOnItemButton) ||
                                 (MiscOptions().Contains(toToggleOnDblClick) &&
                                  (positions.Contains(hiOnItemLabel) || positions.Contains(hiOnNormalIcon) ||
                                   positions.Contains(hiOnStateIcon))) ||
                                 SelectionOptions().Contains(toFullRowSelect))) {
    ToggleNode(node);
    editAllowed = false;
  }
  if (editAllowed && node != nullptr && node == FFocusedNode && hitInfo.HitColumn == FocusedColumnOrNone() &&
      CanEdit(node, hitInfo.HitColumn)) {
    ChangeTreeStates({tsEditPending}, {});
    FEditColumn = hitInfo.HitColumn;
    FHost->StartTimer(TimerIdEdit, FEditDelay);
  }
}

void TBaseLiveTree::MouseMove(TShiftState, Integer x, Integer y) {
  const TLiveTreeStates states = TreeStates();
  if (states.Contains(tsDrawSelPending)) {
    const TRect old = FNewSelRect;
    if (UpdateSelectionRect(Point(x, y))) {
      InvalidateSelectionRects(old, FNewSelRect);
      FHost->PaintNow();
    }
    const Integer threshold = FHost->DragThreshold();
    if (std::abs(FNewSelRect.Width()) > threshold || std::abs(FNewSelRect.Height()) > threshold) {
      if (states.Contains(tsClearPending)) {
        ChangeTreeStates({}, {tsClearPending});
        ClearSelection();
      }
      ChangeTreeStates({tsDrawSelecting}, {tsDrawSelPending});
      if (FHeader->UseColumns()) FFocusedColumn = MainColumn();
      if (UpdateRectangleSelection()) Invalidate();
    }
    return;
  }
  if (states.Contains(tsWheelPanning) && states.Contains(tsWheelScrolling)) {
    const Integer threshold = FHost->DragThreshold();
    if (std::abs(x - FLastClickPos.X) >= threshold || std::abs(y - FLastClickPos.Y) >= threshold)
      ChangeTreeStates({}, {tsWheelScrolling});
  }
  if (CanAutoScroll()) AutoScrollDetect(x, y);
  if (IsPanning()) UpdatePanningCursor(x, y);
  if (!IsMouseSelecting()) {
    UpdateHotNode(x, y);
  } else if (!TreeStates().Contains(tsScrolling)) {
    const TRect old = FNewSelRect;
    if (UpdateSelectionRect(Point(x, y))) {
      if (UpdateRectangleSelection())
        Invalidate();
      else
        InvalidateSelectionRects(old, FNewSelRect);
    }
  }
  FHost->PaintNow();
}

void TBaseLiveTree::UpdateHotNode(Integer x, Integer y) {
  THitInfo hitInfo;
  GetHitTestInfoAt(x, y, true, hitInfo);
  PLiveNode hot = nullptr;
  const THitPositions& positions = hitInfo.HitPositions;
  if (positions.Contains(hiOnItemLabel) || positions.Contains(hiOnItemCheckbox) ||
      (SelectionOptions().Contains(toFullRowSelect) && !positions.Contains(hiNowhere)))
    hot = hitInfo.HitNode;
  if (hot == FCurrentHotNode && hitInfo.HitColumn == FCurrentHotColumn) return;
  bool repaint = PaintOptions().Contains(toHotTrack) || MiscOptions().Contains(toCheckSupport);
  if (OnHotChange) OnHotChange(this, FCurrentHotNode, hot);
  if (repaint && FCurrentHotNode != nullptr) InvalidateNode(FCurrentHotNode);
  FCurrentHotNode = hot;
  FCurrentHotColumn = hitInfo.HitColumn;
  if (repaint && hot != nullptr) InvalidateNode(hot);
}

void TBaseLiveTree::MouseWheel(Integer delta, TShiftState shift, Integer lines) {
  StopWheelPanning();
  const double factor = delta / 120.0;
  const Integer clientHeight = FHost->ClientHeight();
  const Integer clientWidth = FHost->ClientWidth();
  const bool ctrl = shift.Contains(ssCtrl);
  auto scaled = [](double amount) {
    return static_cast<Integer>(std::clamp(std::trunc(amount), -2147483647.0, 2147483647.0));
  };
  if (FRangeY > clientHeight && !shift.Contains(ssShift)) {
    Integer amount = ctrl || lines == -1
                         ? scaled(clientHeight * factor)
                         : scaled(static_cast<double>(lines) * factor * static_cast<double>(FDefaultNodeHeight));
    SetOffsetY(static_cast<Integer>(std::clamp<Int64>(static_cast<Int64>(FOffsetY) + amount, -2147483647, 2147483647)));
    return;
  }
  const Integer dir = UseRightToLeftAlignment() ? -1 : 1;
  Integer fixed = FHeader->UseColumns() ? FHeader->Columns().GetVisibleFixedWidth() : 0;
  Integer amount = ctrl
                       ? scaled((clientWidth - fixed) * factor)
                       : scaled(static_cast<double>(FHeader->Columns().GetScrollWidth()) * std::max(lines, 1) * factor);
  SetOffsetX(static_cast<Integer>(
      std::clamp<Int64>(static_cast<Int64>(FOffsetX) + static_cast<Int64>(dir) * amount, -2147483647, 2147483647)));
}

bool TBaseLiveTree::TooltipAt(Integer x, Integer y, TLTTooltip& tooltip) {
  if (FHintMode != hmTooltip) return false;
  THitInfo hitInfo;
  GetHitTestInfoAt(x, y, true, hitInfo);
  PLiveNode node = hitInfo.HitNode;
  if (node == nullptr || hitInfo.HitPositions.Contains(hiNowhere)) return false;
  TColumnIndex column = FHeader->UseColumns() ? hitInfo.HitColumn : NoColumn;
  TRect cell = GetDisplayRect(node, column, false);
  TRect text = GetDisplayRect(node, column, true, true);
  const Integer visibleLeft = std::max<Integer>(cell.Left, 0);
  const Integer visibleRight = std::min<Integer>(cell.Right, FHost->ClientWidth());
  if (text.Right <= visibleRight && text.Left >= visibleLeft) return false;
  TLiveTreeFont font = FFont;
  TRect ignored;
  String content;
  GetTextInfo(node, column, font, ignored, content);
  if (content.empty()) return false;
  tooltip.Node = node;
  tooltip.Column = column;
  tooltip.Text = content;
  tooltip.TextRect = text;
  tooltip.CellRect = cell;
  return true;
}

PLiveNode TBaseLiveTree::NodeFromHandle(const void* handle) {
  // A handle from another process or a stale one must not be dereferenced:
  // only the addresses of this tree's own nodes are answered.
  if (handle == nullptr || handle == FRoot) return nullptr;
  for (PLiveNode run = GetFirstNoInit(); run != nullptr; run = GetNextNoInit(run))
    if (run == handle) return run;
  return nullptr;
}

// ---- Editing ----

bool TBaseLiveTree::CanEdit(PLiveNode node, TColumnIndex column) {
  const TLTMiscOptions options = MiscOptions();
  bool allowed = options.Contains(toEditable) && FEnabled && !options.Contains(toReadOnly) &&
                 (column < 0 || (FHeader->Columns().IsValidColumn(column) &&
                                 FHeader->Columns().Items(column)->Options().Contains(coEditable)));
  if (OnEditing) OnEditing(this, node, column, allowed);
  return allowed;
}

bool TBaseLiveTree::EditNode(PLiveNode node, TColumnIndex column) {
  if (node == nullptr || node == FRoot) return false;
  if (IsEditing() || MiscOptions().Contains(toReadOnly)) return IsEditing();
  SetFocusedNode(node);
  if (FFocusedNode != node || !CanEdit(node, column)) return false;
  FEditColumn = column;
  StartEditing();
  return IsEditing();
}

void TBaseLiveTree::StartEditing() {
  FHost->CancelHint();
  FHost->StopTimer(TimerIdScroll);
  FHost->StopTimer(TimerIdEdit);
  ChangeTreeStates({}, {tsEditPending});
  if (FFocusedNode == nullptr || FFocusedNode->Has(vsDisabled) || MiscOptions().Contains(toReadOnly) || IsEditing())
    return;
  ChangeTreeStates({tsEditing}, {tsToggleFocusedSelection, tsClearPending, tsDrawSelPending, tsDrawSelecting,
                                 tsMouseCheckPending, tsOLEDragging, tsOLEDragPending, tsScrolling, tsScrollPending});
  ScrollIntoView(FFocusedNode, SelectionOptions().Contains(toCenterScrollIntoView),
                 !AutoOptions().Contains(toDisableAutoscrollOnEdit));
  InvalidateNode(FFocusedNode);
  if (!FHost->BeginNodeEdit(FFocusedNode, FEditColumn)) ChangeTreeStates({}, {tsEditing});
}

bool TBaseLiveTree::EndEditNode() {
  TLiveTreeStates states = TreeStates();
  if (!states.Contains(tsEditing) && !states.Contains(tsEditPending)) return true;
  FHost->StopTimer(TimerIdEdit);
  bool ended = false;
  if (states.Contains(tsEditing) && FHost->EndNodeEdit(true)) {
    ChangeTreeStates({}, {tsEditing});
    ended = true;
    if (OnEdited) OnEdited(this, FFocusedNode, FEditColumn);
  }
  ChangeTreeStates({}, {tsEditPending});
  return ended;
}

bool TBaseLiveTree::CancelEditNode() {
  TLiveTreeStates states = TreeStates();
  if (!HasWindow() || (!states.Contains(tsEditing) && !states.Contains(tsEditPending))) return true;
  FHost->StopTimer(TimerIdEdit);
  ChangeTreeStates({}, {tsEditPending});
  if (!states.Contains(tsEditing) || !FHost->EndNodeEdit(false)) return false;
  ChangeTreeStates({}, {tsEditing});
  if (OnEditCancelled) OnEditCancelled(this, FEditColumn);
  return true;
}
