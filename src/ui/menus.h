// Menus: what controls need of them now, the pop-up menu a control shows on
// a right click. Menu items and the menu bar build on this.
#pragma once

#include "classes/component.h"
#include "rtl/geometry.h"

class TControl;

class TPopupMenu : public TComponent {
  KST_CLASS(TPopupMenu, TComponent)
 public:
  explicit TPopupMenu(TComponent* owner);
  // Shows the menu at a screen point; the base fires OnPopup only.
  virtual void Popup(Integer x, Integer y);
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool value) { FAutoPopup = value; }
  // The control the menu was last shown for.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* component);
  TPoint PopupPoint() const { return FPopupPoint; }
  TNotifyEvent OnPopup;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;
  TPoint FPopupPoint;
};
