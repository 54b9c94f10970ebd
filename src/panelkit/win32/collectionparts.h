// What the collection's windowed controls share: the events they publish
// besides the common mouse events, and the watch on an image list they use.
#pragma once

#include "ui/winapi.h"

#include "ui/imglist.h"
#include "ui/publish.h"

namespace publish {

// Focus, key, wheel-step and resize events of a focusable control.
template <class T>
void KeyboardControlEvents(TClassBuilder<T>& c) {
  MouseEvents(c);
  FocusEvents(c);
  KeyEvents(c);
  c.Property(u"OnMouseWheelDown", &T::OnMouseWheelDown);
  c.Property(u"OnMouseWheelUp", &T::OnMouseWheelUp);
  c.Property(u"OnResize", &T::OnResize);
}

}  // namespace publish

// Points the field at the image list and asks to be told when it is freed,
// letting go of the list it pointed at; false when nothing changed.
inline bool WatchImages(TComponent& watcher, TCustomImageList*& field, TCustomImageList* value) {
  if (value == field) return false;
  if (field) field->RemoveFreeNotification(&watcher);
  field = value;
  if (field) field->FreeNotification(&watcher);
  return true;
}
