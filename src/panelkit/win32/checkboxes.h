// A control painted wholly on its own canvas with alignments, a margin and
// a border in the visual style, and the two toggles on it that a grid can
// use as cell editors: the check box and the radio button (which unchecks
// its siblings).
#pragma once

#include "ui/winapi.h"

#include "panelkit/providers.h"
#include "rtl/sets.h"
#include "ui/controls.h"
#include "ui/stdctrls.h"

enum TCheckBoxOption { coExpandActiveRect };
using TCheckBoxOptions = TSet<TCheckBoxOption>;
const TTypeInfo& DescribeType(TypeTag<TVerticalAlignment>);
const TTypeInfo& DescribeType(TypeTag<TCheckBoxOption>);
const TTypeInfo& DescribeType(TypeTag<TCheckBoxOptions>);

class TPxCanvasCellEditor : public TCustomControl {
  KST_CLASS(TPxCanvasCellEditor, TCustomControl)
 public:
  explicit TPxCanvasCellEditor(TComponent* owner);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer value);
  TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
  void SetVerticalAlignment(TVerticalAlignment value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;

 private:
  TAlignment FAlignment = taLeftJustify;
  TVerticalAlignment FVerticalAlignment = taVerticalCenter;
  Integer FMargin = 0;
  TFormBorderStyle FBorderStyle = bsSingle;
};

// What the check box and the radio button share: the box, its active area,
// pressing, hovering and the caption.
class TPxCustomToggle : public TPxCanvasCellEditor {
  KST_CLASS(TPxCustomToggle, TPxCanvasCellEditor)
 public:
  explicit TPxCustomToggle(TComponent* owner);
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  bool Checked() const { return FChecked; }
  virtual void SetChecked(bool value);
  bool Down() const { return FDown; }
  bool Grayed() const { return FGrayed; }
  void SetGrayed(bool value) { FGrayed = value; }
  bool Hover() const { return FHover; }
  Integer Indent() const { return FIndent; }
  void SetIndent(Integer value);
  TCheckBoxOptions Options() const { return FOptions; }
  void SetOptions(TCheckBoxOptions value);
  void BeginEditing() { Repaint(); }
  void Clear() { SetChecked(false); }
  // The box as hit tests and repaints see it, in client coordinates.
  TRect BoxRect() const;
  // Where a press toggles: the box, or the whole control.
  TRect ActiveRect() const;
  TNotifyEvent OnChange;

 protected:
  // The box as drawn, in client coordinates.
  TRect DrawnBoxRect(Integer classicSize) const;
  void StoreChecked(bool value);
  virtual void PaintBox(TCanvas& canvas) = 0;
  virtual void PaintCaption(TCanvas& canvas, const TRect& box) = 0;
  // What a left release in the active area does.
  virtual void ReleasedInside() = 0;
  // The style state of the box: unchecked 1, hot 2, pressed 3; checked adds 4; disabled adds 3.
  int BoxState() const;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyUp(Word& key, TShiftState shift) override;
  void CMMouseLeave(TMessage& message) override;
  void CMEnabledChanged(TMessage& message) override;
  void WMEraseBkgnd(TMessage& message) override;

 private:
  void RepaintBox();
  String FCaption;
  bool FChecked = false;
  bool FDown = false;
  bool FGrayed = false;
  bool FHover = false;
  Integer FIndent = 4;
  TCheckBoxOptions FOptions;
};

class TPxCheckBox : public TPxCustomToggle {
  KST_CLASS(TPxCheckBox, TPxCustomToggle)
 public:
  explicit TPxCheckBox(TComponent* owner);

 protected:
  void PaintBox(TCanvas& canvas) override;
  void PaintCaption(TCanvas& canvas, const TRect& box) override;
  void ReleasedInside() override { SetChecked(!Checked()); }
};

class TPxRadioButton : public TPxCustomToggle {
  KST_CLASS(TPxRadioButton, TPxCustomToggle)
 public:
  explicit TPxRadioButton(TComponent* owner);
  // Checking unchecks the other radio buttons of the same parent first.
  void SetChecked(bool value) override;

 protected:
  void PaintBox(TCanvas& canvas) override;
  void PaintCaption(TCanvas& canvas, const TRect& box) override;
  void ReleasedInside() override { SetChecked(true); }
};
