// The drop-down edit: its button is the drop-down arrow; pressing it (or
// Alt+Up/Down, or a click on a list-style edit) opens a drop-down window
// below the edit, and a value chosen there comes back as the text. In the
// list style the edit paints its text itself, highlighted while focused.
// The drop-down windows here are the plain base and the item list.
#pragma once

#include <functional>
#include <memory>

#include "panelkit/pxclasses.h"
#include "panelkit/win32/buttonedits.h"
#include "rtl/stringlist.h"

enum TDropDownStyle { dsDropDown, dsDropDownList };
enum TPopupDropMode { dmClosed, dmDropped };
enum TPxItemStateFlag { isSelected, isFocused };
using TPxItemState = TSet<TPxItemStateFlag>;
using TInputEvent = TDelegate<void(TObject* Sender, const String& Value)>;
using TPxDrawItemEvent = TDelegate<void(TObject* Sender, Integer Index, const TRect& Rect, TPxItemState State)>;
const TTypeInfo& DescribeType(TypeTag<TDrawingOptions>);
const TTypeInfo& DescribeType(TypeTag<TDropDownStyle>);
const TTypeInfo& DescribeType(TypeTag<TItemsDisplayMode>);
const TTypeInfo& DescribeType(TypeTag<TPxDrawItemEvent>);

// The text an item shows by the display mode.
String ItemDisplayText(const String& item, TItemsDisplayMode mode);
// The name part of an item (before the first "="), and the value part after it.
String ItemName(const String& item);
String ItemValue(const String& item);

class TPxPopupEdit;

// A window that drops below its edit without taking the focus from it.
class TPxPopupControl : public TCustomControl {
  KST_CLASS(TPxPopupControl, TCustomControl)
 public:
  explicit TPxPopupControl(TComponent* owner);
  TPopupDropMode DropMode() const { return FDropMode; }
  void SetDropMode(TPopupDropMode value) { FDropMode = value; }
  // Shows the window with its top left at the screen point, or above the
  // edit when there is no room below.
  void Popup(TPoint screenPoint);
  // Asks the edit to close the drop-down.
  void ClosePopup();
  virtual void BeforePopup() {}
  // Hands a chosen value to the edit.
  void Input(const String& value);
  // Where a release of the mouse picks a value (client coordinates); empty
  // where the window has no such area.
  virtual TRect GetPickRect() const { return TRect(); }
  // Picks the value at a client point inside the pick area.
  virtual void PickAt(Integer, Integer) {}

  TInputEvent OnInput;
  TNotifyEvent OnDeactivate;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Dispatch(TMessage& message) override;
  TPxPopupEdit* Edit() const;
  // While open the window holds the mouse: a press outside it closes it
  // without a choice, a release in the pick area picks.
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  bool ContainsClientPoint(Integer x, Integer y) const;
  bool PressedSinceOpening() const { return FPressedSinceOpening; }
  // Takes the mouse back after the library's own release let it go.
  void KeepCapture();

 private:
  TPopupDropMode FDropMode = dmClosed;
  // The release of the press that opened the window is not a choice.
  bool FPressedSinceOpening = false;
};

// The rows of a combo box's items, one selected, one under the mouse.
class TPxPopupList : public TPxPopupControl {
  KST_CLASS(TPxPopupList, TPxPopupControl)
 public:
  explicit TPxPopupList(TComponent* owner);
  TStrings& Items() const { return *FItems; }
  Integer ItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer value);
  Integer HoverIndex() const { return FHoverIndex; }
  void SetHoverIndex(Integer value);
  Integer TopIndex() const { return FTopIndex; }
  void SetTopIndex(Integer value);
  Integer ItemHeight() const { return FItemHeight; }
  void SetItemHeight(Integer value) { FItemHeight = std::max(1, value); }
  Integer DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(Integer value) { FDropDownCount = std::max(1, value); }
  TItemsDisplayMode DisplayMode() const { return FDisplayMode; }
  void SetDisplayMode(TItemsDisplayMode value) { FDisplayMode = value; }
  void SetColors(TColor background, TColor selection, TColor highlightText);
  void BeforePopup() override;
  // The row at a client point, or -1.
  Integer RowAt(Integer y) const;

  TPxDrawItemEvent OnDrawItem;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void WMScroll(TMessage& message) override;
  void WMEraseBkgnd(TMessage& message) override;
  // Draws a row's text (the font list draws it in its own font).
  virtual void DrawRowText(TCanvas& canvas, Integer index, const TRect& rect);

 private:
  void UpdateScrollBar();
  Integer VisibleRows() const;
  std::unique_ptr<TStringList> FItems;
  Integer FItemIndex = -1;
  Integer FHoverIndex = -1;
  Integer FTopIndex = 0;
  Integer FItemHeight = 16;
  Integer FDropDownCount = 8;
  TItemsDisplayMode FDisplayMode = dmDefault;
  TColor FSelectionColor = clHighlight;
  TColor FHighlightTextColor = clHighlightText;
};

class TPxPopupEdit : public TPxCustomButtonEdit {
  KST_CLASS(TPxPopupEdit, TPxCustomButtonEdit)
 public:
  explicit TPxPopupEdit(TComponent* owner);

  TDrawingOptions DrawingOptions() const { return FDrawingOptions; }
  void SetDrawingOptions(TDrawingOptions value);
  bool HideFocus() const { return FHideFocus; }
  void SetHideFocus(bool value);
  TDropDownStyle Style() const { return FStyle; }
  virtual void SetStyle(TDropDownStyle value);
  bool DroppedDown() const { return FDroppedDown; }
  void SetDroppedDown(bool value);
  // The drop-down window, made on first use.
  TPxPopupControl& Popup();
  bool CanEditText() const override { return FStyle != dsDropDownList; }
  void PopupInput(TObject* sender, const String& value) override;

  TNotifyEvent OnCloseUp;
  TNotifyEvent OnPaint;
  TNotifyEvent OnSelect;

 protected:
  // Makes the drop-down window this edit uses, owned by the edit.
  virtual TPxPopupControl* NewPopup();
  virtual void DoCloseUp();
  virtual void DoPaint();
  virtual void DoSelect();
  void DoButtonDown(TObject* sender) override;
  void CloseDropDown() override { SetDroppedDown(false); }
  void PaintDisplay() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(Char& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void InfoMouseDown(TObject* sender, TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Dispatch(TMessage& message) override;

 private:
  void PrepareFromEdit();
  TPxPopupControl* FPopup = nullptr;
  TDrawingOptions FDrawingOptions = doNormal;
  bool FDroppedDown = false;
  TDropDownStyle FStyle = dsDropDown;
  bool FHideFocus = false;
};
