#include "ui/actnlist.h"

#include <algorithm>

#include "rtl/format.h"
#include "ui/controls.h"
#include "ui/forms.h"

KST_CLASS_IMPL(TBasicAction, "ActnList")
KST_CLASS_IMPL(TContainedAction, "ActnList")
KST_CLASS_IMPL(TCustomAction, "ActnList")
KST_CLASS_IMPL(TAction, "ActnList")
KST_CLASS_IMPL(TCustomActionList, "ActnList")
KST_CLASS_IMPL(TActionList, "ActnList")

const TTypeInfo& DescribeType(TypeTag<TActionEvent>) {
  static const TMethodTypeInfo t(
      u"TActionEvent", u"ActnList", mkProcedure,
      {TMethodParam{0, u"Action", u"TBasicAction"}, TMethodParam{ParamFlagBit(pfVar), u"Handled", u"Boolean"}});
  return t;
}

// ---------------------------------------------------------------------------
// Links

TBasicActionLink::~TBasicActionLink() {
  if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* action) {
  if (action == FAction) return;
  if (FAction) FAction->UnRegisterChanges(this);
  if (action) action->RegisterChanges(this);
  OnChange(this);
}

bool TBasicActionLink::Execute(TComponent* component) {
  if (!FAction) return false;
  TBasicAction* action = FAction;
  action->SetActionComponent(component);
  bool result = false;
  try {
    result = action->Execute();
  } catch (...) {
    // The action may be gone with what its handler did.
    if (FAction == action) action->SetActionComponent(nullptr);
    throw;
  }
  if (FAction == action) action->SetActionComponent(nullptr);
  return result;
}

bool TBasicActionLink::Update() {
  return FAction && FAction->Update();
}

// ---------------------------------------------------------------------------
// Actions

void TBasicAction::Describe(TClassBuilder<TBasicAction>&) {}

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
  Destroying();
  // The clients keep what they show; they only lose the tie.
  for (TBasicActionLink* link : FClients) link->FAction = nullptr;
  FClients.clear();
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::SetActionComponent(TComponent* component) {
  if (component == FActionComponent) return;
  if (FActionComponent) FActionComponent->RemoveFreeNotification(this);
  FActionComponent = component;
  if (component) component->FreeNotification(this);
}

void TBasicAction::RegisterChanges(TBasicActionLink* link) {
  if (!link) return;
  if (std::find(FClients.begin(), FClients.end(), link) == FClients.end()) FClients.push_back(link);
  link->FAction = this;
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link) {
  auto it = std::find(FClients.begin(), FClients.end(), link);
  if (it == FClients.end()) return;
  FClients.erase(it);
  link->FAction = nullptr;
}

void TBasicAction::Change() {
  // A client may let go of the action while it hears of the change.
  std::vector<TBasicActionLink*> clients = FClients;
  for (TBasicActionLink* link : clients)
    if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->OnChange(link);
}

void TBasicAction::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FActionComponent) FActionComponent = nullptr;
}

void TContainedAction::Describe(TClassBuilder<TContainedAction>& c) {
  c.Property(u"Category", &TContainedAction::Category, &TContainedAction::SetCategory);
}

TContainedAction::TContainedAction(TComponent* owner) : TBasicAction(owner) {}

TContainedAction::~TContainedAction() {
  if (FActionList) FActionList->RemoveAction(this);
}

void TContainedAction::SetActionList(TCustomActionList* list) {
  if (list == FActionList) return;
  if (FActionList) FActionList->RemoveAction(this);
  if (list) list->AddAction(this);
}

int TContainedAction::Index() const {
  return FActionList ? FActionList->IndexOf(this) : -1;
}

void TContainedAction::SetIndex(int index) {
  if (!FActionList) return;
  auto& actions = FActionList->FActions;
  int current = FActionList->IndexOf(this);
  index = std::clamp(index, 0, static_cast<int>(actions.size()) - 1);
  if (current < 0 || current == index) return;
  actions.erase(actions.begin() + current);
  actions.insert(actions.begin() + index, this);
}

bool TContainedAction::Execute() {
  if (FActionList && FActionList->OnExecute) {
    bool handled = false;
    FActionList->OnExecute(this, handled);
    if (handled) return true;
  }
  return TBasicAction::Execute();
}

bool TContainedAction::Update() {
  if (FActionList && FActionList->OnUpdate) {
    bool handled = false;
    FActionList->OnUpdate(this, handled);
    if (handled) return true;
  }
  return TBasicAction::Update();
}

TComponent* TContainedAction::GetParentComponent() const {
  return FActionList;
}

void TContainedAction::SetParentComponent(TComponent* parent) {
  auto* list = dynamic_cast<TCustomActionList*>(parent);
  if (parent && !list) throw EInvalidOperation(Format(u"An action cannot be placed on %s", {parent->ClassName()}));
  SetActionList(list);
}

void TCustomAction::Describe(TClassBuilder<TCustomAction>&) {}

TCustomAction::TCustomAction(TComponent* owner) : TContainedAction(owner) {}

void TCustomAction::SetCaption(const String& value) {
  if (value == FCaption) return;
  FCaption = value;
  Change();
}

void TCustomAction::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  // A checked action of a group unchecks the others of its group in the list.
  if (value && FGroupIndex > 0 && ActionList())
    for (int i = 0; i < ActionList()->ActionCount(); ++i)
      if (auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
          other && other != this && other->FGroupIndex == FGroupIndex)
        other->SetChecked(false);
  Change();
}

void TCustomAction::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Change();
}

void TCustomAction::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  Change();
}

void TCustomAction::SetHint(const String& value) {
  if (value == FHint) return;
  FHint = value;
  Change();
}

void TCustomAction::SetImageIndex(Integer value) {
  if (value == FImageIndex) return;
  FImageIndex = value;
  Change();
}

void TCustomAction::SetShortCut(TShortCut value) {
  if (value == FShortCut) return;
  FShortCut = value;
  Change();
}

void TCustomAction::SetAutoCheck(bool value) {
  if (value == FAutoCheck) return;
  FAutoCheck = value;
  Change();
}

void TCustomAction::SetGroupIndex(Integer value) {
  if (value == FGroupIndex) return;
  FGroupIndex = value;
  Change();
}

TCustomImageList* TCustomAction::Images() const {
  return ActionList() ? ActionList()->Images() : nullptr;
}

bool TCustomAction::Execute() {
  Update();
  if (!FEnabled) return false;
  if (FAutoCheck) SetChecked(!FChecked);
  return TContainedAction::Execute();
}

void TAction::Describe(TClassBuilder<TAction>& c) {
  c.Property(u"SecondaryShortCuts", &TAction::SecondaryShortCuts, &TAction::SetSecondaryShortCuts)
      .StoredWhen([](const TAction& o) { return o.SecondaryShortCuts()->GetCount() > 0; });
  c.Property(u"AutoCheck", &TAction::AutoCheck, &TAction::SetAutoCheck).Default(0);
  c.Property(u"Caption", &TAction::Caption, &TAction::SetCaption);
  c.Property(u"Checked", &TAction::Checked, &TAction::SetChecked).Default(0);
  c.Property(u"Enabled", &TAction::Enabled, &TAction::SetEnabled).Default(1);
  c.Property(u"GroupIndex", &TAction::GroupIndex, &TAction::SetGroupIndex).Default(0);
  c.Property(u"HelpContext", &TAction::HelpContext, &TAction::SetHelpContext).Default(0);
  c.Property(u"HelpKeyword", &TAction::HelpKeyword, &TAction::SetHelpKeyword);
  c.Property(u"HelpType", &TAction::HelpType, &TAction::SetHelpType).Default(htContext);
  c.Property(u"Hint", &TAction::Hint, &TAction::SetHint);
  c.Property(u"ImageIndex", &TAction::ImageIndex, &TAction::SetImageIndex).Default(-1);
  c.Property(u"ShortCut", &TAction::ShortCut, &TAction::SetShortCut, &ShortCutType()).Default(0);
  c.Property(u"Visible", &TAction::Visible, &TAction::SetVisible).Default(1);
  c.Property(u"OnExecute", &TAction::OnExecute);
  c.Property(u"OnUpdate", &TAction::OnUpdate);
}

// ---------------------------------------------------------------------------
// Action lists

void TCustomActionList::Describe(TClassBuilder<TCustomActionList>&) {}

TCustomActionList::TCustomActionList(TComponent* owner)
    : TComponent(owner), FImageChangeLink(std::make_unique<TChangeLink>()) {
  FImageChangeLink->OnChange = TNotifyEvent(this, &TCustomActionList::ImageListChange);
  if (Application) {
    Application->AddIdleHandler(TIdleEvent(this, &TCustomActionList::Idle));
    FIdleRegistered = true;
  }
}

TCustomActionList::~TCustomActionList() {
  Destroying();
  if (FIdleRegistered && Application) Application->RemoveIdleHandler(TIdleEvent(this, &TCustomActionList::Idle));
  SetImages(nullptr);
  for (TContainedAction* action : FActions) action->FActionList = nullptr;
  FActions.clear();
}

TContainedAction* TCustomActionList::Actions(int index) const {
  if (index < 0 || index >= ActionCount()) throw EListError(Format(u"List index out of bounds (%d)", {index}));
  return FActions[static_cast<size_t>(index)];
}

int TCustomActionList::IndexOf(const TContainedAction* action) const {
  auto it = std::find(FActions.begin(), FActions.end(), action);
  return it == FActions.end() ? -1 : static_cast<int>(it - FActions.begin());
}

void TCustomActionList::AddAction(TContainedAction* action) {
  if (IndexOf(action) >= 0) return;
  FActions.push_back(action);
  action->FActionList = this;
  action->FreeNotification(this);
  OnChange(this);
}

void TCustomActionList::RemoveAction(TContainedAction* action) {
  auto it = std::find(FActions.begin(), FActions.end(), action);
  if (it == FActions.end()) return;
  FActions.erase(it);
  action->FActionList = nullptr;
  if (!ComponentState().Contains(csDestroying)) OnChange(this);
}

void TCustomActionList::SetImages(TCustomImageList* images) {
  if (!SwitchImageList(*this, FImages, images, FImageChangeLink.get())) return;
  ImageListChange(nullptr);
}

void TCustomActionList::ImageListChange(TObject*) {
  if (ComponentState().Contains(csDestroying)) return;
  // The clients draw the images anew.
  for (TContainedAction* action : std::vector<TContainedAction*>(FActions)) action->Change();
}

void TCustomActionList::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FImages) FImages = nullptr;
  if (auto* action = dynamic_cast<TContainedAction*>(component)) RemoveAction(action);
}

bool TCustomActionList::IsShortCut(const TMessage& message) {
  TShortCut shortCut = ShortCutFromMessage(message);
  if (!shortCut) return false;
  for (TContainedAction* action : std::vector<TContainedAction*>(FActions)) {
    auto* custom = dynamic_cast<TCustomAction*>(action);
    if (!custom || custom->ShortCut() != shortCut) continue;
    custom->Update();
    if (!custom->Enabled()) return false;
    custom->Execute();
    return true;
  }
  return false;
}

void TCustomActionList::UpdateActions() {
  for (TContainedAction* action : std::vector<TContainedAction*>(FActions))
    if (IndexOf(action) >= 0) action->Update();
}

bool TCustomActionList::IsActive() const {
  for (TComponent* c = Owner(); c; c = c->Owner())
    if (auto* form = dynamic_cast<TCustomForm*>(c))
      return form->HandleAllocated() && IsWindowVisible(const_cast<TCustomForm*>(form)->Handle());
  return true;
}

void TCustomActionList::Idle(TObject*, bool&) {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  if (IsActive()) UpdateActions();
}

void TCustomActionList::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  for (TContainedAction* action : FActions)
    if (action->Owner() == root) proc(action);
}

void TCustomActionList::SetChildOrder(TComponent* child, int order) {
  if (auto* action = dynamic_cast<TContainedAction*>(child); action && action->ActionList() == this)
    action->SetIndex(order);
}

void TActionList::Describe(TClassBuilder<TActionList>& c) {
  c.Property(u"Images", &TActionList::Images, &TActionList::SetImages);
  c.Property(u"OnChange", &TActionList::OnChange);
  c.Property(u"OnExecute", &TActionList::OnExecute);
  c.Property(u"OnUpdate", &TActionList::OnUpdate);
}
