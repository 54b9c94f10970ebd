// Long seeded sequences of random operations; the structural invariants must
// hold after every step taken outside an update.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "livetree/basetree.h"
#include "support/livetree_fakehost.h"

namespace {

class RandomOperations {
 public:
  explicit RandomOperations(std::uint32_t seed) : FRandom(seed), FHandlerRandom(seed * 7919u + 1) {
    FHost.Tree = &FTree;
    FTree.SetNodeDataSize(8);
    FTree.OnInitNode = [this](TBaseLiveTree* sender, PLiveNode parent, PLiveNode node, TLiveNodeInitStates& states) {
      *sender->GetNodeData<std::uint64_t>(node) = FHandlerRandom() % 1000;
      std::uint32_t roll = FHandlerRandom() % 100;
      if (roll < 8) states += ivsFiltered;
      if (roll >= 8 && roll < 30 && sender->GetNodeLevel(parent) < 4) states += ivsHasChildren;
      if (roll >= 30 && roll < 33) states += ivsExpanded;
      if (roll >= 33 && roll < 36) states += ivsDisabled;
      node->CheckType = static_cast<TCheckType>(FHandlerRandom() % 5);
    };
    FTree.OnInitChildren = [this](TBaseLiveTree*, PLiveNode, Cardinal& count) { count = FHandlerRandom() % 4; };
    FTree.OnCompareNodes = [](TBaseLiveTree* sender, PLiveNode a, PLiveNode b, TColumnIndex, Integer& result) {
      result = static_cast<Integer>(*sender->GetNodeData<std::uint64_t>(a)) -
               static_cast<Integer>(*sender->GetNodeData<std::uint64_t>(b));
    };
    FTree.SetSortColumn(0);
  }

  ~RandomOperations() {
    FTree.OnInitNode = nullptr;
    FTree.OnInitChildren = nullptr;
  }

  std::string Run(int steps) {
    for (int step = 0; step < steps; ++step) {
      Step();
      if (FTree.UpdateCount() == 0) {
        std::string problems = CheckTreeInvariants(FTree);
        if (!problems.empty()) return "step " + std::to_string(step) + " (" + FLastOperation + "): " + problems;
      }
    }
    while (FTree.UpdateCount() > 0) FTree.EndUpdate();
    return CheckTreeInvariants(FTree);
  }

 private:
  std::uint32_t Pick(std::uint32_t n) { return n == 0 ? 0 : FRandom() % n; }

  PLiveNode AnyNode(bool allowNil) {
    std::vector<PLiveNode> all;
    for (PLiveNode run = FTree.GetFirstNoInit(); run; run = FTree.GetNextNoInit(run)) all.push_back(run);
    if (all.empty() || (allowNil && Pick(8) == 0)) return nullptr;
    return all[Pick(static_cast<std::uint32_t>(all.size()))];
  }

  void SwitchOption() {
    TCustomLiveTreeOptions& options = FTree.TreeOptions();
    switch (Pick(6)) {
      case 0:
        options.SetPaintOptions(options.PaintOptions() - TLTPaintOptions{toShowFilteredNodes} +
                                (Pick(2) ? TLTPaintOptions{toShowFilteredNodes} : TLTPaintOptions{}));
        break;
      case 1:
        options.SetPaintOptions(options.PaintOptions() - TLTPaintOptions{toChildrenAbove} +
                                (Pick(2) ? TLTPaintOptions{toChildrenAbove} : TLTPaintOptions{}));
        break;
      case 2:
        options.SetAutoOptions(options.AutoOptions() - TLTAutoOptions{toAutoFreeOnCollapse, toAutoSort} +
                               (Pick(2) ? TLTAutoOptions{toAutoFreeOnCollapse} : TLTAutoOptions{}) +
                               (Pick(2) ? TLTAutoOptions{toAutoSort} : TLTAutoOptions{}));
        break;
      case 3:
        options.SetSelectionOptions(TLTSelectionOptions::FromBits(static_cast<std::uint16_t>(
            (Pick(2) ? 1u << toMultiSelect : 0u) | (Pick(4) == 0 ? 1u << toLevelSelectConstraint : 0u) |
            (Pick(4) == 0 ? 1u << toAlwaysSelectNode : 0u))));
        break;
      case 4:
        options.SetMiscOptions(options.MiscOptions() - TLTMiscOptions{toVariableNodeHeight} +
                               (Pick(2) ? TLTMiscOptions{toVariableNodeHeight} : TLTMiscOptions{}));
        break;
      default: FTree.SetDefaultNodeHeight(16 + Pick(8)); break;
    }
  }

  void Step() {
    bool crowded = FTree.RootNode()->TotalCount > 400;
    // Additions are drawn more often so that the tree grows to a few hundred
    // nodes, where the deletions then keep it.
    std::uint32_t operation = Pick(30);
    if (operation >= 22) operation = operation % 3;
    if (crowded && operation < 3) operation = 3;
    static const char* const names[] = {
        "add",    "insert",      "add",    "delete",          "delete children", "toggle", "expand", "collapse",
        "select", "select all",  "invert", "delete selected", "height",          "move",   "check",  "sort",
        "update", "child count", "reset",  "reinit",          "option",          "clear"};
    FLastOperation = names[operation];
    switch (operation) {
      case 0:
      case 2: FTree.AddChild(AnyNode(true)); break;
      case 1: FTree.InsertNode(AnyNode(true), static_cast<TLTNodeAttachMode>(1 + Pick(4))); break;
      case 3: FTree.DeleteNode(AnyNode(false), true); break;
      case 4:
        if (Pick(3) == 0) FTree.DeleteChildren(AnyNode(false), Pick(2) == 0);
        break;
      case 5:
        if (PLiveNode node = AnyNode(false)) FTree.ToggleNode(node);
        break;
      case 6:
        if (!crowded) FTree.FullExpand(AnyNode(true));
        break;
      case 7: FTree.FullCollapse(AnyNode(true)); break;
      case 8: FTree.SetSelected(AnyNode(false), Pick(3) != 0); break;
      case 9: FTree.SelectAll(Pick(2) == 0); break;
      case 10: FTree.InvertSelection(Pick(2) == 0); break;
      case 11:
        if (Pick(4) == 0) FTree.DeleteSelectedNodes();
        break;
      case 12: FTree.SetNodeHeight(AnyNode(false), 10 + Pick(30)); break;
      case 13: {
        PLiveNode source = AnyNode(false);
        PLiveNode target = AnyNode(true);
        try {
          if (source != nullptr)
            FTree.MoveTo(source, target, static_cast<TLTNodeAttachMode>(1 + Pick(4)), Pick(3) == 0);
        } catch (const ELiveTreeError&) {
        }
        break;
      }
      case 14:
        if (PLiveNode node = AnyNode(false)) FTree.SetCheckState(node, static_cast<TCheckState>(2 * Pick(3)));
        break;
      case 15: FTree.Sort(AnyNode(true), 0, Pick(2) ? sdAscending : sdDescending, Pick(2) == 0); break;
      case 16:
        if (FTree.UpdateCount() < 3 && Pick(2) == 0)
          FTree.BeginUpdate();
        else
          FTree.EndUpdate();
        break;
      case 17:
        if (!crowded) FTree.SetChildCount(AnyNode(true), Pick(6));
        break;
      case 18:
        if (PLiveNode node = AnyNode(false)) FTree.ResetNode(node);
        break;
      case 19: FTree.ReinitNode(AnyNode(false), Pick(2) == 0); break;
      case 20: SwitchOption(); break;
      default:
        if (Pick(40) == 0) FTree.Clear();
        break;
    }
  }

  std::mt19937 FRandom;
  std::mt19937 FHandlerRandom;
  TFakeLiveTreeHost FHost;
  TBaseLiveTree FTree{&FHost};
  std::string FLastOperation;
};

class RandomTest : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(RandomTest, InvariantsHold) {
  RandomOperations operations(GetParam());
  EXPECT_EQ(operations.Run(2500), "");
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomTest, ::testing::Range<std::uint32_t>(1, 13));

}  // namespace
