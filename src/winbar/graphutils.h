// Colour and layout arithmetic of the window bar and the extra controls:
// blending, the glass gradient's rows, luminance shifts, the button grid,
// caption lines, the gauge's percentage and shapes, the wallpaper's tiles and
// the switch's knob. No window is needed, so all of it is tested natively.
#pragma once

#include <array>
#include <vector>

#include "rtl/geometry.h"
#include "rtl/types.h"
#include "rtl/uitypes.h"

// ---- Colours (all plain 0x00BBGGRR values; system colours are resolved by the caller) ----

// Weighs A by Alpha (0..255) against B by 255 - Alpha, each channel divided
// by 256. An Alpha outside 0..255 raises EAssertionFailed: a negative weight
// would wrap the channels into other channels.
Integer BlendRGB(Integer a, Integer b, Integer alpha);

// The colour of row `y` of a glass gradient `height` rows high, fading from
// `glass` at the top to `fill`, with the upper `halfHeight` rows veiled in white.
Integer GlassRowColor(Integer y, Integer height, Integer halfHeight, Integer glass, Integer fill);

// Hue, luminance and saturation on the 0..240 scale.
struct THLS {
  Integer Hue = 0;
  Integer Luminance = 0;
  Integer Saturation = 0;
};
THLS RGBToHLS(Integer rgb);
Integer HLSToRGB(const THLS& hls);
// The colour with its luminance moved by `amount` (negative darkens); 0
// leaves the colour as it is.
Integer ShadowRGB(Integer rgb, Integer amount);
// Lighter by `amount`, but darker by it for strongly saturated colours,
// where lighter would wash them out.
Integer HighlightRGB(Integer rgb, Integer amount);

// ---- Button grid ----

Integer ButtonsPerRow(Integer clientWidth, Integer buttonWidth, bool fullSize);
Integer ButtonRows(Integer buttonCount, Integer perRow);
// What the border and bevels take from the height of an auto-sized group.
Integer BorderAllowance(bool singleBorder, bool beveled, bool bevelTop, bool bevelBottom);
// The height of an auto-sized group: the allowance plus its rows, never
// above the tallest window the system makes, whatever the button height.
Integer AutoSizeHeight(Integer allowance, Integer rows, Integer buttonHeight);
inline constexpr Integer kMaxControlExtent = 32767;
// A caption's three lines, separated by tab characters; a third tab stays in line 3.
std::array<String, 3> SplitCaptionLines(const String& caption);
// Where a caption starts below the button's top, given its lines, the line
// height and the height of line 1 when wrapped (0: one line).
Integer CaptionOffset(const std::array<String, 3>& lines, Integer buttonHeight, Integer lineHeight,
                      Integer wrappedHeight);

// ---- Gauge ----

// The share of [minValue, maxValue] that progress has covered, in percent,
// rounded to the nearest (ties to even); 0 for an empty range. Exact for any
// 64-bit range.
Integer GaugePercent(Int64 minValue, Int64 maxValue, Int64 progress);
// How much of `extent` pixels a percentage fills, rounded to the nearest.
Integer GaugeFill(Integer extent, Integer percent);
// Start point of a pie slice (the slice ends at the top centre).
TPoint GaugePieStart(Integer width, Integer height, Integer percent);
// Tip of the needle that swings from the left (0 %) to the right (100 %).
TPoint GaugeNeedleTip(Integer centreX, Integer baseY, Integer percent);

// ---- Wallpaper ----

enum TOffsetMode { omCenter, omRows, omColumns };

// The offset kept between 0 and the tile's width (rows) or height (columns).
Integer ClampWallpaperOffset(Integer offset, TOffsetMode mode, Integer tileWidth, Integer tileHeight);
// Where the copies of a tile go to cover width x height, every second row
// or column shifted; one centred copy for omCenter. Empty for an empty tile.
std::vector<TPoint> WallpaperTiles(Integer width, Integer height, Integer tileWidth, Integer tileHeight, Integer offset,
                                   TOffsetMode mode);

// ---- Switch ----

// The knob's half of the client area: right when on, left when off.
TRect SwitchKnobRect(Integer width, Integer height, bool checked);
// The caption's point size for a switch of that height.
Integer SwitchFontSize(Integer height);

// ---- Thumbnails ----

// The size a picture takes in a size x size square: a picture that fits
// keeps its size, a larger one shrinks by the larger of width / size and
// height / size, each side rounded to the nearest; never below 1 x 1 for a
// picture that has pixels (a square below 1 counts as 1). An empty picture
// gives 0 x 0.
TPoint ThumbnailFit(Integer width, Integer height, Integer size);
// The JPEG decoder's scale (0 full, 1 half, 2 quarter, 3 eighth) that makes
// the fewest pixels still at least `fitted` on each side.
Integer ThumbnailDecodeScale(Integer width, Integer height, TPoint fitted);

// ---- Wheel ----

// Wheel movement in the platform's units (120 a notch) turned into whole
// scroll steps; the rest waits for the next message.
class TWheelAccumulator {
 public:
  // Adds a message's delta and takes whole notches off. Returns the steps
  // to scroll, positive downwards (a negative delta); with a key or button
  // held the notches are used up without scrolling and `handled` is false.
  Integer Feed(Integer delta, bool modifiers, bool& handled);
  Integer Value() const { return FValue; }

 private:
  Integer FValue = 0;
};
