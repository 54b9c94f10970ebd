// Enumerations, sets, properties, objects and lists in the settings store, on
// every registry the build has (the in-memory one, and the real one under Wine).
#include "services/appstorageobjects.h"

#include <gtest/gtest.h>

#include "classes/identmaps.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"
#include "services/fake_machine.h"
#include "services/memoryregistry.h"
#include "services/registry_fixture.h"
#include "services/registrystorage.h"
#include "services/typeinfowrappers.h"
#include "support/testcomponents.h"
#include "typeinfo_types.h"

namespace {

class TObjectStore {
 public:
  TObjectStore(TRawRegistry& registry, const String& root) : Store(nullptr, registry) {
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

const TEnumTypeInfo& FormState() {
  static const TEnumTypeInfo t(u"TWindowState", u"Forms", {u"wsNormal", u"wsMinimized", u"wsMaximized"});
  return t;
}
const TEnumTypeInfo& Abc() {
  static const TEnumTypeInfo t(u"TAbc", u"Probe", {u"a", u"b", u"c"});
  return t;
}
const TSetTypeInfo& AbcSet() {
  static const TSetTypeInfo t(u"TAbcSet", u"Probe", Abc());
  return t;
}
const TSetTypeInfo& CharSet() {
  static const TSetTypeInfo t(u"TCharSet", u"Probe", types::Char());
  return t;
}

Byte ReadState(TSvCustomAppStorage& store, const String& path, Byte defaultValue) {
  Byte value = 0xEE;
  ReadEnumeration(store, path, FormState(), &defaultValue, &value);
  return value;
}

#define OBJECTS_TEST(Name) TEST_P(RegistryTest, Objects##Name)

OBJECTS_TEST(EnumerationsByNameNumberOrDefault) {
  TObjectStore t(Registry(), Base());
  TSvCustomAppStorage& store = t.Store;
  const Byte maximized = 2;
  WriteEnumeration(store, u"Form\\State", FormState(), &maximized);
  EXPECT_EQ(RawType(u"Form", u"State"), kRegSz);
  EXPECT_EQ(RawText(u"Form", u"State"), u"wsMaximized");
  EXPECT_EQ(ReadState(store, u"Form\\State", 0), 2);

  store.WriteString(u"Form\\State", u"WSMINIMIZED");
  EXPECT_EQ(ReadState(store, u"Form\\State", 0), 1) << "names match without regard to case";
  store.WriteInteger(u"Form\\State", 2);
  EXPECT_EQ(ReadState(store, u"Form\\State", 0), 2);
  store.WriteString(u"Form\\State", u"nonsense");
  EXPECT_EQ(ReadState(store, u"Form\\State", 1), 1);
  EXPECT_EQ(ReadState(store, u"Form\\Missing", 1), 1);
  // Mended: a stored number outside the type used to come back unchanged.
  for (Integer outside : {3, 200, -2}) {
    store.WriteInteger(u"Form\\State", outside);
    EXPECT_EQ(ReadState(store, u"Form\\State", 1), 1) << outside;
  }
  const Byte beyond = 7;
  WriteEnumeration(store, u"Form\\Beyond", FormState(), &beyond);
  EXPECT_EQ(RawType(u"Form", u"Beyond"), kRegDword) << "a value without a name is written as its number";

  store.StorageOptions()->SetEnumerationAsString(false);
  WriteEnumeration(store, u"Form\\State", FormState(), &maximized);
  EXPECT_EQ(RawType(u"Form", u"State"), kRegDword);
  EXPECT_EQ(ReadState(store, u"Form\\State", 0), 2);
}

OBJECTS_TEST(BooleansCharactersAndIdentifiedIntegers) {
  TObjectStore t(Registry(), Base());
  TSvCustomAppStorage& store = t.Store;
  const Byte yes = 1;
  WriteEnumeration(store, u"V\\Flag", types::Boolean(), &yes);
  EXPECT_EQ(RawText(u"V", u"Flag"), u"TRUE");
  Byte flag = 0;
  const Byte no = 0;
  ReadEnumeration(store, u"V\\Flag", types::Boolean(), &no, &flag);
  EXPECT_EQ(flag, 1);

  const char16_t letter = u'K';
  WriteEnumeration(store, u"V\\Key", types::WideChar(), &letter);
  EXPECT_EQ(RawType(u"V", u"Key"), kRegDword);
  char16_t key = 0;
  ReadEnumeration(store, u"V\\Key", types::WideChar(), &letter, &key);
  EXPECT_EQ(key, u'K');

  const Integer red = 0x0000FF;
  const Integer odd = 0x123456;
  WriteEnumeration(store, u"V\\Red", types::Color(), &red);
  WriteEnumeration(store, u"V\\Odd", types::Color(), &odd);
  EXPECT_EQ(RawText(u"V", u"Red"), u"clRed");
  EXPECT_EQ(RawType(u"V", u"Odd"), kRegDword);
  Integer color = 0;
  ReadEnumeration(store, u"V\\Red", types::Color(), &odd, &color);
  EXPECT_EQ(color, red);
  ReadEnumeration(store, u"V\\Odd", types::Color(), &red, &color);
  EXPECT_EQ(color, odd);
  EXPECT_FALSE(store.StorageOptions()->DefaultIfReadConvertError()) << "switched on for the read only";

  const double number = 1;
  EXPECT_EQ(MessageOf([&] { WriteEnumeration(store, u"V\\X", types::Double(), &number); }), u"Invalid type");
  EXPECT_EQ(MessageOf([&] { ReadEnumeration(store, u"V\\X", AbcSet(), &number, &color); }), u"Invalid type");
}

OBJECTS_TEST(SetsAsFoldersOfBooleansOrAsText) {
  TObjectStore t(Registry(), Base());
  TSvCustomAppStorage& store = t.Store;
  const Byte ac = 0b101;
  WriteSet(store, u"Sets\\Abc", AbcSet(), &ac);
  EXPECT_EQ(RawText(u"Sets\\Abc", u"a"), u"TRUE");
  EXPECT_EQ(RawText(u"Sets\\Abc", u"b"), u"FALSE");
  EXPECT_EQ(RawText(u"Sets\\Abc", u"c"), u"TRUE");
  Byte back = 0;
  const Byte none = 0;
  ReadSet(store, u"Sets\\Abc", AbcSet(), &none, &back);
  EXPECT_EQ(back, ac);

  store.StorageOptions()->SetSetAsString(true);
  WriteSet(store, u"Text\\Abc", AbcSet(), &ac);
  EXPECT_EQ(RawType(u"Text", u"Abc"), kRegSz);
  EXPECT_EQ(RawText(u"Text", u"Abc"), u"[a, c]");
  store.StorageOptions()->SetSetAsString(false);
  back = 0;
  ReadSet(store, u"Text\\Abc", AbcSet(), &none, &back);
  EXPECT_EQ(back, ac) << "the text form reads whatever the option says";
  ReadSet(store, u"Text\\Missing", AbcSet(), &ac, &back);
  EXPECT_EQ(back, ac) << "a missing set reads as the default";

  // A folder wins over a text value of the same name.
  const Byte onlyB = 0b010;
  store.WriteString(u"Sets\\Abc", u"[b]");
  ReadSet(store, u"Sets\\Abc", AbcSet(), &none, &back);
  EXPECT_EQ(back, ac);
  ReadSet(store, u"Sets", AbcSet(), &onlyB, &back);
  EXPECT_EQ(back, 0) << "a folder without member values holds none";

  store.WriteString(u"Text\\Abc", u"[a, zz]");
  EXPECT_EQ(MessageOf([&] { ReadSet(store, u"Text\\Abc", AbcSet(), &none, &back); }), u"Unknown identifier 'zz'.");
}

OBJECTS_TEST(SetsOfCharactersAndIntegersNameTheirMembers) {
  TObjectStore t(Registry(), Base());
  TSvCustomAppStorage& store = t.Store;
  Byte chars[32] = {};
  chars['A' / 8] |= 1 << ('A' % 8);
  chars[10 / 8] |= 1 << (10 % 8);
  WriteSet(store, u"Chars", CharSet(), chars);
  EXPECT_EQ(RawText(u"Chars", u"Char_A"), u"TRUE");
  EXPECT_EQ(RawText(u"Chars", u"Char#10"), u"TRUE");
  EXPECT_EQ(RawText(u"Chars", u"Char_#"), u"FALSE");
  EXPECT_EQ(RawText(u"Chars", u"Char#0"), u"FALSE");
  EXPECT_EQ(RawText(u"Chars", u"Char#255"), u"FALSE");
  EXPECT_EQ(RawText(u"Chars", u"Char_B"), u"FALSE");
  // Mended: "Char_a" named the same registry value as "Char_A", so the
  // lower-case letter written after it overwrote the member.
  EXPECT_EQ(RawText(u"Chars", u"Char#97"), u"FALSE");
  Byte back[32];
  std::fill(std::begin(back), std::end(back), Byte{0xFF});
  const Byte none[32] = {};
  ReadSet(store, u"Chars", CharSet(), none, back);
  EXPECT_TRUE(std::equal(std::begin(chars), std::end(chars), std::begin(back)));

  const Byte nibbles[2] = {0b1010, 0b1000'0000};  // 1, 3 and 15
  WriteSet(store, u"Nibbles", probe_types::Nibbles(), nibbles);
  EXPECT_EQ(RawText(u"Nibbles", u"Int_1"), u"TRUE");
  EXPECT_EQ(RawText(u"Nibbles", u"Int_2"), u"FALSE");
  EXPECT_EQ(RawText(u"Nibbles", u"Int_15"), u"TRUE");
  Byte nibblesBack[2] = {};
  ReadSet(store, u"Nibbles", probe_types::Nibbles(), none, nibblesBack);
  EXPECT_EQ(nibblesBack[0], nibbles[0]);
  EXPECT_EQ(nibblesBack[1], nibbles[1]);

  EXPECT_EQ(GetCharName(u'#'), u"Char_#");
  EXPECT_EQ(GetCharName(u' '), u"Char#32");
  EXPECT_EQ(GetCharName(u'{'), u"Char#123");
  EXPECT_EQ(GetCharName(u'z'), u"Char#122");
  EXPECT_EQ(GetCharName(u'Z'), u"Char_Z");
  EXPECT_EQ(GetIntName(-4), u"Int_-4");

  static const TOrdinalTypeInfo wide(tkWChar, u"TWideSmall", u"Probe", otUWord, 0, 15);
  static const TSetTypeInfo wideSet(u"TWideSet", u"Probe", wide);
  EXPECT_EQ(MessageOf([&] { WriteSet(store, u"Wide", wideSet, none); }), u"Unknown base type for given set");
  store.WriteBoolean(u"Wide\\Char#1", true);
  EXPECT_EQ(MessageOf([&] { ReadSet(store, u"Wide", wideSet, none, back); }), u"Unknown base type for given set");
}

OBJECTS_TEST(DefaultsAreSkippedOnlyWhenAsked) {
  TObjectStore t(Registry(), Base());
  TSvCustomAppStorage& store = t.Store;
  TGadget gadget(nullptr);
  store.StorageOptions()->SetStoreDefaultValues(false);
  WriteProperty(store, u"G\\Size", &gadget, u"Size", true, nullptr);
  WriteProperty(store, u"G\\Caption", &gadget, u"Caption", true, nullptr);
  WriteProperty(store, u"G\\Big", &gadget, u"Big", true, nullptr);
  EXPECT_FALSE(KeyExists(u"G"));
  gadget.Size = 5;
  gadget.Caption = u"x";
  WriteProperty(store, u"G\\Size", &gadget, u"Size", true, nullptr);
  WriteProperty(store, u"G\\Caption", &gadget, u"Caption", true, nullptr);
  EXPECT_EQ(RawType(u"G", u"Size"), kRegDword);
  EXPECT_EQ(RawText(u"G", u"Caption"), u"x");

  store.StorageOptions()->SetStoreDefaultValues(true);
  gadget.Size = 0;
  WriteProperty(store, u"G\\Size", &gadget, u"Size", true, nullptr);
  gadget.Size = 9;
  ReadProperty(store, u"G\\Size", &gadget, u"Size", true, true, nullptr);
  EXPECT_EQ(gadget.Size, 0);
  EXPECT_EQ(MessageOf([&] { WriteProperty(store, u"G\\X", &gadget, u"Nothing", true, nullptr); }),
            u"Property Nothing does not exist");
}

OBJECTS_TEST(WholeObjectsRoundTripInTheStoresLayout) {
  TObjectStore t(Registry(), Base());
  TSvCustomAppStorage& store = t.Store;
  TTestMemo memo(nullptr);
  memo.Left = 12;
  memo.Caption = u"Notes";
  memo.Align = talClient;
  memo.Anchors = TTestAnchors{takLeft, takBottom};
  memo.Color = 0x0000FF;
  memo.Visible = false;
  memo.Ratio = 0.25;
  memo.Big = 1234567890123;
  memo.Accelerator = u'N';
  memo.Font->Name = u"Courier";
  memo.Font->Style = TFontStyles{fsBold};
  memo.Lines->Add(u"first");
  memo.Lines->Add(u"second");
  static_cast<TTestItem*>(memo.Columns->Add())->Caption = u"One";
  static_cast<TTestItem*>(memo.Columns->Add())->Caption = u"Two";
  WritePersistent(store, u"Memo", &memo, true, nullptr);

  EXPECT_EQ(RawText(u"Memo", u"Align"), u"alClient");
  EXPECT_EQ(RawText(u"Memo", u"Color"), u"clRed");
  EXPECT_EQ(RawText(u"Memo", u"Visible"), u"FALSE");
  EXPECT_EQ(RawText(u"Memo", u"Big"), u"1234567890123");
  EXPECT_EQ(RawText(u"Memo\\Anchors", u"akLeft"), u"TRUE");
  EXPECT_EQ(RawText(u"Memo\\Anchors", u"akTop"), u"FALSE");
  EXPECT_EQ(RawText(u"Memo\\Font", u"Name"), u"Courier");
  EXPECT_EQ(RawText(u"Memo\\Font", u"Color"), u"clWindowText");
  EXPECT_EQ(RawText(u"Memo\\Font\\Style", u"fsBold"), u"TRUE");
  EXPECT_EQ(RawType(u"Memo\\Lines", u"Count"), kRegDword);
  EXPECT_EQ(RawText(u"Memo\\Lines", u"Item1"), u"second");
  EXPECT_EQ(RawText(u"Memo\\Columns\\Item1", u"Caption"), u"Two");
  EXPECT_EQ(RawType(u"Memo", u"OnClick"), 99u) << "events are not stored";

  TTestMemo copy(nullptr);
  copy.Lines->Add(u"old");
  ReadPersistent(store, u"Memo", &copy, true, true, nullptr);
  EXPECT_EQ(copy.Left, 12);
  EXPECT_EQ(copy.Caption, u"Notes");
  EXPECT_EQ(copy.Align, talClient);
  EXPECT_EQ(copy.Anchors, (TTestAnchors{takLeft, takBottom}));
  EXPECT_EQ(copy.Color, 0x0000FF);
  EXPECT_FALSE(copy.Visible);
  EXPECT_EQ(copy.Ratio, 0.25);
  EXPECT_EQ(copy.Big, 1234567890123);
  EXPECT_EQ(copy.Accelerator, u'N');
  EXPECT_EQ(copy.Font->Name, u"Courier");
  EXPECT_EQ(copy.Font->Style, TFontStyles{fsBold});
  EXPECT_EQ(copy.Lines->Text(), u"first\r\nsecond\r\n");
  ASSERT_EQ(copy.Columns->Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(copy.Columns->Items(1))->Caption, u"Two");
}

OBJECTS_TEST(NamesAreTranslatedIgnoredAndObjectsFollowedOnce) {
  TObjectStore t(Registry(), Base());
  TSvCustomAppStorage& store = t.Store;
  store.OnTranslatePropertyName = [](TSvCustomAppStorage*, TPersistent*, String& name, bool) {
    if (name == u"Caption") name = u"Title";
  };
  TStringList ignore;
  ignore.Add(u"size");
  TGadget a(nullptr);
  TGadget b(nullptr);
  a.Caption = u"A";
  a.Size = 3;
  b.Caption = u"B";
  a.Buddy = &b;
  b.Buddy = &a;
  WritePersistent(store, u"A", &a, true, &ignore);
  EXPECT_EQ(RawText(u"A", u"Title"), u"A");
  EXPECT_EQ(RawType(u"A", u"Caption"), 99u);
  EXPECT_EQ(RawType(u"A", u"Size"), 99u);
  EXPECT_EQ(RawText(u"A\\Buddy", u"Title"), u"B");
  EXPECT_FALSE(KeyExists(u"A\\Buddy\\Buddy")) << "a is not written again below b";

  b.Caption = u"changed";
  ReadPersistent(store, u"A", &a, true, true, &ignore);
  EXPECT_EQ(b.Caption, u"B");

  TGadget lone(nullptr);
  WritePersistent(store, u"Flat", &lone, false, nullptr);
  EXPECT_FALSE(KeyExists(u"Flat\\Font")) << "without recursion only string lists are followed";
}

OBJECTS_TEST(StringListsShrinkAndReadSingleTexts) {
  TObjectStore t(Registry(), Base());
  TSvCustomAppStorage& store = t.Store;
  TStringList five;
  for (const char16_t* line : {u"1", u"2", u"3", u"4", u"5"}) five.Add(line);
  WriteStringList(store, u"L", five);
  TStringList three;
  for (const char16_t* line : {u"a", u"b", u"c"}) three.Add(line);
  WriteStringList(store, u"L", three);
  EXPECT_EQ(store.ReadInteger(u"L\\Count"), 3);
  EXPECT_EQ(RawType(u"L", u"Item3"), 99u);
  EXPECT_EQ(RawType(u"L", u"Item4"), 99u);
  TStringList back;
  back.Add(u"stale");
  EXPECT_EQ(ReadStringList(store, u"L", back), 3);
  EXPECT_EQ(back.Text(), u"a\r\nb\r\nc\r\n");

  store.WriteString(u"Single", u"one\r\ntwo");
  EXPECT_EQ(ReadStringList(store, u"Single", back), 2);
  EXPECT_EQ(back.Strings(1), u"two");

  store.StorageOptions()->SetStoreStringListAsSingleString(true);
  WriteStringList(store, u"L", three);
  EXPECT_FALSE(KeyExists(u"L")) << "the list went first";
  EXPECT_EQ(RawText(u"", u"L"), u"a\r\nb\r\nc\r\n");
  store.StorageOptions()->SetStoreStringListAsSingleString(false);

  store.StorageOptions()->SetUseOldItemNameFormat(false);
  WriteStringList(store, u"New", three);
  EXPECT_EQ(RawText(u"New", u"Item[2]"), u"c");
  WriteWideStringList(store, u"Wide", three);
  EXPECT_EQ(RawText(u"Wide", u"Item2"), u"c") << "wide lists always name items directly";
  TStringList wide;
  EXPECT_EQ(ReadWideStringList(store, u"Wide", wide), 3);
  EXPECT_EQ(ReadWideStringList(store, u"NoWide", wide), 3) << "no list: untouched";

  store.WriteInteger(u"Huge\\Count", 1 << 30);
  EXPECT_EQ(MessageOf([&] { ReadStringList(store, u"Huge", back); }), u"List at 'Huge' has more than 1048576 items");
}

OBJECTS_TEST(CollectionsAndObjectLists) {
  TObjectStore t(Registry(), Base());
  TSvCustomAppStorage& store = t.Store;
  TOwnedCollection columns(nullptr, TTestItem::StaticClass());
  for (const char16_t* caption : {u"A", u"B", u"C"}) static_cast<TTestItem*>(columns.Add())->Caption = caption;
  WriteCollection(store, u"Cols", columns);
  columns.Delete(2);
  WriteCollection(store, u"Cols", columns);
  EXPECT_EQ(store.ReadInteger(u"Cols\\Count"), 2);
  EXPECT_TRUE(KeyExists(u"Cols\\Item2")) << "surplus item folders stay, out of the count";
  TOwnedCollection read(nullptr, TTestItem::StaticClass());
  EXPECT_EQ(ReadCollection(store, u"Cols", read), 2);
  EXPECT_EQ(static_cast<TTestItem*>(read.Items(1))->Caption, u"B");
  EXPECT_EQ(ReadCollection(store, u"NoCols", read), 2);

  TGadgetFont first;
  TGadgetFont third;
  first.Name = u"One";
  third.Name = u"Three";
  TList objects;
  objects.Add(&first);
  objects.Add(nullptr);
  objects.Add(&third);
  WriteObjectList(store, u"Objects", objects);
  EXPECT_EQ(store.ReadInteger(u"Objects\\Count"), 3);
  EXPECT_EQ(RawText(u"Objects\\Item2", u"Name"), u"Three");
  EXPECT_FALSE(KeyExists(u"Objects\\Item1"));

  // The class-name factory reads the "Classname" the caller wrote.
  store.WriteString(u"Objects\\Item0\\Classname", u"TGadgetFont");
  store.WriteString(u"Objects\\Item2\\Classname", u"TUnknownClass");
  TClassRegistry classes;
  classes.RegisterClass(TGadgetFont::StaticClass());
  TList made;
  EXPECT_EQ(ReadObjectList(store, u"Objects", made, classes), 3);
  std::unique_ptr<TObject> firstMade(static_cast<TPersistent*>(made.Get(0)));
  ASSERT_NE(dynamic_cast<TGadgetFont*>(firstMade.get()), nullptr);
  EXPECT_EQ(static_cast<TGadgetFont*>(firstMade.get())->Name, u"One");
  EXPECT_EQ(made.Get(1), nullptr);
  EXPECT_EQ(made.Get(2), nullptr);

  std::vector<std::unique_ptr<TGadgetFont>> owned;
  std::vector<String> paths;
  TSvAppStorageObjectListItemCreateEvent creator = [&](TSvCustomAppStorage*, const String& path, Integer) {
    paths.push_back(path);
    owned.push_back(std::make_unique<TGadgetFont>());
    return owned.back().get();
  };
  TList viaCreator;
  EXPECT_EQ(ReadObjectList(store, u"Objects", viaCreator, creator), 3);
  EXPECT_EQ(paths, (std::vector<String>{u"Objects\\Item0", u"Objects\\Item1", u"Objects\\Item2"}));
  EXPECT_EQ(owned[2]->Name, u"Three");
  EXPECT_FALSE(store.CurrentInstanceCreateEvent) << "the factory is put back";
}

OBJECTS_TEST(LinesWithObjects) {
  TObjectStore t(Registry(), Base());
  TSvCustomAppStorage& store = t.Store;
  TGadgetFont font;
  font.Name = u"Arial";
  TStringList lines;
  lines.AddObject(u"with", &font);
  lines.AddObject(u"without", nullptr);
  WriteStringObjectList(store, u"Pairs", lines);
  EXPECT_EQ(RawText(u"Pairs\\Item0", u"Itemname"), u"with");
  EXPECT_EQ(RawText(u"Pairs\\Item0\\Object", u"Name"), u"Arial");
  EXPECT_EQ(RawText(u"Pairs\\Item1", u"Itemname"), u"without");
  EXPECT_FALSE(KeyExists(u"Pairs\\Item1\\Object"));

  std::vector<std::unique_ptr<TGadgetFont>> owned;
  TSvAppStorageObjectListItemCreateEvent creator = [&](TSvCustomAppStorage*, const String& path, Integer) {
    EXPECT_TRUE(EndsStr(u"\\Object", path)) << StringToUTF8(path);
    owned.push_back(std::make_unique<TGadgetFont>());
    return owned.back().get();
  };
  TStringList back;
  EXPECT_EQ(ReadStringObjectList(store, u"Pairs", back, creator), 2);
  EXPECT_EQ(back.Strings(1), u"without");
  EXPECT_EQ(back.Objects(0), owned[0].get());
  EXPECT_EQ(owned[0]->Name, u"Arial");
  EXPECT_EQ(owned[1]->Name, u"Tahoma") << "nothing stored: the new object keeps its values";
}

class TNameEngine : public TSvAppStoragePropertyBaseEngine {
 public:
  static inline int Writes = 0;
  bool Supports(TObject*, TObject* aProperty) override { return dynamic_cast<TGadgetFont*>(aProperty) != nullptr; }
  void WriteProperty(TSvCustomAppStorage& storage, const String& path, TObject*, TObject* aProperty, bool,
                     const TStrings*) override {
    ++Writes;
    storage.WriteString(path, u"font:" + static_cast<TGadgetFont*>(aProperty)->Name);
  }
};

class TAwareFont : public TGadgetFont, public IStorageAware {
 public:
  void ReadFromAppStorage(TSvCustomAppStorage& store, const String& path) override {
    Extra = store.ReadString(TSvCustomAppStorage::ConcatPaths({path, u"Extra"}));
  }
  void WriteToAppStorage(TSvCustomAppStorage& store, const String& path) override {
    store.WriteString(TSvCustomAppStorage::ConcatPaths({path, u"Extra"}), Extra);
  }
  String Extra;
};

class TAwareFontWithProps : public TAwareFont, public IStoragePublishedProps {};

OBJECTS_TEST(EnginesAndObjectsThatStoreThemselves) {
  TObjectStore t(Registry(), Base());
  TSvCustomAppStorage& store = t.Store;
  TSvAppStoragePropertyEngineList* engines = PropertyEngineList();
  ASSERT_NE(engines, nullptr);
  engines->RegisterEngine<TNameEngine>();
  TGadget gadget(nullptr);
  TNameEngine::Writes = 0;
  WritePersistent(store, u"G", &gadget, true, nullptr);
  engines->UnregisterEngine<TNameEngine>();
  EXPECT_EQ(engines->Count(), 0);
  EXPECT_EQ(TNameEngine::Writes, 1);
  EXPECT_EQ(RawText(u"G", u"Font"), u"font:Tahoma");
  EXPECT_FALSE(KeyExists(u"G\\Font"));

  TAwareFont aware;
  aware.Extra = u"own";
  WritePersistent(store, u"Aware", &aware, true, nullptr);
  EXPECT_EQ(RawText(u"Aware", u"Extra"), u"own");
  EXPECT_EQ(RawType(u"Aware", u"Name"), 99u) << "its published properties are its own business";
  TAwareFontWithProps both;
  both.Extra = u"mine";
  WritePersistent(store, u"Both", &both, true, nullptr);
  EXPECT_EQ(RawText(u"Both", u"Extra"), u"mine");
  EXPECT_EQ(RawText(u"Both", u"Name"), u"Tahoma");
  TAwareFont readBack;
  ReadPersistent(store, u"Both", &readBack, true, true, nullptr);
  EXPECT_EQ(readBack.Extra, u"mine");
}

OBJECTS_TEST(SubStoragesTakeTheirPaths) {
  TObjectStore main(Registry(), Key(u"Main"));
  TObjectStore sub(Registry(), Key(u"Sub"));
  main.Store.SubStorages()->Add(u"Plugins", &sub.Store);
  const Byte ac = 0b101;
  WriteSet(main.Store, u"Plugins\\Set", AbcSet(), &ac);
  const Byte maximized = 2;
  WriteEnumeration(main.Store, u"Plugins\\State", FormState(), &maximized);
  EXPECT_EQ(RawText(u"Sub\\Set", u"c"), u"TRUE");
  EXPECT_EQ(RawText(u"Sub", u"State"), u"wsMaximized");
  sub.Store.SetReadOnly(true);
  const Byte onlyA = 0b001;
  WriteSet(main.Store, u"Plugins\\Set", AbcSet(), &onlyA);
  EXPECT_EQ(RawText(u"Sub\\Set", u"c"), u"TRUE") << "a read-only target is not written";
}

OBJECTS_TEST(ResolvedPathsGetPathOnce) {
  TObjectStore t(Registry(), Base());
  TSvCustomAppStorage& store = t.Store;
  store.SetPath(u"cur");
  const Byte ac = 0b101;
  WriteSet(store, u"S", AbcSet(), &ac);
  EXPECT_EQ(RawText(u"cur\\S", u"c"), u"TRUE");
  EXPECT_FALSE(KeyExists(u"cur\\cur"));
  Byte back = 0;
  const Byte none = 0;
  ReadSet(store, u"S", AbcSet(), &none, &back);
  EXPECT_EQ(back, ac);

  TGadgetFont font;
  font.Name = u"Arial";
  TStringList lines;
  lines.AddObject(u"with", &font);
  WriteStringObjectList(store, u"Pairs", lines);
  EXPECT_EQ(RawText(u"cur\\Pairs\\Item0", u"Itemname"), u"with");
  std::vector<std::unique_ptr<TGadgetFont>> owned;
  TSvAppStorageObjectListItemCreateEvent creator = [&](TSvCustomAppStorage*, const String&, Integer) {
    owned.push_back(std::make_unique<TGadgetFont>());
    return owned.back().get();
  };
  TStringList pairsBack;
  EXPECT_EQ(ReadStringObjectList(store, u"Pairs", pairsBack, creator), 1);
  ASSERT_EQ(owned.size(), 1u);
  EXPECT_EQ(owned[0]->Name, u"Arial");

  TStringList names;
  names.Add(u"one");
  names.Add(u"two");
  WriteStringList(store, u"\\Absolute", names);
  EXPECT_TRUE(KeyExists(u"Absolute"));
  TStringList namesBack;
  EXPECT_EQ(ReadStringList(store, u"\\Absolute", namesBack), 2);
  EXPECT_EQ(namesBack.Text(), names.Text());
  EXPECT_FALSE(KeyExists(u"cur\\Absolute"));
}

OBJECTS_TEST(SubStorageOwnPathIsNotApplied) {
  TObjectStore main(Registry(), Key(u"Main"));
  TObjectStore sub(Registry(), Key(u"Sub"));
  sub.Store.SetPath(u"own");
  main.Store.SubStorages()->Add(u"Plugins", &sub.Store);
  const Byte ac = 0b101;
  WriteSet(main.Store, u"Plugins\\Set", AbcSet(), &ac);
  EXPECT_EQ(RawText(u"Sub\\Set", u"c"), u"TRUE");
  TStringList names;
  names.Add(u"one");
  WriteStringObjectList(main.Store, u"Plugins\\Lines", names);
  EXPECT_EQ(RawText(u"Sub\\Lines\\Item0", u"Itemname"), u"one");
  EXPECT_FALSE(KeyExists(u"Sub\\own"));
}

OBJECTS_TEST(ResolutionDoesNotRecurse) {
  TObjectStore main(Registry(), Key(u"Main"));
  TObjectStore sub(Registry(), Key(u"Sub"));
  TObjectStore deeper(Registry(), Key(u"Deeper"));
  main.Store.SubStorages()->Add(u"A", &sub.Store);
  sub.Store.SubStorages()->Add(u"B", &deeper.Store);
  const Byte maximized = 2;
  WriteEnumeration(main.Store, u"A\\B\\State", FormState(), &maximized);
  const Byte yes = 1;
  WriteEnumeration(main.Store, u"A\\B\\Flag", types::Boolean(), &yes);
  main.Store.WriteString(u"A\\B\\Text", u"t");
  EXPECT_EQ(RawText(u"Sub\\B", u"Text"), u"t");
  EXPECT_EQ(RawText(u"Sub\\B", u"State"), u"wsMaximized") << "beside the string";
  EXPECT_EQ(RawText(u"Sub\\B", u"Flag"), u"TRUE");
  EXPECT_FALSE(KeyExists(u"Deeper"));
  EXPECT_EQ(ReadState(main.Store, u"A\\B\\State", 0), 2);
  Byte flag = 0;
  const Byte no = 0;
  ReadEnumeration(main.Store, u"A\\B\\Flag", types::Boolean(), &no, &flag);
  EXPECT_EQ(flag, 1);
}

}  // namespace
