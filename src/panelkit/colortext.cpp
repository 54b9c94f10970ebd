#include "panelkit/colortext.h"

#include <algorithm>

#include "panelkit/colorschemes.h"

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

namespace {

bool IsHexDigit(Char ch) {
  return (ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'f') || (ch >= u'A' && ch <= u'F');
}

Char NotationPrefix(TColorNotation notation) {
  return notation == TColorNotation::Web ? u'#' : u'$';
}

bool StartsWithHexPrefix(StringView text) {
  return text.size() >= 2 && text[0] == u'0' && text[1] == u'x';
}

Char LowerAscii(Char ch) {
  return ch >= u'A' && ch <= u'Z' ? static_cast<Char>(ch - u'A' + u'a') : ch;
}

bool SameAsciiText(StringView a, StringView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

}  // namespace

Integer ColorTextMaxLength(StringView text, TColorNotation notation) {
  if (StartsWithHexPrefix(text)) return 10;
  // A text in the other notation keeps that notation's length, so that it still reads.
  if (!text.empty() && (text.front() == u'#' || text.front() == u'$')) return text.front() == u'#' ? 7 : 9;
  return notation == TColorNotation::Web ? 7 : 9;
}

String FilterColorText(StringView text, bool atStart, TColorNotation notation) {
  String result;
  for (Char ch : text) {
    const bool prefix = ch == u'#' || ch == u'$';
    if (!(ch == 8 || prefix || ch == u'x' || IsHexDigit(ch))) continue;
    if (prefix && !result.empty()) continue;
    if (ch == u'$' && notation == TColorNotation::Web) continue;
    result.push_back(ch);
  }
  // A text that already has a prefix keeps it: a "#RRGGBB" pasted into the
  // platform notation is read as the web colour it is.
  const bool prefixed = !result.empty() && (result.front() == u'#' || result.front() == u'$');
  if (!StartsWithHexPrefix(result) && atStart && !prefixed) result.insert(result.begin(), NotationPrefix(notation));
  return result;
}

String FitColorText(StringView text, TColorNotation notation) {
  const auto max = static_cast<size_t>(ColorTextMaxLength(text, notation));
  String result(text.substr(0, std::min(text.size(), max)));
  result.resize(max, u'0');
  return result;
}

bool ColorTextAcceptsChar(Char ch, StringView text, Integer caret, bool hasSelection, TColorNotation notation) {
  const size_t max = notation == TColorNotation::Web ? 7 : 9;
  if (!hasSelection && text.size() >= max) return false;
  const bool prefix = ch == u'#' || ch == u'$';
  if (caret == 0 && !prefix) return false;
  if (!prefix && !IsHexDigit(ch)) return false;
  if (prefix && (ch != NotationPrefix(notation) || caret != 0)) return false;
  return true;
}

std::optional<TColor> HtmlColorNameValue(StringView name) {
  for (const THtmlColor& color : HtmlColors)
    if (SameAsciiText(name, color.Name)) return ReadColorNotation(color.Value);
  return std::nullopt;
}

std::optional<String> HtmlColorNameOf(StringView webText) {
  for (const THtmlColor& color : HtmlColors)
    if (webText == color.Value && !SameAsciiText(color.Name, u"transparent")) return String(color.Name);
  return std::nullopt;
}

bool IsColorTextOnly(StringView text) {
  return std::all_of(text.begin(), text.end(), [](Char ch) {
    return ch == 8 || ch == u'#' || ch == u'$' || ch == u'x' || IsHexDigit(ch);
  });
}

std::optional<TColor> ReadPastedWebColor(StringView text) {
  const auto blank = [](Char ch) { return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.front() == u'#') text.remove_prefix(1);
  if (text.size() != 6 || !std::all_of(text.begin(), text.end(), IsHexDigit)) return std::nullopt;
  return ReadColorNotation(u"#" + String(text));
}

const std::array<TColor, kColorMatrixColumns * kColorMatrixRows>& ColorPopupMatrix() {
  static const auto matrix = [] {
    std::array<TColor, kColorMatrixColumns * kColorMatrixRows> m{};
    const auto rgb = [](int red, int green, int blue) {
      return static_cast<TColor>(red | (green << 8) | (blue << 16));
    };
    constexpr TColor kSideColors[kColorMatrixRows] = {0x000000, 0x333333, 0x666666, 0x999999, 0xCCCCCC, 0xFFFFFF,
                                                      0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00, 0xFF00FF};
    for (int row = 0; row < kColorMatrixRows; ++row) {
      m[static_cast<size_t>(0 * kColorMatrixRows + row)] = 0;
      m[static_cast<size_t>(1 * kColorMatrixRows + row)] = kSideColors[row];
      m[static_cast<size_t>(2 * kColorMatrixRows + row)] = 0;
    }
    for (int column = 3; column < kColorMatrixColumns; ++column) {
      const int block = (column - 3) / 6, green = 51 * ((column - 3) % 6);
      for (int row = 0; row < kColorMatrixRows; ++row) {
        const int red = 51 * (block + (row < 6 ? 0 : 3)), blue = 51 * (row % 6);
        m[static_cast<size_t>(column * kColorMatrixRows + row)] = rgb(red, green, blue);
      }
    }
    return m;
  }();
  return matrix;
}
