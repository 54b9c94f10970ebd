// Two-state switches: a track with the word for the state and a knob on the
// left when off and on the right when on; a rectangular one (optionally
// rounded, shadowed, glassy or in the visual style) and a pill-shaped one.
#pragma once

#include "ui/controls.h"

class TCustomOnOffSwitch : public TCustomControl {
  KST_CLASS(TCustomOnOffSwitch, TCustomControl)
 public:
  explicit TCustomOnOffSwitch(TComponent* owner);

  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  TColor OnColor() const { return FOnColor; }
  void SetOnColor(TColor value) { Change(FOnColor, value); }
  TColor OffColor() const { return FOffColor; }
  void SetOffColor(TColor value) { Change(FOffColor, value); }
  TColor SliderColor() const { return FSliderColor; }
  void SetSliderColor(TColor value) { Change(FSliderColor, value); }
  bool EmbossedText() const { return FEmbossedText; }
  void SetEmbossedText(bool value) { Change(FEmbossedText, value); }
  const String& OnText() const { return FOnText; }
  void SetOnText(const String& value);
  const String& OffText() const { return FOffText; }
  void SetOffText(const String& value);
  const String& About() const { return FAbout; }
  // The knob's half of the client area.
  TRect SliderRect() const { return FSliderRect; }
  bool MouseHover() const { return FMouseHover; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void KeyUp(Word& key, TShiftState shift) override;
  void Dispatch(TMessage& message) override;
  void UpdateSlider();
  // Draws the caption centred in the area, embossed when enabled.
  void DrawCaption(TRect area, TColor embossColor);
  template <class V>
  void Change(V& field, const V& value) {
    if (field == value) return;
    field = value;
    UpdateSlider();
    Invalidate();
  }

 private:
  String FAbout;
  bool FMouseHover = false;
  bool FChecked = false;
  TRect FSliderRect;
  TColor FOnColor = 0x3CC556;
  TColor FOffColor = 0xDCCFC1;
  TColor FSliderColor = 0xE6EAEC;
  bool FEmbossedText = true;
  String FOnText = u"ON";
  String FOffText = u"OFF";
};

class TOnOffSwitch : public TCustomOnOffSwitch {
  KST_CLASS(TOnOffSwitch, TCustomOnOffSwitch)
 public:
  explicit TOnOffSwitch(TComponent* owner);
  bool UseThemes() const { return FUseThemes; }
  void SetUseThemes(bool value) { Change(FUseThemes, value); }
  bool GlassEffect() const { return FGlass; }
  void SetGlassEffect(bool value) { Change(FGlass, value); }
  bool Shadow() const { return FShadow; }
  void SetShadow(bool value) { Change(FShadow, value); }
  Byte Radius() const { return FRadius; }
  void SetRadius(Byte value) { Change(FRadius, value); }
  TColor GlassColor() const { return FGlassColor; }
  void SetGlassColor(TColor value) { Change(FGlassColor, value); }

 protected:
  void Paint() override;

 private:
  bool PaintThemed();
  TRect TextArea() const;
  bool FUseThemes = false;
  bool FGlass = true;
  bool FShadow = true;
  Byte FRadius = 0;
  TColor FGlassColor = clWhite;
};

class TRoundOnOffSwitch : public TCustomOnOffSwitch {
  KST_CLASS(TRoundOnOffSwitch, TCustomOnOffSwitch)
 public:
  explicit TRoundOnOffSwitch(TComponent* owner);
  TColor DisabledColor() const { return FDisColor; }
  void SetDisabledColor(TColor value) { Change(FDisColor, value); }
  Cardinal SliderWidth() const { return FSliderWidth; }
  void SetSliderWidth(Cardinal value) { Change(FSliderWidth, value); }
  // The knob's width: SliderWidth, but at least round in the track.
  Integer KnobWidth() const;

 protected:
  void Paint() override;

 private:
  TColor FDisColor = 0xC0C0C0;
  Cardinal FSliderWidth = 0;
};
