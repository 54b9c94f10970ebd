// Scans over whole regions of the image: the printable strings of the file and
// the class tables of the code section.
#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "pe/imageparsers.h"
#include "rtl/sysstr.h"

namespace peimage {

namespace {

[[maybe_unused]] inline bool Printable(unsigned value) {
  return value - 32u < 95u;
}

// One bit per byte (or per 16-bit unit) of a block of 64: set when printable.
// The scans look at these masks instead of at single bytes, and drop the short
// runs inside a block before walking it, so ordinary binary data costs a few
// instructions per block.
inline UInt64 ByteMask(const Byte* data) {
#ifdef __SSE2__
  UInt64 mask = 0;
  const __m128i low = _mm_set1_epi8(31);
  const __m128i high = _mm_set1_epi8(127);
  for (int part = 0; part < 4; ++part) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * part));
    // Signed compares: bytes from 128 up are negative and fail the first one.
    __m128i printable = _mm_and_si128(_mm_cmpgt_epi8(v, low), _mm_cmplt_epi8(v, high));
    mask |= static_cast<UInt64>(static_cast<unsigned>(_mm_movemask_epi8(printable))) << (16 * part);
  }
  return mask;
#else
  UInt64 mask = 0;
  for (int i = 0; i < 64; ++i) mask |= static_cast<UInt64>(Printable(data[i])) << i;
  return mask;
#endif
}

inline UInt64 UnitMask(const Byte* data) {
#ifdef __SSE2__
  UInt64 mask = 0;
  const __m128i low = _mm_set1_epi16(31);
  const __m128i high = _mm_set1_epi16(127);
  for (int part = 0; part < 8; part += 2) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * part));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * part + 16));
    __m128i pa = _mm_and_si128(_mm_cmpgt_epi16(a, low), _mm_cmplt_epi16(a, high));
    __m128i pb = _mm_and_si128(_mm_cmpgt_epi16(b, low), _mm_cmplt_epi16(b, high));
    mask |= static_cast<UInt64>(static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(pa, pb)))) << (8 * part);
  }
  return mask;
#else
  UInt64 mask = 0;
  for (int i = 0; i < 64; ++i) mask |= static_cast<UInt64>(data[2 * i + 1] == 0 && Printable(data[2 * i])) << i;
  return mask;
#endif
}

// Keeps the runs of at least kMinStringRun set bits and those touching either
// end of the block (they may continue in the neighbouring block).
inline UInt64 LongRuns(UInt64 mask) {
  UInt64 starts = mask & (mask >> 1) & (mask >> 2) & (mask >> 3) & (mask >> 4);
  UInt64 kept = starts | (starts << 1) | (starts << 2) | (starts << 3) | (starts << 4);
  UInt64 low = mask & ~(mask + 1);
  UInt64 high = (mask >> 63) ? ~UInt64{0} << (63 - std::countl_one(mask) + 1) : 0;
  return kept | low | high;
}

// Walks the runs of a file's units (bytes or 16-bit units) by their masks and
// hands each complete run (start, length in units) to `add`.
template <class Mask, class Add>
void ScanRuns(const Byte* data, std::size_t units, std::size_t unitSize, Mask&& maskOf, Add&& add) {
  std::size_t runStart = 0;
  bool inRun = false;
  auto walk = [&](UInt64 mask, std::size_t base) {
    int pos = 0;
    while (pos < 64) {
      if (inRun) {
        UInt64 zeros = ~mask >> pos;
        if (zeros == 0) return;
        pos += std::countr_zero(zeros);
        add(runStart, base + static_cast<std::size_t>(pos) - runStart);
        inRun = false;
      } else {
        UInt64 ones = mask >> pos;
        if (ones == 0) return;
        pos += std::countr_zero(ones);
        runStart = base + static_cast<std::size_t>(pos);
        inRun = true;
      }
    }
  };
  std::size_t block = 0;
  for (; block + 64 <= units; block += 64) {
    UInt64 mask = maskOf(data + block * unitSize);
    if (mask == 0 && !inRun) continue;
    if (mask == ~UInt64{0} && inRun) continue;
    walk(LongRuns(mask), block);
  }
  // The last, partial block through a copy padded with unprintable zeros.
  Byte tail[128] = {};
  std::memcpy(tail, data + block * unitSize, (units - block) * unitSize);
  walk(maskOf(tail), block);
  if (inRun) add(runStart, units - runStart);
}

// Refills a list of strings in place: the strings already in it keep their
// memory for the new runs, so a reader that loads file after file allocates
// little. The list ends with the runs found, also when a scan stops early.
class RunList {
 public:
  explicit RunList(std::vector<String>& strings) : FStrings(strings) {}
  RunList(const RunList&) = delete;
  RunList& operator=(const RunList&) = delete;
  ~RunList() { FStrings.resize(FUsed); }

  // The next string of the list, `length` units long, for the caller to fill.
  String& Next(std::size_t length) {
    if (FUsed == FStrings.size()) FStrings.emplace_back();
    String& text = FStrings[FUsed];
    text.resize(length);
    ++FUsed;
    return text;
  }

 private:
  std::vector<String>& FStrings;
  std::size_t FUsed = 0;
};

void AddRun(RunList& strings, const Byte* start, std::size_t length) {
  if (length < kMinStringRun || length > kMaxStringRun) return;
  String& text = strings.Next(length);
  std::size_t i = 0;
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= length; i += 16) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(start + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(text.data() + i), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(text.data() + i + 8), _mm_unpackhi_epi8(bytes, zero));
  }
#endif
  for (; i < length; ++i) text[i] = start[i];
}

void AddWideRun(RunList& strings, const Byte* start, std::size_t units) {
  if (units < kMinStringRun || units > kMaxStringRun) return;
  String& text = strings.Next(units);
  for (std::size_t i = 0; i < units; ++i) text[i] = static_cast<Char>(start[2 * i]);
}

bool IsIdentifier(ImageBytes name) {
  if (name.empty()) return false;
  auto letter = [](Byte c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!letter(name[0])) return false;
  for (Byte c : name.subspan(1))
    if (!letter(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

// The class tables of the compiler's generations differ in the number of
// slots below the class reference and in the slot size; the fields keep
// their order: self pointer, interface, automation, initialisation and type
// information tables, field, method and dynamic method tables, class name,
// instance size, parent link. Each layout is told by the distance from the
// self pointer to the class reference it holds.
struct TableLayout {
  unsigned Slot;       // bytes per slot
  unsigned SelfSlots;  // slots from the self pointer up to the class reference
};
// 32-bit: the first generation with interfaces (16 slots), the one that
// added construction hooks (19), the one that added equality, hashing and
// text (22); 64-bit: 22 slots of 8 bytes.
constexpr TableLayout kLayouts32[] = {{4, 16}, {4, 19}, {4, 22}};
constexpr TableLayout kLayout64 = {8, 22};
// Slot numbers counted down from the self pointer.
constexpr unsigned kCodeSlots[] = {1, 2, 3, 4};     // interface .. type information
constexpr unsigned kForwardSlots[] = {5, 6, 7, 8};  // field table .. class name
constexpr unsigned kNameSlot = 8;
constexpr unsigned kParentSlot = 10;

}  // namespace

void ScanStrings(ImageBytes bytes, std::vector<String>& strings) {
  RunList runs(strings);
  const Byte* data = bytes.data();
  ScanRuns(
      data, bytes.size(), 1, [](const Byte* block) { return ByteMask(block); },
      [&](std::size_t start, std::size_t length) { AddRun(runs, data + start, length); });
}

void ScanWideStrings(ImageBytes bytes, std::vector<String>& strings) {
  RunList runs(strings);
  const Byte* data = bytes.data();
  ScanRuns(
      data, bytes.size() / 2, 2, [](const Byte* block) { return UnitMask(block); },
      [&](std::size_t start, std::size_t length) { AddWideRun(runs, data + 2 * start, length); });
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
  const bool is64 = layout.Is64();
  const unsigned pointer = is64 ? 8 : 4;
  if (!code || code->SizeOfRawData < pointer) return;
  ImageBytes bytes = layout.Bytes();
  UInt64 rawStart = code->PointerToRawData;
  if (rawStart >= bytes.size()) return;
  // Only the part of the section that the file holds is scanned.
  UInt64 rawSize = std::min<UInt64>(code->SizeOfRawData, bytes.size() - rawStart);
  UInt64 codeStart = layout.ImageBase() + code->VirtualAddress;
  UInt64 codeEnd = codeStart + code->SizeOfRawData - 4;
  const Byte* raw = bytes.data() + rawStart;
  auto load = [&](UInt64 offset) { return is64 ? LoadU64(raw + offset) : UInt64{LoadU32(raw + offset)}; };
  auto valueAt = [&](UInt64 address, UInt64& value) {
    UInt64 offset = address - codeStart;
    if (address < codeStart || offset + pointer > rawSize) return false;
    value = load(offset);
    return true;
  };
  auto accept = [&](UInt64 p, const TableLayout& table) {
    const UInt64 r = p + UInt64{table.Slot} * table.SelfSlots;
    auto slot = [&](unsigned index) { return p + UInt64{table.Slot} * index; };
    for (unsigned index : kForwardSlots) {
      UInt64 value = 0;
      if (!valueAt(slot(index), value) || (value != 0 && (value < r || value > codeEnd))) return;
    }
    for (unsigned index : kCodeSlots) {
      UInt64 value = 0;
      if (!valueAt(slot(index), value) || (value != 0 && (value < codeStart || value > codeEnd))) return;
    }
    UInt64 namePointer = 0;
    if (!valueAt(slot(kNameSlot), namePointer) || namePointer == 0) return;
    UInt64 nameOffset = namePointer - codeStart;
    if (nameOffset >= rawSize) return;
    Byte length = raw[nameOffset];
    if (nameOffset + 1 + length > rawSize) return;
    ImageBytes name(raw + nameOffset + 1, length);
    if (!IsIdentifier(name)) return;
    UInt64 parent = 0;
    if (!valueAt(slot(kParentSlot), parent)) parent = 0;
    classes.push_back(TClassItem{r, String(name.begin(), name.end()), p, parent});
  };
  for (UInt64 offset = 0; offset + pointer <= rawSize && codeStart + offset < codeEnd; offset += 4) {
    const UInt64 p = codeStart + offset;
    const UInt64 value = load(offset);
    if (value <= p) continue;
    const UInt64 distance = value - p;
    if (is64) {
      if (distance == UInt64{kLayout64.Slot} * kLayout64.SelfSlots) accept(p, kLayout64);
      continue;
    }
    for (const TableLayout& table : kLayouts32)
      if (distance == UInt64{table.Slot} * table.SelfSlots) accept(p, table);
  }
}

}  // namespace peimage
