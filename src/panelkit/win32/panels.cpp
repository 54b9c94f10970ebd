#include "panelkit/win32/panels.h"

#include <algorithm>
#include <cmath>

#include "classes/identmaps.h"
#include "panelkit/tabstrip.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxGlyphSettings, "PxStdCtrls")
KST_CLASS_IMPL(TPxActiveGlyphSettings, "PxStdCtrls")
KST_CLASS_IMPL(TPxAreaMargins, "PxClasses")
KST_CLASS_IMPL(TPxGlyph, "PxCollection")
KST_CLASS_IMPL(TPxImage, "PxCollection")
KST_CLASS_IMPL(TPxPanel, "PxCollection")

const TTypeInfo& DescribeType(TypeTag<TPxPanelBackgroundStyle>) {
  static const TEnumTypeInfo t(u"TPxPanelBackgroundStyle", u"PxCollection",
                               {u"pbControl", u"pbHorzGradient", u"pbSolid", u"pbTransparent", u"pbVertGradient"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPanelBorder>) {
  static const TEnumTypeInfo t(u"TPanelBorder", u"PxCollection", {u"boBottom", u"boLeft", u"boRight", u"boTop"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPanelBorders>) {
  static const TSetTypeInfo t(u"TPanelBorders", u"PxCollection",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TPanelBorder>{})));
  return t;
}

void MakeTransparentByCorner(TBitmap& bitmap) {
  if (bitmap.Empty() || bitmap.Height() <= 0 || bitmap.Width() <= 0) return;
  bitmap.SetTransparentColor(bitmap.Canvas().Pixels(0, bitmap.Height() - 1));
  bitmap.SetTransparent(true);
}

void DrawDottedFrame(TCanvas& canvas, const TRect& rect) {
  canvas.Pen().SetStyle(psDot);
  canvas.Pen().SetColor(clGrayText);
  canvas.Brush().SetStyle(bsClear);
  canvas.Rectangle(rect);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Pen().SetStyle(psSolid);
}

// ---------------------------------------------------------------------------
// Glyph settings

void TPxGlyphSettings::Describe(TClassBuilder<TPxGlyphSettings>& c) {
  c.Property(u"NormalGlyph", &TPxGlyphSettings::GetNormalGlyph, &TPxGlyphSettings::SetNormalGlyph);
  c.Property(u"Transparent", &TPxGlyphSettings::Transparent, &TPxGlyphSettings::SetTransparent).Default(0);
  c.Property(u"TransparentColor", &TPxGlyphSettings::TransparentColor, &TPxGlyphSettings::SetTransparentColor,
             &types::Color())
      .Default(clNone);
  c.Property(u"OnChange", &TPxGlyphSettings::OnChange);
}

TPxGlyphSettings::TPxGlyphSettings() : FNormalGlyph(std::make_unique<TBitmap>()) {
  FNormalGlyph->OnChange = TNotifyEvent(this, &TPxGlyphSettings::GlyphChanged);
}

TPxGlyphSettings::~TPxGlyphSettings() = default;

void TPxGlyphSettings::Change() {
  if (OnChange) OnChange(this);
}

void TPxGlyphSettings::SetTransparent(bool value) {
  FTransparent = value;
  FNormalGlyph->SetTransparent(value);
}

void TPxGlyphSettings::SetTransparentColor(TColor value) {
  FTransparentColor = value;
  FNormalGlyph->SetTransparentColor(value);
}

void TPxGlyphSettings::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TPxGlyphSettings*>(source)) {
    FNormalGlyph->Assign(other->FNormalGlyph.get());
    SetTransparent(other->FTransparent);
    SetTransparentColor(other->FTransparentColor);
    return;
  }
  TPersistent::Assign(source);
}

void TPxActiveGlyphSettings::Describe(TClassBuilder<TPxActiveGlyphSettings>& c) {
  c.Property(u"HoverGlyph", &TPxActiveGlyphSettings::GetHoverGlyph, &TPxActiveGlyphSettings::SetHoverGlyph);
}

TPxActiveGlyphSettings::TPxActiveGlyphSettings() : FHoverGlyph(std::make_unique<TBitmap>()) {
  FHoverGlyph->OnChange = TNotifyEvent(static_cast<TPxGlyphSettings*>(this), &TPxActiveGlyphSettings::GlyphChanged);
}

TPxActiveGlyphSettings::~TPxActiveGlyphSettings() = default;

void TPxActiveGlyphSettings::SetTransparent(bool value) {
  TPxGlyphSettings::SetTransparent(value);
  FHoverGlyph->SetTransparent(value);
}

void TPxActiveGlyphSettings::SetTransparentColor(TColor value) {
  TPxGlyphSettings::SetTransparentColor(value);
  FHoverGlyph->SetTransparentColor(value);
}

// ---------------------------------------------------------------------------
// Margins

void TPxAreaMargins::Describe(TClassBuilder<TPxAreaMargins>& c) {
  c.Property(u"Left", &TPxAreaMargins::Left, &TPxAreaMargins::SetLeft).Default(0);
  c.Property(u"Top", &TPxAreaMargins::Top, &TPxAreaMargins::SetTop).Default(0);
  c.Property(u"Right", &TPxAreaMargins::Right, &TPxAreaMargins::SetRight).Default(0);
  c.Property(u"Bottom", &TPxAreaMargins::Bottom, &TPxAreaMargins::SetBottom).Default(0);
}

void TPxAreaMargins::Store(Integer& field, Integer value) {
  value = std::clamp(value, 0, 10000);
  if (field == value) return;
  field = value;
  if (OnChange) OnChange(this);
}

void TPxAreaMargins::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TPxAreaMargins*>(source)) {
    FLeft = other->FLeft;
    FTop = other->FTop;
    FRight = other->FRight;
    FBottom = other->FBottom;
    if (OnChange) OnChange(this);
    return;
  }
  TPersistent::Assign(source);
}

// ---------------------------------------------------------------------------
// Glyph

void TPxGlyph::Describe(TClassBuilder<TPxGlyph>& c) {
  publish::Action(c);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"AutoSize", &TPxGlyph::AutoSize, &TPxGlyph::SetAutoSize).Default(1);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"Glyph", &TPxGlyph::GetGlyph, &TPxGlyph::SetGlyph);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  c.Property(u"Transparent", &TPxGlyph::Transparent, &TPxGlyph::SetTransparent).Default(0);
  publish::Visible(c);
  publish::MouseEvents(c);
}

TPxGlyph::TPxGlyph(TComponent* owner) : TGraphicControl(owner), FGlyph(std::make_unique<TBitmap>()) {
  FControlStyle.Include(csOpaque);
  SetBounds(Left(), Top(), 100, 100);
  FGlyph->OnChange = TNotifyEvent([this](TObject*) { Invalidate(); });
}

TPxGlyph::~TPxGlyph() = default;

void TPxGlyph::FitToGlyph() {
  if (FAutoSize && !FGlyph->Empty()) SetBounds(Left(), Top(), FGlyph->Width(), FGlyph->Height());
}

void TPxGlyph::SetAutoSize(bool value) {
  FAutoSize = value;
  FitToGlyph();
}

void TPxGlyph::SetGlyph(const TBitmap* value) {
  FGlyph->Assign(value);
  FitToGlyph();
}

void TPxGlyph::SetTransparent(bool value) {
  if (value == FTransparent) return;
  if (value)
    FControlStyle.Exclude(csOpaque);
  else
    FControlStyle.Include(csOpaque);
  Invalidate();
  FTransparent = value;
}

void TPxGlyph::Paint() {
  TCanvas& c = Canvas();
  if (FGlyph->Empty()) {
    if (ComponentState().Contains(csDesigning)) {
      c.Brush().SetColor(Color());
      c.FillRect(ClientRect());
      DrawDottedFrame(c, ClientRect());
    }
    return;
  }
  if (FGlyph->PixelFormat() == pf32bit) {
    if (FTransparent)
      DrawAlphaBitmap(c, 0, 0, *FGlyph);
    else
      DrawBitmapOverColor(c, 0, 0, *FGlyph, Color());
  } else {
    c.Draw(0, 0, *FGlyph);
  }
}

// ---------------------------------------------------------------------------
// Image

void TPxImage::Describe(TClassBuilder<TPxImage>& c) {
  publish::Align(c);
  publish::Anchors(c);
  publish::Caption(c);
  c.Property(u"Center", &TPxImage::Center, &TPxImage::SetCenter).Default(0);
  publish::Color(c);
  publish::Constraints(c);
  c.Property(u"DrawBackground", &TPxImage::DrawBackground, &TPxImage::SetDrawBackground).Default(0);
  c.Property(u"DrawFrame", &TPxImage::DrawFrame, &TPxImage::SetDrawFrame).Default(1);
  publish::Enabled(c);
  c.Property(u"FocusImage", &TPxImage::FocusImage, &TPxImage::SetFocusImage).Default(1);
  publish::Font(c);
  c.Property(u"FrameSize", &TPxImage::FrameSize, &TPxImage::SetFrameSize).Default(2);
  c.Property(u"Margin", &TPxImage::Margin, &TPxImage::SetMargin).Default(4);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  c.Property(u"Picture", &TPxImage::GetPicture, &TPxImage::SetPicture);
  publish::PopupMenu(c);
  c.Property(u"ShowFocus", &TPxImage::ShowFocus, &TPxImage::SetShowFocus).Default(0);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
}

TPxImage::TPxImage(TComponent* owner) : TCustomControl(owner), FPicture(std::make_unique<TPicture>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(Left(), Top(), 100, 100);
  FPicture->OnChange = TNotifyEvent(this, &TPxImage::PictureChanged);
}

TPxImage::~TPxImage() = default;

void TPxImage::SetPicture(const TPicture* value) {
  FPicture->Assign(value);
  Invalidate();
}

void TPxImage::PictureChanged(TObject*) {
  if (HasPicture()) Invalidate();
}

void TPxImage::StoreAndRepaint(bool& field, bool value) {
  field = value;
  Invalidate();
}

void TPxImage::SetFrameSize(Integer value) {
  FFrameSize = std::clamp(value, 0, 1000);
  Invalidate();
}

void TPxImage::SetMargin(Integer value) {
  FMargin = std::clamp(value, 0, 10000);
  Invalidate();
}

bool TPxImage::HasPicture() const {
  const TGraphic* g = FPicture->Graphic();
  return g && !g->Empty() && g->Width() > 0 && g->Height() > 0;
}

TRect TPxImage::PictureRect() const {
  TRect inner = ClientRect();
  inner.Inflate(-(FMargin + 1), -(FMargin + 1));
  if (!HasPicture()) return inner;
  const TGraphic& g = *FPicture->Graphic();
  if (FCenter) {
    const Integer left = inner.Left + inner.Width() / 2 - g.Width() / 2;
    const Integer top = inner.Top + inner.Height() / 2 - g.Height() / 2;
    TRect r = Rect(left, top, left + g.Width(), top + g.Height());
    r.Inflate(FFrameSize, FFrameSize);
    return r;
  }
  const double sx = static_cast<double>(inner.Width()) / g.Width();
  const double sy = static_cast<double>(inner.Height()) / g.Height();
  const double s = std::min(sx, sy);
  const auto w = static_cast<Integer>(std::nearbyint(s * g.Width()));
  const auto h = static_cast<Integer>(std::nearbyint(s * g.Height()));
  if (sx >= sy) {
    const Integer left = inner.Left + inner.Width() / 2 - w / 2;
    return Rect(left, inner.Top, left + w, inner.Top + h);
  }
  const Integer top = inner.Top + inner.Height() / 2 - h / 2;
  return Rect(inner.Left, top, inner.Left + w, top + h);
}

void TPxImage::DrawSunkenBackground(TCanvas& c, const TRect& r) {
  if (IsThemed()) {
    DrawThemeElement(Handle(), c.Handle(), r, u"listview", 1, 1);
    return;
  }
  c.Pen().SetColor(clBtnShadow);
  c.Polyline({{r.Left, r.Bottom - 1}, {r.Left, r.Top}, {r.Right - 1, r.Top}});
  c.Pen().SetColor(clBtnHighlight);
  c.Polyline({{r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left - 1, r.Bottom - 1}});
  c.Brush().SetColor(Color());
  c.FillRect(Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
}

void TPxImage::Paint() {
  TCanvas& c = Canvas();
  const TRect client = ClientRect();
  if (!HasPicture()) {
    DrawSunkenBackground(c, client);
    c.Font().Assign(&Font());
    c.Brush().SetStyle(bsClear);
    DrawCaptionText(c, client, taCenter, Caption(), true);
    c.Brush().SetStyle(bsSolid);
    return;
  }
  const TRect picture = PictureRect();
  if (!FDrawBackground) ExcludeClipRect(c.Handle(), picture.Left, picture.Top, picture.Right, picture.Bottom);
  DrawSunkenBackground(c, client);
  SetClipRect(c, client);
  TRect r = picture;
  if (FDrawFrame) {
    c.Brush().SetColor(Focused() ? clHighlight : clBtnFace);
    for (Integer i = 0; i < FFrameSize && r.Width() > 0 && r.Height() > 0; ++i) {
      c.FrameRect(r);
      r.Inflate(-1, -1);
    }
  }
  // A picture that cannot be decoded shows nothing instead of failing the paint.
  try {
    c.StretchDraw(r, *FPicture->Graphic());
  } catch (const Exception&) {
  }
  if (Focused() && FShowFocus) c.DrawFocusRect(picture);
}

void TPxImage::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (FFocusImage && !Focused() && CanFocus()) {
    SetFocus();
    if (HasPicture()) Invalidate();
  }
}

void TPxImage::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(m);
      if (HasPicture()) Invalidate();
      return;
    case CM_TEXTCHANGED:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

// ---------------------------------------------------------------------------
// Panel

void TPxPanel::Describe(TClassBuilder<TPxPanel>& c) {
  c.Property(u"AdaptiveColors", &TPxPanel::AdaptiveColors, &TPxPanel::SetAdaptiveColors).Default(1);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"BackgroundStyle", &TPxPanel::BackgroundStyle, &TPxPanel::SetBackgroundStyle).Default(pbSolid);
  c.Property(u"BorderPen", &TPxPanel::GetBorderPen, &TPxPanel::SetBorderPen);
  publish::Caption(c);
  publish::Color(c);
  c.Property(u"ColorScheme", &TPxPanel::ColorScheme, &TPxPanel::SetColorScheme).Default(csDefault);
  publish::Constraints(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"FullRepaint", &TPxPanel::FullRepaint, &TPxPanel::SetFullRepaint).Default(0);
  c.Property(u"InnerMargins", &TPxPanel::GetInnerMargins, &TPxPanel::SetInnerMargins);
  c.Property(u"PanelBorders", &TPxPanel::PanelBorders, &TPxPanel::SetPanelBorders)
      .Default(static_cast<Integer>(TPanelBorders{boBottom, boLeft, boRight, boTop}.Bits()));
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::ResizeEvents(c);
}

TPxPanel::TPxPanel(TComponent* owner)
    : TCustomControl(owner), FBorderPen(std::make_unique<TPen>()), FInnerMargins(std::make_unique<TPxAreaMargins>()) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable};
  SetBounds(Left(), Top(), 185, 41);
  FBorderPen->OnChange = TNotifyEvent([this](TObject*) { Invalidate(); });
  FInnerMargins->OnChange = TNotifyEvent(this, &TPxPanel::MarginsChanged);
  AddToRepaintList(this);
}

TPxPanel::~TPxPanel() {
  FBorderPen.reset();
  FInnerMargins.reset();
  RemoveFromRepaintList(this);
}

void TPxPanel::MarginsChanged(TObject*) {
  Invalidate();
  Realign();
}

void TPxPanel::SetAdaptiveColors(bool value) {
  FAdaptiveColors = value;
  Invalidate();
}

void TPxPanel::SetBackgroundStyle(TPxPanelBackgroundStyle value) {
  FBackgroundStyle = value;
  Invalidate();
}

void TPxPanel::SetColorScheme(TColorScheme value) {
  FColorScheme = value;
  Invalidate();
}

void TPxPanel::SetPanelBorders(TPanelBorders value) {
  FPanelBorders = value;
  Invalidate();
}

void TPxPanel::AdjustClientRect(TRect& rect) const {
  TCustomControl::AdjustClientRect(rect);
  if (!FInnerMargins) return;
  rect.Left += FInnerMargins->Left();
  rect.Top += FInnerMargins->Top();
  rect.Right -= FInnerMargins->Right();
  rect.Bottom -= FInnerMargins->Bottom();
}

void TPxPanel::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (FBackgroundStyle == pbTransparent) params.ExStyle |= WS_EX_TRANSPARENT;
}

TRect TPxPanel::FillRect() const {
  TRect f = ClientRect();
  if (FBorderPen->Style() != psSolid) return f;
  const Integer p = FBorderPen->Width();
  if (FPanelBorders.Contains(boLeft)) f.Left += p;
  if (FPanelBorders.Contains(boTop)) f.Top += p;
  if (FPanelBorders.Contains(boRight)) f.Right -= p;
  if (FPanelBorders.Contains(boBottom)) f.Bottom -= p;
  return f;
}

void TPxPanel::Paint() {
  TCanvas& c = Canvas();
  c.Pen().SetStyle(psSolid);
  const TRect f = FillRect();
  const TColor background = FAdaptiveColors ? SchemeColor(3, FColorScheme) : Color();
  c.Brush().SetColor(background);
  switch (FBackgroundStyle) {
    case pbControl:
      if (IsThemed())
        DrawThemeElement(Handle(), c.Handle(), f, u"edit", 1, 0);
      else
        c.FillRect(f);
      break;
    case pbHorzGradient: FillHorzGradient(c, f, clWindow, background); break;
    case pbSolid: c.FillRect(f); break;
    case pbTransparent: DrawParentBackground(*this, c); break;
    case pbVertGradient: FillVertGradient(c, f, clWindow, background); break;
  }
  c.Font().Assign(&Font());
  c.Brush().SetStyle(bsClear);
  DrawCaptionText(c, f, taCenter, Caption(), true);
  c.Brush().SetStyle(bsSolid);
  c.Pen().Assign(FBorderPen.get());
  const Integer p = FBorderPen->Width();
  const Integer w = ClientWidth(), h = ClientHeight();
  if (FPanelBorders.Contains(boLeft)) c.Polyline({{p / 2, 0}, {p / 2, h}});
  if (FPanelBorders.Contains(boTop)) c.Polyline({{0, p / 2}, {w, p / 2}});
  const Integer q = (p + 1) / 2;
  if (FPanelBorders.Contains(boBottom)) c.Polyline({{0, h - q}, {w, h - q}});
  if (FPanelBorders.Contains(boRight)) c.Polyline({{w - q, 0}, {w - q, h - 1}});
  c.Pen().SetWidth(1);
}

void TPxPanel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = FFullRepaint ? 0 : 1; return;
    case CM_TEXTCHANGED:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    case WM_WINDOWPOSCHANGED:
      TCustomControl::Dispatch(m);
      if (FBackgroundStyle == pbTransparent) Invalidate();
      return;
    default: break;
  }
  TCustomControl::Dispatch(m);
}
