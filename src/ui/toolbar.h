// The tool bar and its buttons, drawn by the library: buttons stand in a
// row in their order, show an image of the bar's image list (greyed while
// disabled), rise under the mouse on a flat bar, stay down while checked,
// and follow their action. The buttons are the bar's child controls in the
// form file.
#pragma once

#include <memory>
#include <vector>

#include "ui/controls.h"
#include "ui/imglist.h"
#include "ui/menus.h"

class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
const TTypeInfo& DescribeType(TypeTag<TToolButtonStyle>);

class TToolButton : public TGraphicControl {
  KST_CLASS(TToolButton, TGraphicControl)
 public:
  explicit TToolButton(TComponent* owner);
  ~TToolButton() override;

  TToolButtonStyle Style() const { return FStyle; }
  void SetStyle(TToolButtonStyle value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer value);
  // Pressed in (a checked button).
  bool Down() const { return FDown; }
  void SetDown(bool value);
  // A check button of a group of neighbours of which one at most is down.
  bool Grouped() const { return FGrouped; }
  void SetGrouped(bool value) { FGrouped = value; }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool value) { FAllowAllUp = value; }
  bool Wrap() const { return FWrap; }
  void SetWrap(bool value) { FWrap = value; }
  TToolBar* ToolBar() const;
  // Under the mouse now (a flat bar draws it raised).
  bool Hot() const { return FHot; }
  bool IsSeparator() const { return FStyle == tbsSeparator || FStyle == tbsDivider; }
  // The menu a drop-down button shows under itself from its arrow (from
  // the whole button with EnableDropdown).
  TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenu* value);
  bool EnableDropdown() const { return FEnableDropdown; }
  void SetEnableDropdown(bool value) { FEnableDropdown = value; }
  // The part of a drop-down button that holds its arrow (empty for others).
  TRect ArrowRect() const;
  // Shows the drop-down menu under the button; false when there is none.
  bool DropDown();

  void Click() override;
  void SetParent(TWinControl* parent) override;

 protected:
  void Paint() override;
  void ActionChange(TBasicAction* action) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseEnter(TMessage& message) override;
  void CMMouseLeave(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TToolButtonStyle FStyle = tbsButton;
  TPopupMenu* FDropdownMenu = nullptr;
  bool FEnableDropdown = false;
  Integer FImageIndex = -1;
  bool FDown = false;
  bool FGrouped = false;
  bool FAllowAllUp = false;
  bool FWrap = false;
  bool FHot = false;
  bool FPressed = false;
};

enum TEdgeBorder { ebLeft, ebTop, ebRight, ebBottom };
using TEdgeBorders = TSet<TEdgeBorder>;
enum TEdgeStyle { esNone, esRaised, esLowered };
const TTypeInfo& DescribeType(TypeTag<TEdgeBorder>);
const TTypeInfo& DescribeType(TypeTag<TEdgeBorders>);
const TTypeInfo& DescribeType(TypeTag<TEdgeStyle>);

class TToolBar : public TCustomControl {
  KST_CLASS(TToolBar, TCustomControl)
 public:
  explicit TToolBar(TComponent* owner);
  ~TToolBar() override;
  // The edges the bar draws around itself; kept as the form says.
  TEdgeBorders EdgeBorders{ebTop};
  TEdgeStyle EdgeInner = esRaised, EdgeOuter = esLowered;

  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  TToolButton* Buttons(int index) const;
  Integer ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(Integer value);
  Integer ButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(Integer value);
  Integer Indent() const { return FIndent; }
  void SetIndent(Integer value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* images);
  // Buttons lie flat and rise under the mouse.
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  bool ShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool value);
  bool Wrapable() const { return FWrapable; }
  void SetWrapable(bool value) { FWrapable = value; }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);

  // Puts the buttons in their row again.
  void ArrangeButtons();

 protected:
  friend class TToolButton;
  void AddButton(TToolButton* button);
  void RemoveButton(TToolButton* button);
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void AlignControls(TControl* control, TRect& rect) override;

 private:
  void ImageListChange(TObject*);
  std::vector<TToolButton*> FButtons;
  Integer FButtonWidth = 23;
  Integer FButtonHeight = 22;
  Integer FIndent = 0;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  bool FFlat = false;
  bool FShowCaptions = false;
  bool FWrapable = true;
  bool FAutoSize = false;
  bool FArranging = false;
};
