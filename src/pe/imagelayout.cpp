#include "pe/imagelayout.h"

#include <algorithm>
#include <set>

#include "rtl/codepage.h"

namespace peimage {

ImageLayout::ImageLayout(ImageBytes bytes) : FBytes(bytes) {
  ByteCursor cursor(bytes);
  FStartsWithMz = cursor.CanRead(2) && cursor.U16At(0) == kMzSignature;
  if (!cursor.CanRead(64)) return;
  FNewHeaderOffset = cursor.U32At(60);
  UInt64 header = FNewHeaderOffset;
  if (header + 26 > bytes.size()) return;
  FHasNewHeader = true;
  FSignature = cursor.U16At(header);
  FIs64 = cursor.U16At(header + 24) == kPe32PlusMagic;
  FIsPe = cursor.U32At(header) == kPeSignature;
  if (FSignature == kPeSignature) FDeclaredSectionCount = cursor.U16At(header + 6);
  if (!FIsPe) return;
  UInt64 optional = OptionalHeaderOffset();
  if (FIs64) {
    if (cursor.CanRead(optional + 32)) FImageBase = cursor.U64At(optional + 24);
  } else {
    if (cursor.CanRead(optional + 32)) FImageBase = cursor.U32At(optional + 28);
  }
  if (cursor.CanRead(optional + 60)) FSizeOfImage = cursor.U32At(optional + 56);
  ReadSections();
  BuildSectionMap();
}

void ImageLayout::ReadSections() {
  UInt64 table = UInt64{FNewHeaderOffset} + HeadersSize();
  ByteCursor cursor(FBytes, table);
  UInt64 fitting = cursor.Remaining() / kSectionHeaderSize;
  auto count = static_cast<std::size_t>(std::min<UInt64>(FDeclaredSectionCount, fitting));
  FSections.resize(count);
  for (SectionHeader& section : FSections) {
    ImageBytes name = cursor.Block(8);
    std::copy(name.begin(), name.end(), section.Name.begin());
    section.VirtualSize = cursor.U32();
    section.VirtualAddress = cursor.U32();
    section.SizeOfRawData = cursor.U32();
    section.PointerToRawData = cursor.U32();
    section.PointerToRelocations = cursor.U32();
    section.PointerToLinenumbers = cursor.U32();
    section.NumberOfRelocations = cursor.U16();
    section.NumberOfLinenumbers = cursor.U16();
    section.Characteristics = cursor.U32();
  }
}

// A sweep over the section boundaries: between two neighbouring boundaries the
// section earliest in the table among those covering the range wins.
void ImageLayout::BuildSectionMap() {
  struct Boundary {
    UInt64 Address;
    bool Opens;
    std::size_t Section;
  };
  std::vector<Boundary> boundaries;
  boundaries.reserve(FSections.size() * 2);
  for (std::size_t i = 0; i < FSections.size(); ++i) {
    UInt64 begin = FSections[i].VirtualAddress;
    UInt64 end = begin + FSections[i].VirtualSize;
    if (end == begin) continue;
    boundaries.push_back({begin, true, i});
    boundaries.push_back({end, false, i});
  }
  std::sort(boundaries.begin(), boundaries.end(),
            [](const Boundary& a, const Boundary& b) { return a.Address < b.Address; });
  std::set<std::size_t> open;
  for (std::size_t i = 0; i < boundaries.size();) {
    UInt64 address = boundaries[i].Address;
    for (; i < boundaries.size() && boundaries[i].Address == address; ++i) {
      if (boundaries[i].Opens) {
        open.insert(boundaries[i].Section);
      } else {
        open.erase(boundaries[i].Section);
      }
    }
    if (open.empty() || i == boundaries.size()) continue;
    std::size_t winner = *open.begin();
    UInt64 next = boundaries[i].Address;
    if (!FSectionMap.empty() && FSectionMap.back().Section == winner && FSectionMap.back().End == address) {
      FSectionMap.back().End = next;
    } else {
      FSectionMap.push_back({address, next, winner});
    }
  }
}

String SectionName(const SectionHeader& section) {
  std::string_view name(reinterpret_cast<const char*>(section.Name.data()), section.Name.size());
  return AnsiToString(name.substr(0, name.find('\0')));
}

DataDirectory ImageLayout::Directory(int index) const {
  UInt64 table = OptionalHeaderOffset() + (FIs64 ? 112 : 96) + static_cast<UInt64>(index) * 8;
  ByteCursor cursor(FBytes, table);
  DataDirectory directory;
  directory.VirtualAddress = cursor.U32();
  directory.Size = cursor.U32();
  return directory;
}

std::optional<std::size_t> ImageLayout::SectionOfRva(UInt64 rva) const {
  auto it = std::upper_bound(FSectionMap.begin(), FSectionMap.end(), rva,
                             [](UInt64 address, const SectionSpan& span) { return address < span.Begin; });
  if (it == FSectionMap.begin()) return std::nullopt;
  --it;
  if (rva >= it->End) return std::nullopt;
  return it->Section;
}

UInt64 ImageLayout::RvaToOffset(UInt64 rva) const {
  std::optional<std::size_t> section = SectionOfRva(rva);
  if (!section) return rva;
  const SectionHeader& header = FSections[*section];
  return UInt64{header.PointerToRawData} + (rva - header.VirtualAddress);
}

UInt64 ImageLayout::VaToOffset(UInt64 va) const {
  if (va >= FImageBase && va - FImageBase < FSizeOfImage) va -= FImageBase;
  return RvaToOffset(va);
}

}  // namespace peimage
