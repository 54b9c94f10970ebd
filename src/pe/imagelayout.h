// What every parser needs to know about an image: where its headers are, its
// sections and data directories, and the conversion of addresses inside the
// loaded image to offsets in the file. Built once per load from the file bytes.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "pe/imagecursor.h"

namespace peimage {

constexpr Word kMzSignature = 0x5A4D;
constexpr Word kNeSignature = 0x454E;
constexpr Word kLeSignature = 0x454C;
constexpr Word kPeSignature = 0x4550;
constexpr Word kPe32Magic = 0x10B;
constexpr Word kPe32PlusMagic = 0x20B;

// The section table follows an optional header of the standard size; the size
// the file header claims is not used.
constexpr Cardinal kHeadersSize32 = 248;
constexpr Cardinal kHeadersSize64 = 264;
constexpr Cardinal kSectionHeaderSize = 40;
constexpr int kDirectoryCount = 16;

enum DirectoryIndex {
  kExportDirectory = 0,
  kImportDirectory = 1,
  kResourceDirectory = 2,
  kExceptionDirectory = 3,
  kDebugDirectory = 6,
  kTlsDirectory = 9,
  kLoadConfigDirectory = 10,
  kDelayImportDirectory = 13,
  kClrDirectory = 14,
};

struct SectionHeader {
  std::array<Byte, 8> Name{};
  Cardinal VirtualSize = 0;
  Cardinal VirtualAddress = 0;
  Cardinal SizeOfRawData = 0;
  Cardinal PointerToRawData = 0;
  Cardinal PointerToRelocations = 0;
  Cardinal PointerToLinenumbers = 0;
  Word NumberOfRelocations = 0;
  Word NumberOfLinenumbers = 0;
  Cardinal Characteristics = 0;
};

// The section's 8-byte name field as text (ANSI, up to its first zero).
String SectionName(const SectionHeader& section);

struct DataDirectory {
  Cardinal VirtualAddress = 0;
  Cardinal Size = 0;
};

class ImageLayout {
 public:
  ImageLayout() = default;
  explicit ImageLayout(ImageBytes bytes);

  ImageBytes Bytes() const { return FBytes; }
  ByteCursor CursorAt(UInt64 offset) const { return ByteCursor(FBytes, offset); }

  bool StartsWithMz() const { return FStartsWithMz; }
  // The signature, file header and optional-header magic lie inside the file.
  bool HasNewHeader() const { return FHasNewHeader; }
  // "PE" followed by two zero bytes.
  bool IsPe() const { return FIsPe; }
  bool Is64() const { return FIs64; }
  Word Signature() const { return FSignature; }
  Cardinal NewHeaderOffset() const { return FNewHeaderOffset; }
  UInt64 OptionalHeaderOffset() const { return UInt64{FNewHeaderOffset} + 24; }
  Cardinal HeadersSize() const { return FIs64 ? kHeadersSize64 : kHeadersSize32; }
  // The file header's count of sections, whether or not they all fit.
  Word DeclaredSectionCount() const { return FDeclaredSectionCount; }
  // The section headers that lie inside the file, in table order.
  const std::vector<SectionHeader>& Sections() const { return FSections; }
  UInt64 ImageBase() const { return FImageBase; }
  Cardinal SizeOfImage() const { return FSizeOfImage; }

  // Raises EImageFault when the directory entry lies outside the file.
  DataDirectory Directory(int index) const;

  // The file offset of an address relative to the image base: through the
  // first section (in table order) whose virtual range holds it, else the
  // address itself.
  UInt64 RvaToOffset(UInt64 rva) const;
  // An absolute address inside the image loses the image base; anything else
  // is taken as relative.
  UInt64 VaToOffset(UInt64 va) const;
  // The section holding the address, if any.
  std::optional<std::size_t> SectionOfRva(UInt64 rva) const;

 private:
  struct SectionSpan {
    UInt64 Begin;  // virtual addresses, end excluded
    UInt64 End;
    std::size_t Section;
  };
  void ReadSections();
  void BuildSectionMap();

  ImageBytes FBytes;
  bool FStartsWithMz = false;
  bool FHasNewHeader = false;
  bool FIsPe = false;
  bool FIs64 = false;
  Word FSignature = 0;
  Cardinal FNewHeaderOffset = 0;
  Word FDeclaredSectionCount = 0;
  UInt64 FImageBase = 0;
  Cardinal FSizeOfImage = 0;
  std::vector<SectionHeader> FSections;
  // Disjoint address ranges, sorted, each naming the section that wins there,
  // so a lookup is a binary search even when hostile sections overlap.
  std::vector<SectionSpan> FSectionMap;
};

}  // namespace peimage
