#include "rtl/codepage.h"

#include <gtest/gtest.h>

#include "rtl/exceptions.h"

namespace {

// Restores the process's code page after a test changes it.
class CodePageGuard {
 public:
  CodePageGuard() : FSaved(CurrentCodePage()) {}
  ~CodePageGuard() { SetCurrentCodePage(FSaved); }

 private:
  Word FSaved;
};

std::string AllBytes() {
  std::string bytes(256, '\0');
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<char>(i);
  return bytes;
}

class SingleBytePage : public ::testing::TestWithParam<Word> {};

TEST_P(SingleBytePage, EveryByteRoundTrips) {
  const std::string bytes = AllBytes();
  const String text = AnsiToString(bytes, GetParam());
  ASSERT_EQ(text.size(), 256u);
  for (int i = 0; i < 0x80; ++i) EXPECT_EQ(text[i], i) << "byte " << i;
  bool lossy = true;
  EXPECT_EQ(StringToAnsi(text, GetParam(), &lossy), bytes);
  EXPECT_FALSE(lossy);
  EXPECT_TRUE(IsSingleByteCodePage(GetParam()));
  EXPECT_FALSE(IsLeadByte(0x81, GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Windows, SingleBytePage,
                         ::testing::Values(874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 28591));

struct ByteCase {
  Word codePage;
  Byte value;
  Char unicode;
};

class PageCharacter : public ::testing::TestWithParam<ByteCase> {};

TEST_P(PageCharacter, DecodesAndEncodes) {
  const ByteCase& c = GetParam();
  const std::string byte(1, static_cast<char>(c.value));
  EXPECT_EQ(AnsiToString(byte, c.codePage), String(1, c.unicode));
  EXPECT_EQ(StringToAnsi(String(1, c.unicode), c.codePage), byte);
}

INSTANTIATE_TEST_SUITE_P(
    Spots, PageCharacter,
    ::testing::Values(ByteCase{1252, 0x80, 0x20AC}, ByteCase{1252, 0x9F, 0x0178}, ByteCase{1252, 0xE9, 0x00E9},
                      ByteCase{874, 0xA1, 0x0E01}, ByteCase{1251, 0xC0, 0x0410}, ByteCase{1251, 0xFF, 0x044F},
                      ByteCase{1250, 0x8A, 0x0160}, ByteCase{1253, 0xC1, 0x0391}, ByteCase{1254, 0xFD, 0x0131},
                      ByteCase{1255, 0xE0, 0x05D0}, ByteCase{1256, 0xC7, 0x0627}, ByteCase{1257, 0xC0, 0x0104},
                      ByteCase{1258, 0xFE, 0x20AB}, ByteCase{28591, 0x80, 0x0080},
                      // Bytes the page leaves undefined keep the system's values.
                      ByteCase{1252, 0x81, 0x0081}, ByteCase{1252, 0x9D, 0x009D}, ByteCase{874, 0xDB, 0xF8C1},
                      ByteCase{1253, 0xAA, 0xF8F9}, ByteCase{1255, 0xCA, 0x05BA}, ByteCase{1255, 0xFF, 0xF896},
                      ByteCase{1257, 0xA5, 0xF8FD}));

struct LossCase {
  Word codePage;
  String text;
  std::string bytes;
};

class Unmappable : public ::testing::TestWithParam<LossCase> {};

TEST_P(Unmappable, BecomesQuestionMark) {
  const LossCase& c = GetParam();
  bool lossy = false;
  EXPECT_EQ(StringToAnsi(c.text, c.codePage, &lossy), c.bytes);
  EXPECT_TRUE(lossy);
}

INSTANTIATE_TEST_SUITE_P(Cases, Unmappable,
                         ::testing::Values(LossCase{1252, u"a\u0410b", "a?b"}, LossCase{1251, u"\u00E9", "?"},
                                           LossCase{1252, u"\U0001F600", "??"}, LossCase{20127, u"\u00E9x", "?x"},
                                           LossCase{28591, u"\u20AC", "?"}, LossCase{874, u"\uFFFD", "?"}));

TEST(CodePage, AsciiFoldsUpperHalfLikeTheSystem) {
  EXPECT_EQ(AnsiToString("\xC1\x7F\x80", kCodePageASCII), String(u"A\u007F") + Char(0));
  EXPECT_EQ(StringToAnsi(u"A\u007F", kCodePageASCII), "A\x7F");
}

TEST(CodePage, Utf8PageUsesUtfConversions) {
  EXPECT_EQ(AnsiToString("\xE2\x82\xAC", kCodePageUTF8), u"\u20AC");
  bool lossy = true;
  EXPECT_EQ(StringToAnsi(u"\u20AC", kCodePageUTF8, &lossy), "\xE2\x82\xAC");
  EXPECT_FALSE(lossy);
  EXPECT_EQ(StringToAnsi(String(1, Char(0xD800)), kCodePageUTF8, &lossy), "\xEF\xBF\xBD");
  EXPECT_TRUE(lossy);
  EXPECT_FALSE(IsSingleByteCodePage(kCodePageUTF8));
  EXPECT_FALSE(IsLeadByte(0xE2, kCodePageUTF8));
}

TEST(CodePage, CurrentPageIsUsedForZero) {
  CodePageGuard guard;
  SetCurrentCodePage(1251);
  EXPECT_EQ(CurrentCodePage(), 1251);
  EXPECT_EQ(AnsiToString("\xC0"), u"\u0410");
  EXPECT_EQ(StringToAnsi(u"\u0410"), "\xC0");
  SetCurrentCodePage(1252);
  EXPECT_EQ(AnsiToString("\x80"), u"\u20AC");
}

TEST(CodePage, DoubleBytePagesHaveFixedLeadBytes) {
  EXPECT_TRUE(IsLeadByte(0x81, 932));
  EXPECT_TRUE(IsLeadByte(0xFC, 932));
  EXPECT_FALSE(IsLeadByte(0xA0, 932));
  EXPECT_FALSE(IsLeadByte(0xFD, 932));
  EXPECT_TRUE(IsLeadByte(0xFE, 936));
  EXPECT_FALSE(IsLeadByte(0x80, 949));
  EXPECT_FALSE(IsLeadByte(0x41, 950));
  EXPECT_FALSE(IsSingleByteCodePage(932));
}

#ifndef _WIN32
TEST(CodePage, PagesWithoutTableAreRefusedOutsideWindows) {
  EXPECT_THROW(AnsiToString("\x82\xA0", 932), EConvertError);
  EXPECT_THROW(StringToAnsi(u"x", 936), EConvertError);
  EXPECT_THROW(AnsiToString("x", 437), EConvertError);
  try {
    AnsiToString("x", 949);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"Code page 949 is not supported");
  }
}
#endif

TEST(CodePage, EmptyTextStaysEmpty) {
  EXPECT_EQ(AnsiToString("", 1252), u"");
  EXPECT_EQ(StringToAnsi(u"", 1252), "");
}

}  // namespace
