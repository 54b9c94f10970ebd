#include "app/packagelist.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "rtl/unicode.h"

namespace {

namespace fs = std::filesystem;

class PackageListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("kst_packages_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    ini = UTF8ToString((dir / "kestrum.ini").string());
  }
  void TearDown() override { fs::remove_all(dir); }
  void Write(const std::string& text) { std::ofstream(dir / "kestrum.ini", std::ios::binary) << text; }
  std::string Read() {
    std::ifstream file(dir / "kestrum.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  fs::path dir;
  String ini;
};

TEST(PackageList, NamesBesideTheProgram) {
  EXPECT_EQ(PackageIniFileName(u"C:\\Tools\\kestrum.exe"), u"C:\\Tools\\kestrum.ini");
  EXPECT_EQ(PackageErrorLine(u"C:\\p.bpl", u"Not a package"), u"C:\\p.bpl=Not a package");
}

TEST_F(PackageListTest, LoadsValuesInFileOrderWhateverTheKeys) {
  Write("[Other]\r\nx=1\r\n[Packages]\r\nfirst=C:\\a.bpl\r\n7=C:\\b.bpl\r\n");
  TStringList packages;
  packages.Add(u"stale");
  LoadPackageList(ini, packages);
  EXPECT_EQ(packages.Text(), u"C:\\a.bpl\r\nC:\\b.bpl\r\n");

  LoadPackageList(UTF8ToString((dir / "missing.ini").string()), packages);
  EXPECT_EQ(packages.Count(), 0);
}

TEST_F(PackageListTest, SavingRenumbersAndDropsOlderKeys) {
  Write("[Packages]\r\n0=old0\r\n3=old3\r\n200=old200\r\nname=kept\r\n[Other]\r\nx=1\r\n");
  TStringList packages;
  packages.Add(u"C:\\a.bpl");
  packages.Add(u"C:\\b.bpl");
  packages.Add(u"C:\\c.bpl");
  SavePackageList(ini, packages);
  TStringList loaded;
  LoadPackageList(ini, loaded);
  EXPECT_EQ(loaded.Text(), u"kept\r\nC:\\a.bpl\r\nC:\\b.bpl\r\nC:\\c.bpl\r\n");
  const std::string text = Read();
  EXPECT_EQ(text.find("old"), std::string::npos);
  EXPECT_NE(text.find("[Other]"), std::string::npos);
}

}  // namespace
