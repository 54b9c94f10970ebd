// Token queries, bracket matching and going to a centred line.
#include <gtest/gtest.h>

#include "codeedit/dfmhighlighter.h"
#include "codeedit/editcaret.h"
#include "codeedit/editcommands.h"
#include "codeedit/editcore.h"
#include "codeedit/editqueries.h"
#include "support/codeedit_fakehost.h"

namespace {

class EditQueriesTest : public ::testing::Test {
 protected:
  TFakeCodeEditHost Host;
  TCodeEditCore Edit{Host, nullptr};
};

TEST_F(EditQueriesTest, BracketsMatchAcrossLinesAndNesting) {
  Edit.Lines().SetTextStr(u"a((b)\r\n[c]) <d>");
  struct Case {
    TBufferCoord from, to;
  } cases[] = {
      {{2, 1}, {4, 2}}, {{3, 1}, {5, 1}}, {{5, 1}, {3, 1}}, {{4, 2}, {2, 1}},
      {{1, 2}, {3, 2}}, {{6, 2}, {8, 2}}, {{1, 1}, {0, 0}}, {{40, 1}, {0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(GetMatchingBracketEx(Edit, c.from), c.to) << c.from.Char << "," << c.from.Line;
}

TEST_F(EditQueriesTest, BracketsInStringsDoNotCountAndNoMatchLeavesTheCaret) {
  TCodeDfmHighlighter highlighter;
  Edit.SetHighlighter(&highlighter);
  Edit.Lines().SetTextStr(u"X = (1 ')' 2)\r\nY = (3");
  EXPECT_EQ(GetMatchingBracketEx(Edit, {5, 1}), (TBufferCoord{13, 1}));
  String token;
  TCodeHighlighterAttributes* attribute = nullptr;
  ASSERT_TRUE(GetHighlighterAttriAtRowCol(Edit, {9, 1}, token, attribute));
  EXPECT_EQ(token, u"')'");
  EXPECT_EQ(attribute, highlighter.StringAttribute());
  EXPECT_FALSE(GetHighlighterAttriAtRowCol(Edit, {30, 1}, token, attribute));
  EXPECT_EQ(attribute, nullptr);
  Edit.Caret().SetCaretXY({5, 2});
  Edit.Commands().CommandProcessor(ecMatchBracket, 0, nullptr);
  EXPECT_EQ(Edit.Caret().CaretXY(), (TBufferCoord{5, 2}));
  Edit.Caret().SetCaretXY({5, 1});
  Edit.Commands().CommandProcessor(ecMatchBracket, 0, nullptr);
  EXPECT_EQ(Edit.Caret().CaretXY(), (TBufferCoord{13, 1}));
  Edit.SetHighlighter(nullptr);
}

TEST_F(EditQueriesTest, GotoLineAndCenterClampsToTheText) {
  String text;
  for (int i = 0; i < 100; ++i) text += i ? u"\r\nline" : u"line";
  Edit.Lines().SetTextStr(text);
  GotoLineAndCenter(Edit, 1000);
  EXPECT_EQ(Edit.Caret().CaretY(), 100);
  EXPECT_EQ(Edit.Caret().CaretX(), 1);
  GotoLineAndCenter(Edit, 50);
  EXPECT_GT(Edit.Caret().TopLine(), 30);
}

}  // namespace
