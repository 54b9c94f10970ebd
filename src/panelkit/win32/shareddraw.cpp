#include "panelkit/win32/shareddraw.h"

#include <algorithm>

#include "panelkit/colormath.h"
#include "panelkit/win32/themes.h"

namespace {

// A bitmap of the rectangle's size holding what the canvas shows there.
std::unique_ptr<TBitmap> CopyOfArea(TCanvas& canvas, const TRect& rect, TPixelFormat format) {
  auto copy = std::make_unique<TBitmap>(rect.Width(), rect.Height(), format);
  copy->Canvas().CopyRect(Rect(0, 0, rect.Width(), rect.Height()), canvas, rect);
  return copy;
}

void FillRow(TBitmap& bitmap, Integer row, TColor color) {
  auto* cursor = static_cast<Byte*>(bitmap.ScanLine(row));
  for (Integer x = 0; x < bitmap.Width(); ++x)
    colormath::WritePixel24(cursor, colormath::Red(color), colormath::Green(color), colormath::Blue(color));
}

UINT CaptionFormat(TAlignment alignment, bool noPrefix) {
  UINT format = alignment == taRightJustify ? 0x8226u : alignment == taCenter ? 0x8225u : 0x8224u;
  return noPrefix ? format | 0x800u : format;
}

void DrawClearText(TCanvas& canvas, const String& text, TRect r, UINT format) {
  canvas.Brush().SetStyle(bsClear);
  canvas.DrawText(text, r, format);
  canvas.Brush().SetStyle(bsSolid);
}

}  // namespace

TColor ResolveColor(TColor color) {
  return ColorToRGB(color) & 0xFFFFFF;
}

TColor BlendWeighted(TColor color1, TColor color2, Integer weight) {
  return colormath::BlendWeighted(ResolveColor(color1), ResolveColor(color2), weight);
}

TColor BlendRatio(TColor color1, TColor color2, double ratio) {
  return colormath::BlendRatio(ResolveColor(color1), ResolveColor(color2), ratio);
}

TColor ShiftBrightness(TColor color, Integer delta) {
  return colormath::ShiftBrightness(ResolveColor(color), delta);
}

TColor GetStyleColor(Byte kind) {
  const bool themed = IsThemed();
  switch (kind) {
    case 0: return themed ? 0xC2EEFF : BlendWeighted(clHighlight, clWindow, 80);
    case 1: return themed ? 0x8CD5FF : cl3DLight;
    case 2: return themed ? 0x4CA6FF : cl3DLight;
    case 3: return clHotLight;
    case 4: return 0x8CD5FF;
    case 5: return 0x55ADFF;
    case 6: return 0xCCF4FF;
    case 7: return 0x91D0FF;
    case 8: return themed ? 0x4E91FE : 0xB291FE;
    case 9: return 0x8ED3FF;
    case 10: return themed ? clInactiveCaptionText : clWindow;
    case 11: return themed ? BlendWeighted(clHighlight, clInactiveCaptionText, 132) : clBtnFace;
    case 12: return themed ? 0xB99D7F : clGrayText;
    default: return clNone;
  }
}

// The part of [from, to) the canvas may draw on, so that a huge rectangle
// from a form costs no more than the visible one.
static std::pair<Integer, Integer> VisibleSpan(Integer from, Integer to, Integer clipFrom, Integer clipTo) {
  return {std::max(from, clipFrom), std::min(to, clipTo)};
}

void FillHorzGradient(TCanvas& canvas, const TRect& rect, TColor color1, TColor color2) {
  const Integer w = rect.Width();
  if (w <= 0) return;
  const TRect clip = canvas.ClipRect();
  const auto [first, last] = VisibleSpan(rect.Left, rect.Right, clip.Left, clip.Right);
  for (Integer x = first; x < last; ++x) {
    canvas.Pen().SetColor(BlendRatio(color1, color2, static_cast<double>(x - rect.Left) / w));
    canvas.MoveTo(x, rect.Top);
    canvas.LineTo(x, rect.Bottom);
  }
}

void FillVertGradient(TCanvas& canvas, const TRect& rect, TColor color1, TColor color2) {
  const Integer h = rect.Height();
  if (h <= 0) return;
  const TRect clip = canvas.ClipRect();
  const auto [first, last] = VisibleSpan(rect.Top, rect.Bottom, clip.Top, clip.Bottom);
  for (Integer y = first; y < last; ++y) {
    canvas.Pen().SetColor(BlendRatio(color1, color2, static_cast<double>(y - rect.Top) / h));
    canvas.MoveTo(rect.Left, y);
    canvas.LineTo(rect.Right, y);
  }
}

void DrawGlass(TCanvas& canvas, const TRect& rect, TColor topColor, TColor bottomColor, Integer glowHeight) {
  if (rect.IsEmpty()) return;
  TBitmap bitmap(rect.Width(), rect.Height(), pf24bit);
  const TColor top = ResolveColor(topColor), bottom = ResolveColor(bottomColor);
  for (Integer row = 0; row < rect.Height(); ++row)
    FillRow(bitmap, row, colormath::GlassRowColor(row, rect.Height(), top, bottom, glowHeight));
  canvas.Draw(rect.Left, rect.Top, bitmap);
}

void DrawGlassHalf(TCanvas& canvas, const TRect& rect, TColor topColor, TColor bottomColor) {
  if (rect.IsEmpty()) return;
  TBitmap bitmap(rect.Width(), rect.Height(), pf24bit);
  const TColor top = ResolveColor(topColor), bottom = ResolveColor(bottomColor);
  for (Integer row = 0; row < rect.Height(); ++row)
    FillRow(bitmap, row, colormath::GlassHalfRowColor(row, rect.Height(), top, bottom));
  canvas.Draw(rect.Left, rect.Top, bitmap);
}

void DrawGlassCentred(TCanvas& canvas, const TRect& rect, TColor topColor, TColor bottomColor, Integer glowHeight) {
  if (rect.IsEmpty()) return;
  TBitmap bitmap(rect.Width(), rect.Height(), pf24bit);
  const TColor top = ResolveColor(topColor), bottom = ResolveColor(bottomColor);
  for (Integer row = 0; row < rect.Height(); ++row) {
    TColor rowColor = colormath::GlassRowColor(row, rect.Height(), top, bottom, glowHeight);
    auto* cursor = static_cast<Byte*>(bitmap.ScanLine(row));
    for (Integer x = 0; x < rect.Width(); ++x) {
      TColor c = colormath::GlassCentredPixel(rowColor, x, rect.Width());
      colormath::WritePixel24(cursor, colormath::Red(c), colormath::Green(c), colormath::Blue(c));
    }
  }
  canvas.Draw(rect.Left, rect.Top, bitmap);
}

void DrawTopSheen(TCanvas& canvas, const TRect& rect) {
  const Integer band = rect.Bottom / 2;
  if (band <= 0 || rect.Width() <= 0) return;
  TRect area = Rect(rect.Left, rect.Top, rect.Right, rect.Top + band);
  std::unique_ptr<TBitmap> copy = CopyOfArea(canvas, area, pf24bit);
  for (Integer row = 0; row < band; ++row) {
    Integer weight = colormath::SheenWeight(row, band);
    if (weight < 0) break;
    auto* cursor = static_cast<Byte*>(copy->ScanLine(row));
    for (Integer x = 0; x < area.Width(); ++x) {
      TColor p = colormath::RGBColor(cursor[2], cursor[1], cursor[0]);
      TColor c = colormath::BlendWeighted(colormath::kWhite, p, weight);
      colormath::WritePixel24(cursor, colormath::Red(c), colormath::Green(c), colormath::Blue(c));
    }
  }
  canvas.Draw(area.Left, area.Top, *copy);
}

void DrawParentBackground(const TControl& control, TCanvas& canvas) {
  TWinControl* parent = control.Parent();
  if (!parent || !parent->HandleAllocated()) return;
  parent->PaintBackgroundOf(control, canvas.Handle());
}

void SetClipRect(TCanvas& canvas, const TRect& rect) {
  HRGN region = CreateRectRgn(rect.Left, rect.Top, rect.Right, rect.Bottom);
  SelectClipRgn(canvas.Handle(), region);
  DeleteObject(region);
}

void SetClipPolygon(TCanvas& canvas, const std::vector<TPoint>& points) {
  if (points.empty()) return;
  std::vector<POINT> raw;
  raw.reserve(points.size());
  for (const TPoint& p : points) raw.push_back(POINT{p.X, p.Y});
  HRGN region = CreatePolygonRgn(raw.data(), static_cast<int>(raw.size()), WINDING);
  SelectClipRgn(canvas.Handle(), region);
  DeleteObject(region);
}

void ClearClip(TCanvas& canvas) {
  SelectClipRgn(canvas.Handle(), nullptr);
}

void InvalidateWithoutErase(TWinControl& control, const TRect& rect) {
  if (!control.HandleAllocated()) return;
  RECT raw{rect.Left, rect.Top, rect.Right, rect.Bottom};
  InvalidateRect(control.Handle(), &raw, FALSE);
}

void DrawAlphaBitmap(TCanvas& canvas, Integer x, Integer y, TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  if (bitmap.PixelFormat() != pf32bit) {
    canvas.Draw(x, y, bitmap);
    return;
  }
  const Integer w = bitmap.Width(), h = bitmap.Height();
  std::unique_ptr<TBitmap> background = CopyOfArea(canvas, Bounds(x, y, w, h), pf32bit);
  TBitmap composed;
  composed.Assign(&bitmap);
  for (Integer row = 0; row < h; ++row)
    colormath::ComposeAlphaScanLine(static_cast<Byte*>(composed.ScanLine(row)),
                                    static_cast<const Byte*>(background->ScanLine(row)), w);
  canvas.Draw(x, y, composed);
}

void DrawBitmapClipped(TCanvas& canvas, const TRect& rect, TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  const Integer w = std::min(bitmap.Width(), rect.Width()), h = std::min(bitmap.Height(), rect.Height());
  if (w <= 0 || h <= 0) return;
  if (bitmap.PixelFormat() == pf24bit || bitmap.PixelFormat() == pf32bit) {
    TBitmap part(w, h, bitmap.PixelFormat());
    part.Canvas().CopyRect(Rect(0, 0, w, h), bitmap.Canvas(), Rect(0, 0, w, h));
    if (bitmap.PixelFormat() == pf32bit) {
      for (Integer row = 0; row < h; ++row)
        std::copy_n(static_cast<const Byte*>(bitmap.ScanLine(row)), static_cast<size_t>(w) * 4,
                    static_cast<Byte*>(part.ScanLine(row)));
      DrawAlphaBitmap(canvas, rect.Left, rect.Top, part);
    } else {
      canvas.Draw(rect.Left, rect.Top, part);
    }
    return;
  }
  canvas.Draw(rect.Left, rect.Top, bitmap);
}

void DrawBitmapOverColor(TCanvas& canvas, Integer x, Integer y, TBitmap& bitmap, TColor color) {
  if (bitmap.Empty()) return;
  if (bitmap.PixelFormat() != pf32bit) {
    canvas.Draw(x, y, bitmap);
    return;
  }
  TBitmap composed;
  composed.Assign(&bitmap);
  const TColor back = ResolveColor(color);
  for (Integer row = 0; row < composed.Height(); ++row)
    colormath::ComposeOverColorScanLine(static_cast<Byte*>(composed.ScanLine(row)), back, composed.Width());
  canvas.Draw(x, y, composed);
}

void MakeGrayscale(TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  const Integer w = bitmap.Width(), h = bitmap.Height();
  switch (bitmap.PixelFormat()) {
    case pf24bit:
    case pf32bit: {
      const Integer bytes = bitmap.PixelFormat() == pf24bit ? 3 : 4;
      for (Integer row = 0; row < h; ++row) colormath::GreyScanLine(static_cast<Byte*>(bitmap.ScanLine(row)), w, bytes);
      return;
    }
    case pf4bit: {
      // The embossed disabled look: the picture's shape in highlight, then
      // in shadow one pixel up and left, on the button face.
      const TColor transparent = bitmap.Canvas().Pixels(0, h - 1);
      bitmap.SetTransparentColor(transparent);
      bitmap.SetTransparent(true);
      TBitmap mask(w, h, pf1bit);
      HDC source = bitmap.Canvas().Handle();
      SetBkColor(source, static_cast<COLORREF>(ResolveColor(transparent)));
      BitBlt(mask.Canvas().Handle(), 0, 0, w, h, source, 0, 0, SRCCOPY);
      bitmap.Canvas().Brush().SetColor(clBtnFace);
      bitmap.Canvas().FillRect(Rect(0, 0, w, h));
      HDC target = bitmap.Canvas().Handle();
      HDC maskDc = mask.Canvas().Handle();
      SetTextColor(target, RGB(0, 0, 0));
      SetBkColor(target, RGB(255, 255, 255));
      constexpr DWORD kPaintWhereBlack = 0x00E20746;
      bitmap.Canvas().Brush().SetColor(clBtnHighlight);
      SelectObject(target, bitmap.Canvas().Brush().Handle());
      BitBlt(target, 1, 1, w, h, maskDc, 0, 0, kPaintWhereBlack);
      bitmap.Canvas().Brush().SetColor(clBtnShadow);
      SelectObject(target, bitmap.Canvas().Brush().Handle());
      BitBlt(target, 0, 0, w, h, maskDc, 0, 0, kPaintWhereBlack);
      return;
    }
    default: return;
  }
}

void DrawCaptionText(TCanvas& canvas, const TRect& rect, TAlignment alignment, const String& text, bool noPrefix) {
  DrawClearText(canvas, text, rect, CaptionFormat(alignment, noPrefix));
}

void DrawEllipsisText(TCanvas& canvas, const TRect& rect, const String& text, TBiDiMode biDiMode) {
  DrawClearText(canvas, text, rect, 0x8A24u | (biDiMode == bdRightToLeft ? 0x20000u : 0u));
}

void DrawEmbossedText(TCanvas& canvas, const TRect& rect, const String& text, TAlignment alignment, bool noPrefix) {
  const UINT format = CaptionFormat(alignment, noPrefix);
  TRect moved = rect;
  moved.Offset(1, 1);
  TColor old = canvas.Font().Color();
  canvas.Font().SetColor(clBtnHighlight);
  DrawClearText(canvas, text, moved, format);
  canvas.Font().SetColor(clBtnShadow);
  DrawClearText(canvas, text, rect, format);
  canvas.Font().SetColor(old);
}

// ---------------------------------------------------------------------------
// Expand and collapse glyphs

namespace {

constexpr Integer kGlyphButtonSize = 9;

// The 9 x 9 button face of the classic look, used when the program carries
// no picture of its own: a light box, dark right and bottom edges, a minus
// and, for expanding, a plus.
void DrawDefaultButtonGlyph(TBitmap& bitmap, bool plus) {
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(kGlyphButtonSize, kGlyphButtonSize);
  TCanvas& c = bitmap.Canvas();
  c.Brush().SetColor(TColor{0xF4F4F4});
  c.FillRect(Rect(0, 0, kGlyphButtonSize, kGlyphButtonSize));
  c.Pen().SetColor(TColor{0x808080});
  c.Polyline({{kGlyphButtonSize - 1, 0}, {kGlyphButtonSize - 1, kGlyphButtonSize - 1}, {-1, kGlyphButtonSize - 1}});
  c.Pen().SetColor(TColor{0x404040});
  c.Polyline({{2, 4}, {7, 4}});
  if (plus) c.Polyline({{4, 2}, {4, 7}});
}

}  // namespace

void LoadButtonGlyph(TBitmap& bitmap, const char16_t* name, bool plus) {
  try {
    bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), name);
  } catch (const Exception&) {
    DrawDefaultButtonGlyph(bitmap, plus);
  }
}
