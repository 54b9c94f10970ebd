#include "app/extractinfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "pe/pereader.h"
#include "rtl/unicode.h"
#include "support/image_builder.h"

namespace {

using namespace imagebuilder;

TEST(ExtractInfo, FlagLines) {
  struct Case {
    Cardinal Flags;
    const char16_t* Text;
  } cases[] = {
      {0x00000000, u"Options: \r\nType: Executable\r\nProducer: Delphi 3 or C++ Builder 3\r\n"},
      {0x4C000005, u"Options: NeverBuild,RunOnly\r\nType: Package\r\nProducer: Delphi 4 or later\r\n"},
      {0x8800000A, u"Options: DesignOnly,IgnoreDupUnits\r\nType: Library\r\nProducer: C++ Builder 4 or later\r\n"},
      {0xC4000000, u"Options: \r\nType: Executable\r\n"},
  };
  for (const Case& c : cases) {
    TStringList lines;
    PackageFlagLines(static_cast<Integer>(c.Flags), lines);
    EXPECT_EQ(lines.Text(), c.Text) << std::hex << c.Flags;
  }
}

TEST(ExtractInfo, PagesOfAPackage) {
  PeImageBuilder builder(false);
  builder.AddResources({
      RcData(u"PACKAGEINFO", PackageInfo(0x4C000002, {"rtl", "vcl"}, {"Unit1", "SysInit"})),
      RcData(u"DESCRIPTION", Description(u"Sample components")),
      RcData(u"TFORM1", TBytes{'T', 'P', 'F', '0'}),
  });
  TPEReader reader;
  reader.LoadFromBytes(builder.Build(), u"C:\\pkg\\sample.bpl");
  TStringList lines;
  ExtractInfoLines(reader, TExtractInfoTab::Header, lines);
  EXPECT_EQ(lines.Text(), u"requires\r\n  rtl\r\n  vcl\r\ncontains\r\n  Unit1\r\n  SysInit\r\n");
  ExtractInfoLines(reader, TExtractInfoTab::Forms, lines);
  EXPECT_EQ(lines.Text(), u"TFORM1\r\n");
  EXPECT_EQ(ExtractInfoTabCaption(TExtractInfoTab::Forms, lines.Count()), u"Forms (1)");
  ExtractInfoLines(reader, TExtractInfoTab::Classes, lines);
  EXPECT_EQ(lines.Count(), 0);
  ExtractInfoLines(reader, TExtractInfoTab::Flags, lines);
  EXPECT_EQ(lines[0], u"Options: DesignOnly");

  EXPECT_EQ(InfoPageCaption(reader.PackageDescription()), u" Sample components ");
  EXPECT_EQ(InfoPageCaption(u"  "), u" Info ");
  EXPECT_EQ(ResourcesPageCaption(3), u" Resources (3) ");
  EXPECT_EQ(ExtractDialogCaption(true, reader.FileName()), u"Package Information - [sample.bpl]");
  EXPECT_EQ(ExtractDialogCaption(false, u"C:\\a\\prog.exe"), u"Form Resources - [prog.exe]");
}

// The preferences dialog's package page reads the package file itself.
TEST(ExtractInfo, PackagePageOfAFile) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "kst_extractinfo_package";
  fs::remove_all(dir);
  fs::create_directories(dir);
  auto write = [&](const char* name, const TBytes& bytes) {
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return UTF8ToString((dir / name).string());
  };
  PeImageBuilder builder(false);
  builder.AddResources({
      RcData(u"PACKAGEINFO", PackageInfo(0x4C000001, {"rtl"}, {"Unit1"})),
      RcData(u"DESCRIPTION", Description(u"Sample components")),
  });
  const String package = write("sample.bpl", builder.Build());
  const String text = write("notes.bpl", TBytes{'M', 'Z', 'n', 'o'});
  const String missing = UTF8ToString((dir / "gone.bpl").string());

  EXPECT_EQ(PackageFileDescription(package), u"Sample components");
  TStringList lines;
  PackageDetailLines(package, 0, lines);
  EXPECT_EQ(lines.Text(), u"requires\r\n  rtl\r\ncontains\r\n  Unit1\r\n");
  PackageDetailLines(package, 1, lines);
  EXPECT_EQ(lines.Count(), 0);
  PackageDetailLines(package, 2, lines);
  EXPECT_EQ(lines.Text(), u"Options: NeverBuild\r\nType: Package\r\nProducer: Delphi 4 or later\r\n");
  for (const String& unreadable : {text, missing}) {
    EXPECT_EQ(PackageFileDescription(unreadable), u"");
    lines.Add(u"old");
    PackageDetailLines(unreadable, 0, lines);
    EXPECT_EQ(lines.Count(), 0);
  }
  lines.Add(u"old");
  PackageDetailLines(package, 3, lines);
  EXPECT_EQ(lines.Count(), 0) << "the dialog has three tabs";
  fs::remove_all(dir);
}

}  // namespace
