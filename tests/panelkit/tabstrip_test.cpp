// The page control's strip arithmetic, the tab outlines, the glyph page
// control's row and the notebook's design bar.
#include <gtest/gtest.h>

#include "panelkit/tabstrip.h"

namespace {

TTabStripSettings Settings(Integer width = 400, Integer height = 200) {
  TTabStripSettings s;
  s.ClientWidth = width;
  s.ClientHeight = height;
  return s;
}

std::vector<TStripTab> Tabs(std::initializer_list<Integer> widths) {
  std::vector<TStripTab> tabs;
  for (Integer w : widths) tabs.push_back({w, true});
  return tabs;
}

TEST(TabWidth, MeasuredWithTheStylesRoomMarginsAndPicture) {
  EXPECT_EQ(TabOverlap(pxtabs::tsClassic, 17), 0);
  EXPECT_EQ(TabOverlap(pxtabs::tsFlat, 17), 8);
  EXPECT_EQ(TabOverlap(pxtabs::tsOneNote, 17), 14);
  EXPECT_EQ(TabOverlap(pxtabs::tsWhidbey, 17), 10);
  EXPECT_EQ(TabOverlap(pxtabs::tsDexter, 17), 11);
  // The program's tabs: bold caption + 17 + 2 x 5.
  EXPECT_EQ(TabWidthFor(0, 40, false, pxtabs::tsWhidbey, 17, 5, 0, 0), 67);
  EXPECT_EQ(TabWidthFor(0, 0, true, pxtabs::tsClassic, 17, 0, 0, 0), 20) << "an empty caption counts 8";
  EXPECT_EQ(TabWidthFor(0, 40, false, pxtabs::tsOneNote, 17, 0, 16, 0), 40 + 53 + 20);
  EXPECT_EQ(TabWidthFor(0, 400, false, pxtabs::tsFlat, 17, 0, 0, 100), 100) << "cut to the maximum";
  EXPECT_EQ(TabWidthFor(33, 400, false, pxtabs::tsFlat, 17, 0, 0, 20), 33) << "a fixed width stands";
}

TEST(TabStrip, TabsOverlapAndHiddenTabsTakeNoRoom) {
  std::vector<TStripTab> tabs = Tabs({67, 70, 80});
  tabs[1].Shown = false;
  TTabStripLayout strip(Settings(), tabs, 0, 0);
  EXPECT_EQ(strip.TabRect(0), Rect(2, 3, 69, 20));
  EXPECT_EQ(strip.TabRect(2).Left, 2 + 67 - 10) << "spaced by width - overlap, the hidden tab skipped";
  EXPECT_EQ(strip.TabAtPos(60, 10), 0);
  EXPECT_EQ(strip.TabAtPos(100, 10), 2);
  EXPECT_EQ(strip.TotalWidth(), 57 + 70 + 10);
}

TEST(TabStrip, EdgeAndButtonsByOptions) {
  TTabStripSettings s = Settings();
  EXPECT_EQ(TTabStripLayout(s, {}, -1, 0).TabsEdge(), 400 - 39 - 32);
  s.Options = {pgBoldActiveTab, pgScrollButtons, pgTabsPopup};
  TTabStripLayout strip(s, {}, -1, 0);
  EXPECT_EQ(strip.TabsEdge(), 400 - 23 - 16 - 32);
  EXPECT_EQ(strip.ButtonRect(TPageButton::pbPopup), Rect(380, 3, 396, 19));
  EXPECT_EQ(strip.ButtonRect(TPageButton::pbScrollRight), Rect(364, 3, 380, 19));
  EXPECT_EQ(strip.ButtonRect(TPageButton::pbScrollLeft), Rect(348, 3, 364, 19));
  EXPECT_EQ(strip.ButtonAtPos(Point(350, 10)), TPageButton::pbScrollLeft);
  EXPECT_EQ(strip.ButtonAtPos(Point(390, 10)), TPageButton::pbPopup);
  EXPECT_EQ(strip.ButtonAtPos(Point(390, 30)), TPageButton::pbNone);
  EXPECT_EQ(strip.ButtonAtPos(Point(383, 10)), TPageButton::pbPopup);
  s.Options = {pgCloseButton};
  EXPECT_EQ(TTabStripLayout(s, {}, -1, 0).ButtonAtPos(Point(383, 10)), TPageButton::pbClose);
  EXPECT_EQ(TTabStripLayout(s, {}, -1, 0).ButtonAtPos(Point(350, 10)), TPageButton::pbNone) << "not shown";
}

TEST(TabStrip, TheActiveTabsSlantDecidesTheOverlap) {
  // Tab 1 is active; its slanted left edge lies over tab 0's right part (x 59..68).
  TTabStripLayout strip(Settings(), Tabs({67, 67}), 1, 0);
  EXPECT_EQ(strip.TabAtPos(60, 4), 0) << "high up the slant leaves tab 0";
  EXPECT_EQ(strip.TabAtPos(67, 18), 1) << "low down the active tab";
  EXPECT_EQ(strip.TabAtPos(50, 18), 0) << "left of the overlap";
  TTabStripLayout inactive(Settings(), Tabs({67, 67}), 0, 0);
  EXPECT_EQ(inactive.TabAtPos(67, 18), 0) << "the active left tab lies on top";
  EXPECT_EQ(strip.TabAtPos(60, 30), -1) << "below the band";
}

TEST(TabStrip, TabsAtTheBottomAreMirrored) {
  TTabStripSettings s = Settings();
  s.Position = pxtabs::tpBottom;
  TTabStripLayout strip(s, Tabs({67, 67}), 1, 0);
  EXPECT_EQ(strip.TabRect(0), Rect(2, 180, 69, 197));
  EXPECT_EQ(strip.StripArea(), Rect(0, 179, 400, 200));
  EXPECT_EQ(strip.ButtonRect(TPageButton::pbClose).Top, 200 - 17 - 3 + 1 + 8 - 8);
  EXPECT_EQ(strip.PageArea(true), Rect(0, 0, 400, 179));
  // The slant mirrored: near the page (top of the strip) the active tab
  // reaches furthest left.
  EXPECT_EQ(strip.TabAtPos(67, 180), 1);
  EXPECT_EQ(strip.TabAtPos(60, 195), 0);
}

TEST(TabStrip, ScrollingStaysWithinItsLimits) {
  TTabStripLayout fits(Settings(), Tabs({67, 67}), 0, 0);
  EXPECT_EQ(fits.MaxScrollPos(), 0);
  EXPECT_EQ(fits.ClampedScroll(-50), 0);
  EXPECT_EQ(fits.ClampedScroll(50), 0);
  TTabStripLayout wide(Settings(200), Tabs({100, 100, 100}), 0, 0);
  const Integer edge = 200 - 39 - 32;
  EXPECT_EQ(wide.MaxScrollPos(), (90 + 90 + 90 + 10) + 2 - edge);
  EXPECT_EQ(wide.ClampedScroll(1000), wide.MaxScrollPos());
  EXPECT_TRUE(wide.AtLeftEnd());
  EXPECT_FALSE(wide.AtRightEnd());
}

TEST(TabStrip, ShowingATabScrollsTowardsIt) {
  TTabStripLayout wide(Settings(200), Tabs({100, 100, 100}), 0, 0);
  const Integer edge = wide.TabsEdge();
  Integer pos = wide.ScrollToShow(2);
  EXPECT_GT(pos, 0);
  TTabStripLayout there(Settings(200), Tabs({100, 100, 100}), 2, pos);
  EXPECT_EQ(there.TabRect(2).Right, edge) << "the tab ends at the strip's end";
  EXPECT_EQ(there.ScrollToShow(0), 0) << "back to the first tab, at the left end";
  EXPECT_EQ(there.ScrollToShow(2), pos) << "already in view";
}

TEST(TabStrip, TabStepsCountShownTabsOnly) {
  TTabStripSettings s = Settings(200);
  s.ScrollMethod = smTab;
  std::vector<TStripTab> tabs = Tabs({100, 100, 100, 100});
  TTabStripLayout plain(s, tabs, 0, 0);
  tabs.insert(tabs.begin(), TStripTab{500, false});
  TTabStripLayout withHidden(s, tabs, 1, 0);
  EXPECT_EQ(plain.TabStepTarget(+1), 2 + 90);
  EXPECT_EQ(withHidden.TabStepTarget(+1), plain.TabStepTarget(+1)) << "a hidden page adds nothing";
  TTabStripLayout scrolled(s, Tabs({100, 100, 100, 100}), 0, 92);
  EXPECT_EQ(scrolled.TabStepTarget(-1), 0) << "the first tab is cut: back to the start";
  EXPECT_EQ(scrolled.TabStepTarget(+1), 2 + 90 + 90);
  TTabStripLayout further(s, Tabs({100, 100, 100, 100}), 0, 182);
  EXPECT_EQ(further.TabStepTarget(-1), 2 + 90) << "the cut second tab in full";
  EXPECT_EQ(TTabStripLayout(s, Tabs({100, 100}), 0, 0).TabStepTarget(-1), 0);
  // At the end the last tab ends at the strip's end and the step stops.
  const Integer end = TTabStripLayout(s, Tabs({100, 100, 100, 100}), 0, 0).MaxScrollPos();
  EXPECT_EQ(end, 2 + 360 + 10 - plain.TabsEdge());
  TTabStripLayout atEnd(s, Tabs({100, 100, 100, 100}), 0, end);
  EXPECT_EQ(atEnd.TabStepTarget(+1), end);
  EXPECT_TRUE(atEnd.AtRightEnd());
  EXPECT_EQ(atEnd.TabRect(3).Right, atEnd.TabsEdge());
}

TEST(TabStrip, SelectScrollingEndsAtTheShownEnds) {
  TTabStripSettings s = Settings();
  s.ScrollMethod = smSelect;
  std::vector<TStripTab> tabs = Tabs({60, 60, 60});
  tabs[2].Shown = false;
  TTabStripLayout strip(s, tabs, 1, 0);
  EXPECT_FALSE(strip.AtLeftEnd());
  EXPECT_TRUE(strip.AtRightEnd()) << "the only later page is hidden";
}

TEST(TabStrip, SizesFromAFormCannotOverflowTheSums) {
  TTabStripSettings s = Settings();
  s.TabHeight = 2000000000;
  s.Indent = -2000000000;
  s.TopIndent = 2000000000;
  std::vector<TStripTab> tabs(5000, TStripTab{2000000000, true});
  TTabStripLayout strip(s, tabs, 4999, 2000000000);
  EXPECT_GE(strip.MaxScrollPos(), 0);
  EXPECT_EQ(strip.TabAtPos(10, 10), -1);
  (void)strip.TabRect(4999);
  (void)strip.TabsRight();
  (void)strip.TabStepTarget(+1);
  (void)strip.ScrollToShow(4999);
  (void)strip.ClampedScroll(2000000000);
  EXPECT_EQ(TabWidthFor(0, 2000000000, false, pxtabs::tsOneNote, 2000000000, 2000000000, 2000000000, 0), kMaxExtent);
  TGlyphTabRow row(std::vector<Integer>(5000, 2000000000), std::vector<bool>(5000, true), 2000000000, taRightJustify,
                   2000000000, 0, 21);
  (void)row.TabRect(4999);
  EXPECT_EQ(row.TabAtPos(0), -1);
  EXPECT_TRUE(designbar::TabRects(std::vector<Integer>(10, 2000000000), 0, 300, 200).empty());
}

TEST(TabShapes, PointsAndMirroring) {
  const TRect r = Rect(10, 3, 77, 20);
  std::vector<TPoint> outline = tabshapes::WhidbeyOutline(r, 17, true);
  ASSERT_EQ(outline.size(), 8u);
  EXPECT_EQ(outline.front(), Point(10, 19));
  EXPECT_EQ(outline[3], Point(29, 3));
  EXPECT_EQ(tabshapes::WhidbeyOutline(r, 17, false).front(), Point(20, 9));
  EXPECT_EQ(tabshapes::DexterActive(r).size(), 16u);
  EXPECT_EQ(tabshapes::DexterInactive(r).size(), 11u);
  EXPECT_EQ(tabshapes::FlatOutline(r, 17)[1], Point(18, 3));
  // Mirrored about y = 3 + 17 div 2 = 11: the top becomes the bottom.
  std::vector<TPoint> mirrored = tabshapes::Mirrored(outline, r);
  EXPECT_EQ(mirrored.front(), Point(10, 3));
  EXPECT_EQ(mirrored[3], Point(29, 19));
  EXPECT_EQ(tabshapes::Mirrored(mirrored, r), outline);
}

TEST(GlyphTabRow, AlignedRowAndHitTest) {
  auto row = [](TAlignment a) { return TGlyphTabRow({50, 60, 70}, {true, true, true}, 2, a, 400, 10, 21); };
  EXPECT_EQ(row(taCenter).TabsWidth(), 184);
  EXPECT_EQ(row(taCenter).RowStart(), 108);
  EXPECT_EQ(row(taLeftJustify).RowStart(), 10);
  EXPECT_EQ(row(taRightJustify).RowStart(), 206);
  TGlyphTabRow left = row(taLeftJustify);
  EXPECT_EQ(left.TabRect(1), Rect(62, 10, 122, 31));
  EXPECT_EQ(left.TabAtPos(62), 1);
  EXPECT_EQ(left.TabAtPos(60), 0) << "both edges belong to the tab";
  EXPECT_EQ(left.TabAtPos(61), -1) << "the gap";
  // A hidden tab takes no room, in the drawn row and in the hit test alike.
  TGlyphTabRow hidden({50, 60, 70}, {true, false, true}, 2, taLeftJustify, 400, 10, 21);
  EXPECT_EQ(hidden.TabRect(2).Left, 62);
  EXPECT_EQ(hidden.TabAtPos(hidden.TabRect(2).Left + 5), 2);
  EXPECT_EQ(hidden.TabsWidth(), 122);
}

TEST(DesignBar, TabsFitBeforeTheForwardButton) {
  const std::vector<Integer> widths = {60, 60, 60, 60, 60};
  EXPECT_EQ(designbar::BarRect(300, 200), Rect(0, 175, 300, 200));
  EXPECT_EQ(designbar::BackButton(300, 200), Rect(2, 177, 18, 198));
  EXPECT_EQ(designbar::ForwardButton(300, 200), Rect(282, 177, 298, 198));
  std::vector<TRect> rects = designbar::TabRects(widths, 0, 300, 200);
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[1], Rect(82, 177, 142, 198));
  EXPECT_EQ(designbar::MaxScrollPos(widths, 0, 300, 200), 1);
  EXPECT_EQ(designbar::TabAtPos(widths, 1, 300, 200, Point(30, 174)), 1) << "the taller hit rectangle";
  EXPECT_EQ(designbar::TabAtPos(widths, 0, 300, 200, Point(81, 180)), -1);
  EXPECT_EQ(designbar::TabAtPos(widths, 9, 300, 200, Point(30, 180)), -1) << "a position past the pages";
}

}  // namespace
