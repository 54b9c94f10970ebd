#include "services/fileversion.h"

#include <gtest/gtest.h>

#include <map>

#include "services/versionblock_builder.h"

namespace {

TBytes SampleBlock() {
  TVSFixedFileInfo fixed = SampleFixedInfo();
  fixed.dwFileFlags = 0x05 | 0x40;  // debug, patched and a bit outside the mask
  return SerializeVersionNode(VersionRoot(
      {TVersionNode::Folder(u"StringFileInfo", {StringTable(u"040904B0", {{u"CompanyName", u"Obrix"},
                                                                          {u"FileVersion", u"1, 2, 3, 4"},
                                                                          {u"ProductName", u"Kestrum"},
                                                                          {u"ProductVersion", u" 6 . 0 "},
                                                                          {u"Build", u"nightly"}}),
                                                StringTable(u"0x040704E4", {{u"ProductName", u"Kestrum DE"}})}),
       Translations({0x04B00409, 0x04E40407})},
      fixed));
}

std::unique_ptr<TUtFileVersionInfo> Parse(const TBytes& block) {
  return TUtFileVersionInfo::Attach(block.data(), block.size());
}

template <typename F>
String VersionErrorOf(F&& action) {
  try {
    action();
  } catch (const EUtFileVersionInfoError& e) {
    return e.Message();
  }
  return u"<no EUtFileVersionInfoError>";
}

TEST(FileVersionInfo, StandardAndCustomValues) {
  const auto info = Parse(SampleBlock());
  EXPECT_EQ(info->CompanyName(), u"Obrix");
  EXPECT_EQ(info->ProductName(), u"Kestrum");
  EXPECT_EQ(info->Comments(), u"");
  EXPECT_EQ(info->GetCustomFieldValue(u"build"), u"nightly");
  EXPECT_EQ(VersionErrorOf([&] { info->GetCustomFieldValue(u""); }), u"No value was supplied");
  EXPECT_EQ(VersionErrorOf([&] { info->GetCustomFieldValue(u"Nope"); }), u"The value Nope was not found.");
  EXPECT_EQ(info->Items().Count(), 5);
  EXPECT_EQ(info->Items()[0], u"CompanyName=Obrix");
}

TEST(FileVersionInfo, StandardKeysIgnoreCase) {
  const auto info = Parse(SerializeVersionNode(VersionRoot(
      {TVersionNode::Folder(u"StringFileInfo", {StringTable(u"040904B0", {{u"productname", u"lower"}})})})));
  EXPECT_EQ(info->ProductName(), u"lower");
}

TEST(FileVersionInfo, VersionParts) {
  const auto info = Parse(SampleBlock());
  EXPECT_EQ(info->FileVersionMajor(), u"1");
  EXPECT_EQ(info->FileVersionMinor(), u"2");
  EXPECT_EQ(info->FileVersionRelease(), u"3");
  EXPECT_EQ(info->FileVersionBuild(), u"4");
  EXPECT_EQ(info->ProductVersionMajor(), u"6");
  EXPECT_EQ(info->ProductVersionMinor(), u"0");
  EXPECT_EQ(info->ProductVersionRelease(), u"");
  EXPECT_EQ(info->ProductVersionBuild(), u"0");
  EXPECT_EQ(info->BinFileVersion(), u"1.2.3.4");
  EXPECT_EQ(info->BinProductVersion(), u"6.0.0.7");
}

TEST(FileVersionInfo, FixedRecordAndFlags) {
  const auto info = Parse(SampleBlock());
  EXPECT_EQ(info->FixedInfo().dwSignature, kVSFixedFileInfoSignature);
  EXPECT_EQ(info->FileOS(), 0x40004u);
  EXPECT_EQ(info->FileType(), 1u);
  EXPECT_EQ(info->FileFlags(), (1u << ffDebug) | (1u << ffPatched));
}

TEST(FileVersionInfo, LanguagesAndTranslations) {
  const auto info = Parse(SampleBlock());
  ASSERT_EQ(info->LanguageCount(), 2);
  EXPECT_EQ(info->Languages(0), (TLangIdRec{0x0409, 0x04B0}));
  // The "0x" before the digits of the second table is not part of them.
  EXPECT_EQ(info->Languages(1), (TLangIdRec{0x0407, 0x04E4}));
  EXPECT_EQ(VersionLanguageId(info->Languages(0)), u"040904B0");
  ASSERT_EQ(info->TranslationCount(), 2);
  EXPECT_TRUE(info->TranslationMatchesLanguages(true));
  info->SetLanguageIndex(1);
  EXPECT_EQ(info->ProductName(), u"Kestrum DE");
  EXPECT_EQ(info->CompanyName(), u"");
  EXPECT_EQ(info->Items().Count(), 1);
  EXPECT_EQ(VersionErrorOf([&] { info->SetLanguageIndex(2); }), u"Illegal language index");
  EXPECT_EQ(VersionErrorOf([&] { info->SetLanguageIndex(-1); }), u"Illegal language index");
  EXPECT_EQ(info->LanguageIndex(), 1);
}

TEST(FileVersionInfo, TranslationMatching) {
  const auto one = Parse(SerializeVersionNode(VersionRoot(
      {TVersionNode::Folder(u"StringFileInfo", {StringTable(u"040904B0", {}), StringTable(u"040704E4", {})}),
       Translations({0x04B00409})})));
  EXPECT_FALSE(one->TranslationMatchesLanguages(true));
  EXPECT_TRUE(one->TranslationMatchesLanguages(false));
  const auto other = Parse(SerializeVersionNode(VersionRoot(
      {TVersionNode::Folder(u"StringFileInfo", {StringTable(u"040904B0", {})}), Translations({0x04E40407})})));
  EXPECT_FALSE(other->TranslationMatchesLanguages(false));
  const auto none = Parse(SerializeVersionNode(VersionRoot({})));
  EXPECT_TRUE(none->TranslationMatchesLanguages(true));
  EXPECT_EQ(none->LanguageCount(), 0);
  EXPECT_EQ(none->ProductName(), u"");
}

struct BinaryCase {
  const char* name;
  TBytes bytes;
  String expected;
};

class FileVersionBinaryValue : public ::testing::TestWithParam<BinaryCase> {};

TEST_P(FileVersionBinaryValue, ReadsOnlyItsOwnBytes) {
  TVersionNode value = TVersionNode::Binary(u"Value", GetParam().bytes);
  // Bytes that follow the value inside its block must not leak into it.
  value.Value.insert(value.Value.end(), {0xEE, 0xEE, 0xEE, 0xEE});
  value.ValueLength = static_cast<int>(GetParam().bytes.size());
  TVersionNode table = TVersionNode::Folder(u"040904B0", {value});
  const auto info = Parse(SerializeVersionNode(VersionRoot({TVersionNode::Folder(u"StringFileInfo", {table})})));
  EXPECT_EQ(info->GetCustomFieldValue(u"Value"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FileVersionBinaryValue,
                         ::testing::Values(BinaryCase{"OneByte", {0xAB}, u"$AB"},
                                           BinaryCase{"TwoBytes", {0x34, 0x12}, u"$1234"},
                                           BinaryCase{"ThreeBytes", {0x56, 0x34, 0x12}, u"$123456"},
                                           BinaryCase{"FourBytes", {0x78, 0x56, 0x34, 0x12}, u"$12345678"},
                                           BinaryCase{"Empty", {}, u""},
                                           BinaryCase{"LongIsText", {u'a', 0, u'b', 0, 0, 0}, u"ab"}),
                         [](const auto& info) { return info.param.name; });

TEST(FileVersionInfo, TextValuesCutAtZeroAndEmpty) {
  TVersionNode cut = TVersionNode::Text(u"Cut", u"ab");
  cut.Value = {u'a', 0, 0, 0, u'b', 0, 0, 0};
  cut.ValueLength = 4;
  TVersionNode empty = TVersionNode::Text(u"Empty", u"");
  empty.Value.clear();
  empty.ValueLength = 0;
  const auto info = Parse(SerializeVersionNode(
      VersionRoot({TVersionNode::Folder(u"StringFileInfo", {TVersionNode::Folder(u"040904B0", {cut, empty})})})));
  EXPECT_EQ(info->GetCustomFieldValue(u"Cut"), u"a");
  EXPECT_EQ(info->GetCustomFieldValue(u"Empty"), u"");
}

TEST(FileVersionInfo, RootKeyIgnoresCaseAndUnknownChildEndsTheWalk) {
  TVersionNode root = VersionRoot({TVersionNode::Folder(u"Other", {}), Translations({0x04B00409})});
  root.Key = u"vs_version_info";
  const auto info = Parse(SerializeVersionNode(root));
  EXPECT_EQ(info->TranslationCount(), 0);
}

TEST(FileVersionInfo, SixteenBitForm) {
  auto ansi = [](String key, std::string text) {
    TVersionNode node{std::move(key), 1, TBytes(text.begin(), text.end()), -1, {}};
    node.Value.push_back(0);
    return node;
  };
  const TVersionNode root = VersionRoot({TVersionNode::Folder(
      u"StringFileInfo", {TVersionNode::Folder(u"040904E4", {ansi(u"ProductName", "Old\xE9")})})});
  const auto info = Parse(SerializeVersionNode(root, false));
  EXPECT_EQ(info->ProductName(), u"Old\u00E9");
  EXPECT_EQ(info->Languages(0), (TLangIdRec{0x0409, 0x04E4}));
}

TEST(FileVersionInfo, TrailingPaddingMustBeZero) {
  TBytes block = SampleBlock();
  // A zero length where a child would start: the rest of the root is padding.
  TBytes padded = SerializeVersionNode(VersionRoot({}));
  padded.insert(padded.end(), 8, 0);
  PutWord(padded, 0, static_cast<Word>(padded.size()));
  EXPECT_NO_THROW(Parse(padded));
  padded.back() = 1;
  EXPECT_THROW(Parse(padded), EUtFileVersionInfoError);
}

struct MalformedCase {
  const char* name;
  TBytes block;
};

TBytes WithWord(TBytes block, size_t at, Word value) {
  PutWord(block, at, value);
  return block;
}

std::vector<MalformedCase> MalformedCases() {
  const TBytes sample = SampleBlock();
  TVSFixedFileInfo badSignature = SampleFixedInfo();
  badSignature.dwSignature = 0xFEEF04BC;
  TVersionNode shortFixed = VersionRoot({});
  shortFixed.Value.resize(48);
  TVersionNode badTableKey = VersionRoot({TVersionNode::Folder(u"StringFileInfo", {StringTable(u"0409", {})})});
  TVersionNode tableWithValue = VersionRoot({TVersionNode::Folder(u"StringFileInfo", {StringTable(u"040904B0", {})})});
  tableWithValue.Children[0].Children[0].ValueLength = 2;
  TVersionNode badType = VersionRoot(
      {TVersionNode::Folder(u"StringFileInfo", {TVersionNode::Folder(u"040904B0", {TVersionNode::Text(u"X", u"y")})})});
  badType.Children[0].Children[0].Children[0].Type = 2;
  TVersionNode longText = VersionRoot(
      {TVersionNode::Folder(u"StringFileInfo", {TVersionNode::Folder(u"040904B0", {TVersionNode::Text(u"X", u"y")})})});
  longText.Children[0].Children[0].Children[0].ValueLength = 40;
  return {
      {"Empty", {}},
      {"TooShort", TBytes(sample.begin(), sample.begin() + 5)},
      {"WrongRootKey",
       SerializeVersionNode(TVersionNode::Binary(u"VS_VERSION_INF0", FixedInfoBytes(SampleFixedInfo())))},
      {"WrongSignature", SerializeVersionNode(VersionRoot({}, badSignature))},
      {"ShortFixedRecord", SerializeVersionNode(shortFixed)},
      {"RootLongerThanData", WithWord(sample, 0, static_cast<Word>(sample.size() + 4))},
      {"RootShorterThanHeader", WithWord(sample, 0, 5)},
      {"ValueBeyondRoot", WithWord(sample, 2, 0x7FFF)},
      {"TableKeyNotEightDigits", SerializeVersionNode(badTableKey)},
      {"TableWithValue", SerializeVersionNode(tableWithValue)},
      {"UnknownValueType", SerializeVersionNode(badType)},
      {"TextBeyondItsBlock", SerializeVersionNode(longText)},
  };
}

class FileVersionMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(FileVersionMalformed, HasNoVersionInformation) {
  EXPECT_EQ(VersionErrorOf([&] { Parse(GetParam().block); }), u"File contains no version information");
}

INSTANTIATE_TEST_SUITE_P(Cases, FileVersionMalformed, ::testing::ValuesIn(MalformedCases()),
                         [](const auto& info) { return info.param.name; });

TEST(FileVersionInfo, EveryTruncationIsRefused) {
  const TBytes block = SampleBlock();
  for (size_t size = 0; size < block.size(); ++size) {
    EXPECT_THROW(Parse(TBytes(block.begin(), block.begin() + size)), EUtFileVersionInfoError) << size;
  }
}

TEST(FileVersionInfo, EveryLengthWordChangedStaysInBounds) {
  // Each 16-bit word set to a range of values: a result or the error, nothing else.
  const TBytes block = SampleBlock();
  for (size_t at = 0; at + 1 < block.size(); at += 2) {
    for (const Word value : {Word{0}, Word{1}, Word{3}, Word{7}, Word{0x40}, Word{0xFFFF}}) {
      try {
        Parse(WithWord(block, at, value));
      } catch (const EUtFileVersionInfoError&) {
      }
    }
  }
}

class TFakeVersionSource final : public IVersionInfoSource {
 public:
  std::map<String, TBytes> Files;  // an empty block: the file has none
  bool FileExists(const String& fileName) const override { return Files.count(fileName) != 0; }
  bool ReadVersionBlock(const String& fileName, TBytes& block) const override {
    const auto found = Files.find(fileName);
    if (found == Files.end() || found->second.empty()) return false;
    block = found->second;
    return true;
  }
};

TEST(FileVersionInfo, FromFiles) {
  TFakeVersionSource source;
  source.Files[u"C:\\app.exe"] = SampleBlock();
  source.Files[u"C:\\plain.txt"] = {};
  EXPECT_EQ(TUtFileVersionInfo(u"C:\\app.exe", source).ProductName(), u"Kestrum");
  EXPECT_EQ(VersionErrorOf([&] { TUtFileVersionInfo(u"C:\\plain.txt", source); }),
            u"File contains no version information");
  EXPECT_EQ(VersionErrorOf([&] { TUtFileVersionInfo(u"C:\\gone.exe", source); }),
            u"The file C:\\gone.exe does not exist");
  EXPECT_TRUE(FileHasVersionInfo(u"C:\\app.exe", source));
  EXPECT_FALSE(FileHasVersionInfo(u"C:\\plain.txt", source));
  TVSFixedFileInfo fixed;
  EXPECT_TRUE(ReadFixedVersionRecord(u"C:\\app.exe", fixed, source));
  EXPECT_EQ(fixed.dwFileVersionLS, 0x00030004u);
  EXPECT_FALSE(ReadFixedVersionRecord(u"C:\\plain.txt", fixed, source));
}

TEST(FileVersionInfo, FixedRecordStandsAlone) {
  TFakeVersionSource source;
  TVSFixedFileInfo otherSignature = SampleFixedInfo();
  otherSignature.dwSignature = 0x12345678;
  source.Files[u"C:\\signature.exe"] = SerializeVersionNode(VersionRoot({}, otherSignature));
  TBytes brokenTables = SampleBlock();
  // The first child's length runs past the block.
  ASSERT_GT(brokenTables.size(), 96u);
  brokenTables[92] = 0xFF;
  brokenTables[93] = 0xFF;
  source.Files[u"C:\\tables.exe"] = brokenTables;
  TVersionNode shortRecord = VersionRoot({});
  shortRecord.Value.resize(48);
  source.Files[u"C:\\short.exe"] = SerializeVersionNode(shortRecord);
  for (const String name : {u"C:\\signature.exe", u"C:\\tables.exe"}) {
    EXPECT_EQ(VersionErrorOf([&] { TUtFileVersionInfo(name, source); }), u"File contains no version information")
        << "the full reader refuses it";
    TVSFixedFileInfo fixed;
    EXPECT_TRUE(ReadFixedVersionRecord(name, fixed, source));
    EXPECT_EQ(fixed.dwFileVersionLS, 0x00030004u);
  }
  TVSFixedFileInfo fixed;
  EXPECT_TRUE(ReadFixedVersionRecord(u"C:\\signature.exe", fixed, source));
  EXPECT_EQ(fixed.dwSignature, 0x12345678u);
  EXPECT_FALSE(ReadFixedVersionRecord(u"C:\\short.exe", fixed, source)) << "only a 52-byte record";
}

TEST(GuidText, MemoryLayout) {
  const TGUID guid{0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE, 1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(GuidText(guid), u"{12345678-9ABC-DEF0-0102-030405060708}");
}

}  // namespace
