// The associations in the real registry of the system, under the user's classes key.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/filetypes.h"

namespace {

String ReadDefault(const wchar_t* key) {
  wchar_t buffer[512] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_CURRENT_USER, key, nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return u"<none>";
  return String(reinterpret_cast<const char16_t*>(buffer));
}

TEST(FileTypesRegistry, AssociationsAppearUnderTheUsersClassesAndGoAgain) {
  TFileTypeKey where{PlatformRegistry()};
  RegisterFileType(where, u"kstdfm", u"", u"Kestrum test form", u"C:\\Tools\\kestrum.exe", u"C:\\Tools\\kestrum.exe,1");
  EXPECT_EQ(ReadDefault(L"Software\\Classes\\.kstdfm"), u"kstdfm_auto_file");
  EXPECT_EQ(ReadDefault(L"Software\\Classes\\kstdfm_auto_file\\shell\\open\\command"),
            u"\"C:\\Tools\\kestrum.exe\" \"%1\"");
  EXPECT_EQ(GetFileTypeCommand(where, u"kstdfm"), u"C:\\Tools\\kestrum.exe");
  UnregisterFileType(where, u"kstdfm");
  EXPECT_EQ(ReadDefault(L"Software\\Classes\\.kstdfm"), u"<none>");
  EXPECT_EQ(ReadDefault(L"Software\\Classes\\kstdfm_auto_file"), u"<none>");
}

}  // namespace
