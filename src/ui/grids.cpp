#include "ui/grids.h"

#include <algorithm>

#include "classes/filer.h"
#include "ui/extctrls.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TCustomDrawGrid, "Grids")
KST_CLASS_IMPL(TDrawGrid, "Grids")
KST_CLASS_IMPL(TStringGrid, "Grids")
KST_CLASS_IMPL(TValueListEditor, "ValEdit")

namespace {

// Grid sizes come from untrusted forms: a count is kept within what a
// person could ever scroll through, so no form makes the grid walk billions
// of cells.
constexpr Integer kMostCells = 1000000;

Integer Clamp(Integer value, Integer low, Integer high) {
  return std::max(low, std::min(value, high));
}

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TGridOption>) {
  static const TEnumTypeInfo t(
      u"TGridOption", u"Grids",
      {u"goFixedVertLine", u"goFixedHorzLine", u"goVertLine", u"goHorzLine", u"goRangeSelect", u"goDrawFocusSelected",
       u"goRowSizing", u"goColSizing", u"goRowMoving", u"goColMoving", u"goEditing", u"goTabs", u"goRowSelect",
       u"goAlwaysShowEditor", u"goThumbTracking", u"goFixedColClick", u"goFixedRowClick", u"goFixedHotTrack"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TGridOptions>) {
  static const TSetTypeInfo t(u"TGridOptions", u"Grids",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TGridOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TGridDrawStateItem>) {
  static const TEnumTypeInfo t(
      u"TGridDrawStateItem", u"Grids",
      {u"gdSelected", u"gdFocused", u"gdFixed", u"gdRowSelected", u"gdHotTrack", u"gdPressed"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TGridDrawState>) {
  static const TSetTypeInfo t(u"TGridDrawState", u"Grids",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TGridDrawStateItem>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TGridDrawingStyle>) {
  static const TEnumTypeInfo t(u"TGridDrawingStyle", u"Grids", {u"gdsClassic", u"gdsThemed", u"gdsGradient"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDrawCellEvent>) {
  static const TMethodTypeInfo t(u"TDrawCellEvent", u"Grids", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"ACol", u"Integer"), Param(u"ARow", u"Integer"),
                                  Param(u"Rect", u"TRect"), Param(u"State", u"TGridDrawState")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSelectCellEvent>) {
  static const TMethodTypeInfo t(u"TSelectCellEvent", u"Grids", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"ACol", u"Integer"), Param(u"ARow", u"Integer"),
                                  Param(u"CanSelect", u"Boolean", ParamFlagBit(pfVar))});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TKeyOption>) {
  static const TEnumTypeInfo t(u"TKeyOption", u"ValEdit", {u"keyEdit", u"keyAdd", u"keyDelete", u"keyUnique"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TKeyOptions>) {
  static const TSetTypeInfo t(u"TKeyOptions", u"ValEdit",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TKeyOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDisplayOption>) {
  static const TEnumTypeInfo t(u"TDisplayOption", u"ValEdit",
                               {u"doColumnTitles", u"doAutoColResize", u"doKeyColFixed"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDisplayOptions>) {
  static const TSetTypeInfo t(u"TDisplayOptions", u"ValEdit",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TDisplayOption>{})));
  return t;
}

// ---------------------------------------------------------------------------
// The owner-drawn grid

void TCustomDrawGrid::Describe(TClassBuilder<TCustomDrawGrid>&) {}

void TDrawGrid::Describe(TClassBuilder<TDrawGrid>& c) {
  PublishDrawGrid(c);
}

TCustomDrawGrid::TCustomDrawGrid(TComponent* owner) : TCustomControl(owner) {
  SetBounds(Left(), Top(), 320, 120);
  SetColor(clWindow);
  SetTabStop(true);
}

void TCustomDrawGrid::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomDrawGrid::DefineProperties(TFiler& filer) {
  TCustomControl::DefineProperties(filer);
  auto sizes = [&filer](StringView name, std::map<Integer, Integer>& custom, Integer count, auto sizeOf) {
    filer.DefineProperty(
        name,
        [&custom, count](TReader& reader) {
          custom.clear();
          reader.ReadListBegin();
          for (Integer i = 0; !reader.EndOfList(); ++i) {
            const Integer size = Clamp(reader.ReadInteger(), -1, 32767);
            if (i < count) custom[i] = size;
          }
          reader.ReadListEnd();
        },
        [count, sizeOf](TWriter& writer) {
          writer.WriteListBegin();
          for (Integer i = 0; i < count; ++i) writer.WriteInteger(sizeOf(i));
          writer.WriteListEnd();
        },
        !custom.empty());
  };
  sizes(u"ColWidths", FColWidths, FColCount, [this](Integer i) { return ColWidths(i); });
  sizes(u"RowHeights", FRowHeights, FRowCount, [this](Integer i) { return RowHeights(i); });
}

void TCustomDrawGrid::InvalidateGrid() {
  Invalidate();
}

void TCustomDrawGrid::SetColCount(Integer value) {
  FColCount = Clamp(value, 1, kMostCells);
  FFixedCols = std::min(FFixedCols, FColCount - 1);
  FCol = Clamp(FCol, FFixedCols, FColCount - 1);
  InvalidateGrid();
}
void TCustomDrawGrid::SetRowCount(Integer value) {
  FRowCount = Clamp(value, 1, kMostCells);
  FFixedRows = std::min(FFixedRows, FRowCount - 1);
  FRow = Clamp(FRow, FFixedRows, FRowCount - 1);
  InvalidateGrid();
}
void TCustomDrawGrid::SetFixedCols(Integer value) {
  FFixedCols = Clamp(value, 0, FColCount - 1);
  FCol = Clamp(FCol, FFixedCols, FColCount - 1);
  InvalidateGrid();
}
void TCustomDrawGrid::SetFixedRows(Integer value) {
  FFixedRows = Clamp(value, 0, FRowCount - 1);
  FRow = Clamp(FRow, FFixedRows, FRowCount - 1);
  InvalidateGrid();
}
void TCustomDrawGrid::SetDefaultColWidth(Integer value) {
  FDefaultColWidth = Clamp(value, 0, 32767);
  FColWidths.clear();
  InvalidateGrid();
}
void TCustomDrawGrid::SetDefaultRowHeight(Integer value) {
  FDefaultRowHeight = Clamp(value, 0, 32767);
  FRowHeights.clear();
  InvalidateGrid();
}
Integer TCustomDrawGrid::ColWidths(Integer col) const {
  auto found = FColWidths.find(col);
  return found != FColWidths.end() ? found->second : FDefaultColWidth;
}
void TCustomDrawGrid::SetColWidths(Integer col, Integer width) {
  if (col < 0 || col >= FColCount) return;
  FColWidths[col] = Clamp(width, -1, 32767);
  InvalidateGrid();
}
Integer TCustomDrawGrid::RowHeights(Integer row) const {
  auto found = FRowHeights.find(row);
  return found != FRowHeights.end() ? found->second : FDefaultRowHeight;
}
void TCustomDrawGrid::SetRowHeights(Integer row, Integer height) {
  if (row < 0 || row >= FRowCount) return;
  FRowHeights[row] = Clamp(height, -1, 32767);
  InvalidateGrid();
}
void TCustomDrawGrid::SetGridLineWidth(Integer value) {
  FGridLineWidth = Clamp(value, 0, 64);
  InvalidateGrid();
}
void TCustomDrawGrid::SetOptions(TGridOptions value) {
  FOptions = value;
  InvalidateGrid();
}
void TCustomDrawGrid::SetDrawingStyle(TGridDrawingStyle value) {
  FDrawingStyle = value;
  InvalidateGrid();
}
void TCustomDrawGrid::SetFixedColor(TColor value) {
  FFixedColor = value;
  InvalidateGrid();
}
void TCustomDrawGrid::SetScrollBars(TScrollStyle value) {
  FScrollBars = value;
}
void TCustomDrawGrid::SetBorderStyle(TFormBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  if (HandleAllocated()) RecreateWnd();
}

TRect TCustomDrawGrid::CellRect(Integer col, Integer row) const {
  if (col < 0 || col >= FColCount || row < 0 || row >= FRowCount) return TRect{};
  Integer x = 0, y = 0;
  for (Integer c = 0; c < col && x <= 32767; ++c) x += ColWidths(c) + FGridLineWidth;
  for (Integer r = 0; r < row && y <= 32767; ++r) y += RowHeights(r) + FGridLineWidth;
  return Rect(x, y, x + std::max(ColWidths(col), 0), y + std::max(RowHeights(row), 0));
}

std::pair<Integer, Integer> TCustomDrawGrid::MouseCell(Integer x, Integer y) const {
  Integer col = -1, row = -1;
  for (Integer c = 0, left = 0; c < FColCount && left <= x; ++c) {
    if (x < left + ColWidths(c) + FGridLineWidth) col = c;
    left += ColWidths(c) + FGridLineWidth;
  }
  for (Integer r = 0, top = 0; r < FRowCount && top <= y; ++r) {
    if (y < top + RowHeights(r) + FGridLineWidth) row = r;
    top += RowHeights(r) + FGridLineWidth;
  }
  if (col < 0 || row < 0) return {-1, -1};
  return {col, row};
}

void TCustomDrawGrid::Paint() {
  TCanvas& canvas = Canvas();
  const TRect client = ClientRect();
  canvas.Brush().SetColor(Color());
  canvas.FillRect(client);
  canvas.Font().Assign(&Font());
  Integer top = 0;
  for (Integer row = 0; row < FRowCount && top < client.Bottom; ++row) {
    const Integer height = RowHeights(row);
    Integer left = 0;
    for (Integer col = 0; col < FColCount && left < client.Right; ++col) {
      const Integer width = ColWidths(col);
      const TRect cell = Rect(left, top, left + std::max(width, 0), top + std::max(height, 0));
      const bool fixed = col < FFixedCols || row < FFixedRows;
      TGridDrawState state;
      if (fixed) state.Include(gdFixed);
      const bool inSelectedRow = FOptions.Contains(goRowSelect) && row == FRow;
      if (!fixed && ((col == FCol && row == FRow) || inSelectedRow)) {
        state.Include(gdSelected);
        if (Focused()) state.Include(gdFocused);
      }
      // Grid lines: the space after each cell, in the colour of fixed or moving lines.
      const bool vertLine = FOptions.Contains(fixed ? goFixedVertLine : goVertLine);
      const bool horzLine = FOptions.Contains(fixed ? goFixedHorzLine : goHorzLine);
      canvas.Brush().SetColor(fixed ? clBlack : clSilver);
      if (vertLine && FGridLineWidth > 0)
        canvas.FillRect(Rect(cell.Right, cell.Top, cell.Right + FGridLineWidth, cell.Bottom + FGridLineWidth));
      if (horzLine && FGridLineWidth > 0)
        canvas.FillRect(Rect(cell.Left, cell.Bottom, cell.Right + FGridLineWidth, cell.Bottom + FGridLineWidth));
      if (width > 0 && height > 0) {
        if (FDefaultDrawing) {
          canvas.Brush().SetColor(fixed ? FFixedColor : state.Contains(gdSelected) ? clHighlight : Color());
          canvas.FillRect(cell);
          if (fixed && FDrawingStyle != gdsClassic) {
            TRect edge = cell;
            Frame3D(canvas, edge, clBtnHighlight, clBtnShadow, 1);
          }
          canvas.Font().SetColor(state.Contains(gdSelected) ? clHighlightText : Font().Color());
        }
        DrawCell(col, row, cell, state);
      }
      left += width + FGridLineWidth;
    }
    top += height + FGridLineWidth;
  }
}

void TCustomDrawGrid::DrawCell(Integer col, Integer row, const TRect& rect, TGridDrawState state) {
  if (OnDrawCell && CanFireEvents()) OnDrawCell(this, col, row, rect, state);
}

bool TCustomDrawGrid::SelectCell(Integer col, Integer row) {
  bool canSelect = true;
  if (OnSelectCell && CanFireEvents()) OnSelectCell(this, col, row, canSelect);
  return canSelect;
}

void TCustomDrawGrid::FocusCell(Integer col, Integer row) {
  if (col < FFixedCols || col >= FColCount || row < FFixedRows || row >= FRowCount) return;
  if (col == FCol && row == FRow) return;
  if (!SelectCell(col, row)) return;
  FCol = col;
  FRow = row;
  InvalidateGrid();
}

void TCustomDrawGrid::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft) {
    if (CanFocus()) SetFocus();
    auto [col, row] = MouseCell(x, y);
    if (col >= 0) FocusCell(col, row);
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomDrawGrid::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; break;
    case WM_ERASEBKGND: m.Result = 1; break;
    case WM_KEYDOWN: {
      Integer col = FCol, row = FRow;
      switch (m.WParam) {
        case VK_LEFT: --col; break;
        case VK_RIGHT: ++col; break;
        case VK_UP: --row; break;
        case VK_DOWN: ++row; break;
        case VK_HOME: col = FFixedCols; break;
        case VK_END: col = FColCount - 1; break;
        default: TCustomControl::Dispatch(m); return;
      }
      FocusCell(col, row);
      break;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateGrid();
      TCustomControl::Dispatch(m);
      break;
    default: TCustomControl::Dispatch(m); break;
  }
}

// ---------------------------------------------------------------------------
// The string grid

void TStringGrid::Describe(TClassBuilder<TStringGrid>&) {}

String TStringGrid::Cells(Integer col, Integer row) const {
  auto found = FCells.find({col, row});
  return found != FCells.end() ? found->second : String();
}

void TStringGrid::SetCells(Integer col, Integer row, const String& text) {
  if (col < 0 || row < 0) return;
  if (text.empty())
    FCells.erase({col, row});
  else
    FCells[{col, row}] = text;
  Invalidate();
}

void TStringGrid::DrawCell(Integer col, Integer row, const TRect& rect, TGridDrawState state) {
  if (DefaultDrawing()) {
    const String text = Cells(col, row);
    if (!text.empty()) {
      Canvas().Brush().SetStyle(bsClear);
      Canvas().TextRect(rect, rect.Left + 2, rect.Top + 2, text);
      Canvas().Brush().SetStyle(bsSolid);
    }
  }
  TDrawGrid::DrawCell(col, row, rect, state);
}

// ---------------------------------------------------------------------------
// The value list editor

void TValueListEditor::Describe(TClassBuilder<TValueListEditor>& c) {
  publish::WinControlBundle(c);
  c.Property(u"BorderStyle", &TValueListEditor::BorderStyle, &TValueListEditor::SetBorderStyle, &BorderStyleType())
      .Default(bsSingle);
  c.Property(u"DefaultColWidth", &TValueListEditor::DefaultColWidth, &TValueListEditor::SetDefaultColWidth)
      .Default(150);
  c.Property(u"DefaultRowHeight", &TValueListEditor::DefaultRowHeight, &TValueListEditor::SetDefaultRowHeight)
      .Default(18);
  c.Property(u"DefaultDrawing", &TValueListEditor::DefaultDrawing, &TValueListEditor::SetDefaultDrawing).Default(1);
  c.Property(u"DisplayOptions", &TValueListEditor::DisplayOptions, &TValueListEditor::SetDisplayOptions);
  c.Property(u"DrawingStyle", &TValueListEditor::DrawingStyle, &TValueListEditor::SetDrawingStyle).Default(gdsThemed);
  c.Property(u"FixedColor", &TValueListEditor::FixedColor, &TValueListEditor::SetFixedColor, &types::Color())
      .Default(clBtnFace);
  c.Property(u"FixedCols", &TValueListEditor::FixedCols, &TValueListEditor::SetFixedCols).Default(0);
  c.Property(u"GridLineWidth", &TValueListEditor::GridLineWidth, &TValueListEditor::SetGridLineWidth).Default(1);
  c.Property(u"KeyOptions", &TValueListEditor::KeyOptions, &TValueListEditor::SetKeyOptions);
  c.Property(u"Options", &TValueListEditor::Options, &TValueListEditor::SetOptions);
  c.Property(u"ScrollBars", &TValueListEditor::ScrollBars, &TValueListEditor::SetScrollBars).Default(ssBoth);
  c.Property(u"Strings", &TValueListEditor::GetStrings, &TValueListEditor::SetStrings);
  c.Property(u"TitleCaptions", &TValueListEditor::GetTitleCaptions, &TValueListEditor::SetTitleCaptions);
  c.Property(u"OnDrawCell", &TValueListEditor::OnDrawCell);
  c.Property(u"OnSelectCell", &TValueListEditor::OnSelectCell);
}

TValueListEditor::TValueListEditor(TComponent* owner)
    : TCustomDrawGrid(owner),
      FStrings(std::make_unique<TStringList>()),
      FTitleCaptions(std::make_unique<TStringList>()) {
  FTitleCaptions->Add(u"Key");
  FTitleCaptions->Add(u"Value");
  SetColCount(2);
  SetFixedCols(0);
  SetRowCount(2);
  SetDefaultColWidth(150);
  SetDefaultRowHeight(18);
  SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing, goEditing, goAlwaysShowEditor,
              goThumbTracking});
  FStrings->OnChange = [this](TObject* sender) { StringsChanged(sender); };
}

TValueListEditor::~TValueListEditor() {
  FStrings->OnChange = nullptr;
}

void TValueListEditor::SetStrings(const TStrings* strings) {
  if (strings) FStrings->Assign(*strings);
}

void TValueListEditor::SetTitleCaptions(const TStrings* captions) {
  if (captions) FTitleCaptions->Assign(*captions);
  Invalidate();
}

void TValueListEditor::SetDisplayOptions(TDisplayOptions value) {
  FDisplayOptions = value;
  StringsChanged(nullptr);
}

void TValueListEditor::StringsChanged(TObject*) {
  const Integer titles = FDisplayOptions.Contains(doColumnTitles) ? 1 : 0;
  SetRowCount(std::max<Integer>(FStrings->Count(), 1) + titles);
  SetFixedRows(titles);
}

void TValueListEditor::DrawCell(Integer col, Integer row, const TRect& rect, TGridDrawState state) {
  const Integer titles = FDisplayOptions.Contains(doColumnTitles) ? 1 : 0;
  String text;
  if (row < titles) {
    if (col < FTitleCaptions->Count()) text = (*FTitleCaptions)[col];
  } else if (const Integer line = row - titles; line < FStrings->Count()) {
    text = col == 0 ? FStrings->Names(line) : FStrings->ValueFromIndex(line);
  }
  if (DefaultDrawing() && !text.empty()) {
    Canvas().Brush().SetStyle(bsClear);
    Canvas().TextRect(rect, rect.Left + 2, rect.Top + 2, text);
    Canvas().Brush().SetStyle(bsSolid);
  }
  TCustomDrawGrid::DrawCell(col, row, rect, state);
}
