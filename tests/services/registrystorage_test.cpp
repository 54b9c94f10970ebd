// The registry store against every registry the build has (the in-memory one,
// and the real one under Wine), each test below a key of its own.
#include "services/registrystorage.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "rtl/extended.h"
#include "rtl/numbers.h"
#include "rtl/unicode.h"
#include "services/fake_machine.h"
#include "services/memoryregistry.h"
#include "services/mime.h"
#include "services/registry_fixture.h"
#include "services/versionblock_builder.h"

namespace {

// A store on a machine of the test's own, whose program has version information.
class TTestStore {
 public:
  TTestStore(TRawRegistry& registry, const String& root) : Store(nullptr, registry) {
    Machine.Versions.Files[Machine.Program] =
        ProgramVersionBlock({{u"CompanyName", u"Obrix"}, {u"ProductName", u"Kestrum"}});
    Store.InternalTranslateStringEngine()->SetMachine(&Machine);
    Store.SetRoot(root);
  }
  TFakeMachine Machine;
  TSvAppRegistryStorage Store;
};

template <typename F>
String MessageOf(F&& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.Message();
  }
  return u"<no exception>";
}

std::vector<String> Sorted(const TStrings& strings) {
  std::vector<String> lines = strings.ToStringArray();
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::vector<String> Sorted(std::vector<String> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

// Every store test runs on each registry of RegistryTest's instantiations.
#define STORE_TEST(Name) TEST_P(RegistryTest, Store##Name)

STORE_TEST(ValuesOfEveryKindRoundTrip) {
  TTestStore t(Registry(), Base());
  TSvAppRegistryStorage& store = t.Store;
  store.WriteInteger(u"Form\\Left", -12);
  store.WriteString(u"Form\\Caption", u"Kestrum \u00E9\u20AC");
  store.WriteBoolean(u"Form\\Visible", true);
  store.WriteFloat(u"Form\\Ratio", 0.1L);
  const TDateTime when = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
  store.WriteDateTime(u"Form\\Saved", when);
  const Byte bytes[] = {0, 1, 2, 254, 255};
  store.WriteBinary(u"Form\\Data", bytes, 5);
  store.WriteWideString(u"Form\\Wide", u"\U0001F600");

  EXPECT_EQ(store.ReadInteger(u"Form\\Left", 0), -12);
  EXPECT_EQ(store.ReadString(u"Form\\Caption"), u"Kestrum \u00E9\u20AC");
  EXPECT_TRUE(store.ReadBoolean(u"Form\\Visible", false));
  EXPECT_EQ(store.ReadFloat(u"Form\\Ratio", 0), 0.1L);
  EXPECT_EQ(store.ReadDateTime(u"Form\\Saved", 0), when);
  Byte back[8] = {};
  EXPECT_EQ(store.ReadBinary(u"Form\\Data", back, 8), 5);
  EXPECT_EQ(TBytes(back, back + 5), TBytes(bytes, bytes + 5));
  EXPECT_EQ(store.ReadWideString(u"Form\\Wide"), u"\U0001F600");

  // What reaches the registry with the default options.
  EXPECT_EQ(RawType(u"Form", u"Left"), kRegDword);
  EXPECT_EQ(RawType(u"Form", u"Caption"), kRegSz);
  EXPECT_EQ(RawType(u"Form", u"Visible"), kRegSz);
  EXPECT_EQ(RawText(u"Form", u"Visible"), u"TRUE");
  EXPECT_EQ(RawType(u"Form", u"Saved"), kRegSz);
  EXPECT_EQ(RawText(u"Form", u"Saved"), u"3/5/2024 2:07:09 PM");
  Cardinal type = 0;
  TBytes ratio;
  ASSERT_TRUE(GetRaw(u"Form", u"Ratio", type, ratio));
  EXPECT_EQ(type, kRegBinary);
  const Extended80 expected = Extended80::FromLongDouble(0.1L);
  EXPECT_EQ(ratio, TBytes(expected.bytes.begin(), expected.bytes.end()));
}

STORE_TEST(ProgramSettingsReadBackTheSame) {
  // The root and Boolean texts the main window gives its store.
  TTestStore t(Registry(), Key(u"Software\\Obrix\\Kestrum\\6.x"));
  TSvAppRegistryStorage& store = t.Store;
  store.StorageOptions()->SetBooleanStringTrueValues(u"TRUE, YES, Y");
  store.StorageOptions()->SetBooleanStringFalseValues(u"FALSE, NO, N");
  EXPECT_EQ(store.Root(), Key(u"Software\\Obrix\\Kestrum\\6.x"));
  store.WriteBoolean(u"MainForm\\ShowTypeCol", true);
  store.WriteBoolean(u"MainForm\\SmallFont", false);
  store.WriteInteger(u"MainForm\\CBPanel.Width", 220);
  store.WriteString(u"MainForm\\Item0", u"C:\\Forms\\Main.dfm");
  store.WriteInteger(u"MainForm\\Count", 1);
  EXPECT_EQ(RawText(u"Software\\Obrix\\Kestrum\\6.x\\MainForm", u"ShowTypeCol"), u"TRUE");
  EXPECT_EQ(RawText(u"Software\\Obrix\\Kestrum\\6.x\\MainForm", u"SmallFont"), u"FALSE");

  TTestStore again(Registry(), Key(u"Software\\Obrix\\Kestrum\\6.x"));
  EXPECT_TRUE(again.Store.ReadBoolean(u"MainForm\\ShowTypeCol", false));
  EXPECT_FALSE(again.Store.ReadBoolean(u"MainForm\\SmallFont", true));
  EXPECT_FALSE(again.Store.ReadBoolean(u"MainForm\\ShowCNCol", false));
  EXPECT_EQ(again.Store.ReadInteger(u"MainForm\\CBPanel.Width", 0), 220);
  EXPECT_EQ(again.Store.ReadString(u"MainForm\\Item0"), u"C:\\Forms\\Main.dfm");
  EXPECT_TRUE(again.Store.ListStored(u"MainForm"));
}

STORE_TEST(RelativeAndAbsolutePaths) {
  TTestStore t(Registry(), Base());
  TSvAppRegistryStorage& store = t.Store;
  store.SetPath(u"x\\\\");
  EXPECT_EQ(store.Path(), u"x");
  store.WriteInteger(u"y", 5);
  EXPECT_EQ(RawType(u"x", u"y"), kRegDword);
  store.WriteInteger(u"\\y", 7);
  EXPECT_EQ(store.ReadInteger(u"\\y", 0), 7);
  EXPECT_EQ(store.ReadInteger(u"y", 0), 5);
  EXPECT_EQ(store.ReadInteger(u"..\\y", 0), 7);
  EXPECT_EQ(store.FullStorePath(u"z"), Key(u"x\\z"));
}

STORE_TEST(SubStoragesTakeThePathsBelowTheirRoot) {
  TTestStore a(Registry(), Key(u"A"));
  TTestStore b(Registry(), Key(u"B"));
  TTestStore c(Registry(), Key(u"C"));
  a.Store.SubStorages()->Add(u"Sub\\In", &c.Store);
  a.Store.SubStorages()->Add(u"\\Sub\\", &b.Store);
  EXPECT_EQ(a.Store.SubStorages()->Items(1)->RootPath(), u"Sub");
  a.Store.WriteInteger(u"Sub\\v", 1);
  a.Store.WriteInteger(u"Sub", 2);
  a.Store.WriteInteger(u"Subway\\v", 3);
  a.Store.WriteInteger(u"sub\\in\\v", 4);
  EXPECT_EQ(RawType(u"B", u"v"), kRegDword);
  EXPECT_EQ(RawType(u"A", u"Sub"), kRegDword);
  EXPECT_EQ(RawType(u"A\\Subway", u"v"), kRegDword);
  EXPECT_EQ(ReadRegistryIntegerDef(Registry(), Root(), Key(u"C"), u"v", 0), 4);
  EXPECT_EQ(a.Store.ReadInteger(u"Sub\\v", 0), 1);
  EXPECT_TRUE(a.Store.ValueStored(u"Sub\\In\\v"));
  TSvCustomAppStorage* target = nullptr;
  String targetPath;
  a.Store.ResolvePath(u"Sub\\In\\x\\y", target, targetPath);
  EXPECT_EQ(target, &c.Store);
  EXPECT_EQ(targetPath, u"\\x\\y");
  EXPECT_EQ(a.Store.SubStorages()->Items(1)->DisplayName(), u"\\Sub=");
}

STORE_TEST(SubStorageRootsAreUnique) {
  TTestStore a(Registry(), Key(u"A"));
  TTestStore b(Registry(), Key(u"B"));
  TSvAppSubStorages& subs = *a.Store.SubStorages();
  subs.Add(u"a", &b.Store);
  EXPECT_EQ(MessageOf([&] { subs.Add(u"a\\b", &b.Store); }), u"'a\\b' is not a unique root path");
  EXPECT_EQ(MessageOf([&] { subs.Add(u"A", &b.Store); }), u"'A' is not a unique root path");
  EXPECT_EQ(subs.Count(), 1);
  subs.Add(u"x\\y", &b.Store);
  subs.Add(u"x", &b.Store);
  EXPECT_EQ(subs.Count(), 3);
  // An item may take its own root again.
  subs.Items(0)->SetRootPath(u"a\\");
  EXPECT_EQ(MessageOf([&] { subs.Items(0)->SetRootPath(u"x\\y\\z"); }), u"'x\\y\\z' is not a unique root path");
  EXPECT_EQ(subs.Items(0)->RootPath(), u"a");
  subs.Delete(u"X", true);
  EXPECT_EQ(subs.Count(), 1);
}

STORE_TEST(SubStoragesRefuseCircles) {
  TTestStore a(Registry(), Key(u"A"));
  TTestStore b(Registry(), Key(u"B"));
  TTestStore c(Registry(), Key(u"C"));
  EXPECT_EQ(MessageOf([&] { a.Store.SubStorages()->Add(u"self", &a.Store); }), u"Circular reference of storages");
  b.Store.SubStorages()->Add(u"t", &a.Store);
  c.Store.SubStorages()->Add(u"u", &b.Store);
  EXPECT_EQ(MessageOf([&] { a.Store.SubStorages()->Add(u"c", &c.Store); }), u"Circular reference of storages");
  EXPECT_EQ(a.Store.SubStorages()->Count(), 0);
}

STORE_TEST(SubStorageGoesWithItsStore) {
  TTestStore a(Registry(), Key(u"A"));
  auto b = std::make_unique<TTestStore>(Registry(), Key(u"B"));
  a.Store.SubStorages()->Add(u"s", &b->Store);
  a.Store.SubStorages()->Add(u"t", &b->Store);
  b.reset();
  EXPECT_EQ(a.Store.SubStorages()->Count(), 0);
  a.Store.WriteInteger(u"s\\v", 1);
  EXPECT_EQ(RawType(u"A\\s", u"v"), kRegDword);
}

STORE_TEST(BooleansFromTextAndNumbers) {
  TTestStore t(Registry(), Base());
  struct Case {
    const char* name;
    Cardinal type;
    TBytes data;
    bool withTrueDefault;
    bool withFalseDefault;
  };
  const Case cases[] = {
      {"Yes", kRegSz, Utf16Bytes(u"yes"), true, true},
      {"Y", kRegSz, Utf16Bytes(u"Y"), true, true},
      {"No", kRegSz, Utf16Bytes(u"nO"), false, false},
      {"TextOne", kRegSz, Utf16Bytes(u"1"), true, true},
      {"TextZero", kRegSz, Utf16Bytes(u"0"), false, false},
      // Neither list nor a number: the integer read gives the default.
      {"Maybe", kRegSz, Utf16Bytes(u"maybe"), true, false},
      // The text read of a number gives the default's own text.
      {"DwordOne", kRegDword, {1, 0, 0, 0}, true, false},
      {"DwordZero", kRegDword, {0, 0, 0, 0}, true, false},
  };
  for (const Case& c : cases) {
    SetRaw(u"", u"B", c.type, c.data);
    EXPECT_EQ(t.Store.ReadBoolean(u"B", true), c.withTrueDefault) << c.name;
    EXPECT_EQ(t.Store.ReadBoolean(u"B", false), c.withFalseDefault) << c.name;
  }
  t.Store.StorageOptions()->SetBooleanAsString(false);
  t.Store.WriteBoolean(u"N", true);
  EXPECT_EQ(RawType(u"", u"N"), kRegDword);
  EXPECT_TRUE(t.Store.ReadBoolean(u"N", false));
}

STORE_TEST(IntegersFromText) {
  TTestStore t(Registry(), Base());
  SetRaw(u"", u"I", kRegSz, Utf16Bytes(u"42"));
  EXPECT_EQ(t.Store.ReadInteger(u"I", 5), 42);
  SetRaw(u"", u"I", kRegSz, Utf16Bytes(u"x"));
  EXPECT_EQ(t.Store.ReadInteger(u"I", 5), 5);
}

STORE_TEST(FloatsOfTheWrongKindOrSize) {
  TTestStore t(Registry(), Base());
  const String key = Base();
  SetRaw(u"", u"Dword", kRegDword, {1, 0, 0, 0});
  SetRaw(u"", u"Short", kRegBinary, {0, 0, 0, 0});
  SetRaw(u"", u"Long", kRegBinary, TBytes(12, 0));
  const Extended80 two = Extended80::FromLongDouble(2.0L);
  SetRaw(u"", u"Exact", kRegBinary, TBytes(two.bytes.begin(), two.bytes.end()));
  EXPECT_EQ(MessageOf([&] { t.Store.ReadFloat(u"Dword", 1); }), u"\"\\" + key + u"\\Dword\" is of wrong kind or size");
  // Fewer than ten bytes are no extended value: nothing of the default mixes in.
  EXPECT_EQ(MessageOf([&] { t.Store.ReadFloat(u"Short", 1); }), u"\"\\" + key + u"\\Short\" is of wrong kind or size");
  EXPECT_EQ(MessageOf([&] { t.Store.ReadFloat(u"Long", 1); }),
            u"\"HKEY_CURRENT_USER\\" + key + u"\\Long\" is of wrong kind or size");
  EXPECT_EQ(t.Store.ReadFloat(u"Exact", 1), 2.0L);
  t.Store.StorageOptions()->SetDefaultIfReadConvertError(true);
  for (const char16_t* name : {u"Dword", u"Short", u"Long"}) EXPECT_EQ(t.Store.ReadFloat(name, 1.5L), 1.5L);
  // A float written as text reads back through the text route.
  t.Store.StorageOptions()->SetFloatAsString(true);
  t.Store.WriteFloat(u"Text", 2.5L);
  EXPECT_EQ(RawText(u"", u"Text"), u"2.5");
  EXPECT_EQ(t.Store.ReadFloat(u"Text", 0), 2.5L);
  EXPECT_EQ(t.Store.ReadFloat(u"Exact", 0), 2.0L);
}

STORE_TEST(MissingValues) {
  TTestStore t(Registry(), Base());
  TSvAppRegistryStorage& store = t.Store;
  EXPECT_EQ(store.ReadFloat(u"Missing", 3), 3);
  EXPECT_EQ(store.ReadDateTime(u"Missing", 4), 4);
  EXPECT_EQ(store.ReadString(u"Missing", u"d"), u"d");
  // Asked, the back end answers with its own defaults, or fails where it has none.
  store.StorageOptions()->SetDefaultIfValueNotExists(false);
  EXPECT_EQ(store.ReadInteger(u"Missing", 6), 6);
  EXPECT_EQ(store.ReadString(u"Missing", u"d"), u"d");
  EXPECT_THROW(store.ReadFloat(u"Missing", 3), EUtRegistryError);
  Byte buffer[4];
  EXPECT_THROW(store.ReadBinary(u"Missing", buffer, 4), EUtRegistryError);
}

STORE_TEST(DeletingValuesAndTrees) {
  TTestStore t(Registry(), Base());
  TSvAppRegistryStorage& store = t.Store;
  EXPECT_NO_THROW(store.DeleteValue(u"Nothing"));
  EXPECT_NO_THROW(store.DeleteValue(u"No\\Key"));
  store.WriteInteger(u"F\\a", 1);
  store.WriteInteger(u"F\\G\\b", 2);
  EXPECT_TRUE(store.ValueStored(u"F\\a"));
  store.DeleteValue(u"F\\a");
  EXPECT_FALSE(store.ValueStored(u"F\\a"));
  EXPECT_TRUE(store.PathExists(u"F\\G"));
  store.DeleteSubTree(u"F");
  EXPECT_FALSE(store.PathExists(u"F"));
  EXPECT_NO_THROW(store.DeleteSubTree(u"F"));
}

void WriteList(TSvCustomAppStorage& store, const String& path, Integer count) {
  store.WriteList(path, nullptr, count,
                  [](TSvCustomAppStorage* sender, const String& listPath, TObject*, Integer index, const String& item) {
                    sender->WriteString(
                        TSvCustomAppStorage::ConcatPaths({listPath, sender->ItemNameIndexPath(item, index)}), u"entry");
                  });
}

STORE_TEST(ListsReportedAsValues) {
  TTestStore t(Registry(), Base());
  TSvAppRegistryStorage& store = t.Store;
  WriteList(store, u"L", 2);
  EXPECT_TRUE(store.ListStored(u"L"));
  EXPECT_FALSE(store.IsFolder(u"L", true));
  EXPECT_TRUE(store.IsFolder(u"L", false));
  TStringList names;
  store.ListValues(u"L", names, true);
  EXPECT_EQ(names.ToStringArray(), (std::vector<String>{u""}));
  store.WriteInteger(u"L\\V", 1);
  names.Clear();
  store.ListValues(u"L", names, true);
  EXPECT_EQ(Sorted(names), (std::vector<String>{u"", u"V"}));
  names.Clear();
  store.ListValues(u"L", names, false);
  EXPECT_EQ(Sorted(names), (std::vector<String>{u"Count", u"Item0", u"Item1", u"V"}));
  EXPECT_TRUE(store.IsFolder(u"L", true));
  EXPECT_FALSE(store.IsFolder(u"Missing", false));
}

STORE_TEST(StoredValuesListing) {
  TTestStore t(Registry(), Base());
  TSvAppRegistryStorage& store = t.Store;
  WriteList(store, u"P", 2);
  store.WriteInteger(u"Q\\v", 1);
  store.WriteInteger(u"T", 1);
  TStringList lines;
  store.GetStoredValues(u"", lines, {aeoValues, aeoReportListAsValue, aeoRecursive});
  EXPECT_EQ(Sorted(lines), (std::vector<String>{u"P", u"Q\\v", u"T"}));
  store.GetStoredValues(u"", lines, {aeoValues, aeoRecursive});
  EXPECT_EQ(Sorted(lines), (std::vector<String>{u"P\\Count", u"P\\Item0", u"P\\Item1", u"Q\\v", u"T"}));
  store.GetStoredValues(u"", lines, {aeoFolders, aeoReportListAsValue});
  EXPECT_EQ(Sorted(lines), (std::vector<String>{u"Q"}));
  EXPECT_EQ(StoredValueFlags(lines, 0), kSvStoredFolder);
  store.GetStoredValues(u"Q", lines, {aeoValues, aeoReportRelative});
  EXPECT_EQ(lines.ToStringArray(), (std::vector<String>{u"v"}));
  EXPECT_EQ(StoredValueFlags(lines, 0), kSvStoredValue);
  store.SetPath(u"Q");
  store.GetStoredValues(u"", lines, {aeoValues});
  EXPECT_EQ(lines.ToStringArray(), (std::vector<String>{u"Q\\v"}));
  // Folders below the current path are tested there, not at the top.
  WriteList(store, u"R", 1);
  store.WriteInteger(u"S\\w", 1);
  store.GetStoredValues(u"", lines, {aeoFolders, aeoReportListAsValue, aeoReportRelative});
  EXPECT_EQ(lines.ToStringArray(), (std::vector<String>{u"S"}));
  TStringList folders;
  store.ListFolders(u"", folders, true);
  EXPECT_EQ(folders.ToStringArray(), (std::vector<String>{u"S"}));
}

STORE_TEST(WriteListDeletesTheSurplusOnce) {
  TTestStore t(Registry(), Base());
  TSvAppRegistryStorage& store = t.Store;
  WriteList(store, u"L", 3);
  EXPECT_EQ(store.ReadInteger(u"L\\Count", 0), 3);
  std::vector<std::pair<Integer, Integer>> deletes;
  int written = 0;
  store.WriteList(
      u"L", nullptr, 1, [&](TSvCustomAppStorage*, const String&, TObject*, Integer, const String&) { ++written; },
      [&](TSvCustomAppStorage* sender, const String& path, TObject*, Integer first, Integer last, const String& item) {
        deletes.emplace_back(first, last);
        for (Integer i = first; i <= last; ++i)
          sender->DeleteValue(TSvCustomAppStorage::ConcatPaths({path, item + IntToStr(i)}));
      });
  EXPECT_EQ(written, 1);
  EXPECT_EQ(deletes, (std::vector<std::pair<Integer, Integer>>{{1, 2}}));
  EXPECT_EQ(store.ReadInteger(u"L\\Count", 0), 1);
  EXPECT_FALSE(store.ValueStored(u"L\\Item2"));
  std::vector<Integer> read;
  EXPECT_EQ(store.ReadList(u"L", nullptr,
                           [&](TSvCustomAppStorage*, const String&, TObject*, Integer index, const String& item) {
                             EXPECT_EQ(item, u"Item");
                             read.push_back(index);
                           }),
            1);
  EXPECT_EQ(read, (std::vector<Integer>{0}));
}

STORE_TEST(LongValueNamesAreListed) {
  TTestStore t(Registry(), Base());
  const String longName(600, u'v');
  t.Store.WriteInteger(longName, 1);
  t.Store.WriteInteger(u"short", 2);
  TStringList names;
  t.Store.ListValues(u"", names, false);
  EXPECT_EQ(Sorted(names), Sorted({longName, u"short"}));
}

STORE_TEST(ReadOnlyStoresSkipWrites) {
  TTestStore a(Registry(), Key(u"A"));
  TTestStore b(Registry(), Key(u"B"));
  a.Store.SubStorages()->Add(u"Sub", &b.Store);
  b.Store.WriteInteger(u"v", 1);
  b.Store.SetReadOnly(true);
  a.Store.WriteInteger(u"Sub\\v", 2);
  a.Store.WriteString(u"Sub\\s", u"x");
  a.Store.DeleteValue(u"Sub\\v");
  EXPECT_EQ(a.Store.ReadInteger(u"Sub\\v", 0), 1);
  EXPECT_FALSE(a.Store.ValueStored(u"Sub\\s"));
  int writes = 0;
  a.Store.WriteList(u"Sub", nullptr, 2,
                    [&](TSvCustomAppStorage*, const String&, TObject*, Integer, const String&) { ++writes; });
  EXPECT_EQ(writes, 0);
  EXPECT_FALSE(b.Store.ValueStored(u"Count"));
  a.Store.SetReadOnly(true);
  a.Store.WriteInteger(u"own", 1);
  EXPECT_FALSE(a.Store.ValueStored(u"own"));
}

STORE_TEST(WideStringsTakeTheRouteOfStrings) {
  TTestStore a(Registry(), Key(u"A"));
  TTestStore b(Registry(), Key(u"B"));
  a.Store.SubStorages()->Add(u"Sub", &b.Store);
  a.Store.SetPath(u"P");
  a.Store.WriteWideString(u"\\Sub\\w", u"\u0416");
  EXPECT_EQ(RawText(u"B", u"w"), u"\u0416");
  EXPECT_EQ(a.Store.ReadWideString(u"\\Sub\\w"), u"\u0416");
  a.Store.WriteWideString(u"w", u"here");
  EXPECT_EQ(RawText(u"A\\P", u"w"), u"here");
  EXPECT_EQ(a.Store.ReadWideString(u"missing", u"def"), u"def");
  b.Store.SetReadOnly(true);
  a.Store.WriteWideString(u"\\Sub\\w", u"changed");
  EXPECT_EQ(RawText(u"B", u"w"), u"\u0416");
}

STORE_TEST(ValueCrypt) {
  TTestStore t(Registry(), Base());
  TSvAppRegistryStorage& store = t.Store;
  store.OnEncryptPropertyValue = [](String& value) { std::reverse(value.begin(), value.end()); };
  store.OnDecryptPropertyValue = [](String& value) { std::reverse(value.begin(), value.end()); };
  store.WriteString(u"Plain", u"abc");
  EXPECT_EQ(RawText(u"", u"Plain"), u"abc");
  store.EnablePropertyValueCrypt();
  EXPECT_TRUE(store.IsPropertyValueCryptEnabled());
  store.WriteString(u"Secret", u"abc");
  store.WriteWideString(u"Wide", u"abc");
  store.WriteBoolean(u"Flag", true);
  EXPECT_EQ(RawText(u"", u"Secret"), u"Y2Jh");
  EXPECT_EQ(RawText(u"", u"Wide"), u"Y2Jh");
  EXPECT_EQ(RawText(u"", u"Flag"), S(MimeEncodeText("EURT")));
  EXPECT_EQ(store.ReadString(u"Secret"), u"abc");
  EXPECT_EQ(store.ReadWideString(u"Wide"), u"abc");
  EXPECT_TRUE(store.ReadBoolean(u"Flag", false));
  // Integers are never encrypted.
  store.WriteInteger(u"Number", 5);
  EXPECT_EQ(RawType(u"", u"Number"), kRegDword);
  store.DisablePropertyValueCrypt();
  EXPECT_EQ(store.ReadString(u"Secret"), u"Y2Jh");
}

STORE_TEST(VersionCheckDeletesOldSettings) {
  TTestStore t(Registry(), Base());
  TSvAppRegistryStorage& store = t.Store;
  store.WriteInteger(u"P\\x", 1);
  store.WriteInteger(u"P\\Version", 1);
  store.CheckDeletePathByVersion(u"P", 2, false, true, u"Version");
  EXPECT_FALSE(store.ValueStored(u"P\\x"));
  EXPECT_EQ(store.ReadInteger(u"P\\Version", 0), 2);
  store.WriteInteger(u"P\\x", 1);
  store.CheckDeletePathByVersion(u"P", 2, true, true, u"Version");
  EXPECT_TRUE(store.ValueStored(u"P\\x"));
  // A newer stored version stays unless any difference deletes.
  store.CheckDeletePathByVersion(u"P", 1, false, false, u"Version");
  EXPECT_TRUE(store.ValueStored(u"P\\x"));
  store.CheckDeletePathByVersion(u"P", 1, true, false, u"Version");
  EXPECT_FALSE(store.PathExists(u"P"));
  store.WriteInteger(u"P\\x", 1);
  store.CheckDeletePathByVersion(u"P", 9, true, true, u"");
  EXPECT_TRUE(store.ValueStored(u"P\\x"));
}

STORE_TEST(RootFolderValueIsTheRootKeysDefault) {
  TTestStore t(Registry(), Key(u"R"));
  TSvAppRegistryStorage& store = t.Store;
  SetRaw(u"", u"R", kRegSz, Utf16Bytes(u"parent's"));
  EXPECT_EQ(store.ReadString(u"", u"none"), u"none");
  EXPECT_FALSE(store.ValueStored(u"."));
  store.WriteString(u".", u"mine");
  EXPECT_EQ(RawText(u"R", u""), u"mine");
  EXPECT_EQ(store.ReadString(u"x\\..", String()), u"mine");
  store.SetPath(u"sub\\..");
  EXPECT_EQ(store.ReadString(u"", String()), u"mine");
  store.DeleteValue(u"");
  EXPECT_EQ(RawType(u"R", u""), 99u);
  EXPECT_EQ(RawText(u"", u"R"), u"parent's") << "the parent's value is another's";
}

STORE_TEST(VersionCheckInASubStorage) {
  TTestStore main(Registry(), Key(u"Main"));
  TTestStore sub(Registry(), Key(u"Sub"));
  main.Store.SubStorages()->Add(u"Plugins", &sub.Store);
  main.Store.WriteInteger(u"Plugins\\P\\x", 1);
  main.Store.CheckDeletePathByVersion(u"Plugins\\P", 2, false, true, u"Version");
  EXPECT_FALSE(main.Store.ValueStored(u"Plugins\\P\\x"));
  EXPECT_EQ(sub.Store.ReadInteger(u"P\\Version", 0), 2);
  EXPECT_FALSE(KeyExists(u"Sub\\Plugins"));
}

STORE_TEST(RootMacrosExpand) {
  TTestStore t(Registry(), Key(u"Software\\%COMPANY_NAME%\\%APPL_NAME%"));
  EXPECT_EQ(t.Store.Root(), Key(u"Software\\Obrix\\Kestrum"));
  t.Store.WriteInteger(u"v", 1);
  EXPECT_EQ(RawType(u"Software\\Obrix\\Kestrum", u"v"), kRegDword);
  t.Store.SetUseOldDefaultRoot(true);
  EXPECT_EQ(t.Store.Root(), u"Software\\Obrix\\Kestrum");
}

STORE_TEST(RootMacrosThatNeverSettleStop) {
  TTestStore t(Registry(), Base());
  t.Store.InternalTranslateStringEngine()->OnProcessCommand = [](TObject*, const String& command, String& value,
                                                                 bool& changed) {
    if (command == u"SELF") value = u"%SELF%";
    if (command == u"PING") value = u"%PONG%";
    if (command == u"PONG") value = u"%PING%";
    if (command == u"OUTER") value = u"%APPL_NAME%";
    changed = changed || command == u"SELF" || command == u"PING" || command == u"PONG" || command == u"OUTER";
  };
  t.Store.SetRoot(Key(u"%SELF%"));
  EXPECT_EQ(t.Store.Root(), Key(u"%SELF%"));
  t.Store.SetRoot(Key(u"%PING%"));
  EXPECT_TRUE(t.Store.Root() == Key(u"%PING%") || t.Store.Root() == Key(u"%PONG%"));
  t.Store.SetRoot(Key(u"%OUTER%"));
  EXPECT_EQ(t.Store.Root(), Key(u"Kestrum"));
}

STORE_TEST(NoRootAndDesignTime) {
  TTestStore t(Registry(), Base());
  t.Store.SetRoot(u"%NONE%");
  EXPECT_EQ(t.Store.Root(), u"");
  EXPECT_EQ(t.Store.FullStorePath(u"a\\v"), u"a\\v");
  String key, name;
  t.Store.SplitValuePath(u"v", key, name);
  EXPECT_EQ(key, u"");
  EXPECT_EQ(name, u"v");
  t.Store.SetDesigning(true);
  t.Store.SetUseOldDefaultRoot(true);
  EXPECT_EQ(t.Store.Root(), u"Software\\%COMPANY_NAME%\\%APPL_NAME%");
  t.Store.SetRoot(u"");
  EXPECT_EQ(t.Store.Root(), u"%NONE%");
  EXPECT_FALSE(t.Store.UseOldDefaultRoot());
}

STORE_TEST(RootExpandsWhenLoaded) {
  TTestStore t(Registry(), Base());
  t.Store.IncludeState(csLoading);
  t.Store.SetRoot(Key(u"%APPL_NAME%"));
  EXPECT_EQ(t.Store.Root(), Key(u"%APPL_NAME%"));
  t.Store.ExcludeState(csLoading);
  t.Store.Loaded();
  EXPECT_EQ(t.Store.Root(), Key(u"Kestrum"));
}

STORE_TEST(EngineDateTimeFormats) {
  TTestStore t(Registry(), Base());
  TSvAppRegistryStorage& store = t.Store;
  TSvTranslateString& engine = *store.InternalTranslateStringEngine();
  engine.SetDateFormat(u"yyyy/mm/dd");
  engine.SetTimeFormat(u"hh:nn:ss");
  store.StorageOptions()->SetUseTranslateStringEngineDateTimeFormats(true);
  const TDateTime when = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
  store.WriteDateTime(u"When", when);
  EXPECT_EQ(RawText(u"", u"When"), u"2024/03/05 14:07:09");
  EXPECT_EQ(store.ReadDateTime(u"When", 0), when);
  // One bracket, one set of formats.
  store.BeginUpdate();
  engine.SetDateFormat(u"dd.mm.yyyy");
  store.WriteDateTime(u"Inside", when);
  store.EndUpdate();
  EXPECT_EQ(RawText(u"", u"Inside"), u"2024/03/05 14:07:09");
  // Text the engine's formats cannot read is read in the locale's.
  TTestStore other(Registry(), Base());
  other.Store.InternalTranslateStringEngine()->SetDateFormat(u"yyyy-mm-dd");
  other.Store.StorageOptions()->SetUseTranslateStringEngineDateTimeFormats(true);
  SetRaw(u"", u"Locale", kRegSz, Utf16Bytes(u"3/5/2024 2:07:09 PM"));
  EXPECT_EQ(other.Store.ReadDateTime(u"Locale", 0), when);
}

// Counts the flushes and reloads the update brackets ask for.
class TCountingStore : public TSvAppRegistryStorage {
 public:
  using TSvAppRegistryStorage::TSvAppRegistryStorage;
  void Flush() override { ++Flushes; }
  void Reload() override { ++Reloads; }
  int Flushes = 0;
  int Reloads = 0;
};

STORE_TEST(UpdateBracketsFlushAndReload) {
  TCountingStore store(nullptr, Registry());
  store.SetRoot(Base());
  TCountingStore sub(nullptr, Registry());
  sub.SetRoot(Key(u"Sub"));
  store.SubStorages()->Add(u"Sub", &sub);
  store.SetAutoFlush(true);
  store.SetAutoReload(true);
  store.BeginUpdate();
  store.BeginUpdate();
  EXPECT_TRUE(store.IsUpdating());
  EXPECT_TRUE(sub.IsUpdating());
  EXPECT_EQ(store.Reloads, 1);
  store.EndUpdate();
  EXPECT_EQ(store.Flushes, 0);
  store.EndUpdate();
  EXPECT_EQ(store.Flushes, 1);
  EXPECT_FALSE(sub.IsUpdating());
  store.EndUpdate();
  EXPECT_FALSE(store.IsUpdating());
  store.Loaded();
  EXPECT_EQ(store.Reloads, 2);
  EXPECT_EQ(sub.Flushes, 0);
}

TEST(ProgramSettings, UnderTheProgramsOwnRoot) {
  TMemoryRegistry registry;
  TTestStore writer(registry, u"Software\\Obrix\\Kestrum\\6.x");
  writer.Store.StorageOptions()->SetBooleanStringTrueValues(u"TRUE, YES, Y");
  writer.Store.StorageOptions()->SetBooleanStringFalseValues(u"FALSE, NO, N");
  writer.Store.WriteBoolean(u"MainForm\\ShowCNCol", true);
  EXPECT_EQ(ReadRegistryString(registry, kHKeyCurrentUser, u"Software\\Obrix\\Kestrum\\6.x\\MainForm", u"ShowCNCol"),
            u"TRUE");
  TTestStore reader(registry, u"Software\\Obrix\\Kestrum\\6.x");
  EXPECT_TRUE(reader.Store.ReadBoolean(u"MainForm\\ShowCNCol", false));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
