// Behaviour that an obvious reading gets wrong: released nodes referenced by
// tree fields, backward searches from the end, the cache's last entry, height
// changes during a cache build and check events when a parent refuses.
#include <gtest/gtest.h>

#include <algorithm>

#include "livetree/basetree.h"
#include "livetree/livetreeworker.h"
#include "support/livetree_fakehost.h"

namespace {

// Reaches the tree fields that refer to nodes.
class FieldProbe : public TBaseLiveTree {
 public:
  using TBaseLiveTree::TBaseLiveTree;
  PLiveNode* Fields[12] = {&FLastSearchNode, &FCheckNode,        &FHeightTrackNode, &FLastSelected,
                           &FFocusedNode,    &FCurrentHotNode,   &FDropTargetNode,  &FLastChangedNode,
                           &FRangeAnchor,    &FNextNodeToSelect, &FLastDragTarget,  &FLastStructureChangeNode};
  TNodeArray& DragSelection() { return FDragSelection; }
};

TEST(FaultTest, ReleasingANodeClearsEveryFieldReferringToIt) {
  FieldProbe tree;
  tree.SetNodeDataSize(8);
  PLiveNode keep = tree.AddChild(nullptr);
  PLiveNode parent = tree.AddChild(nullptr);
  PLiveNode doomed = tree.AddChild(parent);
  for (PLiveNode* field : tree.Fields) *field = doomed;
  tree.DragSelection() = {keep, doomed};
  tree.BeginUpdate();  // so that no event reads a field before the deletion
  tree.DeleteNode(parent);
  tree.EndUpdate();
  for (PLiveNode* field : tree.Fields) EXPECT_NE(*field, doomed);
  EXPECT_EQ(tree.DragSelection(), TNodeArray{keep});
}

class BackwardTest : public ::testing::Test {
 protected:
  BackwardTest() {
    tree.SetNodeDataSize(8);
    tree.TreeOptions().SetSelectionOptions({toMultiSelect});
    nodes.Build(tree, "A(B,C),D(E)");
  }
  TBaseLiveTree tree;
  TTestTreeBuilder nodes;
};

TEST_F(BackwardTest, PreviousSelectedStartsAtTheLastNode) {
  tree.SetSelected(nodes["E"], true);
  EXPECT_EQ(tree.GetPreviousSelected(nullptr), nodes["E"]) << "the last top-level node's child is found";
  tree.SetSelected(nodes["E"], false);
  tree.SetSelected(nodes["C"], true);
  EXPECT_EQ(tree.GetPreviousSelected(nullptr), nodes["C"]);
}

TEST_F(BackwardTest, PreviousLeafStartsAtTheLastNode) {
  EXPECT_EQ(tree.GetPreviousLeaf(nullptr), nodes["E"]);
  EXPECT_EQ(tree.GetPreviousLeaf(nodes["E"]), nodes["C"]);
}

// Shows enough nodes for the cache and waits for its build.
class CacheTest : public ::testing::Test {
 protected:
  CacheTest() {
    host.Tree = &tree;
    tree.TreeOptions().SetAutoOptions({});
  }
  void Fill(Cardinal count) {
    tree.SetRootNodeCount(count);
    host.WaitForBuilder();
  }
  TFakeLiveTreeHost host;
  TBaseLiveTree tree{&host};
};

struct CacheCase {
  Cardinal shown;
  std::vector<Cardinal> entryIndexes;  // absolute indexes of the nodes with entries
};

class CacheSpacingTest : public CacheTest, public ::testing::WithParamInterface<CacheCase> {};

TEST_P(CacheSpacingTest, EntriesEveryBlockPlusTheLast) {
  const CacheCase& c = GetParam();
  Fill(c.shown);
  if (c.entryIndexes.empty()) {
    EXPECT_FALSE(tree.PositionCacheValid());
    return;
  }
  ASSERT_TRUE(tree.PositionCacheValid());
  std::vector<Cardinal> indexes;
  for (const TCacheEntry& entry : tree.PositionCache()) {
    indexes.push_back(tree.AbsoluteIndex(entry.Node));
    EXPECT_EQ(entry.AbsoluteTop, indexes.back() * 18);
  }
  EXPECT_EQ(indexes, c.entryIndexes);
}

INSTANTIATE_TEST_SUITE_P(Counts, CacheSpacingTest,
                         ::testing::Values(CacheCase{1999, {}}, CacheCase{2000, {}}, CacheCase{2001, {0, 2000, 2000}},
                                           CacheCase{2500, {0, 2000, 2499}}, CacheCase{4000, {0, 2000, 3999}},
                                           CacheCase{4001, {0, 2000, 4000, 4000}}));

TEST_F(CacheTest, HeightChangeDuringTheBuildIsNotLost) {
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toVariableNodeHeight});
  std::vector<PLiveNode> order;
  int measured = 0;
  tree.OnMeasureItem = [&](TBaseLiveTree* sender, TCanvas*, PLiveNode node, Integer& height) {
    // While the builder measures the 2500th node, another node's height
    // changes, which the walk has already passed.
    if (sender->TreeStates().Contains(tsValidating) && ++measured == 2500)
      sender->SetNodeHeight(sender->GetFirstNoInit(), 50);
    height = 18;
    (void)node;
  };
  tree.BeginUpdate();
  tree.SetRootNodeCount(3000);
  for (PLiveNode run = tree.GetFirstNoInit(); run; run = tree.GetNextNoInit(run)) run->Include({vsInitialized});
  tree.EndUpdate();
  host.WaitForBuilder();
  ASSERT_TRUE(tree.PositionCacheValid());
  ASSERT_GE(tree.PositionCache().size(), 2u);
  EXPECT_EQ(tree.PositionCache()[1].AbsoluteTop, 50u + 1999u * 18u);
  Integer top = 0;
  PLiveNode node = tree.GetNodeAt(0, 50 + 2200 * 18 + 1, true, top);
  EXPECT_EQ(tree.AbsoluteIndex(node), 2201u);
}

TEST(CheckFaultTest, OwnChangeReportedWhenTheParentRefuses) {
  TBaseLiveTree tree;
  tree.SetNodeDataSize(8);
  PLiveNode parent = tree.AddChild(nullptr);
  PLiveNode child1 = tree.AddChild(parent);
  PLiveNode child2 = tree.AddChild(parent);
  for (PLiveNode node : {parent, child1, child2}) tree.SetCheckType(node, ctTriStateCheckBox);
  std::vector<PLiveNode> checked;
  tree.OnChecked = [&](TBaseLiveTree*, PLiveNode node) { checked.push_back(node); };
  tree.OnChecking = [&](TBaseLiveTree*, PLiveNode node, TCheckState&, bool& allowed) { allowed = node != parent; };
  tree.SetCheckState(child1, csCheckedNormal);
  EXPECT_EQ(tree.GetCheckState(child1), csCheckedNormal);
  EXPECT_EQ(tree.GetCheckState(parent), csUncheckedNormal);
  EXPECT_EQ(checked, TNodeArray{child1});
  (void)child2;
}

TEST(MoveFaultTest, MovingBelowTheHiddenRootWithASelectionHandler) {
  TBaseLiveTree tree;
  tree.SetNodeDataSize(8);
  TTestTreeBuilder nodes;
  nodes.Build(tree, "A,B(C)");
  int added = 0;
  tree.OnAddToSelection = [&](TBaseLiveTree*, PLiveNode) { ++added; };
  tree.MoveTo(nodes["C"], &tree, amAddChildFirst, false);
  tree.MoveTo(nodes["B"], static_cast<PLiveNode>(nullptr), amAddChildLast, false);
  std::vector<PLiveNode> order;
  for (PLiveNode run = tree.GetFirstNoInit(); run; run = tree.GetNextNoInit(run)) order.push_back(run);
  EXPECT_EQ(nodes.Join(order), "B C A") << "a nil target always adds as the first child";
  EXPECT_EQ(CheckTreeInvariants(tree), "");
  EXPECT_EQ(added, 0);
}

TEST(DataSizeFaultTest, ReadOnlyTreeKeepsTheSizeItsNodesWereMadeFor) {
  TBaseLiveTree tree;
  tree.SetNodeDataSize(8);
  tree.SetRootNodeCount(2);
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toReadOnly});
  tree.SetNodeDataSize(64);
  EXPECT_EQ(tree.NodeDataSize(), 8) << "blocks of 8 caller bytes must not be handed out as 64";
  EXPECT_EQ(tree.RootNodeCount(), 2u);
  std::fill_n(static_cast<char*>(tree.GetNodeData(tree.GetFirst())), tree.NodeDataSize(), 'x');
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() - TLTMiscOptions{toReadOnly});
  tree.SetNodeDataSize(64);
  EXPECT_EQ(tree.NodeDataSize(), 64);
  std::fill_n(static_cast<char*>(tree.GetNodeData(tree.GetFirst())), 64, 'x');
}

struct FocusColumnCase {
  const char* name;
  bool mainFocusable;
  bool secondVisible;
  TColumnIndex expected;
};

class FocusColumnTest : public ::testing::TestWithParam<FocusColumnCase> {
 protected:
  FocusColumnTest() {
    tree.SetNodeDataSize(8);
    tree.TreeOptions().SetSelectionOptions({toExtendedFocus});
    for (int i = 0; i < 3; ++i) tree.Header().Columns().Add();
    tree.Header().SetMainColumn(1);
    const FocusColumnCase& c = GetParam();
    if (!c.mainFocusable) SetColumnOption(1, coAllowFocus, false);
    if (!c.secondVisible) SetColumnOption(1, coVisible, false);
    SetColumnOption(0, coAllowFocus, false);
    tree.SetRootNodeCount(2);
  }
  void SetColumnOption(TColumnIndex index, TLTColumnOption option, bool on) {
    TLiveTreeColumn* column = tree.Header().Columns()[index];
    column->SetOptions(on ? column->Options() + TLTColumnOptions{option}
                          : column->Options() - TLTColumnOptions{option});
  }
  TBaseLiveTree tree;
};

TEST_P(FocusColumnTest, SelectingANodeRepairsTheFocusedColumn) {
  ASSERT_LT(tree.FocusedColumn(), 0);
  tree.SetSelected(tree.GetFirst(), true);
  EXPECT_EQ(tree.FocusedColumn(), GetParam().expected);
}

TEST_P(FocusColumnTest, FocusingANodeRepairsTheFocusedColumn) {
  tree.SetFocusedNode(tree.GetFirst());
  EXPECT_EQ(tree.FocusedColumn(), GetParam().expected);
  tree.SetFocusedColumn(0);
  SetColumnOption(0, coVisible, false);
  tree.SetFocusedNode(tree.GetLast());
  EXPECT_EQ(tree.FocusedColumn(), GetParam().expected) << "a hidden focused column gives way too";
}

INSTANTIATE_TEST_SUITE_P(Columns, FocusColumnTest,
                         ::testing::Values(FocusColumnCase{"MainColumn", true, true, 1},
                                           FocusColumnCase{"MainNotFocusable", false, true, 2},
                                           FocusColumnCase{"MainHidden", true, false, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CollapseFaultTest, FullCollapseWithChildrenAboveStaysInTheSubtree) {
  TBaseLiveTree tree;
  tree.SetNodeDataSize(8);
  TTestTreeBuilder nodes;
  nodes.Build(tree, "X(x1),A(a1(a11)),Z(z1)");
  tree.FullExpand();
  tree.TreeOptions().SetPaintOptions(tree.TreeOptions().PaintOptions() + TLTPaintOptions{toChildrenAbove});
  tree.FullCollapse(nodes["A"]);
  EXPECT_FALSE(tree.Expanded(nodes["A"]));
  EXPECT_FALSE(tree.Expanded(nodes["a1"]));
  EXPECT_TRUE(tree.Expanded(nodes["X"]));
  EXPECT_TRUE(tree.Expanded(nodes["Z"]));
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

}  // namespace

namespace {

// Marks a clearance as pending, as a press on a selected node does.
class PendingClearProbe : public TBaseLiveTree {
 public:
  using TBaseLiveTree::TBaseLiveTree;
  void MarkClearPending() { ChangeTreeStates({tsClearPending}, {}); }
};

TEST(FaultTest, ADirectClearanceWhileOneIsPendingClearsInsteadOfFailing) {
  struct Case {
    bool keepSelected;
    Integer selectedAfter;
  } cases[] = {{false, 0}, {true, 1}};
  for (const Case& c : cases) {
    TFakeLiveTreeHost host;
    PendingClearProbe tree(&host);
    tree.SetNodeDataSize(8);
    tree.TreeOptions().SetSelectionOptions(TLTSelectionOptions{toMultiSelect});
    tree.SetRootNodeCount(4);
    PLiveNode first = tree.GetFirst();
    for (PLiveNode node = first; node != nullptr; node = node->NextSibling) tree.SetSelected(node, true);
    tree.MarkClearPending();
    PLiveNode keep = c.keepSelected ? first->NextSibling : nullptr;
    EXPECT_NO_THROW(tree.ClearSelectionDirectly(keep));
    EXPECT_EQ(tree.SelectedCount(), c.selectedAfter);
    EXPECT_FALSE(tree.TreeStates().Contains(tsClearPending));
    if (keep != nullptr) {
      EXPECT_TRUE(tree.Selected(keep));
    }
  }
}

TEST(FaultTest, ScrollingANodeUnderAHiddenAncestorIntoViewDoesNothing) {
  TFakeLiveTreeHost host;
  host.Height = 36;
  TBaseLiveTree tree(&host);
  host.Tree = &tree;
  tree.SetNodeDataSize(sizeof(void*));
  TTestTreeBuilder build;
  build.Build(tree, "A,B,C,D(E(F)),G");
  PLiveNode hidden = build["D"];
  hidden->Exclude({vsVisible});
  EXPECT_FALSE(tree.ScrollIntoView(build["F"], false));
  EXPECT_FALSE(build["E"]->Has(vsExpanded));
  EXPECT_FALSE(hidden->Has(vsExpanded));
  EXPECT_EQ(tree.OffsetY(), 0);
  hidden->Include({vsVisible});
  // Shown again, the node is reached: its ancestors open and the view moves.
  EXPECT_TRUE(tree.ScrollIntoView(build["F"], false));
  EXPECT_TRUE(build["E"]->Has(vsExpanded));
  EXPECT_LT(tree.OffsetY(), 0);
}

}  // namespace

// Chains far deeper than any stack allows recursion for: deleting them (one
// node, its parent's children, the whole tree) frees every node once and
// keeps the totals right, expanded or not.
struct DeepChainCase {
  const char* name;
  bool expanded;
  int how;  // 0 DeleteNode, 1 DeleteChildren of the top node, 2 Clear
};

class DeepChainTest : public ::testing::TestWithParam<DeepChainCase> {};

TEST_P(DeepChainTest, DeletingAChainFreesEveryNodeWithoutRecursion) {
  // Adding below the deepest node updates every level above it, so the chain
  // is built in quadratic time: deep enough to overflow a recursive deletion,
  // no deeper.
  const Cardinal depth = GetParam().expanded ? 3500 : 20000;
  TFakeLiveTreeHost host;
  TBaseLiveTree tree{&host};
  host.Tree = &tree;
  tree.SetNodeDataSize(8);
  tree.TreeOptions().SetAutoOptions({});
  PLiveNode keep = tree.AddChild(nullptr);
  tree.BeginUpdate();
  PLiveNode top = tree.AddChild(nullptr);
  PLiveNode run = top;
  for (Cardinal level = 1; level < depth; ++level) run = tree.AddChild(run);
  tree.EndUpdate();
  // Every node has had its data asked for, so every one reports its release.
  for (PLiveNode node = keep; node != nullptr; node = tree.GetNextNoInit(node)) tree.GetNodeData(node);
  if (GetParam().expanded) tree.FullExpand();
  Cardinal freed = 0;
  tree.OnFreeNode = [&](TBaseLiveTree*, PLiveNode) { ++freed; };
  tree.SetSelected(run, true);
  switch (GetParam().how) {
    case 0:
      tree.DeleteNode(top);
      EXPECT_EQ(freed, depth);
      EXPECT_EQ(tree.GetFirst(), keep);
      EXPECT_EQ(tree.TotalCount(), 1u);
      EXPECT_EQ(tree.VisibleCount(), 1u);
      break;
    case 1:
      tree.DeleteChildren(top);
      EXPECT_EQ(freed, depth - 1);
      EXPECT_EQ(tree.TotalCount(), 2u);
      EXPECT_EQ(tree.VisibleCount(), 2u);
      break;
    default:
      tree.Clear();
      EXPECT_EQ(freed, depth + 1);
      EXPECT_EQ(tree.TotalCount(), 0u);
      EXPECT_EQ(tree.VisibleCount(), 0u);
  }
  EXPECT_EQ(tree.SelectedCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Chains, DeepChainTest,
                         ::testing::Values(DeepChainCase{"DeleteCollapsed", false, 0},
                                           DeepChainCase{"DeleteExpanded", true, 0},
                                           DeepChainCase{"ChildrenExpanded", true, 1},
                                           DeepChainCase{"ClearExpanded", true, 2}),
                         [](const auto& info) { return std::string(info.param.name); });
