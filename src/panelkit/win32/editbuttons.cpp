#include "panelkit/win32/editbuttons.h"
#include "panelkit/win32/lifeguard.h"

#include "panelkit/win32/editpublish.h"
#include "panelkit/win32/edits.h"
#include "panelkit/win32/shareddraw.h"
#include "panelkit/win32/themes.h"

KST_CLASS_IMPL(TPxSmallButton, "PxEdit")
KST_CLASS_IMPL(TPxExecuteButton, "PxEdit")
KST_CLASS_IMPL(TDropDownButton, "PxEdit")
KST_CLASS_IMPL(TPxSpinButtons, "PxEdit")

const TTypeInfo& DescribeType(TypeTag<pxedit::TSpinButton>) {
  static const TEnumTypeInfo t(u"TSpinButton", u"PxEdit", {u"sbUp", u"sbDown"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSpinButtonSet>) {
  static const TSetTypeInfo t(u"TSpinButtonSet", u"PxEdit",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<pxedit::TSpinButton>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSpinEvent>) {
  static const TMethodTypeInfo t(
      u"TSpinEvent", u"PxEdit", mkProcedure,
      {editpublish::Param(u"Sender", u"TObject"), editpublish::Param(u"Buttons", u"TSpinButtonSet")});
  return t;
}

namespace {

// The style states of a button: normal, hot, pressed, disabled.
int ButtonState(bool down, bool hover, bool disabled) {
  if (disabled) return 4;
  return down ? 3 : hover ? 2 : 1;
}

}  // namespace

// ---- Small button ----

void TPxSmallButton::Describe(TClassBuilder<TPxSmallButton>&) {}

TPxSmallButton::TPxSmallButton(TComponent* owner) : TCustomControl(owner) {
  SetTabStop(false);
}

void TPxSmallButton::SetCaption(const String& value) {
  FCaption = value;
  Invalidate();
}

void TPxSmallButton::SetDown(bool value) {
  FDown = value;
  Invalidate();
}

void TPxSmallButton::SetHover(bool value) {
  if (value == FHover) return;
  FHover = value;
  Invalidate();
}

bool TPxSmallButton::EditDisabled() const {
  return FCellEditor && !FCellEditor->Enabled();
}

void TPxSmallButton::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxLifeGuard guard(this);
  TCustomControl::MouseDown(button, shift, x, y);
  if (guard.Gone() || button != mbLeft) return;
  if (FCellEditor && FCellEditor->Visible() && FCellEditor->CanFocus()) FCellEditor->SetFocus();
  if (guard.Gone()) return;
  SetDown(true);
  if (OnButtonDown) OnButtonDown(this);
}

void TPxSmallButton::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TPxLifeGuard guard(this);
  TCustomControl::MouseUp(button, shift, x, y);
  if (guard.Gone() || !FDown) return;
  SetDown(false);
  Repaint();
  if (OnButtonClick) OnButtonClick(this);
}

void TPxSmallButton::CMMouseEnter(TMessage& m) {
  TCustomControl::CMMouseEnter(m);
  if (!ComponentState().Contains(csDesigning)) SetHover(true);
}

void TPxSmallButton::CMMouseLeave(TMessage& m) {
  TCustomControl::CMMouseLeave(m);
  if (!ComponentState().Contains(csDesigning)) SetHover(false);
}

void TPxSmallButton::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
}

// ---- Execute button ----

void TPxExecuteButton::Describe(TClassBuilder<TPxExecuteButton>&) {}

TPxExecuteButton::TPxExecuteButton(TComponent* owner) : TPxSmallButton(owner) {
  SetBounds(Left(), Top(), 21, Height());
}

void TPxExecuteButton::Paint() {
  TCanvas& canvas = Canvas();
  const TRect client = ClientRect();
  if (IsThemed()) {
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
    TRect face = client;
    face.Inflate(1, 1);
    DrawThemeElement(FHandle, canvas.Handle(), face, u"button", 1, ButtonState(Down(), Hover(), EditDisabled()));
  } else if (Down()) {
    canvas.Brush().SetColor(clBtnFace);
    canvas.Pen().SetColor(clBtnShadow);
    canvas.Rectangle(client);
  } else {
    RECT r = ToRECT(client);
    UINT state = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
    if (EditDisabled()) state |= DFCS_INACTIVE;
    DrawFrameControl(canvas.Handle(), &r, DFC_BUTTON, state);
  }
  if (FGlyph && !FGlyph->Empty())
    canvas.Draw(Width() / 2 - FGlyph->Width() / 2, Height() / 2 - FGlyph->Height() / 2, *FGlyph);
  if (!Caption().empty()) {
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().Assign(GetFont());
    if (EditDisabled()) canvas.Font().SetColor(clGrayText);
    DrawCaptionText(canvas, client, taCenter, Caption(), true);
  }
}

// ---- Drop-down button ----

void TDropDownButton::Describe(TClassBuilder<TDropDownButton>&) {}

TDropDownButton::TDropDownButton(TComponent* owner) : TPxSmallButton(owner) {
  SetBounds(Left(), Top(), 16, Height());
}

void TDropDownButton::Paint() {
  TCanvas& canvas = Canvas();
  const TRect client = ClientRect();
  canvas.Brush().SetColor(clWindow);
  canvas.FillRect(client);
  if (IsThemed()) {
    DrawThemeElement(FHandle, canvas.Handle(), client, u"combobox", 1, ButtonState(Down(), Hover(), EditDisabled()));
    return;
  }
  RECT r = ToRECT(client);
  UINT state = DFCS_SCROLLCOMBOBOX | DFCS_ADJUSTRECT;
  if (Down()) state |= DFCS_PUSHED;
  if (EditDisabled()) state |= DFCS_INACTIVE;
  DrawFrameControl(canvas.Handle(), &r, DFC_SCROLL, state);
}

// ---- Spin buttons ----

void TPxSpinButtons::Describe(TClassBuilder<TPxSpinButtons>&) {}

TPxSpinButtons::TPxSpinButtons(TComponent* owner) : TCustomControl(owner) {
  FRepeatTimer = new TTimer(this);
  FRepeatTimer->SetEnabled(false);
  FRepeatTimer->SetInterval(kRepeatInterval);
  FRepeatTimer->SetOnTimer(TNotifyEvent(this, &TPxSpinButtons::RepeatElapsed));
  FDelayTimer = new TTimer(this);
  FDelayTimer->SetEnabled(false);
  FDelayTimer->SetInterval(kRepeatDelay);
  FDelayTimer->SetOnTimer(TNotifyEvent(this, &TPxSpinButtons::DelayElapsed));
  SetTabStop(false);
}

bool TPxSpinButtons::EditDisabled() const {
  return FCellEditor && !FCellEditor->Enabled();
}

void TPxSpinButtons::Spin() {
  if (OnSpin) OnSpin(this, FPressedButtons);
}

void TPxSpinButtons::DelayElapsed(TObject*) {
  FDelayTimer->SetEnabled(false);
  FRepeatTimer->SetEnabled(true);
}

void TPxSpinButtons::RepeatElapsed(TObject*) {
  if (FPressedButtons.Empty())
    FRepeatTimer->SetEnabled(false);
  else
    Spin();
}

void TPxSpinButtons::SetHoverButtons(TSpinButtonSet value) {
  if (ComponentState().Contains(csDesigning)) return;
  FHoverButtons = value;
  Invalidate();
}

void TPxSpinButtons::SetPressedButtons(TSpinButtonSet value) {
  FPressedButtons = value;
  if (!value.Empty()) {
    FRepeatTimer->SetEnabled(false);
    FDelayTimer->SetEnabled(false);
    FDelayTimer->SetEnabled(true);
    Spin();
  } else {
    FDelayTimer->SetEnabled(false);
    FRepeatTimer->SetEnabled(false);
  }
  Invalidate();
}

void TPxSpinButtons::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  SetPressedButtons(y < Height() / 2 ? TSpinButtonSet{pxedit::sbUp} : TSpinButtonSet{pxedit::sbDown});
}

void TPxSpinButtons::MouseMove(TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseMove(shift, x, y);
  SetHoverButtons(y < Height() / 2 ? TSpinButtonSet{pxedit::sbUp} : TSpinButtonSet{pxedit::sbDown});
}

void TPxSpinButtons::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  SetPressedButtons({});
}

void TPxSpinButtons::CMMouseLeave(TMessage& m) {
  TCustomControl::CMMouseLeave(m);
  SetHoverButtons({});
}

void TPxSpinButtons::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
}

void TPxSpinButtons::Paint() {
  TCanvas& canvas = Canvas();
  const Integer middle = ClientHeight() / 2;
  const TRect up(0, -1, ClientWidth(), middle);
  const TRect down(0, middle, ClientWidth(), ClientHeight());
  const bool disabled = EditDisabled() || !Enabled();
  if (IsThemed()) {
    DrawThemeElement(FHandle, canvas.Handle(), up, u"spin", 1,
                     ButtonState(FPressedButtons.Contains(pxedit::sbUp), FHoverButtons.Contains(pxedit::sbUp), disabled));
    DrawThemeElement(FHandle, canvas.Handle(), down, u"spin", 2,
                     ButtonState(FPressedButtons.Contains(pxedit::sbDown), FHoverButtons.Contains(pxedit::sbDown), disabled));
    return;
  }
  auto frame = [&](TRect rect, UINT kind, bool pressed) {
    RECT r = ToRECT(rect);
    UINT state = kind | DFCS_ADJUSTRECT;
    if (pressed) state |= DFCS_PUSHED;
    if (disabled) state |= DFCS_INACTIVE;
    DrawFrameControl(canvas.Handle(), &r, DFC_SCROLL, state);
  };
  frame(up, DFCS_SCROLLUP, FPressedButtons.Contains(pxedit::sbUp));
  frame(down, DFCS_SCROLLDOWN, FPressedButtons.Contains(pxedit::sbDown));
}

void PlaceSpinButtons(TPxSpinButtons& buttons, Integer clientWidth, Integer clientHeight, bool singleBorder,
                      bool visible) {
  const Integer spinWidth = GetSystemMetrics(SM_CXVSCROLL);
  if (singleBorder)
    buttons.SetBounds(clientWidth - spinWidth, 1, spinWidth, clientHeight - 1);
  else
    buttons.SetBounds(clientWidth - spinWidth, 0, spinWidth, clientHeight + 1);
  buttons.SetVisible(visible);
}
