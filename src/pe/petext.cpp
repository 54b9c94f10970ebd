#include "pe/petext.h"

#include "rtl/unicode.h"

namespace petext {

String Decimal(Int64 value) { return S(std::to_string(value)); }

String Hex(UInt64 value, int digits) {
  static const char kDigits[] = "0123456789ABCDEF";
  String text;
  do {
    text.insert(text.begin(), static_cast<Char>(kDigits[value & 15]));
    value >>= 4;
  } while (value);
  while (static_cast<int>(text.size()) < digits) text.insert(text.begin(), u'0');
  return text;
}

String FromAnsi(std::string_view bytes) {
  String text(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) text[i] = static_cast<Byte>(bytes[i]);
  return text;
}

String UpperCase(StringView text) {
  String upper(text);
  for (Char& c : upper)
    if (c >= u'a' && c <= u'z') c = static_cast<Char>(c - 32);
  return upper;
}

bool SameText(StringView a, StringView b) { return a.size() == b.size() && UpperCase(a) == UpperCase(b); }

}  // namespace petext

namespace petext {
String DateTimeText(double value) { return Decimal(static_cast<Int64>(value)); }
}  // namespace petext
