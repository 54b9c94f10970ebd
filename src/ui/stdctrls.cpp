#include "ui/stdctrls.h"

#include "rtl/character.h"
#include "ui/forms.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TLabel, "StdCtrls")
KST_CLASS_IMPL(TButton, "StdCtrls")

const TTypeInfo& DescribeType(TypeTag<TAlignment>) {
  static const TEnumTypeInfo t(u"TAlignment", u"Classes", {u"taLeftJustify", u"taRightJustify", u"taCenter"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TTextLayout>) {
  static const TEnumTypeInfo t(u"TTextLayout", u"StdCtrls", {u"tlTop", u"tlCenter", u"tlBottom"});
  return t;
}

bool IsAccel(Word key, const String& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] == u'&') {
      ++i;
      continue;
    }
    Char c = caption[i + 1];
    Char k = static_cast<Char>(key);
    if (c >= u'a' && c <= u'z') c = static_cast<Char>(c - u'a' + u'A');
    if (k >= u'a' && k <= u'z') k = static_cast<Char>(k - u'a' + u'A');
    return c == k;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Label

void TLabel::Describe(TClassBuilder<TLabel>& c) {
  publish::Align(c);
  c.Property(u"Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
  publish::Anchors(c);
  c.Property(u"AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(1);
  publish::Caption(c);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  c.Property(u"FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
  publish::Font(c);
  c.Property(u"Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(u"ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(1);
  publish::ShowHint(c);
  c.Property(u"Transparent", &TLabel::Transparent, &TLabel::SetTransparent);
  publish::Visible(c);
  c.Property(u"WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(0);
  publish::MouseEvents(c);
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csReplicatable, csDoubleClicks};
  SetBounds(0, 0, 65, 17);
}

UINT TLabel::TextFlags() const {
  static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT flags = DT_EXPANDTABS | alignments[FAlignment];
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  return flags;
}

void TLabel::Paint() {
  TCanvas& canvas = Canvas();
  TRect r = ClientRect();
  if (!Transparent()) {
    canvas.Brush().SetColor(Color());
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(r);
  }
  canvas.Brush().SetStyle(bsClear);
  canvas.Font().Assign(&Font());
  String text = Caption();
  if (text.empty() || (FShowAccelChar && text == u"&")) text += u' ';
  UINT flags = TextFlags();
  if (FLayout != tlTop) {
    TRect calc = r;
    canvas.DrawText(text, calc, flags | DT_CALCRECT);
    Integer offset = r.Height() - calc.Height();
    if (FLayout == tlCenter) offset /= 2;
    r.Top += offset;
  }
  if (!Enabled()) {
    r.Offset(1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    canvas.DrawText(text, r, flags);
    r.Offset(-1, -1);
    canvas.Font().SetColor(clBtnShadow);
  }
  canvas.DrawText(text, r, flags);
}

void TLabel::AdjustBounds() {
  if (!FAutoSize || ComponentState().Contains(csLoading)) return;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font().Handle());
  String text = Caption();
  if (text.empty() || (FShowAccelChar && text == u"&")) text += u' ';
  RECT r{0, 0, FWordWrap ? FWidth : 0, 0};
  DrawTextW(dc, WStr(text), static_cast<int>(text.size()), &r, TextFlags() | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  Integer width = r.right - r.left, height = r.bottom - r.top;
  Integer left = FLeft;
  if (FAlignment == taRightJustify && !FWordWrap)
    left = FLeft + FWidth - width;
  else if (FAlignment == taCenter && !FWordWrap)
    left = FLeft + (FWidth - width) / 2;
  SetBounds(left, FTop, width, height);
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      AdjustBounds();
      break;
    case CM_DIALOGCHAR:
      if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(static_cast<Word>(m.WParam), Caption()) &&
          FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        m.Result = 1;
      }
      break;
    default: TGraphicControl::Dispatch(m); break;
  }
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TLabel::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  Invalidate();
}
void TLabel::SetLayout(TTextLayout value) {
  if (value == FLayout) return;
  FLayout = value;
  Invalidate();
}
void TLabel::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  AdjustBounds();
}
void TLabel::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  AdjustBounds();
  Invalidate();
}
void TLabel::SetTransparent(bool value) {
  if (value == Transparent()) return;
  if (value)
    FControlStyle.Exclude(csOpaque);
  else
    FControlStyle.Include(csOpaque);
  Invalidate();
}
void TLabel::SetShowAccelChar(bool value) {
  if (value == FShowAccelChar) return;
  FShowAccelChar = value;
  AdjustBounds();
  Invalidate();
}
void TLabel::SetFocusControl(TWinControl* control) {
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = control;
  if (control) control->FreeNotification(this);
}

// ---------------------------------------------------------------------------
// Button

void TButton::Describe(TClassBuilder<TButton>& c) {
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"Cancel", &TButton::Cancel, &TButton::SetCancel).Default(0);
  publish::Caption(c);
  publish::Constraints(c);
  c.Property(u"Default", &TButton::Default, &TButton::SetDefault).Default(0);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"ModalResult", &TButton::ModalResult, &TButton::SetModalResult, &ModalResultType()).Default(0);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TButton::TabStop, &TButton::SetTabStop).Default(1);
  publish::Visible(c);
  c.Property(u"OnClick", &TButton::OnClick);
  c.Property(u"OnContextPopup", &TButton::OnContextPopup);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
  c.Property(u"OnMouseDown", &TButton::OnMouseDown);
  c.Property(u"OnMouseEnter", &TButton::OnMouseEnter);
  c.Property(u"OnMouseLeave", &TButton::OnMouseLeave);
  c.Property(u"OnMouseMove", &TButton::OnMouseMove);
  c.Property(u"OnMouseUp", &TButton::OnMouseUp);
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  FControlStyle = {csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"BUTTON");
  params.Style |= FActive ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TButton::SetButtonStyle(bool isDefault) {
  if (!HandleAllocated()) return;
  UINT style = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((GetWindowLongW(FHandle, GWL_STYLE) & 0xF) != style) SendMessageW(FHandle, BM_SETSTYLE, style, 1);
}

void TButton::SetDefault(bool value) {
  FDefault = value;
  // The default button answers Enter unless another button has the focus.
  TCustomForm* form = GetParentForm(this);
  TWinControl* active = form ? form->ActiveControl() : nullptr;
  if (!dynamic_cast<TButton*>(active)) {
    FActive = value;
    SetButtonStyle(value);
  }
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TWinControl::Click();
}

void TButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      m.Result = 0;
      break;
    case WM_ERASEBKGND: DefaultHandler(m); break;
    default: TWinControl::Dispatch(m); break;
  }
}

void TButton::CMDialogKey(TMessage& m) {
  bool pressed = (m.WParam == VK_RETURN && FActive) || (m.WParam == VK_ESCAPE && FCancel);
  if (pressed && KeyDataToShiftState(m.LParam).Empty() && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  TWinControl::CMDialogKey(m);
}

void TButton::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<Word>(m.WParam), Caption()) && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  TWinControl::CMDialogChar(m);
}

void TButton::CMFocusChanged(TMessage& m) {
  auto* sender = reinterpret_cast<TWinControl*>(m.LParam);
  if (dynamic_cast<TButton*>(sender))
    FActive = sender == this;
  else
    FActive = FDefault;
  SetButtonStyle(FActive);
  TWinControl::CMFocusChanged(m);
}
