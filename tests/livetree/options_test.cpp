// Option sets, published property defaults, setters and preset answers.
#include <gtest/gtest.h>

#include "livetree/basetree.h"
#include "support/livetree_fakehost.h"

namespace {

TEST(OptionsTest, DefaultsAsNumbers) {
  TBaseLiveTree tree;
  const TCustomLiveTreeOptions& options = tree.TreeOptions();
  EXPECT_EQ(options.PaintOptions().ToBits(), 7008u);
  EXPECT_EQ(options.AutoOptions().ToBits(), 1369u);
  EXPECT_EQ(options.MiscOptions().ToBits(), 16809u);
  EXPECT_EQ(options.SelectionOptions().ToBits(), 0u);
  EXPECT_EQ(options.AnimationOptions().ToBits(), 0u);
  EXPECT_EQ(options.ExportMode(), emAll);
  EXPECT_TRUE(options.AutoOptions().Contains(toAutoSort));
  EXPECT_EQ(tree.NodeDataSize(), -1);
  EXPECT_EQ(tree.DefaultNodeHeight(), 18u);
  EXPECT_EQ(tree.Indent(), 18u);
  EXPECT_EQ(tree.Margin(), 4);
  EXPECT_EQ(tree.TextMargin(), 4);
  EXPECT_EQ(tree.AnimationDuration(), 200u);
  EXPECT_EQ(tree.IncrementalSearch(), isNone);
  EXPECT_EQ(tree.IncrementalSearchStart(), ssFocusedNode);
  EXPECT_EQ(tree.IncrementalSearchTimeout(), 1000u);
  EXPECT_EQ(tree.AutoExpandDelay(), 1000u);
  EXPECT_EQ(tree.AutoScrollDelay(), 1000u);
  EXPECT_EQ(tree.AutoScrollInterval(), 1u);
  EXPECT_EQ(tree.ChangeDelay(), 0u);
  EXPECT_EQ(tree.DefaultPasteMode(), amAddChildLast);
  EXPECT_EQ(tree.DragHeight(), 350);
  EXPECT_EQ(tree.DragWidth(), 200);
  EXPECT_EQ(tree.EditDelay(), 1000u);
  EXPECT_EQ(tree.SelectionBlendFactor(), 128);
  EXPECT_EQ(tree.SelectionCurveRadius(), 0u);
  EXPECT_EQ(tree.RootNodeCount(), 0u);
  EXPECT_EQ(tree.FocusedColumn(), InvalidColumn);
}

struct BitCase {
  unsigned bit;
  unsigned ordinal;
};

TEST(OptionsTest, BitPositions) {
  for (BitCase c :
       {BitCase{22, toShowFilteredNodes}, BitCase{18, toChildrenAbove}, BitCase{13, toAutoBidiColumnOrdering},
        BitCase{11, toAutoFreeOnCollapse}, BitCase{11, toRestoreSelection}, BitCase{10, toAlwaysSelectNode},
        BitCase{16, toReverseFullExpandHotKey}, BitCase{10, toVariableNodeHeight}, BitCase{9, toReadOnly},
        BitCase{1, toAdvancedAnimatedToggle}, BitCase{15, vsFiltered}, BitCase{9, vsOnFreeNodeCallRequired},
        BitCase{6, ivsReInit}, BitCase{56, tsUseExplorerTheme}, BitCase{0, tsCancelHintAnimation}})
    EXPECT_EQ(c.bit, c.ordinal);
  EXPECT_EQ(TLTMiscOptions{toReverseFullExpandHotKey}.ToBits(), 1u << 16);
}

TEST(OptionsTest, SetterSideEffects) {
  TFakeLiveTreeHost host;
  TBaseLiveTree tree(&host);
  tree.SetAnimationDuration(0);
  EXPECT_FALSE(tree.TreeOptions().AnimationOptions().Contains(toAnimatedToggle));
  tree.SetAnimationDuration(100);
  EXPECT_TRUE(tree.TreeOptions().AnimationOptions().Contains(toAnimatedToggle));
  tree.TreeOptions().SetPaintOptions({toFixedIndent});
  EXPECT_EQ(tree.TreeOptions().PaintOptions(), (TLTPaintOptions{toShowRoot, toFixedIndent}));
  tree.ApplyFontTextHeight(22);
  EXPECT_EQ(tree.DefaultNodeHeight(), 22u);
  tree.SetDefaultNodeHeight(18);
  tree.ApplyFontTextHeight(12);
  EXPECT_EQ(tree.DefaultNodeHeight(), 18u);
  tree.SetIncrementalSearch(isAll);
  host.StartTimer(TimerIdSearch, 10);
  tree.SetIncrementalSearch(isNone);
  EXPECT_FALSE(host.TimerRunning(TimerIdSearch));
}

TEST(OptionsTest, OptionsAssignment) {
  TBaseLiveTree source, target;
  source.TreeOptions().SetSelectionOptions({toMultiSelect});
  source.TreeOptions().SetMiscOptions({toCheckSupport});
  source.TreeOptions().SetExportMode(emChecked);
  target.SetTreeOptions(source.TreeOptions());
  EXPECT_EQ(target.TreeOptions().SelectionOptions(), TLTSelectionOptions{toMultiSelect});
  EXPECT_EQ(target.TreeOptions().MiscOptions(), TLTMiscOptions{toCheckSupport});
  EXPECT_EQ(target.TreeOptions().ExportMode(), emAll) << "not copied";
}

TEST(OptionsTest, AssigningATreeCopiesTheTopLevelCount) {
  TBaseLiveTree source, target;
  source.TreeOptions().SetAutoOptions({});
  source.SetNodeDataSize(16);
  source.SetRootNodeCount(5);
  source.AddChild(source.GetFirstNoInit());
  source.SetIndent(22);
  target.Assign(source);
  EXPECT_EQ(target.RootNodeCount(), 5u);
  EXPECT_EQ(target.NodeDataSize(), 16);
  EXPECT_EQ(target.Indent(), 22u);
  for (PLiveNode run = target.GetFirstNoInit(); run; run = target.GetNextNoInit(run)) {
    EXPECT_FALSE(run->Has(vsInitialized));
    EXPECT_EQ(run->ChildCount, 0u);
  }
}

TEST(OptionsTest, PresetAnswers) {
  class Probe : public TBaseLiveTree {
   public:
    void Check() {
      AddChild(nullptr);
      PLiveNode node = GetFirstNoInit();
      EXPECT_TRUE(AskExpanding(node));
      EXPECT_TRUE(AskCollapsing(node));
      EXPECT_TRUE(AskNodeMoving(node, nullptr));
      EXPECT_TRUE(AskNodeCopying(node, nullptr));
      EXPECT_TRUE(AskFocusChange(nullptr, node, NoColumn, NoColumn));
      EXPECT_TRUE(QueryCellIsEmpty(node, NoColumn));
      EXPECT_EQ(QueryCompare(node, node, NoColumn), 0);
      TCheckState state = csCheckedNormal;
      EXPECT_TRUE(AskChecking(node, state));
      Integer size = 0;
      QueryNodeDataSize(size);
      EXPECT_EQ(size, static_cast<Integer>(sizeof(void*)));
      Cardinal count = 7;
      EXPECT_FALSE(FireInitChildren(node, count)) << "no handler, no answer";
      EXPECT_EQ(count, 7u);
    }
  } probe;
  probe.Check();
}

TEST(OptionsTest, LoadingOnlyRecords) {
  TBaseLiveTree tree;
  tree.BeginLoading();
  tree.SetRootNodeCount(4);
  EXPECT_TRUE(tree.TreeStates().Contains(tsNeedRootCountUpdate));
  EXPECT_EQ(tree.GetFirstNoInit(), nullptr);
  tree.SetNodeDataSize(12);
  tree.EndLoading();
  EXPECT_EQ(tree.RootNodeCount(), 4u);
  EXPECT_NE(tree.GetFirstNoInit(), nullptr);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

}  // namespace
