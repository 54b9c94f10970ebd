#include "formfile/parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rtl/unicode.h"

namespace {

TBytes ToBytes(std::string_view text) {
  return TBytes(text.begin(), text.end());
}

std::string Describe(TParser& parser) {
  switch (parser.Token()) {
    case toEOF: return "EOF";
    case toSymbol: return "ident:" + StringToUTF8(parser.TokenString());
    case toString: return "string:" + StringToUTF8(parser.TokenString());
    case toWString: return "wide:" + StringToUTF8(parser.TokenString());
    case toInteger: return "int:" + std::to_string(parser.TokenInt());
    case toFloat: {
      std::string suffix = parser.FloatType() ? std::string(1, static_cast<char>(parser.FloatType())) : "";
      return "float:" + std::string(parser.TokenText()) + "/" + suffix;
    }
    default: return "sym:" + std::string(1, static_cast<char>(parser.Token()));
  }
}

std::vector<std::string> Tokens(std::string_view text) {
  TBytesStream stream(ToBytes(text));
  TParser parser(stream);
  std::vector<std::string> tokens;
  while (parser.Token() != toEOF) {
    tokens.push_back(Describe(parser));
    parser.NextToken();
  }
  return tokens;
}

struct TokenCase {
  const char* Name;
  std::string Text;
  std::vector<std::string> Tokens;
};

class ParserTokens : public ::testing::TestWithParam<TokenCase> {};

TEST_P(ParserTokens, Splits) {
  EXPECT_EQ(Tokens(GetParam().Text), GetParam().Tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, ParserTokens,
    ::testing::Values(TokenCase{"Identifiers", " abc\t_x1\r\nA_9 ", {"ident:abc", "ident:_x1", "ident:A_9"}},
                      TokenCase{"Symbols",
                                "=.,[](){}<>:+;",
                                {"sym:=", "sym:.", "sym:,", "sym:[", "sym:]", "sym:(", "sym:)", "sym:{", "sym:}",
                                 "sym:<", "sym:>", "sym::", "sym:+", "sym:;"}},
                      TokenCase{"Integers", "12 -5 $1F 007", {"int:12", "int:-5", "int:31", "int:7"}},
                      TokenCase{"Floats",
                                "1.5 1e3 -2.5E-3 12c 3S 4d 5F",
                                {"float:1.5/", "float:1e3/", "float:-2.5E-3/", "float:12c/c", "float:3S/S",
                                 "float:4d/d", "float:5F/F"}},
                      TokenCase{"IntegerLimits",
                                "999999999999999999 -999999999999999999 9223372036854775807 -9223372036854775808 -0",
                                {"int:999999999999999999", "int:-999999999999999999", "int:9223372036854775807",
                                 "int:-9223372036854775808", "int:0"}},
                      TokenCase{"LongRunsAndBlanks",
                                std::string("\t  abcdefghijklmnopqrstuvwxyz_0123456789\r\n") + std::string(40, ' ') +
                                    "'abcdefghijklmnopqrstuvwxyz''ABCDEFGHIJKLMNOPQRSTUVWXYZ'",
                                {"ident:abcdefghijklmnopqrstuvwxyz_0123456789",
                                 "string:abcdefghijklmnopqrstuvwxyz'ABCDEFGHIJKLMNOPQRSTUVWXYZ"}},
                      TokenCase{"NumberThenIdentifier", "1x 0xFF", {"int:1", "ident:x", "int:0", "ident:xFF"}},
                      TokenCase{"Strings",
                                "'a''b' #65#66 'x'#13#10'y' '' #",
                                {"string:a'b", "string:AB", "string:x\r\ny", "string:", std::string("string:") + '\0'}},
                      TokenCase{"WideString",
                                "'a'#233'b'",
                                {"wide:a\xC3\xA9"
                                 "b"}},
                      TokenCase{"WideTakesRunBytes", "'\xC3'#256", {"wide:\xC3\x83\xC4\x80"}},
                      TokenCase{"AnsiString", "'\xE9'", {"string:\xC3\xA9"}},
                      TokenCase{"Utf8String", "\xEF\xBB\xBF'\xC3\xA9'", {"string:\xC3\xA9"}},
                      TokenCase{"AnsiHighByteIsASymbol",
                                "a\xE9"
                                "b",
                                {"ident:a", "sym:\xE9", "ident:b"}},
                      TokenCase{"Utf8Identifiers",
                                "\xEF\xBB\xBF\xC3\xA9t\xC3\xA9 \xE2\x85\xAB x\xCC\x81 a\xE2\x80\x8D"
                                "b",
                                {"ident:\xC3\xA9t\xC3\xA9", "ident:\xE2\x85\xAB", "ident:x\xCC\x81",
                                 "ident:a\xE2\x80\x8D"
                                 "b"}},
                      TokenCase{"Utf8NonLetters", "\xEF\xBB\xBF\xE2\x86\x92", {"sym:\xE2", "sym:\x86", "sym:\x92"}},
                      TokenCase{"ZeroByteEndsTheText", std::string("a b\0c d", 7), {"ident:a", "ident:b"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TParser, CountsLinesAndPositions) {
  TBytesStream stream(ToBytes("a\r\n\r\n  b\nc"));
  TParser parser(stream);
  EXPECT_EQ(parser.SourceLine(), 1);
  EXPECT_EQ(parser.SourcePos(), 0);
  parser.NextToken();
  EXPECT_EQ(parser.SourceLine(), 3);
  EXPECT_EQ(parser.SourcePos(), 7);
  parser.NextToken();
  EXPECT_EQ(parser.SourceLine(), 4);
  EXPECT_EQ(parser.NextToken(), toEOF);
  EXPECT_EQ(parser.NextToken(), toEOF);
}

TEST(TParser, CountsLineFeedsInLongBlankRuns) {
  TBytesStream stream(ToBytes("a" + std::string(20, ' ') + "\n\r\n" + std::string(15, ' ') + "\n\n\t b"));
  TParser parser(stream);
  parser.NextToken();
  EXPECT_TRUE(parser.TokenSymbolIs("B"));
  EXPECT_EQ(parser.SourceLine(), 5);
}

// A string token says whether its bytes are ASCII; bytes behind the closing
// quote do not count.
TEST(TParser, StringBytesAreASCII) {
  struct Case {
    std::string Text;
    bool ASCII;
  };
  const Case cases[] = {
      {"'plain' #65", true},
      {"'" + std::string(20, 'a') + "\xE9'", false},
      {"'abc'#97'" + std::string(30, 'b') + "' \xE9", true},
      {"'abc'\xE9", true},
  };
  for (const Case& c : cases) {
    TBytesStream stream(ToBytes(c.Text));
    TParser parser(stream);
    ASSERT_EQ(parser.Token(), toString) << c.Text;
    EXPECT_EQ(parser.TokenStringIsASCII(), c.ASCII) << c.Text;
  }
}

// A symbol right behind a token, or behind one space, is read without
// moving the token's text; anything else is left to NextToken.
TEST(TParser, NextTokenIfSymbol) {
  TBytesStream stream(ToBytes("Left = 1 Top  = 2 Width\n= 3 Height="));
  TParser parser(stream);
  auto next = [&](char symbol) {
    std::string name(parser.TokenText());
    bool read = parser.NextTokenIfSymbol(symbol);
    return name + (read ? "+" : "-");
  };
  std::vector<std::string> seen;
  while (parser.Token() != toEOF) {
    if (parser.Token() == toSymbol) seen.push_back(next('='));
    parser.NextToken();
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"Left+", "Top-", "Width-", "Height+"}));
}

TEST(TParser, PutsTheStreamBackAtTheCurrentToken) {
  TBytesStream stream(ToBytes("first   second third"));
  {
    TParser parser(stream);
    parser.NextToken();
  }
  EXPECT_EQ(stream.Position(), 8);
}

TEST(TParser, ComponentIdentifiers) {
  TBytesStream stream(ToBytes("Form1.Edit1.Font x . y"));
  TParser parser(stream);
  EXPECT_EQ(parser.TokenComponentIdent(), "Form1.Edit1.Font");
  parser.NextToken();
  EXPECT_EQ(parser.TokenComponentIdent(), "x");  // a "." after blanks is a token of its own
  EXPECT_EQ(parser.NextToken(), u'.');
  EXPECT_TRUE(parser.TokenSymbolIs("Y") == false);
  parser.NextToken();
  EXPECT_TRUE(parser.TokenSymbolIs("Y"));
}

TEST(TParser, ErrorTexts) {
  TBytesStream stream(ToBytes("\n\nword"));
  TParser parser(stream);
  auto message = [&](auto check) {
    try {
      check();
    } catch (const EParserError& e) {
      return StringToUTF8(e.Message());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { parser.CheckToken(toString); }), "String expected on line 3");
  EXPECT_EQ(message([&] { parser.CheckToken(toFloat); }), "Number expected on line 3");
  EXPECT_EQ(message([&] { parser.CheckToken(toSymbol); }), "no error");
  EXPECT_EQ(message([&] { parser.CheckToken(u'='); }), "''='' expected on line 3");
  EXPECT_EQ(message([&] { parser.CheckTokenSymbol("OBJECT"); }), "OBJECT expected on line 3");
  EXPECT_EQ(message([&] { parser.CheckTokenSymbol("WORD"); }), "no error");
}

// Long texts are read window by window; tokens, lines and binary data come
// out the same wherever the windows end.
TEST(TParser, ReadsAcrossWindows) {
  std::string text;
  std::vector<std::string> expected;
  for (int i = 0; i < 2000; ++i) {
    std::string name = "Name" + std::to_string(i);
    text += "  " + name + " = 'value " + std::to_string(i) + "'\r\n";
    expected.push_back("ident:" + name);
    expected.push_back("sym:=");
    expected.push_back("string:value " + std::to_string(i));
  }
  EXPECT_EQ(Tokens(text), expected);

  std::string hex = "{";
  TBytes data;
  for (int row = 0; row < 500; ++row) {
    hex += "\r\n      ";
    for (int i = 0; i < 32; ++i) {
      auto byte = static_cast<Byte>(row * 7 + i);
      data.push_back(byte);
      const char* digits = "0123456789ABCDEF";
      hex += digits[byte >> 4];
      hex += digits[byte & 15];
    }
  }
  hex += "} last";
  TBytesStream stream(ToBytes(hex));
  TParser parser(stream);
  ASSERT_EQ(parser.Token(), u'{');
  TBytes decoded;
  parser.HexToBinary(decoded);
  EXPECT_EQ(decoded, data);
  EXPECT_EQ(parser.Token(), u'}');
  EXPECT_EQ(parser.SourceLine(), 501);
  parser.NextToken();
  EXPECT_TRUE(parser.TokenSymbolIs("last"));
}

TEST(TParser, LongBlankRunsAtWindowEnds) {
  for (size_t blanks : {4000u, 4093u, 4094u}) {
    std::string text = "a\n";
    for (int i = 0; i < 3; ++i) text += std::string(blanks, ' ') + "\n";
    text += std::string(blanks - 1, ' ') + "x";
    TBytesStream stream(ToBytes(text));
    TParser parser(stream);
    EXPECT_TRUE(parser.TokenSymbolIs("a"));
    parser.NextToken();
    EXPECT_TRUE(parser.TokenSymbolIs("x")) << blanks;
    EXPECT_EQ(parser.SourceLine(), 5);
    EXPECT_EQ(parser.NextToken(), toEOF);
  }
}

TEST(TParser, RefusesUTF16) {
  for (std::string text : {std::string("\xFF\xFE"), std::string("\xFE\xFF")}) {
    TBytesStream stream(ToBytes(text + "x"));
    try {
      TParser parser(stream);
      ADD_FAILURE();
    } catch (const EParserError& e) {
      EXPECT_EQ(StringToUTF8(e.Message()), "ANSI or UTF8 encoding expected on line 1");
    }
  }
}

TEST(TParser, LineTooLongAtTheWindow) {
  // One line that does not fit into a window.
  TBytesStream stream(ToBytes(std::string(5000, 'a')));
  EXPECT_THROW(TParser parser(stream), EParserError);
  // The last line may be long when the text ends within the window.
  TBytesStream shortText(ToBytes(std::string(4094, 'a')));
  TParser parser(shortText);
  EXPECT_EQ(parser.TokenText().size(), 4094u);
}

}  // namespace
