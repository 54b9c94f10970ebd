// The tool box: a designer-style palette of collapsible categories, each a
// bold header with an expand glyph over its items (image and caption).
// Clicking a header folds or unfolds it; clicking an item selects it. The
// content scrolls vertically. Categories and items are read from forms.
#pragma once

#include "ui/winapi.h"

#include <memory>
#include <vector>

#include "classes/collection.h"
#include "panelkit/navlayout.h"
#include "panelkit/win32/vertscroll.h"
#include "ui/imglist.h"

enum TPxCategoriesStyle { casDefault, casBottomLine };
const TTypeInfo& DescribeType(TypeTag<TPxCategoriesStyle>);

class TPxToolBox;
class TPxToolBoxCategoryItem;
class TPxToolBoxCategories;

class TPxToolBoxItem : public TCollectionItem {
  KST_CLASS(TPxToolBoxItem, TCollectionItem)
 public:
  explicit TPxToolBoxItem(TCollection* collection);
  ~TPxToolBoxItem() override;
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer value);
  Integer Tag() const { return FTag; }
  void SetTag(Integer value) { FTag = value; }
  TObject* Data() const { return FData; }
  void SetData(TObject* value) { FData = value; }
  // The category whose list holds the item; null for a category itself.
  TPxToolBoxCategoryItem* Category() const { return FCategory; }
  virtual TPxToolBox* ToolBox() const;
  void Assign(const TPersistent* source) override;
  virtual void Refresh();

 private:
  String FCaption;
  TPxToolBoxCategoryItem* FCategory = nullptr;
  TObject* FData = nullptr;
  Integer FImageIndex = -1;
  Integer FTag = 0;
};

class TPxToolBoxItems : public TCollection {
  KST_CLASS(TPxToolBoxItems, TCollection)
 public:
  explicit TPxToolBoxItems(TPxToolBoxCategoryItem* owner = nullptr);
  TPxToolBoxItem* Items(int index) const { return static_cast<TPxToolBoxItem*>(TCollection::Items(index)); }
  TPxToolBoxItem* Add();
  TPersistent* GetOwner() const override;
  TPxToolBoxCategoryItem* Category() const { return FOwner; }

 protected:
  void Notify(TCollectionItem* item, bool added) override;

 private:
  TPxToolBoxCategoryItem* FOwner;
};

class TPxToolBoxCategoryItem : public TPxToolBoxItem {
  KST_CLASS(TPxToolBoxCategoryItem, TPxToolBoxItem)
 public:
  explicit TPxToolBoxCategoryItem(TCollection* collection);
  ~TPxToolBoxCategoryItem() override;
  bool Expanded() const { return FExpanded; }
  void SetExpanded(bool value);
  TPxToolBoxItems& Items() const { return *FItems; }
  TPxToolBoxItems* GetItems() const { return FItems.get(); }
  void SetItems(const TPxToolBoxItems* value) { FItems->Assign(value); }
  TPxToolBox* ToolBox() const override;
  void Assign(const TPersistent* source) override;

 private:
  bool FExpanded = true;
  std::unique_ptr<TPxToolBoxItems> FItems;
};

class TPxToolBoxCategories : public TCollection {
  KST_CLASS(TPxToolBoxCategories, TCollection)
 public:
  explicit TPxToolBoxCategories(TPxToolBox* owner = nullptr);
  TPxToolBoxCategoryItem* Items(int index) const {
    return static_cast<TPxToolBoxCategoryItem*>(TCollection::Items(index));
  }
  TPxToolBoxCategoryItem* Add();
  TPersistent* GetOwner() const override;
  TPxToolBox* ToolBox() const { return FOwner; }

 protected:
  void Notify(TCollectionItem* item, bool added) override;

 private:
  TPxToolBox* FOwner;
};

class TPxToolBox : public TPxVertScrollControl {
  KST_CLASS(TPxToolBox, TPxVertScrollControl)
 public:
  explicit TPxToolBox(TComponent* owner);
  ~TPxToolBox() override;

  TPxToolBoxCategories& Categories() const { return *FCategories; }
  TPxToolBoxCategories* GetCategories() const { return FCategories.get(); }
  void SetCategories(const TPxToolBoxCategories* value) { FCategories->Assign(value); }
  TPxCategoriesStyle CategoriesStyle() const { return FCategoriesStyle; }
  void SetCategoriesStyle(TPxCategoriesStyle value);
  // Watched: a freed image list is let go of.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  Integer ItemHeight() const { return FItemHeight; }
  void SetItemHeight(Integer value);
  TPxToolBoxItem* SelectedItem() const { return FSelectedItem; }
  // Fires OnSelectItem even when the value is the same.
  void SetSelectedItem(TPxToolBoxItem* value);
  TPxToolBoxItem* HoverItem() const { return FHoverItem; }
  TPxToolBoxItem* DownItem() const { return FDownItem; }

  // A category header or an item; null for none.
  TPxToolBoxItem* GetItemAtPos(Integer x, Integer y) const;
  // Empty for an entry that is not laid out.
  TRect GetItemRect(const TPxToolBoxItem* item) const;
  void RefreshItem(const TPxToolBoxItem* item);
  virtual void UpdateScrollRange();
  // Moves what lies below a category that has just been folded or unfolded.
  void ScrollCategory(const TPxToolBoxCategoryItem* category, bool expanded);
  // Forgets an entry on its way out.
  void EntryRemoved(const TCollectionItem* entry);

  TNotifyEvent OnSelectItem;

 protected:
  void CreateWnd() override;
  void Paint() override;
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseLeave(TMessage& message) override;
  bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
  bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;
  virtual void DoSelectItem();
  virtual void DrawCategoryBackground(TCanvas& canvas, const TRect& rect);
  virtual void DrawCategory(TCanvas& canvas, const TRect& rect, const TPxToolBoxCategoryItem* category);
  virtual void DrawItemFrame(TCanvas& canvas, const TRect& rect, const TPxToolBoxItem* item);
  virtual void DrawItem(TCanvas& canvas, const TRect& rect, const TPxToolBoxItem* item);

 private:
  std::vector<TToolBoxCategoryShape> Shapes() const;
  void SetScrollRange();

  std::unique_ptr<TPxToolBoxCategories> FCategories;
  std::unique_ptr<TBitmap> FCollapseGlyph;
  std::unique_ptr<TBitmap> FExpandGlyph;
  TCustomImageList* FImages = nullptr;
  Integer FItemHeight = 20;
  TPxToolBoxItem* FSelectedItem = nullptr;
  TPxCategoriesStyle FCategoriesStyle = casDefault;
  TPxToolBoxItem* FDownItem = nullptr;
  TPxToolBoxItem* FHoverItem = nullptr;
};
