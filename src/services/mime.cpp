#include "services/mime.h"

#include <array>

#include "rtl/unicode.h"

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kBytesPerLine = 57;
constexpr std::size_t kCharsPerLine = 76;
constexpr Byte kIgnore = 0xFF;

constexpr std::array<Byte, 256> MakeDecodeTable() {
  std::array<Byte, 256> table{};
  for (auto& entry : table) entry = kIgnore;
  for (Byte i = 0; i < 64; ++i) table[static_cast<Byte>(kAlphabet[i])] = i;
  return table;
}

constexpr std::array<Byte, 256> kDecodeTable = MakeDecodeTable();

void EncodeGroup(Byte b0, Byte b1, Byte b2, char* out) {
  out[0] = kAlphabet[b0 >> 2];
  out[1] = kAlphabet[((b0 & 3) << 4) | (b1 >> 4)];
  out[2] = kAlphabet[((b1 & 15) << 2) | (b2 >> 6)];
  out[3] = kAlphabet[b2 & 63];
}

int HexValue(Char c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

}  // namespace

std::ptrdiff_t MimeEncodedLength(std::ptrdiff_t n) {
  if (n <= 0) return n;
  return ((n + 2) / 3) * 4 + ((n - 1) / static_cast<std::ptrdiff_t>(kBytesPerLine)) * 2;
}

std::ptrdiff_t MimeDecodedLength(std::ptrdiff_t n) {
  return ((n + 3) / 4) * 3;
}

void MimeEncodeTail(const Byte* input, std::size_t count, char* output) {
  std::size_t i = 0;
  for (; i + 3 <= count; i += 3, output += 4) EncodeGroup(input[i], input[i + 1], input[i + 2], output);
  const std::size_t rest = count - i;
  if (rest == 0) return;
  char group[4];
  EncodeGroup(input[i], rest == 2 ? input[i + 1] : 0, 0, group);
  output[0] = group[0];
  output[1] = group[1];
  output[2] = rest == 2 ? group[2] : '=';
  output[3] = '=';
}

void MimeEncodeLines(const Byte* input, std::size_t count, char* output) {
  const std::size_t lines = count / kBytesPerLine;
  for (std::size_t line = 0; line < lines; ++line) {
    MimeEncodeTail(input + line * kBytesPerLine, kBytesPerLine, output);
    output += kCharsPerLine;
    if (line + 1 < lines || count % kBytesPerLine != 0) {
      *output++ = '\r';
      *output++ = '\n';
    }
  }
}

void MimeEncodeBuffer(const Byte* input, std::size_t count, char* output) {
  MimeEncodeLines(input, count, output);
  const std::size_t whole = count / kBytesPerLine;
  if (count % kBytesPerLine == 0) return;
  MimeEncodeTail(input + whole * kBytesPerLine, count % kBytesPerLine, output + whole * (kCharsPerLine + 2));
}

std::size_t MimeDecodeChunk(const char* input, std::size_t count, Byte* output, TMimeDecodeState& state) {
  Byte* out = output;
  for (std::size_t i = 0; i < count; ++i) {
    const Byte value = kDecodeTable[static_cast<Byte>(input[i])];
    if (value == kIgnore) continue;
    state.Carry = (state.Carry << 6) | value;
    if (--state.Space == 0) {
      *out++ = static_cast<Byte>(state.Carry >> 16);
      *out++ = static_cast<Byte>(state.Carry >> 8);
      *out++ = static_cast<Byte>(state.Carry);
      state.Carry = 0;
      state.Space = 4;
    }
  }
  return static_cast<std::size_t>(out - output);
}

std::size_t MimeDecodeEnd(Byte* output, const TMimeDecodeState& state) {
  switch (state.Space) {
    case 1:  // three characters: 18 bits
      output[0] = static_cast<Byte>(state.Carry >> 10);
      output[1] = static_cast<Byte>(state.Carry >> 2);
      return 2;
    case 2:  // two characters: 12 bits
      output[0] = static_cast<Byte>(state.Carry >> 4);
      return 1;
    default: return 0;
  }
}

AnsiString MimeEncodeText(std::string_view value) {
  if (value.empty()) return AnsiString();
  AnsiString result(static_cast<std::size_t>(MimeEncodedLength(static_cast<std::ptrdiff_t>(value.size()))), '\0');
  MimeEncodeBuffer(reinterpret_cast<const Byte*>(value.data()), value.size(), result.data());
  return result;
}

AnsiString MimeDecodeText(std::string_view value) {
  if (value.empty()) return AnsiString();
  AnsiString result(static_cast<std::size_t>(MimeDecodedLength(static_cast<std::ptrdiff_t>(value.size()))), '\0');
  Byte* out = reinterpret_cast<Byte*>(result.data());
  TMimeDecodeState state;
  std::size_t written = MimeDecodeChunk(value.data(), value.size(), out, state);
  written += MimeDecodeEnd(out + written, state);
  result.resize(written);
  return result;
}

String XorTextEncode(StringView key, StringView source) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  const UTF8String keyBytes = StringToUTF8(key);
  const UTF8String bytes = StringToUTF8(source);
  String result;
  result.reserve(bytes.size() * 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    Byte b = static_cast<Byte>(bytes[i]);
    if (!keyBytes.empty()) b ^= static_cast<Byte>(keyBytes[i % keyBytes.size()]);
    result += kDigits[b >> 4];
    result += kDigits[b & 15];
  }
  return result;
}

String XorTextDecode(StringView key, StringView source) {
  const UTF8String keyBytes = StringToUTF8(key);
  UTF8String bytes;
  bytes.reserve(source.size() / 2);
  for (std::size_t i = 0; i + 1 < source.size(); i += 2) {
    const int high = HexValue(source[i]);
    const int low = HexValue(source[i + 1]);
    Byte b = low < 0 ? Byte{' '} : static_cast<Byte>(((high < 0 ? 0 : high) << 4) | low);
    const std::size_t index = i / 2;
    if (!keyBytes.empty()) b ^= static_cast<Byte>(keyBytes[index % keyBytes.size()]);
    bytes += static_cast<char>(b);
  }
  return UTF8ToString(bytes);
}
