// Standard controls: the label, the push button and the system's other
// standard windows (edit, memo, check box, radio button, list box, combo
// box), and the group box, which we draw.
#pragma once

#include <memory>
#include <vector>

#include "rtl/stringlist.h"
#include "ui/controls.h"

enum TTextLayout { tlTop, tlCenter, tlBottom };
// Scoped: the editor's commands of the same names live beside it in the program.
enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

const TTypeInfo& DescribeType(TypeTag<TAlignment>);
const TTypeInfo& DescribeType(TypeTag<TTextLayout>);
const TTypeInfo& DescribeType(TypeTag<TEditCharCase>);
const TTypeInfo& DescribeType(TypeTag<TScrollStyle>);
const TTypeInfo& DescribeType(TypeTag<TCheckBoxState>);
const TTypeInfo& DescribeType(TypeTag<TComboBoxStyle>);
// TLeftRight: the two values of TAlignment a check box's caption has.
const TEnumTypeInfo& LeftRightType();

// Whether the caption marks this key as its accelerator ("&Save" and 'S').
bool IsAccel(Word key, const String& caption);

// Text drawn on its parent; sizes itself to the text unless told not to.
class TLabel : public TGraphicControl {
  KST_CLASS(TLabel, TGraphicControl)
 public:
  explicit TLabel(TComponent* owner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
  void SetTransparent(bool value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* control);

 protected:
  void Paint() override;
  void Loaded() override;
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  // The DrawText flags the label draws its caption with.
  UINT TextFlags() const;
  void AdjustBounds();

 private:
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

// The system's push button.
// The kinds of push button of newer systems; the preview shows each as a
// push button.
enum TButtonStyle { bsPushButton, bsCommandLink, bsSplitButton };
const TTypeInfo& DescribeType(TypeTag<TButtonStyle>);

class TButton : public TWinControl {
  KST_CLASS(TButton, TWinControl)
 public:
  explicit TButton(TComponent* owner);
  TButtonStyle Style = bsPushButton;
  String CommandLinkHint;
  TNotifyEvent OnDropDownClick;

  // The button Enter presses (when no other button has the focus).
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  // The button Esc presses.
  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  // Set on the form when the button is clicked.
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }

  void Click() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;
  void CMDialogKey(TMessage& message) override;
  void CMDialogChar(TMessage& message) override;
  void CMFocusChanged(TMessage& message) override;

 protected:
  // Shows the button as the one Enter presses, or not.
  virtual void SetButtonStyle(bool isDefault);

 private:
  bool FDefault = false;
  bool FCancel = false;
  bool FActive = false;
  TModalResult FModalResult = mrNone;
};

// ---------------------------------------------------------------------------

// What the edit and the memo share: the system's edit window.
class TCustomEdit : public TWinControl {
  KST_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* owner);

  Integer MaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase value);
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool value) { FAutoSelect = value; }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool value);
  bool Modified() const;
  void SetModified(bool value);

  Integer SelStart() const;
  void SetSelStart(Integer value);
  Integer SelLength() const;
  void SetSelLength(Integer value);
  String SelText() const;
  // Replaces the selection (an undoable change of the text).
  void SetSelText(const String& value);
  void SelectAll();
  void ClearSelection() { SetSelText(String()); }
  void Clear() { SetText(String()); }

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& message) override;
  virtual void Change();
  bool FCreating = false;
  bool FSettingText = false;

 private:
  Integer FMaxLength = 0;
  bool FReadOnly = false;
  TEditCharCase FCharCase = TEditCharCase::ecNormal;
  bool FAutoSelect = true;
  TFormBorderStyle FBorderStyle = bsSingle;
  bool FHideSelection = true;
  bool FModified = false;
  Integer FSelStart = 0, FSelLength = 0;  // while there is no window
};

// A line of text.
class TEdit : public TCustomEdit {
  KST_CLASS(TEdit, TCustomEdit)
 public:
  explicit TEdit(TComponent* owner);
  // Shown for every character when not #0 (a password).
  Char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(Char value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  Char FPasswordChar = 0;
};

class TMemo;

// The lines of a memo: the window's text, split at line breaks.
class TMemoStrings : public TStrings {
 public:
  explicit TMemoStrings(TMemo& memo) : FMemo(memo) {}
  String Get(Integer index) const override;
  Integer GetCount() const override;
  void Insert(Integer index, const String& s) override;
  void Put(Integer index, const String& s) override;
  void Delete(Integer index) override;
  void Clear() override;
  String GetTextStr() const override;
  void SetTextStr(const String& text) override;
  void SetUpdateState(bool updating) override;

 private:
  std::vector<String> Lines() const;
  void Store(const std::vector<String>& lines);
  void CheckIndex(Integer index, Integer count) const;
  TMemo& FMemo;
  bool FUpdating = false;
  std::vector<String> FPending;  // the lines while an update bracket is open
};

// Lines of text; Lines and the window's text are the same text.
class TMemo : public TCustomEdit {
  KST_CLASS(TMemo, TCustomEdit)
 public:
  explicit TMemo(TComponent* owner);
  ~TMemo() override;

  TStrings& Lines() const { return *FLines; }
  TStrings* GetLines() const { return FLines.get(); }
  void SetLines(const TStrings* lines);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool value) { FWantReturns = value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool value) { FWantTabs = value; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  // Where the caret stands: column (X) and line (Y), from 0.
  TPoint CaretPos() const;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;

 private:
  std::unique_ptr<TMemoStrings> FLines;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FWantReturns = true;
  bool FWantTabs = false;
  TAlignment FAlignment = taLeftJustify;
};

// A box that is ticked, not ticked or (with AllowGrayed) grey.
class TCheckBox : public TWinControl {
  KST_CLASS(TCheckBox, TWinControl)
 public:
  explicit TCheckBox(TComponent* owner);

  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return FState; }
  // A change fires OnClick (but not while the form loads).
  void SetState(TCheckBoxState value);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool value) { FAllowGrayed = value; }
  // taRightJustify: the caption right of the box.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& message) override;
  void CMDialogChar(TMessage& message) override;
  // The next state a click gives: unchecked, checked, grey (when allowed).
  virtual void Toggle();

 private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = taRightJustify;
};

// One of a group: checking it unchecks the radio buttons beside it.
class TRadioButton : public TWinControl {
  KST_CLASS(TRadioButton, TWinControl)
 public:
  explicit TRadioButton(TComponent* owner);

  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& message) override;
  void CMDialogChar(TMessage& message) override;

 private:
  bool FChecked = false;
  TAlignment FAlignment = taRightJustify;
};

// A frame with a caption around other controls.
class TCustomGroupBox : public TCustomControl {
  KST_CLASS(TCustomGroupBox, TCustomControl)
 public:
  explicit TCustomGroupBox(TComponent* owner);
  void AdjustClientRect(TRect& rect) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Dispatch(TMessage& message) override;
};

class TGroupBox : public TCustomGroupBox {
  KST_CLASS(TGroupBox, TCustomGroupBox)
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

// The items of a list box or combo box: the window's items while it has a
// window, kept here while it has none (before it is made, while remade).
class TWinListStrings : public TStrings {
 public:
  struct Messages {
    UINT AddString, InsertString, DeleteString, GetText, GetTextLen, GetCount, ResetContent, GetItemData, SetItemData;
    LRESULT Error;
  };
  TWinListStrings(TWinControl& control, const Messages& messages) : FControl(control), FMsg(messages) {}
  String Get(Integer index) const override;
  Integer GetCount() const override;
  TObject* GetObject(Integer index) const override;
  void PutObject(Integer index, TObject* object) override;
  Integer Add(const String& s) override;
  void Insert(Integer index, const String& s) override;
  void Delete(Integer index) override;
  void Clear() override;
  void SetUpdateState(bool updating) override;
  int CompareStrings(const String& s1, const String& s2) const override;

  bool Sorted() const { return FSorted; }
  void SetSorted(bool value);
  // Takes the items out of the window before it goes, and puts them back.
  void SaveFromWindow();
  void RestoreToWindow();

 private:
  struct Item {
    String Text;
    TObject* Object = nullptr;
  };
  bool Live() const { return FControl.HandleAllocated(); }
  HWND Window() const { return const_cast<TWinControl&>(FControl).Handle(); }
  void CheckIndex(Integer index, Integer count) const;
  TWinControl& FControl;
  Messages FMsg;
  std::vector<Item> FItems;
  bool FSorted = false;
};

// The system's list box.
class TListBox : public TWinControl {
  KST_CLASS(TListBox, TWinControl)
 public:
  explicit TListBox(TComponent* owner);
  ~TListBox() override;

  TStrings& Items() const { return *FItems; }
  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(const TStrings* items);
  // The selected item (with MultiSelect the one with the focus rectangle); -1: none.
  Integer ItemIndex() const;
  void SetItemIndex(Integer value);
  // The height of an owner-drawn item; the standard style measures by the font
  // and only keeps the value the form file gives.
  Integer ItemHeight() const { return FItemHeight; }
  void SetItemHeight(Integer value) { FItemHeight = value > 0 ? value : FItemHeight; }
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool value);
  bool ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool value);
  bool Sorted() const { return FItems->Sorted(); }
  void SetSorted(bool value);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  bool IntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool value);
  Integer Count() const { return FItems->Count(); }
  Integer SelCount() const;
  bool Selected(Integer index) const;
  void SetSelected(Integer index, bool value);
  Integer TopIndex() const;
  void SetTopIndex(Integer value);
  // The item at a client point (-1: none).
  Integer ItemAtPos(TPoint pos, bool existing) const;
  void Clear() { FItems->Clear(); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& message) override;

 private:
  std::unique_ptr<TWinListStrings> FItems;
  Integer FItemHeight = 16;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  bool FIntegralHeight = false;
  TFormBorderStyle FBorderStyle = bsSingle;
  Integer FItemIndex = -1;       // while there is no window
  std::vector<bool> FSelection;  // while there is no window
};

// The system's combo box: an edit or a fixed field with a list.
class TComboBox : public TWinControl {
  KST_CLASS(TComboBox, TWinControl)
 public:
  explicit TComboBox(TComponent* owner);
  ~TComboBox() override;

  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle value);
  TStrings& Items() const { return *FItems; }
  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(const TStrings* items);
  Integer ItemIndex() const;
  void SetItemIndex(Integer value);
  // The height of an owner-drawn item; the standard style measures by the font
  // and only keeps the value the form file gives.
  Integer ItemHeight() const { return FItemHeight; }
  void SetItemHeight(Integer value) { FItemHeight = value > 0 ? value : FItemHeight; }
  Integer DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer value);
  bool Sorted() const { return FItems->Sorted(); }
  void SetSorted(bool value);
  Integer MaxLength() const { return FMaxLength; }
  void SetMaxLength(Integer value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase value);
  bool DroppedDown() const;
  void SetDroppedDown(bool value);
  String GetText() const override;
  void SetText(const String& text) override;
  void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
  Integer Count() const { return FItems->Count(); }
  void Clear();

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& message) override;
  virtual void Change();
  // A choice from the list: OnSelect, or OnChange when there is none.
  virtual void Select();

 private:
  Integer DroppedHeight() const;
  std::unique_ptr<TWinListStrings> FItems;
  TComboBoxStyle FStyle = csDropDown;
  Integer FItemHeight = 16;
  Integer FDropDownCount = 8;
  Integer FMaxLength = 0;
  TEditCharCase FCharCase = TEditCharCase::ecNormal;
  Integer FItemIndex = -1;  // while there is no window
  bool FCreating = false;
  bool FSizing = false;
};
