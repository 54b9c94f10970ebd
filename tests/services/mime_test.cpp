#include "services/mime.h"

#include <gtest/gtest.h>

namespace {

AnsiString Bytes(size_t count) {
  AnsiString bytes(count, '\0');
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(i * 7 + 3);
  return bytes;
}

struct EncodeCase {
  const char* name;
  AnsiString input;
  AnsiString encoded;
};

class MimeVectors : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(MimeVectors, EncodeAndDecode) {
  const EncodeCase& c = GetParam();
  EXPECT_EQ(MimeEncodeText(c.input), c.encoded);
  EXPECT_EQ(MimeDecodeText(c.encoded), c.input);
  EXPECT_EQ(MimeEncodedLength(static_cast<std::ptrdiff_t>(c.input.size())),
            static_cast<std::ptrdiff_t>(c.encoded.size()));
}

// The RFC 4648 test vectors.
INSTANTIATE_TEST_SUITE_P(Rfc4648, MimeVectors,
                         ::testing::Values(EncodeCase{"Empty", "", ""}, EncodeCase{"f", "f", "Zg=="},
                                           EncodeCase{"fo", "fo", "Zm8="}, EncodeCase{"foo", "foo", "Zm9v"},
                                           EncodeCase{"foob", "foob", "Zm9vYg=="},
                                           EncodeCase{"fooba", "fooba", "Zm9vYmE="},
                                           EncodeCase{"foobar", "foobar", "Zm9vYmFy"}, EncodeCase{"abc", "abc", "YWJj"},
                                           EncodeCase{"a", "a", "YQ=="},
                                           EncodeCase{"HighBytes", AnsiString("\xFF\xFE\x00", 3), "//4A"}),
                         [](const auto& info) { return info.param.name; });

struct LineCase {
  size_t bytes;
  size_t encodedLength;
  std::vector<size_t> lineLengths;
};

class MimeLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(MimeLines, BreaksEvery57Bytes) {
  const LineCase& c = GetParam();
  const AnsiString input = Bytes(c.bytes);
  const AnsiString encoded = MimeEncodeText(input);
  EXPECT_EQ(encoded.size(), c.encodedLength);
  std::vector<size_t> lengths;
  size_t start = 0;
  while (true) {
    const size_t end = encoded.find("\r\n", start);
    lengths.push_back((end == AnsiString::npos ? encoded.size() : end) - start);
    if (end == AnsiString::npos) break;
    start = end + 2;
  }
  EXPECT_EQ(lengths, c.lineLengths);
  EXPECT_EQ(MimeDecodeText(encoded), input);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MimeLines,
                         ::testing::Values(LineCase{56, 76, {76}}, LineCase{57, 76, {76}}, LineCase{58, 82, {76, 4}},
                                           LineCase{114, 154, {76, 76}}, LineCase{115, 160, {76, 76, 4}}));

TEST(MimeDecode, SkipsEverythingOutsideTheAlphabet) {
  EXPECT_EQ(MimeDecodeText("Zm 9v\r\nYm\tFy"), "foobar");
  EXPECT_EQ(MimeDecodeText("Z=m=9=v"), "foo");
  EXPECT_EQ(MimeDecodeText("YQ"), "a");
  EXPECT_EQ(MimeDecodeText("YWI"), "ab");
  // One character alone carries no whole byte.
  EXPECT_EQ(MimeDecodeText("YWJjZ"), "abc");
  EXPECT_EQ(MimeDecodeText("===="), "");
  EXPECT_EQ(MimeDecodeText(std::string_view("\x80\xFF\0", 3)), "");
}

TEST(MimeDecode, ChunksCarryPartialGroups) {
  const AnsiString text = "Zm9vYmFy";
  Byte out[8] = {};
  TMimeDecodeState state;
  size_t written = MimeDecodeChunk(text.data(), 3, out, state);
  EXPECT_EQ(written, 0u);
  written += MimeDecodeChunk(text.data() + 3, 5, out + written, state);
  written += MimeDecodeEnd(out + written, state);
  EXPECT_EQ(AnsiString(reinterpret_cast<char*>(out), written), "foobar");
}

TEST(MimeLengths, Formulas) {
  EXPECT_EQ(MimeEncodedLength(0), 0);
  EXPECT_EQ(MimeEncodedLength(-3), -3);
  EXPECT_EQ(MimeEncodedLength(1), 4);
  EXPECT_EQ(MimeDecodedLength(1), 3);
  EXPECT_EQ(MimeDecodedLength(4), 3);
  EXPECT_EQ(MimeDecodedLength(5), 6);
}

TEST(MimeRoundTrip, EverySizeUpToThreeLines) {
  for (size_t n = 0; n <= 3 * 57 + 3; ++n) {
    const AnsiString input = Bytes(n);
    EXPECT_EQ(MimeDecodeText(MimeEncodeText(input)), input) << n;
  }
}

// ---- Key-string encoding ----------------------------------------------------

TEST(XorText, EmptyKeyIsPlainHex) {
  EXPECT_EQ(XorTextEncode(u"", u"AB"), u"4142");
  EXPECT_EQ(XorTextDecode(u"", u"4142"), u"AB");
  EXPECT_EQ(XorTextDecode(u"", u"4A4b"), u"JK");
  EXPECT_EQ(XorTextEncode(u"", u""), u"");
}

TEST(XorText, BadDigits) {
  // An unknown high digit counts as 0; an unknown low digit makes a blank.
  EXPECT_EQ(XorTextDecode(u"", u"x1"), String(1, Char{1}));
  EXPECT_EQ(XorTextDecode(u"", u"4x41"), u" A");
  // An odd last character is ignored.
  EXPECT_EQ(XorTextDecode(u"", u"414"), u"A");
}

TEST(XorText, KeyRoundTripsAnyText) {
  const String key = u"k\u00E9y";
  for (const String& text : {String(u"plain"), String(u"\u00C4\u20AC\U0001F600 mixed"), String(u"")}) {
    const String encoded = XorTextEncode(key, text);
    EXPECT_EQ(encoded.find_first_not_of(u"0123456789abcdef"), String::npos);
    EXPECT_EQ(XorTextDecode(key, encoded), text);
  }
  EXPECT_EQ(XorTextEncode(u"\x01", u"AB"), u"4043");
}

}  // namespace
