#include "rtl/uitypes.h"

#include <gtest/gtest.h>

#include "rtl/events.h"

namespace {

TEST(Sets, MembersAreBitsAtTheirOrdinals) {
  constexpr TFontStyles styles{fsBold, fsUnderline};
  static_assert(styles.Bits() == 5);
  EXPECT_TRUE(styles.Contains(fsUnderline));
  EXPECT_FALSE(styles.Contains(fsItalic));
  EXPECT_EQ((styles + TFontStyles{fsItalic}).Bits(), 7u);
  EXPECT_TRUE((styles - TFontStyles{fsBold}) == TFontStyles{fsUnderline});
  EXPECT_TRUE((styles * TFontStyles{fsBold, fsItalic}) == TFontStyles{fsBold});
  EXPECT_TRUE(TFontStyles{}.Empty());
}

struct ShortCutCase {
  Word key;
  TShiftState shift;
  TShortCut value;
  const char16_t* text;
};

class ShortCuts : public ::testing::TestWithParam<ShortCutCase> {};

TEST_P(ShortCuts, PackKeyAndShiftAndNameThem) {
  const ShortCutCase& c = GetParam();
  EXPECT_EQ(ShortCut(c.key, c.shift), c.value);
  Word key = 0;
  TShiftState shift;
  ShortCutToKey(c.value, key, shift);
  EXPECT_EQ(key, c.key);
  EXPECT_EQ(shift, c.shift);
  EXPECT_EQ(ShortCutToText(c.value), c.text);
}

INSTANTIATE_TEST_SUITE_P(Table, ShortCuts,
                         ::testing::Values(ShortCutCase{8, {ssShift}, 8200, u"Shift+BkSp"},
                                           ShortCutCase{13, {ssShift}, 8205, u"Shift+Enter"},
                                           ShortCutCase{9, {}, 9, u"Tab"}, ShortCutCase{112, {}, 112, u"F1"},
                                           ShortCutCase{66, {ssShift, ssCtrl}, 24642, u"Shift+Ctrl+B"},
                                           ShortCutCase{90, {ssCtrl}, 16474, u"Ctrl+Z"},
                                           ShortCutCase{8, {ssAlt}, 32776, u"Alt+BkSp"}, ShortCutCase{0, {}, 0, u""}));

TEST(ShortCuts, MouseFlagsDoNotEnterTheValue) {
  EXPECT_EQ(ShortCut(65, {ssCtrl, ssLeft, ssDouble}), 16449);
}

struct Observer : TObject {
  int calls = 0;
  void Changed(TObject*) { ++calls; }
  void Other(TObject*) {}
};

TEST(Delegates, BoundMethodsCompareByObjectAndMethod) {
  Observer a, b;
  TNotifyEvent first(&a, &Observer::Changed);
  EXPECT_EQ(first, TNotifyEvent(&a, &Observer::Changed));
  EXPECT_FALSE(first == TNotifyEvent(&b, &Observer::Changed));
  EXPECT_FALSE(first == TNotifyEvent(&a, &Observer::Other));
  first(nullptr);
  EXPECT_EQ(a.calls, 1);
}

TEST(Delegates, CallablesCompareOnlyWithTheirCopies) {
  int calls = 0;
  TNotifyEvent one = [&calls](TObject*) { ++calls; };
  TNotifyEvent copy = one;
  TNotifyEvent other = [&calls](TObject*) { ++calls; };
  EXPECT_EQ(one, copy);
  EXPECT_FALSE(one == other);
  copy(nullptr);
  EXPECT_EQ(calls, 1);
  TNotifyEvent none;
  EXPECT_FALSE(none);
  EXPECT_EQ(none, TNotifyEvent(nullptr));
  none(nullptr);  // an unassigned event does nothing
}

TEST(Geometry, RectanglesExcludeTheirRightAndBottomEdges) {
  TRect r = Rect(10, 20, 30, 25);
  EXPECT_EQ(r.Width(), 20);
  EXPECT_EQ(r.Height(), 5);
  EXPECT_TRUE(r.Contains(Point(10, 20)));
  EXPECT_FALSE(r.Contains(Point(30, 20)));
  EXPECT_FALSE(r.Contains(Point(10, 25)));
  EXPECT_FALSE(r.IsEmpty());
  EXPECT_TRUE(Rect(5, 5, 5, 9).IsEmpty());
  r.Offset(-10, 5);
  EXPECT_EQ(r, Rect(0, 25, 20, 30));
}

}  // namespace
