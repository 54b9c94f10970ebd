// Debug, exception, load-configuration, TLS and CLR directories.
#include <algorithm>

#include "pe/imageparsers.h"
#include "pe/listing.h"
#include "rtl/codepage.h"
#include "rtl/datetime.h"
#include "rtl/numbers.h"
#include "rtl/unicode.h"

namespace peimage {

namespace {

constexpr Cardinal kDebugEntrySize = 28;
constexpr Cardinal kCodeViewType = 2;
constexpr Cardinal kMiscType = 4;
constexpr Cardinal kNb10 = 0x3031424E;  // "NB10"
constexpr Cardinal kRsds = 0x53445352;  // "RSDS"
constexpr Cardinal kMetadataSignature = 0x424A5342;

String DebugTypeName(Cardinal type) {
  switch (type) {
    case 1: return S("COFF");
    case 2: return S("CodeView");
    case 3: return S("FPO");
    case 4: return S("Misc");
    case 5: return S("Exception");
    case 6: return S("Fixup");
    case 9: return S("Borland");
    case 10: return S("Reserved10");
    default: return u"unknown 0x" + IntToHex(type, 8);
  }
}

// A zero-terminated name inside a block: up to the zero or the block's end.
std::string_view BoundedName(ImageBytes block, std::size_t start) {
  if (start >= block.size()) return {};
  auto* begin = reinterpret_cast<const char*>(block.data() + start);
  std::string_view rest(begin, block.size() - start);
  return rest.substr(0, std::min(rest.find('\0'), kMaxNameLength));
}

void ReadCodeView(const ImageLayout& layout, TDebugItem& item) {
  ByteCursor cursor = layout.CursorAt(item.PointerToRawData);
  ImageBytes data = cursor.Block(std::min<UInt64>(item.SizeOfData, cursor.Remaining()));
  ByteCursor record(data);
  if (item.Typ == kCodeViewType) {
    item.Signature = record.U32();
    if (item.Signature == kNb10) {
      item.Age = record.U32At(12);
      item.PDBFilename = AnsiToString(BoundedName(data, 16));
    } else if (item.Signature == kRsds) {
      ImageBytes guid = record.BlockAt(4, 16);
      std::copy(guid.begin(), guid.end(), item.GUID.begin());
      item.Age = record.U32At(20);
      item.PDBFilename = UTF8ToString(BoundedName(data, 24));
    }
  } else if (item.Typ == kMiscType) {
    item.PDBFilename = AnsiToString(BoundedName(data, 12));
  }
}

// Metadata table names by table number; the unused numbers are empty.
const char16_t* const kMetadataTableNames[64] = {u"00 - Module",
                                                 u"01 - TypeRef",
                                                 u"02 - TypeDef",
                                                 u"",
                                                 u"04 - Field",
                                                 u"",
                                                 u"06 - MethodDef",
                                                 u"",
                                                 u"08 - Param",
                                                 u"09 - InterfaceImpl",
                                                 u"10 - MemberRef",
                                                 u"11 - Constant",
                                                 u"12 - CustomAttribute",
                                                 u"13 - FieldMarshal",
                                                 u"14 - DeclSecurity",
                                                 u"15 - ClassLayout",
                                                 u"16 - FieldLayout",
                                                 u"17 - StandAloneSig",
                                                 u"18 - EventMap",
                                                 u"",
                                                 u"20 - Event",
                                                 u"21 - PropertyMap",
                                                 u"",
                                                 u"23 - Property",
                                                 u"24 - MethodSemantics",
                                                 u"25 - MethodImpl",
                                                 u"26 - ModuleRef",
                                                 u"27 - TypeSpec",
                                                 u"28 - ImplMap",
                                                 u"29 - FieldRVA",
                                                 u"",
                                                 u"",
                                                 u"32 - Assembly",
                                                 u"33 - AssemblyProcessor",
                                                 u"34 - AssemblyOS",
                                                 u"35 - AssemblyRef",
                                                 u"36 - AssemblyRefProcessor",
                                                 u"37 - AssemblyRefOS",
                                                 u"38 - File",
                                                 u"39 - ExportedType",
                                                 u"40 - ManifestResource",
                                                 u"41 - NestedClass"};

}  // namespace

double UnixTimeToDateTime(Cardinal seconds) {
  constexpr double kUnixEpoch = 25569.0;  // 1970-01-01 in days since 1899-12-30
  return (kUnixEpoch * 86400.0 + seconds) / 86400.0;
}

void ReadDebugDirectory(const ImageLayout& layout, TDebugData& entries) {
  DataDirectory directory = layout.Directory(kDebugDirectory);
  if (directory.Size == 0) return;
  ByteCursor cursor = layout.CursorAt(layout.RvaToOffset(directory.VirtualAddress));
  Cardinal count = directory.Size / kDebugEntrySize;
  for (Cardinal i = 0; i < count; ++i) {
    TDebugItem item;
    item.Characteristics = cursor.U32();
    item.TimeStamp = UnixTimeToDateTime(cursor.U32());
    item.MajorVersion = cursor.U16();
    item.MinorVersion = cursor.U16();
    item.Typ = cursor.U32();
    item.SizeOfData = cursor.U32();
    item.AddressOfRawData = cursor.U32();
    item.PointerToRawData = cursor.U32();
    if (item.Typ == 0) continue;
    item.TypeName = DebugTypeName(item.Typ);
    ReadCodeView(layout, item);
    entries.push_back(std::move(item));
  }
}

void ReadExceptionDirectory(const ImageLayout& layout, TExceptionData& entries) {
  DataDirectory directory = layout.Directory(kExceptionDirectory);
  if (directory.Size == 0) return;
  ByteCursor cursor = layout.CursorAt(layout.RvaToOffset(directory.VirtualAddress));
  UInt64 count = std::min<UInt64>(directory.Size / 12, cursor.Remaining() / 12);
  entries.reserve(entries.size() + static_cast<std::size_t>(count));
  for (UInt64 i = 0; i < count; ++i) {
    TExceptionItem item;
    item.StartingAddress = cursor.U32();
    item.EndingAddress = cursor.U32();
    item.EndOfPrologue = cursor.U32();
    entries.push_back(item);
  }
  if (count < directory.Size / 12) RaiseFault();
}

void ReadLoadConfig(const ImageLayout& layout, std::vector<String>& lines) {
  DataDirectory directory = layout.Directory(kLoadConfigDirectory);
  if (directory.Size == 0) return;
  ByteCursor cursor = layout.CursorAt(layout.RvaToOffset(directory.VirtualAddress));
  Listing listing(lines);
  bool wide = layout.Is64();
  int digits = wide ? 16 : 8;
  auto pointer = [&] { return wide ? cursor.U64() : UInt64{cursor.U32()}; };
  cursor.U32();  // size
  listing.Text(u"Timestamp", DateTimeToStr(UnixTimeToDateTime(cursor.U32())));
  Word major = cursor.U16();
  Word minor = cursor.U16();
  listing.Version(u"Version", major, minor);
  listing.Hex(u"Global flags clear", cursor.U32(), 8);
  listing.Hex(u"Global flags set", cursor.U32(), 8);
  listing.Hex(u"Critical section default timeout", cursor.U32(), 8);
  listing.Hex(u"DeCommit free block threshold", pointer(), digits);
  listing.Hex(u"DeCommit total free threshold", pointer(), digits);
  listing.Hex(u"Lock prefix table", pointer(), digits);
  listing.Hex(u"Maximum allocation size", pointer(), digits);
  listing.Hex(u"Virtual memory threshold", pointer(), digits);
  // The two layouts store the heap flags and the affinity mask in opposite order.
  UInt64 heapFlags, affinity;
  if (wide) {
    affinity = cursor.U64();
    heapFlags = cursor.U32();
  } else {
    heapFlags = cursor.U32();
    affinity = cursor.U32();
  }
  listing.Hex(u"Process heap flags", heapFlags, 8);
  listing.Hex(u"Process affinity mask", affinity, digits);
  listing.Hex(u"CSD version", cursor.U16(), 4);
  listing.Hex(u"Reserved1", cursor.U16(), 4);
  listing.Hex(u"Edit list", pointer(), digits);
  listing.Hex(u"Security cookie", pointer(), digits);
  listing.Hex(u"SE handler table", pointer(), digits);
  listing.Hex(u"SE handler count", pointer(), digits);
}

void ReadTls(const ImageLayout& layout, std::vector<String>& lines) {
  DataDirectory directory = layout.Directory(kTlsDirectory);
  if (directory.Size == 0) return;
  ByteCursor cursor = layout.CursorAt(layout.RvaToOffset(directory.VirtualAddress));
  Listing listing(lines);
  bool wide = layout.Is64();
  int digits = wide ? 16 : 8;
  auto pointer = [&] { return wide ? cursor.U64() : UInt64{cursor.U32()}; };
  listing.Hex(u"Start address of raw data", pointer(), digits);
  listing.Hex(u"End address of raw data", pointer(), digits);
  listing.Hex(u"Address of index", pointer(), digits);
  listing.Hex(u"Address of callbacks", pointer(), digits);
  listing.Decimal(u"Size of zero fill", cursor.U32());
  listing.Hex(u"Characteristics", cursor.U32(), 8);
}

void ReadClrHeader(const ImageLayout& layout, std::vector<String>& header, std::vector<String>& metadataHeader,
                   TMetadataStreams& streams, TMetadataTables& tables) {
  DataDirectory directory = layout.Directory(kClrDirectory);
  if (directory.Size == 0) return;
  ByteCursor cursor = layout.CursorAt(layout.RvaToOffset(directory.VirtualAddress));
  // The whole header is read before the listing is written.
  cursor.U32();  // size of the header
  Word major = cursor.U16();
  Word minor = cursor.U16();
  Cardinal metadataAddress = cursor.U32();
  Cardinal metadataSize = cursor.U32();
  Cardinal flags = cursor.U32();
  Cardinal entryPoint = cursor.U32();
  Cardinal fields[12];
  for (Cardinal& field : fields) field = cursor.U32();

  Listing listing(header);
  listing.Version(u"Version", major, minor);
  listing.Hex(u"Metadata virtual address", metadataAddress, 8);
  listing.Hex(u"Metadata size", metadataSize, 8);
  listing.Hex(u"Flags", flags, 8);
  // One header field holds either the entry point's token or its address (by
  // a flag); both lines show it. The header has no EEInfoTable: its lines are 0.
  listing.Hex(u"Entry point token", entryPoint, 8);
  listing.Hex(u"Entry point RVA", entryPoint, 8);
  static const char16_t* const kPairs[6] = {u"Resources",    u"StrongNameSignature",     u"CodeManagerTable",
                                            u"VTableFixups", u"ExportAddressTableJumps", u"ManagedNativeHeader"};
  for (int i = 0; i < 6; ++i) {
    listing.Hex(String(kPairs[i]) + u" virtual address", fields[2 * i], 8);
    listing.Hex(String(kPairs[i]) + u" size", fields[2 * i + 1], 8);
  }
  listing.Hex(u"EEInfoTable virtual address", 0, 8);
  listing.Hex(u"EEInfoTable size", 0, 8);

  UInt64 root = layout.RvaToOffset(metadataAddress);
  ByteCursor metadata = layout.CursorAt(root);
  Cardinal signature = metadata.U32();
  Word mdMajor = metadata.U16();
  Word mdMinor = metadata.U16();
  metadata.U32();  // reserved
  Cardinal versionLength = metadata.U32();
  ImageBytes version = metadata.Block(versionLength);
  std::string_view versionText(reinterpret_cast<const char*>(version.data()), version.size());
  versionText = versionText.substr(0, versionText.find('\0'));
  metadata.U16();  // flags
  Word streamCount = metadata.U16();
  Listing mdListing(metadataHeader);
  mdListing.Hex(u"Signature", signature, 8);
  mdListing.Version(u"Version", mdMajor, mdMinor);
  mdListing.Text(u"Version string", UTF8ToString(versionText));
  mdListing.Decimal(u"Streams", streamCount);
  if (signature != kMetadataSignature) return;

  for (Word i = 0; i < streamCount; ++i) {
    TMetadataStream stream;
    stream.Address = metadata.U32();
    stream.Size = metadata.U32();
    UInt64 nameStart = metadata.Offset();
    stream.Name = AnsiToString(metadata.ZString(32));
    metadata.AlignTo(4, nameStart);
    streams.push_back(stream);
    if (stream.Name == u"#~") {
      UInt64 valid = layout.CursorAt(root).U64At(root + stream.Address + 8);
      for (int table = 0; table < 63; ++table)
        if (valid & (UInt64{1} << table))
          tables.push_back(TMetadataTable{kMetadataTableNames[table] ? kMetadataTableNames[table] : u"", {}});
    }
  }
}

}  // namespace peimage
