// Drop effects and the dropped data as another program hands it over.
#include "services/dropformats.h"

#include <gtest/gtest.h>

#include <cstring>

#include "rtl/codepage.h"

namespace {

void PutCardinal(std::vector<Byte>& bytes, size_t at, Cardinal value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<Byte>(value >> (8 * i));
}

// A narrow list holds the names' bytes as they are (each character a byte).
std::vector<Byte> FileList(const std::vector<String>& names, bool wide = true) {
  std::vector<Byte> bytes(20, 0);
  PutCardinal(bytes, 0, 20);
  PutCardinal(bytes, 16, wide ? 1 : 0);
  for (const String& name : names) {
    for (Char c : name) {
      bytes.push_back(static_cast<Byte>(c));
      if (wide) bytes.push_back(static_cast<Byte>(c >> 8));
    }
    bytes.insert(bytes.end(), wide ? 2 : 1, 0);
  }
  bytes.insert(bytes.end(), wide ? 2 : 1, 0);
  return bytes;
}

TEST(DropEffect, PlatformBitsMapByPrecedence) {
  struct Case {
    Cardinal Bits;
    TSvDropEffect Effect;
  } cases[] = {
      {0, deNone},           {1, deCopy}, {3, deCopy}, {2, deMove}, {6, deMove}, {4, deLink}, {0x80000000u, deScroll},
      {0x80000004u, deLink}, {8, deNone}};
  for (const auto& c : cases) EXPECT_EQ(DropEffectFromPlatform(c.Bits), c.Effect) << c.Bits;
  EXPECT_EQ(DropEffectToPlatform(deNone), 0u);
  EXPECT_EQ(DropEffectToPlatform(deCopy), 1u);
  EXPECT_EQ(DropEffectToPlatform(deMove), 2u);
  EXPECT_EQ(DropEffectToPlatform(deLink), 4u);
  EXPECT_EQ(DropEffectToPlatform(deScroll), 0x80000000u);
}

TEST(DroppedFiles, NamesComeInTheListsOrder) {
  const std::vector<String> names{u"C:\\a.dfm", u"C:\\b c.dfm", u"C:\\\u00e9.dfm"};
  auto wide = FileList(names);
  EXPECT_EQ(DroppedFileNames(wide.data(), wide.size()), names);
  auto narrow = FileList({u"C:\\x.dfm"}, false);
  EXPECT_EQ(DroppedFileNames(narrow.data(), narrow.size()), std::vector<String>{u"C:\\x.dfm"});
}

TEST(DroppedFiles, NarrowListsAreInTheSystemsAnsiCodePage) {
  struct Case {
    Word CodePage;
    const char16_t* Bytes;  // each character one byte of the list
    const char16_t* Name;
  } cases[] = {
      {1252, u"C:\\price\x80.dfm", u"C:\\price\u20ac.dfm"},
      {1251, u"C:\\\xcf\xf0\xe8.dfm", u"C:\\\u041f\u0440\u0438.dfm"},
      {1250, u"C:\\\x8a.dfm", u"C:\\\u0160.dfm"},
  };
  for (const Case& c : cases) {
    SetCurrentCodePage(c.CodePage);
    auto narrow = FileList({c.Bytes, u"C:\\b.dfm"}, false);
    EXPECT_EQ(DroppedFileNames(narrow.data(), narrow.size()), (std::vector<String>{c.Name, u"C:\\b.dfm"}))
        << c.CodePage;
  }
  SetCurrentCodePage(0);
}

TEST(DroppedFiles, DamagedListsEndWithoutReadingPastTheData) {
  auto list = FileList({u"C:\\a.dfm", u"C:\\b.dfm"});
  // Cut inside the second name: only the first is whole.
  auto cut = std::vector<Byte>(list.begin(), list.begin() + 20 + 18 + 6);
  EXPECT_EQ(DroppedFileNames(cut.data(), cut.size()), std::vector<String>{u"C:\\a.dfm"});
  auto badOffset = list;
  PutCardinal(badOffset, 0, 0xFFFFFFF0u);
  EXPECT_TRUE(DroppedFileNames(badOffset.data(), badOffset.size()).empty());
  auto intoHeader = list;
  PutCardinal(intoHeader, 0, 4);
  EXPECT_TRUE(DroppedFileNames(intoHeader.data(), intoHeader.size()).empty());
  EXPECT_TRUE(DroppedFileNames(list.data(), 10).empty());
  EXPECT_TRUE(DroppedFileNames(nullptr, 0).empty());
}

TEST(FileDescriptors, CountIsClampedToTheDescriptorsPresent) {
  std::vector<Byte> group(4 + 2 * kFileDescriptorSize, 0);
  PutCardinal(group, 0, 1000000);
  const char16_t first[] = u"first.txt";
  std::memcpy(&group[4 + kFileDescriptorNameOffset], first, sizeof first);
  // The second name fills its room without a terminator.
  for (size_t i = 0; i < kFileDescriptorNameChars; ++i)
    group[4 + kFileDescriptorSize + kFileDescriptorNameOffset + 2 * i] = 'x';
  EXPECT_EQ(FileDescriptorCount(group.data(), group.size()), 2u);
  auto names = FileDescriptorNames(group.data(), group.size());
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0], u"first.txt");
  EXPECT_EQ(names[1], String(kFileDescriptorNameChars, u'x'));
  EXPECT_EQ(FileDescriptorCount(group.data(), 3), 0u);
  EXPECT_EQ(FileDescriptorCount(group.data(), 4 + kFileDescriptorSize - 1), 0u);
}

}  // namespace
