#include "classes/component.h"

#include <algorithm>

#include "classes/filer.h"
#include "rtl/format.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"

KST_CLASS_IMPL(TComponent, "Classes")

namespace {

const TStringTypeInfo& ComponentNameType() {
  static const TStringTypeInfo type(tkUString, u"TComponentName", u"Classes");
  return type;
}

}  // namespace

namespace {
TComponent* applicationComponent = nullptr;
}  // namespace

TComponent* ApplicationComponent() {
  return applicationComponent;
}
void SetApplicationComponent(TComponent* application) {
  applicationComponent = application;
}

void TComponent::Describe(TClassBuilder<TComponent>& c) {
  c.Property(u"Name", &TComponent::Name, &TComponent::SetName, &ComponentNameType()).Stored(false);
  c.Property(u"Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell everyone who asked; they drop their references to this component.
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    other->RemoveNotification(this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) throw EListError(Format(u"List index out of bounds (%d)", {index}));
  return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& list = FOwner->FComponents;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(StringView name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, name)) return c;
  return nullptr;
}

void TComponent::ValidateRename(TComponent* component, const String& currentName, const String& newName) {
  if (component && !SameText(currentName, newName) && FindComponent(newName))
    throw EComponentError(Format(u"A component named %s already exists", {newName}));
}

void TComponent::SetName(const String& name) {
  if (name == FName) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError(Format(u"'%s' is not a valid component name", {name}));
  if (FOwner) FOwner->ValidateRename(this, FName, name);
  FName = name;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->FOwner == this) return;
  ValidateRename(component, String(), component->FName);
  if (component->FOwner) component->FOwner->RemoveComponent(component);
  Insert(component);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->FOwner != this) return;
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  FComponents.push_back(component);
  component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
  component->FOwner = nullptr;
  FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), component), FComponents.end());
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* last = FComponents.back();
    Remove(last);
    delete last;
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(component);
    component->FreeNotification(this);
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  RemoveNotification(component);
  if (component) component->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* component) {
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), component), FFreeNotifies.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  // A notification may remove components from the list: walk it by index.
  for (size_t i = FComponents.size(); i-- > 0;)
    if (i < FComponents.size()) FComponents[i]->Notification(component, operation);
}

void TComponent::SetSubComponent(bool isSubComponent) {
  if (isSubComponent)
    FComponentStyle.Include(csSubComponent);
  else
    FComponentStyle.Exclude(csSubComponent);
}

void TComponent::SetDesigning(bool designing, bool setChildren) {
  if (designing)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  if (setChildren)
    for (TComponent* c : FComponents) c->SetDesigning(designing, true);
}

void TComponent::Loaded() {
  FComponentState.Exclude(csLoading);
}

void TComponent::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  auto word = [this](int shift) {
    return static_cast<Integer>((static_cast<Cardinal>(FDesignInfo) >> shift) & 0xFFFF);
  };
  auto setWord = [this](int shift, Integer value) {
    Cardinal info = static_cast<Cardinal>(FDesignInfo) & ~(0xFFFFu << shift);
    FDesignInfo = static_cast<Integer>(info | ((static_cast<Cardinal>(value) & 0xFFFFu) << shift));
  };
  filer.DefineProperty(
      u"Left", [setWord](TReader& reader) { setWord(0, reader.ReadInteger()); },
      [word](TWriter& writer) { writer.WriteInteger(word(0)); }, word(0) != 0);
  filer.DefineProperty(
      u"Top", [setWord](TReader& reader) { setWord(16, reader.ReadInteger()); },
      [word](TWriter& writer) { writer.WriteInteger(word(16)); }, word(16) != 0);
}

void TComponent::GetChildren(const std::function<void(TComponent*)>&, TComponent*) {}
