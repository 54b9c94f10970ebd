// The plain notebook with its design bar, and the glyph page control.
#include "panelkit/win32/pagecontrol.h"

#include "classes/identmaps.h"
#include "panelkit/win32/shareddraw.h"
#include "ui/publish.h"
#include "ui/stdctrls.h"

KST_CLASS_IMPL(TPxNotebook, "PxPageControl")
KST_CLASS_IMPL(TPxTabGlyph, "PxPageControl")
KST_CLASS_IMPL(TPxGlyphPageControl, "PxPageControl")

// ---------------------------------------------------------------------------
// Notebook

void TPxNotebook::Describe(TClassBuilder<TPxNotebook>& c) {
  c.Property(u"DesignButtons", &TPxNotebook::DesignButtons, &TPxNotebook::SetDesignButtons);
}

TPxNotebook::TPxNotebook(TComponent* owner) : TPxCustomNotebook(owner) {}

void TPxNotebook::SetDesignButtons(bool value) {
  FDesignButtons = value;
  if (!Designing()) Invalidate();
}

void TPxNotebook::AdjustClientRect(TRect& rect) const {
  TPxCustomNotebook::AdjustClientRect(rect);
  if (BarShown()) rect.Bottom -= designbar::kHeight;
}

std::vector<Integer> TPxNotebook::DesignTabWidths() const {
  // Measured apart from the window, which need not exist yet.
  TBitmap measure(1, 1, pf24bit);
  TCanvas& canvas = measure.Canvas();
  canvas.Font().Assign(&Font());
  std::vector<Integer> widths;
  widths.reserve(FPageList.size());
  for (TPxTabSheet* page : FPageList) widths.push_back(canvas.TextWidth(page->Name()) + 8);
  return widths;
}

Integer TPxNotebook::GetDesignTabAtPos(Integer x, Integer y) const {
  return designbar::TabAtPos(DesignTabWidths(), FScrollPos, ClientWidth(), ClientHeight(), Point(x, y));
}

Integer TPxNotebook::GetMaxScrollPos() const {
  return designbar::MaxScrollPos(DesignTabWidths(), FScrollPos, ClientWidth(), ClientHeight());
}

void TPxNotebook::ScrollTabs(Integer delta) {
  const Integer max = GetMaxScrollPos();
  FScrollPos = std::clamp(FScrollPos + delta, 0, std::max<Integer>(max, 0));
}

void TPxNotebook::Paint() {
  TPxCustomNotebook::Paint();
  if (!BarShown()) return;
  TCanvas& c = Canvas();
  const Integer w = ClientWidth(), h = ClientHeight();
  c.Brush().SetColor(clWindow);
  c.FillRect(designbar::BarRect(w, h));
  DrawDesignTabs();
  c.Pen().SetStyle(psDot);
  c.Pen().SetColor(clGrayText);
  c.Brush().SetColor(clBtnFace);
  c.Brush().SetStyle(bsClear);
  c.Rectangle(0, 0, w, h - designbar::kHeight);
  c.Brush().SetStyle(bsSolid);
  c.Pen().SetStyle(psSolid);
}

void TPxNotebook::DrawArrowButton(const TRect& r, bool enabled, bool back) {
  TCanvas& c = Canvas();
  const TColor frame = enabled ? TColor{0xBBBBBB} : clBtnFace;
  const TColor arrow = enabled ? clWindowText : clBtnFace;
  c.Brush().SetColor(frame);
  c.FrameRect(r);
  c.Pen().SetColor(arrow);
  c.Brush().SetColor(arrow);
  const Integer middle = r.Top + (r.Bottom - r.Top) / 2;
  if (back)
    c.Polygon({{r.Right - 7, r.Top + 6}, {r.Left + 5, middle}, {r.Right - 7, r.Bottom - 7}});
  else
    c.Polygon({{r.Left + 6, r.Top + 6}, {r.Right - 6, middle}, {r.Left + 6, r.Bottom - 7}});
}

void TPxNotebook::DrawDesignTabs() {
  TCanvas& c = Canvas();
  const Integer w = ClientWidth(), h = ClientHeight();
  DrawArrowButton(designbar::BackButton(w, h), FScrollPos != 0, true);
  const std::vector<Integer> widths = DesignTabWidths();
  const std::vector<TRect> rects = designbar::TabRects(widths, FScrollPos, w, h);
  for (size_t k = 0; k < rects.size(); ++k) {
    TPxTabSheet* page = Pages(FScrollPos + static_cast<Integer>(k));
    if (!page) break;
    const TRect& r = rects[k];
    c.Font().SetColor(page->PageVisible() ? clWindowText : clGrayText);
    if (page == FActivePage) {
      c.Brush().SetColor(clHighlight);
      c.FrameRect(r);
      TRect inner = r;
      inner.Inflate(-1, -1);
      c.FrameRect(inner);
    } else {
      c.Brush().SetColor(page->PageVisible() ? TColor{0xBBBBBB} : clBtnFace);
      c.FrameRect(r);
    }
    TRect text = r;
    text.Inflate(-1, -1);
    DrawCaptionText(c, text, taCenter, page->Name(), true);
  }
  DrawArrowButton(designbar::ForwardButton(w, h), designbar::MaxScrollPos(widths, FScrollPos, w, h) > FScrollPos,
                  false);
}

void TPxNotebook::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxCustomNotebook::MouseDown(button, shift, x, y);
  if (!BarShown()) return;
  const Integer w = ClientWidth(), h = ClientHeight();
  if (designbar::BackButton(w, h).Contains(Point(x, y))) {
    ScrollTabs(-1);
  } else if (designbar::ForwardButton(w, h).Contains(Point(x, y))) {
    ScrollTabs(1);
  } else {
    Integer index = GetDesignTabAtPos(x, y);
    if (index >= 0 && index < PageCount()) SetActivePageIndex(index);
  }
  Invalidate();
}

// ---------------------------------------------------------------------------
// Tab glyphs

void TPxTabGlyph::Describe(TClassBuilder<TPxTabGlyph>& c) {
  c.Property(u"LeftGlyph", &TPxTabGlyph::GetLeftGlyph, &TPxTabGlyph::SetLeftGlyph);
  c.Property(u"RightGlyph", &TPxTabGlyph::GetRightGlyph, &TPxTabGlyph::SetRightGlyph);
}

TPxTabGlyph::TPxTabGlyph() : FLeftGlyph(std::make_unique<TBitmap>()), FRightGlyph(std::make_unique<TBitmap>()) {}

void TPxTabGlyph::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TPxTabGlyph*>(source)) {
    FLeftGlyph->Assign(other->FLeftGlyph.get());
    FRightGlyph->Assign(other->FRightGlyph.get());
    return;
  }
  TPersistent::Assign(source);
}

// ---------------------------------------------------------------------------
// Glyph page control

void TPxGlyphPageControl::Describe(TClassBuilder<TPxGlyphPageControl>& c) {
  c.Property(u"Alignment", &TPxGlyphPageControl::Alignment, &TPxGlyphPageControl::SetAlignment).Default(taCenter);
  c.Property(u"BackgroundColorFrom", &TPxGlyphPageControl::BackgroundColorFrom,
             &TPxGlyphPageControl::SetBackgroundColorFrom, &types::Color())
      .Default(0x808080);
  c.Property(u"BackgroundColorTo", &TPxGlyphPageControl::BackgroundColorTo, &TPxGlyphPageControl::SetBackgroundColorTo,
             &types::Color())
      .Default(0x808080);
  c.Property(u"BackgroundKind", &TPxGlyphPageControl::BackgroundKind, &TPxGlyphPageControl::SetBackgroundKind)
      .Default(bkSolid);
  c.Property(u"FontActive", &TPxGlyphPageControl::GetFontActive, &TPxGlyphPageControl::SetFontActive);
  c.Property(u"FontNormal", &TPxGlyphPageControl::GetFontNormal, &TPxGlyphPageControl::SetFontNormal);
  c.Property(u"GlyphActive", &TPxGlyphPageControl::GetGlyphActive, &TPxGlyphPageControl::SetGlyphActive);
  c.Property(u"GlyphNormal", &TPxGlyphPageControl::GetGlyphNormal, &TPxGlyphPageControl::SetGlyphNormal);
  c.Property(u"TabHeight", &TPxGlyphPageControl::TabHeight, &TPxGlyphPageControl::SetTabHeight).Default(21);
  c.Property(u"TabPadding", &TPxGlyphPageControl::TabPadding, &TPxGlyphPageControl::SetTabPadding).Default(16);
  c.Property(u"TabSpacing", &TPxGlyphPageControl::TabSpacing, &TPxGlyphPageControl::SetTabSpacing).Default(2);
  c.Property(u"TopIndent", &TPxGlyphPageControl::TopIndent, &TPxGlyphPageControl::SetTopIndent).Default(10);
}

TPxGlyphPageControl::TPxGlyphPageControl(TComponent* owner)
    : TPxCustomNotebook(owner),
      FGlyphNormal(std::make_unique<TPxTabGlyph>()),
      FGlyphActive(std::make_unique<TPxTabGlyph>()),
      FFontActive(std::make_unique<TFont>()),
      FFontNormal(std::make_unique<TFont>()),
      FMeasure(std::make_unique<TBitmap>()) {
  FMeasure->SetSize(1, 1);
}

TPxGlyphPageControl::~TPxGlyphPageControl() = default;

void TPxGlyphPageControl::SetAlignment(TAlignment value) {
  FAlignment = value;
  Invalidate();
}

void TPxGlyphPageControl::SetBackgroundColorFrom(TColor value) {
  FBackgroundColorFrom = value;
  Invalidate();
}

void TPxGlyphPageControl::SetBackgroundColorTo(TColor value) {
  FBackgroundColorTo = value;
  Invalidate();
}

void TPxGlyphPageControl::SetGlyphNormal(const TPxTabGlyph* value) {
  FGlyphNormal->Assign(value);
  Invalidate();
}

void TPxGlyphPageControl::SetTabPadding(Integer value) {
  FTabPadding = ClampExtent(value);
  Invalidate();
}

void TPxGlyphPageControl::SetTabSpacing(Integer value) {
  FTabSpacing = ClampExtent(value);
  Invalidate();
}

Integer TPxGlyphPageControl::GetTabWidth(Integer index) const {
  TPxTabSheet* page = Pages(index);
  if (!page) return 0;
  TCanvas& canvas = FMeasure->Canvas();
  canvas.Font().Assign(&Font());
  if (index == ActivePageIndex()) {
    // The active font without its style, so that a bold active tab keeps its width.
    canvas.Font().Assign(FFontActive.get());
    canvas.Font().SetStyle(TFontStyles{});
  }
  return ClampExtent(canvas.TextWidth(page->Caption()) + 2 * Int64{FTabPadding});
}

TGlyphTabRow TPxGlyphPageControl::Row() const {
  std::vector<Integer> widths;
  std::vector<bool> shown;
  for (Integer i = 0; i < PageCount(); ++i) {
    widths.push_back(GetTabWidth(i));
    shown.push_back(Pages(i)->TabVisible());
  }
  return TGlyphTabRow(std::move(widths), std::move(shown), FTabSpacing, FAlignment, ClientWidth(), FTopIndent,
                      FTabHeight);
}

TPxTabSheet* TPxGlyphPageControl::GetTabAtPos(Integer x, Integer) const {
  return Pages(Row().TabAtPos(x));
}

void TPxGlyphPageControl::RefreshPage(Integer index) {
  if (index < 0 || index >= PageCount()) return;
  InvalidateWithoutErase(*this, GetTabRect(index));
}

void TPxGlyphPageControl::AdjustClientRect(TRect& rect) const {
  TPxCustomNotebook::AdjustClientRect(rect);
  rect.Top += FTopIndent + FTabHeight;
}

void TPxGlyphPageControl::DrawBackground() {
  DrawBandBackground(*this, Canvas(), Rect(0, 0, ClientWidth(), FTopIndent + FTabHeight), FBackgroundKind,
                     FBackgroundColorFrom, FBackgroundColorTo);
}

void TPxGlyphPageControl::DrawTab(Integer index) {
  TPxTabSheet* page = Pages(index);
  if (!page) return;
  TCanvas& c = Canvas();
  const TRect r = GetTabRect(index);
  const bool active = page == FActivePage;
  TPxTabGlyph& glyphs = active ? *FGlyphActive : *FGlyphNormal;
  c.Font().Assign(active ? FFontActive.get() : FFontNormal.get());
  const Integer rightWidth = glyphs.GetRightGlyph()->Width();
  DrawBitmapClipped(c, Rect(r.Left, r.Top, r.Right - rightWidth, r.Bottom), *glyphs.GetLeftGlyph());
  DrawBitmapClipped(c, Rect(r.Right - rightWidth, r.Top, r.Right, r.Bottom), *glyphs.GetRightGlyph());
  DrawCaptionText(c, r, taCenter, page->Caption(), false);
}

void TPxGlyphPageControl::Paint() {
  TPxCustomNotebook::Paint();
  DrawBackground();
  for (Integer i = 0; i < PageCount(); ++i)
    if (Pages(i)->TabVisible()) DrawTab(i);
}

void TPxGlyphPageControl::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxCustomNotebook::MouseUp(button, shift, x, y);
  TPxTabSheet* page = GetTabAtPos(x, y);
  if (page && page != FActivePage) SetActivePage(page);
}
