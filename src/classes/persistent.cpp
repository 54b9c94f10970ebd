#include "classes/persistent.h"

const TClassInfo& TPersistent::StaticClass() {
  static const TClassInfo info(u"TPersistent", u"Classes", &TObjectClass(), {});
  return info;
}

void TPersistent::Assign(const TPersistent* source) {
  if (source) {
    source->AssignTo(this);
    return;
  }
  AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) const { dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* source) const {
  String sourceName = source ? source->ClassName() : String(u"nil");
  throw EConvertError(u"Cannot assign a " + sourceName + u" to a " + ClassName());
}

String TPersistent::GetNamePath() const { return ClassName(); }

void TPersistent::DefineProperties(TFiler&) {}
