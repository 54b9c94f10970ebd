#include "codeedit/appearance.h"

#include <gtest/gtest.h>

namespace {

class Gutter : public ::testing::Test {
 protected:
  void SetUp() override {
    gutter.OnChange = [this](TObject* sender) {
      EXPECT_EQ(sender, &gutter);
      ++changes;
    };
  }
  TCodeGutter gutter;
  int changes = 0;
};

TEST_F(Gutter, Defaults) {
  EXPECT_EQ(gutter.Color(), clBtnFace);
  EXPECT_EQ(gutter.BorderColor(), clWindow);
  EXPECT_EQ(gutter.Width(), 30);
  EXPECT_FALSE(gutter.ShowLineNumbers());
  EXPECT_EQ(gutter.DigitCount(), 4);
  EXPECT_EQ(gutter.LeftOffset(), 16);
  EXPECT_EQ(gutter.RightOffset(), 2);
  EXPECT_EQ(gutter.Cursor(), crDefault);
  EXPECT_TRUE(gutter.Visible());
  EXPECT_TRUE(gutter.UseFontStyle());
  EXPECT_EQ(gutter.BorderStyle(), gbsMiddle);
  EXPECT_EQ(gutter.LineNumberStart(), 1);
  EXPECT_EQ(gutter.GradientStartColor(), clWindow);
  EXPECT_EQ(gutter.GradientEndColor(), clBtnFace);
  EXPECT_EQ(gutter.GradientSteps(), 48);
}

TEST_F(Gutter, SettersClampAndNotifyOnRealChanges) {
  gutter.SetDigitCount(1);
  EXPECT_EQ(gutter.DigitCount(), 2);
  gutter.SetDigitCount(20);
  EXPECT_EQ(gutter.DigitCount(), 12);
  EXPECT_EQ(gutter.AutoSizeDigitCountValue(), 12);
  EXPECT_EQ(changes, 2);
  gutter.SetDigitCount(13);  // clamps to the current value: no change
  EXPECT_EQ(changes, 2);
  gutter.SetLeftOffset(-3);
  gutter.SetRightOffset(-1);
  gutter.SetWidth(-5);
  EXPECT_EQ(gutter.LeftOffset(), 0);
  EXPECT_EQ(gutter.RightOffset(), 0);
  EXPECT_EQ(gutter.Width(), 0);
  gutter.SetGradientSteps(1);
  EXPECT_EQ(gutter.GradientSteps(), 2);
  changes = 0;
  gutter.SetBorderStyle(gbsMiddle);
  gutter.SetBorderStyle(gbsMiddle);  // every assignment notifies
  EXPECT_EQ(changes, 2);
  gutter.SetColor(clBtnFace);
  EXPECT_EQ(changes, 2);
  gutter.SetLineNumberStart(-4);
  EXPECT_EQ(gutter.LineNumberStart(), 0);
  EXPECT_TRUE(gutter.ZeroStart());
  gutter.SetLineNumberStart(5);
  EXPECT_FALSE(gutter.ZeroStart());
}

TEST_F(Gutter, WidthReadsZeroWhileInvisible) {
  gutter.SetVisible(false);
  EXPECT_EQ(gutter.Width(), 0);
  EXPECT_EQ(gutter.RealGutterWidth(8), 0);
  gutter.SetVisible(true);
  EXPECT_EQ(gutter.Width(), 30);
  EXPECT_EQ(gutter.RealGutterWidth(8), 30);
  gutter.SetShowLineNumbers(true);
  EXPECT_EQ(gutter.RealGutterWidth(8), 16 + 2 + 32 + 2);
}

TEST_F(Gutter, AutoSizeFitsTheHighestNumber) {
  gutter.SetShowLineNumbers(true);
  gutter.SetAutoSize(true);
  changes = 0;
  gutter.AutoSizeDigitCount(12345);
  EXPECT_EQ(gutter.AutoSizeDigitCountValue(), 5);
  EXPECT_EQ(changes, 1);
  gutter.AutoSizeDigitCount(12345);
  EXPECT_EQ(changes, 1);
  gutter.SetZeroStart(true);
  gutter.AutoSizeDigitCount(10000);
  EXPECT_EQ(gutter.AutoSizeDigitCountValue(), 4);
  gutter.SetZeroStart(false);
  gutter.SetLineNumberStart(9000);
  gutter.AutoSizeDigitCount(2000);
  EXPECT_EQ(gutter.AutoSizeDigitCountValue(), 5);
  gutter.SetAutoSize(false);
  changes = 0;
  gutter.AutoSizeDigitCount(2000);  // not auto-sized: back to the digit count, silently
  EXPECT_EQ(gutter.AutoSizeDigitCountValue(), 4);
  EXPECT_EQ(changes, 0);
}

TEST_F(Gutter, LineNumbersAreRightAligned) {
  EXPECT_EQ(gutter.FormatLineNumber(7), u"   7");
  gutter.SetLeadingZeros(true);
  EXPECT_EQ(gutter.FormatLineNumber(7), u"0007");
  EXPECT_EQ(gutter.FormatLineNumber(12345), u"12345");
  gutter.SetLeadingZeros(false);
  gutter.SetLineNumberStart(0);
  EXPECT_EQ(gutter.FormatLineNumber(7), u"   6");
  gutter.SetLineNumberStart(10);
  EXPECT_EQ(gutter.FormatLineNumber(7), u"  16");
}

TEST_F(Gutter, AssignCopiesEverythingWithOneNotification) {
  TCodeGutter source;
  source.SetColor(clGray);
  source.SetShowLineNumbers(true);
  source.SetLeftOffset(5);
  source.SetGradient(true);
  source.SetDigitCount(6);
  gutter.Assign(source);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(gutter.Color(), clGray);
  EXPECT_TRUE(gutter.ShowLineNumbers());
  EXPECT_EQ(gutter.LeftOffset(), 5);
  EXPECT_TRUE(gutter.Gradient());
  EXPECT_EQ(gutter.DigitCount(), 6);
  gutter.SetColor(clRed);
  EXPECT_EQ(changes, 2);  // still its own handler
}

TEST(SelectedColor, NotifiesOnChangesAndAssign) {
  TCodeSelectedColor colors;
  int changes = 0;
  colors.OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(colors.Background(), clHighlight);
  EXPECT_EQ(colors.Foreground(), clHighlightText);
  colors.SetBackground(clHighlight);
  colors.SetBackground(clYellow);
  TCodeSelectedColor other;
  colors.Assign(other);
  EXPECT_EQ(colors.Background(), clHighlight);
  EXPECT_EQ(changes, 2);
}

TEST(BookMarkOptions, DefaultsAndAssign) {
  TCodeBookMarkOpt options;
  int changes = 0;
  options.OnChange = [&](TObject*) { ++changes; };
  EXPECT_TRUE(options.DrawBookmarksFirst());
  EXPECT_TRUE(options.EnableKeys);
  EXPECT_TRUE(options.GlyphsVisible());
  EXPECT_EQ(options.LeftMargin(), 2);
  EXPECT_EQ(options.Xoffset(), 12);
  EXPECT_EQ(options.BookmarkImages(), nullptr);
  options.SetXoffset(12);
  options.SetLeftMargin(4);
  EXPECT_EQ(changes, 1);
  TCodeBookMarkOpt other;
  other.EnableKeys = false;
  options.Assign(other);
  EXPECT_FALSE(options.EnableKeys);
  EXPECT_EQ(options.LeftMargin(), 2);
  EXPECT_EQ(changes, 2);
}

}  // namespace
