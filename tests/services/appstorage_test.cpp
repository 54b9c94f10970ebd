// The store's own rules, independent of any registry: paths, options, names.
#include "services/appstorage.h"

#include <gtest/gtest.h>

#include "classes/propaccess.h"
#include "rtl/unicode.h"
#include "services/memoryregistry.h"
#include "services/registrystorage.h"

namespace {

struct PathCase {
  const char* name;
  std::vector<String> parts;
  String expected;
};

class NormalizePath : public ::testing::TestWithParam<PathCase> {};

TEST_P(NormalizePath, Joins) {
  EXPECT_EQ(TSvCustomAppStorage::NormalizePathList(GetParam().parts), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizePath,
    ::testing::Values(PathCase{"NoParts", {}, u""}, PathCase{"TwoEmpty", {u"", u""}, u""},
                      PathCase{"DoubledAndTrailingBackslashes", {u"a\\\\\\b\\"}, u"a\\b"},
                      PathCase{"OneDotStays", {u"a", u"."}, u"a"}, PathCase{"TwoDotsGoUp", {u"a\\b", u"..", u"c"}, u"a\\c"},
                      PathCase{"NotAboveTheTop", {u"a", u"..", u".."}, u""},
                      PathCase{"Joined", {u"a\\b", u"c"}, u"a\\b\\c"},
                      PathCase{"AbsolutePartStartsAgain", {u"a\\b", u"\\c"}, u"c"},
                      PathCase{"UpInsideAPart", {u"x\\y\\z", u"..\\w"}, u"x\\y\\w"},
                      PathCase{"ThreeDotsGoTwoUp", {u"x\\y", u"...\\w"}, u"w"},
                      PathCase{"LeadingBackslashOfFirstPart", {u"\\a", u"b"}, u"a\\b"},
                      PathCase{"CaseKept", {u"Form1", u"CBPanel.Width"}, u"Form1\\CBPanel.Width"},
                      PathCase{"DottedNamesAreNames", {u"a", u"x.y", u".z"}, u"a\\x.y\\.z"}),
    [](const auto& info) { return info.param.name; });

TEST(ConcatPaths, IsTheNormalizedList) {
  EXPECT_EQ(TSvCustomAppStorage::ConcatPaths({u"MainForm", u"Item0"}), u"MainForm\\Item0");
}

struct ItemNameCase {
  String path;
  bool expected;
};

TEST(ListItemNames, ItemAndADigit) {
  for (const ItemNameCase& c : {ItemNameCase{u"Item0", true}, ItemNameCase{u"item12", true},
                                ItemNameCase{u"x\\ITEM5", true}, ItemNameCase{u"Item", false},
                                ItemNameCase{u"Items", false}, ItemNameCase{u"Itemx1", false},
                                ItemNameCase{u"Item5\\x", false}, ItemNameCase{u"", false}}) {
    EXPECT_EQ(TSvCustomAppStorage::IsListItemName(c.path), c.expected) << StringToUTF8(c.path);
  }
}

TEST(StorageOptions, Defaults) {
  const TSvAppStorageOptions options;
  EXPECT_TRUE(options.BooleanAsString());
  EXPECT_EQ(options.BooleanStringTrueValues(), u"TRUE, YES, Y");
  EXPECT_EQ(options.BooleanStringFalseValues(), u"FALSE, NO, N");
  EXPECT_TRUE(options.EnumerationAsString());
  EXPECT_TRUE(options.TypedIntegerAsString());
  EXPECT_FALSE(options.SetAsString());
  EXPECT_TRUE(options.DateTimeAsString());
  EXPECT_FALSE(options.FloatAsString());
  EXPECT_FALSE(options.DefaultIfReadConvertError());
  EXPECT_TRUE(options.DefaultIfValueNotExists());
  EXPECT_TRUE(options.StoreDefaultValues());
  EXPECT_FALSE(options.StoreStringListAsSingleString());
  EXPECT_TRUE(options.UseOldItemNameFormat());
  EXPECT_FALSE(options.UseTranslateStringEngineDateTimeFormats());
  EXPECT_EQ(options.DefaultTrueString(), u"TRUE");
  EXPECT_EQ(options.DefaultFalseString(), u"FALSE");
}

TEST(StorageOptions, BooleanTextLists) {
  TSvAppStorageOptions options;
  EXPECT_TRUE(options.IsValueTrueString(u"yes"));
  EXPECT_TRUE(options.IsValueTrueString(u"Y"));
  EXPECT_TRUE(options.IsValueFalseString(u"No"));
  EXPECT_FALSE(options.IsValueTrueString(u"1"));
  EXPECT_FALSE(options.IsValueTrueString(u"TRUE, YES"));
  options.SetBooleanStringTrueValues(u"  On ,\"Switched on\"");
  EXPECT_EQ(options.DefaultTrueString(), u"On");
  EXPECT_TRUE(options.IsValueTrueString(u"switched on"));
  EXPECT_TRUE(options.BooleanAsString());
}

TEST(StorageOptions, EmptyListSwitchesBooleanTextOffForGood) {
  TSvAppStorageOptions options;
  options.SetBooleanStringTrueValues(u"");
  EXPECT_FALSE(options.BooleanAsString());
  options.SetBooleanStringTrueValues(u"TRUE, YES, Y");
  EXPECT_FALSE(options.BooleanAsString());
  options.SetBooleanAsString(true);
  EXPECT_TRUE(options.BooleanAsString());
  options.SetBooleanStringFalseValues(u" ,NO");
  EXPECT_FALSE(options.BooleanAsString());
  options.SetBooleanAsString(true);
  EXPECT_FALSE(options.BooleanAsString());
}

TEST(StorageOptions, AssignCopiesEveryOption) {
  TSvAppStorageOptions source;
  source.SetBooleanStringTrueValues(u"ON");
  source.SetBooleanStringFalseValues(u"OFF");
  source.SetFloatAsString(true);
  source.SetDefaultIfValueNotExists(false);
  source.SetUseOldItemNameFormat(false);
  source.SetStoreStringListAsSingleString(true);
  source.SetUseTranslateStringEngineDateTimeFormats(true);
  TSvAppRegistryStorageOptions target;
  target.SetBooleanStringTrueValues(u"");  // switches Booleans as text off
  target.Assign(&source);
  EXPECT_EQ(target.BooleanStringTrueValues(), u"ON");
  EXPECT_TRUE(target.BooleanAsString());
  EXPECT_TRUE(target.FloatAsString());
  EXPECT_FALSE(target.DefaultIfValueNotExists());
  EXPECT_FALSE(target.UseOldItemNameFormat());
  EXPECT_TRUE(target.StoreStringListAsSingleString());
  EXPECT_TRUE(target.UseTranslateStringEngineDateTimeFormats());
  target.Assign(&target);
  EXPECT_EQ(target.BooleanStringFalseValues(), u"OFF");
  TSvAppSubStorages other(nullptr);
  EXPECT_THROW(target.Assign(&other), EConvertError);
}

TEST(StoreItems, NameFormats) {
  TMemoryRegistry registry;
  TSvAppRegistryStorage store(nullptr, registry);
  EXPECT_EQ(store.ItemNameIndexPath(u"Item", 3), u"Item3");
  store.StorageOptions()->SetUseOldItemNameFormat(false);
  EXPECT_EQ(store.ItemNameIndexPath(u"Item", 3), u"Item[3]");
}

TEST(StoreReflection, PublishedProperties) {
  const TClassInfo& cls = TSvAppRegistryStorage::StaticClass();
  std::vector<String> names;
  for (const TPropInfo* prop : cls.AllProperties()) names.push_back(prop->Name());
  for (const char16_t* name : {u"Name", u"StorageOptions", u"TranslateStringEngine", u"OnEncryptPropertyValue",
                               u"RegRoot", u"Root", u"SubStorages", u"FlushOnDestroy", u"UseOldDefaultRoot",
                               u"ReadOnly"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), String(name)), names.end()) << StringToUTF8(name);
  }
  const TPropInfo* options = cls.FindProperty(u"StorageOptions");
  ASSERT_NE(options, nullptr);
  TMemoryRegistry registry;
  TSvAppRegistryStorage store(nullptr, registry);
  EXPECT_EQ(GetObjectProp(store, *options), store.StorageOptions());
  const TPropInfo* regRoot = cls.FindProperty(u"RegRoot");
  EXPECT_EQ(GetEnumProp(store, *regRoot), u"hkCurrentUser");
  SetEnumProp(store, *regRoot, u"hkLocalMachine");
  EXPECT_EQ(store.RegHKEY(), kHKeyLocalMachine);
}

}  // namespace
