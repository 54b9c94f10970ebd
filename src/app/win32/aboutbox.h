// The about box: the program's name, version, legal notice and description
// from its own version resource, a notice text and the maker's links.
#pragma once

#include "ui/extctrls.h"
#include "ui/forms.h"
#include "ui/stdctrls.h"

class TdlgAbout : public TForm {
  KST_CLASS(TdlgAbout, TForm)
 public:
  using TForm::TForm;
  TPanel *pTop = nullptr, *pMiddle = nullptr, *pBottom = nullptr;
  TImage* Icon = nullptr;
  TLabel *lProduct = nullptr, *lVer = nullptr, *lCR = nullptr, *lDesc = nullptr, *lEmail = nullptr, *lWWW = nullptr;
  TMemo* mLic = nullptr;
  TButton* bOK = nullptr;

  // Fills the box in a language (0 English, 1 Czech) and with an optional
  // extra line of the notice, before it is shown.
  void Fill(int language, const String& extraLine);

  void FormCreate(TObject* sender);
  void FormMouseDown(TObject* sender, TMouseButton button, TShiftState shift, Integer x, Integer y);
  void cmEmail(TObject* sender);
  void cmHomepage(TObject* sender);
};

// Fills and shows the box modally, then frees it.
void ShowAboutDialog(int language, const String& extraLine);
