#include "services/registryaccess.h"

#include <gtest/gtest.h>

#include "services/registry_fixture.h"

namespace {

template <typename F>
String MessageOf(F&& action) {
  try {
    action();
  } catch (const EUtRegistryError& e) {
    return e.Message();
  }
  return u"<no EUtRegistryError>";
}

// ---- Pure routines ------------------------------------------------------------

struct StripCase {
  const char* name;
  String key;
  String expected;
};

class StripRootKeyPrefixTest : public ::testing::TestWithParam<StripCase> {};

TEST_P(StripRootKeyPrefixTest, UnderCurrentUser) {
  EXPECT_EQ(StripRootKeyPrefix(kHKeyCurrentUser, GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, StripRootKeyPrefixTest,
                         ::testing::Values(StripCase{"Plain", u"Software\\X", u"Software\\X"},
                                           StripCase{"LeadingBackslash", u"\\Software\\X", u"Software\\X"},
                                           StripCase{"ShortName", u"HKCU\\Software\\X", u"Software\\X"},
                                           StripCase{"LongName", u"HKEY_CURRENT_USER\\Software", u"Software"},
                                           StripCase{"BackslashThenName", u"\\HKCU\\Software", u"Software"},
                                           StripCase{"NameWithoutBackslash", u"HKCU", u"HKCU"},
                                           StripCase{"LongerWord", u"HKCUX\\a", u"HKCUX\\a"},
                                           StripCase{"CaseCounts", u"hkcu\\a", u"hkcu\\a"}),
                         [](const auto& info) { return info.param.name; });

TEST(StripRootKeyPrefix, OtherRootRaisesWithWholePath) {
  EXPECT_EQ(MessageOf([] { StripRootKeyPrefix(kHKeyCurrentUser, u"HKLM\\Software\\X"); }),
            u"\"HKLM\\Software\\X\" does not match RootKey");
  EXPECT_EQ(MessageOf([] { StripRootKeyPrefix(kHKeyCurrentUser, u"\\HKEY_LOCAL_MACHINE\\S"); }),
            u"\"\\HKEY_LOCAL_MACHINE\\S\" does not match RootKey");
  EXPECT_EQ(StripRootKeyPrefix(kHKeyLocalMachine, u"HKLM\\Software"), u"Software");
}

TEST(RootKeyText, NamesAndHandles) {
  EXPECT_EQ(RootKeyText(kHKeyCurrentUser), u"HKEY_CURRENT_USER");
  EXPECT_EQ(RootKeyText(kHKeyDynData), u"HKEY_DYN_DATA");
  EXPECT_EQ(RootKeyText(0x1234ABCD), u"$1234ABCD");
}

TEST(RegKinds, SixteenBitSet) {
  constexpr TRegKinds kinds = RegKinds({kRegSz, kRegQword, 16, 40});
  EXPECT_TRUE(RegKindAllowed(kinds, kRegSz));
  EXPECT_TRUE(RegKindAllowed(kinds, kRegQword));
  EXPECT_FALSE(RegKindAllowed(kinds, kRegDword));
  EXPECT_FALSE(RegKindAllowed(0xFFFF, 16));
}

// ---- Against a registry ----------------------------------------------------

struct ValueCase {
  const char* name;
  Cardinal type;
  TBytes data;
};

struct IntegerCase {
  ValueCase value;
  Integer expected;  // with the default 77
};

const IntegerCase kIntegerCases[] = {
    {{"Dword", kRegDword, {42, 0, 0, 0}}, 42},
    {{"NegativeDword", kRegDword, {0xFE, 0xFF, 0xFF, 0xFF}}, -2},
    {{"QwordLowHalf", kRegQword, {5, 0, 0, 0, 1, 0, 0, 0}}, 5},
    {{"BinaryThreeBytes", kRegBinary, {1, 2, 3}}, 0x030201},
    {{"BinaryEightBytes", kRegBinary, {1, 0, 0, 0, 9, 9, 9, 9}}, 1},
    {{"BinaryNineBytes", kRegBinary, {1, 2, 3, 4, 5, 6, 7, 8, 9}}, 77},
    {{"BinaryEmpty", kRegBinary, {}}, 0},
    {{"Text", kRegSz, Utf16Bytes(u"42")}, 42},
    {{"HexText", kRegSz, Utf16Bytes(u"$1F")}, 31},
    {{"NegativeText", kRegExpandSz, Utf16Bytes(u"-7")}, -7},
    {{"Int64TextLowHalf", kRegSz, Utf16Bytes(u"4294967301")}, 5},
    {{"TextWithoutZero", kRegSz, Utf16Bytes(u"12", false)}, 12},
    {{"BadText", kRegSz, Utf16Bytes(u"x")}, 77},
    {{"EmptyText", kRegSz, Utf16Bytes(u"")}, 77},
    {{"MultiText", kRegMultiSz, Utf16Bytes(u"1")}, 77},
    {{"None", kRegNone, {1, 0, 0, 0}}, 77},
};

TEST_P(RegistryTest, AccessIntegerByValueKind) {
  for (const IntegerCase& c : kIntegerCases) {
    SetRaw(u"", u"V", c.value.type, c.value.data);
    EXPECT_EQ(ReadRegistryIntegerDef(Registry(), Root(), Base(), u"V", 77), c.expected) << c.value.name;
  }
  EXPECT_EQ(ReadRegistryIntegerDef(Registry(), Root(), Base(), u"Missing", 77), 77);
  EXPECT_EQ(ReadRegistryIntegerDef(Registry(), Root(), Key(u"NoKey"), u"V", 77), 77);
}

TEST_P(RegistryTest, AccessIntegerExRaisesOnlyWhenAsked) {
  SetRaw(u"", u"Text", kRegSz, Utf16Bytes(u"x"));
  Integer value = 5;
  EXPECT_FALSE(ReadRegistryIntegerEx(Registry(), Root(), Base(), u"Text", false, value));
  EXPECT_THROW(ReadRegistryIntegerEx(Registry(), Root(), Base(), u"Text", true, value), EConvertError);
  SetRaw(u"", u"Long", kRegBinary, TBytes(9, 1));
  EXPECT_FALSE(ReadRegistryIntegerEx(Registry(), Root(), Base(), u"Long", false, value));
  EXPECT_EQ(MessageOf([&] { ReadRegistryIntegerEx(Registry(), Root(), Base(), u"Long", true, value); }),
            u"\"HKEY_CURRENT_USER\\" + Base() + u"\\Long\" is of wrong kind or size");
}

TEST_P(RegistryTest, AccessBoolean) {
  SetRaw(u"", u"Zero", kRegDword, {0, 0, 0, 0});
  SetRaw(u"", u"Two", kRegDword, {2, 0, 0, 0});
  EXPECT_FALSE(ReadRegistryBooleanDef(Registry(), Root(), Base(), u"Zero", true));
  EXPECT_TRUE(ReadRegistryBooleanDef(Registry(), Root(), Base(), u"Two", false));
  EXPECT_TRUE(ReadRegistryBooleanDef(Registry(), Root(), Base(), u"Missing", true));
  WriteRegistryBoolean(Registry(), Root(), Base(), u"W", true);
  Cardinal type = 0;
  TBytes data;
  ASSERT_TRUE(GetRaw(u"", u"W", type, data));
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(data, (TBytes{1, 0, 0, 0}));
}

struct TextCase {
  ValueCase value;
  String expected;  // with the default "def"
};

const TextCase kTextCases[] = {
    {{"Text", kRegSz, Utf16Bytes(u"abc")}, u"abc"},
    {{"EmptyText", kRegSz, Utf16Bytes(u"")}, u""},
    // Values written by other tools may have no terminating zero.
    {{"TextWithoutZero", kRegSz, Utf16Bytes(u"abc", false)}, u"abc"},
    {{"OddByteCount", kRegSz, {u'a', 0, u'b', 0, u'c'}}, u"ab"},
    {{"NoBytes", kRegSz, {}}, u""},
    {{"ExpandNotExpanded", kRegExpandSz, Utf16Bytes(u"%PATH%\\x")}, u"%PATH%\\x"},
    {{"Binary", kRegBinary, Utf16Bytes(u"\u00E9t\u00E9")}, u"\u00E9t\u00E9"},
    {{"Dword", kRegDword, {1, 0, 0, 0}}, u"def"},
    {{"Multi", kRegMultiSz, Utf16Bytes(u"a")}, u"def"},
};

TEST_P(RegistryTest, AccessTextByValueKind) {
  for (const TextCase& c : kTextCases) {
    SetRaw(u"", u"V", c.value.type, c.value.data);
    EXPECT_EQ(ReadRegistryStringDef(Registry(), Root(), Base(), u"V", u"def"), c.expected) << c.value.name;
  }
  EXPECT_EQ(ReadRegistryStringDef(Registry(), Root(), Base(), u"Missing", u"def"), u"def");
}

TEST_P(RegistryTest, AccessErrorTexts) {
  SetRaw(u"", u"Dword", kRegDword, {1, 0, 0, 0});
  const String root = u"HKEY_CURRENT_USER\\";
  EXPECT_EQ(MessageOf([&] { ReadRegistryString(Registry(), Root(), Key(u"Missing"), u"V"); }),
            u"Unable to open key \"" + root + Key(u"Missing") + u"\" for read");
  EXPECT_EQ(MessageOf([&] { ReadRegistryString(Registry(), Root(), Base(), u"Nothing"); }),
            u"Unable to open key \"" + root + Base() + u"\" and access value \"Nothing\"");
  EXPECT_EQ(MessageOf([&] { ReadRegistryString(Registry(), Root(), Base(), u"Dword"); }),
            u"\"" + root + Base() + u"\\Dword\" is of wrong kind or size");
  EXPECT_EQ(MessageOf([&] { WriteRegistryIntegerEx(Registry(), Root(), Base(), u"M", 1, kRegMultiSz); }),
            u"\"" + root + Base() + u"\\M\" is of wrong kind or size");
  EXPECT_EQ(MessageOf([&] { WriteRegistryStringEx(Registry(), Root(), Base(), u"M", u"a", kRegDword); }),
            u"\"" + root + Base() + u"\\M\" is of wrong kind or size");
  EXPECT_EQ(MessageOf([&] { DeleteRegistryValue(Registry(), Root(), Base(), u"Nothing"); }),
            u"Unable to open key \"" + root + Base() + u"\" and access value \"Nothing\"");
  EXPECT_EQ(MessageOf([&] { DeleteRegistryValue(Registry(), Root(), Key(u"Missing"), u"V"); }),
            u"Unable to open key \"" + root + Key(u"Missing") + u"\" for write");
}

TEST_P(RegistryTest, AccessIntegerWritesByType) {
  struct Case {
    Integer value;
    Cardinal type;
    TBytes data;
  };
  const Case cases[] = {
      {-1, kRegQword, TBytes(8, 0xFF)}, {-1, kRegSz, Utf16Bytes(u"-1")},       {-1, kRegDword, TBytes(4, 0xFF)},
      {258, kRegBinary, {2, 1, 0, 0}},  {12, kRegExpandSz, Utf16Bytes(u"12")},
  };
  for (const Case& c : cases) {
    WriteRegistryIntegerEx(Registry(), Root(), Base(), u"V", c.value, c.type);
    Cardinal type = 0;
    TBytes data;
    ASSERT_TRUE(GetRaw(u"", u"V", type, data));
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(data, c.data) << c.value << " as " << c.type;
  }
  WriteRegistryCardinalEx(Registry(), Root(), Base(), u"C", 0xFFFFFFFF, kRegQword);
  Cardinal type = 0;
  TBytes data;
  ASSERT_TRUE(GetRaw(u"", u"C", type, data));
  EXPECT_EQ(data, (TBytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}));
  WriteRegistryCardinalEx(Registry(), Root(), Base(), u"C", 0xFFFFFFFF, kRegSz);
  EXPECT_EQ(ReadRegistryString(Registry(), Root(), Base(), u"C"), u"4294967295");
}

TEST_P(RegistryTest, AccessTextWritesWithTerminatingZero) {
  WriteRegistryString(Registry(), Root(), Base(), u"S", u"ab");
  Cardinal type = 0;
  TBytes data;
  ASSERT_TRUE(GetRaw(u"", u"S", type, data));
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(data, Utf16Bytes(u"ab"));
  WriteRegistryStringEx(Registry(), Root(), Base(), u"B", u"x", kRegBinary);
  ASSERT_TRUE(GetRaw(u"", u"B", type, data));
  EXPECT_EQ(type, kRegBinary);
  EXPECT_EQ(ReadRegistryString(Registry(), Root(), Base(), u"B"), u"x");
}

TEST_P(RegistryTest, AccessBinary) {
  const Byte bytes[] = {1, 2, 3, 4, 5};
  WriteRegistryBinary(Registry(), Root(), Base(), u"B", bytes, 5);
  Byte buffer[8] = {};
  EXPECT_EQ(ReadRegistryBinary(Registry(), Root(), Base(), u"B", buffer, 8), 5u);
  EXPECT_EQ(TBytes(buffer, buffer + 5), TBytes(bytes, bytes + 5));
  Cardinal size = 0;
  EXPECT_FALSE(ReadRegistryBinaryEx(Registry(), Root(), Base(), u"B", false, size, buffer, 4));
  EXPECT_THROW(ReadRegistryBinary(Registry(), Root(), Base(), u"B", buffer, 4), EUtRegistryError);
  // Any kind but REG_NONE.
  WriteRegistryString(Registry(), Root(), Base(), u"S", u"a");
  EXPECT_EQ(ReadRegistryBinary(Registry(), Root(), Base(), u"S", buffer, 8), 4u);
  SetRaw(u"", u"N", kRegNone, {1});
  EXPECT_FALSE(ReadRegistryBinaryEx(Registry(), Root(), Base(), u"N", false, size, buffer, 8));
}

TEST_P(RegistryTest, AccessValueType) {
  SetRaw(u"", u"Q", kRegQword, TBytes(8, 0));
  Cardinal type = 99;
  EXPECT_TRUE(RegistryValueType(Registry(), Root(), Base(), u"Q", type));
  EXPECT_EQ(type, kRegQword);
  EXPECT_FALSE(RegistryValueType(Registry(), Root(), Base(), u"Missing", type));
  EXPECT_EQ(type, kRegNone);
}

TEST_P(RegistryTest, AccessWritingCreatesEveryMissingKey) {
  EXPECT_FALSE(KeyExists(u"a"));
  WriteRegistryInteger(Registry(), Root(), Key(u"a\\b\\c"), u"V", 3);
  EXPECT_TRUE(KeyExists(u"a\\b"));
  EXPECT_EQ(ReadRegistryIntegerDef(Registry(), Root(), Key(u"a\\b\\c"), u"V", 0), 3);
}

TEST_P(RegistryTest, AccessRootNamesInKeyPaths) {
  WriteRegistryInteger(Registry(), Root(), u"HKCU\\" + Key(u"k"), u"V", 9);
  EXPECT_EQ(ReadRegistryIntegerDef(Registry(), Root(), Key(u"k"), u"V", 0), 9);
  EXPECT_EQ(ReadRegistryIntegerDef(Registry(), Root(), u"\\HKEY_CURRENT_USER\\" + Key(u"k"), u"V", 0), 9);
  EXPECT_THROW(WriteRegistryInteger(Registry(), Root(), u"HKLM\\" + Key(u"k"), u"V", 1), EUtRegistryError);
}

TEST_P(RegistryTest, AccessDeleteKeyTreeDeepestFirst) {
  WriteRegistryInteger(Registry(), Root(), Key(u"t\\a\\b\\c"), u"V", 1);
  WriteRegistryInteger(Registry(), Root(), Key(u"t\\a\\b2"), u"V", 1);
  WriteRegistryInteger(Registry(), Root(), Key(u"t"), u"V", 1);
  WriteRegistryInteger(Registry(), Root(), Key(u"sibling"), u"V", 1);
  EXPECT_TRUE(DeleteRegistryKeyTree(Registry(), Root(), Key(u"t")));
  EXPECT_FALSE(KeyExists(u"t"));
  EXPECT_TRUE(KeyExists(u"sibling"));
  EXPECT_THROW(DeleteRegistryKeyTree(Registry(), Root(), Key(u"t")), EUtRegistryError);
}

TEST_P(RegistryTest, AccessDeleteValue) {
  WriteRegistryInteger(Registry(), Root(), Base(), u"V", 1);
  EXPECT_TRUE(DeleteRegistryValue(Registry(), Root(), Base(), u"v"));
  Cardinal type = 0;
  EXPECT_FALSE(RegistryValueType(Registry(), Root(), Base(), u"V", type));
}

}  // namespace
