#include "rtl/encoding.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>

#include "rtl/format.h"
#include "rtl/unicode.h"

namespace {

bool StartsWith(const Byte* bytes, size_t count, const TBytes& prefix) {
  return !prefix.empty() && count >= prefix.size() && std::memcmp(bytes, prefix.data(), prefix.size()) == 0;
}

TBytes Utf16Bytes(StringView text, bool bigEndian) {
  TBytes bytes(text.size() * 2);
  Byte* out = bytes.data();
  for (Char c : text) {
    Byte low = static_cast<Byte>(c & 0xFF);
    Byte high = static_cast<Byte>(c >> 8);
    *out++ = bigEndian ? high : low;
    *out++ = bigEndian ? low : high;
  }
  return bytes;
}

String Utf16String(const Byte* bytes, size_t count, bool bigEndian) {
  String text(count / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    Byte first = bytes[2 * i];
    Byte second = bytes[2 * i + 1];
    text[i] = bigEndian ? static_cast<Char>(first << 8 | second) : static_cast<Char>(second << 8 | first);
  }
  return text;
}

}  // namespace

String TEncoding::GetString(const TBytes& bytes, Int64 index, Int64 count) const {
  if (index < 0 || static_cast<UInt64>(index) > bytes.size())
    throw EEncodingError(Format(u"Character index out of bounds (%d)", {index}));
  if (count < 0 || static_cast<UInt64>(count) > bytes.size() - static_cast<UInt64>(index))
    throw EEncodingError(Format(u"Invalid count (%d)", {count}));
  return GetString(bytes.data() + index, static_cast<size_t>(count));
}

TBytes TUTF8Encoding::GetPreamble() const {
  return FWithPreamble ? TBytes{0xEF, 0xBB, 0xBF} : TBytes{};
}

TBytes TUTF8Encoding::GetBytes(StringView text) const {
  UTF8String utf8 = StringToUTF8(text);
  return TBytes(utf8.begin(), utf8.end());
}

String TUTF8Encoding::GetString(const Byte* bytes, size_t count) const {
  return UTF8ToString(std::string_view(reinterpret_cast<const char*>(bytes), count));
}

TBytes TUnicodeEncoding::GetBytes(StringView text) const {
  return Utf16Bytes(text, false);
}
String TUnicodeEncoding::GetString(const Byte* bytes, size_t count) const {
  return Utf16String(bytes, count, false);
}

TBytes TBigEndianUnicodeEncoding::GetBytes(StringView text) const {
  return Utf16Bytes(text, true);
}
String TBigEndianUnicodeEncoding::GetString(const Byte* bytes, size_t count) const {
  return Utf16String(bytes, count, true);
}

TEncoding* TEncoding::ANSI() {
  static TMBCSEncoding current(0);
  return &current;
}

TEncoding* TEncoding::ANSI(Cardinal codePage) {
  if (codePage == 0) return ANSI();
  // One immutable object per page asked for; they live as long as the process.
  static std::mutex guard;
  static std::map<Cardinal, std::unique_ptr<TMBCSEncoding>> pages;
  std::lock_guard<std::mutex> lock(guard);
  auto& slot = pages[codePage];
  if (!slot) slot = std::make_unique<TMBCSEncoding>(codePage);
  return slot.get();
}

TEncoding* TEncoding::UTF8() {
  static TUTF8Encoding utf8(true);
  return &utf8;
}

TEncoding* TEncoding::Unicode() {
  static TUnicodeEncoding unicode;
  return &unicode;
}

TEncoding* TEncoding::BigEndianUnicode() {
  static TBigEndianUnicodeEncoding bigEndian;
  return &bigEndian;
}

TEncoding* TEncoding::GetEncoding(Cardinal codePage) {
  switch (codePage) {
    case 1200: return Unicode();
    case 1201: return BigEndianUnicode();
    case 65001: return UTF8();
    default: return ANSI(codePage);
  }
}

bool TEncoding::IsStandardEncoding(const TEncoding* encoding) {
  if (encoding == nullptr) return false;
  if (encoding == ANSI() || encoding == UTF8() || encoding == Unicode() || encoding == BigEndianUnicode()) return true;
  auto* ansi = dynamic_cast<const TMBCSEncoding*>(encoding);
  return ansi != nullptr && ansi == ANSI(ansi->CodePage());
}

Integer TEncoding::GetBufferEncoding(const Byte* bytes, size_t count, TEncoding*& encoding,
                                     TEncoding* defaultEncoding) {
  if (encoding == nullptr) {
    for (TEncoding* candidate : {Unicode(), BigEndianUnicode(), UTF8()}) {
      TBytes preamble = candidate->GetPreamble();
      if (StartsWith(bytes, count, preamble)) {
        encoding = candidate;
        return static_cast<Integer>(preamble.size());
      }
    }
    encoding = defaultEncoding ? defaultEncoding : ANSI();
    return 0;
  }
  TBytes preamble = encoding->GetPreamble();
  return StartsWith(bytes, count, preamble) ? static_cast<Integer>(preamble.size()) : 0;
}
