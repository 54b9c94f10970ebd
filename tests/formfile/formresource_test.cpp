#include "formfile/formresource.h"

#include <gtest/gtest.h>

#include <string>

#include "rtl/exceptions.h"
#include "rtl/unicode.h"
#include "support/form_streams.h"

namespace {

using form_test::Hex;
using form_test::ToBytes;

std::string Message(const Exception& e) {
  return StringToUTF8(e.Message());
}

std::string SizeBytes(size_t size) {
  return std::string{static_cast<char>(size), static_cast<char>(size >> 8), static_cast<char>(size >> 16),
                     static_cast<char>(size >> 24)};
}

const std::string kText = "object Form1: TForm1\r\n  Caption = 'x'\r\nend\r\n";

TEST(FormTextToResource, SixteenBitHeaderForAsciiNames) {
  std::string stream = form_test::TextToBinary(kText);
  std::string wrapped = form_test::TextToResource(kText);
  EXPECT_EQ(wrapped, Hex("FF 0A 00") + "TFORM1" + Hex("00 30 10") + SizeBytes(stream.size()) + stream);
  EXPECT_EQ(form_test::ResourceToText(wrapped), kText);
}

TEST(FormTextToResource, ThirtyTwoBitFileForOtherNames) {
  std::string text = "\xEF\xBB\xBFobject T\xC3\xA9x\r\nend\r\n";
  std::string stream = form_test::TextToBinary(text);
  std::string wrapped = form_test::TextToResource(text);
  std::string expected = Hex("00 00 00 00 20 00 00 00 FF FF 00 00 FF FF 00 00") + std::string(16, '\0') +
                         SizeBytes(stream.size()) + SizeBytes(3 * 2 + 30) + Hex("FF FF 0A 00") +
                         Hex("54 00 E9 00 58 00 00 00") + Hex("00 00 00 00 00 00 09 04 00 00 00 00 00 00 00 00") +
                         stream;
  EXPECT_EQ(wrapped, expected);
  EXPECT_EQ(form_test::ResourceToText(wrapped), text);
}

TEST(FormTextToResource, NamesTheClassOfAPositionedRoot) {
  std::string wrapped = form_test::TextToResource("inherited F: TFrm [300]\r\nend\r\n");
  EXPECT_EQ(wrapped.substr(0, 9), Hex("FF 0A 00") + "TFRM" + Hex("00 30"));
}

TEST(FormTextToResource, ClassNamesUpTo64Characters) {
  std::string name64 = "T" + std::string(63, 'a');
  std::string wrapped = form_test::TextToResource("object " + name64 + "\r\nend\r\n");
  EXPECT_EQ(wrapped.substr(3, 64), "T" + std::string(63, 'A'));

  TBytesStream input(ToBytes("object " + name64 + "b\r\nend\r\n"));
  TBytesStream output;
  try {
    FormTextToResource(input, output);
    FAIL();
  } catch (const EParserError& e) {
    EXPECT_EQ(Message(e),
              "Component name '" + std::string("T") + std::string(63, 'A') + "B' exceeds 64 character limit");
  }
  EXPECT_EQ(output.Size(), 0);

  // A failing conversion writes nothing either.
  TBytesStream broken(ToBytes("object A\r\n  P = )\r\nend\r\n"));
  EXPECT_THROW(FormTextToResource(broken, output), EParserError);
  EXPECT_EQ(output.Size(), 0);
}

struct HeaderCase {
  const char* Name;
  std::string Bytes;
  Int64 Start;     // where reading begins
  Int64 Position;  // where the form stream begins, or -1 for a failure
};

class ResHeader : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(ResHeader, FindsTheFormStream) {
  const HeaderCase& c = GetParam();
  TBytesStream stream(ToBytes(c.Bytes));
  stream.SetPosition(c.Start);
  if (c.Position < 0) {
    try {
      ReadResHeader(stream);
      FAIL() << "no error";
    } catch (const EInvalidImage& e) {
      EXPECT_EQ(Message(e), "Invalid stream format");
    }
    return;
  }
  ReadResHeader(stream);
  EXPECT_EQ(stream.Position(), c.Position);
}

const std::string kEntry = Hex("00 00 00 00 20 00 00 00 FF FF 00 00 FF FF 00 00") + std::string(16, '\0');
const std::string kResource32 = kEntry + SizeBytes(4) + SizeBytes(32) + Hex("FF FF 0A 00") + Hex("41 00 00 00") +
                                Hex("00 00 00 00 00 00 09 04 00 00 00 00 00 00 00 00") + "TPF0";

INSTANTIATE_TEST_SUITE_P(
    Headers, ResHeader,
    ::testing::Values(HeaderCase{"Sixteen", Hex("FF 0A 00") + "TFORM1" + Hex("00 30 10 04 00 00 00") + "TPF0", 0, 16},
                      HeaderCase{"SixteenLater", "xx" + Hex("FF 0A 00 41 00 30 10 04 00 00 00") + "TPF0", 2, 13},
                      HeaderCase{"SixteenNameWithoutEnd", Hex("FF 0A 00") + std::string(300, 'A'), 0, 262},
                      HeaderCase{"ThirtyTwo", kResource32, 0, 64},
                      HeaderCase{"ThirtyTwoNotAtStart", "junk" + kResource32, 4, -1},
                      HeaderCase{"ThirtyTwoOtherType",
                                 kEntry + SizeBytes(4) + SizeBytes(36) + Hex("FF FF 0E 00") + "rest", 0, -1},
                      HeaderCase{"OnlyTheEntry", kEntry, 0, -1}, HeaderCase{"TextForm", "object A end", 0, -1},
                      HeaderCase{"Empty", "", 0, -1}, HeaderCase{"OtherType", Hex("FF 0E 00 41 00"), 0, -1}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
