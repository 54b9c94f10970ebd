#include "formfile/formconvert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "rtl/codepage.h"
#include "rtl/exceptions.h"
#include "rtl/extended.h"
#include "rtl/floattext.h"
#include "rtl/formatsettings.h"
#include "rtl/unicode.h"
#include "support/form_streams.h"

namespace {

using form_test::BinaryToText;
using form_test::FormWithValue;
using form_test::Hex;
using form_test::TextToBinary;
using form_test::TextWithValue;

std::string Repeat(char c, size_t count) {
  return std::string(count, c);
}

std::string HexRun(size_t count) {
  std::string hex;
  for (size_t i = 0; i < count; ++i) hex += "AB";
  return hex;
}

std::string BinaryValue(size_t count) {
  std::string bytes = Hex("0A") + std::string(1, static_cast<char>(count)) + std::string(3, '\0');
  return bytes + std::string(count, '\xAB');
}

std::string ExceptionMessage(const Exception& e) {
  return StringToUTF8(e.Message());
}

// A value that converts both ways: binary -> text gives `text`, and text ->
// binary gives the bytes back.
struct ValueCase {
  const char* Name;
  std::string Binary;
  std::string Text;
};

class ValueBothWays : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueBothWays, BinaryToTextAndBack) {
  const ValueCase& c = GetParam();
  std::string binary = FormWithValue(c.Binary);
  std::string text = TextWithValue(c.Text);
  EXPECT_EQ(BinaryToText(binary), text);
  EXPECT_EQ(TextToBinary(text), binary);
}

const std::string k64 = Repeat('a', 64);

INSTANTIATE_TEST_SUITE_P(
    Values, ValueBothWays,
    ::testing::Values(
        ValueCase{"Int8Max", Hex("02 7F"), "127"}, ValueCase{"Int8Min", Hex("02 80"), "-128"},
        ValueCase{"Int16", Hex("03 80 00"), "128"}, ValueCase{"Int16Negative", Hex("03 7F FF"), "-129"},
        ValueCase{"Int16Min", Hex("03 00 80"), "-32768"}, ValueCase{"Int32", Hex("04 00 80 00 00"), "32768"},
        ValueCase{"Int32Min", Hex("04 00 00 00 80"), "-2147483648"},
        ValueCase{"Int64", Hex("13 00 00 00 80 00 00 00 00"), "2147483648"},
        ValueCase{"Int64Negative", Hex("13 FF FF FF 7F FF FF FF FF"), "-2147483649"},
        ValueCase{"String", Hex("06 03 61 62 63"), "'abc'"}, ValueCase{"Empty", Hex("12 00 00 00 00"), "''"},
        ValueCase{"Apostrophe", Hex("06 04 49 74 27 73"), "'It'#39's'"},
        ValueCase{"Tab", Hex("06 03 61 09 62"), "'a'#9'b'"}, ValueCase{"OnlyCodes", Hex("06 02 0D 0A"), "#13#10"},
        ValueCase{"WideLetter", Hex("12 01 00 00 00 E9 00"), "#233"},
        ValueCase{"UTF8", Hex("14 03 00 00 00 61 C3 A9"), "'a'#233"},
        ValueCase{"Surrogates", Hex("12 02 00 00 00 3D D8 00 DE"), "#55357#56832"},
        ValueCase{"WideApostrophe", Hex("14 04 00 00 00 27 C3 A9 7F"), "#39#233'\x7F'"},
        ValueCase{"String64", Hex("06 40") + k64, "'" + k64 + "'"},
        ValueCase{"String65", Hex("06 41") + k64 + "b", "\r\n    '" + k64 + "' +\r\n    'b'"},
        ValueCase{"CodesCount", Hex("06 41") + Repeat('a', 63) + "\tb",
                  "\r\n    '" + Repeat('a', 63) + "'#9 +\r\n    'b'"},
        ValueCase{"LString", Hex("0C 2C 01 00 00") + Repeat('x', 300),
                  "\r\n    '" + Repeat('x', 64) + "' +\r\n    '" + Repeat('x', 64) + "' +\r\n    '" + Repeat('x', 64) +
                      "' +\r\n    '" + Repeat('x', 64) + "' +\r\n    '" + Repeat('x', 44) + "'"},
        ValueCase{"False", Hex("08"), "False"}, ValueCase{"True", Hex("09"), "True"},
        ValueCase{"Nil", Hex("0D"), "nil"}, ValueCase{"Null", Hex("00"), "Null"},
        ValueCase{"Ident", Hex("07 05") + "clRed", "clRed"},
        ValueCase{"Reference", Hex("07 0B") + "Form1.Edit1", "Form1.Edit1"},
        ValueCase{"Set", Hex("0B 06") + "fsBold" + Hex("08") + "fsItalic" + Hex("00"), "[fsBold, fsItalic]"},
        ValueCase{"EmptySet", Hex("0B 00"), "[]"}, ValueCase{"EmptyList", Hex("01 00"), "()"},
        ValueCase{"List", Hex("01 02 01 06 01 61 00"), "(\r\n    1\r\n    'a')"},
        ValueCase{"NestedList", Hex("01 01 02 01 00 00"), "(\r\n    (\r\n      1))"},
        ValueCase{"EmptyCollection", Hex("0E 00"), "<>"},
        ValueCase{"Collection", Hex("0E 01 01 43 02 05 00 01 00 00"),
                  "<\r\n    item\r\n      C = 5\r\n    end\r\n    item\r\n    end>"},
        ValueCase{"CollectionIndex", Hex("0E 02 07 01 00 00"), "<\r\n    item [7]\r\n    end>"},
        ValueCase{"EmptyBinary", Hex("0A 00 00 00 00"), "{}"},
        ValueCase{"Binary31", BinaryValue(31), "{" + HexRun(31) + "}"},
        ValueCase{"Binary32", BinaryValue(32), "{\r\n    " + HexRun(32) + "}"},
        ValueCase{"Binary33", BinaryValue(33), "{\r\n    " + HexRun(32) + "\r\n    AB}"},
        ValueCase{"Extended", Hex("05 00 00 00 00 00 00 00 C0 FF 3F"), "1.500000000000000000"},
        ValueCase{"ExtendedZero", Hex("05 00 00 00 00 00 00 00 00 00 00"), "0.000000000000000000"},
        ValueCase{"ExtendedNegative", Hex("05 00 00 00 00 00 00 00 80 01 C0"), "-4.000000000000000000"},
        ValueCase{"Single", Hex("0F 00 00 C0 3F"), "1.5s"},
        ValueCase{"Date", Hex("11 00 00 00 00 00 00 F8 3F"), "1.5d"},
        ValueCase{"Currency", Hex("10 98 3A 00 00 00 00 00 00"), "15000c"}),
    [](const auto& info) { return std::string(info.param.Name); });

// Values whose text comes back in another encoding than they were stored in.
struct OneWayCase {
  const char* Name;
  std::string Binary;
  std::string Text;
  std::string BinaryAgain;
};

class ValueOneWay : public ::testing::TestWithParam<OneWayCase> {};

TEST_P(ValueOneWay, ComesBackAsTheWriterChooses) {
  const OneWayCase& c = GetParam();
  EXPECT_EQ(BinaryToText(FormWithValue(c.Binary)), TextWithValue(c.Text));
  EXPECT_EQ(TextToBinary(TextWithValue(c.Text)), FormWithValue(c.BinaryAgain));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ValueOneWay,
    ::testing::Values(OneWayCase{"ShortLString", Hex("0C 03 00 00 00 61 62 63"), "'abc'", Hex("06 03 61 62 63")},
                      OneWayCase{"EmptyString", Hex("06 00"), "''", Hex("12 00 00 00 00")},
                      OneWayCase{"AnsiLetters", Hex("06 02 E9 74"), "'\xE9t'", Hex("14 03 00 00 00 C3 A9 74")},
                      OneWayCase{"AnsiLetter", Hex("06 01 E9"), "'\xE9'", Hex("12 01 00 00 00 E9 00")},
                      OneWayCase{"Double", Hex("15 00 00 00 00 00 00 F8 3F"), "1.500000000000000000",
                                 Hex("05 00 00 00 00 00 00 00 C0 FF 3F")},
                      OneWayCase{"WideAscii", Hex("12 01 00 00 00 61 00"), "'a'", Hex("06 01 61")},
                      OneWayCase{"IndexInt16", Hex("0E 03 05 00 01 00 00"), "<\r\n    item [5]\r\n    end>",
                                 Hex("0E 02 05 01 00 00")},
                      OneWayCase{"IdentTrue", Hex("07 04") + "true", "true", Hex("09")}),
    [](const auto& info) { return std::string(info.param.Name); });

// Text forms of values and the bytes they give.
struct TextValueCase {
  const char* Name;
  std::string Text;
  std::string Binary;
};

class TextValue : public ::testing::TestWithParam<TextValueCase> {};

TEST_P(TextValue, Converts) {
  EXPECT_EQ(TextToBinary(TextWithValue(GetParam().Text)), FormWithValue(GetParam().Binary));
}

INSTANTIATE_TEST_SUITE_P(
    Values, TextValue,
    ::testing::Values(TextValueCase{"Hex", "$FF", Hex("03 FF 00")},
                      TextValueCase{"HexAllBits", "$FFFFFFFFFFFFFFFF", Hex("02 FF")},
                      TextValueCase{"Exponent", "1e3", Hex("05 00 00 00 00 00 00 00 FA 08 40")},
                      TextValueCase{"ExtendedSuffix", "1.5F", Hex("05 00 00 00 00 00 00 00 C0 FF 3F")},
                      TextValueCase{"CurrencyScaled", "12c", Hex("10 0C 00 00 00 00 00 00 00")},
                      TextValueCase{"CurrencyTiesToEven", "2.5C", Hex("10 02 00 00 00 00 00 00 00")},
                      TextValueCase{"SingleSuffix", "0.5S", Hex("0F 00 00 00 3F")},
                      TextValueCase{"DateSuffix", "2D", Hex("11 00 00 00 00 00 00 00 40")},
                      TextValueCase{"Joined", "'ab' +\r\n    'c' + #100", Hex("06 04 61 62 63 64")},
                      TextValueCase{"CodeWithoutDigits", "#", Hex("06 01 00")},
                      TextValueCase{"DoubledApostrophe", "''''", Hex("06 01 27")},
                      TextValueCase{"WideRunBytes", "'\xC3\xA9'#300", Hex("12 03 00 00 00 C3 00 A9 00 2C 01")},
                      TextValueCase{"AnsiText", "'caf\xE9'", Hex("14 05 00 00 00 63 61 66 C3 A9")},
                      TextValueCase{"CharSet", "['a', 'b']", Hex("0B 03 23 39 37 03 23 39 38 00")},
                      TextValueCase{"NumberSet", "[1, $2]", Hex("0B 01 31 02 24 32 00")},
                      TextValueCase{"SpacedBinary", "{ 01 0203\r\n 04 }", Hex("0A 04 00 00 00 01 02 03 04")},
                      TextValueCase{"IdentCase", "NIL", Hex("0D")}, TextValueCase{"NullOutsideList", "null", Hex("00")},
                      TextValueCase{"NullInReference", "(Null.X)", Hex("01 07 06") + "Null.X" + Hex("00")},
                      TextValueCase{"ItemCase", "<ITEM End>", Hex("0E 01 00 00")}),
    [](const auto& info) { return std::string(info.param.Name); });

// Object headers both ways.
struct HeaderCase {
  const char* Name;
  std::string Binary;  // behind the signature
  std::string Text;
};

class Header : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(Header, BothWays) {
  std::string binary = "TPF0" + GetParam().Binary;
  EXPECT_EQ(BinaryToText(binary), GetParam().Text);
  EXPECT_EQ(TextToBinary(GetParam().Text), binary);
}

INSTANTIATE_TEST_SUITE_P(
    Objects, Header,
    ::testing::Values(
        HeaderCase{"NoName", Hex("05") + "TForm" + Hex("00 00 00"), "object TForm\r\nend\r\n"},
        HeaderCase{"Named", Hex("06") + "TForm1" + Hex("05") + "Form1" + Hex("00 00"),
                   "object Form1: TForm1\r\nend\r\n"},
        HeaderCase{"InheritedAt", Hex("F3 02 02 07") + "TButton" + Hex("07") + "Button1" + Hex("00 00"),
                   "inherited Button1: TButton [2]\r\nend\r\n"},
        HeaderCase{"Inline", Hex("F4 06") + "TFrame" + Hex("02") + "F1" + Hex("00 00"), "inline F1: TFrame\r\nend\r\n"},
        HeaderCase{"Children",
                   Hex("01") + "A" + Hex("00 01 50 02 01 00 01") + "B" + Hex("01") + "b" + Hex("00 00 F2 03 2C 01 01") +
                       "C" + Hex("00 00 00 00"),
                   "object A\r\n  P = 1\r\n  object b: B\r\n  end\r\n  object C [300]\r\n  end\r\nend\r\n"},
        // A class name as long as this has a length byte that reads as a
        // prefix; an empty prefix keeps the record readable.
        HeaderCase{"LongClassName", Hex("F0 F0") + std::string(240, 'T') + Hex("00 00 00"),
                   "object " + std::string(240, 'T') + "\r\nend\r\n"},
        HeaderCase{"DottedProperty", Hex("01") + "A" + Hex("00 09") + "Font.Name" + Hex("06 01 78 00 00"),
                   "object A\r\n  Font.Name = 'x'\r\nend\r\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(FormTextToBinary, KeywordsAndSpacingAreFree) {
  EXPECT_EQ(TextToBinary("OBJECT a : B [ 1 ]\n P . Q = 1 Inherited c: D end END"),
            "TPF0" + Hex("F2 02 01 01") + "B" + Hex("01") + "a" + Hex("03") + "P.Q" + Hex("02 01 00 F1 01") + "D" +
                Hex("01") + "c" + Hex("00 00 00"));
}

TEST(FormBinaryToText, NonAsciiNamesGiveAByteOrderMark) {
  std::string binary = "TPF0" + Hex("03") + "T\xC3\xA9" + Hex("00 00 00");
  EXPECT_EQ(BinaryToText(binary), "\xEF\xBB\xBFobject T\xC3\xA9\r\nend\r\n");
  EXPECT_EQ(TextToBinary("\xEF\xBB\xBFobject T\xC3\xA9\r\nend\r\n"), binary);
  // Without the mark the letter is no identifier character.
  EXPECT_THROW(TextToBinary("object T\xC3\xA9\r\nend\r\n"), EParserError);
  // A string value stays in ASCII and needs no mark.
  EXPECT_EQ(BinaryToText(FormWithValue(Hex("12 01 00 00 00 E9 00"))), TextWithValue("#233"));
}

TEST(FormBinaryToText, CutsDoubleByteCharactersWhole) {
  SetCurrentCodePage(932);
  struct Restore {
    ~Restore() { SetCurrentCodePage(0); }
  } restore;
  // 63 letters, then a two-byte character that would straddle the 64th position.
  std::string value = Repeat('a', 63) + "\x82\xA0" + "b";
  std::string text = BinaryToText(FormWithValue(Hex("06 42") + value));
  EXPECT_EQ(text, TextWithValue("\r\n    '" + Repeat('a', 63) + "' +\r\n    '\x82\xA0" + "b'"));
}

TEST(FormTextToBinary, RefusesNullInAList) {
  try {
    TextToBinary("object A\r\n  P = (\r\n    1\r\n    Null\r\n    2)\r\nend\r\n");
    FAIL() << "no error";
  } catch (const EParserError& e) {
    EXPECT_EQ(ExceptionMessage(e), "Invalid property value on line 4");
  }
}

TEST(FormTextToBinary, LeavesTheInputBehindTheRootObject) {
  std::string text = "object A\r\nend\r\n  object B end";
  TBytesStream input(form_test::ToBytes(text));
  TBytesStream output;
  FormTextToBinary(input, output);
  EXPECT_EQ(input.Position(), static_cast<Int64>(text.find("object B")));
}

TEST(FormTextToBinary, KeepsWhatWasWrittenBeforeAFailure) {
  TBytesStream input(form_test::ToBytes("object A\r\n  P = 1\r\n  Q = )\r\nend\r\n"));
  TBytesStream output;
  EXPECT_THROW(FormTextToBinary(input, output), EParserError);
  EXPECT_EQ(form_test::ToString(output), "TPF0" + Hex("01") + "A" + Hex("00 01") + "P" + Hex("02 01 01") + "Q");
}

TEST(FormBinaryToText, AppendsToTheOutputAndNothingOnFailure) {
  std::string good = FormWithValue(Hex("02 01"));
  TBytesStream output(form_test::ToBytes("before"));
  output.Seek(0, soEnd);
  TBytesStream input(form_test::ToBytes(good));
  FormBinaryToText(input, output);
  EXPECT_EQ(form_test::ToString(output), "before" + TextWithValue("1"));
  EXPECT_EQ(input.Position(), static_cast<Int64>(good.size()));

  TBytesStream bad(form_test::ToBytes(good.substr(0, good.size() - 1)));
  TBytesStream untouched(form_test::ToBytes("before"));
  untouched.Seek(0, soEnd);
  EXPECT_THROW(FormBinaryToText(bad, untouched), EReadError);
  EXPECT_EQ(form_test::ToString(untouched), "before");
}

TEST(FormBinaryToText, WritesAtTheOutputsPosition) {
  std::string binary = FormWithValue(Hex("02 01"));
  std::string text = TextWithValue("1");
  TBytesStream output(form_test::ToBytes("0123" + std::string(text.size(), '-') + "tail"));
  output.SetPosition(4);
  TBytesStream input(form_test::ToBytes(binary));
  FormBinaryToText(input, output);
  EXPECT_EQ(form_test::ToString(output), "0123" + text + "tail");
  EXPECT_EQ(output.Position(), static_cast<Int64>(4 + text.size()));
}

// Broken text and the error it gives.
struct TextErrorCase {
  const char* Name;
  std::string Text;
  std::string Message;
  bool Parser;  // EParserError, else EConvertError
};

class TextError : public ::testing::TestWithParam<TextErrorCase> {};

TEST_P(TextError, Fails) {
  const TextErrorCase& c = GetParam();
  try {
    TextToBinary(c.Text);
    FAIL() << "no error";
  } catch (const EParserError& e) {
    EXPECT_TRUE(c.Parser);
    EXPECT_EQ(ExceptionMessage(e), c.Message);
  } catch (const EConvertError& e) {
    EXPECT_FALSE(c.Parser);
    EXPECT_EQ(ExceptionMessage(e), c.Message);
  }
}

std::string Nested(const std::string& open, int depth) {
  std::string text = "object A\r\n  P = ";
  for (int i = 0; i < depth; ++i) text += open;
  return text;
}

std::string DeepObjects(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "object A\r\n";
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Errors, TextError,
    ::testing::Values(
        TextErrorCase{"NoObject", "thing A\r\nend", "OBJECT expected on line 1", true},
        TextErrorCase{"NoClass", "object\r\n", "Identifier expected on line 2", true},
        TextErrorCase{"NoClassAfterColon", "object A: 5", "Identifier expected on line 1", true},
        TextErrorCase{"NoPosition", "object A [x]", "Number expected on line 1", true},
        TextErrorCase{"NoBracket", "object A [1 end", "'']'' expected on line 1", true},
        TextErrorCase{"NoEquals", "object A\r\n  P 5\r\nend", "''='' expected on line 2", true},
        TextErrorCase{"NoPathPart", "object A\r\n  P. = 5\r\nend", "Identifier expected on line 2", true},
        TextErrorCase{"BadValue", "object A\r\n  P = )\r\nend", "Invalid property value on line 2", true},
        TextErrorCase{"OpenString", "object A\r\n  P = 'abc\r\nend", "Invalid string constant on line 2", true},
        TextErrorCase{"StringAtEnd", "object A\r\n  P = 'abc", "Invalid string constant on line 2", true},
        TextErrorCase{"OddBinary", "object A\r\n  P = {0A1}\r\nend", "Invalid binary value on line 2", true},
        TextErrorCase{"BadBinary", "object A\r\n  P = {0G}\r\nend", "Invalid binary value on line 2", true},
        TextErrorCase{"OpenBinary", "object A\r\n  P = {00\r\n", "Invalid binary value on line 3", true},
        TextErrorCase{"JoinedNumber", "object A\r\n  P = 'a' +\r\n 5\r\nend", "String expected on line 3", true},
        TextErrorCase{"NoItem", "object A\r\n  P = <x>\r\nend", "item expected on line 2", true},
        TextErrorCase{"SetSeparator", "object A\r\n  P = [a b]\r\nend", "'','' expected on line 2", true},
        TextErrorCase{"SetElement", "object A\r\n  P = [(]\r\nend", "Identifier expected on line 2", true},
        TextErrorCase{"DottedEnd", "object A\r\n  P = a.\r\nend", "Identifier expected on line 2", true},
        TextErrorCase{"DottedDigit", "object A\r\n  P = a.1\r\nend", "Identifier expected on line 2", true},
        TextErrorCase{"OpenList", "object A\r\n  P = (1", "Invalid property value on line 2", true},
        TextErrorCase{"NoEnd", "object A\r\n  P = 1\r\n", "Identifier expected on line 3", true},
        TextErrorCase{"PropertyAfterChild", "object A\r\n object B end\r\n P = 1\r\nend", "OBJECT expected on line 3",
                      true},
        TextErrorCase{"Utf16LE", "\xFF\xFEo\0b\0", "ANSI or UTF8 encoding expected on line 1", true},
        TextErrorCase{"Utf16BE", "\xFE\xFF\0o\0b", "ANSI or UTF8 encoding expected on line 1", true},
        TextErrorCase{"LineTooLong", "object A\r\n  P = '" + Repeat('x', 5000) + "'\r\nend\r\n",
                      "Line too long on line 2", true},
        TextErrorCase{"DeepLists", Nested("(", 300), "Invalid property value on line 2", true},
        TextErrorCase{"DeepCollections", Nested("< item P = ", 300), "Invalid property value on line 2", true},
        TextErrorCase{"DeepObjects", DeepObjects(300), "Invalid property value on line 258", true},
        TextErrorCase{"Minus", "object A\r\n  P = -\r\nend", "''-'' is not a valid integer value", false},
        TextErrorCase{"Dollar", "object A\r\n  P = $\r\nend", "''$'' is not a valid integer value", false},
        TextErrorCase{"IntegerOverflow", "object A\r\n  P = 9223372036854775808\r\nend",
                      "''9223372036854775808'' is not a valid integer value", false},
        TextErrorCase{"HexOverflow", "object A\r\n  P = $10000000000000000\r\nend",
                      "''$10000000000000000'' is not a valid integer value", false},
        TextErrorCase{"BadFloat", "object A\r\n  P = 1.2.3s\r\nend", "'1.2.3' is not a valid floating point value",
                      false},
        TextErrorCase{"CurrencyRange", "object A\r\n  P = 1e30c\r\nend", "Invalid property value on line 2", true},
        TextErrorCase{"SingleRange", "object A\r\n  P = 1e300s\r\nend", "Invalid property value on line 2", true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(FormTextToBinary, LineLengthLimit) {
  // A line feed within 4095 bytes of the line's start: 4094 bytes and the feed.
  auto withLine = [](size_t length) {
    std::string line = "  P = '" + Repeat('x', length - 9) + "'";
    EXPECT_EQ(line.size() + 1, length);  // with its CR
    return "object A\r\n" + line + "\r\nend\r\n";
  };
  EXPECT_NO_THROW(TextToBinary(withLine(4094)));
  EXPECT_THROW(TextToBinary(withLine(4095)), EParserError);
  // Split with "+" over several lines, a long string converts.
  std::string joined = "object A\r\n  P = '" + Repeat('x', 3000) + "' +\r\n    '" + Repeat('y', 3000) + "'\r\nend\r\n";
  EXPECT_EQ(TextToBinary(joined), "TPF0" + Hex("01") + "A" + Hex("00 01") + "P" + Hex("0C 70 17 00 00") +
                                      Repeat('x', 3000) + Repeat('y', 3000) + Hex("00 00"));
}

// Broken binary streams and the error they give.
struct BinaryErrorCase {
  const char* Name;
  std::string Binary;
  std::string Message;
};

class BinaryError : public ::testing::TestWithParam<BinaryErrorCase> {};

TEST_P(BinaryError, FailsWithoutOutput) {
  TBytesStream input(form_test::ToBytes(GetParam().Binary));
  TBytesStream output;
  try {
    FormBinaryToText(input, output);
    FAIL() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(ExceptionMessage(e), GetParam().Message);
  }
  EXPECT_EQ(output.Size(), 0);
}

std::string DeepBinaryLists(int depth) {
  std::string value;
  for (int i = 0; i < depth; ++i) value += Hex("01");
  return FormWithValue(value);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, BinaryError,
    ::testing::Values(
        BinaryErrorCase{"Signature", "TPF1" + Hex("01 41 00 00 00"), "Invalid stream format"},
        BinaryErrorCase{"ShortSignature", "TP", "Stream read error"}, BinaryErrorCase{"Empty", "", "Stream read error"},
        BinaryErrorCase{"Truncated", "TPF0" + Hex("05") + "TFo", "Stream read error"},
        BinaryErrorCase{"NoEndMarker", FormWithValue(Hex("02 01")).substr(0, 12), "Stream read error"},
        BinaryErrorCase{"UnknownTag", FormWithValue(Hex("16")), "Error reading TX.P: 22"},
        BinaryErrorCase{"UnknownTagNamed", "TPF0" + Hex("02") + "TX" + Hex("02") + "X1" + Hex("01") + "Q" + Hex("FF"),
                        "Error reading X1.Q: 255"},
        BinaryErrorCase{"ItemWithoutList", FormWithValue(Hex("0E 02 05 07 01 41 00")), "Invalid property value"},
        BinaryErrorCase{"HugeLString", FormWithValue(Hex("0C FF FF FF 7F 41")), "Stream read error"},
        BinaryErrorCase{"HugeWString", FormWithValue(Hex("12 FF FF FF FF 41")), "Stream read error"},
        BinaryErrorCase{"HugeUTF8", FormWithValue(Hex("14 00 00 00 80 41")), "Stream read error"},
        BinaryErrorCase{"HugeBinary", FormWithValue(Hex("0A FF FF FF FF 41")), "Stream read error"},
        BinaryErrorCase{"DeepLists", DeepBinaryLists(300), "Invalid stream format"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(FormBinaryToText, DeepButAllowedNesting) {
  std::string value;
  for (int i = 0; i < 200; ++i) value += Hex("01");
  value += std::string(200, '\0');
  EXPECT_NO_THROW(BinaryToText(FormWithValue(value)));
}

TEST(FormBinaryToText, ReadsOnlyTheRootObject) {
  std::string binary = FormWithValue(Hex("02 01")) + "trailing";
  TBytesStream input(form_test::ToBytes(binary));
  TBytesStream output;
  FormBinaryToText(input, output);
  EXPECT_EQ(input.Position(), static_cast<Int64>(binary.size() - 8));
}

// What a conversion gives: the output, the error, and where it leaves the input.
struct ConversionResult {
  std::string Output;
  std::string Error;
  Int64 InputPosition = 0;

  bool operator==(const ConversionResult&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ConversionResult& result) {
  return out << result.Output.size() << " bytes out, error \"" << result.Error << "\", input at "
             << result.InputPosition;
}

using ConvertFunction = void (*)(TStream&, TStream&);

// The input starts one byte into its stream, the output behind what it holds.
ConversionResult ConvertInMemory(ConvertFunction convert, const std::string& input) {
  TBytesStream in(form_test::ToBytes("#" + input));
  in.SetPosition(1);
  TBytesStream out(form_test::ToBytes("held"));
  out.Seek(0, soEnd);
  ConversionResult result;
  try {
    convert(in, out);
  } catch (const Exception& e) {
    result.Error = ExceptionMessage(e);
  }
  result.Output = form_test::ToString(out);
  result.InputPosition = in.Position();
  return result;
}

ConversionResult ConvertFiles(ConvertFunction convert, const std::string& input) {
  std::filesystem::path folder = std::filesystem::temp_directory_path();
  std::filesystem::path inputPath = folder / "kestrum-formconvert-input.dfm";
  std::filesystem::path outputPath = folder / "kestrum-formconvert-output.dfm";
  std::ofstream(inputPath, std::ios::binary) << "#" << input;
  std::ofstream(outputPath, std::ios::binary) << "held";
  ConversionResult result;
  {
    TFileStream in(UTF8ToString(inputPath.string()), fmOpenRead);
    in.SetPosition(1);
    TFileStream out(UTF8ToString(outputPath.string()), fmOpenReadWrite);
    out.Seek(0, soEnd);
    try {
      convert(in, out);
    } catch (const Exception& e) {
      result.Error = ExceptionMessage(e);
    }
    result.InputPosition = in.Position();
  }
  std::ifstream written(outputPath, std::ios::binary);
  result.Output.assign(std::istreambuf_iterator<char>(written), std::istreambuf_iterator<char>());
  written.close();
  std::filesystem::remove(inputPath);
  std::filesystem::remove(outputPath);
  return result;
}

// String properties on lines of `length` bytes with their CR LF, as many as
// make up `total` bytes.
std::string LongLines(size_t length, size_t total) {
  std::string lines;
  for (int i = 0; lines.size() < total; ++i) {
    std::string start = "  P" + std::to_string(i) + " = '";
    lines += start + Repeat('x', length - start.size() - 3) + "'\r\n";
  }
  return lines;
}

std::string HexProperty(size_t rows) {
  std::string text = "  Data = {";
  for (size_t i = 0; i < rows; ++i) text += "\r\n    " + HexRun(32);
  return text + "}\r\n";
}

// Inputs far larger than what the conversions read at a time, and failures
// early and late: a stream in memory and a file give the same results.
TEST(FormConversions, FilesAgreeWithMemory) {
  std::string large = "object A: TA\r\n" + LongLines(4000, 300000) + HexProperty(8000) + "end\r\n";
  std::string largeBinary = TextToBinary(large);
  const std::string texts[] = {
      large,
      large + "  object B end",
      large.substr(0, large.size() / 2),
      "object A: TA\r\n" + LongLines(4000, 200000) + "  Q = '" + Repeat('y', 5000) + "'\r\nend\r\n",
      Repeat('x', 5000),
      "\xFF\xFE" + large,
      "  '" + Repeat(' ', 300000) + "\r\n",
  };
  for (const std::string& text : texts) {
    ConversionResult inMemory = ConvertInMemory(FormTextToBinary, text);
    EXPECT_EQ(ConvertFiles(FormTextToBinary, text), inMemory) << text.substr(0, 40);
  }
  EXPECT_TRUE(ConvertInMemory(FormTextToBinary, large).Output == "held" + largeBinary);
  // A first line too long leaves the input behind the one window read.
  EXPECT_EQ(ConvertInMemory(FormTextToBinary, Repeat('x', 5000)).InputPosition, 1 + 4095);
  const std::string binaries[] = {
      largeBinary,
      largeBinary + "trailing",
      largeBinary.substr(0, largeBinary.size() - 100),
      largeBinary.substr(0, 100000),
  };
  for (const std::string& binary : binaries) {
    ConversionResult inMemory = ConvertInMemory(FormBinaryToText, binary);
    EXPECT_EQ(ConvertFiles(FormBinaryToText, binary), inMemory);
  }
}

TEST(FormTextToBinary, LineLengthLimitFarIntoTheText) {
  // A line of 4095 bytes with its line feed is the longest there may be.
  std::string lines = LongLines(4095, 400000);
  EXPECT_NO_THROW(TextToBinary("object A\r\n" + lines + "end\r\n"));
  try {
    TextToBinary("object A\r\n" + lines + LongLines(4096, 1) + "end\r\n");
    FAIL() << "no error";
  } catch (const EParserError& e) {
    size_t lineCount = static_cast<size_t>(std::count(lines.begin(), lines.end(), '\n'));
    EXPECT_EQ(ExceptionMessage(e), "Line too long on line " + std::to_string(lineCount + 2));
  }
}

}  // namespace

namespace {

std::string ExtendedValue(const Extended80& value) {
  return Hex("05") + std::string(value.bytes.begin(), value.bytes.end());
}

Extended80 ExtendedFromText(const std::string& text) {
  Extended80 value;
  EXPECT_TRUE(TryStrToExtended80(UTF8ToString(text), value, InvariantFormatSettings())) << text;
  return value;
}

}  // namespace

// Whole numbers take a shorter way than other floats; both must agree with
// the general decimal conversion, at the edges of the shorter way too.
TEST(FormFloats, WholeNumbersAgreeWithTheGeneralConversion) {
  for (const char* text : {"1.0", "-1.0", "7.000000000000000000", "-4096.0", "999999999999999.0", "1000000000000000.0",
                           "-1000000000000001.0", "9007199254740993.0", "12345678901234567.0", "999999999999999999.0",
                           "1000000000000000000.0", "0.0", "-0.0", "0001.000", "2.5", "1.", "1.0e3", "1.0f"}) {
    std::string token = std::string(text).back() == 'f' ? std::string(text, std::strlen(text) - 1) : text;
    Extended80 expected = ExtendedFromText(token);
    EXPECT_EQ(TextToBinary(TextWithValue(text)), FormWithValue(ExtendedValue(expected))) << text;
    std::string written = StringToUTF8(FloatToStrF(expected, ffFixed, 16, 18, InvariantFormatSettings()));
    EXPECT_EQ(BinaryToText(FormWithValue(ExtendedValue(expected))), TextWithValue(written)) << text;
  }
  // A whole number with its lowest significand bit set, and the largest exponent.
  for (Extended80 value : {Extended80::FromParts(false, Extended80::kExponentBias + 63, ~UInt64{0}),
                           Extended80::FromParts(true, Extended80::kExponentBias + 62, ~UInt64{0}),
                           Extended80::FromParts(false, Extended80::kExponentBias + 49, ~UInt64{0} << 14)}) {
    std::string written = StringToUTF8(FloatToStrF(value, ffFixed, 16, 18, InvariantFormatSettings()));
    EXPECT_EQ(BinaryToText(FormWithValue(ExtendedValue(value))), TextWithValue(written)) << written;
  }
}
