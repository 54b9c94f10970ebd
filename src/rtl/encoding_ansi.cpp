// The ANSI encodings, over the code page conversions.
#include <string_view>

#include "rtl/codepage.h"
#include "rtl/encoding.h"

namespace {

Word PageNumber(Cardinal codePage) {
  return static_cast<Word>(codePage == 0 ? CurrentCodePage() : codePage);
}

}  // namespace

TBytes TMBCSEncoding::GetBytes(StringView text) const {
  AnsiString bytes = StringToAnsi(text, PageNumber(FCodePage));
  return TBytes(bytes.begin(), bytes.end());
}

String TMBCSEncoding::GetString(const Byte* bytes, size_t count) const {
  return AnsiToString(std::string_view(reinterpret_cast<const char*>(bytes), count), PageNumber(FCodePage));
}

Cardinal TMBCSEncoding::CodePage() const {
  return PageNumber(FCodePage);
}

bool TMBCSEncoding::IsSingleByte() const {
  return IsSingleByteCodePage(PageNumber(FCodePage));
}
