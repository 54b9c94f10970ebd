// The drawing providers of the panel kit: texts with fixed format flags,
// wrapped and aligned texts, check boxes, button faces, focus marks and the
// font preview.
#pragma once

#include "ui/winapi.h"

#include "panelkit/providers.h"
#include "ui/graphics.h"

namespace graphicsprovider {

// Top to bottom, the first colour at the top.
void DrawGradient(TCanvas& canvas, const TRect& rect, TColor fromColor, TColor toColor);
// Left to right, the first colour at the left.
void DrawVertGradient(TCanvas& canvas, const TRect& rect, TColor fromColor, TColor toColor);
// One line, vertically centred, cut with an ellipsis, no prefix character.
void DrawTextRect(TCanvas& canvas, const TRect& rect, TAlignment alignment, const String& text, TBiDiMode biDiMode);
// Wrapped at words (and aligned as a block) or on one line.
void DrawWrapedTextRect(TCanvas& canvas, const TRect& rect, TAlignment alignment, TVerticalAlignment verticalAlignment,
                        bool wordWrap, const String& text, TBiDiMode biDiMode);
// A check box placed in the rectangle: the styles' look when they are on,
// an 11 x 11 box with a three-pixel check mark otherwise.
void DrawCheckBox(HWND window, TCanvas& canvas, const TRect& rect, TAlignment alignment,
                  TVerticalAlignment verticalAlignment, bool checked, bool grayed, bool hover);
// A button face with a one-pixel raised frame.
void DrawButton(TCanvas& canvas, const TRect& rect, bool oldStyle);
// A highlight frame, or the system's dotted focus rectangle.
void DrawFocused(TCanvas& canvas, const TRect& rect, bool xpStyle);

}  // namespace graphicsprovider

// The extent of the whole text in the canvas's font (0 x 0 for no text).
TSize GetWideTextExtent(TCanvas& canvas, const String& text);
inline Integer GetWideTextWidth(TCanvas& canvas, const String& text) {
  return GetWideTextExtent(canvas, text).cx;
}
inline Integer GetWideTextHeight(TCanvas& canvas, const String& text) {
  return GetWideTextExtent(canvas, text).cy;
}

// "ab" in the font, highlighted, cut to the rectangle.
void DrawFontPreview(TCanvas& canvas, const TRect& rect, const String& fontName);
// The size the text takes wrapped at words in the rectangle's width.
TSize MeasureWrappedText(TCanvas& canvas, const TRect& rect, const String& text);
