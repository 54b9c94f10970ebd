// What the clipboard and drag and drop rest on, apart from the platform: the
// format registry, references to live trees, the "Live Tree Data" node
// chunks, cut and copy marks, drop effects, drop modes and the drop target.
#include <gtest/gtest.h>

#include <map>

#include "livetree/livetreetransfer.h"
#include "livetree/stringtree.h"
#include "rtl/streams.h"
#include "support/livetree_fakehost.h"

namespace {

// A string tree whose nodes carry names: the caption chunk carries them
// from tree to tree.
struct NameTree {
  TFakeLiveTreeHost Host;
  TLiveStringTree Tree{&Host};
  std::map<PLiveNode, String> Names;

  NameTree() {
    Host.Tree = &Tree;
    Tree.TreeOptions().SetAutoOptions(Tree.TreeOptions().AutoOptions() - TLTAutoOptions{toAutoSort});
    Tree.TreeOptions().SetSelectionOptions(Tree.TreeOptions().SelectionOptions() + TLTSelectionOptions{toMultiSelect});
    Tree.OnGetText = [this](TBaseLiveTree*, PLiveNode node, TColumnIndex, TLSTTextType, String& text) {
      auto found = Names.find(node);
      text = found == Names.end() ? String() : found->second;
    };
    Tree.OnNewText = [this](TBaseLiveTree*, PLiveNode node, TColumnIndex, const String& text) { Names[node] = text; };
    Tree.OnFreeNode = [this](TBaseLiveTree*, PLiveNode node) { Names.erase(node); };
  }
  ~NameTree() {
    DetachTreeEvents(Tree);
    Tree.OnGetText = nullptr;
    Tree.OnNewText = nullptr;
  }
  PLiveNode Add(const String& name, PLiveNode parent = nullptr) {
    PLiveNode node = Tree.AddChild(parent);
    Names[node] = name;
    return node;
  }
  // The structure as "A(B,C),D".
  String Describe(PLiveNode parent = nullptr) {
    String result;
    if (parent == nullptr) parent = Tree.RootNode();
    for (PLiveNode child = parent->FirstChild; child; child = child->NextSibling) {
      if (!result.empty()) result += u',';
      result += Names[child];
      if (child->FirstChild != nullptr) result += u"(" + Describe(child) + u")";
    }
    return result;
  }
  PLiveNode Find(const String& name) {
    for (auto& [node, text] : Names)
      if (text == name) return node;
    return nullptr;
  }
};

TEST(TreeClipboardFormats, TheRegistryOrdersByPriorityAndOffersByClassAndList) {
  TClipboardFormatList list;
  list.Add(u"Plain text", ltcStringTree, 100, {1, 1, -1, 1});
  list.Add(u"Live Tree Data", ltcBaseTree, 50, {0xC001, 1, -1, 1});
  list.Add(u"CSV", ltcStringTree, 90, {0xC002, 1, -1, 1});
  list.Add(u"HTML Format", ltcStringTree, 80, {0xC003, 1, -1, 1});
  TStringList names;
  list.EnumerateFormats(ltcStringTree, names);
  EXPECT_EQ(names.Text(), u"Live Tree Data\r\nHTML Format\r\nCSV\r\nPlain text\r\n");
  // The base tree renders only what its own class registered.
  TFormatEtcArray base = list.EnumerateFormats(ltcBaseTree, nullptr);
  ASSERT_EQ(base.size(), 1u);
  EXPECT_EQ(base[0].cfFormat, 0xC001);
  // An allowed list filters; an empty one offers nothing.
  TStringList allowed(dupIgnore, true, false);
  allowed.Add(u"csv");
  allowed.Add(u"Live Tree Data");
  TFormatEtcArray offered = list.EnumerateFormats(ltcStringTree, &allowed);
  ASSERT_EQ(offered.size(), 2u);
  EXPECT_EQ(offered[0].cfFormat, 0xC001);
  EXPECT_EQ(offered[1].cfFormat, 0xC002);
  TStringList none;
  EXPECT_TRUE(list.EnumerateFormats(ltcStringTree, &none).empty());
  ASSERT_NE(list.FindFormat(u"html format"), nullptr);
  EXPECT_EQ(list.FindFormat(u"html format")->FormatEtc.cfFormat, 0xC003);
  EXPECT_EQ(list.FindFormat(Word{0xC002})->Description, u"CSV");
  EXPECT_EQ(list.FindFormat(u"Rich Text Format"), nullptr);
  EXPECT_EQ(StandardClipboardFormatDescription(13), u"Unicode text");
  EXPECT_EQ(StandardClipboardFormatDescription(16), u"Locale descriptor");
  EXPECT_EQ(StandardClipboardFormatDescription(17), u"");
}

TEST(TreeReferences, OnlyALiveTreeOfThisProcessIsReached) {
  auto tree = std::make_unique<TBaseLiveTree>();
  Cardinal identifier = tree->TreeIdentifier();
  auto bytes = EncodeTreeReference(4242, identifier);
  EXPECT_EQ(ResolveTreeReference(bytes.data(), bytes.size(), 4242), tree.get());
  // Another process, a short block, nothing at all.
  EXPECT_EQ(ResolveTreeReference(bytes.data(), bytes.size(), 4243), nullptr);
  EXPECT_EQ(ResolveTreeReference(bytes.data(), 7, 4242), nullptr);
  EXPECT_EQ(ResolveTreeReference(nullptr, 8, 4242), nullptr);
  // A tree that is gone is not reached, and its identifier names no new tree.
  tree.reset();
  EXPECT_EQ(ResolveTreeReference(bytes.data(), bytes.size(), 4242), nullptr);
  TBaseLiveTree next;
  EXPECT_NE(next.TreeIdentifier(), identifier);
  EXPECT_EQ(ResolveTreeReference(bytes.data(), bytes.size(), 4242), nullptr);
}

TEST(TreeReferences, ADataBlockCountIsClampedToTheBlock) {
  const Byte block[] = {0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4, 5, 6};
  EXPECT_EQ(TreeDataPayloadSize(block, sizeof block), 6u);
  const Byte exact[] = {2, 0, 0, 0, 9, 9, 9};
  EXPECT_EQ(TreeDataPayloadSize(exact, sizeof exact), 2u);
  EXPECT_EQ(TreeDataPayloadSize(block, 3), 0u);
}

TEST(TreeDropEffects, WithinATreeMovesBetweenTreesCopiesAndKeysChoose) {
  const Integer all = DropEffectCopy | DropEffectMove | DropEffectLink;
  const Integer copyMove = DropEffectCopy | DropEffectMove;
  struct Case {
    bool Self;
    TShiftState Shift;
    Integer Allowed;
    Integer Expected;
  } cases[] = {
      {true, {}, copyMove, DropEffectMove},
      {true, {ssCtrl}, copyMove, DropEffectCopy},
      {false, {}, copyMove, DropEffectCopy},
      {false, {ssShift}, copyMove, DropEffectMove},
      {false, {ssCtrl, ssShift}, all, DropEffectLink},
      {false, {ssAlt}, all, DropEffectLink},
      {false, {ssAlt}, copyMove, DropEffectCopy},
      {true, {}, DropEffectCopy, DropEffectCopy},
  };
  for (const Case& c : cases) EXPECT_EQ(ProposeDropEffect(c.Self, c.Shift, c.Allowed), c.Expected);
  EXPECT_EQ(AllowedDropEffects({}), all);
  EXPECT_EQ(AllowedDropEffects(DefaultDragOperations), copyMove);
}

TEST(TreeDataNodes, CopiedNodesArriveInAnotherTreeInOrderWithTheirSubtrees) {
  NameTree source, target;
  PLiveNode a = source.Add(u"A");
  source.Add(u"A1", a);
  PLiveNode b = source.Add(u"B");
  PLiveNode c = source.Add(u"C");
  source.Add(u"C1", c);
  source.Tree.SetSelected(a, true);
  source.Tree.SetSelected(c, true);
  source.Tree.SetSelected(source.Find(u"C1"), true);  // inside C: written once
  TMemoryStream stream;
  source.Tree.StreamDataNodes(stream, false);
  PLiveNode x = target.Add(u"X");
  target.Add(u"Y");
  stream.SetPosition(0);
  target.Tree.InsertDataNodes(stream, x, amInsertAfter, &source.Tree);
  EXPECT_EQ(target.Describe(), u"X,A(A1),C(C1),Y");
  // Under the hidden root amInsertBefore becomes amAddChildFirst.
  stream.SetPosition(0);
  target.Tree.InsertDataNodes(stream, nullptr, amInsertBefore, &source.Tree);
  EXPECT_EQ(target.Describe(), u"A(A1),C(C1),X,A(A1),C(C1),Y");
  (void)b;
}

TEST(TreeDataNodes, DamagedChunksLeaveNothingBehindAndRaiseTheStreamError) {
  NameTree source, target;
  source.Tree.SetSelected(source.Add(u"A"), true);
  TMemoryStream stream;
  source.Tree.StreamDataNodes(stream, false);
  // Cut off in the middle of the chunk.
  TMemoryStream cut;
  stream.SetPosition(0);
  cut.CopyFrom(stream, stream.Size() - 5);
  cut.SetPosition(0);
  target.Add(u"X");
  EXPECT_ANY_THROW(target.Tree.InsertDataNodes(cut, nullptr, amAddChildLast, nullptr));
  EXPECT_EQ(target.Describe(), u"X");
  // A chunk that is no node at all.
  const Byte garbage[] = {7, 0, 0, 0, 4, 0, 0, 0, 1, 2, 3, 4};
  TMemoryStream wrong;
  wrong.WriteBuffer(garbage, sizeof garbage);
  wrong.SetPosition(0);
  EXPECT_THROW(target.Tree.InsertDataNodes(wrong, nullptr, amAddChildLast, nullptr), ELiveTreeError);
  EXPECT_EQ(target.Describe(), u"X");
  EXPECT_EQ(target.Tree.TotalCount(), 1u);
}

TEST(TreeCutCopy, MarksSkipDisabledNodesAndAFinishedCutDeletesTheMarkedOnes) {
  NameTree tree;
  PLiveNode a = tree.Add(u"A");
  PLiveNode b = tree.Add(u"B");
  PLiveNode c = tree.Add(u"C");
  tree.Tree.SetSelected(a, true);
  tree.Tree.SetSelected(b, true);
  b->Include({vsDisabled});
  tree.Tree.MarkCutOrCopy(false);
  EXPECT_TRUE(tree.Tree.TreeStates().Contains(tsCopyPending));
  EXPECT_TRUE(a->Has(vsCutOrCopy));
  EXPECT_FALSE(b->Has(vsCutOrCopy));
  tree.Tree.FinishCutOrCopy();  // a copy stays
  EXPECT_EQ(tree.Describe(), u"A,B,C");
  tree.Tree.CancelCutOrCopy();
  EXPECT_FALSE(a->Has(vsCutOrCopy));
  EXPECT_FALSE(tree.Tree.TreeStates().Contains(tsCopyPending));
  tree.Tree.SetSelected(c, true);
  tree.Tree.MarkCutOrCopy(true);
  EXPECT_TRUE(tree.Tree.TreeStates().Contains(tsCutPending));
  tree.Tree.FinishCutOrCopy();
  EXPECT_EQ(tree.Describe(), u"B");
  EXPECT_FALSE(tree.Tree.TreeStates().Contains(tsCutPending));
}

TEST(TreeCutCopy, AMovedCutKeepsItsOrderAndNeverEntersItsOwnSubtree) {
  NameTree source, target;
  PLiveNode a = source.Add(u"A");
  PLiveNode a1 = source.Add(u"A1", a);
  PLiveNode b = source.Add(u"B");
  PLiveNode c = source.Add(u"C");
  for (PLiveNode node : {a, b, c}) source.Tree.SetSelected(node, true);
  source.Tree.MarkCutOrCopy(true);
  // Into its own subtree: A stays, B and C go below A1.
  source.Tree.MoveDataNodes(source.Tree, a1, amAddChildLast);
  EXPECT_EQ(source.Describe(), u"A(A1(B,C))");
  // Into another tree after X: order kept.
  PLiveNode x = target.Add(u"X");
  target.Add(u"Y");
  source.Tree.CancelCutOrCopy();
  source.Tree.ClearSelection();
  source.Tree.SetSelected(source.Find(u"B"), true);
  source.Tree.SetSelected(source.Find(u"C"), true);
  source.Tree.MarkCutOrCopy(true);
  target.Tree.MoveDataNodes(source.Tree, x, amInsertAfter);
  EXPECT_EQ(target.Describe(), u"X,B,C,Y");
  EXPECT_EQ(source.Describe(), u"A(A1)");
}

TEST(TreeDropTarget, TheModeFollowsTheHitAndTheTargetExpandsAfterItsDelay) {
  NameTree tree;
  PLiveNode a = tree.Add(u"A");
  tree.Add(u"A1", a);
  TRect rect = Rect(0, 0, 100, 18);
  THitInfo label;
  label.HitNode = a;
  label.HitPositions = {hiOnItem, hiOnItemLabel};
  THitInfo indent;
  indent.HitNode = a;
  indent.HitPositions = {hiOnItem, hiOnItemIndent};
  THitInfo nowhere;
  nowhere.HitPositions = {hiNowhere};
  EXPECT_EQ(tree.Tree.ComputeDropMode(Point(30, 5), label, rect), dmOnNode);
  EXPECT_EQ(tree.Tree.ComputeDropMode(Point(30, 5), indent, rect), dmAbove);
  EXPECT_EQ(tree.Tree.ComputeDropMode(Point(30, 12), indent, rect), dmBelow);
  EXPECT_EQ(tree.Tree.ComputeDropMode(Point(30, 5), nowhere, rect), dmNowhere);
  EXPECT_TRUE(tree.Tree.SetDropTarget(a, dmOnNode));
  EXPECT_FALSE(tree.Tree.SetDropTarget(a, dmOnNode));
  EXPECT_EQ(tree.Tree.DropTargetNode(), a);
  ASSERT_TRUE(tree.Host.Timers.count(TimerIdExpand));
  EXPECT_EQ(tree.Host.Timers[TimerIdExpand], 1000u);
  tree.Tree.TimerFired(TimerIdExpand);
  EXPECT_TRUE(tree.Tree.Expanded(a));
  EXPECT_FALSE(tree.Host.Timers.count(TimerIdExpand));
  tree.Tree.ClearDropTarget();
  EXPECT_EQ(tree.Tree.DropTargetNode(), nullptr);
}

TEST(TreeDropTarget, ADragNearTheBottomScrollsOnlyAfterTheDelay) {
  NameTree tree;
  tree.Host.Height = 100;
  for (int i = 0; i < 30; ++i) tree.Add(u"N");
  tree.Tree.UpdateRanges();
  tree.Tree.SetAutoScrollDelay(500);
  EXPECT_FALSE(tree.Tree.DragAutoScroll(Point(50, 95), 10000, 20, 20));
  EXPECT_FALSE(tree.Tree.DragAutoScroll(Point(50, 95), 10400, 20, 20));
  EXPECT_TRUE(tree.Tree.DragAutoScroll(Point(50, 95), 10600, 20, 20));
  EXPECT_EQ(tree.Tree.OffsetY(), -20);
  // In the middle nothing scrolls, and the delay starts anew.
  EXPECT_FALSE(tree.Tree.DragAutoScroll(Point(50, 50), 10700, 20, 20));
  EXPECT_FALSE(tree.Tree.DragAutoScroll(Point(50, 5), 10800, 20, 20));
  EXPECT_TRUE(tree.Tree.DragAutoScroll(Point(50, 5), 11400, 20, 20));
  EXPECT_EQ(tree.Tree.OffsetY(), 0);
}

}  // namespace
