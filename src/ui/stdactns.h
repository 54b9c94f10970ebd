// The standard edit actions: each works on the focused edit control when no
// handler of its own is set, and is enabled only while there is one.
#pragma once

#include "ui/actnlist.h"

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
