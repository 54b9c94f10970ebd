#include "panelkit/win32/numberedits.h"

#include <cmath>

#include "panelkit/win32/editpublish.h"
#include "rtl/formatsettings.h"

KST_CLASS_IMPL(TPxCustomNumberEdit, "PxEdit")
KST_CLASS_IMPL(TPxNumberEdit, "PxEdit")
KST_CLASS_IMPL(TPxSpinEdit, "PxEdit")

const TTypeInfo& DescribeType(TypeTag<TPxNumberEditOption>) {
  static const TEnumTypeInfo t(
      u"TPxNumberEditOption", u"PxEdit",
      {u"eoAllowAll", u"eoAllowFloat", u"eoAllowSigns", u"eoDisablePaste", u"eoDisableTyping"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPxNumberEditOptions>) {
  static const TSetTypeInfo t(u"TPxNumberEditOptions", u"PxEdit",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TPxNumberEditOption>{})));
  return t;
}

// ---- Number edit base ----

void TPxCustomNumberEdit::Describe(TClassBuilder<TPxCustomNumberEdit>& c) {
  using T = TPxCustomNumberEdit;
  c.Property(u"Max", &T::Max, &T::SetMax).Default(0);
  c.Property(u"Min", &T::Min, &T::SetMin).Default(0);
  c.Property(u"NullText", &T::NullText, &T::SetNullText);
  c.Property(u"Options", &T::Options, &T::SetOptions).Default(kDefaultNumberEditOptions.Bits());
  c.Property(u"Precision", &T::Precision, &T::SetPrecision).Default(2);
  c.Property(u"TextAfter", &T::TextAfter, &T::SetTextAfter);
  c.Property(u"TextBefore", &T::TextBefore, &T::SetTextBefore);
  c.Property(u"Value", &T::Value, &T::SetValue);
}

TPxCustomNumberEdit::TPxCustomNumberEdit(TComponent* owner) : TPxEdit(owner) {
  FControlStyle.Exclude(csSetCaption);
}

Char TPxCustomNumberEdit::DecimalSeparator() const {
  return FormatSettings().DecimalSeparator;
}

String TPxCustomNumberEdit::GetFormatedValue(double value) const {
  TNumberFormat format;
  format.NullText = FNullText;
  format.TextBefore = FTextBefore;
  format.TextAfter = FTextAfter;
  format.Precision = FPrecision;
  format.AllowFloat = FOptions.Contains(eoAllowFloat);
  format.DecimalSeparator = DecimalSeparator();
  return FormatNumberValue(value, format);
}

void TPxCustomNumberEdit::ShowValue(double value) {
  if (EditorUpdating()) return;
  SetText(GetFormatedValue(value));
}

double TPxCustomNumberEdit::ReadValue() {
  const String text = Text();
  if (text == FNullText) {
    ShowValue(0);
    return 0;
  }
  if (text.empty()) return FRange.Min;
  // The shown prefix and suffix are the edit's own: a value typed between
  // them is read alone, whatever digits they carry.
  FValue = ReadNumberText(StripAffixes(text, FTextBefore, FTextAfter), DecimalSeparator(),
                          FOptions.Contains(eoAllowFloat), FOptions.Contains(eoAllowSigns), FRange);
  return FValue;
}

double TPxCustomNumberEdit::Value() const {
  // Reading may show the value anew, as the text is the value's only home.
  return const_cast<TPxCustomNumberEdit*>(this)->ReadValue();
}

void TPxCustomNumberEdit::SetValue(double value) {
  ShowValue(value);
}

void TPxCustomNumberEdit::SetNullText(const String& value) {
  FNullText = value;
  ShowValue(0);
}

void TPxCustomNumberEdit::SetPrecision(Integer value) {
  FPrecision = value;
  ShowValue(Value());
}

void TPxCustomNumberEdit::SetTextAfter(const String& value) {
  const double current = Value();
  FTextAfter = value;
  if (!FOptions.Contains(eoAllowAll)) ShowValue(current);
}

void TPxCustomNumberEdit::SetTextBefore(const String& value) {
  const double current = Value();
  FTextBefore = value;
  if (!FOptions.Contains(eoAllowAll)) ShowValue(current);
}

Integer TPxCustomNumberEdit::GetValueAsInteger() const {
  return static_cast<Integer>(std::trunc(std::clamp(Value(), -2147483648.0, 2147483647.0)));
}

void TPxCustomNumberEdit::SetValueAsFloatImpl(double value) {
  TPxEdit::SetValueAsFloatImpl(value);
  SetValue(value);
}

void TPxCustomNumberEdit::SetValueAsIntegerImpl(Integer value) {
  TPxEdit::SetValueAsIntegerImpl(value);
  SetValue(value);
}

void TPxCustomNumberEdit::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TPxCustomNumberEdit*>(source)) {
    FRange = other->FRange;
    FNullText = other->FNullText;
    FOptions = other->FOptions;
    FPrecision = other->FPrecision;
    SetValue(other->Value());
    return;
  }
  TPxEdit::Assign(source);
}

void TPxCustomNumberEdit::ApplyEditing() {
  if (!FOptions.Contains(eoAllowAll)) ShowValue(Value());
}

void TPxCustomNumberEdit::CreateWnd() {
  TPxEdit::CreateWnd();
  ShowValue(Value());
}

void TPxCustomNumberEdit::KeyDown(Word& key, TShiftState shift) {
  if (FOptions.Contains(eoDisableTyping) && IsDeletionKey(key)) {
    key = 0;
    return;
  }
  TPxEdit::KeyDown(key, shift);
}

void TPxCustomNumberEdit::KeyPress(Char& key) {
  TNumberTyping typing;
  typing.Options = FOptions;
  typing.Text = Text();
  typing.SelectedText = SelText();
  typing.CaretPosition = SelStart();
  typing.DecimalSeparator = DecimalSeparator();
  if (!NumberCharacterPasses(key, typing)) {
    key = 0;
    return;
  }
  TPxEdit::KeyPress(key);
}

void TPxCustomNumberEdit::DoExit() {
  if (!FOptions.Contains(eoAllowAll)) ShowValue(Value());
  TPxEdit::DoExit();
}

void TPxCustomNumberEdit::Paste() {
  const Integer caret = SelStart();
  auto [pasted, text, start] = TakePasteParts(*this);
  const Char separator = DecimalSeparator();
  const bool allowSeparator = FOptions.Contains(eoAllowFloat) && text.find(separator) == String::npos;
  const bool allowSign = FOptions.Contains(eoAllowSigns) && start == 0;
  text.insert(static_cast<size_t>(start), PastedNumberText(pasted, separator, allowSeparator, allowSign, FRange));
  SetText(text);
  SetSelStart(caret);
}

void TPxCustomNumberEdit::Dispatch(TMessage& m) {
  if (m.Msg == WM_PASTE) {
    if (!FOptions.Contains(eoDisablePaste)) Paste();
    return;
  }
  TPxEdit::Dispatch(m);
}

// ---- Number edit ----

void TPxNumberEdit::Describe(TClassBuilder<TPxNumberEdit>&) {}

TPxNumberEdit::TPxNumberEdit(TComponent* owner) : TPxCustomNumberEdit(owner) {
  SetValue(0);
}

// ---- Spin edit ----

void TPxSpinEdit::Describe(TClassBuilder<TPxSpinEdit>& c) {
  using T = TPxSpinEdit;
  c.Property(u"ButtonCaption", &T::ButtonCaption, &T::SetButtonCaption);
  c.Property(u"ButtonWidth", &T::ButtonWidth, &T::SetButtonWidth).Default(21);
  c.Property(u"Increment", &T::Increment, &T::SetIncrement);
  c.Property(u"Precision", &T::Precision, &T::SetPrecision).Default(0);
  c.Property(u"ShowButton", &T::ShowButton, &T::SetShowButton).Default(0);
  c.Property(u"SpinButtons", &T::SpinButtons, &T::SetSpinButtons).Default(1);
  c.Property(u"OnButtonClick", &T::OnButtonClick);
  c.Property(u"OnSpin", &T::OnSpin);
}

TPxSpinEdit::TPxSpinEdit(TComponent* owner) : TPxCustomNumberEdit(owner) {
  FButtons = new TPxSpinButtons(this);
  FButtons->SetCellEditor(this);
  FButtons->SetParent(this);
  FButtons->OnSpin = TSpinEvent(this, &TPxSpinEdit::DoSpin);
  FButton = new TPxExecuteButton(this);
  FButton->SetCellEditor(this);
  FButton->SetVisible(false);
  FButton->SetParent(this);
  FButton->OnButtonClick = TNotifyEvent(this, &TPxSpinEdit::DoButtonClick);
  SetPrecision(0);
  SetValue(0);
}

void TPxSpinEdit::SetButtonWidth(Integer value) {
  FButton->SetBounds(FButton->Left(), FButton->Top(), value, FButton->Height());
  ApplyMargins();
  LayoutButtons();
}

void TPxSpinEdit::SetShowButton(bool value) {
  FShowButton = value;
  FButton->SetVisible(value);
  ApplyMargins();
  LayoutButtons();
}

void TPxSpinEdit::SetSpinButtons(bool value) {
  FSpinButtons = value;
  FButtons->SetVisible(value);
  ApplyMargins();
}

void TPxSpinEdit::AdjustEditMargins(Integer& left, Integer& right) {
  TPxCustomNumberEdit::AdjustEditMargins(left, right);
  if (FButtons && FSpinButtons) right += GetSystemMetrics(SM_CXVSCROLL);
  if (FButton && FShowButton) left += FButton->Width();
}

void TPxSpinEdit::LayoutButtons() {
  if (!HandleAllocated()) return;
  PlaceSpinButtons(*FButtons, ClientWidth(), ClientHeight(), BorderStyle() == bsSingle, FSpinButtons);
  if (ComponentState().Contains(csDesigning) && !FShowButton) {
    FButton->SetBounds(-FButton->Width(), 0, FButton->Width(), 0);
    FButton->SetVisible(false);
  } else {
    FButton->SetBounds(0, 0, FButton->Width(), ClientHeight());
    FButton->SetVisible(FShowButton);
    FButton->Invalidate();
  }
}

void TPxSpinEdit::CreateWnd() {
  TPxCustomNumberEdit::CreateWnd();
  LayoutButtons();
  ApplyMargins();
}

void TPxSpinEdit::Dispatch(TMessage& m) {
  TPxCustomNumberEdit::Dispatch(m);
  if (m.Msg == WM_SIZE) {
    LayoutButtons();
    ApplyMargins();
  }
}

Integer TPxSpinEdit::GetValueAsInteger() const {
  // Halves to even, as the platform rounds.
  return static_cast<Integer>(std::nearbyint(std::clamp(Value(), -2147483648.0, 2147483647.0)));
}

void TPxSpinEdit::DoButtonClick(TObject*) {
  if (OnButtonClick && CanFireEvents()) OnButtonClick(this);
}

void TPxSpinEdit::DoSpin(TObject*, TSpinButtonSet buttons) {
  if (ReadOnly()) return;
  if (!Focused() && Visible() && CanFocus()) SetFocus();
  const bool up = buttons.Contains(pxedit::sbUp);
  if (!up && !buttons.Contains(pxedit::sbDown)) return;
  const std::optional<double> next = SpinStep(Value(), FIncrement, up, Options().Contains(eoAllowSigns), Range());
  if (!next) return;
  SetValue(*next);
  SetSelStart(static_cast<Integer>(Text().size()));
  if (OnSpin && CanFireEvents()) OnSpin(this, buttons);
  SetModified(true);
}

void TPxSpinEdit::KeyDown(Word& key, TShiftState shift) {
  if (Stepping() && (key == VK_UP || key == VK_DOWN)) {
    FButtons->SetPressedButtons(key == VK_UP ? TSpinButtonSet{pxedit::sbUp} : TSpinButtonSet{pxedit::sbDown});
    key = 0;
    return;
  }
  TPxCustomNumberEdit::KeyDown(key, shift);
}

void TPxSpinEdit::KeyUp(Word& key, TShiftState shift) {
  if (Stepping() && !FButtons->PressedButtons().Empty()) FButtons->SetPressedButtons({});
  TPxCustomNumberEdit::KeyUp(key, shift);
}

bool TPxSpinEdit::DoMouseWheel(TShiftState, Integer wheelDelta, TPoint) {
  if (Stepping() && wheelDelta != 0) {
    FButtons->SetPressedButtons(wheelDelta < 0 ? TSpinButtonSet{pxedit::sbDown} : TSpinButtonSet{pxedit::sbUp});
    FButtons->SetPressedButtons({});
  }
  return true;
}
