// Executables made by real tool chains at build time (see fixtures.cmake).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "pe/pereader.h"
#include "rtl/files.h"
#include "rtl/stringlist.h"

namespace {

#ifdef KST_PE_FIXTURES
const String kFixtures = u"" KST_PE_FIXTURES;
#else
const String kFixtures;
#endif

// Loads a fixture, or skips the test when the build could not make it.
#define LOAD_FIXTURE(reader, name)                                                 \
  do {                                                                             \
    String file = kFixtures + (name);                                              \
    if (kFixtures.empty() || !FileExists(file)) GTEST_SKIP() << "fixture missing"; \
    (reader).SetFileName(file);                                                    \
  } while (false)

const TImportItem* FindImport(const TPEReader& reader, StringView module) {
  for (const TImportItem& item : reader.Imports())
    if (item.Name == module) return &item;
  return nullptr;
}

std::vector<String> FunctionNames(const TImportItem& item) {
  std::vector<String> names;
  for (const TExportItem& function : item.Functions) names.push_back(function.Name);
  return names;
}

class BuiltLibrary : public ::testing::TestWithParam<const char16_t*> {};

TEST_P(BuiltLibrary, ListsExportsByNameAndByOrdinal) {
  TPEReader reader;
  LOAD_FIXTURE(reader, GetParam());
  EXPECT_TRUE(reader.Valid());
  EXPECT_EQ(reader.Is64bit(), String(GetParam()).find(u"64") != String::npos);
  ASSERT_EQ(reader.ExportCount(), 3);
  EXPECT_EQ(reader.Exports()[0].Name, u"NamedOne");
  EXPECT_EQ(reader.Exports()[0].Ordinal, 1);
  EXPECT_EQ(reader.Exports()[1].Name, u"NamedTwo");
  EXPECT_EQ(reader.Exports()[2].Name, u"5");
  EXPECT_EQ(reader.Exports()[2].Ordinal, 5);
  EXPECT_EQ(reader.LinkerProdurer(), u"Microsoft");
  EXPECT_EQ(reader.TLSCount(), 6);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, BuiltLibrary, ::testing::Values(u"fixturelib32.dll", u"fixturelib64.dll"));

class BuiltProgram : public ::testing::TestWithParam<const char16_t*> {};

TEST_P(BuiltProgram, ReadsImportsResourcesVersionAndDebugEntries) {
  TPEReader reader;
  LOAD_FIXTURE(reader, GetParam());
  bool is64 = String(GetParam()).find(u"64") != String::npos;
  ASSERT_TRUE(reader.Valid());
  EXPECT_EQ(reader.Is64bit(), is64);
  EXPECT_EQ(reader.OptionaHeaderCount(), is64 ? 25 : 26);

  const TImportItem* library = FindImport(reader, u"fixturelib.dll");
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(FunctionNames(*library), (std::vector<String>{u"NamedOne", u"00000005"}));
  EXPECT_NE(FindImport(reader, u"KERNEL32.dll"), nullptr);
  EXPECT_EQ(reader.LinkerProdurer(), u"Microsoft");

  EXPECT_TRUE(reader.IsPackageInfo());
  EXPECT_EQ(reader.PackageFlags(), 0x40000010);
  ASSERT_EQ(reader.PackageCount(), 2);
  EXPECT_EQ(reader.Packages(0), u"rtl");
  ASSERT_EQ(reader.UnitCount(), 3);
  EXPECT_EQ(reader.Units(2), u"SysInit");
  EXPECT_EQ(reader.PackageDescription(), u"Kestrum fixture package");
  EXPECT_EQ(reader.FormCount(), 0);

  const TVersionInformation& version = reader.VersionInfo();
  ASSERT_TRUE(version.Valid());
  EXPECT_EQ(version.FileVersionNumber(), (TVersionNumber{1, 2, 3, 4}));
  EXPECT_EQ(version.ProductVersionNumber(), (TVersionNumber{5, 6, 7, 8}));
  EXPECT_EQ(version.FileFlags(), (TVersionFileFlags{ffDebug, ffPrivateBuild}));
  ASSERT_EQ(version.StringTables().size(), 2u);
  EXPECT_EQ(version.CompanyName(), u"Kestrum Fixtures");
  EXPECT_EQ(version.StringTables()[1].Translation, (TTranslation{0x0407, 1200}));
  EXPECT_EQ(version.StringTables()[1].Values[0].Value, u"Kestrum Testdaten");

  ASSERT_EQ(reader.DebugCount(), 1);
  const TDebugItem& debug = reader.DebugEntries()[0];
  EXPECT_EQ(debug.TypeName, u"CodeView");
  EXPECT_EQ(debug.Signature, 0x53445352u);  // "RSDS"
  // The fixed build id, read as a GUID: its first three fields little-endian.
  std::array<Byte, 16> guid = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66,
                               0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
  EXPECT_EQ(debug.GUID, guid);
  EXPECT_EQ(debug.Age, 1u);
  EXPECT_EQ(reader.TLSCount(), 6);
  if (is64) {
    EXPECT_GT(reader.ExceptionCount(), 0);
    EXPECT_EQ(reader.ClassCount(), 0);
  } else {
    EXPECT_EQ(reader.ExceptionCount(), 0);
    ASSERT_EQ(reader.ClassCount(), 1);
    EXPECT_EQ(reader.Classes(0).Name, u"TFixedClass");
  }
  EXPECT_NE(std::find(reader.UnicodeStrings().begin(), reader.UnicodeStrings().end(), u"Kestrum Fixtures"),
            reader.UnicodeStrings().end());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, BuiltProgram, ::testing::Values(u"fixtureapp32.exe", u"fixtureapp64.exe"));

TEST(BuiltWithDelayImports, LoadConfigurationAndDelayImports) {
  TPEReader reader;
  LOAD_FIXTURE(reader, u"delayapp64.exe");
  ASSERT_EQ(reader.LoadConfigCount(), 18);
  EXPECT_EQ(reader.LoadConfig()[1], u"Version=1.2");
  EXPECT_EQ(reader.LoadConfig()[2], u"Global flags clear=0x00000010");
  EXPECT_EQ(reader.LoadConfig()[3], u"Global flags set=0x00000020");
  EXPECT_EQ(reader.LoadConfig()[4], u"Critical section default timeout=0x000003E8");
  const TImportItem* delayed = FindImport(reader, u"user32.dll");
  ASSERT_NE(delayed, nullptr);
  EXPECT_EQ(FunctionNames(*delayed), (std::vector<String>{u"GetDesktopWindow", u"MessageBeep"}));
}

TEST(BuiltAssembly, ClrHeaderAndMetadataStreams) {
  TPEReader reader;
  LOAD_FIXTURE(reader, u"hello.exe");
  ASSERT_TRUE(reader.Valid());
  ASSERT_EQ(reader.CLRHeaderCount(), 20);
  EXPECT_EQ(reader.CLRHeader()[0], u"Version=2.5");
  ASSERT_EQ(reader.MetadataHeaderCount(), 4);
  EXPECT_EQ(reader.MetadataHeader()[0], u"Signature=0x424A5342");
  std::vector<String> streams;
  for (const TMetadataStream& stream : reader.MetadataStreams()) streams.push_back(stream.Name);
  EXPECT_EQ(streams, (std::vector<String>{u"#~", u"#Strings", u"#US", u"#GUID", u"#Blob"}));
  std::vector<String> tables;
  for (const TMetadataTable& table : reader.MetadataTables()) tables.push_back(table.Name);
  for (const char16_t* table : {u"00 - Module", u"01 - TypeRef", u"02 - TypeDef", u"32 - Assembly"})
    EXPECT_NE(std::find(tables.begin(), tables.end(), table), tables.end()) << StringView(table).size();
  EXPECT_EQ(reader.LinkerProdurer(), u"Microsoft");
}

TEST(BuiltFont, NeFontFileGivesHeaderListingsOnly) {
  TPEReader reader;
  LOAD_FIXTURE(reader, u"coure.fon");
  EXPECT_FALSE(reader.Valid());
  EXPECT_EQ(reader.Signature(), 0x454E);
  EXPECT_EQ(reader.DOSHeaderCount(), 31);
  ASSERT_EQ(reader.FileHeaderCount(), 29);
  EXPECT_EQ(reader.FileHeader()[0], u"Signature=0x0000454E (New executable (Win 3.1))");
  EXPECT_EQ(reader.ResourceCount(), 0);
}

}  // namespace
