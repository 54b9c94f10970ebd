#include "winbar/win32/onoffswitch.h"

#include <uxtheme.h>

#include <vsstyle.h>
#include <cmath>

#include "ui/publish.h"
#include "winbar/graphutils.h"
#include "winbar/win32/buttongroup.h"

KST_CLASS_IMPL(TCustomOnOffSwitch, "Obrix_OnOffSwitch")
KST_CLASS_IMPL(TOnOffSwitch, "Obrix_OnOffSwitch")
KST_CLASS_IMPL(TRoundOnOffSwitch, "Obrix_OnOffSwitch")

namespace {

constexpr TColor kDisabledText = 0xA0A0A0;

template <class T>
void PublishSwitch(TClassBuilder<T>& c) {
  c.Property(u"About", &T::About);
  publish::Anchors(c);
  c.Property(u"Checked", &T::Checked, &T::SetChecked);
  publish::Constraints(c);
  c.Property(u"EmbossedText", &T::EmbossedText, &T::SetEmbossedText);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"OffColor", &T::OffColor, &T::SetOffColor, &types::Color());
  c.Property(u"OffText", &T::OffText, &T::SetOffText);
  c.Property(u"OnColor", &T::OnColor, &T::SetOnColor, &types::Color());
  c.Property(u"OnText", &T::OnText, &T::SetOnText);
  c.Property(u"ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(0);
  publish::PopupMenu(c);
  c.Property(u"ShowHint", &TControl::ShowHint, &TControl::SetShowHint);
  c.Property(u"SliderColor", &T::SliderColor, &T::SetSliderColor, &types::Color());
  publish::TabOrder(c);
  c.Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
}

}  // namespace

void TCustomOnOffSwitch::Describe(TClassBuilder<TCustomOnOffSwitch>&) {}

TCustomOnOffSwitch::TCustomOnOffSwitch(TComponent* owner) : TCustomControl(owner), FAbout(kWinbarAbout) {
  FControlStyle = {csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
  SetBounds(Left(), Top(), 75, 25);
  SetTabStop(true);
  SetParentFont(false);
  Font().SetName(u"Tahoma");
  Font().SetStyle({fsBold});
  Font().SetColor(0x555555);
  UpdateSlider();
}

void TCustomOnOffSwitch::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.ExStyle |= WS_EX_TRANSPARENT;
}

void TCustomOnOffSwitch::UpdateSlider() {
  FSliderRect = SwitchKnobRect(Width(), Height(), FChecked);
}

void TCustomOnOffSwitch::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  SetCaption(FChecked ? FOnText : FOffText);
  UpdateSlider();
  Invalidate();
}

void TCustomOnOffSwitch::SetOnText(const String& value) {
  if (value == FOnText) return;
  FOnText = value;
  SetCaption(FChecked ? FOnText : FOffText);
  UpdateSlider();
  Invalidate();
}

void TCustomOnOffSwitch::SetOffText(const String& value) {
  if (value == FOffText) return;
  FOffText = value;
  SetCaption(FChecked ? FOnText : FOffText);
  UpdateSlider();
  Invalidate();
}

void TCustomOnOffSwitch::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft && !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt) &&
      !shift.Contains(ssDouble)) {
    if (FSliderRect.Contains(Point(x, y))) SetChecked(!FChecked);
    if (CanFocus()) SetFocus();
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomOnOffSwitch::MouseMove(TShiftState shift, Integer x, Integer y) {
  if (!GetCaptureControl()) {
    bool hover = FSliderRect.Contains(Point(x, y));
    if (hover != FMouseHover) {
      FMouseHover = hover;
      Invalidate();
    }
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TCustomOnOffSwitch::KeyUp(Word& key, TShiftState shift) {
  if (key == VK_SPACE) SetChecked(!FChecked);
  TCustomControl::KeyUp(key, shift);
}

void TCustomOnOffSwitch::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND:
      SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
      message.Result = 1;
      return;
    case CM_MOUSELEAVE:
      FMouseHover = false;
      Invalidate();
      break;
    case CM_ENABLEDCHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(message);
      Invalidate();
      return;
    case WM_WINDOWPOSCHANGED:
      TCustomControl::Dispatch(message);
      UpdateSlider();
      Font().SetSize(SwitchFontSize(Height()));
      return;
    default: break;
  }
  TCustomControl::Dispatch(message);
}

void TCustomOnOffSwitch::DrawCaption(TRect area, TColor embossColor) {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetStyle(bsClear);
  canvas.Font().Assign(&Font());
  String caption = Caption();
  const TTextFormat format{tfCenter, tfSingleLine, tfVerticalCenter};
  if (Enabled() && FEmbossedText) {
    TRect shadow = area;
    shadow.Offset(1, 1);
    canvas.Font().SetColor(embossColor);
    canvas.TextRect(shadow, caption, format);
  }
  canvas.Font().SetColor(Enabled() ? Font().Color() : kDisabledText);
  canvas.TextRect(area, caption, format);
  canvas.Brush().SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------

void TOnOffSwitch::Describe(TClassBuilder<TOnOffSwitch>& c) {
  PublishSwitch(c);
  c.Property(u"GlassColor", &TOnOffSwitch::GlassColor, &TOnOffSwitch::SetGlassColor, &types::Color());
  c.Property(u"GlassEffect", &TOnOffSwitch::GlassEffect, &TOnOffSwitch::SetGlassEffect);
  c.Property(u"Radius", &TOnOffSwitch::Radius, &TOnOffSwitch::SetRadius);
  c.Property(u"Shadow", &TOnOffSwitch::Shadow, &TOnOffSwitch::SetShadow);
  c.Property(u"UseThemes", &TOnOffSwitch::UseThemes, &TOnOffSwitch::SetUseThemes);
}

TOnOffSwitch::TOnOffSwitch(TComponent* owner) : TCustomOnOffSwitch(owner) {
  SetCaption(OffText());
}

TRect TOnOffSwitch::TextArea() const {
  // The caption keeps clear of the knob.
  Integer shift = static_cast<Integer>(std::nearbyint(Width() * 0.4));
  TRect text = Rect(0, 0, Width(), Height());
  if (Checked())
    text.Right -= shift;
  else
    text.Left += shift;
  return text;
}

bool TOnOffSwitch::PaintThemed() {
  if (!FUseThemes || !IsThemeActive() || !IsAppThemed()) return false;
  HTHEME theme = OpenThemeData(Handle(), L"BUTTON");
  if (!theme) return false;
  HDC dc = Canvas().Handle();
  RECT r{0, 0, Width(), Height()};
  int track = !Enabled() ? PBS_DISABLED : (Checked() ? PBS_PRESSED : PBS_NORMAL);
  DrawThemeBackground(theme, dc, BP_PUSHBUTTON, track, &r, nullptr);
  TRect text = TextArea();
  DrawCaption(text, clWhite);
  TRect knobRect = SliderRect();
  knobRect.Inflate(-2, -2);
  RECT knob{knobRect.Left, knobRect.Top, knobRect.Right, knobRect.Bottom};
  int state = !Enabled() ? PBS_DISABLED : (Focused() ? PBS_DEFAULTED : (MouseHover() ? PBS_HOT : PBS_NORMAL));
  DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &knob, nullptr);
  if (Focused()) {
    RECT content{};
    GetThemeBackgroundContentRect(theme, dc, BP_PUSHBUTTON, state, &knob, &content);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &content);
  }
  CloseThemeData(theme);
  return true;
}

void TOnOffSwitch::Paint() {
  if (PaintThemed()) return;
  TCanvas& canvas = Canvas();
  TColor savedBrush = canvas.Brush().Color();
  Integer radius = FGlass ? 0 : FRadius;
  TRect r = Rect(0, 0, Width(), Height());
  r.Inflate(-1, -1);
  canvas.Brush().SetColor(clBtnFace);
  if (Enabled() && FShadow) {
    canvas.Pen().SetColor(ColorShadow(clBtnFace, -50));
    canvas.RoundRect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1, radius, radius);
  }
  TColor track = Checked() ? OnColor() : OffColor();
  if (Enabled()) {
    canvas.Pen().SetColor(0x808080);
    canvas.Brush().SetColor(track);
  } else {
    canvas.Pen().SetColor(0xC0C0C0);
    canvas.Brush().SetColor(clBtnFace);
  }
  canvas.RoundRect(r.Left, r.Top, r.Right, r.Bottom, radius, radius);
  if (Enabled() && FGlass) {
    TRect inner = r;
    inner.Inflate(-1, -1);
    DrawGlassGradient(canvas, inner, FGlassColor, track, inner.Height() / 2);
  }
  TRect text = TextArea();
  DrawCaption(text, ColorShadow(Font().Color(), -100));

  TRect knob = SliderRect();
  knob.Inflate(-4, -4);
  canvas.Brush().SetColor(Enabled() ? SliderColor() : clBtnFace);
  canvas.RoundRect(knob.Left, knob.Top, knob.Right, knob.Bottom, radius, radius);
  if (Enabled() && FGlass) {
    TRect inner = knob;
    inner.Inflate(-1, -1);
    DrawGlassGradient(canvas, inner, FGlassColor, SliderColor(), inner.Height() / 2);
  }
  if (Focused()) {
    TRect focus = knob;
    focus.Inflate(-1, -1);
    canvas.Font().SetColor(clBlack);
    canvas.DrawFocusRect(focus);
  }
  canvas.Brush().SetColor(savedBrush);
}

// ---------------------------------------------------------------------------

void TRoundOnOffSwitch::Describe(TClassBuilder<TRoundOnOffSwitch>& c) {
  PublishSwitch(c);
  c.Property(u"DisabledColor", &TRoundOnOffSwitch::DisabledColor, &TRoundOnOffSwitch::SetDisabledColor,
             &types::Color());
  c.Property(u"SliderWidth", &TRoundOnOffSwitch::SliderWidth, &TRoundOnOffSwitch::SetSliderWidth);
}

TRoundOnOffSwitch::TRoundOnOffSwitch(TComponent* owner) : TCustomOnOffSwitch(owner) {
  SetWidth(60);
  Font().SetColor(clWhite);
  Font().SetStyle({});
  SetOffColor(0xC4AD95);
  SetOnColor(0x3CC556);
  SetCaption(OffText());
}

Integer TRoundOnOffSwitch::KnobWidth() const {
  Integer trackHeight = Height() - 2;
  return std::max<Integer>(static_cast<Integer>(FSliderWidth), trackHeight - 4);
}

void TRoundOnOffSwitch::Paint() {
  TCanvas& canvas = Canvas();
  TRect r = Rect(1, 1, Width() - 1, Height() - 1);
  TColor track = Enabled() ? (Checked() ? OnColor() : OffColor()) : FDisColor;
  TColor knobColor = Enabled() ? SliderColor() : ColorShadow(FDisColor, 25);
  Integer knobWidth = KnobWidth();
  canvas.Pen().SetColor(ColorShadow(track, -50));
  canvas.Brush().SetColor(track);
  canvas.RoundRect(r.Left, r.Top, r.Right, r.Bottom, r.Height(), r.Height());
  TRect knob = r;
  knob.Inflate(-2, -2);
  knob.Right = knob.Left + knobWidth;
  if (Checked()) knob.Offset(r.Width() - knobWidth - 4, 0);
  canvas.Pen().SetColor(ColorShadow(knobColor, -50));
  canvas.Brush().SetColor(knobColor);
  canvas.RoundRect(knob.Left, knob.Top, knob.Right, knob.Bottom, knob.Height(), knob.Height());
  TRect text = r;
  text.Inflate(-2, -2);
  text.Right -= knobWidth + 2;
  if (!Checked()) text.Offset(knobWidth, 0);
  DrawCaption(text, ColorShadow(Font().Color(), -100));
}
