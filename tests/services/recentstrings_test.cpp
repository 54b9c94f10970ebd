// The recent-files list: its order, limit and duplicates, the menu texts, and
// its layout in the settings store, including lists a registry editor spoilt.
#include "services/recentstrings.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "rtl/numbers.h"
#include "services/memoryregistry.h"
#include "services/registrystorage.h"

namespace {

std::vector<String> Lines(const TStrings& list) {
  return list.ToStringArray();
}

TEST(RecentStrings, NewNamesEnterAtTheFrontAndListedOnesMoveThere) {
  TSvRecentStrings list;
  EXPECT_EQ(list.Add(u"a"), 0);
  list.Add(u"b");
  list.Add(u"c");
  EXPECT_EQ(Lines(list), (std::vector<String>{u"c", u"b", u"a"}));
  EXPECT_EQ(list.Add(u"A"), 0);
  // The listed entry moves; its spelling stays.
  EXPECT_EQ(Lines(list), (std::vector<String>{u"a", u"c", u"b"}));
}

TEST(RecentStrings, AppendModeKeepsTheNewestAtTheEnd) {
  TSvRecentStrings list;
  list.SetMode(rmAppend);
  list.SetMaxSize(3);
  for (const char16_t* name : {u"a", u"b", u"c", u"d"}) list.Add(name);
  EXPECT_EQ(Lines(list), (std::vector<String>{u"b", u"c", u"d"}));
  EXPECT_EQ(list.Add(u"b"), 2);
  EXPECT_EQ(Lines(list), (std::vector<String>{u"c", u"d", u"b"}));
}

TEST(RecentStrings, TheOldestGoesPastTheLimitAndTheLimitIsNeverBelowOne) {
  TSvRecentStrings list;
  for (int i = 0; i < 11; ++i) list.Add(u"f" + IntToStr(i));
  ASSERT_EQ(list.Count(), 10);
  EXPECT_EQ(list[0], u"f10");
  EXPECT_EQ(list[9], u"f1");
  list.SetMaxSize(0);
  EXPECT_EQ(list.MaxSize(), 1);
  EXPECT_EQ(Lines(list), (std::vector<String>{u"f10"}));
  list.SetMaxSize(-5);
  EXPECT_EQ(list.MaxSize(), 1);
}

TEST(RecentStrings, AddStringsKeepsTheSourceOrderAndUserData) {
  TStringList source;
  for (int i = 0; i < 5; ++i) source.AddObject(u"s" + IntToStr(i), reinterpret_cast<TObject*>(intptr_t{i + 100}));
  for (TRecentMode mode : {rmInsert, rmAppend}) {
    TSvRecentStrings list;
    list.SetMode(mode);
    list.SetMaxSize(3);
    list.AddStrings(source);
    EXPECT_EQ(Lines(list), (std::vector<String>{u"s0", u"s1", u"s2"}));
    EXPECT_EQ(list.UserData(0), 100);
    EXPECT_EQ(list.UserData(2), 102);
  }
}

TEST(RecentStrings, SettingTheTextKeepsLineOrderAndCutsAnOverlongList) {
  TSvRecentStrings list;
  list.SetMaxSize(2);
  list.SetText(u"x\r\ny\r\nz\r\n");
  EXPECT_EQ(Lines(list), (std::vector<String>{u"x", u"y"}));
  EXPECT_EQ(list.Mode(), rmInsert);
}

TEST(RecentStrings, EveryChangeIsReported) {
  TSvRecentStrings list;
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  list.Add(u"a");
  list.Add(u"b");
  list.Remove(u"a");
  list.Remove(u"missing");
  EXPECT_EQ(changes, 3);
}

TEST(RecentStrings, AnAddToAFullListIsOneChangeSeenAtItsSize) {
  for (TRecentMode mode : {rmInsert, rmAppend}) {
    TSvRecentStrings list;
    list.SetMode(mode);
    list.SetMaxSize(3);
    int changes = 0;
    Integer largest = 0;
    list.OnChange = [&](TObject*) {
      ++changes;
      largest = std::max(largest, list.Count());
    };
    for (const char16_t* name : {u"a", u"b", u"c", u"d", u"e", u"b"}) list.Add(name);
    EXPECT_EQ(changes, 6) << mode;
    EXPECT_EQ(largest, 3) << mode;
  }
}

TEST(RecentMenuTexts, AcceleratorsRunFromDigitsToLetters) {
  const std::pair<Integer, const char16_t*> cases[] = {{0, u"&0"},  {1, u"&1"},  {9, u"&9"},  {10, u"&A"},
                                                       {35, u"&Z"}, {101, u" "}, {5000, u" "}};
  for (const auto& [n, text] : cases) EXPECT_EQ(RecentAccelText(n), text) << n;
  EXPECT_EQ(RecentAccelText(100), String(u"&") + Char(u'A' + 90));
  EXPECT_EQ(AccelDelimiterChar(adTab), u'\t');
  EXPECT_EQ(AccelDelimiterChar(adSpace), u' ');
}

TEST(RecentMenuTexts, StartEllipsisKeepsTheEndOfALongText) {
  EXPECT_EQ(ShortenWithStartEllipsis(u"C:\\forms\\Unit1.dfm", 9), u"...Unit1.dfm");
  EXPECT_EQ(ShortenWithStartEllipsis(u"Unit1.dfm", 9), u"Unit1.dfm");
  EXPECT_EQ(ShortenWithStartEllipsis(u"Unit1.dfm", 0), u"Unit1.dfm");
  EXPECT_EQ(RecentCaptionPart(u"file|hint|more"), u"file");
  EXPECT_EQ(RecentHintPart(u"file|hint|more"), u"hint|more");
  EXPECT_EQ(RecentHintPart(u"file"), u"");
}

class RecentStore : public ::testing::Test {
 protected:
  RecentStore() : Store(nullptr, Registry) { Store.SetRoot(u"Software\\Kestrum Tests\\Recent"); }
  std::vector<String> Load(Integer capacity) {
    std::vector<String> names;
    LoadRecentList(Store, u"Main\\MRU", capacity, [&](const String& name, Integer) { names.push_back(name); });
    return names;
  }
  TMemoryRegistry Registry;
  TSvAppRegistryStorage Store;
};

TEST_F(RecentStore, ListRoundTripsWithUserDataAndShrinksOnSave) {
  TSvRecentStrings list;
  for (int i = 9; i >= 0; --i) list.Add(u"file" + IntToStr(i));
  list.SetUserData(1, 42);
  SaveRecentList(Store, u"Main\\MRU", list);
  EXPECT_EQ(Store.ReadString(u"Main\\MRU\\Item_0"), u"file0");
  EXPECT_EQ(Store.ReadInteger(u"Main\\MRU\\User_1"), 42);
  EXPECT_FALSE(Store.ValueStored(u"Main\\MRU\\User_0"));

  TSvRecentStrings loaded;
  LoadRecentList(Store, u"Main\\MRU", 10,
                 [&](const String& name, Integer userData) { loaded.SetUserData(loaded.Add(name), userData); });
  EXPECT_EQ(Lines(loaded), Lines(list));
  EXPECT_EQ(loaded.UserData(1), 42);

  list.Delete(9);
  SaveRecentList(Store, u"Main\\MRU", list);
  EXPECT_FALSE(Store.ValueStored(u"Main\\MRU\\Item_9"));
}

TEST_F(RecentStore, MissingAndSpoiltEntriesAreSkipped) {
  Store.WriteString(u"Main\\MRU\\Item_0", u"a");
  Store.WriteString(u"Main\\MRU\\Item_2", u"c");
  Store.WriteInteger(u"Main\\MRU\\Item_1", 7);  // a number where a name belongs
  Store.WriteString(u"Main\\MRU\\Item_x", u"junk");
  Store.WriteString(u"Main\\MRU\\Item_5", u"");
  Store.WriteString(u"Main\\MRU\\User_0", u"not a number");
  const std::vector<String> names = Load(10);
  // Highest index first, so inserting each at the front puts entry 0 first.
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.front(), u"c");
  EXPECT_EQ(names.back(), u"a");
}

TEST_F(RecentStore, AHugeCapacityReadsNoMoreThanWhatIsStored) {
  Store.WriteString(u"Main\\MRU\\Item_0", u"a");
  Store.WriteString(u"Main\\MRU\\Item_1", u"b");
  EXPECT_EQ(Load(0x7FFFFFFF), (std::vector<String>{u"b", u"a"}));
  EXPECT_TRUE(Load(0).empty());
  EXPECT_TRUE(Load(-3).empty());
}

TEST_F(RecentStore, AnOverlongStoredListIsCutToTheLimit) {
  for (int i = 0; i < 30; ++i) Store.WriteString(u"Main\\MRU\\Item_" + IntToStr(i), u"f" + IntToStr(i));
  TSvRecentStrings list;
  list.SetMaxSize(10);
  LoadRecentList(Store, u"Main\\MRU", list.MaxSize(), [&](const String& name, Integer) { list.Add(name); });
  ASSERT_EQ(list.Count(), 10);
  EXPECT_EQ(list[0], u"f0");
  EXPECT_EQ(list[9], u"f9");
}

}  // namespace
