// The placement record's texts and the rules that turn stored values into a
// window's rectangle and state, fed with what a registry editor can leave.
#include "services/placementrecord.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(PlacementRecord, WordsAndTagsAreWrittenAsStored) {
  EXPECT_EQ(FormatPlacementWords(-1, 2, 300, -40000), u"-1,2,300,-40000");
  EXPECT_EQ(ScreenSizeTag(1920, 1080), u"(1920x1080)");
}

struct WordsCase {
  const char16_t* Text;
  int Number;
  Integer Expected;
};

TEST(PlacementRecord, WordsAreTakenByPlaceWithDefaultsForMissingOrMalformedOnes) {
  const WordsCase cases[] = {
      {u"10,20,30,40", 1, 10},   {u"10,20,30,40", 4, 40},
      {u"10, 20 ,30,40", 2, 20}, {u"  10  20  30  40 ", 3, 30},
      {u"10,,20", 2, 20},        {u"10,x,30,40", 2, -7},
      {u"10,20", 3, -7},         {u"", 1, -7},
      {u"10,20,30,40", 0, -7},   {u"10,20,30,40", 5, -7},
      {u"99999999999,1", 1, -7}, {u"-2147483648", 1, -2147483647 - 1},
      {u"1.5,2", 1, -7},         {u"\u0661\u0662,3", 1, -7},
      {u"10;20", 1, -7},
  };
  for (const WordsCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    EXPECT_EQ(TPlacementWords(c.Text).Word(c.Number, -7), c.Expected);
  }
  EXPECT_TRUE(TPlacementWords(u"").Empty());
  EXPECT_FALSE(TPlacementWords(u",").Empty());
}

TEST(PlacementRecord, ShowCommandsNameTheirStates) {
  using S = TStoredWindowState;
  const std::pair<Integer, std::optional<S>> cases[] = {
      {1, S::Normal},
      {5, S::Normal},
      {9, S::Normal},
      {2, S::Minimized},
      {6, S::Minimized},
      {7, S::Minimized},
      {3, S::Maximized},
      {0, std::nullopt},
      {4, std::nullopt},
      {8, std::nullopt},
      {10, std::nullopt},
      {-1, std::nullopt},
      {0x7FFFFFFF, std::nullopt},
  };
  for (const auto& [command, state] : cases) EXPECT_EQ(WindowStateOfShowCmd(command), state) << command;
}

TEST(PlacementRecord, VersionChecks) {
  EXPECT_TRUE(PlacementVersionPasses(fpvcNocheck, 0, 5));
  EXPECT_TRUE(PlacementVersionPasses(fpvcCheckGreaterEqual, 5, 5));
  EXPECT_TRUE(PlacementVersionPasses(fpvcCheckGreaterEqual, 6, 5));
  EXPECT_FALSE(PlacementVersionPasses(fpvcCheckGreaterEqual, 4, 5));
  EXPECT_TRUE(PlacementVersionPasses(fpvcCheckEqual, 5, 5));
  EXPECT_FALSE(PlacementVersionPasses(fpvcCheckEqual, 6, 5));
}

TEST(PlacementRecord, FormNameMacroIsReplacedOnceInAnyCase) {
  EXPECT_TRUE(ContainsFormNameMacro(u"%form_name%\\"));
  EXPECT_FALSE(ContainsFormNameMacro(u"mdi_kst_Editor\\"));
  EXPECT_EQ(ReplaceFormNameMacro(u"%FORM_NAME%\\", u"wnd_kst_Main"), u"wnd_kst_Main\\");
  EXPECT_EQ(ReplaceFormNameMacro(u"x\\%Form_Name%\\%FORM_NAME%", u"F"), u"x\\F\\%FORM_NAME%");
}

struct RectCase {
  const char16_t* NormPos;
  TPlacementOptions Options;
  std::optional<TRect> Expected;
};

TEST(PlacementRecord, NormalRectangleKeepsWhatTheOptionsSay) {
  // The form stands at 50,60 and is 200 by 100.
  const TRect current = Rect(50, 60, 250, 160);
  const TPlacementOptions both{fpSize, fpLocation};
  const RectCase cases[] = {
      {u"10,20,410,320", both, Rect(10, 20, 410, 320)},
      // The stored size moves with the form's own location.
      {u"10,20,410,320", {fpSize}, Rect(50, 60, 450, 360)},
      // The form's own size at the stored location.
      {u"10,20,410,320", {fpLocation}, Rect(10, 20, 210, 120)},
      {u"", both, std::nullopt},
      // Missing or malformed words leave the form's own values.
      {u"a,b,c,d", both, Rect(50, 60, 250, 160)},
      {u"10,20", both, Rect(10, 20, 210, 120)},
      {u"10,20,x,320", both, Rect(10, 20, 210, 320)},
      // Sums past the 32-bit range are refused, not wrapped.
      {u"-2147483648,0,2147483647,100", both, std::nullopt},
      {u"0,0,2147483647,2147483647", {fpSize}, std::nullopt},
      {u"40000,0,40100,100", both, std::nullopt},
  };
  for (const RectCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    const std::optional<TRect> rect = RestoredNormalRect(c.NormPos, c.Options, current);
    ASSERT_EQ(rect.has_value(), c.Expected.has_value());
    if (rect) {
      EXPECT_EQ(*rect, *c.Expected);
    }
  }
}

TEST(PlacementRecord, OnlyRectanglesWithAreaWithinTheDesktopRangeAreUsable) {
  EXPECT_TRUE(IsUsableWindowRect(Rect(0, 0, 1, 1)));
  EXPECT_TRUE(IsUsableWindowRect(Rect(-100, -100, 100, 100)));
  EXPECT_FALSE(IsUsableWindowRect(Rect(10, 10, 10, 100)));
  EXPECT_FALSE(IsUsableWindowRect(Rect(10, 100, 200, 50)));
  EXPECT_FALSE(IsUsableWindowRect(Rect(0, 0, 100000, 100)));
}

TEST(PlacementRecord, OnlyKnownFlagBitsAreKept) {
  EXPECT_EQ(SanitizedPlacementFlags(0), 0);
  EXPECT_EQ(SanitizedPlacementFlags(3), 3);
  EXPECT_EQ(SanitizedPlacementFlags(-1), 7);
  EXPECT_EQ(SanitizedPlacementFlags(0x100), 0);
}

TEST(PlacementRecord, OptionsSetHoldsItsOrdinals) {
  EXPECT_EQ(kDefaultPlacementOptions.Bits(), 7u);
  EXPECT_TRUE(IsActiveControlOnly({fpActiveControl}));
  EXPECT_FALSE(IsActiveControlOnly({fpActiveControl, fpState}));
  EXPECT_TRUE(KeepsPosition({fpLocation}));
  EXPECT_FALSE(KeepsPosition({fpState, fpActiveControl}));
}

}  // namespace
