#include "codeedit/buffer.h"

#include <gtest/gtest.h>

#include <string>

#include "rtl/encoding.h"
#include "rtl/streams.h"
#include "rtl/unicode.h"
#include "support/cellmetrics_fake.h"

namespace {

// Records the buffer's events as a compact log.
class BufferEvents {
 public:
  explicit BufferEvents(TCodeEditStringList& lines) {
    lines.OnChanging = [this](TObject*) { log += "<"; };
    lines.OnChange = [this](TObject*) { log += ">"; };
    lines.OnCleared = [this](TObject*) { log += "C"; };
    lines.OnInserted = [this](TObject*, Integer index, Integer count) { Add("I", index, count); };
    lines.OnDeleted = [this](TObject*, Integer index, Integer count) { Add("D", index, count); };
    lines.OnPutted = [this](TObject*, Integer index, Integer count) { Add("P", index, count); };
  }
  std::string log;

 private:
  void Add(const char* kind, Integer index, Integer count) {
    log += kind + std::to_string(index) + "," + std::to_string(count);
  }
};

std::vector<String> LinesOf(const TCodeEditStringList& lines) {
  std::vector<String> result;
  for (Integer i = 0; i < lines.Count(); ++i) result.push_back(lines[i]);
  return result;
}

struct SplitCase {
  const char* name;
  String text;
  bool appendNewLineAtEOF;
  std::vector<String> lines;
  TCodeEditFileFormat format;
};

class TextSplitting : public ::testing::TestWithParam<SplitCase> {};

TEST_P(TextSplitting, GivesTheLinesAndTheFileFormat) {
  const SplitCase& c = GetParam();
  TCodeEditStringList lines;
  lines.SetAppendNewLineAtEOF(c.appendNewLineAtEOF);
  lines.SetText(c.text);
  EXPECT_EQ(LinesOf(lines), c.lines);
  EXPECT_EQ(lines.FileFormat(), c.format);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextSplitting,
    ::testing::Values(SplitCase{"CrLf", u"a\r\nb", false, {u"a", u"b"}, sffDos},
                      SplitCase{"Lf", u"a\nb", false, {u"a", u"b"}, sffUnix},
                      SplitCase{"Cr", u"a\rb", false, {u"a", u"b"}, sffMac},
                      SplitCase{"SeparatorWinsOverCrLf", u"a\r\nb\u2028c", false, {u"a", u"b", u"c"}, sffUnicode},
                      SplitCase{"SeparatorCrLfIsOneBreak", u"a\u2028\r\nb", false, {u"a", u"b"}, sffUnicode},
                      SplitCase{"NoBreak", u"ab", false, {u"ab"}, sffDos},
                      SplitCase{"MixedCrAndLf", u"a\rb\nc", false, {u"a", u"b", u"c"}, sffDos},
                      SplitCase{"FinalBreakAddsALine", u"a\r\n", false, {u"a", u""}, sffDos},
                      SplitCase{"FinalBreakEndsTheLine", u"a\r\n", true, {u"a"}, sffDos},
                      SplitCase{"LfCrIsTwoBreaks", u"a\n\rb", false, {u"a", u"", u"b"}, sffDos},
                      SplitCase{"OnlyABreak", u"\n", false, {u"", u""}, sffUnix},
                      SplitCase{"EmptyLines", u"\r\n\r\nx", false, {u"", u"", u"x"}, sffDos}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Buffer, SettingTextFiresOnePairAroundOneInsertion) {
  TCodeEditStringList lines;
  BufferEvents events(lines);
  lines.SetText(u"a\r\nb\r\nc");
  EXPECT_EQ(events.log, "<I0,3>");
  events.log.clear();
  lines.SetText(u"x");
  EXPECT_EQ(events.log, "<CI0,1>");
  events.log.clear();
  lines.SetText(u"");
  EXPECT_EQ(events.log, "<C>");  // cleared, nothing inserted
  EXPECT_EQ(lines.Count(), 0);
  events.log.clear();
  lines.SetText(u"");
  EXPECT_EQ(events.log, "<>");
}

TEST(Buffer, PutAtTheCountAppendsAndBeyondFails) {
  TCodeEditStringList lines;
  lines.SetText(u"a\r\nb");
  TObject marker;
  lines.SetObjects(0, &marker);
  lines.SetLineRange(0, 7);
  BufferEvents events(lines);
  lines.Put(0, u"A");
  EXPECT_EQ(events.log, "<P0,1>");
  EXPECT_EQ(lines.Objects(0), &marker);  // object and range stay
  EXPECT_EQ(lines.LineRange(0), 7);
  lines.Put(2, u"c");
  EXPECT_EQ(LinesOf(lines), (std::vector<String>{u"A", u"b", u"c"}));
  try {
    lines.Put(4, u"d");
    FAIL() << "no error";
  } catch (const ECodeEditStringList& e) {
    EXPECT_EQ(e.Message(), u"Invalid stringlist index 4");
  }
  EXPECT_THROW(lines.Delete(3), ECodeEditStringList);
  EXPECT_THROW(lines.DeleteLines(3, 1), ECodeEditStringList);
  EXPECT_THROW(lines.Insert(5, u"x"), ECodeEditStringList);
  EXPECT_THROW(lines.PutObject(-1, nullptr), ECodeEditStringList);
  EXPECT_THROW(lines.SetLineRange(3, 0), ECodeEditStringList);
  EXPECT_THROW(lines.Exchange(0, 3), ECodeEditStringList);
}

TEST(Buffer, ReadAccessorsNeverFail) {
  TCodeEditStringList lines;
  lines.SetText(u"abc");
  for (Integer index : {-1, 1}) {
    EXPECT_EQ(lines.Get(index), u"");
    EXPECT_EQ(lines.GetObject(index), nullptr);
    EXPECT_EQ(lines.LineRange(index), 0);
    EXPECT_EQ(lines.ExpandedText(index), u"");
    EXPECT_EQ(lines.ExpandedTextLength(index), 0);
    EXPECT_EQ(lines.LineCharLength(index), 0);
    EXPECT_EQ(lines.LineCharIndex(index), 0);
  }
}

TEST(Buffer, NewLinesAreNotScannedAndHaveNoWidth) {
  TCodeEditStringList lines;
  lines.Add(u"x");
  lines.InsertLines(0, 2);
  EXPECT_EQ(lines.LineRange(0), CodeRangeNotScanned);
  EXPECT_EQ(lines.LineRange(2), CodeRangeNotScanned);
  EXPECT_TRUE(lines.LineFlags(1) == TCodeEditStringFlags{sfExpandedLengthUnknown});
  EXPECT_EQ(lines[2], u"x");
}

struct ExpandCase {
  String line;
  Integer tabWidth;
  String expanded;
};

TEST(Buffer, TabsExpandToTheirStops) {
  for (const ExpandCase& c :
       {ExpandCase{u"a\tb", 4, u"a\t\t\tb"}, ExpandCase{u"a\tb", 1, u"a b"}, ExpandCase{u"\tx", 6, u"\t\t\t\t\t\tx"},
        ExpandCase{u"plain", 4, u"plain"}, ExpandCase{u"", 4, u""}}) {
    TCodeEditStringList lines;
    lines.SetTabWidth(c.tabWidth);
    lines.Add(c.line);
    EXPECT_EQ(lines.ExpandedTextLength(0), static_cast<Integer>(c.expanded.size()));
    EXPECT_EQ(lines.ExpandedText(0), c.expanded);
    EXPECT_TRUE(lines.LineFlags(0) ==
                TCodeEditStringFlags{c.line.find(u'\t') == String::npos ? sfHasNoTabs : sfHasTabs});
  }
}

TEST(Buffer, ANewTabWidthMakesEveryWidthStale) {
  TCodeEditStringList lines;
  lines.SetText(u"a\r\n\tb");
  lines.SetTabWidth(4);
  EXPECT_EQ(lines.LengthOfLongestLine(), 5);
  lines.SetTabWidth(4);
  EXPECT_TRUE(lines.LineFlags(0) == TCodeEditStringFlags{sfHasNoTabs});
  lines.SetTabWidth(2);
  EXPECT_TRUE(lines.LineFlags(0) == TCodeEditStringFlags{sfExpandedLengthUnknown});
  EXPECT_TRUE(lines.LineFlags(1) == (TCodeEditStringFlags{sfHasTabs, sfExpandedLengthUnknown}));
  EXPECT_EQ(lines.LengthOfLongestLine(), 3);
}

TEST(Buffer, LongestLineFollowsExchangeAndTheFirstOfEqualsWins) {
  TCodeEditStringList lines;
  lines.SetText(u"a\r\nabcdef\r\nab");
  EXPECT_EQ(lines.LengthOfLongestLine(), 6);
  lines.Exchange(1, 2);
  EXPECT_EQ(lines.LengthOfLongestLine(), 6);
  lines.Exchange(2, 0);
  EXPECT_EQ(lines.LengthOfLongestLine(), 6);
  lines.Delete(0);
  EXPECT_EQ(lines.LengthOfLongestLine(), 2);
  TCodeEditStringList empty;
  empty.SetText(u"\r\n");
  EXPECT_EQ(empty.LengthOfLongestLine(), 0);
}

TEST(Buffer, TextOfEmptyBuffersIsEmptyAndLinesJoinWithCrLf) {
  TCodeEditStringList lines;
  EXPECT_EQ(lines.Text(), u"");
  lines.Add(u"");
  EXPECT_EQ(lines.Text(), u"");
  lines.SetText(u"a\nb");
  lines.SetAppendNewLineAtEOF(true);
  EXPECT_EQ(lines.Text(), u"a\r\nb");
  EXPECT_EQ(lines.GetSeparatedText(u"--"), u"a--b");
  EXPECT_EQ(TCodeEditStringList().GetSeparatedText(u","), u"");
}

TEST(Buffer, StreamsUseTheFileFormat) {
  TCodeEditStringList lines;
  TStringStream input(S("a\nb\nc"));
  lines.LoadFromStream(input);
  EXPECT_EQ(lines.FileFormat(), sffUnix);
  EXPECT_EQ(lines.Count(), 3);
  TMemoryStream output;
  lines.SaveToStream(output, TEncoding::UTF8());
  TBytes bytes(static_cast<size_t>(output.Size()));
  output.SetPosition(0);
  output.ReadBuffer(bytes.data(), output.Size());
  EXPECT_EQ(std::string(bytes.end() - 5, bytes.end()), "a\nb\nc");
  lines.SetAppendNewLineAtEOF(true);
  TMemoryStream withFinalBreak;
  lines.SaveToStream(withFinalBreak, TEncoding::UTF8());
  EXPECT_EQ(withFinalBreak.Size(), output.Size() + 1);
}

TEST(Buffer, AssignKeepsFileFormatAndLineBreakInStep) {
  struct Case {
    String sourceBreak;
    TCodeEditFileFormat format;
    const char* text;
  };
  for (const Case& c : {Case{u"\n", sffUnix, "a\nb"}, Case{u"\r\n", sffDos, "a\r\nb"}, Case{u"\r", sffMac, "a\rb"},
                        Case{u"|", sffMac, "a\rb"}}) {
    TCodeEditStringList source;
    source.SetFileFormat(sffMac);
    source.SetLineBreak(c.sourceBreak);
    source.Add(u"a");
    source.Add(u"b");
    TCodeEditStringList lines;
    lines.SetFileFormat(sffMac);
    lines.Assign(source);
    EXPECT_EQ(lines.FileFormat(), c.format);
    TMemoryStream saved;
    lines.SaveToStream(saved, TEncoding::UTF8());
    TBytes bytes(static_cast<size_t>(saved.Size()));
    saved.SetPosition(0);
    saved.ReadBuffer(bytes.data(), saved.Size());
    const std::string expected = c.text;
    ASSERT_GE(bytes.size(), expected.size());
    EXPECT_EQ(std::string(bytes.end() - static_cast<std::ptrdiff_t>(expected.size()), bytes.end()), expected)
        << "saved as FileFormat says; a break of no format leaves the list's own";
  }
  TStringList plain;
  plain.SetLineBreak(u"\n");
  plain.Add(u"x");
  TCodeEditStringList lines;
  lines.Assign(plain);
  EXPECT_EQ(lines.FileFormat(), sffUnix);
}

TEST(Buffer, DeletingPastTheEndRemovesToTheEndWithoutABracket) {
  TCodeEditStringList lines;
  lines.SetText(u"0\r\n1\r\n2\r\n3");
  BufferEvents events(lines);
  lines.DeleteLines(2, 10);
  EXPECT_EQ(events.log, "D2,2");
  EXPECT_EQ(LinesOf(lines), (std::vector<String>{u"0", u"1"}));
  events.log.clear();
  lines.DeleteLines(0, 1);
  EXPECT_EQ(events.log, "<>D0,1");  // the move of the later lines is the update
  lines.DeleteLines(5, 0);          // no lines: nothing, not even the index check
}

TEST(Buffer, InsertingSeveralLinesIsOneUpdate) {
  TCodeEditStringList lines;
  lines.SetText(u"first\r\nlast");
  BufferEvents events(lines);
  TStringList source;
  source.SetText(u"x\r\ny");
  lines.InsertStrings(1, source);
  EXPECT_EQ(events.log, "<I1,2P1,1P2,1>");
  events.log.clear();
  lines.InsertText(0, u"p\rq\nr");
  EXPECT_EQ(LinesOf(lines), (std::vector<String>{u"p", u"q", u"r", u"first", u"x", u"y", u"last"}));
  events.log.clear();
  lines.AddStrings(source);
  EXPECT_EQ(events.log, "<I7,2>");
  EXPECT_EQ(lines.Capacity() % 16, 0);
  events.log.clear();
  lines.InsertText(0, u"");
  lines.InsertStrings(0, TStringList());
  EXPECT_EQ(events.log, "");
}

TEST(Buffer, CapacityGrowsBySixteenThenByAQuarter) {
  TCodeEditStringList lines;
  for (int i = 0; i < 81; ++i) lines.Add(u"x");
  EXPECT_EQ(lines.Capacity(), 100);
  try {
    lines.SetCapacity(80);
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), u"Stringlist capacity cannot be smaller than count");
  }
  EXPECT_EQ(lines.Capacity(), 100);
  lines.Clear();
  EXPECT_EQ(lines.Capacity(), 0);
}

TEST(Buffer, CharacterIndexesCountTheLinesBefore) {
  TCodeEditStringList lines;
  lines.SetText(u"ab\r\n\r\ncde\r\nf");
  EXPECT_EQ(lines.LineCharIndex(0), 0);
  EXPECT_EQ(lines.LineCharIndex(2), 2);
  EXPECT_EQ(lines.LineCharIndex(3), 5);
  lines.Put(0, u"abcd");
  EXPECT_EQ(lines.LineCharIndex(3), 7);
}

TEST(Buffer, EventsAreSilentWhileTheBufferIsDestroyed) {
  bool fired = false;
  {
    TCodeEditStringList lines;
    lines.SetText(u"a");
    lines.OnChange = [&](TObject*) { fired = true; };
    lines.OnCleared = [&](TObject*) { fired = true; };
  }
  EXPECT_FALSE(fired);
}

// A wide glyph before a tab: the tab stop counts the glyph's cells, the
// display form holds the filler, and the coordinates agree with it.
TEST(BufferDisplayForm, WideGlyphsCountTheirCellsBeforeTabStops) {
  TFakeCellMetrics metrics;
  TCodeEditStringList lines(&metrics);
  lines.SetTabWidth(4);
  lines.Add(u"\u4E2D\tb");
  const String form = lines.ExpandedText(0);
  EXPECT_EQ(form, String(1, WideGlyphFiller) + u"\u4E2D\t\tb");
  EXPECT_EQ(lines.ExpandedTextLength(0), 5);
  const auto columnOfB = CharToDisplayColumn(lines[0], 3, lines.TabWidth(), lines.GlyphCells());
  EXPECT_EQ(form[static_cast<size_t>(columnOfB - 1)], u'b');
}

// A surrogate pair is one glyph: no filler falls between its halves, and its
// width counts once.
TEST(BufferDisplayForm, SurrogatePairsAreMeasuredWhole) {
  TFakeCellMetrics metrics;
  metrics.SetCells(0x1F680, 3);
  TCodeEditStringList lines(&metrics);
  lines.Add(u"\U0001F680x");
  EXPECT_EQ(lines.ExpandedText(0), String(1, WideGlyphFiller) + u"\U0001F680x");
  EXPECT_EQ(lines.ExpandedTextLength(0), 4);
  EXPECT_EQ(lines.LengthOfLongestLine(), 4);
}

TEST(BufferDisplayForm, AFontChangeMeasuresAgain) {
  TFakeCellMetrics metrics;
  TCodeEditStringList lines(&metrics);
  lines.Add(u"\u00E9\u00E9");
  EXPECT_EQ(lines.LengthOfLongestLine(), 2);
  metrics.SetCells(0xE9, 2);
  EXPECT_EQ(lines.LengthOfLongestLine(), 2);  // cached until the font changes
  lines.FontChanged();
  EXPECT_TRUE(lines.LineFlags(0) == TCodeEditStringFlags{sfExpandedLengthUnknown});
  EXPECT_EQ(lines.LengthOfLongestLine(), 4);
  EXPECT_EQ(lines.ExpandedTextLength(0), 4);
}

}  // namespace
