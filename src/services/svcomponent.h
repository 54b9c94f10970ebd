// The common base of the settings components.
#pragma once

#include "classes/component.h"

class TSvComponent : public TComponent {
  KST_CLASS(TSvComponent, TComponent)
 public:
  using TComponent::TComponent;
};
