#include "app/formdocument.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "rtl/encoding.h"
#include "rtl/exceptions.h"
#include "rtl/unicode.h"

namespace {

namespace fs = std::filesystem;

const char kFormText[] =
    "object Form1: TForm1\r\n"
    "  Left = 8\r\n"
    "  Caption = 'Hello'\r\n"
    "  object Button1: TButton\r\n"
    "    Tag = 3\r\n"
    "  end\r\n"
    "end\r\n";

class FormDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = fs::temp_directory_path() /
           ("kst_formdocument_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(FDir);
    fs::create_directories(FDir);
  }
  void TearDown() override { fs::remove_all(FDir); }

  String PathOf(const char* name) const { return UTF8ToString((FDir / name).string()); }
  std::string Read(const String& path) const {
    std::ifstream file(fs::path(std::string(StringToUTF8(path))), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  void Write(const String& path, std::string_view bytes) const {
    std::ofstream file(fs::path(std::string(StringToUTF8(path))), std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  fs::path FDir;
};

TEST(FormDocument, DetectsTheEncodingFromTheFirstBytes) {
  struct Case {
    std::string Head;
    TDataFormat Format;
  } cases[] = {
      {std::string("\xFF\x0A\x00\x54", 4), dfResource},
      {std::string("\0\0\0\0\x20\0\0\0\xFF\xFF", 10), dfResource},
      {"TPF0", dfBinary},
      {"TPF", dfBinary},
      {"tpf0", dfText},
      {"TP", dfText},
      {"", dfText},
      {std::string("\0\0\0\0", 4), dfText},
      {"object Form1: TForm1", dfText},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DetectDataFormat(reinterpret_cast<const Byte*>(c.Head.data()), c.Head.size()), c.Format) << c.Head;
}

TEST(FormDocument, BackupNames) {
  EXPECT_EQ(BackupFileName(u"C:\\forms\\a.dfm"), u"C:\\forms\\a.~dfm");
  EXPECT_EQ(BackupFileName(u"C:\\forms\\a"), u"C:\\forms\\a.~");
  EXPECT_EQ(BackupFileName(u"C:\\my.forms\\main.DFM"), u"C:\\my.forms\\main.~DFM");
}

TEST_F(FormDocumentTest, EveryEncodingSavesAndReadsBackTheSameText) {
  for (TDataFormat format : {dfText, dfBinary, dfResource}) {
    TStringList source;
    source.SetTextStr(UTF8ToString(kFormText));
    const String path = PathOf("form.dfm");
    SaveFormFile(path, source, format, false);
    EXPECT_EQ(DetectDataFormat(path), format);
    TStringList loaded;
    EXPECT_EQ(LoadFormFile(path, loaded), format);
    EXPECT_EQ(loaded.Text(), source.Text()) << int(format);
  }
}

TEST_F(FormDocumentTest, ANonAsciiRootClassIsWrappedAndRecognised) {
  TStringList source;
  source.SetTextStr(u"object Fenster: TFenster\u00C4\r\nend\r\n");
  const String path = PathOf("wide.dfm");
  SaveFormFile(path, source, dfResource, false);
  EXPECT_EQ(Read(path).substr(0, 8), std::string("\0\0\0\0\x20\0\0\0", 8));
  TStringList loaded;
  EXPECT_EQ(LoadFormFile(path, loaded), dfResource);
  EXPECT_EQ(loaded.Text(), source.Text());
}

TEST_F(FormDocumentTest, SavingTwiceKeepsThePreviousContentAsBackup) {
  const String path = PathOf("form.dfm");
  Write(path, "first");
  TStringList lines;
  lines.SetTextStr(UTF8ToString(kFormText));
  SaveFormFile(path, lines, dfText, true);
  EXPECT_EQ(Read(PathOf("form.~dfm")), "first");
  const std::string second = Read(path);
  lines.Add(u"");
  SaveFormFile(path, lines, dfText, true);
  EXPECT_EQ(Read(PathOf("form.~dfm")), second);
  EXPECT_NE(Read(path), second);
}

TEST_F(FormDocumentTest, AFailedSaveLeavesFileAndBackupAsTheyWere) {
  const String path = PathOf("form.dfm");
  Write(path, "old");
  Write(PathOf("form.~dfm"), "older");
  TStringList broken;
  broken.SetTextStr(u"object Form1: TForm1\r\n  Left = \r\nend\r\n");
  EXPECT_THROW(SaveFormFile(path, broken, dfBinary, true), Exception);
  EXPECT_EQ(Read(path), "old");
  EXPECT_EQ(Read(PathOf("form.~dfm")), "older");
  // Nothing is left beside them.
  EXPECT_EQ(std::distance(fs::directory_iterator(FDir), fs::directory_iterator()), 2);
}

TEST_F(FormDocumentTest, ADamagedBinaryFileRaisesAndKeepsTheLines) {
  for (const std::string& bytes : {std::string("TPF0\x07TForm1"), std::string("\xFF\x0A\x00\x46", 4)}) {
    const String path = PathOf("damaged.dfm");
    Write(path, bytes);
    TStringList lines;
    lines.Add(u"kept");
    EXPECT_THROW(LoadFormFile(path, lines), Exception);
    EXPECT_EQ(lines.Text(), u"kept\r\n");
  }
}

TEST_F(FormDocumentTest, TextKeepsItsCharacterEncoding) {
  // An ANSI file stays ANSI; a character it cannot hold makes it UTF-8 with a mark.
  const String path = PathOf("ansi.dfm");
  Write(path, "object F: TF\r\n  Caption = 'Caf\xE9'\r\nend\r\n");
  TStringList lines;
  LoadFormFile(path, lines);
  EXPECT_EQ(lines[1], u"  Caption = 'Caf\u00E9'");
  SaveFormFile(path, lines, dfText, false);
  EXPECT_EQ(Read(path), "object F: TF\r\n  Caption = 'Caf\xE9'\r\nend\r\n");

  lines.Put(1, u"  Caption = '\u03A9'");
  SaveFormFile(path, lines, dfText, false);
  EXPECT_EQ(Read(path), "\xEF\xBB\xBFobject F: TF\r\n  Caption = '\xCE\xA9'\r\nend\r\n");

  // A file read with a mark is written with it.
  TStringList utf8;
  LoadFormFile(path, utf8);
  SaveFormFile(path, utf8, dfText, false);
  EXPECT_EQ(Read(path).substr(0, 3), "\xEF\xBB\xBF");
}

TEST_F(FormDocumentTest, AnEmptyFileIsAnEmptyText) {
  const String path = PathOf("empty.dfm");
  Write(path, "");
  TStringList lines;
  EXPECT_EQ(LoadFormFile(path, lines), dfText);
  EXPECT_EQ(lines.Count(), 0);
}

}  // namespace
