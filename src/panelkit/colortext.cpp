#include "panelkit/colortext.h"

namespace {

std::optional<uint32_t> ReadHex(StringView digits, size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  uint32_t value = 0;
  for (Char ch : digits) {
    int digit = 0;
    if (ch >= u'0' && ch <= u'9')
      digit = ch - u'0';
    else if (ch >= u'a' && ch <= u'f')
      digit = ch - u'a' + 10;
    else if (ch >= u'A' && ch <= u'F')
      digit = ch - u'A' + 10;
    else
      return std::nullopt;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  return value;
}

String HexDigits(uint32_t value, int count) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  String text(static_cast<size_t>(count), u'0');
  for (int i = count - 1; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = kDigits[value & 0xF];
  return text;
}

}  // namespace

String ColorNotationText(TColor color, TColorNotation notation) {
  const auto value = static_cast<uint32_t>(color);
  if (notation == TColorNotation::Platform) return u"$" + HexDigits(value, 8);
  const uint32_t red = value & 0xFF, green = (value >> 8) & 0xFF, blue = (value >> 16) & 0xFF;
  return u"#" + HexDigits((red << 16) | (green << 8) | blue, 6);
}

std::optional<TColor> ReadColorNotation(StringView text) {
  if (text.size() > 1 && text.front() == u'#') {
    if (text.size() != 7) return std::nullopt;
    const std::optional<uint32_t> rgb = ReadHex(text.substr(1), 6);
    if (!rgb) return std::nullopt;
    const uint32_t red = (*rgb >> 16) & 0xFF, green = (*rgb >> 8) & 0xFF, blue = *rgb & 0xFF;
    return static_cast<TColor>(red | (green << 8) | (blue << 16));
  }
  std::optional<uint32_t> value;
  if (text.size() > 1 && text.front() == u'$')
    value = ReadHex(text.substr(1), 8);
  else if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
    value = ReadHex(text.substr(2), 8);
  if (!value) return std::nullopt;
  return static_cast<TColor>(static_cast<int32_t>(*value));
}
