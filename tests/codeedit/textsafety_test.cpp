// Edits that must never corrupt or lose text: matches replaced as the
// characters they matched, text beyond the scroll width, undo steps kept
// whole by the limit, cutting what the clipboard cannot hold, read-only
// texts, column copies.
#include <gtest/gtest.h>

#include "codeedit/editcaret.h"
#include "codeedit/editcommands.h"
#include "codeedit/editcore.h"
#include "codeedit/editsearch.h"
#include "codeedit/edittext.h"
#include "support/codeedit_fakehost.h"

namespace {

class TextSafety : public ::testing::Test {
 protected:
  void SetUp() override { Edit.SetSearchEngine(&Engine); }
  TFakeCodeEditHost Host;
  TCodeEditCore Edit{Host, nullptr};
  TCodeEditSearch Engine;

  TCodeEditCaret& Caret() { return Edit.Caret(); }
  String Line(Integer line) { return Edit.Lines().Get(line - 1); }
  void Command(TCodeEditorCommand command, Char c = 0) { Edit.Commands().CommandProcessor(command, c, nullptr); }
};

// Line selection mode is the user's choice for selecting; a match is still
// the characters that matched.
TEST_F(TextSafety, LineModeReplacesOnlyTheMatchedCharacters) {
  Edit.Lines().SetTextStr(u"  Caption = 'ab'\r\n  Hint = 'ab'");
  Caret().SetSelectionMode(smLine);
  Caret().SetCaretXY({1, 1});
  EXPECT_EQ(SearchReplace(Edit, u"ab", u"XY", {ssoReplace}), 1);
  EXPECT_EQ(Line(1), u"  Caption = 'XY'");
  EXPECT_EQ(Line(2), u"  Hint = 'ab'");
  EXPECT_EQ(SearchReplace(Edit, u"ab", u"", {}), 1);
  EXPECT_EQ(Caret().ActiveSelectionMode(), smNormal);
  EXPECT_EQ(Edit.Editing().SelText(), u"ab");
  EXPECT_EQ(Caret().SelectionMode(), smLine);
}

// Long lines of binary data: the scroll width limits scrolling only.
TEST_F(TextSafety, TextBeyondTheScrollWidthIsFoundSelectedAndTyped) {
  const String longLine = String(1500, u'0') + u"ab" + String(100, u'1');
  Edit.Lines().SetTextStr(longLine);
  Edit.SetOptions(Edit.Options() + TCodeEditorOptions{eoScrollPastEol} - TCodeEditorOptions{eoAutoSizeMaxScrollWidth});
  ASSERT_EQ(Edit.MaxScrollWidth(), 1024);
  Caret().SetCaretXY({1, 1});
  EXPECT_EQ(SearchReplace(Edit, u"ab", u"", {}), 1);
  EXPECT_EQ(Edit.Editing().SelText(), u"ab");
  Caret().SetCaretXY({1, 1});
  EXPECT_EQ(SearchReplace(Edit, u"ab", u"XY", {ssoReplace, ssoReplaceAll}), 1);
  EXPECT_EQ(Line(1), String(1500, u'0') + u"XY" + String(100, u'1'));
  Caret().SetCaretXY({1, 1});
  Command(ecSelLineEnd);
  EXPECT_EQ(Edit.Editing().SelText().size(), longLine.size());
  Command(ecLineEnd);
  EXPECT_EQ(Caret().CaretX(), static_cast<Integer>(longLine.size()) + 1);
  Command(ecChar, u'z');
  EXPECT_EQ(Line(1).back(), u'z');
  EXPECT_EQ(Line(1).size(), longLine.size() + 1);
  // Past the end, the blank space still stops at the scroll width.
  Edit.Lines().SetTextStr(u"short");
  Caret().SetCaretXY({5000, 1});
  EXPECT_EQ(Caret().CaretX(), 1025);
}

// The program's forms set a limit of 10: each step undoes whole, and the
// limit drops whole old steps.
TEST_F(TextSafety, UndoLimitCountsWholeSteps) {
  String text;
  for (int i = 0; i < 12; ++i) text += u"a\r\n";
  Edit.Lines().SetTextStr(text);
  Edit.SetMaxUndo(10);
  Caret().SetCaretXY({1, 1});
  EXPECT_EQ(SearchReplace(Edit, u"a", u"b", {ssoReplace, ssoReplaceAll}), 12);
  Edit.Editing().Undo();
  for (Integer line = 1; line <= 12; ++line) EXPECT_EQ(Line(line), u"a") << line;
  EXPECT_FALSE(Edit.UndoList().CanUndo());
  // Eleven typed steps under a limit of 10 keep the newest ten, each whole.
  Edit.Lines().SetTextStr(u"");
  Edit.ClearUndo();
  Edit.SetOptions(Edit.Options() - TCodeEditorOptions{eoGroupUndo});
  for (int i = 0; i < 11; ++i) {
    Caret().SetCaretXY({1, 1});
    Command(ecChar, u'x');
  }
  int steps = 0;
  while (Edit.UndoList().CanUndo()) {
    Edit.Editing().Undo();
    ++steps;
  }
  EXPECT_EQ(steps, 10);
  EXPECT_EQ(Line(1), u"x");
}

TEST_F(TextSafety, CutNeverDeletesWhatTheClipboardCannotHold) {
  Edit.Lines().SetTextStr(String(u"ab") + Char{0} + u"cd");
  Caret().SetCaretAndSelection({6, 1}, {1, 1}, {6, 1});
  Edit.Editing().CutToClipboard();
  EXPECT_EQ(Line(1).size(), 5u);
}

TEST_F(TextSafety, ReplaceLeavesAReadOnlyTextAlone) {
  Edit.Lines().SetTextStr(u"ab ab");
  Edit.SetReadOnly(true);
  Caret().SetCaretXY({1, 1});
  EXPECT_EQ(SearchReplace(Edit, u"ab", u"x", {ssoReplace}), 0);
  EXPECT_EQ(SearchReplace(Edit, u"ab", u"x", {ssoReplace, ssoReplaceAll}), 0);
  EXPECT_EQ(Line(1), u"ab ab");
}

TEST_F(TextSafety, ColumnCopyKeepsThePaddingOfShortRows) {
  Edit.SetOptions(Edit.Options() + TCodeEditorOptions{eoTrimTrailingSpaces});
  Edit.Lines().SetTextStr(u"abcd\r\nx\r\nabcd");
  Caret().SetSelectionMode(smColumn);
  Caret().SetCaretAndSelection({4, 3}, {1, 1}, {4, 3});
  Edit.Editing().CopyToClipboard();
  EXPECT_EQ(Host.Clipboard, u"abc\r\nx  \r\nabc");
}

}  // namespace
