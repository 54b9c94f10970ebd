#include "winbar/catlayout.h"

#include <gtest/gtest.h>

namespace {

TCatLayoutMetrics Metrics(bool horizontal, bool verticalCaptions, bool fullSize = false) {
  TCatLayoutMetrics m;
  m.Horizontal = horizontal;
  m.VerticalCaptions = verticalCaptions;
  m.FullSize = fullSize;
  m.CollapsedHeight = 13;
  m.ClientWidth = 100;
  m.ClientHeight = 100;
  return m;
}

struct LayoutCase {
  const char* name;
  bool horizontal, verticalCaptions, fullSize;
  Integer cellsPerLine, extent;
  TRect area;         // for a category at position 10
  TRect fifthButton;  // index 4
};

}  // namespace

TEST(CategoryLayout, SevenButtonsInEachFlowAndCaptionPlace) {
  const LayoutCase cases[] = {
      // 100 - 8 side buffer = 92: three 24-pixel cells, three rows and the caption row above.
      {"vertical, caption above", false, false, false, 3, 3 * 24 + 5 + 14, Rect(4, 29, 97, 26 + 72),
       Rect(28, 53, 52, 77)},
      // The caption beside the buttons takes 13 + 9 from the width: still three cells.
      {"vertical, caption beside", false, true, false, 3, 3 * 24 + 5, Rect(21, 13, 97, 10 + 72), Rect(45, 37, 69, 61)},
      {"vertical, full size", false, false, true, 1, 7 * 24 + 5 + 14, Rect(4, 29, 97, 26 + 168), Rect(4, 125, 97, 149)},
      {"horizontal, caption above", true, false, false, 3, 3 * 24 + 5, Rect(13, 17, 13 + 72, 96), Rect(37, 41, 61, 65)},
      {"horizontal, caption beside", true, true, false, 3, 3 * 24 + 5 + 14, Rect(27, 4, 27 + 72, 96),
       Rect(51, 28, 75, 52)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TCatLayoutMetrics m = Metrics(c.horizontal, c.verticalCaptions, c.fullSize);
    EXPECT_EQ(m.CellsPerLine(), c.cellsPerLine);
    EXPECT_EQ(m.CategoryExtent(7, false), c.extent);
    TRect area = m.ButtonArea(10, 7);
    EXPECT_EQ(area, c.area);
    EXPECT_EQ(m.ButtonRect(area, 4), c.fifthButton);
    TRect cell = c.fifthButton;
    EXPECT_EQ(m.ButtonIndexAt(area, 7, cell.Left + 1, cell.Top + 1), 4);
    EXPECT_EQ(m.ButtonIndexAt(area, 7, area.Left - 1, area.Top), -1);
    EXPECT_EQ(m.CategoryExtent(7, true), 13 + 5) << "collapsed";
    EXPECT_EQ(m.CategoryExtent(0, false), 13 + 5) << "empty";
  }
}

TEST(CategoryLayout, NarrowerControlsHoldFewerCellsButAlwaysOne) {
  const struct {
    Integer width;
    Integer cells;
  } cases[] = {{100, 3}, {80, 3}, {79, 2}, {56, 2}, {55, 1}, {10, 1}, {0, 1}};
  for (const auto& c : cases) {
    TCatLayoutMetrics m = Metrics(false, false);
    m.ClientWidth = c.width;
    EXPECT_EQ(m.CellsPerLine(), c.cells) << "width " << c.width;
  }
}

TEST(CategoryLayout, CategoriesFollowEachOtherAndCaptionStripsFollowTheirState) {
  TCatLayoutMetrics m = Metrics(false, false);
  auto extents = LayOutCategories(m, {{7, false}, {3, true}, {0, false}, {2, false}});
  ASSERT_EQ(extents.size(), 4u);
  EXPECT_EQ(extents[0].Start, 0);
  EXPECT_EQ(extents[0].End, 91);
  EXPECT_EQ(extents[1].Start, 91);
  EXPECT_EQ(extents[1].End, 91 + 18);
  EXPECT_EQ(extents[2].End, 91 + 36);
  EXPECT_EQ(extents[3].End, 91 + 36 + 24 + 19);
  EXPECT_EQ(m.CaptionStrip(0, 91, 7, false), Rect(2, 1, 98, 17));
  EXPECT_EQ(m.CaptionStrip(91, 18, 3, true), Rect(2, 92, 98, 108)) << "a collapsed category is all caption";
  TCatLayoutMetrics beside = Metrics(false, true);
  EXPECT_EQ(beside.CaptionStrip(0, 77, 7, false), Rect(2, 1, 20, 73));
}

TEST(CategoryLayout, ScrollRangeAndScrollingIntoView) {
  EXPECT_FALSE(CategoryScrollRange(100, 100, 24).Shown);
  TCatScrollRange r = CategoryScrollRange(300, 100, 24);
  EXPECT_TRUE(r.Shown);
  EXPECT_EQ(r.Range, 12);
  EXPECT_EQ(r.Page, 4);
  EXPECT_EQ(r.Max, 9);
  // Above the view: back by whole lines, one more for a remainder over 3 pixels.
  EXPECT_EQ(ScrollPositionToShow(5, 9, 24, 100, -24, 0, false), 4);
  EXPECT_EQ(ScrollPositionToShow(5, 9, 24, 100, -27, 0, false), 4);
  EXPECT_EQ(ScrollPositionToShow(5, 9, 24, 100, -28, 0, false), 3);
  EXPECT_EQ(ScrollPositionToShow(1, 9, 24, 100, -100, 0, false), 0);
  // Below: just enough to show the bottom, or its top at the start when aligning.
  EXPECT_EQ(ScrollPositionToShow(0, 9, 24, 100, 90, 124, false), 1);
  EXPECT_EQ(ScrollPositionToShow(0, 9, 24, 100, 90, 129, false), 2);
  EXPECT_EQ(ScrollPositionToShow(0, 9, 24, 100, 96, 120, true), 4);
  EXPECT_EQ(ScrollPositionToShow(8, 9, 24, 100, 96, 500, true), 9) << "never beyond the maximum";
  EXPECT_EQ(ScrollPositionToShow(3, 9, 24, 100, 10, 34, false), 3) << "already shown";
}
