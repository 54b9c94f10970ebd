#include "rtl/unicode.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

// Invalid input is replaced by one U+FFFD per maximal valid prefix of a
// sequence (the rule browsers follow), so the next byte is read afresh.
String UTF8ToString(std::string_view utf8) {
  String out;
  out.resize(utf8.size());  // UTF-16 never needs more units than UTF-8 has bytes
  const auto* p = reinterpret_cast<const std::uint8_t*>(utf8.data());
  const auto* end = p + utf8.size();
  char16_t* o = out.data();
  while (p < end) {
    // ASCII runs are the common case in form files; take them eight at a time.
    while (end - p >= 8) {
      std::uint64_t chunk;
      __builtin_memcpy(&chunk, p, 8);
      if (chunk & 0x8080808080808080ull) break;
      for (int i = 0; i < 8; ++i) o[i] = p[i];
      p += 8;
      o += 8;
    }
    if (p >= end) break;
    std::uint8_t b = *p++;
    if (b < 0x80) {
      *o++ = b;
      continue;
    }
    int need;
    std::uint32_t cp;
    std::uint8_t lo = 0x80, hi = 0xBF;  // allowed range of the first continuation byte
    if (b >= 0xC2 && b <= 0xDF) {
      need = 1;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      need = 2;
      cp = b & 0x0F;
      if (b == 0xE0) lo = 0xA0;  // overlong
      if (b == 0xED) hi = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      need = 3;
      cp = b & 0x07;
      if (b == 0xF0) lo = 0x90;  // overlong
      if (b == 0xF4) hi = 0x8F;  // above U+10FFFF
    } else {
      *o++ = kReplacement;
      continue;
    }
    bool valid = true;
    for (int i = 0; i < need; ++i) {
      if (p >= end || *p < lo || *p > hi) {
        valid = false;
        break;
      }
      cp = (cp << 6) | (*p++ & 0x3F);
      lo = 0x80;
      hi = 0xBF;
    }
    if (!valid) {
      *o++ = kReplacement;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      *o++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *o++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      *o++ = static_cast<char16_t>(cp);
    }
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

namespace {

// The exact UTF-8 length of a UTF-16 text: a pair takes four bytes, a lone
// surrogate the three of U+FFFD.
std::size_t UTF8Length(const char16_t* p, const char16_t* end) {
  std::size_t bytes = 0;
  std::size_t pairs = 0;
  for (const char16_t* q = p; q < end; ++q) {
    const char16_t c = *q;
    bytes += 1 + (c >= 0x80) + (c >= 0x800);
    if (c >= 0xD800 && c <= 0xDBFF && q + 1 < end && q[1] >= 0xDC00 && q[1] <= 0xDFFF) {
      ++pairs;
      ++q;
      bytes += 3;  // the low surrogate, as a three-byte unit
    }
  }
  return bytes - 2 * pairs;
}

}  // namespace

UTF8String StringToUTF8(StringView text) {
  const char16_t* p = text.data();
  const char16_t* end = p + text.size();
  UTF8String out;
  out.resize(UTF8Length(p, end));
  char* o = out.data();
  while (p < end) {
    // ASCII runs, four units at a time.
    while (end - p >= 4) {
      std::uint64_t chunk;
      __builtin_memcpy(&chunk, p, 8);
      if (chunk & 0xFF80FF80FF80FF80ull) break;
      o[0] = static_cast<char>(p[0]);
      o[1] = static_cast<char>(p[1]);
      o[2] = static_cast<char>(p[2]);
      o[3] = static_cast<char>(p[3]);
      p += 4;
      o += 4;
    }
    if (p >= end) break;
    char16_t c = *p++;
    if (c < 0x80) {
      *o++ = static_cast<char>(c);
    } else if (c < 0x800) {
      *o++ = static_cast<char>(0xC0 | (c >> 6));
      *o++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c >= 0xD800 && c <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF) {
      std::uint32_t cp = 0x10000 + ((static_cast<std::uint32_t>(c) - 0xD800) << 10) + (*p++ - 0xDC00);
      *o++ = static_cast<char>(0xF0 | (cp >> 18));
      *o++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      if (c >= 0xD800 && c <= 0xDFFF) c = kReplacement;
      *o++ = static_cast<char>(0xE0 | (c >> 12));
      *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}
