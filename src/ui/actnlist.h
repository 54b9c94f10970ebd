// Actions: commands with a caption, hint, image, short-cut and state that
// menu items, tool buttons and other controls show through action links and
// run when clicked. An action list holds a form's actions (the form owns
// them; the form file lists them under the list), runs their short-cuts and
// updates them while the application idles.
#pragma once

#include <memory>
#include <vector>

#include "classes/component.h"
#include "rtl/stringlist.h"
#include "ui/imglist.h"
#include "ui/keptprops.h"
#include "ui/menus.h"

class TCustomActionList;
class TBasicAction;

// A client's tie to an action: the client hears of every change of the
// action (OnChange) and runs it through the link.
class TBasicActionLink : public TObject {
 public:
  TBasicActionLink() = default;
  TBasicActionLink(const TBasicActionLink&) = delete;
  TBasicActionLink& operator=(const TBasicActionLink&) = delete;
  ~TBasicActionLink() override;
  TBasicAction* Action() const { return FAction; }
  // Ties the link to the action (nullptr: to none) and tells the client.
  void SetAction(TBasicAction* action);
  // Runs the action for the component (the client); false when it did nothing.
  bool Execute(TComponent* component = nullptr);
  bool Update();
  // The action changed, was set, or is going away.
  TNotifyEvent OnChange;

 private:
  friend class TBasicAction;
  TBasicAction* FAction = nullptr;
};

class TBasicAction : public TComponent {
  KST_CLASS(TBasicAction, TComponent)
 public:
  explicit TBasicAction(TComponent* owner);
  ~TBasicAction() override;
  // Runs OnExecute; false when there is no handler.
  virtual bool Execute();
  // Runs OnUpdate; false when there is no handler.
  virtual bool Update();
  // The client the action runs for now (the clicked item or button).
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* component);
  void RegisterChanges(TBasicActionLink* link);
  void UnRegisterChanges(TBasicActionLink* link);
  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

 protected:
  // Tells every client that the action changed.
  void Change();
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TCustomActionList;
  std::vector<TBasicActionLink*> FClients;
  TComponent* FActionComponent = nullptr;
};

// An action that belongs to an action list.
class TContainedAction : public TBasicAction {
  KST_CLASS(TContainedAction, TBasicAction)
 public:
  explicit TContainedAction(TComponent* owner);
  ~TContainedAction() override;
  TCustomActionList* ActionList() const { return FActionList; }
  void SetActionList(TCustomActionList* list);
  const String& Category() const { return FCategory; }
  void SetCategory(const String& value) { FCategory = value; }
  int Index() const;
  void SetIndex(int index);
  // The list runs its OnExecute first; the action's own handler when that
  // did not handle it.
  bool Execute() override;
  bool Update() override;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

 private:
  friend class TCustomActionList;
  TCustomActionList* FActionList = nullptr;
  String FCategory;
};

class TCustomAction : public TContainedAction {
  KST_CLASS(TCustomAction, TContainedAction)
 public:
  explicit TCustomAction(TComponent* owner);

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer value);
  Integer HelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer value) { FHelpContext = value; }
  const String& HelpKeyword() const { return FHelpKeyword; }
  void SetHelpKeyword(const String& value) { FHelpKeyword = value; }
  THelpType HelpType() const { return FHelpType; }
  void SetHelpType(THelpType value) { FHelpType = value; }
  // The images of the action's list.
  TCustomImageList* Images() const;

  // Updates first; runs only while enabled (a check action with AutoCheck
  // changes its state first).
  bool Execute() override;

 private:
  String FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  String FHint;
  Integer FImageIndex = -1;
  TShortCut FShortCut = 0;
  bool FAutoCheck = false;
  Integer FGroupIndex = 0;
  Integer FHelpContext = 0;
  String FHelpKeyword;
  THelpType FHelpType = htContext;
};

class TAction : public TCustomAction {
  KST_CLASS(TAction, TCustomAction)
 public:
  using TCustomAction::TCustomAction;
  // Further short-cuts as the IDE writes them, kept; only ShortCut is bound.
  TStrings* SecondaryShortCuts() const { return FSecondaryShortCuts.get(); }
  void SetSecondaryShortCuts(const TStrings* value) { FSecondaryShortCuts->Assign(*value); }

 private:
  std::unique_ptr<TStringList> FSecondaryShortCuts = std::make_unique<TStringList>();
};

using TActionEvent = TDelegate<void(TBasicAction* Action, bool& Handled)>;
const TTypeInfo& DescribeType(TypeTag<TActionEvent>);

class TCustomActionList : public TComponent {
  KST_CLASS(TCustomActionList, TComponent)
 public:
  explicit TCustomActionList(TComponent* owner);
  ~TCustomActionList() override;

  int ActionCount() const { return static_cast<int>(FActions.size()); }
  TContainedAction* Actions(int index) const;
  int IndexOf(const TContainedAction* action) const;
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* images);

  // Runs the enabled action whose short-cut the key-down message stands
  // for; true when one did.
  bool IsShortCut(const TMessage& message);
  // Runs every action's update (OnUpdate of the list first for each).
  void UpdateActions();
  // Whether the list takes part in the idle updates now: its form is visible.
  bool IsActive() const;

  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;

  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

 protected:
  friend class TContainedAction;
  void AddAction(TContainedAction* action);
  void RemoveAction(TContainedAction* action);
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void Idle(TObject* sender, bool& done);
  void ImageListChange(TObject*);
  std::vector<TContainedAction*> FActions;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  bool FIdleRegistered = false;
};

class TActionList : public TCustomActionList {
  KST_CLASS(TActionList, TCustomActionList)
 public:
  using TCustomActionList::TCustomActionList;
};
