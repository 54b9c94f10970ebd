// The editor core driven through a stand-in window: state and properties,
// caret and selection in their three modes, text modification with undo and
// redo, word wrap, and the command pipeline.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "codeedit/editcaret.h"
#include "codeedit/editcommands.h"
#include "codeedit/editcore.h"
#include "codeedit/edittext.h"
#include "support/codeedit_fakehost.h"

namespace {

class EditCoreTest : public ::testing::Test {
 protected:
  TFakeCodeEditHost Host;
  TCodeEditCore Edit{Host, nullptr};

  TCodeEditCaret& Caret() { return Edit.Caret(); }
  TCodeEditText& Editing() { return Edit.Editing(); }

  void SetText(const char16_t* text) { Edit.Lines().SetTextStr(text); }
  String Line(Integer line) { return Edit.Lines().Get(line - 1); }
  // The lines joined with "|", which shows trailing blanks.
  String Joined() {
    String result;
    for (Integer i = 0; i < Edit.Lines().GetCount(); ++i) {
      if (i > 0) result += u"|";
      result += Edit.Lines().Get(i);
    }
    return result;
  }
  void Command(TCodeEditorCommand command, Char c = 0, void* data = nullptr) {
    Edit.Commands().CommandProcessor(command, c, data);
  }
  void Type(const char16_t* text) {
    for (const char16_t* p = text; *p; ++p) Command(ecChar, *p);
  }
  void Select(TBufferCoord anchor, TBufferCoord moving) { Caret().SetCaretAndSelection(moving, anchor, moving); }
  void UndoAll() {
    while (Edit.UndoList().CanUndo()) Edit.Editing().Undo();
  }
  void RedoAll() {
    while (Edit.RedoList().CanUndo()) Edit.Editing().Redo();
  }
};

std::string Narrow(const String& s) {
  return std::string(s.begin(), s.end());
}

// ---- Model and lifecycle ----

TEST_F(EditCoreTest, NewEditorHasTheDocumentedDefaults) {
  EXPECT_EQ(Edit.Options().Bits(), 0x026C0192u);
  EXPECT_EQ(Caret().CaretXY(), (TBufferCoord{1, 1}));
  EXPECT_EQ(Caret().TopLine(), 1);
  EXPECT_EQ(Caret().LeftChar(), 1);
  EXPECT_EQ(Edit.TabWidth(), 8);
  EXPECT_EQ(Edit.MaxScrollWidth(), 1024);
  EXPECT_EQ(Edit.MaxUndo(), 1024);
  EXPECT_TRUE(Edit.InsertMode());
  EXPECT_EQ(Edit.RightEdge(), 80);
  EXPECT_EQ(Edit.RightEdgeColor(), clSilver);
  EXPECT_EQ(Edit.ActiveLineColor(), clNone);
  EXPECT_EQ(Edit.Keystrokes().Count(), 82);
  EXPECT_EQ(Edit.CharWidth(), TFakeCodeEditHost::CellWidth);
  EXPECT_EQ(Edit.LineHeight(), TFakeCodeEditHost::CellHeight);
  EXPECT_EQ(Edit.CharsInWindow(), 80);
  EXPECT_EQ(Edit.LinesInWindow(), 25);
}

TEST_F(EditCoreTest, OutOfRangeValuesAreClampedOrIgnored) {
  const struct { Integer given, expected; } tabs[] = {{0, 1}, {300, 256}, {4, 4}, {-5, 1}};
  for (const auto& c : tabs) {
    Edit.SetTabWidth(c.given);
    EXPECT_EQ(Edit.TabWidth(), c.expected) << c.given;
    EXPECT_EQ(Edit.Lines().TabWidth(), c.expected);
  }
  Edit.SetMaxScrollWidth(0);
  EXPECT_EQ(Edit.MaxScrollWidth(), 1);
  Edit.SetMaxUndo(-1);
  EXPECT_EQ(Edit.MaxUndo(), 1024);
  Edit.SetMaxUndo(5);
  EXPECT_EQ(Edit.RedoList().MaxUndoActions(), 5);
}

TEST_F(EditCoreTest, StatusChangesWaitForAHandlerAndForTheEndOfThePaintLock) {
  std::vector<TCodeStatusChanges> seen;
  Caret().SetCaretXY({1, 1});
  SetText(u"one\r\ntwo");
  Caret().SetCaretY(2);
  // No handler yet: the changes stay pending and the first handler gets them.
  Edit.OnStatusChange = [&](TObject*, TCodeStatusChanges changes) { seen.push_back(changes); };
  Edit.SetReadOnly(true);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].Contains(scCaretY));
  EXPECT_TRUE(seen[0].Contains(scReadOnly));
  Edit.SetReadOnly(false);
  seen.clear();
  Edit.BeginUpdate();
  Caret().SetCaretX(3);
  Edit.SetInsertMode(false);
  Caret().SetCaretY(1);
  EXPECT_TRUE(seen.empty());
  Edit.EndUpdate();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].Contains(scCaretX));
  EXPECT_TRUE(seen[0].Contains(scCaretY));
  EXPECT_TRUE(seen[0].Contains(scInsertMode));
  EXPECT_THROW(Edit.EndUpdate(), EAssertionFailed);
}

TEST_F(EditCoreTest, SavingBreaksTheUndoGroup) {
  Type(u"ab");
  EXPECT_TRUE(Edit.Modified());
  Edit.SetModified(false);
  EXPECT_EQ(Edit.UndoList().LastChangeReason(), crGroupBreak);
  Type(u"cd");
  EXPECT_TRUE(Edit.Modified());
  Editing().Undo();
  EXPECT_EQ(Line(1), u"ab");
  EXPECT_FALSE(Edit.Modified());
  Editing().Undo();
  EXPECT_EQ(Edit.Lines().GetCount(), 1);
  EXPECT_EQ(Line(1), u"");
}

TEST_F(EditCoreTest, OnChangeFiresOncePerChangeAndOncePerBlock) {
  int changes = 0;
  Edit.OnChange = [&](TObject*) { ++changes; };
  Type(u"a");
  EXPECT_EQ(changes, 1);
  Caret().SetCaretX(20);
  changes = 0;
  Type(u"b");  // blanks and the character in one block
  EXPECT_EQ(changes, 1);
}

TEST_F(EditCoreTest, TwoEditorsShareOneBuffer) {
  TFakeCodeEditHost otherHost;
  TCodeEditCore other(otherHost, nullptr);
  SetText(u"shared");
  other.SetLinesPointer(Edit);
  EXPECT_EQ(&other.Lines(), &Edit.Lines());
  other.Caret().SetCaretXY({7, 1});
  other.Commands().CommandProcessor(ecChar, u'!', nullptr);
  EXPECT_EQ(Line(1), u"shared!");
  EXPECT_TRUE(Edit.UndoList().CanUndo());
  EXPECT_THROW(other.HookTextBuffer(Edit.Lines(), Edit.UndoList(), Edit.RedoList()), EAssertionFailed);
  other.RemoveLinesPointer();
  EXPECT_NE(&other.Lines(), &Edit.Lines());
  EXPECT_EQ(other.Lines().GetCount(), 0);
}

// ---- Caret, selection and coordinates ----

TEST_F(EditCoreTest, CaretIsClampedToTheText) {
  SetText(u"0123456789\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10");
  Caret().SetCaretX(0);
  Caret().SetCaretY(0);
  EXPECT_EQ(Caret().CaretXY(), (TBufferCoord{1, 1}));
  EXPECT_FALSE(Caret().SelAvail());
  Caret().SetCaretX(100);
  EXPECT_EQ(Caret().CaretX(), 100);  // up to MaxScrollWidth + 1 with eoScrollPastEol
  Edit.SetOptions(Edit.Options() - TCodeEditorOptions{eoScrollPastEol});
  Caret().SetCaretX(100);
  EXPECT_EQ(Caret().CaretX(), 11);
  Caret().SetCaretXY({5, 50});
  EXPECT_EQ(Caret().CaretXY(), (TBufferCoord{3, 10}));
}

TEST_F(EditCoreTest, EmptyBufferHoldsTheCaretAtTheStartWithoutVirtualSpace) {
  Edit.SetOptions(Edit.Options() - TCodeEditorOptions{eoScrollPastEol});
  Caret().SetCaretXY({5, 3});
  EXPECT_EQ(Caret().CaretXY(), (TBufferCoord{1, 1}));
}

TEST_F(EditCoreTest, SelectionEndsAreClampedByMode) {
  SetText(u"0123456789");
  Caret().SetBlockBegin({1, 1});
  Caret().SetBlockEnd({200, 1});
  EXPECT_EQ(Caret().BlockEnd(), (TBufferCoord{11, 1}));
  Caret().SetSelectionMode(smColumn);
  Caret().SetBlockBegin({1, 1});
  Caret().SetBlockEnd({200, 1});
  EXPECT_EQ(Caret().BlockEnd(), (TBufferCoord{200, 1}));
}

TEST_F(EditCoreTest, CharacterIndexesCountTwoForEachLineBreak) {
  SetText(u"abcdef\r\nghijkl\r\nmn");
  EXPECT_EQ(Caret().RowColToCharIndex({3, 2}), 10);
  EXPECT_EQ(Caret().CharIndexToRowCol(10), (TBufferCoord{3, 2}));
  EXPECT_EQ(Caret().CharIndexToRowCol(1000), (TBufferCoord{1, 4}));
  Caret().SetSelStart(10);
  Caret().SetSelEnd(13);
  EXPECT_EQ(Caret().SelLength(), 3);
  SetText(u"abcdefghijklmnop");
  Caret().SetSelStart(10);
  Caret().SetSelLength(-3);
  EXPECT_EQ(Caret().SelStart(), 7);
  EXPECT_EQ(Caret().SelEnd(), 10);
  EXPECT_EQ(Caret().RowColToCharIndex(Caret().CaretXY()), 7);
}

TEST_F(EditCoreTest, ForcedCentringPutsTheLineInTheMiddle) {
  Host.Height = 20 * TFakeCodeEditHost::CellHeight;
  Edit.ViewSizeChanged();
  String text;
  for (int i = 1; i <= 200; ++i) text += u"line\r\n";
  Edit.SetText(text);
  Caret().SetCaretXY({1, 100});
  Caret().EnsureCursorPosVisibleEx(true, true);
  EXPECT_EQ(Caret().TopLine(), 91);
}

TEST_F(EditCoreTest, WordsAtAPosition) {
  SetText(u"  hello world");
  const struct {
    Integer at;
    const char16_t* word;
  } cases[] = {{3, u"hello"}, {5, u"hello"}, {7, u"hello"}, {8, u""}, {9, u"world"}, {14, u""}, {1, u""}};
  for (const auto& c : cases) EXPECT_EQ(Caret().GetWordAtRowCol({c.at, 1}), c.word) << c.at;
  EXPECT_EQ(Caret().NextWordPosEx({3, 1}), (TBufferCoord{9, 1}));
  EXPECT_EQ(Caret().PrevWordPosEx({11, 1}), (TBufferCoord{9, 1}));
  EXPECT_EQ(Caret().WordEndEx({4, 1}), (TBufferCoord{8, 1}));
  EXPECT_EQ(Caret().WordStartEx({5, 1}), (TBufferCoord{3, 1}));
  Caret().SetWordBlock({4, 1});
  EXPECT_EQ(Editing().SelText(), u"hello");
  EXPECT_EQ(Caret().CaretXY(), (TBufferCoord{8, 1}));
}

TEST_F(EditCoreTest, SelectedTextInTheThreeModes) {
  SetText(u"abcdefg\r\nhijklmn\r\nopq");
  const struct {
    TCodeSelectionMode mode;
    TBufferCoord anchor, moving;
    const char16_t* text;
  } cases[] = {
      {smNormal, {3, 1}, {2, 2}, u"cdefg\r\nh"},     {smNormal, {2, 3}, {6, 1}, u"fg\r\nhijklmn\r\no"},
      {smLine, {3, 2}, {1, 3}, u"hijklmn\r\nopq"},   {smLine, {3, 1}, {1, 2}, u"abcdefg\r\nhijklmn\r\n"},
      {smColumn, {2, 1}, {4, 3}, u"bc\r\nij\r\npq"}, {smColumn, {5, 3}, {3, 1}, u"cd\r\njk\r\nq "},
  };
  for (const auto& c : cases) {
    Caret().SetSelectionMode(c.mode);
    Select(c.anchor, c.moving);
    EXPECT_EQ(Editing().SelText(), c.text) << c.mode << " " << c.anchor.Char << "," << c.anchor.Line;
  }
}

TEST_F(EditCoreTest, SelectionAfterPressWithColumnModeActive) {
  SetText(u"abc\r\ndef");
  Caret().SetSelectionMode(smColumn);
  Select({2, 1}, {2, 2});
  EXPECT_FALSE(Caret().SelAvail());  // no width: nothing in a column
  Caret().SetSelectionMode(smNormal);
  Select({2, 1}, {2, 2});
  EXPECT_TRUE(Caret().SelAvail());
  EXPECT_TRUE(Caret().IsPointInSelection({3, 1}));
  EXPECT_FALSE(Caret().IsPointInSelection({2, 2}));
}

// ---- Text modification ----

TEST_F(EditCoreTest, ReplacingInTheMiddleSplitsTheLine) {
  SetText(u"abcdefg");
  Select({3, 1}, {6, 1});
  Editing().SetSelText(u"X\r\nY");
  EXPECT_EQ(Joined(), u"abX|Yfg");
  EXPECT_EQ(Caret().CaretXY(), (TBufferCoord{2, 2}));
  Editing().Undo();
  EXPECT_EQ(Joined(), u"abcdefg");
}

TEST_F(EditCoreTest, LineModeSelectionOfTheLastLinesDeletesThem) {
  SetText(u"one\r\ntwo\r\nthree");
  Caret().SetSelectionMode(smLine);
  Select({1, 2}, {2, 3});
  EXPECT_EQ(Editing().SelText(), u"two\r\nthree");
  Editing().SetSelText(u"");
  EXPECT_EQ(Joined(), u"one|");
  Editing().Undo();
  EXPECT_EQ(Joined(), u"one|two|three");
}

TEST_F(EditCoreTest, ColumnBlocksInsertAndPad) {
  for (const char16_t* block : {u"XY\r\nZW", u"XY\nZW"}) {
    Edit.ClearAll();
    SetText(u"a");
    Caret().SetCaretXY({3, 1});
    Editing().InsertBlock({3, 1}, {3, 1}, block, true);
    EXPECT_EQ(Joined(), u"a XY|  ZW");
    EXPECT_EQ(Caret().CaretXY(), (TBufferCoord{5, 2}));
    UndoAll();
    EXPECT_EQ(Joined(), u"a");
  }
}

TEST_F(EditCoreTest, ColumnDeletionAndTyping) {
  SetText(u"abcdef\r\nghijkl\r\nmn");
  Caret().SetSelectionMode(smColumn);
  Select({2, 1}, {4, 3});
  Editing().SetSelText(u"");
  EXPECT_EQ(Joined(), u"adef|gjkl|m");
  Editing().Undo();
  EXPECT_EQ(Joined(), u"abcdef|ghijkl|mn");
  Select({2, 1}, {4, 2});
  Command(ecChar, u'Z');
  EXPECT_EQ(Joined(), u"aZdef|gjkl|mn");
  Editing().Undo();
  EXPECT_EQ(Joined(), u"abcdef|ghijkl|mn");
}

TEST_F(EditCoreTest, TypingPastTheLineEndFillsBlanksThatOneUndoTakesBack) {
  SetText(u"abcde");
  Caret().SetCaretXY({20, 1});
  Command(ecChar, u'x');
  EXPECT_EQ(Line(1), u"abcde              x");
  EXPECT_EQ(Caret().CaretX(), 21);
  Editing().Undo();
  EXPECT_EQ(Line(1), u"abcde");
  EXPECT_FALSE(Edit.UndoList().CanUndo());
  Editing().Redo();
  EXPECT_EQ(Line(1), u"abcde              x");
}

TEST_F(EditCoreTest, RedoOfACharacterTypedInOverwriteModeReplacesAgain) {
  SetText(u"abc");
  Edit.SetOptions(Edit.Options() - TCodeEditorOptions{eoGroupUndo});
  Edit.SetInsertMode(false);
  Caret().SetCaretXY({1, 1});
  Type(u"xy");
  EXPECT_EQ(Line(1), u"xyc");
  UndoAll();
  EXPECT_EQ(Line(1), u"abc");
  RedoAll();
  EXPECT_EQ(Line(1), u"xyc");
  UndoAll();
  EXPECT_EQ(Line(1), u"abc");
  Editing().Redo();
  EXPECT_EQ(Line(1), u"xbc");
}

TEST_F(EditCoreTest, GroupUndoTakesBackATypedWordAtOnce) {
  Type(u"abc");
  Editing().Undo();
  EXPECT_EQ(Joined(), u"");
  Edit.SetOptions(Edit.Options() - TCodeEditorOptions{eoGroupUndo});
  Type(u"abc");
  Editing().Undo();
  EXPECT_EQ(Joined(), u"ab");
  Editing().Undo();
  EXPECT_EQ(Joined(), u"a");
}

TEST_F(EditCoreTest, DeletingAtTheEdgesChangesNothing) {
  SetText(u"ab\r\ncd");
  Command(ecDeleteLastChar);
  EXPECT_EQ(Joined(), u"ab|cd");
  Caret().SetCaretXY({3, 2});
  Command(ecDeleteChar);
  EXPECT_EQ(Joined(), u"ab|cd");
  EXPECT_FALSE(Edit.UndoList().CanUndo());
}

TEST_F(EditCoreTest, DeletingJoinsLinesAndUndoSplitsThem) {
  const struct {
    TCodeEditorCommand command;
    TBufferCoord caret;
    const char16_t* after;
  } cases[] = {
      {ecDeleteLastChar, {1, 2}, u"abcd|ef"}, {ecDeleteLastChar, {2, 1}, u"b|cd|ef"},
      {ecDeleteChar, {3, 1}, u"abcd|ef"},     {ecDeleteChar, {6, 1}, u"ab   cd|ef"},
      {ecDeleteChar, {1, 2}, u"ab|d|ef"},     {ecDeleteWord, {1, 2}, u"ab||ef"},
      {ecDeleteLastWord, {3, 1}, u"|cd|ef"},  {ecDeleteEOL, {1, 1}, u"|cd|ef"},
      {ecDeleteBOL, {2, 2}, u"ab|d|ef"},      {ecDeleteLine, {2, 2}, u"ab|ef"},
      {ecDeleteLine, {2, 3}, u"ab|cd|"},      {ecDeleteLastChar, {9, 2}, u"ab|cd|ef"},
  };
  for (const auto& c : cases) {
    Edit.ClearAll();
    SetText(u"ab\r\ncd\r\nef");
    Caret().SetCaretXY(c.caret);
    Command(c.command);
    EXPECT_EQ(Joined(), c.after) << c.command << " at " << c.caret.Char << "," << c.caret.Line;
    UndoAll();
    EXPECT_EQ(Joined(), u"ab|cd|ef") << c.command;
    RedoAll();
    EXPECT_EQ(Joined(), c.after) << c.command << " redone";
  }
}

TEST_F(EditCoreTest, EnterIndentsTheNewLineLikeTheLineAbove) {
  SetText(u"  abc");
  Caret().SetCaretXY({4, 1});
  Command(ecLineBreak, u'\r');
  EXPECT_EQ(Joined(), u"  a|  bc");
  EXPECT_EQ(Caret().CaretXY(), (TBufferCoord{3, 2}));
  Editing().Undo();
  EXPECT_EQ(Joined(), u"  abc");
}

TEST_F(EditCoreTest, LineBreaksInEveryPositionUndoToTheOriginal) {
  const struct {
    TBufferCoord caret;
    const char16_t* after;
    TBufferCoord caretAfter;
  } cases[] = {
      {{1, 1}, u"|  ab|", {1, 2}},   {{3, 1}, u"  |  ab|", {3, 2}}, {{5, 1}, u"  ab|  |", {3, 2}},
      {{9, 1}, u"  ab|  |", {3, 2}}, {{1, 2}, u"  ab||", {3, 3}},
  };
  for (const auto& c : cases) {
    Edit.ClearAll();
    SetText(u"  ab\r\n");
    Edit.Lines().Add(u"");
    Edit.Lines().Delete(2);
    Caret().SetCaretXY(c.caret);
    Command(ecLineBreak, u'\r');
    EXPECT_EQ(Joined(), c.after) << c.caret.Char << "," << c.caret.Line;
    EXPECT_EQ(Caret().CaretXY(), c.caretAfter) << c.caret.Char << "," << c.caret.Line;
    UndoAll();
    EXPECT_EQ(Joined(), u"  ab|") << c.caret.Char << "," << c.caret.Line;
  }
}

TEST_F(EditCoreTest, BlockIndentAndUnindent) {
  SetText(u"a\r\nb\r\nc\r\nd\r\ne");
  Select({1, 2}, {1, 5});
  Command(ecBlockIndent);
  EXPECT_EQ(Joined(), u"a|        b|        c|        d|e");
  Editing().Undo();
  EXPECT_EQ(Joined(), u"a|b|c|d|e");
  Edit.ClearAll();
  SetText(u"\tx\r\n   \ty\r\n          z");
  Select({1, 1}, {5, 3});
  Command(ecBlockUnindent);
  EXPECT_EQ(Joined(), u"x|y|  z");
  Editing().Undo();
  EXPECT_EQ(Joined(), u"\tx|   \ty|          z");
}

TEST_F(EditCoreTest, TabsInsertSpacesToTheNextStopAndShiftTabTakesThemBack) {
  SetText(u"ab");
  Caret().SetCaretXY({3, 1});
  Command(ecTab);
  EXPECT_EQ(Line(1), u"ab      ");
  EXPECT_EQ(Caret().CaretX(), 9);
  Command(ecShiftTab);
  EXPECT_EQ(Line(1), u"ab");
  UndoAll();
  EXPECT_EQ(Line(1), u"ab");
}

TEST_F(EditCoreTest, CaseConversionOfTheWordAtTheCaret) {
  SetText(u"hello World");
  Caret().SetCaretXY({2, 1});
  Command(ecUpperCase);
  EXPECT_EQ(Line(1), u"HELLO World");
  EXPECT_EQ(Caret().CaretXY(), (TBufferCoord{2, 1}));
  Caret().SetCaretXY({8, 1});
  Command(ecToggleCase);
  EXPECT_EQ(Line(1), u"HELLO wORLD");
  UndoAll();
  EXPECT_EQ(Line(1), u"hello World");
}

TEST_F(EditCoreTest, LineModePasteMovesBookmarksBelow) {
  SetText(u"a\r\nb\r\nc");
  Edit.SetBookMark(3, 1, 2);
  Caret().SetCaretXY({1, 2});
  Host.CopyText(u"x\r\ny\r\nz\r\n", smLine);
  Command(ecPaste);
  EXPECT_EQ(Joined(), u"a|x|y|z|b|c");
  Integer x = 0, y = 0;
  ASSERT_TRUE(Edit.GetBookMark(3, x, y));
  EXPECT_EQ(y, 5);
  Editing().Undo();
  EXPECT_EQ(Joined(), u"a|b|c");
}

TEST_F(EditCoreTest, SetMarkerTogglesAndMovesBookmarks) {
  SetText(u"a\r\nb\r\nc");
  Caret().SetCaretXY({1, 2});
  Command(ecSetMarker0 + 3);
  Integer x = 0, y = 0;
  ASSERT_TRUE(Edit.GetBookMark(3, x, y));
  EXPECT_EQ(y, 2);
  Command(ecSetMarker0 + 3);
  EXPECT_FALSE(Edit.GetBookMark(3, x, y));
  Command(ecSetMarker0 + 3);
  Caret().SetCaretXY({1, 3});
  Command(ecSetMarker0 + 3);
  ASSERT_TRUE(Edit.GetBookMark(3, x, y));
  EXPECT_EQ(y, 3);
}

// A handler that refuses a bookmark leaves the old bookmark of that number
// where it was, whether it is placed directly or by the command.
TEST_F(EditCoreTest, ARefusedBookmarkKeepsTheOldOne) {
  SetText(u"a\r\nb\r\nc");
  Edit.SetBookMark(4, 1, 1);
  bool refuse = true;
  Edit.OnPlaceBookmark = [&refuse](TObject*, TCodeEditMark*& mark) {
    if (refuse) mark = nullptr;
  };
  Integer x = 0, y = 0;
  Edit.SetBookMark(4, 1, 3);
  ASSERT_TRUE(Edit.GetBookMark(4, x, y));
  EXPECT_EQ(y, 1);
  Caret().SetCaretXY({1, 2});
  Command(ecSetMarker0 + 4);
  ASSERT_TRUE(Edit.GetBookMark(4, x, y));
  EXPECT_EQ(y, 1);
  EXPECT_EQ(Edit.Marks().Count(), 1);
  refuse = false;
  Command(ecSetMarker0 + 4);
  ASSERT_TRUE(Edit.GetBookMark(4, x, y));
  EXPECT_EQ(y, 2);
  EXPECT_EQ(Edit.Marks().Count(), 1);
  Edit.OnPlaceBookmark = {};
}

// Random edits in every mode, then undo to the start: the text comes back
// byte for byte; redo reaches the edited text again.
TEST_F(EditCoreTest, RandomEditsUndoToTheOriginalAndRedoToTheResult) {
  const TCodeEditorCommand commands[] = {ecChar,
                                         ecChar,
                                         ecChar,
                                         ecLineBreak,
                                         ecDeleteLastChar,
                                         ecDeleteChar,
                                         ecDeleteLine,
                                         ecDeleteEOL,
                                         ecPaste,
                                         ecCut,
                                         ecTab,
                                         ecShiftTab,
                                         ecDeleteWord,
                                         ecDeleteBOL,
                                         ecDeleteLastWord,
                                         ecInsertLine,
                                         ecUpperCase,
                                         ecToggleCaseBlock,
                                         ecBlockIndent,
                                         ecBlockUnindent};
  const char16_t* const original = u"object Form1: TForm1\r\n  Left = 10\r\n\tCaption = 'x y'\r\n\r\n  end\r\nend";
  for (unsigned seed = 1; seed <= 200; ++seed) {
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<Integer>(random() % static_cast<unsigned>(n)); };
    Edit.ClearAll();
    Edit.SetMaxUndo(100000);
    TCodeEditorOptions options = CodeEditDefaultOptions;
    if (seed % 3 == 0) options -= TCodeEditorOptions{eoGroupUndo};
    if (seed % 4 == 0) options -= TCodeEditorOptions{eoTabsToSpaces};
    if (seed % 5 == 0) options += TCodeEditorOptions{eoTabIndent};
    Edit.SetOptions(options);
    Edit.SetWordWrap(seed % 2 == 0);
    Edit.SetText(original);
    const String start = Edit.Text();
    Edit.SetInsertMode(true);
    Host.CopyText(seed % 2 ? u"p\r\nq" : u"pq", static_cast<TCodeSelectionMode>(seed % 3));
    for (int step = 0; step < 60; ++step) {
      const Integer lines = std::max(Edit.Lines().GetCount(), 1);
      const TCodeSelectionMode mode = static_cast<TCodeSelectionMode>(pick(3));
      Caret().SetSelectionMode(mode);
      if (pick(3) == 0) {
        Select({pick(14) + 1, pick(lines) + 1}, {pick(14) + 1, pick(lines) + 1});
      } else {
        Caret().SetCaretXY({pick(14) + 1, pick(lines) + 1});
      }
      const TCodeEditorCommand command = commands[pick(static_cast<int>(std::size(commands)))];
      const Char c = static_cast<Char>(u"ab xZ\t{"[pick(7)]);
      Command(command, c);
    }
    const String edited = Edit.Text();
    UndoAll();
    ASSERT_EQ(Narrow(Edit.Text()), Narrow(start)) << "seed " << seed;
    RedoAll();
    EXPECT_EQ(Narrow(Edit.Text()), Narrow(edited)) << "seed " << seed;
  }
}

// Edits that once left blanks or took whole lines: each undoes to the
// original and redoes to the edited text.
TEST_F(EditCoreTest, EditsAcrossSelectionModesUndoAndRedoExactly) {
  struct Case {
    const char* name;
    const char16_t* text;
    TCodeSelectionMode mode;
    TBufferCoord anchor, moving;
    const char16_t* clipboard;
    TCodeSelectionMode clipboardMode;
    TCodeEditorCommand command;
    const char16_t* edited;
  };
  const Case cases[] = {
      {"word case after a column block past the line end",
       u"END   \r\n",
       smColumn,
       {12, 1},
       {6, 2},
       u"",
       smNormal,
       ecUpperCase,
       u"END   |"},
      {"column block pasted in line mode",
       u"abc def\r\nxyz",
       smLine,
       {3, 1},
       {3, 1},
       u"pq",
       smColumn,
       ecPaste,
       u"abpqc def|xyz"},
      {"stream pasted over whole lines",
       u"ob\r\nject Form1\r\n=",
       smLine,
       {4, 2},
       {9, 2},
       u"pq",
       smNormal,
       ecPaste,
       u"ob|pq="},
      {"stream pasted over a column past a short line",
       u"ec\r\nabcdefghijklmn",
       smColumn,
       {12, 1},
       {13, 2},
       u"p\r\nq",
       smNormal,
       ecPaste,
       u"ec         p|q|abcdefghijkmn"},
      {"column block with an empty row past the end",
       u"abc\r\nxyz",
       smColumn,
       {6, 2},
       {6, 2},
       u"\r\n\r\nx",
       smColumn,
       ecPaste,
       u"abc|xyz||     x"},
      {"empty clipboard", u"abc\r\n       ", smNormal, {2, 2}, {2, 2}, u"", smLine, ecPaste, u"abc|       "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Edit.ClearAll();
    Edit.SetOptions(Edit.Options() - TCodeEditorOptions{eoTrimTrailingSpaces});
    Edit.SetText(c.text);
    const String original = Edit.Text();
    Host.CopyText(c.clipboard, c.clipboardMode);
    Caret().SetSelectionMode(c.mode);
    Select(c.anchor, c.moving);
    Caret().SetActiveSelectionMode(c.mode);
    Command(c.command);
    EXPECT_EQ(Joined(), String(c.edited));
    const String edited = Edit.Text();
    UndoAll();
    EXPECT_EQ(Narrow(Edit.Text()), Narrow(original));
    RedoAll();
    EXPECT_EQ(Narrow(Edit.Text()), Narrow(edited));
  }
}

// ---- Word wrap ----

TEST_F(EditCoreTest, WordWrapShowsALongLineOnSeveralRows) {
  Host.Width = 20 * TFakeCodeEditHost::CellWidth + Edit.GutterWidth() + 2;
  Edit.ViewSizeChanged();
  ASSERT_EQ(Edit.CharsInWindow(), 20);
  SetText(u"alpha beta gamma delta epsilon zeta\r\nshort");
  EXPECT_EQ(Caret().DisplayLineCount(), 2);
  Edit.SetWordWrap(true);
  EXPECT_GT(Caret().DisplayLineCount(), 2);
  const TDisplayCoord shown = Caret().BufferToDisplayPos({25, 1});
  EXPECT_EQ(shown.Row, 2);
  EXPECT_EQ(Caret().DisplayToBufferPos(shown), (TBufferCoord{25, 1}));
  EXPECT_EQ(Caret().RowToLine(Caret().LineToRow(2)), 2);
  Caret().SetCaretXY({1, 1});
  Command(ecDown);
  EXPECT_EQ(Caret().CaretY(), 1);
  EXPECT_EQ(Caret().DisplayY(), 2);
  Caret().SetCaretXY({36, 1});
  Type(u" eta theta");
  EXPECT_EQ(Line(1), u"alpha beta gamma delta epsilon zeta eta theta");
  Editing().Undo();
  EXPECT_EQ(Line(1), u"alpha beta gamma delta epsilon zeta");
  Edit.SetWordWrap(false);
  EXPECT_EQ(Caret().DisplayLineCount(), 2);
  EXPECT_EQ(Caret().BufferToDisplayPos({25, 1}), (TDisplayCoord{25, 1}));
}

TEST_F(EditCoreTest, TabsAndWideGlyphsWidenDisplayColumns) {
  SetText(u"\tab");
  EXPECT_EQ(Caret().BufferToDisplayPos({2, 1}), (TDisplayCoord{9, 1}));
  EXPECT_EQ(Caret().DisplayToBufferPos({9, 1}), (TBufferCoord{2, 1}));
  EXPECT_EQ(Caret().DisplayToBufferPos({5, 1}), (TBufferCoord{1, 1}));
  const TDisplayCoord cell = Caret().PixelsToRowColumn(Edit.GutterWidth() + 2 + 3 * 8 + 1, 16 + 1);
  EXPECT_EQ(cell, (TDisplayCoord{4, 2}));
  EXPECT_EQ(Caret().RowColumnToPixels({4, 2}), (TPoint{Edit.GutterWidth() + 2 + 24, 16}));
}

// A character outside the basic plane is two code units: the caret steps
// over both, never stands between them, and no edit splits them.
TEST_F(EditCoreTest, TheCaretNeverStandsInsideASurrogatePair) {
  const String face = u"\U0001F600";
  SetText(u"a\U0001F600b\r\nxyzw");
  Caret().SetCaretXY({2, 1});
  Command(ecRight);
  EXPECT_EQ(Caret().CaretX(), 4);
  Command(ecLeft);
  EXPECT_EQ(Caret().CaretX(), 2);
  Command(ecSelRight);
  EXPECT_EQ(Editing().SelText(), face);
  Caret().SetCaretXY({4, 1});
  Command(ecSelLeft);
  EXPECT_EQ(Editing().SelText(), face);
  // Set between the two halves, the caret goes to the character's start.
  Caret().SetCaretX(3);
  EXPECT_EQ(Caret().CaretX(), 2);
  Caret().SetCaretXY({3, 2});
  Command(ecUp);
  EXPECT_NE(Caret().CaretX(), 3);
  Caret().SetCaretXY({3, 1});
  Type(u"x");
  EXPECT_EQ(Line(1), u"ax" + face + u"b");
  Editing().Undo();
  // Typed over in overwrite mode, the character goes whole.
  Edit.SetInsertMode(false);
  Caret().SetCaretXY({2, 1});
  Type(u"y");
  EXPECT_EQ(Line(1), u"ayb");
  Editing().Undo();
  EXPECT_EQ(Line(1), u"a" + face + u"b");
  Edit.SetInsertMode(true);
  // Backspace after it and Delete before it take both halves.
  Caret().SetCaretXY({4, 1});
  Command(ecDeleteLastChar);
  EXPECT_EQ(Line(1), u"ab");
  Editing().Undo();
  Caret().SetCaretXY({2, 1});
  Command(ecDeleteChar);
  EXPECT_EQ(Line(1), u"ab");
}

// Scroll bars are brought up to date once per change, and not at all while
// the editor is inside an update.
TEST_F(EditCoreTest, ScrollBarsAreRefreshedOncePerChange) {
  String text;
  for (int i = 0; i < 100; ++i) text += u"line\r\n";
  Edit.SetText(text);
  Caret().SetCaretXY({1, 50});
  Host.ScrollBarUpdates = 0;
  Host.Updates = 0;
  Command(ecChar, u'x');
  EXPECT_EQ(Host.ScrollBarUpdates, 1);
  Host.ScrollBarUpdates = 0;
  Edit.BeginUpdate();
  for (int i = 0; i < 10; ++i) Command(ecChar, u'y');
  Command(ecLineBreak, u'\r');
  Command(ecEditorBottom);
  Command(ecEditorTop);
  EXPECT_EQ(Host.ScrollBarUpdates, 0);
  EXPECT_EQ(Host.Updates, 0);
  Edit.EndUpdate();
  EXPECT_EQ(Host.ScrollBarUpdates, 1);
  EXPECT_LE(Host.Updates, 1);
}

// ---- Command pipeline ----

TEST_F(EditCoreTest, CommandsPassEventsAndHooksInOrder) {
  std::vector<std::string> order;
  Edit.OnProcessCommand = [&](TObject*, TCodeEditorCommand& command, Char&, void*) {
    order.push_back("process " + std::to_string(command));
  };
  Edit.OnProcessUserCommand = [&](TObject*, TCodeEditorCommand& command, Char&, void*) {
    order.push_back("user " + std::to_string(command));
  };
  Edit.OnCommandProcessed = [&](TObject*, TCodeEditorCommand& command, Char&, void*) {
    order.push_back("processed " + std::to_string(command) + " text " + Narrow(Joined()));
  };
  Edit.Commands().RegisterCommandHandler(
      [&](TObject*, bool after, bool&, TCodeEditorCommand& command, Char&, void*, void* data) {
        order.push_back(std::string(after ? "after " : "before ") + std::to_string(command) + " " +
                        static_cast<const char*>(data));
      },
      const_cast<char*>("hook"));
  Command(ecChar, u'a');
  Command(ecUserFirst + 5);
  const std::vector<std::string> expected = {
      "process 511", "before 511 hook",  "after 511 hook",  "processed 511 text a",
      "user 1006",   "before 1006 hook", "after 1006 hook", "processed 1006 text a"};
  EXPECT_EQ(order, expected);
}

TEST_F(EditCoreTest, CancelledCommandsStillReportTheirEnd) {
  std::vector<TCodeEditorCommand> processed;
  int hooks = 0;
  Edit.OnProcessCommand = [&](TObject*, TCodeEditorCommand& command, Char&, void*) { command = ecNone; };
  Edit.OnCommandProcessed = [&](TObject*, TCodeEditorCommand& command, Char&, void*) { processed.push_back(command); };
  const THookedCommandEvent hook = [&](TObject*, bool, bool&, TCodeEditorCommand&, Char&, void*, void*) { ++hooks; };
  Edit.Commands().RegisterCommandHandler(hook, nullptr);
  Command(ecChar, u'a');
  EXPECT_EQ(Joined(), u"");
  EXPECT_EQ(hooks, 0);
  EXPECT_EQ(processed, std::vector<TCodeEditorCommand>{ecNone});
  // A hook that handles the command stops its execution.
  Edit.OnProcessCommand = nullptr;
  Edit.Commands().UnregisterCommandHandler(hook);
  Edit.Commands().RegisterCommandHandler(
      [](TObject*, bool after, bool& handled, TCodeEditorCommand&, Char&, void*, void*) { handled = !after; }, nullptr);
  Command(ecChar, u'b');
  EXPECT_EQ(Joined(), u"");
  EXPECT_EQ(processed.back(), ecNone);
}

TEST_F(EditCoreTest, KeysBecomeCommandsThroughTheTable) {
  EXPECT_EQ(Edit.Commands().KeyToCommand('Z', {ssCtrl}), ecUndo);
  EXPECT_EQ(Edit.Commands().KeyToCommand(37 /* left */, {ssShift}), ecSelLeft);
  Edit.AddKey(ecUserFirst, 'K', {ssCtrl}, 'B', {ssCtrl});
  EXPECT_EQ(Edit.Commands().KeyToCommand('K', {ssCtrl}), ecNone);
  EXPECT_EQ(Edit.Commands().KeyToCommand('B', {ssCtrl}), ecUserFirst);
  EXPECT_EQ(Edit.Commands().KeyToCommand('B', {ssCtrl}), ecNone);
}

TEST_F(EditCoreTest, ReadOnlyEditorsIgnoreEditingCommands) {
  SetText(u"abc");
  Edit.SetReadOnly(true);
  Caret().SetCaretXY({2, 1});
  for (TCodeEditorCommand command : {ecChar, ecDeleteChar, ecDeleteLastChar, ecLineBreak, ecTab, ecUndo})
    Command(command, u'x');
  EXPECT_EQ(Joined(), u"abc");
  Command(ecRight);
  EXPECT_EQ(Caret().CaretX(), 3);
}

TEST_F(EditCoreTest, MovementsSelectWithTheirSelectingForms) {
  SetText(u"  one two\r\nthree");
  Caret().SetCaretXY({4, 1});
  Command(ecSelRight);
  Command(ecSelRight);
  EXPECT_EQ(Editing().SelText(), u"ne");
  Command(ecLineStart);
  EXPECT_EQ(Caret().CaretXY(), (TBufferCoord{1, 1}));
  EXPECT_FALSE(Caret().SelAvail());
  Command(ecSelEditorBottom);
  EXPECT_EQ(Caret().CaretXY(), (TBufferCoord{6, 2}));
  EXPECT_EQ(Editing().SelText(), u"  one two\r\nthree");
  Command(ecEditorTop);
  Command(ecWordRight);
  EXPECT_EQ(Caret().CaretXY(), (TBufferCoord{3, 1}));
  Command(ecLineEnd);
  EXPECT_EQ(Caret().CaretXY(), (TBufferCoord{10, 1}));
  Command(ecDown);
  EXPECT_EQ(Caret().CaretXY(), (TBufferCoord{10, 2}));
}

}  // namespace
