// The drawing routines every control of the panel kit paints with: blends
// that resolve system colours, style colours, gradients, glass fills, a
// sheen, per-pixel alpha, the parent's background under a transparent
// control, grey renderings and captions with fixed format flags.
#pragma once

#include "ui/winapi.h"

#include "ui/controls.h"
#include "ui/graphics.h"

// The colour as red, green and blue, a system colour looked up first.
TColor ResolveColor(TColor color);
// Weight/256 of the first colour and (255 - Weight)/256 of the second;
// a weight outside 0..255 raises EAssertionFailed.
TColor BlendWeighted(TColor color1, TColor color2, Integer weight);
TColor BlendRatio(TColor color1, TColor color2, double ratio);
TColor ShiftBrightness(TColor color, Integer delta);
// A colour of the fixed style table (kinds 0 to 12; clNone for others),
// chosen by whether visual styles are on.
TColor GetStyleColor(Byte kind);

void FillHorzGradient(TCanvas& canvas, const TRect& rect, TColor color1, TColor color2);
void FillVertGradient(TCanvas& canvas, const TRect& rect, TColor color1, TColor color2);
void DrawGlass(TCanvas& canvas, const TRect& rect, TColor topColor, TColor bottomColor, Integer glowHeight);
void DrawGlassHalf(TCanvas& canvas, const TRect& rect, TColor topColor, TColor bottomColor);
void DrawGlassCentred(TCanvas& canvas, const TRect& rect, TColor topColor, TColor bottomColor, Integer glowHeight);
// Whitens the first rows of what the rectangle already shows.
void DrawTopSheen(TCanvas& canvas, const TRect& rect);
// Paints the parent's background and face into the control's canvas.
void DrawParentBackground(const TControl& control, TCanvas& canvas);
// Clips the canvas to the rectangle.
void SetClipRect(TCanvas& canvas, const TRect& rect);
// Clips the canvas to a polygon (winding fill).
void SetClipPolygon(TCanvas& canvas, const std::vector<TPoint>& points);
// Lets the canvas draw everywhere again.
void ClearClip(TCanvas& canvas);

// Marks the rectangle of the control's window for painting without erasing.
void InvalidateWithoutErase(TWinControl& control, const TRect& rect);

// A 32-bit bitmap is composed over the canvas by its alpha; others are drawn plainly.
void DrawAlphaBitmap(TCanvas& canvas, Integer x, Integer y, TBitmap& bitmap);
// Drawn at the rectangle's corner, cut to the rectangle.
void DrawBitmapClipped(TCanvas& canvas, const TRect& rect, TBitmap& bitmap);
// Marks the rectangle of the control's window for painting without erasing.
void InvalidateWithoutErase(TWinControl& control, const TRect& rect);

// A 32-bit bitmap is composed over a solid colour; others are drawn plainly.
void DrawBitmapOverColor(TCanvas& canvas, Integer x, Integer y, TBitmap& bitmap, TColor color);
// 24- and 32-bit pictures turn grey; a 16-colour picture becomes its
// embossed disabled look; others stay as they are.
void MakeGrayscale(TBitmap& bitmap);

// One line, vertically centred, cut with an ellipsis; an "&" marks an
// accelerator unless noPrefix.
void DrawCaptionText(TCanvas& canvas, const TRect& rect, TAlignment alignment, const String& text, bool noPrefix);
void DrawEllipsisText(TCanvas& canvas, const TRect& rect, const String& text, TBiDiMode biDiMode);
void DrawEmbossedText(TCanvas& canvas, const TRect& rect, const String& text, TAlignment alignment, bool noPrefix);

// A 9 x 9 expand (plus) or collapse glyph from the program's bitmap resource
// of that name, or the classic box with a minus (and a plus) when the
// program carries none.
void LoadButtonGlyph(TBitmap& bitmap, const char16_t* name, bool plus);
