// The extraction dialog and the class table under Wine: the forms of the
// program's own executable, the package information of a package built
// here, and which classes of the start-up table the libraries still lack.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/classtable.h"
#include "app/win32/aboutbox.h"
#include "app/win32/editorform.h"
#include "app/win32/extractdialog.h"
#include "app/win32/mainform.h"
#include "classes/reflection.h"
#include "codeedit/win32/codeedit.h"
#include "formfile/formconvert.h"
#include "panelkit/win32/pagecontrol.h"
#include "pe/pereader.h"
#include "rtl/files.h"
#include "rtl/format.h"
#include "rtl/unicode.h"
#include "support/image_builder.h"
#include "support/win32/harness.h"
#include "ui/dialogs.h"

namespace {

namespace fs = std::filesystem;

#ifdef KST_APP_FIXTURES
const String kFixtures = FromWStr(L"" KST_APP_FIXTURES);
#else
const String kFixtures;
#endif

String PathString(const fs::path& path) {
  return FromWStr(path.wstring().c_str());
}

fs::path ProgramFile() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path().parent_path() / L"kestrum.exe";
}

String PackageFile() {
  return kFixtures + u"kstpkg.bpl";
}

// The text the converter makes of a form resource.
String ConvertedForm(const TPEReader& reader, const String& name) {
  TResourceItem item;
  reader.GetResourceByName(name, item);
  TResourceRawStream data(item);
  TMemoryStream text;
  FormBinaryToText(data, text);
  text.SetPosition(0);
  TStringList lines;
  lines.LoadFromStream(text);
  return lines.Text();
}

std::vector<String> Lines(const TStrings& lines) {
  std::vector<String> list;
  for (Integer i = 0; i < lines.Count(); ++i) list.push_back(lines[i]);
  return list;
}

class ExtractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterKestrumClasses(FRegistry);
    FApp = std::make_unique<TApplication>(nullptr, FRegistry);
    FApp->OnException = TExceptionEvent([this](TObject*, const Exception& e) { FErrors.push_back(e.Message()); });
    FApp->MessageBoxHook = [this](const TMessageBoxRequest& request) {
      FErrors.push_back(request.Text);
      return IDOK;
    };
    FApp->MessageDlgHook = [this](const TMessageDlgRequest& request) {
      FErrors.push_back(request.Msg);
      return mrNo;
    };
    FApp->CommonDialogHook = [this](TCommonDialog& dialog) {
      if (FChosenFile.empty()) return false;
      if (auto* open = dynamic_cast<TOpenDialog*>(&dialog)) open->SetFileName(FChosenFile);
      return true;
    };
    FMain = CreateForm<Twnd_kst_Main>(FApp.get());
    FApp->SetMainForm(FMain);
    FMain->Show();
    Pump();
    FFolder = fs::temp_directory_path() / ("kestrum_extract_" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(FFolder);
  }

  void TearDown() override {
    FDialog.reset();
    if (FMain) FMain->Free();
    FApp.reset();
    harness::PumpMessages();
    fs::remove_all(FFolder);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Obrix\\Kestrum\\6.x");
  }

  void Pump() {
    for (int i = 0; i < 3; ++i) FApp->ProcessMessages();
  }

  Tdlg_kst_Extract& OpenDialog(const String& path, bool packageInfoOnly) {
    FDialog = MakeForm<Tdlg_kst_Extract>(FMain);
    FDialog->FPI = packageInfoOnly;
    FDialog->RefreshData(path);
    FDialog->Show();
    Pump();
    return *FDialog;
  }

  TClassRegistry FRegistry;
  std::unique_ptr<TApplication> FApp;
  Twnd_kst_Main* FMain = nullptr;
  TFormPtr<Tdlg_kst_Extract> FDialog;
  std::vector<String> FErrors;
  String FChosenFile;
  fs::path FFolder;
};

TEST_F(ExtractTest, ListsTheProgramsFormsAndLoadsOneAsAnUnnamedDocument) {
  const fs::path program = ProgramFile();
  if (!fs::exists(program)) GTEST_SKIP() << "kestrum.exe not built";
  Tdlg_kst_Extract& dialog = OpenDialog(PathString(program), false);
  TPEReader reader;
  reader.SetFileName(PathString(program));
  ASSERT_GT(reader.FormCount(), 0);
  std::vector<String> forms;
  for (int i = 0; i < reader.FormCount(); ++i) forms.push_back(reader.Forms(i));
  EXPECT_EQ(Lines(dialog.Box->Items()), forms);
  EXPECT_NE(std::find(forms.begin(), forms.end(), u"TWND_KST_MAIN"), forms.end());
  EXPECT_EQ(dialog.Caption(), u"Form Resources - [kestrum.exe]");
  EXPECT_EQ(dialog.tsRes->Caption(), Format(u" Resources (%d) ", {reader.FormCount()}));
  EXPECT_TRUE(dialog.Panel->Visible());
  EXPECT_TRUE(dialog.tsRes->TabVisible());
  EXPECT_FALSE(dialog.bOK->Enabled());

  const auto index = static_cast<Integer>(std::find(forms.begin(), forms.end(), u"TWND_KST_MAIN") - forms.begin());
  dialog.Box->SetItemIndex(index);
  dialog.BoxClick(dialog.Box);
  const String expected = ConvertedForm(reader, u"TWND_KST_MAIN");
  EXPECT_EQ(dialog.DFM->GetLines()->Text(), expected);
  EXPECT_TRUE(dialog.bOK->Enabled());
  EXPECT_TRUE(FErrors.empty());
  Pump();
  harness::SaveForInspection(harness::CaptureScreen(dialog.Handle()), L"kestrum_extract_forms");

  // "Load" twice: two documents of the same caption, each unnamed and changed.
  dialog.bOK->Click();
  Tmdi_kst_Editor* first = dialog.LastLoaded();
  dialog.bOK->Click();
  Tmdi_kst_Editor* second = dialog.LastLoaded();
  Pump();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(FMain->EditorCount(), 2);
  for (Tmdi_kst_Editor* editor : {first, second}) {
    EXPECT_EQ(editor->Caption(), u"TWND_KST_MAIN");
    EXPECT_EQ(editor->DFM->GetLines()->Text(), expected);
    EXPECT_TRUE(editor->Filename().empty());
    EXPECT_TRUE(editor->Modified());
    EXPECT_EQ(editor->DataFormat(), dfText);
  }
}

TEST_F(ExtractTest, AFormThatCannotBeConvertedIsReportedAndNotLoaded) {
  using namespace imagebuilder;
  PeImageBuilder builder(true);
  const std::string broken = "TPF0\x06TForm1\x05Form1\x04Left\x02";
  builder.AddResources({RcData(u"TFORM1", TBytes(broken.begin(), broken.end()))});
  const fs::path path = FFolder / "broken.exe";
  const TBytes image = builder.Build();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  Tdlg_kst_Extract& dialog = OpenDialog(PathString(path), false);
  ASSERT_EQ(Lines(dialog.Box->Items()), std::vector<String>{u"TFORM1"});
  dialog.Box->SetItemIndex(0);
  dialog.BoxClick(dialog.Box);
  EXPECT_EQ(FErrors.size(), 1u);
  EXPECT_FALSE(dialog.bOK->Enabled());
}

// A 16-bit executable is named for what it is instead of an empty dialog.
TEST_F(ExtractTest, ASixteenBitExecutableIsNamedAndHoldsNoForms) {
  TBytes image(128, 0);
  image[0] = 'M';
  image[1] = 'Z';
  image[0x3C] = 0x40;
  image[0x40] = 'N';
  image[0x41] = 'E';
  const fs::path path = FFolder / "old16.exe";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  Tdlg_kst_Extract& dialog = OpenDialog(PathString(path), false);
  harness::SaveForInspection(harness::CaptureScreen(dialog.Handle()), L"kestrum_extract_ne");
  EXPECT_EQ(dialog.Label1->Caption(), u"old16.exe is a 16-bit Windows executable (NE): it holds no forms that can be read.");
  EXPECT_FALSE(dialog.Panel->Visible());
  EXPECT_FALSE(dialog.bOK->Visible());
  EXPECT_EQ(dialog.Caption(), u"Form Resources - [old16.exe]");
  EXPECT_TRUE(FErrors.empty());
  // Any other file that is no image still leaves the dialog as it was.
  std::ofstream(FFolder / "text.exe") << "not an image";
  dialog.RefreshData(PathString(FFolder / "text.exe"));
  EXPECT_EQ(dialog.Caption(), u"Form Resources - [old16.exe]");
}

// The names of the program's forms sort differently for the linker and the
// loader ("TDLG_KST_EXTRACT" beside "TDLGABOUT"); every form still loads.
TEST_F(ExtractTest, EveryFormOfTheProgramLoadsFromItsResource) {
  EXPECT_NO_THROW(MakeForm<TdlgAbout>(FMain));
  EXPECT_NO_THROW(MakeForm<Tdlg_kst_Extract>(FMain));
}

TEST_F(ExtractTest, DamagedDirectoriesStillListTheForms) {
  const fs::path program = ProgramFile();
  if (!fs::exists(program)) GTEST_SKIP() << "kestrum.exe not built";
  std::ifstream in(program, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GT(bytes.size(), 0x400u);
  // The import, exception and debug directories point far outside the file.
  Cardinal header = 0;
  std::memcpy(&header, bytes.data() + 0x3C, 4);
  const std::size_t directories = header + 24 + 112;
  for (int entry : {1, 3, 6}) {
    const Cardinal outside = 0x7FFFFF00;
    std::memcpy(bytes.data() + directories + 8 * entry, &outside, 4);
  }
  const fs::path damaged = FFolder / "damaged.exe";
  std::ofstream(damaged, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

  TPEReader sound;
  sound.SetFileName(PathString(program));
  Tdlg_kst_Extract& dialog = OpenDialog(PathString(damaged), false);
  EXPECT_EQ(dialog.Box->Items().Count(), sound.FormCount());
  EXPECT_EQ(dialog.Caption(), u"Form Resources - [damaged.exe]");
}

TEST_F(ExtractTest, PackageInformationOfAPackageBuiltHere) {
  if (kFixtures.empty() || !FileExists(PackageFile())) GTEST_SKIP() << "package fixture not built";
  Tdlg_kst_Extract& dialog = OpenDialog(PackageFile(), true);
  EXPECT_EQ(dialog.Caption(), u"Package Information - [kstpkg.bpl]");
  EXPECT_FALSE(dialog.tsRes->TabVisible());
  EXPECT_FALSE(dialog.bOK->Visible());
  EXPECT_TRUE(dialog.Panel->Visible());
  EXPECT_EQ(dialog.pc->ActivePageIndex(), 1);
  EXPECT_EQ(dialog.tsInfo->Caption(), u" Kestrum test package ");
  EXPECT_EQ(Lines(*dialog.Memo->GetLines()),
            (std::vector<String>{u"requires", u"  rtl", u"  vcl", u"contains", u"  KstControls", u"  KstButtons"}));

  const std::pair<Integer, std::vector<String>> pages[] = {
      {1, {u"TButton", u"TKstBase", u"TKstButton"}},
      {2, {}},
      {3, {u"Options: ", u"Type: Package", u"Producer: Delphi 4 or later"}}};
  for (const auto& [tab, lines] : pages) {
    ASSERT_TRUE(dialog.ts->SelectTab(tab));
    dialog.tsClick(dialog.ts);
    std::vector<String> shown = Lines(*dialog.Memo->GetLines());
    // Classes come in address order, which is the linker's choice.
    if (tab == 1) std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, lines) << tab;
  }
  EXPECT_EQ(dialog.ts->Tabs()[1], u"Classes (3)");
  EXPECT_EQ(dialog.ts->Tabs()[2], u"Forms (0)");

  // Listing forms of a file without any shows the label instead.
  dialog.FPI = false;
  dialog.RefreshData(PackageFile());
  EXPECT_FALSE(dialog.Panel->Visible());
  EXPECT_TRUE(dialog.tsRes->TabVisible());
  EXPECT_EQ(dialog.Caption(), u"Form Resources - [kstpkg.bpl]");

  // A file that is no executable changes nothing.
  const fs::path text = FFolder / "notes.txt";
  std::ofstream(text) << "no image here";
  dialog.RefreshData(PathString(text));
  EXPECT_EQ(dialog.Caption(), u"Form Resources - [kstpkg.bpl]");
  EXPECT_TRUE(FErrors.empty());
}

TEST_F(ExtractTest, APackageBuiltHereAddsStandInsThatPreviewAsTheirAncestor) {
  if (kFixtures.empty() || !FileExists(PackageFile())) GTEST_SKIP() << "package fixture not built";
  TPackageSet packages(FRegistry);
  packages.PackageList.Add(PackageFile());
  packages.InstallPackages(FRegistry);
  EXPECT_EQ(packages.ErrorList.Count(), 0);
  const TClassInfo* button = FRegistry.FindClass(u"TKstButton");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->ClassParent()->ClassName(), u"TKstBase");
  TComponent owner(nullptr);
  EXPECT_EQ(ClassNameOf(button->Create(&owner)), u"TButton");
  // The package's own TButton is not the registry's.
  EXPECT_EQ(FRegistry.FindClass(u"TButton")->UnitName(), u"StdCtrls");
}

TEST_F(ExtractTest, TheFileMenuOpensTheDialogOnTheChosenFile) {
  const fs::path program = ProgramFile();
  if (!fs::exists(program)) GTEST_SKIP() << "kestrum.exe not built";
  FChosenFile = PathString(program);
  static String seen;
  seen.clear();
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (auto* dialog = dynamic_cast<Tdlg_kst_Extract*>(Screen->Forms(i)); dialog && dialog->Visible()) {
        KillTimer(nullptr, id);
        seen = dialog->Caption();
        dialog->SetModalResult(mrCancel);
        return;
      }
  });
  FMain->acExtract->Execute();
  EXPECT_EQ(seen, u"Form Resources - [kestrum.exe]");
}

// Every class of the table has its library now.
const std::vector<String> kStillMissing = {};

// The classes of the start-up table that no library of the program has yet;
// they come with the platform classes still to be built. The test fails when
// a class is lost, and names what is missing.
TEST(StartupClassTable, NamesTheClassesTheLibrariesStillLack) {
  TClassRegistry catalogue;
  RegisterKestrumClasses(catalogue);
  TClassRegistry registry;
  std::vector<String> missing;
  RegisterClassNames(registry, catalogue, StartupClassTable(), &missing);
  String names;
  for (const String& name : missing) names += name + u" ";
  std::printf("start-up table classes missing (%zu): %s\n", missing.size(), StringToUTF8(names).c_str());
  for (const char16_t* name : StartupClassTable()) {
    if (std::find(missing.begin(), missing.end(), name) == missing.end()) {
      EXPECT_NE(registry.FindClass(name), nullptr);
    }
  }
  const std::vector<String> known = kStillMissing;
  for (const String& name : missing)
    EXPECT_NE(std::find(known.begin(), known.end(), name), known.end()) << "lost from the libraries: "
                                                                          << StringToUTF8(name);
}

}  // namespace
