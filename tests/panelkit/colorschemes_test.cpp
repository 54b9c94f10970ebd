// The scheme table: the roles of every scheme, the current scheme that
// csDefault follows, and lookups outside the table.
#include <gtest/gtest.h>

#include "panelkit/colorschemes.h"

namespace {

// Puts the process-wide scheme back after a test changed it.
class SchemeTest : public ::testing::Test {
 protected:
  void TearDown() override { SetCurrentColorScheme(csBlue); }
};

TEST_F(SchemeTest, DefaultFollowsTheCurrentScheme) {
  EXPECT_EQ(CurrentColorScheme(), csBlue);
  EXPECT_EQ(SchemeColor(3, csDefault), 0xFFEFE3);
  SetCurrentColorScheme(csSilver2010);
  EXPECT_EQ(SchemeColor(3, csDefault), 0xE0DBD6);
  EXPECT_EQ(SchemeColor(18, csBlack2010), 0xC2B7B2) << "a named scheme ignores the current one";
  SetCurrentColorScheme(csDefault);
  for (Byte role = 0; role < kSchemeRoleCount; ++role) {
    EXPECT_EQ(SchemeColor(role, csDefault), 0) << int(role);
  }
}

TEST_F(SchemeTest, RolesOfEveryScheme) {
  struct Case {
    Byte Role;
    TColorScheme Scheme;
    TColor Expected;
  };
  const Case cases[] = {
      {2, csBlack, 0x5C534C},      {9, csBlack, 0x000000},     {9, csBlue, 0x8B4215},     {4, csSilver, 0xE1D6D2},
      {3, csBlue2010, 0xE5D0BF},   {23, csSilver, 0x977778},   {22, csBlue, 0xFFEFE3},    {21, csSilver2010, 0x3E80FE},
      {12, csBlack2010, 0xF8F7F6}, {3, csBlack2010, 0x858585}, {6, csBlue2010, 0xFBF5EF}, {14, csBlack, 0xC9B0A7},
  };
  for (const Case& c : cases) EXPECT_EQ(SchemeColor(c.Role, c.Scheme), c.Expected) << int(c.Role) << " " << c.Scheme;
  for (int s = csBlack; s <= csBlack2010; ++s) {
    auto scheme = static_cast<TColorScheme>(s);
    if (scheme != csBlack) {
      EXPECT_EQ(SchemeColor(13, scheme), SchemeColor(2, scheme)) << s;
    }
    EXPECT_EQ(SchemeColor(5, scheme) != 0, scheme == csBlack) << s;
    for (Byte unfilled : {0, 15, 16, 17}) {
      EXPECT_EQ(SchemeColor(unfilled, scheme), 0) << s;
    }
  }
}

TEST_F(SchemeTest, LookupsOutsideTheTableGiveBlack) {
  EXPECT_EQ(SchemeColor(24, csBlue), clBlack);
  EXPECT_EQ(SchemeColor(255, csBlue), clBlack);
  EXPECT_EQ(SchemeColor(3, static_cast<TColorScheme>(7)), clBlack);
  EXPECT_EQ(SchemeColor(3, static_cast<TColorScheme>(-1)), clBlack);
  SetCurrentColorScheme(static_cast<TColorScheme>(42));
  EXPECT_EQ(CurrentColorScheme(), csBlue) << "an unknown scheme is refused";
}

TEST(ColorIdents, TheLibrarysIdentifiersInOrder) {
  EXPECT_EQ(std::u16string(ColorIdents.front()), u"clBlack");
  EXPECT_EQ(std::u16string(ColorIdents[24]), u"clBtnFace");
  EXPECT_EQ(std::u16string(ColorIdents[45]), u"clNone");
  EXPECT_EQ(std::u16string(ColorIdents.back()), u"clWindowText");
}

TEST(HtmlColors, TransparentThenTheKeywordsInOrder) {
  EXPECT_EQ(std::u16string(HtmlColors[0].Name), u"transparent");
  EXPECT_EQ(std::u16string(HtmlColors[0].Value), u"#FFFFFF");
  EXPECT_EQ(std::u16string(HtmlColors[1].Name), u"aliceblue");
  EXPECT_EQ(std::u16string(HtmlColors[1].Value), u"#F0F8FF");
  EXPECT_EQ(std::u16string(HtmlColors[140].Name), u"yellowgreen");
  EXPECT_EQ(std::u16string(HtmlColors[140].Value), u"#9ACD32");
  int grey = 0;
  for (size_t i = 1; i < HtmlColors.size(); ++i) {
    std::u16string name = HtmlColors[i].Name;
    if (i > 1) {
      EXPECT_LT(std::u16string(HtmlColors[i - 1].Name), name) << i;
    }
    EXPECT_EQ(std::u16string(HtmlColors[i].Value).size(), 7u) << i;
    if (name.find(u"grey") != std::u16string::npos) ++grey;
  }
  EXPECT_EQ(grey, 1) << "only lightgrey is written with grey";
}

}  // namespace
