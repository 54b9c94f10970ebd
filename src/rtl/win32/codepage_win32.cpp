// Code pages without a built-in table go through the system's conversions.
#include <windows.h>

#include <climits>
#include <string>

#include "rtl/codepage_platform.h"
#include "rtl/exceptions.h"

namespace codepage_platform {

namespace {

[[noreturn]] void RaiseFailed(Word codePage) {
  const std::string number = std::to_string(codePage);
  throw EConvertError(u"Code page " + String(number.begin(), number.end()) + u" is not supported");
}

int CheckedLength(std::size_t size, Word codePage) {
  if (size > static_cast<std::size_t>(INT_MAX)) RaiseFailed(codePage);
  return static_cast<int>(size);
}

}  // namespace

Word SystemAnsiCodePage() {
  return static_cast<Word>(GetACP());
}

bool Supports(Word codePage) {
  return IsValidCodePage(codePage) != 0;
}

bool IsSingleByte(Word codePage) {
  CPINFO info;
  return GetCPInfo(codePage, &info) && info.MaxCharSize == 1;
}

bool IsLeadByte(Byte b, Word codePage) {
  return IsDBCSLeadByteEx(codePage, b) != 0;
}

String Decode(std::string_view bytes, Word codePage) {
  if (bytes.empty()) return String();
  const int length = CheckedLength(bytes.size(), codePage);
  const int units = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (units <= 0) RaiseFailed(codePage);
  String out(static_cast<std::size_t>(units), u'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(out.data()), units);
  return out;
}

AnsiString Encode(StringView text, Word codePage, bool* lossy) {
  if (lossy) *lossy = false;
  if (text.empty()) return AnsiString();
  const int length = CheckedLength(text.size(), codePage);
  const auto* source = reinterpret_cast<const wchar_t*>(text.data());
  // No best-fit look-alikes: what the page lacks becomes '?', as with the
  // built-in tables. Some pages refuse these options; they get the plain call.
  DWORD flags = WC_NO_BEST_FIT_CHARS;
  const char* defaultChar = "?";
  int bytes = WideCharToMultiByte(codePage, flags, source, length, nullptr, 0, defaultChar, nullptr);
  if (bytes <= 0) {
    flags = 0;
    defaultChar = nullptr;
    bytes = WideCharToMultiByte(codePage, flags, source, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) RaiseFailed(codePage);
  }
  AnsiString out(static_cast<std::size_t>(bytes), '\0');
  BOOL usedDefault = FALSE;
  WideCharToMultiByte(codePage, flags, source, length, out.data(), bytes, defaultChar,
                      defaultChar ? &usedDefault : nullptr);
  if (lossy) *lossy = usedDefault != FALSE;
  return out;
}

}  // namespace codepage_platform
