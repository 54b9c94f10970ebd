// The standard edit actions: each works on the focused edit control when no
// handler of its own is set, and is enabled only while there is one. The
// standard window, file and help actions are read with their captions and
// images; they act only through a handler of their own, so a previewed form's
// action closes, arranges or ends nothing.
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
