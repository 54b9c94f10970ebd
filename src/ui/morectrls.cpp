#include "ui/morectrls.h"

#include <algorithm>

#include "rtl/numbers.h"
#include "ui/buttons.h"
#include "ui/extctrls.h"
#include "ui/imglist.h"
#include "ui/menus.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TShape, "ExtCtrls")
KST_CLASS_IMPL(TStaticText, "StdCtrls")
KST_CLASS_IMPL(TSpeedButton, "Buttons")
KST_CLASS_IMPL(TLinkLabel, "ExtCtrls")
KST_CLASS_IMPL(TControlBar, "ExtCtrls")
KST_CLASS_IMPL(TEditButton, "ExtCtrls")
KST_CLASS_IMPL(TButtonedEdit, "ExtCtrls")
KST_CLASS_IMPL(TSpinEdit, "Spin")

const TTypeInfo& DescribeType(TypeTag<TShapeType>) {
  static const TEnumTypeInfo t(
      u"TShapeType", u"ExtCtrls",
      {u"stRectangle", u"stSquare", u"stRoundRect", u"stRoundSquare", u"stEllipse", u"stCircle"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TStaticBorderStyle>) {
  static const TEnumTypeInfo t(u"TStaticBorderStyle", u"StdCtrls", {u"sbsNone", u"sbsSingle", u"sbsSunken"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSysLinkType>) {
  static const TEnumTypeInfo t(u"TSysLinkType", u"ExtCtrls", {u"sltURL", u"sltID"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSysLinkEvent>) {
  static const TMethodTypeInfo t(
      u"TSysLinkEvent", u"ExtCtrls", mkProcedure,
      {TMethodParam{0, u"Sender", u"TObject"}, TMethodParam{ParamFlagBit(pfConst), u"Link", u"string"},
       TMethodParam{0, u"LinkType", u"TSysLinkType"}});
  return t;
}

// ---------------------------------------------------------------------------

void TShape::Describe(TClassBuilder<TShape>& c) {
  publish::GraphicControlBundle(c);
  c.Property(u"Brush", &TShape::GetBrush, &TShape::SetBrush);
  c.Property(u"Pen", &TShape::GetPen, &TShape::SetPen);
  c.Property(u"Shape", &TShape::Shape, &TShape::SetShape).Default(stRectangle);
}

TShape::TShape(TComponent* owner)
    : TGraphicControl(owner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  SetBounds(Left(), Top(), 65, 65);
  FPen->OnChange = TNotifyEvent(this, &TShape::StyleChanged);
  FBrush->OnChange = TNotifyEvent(this, &TShape::StyleChanged);
}

void TShape::SetShape(TShapeType value) {
  FShape = value;
  Invalidate();
}
void TShape::SetPen(const TPen* pen) {
  if (pen) FPen->Assign(pen);
}
void TShape::SetBrush(const TBrush* brush) {
  if (brush) FBrush->Assign(brush);
}

void TShape::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Pen().Assign(FPen.get());
  canvas.Brush().Assign(FBrush.get());
  const Integer pen = FPen->Width();
  Integer x = pen / 2, y = pen / 2;
  Integer w = Width() - pen + 1, h = Height() - pen + 1;
  if (pen == 0) {
    --w;
    --h;
  }
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    const Integer side = std::min(w, h);
    x += (w - side) / 2;
    y += (h - side) / 2;
    w = h = side;
  }
  switch (FShape) {
    case stRectangle:
    case stSquare: canvas.Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: canvas.RoundRect(x, y, x + w, y + h, std::min(w, h) / 4, std::min(w, h) / 4); break;
    case stEllipse:
    case stCircle: canvas.Ellipse(x, y, x + w, y + h); break;
  }
}

// ---------------------------------------------------------------------------

void TStaticText::Describe(TClassBuilder<TStaticText>& c) {
  publish::WinControlBundle(c);
  c.Property(u"Alignment", &TStaticText::Alignment).Default(taLeftJustify);
  c.Property(u"AutoSize", &TStaticText::AutoSize).Default(1);
  c.Property(u"BorderStyle", &TStaticText::BorderStyle).Default(sbsNone);
  publish::Caption(c);
  c.Property(u"ShowAccelChar", &TStaticText::ShowAccelChar).Default(1);
  c.Property(u"Transparent", &TStaticText::Transparent).Default(1);
}

TStaticText::TStaticText(TComponent* owner) : TWinControl(owner) {
  SetBounds(Left(), Top(), 65, 17);
}

void TStaticText::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"STATIC");
  params.Style |= SS_NOTIFY;
  if (Alignment == taCenter) params.Style |= SS_CENTER;
  if (Alignment == taRightJustify) params.Style |= SS_RIGHT;
  if (!ShowAccelChar) params.Style |= SS_NOPREFIX;
  if (BorderStyle == sbsSingle) params.Style |= WS_BORDER;
  if (BorderStyle == sbsSunken) params.Style |= SS_SUNKEN;
}

// ---------------------------------------------------------------------------

void TSpeedButton::Describe(TClassBuilder<TSpeedButton>& c) {
  publish::GraphicControlBundle(c);
  publish::Action(c);
  publish::ImageProperties(c);
  c.Property(u"AllowAllUp", &TSpeedButton::AllowAllUp).Default(0);
  publish::Caption(c);
  c.Property(u"Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(0);
  c.Property(u"Flat", &TSpeedButton::Flat).Default(0);
  c.Property(u"Glyph", &TSpeedButton::GetGlyph, &TSpeedButton::SetGlyph);
  c.Property(u"GroupIndex", &TSpeedButton::GroupIndex).Default(0);
  c.Property(u"Layout", &TSpeedButton::Layout).Default(blGlyphLeft);
  c.Property(u"Margin", &TSpeedButton::Margin).Default(-1);
  c.Property(u"NumGlyphs", &TSpeedButton::NumGlyphs).Default(1);
  c.Property(u"Spacing", &TSpeedButton::Spacing).Default(4);
  c.Property(u"Transparent", &TSpeedButton::Transparent).Default(1);
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), FGlyph(std::make_unique<TBitmap>()) {
  SetBounds(Left(), Top(), 23, 22);
  FGlyph->OnChange = TNotifyEvent([this](TObject*) { Invalidate(); });
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetGlyph(const TBitmap* glyph) {
  if (glyph) FGlyph->Assign(glyph);
}

void TSpeedButton::SetDown(bool value) {
  // A form stores Down before GroupIndex: while it loads, the value stands.
  if (ComponentState().Contains(csLoading)) {
    FDown = value;
    return;
  }
  if (GroupIndex == 0) value = false;
  if (value == FDown) return;
  FDown = value;
  // The others of the group come up.
  if (FDown && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
      if (other && other != this && other->GroupIndex == GroupIndex) {
        other->FDown = false;
        other->Invalidate();
      }
    }
  }
  Invalidate();
}

void TSpeedButton::Click() {
  if (GroupIndex != 0) SetDown(FDown ? !AllowAllUp : true);
  TGraphicControl::Click();
}

void TSpeedButton::Paint() {
  TCanvas& canvas = Canvas();
  TRect r = Rect(0, 0, Width(), Height());
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect(r);
  if (!Flat || FDown) {
    TRect edge = r;
    Frame3D(canvas, edge, FDown ? clBtnShadow : clBtnHighlight, FDown ? clBtnHighlight : clBtnShadow, 1);
  }
  const Integer offset = FDown ? 1 : 0;
  const String caption = Caption();
  canvas.Font().Assign(&Font());
  canvas.Brush().SetStyle(bsClear);
  Integer glyphWidth = 0, glyphHeight = 0;
  if (!FGlyph->Empty()) {
    glyphWidth = FGlyph->Width() / std::clamp(NumGlyphs, 1, 4);
    glyphHeight = FGlyph->Height();
  }
  const Integer textWidth = caption.empty() ? 0 : canvas.TextWidth(caption);
  const Integer gap = glyphWidth > 0 && textWidth > 0 ? Spacing : 0;
  Integer x = (Width() - glyphWidth - gap - textWidth) / 2 + offset;
  if (glyphWidth > 0) {
    TBitmap face(glyphWidth, glyphHeight, pf24bit);
    face.Canvas().Draw(0, 0, *FGlyph);
    face.SetTransparent(true);
    canvas.Draw(x, (Height() - glyphHeight) / 2 + offset, face);
    x += glyphWidth + gap;
  }
  if (textWidth > 0) canvas.TextOut(x, (Height() - canvas.TextHeight(caption)) / 2 + offset, caption);
  canvas.Brush().SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------

void TLinkLabel::Describe(TClassBuilder<TLinkLabel>& c) {
  publish::WinControlBundle(c);
  c.Property(u"AutoSize", &TLinkLabel::AutoSize).Default(0);
  publish::Caption(c);
  c.Property(u"UseVisualStyle", &TLinkLabel::UseVisualStyle).Default(0);
  c.Property(u"OnLinkClick", &TLinkLabel::OnLinkClick);
}

TLinkLabel::TLinkLabel(TComponent* owner) : TCustomControl(owner) {
  SetBounds(Left(), Top(), 53, 17);
}

std::vector<TLinkLabel::Part> TLinkLabel::Parse(const String& caption) {
  std::vector<Part> parts;
  size_t at = 0;
  while (at < caption.size()) {
    const size_t open = caption.find(u"<a", at);
    const size_t openEnd = open == String::npos ? String::npos : caption.find(u'>', open);
    const size_t close = openEnd == String::npos ? String::npos : caption.find(u"</a>", openEnd);
    if (close == String::npos) {
      parts.push_back({caption.substr(at), {}});
      break;
    }
    if (open > at) parts.push_back({caption.substr(at, open - at), {}});
    Part part{caption.substr(openEnd + 1, close - openEnd - 1), {}};
    // <a href="target">: the target, else the text itself (a link is never empty).
    const StringView tag = StringView(caption).substr(open, openEnd - open);
    const size_t href = tag.find(u"href=\"");
    const size_t end = href == StringView::npos ? StringView::npos : tag.find(u'"', href + 6);
    if (end != StringView::npos && end > href + 6)
      part.Link = String(tag.substr(href + 6, end - href - 6));
    else
      part.Link = part.Text.empty() ? String(1, u'#') : part.Text;
    parts.push_back(std::move(part));
    at = close + 4;
  }
  return parts;
}

void TLinkLabel::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  canvas.Font().Assign(&Font());
  canvas.Brush().SetStyle(bsClear);
  FLinkRects.clear();
  Integer x = 0;
  for (const Part& part : Parse(Caption())) {
    canvas.Font().Assign(&Font());
    if (!part.Link.empty()) {
      canvas.Font().SetColor(static_cast<TColor>(0xCC6600));
      canvas.Font().SetStyle({fsUnderline});
    }
    const Integer width = canvas.TextWidth(part.Text);
    canvas.TextOut(x, 0, part.Text);
    if (!part.Link.empty()) FLinkRects.emplace_back(Rect(x, 0, x + width, canvas.TextHeight(part.Text)), part.Link);
    x += width;
  }
  canvas.Brush().SetStyle(bsSolid);
}

void TLinkLabel::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  for (const auto& [rect, link] : FLinkRects)
    if (x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom && OnLinkClick && CanFireEvents())
      OnLinkClick(this, link, sltURL);
}

void TLinkLabel::Dispatch(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) Invalidate();
  TCustomControl::Dispatch(m);
}

// ---------------------------------------------------------------------------

void TControlBar::Describe(TClassBuilder<TControlBar>& c) {
  publish::WinControlBundle(c);
  c.Property(u"AutoDock", &TControlBar::AutoDock).Default(1);
  c.Property(u"AutoDrag", &TControlBar::AutoDrag).Default(1);
  c.Property(u"AutoSize", &TControlBar::AutoSize).Default(0);
  c.Property(u"BevelInner", &TControlBar::BevelInner).Default(bvRaised);
  c.Property(u"BevelOuter", &TControlBar::BevelOuter).Default(bvLowered);
  publish::BevelProperties(c);
  publish::ParentBackground(c);
  c.Property(u"RowSize", &TControlBar::RowSize).Default(26);
  c.Property(u"RowSnap", &TControlBar::RowSnap).Default(1);
  publish::ResizeEvents(c);
}

TControlBar::TControlBar(TComponent* owner) : TCustomControl(owner) {
  FControlStyle.Include(csAcceptsControls);
  SetBounds(Left(), Top(), 100, 50);
}

void TControlBar::Paint() {
  TCanvas& canvas = Canvas();
  TRect r = ClientRect();
  canvas.Brush().SetColor(Color());
  canvas.FillRect(r);
  if (BevelOuter != bvNone)
    Frame3D(canvas, r, BevelOuter == bvLowered ? clBtnShadow : clBtnHighlight,
            BevelOuter == bvLowered ? clBtnHighlight : clBtnShadow, 1);
  // A grip before each band.
  for (int i = 0; i < ControlCount(); ++i) {
    const TControl* band = Controls(i);
    TRect grip = Rect(band->Left() - 9, band->Top() + 2, band->Left() - 6, band->Top() + band->Height() - 2);
    Frame3D(canvas, grip, clBtnHighlight, clBtnShadow, 1);
  }
}

// ---------------------------------------------------------------------------

void TEditButton::Describe(TClassBuilder<TEditButton>& c) {
  c.Property(u"DisabledImageIndex", &TEditButton::DisabledImageIndex).Default(-1);
  c.Property(u"DropDownMenu", &TEditButton::DropDownMenu);
  c.Property(u"Enabled", &TEditButton::Enabled).Default(1);
  c.Property(u"Hint", &TEditButton::Hint);
  c.Property(u"HotImageIndex", &TEditButton::HotImageIndex).Default(-1);
  c.Property(u"ImageIndex", &TEditButton::ImageIndex).Default(-1);
  c.Property(u"PressedImageIndex", &TEditButton::PressedImageIndex).Default(-1);
  c.Property(u"Visible", &TEditButton::Visible).Default(0);
}

TPersistent* TEditButton::GetOwner() const {
  return FControl;
}

void TEditButton::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TEditButton*>(source)) {
    DisabledImageIndex = other->DisabledImageIndex;
    HotImageIndex = other->HotImageIndex;
    ImageIndex = other->ImageIndex;
    PressedImageIndex = other->PressedImageIndex;
    Enabled = other->Enabled;
    Visible = other->Visible;
    Hint = other->Hint;
    DropDownMenu = other->DropDownMenu;
    return;
  }
  TPersistent::Assign(source);
}

void TButtonedEdit::Describe(TClassBuilder<TButtonedEdit>& c) {
  publish::ImageProperties(c);
  c.Property(u"LeftButton", &TButtonedEdit::GetLeftButton, &TButtonedEdit::SetLeftButton);
  c.Property(u"RightButton", &TButtonedEdit::GetRightButton, &TButtonedEdit::SetRightButton);
  c.Property(u"TextHint", &TButtonedEdit::TextHint);
  c.Property(u"OnLeftButtonClick", &TButtonedEdit::OnLeftButtonClick);
  c.Property(u"OnRightButtonClick", &TButtonedEdit::OnRightButtonClick);
}

TButtonedEdit::TButtonedEdit(TComponent* owner)
    : TEdit(owner),
      FLeftButton(std::make_unique<TEditButton>(this)),
      FRightButton(std::make_unique<TEditButton>(this)) {}

TButtonedEdit::~TButtonedEdit() = default;

void TButtonedEdit::SetLeftButton(const TEditButton* button) {
  if (button) FLeftButton->Assign(button);
}
void TButtonedEdit::SetRightButton(const TEditButton* button) {
  if (button) FRightButton->Assign(button);
}

void TButtonedEdit::Notification(TComponent* component, TOperation operation) {
  TEdit::Notification(component, operation);
  if (operation != opRemove) return;
  for (TEditButton* button : {FLeftButton.get(), FRightButton.get()})
    if (component == button->DropDownMenu) button->DropDownMenu = nullptr;
}

// ---------------------------------------------------------------------------

void TSpinEdit::Describe(TClassBuilder<TSpinEdit>& c) {
  c.Property(u"EditorEnabled", &TSpinEdit::EditorEnabled).Default(1);
  c.Property(u"Increment", &TSpinEdit::Increment).Default(1);
  c.Property(u"MaxValue", &TSpinEdit::MaxValue).Default(0);
  c.Property(u"MinValue", &TSpinEdit::MinValue).Default(0);
  c.Property(u"Value", &TSpinEdit::Value, &TSpinEdit::SetValue);
}

TSpinEdit::TSpinEdit(TComponent* owner) : TEdit(owner) {
  SetBounds(Left(), Top(), 121, 22);
  SetText(u"0");
}

Integer TSpinEdit::Value() const {
  Integer value = 0;
  if (!TryStrToInt(GetText(), value)) value = MinValue;
  if (MaxValue != 0 || MinValue != 0) value = std::clamp(value, MinValue, std::max(MinValue, MaxValue));
  return value;
}

void TSpinEdit::SetValue(Integer value) {
  SetText(IntToStr(value));
}
