// Edits with one button at the right edge: the base that places the button
// and keeps the text clear of it, switches typing and pasting off, and
// takes a chosen value back from a drop-down; the plain button edit, the
// picture path edit and the folder edit.
#pragma once

#include "panelkit/win32/editbuttons.h"
#include "panelkit/win32/edits.h"
#include "ui/commdlg.h"

enum TPxEditOption { epDisablePaste, epDisableTyping };
using TPxEditOptions = TSet<TPxEditOption>;
const TTypeInfo& DescribeType(TypeTag<TPxEditOption>);
const TTypeInfo& DescribeType(TypeTag<TPxEditOptions>);

class TPxPopupControl;

class TPxCustomButtonEdit : public TPxEdit {
  KST_CLASS(TPxCustomButtonEdit, TPxEdit)
 public:
  // The popup edits have a drop-down arrow for their button, the others a push button.
  explicit TPxCustomButtonEdit(TComponent* owner, bool dropDownButton = false);
  ~TPxCustomButtonEdit() override;

  TPxEditOptions Options() const { return FOptions; }
  void SetOptions(TPxEditOptions value) { FOptions = value; }
  bool ShowButton() const { return FShowButton; }
  void SetShowButton(bool value);
  TPxSmallButton& Button() const { return *FButton; }
  TPxPopupControl* PopupControl() const { return FPopupControl; }
  void BeginEditing() override;

  // Places the button at the right edge and shows or hides it.
  virtual void UpdateButton();
  // The drop-down delivered a value.
  virtual void PopupInput(TObject* sender, const String& value);

  TNotifyEvent OnButtonClick;
  TNotifyEvent OnButtonDown;

 protected:
  // Run once the button exists; the popup edits make their drop-down here.
  virtual void CreatePopup() {}
  virtual void SetInputText(const String& value) { SetText(value); }
  virtual void PreparePopup() {}
  // Closes the drop-down, where there is one.
  virtual void CloseDropDown() {}
  virtual void DoButtonClick(TObject* sender);
  virtual void DoButtonDown(TObject* sender);
  void AdjustEditMargins(Integer& left, Integer& right) override;
  void CreateWnd() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(Char& key) override;
  void Dispatch(TMessage& message) override;
  TPxPopupControl* FPopupControl = nullptr;

 private:
  TPxEditOptions FOptions;
  bool FShowButton = true;
  TPxSmallButton* FButton = nullptr;
};

// A push button with a glyph and a caption that fires an event, or runs on Ctrl+Enter.
class TPxButtonEdit : public TPxCustomButtonEdit {
  KST_CLASS(TPxButtonEdit, TPxCustomButtonEdit)
 public:
  explicit TPxButtonEdit(TComponent* owner);
  const String& ButtonCaption() const { return Button().Caption(); }
  void SetButtonCaption(const String& value);
  TBitmap* GetButtonGlyph() const { return FButtonGlyph.get(); }
  void SetButtonGlyph(const TBitmap* value);
  Integer ButtonWidth() const { return Button().Width(); }
  void SetButtonWidth(Integer value);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor value);

 protected:
  void KeyDown(Word& key, TShiftState shift) override;

 private:
  void GlyphUpdated();
  std::unique_ptr<TBitmap> FButtonGlyph;
  TColor FTransparentColor = clNone;
};

// The button opens a picture file dialog; a chosen file's path becomes the text.
class TPxImagePathEdit : public TPxButtonEdit {
  KST_CLASS(TPxImagePathEdit, TPxButtonEdit)
 public:
  explicit TPxImagePathEdit(TComponent* owner);
  TOpenDialog& PictureDialog() const { return *FPictureDialog; }

 protected:
  void DoButtonClick(TObject* sender) override;

 private:
  TOpenDialog* FPictureDialog = nullptr;
};

// The button opens the system's folder browser; a chosen folder becomes the text.
class TPxFolderEdit : public TPxButtonEdit {
  KST_CLASS(TPxFolderEdit, TPxButtonEdit)
 public:
  explicit TPxFolderEdit(TComponent* owner);
  const String& Root() const { return FRoot; }
  void SetRoot(const String& value) { FRoot = value; }
  const String& DialogCaption() const { return FDialogCaption; }
  void SetDialogCaption(const String& value) { FDialogCaption = value; }

 protected:
  void DoButtonClick(TObject* sender) override;

 private:
  String FRoot = u"\\";
  String FDialogCaption = u"Select folder";
};
