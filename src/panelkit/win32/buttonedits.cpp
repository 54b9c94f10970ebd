#include "panelkit/win32/buttonedits.h"
#include "panelkit/win32/lifeguard.h"

#include <shlobj.h>

#include "panelkit/win32/editpublish.h"

KST_CLASS_IMPL(TPxCustomButtonEdit, "PxEdit")
KST_CLASS_IMPL(TPxButtonEdit, "PxEdit")
KST_CLASS_IMPL(TPxImagePathEdit, "PxEdit")
KST_CLASS_IMPL(TPxFolderEdit, "PxEdit")

const TTypeInfo& DescribeType(TypeTag<TPxEditOption>) {
  static const TEnumTypeInfo t(u"TPxEditOption", u"PxEdit", {u"epDisablePaste", u"epDisableTyping"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPxEditOptions>) {
  static const TSetTypeInfo t(u"TPxEditOptions", u"PxEdit",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TPxEditOption>{})));
  return t;
}

// ---- Button edit base ----

void TPxCustomButtonEdit::Describe(TClassBuilder<TPxCustomButtonEdit>& c) {
  using T = TPxCustomButtonEdit;
  c.Property(u"Options", &T::Options, &T::SetOptions).Default(0);
  c.Property(u"ShowButton", &T::ShowButton, &T::SetShowButton).Default(1);
  c.Property(u"OnButtonClick", &T::OnButtonClick);
  c.Property(u"OnButtonDown", &T::OnButtonDown);
}

TPxCustomButtonEdit::TPxCustomButtonEdit(TComponent* owner, bool dropDownButton) : TPxEdit(owner) {
  if (dropDownButton)
    FButton = new TDropDownButton(this);
  else
    FButton = new TPxExecuteButton(this);
  FButton->SetCellEditor(this);
  FButton->SetVisible(false);
  FButton->SetParent(this);
  FButton->OnButtonDown = TNotifyEvent(this, &TPxCustomButtonEdit::DoButtonDown);
  FButton->OnButtonClick = TNotifyEvent(this, &TPxCustomButtonEdit::DoButtonClick);
}

TPxCustomButtonEdit::~TPxCustomButtonEdit() = default;

void TPxCustomButtonEdit::SetShowButton(bool value) {
  FShowButton = value;
  FButton->SetVisible(value);
  UpdateButton();
  ApplyMargins();
}

void TPxCustomButtonEdit::UpdateButton() {
  Invalidate();
  if (!HandleAllocated()) return;
  const Integer width = FButton->Width();
  FButton->SetBounds(ClientWidth() - width, 0, width, ClientHeight());
  FButton->SetVisible(FShowButton);
  FButton->Invalidate();
}

void TPxCustomButtonEdit::AdjustEditMargins(Integer& left, Integer& right) {
  TPxEdit::AdjustEditMargins(left, right);
  // The button's room replaces the configured right margin.
  right = FShowButton && FButton ? FButton->Width() : 0;
}

void TPxCustomButtonEdit::CreateWnd() {
  TPxEdit::CreateWnd();
  UpdateButton();
  ApplyMargins();
}

void TPxCustomButtonEdit::BeginEditing() {
  TPxEdit::BeginEditing();
  FButton->Invalidate();
}

void TPxCustomButtonEdit::PopupInput(TObject*, const String& value) {
  SetInputText(value);
  CloseDropDown();
  FButton->SetHover(false);
  FButton->SetDown(false);
}

void TPxCustomButtonEdit::DoButtonClick(TObject*) {
  if (OnButtonClick && CanFireEvents()) OnButtonClick(this);
}

void TPxCustomButtonEdit::DoButtonDown(TObject*) {
  if (OnButtonDown && CanFireEvents()) OnButtonDown(this);
}

void TPxCustomButtonEdit::KeyDown(Word& key, TShiftState shift) {
  if (FOptions.Contains(epDisableTyping) && IsDeletionKey(key)) {
    key = 0;
    return;
  }
  TPxEdit::KeyDown(key, shift);
}

void TPxCustomButtonEdit::KeyPress(Char& key) {
  if (FOptions.Contains(epDisableTyping)) {
    key = 0;
    return;
  }
  TPxEdit::KeyPress(key);
}

void TPxCustomButtonEdit::Dispatch(TMessage& m) {
  if (m.Msg == WM_PASTE && FOptions.Contains(epDisablePaste)) return;
  TPxEdit::Dispatch(m);
  if (m.Msg == WM_SIZE) {
    UpdateButton();
    ApplyMargins();
  } else if (m.Msg == WM_WINDOWPOSCHANGED && !ComponentState().Contains(csDestroying)) {
    FButton->Invalidate();
  }
}

// ---- Button edit ----

void TPxButtonEdit::Describe(TClassBuilder<TPxButtonEdit>& c) {
  using T = TPxButtonEdit;
  c.Property(u"ButtonCaption", &T::ButtonCaption, &T::SetButtonCaption);
  c.Property(u"ButtonGlyph", &T::GetButtonGlyph, &T::SetButtonGlyph);
  c.Property(u"ButtonWidth", &T::ButtonWidth, &T::SetButtonWidth).Default(21);
  c.Property(u"TransparentColor", &T::TransparentColor, &T::SetTransparentColor, &types::Color());
}

TPxButtonEdit::TPxButtonEdit(TComponent* owner)
    : TPxCustomButtonEdit(owner), FButtonGlyph(std::make_unique<TBitmap>()) {
  if (auto* button = dynamic_cast<TPxExecuteButton*>(&Button())) button->SetGlyph(FButtonGlyph.get());
}

void TPxButtonEdit::SetButtonCaption(const String& value) {
  Button().SetCaption(value);
}

void TPxButtonEdit::SetButtonGlyph(const TBitmap* value) {
  FButtonGlyph->Assign(value);
  GlyphUpdated();
}

void TPxButtonEdit::SetTransparentColor(TColor value) {
  FTransparentColor = value;
  GlyphUpdated();
}

void TPxButtonEdit::GlyphUpdated() {
  if (FButtonGlyph->Empty()) return;
  FButtonGlyph->SetTransparentColor(FTransparentColor);
  FButtonGlyph->SetTransparent(true);
  Button().Invalidate();
}

void TPxButtonEdit::SetButtonWidth(Integer value) {
  Button().SetBounds(Button().Left(), Button().Top(), value, Button().Height());
  ApplyMargins();
  UpdateButton();
}

void TPxButtonEdit::KeyDown(Word& key, TShiftState shift) {
  const Word pressed = key;
  TPxCustomButtonEdit::KeyDown(key, shift);
  if (pressed == VK_RETURN && shift.Contains(ssCtrl)) DoButtonClick(this);
}

// ---- Picture path edit ----

void TPxImagePathEdit::Describe(TClassBuilder<TPxImagePathEdit>&) {}

TPxImagePathEdit::TPxImagePathEdit(TComponent* owner) : TPxButtonEdit(owner) {
  FPictureDialog = new TOpenDialog(this);
  FPictureDialog->SetFilter(
      u"All pictures|*.bmp;*.ico;*.emf;*.wmf;*.jpg;*.jpeg|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
      u"Metafiles (*.emf;*.wmf)|*.emf;*.wmf|JPEG pictures (*.jpg;*.jpeg)|*.jpg;*.jpeg");
}

void TPxImagePathEdit::DoButtonClick(TObject* sender) {
  TPxLifeGuard guard(this);
  TPxButtonEdit::DoButtonClick(sender);
  if (guard.Alive() && FPictureDialog->Execute()) SetText(FPictureDialog->FileName());
}

// ---- Folder edit ----

void TPxFolderEdit::Describe(TClassBuilder<TPxFolderEdit>& c) {
  using T = TPxFolderEdit;
  c.Property(u"DialogCaption", &T::DialogCaption, &T::SetDialogCaption);
  c.Property(u"Root", &T::Root, &T::SetRoot);
}

TPxFolderEdit::TPxFolderEdit(TComponent* owner) : TPxButtonEdit(owner) {}

namespace {

int CALLBACK FolderBrowserCallback(HWND window, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED && start) SendMessageW(window, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

// The item list of a folder path, or none when the path names nothing.
LPITEMIDLIST FolderItemList(const String& path) {
  if (path.empty()) return nullptr;
  LPITEMIDLIST item = nullptr;
  if (FAILED(SHParseDisplayName(reinterpret_cast<const wchar_t*>(path.c_str()), nullptr, &item, 0, nullptr)))
    return nullptr;
  return item;
}

}  // namespace

void TPxFolderEdit::DoButtonClick(TObject* sender) {
  TPxButtonEdit::DoButtonClick(sender);
  const String start = Text();
  BROWSEINFOW info{};
  info.hwndOwner = nullptr;
  info.pidlRoot = FolderItemList(FRoot);
  info.lpszTitle = reinterpret_cast<const wchar_t*>(FDialogCaption.c_str());
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = FolderBrowserCallback;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
  if (info.pidlRoot) CoTaskMemFree(const_cast<LPITEMIDLIST>(info.pidlRoot));
  if (!chosen) return;
  wchar_t path[MAX_PATH] = {};
  const bool named = SHGetPathFromIDListW(chosen, path) != FALSE;
  CoTaskMemFree(chosen);
  if (named) SetText(reinterpret_cast<const char16_t*>(path));
}
