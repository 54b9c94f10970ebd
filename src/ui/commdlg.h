// The system's common dialogs as components: open and save, find and
// replace (modeless), font, colour and print. Each is placed on a form,
// streamed with it and run by Execute; the application's CommonDialogHook
// answers Execute instead of a person when set (tests).
#pragma once

#include <memory>
#include <vector>

#include "ui/forms.h"

enum TOpenOption {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofShowHelp,
  ofNoValidate,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofShareAware,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate,
  ofNoNetworkButton,
  ofNoLongNames,
  ofOldStyleDialog,
  ofNoDereferenceLinks,
  ofEnableIncludeNotify,
  ofEnableSizing,
  ofDontAddToRecent,
  ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;
enum TOpenOptionEx { ofExNoPlacesBar };
using TOpenOptionsEx = TSet<TOpenOptionEx>;

enum TFindOption {
  frDown,
  frFindNext,
  frHideMatchCase,
  frHideWholeWord,
  frHideUpDown,
  frMatchCase,
  frDisableMatchCase,
  frDisableUpDown,
  frDisableWholeWord,
  frReplace,
  frReplaceAll,
  frWholeWord,
  frShowHelp
};
using TFindOptions = TSet<TFindOption>;

enum TFontDialogOption {
  fdAnsiOnly,
  fdTrueTypeOnly,
  fdEffects,
  fdFixedPitchOnly,
  fdForceFontExist,
  fdNoFaceSel,
  fdNoOEMFonts,
  fdNoSimulations,
  fdNoSizeSel,
  fdNoStyleSel,
  fdNoVectorFonts,
  fdShowHelp,
  fdWysiwyg,
  fdLimitSize,
  fdScalableOnly,
  fdApplyButton
};
using TFontDialogOptions = TSet<TFontDialogOption>;
enum TFontDialogDevice { fdScreen, fdPrinter, fdBoth };

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = TSet<TColorDialogOption>;

enum TPrintDialogOption { poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile };
using TPrintDialogOptions = TSet<TPrintDialogOption>;
enum TPrintRange { prAllPages, prSelection, prPageNums };

const TTypeInfo& DescribeType(TypeTag<TOpenOption>);
const TTypeInfo& DescribeType(TypeTag<TOpenOptions>);
const TTypeInfo& DescribeType(TypeTag<TOpenOptionEx>);
const TTypeInfo& DescribeType(TypeTag<TOpenOptionsEx>);
const TTypeInfo& DescribeType(TypeTag<TFindOption>);
const TTypeInfo& DescribeType(TypeTag<TFindOptions>);
const TTypeInfo& DescribeType(TypeTag<TFontDialogOption>);
const TTypeInfo& DescribeType(TypeTag<TFontDialogOptions>);
const TTypeInfo& DescribeType(TypeTag<TFontDialogDevice>);
const TTypeInfo& DescribeType(TypeTag<TColorDialogOption>);
const TTypeInfo& DescribeType(TypeTag<TColorDialogOptions>);
const TTypeInfo& DescribeType(TypeTag<TPrintDialogOption>);
const TTypeInfo& DescribeType(TypeTag<TPrintDialogOptions>);
const TTypeInfo& DescribeType(TypeTag<TPrintRange>);

// The file names of an explorer-style open dialog's buffer (`length`
// characters at most): the one full path, or the folder followed by the
// names chosen in it, each string ended by a null and the list by another.
std::vector<String> ParseOpenFileNames(const wchar_t* buffer, size_t length);
// A filter as the dialogs keep it ("Text files|*.txt|All files|*.*") as
// the system takes it: pairs of null-ended strings, ended by another null;
// empty when there is no complete pair.
String SystemFilter(const String& filter);

class TCommonDialog : public TComponent {
  KST_CLASS(TCommonDialog, TComponent)
 public:
  explicit TCommonDialog(TComponent* owner);
  // Runs the dialog owned by the active form's window (the application's
  // window when there is none); true when the person confirmed it.
  bool Execute();
  virtual bool Execute(HWND parentWnd);
  // The dialog's window while it is shown.
  HWND Handle() const { return FHandle; }
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool value) { FCtl3D = value; }
  Integer HelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer value) { FHelpContext = value; }

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 protected:
  // Shows the system's dialog.
  virtual bool DoExecute(HWND parentWnd) = 0;
  virtual void DoShow();
  virtual void DoClose();
  HWND FHandle = nullptr;

 private:
  bool FCtl3D = true;
  Integer FHelpContext = 0;
};

class TOpenDialog : public TCommonDialog {
  KST_CLASS(TOpenDialog, TCommonDialog)
 public:
  explicit TOpenDialog(TComponent* owner);
  ~TOpenDialog() override;
  // Kept as the form names it; a preview shows no dialog.
  TNotifyEvent OnSelectionChange;

  const String& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const String& value) { FDefaultExt = value; }
  // The chosen file (the first of several).
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& value) { FFileName = value; }
  // Every chosen file, full paths.
  TStrings& Files() const { return *FFiles; }
  const String& Filter() const { return FFilter; }
  void SetFilter(const String& value) { FFilter = value; }
  // The chosen filter, from 1.
  Integer FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(Integer value) { FFilterIndex = value; }
  const String& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const String& value) { FInitialDir = value; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions value) { FOptions = value; }
  TOpenOptionsEx OptionsEx() const { return FOptionsEx; }
  void SetOptionsEx(TOpenOptionsEx value) { FOptionsEx = value; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& value) { FTitle = value; }

  // The OFN_ flags Execute gives the system for the options.
  DWORD SystemFlags() const;

 protected:
  bool DoExecute(HWND parentWnd) override;
  // The system's dialog of this kind.
  virtual bool RunSystemDialog(OPENFILENAMEW& ofn);

 private:
  String FDefaultExt;
  String FFileName;
  std::unique_ptr<TStringList> FFiles;
  String FFilter;
  Integer FFilterIndex = 1;
  String FInitialDir;
  TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
  TOpenOptionsEx FOptionsEx;
  String FTitle;
};

class TSaveDialog : public TOpenDialog {
  KST_CLASS(TSaveDialog, TOpenDialog)
 public:
  using TOpenDialog::TOpenDialog;

 protected:
  bool RunSystemDialog(OPENFILENAMEW& ofn) override;
};

// The modeless find dialog: it stays open beside its owner and reports each
// press of Find Next through OnFind; its keys go through the application's
// message loop.
class TFindDialog : public TCommonDialog {
  KST_CLASS(TFindDialog, TCommonDialog)
 public:
  explicit TFindDialog(TComponent* owner);
  ~TFindDialog() override;

  // Shows the dialog, or brings it to the front when it is open already.
  bool Execute(HWND parentWnd) override;
  using TCommonDialog::Execute;
  void CloseDialog();

  String FindText() const { return FFindText; }
  void SetFindText(const String& value);
  TFindOptions Options() const { return FOptions; }
  void SetOptions(TFindOptions value);
  // Screen position of the dialog; (-1, -1): where the system puts it.
  TPoint Position() const;
  void SetPosition(TPoint value);
  Integer Left() const { return Position().X; }
  void SetLeft(Integer value) { SetPosition({value, Position().Y}); }
  Integer Top() const { return Position().Y; }
  void SetTop(Integer value) { SetPosition({Position().X, value}); }

  TNotifyEvent OnFind;

 protected:
  bool DoExecute(HWND parentWnd) override;
  // Makes the system's dialog of this kind.
  virtual HWND CreateSystemDialog(FINDREPLACEW& fr);
  virtual void Find();
  virtual void Replace() {}
  // Takes over what the person set in the dialog's controls.
  virtual void ReadDialog();
  FINDREPLACEW FFindReplace{};
  static constexpr size_t kTextLength = 256;
  wchar_t FFindWhat[kTextLength]{};
  wchar_t FReplaceWith[kTextLength]{};

 private:
  static UINT_PTR CALLBACK HookProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
  void RedirectorProc(TMessage& message);
  void DialogGone();

  String FFindText;
  TFindOptions FOptions{frDown};
  TPoint FPosition{-1, -1};
  // The hidden window that owns the dialog and hears from it.
  HWND FRedirector = nullptr;
};

class TReplaceDialog : public TFindDialog {
  KST_CLASS(TReplaceDialog, TFindDialog)
 public:
  explicit TReplaceDialog(TComponent* owner);
  String ReplaceText() const { return FReplaceText; }
  void SetReplaceText(const String& value);
  // Replace and Replace All.
  TNotifyEvent OnReplace;

 protected:
  HWND CreateSystemDialog(FINDREPLACEW& fr) override;
  void Replace() override;
  void ReadDialog() override;

 private:
  String FReplaceText;
};

class TFontDialog : public TCommonDialog {
  KST_CLASS(TFontDialog, TCommonDialog)
 public:
  explicit TFontDialog(TComponent* owner);
  ~TFontDialog() override;
  // Kept as the form names it (the handler's signature is the apply event's).
  TNotifyEvent OnApply;
  TFont& Font() const { return *FFont; }
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(const TFont* font) { FFont->Assign(font); }
  // Fonts of the screen are offered whatever the device.
  TFontDialogDevice Device() const { return FDevice; }
  void SetDevice(TFontDialogDevice value) { FDevice = value; }
  Integer MinFontSize() const { return FMinFontSize; }
  void SetMinFontSize(Integer value) { FMinFontSize = value; }
  Integer MaxFontSize() const { return FMaxFontSize; }
  void SetMaxFontSize(Integer value) { FMaxFontSize = value; }
  TFontDialogOptions Options() const { return FOptions; }
  void SetOptions(TFontDialogOptions value) { FOptions = value; }

 protected:
  bool DoExecute(HWND parentWnd) override;

 private:
  std::unique_ptr<TFont> FFont;
  TFontDialogDevice FDevice = fdScreen;
  Integer FMinFontSize = 0;
  Integer FMaxFontSize = 0;
  TFontDialogOptions FOptions{fdEffects};
};

class TColorDialog : public TCommonDialog {
  KST_CLASS(TColorDialog, TCommonDialog)
 public:
  explicit TColorDialog(TComponent* owner);
  ~TColorDialog() override;
  TColor Color() const { return FColor; }
  void SetColor(TColor value) { FColor = value; }
  // The sixteen custom colours as lines "ColorA=RRGGBB" to "ColorP=..." (the
  // hexadecimal number of the system's colour value); white where missing.
  TStrings* CustomColors() const { return FCustomColors.get(); }
  void SetCustomColors(const TStrings* value);
  TColorDialogOptions Options() const { return FOptions; }
  void SetOptions(TColorDialogOptions value) { FOptions = value; }

 protected:
  bool DoExecute(HWND parentWnd) override;

 private:
  TColor FColor = clBlack;
  std::unique_ptr<TStringList> FCustomColors;
  TColorDialogOptions FOptions;
};

class TPrintDialog : public TCommonDialog {
  KST_CLASS(TPrintDialog, TCommonDialog)
 public:
  using TCommonDialog::TCommonDialog;
  bool Collate() const { return FCollate; }
  void SetCollate(bool value) { FCollate = value; }
  Integer Copies() const { return FCopies; }
  void SetCopies(Integer value) { FCopies = value; }
  Integer FromPage() const { return FFromPage; }
  void SetFromPage(Integer value) { FFromPage = value; }
  Integer ToPage() const { return FToPage; }
  void SetToPage(Integer value) { FToPage = value; }
  Integer MinPage() const { return FMinPage; }
  void SetMinPage(Integer value) { FMinPage = value; }
  Integer MaxPage() const { return FMaxPage; }
  void SetMaxPage(Integer value) { FMaxPage = value; }
  TPrintDialogOptions Options() const { return FOptions; }
  void SetOptions(TPrintDialogOptions value) { FOptions = value; }
  TPrintRange PrintRange() const { return FPrintRange; }
  void SetPrintRange(TPrintRange value) { FPrintRange = value; }
  bool PrintToFile() const { return FPrintToFile; }
  void SetPrintToFile(bool value) { FPrintToFile = value; }

  // The PD_ flags Execute gives the system.
  DWORD SystemFlags() const;

 protected:
  bool DoExecute(HWND parentWnd) override;

 private:
  bool FCollate = false;
  Integer FCopies = 0;
  Integer FFromPage = 0;
  Integer FToPage = 0;
  Integer FMinPage = 0;
  Integer FMaxPage = 0;
  TPrintDialogOptions FOptions;
  TPrintRange FPrintRange = prAllPages;
  bool FPrintToFile = false;
};

// The system's printer set-up dialog; what is chosen there is not kept.
class TPrinterSetupDialog : public TCommonDialog {
  KST_CLASS(TPrinterSetupDialog, TCommonDialog)
 public:
  using TCommonDialog::TCommonDialog;

 protected:
  bool DoExecute(HWND parentWnd) override;
};
