// The built-in tables and the current page against the system's own answers.
#include <windows.h>

#include <gtest/gtest.h>

#include "rtl/codepage.h"

namespace {

TEST(CodePageWin32, CurrentPageIsTheSystemsAnsiPage) {
  SetCurrentCodePage(0);
  EXPECT_EQ(CurrentCodePage(), GetACP());
}

class SystemTable : public ::testing::TestWithParam<Word> {};

TEST_P(SystemTable, EveryByteDecodesAsTheSystemDoes) {
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    wchar_t expected = 0;
    ASSERT_EQ(MultiByteToWideChar(GetParam(), 0, &byte, 1, &expected, 1), 1);
    EXPECT_EQ(AnsiToString(std::string_view(&byte, 1), GetParam()), String(1, static_cast<Char>(expected)))
        << "byte " << b;
  }
}

INSTANTIATE_TEST_SUITE_P(Pages, SystemTable,
                         ::testing::Values(874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 28591, 20127));

TEST(CodePageWin32, DoubleBytePagesGoThroughTheSystem) {
  // Hiragana A in Shift-JIS, and back.
  EXPECT_EQ(AnsiToString("\x82\xA0", 932), u"\u3042");
  bool lossy = true;
  EXPECT_EQ(StringToAnsi(u"\u3042x", 932, &lossy), "\x82\xA0x");
  EXPECT_FALSE(lossy);
  EXPECT_EQ(StringToAnsi(u"\u0E01", 932, &lossy), "?");
  EXPECT_TRUE(lossy);
}

// The fixed ranges every build uses against the system.
TEST(CodePageWin32, LeadBytesMatchTheSystem) {
  for (Word page : {932, 936, 949, 950}) {
    for (int b = 0; b < 256; ++b) {
      EXPECT_EQ(IsLeadByte(static_cast<Byte>(b), page), IsDBCSLeadByteEx(page, static_cast<BYTE>(b)) != 0)
          << page << " byte " << b;
    }
  }
}

}  // namespace
