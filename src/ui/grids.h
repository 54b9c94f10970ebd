// Grids: the owner-drawn grid base (fixed rows and columns, cell sizes,
// drawing styles, cell drawing and selection events), the string grid that
// draws a text per cell, and the value list editor of name=value lines.
#pragma once

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "rtl/stringlist.h"
#include "ui/controls.h"
#include "ui/publish.h"
#include "ui/stdctrls.h"

enum TGridOption {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goDrawFocusSelected,
  goRowSizing,
  goColSizing,
  goRowMoving,
  goColMoving,
  goEditing,
  goTabs,
  goRowSelect,
  goAlwaysShowEditor,
  goThumbTracking,
  goFixedColClick,
  goFixedRowClick,
  goFixedHotTrack
};
using TGridOptions = TSet<TGridOption>;
enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed, gdRowSelected, gdHotTrack, gdPressed };
using TGridDrawState = TSet<TGridDrawStateItem>;
enum TGridDrawingStyle { gdsClassic, gdsThemed, gdsGradient };

using TDrawCellEvent = TDelegate<void(TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State)>;
using TSelectCellEvent = TDelegate<void(TObject* Sender, Integer ACol, Integer ARow, bool& CanSelect)>;

const TTypeInfo& DescribeType(TypeTag<TGridOption>);
const TTypeInfo& DescribeType(TypeTag<TGridOptions>);
const TTypeInfo& DescribeType(TypeTag<TGridDrawStateItem>);
const TTypeInfo& DescribeType(TypeTag<TGridDrawState>);
const TTypeInfo& DescribeType(TypeTag<TGridDrawingStyle>);
const TTypeInfo& DescribeType(TypeTag<TDrawCellEvent>);
const TTypeInfo& DescribeType(TypeTag<TSelectCellEvent>);

// A grid of cells drawn by the program: the first FixedCols columns and
// FixedRows rows stay as headers, the rest hold one selected cell.
class TCustomDrawGrid : public TCustomControl {
  KST_CLASS(TCustomDrawGrid, TCustomControl)
 public:
  explicit TCustomDrawGrid(TComponent* owner);

  Integer ColCount() const { return FColCount; }
  void SetColCount(Integer value);
  Integer RowCount() const { return FRowCount; }
  void SetRowCount(Integer value);
  Integer FixedCols() const { return FFixedCols; }
  void SetFixedCols(Integer value);
  Integer FixedRows() const { return FFixedRows; }
  void SetFixedRows(Integer value);
  Integer DefaultColWidth() const { return FDefaultColWidth; }
  void SetDefaultColWidth(Integer value);
  Integer DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(Integer value);
  Integer ColWidths(Integer col) const;
  void SetColWidths(Integer col, Integer width);
  Integer RowHeights(Integer row) const;
  void SetRowHeights(Integer row, Integer height);
  Integer GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(Integer value);
  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions value);
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool value) { FDefaultDrawing = value; }
  TGridDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TGridDrawingStyle value);
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);

  Integer Col() const { return FCol; }
  void SetCol(Integer value) { FocusCell(value, FRow); }
  Integer Row() const { return FRow; }
  void SetRow(Integer value) { FocusCell(FCol, value); }
  // The cell's rectangle in client coordinates (empty when out of range).
  TRect CellRect(Integer col, Integer row) const;
  // The cell under a client point, or {-1, -1}.
  std::pair<Integer, Integer> MouseCell(Integer x, Integer y) const;

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;

 protected:
  void CreateParams(TCreateParams& params) override;
  // Column widths and row heights that differ from the defaults are stored
  // as lists of every column's or row's size.
  void DefineProperties(TFiler& filer) override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Dispatch(TMessage& message) override;
  // Draws one cell: the default background and, for the string grid, its text.
  virtual void DrawCell(Integer col, Integer row, const TRect& rect, TGridDrawState state);
  virtual bool SelectCell(Integer col, Integer row);
  void FocusCell(Integer col, Integer row);
  void InvalidateGrid();

 private:
  Integer FColCount = 5, FRowCount = 5, FFixedCols = 1, FFixedRows = 1;
  Integer FDefaultColWidth = 64, FDefaultRowHeight = 24, FGridLineWidth = 1;
  std::map<Integer, Integer> FColWidths, FRowHeights;
  TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  bool FDefaultDrawing = true;
  TGridDrawingStyle FDrawingStyle = gdsThemed;
  TColor FFixedColor = clBtnFace;
  TScrollStyle FScrollBars = ssBoth;
  TFormBorderStyle FBorderStyle = bsSingle;
  Integer FCol = 1, FRow = 1;
};

class TDrawGrid : public TCustomDrawGrid {
  KST_CLASS(TDrawGrid, TCustomDrawGrid)
 public:
  using TCustomDrawGrid::TCustomDrawGrid;
};

// What a draw grid publishes, for the grids that other libraries build on
// the owner-drawn grid.
template <class T>
void PublishDrawGrid(TClassBuilder<T>& c) {
  publish::WinControlBundle(c);
  c.Property(u"BorderStyle", &T::BorderStyle, &T::SetBorderStyle, &BorderStyleType()).Default(bsSingle);
  c.Property(u"ColCount", &T::ColCount, &T::SetColCount).Default(5);
  c.Property(u"DefaultColWidth", &T::DefaultColWidth, &T::SetDefaultColWidth).Default(64);
  c.Property(u"DefaultRowHeight", &T::DefaultRowHeight, &T::SetDefaultRowHeight).Default(24);
  c.Property(u"DefaultDrawing", &T::DefaultDrawing, &T::SetDefaultDrawing).Default(1);
  c.Property(u"DrawingStyle", &T::DrawingStyle, &T::SetDrawingStyle).Default(gdsThemed);
  c.Property(u"FixedColor", &T::FixedColor, &T::SetFixedColor, &types::Color()).Default(clBtnFace);
  c.Property(u"FixedCols", &T::FixedCols, &T::SetFixedCols).Default(1);
  c.Property(u"FixedRows", &T::FixedRows, &T::SetFixedRows).Default(1);
  c.Property(u"GridLineWidth", &T::GridLineWidth, &T::SetGridLineWidth).Default(1);
  c.Property(u"Options", &T::Options, &T::SetOptions);
  c.Property(u"RowCount", &T::RowCount, &T::SetRowCount).Default(5);
  c.Property(u"ScrollBars", &T::ScrollBars, &T::SetScrollBars).Default(ssBoth);
  c.Property(u"OnDrawCell", &T::OnDrawCell);
  c.Property(u"OnSelectCell", &T::OnSelectCell);
  publish::ResizeEvents(c);
}

// A grid that keeps and draws a text in every cell.
class TStringGrid : public TDrawGrid {
  KST_CLASS(TStringGrid, TDrawGrid)
 public:
  using TDrawGrid::TDrawGrid;
  String Cells(Integer col, Integer row) const;
  void SetCells(Integer col, Integer row, const String& text);

 protected:
  void DrawCell(Integer col, Integer row, const TRect& rect, TGridDrawState state) override;

 private:
  std::map<std::pair<Integer, Integer>, String> FCells;
};

enum TKeyOption { keyEdit, keyAdd, keyDelete, keyUnique };
using TKeyOptions = TSet<TKeyOption>;
enum TDisplayOption { doColumnTitles, doAutoColResize, doKeyColFixed };
using TDisplayOptions = TSet<TDisplayOption>;
const TTypeInfo& DescribeType(TypeTag<TKeyOption>);
const TTypeInfo& DescribeType(TypeTag<TKeyOptions>);
const TTypeInfo& DescribeType(TypeTag<TDisplayOption>);
const TTypeInfo& DescribeType(TypeTag<TDisplayOptions>);

// Name=value lines shown as a two-column grid under a title row.
class TValueListEditor : public TCustomDrawGrid {
  KST_CLASS(TValueListEditor, TCustomDrawGrid)
 public:
  explicit TValueListEditor(TComponent* owner);
  ~TValueListEditor() override;
  TStrings& Strings() const { return *FStrings; }
  TStrings* GetStrings() const { return FStrings.get(); }
  void SetStrings(const TStrings* strings);
  TStrings* GetTitleCaptions() const { return FTitleCaptions.get(); }
  void SetTitleCaptions(const TStrings* captions);
  TKeyOptions KeyOptions() const { return FKeyOptions; }
  void SetKeyOptions(TKeyOptions value) { FKeyOptions = value; }
  TDisplayOptions DisplayOptions() const { return FDisplayOptions; }
  void SetDisplayOptions(TDisplayOptions value);

 protected:
  void DrawCell(Integer col, Integer row, const TRect& rect, TGridDrawState state) override;

 private:
  void StringsChanged(TObject*);
  std::unique_ptr<TStringList> FStrings;
  std::unique_ptr<TStringList> FTitleCaptions;
  TKeyOptions FKeyOptions;
  TDisplayOptions FDisplayOptions{doColumnTitles, doAutoColResize, doKeyColFixed};
};
