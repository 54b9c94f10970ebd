#include "codeedit/highlighter.h"

#include <gtest/gtest.h>

#include "codeedit/dfmhighlighter.h"
#include "rtl/stringlist.h"

namespace {

struct Editor : TObject {
  int repaints = 0;
  TObject* lastSender = nullptr;
  void AttrChanged(TObject* sender) {
    ++repaints;
    lastSender = sender;
  }
};

class HighlighterNotifications : public ::testing::Test {
 protected:
  void SetUp() override {
    highlighter.HookAttrChangeEvent(TNotifyEvent(&first, &Editor::AttrChanged));
    highlighter.HookAttrChangeEvent(TNotifyEvent(&second, &Editor::AttrChanged));
  }
  TCodeDfmHighlighter highlighter;
  Editor first, second;
};

TEST_F(HighlighterNotifications, EveryHookedEditorHearsEachRealChangeOnce) {
  highlighter.CommentAttri()->SetForeground(clGreen);
  EXPECT_EQ(first.repaints, 1);
  EXPECT_EQ(second.repaints, 1);
  EXPECT_EQ(first.lastSender, highlighter.CommentAttri());
  highlighter.CommentAttri()->SetForeground(clGreen);  // no change
  highlighter.KeyAttri()->SetStyle({fsBold});
  EXPECT_EQ(first.repaints, 1);
  highlighter.UnhookAttrChangeEvent(TNotifyEvent(&second, &Editor::AttrChanged));
  highlighter.SetEnabled(false);
  EXPECT_EQ(first.repaints, 2);
  EXPECT_EQ(first.lastSender, nullptr);
  EXPECT_EQ(second.repaints, 1);
  EXPECT_TRUE(highlighter.CommentAttri()->ForegroundStored());
}

TEST_F(HighlighterNotifications, AnUpdateBracketDeliversOneNotification) {
  highlighter.BeginUpdate();
  highlighter.BeginUpdate();
  highlighter.CommentAttri()->SetForeground(clGreen);
  highlighter.NumberAttri()->SetForeground(clBlue);
  highlighter.EndUpdate();
  EXPECT_EQ(first.repaints, 0);
  highlighter.EndUpdate();
  EXPECT_EQ(first.repaints, 1);
  highlighter.BeginUpdate();
  highlighter.EndUpdate();  // nothing pending
  EXPECT_EQ(first.repaints, 1);
}

TEST_F(HighlighterNotifications, LoadingIsSilentAndLoadedReportsOnce) {
  highlighter.BeginLoading();
  highlighter.StringAttri()->SetForeground(clRed);
  highlighter.CommentAttri()->SetColors(clGreen, clWhite);
  EXPECT_EQ(first.repaints, 0);
  highlighter.Loaded();
  EXPECT_EQ(first.repaints, 1);
}

TEST_F(HighlighterNotifications, AssignCopiesAttributesByName) {
  TCodeDfmHighlighter source;
  source.CommentAttri()->SetColors(clGreen, clYellow);
  source.NumberAttri()->SetStyle({fsUnderline});
  source.SetDefaultFilter(u"x|*.x");
  source.SetEnabled(false);
  highlighter.Assign(source);
  EXPECT_EQ(highlighter.CommentAttri()->Foreground(), clGreen);
  EXPECT_EQ(highlighter.CommentAttri()->Background(), clYellow);
  EXPECT_TRUE(highlighter.NumberAttri()->Style() == TFontStyles{fsUnderline});
  EXPECT_EQ(highlighter.DefaultFilter(), u"x|*.x");
  EXPECT_FALSE(highlighter.Enabled());
  EXPECT_EQ(first.repaints, 3);  // two attributes once each, then Enabled
}

TEST(HighlighterAttributes, IntegerStyleAndAssign) {
  TCodeHighlighterAttributes attribute(u"Name", u"Friendly");
  int changes = 0;
  attribute.SetOnChange([&](TObject*) { ++changes; });
  attribute.SetIntegerStyle(1 | 4 | 8);
  EXPECT_TRUE(attribute.Style() == (TFontStyles{fsBold, fsUnderline, fsStrikeOut}));
  EXPECT_EQ(changes, 1);
  TCodeHighlighterAttributes other(u"Other", u"Other");
  other.SetColors(clRed, clBlue);
  attribute.Assign(other);
  EXPECT_EQ(attribute.Name(), u"Other");
  EXPECT_EQ(attribute.FriendlyName(), u"Friendly");
  EXPECT_EQ(attribute.Foreground(), clRed);
  EXPECT_EQ(changes, 2);  // colours and style together: one notification
}

struct CharClassCase {
  Char c;
  bool ident, white, wordBreak;
};

TEST(HighlighterCharClasses, FollowTheFixedTables) {
  TCodeDfmHighlighter h;
  for (const CharClassCase& c :
       {CharClassCase{u' ', false, true, true}, CharClassCase{u'a', true, false, false},
        CharClassCase{u',', false, false, true}, CharClassCase{u'_', true, false, false},
        CharClassCase{u'7', true, false, false}, CharClassCase{u'\u00E9', false, true, false},
        CharClassCase{u'\u00A7', false, false, true}, CharClassCase{u'\u00B0', false, false, true},
        CharClassCase{u'|', false, false, true}, CharClassCase{u'~', false, false, true},
        CharClassCase{u'\u007F', false, true, false}}) {
    EXPECT_EQ(h.IsIdentChar(c.c), c.ident) << int(c.c);
    EXPECT_EQ(h.IsWhiteChar(c.c), c.white) << int(c.c);
    EXPECT_EQ(h.IsWordBreakChar(c.c), c.wordBreak) << int(c.c);
  }
}

TEST(HighlighterOptions, AssignCopiesAllEight) {
  TCodeEditHighlighterOptions a, b;
  a.AutoDetectEnabled = true;
  a.AutoDetectLineLimit = 7;
  a.AutoDetectMatchExpression = u"m";
  a.DefaultExtension = u"e";
  a.LineCommentarEnd = u"ce";
  a.LineCommentarStart = u"cs";
  a.Title = u"t";
  a.Visible = true;
  a.AssignTo(b);
  EXPECT_TRUE(b.AutoDetectEnabled);
  EXPECT_EQ(b.AutoDetectLineLimit, 7u);
  EXPECT_EQ(b.AutoDetectMatchExpression, u"m");
  EXPECT_EQ(b.DefaultExtension, u"e");
  EXPECT_EQ(b.LineCommentarEnd, u"ce");
  EXPECT_EQ(b.LineCommentarStart, u"cs");
  EXPECT_EQ(b.Title, u"t");
  EXPECT_TRUE(b.Visible);
}

TEST(HighlighterClassList, TheProcessListHoldsTheFormFileHighlighter) {
  TCodeDfmHighlighter h;
  const Integer index = HighlighterClassList().FindByClass(h);
  ASSERT_GE(index, 0);
  EXPECT_EQ(HighlighterClassList().ClassAt(index).LanguageName, h.GetLanguageName());
  AddHighlighterClass(TCodeDfmHighlighter::HighlighterClass());
  EXPECT_EQ(HighlighterClassList().FindByClass(h), index) << "listed once";
  EXPECT_EQ(HighlighterClassList().Count(), 1);
}

TEST(HighlighterClassList, ListsEachClassOnceAndFindsIt) {
  TCodeHighlighterList list;
  list.Add(TCodeDfmHighlighter::HighlighterClass());
  list.Add(TCodeDfmHighlighter::HighlighterClass());
  ASSERT_EQ(list.Count(), 1);
  TCodeDfmHighlighter h;
  EXPECT_EQ(list.FindByClass(h), 0);
  EXPECT_EQ(list.FindByName(h.GetLanguageName()), 0);
  EXPECT_EQ(list.FindByFriendlyName(h.GetFriendlyLanguageName()), 0);
  EXPECT_EQ(list.FindByName(u"Pascal"), -1);
  TStringList settings;
  settings.Add(u"old");
  h.EnumUserSettings(settings);
  EXPECT_EQ(settings.Count(), 0);
  EXPECT_FALSE(h.UseUserSettings(0));
  auto made = list.ClassAt(0).Create();
  EXPECT_EQ(made->ClassName(), u"TCodeDfmHighlighter");
}

}  // namespace
