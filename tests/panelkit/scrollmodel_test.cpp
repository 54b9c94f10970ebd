// The scroll-bar model: visibility by range, positions kept in range, the
// position each scroll request leads to, content moves held back while
// updating, and the roll's direction and pace.
#include <gtest/gtest.h>

#include <vector>

#include "panelkit/scrollmodel.h"

namespace {

TEST(ScrollBarModel, VisibleOnlyWhenThereIsSomethingToScroll) {
  TScrollBarModel bar;
  bar.SetPageSize(10);
  bar.SetMax(50);
  EXPECT_TRUE(bar.Visible());
  bar.SetMax(0);
  EXPECT_FALSE(bar.Visible());
  bar.SetAutoHide(false);
  EXPECT_TRUE(bar.Visible()) << "shown (and disabled) without auto-hiding";
  bar.SetMax(-5);
  EXPECT_EQ(bar.Max(), 0);
}

TEST(ScrollBarModel, PositionsStayInRangeAndMoveTheContent) {
  TScrollBarModel bar;
  std::vector<std::pair<Integer, Integer>> moves;
  bar.OnScrollContent = [&](Integer from, Integer to) { moves.emplace_back(from, to); };
  bar.SetMax(100);
  bar.SetMin(10);
  struct Case {
    Integer Value, Expected;
  } cases[] = {{50, 50}, {500, 100}, {3, 10}, {-7, 10}};
  for (const Case& c : cases) {
    bar.SetPosition(c.Value);
    EXPECT_EQ(bar.Position(), c.Expected) << c.Value;
  }
  bar.SetPosition(60);
  bar.SetMax(40);  // below the position: the position follows, and so does the content
  EXPECT_EQ(bar.Position(), 40);
  EXPECT_EQ(moves.back(), (std::pair<Integer, Integer>{60, 40}));

  const size_t before = moves.size();
  bar.BeginUpdate();
  bar.SetPosition(20);
  bar.EndUpdate();
  bar.SetManualScroll(true);
  bar.SetPosition(30);
  EXPECT_EQ(moves.size(), before) << "held back while updating or scrolled by hand";
  EXPECT_EQ(bar.Position(), 30);
}

TEST(ScrollBarModel, RequestsLeadToPositions) {
  struct Case {
    TScrollRequest Request;
    Integer Start, Track, Expected;
    TScrollKind Kind;
  } cases[] = {
      {srLineDown, 10, 0, 13, rkLine}, {srLineUp, 1, 0, 0, rkLine},       {srPageDown, 60, 0, 71, rkPage},
      {srPageDown, 20, 0, 50, rkPage}, {srPageUp, 20, 0, 0, rkPage},      {srThumbTrack, 0, 42, 42, rkThumb},
      {srTop, 50, 0, 0, rkTopBottom},  {srBottom, 0, 0, 71, rkTopBottom}, {srEndScroll, 33, 0, 33, rkIdle},
  };
  for (const Case& c : cases) {
    TScrollBarModel bar;
    bar.SetMax(100);
    bar.SetPageSize(30);
    bar.SetSmallChange(3);
    bar.SetLargeChange(30);
    bar.SetPosition(c.Start);
    bar.Scroll(c.Request, c.Track);
    EXPECT_EQ(bar.Position(), c.Expected) << "request " << c.Request;
    EXPECT_EQ(bar.ScrollKind(), c.Kind) << "request " << c.Request;
  }
  TScrollBarModel empty;
  EXPECT_FALSE(empty.CanStepForward());
  empty.SetMax(10);
  EXPECT_FALSE(empty.CanStepBack()) << "at the start";
}

TEST(ScrollBarModel, RollDirectionAndPace) {
  EXPECT_EQ(RollDirection(50), TRollDirection{rdDown});
  EXPECT_EQ(RollDirection(-6), TRollDirection{rdUp});
  EXPECT_TRUE(RollDirection(5).Empty());
  EXPECT_TRUE(RollDirection(-5).Empty());
  EXPECT_EQ(RollInterval(50), 50);
  EXPECT_EQ(RollInterval(-300), 1);
}

}  // namespace
