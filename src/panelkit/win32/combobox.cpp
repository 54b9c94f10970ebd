#include "panelkit/win32/combobox.h"

#include "panelkit/win32/editpublish.h"
#include "rtl/sysstr.h"
#include "ui/forms.h"

KST_CLASS_IMPL(TPxComboBox, "PxEdit")
KST_CLASS_IMPL(TFontPopup, "PxPopupControl")
KST_CLASS_IMPL(TPxFontComboBox, "PxEdit")

namespace {

// Removes the character before the position, both halves of a surrogate pair.
size_t CharacterStartBefore(const String& text, size_t position) {
  if (position == 0) return 0;
  size_t start = position - 1;
  if (start > 0 && text[start] >= 0xDC00 && text[start] <= 0xDFFF && text[start - 1] >= 0xD800 &&
      text[start - 1] <= 0xDBFF)
    --start;
  return start;
}

bool StartsWithText(const String& text, const String& prefix) {
  return text.size() >= prefix.size() && AnsiCompareText(StringView(text).substr(0, prefix.size()), prefix) == 0;
}

}  // namespace

void TPxComboBox::Describe(TClassBuilder<TPxComboBox>& c) {
  using T = TPxComboBox;
  c.Property(u"AutoComplete", &T::AutoComplete, &T::SetAutoComplete).Default(0);
  c.Property(u"AutoCompleteDelay", &T::AutoCompleteDelay, &T::SetAutoCompleteDelay).Default(750);
  c.Property(u"AutoDropDown", &T::AutoDropDown, &T::SetAutoDropDown).Default(0);
  c.Property(u"DisplayMode", &T::DisplayMode, &T::SetDisplayMode).Default(dmDefault);
  c.Property(u"DropDownColor", &T::DropDownColor, &T::SetDropDownColor, &types::Color()).Default(clWindow);
  c.Property(u"DropDownCount", &T::DropDownCount, &T::SetDropDownCount).Default(8);
  c.Property(u"HighlightTextColor", &T::HighlightTextColor, &T::SetHighlightTextColor, &types::Color())
      .Default(clHighlightText);
  c.Property(u"Images", &T::Images, &T::SetImages);
  c.Property(u"ItemHeight", &T::ItemHeight, &T::SetItemHeight).Default(16);
  c.Property(u"ItemIndex", &T::ItemIndex, &T::SetItemIndex).Default(-1);
  c.Property(u"Items", &T::GetItems, &T::SetItems);
  c.Property(u"ListWidth", &T::ListWidth, &T::SetListWidth).Default(0);
  c.Property(u"SelectionColor", &T::SelectionColor, &T::SetSelectionColor, &types::Color()).Default(clHighlight);
  c.Property(u"OnDrawItem", &T::OnDrawItem);
}

TPxComboBox::TPxComboBox(TComponent* owner) : TPxPopupEdit(owner), FItems(std::make_unique<TStringList>()) {}

TPxComboBox::~TPxComboBox() {
  FItems->Clear();
}

TPxPopupControl* TPxComboBox::NewPopup() {
  return new TPxPopupList(this);
}

TPxPopupList& TPxComboBox::List() {
  return static_cast<TPxPopupList&>(Popup());
}

void TPxComboBox::SetImages(TCustomImageList* value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = value;
  if (FImages) FImages->FreeNotification(this);
  RefreshPreview();
}

void TPxComboBox::Notification(TComponent* component, TOperation operation) {
  TPxPopupEdit::Notification(component, operation);
  if (operation == opRemove && component == FImages) FImages = nullptr;
}

void TPxComboBox::SetItems(const TStrings* value) {
  if (value) FItems->Assign(*value);
}

bool TPxComboBox::IndexInRange(Integer index) const {
  return FItems->Count() > 0 && index >= 0 && index <= FItems->Count() - 1;
}

void TPxComboBox::SetItemIndex(Integer value) {
  FItemIndex = value;
  if (ComponentState().Contains(csLoading)) return;
  if (IndexInRange(value)) {
    FSettingIndex = true;
    try {
      SetText(ItemDisplayText(FItems->Get(value), FDisplayMode));
    } catch (...) {
      FSettingIndex = false;
      throw;
    }
    FSettingIndex = false;
  }
  if (PopupControl()) List().SetItemIndex(value);
  if (ShowPreview()) RefreshPreview();
}

void TPxComboBox::SetStyle(TDropDownStyle value) {
  TPxPopupEdit::SetStyle(value);
  if (value == dsDropDownList) SetItemIndex(FItemIndex);
}

void TPxComboBox::Loaded() {
  TPxPopupEdit::Loaded();
  SetItemIndex(FItemIndex);
}

void TPxComboBox::Change() {
  if (!FSettingIndex && FDisplayMode == dmDefault) {
    const String text = Text();
    bool listed = false;
    for (Integer i = 0; i < FItems->Count() && !listed; ++i) listed = FItems->Get(i) == text;
    if (!listed) FItemIndex = -1;
  }
  TPxPopupEdit::Change();
}

Integer TPxComboBox::LocateKey(Char key) const {
  const String wanted = AnsiUpperCase(String(1, key));
  const auto startsWithKey = [&](Integer i) {
    const String item = FItems->Get(i);
    return !item.empty() && AnsiUpperCase(item.substr(0, 1)) == wanted;
  };
  const Integer start = IndexInRange(FItemIndex) && startsWithKey(FItemIndex) ? FItemIndex + 1 : 0;
  for (Integer i = start; i < FItems->Count(); ++i)
    if (startsWithKey(i)) return i;
  return -1;
}

Integer TPxComboBox::SearchFor(const String&) const {
  return -1;
}

String TPxComboBox::SelectedItemName() const {
  return IndexInRange(FItemIndex) ? ItemName(FItems->Get(FItemIndex)) : String();
}

String TPxComboBox::SelectedItemValue() const {
  return IndexInRange(FItemIndex) ? ItemValue(FItems->Get(FItemIndex)) : String();
}

void TPxComboBox::PreparePopup() {
  TPxPopupList& list = List();
  list.SetColors(FDropDownColor, FSelectionColor, FHighlightTextColor);
  list.SetDropDownCount(FDropDownCount);
  list.SetDisplayMode(FDisplayMode);
  list.Items().Assign(*FItems);
  list.SetItemHeight(FItemHeight);
  if (OnDrawItem)
    list.OnDrawItem = TPxDrawItemEvent(this, &TPxComboBox::DoDrawItem);
  else
    list.OnDrawItem = {};
  const Integer width = std::max(FListWidth > 0 ? FListWidth : Width(), Width());
  list.HandleNeeded();
  // The window's frame comes on top of the rows.
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(list.Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(list.Handle(), GWL_EXSTYLE)));
  list.SetBounds(list.Left(), list.Top(), width,
                 std::min(FDropDownCount, FItems->Count()) * FItemHeight + frame.bottom - frame.top);
  list.BeforePopup();
  list.SetItemIndex(FItemIndex);
}

void TPxComboBox::PopupInput(TObject* sender, const String& value) {
  SetItemIndex(List().ItemIndex());
  TPxPopupEdit::PopupInput(sender, value);
}

void TPxComboBox::DoDrawItem(TObject* sender, Integer index, const TRect& rect, TPxItemState state) {
  if (OnDrawItem) OnDrawItem(sender, index, TRect(rect), state);
}

void TPxComboBox::DrawPreview(TCanvas& canvas, const TRect& rect) {
  canvas.Brush().SetColor(Color());
  canvas.FillRect(rect);
  if (FImages && IndexInRange(FItemIndex))
    FImages->Draw(canvas, rect.Left + 1, ClientHeight() / 2 - FImages->Height() / 2, FItemIndex, true);
  TPxPopupEdit::DrawPreview(canvas, rect);
}

void TPxComboBox::SelectStep(Integer index) {
  SetItemIndex(index);
  SetSelStart(0);
  SetSelLength(static_cast<Integer>(Text().size()));
}

void TPxComboBox::KeyDown(Word& key, TShiftState shift) {
  TPxPopupEdit::KeyDown(key, shift);
  if (shift.Contains(ssAlt) || (key != VK_UP && key != VK_DOWN)) return;
  const Integer last = FItems->Count() - 1;
  if (DroppedDown()) {
    const Integer hover = List().HoverIndex();
    if (key == VK_UP && hover > 0) SelectStep(hover - 1);
    if (key == VK_DOWN && hover < last) SelectStep(hover + 1);
    key = 0;
  } else if (!InplaceEditor()) {
    if (key == VK_UP && FItemIndex > 0) SelectStep(FItemIndex - 1);
    if (key == VK_DOWN && FItemIndex < last) SelectStep(FItemIndex + 1);
    key = 0;
  }
}

bool TPxComboBox::DoMouseWheel(TShiftState, Integer wheelDelta, TPoint) {
  if (InplaceEditor() || wheelDelta == 0) return true;
  if (DroppedDown()) {
    List().SetTopIndex(List().TopIndex() + (wheelDelta < 0 ? 1 : -1));
  } else if (wheelDelta < 0) {
    if (FItemIndex < FItems->Count() - 1) SelectStep(FItemIndex + 1);
  } else if (FItemIndex > 0) {
    SelectStep(FItemIndex - 1);
  }
  return true;
}

Cardinal TPxComboBox::TickCount() const {
  return GetTickCount();
}

bool TPxComboBox::MatchPrefix(const String& prefix) {
  if (prefix.empty()) {
    SetItemIndex(-1);
    TPxPopupEdit::Change();
    return false;
  }
  const auto comparisonText = [&](Integer i) {
    return FDisplayMode == dmValueList ? ItemValue(FItems->Get(i)) : FItems->Get(i);
  };
  Integer found = -1;
  for (Integer i = 0; i < FItems->Count() && found < 0; ++i)
    if (StartsWithText(comparisonText(i), prefix)) found = i;
  if (found < 0) return false;
  const Integer old = FItemIndex;
  SetItemIndex(found);
  if (FDisplayMode == dmDefault || FDisplayMode == dmValueList) {
    const String item = comparisonText(found);
    const String replaced = item.substr(0, prefix.size());
    if (Style() == dsDropDownList) {
      SetItemIndex(found);
      FFilter = replaced;
    } else {
      FSettingIndex = true;
      SetText(item);
      FSettingIndex = false;
      SetSelStart(static_cast<Integer>(prefix.size()));
      SetSelLength(static_cast<Integer>(item.size() - prefix.size()));
    }
  }
  if (found != old) {
    Click();
    if (OnSelect)
      DoSelect();
    else
      TPxPopupEdit::Change();
  }
  return true;
}

void TPxComboBox::KeyPress(Char& key) {
  TPxPopupEdit::KeyPress(key);
  if (key == 0) return;
  if (Style() == dsDropDown) {
    FFilter = Text();
  } else {
    const Cardinal now = TickCount();
    if (now - FLastTime >= FAutoCompleteDelay) FFilter.clear();
    FLastTime = now;
  }
  if (key == VK_TAB) {
    if (FAutoDropDown && DroppedDown()) SetDroppedDown(false);
    return;
  }
  if (key == VK_RETURN || key == VK_ESCAPE) return;
  if (key == VK_BACK) {
    if (!FAutoComplete) return;
    String text = Text();
    const Integer start = SelStart(), length = SelLength();
    if (Style() == dsDropDown && length > 0) {
      text.erase(static_cast<size_t>(start), static_cast<size_t>(length));
      SetText(text);
      SetSelStart(start);
      return;  // the edit window removes the character before the caret
    }
    if (Style() == dsDropDown && !text.empty()) {
      const size_t caret = std::min(static_cast<size_t>(start), text.size());
      const size_t from = CharacterStartBefore(text, caret);
      text = text.substr(0, from) + text.substr(std::min(text.size(), static_cast<size_t>(start + length)));
      SetText(text);
      SetSelStart(static_cast<Integer>(from));
      FFilter = text;
    } else if (!FFilter.empty()) {
      FFilter.erase(CharacterStartBefore(FFilter, FFilter.size()));
    }
    key = 0;
    TPxPopupEdit::Change();
    return;
  }
  if (FAutoDropDown) SetDroppedDown(true);
  if (!FAutoComplete) return;
  const String prefix = Style() == dsDropDown && SelLength() > 0
                            ? FFilter.substr(0, static_cast<size_t>(std::max(0, SelStart()))) + key
                            : FFilter + key;
  if (MatchPrefix(prefix)) key = 0;
}

// ---- Font combo box ----

void TFontPopup::Describe(TClassBuilder<TFontPopup>&) {}

void TFontPopup::DrawRowText(TCanvas& canvas, Integer index, const TRect& rect) {
  const TColor color = canvas.Font().Color();
  canvas.Font().SetName(Items().Get(index));
  canvas.Font().SetColor(color);
  TPxPopupList::DrawRowText(canvas, index, rect);
  canvas.Font().Assign(GetFont());
}

void TPxFontComboBox::Describe(TClassBuilder<TPxFontComboBox>&) {}

TPxFontComboBox::TPxFontComboBox(TComponent* owner) : TPxComboBox(owner) {
  if (Screen) Items().Assign(Screen->Fonts());
}

TPxPopupControl* TPxFontComboBox::NewPopup() {
  return new TFontPopup(this);
}

void TPxFontComboBox::PreparePopup() {
  TPxComboBox::PreparePopup();
  List().Items().Assign(Items());
}

void TPxFontComboBox::DrawPreview(TCanvas& canvas, const TRect& rect) {
  TPxComboBox::DrawPreview(canvas, rect);
  canvas.Font().SetName(Text());
  canvas.Font().SetHeight(-(rect.Height() - 2));
  canvas.Font().SetColor(GetFont()->Color());
  canvas.Brush().SetStyle(bsClear);
  TRect sample = rect;
  canvas.DrawText(u"Ab", sample, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  canvas.Font().Assign(GetFont());
}
