// The mouse controller: clicks that focus and select, expand buttons, check
// boxes, wheel scrolling, in-place editing started by F2 and clicks, the
// header's clicks and splitter drags, and handles from outside the tree.
#include <gtest/gtest.h>

#include <map>

#include "livetree/stringtree.h"
#include "support/livetree_namedtree.h"

namespace {

class MouseTest : public NamedTreeTest {
 protected:
  MouseTest() {
    host.Width = 200;
    host.HasFocus = true;
  }
  void AddRows(int count) {
    for (int i = 0; i < count; ++i) Add(u"row");
  }
  // The first client point of the node's row that the hit test classifies
  // with Position.
  TPoint PointOn(PLiveNode node, THitPosition position) {
    TRect row = tree.GetDisplayRect(node, NoColumn, false);
    Integer y = (row.Top + row.Bottom) / 2;
    for (Integer x = 0; x < host.Width; ++x) {
      THitInfo info;
      tree.GetHitTestInfoAt(x, y, true, info);
      if (info.HitNode == node && info.HitPositions.Contains(position)) return Point(x, y);
    }
    ADD_FAILURE() << "no such point";
    return Point(0, 0);
  }
  void Click(TPoint p, TShiftState shift = {}) {
    tree.MouseDown(mbLeft, shift, p.X, p.Y);
    tree.MouseUp(mbLeft, shift, p.X, p.Y);
  }
  std::vector<Cardinal> Selected() {
    std::vector<Cardinal> indices;
    for (PLiveNode node = tree.GetFirst(); node != nullptr; node = tree.GetNext(node))
      if (tree.Selected(node)) indices.push_back(node->Index);
    return indices;
  }
};

TEST_F(MouseTest, ARectangleBeyondTheDragThresholdAddsWithShiftAndScrollsByTheTimer) {
  tree.TreeOptions().SetSelectionOptions(tree.TreeOptions().SelectionOptions() + TLTSelectionOptions{toMultiSelect});
  tree.TreeOptions().SetAutoOptions(tree.TreeOptions().AutoOptions() + TLTAutoOptions{toAutoScroll});
  AddRows(40);
  PLiveNode first = tree.GetFirst();
  Click(PointOn(first, hiOnItemLabel));
  const TPoint start = PointOn(first->NextSibling->NextSibling, hiOnItemRight);
  tree.MouseDown(mbLeft, {ssShift}, start.X, start.Y);
  EXPECT_TRUE(tree.TreeStates().Contains(tsDrawSelPending));
  tree.MouseMove({}, start.X - 2, start.Y + 2);
  EXPECT_TRUE(tree.TreeStates().Contains(tsDrawSelPending)) << "within the drag threshold";
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{0}));
  tree.MouseMove({}, 0, start.Y + 2 * static_cast<Integer>(tree.DefaultNodeHeight()));
  EXPECT_TRUE(tree.TreeStates().Contains(tsDrawSelecting));
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{0, 2, 3, 4})) << "Shift keeps what was selected";

  // Near the bottom the delay starts, then every interval scrolls a step.
  host.Cursor = Point(0, host.Height - 5);
  tree.MouseMove({}, host.Cursor.X, host.Cursor.Y);
  EXPECT_EQ(tree.ScrollDirections(), TScrollDirections{sdDown});
  ASSERT_TRUE(host.TimerRunning(TimerIdScroll));
  EXPECT_EQ(host.Timers[TimerIdScroll], tree.AutoScrollDelay());
  host.FireTimer(TimerIdScroll);
  EXPECT_EQ(host.Timers[TimerIdScroll], tree.AutoScrollInterval());
  EXPECT_TRUE(tree.TreeStates().Contains(tsScrolling));
  EXPECT_EQ(tree.OffsetY(), -20);
  host.Cursor = Point(0, host.Height / 2);
  tree.MouseMove({}, host.Cursor.X, host.Cursor.Y);
  EXPECT_FALSE(host.TimerRunning(TimerIdScroll)) << "away from the edge it stops";
  tree.MouseUp(mbLeft, {}, host.Cursor.X, host.Cursor.Y);
  EXPECT_FALSE(tree.IsMouseSelecting());
  EXPECT_FALSE(tree.TreeStates().Contains(tsScrolling));
}

TEST_F(MouseTest, ClicksFocusAndSelectWithShiftAndCtrl) {
  tree.TreeOptions().SetSelectionOptions(tree.TreeOptions().SelectionOptions() + TLTSelectionOptions{toMultiSelect});
  AddRows(6);
  PLiveNode second = tree.GetFirst()->NextSibling;
  PLiveNode fifth = tree.GetLast()->PrevSibling;
  int focusEvents = 0;
  tree.OnFocusChanged = [&](TBaseLiveTree*, PLiveNode, TColumnIndex) { ++focusEvents; };
  Click(PointOn(second, hiOnItemLabel));
  EXPECT_EQ(tree.FocusedNode(), second);
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{1}));
  EXPECT_EQ(focusEvents, 1);
  Click(PointOn(fifth, hiOnItemLabel), {ssShift});
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{1, 2, 3, 4})) << "Shift extends from the anchor";
  Click(PointOn(tree.GetFirst(), hiOnItemLabel), {ssCtrl});
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{0, 1, 2, 3, 4})) << "Ctrl adds";
  Click(PointOn(tree.GetFirst(), hiOnItemLabel), {ssCtrl});
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{1, 2, 3, 4})) << "and takes away again";
  Click(PointOn(fifth, hiOnItemLabel));
  EXPECT_EQ(Selected(), (std::vector<Cardinal>{4})) << "a plain click on a selected node keeps only it";
  // Right of the text is not the node: the selection is dropped.
  Click(PointOn(fifth, hiOnItemRight));
  EXPECT_TRUE(Selected().empty());
}

// Pressing a node of a multi-selection that may be dragged keeps the others
// until the button comes up without a drag; a press that cannot drag
// reduces the selection at once.
TEST_F(MouseTest, APressOnASelectedNodeThatMayDragKeepsTheSelectionUntilRelease) {
  tree.TreeOptions().SetSelectionOptions(tree.TreeOptions().SelectionOptions() + TLTSelectionOptions{toMultiSelect});
  AddRows(6);
  struct Case {
    const char* Name;
    bool Automatic;
    bool Allowed;
    std::vector<Cardinal> AfterPress;
  };
  for (const Case& c : {Case{"automatic drag", true, false, {1, 2, 3}}, Case{"allowed by the event", false, true, {1, 2, 3}},
                        Case{"no drag", false, false, {2}}}) {
    SCOPED_TRACE(c.Name);
    tree.SetDragAutomatic(c.Automatic);
    tree.OnDragAllowed = [&c](TBaseLiveTree*, PLiveNode, TColumnIndex, bool& allowed) { allowed = c.Allowed; };
    PLiveNode second = tree.GetFirst()->NextSibling;
    Click(PointOn(second, hiOnItemLabel));
    Click(PointOn(second->NextSibling->NextSibling, hiOnItemLabel), {ssShift});
    ASSERT_EQ(Selected(), (std::vector<Cardinal>{1, 2, 3}));
    const TPoint p = PointOn(second->NextSibling, hiOnItemLabel);
    tree.MouseDown(mbLeft, {}, p.X, p.Y);
    EXPECT_EQ(Selected(), c.AfterPress);
    EXPECT_EQ(tree.PressMayDrag(), c.Automatic || c.Allowed);
    EXPECT_EQ(tree.FocusedNode(), second->NextSibling);
    tree.MouseUp(mbLeft, {}, p.X, p.Y);
    EXPECT_EQ(Selected(), (std::vector<Cardinal>{2})) << "released without a drag: only the pressed node";
  }
  tree.OnDragAllowed = nullptr;
}

TEST_F(MouseTest, ExpandButtonTogglesAndCheckBoxChecksOnRelease) {
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toCheckSupport});
  host.ImageLists[ilCheck] = TSize{13, 13};
  PLiveNode parent = Add(u"parent");
  Add(u"child", parent);
  tree.SetCheckType(parent, ctCheckBox);
  Click(PointOn(parent, hiOnItemButton));
  EXPECT_TRUE(tree.Expanded(parent));
  Click(PointOn(parent, hiOnItemButton));
  EXPECT_FALSE(tree.Expanded(parent));

  TPoint box = PointOn(parent, hiOnItemCheckbox);
  tree.MouseDown(mbLeft, {}, box.X, box.Y);
  EXPECT_EQ(parent->CheckState, csUncheckedPressed) << "pressed until the button comes up";
  tree.MouseUp(mbLeft, {}, box.X, box.Y);
  EXPECT_EQ(parent->CheckState, csCheckedNormal);
  // Released away from the box: nothing changes.
  tree.MouseDown(mbLeft, {}, box.X, box.Y);
  TPoint away = PointOn(parent, hiOnItemRight);
  tree.MouseUp(mbLeft, {}, away.X, away.Y);
  EXPECT_EQ(parent->CheckState, csCheckedNormal);
}

TEST_F(MouseTest, DoubleClickTogglesAndReportsTheNode) {
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toToggleOnDblClick});
  PLiveNode parent = Add(u"parent");
  Add(u"child", parent);
  PLiveNode reported = nullptr;
  tree.OnNodeDblClick = [&](TBaseLiveTree*, const THitInfo& info) { reported = info.HitNode; };
  TPoint label = PointOn(parent, hiOnItemLabel);
  tree.MouseDblClick(mbLeft, {}, label.X, label.Y);
  EXPECT_EQ(reported, parent);
  EXPECT_TRUE(tree.Expanded(parent));
}

TEST_F(MouseTest, WheelScrollsByLinesPagesAndSideways) {
  AddRows(30);  // 30 rows of 18 pixels in a client 100 pixels high
  tree.UpdateRanges();
  struct Case {
    Integer delta;
    TShiftState shift;
    Integer lines;
    Integer offsetY;
  };
  const Case cases[] = {
      {-120, {}, 3, -54},         // three lines of the default node height
      {-240, {}, 1, -36},         // two notches of one line
      {-120, {ssCtrl}, 3, -100},  // Ctrl: a page
      {-120, {}, -1, -100},       // the system's page mode
      {120, {}, 3, 0},            // up at the top stays there
  };
  for (const Case& c : cases) {
    tree.SetOffsetY(0);
    tree.MouseWheel(c.delta, c.shift, c.lines);
    EXPECT_EQ(tree.OffsetY(), c.offsetY) << c.delta << " lines " << c.lines;
  }
  tree.SetOffsetY(0);
  tree.MouseWheel(-120, {ssShift}, 3);
  EXPECT_EQ(tree.OffsetY(), 0) << "Shift turns sideways, and nothing is wider than the window";
}

TEST_F(MouseTest, F2StartsEditingAndTheEditorsEndIsReported) {
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toEditable});
  AddRows(3);
  PLiveNode second = tree.GetFirst()->NextSibling;
  tree.SetFocusedNode(second);
  int edited = 0;
  tree.OnEdited = [&](TBaseLiveTree*, PLiveNode node, TColumnIndex) { edited += node == second; };
  tree.KeyDown(ltkF2, {});
  EXPECT_TRUE(tree.IsEditing());
  EXPECT_EQ(host.EditedNode, second);
  EXPECT_TRUE(tree.EndEditNode());
  EXPECT_FALSE(tree.IsEditing());
  EXPECT_EQ(host.EditEnds, (std::vector<bool>{true}));
  EXPECT_EQ(edited, 1);

  tree.KeyDown(ltkF2, {ssCtrl});
  EXPECT_FALSE(tree.IsEditing()) << "F2 edits only without modifiers";
  tree.OnEditing = [](TBaseLiveTree*, PLiveNode, TColumnIndex, bool& allowed) { allowed = false; };
  tree.KeyDown(ltkF2, {});
  EXPECT_FALSE(tree.IsEditing()) << "OnEditing refuses";
  tree.OnEditing = nullptr;

  int cancelled = 0;
  tree.OnEditCancelled = [&](TBaseLiveTree*, TColumnIndex) { ++cancelled; };
  tree.KeyDown(ltkF2, {});
  tree.KeyDown(ltkEscape, {});
  EXPECT_FALSE(tree.IsEditing());
  EXPECT_EQ(cancelled, 1);
  EXPECT_EQ(host.EditEnds.back(), false);
}

TEST_F(MouseTest, ASecondClickOnTheFocusedNodeStartsTheEditTimer) {
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toEditable, toEditOnClick});
  AddRows(2);
  TPoint label = PointOn(tree.GetFirst(), hiOnItemLabel);
  Click(label);
  EXPECT_FALSE(host.TimerRunning(TimerIdEdit)) << "the first click only focuses";
  Click(label);
  ASSERT_TRUE(host.TimerRunning(TimerIdEdit));
  EXPECT_EQ(host.Timers[TimerIdEdit], tree.EditDelay());
  host.FireTimer(TimerIdEdit);
  EXPECT_TRUE(tree.IsEditing());
  EXPECT_EQ(host.EditedNode, tree.GetFirst());
}

TEST_F(MouseTest, HandlesFromOutsideAreCheckedAgainstTheNodes) {
  AddRows(3);
  PLiveNode parent = Add(u"parent");
  PLiveNode child = Add(u"child", parent);
  EXPECT_EQ(tree.NodeFromHandle(child), child) << "collapsed children count too";
  EXPECT_EQ(tree.NodeFromHandle(tree.GetFirst()), tree.GetFirst());
  int foreign = 0;
  EXPECT_EQ(tree.NodeFromHandle(&foreign), nullptr);
  EXPECT_EQ(tree.NodeFromHandle(nullptr), nullptr);
  EXPECT_EQ(tree.NodeFromHandle(tree.RootNode()), nullptr) << "the hidden root is no item";
  tree.DeleteNode(child);
  EXPECT_EQ(tree.NodeFromHandle(child), nullptr) << "a freed node is no longer answered";
}

TEST_F(MouseTest, TooltipsOnlyForTextsCutOff) {
  tree.Header().Columns().Add()->SetWidth(80);
  tree.Header().Columns().Add()->SetWidth(80);
  PLiveNode shortText = Add(u"abc");
  PLiveNode longText = Add(u"a text far too long for its column");
  TLTTooltip tooltip;
  TPoint onLong = PointOn(longText, hiOnItemLabel);
  EXPECT_FALSE(tree.TooltipAt(onLong.X, onLong.Y, tooltip)) << "only in tooltip mode";
  tree.SetHintMode(hmTooltip);
  ASSERT_TRUE(tree.TooltipAt(onLong.X, onLong.Y, tooltip));
  EXPECT_EQ(tooltip.Node, longText);
  EXPECT_EQ(tooltip.Column, 0);
  EXPECT_EQ(tooltip.Text, u"a text far too long for its column");
  EXPECT_GT(tooltip.TextRect.Right, tooltip.CellRect.Right);
  TPoint onShort = PointOn(shortText, hiOnItemLabel);
  EXPECT_FALSE(tree.TooltipAt(onShort.X, onShort.Y, tooltip));
  EXPECT_FALSE(tree.TooltipAt(onShort.X, 90, tooltip)) << "below the nodes";
}

class HeaderMouseTest : public MouseTest {
 protected:
  HeaderMouseTest() {
    TLTHeader& header = tree.Header();
    for (Integer width : {60, 80, 50}) header.Columns().Add()->SetWidth(width);
    header.SetOptions(header.Options() + TLTHeaderOptions{hoVisible, hoHeaderClickAutoSort});
  }
  TLTHeader& Header() { return tree.Header(); }
};

TEST_F(HeaderMouseTest, DraggingASplitterResizesTheColumnAndKeepsTheWidth) {
  TPoint splitter = Point(60, -5);  // the right edge of the first column
  EXPECT_TRUE(Header().ColumnSplitterHit(splitter));
  EXPECT_FALSE(Header().ColumnSplitterHit(Point(30, -5)));
  ASSERT_TRUE(Header().MouseDown(splitter));
  EXPECT_TRUE(Header().MouseMove(Point(75, -5)));
  EXPECT_TRUE(Header().MouseMove(Point(100, 40))) << "the mouse may leave the header while it tracks";
  EXPECT_EQ(Header().Columns()[0]->Width(), 100);
  EXPECT_TRUE(Header().MouseUp(Point(100, 40), {}));
  EXPECT_FALSE(Header().MouseMove(Point(140, -5))) << "tracking ended";
  EXPECT_EQ(Header().Columns()[0]->Width(), 100);
  EXPECT_EQ(Header().Columns()[1]->Left(), 100);
  EXPECT_EQ(Header().SortColumn(), NoColumn) << "a resize is no click";
}

TEST_F(HeaderMouseTest, ClicksSortAndFlipTheDirection) {
  int clicks = 0;
  tree.OnHeaderClick = [&](TLTHeader*, const TLTHeaderHitInfo& info) { clicks += info.Column == 1; };
  auto clickAt = [&](TPoint p) {
    ASSERT_TRUE(Header().MouseDown(p));
    EXPECT_EQ(Header().Columns().DownIndex(), 1);
    EXPECT_TRUE(Header().MouseUp(p, {}));
    EXPECT_EQ(Header().Columns().DownIndex(), NoColumn);
  };
  clickAt(Point(100, -8));
  EXPECT_EQ(Header().SortColumn(), 1);
  EXPECT_EQ(Header().SortDirection(), sdAscending);
  clickAt(Point(110, -8));
  EXPECT_EQ(Header().SortDirection(), sdDescending);
  EXPECT_EQ(clicks, 2);
  // Pressed on one column and released on another: no click.
  ASSERT_TRUE(Header().MouseDown(Point(100, -8)));
  Header().MouseUp(Point(20, -8), {});
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(Header().SortColumn(), 1);
  // Escape during a track ends it.
  ASSERT_TRUE(Header().MouseDown(Point(60, -5)));
  EXPECT_TRUE(Header().CancelMouse());
  EXPECT_FALSE(Header().MouseMove(Point(90, -5)));
  EXPECT_EQ(Header().Columns()[0]->Width(), 60);
}

}  // namespace
