// Colour arithmetic and the scan-line work of the drawing routines, on
// plain buffers.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "panelkit/colormath.h"
#include "rtl/exceptions.h"

using namespace colormath;

namespace {

TEST(BlendWeighted, WeighsTheFirstColourOver256) {
  struct Case {
    TColor A, B;
    Integer Weight;
    TColor Expected;
  };
  const Case cases[] = {
      {0xFFFFFF, 0x000000, 255, 0xFEFEFE}, {0xFFFFFF, 0x000000, 0, 0x000000},  {0x000000, 0xFFFFFF, 0, 0xFEFEFE},
      {0x0000FF, 0xFF0000, 128, 0x7E007F}, {0x00FF00, 0x000000, 64, 0x003F00},
  };
  for (const Case& c : cases) EXPECT_EQ(BlendWeighted(c.A, c.B, c.Weight), c.Expected) << c.Weight;
  EXPECT_THROW(BlendWeighted(0, 0, 256), EAssertionFailed);
  EXPECT_THROW(BlendWeighted(0, 0, -1), EAssertionFailed);
}

TEST(BlendRatio, GoesFromTheFirstToTheSecondRoundingHalfToEven) {
  EXPECT_EQ(BlendRatio(0x102030, 0xFFFFFF, 0.0), 0x102030);
  EXPECT_EQ(BlendRatio(0x102030, 0xFFFFFF, 1.0), 0xFFFFFF);
  EXPECT_EQ(BlendRatio(0x000000, 0x0000FF, 0.5), 0x000080) << "127.5 rounds to 128";
  EXPECT_EQ(BlendRatio(0x000000, 0x000003, 0.5), 0x000002) << "1.5 rounds to 2";
  EXPECT_EQ(BlendRatio(0x000000, 0x000005, 0.5), 0x000002) << "2.5 rounds to 2";
}

TEST(ShiftBrightness, ClampsEveryChannel) {
  EXPECT_EQ(ShiftBrightness(0x10F080, 32), 0x30FFA0);
  EXPECT_EQ(ShiftBrightness(0x10F080, -32), 0x00D060);
}

TEST(Glass, WithoutGlowThePlainGradient) {
  const TColor top = 0xFF0000, bottom = 0x0000FF;
  for (Integer row = 0; row < 10; ++row) {
    TColor plain = BlendWeighted(bottom, top, static_cast<Integer>(std::nearbyint(row / 10.0 * 255)));
    EXPECT_EQ(GlassRowColor(row, 10, top, bottom, 0), plain) << row;
  }
  EXPECT_EQ(GlassRowColor(0, 10, top, bottom, 4), BlendWeighted(BlendWeighted(bottom, top, 0), kWhite, 0))
      << "the top row is whitened most";
  EXPECT_EQ(GlassRowColor(5, 10, top, bottom, 4), GlassRowColor(5, 10, top, bottom, 0)) << "below the glow";
  EXPECT_NE(GlassHalfRowColor(1, 10, top, bottom), GlassRowColor(1, 10, top, bottom, 0));
  EXPECT_EQ(GlassCentredPixel(0x000000, 50, 100), BlendWeighted(0, kWhite, 100)) << "the middle column";
  EXPECT_EQ(GlassCentredPixel(0x000000, 0, 200), BlendWeighted(0, kWhite, 255)) << "far from the middle";
}

TEST(Sheen, FadesOverAtMost22Rows) {
  int rows = 0;
  for (Integer row = 0; SheenWeight(row, 100) >= 0; ++row) ++rows;
  EXPECT_EQ(rows, 22);
  rows = 0;
  for (Integer row = 0; SheenWeight(row, 5) >= 0; ++row) ++rows;
  EXPECT_EQ(rows, 5);
  EXPECT_EQ(SheenWeight(0, 10), 150);
  EXPECT_EQ(SheenWeight(-1, 10), -1);
}

TEST(ScanLines, CursorsGreyAndCompose) {
  std::vector<Byte> line(8, 0xAA);
  Byte* w = line.data();
  WritePixel32(w, 30, 60, 90);
  WritePixel24(w, 1, 2, 3);
  EXPECT_EQ(w - line.data(), 7);
  EXPECT_EQ(line[3], 0xAA) << "the alpha byte stays";
  const Byte* r = line.data();
  Byte red, green, blue, alpha;
  ReadPixel32(r, red, green, blue, alpha);
  EXPECT_EQ((std::vector<int>{red, green, blue, alpha}), (std::vector<int>{30, 60, 90, 0xAA}));
  ReadPixel24(r, red, green, blue);
  EXPECT_EQ((std::vector<int>{red, green, blue}), (std::vector<int>{1, 2, 3}));
  r = line.data();
  EXPECT_EQ(ReadPixel32Color(r), RGBColor(30, 60, 90));

  std::vector<Byte> pixels = {90, 60, 30, 7, 0, 0, 255, 9};
  GreyScanLine(pixels.data(), 2, 4);
  EXPECT_EQ(pixels, (std::vector<Byte>{60, 60, 60, 7, 85, 85, 85, 9}));

  std::vector<Byte> source = {0, 0, 255, 0, 0, 0, 255, 255};
  const std::vector<Byte> background = {255, 255, 255, 0, 255, 255, 255, 0};
  ComposeAlphaScanLine(source.data(), background.data(), 2);
  EXPECT_EQ(source, (std::vector<Byte>{254, 254, 254, 0, 0, 0, 254, 255})) << "alpha 0 keeps 255/256 of the back";
  std::vector<Byte> over = {0, 0, 0, 0};
  ComposeOverColorScanLine(over.data(), 0x00FF00, 1);
  EXPECT_EQ(over, (std::vector<Byte>{0, 254, 0, 0}));
}

}  // namespace
