// Edits that hold a number: typed and pasted characters filtered to digits,
// one decimal separator of the locale and a leading sign; the text read back
// tolerantly within an optional range and shown with fixed decimals between
// a prefix and a suffix. The spin edit steps the value with its buttons, the
// arrow keys and the wheel.
#pragma once

#include "panelkit/numbertext.h"
#include "panelkit/win32/editbuttons.h"
#include "panelkit/win32/edits.h"

const TTypeInfo& DescribeType(TypeTag<TPxNumberEditOption>);
const TTypeInfo& DescribeType(TypeTag<TPxNumberEditOptions>);

class TPxCustomNumberEdit : public TPxEdit {
  KST_CLASS(TPxCustomNumberEdit, TPxEdit)
 public:
  explicit TPxCustomNumberEdit(TComponent* owner);

  double Max() const { return FRange.Max; }
  void SetMax(double value) { FRange.Max = value; }
  double Min() const { return FRange.Min; }
  void SetMin(double value) { FRange.Min = value; }
  const String& NullText() const { return FNullText; }
  void SetNullText(const String& value);
  TPxNumberEditOptions Options() const { return FOptions; }
  void SetOptions(TPxNumberEditOptions value) { FOptions = value; }
  Integer Precision() const { return FPrecision; }
  void SetPrecision(Integer value);
  const String& TextAfter() const { return FTextAfter; }
  void SetTextAfter(const String& value);
  const String& TextBefore() const { return FTextBefore; }
  void SetTextBefore(const String& value);
  // Reads the text (and may show it anew); never raises.
  double Value() const;
  void SetValue(double value);
  String GetFormatedValue(double value) const;
  const TNumberRange& Range() const { return FRange; }

  void Assign(const TPersistent* source) override;
  void ApplyEditing() override;

 protected:
  double GetValueAsFloat() const override { return Value(); }
  Integer GetValueAsInteger() const override;
  void SetValueAsFloatImpl(double value) override;
  void SetValueAsIntegerImpl(Integer value) override;
  void CreateWnd() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(Char& key) override;
  void DoExit() override;
  void Dispatch(TMessage& message) override;

 private:
  double ReadValue();
  void ShowValue(double value);
  void Paste();
  Char DecimalSeparator() const;
  TNumberRange FRange;
  String FNullText;
  TPxNumberEditOptions FOptions = kDefaultNumberEditOptions;
  Integer FPrecision = 2;
  String FTextAfter;
  String FTextBefore;
  double FValue = 0;
};

class TPxNumberEdit : public TPxCustomNumberEdit {
  KST_CLASS(TPxNumberEdit, TPxCustomNumberEdit)
 public:
  explicit TPxNumberEdit(TComponent* owner);
};

class TPxSpinEdit : public TPxCustomNumberEdit {
  KST_CLASS(TPxSpinEdit, TPxCustomNumberEdit)
 public:
  explicit TPxSpinEdit(TComponent* owner);

  const String& ButtonCaption() const { return FButton->Caption(); }
  void SetButtonCaption(const String& value) { FButton->SetCaption(value); }
  Integer ButtonWidth() const { return FButton->Width(); }
  void SetButtonWidth(Integer value);
  double Increment() const { return FIncrement; }
  void SetIncrement(double value) { FIncrement = value; }
  bool ShowButton() const { return FShowButton; }
  void SetShowButton(bool value);
  bool SpinButtons() const { return FSpinButtons; }
  void SetSpinButtons(bool value);
  TPxSpinButtons& Buttons() const { return *FButtons; }
  TPxExecuteButton& PushButton() const { return *FButton; }

  TNotifyEvent OnButtonClick;
  TSpinEvent OnSpin;

 protected:
  Integer GetValueAsInteger() const override;
  void SetValueAsFloatImpl(double value) override { SetValue(value); }
  void SetValueAsIntegerImpl(Integer value) override { SetValue(value); }
  void AdjustEditMargins(Integer& left, Integer& right) override;
  void CreateWnd() override;
  void Dispatch(TMessage& message) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyUp(Word& key, TShiftState shift) override;
  bool DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) override;
  virtual void DoButtonClick(TObject* sender);
  // One step by the pressed half.
  virtual void DoSpin(TObject* sender, TSpinButtonSet buttons);

 private:
  void LayoutButtons();
  bool Stepping() const { return !InplaceEditor() && FSpinButtons; }
  TPxExecuteButton* FButton = nullptr;
  TPxSpinButtons* FButtons = nullptr;
  double FIncrement = 1.0;
  bool FSpinButtons = true;
  bool FShowButton = false;
};
