// Moving a component's reference to another component together with the
// free notification that clears it when the referenced one goes.
#pragma once

#include "classes/component.h"

// When `newReference` differs from `reference` and `self` is given: the old
// referenced component no longer notifies `self`, `reference` becomes the
// new one, which notifies `self` from now on; true. Otherwise nothing
// changes; false.
template <class T>
bool SwapComponentReference(TComponent* self, T* newReference, T*& reference) {
  if (!self || newReference == reference) return false;
  if (reference) reference->RemoveFreeNotification(self);
  reference = newReference;
  if (reference) reference->FreeNotification(self);
  return true;
}
