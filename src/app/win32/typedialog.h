// The "Save as" question: which encoding the copy is written in.
#pragma once

#include "app/formdocument.h"
#include "ui/extctrls.h"
#include "ui/forms.h"
#include "ui/stdctrls.h"

class TdlgType : public TForm {
  KST_CLASS(TdlgType, TForm)
 public:
  using TForm::TForm;
  TRadioGroup* rgType = nullptr;
  TButton* bOK = nullptr;
  TButton* bCancel = nullptr;

  // Shows the dialog; on OK the chosen encoding and true.
  static bool Choose(TDataFormat& format);
};
