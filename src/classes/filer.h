// The binary form stream: value tags and the buffered reader and writer of
// single values. Reading and writing whole component trees builds on these.
#pragma once

#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <string_view>

#include "rtl/currency.h"
#include "rtl/datetime.h"
#include "rtl/exceptions.h"
#include "rtl/extended.h"
#include "rtl/object.h"
#include "rtl/streams.h"
#include "rtl/types.h"
#include "rtl/variant.h"

// The one-byte tag in front of every value.
enum TValueType : Byte {
  vaNull,
  vaList,
  vaInt8,
  vaInt16,
  vaInt32,
  vaExtended,
  vaString,
  vaIdent,
  vaFalse,
  vaTrue,
  vaBinary,
  vaSet,
  vaLString,
  vaNil,
  vaCollection,
  vaSingle,
  vaCurrency,
  vaDate,
  vaWString,
  vaInt64,
  vaUTF8String,
  vaDouble,
};
inline constexpr Byte kLastValueType = vaDouble;

// Flags of an object record, as the bits the prefix byte carries.
enum TFilerFlag : Byte { ffInherited = 1, ffChildPos = 2, ffInline = 4 };
using TFilerFlags = Byte;

inline constexpr Integer kFilerBufferSize = 4096;

// The signature at the start of every binary form stream.
inline constexpr std::string_view kFormSignature = "TPF0";

// Deepest nesting of objects, lists and collections that the readers and the
// conversions follow; deeper data is refused rather than risking the stack.
inline constexpr int kMaxFormNesting = 256;

class TReader;
class TWriter;

// Common part of reader and writer: the stream and the buffer in front of it.
class TFiler : public TObject {
 public:
  TFiler(TStream& stream, Integer bufSize);
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;

  TStream& Stream() const noexcept { return FStream; }

  // Data that a persistent streams on its own under a property name that is
  // no published property (its DefineProperties calls these). A reader calls
  // the read procedure when the name is the property being read; a writer
  // the write procedure when hasData says there is something to write.
  using TReaderProc = std::function<void(TReader&)>;
  using TWriterProc = std::function<void(TWriter&)>;
  using TStreamProc = std::function<void(TStream&)>;
  virtual void DefineProperty(StringView name, const TReaderProc& readData, const TWriterProc& writeData,
                              bool hasData);
  virtual void DefineBinaryProperty(StringView name, const TStreamProc& readData, const TStreamProc& writeData,
                                    bool hasData);

 protected:
  TStream& FStream;
  std::unique_ptr<Byte[]> FBuffer;
  Integer FBufSize;
  Integer FBufPos = 0;
  Integer FBufEnd = 0;
};

// Reads values from a binary form stream. Every read is bounded by the data
// that is there: a stream that ends early raises EReadError "Stream read
// error", and lengths are checked against the remaining bytes before anything
// is allocated. On destruction the stream is put back behind the last byte
// consumed, so buffered but unread bytes are not lost to the caller.
class TReader : public TFiler {
 public:
  explicit TReader(TStream& stream, Integer bufSize = kFilerBufferSize);
  ~TReader() override;

  // Position in the stream of the next byte to be read.
  Int64 Position() const;
  void SetPosition(Int64 value);

  // Exactly `count` bytes, or EReadError "Stream read error".
  void Read(void* buffer, Int64 count);
  Byte ReadByte() {
    if (FBufPos == FBufEnd) ReadBuffer();
    return FBuffer[FBufPos++];
  }
  // Bytes that can still be read (buffered and in the stream).
  Int64 Remaining() const;

  void ReadSignature();
  // The optional flags byte of an object record and, with ffChildPos, the
  // position that follows it (-1 without).
  void ReadPrefix(TFilerFlags& flags, Integer& childPos);
  // A short name string: a length byte and that many UTF-8 bytes.
  String ReadStr();
  // The same, without decoding.
  UTF8String ReadStrBytes();
  // The same without a copy where it can: the view is valid until the next read.
  std::string_view ReadStrView();

  TValueType ReadValue();
  TValueType NextValue();
  bool EndOfList() { return NextValue() == vaNull; }
  // Reads a tag; a different one has its value skipped and raises
  // EReadError "Invalid property value".
  void CheckValue(TValueType value);
  void ReadListBegin() { CheckValue(vaList); }
  void ReadListEnd() { CheckValue(vaNull); }

  Integer ReadInteger();
  Int64 ReadInt64();
  long double ReadFloat();
  // The extended value exactly as stored (integers and doubles converted).
  Extended80 ReadExtended();
  double ReadDouble();
  float ReadSingle();
  TDateTime ReadDate();
  Currency ReadCurrency();
  String ReadString();
  String ReadWideString() { return ReadString(); }
  Char ReadChar();
  Char ReadWideChar() { return ReadChar(); }
  bool ReadBoolean() { return ReadValue() == vaTrue; }
  String ReadIdent();
  // A set as bits. `ordinalOf` gives the ordinal of an element name, or -1
  // when the enumeration has no such value; ordinals above 31 are ignored.
  Cardinal ReadSet(const std::function<int(StringView)>& ordinalOf);
  // The data of a vaBinary value.
  TBytes ReadBinary();
  // A collection value into an existing collection: `clear` runs once before
  // the first item when there is one, `readItem` once per item with the
  // reader at the item's first property; it reads the properties up to the
  // item's end marker. A leading item index is read and ignored.
  void ReadCollection(const std::function<void()>& clear, const std::function<void()>& readItem);
  // Nil gives Unassigned and Null Null; integers keep their size, every float
  // kind gives a double, 8-bit strings a native string and wide and UTF-8
  // strings an OLE string. Other tags (and streamed custom variant types,
  // which no type here reads) raise EReadError "Stream read error".
  Variant ReadVariant();

  // Skips one value whole, whatever its tag.
  void SkipValue();
  // Copies one value to the writer, choosing integer and string tags anew.
  void CopyValue(TWriter& writer);

  // Raises EReadError "Invalid property value".
  [[noreturn]] static void PropValueError();
  // Raises EReadError "Stream read error".
  [[noreturn]] static void ReadError();
  // Raises EReadError "Invalid stream format".
  [[noreturn]] static void FormatError();

 protected:
  // Refills the buffer; raises when the stream has nothing more.
  void ReadBuffer();
  // Raises unless `count` more bytes can be read.
  void CheckAvailable(UInt64 count) const;
  // The payload of a value whose tag has been read.
  void SkipPayload(TValueType tag, int depth);
  void SkipBytes(UInt64 count);
  void SkipSetBody();
  void CopyPayload(TValueType tag, TWriter& writer, int depth);
  // Skips the rest of a value whose tag did not fit and raises.
  [[noreturn]] void WrongValue(TValueType tag);
  Cardinal ReadCount();
  // The text of a string value whose tag has been read.
  String ReadStringPayload(TValueType tag);
  Int64 ReadIntegerPayload(TValueType tag);

 private:
  std::string FStrCopy;  // a short string that straddled the buffer's end
};

// Writes values of a binary form stream through a buffer that is handed to
// the stream when full, by FlushBuffer and on destruction (errors there are
// dropped, so call FlushBuffer to see them).
class TWriter : public TFiler {
 public:
  explicit TWriter(TStream& stream, Integer bufSize = kFilerBufferSize);
  ~TWriter() override;

  void FlushBuffer();
  // Position in the stream of the next byte to be written.
  Int64 Position() const;

  void Write(const void* buffer, Int64 count) {
    // Most writes are a few bytes and fit: no call for them.
    if (count > 0 && count <= 16 && count <= FBufSize - FBufPos) {
      CopySmall(FBuffer.get() + FBufPos, static_cast<const Byte*>(buffer), static_cast<size_t>(count));
      FBufPos += static_cast<Integer>(count);
      return;
    }
    WriteBlock(buffer, count);
  }
  void WriteByte(Byte value) {
    if (FBufPos == FBufSize) FlushBuffer();
    FBuffer[FBufPos++] = value;
  }
  void WriteValue(TValueType value) { WriteByte(value); }
  void WriteSignature();
  // Nothing for no flags; else the flags byte and, with ffChildPos, the position.
  void WritePrefix(TFilerFlags flags, Integer childPos);
  // The start of an object record: the prefix, the class name and the object
  // name (UTF-8). A class name of 240 bytes or more would itself be read as a
  // prefix byte, so it is always given one, if need be with no flags.
  void WriteObjectHeader(TFilerFlags flags, Integer childPos, std::string_view className, std::string_view objectName);
  // A short name string, cut at 255 bytes.
  void WriteUTF8Str(StringView text);
  void WriteUTF8Str(std::string_view utf8) { WriteStr(utf8); }
  // A length byte (at most 255) and the bytes.
  void WriteStr(std::string_view bytes) {
    size_t length = bytes.size() < 255 ? bytes.size() : 255;
    WriteByte(static_cast<Byte>(length));
    Write(bytes.data(), static_cast<Int64>(length));
  }

  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  void WriteInteger(Integer value) {
    // Nearly every number of a form fits one byte.
    if (value >= -128 && value <= 127 && FBufSize - FBufPos >= 2) {
      FBuffer[FBufPos] = vaInt8;
      FBuffer[FBufPos + 1] = static_cast<Byte>(value);
      FBufPos += 2;
      return;
    }
    WriteIntegerOutOfLine(value);
  }
  void WriteInteger(Int64 value) {
    if (value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max()) {
      WriteInt64(value);
    } else {
      WriteInteger(static_cast<Integer>(value));
    }
  }
  void WriteFloat(long double value);
  void WriteFloat(const Extended80& value);
  void WriteSingle(float value);
  void WriteDouble(double value);
  void WriteCurrency(Currency value);
  void WriteDate(TDateTime value);
  void WriteString(StringView value);
  void WriteWideString(StringView value) { WriteString(value); }
  void WriteChar(Char value) { WriteString(StringView(&value, 1)); }
  void WriteWideChar(Char value) { WriteChar(value); }
  void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
  void WriteIdent(StringView ident);
  void WriteIdent(std::string_view utf8);
  // By the variant's type: Unassigned as vaNil, Null as vaNull, integers by
  // the 64-bit rule, doubles as extended values, strings by the string rule,
  // anything else by its text. Arrays and values without a text raise
  // EWriteError "Stream write error".
  void WriteVariant(const Variant& value);
  // A collection of `count` items, each written by `writeItem` (its
  // properties only), without item indexes.
  void WriteCollection(Integer count, const std::function<void(Integer)>& writeItem);
  // vaBinary with what `writeData` puts into a memory stream.
  void WriteBinary(const std::function<void(TStream&)>& writeData);
  void WriteBinary(const void* data, Int64 count);

 private:
  // Up to 16 bytes, without a call.
  static void CopySmall(Byte* to, const Byte* from, size_t count) {
    if (count >= 8) {
      std::memcpy(to, from, 8);
      std::memcpy(to + count - 8, from + count - 8, 8);
    } else if (count >= 4) {
      std::memcpy(to, from, 4);
      std::memcpy(to + count - 4, from + count - 4, 4);
    } else {
      to[0] = from[0];
      to[count / 2] = from[count / 2];
      to[count - 1] = from[count - 1];
    }
  }
  void WriteBlock(const void* buffer, Int64 count);
  void WriteIntegerOutOfLine(Integer value);
  void WriteInt64(Int64 value);
  void WriteLE(UInt64 value, int size);
};
