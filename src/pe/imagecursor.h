// The one way the image reader touches file bytes: a read-only window over the
// image and a cursor that checks every read against the window's end. An image
// is hostile input; a read that does not fit raises EImageFault, which the
// reader's guard around each parser turns into a short list.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "rtl/exceptions.h"
#include "rtl/types.h"

// Raised for any structure that reaches outside the image or breaks a limit.
// Parsers never let it escape the reader.
KST_DECLARE_EXCEPTION(EImageFault, Exception);

namespace peimage {

using ImageBytes = std::span<const Byte>;

[[noreturn]] void RaiseFault();

// Little-endian loads from a place already known to be in bounds.
inline Word LoadU16(const Byte* p) {
  return static_cast<Word>(p[0] | (p[1] << 8));
}
inline Cardinal LoadU32(const Byte* p) {
  return static_cast<Cardinal>(p[0]) | (static_cast<Cardinal>(p[1]) << 8) | (static_cast<Cardinal>(p[2]) << 16) |
         (static_cast<Cardinal>(p[3]) << 24);
}
inline UInt64 LoadU64(const Byte* p) {
  return LoadU32(p) | (static_cast<UInt64>(LoadU32(p + 4)) << 32);
}

// Offsets are 64-bit so that offset + length never wraps, whatever a header says.
class ByteCursor {
 public:
  ByteCursor() = default;
  explicit ByteCursor(ImageBytes bytes, UInt64 offset = 0) : FBytes(bytes), FOffset(offset) {}

  UInt64 Offset() const { return FOffset; }
  UInt64 Size() const { return FBytes.size(); }
  UInt64 Remaining() const { return FOffset < FBytes.size() ? FBytes.size() - FOffset : 0; }
  bool CanRead(UInt64 count) const { return count <= Remaining(); }
  ImageBytes Bytes() const { return FBytes; }

  // Moving past the end is allowed; the next read then fails.
  void Seek(UInt64 offset) { FOffset = offset; }
  void Skip(UInt64 count) {
    Need(count);
    FOffset += count;
  }
  void AlignTo(UInt64 alignment, UInt64 origin = 0) {
    UInt64 rel = FOffset - origin;
    FOffset = origin + (rel + alignment - 1) / alignment * alignment;
  }

  Byte U8() { return *Take(1); }
  Word U16() { return LoadU16(Take(2)); }
  Cardinal U32() { return LoadU32(Take(4)); }
  UInt64 U64() { return LoadU64(Take(8)); }
  Integer I32() { return static_cast<Integer>(U32()); }

  // Reads at an absolute offset without moving.
  Word U16At(UInt64 offset) const { return LoadU16(At(offset, 2)); }
  Cardinal U32At(UInt64 offset) const { return LoadU32(At(offset, 4)); }
  UInt64 U64At(UInt64 offset) const { return LoadU64(At(offset, 8)); }

  ImageBytes Block(UInt64 count) { return ImageBytes(Take(count), static_cast<std::size_t>(count)); }
  // The bytes at an absolute offset; fails unless all of them are in the image.
  ImageBytes BlockAt(UInt64 offset, UInt64 count) const {
    return ImageBytes(At(offset, count), static_cast<std::size_t>(count));
  }

  // A zero-terminated byte string of at most maxLength bytes before its zero;
  // the zero is consumed. A string without a zero inside the limit or the image
  // is a fault, so an unterminated array cannot run on.
  AnsiString ZString(std::size_t maxLength);
  // The same for 16-bit units.
  String ZWideString(std::size_t maxLength);
  // A 16-bit count followed by that many UTF-16 units.
  String CountedWideString();
  // count UTF-16 units.
  String WideChars(UInt64 count);

 private:
  void Need(UInt64 count) const {
    if (count > Remaining()) RaiseFault();
  }
  const Byte* Take(UInt64 count) {
    Need(count);
    const Byte* p = FBytes.data() + FOffset;
    FOffset += count;
    return p;
  }
  const Byte* At(UInt64 offset, UInt64 count) const {
    if (offset > FBytes.size() || count > FBytes.size() - offset) RaiseFault();
    return FBytes.data() + offset;
  }

  ImageBytes FBytes;
  UInt64 FOffset = 0;
};

}  // namespace peimage
