// Expansion, collapse, sorting, long operations, positions and display order.
#include <gtest/gtest.h>

#include "livetree/basetree.h"
#include "support/livetree_fakehost.h"

namespace {

class ExpandTest : public ::testing::Test {
 protected:
  ~ExpandTest() override { DetachTreeEvents(tree); }
  ExpandTest() {
    host.Tree = &tree;
    tree.SetNodeDataSize(8);
  }
  void SetAuto(TLTAutoOptions add, TLTAutoOptions remove = {}) {
    tree.TreeOptions().SetAutoOptions((tree.TreeOptions().AutoOptions() + add) - remove);
  }
  std::string Children(PLiveNode parent) {
    std::vector<PLiveNode> result;
    Cardinal index = 0;
    PLiveNode previous = nullptr;
    for (PLiveNode child = parent->FirstChild; child; child = child->NextSibling) {
      EXPECT_EQ(child->Index, index++);
      EXPECT_EQ(child->PrevSibling, previous);
      previous = child;
      result.push_back(child);
    }
    EXPECT_EQ(parent->LastChild, previous);
    return nodes.Join(result);
  }
  void CompareByName() {
    tree.OnCompareNodes = [this](TBaseLiveTree*, PLiveNode a, PLiveNode b, TColumnIndex, Integer& result) {
      // Only the first letter counts, so "2a" and "2b" are equal keys.
      result = nodes.Name(a)[0] - nodes.Name(b)[0];
    };
  }
  TFakeLiveTreeHost host;
  TBaseLiveTree tree{&host};
  TTestTreeBuilder nodes;
};

TEST_F(ExpandTest, ExpandingWithoutChildren) {
  nodes.Build(tree, "A");
  tree.OnInitChildren = [](TBaseLiveTree*, PLiveNode, Cardinal& count) { count = 0; };
  nodes["A"]->Include({vsHasChildren});
  int expanding = 0, expanded = 0;
  tree.OnExpanding = [&](TBaseLiveTree*, PLiveNode, bool&) { ++expanding; };
  tree.OnExpanded = [&](TBaseLiveTree*, PLiveNode) { ++expanded; };
  tree.ToggleNode(nodes["A"]);
  EXPECT_EQ(expanding, 1);
  EXPECT_EQ(expanded, 0);
  EXPECT_FALSE(tree.Expanded(nodes["A"]));
  EXPECT_FALSE(tree.HasChildren(nodes["A"]));
}

TEST_F(ExpandTest, RefusedCollapse) {
  nodes.Build(tree, "A(B)");
  tree.ToggleNode(nodes["A"]);
  int collapsed = 0;
  tree.OnCollapsing = [](TBaseLiveTree*, PLiveNode, bool& allowed) { allowed = false; };
  tree.OnCollapsed = [&](TBaseLiveTree*, PLiveNode) { ++collapsed; };
  int before = host.Invalidations;
  tree.ToggleNode(nodes["A"]);
  EXPECT_TRUE(tree.Expanded(nodes["A"]));
  EXPECT_EQ(collapsed, 0);
  EXPECT_EQ(host.Invalidations, before);
}

TEST_F(ExpandTest, AutoFreeOnCollapse) {
  SetAuto({toAutoFreeOnCollapse});
  nodes.Build(tree, "A");
  nodes["A"]->Include({vsHasChildren});
  int asked = 0, freed = 0;
  tree.OnInitChildren = [&](TBaseLiveTree*, PLiveNode, Cardinal& count) {
    ++asked;
    count = 5;
  };
  tree.OnFreeNode = [&](TBaseLiveTree*, PLiveNode) { ++freed; };
  tree.ToggleNode(nodes["A"]);
  EXPECT_EQ(nodes["A"]->ChildCount, 5u);
  tree.ToggleNode(nodes["A"]);
  EXPECT_EQ(nodes["A"]->ChildCount, 0u);
  EXPECT_EQ(freed, 5) << "sorting on expansion initialised them";
  EXPECT_TRUE(tree.HasChildren(nodes["A"]));
  tree.ToggleNode(nodes["A"]);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(ExpandTest, FullExpandAndCollapse) {
  nodes.Build(tree, "A(B(C),D),E(F)");
  int expanding = 0;
  tree.OnExpanding = [&](TBaseLiveTree*, PLiveNode, bool&) { ++expanding; };
  tree.FullExpand();
  EXPECT_EQ(expanding, 6) << "leaves are asked too";
  EXPECT_EQ(tree.VisibleCount(), 6u);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
  tree.FullCollapse(nodes["A"]);
  EXPECT_FALSE(tree.Expanded(nodes["A"]));
  EXPECT_FALSE(tree.Expanded(nodes["B"]));
  EXPECT_TRUE(tree.Expanded(nodes["E"]));
  EXPECT_EQ(tree.VisibleCount(), 3u);
  tree.FullCollapse();
  EXPECT_EQ(tree.VisibleCount(), 2u);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

struct SortCase {
  const char* keys;
  TSortDirection direction;
  const char* expected;
};

class SortTest : public ExpandTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(SortTest, StableMergeSort) {
  SetAuto({}, {toAutoSort});
  nodes.Build(tree, GetParam().keys);
  CompareByName();
  tree.Sort(nullptr, 0, GetParam().direction);
  EXPECT_EQ(Children(tree.RootNode()), GetParam().expected);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, SortTest,
                         ::testing::Values(SortCase{"3,1,2", sdAscending, "1 2 3"},
                                           SortCase{"3,1,2", sdDescending, "3 2 1"},
                                           SortCase{"2a,1,2b,2c", sdAscending, "1 2a 2b 2c"},
                                           SortCase{"2a,1,2b,2c", sdDescending, "2a 2b 2c 1"},
                                           SortCase{"5,4,3,2,1,0,9,8,7", sdAscending, "0 1 2 3 4 5 7 8 9"},
                                           SortCase{"1", sdAscending, "1"}));

TEST_F(ExpandTest, UnassignedCompareKeepsOrder) {
  nodes.Build(tree, "C,A,B");
  tree.SortTree(0, sdAscending);
  EXPECT_EQ(Children(tree.RootNode()), "C A B");
}

TEST_F(ExpandTest, SortTreeInvalidColumnAndSingleNode) {
  nodes.Build(tree, "B,A");
  CompareByName();
  int before = host.Invalidations;
  tree.SortTree(InvalidColumn, sdAscending);
  EXPECT_EQ(Children(tree.RootNode()), "B A");
  EXPECT_GT(host.Invalidations, before);
  TBaseLiveTree single(&host);
  single.AddChild(nullptr);
  int operations = 0;
  single.OnStartOperation = [&](TBaseLiveTree*, TLTOperationKind) { ++operations; };
  single.SortTree(0, sdAscending);
  EXPECT_EQ(operations, 0);
}

TEST_F(ExpandTest, SortTreeDescendsIntoExpandedOnly) {
  nodes.Build(tree, "B(Z,Y),A(X,W)");
  CompareByName();
  tree.ToggleNode(nodes["B"]);
  tree.SortTree(0, sdAscending);
  EXPECT_EQ(Children(tree.RootNode()), "A B");
  EXPECT_EQ(Children(nodes["B"]), "Y Z");
  EXPECT_EQ(Children(nodes["A"]), "X W") << "collapsed subtrees wait for their expansion";
  tree.ToggleNode(nodes["A"]);
  EXPECT_EQ(Children(nodes["A"]), "W X");
}

TEST_F(ExpandTest, CancelOperationMakesTheRestEqual) {
  SetAuto({}, {toAutoSort});
  nodes.Build(tree, "9,8,7,6,5,4,3,2,1");
  int comparisons = 0;
  tree.OnCompareNodes = [&](TBaseLiveTree* sender, PLiveNode a, PLiveNode b, TColumnIndex, Integer& result) {
    if (++comparisons == 3) sender->CancelOperation();
    result = nodes.Name(a)[0] - nodes.Name(b)[0];
  };
  tree.Sort(nullptr, 0, sdAscending);
  EXPECT_EQ(comparisons, 3);
  EXPECT_FALSE(tree.OperationCanceled());
  EXPECT_EQ(tree.RootNode()->ChildCount, 9u);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(ExpandTest, FailingComparisonLeavesAWholeList) {
  SetAuto({}, {toAutoSort});
  nodes.Build(tree, "3,1,2,5,4");
  std::vector<TLTOperationKind> ended;
  tree.OnEndOperation = [&](TBaseLiveTree*, TLTOperationKind kind) { ended.push_back(kind); };
  tree.OnCompareNodes = [](TBaseLiveTree*, PLiveNode, PLiveNode, TColumnIndex, Integer&) { throw EAbort(u"x"); };
  EXPECT_THROW(tree.SortTree(0, sdAscending), EAbort);
  EXPECT_EQ(ended, (std::vector<TLTOperationKind>{okSortNode, okSortTree}));
  EXPECT_EQ(tree.UpdateCount(), 0u);
  EXPECT_EQ(tree.OperationCount(), 0u);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(ExpandTest, EndOperationWithoutOperation) {
  class Probe : public TBaseLiveTree {
   public:
    using TBaseLiveTree::TBaseLiveTree;
    void End() { EndOperation(okSortNode); }
  } probe;
  EXPECT_THROW(probe.End(), EAssertionFailed);
}

TEST_F(ExpandTest, GetNodeAtWalksHeights) {
  nodes.Build(tree, "A(B),C");
  tree.ToggleNode(nodes["A"]);
  tree.SetNodeHeight(nodes["B"], 30);
  Integer top = -1;
  EXPECT_EQ(tree.GetNodeAt(0, -5), tree.GetNodeAt(0, 0));
  EXPECT_EQ(tree.GetNodeAt(0, 17, true, top), nodes["A"]);
  EXPECT_EQ(tree.GetNodeAt(0, 18, true, top), nodes["B"]);
  EXPECT_EQ(top, 18);
  EXPECT_EQ(tree.GetNodeAt(0, 48, true, top), nodes["C"]);
  EXPECT_EQ(top, 48);
  EXPECT_EQ(tree.GetNodeAt(0, 66, true, top), nullptr);
  tree.SetOffsets(0, -18);
  EXPECT_EQ(tree.GetNodeAt(0, 0, true, top), nodes["B"]);
  EXPECT_EQ(top, 0);
}

TEST_F(ExpandTest, CompareDisplayOrder) {
  nodes.Build(tree, "A(B(C),D),E");
  EXPECT_EQ(tree.CompareDisplayOrder(nodes["A"], nodes["A"]), 0);
  EXPECT_LT(tree.CompareDisplayOrder(nodes["A"], nodes["C"]), 0);
  EXPECT_GT(tree.CompareDisplayOrder(nodes["C"], nodes["A"]), 0);
  EXPECT_LT(tree.CompareDisplayOrder(nodes["C"], nodes["D"]), 0);
  EXPECT_GT(tree.CompareDisplayOrder(nodes["E"], nodes["C"]), 0);
  tree.TreeOptions().SetPaintOptions(tree.TreeOptions().PaintOptions() + TLTPaintOptions{toChildrenAbove});
  EXPECT_GT(tree.CompareDisplayOrder(nodes["A"], nodes["C"], true), 0);
  EXPECT_THROW(tree.CompareDisplayOrder(nullptr, nodes["A"]), EAssertionFailed);
}

}  // namespace
