// Byte streams: the abstract stream, streams over memory and over files.
//
// Positions and counts are 64-bit. Read and Write move at most `count` bytes
// and return how many they moved (never negative); ReadBuffer and WriteBuffer
// insist on all of them and raise the platform's errors otherwise.
#pragma once

#include <utility>

#include "rtl/object.h"
#include "rtl/types.h"

class TEncoding;

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };
inline constexpr TSeekOrigin soBeginning = TSeekOrigin::soBeginning;
inline constexpr TSeekOrigin soCurrent = TSeekOrigin::soCurrent;
inline constexpr TSeekOrigin soEnd = TSeekOrigin::soEnd;

// Open and share modes of TFileStream and FileOpen/FileCreate, the platform's values.
inline constexpr Word fmCreate = 0xFF00;
inline constexpr Word fmOpenRead = 0x0000;
inline constexpr Word fmOpenWrite = 0x0001;
inline constexpr Word fmOpenReadWrite = 0x0002;
inline constexpr Word fmShareCompat = 0x0000;
inline constexpr Word fmShareExclusive = 0x0010;
inline constexpr Word fmShareDenyWrite = 0x0020;
inline constexpr Word fmShareDenyRead = 0x0030;
inline constexpr Word fmShareDenyNone = 0x0040;

// An operating-system file handle: a HANDLE on Windows, a descriptor natively.
using THandle = std::intptr_t;
inline constexpr THandle InvalidHandle = -1;

class TStream : public TObject {
 public:
  // Moves up to `count` bytes; returns the number moved (0 for count <= 0).
  virtual Int64 Read(void* buffer, Int64 count) = 0;
  virtual Int64 Write(const void* buffer, Int64 count) = 0;
  // Returns the new position (or -1 where the operating system refuses).
  virtual Int64 Seek(Int64 offset, TSeekOrigin origin) = 0;

  // All `count` bytes or EReadError "Stream read error".
  void ReadBuffer(void* buffer, Int64 count);
  // All `count` bytes or EWriteError "Stream write error".
  void WriteBuffer(const void* buffer, Int64 count);

  Int64 Position() { return Seek(0, soCurrent); }
  void SetPosition(Int64 position) { Seek(position, soBeginning); }
  // The default seeks to the end and back.
  virtual Int64 Size();
  // The default does nothing: a stream that cannot change size ignores it.
  virtual void SetSize(Int64 newSize);

  // Copies `count` bytes from the source's current position; a count of 0
  // (or less) copies the whole source from its start. Returns the bytes copied.
  // A source that ends early raises EReadError.
  Int64 CopyFrom(TStream& source, Int64 count);

  // Whole-stream helpers used by the persistence code.
  TBytes ReadAllBytes();  // from the current position to the end
};

// A stream over memory that someone else provides. Writing stores nothing.
class TCustomMemoryStream : public TStream {
 public:
  Int64 Read(void* buffer, Int64 count) override;
  Int64 Write(const void* buffer, Int64 count) override;
  // Any position may be set, also beyond the end or below zero; reading
  // there gives nothing.
  Int64 Seek(Int64 offset, TSeekOrigin origin) override;
  Int64 Size() override { return FSize; }

  Byte* Memory() const noexcept { return FMemory; }
  void SaveToStream(TStream& stream);
  void SaveToFile(const String& fileName);

 protected:
  void SetPointer(Byte* memory, Int64 size) noexcept {
    FMemory = memory;
    FSize = size;
  }
  Int64 FPosition = 0;

 private:
  Byte* FMemory = nullptr;
  Int64 FSize = 0;
};

// A growable stream in memory. Growth is amortised; SetSize beyond what can be
// allocated (or beyond 1 TB, which is refused without asking) raises
// EOutOfMemory "Out of memory while expanding memory stream".
class TMemoryStream : public TCustomMemoryStream {
 public:
  TMemoryStream() = default;
  TMemoryStream(const TMemoryStream&) = delete;
  TMemoryStream& operator=(const TMemoryStream&) = delete;

  Int64 Write(const void* buffer, Int64 count) override;
  void SetSize(Int64 newSize) override;
  // Reserves room for at least `capacity` bytes without changing the size.
  void SetCapacity(Int64 capacity);
  Int64 Capacity() const noexcept { return static_cast<Int64>(FData.capacity()); }

  void Clear();
  // Replace the content by the whole of `stream` (from its start) or the file;
  // the position stays (within the new size), as on the platform.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const String& fileName);

 protected:
  explicit TMemoryStream(TBytes data);
  TBytes FData;  // exactly Size() bytes

 private:
  void Reserve(Int64 newSize);
  void Reallocate(size_t capacity);
  void Resize(Int64 newSize);
};

// A memory stream over a byte array, which it takes over; Bytes() holds
// exactly Size() bytes.
class TBytesStream : public TMemoryStream {
 public:
  explicit TBytesStream(TBytes bytes = {}) : TMemoryStream(std::move(bytes)) {}
  const TBytes& Bytes() const noexcept { return FData; }
};

// A memory stream holding the bytes of a text in an encoding.
class TStringStream : public TBytesStream {
 public:
  TStringStream();
  // The text's bytes in `encoding` (nullptr: the current ANSI code page), no preamble.
  explicit TStringStream(const String& text, TEncoding* encoding = nullptr);
  // The bytes as they are; DataString() reads them back in the current ANSI code page.
  explicit TStringStream(const RawByteString& bytes);
  explicit TStringStream(const TBytes& bytes);

  // The whole content decoded with the stream's encoding.
  String DataString() const;
  TEncoding* Encoding() const noexcept { return FEncoding; }
  // Reads `count` bytes (at most what remains) from the position as text.
  String ReadString(Int64 count);
  // Writes the text's bytes at the position.
  void WriteString(const String& text);

 private:
  TEncoding* FEncoding = nullptr;
};

// A stream over an operating-system file handle it does not own.
class THandleStream : public TStream {
 public:
  explicit THandleStream(THandle handle) noexcept : FHandle(handle) {}
  Int64 Read(void* buffer, Int64 count) override;
  Int64 Write(const void* buffer, Int64 count) override;
  Int64 Seek(Int64 offset, TSeekOrigin origin) override;
  // Moves the position to `newSize` and truncates or extends the file there;
  // EOSError with the system's text if it cannot.
  void SetSize(Int64 newSize) override;
  THandle Handle() const noexcept { return FHandle; }

 protected:
  THandle FHandle;
};

// A stream over a named file. Mode is fmCreate (create or truncate, read and
// write) or one of fmOpenRead/fmOpenWrite/fmOpenReadWrite, each combined with
// one share mode (honoured on Windows; natively files are not locked).
// Failures raise EFCreateError "Cannot create file \"%s\". %s" or EFOpenError
// "Cannot open file \"%s\". %s" with the full path and the system's text.
class TFileStream : public THandleStream {
 public:
  TFileStream(const String& fileName, Word mode);
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  ~TFileStream() override;
  const String& FileName() const noexcept { return FFileName; }

 private:
  String FFileName;
};
