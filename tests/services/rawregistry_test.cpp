// The in-memory registry keeps the rules of the real one: the same tests run
// against both.
#include "services/rawregistry.h"

#include <gtest/gtest.h>

#include "services/registry_fixture.h"
#include "services/registryaccess.h"

namespace {

TEST_P(RegistryTest, RawNamesIgnoreCase) {
  TRegHandle key = 0;
  ASSERT_EQ(Registry().CreateKey(Root(), Key(u"Mixed\\Case"), kKeyAllAccess, key), kErrorSuccess);
  const Byte one[] = {1, 0, 0, 0};
  EXPECT_EQ(Registry().SetValue(key, u"Value", kRegDword, one, 4), kErrorSuccess);
  Registry().CloseKey(key);
  ASSERT_EQ(Registry().OpenKey(Root(), Key(u"MIXED\\case"), kKeyRead, key), kErrorSuccess);
  Cardinal type = 0, size = 0;
  EXPECT_EQ(Registry().QueryValue(key, u"VALUE", type, nullptr, size), kErrorSuccess);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(size, 4u);
  Registry().CloseKey(key);
}

TEST_P(RegistryTest, RawMissingKeysAndValues) {
  TRegHandle key = 0;
  EXPECT_EQ(Registry().OpenKey(Root(), Key(u"Missing"), kKeyRead, key), kErrorFileNotFound);
  ASSERT_EQ(Registry().CreateKey(Root(), Base(), kKeyAllAccess, key), kErrorSuccess);
  Cardinal type = 0, size = 0;
  EXPECT_EQ(Registry().QueryValue(key, u"Missing", type, nullptr, size), kErrorFileNotFound);
  EXPECT_EQ(Registry().DeleteValue(key, u"Missing"), kErrorFileNotFound);
  Registry().CloseKey(key);
}

TEST_P(RegistryTest, RawBuffersThatAreTooSmall) {
  TRegHandle key = 0;
  ASSERT_EQ(Registry().CreateKey(Root(), Base(), kKeyAllAccess, key), kErrorSuccess);
  const Byte data[] = {1, 2, 3, 4, 5, 6};
  ASSERT_EQ(Registry().SetValue(key, u"SixBytes", kRegBinary, data, 6), kErrorSuccess);
  Byte buffer[4];
  Cardinal type = 0, size = 4;
  EXPECT_EQ(Registry().QueryValue(key, u"SixBytes", type, buffer, size), kErrorMoreData);
  EXPECT_EQ(size, 6u);
  String name;
  // The capacity counts the terminating zero.
  EXPECT_EQ(Registry().EnumValue(key, 0, 9, name), kErrorSuccess);
  EXPECT_EQ(name, u"SixBytes");
  EXPECT_EQ(Registry().EnumValue(key, 0, 8, name), kErrorMoreData);
  EXPECT_EQ(Registry().EnumValue(key, 1, 100, name), kErrorNoMoreItems);
  TRegKeyInfo info;
  ASSERT_EQ(Registry().QueryInfoKey(key, info), kErrorSuccess);
  EXPECT_EQ(info.Values, 1u);
  EXPECT_EQ(info.MaxValueNameLength, 8u);
  EXPECT_EQ(info.MaxValueLength, 6u);
  Registry().CloseKey(key);
}

TEST_P(RegistryTest, RawKeysWithSubkeysStay) {
  TRegHandle key = 0;
  ASSERT_EQ(Registry().CreateKey(Root(), Key(u"a\\b"), kKeyAllAccess, key), kErrorSuccess);
  Registry().CloseKey(key);
  EXPECT_NE(Registry().DeleteKey(Root(), Key(u"a")), kErrorSuccess);
  EXPECT_TRUE(KeyExists(u"a\\b"));
  EXPECT_EQ(Registry().DeleteKey(Root(), Key(u"a\\b")), kErrorSuccess);
  EXPECT_EQ(Registry().DeleteKey(Root(), Key(u"a")), kErrorSuccess);
  EXPECT_FALSE(KeyExists(u"a"));
}

TEST_P(RegistryTest, RawSubkeysEnumerate) {
  for (const char16_t* name : {u"k\\Zeta", u"k\\alpha", u"k\\Mid"}) {
    TRegHandle key = 0;
    ASSERT_EQ(Registry().CreateKey(Root(), Key(name), kKeyAllAccess, key), kErrorSuccess);
    Registry().CloseKey(key);
  }
  TRegHandle key = 0;
  ASSERT_EQ(Registry().OpenKey(Root(), Key(u"k"), kKeyRead, key), kErrorSuccess);
  std::vector<String> names;
  String name;
  for (Cardinal i = 0; Registry().EnumKey(key, i, 256, name) == kErrorSuccess; ++i) names.push_back(name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<String>{u"Mid", u"Zeta", u"alpha"}));
  EXPECT_EQ(Registry().EnumKey(key, 0, 3, name), kErrorMoreData);
  Registry().CloseKey(key);
}

TEST_P(RegistryTest, RawReadAccessDoesNotWrite) {
  TRegHandle key = 0;
  ASSERT_EQ(Registry().CreateKey(Root(), Base(), kKeyAllAccess, key), kErrorSuccess);
  Registry().CloseKey(key);
  ASSERT_EQ(Registry().OpenKey(Root(), Base(), kKeyRead, key), kErrorSuccess);
  const Byte one[] = {1};
  EXPECT_EQ(Registry().SetValue(key, u"V", kRegBinary, one, 1), kErrorAccessDenied);
  Registry().CloseKey(key);
}

TEST_P(RegistryTest, RawDefaultValueHasAnEmptyName) {
  WriteRegistryString(Registry(), Root(), Base(), u"", u"default");
  EXPECT_EQ(ReadRegistryString(Registry(), Root(), Base(), u""), u"default");
}

}  // namespace
