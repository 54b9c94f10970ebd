// The node store: creation, deletion, data, totals, update bracket and
// change notifications.
#include <gtest/gtest.h>

#include "livetree/basetree.h"
#include "rtl/unicode.h"
#include "support/livetree_fakehost.h"

namespace {

constexpr Integer PointerSize = static_cast<Integer>(sizeof(void*));

class StoreTest : public ::testing::Test {
 protected:
  ~StoreTest() override { DetachTreeEvents(tree); }
  StoreTest() { host.Tree = &tree; }
  // Automatic sorting initialises every sibling it sorts; tests of
  // initialisation on demand switch it off.
  void NoAutoSort() {
    tree.TreeOptions().SetAutoOptions(tree.TreeOptions().AutoOptions() - TLTAutoOptions{toAutoSort});
  }
  TFakeLiveTreeHost host;
  TBaseLiveTree tree{&host};
  TTestTreeBuilder nodes;
};

template <typename F>
std::string AssertionText(F&& action) {
  try {
    action();
  } catch (const EAssertionFailed& e) {
    return StringToUTF8(e.Message());
  }
  return "";
}

TEST_F(StoreTest, AddChildCountsAndIndexes) {
  PLiveNode first = tree.AddChild(nullptr);
  EXPECT_EQ(first->Index, 0u);
  EXPECT_EQ(tree.TotalCount(), 1u);
  EXPECT_EQ(tree.RootNode()->TotalCount, 2u);
  PLiveNode second = tree.AddChild(nullptr);
  EXPECT_EQ(second->Index, 1u);
  EXPECT_EQ(first->NextSibling, second);
  EXPECT_EQ(tree.NodeParent(first), nullptr);
  EXPECT_EQ(tree.NodeDataSize(), PointerSize) << "the preset size holds a pointer";
  EXPECT_EQ(first->Align, 50);
  EXPECT_EQ(first->GetStates(), (TLiveNodeStates{vsVisible, vsInitialized})) << "sorting initialised it";
  EXPECT_EQ(tree.VisibleCount(), 2u);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(StoreTest, NodeDataIsAlignedForPointers) {
  tree.SetNodeDataSize(3);
  PLiveNode node = tree.AddChild(nullptr);
  auto address = reinterpret_cast<std::uintptr_t>(tree.GetNodeData(node));
  EXPECT_EQ(address % alignof(void*), 0u);
  EXPECT_EQ(tree.GetNodeData(nullptr), nullptr);
  EXPECT_EQ(tree.GetNodeData(tree.RootNode()), nullptr);
}

TEST_F(StoreTest, NodeDataSizeSetter) {
  NoAutoSort();
  tree.SetNodeDataSize(-5);
  EXPECT_EQ(tree.NodeDataSize(), -1);
  tree.SetNodeDataSize(8);
  nodes.Build(tree, "A(A1,A2),B(B1),C");
  tree.SetNodeDataSize(32);
  EXPECT_EQ(tree.RootNodeCount(), 3u);
  EXPECT_EQ(tree.RootNode()->TotalCount, 4u);
  for (PLiveNode run = tree.GetFirstNoInit(); run; run = tree.GetNextNoInit(run)) {
    EXPECT_FALSE(run->Has(vsInitialized));
    EXPECT_EQ(run->ChildCount, 0u);
  }
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(StoreTest, GetNodeDataNeedsASize) {
  tree.OnGetNodeDataSize = [](TBaseLiveTree*, Integer& size) { size = 0; };
  PLiveNode node = tree.AddChild(nullptr);
  EXPECT_EQ(AssertionText([&] { tree.GetNodeData(node); }), "NodeDataSize not initialized.");
}

TEST_F(StoreTest, UserDataNeedsRoomForAPointer) {
  int value = 0;
  tree.SetNodeDataSize(2);
  try {
    tree.AddChild(nullptr, &value);
    FAIL() << "no error";
  } catch (const ELiveTreeError& e) {
    EXPECT_EQ(e.HelpContext(), 2008);
    EXPECT_EQ(StringToUTF8(e.Message()),
              "Cannot set initial user data because there is not enough user data space allocated.");
  }
  EXPECT_EQ(tree.RootNodeCount(), 1u) << "the node stays";
  NoAutoSort();
  tree.SetNodeDataSize(PointerSize);
  std::vector<PLiveNode> freed;
  tree.OnFreeNode = [&](TBaseLiveTree*, PLiveNode node) { freed.push_back(node); };
  PLiveNode node = tree.AddChild(nullptr, &value);
  EXPECT_EQ(*tree.GetNodeData<int*>(node), &value);
  EXPECT_FALSE(node->Has(vsInitialized));
  tree.DeleteNode(node);
  EXPECT_EQ(freed, TNodeArray{node});
}

TEST_F(StoreTest, UntouchedNodesAreFreedSilently) {
  NoAutoSort();
  int freed = 0;
  tree.OnFreeNode = [&](TBaseLiveTree*, PLiveNode) { ++freed; };
  tree.SetRootNodeCount(3);
  tree.InitializedVisible(tree.GetFirstNoInit());
  tree.Clear();
  EXPECT_EQ(freed, 1);
}

TEST_F(StoreTest, InsertNodeModes) {
  tree.SetNodeDataSize(8);
  nodes.Build(tree, "A(B,C),D");
  EXPECT_EQ(tree.InsertNode(nodes["A"], amNoWhere), nullptr);
  PLiveNode first = tree.InsertNode(nullptr, amInsertBefore);
  EXPECT_EQ(tree.GetFirstNoInit(), first);
  PLiveNode last = tree.InsertNode(nullptr, amInsertAfter);
  EXPECT_EQ(tree.RootNode()->LastChild, last);
  PLiveNode beforeC = tree.InsertNode(nodes["C"], amInsertBefore);
  EXPECT_EQ(beforeC->Index, 1u);
  EXPECT_EQ(nodes["C"]->Index, 2u);
  PLiveNode childFirst = tree.InsertNode(nodes["A"], amAddChildFirst);
  EXPECT_EQ(nodes["A"]->FirstChild, childFirst);
  EXPECT_EQ(nodes["C"]->Index, 3u);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(StoreTest, DeleteReindexes) {
  tree.SetNodeDataSize(8);
  nodes.Build(tree, "A,B,C");
  tree.DeleteNode(nodes["B"], true);
  EXPECT_EQ(nodes["A"]->Index, 0u);
  EXPECT_EQ(nodes["C"]->Index, 1u);
  nodes.Build(tree, "D");
  tree.DeleteNode(nodes["C"], false);
  EXPECT_EQ(nodes["D"]->Index, 2u) << "without reindexing the last keeps its index";
}

TEST_F(StoreTest, DeleteChildrenCollapses) {
  tree.SetNodeDataSize(8);
  nodes.Build(tree, "A(B,C)");
  tree.ToggleNode(nodes["A"]);
  ASSERT_TRUE(tree.Expanded(nodes["A"]));
  tree.DeleteChildren(nodes["A"], false);
  EXPECT_FALSE(tree.Expanded(nodes["A"]));
  EXPECT_TRUE(tree.HasChildren(nodes["A"]));
  EXPECT_EQ(CheckTreeInvariants(tree), "");
  tree.DeleteChildren(nodes["A"], true);
  EXPECT_FALSE(tree.HasChildren(nodes["A"]));
}

TEST_F(StoreTest, ClearInsideUpdateReportsOnceAccumulated) {
  tree.SetNodeDataSize(8);
  nodes.Build(tree, "A(B),C");
  std::vector<TChangeReason> reasons;
  tree.OnStructureChange = [&](TBaseLiveTree*, PLiveNode, TChangeReason reason) { reasons.push_back(reason); };
  tree.BeginUpdate();
  tree.AddChild(nullptr);
  tree.Clear();
  EXPECT_TRUE(reasons.empty());
  tree.EndUpdate();
  EXPECT_EQ(reasons, std::vector<TChangeReason>{crAccumulated});
  EXPECT_EQ(tree.RootNodeCount(), 0u);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(StoreTest, ChangeDelayUsesTimerSix) {
  int fired = 0;
  tree.OnStructureChange = [&](TBaseLiveTree*, PLiveNode, TChangeReason) { ++fired; };
  tree.AddChild(nullptr);
  EXPECT_EQ(fired, 1) << "without delay at once";
  tree.SetChangeDelay(100);
  tree.AddChild(nullptr);
  tree.AddChild(nullptr);
  EXPECT_EQ(fired, 1);
  ASSERT_TRUE(host.TimerRunning(TimerIdStructureChange));
  EXPECT_EQ(host.Timers[TimerIdStructureChange], 100u);
  host.FireTimer(TimerIdStructureChange);
  EXPECT_EQ(fired, 2);
  EXPECT_FALSE(host.TimerRunning(TimerIdStructureChange));
  tree.BeginSynch();
  tree.AddChild(nullptr);
  EXPECT_EQ(fired, 3) << "synch mode never delays";
  tree.EndSynch();
}

TEST_F(StoreTest, UpdateBracketEventsAndRedraw) {
  std::vector<TLTUpdateState> states;
  tree.OnUpdating = [&](TBaseLiveTree*, TLTUpdateState state) { states.push_back(state); };
  tree.BeginUpdate();
  tree.BeginUpdate();
  tree.EndUpdate();
  tree.EndUpdate();
  tree.EndUpdate();
  EXPECT_EQ(states, (std::vector<TLTUpdateState>{usBegin, usUpdate, usUpdate, usEnd, usEnd}));
  EXPECT_EQ(host.RedrawSwitches, (std::vector<bool>{false, true}));
  EXPECT_EQ(tree.UpdateCount(), 0u);
}

TEST_F(StoreTest, EndUpdateFinishesWhenOnChangeRaises) {
  tree.SetNodeDataSize(8);
  nodes.Build(tree, "A");
  tree.OnChange = [](TBaseLiveTree*, PLiveNode) { throw EAbort(u"stop"); };
  tree.BeginUpdate();
  tree.SetSelected(nodes["A"], true);
  EXPECT_THROW(tree.EndUpdate(), EAbort);
  EXPECT_EQ(tree.UpdateCount(), 0u);
  EXPECT_EQ(host.RedrawSwitches.back(), true);
  EXPECT_FALSE(tree.TreeStates().Contains(tsUpdating));
}

TEST_F(StoreTest, StateChangeReportsOnlyRealChanges) {
  int reports = 0;
  tree.OnStateChange = [&](TBaseLiveTree*, TLiveTreeStates, TLiveTreeStates) { ++reports; };
  tree.BeginUpdate();
  int afterBegin = reports;
  tree.BeginUpdate();
  EXPECT_EQ(reports, afterBegin) << "tsUpdating was already set";
  tree.EndUpdate();
  tree.EndUpdate();
}

TEST_F(StoreTest, MoveToCases) {
  tree.SetNodeDataSize(8);
  nodes.Build(tree, "A(B,C),D");
  try {
    tree.MoveTo(nodes["A"], nodes["B"], amAddChildLast, false);
    FAIL() << "no error";
  } catch (const ELiveTreeError& e) {
    EXPECT_EQ(e.HelpContext(), 2001);
  }
  tree.MoveTo(nodes["A"], nodes["A"], amAddChildLast, true);
  EXPECT_EQ(nodes["A"]->ChildCount, 2u);
  tree.MoveTo(nodes["A"], nodes["A"], amInsertAfter, true);
  EXPECT_EQ(
      nodes.Join({tree.GetFirstNoInit(), nodes["A"]->NextSibling, nodes["B"]->NextSibling, nodes["C"]->NextSibling}),
      "A B C D");
  EXPECT_EQ(nodes["A"]->ChildCount, 0u);
  tree.MoveTo(nodes["D"], nodes["A"], amAddChildFirst, false);
  EXPECT_EQ(nodes["A"]->FirstChild, nodes["D"]);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(StoreTest, LevelsParentsAndAssertions) {
  tree.SetNodeDataSize(8);
  nodes.Build(tree, "A(B(C))");
  EXPECT_EQ(tree.GetNodeLevel(nodes["A"]), 0u);
  EXPECT_EQ(tree.GetNodeLevel(nodes["C"]), 2u);
  EXPECT_FALSE(tree.HasAsParent(nodes["A"], nodes["A"]));
  EXPECT_TRUE(tree.HasAsParent(nodes["C"], nodes["A"]));
  EXPECT_TRUE(tree.HasAsParent(nodes["C"], tree.RootNode()));
  EXPECT_EQ(TBaseLiveTree::TreeFromNode(nodes["C"]), &tree);
  EXPECT_EQ(AssertionText([&] { TBaseLiveTree::TreeFromNode(nullptr); }), "Node must not be nil.");
  EXPECT_EQ(AssertionText([&] { tree.ShownPath(nullptr); }), "Invalid parameter.");
  EXPECT_EQ(AssertionText([&] { tree.AncestorsShown(tree.RootNode()); }), "Invalid parameters.");
}

TEST_F(StoreTest, InitialisationOnDemand) {
  NoAutoSort();
  tree.SetNodeDataSize(8);
  int inits = 0, childInits = 0;
  tree.OnInitNode = [&](TBaseLiveTree* sender, PLiveNode parent, PLiveNode, TLiveNodeInitStates& states) {
    ++inits;
    if (sender->GetNodeLevel(parent) < 1 || parent == nullptr) states += ivsHasChildren;
  };
  tree.OnInitChildren = [&](TBaseLiveTree*, PLiveNode, Cardinal& count) {
    ++childInits;
    count = 2;
  };
  tree.SetRootNodeCount(2);
  EXPECT_EQ(inits, 0);
  EXPECT_EQ(tree.TotalCount(), 2u + 4u + 8u);
  EXPECT_EQ(childInits, 2 + 4);
  EXPECT_EQ(inits, 14);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(StoreTest, DefaultNodeHeightShiftsTheRoot) {
  tree.SetNodeDataSize(8);
  nodes.Build(tree, "A,B");
  Cardinal total = tree.RootNode()->TotalHeight;
  tree.SetDefaultNodeHeight(0);
  EXPECT_EQ(tree.DefaultNodeHeight(), 18u);
  tree.SetDefaultNodeHeight(20);
  EXPECT_EQ(tree.RootNode()->TotalHeight, total + 2);
  EXPECT_EQ(nodes["A"]->Height(), 18) << "existing nodes keep their heights";
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(StoreTest, ReservedInternalDataComesBeforeCallerData) {
  class Descendant : public TBaseLiveTree {
   public:
    using TBaseLiveTree::TBaseLiveTree;
    Cardinal Reserve(Cardinal size) { return ReserveInternalNodeData(size); }
  } descendant;
  Cardinal offset = descendant.Reserve(4);
  EXPECT_EQ(offset, sizeof(TLiveNode));
  descendant.SetNodeDataSize(8);
  PLiveNode node = descendant.AddChild(nullptr);
  EXPECT_EQ(static_cast<Byte*>(descendant.GetNodeData(node)) - reinterpret_cast<Byte*>(node),
            static_cast<std::ptrdiff_t>(sizeof(TLiveNode) + 8));
  EXPECT_EQ(AssertionText([&] { descendant.Reserve(4); }),
            "Internal data allocation must be done before any node is created.");
}

}  // namespace
