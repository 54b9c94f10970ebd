#include "ui/stdctrls.h"

#include <algorithm>

#include "rtl/character.h"
#include "rtl/format.h"
#include "rtl/sysstr.h"
#include "ui/forms.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TLabel, "StdCtrls")
KST_CLASS_IMPL(TButton, "StdCtrls")
KST_CLASS_IMPL(TCustomEdit, "StdCtrls")
KST_CLASS_IMPL(TEdit, "StdCtrls")
KST_CLASS_IMPL(TMemo, "StdCtrls")
KST_CLASS_IMPL(TCheckBox, "StdCtrls")
KST_CLASS_IMPL(TRadioButton, "StdCtrls")
KST_CLASS_IMPL(TCustomGroupBox, "StdCtrls")
KST_CLASS_IMPL(TGroupBox, "StdCtrls")
KST_CLASS_IMPL(TListBox, "StdCtrls")
KST_CLASS_IMPL(TComboBox, "StdCtrls")

const TTypeInfo& DescribeType(TypeTag<TAlignment>) {
  static const TEnumTypeInfo t(u"TAlignment", u"Classes", {u"taLeftJustify", u"taRightJustify", u"taCenter"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TTextLayout>) {
  static const TEnumTypeInfo t(u"TTextLayout", u"StdCtrls", {u"tlTop", u"tlCenter", u"tlBottom"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TEditCharCase>) {
  static const TEnumTypeInfo t(u"TEditCharCase", u"StdCtrls", {u"ecNormal", u"ecUpperCase", u"ecLowerCase"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TScrollStyle>) {
  static const TEnumTypeInfo t(u"TScrollStyle", u"StdCtrls", {u"ssNone", u"ssHorizontal", u"ssVertical", u"ssBoth"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TCheckBoxState>) {
  static const TEnumTypeInfo t(u"TCheckBoxState", u"StdCtrls", {u"cbUnchecked", u"cbChecked", u"cbGrayed"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TComboBoxStyle>) {
  static const TEnumTypeInfo t(
      u"TComboBoxStyle", u"StdCtrls",
      {u"csDropDown", u"csSimple", u"csDropDownList", u"csOwnerDrawFixed", u"csOwnerDrawVariable"});
  return t;
}

const TEnumTypeInfo& LeftRightType() {
  static const TEnumTypeInfo t(u"TLeftRight", u"Classes",
                               static_cast<const TEnumTypeInfo&>(DescribeType(TypeTag<TAlignment>{})), 0, 1);
  return t;
}

bool IsAccel(Word key, const String& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] == u'&') {
      ++i;
      continue;
    }
    Char c = caption[i + 1];
    Char k = static_cast<Char>(key);
    if (c >= u'a' && c <= u'z') c = static_cast<Char>(c - u'a' + u'A');
    if (k >= u'a' && k <= u'z') k = static_cast<Char>(k - u'a' + u'A');
    return c == k;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Label

void TLabel::Describe(TClassBuilder<TLabel>& c) {
  publish::StyleElements(c);
  publish::KeptGraphic(c);
  publish::Align(c);
  c.Property(u"Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
  publish::Anchors(c);
  c.Property(u"AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(1);
  publish::Caption(c);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  c.Property(u"FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
  publish::Font(c);
  c.Property(u"Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(u"ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(1);
  publish::ShowHint(c);
  c.Property(u"Transparent", &TLabel::Transparent, &TLabel::SetTransparent);
  publish::Visible(c);
  c.Property(u"WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(0);
  publish::MouseEvents(c);
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csReplicatable, csDoubleClicks};
  SetBounds(0, 0, 65, 17);
}

UINT TLabel::TextFlags() const {
  static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT flags = DT_EXPANDTABS | alignments[FAlignment];
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  return flags;
}

void TLabel::Paint() {
  TCanvas& canvas = Canvas();
  TRect r = ClientRect();
  if (!Transparent()) {
    canvas.Brush().SetColor(Color());
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(r);
  }
  canvas.Brush().SetStyle(bsClear);
  canvas.Font().Assign(&Font());
  String text = Caption();
  if (text.empty() || (FShowAccelChar && text == u"&")) text += u' ';
  UINT flags = TextFlags();
  if (FLayout != tlTop) {
    TRect calc = r;
    canvas.DrawText(text, calc, flags | DT_CALCRECT);
    Integer offset = r.Height() - calc.Height();
    if (FLayout == tlCenter) offset /= 2;
    r.Top += offset;
  }
  if (!Enabled()) {
    r.Offset(1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    canvas.DrawText(text, r, flags);
    r.Offset(-1, -1);
    canvas.Font().SetColor(clBtnShadow);
  }
  canvas.DrawText(text, r, flags);
}

void TLabel::AdjustBounds() {
  if (!FAutoSize || ComponentState().Contains(csLoading)) return;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font().Handle());
  String text = Caption();
  if (text.empty() || (FShowAccelChar && text == u"&")) text += u' ';
  RECT r{0, 0, FWordWrap ? FWidth : 0, 0};
  DrawTextW(dc, WStr(text), static_cast<int>(text.size()), &r, TextFlags() | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  Integer width = r.right - r.left, height = r.bottom - r.top;
  Integer left = FLeft;
  if (FAlignment == taRightJustify && !FWordWrap)
    left = FLeft + FWidth - width;
  else if (FAlignment == taCenter && !FWordWrap)
    left = FLeft + (FWidth - width) / 2;
  SetBounds(left, FTop, width, height);
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      AdjustBounds();
      break;
    case CM_DIALOGCHAR:
      if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(static_cast<Word>(m.WParam), Caption()) &&
          FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        m.Result = 1;
      }
      break;
    default: TGraphicControl::Dispatch(m); break;
  }
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TLabel::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  Invalidate();
}
void TLabel::SetLayout(TTextLayout value) {
  if (value == FLayout) return;
  FLayout = value;
  Invalidate();
}
void TLabel::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  AdjustBounds();
}
void TLabel::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  AdjustBounds();
  Invalidate();
}
void TLabel::SetTransparent(bool value) {
  if (value == Transparent()) return;
  if (value)
    FControlStyle.Exclude(csOpaque);
  else
    FControlStyle.Include(csOpaque);
  Invalidate();
}
void TLabel::SetShowAccelChar(bool value) {
  if (value == FShowAccelChar) return;
  FShowAccelChar = value;
  AdjustBounds();
  Invalidate();
}
void TLabel::SetFocusControl(TWinControl* control) {
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = control;
  if (control) control->FreeNotification(this);
}

// ---------------------------------------------------------------------------
// Button

const TTypeInfo& DescribeType(TypeTag<TButtonStyle>) {
  static const TEnumTypeInfo t(u"TButtonStyle", u"StdCtrls", {u"bsPushButton", u"bsCommandLink", u"bsSplitButton"});
  return t;
}

void TButton::Describe(TClassBuilder<TButton>& c) {
  KST_KEPT_PROPERTY(u"ImageAlignment", ImageAlignment).Default(kept::iaLeft);
  c.Property(u"ImageMargins", [](const TButton& o) { return o.Kept.ImageMargins.get(); });
  publish::ParentDoubleBuffered(c);
  KST_KEPT_PROPERTY(u"WordWrap", WordWrap).Default(0);
  c.Property(u"CommandLinkHint", &TButton::CommandLinkHint);
  c.Property(u"Style", &TButton::Style).Default(bsPushButton);
  c.Property(u"OnDropDownClick", &TButton::OnDropDownClick);
  publish::KeptWindowed(c);
  publish::ImageProperties(c);
  publish::Action(c);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"Cancel", &TButton::Cancel, &TButton::SetCancel).Default(0);
  publish::Caption(c);
  publish::Constraints(c);
  c.Property(u"Default", &TButton::Default, &TButton::SetDefault).Default(0);
  publish::DoubleBuffered(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"ModalResult", &TButton::ModalResult, &TButton::SetModalResult, &ModalResultType()).Default(0);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TButton::TabStop, &TButton::SetTabStop).Default(1);
  publish::Visible(c);
  c.Property(u"OnClick", &TButton::OnClick);
  c.Property(u"OnContextPopup", &TButton::OnContextPopup);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
  c.Property(u"OnMouseDown", &TButton::OnMouseDown);
  c.Property(u"OnMouseEnter", &TButton::OnMouseEnter);
  c.Property(u"OnMouseLeave", &TButton::OnMouseLeave);
  c.Property(u"OnMouseMove", &TButton::OnMouseMove);
  c.Property(u"OnMouseUp", &TButton::OnMouseUp);
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  FControlStyle = {csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"BUTTON");
  params.Style |= FActive ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TButton::SetButtonStyle(bool isDefault) {
  if (!HandleAllocated()) return;
  UINT style = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((GetWindowLongW(FHandle, GWL_STYLE) & 0xF) != style) SendMessageW(FHandle, BM_SETSTYLE, style, 1);
}

void TButton::SetDefault(bool value) {
  FDefault = value;
  // The default button answers Enter unless another button has the focus.
  TCustomForm* form = GetParentForm(this);
  TWinControl* active = form ? form->ActiveControl() : nullptr;
  if (!dynamic_cast<TButton*>(active)) {
    FActive = value;
    SetButtonStyle(value);
  }
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TWinControl::Click();
}

void TButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      m.Result = 0;
      break;
    case WM_ERASEBKGND: DefaultHandler(m); break;
    default: TWinControl::Dispatch(m); break;
  }
}

void TButton::CMDialogKey(TMessage& m) {
  bool pressed = (m.WParam == VK_RETURN && FActive) || (m.WParam == VK_ESCAPE && FCancel);
  if (pressed && KeyDataToShiftState(m.LParam).Empty() && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  TWinControl::CMDialogKey(m);
}

void TButton::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<Word>(m.WParam), Caption()) && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  TWinControl::CMDialogChar(m);
}

void TButton::CMFocusChanged(TMessage& m) {
  auto* sender = reinterpret_cast<TWinControl*>(m.LParam);
  if (dynamic_cast<TButton*>(sender))
    FActive = sender == this;
  else
    FActive = FDefault;
  SetButtonStyle(FActive);
  TWinControl::CMFocusChanged(m);
}

// ---------------------------------------------------------------------------
// Edit and memo

namespace {

// A text's line breaks as the edit window shows them: CR LF, whatever came.
String WithWindowsBreaks(const String& text) {
  String out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    Char c = text[i];
    if (c == u'\r') {
      out += u"\r\n";
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else if (c == u'\n') {
      out += u"\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

String ApplyCharCase(const String& text, TEditCharCase charCase) {
  if (charCase == TEditCharCase::ecNormal) return text;
  String out = text;
  if (!out.empty()) {
    auto* buffer = reinterpret_cast<wchar_t*>(out.data());
    if (charCase == TEditCharCase::ecUpperCase)
      CharUpperBuffW(buffer, static_cast<DWORD>(out.size()));
    else
      CharLowerBuffW(buffer, static_cast<DWORD>(out.size()));
  }
  return out;
}

template <class T>
void PublishEditCommon(TClassBuilder<T>& c) {
  c.Property(u"AutoSelect", &T::AutoSelect, &T::SetAutoSelect).Default(1);
  c.Property(u"BorderStyle", &T::BorderStyle, &T::SetBorderStyle, &BorderStyleType()).Default(bsSingle);
  c.Property(u"CharCase", &T::CharCase, &T::SetCharCase).Default(static_cast<Integer>(TEditCharCase::ecNormal));
}

}  // namespace

void TCustomEdit::Describe(TClassBuilder<TCustomEdit>&) {}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"EDIT");
  params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (FReadOnly) params.Style |= ES_READONLY;
  if (!FHideSelection) params.Style |= ES_NOHIDESEL;
  if (FCharCase == TEditCharCase::ecUpperCase) params.Style |= ES_UPPERCASE;
  if (FCharCase == TEditCharCase::ecLowerCase) params.Style |= ES_LOWERCASE;
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomEdit::CreateWnd() {
  FCreating = true;
  try {
    TWinControl::CreateWnd();
  } catch (...) {
    FCreating = false;
    throw;
  }
  FCreating = false;
  SendMessageW(FHandle, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  SendMessageW(FHandle, EM_SETMODIFY, FModified, 0);
  SendMessageW(FHandle, EM_SETSEL, static_cast<WPARAM>(FSelStart), FSelStart + FSelLength);
}

void TCustomEdit::DestroyWnd() {
  if (FHandle) {
    FModified = SendMessageW(FHandle, EM_GETMODIFY, 0, 0) != 0;
    FSelStart = SelStart();
    FSelLength = SelLength();
  }
  TWinControl::DestroyWnd();
}

void TCustomEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      // Text set through WM_SETTEXT is announced once, below, however the
      // system notifies it.
      if (HIWORD(m.WParam) == EN_CHANGE && !FCreating && !FSettingText) Change();
      m.Result = 0;
      break;
    case WM_SETTEXT: {
      String old = FText;
      FSettingText = true;
      try {
        TWinControl::Dispatch(m);
      } catch (...) {
        FSettingText = false;
        throw;
      }
      FSettingText = false;
      if (FText != old && !FCreating) Change();
      break;
    }
    case CM_TEXTCHANGED:
      if (!FHandle) Change();
      break;
    case CM_ENTER:
      if (FAutoSelect && FHandle && !(GetWindowLongW(FHandle, GWL_STYLE) & ES_MULTILINE) &&
          !FControlState.Contains(csLButtonDown))
        SelectAll();
      TWinControl::Dispatch(m);
      break;
    default: TWinControl::Dispatch(m); break;
  }
}

void TCustomEdit::Change() {
  if (ComponentState().Contains(csLoading)) return;
  if (CanFireEvents()) OnChange(this);
}

void TCustomEdit::SetMaxLength(Integer value) {
  FMaxLength = std::max(0, value);
  if (FHandle) SendMessageW(FHandle, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SetReadOnly(bool value) {
  FReadOnly = value;
  if (FHandle) SendMessageW(FHandle, EM_SETREADONLY, value, 0);
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (value == FCharCase) return;
  FCharCase = value;
  // The window keeps its case style from creation; the text follows now.
  SetText(ApplyCharCase(Text(), value));
  RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool value) {
  if (value == FHideSelection) return;
  FHideSelection = value;
  RecreateWnd();
}

bool TCustomEdit::Modified() const {
  return FHandle ? SendMessageW(FHandle, EM_GETMODIFY, 0, 0) != 0 : FModified;
}

void TCustomEdit::SetModified(bool value) {
  FModified = value;
  if (FHandle) SendMessageW(FHandle, EM_SETMODIFY, value, 0);
}

Integer TCustomEdit::SelStart() const {
  if (!FHandle) return FSelStart;
  DWORD start = 0, end = 0;
  SendMessageW(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<Integer>(start);
}

void TCustomEdit::SetSelStart(Integer value) {
  value = std::clamp<Integer>(value, 0, static_cast<Integer>(Text().size()));
  if (!FHandle) {
    FSelStart = value;
    FSelLength = 0;
    return;
  }
  SendMessageW(FHandle, EM_SETSEL, static_cast<WPARAM>(value), value);
}

Integer TCustomEdit::SelLength() const {
  if (!FHandle) return FSelLength;
  DWORD start = 0, end = 0;
  SendMessageW(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<Integer>(end) - static_cast<Integer>(start);
}

void TCustomEdit::SetSelLength(Integer value) {
  Integer start = SelStart();
  Integer length = std::clamp<Integer>(value, -start, static_cast<Integer>(Text().size()) - start);
  if (!FHandle) {
    FSelLength = std::max(0, length);
    return;
  }
  SendMessageW(FHandle, EM_SETSEL, static_cast<WPARAM>(start), start + length);
}

String TCustomEdit::SelText() const {
  String text = Text();
  Integer start = SelStart(), length = SelLength();
  if (length < 0) {
    start += length;
    length = -length;
  }
  start = std::clamp<Integer>(start, 0, static_cast<Integer>(text.size()));
  return text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

void TCustomEdit::SetSelText(const String& value) {
  if (FHandle) {
    SendMessageW(FHandle, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(WStr(value)));
    return;
  }
  String text = Text();
  size_t start = std::min(static_cast<size_t>(std::max(0, FSelStart)), text.size());
  size_t length = std::min(static_cast<size_t>(std::max(0, FSelLength)), text.size() - start);
  text.replace(start, length, value);
  SetText(text);
  FSelStart = static_cast<Integer>(start + value.size());
  FSelLength = 0;
}

void TCustomEdit::SelectAll() {
  if (FHandle)
    SendMessageW(FHandle, EM_SETSEL, 0, -1);
  else {
    FSelStart = 0;
    FSelLength = static_cast<Integer>(Text().size());
  }
}

void TEdit::Describe(TClassBuilder<TEdit>& c) {
  KST_KEPT_PROPERTY(u"AutoSize", EditAutoSize).Default(1);
  publish::KeptEdit(c);
  publish::TextHint(c);
  publish::Align(c);
  publish::Anchors(c);
  PublishEditCommon(c);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"HideSelection", &TEdit::HideSelection, &TEdit::SetHideSelection).Default(1);
  c.Property(u"MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  c.Property(u"PasswordChar", &TEdit::PasswordChar, &TEdit::SetPasswordChar).Default(0);
  publish::PopupMenu(c);
  c.Property(u"ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(0);
  publish::ShowHint(c);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TEdit::TabStop, &TEdit::SetTabStop).Default(1);
  publish::Text(c);
  publish::Visible(c);
  c.Property(u"OnChange", &TEdit::OnChange);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
}

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {}

void TEdit::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  if (FPasswordChar) params.Style |= ES_PASSWORD;
}

void TEdit::CreateWnd() {
  TCustomEdit::CreateWnd();
  if (FPasswordChar) SendMessageW(FHandle, EM_SETPASSWORDCHAR, static_cast<WPARAM>(FPasswordChar), 0);
}

void TEdit::SetPasswordChar(Char value) {
  if (value == FPasswordChar) return;
  FPasswordChar = value;
  RecreateWnd();
}

// ---- The memo's lines ----

std::vector<String> TMemoStrings::Lines() const {
  if (FUpdating) return FPending;
  return SplitText(FMemo.Text());
}

void TMemoStrings::Store(const std::vector<String>& lines) {
  if (FUpdating) {
    FPending = lines;
    return;
  }
  String text;
  for (const String& line : lines) {
    text += line;
    text += u"\r\n";
  }
  FMemo.SetText(text);
}

void TMemoStrings::CheckIndex(Integer index, Integer count) const {
  if (index < 0 || index >= count) Error(kListIndexError, index);
}

String TMemoStrings::Get(Integer index) const {
  std::vector<String> lines = Lines();
  CheckIndex(index, static_cast<Integer>(lines.size()));
  return lines[static_cast<size_t>(index)];
}

Integer TMemoStrings::GetCount() const {
  return static_cast<Integer>(Lines().size());
}

void TMemoStrings::Insert(Integer index, const String& s) {
  std::vector<String> lines = Lines();
  if (index < 0 || index > static_cast<Integer>(lines.size())) Error(kListIndexError, index);
  // A line of its own even when the text brings breaks with it.
  std::vector<String> inserted = SplitText(s);
  if (inserted.empty()) inserted.emplace_back();
  lines.insert(lines.begin() + index, inserted.begin(), inserted.end());
  Store(lines);
}

void TMemoStrings::Put(Integer index, const String& s) {
  std::vector<String> lines = Lines();
  CheckIndex(index, static_cast<Integer>(lines.size()));
  std::vector<String> replaced = SplitText(s);
  if (replaced.empty()) replaced.emplace_back();
  lines.erase(lines.begin() + index);
  lines.insert(lines.begin() + index, replaced.begin(), replaced.end());
  Store(lines);
}

void TMemoStrings::Delete(Integer index) {
  std::vector<String> lines = Lines();
  CheckIndex(index, static_cast<Integer>(lines.size()));
  lines.erase(lines.begin() + index);
  Store(lines);
}

void TMemoStrings::Clear() {
  Store({});
}

String TMemoStrings::GetTextStr() const {
  if (!FUpdating) return FMemo.Text();
  return TStrings::GetTextStr();
}

void TMemoStrings::SetTextStr(const String& text) {
  if (FUpdating) {
    FPending = SplitText(text);
    return;
  }
  FMemo.SetText(WithWindowsBreaks(text));
}

void TMemoStrings::SetUpdateState(bool updating) {
  if (updating) {
    FPending = Lines();
    FUpdating = true;
  } else {
    FUpdating = false;
    Store(FPending);
    FPending.clear();
  }
}

void TMemo::Describe(TClassBuilder<TMemo>& c) {
  publish::KeptEdit(c);
  publish::Align(c);
  c.Property(u"Alignment", &TMemo::Alignment, &TMemo::SetAlignment).Default(taLeftJustify);
  publish::Anchors(c);
  c.Property(u"BorderStyle", &TMemo::BorderStyle, &TMemo::SetBorderStyle, &BorderStyleType()).Default(bsSingle);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"HideSelection", &TMemo::HideSelection, &TMemo::SetHideSelection).Default(1);
  c.Property(u"Lines", &TMemo::GetLines, &TMemo::SetLines);
  c.Property(u"MaxLength", &TMemo::MaxLength, &TMemo::SetMaxLength).Default(0);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(u"ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly).Default(0);
  c.Property(u"ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars).Default(ssNone);
  publish::ShowHint(c);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TMemo::TabStop, &TMemo::SetTabStop).Default(1);
  publish::Visible(c);
  c.Property(u"WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns).Default(1);
  c.Property(u"WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs).Default(0);
  c.Property(u"WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap).Default(1);
  c.Property(u"OnChange", &TMemo::OnChange);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
}

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner), FLines(std::make_unique<TMemoStrings>(*this)) {
  SetBounds(0, 0, 185, 89);
  SetAutoSelect(false);
}

TMemo::~TMemo() = default;

void TMemo::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  static const DWORD alignments[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  params.Style |= ES_MULTILINE | alignments[FAlignment];
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) params.Style |= WS_HSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= WS_VSCROLL;
  // Wrapped lines never scroll sideways.
  if (FWordWrap && FScrollBars != ssHorizontal && FScrollBars != ssBoth)
    params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
}

void TMemo::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    TCustomEdit::Dispatch(m);
    if (FWantTabs)
      m.Result |= DLGC_WANTTAB;
    else
      m.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
    if (!FWantReturns) m.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
    return;
  }
  if (m.Msg == WM_CHAR && m.WParam == VK_RETURN && !FWantReturns) return;
  if (m.Msg == WM_CHAR && m.WParam == VK_TAB && !FWantTabs) return;
  TCustomEdit::Dispatch(m);
}

void TMemo::SetLines(const TStrings* lines) {
  if (lines) FLines->Assign(*lines);
}

void TMemo::SetScrollBars(TScrollStyle value) {
  if (value == FScrollBars) return;
  FScrollBars = value;
  RecreateWnd();
}

void TMemo::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  RecreateWnd();
}

void TMemo::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  RecreateWnd();
}

TPoint TMemo::CaretPos() const {
  if (!FHandle) return {};
  Integer start = SelStart() + SelLength();
  auto line = static_cast<Integer>(SendMessageW(FHandle, EM_LINEFROMCHAR, static_cast<WPARAM>(start), 0));
  auto lineStart = static_cast<Integer>(SendMessageW(FHandle, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
  return {start - lineStart, line};
}

// ---------------------------------------------------------------------------
// Check box and radio button

void TCheckBox::Describe(TClassBuilder<TCheckBox>& c) {
  publish::Action(c);
  publish::KeptWindowed(c);
  publish::Align(c);
  c.Property(u"Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment, &LeftRightType()).Default(taRightJustify);
  c.Property(u"AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(0);
  publish::Anchors(c);
  publish::Caption(c);
  c.Property(u"Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).StoredWhen([](const TCheckBox& o) {
    return o.State() == cbChecked;
  });
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  publish::Font(c);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  c.Property(u"State", &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TCheckBox::TabStop, &TCheckBox::SetTabStop).Default(1);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
}

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
  FControlStyle = {csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCheckBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"BUTTON");
  // We keep the state: the system only shows it.
  params.Style |= BS_3STATE;
  if (FAlignment == taLeftJustify) params.Style |= BS_LEFTTEXT;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCheckBox::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(FHandle, BM_SETCHECK, static_cast<WPARAM>(FState), 0);
}

void TCheckBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Toggle();
      m.Result = 0;
      break;
    case WM_ERASEBKGND: DefaultHandler(m); break;
    default: TWinControl::Dispatch(m); break;
  }
}

void TCheckBox::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<Word>(m.WParam), Caption()) && CanFocus()) {
    SetFocus();
    if (Focused()) Toggle();
    m.Result = 1;
    return;
  }
  TWinControl::CMDialogChar(m);
}

void TCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCheckBox::SetState(TCheckBoxState value) {
  if (value == FState) return;
  FState = value;
  if (FHandle) SendMessageW(FHandle, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  if (!ComponentState().Contains(csLoading)) Click();
}

void TCheckBox::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  RecreateWnd();
}

void TRadioButton::Describe(TClassBuilder<TRadioButton>& c) {
  publish::KeptWindowed(c);
  publish::Align(c);
  c.Property(u"Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment, &LeftRightType())
      .Default(taRightJustify);
  publish::Anchors(c);
  publish::Caption(c);
  c.Property(u"Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(0);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  publish::Font(c);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
}

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
  FControlStyle = {csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"BUTTON");
  params.Style |= BS_RADIOBUTTON;
  if (FAlignment == taLeftJustify) params.Style |= BS_LEFTTEXT;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TRadioButton::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(FHandle, BM_SETCHECK, FChecked, 0);
}

void TRadioButton::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  // Only the checked one of a group takes part in tabbing.
  SetTabStop(value);
  if (FHandle) SendMessageW(FHandle, BM_SETCHECK, value, 0);
  if (!value) return;
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this)
        sibling->SetChecked(false);
  }
  if (!ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) SetChecked(true);
      m.Result = 0;
      break;
    case WM_ERASEBKGND: DefaultHandler(m); break;
    default: TWinControl::Dispatch(m); break;
  }
}

void TRadioButton::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<Word>(m.WParam), Caption()) && CanFocus()) {
    SetFocus();
    if (Focused()) SetChecked(true);
    m.Result = 1;
    return;
  }
  TWinControl::CMDialogChar(m);
}

void TRadioButton::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  RecreateWnd();
}

// ---------------------------------------------------------------------------
// Group box

void TCustomGroupBox::Describe(TClassBuilder<TCustomGroupBox>&) {}

void TGroupBox::Describe(TClassBuilder<TGroupBox>& c) {
  publish::KeptWindowed(c);
  publish::Align(c);
  publish::Anchors(c);
  publish::Caption(c);
  publish::Color(c);
  publish::Constraints(c);
  publish::DoubleBuffered(c);
  publish::Enabled(c);
  publish::Font(c);
  publish::ParentBackground(c);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  publish::TabOrder(c);
  publish::TabStop(c);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomGroupBox::AdjustClientRect(TRect& rect) const {
  TCustomControl::AdjustClientRect(rect);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font().Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  rect.Top += tm.tmHeight;
  rect.Inflate(-1, -1);
}

void TCustomGroupBox::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(&Font());
  Integer h = canvas.TextHeight(u"0");
  TRect r = ClientRect();
  if (!ParentBackground()) {
    canvas.Brush().SetColor(Color());
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(r);
  }
  r.Top += h / 2;
  RECT frame = ToRECT(r);
  DrawEdge(canvas.Handle(), &frame, EDGE_ETCHED, BF_RECT);
  String caption = Caption();
  if (caption.empty()) return;
  TRect text = Rect(0, 0, 0, 0);
  canvas.DrawText(caption, text, DT_SINGLELINE | DT_CALCRECT);
  text.Offset(8, 0);
  // The caption interrupts the frame line.
  canvas.Brush().SetColor(Color());
  canvas.Brush().SetStyle(bsSolid);
  if (!Enabled()) canvas.Font().SetColor(clGrayText);
  canvas.DrawText(caption, text, DT_SINGLELINE);
}

void TCustomGroupBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
      Invalidate();
      Realign();
      break;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(m);
      Realign();
      break;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<Word>(m.WParam), Caption()) && CanFocus()) {
        std::vector<TWinControl*> list;
        GetTabOrderList(list);
        for (TWinControl* c : list)
          if (c->CanFocus() && c->TabStop()) {
            c->SetFocus();
            m.Result = 1;
            return;
          }
      }
      TCustomControl::Dispatch(m);
      break;
    default: TCustomControl::Dispatch(m); break;
  }
}

// ---------------------------------------------------------------------------
// The items of list boxes and combo boxes

void TWinListStrings::CheckIndex(Integer index, Integer count) const {
  if (index < 0 || index >= count) Error(kListIndexError, index);
}

int TWinListStrings::CompareStrings(const String& s1, const String& s2) const {
  return AnsiCompareText(s1, s2);
}

String TWinListStrings::Get(Integer index) const {
  if (!Live()) {
    CheckIndex(index, static_cast<Integer>(FItems.size()));
    return FItems[static_cast<size_t>(index)].Text;
  }
  HWND w = Window();
  LRESULT length = SendMessageW(w, FMsg.GetTextLen, static_cast<WPARAM>(index), 0);
  if (length == FMsg.Error || length < 0) Error(kListIndexError, index);
  String text(static_cast<size_t>(length) + 1, u'\0');
  LRESULT n = SendMessageW(w, FMsg.GetText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(WBuf(text)));
  text.resize(static_cast<size_t>(std::max<LRESULT>(0, std::min<LRESULT>(n, length))));
  return text;
}

Integer TWinListStrings::GetCount() const {
  if (!Live()) return static_cast<Integer>(FItems.size());
  return static_cast<Integer>(SendMessageW(Window(), FMsg.GetCount, 0, 0));
}

TObject* TWinListStrings::GetObject(Integer index) const {
  if (!Live()) {
    CheckIndex(index, static_cast<Integer>(FItems.size()));
    return FItems[static_cast<size_t>(index)].Object;
  }
  CheckIndex(index, GetCount());
  LRESULT data = SendMessageW(Window(), FMsg.GetItemData, static_cast<WPARAM>(index), 0);
  if (data == FMsg.Error) return nullptr;
  return reinterpret_cast<TObject*>(data);
}

void TWinListStrings::PutObject(Integer index, TObject* object) {
  if (!Live()) {
    CheckIndex(index, static_cast<Integer>(FItems.size()));
    FItems[static_cast<size_t>(index)].Object = object;
    return;
  }
  CheckIndex(index, GetCount());
  if (SendMessageW(Window(), FMsg.SetItemData, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(object)) ==
      FMsg.Error)
    Error(kListIndexError, index);
}

Integer TWinListStrings::Add(const String& s) {
  if (Live()) {
    LRESULT index = SendMessageW(Window(), FMsg.AddString, 0, reinterpret_cast<LPARAM>(WStr(s)));
    if (index < 0) throw EOutOfResources(u"Failed to add a string");
    return static_cast<Integer>(index);
  }
  auto at = FItems.end();
  if (FSorted)
    at = std::upper_bound(FItems.begin(), FItems.end(), s,
                          [this](const String& a, const Item& b) { return CompareStrings(a, b.Text) < 0; });
  auto index = static_cast<Integer>(at - FItems.begin());
  FItems.insert(at, Item{s, nullptr});
  return index;
}

void TWinListStrings::Insert(Integer index, const String& s) {
  Integer count = GetCount();
  if (index < 0 || index > count) Error(kListIndexError, index);
  if (Live()) {
    if (SendMessageW(Window(), FMsg.InsertString, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(WStr(s))) < 0)
      throw EOutOfResources(u"Failed to add a string");
    return;
  }
  FItems.insert(FItems.begin() + index, Item{s, nullptr});
}

void TWinListStrings::Delete(Integer index) {
  if (!Live()) {
    CheckIndex(index, static_cast<Integer>(FItems.size()));
    FItems.erase(FItems.begin() + index);
    return;
  }
  if (SendMessageW(Window(), FMsg.DeleteString, static_cast<WPARAM>(index), 0) == FMsg.Error)
    Error(kListIndexError, index);
}

void TWinListStrings::Clear() {
  FItems.clear();
  if (Live()) SendMessageW(Window(), FMsg.ResetContent, 0, 0);
}

void TWinListStrings::SetUpdateState(bool updating) {
  if (!Live()) return;
  SendMessageW(Window(), WM_SETREDRAW, !updating, 0);
  if (!updating) InvalidateRect(Window(), nullptr, TRUE);
}

void TWinListStrings::SetSorted(bool value) {
  FSorted = value;
  if (!value || Live()) return;
  std::stable_sort(FItems.begin(), FItems.end(),
                   [this](const Item& a, const Item& b) { return CompareStrings(a.Text, b.Text) < 0; });
}

void TWinListStrings::SaveFromWindow() {
  if (!Live()) return;
  std::vector<Item> items;
  Integer count = GetCount();
  items.reserve(static_cast<size_t>(std::max(0, count)));
  for (Integer i = 0; i < count; ++i) items.push_back(Item{Get(i), GetObject(i)});
  FItems = std::move(items);
}

void TWinListStrings::RestoreToWindow() {
  if (!Live()) return;
  HWND w = Window();
  SendMessageW(w, FMsg.ResetContent, 0, 0);
  for (const Item& item : FItems) {
    LRESULT index = SendMessageW(w, FMsg.AddString, 0, reinterpret_cast<LPARAM>(WStr(item.Text)));
    if (index >= 0 && item.Object)
      SendMessageW(w, FMsg.SetItemData, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.Object));
  }
  FItems.clear();
}

// ---------------------------------------------------------------------------
// List box

namespace {
const TWinListStrings::Messages kListBoxMessages{LB_ADDSTRING,   LB_INSERTSTRING, LB_DELETESTRING, LB_GETTEXT,
                                                 LB_GETTEXTLEN,  LB_GETCOUNT,     LB_RESETCONTENT, LB_GETITEMDATA,
                                                 LB_SETITEMDATA, LB_ERR};
const TWinListStrings::Messages kComboBoxMessages{CB_ADDSTRING,    CB_INSERTSTRING, CB_DELETESTRING, CB_GETLBTEXT,
                                                  CB_GETLBTEXTLEN, CB_GETCOUNT,     CB_RESETCONTENT, CB_GETITEMDATA,
                                                  CB_SETITEMDATA,  CB_ERR};
}  // namespace

void TListBox::Describe(TClassBuilder<TListBox>& c) {
  KST_KEPT_PROPERTY(u"ScrollWidth", ScrollWidth).Default(0);
  KST_KEPT_PROPERTY(u"Style", ListBoxStyle).Default(lbStandard);
  publish::KeptEvent<0>(c, u"OnDrawItem", TKeptEvent::DrawItem);
  publish::KeptEdit(c);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"BorderStyle", &TListBox::BorderStyle, &TListBox::SetBorderStyle, &BorderStyleType()).Default(bsSingle);
  publish::Color(c);
  publish::Constraints(c);
  publish::Enabled(c);
  c.Property(u"ExtendedSelect", &TListBox::ExtendedSelect, &TListBox::SetExtendedSelect).Default(1);
  publish::Font(c);
  c.Property(u"IntegralHeight", &TListBox::IntegralHeight, &TListBox::SetIntegralHeight).Default(0);
  c.Property(u"ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight).Default(16);
  c.Property(u"ItemIndex", &TListBox::ItemIndex, &TListBox::SetItemIndex).Default(-1);
  c.Property(u"Items", &TListBox::GetItems, &TListBox::SetItems);
  c.Property(u"MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect).Default(0);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  c.Property(u"Sorted", &TListBox::Sorted, &TListBox::SetSorted).Default(0);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TListBox::TabStop, &TListBox::SetTabStop).Default(1);
  publish::Visible(c);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
}

TListBox::TListBox(TComponent* owner)
    : TWinControl(owner), FItems(std::make_unique<TWinListStrings>(*this, kListBoxMessages)) {
  FControlStyle = {csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

TListBox::~TListBox() = default;

void TListBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"LISTBOX");
  params.Style |= LBS_NOTIFY | LBS_HASSTRINGS | WS_VSCROLL;
  if (!FIntegralHeight) params.Style |= LBS_NOINTEGRALHEIGHT;
  if (FItems->Sorted()) params.Style |= LBS_SORT;
  if (FMultiSelect) params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TListBox::CreateWnd() {
  TWinControl::CreateWnd();
  FItems->RestoreToWindow();
  if (FMultiSelect)
    for (size_t i = 0; i < FSelection.size(); ++i)
      if (FSelection[i]) SendMessageW(FHandle, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
  FSelection.clear();
  SetItemIndex(FItemIndex);
}

void TListBox::DestroyWnd() {
  if (FHandle) {
    FItemIndex = ItemIndex();
    FSelection.clear();
    if (FMultiSelect)
      for (Integer i = 0; i < Count(); ++i) FSelection.push_back(Selected(i));
    FItems->SaveFromWindow();
  }
  TWinControl::DestroyWnd();
}

void TListBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      switch (HIWORD(m.WParam)) {
        case LBN_SELCHANGE: Click(); break;
        case LBN_DBLCLK: DblClick(); break;
        default: break;
      }
      m.Result = 0;
      break;
    default: TWinControl::Dispatch(m); break;
  }
}

void TListBox::SetItems(const TStrings* items) {
  if (items) FItems->Assign(*items);
}

Integer TListBox::ItemIndex() const {
  if (!FHandle) return FItemIndex;
  if (FMultiSelect) return static_cast<Integer>(SendMessageW(FHandle, LB_GETCARETINDEX, 0, 0));
  return static_cast<Integer>(SendMessageW(FHandle, LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(Integer value) {
  if (!FHandle) {
    FItemIndex = value;
    return;
  }
  if (value < -1 || value >= Count()) value = -1;
  if (FMultiSelect) {
    if (value >= 0) {
      SendMessageW(FHandle, LB_SETSEL, TRUE, value);
      SendMessageW(FHandle, LB_SETCARETINDEX, static_cast<WPARAM>(value), FALSE);
    }
  } else {
    SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(value), 0);
  }
}

void TListBox::SetMultiSelect(bool value) {
  if (value == FMultiSelect) return;
  FMultiSelect = value;
  RecreateWnd();
}

void TListBox::SetExtendedSelect(bool value) {
  if (value == FExtendedSelect) return;
  FExtendedSelect = value;
  RecreateWnd();
}

void TListBox::SetSorted(bool value) {
  if (value == FItems->Sorted()) return;
  FItems->SetSorted(value);
  if (!FHandle) return;
  // The window sorts the items again as they go back into it.
  RecreateWnd();
  FItems->SetSorted(value);
}

void TListBox::SetBorderStyle(TFormBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}

void TListBox::SetIntegralHeight(bool value) {
  if (value == FIntegralHeight) return;
  FIntegralHeight = value;
  RecreateWnd();
}

Integer TListBox::SelCount() const {
  if (!FHandle || !FMultiSelect) return ItemIndex() >= 0 ? 1 : 0;
  return static_cast<Integer>(SendMessageW(FHandle, LB_GETSELCOUNT, 0, 0));
}

bool TListBox::Selected(Integer index) const {
  if (index < 0 || index >= Count()) throw EStringListError(Format(kListIndexError, {index}));
  if (!FHandle) {
    if (FMultiSelect) return static_cast<size_t>(index) < FSelection.size() && FSelection[static_cast<size_t>(index)];
    return index == FItemIndex;
  }
  if (!FMultiSelect) return index == ItemIndex();
  return SendMessageW(FHandle, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void TListBox::SetSelected(Integer index, bool value) {
  if (index < 0 || index >= Count()) throw EStringListError(Format(kListIndexError, {index}));
  if (!FMultiSelect) {
    if (value)
      SetItemIndex(index);
    else if (ItemIndex() == index)
      SetItemIndex(-1);
    return;
  }
  if (!FHandle) {
    if (FSelection.size() <= static_cast<size_t>(index)) FSelection.resize(static_cast<size_t>(index) + 1);
    FSelection[static_cast<size_t>(index)] = value;
    return;
  }
  SendMessageW(FHandle, LB_SETSEL, value, index);
}

Integer TListBox::TopIndex() const {
  return FHandle ? static_cast<Integer>(SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0)) : 0;
}

void TListBox::SetTopIndex(Integer value) {
  if (FHandle) SendMessageW(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, value)), 0);
}

Integer TListBox::ItemAtPos(TPoint pos, bool existing) const {
  if (!FHandle) return -1;
  LRESULT r = SendMessageW(FHandle, LB_ITEMFROMPOINT, 0, MAKELPARAM(pos.X, pos.Y));
  Integer index = LOWORD(r);
  bool outside = HIWORD(r) != 0;
  if (outside) return existing ? -1 : Count();
  return index;
}

// ---------------------------------------------------------------------------
// Combo box

void TComboBox::Describe(TClassBuilder<TComboBox>& c) {
  KST_KEPT_PROPERTY(u"AutoComplete", AutoComplete).Default(1);
  publish::KeptEdit(c);
  publish::Align(c);
  publish::Anchors(c);
  c.Property(u"CharCase", &TComboBox::CharCase, &TComboBox::SetCharCase)
      .Default(static_cast<Integer>(TEditCharCase::ecNormal));
  publish::Color(c);
  publish::Constraints(c);
  c.Property(u"DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount).Default(8);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight).Default(16);
  c.Property(u"ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex).Default(-1);
  c.Property(u"MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength).Default(0);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  publish::ShowHint(c);
  c.Property(u"Sorted", &TComboBox::Sorted, &TComboBox::SetSorted).Default(0);
  c.Property(u"Style", &TComboBox::Style, &TComboBox::SetStyle).Default(csDropDown);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TComboBox::TabStop, &TComboBox::SetTabStop).Default(1);
  publish::Text(c);
  publish::Visible(c);
  c.Property(u"OnChange", &TComboBox::OnChange);
  c.Property(u"OnClick", &TComboBox::OnClick);
  c.Property(u"OnCloseUp", &TComboBox::OnCloseUp);
  c.Property(u"OnContextPopup", &TComboBox::OnContextPopup);
  c.Property(u"OnDblClick", &TComboBox::OnDblClick);
  c.Property(u"OnDropDown", &TComboBox::OnDropDown);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
  c.Property(u"OnSelect", &TComboBox::OnSelect);
  // Items last: the text and index read before them apply once they are there.
  c.Property(u"Items", &TComboBox::GetItems, &TComboBox::SetItems);
}

TComboBox::TComboBox(TComponent* owner)
    : TWinControl(owner), FItems(std::make_unique<TWinListStrings>(*this, kComboBoxMessages)) {
  FControlStyle = {csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

TComboBox::~TComboBox() = default;

Integer TComboBox::DroppedHeight() const {
  // The system takes the height it is made with as the height with the
  // list open; room for DropDownCount items.
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font().Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return FHeight + std::max(1, FDropDownCount) * tm.tmHeight + 2;
}

void TComboBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"COMBOBOX");
  static const DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                 CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
  params.Style |= styles[FStyle] | CBS_AUTOHSCROLL | CBS_HASSTRINGS | WS_VSCROLL;
  if (FItems->Sorted()) params.Style |= CBS_SORT;
  if (FCharCase == TEditCharCase::ecUpperCase) params.Style |= CBS_UPPERCASE;
  if (FCharCase == TEditCharCase::ecLowerCase) params.Style |= CBS_LOWERCASE;
  if (FStyle != csSimple) params.Height = DroppedHeight();
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TComboBox::CreateWnd() {
  String text = FText;
  FCreating = true;
  try {
    TWinControl::CreateWnd();
    FItems->RestoreToWindow();
    SendMessageW(FHandle, CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
    if (FItemIndex >= 0)
      SetItemIndex(FItemIndex);
    else if (FStyle != csDropDownList)
      SetWindowTextW(FHandle, WStr(text));
  } catch (...) {
    FCreating = false;
    throw;
  }
  FCreating = false;
}

void TComboBox::DestroyWnd() {
  if (FHandle) {
    FItemIndex = ItemIndex();
    FItems->SaveFromWindow();
  }
  TWinControl::DestroyWnd();
}

void TComboBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (!FCreating) switch (HIWORD(m.WParam)) {
          case CBN_EDITCHANGE: Change(); break;
          case CBN_SELCHANGE:
            // The edit shows the choice only after this notification.
            if (FStyle != csDropDownList) {
              Integer index = ItemIndex();
              if (index >= 0) SetWindowTextW(FHandle, WStr(FItems->Get(index)));
            }
            Click();
            Select();
            break;
          case CBN_DROPDOWN:
            if (CanFireEvents()) OnDropDown(this);
            break;
          case CBN_CLOSEUP:
            if (CanFireEvents()) OnCloseUp(this);
            break;
          default: break;
        }
      m.Result = 0;
      break;
    case WM_WINDOWPOSCHANGING: {
      // Sized as a control of the closed height, the window keeps the room
      // its list needs; the system then sizes the window to the closed
      // height itself, which is left alone.
      auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
      if (FSizing && pos && !(pos->flags & SWP_NOSIZE) && FStyle != csSimple) {
        pos->cy = DroppedHeight();
        FSizing = false;
      }
      TWinControl::Dispatch(m);
      break;
    }
    default: TWinControl::Dispatch(m); break;
  }
}

void TComboBox::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  FSizing = true;
  try {
    TWinControl::SetBounds(left, top, width, height);
  } catch (...) {
    FSizing = false;
    throw;
  }
  FSizing = false;
}

void TComboBox::Change() {
  if (ComponentState().Contains(csLoading)) return;
  if (CanFireEvents()) OnChange(this);
}

void TComboBox::Select() {
  if (ComponentState().Contains(csLoading)) return;
  if (OnSelect) {
    if (CanFireEvents()) OnSelect(this);
  } else {
    Change();
  }
}

String TComboBox::GetText() const {
  if (!FHandle && FStyle == csDropDownList) {
    Integer count = FItems->Count();
    return FItemIndex >= 0 && FItemIndex < count ? FItems->Get(FItemIndex) : String();
  }
  return TWinControl::GetText();
}

void TComboBox::SetText(const String& text) {
  if (FStyle == csDropDownList) {
    // Only an item can be shown: the one with this text.
    Integer index = -1;
    for (Integer i = 0; i < FItems->Count(); ++i)
      if (FItems->Get(i) == text) {
        index = i;
        break;
      }
    SetItemIndex(index);
    return;
  }
  TWinControl::SetText(text);
}

void TComboBox::SetItems(const TStrings* items) {
  if (items) FItems->Assign(*items);
}

Integer TComboBox::ItemIndex() const {
  if (!FHandle) return FItemIndex;
  return static_cast<Integer>(SendMessageW(FHandle, CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(Integer value) {
  if (!FHandle) {
    FItemIndex = value;
    if (FStyle != csDropDownList && value >= 0 && value < FItems->Count()) FText = FItems->Get(value);
    return;
  }
  if (value < -1 || value >= Count()) value = -1;
  SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TComboBox::SetStyle(TComboBoxStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  RecreateWnd();
}

void TComboBox::SetDropDownCount(Integer value) {
  FDropDownCount = std::max(1, value);
  if (FHandle && FStyle != csSimple) {
    FSizing = true;
    SetWindowPos(FHandle, nullptr, 0, 0, FWidth, FHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FSizing = false;
  }
}

void TComboBox::SetSorted(bool value) {
  if (value == FItems->Sorted()) return;
  FItems->SetSorted(value);
  if (!FHandle) return;
  RecreateWnd();
  FItems->SetSorted(value);
}

void TComboBox::SetMaxLength(Integer value) {
  FMaxLength = std::max(0, value);
  if (FHandle) SendMessageW(FHandle, CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TComboBox::SetCharCase(TEditCharCase value) {
  if (value == FCharCase) return;
  FCharCase = value;
  RecreateWnd();
}

bool TComboBox::DroppedDown() const {
  return FHandle && SendMessageW(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TComboBox::SetDroppedDown(bool value) {
  if (FHandle) SendMessageW(FHandle, CB_SHOWDROPDOWN, value, 0);
}

void TComboBox::Clear() {
  FItems->Clear();
  SetText(String());
  FItemIndex = -1;
}
