#include "panelkit/win32/linklabel.h"

#include <algorithm>

#include "classes/identmaps.h"
#include "panelkit/win32/htmldraw.h"
#include "panelkit/win32/panels.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/forms.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxLinkLabel, "PxCollection")
KST_CLASS_IMPL(TPxHtmlLabel, "PxCollection")
KST_CLASS_IMPL(TPxSplitter, "PxCollection")
KST_CLASS_IMPL(TPxGlyphButton, "PxCollection")

const TTypeInfo& DescribeType(TypeTag<TLinkLabelDisplayMode>) {
  static const TEnumTypeInfo t(u"TLinkLabelDisplayMode", u"PxCollection", {u"dmNone", u"dmGlyph", u"dmImageList"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TBackgroundDrawStyle>) {
  static const TEnumTypeInfo t(u"TBackgroundDrawStyle", u"PxCollection", {u"bdsOpaque", u"bdsSkip", u"bdsTransparent"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TPxHtmlClickEvent>) {
  static const TMethodTypeInfo t(u"TPxHtmlClickEvent", u"PxClasses", mkProcedure,
                                 {{0, u"Sender", u"TObject"}, {0, u"Href", u"WideString"}});
  return t;
}

namespace {

// One line of text, vertically centred, cut to the rectangle.
void DrawTextLine(TCanvas& canvas, const TRect& rect, const String& text, TAlignment alignment) {
  canvas.Brush().SetStyle(bsClear);
  DrawCaptionText(canvas, rect, alignment, text, true);
  canvas.Brush().SetStyle(bsSolid);
}

// Grip dots: a light square with a dark one up and left of it, in a row
// or a column, centred in the rectangle.
void DrawGrip(TCanvas& canvas, const TRect& rect, TColorScheme scheme, bool column, int count) {
  constexpr Integer kStep = 4;
  const Integer length = count * kStep - 1;
  Integer x = column ? rect.Left + rect.Width() / 2 - 1 : rect.Left + rect.Width() / 2 - length / 2;
  Integer y = column ? rect.Top + rect.Height() / 2 - length / 2 : rect.Top + rect.Height() / 2 - 1;
  for (int i = 0; i < count; ++i) {
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(Rect(x + 1, y + 1, x + 3, y + 3));
    canvas.Brush().SetColor(SchemeColor(2, scheme));
    canvas.FillRect(Rect(x, y, x + 2, y + 2));
    (column ? y : x) += kStep;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// HTML label

void TPxHtmlLabel::Describe(TClassBuilder<TPxHtmlLabel>& c) {
  using L = TPxHtmlLabel;
  publish::Action(c);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"AutoSize", &L::AutoSize, &L::SetAutoSize).Default(0);
  c.Property(u"Caption", &L::HtmlCaption, &L::SetHtmlCaption);
  publish::Color(c);
  publish::Constraints(c);
  publish::DragProperties(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(1);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  c.Property(u"Transparent", &L::Transparent, &L::SetTransparent).StoredWhen([](const L& l) {
    return l.TransparentSet();
  });
  publish::Visible(c);
  c.Property(u"OnLinkClick", &L::OnLinkClick);
  publish::MouseEvents(c);
  publish::DragEvents(c);
}

TPxHtmlLabel::TPxHtmlLabel(TComponent* owner) : TGraphicControl(owner) {
  SetParentColor(true);
}

TPxHtmlLabel::~TPxHtmlLabel() = default;

void TPxHtmlLabel::SetAutoSize(bool value) {
  FAutoSize = value;
  AdjustToCaption();
}

void TPxHtmlLabel::SetHtmlCaption(const String& value) {
  FCaption = value;
  Invalidate();
  AdjustToCaption();
}

void TPxHtmlLabel::SetTransparent(bool value) {
  if (value != Transparent()) {
    if (value)
      FControlStyle.Exclude(csOpaque);
    else
      FControlStyle.Include(csOpaque);
    Invalidate();
  }
  FTransparentSet = true;
}

TSize TPxHtmlLabel::MeasureCaption() {
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(&Font());
  THtmlInfo info;
  DrawHtmlText(canvas, ClientRect(), FCaption, info, wkWordWrap, hmMeasure);
  return info.Size;
}

void TPxHtmlLabel::AdjustToCaption() {
  // A label being read waits for its parent, whose device context measures.
  if (!FAutoSize || ComponentState().Contains(csReading) || !Parent() || !Parent()->HandleAllocated()) return;
  const TSize size = MeasureCaption();
  SetBounds(Left(), Top(), size.cx, size.cy);
}

String TPxHtmlLabel::LinkAt(Integer x, Integer y) {
  if (!Parent() || !Parent()->HandleAllocated()) return {};
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(&Font());
  THtmlInfo info;
  DrawHtmlText(canvas, ClientRect(), FCaption, info, wkWordWrap, hmHitTest, {}, Point(x, y));
  return info.TagValue;
}

void TPxHtmlLabel::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(Color());
  if (!Transparent()) canvas.FillRect(ClientRect());
  canvas.Font().Assign(&Font());
  THtmlInfo info;
  DrawHtmlText(canvas, ClientRect(), FCaption, info, wkWordWrap, hmPaint);
}

void TPxHtmlLabel::MouseMove(TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (ComponentState().Contains(csDesigning)) return;
  Screen->SetCursor(LinkAt(x, y).empty() ? Cursor() : crHandPoint);
}

void TPxHtmlLabel::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  const String href = LinkAt(x, y);
  if (!href.empty() && OnLinkClick) OnLinkClick(this, href);
}

void TPxHtmlLabel::CMMouseLeave(TMessage& message) {
  TGraphicControl::CMMouseLeave(message);
  if (Screen && Screen->Cursor() == crHandPoint) Screen->SetCursor(Cursor());
}

// ---------------------------------------------------------------------------
// Link label

void TPxLinkLabel::Describe(TClassBuilder<TPxLinkLabel>& c) {
  publish::Action(c);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"AutoSize", &TPxLinkLabel::AutoSize, &TPxLinkLabel::SetAutoSize).Default(1);
  c.Property(u"Caption", &TPxLinkLabel::LinkCaption, &TPxLinkLabel::SetLinkCaption);
  publish::Color(c);
  publish::Constraints(c);
  c.Property(u"DisplayMode", &TPxLinkLabel::DisplayMode, &TPxLinkLabel::SetDisplayMode).Default(dmGlyph);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"Glyph", &TPxLinkLabel::GetGlyph, &TPxLinkLabel::SetGlyph);
  c.Property(u"HoverColor", &TPxLinkLabel::HoverColor, &TPxLinkLabel::SetHoverColor, &types::Color());
  c.Property(u"ImageIndex", &TPxLinkLabel::ImageIndex, &TPxLinkLabel::SetImageIndex).Default(-1);
  c.Property(u"Images", &TPxLinkLabel::Images, &TPxLinkLabel::SetImages);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  c.Property(u"TextDistance", &TPxLinkLabel::TextDistance, &TPxLinkLabel::SetTextDistance);
  c.Property(u"Transparent", &TPxLinkLabel::Transparent, &TPxLinkLabel::SetTransparent).Default(0);
  c.Property(u"TransparentColor", &TPxLinkLabel::TransparentColor, &TPxLinkLabel::SetTransparentColor, &types::Color())
      .Default(clNone);
  c.Property(u"VertSpacing", &TPxLinkLabel::VertSpacing, &TPxLinkLabel::SetVertSpacing);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
}

TPxLinkLabel::TPxLinkLabel(TComponent* owner) : TCustomControl(owner), FGlyph(std::make_unique<TBitmap>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable};
  SetDoubleBuffered(true);
  FHoverColor = Font().Color();
  FGlyph->OnChange = TNotifyEvent(this, &TPxLinkLabel::GlyphChanged);
  SetBounds(Left(), Top(), 65, 17);
}

TPxLinkLabel::~TPxLinkLabel() = default;

void TPxLinkLabel::GlyphChanged(TObject*) {
  FGlyph->OnChange = {};
  MakeTransparentByCorner(*FGlyph);
  FGlyph->OnChange = TNotifyEvent(this, &TPxLinkLabel::GlyphChanged);
  UpdateSize();
}

void TPxLinkLabel::UpdateSize() {
  if (FAutoSize)
    AdjustSize();
  else
    Invalidate();
}

void TPxLinkLabel::SetAutoSize(bool value) {
  FAutoSize = value;
  UpdateSize();
}

void TPxLinkLabel::SetLinkCaption(const String& value) {
  FCaption = value;
  UpdateSize();
}

void TPxLinkLabel::SetDisplayMode(TLinkLabelDisplayMode value) {
  FDisplayMode = value;
  UpdateSize();
}

void TPxLinkLabel::SetTextDistance(Integer value) {
  FTextDistance = std::clamp(value, -1000, 1000);
  UpdateSize();
}

void TPxLinkLabel::SetVertSpacing(Integer value) {
  FVertSpacing = std::clamp(value, -1000, 1000);
  UpdateSize();
}

void TPxLinkLabel::SetImageIndex(TImageIndex value) {
  FImageIndex = value;
  Invalidate();
}

void TPxLinkLabel::SetTransparent(bool value) {
  FTransparent = value;
  Invalidate();
}

void TPxLinkLabel::SetTransparentColor(TColor value) {
  FTransparentColor = value;
  FGlyph->SetTransparentColor(value);
  FGlyph->SetTransparent(true);
}

void TPxLinkLabel::SetImages(TCustomImageList* value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = value;
  if (FImages) FImages->FreeNotification(this);
  Invalidate();
}

void TPxLinkLabel::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) FImages = nullptr;
}

void TPxLinkLabel::SetName(const String& name) {
  const bool copy = !ComponentState().Contains(csLoading) && FCaption.empty();
  TCustomControl::SetName(name);
  if (copy) SetLinkCaption(name);
}

bool TPxLinkLabel::HasListImage() const {
  return FDisplayMode == dmImageList && FImages && FImageIndex >= 0 && FImageIndex < FImages->Count();
}

void TPxLinkLabel::AdjustSize() {
  if (!HandleAllocated()) return;
  TCanvas& c = Canvas();
  c.Font().Assign(&Font());
  Integer height = c.TextHeight(FCaption);
  Integer width = c.TextWidth(FCaption) + 1;
  if (FDisplayMode == dmGlyph && !FGlyph->Empty()) {
    height = std::max(height, FGlyph->Height());
    width += FGlyph->Width() + FTextDistance;
  } else if (HasListImage()) {
    height = std::max(height, FImages->Height());
    width += FImages->Width() + FTextDistance;
  }
  height += FVertSpacing;
  const TAlign align = Align();
  const bool widthFollows = align == alNone || align == alLeft || align == alRight;
  const bool heightFollows = align == alNone || align == alTop || align == alBottom;
  SetBounds(Left(), Top(), widthFollows ? width : Width(), heightFollows ? height : Height());
  Invalidate();
}

TRect TPxLinkLabel::TextArea() const {
  if (FGlyph->Empty()) return ClientRect();
  return Rect(FGlyph->Width() + FTextDistance, 0, ClientWidth(), ClientHeight());
}

void TPxLinkLabel::Paint() {
  TCanvas& c = Canvas();
  c.Font().Assign(&Font());
  if (FTransparent) {
    DrawParentBackground(*this, c);
  } else {
    c.Brush().SetColor(Color());
    c.FillRect(ClientRect());
  }
  Integer textLeft = 0;
  if (FDisplayMode == dmGlyph && !FGlyph->Empty()) {
    DrawAlphaBitmap(c, 0, Height() / 2 - FGlyph->Height() / 2, *FGlyph);
    textLeft = FGlyph->Width() + FTextDistance;
  } else if (HasListImage()) {
    FImages->Draw(c, 0, Height() / 2 - FImages->Height() / 2, FImageIndex, true);
    textLeft = FImages->Width() + FTextDistance;
  }
  if (FHover) {
    TFontStyles style = c.Font().Style();
    style.Include(fsUnderline);
    c.Font().SetStyle(style);
    c.Font().SetColor(FHoverColor);
  }
  if (!Enabled()) c.Font().SetColor(clGrayText);
  DrawTextLine(c, Rect(textLeft, 0, Width(), Height()), FCaption, taLeftJustify);
  if (Focused()) c.DrawFocusRect(ClientRect());
}

void TPxLinkLabel::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (TabStop() && CanFocus()) {
    SetFocus();
    Invalidate();
  }
}

void TPxLinkLabel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TCustomControl::Dispatch(m);
      if (!ComponentState().Contains(csDesigning)) {
        FHover = m.Msg == CM_MOUSEENTER;
        if (HandleAllocated()) InvalidateWithoutErase(*this, TextArea());
      }
      return;
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(m);
      if (HandleAllocated()) InvalidateWithoutErase(*this, TextArea());
      return;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(m);
      FHoverColor = Font().Color();
      UpdateSize();
      return;
    case CM_TEXTCHANGED:
      TCustomControl::Dispatch(m);
      Realign();
      Invalidate();
      return;
    case CM_ENTER:
    case CM_EXIT:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    case WM_WINDOWPOSCHANGED:
      TCustomControl::Dispatch(m);
      if (FTransparent) Invalidate();
      return;
    case WM_ERASEBKGND: m.Result = 1; return;
    default: break;
  }
  TCustomControl::Dispatch(m);
  if (m.Msg == WM_CREATE && FAutoSize) AdjustSize();
}

// ---------------------------------------------------------------------------
// Splitter

void TPxSplitter::Describe(TClassBuilder<TPxSplitter>& c) {
  c.Property(u"AdaptiveColors", &TPxSplitter::AdaptiveColors, &TPxSplitter::SetAdaptiveColors).Default(1);
  c.Property(u"ColorScheme", &TPxSplitter::ColorScheme, &TPxSplitter::SetColorScheme).Default(csDefault);
  c.Property(u"Width", &TControl::Width, &TControl::SetWidth).Default(9);
  c.Property(u"OnDblClick", &TPxSplitter::OnDblClick);
}

TPxSplitter::TPxSplitter(TComponent* owner) : TSplitter(owner) {
  SetWidth(9);
  AddToRepaintList(this);
}

TPxSplitter::~TPxSplitter() {
  RemoveFromRepaintList(this);
}

void TPxSplitter::SetAdaptiveColors(bool value) {
  FAdaptiveColors = value;
  Invalidate();
}

void TPxSplitter::SetColorScheme(TColorScheme value) {
  FColorScheme = value;
  Invalidate();
}

void TPxSplitter::Paint() {
  TCanvas& c = Canvas();
  const TColor light = FAdaptiveColors ? SchemeColor(22, FColorScheme) : clWhite;
  const TColor dark = FAdaptiveColors ? SchemeColor(23, FColorScheme) : Color();
  const TColor edge = SchemeColor(2, FColorScheme);
  const Integer w = Width(), h = Height();
  const bool vertical = Align() == alLeft || Align() == alRight;
  if (vertical) {
    c.Pen().SetColor(clWhite);
    c.Polyline({{1, 0}, {1, h}});
    c.Pen().SetColor(edge);
    c.Polyline({{0, 0}, {0, h}});
    c.Polyline({{w - 1, 0}, {w - 1, h}});
    FillHorzGradient(c, Rect(2, 0, w - 1, h), light, dark);
  } else {
    c.Pen().SetColor(clWhite);
    c.Polyline({{0, 1}, {w, 1}});
    c.Pen().SetColor(edge);
    c.Polyline({{0, 0}, {w, 0}});
    c.Polyline({{0, h - 1}, {w, h - 1}});
    FillVertGradient(c, Rect(0, 2, w, h - 1), light, dark);
  }
  DrawGrip(c, Rect(0, 0, w, h), FColorScheme, vertical, 5);
}

// ---------------------------------------------------------------------------
// Glyph button

void TPxGlyphButton::Describe(TClassBuilder<TPxGlyphButton>& c) {
  publish::Action(c);
  publish::Align(c);
  c.Property(u"Alignment", &TPxGlyphButton::Alignment, &TPxGlyphButton::SetAlignment).Default(taLeftJustify);
  publish::Anchors(c);
  c.Property(u"AutoCheck", &TPxGlyphButton::AutoCheck, &TPxGlyphButton::SetAutoCheck).Default(0);
  c.Property(u"AutoSize", &TPxGlyphButton::AutoSize, &TPxGlyphButton::SetAutoSize).Default(0);
  c.Property(u"BackgroundDrawStyle", &TPxGlyphButton::BackgroundDrawStyle, &TPxGlyphButton::SetBackgroundDrawStyle)
      .Default(bdsSkip);
  publish::Caption(c);
  c.Property(u"Checked", &TPxGlyphButton::Checked, &TPxGlyphButton::SetChecked).Default(0);
  publish::Color(c);
  publish::Constraints(c);
  c.Property(u"DisabledImage", &TPxGlyphButton::GetDisabledImage, &TPxGlyphButton::SetDisabledImage);
  c.Property(u"Down", &TPxGlyphButton::Down, &TPxGlyphButton::SetDown).Default(0);
  c.Property(u"DownImage", &TPxGlyphButton::GetDownImage, &TPxGlyphButton::SetDownImage);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"HoverImage", &TPxGlyphButton::GetHoverImage, &TPxGlyphButton::SetHoverImage);
  c.Property(u"Image", &TPxGlyphButton::GetImage, &TPxGlyphButton::SetImage);
  c.Property(u"Margin", &TPxGlyphButton::Margin, &TPxGlyphButton::SetMargin);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  c.Property(u"Transparent", &TPxGlyphButton::Transparent, &TPxGlyphButton::SetTransparent).Default(0);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
}

TPxGlyphButton::TPxGlyphButton(TComponent* owner)
    : TCustomControl(owner),
      FBufferBitmap(std::make_unique<TBitmap>()),
      FDownImage(std::make_unique<TBitmap>()),
      FHoverImage(std::make_unique<TBitmap>()),
      FImage(std::make_unique<TBitmap>()),
      FDisabledImage(std::make_unique<TBitmap>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable};
  for (TBitmap* image : {FImage.get(), FDownImage.get(), FHoverImage.get(), FDisabledImage.get()})
    image->OnChange = TNotifyEvent([this, image](TObject*) { ImageChanged(*image); });
  SetBounds(Left(), Top(), 75, 23);
}

TPxGlyphButton::~TPxGlyphButton() = default;

void TPxGlyphButton::StoreAndRepaint(bool& field, bool value) {
  field = value;
  Invalidate();
}

void TPxGlyphButton::FitToImage() {
  if (FAutoSize && !FImage->Empty()) {
    SetBounds(Left(), Top(), FImage->Width(), FImage->Height());
    Invalidate();
  }
}

void TPxGlyphButton::ImageChanged(TBitmap& changed) {
  FitToImage();
  if (!FTransparent) return;
  const TNotifyEvent handler = changed.OnChange;
  changed.OnChange = {};
  MakeTransparentByCorner(changed);
  changed.OnChange = handler;
}

void TPxGlyphButton::SetAlignment(TAlignment value) {
  FAlignment = value;
  Invalidate();
}

void TPxGlyphButton::SetAutoSize(bool value) {
  FAutoSize = value;
  FitToImage();
  Invalidate();
}

void TPxGlyphButton::SetBackgroundDrawStyle(TBackgroundDrawStyle value) {
  FBackgroundDrawStyle = value;
  Invalidate();
}

void TPxGlyphButton::SetDisabledImage(const TBitmap* value) {
  FDisabledImage->Assign(value);
  Invalidate();
}

void TPxGlyphButton::SetMargin(Integer value) {
  FMargin = std::clamp(value, -10000, 10000);
  Invalidate();
}

void TPxGlyphButton::SetTransparent(bool value) {
  FTransparent = value;
  ImageChanged(*FImage);
  ImageChanged(*FDownImage);
  ImageChanged(*FHoverImage);
}

TBitmap& TPxGlyphButton::StateImage() const {
  if (!Enabled()) return *FDisabledImage;
  if (FDown || FPressed || FChecked) return *FDownImage;
  if (FHover) return *FHoverImage;
  return *FImage;
}

void TPxGlyphButton::Paint() {
  TCanvas& c = Canvas();
  if (FImage->Empty()) {
    DrawDottedFrame(c, ClientRect());
  } else {
    switch (FBackgroundDrawStyle) {
      case bdsOpaque:
        c.Brush().SetColor(Color());
        c.FillRect(ClientRect());
        break;
      case bdsSkip: break;
      case bdsTransparent: DrawParentBackground(*this, c); break;
    }
    const TRect area = Rect(0, 0, FImage->Width(), FImage->Height());
    FBufferBitmap->SetPixelFormat(pf24bit);
    FBufferBitmap->SetSize(area.Width(), area.Height());
    FBufferBitmap->Canvas().CopyRect(area, c, area);
    TBitmap& image = StateImage();
    if (!image.Empty()) FBufferBitmap->Canvas().Draw(0, 0, image);
    c.CopyRect(area, FBufferBitmap->Canvas(), area);
  }
  c.Font().Assign(&Font());
  DrawTextLine(c, Rect(FMargin, 0, ClientWidth() - FMargin, ClientHeight()), Caption(), FAlignment);
}

void TPxGlyphButton::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  FPressed = true;
  Invalidate();
}

void TPxGlyphButton::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  FPressed = false;
  if (FAutoCheck && button == mbLeft && ClientRect().Contains(Point(x, y))) FChecked = !FChecked;
  Invalidate();
}

void TPxGlyphButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TCustomControl::Dispatch(m);
      if (!ComponentState().Contains(csDesigning)) {
        FHover = m.Msg == CM_MOUSEENTER;
        Invalidate();
      }
      return;
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    case WM_ERASEBKGND: m.Result = !ComponentState().Contains(csDesigning) && !FTransparent ? 1 : 0; return;
    default: break;
  }
  TCustomControl::Dispatch(m);
}
