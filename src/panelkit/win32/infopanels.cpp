#include "panelkit/win32/infopanels.h"
#include "panelkit/win32/lifeguard.h"

#include "panelkit/win32/htmldraw.h"
#include "panelkit/win32/optionbutton.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/menus.h"
#include "ui/publish.h"
#include "ui/stdctrls.h"

KST_CLASS_IMPL(TPxGroupHeader, "PxCollection")
KST_CLASS_IMPL(TPxInfoPanel, "PxCollection")

namespace {

constexpr TColor kGroupLineColor = 0xC5C5C5;
// Scheme roles of the fills.
constexpr Byte kGroupFillRole = 8;
constexpr Byte kGradientRole = 4;
constexpr Byte kHotFillRole = 20;
constexpr Byte kDownFillRole = 21;
constexpr Integer kGroupCaptionInset = 5;

// The glyph's own transparent colour when one is set; none otherwise.
void ApplyGlyphTransparency(TBitmap& glyph, TColor transparentColor) {
  if (glyph.Empty()) return;
  const TNotifyEvent watcher = glyph.OnChange;
  glyph.OnChange = {};
  glyph.SetTransparentColor(transparentColor);
  glyph.SetTransparent(transparentColor != clNone);
  glyph.OnChange = watcher;
}

// The rectangle filled by style, the first colour given, the second the control's.
void FillByStyle(TCanvas& canvas, const TRect& rect, TFillPaintStyle style, TColor first, TColor second,
                 Integer glowHeight) {
  switch (style) {
    case fsSolid:
      canvas.Brush().SetColor(first);
      canvas.FillRect(rect);
      break;
    case fsHorzGradient: FillHorzGradient(canvas, rect, first, second); break;
    case fsVertGradient: FillVertGradient(canvas, rect, first, second); break;
    case fsGlass: DrawGlass(canvas, rect, first, second, glowHeight); break;
  }
}

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TFillPaintStyle>) {
  static const TEnumTypeInfo t(u"TFillPaintStyle", u"PxClasses",
                               {u"fsSolid", u"fsHorzGradient", u"fsVertGradient", u"fsGlass"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TInfoPanelOption>) {
  static const TEnumTypeInfo t(u"TInfoPanelOption", u"PxCollection", {u"ipBorder", u"ipStaticPanel", u"ipHtmlText"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TInfoPanelOptions>) {
  static const TSetTypeInfo t(u"TInfoPanelOptions", u"PxCollection",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TInfoPanelOption>{})));
  return t;
}

// ---------------------------------------------------------------------------
// Group header

void TPxGroupHeader::Describe(TClassBuilder<TPxGroupHeader>& c) {
  using P = TPxGroupHeader;
  publish::Align(c);
  c.Property(u"Alignment", &P::Alignment, &P::SetAlignment).Default(taLeftJustify);
  publish::Anchors(c);
  publish::Caption(c);
  publish::Color(c);
  c.Property(u"ColorScheme", &P::ColorScheme, &P::SetColorScheme).Default(csBlue);
  publish::Constraints(c);
  publish::Enabled(c);
  c.Property(u"FillStyle", &P::FillStyle, &P::SetFillStyle).Default(fsSolid);
  publish::Font(c);
  c.Property(u"Glyph", &P::GetGlyph, &P::SetGlyph);
  c.Property(u"GlyphVisible", &P::GlyphVisible, &P::SetGlyphVisible).Default(1);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(1);
  publish::PopupMenu(c);
  c.Property(u"TransparentColor", &P::TransparentColor, &P::SetTransparentColor, &types::Color()).Default(clNone);
  publish::Visible(c);
  publish::MouseEvents(c);
}

TPxGroupHeader::TPxGroupHeader(TComponent* owner) : TGraphicControl(owner), FGlyph(std::make_unique<TBitmap>()) {
  FControlStyle.Exclude(csOpaque);
  FGlyph->OnChange = TNotifyEvent(this, &TPxGroupHeader::GlyphChanged);
  SetBounds(Left(), Top(), 200, 22);
}

TPxGroupHeader::~TPxGroupHeader() {
  FGlyph->OnChange = {};
}

void TPxGroupHeader::SetAlignment(TAlignment value) {
  FAlignment = value;
  Invalidate();
}

void TPxGroupHeader::SetColorScheme(TColorScheme value) {
  FColorScheme = value;
  Invalidate();
}

void TPxGroupHeader::SetFillStyle(TFillPaintStyle value) {
  FFillStyle = value;
  Invalidate();
}

void TPxGroupHeader::SetGlyph(const TBitmap* value) {
  FGlyph->Assign(value);
  GlyphChanged(nullptr);
}

void TPxGroupHeader::SetGlyphVisible(bool value) {
  FGlyphVisible = value;
  GlyphChanged(nullptr);
}

void TPxGroupHeader::SetTransparentColor(TColor value) {
  FTransparentColor = value;
  GlyphChanged(nullptr);
}

void TPxGroupHeader::GlyphChanged(TObject*) {
  ApplyGlyphTransparency(*FGlyph, FTransparentColor);
  Invalidate();
}

void TPxGroupHeader::CMTextChanged(TMessage& m) {
  TGraphicControl::CMTextChanged(m);
  Invalidate();
}

Integer TPxGroupHeader::CaptionLeft() const {
  Integer x = 2;
  if (!FGlyph->Empty() && FGlyphVisible) x += FGlyph->Width() + 2;
  return x;
}

void TPxGroupHeader::Paint() {
  TCanvas& canvas = Canvas();
  const Integer width = ClientWidth();
  const Integer height = ClientHeight();
  const TRect bar = Rect(0, 0, width, height - 1);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(SchemeColor(kGroupFillRole, FColorScheme));
  canvas.FillRect(bar);
  canvas.Pen().SetColor(kGroupLineColor);
  const TColor first =
      FFillStyle == fsSolid ? SchemeColor(kGroupFillRole, FColorScheme) : SchemeColor(kGradientRole, FColorScheme);
  FillByStyle(canvas, bar, FFillStyle, first, Color(), Height() / 2);
  if (!FGlyph->Empty() && FGlyphVisible) DrawAlphaBitmap(canvas, 2, height / 2 - FGlyph->Height() / 2, *FGlyph);
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetColor(kGroupLineColor);
  canvas.MoveTo(0, height - 1);
  canvas.LineTo(width, height - 1);
  TRect caption = Rect(kGroupCaptionInset, 0, width - kGroupCaptionInset, height);
  caption.Left = CaptionLeft();
  canvas.Font().Assign(&Font());
  canvas.Brush().SetStyle(bsClear);
  DrawCaptionText(canvas, caption, FAlignment, GetText(), true);
  canvas.Brush().SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------
// Info panel

void TPxInfoPanel::Describe(TClassBuilder<TPxInfoPanel>& c) {
  using P = TPxInfoPanel;
  publish::Align(c);
  c.Property(u"Alignment", &P::Alignment, &P::SetAlignment).Default(taLeftJustify);
  publish::Anchors(c);
  c.Property(u"BorderColor", &P::BorderColor, &P::SetBorderColor, &types::Color()).Default(0);
  c.Property(u"Caption", &P::Caption, &P::SetCaption);
  publish::Color(c);
  c.Property(u"ColorScheme", &P::ColorScheme, &P::SetColorScheme).Default(csDefault);
  publish::Constraints(c);
  publish::Enabled(c);
  c.Property(u"FillStyle", &P::FillStyle, &P::SetFillStyle).Default(fsSolid);
  publish::Font(c);
  c.Property(u"Glyph", &P::GetGlyph, &P::SetGlyph);
  c.Property(u"Indent", &P::Indent, &P::SetIndent).Default(4);
  c.Property(u"InnerMargins", &P::GetInnerMargins, &P::SetInnerMargins);
  c.Property(u"Options", &P::Options, &P::SetOptions).Default(0);
  c.Property(u"OuterMargins", &P::GetOuterMargins, &P::SetOuterMargins);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(1);
  publish::PopupMenu(c);
  c.Property(u"Spacing", &P::Spacing, &P::SetSpacing).Default(2);
  c.Property(u"Text", &P::Text, &P::SetText);
  c.Property(u"TransparentColor", &P::TransparentColor, &P::SetTransparentColor, &types::Color()).Default(clNone);
  c.Property(u"VerticalAlignment", &P::VerticalAlignment, &P::SetVerticalAlignment).Default(taAlignTop);
  publish::Visible(c);
  c.Property(u"WrapKind", &P::WrapKind, &P::SetWrapKind).Default(wkNone);
  publish::MouseEvents(c);
}

TPxInfoPanel::TPxInfoPanel(TComponent* owner)
    : TGraphicControl(owner),
      FGlyph(std::make_unique<TBitmap>()),
      FInnerMargins(std::make_unique<TPxMargins>()),
      FOuterMargins(std::make_unique<TPxMargins>()) {
  FGlyph->OnChange = TNotifyEvent(this, &TPxInfoPanel::GlyphChanged);
  FInnerMargins->OnChange = TNotifyEvent(this, &TPxInfoPanel::MarginsChanged);
  FOuterMargins->OnChange = TNotifyEvent(this, &TPxInfoPanel::MarginsChanged);
  FControlStyle.Exclude(csOpaque);
  AddToRepaintList(this);
}

TPxInfoPanel::~TPxInfoPanel() {
  RemoveFromRepaintList(this);
  FGlyph->OnChange = {};
  FInnerMargins->OnChange = {};
  FOuterMargins->OnChange = {};
}

void TPxInfoPanel::SetAlignment(TAlignment value) {
  FAlignment = value;
  Invalidate();
}
void TPxInfoPanel::SetBorderColor(TColor value) {
  FBorderColor = value;
  Invalidate();
}
void TPxInfoPanel::SetCaption(const String& value) {
  FCaption = value;
  Invalidate();
}
void TPxInfoPanel::SetColorScheme(TColorScheme value) {
  FColorScheme = value;
  Invalidate();
}
void TPxInfoPanel::SetFillStyle(TFillPaintStyle value) {
  FFillStyle = value;
  Invalidate();
}
void TPxInfoPanel::SetGlyph(const TBitmap* value) {
  FGlyph->Assign(value);
  GlyphChanged(nullptr);
}
void TPxInfoPanel::SetIndent(Integer value) {
  FIndent = value;
  Invalidate();
}
void TPxInfoPanel::SetInnerMargins(const TPxMargins* value) {
  FInnerMargins->Assign(value);
}
void TPxInfoPanel::SetOptions(TInfoPanelOptions value) {
  FOptions = value;
  Invalidate();
}
void TPxInfoPanel::SetOuterMargins(const TPxMargins* value) {
  FOuterMargins->Assign(value);
}
void TPxInfoPanel::SetSpacing(Integer value) {
  FSpacing = value;
  Invalidate();
}
void TPxInfoPanel::SetText(const String& value) {
  if (value == FText) return;
  FText = value;
  Invalidate();
}
void TPxInfoPanel::SetTransparentColor(TColor value) {
  FTransparentColor = value;
  GlyphChanged(nullptr);
}
void TPxInfoPanel::SetVerticalAlignment(TVerticalAlignment value) {
  FVerticalAlignment = value;
  Invalidate();
}
void TPxInfoPanel::SetWrapKind(TWrapKind value) {
  FWrapKind = value;
  Invalidate();
}

void TPxInfoPanel::GlyphChanged(TObject*) {
  ApplyGlyphTransparency(*FGlyph, FTransparentColor);
  Invalidate();
}

void TPxInfoPanel::MarginsChanged(TObject*) {
  Invalidate();
}

void TPxInfoPanel::SetButtonState(TButtonState value) {
  if (ComponentState().Contains(csDesigning) || FOptions.Contains(ipStaticPanel)) {
    FButtonState = TButtonState{};
    return;
  }
  FButtonState = value;
  Invalidate();
}

// A hovered panel keeps the font's colour for its texts.
void TPxInfoPanel::GetColors(TColor& frame, TColor& fill, TColor& text) const {
  frame = FBorderColor;
  if (FButtonState.Contains(btDown)) {
    fill = SchemeColor(kDownFillRole, FColorScheme);
    text = clHighlightText;
  } else if (FButtonState.Contains(btHover)) {
    fill = SchemeColor(kHotFillRole, FColorScheme);
    text = Font().Color();
  } else {
    fill = SchemeColor(kGradientRole, FColorScheme);
    text = Font().Color();
  }
}

void TPxInfoPanel::CMFontChanged(TMessage& m) {
  TGraphicControl::CMFontChanged(m);
  Invalidate();
}

void TPxInfoPanel::CMMouseEnter(TMessage& m) {
  TGraphicControl::CMMouseEnter(m);
  TButtonState state = FButtonState;
  SetButtonState(state.Include(btHover));
}

void TPxInfoPanel::CMMouseLeave(TMessage& m) {
  TGraphicControl::CMMouseLeave(m);
  TButtonState state = FButtonState;
  SetButtonState(state.Exclude(btHover));
}

void TPxInfoPanel::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  TButtonState state = FButtonState;
  SetButtonState(state.Include(btDown));
}

void TPxInfoPanel::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  TButtonState state = FButtonState;
  SetButtonState(state.Exclude(btDown));
  if (button != mbLeft || !PopupMenu()) return;
  const TPoint at = ClientToScreen(TPoint{x, y});
  TPxLifeGuard guard(this);
  PopupMenu()->Popup(at.X, at.Y);
  if (guard.Gone()) return;
  state = FButtonState;
  SetButtonState(state.Exclude(btHover));
}

// The caption is measured in its bold drawing font, so that the body starts
// below the line the caption takes.
TRect TPxInfoPanel::CaptionRect(Integer left, const TRect& content) {
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(&Font());
  canvas.Font().SetStyle(TFontStyles{fsBold});
  return Rect(left, content.Top, content.Right, content.Top + canvas.TextHeight(FCaption));
}

TRect TPxInfoPanel::BodyRect() {
  const TRect box = FOuterMargins->AsRect(Width(), Height());
  const TRect content = Rect(box.Left + FInnerMargins->Left(), box.Top + FInnerMargins->Top(),
                             box.Right - FInnerMargins->Right(), box.Bottom - FInnerMargins->Bottom());
  Integer left = content.Left;
  if (!FGlyph->Empty()) left += FGlyph->Width() + FIndent;
  Integer top = content.Top;
  if (!FCaption.empty()) top = CaptionRect(left, content).Bottom + FSpacing;
  TRect body = FInnerMargins->AsRect(Width(), Height());
  body.Left = left;
  body.Top = top;
  return body;
}

void TPxInfoPanel::Paint() {
  TCanvas& canvas = Canvas();
  const TRect box = FOuterMargins->AsRect(Width(), Height());
  TColor frame = 0;
  TColor fill = 0;
  TColor textColor = 0;
  GetColors(frame, fill, textColor);
  TRect fillRect = box;
  canvas.Brush().SetStyle(bsSolid);
  if (FOptions.Contains(ipBorder)) {
    canvas.Brush().SetColor(frame);
    canvas.FrameRect(box);
    fillRect = Rect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1);
  }
  FillByStyle(canvas, fillRect, FFillStyle, fill, Color(), Height() / 2);
  const TRect content = Rect(box.Left + FInnerMargins->Left(), box.Top + FInnerMargins->Top(),
                             box.Right - FInnerMargins->Right(), box.Bottom - FInnerMargins->Bottom());
  if (!FGlyph->Empty()) DrawAlphaBitmap(canvas, content.Left, content.Top, *FGlyph);
  const TRect body = BodyRect();
  const TRect caption = CaptionRect(body.Left, content);
  canvas.Font().SetColor(textColor);
  canvas.Brush().SetStyle(bsClear);
  if (!FCaption.empty()) DrawEllipsisText(canvas, caption, FCaption, bdLeftToRight);
  if (FOptions.Contains(ipHtmlText)) {
    THtmlInfo info;
    canvas.Brush().SetColor(fill);
    DrawHtmlText(canvas, body, FText, info, wkWordWrap, hmPaint);
  } else {
    canvas.Font().SetStyle(TFontStyles{});
    DrawTextInRect(canvas, body, FText, FAlignment, FVerticalAlignment, FWrapKind, false, false);
  }
  if (ComponentState().Contains(csDesigning)) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clBtnFace);
    canvas.FrameRect(Rect(content.Left - 1, content.Top - 1, content.Right + 1, content.Bottom + 1));
  }
  canvas.Brush().SetStyle(bsSolid);
}
