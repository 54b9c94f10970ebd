#include "livetree/livetreestreamio.h"

#include "rtl/exceptions.h"

namespace LiveTreeStreamIO {

namespace {

[[noreturn]] void ReadError() {
  throw EReadError(u"Stream read error");
}

}  // namespace

Integer ReadInteger(TStream& stream) {
  Byte bytes[4];
  stream.ReadBuffer(bytes, 4);
  return static_cast<Integer>(static_cast<Cardinal>(bytes[0]) | (static_cast<Cardinal>(bytes[1]) << 8) |
                              (static_cast<Cardinal>(bytes[2]) << 16) | (static_cast<Cardinal>(bytes[3]) << 24));
}

void WriteInteger(TStream& stream, Integer value) {
  Cardinal bits = static_cast<Cardinal>(value);
  Byte bytes[4] = {static_cast<Byte>(bits), static_cast<Byte>(bits >> 8), static_cast<Byte>(bits >> 16),
                   static_cast<Byte>(bits >> 24)};
  stream.WriteBuffer(bytes, 4);
}

Word ReadWord(TStream& stream) {
  Byte bytes[2];
  stream.ReadBuffer(bytes, 2);
  return static_cast<Word>(bytes[0] | (bytes[1] << 8));
}

void WriteWord(TStream& stream, Word value) {
  Byte bytes[2] = {static_cast<Byte>(value), static_cast<Byte>(value >> 8)};
  stream.WriteBuffer(bytes, 2);
}

Int64 Remaining(TStream& stream) {
  Int64 position = stream.Position();
  Int64 size = stream.Size();
  return size > position ? size - position : 0;
}

void CheckCount(TStream& stream, Int64 count, Int64 recordSize) {
  if (count < 0 || (recordSize > 0 && count > Remaining(stream) / recordSize)) ReadError();
}

String ReadText(TStream& stream, Int64 units) {
  CheckCount(stream, units, 2);
  TBytes bytes(static_cast<size_t>(units) * 2);
  stream.ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
  String text(static_cast<size_t>(units), u'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<Char>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return text;
}

void WriteText(TStream& stream, StringView text) {
  TBytes bytes(text.size() * 2);
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<Byte>(text[i]);
    bytes[2 * i + 1] = static_cast<Byte>(text[i] >> 8);
  }
  stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}

String ReadCountedText(TStream& stream) {
  return ReadText(stream, ReadInteger(stream));
}

void WriteCountedText(TStream& stream, StringView text) {
  WriteInteger(stream, static_cast<Integer>(text.size()));
  WriteText(stream, text);
}

}  // namespace LiveTreeStreamIO
