// Geometry: display rectangles, scroll offsets and ranges, scrolling into
// view, hit tests, column measuring and the mouse selection rectangle.
#include <gtest/gtest.h>

#include <map>

#include "livetree/drawtree.h"
#include "livetree/stringtree.h"
#include "support/livetree_fakehost.h"

namespace {

class GeometryTest : public ::testing::Test {
 protected:
  GeometryTest() {
    host.Tree = &tree;
    host.Height = 100;
    tree.TreeOptions().SetAutoOptions(tree.TreeOptions().AutoOptions() - TLTAutoOptions{toAutoSort});
    tree.OnGetText = [this](TBaseLiveTree*, PLiveNode node, TColumnIndex, TLSTTextType type, String& text) {
      if (type == ttNormal && names.count(node)) text = names[node];
    };
  }
  ~GeometryTest() override {
    DetachTreeEvents(tree);
    tree.OnGetText = nullptr;
  }
  // Count top-level nodes N0, N1, ...
  std::vector<PLiveNode> Fill(int count, PLiveNode parent = nullptr) {
    std::vector<PLiveNode> nodes;
    for (int i = 0; i < count; ++i) {
      PLiveNode node = tree.AddChild(parent);
      names[node] = u"N" + String(1, static_cast<Char>(u'0' + i % 10));
      nodes.push_back(node);
    }
    tree.UpdateRanges();
    return nodes;
  }

  TFakeLiveTreeHost host;
  TLiveStringTree tree{&host};
  std::map<PLiveNode, String> names;
  static constexpr Integer W = TFakeLiveTreeHost::CharWidth;
};

TEST_F(GeometryTest, DisplayRectanglesOfShownAndHiddenNodes) {
  std::vector<PLiveNode> nodes = Fill(3);
  PLiveNode child = tree.AddChild(nodes[1]);
  names[child] = u"Kid";
  EXPECT_EQ(tree.GetDisplayRect(nodes[2], NoColumn, false), Rect(0, 36, 300, 54));
  EXPECT_EQ(tree.GetDisplayRect(child, NoColumn, false), TRect{}) << "inside a collapsed parent";
  tree.ToggleNode(nodes[1]);
  EXPECT_EQ(tree.GetDisplayRect(nodes[2], NoColumn, false).Top, 54);
  // The text of a top-level node starts at Margin + Indent with toShowRoot.
  TRect text = tree.GetDisplayRect(nodes[0], NoColumn, true);
  Integer textWidth = 2 * tree.TextMargin() + 2 * W;
  EXPECT_EQ(text, Rect(tree.Margin() + 18, 0, tree.Margin() + 18 + textWidth, 18));
  EXPECT_EQ(tree.GetDisplayRect(child, NoColumn, true).Left, tree.Margin() + 2 * 18);
  tree.SetAlignment(taRightJustify);
  EXPECT_EQ(tree.GetDisplayRect(nodes[0], NoColumn, true).Left, 300 - textWidth);
  tree.SetAlignment(taLeftJustify);
  tree.OnInitNode = [](TBaseLiveTree*, PLiveNode, PLiveNode, TLiveNodeInitStates& states) { states += ivsFiltered; };
  PLiveNode filtered = tree.AddChild(nullptr);
  tree.ValidateNode(filtered, false);
  EXPECT_EQ(tree.GetDisplayRect(filtered, NoColumn, false), TRect{});
  tree.OnInitNode = nullptr;
  EXPECT_THROW(tree.GetDisplayRect(nullptr, NoColumn, false), EAssertionFailed);
  EXPECT_THROW(tree.GetDisplayRect(tree.RootNode(), NoColumn, false), EAssertionFailed);
}

TEST_F(GeometryTest, ImagesAndCheckBoxesMoveTheText) {
  std::vector<PLiveNode> nodes = Fill(1);
  host.ImageLists[ilNormal] = TSize{16, 16};
  host.ImageLists[ilCheck] = TSize{13, 13};
  tree.OnGetImageIndex = [](TBaseLiveTree*, PLiveNode, TLTImageKind kind, TColumnIndex, bool&, Integer& index) {
    if (kind == ikNormal) index = 3;
  };
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toCheckSupport});
  tree.SetCheckType(nodes[0], ctCheckBox);
  EXPECT_EQ(tree.GetDisplayRect(nodes[0], NoColumn, true).Left, tree.Margin() + 18 + 15 + 18);
  THitInfo hit;
  tree.GetHitTestInfoAt(tree.Margin() + 18 + 3, 5, true, hit);
  EXPECT_TRUE(hit.HitPositions.Contains(hiOnItemCheckbox));
  tree.GetHitTestInfoAt(tree.Margin() + 18 + 15 + 3, 5, true, hit);
  EXPECT_TRUE(hit.HitPositions.Contains(hiOnNormalIcon));
  tree.OnGetImageIndex = nullptr;
}

TEST_F(GeometryTest, TopsComeFromTheCacheInBigTrees) {
  tree.SetRootNodeCount(2500);
  PLiveNode node = tree.GetLastNoInit();
  tree.SetNodeHeight(tree.GetFirstNoInit(), 30);
  Integer walkedTop = tree.GetDisplayRect(node, NoColumn, false).Top;
  EXPECT_EQ(walkedTop, 30 + 2498 * 18);
  tree.RequestCacheValidation();
  host.WaitForBuilder();
  ASSERT_TRUE(tree.PositionCacheValid());
  EXPECT_EQ(tree.GetDisplayRect(node, NoColumn, false).Top, walkedTop);
}

TEST_F(GeometryTest, OffsetsAreClampedToTheRanges) {
  Fill(3);
  EXPECT_EQ(tree.RangeY(), 54);
  EXPECT_FALSE(tree.ScrollOffsets(Point(-50, -50))) << "content that fits does not scroll";
  EXPECT_EQ(tree.OffsetY(), 0);
  Fill(20);
  EXPECT_EQ(tree.RangeY(), 23 * 18);
  Integer dy = 0;
  tree.OnScroll = [&](TBaseLiveTree*, Integer, Integer deltaY) { dy = deltaY; };
  tree.SetOffsetY(-10000);
  EXPECT_EQ(tree.OffsetY(), 100 - 23 * 18);
  EXPECT_EQ(dy, 100 - 23 * 18);
  EXPECT_EQ(host.Scrolled.Y, 100 - 23 * 18);
  tree.SetOffsetY(5);
  EXPECT_EQ(tree.OffsetY(), 0);
  tree.SetBottomSpace(40);
  tree.UpdateRanges();
  tree.SetOffsetY(-10000);
  EXPECT_EQ(tree.OffsetY(), 100 - 23 * 18 - 40) << "the last node ends 40 pixels above the bottom";
  EXPECT_EQ(tree.GetDisplayRect(tree.GetLast(), NoColumn, false).Bottom, 60);
}

TEST_F(GeometryTest, ScrollingIntoViewWithCentre) {
  std::vector<PLiveNode> nodes = Fill(20);
  EXPECT_TRUE(tree.ScrollIntoView(nodes[6], false));
  EXPECT_EQ(tree.GetDisplayRect(nodes[6], NoColumn, false).Bottom, 100) << "just brought into view";
  EXPECT_FALSE(tree.ScrollIntoView(nodes[6], false)) << "already visible";
  tree.SetOffsetY(0);
  EXPECT_TRUE(tree.ScrollIntoView(nodes[6], true));
  EXPECT_EQ(tree.GetDisplayRect(nodes[6], NoColumn, false).Bottom, 50) << "a node below ends at the middle";
  tree.SetOffsetY(-300);
  EXPECT_TRUE(tree.ScrollIntoView(nodes[10], true));
  EXPECT_EQ(tree.GetDisplayRect(nodes[10], NoColumn, false).Top, 50) << "a node above starts at the middle";
  PLiveNode hidden = tree.AddChild(nodes[15]);
  tree.SetOffsetY(0);
  tree.ScrollIntoView(hidden, false);
  EXPECT_TRUE(tree.Expanded(nodes[15])) << "collapsed ancestors open";
  EXPECT_EQ(tree.GetDisplayRect(hidden, NoColumn, false).Bottom, 100);
}

TEST_F(GeometryTest, ColumnsScrollIntoView) {
  Fill(2);
  TLiveTreeColumns& columns = tree.Header().Columns();
  for (Integer width : {100, 150, 120}) columns.Add()->SetWidth(width);
  tree.UpdateRanges();
  EXPECT_EQ(tree.RangeX(), 370);
  EXPECT_TRUE(tree.ScrollIntoView(2, false));
  EXPECT_EQ(tree.EffectiveOffsetX(), 70);
  EXPECT_EQ(tree.OffsetX(), -70);
  EXPECT_TRUE(tree.ScrollIntoView(2, false));
  EXPECT_EQ(tree.EffectiveOffsetX(), 70) << "already in view";
  EXPECT_TRUE(tree.ScrollIntoView(0, false));
  EXPECT_EQ(tree.EffectiveOffsetX(), 0);
  EXPECT_TRUE(tree.ScrollIntoView(1, true));
  EXPECT_EQ(tree.EffectiveOffsetX(), 25) << "the centre of 100..250 at the centre of 300";
  EXPECT_FALSE(tree.ScrollIntoView(7, false));
  Integer left = 0, right = 0;
  tree.SetOffsetX(-40);
  columns.GetColumnBounds(1, left, right);
  EXPECT_EQ(left, 60);
  EXPECT_EQ(right, 210);
  columns[0]->SetOptions(columns[0]->Options() + TLTColumnOptions{coFixed});
  columns.GetColumnBounds(0, left, right);
  EXPECT_EQ(left, 0) << "fixed columns do not scroll";
}

TEST_F(GeometryTest, HitTestsClassifyThePartsOfARow) {
  std::vector<PLiveNode> nodes = Fill(3);
  PLiveNode child = tree.AddChild(nodes[0]);
  names[child] = u"Kid";
  Integer textLeft = tree.Margin() + 18;
  Integer textRight = textLeft + 2 * tree.TextMargin() + 2 * W;
  struct Case {
    Integer x, y;
    THitPositions expected;
    bool node;
  } cases[] = {
      {textLeft + 1, 5, {hiOnItem, hiOnItemLabel}, true},
      {textRight + 5, 5, {hiOnItem, hiOnItemRight}, true},
      {10, 5, {hiOnItem, hiOnItemButton, hiOnItemButtonExact}, true},
      {2, 5, {hiOnItem, hiOnItemButton}, true},
      {10, 23, {hiOnItem}, true},  // N1 has no children: its indentation is just the item
      {50, 70, {hiNowhere}, false},
      {-5, 5, {hiToLeft}, false},
      {50, -5, {hiAbove}, false},
  };
  for (const Case& c : cases) {
    THitInfo hit;
    tree.GetHitTestInfoAt(c.x, c.y, true, hit);
    EXPECT_EQ(hit.HitPositions.ToBits(), c.expected.ToBits()) << c.x << "," << c.y;
    EXPECT_EQ(hit.HitNode != nullptr, c.node) << c.x << "," << c.y;
    EXPECT_EQ(hit.HitColumn, NoColumn);
  }
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toNodeHeightResize});
  THitInfo hit;
  tree.GetHitTestInfoAt(textLeft + 1, 19, true, hit);
  EXPECT_TRUE(hit.HitPositions.Contains(hiUpperSplitter));
  tree.GetHitTestInfoAt(textLeft + 1, 34, true, hit);
  EXPECT_TRUE(hit.HitPositions.Contains(hiLowerSplitter));
}

TEST_F(GeometryTest, HitTestsFindColumnsAndScroll) {
  std::vector<PLiveNode> nodes = Fill(20);
  TLiveTreeColumns& columns = tree.Header().Columns();
  for (Integer width : {100, 150, 120}) columns.Add()->SetWidth(width);
  tree.UpdateRanges();
  tree.SetOffsetXY(Point(-70, -36));
  THitInfo hit;
  tree.GetHitTestInfoAt(50, 5, true, hit);
  EXPECT_EQ(hit.HitNode, nodes[2]);
  EXPECT_EQ(hit.HitColumn, 1) << "x 50 + 70 lies in the second column";
  EXPECT_EQ(hit.HitPoint, Point(120, 41));
  EXPECT_TRUE(hit.HitPositions.Contains(hiOnItem));
  tree.GetHitTestInfoAt(5, 5, false, hit);
  EXPECT_EQ(hit.HitNode, nodes[0]);
  EXPECT_EQ(hit.HitColumn, 0);
}

TEST_F(GeometryTest, MaxColumnWidthMeasuresShownNodes) {
  std::vector<PLiveNode> nodes = Fill(20);
  names[nodes[19]] = u"A much longer text";
  Integer margins = 2 * tree.TextMargin();
  Integer offset = tree.Margin() + 18;
  EXPECT_EQ(tree.GetMaxColumnWidth(NoColumn), offset + margins + 18 * W);
  EXPECT_EQ(tree.GetMaxColumnWidth(NoColumn, true), offset + margins + 2 * W) << "only the rows on screen";
  Integer before = -1;
  tree.OnBeforeGetMaxColumnWidth = [](TLTHeader*, TColumnIndex, bool& smart) { smart = false; };
  tree.OnAfterGetMaxColumnWidth = [&](TLTHeader*, TColumnIndex, Integer& width) {
    before = width;
    width += 1;
  };
  EXPECT_EQ(tree.GetMaxColumnWidth(NoColumn, true), offset + margins + 18 * W + 1);
  EXPECT_EQ(before, offset + margins + 18 * W);
}

TEST_F(GeometryTest, SelectionRectangleSelectsTheRowsItCovers) {
  tree.TreeOptions().SetSelectionOptions({toMultiSelect});
  std::vector<PLiveNode> nodes = Fill(5);
  EXPECT_TRUE(tree.CollectRectNodes(Rect(0, 0, 300, 40), TRect{}, {}));
  EXPECT_EQ(tree.SelectedCount(), 3);
  EXPECT_TRUE(tree.CollectRectNodes(Rect(0, 0, 300, 20), Rect(0, 0, 300, 40), {}));
  EXPECT_EQ(tree.SelectedCount(), 2);
  EXPECT_FALSE(tree.Selected(nodes[2]));
  EXPECT_FALSE(tree.CollectRectNodes(Rect(0, 0, 300, 20), Rect(0, 0, 300, 20), {})) << "nothing changes";
  // With Ctrl the nodes the rectangle enters flip.
  EXPECT_TRUE(tree.CollectRectNodes(Rect(0, 0, 300, 60), Rect(0, 0, 300, 20), {ssCtrl}));
  EXPECT_TRUE(tree.Selected(nodes[0]));
  EXPECT_TRUE(tree.Selected(nodes[2]));
  EXPECT_TRUE(tree.Selected(nodes[3]));
  // A rectangle right of the texts (left justified) misses them when it
  // starts left of them too.
  tree.ClearSelection();
  EXPECT_FALSE(tree.CollectRectNodes(Rect(200, 0, 300, 60), Rect(200, 0, 200, 0), {}));
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

}  // namespace

namespace {

TEST(DrawTree, OwnersMeasureTheirNodes) {
  TFakeLiveTreeHost host;
  TLiveDrawTree tree(&host);
  host.Tree = &tree;
  PLiveNode node = tree.AddChild(nullptr);
  EXPECT_EQ(tree.MeasureNodeWidth(node, NoColumn), 2 * tree.TextMargin());
  tree.OnGetNodeWidth = [](TBaseLiveTree*, TCanvas* canvas, PLiveNode, TColumnIndex, Integer& width) {
    EXPECT_NE(canvas, nullptr) << "the tree's canvas";
    width = 77;
  };
  tree.OnGetCellContentMargin = [](TBaseLiveTree*, TCanvas*, PLiveNode, TColumnIndex, TLTCellContentMarginType,
                                   TPoint& margin) { margin = Point(6, 0); };
  tree.UpdateRanges();
  EXPECT_EQ(tree.GetMaxColumnWidth(NoColumn), tree.Margin() + 18 + 77 + 6);
  EXPECT_EQ(tree.RangeX(), 18 + 77 + tree.Margin());
  tree.OnGetNodeWidth = nullptr;
  tree.OnGetCellContentMargin = nullptr;
}

}  // namespace
