// The calculator edit: a drop-down edit whose text is the display of a
// pocket calculator that drops below it; the calculator's keys work on the
// text through the edit's operations.
#pragma once

#include <vector>

#include "panelkit/calculator.h"
#include "panelkit/win32/popupedit.h"

class TPxCalcEdit;

// The keys of the calculator drop-down, in reading order.
enum class TCalcKey {
  Back,
  ClearEntry,
  Clear,
  MemoryClear,
  D7,
  D8,
  D9,
  Divide,
  Sqrt,
  MemoryRestore,
  D4,
  D5,
  D6,
  Multiply,
  Ratio,
  MemoryStore,
  D1,
  D2,
  D3,
  Minus,
  Sign,
  D0,
  Dot,
  Plus,
  Equal
};

class TPxCalcPopup : public TPxPopupControl {
  KST_CLASS(TPxCalcPopup, TPxPopupControl)
 public:
  explicit TPxCalcPopup(TComponent* owner);
  struct TKeyFace {
    TCalcKey Key;
    String Caption;
    TRect Bounds;
  };
  // The keys and where they lie for the current size.
  std::vector<TKeyFace> Keys() const;
  TRect KeyRect(TCalcKey key) const;
  TRect GetPickRect() const override { return ClientRect(); }
  void PickAt(Integer x, Integer y) override;

 protected:
  void Paint() override;
  void WMEraseBkgnd(TMessage& message) override;
};

class TPxCalcEdit : public TPxPopupEdit {
  KST_CLASS(TPxCalcEdit, TPxPopupEdit)
 public:
  explicit TPxCalcEdit(TComponent* owner);

  bool AutoClose() const { return FAutoClose; }
  void SetAutoClose(bool value) { FAutoClose = value; }
  double Max() const { return FCalculator.Range.Max; }
  void SetMax(double value) { FCalculator.Range.Max = value; }
  double Min() const { return FCalculator.Range.Min; }
  void SetMin(double value) { FCalculator.Range.Min = value; }
  TPxNumberEditOptions Options() const { return FCalculator.Options; }
  void SetOptions(TPxNumberEditOptions value);
  double Value() const;
  void SetValue(double value);
  const String& FormatMask() const { return FCalculator.FormatMask; }
  void SetFormatMask(const String& value) { FCalculator.FormatMask = value; }
  bool IsMemoryEmpty() const { return FCalculator.IsMemoryEmpty(); }
  // What a calculator key does to the text; a refused operation (a division
  // by zero, the root of a negative number) leaves the text and raises the
  // floating-point error, so that the user sees it failed.
  void PressKey(TCalcKey key);
  // Whether the next calculator digit starts a new number.
  bool ResetPending() const { return FCalculator.ResetPending(); }
  TPxCalcPopup& Calculator() { return static_cast<TPxCalcPopup&>(Popup()); }

 protected:
  TPxPopupControl* NewPopup() override;
  void PreparePopup() override;
  void Dispatch(TMessage& message) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(Char& key) override;

 private:
  void Paste();

  TCalculator FCalculator;
  bool FAutoClose = false;
};
