// Every real form of the corpus (or below the folders KESTRUM_CORPUS_DIRS
// names) opened in the program and previewed as the program does it: the
// class table registered as at start-up, the file loaded in an editor
// window, whose scan builds the preview. The only messages a preview may
// give are a class that the table does not hold and, until the platform's
// classes read them, the properties listed below.
#include "ui/winapi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/classtable.h"
#include "app/win32/editorform.h"
#include "app/win32/mainwindow_fixture.h"
#include "classes/reflection.h"
#include "codeedit/win32/codeedit.h"
#include "panelkit/win32/pagecontrol.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"
#include "support/form_corpus.h"
#include "support/win32/harness.h"

namespace {

std::set<String> TableClassNames() {
  std::set<String> names;
  for (const char16_t* name : StartupClassTable()) names.insert(UpperCase(name));
  for (const char16_t* name : FurtherClasses()) names.insert(UpperCase(name));
  return names;
}

// The class a "Class %s not found" message names; empty for any other message.
std::string MissingClass(const String& message) {
  static const std::regex kNotFound("Class ([A-Za-z_][A-Za-z0-9_.]*) not found");
  const std::string text = StringToUTF8(message);
  std::smatch match;
  return std::regex_search(text, match, kNotFound) ? match[1].str() : std::string();
}

const TComponent* FindOwned(const TComponent& owner, const String& name) {
  if (SameText(owner.Name(), name)) return &owner;
  for (Integer i = 0; i < owner.ComponentCount(); ++i)
    if (const TComponent* found = FindOwned(*owner.Components(i), name)) return found;
  return nullptr;
}

// "TClass.Property" of an "Error reading Name.Property..." message, with the
// class of the preview's component of that name ("?" when there is none);
// empty for any other message.
std::string PropertyGap(const TComponent& preview, const String& message) {
  static const std::regex kReading("Error reading ([A-Za-z0-9_]+)\\.([A-Za-z0-9_]+)");
  const std::string text = StringToUTF8(message);
  std::smatch match;
  if (!std::regex_search(text, match, kReading)) return {};
  const TComponent* component = FindOwned(preview, UTF8ToString(match[1].str()));
  return (component ? StringToUTF8(ClassOf(*component).ClassName()) : std::string("?")) + "." + match[2].str();
}


class PreviewCorpusTest : public apptest::MainWindowTest {
 protected:
  // An editor window loading the file: the load's scan builds the preview,
  // as opening a file in the program does (one preview per form keeps the
  // run short; showing the page rebuilds the same way).
  Tmdi_kst_Editor* OpenAndPreview(const formfile_test::CorpusFile& file) {
    auto* editor = CreateForm<Tmdi_kst_Editor>(FMain);
    try {
      editor->SetFilename(FromWStr(file.File.wstring().c_str()));
    } catch (const Exception& e) {
      ADD_FAILURE() << "cannot open: " << StringToUTF8(e.Message());
      editor->Free();
      return nullptr;
    }
    Pump();
    return editor;
  }
};

TEST_F(PreviewCorpusTest, EveryFormPreviewsWithNoErrorButClassesOutsideTheTable) {
  const std::vector<formfile_test::CorpusFile> files = formfile_test::CorpusFiles();
  ASSERT_FALSE(files.empty()) << "no form files: set KESTRUM_CORPUS_DIRS";
  const std::set<String> table = TableClassNames();
  std::map<std::string, int> outside;  // class name: forms that use it
  for (const formfile_test::CorpusFile& file : files) {
    SCOPED_TRACE(file.Path);
    Tmdi_kst_Editor* editor = OpenAndPreview(file);
    ASSERT_NE(editor, nullptr);
    TForm* preview = editor->Preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->Visible());
    // A form inherited from a form class of its own project: that class is
    // not in the table, so its components are not there to be found.
    const bool inherited =
        editor->DFM->GetLines()->Count() > 0 && (*editor->DFM->GetLines())[0].starts_with(u"inherited ");
    std::set<std::string> named;
    for (Integer i = 0; i < editor->ErrBox().Count(); ++i) {
      const String line = editor->ErrBox()[i];
      const std::string missing = MissingClass(line);
      const std::string gap = PropertyGap(*preview, line);
      if (!missing.empty() && !table.contains(UpperCase(UTF8ToString(missing)))) {
        if (named.insert(missing).second) ++outside[missing];
      } else if (inherited && line.find(u"Ancestor for '") != String::npos) {
        continue;
      } else {
        ADD_FAILURE() << StringToUTF8(line) << (gap.empty() ? "" : " [" + gap + "]");
      }
    }
    editor->Free();
    Pump();
    for (const String& error : FBoxes) ADD_FAILURE() << "error box: " << StringToUTF8(error);
    FBoxes.clear();
  }
  std::string list;
  for (const auto& [name, count] : outside) list += " " + name + "(" + std::to_string(count) + ")";
  std::printf("%zu forms previewed\nclasses outside the table:%s\n", files.size(), list.c_str());
}

// A form text is untrusted: naming the program's own window and services
// must build none of them. They are unknown classes to a preview, nothing
// of the program is replaced, the registry stays untouched and no second
// instance window appears.
TEST_F(PreviewCorpusTest, TheProgramsOwnWindowsAndServicesAreUnknownToAPreview) {
  const wchar_t* key = L"Software\\KestrumPreviewImpostor";
  RegDeleteTreeW(HKEY_CURRENT_USER, key);
  TStringList lines;
  lines.SetText(
      u"object Form1: TForm\r\n"
      u"  object Impostor: Twnd_kst_Main\r\n"
      u"  end\r\n"
      u"  object Storage: TSvAppRegistryStorage\r\n"
      u"    Root = 'Software\\KestrumPreviewImpostor'\r\n"
      u"  end\r\n"
      u"  object Placement: TSvFormStorage\r\n"
      u"    AppStorage = Storage\r\n"
      u"  end\r\n"
      u"  object Instances: TSvAppInstances\r\n"
      u"  end\r\n"
      u"end\r\n");
  auto* editor = CreateForm<Tmdi_kst_Editor>(FMain);
  editor->New(&lines);
  editor->PreviewForm();
  Pump();
  std::set<std::string> missing;
  for (Integer i = 0; i < editor->ErrBox().Count(); ++i) missing.insert(MissingClass(editor->ErrBox()[i]));
  for (const char* name : {"Twnd_kst_Main", "TSvAppRegistryStorage", "TSvFormStorage", "TSvAppInstances"})
    EXPECT_TRUE(missing.contains(name)) << name << " is refused";
  EXPECT_EQ(wnd_kst_Main, FMain) << "the program's main window stays its own";
  EXPECT_EQ(FPreviewClasses.FindClass(u"Twnd_kst_Main"), nullptr);
  editor->Free();
  Pump();
  EXPECT_EQ(wnd_kst_Main, FMain);
  HKEY opened = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened), ERROR_SUCCESS) << "nothing written";
  if (opened) RegCloseKey(opened);
  RegDeleteTreeW(HKEY_CURRENT_USER, key);
}

// "Save Form Image..." from the Source page builds the preview and saves,
// opaque, what the screen shows of it: frame, title bar and controls.
TEST_F(PreviewCorpusTest, TheSavedFormImageIsWhatTheScreenShows) {
  TStringList lines;
  lines.SetText(
      u"object Shown: TForm\r\n"
      u"  Left = 0\r\n  Top = 0\r\n  Width = 320\r\n  Height = 200\r\n  Caption = 'Shown'\r\n"
      u"  object Memo1: TMemo\r\n    Left = 16\r\n    Top = 16\r\n    Width = 180\r\n    Height = 90\r\n"
      u"    Lines.Strings = (\r\n      'Memo1')\r\n  end\r\nend\r\n");
  auto* editor = CreateForm<Tmdi_kst_Editor>(FMain);
  editor->New(&lines);
  editor->SetWindowState(wsMaximized);
  Pump();
  ASSERT_EQ(editor->pc->ActivePageIndex(), 0);
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "kestrum_form_image.bmp";
  std::filesystem::remove(file);
  FChosenFile = FromWStr(file.wstring().c_str());
  editor->mmSaveFormImageClick(nullptr);
  Pump();
  ASSERT_TRUE(std::filesystem::exists(file)) << "saved from the Source page";
  EXPECT_EQ(editor->pc->ActivePageIndex(), 1);
  TForm* preview = editor->Preview();
  ASSERT_NE(preview, nullptr);
  TBitmap saved;
  saved.LoadFromFile(FromWStr(file.wstring().c_str()));
  std::filesystem::remove(file);
  EXPECT_EQ(saved.PixelFormat(), pf24bit);
  const harness::Bitmap32 screen = harness::CaptureScreen(preview->Handle());
  harness::SaveForInspection(screen, L"kestrum_form_image.bmp");
  ASSERT_EQ(saved.Width(), screen.Width());
  ASSERT_EQ(saved.Height(), screen.Height());
  int differences = 0;
  for (int y = 0; y < screen.Height(); ++y)
    for (int x = 0; x < screen.Width(); ++x)
      if (GetPixel(saved.Canvas().Handle(), x, y) != screen.PixelColor(x, y)) ++differences;
  EXPECT_LT(differences, screen.Width() * screen.Height() / 100) << "of " << screen.Width() * screen.Height();
}

// One form of the corpus as the preview page shows it, for a person to look at.
TEST_F(PreviewCorpusTest, ASampleFormLooksLikeTheForm) {
  const std::vector<formfile_test::CorpusFile> files = formfile_test::CorpusFiles();
  const auto sample = std::find_if(files.begin(), files.end(), [](const formfile_test::CorpusFile& file) {
    return file.Name == "HeidiSQL__HeidiSQL__source__exportgrid.dfm";
  });
  if (sample == files.end()) GTEST_SKIP() << "the sample form is not among the form files";
  Tmdi_kst_Editor* editor = OpenAndPreview(*sample);
  ASSERT_NE(editor, nullptr);
  editor->SetWindowState(wsMaximized);
  editor->cmPreview(nullptr);
  Pump();
  ASSERT_EQ(editor->pc->ActivePageIndex(), 1);
  TForm* preview = editor->Preview();
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(editor->ErrBox().Count(), 0);
  Sleep(100);
  Pump();
  harness::SaveForInspection(harness::CaptureScreen(editor->Handle()), L"kestrum_corpus_preview.bmp");
  const harness::Bitmap32 form = harness::PaintClient(preview->Handle());
  ASSERT_GT(form.Width(), 0);
  // The form's own face colour fills what its controls leave.
  EXPECT_EQ(form.PixelColor(form.Width() - 2, form.Height() - 2), ColorToRGB(preview->Color()));
}

}  // namespace
