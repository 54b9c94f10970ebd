#include "app/win32/typedialog.h"

KST_CLASS_IMPL(TdlgType, "Kestrum_Type")

void TdlgType::Describe(TClassBuilder<TdlgType>& c) {
  c.Field(u"rgType", &TdlgType::rgType);
  c.Field(u"bOK", &TdlgType::bOK);
  c.Field(u"bCancel", &TdlgType::bCancel);
}

bool TdlgType::Choose(TDataFormat& format) {
  // The items in their order: Text, Binary, Resource.
  static constexpr TDataFormat formats[] = {dfText, dfBinary, dfResource};
  auto dialog = MakeForm<TdlgType>(Application);
  if (dialog->ShowModal() != mrOk) return false;
  const Integer index = dialog->rgType->ItemIndex();
  format = index >= 0 && index < 3 ? formats[index] : dfText;
  return true;
}
