// The resource tree, the form resources and the package information.
#include <algorithm>
#include <vector>

#include "pe/imageparsers.h"
#include "rtl/numbers.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"

namespace peimage {

namespace {

constexpr Integer kRcData = 10;
constexpr Cardinal kHighBit = 0x80000000u;

String ResourceTypeName(Integer type) {
  switch (type) {
    case 1: return S("CURSOR");
    case 2: return S("BITMAP");
    case 3: return S("ICON");
    case 4: return S("MENU");
    case 5: return S("DIALOG");
    case 6: return S("STRING");
    case 7: return S("FONTDIR");
    case 8: return S("FONT");
    case 9: return S("ACCELERATOR");
    case 10: return S("RCDATA");
    case 11: return S("MESSAGETABLE");
    case 12: return S("GROUP_CURSOR");
    case 14: return S("GROUP_ICON");
    case 16: return S("VERSION");
    case 17: return S("DLGINCLUDE");
    case 19: return S("PLUGPLAY");
    case 20: return S("VXD");
    case 21: return S("ANICURSOR");
    case 22: return S("ANIICON");
    case 23: return S("HTML");
    case 24: return S("MANIFEST");
    case 125: return S("REGISTRY");
    case 126: return S("TYPELIB");
    case 127: return S("AVI");
    default: return String();
  }
}

struct DirectoryEntry {
  Cardinal NameField;
  Cardinal OffsetField;
};

class ResourceWalk {
 public:
  ResourceWalk(const ImageLayout& layout, UInt64 root, TResourceData& resources)
      : FLayout(layout), FRoot(root), FResources(resources) {}

  void Run() {
    std::vector<DirectoryEntry> types = Entries(FRoot);
    FAncestors.push_back(FRoot);
    for (const DirectoryEntry& type : types) {
      if (!(type.OffsetField & kHighBit)) continue;  // a type must be a directory
      FTypeText = NameText(type.NameField);
      FTypeKey = static_cast<Integer>(type.NameField);
      Expand(type, 1);
    }
  }

 private:
  std::vector<DirectoryEntry> Entries(UInt64 directory) {
    ByteCursor cursor = FLayout.CursorAt(directory + 12);
    UInt64 count = UInt64{cursor.U16()} + cursor.U16();
    if (!cursor.CanRead(count * 8)) RaiseFault();
    FEntryCount += count;
    if (FEntryCount > kMaxResourceEntries) RaiseFault();
    std::vector<DirectoryEntry> entries(static_cast<std::size_t>(count));
    for (DirectoryEntry& entry : entries) {
      entry.NameField = cursor.U32();
      entry.OffsetField = cursor.U32();
    }
    return entries;
  }

  String NameText(Cardinal field) {
    if (field & kHighBit) return FLayout.CursorAt(FRoot + (field & ~kHighBit)).CountedWideString();
    return IntToStr(field & 0xFFFF);
  }

  void Expand(const DirectoryEntry& entry, int depth) {
    if (depth > kMaxResourceDepth) RaiseFault();
    String name = NameText(entry.NameField);
    UInt64 directory = FRoot + (entry.OffsetField & ~kHighBit);
    // A directory on the way down to here means the tree loops back on itself;
    // one that two entries share is listed under each (the entry and depth
    // limits bound the work).
    if (std::find(FAncestors.begin(), FAncestors.end(), directory) != FAncestors.end()) return;
    std::vector<DirectoryEntry> entries = Entries(directory);
    if (!entries.empty() && entries.front().NameField == entry.NameField &&
        entries.front().OffsetField == entry.OffsetField)
      return;
    FAncestors.push_back(directory);
    for (const DirectoryEntry& child : entries) {
      if (child.OffsetField & kHighBit) {
        Expand(child, depth + 1);
      } else {
        AddItem(name, child);
      }
    }
    FAncestors.pop_back();
  }

  void AddItem(const String& name, const DirectoryEntry& entry) {
    ByteCursor cursor = FLayout.CursorAt(FRoot + entry.OffsetField);
    TResourceItem item;
    item.Name = name;
    item.Typ = FTypeKey;
    if (item.Typ < 1 || item.Typ > 24) {
      if (SameText(FTypeText, u"REGISTRY")) item.Typ = 125;
      if (SameText(FTypeText, u"TYPELIB")) item.Typ = 126;
      if (SameText(FTypeText, u"AVI")) item.Typ = 127;
    }
    item.TypeName = ResourceTypeName(item.Typ);
    if (item.TypeName.empty()) item.TypeName = u"\"" + FTypeText + u"\"";
    item.Lang = NameText(entry.NameField);
    item.RawDataOffset = cursor.U32();
    item.RawDataSize = cursor.U32();
    item.CodePage = cursor.U32();
    UInt64 offset = FLayout.RvaToOffset(item.RawDataOffset);
    item.Offset = static_cast<Cardinal>(offset);
    ByteCursor data = FLayout.CursorAt(offset);
    if (offset <= data.Size() && data.CanRead(item.RawDataSize)) item.RawDataAddress = data.Bytes().data() + offset;
    FResources.push_back(std::move(item));
  }

  const ImageLayout& FLayout;
  UInt64 FRoot;
  TResourceData& FResources;
  String FTypeText;
  Integer FTypeKey = 0;
  std::vector<UInt64> FAncestors;
  UInt64 FEntryCount = 0;
};

ImageBytes ResourceBytes(const TResourceItem& item) {
  if (!item.RawDataAddress) return ImageBytes();
  return ImageBytes(item.RawDataAddress, item.RawDataSize);
}

String PackageName(ByteCursor& cursor) {
  String name = UTF8ToString(cursor.ZString(kMaxNameLength));
  if (name.size() > 255) name.resize(255);
  return name;
}

}  // namespace

void ReadResources(const ImageLayout& layout, TResourceData& resources) {
  DataDirectory directory = layout.Directory(kResourceDirectory);
  if (directory.Size == 0) return;
  ResourceWalk(layout, layout.RvaToOffset(directory.VirtualAddress), resources).Run();
}

void ReadForms(const TResourceData& resources, std::vector<String>& forms) {
  for (const TResourceItem& item : resources) {
    if (item.Typ != kRcData) continue;
    ImageBytes data = ResourceBytes(item);
    if (data.size() >= 4 && data[0] == 'T' && data[1] == 'P' && data[2] == 'F' && data[3] == '0')
      forms.push_back(item.Name);
  }
}

const TResourceItem* FindResource(const TResourceData& resources, Integer type, StringView name) {
  for (const TResourceItem& item : resources)
    if (item.Typ == type && SameText(item.Name, name)) return &item;
  return nullptr;
}

bool HasPackageInfo(const TResourceData& resources) {
  return FindResource(resources, kRcData, u"PACKAGEINFO") != nullptr;
}

void ReadPackageInfo(ImageBytes data, Integer& flags, std::vector<String>& required, std::vector<String>& units) {
  ByteCursor cursor(data);
  flags = cursor.I32();
  try {
    Cardinal count = cursor.U32();
    for (Cardinal i = 0; i < count; ++i) {
      cursor.U8();  // hash
      required.push_back(PackageName(cursor));
    }
  } catch (const EImageFault&) {
    required.clear();
    throw;
  }
  try {
    Cardinal count = cursor.U32();
    for (Cardinal i = 0; i < count; ++i) {
      cursor.U8();  // unit flags
      cursor.U8();  // hash
      units.push_back(PackageName(cursor));
    }
  } catch (const EImageFault&) {
    units.clear();
    throw;
  }
}

String ReadDescription(ImageBytes data) {
  String text;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    Char c = LoadU16(data.data() + i);
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

}  // namespace peimage
