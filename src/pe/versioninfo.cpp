#include "pe/versioninfo.h"

#include <algorithm>

#include "pe/imageparsers.h"
#include "rtl/numbers.h"
#include "rtl/streams.h"
#include "rtl/sysstr.h"

namespace {

using peimage::ByteCursor;
using peimage::ImageBytes;

constexpr Cardinal kFixedInfoSignature = 0xFEEF04BD;
constexpr Integer kVersionResourceType = 16;

// File flag bits in the order of TFileFlag.
constexpr Cardinal kFlagBits[] = {0x01, 0x10, 0x04, 0x02, 0x08, 0x20};

const char16_t* const kStringNames[] = {u"CompanyName",    u"FileDescription", u"FileVersion",      u"InternalName",
                                        u"LegalCopyright", u"LegalTrademarks", u"OriginalFilename", u"ProductName",
                                        u"ProductVersion", u"Comments"};

// One block of the version resource: length, value length, type, key, then
// the value and the children, each starting on a 4-byte boundary from the
// start of the resource.
struct Block {
  String Key;
  UInt64 ValueStart = 0;
  Word ValueLength = 0;
  Word Type = 0;
  UInt64 ChildrenStart = 0;
  UInt64 End = 0;
};

Block ReadBlock(ByteCursor& cursor, UInt64 limit) {
  Block block;
  UInt64 start = cursor.Offset();
  Word length = cursor.U16();
  block.ValueLength = cursor.U16();
  block.Type = cursor.U16();
  if (length < 6) peimage::RaiseFault();
  // A block longer than its parent is cut at the parent's end.
  block.End = std::min(start + length, limit);
  block.Key = cursor.ZWideString(256);
  cursor.AlignTo(4);
  block.ValueStart = cursor.Offset();
  UInt64 valueBytes = block.Type == 1 ? UInt64{block.ValueLength} * 2 : block.ValueLength;
  cursor.Seek(std::min(block.ValueStart + valueBytes, block.End));
  cursor.AlignTo(4);
  block.ChildrenStart = cursor.Offset();
  return block;
}

// Calls visit for every child block of a block.
template <class Visit>
void ForEachChild(ImageBytes resource, const Block& parent, Visit&& visit) {
  ByteCursor cursor(resource, parent.ChildrenStart);
  while (cursor.Offset() + 6 <= parent.End) {
    Block child = ReadBlock(cursor, parent.End);
    visit(child);
    cursor.Seek(child.End);
    cursor.AlignTo(4);
  }
}

bool ParseHexKey(const String& key, TTranslation& translation) {
  if (key.size() != 8) return false;
  Cardinal value = 0;
  for (Char c : key) {
    int digit;
    if (c >= u'0' && c <= u'9') {
      digit = c - u'0';
    } else if (c >= u'a' && c <= u'f') {
      digit = c - u'a' + 10;
    } else if (c >= u'A' && c <= u'F') {
      digit = c - u'A' + 10;
    } else {
      return false;
    }
    value = value << 4 | static_cast<Cardinal>(digit);
  }
  translation.Lang = static_cast<Word>(value >> 16);
  translation.CodePage = static_cast<Word>(value & 0xFFFF);
  return true;
}

// Writes blocks and patches their lengths when they are complete.
class BlockWriter {
 public:
  std::size_t Open(StringView key, std::size_t valueLength, Word type) {
    Pad();
    std::size_t start = FBytes.size();
    if (valueLength > 0xFFFF) FTooLong = true;
    U16(0);
    U16(static_cast<Word>(valueLength));
    U16(type);
    for (Char c : key) U16(c);
    U16(0);
    Pad();
    return start;
  }
  void Close(std::size_t start) {
    std::size_t length = FBytes.size() - start;
    if (length > 0xFFFF) FTooLong = true;
    FBytes[start] = static_cast<Byte>(length & 0xFF);
    FBytes[start + 1] = static_cast<Byte>(length >> 8);
  }
  void U16(Word value) {
    FBytes.push_back(static_cast<Byte>(value & 0xFF));
    FBytes.push_back(static_cast<Byte>(value >> 8));
  }
  void U32(Cardinal value) {
    U16(static_cast<Word>(value & 0xFFFF));
    U16(static_cast<Word>(value >> 16));
  }
  void Raw(const Byte* data, std::size_t size) { FBytes.insert(FBytes.end(), data, data + size); }
  void Pad() {
    while (FBytes.size() % 4) FBytes.push_back(0);
  }
  TBytes Take() { return std::move(FBytes); }
  // Whether a block or value length did not fit its 16-bit field.
  bool TooLong() const { return FTooLong; }

 private:
  TBytes FBytes;
  bool FTooLong = false;
};

Cardinal FixedWord(const std::array<Byte, 52>& fixed, int offset) {
  return peimage::LoadU32(fixed.data() + offset);
}

void StoreFixedWord(std::array<Byte, 52>& fixed, int offset, Cardinal value) {
  for (int i = 0; i < 4; ++i) fixed[offset + i] = static_cast<Byte>(value >> (8 * i));
}

TVersionNumber VersionFromWords(Cardinal most, Cardinal least) {
  return TVersionNumber{static_cast<Integer>(most >> 16), static_cast<Integer>(most & 0xFFFF),
                        static_cast<Integer>(least >> 16), static_cast<Integer>(least & 0xFFFF)};
}

}  // namespace

namespace peimage {

bool ReadWholeFile(const String& fileName, TBytes& bytes) {
  try {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    Int64 size = file.Size();
    if (size > 0 && FitsForReuse(bytes, static_cast<UInt64>(size))) {
      bytes.resize(static_cast<std::size_t>(size));
      bytes.resize(static_cast<std::size_t>(std::max<Int64>(file.Read(bytes.data(), size), 0)));
    } else {
      bytes = file.ReadAllBytes();
    }
    return true;
  } catch (const EStreamError&) {
    return false;
  }
}

}  // namespace peimage

TVersionInformation::TVersionInformation(const String& fileName) {
  SetFileName(fileName);
}

void TVersionInformation::Clear() {
  FHeader.clear();
  FModified = false;
  FFVN = FPVN = TVersionNumber();
  FFF = TVersionFileFlags();
  FOS = FType = 0;
  FValid = false;
  FVI.clear();
  FRL.clear();
  FFixedInfo.fill(0);
}

void TVersionInformation::SetFileName(const String& fileName) {
  if (SameText(fileName, FFilename) && !fileName.empty()) return;
  FFilename = fileName;
  ReadFile();
}

void TVersionInformation::RefreshData() {
  ReadFile();
}

void TVersionInformation::ReadFile() {
  TBytes image;
  if (FFilename.empty() || !peimage::ReadWholeFile(FFilename, image)) {
    Clear();
    return;
  }
  ReadFromImage(peimage::ImageBytes(image.data(), image.size()), FFilename);
}

void TVersionInformation::ReadFromImage(peimage::ImageBytes image, const String& fileName) {
  Clear();
  FFilename = fileName;
  peimage::ImageLayout layout(image);
  if (!layout.IsPe()) return;
  TResourceData resources;
  try {
    peimage::ReadResources(layout, resources);
  } catch (const Exception&) {
    // A damaged tree: the version resources found before the fault still count.
  }
  const TResourceItem* data = nullptr;
  for (const TResourceItem& item : resources) {
    if (item.Typ != kVersionResourceType) continue;
    TResItem entry;
    entry.Name = item.Name;
    for (Char c : item.Lang) {
      if (c < u'0' || c > u'9') {
        entry.Lang = 0;
        break;
      }
      entry.Lang = entry.Lang * 10 + (c - u'0');
    }
    entry.CodePage = item.CodePage;
    entry.RawDataSize = item.RawDataSize;
    FRL.push_back(entry);
    if (!data && item.RawDataAddress) data = &item;
  }
  if (!data) return;
  FHeader.assign(data->RawDataAddress, data->RawDataAddress + data->RawDataSize);
  try {
    Parse(peimage::ImageBytes(FHeader.data(), FHeader.size()));
  } catch (const Exception&) {
    // A damaged string section ends the read with what was parsed.
  }
}

void TVersionInformation::Parse(peimage::ImageBytes resource) {
  ByteCursor cursor(resource);
  Block root = ReadBlock(cursor, resource.size());
  if (root.ValueLength < 52) return;
  ImageBytes fixed = cursor.BlockAt(root.ValueStart, 52);
  if (peimage::LoadU32(fixed.data()) != kFixedInfoSignature) return;
  std::copy(fixed.begin(), fixed.end(), FFixedInfo.begin());
  FFVN = VersionFromWords(FixedWord(FFixedInfo, 8), FixedWord(FFixedInfo, 12));
  FPVN = VersionFromWords(FixedWord(FFixedInfo, 16), FixedWord(FFixedInfo, 20));
  Cardinal flags = FixedWord(FFixedInfo, 28) & FixedWord(FFixedInfo, 24);
  for (int i = 0; i < 6; ++i)
    if (flags & kFlagBits[i]) FFF.Include(static_cast<TFileFlag>(i));
  FOS = FixedWord(FFixedInfo, 32);
  FType = FixedWord(FFixedInfo, 36);
  FValid = true;

  // The translations come first, wherever VarFileInfo stands.
  ForEachChild(resource, root, [&](const Block& child) {
    if (!SameText(child.Key, u"VarFileInfo")) return;
    ForEachChild(resource, child, [&](const Block& var) {
      if (!SameText(var.Key, u"Translation")) return;
      ByteCursor values(resource, var.ValueStart);
      for (Word i = 0; i + 4 <= var.ValueLength && values.Offset() + 4 <= var.End; i += 4) {
        Cardinal value = values.U32();
        FVI.push_back(
            TStringFileInfo{TTranslation{static_cast<Word>(value & 0xFFFF), static_cast<Word>(value >> 16)}, {}});
      }
    });
  });
  // Tables are matched to translations by position; a table beyond them is
  // keyed by its own name. Every StringFileInfo block is read, so a resource
  // that holds one per translation loses none.
  std::size_t table = 0;
  ForEachChild(resource, root, [&](const Block& child) {
    if (!SameText(child.Key, u"StringFileInfo")) return;
    ForEachChild(resource, child, [&](const Block& strings) {
      if (table >= FVI.size()) {
        TTranslation translation;
        ParseHexKey(strings.Key, translation);
        FVI.push_back(TStringFileInfo{translation, {}});
      }
      TStringFileInfo& info = FVI[table++];
      ForEachChild(resource, strings, [&](const Block& value) {
        ByteCursor text(resource, value.ValueStart);
        String content;
        while (text.Offset() + 2 <= value.End) {
          Char c = text.U16();
          if (c == 0) break;
          content.push_back(c);
        }
        info.Values.push_back(TVersionStringValue{value.Key, std::move(content)});
      });
    });
  });
}

TBytes TVersionInformation::BuildResource() const {
  BlockWriter writer;
  std::size_t root = writer.Open(u"VS_VERSION_INFO", 52, 0);
  writer.Raw(FFixedInfo.data(), FFixedInfo.size());
  if (!FVI.empty()) {
    std::size_t fileInfo = writer.Open(u"StringFileInfo", 0, 1);
    for (const TStringFileInfo& info : FVI) {
      String key = IntToHex(info.Translation.Lang, 4) + IntToHex(info.Translation.CodePage, 4);
      std::size_t table = writer.Open(key, 0, 1);
      for (const TVersionStringValue& value : info.Values) {
        std::size_t entry = writer.Open(value.Name, value.Value.size() + 1, 1);
        for (Char c : value.Value) writer.U16(c);
        writer.U16(0);
        writer.Close(entry);
      }
      writer.Close(table);
    }
    writer.Close(fileInfo);
    std::size_t varInfo = writer.Open(u"VarFileInfo", 0, 1);
    std::size_t translation = writer.Open(u"Translation", 4 * FVI.size(), 0);
    for (const TStringFileInfo& info : FVI)
      writer.U32(info.Translation.Lang | (Cardinal{info.Translation.CodePage} << 16));
    writer.Close(translation);
    writer.Close(varInfo);
  }
  writer.Close(root);
  if (writer.TooLong()) return TBytes();
  return writer.Take();
}

bool TVersionInformation::SaveData() {
  if (FHeader.empty() || !FValid || FRL.empty()) return false;
  TBytes resource = BuildResource();
  if (resource.empty()) return false;
  if (!peimage::UpdateVersionResource(FFilename, static_cast<Word>(FRL.front().Lang), resource)) return false;
  FModified = false;
  return true;
}

TTranslation TVersionInformation::ResourceLanguage() const {
  if (FRL.empty()) return TTranslation();
  return TTranslation{static_cast<Word>(FRL.front().Lang), static_cast<Word>(FRL.front().CodePage)};
}

void TVersionInformation::SetResourceLanguage(TTranslation value) {
  if (FRL.empty()) return;
  FRL.front().Lang = value.Lang;
  FRL.front().CodePage = value.CodePage;
  FModified = true;
}

TTranslation TVersionInformation::Translation() const {
  return FVI.empty() ? TTranslation() : FVI.front().Translation;
}

void TVersionInformation::SetTranslation(TTranslation value) {
  if (FVI.empty()) return;
  FVI.front().Translation = value;
  FModified = true;
}

void TVersionInformation::StoreFixedVersion(int offset, const TVersionNumber& value) {
  StoreFixedWord(FFixedInfo, offset, static_cast<Cardinal>(value.Major) << 16 | (value.Minor & 0xFFFF));
  StoreFixedWord(FFixedInfo, offset + 4, static_cast<Cardinal>(value.Release) << 16 | (value.Build & 0xFFFF));
}

void TVersionInformation::SetProductVersionNumber(const TVersionNumber& value) {
  if (!FValid) return;
  StoreFixedVersion(16, value);
  FPVN = value;
  FModified = true;
}

void TVersionInformation::SetFileVersionNumber(const TVersionNumber& value) {
  if (!FValid) return;
  StoreFixedVersion(8, value);
  FFVN = value;
  FModified = true;
}

void TVersionInformation::SetFileFlags(TVersionFileFlags value) {
  if (!FValid) return;
  Cardinal mask = FixedWord(FFixedInfo, 24);
  Cardinal flags = FixedWord(FFixedInfo, 28);
  for (int i = 0; i < 6; ++i) {
    if (!(mask & kFlagBits[i])) continue;
    if (value.Contains(static_cast<TFileFlag>(i))) {
      flags |= kFlagBits[i];
    } else {
      flags &= ~kFlagBits[i];
    }
  }
  StoreFixedWord(FFixedInfo, 28, flags);
  FFF = TVersionFileFlags();
  for (int i = 0; i < 6; ++i)
    if (flags & mask & kFlagBits[i]) FFF.Include(static_cast<TFileFlag>(i));
  FModified = true;
}

String TVersionInformation::GetString(TVersionStringIndex index) const {
  if (FVI.empty()) return String();
  for (const TVersionStringValue& value : FVI.front().Values)
    if (SameText(value.Name, kStringNames[index])) return value.Value;
  return String();
}

void TVersionInformation::SetString(TVersionStringIndex index, const String& value) {
  SetStringFileInfoValue(0, kStringNames[index], value);
}

void TVersionInformation::SetStringFileInfoValue(int table, const String& name, const String& value) {
  if (table < 0 || static_cast<std::size_t>(table) >= FVI.size()) return;
  for (TVersionStringValue& entry : FVI[table].Values) {
    if (SameText(entry.Name, name)) {
      entry.Value = value;
      break;
    }
  }
  FModified = true;
}
