// The name=value listings of the DOS header, the file header (NE, LE or PE)
// and the PE optional header.
#include "pe/imageparsers.h"
#include "pe/listing.h"
#include "rtl/datetime.h"
#include "rtl/numbers.h"
#include "rtl/unicode.h"

namespace peimage {

namespace {

String ImageKindName(Word signature) {
  switch (signature) {
    case kMzSignature: return S("DOS executable");
    case kNeSignature: return S("New executable (Win 3.1)");
    case kLeSignature: return S("VxD");
    case kPeSignature: return S("Portable Executable");
    default: return String();
  }
}

String MagicName(Word magic) {
  if (magic == kPe32Magic) return S("PE32");
  if (magic == kPe32PlusMagic) return S("PE32+ (64bit)");
  return String();
}

String SubsystemName(Word subsystem) {
  switch (subsystem) {
    case 0: return S("unknown");
    case 1: return S("Native");
    case 2: return S("Windows GUI");
    case 3: return S("Console");
    case 5: return S("OS/2");
    case 7: return S("Posix");
    case 8: return S("Reserved 8");
    default: return u"0x" + IntToHex(subsystem, 4);
  }
}

String MachineName(Word machine) {
  switch (machine) {
    case 0x14C: return S("32-bit Intel");
    case 0x184: return S("DEC Alpha");
    case 0x1F0: return S("Power PC");
    case 0x200: return S("64-bit Intel");
    case 0x8664: return S("64-bit AMD");
    default: return u"0x" + IntToHex(machine, 4);
  }
}

void ReadVxdHeader(ByteCursor& cursor, Listing& listing) {
  auto hex32 = [&](const char16_t* label) { listing.Hex(label, cursor.U32(), 8); };
  auto count32 = [&](const char16_t* label) { listing.Decimal(label, cursor.U32()); };
  listing.Decimal(u"The byte ordering for the VXD", cursor.U8());
  listing.Decimal(u"The word ordering for the VXD", cursor.U8());
  count32(u"The EXE format level");
  listing.Hex(u"The CPU type", cursor.U16(), 4);
  listing.Hex(u"The OS type", cursor.U16(), 4);
  hex32(u"Module version");
  hex32(u"Module flags");
  count32(u"Module pages");
  count32(u"Number of objects for instruction pointer");
  hex32(u"Extended instruction pointer");
  count32(u"Number of objects for stack pointer");
  hex32(u"Extended stack pointer");
  count32(u"VXD page size");
  listing.Hex(u"Last page size in VXD", cursor.U32(), 4);
  count32(u"Fixup section size");
  hex32(u"Fixup section checksum");
  count32(u"Loader section size");
  hex32(u"Loader section checksum");
  hex32(u"Object table offset");
  count32(u"Number of objects in module");
  hex32(u"Object page map offset");
  hex32(u"Object iterated data map offset");
  hex32(u"Offset of Resource Table");
  count32(u"Number of resource entries");
  hex32(u"Offset of resident name table");
  hex32(u"Offset of Entry Table");
  hex32(u"Offset of Module Directive Table");
  count32(u"Number of module directives");
  hex32(u"Offset of Fixup Page Table");
  hex32(u"Offset of Fixup Record Table");
  hex32(u"Offset of Import Module Name Table");
  count32(u"Number of entries in Import Module Name Table");
  hex32(u"Offset of Import Procedure Name Table");
  hex32(u"Offset of Per-Page Checksum Table");
  hex32(u"Offset of Enumerated Data Pages");
  count32(u"Number of preload pages");
  hex32(u"Offset of Non-resident Names Table");
  count32(u"Size of Non-resident Name Table");
  hex32(u"Non-resident Name Table Checksum");
  count32(u"Number of objects for automatic data object");
  hex32(u"Offset of the debugging information");
  count32(u"The length of the debugging info. in bytes");
  count32(u"Number of instance pages in preload section of VXD file");
  count32(u"Number of instance pages in demand load section of VXD file");
  count32(u"Size of heap - for 16-bit apps");
  for (int i = 0; i < 12; ++i) listing.Hex(u"Reserverd[" + IntToStr(i) + u"]", cursor.U8(), 2);
  hex32(u"Win res offset");
  count32(u"Win res length");
  listing.Hex(u"Device ID for VxD", cursor.U16(), 4);
  Word ddk = cursor.U16();
  listing.Version(u"DDK version for VxD", ddk >> 8, ddk & 0xFF);
}

void ReadNeHeader(ByteCursor& cursor, Listing& listing) {
  auto hex16 = [&](const char16_t* label) { listing.Hex(label, cursor.U16(), 4); };
  auto hex32 = [&](const char16_t* label) { listing.Hex(label, cursor.U32(), 8); };
  auto count16 = [&](const char16_t* label) { listing.Decimal(label, cursor.U16()); };
  Byte version = cursor.U8();
  Byte revision = cursor.U8();
  listing.Version(u"Linker version", version, revision);
  hex16(u"Offset of Entry Table");
  count16(u"Number of bytes in Entry Table");
  hex32(u"Checksum of whole file");
  hex16(u"Flags");
  count16(u"Automatic data segment number");
  count16(u"Initial heap allocation");
  count16(u"Initial stack allocation");
  hex32(u"Initial CS:IP setting");
  hex32(u"Initial SS:SP setting");
  count16(u"Count of file segments");
  count16(u"Entries in Module Reference Table");
  count16(u"Size of non-resident name table");
  hex16(u"Offset of Segment Table");
  hex16(u"Offset of Resource Table");
  hex16(u"Offset of resident name table");
  hex16(u"Offset of Module Reference Table");
  hex16(u"Offset of Imported Names Table");
  hex32(u"Offset of Non-resident Names Table");
  count16(u"Count of movable entries");
  count16(u"Segment alignment shift count");
  count16(u"Count of resource segments");
  listing.Hex(u"Target Operating system", cursor.U8(), 2);
  listing.Hex(u"Other .EXE flags", cursor.U8(), 2);
  hex16(u"Offset to return thunks");
  hex16(u"Offset to segment ref. bytes");
  count16(u"Minimum code swap area size");
  Word expected = cursor.U16();
  listing.Version(u"Expected Windows version number", expected >> 8, expected & 0xFF);
}

void ReadPeFileHeader(ByteCursor& cursor, Listing& listing) {
  listing.Text(u"Machine", MachineName(cursor.U16()));
  listing.Decimal(u"Number of sections", cursor.U16());
  listing.Text(u"Timestamp", DateTimeToStr(UnixTimeToDateTime(cursor.U32())));
  listing.Hex(u"Pointer to symbol table", cursor.U32(), 8);
  listing.Decimal(u"Number of symbols", cursor.U32());
  listing.Decimal(u"Size of optional header", cursor.U16());
  listing.Hex(u"Characteristics", cursor.U16(), 4);
}

}  // namespace

void ReadDosHeader(const ImageLayout& layout, std::vector<String>& lines) {
  static const char16_t* const kLabels[] = {u"Magic number",
                                            u"Bytes on last page of file",
                                            u"Pages in file",
                                            u"Relocations",
                                            u"Size of header in paragraphs",
                                            u"Minimum extra paragraphs needed",
                                            u"Maximum extra paragraphs needed",
                                            u"Initial (relative) SS value",
                                            u"Initial SP value",
                                            u"Checksum",
                                            u"Initial IP value",
                                            u"Initial (relative) CS value",
                                            u"File address of relocation table",
                                            u"Overlay number"};
  ByteCursor cursor = layout.CursorAt(0);
  Listing listing(lines);
  for (const char16_t* label : kLabels) listing.Hex(label, cursor.U16(), 4);
  for (int i = 0; i < 4; ++i) listing.Hex(u"Reserved[" + IntToStr(i) + u"]", cursor.U16(), 4);
  listing.Hex(u"OEM identifier", cursor.U16(), 4);
  listing.Hex(u"OEM information", cursor.U16(), 4);
  for (int i = 0; i < 10; ++i) listing.Hex(u"Reserved[" + IntToStr(i) + u"]", cursor.U16(), 4);
  listing.Hex(u"File address of new exe header", cursor.U32(), 8);
}

void ReadFileHeader(const ImageLayout& layout, std::vector<String>& lines) {
  if (!layout.HasNewHeader()) return;
  Word signature = layout.Signature();
  if (signature != kLeSignature && signature != kNeSignature && signature != kPeSignature) return;
  ByteCursor cursor = layout.CursorAt(layout.NewHeaderOffset());
  Listing listing(lines);
  if (signature == kPeSignature) {
    listing.HexNamed(u"Signature", cursor.U32(), 8, ImageKindName(signature));
    ReadPeFileHeader(cursor, listing);
  } else {
    listing.HexNamed(u"Signature", cursor.U16(), 8, ImageKindName(signature));
    if (signature == kLeSignature) {
      ReadVxdHeader(cursor, listing);
    } else {
      ReadNeHeader(cursor, listing);
    }
  }
}

void ReadOptionalHeader(const ImageLayout& layout, std::vector<String>& lines) {
  if (!layout.IsPe()) return;
  ByteCursor cursor = layout.CursorAt(layout.OptionalHeaderOffset());
  Listing listing(lines);
  bool wide = layout.Is64();
  int digits = wide ? 16 : 8;
  auto pointer = [&] { return wide ? cursor.U64() : UInt64{cursor.U32()}; };
  Word magic = cursor.U16();
  listing.HexNamed(u"Magic", magic, 4, MagicName(magic));
  Byte linkerMajor = cursor.U8();
  Byte linkerMinor = cursor.U8();
  listing.Version(u"Linker version", linkerMajor, linkerMinor);
  listing.Decimal(u"Size of code", cursor.U32());
  listing.Decimal(u"Size of initialized data", cursor.U32());
  listing.Decimal(u"Size of uninitialized", cursor.U32());
  listing.Hex(u"Address of entry point", cursor.U32(), 8);
  listing.Hex(u"Base of code", cursor.U32(), 8);
  if (!wide) listing.Hex(u"Base of data", cursor.U32(), 8);
  listing.Hex(u"Image base", pointer(), digits);
  listing.Hex(u"Section alignment", cursor.U32(), 8);
  listing.Hex(u"File alignment", cursor.U32(), 8);
  auto version = [&](const char16_t* label) {
    Word major = cursor.U16();
    Word minor = cursor.U16();
    listing.Version(label, major, minor);
  };
  version(u"Operating system version");
  version(u"Image version");
  version(u"Subsystem version");
  listing.Hex(u"Win32 version value", cursor.U32(), 8);
  listing.ByteCount(u"Size of image", cursor.U32());
  listing.Decimal(u"Size of headers", cursor.U32());
  listing.Decimal(u"Checksum", cursor.U32());
  listing.Text(u"Subsystem", SubsystemName(cursor.U16()));
  listing.Hex(u"DLL characteristics", cursor.U16(), 4);
  listing.Hex(u"Size of stack reserve", pointer(), digits);
  listing.Hex(u"Size of stack commit", pointer(), digits);
  listing.Hex(u"Size of heap reserve", pointer(), digits);
  listing.Hex(u"Size of heap commit", pointer(), digits);
  listing.Hex(u"Loader flags", cursor.U32(), 8);
  listing.Decimal(u"Number of RVA", cursor.U32());
}

}  // namespace peimage
