// The providers' arithmetic: ratios, rectangles that meet, boxes placed in
// rectangles by alignment, mask weights and mirrored points.
#include <gtest/gtest.h>

#include "panelkit/providers.h"

namespace {

using namespace calcprovider;

TEST(CalcProvider, BoxesPlacedByAlignment) {
  struct Case {
    TAlignment Alignment;
    TVerticalAlignment Vertical;
    TPoint Expected;
  } cases[] = {
      {taCenter, taVerticalCenter, {44, 4}},
      {taLeftJustify, taAlignTop, {2, 2}},
      {taRightJustify, taAlignBottom, {85, 5}},
      {taLeftJustify, taVerticalCenter, {2, 4}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PosInRect(13, 13, 2, Rect(0, 0, 100, 20), c.Alignment, c.Vertical), c.Expected)
        << c.Alignment << " " << c.Vertical;
}

TEST(CalcProvider, RectanglesAndRatios) {
  const TRect host = Rect(0, 0, 10, 10);
  EXPECT_TRUE(IsRectInRect(Rect(10, 10, 20, 20), host)) << "touching counts";
  EXPECT_TRUE(IsRectInRect(Rect(-5, 2, 3, 4), host));
  EXPECT_FALSE(IsRectInRect(Rect(11, 0, 20, 5), host));
  EXPECT_FALSE(IsRectInRect(Rect(0, -9, 5, -1), host));
  EXPECT_EQ(ResizeRect(host, 1, 2, -3, -4), Rect(1, 2, 7, 6));
  EXPECT_DOUBLE_EQ(GetRatio(25, 200), 12.5);
}

TEST(MaskProvider, ColourLevelsAndMirroring) {
  EXPECT_EQ(maskprovider::GetColorLevel(0xFFFFFF), 255);
  EXPECT_EQ(maskprovider::GetColorLevel(0), 0);
  EXPECT_EQ(maskprovider::GetColorLevel(0x0000FF), 76);
  EXPECT_EQ(maskprovider::GetColorLevel(0x00FF00), 150);
  EXPECT_EQ(MirrorPoints({{1, 2}, {3, 8}}, Rect(0, 0, 10, 10)), (std::vector<TPoint>{{1, 8}, {3, 2}}));
}

}  // namespace
