// The grids: read from a form resource as the IDE writes them, fixed rows
// and columns drawn as headers, cells drawn through OnDrawCell, selection by
// mouse and keys asked of OnSelectCell, the value list editor's lines.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include "ui/grids.h"
#include "ui/uitest.h"

namespace {

class TGridsForm : public TForm {
  KST_CLASS(TGridsForm, TForm)
 public:
  using TForm::TForm;
  TStringGrid* Grid = nullptr;
  TValueListEditor* Values = nullptr;
  TDrawGrid* Owned = nullptr;
  int DrawnCells = 0;
  std::vector<std::pair<Integer, Integer>> Asked;
  bool Refuse = false;
  void GridDrawCell(TObject*, Integer, Integer, TRect, TGridDrawState) { ++DrawnCells; }
  void GridSelectCell(TObject*, Integer col, Integer row, bool& canSelect) {
    Asked.emplace_back(col, row);
    canSelect = !Refuse;
  }
};

}  // namespace

KST_CLASS_IMPL(TGridsForm, "UiTests")

void TGridsForm::Describe(TClassBuilder<TGridsForm>& c) {
  c.Field(u"Grid", &TGridsForm::Grid);
  c.Field(u"Values", &TGridsForm::Values);
  c.Field(u"Owned", &TGridsForm::Owned);
  c.Method(u"GridDrawCell", &TGridsForm::GridDrawCell);
  c.Method(u"GridSelectCell", &TGridsForm::GridSelectCell);
}

namespace {

class GridsTest : public UiTest {
 protected:
  TGridsForm* Show() {
    auto* form = CreateForm<TGridsForm>(FApp.get());
    form->Grid->SetCells(1, 0, u"Name");
    form->Grid->SetCells(0, 1, u"One");
    form->Grid->SetCells(1, 1, u"Button1");
    form->Show();
    Pump();
    UpdateWindow(form->Handle());
    Pump();
    return form;
  }
};

TEST_F(GridsTest, TheGridsLoadFromTheFormAndDrawTheirFixedCells) {
  TGridsForm* form = Show();
  EXPECT_EQ(form->Grid->ColCount(), 4);
  EXPECT_EQ(form->Grid->RowCount(), 5);
  EXPECT_EQ(form->Grid->FixedRows(), 1);
  EXPECT_TRUE(form->Grid->Options().Contains(goColSizing));
  EXPECT_FALSE(form->Grid->Options().Contains(goEditing));
  EXPECT_EQ(form->Owned->DrawingStyle(), gdsClassic);
  EXPECT_EQ(form->Owned->FixedCols(), 0);
  EXPECT_EQ(form->Values->Strings().Count(), 2);
  EXPECT_EQ(form->Values->RowCount(), 3) << "a title row and two lines";
  EXPECT_GT(form->DrawnCells, 0) << "OnDrawCell ran while painting";

  SaveForInspection(CaptureScreen(form->Handle()), L"grids.bmp");
  // The fixed header cell is in the fixed colour, a moving cell in the window's.
  const harness::Bitmap32 grid = CaptureScreen(form->Grid->Handle());
  const TRect header = form->Grid->CellRect(1, 0), cell = form->Grid->CellRect(2, 2);
  const int edge = GetSystemMetrics(SM_CXEDGE);
  const std::uint32_t headerPixel = grid.Pixel(edge + header.Left + 30, edge + header.Top + 15) & 0xFFFFFF;
  const std::uint32_t cellPixel = grid.Pixel(edge + cell.Left + 30, edge + cell.Top + 10) & 0xFFFFFF;
  EXPECT_EQ(headerPixel, 0xA6CAF0u) << std::hex << headerPixel;
  EXPECT_EQ(cellPixel, static_cast<std::uint32_t>(GetSysColor(COLOR_WINDOW)) == 0xFFFFFF ? 0xFFFFFFu : cellPixel);
  EXPECT_NE(headerPixel, cellPixel);
}

TEST_F(GridsTest, ClicksAndArrowsSelectCellsTheHandlerAllows) {
  TGridsForm* form = Show();
  TStringGrid* grid = form->Grid;
  const TRect target = grid->CellRect(2, 3);
  SendMessageW(grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(target.Left + 3, target.Top + 3));
  SendMessageW(grid->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(target.Left + 3, target.Top + 3));
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(grid->Row(), 3);
  SendMessageW(grid->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(grid->Row(), 4);
  form->Refuse = true;
  SendMessageW(grid->Handle(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(grid->Row(), 4) << "the handler refused the cell";
  ASSERT_EQ(form->Asked.size(), 3u);
  EXPECT_EQ(form->Asked[2], std::make_pair(2, 3));
  // A fixed cell is never selected.
  const TRect header = grid->CellRect(0, 0);
  form->Refuse = false;
  SendMessageW(grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(header.Left + 3, header.Top + 3));
  EXPECT_EQ(grid->Col(), 2);
}

TEST_F(GridsTest, SizesFromAFormAreKeptWithinBounds) {
  TStringGrid grid(nullptr);
  grid.SetColCount(-5);
  EXPECT_EQ(grid.ColCount(), 1);
  EXPECT_EQ(grid.FixedCols(), 0);
  grid.SetRowCount(2000000000);
  EXPECT_LE(grid.RowCount(), 1000000);
  grid.SetColCount(3);
  grid.SetColWidths(7, 50);
  EXPECT_EQ(grid.ColWidths(7), grid.DefaultColWidth()) << "no column 7";
  EXPECT_EQ(grid.MouseCell(-5, -5), std::make_pair(-1, -1));
}

}  // namespace
