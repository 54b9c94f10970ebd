// A control that calls out (a menu, an event handler, a dialog) may be freed
// by what it calls, together with its form. The guard watches it through
// the free notification: after the call the control asks Alive() before it
// touches any member of its own again.
#pragma once

#include "classes/component.h"

class TPxLifeGuard final : public TComponent {
 public:
  explicit TPxLifeGuard(TComponent* watched) : TComponent(nullptr), FWatched(watched) {
    if (FWatched) FWatched->FreeNotification(this);
  }
  ~TPxLifeGuard() override {
    if (FWatched) FWatched->RemoveFreeNotification(this);
  }
  TPxLifeGuard(const TPxLifeGuard&) = delete;
  TPxLifeGuard& operator=(const TPxLifeGuard&) = delete;

  // False once the watched component has begun its destruction.
  bool Alive() const { return FWatched != nullptr; }
  bool Gone() const { return FWatched == nullptr; }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FWatched) FWatched = nullptr;
  }

 private:
  TComponent* FWatched;
};
