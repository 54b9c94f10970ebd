// The path control: a breadcrumb bar showing the chain of nodes from the
// top level down to the selected node, after a root button. A click on a
// segment's text cuts the path back to it; a segment's drop-down part (or
// the root) lists the children to choose from.
#pragma once

#include "ui/winapi.h"

#include <memory>

#include "panelkit/pxclasses.h"
#include "panelkit/win32/collection.h"
#include "ui/imglist.h"
#include "ui/menus.h"

enum TPathButtonStyle { bsDefault, bsOffice2007 };
enum TPathItemPart { pipTitle, pipButton };
enum TPathItemStateItem { psButtonDown, psButtonHover, psDown, psTitleHover };
using TPathItemState = TSet<TPathItemStateItem>;
const TTypeInfo& DescribeType(TypeTag<TPathButtonStyle>);

class TPxPathNode : public TPxTreeNode {
 public:
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer value) { FImageIndex = value; }
  TPathItemState State() const { return FState; }

 private:
  Integer FImageIndex = -1;
  TPathItemState FState;
};

class TPxPathNodes : public TPxTreeNodes {
 public:
  TPxPathNode* Item(Integer index) const { return static_cast<TPxPathNode*>(Node(index)); }
  TPxPathNode* Add(TPxPathNode* parent, const String& text);

 protected:
  std::unique_ptr<TPxTreeNode> NewNode() const override { return std::make_unique<TPxPathNode>(); }
};

using TNodeNotifyEvent = TDelegate<void(TObject* Sender, TPxPathNode* Node)>;
const TMethodTypeInfo& NodeNotifyEventType();
const TTypeInfo& DescribeType(TypeTag<TNodeNotifyEvent>);

class TPxPathControl : public TPxCollectionControl {
  KST_CLASS(TPxPathControl, TPxCollectionControl)
 public:
  static constexpr Integer kRootWidth = 32;

  explicit TPxPathControl(TComponent* owner);
  ~TPxPathControl() override;

  TPathButtonStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TPathButtonStyle value);
  bool EnableVisualStyles() const { return FEnableVisualStyles; }
  void SetEnableVisualStyles(bool value);
  // Watched: a freed image list is let go of.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  TPxPathNodes& Items() const { return *FItems; }
  TPxPathNode* Selected() const { return FSelected; }
  void SetSelected(TPxPathNode* value);
  TPxPathNode* HoverItem() const { return FHoverItem; }
  TPxPathNode* DownItem() const { return FDownItem; }
  Integer FirstItem() const { return FFirstItem; }
  TPopupMenu& Popup() const { return *FPopup; }

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  virtual Integer GetButtonWidth() const;
  virtual Integer GetItemWidth(const TPxPathNode* node);
  TPxPathNode* GetItemAtPos(Integer x, Integer y);
  TPxPathNode* GetItemAtPos(Integer x, Integer y, TPathItemPart& part);
  TRect GetItemRect(const TPxPathNode* item);
  TRect GetRootItemRect() const;
  void RefreshItem(const TPxPathNode* item);
  // Fills the menu with the node's children (the top level for none).
  void BuildMenu(TPxPathNode* node);

  TNodeNotifyEvent OnItemMouseMove;
  TNodeNotifyEvent OnPopup;
  TNotifyEvent OnSelect;

 protected:
  void Paint() override;
  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseLeave(TMessage& message) override;
  virtual void DoItemMouseMove(TPxPathNode* node);
  virtual void NodeDeleted(TPxTreeNodes* sender, TPxTreeNode* node);
  virtual void DoPopup(TPxPathNode* node);
  virtual void DoSelect();

 private:
  // The selected node's ancestor at the level (the node itself at its own).
  TPxPathNode* PathNode(Integer level) const;
  void RecalcFirstItem();
  void DrawFace(TCanvas& canvas, const TRect& rect, Integer state);
  void DrawArrow(TCanvas& canvas, const TRect& part, bool down);
  void PressRoot();
  void PressItem(Integer x, Integer y);
  void MenuItemClick(TObject* sender);
  void SetRootHover(bool value);

  bool FButtonDown = false;
  TPathButtonStyle FButtonStyle = bsDefault;
  TPxPathNode* FDownItem = nullptr;
  bool FFirstClick = true;
  Integer FFirstItem = 0;
  TPxPathNode* FHoverItem = nullptr;
  TPathItemPart FHoverItemPart = pipTitle;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TPxPathNodes> FItems;
  TPxPathNode* FOldDownItem = nullptr;
  TPopupMenu* FPopup = nullptr;
  bool FRootItemDown = false;
  bool FRootItemHover = false;
  TPxPathNode* FSelected = nullptr;
  bool FEnableVisualStyles = true;
  Integer FUpdateCount = 0;
  bool FDestroying = false;
};
