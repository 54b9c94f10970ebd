#include "codeedit/displayform.h"

#include <gtest/gtest.h>

#include "codeedit/types.h"
#include "support/cellmetrics_fake.h"

namespace {

constexpr Char F = WideGlyphFiller;

struct FormCase {
  const char* name;
  String line;
  Integer tabWidth;
  String form;
};

class DisplayForms : public ::testing::TestWithParam<FormCase> {};

TEST_P(DisplayForms, PutTabStopsOnCellColumnsAndFillersBeforeWideGlyphs) {
  TFakeCellMetrics metrics;
  metrics.SetCells(0x1F680, 3);  // a pair wider than its two units
  metrics.SetCells(0x10400, 1);  // a pair narrower than its two units
  TCodeGlyphCells cells(&metrics);
  EXPECT_EQ(DisplayForm(GetParam().line, GetParam().tabWidth, cells), GetParam().form);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DisplayForms,
    ::testing::Values(FormCase{"Narrow", u"abc", 4, u"abc"}, FormCase{"Tab", u"a\tb", 4, u"a\t\t\tb"},
                      FormCase{"WideGlyph", u"a\u4E2Db", 4, String(u"a") + F + u"\u4E2Db"},
                      // the tab stop counts the wide glyph's two cells
                      FormCase{"WideBeforeTab", u"\u4E2D\tb", 4, String(1, F) + u"\u4E2D\t\tb"},
                      FormCase{"WideGlyphAtTabStop", u"abc\u4E2D\tx", 4, String(u"abc") + F + u"\u4E2D\t\t\tx"},
                      FormCase{"PairTwoCells", u"a\U0001F600b", 4, u"a\U0001F600b"},
                      FormCase{"PairThreeCells", u"\U0001F680", 4, String(1, F) + u"\U0001F680"},
                      FormCase{"NarrowPairKeepsTwoCells", u"\U00010400\tx", 4, u"\U00010400\t\tx"},
                      FormCase{"LoneSurrogate", String(1, Char(0xD800)) + u"\t", 4,
                               String(1, Char(0xD800)) + u"\t\t\t"},
                      FormCase{"TabWidthOne", u"\u4E2D\tb", 1, String(1, F) + u"\u4E2D b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DisplayForms, WithoutMetricsEveryGlyphIsOneCell) {
  TCodeGlyphCells cells;
  bool hasTabs = false;
  EXPECT_EQ(DisplayForm(u"\u4E2D\tb", 4, cells, &hasTabs), u"\u4E2D\t\t\tb");
  EXPECT_TRUE(hasTabs);
  DisplayForm(u"ab", 4, cells, &hasTabs);
  EXPECT_FALSE(hasTabs);
}

TEST(DisplayForms, AskTheMetricsOncePerCharacterUntilTheFontChanges) {
  TFakeCellMetrics metrics;
  TCodeGlyphCells cells(&metrics);
  DisplayForm(u"abab\U0001F600\U0001F600", 8, cells);
  EXPECT_EQ(metrics.Questions(), 3);
  DisplayForm(u"ba", 8, cells);
  EXPECT_EQ(metrics.Questions(), 3);
  cells.FontChanged();
  DisplayForm(u"ba", 8, cells);
  EXPECT_EQ(metrics.Questions(), 5);
}

struct CoordCase {
  Integer aChar;
  Integer column;
};

// Coordinates agree with the display form: the column of a character is its
// position in the form (after its fillers' cells start), and every column of
// a glyph's cells maps back to the glyph's first code unit.
TEST(DisplayCoordinates, FollowTheDisplayForm) {
  TFakeCellMetrics metrics;
  TCodeGlyphCells cells(&metrics);
  const String line = u"\u4E2D\tb\U0001F600c";  // cells: 2, tab to 4, 1, 2, 1
  for (const CoordCase& c : {CoordCase{1, 1}, CoordCase{2, 3}, CoordCase{3, 5}, CoordCase{4, 6}, CoordCase{5, 6},
                             CoordCase{6, 8}, CoordCase{7, 9}, CoordCase{9, 11}}) {
    EXPECT_EQ(CharToDisplayColumn(line, c.aChar, 4, cells), c.column) << "char " << c.aChar;
  }
  for (const CoordCase& c : {CoordCase{1, 1}, CoordCase{1, 2}, CoordCase{2, 3}, CoordCase{2, 4}, CoordCase{3, 5},
                             CoordCase{4, 6}, CoordCase{4, 7}, CoordCase{6, 8}, CoordCase{7, 9}, CoordCase{9, 11}}) {
    EXPECT_EQ(DisplayColumnToChar(line, c.column, 4, cells), c.aChar) << "column " << c.column;
  }
  EXPECT_EQ(DisplayForm(line, 4, cells).size(), 8u);
}

TEST(DisplayCoordinates, EmptyLineCountsOneCellPerPosition) {
  TCodeGlyphCells cells;
  EXPECT_EQ(CharToDisplayColumn(u"", 5, 8, cells), 5);
  EXPECT_EQ(DisplayColumnToChar(u"", 5, 8, cells), 5);
}

}  // namespace
