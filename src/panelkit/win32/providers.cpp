#include "panelkit/win32/providers.h"

#include "panelkit/win32/collection.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"

namespace {

constexpr UINT kNoPrefix = DT_NOPREFIX;
// The check box part of the styles class "Button".
constexpr int kCheckBoxPart = 3;

void DrawTextClear(TCanvas& canvas, const String& text, TRect rect, UINT format) {
  canvas.Brush().SetStyle(bsClear);
  canvas.DrawText(text, rect, format);
  canvas.Brush().SetStyle(bsSolid);
}

UINT AlignmentFlags(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

}  // namespace

namespace graphicsprovider {

void DrawGradient(TCanvas& canvas, const TRect& rect, TColor fromColor, TColor toColor) {
  FillVertGradient(canvas, rect, fromColor, toColor);
}

void DrawVertGradient(TCanvas& canvas, const TRect& rect, TColor fromColor, TColor toColor) {
  FillHorzGradient(canvas, rect, fromColor, toColor);
}

void DrawTextRect(TCanvas& canvas, const TRect& rect, TAlignment alignment, const String& text, TBiDiMode biDiMode) {
  UINT format =
      DT_SINGLELINE | DT_VCENTER | DT_EXTERNALLEADING | kNoPrefix | DT_END_ELLIPSIS | AlignmentFlags(alignment);
  if (biDiMode != bdLeftToRight) format |= DT_RTLREADING;
  DrawTextClear(canvas, text, rect, format);
}

void DrawWrapedTextRect(TCanvas& canvas, const TRect& rect, TAlignment alignment, TVerticalAlignment verticalAlignment,
                        bool wordWrap, const String& text, TBiDiMode biDiMode) {
  UINT format = kNoPrefix | AlignmentFlags(alignment);
  TRect target = rect;
  if (wordWrap) {
    TRect measured = rect;
    canvas.DrawText(text, measured, format | DT_CALCRECT | DT_WORDBREAK);
    format |= DT_WORDBREAK;
    if (verticalAlignment == taAlignBottom) target.Top = rect.Bottom - measured.Height();
    if (verticalAlignment == taVerticalCenter) target.Top += (rect.Bottom - measured.Bottom) / 2;
  } else {
    if (verticalAlignment == taAlignBottom) format |= DT_BOTTOM;
    if (verticalAlignment == taVerticalCenter) format |= DT_VCENTER;
    format |= DT_SINGLELINE;
  }
  if (biDiMode == bdRightToLeft) format |= DT_RTLREADING;
  DrawTextClear(canvas, text, target, format);
}

void DrawCheckBox(HWND window, TCanvas& canvas, const TRect& rect, TAlignment alignment,
                  TVerticalAlignment verticalAlignment, bool checked, bool grayed, bool hover) {
  if (IsThemed()) {
    const TPoint at = calcprovider::PosInRect(13, 13, 2, rect, alignment, verticalAlignment);
    int state = checked ? 5 : 1;
    if (hover) state = checked && grayed ? 7 : checked ? 6 : grayed ? 3 : 2;
    DrawThemeElement(window, canvas.Handle(), Bounds(at.X, at.Y, 13, 13), u"Button", kCheckBoxPart, state);
    return;
  }
  const TPoint at = calcprovider::PosInRect(11, 11, 2, rect, alignment, verticalAlignment);
  canvas.Brush().SetColor(grayed ? clBtnFace : clWindow);
  canvas.Pen().SetColor(clBtnShadow);
  canvas.Rectangle(Bounds(at.X, at.Y, 11, 11));
  canvas.Pen().SetColor(clWindowText);
  if (!checked) return;
  for (Integer k = 0; k < 3; ++k)
    canvas.Polyline({TPoint{at.X + 2, at.Y + 4 + k}, TPoint{at.X + 4, at.Y + 6 + k}, TPoint{at.X + 9, at.Y + 1 + k}});
}

void DrawButton(TCanvas& canvas, const TRect& rect, bool oldStyle) {
  TRect face = rect;
  face.Inflate(-1, -1);
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect(face);
  canvas.Pen().SetColor(clBtnHighlight);
  canvas.Polyline({TPoint{rect.Left, rect.Bottom - 1}, TPoint{rect.Left, rect.Top}, TPoint{rect.Right - 1, rect.Top}});
  canvas.Pen().SetColor(oldStyle ? clWindowFrame : clBtnShadow);
  canvas.Polyline({TPoint{rect.Right - 1, rect.Top}, TPoint{rect.Right - 1, rect.Bottom - 1},
                   TPoint{rect.Left - 1, rect.Bottom - 1}});
}

void DrawFocused(TCanvas& canvas, const TRect& rect, bool xpStyle) {
  if (xpStyle) {
    canvas.Brush().SetColor(clHighlight);
    canvas.FrameRect(rect);
    return;
  }
  DrawFocusFrame(canvas, rect);
}

}  // namespace graphicsprovider

TSize GetWideTextExtent(TCanvas& canvas, const String& text) {
  if (text.empty()) return TSize{};
  return canvas.TextExtent(text);
}

void DrawFontPreview(TCanvas& canvas, const TRect& rect, const String& fontName) {
  canvas.Brush().SetColor(clHighlight);
  canvas.Font().SetSize(8);
  canvas.Font().SetColor(clHighlightText);
  canvas.Font().SetName(fontName);
  canvas.TextRect(rect, rect.Left, rect.Top, u"ab");
}

TSize MeasureWrappedText(TCanvas& canvas, const TRect& rect, const String& text) {
  TRect measured = rect;
  canvas.DrawText(text, measured,
                  DT_CALCRECT | DT_WORDBREAK | DT_VCENTER | DT_EXTERNALLEADING | kNoPrefix | DT_END_ELLIPSIS);
  return TSize{measured.Width(), measured.Height()};
}
