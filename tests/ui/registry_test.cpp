// The registry class over the real registry, under a key of its own that the
// tests remove afterwards.
// The door to the system headers first: it takes back the names they rename.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include "ui/registry.h"

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kestrum tests"); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kestrum tests"); }
};

String MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ERegistryException& e) {
    return e.Message();
  }
  return u"(nothing raised)";
}

TEST_F(RegistryTest, ValuesAreWrittenAndReadBackByType) {
  TRegistry reg;
  EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
  ASSERT_TRUE(reg.OpenKey(u"\\Software\\Kestrum tests\\Values\\", true));
  EXPECT_EQ(reg.CurrentPath(), u"Software\\Kestrum tests\\Values");
  const Byte blob[] = {0, 0xFE, 3, 0};
  reg.WriteString(u"Name", u"Gr\u00FC\u00DFe");
  reg.WriteString(u"", u"default value");
  reg.WriteExpandString(u"Path", u"%TEMP%\\x");
  reg.WriteInteger(u"Count", -5);
  reg.WriteBool(u"Flag", true);
  reg.WriteBinaryData(u"Blob", blob, sizeof blob);

  EXPECT_EQ(reg.ReadString(u"Name"), u"Gr\u00FC\u00DFe");
  EXPECT_EQ(reg.ReadString(u""), u"default value");
  EXPECT_EQ(reg.ReadString(u"Path"), u"%TEMP%\\x");
  EXPECT_EQ(reg.ReadInteger(u"Count"), -5);
  EXPECT_TRUE(reg.ReadBool(u"Flag"));
  EXPECT_EQ(reg.ReadBinaryData(u"Blob"), std::vector<Byte>(blob, blob + sizeof blob));
  Byte small[2];
  EXPECT_THROW(reg.ReadBinaryData(u"Blob", small, sizeof small), ERegistryException);

  struct Case {
    const char16_t* name;
    TRegDataType type;
    Integer size;
  } cases[] = {
      {u"Name", rdString, 12}, {u"Path", rdExpandString, 18}, {u"Count", rdInteger, 4},
      {u"Flag", rdInteger, 4}, {u"Blob", rdBinary, 4},        {u"Missing", rdUnknown, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(reg.GetDataType(c.name), c.type) << &c - cases;
    EXPECT_EQ(reg.GetDataSize(c.name), c.size) << &c - cases;
  }
  EXPECT_EQ(reg.ReadString(u"Missing"), u"");
  EXPECT_FALSE(reg.ValueExists(u"Missing"));

  TStringList names;
  reg.GetValueNames(names);
  names.Sort();
  EXPECT_EQ(names.CommaText(), u",Blob,Count,Flag,Name,Path") << "the default value first";
  EXPECT_TRUE(reg.DeleteValue(u"Flag"));
  EXPECT_FALSE(reg.ValueExists(u"Flag"));
  EXPECT_FALSE(reg.DeleteValue(u"Flag"));
}

TEST_F(RegistryTest, AWrongTypeOrAMissingValueIsAnError) {
  TRegistry reg;
  EXPECT_EQ(MessageOf([&] { reg.WriteString(u"Loose", u"x"); }), u"Failed to set data for 'Loose'") << "no key open";
  ASSERT_TRUE(reg.OpenKey(u"\\Software\\Kestrum tests\\Types", true));
  reg.WriteString(u"Text", u"12");
  reg.WriteInteger(u"Number", 12);
  EXPECT_EQ(MessageOf([&] { reg.ReadInteger(u"Text"); }), u"Invalid data type for 'Text'");
  EXPECT_EQ(MessageOf([&] { reg.ReadBool(u"Text"); }), u"Invalid data type for 'Text'");
  EXPECT_EQ(MessageOf([&] { reg.ReadString(u"Number"); }), u"Invalid data type for 'Number'");
  EXPECT_EQ(MessageOf([&] { reg.ReadBinaryData(u"Number"); }), u"Invalid data type for 'Number'");
  EXPECT_EQ(MessageOf([&] { reg.ReadInteger(u"Missing"); }), u"Failed to get data for 'Missing'");

  TRegistry reader;
  ASSERT_TRUE(reader.OpenKeyReadOnly(u"\\Software\\Kestrum tests\\Types"));
  EXPECT_EQ(reader.ReadInteger(u"Number"), 12);
  EXPECT_EQ(MessageOf([&] { reader.WriteInteger(u"Number", 1); }), u"Failed to set data for 'Number'");
  EXPECT_FALSE(reader.OpenKeyReadOnly(u"\\Software\\Kestrum tests\\Nowhere"));
  EXPECT_EQ(reader.CurrentPath(), u"Software\\Kestrum tests\\Types") << "a failed open keeps the key";
}

TEST_F(RegistryTest, KeysAreOpenedRelativelyListedAndDeletedWithWhatIsBelow) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(u"\\Software\\Kestrum tests", true));
  ASSERT_TRUE(reg.OpenKey(u"Forms\\Main", true));
  EXPECT_EQ(reg.CurrentPath(), u"Software\\Kestrum tests\\Forms\\Main");
  reg.WriteInteger(u"Width", 640);
  EXPECT_TRUE(reg.CreateKey(u"Deeper"));
  EXPECT_TRUE(reg.HasSubKeys());
  ASSERT_TRUE(reg.OpenKey(u"\\Software\\Kestrum tests\\Forms", false));
  EXPECT_TRUE(reg.CreateKey(u"Editor"));
  TStringList keys;
  reg.GetKeyNames(keys);
  keys.Sort();
  EXPECT_EQ(keys.CommaText(), u"Editor,Main");
  EXPECT_FALSE(reg.OpenKey(u"Missing", false));
  EXPECT_FALSE(reg.KeyExists(u"Missing"));
  EXPECT_TRUE(reg.KeyExists(u"Main\\Deeper"));
  EXPECT_TRUE(reg.KeyExists(u"\\Software\\Kestrum tests\\Forms\\Main"));

  reg.CloseKey();
  EXPECT_EQ(reg.CurrentKey(), nullptr);
  EXPECT_TRUE(reg.DeleteKey(u"\\Software\\Kestrum tests\\Forms"));
  EXPECT_FALSE(reg.KeyExists(u"\\Software\\Kestrum tests\\Forms\\Main\\Deeper"));
  EXPECT_FALSE(reg.KeyExists(u"\\Software\\Kestrum tests\\Forms"));
  EXPECT_TRUE(reg.KeyExists(u"\\Software\\Kestrum tests"));
  EXPECT_FALSE(reg.DeleteKey(u"\\Software\\Kestrum tests\\Forms"));
  EXPECT_FALSE(reg.DeleteKey(u"")) << "never the whole root";
}

}  // namespace
