// Writing a version resource back through the platform's resource update,
// and the platform's own version functions reading what was written.
#include <windows.h>

#include <gtest/gtest.h>

#include "pe/pereader.h"
#include "rtl/files.h"
#include "rtl/streams.h"
#include "rtl/temp_folder.h"

namespace {

#ifdef KST_PE_FIXTURES
const String kFixtures = u"" KST_PE_FIXTURES;
#else
const String kFixtures;
#endif

TBytes FileBytes(const String& file) {
  TFileStream stream(file, fmOpenRead | fmShareDenyNone);
  return stream.ReadAllBytes();
}

const wchar_t* Wide(const String& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The platform's version functions, from their library.
class PlatformVersion {
 public:
  PlatformVersion() : FLibrary(LoadLibraryW(L"version.dll")) {
    FSize =
        reinterpret_cast<SizeFunction>(reinterpret_cast<void*>(GetProcAddress(FLibrary, "GetFileVersionInfoSizeW")));
    FData = reinterpret_cast<DataFunction>(reinterpret_cast<void*>(GetProcAddress(FLibrary, "GetFileVersionInfoW")));
    FQuery = reinterpret_cast<QueryFunction>(reinterpret_cast<void*>(GetProcAddress(FLibrary, "VerQueryValueW")));
  }
  ~PlatformVersion() { FreeLibrary(FLibrary); }
  PlatformVersion(const PlatformVersion&) = delete;
  PlatformVersion& operator=(const PlatformVersion&) = delete;

  bool Read(const String& file) {
    DWORD handle = 0;
    DWORD size = FSize(Wide(file), &handle);
    if (size == 0) return false;
    FBlock.assign(size, 0);
    return FData(Wide(file), 0, size, FBlock.data()) != FALSE;
  }
  VS_FIXEDFILEINFO Fixed() {
    void* value = nullptr;
    UINT length = 0;
    FQuery(FBlock.data(), L"\\", &value, &length);
    return *static_cast<VS_FIXEDFILEINFO*>(value);
  }
  String Text(const wchar_t* path) {
    void* value = nullptr;
    UINT length = 0;
    if (!FQuery(FBlock.data(), path, &value, &length) || !value) return String();
    return String(static_cast<const Char*>(value));
  }

 private:
  using SizeFunction = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using DataFunction = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  HMODULE FLibrary;
  SizeFunction FSize = nullptr;
  DataFunction FData = nullptr;
  QueryFunction FQuery = nullptr;
  TBytes FBlock;
};

class VersionSave : public ::testing::Test {
 protected:
  void SetUp() override {
    String source = kFixtures + u"fixtureapp64.exe";
    if (kFixtures.empty() || !FileExists(source)) GTEST_SKIP() << "fixture missing";
    FFile = FFolder.File(u"copy.exe");
    ASSERT_TRUE(CopyFileW(Wide(source), Wide(FFile), FALSE));
  }

  TempFolder FFolder;
  String FFile;
};

TEST_F(VersionSave, ThePlatformReadsTheSameAsTheReader) {
  PlatformVersion platform;
  ASSERT_TRUE(platform.Read(FFile));
  TVersionInformation info(FFile);
  VS_FIXEDFILEINFO fixed = platform.Fixed();
  TVersionNumber version = info.FileVersionNumber();
  EXPECT_EQ(fixed.dwFileVersionMS, static_cast<DWORD>(version.Major << 16 | version.Minor));
  EXPECT_EQ(fixed.dwFileVersionLS, static_cast<DWORD>(version.Release << 16 | version.Build));
  EXPECT_EQ(platform.Text(L"\\StringFileInfo\\040904E4\\CompanyName"), info.CompanyName());
  EXPECT_EQ(platform.Text(L"\\StringFileInfo\\040704B0\\CompanyName"), info.StringTables()[1].Values[0].Value);
}

TEST_F(VersionSave, WritesBothTranslationsBack) {
  {
    // The reader keeps no handle on the file, so a loaded file can be updated.
    TPEReader reader;
    reader.SetFileName(FFile);
    TVersionInformation& info = reader.VersionInfo();
    ASSERT_TRUE(info.Valid());
    info.SetFileVersionNumber({9, 8, 7, 6});
    info.SetString(viCompanyName, u"Changed company");
    info.SetStringFileInfoValue(1, u"ProductName", u"Anderes Produkt");
    ASSERT_TRUE(info.Modified());
    EXPECT_TRUE(info.SaveData());
    EXPECT_FALSE(info.Modified());
  }
  TVersionInformation again(FFile);
  ASSERT_TRUE(again.Valid());
  EXPECT_EQ(again.FileVersionNumber(), (TVersionNumber{9, 8, 7, 6}));
  EXPECT_EQ(again.CompanyName(), u"Changed company");
  ASSERT_EQ(again.StringTables().size(), 2u);
  EXPECT_EQ(again.StringTables()[1].Values[1].Value, u"Anderes Produkt");
  EXPECT_EQ(again.ResourceLanguage().Lang, 0x0409);

  PlatformVersion platform;
  ASSERT_TRUE(platform.Read(FFile));
  EXPECT_EQ(platform.Fixed().dwFileVersionMS, 0x00090008u);
  EXPECT_EQ(platform.Text(L"\\StringFileInfo\\040704B0\\ProductName"), u"Anderes Produkt");
}

TEST_F(VersionSave, AFailedSaveKeepsModified) {
  TVersionInformation info(FFile);
  ASSERT_TRUE(info.Valid());
  info.SetFileVersionNumber({2, 0, 0, 0});
  // Another program holds the file open without sharing it.
  HANDLE holder = CreateFileW(Wide(FFile), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(info.SaveData());
  EXPECT_TRUE(info.Modified());
  CloseHandle(holder);
  EXPECT_TRUE(info.SaveData());
  EXPECT_FALSE(info.Modified());
  EXPECT_EQ(TVersionInformation(FFile).FileVersionNumber(), (TVersionNumber{2, 0, 0, 0}));
}

TEST_F(VersionSave, AResourceTooLongForItsLengthsIsNotWritten) {
  const TBytes before = FileBytes(FFile);
  TVersionInformation info(FFile);
  ASSERT_TRUE(info.Valid());
  const String company = info.CompanyName();
  info.SetString(viCompanyName, String(33000, u'x'));
  EXPECT_FALSE(info.SaveData());
  EXPECT_TRUE(info.Modified());
  EXPECT_EQ(FileBytes(FFile), before) << "the file is untouched";
  PlatformVersion platform;
  ASSERT_TRUE(platform.Read(FFile));
  EXPECT_TRUE(platform.Text(L"\\StringFileInfo\\040904E4\\CompanyName") == company) << "the strings still read";
}

}  // namespace
