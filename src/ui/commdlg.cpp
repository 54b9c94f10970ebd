#include "ui/commdlg.h"

#include <cderr.h>
#include <dlgs.h>

#include <algorithm>

#include "classes/filer.h"
#include "classes/identmaps.h"
#include "rtl/format.h"
#include "rtl/numbers.h"

KST_CLASS_IMPL(TCommonDialog, "Dialogs")
KST_CLASS_IMPL(TOpenDialog, "Dialogs")
KST_CLASS_IMPL(TSaveDialog, "Dialogs")
KST_CLASS_IMPL(TFindDialog, "Dialogs")
KST_CLASS_IMPL(TReplaceDialog, "Dialogs")
KST_CLASS_IMPL(TFontDialog, "Dialogs")
KST_CLASS_IMPL(TColorDialog, "Dialogs")
KST_CLASS_IMPL(TPrintDialog, "Dialogs")
KST_CLASS_IMPL(TPrinterSetupDialog, "Dialogs")

// ---------------------------------------------------------------------------
// Types

const TTypeInfo& DescribeType(TypeTag<TOpenOption>) {
  static const TEnumTypeInfo t(
      u"TOpenOption", u"Dialogs",
      {u"ofReadOnly",         u"ofOverwritePrompt",    u"ofHideReadOnly",        u"ofNoChangeDir",
       u"ofShowHelp",         u"ofNoValidate",         u"ofAllowMultiSelect",    u"ofExtensionDifferent",
       u"ofPathMustExist",    u"ofFileMustExist",      u"ofCreatePrompt",        u"ofShareAware",
       u"ofNoReadOnlyReturn", u"ofNoTestFileCreate",   u"ofNoNetworkButton",     u"ofNoLongNames",
       u"ofOldStyleDialog",   u"ofNoDereferenceLinks", u"ofEnableIncludeNotify", u"ofEnableSizing",
       u"ofDontAddToRecent",  u"ofForceShowHidden"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TOpenOptions>) {
  static const TSetTypeInfo t(u"TOpenOptions", u"Dialogs",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TOpenOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TOpenOptionEx>) {
  static const TEnumTypeInfo t(u"TOpenOptionEx", u"Dialogs", {u"ofExNoPlacesBar"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TOpenOptionsEx>) {
  static const TSetTypeInfo t(u"TOpenOptionsEx", u"Dialogs",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TOpenOptionEx>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TFindOption>) {
  static const TEnumTypeInfo t(u"TFindOption", u"Dialogs",
                               {u"frDown", u"frFindNext", u"frHideMatchCase", u"frHideWholeWord", u"frHideUpDown",
                                u"frMatchCase", u"frDisableMatchCase", u"frDisableUpDown", u"frDisableWholeWord",
                                u"frReplace", u"frReplaceAll", u"frWholeWord", u"frShowHelp"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TFindOptions>) {
  static const TSetTypeInfo t(u"TFindOptions", u"Dialogs",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TFindOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TFontDialogOption>) {
  static const TEnumTypeInfo t(
      u"TFontDialogOption", u"Dialogs",
      {u"fdAnsiOnly", u"fdTrueTypeOnly", u"fdEffects", u"fdFixedPitchOnly", u"fdForceFontExist", u"fdNoFaceSel",
       u"fdNoOEMFonts", u"fdNoSimulations", u"fdNoSizeSel", u"fdNoStyleSel", u"fdNoVectorFonts", u"fdShowHelp",
       u"fdWysiwyg", u"fdLimitSize", u"fdScalableOnly", u"fdApplyButton"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TFontDialogOptions>) {
  static const TSetTypeInfo t(u"TFontDialogOptions", u"Dialogs",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TFontDialogOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TFontDialogDevice>) {
  static const TEnumTypeInfo t(u"TFontDialogDevice", u"Dialogs", {u"fdScreen", u"fdPrinter", u"fdBoth"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TColorDialogOption>) {
  static const TEnumTypeInfo t(u"TColorDialogOption", u"Dialogs",
                               {u"cdFullOpen", u"cdPreventFullOpen", u"cdShowHelp", u"cdSolidColor", u"cdAnyColor"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TColorDialogOptions>) {
  static const TSetTypeInfo t(u"TColorDialogOptions", u"Dialogs",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TColorDialogOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPrintDialogOption>) {
  static const TEnumTypeInfo t(
      u"TPrintDialogOption", u"Dialogs",
      {u"poPrintToFile", u"poPageNums", u"poSelection", u"poWarning", u"poHelp", u"poDisablePrintToFile"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPrintDialogOptions>) {
  static const TSetTypeInfo t(u"TPrintDialogOptions", u"Dialogs",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TPrintDialogOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TPrintRange>) {
  static const TEnumTypeInfo t(u"TPrintRange", u"Dialogs", {u"prAllPages", u"prSelection", u"prPageNums"});
  return t;
}

namespace {

template <class E, size_t N>
DWORD FlagsOf(TSet<E> options, const DWORD (&flags)[N]) {
  DWORD result = 0;
  for (size_t i = 0; i < N; ++i)
    if (options.Contains(static_cast<E>(i))) result |= flags[i];
  return result;
}

// A dialog that did not open (a bad initial file name, no printer, ...) is
// reported; one the person cancelled is not.
bool CheckDialogResult(BOOL confirmed) {
  if (confirmed) return true;
  if (DWORD error = CommDlgExtendedError(); error != 0) {
    if (error == FNERR_BUFFERTOOSMALL) throw EInvalidOperation(u"Too many files were chosen at once");
    if (error == PDERR_NODEFAULTPRN) throw EInvalidOperation(u"There is no default printer currently selected");
    throw EInvalidOperation(Format(u"The dialog could not be shown (error %x)", {static_cast<Integer>(error)}));
  }
  return false;
}

const wchar_t* OrNull(const String& s) {
  return s.empty() ? nullptr : WStr(s);
}

}  // namespace

std::vector<String> ParseOpenFileNames(const wchar_t* buffer, size_t length) {
  std::vector<String> parts;
  if (!buffer) return parts;
  size_t pos = 0;
  while (pos < length && buffer[pos] != 0) {
    size_t end = pos;
    while (end < length && buffer[end] != 0) ++end;
    parts.push_back(FromWStr(buffer + pos, end - pos));
    pos = end + 1;
  }
  if (parts.size() <= 1) return parts;
  String folder = parts[0];
  if (!folder.empty() && folder.back() != u'\\') folder += u'\\';
  std::vector<String> files;
  for (size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
  return files;
}

String SystemFilter(const String& filter) {
  std::vector<String> parts;
  size_t start = 0;
  for (;;) {
    size_t bar = filter.find(u'|', start);
    parts.push_back(filter.substr(start, bar == String::npos ? String::npos : bar - start));
    if (bar == String::npos) break;
    start = bar + 1;
  }
  String result;
  // An empty string would end the system's list early: such pairs are left out.
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty() || parts[i + 1].empty()) continue;
    result += parts[i];
    result += u'\0';
    result += parts[i + 1];
    result += u'\0';
  }
  if (!result.empty()) result += u'\0';
  return result;
}

// ---------------------------------------------------------------------------
// Common dialog

void TCommonDialog::Describe(TClassBuilder<TCommonDialog>& c) {
  c.Property(u"Ctl3D", &TCommonDialog::Ctl3D, &TCommonDialog::SetCtl3D).Default(1);
  c.Property(u"HelpContext", &TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext).Default(0);
  c.Property(u"OnClose", &TCommonDialog::OnClose);
  c.Property(u"OnShow", &TCommonDialog::OnShow);
}

TCommonDialog::TCommonDialog(TComponent* owner) : TComponent(owner) {}

bool TCommonDialog::Execute() {
  HWND parent = nullptr;
  TCustomForm* form = Screen ? Screen->ActiveCustomForm() : nullptr;
  if (!form && Application) form = Application->MainForm();
  if (form && form->HandleAllocated()) parent = GetAncestor(form->Handle(), GA_ROOT);
  if (!parent && Application) parent = Application->Handle();
  return Execute(parent);
}

bool TCommonDialog::Execute(HWND parentWnd) {
  if (Application && Application->CommonDialogHook) return Application->CommonDialogHook(*this);
  DoShow();
  bool result = false;
  try {
    result = DoExecute(parentWnd);
  } catch (...) {
    DoClose();
    throw;
  }
  DoClose();
  return result;
}

void TCommonDialog::DoShow() {
  if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose() {
  if (OnClose) OnClose(this);
}

// ---------------------------------------------------------------------------
// Open and save

void TOpenDialog::Describe(TClassBuilder<TOpenDialog>& c) {
  c.Property(u"OnSelectionChange", &TOpenDialog::OnSelectionChange);
  c.Property(u"DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt);
  c.Property(u"FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName);
  c.Property(u"Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter);
  c.Property(u"FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
  c.Property(u"InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir);
  c.Property(u"Options", &TOpenDialog::Options, &TOpenDialog::SetOptions)
      .Default(static_cast<Integer>(TOpenOptions{ofHideReadOnly, ofEnableSizing}.Bits()));
  c.Property(u"OptionsEx", &TOpenDialog::OptionsEx, &TOpenDialog::SetOptionsEx).Default(0);
  c.Property(u"Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
}

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner), FFiles(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

DWORD TOpenDialog::SystemFlags() const {
  static const DWORD kFlags[] = {OFN_READONLY,
                                 OFN_OVERWRITEPROMPT,
                                 OFN_HIDEREADONLY,
                                 OFN_NOCHANGEDIR,
                                 OFN_SHOWHELP,
                                 OFN_NOVALIDATE,
                                 OFN_ALLOWMULTISELECT,
                                 OFN_EXTENSIONDIFFERENT,
                                 OFN_PATHMUSTEXIST,
                                 OFN_FILEMUSTEXIST,
                                 OFN_CREATEPROMPT,
                                 OFN_SHAREAWARE,
                                 OFN_NOREADONLYRETURN,
                                 OFN_NOTESTFILECREATE,
                                 OFN_NONETWORKBUTTON,
                                 OFN_NOLONGNAMES,
                                 0,  // the explorer-style dialog always: its buffer is what the names are read from
                                 OFN_NODEREFERENCELINKS,
                                 OFN_ENABLEINCLUDENOTIFY,
                                 OFN_ENABLESIZING,
                                 OFN_DONTADDTORECENT,
                                 OFN_FORCESHOWHIDDEN};
  return FlagsOf(FOptions, kFlags) | OFN_EXPLORER;
}

bool TOpenDialog::RunSystemDialog(OPENFILENAMEW& ofn) {
  return GetOpenFileNameW(&ofn) != FALSE;
}

bool TOpenDialog::DoExecute(HWND parentWnd) {
  // Room for many names chosen at once.
  std::vector<wchar_t> buffer(0x10000, L'\0');
  size_t initial = std::min(FFileName.size(), buffer.size() - 2);
  std::copy_n(FFileName.begin(), initial, buffer.begin());
  String filter = SystemFilter(FFilter);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = parentWnd;
  ofn.lpstrFilter = OrNull(filter);
  ofn.nFilterIndex = static_cast<DWORD>(std::max<Integer>(FFilterIndex, 0));
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = OrNull(FInitialDir);
  ofn.lpstrTitle = OrNull(FTitle);
  ofn.lpstrDefExt = OrNull(FDefaultExt);
  ofn.Flags = SystemFlags();
  ofn.FlagsEx = FOptionsEx.Contains(ofExNoPlacesBar) ? OFN_EX_NOPLACESBAR : 0;
  if (!CheckDialogResult(RunSystemDialog(ofn))) return false;

  FFilterIndex = static_cast<Integer>(ofn.nFilterIndex);
  if (ofn.Flags & OFN_READONLY)
    FOptions.Include(ofReadOnly);
  else
    FOptions.Exclude(ofReadOnly);
  if (ofn.Flags & OFN_EXTENSIONDIFFERENT)
    FOptions.Include(ofExtensionDifferent);
  else
    FOptions.Exclude(ofExtensionDifferent);
  // One chosen name leaves whatever followed the initial name's null behind
  // it; only a multiple choice ends its list with a second null.
  std::vector<String> names;
  if (ofn.Flags & OFN_ALLOWMULTISELECT)
    names = ParseOpenFileNames(buffer.data(), buffer.size());
  else
    names.push_back(FromWStr(buffer.data(), std::wcslen(buffer.data())));
  FFiles->Clear();
  for (const String& name : names) FFiles->Add(name);
  FFileName = names.empty() ? String() : names.front();
  return true;
}

void TSaveDialog::Describe(TClassBuilder<TSaveDialog>&) {}

bool TSaveDialog::RunSystemDialog(OPENFILENAMEW& ofn) {
  // One file is saved.
  ofn.Flags &= ~static_cast<DWORD>(OFN_ALLOWMULTISELECT);
  return GetSaveFileNameW(&ofn) != FALSE;
}

// ---------------------------------------------------------------------------
// Find and replace

namespace {

const wchar_t kFindDialogProp[] = L"KestrumFindDialog";

UINT FindMessage() {
  static const UINT message = RegisterWindowMessageW(FINDMSGSTRINGW);
  return message;
}

const DWORD kFindFlags[] = {FR_DOWN,       FR_FINDNEXT,    FR_HIDEMATCHCASE, FR_HIDEWHOLEWORD, FR_HIDEUPDOWN,
                            FR_MATCHCASE,  FR_NOMATCHCASE, FR_NOUPDOWN,      FR_NOWHOLEWORD,   FR_REPLACE,
                            FR_REPLACEALL, FR_WHOLEWORD,   FR_SHOWHELP};

void CopyText(const String& text, wchar_t* buffer, size_t size) {
  size_t n = std::min(text.size(), size - 1);
  std::copy_n(text.begin(), n, buffer);
  buffer[n] = L'\0';
}

}  // namespace

void TFindDialog::Describe(TClassBuilder<TFindDialog>& c) {
  c.Property(u"FindText", &TFindDialog::FindText, &TFindDialog::SetFindText);
  c.Property(u"Options", &TFindDialog::Options, &TFindDialog::SetOptions)
      .Default(static_cast<Integer>(TFindOptions{frDown}.Bits()));
  c.Property(u"OnFind", &TFindDialog::OnFind);
}

TFindDialog::TFindDialog(TComponent* owner) : TCommonDialog(owner) {}

TFindDialog::~TFindDialog() {
  if (FHandle) {
    // Gone without a word: no events while this goes.
    HWND dialog = FHandle;
    RemovePropW(dialog, kFindDialogProp);
    DialogGone();
    DestroyWindow(dialog);
  }
  DeallocateHWnd(FRedirector);
}

void TFindDialog::SetFindText(const String& value) {
  FFindText = value;
  if (!FHandle) return;
  CopyText(value, FFindWhat, kTextLength);
  SetDlgItemTextW(FHandle, edt1, WStr(value));
}

void TFindDialog::SetOptions(TFindOptions value) {
  FOptions = value;
  if (!FHandle) return;
  // The open dialog shows what the options now say.
  CheckRadioButton(FHandle, rad1, rad2, value.Contains(frDown) ? rad2 : rad1);
  CheckDlgButton(FHandle, chx1, value.Contains(frWholeWord) ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(FHandle, chx2, value.Contains(frMatchCase) ? BST_CHECKED : BST_UNCHECKED);
}

TPoint TFindDialog::Position() const {
  if (FHandle) {
    RECT r{};
    GetWindowRect(FHandle, &r);
    return {static_cast<Integer>(r.left), static_cast<Integer>(r.top)};
  }
  return FPosition;
}

void TFindDialog::SetPosition(TPoint value) {
  FPosition = value;
  if (FHandle) SetWindowPos(FHandle, nullptr, value.X, value.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TFindDialog::Execute(HWND parentWnd) {
  if (FHandle) {
    SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetActiveWindow(FHandle);
    return true;
  }
  if (Application && Application->CommonDialogHook) return Application->CommonDialogHook(*this);
  return DoExecute(parentWnd);
}

bool TFindDialog::DoExecute(HWND parentWnd) {
  if (!FRedirector) FRedirector = AllocateHWnd(TWndMethod(this, &TFindDialog::RedirectorProc));
  // The dialog belongs to the hidden window, which belongs to the parent: the
  // dialog stays in front of the parent and its reports reach this object.
  SetWindowLongPtrW(FRedirector, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(parentWnd));
  CopyText(FFindText, FFindWhat, kTextLength);
  CopyText(u"", FReplaceWith, kTextLength);
  FFindReplace = FINDREPLACEW{};
  FFindReplace.lStructSize = sizeof FFindReplace;
  FFindReplace.hwndOwner = FRedirector;
  FFindReplace.Flags = FlagsOf(FOptions, kFindFlags) | FR_ENABLEHOOK;
  FFindReplace.lpstrFindWhat = FFindWhat;
  FFindReplace.wFindWhatLen = static_cast<WORD>(sizeof FFindWhat);
  FFindReplace.lpstrReplaceWith = FReplaceWith;
  FFindReplace.wReplaceWithLen = static_cast<WORD>(sizeof FReplaceWith);
  FFindReplace.lCustData = reinterpret_cast<LPARAM>(this);
  FFindReplace.lpfnHook = &TFindDialog::HookProc;
  HWND dialog = CreateSystemDialog(FFindReplace);
  if (!dialog) {
    CheckDialogResult(FALSE);
    return false;
  }
  FHandle = dialog;
  if (Application && GetActiveWindow() == dialog) Application->SetDialogHandle(dialog);
  DoShow();
  return true;
}

HWND TFindDialog::CreateSystemDialog(FINDREPLACEW& fr) {
  return ::FindTextW(&fr);
}

void TFindDialog::CloseDialog() {
  // As the close box: the dialog reports its end and goes.
  if (FHandle) SendMessageW(FHandle, WM_CLOSE, 0, 0);
  if (FHandle) DestroyWindow(FHandle);
}

UINT_PTR CALLBACK TFindDialog::HookProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    auto* fr = reinterpret_cast<FINDREPLACEW*>(lParam);
    auto* self = fr ? reinterpret_cast<TFindDialog*>(fr->lCustData) : nullptr;
    if (self) {
      SetPropW(dialog, kFindDialogProp, self);
      self->FHandle = dialog;
      if (self->FPosition.X != -1 || self->FPosition.Y != -1)
        SetWindowPos(dialog, nullptr, self->FPosition.X, self->FPosition.Y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
  }
  auto* self = static_cast<TFindDialog*>(GetPropW(dialog, kFindDialogProp));
  if (!self) return FALSE;
  switch (msg) {
    case WM_ACTIVATE:
      // The active modeless dialog gets its keys (Tab, Enter, Esc) from the
      // application's message loop.
      if (Application) {
        if (LOWORD(wParam) != WA_INACTIVE)
          Application->SetDialogHandle(dialog);
        else if (Application->DialogHandle() == dialog)
          Application->SetDialogHandle(nullptr);
      }
      break;
    case WM_DESTROY:
      RemovePropW(dialog, kFindDialogProp);
      self->DialogGone();
      break;
    default: break;
  }
  return FALSE;
}

void TFindDialog::DialogGone() {
  if (FHandle) {
    RECT r{};
    if (GetWindowRect(FHandle, &r)) FPosition = {static_cast<Integer>(r.left), static_cast<Integer>(r.top)};
    if (Application && Application->DialogHandle() == FHandle) Application->SetDialogHandle(nullptr);
  }
  FHandle = nullptr;
  // Owned only while the dialog is open: a window goes with its owner.
  if (FRedirector) SetWindowLongPtrW(FRedirector, GWLP_HWNDPARENT, 0);
}

void TFindDialog::ReadDialog() {
  TFindOptions options = FOptions;
  for (TFindOption o : {frDown, frMatchCase, frWholeWord, frFindNext, frReplace, frReplaceAll}) {
    if (FFindReplace.Flags & kFindFlags[o])
      options.Include(o);
    else
      options.Exclude(o);
  }
  FOptions = options;
  FFindText = FromWStr(FFindWhat, std::find(FFindWhat, FFindWhat + kTextLength, L'\0') - FFindWhat);
}

void TFindDialog::RedirectorProc(TMessage& m) {
  if (m.Msg == FindMessage() && m.LParam == reinterpret_cast<LPARAM>(&FFindReplace)) {
    // The end reports no texts: what was last reported or set stays.
    if (FFindReplace.Flags & FR_DIALOGTERM) {
      DialogGone();
      DoClose();
    } else if (FFindReplace.Flags & FR_FINDNEXT) {
      ReadDialog();
      Find();
    } else if (FFindReplace.Flags & (FR_REPLACE | FR_REPLACEALL)) {
      ReadDialog();
      Replace();
    }
    return;
  }
  HWND window = FRedirector;
  // Its owner went and took it along: the next Execute makes another.
  if (m.Msg == WM_DESTROY) FRedirector = nullptr;
  m.Result = DefWindowProcW(window, m.Msg, m.WParam, m.LParam);
}

void TFindDialog::Find() {
  if (OnFind) OnFind(this);
}

void TReplaceDialog::Describe(TClassBuilder<TReplaceDialog>& c) {
  c.Property(u"ReplaceText", &TReplaceDialog::ReplaceText, &TReplaceDialog::SetReplaceText);
  c.Property(u"OnReplace", &TReplaceDialog::OnReplace);
}

TReplaceDialog::TReplaceDialog(TComponent* owner) : TFindDialog(owner) {}

void TReplaceDialog::SetReplaceText(const String& value) {
  FReplaceText = value;
  if (!FHandle) return;
  CopyText(value, FReplaceWith, kTextLength);
  SetDlgItemTextW(FHandle, edt2, WStr(value));
}

HWND TReplaceDialog::CreateSystemDialog(FINDREPLACEW& fr) {
  CopyText(FReplaceText, FReplaceWith, kTextLength);
  return ::ReplaceTextW(&fr);
}

void TReplaceDialog::ReadDialog() {
  TFindDialog::ReadDialog();
  FReplaceText = FromWStr(FReplaceWith, std::find(FReplaceWith, FReplaceWith + kTextLength, L'\0') - FReplaceWith);
}

void TReplaceDialog::Replace() {
  if (OnReplace) OnReplace(this);
}

// ---------------------------------------------------------------------------
// Font

void TFontDialog::Describe(TClassBuilder<TFontDialog>& c) {
  c.Property(u"OnApply", &TFontDialog::OnApply, &KeptEventType(TKeptEvent::FontApply));
  c.Property(u"Font", &TFontDialog::GetFont, &TFontDialog::SetFont);
  c.Property(u"Device", &TFontDialog::Device, &TFontDialog::SetDevice).Default(fdScreen);
  c.Property(u"MinFontSize", &TFontDialog::MinFontSize, &TFontDialog::SetMinFontSize).Default(0);
  c.Property(u"MaxFontSize", &TFontDialog::MaxFontSize, &TFontDialog::SetMaxFontSize).Default(0);
  c.Property(u"Options", &TFontDialog::Options, &TFontDialog::SetOptions)
      .Default(static_cast<Integer>(TFontDialogOptions{fdEffects}.Bits()));
}

TFontDialog::TFontDialog(TComponent* owner) : TCommonDialog(owner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::DoExecute(HWND parentWnd) {
  // The Wysiwyg and Apply choices need a printer and a hook; left to the system's defaults.
  static const DWORD kFlags[] = {CF_SCRIPTSONLY,
                                 CF_TTONLY,
                                 CF_EFFECTS,
                                 CF_FIXEDPITCHONLY,
                                 CF_FORCEFONTEXIST,
                                 CF_NOFACESEL,
                                 CF_NOOEMFONTS,
                                 CF_NOSIMULATIONS,
                                 CF_NOSIZESEL,
                                 CF_NOSTYLESEL,
                                 CF_NOVECTORFONTS,
                                 CF_SHOWHELP,
                                 0,
                                 CF_LIMITSIZE,
                                 CF_SCALABLEONLY,
                                 0};
  LOGFONTW font{};
  GetObjectW(FFont->Handle(), sizeof font, &font);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = parentWnd;
  cf.lpLogFont = &font;
  cf.Flags = FlagsOf(FOptions, kFlags) | CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS;
  cf.rgbColors = static_cast<COLORREF>(ColorToRGB(FFont->Color()));
  if (FOptions.Contains(fdLimitSize)) {
    cf.nSizeMin = FMinFontSize;
    cf.nSizeMax = FMaxFontSize;
  }
  if (!CheckDialogResult(ChooseFontW(&cf))) return false;
  HFONT chosen = CreateFontIndirectW(&font);
  if (chosen) {
    FFont->SetHandle(chosen);
    DeleteObject(chosen);
  }
  FFont->SetColor(static_cast<TColor>(cf.rgbColors));
  return true;
}

// ---------------------------------------------------------------------------
// Colour

void TColorDialog::Describe(TClassBuilder<TColorDialog>& c) {
  c.Property(u"Color", &TColorDialog::Color, &TColorDialog::SetColor, &types::Color()).Default(clBlack);
  c.Property(u"CustomColors", &TColorDialog::CustomColors, &TColorDialog::SetCustomColors);
  c.Property(u"Options", &TColorDialog::Options, &TColorDialog::SetOptions).Default(0);
}

TColorDialog::TColorDialog(TComponent* owner) : TCommonDialog(owner), FCustomColors(std::make_unique<TStringList>()) {}

TColorDialog::~TColorDialog() = default;

void TColorDialog::SetCustomColors(const TStrings* value) {
  if (value)
    FCustomColors->Assign(*value);
  else
    FCustomColors->Clear();
}

bool TColorDialog::DoExecute(HWND parentWnd) {
  static const DWORD kFlags[] = {CC_FULLOPEN, CC_PREVENTFULLOPEN, CC_SHOWHELP, CC_SOLIDCOLOR, CC_ANYCOLOR};
  COLORREF custom[16];
  for (int i = 0; i < 16; ++i) {
    String value = FCustomColors->Values(String(u"Color") + static_cast<Char>(u'A' + i));
    custom[i] = static_cast<COLORREF>(StrToIntDef(u"$" + value, 0xFFFFFF)) & 0xFFFFFF;
  }
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = parentWnd;
  cc.rgbResult = static_cast<COLORREF>(ColorToRGB(FColor));
  cc.lpCustColors = custom;
  cc.Flags = FlagsOf(FOptions, kFlags) | CC_RGBINIT;
  if (!CheckDialogResult(ChooseColorW(&cc))) return false;
  FColor = static_cast<TColor>(cc.rgbResult);
  FCustomColors->Clear();
  for (int i = 0; i < 16; ++i)
    FCustomColors->Add(String(u"Color") + static_cast<Char>(u'A' + i) + u"=" + IntToHex(custom[i] & 0xFFFFFF, 6));
  return true;
}

// ---------------------------------------------------------------------------
// Print

void TPrintDialog::Describe(TClassBuilder<TPrintDialog>& c) {
  c.Property(u"Collate", &TPrintDialog::Collate, &TPrintDialog::SetCollate).Default(0);
  c.Property(u"Copies", &TPrintDialog::Copies, &TPrintDialog::SetCopies).Default(0);
  c.Property(u"FromPage", &TPrintDialog::FromPage, &TPrintDialog::SetFromPage).Default(0);
  c.Property(u"MinPage", &TPrintDialog::MinPage, &TPrintDialog::SetMinPage).Default(0);
  c.Property(u"MaxPage", &TPrintDialog::MaxPage, &TPrintDialog::SetMaxPage).Default(0);
  c.Property(u"Options", &TPrintDialog::Options, &TPrintDialog::SetOptions).Default(0);
  c.Property(u"PrintToFile", &TPrintDialog::PrintToFile, &TPrintDialog::SetPrintToFile).Default(0);
  c.Property(u"PrintRange", &TPrintDialog::PrintRange, &TPrintDialog::SetPrintRange).Default(prAllPages);
  c.Property(u"ToPage", &TPrintDialog::ToPage, &TPrintDialog::SetToPage).Default(0);
}

DWORD TPrintDialog::SystemFlags() const {
  DWORD flags = 0;
  // The options offer what the system hides unless asked for.
  if (!FOptions.Contains(poPrintToFile)) flags |= PD_HIDEPRINTTOFILE;
  if (!FOptions.Contains(poPageNums)) flags |= PD_NOPAGENUMS;
  if (!FOptions.Contains(poSelection)) flags |= PD_NOSELECTION;
  if (!FOptions.Contains(poWarning)) flags |= PD_NOWARNING;
  if (FOptions.Contains(poHelp)) flags |= PD_SHOWHELP;
  if (FOptions.Contains(poDisablePrintToFile)) flags |= PD_DISABLEPRINTTOFILE;
  if (FPrintToFile) flags |= PD_PRINTTOFILE;
  if (FCollate) flags |= PD_COLLATE;
  if (FPrintRange == prSelection) flags |= PD_SELECTION;
  if (FPrintRange == prPageNums) flags |= PD_PAGENUMS;
  return flags;
}

bool TPrintDialog::DoExecute(HWND parentWnd) {
  PRINTDLGW pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = parentWnd;
  pd.Flags = SystemFlags();
  pd.nCopies = static_cast<WORD>(std::clamp<Integer>(FCopies, 1, 0xFFFF));
  pd.nFromPage = static_cast<WORD>(std::clamp<Integer>(FFromPage, 0, 0xFFFF));
  pd.nToPage = static_cast<WORD>(std::clamp<Integer>(FToPage, 0, 0xFFFF));
  pd.nMinPage = static_cast<WORD>(std::clamp<Integer>(FMinPage, 0, 0xFFFF));
  pd.nMaxPage = static_cast<WORD>(std::clamp<Integer>(FMaxPage, 0, 0xFFFF));
  BOOL confirmed = PrintDlgW(&pd);
  // The printer set-up chosen is not kept: nothing here prints.
  if (pd.hDevMode) GlobalFree(pd.hDevMode);
  if (pd.hDevNames) GlobalFree(pd.hDevNames);
  if (!CheckDialogResult(confirmed)) return false;
  FCopies = pd.nCopies;
  FFromPage = pd.nFromPage;
  FToPage = pd.nToPage;
  FCollate = (pd.Flags & PD_COLLATE) != 0;
  FPrintToFile = (pd.Flags & PD_PRINTTOFILE) != 0;
  FPrintRange = (pd.Flags & PD_SELECTION) ? prSelection : (pd.Flags & PD_PAGENUMS) ? prPageNums : prAllPages;
  return true;
}

void TPrinterSetupDialog::Describe(TClassBuilder<TPrinterSetupDialog>&) {}

bool TPrinterSetupDialog::DoExecute(HWND parentWnd) {
  PRINTDLGW pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = parentWnd;
  pd.Flags = PD_PRINTSETUP;
  const BOOL confirmed = PrintDlgW(&pd);
  if (pd.hDevMode) GlobalFree(pd.hDevMode);
  if (pd.hDevNames) GlobalFree(pd.hDevNames);
  return CheckDialogResult(confirmed);
}
