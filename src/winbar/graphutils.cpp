#include "winbar/graphutils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "rtl/exceptions.h"

namespace {

constexpr Integer kHlsMax = 240;
constexpr Integer kRgbMax = 255;

constexpr Integer Red(Integer c) {
  return c & 0xFF;
}
constexpr Integer Green(Integer c) {
  return (c >> 8) & 0xFF;
}
constexpr Integer Blue(Integer c) {
  return (c >> 16) & 0xFF;
}
constexpr Integer MakeRGB(Integer r, Integer g, Integer b) {
  return r | (g << 8) | (b << 16);
}

// The weight of a row as the blend wants it: 0..255, nearest, ties to even.
Integer Weight(double share) {
  return static_cast<Integer>(std::nearbyint(share * 255.0));
}

Integer HueToRGB(Integer n1, Integer n2, Integer hue) {
  if (hue < 0) hue += kHlsMax;
  if (hue > kHlsMax) hue -= kHlsMax;
  if (hue < kHlsMax / 6) return n1 + (((n2 - n1) * hue + kHlsMax / 12) / (kHlsMax / 6));
  if (hue < kHlsMax / 2) return n2;
  if (hue < kHlsMax * 2 / 3) return n1 + (((n2 - n1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6));
  return n1;
}

// a / b rounded to the nearest, ties to even, for b > 0.
Int64 DivideRounded(__int128 a, __int128 b) {
  bool negative = a < 0;
  if (negative) a = -a;
  __int128 q = a / b, r = a % b;
  if (2 * r > b || (2 * r == b && (q & 1))) ++q;
  return static_cast<Int64>(negative ? -q : q);
}

}  // namespace

Integer BlendRGB(Integer a, Integer b, Integer alpha) {
  if (alpha < 0 || alpha > 255) throw EAssertionFailed(u"Assertion failure (Obrix_GraphUtils)");
  auto channel = [alpha](Integer x, Integer y) { return (x * alpha + y * (255 - alpha)) >> 8; };
  return MakeRGB(channel(Red(a), Red(b)), channel(Green(a), Green(b)), channel(Blue(a), Blue(b)));
}

Integer GlassRowColor(Integer y, Integer height, Integer halfHeight, Integer glass, Integer fill) {
  if (height <= 0) return fill;
  Integer color = BlendRGB(fill, glass, Weight(static_cast<double>(y) / height));
  if (y < halfHeight) color = BlendRGB(color, 0xFFFFFF, Weight(static_cast<double>(y) / (2.0 * halfHeight)));
  return color;
}

THLS RGBToHLS(Integer rgb) {
  Integer r = Red(rgb), g = Green(rgb), b = Blue(rgb);
  Integer cMax = std::max({r, g, b}), cMin = std::min({r, g, b});
  THLS hls;
  hls.Luminance = ((cMax + cMin) * kHlsMax + kRgbMax) / (2 * kRgbMax);
  if (cMax == cMin) {
    hls.Hue = kHlsMax * 2 / 3;
    return hls;
  }
  Integer sum = cMax + cMin, delta = cMax - cMin;
  if (hls.Luminance <= kHlsMax / 2)
    hls.Saturation = (delta * kHlsMax + sum / 2) / sum;
  else
    hls.Saturation = (delta * kHlsMax + (2 * kRgbMax - sum) / 2) / (2 * kRgbMax - sum);
  Integer rDelta = ((cMax - r) * (kHlsMax / 6) + delta / 2) / delta;
  Integer gDelta = ((cMax - g) * (kHlsMax / 6) + delta / 2) / delta;
  Integer bDelta = ((cMax - b) * (kHlsMax / 6) + delta / 2) / delta;
  if (r == cMax)
    hls.Hue = bDelta - gDelta;
  else if (g == cMax)
    hls.Hue = kHlsMax / 3 + rDelta - bDelta;
  else
    hls.Hue = 2 * kHlsMax / 3 + gDelta - rDelta;
  if (hls.Hue < 0) hls.Hue += kHlsMax;
  if (hls.Hue > kHlsMax) hls.Hue -= kHlsMax;
  return hls;
}

Integer HLSToRGB(const THLS& hls) {
  Integer l = std::clamp<Integer>(hls.Luminance, 0, kHlsMax);
  Integer s = std::clamp<Integer>(hls.Saturation, 0, kHlsMax);
  if (s == 0) {
    Integer v = l * kRgbMax / kHlsMax;
    return MakeRGB(v, v, v);
  }
  Integer magic2 =
      l <= kHlsMax / 2 ? (l * (kHlsMax + s) + kHlsMax / 2) / kHlsMax : l + s - (l * s + kHlsMax / 2) / kHlsMax;
  Integer magic1 = 2 * l - magic2;
  auto channel = [&](Integer hue) {
    return std::clamp<Integer>((HueToRGB(magic1, magic2, hue) * kRgbMax + kHlsMax / 2) / kHlsMax, 0, kRgbMax);
  };
  return MakeRGB(channel(hls.Hue + kHlsMax / 3), channel(hls.Hue), channel(hls.Hue - kHlsMax / 3));
}

Integer ShadowRGB(Integer rgb, Integer amount) {
  rgb &= 0xFFFFFF;
  if (amount == 0) return rgb;
  THLS hls = RGBToHLS(rgb);
  hls.Luminance = std::clamp<Integer>(hls.Luminance + amount, 0, kHlsMax);
  return HLSToRGB(hls);
}

Integer HighlightRGB(Integer rgb, Integer amount) {
  rgb &= 0xFFFFFF;
  return ShadowRGB(rgb, RGBToHLS(rgb).Saturation > 220 ? -amount : amount);
}

Integer ButtonsPerRow(Integer clientWidth, Integer buttonWidth, bool fullSize) {
  if (fullSize || buttonWidth <= 0) return 1;
  return std::max<Integer>(clientWidth / buttonWidth, 1);
}

Integer ButtonRows(Integer buttonCount, Integer perRow) {
  if (buttonCount <= 0) return 0;
  perRow = std::max<Integer>(perRow, 1);
  return (buttonCount + perRow - 1) / perRow;
}

Integer BorderAllowance(bool singleBorder, bool beveled, bool bevelTop, bool bevelBottom) {
  if (singleBorder) return 6;
  if (beveled) return 2 + (bevelTop ? 2 : 0) + (bevelBottom ? 2 : 0);
  return 2;
}

Integer AutoSizeHeight(Integer allowance, Integer rows, Integer buttonHeight) {
  long long height = static_cast<long long>(allowance) + static_cast<long long>(std::max<Integer>(rows, 0)) *
                                                             std::max<Integer>(buttonHeight, 0);
  return static_cast<Integer>(std::clamp<long long>(height, 0, kMaxControlExtent));
}

std::array<String, 3> SplitCaptionLines(const String& caption) {
  std::array<String, 3> lines;
  size_t first = caption.find(u'\t');
  lines[0] = caption.substr(0, first);
  if (first == String::npos) return lines;
  size_t second = caption.find(u'\t', first + 1);
  lines[1] = caption.substr(first + 1, second == String::npos ? String::npos : second - first - 1);
  if (second != String::npos) lines[2] = caption.substr(second + 1);
  return lines;
}

Integer CaptionOffset(const std::array<String, 3>& lines, Integer buttonHeight, Integer lineHeight,
                      Integer wrappedHeight) {
  Integer offset;
  if (!lines[2].empty())
    offset = (buttonHeight - 3 * lineHeight) / 2;
  else if (!lines[1].empty())
    offset = (buttonHeight - 2 * lineHeight) / 2;
  else
    offset = (buttonHeight - (wrappedHeight > 0 ? wrappedHeight : lineHeight)) / 2;
  return std::max<Integer>(offset, 0);
}

Integer GaugePercent(Int64 minValue, Int64 maxValue, Int64 progress) {
  if (maxValue == minValue) return 0;
  __int128 span = static_cast<__int128>(maxValue) - minValue;
  __int128 done = (static_cast<__int128>(progress) - minValue) * 100;
  if (span < 0) {
    span = -span;
    done = -done;
  }
  return static_cast<Integer>(DivideRounded(done, span));
}

Integer GaugeFill(Integer extent, Integer percent) {
  return static_cast<Integer>(DivideRounded(static_cast<__int128>(extent) * percent, 100));
}

TPoint GaugePieStart(Integer width, Integer height, Integer percent) {
  double angle = (percent / 50.0 + 0.5) * std::numbers::pi;
  Integer mx = width / 2, my = height / 2;
  return {static_cast<Integer>(std::nearbyint(mx * (1 - std::cos(angle)))),
          static_cast<Integer>(std::nearbyint(my * (1 - std::sin(angle))))};
}

TPoint GaugeNeedleTip(Integer centreX, Integer baseY, Integer percent) {
  double angle = percent / 100.0 * std::numbers::pi;
  return {static_cast<Integer>(std::nearbyint(centreX * (1 - std::cos(angle)))),
          static_cast<Integer>(std::nearbyint(baseY * (1 - std::sin(angle))))};
}

Integer ClampWallpaperOffset(Integer offset, TOffsetMode mode, Integer tileWidth, Integer tileHeight) {
  switch (mode) {
    case omRows: return std::clamp<Integer>(offset, 0, std::max<Integer>(tileWidth, 0));
    case omColumns: return std::clamp<Integer>(offset, 0, std::max<Integer>(tileHeight, 0));
    case omCenter: break;
  }
  return offset;
}

std::vector<TPoint> WallpaperTiles(Integer width, Integer height, Integer tileWidth, Integer tileHeight, Integer offset,
                                   TOffsetMode mode) {
  std::vector<TPoint> tiles;
  if (tileWidth <= 0 || tileHeight <= 0 || width <= 0 || height <= 0) return tiles;
  if (mode == omCenter) {
    tiles.push_back({(width - tileWidth) / 2, (height - tileHeight) / 2});
    return tiles;
  }
  Integer dx = offset - tileWidth, dy = offset - tileHeight;
  Integer columns = (std::abs(dx) + width) / tileWidth + 1;
  for (Integer c = 0; c < columns; ++c) {
    Integer y0 = (mode == omColumns && c % 2 == 1) ? dy : 0;
    Integer rows = (std::abs(y0) + height) / tileHeight + 1;
    for (Integer r = 0; r < rows; ++r) {
      Integer x0 = (mode == omRows && r % 2 == 1) ? dx : 0;
      tiles.push_back({tileWidth * c + x0, tileHeight * r + y0});
    }
  }
  return tiles;
}

TRect SwitchKnobRect(Integer width, Integer height, bool checked) {
  Integer half = static_cast<Integer>(std::nearbyint(width * 0.5));
  return checked ? Rect(half, 0, width, height) : Rect(0, 0, half, height);
}

Integer SwitchFontSize(Integer height) {
  return height / 3 + 1;
}

// ---- Thumbnails ----

TPoint ThumbnailFit(Integer width, Integer height, Integer size) {
  if (width <= 0 || height <= 0) return TPoint{0, 0};
  size = std::max(size, 1);
  if (width <= size && height <= size) return TPoint{width, height};
  const double scale = std::max(static_cast<double>(width) / size, static_cast<double>(height) / size);
  auto side = [scale, size](Integer extent) {
    const auto fitted = static_cast<Integer>(std::nearbyint(extent / scale));
    return std::clamp(fitted, 1, size);
  };
  return TPoint{side(width), side(height)};
}

Integer ThumbnailDecodeScale(Integer width, Integer height, TPoint fitted) {
  Integer scale = 0;
  for (Integer next = 1; next <= 3; ++next) {
    const Integer d = 1 << next;
    if ((width + d - 1) / d < fitted.X || (height + d - 1) / d < fitted.Y) break;
    scale = next;
  }
  return scale;
}

// ---- Wheel ----

Integer TWheelAccumulator::Feed(Integer delta, bool modifiers, bool& handled) {
  constexpr Integer kNotch = 120;
  handled = true;
  // Deltas come from outside: keep the sum far from overflowing.
  FValue = std::clamp(FValue + std::clamp(delta, -32768, 32767), -65536, 65536);
  Integer steps = 0;
  while (FValue >= kNotch || FValue <= -kNotch) {
    const bool down = FValue < 0;
    FValue += down ? kNotch : -kNotch;
    if (modifiers)
      handled = false;
    else
      steps += down ? 1 : -1;
  }
  return steps;
}
