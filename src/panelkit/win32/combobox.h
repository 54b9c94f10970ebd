// The kit's combo box: a drop-down edit over a list of items with an item
// index, four ways of showing "name=value" items, optional images, stepping
// by arrow keys and the wheel, and type-ahead completion; and the font combo
// box, filled with the screen's fonts, whose preview shows the chosen one.
#pragma once

#include "panelkit/win32/popupedit.h"
#include "ui/imglist.h"

class TPxComboBox : public TPxPopupEdit {
  KST_CLASS(TPxComboBox, TPxPopupEdit)
 public:
  explicit TPxComboBox(TComponent* owner);
  ~TPxComboBox() override;

  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool value) { FAutoComplete = value; }
  Cardinal AutoCompleteDelay() const { return FAutoCompleteDelay; }
  void SetAutoCompleteDelay(Cardinal value) { FAutoCompleteDelay = value; }
  bool AutoDropDown() const { return FAutoDropDown; }
  void SetAutoDropDown(bool value) { FAutoDropDown = value; }
  TItemsDisplayMode DisplayMode() const { return FDisplayMode; }
  void SetDisplayMode(TItemsDisplayMode value) { FDisplayMode = value; }
  TColor DropDownColor() const { return FDropDownColor; }
  void SetDropDownColor(TColor value) { FDropDownColor = value; }
  Integer DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer value) { FDropDownCount = value; }
  TColor HighlightTextColor() const { return FHighlightTextColor; }
  void SetHighlightTextColor(TColor value) { FHighlightTextColor = value; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  Integer ItemHeight() const { return FItemHeight; }
  void SetItemHeight(Integer value) { FItemHeight = value; }
  Integer ItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer value);
  TStrings& Items() const { return *FItems; }
  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(const TStrings* value);
  Integer ListWidth() const { return FListWidth; }
  void SetListWidth(Integer value) { FListWidth = value; }
  TColor SelectionColor() const { return FSelectionColor; }
  void SetSelectionColor(TColor value) { FSelectionColor = value; }
  void SetStyle(TDropDownStyle value) override;

  bool IndexInRange(Integer index) const;
  // The next item starting with the key, case-insensitively, or -1.
  Integer LocateKey(Char key) const;
  // Never reports a match.
  Integer SearchFor(const String& text) const;
  String SelectedItemName() const;
  String SelectedItemValue() const;
  // The prefix typed so far.
  const String& Filter() const { return FFilter; }
  // The list as it drops down.
  TPxPopupList& List();

  TPxDrawItemEvent OnDrawItem;

 protected:
  TPxPopupControl* NewPopup() override;
  void PreparePopup() override;
  void PopupInput(TObject* sender, const String& value) override;
  void SetInputText(const String&) override {}
  void DrawPreview(TCanvas& canvas, const TRect& rect) override;
  virtual void DoDrawItem(TObject* sender, Integer index, const TRect& rect, TPxItemState state);
  void Loaded() override;
  void Change() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(Char& key) override;
  bool DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) override;
  void Notification(TComponent* component, TOperation operation) override;
  // The time of a typed character, in milliseconds.
  virtual Cardinal TickCount() const;

 private:
  // Selects the first item the prefix starts; false when none does.
  bool MatchPrefix(const String& prefix);
  void SelectStep(Integer index);
  bool FAutoComplete = false;
  Cardinal FAutoCompleteDelay = 750;
  bool FAutoDropDown = false;
  TItemsDisplayMode FDisplayMode = dmDefault;
  TColor FDropDownColor = clWindow;
  Integer FDropDownCount = 8;
  TColor FHighlightTextColor = clHighlightText;
  TCustomImageList* FImages = nullptr;
  Integer FItemHeight = 16;
  Integer FItemIndex = -1;
  std::unique_ptr<TStringList> FItems;
  Integer FListWidth = 0;
  TColor FSelectionColor = clHighlight;
  String FFilter;
  Cardinal FLastTime = 0;
  bool FSettingIndex = false;
};

// The drop-down list of the font combo box: each name in its own font.
class TFontPopup : public TPxPopupList {
  KST_CLASS(TFontPopup, TPxPopupList)
 public:
  using TPxPopupList::TPxPopupList;

 protected:
  void DrawRowText(TCanvas& canvas, Integer index, const TRect& rect) override;
};

class TPxFontComboBox : public TPxComboBox {
  KST_CLASS(TPxFontComboBox, TPxComboBox)
 public:
  explicit TPxFontComboBox(TComponent* owner);

 protected:
  TPxPopupControl* NewPopup() override;
  void PreparePopup() override;
  void DrawPreview(TCanvas& canvas, const TRect& rect) override;
};
