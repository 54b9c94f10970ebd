#include "app/classtable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "classes/reflection.h"
#include "pe/pereader.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"
#include "support/image_builder.h"
#include "support/testcomponents.h"

namespace {

namespace fs = std::filesystem;
using namespace imagebuilder;

TEST(ClassTable, HoldsTheTableAndTheFurtherClasses) {
  const auto table = StartupClassTable();
  EXPECT_EQ(table.size(), 280u);
  std::set<String> distinct(table.begin(), table.end());
  EXPECT_EQ(distinct.size(), 272u);
  for (const char16_t* twice : {u"TFont", u"TScrollBar", u"THeader", u"TStaticText", u"TColorBox", u"TLabeledEdit",
                                u"TValueListEditor", u"TTabSet"})
    EXPECT_EQ(std::count(table.begin(), table.end(), String(twice)), 2) << StringToUTF8(twice);
  EXPECT_EQ(String(table.front()), u"TBrush");
  ASSERT_EQ(FurtherClasses().size(), 12u);
  EXPECT_EQ(String(FurtherClasses()[4]), u"TPopupActionBar");
}

TEST(ClassTable, RegistersInOrderOnceAndListsWhatTheCatalogueLacks) {
  TClassRegistry catalogue;
  RegisterTestComponents(catalogue);
  TClassRegistry registry;
  std::vector<String> missing;
  const char16_t* const names[] = {u"TTestMemo", u"TNoSuch", u"TTestForm", u"TTestMemo", u"TNoSuch"};
  RegisterClassNames(registry, catalogue, names, &missing);
  EXPECT_EQ(missing, std::vector<String>{u"TNoSuch"});
  ASSERT_NE(registry.FindClass(u"TTestMemo"), nullptr);
  // Ancestors come with their classes, each once.
  std::vector<String> order;
  for (const TClassInfo* cls : registry.Classes()) order.push_back(cls->ClassName());
  EXPECT_EQ(order, (std::vector<String>{u"TComponent", u"TTestControl", u"TTestMemo", u"TTestContainer",
                                        u"TTestForm"}));
  EXPECT_FALSE(RegClass(registry, TTestMemo::StaticClass()));
}

// A package image as the IDE's compiler lays it out: package information, a
// class imported from another package, and class tables whose parent links
// point at that import or at a class of the same code section.
struct PackageImage {
  TBytes Bytes;
  std::vector<UInt64> References;
};

PackageImage MakePackage() {
  PeImageBuilder builder(false);
  builder.AddResources({RcData(u"PACKAGEINFO", PackageInfo(0x40000010, {"rtl", "vcl"}, {"MyControls"})),
                        RcData(u"DESCRIPTION", Description(u"My controls"))});
  const Cardinal importRva = builder.NextRva();
  builder.AddImports({{"vcl.bpl", {{"@Stdctrls@TTestControl@"}, {"@Other@TUnknown@"}}}});
  // Two descriptors, then the lookup table (three thunks), then the address table.
  const auto slot = static_cast<Cardinal>(builder.ImageBase) + importRva + 40 + 12;
  // The derived class first: the order of the tables is the linker's.
  std::vector<FakeClass> classes{{"TMyButton"}, {"TMyBase"}, {"TOrphan"}, {"TOrphanChild"}, {"TRoot"}};
  classes[0].ParentIndex = 1;        // a class of the package
  classes[1].Parent = slot;          // an imported, registered class
  classes[2].Parent = slot + 4;      // an imported class nobody registered
  classes[3].ParentIndex = 2;
  PackageImage image;
  image.References = builder.AddClassTables(classes);
  image.Bytes = builder.Build();
  return image;
}

class PackageSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("kst_classtable_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    RegisterTestComponents(registry);
  }
  void TearDown() override { fs::remove_all(dir); }
  String Write(const std::string& name, const TBytes& bytes) {
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return UTF8ToString((dir / name).string());
  }
  fs::path dir;
  TClassRegistry registry;
};

TEST(PackageClasses, FollowsParentLinksToImportsAndOwnClasses) {
  PackageImage image = MakePackage();
  TPEReader reader;
  reader.LoadFromBytes(image.Bytes);
  const std::vector<TPackageClass> classes = PackageClasses(reader);
  ASSERT_EQ(classes.size(), 5u);
  const std::pair<String, String> expected[] = {{u"TMyButton", u"TMyBase"},
                                                {u"TMyBase", u"TTestControl"},
                                                {u"TOrphan", u"TUnknown"},
                                                {u"TOrphanChild", u"TOrphan"},
                                                {u"TRoot", u""}};
  for (std::size_t i = 0; i < classes.size(); ++i) {
    EXPECT_EQ(classes[i].Name, expected[i].first);
    EXPECT_EQ(classes[i].Parent, expected[i].second) << StringToUTF8(classes[i].Name);
  }
}

TEST_F(PackageSetTest, RegistersStandInsOfTheNearestRegisteredAncestorOnce) {
  const String path = Write("mycontrols.bpl", MakePackage().Bytes);
  TComponent owner(nullptr);
  {
    TPackageSet packages(registry);
    EXPECT_EQ(packages.InstallPackage(path), 2);
    const TClassInfo* button = registry.FindClass(u"TMyButton");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->ClassParent()->ClassName(), u"TMyBase");
    EXPECT_TRUE(button->InheritsFrom(TTestControl::StaticClass()));
    // Previews build it as its ancestor.
    TObject* made = button->Create(&owner);
    EXPECT_EQ(ClassNameOf(made), u"TTestControl");
    EXPECT_EQ(registry.FindClass(u"TOrphan"), nullptr);
    EXPECT_EQ(registry.FindClass(u"TOrphanChild"), nullptr);
    EXPECT_EQ(registry.FindClass(u"TRoot"), nullptr);

    EXPECT_EQ(packages.InstallPackage(path), 0);
    EXPECT_EQ(packages.FPHL(), std::vector<String>{path});
    EXPECT_EQ(packages.ErrorList.Count(), 0);

    // Removed, under another spelling of its path: its classes go at once
    // and come back when it is installed again.
    packages.RemovePackage(UpperCase(path));
    EXPECT_EQ(registry.FindClass(u"TMyButton"), nullptr);
    EXPECT_EQ(registry.FindClass(u"TMyBase"), nullptr);
    EXPECT_TRUE(packages.FPHL().empty());
    EXPECT_EQ(ClassNameOf(made), u"TTestControl") << "what the preview built stays";
    EXPECT_EQ(packages.InstallPackage(path), 2);
  }
  // The set takes its stand-ins with it.
  EXPECT_EQ(registry.FindClass(u"TMyButton"), nullptr);
  EXPECT_NE(registry.FindClass(u"TTestControl"), nullptr);
}

TEST_F(PackageSetTest, UnreadablePackagesBecomeErrorLinesAndTheRestGoesOn) {
  PackageImage image = MakePackage();
  TBytes truncated(image.Bytes.begin(), image.Bytes.begin() + 200);
  PeImageBuilder plain(false);
  plain.AddClassTables({{"TPlain"}});
  const String missing = UTF8ToString((dir / "missing.bpl").string());
  const String notPackage = Write("plain.dll", plain.Build());
  const String broken = Write("broken.bpl", truncated);
  const String good = Write("good.bpl", image.Bytes);

  TClassRegistry catalogue;
  RegisterTestComponents(catalogue);
  TPackageSet packages(registry);
  for (const String& path : {missing, notPackage, broken, good}) packages.PackageList.Add(path);
  packages.ErrorList.Add(u"old=line");
  packages.InstallPackages(catalogue);
  ASSERT_EQ(packages.ErrorList.Count(), 3) << StringToUTF8(packages.ErrorList.Text());
  EXPECT_EQ(packages.ErrorList[0],
            missing + u"=Can't load package missing.bpl. The specified module could not be found.");
  EXPECT_EQ(packages.ErrorList[1], notPackage + u"=Can't load package plain.dll. It holds no package information.");
  EXPECT_EQ(packages.ErrorList[2], broken + u"=Can't load package broken.bpl. It holds no package information.");
  EXPECT_NE(registry.FindClass(u"TMyButton"), nullptr);
  EXPECT_EQ(registry.FindClass(u"TPlain"), nullptr);

  // A package that reads well but adds nothing says so; installing all again
  // keeps the packages that did add their classes free of that line.
  const String same = Write("same.bpl", image.Bytes);
  packages.PackageList.Add(same);
  packages.InstallPackages(catalogue);
  ASSERT_EQ(packages.ErrorList.Count(), 4) << StringToUTF8(packages.ErrorList.Text());
  EXPECT_EQ(packages.ErrorList[3], same + u"=No new class registered.");

  packages.UnInstallPackages();
  EXPECT_EQ(registry.FindClass(u"TMyBase"), nullptr);
  EXPECT_TRUE(packages.FPHL().empty());
}

TEST_F(PackageSetTest, HostileParentLinksLeaveClassesWithoutParents) {
  PeImageBuilder builder(false);
  builder.AddResources({RcData(u"PACKAGEINFO", PackageInfo(0x40000010, {}, {"U"}))});
  std::vector<FakeClass> classes{{"TFar"}, {"TSelf"}};
  classes[0].Parent = 0xFFFFFFF0u;
  classes[1].ParentIndex = 1;  // its own parent: a cycle
  builder.AddClassTables(classes);
  TPEReader reader;
  reader.LoadFromBytes(builder.Build());
  const std::vector<TPackageClass> found = PackageClasses(reader);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].Parent, u"");
  EXPECT_EQ(found[1].Parent, u"TSelf");
  const String path = Write("cycle.bpl", builder.Build());
  TPackageSet packages(registry);
  EXPECT_EQ(packages.InstallPackage(path), 0);
}

}  // namespace

namespace {

// The previews' registry is one of its own: the table's classes from the
// catalogue, in table order, and nothing else of the catalogue.
TEST(ClassTable, StartupFillsARegistryOfItsOwnFromTheCatalogue) {
  TClassRegistry catalogue;
  RegisterTestComponents(catalogue);
  TClassRegistry previews;
  TPackageSet packages(previews);
  RegisterStartupClasses(previews, catalogue, packages, u"no such folder\\kestrum.exe");
  EXPECT_EQ(previews.FindClass(u"TTestMemo"), nullptr);
  EXPECT_EQ(previews.FindClass(u"TTestForm"), nullptr);
  EXPECT_EQ(&packages.Registry(), &previews);
  EXPECT_EQ(packages.AddedClasses(u"none.bpl"), -1);
  TClassRegistry table;
  RegisterTableClasses(table, catalogue);
  EXPECT_EQ(table.Count(), 0);
}

}  // namespace
