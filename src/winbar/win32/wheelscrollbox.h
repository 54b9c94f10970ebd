// A scroll box that also scrolls its vertical bar with the mouse wheel.
#pragma once

#include "ui/forms.h"
#include "winbar/graphutils.h"

class TWheelScrollBox : public TScrollBox {
  KST_CLASS(TWheelScrollBox, TScrollBox)
 public:
  explicit TWheelScrollBox(TComponent* owner);
  // Wheel movement not yet turned into scroll steps (120 a notch).
  Integer WheelAccumulator() const { return FWheel.Value(); }
  const String& About() const { return FAbout; }

 protected:
  void Dispatch(TMessage& message) override;

 private:
  String FAbout;
  TWheelAccumulator FWheel;
};
