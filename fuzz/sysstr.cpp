// String routines on arbitrary text: quoting round trips, replacement and
// case mapping keep their length rules, and nothing reads outside its text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "rtl/sysstr.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const Char quote = static_cast<Char>(data[0] | (data[1] << 8));
  const std::size_t split = data[2];
  String text((size - 3) / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), data + 3, text.size() * 2);
  const StringView whole = text;
  const StringView pattern = whole.substr(0, std::min<std::size_t>(split % 8, whole.size()));

  if (AnsiDequotedStr(AnsiQuotedStr(text, quote), quote) != text) std::abort();
  StringView rest = text;
  const String extracted = AnsiExtractQuotedStr(rest, quote);
  if (extracted.size() > text.size() || rest.size() > text.size()) std::abort();
  (void)AnsiDequotedStr(text, quote);

  if (AnsiUpperCase(text).size() != text.size() || AnsiLowerCase(text).size() != text.size()) std::abort();
  const String replaced = StringReplace(text, pattern, u"", rfReplaceAll | rfIgnoreCase);
  if (replaced.size() > text.size()) std::abort();
  if (!pattern.empty() && whole.find(pattern) != StringView::npos && ReplaceStr(text, pattern, u"") == text) {
    std::abort();
  }
  const Integer index = static_cast<Integer>(static_cast<std::int8_t>(data[2]));
  if (Copy(text, index, index * 3).size() > text.size()) std::abort();
  (void)IsValidIdent(text, true);
  (void)AdjustLineBreaks(text);
  (void)AnsiCompareText(text, pattern);
  return 0;
}
