// Scans over whole regions of the image: the printable strings of the file and
// the class tables of the code section.
#include "pe/imageparsers.h"
#include "rtl/sysstr.h"

namespace peimage {

namespace {

inline bool Printable(unsigned value) {
  return value - 32u < 95u;
}

void AddRun(std::vector<String>& strings, const Byte* start, std::size_t length) {
  if (length < kMinStringRun || length > kMaxStringRun) return;
  strings.emplace_back(start, start + length);
}

void AddWideRun(std::vector<String>& strings, const Byte* start, std::size_t units) {
  if (units < kMinStringRun || units > kMaxStringRun) return;
  String text(units, u'\0');
  for (std::size_t i = 0; i < units; ++i) text[i] = static_cast<Char>(start[2 * i]);
  strings.push_back(std::move(text));
}

bool IsIdentifier(ImageBytes name) {
  if (name.empty()) return false;
  auto letter = [](Byte c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!letter(name[0])) return false;
  for (Byte c : name.subspan(1))
    if (!letter(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

// Offsets of the class table fields from the class reference.
constexpr UInt64 kSelfPointer = 88;
constexpr UInt64 kClassName = 56;
// Fields that point behind the class reference (field, method, dynamic method
// tables, class name) and fields that point anywhere in the code.
constexpr UInt64 kForwardFields[] = {56, 60, 64, 68};
constexpr UInt64 kCodeFields[] = {72, 76, 80, 84};

}  // namespace

void ScanStrings(ImageBytes bytes, std::vector<String>& strings) {
  strings.clear();
  const Byte* data = bytes.data();
  std::size_t size = bytes.size();
  std::size_t i = 0;
  while (i < size) {
    while (i < size && !Printable(data[i])) ++i;
    std::size_t start = i;
    while (i < size && Printable(data[i])) ++i;
    AddRun(strings, data + start, i - start);
  }
}

void ScanWideStrings(ImageBytes bytes, std::vector<String>& strings) {
  strings.clear();
  const Byte* data = bytes.data();
  std::size_t units = bytes.size() / 2;
  auto printable = [data](std::size_t unit) { return data[2 * unit + 1] == 0 && Printable(data[2 * unit]); };
  std::size_t i = 0;
  while (i < units) {
    while (i < units && !printable(i)) ++i;
    std::size_t start = i;
    while (i < units && printable(i)) ++i;
    AddWideRun(strings, data + 2 * start, i - start);
  }
}

// All addresses are compared as unsigned 64-bit values, so an image based
// above 2 GiB (or near 4 GiB) is scanned like any other.
void ScanClasses(const ImageLayout& layout, std::vector<TClassItem>& classes) {
  const std::vector<SectionHeader>& sections = layout.Sections();
  const SectionHeader* code = nullptr;
  for (const char16_t* name : {u"CODE", u".text"}) {
    for (const SectionHeader& section : sections) {
      if (SameText(SectionName(section), name)) {
        code = &section;
        break;
      }
    }
    if (code) break;
  }
  if (!code || code->SizeOfRawData < 4) return;
  ImageBytes bytes = layout.Bytes();
  UInt64 rawStart = code->PointerToRawData;
  if (rawStart >= bytes.size()) return;
  // Only the part of the section that the file holds is scanned.
  UInt64 rawSize = std::min<UInt64>(code->SizeOfRawData, bytes.size() - rawStart);
  UInt64 codeStart = layout.ImageBase() + code->VirtualAddress;
  UInt64 codeEnd = codeStart + code->SizeOfRawData - 4;
  const Byte* raw = bytes.data() + rawStart;
  auto valueAt = [&](UInt64 address, Cardinal& value) {
    UInt64 offset = address - codeStart;
    if (address < codeStart || offset + 4 > rawSize) return false;
    value = LoadU32(raw + offset);
    return true;
  };
  for (UInt64 offset = 0; offset + 4 <= rawSize && codeStart + offset < codeEnd; offset += 4) {
    UInt64 p = codeStart + offset;
    if (LoadU32(raw + offset) != p + kSelfPointer) continue;
    UInt64 r = p + kSelfPointer;
    bool accepted = true;
    for (UInt64 field : kForwardFields) {
      Cardinal value = 0;
      if (!valueAt(r - field, value) || (value != 0 && (value < r || value > codeEnd))) accepted = false;
    }
    for (UInt64 field : kCodeFields) {
      Cardinal value = 0;
      if (!valueAt(r - field, value) || (value != 0 && (value < codeStart || value > codeEnd))) accepted = false;
    }
    if (!accepted) continue;
    Cardinal namePointer = 0;
    if (!valueAt(r - kClassName, namePointer) || namePointer == 0) continue;
    UInt64 nameOffset = namePointer - codeStart;
    if (nameOffset >= rawSize) continue;
    Byte length = raw[nameOffset];
    if (nameOffset + 1 + length > rawSize) continue;
    ImageBytes name(raw + nameOffset + 1, length);
    if (!IsIdentifier(name)) continue;
    classes.push_back(TClassItem{static_cast<Cardinal>(r), String(name.begin(), name.end())});
  }
}

}  // namespace peimage
