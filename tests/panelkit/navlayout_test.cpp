// The navigation controls' arithmetic: the palette's button row and tabs,
// the link menu's and the tool box's walks, the outlook bar's buttons and
// splitter, and the status bar's panels.
#include <gtest/gtest.h>

#include "panelkit/navlayout.h"

namespace {

TEST(PaletteLayout, ButtonsFollowTheTabsInARowOfFixedWidth) {
  const TPaletteMetrics m;
  EXPECT_EQ(PaletteTabsRect(m), Rect(0, 0, 200, 23));
  EXPECT_EQ(PaletteButtonsRect(m), Rect(2, 25, 198, 47));
  EXPECT_EQ(PaletteButtonRect(m, 1), Rect(25, 25, 48, 47));
  EXPECT_EQ(PaletteAutoHeight(m), 49);
  const struct { Integer x, button; } cases[] = {{2, 0}, {24, 0}, {25, 1}, {48, 2}};
  for (const auto& c : cases) EXPECT_EQ(PaletteButtonAtPos(m, c.x), c.button) << c.x;
}

TEST(PaletteLayout, TabsWidenByTwelveFromTheLeftIndent) {
  const std::vector<Integer> widths = {30, 50};
  EXPECT_EQ(PaletteTabAtPos(widths, 2, 2, 21, 1, 10), -1);
  EXPECT_EQ(PaletteTabAtPos(widths, 2, 2, 21, 2, 10), 0);
  EXPECT_EQ(PaletteTabAtPos(widths, 2, 2, 21, 43, 10), 0);
  EXPECT_EQ(PaletteTabAtPos(widths, 2, 2, 21, 44, 10), 1);
  EXPECT_EQ(PaletteTabAtPos(widths, 2, 2, 21, 106, 10), -1);
  EXPECT_EQ(PaletteTabAtPos(widths, 2, 2, 21, 10, 23), -1) << "below the tabs";
}

TEST(LinkMenuLayout, SectionsTakeHeaderItemsAndSpacing) {
  const std::vector<TLinkSectionShape> sections = {{true, 3, 5, 5}, {false, 2, 5, 5}, {true, 1, 0, 0}};
  TLinkMenuMetrics m;
  EXPECT_EQ(LinkItemsHeight(sections[0], m.ItemSize), 70);
  EXPECT_EQ(LinkSectionTops(sections, m), (std::vector<Integer>{10, 115, 150}));
  EXPECT_EQ(LinkTotalHeight(sections, m), 10 + 95 + 10 + 25 + 10 + 45 + 10);
  EXPECT_EQ(LinkItemTop(sections, m, 0, 2), 10 + 25 + 5 + 40);
  EXPECT_EQ(LinkSectionAtPos(sections, m, 35), 0) << "both ends of the band count";
  EXPECT_EQ(LinkSectionAtPos(sections, m, 36), -1);
  EXPECT_EQ(LinkSectionAtPos(sections, m, 120), 1);
  const TLinkItemHit hit = LinkItemAtPos(sections, m, 61);
  EXPECT_EQ(hit.Section, 0);
  EXPECT_EQ(hit.Item, 1);
  EXPECT_EQ(LinkItemAtPos(sections, m, 125).Section, -1) << "a collapsed section has no item bands";
  // With no top margin the header's last row is also the first item's.
  EXPECT_EQ(LinkSectionAtPos(sections, m, 175), 2);
  EXPECT_EQ(LinkItemAtPos(sections, m, 175).Section, 2);
  m.ScrollPos = 10;
  EXPECT_EQ(LinkSectionTops(sections, m).front(), 0);
}

TEST(ToolBoxLayout, HeadersOfSeventeenAndRowsOfItemHeight) {
  const std::vector<TToolBoxCategoryShape> cats = {{true, 2}, {false, 3}, {true, 1}};
  EXPECT_EQ(ToolBoxContentHeight(cats, 20), 17 + 40 + 17 + 17 + 20);
  EXPECT_EQ(ToolBoxEntryAtPos(cats, 20, 0, 0), (TToolBoxHit{0, -1}));
  EXPECT_EQ(ToolBoxEntryAtPos(cats, 20, 0, 17), (TToolBoxHit{0, -1})) << "the first band wins on a shared row";
  EXPECT_EQ(ToolBoxEntryAtPos(cats, 20, 0, 18), (TToolBoxHit{0, 0}));
  EXPECT_EQ(ToolBoxEntryAtPos(cats, 20, 0, 40), (TToolBoxHit{0, 1}));
  EXPECT_EQ(ToolBoxEntryAtPos(cats, 20, 0, 60), (TToolBoxHit{1, -1}));
  EXPECT_EQ(ToolBoxEntryAtPos(cats, 20, 0, 100), (TToolBoxHit{2, 0}));
  EXPECT_EQ(ToolBoxEntryAtPos(cats, 20, 0, 200), (TToolBoxHit{}));
  EXPECT_EQ(ToolBoxEntryAtPos(cats, 20, 17, 1), (TToolBoxHit{0, 0})) << "scrolled by one header";
  Integer top = 0;
  EXPECT_TRUE(ToolBoxEntryTop(cats, 20, 0, 2, 0, top));
  EXPECT_EQ(top, 91);
  EXPECT_FALSE(ToolBoxEntryTop(cats, 20, 0, 1, 0, top)) << "collapsed";
  EXPECT_FALSE(ToolBoxEntryTop(cats, 20, 0, 5, -1, top));
}

TOutlookMetrics Bar(Integer display, Integer visible) {
  TOutlookMetrics m;
  m.ButtonsHeight = OutlookButtonsHeight(m.ToolbarHeight, m.SplitterHeight, m.ItemHeight, display, visible);
  return m;
}

TEST(OutlookLayout, LargeButtonsAboveAndTheRestRightAlignedInTheToolbar) {
  const TOutlookMetrics m = Bar(2, 3);
  EXPECT_EQ(m.ButtonsHeight, 103);
  EXPECT_EQ(Bar(5, 3).ButtonsHeight, 30 + 9 + 3 * 32);
  EXPECT_EQ(OutlookSplitterRect(m), Rect(0, 162, 185, 171));
  const std::vector<TOutlookPlace> places = OutlookLayout(m, 3);
  ASSERT_EQ(places.size(), 3u);
  EXPECT_EQ(places[0].Rect, Rect(0, 171, 185, 202));
  EXPECT_EQ(places[1].Rect, Rect(0, 203, 185, 234));
  EXPECT_TRUE(places[2].Tool);
  EXPECT_EQ(places[2].Visible, 2);
  EXPECT_EQ(places[2].Rect, Rect(163, 235, 185, 265));
  EXPECT_EQ(OutlookItemAtPos(m, 3, 10, 180), 0);
  EXPECT_EQ(OutlookItemAtPos(m, 3, 10, 202), -1) << "the separator row";
  EXPECT_EQ(OutlookItemAtPos(m, 3, 170, 250), 2);
  EXPECT_EQ(OutlookItemAtPos(m, 3, 150, 250), -1);
  EXPECT_EQ(OutlookItemAtPos(m, 3, 170, 235), -1) << "the toolbar's first row is not a button's";
}

TEST(OutlookLayout, TheSplitterCountsButtonsRoundedUp) {
  const TOutlookMetrics m = Bar(2, 3);
  const struct {
    Integer y, count;
  } cases[] = {{162, 2}, {163, 2}, {194, 1}, {195, 1}, {131, 3}, {100, 3}, {226, 0}, {225, 1}, {260, -1}};
  for (const auto& c : cases) EXPECT_EQ(OutlookSplitterCount(m, 3, c.y), c.count) << c.y;
}

TEST(StatusBarLayout, PanelsSideBySideFromTheLeft) {
  const std::vector<Integer> widths = {50, 80, 20};
  EXPECT_EQ(StatusPanelRect(widths, 0, 19), Rect(0, 0, 50, 19));
  EXPECT_EQ(StatusPanelRect(widths, 1, 19), Rect(50, 0, 130, 19));
  EXPECT_EQ(StatusPanelRect(widths, 2, 19), Rect(130, 0, 150, 19));
}

}  // namespace
