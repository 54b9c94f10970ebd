#include "app/filetypes.h"

#include <gtest/gtest.h>

#include "services/memoryregistry.h"
#include "services/registryaccess.h"

namespace {

class FileTypes : public ::testing::Test {
 protected:
  TMemoryRegistry registry;
  TFileTypeKey where{registry};
  String Value(const String& key) { return ReadRegistryStringDef(registry, kHKeyCurrentUser, key, u"", u"<none>"); }
};

TEST_F(FileTypes, RegisterWritesTheTypeItsIconAndItsOpenCommand) {
  const String program = u"C:\\Tools\\kestrum.exe";
  RegisterFileType(where, u"DFM", u"", u"Delphi Form", program, program + u",1");
  EXPECT_EQ(Value(u"Software\\Classes\\.dfm"), u"DFM_auto_file");
  EXPECT_EQ(Value(u"Software\\Classes\\DFM_auto_file"), u"Delphi Form");
  EXPECT_EQ(Value(u"Software\\Classes\\DFM_auto_file\\DefaultIcon"), u"C:\\Tools\\kestrum.exe,1");
  EXPECT_EQ(Value(u"Software\\Classes\\DFM_auto_file\\shell\\open\\command"), u"\"C:\\Tools\\kestrum.exe\" \"%1\"");
  EXPECT_EQ(GetFileTypeCommand(where, u".dfm"), program);

  UnregisterFileType(where, u"DFM");
  EXPECT_FALSE(RegistryKeyExists(registry, kHKeyCurrentUser, u"Software\\Classes\\.DFM"));
  EXPECT_FALSE(RegistryKeyExists(registry, kHKeyCurrentUser, u"Software\\Classes\\DFM_auto_file"));
  EXPECT_EQ(GetFileTypeCommand(where, u"DFM"), u"");
  UnregisterFileType(where, u"DFM");  // nothing left: nothing happens
}

TEST_F(FileTypes, AnotherProgramsAssociationIsReplaced) {
  RegisterFileType(where, u"fmx", u"", u"FireMonkey Form", u"C:\\Other\\ide.exe", u"");
  EXPECT_FALSE(RegistryKeyExists(registry, kHKeyCurrentUser, u"Software\\Classes\\FMX_auto_file\\DefaultIcon"));
  EXPECT_EQ(GetFileTypeCommand(where, u"FMX"), u"C:\\Other\\ide.exe");
  RegisterFileType(where, u"FMX", u"", u"FireMonkey Form", u"C:\\Tools\\kestrum.exe", u"");
  EXPECT_EQ(GetFileTypeCommand(where, u"FMX"), u"C:\\Tools\\kestrum.exe");
}

TEST_F(FileTypes, CommandsAsOtherProgramsWriteThem) {
  struct Case {
    const char16_t* Command;
    const char16_t* Program;
  } cases[] = {
      {u"\"C:\\Program Files\\x.exe\" \"%1\"", u"C:\\Program Files\\x.exe"},
      {u"C:\\x.exe \"%1\"", u"C:\\x.exe"},
      {u"C:\\x.exe %1", u""},
      {u"\"C:\\unclosed.exe", u"C:\\unclosed.exe"},
  };
  for (const Case& c : cases) {
    WriteRegistryString(registry, kHKeyCurrentUser, u"Software\\Classes\\.abc", u"", u"abcfile");
    WriteRegistryString(registry, kHKeyCurrentUser, u"Software\\Classes\\abcfile\\shell\\open\\command", u"",
                        c.Command);
    EXPECT_EQ(GetFileTypeCommand(where, u"abc"), c.Program);
  }
  RegisterFileType(where, u"", u"", u"", u"C:\\x.exe", u"");
  RegisterFileType(where, u"xyz", u"", u"", u"", u"");
  EXPECT_FALSE(RegistryKeyExists(registry, kHKeyCurrentUser, u"Software\\Classes\\.xyz"));
}

}  // namespace
