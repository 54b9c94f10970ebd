// Choosers of a colour (the colour box, the colour list box and the older
// sixteen-colour grid) and the edit with a label bound to it.
#pragma once

#include <vector>

#include "ui/controls.h"
#include "ui/graphics.h"
#include "ui/stdctrls.h"

enum TColorBoxStyles {
  cbStandardColors,
  cbExtendedColors,
  cbSystemColors,
  cbIncludeNone,
  cbIncludeDefault,
  cbCustomColor,
  cbPrettyNames,
  cbCustomColors
};
using TColorBoxStyle = TSet<TColorBoxStyles>;
enum TGridOrdering { go16x1, go8x2, go4x4, go2x8, go1x16 };
enum TLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };
const TTypeInfo& DescribeType(TypeTag<TColorBoxStyles>);
const TTypeInfo& DescribeType(TypeTag<TColorBoxStyle>);
const TTypeInfo& DescribeType(TypeTag<TGridOrdering>);
const TTypeInfo& DescribeType(TypeTag<TLabelPosition>);

// The colours a colour chooser of the style lists, with their names.
struct TNamedColor {
  TColor Color;
  String Name;
};
std::vector<TNamedColor> ColorBoxColors(TColorBoxStyle style);

// The colours a chooser lists and the one chosen, shared by the colour box
// and the colour list box.
class TColorChoice {
 public:
  TColorBoxStyle Style{cbStandardColors, cbExtendedColors, cbSystemColors};
  TColor Selected = clBlack, DefaultColorColor = clBlack, NoneColorColor = clBlack;
  // Lists the colours of the style in the items.
  void Fill(TStrings& items);
  // The item of a colour (-1: not listed) and the colour of an item (clNone: none).
  Integer IndexOf(TColor color) const;
  TColor ColorAt(Integer index) const;
  // Draws the item a CN_DRAWITEM message asks for.
  void DrawItem(const TMessage& message, const TFont& font) const;

 private:
  std::vector<TNamedColor> FColors;
};

// An owner-drawn combo box of colours: a swatch and the colour's name.
class TColorBox : public TComboBox {
  KST_CLASS(TColorBox, TComboBox)
 public:
  explicit TColorBox(TComponent* owner);
  TColorChoice Choice;
  void SetColorStyle(TColorBoxStyle value);
  void SetSelected(TColor value);
  TColor Selected() const { return Choice.Selected; }

 protected:
  void CreateWnd() override;
  void Loaded() override;
  void Dispatch(TMessage& message) override;
};

// The same colours in an owner-drawn list box.
class TColorListBox : public TListBox {
  KST_CLASS(TColorListBox, TListBox)
 public:
  explicit TColorListBox(TComponent* owner);
  TColorChoice Choice;
  void SetColorStyle(TColorBoxStyle value);
  void SetSelected(TColor value);
  TColor Selected() const { return Choice.Selected; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Dispatch(TMessage& message) override;
};

// The sixteen colours of the old palette in a grid, the foreground marked
// "FG" and the background "BG".
class TColorGrid : public TCustomControl {
  KST_CLASS(TColorGrid, TCustomControl)
 public:
  explicit TColorGrid(TComponent* owner);
  TGridOrdering GridOrdering() const { return FGridOrdering; }
  void SetGridOrdering(TGridOrdering value);
  Integer ForegroundIndex() const { return FForegroundIndex; }
  void SetForegroundIndex(Integer value);
  Integer BackgroundIndex() const { return FBackgroundIndex; }
  void SetBackgroundIndex(Integer value);
  bool ForegroundEnabled = true, BackgroundEnabled = true, ClickEnablesColor = false;
  Integer Selection = 0;
  TNotifyEvent OnChange;
  // The colour of a cell (0 to 15) and the cell's rectangle.
  static TColor CellColor(Integer index);
  TRect CellRect(Integer index) const;
  Integer Columns() const;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;

 private:
  TGridOrdering FGridOrdering = go4x4;
  Integer FForegroundIndex = 0, FBackgroundIndex = 0;
};

// The label of a TLabeledEdit: the edit owns it and places it beside itself.
class TBoundLabel : public TLabel {
  KST_CLASS(TBoundLabel, TLabel)
 public:
  explicit TBoundLabel(TComponent* owner);
};

// An edit with a label that moves with it.
class TLabeledEdit : public TEdit {
  KST_CLASS(TLabeledEdit, TEdit)
 public:
  explicit TLabeledEdit(TComponent* owner);
  TBoundLabel* EditLabel() const { return FEditLabel; }
  TLabelPosition LabelPosition() const { return FLabelPosition; }
  void SetLabelPosition(TLabelPosition value);
  Integer LabelSpacing() const { return FLabelSpacing; }
  void SetLabelSpacing(Integer value);
  void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
  void SetParent(TWinControl* parent) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void PlaceLabel();
  TBoundLabel* FEditLabel = nullptr;  // owned as a component
  TLabelPosition FLabelPosition = lpAbove;
  Integer FLabelSpacing = 3;
};

void RegisterColorControlClasses(TClassRegistry& registry);
