#include "rtl/codepage.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "rtl/codepage_platform.h"
#include "rtl/codepage_tables.h"
#include "rtl/exceptions.h"
#include "rtl/unicode.h"

namespace {

using codepage_tables::TReverseEntry;
using codepage_tables::TSingleBytePage;

// 0 until first asked; the Windows build then takes the system's page.
std::atomic<Word> currentCodePage{0};

Word Resolve(Word codePage) {
  // 3 is the calling thread's ANSI page, which is the process's here.
  return codePage == kCodePageCurrent || codePage == 3 ? CurrentCodePage() : codePage;
}

[[noreturn]] void RaiseUnsupported(Word codePage) {
  throw EConvertError(u"Code page " + UTF8ToString(std::to_string(codePage)) + u" is not supported");
}

String DecodeSingleByte(std::string_view bytes, const TSingleBytePage& page) {
  String out(bytes.size(), u'\0');
  const Char* table = page.ToUnicode;
  const auto* in = reinterpret_cast<const Byte*>(bytes.data());
  Char* o = out.data();
  for (std::size_t i = 0, n = bytes.size(); i < n; ++i) o[i] = table[in[i]];
  return out;
}

int ReverseLookup(const TSingleBytePage& page, Char c) {
  const TReverseEntry* first = page.FromUnicode;
  const TReverseEntry* last = first + page.FromUnicodeCount;
  const TReverseEntry* it =
      std::lower_bound(first, last, c, [](const TReverseEntry& e, Char value) { return e.Unicode < value; });
  return it != last && it->Unicode == c ? it->Value : -1;
}

AnsiString EncodeSingleByte(StringView text, const TSingleBytePage& page, bool* lossy) {
  AnsiString out(text.size(), '\0');
  const Char* p = text.data();
  const std::size_t n = text.size();
  char* o = out.data();
  bool lost = false;
  std::size_t i = 0;
  while (i < n) {
    // Text is mostly ASCII: take four units at a time while none is above 0x7F.
    while (n - i >= 4) {
      std::uint64_t chunk;
      std::memcpy(&chunk, p + i, 8);
      if (chunk & 0xFF80FF80FF80FF80ull) break;
      o[i] = static_cast<char>(p[i]);
      o[i + 1] = static_cast<char>(p[i + 1]);
      o[i + 2] = static_cast<char>(p[i + 2]);
      o[i + 3] = static_cast<char>(p[i + 3]);
      i += 4;
    }
    if (i >= n) break;
    Char c = p[i];
    if (c < 0x80) {
      o[i] = static_cast<char>(c);
    } else {
      int value = ReverseLookup(page, c);
      if (value < 0) {
        lost = true;
        value = '?';
      }
      o[i] = static_cast<char>(value);
    }
    ++i;
  }
  if (lossy) *lossy = lost;
  return out;
}

bool HasLoneSurrogate(StringView text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    Char c = text[i];
    if (c < 0xD800 || c > 0xDFFF) continue;
    if (c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      ++i;
      continue;
    }
    return true;
  }
  return false;
}

}  // namespace

Word CurrentCodePage() {
  Word codePage = currentCodePage.load(std::memory_order_relaxed);
  if (codePage == 0) {
    codePage = codepage_platform::SystemAnsiCodePage();
    Word expected = 0;
    // Another thread may have set it meanwhile; its value wins.
    if (!currentCodePage.compare_exchange_strong(expected, codePage)) codePage = expected;
  }
  return codePage;
}

void SetCurrentCodePage(Word codePage) {
  currentCodePage.store(codePage);
}

String AnsiToString(std::string_view bytes, Word codePage) {
  codePage = Resolve(codePage);
  if (const TSingleBytePage* page = codepage_tables::FindSingleBytePage(codePage)) {
    return DecodeSingleByte(bytes, *page);
  }
  if (codePage == kCodePageUTF8) return UTF8ToString(bytes);
  if (!codepage_platform::Supports(codePage)) RaiseUnsupported(codePage);
  return codepage_platform::Decode(bytes, codePage);
}

AnsiString StringToAnsi(StringView text, Word codePage, bool* lossy) {
  codePage = Resolve(codePage);
  if (const TSingleBytePage* page = codepage_tables::FindSingleBytePage(codePage)) {
    return EncodeSingleByte(text, *page, lossy);
  }
  if (codePage == kCodePageUTF8) {
    if (lossy) *lossy = HasLoneSurrogate(text);
    return StringToUTF8(text);
  }
  if (!codepage_platform::Supports(codePage)) RaiseUnsupported(codePage);
  return codepage_platform::Encode(text, codePage, lossy);
}

bool IsLeadByte(Byte b, Word codePage) {
  codePage = Resolve(codePage);
  // The lead-byte ranges of the double-byte pages are fixed by their
  // definitions, so scanners get the same answer in every build even where the
  // characters themselves cannot be converted.
  switch (codePage) {
    case 932: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950: return b >= 0x81 && b <= 0xFE;
    default: break;
  }
  if (b < 0x80 || codePage == kCodePageUTF8 || codepage_tables::FindSingleBytePage(codePage)) return false;
  return codepage_platform::IsLeadByte(b, codePage);
}

bool IsSingleByteCodePage(Word codePage) {
  codePage = Resolve(codePage);
  if (codepage_tables::FindSingleBytePage(codePage)) return true;
  if (codePage == kCodePageUTF8) return false;
  return codepage_platform::IsSingleByte(codePage);
}
