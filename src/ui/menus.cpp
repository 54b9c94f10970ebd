#include "ui/menus.h"

KST_CLASS_IMPL(TPopupMenu, "Menus")

void TPopupMenu::Describe(TClassBuilder<TPopupMenu>& c) {
  c.Property(u"AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(1);
  c.Property(u"OnPopup", &TPopupMenu::OnPopup);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner) {}

void TPopupMenu::Popup(Integer x, Integer y) {
  FPopupPoint = {x, y};
  OnPopup(this);
}

void TPopupMenu::SetPopupComponent(TComponent* component) {
  if (component == FPopupComponent) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = component;
  if (component) component->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FPopupComponent) FPopupComponent = nullptr;
}
