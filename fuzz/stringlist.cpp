// Arbitrary UTF-16 text through the string lists' text forms: splitting never
// fails, lines survive joining and splitting, and delimited text reads back
// to the lines it was made of.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "rtl/stringlist.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first bytes choose the delimiter, quote and strictness.
  const Char delimiter = static_cast<Char>(data[0] % 4 == 0   ? u','
                                           : data[0] % 4 == 1 ? u';'
                                           : data[0] % 4 == 2 ? u' '
                                                              : u'|');
  const Char quote = data[1] % 2 ? u'"' : u'\'';
  const bool strict = data[0] & 0x80;
  String text((size - 2) / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), data + 2, text.size() * sizeof(Char));

  TStringList lines;
  lines.SetText(text);
  TStringList again;
  again.SetText(lines.Text());
  Check(again.Equals(lines));

  TStringList items;
  items.SetDelimiter(delimiter);
  items.SetQuoteChar(quote);
  items.SetStrictDelimiter(strict);
  items.SetDelimitedText(text);
  items.SetCommaText(items.CommaText());

  // Lines without NUL (where the platform's delimited text ends) read back exactly.
  TStringList source;
  source.SetDelimiter(delimiter);
  source.SetQuoteChar(quote);
  source.SetStrictDelimiter(strict);
  for (Integer i = 0; i < lines.Count(); ++i)
    if (lines[i].find(u'\0') == String::npos) source.Add(lines[i]);
  TStringList back;
  back.SetDelimiter(delimiter);
  back.SetQuoteChar(quote);
  back.SetStrictDelimiter(strict);
  back.SetDelimitedText(source.DelimitedText());
  Check(back.Equals(source));
  TStringList comma;
  comma.SetCommaText(source.CommaText());
  Check(comma.Equals(source));
  return 0;
}
