// The button group: a grid of equal buttons, one per item, laid out in rows
// that scroll vertically, with one selected button, hot and pressed states,
// hints per button and reordering by dragging; and the glass-style group
// on it, with a colour for each state, a glass gradient, captions of up to
// three lines and a height that follows its rows.
#pragma once

#include "ui/keptprops.h"
#include <memory>

#include "classes/collection.h"
#include "ui/controls.h"
#include "ui/imglist.h"
#include "winbar/graphutils.h"

enum TButtonDrawStateItem {
  bdsSelected,
  bdsHot,
  bdsFocused,
  bdsDown,
  bdsDragged,
  bdsInsertLeft,
  bdsInsertTop,
  bdsInsertRight,
  bdsInsertBottom
};
using TButtonDrawState = TSet<TButtonDrawStateItem>;

enum TGrpButtonOption { gboAllowReorder, gboFullSize, gboGroupStyle, gboShowCaptions };
using TGrpButtonOptions = TSet<TGrpButtonOption>;

using TGrpButtonEvent = TDelegate<void(TObject* Sender, Integer Index)>;
using TGrpButtonReorderEvent = TDelegate<void(TObject* Sender, Integer OldIndex, Integer NewIndex)>;
using TGrpButtonDrawEvent =
    TDelegate<void(TObject* Sender, Integer Index, TCanvas* Canvas, TRect Rect, TButtonDrawState State)>;
using TGrpButtonDrawIconEvent = TDelegate<void(TObject* Sender, Integer Index, TCanvas* Canvas, TRect Rect,
                                               TButtonDrawState State, Integer& TextOffset)>;

const TTypeInfo& DescribeType(TypeTag<TButtonDrawStateItem>);
const TTypeInfo& DescribeType(TypeTag<TButtonDrawState>);
const TTypeInfo& DescribeType(TypeTag<TGrpButtonOption>);
const TTypeInfo& DescribeType(TypeTag<TGrpButtonOptions>);
// Given with each property: other libraries' events share these signatures,
// so the types cannot be found by the value type alone.
const TTypeInfo& GrpButtonEventType();
const TTypeInfo& GrpButtonReorderEventType();
const TTypeInfo& DescribeType(TypeTag<TGrpButtonDrawEvent>);
const TTypeInfo& DescribeType(TypeTag<TGrpButtonDrawIconEvent>);

// The colour blend of two colours of any kind (system colours resolved).
TColor BlendColors(TColor a, TColor b, Integer alpha);
// Fills the rectangle with the glass gradient from `glassColor` at the top
// to `fillColor`, the upper `halfHeight` rows veiled in white.
void DrawGlassGradient(TCanvas& canvas, const TRect& rect, TColor glassColor, TColor fillColor, Integer halfHeight);
// The class library's luminance shifts on colours of any kind.
TColor ColorShadow(TColor color, Integer amount);
TColor ColorHighlight(TColor color, Integer amount);

// Where a button dragged from `dragged` lands when dropped beside the button
// at `target`: before it, or `after` it, as the insertion mark shows.
Integer DropTargetIndex(Integer dragged, Integer target, bool after);

class TButtonGroup;

class TGrpButtonItem : public TCollectionItem {
  KST_CLASS(TGrpButtonItem, TCollectionItem)
 public:
  explicit TGrpButtonItem(TCollection* collection);
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& value) { FHint = value; }
  // Whatever the program keeps with the button; not owned.
  TObject* Data() const { return FData; }
  void SetData(TObject* value) { FData = value; }
  String DisplayName() const override { return FCaption.empty() ? TCollectionItem::DisplayName() : FCaption; }
  void Assign(const TPersistent* source) override;
  TButtonGroup* ButtonGroup() const;
  TNotifyEvent OnClick;

 private:
  String FCaption;
  Integer FImageIndex = -1;
  String FHint;
  TObject* FData = nullptr;
};

class TGrpButtonItems : public TCollection {
  KST_CLASS(TGrpButtonItems, TCollection)
 public:
  explicit TGrpButtonItems(TButtonGroup* group = nullptr);
  TGrpButtonItem* Items(int index) const { return static_cast<TGrpButtonItem*>(TCollection::Items(index)); }
  TGrpButtonItem* Add() { return static_cast<TGrpButtonItem*>(TCollection::Add()); }
  TPersistent* GetOwner() const override;

 protected:
  void Update(TCollectionItem* item) override;
  void Notify(TCollectionItem* item, bool added) override;

 private:
  TButtonGroup* FGroup;
};

class TButtonGroup : public TCustomControl {
  KST_CLASS(TButtonGroup, TCustomControl)
 public:
  explicit TButtonGroup(TComponent* owner);
  ~TButtonGroup() override;

  TGrpButtonItems& Items() const { return *FItems; }
  TGrpButtonItems* GetItems() const { return FItems.get(); }
  void SetItems(TGrpButtonItems* value) { FItems->Assign(value); }
  Integer ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(Integer value);
  Integer ButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(Integer value);
  TGrpButtonOptions ButtonOptions() const { return FButtonOptions; }
  void SetButtonOptions(TGrpButtonOptions value);
  // The selected button, -1 for none; it only changes under gboGroupStyle.
  Integer ItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  TBevelKind BevelKind() const { return FBevelKind; }
  void SetBevelKind(TBevelKind value);
  TBevelEdges BevelEdges() const { return FBevelEdges; }
  void SetBevelEdges(TBevelEdges value);

  // Where a button stands in the client area now (scrolled).
  TRect GetButtonRect(Integer index) const;
  // The button under a client point, -1 for none.
  Integer IndexOfButtonAt(Integer x, Integer y) const;
  // Scrolls whole rows until the button shows; other indexes are ignored.
  void ScrollIntoView(Integer index);
  Integer ButtonsPerRowNow() const;
  Integer TopRow() const { return FTopRow; }
  // Whether the vertical scroll bar is shown.
  bool ScrollBarShown() const { return FScrollBarShown; }
  // The button the keyboard acts on: the one last moved to by a key, else
  // the selected one, else the first.
  Integer FocusIndex() const;

  TGrpButtonEvent OnButtonClicked;
  TGrpButtonReorderEvent OnReorderButton;
  TGrpButtonDrawEvent OnBeforeDrawButton;
  TGrpButtonDrawEvent OnAfterDrawButton;
  TGrpButtonDrawEvent OnDrawButton;

 protected:
  friend class TGrpButtonItems;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Paint() override;
  virtual void DrawButton(Integer index, TCanvas& canvas, TRect rect, TButtonDrawState state);
  // Runs the item's own click handler, or else OnButtonClicked.
  virtual void DoItemClicked(Integer index);
  // Recomputes the scroll range for the client height and shows or hides the bar.
  virtual void ResizeButtons();
  void Resize() override;
  // A reorder under the user's drag: the item moves, the selection follows it.
  virtual void MoveButton(Integer oldIndex, Integer newIndex);
  void HideScrollBar();
  void ItemsChanged();
  void ItemRemoved(TGrpButtonItem* item);
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  // Arrows, Home and End move the keyboard's button; Space and Enter click it.
  void KeyDown(Word& key, TShiftState shift) override;
  // The wheel scrolls by rows.
  bool DoMouseWheel(TShiftState shift, Integer wheelDelta, TPoint mousePos) override;
  void Notification(TComponent* component, TOperation operation) override;
  void Dispatch(TMessage& message) override;

 private:
  Integer RowCount() const;
  Integer VisibleRows() const;
  void SetTopRow(Integer row);
  void UpdateScrollInfo();
  void SetHot(Integer index);
  void InsertMarkAt(Integer x, Integer y, Integer& target, TButtonDrawStateItem& mark) const;

  std::unique_ptr<TGrpButtonItems> FItems;
  Integer FButtonWidth = 24;
  Integer FButtonHeight = 24;
  TGrpButtonOptions FButtonOptions{gboShowCaptions};
  Integer FItemIndex = -1;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  TBorderStyle FBorderStyle = bsSingle;
  TBevelKind FBevelKind = bkNone;
  TBevelEdges FBevelEdges{beLeft, beTop, beRight, beBottom};
  Integer FTopRow = 0;
  bool FScrollBarShown = false;
  Integer FFocusIndex = -1;  // moved to by a key
  Integer FHotIndex = -1;   // under the mouse
  Integer FDownIndex = -1;  // pressed with the left button
  Integer FDragIndex = -1;  // being dragged to a new place
  TPoint FDownPoint;
  Integer FDropIndex = -1;  // where a drag would drop
  TButtonDrawStateItem FDropMark = bdsInsertLeft;
};

class TButtonGroupEx : public TButtonGroup {
  KST_CLASS(TButtonGroupEx, TButtonGroup)
 public:
  explicit TButtonGroupEx(TComponent* owner);

  const String& About() const { return FAbout; }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool GlassButtonStyle() const { return FGlassButtonStyle; }
  void SetGlassButtonStyle(bool value);
  TColor GlassButtonColor() const { return FGlassButtonColor; }
  void SetGlassButtonColor(TColor value);
  TColor EdgeButtonColor() const { return FEdgeButtonColor; }
  void SetEdgeButtonColor(TColor value);
  TColor HotButtonColor() const { return FHotButtonColor; }
  void SetHotButtonColor(TColor value);
  TColor RegularButtonColor() const { return FRegularButtonColor; }
  void SetRegularButtonColor(TColor value);
  TColor SelectedButtonColor() const { return FSelectedButtonColor; }
  void SetSelectedButtonColor(TColor value);
  Byte TextIndent() const { return FTextIndent; }
  void SetTextIndent(Byte value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  // The button of the last mouse press of any button, -1 when it hit none
  // (and before the first press).
  Integer HotButtonIndex() const { return FHotButton; }

  TGrpButtonDrawEvent OnDrawText;
  TGrpButtonDrawIconEvent OnDrawIcon;

  static constexpr TColor kInitialHotButtonColor = 0xEFD3C6;

 protected:
  void Paint() override;
  void DrawButton(Integer index, TCanvas& canvas, TRect rect, TButtonDrawState state) override;
  void DoItemClicked(Integer index) override;
  void ResizeButtons() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  // The height an auto-sized group needs for its rows.
  Integer RowsHeight() const;
  Integer Allowance() const;

 private:
  String FAbout;
  TColor FRegularButtonColor;
  TColor FSelectedButtonColor = clInfoBk;
  TColor FHotButtonColor = kInitialHotButtonColor;
  Integer FHotButton = 0;
  Byte FTextIndent = 5;
  TColor FEdgeButtonColor = clMedGray;
  bool FGlassButtonStyle = false;
  TColor FGlassButtonColor = clWhite;
  bool FWordWrap = false;
  bool FAutoSize = false;
  bool FSizing = false;  // setting the height of the rows
};

// The version banner of the window bar's controls.
extern const char16_t kWinbarAbout[];
