// The editor's paint plan without a window: which rows are painted, their
// runs of token colours, the selection spans in the three modes, the caret
// line, special characters, the right edge and the gutter's contents.
#include <gtest/gtest.h>

#include "codeedit/dfmhighlighter.h"
#include "codeedit/editcaret.h"
#include "codeedit/editcore.h"
#include "codeedit/paintplan.h"
#include "support/codeedit_fakehost.h"

namespace {

class PaintPlanTest : public ::testing::Test {
 protected:
  TFakeCodeEditHost Host;
  TCodeEditCore Edit{Host, nullptr};
  TCodePaintColors Colors{clBlack, clWhite};

  TCodePaintPlan Plan() { return MakePaintPlan(Edit, Colors, {0, 0, Host.Width, Host.Height}, true); }
  // The run that paints the column of the row.
  static const TCodePaintRun& RunAt(const TCodePaintRow& row, Integer column) {
    for (const TCodePaintRun& run : row.Runs)
      if (column >= run.Column && column < run.Column + static_cast<Integer>(run.Text.size())) return run;
    static const TCodePaintRun none;
    return none;
  }
  // The selected columns of the row as a string of '#' and '.' over the first `count` columns.
  static std::string Selected(const TCodePaintRow& row, Integer count) {
    std::string result;
    for (Integer column = 1; column <= count; ++column) result += RunAt(row, column).Selected ? '#' : '.';
    return result;
  }
};

TEST_F(PaintPlanTest, PaintsTheVisibleRowsWithTheirTextAndLineNumbers) {
  Edit.Lines().SetTextStr(u"one\r\ntwo\r\nthree");
  Edit.Gutter().SetShowLineNumbers(true);
  const TCodePaintPlan plan = Plan();
  ASSERT_EQ(plan.Rows.size(), 3u);
  const char16_t* texts[] = {u"one", u"two", u"three"};
  for (size_t i = 0; i < 3; ++i) {
    const TCodePaintRow& row = plan.Rows[i];
    EXPECT_EQ(row.Line, static_cast<Integer>(i + 1));
    EXPECT_EQ(row.Top, static_cast<Integer>(i) * TFakeCodeEditHost::CellHeight);
    EXPECT_EQ(row.LineNumber, Edit.Gutter().FormatLineNumber(row.Line));
    String shown;
    for (const TCodePaintRun& run : row.Runs) shown += run.Text;
    EXPECT_EQ(shown.substr(0, String(texts[i]).size()), texts[i]);
    EXPECT_EQ(row.Runs.front().Column, plan.FirstColumn);
  }
  EXPECT_EQ(plan.Rows[2].LineNumber.back(), u'3');
  // Only the rows the area reaches.
  const TCodePaintPlan part = MakePaintPlan(Edit, Colors, {0, 16, Host.Width, 32}, true);
  ASSERT_FALSE(part.Rows.empty());
  EXPECT_EQ(part.Rows[0].Line, 2);
  EXPECT_LE(part.Rows.size(), 2u);
}

TEST_F(PaintPlanTest, TokensRunInTheirHighlighterColours) {
  TCodeDfmHighlighter highlighter;
  highlighter.KeywordAttribute()->SetForeground(clNavy);
  highlighter.KeywordAttribute()->SetStyle({fsBold});
  highlighter.StringAttribute()->SetForeground(clRed);
  Edit.SetHighlighter(&highlighter);
  Edit.Lines().SetTextStr(u"object Form1: TForm1\r\n  Caption = 'Hi'\r\nend");
  Edit.Caret().SetCaretXY({1, 3});
  const TCodePaintPlan plan = Plan();
  ASSERT_EQ(plan.Rows.size(), 3u);
  const TCodePaintRun& keyword = RunAt(plan.Rows[0], 1);
  EXPECT_EQ(keyword.Text, u"object");
  EXPECT_EQ(keyword.Foreground, clNavy);
  EXPECT_TRUE(keyword.Style.Contains(fsBold));
  EXPECT_NE(RunAt(plan.Rows[0], 8).Foreground, clNavy);
  const TCodePaintRun& text = RunAt(plan.Rows[1], 13);
  EXPECT_EQ(text.Foreground, clRed);
  EXPECT_EQ(text.Text, u"'Hi'");
  Edit.SetHighlighter(nullptr);
}

// A tab takes several cells; the tokens after it keep their colours on the
// columns where their characters are drawn.
TEST_F(PaintPlanTest, TokensAfterATabKeepTheirColumns) {
  TCodeDfmHighlighter highlighter;
  highlighter.IdentifierAttribute()->SetForeground(clMaroon);
  highlighter.StringAttribute()->SetForeground(clRed);
  highlighter.CommentAttribute()->SetForeground(clGreen);
  Edit.SetHighlighter(&highlighter);
  for (const Integer tabWidth : {2, 4, 8}) {
    Edit.SetTabWidth(tabWidth);
    Edit.Lines().SetTextStr(u"\tCaption = 'a b'\t{c}\r\nend");
    Edit.Caret().SetCaretXY({1, 2});
    const TCodePaintPlan plan = Plan();
    const String shown = Edit.Lines().ExpandedText(0);
    const auto columnOf = [&](StringView part) { return static_cast<Integer>(shown.find(part)) + 1; };
    const TCodePaintRun& identifier = RunAt(plan.Rows[0], columnOf(u"Caption"));
    EXPECT_EQ(identifier.Text, u"Caption") << "tab width " << tabWidth;
    EXPECT_EQ(identifier.Foreground, clMaroon);
    const TCodePaintRun& text = RunAt(plan.Rows[0], columnOf(u"'a b'"));
    EXPECT_EQ(text.Text, u"'a b'") << "tab width " << tabWidth;
    EXPECT_EQ(text.Foreground, clRed);
    const TCodePaintRun& comment = RunAt(plan.Rows[0], columnOf(u"{c}"));
    EXPECT_EQ(comment.Text, u"{c}") << "tab width " << tabWidth;
    EXPECT_EQ(comment.Foreground, clGreen);
  }
  Edit.SetHighlighter(nullptr);
}

TEST_F(PaintPlanTest, SelectionSpansFollowTheSelectionMode) {
  Edit.Lines().SetTextStr(u"abcdef\r\nabcdef\r\nabcdef");
  struct Case {
    TCodeSelectionMode mode;
    const char* rows[3];
  } cases[] = {
      {smNormal, {"..######", "####....", "........"}},
      {smColumn, {"..##....", "..##....", "........"}},
      {smLine, {"########", "########", "........"}},
  };
  for (const Case& c : cases) {
    Edit.Caret().SetSelectionMode(c.mode);
    Edit.Caret().SetCaretAndSelection({5, 2}, {3, 1}, {5, 2});
    const TCodePaintPlan plan = Plan();
    for (size_t row = 0; row < 3; ++row)
      EXPECT_EQ(Selected(plan.Rows[row], 8), c.rows[row]) << "mode " << c.mode << " row " << row + 1;
    const TCodePaintRun& selected = RunAt(plan.Rows[0], 3);
    EXPECT_EQ(selected.Background, Edit.SelectedColor().Background());
    EXPECT_EQ(selected.Foreground, Edit.SelectedColor().Foreground());
  }
  // A hidden selection of an unfocused editor is not painted.
  Edit.SetHideSelection(true);
  EXPECT_EQ(Selected(MakePaintPlan(Edit, Colors, {0, 0, Host.Width, Host.Height}, false).Rows[0], 8), "........");
}

TEST_F(PaintPlanTest, TheCaretLineTakesTheActiveLineColourOverTokenBackgrounds) {
  TCodeDfmHighlighter highlighter;
  highlighter.KeywordAttribute()->SetBackground(clLime);
  Edit.SetHighlighter(&highlighter);
  Edit.Lines().SetTextStr(u"object A: TA\r\nend");
  Edit.SetActiveLineColor(clYellow);
  Edit.Caret().SetCaretXY({1, 1});
  TCodePaintPlan plan = Plan();
  EXPECT_EQ(RunAt(plan.Rows[0], 1).Background, clYellow);
  EXPECT_EQ(RunAt(plan.Rows[0], 20).Background, clYellow);
  EXPECT_EQ(RunAt(plan.Rows[1], 1).Background, clLime);
  EXPECT_EQ(plan.EmptyBackground, clWhite);
  Edit.SetHighlighter(nullptr);
}

TEST_F(PaintPlanTest, SpecialCharactersRightEdgeAndBookmarks) {
  Edit.Lines().SetTextStr(u"a b\r\nc");
  Edit.SetOptions(Edit.Options() + TCodeEditorOptions{eoShowSpecialChars});
  Edit.SetRightEdge(10);
  Edit.SetBookMark(3, 1, 2);
  const TCodePaintPlan plan = Plan();
  String first;
  for (const TCodePaintRun& run : plan.Rows[0].Runs) first += run.Text;
  EXPECT_EQ(first.substr(0, 4), u"a\u2219b\u00B6");
  EXPECT_EQ(plan.RightEdgeX, 10 * TFakeCodeEditHost::CellWidth + Edit.TextOffset());
  EXPECT_TRUE(plan.Rows[0].Marks.empty());
  ASSERT_EQ(plan.Rows[1].Marks.size(), 1u);
  EXPECT_TRUE(plan.Rows[1].Marks[0].Bookmark);
  EXPECT_EQ(plan.Rows[1].Marks[0].ImageIndex, 3);
}

}  // namespace
