#include "classes/filer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "rtl/codepage.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"

namespace {

constexpr Int64 kMinInt32 = std::numeric_limits<Integer>::min();
constexpr Int64 kMaxInt32 = std::numeric_limits<Integer>::max();

UInt64 LoadLE(const Byte* bytes, int size) {
  UInt64 value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

bool IsIntegerTag(TValueType tag) {
  return tag == vaInt8 || tag == vaInt16 || tag == vaInt32 || tag == vaInt64;
}

}  // namespace

// ---- TFiler ----

TFiler::TFiler(TStream& stream, Integer bufSize)
    : FStream(stream),
      FBuffer(std::make_unique<Byte[]>(static_cast<size_t>(std::max(bufSize, 16)))),
      FBufSize(std::max(bufSize, 16)) {}

// ---- TReader ----

TReader::TReader(TStream& stream, Integer bufSize) : TFiler(stream, bufSize) {}

TReader::~TReader() {
  if (FBufPos < FBufEnd) {
    try {
      FStream.Seek(FBufPos - FBufEnd, soCurrent);
    } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor must not throw
    }
  }
}

void TReader::PropValueError() {
  throw EReadError(u"Invalid property value");
}
void TReader::ReadError() {
  throw EReadError(u"Stream read error");
}
void TReader::FormatError() {
  throw EReadError(u"Invalid stream format");
}

Int64 TReader::Position() const {
  return FStream.Position() - FBufEnd + FBufPos;
}

void TReader::SetPosition(Int64 value) {
  FStream.SetPosition(value);
  FBufPos = FBufEnd = 0;
}

void TReader::ReadBuffer() {
  Int64 count = FStream.Read(FBuffer.get(), FBufSize);
  if (count <= 0) ReadError();
  FBufEnd = static_cast<Integer>(count);
  FBufPos = 0;
}

Int64 TReader::Remaining() const {
  Int64 inStream = FStream.Size() - FStream.Position();
  return (FBufEnd - FBufPos) + std::max<Int64>(inStream, 0);
}

void TReader::CheckAvailable(UInt64 count) const {
  if (count <= static_cast<UInt64>(FBufEnd - FBufPos)) return;
  if (count > static_cast<UInt64>(Remaining())) ReadError();
}

void TReader::Read(void* buffer, Int64 count) {
  auto* out = static_cast<Byte*>(buffer);
  while (count > 0) {
    Integer available = FBufEnd - FBufPos;
    if (available == 0) {
      if (count >= FBufSize) {
        // Large blocks go straight from the stream.
        if (FStream.Read(out, count) != count) ReadError();
        return;
      }
      ReadBuffer();
      available = FBufEnd;
    }
    Integer chunk = static_cast<Integer>(std::min<Int64>(available, count));
    std::memcpy(out, FBuffer.get() + FBufPos, static_cast<size_t>(chunk));
    FBufPos += chunk;
    out += chunk;
    count -= chunk;
  }
}

void TReader::SkipBytes(UInt64 count) {
  CheckAvailable(count);
  UInt64 buffered = static_cast<UInt64>(FBufEnd - FBufPos);
  if (count <= buffered) {
    FBufPos += static_cast<Integer>(count);
    return;
  }
  count -= buffered;
  FBufPos = FBufEnd = 0;
  FStream.Seek(static_cast<Int64>(count), soCurrent);
}

TValueType TReader::ReadValue() {
  return static_cast<TValueType>(ReadByte());
}

TValueType TReader::NextValue() {
  if (FBufPos == FBufEnd) ReadBuffer();
  return static_cast<TValueType>(FBuffer[FBufPos]);
}

void TReader::ReadSignature() {
  char signature[4];
  Read(signature, 4);
  if (std::string_view(signature, 4) != kFormSignature) FormatError();
}

void TReader::ReadPrefix(TFilerFlags& flags, Integer& childPos) {
  flags = 0;
  childPos = -1;
  Byte first = static_cast<Byte>(NextValue());
  if ((first & 0xF0) != 0xF0) return;
  ReadByte();
  flags = first & 0x0F;
  if (flags & ffChildPos) childPos = ReadInteger();
}

UTF8String TReader::ReadStrBytes() {
  Byte length = ReadByte();
  UTF8String bytes(length, '\0');
  Read(bytes.data(), length);
  return bytes;
}

std::string_view TReader::ReadStrView() {
  Byte length = ReadByte();
  if (length <= FBufEnd - FBufPos) {
    std::string_view view(reinterpret_cast<const char*>(FBuffer.get() + FBufPos), length);
    FBufPos += length;
    return view;
  }
  FStrCopy.resize(length);
  Read(FStrCopy.data(), length);
  return FStrCopy;
}

String TReader::ReadStr() {
  return UTF8ToString(ReadStrView());
}

void TReader::CheckValue(TValueType value) {
  TValueType tag = ReadValue();
  if (tag != value) WrongValue(tag);
}

void TReader::WrongValue(TValueType tag) {
  if (tag <= kLastValueType) SkipPayload(tag, 0);
  PropValueError();
}

Cardinal TReader::ReadCount() {
  Byte bytes[4];
  Read(bytes, 4);
  return static_cast<Cardinal>(LoadLE(bytes, 4));
}

Int64 TReader::ReadIntegerPayload(TValueType tag) {
  Byte bytes[8];
  switch (tag) {
    case vaInt8: return static_cast<ShortInt>(ReadByte());
    case vaInt16: Read(bytes, 2); return static_cast<SmallInt>(LoadLE(bytes, 2));
    case vaInt32: Read(bytes, 4); return static_cast<Integer>(LoadLE(bytes, 4));
    case vaInt64: Read(bytes, 8); return static_cast<Int64>(LoadLE(bytes, 8));
    default: WrongValue(tag);
  }
}

Integer TReader::ReadInteger() {
  TValueType tag = ReadValue();
  if (tag == vaInt64) WrongValue(tag);
  return static_cast<Integer>(ReadIntegerPayload(tag));
}

Int64 TReader::ReadInt64() {
  return ReadIntegerPayload(ReadValue());
}

Extended80 TReader::ReadExtended() {
  TValueType tag = ReadValue();
  Byte bytes[10];
  switch (tag) {
    case vaExtended: Read(bytes, 10); return Extended80::FromBytes(bytes);
    case vaDouble: {
      Read(bytes, 8);
      UInt64 bits = LoadLE(bytes, 8);
      double value;
      std::memcpy(&value, &bits, 8);
      return Extended80::FromDouble(value);
    }
    default:
      if (!IsIntegerTag(tag)) WrongValue(tag);
      return Extended80::FromLongDouble(static_cast<long double>(ReadIntegerPayload(tag)));
  }
}

long double TReader::ReadFloat() {
  return ReadExtended().ToLongDouble();
}

namespace {

double DoubleFromBytes(const Byte* bytes) {
  UInt64 bits = LoadLE(bytes, 8);
  double value;
  std::memcpy(&value, &bits, 8);
  return value;
}

}  // namespace

double TReader::ReadDouble() {
  TValueType tag = ReadValue();
  if (tag == vaDouble) {
    Byte bytes[8];
    Read(bytes, 8);
    return DoubleFromBytes(bytes);
  }
  if (!IsIntegerTag(tag)) WrongValue(tag);
  return static_cast<double>(ReadIntegerPayload(tag));
}

float TReader::ReadSingle() {
  TValueType tag = ReadValue();
  if (tag == vaSingle) {
    Byte bytes[4];
    Read(bytes, 4);
    auto bits = static_cast<std::uint32_t>(LoadLE(bytes, 4));
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
  }
  if (!IsIntegerTag(tag)) WrongValue(tag);
  return static_cast<float>(ReadIntegerPayload(tag));
}

TDateTime TReader::ReadDate() {
  TValueType tag = ReadValue();
  if (tag == vaDate) {
    Byte bytes[8];
    Read(bytes, 8);
    return DoubleFromBytes(bytes);
  }
  if (!IsIntegerTag(tag)) WrongValue(tag);
  return static_cast<TDateTime>(ReadIntegerPayload(tag));
}

Currency TReader::ReadCurrency() {
  TValueType tag = ReadValue();
  if (tag == vaCurrency) {
    Byte bytes[8];
    Read(bytes, 8);
    return Currency::FromScaled(static_cast<Int64>(LoadLE(bytes, 8)));
  }
  if (!IsIntegerTag(tag)) WrongValue(tag);
  Int64 amount = ReadIntegerPayload(tag);
  Int64 scaled;
  if (__builtin_mul_overflow(amount, Currency::kScale, &scaled)) PropValueError();
  return Currency::FromScaled(scaled);
}

String TReader::ReadStringPayload(TValueType tag) {
  switch (tag) {
    case vaString:
    case vaLString: {
      UInt64 length = tag == vaString ? ReadByte() : ReadCount();
      CheckAvailable(length);
      AnsiString bytes(static_cast<size_t>(length), '\0');
      Read(bytes.data(), static_cast<Int64>(length));
      return AnsiToString(bytes);
    }
    case vaUTF8String: {
      UInt64 length = ReadCount();
      CheckAvailable(length);
      UTF8String bytes(static_cast<size_t>(length), '\0');
      Read(bytes.data(), static_cast<Int64>(length));
      return UTF8ToString(bytes);
    }
    case vaWString: {
      UInt64 count = ReadCount();
      CheckAvailable(count * 2);
      String text(static_cast<size_t>(count), u'\0');
      TBytes bytes(static_cast<size_t>(count * 2));
      Read(bytes.data(), static_cast<Int64>(bytes.size()));
      for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<Char>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
      return text;
    }
    default: WrongValue(tag);
  }
}

String TReader::ReadString() {
  return ReadStringPayload(ReadValue());
}

Char TReader::ReadChar() {
  String text = ReadString();
  if (text.size() > 1) PropValueError();
  return text.empty() ? Char(0) : text[0];
}

String TReader::ReadIdent() {
  TValueType tag = ReadValue();
  switch (tag) {
    case vaIdent: return ReadStr();
    case vaFalse: return u"False";
    case vaTrue: return u"True";
    case vaNil: return u"nil";
    case vaNull: return u"Null";
    default: WrongValue(tag);
  }
}

void TReader::SkipSetBody() {
  for (;;) {
    Byte length = ReadByte();
    if (length == 0) break;
    SkipBytes(length);
  }
}

Cardinal TReader::ReadSet(const std::function<int(StringView)>& ordinalOf) {
  TValueType tag = ReadValue();
  if (tag != vaSet) WrongValue(tag);
  Cardinal bits = 0;
  for (;;) {
    String name = ReadStr();
    if (name.empty()) break;
    int ordinal = ordinalOf(name);
    if (ordinal < 0) {
      SkipSetBody();
      PropValueError();
    }
    if (ordinal <= 31) bits |= Cardinal(1) << ordinal;
  }
  return bits;
}

TBytes TReader::ReadBinary() {
  TValueType tag = ReadValue();
  if (tag != vaBinary) WrongValue(tag);
  Cardinal count = ReadCount();
  CheckAvailable(count);
  TBytes data(count);
  Read(data.data(), count);
  return data;
}

void TReader::ReadCollection(const std::function<void()>& clear, const std::function<void()>& readItem) {
  CheckValue(vaCollection);
  if (!EndOfList()) clear();
  while (!EndOfList()) {
    TValueType next = NextValue();
    if (next == vaInt8 || next == vaInt16 || next == vaInt32) ReadInteger();
    ReadListBegin();
    readItem();
    ReadListEnd();
  }
  ReadListEnd();
}

Variant TReader::ReadVariant() {
  TValueType tag = ReadValue();
  switch (tag) {
    case vaNil: return Variant();
    case vaNull: return Variant::Null();
    case vaInt8: return Variant(static_cast<ShortInt>(ReadIntegerPayload(tag)));
    case vaInt16: return Variant(static_cast<SmallInt>(ReadIntegerPayload(tag)));
    case vaInt32: return Variant(static_cast<Integer>(ReadIntegerPayload(tag)));
    case vaInt64: return Variant(ReadIntegerPayload(tag));
    case vaExtended: {
      Byte bytes[10];
      Read(bytes, 10);
      return Variant(Extended80::FromBytes(bytes).ToDouble());
    }
    case vaDouble: {
      Byte bytes[8];
      Read(bytes, 8);
      return Variant(DoubleFromBytes(bytes));
    }
    case vaSingle: {
      Byte bytes[4];
      Read(bytes, 4);
      auto bits = static_cast<std::uint32_t>(LoadLE(bytes, 4));
      float value;
      std::memcpy(&value, &bits, 4);
      return Variant(static_cast<double>(value));
    }
    case vaCurrency: {
      Byte bytes[8];
      Read(bytes, 8);
      return Variant(Currency::FromScaled(static_cast<Int64>(LoadLE(bytes, 8))));
    }
    case vaDate: {
      Byte bytes[8];
      Read(bytes, 8);
      return Variant::FromDate(DoubleFromBytes(bytes));
    }
    case vaString:
    case vaLString: return Variant(ReadStringPayload(tag));
    case vaWString:
    case vaUTF8String: return Variant::FromString(ReadStringPayload(tag), varOleStr);
    case vaFalse: return Variant(false);
    case vaTrue: return Variant(true);
    default:
      if (tag <= kLastValueType) SkipPayload(tag, 0);
      ReadError();
  }
}

void TReader::SkipValue() {
  SkipPayload(ReadValue(), 0);
}

void TReader::SkipPayload(TValueType tag, int depth) {
  if (depth > kMaxFormNesting) FormatError();
  switch (tag) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil: return;
    case vaList:
      while (!EndOfList()) SkipPayload(ReadValue(), depth + 1);
      ReadByte();
      return;
    case vaInt8: SkipBytes(1); return;
    case vaInt16: SkipBytes(2); return;
    case vaInt32:
    case vaSingle: SkipBytes(4); return;
    case vaExtended: SkipBytes(10); return;
    case vaInt64:
    case vaCurrency:
    case vaDate:
    case vaDouble: SkipBytes(8); return;
    case vaString:
    case vaIdent: SkipBytes(ReadByte()); return;
    case vaLString:
    case vaUTF8String:
    case vaBinary: SkipBytes(ReadCount()); return;
    case vaWString: SkipBytes(UInt64(ReadCount()) * 2); return;
    case vaSet: SkipSetBody(); return;
    case vaCollection:
      while (!EndOfList()) {
        TValueType next = NextValue();
        if (next == vaInt8 || next == vaInt16 || next == vaInt32) SkipValue();
        CheckValue(vaList);
        while (!EndOfList()) {
          SkipBytes(ReadByte());  // property name
          SkipPayload(ReadValue(), depth + 1);
        }
        ReadByte();
      }
      ReadByte();
      return;
  }
  FormatError();
}

void TReader::CopyValue(TWriter& writer) {
  CopyPayload(ReadValue(), writer, 0);
}

void TReader::CopyPayload(TValueType tag, TWriter& writer, int depth) {
  if (depth > kMaxFormNesting) FormatError();
  switch (tag) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil: writer.WriteValue(tag); return;
    case vaList:
      writer.WriteListBegin();
      while (!EndOfList()) CopyPayload(ReadValue(), writer, depth + 1);
      ReadByte();
      writer.WriteListEnd();
      return;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64: writer.WriteInteger(ReadIntegerPayload(tag)); return;
    case vaExtended: {
      Byte bytes[10];
      Read(bytes, 10);
      writer.WriteFloat(Extended80::FromBytes(bytes));
      return;
    }
    case vaSingle:
    case vaCurrency:
    case vaDate:
    case vaDouble: {
      // Same tag, same payload.
      Byte bytes[8];
      int size = tag == vaSingle ? 4 : 8;
      Read(bytes, size);
      writer.WriteValue(tag);
      writer.Write(bytes, size);
      return;
    }
    case vaIdent: writer.WriteIdent(std::string_view(ReadStrBytes())); return;
    case vaString:
    case vaLString:
    case vaWString:
    case vaUTF8String: writer.WriteString(ReadStringPayload(tag)); return;
    case vaSet:
      writer.WriteValue(vaSet);
      for (;;) {
        UTF8String name = ReadStrBytes();
        writer.WriteStr(name);
        if (name.empty()) break;
      }
      return;
    case vaBinary: {
      Cardinal count = ReadCount();
      CheckAvailable(count);
      writer.WriteValue(vaBinary);
      Byte countBytes[4] = {Byte(count), Byte(count >> 8), Byte(count >> 16), Byte(count >> 24)};
      writer.Write(countBytes, 4);
      Byte chunk[4096];
      for (Cardinal left = count; left > 0;) {
        Cardinal part = std::min<Cardinal>(left, sizeof chunk);
        Read(chunk, part);
        writer.Write(chunk, part);
        left -= part;
      }
      return;
    }
    case vaCollection:
      writer.WriteValue(vaCollection);
      while (!EndOfList()) {
        TValueType next = NextValue();
        if (next == vaInt8 || next == vaInt16 || next == vaInt32) writer.WriteInteger(ReadInteger());
        CheckValue(vaList);
        writer.WriteListBegin();
        while (!EndOfList()) {
          writer.WriteStr(ReadStrBytes());
          CopyPayload(ReadValue(), writer, depth + 1);
        }
        ReadByte();
        writer.WriteListEnd();
      }
      ReadByte();
      writer.WriteListEnd();
      return;
  }
  FormatError();
}

// ---- TWriter ----

TWriter::TWriter(TStream& stream, Integer bufSize) : TFiler(stream, bufSize) {}

TWriter::~TWriter() {
  try {
    FlushBuffer();
  } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor must not throw
  }
}

void TWriter::FlushBuffer() {
  Integer count = FBufPos;
  FBufPos = 0;
  if (count > 0) FStream.WriteBuffer(FBuffer.get(), count);
}

Int64 TWriter::Position() const {
  return FStream.Position() + FBufPos;
}

void TWriter::WriteBlock(const void* buffer, Int64 count) {
  const auto* in = static_cast<const Byte*>(buffer);
  if (count <= 0) return;
  if (count <= FBufSize - FBufPos) {
    std::memcpy(FBuffer.get() + FBufPos, in, static_cast<size_t>(count));
    FBufPos += static_cast<Integer>(count);
    return;
  }
  while (count > 0) {
    if (FBufPos == FBufSize) FlushBuffer();
    if (FBufPos == 0 && count >= FBufSize) {
      FStream.WriteBuffer(in, count);
      return;
    }
    Integer chunk = static_cast<Integer>(std::min<Int64>(FBufSize - FBufPos, count));
    std::memcpy(FBuffer.get() + FBufPos, in, static_cast<size_t>(chunk));
    FBufPos += chunk;
    in += chunk;
    count -= chunk;
  }
}

void TWriter::WriteLE(UInt64 value, int size) {
  Byte bytes[8];
  for (int i = 0; i < size; ++i) bytes[i] = static_cast<Byte>(value >> (8 * i));
  Write(bytes, size);
}

void TWriter::WriteSignature() {
  Write(kFormSignature.data(), 4);
}

void TWriter::WritePrefix(TFilerFlags flags, Integer childPos) {
  if (flags == 0) return;
  WriteByte(static_cast<Byte>(0xF0 | flags));
  if (flags & ffChildPos) WriteInteger(childPos);
}

void TWriter::WriteObjectHeader(TFilerFlags flags, Integer childPos, std::string_view className,
                                std::string_view objectName) {
  if (flags == 0 && className.size() >= 0xF0) {
    WriteByte(0xF0);
  } else {
    WritePrefix(flags, childPos);
  }
  WriteStr(className);
  WriteStr(objectName);
}

void TWriter::WriteUTF8Str(StringView text) {
  WriteStr(StringToUTF8(text));
}

void TWriter::WriteIntegerOutOfLine(Integer value) {
  if (value >= -128 && value <= 127) {
    WriteValue(vaInt8);
    WriteByte(static_cast<Byte>(value));
  } else if (value >= -32768 && value <= 32767) {
    WriteValue(vaInt16);
    WriteLE(static_cast<UInt64>(value), 2);
  } else {
    WriteValue(vaInt32);
    WriteLE(static_cast<UInt64>(value), 4);
  }
}

void TWriter::WriteInt64(Int64 value) {
  WriteValue(vaInt64);
  WriteLE(static_cast<UInt64>(value), 8);
}

void TWriter::WriteFloat(const Extended80& value) {
  WriteValue(vaExtended);
  Write(value.bytes.data(), 10);
}

void TWriter::WriteFloat(long double value) {
  WriteFloat(Extended80::FromLongDouble(value));
}

void TWriter::WriteSingle(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, 4);
  WriteValue(vaSingle);
  WriteLE(bits, 4);
}

void TWriter::WriteDouble(double value) {
  UInt64 bits;
  std::memcpy(&bits, &value, 8);
  WriteValue(vaDouble);
  WriteLE(bits, 8);
}

void TWriter::WriteDate(TDateTime value) {
  UInt64 bits;
  std::memcpy(&bits, &value, 8);
  WriteValue(vaDate);
  WriteLE(bits, 8);
}

void TWriter::WriteCurrency(Currency value) {
  WriteValue(vaCurrency);
  WriteLE(static_cast<UInt64>(value.Scaled()), 8);
}

void TWriter::WriteString(StringView value) {
  UTF8String utf8 = StringToUTF8(value);
  if (utf8.size() < 2 * value.size()) {
    if (utf8.size() > std::numeric_limits<Cardinal>::max()) throw EWriteError(u"Stream write error");
    bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<Byte>(c) < 0x80; });
    if (!ascii) {
      WriteValue(vaUTF8String);
      WriteLE(utf8.size(), 4);
    } else if (utf8.size() > 255) {
      WriteValue(vaLString);
      WriteLE(utf8.size(), 4);
    } else {
      WriteValue(vaString);
      WriteByte(static_cast<Byte>(utf8.size()));
    }
    Write(utf8.data(), static_cast<Int64>(utf8.size()));
    return;
  }
  if (value.size() > std::numeric_limits<Cardinal>::max()) throw EWriteError(u"Stream write error");
  WriteValue(vaWString);
  WriteLE(value.size(), 4);
  if constexpr (std::endian::native == std::endian::little) {
    Write(value.data(), static_cast<Int64>(value.size() * 2));
  } else {
    for (Char c : value) WriteLE(c, 2);
  }
}

void TWriter::WriteIdent(std::string_view utf8) {
  // Most identifiers are longer than the four words with tags of their own.
  TValueType tag = vaIdent;
  switch (utf8.size()) {
    case 3:
      if (SameText(utf8, "nil")) tag = vaNil;
      break;
    case 4:
      if (SameText(utf8, "True")) {
        tag = vaTrue;
      } else if (SameText(utf8, "Null")) {
        tag = vaNull;
      }
      break;
    case 5:
      if (SameText(utf8, "False")) tag = vaFalse;
      break;
    default: break;
  }
  WriteValue(tag);
  if (tag == vaIdent) WriteStr(utf8);
}

void TWriter::WriteIdent(StringView ident) {
  WriteIdent(std::string_view(StringToUTF8(ident)));
}

void TWriter::WriteCollection(Integer count, const std::function<void(Integer)>& writeItem) {
  WriteValue(vaCollection);
  for (Integer i = 0; i < count; ++i) {
    WriteListBegin();
    writeItem(i);
    WriteListEnd();
  }
  WriteListEnd();
}

void TWriter::WriteVariant(const Variant& value) {
  TVarType type = value.VarType();
  if (type & (varArray | varByRef)) throw EWriteError(u"Stream write error");
  switch (type) {
    case varEmpty: WriteValue(vaNil); return;
    case varNull: WriteValue(vaNull); return;
    case varShortInt:
    case varSmallint:
    case varInteger:
    case varInt64:
    case varByte:
    case varWord:
    case varLongWord: WriteInteger(value.AsInt64()); return;
    case varUInt64: WriteInteger(static_cast<Int64>(value.AsUInt64())); return;
    case varSingle: WriteSingle(value.AsSingle()); return;
    case varDouble: WriteFloat(Extended80::FromDouble(value.AsDouble())); return;
    case varCurrency: WriteCurrency(value.AsCurrency()); return;
    case varDate: WriteDate(value.AsDate()); return;
    case varBoolean: WriteBoolean(value.AsBoolean()); return;
    default: break;
  }
  String text;
  try {
    text = value.AsString();
  } catch (const EVariantError&) {
    throw EWriteError(u"Stream write error");
  }
  WriteString(text);
}

void TWriter::WriteBinary(const void* data, Int64 count) {
  if (count < 0 || count > std::numeric_limits<Cardinal>::max()) throw EWriteError(u"Stream write error");
  WriteValue(vaBinary);
  WriteLE(static_cast<UInt64>(count), 4);
  Write(data, count);
}

void TWriter::WriteBinary(const std::function<void(TStream&)>& writeData) {
  TMemoryStream data;
  writeData(data);
  WriteBinary(data.Memory(), data.Size());
}

void TFiler::DefineProperty(StringView, const TReaderProc&, const TWriterProc&, bool) {}

void TFiler::DefineBinaryProperty(StringView, const TStreamProc&, const TStreamProc&, bool) {}
