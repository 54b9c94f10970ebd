#include "ui/stdactns.h"

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
