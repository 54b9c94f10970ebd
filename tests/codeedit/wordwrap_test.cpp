#include "codeedit/wordwrap.h"

#include <gtest/gtest.h>

#include "rtl/exceptions.h"
#include "support/cellmetrics_fake.h"

namespace {

class FakeEditor : public ICodeWordWrapHost {
 public:
  TCodeEditStringList& WrapLines() override { return lines; }
  Integer CharsInWindow() const override { return chars; }
  bool IsWordBreakChar(Char c) const override {
    return c <= 47 || (c >= 58 && c <= 64) || (c >= 91 && c <= 94) || c == 96 || (c >= 123 && c <= 126);
  }

  TFakeCellMetrics metrics;
  TCodeEditStringList lines{&metrics};
  Integer chars = 10;
};

std::vector<Integer> RowsOf(const TCodeWordWrapPlugin& wrap) {
  std::vector<Integer> rows;
  for (Integer row = 1; row <= wrap.RowCount(); ++row) rows.push_back(wrap.GetRowLength(row));
  return rows;
}

struct WrapCase {
  const char* name;
  String line;
  std::vector<Integer> rows;
};

class WrapLines : public ::testing::TestWithParam<WrapCase> {};

TEST_P(WrapLines, BreakIntoTheseRows) {
  FakeEditor editor;
  editor.lines.Add(GetParam().line);
  TCodeWordWrapPlugin wrap(&editor);
  EXPECT_EQ(wrap.MinRowLength(), 7);
  EXPECT_EQ(RowsOf(wrap), GetParam().rows);
}

const String F(1, WideGlyphFiller);

INSTANTIATE_TEST_SUITE_P(
    Width10, WrapLines,
    ::testing::Values(WrapCase{"NoBreakCharacters", String(25, u'a'), {10, 10, 5}},
                      WrapCase{"SpaceAfterEight", String(8, u'a') + u" " + String(10, u'b'), {8, 10, 1}},
                      WrapCase{"SpaceAtTheMinimumIsIgnored", String(7, u'a') + u" " + String(10, u'b'), {10, 8}},
                      WrapCase{"ExactlyOneRow", String(10, u'a'), {10}}, WrapCase{"Empty", u"", {0}},
                      WrapCase{"WideGlyphMovesWhole", String(9, u'a') + u"\u4E2Dx", {9, 3}},
                      WrapCase{"SurrogatePairMovesWhole", String(9, u'a') + u"\U0001F600x", {9, 3}},
                      WrapCase{"TabsCountTheirCells", u"abcdefgh\tij", {10, 8}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WordWrap, AGlyphWiderThanTheWindowTakesARowOfItsOwn) {
  FakeEditor editor;
  editor.chars = 1;
  editor.lines.Add(u"\u4E2Da");
  TCodeWordWrapPlugin wrap(&editor);
  EXPECT_EQ(RowsOf(wrap), (std::vector<Integer>{2, 1}));
}

TEST(WordWrap, PositionsMapToRowsAndBack) {
  FakeEditor editor;
  editor.lines.SetText(String(20, u'a') + u"\r\nshort");
  TCodeWordWrapPlugin wrap(&editor);
  ASSERT_EQ(wrap.RowCount(), 3);
  EXPECT_EQ(wrap.BufferToDisplayPos({10, 1}), (TDisplayCoord{10, 1}));
  EXPECT_EQ(wrap.BufferToDisplayPos({11, 1}), (TDisplayCoord{1, 2}));
  EXPECT_EQ(wrap.BufferToDisplayPos({21, 1}), (TDisplayCoord{11, 2}));  // after the end: on the last row
  EXPECT_EQ(wrap.BufferToDisplayPos({3, 2}), (TDisplayCoord{3, 3}));
  EXPECT_EQ(wrap.BufferToDisplayPos({4, 5}), (TDisplayCoord{4, 6}));   // beyond the lines
  EXPECT_EQ(wrap.DisplayToBufferPos({50, 1}), (TBufferCoord{11, 1}));  // limited to the row
  EXPECT_EQ(wrap.DisplayToBufferPos({5, 2}), (TBufferCoord{15, 1}));
  EXPECT_EQ(wrap.DisplayToBufferPos({50, 2}), (TBufferCoord{21, 1}));  // last row: limited to the width
  EXPECT_EQ(wrap.DisplayToBufferPos({50, 3}), (TBufferCoord{11, 2}));
  EXPECT_EQ(wrap.DisplayToBufferPos({7, 5}), (TBufferCoord{7, 4}));
}

TEST(WordWrap, RowIndexesOutsideTheRowsFail) {
  FakeEditor editor;
  editor.lines.Add(u"x");
  TCodeWordWrapPlugin wrap(&editor);
  try {
    wrap.GetRowLength(2);
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), u"List index out of bounds (2)");
  }
  EXPECT_THROW(wrap.GetRowLength(0), EListError);
}

TEST(WordWrap, NeedsAnEditor) {
  try {
    TCodeWordWrapPlugin wrap(nullptr);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Owner of TCodeWordWrapPlugin must be a TCustomCodeEdit");
  }
}

TEST(WordWrap, FollowsInsertedDeletedAndChangedLines) {
  FakeEditor editor;
  editor.lines.SetText(u"a\r\nb");
  TCodeWordWrapPlugin wrap(&editor);
  editor.lines.InsertLines(1, 2);
  editor.lines.Put(1, String(15, u'x'));
  editor.lines.Put(2, String(25, u'y'));
  EXPECT_EQ(wrap.LinesInserted(1, 2), 5);
  EXPECT_EQ(RowsOf(wrap), (std::vector<Integer>{1, 10, 5, 10, 10, 5, 1}));
  editor.lines.Put(2, u"z");
  EXPECT_EQ(wrap.LinesPutted(2, 1), -2);
  EXPECT_EQ(RowsOf(wrap), (std::vector<Integer>{1, 10, 5, 1, 1}));
  editor.lines.DeleteLines(0, 2);
  EXPECT_EQ(wrap.LinesDeleted(0, 2), 3);
  EXPECT_EQ(RowsOf(wrap), (std::vector<Integer>{1, 1}));
  EXPECT_EQ(wrap.LineCount(), 2);
  EXPECT_EQ(wrap.BufferToDisplayPos({1, 2}), (TDisplayCoord{1, 2}));
}

TEST(WordWrap, AWidthChangeWrapsAgainAndNoWidthMeansNoRows) {
  FakeEditor editor;
  editor.lines.Add(String(25, u'a'));
  TCodeWordWrapPlugin wrap(&editor);
  editor.chars = 10;
  wrap.DisplayChanged();
  EXPECT_EQ(wrap.RowCount(), 3);
  editor.chars = 20;
  wrap.DisplayChanged();
  EXPECT_EQ(RowsOf(wrap), (std::vector<Integer>{20, 5}));
  editor.chars = 0;
  wrap.DisplayChanged();
  EXPECT_EQ(wrap.RowCount(), 0);
  EXPECT_EQ(wrap.LineCount(), 0);
  EXPECT_EQ(wrap.LinesInserted(0, 1), 0);
}

}  // namespace
