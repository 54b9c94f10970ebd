#include "rtl/encoding.h"

#include <gtest/gtest.h>

namespace {

struct DetectCase {
  const char* name;
  TBytes bytes;
  TEncoding* expected;
  Integer preamble;
};

class BufferEncoding : public ::testing::TestWithParam<DetectCase> {};

TEST_P(BufferEncoding, FollowsTheByteOrderMark) {
  const DetectCase& c = GetParam();
  TEncoding* found = nullptr;
  EXPECT_EQ(TEncoding::GetBufferEncoding(c.bytes, found, TEncoding::UTF8()), c.preamble);
  EXPECT_EQ(found, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BufferEncoding,
    ::testing::Values(DetectCase{"utf16le", {0xFF, 0xFE, 'a', 0}, TEncoding::Unicode(), 2},
                      DetectCase{"utf16be", {0xFE, 0xFF, 0, 'a'}, TEncoding::BigEndianUnicode(), 2},
                      DetectCase{"utf8", {0xEF, 0xBB, 0xBF}, TEncoding::UTF8(), 3},
                      DetectCase{"truncatedmark", {0xEF, 0xBB}, TEncoding::UTF8(), 0},  // the default
                      DetectCase{"empty", {}, TEncoding::UTF8(), 0},
                      DetectCase{"plain", {'a', 'b'}, TEncoding::UTF8(), 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Encoding, AGivenEncodingIsKeptAndItsPreambleMeasured) {
  TEncoding* given = TEncoding::Unicode();
  EXPECT_EQ(TEncoding::GetBufferEncoding(TBytes{0xEF, 0xBB, 0xBF}, given), 0);
  EXPECT_EQ(given, TEncoding::Unicode());
  EXPECT_EQ(TEncoding::GetBufferEncoding(TBytes{0xFF, 0xFE}, given), 2);
  TEncoding* none = nullptr;
  TEncoding::GetBufferEncoding(TBytes{'x'}, none);
  EXPECT_EQ(none, TEncoding::ANSI());  // no default given: the current code page
}

TEST(Encoding, ConvertsBothWays) {
  const String text = u"A\u00E9\u20AC\U0001F600";
  struct Case {
    TEncoding* encoding;
    TBytes bytes;
  } cases[] = {
      {TEncoding::UTF8(), {'A', 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80}},
      {TEncoding::Unicode(), {'A', 0, 0xE9, 0, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE}},
      {TEncoding::BigEndianUnicode(), {0, 'A', 0, 0xE9, 0x20, 0xAC, 0xD8, 0x3D, 0xDE, 0x00}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.encoding->GetBytes(text), c.bytes) << c.encoding->CodePage();
    EXPECT_EQ(c.encoding->GetString(c.bytes), text) << c.encoding->CodePage();
  }
  TEncoding* ansi = TEncoding::ANSI(1252);
  EXPECT_EQ(ansi->GetBytes(u"A\u00E9\u20AC\u0100"), (TBytes{'A', 0xE9, 0x80, '?'}));
  EXPECT_EQ(ansi->GetString(TBytes{0x80}), u"\u20AC");
  EXPECT_EQ(ansi, TEncoding::ANSI(1252));  // one object per page
  EXPECT_TRUE(ansi->IsSingleByte());
  EXPECT_TRUE(TEncoding::IsStandardEncoding(ansi));
  TUTF8Encoding own(false);
  EXPECT_FALSE(TEncoding::IsStandardEncoding(&own));
  EXPECT_TRUE(own.GetPreamble().empty());
}

TEST(Encoding, MalformedInputIsReplacedOrDropped) {
  EXPECT_EQ(TEncoding::Unicode()->GetString(TBytes{'a', 0, 'b'}), u"a");  // odd final byte
  EXPECT_EQ(TEncoding::UTF8()->GetString(TBytes{'a', 0xC3}), u"a\uFFFD");
  EXPECT_EQ(TEncoding::GetEncoding(1201), TEncoding::BigEndianUnicode());
  EXPECT_EQ(TEncoding::GetEncoding(65001), TEncoding::UTF8());
}

TEST(Encoding, RangesOutsideTheBytesRaise) {
  const TBytes bytes{'a', 'b', 'c'};
  EXPECT_EQ(TEncoding::UTF8()->GetString(bytes, 1, 2), u"bc");
  EXPECT_EQ(TEncoding::UTF8()->GetString(bytes, 3, 0), u"");
  struct Case {
    Int64 index;
    Int64 count;
    const char16_t* message;
  } cases[] = {
      {-1, 1, u"Character index out of bounds (-1)"},
      {4, 0, u"Character index out of bounds (4)"},
      {1, 3, u"Invalid count (3)"},
      {0, -1, u"Invalid count (-1)"},
      {1, INT64_MAX, u"Invalid count (9223372036854775807)"},
  };
  for (const Case& c : cases) {
    try {
      TEncoding::UTF8()->GetString(bytes, c.index, c.count);
      ADD_FAILURE() << "no exception";
    } catch (const EEncodingError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

}  // namespace
