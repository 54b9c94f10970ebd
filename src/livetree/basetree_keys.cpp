// The keyboard: navigation with selection extension, expansion, check boxes
// by Space, scrolling by keys and the incremental search by typed characters.
#include <algorithm>

#include "livetree/basetree.h"

namespace {

TCheckState PressedForm(TCheckState state) {
  switch (state) {
    case csUncheckedNormal: return csUncheckedPressed;
    case csCheckedNormal: return csCheckedPressed;
    case csMixedNormal: return csMixedPressed;
    default: return state;
  }
}

TCheckState NormalForm(TCheckState state) {
  switch (state) {
    case csUncheckedPressed: return csUncheckedNormal;
    case csCheckedPressed: return csCheckedNormal;
    case csMixedPressed: return csMixedNormal;
    default: return state;
  }
}

bool IsNavigationKey(Word key) {
  return key == ltkBack || key == ltkTab || (key >= ltkPrior && key <= ltkDown);
}

}  // namespace

void TBaseLiveTree::FocusFirstIfNone() {
  if (FFocusedNode != nullptr || GetFirstSelected() != nullptr) return;
  PLiveNode first = GetFirstVisible(nullptr, true, false);
  if (first == nullptr) return;
  SetFocusedNode(first);
  SetSelected(first, true);
}

void TBaseLiveTree::KeyDown(Word charCode, TShiftState shift, Char typed) {
  bool doDefault = true;
  if (OnKeyAction) OnKeyAction(this, charCode, shift, doDefault);
  if (!doDefault) return;
  if (TreeStates().Contains(tsKeyCheckPending) && charCode != ltkSpace) {
    ChangeTreeStates({}, {tsKeyCheckPending});
    if (FCheckNode != nullptr) {
      FCheckNode->CheckState = NormalForm(FCheckNode->CheckState);
      InvalidateNode(FCheckNode);
    }
    FCheckNode = nullptr;
  }
  const bool ctrl = shift.Contains(ssCtrl);
  const bool alt = shift.Contains(ssAlt);
  const bool shiftKey = shift.Contains(ssShift);
  const TShiftState modifiers = shift * TShiftState{ssShift, ssCtrl, ssAlt};
  const TLTSelectionOptions selectionOptions = SelectionOptions();
  const TLTMiscOptions miscOptions = MiscOptions();
  const bool searching = TreeStates().Contains(tsIncrementalSearching);
  auto searchCharacter = [this] { ChangeTreeStates({tsIncrementalSearchPending}, {}); };

  if (!IsNavigationKey(charCode) || FRoot->ChildCount == 0) {
    switch (typed) {
      case u'*': charCode = ltkMultiply; break;
      case u'+': charCode = ltkAdd; break;
      case u'-': charCode = ltkSubtract; break;
      case u'/': charCode = ltkDivide; break;
      default: break;
    }
    switch (charCode) {
      case ltkAdd:
        if (searching) {
          searchCharacter();
        } else if (ctrl) {
          if (!miscOptions.Contains(toReverseFullExpandHotKey) && shiftKey)
            FullExpand();
          else
            FHeader->AutoFitColumns(true);
        } else if (FFocusedNode != nullptr && !FFocusedNode->Has(vsExpanded)) {
          ToggleNode(FFocusedNode);
        }
        break;
      case ltkSubtract:
        if (searching) {
          searchCharacter();
        } else if (ctrl) {
          if (!miscOptions.Contains(toReverseFullExpandHotKey) && shiftKey)
            FullCollapse();
          else
            FHeader->RestoreColumns();
        } else if (FFocusedNode != nullptr && FFocusedNode->Has(vsExpanded)) {
          ToggleNode(FFocusedNode);
        }
        break;
      case ltkMultiply:
        if (searching)
          searchCharacter();
        else if (FFocusedNode != nullptr)
          FullExpand(FFocusedNode);
        break;
      case ltkDivide:
        if (searching)
          searchCharacter();
        else if (FFocusedNode != nullptr)
          FullCollapse(FFocusedNode);
        break;
      case ltkEscape:
        if (IsMouseSelecting()) {
          ChangeTreeStates({}, {tsDrawSelPending, tsDrawSelecting});
          Invalidate();
        } else if (TreeStates().Contains(tsEditing)) {
          CancelEditNode();
        }
        break;
      case ltkSpace:
        if (miscOptions.Contains(toCheckSupport) && FFocusedNode != nullptr && FFocusedNode->CheckType != ctNone) {
          TLiveTreeStates states = TreeStates();
          if (states.Contains(tsKeyCheckPending) || states.Contains(tsMouseCheckPending) ||
              FFocusedNode->Has(vsDisabled))
            break;
          TCheckState newState = NextCheckState(FFocusedNode->CheckType, FFocusedNode->CheckState);
          if (AskChecking(FFocusedNode, newState)) {
            ChangeTreeStates({tsKeyCheckPending}, {});
            FCheckNode = FFocusedNode;
            FPendingCheckState = newState;
            FCheckNode->CheckState = PressedForm(FCheckNode->CheckState);
            InvalidateNode(FCheckNode);
          }
        } else {
          searchCharacter();
        }
        break;
      case ltkF2:
        if (modifiers.Empty() && FFocusedNode != nullptr && CanEdit(FFocusedNode, FocusedColumnOrNone())) {
          FEditColumn = FocusedColumnOrNone();
          StartEditing();
        }
        break;
      case ltkA:
        if (ctrl)
          SelectAll(true);
        else
          searchCharacter();
        break;
      default:
        if (charCode >= 32 && ctrl == alt) searchCharacter();
        break;
    }
    return;
  }

  // Navigation keys.
  const bool shiftSelect = shiftKey && selectionOptions.Contains(toMultiSelect) && !TreeStates().Contains(tsEditing);
  bool rangeJump =
      shiftSelect && (charCode == ltkPrior || charCode == ltkNext || charCode == ltkEnd || charCode == ltkHome);
  const bool needRepaint = rangeJump || SelectedCount() > 1;
  const bool clearSelection = modifiers.Empty() || (miscOptions.Contains(toGridExtensions) && !shiftKey) ||
                              !selectionOptions.Contains(toMultiSelect) || charCode == ltkBack || charCode == ltkTab;
  PLiveNode lastFocused = FFocusedNode;
  if (lastFocused == nullptr && !modifiers.Empty()) lastFocused = GetFirstVisible(nullptr, true, false);
  if (FRangeAnchor == nullptr) {
    FRangeAnchor = GetFirstSelected();
    if (FRangeAnchor == nullptr) FRangeAnchor = GetFirst();
  }
  const Integer dir = UseRightToLeftAlignment() ? -1 : 1;
  const Integer clientWidth = FHost->ClientWidth();
  const Integer clientHeight = FHost->ClientHeight();
  TLiveTreeColumns& columns = FHeader->Columns();
  auto afterAnchor = [this](PLiveNode node) {
    return node != nullptr && FRangeAnchor != nullptr && CompareDisplayOrder(node, FRangeAnchor) > 0;
  };
  auto beforeAnchor = [this](PLiveNode node) {
    return node != nullptr && FRangeAnchor != nullptr && CompareDisplayOrder(node, FRangeAnchor) < 0;
  };
  bool gridExtensions = miscOptions.Contains(toGridExtensions);
  bool extendedFocus = selectionOptions.Contains(toExtendedFocus);

  switch (charCode) {
    case ltkHome:
    case ltkEnd: {
      bool toLast = (charCode == ltkEnd) == (dir == 1);
      PLiveNode target = toLast ? GetLastVisible(nullptr, true, false) : GetFirstVisible(nullptr, true, false);
      TColumnIndex targetColumn = NoColumn;
      if (FHeader->UseColumns()) {
        targetColumn = toLast ? columns.GetLastVisibleColumn() : columns.GetFirstVisibleColumn();
        while (targetColumn != InvalidColumn && targetColumn != FFocusedColumn &&
               !AskFocusChange(FFocusedNode, FFocusedNode, FFocusedColumn, targetColumn))
          targetColumn =
              toLast ? columns.GetPreviousVisibleColumn(targetColumn) : columns.GetNextVisibleColumn(targetColumn);
        if (targetColumn == InvalidColumn) return;
      }
      if (modifiers == TShiftState{ssCtrl} && !gridExtensions) {
        ScrollIntoView(target, selectionOptions.Contains(toCenterScrollIntoView),
                       !AutoOptions().Contains(toDisableAutoscrollOnFocus));
        bool homeLeft = charCode == ltkHome && dir == 1;
        SetOffsetX(homeLeft ? 0 : -2147483647);
        return;
      }
      if (!gridExtensions || ctrl) SetFocusedNode(target);
      if (gridExtensions && !selectionOptions.Contains(toFullRowSelect) && targetColumn != NoColumn)
        SetFocusedColumn(targetColumn);
      break;
    }
    case ltkPrior:
    case ltkNext: {
      bool up = charCode == ltkPrior;
      if (ctrl && shiftKey) {
        SetOffsetX(FOffsetX + (up ? clientWidth : -clientWidth));
      } else if (alt && shiftKey && FHeader->UseColumns()) {
        TColumnIndex column = columns.IsValidColumn(FFocusedColumn) ? FFocusedColumn : columns.GetFirstVisibleColumn();
        Int64 passed = columns.GetVisibleFixedWidth();
        for (;;) {
          TColumnIndex next = up ? columns.GetPreviousVisibleColumn(column) : columns.GetNextVisibleColumn(column);
          if (next == InvalidColumn || columns[next]->Options().Contains(coFixed)) break;
          passed += columns[column]->Width();
          if (passed >= clientWidth) break;
          column = next;
        }
        if (column != InvalidColumn) SetFocusedColumn(column);
      } else if (ctrl) {
        SetOffsetY(FOffsetY + (up ? clientHeight : -clientHeight));
      } else {
        PLiveNode node = FFocusedNode;
        if (node == nullptr) node = up ? GetFirstVisible(nullptr, true, false) : GetLastVisible(nullptr, true, false);
        Int64 heights = 0;
        while (node != nullptr) {
          PLiveNode step = up ? GetPreviousVisible(node, true) : GetNextVisible(node, true);
          if (step == nullptr) break;
          heights += step->Height();
          if (heights >= clientHeight) break;
          node = step;
        }
        if (node != nullptr) SetFocusedNode(node);
      }
      break;
    }
    case ltkUp:
    case ltkDown: {
      bool up = charCode == ltkUp;
      if (ctrl) {
        Integer step = static_cast<Integer>(FDefaultNodeHeight);
        SetOffsetY(FOffsetY + (up ? step : -step));
        break;
      }
      PLiveNode node = nullptr;
      if (FFocusedNode != nullptr)
        node = up ? GetPreviousVisible(FFocusedNode, true) : GetNextVisible(FFocusedNode, true);
      else
        node = up ? GetLastVisible(nullptr, true, false) : GetFirstVisible(nullptr, true, false);
      if (node != nullptr) {
        if (!EndEditNode()) return;
        if (shiftSelect && FFocusedNode != nullptr && (up ? afterAnchor(lastFocused) : beforeAnchor(lastFocused)))
          RemoveFromSelection(FFocusedNode);
        if (FFocusedColumn < 0) FFocusedColumn = MainColumn();
        SetFocusedNode(node);
      } else {
        InvalidateNode(FFocusedNode);
      }
      break;
    }
    case ltkLeft:
      if (ctrl) {
        SetOffsetX(FOffsetX + dir * columns.GetScrollWidth());
      } else if (extendedFocus && gridExtensions) {
        TColumnIndex column = columns.GetPreviousVisibleColumn(FFocusedColumn, true);
        if (column != InvalidColumn) SetFocusedColumn(column);
      } else if (FFocusedNode != nullptr && FFocusedNode->Has(vsExpanded) && FFocusedNode->ChildCount > 0 &&
                 modifiers.Empty()) {
        ToggleNode(FFocusedNode);
      } else if (FFocusedNode == nullptr) {
        SetFocusedNode(GetFirstVisible(nullptr, true, false));
      } else if (FFocusedNode->Parent != FRoot) {
        PLiveNode parent = FFocusedNode->Parent;
        if (shiftSelect) {
          if (FFocusedNode->Index > 0)
            rangeJump = true;
          else if (afterAnchor(lastFocused))
            RemoveFromSelection(FFocusedNode);
        }
        SetFocusedNode(parent);
      }
      break;
    case ltkRight:
      if (ctrl) {
        SetOffsetX(FOffsetX - dir * columns.GetScrollWidth());
      } else if (extendedFocus && gridExtensions) {
        TColumnIndex column = columns.GetNextVisibleColumn(FFocusedColumn, true);
        if (column != InvalidColumn) SetFocusedColumn(column);
      } else if (FFocusedNode != nullptr && !FFocusedNode->Has(vsExpanded) && HasChildren(FFocusedNode)) {
        if (modifiers.Empty()) ToggleNode(FFocusedNode);
      } else if (FFocusedNode == nullptr) {
        SetFocusedNode(GetFirstVisible(nullptr, true, false));
      } else {
        PLiveNode child = GetFirstVisibleChild(FFocusedNode);
        if (child != nullptr) {
          if (shiftSelect && beforeAnchor(lastFocused)) RemoveFromSelection(FFocusedNode);
          SetFocusedNode(child);
        }
      }
      break;
    case ltkBack:
      if (searching) {
        searchCharacter();
        return;
      }
      if (FFocusedNode != nullptr && FFocusedNode->Parent != FRoot) SetFocusedNode(FFocusedNode->Parent);
      break;
    case ltkTab: {
      if (!extendedFocus || !FHeader->UseColumns()) break;
      bool backward = shiftKey;
      PLiveNode node = FFocusedNode;
      TColumnIndex column = FFocusedColumn;
      while (node != nullptr) {
        column = backward ? columns.GetPreviousVisibleColumn(column) : columns.GetNextVisibleColumn(column);
        if (column == InvalidColumn) {
          node = backward ? GetPreviousVisible(node, true) : GetNextVisible(node, true);
          if (node == nullptr) break;
          column = backward ? columns.GetLastVisibleColumn() : columns.GetFirstVisibleColumn();
          if (column == InvalidColumn) break;
        }
        if (AskFocusChange(FFocusedNode, node, FFocusedColumn, column)) {
          PLiveNode oldNode = FFocusedNode;
          TColumnIndex oldColumn = FFocusedColumn;
          if (FHeader->AllowFocus(column)) FFocusedColumn = column;
          ChangeFocus(node, false);
          if (oldNode != FFocusedNode || oldColumn != FFocusedColumn) FireFocusChanged(FFocusedNode, FFocusedColumn);
          break;
        }
      }
      break;
    }
    default: break;
  }

  if (clearSelection && (lastFocused != FFocusedNode || SelectedCount() != 1)) ClearSelection();
  bool cleared = clearSelection && SelectedCount() == 0;
  if (modifiers.Empty()) {
    FRangeAnchor = FFocusedNode;
    FLastSelectionLevel = FFocusedNode != nullptr ? static_cast<Integer>(GetNodeLevel(FFocusedNode)) : -1;
  }
  if (FFocusedNode != nullptr) {
    if (rangeJump && lastFocused != nullptr) ToggleRange(lastFocused, FFocusedNode);
    if (lastFocused != FFocusedNode || cleared) AddToSelection(FFocusedNode);
  }
  if (needRepaint) Invalidate();
}

void TBaseLiveTree::KeyUp(Word charCode, TShiftState) {
  if (charCode == ltkTab) FocusFirstIfNone();
  if (charCode != ltkSpace || !TreeStates().Contains(tsKeyCheckPending)) return;
  ChangeTreeStates({}, {tsKeyCheckPending});
  PLiveNode node = FCheckNode;
  FCheckNode = nullptr;
  if (node == nullptr) return;
  if (node == FFocusedNode)
    CheckClick(node, FPendingCheckState);
  else
    node->CheckState = NormalForm(node->CheckState);
  InvalidateNode(node);
}

void TBaseLiveTree::KeyPress(Char c) {
  if (!TreeStates().Contains(tsIncrementalSearchPending)) return;
  ChangeTreeStates({}, {tsIncrementalSearchPending});
  SearchIncrementally(c);
}

void TBaseLiveTree::SearchIncrementally(Char c) {
  FHost->StopTimer(TimerIdSearch);
  if (FIncrementalSearch == isNone) return;
  if (c != 0) {
    ChangeTreeStates({tsIncrementalSearching}, {});
    const bool isBack = c == 8;
    if (isBack && FSearchBuffer.empty()) {
      FHost->StartTimer(TimerIdSearch, FSearchTimeout);
      return;
    }
    PLiveNode startNode = nullptr;
    if (FSearchStart == ssLastHit)
      startNode = FLastSearchNode;
    else if (FSearchStart == ssFocusedNode)
      startNode = FFocusedNode;
    if (startNode != nullptr) {
      if (FIncrementalSearch == isInitializedOnly && !startNode->Has(vsInitialized)) startNode = nullptr;
      if (FIncrementalSearch == isVisibleOnly &&
          (!GetEffectivelyVisible(startNode) || !AncestorsShown(startNode) || GetEffectivelyFiltered(startNode)))
        startNode = nullptr;
    }
    bool forward = FSearchDirection == sdForward;
    if (isBack) forward = !forward;
    auto step = [&](PLiveNode node) -> PLiveNode {
      switch (FIncrementalSearch) {
        case isInitializedOnly: return forward ? GetNextNoInit(node) : GetPreviousNoInit(node);
        case isVisibleOnly: return forward ? GetNextVisible(node, true) : GetPreviousVisible(node, true);
        default: return forward ? GetNext(node) : GetPrevious(node);
      }
    };
    auto first = [&]() -> PLiveNode {
      switch (FIncrementalSearch) {
        case isInitializedOnly: return forward ? GetFirstNoInit() : GetLastNoInit();
        case isVisibleOnly:
          return forward ? GetFirstVisible(nullptr, true, false) : GetLastVisible(nullptr, true, false);
        default: return forward ? GetFirst() : GetLast();
      }
    };
    bool repeat = FSearchBuffer.size() == 1 && !isBack && c == FSearchBuffer[0];
    // A doubled letter that the start node continues is a word, not a cycle.
    if (repeat && startNode != nullptr && IncrementalSearchCompare(startNode, FSearchBuffer + c) == 0) repeat = false;
    PLiveNode candidate = nullptr;
    if (FSearchBuffer.empty() || startNode == nullptr || repeat || isBack) {
      if (startNode != nullptr) {
        candidate = step(startNode);
        if (candidate == nullptr) candidate = first();
      } else {
        candidate = first();
      }
    } else {
      candidate = startNode;
    }
    String searchText;
    if (repeat) {
      searchText = FSearchBuffer;
    } else if (isBack) {
      FSearchBuffer.pop_back();
      searchText = FSearchBuffer;
    } else {
      searchText = FSearchBuffer + c;
    }
    PLiveNode found = nullptr;
    for (PLiveNode run = candidate; run != nullptr;) {
      if (IncrementalSearchCompare(run, searchText) == 0) {
        found = run;
        break;
      }
      run = step(run);
      if (run == nullptr) {
        if (startNode == nullptr) break;
        run = first();
      }
      if (run == startNode) break;
    }
    if (found != nullptr) {
      ClearSelection();
      FSearchBuffer = searchText;
      FLastSearchNode = found;
      SetFocusedNode(found);
      SetSelected(found, true);
    } else if (candidate != nullptr) {
      FHost->Beep();
    }
  }
  FHost->StartTimer(TimerIdSearch, FSearchTimeout);
}
