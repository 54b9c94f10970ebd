// The page control's painting: page frame, strip background, the tabs in
// their five styles, the line joining the active tab to its page, and the
// strip's buttons. Tab shapes are written for tabs above the page and
// mirrored for tabs below it.
#include "panelkit/win32/pagecontrol.h"

#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"

namespace {

void Line(TCanvas& c, TColor color, Integer x1, Integer y1, Integer x2, Integer y2) {
  c.Pen().SetColor(color);
  c.MoveTo(x1, y1);
  c.LineTo(x2, y2);
}

}  // namespace

TColor TPxPageControl::FrameColor() const {
  return GetStyleColor(12);
}

std::vector<TPoint> TPxPageControl::Oriented(const std::vector<TPoint>& points, const TRect& rect) const {
  return FTabPosition == pxtabs::tpBottom ? tabshapes::Mirrored(points, rect) : points;
}

void TPxPageControl::DrawPolygon(const std::vector<TPoint>& points, const TRect& rect) {
  Canvas().Polygon(Oriented(points, rect));
}

void TPxPageControl::DrawPolyline(const std::vector<TPoint>& points, const TRect& rect) {
  Canvas().Polyline(Oriented(points, rect));
}

void TPxPageControl::ClipToPolygon(const std::vector<TPoint>& points, const TRect& rect) {
  SetClipPolygon(Canvas(), Oriented(points, rect));
}

void TPxPageControl::DrawPageBorder() {
  TCanvas& c = Canvas();
  const Integer w = ClientWidth(), h = ClientHeight();
  c.Pen().SetColor(clGrayText);
  if (!FShowTabs) {
    c.Brush().SetColor(clGrayText);
    c.FrameRect(Rect(0, 0, w, h));
    return;
  }
  if (FTabPosition == pxtabs::tpTop) {
    const Integer b = FTopIndent + FTabHeight;
    c.Polyline({{0, b}, {0, h - 1}, {w - 1, h - 1}, {w - 1, b}});
  } else {
    const Integer b = h - FTabHeight - FTopIndent - 1;
    c.Polyline({{0, b}, {0, 0}, {w - 1, 0}, {w - 1, b}});
  }
}

void DrawBandBackground(TCustomControl& control, TCanvas& canvas, const TRect& band, TBackgroundKind kind, TColor first,
                        TColor second, const std::function<void()>& custom) {
  switch (kind) {
    case bkSolid:
      canvas.Brush().SetColor(first);
      canvas.FillRect(band);
      break;
    case bkCustom:
      if (custom) custom();
      break;
    case bkHorzGradient: FillHorzGradient(canvas, band, first, second); break;
    case bkTransparent: {
      int saved = SaveDC(canvas.Handle());
      SetClipRect(canvas, band);
      DrawParentBackground(control, canvas);
      RestoreDC(canvas.Handle(), saved);
      canvas.Refresh();
      break;
    }
    case bkVertGradient: FillVertGradient(canvas, band, first, second); break;
    case bkInveseVertGradient: FillVertGradient(canvas, band, second, first); break;
  }
}

void TPxPageControl::DrawBackground() {
  TCanvas& c = Canvas();
  const TRect strip = Layout().StripArea();
  DrawBandBackground(*this, c, strip, FBackgroundKind, FBackgroundColor, Color(),
                     [&] { DoCustomDrawBackground(strip); });
  if (FOptions.Contains(pgTopBorder)) {
    const Integer y = FTabPosition == pxtabs::tpTop ? 0 : ClientHeight() - 1;
    Line(c, clGrayText, 0, y, ClientWidth(), y);
  }
}

void TPxPageControl::Paint() {
  TPxCustomNotebook::Paint();
  TCanvas& c = Canvas();
  const Integer w = ClientWidth(), h = ClientHeight();
  if (FPageList.empty()) {
    c.Brush().SetColor(Color());
    c.FillRect(Rect(0, 0, w, h));
    if (!FOptions.Contains(pgAlwaysShowTabsRect)) return;
  }
  const TTabStripLayout layout = Layout();
  TRect page = layout.PageArea(FShowTabs);
  if (!FActivePage || !FActivePage->PageVisible()) {
    c.Brush().SetColor(clBtnFace);
    c.FillRect(page);
  }
  if (FMargin > 0) {
    if (FOptions.Contains(pgPageBorder)) {
      page.Left += 1;
      page.Right -= 1;
      if (!FShowTabs) {
        page.Top += 1;
        page.Bottom -= 1;
      } else if (FTabPosition == pxtabs::tpTop) {
        page.Top += 1;
      } else {
        page.Bottom -= 1;
      }
    }
    c.Brush().SetColor(Color());
    for (Integer i = 0; i < FMargin && !page.IsEmpty(); ++i) {
      c.FrameRect(page);
      page.Inflate(-1, -1);
    }
  }
  if (FOptions.Contains(pgPageBorder)) DrawPageBorder();
  if (!FShowTabs) return;
  DrawBackground();
  if (!FActivePage) return;

  Int64 x = Int64{FIndent} - FScrollPos;
  const Integer y = FTabPosition == pxtabs::tpTop ? FTopIndent : h - FTabHeight - FTopIndent - 1;
  if (FOptions.Contains(pgPageBorder)) DrawPageBorder();
  c.Font().Assign(&Font());
  const Integer edge = layout.TabsEdge();
  const Integer overlap = layout.Overlap();
  TRect activeRect;
  bool activeShown = false;
  int shown = 0;
  for (int i = 0; i < PageCount(); ++i) {
    TPxTabSheet* sheet = FPageList[static_cast<size_t>(i)];
    if (!IsTabVisible(sheet)) continue;
    ++shown;
    const Integer tabWidth = GetTabWidth(sheet);
    if (FPartialTabs ? x > edge : x + tabWidth > edge) break;
    if (x + tabWidth >= 0) {
      const auto left = static_cast<Integer>(x);
      TRect r = Rect(left, y, left + tabWidth, y + FTabHeight);
      if (FPartialTabs) r.Right = std::min(r.Right, edge);
      if (sheet == FActivePage) {
        activeRect = r;
        activeShown = true;
      } else {
        DrawTab(r, sheet, false, shown == 1);
        ClearClip(c);
      }
    }
    x += tabWidth - overlap;
  }

  const Integer lineY = layout.PageLineY();
  ClearClip(c);
  const TColor frame = FrameColor();
  const TColor joined = FAdaptiveColors ? clWindow : FActivePage->TabColor();
  if (activeShown) {
    const TRect& a = activeRect;
    switch (FTabStyle) {
      case pxtabs::tsClassic:
        Line(c, clWhite, 0, lineY, a.Left + 1, lineY);
        Line(c, clBtnFace, a.Left + 1, lineY, a.Right, lineY);
        Line(c, clWhite, a.Right, lineY, w, lineY);
        break;
      case pxtabs::tsOneNote:
        Line(c, clHotLight, 0, lineY, a.Left, lineY);
        Line(c, FActivePage->Color(), a.Left, lineY, a.Right, lineY);
        Line(c, clHotLight, a.Right, lineY, w, lineY);
        break;
      case pxtabs::tsDexter:
        Line(c, clBtnShadow, 0, lineY, a.Left + 1, lineY);
        Line(c, joined, a.Left + 1, lineY, a.Right - 1, lineY);
        Line(c, clBtnShadow, a.Right - 2, lineY, w, lineY);
        break;
      case pxtabs::tsFlat:
      case pxtabs::tsWhidbey:
        Line(c, frame, 0, lineY, a.Left, lineY);
        Line(c, joined, a.Left, lineY, a.Right - 1, lineY);
        Line(c, frame, a.Right - 1, lineY, w, lineY);
        break;
    }
    DrawTab(activeRect, FActivePage, true, true);
  } else {
    TColor unbroken = FTabStyle == pxtabs::tsClassic   ? clWhite
                      : FTabStyle == pxtabs::tsOneNote ? clHotLight
                      : FTabStyle == pxtabs::tsDexter  ? clBtnShadow
                                               : frame;
    Line(c, unbroken, 0, lineY, w, lineY);
  }
  ClearClip(c);
  if (FOptions.Contains(pgCloseButton)) DrawPageButton(TPageButton::pbClose);
  if (FOptions.Contains(pgTabsPopup)) DrawPageButton(TPageButton::pbPopup);
  if (FOptions.Contains(pgScrollButtons)) {
    DrawPageButton(TPageButton::pbScrollLeft);
    DrawPageButton(TPageButton::pbScrollRight);
  }
}

void TPxPageControl::DrawTabShape(const TRect& r, bool active, bool first, TColor color) {
  TCanvas& c = Canvas();
  const Integer H = FTabHeight;
  const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  switch (FTabStyle) {
    case pxtabs::tsClassic:
      if (!active) return;
      c.Brush().SetColor(FAdaptiveColors ? clBtnFace : color);
      c.FillRect(r);
      c.Pen().SetColor(clWhite);
      c.Polyline(Oriented({{L, T}, {L, B}}, r));
      c.Pen().SetColor(clBlack);
      c.Polyline(Oriented({{R - 1, T}, {R - 1, B + 1}}, r));
      return;
    case pxtabs::tsFlat: {
      c.Pen().SetColor(FrameColor());
      TColor fill = FAdaptiveColors ? (active ? clWindow : BlendWeighted(clInactiveCaption, clWindow, 80)) : color;
      c.Brush().SetColor(fill);
      DrawPolygon(tabshapes::FlatOutline(r, H), r);
      c.Pen().SetColor(fill);
      DrawPolygon(tabshapes::FlatFill(r, H), r);
      return;
    }
    case pxtabs::tsOneNote: {
      const bool leading = first || active;
      c.Pen().SetColor(clHotLight);
      DrawPolyline(tabshapes::OneNoteOutline(r, H, leading), r);
      ClipToPolygon(tabshapes::OneNoteClip(r, H, leading), r);
      if (FPartialTabs && L + H + 2 > R) return;
      if (ResolveColor(color) != ResolveColor(clWindow)) {
        FillVertGradient(c, r, clWindow, color);
      } else {
        c.Brush().SetColor(color);
        c.FillRect(r);
      }
      c.Pen().SetColor(clWindow);
      DrawPolyline(tabshapes::OneNoteInnerLight(r, H), r);
      c.Pen().SetColor(active ? clWindow : 0xF1A6B1);
      DrawPolyline(tabshapes::OneNoteInnerEdge(r), r);
      return;
    }
    case pxtabs::tsWhidbey: {
      const bool leading = first || active;
      c.Pen().SetColor(active ? FrameColor() : clGrayText);
      const TColor brush = FAdaptiveColors ? (active ? color : cl3DLight) : color;
      c.Brush().SetColor(brush);
      DrawPolyline(tabshapes::WhidbeyOutline(r, H, leading), r);
      if (active) {
        c.Pen().SetColor(brush);
        DrawPolygon(tabshapes::WhidbeyActiveFill(r, H), r);
        return;
      }
      ClipToPolygon(tabshapes::WhidbeyInactiveClip(r, H, first), r);
      if (IsThemed()) {
        if (FAdaptiveColors)
          FillVertGradient(c, r, clWindow, clBtnFace);
        else
          FillVertGradient(c, r, color, Color());
        c.Pen().SetColor(clWindow);
        DrawPolyline(tabshapes::WhidbeyInnerLight(r, H), r);
        c.Pen().SetColor(clBtnFace);
        DrawPolyline(tabshapes::WhidbeyInnerEdge(r), r);
      } else {
        c.Brush().SetColor(FAdaptiveColors ? FBackgroundColor : color);
        c.FillRect(r);
      }
      return;
    }
    case pxtabs::tsDexter: {
      c.Pen().SetColor(clBtnShadow);
      c.Brush().SetColor(FAdaptiveColors ? (active ? clWindow : clBtnFace) : color);
      if (active) {
        DrawPolygon(tabshapes::DexterActive(r), r);
        return;
      }
      ClipToPolygon(tabshapes::DexterInactive(r), r);
      if (IsThemed()) {
        if (FAdaptiveColors)
          FillVertGradient(c, r, clWindow, clBtnFace);
        else
          FillVertGradient(c, r, color, Color());
      } else {
        c.Brush().SetColor(FAdaptiveColors ? FBackgroundColor : color);
        c.FillRect(r);
      }
      ClearClip(c);
      c.Pen().SetColor(clBtnShadow);
      DrawPolyline(tabshapes::DexterInactive(r), r);
      return;
    }
  }
}

void TPxPageControl::DrawTab(const TRect& rect, TPxTabSheet* page, bool active, bool first) {
  TCanvas& c = Canvas();
  SetClipRect(c, rect);
  const TColor color = active && FTabStyle == pxtabs::tsWhidbey ? page->ActiveTabColor() : page->TabColor();
  DrawTabShape(rect, active, first, color);

  c.Font().Assign(page->GetTabFont());
  TRect text = rect;
  switch (FTabStyle) {
    case pxtabs::tsClassic:
      text.Left += 6;
      if (!active) c.Font().SetColor(clGrayText);
      break;
    case pxtabs::tsFlat: break;
    case pxtabs::tsOneNote:
    case pxtabs::tsWhidbey: text.Left += FTabHeight - 6; break;
    case pxtabs::tsDexter: text.Left -= FTabHeight / 2; break;
  }
  Integer gw = 0, gh = 0;
  TBitmap* glyph = page->GetGlyph();
  const bool showGlyph = page->DisplayMode() == tdGlyph && !glyph->Empty();
  const bool showImage = page->DisplayMode() == tdImageIndex && FImages && page->ImageIndex() >= 0 &&
                         page->ImageIndex() < FImages->Count();
  if (showGlyph) {
    gw = glyph->Width();
    gh = glyph->Height();
  } else if (showImage) {
    gw = FImages->Width();
    gh = FImages->Height();
  }
  const Integer gy = rect.Top + FTabHeight / 2 - gh / 2 + 1;
  if (FTabAlignment == taLeftJustify) text.Left += 2;
  if (FTabAlignment == taRightJustify) text.Right -= 2;
  if (gw > 0) {
    Integer gx = 0;
    switch (FTabAlignment) {
      case taLeftJustify:
        gx = text.Left + 4;
        text.Left += gw + 6;
        break;
      case taRightJustify:
        gx = text.Right - gw - 2;
        text.Right -= gw + 4;
        break;
      case taCenter:
        gx = text.Left + 4;
        text.Left += gw;
        break;
    }
    if (!active) gx += 4;
    if (showGlyph)
      c.Draw(gx, gy, *glyph);
    else
      FImages->Draw(c, gx, gy, page->ImageIndex(), true);
  }
  if (active && FOptions.Contains(pgBoldActiveTab)) {
    TFontStyles style = c.Font().Style();
    style.Include(fsBold);
    c.Font().SetStyle(style);
  }
  DrawCaptionText(c, text, FTabAlignment, page->Caption(), false);
}

void TPxPageControl::DrawPageButton(TPageButton button) {
  TCanvas& c = Canvas();
  const TRect q = Layout().ButtonRect(button);
  if (button == FHoverButton) {
    switch (FTabStyle) {
      case pxtabs::tsClassic: {
        const bool down = button == FDownButton;
        Line(c, down ? clBlack : clBtnFace, q.Left, q.Bottom - 1, q.Left, q.Top);
        c.LineTo(q.Right - 1, q.Top);
        Line(c, down ? clBtnFace : clBlack, q.Right - 1, q.Top, q.Right - 1, q.Bottom - 1);
        c.LineTo(q.Left - 1, q.Bottom - 1);
        break;
      }
      case pxtabs::tsFlat:
      case pxtabs::tsOneNote:
      case pxtabs::tsWhidbey:
        c.Pen().SetColor(clHighlight);
        c.Brush().SetColor(BlendWeighted(clHighlight, clWindow, 80));
        c.Rectangle(q);
        break;
      case pxtabs::tsDexter:
        c.Pen().SetColor(clBtnShadow);
        c.Brush().SetColor(clWindow);
        c.RoundRect(q.Left, q.Top, q.Right - 1, q.Bottom - 1, 6, 6);
        break;
    }
  }
  c.Pen().SetColor(clBlack);
  c.Brush().SetColor(clBlack);
  const TTabStripLayout layout = Layout();
  switch (button) {
    case TPageButton::pbClose:
      c.Draw(q.Left + q.Width() / 2 - FCloseBtnBitmap->Width() / 2,
             q.Top + q.Height() / 2 - FCloseBtnBitmap->Height() / 2, *FCloseBtnBitmap);
      break;
    case TPageButton::pbPopup:
      c.Polygon({{q.Left + 4, q.Top + 7},
                 {q.Left + 11, q.Top + 7},
                 {q.Left + 8, q.Top + 10},
                 {q.Left + 7, q.Top + 10},
                 {q.Left + 4, q.Top + 7}});
      break;
    case TPageButton::pbScrollLeft: {
      std::vector<TPoint> arrow = {
          {q.Right - 7, q.Top + 3}, {q.Right - 11, q.Top + 7}, {q.Right - 7, q.Top + 11}, {q.Right - 7, q.Top + 3}};
      if (layout.AtLeftEnd())
        c.Polyline(arrow);
      else
        c.Polygon(arrow);
      break;
    }
    case TPageButton::pbScrollRight: {
      std::vector<TPoint> arrow = {
          {q.Left + 5, q.Top + 3}, {q.Left + 9, q.Top + 7}, {q.Left + 5, q.Top + 11}, {q.Left + 5, q.Top + 3}};
      if (layout.AtRightEnd())
        c.Polyline(arrow);
      else
        c.Polygon(arrow);
      break;
    }
    case TPageButton::pbNone: break;
  }
}
