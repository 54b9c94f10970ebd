#include "codeedit/textutils.h"

#include <algorithm>

#include "rtl/sysstr.h"

Integer ClampInt(Integer value, Integer low, Integer high) {
  if (value > high) value = high;
  if (value < low) value = low;
  return value;
}

void SwapInts(Integer& a, Integer& b) {
  std::swap(a, b);
}

TBufferCoord EarlierCoord(const TBufferCoord& a, const TBufferCoord& b) {
  if (b.Line < a.Line || (b.Line == a.Line && b.Char < a.Char)) return b;
  return a;
}

bool FindFirstTab(StringView text, Integer& count) {
  const auto tab = text.find(u'\t');
  count = static_cast<Integer>(tab == StringView::npos ? text.size() : tab);
  return tab != StringView::npos;
}

namespace {

template <typename NextStop>
String ExpandTabs(StringView line, bool& hasTabs, NextStop nextStop) {
  Integer before = 0;
  hasTabs = FindFirstTab(line, before);
  if (!hasTabs) return String(line);
  String result(line.substr(0, before));
  Integer column = before;
  for (size_t i = static_cast<size_t>(before); i < line.size(); ++i) {
    if (line[i] == u'\t') {
      const Integer stop = nextStop(column);
      result.append(static_cast<size_t>(stop - column), u'\t');
      column = stop;
    } else {
      result += line[i];
      ++column;
    }
  }
  return result;
}

}  // namespace

String TabsToSingleSpaces(StringView line, Integer, bool& hasTabs) {
  Integer before = 0;
  hasTabs = FindFirstTab(line, before);
  String result(line);
  if (hasTabs) std::replace(result.begin() + before, result.end(), u'\t', u' ');
  return result;
}

String ExpandTabsMasked(StringView line, Integer tabWidth, bool& hasTabs) {
  const Integer mask = ~(tabWidth - 1);
  return ExpandTabs(line, hasTabs, [mask, tabWidth](Integer column) { return (column + tabWidth) & mask; });
}

String ExpandTabsModulo(StringView line, Integer tabWidth, bool& hasTabs) {
  return ExpandTabs(line, hasTabs, [tabWidth](Integer column) { return column + tabWidth - column % tabWidth; });
}

bool IsPowerOfTwoWidth(Integer tabWidth) {
  return tabWidth >= 2 && tabWidth <= 65536 && (tabWidth & (tabWidth - 1)) == 0;
}

TConvertTabsProcEx SelectTabConverter(Integer tabWidth) {
  if (tabWidth < 2) return &TabsToSingleSpaces;
  return IsPowerOfTwoWidth(tabWidth) ? &ExpandTabsMasked : &ExpandTabsModulo;
}

Integer ExpandedTextWidth(StringView text, Integer tabWidth) {
  Integer column = 0;
  for (Char c : text) column = (c == u'\t' && tabWidth > 0) ? column + tabWidth - column % tabWidth : column + 1;
  return column;
}

Integer CharIndexToColumn(Integer index, Integer tabWidth, StringView text) {
  if (index < 2) return 1;
  Integer firstTab = 0;
  if (tabWidth < 2 || !FindFirstTab(text, firstTab) || index <= firstTab + 1) return index;
  Integer column = firstTab;
  for (Integer i = firstTab; i < index - 1; ++i) {
    const bool isTab = i < static_cast<Integer>(text.size()) && text[static_cast<size_t>(i)] == u'\t';
    column = isTab ? column + tabWidth - column % tabWidth : column + 1;
  }
  return column + 1;
}

Integer ScanForward(StringView text, Integer start, const TCharTest& test) {
  const auto length = static_cast<Integer>(text.size());
  if (start < 1 || start > length) return 0;
  for (Integer i = start; i <= length; ++i)
    if (test(text[static_cast<size_t>(i - 1)])) return i;
  return 0;
}

Integer ScanBackward(StringView text, Integer start, const TCharTest& test) {
  const auto length = static_cast<Integer>(text.size());
  if (start < 1 || start > length) return 0;
  for (Integer i = start; i >= 1; --i)
    if (test(text[static_cast<size_t>(i - 1)])) return i;
  return 0;
}

Integer FindLineEnd(StringView text) {
  const auto end = text.find_first_of(StringView(u"\0\n\r", 3));
  return static_cast<Integer>(end == StringView::npos ? text.size() : end);
}

String StripClassNameAffixes(StringView className) {
  StringView name = className;
  if (StartsText(u"tcode", name)) {
    name.remove_prefix(5);
  } else if (StartsText(u"t", name)) {
    name.remove_prefix(1);
  }
  constexpr StringView suffix = u"highlighter";
  if (EndsText(suffix, name)) name.remove_suffix(suffix.size());
  return String(name);
}

String TrimTrailingBlanks(StringView text) {
  const auto last = text.find_last_not_of(u" \t");
  return String(last == StringView::npos ? StringView() : text.substr(0, last + 1));
}

String TrimControlChars(StringView text) {
  size_t first = 0;
  size_t end = text.size();
  while (first < end && text[first] <= u' ') ++first;
  while (end > first && text[end - 1] <= u' ') --end;
  return String(text.substr(first, end - first));
}

String StringOfWideChar(Char c, Integer count) {
  return count > 0 ? String(static_cast<size_t>(count), c) : String();
}

Integer CeilDiv(Integer a, Integer b) {
  return a / b + (a % b != 0 ? 1 : 0);
}

String WideUpperCase(StringView text) {
  return AnsiUpperCase(text);
}
String WideLowerCase(StringView text) {
  return AnsiLowerCase(text);
}
Char WideCharUpper(Char c) {
  return CharToUpper(c);
}
Char WideCharLower(Char c) {
  return CharToLower(c);
}

void WideBufferUpper(Char* buffer, Integer count) {
  for (Integer i = 0; i < count; ++i) buffer[i] = CharToUpper(buffer[i]);
}

void WideBufferLower(Char* buffer, Integer count) {
  for (Integer i = 0; i < count; ++i) buffer[i] = CharToLower(buffer[i]);
}

Integer OutsideSurrogatePair(StringView line, Integer aChar) {
  if (aChar < 2 || aChar > static_cast<Integer>(line.size())) return aChar;
  const auto at = static_cast<size_t>(aChar - 1);
  return IsLowSurrogate(line[at]) && IsHighSurrogate(line[at - 1]) ? aChar - 1 : aChar;
}

Integer CharUnitsAt(StringView line, Integer aChar, bool forwards) {
  const auto size = static_cast<Integer>(line.size());
  if (forwards) {
    if (aChar < 1 || aChar >= size) return 1;
    const auto at = static_cast<size_t>(aChar - 1);
    return IsHighSurrogate(line[at]) && IsLowSurrogate(line[at + 1]) ? 2 : 1;
  }
  if (aChar < 3 || aChar > size + 1) return 1;
  const auto at = static_cast<size_t>(aChar - 2);
  return IsLowSurrogate(line[at]) && IsHighSurrogate(line[at - 1]) ? 2 : 1;
}
