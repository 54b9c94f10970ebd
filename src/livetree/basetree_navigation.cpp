// Navigation: the initialising and the NoInit walks in display order, the
// visible-node walks, level, selection, check and cut/copy walks, absolute
// index, subtree iteration and the enumeration records.
#include "livetree/basetree.h"
#include "livetree/livetreeassert.h"

namespace {

constexpr const char* RootNotAllowed = "Node must not be the hidden root node.";

}  // namespace

// ---- Pre-order and children-above order ----

PLiveNode TBaseLiveTree::GetFirst(bool considerChildrenAbove) {
  PLiveNode result = FRoot->FirstChild;
  if (result == nullptr) return nullptr;
  if (!result->Has(vsInitialized)) InitializeNode(result);
  if (ChildrenAbove(considerChildrenAbove) && FRoot->Has(vsHasChildren)) {
    for (PLiveNode child = GetFirstChild(result); child != nullptr; child = GetFirstChild(result)) result = child;
  }
  return result;
}

PLiveNode TBaseLiveTree::GetFirstNoInit(bool considerChildrenAbove) const {
  PLiveNode result = FRoot->FirstChild;
  if (result != nullptr && ChildrenAbove(considerChildrenAbove)) {
    while (result->FirstChild != nullptr) result = result->FirstChild;
  }
  return result;
}

PLiveNode TBaseLiveTree::GetNext(PLiveNode node, bool considerChildrenAbove) {
  if (node == nullptr) return nullptr;
  LTAssert(node != FRoot, RootNotAllowed);
  PLiveNode result;
  if (ChildrenAbove(considerChildrenAbove)) {
    if (node->NextSibling != nullptr) {
      result = node->NextSibling;
      for (;;) {
        if (!result->Has(vsInitialized)) InitializeNode(result);
        if (result->Has(vsHasChildren) && result->ChildCount == 0) InitializeChildren(result);
        if (result->FirstChild == nullptr) break;
        result = result->FirstChild;
      }
    } else {
      result = node->Parent == FRoot ? nullptr : node->Parent;
    }
  } else {
    if (node->Has(vsHasChildren) && node->ChildCount == 0) InitializeChildren(node);
    if (node->FirstChild != nullptr) {
      result = node->FirstChild;
    } else {
      result = node;
      while (result != FRoot && result->NextSibling == nullptr) result = result->Parent;
      result = result == FRoot ? nullptr : result->NextSibling;
    }
  }
  if (result != nullptr && !result->Has(vsInitialized)) InitializeNode(result);
  return result;
}

PLiveNode TBaseLiveTree::GetNextNoInit(PLiveNode node, bool considerChildrenAbove) const {
  if (node == nullptr) return nullptr;
  LTAssert(node != FRoot, RootNotAllowed);
  if (ChildrenAbove(considerChildrenAbove)) {
    if (node->NextSibling == nullptr) return node->Parent == FRoot ? nullptr : node->Parent;
    PLiveNode result = node->NextSibling;
    while (result->FirstChild != nullptr) result = result->FirstChild;
    return result;
  }
  if (node->FirstChild != nullptr) return node->FirstChild;
  PLiveNode result = node;
  while (result != FRoot && result->NextSibling == nullptr) result = result->Parent;
  return result == FRoot ? nullptr : result->NextSibling;
}

PLiveNode TBaseLiveTree::GetPrevious(PLiveNode node, bool considerChildrenAbove) {
  if (node == nullptr) return nullptr;
  LTAssert(node != FRoot, RootNotAllowed);
  PLiveNode result;
  if (ChildrenAbove(considerChildrenAbove)) {
    result = GetLastChild(node);
    if (result == nullptr) {
      result = node;
      while (result != FRoot && result->PrevSibling == nullptr) result = result->Parent;
      result = result == FRoot ? nullptr : result->PrevSibling;
    }
  } else if (node->PrevSibling != nullptr) {
    result = GetLast(node->PrevSibling, false);
    if (result == nullptr) result = node->PrevSibling;
  } else {
    result = node->Parent == FRoot ? nullptr : node->Parent;
  }
  if (result != nullptr && !result->Has(vsInitialized)) InitializeNode(result);
  return result;
}

PLiveNode TBaseLiveTree::GetPreviousNoInit(PLiveNode node, bool considerChildrenAbove) const {
  if (node == nullptr) return nullptr;
  LTAssert(node != FRoot, RootNotAllowed);
  if (ChildrenAbove(considerChildrenAbove)) {
    if (node->LastChild != nullptr && node->Has(vsHasChildren)) return node->LastChild;
    PLiveNode result = node;
    while (result != FRoot && result->PrevSibling == nullptr) result = result->Parent;
    return result == FRoot ? nullptr : result->PrevSibling;
  }
  if (node->PrevSibling != nullptr) {
    PLiveNode result = GetLastNoInit(node->PrevSibling, false);
    return result != nullptr ? result : node->PrevSibling;
  }
  return node->Parent == FRoot ? nullptr : node->Parent;
}

PLiveNode TBaseLiveTree::GetFirstChild(PLiveNode node) {
  PLiveNode result;
  if (node == nullptr || node == FRoot) {
    result = FRoot->FirstChild;
  } else {
    if (!node->Has(vsInitialized)) InitializeNode(node);
    if (!node->Has(vsHasChildren)) return nullptr;
    if (node->ChildCount == 0) InitializeChildren(node);
    result = node->FirstChild;
  }
  if (result != nullptr && !result->Has(vsInitialized)) InitializeNode(result);
  return result;
}

PLiveNode TBaseLiveTree::GetLastChild(PLiveNode node) {
  PLiveNode result;
  if (node == nullptr || node == FRoot) {
    result = FRoot->LastChild;
  } else {
    if (!node->Has(vsInitialized)) InitializeNode(node);
    if (!node->Has(vsHasChildren)) return nullptr;
    if (node->ChildCount == 0) InitializeChildren(node);
    result = node->LastChild;
  }
  if (result != nullptr && !result->Has(vsInitialized)) InitializeNode(result);
  return result;
}

PLiveNode TBaseLiveTree::GetFirstChildNoInit(PLiveNode node) const {
  if (node == nullptr || node == FRoot) return FRoot->FirstChild;
  return node->Has(vsHasChildren) ? node->FirstChild : nullptr;
}

PLiveNode TBaseLiveTree::GetLastChildNoInit(PLiveNode node) const {
  if (node == nullptr || node == FRoot) return FRoot->LastChild;
  return node->Has(vsHasChildren) ? node->LastChild : nullptr;
}

PLiveNode TBaseLiveTree::GetLast(PLiveNode node, bool considerChildrenAbove) {
  PLiveNode result = GetLastChild(node);
  if (!ChildrenAbove(considerChildrenAbove)) {
    while (result != nullptr) {
      PLiveNode child = GetLastChild(result);
      if (child == nullptr) break;
      result = child;
    }
  }
  return result;
}

PLiveNode TBaseLiveTree::GetLastNoInit(PLiveNode node, bool considerChildrenAbove) const {
  PLiveNode result = GetLastChildNoInit(node);
  if (!ChildrenAbove(considerChildrenAbove)) {
    while (result != nullptr) {
      PLiveNode child = GetLastChildNoInit(result);
      if (child == nullptr) break;
      result = child;
    }
  }
  return result;
}

PLiveNode TBaseLiveTree::GetNextSibling(PLiveNode node) {
  PLiveNode result = node ? node->NextSibling : nullptr;
  if (result != nullptr && !result->Has(vsInitialized)) InitializeNode(result);
  return result;
}

PLiveNode TBaseLiveTree::GetPreviousSibling(PLiveNode node) {
  PLiveNode result = node ? node->PrevSibling : nullptr;
  if (result != nullptr && !result->Has(vsInitialized)) InitializeNode(result);
  return result;
}

PLiveNode TBaseLiveTree::GetNextSiblingNoInit(PLiveNode node) const {
  return node ? node->NextSibling : nullptr;
}

PLiveNode TBaseLiveTree::GetPreviousSiblingNoInit(PLiveNode node) const {
  return node ? node->PrevSibling : nullptr;
}

// ---- Initialised nodes ----

PLiveNode TBaseLiveTree::GetFirstInitialized(bool considerChildrenAbove) const {
  PLiveNode result = GetFirstNoInit(considerChildrenAbove);
  if (result != nullptr && !result->Has(vsInitialized)) result = GetNextInitialized(result, considerChildrenAbove);
  return result;
}

PLiveNode TBaseLiveTree::GetNextInitialized(PLiveNode node, bool considerChildrenAbove) const {
  PLiveNode result = node;
  do result = GetNextNoInit(result, considerChildrenAbove);
  while (result != nullptr && !result->Has(vsInitialized));
  return result;
}

PLiveNode TBaseLiveTree::GetPreviousInitialized(PLiveNode node, bool considerChildrenAbove) const {
  PLiveNode result = node;
  do result = GetPreviousNoInit(result, considerChildrenAbove);
  while (result != nullptr && !result->Has(vsInitialized));
  return result;
}

PLiveNode TBaseLiveTree::GetLastInitialized(PLiveNode node, bool considerChildrenAbove) const {
  PLiveNode result = GetLastNoInit(node, considerChildrenAbove);
  if (result != nullptr && !result->Has(vsInitialized)) result = GetPreviousInitialized(result, considerChildrenAbove);
  return result;
}

// ---- Leaves ----

PLiveNode TBaseLiveTree::GetNextLeaf(PLiveNode node) {
  PLiveNode result;
  if (node == nullptr || node == FRoot) {
    result = FRoot->FirstChild;
    if (result != nullptr && !result->Has(vsInitialized)) InitializeNode(result);
  } else {
    result = GetNext(node, false);
  }
  while (result != nullptr) {
    if (result->Has(vsHasChildren) && result->ChildCount == 0) InitializeChildren(result);
    if (!result->Has(vsHasChildren)) break;
    result = GetNext(result, false);
  }
  return result;
}

PLiveNode TBaseLiveTree::GetPreviousLeaf(PLiveNode node) {
  // Without a node the walk starts at the last node in display order, the
  // deepest last descendant, so no leaf below the last top-level node is
  // missed.
  PLiveNode result;
  if (node == nullptr || node == FRoot) {
    result = GetLast(nullptr, false);
  } else {
    result = GetPrevious(node, false);
  }
  while (result != nullptr) {
    if (result->Has(vsHasChildren) && result->ChildCount == 0) InitializeChildren(result);
    if (!result->Has(vsHasChildren)) break;
    result = GetPrevious(result, false);
  }
  return result;
}

// ---- Levels ----

PLiveNode TBaseLiveTree::GetFirstLevel(Cardinal nodeLevel) {
  PLiveNode result = GetFirstNoInit(true);
  while (result != nullptr && GetNodeLevel(result) != nodeLevel) result = GetNextNoInit(result, true);
  if (result != nullptr && !result->Has(vsInitialized)) InitializeNode(result);
  return result;
}

PLiveNode TBaseLiveTree::GetNextLevel(PLiveNode node, Cardinal nodeLevel) {
  if (node == nullptr || node == FRoot) return nullptr;
  PLiveNode result = node;
  Cardinal level = GetNodeLevel(result);
  while (level > nodeLevel) {
    result = result->Parent;
    --level;
  }
  if (level == nodeLevel) {
    while (result != FRoot && result->NextSibling == nullptr) result = result->Parent;
    if (result == FRoot) return nullptr;
    result = GetNextSibling(result);
    level = GetNodeLevel(result);
  }
  // From a node above the level the walk descends until it meets the level;
  // it cannot pass it, since each step goes down one level at most.
  while (result != nullptr && level != nodeLevel) {
    result = GetNext(result, false);
    if (result != nullptr) level = GetNodeLevel(result);
  }
  return result;
}

PLiveNode TBaseLiveTree::GetPreviousLevelFrom(PLiveNode node, Cardinal nodeLevel) {
  // The last node at the level within Node's subtree, Node included.
  Cardinal level = GetNodeLevel(node);
  if (level == nodeLevel) return node;
  if (level > nodeLevel) return nullptr;
  for (PLiveNode child = GetLastChild(node); child != nullptr; child = GetPreviousSibling(child)) {
    PLiveNode found = GetPreviousLevelFrom(child, nodeLevel);
    if (found != nullptr) return found;
  }
  return nullptr;
}

PLiveNode TBaseLiveTree::GetPreviousLevel(PLiveNode node, Cardinal nodeLevel) {
  if (node == nullptr || node == FRoot) return nullptr;
  PLiveNode result = node;
  Cardinal level = GetNodeLevel(result);
  if (level > nodeLevel) {
    // The ancestor at the level comes before the node.
    while (level > nodeLevel) {
      result = result->Parent;
      --level;
    }
    if (!result->Has(vsInitialized)) InitializeNode(result);
    return result;
  }
  for (;;) {
    while (result != FRoot && result->PrevSibling == nullptr) result = result->Parent;
    if (result == FRoot) return nullptr;
    result = GetPreviousSibling(result);
    PLiveNode found = GetPreviousLevelFrom(result, nodeLevel);
    if (found != nullptr) return found;
  }
}

// ---- Selected, checked and cut/copy nodes ----

PLiveNode TBaseLiveTree::GetNextSelected(PLiveNode node, bool considerChildrenAbove) const {
  if (FSelection.empty()) return nullptr;
  PLiveNode result = (node == nullptr || node == FRoot) ? GetFirstNoInit(considerChildrenAbove)
                                                        : GetNextNoInit(node, considerChildrenAbove);
  while (result != nullptr && !result->Has(vsSelected)) result = GetNextNoInit(result, considerChildrenAbove);
  return result;
}

PLiveNode TBaseLiveTree::GetPreviousSelected(PLiveNode node, bool considerChildrenAbove) const {
  if (FSelection.empty()) return nullptr;
  // Without a node the search starts at the last node in display order.
  PLiveNode result = (node == nullptr || node == FRoot) ? GetLastNoInit(nullptr, considerChildrenAbove)
                                                        : GetPreviousNoInit(node, considerChildrenAbove);
  while (result != nullptr && !result->Has(vsSelected)) result = GetPreviousNoInit(result, considerChildrenAbove);
  return result;
}

PLiveNode TBaseLiveTree::GetNextChecked(PLiveNode node, TCheckState state, bool considerChildrenAbove) const {
  PLiveNode result = (node == nullptr || node == FRoot) ? GetFirstNoInit(considerChildrenAbove)
                                                        : GetNextNoInit(node, considerChildrenAbove);
  while (result != nullptr && result->CheckState != state) result = GetNextNoInit(result, considerChildrenAbove);
  return result;
}

PLiveNode TBaseLiveTree::GetPreviousChecked(PLiveNode node, TCheckState state, bool considerChildrenAbove) const {
  PLiveNode result = (node == nullptr || node == FRoot) ? GetLastNoInit(nullptr, considerChildrenAbove)
                                                        : GetPreviousNoInit(node, considerChildrenAbove);
  while (result != nullptr && result->CheckState != state) result = GetPreviousNoInit(result, considerChildrenAbove);
  return result;
}

PLiveNode TBaseLiveTree::GetNextCutCopy(PLiveNode node, bool considerChildrenAbove) const {
  TLiveTreeStates states = TreeStates();
  if (!states.Contains(tsCutPending) && !states.Contains(tsCopyPending)) return nullptr;
  PLiveNode result = (node == nullptr || node == FRoot) ? GetFirstNoInit(considerChildrenAbove)
                                                        : GetNextNoInit(node, considerChildrenAbove);
  while (result != nullptr && !result->Has(vsCutOrCopy)) result = GetNextNoInit(result, considerChildrenAbove);
  return result;
}

PLiveNode TBaseLiveTree::GetPreviousCutCopy(PLiveNode node, bool considerChildrenAbove) const {
  TLiveTreeStates states = TreeStates();
  if (!states.Contains(tsCutPending) && !states.Contains(tsCopyPending)) return nullptr;
  PLiveNode result = (node == nullptr || node == FRoot) ? GetLastNoInit(nullptr, considerChildrenAbove)
                                                        : GetPreviousNoInit(node, considerChildrenAbove);
  while (result != nullptr && !result->Has(vsCutOrCopy)) result = GetPreviousNoInit(result, considerChildrenAbove);
  return result;
}

// ---- Visible nodes ----

PLiveNode TBaseLiveTree::GetFirstVisible(PLiveNode node, bool considerChildrenAbove, bool includeFiltered) {
  if (node == nullptr) node = FRoot;
  if (!node->Has(vsHasChildren)) return nullptr;
  PLiveNode result = GetFirstChild(node);
  if (ChildrenAbove(considerChildrenAbove)) {
    PLiveNode parent = nullptr;
    for (;;) {
      while (result != nullptr && !result->Has(vsVisible)) result = GetNextSibling(result);
      if (result == nullptr) {
        result = parent;
        break;
      }
      if (!result->Has(vsExpanded)) break;
      PLiveNode child = GetFirstChild(result);
      if (child == nullptr) break;
      parent = result;
      result = child;
    }
  } else {
    while (result != nullptr && !result->Has(vsVisible)) {
      if (result->NextSibling != nullptr) {
        result = GetNextSibling(result);
      } else {
        PLiveNode run = result->Parent;
        while (run != FRoot && run->NextSibling == nullptr) run = run->Parent;
        result = run == FRoot ? nullptr : GetNextSibling(run);
      }
    }
  }
  if (result != nullptr && !includeFiltered && GetEffectivelyFiltered(result)) result = GetNextVisible(result, true);
  return result;
}

PLiveNode TBaseLiveTree::GetFirstVisibleNoInit(PLiveNode node, bool considerChildrenAbove, bool includeFiltered) const {
  if (node == nullptr) node = FRoot;
  if (!node->Has(vsHasChildren)) return nullptr;
  PLiveNode result = node->FirstChild;
  if (ChildrenAbove(considerChildrenAbove)) {
    PLiveNode parent = nullptr;
    for (;;) {
      while (result != nullptr && !result->Has(vsVisible)) result = result->NextSibling;
      if (result == nullptr) {
        result = parent;
        break;
      }
      if (!result->Has(vsExpanded) || result->FirstChild == nullptr) break;
      parent = result;
      result = result->FirstChild;
    }
  } else {
    while (result != nullptr && !result->Has(vsVisible)) {
      if (result->NextSibling != nullptr) {
        result = result->NextSibling;
      } else {
        PLiveNode run = result->Parent;
        while (run != FRoot && run->NextSibling == nullptr) run = run->Parent;
        result = run == FRoot ? nullptr : run->NextSibling;
      }
    }
  }
  if (result != nullptr && !includeFiltered && GetEffectivelyFiltered(result))
    result = GetNextVisibleNoInit(result, true);
  return result;
}

PLiveNode TBaseLiveTree::GetNextVisibleStep(PLiveNode node, bool considerChildrenAbove, bool init) {
  auto initialise = [&](PLiveNode n) {
    if (init && n != nullptr && !n->Has(vsInitialized)) InitializeNode(n);
  };
  PLiveNode result = node;
  if (ChildrenAbove(considerChildrenAbove)) {
    if (init && !ShownPath(result)) result = GetVisibleParent(result, true);
    if (result == FRoot) return nullptr;
    for (;;) {
      if (result->NextSibling != nullptr) {
        result = result->NextSibling;
        initialise(result);
        if (!result->Has(vsVisible)) continue;
        for (;;) {
          if (!result->Has(vsExpanded)) break;
          if (init && result->Has(vsHasChildren) && result->ChildCount == 0) InitializeChildren(result);
          PLiveNode child = result->FirstChild;
          initialise(child);
          while (child != nullptr && !child->Has(vsVisible)) {
            child = child->NextSibling;
            initialise(child);
          }
          if (child == nullptr) break;
          result = child;
        }
        return result;
      }
      result = result->Parent;
      if (result == FRoot) return nullptr;
      initialise(result);
      return result;
    }
  }
  if (!ShownPath(result)) result = GetVisibleParent(result, true);
  if (result->Has(vsExpanded)) {
    if (init && result->Has(vsHasChildren) && result->ChildCount == 0) InitializeChildren(result);
    if (result->FirstChild != nullptr) {
      result = result->FirstChild;
      initialise(result);
      if (result->Has(vsVisible)) return result;
    }
  }
  if (result == FRoot) return nullptr;
  for (;;) {
    while (result->NextSibling != nullptr) {
      result = result->NextSibling;
      initialise(result);
      if (result->Has(vsVisible)) return result;
    }
    result = result->Parent;
    if (result == FRoot) return nullptr;
  }
}

PLiveNode TBaseLiveTree::GetNextVisible(PLiveNode node, bool considerChildrenAbove) {
  if (node == nullptr) return nullptr;
  LTAssert(node != FRoot, RootNotAllowed);
  PLiveNode result = node;
  do result = GetNextVisibleStep(result, considerChildrenAbove, true);
  while (result != nullptr && !GetEffectivelyVisible(result));
  return result;
}

PLiveNode TBaseLiveTree::GetNextVisibleNoInit(PLiveNode node, bool considerChildrenAbove) const {
  if (node == nullptr) return nullptr;
  LTAssert(node != FRoot, RootNotAllowed);
  // The step without initialisation changes nothing, so it may run on a const
  // tree (and on the cache builder thread).
  auto* self = const_cast<TBaseLiveTree*>(this);
  PLiveNode result = node;
  do result = self->GetNextVisibleStep(result, considerChildrenAbove, false);
  while (result != nullptr && !GetEffectivelyVisible(result));
  return result;
}

PLiveNode TBaseLiveTree::GetPreviousVisibleStep(PLiveNode node, bool considerChildrenAbove, bool init) {
  auto initialise = [&](PLiveNode n) {
    if (init && n != nullptr && !n->Has(vsInitialized)) InitializeNode(n);
  };
  PLiveNode result = node;
  if (!ShownPath(result)) {
    PLiveNode parent = GetVisibleParent(result, true);
    if (parent == FRoot) return nullptr;
    PLiveNode last = init ? GetLastVisible(parent, true, false) : GetLastVisibleNoInit(parent, true, false);
    return last != nullptr ? last : parent;
  }
  if (ChildrenAbove(considerChildrenAbove)) {
    if (result->Has(vsExpanded)) {
      if (init && result->Has(vsHasChildren) && result->ChildCount == 0) InitializeChildren(result);
      if (result->LastChild != nullptr) {
        result = result->LastChild;
        initialise(result);
        if (result->Has(vsVisible)) return result;
      }
    }
    for (;;) {
      if (result->PrevSibling != nullptr) {
        result = result->PrevSibling;
        initialise(result);
        if (result->Has(vsVisible)) return result;
        continue;
      }
      result = result->Parent;
      if (result == FRoot) return nullptr;
    }
  }
  for (;;) {
    if (result->PrevSibling == nullptr) {
      result = result->Parent;
      return result == FRoot ? nullptr : result;
    }
    result = result->PrevSibling;
    initialise(result);
    if (result->Has(vsVisible)) {
      PLiveNode last = init ? GetLastVisible(result, true, true) : GetLastVisibleNoInit(result, true, true);
      return last != nullptr ? last : result;
    }
  }
}

PLiveNode TBaseLiveTree::GetPreviousVisible(PLiveNode node, bool considerChildrenAbove) {
  if (node == nullptr) return nullptr;
  LTAssert(node != FRoot, RootNotAllowed);
  PLiveNode result = node;
  do result = GetPreviousVisibleStep(result, considerChildrenAbove, true);
  while (result != nullptr && !GetEffectivelyVisible(result));
  return result;
}

PLiveNode TBaseLiveTree::GetPreviousVisibleNoInit(PLiveNode node, bool considerChildrenAbove) const {
  if (node == nullptr) return nullptr;
  LTAssert(node != FRoot, RootNotAllowed);
  auto* self = const_cast<TBaseLiveTree*>(this);
  PLiveNode result = node;
  do result = self->GetPreviousVisibleStep(result, considerChildrenAbove, false);
  while (result != nullptr && !GetEffectivelyVisible(result));
  return result;
}

PLiveNode TBaseLiveTree::GetLastVisible(PLiveNode node, bool considerChildrenAbove, bool includeFiltered) {
  PLiveNode result = GetLastVisibleNoInit(node, considerChildrenAbove, includeFiltered);
  PLiveNode stop = node == nullptr ? FRoot : node;
  for (PLiveNode run = result; run != nullptr && run != stop && run != FRoot; run = run->Parent)
    if (!run->Has(vsInitialized)) InitializeNode(run);
  return result;
}

PLiveNode TBaseLiveTree::GetLastVisibleNoInit(PLiveNode node, bool considerChildrenAbove, bool includeFiltered) const {
  PLiveNode top = node == nullptr ? FRoot : node;
  PLiveNode result = GetLastNoInit(top, considerChildrenAbove);
  while (result != nullptr && result != top) {
    // In children-above order the walk backwards could leave the subtree
    // without meeting its top node.
    if (top != FRoot && !HasAsParent(result, top)) return nullptr;
    if (ShownPath(result) && (includeFiltered || !GetEffectivelyFiltered(result))) break;
    result = GetPreviousNoInit(result, considerChildrenAbove);
  }
  return result == top ? nullptr : result;
}

PLiveNode TBaseLiveTree::GetNextVisibleSibling(PLiveNode node, bool includeFiltered) {
  LTAssert(node != nullptr && node != FRoot, "Invalid parameter.");
  PLiveNode result = node;
  do result = GetNextSibling(result);
  while (result != nullptr && (!result->Has(vsVisible) || (!includeFiltered && GetEffectivelyFiltered(result))));
  return result;
}

PLiveNode TBaseLiveTree::GetPreviousVisibleSibling(PLiveNode node, bool includeFiltered) {
  LTAssert(node != nullptr && node != FRoot, "Invalid parameter.");
  PLiveNode result = node;
  do result = GetPreviousSibling(result);
  while (result != nullptr && (!result->Has(vsVisible) || (!includeFiltered && GetEffectivelyFiltered(result))));
  return result;
}

PLiveNode TBaseLiveTree::GetNextVisibleSiblingNoInit(PLiveNode node, bool includeFiltered) const {
  LTAssert(node != nullptr && node != FRoot, "Invalid parameter.");
  PLiveNode result = node;
  do result = result->NextSibling;
  while (result != nullptr && (!result->Has(vsVisible) || (!includeFiltered && GetEffectivelyFiltered(result))));
  return result;
}

PLiveNode TBaseLiveTree::GetPreviousVisibleSiblingNoInit(PLiveNode node, bool includeFiltered) const {
  LTAssert(node != nullptr && node != FRoot, "Invalid parameter.");
  PLiveNode result = node;
  do result = result->PrevSibling;
  while (result != nullptr && (!result->Has(vsVisible) || (!includeFiltered && GetEffectivelyFiltered(result))));
  return result;
}

// The child found first is skipped when it is itself hidden or (without
// IncludeFiltered) effectively filtered; the parent's own filter state plays
// no part.
PLiveNode TBaseLiveTree::GetFirstVisibleChild(PLiveNode node, bool includeFiltered) {
  PLiveNode result = GetFirstChild(node);
  if (result != nullptr && (!result->Has(vsVisible) || (!includeFiltered && GetEffectivelyFiltered(result))))
    result = GetNextVisibleSibling(result, includeFiltered);
  return result;
}

PLiveNode TBaseLiveTree::GetFirstVisibleChildNoInit(PLiveNode node, bool includeFiltered) const {
  PLiveNode result = (node == nullptr ? FRoot : node)->FirstChild;
  if (result != nullptr && (!result->Has(vsVisible) || (!includeFiltered && GetEffectivelyFiltered(result))))
    result = GetNextVisibleSiblingNoInit(result, includeFiltered);
  return result;
}

PLiveNode TBaseLiveTree::GetLastVisibleChild(PLiveNode node, bool includeFiltered) {
  PLiveNode result;
  if (node == nullptr || node == FRoot)
    result = GetLastChild(nullptr);
  else if (ShownPath(node) && node->Has(vsExpanded))
    result = GetLastChild(node);
  else
    result = nullptr;
  if (result != nullptr && (!result->Has(vsVisible) || (!includeFiltered && GetEffectivelyFiltered(result))))
    result = GetPreviousVisibleSibling(result, includeFiltered);
  if (result != nullptr && !result->Has(vsInitialized)) InitializeNode(result);
  return result;
}

PLiveNode TBaseLiveTree::GetLastVisibleChildNoInit(PLiveNode node, bool includeFiltered) const {
  PLiveNode result;
  if (node == nullptr || node == FRoot)
    result = FRoot->LastChild;
  else if (ShownPath(node) && node->Has(vsExpanded))
    result = GetLastChildNoInit(node);
  else
    result = nullptr;
  if (result != nullptr && (!result->Has(vsVisible) || (!includeFiltered && GetEffectivelyFiltered(result))))
    result = GetPreviousVisibleSiblingNoInit(result, includeFiltered);
  return result;
}

PLiveNode TBaseLiveTree::GetVisibleParent(PLiveNode node, bool includeFiltered) const {
  LTAssert(node != nullptr, "Node must not be nil.");
  LTAssert(node != FRoot, RootNotAllowed);
  PLiveNode result = node->Parent;
  while (result != FRoot && (!ShownPath(result) || (!includeFiltered && GetEffectivelyFiltered(result))))
    result = result->Parent;
  return result;
}

bool TBaseLiveTree::HasShownNextSibling(PLiveNode node) const {
  for (PLiveNode run = node->NextSibling; run; run = run->NextSibling)
    if (GetEffectivelyVisible(run)) return true;
  return false;
}

bool TBaseLiveTree::HasShownPreviousSibling(PLiveNode node) const {
  for (PLiveNode run = node->PrevSibling; run; run = run->PrevSibling)
    if (GetEffectivelyVisible(run)) return true;
  return false;
}

bool TBaseLiveTree::IsFirstShownChild(PLiveNode parent, PLiveNode node) const {
  for (PLiveNode run = (parent ? parent : FRoot)->FirstChild; run; run = run->NextSibling)
    if (GetEffectivelyVisible(run)) return run == node;
  return false;
}

bool TBaseLiveTree::IsLastShownChild(PLiveNode parent, PLiveNode node) const {
  for (PLiveNode run = (parent ? parent : FRoot)->LastChild; run; run = run->PrevSibling)
    if (GetEffectivelyVisible(run)) return run == node;
  return false;
}

// ---- Index and iteration ----

Cardinal TBaseLiveTree::AbsoluteIndex(PLiveNode node) {
  if (node == nullptr || node == FRoot) return 0;
  Cardinal result = 0;
  PLiveNode run = node;
  while (run != FRoot) {
    if (!run->Has(vsInitialized)) InitializeNode(run);
    if (run->PrevSibling != nullptr) {
      run = run->PrevSibling;
      result += run->TotalCount;
    } else {
      run = run->Parent;
      if (run != FRoot) ++result;
    }
  }
  return result;
}

PLiveNode TBaseLiveTree::IterateSubtree(PLiveNode node, const TLTGetNodeProc& callback, void* data,
                                        TLiveNodeStates filter, bool doInit, bool childNodesOnly) {
  LTAssert(node != FRoot, RootNotAllowed);
  bool wasIterating = TreeStates().Contains(tsIterating);
  ChangeTreeStates({tsIterating}, {});
  struct Leave {
    TBaseLiveTree* Tree;
    bool Keep;
    ~Leave() {
      if (!Keep) Tree->ChangeTreeStates({}, {tsIterating});
    }
  } leave{this, wasIterating};

  auto step = [&](PLiveNode n) { return doInit ? GetNext(n, false) : GetNextNoInit(n, false); };
  PLiveNode stop = nullptr;
  PLiveNode run;
  if (node != nullptr) {
    if (doInit && !node->Has(vsInitialized)) InitializeNode(node);
    PLiveNode up = node;
    while (up != FRoot && up->NextSibling == nullptr) up = up->Parent;
    stop = up == FRoot ? nullptr : up->NextSibling;
    run = node;
  } else {
    run = GetFirstNoInit(false);
    if (run != nullptr && doInit && !run->Has(vsInitialized)) InitializeNode(run);
  }
  if (childNodesOnly) {
    if (run == nullptr) return nullptr;
    if (doInit && run->Has(vsHasChildren) && run->ChildCount == 0) InitializeChildren(run);
    run = run->FirstChild != nullptr ? step(run) : nullptr;
  }
  while (run != nullptr && run != stop) {
    if (filter.Empty() || run->GetStates().ContainsAll(filter)) {
      bool abort = false;
      callback(this, run, data, abort);
      if (abort) return run;
    }
    run = step(run);
  }
  return nullptr;
}

// ---- Enumerations ----

namespace {

TLTLiveNodeEnumeration MakeEnumeration(TBaseLiveTree* tree, TVZLiveNodeEnumerationMode mode) {
  TLTLiveNodeEnumeration result;
  result.FTree = tree;
  result.FMode = mode;
  return result;
}

}  // namespace

TLTLiveNodeEnumeration TBaseLiveTree::Nodes(bool considerChildrenAbove) {
  auto result = MakeEnumeration(this, vneAll);
  result.FConsiderChildrenAbove = considerChildrenAbove;
  return result;
}

TLTLiveNodeEnumeration TBaseLiveTree::CheckedNodes(TCheckState state, bool considerChildrenAbove) {
  auto result = MakeEnumeration(this, vneChecked);
  result.FState = state;
  result.FConsiderChildrenAbove = considerChildrenAbove;
  return result;
}

TLTLiveNodeEnumeration TBaseLiveTree::ChildNodes(PLiveNode node) {
  auto result = MakeEnumeration(this, vneChild);
  result.FNode = node;
  return result;
}

TLTLiveNodeEnumeration TBaseLiveTree::CutCopyNodes(bool considerChildrenAbove) {
  auto result = MakeEnumeration(this, vneCutCopy);
  result.FConsiderChildrenAbove = considerChildrenAbove;
  return result;
}

TLTLiveNodeEnumeration TBaseLiveTree::InitializedNodes(bool considerChildrenAbove) {
  auto result = MakeEnumeration(this, vneInitialized);
  result.FConsiderChildrenAbove = considerChildrenAbove;
  return result;
}

TLTLiveNodeEnumeration TBaseLiveTree::LeafNodes() {
  return MakeEnumeration(this, vneLeaf);
}

TLTLiveNodeEnumeration TBaseLiveTree::LevelNodes(Cardinal nodeLevel) {
  auto result = MakeEnumeration(this, vneLevel);
  result.FNodeLevel = nodeLevel;
  return result;
}

TLTLiveNodeEnumeration TBaseLiveTree::NoInitNodes(bool considerChildrenAbove) {
  auto result = MakeEnumeration(this, vneNoInit);
  result.FConsiderChildrenAbove = considerChildrenAbove;
  return result;
}

TLTLiveNodeEnumeration TBaseLiveTree::SelectedNodes(bool considerChildrenAbove) {
  auto result = MakeEnumeration(this, vneSelected);
  result.FConsiderChildrenAbove = considerChildrenAbove;
  return result;
}

TLTLiveNodeEnumeration TBaseLiveTree::VisibleNodes(PLiveNode node, bool considerChildrenAbove, bool includeFiltered) {
  auto result = MakeEnumeration(this, vneVisible);
  result.FNode = node;
  result.FConsiderChildrenAbove = considerChildrenAbove;
  result.FIncludeFiltered = includeFiltered;
  return result;
}

TLTLiveNodeEnumeration TBaseLiveTree::VisibleChildNodes(PLiveNode node, bool includeFiltered) {
  auto result = MakeEnumeration(this, vneVisibleChild);
  result.FNode = node;
  result.FIncludeFiltered = includeFiltered;
  return result;
}

TLTLiveNodeEnumeration TBaseLiveTree::VisibleChildNoInitNodes(PLiveNode node, bool includeFiltered) {
  auto result = MakeEnumeration(this, vneVisibleNoInitChild);
  result.FNode = node;
  result.FIncludeFiltered = includeFiltered;
  return result;
}

TLTLiveNodeEnumeration TBaseLiveTree::VisibleNoInitNodes(PLiveNode node, bool considerChildrenAbove,
                                                         bool includeFiltered) {
  auto result = MakeEnumeration(this, vneVisibleNoInit);
  result.FNode = node;
  result.FConsiderChildrenAbove = considerChildrenAbove;
  result.FIncludeFiltered = includeFiltered;
  return result;
}

PLiveNode TLTLiveNodeEnumeration::First() const {
  TBaseLiveTree& tree = *FTree;
  switch (FMode) {
    case vneAll: return tree.GetFirst(FConsiderChildrenAbove);
    case vneChecked: return tree.GetFirstChecked(FState, FConsiderChildrenAbove);
    case vneChild: return tree.GetFirstChild(FNode);
    case vneCutCopy: return tree.GetFirstCutCopy(FConsiderChildrenAbove);
    case vneInitialized: return tree.GetFirstInitialized(FConsiderChildrenAbove);
    case vneLeaf: return tree.GetFirstLeaf();
    case vneLevel: return tree.GetFirstLevel(FNodeLevel);
    case vneNoInit: return tree.GetFirstNoInit(FConsiderChildrenAbove);
    case vneSelected: return tree.GetFirstSelected(FConsiderChildrenAbove);
    case vneVisible: return tree.GetFirstVisible(FNode, FConsiderChildrenAbove, FIncludeFiltered);
    case vneVisibleChild: return tree.GetFirstVisibleChild(FNode, FIncludeFiltered);
    case vneVisibleNoInitChild: return tree.GetFirstVisibleChildNoInit(FNode, FIncludeFiltered);
    case vneVisibleNoInit: return tree.GetFirstVisibleNoInit(FNode, FConsiderChildrenAbove, FIncludeFiltered);
  }
  return nullptr;
}

PLiveNode TLTLiveNodeEnumeration::Next(PLiveNode node) const {
  TBaseLiveTree& tree = *FTree;
  PLiveNode result = nullptr;
  switch (FMode) {
    case vneAll: return tree.GetNext(node, FConsiderChildrenAbove);
    case vneChecked: return tree.GetNextChecked(node, FState, FConsiderChildrenAbove);
    case vneChild: return tree.GetNextSibling(node);
    case vneCutCopy: return tree.GetNextCutCopy(node, FConsiderChildrenAbove);
    case vneInitialized: return tree.GetNextInitialized(node, FConsiderChildrenAbove);
    case vneLeaf: return tree.GetNextLeaf(node);
    case vneLevel: return tree.GetNextLevel(node, FNodeLevel);
    case vneNoInit: return tree.GetNextNoInit(node, FConsiderChildrenAbove);
    case vneSelected: return tree.GetNextSelected(node, FConsiderChildrenAbove);
    case vneVisible: result = tree.GetNextVisible(node, FConsiderChildrenAbove); break;
    case vneVisibleChild: return tree.GetNextVisibleSibling(node, FIncludeFiltered);
    case vneVisibleNoInitChild: return tree.GetNextVisibleSiblingNoInit(node, FIncludeFiltered);
    case vneVisibleNoInit: result = tree.GetNextVisibleNoInit(node, FConsiderChildrenAbove); break;
  }
  // A walk below a given node stays in its subtree.
  if (result != nullptr && FNode != nullptr && FNode != tree.RootNode() && !tree.HasAsParent(result, FNode))
    result = nullptr;
  return result;
}

TLTLiveNodeEnumeration::Iterator TLTLiveNodeEnumeration::begin() const {
  return Iterator(this, First());
}

TLTLiveNodeEnumeration::Iterator& TLTLiveNodeEnumeration::Iterator::operator++() {
  FCurrent = FOwner->Next(FCurrent);
  return *this;
}
