#include "panelkit/win32/collection.h"

#include "ui/publish.h"

KST_CLASS_IMPL(TPxIndent, "PxCollection")
KST_CLASS_IMPL(TPxMargins, "PxCollection")
KST_CLASS_IMPL(TPxCollectionControl, "PxCollection")

void TPxIndent::Describe(TClassBuilder<TPxIndent>& c) {
  c.Property(u"Left", &TPxIndent::Left, &TPxIndent::SetLeft).Default(0);
  c.Property(u"Top", &TPxIndent::Top, &TPxIndent::SetTop).Default(0);
}

void TPxIndent::SetLeft(Integer value) {
  FLeft = value;
  DoChange();
}

void TPxIndent::SetTop(Integer value) {
  FTop = value;
  DoChange();
}

void TPxIndent::Assign(const TPersistent* source) {
  if (const auto* indent = dynamic_cast<const TPxIndent*>(source)) {
    SetLeft(indent->Left());
    SetTop(indent->Top());
    return;
  }
  TPersistent::Assign(source);
}

void TPxIndent::DoChange() {
  if (OnChange) OnChange(this);
}

void TPxMargins::Describe(TClassBuilder<TPxMargins>& c) {
  c.Property(u"Bottom", &TPxMargins::Bottom, &TPxMargins::SetBottom).Default(0);
  c.Property(u"Right", &TPxMargins::Right, &TPxMargins::SetRight).Default(0);
}

void TPxMargins::SetBottom(Integer value) {
  FBottom = value;
  DoChange();
}

void TPxMargins::SetRight(Integer value) {
  FRight = value;
  DoChange();
}

TRect TPxMargins::AsRect(Integer width, Integer height) const {
  return Rect(Left(), Top(), width - FRight, height - FBottom);
}

void TPxMargins::SetRect(Integer left, Integer top, Integer right, Integer bottom) {
  const TNotifyEvent watcher = OnChange;
  OnChange = {};
  SetLeft(left);
  SetTop(top);
  FRight = right;
  FBottom = bottom;
  OnChange = watcher;
  DoChange();
}

void TPxMargins::Assign(const TPersistent* source) {
  TPxIndent::Assign(source);
  if (const auto* margins = dynamic_cast<const TPxMargins*>(source)) {
    SetBottom(margins->Bottom());
    SetRight(margins->Right());
  }
}

void TPxCollectionControl::Describe(TClassBuilder<TPxCollectionControl>&) {}

TPxCollectionControl::TPxCollectionControl(TComponent* owner) : TCustomControl(owner) {
  FControlStyle.Include(csGestures);
}
