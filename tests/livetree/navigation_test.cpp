// Navigation in display order, visible walks, levels, index and iteration.
#include <gtest/gtest.h>

#include <functional>

#include "livetree/basetree.h"
#include "rtl/unicode.h"
#include "support/livetree_fakehost.h"

namespace {

class NavigationTest : public ::testing::Test {
 protected:
  ~NavigationTest() override { DetachTreeEvents(tree); }
  NavigationTest() {
    host.Tree = &tree;
    tree.SetNodeDataSize(8);
  }
  void SetPaint(TLTPaintOptions add) { tree.TreeOptions().SetPaintOptions(tree.TreeOptions().PaintOptions() + add); }
  // Every node from First along Step, as names.
  std::string Walk(PLiveNode first, const std::function<PLiveNode(PLiveNode)>& step) {
    std::vector<PLiveNode> result;
    for (PLiveNode run = first; run != nullptr && result.size() < 100; run = step(run)) result.push_back(run);
    return nodes.Join(result);
  }
  TFakeLiveTreeHost host;
  TBaseLiveTree tree{&host};
  TTestTreeBuilder nodes;
};

TEST_F(NavigationTest, EmptyTree) {
  EXPECT_EQ(tree.GetFirst(), nullptr);
  EXPECT_EQ(tree.GetFirstNoInit(true), nullptr);
  EXPECT_EQ(tree.GetLast(), nullptr);
  EXPECT_EQ(tree.GetFirstVisible(), nullptr);
  EXPECT_EQ(tree.GetLastVisible(), nullptr);
  EXPECT_EQ(tree.GetFirstLeaf(), nullptr);
  EXPECT_EQ(tree.GetPreviousLeaf(nullptr), nullptr);
  EXPECT_EQ(tree.GetFirstSelected(), nullptr);
  EXPECT_EQ(tree.GetFirstChecked(), nullptr);
  EXPECT_EQ(tree.GetNext(nullptr), nullptr);
}

struct OrderCase {
  const char* name;
  bool childrenAbove;
  bool init;
  const char* forward;
  const char* backward;
};

class OrderTest : public NavigationTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(OrderTest, ForwardAndBackward) {
  const OrderCase& c = GetParam();
  nodes.Build(tree, "A(B,C),D(E(F))");
  if (c.childrenAbove) SetPaint({toChildrenAbove});
  if (c.init) {
    EXPECT_EQ(Walk(tree.GetFirst(true), [&](PLiveNode n) { return tree.GetNext(n, true); }), c.forward);
    EXPECT_EQ(Walk(tree.GetLast(nullptr, true), [&](PLiveNode n) { return tree.GetPrevious(n, true); }), c.backward);
  } else {
    EXPECT_EQ(Walk(tree.GetFirstNoInit(true), [&](PLiveNode n) { return tree.GetNextNoInit(n, true); }), c.forward);
    EXPECT_EQ(Walk(tree.GetLastNoInit(nullptr, true), [&](PLiveNode n) { return tree.GetPreviousNoInit(n, true); }),
              c.backward);
  }
}

INSTANTIATE_TEST_SUITE_P(Orders, OrderTest,
                         ::testing::Values(OrderCase{"PreOrder", false, true, "A B C D E F", "F E D C B A"},
                                           OrderCase{"PreOrderNoInit", false, false, "A B C D E F", "F E D C B A"},
                                           OrderCase{"ChildrenAbove", true, true, "B C A F E D", "D E F A C B"},
                                           OrderCase{"ChildrenAboveNoInit", true, false, "B C A F E D", "D E F A C B"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NavigationTest, GetNextInitialisesWhatItPasses) {
  tree.TreeOptions().SetAutoOptions(tree.TreeOptions().AutoOptions() - TLTAutoOptions{toAutoSort});
  int inits = 0, childInits = 0;
  tree.OnInitNode = [&](TBaseLiveTree* sender, PLiveNode parent, PLiveNode, TLiveNodeInitStates& states) {
    ++inits;
    if (parent == nullptr || sender->GetNodeLevel(parent) == 0) states += ivsHasChildren;
  };
  tree.OnInitChildren = [&](TBaseLiveTree*, PLiveNode, Cardinal& count) {
    ++childInits;
    count = 2;
  };
  tree.SetRootNodeCount(2);
  int seen = 0;
  for (PLiveNode run = tree.GetFirstNoInit(); run; run = tree.GetNextNoInit(run)) ++seen;
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(inits + childInits, 0);
  seen = 0;
  for (PLiveNode run = tree.GetFirst(); run; run = tree.GetNext(run)) ++seen;
  EXPECT_EQ(seen, 2 + 4 + 8);
  EXPECT_EQ(inits, 14);
  EXPECT_EQ(childInits, 6);
}

TEST_F(NavigationTest, VisibleWalksSkipCollapsedHiddenAndFiltered) {
  nodes.Build(tree, "A(B,C(G)),X(Y),D(E)");
  tree.OnInitNode = [&](TBaseLiveTree*, PLiveNode, PLiveNode node, TLiveNodeInitStates& states) {
    if (node == nodes["X"]) states += ivsFiltered;
  };
  tree.ReinitNode(nodes["X"], false);
  tree.ToggleNode(nodes["A"]);
  tree.ToggleNode(nodes["X"]);
  ASSERT_TRUE(nodes["X"]->Has(vsFiltered));
  EXPECT_EQ(Walk(tree.GetFirstVisible(), [&](PLiveNode n) { return tree.GetNextVisible(n); }), "A B C Y D");
  EXPECT_EQ(Walk(tree.GetFirstVisibleNoInit(), [&](PLiveNode n) { return tree.GetNextVisibleNoInit(n); }), "A B C Y D");
  EXPECT_EQ(Walk(tree.GetLastVisible(), [&](PLiveNode n) { return tree.GetPreviousVisible(n); }), "D Y C B A");
  EXPECT_EQ(tree.VisibleCount(), 5u);
  SetPaint({toShowFilteredNodes});
  EXPECT_EQ(Walk(tree.GetFirstVisible(), [&](PLiveNode n) { return tree.GetNextVisible(n); }), "A B C X Y D");
  EXPECT_EQ(tree.VisibleCount(), 6u);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
  EXPECT_EQ(tree.GetVisibleParent(nodes["G"]), nodes["C"]);
  EXPECT_EQ(tree.GetNextVisible(nodes["G"]), nodes["X"]) << "a node under a collapsed parent continues after it";
  EXPECT_EQ(tree.GetLastVisibleChild(nodes["A"]), nodes["C"]);
  EXPECT_EQ(tree.GetLastVisibleChild(nodes["D"]), nullptr) << "collapsed";
  EXPECT_EQ(tree.GetFirstVisibleChild(nullptr), nodes["A"]);
}

TEST_F(NavigationTest, VisibleChildrenAbove) {
  nodes.Build(tree, "A(B,C),D(E)");
  SetPaint({toChildrenAbove});
  tree.FullExpand();
  EXPECT_EQ(Walk(tree.GetFirstVisible(), [&](PLiveNode n) { return tree.GetNextVisible(n); }), "B C A E D");
  EXPECT_EQ(Walk(tree.GetLastVisible(), [&](PLiveNode n) { return tree.GetPreviousVisible(n); }), "D E A C B");
  EXPECT_EQ(Walk(tree.GetFirstVisibleNoInit(), [&](PLiveNode n) { return tree.GetNextVisibleNoInit(n); }), "B C A E D");
}

TEST_F(NavigationTest, AbsoluteIndexAndLevels) {
  nodes.Build(tree, "A(B,C),D");
  EXPECT_EQ(tree.AbsoluteIndex(nodes["A"]), 0u);
  EXPECT_EQ(tree.AbsoluteIndex(nodes["B"]), 1u);
  EXPECT_EQ(tree.AbsoluteIndex(nodes["C"]), 2u);
  EXPECT_EQ(tree.AbsoluteIndex(nodes["D"]), 3u);
  EXPECT_EQ(tree.AbsoluteIndex(nullptr), 0u);
  EXPECT_EQ(tree.GetFirstLevel(1), nodes["B"]);
  EXPECT_EQ(tree.GetNextLevel(nodes["B"], 1), nodes["C"]);
  EXPECT_EQ(tree.GetNextLevel(nodes["C"], 1), nullptr);
  EXPECT_EQ(tree.GetNextLevel(nodes["B"], 0), nodes["D"]);
  EXPECT_EQ(tree.GetPreviousLevel(nodes["D"], 1), nodes["C"]);
  EXPECT_EQ(tree.GetPreviousLevel(nodes["C"], 0), nodes["A"]);
  EXPECT_EQ(tree.GetPreviousLevel(nodes["B"], 1), nullptr);
}

TEST_F(NavigationTest, LeavesBothWays) {
  nodes.Build(tree, "A(B,C),D(E)");
  EXPECT_EQ(Walk(tree.GetFirstLeaf(), [&](PLiveNode n) { return tree.GetNextLeaf(n); }), "B C E");
  EXPECT_EQ(Walk(tree.GetPreviousLeaf(nullptr), [&](PLiveNode n) { return tree.GetPreviousLeaf(n); }), "E C B");
}

TEST_F(NavigationTest, IterateSubtreeFiltersAndAborts) {
  tree.TreeOptions().SetSelectionOptions({toMultiSelect});
  nodes.Build(tree, "A(B,C),D");
  tree.SetSelected(nodes["B"], true);
  tree.SetSelected(nodes["D"], true);
  std::vector<PLiveNode> seen;
  PLiveNode stopped = tree.IterateSubtree(
      nodes["A"], [&](TBaseLiveTree*, PLiveNode node, void*, bool&) { seen.push_back(node); }, nullptr, {vsSelected});
  EXPECT_EQ(stopped, nullptr);
  EXPECT_EQ(nodes.Join(seen), "B");
  seen.clear();
  stopped = tree.IterateSubtree(
      nodes["A"],
      [&](TBaseLiveTree*, PLiveNode node, void*, bool& abort) {
        seen.push_back(node);
        abort = node == nodes["B"];
      },
      nullptr);
  EXPECT_EQ(stopped, nodes["B"]);
  EXPECT_EQ(nodes.Join(seen), "A B");
  EXPECT_FALSE(tree.TreeStates().Contains(tsIterating));
  EXPECT_THROW(
      tree.IterateSubtree(
          nodes["A"], [&](TBaseLiveTree* sender, PLiveNode node, void*, bool&) { sender->DeleteNode(node); }, nullptr),
      EAssertionFailed);
  EXPECT_FALSE(tree.TreeStates().Contains(tsIterating));
  seen.clear();
  tree.IterateSubtree(
      nodes["A"], [&](TBaseLiveTree*, PLiveNode node, void*, bool&) { seen.push_back(node); }, nullptr, {}, true, true);
  EXPECT_EQ(nodes.Join(seen), "B C");
}

TEST_F(NavigationTest, Enumerations) {
  nodes.Build(tree, "A(B,C),D");
  tree.ToggleNode(nodes["A"]);
  std::vector<PLiveNode> seen;
  for (PLiveNode node : tree.Nodes()) seen.push_back(node);
  EXPECT_EQ(nodes.Join(seen), "A B C D");
  seen.clear();
  for (PLiveNode node : tree.ChildNodes(nodes["A"])) seen.push_back(node);
  EXPECT_EQ(nodes.Join(seen), "B C");
  seen.clear();
  for (PLiveNode node : tree.VisibleNodes(nodes["A"])) seen.push_back(node);
  EXPECT_EQ(nodes.Join(seen), "B C");
  seen.clear();
  for (PLiveNode node : tree.LevelNodes(1)) seen.push_back(node);
  EXPECT_EQ(nodes.Join(seen), "B C");
  seen.clear();
  for (PLiveNode node : tree.LeafNodes()) seen.push_back(node);
  EXPECT_EQ(nodes.Join(seen), "B C D");
}

TEST_F(NavigationTest, RootIsRefused) {
  EXPECT_THROW(tree.GetNext(tree.RootNode()), EAssertionFailed);
  EXPECT_THROW(tree.GetVisibleParent(tree.RootNode()), EAssertionFailed);
  EXPECT_THROW(tree.GetNextVisibleSibling(nullptr), EAssertionFailed);
  EXPECT_THROW(tree.IterateSubtree(
                   tree.RootNode(), [](TBaseLiveTree*, PLiveNode, void*, bool&) {}, nullptr),
               EAssertionFailed);
}

}  // namespace
