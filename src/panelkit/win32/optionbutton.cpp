#include "panelkit/win32/optionbutton.h"

#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/extctrls.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxOptionButton, "PxCollection")
KST_CLASS_IMPL(TPxProgressBar, "PxCollection")

namespace {

// The styles' toolbar button: its part and its hot and pressed states.
constexpr int kToolbarButtonPart = 1;
constexpr int kToolbarHot = 2;
constexpr int kToolbarPressed = 3;
// Between the glyph and the caption when the texts follow the glyph.
constexpr Integer kGlyphGap = 8;

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TProgressBarOrientation>) {
  static const TEnumTypeInfo t(u"TProgressBarOrientation", u"PxCollection", {u"pbHorizontal", u"pbVertical"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TWrapKind>) {
  static const TEnumTypeInfo t(u"TWrapKind", u"PxClasses",
                               {u"wkNone", u"wkEllipsis", u"wkPathEllipsis", u"wkWordWrap"});
  return t;
}

void TPxOptionButton::Describe(TClassBuilder<TPxOptionButton>& c) {
  using P = TPxOptionButton;
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"Caption", &P::Caption, &P::SetCaption);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  c.Property(u"FixedMargin", &P::FixedMargin, &P::SetFixedMargin).Default(0);
  publish::Font(c);
  c.Property(u"Glyph", &P::GetGlyph, &P::SetGlyph);
  c.Property(u"GlyphIndent", &P::GlyphIndent, &P::SetGlyphIndent).Default(5);
  c.Property(u"InnerMargins", &P::GetInnerMargins, &P::SetInnerMargins);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(0);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(0);
  c.Property(u"Text", &P::Text, &P::SetText);
  c.Property(u"TextSpacing", &P::TextSpacing, &P::SetTextSpacing).Default(2);
  c.Property(u"Transparent", &P::Transparent, &P::SetTransparent).Default(0);
  c.Property(u"TransparentColor", &P::TransparentColor, &P::SetTransparentColor, &types::Color()).Default(clNone);
  publish::Visible(c);
  c.Property(u"WrapKind", &P::WrapKind, &P::SetWrapKind).Default(wkWordWrap);
  publish::ResizeEvents(c);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
}

TPxOptionButton::TPxOptionButton(TComponent* owner)
    : TCustomControl(owner),
      FGlyph(std::make_unique<TBitmap>()),
      FGrayGlyph(std::make_unique<TBitmap>()),
      FInnerMargins(std::make_unique<TPxMargins>()) {
  FGlyph->OnChange = TNotifyEvent(this, &TPxOptionButton::GlyphChanged);
  FInnerMargins->OnChange = TNotifyEvent(this, &TPxOptionButton::MarginsChanged);
  SetParentColor(false);
  SetColor(clBtnFace);
}

TPxOptionButton::~TPxOptionButton() {
  FGlyph->OnChange = {};
  FInnerMargins->OnChange = {};
}

void TPxOptionButton::SetCaption(const String& value) {
  FCaption = value;
  Invalidate();
}

void TPxOptionButton::SetText(const String& value) {
  FText = value;
  Invalidate();
}

void TPxOptionButton::SetFixedMargin(bool value) {
  FFixedMargin = value;
  Invalidate();
}

void TPxOptionButton::SetGlyph(const TBitmap* value) {
  FGlyph->Assign(value);
  Invalidate();
}

void TPxOptionButton::SetGlyphIndent(Integer value) {
  FGlyphIndent = value;
  Invalidate();
}

void TPxOptionButton::SetInnerMargins(const TPxMargins* value) {
  FInnerMargins->Assign(value);
}

void TPxOptionButton::SetTextSpacing(Integer value) {
  FTextSpacing = value;
  Invalidate();
}

void TPxOptionButton::SetTransparent(bool value) {
  FTransparent = value;
  if (FGlyph->Empty()) return;
  ApplyTransparency();
  Invalidate();
}

void TPxOptionButton::SetTransparentColor(TColor value) {
  FTransparentColor = value;
  if (FGlyph->Empty()) return;
  ApplyTransparency();
  Invalidate();
}

void TPxOptionButton::MarginsChanged(TObject*) {
  Invalidate();
}

// The grey copy follows the glyph; both are marked transparent here, and
// that marking must not come back as another change of the glyph.
void TPxOptionButton::GlyphChanged(TObject*) {
  if (FUpdatingGlyph) return;
  FUpdatingGlyph = true;
  try {
    FGrayGlyph->Assign(FGlyph.get());
    ApplyTransparency();
    if (!FGrayGlyph->Empty()) MakeGrayscale(*FGrayGlyph);
  } catch (...) {
    FUpdatingGlyph = false;
    throw;
  }
  FUpdatingGlyph = false;
  Invalidate();
}

void TPxOptionButton::ApplyTransparency() {
  const bool wasUpdating = FUpdatingGlyph;
  FUpdatingGlyph = true;
  for (TBitmap* bitmap : {FGlyph.get(), FGrayGlyph.get()}) {
    if (FTransparent && !bitmap->Empty() && bitmap->Height() > 0) {
      const TColor color =
          FTransparentColor == clNone ? bitmap->Canvas().Pixels(0, bitmap->Height() - 1) : FTransparentColor;
      bitmap->SetTransparentColor(color);
      bitmap->SetTransparent(true);
    } else {
      bitmap->SetTransparent(false);
    }
  }
  FUpdatingGlyph = wasUpdating;
}

void TPxOptionButton::Dispatch(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;
    return;
  }
  TCustomControl::Dispatch(m);
}

void TPxOptionButton::CMEnabledChanged(TMessage& m) {
  TCustomControl::CMEnabledChanged(m);
  Invalidate();
}

void TPxOptionButton::CMMouseLeave(TMessage& m) {
  TCustomControl::CMMouseLeave(m);
  // Leaving while pressed keeps the hot look until the release.
  if (!FHover || FDown) return;
  FHover = false;
  FDown = false;
  Invalidate();
}

void TPxOptionButton::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  FDown = true;
  Invalidate();
}

void TPxOptionButton::MouseMove(TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseMove(shift, x, y);
  if (FHover) return;
  FHover = true;
  Invalidate();
}

void TPxOptionButton::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (!FDown) return;
  FDown = false;
  Invalidate();
}

void TPxOptionButton::DrawBackground(TCanvas& canvas, const TRect& client) {
  canvas.Brush().SetColor(Color());
  if (FHover && IsThemed()) {
    canvas.FillRect(client);
    DrawThemeElement(Handle(), canvas.Handle(), client, u"toolbar", kToolbarButtonPart,
                     FDown ? kToolbarPressed : kToolbarHot);
  } else if (FHover) {
    TRect inner = client;
    if (FDown)
      Frame3D(canvas, inner, clBtnShadow, clBtnHighlight, 1);
    else
      Frame3D(canvas, inner, clBtnHighlight, clBtnShadow, 1);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(inner);
  } else {
    canvas.FillRect(client);
  }
}

TRect TPxOptionButton::CaptionRect() {
  const TRect margins = FInnerMargins->AsRect(Width(), Height());
  TRect caption = margins;
  TBitmap& bitmap = Enabled() ? *FGlyph : *FGrayGlyph;
  if (!bitmap.Empty()) caption.Left = FFixedMargin ? margins.Left : margins.Left + bitmap.Width() + kGlyphGap;
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(&Font());
  canvas.Font().SetStyle(TFontStyles{fsBold});
  caption.Bottom = caption.Top + canvas.TextHeight(FCaption.empty() ? String(u"W") : FCaption);
  return caption;
}

void TPxOptionButton::Paint() {
  TCanvas& canvas = Canvas();
  const TRect client = ClientRect();
  DrawBackground(canvas, client);
  const TRect margins = FInnerMargins->AsRect(Width(), Height());
  TBitmap& bitmap = Enabled() ? *FGlyph : *FGrayGlyph;
  if (!bitmap.Empty()) canvas.Draw(margins.Left, margins.Top, bitmap);
  const TRect caption = CaptionRect();
  canvas.Brush().SetStyle(bsClear);
  if (Enabled())
    DrawEllipsisText(canvas, caption, FCaption, bdLeftToRight);
  else
    DrawEmbossedText(canvas, caption, FCaption, taLeftJustify, false);
  const TRect text = Rect(caption.Left, caption.Bottom + FTextSpacing, ClientWidth() - FInnerMargins->Right(),
                          ClientHeight() - FInnerMargins->Bottom());
  canvas.Font().SetStyle(TFontStyles{});
  DrawTextInRect(canvas, text, FText, taLeftJustify, taAlignTop, FWrapKind, false, !Enabled());
  if (ComponentState().Contains(csDesigning)) {
    canvas.Pen().SetStyle(psDot);
    canvas.Pen().SetColor(clGrayText);
    canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(margins.Left - 1, margins.Top - 1, margins.Right + 1, margins.Bottom + 1);
    canvas.Pen().SetStyle(psSolid);
  }
  canvas.Brush().SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------

void TPxProgressBar::Describe(TClassBuilder<TPxProgressBar>& c) {
  using P = TPxProgressBar;
  publish::Align(c);
  publish::Anchors(c);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  c.Property(u"Orientation", &P::Orientation, &P::SetOrientation).Default(pbHorizontal);
  publish::ParentColor(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  c.Property(u"Step", &P::Step, &P::SetStep).Default(10);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  publish::MouseEvents(c);
}

TPxProgressBar::TPxProgressBar(TComponent* owner) : TCustomControl(owner) {
  FControlStyle.Include(csAcceptsControls);
  SetBounds(Left(), Top(), 100, 50);
}

void TPxProgressBar::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
}
