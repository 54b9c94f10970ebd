#include "pe/versioninfo.h"

#include <gtest/gtest.h>

#include "pe/pereader.h"
#include "rtl/streams.h"
#include "rtl/temp_folder.h"
#include "support/image_builder.h"

namespace {

using namespace imagebuilder;

const std::vector<VersionStrings> kTwoTables = {
    {0x0409, 1252, {{u"CompanyName", u"Kestrum Tests"}, {u"FileVersion", u"1.0"}, {u"Comments", u""}}},
    {0x0407, 1200, {{u"CompanyName", u"Kestrum Prüfungen"}, {u"ProductName", u"Prüfling"}}},
};

TBytes ImageWithVersion(const TBytes& resource, Word language = 0x0409) {
  PeImageBuilder builder(false);
  builder.AddResources({{Word{16}, Word{1}, language, resource, 0}});
  return builder.Build();
}

TVersionInformation ReadVersion(const TBytes& resource) {
  TBytes image = ImageWithVersion(resource);
  TVersionInformation info;
  info.ReadFromImage(peimage::ImageBytes(image.data(), image.size()), String());
  return info;
}

TEST(VersionInformation, ReadsFixedInfoAndTwoTranslations) {
  TVersionInformation info = ReadVersion(VersionResource({1, 2, 3, 4}, {5, 6, 7, 8}, 0x01 | 0x04 | 0x40, kTwoTables));
  ASSERT_TRUE(info.Valid());
  EXPECT_EQ(info.FileVersionNumber(), (TVersionNumber{1, 2, 3, 4}));
  EXPECT_EQ(info.ProductVersionNumber(), (TVersionNumber{5, 6, 7, 8}));
  EXPECT_EQ(info.FileFlags(), (TVersionFileFlags{ffDebug, ffPatched}));
  EXPECT_EQ(info.FileOS(), 0x40004u);
  EXPECT_EQ(info.FileType(), 1u);
  ASSERT_EQ(info.StringTables().size(), 2u);
  EXPECT_EQ(info.Translation(), (TTranslation{0x0409, 1252}));
  EXPECT_EQ(info.StringTables()[1].Translation, (TTranslation{0x0407, 1200}));
  EXPECT_EQ(info.CompanyName(), u"Kestrum Tests");
  EXPECT_EQ(info.FileVersion(), u"1.0");
  EXPECT_EQ(info.Comments(), u"");
  EXPECT_EQ(info.ProductName(), u"");
  EXPECT_EQ(info.ItemCount(), 3);
  EXPECT_EQ(info.StringTables()[1].Values[1].Value, u"Prüfling");
  ASSERT_EQ(info.Resources().size(), 1u);
  EXPECT_EQ(info.ResourceLanguage().Lang, 0x0409);
  EXPECT_FALSE(info.Modified());
}

TEST(VersionInformation, TablesWithoutTranslationsAreKeyedByTheirNames) {
  TVersionInformation info = ReadVersion(VersionResource({1, 0, 0, 0}, {1, 0, 0, 0}, 0, kTwoTables, false, false));
  ASSERT_EQ(info.StringTables().size(), 2u);
  EXPECT_EQ(info.StringTables()[0].Translation, (TTranslation{0x0409, 1252}));
  EXPECT_EQ(info.StringTables()[1].Translation, (TTranslation{0x0407, 1200}));
}

// A second translation written as a second StringFileInfo block must not be
// lost on the next read, and the writer keeps all tables in one block.
TEST(VersionInformation, EveryTranslationSurvivesARoundTrip) {
  for (bool blockPerTable : {false, true}) {
    TVersionInformation info = ReadVersion(VersionResource({1, 0, 0, 0}, {1, 0, 0, 0}, 0, kTwoTables, blockPerTable));
    ASSERT_EQ(info.StringTables().size(), 2u);
    ASSERT_EQ(info.StringTables()[1].Values.size(), 2u);
    TVersionInformation again = ReadVersion(info.BuildResource());
    ASSERT_EQ(again.StringTables().size(), 2u);
    EXPECT_EQ(again.StringTables()[1].Values[0].Value, u"Kestrum Prüfungen");
    EXPECT_EQ(again.StringTables()[1].Translation, (TTranslation{0x0407, 1200}));
    EXPECT_EQ(again.Comments(), u"");
    EXPECT_EQ(info.BuildResource(), again.BuildResource());
  }
  // What the writer makes equals what the resource compiler makes.
  TVersionInformation info = ReadVersion(VersionResource({1, 2, 3, 4}, {5, 6, 7, 8}, 0x01, kTwoTables));
  EXPECT_EQ(info.BuildResource(), VersionResource({1, 2, 3, 4}, {5, 6, 7, 8}, 0x01, kTwoTables));
}

// Lengths are 16-bit fields: a resource that does not fit them is not made.
TEST(VersionInformation, LengthsBeyondSixteenBitsMakeNoResource) {
  for (size_t length : {size_t{33000}, size_t{70000}}) {
    TVersionInformation info = ReadVersion(VersionResource({1, 0, 0, 0}, {1, 0, 0, 0}, 0, kTwoTables));
    info.SetStringFileInfoValue(0, u"CompanyName", String(length, u'x'));
    EXPECT_TRUE(info.BuildResource().empty()) << length;
  }
  TVersionInformation info = ReadVersion(VersionResource({1, 0, 0, 0}, {1, 0, 0, 0}, 0, kTwoTables));
  info.SetStringFileInfoValue(0, u"CompanyName", String(30000, u'x'));
  TVersionInformation again = ReadVersion(info.BuildResource());
  EXPECT_EQ(again.CompanyName(), String(30000, u'x')) << "what fits is written";
}

TEST(VersionInformation, SettersChangeTheFixedInfoAndStrings) {
  TVersionInformation info = ReadVersion(VersionResource({1, 0, 0, 0}, {1, 0, 0, 0}, 0x01, kTwoTables));
  info.SetFileVersionNumber({1, 2, 3, 4});
  EXPECT_TRUE(info.Modified());
  TBytes resource = info.BuildResource();
  // The fixed info starts at offset 40; its version words at 8 and 12.
  EXPECT_EQ(peimage::LoadU32(resource.data() + 48), 1u * 65536 + 2);
  EXPECT_EQ(peimage::LoadU32(resource.data() + 52), 3u * 65536 + 4);

  info.SetFileFlags({ffPreRelease, ffSpecialBuild});
  EXPECT_EQ(info.FileFlags(), (TVersionFileFlags{ffPreRelease, ffSpecialBuild}));
  info.SetString(viProductName, u"Renamed");  // not in the first table
  EXPECT_EQ(info.ProductName(), u"");
  info.SetStringFileInfoValue(0, u"companyname", u"Changed");
  info.SetTranslation({0x0c0a, 1252});
  TVersionInformation again = ReadVersion(info.BuildResource());
  EXPECT_EQ(again.FileVersionNumber(), (TVersionNumber{1, 2, 3, 4}));
  EXPECT_EQ(again.FileFlags(), (TVersionFileFlags{ffPreRelease, ffSpecialBuild}));
  EXPECT_EQ(again.CompanyName(), u"Changed");
  EXPECT_EQ(again.Translation(), (TTranslation{0x0c0a, 1252}));
}

TEST(VersionInformation, NothingReadMeansNothingToChange) {
  TVersionInformation info;
  info.SetFileVersionNumber({1, 2, 3, 4});
  info.SetString(viCompanyName, u"X");
  info.SetTranslation({1, 2});
  EXPECT_FALSE(info.Valid());
  EXPECT_FALSE(info.Modified());
  EXPECT_FALSE(info.SaveData());

  TBytes bad = VersionResource({1, 0, 0, 0}, {1, 0, 0, 0}, 0, kTwoTables);
  bad[40] ^= 0xFF;  // the fixed-info signature
  EXPECT_FALSE(ReadVersion(bad).Valid());
}

TEST(VersionInformation, DamagedStringsEndTheReadWithWhatWasParsed) {
  TBytes resource = VersionResource({1, 0, 0, 0}, {1, 0, 0, 0}, 0, kTwoTables);
  for (std::size_t size = 0; size < resource.size(); ++size) {
    TBytes cut(resource.begin(), resource.begin() + static_cast<std::ptrdiff_t>(size));
    TVersionInformation info = ReadVersion(cut);
    EXPECT_EQ(info.Valid(), size >= 92) << size;
  }
}

TEST(VersionInformation, ReadsAFileByName) {
  TempFolder folder;
  String name = folder.File(u"versioned.exe");
  TBytes image = ImageWithVersion(VersionResource({2, 0, 0, 1}, {2, 0, 0, 0}, 0, kTwoTables), 0x0407);
  {
    TFileStream file(name, fmCreate);
    file.WriteBuffer(image.data(), static_cast<Int64>(image.size()));
  }
  TVersionInformation info(name);
  EXPECT_TRUE(info.Valid());
  EXPECT_EQ(info.FileVersionNumber(), (TVersionNumber{2, 0, 0, 1}));
  EXPECT_EQ(info.ResourceLanguage().Lang, 0x0407);

  TPEReader reader;
  reader.SetFileName(name);
  EXPECT_TRUE(reader.Valid());
  EXPECT_EQ(reader.VersionInfo().CompanyName(), u"Kestrum Tests");
  EXPECT_EQ(reader.Size(), static_cast<Int64>(image.size()));

  reader.SetFileName(folder.File(u"missing.exe"));
  EXPECT_FALSE(reader.Valid());
  EXPECT_EQ(reader.Size(), -1);
  EXPECT_FALSE(reader.VersionInfo().Valid());
}

}  // namespace
