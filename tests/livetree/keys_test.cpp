// The keyboard controller: navigation and selection extension, expansion,
// check boxes by Space, scrolling by keys and the incremental search.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "livetree/stringtree.h"
#include "rtl/numbers.h"
#include "support/livetree_namedtree.h"

namespace {

class KeysTest : public NamedTreeTest {
 protected:
  void Type(const String& text) {
    for (Char c : text) {
      tree.KeyDown(static_cast<Word>(c >= u'a' && c <= u'z' ? c - 32 : c), {}, c);
      tree.KeyPress(c);
    }
  }
  std::string Focused() {
    PLiveNode node = tree.FocusedNode();
    return node == nullptr ? "-" : std::string(names[node].begin(), names[node].end());
  }
};

TEST_F(KeysTest, IncrementalSearchCyclesRepeatedLettersAndTimesOut) {
  tree.SetIncrementalSearch(isAll);
  Add(u"alpha");
  Add(u"beta");
  Add(u"bravo");
  Type(u"b");
  EXPECT_EQ(Focused(), "beta");
  EXPECT_EQ(tree.SearchBuffer(), u"b");
  EXPECT_TRUE(host.TimerRunning(TimerIdSearch));
  EXPECT_EQ(host.Timers[TimerIdSearch], 1000u);
  Type(u"b");
  EXPECT_EQ(Focused(), "bravo") << "a repeated single letter moves on";
  Type(u"b");
  EXPECT_EQ(Focused(), "beta") << "and wraps";
  host.FireTimer(TimerIdSearch);
  EXPECT_EQ(tree.SearchBuffer(), u"");
  EXPECT_FALSE(tree.TreeStates().Contains(tsIncrementalSearching));
  Type(u"br");
  EXPECT_EQ(Focused(), "bravo") << "one b, then r";
  EXPECT_EQ(tree.SelectedCount(), 1);
  EXPECT_TRUE(tree.Selected(tree.FocusedNode()));
  int beeps = host.Beeps;
  Type(u"x");
  EXPECT_EQ(Focused(), "bravo");
  EXPECT_EQ(tree.SearchBuffer(), u"br") << "an unmatched character leaves the buffer";
  EXPECT_EQ(host.Beeps, beeps + 1);
}

TEST_F(KeysTest, BackspaceShortensTheBufferAndSearchesBackwards) {
  tree.SetIncrementalSearch(isAll);
  Add(u"ca");
  Add(u"cab");
  Add(u"cat");
  Type(u"cat");
  EXPECT_EQ(Focused(), "cat");
  tree.KeyDown(ltkBack, {}, 8);
  tree.KeyPress(8);
  EXPECT_EQ(tree.SearchBuffer(), u"ca");
  EXPECT_EQ(Focused(), "cab") << "backwards from cat";
}

TEST_F(KeysTest, NoSearchWithoutTheOption) {
  Add(u"alpha");
  Type(u"a");
  EXPECT_EQ(Focused(), "-");
  EXPECT_FALSE(host.TimerRunning(TimerIdSearch));
}

TEST_F(KeysTest, ArrowsMoveTheFocusAndShiftExtends) {
  tree.TreeOptions().SetSelectionOptions({toMultiSelect});
  std::vector<PLiveNode> nodes;
  for (const char16_t* name : {u"a", u"b", u"c", u"d"}) nodes.push_back(Add(name));
  tree.KeyDown(ltkDown, {});
  EXPECT_EQ(Focused(), "a") << "nothing focused: the first node";
  tree.KeyDown(ltkDown, {});
  EXPECT_EQ(Focused(), "b");
  EXPECT_EQ(tree.SelectedCount(), 1);
  tree.KeyDown(ltkDown, {ssShift});
  tree.KeyDown(ltkDown, {ssShift});
  EXPECT_EQ(Focused(), "d");
  EXPECT_EQ(tree.SelectedCount(), 3);
  tree.KeyDown(ltkUp, {ssShift});
  EXPECT_EQ(tree.SelectedCount(), 2) << "moving back towards the anchor shrinks the range";
  EXPECT_FALSE(tree.Selected(nodes[3]));
  tree.KeyDown(ltkHome, {});
  EXPECT_EQ(Focused(), "a");
  EXPECT_EQ(tree.SelectedCount(), 1);
  tree.KeyDown(ltkEnd, {ssShift});
  EXPECT_EQ(Focused(), "d");
  EXPECT_EQ(tree.SelectedCount(), 4) << "a range jump selects everything between";
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(KeysTest, LeftAndRightCollapseExpandAndWalkLevels) {
  PLiveNode a = Add(u"a");
  Add(u"a1", a);
  Add(u"b");
  tree.SetFocusedNode(a);
  tree.KeyDown(ltkRight, {});
  EXPECT_TRUE(tree.Expanded(a));
  EXPECT_EQ(Focused(), "a");
  tree.KeyDown(ltkRight, {});
  EXPECT_EQ(Focused(), "a1");
  tree.KeyDown(ltkLeft, {});
  EXPECT_EQ(Focused(), "a");
  tree.KeyDown(ltkLeft, {});
  EXPECT_FALSE(tree.Expanded(a));
  tree.KeyDown(ltkMultiply, {}, u'*');
  EXPECT_TRUE(tree.Expanded(a));
  tree.KeyDown(ltkSubtract, {}, u'-');
  EXPECT_FALSE(tree.Expanded(a));
}

TEST_F(KeysTest, CtrlHomeScrollsWithoutMovingTheFocus) {
  std::vector<PLiveNode> nodes;
  for (int i = 0; i < 20; ++i) nodes.push_back(Add(u"n" + String(1, static_cast<Char>(u'a' + i))));
  tree.UpdateRanges();
  tree.SetFocusedNode(nodes[10]);
  tree.SetOffsetY(-200);
  tree.KeyDown(ltkHome, {ssCtrl});
  EXPECT_EQ(tree.OffsetY(), 0);
  EXPECT_EQ(tree.FocusedNode(), nodes[10]);
  tree.KeyDown(ltkDown, {ssCtrl});
  EXPECT_EQ(tree.OffsetY(), -18) << "Ctrl+Down scrolls a row";
  tree.KeyDown(ltkNext, {});
  EXPECT_EQ(tree.FocusedNode(), nodes[15]) << "a page of 100 pixels holds five rows";
}

TEST_F(KeysTest, SpaceChecksAtKeyUpOnTheSameNode) {
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toCheckSupport});
  PLiveNode a = Add(u"a");
  PLiveNode b = Add(u"b");
  tree.SetCheckType(a, ctCheckBox);
  tree.SetCheckType(b, ctCheckBox);
  tree.SetFocusedNode(a);
  tree.KeyDown(ltkSpace, {});
  EXPECT_EQ(a->CheckState, csUncheckedPressed);
  tree.KeyUp(ltkSpace, {});
  EXPECT_EQ(a->CheckState, csCheckedNormal);
  tree.KeyDown(ltkSpace, {});
  EXPECT_EQ(a->CheckState, csCheckedPressed);
  tree.KeyDown(ltkDown, {});
  EXPECT_EQ(a->CheckState, csCheckedNormal) << "another key restores the state";
  tree.KeyUp(ltkSpace, {});
  EXPECT_EQ(a->CheckState, csCheckedNormal);
  EXPECT_EQ(b->CheckState, csUncheckedNormal);
}

TEST_F(KeysTest, KeyActionsMayBeSwallowed) {
  Add(u"a");
  tree.OnKeyAction = [](TBaseLiveTree*, Word& key, TShiftState&, bool& doDefault) {
    if (key == ltkDown) doDefault = false;
    if (key == ltkNext) key = ltkDown;
  };
  tree.KeyDown(ltkDown, {});
  EXPECT_EQ(Focused(), "-");
  tree.KeyUp(ltkTab, {});
  EXPECT_EQ(Focused(), "a") << "Tab up focuses the first node";
  PLiveNode b = Add(u"b");
  tree.KeyDown(ltkNext, {});
  EXPECT_EQ(tree.FocusedNode(), b) << "the handler turned the key into Down";
  tree.OnKeyAction = nullptr;
}

}  // namespace

// Every way of moving the focus keeps the focused node on screen: the tree
// of 40 rows shows only a few of them at a time.
TEST_F(KeysTest, MovingTheFocusScrollsTheFocusedNodeIntoView) {
  struct Case {
    const char* Name;
    std::function<void()> Move;
    const char* Expected;
  };
  const std::vector<Case> cases{
      {"down past the last shown row",
       [this] {
         for (int i = 0; i < 8; ++i) tree.KeyDown(ltkDown, {});
       },
       "n8"},
      {"page down", [this] { tree.KeyDown(ltkNext, {}); }, "n5"},
      {"page down twice",
       [this] {
         tree.KeyDown(ltkNext, {});
         tree.KeyDown(ltkNext, {});
       },
       "n10"},
      {"end", [this] { tree.KeyDown(ltkEnd, {}); }, "n39"},
      {"ctrl+end", [this] { tree.KeyDown(ltkEnd, {ssCtrl}); }, "n0"},
      {"search", [this] { Type(u"n33"); }, "n33"},
      {"focus set by the program", [this] { tree.SetFocusedNode(tree.GetLast()); }, "n39"},
  };
  tree.SetIncrementalSearch(isAll);
  for (int i = 0; i < 40; ++i) Add(u"n" + IntToStr(i));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    tree.SetOffsetY(0);
    tree.SetFocusedNode(tree.GetFirst());
    tree.SetOffsetY(0);
    c.Move();
    if (tree.TreeStates().Contains(tsIncrementalSearching)) host.FireTimer(TimerIdSearch);
    EXPECT_EQ(Focused(), c.Expected);
    TRect r = tree.GetDisplayRect(tree.FocusedNode(), NoColumn, false);
    if (std::string(c.Name) == "ctrl+end") {
      EXPECT_EQ(tree.OffsetY(), host.Height - tree.RangeY()) << "ctrl+end scrolls to the end and keeps the focus";
      continue;
    }
    EXPECT_GE(r.Top, 0);
    EXPECT_LE(r.Bottom, host.Height);
  }
}
