#include "codeedit/dfmhighlighter.h"

#include <gtest/gtest.h>

#include "codeedit/displayform.h"
#include "rtl/stringlist.h"
#include "rtl/unicode.h"
#include "support/cellmetrics_fake.h"

namespace {

using H = TCodeDfmHighlighter;

struct Token {
  String text;
  H::TtkTokenKind kind;
  friend bool operator==(const Token&, const Token&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Token& t) {
    return out << "{" << StringToUTF8(t.text) << ", " << static_cast<int>(t.kind) << "}";
  }
};

std::vector<Token> Scan(H& highlighter, StringView line) {
  std::vector<Token> tokens;
  highlighter.SetLine(line, 0);
  Integer expectedPos = 0;
  for (int guard = 0; !highlighter.GetEol() && guard < 1000; ++guard) {
    EXPECT_EQ(highlighter.GetTokenPos(), expectedPos) << "tokens tile the line";
    tokens.push_back({highlighter.GetToken(), highlighter.TokenID()});
    expectedPos += static_cast<Integer>(tokens.back().text.size());
    highlighter.Next();
  }
  tokens.push_back({highlighter.GetToken(), highlighter.TokenID()});
  EXPECT_TRUE(highlighter.GetEol());
  return tokens;
}

struct LineCase {
  const char* name;
  String line;
  H::TRangeState rangeBefore;
  std::vector<Token> tokens;
  H::TRangeState rangeAfter;
};

class DfmLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(DfmLines, GiveTheirTokensAndRange) {
  const LineCase& c = GetParam();
  H highlighter;
  highlighter.SetRange(c.rangeBefore);
  EXPECT_EQ(Scan(highlighter, c.line), c.tokens);
  EXPECT_EQ(highlighter.GetRange(), c.rangeAfter);
}

constexpr auto Cm = H::tkComment;
constexpr auto Id = H::tkIdentifier;
constexpr auto Ky = H::tkKey;
constexpr auto Nl = H::tkNull;
constexpr auto Nm = H::tkNumber;
constexpr auto Sp = H::tkSpace;
constexpr auto St = H::tkString;
constexpr auto Sy = H::tkSymbol;
constexpr auto Un = H::tkUnknown;
constexpr auto Normal = H::rsUnKnown;
constexpr auto InComment = H::rsComment;

INSTANTIATE_TEST_SUITE_P(
    Table, DfmLines,
    ::testing::Values(
        LineCase{
            "ObjectHeader",
            u"object TestForm: TTestForm",
            Normal,
            {{u"object", Ky}, {u" ", Sp}, {u"TestForm", Id}, {u":", Un}, {u" ", Sp}, {u"TTestForm", Id}, {u"", Nl}},
            Normal},
        LineCase{"IntegerProperty",
                 u"  Left = 273",
                 Normal,
                 {{u"  ", Sp}, {u"Left", Id}, {u" ", Sp}, {u"=", Sy}, {u" ", Sp}, {u"273", Nm}, {u"", Nl}},
                 Normal},
        LineCase{"StringProperty",
                 u"  Caption = 'CodeEdit sample source'",
                 Normal,
                 {{u"  ", Sp},
                  {u"Caption", Id},
                  {u" ", Sp},
                  {u"=", Sy},
                  {u" ", Sp},
                  {u"'CodeEdit sample source'", St},
                  {u"", Nl}},
                 Normal},
        LineCase{"EndKey", u"end", Normal, {{u"end", Ky}, {u"", Nl}}, Normal},
        LineCase{"DoubledQuotes", u"'it''s'x", Normal, {{u"'it''s'", St}, {u"x", Id}, {u"", Nl}}, Normal},
        LineCase{"EmptyString", u"''", Normal, {{u"''", St}, {u"", Nl}}, Normal},
        LineCase{"Unterminated", u"'abc", Normal, {{u"'abc", St}, {u"", Nl}}, Normal},
        LineCase{"HexNumber", u"$00FF00,", Normal, {{u"$00FF00", Nm}, {u",", Sy}, {u"", Nl}}, Normal},
        LineCase{"CharacterCodes", u"#13#10", Normal, {{u"#13", St}, {u"#10", St}, {u"", Nl}}, Normal},
        LineCase{"OpenComment", u"x {abc", Normal, {{u"x", Id}, {u" ", Sp}, {u"{abc", Cm}, {u"", Nl}}, InComment},
        LineCase{"CommentGoesOn", u"def } y", InComment, {{u"def }", Cm}, {u" ", Sp}, {u"y", Id}, {u"", Nl}}, Normal},
        LineCase{"BraceAloneEndsComment", u"}", InComment, {{u"}", Cm}, {u"", Nl}}, Normal},
        LineCase{"EmptyLineInComment", u"", InComment, {{u"", Nl}}, InComment},
        LineCase{"WholeLineComment", u"{ a } b", Normal, {{u"{ a }", Cm}, {u" ", Sp}, {u"b", Id}, {u"", Nl}}, Normal},
        LineCase{"ClosingBraceOutsideComment", u"}x", Normal, {{u"}", Id}, {u"x", Id}, {u"", Nl}}, Normal},
        LineCase{"CapitalKeyAndStop", u"END.", Normal, {{u"END", Ky}, {u".", Sy}, {u"", Nl}}, Normal},
        LineCase{"KeyFollowedByLetter", u"endx", Normal, {{u"endx", Id}, {u"", Nl}}, Normal},
        LineCase{"MoreKeys",
                 u"Inherited inline Object",
                 Normal,
                 {{u"Inherited", Ky}, {u" ", Sp}, {u"inline", Ky}, {u" ", Sp}, {u"Object", Ky}, {u"", Nl}},
                 Normal},
        LineCase{"NotKeys",
                 u"ending objects in",
                 Normal,
                 {{u"ending", Id}, {u" ", Sp}, {u"objects", Id}, {u" ", Sp}, {u"in", Id}, {u"", Nl}},
                 Normal},
        LineCase{"NonAsciiLetterSplitsAWord",
                 u"caf\u00E9s",
                 Normal,
                 {{u"caf", Id}, {u"\u00E9", Un}, {u"s", Id}, {u"", Nl}},
                 Normal},
        LineCase{"DecimalNumber", u"1.5", Normal, {{u"1.", Nm}, {u"5", Nm}, {u"", Nl}}, Normal},
        LineCase{"Range", u"1..2", Normal, {{u"1", Nm}, {u".", Sy}, {u".", Sy}, {u"2", Nm}, {u"", Nl}}, Normal},
        LineCase{"Exponent", u"-1E5", Normal, {{u"-", Un}, {u"1E5", Nm}, {u"", Nl}}, Normal},
        LineCase{"Symbols",
                 u"()<>[]/",
                 Normal,
                 {{u"(", Sy}, {u")", Sy}, {u"<", Sy}, {u">", Sy}, {u"[", Sy}, {u"]", Sy}, {u"/", Sy}, {u"", Nl}},
                 Normal},
        LineCase{"TabsAndBlanks", u"\t x", Normal, {{u"\t ", Sp}, {u"x", Id}, {u"", Nl}}, Normal},
        LineCase{"LineBreakInside",
                 u"a \r\nb\nc",
                 Normal,
                 {{u"a", Id}, {u" ", Sp}, {u"\r\n", Sp}, {u"b", Id}, {u"\n", Sp}, {u"c", Id}, {u"", Nl}},
                 Normal},
        LineCase{"EmbeddedNul",
                 String(u"a\0b", 3),
                 Normal,
                 {{u"a", Id}, {String(1, Char{0}), Nl}, {u"b", Id}, {u"", Nl}},
                 Normal},
        LineCase{"Empty", u"", Normal, {{u"", Nl}}, Normal}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DfmHighlighter, SampleSourceScansLineByLine) {
  H highlighter;
  TStringList lines;
  lines.SetText(highlighter.SampleSource());
  ASSERT_EQ(lines.Count(), 6);
  highlighter.ResetRange();
  const auto first = Scan(highlighter, lines[0]);
  EXPECT_EQ(first, (std::vector<Token>{{lines[0], Cm}, {u"", Nl}}));
  EXPECT_EQ(
      Scan(highlighter, lines[3]),
      (std::vector<Token>{{u"  ", Sp}, {u"Top", Id}, {u" ", Sp}, {u"=", Sy}, {u" ", Sp}, {u"103", Nm}, {u"", Nl}}));
  EXPECT_EQ(lines[1], u"object TestForm: TTestForm");
  EXPECT_EQ(lines[5], u"end");
}

TEST(DfmHighlighter, TokensMapToAttributes) {
  H highlighter;
  const std::pair<String, TCodeHighlighterAttributes*> cases[] = {{u"{c}", highlighter.CommentAttri()},
                                                                  {u"x", highlighter.IdentifierAttri()},
                                                                  {u":", highlighter.IdentifierAttri()},
                                                                  {u"end", highlighter.KeyAttri()},
                                                                  {u"1", highlighter.NumberAttri()},
                                                                  {u" ", highlighter.SpaceAttri()},
                                                                  {u"'s'", highlighter.StringAttri()},
                                                                  {u"=", highlighter.SymbolAttri()},
                                                                  {u"", nullptr}};
  for (const auto& [line, attribute] : cases) {
    highlighter.ResetRange();
    highlighter.SetLine(line, 0);
    EXPECT_EQ(highlighter.GetTokenAttribute(), attribute) << StringToUTF8(line);
  }
}

TEST(DfmHighlighter, AttributesAreSortedByNameWithTheirStyles) {
  H highlighter;
  const char16_t* names[] = {u"Comment", u"Identifier", u"Key", u"Number", u"Space", u"String", u"Symbol"};
  ASSERT_EQ(highlighter.AttrCount(), 7);
  for (Integer i = 0; i < 7; ++i) {
    EXPECT_EQ(highlighter.AttributeAt(i)->Name(), names[i]);
    EXPECT_EQ(highlighter.AttributeAt(i)->Foreground(), clNone);
    EXPECT_EQ(highlighter.AttributeAt(i)->Background(), clNone);
  }
  EXPECT_EQ(highlighter.AttributeAt(-1), nullptr);
  EXPECT_EQ(highlighter.AttributeAt(7), nullptr);
  EXPECT_EQ(highlighter.CommentAttri()->IntegerStyle(), 2);
  EXPECT_EQ(highlighter.KeyAttri()->IntegerStyle(), 1);
  EXPECT_EQ(highlighter.SymbolAttri()->IntegerStyle(), 0);
  EXPECT_EQ(highlighter.CommentAttribute(), highlighter.CommentAttri());
  EXPECT_EQ(highlighter.IdentifierAttribute(), highlighter.IdentifierAttri());
  EXPECT_EQ(highlighter.KeywordAttribute(), highlighter.KeyAttri());
  EXPECT_EQ(highlighter.StringAttribute(), highlighter.StringAttri());
  EXPECT_EQ(highlighter.WhitespaceAttribute(), highlighter.SpaceAttri());
  EXPECT_EQ(highlighter.SymbolAttribute(), highlighter.SymbolAttri());
  EXPECT_EQ(highlighter.GetDefaultAttribute(6), nullptr);
  EXPECT_FALSE(highlighter.CommentAttri()->StyleStored());
}

TEST(DfmHighlighter, NamesAndFilter) {
  H highlighter;
  EXPECT_EQ(highlighter.ExportName(), u"Dfm");
  EXPECT_FALSE(highlighter.DefaultFilterStored());
  highlighter.SetDefaultFilter(u"Form files (*.dfm)|*.dfm");
  EXPECT_TRUE(highlighter.DefaultFilterStored());
  EXPECT_TRUE(highlighter.GetCapabilities() == THighlighterCapabilities{hcRegistry});
}

TEST(DfmHighlighter, RangeIsTheLowByteOfTheValue) {
  H highlighter;
  highlighter.SetRange(0x101);
  EXPECT_EQ(highlighter.GetRange(), H::rsComment);
  highlighter.ResetRange();
  EXPECT_EQ(highlighter.GetRange(), H::rsUnKnown);
}

// With the display form, token positions there skip the fillers of wide glyphs.
TEST(DfmHighlighter, DisplayPositionsFollowTheDisplayForm) {
  TFakeCellMetrics metrics;
  TCodeGlyphCells cells(&metrics);
  const String display = DisplayForm(u"\u4E2D\u6587 x\t'\u4E2D'", 4, cells);
  H highlighter;
  highlighter.SetLineExpandedAtWideGlyphs(WithoutFillers(display), display, 0);
  std::vector<std::pair<Integer, String>> seen;
  for (; !highlighter.GetEol(); highlighter.Next())
    seen.emplace_back(highlighter.GetExpandedTokenPos(), highlighter.GetExpandedToken());
  const String F(1, WideGlyphFiller);
  const std::vector<std::pair<Integer, String>> expected = {
      {0, F + u"\u4E2D"}, {2, F + u"\u6587"}, {4, u" "}, {5, u"x"}, {6, u"\t\t"}, {8, u"'" + F + u"\u4E2D'"}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(highlighter.PosToExpandedPos(2), 4);
}

TEST(DfmHighlighter, WithoutDisplayFormPositionsArePlain) {
  H highlighter;
  highlighter.SetLine(u"ab cd", 0);
  highlighter.Next();
  EXPECT_EQ(highlighter.GetExpandedTokenPos(), 2);
  EXPECT_EQ(highlighter.GetExpandedToken(), u" ");
  EXPECT_EQ(highlighter.PosToExpandedPos(3), 3);
}

}  // namespace
