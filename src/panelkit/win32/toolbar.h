// The toolbar: a half-glass bar that lays out tool items in a group from
// the left edge and a group from the right edge, follows the item under the
// pointer and the pressed one, and fires an item's click. An item leaves
// its width and its look to descendants.
#pragma once

#include "ui/winapi.h"

#include <memory>
#include <vector>

#include "panelkit/win32/collection.h"
#include "ui/imglist.h"

enum TPxToolbarItemPosition { tipLeft, tipRight };
const TTypeInfo& DescribeType(TypeTag<TPxToolbarItemPosition>);

class TPxToolbar;
class TPxToolbarItems;

class TPxToolItem : public TComponent {
  KST_CLASS(TPxToolItem, TComponent)
 public:
  // Painting states, added together.
  static constexpr Integer kStateDown = 1;
  static constexpr Integer kStateHover = 2;

  explicit TPxToolItem(TComponent* owner);
  ~TPxToolItem() override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  TPxToolbarItemPosition Position() const { return FPosition; }
  void SetPosition(TPxToolbarItemPosition value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  Integer Index() const;
  TPxToolbarItems* List() const { return FItems; }
  TNotifyEvent OnClick;

  // Nothing in a plain item: descendants give a width and a look.
  virtual void MeasureItem(TSize& size);
  virtual void PaintItem(TCanvas& canvas, const TRect& rect, Integer state);
  virtual void DoClick();

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

 private:
  friend class TPxToolbarItems;
  String FCaption;
  TPxToolbarItems* FItems = nullptr;
  TPxToolbarItemPosition FPosition = tipLeft;
  bool FVisible = true;
};

class TPxToolbarItems : public TPersistent {
  KST_CLASS(TPxToolbarItems, TPersistent)
 public:
  explicit TPxToolbarItems(TPxToolbar* toolbar = nullptr);
  ~TPxToolbarItems() override;
  TPxToolbarItems(const TPxToolbarItems&) = delete;
  TPxToolbarItems& operator=(const TPxToolbarItems&) = delete;

  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TPxToolItem* Items(Integer index) const;
  TPxToolbar* Toolbar() const { return FToolbar; }
  // A plain item owned by the toolbar, appended.
  TPxToolItem* Add();
  void AddItem(TPxToolItem* item);
  void Clear();
  Integer IndexOf(const TPxToolItem* item) const;
  void Move(Integer currentIndex, Integer newIndex);
  void Remove(TPxToolItem* item);

 private:
  TPxToolbar* FToolbar;
  std::vector<TPxToolItem*> FItems;
};

class TPxToolbar : public TPxCollectionControl {
  KST_CLASS(TPxToolbar, TPxCollectionControl)
 public:
  // Where the left group starts and the right group ends, from the edges.
  static constexpr Integer kGroupInset = 18;

  explicit TPxToolbar(TComponent* owner);
  ~TPxToolbar() override;

  // Watched: a freed image list is let go of.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  TPxToolbarItems* GetItems() const { return FItems.get(); }
  // The toolbar keeps its own list: assigning another changes nothing.
  void SetItems(const TPxToolbarItems*) {}
  TPxToolItem* DownItem() const { return FDownItem; }
  void SetDownItem(TPxToolItem* item);
  TPxToolItem* HoverItem() const { return FHoverItem; }
  void SetHoverItem(TPxToolItem* item);

  TPxToolItem* GetItemAtPos(Integer x, Integer y) const;
  // Empty for an item that is not laid out (invisible or not on the bar).
  TRect GetItemRect(const TPxToolItem* item) const;
  Integer IndexOf(const TPxToolItem* item) const { return FItems->IndexOf(item); }
  void RefreshItem(const TPxToolItem* item);
  // Forgets an item leaving the list.
  void ItemRemoved(const TPxToolItem* item);

  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  TComponent* GetChildOwner() override { return nullptr; }
  void SetChildOrder(TComponent*, int) override {}

 protected:
  void Paint() override;
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseLeave(TMessage& message) override;

 private:
  struct TPlacedItem {
    TPxToolItem* Item;
    TRect Rect;
  };
  // Left group first, then the right group from the right edge inwards.
  std::vector<TPlacedItem> Layout() const;

  TPxToolItem* FHoverItem = nullptr;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TPxToolbarItems> FItems;
  TPxToolItem* FDownItem = nullptr;
};
