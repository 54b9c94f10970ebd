// What the edit tests share: the edit form read from its resource, its
// events recorded in order.
#pragma once

#include "panelkit/win32/buttonedits.h"
#include "panelkit/win32/checkboxes.h"
#include "panelkit/win32/combobox.h"
#include "panelkit/win32/edits.h"
#include "panelkit/win32/memo.h"
#include "panelkit/win32/numberedits.h"
#include "panelkit/win32/panelkittest.h"
#include "ui/extctrls.h"

class TEditKitForm : public TForm {
  KST_CLASS(TEditKitForm, TForm)
 public:
  using TForm::TForm;
  TPxEdit* edit = nullptr;
  TPxNumberEdit* number = nullptr;
  TPxSpinEdit* spin = nullptr;
  TPxNumberEdit* priced = nullptr;
  TPxCheckBox* check = nullptr;
  TPanel* group = nullptr;
  TPxRadioButton* radio1 = nullptr;
  TPxRadioButton* radio2 = nullptr;
  TPxRadioButton* radio3 = nullptr;
  TPxButtonEdit* buttonEdit = nullptr;
  TPxFolderEdit* folder = nullptr;
  TPxImagePathEdit* imagePath = nullptr;
  TPxComboBox* combo = nullptr;
  TPxFontComboBox* fonts = nullptr;
  TPxMemo* memo = nullptr;
  TPxEdit* secret = nullptr;

  std::vector<std::string> Events;
  void editCustomPreviewDraw(TObject* sender, const TRect& rect);
  void spinSpin(TObject* sender, TSpinButtonSet buttons);
  void ToggleChange(TObject* sender);
  void buttonEditButtonClick(TObject*) { Events.push_back("button"); }
  void comboSelect(TObject*) { Events.push_back("select:" + std::to_string(combo->ItemIndex())); }
};

// What the screen shows of a window, children and frame included.
harness::Bitmap32 ScreenPicture(HWND window);

class EditKitTest : public PanelKitTest {
 protected:
  void SetUp() override;
  // The edit form, shown.
  TEditKitForm& Edits();
  // Types the characters into a focused control as the keyboard would.
  void Type(TWinControl& control, const std::wstring& characters);

  TEditKitForm* FEdits = nullptr;
};
