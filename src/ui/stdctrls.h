// Standard controls: the label and the push button.
#pragma once

#include "ui/controls.h"

enum TTextLayout { tlTop, tlCenter, tlBottom };

const TTypeInfo& DescribeType(TypeTag<TAlignment>);
const TTypeInfo& DescribeType(TypeTag<TTextLayout>);

// Whether the caption marks this key as its accelerator ("&Save" and 'S').
bool IsAccel(Word key, const String& caption);

// Text drawn on its parent; sizes itself to the text unless told not to.
class TLabel : public TGraphicControl {
  KST_CLASS(TLabel, TGraphicControl)
 public:
  explicit TLabel(TComponent* owner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
  void SetTransparent(bool value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* control);

 protected:
  void Paint() override;
  void Loaded() override;
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  // The DrawText flags the label draws its caption with.
  UINT TextFlags() const;
  void AdjustBounds();

 private:
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

// The system's push button.
class TButton : public TWinControl {
  KST_CLASS(TButton, TWinControl)
 public:
  explicit TButton(TComponent* owner);

  // The button Enter presses (when no other button has the focus).
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  // The button Esc presses.
  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  // Set on the form when the button is clicked.
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }

  void Click() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;
  void CMDialogKey(TMessage& message) override;
  void CMDialogChar(TMessage& message) override;
  void CMFocusChanged(TMessage& message) override;

 private:
  void SetButtonStyle(bool isDefault);
  bool FDefault = false;
  bool FCancel = false;
  bool FActive = false;
  TModalResult FModalResult = mrNone;
};
