// The small buttons the edits place inside themselves: the push button of
// the button edits, the drop-down arrow of the popup edits and the up/down
// pair of the spin edits with its auto-repeat. Each belongs to its edit,
// never takes the focus and draws disabled with it.
#pragma once

#include "ui/winapi.h"

#include "rtl/sets.h"
#include "ui/controls.h"
#include "ui/extctrls.h"
#include "ui/graphics.h"

class TPxCustomEdit;

// The halves of the up/down pair. The platform's library has a spin button
// class of the same name, so the panel kit's enumeration lives in a
// namespace of its own; the panel kit names only its set.
namespace pxedit {
enum TSpinButton { sbUp, sbDown };
}  // namespace pxedit
using TSpinButtonSet = TSet<pxedit::TSpinButton>;
using TSpinEvent = TDelegate<void(TObject* Sender, TSpinButtonSet Buttons)>;
const TTypeInfo& DescribeType(TypeTag<pxedit::TSpinButton>);
const TTypeInfo& DescribeType(TypeTag<TSpinButtonSet>);
const TTypeInfo& DescribeType(TypeTag<TSpinEvent>);

// Tracks press and hover and tells its edit; paints nothing itself.
class TPxSmallButton : public TCustomControl {
  KST_CLASS(TPxSmallButton, TCustomControl)
 public:
  explicit TPxSmallButton(TComponent* owner);
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  bool Down() const { return FDown; }
  void SetDown(bool value);
  bool Hover() const { return FHover; }
  void SetHover(bool value);
  TPxCustomEdit* CellEditor() const { return FCellEditor; }
  void SetCellEditor(TPxCustomEdit* value) { FCellEditor = value; }
  TNotifyEvent OnButtonClick;
  TNotifyEvent OnButtonDown;

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseEnter(TMessage& message) override;
  void CMMouseLeave(TMessage& message) override;
  void WMEraseBkgnd(TMessage& message) override;
  // Whether the owning edit draws disabled.
  bool EditDisabled() const;

 private:
  String FCaption;
  TPxCustomEdit* FCellEditor = nullptr;
  bool FDown = false;
  bool FHover = false;
};

// A push button with an optional glyph (owned by someone else) and a caption.
class TPxExecuteButton : public TPxSmallButton {
  KST_CLASS(TPxExecuteButton, TPxSmallButton)
 public:
  explicit TPxExecuteButton(TComponent* owner);
  TBitmap* Glyph() const { return FGlyph; }
  void SetGlyph(TBitmap* value) { FGlyph = value; }

 protected:
  void Paint() override;

 private:
  TBitmap* FGlyph = nullptr;
};

// The drop-down arrow.
class TDropDownButton : public TPxSmallButton {
  KST_CLASS(TDropDownButton, TPxSmallButton)
 public:
  explicit TDropDownButton(TComponent* owner);

 protected:
  void Paint() override;
};

// The up/down pair: one step at a press, repeating after a delay while held.
class TPxSpinButtons : public TCustomControl {
  KST_CLASS(TPxSpinButtons, TCustomControl)
 public:
  static constexpr Cardinal kRepeatDelay = 400;
  static constexpr Cardinal kRepeatInterval = 20;

  explicit TPxSpinButtons(TComponent* owner);
  TPxCustomEdit* CellEditor() const { return FCellEditor; }
  void SetCellEditor(TPxCustomEdit* value) { FCellEditor = value; }
  TSpinButtonSet HoverButtons() const { return FHoverButtons; }
  void SetHoverButtons(TSpinButtonSet value);
  TSpinButtonSet PressedButtons() const { return FPressedButtons; }
  // Non-empty: one step now and the repeat after the delay; empty: no more steps.
  void SetPressedButtons(TSpinButtonSet value);
  bool Repeating() const { return FRepeatTimer->Enabled(); }
  TSpinEvent OnSpin;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseLeave(TMessage& message) override;
  void WMEraseBkgnd(TMessage& message) override;

 private:
  void Spin();
  void DelayElapsed(TObject* sender);
  void RepeatElapsed(TObject* sender);
  bool EditDisabled() const;
  TPxCustomEdit* FCellEditor = nullptr;
  TTimer* FDelayTimer = nullptr;
  TTimer* FRepeatTimer = nullptr;
  TSpinButtonSet FHoverButtons;
  TSpinButtonSet FPressedButtons;
};

// Places spin buttons at the right edge of their edit's client area, the
// width of a vertical scroll bar; a single border leaves the top row free.
void PlaceSpinButtons(TPxSpinButtons& buttons, Integer clientWidth, Integer clientHeight, bool singleBorder,
                      bool visible);
