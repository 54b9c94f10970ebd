#include "ui/stdactns.h"

#include "ui/db.h"
#include "ui/stdctrls.h"

KST_CLASS_IMPL(TEditAction, "StdActns")
KST_CLASS_IMPL(TEditCut, "StdActns")
KST_CLASS_IMPL(TEditCopy, "StdActns")
KST_CLASS_IMPL(TEditPaste, "StdActns")
KST_CLASS_IMPL(TEditSelectAll, "StdActns")
KST_CLASS_IMPL(TEditUndo, "StdActns")
KST_CLASS_IMPL(TEditDelete, "StdActns")

namespace {

TCustomEdit* FocusedEdit() {
  return dynamic_cast<TCustomEdit*>(FindControl(GetFocus()));
}

}  // namespace

void TEditAction::Describe(TClassBuilder<TEditAction>&) {}

TEditAction::TEditAction(TComponent* owner, UINT message) : TAction(owner), FMessage(message) {}

bool TEditAction::Execute() {
  if (TAction::Execute()) return true;
  TCustomEdit* edit = FocusedEdit();
  if (!edit || FMessage == 0) return false;
  if (FMessage == EM_SETSEL)
    SendMessageW(edit->Handle(), EM_SETSEL, 0, -1);
  else
    SendMessageW(edit->Handle(), FMessage, 0, 0);
  return true;
}

bool TEditAction::Update() {
  if (TAction::Update()) return true;
  SetEnabled(FocusedEdit() != nullptr);
  return true;
}

#define KST_EDIT_ACTION_IMPL(name, message)    \
  void name::Describe(TClassBuilder<name>&) {} \
  name::name(TComponent* owner) : TEditAction(owner, message) {}
KST_EDIT_ACTION_IMPL(TEditCut, WM_CUT)
KST_EDIT_ACTION_IMPL(TEditCopy, WM_COPY)
KST_EDIT_ACTION_IMPL(TEditPaste, WM_PASTE)
KST_EDIT_ACTION_IMPL(TEditSelectAll, EM_SETSEL)
KST_EDIT_ACTION_IMPL(TEditUndo, EM_UNDO)
KST_EDIT_ACTION_IMPL(TEditDelete, WM_CLEAR)
#undef KST_EDIT_ACTION_IMPL

#define KST_PLAIN_ACTION_IMPL(name) \
  KST_CLASS_IMPL(name, "StdActns")  \
  void name::Describe(TClassBuilder<name>&) {}
KST_PLAIN_ACTION_IMPL(TWindowAction)
KST_PLAIN_ACTION_IMPL(TWindowClose)
KST_PLAIN_ACTION_IMPL(TWindowCascade)
KST_PLAIN_ACTION_IMPL(TWindowTileHorizontal)
KST_PLAIN_ACTION_IMPL(TWindowTileVertical)
KST_PLAIN_ACTION_IMPL(TWindowMinimizeAll)
KST_PLAIN_ACTION_IMPL(TWindowArrange)
KST_PLAIN_ACTION_IMPL(TFileExit)
KST_PLAIN_ACTION_IMPL(THelpAction)
KST_PLAIN_ACTION_IMPL(THelpContents)
KST_PLAIN_ACTION_IMPL(THelpTopicSearch)
KST_PLAIN_ACTION_IMPL(THelpOnHelp)
#undef KST_PLAIN_ACTION_IMPL

// ---------------------------------------------------------------------------
// Actions with a dialog

KST_CLASS_IMPL(TCommonDialogAction, "StdActns")
KST_CLASS_IMPL(TFileOpen, "StdActns")
KST_CLASS_IMPL(TFileOpenWith, "StdActns")
KST_CLASS_IMPL(TFileSaveAs, "StdActns")
KST_CLASS_IMPL(TFilePrintSetup, "StdActns")
KST_CLASS_IMPL(TSearchAction, "StdActns")
KST_CLASS_IMPL(TSearchFind, "StdActns")
KST_CLASS_IMPL(TSearchFindFirst, "StdActns")
KST_CLASS_IMPL(TSearchReplace, "StdActns")
KST_CLASS_IMPL(TSearchFindNext, "StdActns")
KST_CLASS_IMPL(TFontEdit, "StdActns")
KST_CLASS_IMPL(TColorSelect, "StdActns")
KST_CLASS_IMPL(TPrintDlg, "StdActns")
KST_CLASS_IMPL(TFileRun, "StdActns")

void TCommonDialogAction::Describe(TClassBuilder<TCommonDialogAction>& c) {
  c.Property(u"BeforeExecute", &TCommonDialogAction::BeforeExecute);
  c.Property(u"OnAccept", &TCommonDialogAction::OnAccept);
  c.Property(u"OnCancel", &TCommonDialogAction::OnCancel);
}

TCommonDialogAction::TCommonDialogAction(TComponent* owner) : TAction(owner) {}

void TCommonDialogAction::AdoptDialog(TCommonDialog* dialog, const String& name) {
  FDialog = dialog;
  FDialog->SetName(name);
  FDialog->SetSubComponent(true);
}

// The dialog's name is its class name without the T, as the IDE names it.
#define KST_DIALOG_ACTION_IMPL(name, dialog)                     \
  void name::Describe(TClassBuilder<name>& c) {                  \
    c.Property(u"Dialog", &name::Dialog);                        \
  }                                                              \
  name::name(TComponent* owner) : TCommonDialogAction(owner) {   \
    auto* made = new dialog(this);                               \
    AdoptDialog(made, dialog::StaticClass().ClassName().substr(1));  \
  }
KST_DIALOG_ACTION_IMPL(TFileOpen, TOpenDialog)
KST_DIALOG_ACTION_IMPL(TFileSaveAs, TSaveDialog)
KST_DIALOG_ACTION_IMPL(TFilePrintSetup, TPrinterSetupDialog)
KST_DIALOG_ACTION_IMPL(TSearchAction, TFindDialog)
KST_DIALOG_ACTION_IMPL(TSearchReplace, TReplaceDialog)
KST_DIALOG_ACTION_IMPL(TFontEdit, TFontDialog)
KST_DIALOG_ACTION_IMPL(TColorSelect, TColorDialog)
KST_DIALOG_ACTION_IMPL(TPrintDlg, TPrintDialog)
#undef KST_DIALOG_ACTION_IMPL

void TFileOpenWith::Describe(TClassBuilder<TFileOpenWith>& c) {
  c.Property(u"FileName", &TFileOpenWith::FileName);
  c.Property(u"AfterOpen", &TFileOpenWith::AfterOpen);
}

void TSearchFind::Describe(TClassBuilder<TSearchFind>&) {}
void TSearchFindFirst::Describe(TClassBuilder<TSearchFindFirst>&) {}

void TSearchFindNext::Describe(TClassBuilder<TSearchFindNext>& c) {
  c.Property(u"SearchFind", &TSearchFindNext::SearchFind, &TSearchFindNext::SetSearchFind);
}

void TSearchFindNext::SetSearchFind(TSearchFind* value) {
  FollowComponent(*this, FSearchFind, value);
}

void TSearchFindNext::Notification(TComponent* component, TOperation operation) {
  TAction::Notification(component, operation);
  if (operation == opRemove && component == FSearchFind) FSearchFind = nullptr;
}

const TTypeInfo& DescribeType(TypeTag<TShowCmd>) {
  static const TEnumTypeInfo t(u"TShowCmd", u"StdActns",
                               {u"scHide", u"scMaximize", u"scMinimize", u"scRestore", u"scShow", u"scShowDefault",
                                u"scShowMaximized", u"scShowMinimized", u"scShowMinNoActive", u"scShowNA",
                                u"scShowNoActivate", u"scShowNormal"});
  return t;
}

void TFileRun::Describe(TClassBuilder<TFileRun>& c) {
  c.Property(u"Browse", &TFileRun::Browse).Default(0);
  c.Property(u"BrowseDlg", &TFileRun::BrowseDlg);
  c.Property(u"Directory", &TFileRun::Directory);
  c.Property(u"FileName", &TFileRun::FileName);
  c.Property(u"Operation", &TFileRun::Operation);
  c.Property(u"Parameters", &TFileRun::Parameters);
  c.Property(u"ShowCmd", &TFileRun::ShowCmd).Default(scShowNormal);
  c.Property(u"BeforeBrowse", &TFileRun::BeforeBrowse);
  c.Property(u"OnAccept", &TFileRun::OnAccept);
  c.Property(u"OnCancel", &TFileRun::OnCancel);
}

TFileRun::TFileRun(TComponent* owner) : TAction(owner), FBrowseDlg(new TOpenDialog(this)) {
  FBrowseDlg->SetName(u"BrowseDlg");
  FBrowseDlg->SetSubComponent(true);
}

void RegisterDialogActionClasses(TClassRegistry& registry) {
  registry.RegisterClasses(
      {&TCommonDialogAction::StaticClass(), &TFileOpen::StaticClass(), &TFileOpenWith::StaticClass(),
       &TFileSaveAs::StaticClass(), &TFilePrintSetup::StaticClass(), &TSearchAction::StaticClass(),
       &TSearchFind::StaticClass(), &TSearchFindFirst::StaticClass(), &TSearchReplace::StaticClass(),
       &TSearchFindNext::StaticClass(), &TFontEdit::StaticClass(), &TColorSelect::StaticClass(),
       &TPrintDlg::StaticClass(), &TFileRun::StaticClass()},
      u"ui");
  registry.RegisterType(DescribeType(TypeTag<TShowCmd>{}));
}
