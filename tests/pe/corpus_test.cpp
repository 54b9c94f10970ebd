// Executables of a collection: every form resource converts to text, and where
// a text form of the same root class sits in the same folder the two agree.
// The folders are named by KESTRUM_CORPUS_DIRS (":"-separated); a folder built
// here from the real binary forms proves the walk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "formfile/formconvert.h"
#include "formfile/formresource.h"
#include "pe/pereader.h"
#include "rtl/exceptions.h"
#include "rtl/stringlist.h"
#include "rtl/sysstr.h"
#include "rtl/temp_folder.h"
#include "rtl/unicode.h"
#include "support/form_corpus.h"
#include "support/image_builder.h"

namespace {

namespace fs = std::filesystem;

String PathText(const fs::path& path) {
  std::u16string text = path.u16string();
  return String(text.begin(), text.end());
}

bool IsExecutable(const fs::path& path) {
  String extension = UpperCase(PathText(path.extension()));
  for (const char16_t* known : {u".EXE", u".DLL", u".BPL", u".DPL", u".OCX", u".CPL"})
    if (extension == known) return true;
  return false;
}

// "object Name: TClass" (or inherited/inline) -> "TCLASS".
String RootClass(const TStrings& lines) {
  if (lines.Count() == 0) return String();
  String line = Trim(lines[0]);
  Integer colon = Pos(u":", line);
  if (colon == 0) return String();
  return UpperCase(Trim(Copy(line, colon + 1)));
}

struct CorpusReport {
  int Executables = 0;
  int Forms = 0;
  int Compared = 0;
  std::vector<std::string> Failures;
};

// The text forms of a folder by their root class.
std::map<String, fs::path> TextFormsIn(const fs::path& folder) {
  std::map<String, fs::path> forms;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file() || UpperCase(PathText(entry.path().extension())) != u".DFM") continue;
    TStringList lines;
    try {
      lines.LoadFromFile(PathText(entry.path()));
    } catch (const Exception&) {
      continue;
    }
    if (lines.Count() == 0) continue;
    String first = TrimLeft(lines[0]);
    if (!StartsText(u"object", first) && !StartsText(u"inherited", first) && !StartsText(u"inline", first)) continue;
    forms.emplace(RootClass(lines), entry.path());
  }
  return forms;
}

void CheckExecutable(const fs::path& file, CorpusReport& report) {
  ++report.Executables;
  std::string name = formfile_test::ToUTF8(file);
  TPEReader reader;
  reader.SetFileName(PathText(file));
  std::map<String, fs::path> texts = TextFormsIn(file.parent_path());
  for (const TResourceItem& item : reader.Resources()) {
    if (item.Typ != 10) continue;
    TStringList lines;
    try {
      FormResourceToStrings(item, lines);
    } catch (const Exception& e) {
      report.Failures.push_back(name + ": form " + StringToUTF8(item.Name) + ": " + e.what());
      continue;
    }
    if (lines.Count() == 0) continue;
    ++report.Forms;
    auto text = texts.find(RootClass(lines));
    if (text == texts.end()) continue;
    ++report.Compared;
    TStringList expected;
    expected.LoadFromFile(PathText(text->second));
    for (Integer i = 0; i < std::max(lines.Count(), expected.Count()); ++i) {
      String got = i < lines.Count() ? lines[i] : String(u"<end>");
      String want = i < expected.Count() ? expected[i] : String(u"<end>");
      if (got == want) continue;
      report.Failures.push_back(formfile_test::ToUTF8(text->second) + " differs from " + name + " at line " +
                                std::to_string(i + 1) + ": " + StringToUTF8(want) + " | " + StringToUTF8(got));
      break;
    }
  }
}

CorpusReport CheckFolders(const std::vector<fs::path>& folders) {
  CorpusReport report;
  for (const fs::path& folder : folders) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
      if (it->is_regular_file() && IsExecutable(it->path())) CheckExecutable(it->path(), report);
  }
  return report;
}

TEST(ExecutableCorpus, FormsOfTheNamedFoldersMatchTheirTexts) {
  const char* dirs = std::getenv("KESTRUM_CORPUS_DIRS");
  if (!dirs || !*dirs) GTEST_SKIP() << "KESTRUM_CORPUS_DIRS is not set: no executables to walk";
  std::vector<fs::path> folders;
  std::string list = dirs;
  for (std::size_t start = 0; start <= list.size();) {
    std::size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) folders.emplace_back(list.substr(start, end - start));
    start = end + 1;
  }
  CorpusReport report = CheckFolders(folders);
  std::cout << report.Executables << " executables, " << report.Forms << " forms, " << report.Compared
            << " compared with their text\n";
  for (const std::string& failure : report.Failures) ADD_FAILURE() << failure;
}

// The binary forms of the shared corpus, each unwrapped from its resource
// header and put as RCDATA into an executable, with its text (made by the
// converter) beside it; every executable in a folder of its own, so that no
// two texts of a folder share a root class.
class BuiltCorpus : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::path binary = formfile_test::DefaultCorpusDir() / "binary";
    if (!fs::is_directory(binary)) GTEST_SKIP() << "no corpus at " << binary;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(binary))
      if (UpperCase(PathText(entry.path().extension())) == u".DFM") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    // Folder k takes the forms whose class it does not have yet.
    std::vector<std::set<String>> classes;
    std::vector<std::vector<imagebuilder::ResourceEntry>> resources;
    for (const fs::path& file : files) {
      std::string data = formfile_test::ReadWholeFile(file);
      TBytesStream wrapped(TBytes(data.begin(), data.end()));
      ReadResHeader(wrapped);
      TBytesStream form;
      form.CopyFrom(wrapped, wrapped.Size() - wrapped.Position());
      TBytesStream text;
      form.SetPosition(0);
      FormBinaryToText(form, text);
      text.SetPosition(0);
      TStringList lines;
      lines.LoadFromStream(text);
      String rootClass = RootClass(lines);
      std::size_t folder = 0;
      while (folder < classes.size() && classes[folder].count(rootClass)) ++folder;
      if (folder == classes.size()) {
        classes.emplace_back();
        resources.emplace_back();
        fs::create_directory(Root() / std::to_string(folder));
      }
      classes[folder].insert(rootClass);
      resources[folder].push_back(imagebuilder::RcData(rootClass, form.Bytes()));
      fs::path dir = Root() / std::to_string(folder);
      TBytesStream(text.Bytes()).SaveToFile(PathText(dir / file.filename()));
      FTexts.push_back(dir / file.filename());
    }
    for (std::size_t folder = 0; folder < resources.size(); ++folder) {
      imagebuilder::PeImageBuilder builder(folder % 2 == 1);
      builder.AddResources(resources[folder]);
      TBytesStream image(builder.Build());
      image.SaveToFile(PathText(Root() / std::to_string(folder) / "forms.exe"));
    }
    FFormCount = static_cast<int>(files.size());
  }

  // The temporary folder without its trailing separator.
  fs::path Root() const {
    String name = FFolder.Name();
    name.pop_back();
    return fs::path(name);
  }

  TempFolder FFolder;
  std::vector<fs::path> FTexts;
  int FFormCount = 0;
};

TEST_F(BuiltCorpus, EveryFormMatchesItsText) {
  CorpusReport report = CheckFolders({Root()});
  EXPECT_EQ(report.Forms, FFormCount);
  EXPECT_EQ(report.Compared, FFormCount);
  EXPECT_TRUE(report.Failures.empty()) << report.Failures.front();
}

TEST_F(BuiltCorpus, ADifferingTextIsNamedWithItsFirstDifferingLine) {
  ASSERT_FALSE(FTexts.empty());
  TStringList lines;
  lines.LoadFromFile(PathText(FTexts[0]));
  ASSERT_GT(lines.Count(), 2);
  lines.SetStrings(1, lines[1] + u" changed");
  lines.SaveToFile(PathText(FTexts[0]));
  CorpusReport report = CheckFolders({Root()});
  ASSERT_EQ(report.Failures.size(), 1u);
  EXPECT_NE(report.Failures[0].find(formfile_test::ToUTF8(FTexts[0]) + " differs"), std::string::npos);
  EXPECT_NE(report.Failures[0].find("at line 2: "), std::string::npos);
}

}  // namespace
