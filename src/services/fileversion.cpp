#include "services/fileversion.h"

#include "rtl/codepage.h"
#include "rtl/format.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"

namespace {

constexpr const char16_t* kVersionKeyNames[] = {
    u"Comments",        u"CompanyName",      u"FileDescription", u"FileVersion",    u"InternalName", u"LegalCopyright",
    u"LegalTradeMarks", u"OriginalFilename", u"ProductName",     u"ProductVersion", u"SpecialBuild", u"PrivateBuild"};

// A malformed block; turned into the one message the reader gives.
struct TMalformedBlock {};

[[noreturn]] void Malformed() {
  throw TMalformedBlock{};
}

size_t Align4(size_t offset) {
  return (offset + 3) & ~size_t{3};
}

bool IsHexDigit(Char c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

Word HexWord(StringView digits) {
  Word value = 0;
  for (const Char c : digits) {
    const int digit = c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10;
    value = static_cast<Word>(value * 16 + digit);
  }
  return value;
}

// "0x" goes wherever it stands, then everything that is no hexadecimal digit.
String CleanTableKey(StringView key) {
  String text(key);
  for (size_t found; (found = text.find(u"0x")) != String::npos;) text.erase(found, 2);
  String digits;
  for (const Char c : text) {
    if (IsHexDigit(c)) digits += c;
  }
  return digits;
}

// The text between the (n-1)-th and n-th dot; n = 4 takes what follows the last one.
String DottedPart(String text, int part) {
  TextReplaceCharInPlace(text, u',', u'.');
  if (part == 4) {
    const size_t last = text.rfind(u'.');
    return last == String::npos ? String() : Trim(StringView(text).substr(last + 1));
  }
  size_t start = 0;
  for (int i = 1; i < part; ++i) {
    const size_t dot = text.find(u'.', start);
    if (dot == String::npos) return String();
    start = dot + 1;
  }
  const size_t end = text.find(u'.', start);
  return Trim(StringView(text).substr(start, end == String::npos ? String::npos : end - start));
}

}  // namespace

// Reads the tree of blocks with every length checked against the bytes of the
// block that holds it.
class TUtFileVersionInfo::TParser {
 public:
  TParser(const TBytes& block, TUtFileVersionInfo& info) : FBlock(block), FInfo(info) {}

  void Run() {
    THeader root = ReadRootFixedInfo();
    if (!SameText(root.Key, u"VS_VERSION_INFO")) Malformed();
    if (FInfo.FFixedInfo.dwSignature != kVSFixedFileInfoSignature) Malformed();
    for (size_t pos = root.ChildrenStart; pos < root.End;) {
      THeader child;
      if (!ReadHeader(pos, root.End, child)) break;
      if (SameText(child.Key, u"StringFileInfo")) {
        ReadStringTables(child);
      } else if (SameText(child.Key, u"VarFileInfo")) {
        ReadTranslations(child);
      } else {
        break;
      }
      pos = Align4(child.End);
    }
  }

 private:
  struct THeader {
    size_t End = 0;
    Word ValueLength = 0;
    Word Type = 0;
    String Key;
    size_t ValueStart = 0;
    size_t ValueEnd = 0;
    size_t ChildrenStart = 0;
  };

  Word Word16(size_t offset) const { return static_cast<Word>(FBlock[offset] | (FBlock[offset + 1] << 8)); }
  Cardinal Word32(size_t offset) const { return Word16(offset) | (Cardinal{Word16(offset + 2)} << 16); }

  // False at padding that runs to the end of the root; malformed otherwise.
  bool ReadHeader(size_t pos, size_t limit, THeader& header) const {
    const size_t fixedSize = FWide ? 6 : 4;
    if (pos + 2 > limit) Malformed();
    const Word length = Word16(pos);
    if (length == 0) {
      for (size_t i = pos; i < FRootEndOr(limit); ++i) {
        if (FBlock[i] != 0) Malformed();
      }
      return false;
    }
    if (length < fixedSize || length > limit - pos) Malformed();
    header.End = pos + length;
    header.ValueLength = Word16(pos + 2);
    size_t keyEnd = pos + fixedSize;
    header.Key.clear();
    if (FWide) {
      header.Type = Word16(pos + 4);
      for (;; keyEnd += 2) {
        if (keyEnd + 2 > header.End) Malformed();
        const Char c = Word16(keyEnd);
        if (c == 0) break;
        header.Key += c;
      }
      keyEnd += 2;
    } else {
      header.Type = 1;
      AnsiString key;
      for (;; ++keyEnd) {
        if (keyEnd >= header.End) Malformed();
        if (FBlock[keyEnd] == 0) break;
        key += static_cast<char>(FBlock[keyEnd]);
      }
      ++keyEnd;
      header.Key = AnsiToString(key);
    }
    const size_t valueBytes = FWide && header.Type == 1 ? size_t{header.ValueLength} * 2 : header.ValueLength;
    header.ValueStart = std::min(Align4(keyEnd), header.End);
    if (valueBytes > header.End - header.ValueStart) Malformed();
    header.ValueEnd = header.ValueStart + valueBytes;
    header.ChildrenStart = std::min(Align4(header.ValueEnd), header.End);
    return true;
  }

  // The root header and its 52-byte fixed record, whatever else the block holds.
 public:
  THeader ReadRootFixedInfo() {
    if (FBlock.size() < 6) Malformed();
    FWide = Word16(4) < 2;
    THeader root;
    if (!ReadHeader(0, FBlock.size(), root)) Malformed();
    FRootEnd = root.End;
    if (root.ValueLength != kVSFixedFileInfoSize || root.ValueEnd - root.ValueStart != kVSFixedFileInfoSize) {
      Malformed();
    }
    ReadFixedInfo(root.ValueStart);
    return root;
  }

 private:
  size_t FRootEndOr(size_t limit) const { return FRootEnd != 0 ? FRootEnd : limit; }

  void ReadFixedInfo(size_t offset) {
    Cardinal* fields[] = {
        &FInfo.FFixedInfo.dwSignature,     &FInfo.FFixedInfo.dwStrucVersion,     &FInfo.FFixedInfo.dwFileVersionMS,
        &FInfo.FFixedInfo.dwFileVersionLS, &FInfo.FFixedInfo.dwProductVersionMS, &FInfo.FFixedInfo.dwProductVersionLS,
        &FInfo.FFixedInfo.dwFileFlagsMask, &FInfo.FFixedInfo.dwFileFlags,        &FInfo.FFixedInfo.dwFileOS,
        &FInfo.FFixedInfo.dwFileType,      &FInfo.FFixedInfo.dwFileSubtype,      &FInfo.FFixedInfo.dwFileDateMS,
        &FInfo.FFixedInfo.dwFileDateLS};
    for (Cardinal* field : fields) {
      *field = Word32(offset);
      offset += 4;
    }
  }

  void ReadStringTables(const THeader& fileInfo) {
    for (size_t pos = fileInfo.ChildrenStart; pos < fileInfo.End;) {
      THeader table;
      if (!ReadHeader(pos, fileInfo.End, table)) return;
      const String digits = CleanTableKey(table.Key);
      if (table.ValueLength != 0 || digits.size() != 8) Malformed();
      const auto language = static_cast<Integer>(FInfo.FLanguages.size());
      FInfo.FLanguages.push_back(
          TLangIdRec{HexWord(StringView(digits).substr(0, 4)), HexWord(StringView(digits).substr(4, 4))});
      for (size_t itemPos = table.ChildrenStart; itemPos < table.End;) {
        THeader item;
        if (!ReadHeader(itemPos, table.End, item)) return;
        FInfo.FItemList.push_back(TItem{item.Key, ItemValue(item), language});
        itemPos = Align4(item.End);
      }
      pos = Align4(table.End);
    }
  }

  String ItemValue(const THeader& item) const {
    switch (item.Type) {
      case 1: return FWide ? WideText(item.ValueStart, item.ValueEnd) : AnsiText(item.ValueStart, item.ValueEnd);
      case 0:
        if (item.ValueLength >= 1 && item.ValueLength <= 4) {
          // Only the value's own bytes make the number.
          UInt64 value = 0;
          for (size_t i = 0; i < item.ValueLength; ++i) value |= UInt64{FBlock[item.ValueStart + i]} << (8 * i);
          return u"$" + IntToHex(static_cast<Cardinal>(value), 2 * item.ValueLength);
        }
        return FWide && item.ValueLength != 0 ? WideText(item.ValueStart, item.ValueEnd) : String();
      default: Malformed();
    }
  }

  // UTF-16 text up to its first zero or the end of the value.
  String WideText(size_t start, size_t end) const {
    String text;
    for (size_t i = start; i + 2 <= end; i += 2) {
      const Char c = Word16(i);
      if (c == 0) break;
      text += c;
    }
    return text;
  }

  String AnsiText(size_t start, size_t end) const {
    AnsiString text;
    for (size_t i = start; i < end && FBlock[i] != 0; ++i) text += static_cast<char>(FBlock[i]);
    return AnsiToString(text);
  }

  void ReadTranslations(const THeader& varInfo) {
    if (varInfo.ChildrenStart >= varInfo.End) return;
    THeader entry;
    if (!ReadHeader(varInfo.ChildrenStart, varInfo.End, entry)) return;
    if (!SameText(entry.Key, u"Translation")) return;
    for (size_t pos = entry.ValueStart; pos + 4 <= entry.ValueEnd; pos += 4) {
      FInfo.FTranslations.push_back(TLangIdRec{Word16(pos), Word16(pos + 2)});
    }
  }

  const TBytes& FBlock;
  TUtFileVersionInfo& FInfo;
  bool FWide = true;
  size_t FRootEnd = 0;
};

const char16_t* VersionKeyName(TVersionKey key) {
  return kVersionKeyNames[key - vkComments];
}

TUtFileVersionInfo::TUtFileVersionInfo(const String& fileName, const IVersionInfoSource& source) {
  if (!source.FileExists(fileName)) throw EUtFileVersionInfoError(Format(kUtFileNotExists, {fileName}));
  TBytes block;
  if (!source.ReadVersionBlock(fileName, block)) throw EUtFileVersionInfoError(kUtNoVersionInfo);
  Parse(std::move(block));
}

std::unique_ptr<TUtFileVersionInfo> TUtFileVersionInfo::Attach(const Byte* data, size_t size) {
  std::unique_ptr<TUtFileVersionInfo> info(new TUtFileVersionInfo());
  info->Parse(TBytes(data, data + size));
  return info;
}

void TUtFileVersionInfo::Parse(TBytes block) {
  FBuffer = std::move(block);
  try {
    TParser(FBuffer, *this).Run();
  } catch (const TMalformedBlock&) {
    throw EUtFileVersionInfoError(kUtNoVersionInfo);
  }
  static constexpr std::pair<Cardinal, TFileFlag> kFlagBits[] = {
      {1, ffDebug}, {16, ffInfoInferred}, {4, ffPatched}, {2, ffPreRelease}, {8, ffPrivateBuild}, {32, ffSpecialBuild}};
  const Cardinal flags = FFixedInfo.dwFileFlags & FFixedInfo.dwFileFlagsMask;
  for (const auto& [bit, flag] : kFlagBits) {
    if ((flags & bit) != 0) FFileFlags |= 1u << flag;
  }
  FillItems();
}

void TUtFileVersionInfo::FillItems() {
  FItems.BeginUpdate();
  FItems.Clear();
  for (const TItem& item : FItemList) {
    if (item.Language == FLanguageIndex) FItems.Add(item.Key + u"=" + item.Value);
  }
  FItems.EndUpdate();
}

String TUtFileVersionInfo::GetVersionValue(TVersionKey key) const {
  const StringView name = VersionKeyName(key);
  for (const TItem& item : FItemList) {
    if (item.Language == FLanguageIndex && AnsiSameText(item.Key, name)) return item.Value;
  }
  return String();
}

String TUtFileVersionInfo::GetCustomFieldValue(const String& fieldName) const {
  if (fieldName.empty()) throw EUtFileVersionInfoError(kUtNoValueSupplied);
  for (const TItem& item : FItemList) {
    if (item.Language == FLanguageIndex && AnsiSameText(item.Key, fieldName)) return item.Value;
  }
  throw EUtFileVersionInfoError(Format(kUtValueNotFound, {fieldName}));
}

namespace {

String FourPartVersion(Cardinal mostSignificant, Cardinal leastSignificant) {
  return Format(u"%u.%u.%u.%u",
                {mostSignificant >> 16, mostSignificant & 0xFFFF, leastSignificant >> 16, leastSignificant & 0xFFFF});
}

}  // namespace

String TUtFileVersionInfo::BinFileVersion() const {
  return FourPartVersion(FFixedInfo.dwFileVersionMS, FFixedInfo.dwFileVersionLS);
}

String TUtFileVersionInfo::BinProductVersion() const {
  return FourPartVersion(FFixedInfo.dwProductVersionMS, FFixedInfo.dwProductVersionLS);
}

String TUtFileVersionInfo::VersionPart(TVersionKey key, int part) const {
  return DottedPart(GetVersionValue(key), part);
}

String TUtFileVersionInfo::FileVersionMajor() const {
  return VersionPart(vkFileVersion, 1);
}
String TUtFileVersionInfo::FileVersionMinor() const {
  return VersionPart(vkFileVersion, 2);
}
String TUtFileVersionInfo::FileVersionRelease() const {
  return VersionPart(vkFileVersion, 3);
}
String TUtFileVersionInfo::FileVersionBuild() const {
  return VersionPart(vkFileVersion, 4);
}
String TUtFileVersionInfo::ProductVersionMajor() const {
  return VersionPart(vkProductVersion, 1);
}
String TUtFileVersionInfo::ProductVersionMinor() const {
  return VersionPart(vkProductVersion, 2);
}
String TUtFileVersionInfo::ProductVersionRelease() const {
  return VersionPart(vkProductVersion, 3);
}
String TUtFileVersionInfo::ProductVersionBuild() const {
  return VersionPart(vkProductVersion, 4);
}

void TUtFileVersionInfo::SetLanguageIndex(Integer index) {
  if (index < 0 || index >= LanguageCount()) throw EUtFileVersionInfoError(kUtIllegalLanguageIndex);
  if (index == FLanguageIndex) return;
  FLanguageIndex = index;
  FillItems();
}

bool TUtFileVersionInfo::TranslationMatchesLanguages(bool exact) const {
  if (FTranslations.size() != FLanguages.size() && (exact || FTranslations.empty())) return false;
  for (const TLangIdRec& translation : FTranslations) {
    bool found = false;
    for (const TLangIdRec& language : FLanguages) found = found || language == translation;
    if (!found) return false;
  }
  return true;
}

String VersionLanguageId(const TLangIdRec& langIdRec) {
  return Format(u"%.4x%.4x", {langIdRec.LangId, langIdRec.CodePage});
}

bool FileHasVersionInfo(const String& fileName, const IVersionInfoSource& source) {
  TBytes block;
  return source.ReadVersionBlock(fileName, block);
}

bool ReadFixedVersionRecord(const String& fileName, TVSFixedFileInfo& fixedInfo, const IVersionInfoSource& source) {
  TBytes block;
  if (!source.ReadVersionBlock(fileName, block)) return false;
  // The fixed record stands on its own: string tables or a signature that the
  // full reader refuses do not hide it.
  TUtFileVersionInfo info;
  info.FBuffer = std::move(block);
  try {
    TUtFileVersionInfo::TParser(info.FBuffer, info).ReadRootFixedInfo();
  } catch (const TMalformedBlock&) {
    return false;
  }
  fixedInfo = info.FFixedInfo;
  return true;
}

String GuidText(const TGUID& guid) {
  const Cardinal d1 = guid[0] | (guid[1] << 8) | (guid[2] << 16) | (Cardinal{guid[3]} << 24);
  const Word d2 = static_cast<Word>(guid[4] | (guid[5] << 8));
  const Word d3 = static_cast<Word>(guid[6] | (guid[7] << 8));
  return Format(u"{%.8x-%.4x-%.4x-%.2x%.2x-%.2x%.2x%.2x%.2x%.2x%.2x}",
                {d1, d2, d3, guid[8], guid[9], guid[10], guid[11], guid[12], guid[13], guid[14], guid[15]});
}
