// Outside Windows there is no system code page service: the built-in tables
// are all there is, and the current page is the Western one.
#include "rtl/codepage_platform.h"
#include "rtl/exceptions.h"

namespace codepage_platform {

Word SystemAnsiCodePage() {
  return 1252;
}

bool Supports(Word) {
  return false;
}

bool IsSingleByte(Word) {
  return false;
}

bool IsLeadByte(Byte, Word) {
  return false;
}

String Decode(std::string_view, Word) {
  throw EConvertError(u"Code page conversion is not available");
}

AnsiString Encode(StringView, Word, bool*) {
  throw EConvertError(u"Code page conversion is not available");
}

}  // namespace codepage_platform
