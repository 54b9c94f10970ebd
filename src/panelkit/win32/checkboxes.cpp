#include "panelkit/win32/checkboxes.h"

#include "panelkit/win32/edits.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"
#include "ui/actnlist.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TPxCanvasCellEditor, "PxEdit")
KST_CLASS_IMPL(TPxCustomToggle, "PxEdit")
KST_CLASS_IMPL(TPxCheckBox, "PxEdit")
KST_CLASS_IMPL(TPxRadioButton, "PxEdit")

const TTypeInfo& DescribeType(TypeTag<TVerticalAlignment>) {
  static const TEnumTypeInfo t(u"TVerticalAlignment", u"PxEdit",
                               {u"taAlignTop", u"taAlignBottom", u"taVerticalCenter"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCheckBoxOption>) {
  static const TEnumTypeInfo t(u"TCheckBoxOption", u"PxEdit", {u"coExpandActiveRect"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCheckBoxOptions>) {
  static const TSetTypeInfo t(u"TCheckBoxOptions", u"PxEdit",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TCheckBoxOption>{})));
  return t;
}

// ---- Canvas cell editor ----

void TPxCanvasCellEditor::Describe(TClassBuilder<TPxCanvasCellEditor>& c) {
  using T = TPxCanvasCellEditor;
  publish::Align(c);
  c.Property(u"Alignment", &T::Alignment, &T::SetAlignment).Default(taLeftJustify);
  publish::Anchors(c);
  c.Property(u"BorderStyle", &T::BorderStyle, &T::SetBorderStyle, &BorderStyleType()).Default(bsSingle);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"Margin", &T::Margin, &T::SetMargin).Default(0);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Text(c);
  c.Property(u"VerticalAlignment", &T::VerticalAlignment, &T::SetVerticalAlignment).Default(taVerticalCenter);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
}

TPxCanvasCellEditor::TPxCanvasCellEditor(TComponent* owner) : TCustomControl(owner) {
  SetColor(clWindow);
  SetParentColor(false);
}

void TPxCanvasCellEditor::SetAlignment(TAlignment value) {
  FAlignment = value;
  Invalidate();
}

void TPxCanvasCellEditor::SetBorderStyle(TFormBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}

void TPxCanvasCellEditor::SetMargin(Integer value) {
  FMargin = value;
  Invalidate();
}

void TPxCanvasCellEditor::SetVerticalAlignment(TVerticalAlignment value) {
  FVerticalAlignment = value;
  Invalidate();
}

void TPxCanvasCellEditor::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style &= ~static_cast<DWORD>(WS_BORDER);
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TPxCanvasCellEditor::Dispatch(TMessage& m) {
  if (m.Msg == WM_NCPAINT && IsThemed()) {
    if (FBorderStyle == bsSingle && HandleAllocated()) PaintThemedEditFrame(FHandle);
    m.Result = 0;
    return;
  }
  TCustomControl::Dispatch(m);
}

// ---- Toggles ----

namespace {

template <class T>
void DescribeToggle(TClassBuilder<T>& c) {
  c.Property(u"Caption", &T::Caption, &T::SetCaption);
  c.Property(u"Checked", &T::Checked, &T::SetChecked).Default(0);
  c.Property(u"Grayed", &T::Grayed, &T::SetGrayed).Default(0);
  c.Property(u"Indent", &T::Indent, &T::SetIndent).Default(4);
  c.Property(u"Options", &T::Options, &T::SetOptions).Default(0);
  c.Property(u"OnChange", &T::OnChange);
}

// Places a square of the size in the rectangle by the alignments, 2 pixels in from the edges.
TRect PlaceBox(const TRect& area, Integer size, TAlignment alignment, TVerticalAlignment vertical) {
  Integer x = area.Left + (area.Width() - size) / 2;
  if (alignment == taLeftJustify) x = area.Left + 2;
  if (alignment == taRightJustify) x = area.Right - size - 2;
  Integer y = area.Top + (area.Height() - size) / 2;
  if (vertical == taAlignTop) y = area.Top + 2;
  if (vertical == taAlignBottom) y = area.Bottom - size - 2;
  return TRect(x, y, x + size, y + size);
}

}  // namespace

void TPxCustomToggle::Describe(TClassBuilder<TPxCustomToggle>&) {}

TPxCustomToggle::TPxCustomToggle(TComponent* owner) : TPxCanvasCellEditor(owner) {
  SetBounds(Left(), Top(), 75, 21);
}

void TPxCustomToggle::SetCaption(const String& value) {
  FCaption = value;
  Invalidate();
}

void TPxCustomToggle::SetIndent(Integer value) {
  FIndent = value;
  Invalidate();
}

void TPxCustomToggle::SetOptions(TCheckBoxOptions value) {
  FOptions = value;
  Invalidate();
}

void TPxCustomToggle::StoreChecked(bool value) {
  FChecked = value;
  RepaintBox();
  if (OnChange && CanFireEvents()) OnChange(this);
}

void TPxCustomToggle::SetChecked(bool value) {
  if (value == FChecked) return;
  StoreChecked(value);
}

TRect TPxCustomToggle::BoxRect() const {
  TRect area = ClientRect();
  area.Inflate(1, 1);
  return PlaceBox(area, IsThemed() ? 13 : 11, Alignment(), VerticalAlignment());
}

TRect TPxCustomToggle::DrawnBoxRect(Integer classicSize) const {
  return PlaceBox(ClientRect(), IsThemed() ? 13 : classicSize, Alignment(), VerticalAlignment());
}

TRect TPxCustomToggle::ActiveRect() const {
  return FOptions.Contains(coExpandActiveRect) ? ClientRect() : BoxRect();
}

int TPxCustomToggle::BoxState() const {
  int state = FHover ? (FDown ? 3 : 2) : 1;
  if (FChecked) state += 4;
  if (!Enabled()) state += 3;
  return state;
}

void TPxCustomToggle::RepaintBox() {
  if (!HandleAllocated()) return;
  TRect box = BoxRect();
  box.Inflate(1, 1);
  InvalidateWithoutErase(*this, box);
}

void TPxCustomToggle::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  PaintBox(canvas);
  canvas.Font().Assign(GetFont());
  canvas.Brush().SetStyle(bsClear);
  PaintCaption(canvas, BoxRect());
}

void TPxCustomToggle::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxCanvasCellEditor::MouseDown(button, shift, x, y);
  if (CanFocus() && !Focused()) SetFocus();
  if (button == mbLeft && ActiveRect().Contains(Point(x, y))) {
    FDown = true;
    RepaintBox();
  }
}

void TPxCustomToggle::MouseMove(TShiftState shift, Integer x, Integer y) {
  TPxCanvasCellEditor::MouseMove(shift, x, y);
  const bool hover = ActiveRect().Contains(Point(x, y));
  if (hover == FHover) return;
  FHover = hover;
  RepaintBox();
}

void TPxCustomToggle::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxCanvasCellEditor::MouseUp(button, shift, x, y);
  if (button == mbLeft && ActiveRect().Contains(Point(x, y))) ReleasedInside();
  if (FDown) {
    FDown = false;
    RepaintBox();
  }
}

void TPxCustomToggle::KeyDown(Word& key, TShiftState shift) {
  TPxCanvasCellEditor::KeyDown(key, shift);
  if (key == VK_SPACE) {
    FDown = true;
    RepaintBox();
  }
}

void TPxCustomToggle::KeyUp(Word& key, TShiftState shift) {
  TPxCanvasCellEditor::KeyUp(key, shift);
  if (key == VK_SPACE) {
    FDown = false;
    RepaintBox();
    // As a click does: a radio button is only ever checked by the user, so
    // that its group never stands with none checked.
    ReleasedInside();
  }
}

void TPxCustomToggle::CMMouseLeave(TMessage& m) {
  TPxCanvasCellEditor::CMMouseLeave(m);
  if (!FHover) return;
  FHover = false;
  RepaintBox();
}

void TPxCustomToggle::CMEnabledChanged(TMessage& m) {
  TPxCanvasCellEditor::CMEnabledChanged(m);
  Invalidate();
}

void TPxCustomToggle::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
}

// ---- Check box ----

void TPxCheckBox::Describe(TClassBuilder<TPxCheckBox>& c) {
  DescribeToggle(c);
}

TPxCheckBox::TPxCheckBox(TComponent* owner) : TPxCustomToggle(owner) {}

void TPxCheckBox::PaintBox(TCanvas& canvas) {
  const TRect box = DrawnBoxRect(11);
  if (IsThemed()) {
    DrawThemeElement(FHandle, canvas.Handle(), box, u"button", 3, BoxState());
    return;
  }
  canvas.Pen().SetColor(clBtnShadow);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(Down() ? clBtnFace : clWindow);
  canvas.Rectangle(box);
  if (!Checked()) return;
  canvas.Pen().SetColor(clWindowText);
  const Integer x = box.Left, y = box.Top;
  for (Integer row = 0; row < 3; ++row)
    canvas.Polyline({Point(x + 2, y + 4 + row), Point(x + 4, y + 6 + row), Point(x + 9, y + 1 + row)});
}

void TPxCheckBox::PaintCaption(TCanvas& canvas, const TRect& box) {
  TRect r = ClientRect();
  if (Alignment() == taRightJustify)
    r.Left = box.Left - canvas.TextWidth(Caption()) - Indent();
  else
    r.Left = box.Right + Indent();
  if (!Enabled()) canvas.Font().SetColor(clGrayText);
  UINT flags = DT_SINGLELINE | DT_LEFT | DT_NOPREFIX;
  flags |= VerticalAlignment() == taAlignTop ? DT_TOP : VerticalAlignment() == taAlignBottom ? DT_BOTTOM : DT_VCENTER;
  canvas.DrawText(Caption(), r, flags);
}

// ---- Radio button ----

void TPxRadioButton::Describe(TClassBuilder<TPxRadioButton>& c) {
  DescribeToggle(c);
}

TPxRadioButton::TPxRadioButton(TComponent* owner) : TPxCustomToggle(owner) {}

void TPxRadioButton::SetChecked(bool value) {
  if (value == Checked()) return;
  if (value && Parent()) {
    TWinControl* parent = Parent();
    for (int i = 0; i < parent->ControlCount(); ++i) {
      auto* sibling = dynamic_cast<TPxRadioButton*>(parent->Controls(i));
      if (!sibling || sibling == this) continue;
      if (auto* action = dynamic_cast<TCustomAction*>(sibling->Action()); action && action->AutoCheck())
        action->SetChecked(false);
      sibling->SetChecked(false);
    }
  }
  StoreChecked(value);
}

void TPxRadioButton::PaintBox(TCanvas& canvas) {
  const TRect box = DrawnBoxRect(12);
  if (IsThemed()) {
    DrawThemeElement(FHandle, canvas.Handle(), box, u"button", 2, BoxState());
    return;
  }
  RECT r = ToRECT(box);
  UINT state = DFCS_BUTTONRADIO;
  if (Down()) state |= DFCS_PUSHED;
  if (Checked()) state |= DFCS_CHECKED;
  if (!Enabled()) state |= DFCS_INACTIVE;
  DrawFrameControl(canvas.Handle(), &r, DFC_BUTTON, state);
}

void TPxRadioButton::PaintCaption(TCanvas& canvas, const TRect& box) {
  TRect r = ClientRect();
  r.Left = box.Right + Indent();
  // The system's disabled text, readable on the window colour.
  if (!Enabled()) canvas.Font().SetColor(clGrayText);
  DrawCaptionText(canvas, r, taLeftJustify, Caption(), true);
}
