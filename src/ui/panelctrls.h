// Panels that place their controls themselves: the grid panel (rows and
// columns of cells), the flow panel (controls one after another, wrapped)
// and the group of category panels (stacked panels that fold to a header).
#pragma once

#include "classes/collection.h"
#include "ui/extctrls.h"
#include "ui/forms.h"

enum TSizeStyle { ssAbsolute, ssPercent, ssAuto };
enum TExpandStyle { emAddRows, emAddColumns, emFixedSize };
enum TFlowStyle {
  fsLeftRightTopBottom,
  fsRightLeftTopBottom,
  fsLeftRightBottomTop,
  fsRightLeftBottomTop,
  fsTopBottomLeftRight,
  fsBottomTopLeftRight,
  fsTopBottomRightLeft,
  fsBottomTopRightLeft
};
const TTypeInfo& DescribeType(TypeTag<TSizeStyle>);
const TTypeInfo& DescribeType(TypeTag<TExpandStyle>);
const TTypeInfo& DescribeType(TypeTag<TFlowStyle>);

class TGridPanel;

// A column or row of a grid panel: a fixed size, a share of what the fixed
// ones leave, or the size of its largest control.
class TCellItem : public TCollectionItem {
  KST_CLASS(TCellItem, TCollectionItem)
 public:
  explicit TCellItem(TCollection* collection);
  TSizeStyle SizeStyle() const { return FSizeStyle; }
  void SetSizeStyle(TSizeStyle value);
  double Value() const { return FValue; }
  void SetValue(double value);
  void Assign(const TPersistent* source) override;

 private:
  TSizeStyle FSizeStyle = ssPercent;
  double FValue = 0;
};

class TColumnItem : public TCellItem {
  KST_CLASS(TColumnItem, TCellItem)
 public:
  using TCellItem::TCellItem;
};
class TRowItem : public TCellItem {
  KST_CLASS(TRowItem, TCellItem)
 public:
  using TCellItem::TCellItem;
};

class TCellCollection : public TOwnedCollection {
  KST_CLASS(TCellCollection, TOwnedCollection)
 public:
  TCellCollection(TGridPanel* panel, const TClassInfo& itemClass);
  TCellItem* Items(int index) const { return static_cast<TCellItem*>(TCollection::Items(index)); }
  // The sizes of the cells within the length.
  std::vector<Integer> Sizes(Integer length) const;

 protected:
  void Update(TCollectionItem* item) override;
};
class TColumnCollection : public TCellCollection {
  KST_CLASS(TColumnCollection, TCellCollection)
 public:
  explicit TColumnCollection(TGridPanel* panel = nullptr) : TCellCollection(panel, TColumnItem::StaticClass()) {}
};
class TRowCollection : public TCellCollection {
  KST_CLASS(TRowCollection, TCellCollection)
 public:
  explicit TRowCollection(TGridPanel* panel = nullptr) : TCellCollection(panel, TRowItem::StaticClass()) {}
};

// Where one control of a grid panel stands.
class TControlItem : public TCollectionItem {
  KST_CLASS(TControlItem, TCollectionItem)
 public:
  explicit TControlItem(TCollection* collection);
  ~TControlItem() override;
  TControl* Control() const { return FControl; }
  void SetControl(TControl* control);
  Integer Column = 0, Row = 0, ColumnSpan = 1, RowSpan = 1;
  void Assign(const TPersistent* source) override;
  // The grid panel forgets a control that goes.
  void ControlGone() { FControl = nullptr; }

 private:
  TControl* FControl = nullptr;
};

class TControlCollection : public TOwnedCollection {
  KST_CLASS(TControlCollection, TOwnedCollection)
 public:
  explicit TControlCollection(TGridPanel* panel = nullptr);
  TControlItem* Items(int index) const { return static_cast<TControlItem*>(TCollection::Items(index)); }

 protected:
  void Update(TCollectionItem* item) override;
};

class TGridPanel : public TPanel {
  KST_CLASS(TGridPanel, TPanel)
 public:
  explicit TGridPanel(TComponent* owner);
  ~TGridPanel() override;
  TColumnCollection* GetColumnCollection() const { return FColumns.get(); }
  void SetColumnCollection(const TColumnCollection* value);
  TRowCollection* GetRowCollection() const { return FRows.get(); }
  void SetRowCollection(const TRowCollection* value);
  TControlCollection* GetControlCollection() const { return FControlItems.get(); }
  void SetControlCollection(const TControlCollection* value);
  TExpandStyle ExpandStyle = emAddRows;
  // The rectangle of a cell in the client area.
  TRect CellRect(Integer column, Integer row);

 protected:
  void AlignControls(TControl* control, TRect& rect) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TColumnCollection> FColumns;
  std::unique_ptr<TRowCollection> FRows;
  std::unique_ptr<TControlCollection> FControlItems;
};

class TFlowPanel : public TPanel {
  KST_CLASS(TFlowPanel, TPanel)
 public:
  explicit TFlowPanel(TComponent* owner);
  bool AutoWrap() const { return FAutoWrap; }
  void SetAutoWrap(bool value);
  TFlowStyle FlowStyle() const { return FFlowStyle; }
  void SetFlowStyle(TFlowStyle value);

 protected:
  void AlignControls(TControl* control, TRect& rect) override;

 private:
  bool FAutoWrap = true;
  TFlowStyle FFlowStyle = fsLeftRightTopBottom;
};

// A panel of a category panel group: a header with its caption and a
// chevron, and below it the panel's controls unless it is folded. The header
// lies outside the client area, so the controls count from below it as forms
// store them.
class TCategoryPanel : public TPanel {
  KST_CLASS(TCategoryPanel, TPanel)
 public:
  explicit TCategoryPanel(TComponent* owner);
  bool Collapsed() const { return FCollapsed; }
  void SetCollapsed(bool value);
  // The height when unfolded (the header's when folded).
  Integer ExpandedHeight() const { return FExpandedHeight; }
  void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
  Integer HeaderHeight() const;
  TNotifyEvent OnCollapse, OnExpand;

 protected:
  void Loaded() override;
  void Dispatch(TMessage& message) override;
  void Paint() override;

 private:
  void PaintHeader();
  bool FCollapsed = false;
  Integer FExpandedHeight = 200;
};

class TCategoryPanelGroup : public TScrollBox {
  KST_CLASS(TCategoryPanelGroup, TScrollBox)
 public:
  explicit TCategoryPanelGroup(TComponent* owner);
  ~TCategoryPanelGroup() override;
  Integer HeaderHeight = 24;
  TColor ChevronColor = clBlack, GradientBaseColor = clWhite, GradientColor = clSilver;
  TAlignment HeaderAlignment = taLeftJustify;
  TFont* GetHeaderFont() const { return FHeaderFont.get(); }
  void SetHeaderFont(const TFont* font);
  // The panels from top to bottom.
  std::vector<TCategoryPanel*> Panels() const;

 protected:
  void Loaded() override;

 private:
  std::unique_ptr<TFont> FHeaderFont;
};

void RegisterPanelControlClasses(TClassRegistry& registry);
