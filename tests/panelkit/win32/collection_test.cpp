// The margin objects' notifications and rectangles, and the collection
// drawing routines on bitmaps: grip dots, texts, button faces.
#include "panelkit/win32/collection.h"

#include <gtest/gtest.h>

#include <memory>

#include "panelkit/win32/shareddraw.h"

namespace {

TEST(PxMargins, NotificationsAndRectangles) {
  TPxMargins margins;
  int changes = 0;
  margins.OnChange = [&](TObject*) { ++changes; };
  margins.SetLeft(0);
  EXPECT_EQ(changes, 1) << "also when the value stays";
  changes = 0;
  margins.SetRect(2, 3, 4, 5);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(margins.AsRect(100, 50), Rect(2, 3, 96, 45));
  TPxMargins copy;
  int copyChanges = 0;
  copy.OnChange = [&](TObject*) { ++copyChanges; };
  copy.Assign(&margins);
  EXPECT_EQ(copyChanges, 4);
  EXPECT_EQ(copy.AsRect(100, 50), Rect(2, 3, 96, 45));
  TPxIndent indent;
  indent.Assign(&margins);
  EXPECT_EQ(indent.Left(), 2);
  EXPECT_EQ(indent.Top(), 3);
}

std::unique_ptr<TBitmap> White(Integer w, Integer h) {
  auto bitmap = std::make_unique<TBitmap>(w, h, pf24bit);
  bitmap->Canvas().Brush().SetColor(clWhite);
  bitmap->Canvas().FillRect(Rect(0, 0, w, h));
  return bitmap;
}

TEST(CollectionDrawing, GripDotsSitCentred) {
  auto b = White(20, 10);
  TCanvas& c = b->Canvas();
  DrawGripDots(c, Rect(0, 0, 20, 10), 3, false, csBlue);
  for (Integer x : {5, 9, 13}) {
    EXPECT_EQ(c.Pixels(x, 4), 0xCF9365) << x;
    EXPECT_EQ(c.Pixels(x + 1, 5), 0xFFD1AD) << x;
    EXPECT_EQ(c.Pixels(x + 2, 6), 0xFBF9F9) << x;
  }
  EXPECT_EQ(c.Pixels(4, 4), 0xFFFFFF);
  EXPECT_EQ(c.Pixels(17, 4), 0xFFFFFF);
  auto column = White(10, 20);
  DrawGripDots(column->Canvas(), Rect(0, 0, 10, 20), 2, true, csSilver);
  EXPECT_EQ(column->Canvas().Pixels(4, 7), 0x7C7C7C);
  EXPECT_EQ(column->Canvas().Pixels(4, 11), 0x7C7C7C);
  auto none = White(10, 10);
  DrawGripDots(none->Canvas(), Rect(0, 0, 10, 10), 0, false, csBlue);
  EXPECT_EQ(none->Canvas().Pixels(4, 4), 0xFFFFFF);
}

TEST(CollectionDrawing, TextsAndButtonFaces) {
  auto b = White(60, 20);
  TCanvas& c = b->Canvas();
  DrawTextInRect(c, Rect(0, 0, 60, 20), u"", taLeftJustify, taAlignTop, wkNone, false, false);
  EXPECT_EQ(c.Brush().Style(), bsSolid);
  EXPECT_EQ(c.Pixels(5, 5), 0xFFFFFF);
  DrawTextInRect(c, Rect(0, 0, 60, 20), u"Off", taLeftJustify, taVerticalCenter, wkNone, false, true);
  EXPECT_EQ(c.Font().Color(), clBtnShadow);
  int shadow = 0;
  for (Integer y = 0; y < 20; ++y)
    for (Integer x = 0; x < 60; ++x)
      if (c.Pixels(x, y) == ResolveColor(clBtnShadow)) ++shadow;
  EXPECT_GT(shadow, 5);

  auto face = White(20, 20);
  DrawClassicButtonFace(face->Canvas(), Rect(0, 0, 20, 20), 2);
  EXPECT_EQ(face->Canvas().Pixels(0, 5), ResolveColor(clBtnHighlight));
  EXPECT_EQ(face->Canvas().Pixels(19, 5), ResolveColor(cl3DDkShadow));
  DrawClassicButtonFace(face->Canvas(), Rect(0, 0, 20, 20), 1);
  EXPECT_EQ(face->Canvas().Pixels(0, 5), ResolveColor(clBtnShadow));
  DrawSchemeButtonFace(face->Canvas(), Rect(0, 0, 20, 20), 3);
  EXPECT_EQ(face->Canvas().Pixels(10, 10), SchemeColor(19, csDefault));
  EXPECT_EQ(face->Canvas().Pixels(0, 10), SchemeColor(20, csDefault));
}

}  // namespace
