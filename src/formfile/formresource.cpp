#include "formfile/formresource.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "classes/filer.h"
#include "formfile/formconvert.h"
#include "rtl/codepage.h"
#include "rtl/exceptions.h"
#include "rtl/sysstr.h"
#include "rtl/unicode.h"

namespace {

// The empty first entry that every 32-bit resource file starts with.
constexpr std::array<Byte, 32> kEmptyEntry = {0x00, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
                                              0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                              0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
constexpr Word kRTRCData = 10;
constexpr Word kMemoryFlags16 = 0x1030;
constexpr Word kLanguageUSEnglish = 0x0409;
constexpr size_t kMaxResourceName = 64;

[[noreturn]] void RaiseInvalidFormat() {
  throw EInvalidImage(u"Invalid stream format");
}

Cardinal LoadCardinal(const Byte* bytes) {
  return Cardinal(bytes[0]) | Cardinal(bytes[1]) << 8 | Cardinal(bytes[2]) << 16 | Cardinal(bytes[3]) << 24;
}

void PutLE(TBytes& out, UInt64 value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<Byte>(value >> (8 * i)));
}

// The class name of the root object of a binary form stream in memory.
std::string RootClassName(TMemoryStream& form) {
  const Byte* data = form.Memory();
  auto size = static_cast<size_t>(form.Size());
  size_t at = kFormSignature.size();
  auto next = [&]() -> Byte {
    if (at >= size) TReader::ReadError();
    return data[at++];
  };
  Byte length = next();
  if ((length & 0xF0) == 0xF0) {
    if (length & ffChildPos) {
      switch (next()) {
        case vaInt8: at += 1; break;
        case vaInt16: at += 2; break;
        case vaInt32: at += 4; break;
        default: break;
      }
    }
    length = next();
  }
  if (at + length > size) TReader::ReadError();
  return std::string(reinterpret_cast<const char*>(data + at), length);
}

}  // namespace

void ReadResHeader(TStream& stream) {
  std::array<Byte, 256> header{};
  Int64 start = stream.Position();
  Int64 count = stream.Read(header.data(), 255);
  if (count > static_cast<Int64>(kEmptyEntry.size()) &&
      std::equal(kEmptyEntry.begin(), kEmptyEntry.end(), header.begin())) {
    // Offsets in the 32-bit format count from the start of the file.
    stream.SetPosition(static_cast<Int64>(kEmptyEntry.size()));
    header.fill(0);
    stream.Read(header.data(), 255);
    if (header[8] != 0xFF || header[9] != 0xFF || header[10] != kRTRCData || header[11] != 0) RaiseInvalidFormat();
    stream.SetPosition(static_cast<Int64>(kEmptyEntry.size()) + LoadCardinal(&header[4]));
    return;
  }
  if (header[0] == 0xFF && header[1] == kRTRCData && header[2] == 0) {
    // The buffer always ends with a zero, so the name ends by byte 255.
    auto nameLength = static_cast<Int64>(std::strlen(reinterpret_cast<const char*>(&header[3])));
    stream.SetPosition(start + nameLength + 10);
    return;
  }
  RaiseInvalidFormat();
}

void FormResourceToText(TStream& input, TStream& output) {
  ReadResHeader(input);
  FormBinaryToText(input, output);
}

void FormTextToResource(TStream& input, TStream& output) {
  TMemoryStream form;
  FormTextToBinary(input, form);
  std::string nameBytes = RootClassName(form);
  bool ascii = std::all_of(nameBytes.begin(), nameBytes.end(), [](char c) { return static_cast<Byte>(c) < 0x80; });
  String name = UpperCase(ascii ? AnsiToString(nameBytes) : UTF8ToString(nameBytes));
  if (name.size() > kMaxResourceName) {
    throw EParserError(u"Component name '" + name + u"' exceeds 64 character limit");
  }
  auto dataSize = static_cast<UInt64>(form.Size());
  TBytes header;
  if (ascii) {
    header = {0xFF, static_cast<Byte>(kRTRCData), 0x00};
    AnsiString ansiName = StringToAnsi(name);
    header.insert(header.end(), ansiName.begin(), ansiName.end());
    header.push_back(0);
    PutLE(header, kMemoryFlags16, 2);
    PutLE(header, dataSize, 4);
  } else {
    header.assign(kEmptyEntry.begin(), kEmptyEntry.end());
    PutLE(header, dataSize, 4);
    PutLE(header, 2 * name.size() + 30, 4);
    PutLE(header, 0xFFFF, 2);
    PutLE(header, kRTRCData, 2);
    for (Char c : name) PutLE(header, c, 2);
    PutLE(header, 0, 2);                   // end of the name
    PutLE(header, 0, 4);                   // data version
    PutLE(header, 0, 2);                   // memory flags
    PutLE(header, kLanguageUSEnglish, 2);  // language
    PutLE(header, 0, 4);                   // version
    PutLE(header, 0, 4);                   // characteristics
  }
  header.insert(header.end(), form.Memory(), form.Memory() + form.Size());
  output.WriteBuffer(header.data(), static_cast<Int64>(header.size()));
}
