// The cool bar, a bar of bands that each hold one control, drawn and laid
// out by the library; and the combo box whose items carry images.
#pragma once

#include <memory>

#include "classes/collection.h"
#include "ui/controls.h"
#include "ui/imglist.h"
#include "ui/stdctrls.h"
#include "ui/toolbar.h"

class TCoolBar;

class TCoolBand : public TCollectionItem {
  KST_CLASS(TCoolBand, TCollectionItem)
 public:
  explicit TCoolBand(TCollection* collection);
  ~TCoolBand() override;
  TWinControl* Control() const { return FControl; }
  void SetControl(TWinControl* control);
  String Text;
  Integer ImageIndex = -1, MinHeight = 25, MinWidth = 0, Width = 0;
  bool Break = true, FixedSize = false, Visible = true, HorizontalOnly = false, FixedBackground = true;
  TColor Color = clBtnFace;
  bool ParentColor = true;
  String DisplayName() const override { return Text; }

 private:
  TWinControl* FControl = nullptr;
};

class TCoolBands : public TCollection {
  KST_CLASS(TCoolBands, TCollection)
 public:
  explicit TCoolBands(TCoolBar* bar = nullptr);
  TCoolBand* Items(int index) const { return static_cast<TCoolBand*>(TCollection::Items(index)); }
  TPersistent* GetOwner() const override;

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TCoolBar* FBar;
};

class TCoolBar : public TCustomControl {
  KST_CLASS(TCoolBar, TCustomControl)
 public:
  explicit TCoolBar(TComponent* owner);
  ~TCoolBar() override;
  TCoolBands& Bands() const { return *FBands; }
  TCoolBands* GetBands() const { return FBands.get(); }
  void SetBands(const TCoolBands* bands);
  TFormBorderStyle BandBorderStyle = bsSingle;
  TEdgeBorders EdgeBorders{ebLeft, ebTop, ebRight, ebBottom};
  TEdgeStyle EdgeInner = esRaised, EdgeOuter = esLowered;
  bool AutoSize = false, FixedSize = false, FixedOrder = false, ShowText = true, Vertical = false;
  TCustomImageList* Images = nullptr;
  TNotifyEvent OnChange;
  // The rectangle of a band (its grip included), in client coordinates.
  TRect BandRect(int index) const;
  // A band's control is notified or removed: the bands are laid out again.
  void BandsChanged();

 protected:
  void Paint() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TCoolBands> FBands;
};

enum TComboBoxExStyle { csExDropDown, csExSimple, csExDropDownList };
const TTypeInfo& DescribeType(TypeTag<TComboBoxExStyle>);

class TComboExItem : public TCollectionItem {
  KST_CLASS(TComboExItem, TCollectionItem)
 public:
  explicit TComboExItem(TCollection* collection) : TCollectionItem(collection) {}
  String Caption;
  Integer ImageIndex = -1, SelectedImageIndex = -1, OverlayImageIndex = -1, Indent = 0;
  String DisplayName() const override { return Caption; }
};

class TComboBoxEx;
class TComboExItems : public TCollection {
  KST_CLASS(TComboExItems, TCollection)
 public:
  explicit TComboExItems(TComboBoxEx* combo = nullptr);
  TComboExItem* Items(int index) const { return static_cast<TComboExItem*>(TCollection::Items(index)); }
  TPersistent* GetOwner() const override;

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TComboBoxEx* FCombo;
};

// A combo box whose items are records with images; the list shows their captions.
class TComboBoxEx : public TComboBox {
  KST_CLASS(TComboBoxEx, TComboBox)
 public:
  explicit TComboBoxEx(TComponent* owner);
  ~TComboBoxEx() override;
  TComboExItems* GetItemsEx() const { return FItemsEx.get(); }
  void SetItemsEx(const TComboExItems* items);
  TComboBoxExStyle StyleEx() const { return FStyleEx; }
  void SetStyleEx(TComboBoxExStyle value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* images);
  void ItemsExChanged();
  TNotifyEvent OnBeginEdit, OnEndEdit;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TComboExItems> FItemsEx;
  TComboBoxExStyle FStyleEx = csExDropDown;
  TCustomImageList* FImages = nullptr;
};

void RegisterCoolBarClasses(TClassRegistry& registry);
