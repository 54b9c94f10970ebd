#include "rtl/streams.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "rtl/encoding.h"
#include "rtl/exceptions.h"
#include "rtl/files.h"
#include "rtl/files_platform.h"

namespace {

constexpr Int64 kInt64Max = std::numeric_limits<Int64>::max();
constexpr Int64 kInt64Min = std::numeric_limits<Int64>::min();

// Far beyond any memory the program will have; larger requests fail at once
// instead of asking the allocator.
constexpr UInt64 kMaxMemorySize = UInt64{1} << 40;

// Copies go through a bounded buffer, so a huge count never allocates at once.
constexpr Int64 kCopyBufferSize = 1 << 20;

Int64 SaturatingAdd(Int64 a, Int64 b) {
  Int64 sum;
  if (__builtin_add_overflow(a, b, &sum)) return b > 0 ? kInt64Max : kInt64Min;
  return sum;
}

[[noreturn]] void RaiseExpandError() {
  throw EOutOfMemory(u"Out of memory while expanding memory stream");
}

}  // namespace

// ---- TStream ----

void TStream::ReadBuffer(void* buffer, Int64 count) {
  if (count < 0 || (count != 0 && Read(buffer, count) != count)) throw EReadError(u"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, Int64 count) {
  if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError(u"Stream write error");
}

Int64 TStream::Size() {
  Int64 position = Seek(0, soCurrent);
  Int64 size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

void TStream::SetSize(Int64 /*newSize*/) {}

Int64 TStream::CopyFrom(TStream& source, Int64 count) {
  if (count <= 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  if (count <= 0) return 0;
  TBytes buffer(static_cast<size_t>(std::min(count, kCopyBufferSize)));
  Int64 remaining = count;
  while (remaining > 0) {
    Int64 chunk = std::min<Int64>(remaining, static_cast<Int64>(buffer.size()));
    source.ReadBuffer(buffer.data(), chunk);
    WriteBuffer(buffer.data(), chunk);
    remaining -= chunk;
  }
  return count;
}

TBytes TStream::ReadAllBytes() {
  Int64 remaining = Size() - Position();
  if (remaining <= 0) return {};
  if (static_cast<UInt64>(remaining) > kMaxMemorySize) RaiseExpandError();
  TBytes bytes;
  try {
    bytes.resize(static_cast<size_t>(remaining));
  } catch (const std::bad_alloc&) {
    RaiseExpandError();
  } catch (const std::length_error&) {
    RaiseExpandError();
  }
  bytes.resize(static_cast<size_t>(std::max<Int64>(Read(bytes.data(), remaining), 0)));
  return bytes;
}

// ---- TCustomMemoryStream ----

Int64 TCustomMemoryStream::Read(void* buffer, Int64 count) {
  if (count <= 0 || FPosition < 0 || FPosition >= FSize) return 0;
  Int64 moved = std::min(count, FSize - FPosition);
  std::memcpy(buffer, FMemory + FPosition, static_cast<size_t>(moved));
  FPosition += moved;
  return moved;
}

Int64 TCustomMemoryStream::Write(const void* /*buffer*/, Int64 /*count*/) {
  return 0;
}

Int64 TCustomMemoryStream::Seek(Int64 offset, TSeekOrigin origin) {
  switch (origin) {
    case soBeginning: FPosition = offset; break;
    case soCurrent: FPosition = SaturatingAdd(FPosition, offset); break;
    case soEnd: FPosition = SaturatingAdd(FSize, offset); break;
  }
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) {
  if (FSize > 0) stream.WriteBuffer(FMemory, FSize);
}

void TCustomMemoryStream::SaveToFile(const String& fileName) {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

// ---- TMemoryStream ----

TMemoryStream::TMemoryStream(TBytes data) : FData(std::move(data)) {
  SetPointer(FData.data(), static_cast<Int64>(FData.size()));
}

// Room for `newSize` bytes; grows geometrically so that a run of small
// writes costs linear time.
void TMemoryStream::Reserve(Int64 newSize) {
  if (static_cast<UInt64>(newSize) > kMaxMemorySize) RaiseExpandError();
  size_t wanted = static_cast<size_t>(newSize);
  if (wanted <= FData.capacity()) return;
  size_t grown = FData.capacity() + FData.capacity() / 2;
  try {
    try {
      Reallocate(std::max(wanted, std::min<size_t>(grown, kMaxMemorySize)));
    } catch (const std::bad_alloc&) {
      Reallocate(wanted);
    }
  } catch (const std::bad_alloc&) {
    RaiseExpandError();
  } catch (const std::length_error&) {
    RaiseExpandError();
  }
}

// A new block, offered large pages before anything touches it, and the
// content moved over; the old block stays as it is if allocation fails.
void TMemoryStream::Reallocate(size_t capacity) {
  TBytes grown;
  grown.reserve(capacity);
  files_platform::PreferLargePages(grown.data(), grown.capacity());
  grown.insert(grown.end(), FData.begin(), FData.end());
  FData.swap(grown);
  SetPointer(FData.data(), static_cast<Int64>(FData.size()));
}

void TMemoryStream::Resize(Int64 newSize) {
  if (newSize < 0) newSize = 0;
  Reserve(newSize);
  try {
    FData.resize(static_cast<size_t>(newSize));
  } catch (const std::bad_alloc&) {
    RaiseExpandError();
  }
  SetPointer(FData.data(), newSize);
}

Int64 TMemoryStream::Write(const void* buffer, Int64 count) {
  if (count <= 0 || FPosition < 0) return 0;
  if (count > kInt64Max - FPosition) RaiseExpandError();
  Int64 end = FPosition + count;
  const auto* bytes = static_cast<const Byte*>(buffer);
  if (FPosition == Size()) {
    // Appending, the common case: the new bytes are copied in once instead
    // of being cleared first and then overwritten.
    Reserve(end);
    FData.insert(FData.end(), bytes, bytes + count);
    SetPointer(FData.data(), end);
    FPosition = end;
    return count;
  }
  if (end > Size()) Resize(end);
  std::memcpy(Memory() + FPosition, bytes, static_cast<size_t>(count));
  FPosition = end;
  return count;
}

void TMemoryStream::SetSize(Int64 newSize) {
  Resize(newSize);
  if (FPosition > Size()) FPosition = Size();
}

void TMemoryStream::SetCapacity(Int64 capacity) {
  if (capacity <= static_cast<Int64>(FData.capacity())) return;
  if (static_cast<UInt64>(capacity) > kMaxMemorySize) RaiseExpandError();
  try {
    Reallocate(static_cast<size_t>(capacity));
  } catch (const std::bad_alloc&) {
    RaiseExpandError();
  } catch (const std::length_error&) {
    RaiseExpandError();
  }
}

void TMemoryStream::Clear() {
  TBytes().swap(FData);
  SetPointer(nullptr, 0);
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  if (&stream == this) return;
  stream.SetPosition(0);
  Int64 count = stream.Size();
  SetSize(count);
  if (count > 0) stream.ReadBuffer(Memory(), count);
}

void TMemoryStream::LoadFromFile(const String& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

// ---- TStringStream ----

TStringStream::TStringStream() : FEncoding(TEncoding::ANSI()) {}

TStringStream::TStringStream(const String& text, TEncoding* encoding)
    : TBytesStream(), FEncoding(encoding ? encoding : TEncoding::ANSI()) {
  FData = FEncoding->GetBytes(text);
  SetPointer(FData.data(), static_cast<Int64>(FData.size()));
}

TStringStream::TStringStream(const RawByteString& bytes)
    : TBytesStream(TBytes(bytes.begin(), bytes.end())), FEncoding(TEncoding::ANSI()) {}

TStringStream::TStringStream(const TBytes& bytes) : TBytesStream(bytes), FEncoding(TEncoding::ANSI()) {}

String TStringStream::DataString() const {
  return FEncoding->GetString(FData.data(), FData.size());
}

String TStringStream::ReadString(Int64 count) {
  if (count <= 0 || FPosition < 0 || FPosition >= Size()) return String();
  Int64 available = std::min(count, Size() - FPosition);
  String text = FEncoding->GetString(FData.data() + FPosition, static_cast<size_t>(available));
  FPosition += available;
  return text;
}

void TStringStream::WriteString(const String& text) {
  TBytes bytes = FEncoding->GetBytes(text);
  WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}

// ---- THandleStream and TFileStream ----

Int64 THandleStream::Read(void* buffer, Int64 count) {
  if (count <= 0) return 0;
  return std::max<Int64>(FileRead(FHandle, buffer, count), 0);
}

Int64 THandleStream::Write(const void* buffer, Int64 count) {
  if (count <= 0) return 0;
  return std::max<Int64>(FileWrite(FHandle, buffer, count), 0);
}

Int64 THandleStream::Seek(Int64 offset, TSeekOrigin origin) {
  return FileSeek(FHandle, offset, static_cast<int>(origin));
}

void THandleStream::SetSize(Int64 newSize) {
  SetPosition(newSize);
  if (!FileSetSize(FHandle, newSize)) RaiseLastOSError();
}

TFileStream::TFileStream(const String& fileName, Word mode) : THandleStream(InvalidHandle), FFileName(fileName) {
  if ((mode & fmCreate) == fmCreate) {
    FHandle = FileCreate(fileName, mode & 0x00FF);
    if (FHandle == InvalidHandle) files_platform::RaiseCreateError(fileName, GetLastOSError());
  } else {
    FHandle = FileOpen(fileName, mode);
    if (FHandle == InvalidHandle) files_platform::RaiseOpenError(fileName, GetLastOSError());
  }
}

TFileStream::~TFileStream() {
  FileClose(FHandle);
}
