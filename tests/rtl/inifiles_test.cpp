#include "rtl/inifiles.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cerrno>
#include <filesystem>

#include "rtl/encoding.h"
#include "rtl/files.h"
#include "rtl/streams.h"
#include "rtl/stringlist.h"
#include "rtl/temp_folder.h"
#include "rtl/unicode.h"

namespace {

void WriteBytes(const String& fileName, const std::string& bytes) {
  TFileStream file(fileName, fmCreate);
  file.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}

std::string ReadBytes(const String& fileName) {
  TMemoryStream memory;
  memory.LoadFromFile(fileName);
  return std::string(reinterpret_cast<const char*>(memory.Memory()), static_cast<size_t>(memory.Size()));
}

std::vector<String> Lines(const TStrings& strings) {
  return strings.ToStringArray();
}

const char kSample[] =
    "; settings\r\n"
    "stray=before any section\r\n"
    "[Main]\r\n"
    "  Width = 10 \r\n"
    "garbage line\r\n"
    "width=20\r\n"
    "; comment\r\n"
    "Name=a=b\r\n"
    "\r\n"
    "[Empty]\r\n"
    "\r\n"
    "[Other] trailing text\r\n"
    "Key=\"quoted\"\r\n";

class IniFileTest : public ::testing::Test {
 protected:
  TempFolder folder;
  String name = folder.File(u"test.ini");
};

TEST_F(IniFileTest, ReadsSectionsAndKeysWithoutRegardToCase) {
  WriteBytes(name, kSample);
  TMemIniFile ini(name);
  EXPECT_EQ(ini.ReadString(u"MAIN", u"width", u"-"), u"10");  // trimmed, the first of duplicates
  EXPECT_EQ(ini.ReadString(u"Main", u"Name", u"-"), u"a=b");
  EXPECT_EQ(ini.ReadString(u"Main", u"garbage line", u"-"), u"-");
  EXPECT_EQ(ini.ReadString(u"Main", u"stray", u"-"), u"-");
  EXPECT_EQ(ini.ReadString(u"other", u"Key", u"-"), u"\"quoted\"");  // kept as written in memory
  EXPECT_EQ(ini.ReadString(u"Missing", u"Key", u"-"), u"-");

  TStringList strings;
  ini.ReadSections(strings);
  EXPECT_EQ(Lines(strings), (std::vector<String>{u"Main", u"Empty", u"Other"}));
  ini.ReadSection(u"main", strings);
  EXPECT_EQ(Lines(strings), (std::vector<String>{u"Width", u"width", u"Name"}));
  ini.ReadSectionValues(u"main", strings);
  EXPECT_EQ(Lines(strings), (std::vector<String>{u"Width=10", u"width=20", u"Name=a=b"}));
  EXPECT_TRUE(ini.SectionExists(u"main"));
  EXPECT_FALSE(ini.SectionExists(u"Empty"));  // no keys: not there, as on the platform
  EXPECT_TRUE(ini.ValueExists(u"Main", u"NAME"));
  EXPECT_FALSE(ini.ValueExists(u"Main", u"garbage line"));
}

TEST_F(IniFileTest, RewritingKeepsTheLinesItDoesNotUnderstand) {
  WriteBytes(name, kSample);
  TMemIniFile ini(name);
  ini.WriteString(u"main", u"WIDTH", u"30");
  ini.WriteString(u"Main", u"New", u"x");
  ini.WriteString(u"Added", u"K", u"v\r\n[Injected]");
  ini.DeleteKey(u"Other", u"Key");
  ini.UpdateFile();
  EXPECT_EQ(ReadBytes(name),
            "; settings\r\n"
            "stray=before any section\r\n"
            "[Main]\r\n"
            "Width=30\r\n"
            "garbage line\r\n"
            "width=20\r\n"
            "; comment\r\n"
            "Name=a=b\r\n"
            "New=x\r\n"
            "\r\n"
            "[Empty]\r\n"
            "\r\n"
            "[Other] trailing text\r\n"
            "\r\n"
            "[Added]\r\n"
            "K=v  [Injected]\r\n");
  ini.EraseSection(u"main");
  ini.UpdateFile();
  TMemIniFile back(name);
  EXPECT_EQ(back.ReadString(u"Main", u"Width", u"gone"), u"gone");
  EXPECT_EQ(back.ReadString(u"Added", u"K", u""), u"v  [Injected]");
}

TEST_F(IniFileTest, TypedValues) {
  struct Case {
    const char16_t* text;
    Integer integer;  // ReadInteger with default -1
    bool boolean;     // ReadBool with default true
  } cases[] = {
      {u"12", 12, true},  {u"-7", -7, true}, {u"$1F", 31, true},         {u"0x1f", 31, true}, {u"0", 0, false},
      {u"abc", -1, true}, {u"", -1, true},   {u"99999999999", -1, true}, {u"1.5", -1, true},  {u"0X10", 16, true},
  };
  TMemIniFile ini(String{});
  for (const Case& c : cases) {
    ini.WriteString(u"S", u"K", c.text);
    EXPECT_EQ(ini.ReadInteger(u"S", u"K", -1), c.integer) << StringToUTF8(c.text);
    EXPECT_EQ(ini.ReadBool(u"S", u"K", true), c.boolean) << StringToUTF8(c.text);
  }
  ini.WriteBool(u"S", u"B", true);
  EXPECT_EQ(ini.ReadString(u"S", u"B", u""), u"1");
  ini.WriteInteger(u"S", u"I", -42);
  EXPECT_EQ(ini.ReadString(u"S", u"I", u""), u"-42");
  ini.WriteFloat(u"S", u"F", 2.5, InvariantFormatSettings());
  EXPECT_EQ(ini.ReadString(u"S", u"F", u""), u"2.5");
  EXPECT_EQ(ini.ReadFloat(u"S", u"F", 0, InvariantFormatSettings()), 2.5);
  EXPECT_EQ(ini.ReadFloat(u"S", u"I2", 7.25, InvariantFormatSettings()), 7.25);
  ini.WriteString(u"S", u"F", u"x");
  EXPECT_EQ(ini.ReadFloat(u"S", u"F", 1.5, InvariantFormatSettings()), 1.5);
}

TEST_F(IniFileTest, BrokenFilesAreReadAndKeptByteForByte) {
  const std::string longLine(1 << 20, 'x');
  const std::string junk("\x01\x80garbage\x00\x81\x8D\x8F\x90\x9D\xFF", 16);
  struct Case {
    std::string bytes;
    bool exact;  // written back byte for byte (plus a final line break)
  } cases[] = {
      {"[Open\r\nKey=1\r\n[Ok]\r\nKey=2", true},  // missing ']', no final line break
      {junk + "\r\n[Ok]\r\nKey=2\r\n", true},     // binary junk in the current code page
      {"[Ok]\r\n" + longLine + "\r\nKey=2\r\n", true},
      {"[Ok]\r\nKey=2\r\n=no name\r\n[]\r\n=x\r\n", true},
      {std::string("\xFF\xFE[\0Ok]\0\x01", 8), false},            // a UTF-16 mark over junk, odd length
      {std::string("\xEF\xBB\xBF[Ok]\r\nKey=2\xC3\r\n"), false},  // broken UTF-8
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    WriteBytes(name, cases[i].bytes);
    TMemIniFile ini(name);
    if (cases[i].exact) {
      EXPECT_EQ(ini.ReadString(u"Ok", u"Key", u""), u"2");
    }
    ini.UpdateFile();
    TMemIniFile again(name);
    TStringList first;
    TStringList second;
    ini.GetStrings(first);
    again.GetStrings(second);
    EXPECT_TRUE(first.Equals(second));
    if (cases[i].exact) {
      std::string expected = cases[i].bytes;
      if (expected.back() != '\n') expected += "\r\n";
      EXPECT_EQ(ReadBytes(name), expected);
    }
  }
}

TEST_F(IniFileTest, TheFilesEncodingIsKept) {
  WriteBytes(name, std::string("\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0\xE9\0", 18));
  {
    TMemIniFile ini(name);
    EXPECT_EQ(ini.ReadString(u"S", u"K", u""), u"\u00E9");
    EXPECT_EQ(ini.Encoding(), TEncoding::Unicode());
    ini.UpdateFile();
  }
  EXPECT_EQ(ReadBytes(name), std::string("\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0\xE9\0\r\0\n\0", 22));

  WriteBytes(name, "[S]\r\nK=\xC3\xA9\r\n");  // UTF-8 without a mark, named by the caller
  {
    TMemIniFile ini(name, TEncoding::UTF8());
    EXPECT_EQ(ini.ReadString(u"S", u"K", u""), u"\u00E9");
    ini.UpdateFile();
  }
  EXPECT_EQ(ReadBytes(name), "[S]\r\nK=\xC3\xA9\r\n");  // still without a mark
}

TEST_F(IniFileTest, IniFileWritesThroughAndReadsTheFileAsItIsNow) {
  TIniFile ini(name);
  EXPECT_EQ(ini.ReadString(u"Packages", u"0", u"none"), u"none");
  ini.WriteString(u"Packages", u"0", u"a.bpl");
  ini.WriteString(u"Packages", u"1", u"b.bpl");
  EXPECT_EQ(ReadBytes(name), "[Packages]\r\n0=a.bpl\r\n1=b.bpl\r\n");
  WriteBytes(name, "[Packages]\r\n0=a.bpl\r\n1= \"spaced \" \r\n1=dup\r\n");
  EXPECT_EQ(ini.ReadString(u"packages", u"1", u""), u"spaced ");  // quotes removed
  TStringList values;
  ini.ReadSectionValues(u"Packages", values);
  EXPECT_EQ(Lines(values), (std::vector<String>{u"0=a.bpl", u"1=spaced ", u"1=spaced "}));
  ini.DeleteKey(u"Packages", u"0");
  ini.EraseSection(u"Nothing");
  EXPECT_EQ(ReadBytes(name), "[Packages]\r\n1= \"spaced \" \r\n1=dup\r\n");
}

TEST_F(IniFileTest, FailedWritesRaiseAndLeaveTheOldFile) {
  const String lost = folder.File(u"missing-folder") + PathDelim + u"x.ini";
  TIniFile ini(lost);
  try {
    ini.WriteString(u"S", u"K", u"V");
    FAIL() << "no exception";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.Message(), u"Unable to write to " + lost);
  }
  TMemIniFile memory(lost);
  memory.WriteString(u"S", u"K", u"V");
  EXPECT_THROW(memory.UpdateFile(), EFCreateError);
  EXPECT_TRUE(memory.Modified());

  // A folder where the file should be: the replacement fails after the new file was written.
  const String blocked = folder.File(u"blocked.ini");
  ASSERT_TRUE(CreateDir(blocked));
  TMemIniFile onFolder(blocked);
  onFolder.WriteString(u"S", u"K", u"V");
  EXPECT_THROW(onFolder.UpdateFile(), EFCreateError);
  EXPECT_TRUE(DirectoryExists(blocked));
  EXPECT_FALSE(FileExists(blocked + u".~0.tmp"));
}

TEST_F(IniFileTest, SaveFileAtomicallyKeepsTheOldFileWhenWritingFails) {
  WriteBytes(name, "old");
  EXPECT_THROW(SaveFileAtomically(name,
                                  [](TStream& stream) {
                                    stream.WriteBuffer("partial", 7);
                                    throw EWriteError(u"Stream write error");
                                  }),
               EWriteError);
  EXPECT_EQ(ReadBytes(name), "old");
  EXPECT_FALSE(FileExists(name + u".~0.tmp"));
  SaveFileAtomically(name, [](TStream& stream) { stream.WriteBuffer("new", 3); });
  EXPECT_EQ(ReadBytes(name), "new");

  // A read-only file is refused, with or without a backup, and stays as it was.
  ASSERT_TRUE(FileSetReadOnly(name, true));
  EXPECT_TRUE(FileIsReadOnly(name));
  for (const String& backup : {String(), name + u".~bak"}) {
    EXPECT_THROW(SaveFileAtomically(name, [](TStream& stream) { stream.WriteBuffer("newer", 5); }, backup),
                 EFCreateError);
    EXPECT_EQ(ReadBytes(name), "new");
    EXPECT_FALSE(FileExists(name + u".~0.tmp"));
    if (!backup.empty()) {
      EXPECT_FALSE(FileExists(backup));
    }
  }
  ASSERT_TRUE(FileSetReadOnly(name, false));
  EXPECT_FALSE(FileIsReadOnly(name));
}

}  // namespace

#ifndef _WIN32
namespace {

// The refusal names the system's own reason for the name it could not
// create, not the outcome of a later look at that name.
TEST_F(IniFileTest, SaveFileAtomicallyReportsWhyTheNewFileCouldNotBeMade) {
  WriteBytes(name, "old");
  // A link to nowhere holds the temporary name: it cannot be created, and
  // looking at it finds no file.
  // (The run-time writes paths with the Windows separator on every system.)
  std::string link = StringToUTF8(name) + ".~0.tmp";
  std::replace(link.begin(), link.end(), '\\', '/');
  std::filesystem::create_symlink("nowhere", link);
  try {
    SaveFileAtomically(name, [](TStream& stream) { stream.WriteBuffer("new", 3); });
    FAIL() << "saved";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), u"Cannot create file \"" + ExpandFileName(name) + u"\". " + SysErrorMessage(EEXIST));
  }
  EXPECT_EQ(ReadBytes(name), "old");
}

}  // namespace
#endif
