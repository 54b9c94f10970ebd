// Search and replace over the editor's lines: direction, area, prompts, and
// replace-all undone in one step.
#include <gtest/gtest.h>

#include "codeedit/editcaret.h"
#include "codeedit/editcore.h"
#include "codeedit/editsearch.h"
#include "codeedit/edittext.h"
#include "support/codeedit_fakehost.h"

namespace {

class EditSearchTest : public ::testing::Test {
 protected:
  void SetUp() override { Edit.SetSearchEngine(&Engine); }
  TFakeCodeEditHost Host;
  TCodeEditCore Edit{Host, nullptr};
  TCodeEditSearch Engine;
};

TEST_F(EditSearchTest, FindsForwardsAndBackwardsFromTheCaret) {
  Edit.Lines().SetTextStr(u"ab ab ab");
  Edit.Caret().SetCaretXY({3, 1});
  EXPECT_EQ(SearchReplace(Edit, u"ab", u"", {}), 1);
  EXPECT_EQ(Edit.Caret().BlockBegin(), (TBufferCoord{4, 1}));
  EXPECT_EQ(Edit.Caret().BlockEnd(), (TBufferCoord{6, 1}));
  Edit.Caret().SetCaretXY({6, 1});
  EXPECT_EQ(SearchReplace(Edit, u"ab", u"", {ssoBackwards}), 1);
  EXPECT_EQ(Edit.Caret().CaretXY(), (TBufferCoord{4, 1}));
  EXPECT_EQ(SearchReplace(Edit, u"", u"", {}), 0);
  Edit.SetSearchEngine(nullptr);
  EXPECT_THROW(SearchReplace(Edit, u"", u"", {}), ECodeEditError);
}

TEST_F(EditSearchTest, ReplaceAllShiftsLaterMatchesAndIsOneUndoStep) {
  Edit.Lines().SetTextStr(u"aba\r\nxa");
  Edit.Caret().SetCaretXY({1, 1});
  EXPECT_EQ(SearchReplace(Edit, u"a", u"cc", {ssoReplace, ssoReplaceAll}), 3);
  EXPECT_EQ(Edit.Lines().Get(0), u"ccbcc");
  EXPECT_EQ(Edit.Lines().Get(1), u"xcc");
  Edit.Editing().Undo();
  EXPECT_EQ(Edit.Lines().Get(0), u"aba");
  EXPECT_EQ(Edit.Lines().Get(1), u"xa");
}

// Replace All over many lines: every match replaced, one undo step back to
// the text, the scroll bars and the window brought up to date once.
TEST_F(EditSearchTest, ReplaceAllOverManyLinesIsOneStepAndOneRefresh) {
  String text, expected;
  for (int i = 0; i < 300; ++i) {
    const String line = i % 3 == 0 ? u"  Caption = 'ab ab'" : u"  Left = 8";
    if (i > 0) {
      text += u"\r\n";
      expected += u"\r\n";
    }
    text += line;
    String replaced = line;
    for (size_t at = replaced.find(u"ab"); at != String::npos; at = replaced.find(u"ab", at + 3))
      replaced.replace(at, 2, u"xyz");
    expected += replaced;
  }
  Edit.SetText(text);
  Edit.ClearUndo();
  Edit.Caret().SetCaretXY({1, 150});
  Host.ScrollBarUpdates = 0;
  Host.Updates = 0;
  EXPECT_EQ(SearchReplace(Edit, u"ab", u"xyz", {ssoReplaceAll, ssoEntireScope}), 200);
  EXPECT_EQ(Edit.Text(), expected);
  EXPECT_LE(Host.ScrollBarUpdates, 1);
  EXPECT_LE(Host.Updates, 1);
  Edit.Editing().Undo();
  EXPECT_EQ(Edit.Text(), text);
  EXPECT_FALSE(Edit.UndoList().CanUndo());
  Edit.Editing().Redo();
  EXPECT_EQ(Edit.Text(), expected);
}

TEST_F(EditSearchTest, PromptAnswersSkipAndReplaceAll) {
  Edit.Lines().SetTextStr(u"a a a a");
  Edit.Caret().SetCaretXY({1, 1});
  int asked = 0;
  const TReplaceTextEvent ask([&](TObject*, const String&, const String&, Integer, Integer,
                                  TCodeReplaceAction& action) { action = ++asked == 1 ? raSkip : raReplaceAll; });
  EXPECT_EQ(SearchReplace(Edit, u"a", u"b", {ssoReplace, ssoReplaceAll, ssoPrompt}, ask), 3);
  EXPECT_EQ(Edit.Lines().Get(0), u"a b b b");
  EXPECT_EQ(asked, 2);
}

}  // namespace
