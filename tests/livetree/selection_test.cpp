// Selection, ranges and the check-box model.
#include <gtest/gtest.h>

#include <algorithm>

#include "livetree/basetree.h"
#include "support/livetree_fakehost.h"

namespace {

class SelectionTest : public ::testing::Test {
 protected:
  SelectionTest() {
    host.Tree = &tree;
    tree.SetNodeDataSize(8);
    tree.OnAddToSelection = [this](TBaseLiveTree*, PLiveNode node) { events.push_back("+" + nodes.Name(node)); };
    tree.OnRemoveFromSelection = [this](TBaseLiveTree*, PLiveNode node) { events.push_back("-" + nodes.Name(node)); };
  }
  // The tree outlives the fixture's records; its destruction must not report
  // into them.
  ~SelectionTest() override { DetachTreeEvents(tree); }
  void SetSelection(TLTSelectionOptions options) { tree.TreeOptions().SetSelectionOptions(options); }
  std::string Events() {
    std::string result;
    for (const auto& e : events) result += (result.empty() ? "" : " ") + e;
    events.clear();
    return result;
  }
  TFakeLiveTreeHost host;
  TBaseLiveTree tree{&host};
  TTestTreeBuilder nodes;
  std::vector<std::string> events;
};

TEST_F(SelectionTest, SingleSelectionReplaces) {
  nodes.Build(tree, "A,B");
  tree.SetSelected(nodes["A"], true);
  tree.SetSelected(nodes["B"], true);
  EXPECT_EQ(Events(), "+A -A +B");
  EXPECT_EQ(tree.SelectedCount(), 1);
  tree.SetSelected(nodes["B"], true);
  tree.SetSelected(nullptr, true);
  tree.SetSelected(tree.RootNode(), true);
  EXPECT_EQ(Events(), "");
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(SelectionTest, LevelConstraint) {
  SetSelection({toMultiSelect, toLevelSelectConstraint});
  nodes.Build(tree, "A(A1,A2),B(B1)");
  tree.SetSelected(nodes["A"], true);
  tree.SetSelected(nodes["A1"], true);
  EXPECT_FALSE(tree.Selected(nodes["A1"]));
  tree.SelectAll(false);
  EXPECT_EQ(nodes.Join(tree.GetSortedSelection(false)), "A B");
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(SelectionTest, ArrayAscendingByAddress) {
  SetSelection({toMultiSelect});
  nodes.Build(tree, "A,B,C");
  TNodeArray order{nodes["A"], nodes["B"], nodes["C"]};
  std::sort(order.begin(), order.end(), std::greater<>());
  for (PLiveNode node : order) tree.SetSelected(node, true);
  EXPECT_EQ(tree.SelectedCount(), 3);
  EXPECT_TRUE(std::is_sorted(tree.SelectionArray().begin(), tree.SelectionArray().end()));
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(SelectionTest, SortedSelectionResolves) {
  SetSelection({toMultiSelect});
  nodes.Build(tree, "A(B),C");
  tree.SetSelected(nodes["B"], true);
  tree.SetSelected(nodes["A"], true);
  EXPECT_EQ(nodes.Join(tree.GetSortedSelection(true)), "A");
  EXPECT_EQ(nodes.Join(tree.GetSortedSelection(false)), "A B");
}

TEST_F(SelectionTest, InvertWithoutInitialising) {
  SetSelection({toMultiSelect});
  tree.TreeOptions().SetAutoOptions(tree.TreeOptions().AutoOptions() - TLTAutoOptions{toAutoSort});
  int inits = 0;
  tree.OnInitNode = [&](TBaseLiveTree*, PLiveNode, PLiveNode, TLiveNodeInitStates&) { ++inits; };
  tree.SetRootNodeCount(4);
  tree.SetChildCount(tree.GetFirstNoInit(), 2);
  inits = 0;
  tree.InvertSelection(false);
  EXPECT_EQ(tree.SelectedCount(), 6);
  EXPECT_EQ(inits, 0);
  tree.InvertSelection(false);
  EXPECT_EQ(tree.SelectedCount(), 0);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(SelectionTest, RangesAndDeletion) {
  SetSelection({toMultiSelect});
  nodes.Build(tree, "A,B,C,D,E");
  tree.SetSelected(nodes["B"], true);
  EXPECT_EQ(tree.RangeAnchor(), nodes["B"]);
  class Probe : public TBaseLiveTree {
   public:
    static void Range(TBaseLiveTree& t, PLiveNode a, PLiveNode b, bool addOnly) {
      (t.*(&Probe::SelectRange))(a, b, addOnly);
    }
    static void Toggle(TBaseLiveTree& t, PLiveNode a, PLiveNode b) { (t.*(&Probe::ToggleRange))(a, b); }
  };
  Probe::Range(tree, nodes["D"], nodes["B"], false);
  EXPECT_EQ(nodes.Join(tree.GetSortedSelection(false)), "B C D");
  EXPECT_EQ(tree.RangeAnchor(), nodes["B"]);
  Probe::Toggle(tree, nodes["B"], nodes["E"]);
  EXPECT_EQ(nodes.Join(tree.GetSortedSelection(false)), "B E") << "the anchor end stays, the far end flips";
  EXPECT_THROW(Probe::Range(tree, nodes["A"], nullptr, false), EAssertionFailed);
  tree.DeleteSelectedNodes();
  EXPECT_EQ(tree.RootNodeCount(), 3u);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(SelectionTest, MultiSelectOffClears) {
  SetSelection({toMultiSelect});
  nodes.Build(tree, "A,B,C");
  tree.SelectAll(false);
  Events();
  SetSelection({});
  std::sort(events.begin(), events.end());
  EXPECT_EQ(Events(), "-A -B -C") << "one removal each, in address order";
  EXPECT_EQ(tree.SelectedCount(), 0);
}

TEST_F(SelectionTest, AlwaysSelectNodeFollowsDeletion) {
  SetSelection({toAlwaysSelectNode});
  nodes.Build(tree, "A,B,C");
  tree.SetSelected(nodes["B"], true);
  tree.DeleteNode(nodes["B"]);
  EXPECT_TRUE(tree.Selected(nodes["C"])) << "the next sibling takes over";
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST(CheckStateTest, NextCheckState) {
  class Probe : public TBaseLiveTree {
   public:
    TCheckState Next(TCheckType type, TCheckState state) const { return NextCheckState(type, state); }
  } probe;
  struct Case {
    TCheckType type;
    TCheckState state;
    TCheckState next;
  };
  for (Case c : {Case{ctCheckBox, csMixedNormal, csCheckedNormal}, Case{ctCheckBox, csCheckedNormal, csUncheckedNormal},
                 Case{ctTriStateCheckBox, csUncheckedNormal, csCheckedNormal},
                 Case{ctRadioButton, csUncheckedNormal, csCheckedNormal},
                 Case{ctButton, csCheckedNormal, csUncheckedNormal}, Case{ctNone, csCheckedNormal, csMixedNormal}})
    EXPECT_EQ(probe.Next(c.type, c.state), c.next) << int(c.type) << " " << int(c.state);
}

class CheckTest : public SelectionTest {
 protected:
  void Types(std::initializer_list<const char*> names, TCheckType type) {
    for (const char* name : names) tree.SetCheckType(nodes[name], type);
  }
  std::string Checked() {
    std::string result;
    for (const auto& e : checked) result += (result.empty() ? "" : " ") + e;
    checked.clear();
    return result;
  }
  std::vector<std::string> checked;
  std::string refuse;
  int checking = 0;
  void Watch() {
    tree.OnChecked = [this](TBaseLiveTree*, PLiveNode node) { checked.push_back(nodes.Name(node)); };
    tree.OnChecking = [this](TBaseLiveTree*, PLiveNode node, TCheckState&, bool& allowed) {
      ++checking;
      allowed = nodes.Name(node) != refuse;
    };
  }
};

TEST_F(CheckTest, TriStateChildRefused) {
  nodes.Build(tree, "P(C1,C2,C3)");
  Types({"P", "C1", "C2", "C3"}, ctTriStateCheckBox);
  Watch();
  refuse = "C2";
  tree.SetCheckState(nodes["P"], csCheckedNormal);
  EXPECT_EQ(tree.GetCheckState(nodes["P"]), csMixedNormal);
  EXPECT_EQ(tree.GetCheckState(nodes["C2"]), csUncheckedNormal);
  EXPECT_EQ(Checked(), "C1 C3 P");
}

TEST_F(CheckTest, LastChildChecksParent) {
  nodes.Build(tree, "P(C1,C2)");
  Types({"P", "C1", "C2"}, ctTriStateCheckBox);
  tree.SetCheckState(nodes["C1"], csCheckedNormal);
  EXPECT_EQ(tree.GetCheckState(nodes["P"]), csMixedNormal);
  Watch();
  tree.SetCheckState(nodes["C2"], csCheckedNormal);
  EXPECT_EQ(tree.GetCheckState(nodes["P"]), csCheckedNormal);
  EXPECT_EQ(Checked(), "P C2");
}

TEST_F(CheckTest, RadioSiblingsSilentlyUnchecked) {
  nodes.Build(tree, "R1,R2,R3");
  Types({"R1", "R2", "R3"}, ctRadioButton);
  tree.SetCheckState(nodes["R1"], csCheckedNormal);
  Watch();
  tree.SetCheckState(nodes["R2"], csCheckedNormal);
  EXPECT_EQ(Checked(), "R2");
  EXPECT_EQ(checking, 1);
  EXPECT_EQ(tree.GetCheckState(nodes["R1"]), csUncheckedNormal);
  EXPECT_EQ(tree.CheckedCount(), 1u);
}

TEST_F(CheckTest, ClearCheckedAndReadOnly) {
  nodes.Build(tree, "A,B,C");
  Types({"A", "B", "C"}, ctCheckBox);
  tree.SetCheckState(nodes["A"], csCheckedNormal);
  tree.SetCheckState(nodes["C"], csCheckedNormal);
  Watch();
  tree.ClearChecked();
  EXPECT_EQ(checking, 2);
  EXPECT_EQ(Checked(), "A C");
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toReadOnly});
  tree.SetCheckState(nodes["B"], csCheckedNormal);
  EXPECT_EQ(tree.GetCheckState(nodes["B"]), csUncheckedNormal);
}

}  // namespace
