// The standard edit actions: each works on the focused edit control when no
// handler of its own is set, and is enabled only while there is one. The
// standard window, file and help actions are read with their captions and
// images; they act only through a handler of their own, so a previewed form's
// action closes, arranges or ends nothing.
#pragma once

#include "ui/actnlist.h"
#include "ui/commdlg.h"

class TClassRegistry;

class TEditAction : public TAction {
  KST_CLASS(TEditAction, TAction)
 public:
  explicit TEditAction(TComponent* owner, UINT message = 0);
  bool Execute() override;
  bool Update() override;

 private:
  UINT FMessage;
};

#define KST_EDIT_ACTION(name)         \
  class name : public TEditAction {   \
    KST_CLASS(name, TEditAction)      \
   public:                            \
    explicit name(TComponent* owner); \
  };
KST_EDIT_ACTION(TEditCut)
KST_EDIT_ACTION(TEditCopy)
KST_EDIT_ACTION(TEditPaste)
KST_EDIT_ACTION(TEditSelectAll)
KST_EDIT_ACTION(TEditUndo)
KST_EDIT_ACTION(TEditDelete)
#undef KST_EDIT_ACTION

#define KST_PLAIN_ACTION(name, base) \
  class name : public base {          \
    KST_CLASS(name, base)             \
   public:                            \
    using base::base;                 \
  };
KST_PLAIN_ACTION(TWindowAction, TAction)
KST_PLAIN_ACTION(TWindowClose, TWindowAction)
KST_PLAIN_ACTION(TWindowCascade, TWindowAction)
KST_PLAIN_ACTION(TWindowTileHorizontal, TWindowAction)
KST_PLAIN_ACTION(TWindowTileVertical, TWindowAction)
KST_PLAIN_ACTION(TWindowMinimizeAll, TWindowAction)
KST_PLAIN_ACTION(TWindowArrange, TWindowAction)
KST_PLAIN_ACTION(TFileExit, TAction)
KST_PLAIN_ACTION(THelpAction, TAction)
KST_PLAIN_ACTION(THelpContents, THelpAction)
KST_PLAIN_ACTION(THelpTopicSearch, THelpAction)
KST_PLAIN_ACTION(THelpOnHelp, THelpAction)
#undef KST_PLAIN_ACTION

// The standard actions that show a common dialog. Each owns its dialog as a
// sub-component, so forms store its settings as nested properties
// ("Dialog.Filter"). Running one runs only a handler of its own: the dialog
// is never shown and no file is opened, so a previewed form's action is
// inert.
class TCommonDialogAction : public TAction {
  KST_CLASS(TCommonDialogAction, TAction)
 public:
  explicit TCommonDialogAction(TComponent* owner);
  TCommonDialog* CommonDialog() const { return FDialog; }
  // Whether the dialog was confirmed: it never runs, so never.
  bool ExecuteResult() const { return false; }
  TNotifyEvent BeforeExecute, OnAccept, OnCancel;

 protected:
  // Takes a dialog made with this action as its owner.
  void AdoptDialog(TCommonDialog* dialog, const String& name);

 private:
  TCommonDialog* FDialog = nullptr;  // owned as a component
};

#define KST_DIALOG_ACTION(name, base, dialog)                                     \
  class name : public base {                                                      \
    KST_CLASS(name, base)                                                         \
   public:                                                                        \
    explicit name(TComponent* owner);                                             \
    dialog* Dialog() const { return static_cast<dialog*>(CommonDialog()); }       \
  };
KST_DIALOG_ACTION(TFileOpen, TCommonDialogAction, TOpenDialog)
KST_DIALOG_ACTION(TFileSaveAs, TCommonDialogAction, TSaveDialog)
KST_DIALOG_ACTION(TFilePrintSetup, TCommonDialogAction, TPrinterSetupDialog)
KST_DIALOG_ACTION(TSearchAction, TCommonDialogAction, TFindDialog)
KST_DIALOG_ACTION(TSearchReplace, TCommonDialogAction, TReplaceDialog)
KST_DIALOG_ACTION(TFontEdit, TCommonDialogAction, TFontDialog)
KST_DIALOG_ACTION(TColorSelect, TCommonDialogAction, TColorDialog)
KST_DIALOG_ACTION(TPrintDlg, TCommonDialogAction, TPrintDialog)
#undef KST_DIALOG_ACTION

// Opens the chosen file with a program the person picks: kept, never run.
class TFileOpenWith : public TFileOpen {
  KST_CLASS(TFileOpenWith, TFileOpen)
 public:
  using TFileOpen::TFileOpen;
  String FileName;
  TNotifyEvent AfterOpen;
};

class TSearchFind : public TSearchAction {
  KST_CLASS(TSearchFind, TSearchAction)
 public:
  using TSearchAction::TSearchAction;
};

class TSearchFindFirst : public TSearchFind {
  KST_CLASS(TSearchFindFirst, TSearchFind)
 public:
  using TSearchFind::TSearchFind;
};

// Repeats the search of a find action of the form.
class TSearchFindNext : public TAction {
  KST_CLASS(TSearchFindNext, TAction)
 public:
  using TAction::TAction;
  TSearchFind* SearchFind() const { return FSearchFind; }
  void SetSearchFind(TSearchFind* value);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TSearchFind* FSearchFind = nullptr;
};

enum TShowCmd {
  scHide,
  scMaximize,
  scMinimize,
  scRestore,
  scShow,
  scShowDefault,
  scShowMaximized,
  scShowMinimized,
  scShowMinNoActive,
  scShowNA,
  scShowNoActivate,
  scShowNormal
};
const TTypeInfo& DescribeType(TypeTag<TShowCmd>);

// Starts a program or opens a document through the shell: the form's
// command is kept as it stands and never started.
class TFileRun : public TAction {
  KST_CLASS(TFileRun, TAction)
 public:
  explicit TFileRun(TComponent* owner);
  TOpenDialog* BrowseDlg() const { return FBrowseDlg; }
  bool Browse = false;
  String Directory, FileName, Operation, Parameters;
  TShowCmd ShowCmd = scShowNormal;
  TNotifyEvent BeforeBrowse, OnAccept, OnCancel;

 private:
  TOpenDialog* FBrowseDlg = nullptr;  // owned as a component
};

void RegisterDialogActionClasses(TClassRegistry& registry);
