// The pocket calculator behind the calculator edit, apart from any window:
// its display is the edit's text; the pending operand, the pending operation
// and the memory are kept here. Division by zero and the root of a negative
// number leave the display as it was and answer with an error.
#pragma once

#include <optional>

#include "panelkit/numbertext.h"
#include "rtl/types.h"

enum TCalcOperation { cpNone, cpDivide, cpMultiply, cpMinus, cpPlus };

enum class TCalcError { None, DivisionByZero, InvalidOperation };

class TCalculator {
 public:
  explicit TCalculator(Char decimalSeparator = u'.');

  const String& Text() const { return FText; }
  void SetText(StringView text) { FText = String(text); }

  // The display read through the number check: only digits, the first
  // separator (with floats) and a leading sign (with signs); an empty
  // result, a lone sign or a lone separator is 0; then the range.
  double Value() const;
  // The shortest general text of the value.
  void SetValue(double value);

  TPxNumberEditOptions Options = kDefaultNumberEditOptions;
  TNumberRange Range;
  // A floating-point format mask for the results of Equal; empty for the plain form.
  String FormatMask;

  TCalcOperation Operation() const { return FOperation; }
  double Memory() const { return FMemory; }
  bool IsMemoryEmpty() const { return FMemory == 0; }
  bool ResetPending() const { return FReset; }
  // Typing into the display starts a new number after a result.
  void SetResetPending(bool value) { FReset = value; }

  void AddNumber(Integer digit);
  void AddDot();
  void Backspace();
  void ClearMemory() { FMemory = 0; }
  // Display and pending operand to 0; what was pending no longer runs, so
  // the next sum starts afresh as on a desk calculator.
  void ClearValue();
  // Display to 0; operand and operation stay.
  void Erase();
  TCalcError Divide() { return Operate(cpDivide); }
  TCalcError Multiply() { return Operate(cpMultiply); }
  TCalcError Minus() { return Operate(cpMinus); }
  TCalcError Plus() { return Operate(cpPlus); }
  // Applies the pending operation to the pending operand and the display.
  // Both stay, so a second Equal repeats the operation on the new display.
  TCalcError Equal();
  void StoreMemory() { FMemory = Value(); }
  void RestoreMemory();
  TCalcError Ratio();
  TCalcError Sqrt();
  // Puts a "-" in front of the display or takes it away; nothing else changes.
  void Sign();
  // A fresh start for each opening of the calculator: nothing is pending.
  void ForgetPending();

 private:
  TCalcError Operate(TCalcOperation operation);
  TCalcError RunPending();

  String FText = u"0";
  Char FDecimalSeparator;
  double FOperand = 0;
  double FMemory = 0;
  TCalcOperation FOperation = cpNone;
  // An operator key has stored the operand since the last clear: only then
  // does the pending operation run (C must not leave "0 x" waiting).
  bool FPending = false;
  bool FReset = true;
};

// The pending computation of an operation on two numbers, or nothing where
// it has no result (a division by zero).
std::optional<double> ApplyCalcOperation(TCalcOperation operation, double operand, double display);
