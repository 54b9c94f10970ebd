#include "rtl/files.h"

#include <gtest/gtest.h>

#include "rtl/exceptions.h"
#include "rtl/temp_folder.h"
#include "rtl/unicode.h"

namespace {

struct PathCase {
  const char16_t* name;
  const char16_t* drive;
  const char16_t* path;
  const char16_t* dir;
  const char16_t* file;
  const char16_t* ext;
  const char16_t* changedExt;  // ChangeFileExt(name, ".new")
};

class PathParts : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathParts, FollowTheWindowsRulesOnEveryBuild) {
  const PathCase& c = GetParam();
  const String name = c.name;
  EXPECT_EQ(ExtractFileDrive(name), c.drive);
  EXPECT_EQ(ExtractFilePath(name), c.path);
  EXPECT_EQ(ExtractFileDir(name), c.dir);
  EXPECT_EQ(ExtractFileName(name), c.file);
  EXPECT_EQ(ExtractFileExt(name), c.ext);
  EXPECT_EQ(ChangeFileExt(name, u".new"), c.changedExt);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PathParts,
    ::testing::Values(PathCase{u"C:\\a\\b.txt", u"C:", u"C:\\a\\", u"C:\\a", u"b.txt", u".txt", u"C:\\a\\b.new"},
                      PathCase{u"C:\\b.txt", u"C:", u"C:\\", u"C:\\", u"b.txt", u".txt", u"C:\\b.new"},
                      PathCase{u"C:b.txt", u"C:", u"C:", u"C:", u"b.txt", u".txt", u"C:b.new"},
                      PathCase{u"\\\\srv\\share\\d\\f.x", u"\\\\srv\\share", u"\\\\srv\\share\\d\\",
                               u"\\\\srv\\share\\d", u"f.x", u".x", u"\\\\srv\\share\\d\\f.new"},
                      PathCase{u"\\\\srv\\share", u"\\\\srv\\share", u"\\\\srv\\", u"\\\\srv", u"share", u"",
                               u"\\\\srv\\share.new"},
                      PathCase{u"a/b.tar.gz", u"", u"a/", u"a", u"b.tar.gz", u".gz", u"a/b.tar.new"},
                      PathCase{u"dir.x\\file", u"", u"dir.x\\", u"dir.x", u"file", u"", u"dir.x\\file.new"},
                      PathCase{u"\\file.", u"", u"\\", u"\\", u"file.", u".", u"\\file.new"},
                      PathCase{u".hidden", u"", u"", u"", u".hidden", u".hidden", u".new"},
                      PathCase{u"", u"", u"", u"", u"", u"", u".new"}));

TEST(PathDelimiters, AreAddedAndRemovedOnce) {
  struct Case {
    const char16_t* path;
    const char16_t* included;
    const char16_t* excluded;
  } cases[] = {
      {u"", u"\\", u""},
      {u"C:\\x", u"C:\\x\\", u"C:\\x"},
      {u"C:\\", u"C:\\", u"C:"},
      {u"a/", u"a/", u"a"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IncludeTrailingPathDelimiter(c.path), c.included) << StringToUTF8(c.path);
    EXPECT_EQ(ExcludeTrailingPathDelimiter(c.path), c.excluded) << StringToUTF8(c.path);
  }
}

TEST(ExpandFileName, ResolvesDotsInWindowsNames) {
  struct Case {
    const char16_t* name;
    const char16_t* expanded;
  } cases[] = {
      {u"C:\\a\\..\\b\\.\\c", u"C:\\b\\c"},
      {u"C:/a/b", u"C:\\a\\b"},
      {u"C:\\a\\", u"C:\\a\\"},
      {u"C:\\..\\..", u"C:\\"},
      {u"\\\\srv\\share\\a\\..\\..\\b", u"\\\\srv\\share\\b"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandFileName(c.name), c.expanded) << StringToUTF8(c.name);

  const String relative = ExpandFileName(u"sub\\..\\x.txt");
  EXPECT_EQ(ExtractFileName(relative), u"x.txt");
  EXPECT_TRUE(DirectoryExists(ExtractFileDir(relative)));
}

TEST(FileSystem, FilesFoldersRenamesAndDeletes) {
  TempFolder folder;
  const String deep = folder.File(u"a\\b/c");
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_FALSE(FileExists(deep));       // a folder is no file
  EXPECT_TRUE(ForceDirectories(deep));  // already there

  const String file = folder.File(u"f.txt");
  { TFileStream(file, fmCreate).WriteBuffer("x", 1); }
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_FALSE(ForceDirectories(file + u"\\below"));

  const String other = folder.File(u"g.txt");
  { TFileStream(other, fmCreate); }
  EXPECT_FALSE(RenameFile(file, other));  // never replaces
  EXPECT_TRUE(DeleteFile(other));
  EXPECT_TRUE(RenameFile(file, other));
  EXPECT_FALSE(FileExists(file));
  EXPECT_FALSE(DeleteFile(deep));  // not a folder
  EXPECT_FALSE(DeleteFile(file));
  EXPECT_TRUE(RemoveDir(deep));
  EXPECT_FALSE(DirectoryExists(deep));
}

TEST(FileSystem, RaiseLastOSErrorCarriesCodeAndText) {
  try {
    RaiseLastOSError(2);
    FAIL();
  } catch (const EOSError& e) {
    EXPECT_EQ(e.Message(), u"System Error.  Code: 2.\r\n" + SysErrorMessage(2));
  }
}

}  // namespace
