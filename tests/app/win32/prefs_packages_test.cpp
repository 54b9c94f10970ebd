// The package page of the preferences dialog as the main window runs it,
// with a package built here: its description and details come from the
// package file, its state from the main window's package set; adding and
// removing it change the registry of classes at once.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "app/win32/mainwindow_fixture.h"
#include "app/win32/prefsdialog.h"
#include "rtl/files.h"

namespace {

using apptest::PackageFixture;

std::vector<String> Lines(const TStrings& lines) {
  std::vector<String> list;
  for (Integer i = 0; i < lines.Count(); ++i) list.push_back(lines[i]);
  return list;
}

class PrefsPackagesTest : public apptest::MainWindowTest {
 protected:
  void SetUp() override {
    if (PackageFixture().empty() || !FileExists(PackageFixture())) GTEST_SKIP() << "package fixture not built";
    MainWindowTest::SetUp();
  }

  // Runs "Preferences..." with the step acting on the shown dialog, which
  // then closes with Cancel.
  void WithPreferences(std::function<void(Tdlg_kst_Prefs&)> step) {
    FStep = std::move(step);
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
      for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* dialog = dynamic_cast<Tdlg_kst_Prefs*>(Screen->Forms(i)); dialog && dialog->Visible()) {
          KillTimer(nullptr, id);
          FStep(*dialog);
          dialog->SetModalResult(mrCancel);
          return;
        }
    });
    FMain->acPrefs->Execute();
    Pump();
  }

  static void Select(Tdlg_kst_Prefs& dialog, Integer index) {
    TListItem* item = dialog.BPLList->Items().Item(index);
    dialog.BPLList->SetSelected(item);
    dialog.BPLListSelectItem(dialog.BPLList, item, true);
  }

  static void ShowTab(Tdlg_kst_Prefs& dialog, Integer tab) {
    ASSERT_TRUE(dialog.ts->SelectTab(tab));
    dialog.tsClick(dialog.ts);
  }

  static inline std::function<void(Tdlg_kst_Prefs&)> FStep;
};

TEST_F(PrefsPackagesTest, DescriptionsAndDetailsComeFromThePackageFiles) {
  const String missing = PackageFixture() + u".gone.bpl";
  FPackages->PackageList.Add(PackageFixture());
  FPackages->PackageList.Add(missing);
  FPackages->InstallPackages(FRegistry);
  ASSERT_EQ(FPackages->ErrorList.Count(), 1);

  std::vector<String> captions, paths, header, classes, flags;
  std::vector<Integer> images;
  String pageCaption, classesTab, error;
  WithPreferences([&](Tdlg_kst_Prefs& d) {
    pageCaption = d.tsPkg->Caption();
    for (Integer i = 0; i < d.BPLList->Items().Count(); ++i) {
      TListItem* item = d.BPLList->Items().Item(i);
      captions.push_back(item->Caption());
      paths.push_back(item->SubItems().Strings(0));
      images.push_back(item->ImageIndex());
    }
    Select(d, 0);
    header = Lines(d.Memo->Lines());
    ShowTab(d, 1);
    classes = Lines(d.Memo->Lines());
    classesTab = d.ts->Tabs()[1];
    ShowTab(d, 2);
    flags = Lines(d.Memo->Lines());
    ShowTab(d, 0);
    Select(d, 1);
    error = d.Memo->Lines().Text();
  });
  EXPECT_EQ(pageCaption, u" Packages (2) ");
  EXPECT_EQ(captions, (std::vector<String>{u"Kestrum test package", u"kstpkg.bpl.gone.bpl"}));
  EXPECT_EQ(paths, (std::vector<String>{PackageFixture(), missing}));
  EXPECT_EQ(images, (std::vector<Integer>{1, 0})) << "read by the package set, or not";
  EXPECT_EQ(header,
            (std::vector<String>{u"requires", u"  rtl", u"  vcl", u"contains", u"  KstControls", u"  KstButtons"}));
  // Classes come in address order, which is the linker's choice.
  std::sort(classes.begin(), classes.end());
  EXPECT_EQ(classes, (std::vector<String>{u"TButton", u"TKstBase", u"TKstButton"}));
  EXPECT_EQ(classesTab, u"Classes (3)");
  EXPECT_EQ(flags, (std::vector<String>{u"Options: ", u"Type: Package", u"Producer: Delphi 4 or later"}));
  EXPECT_NE(error.find(u"kstpkg.bpl.gone.bpl"), String::npos) << StringToUTF8(error);
  EXPECT_TRUE(FBoxes.empty());
}

TEST_F(PrefsPackagesTest, AddingAndRemovingAPackageChangesTheClassesAtOnce) {
  FChosenFile = PackageFixture();
  std::vector<Integer> imagesAfterAdd;
  std::size_t listedAfterRemove = 99;
  WithPreferences([&](Tdlg_kst_Prefs& d) {
    d.cmAdd(d.bAdd);
    for (Integer i = 0; i < d.BPLList->Items().Count(); ++i)
      imagesAfterAdd.push_back(d.BPLList->Items().Item(i)->ImageIndex());
    // Listed already: added once only.
    d.cmAdd(d.bAdd);
    Select(d, 0);
    d.cmDel(d.bDel);
    listedAfterRemove = static_cast<std::size_t>(d.BPLList->Items().Count());
  });
  ASSERT_EQ(FBoxes.size(), 2u);
  EXPECT_EQ(FBoxes[0], u"kstpkg.bpl: 2 new classes registered.") << "its TButton is the registry's already";
  EXPECT_EQ(FBoxes[1], u"Remove selected package?");
  EXPECT_EQ(imagesAfterAdd, std::vector<Integer>{1});
  EXPECT_EQ(listedAfterRemove, 0u);
  EXPECT_EQ(FPackages->PackageList.Count(), 0);
  EXPECT_EQ(FPreviewClasses.FindClass(u"TKstButton"), nullptr);
  EXPECT_TRUE(FPackages->FPHL().empty());
  EXPECT_NE(FPreviewClasses.FindClass(u"TButton"), nullptr);
}

}  // namespace
