#include "panelkit/win32/calcedit.h"

#include "panelkit/win32/datepicker.h"
#include "panelkit/win32/edits.h"
#include "panelkit/win32/numberedits.h"
#include "rtl/exceptions.h"
#include "ui/forms.h"

KST_CLASS_IMPL(TPxCalcPopup, "PxCalcEdit")
KST_CLASS_IMPL(TPxCalcEdit, "PxCalcEdit")

namespace {

constexpr Integer kColumns = 6;
constexpr Integer kRows = 5;
constexpr Integer kMargin = 5;
constexpr Integer kCalculatorWidth = 199;
constexpr Integer kCalculatorHeight = 139;

struct TKeyPlace {
  TCalcKey Key;
  const char16_t* Caption;
  Integer Column, Row, Span;
};

// The top row holds three double-width keys; the digits sit in the middle.
constexpr TKeyPlace kKeyPlaces[] = {
    {TCalcKey::Back, u"Back", 0, 0, 2}, {TCalcKey::ClearEntry, u"CE", 2, 0, 2},
    {TCalcKey::Clear, u"C", 4, 0, 2},   {TCalcKey::MemoryClear, u"MC", 0, 1, 1},
    {TCalcKey::D7, u"7", 1, 1, 1},      {TCalcKey::D8, u"8", 2, 1, 1},
    {TCalcKey::D9, u"9", 3, 1, 1},      {TCalcKey::Divide, u"/", 4, 1, 1},
    {TCalcKey::Sqrt, u"sqrt", 5, 1, 1}, {TCalcKey::MemoryRestore, u"MR", 0, 2, 1},
    {TCalcKey::D4, u"4", 1, 2, 1},      {TCalcKey::D5, u"5", 2, 2, 1},
    {TCalcKey::D6, u"6", 3, 2, 1},      {TCalcKey::Multiply, u"*", 4, 2, 1},
    {TCalcKey::Ratio, u"1/x", 5, 2, 1}, {TCalcKey::MemoryStore, u"MS", 0, 3, 1},
    {TCalcKey::D1, u"1", 1, 3, 1},      {TCalcKey::D2, u"2", 2, 3, 1},
    {TCalcKey::D3, u"3", 3, 3, 1},      {TCalcKey::Minus, u"-", 4, 3, 1},
    {TCalcKey::Sign, u"+/-", 5, 3, 1},  {TCalcKey::D0, u"0", 1, 4, 1},
    {TCalcKey::Dot, u".", 2, 4, 1},     {TCalcKey::Plus, u"+", 4, 4, 1},
    {TCalcKey::Equal, u"=", 5, 4, 1},
};

}  // namespace

// ---- The calculator drop-down ----

void TPxCalcPopup::Describe(TClassBuilder<TPxCalcPopup>&) {}

TPxCalcPopup::TPxCalcPopup(TComponent* owner) : TPxPopupControl(owner) {
  SetDoubleBuffered(true);
}

std::vector<TPxCalcPopup::TKeyFace> TPxCalcPopup::Keys() const {
  const Integer width = (ClientWidth() - 2 * kMargin) / kColumns;
  const Integer height = (ClientHeight() - 2 * kMargin) / kRows;
  std::vector<TKeyFace> keys;
  for (const TKeyPlace& place : kKeyPlaces) {
    const Integer left = kMargin + place.Column * width, top = kMargin + place.Row * height;
    keys.push_back(
        {place.Key, place.Caption, TRect(left + 1, top + 1, left + place.Span * width - 1, top + height - 1)});
  }
  return keys;
}

TRect TPxCalcPopup::KeyRect(TCalcKey key) const {
  for (const TKeyFace& face : Keys())
    if (face.Key == key) return face.Bounds;
  return TRect();
}

void TPxCalcPopup::PickAt(Integer x, Integer y) {
  auto* edit = dynamic_cast<TPxCalcEdit*>(Edit());
  if (!edit) return;
  for (const TKeyFace& face : Keys()) {
    if (!face.Bounds.Contains(Point(x, y))) continue;
    edit->PressKey(face.Key);
    return;
  }
}

void TPxCalcPopup::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
}

void TPxCalcPopup::Paint() {
  TCanvas& canvas = Canvas();
  PaintFramedBackground(canvas, *GetFont(), Color(), ClientRect());
  for (const TKeyFace& face : Keys()) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clBtnFace);
    canvas.Pen().SetColor(clBtnShadow);
    canvas.Rectangle(face.Bounds);
    canvas.Brush().SetStyle(bsClear);
    const bool operation = face.Key == TCalcKey::Divide || face.Key == TCalcKey::Multiply ||
                           face.Key == TCalcKey::Minus || face.Key == TCalcKey::Plus || face.Key == TCalcKey::Equal;
    canvas.Font().SetColor(operation ? clMaroon : clNavy);
    TRect r = face.Bounds;
    canvas.DrawText(face.Caption, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  }
}

// ---- The calculator edit ----

void TPxCalcEdit::Describe(TClassBuilder<TPxCalcEdit>& c) {
  using T = TPxCalcEdit;
  c.Property(u"AutoClose", &T::AutoClose, &T::SetAutoClose).Default(false);
  c.Property(u"Max", &T::Max, &T::SetMax);
  c.Property(u"Min", &T::Min, &T::SetMin);
  c.Property(u"Options", &T::Options, &T::SetOptions);
  c.Property(u"Value", &T::Value, &T::SetValue);
}

TPxCalcEdit::TPxCalcEdit(TComponent* owner) : TPxPopupEdit(owner), FCalculator(FormatSettings().DecimalSeparator) {
  SetText(FCalculator.Text());
}

TPxPopupControl* TPxCalcEdit::NewPopup() {
  return new TPxCalcPopup(this);
}

void TPxCalcEdit::SetOptions(TPxNumberEditOptions value) {
  FCalculator.Options = value;
  SetValue(Value());
}

double TPxCalcEdit::Value() const {
  TCalculator reader = FCalculator;
  reader.SetText(Text());
  return reader.Value();
}

void TPxCalcEdit::SetValue(double value) {
  FCalculator.SetValue(value);
  SetText(FCalculator.Text());
}

void TPxCalcEdit::PreparePopup() {
  FCalculator.ForgetPending();
  TPxCalcPopup& calculator = Calculator();
  calculator.SetBounds(calculator.Left(), calculator.Top(), kCalculatorWidth, kCalculatorHeight);
}

void TPxCalcEdit::PressKey(TCalcKey key) {
  FCalculator.SetText(Text());
  TCalcError error = TCalcError::None;
  bool closes = false;
  switch (key) {
    case TCalcKey::D0:
    case TCalcKey::D1:
    case TCalcKey::D2:
    case TCalcKey::D3:
    case TCalcKey::D4:
    case TCalcKey::D5:
    case TCalcKey::D6:
    case TCalcKey::D7:
    case TCalcKey::D8:
    case TCalcKey::D9: {
      static constexpr TCalcKey kDigits[] = {TCalcKey::D0, TCalcKey::D1, TCalcKey::D2, TCalcKey::D3, TCalcKey::D4,
                                             TCalcKey::D5, TCalcKey::D6, TCalcKey::D7, TCalcKey::D8, TCalcKey::D9};
      for (Integer digit = 0; digit < 10; ++digit)
        if (kDigits[digit] == key) FCalculator.AddNumber(digit);
      break;
    }
    case TCalcKey::Dot: FCalculator.AddDot(); break;
    case TCalcKey::Back: FCalculator.Backspace(); break;
    case TCalcKey::ClearEntry: FCalculator.Erase(); break;
    case TCalcKey::Clear: FCalculator.ClearValue(); break;
    case TCalcKey::MemoryClear: FCalculator.ClearMemory(); break;
    case TCalcKey::MemoryRestore: FCalculator.RestoreMemory(); break;
    case TCalcKey::MemoryStore: FCalculator.StoreMemory(); break;
    case TCalcKey::Divide: error = FCalculator.Divide(); break;
    case TCalcKey::Multiply: error = FCalculator.Multiply(); break;
    case TCalcKey::Minus: error = FCalculator.Minus(); break;
    case TCalcKey::Plus: error = FCalculator.Plus(); break;
    case TCalcKey::Sqrt: error = FCalculator.Sqrt(); break;
    case TCalcKey::Ratio: error = FCalculator.Ratio(); break;
    case TCalcKey::Sign: FCalculator.Sign(); break;
    case TCalcKey::Equal:
      error = FCalculator.Equal();
      closes = FAutoClose;
      break;
  }
  if (error == TCalcError::DivisionByZero) throw EMathError(u"Floating point division by zero");
  if (error == TCalcError::InvalidOperation) throw EInvalidOp(u"Invalid floating point operation");
  SetText(FCalculator.Text());
  SetSelStart(static_cast<Integer>(Text().size()));
  if (closes) SetDroppedDown(false);
}

void TPxCalcEdit::KeyDown(Word& key, TShiftState shift) {
  if (FCalculator.Options.Contains(eoDisableTyping) && IsDeletionKey(key)) {
    key = 0;
    return;
  }
  TPxPopupEdit::KeyDown(key, shift);
}

void TPxCalcEdit::KeyPress(Char& key) {
  // Escape closes the calculator whatever the display accepts.
  if (key == 27) {
    TPxPopupEdit::KeyPress(key);
    return;
  }
  if (FCalculator.Options.Contains(eoDisableTyping)) {
    key = 0;
    return;
  }
  // Copy, Tab, paste and cut keep their usual meaning.
  if (key == 3 || key == 9 || key == 22 || key == 24) {
    TPxPopupEdit::KeyPress(key);
    return;
  }
  TNumberTyping typing;
  typing.Options = FCalculator.Options;
  typing.Options.Exclude(eoAllowAll);
  typing.Text = Text();
  typing.SelectedText = SelText();
  typing.CaretPosition = SelStart();
  typing.DecimalSeparator = FormatSettings().DecimalSeparator;
  // The calculator's display takes no select-all or Enter characters.
  if (key == 1 || key == 13 || !NumberCharacterPasses(key, typing)) {
    key = 0;
    return;
  }
  FCalculator.SetResetPending(true);
  TPxPopupEdit::KeyPress(key);
}

void TPxCalcEdit::Paste() {
  const Integer caret = SelStart();
  auto [pasted, text, start] = TakePasteParts(*this);
  const Char separator = FormatSettings().DecimalSeparator;
  const bool allowSeparator = FCalculator.Options.Contains(eoAllowFloat) && text.find(separator) == String::npos;
  const bool allowSign = FCalculator.Options.Contains(eoAllowSigns) && start == 0;
  text.insert(static_cast<size_t>(start),
              PastedNumberText(pasted, separator, allowSeparator, allowSign, FCalculator.Range));
  SetText(text);
  SetSelStart(caret);
}

void TPxCalcEdit::Dispatch(TMessage& m) {
  if (m.Msg == WM_PASTE) {
    Paste();
    return;
  }
  if (m.Msg == WM_KILLFOCUS) {
    TPxPopupEdit::Dispatch(m);
    SetValue(Value());
    return;
  }
  TPxPopupEdit::Dispatch(m);
}
