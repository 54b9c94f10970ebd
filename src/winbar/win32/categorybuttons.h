// The category buttons list: collapsible categories one after another, each
// with a caption strip and a grid of buttons, in the manner of a tool
// palette. The user selects, clicks, moves items by dragging, walks them with
// the keys and renames them in place.
#pragma once

#include <memory>

#include "classes/collection.h"
#include "ui/controls.h"
#include "ui/imglist.h"
#include "ui/stdctrls.h"
#include "winbar/catlayout.h"
#include "winbar/win32/buttongroup.h"

enum TCatButtonFlow { cbfVertical, cbfHorizontal };
enum TCatButtonOption {
  boAllowReorder,
  boAllowCopyingButtons,
  boFullSize,
  boGradientFill,
  boShowCaptions,
  boVerticalCategoryCaptions,
  boBoldCaptions,
  boUsePlusMinus,
  boCaptionOnlyBorder
};
using TCatButtonOptions = TSet<TCatButtonOption>;
enum TGradientDirection { gdHorizontal, gdVertical };

class TBaseItem;
class TButtonItem;
class TButtonCategory;
class TCategoryButtonsEx;

using TCatButtonEvent = TDelegate<void(TObject* Sender, TButtonItem* Button)>;
using TCatButtonCategoryEvent = TDelegate<void(TObject* Sender, TButtonCategory* Category)>;
using TCatButtonReorderEvent = TDelegate<void(TObject* Sender, TButtonItem* Button, TButtonCategory* SourceCategory,
                                              TButtonCategory* TargetCategory)>;
using TCategoryReorderEvent =
    TDelegate<void(TObject* Sender, TButtonCategory* SourceCategory, TButtonCategory* TargetCategory)>;
using TCatButtonCopyEvent = TDelegate<void(TObject* Sender, TButtonItem* SourceButton, TButtonItem* CopiedButton)>;
using TCatButtonEditingEvent = TDelegate<void(TObject* Sender, TBaseItem* Item, bool& AllowEdit)>;
using TCatButtonEditedEvent = TDelegate<void(TObject* Sender, TBaseItem* Item, String& S)>;
using TCatButtonCancelEditEvent = TDelegate<void(TObject* Sender, TBaseItem* Item)>;
using TCatButtonDrawEvent =
    TDelegate<void(TObject* Sender, TButtonItem* Button, TCanvas* Canvas, TRect Rect, TButtonDrawState State)>;

const TTypeInfo& DescribeType(TypeTag<TCatButtonFlow>);
const TTypeInfo& DescribeType(TypeTag<TCatButtonOption>);
const TTypeInfo& DescribeType(TypeTag<TCatButtonOptions>);
const TTypeInfo& DescribeType(TypeTag<TGradientDirection>);
const TTypeInfo& DescribeType(TypeTag<TCatButtonEvent>);
const TTypeInfo& DescribeType(TypeTag<TCatButtonCategoryEvent>);
const TTypeInfo& DescribeType(TypeTag<TCatButtonReorderEvent>);
const TTypeInfo& DescribeType(TypeTag<TCategoryReorderEvent>);
const TTypeInfo& DescribeType(TypeTag<TCatButtonCopyEvent>);
const TTypeInfo& DescribeType(TypeTag<TCatButtonEditingEvent>);
const TTypeInfo& DescribeType(TypeTag<TCatButtonEditedEvent>);
const TTypeInfo& DescribeType(TypeTag<TCatButtonCancelEditEvent>);
const TTypeInfo& DescribeType(TypeTag<TCatButtonDrawEvent>);

class TBaseItem : public TCollectionItem {
  KST_CLASS(TBaseItem, TCollectionItem)
 public:
  explicit TBaseItem(TCollection* collection);
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);
  String DisplayName() const override { return FCaption.empty() ? TCollectionItem::DisplayName() : FCaption; }
  // The control whose list holds the item, nil for none.
  TCategoryButtonsEx* CategoryButtons() const;
  virtual TRect Bounds() const { return Rect(-1, -1, -1, -1); }
  virtual void ScrollIntoView() {}
  // Starts renaming the item in place; whether an edit box is open.
  bool EditText();
  void EndEdit(bool cancel);

 private:
  String FCaption;
};

// The image indexes, hint, tag and spacing buttons and categories share.
struct TItemImages {
  Integer ImageIndex = -1;
  Integer SecondImageIndex = -1;
  Integer ThirdImageIndex = -1;
  Integer FourthImageIndex = -1;
  Integer FifthImageIndex = -1;
  Integer ImageSpacing = 1;
  // Those of the five below `count`, in order.
  std::vector<Integer> Valid(Integer count) const;
};

class TButtonItem : public TBaseItem, public TItemImages {
  KST_CLASS(TButtonItem, TBaseItem)
 public:
  explicit TButtonItem(TCollection* collection);
  TButtonCategory* Category() const;
  TRect Bounds() const override;
  void ScrollIntoView() override;
  void Assign(const TPersistent* source) override;
  const String& Hint() const { return FHint; }
  void SetHint(const String& value) { FHint = value; }
  Integer Tag() const { return FTag; }
  void SetTag(Integer value) { FTag = value; }
  void* Data() const { return FData; }
  void SetData(void* value) { FData = value; }
  TNotifyEvent OnClick;

 private:
  String FHint;
  Integer FTag = 0;
  void* FData = nullptr;
};

class TItemCollection : public TCollection {
  KST_CLASS(TItemCollection, TCollection)
 public:
  TItemCollection(TCategoryButtonsEx* control, const TClassInfo& itemClass)
      : TCollection(itemClass), FCategoryButtons(control) {}
  TCategoryButtonsEx* CategoryButtons() const { return FCategoryButtons; }

 protected:
  void Notify(TCollectionItem* item, bool added) override;

 private:
  TCategoryButtonsEx* FCategoryButtons;
};

class TButtonCollection : public TItemCollection {
  KST_CLASS(TButtonCollection, TItemCollection)
 public:
  explicit TButtonCollection(TButtonCategory* category = nullptr);
  TButtonCollection(TButtonCategory* category, TCategoryButtonsEx* control);
  TButtonCategory* Category() const { return FCategory; }
  TButtonItem* Items(int index) const { return static_cast<TButtonItem*>(TCollection::Items(index)); }
  TButtonItem* Add() { return static_cast<TButtonItem*>(TCollection::Add()); }
  // Puts `item` (a new one when nil) at `index` (the end when negative).
  TButtonItem* AddItem(TButtonItem* item, Integer index);
  TPersistent* GetOwner() const override;

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TButtonCategory* FCategory;
};

class TButtonCategory : public TBaseItem, public TItemImages {
  KST_CLASS(TButtonCategory, TBaseItem)
 public:
  explicit TButtonCategory(TCollection* collection);
  ~TButtonCategory() override;
  TButtonCollection& Items() const { return *FItems; }
  TButtonCollection* GetItems() const { return FItems.get(); }
  void SetItems(TButtonCollection* value) { FItems->Assign(value); }
  bool Collapsed() const { return FCollapsed; }
  void SetCollapsed(bool value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TColor GradientColor() const { return FGradientColor; }
  void SetGradientColor(TColor value);
  TColor TextColor() const { return FTextColor; }
  void SetTextColor(TColor value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& value) { FHint = value; }
  Integer Tag() const { return FTag; }
  void SetTag(Integer value) { FTag = value; }
  void* Data() const { return FData; }
  void SetData(void* value) { FData = value; }
  // Moves the category; the control shows it and reports the move.
  void MoveTo(Integer index);
  TRect Bounds() const override;
  void ScrollIntoView() override;
  void Assign(const TPersistent* source) override;
  // The first button captioned `caption` (exactly, else ignoring case), -1 for none.
  Integer IndexOf(const String& caption) const;
  Integer Start() const { return FStart; }
  Integer End() const { return FEnd; }

  // The pale colours new categories take in turn.
  static const TColor kColors[10];

 private:
  friend class TCategoryButtonsEx;
  bool FCollapsed = false;
  TColor FColor;
  TColor FGradientColor = clNone;
  TColor FTextColor = clWindowText;
  std::unique_ptr<TButtonCollection> FItems;
  Integer FStart = 0;
  Integer FEnd = 0;
  void* FData = nullptr;
  Integer FTag = 0;
  String FHint;
};

class TButtonCategories : public TItemCollection {
  KST_CLASS(TButtonCategories, TItemCollection)
 public:
  explicit TButtonCategories(TCategoryButtonsEx* control = nullptr);
  TButtonCategory* Items(int index) const { return static_cast<TButtonCategory*>(TCollection::Items(index)); }
  TButtonCategory* Add() { return static_cast<TButtonCategory*>(TCollection::Add()); }
  TPersistent* GetOwner() const override;
  // The categories plus the buttons of the expanded ones.
  Integer VisibleCount() const;
  TBaseItem* ItemAt(Integer index) const;
  Integer IndexOf(const String& caption) const;

 protected:
  void Update(TCollectionItem* item) override;
};

class TCategoryButtonsEx : public TCustomControl {
  KST_CLASS(TCategoryButtonsEx, TCustomControl)
 public:
  explicit TCategoryButtonsEx(TComponent* owner);
  ~TCategoryButtonsEx() override;

  TButtonCategories& Categories() const { return *FButtonCategories; }
  TButtonCategories* GetCategories() const { return FButtonCategories.get(); }
  void SetCategories(TButtonCategories* value) { FButtonCategories->Assign(value); }
  TCatButtonFlow ButtonFlow() const { return FButtonFlow; }
  void SetButtonFlow(TCatButtonFlow value);
  TCatButtonOptions ButtonOptions() const { return FButtonOptions; }
  void SetButtonOptions(TCatButtonOptions value);
  Integer ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(Integer value);
  Integer ButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(Integer value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  TCustomImageList* CategoryImages() const { return FCatImages; }
  void SetCategoryImages(TCustomImageList* value);
  TColor BackgroundGradientColor() const { return FBackgroundGradientColor; }
  void SetBackgroundGradientColor(TColor value) { SetAndRepaint(FBackgroundGradientColor, value); }
  TGradientDirection BackgroundGradientDirection() const { return FBackGradientDirection; }
  void SetBackgroundGradientDirection(TGradientDirection value) { SetAndRepaint(FBackGradientDirection, value); }
  TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection value) { SetAndRepaint(FGradientDirection, value); }
  TColor HotButtonColor() const { return FHotButtonColor; }
  void SetHotButtonColor(TColor value) { SetAndRepaint(FHotButtonColor, value); }
  TColor SelectedButtonColor() const { return FSelectedButtonColor; }
  void SetSelectedButtonColor(TColor value) { SetAndRepaint(FSelectedButtonColor, value); }
  TColor RegularButtonColor() const { return FRegularButtonColor; }
  void SetRegularButtonColor(TColor value) { SetAndRepaint(FRegularButtonColor, value); }
  TColor EdgeButtonColor() const { return FEdgeButtonColor; }
  void SetEdgeButtonColor(TColor value) { SetAndRepaint(FEdgeButtonColor, value); }
  bool GlassButtonStyle() const { return FGlassButtonStyle; }
  void SetGlassButtonStyle(bool value) { SetAndRepaint(FGlassButtonStyle, value); }
  TColor GlassButtonColor() const { return FGlassButtonColor; }
  void SetGlassButtonColor(TColor value) { SetAndRepaint(FGlassButtonColor, value); }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value) { SetAndRepaint(FWordWrap, value); }

  TBaseItem* SelectedItem() const { return FSelectedItem; }
  void SetSelectedItem(TBaseItem* value);
  TBaseItem* FocusedItem() const { return FFocusedItem; }
  void SetFocusedItem(TBaseItem* value);
  // The selected category, or the category of the selected button.
  TButtonCategory* CurrentCategory() const;
  TButtonItem* DragButton() const { return FDragButton; }
  TButtonCategory* DragCategory() const { return FDragCategory; }

  TRect GetButtonRect(const TBaseItem* item) const;
  TRect GetCategoryRect(const TButtonCategory* category, bool buttonOnly) const;
  TButtonItem* GetButtonAt(Integer x, Integer y, TButtonCategory* category = nullptr) const;
  TButtonCategory* GetCategoryAt(Integer x, Integer y) const;
  // Where a drop at the point would put a dragged item.
  void GetTargetAt(Integer x, Integer y, TButtonCategory*& targetCategory, TButtonItem*& targetButton) const;
  // Whether moving the button to the target would leave everything as it is.
  static bool DropMovesNothing(const TButtonItem* button, const TButtonCategory* category, const TButtonItem* target);
  void UpdateButton(const TBaseItem* item);
  void UpdateAllButtons() { Invalidate(); }
  void ScrollIntoView(TBaseItem* item) { ShowItem(item, true); }
  // Starts renaming the item in place; whether an edit box is open.
  virtual bool BeginEdit(TBaseItem* item);
  void EndEdit(bool cancel);
  bool IsEditing() const;
  // The edit box while renaming, nil otherwise.
  TEdit* InplaceEdit() const { return FInplaceEdit; }
  Integer ScrollPosition() const { return FScrollBarPos; }
  Integer ScrollMax() const { return FScrollBarMax; }
  void Assign(const TPersistent* source) override;

  TCatButtonEvent OnButtonClicked;
  TCatButtonEvent OnHotButton;
  TCatButtonEvent OnSelectedItemChange;
  TCatButtonCategoryEvent OnCategoryClicked;
  TCatButtonCategoryEvent OnSelectedCategoryChange;
  TCatButtonCategoryEvent OnCategoryCollapse;
  TCatButtonReorderEvent OnReorderButton;
  TCategoryReorderEvent OnReorderCategory;
  TCatButtonCopyEvent OnCopyButton;
  TCatButtonEditingEvent OnEditing;
  TCatButtonEditedEvent OnEdited;
  TCatButtonCancelEditEvent OnCancelEdit;
  TCatButtonDrawEvent OnDrawButton;
  TCatButtonDrawEvent OnBeforeDrawButton;
  TCatButtonDrawEvent OnAfterDrawButton;
  TCatButtonDrawEvent OnDrawText;

  static constexpr TColor kInitialHotButtonColor = 0xEFD3C6;

 protected:
  friend class TItemCollection;
  friend class TButtonCollection;
  friend class TButtonCategories;
  friend class TButtonCategory;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Paint() override;
  void Resize() override;
  virtual void DrawButton(TButtonItem* button, TCanvas& canvas, TRect rect, TButtonDrawState state);
  void DrawCategory(TButtonCategory* category, TCanvas& canvas, Integer position);
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void Notification(TComponent* component, TOperation operation) override;
  void Dispatch(TMessage& message) override;
  void ItemRemoved(TCollectionItem* item);
  void ItemChanged(TBaseItem* item);
  void LayOut();
  void UpdateMetrics();

 private:
  template <class T>
  void SetAndRepaint(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  TCatLayoutMetrics Metrics() const;
  Integer ScrollOffset() const { return FScrollBarPos * FScrollSize; }
  TRect ButtonAreaOf(const TButtonCategory* category) const;
  void SetScrollPosition(Integer position);
  void ShowItem(TBaseItem* item, bool alignTop);
  void ClickItem(TBaseItem* item);
  void SetHotButton(TButtonItem* button);
  TBaseItem* NextItem(TBaseItem* item, bool forward, Integer step) const;
  Integer ButtonsPerLine(const TButtonCategory* category) const;
  void SetInsertionMarks(TButtonCategory* category, TButtonItem* target);
  void RemoveInsertionMarks();
  void DropAt(Integer x, Integer y, bool copy);
  // The item a page up or down from the current one lands on, if any.
  TBaseItem* PageItem(TBaseItem* current, bool down) const;
  // The button Shift and the wheel move to from a selected button.
  TButtonItem* WheelNeighbour(TButtonItem* button, bool forward) const;
  void MoveButton(TButtonItem* button, TButtonCategory* category, TButtonItem* target);

  TCatButtonFlow FButtonFlow = cbfVertical;
  Integer FCollapsedHeight = 0;
  TButtonItem* FDownButton = nullptr;
  TButtonItem* FDragButton = nullptr;
  TButtonItem* FHotButton = nullptr;
  TButtonCategory* FDragCategory = nullptr;
  TPoint FDragStartPos;
  bool FDragStarted = false;
  TGradientDirection FGradientDirection = gdHorizontal;
  TGradientDirection FBackGradientDirection = gdHorizontal;
  Integer FGutterSize = 0;
  Integer FScrollSize = 24;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  std::unique_ptr<TChangeLink> FCatImageChangeLink;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FCatImages = nullptr;
  TBaseItem* FInsertLeft = nullptr;
  TBaseItem* FInsertTop = nullptr;
  TBaseItem* FInsertRight = nullptr;
  TBaseItem* FInsertBottom = nullptr;
  bool FIgnoreUpdate = false;
  Integer FScrollBarMax = 0;
  Integer FScrollBarPos = 0;
  Integer FPageAmount = 0;
  std::unique_ptr<TButtonCategories> FButtonCategories;
  TCatButtonOptions FButtonOptions{boGradientFill, boShowCaptions, boVerticalCategoryCaptions};
  Integer FButtonWidth = 24;
  Integer FButtonHeight = 24;
  TBorderStyle FBorderStyle = bsSingle;
  TBaseItem* FSelectedItem = nullptr;
  TBaseItem* FFocusedItem = nullptr;
  bool FScrollBarShown = false;
  TColor FBackgroundGradientColor = clNone;
  TColor FHotButtonColor = kInitialHotButtonColor;
  TColor FSelectedButtonColor;
  TColor FRegularButtonColor;
  TEdit* FInplaceEdit = nullptr;
  TBaseItem* FEditItem = nullptr;
  TColor FEdgeButtonColor = clMedGray;
  bool FGlassButtonStyle = false;
  TColor FGlassButtonColor = clWhite;
  bool FWordWrap = false;
  bool FDestroying = false;
};

// The platform's category list. It behaves as the window bar's, without the
// glass buttons, edge colour, word wrap and category images, and its type
// information descends from the custom control as the platform's does, so
// that the class browser and the object tree name its true ancestors.
class TCategoryButtons : public TCategoryButtonsEx {
  KST_CLASS(TCategoryButtons, TCustomControl)
 public:
  using TCategoryButtonsEx::TCategoryButtonsEx;
};
