// Arbitrary bytes as an INI file: reading never fails, writing back keeps every
// line that is not a key of a changed section, and the written text reads back
// to the same document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "rtl/encoding.h"
#include "rtl/inifiles.h"
#include "rtl/stringlist.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TBytes bytes(data, data + size);
  TEncoding* encoding = nullptr;
  Integer preamble = TEncoding::GetBufferEncoding(bytes, encoding, TEncoding::ANSI(1252));
  String text = encoding->GetString(bytes.data() + preamble, bytes.size() - static_cast<size_t>(preamble));

  TStringList original;
  original.SetText(text);
  TMemIniFile ini(String{});
  ini.SetStrings(original);

  // Reading every section and key the file has.
  TStringList sections;
  ini.ReadSections(sections);
  for (Integer i = 0; i < sections.Count() && i < 64; ++i) {
    TStringList values;
    ini.ReadSectionValues(sections[i], values);
    TStringList keys;
    ini.ReadSection(sections[i], keys);
    Check(keys.Count() == values.Count());
    for (Integer k = 0; k < keys.Count() && k < 64; ++k) ini.ReadInteger(sections[i], keys[k], 0);
  }

  // Unchanged, the document writes back line for line.
  TStringList written;
  ini.GetStrings(written);
  Check(written.Equals(original));

  // After changes, every line of an untouched kind is still there, in order.
  ini.WriteString(u"Fuzz", u"Key", text.substr(0, 64));
  if (sections.Count() > 0) {
    ini.WriteString(sections[0], u"Added", u"1");
    ini.DeleteKey(sections[0], u"Added");
  }
  ini.GetStrings(written);
  Integer next = 0;
  for (Integer i = 0; i < original.Count(); ++i) {
    const String& line = original[i];
    bool mayChange = line.find(u'=') != String::npos;
    if (mayChange) continue;
    while (next < written.Count() && written[next] != line) ++next;
    Check(next < written.Count());
    ++next;
  }

  // The written text reads back to the same document.
  TMemIniFile again(String{});
  again.SetStrings(written);
  TStringList rewritten;
  again.GetStrings(rewritten);
  Check(rewritten.Equals(written));
  return 0;
}
