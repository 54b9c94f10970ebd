#include "winbar/graphutils.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>

#include "rtl/exceptions.h"

TEST(Blend, WeighsEachChannelAndDividesBy256) {
  struct Case {
    Integer a, b, alpha, expected;
  };
  const Case cases[] = {
      {0xFFFFFF, 0x000000, 255, 0xFEFEFE},                                     // 255 * 255 / 256 = 254
      {0xFFFFFF, 0x000000, 0, 0x000000},   {0x123456, 0xFFFFFF, 0, 0xFEFEFE},  // alpha 0 gives B darkened by 255/256
      {0x0000FF, 0xFF0000, 128, 0x7E007F}, {0x00FF00, 0x000000, 64, 0x003F00},
  };
  for (const Case& c : cases) EXPECT_EQ(BlendRGB(c.a, c.b, c.alpha), c.expected) << std::hex << c.a << " " << c.b;
}

TEST(Blend, AWeightOutsideTheByteIsAnAssertionFailure) {
  for (Integer alpha : {256, 1000, -1, -255}) EXPECT_THROW(BlendRGB(0xFFFFFF, 0, alpha), EAssertionFailed) << alpha;
  try {
    BlendRGB(0, 0, 256);
  } catch (const EAssertionFailed& e) {
    EXPECT_NE(e.Message().find(u"Assertion failure"), String::npos);
  }
}

TEST(Glass, TopRowIsNearWhiteAndTheBottomNearTheFill) {
  const Integer h = 20, half = 10;
  EXPECT_EQ(GlassRowColor(0, h, half, 0x0000FF, 0x00FF00), 0xFEFEFE) << "whatever the colours";
  EXPECT_EQ(GlassRowColor(0, h, half, 0x123456, 0x654321), 0xFEFEFE);
  // Below the veil the row is the blend of fill and glass alone.
  EXPECT_EQ(GlassRowColor(19, h, half, 0xFFFFFF, 0x000000), BlendRGB(0, 0xFFFFFF, 242));
  // In the veil: white by y / (2 * half).
  Integer plain = BlendRGB(0x000000, 0xFFFFFF, 64);  // 5 / 20 * 255 = 63.75 -> 64
  EXPECT_EQ(GlassRowColor(5, h, half, 0xFFFFFF, 0x000000), BlendRGB(plain, 0xFFFFFF, 64));
  // Every weight stays inside the byte for any size.
  for (Integer height : {1, 2, 3, 22, 255, 1000})
    for (Integer y = 0; y < height; ++y) EXPECT_NO_THROW(GlassRowColor(y, height, height / 2, 0xFFFFFF, 0xC0C0C0));
}

TEST(Luminance, RoundTripsAndShifts) {
  for (Integer c : {0x000000, 0xFFFFFF, 0x808080, 0xF0F0F0, 0x0000FF, 0x00FF00, 0xFF0000, 0xC6D3EF, 0x3CC556}) {
    Integer back = HLSToRGB(RGBToHLS(c));
    for (int shift : {0, 8, 16}) EXPECT_NEAR((back >> shift) & 0xFF, (c >> shift) & 0xFF, 2) << std::hex << c;
    EXPECT_EQ(ShadowRGB(c, 0), c) << "a shift of 0 is the colour itself";
  }
  EXPECT_EQ(RGBToHLS(0xFFFFFF).Luminance, 240);
  EXPECT_EQ(RGBToHLS(0x000000).Luminance, 0);
  EXPECT_EQ(RGBToHLS(0x0000FF).Saturation, 240);
  EXPECT_EQ(ShadowRGB(0xFFFFFF, 50), 0xFFFFFF) << "luminance stays within the scale";
  EXPECT_EQ(ShadowRGB(0x000000, -50), 0x000000);
  EXPECT_LT(ShadowRGB(0xF0F0F0, -50) & 0xFF, 0xF0);
  EXPECT_GT(HighlightRGB(0xF0F0F0, 15) & 0xFF, 0xF0) << "grey grows lighter";
  EXPECT_LT(RGBToHLS(HighlightRGB(0x0000FF, 15)).Luminance, RGBToHLS(0x0000FF).Luminance)
      << "a fully saturated colour grows darker";
}

TEST(ButtonGrid, RowsAndAllowances) {
  EXPECT_EQ(ButtonsPerRow(400, 150, false), 2);
  EXPECT_EQ(ButtonsPerRow(100, 150, false), 1) << "at least one";
  EXPECT_EQ(ButtonsPerRow(400, 150, true), 1);
  EXPECT_EQ(ButtonsPerRow(400, 0, false), 1);
  EXPECT_EQ(ButtonRows(0, 2), 0);
  EXPECT_EQ(ButtonRows(3, 2), 2);
  EXPECT_EQ(ButtonRows(4, 2), 2);
  EXPECT_EQ(ButtonRows(5, 0), 5);
  EXPECT_EQ(BorderAllowance(false, true, true, true), 6) << "the main window's bar";
  EXPECT_EQ(BorderAllowance(true, true, false, false), 6);
  EXPECT_EQ(BorderAllowance(false, false, true, true), 2);
  EXPECT_EQ(BorderAllowance(false, true, true, false), 4);
  EXPECT_EQ(BorderAllowance(false, true, true, true) + ButtonRows(3, ButtonsPerRow(400, 150, false)) * 22, 50);
}

TEST(ButtonGrid, CaptionLinesSplitAtTabs) {
  using Lines = std::array<String, 3>;
  EXPECT_EQ(SplitCaptionLines(u"Name"), (Lines{u"Name", u"", u""}));
  EXPECT_EQ(SplitCaptionLines(u"Name\tPath"), (Lines{u"Name", u"Path", u""}));
  EXPECT_EQ(SplitCaptionLines(u"a\tb\tc\td"), (Lines{u"a", u"b", u"c\td"}));
  EXPECT_EQ(SplitCaptionLines(u"\t\t"), (Lines{u"", u"", u""}));
  EXPECT_EQ(SplitCaptionLines(u""), (Lines{u"", u"", u""}));

  EXPECT_EQ(CaptionOffset(SplitCaptionLines(u"a"), 22, 13, 0), 4);
  EXPECT_EQ(CaptionOffset(SplitCaptionLines(u"a\tb"), 40, 13, 0), 7);
  EXPECT_EQ(CaptionOffset(SplitCaptionLines(u"a\tb\tc"), 22, 13, 0), 0) << "never above the top";
  EXPECT_EQ(CaptionOffset(SplitCaptionLines(u"a"), 40, 13, 26), 7) << "a wrapped first line";
}

TEST(Gauge, PercentageIsExactForAny64BitRange) {
  struct Case {
    Int64 min, max, progress;
    Integer expected;
  };
  const Int64 big = Int64{1} << 40;
  const Case cases[] = {
      {0, 100, 0, 0},
      {0, 100, 100, 100},
      {5, 5, 5, 0},    // an empty range
      {0, 200, 1, 0},  // 0.5 rounds to even
      {0, 200, 3, 2},  // 1.5 rounds to even
      {0, 100000, 1000, 1},
      {0, big, big / 3, 33},
      {0, big, big / 2, 50},
      {0, big, big - 1, 100},
      {0, big, big / 4 * 3, 75},
      {-big, big, 0, 50},
      {INT64_MIN + 1, INT64_MAX, 0, 50},
      {0, INT64_MAX, INT64_MAX, 100},
  };
  for (const Case& c : cases) EXPECT_EQ(GaugePercent(c.min, c.max, c.progress), c.expected) << c.progress;
}

TEST(Gauge, FillsAndShapes) {
  EXPECT_EQ(GaugeFill(99, 50), 50) << "49.5 to even";
  EXPECT_EQ(GaugeFill(97, 50), 48) << "48.5 to even";
  EXPECT_EQ(GaugeFill(100, 33), 33);
  EXPECT_EQ(GaugeFill(100, 0), 0);
  EXPECT_EQ(GaugeNeedleTip(50, 99, 50), Point(50, 0)) << "straight up from the bottom centre";
  EXPECT_EQ(GaugeNeedleTip(50, 99, 0), Point(0, 99));
  EXPECT_EQ(GaugeNeedleTip(50, 99, 100), Point(100, 99));
  EXPECT_EQ(GaugePieStart(100, 100, 0), Point(50, 0)) << "an empty slice starts at the top";
  EXPECT_EQ(GaugePieStart(100, 100, 25), Point(100, 50));
  EXPECT_EQ(GaugePieStart(100, 100, 50), Point(50, 100));
}

TEST(Wallpaper, OffsetsStayWithinTheTile) {
  EXPECT_EQ(ClampWallpaperOffset(40, omRows, 32, 16), 32);
  EXPECT_EQ(ClampWallpaperOffset(40, omColumns, 32, 16), 16);
  EXPECT_EQ(ClampWallpaperOffset(-3, omRows, 32, 16), 0);
  EXPECT_EQ(ClampWallpaperOffset(40, omCenter, 32, 16), 40);
  EXPECT_EQ(ClampWallpaperOffset(5, omRows, 0, 0), 0) << "an empty picture";
}

TEST(Wallpaper, TilesCoverTheAreaWithEveryOtherRowShifted) {
  EXPECT_TRUE(WallpaperTiles(100, 100, 0, 10, 0, omRows).empty());
  EXPECT_EQ(WallpaperTiles(100, 80, 40, 20, 0, omCenter), std::vector<TPoint>{Point(30, 30)});
  EXPECT_EQ(WallpaperTiles(10, 10, 40, 20, 0, omCenter), std::vector<TPoint>{Point(-15, -5)}) << "cut at the edges";

  // Rows: odd rows start Width - Offset further left.
  auto tiles = WallpaperTiles(64, 32, 32, 16, 8, omRows);
  std::set<std::pair<Integer, Integer>> places;
  for (TPoint p : tiles) places.insert({p.X, p.Y});
  EXPECT_TRUE(places.count({0, 0}) && places.count({32, 0}));
  EXPECT_TRUE(places.count({-24, 16}) && places.count({8, 16}) && places.count({40, 16}));
  // Every pixel of the area lies in some tile.
  for (Integer y = 0; y < 32; ++y)
    for (Integer x = 0; x < 64; ++x) {
      bool covered = false;
      for (TPoint p : tiles) covered = covered || (x >= p.X && x < p.X + 32 && y >= p.Y && y < p.Y + 16);
      ASSERT_TRUE(covered) << x << "," << y;
    }
  // Offset equal to the width: rows line up.
  for (TPoint p : WallpaperTiles(64, 64, 32, 16, 32, omRows)) EXPECT_EQ(p.X % 32, 0);
  // Columns: odd columns start Height - Offset higher.
  for (TPoint p : WallpaperTiles(64, 64, 32, 16, 4, omColumns))
    if (p.X / 32 % 2 == 1) {
      EXPECT_EQ((p.Y % 16 + 16) % 16, 4);
    }
}

TEST(Switch, KnobHalvesAndFont) {
  EXPECT_EQ(SwitchKnobRect(75, 25, false), Rect(0, 0, 38, 25)) << "37.5 to even";
  EXPECT_EQ(SwitchKnobRect(75, 25, true), Rect(38, 0, 75, 25));
  EXPECT_EQ(SwitchKnobRect(60, 25, true), Rect(30, 0, 60, 25));
  EXPECT_EQ(SwitchFontSize(30), 11);
  EXPECT_EQ(SwitchFontSize(25), 9);
}
