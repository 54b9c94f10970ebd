// Colour arithmetic of the panel kit's drawing routines, on colours whose
// system-colour indices the caller has already resolved ($BBGGRR), and the
// pixel cursors over the scan lines of 24- and 32-bit bitmaps.
#pragma once

#include "rtl/types.h"
#include "rtl/uitypes.h"

namespace colormath {

inline constexpr TColor kWhite = 0xFFFFFF;

inline Byte Red(TColor c) {
  return static_cast<Byte>(c & 0xFF);
}
inline Byte Green(TColor c) {
  return static_cast<Byte>((c >> 8) & 0xFF);
}
inline Byte Blue(TColor c) {
  return static_cast<Byte>((c >> 16) & 0xFF);
}
inline TColor RGBColor(int r, int g, int b) {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

// Weight/256 of the first colour and (255 - Weight)/256 of the second.
// A weight outside 0..255 is a caller's fault: EAssertionFailed.
TColor BlendWeighted(TColor color1, TColor color2, Integer weight);
// The first colour at ratio 0, the second at ratio 1, each channel rounded half to even.
TColor BlendRatio(TColor color1, TColor color2, double ratio);
// Adds delta to each channel, each kept within 0..255.
TColor ShiftBrightness(TColor color, Integer delta);

// Row `row` of a glass fill `height` rows tall: the gradient from the top
// colour towards the bottom one, whitened over the first glowHeight rows.
TColor GlassRowColor(Integer row, Integer height, TColor topColor, TColor bottomColor, Integer glowHeight);
// The same with a weaker glow over the upper half.
TColor GlassHalfRowColor(Integer row, Integer height, TColor topColor, TColor bottomColor);
// A pixel of the centred glass fill: lightest in the middle column.
TColor GlassCentredPixel(TColor rowColor, Integer column, Integer width);
// The white blended into sheen row `row` of a band `bandHeight` tall; -1
// where the sheen has ended.
Integer SheenWeight(Integer row, Integer bandHeight);
// The grey of a pixel: the mean of its three channels.
inline Byte GreyLevel(Byte red, Byte green, Byte blue) {
  return static_cast<Byte>((red + green + blue) / 3);
}

// Cursors over scan lines: each writes or reads one pixel and moves on.
void WritePixel24(Byte*& cursor, Byte red, Byte green, Byte blue);
void WritePixel32(Byte*& cursor, Byte red, Byte green, Byte blue);
void ReadPixel24(const Byte*& cursor, Byte& red, Byte& green, Byte& blue);
void ReadPixel32(const Byte*& cursor, Byte& red, Byte& green, Byte& blue, Byte& alpha);
TColor ReadPixel32Color(const Byte*& cursor);

// Turns `count` pixels of a scan line grey in place (24 or 32 bits a pixel;
// alpha bytes stay).
void GreyScanLine(Byte* line, Integer count, Integer bytesPerPixel);
// Composes `count` 32-bit pixels over the background line (same layout):
// each colour becomes BlendWeighted(source, background, alpha); alpha stays.
void ComposeAlphaScanLine(Byte* source, const Byte* background, Integer count);
// Composes `count` 32-bit pixels over one solid colour.
void ComposeOverColorScanLine(Byte* source, TColor background, Integer count);

}  // namespace colormath
