// The drawing providers on bitmaps: button frames, check boxes, focus
// marks, gradients and texts placed by their alignment.
#include "panelkit/win32/providers.h"

#include <gtest/gtest.h>

#include <memory>

#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"

namespace {

std::unique_ptr<TBitmap> White(Integer w, Integer h) {
  auto bitmap = std::make_unique<TBitmap>(w, h, pf24bit);
  bitmap->Canvas().Brush().SetColor(clWhite);
  bitmap->Canvas().FillRect(Rect(0, 0, w, h));
  bitmap->Canvas().Font().SetName(u"Tahoma");
  bitmap->Canvas().Font().SetSize(8);
  bitmap->Canvas().Font().SetColor(clBlack);
  return bitmap;
}

// The rows that hold any dark pixel.
std::pair<Integer, Integer> InkRows(TCanvas& c, Integer w, Integer h) {
  Integer first = -1, last = -1;
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x)
      if ((c.Pixels(x, y) & 0xFF) < 0x80) {
        if (first < 0) first = y;
        last = y;
      }
  return {first, last};
}

TEST(GraphicsProvider, ButtonFrameAndGradients) {
  auto b = White(20, 20);
  TCanvas& c = b->Canvas();
  graphicsprovider::DrawButton(c, Rect(0, 0, 20, 20), false);
  EXPECT_EQ(c.Pixels(0, 5), ResolveColor(clBtnHighlight));
  EXPECT_EQ(c.Pixels(19, 5), ResolveColor(clBtnShadow));
  EXPECT_EQ(c.Pixels(10, 10), ResolveColor(clBtnFace));
  graphicsprovider::DrawButton(c, Rect(0, 0, 20, 20), true);
  EXPECT_EQ(c.Pixels(5, 19), ResolveColor(clWindowFrame));
  graphicsprovider::DrawGradient(c, Rect(0, 0, 20, 20), clBlack, clWhite);
  EXPECT_EQ(c.Pixels(10, 0), 0);
  graphicsprovider::DrawVertGradient(c, Rect(0, 0, 20, 20), clWhite, clBlack);
  EXPECT_EQ(c.Pixels(0, 10), 0xFFFFFF);
  graphicsprovider::DrawFocused(c, Rect(2, 2, 18, 18), true);
  EXPECT_EQ(c.Pixels(2, 10), ResolveColor(clHighlight));
}

TEST(GraphicsProvider, CheckBoxesMarkTheirState) {
  if (IsThemed()) {
    // The styles draw a 13 x 13 box at (2, 3); checked and unchecked differ.
    auto plain = White(40, 20);
    auto ticked = White(40, 20);
    graphicsprovider::DrawCheckBox(nullptr, plain->Canvas(), Rect(0, 0, 40, 20), taLeftJustify, taVerticalCenter, false,
                                   false, false);
    graphicsprovider::DrawCheckBox(nullptr, ticked->Canvas(), Rect(0, 0, 40, 20), taLeftJustify, taVerticalCenter, true,
                                   false, false);
    int differing = 0, drawn = 0;
    for (Integer y = 3; y < 16; ++y)
      for (Integer x = 2; x < 15; ++x) {
        if (plain->Canvas().Pixels(x, y) != 0xFFFFFF) ++drawn;
        if (plain->Canvas().Pixels(x, y) != ticked->Canvas().Pixels(x, y)) ++differing;
      }
    EXPECT_GT(drawn, 20);
    EXPECT_GT(differing, 3);
    EXPECT_EQ(plain->Canvas().Pixels(30, 10), 0xFFFFFF) << "nothing beside the box";
    return;
  }
  for (bool checked : {false, true}) {
    auto b = White(40, 20);
    TCanvas& c = b->Canvas();
    graphicsprovider::DrawCheckBox(nullptr, c, Rect(0, 0, 40, 20), taLeftJustify, taVerticalCenter, checked, false,
                                   false);
    // The box at (2, 4), 11 x 11; the mark's middle row.
    EXPECT_EQ(c.Pixels(2, 8), ResolveColor(clBtnShadow));
    EXPECT_EQ(c.Pixels(6, 12) == ResolveColor(clWindowText), checked) << "checked " << checked;
  }
}

TEST(GraphicsProvider, WrappedTextsFollowTheirVerticalAlignment) {
  for (TVerticalAlignment vertical : {taAlignTop, taVerticalCenter, taAlignBottom}) {
    for (bool wrap : {false, true}) {
      auto b = White(80, 80);
      TCanvas& c = b->Canvas();
      graphicsprovider::DrawWrapedTextRect(c, Rect(0, 0, 80, 80), taLeftJustify, vertical, wrap, u"Word",
                                           bdLeftToRight);
      const auto [first, last] = InkRows(c, 80, 80);
      ASSERT_GE(first, 0);
      const bool placed = vertical == taAlignTop         ? last < 20
                          : vertical == taVerticalCenter ? first > 25 && last < 55
                                                         : first > 60;
      EXPECT_TRUE(placed) << "alignment " << vertical << " wrap " << wrap << ": rows " << first << " to " << last;
    }
  }
  auto b = White(80, 80);
  const TSize one = MeasureWrappedText(b->Canvas(), Rect(0, 0, 200, 80), u"one two three");
  const TSize three = MeasureWrappedText(b->Canvas(), Rect(0, 0, 30, 80), u"one two three");
  EXPECT_GT(three.cy, one.cy * 2);
  EXPECT_EQ(GetWideTextExtent(b->Canvas(), u""), (TSize{0, 0}));
  EXPECT_EQ(GetWideTextWidth(b->Canvas(), u"\u00e9t\u00e9"), b->Canvas().TextExtent(u"\u00e9t\u00e9").cx);
  EXPECT_GT(GetWideTextHeight(b->Canvas(), u"x"), 8);
  EXPECT_LT(three.cx, one.cx);
}

}  // namespace
