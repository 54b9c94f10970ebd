#include "app/strutils.h"

#include <gtest/gtest.h>

TEST(StrUtils, DequoteNameAndValueParts) {
  EXPECT_EQ(Dequote(u"'x'", u'\''), u"x");
  EXPECT_EQ(Dequote(u"'", u'\''), u"'");
  EXPECT_EQ(Dequote(u"'abc", u'\''), u"'abc");
  EXPECT_EQ(Dequote(u"''", u'\''), u"");
  EXPECT_EQ(NamePart(u"Caption = 'A=B'", u"="), u"Caption");
  EXPECT_EQ(ValuePart(u"Caption = 'A=B'", u"="), u" 'A=B'");
  EXPECT_EQ(NamePart(u"  no separator ", u"="), u"  no separator ");
  EXPECT_EQ(ValuePart(u"no separator", u"="), u"");
  EXPECT_EQ(ValuePart(u"a=" + String(2000, u'x'), u"=").size(), 1024u);
}

TEST(StrUtils, ListSearches) {
  TStringList list;
  list.SetTextStr(u"Width = 10\r\nCaption = 'Hello'\r\ncaption = 'Again'\r\n");
  EXPECT_EQ(FindStringInList(list, u"hello", 0), 1);
  EXPECT_EQ(FindStringInList(list, u"CAPTION", 2), 2);
  EXPECT_EQ(FindStringInList(list, u"Width", 3), -1);
  EXPECT_EQ(FindStringInList(list, u"", 0), -1);
  EXPECT_EQ(FindStringInList(TStringList(), u"x", 0), -1);
  EXPECT_EQ(IndexOfNamePart(list, u"CAPTION", u"="), 1);
  EXPECT_EQ(IndexOfNamePart(list, u"Height", u"="), -1);
}

TEST(StrUtils, FindTextAndCollapseSpaces) {
  EXPECT_EQ(FindText(u"Main.", u"main.Twnd_kst_Main", false, false), 1);
  EXPECT_EQ(FindText(u"Main.", u"main.Twnd_kst_Main", true, false), 0);
  EXPECT_EQ(FindText(u"cat", u"concat cat", false, true), 8);
  EXPECT_EQ(FindText(u"cat", u"concatenate", false, true), 0);
  EXPECT_EQ(FindText(u"", u"abc", false, false), 0);
  EXPECT_EQ(CollapseSpaces(u"a   b"), u"a b");
  EXPECT_EQ(CollapseSpaces(u"   a b   "), u" a b ");
}

TEST(StrUtils, MessageBoxTextQuotesDamagedDataShortened) {
  const String longRun(300, u'x');
  const struct {
    String In, Out;
  } cases[] = {
      {u"Error reading Form1.Left: 7", u"Error reading Form1.Left: 7"},
      {u"Bad\x01name\uFFFD here\r\nnext", u"Bad?name? here\r\nnext"},
      {u"Error reading " + longRun + u": 7", u"Error reading " + String(48, u'x') + u"... 7"},
      {String(100, u'a') + u" " + String(100, u'b'), String(48, u'a') + u"... " + String(48, u'b') + u"..."},
      {String(60, u'a') + u" " + String(60, u'b') + u" " + String(60, u'c'),
       String(60, u'a') + u" " + String(60, u'b') + u" " + String(157 - 122, u'c') + u"..."},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageBoxText(c.In), c.Out);
}
