#include "panelkit/colormath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "rtl/exceptions.h"

namespace colormath {

namespace {

// Rounds half to even, as the drawing routines' colour steps do.
Integer RoundEven(double value) {
  return static_cast<Integer>(std::nearbyint(value));
}

}  // namespace

TColor BlendWeighted(TColor color1, TColor color2, Integer weight) {
  if (weight < 0 || weight >= 256) throw EAssertionFailed(u"Assertion failure: blend weight out of range");
  auto c1 = static_cast<std::uint32_t>(color1), c2 = static_cast<std::uint32_t>(color2);
  auto w = static_cast<std::uint32_t>(weight);
  std::uint32_t redBlue = (w * (c1 & 0xFF00FF) + (255 - w) * (c2 & 0xFF00FF)) & 0xFF00FF00u;
  std::uint32_t green = ((c1 & 0xFF00) * w + (c2 & 0xFF00) * (255 - w)) & 0xFF0000u;
  return static_cast<TColor>((redBlue | green) >> 8);
}

TColor BlendRatio(TColor color1, TColor color2, double ratio) {
  auto mix = [ratio](int a, int b) { return std::clamp(RoundEven(b * ratio + (1 - ratio) * a), 0, 255); };
  return RGBColor(mix(Red(color1), Red(color2)), mix(Green(color1), Green(color2)), mix(Blue(color1), Blue(color2)));
}

TColor ShiftBrightness(TColor color, Integer delta) {
  auto shift = [delta](int c) { return std::clamp(c + delta, 0, 255); };
  return RGBColor(shift(Red(color)), shift(Green(color)), shift(Blue(color)));
}

TColor GlassRowColor(Integer row, Integer height, TColor topColor, TColor bottomColor, Integer glowHeight) {
  if (height <= 0) return topColor;
  TColor c = BlendWeighted(bottomColor, topColor, RoundEven(static_cast<double>(row) / height * 255));
  if (row < glowHeight) c = BlendWeighted(c, kWhite, RoundEven(static_cast<double>(row) / (2.0 * glowHeight) * 255));
  return c;
}

TColor GlassHalfRowColor(Integer row, Integer height, TColor topColor, TColor bottomColor) {
  if (height <= 0) return topColor;
  Integer glow = height / 2;
  TColor c = BlendWeighted(bottomColor, topColor, RoundEven(static_cast<double>(row) / height * 255));
  if (row < glow)
    c = BlendWeighted(c, kWhite, std::min(255, RoundEven(static_cast<double>(row) / (2.0 * glow) * 255) + 75));
  return c;
}

TColor GlassCentredPixel(TColor rowColor, Integer column, Integer width) {
  Integer middle = width / 2;
  Integer k = std::clamp(std::abs(middle - column) * 2 + 100, 0, 255);
  return BlendWeighted(rowColor, kWhite, k);
}

Integer SheenWeight(Integer row, Integer bandHeight) {
  if (row < 0 || row >= bandHeight) return -1;
  Integer n = 150 - 7 * row;
  return n < 0 ? -1 : n;
}

void WritePixel24(Byte*& cursor, Byte red, Byte green, Byte blue) {
  cursor[0] = blue;
  cursor[1] = green;
  cursor[2] = red;
  cursor += 3;
}

void WritePixel32(Byte*& cursor, Byte red, Byte green, Byte blue) {
  cursor[0] = blue;
  cursor[1] = green;
  cursor[2] = red;
  cursor += 4;
}

void ReadPixel24(const Byte*& cursor, Byte& red, Byte& green, Byte& blue) {
  blue = cursor[0];
  green = cursor[1];
  red = cursor[2];
  cursor += 3;
}

void ReadPixel32(const Byte*& cursor, Byte& red, Byte& green, Byte& blue, Byte& alpha) {
  blue = cursor[0];
  green = cursor[1];
  red = cursor[2];
  alpha = cursor[3];
  cursor += 4;
}

TColor ReadPixel32Color(const Byte*& cursor) {
  TColor c = RGBColor(cursor[2], cursor[1], cursor[0]);
  cursor += 4;
  return c;
}

void GreyScanLine(Byte* line, Integer count, Integer bytesPerPixel) {
  for (Integer i = 0; i < count; ++i, line += bytesPerPixel) {
    Byte grey = GreyLevel(line[2], line[1], line[0]);
    line[0] = line[1] = line[2] = grey;
  }
}

void ComposeAlphaScanLine(Byte* source, const Byte* background, Integer count) {
  for (Integer i = 0; i < count; ++i, source += 4, background += 4) {
    TColor s = RGBColor(source[2], source[1], source[0]);
    TColor b = RGBColor(background[2], background[1], background[0]);
    TColor mixed = BlendWeighted(s, b, source[3]);
    source[0] = Blue(mixed);
    source[1] = Green(mixed);
    source[2] = Red(mixed);
  }
}

void ComposeOverColorScanLine(Byte* source, TColor background, Integer count) {
  for (Integer i = 0; i < count; ++i, source += 4) {
    TColor mixed = BlendWeighted(RGBColor(source[2], source[1], source[0]), background, source[3]);
    source[0] = Blue(mixed);
    source[1] = Green(mixed);
    source[2] = Red(mixed);
  }
}

}  // namespace colormath
