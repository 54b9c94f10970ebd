#include "panelkit/calculator.h"

#include <cmath>

#include "rtl/exceptions.h"
#include "rtl/floattext.h"
#include "rtl/formatsettings.h"

namespace {

TFormatSettings SettingsWith(Char decimalSeparator) {
  TFormatSettings settings = InvariantFormatSettings();
  settings.DecimalSeparator = decimalSeparator;
  return settings;
}

}  // namespace

std::optional<double> ApplyCalcOperation(TCalcOperation operation, double operand, double display) {
  switch (operation) {
    case cpDivide:
      if (display == 0) return std::nullopt;
      return operand / display;
    case cpMultiply: return operand * display;
    case cpMinus: return operand - display;
    case cpPlus: return operand + display;
    case cpNone: break;
  }
  return display;
}

TCalculator::TCalculator(Char decimalSeparator) : FDecimalSeparator(decimalSeparator) {}

double TCalculator::Value() const {
  if (FText.empty()) return 0;
  const String number =
      FilterNumberCharacters(FText, FDecimalSeparator, Options.Contains(eoAllowFloat), Options.Contains(eoAllowSigns));
  bool hasDigit = false;
  for (Char ch : number) hasDigit = hasDigit || (ch >= u'0' && ch <= u'9');
  if (!hasDigit) return 0;
  const TFormatSettings settings = SettingsWith(FDecimalSeparator);
  double value = 0;
  try {
    value = static_cast<double>(StrToFloat(number, settings));
  } catch (const EConvertError&) {
    value = 0;
  }
  return Range.Clamp(value);
}

void TCalculator::SetValue(double value) {
  FText = FloatToStr(value, SettingsWith(FDecimalSeparator));
}

void TCalculator::AddNumber(Integer digit) {
  if (digit < 0 || digit > 9) return;
  if (FReset) FText.clear();
  FText.push_back(static_cast<Char>(u'0' + digit));
  FReset = false;
}

void TCalculator::AddDot() {
  // A separator typed after a result starts a new number.
  if (FReset) FText = u"0";
  FText.push_back(FDecimalSeparator);
  FReset = false;
}

void TCalculator::Backspace() {
  if (!FText.empty()) FText.pop_back();
  if (FText.empty() || FText == u"-") {
    FText = u"0";
    FReset = true;
  }
}

void TCalculator::ClearValue() {
  SetValue(0);
  FOperand = 0;
  FPending = false;
  FReset = true;
}

void TCalculator::Erase() {
  SetValue(0);
  FReset = true;
}

TCalcError TCalculator::Equal() {
  const std::optional<double> result = ApplyCalcOperation(FPending ? FOperation : cpNone, FOperand, Value());
  if (!result) return TCalcError::DivisionByZero;
  if (!FormatMask.empty())
    FText = FormatFloat(FormatMask, *result, SettingsWith(FDecimalSeparator));
  else
    SetValue(*result);
  FReset = true;
  return TCalcError::None;
}

TCalcError TCalculator::RunPending() {
  // An operation is pending whatever its first operand is, 0 included, but
  // only once an operator key stored that operand.
  if (FOperation == cpNone || !FPending) return TCalcError::None;
  return Equal();
}

TCalcError TCalculator::Operate(TCalcOperation operation) {
  if (TCalcError error = RunPending(); error != TCalcError::None) return error;
  FOperand = Value();
  FOperation = operation;
  FPending = true;
  FReset = true;
  return TCalcError::None;
}

void TCalculator::RestoreMemory() {
  if (IsMemoryEmpty()) return;
  SetValue(FMemory);
  FReset = true;
}

TCalcError TCalculator::Ratio() {
  if (TCalcError error = RunPending(); error != TCalcError::None) return error;
  const double value = Value();
  if (value == 0) return TCalcError::DivisionByZero;
  SetValue(1 / value);
  FReset = true;
  return TCalcError::None;
}

TCalcError TCalculator::Sqrt() {
  if (TCalcError error = RunPending(); error != TCalcError::None) return error;
  const double value = Value();
  if (value < 0) return TCalcError::InvalidOperation;
  SetValue(std::sqrt(value));
  FReset = true;
  return TCalcError::None;
}

void TCalculator::Sign() {
  if (!FText.empty() && FText.front() == u'-')
    FText.erase(0, 1);
  else
    FText.insert(FText.begin(), u'-');
  // The operand keeps what it was: the sign belongs to the display only.
}

void TCalculator::ForgetPending() {
  FOperand = 0;
  FOperation = cpNone;
  FPending = false;
  FReset = true;
}
