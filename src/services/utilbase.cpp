#include "services/utilbase.h"

#include <algorithm>

#include "rtl/files.h"
#include "rtl/format.h"
#include "rtl/stringlist.h"
#include "rtl/sysstr.h"

// ---- Exceptions -------------------------------------------------------------

namespace {

String Win32ErrorText(Cardinal lastError, const String& lastErrorMsg, const String& message) {
  return Format(kUtWin32ErrorFormat, {lastErrorMsg, lastError, u"\r\n", message});
}

}  // namespace

EUtWin32Error::EUtWin32Error(const String& message) : EUtWin32Error(static_cast<Cardinal>(GetLastOSError()), message) {}

EUtWin32Error::EUtWin32Error(Cardinal lastError, const String& message)
    : EUtError(String()), FLastError(lastError), FLastErrorMsg(SysErrorMessage(static_cast<int>(lastError))) {
  SetMessage(Win32ErrorText(FLastError, FLastErrorMsg, message));
}

// ---- Words, bits and variants ----------------------------------------------

bool VariantIsInteger(const Variant& value) {
  switch (value.VarType()) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord: return true;
    default: return false;
  }
}

void SetBufferBit(Cardinal* buffer, Integer bit) {
  buffer[bit / 32] |= Cardinal{1} << (bit % 32);
}

bool TestBufferBit(const Cardinal* buffer, Integer bit) {
  return (buffer[bit / 32] & (Cardinal{1} << (bit % 32))) != 0;
}

void RoundOffsetToGranularity(Int64& offset, bool up, Cardinal granularity) {
  if (granularity == 0) return;
  const Int64 rest = offset % granularity;
  if (rest == 0) return;
  offset -= rest;
  if (up) offset += granularity;
}

void RoundSizeToGranularity(Cardinal& value, bool up, Cardinal granularity) {
  if (granularity == 0) return;
  const Cardinal rest = value % granularity;
  if (rest == 0) return;
  value -= rest;
  if (up) value += granularity;
}

void RoundOffsetToGranularity(Int64& offset, bool up) {
  RoundOffsetToGranularity(offset, up, SystemInformation().AllocationGranularity);
}

void RoundSizeToGranularity(Cardinal& value, bool up) {
  RoundSizeToGranularity(value, up, SystemInformation().AllocationGranularity);
}

// ---- Text ---------------------------------------------------------------------

namespace {

bool IsWordDelimiter(Char c, StringView delimiters) {
  return c <= 0xFF && delimiters.find(c) != StringView::npos;
}

// The 0-based index of sub in s from the 0-based start, comparing upper-case forms.
size_t FindNoCase(StringView sub, StringView s, size_t start) {
  if (sub.empty() || sub.size() > s.size()) return StringView::npos;
  const String upperSub = TextUpper(sub);
  for (size_t i = start; i + upperSub.size() <= s.size(); ++i) {
    size_t j = 0;
    while (j < upperSub.size() && UpperChar(s[i + j]) == upperSub[j]) ++j;
    if (j == upperSub.size()) return i;
  }
  return StringView::npos;
}

}  // namespace

void CopyChars(StringView source, Integer fromIndex, String& dest, Integer toIndex, Integer count) {
  if (count <= 0) return;
  std::copy_n(source.begin() + fromIndex, count, dest.begin() + toIndex);
}

Integer NthWordPosition(Integer n, StringView s, StringView delimiters) {
  Integer word = 0;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsWordDelimiter(s[i], delimiters)) ++i;
    if (i >= s.size()) break;
    if (++word == n) return static_cast<Integer>(i + 1);
    while (i < s.size() && !IsWordDelimiter(s[i], delimiters)) ++i;
  }
  return 0;
}

String NthWord(Integer n, StringView s, StringView delimiters) {
  const Integer position = NthWordPosition(n, s, delimiters);
  if (position == 0) return String();
  size_t end = position - 1;
  while (end < s.size() && !IsWordDelimiter(s[end], delimiters)) ++end;
  return String(s.substr(position - 1, end - (position - 1)));
}

String TextLeft(StringView s, Integer n) {
  return LeftStr(s, n);
}

String TextMid(StringView s, Integer start, Integer n) {
  return Copy(s, start, n);
}

String TextRestOf(StringView s, Integer start) {
  return Copy(s, start);
}

String TextEnsureSuffix(StringView suffix, StringView s) {
  String result(s);
  if (!EndsStr(suffix, s)) result += suffix;
  return result;
}

String TextUpper(StringView s) {
  return AnsiUpperCase(s);
}

void TextUpperInPlace(String& s) {
  MapCase(s, cmUpper);
}

void MapCase(String& s, TUtCaseMap map) {
  for (Char& c : s) {
    switch (map) {
      case cmLower: c = CharToLower(c); break;
      case cmUpper: c = CharToUpper(c); break;
      case cmSwap:
        if (IsUpperChar(c)) {
          c = CharToLower(c);
        } else if (IsLowerChar(c)) {
          c = CharToUpper(c);
        }
        break;
    }
  }
}

Char UpperChar(Char c) {
  return CharToUpper(c);
}

// A character is of a case when it has a partner of the other case in the
// library's case map.
bool IsUpperChar(Char c) {
  return CharToLower(c) != c;
}

bool IsLowerChar(Char c) {
  return CharToUpper(c) != c;
}

bool IsHexDigitChar(Char c) {
  return (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f') || IsDigitChar(c);
}

Integer TextPosNoCase(StringView sub, StringView s) {
  const size_t found = FindNoCase(sub, s, 0);
  return found == StringView::npos ? 0 : static_cast<Integer>(found + 1);
}

Integer TextPosFrom(StringView sub, StringView s, Integer index) {
  if (sub.empty() || s.empty()) return 0;
  const size_t start = index < 1 ? 0 : static_cast<size_t>(index - 1);
  if (start >= s.size()) return 0;
  const size_t found = FindNoCase(sub, s, start);
  return found == StringView::npos ? 0 : static_cast<Integer>(found + 1);
}

String TextAfter(StringView sub, StringView s) {
  const size_t found = FindNoCase(sub, s, 0);
  return found == StringView::npos ? String() : String(s.substr(found + sub.size()));
}

String TextBefore(StringView sub, StringView s) {
  const size_t found = FindNoCase(sub, s, 0);
  return found == StringView::npos ? String(s) : String(s.substr(0, found));
}

Integer TextCharPosFrom(StringView s, Char c, Integer index) {
  if (index < 1 || static_cast<size_t>(index) > s.size()) return 0;
  const size_t found = s.find(c, index - 1);
  return found == StringView::npos ? 0 : static_cast<Integer>(found + 1);
}

Integer TextLastCharPos(StringView s, Char c, Integer index) {
  if (index < 1 || static_cast<size_t>(index) > s.size()) return 0;
  const size_t found = s.rfind(c);
  return found == StringView::npos || found + 1 < static_cast<size_t>(index) ? 0 : static_cast<Integer>(found + 1);
}

String TextReplaceChar(StringView s, Char oldChar, Char newChar) {
  String result(s);
  TextReplaceCharInPlace(result, oldChar, newChar);
  return result;
}

Integer TextReplaceCharInPlace(String& s, Char oldChar, Char newChar) {
  if (oldChar == newChar) return 0;
  Integer count = 0;
  for (Char& c : s) {
    if (c == oldChar) {
      c = newChar;
      ++count;
    }
  }
  return count;
}

void TextCutAtZero(String& s) {
  const size_t zero = s.find(Char{0});
  if (zero != String::npos) s.resize(zero);
}

void TextReplace(String& s, StringView search, StringView replace, TUtReplaceFlags flags) {
  if (search.empty()) {
    if (!s.empty()) throw EUtStringError(kUtSearchStringBlank);
    s = replace;
    return;
  }
  if (s.empty()) return;
  const bool ignoreCase = (flags & utIgnoreCase) != 0;
  const bool replaceAll = (flags & utReplaceAll) != 0;
  const String pattern = ignoreCase ? TextUpper(search) : String(search);
  String result;
  result.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    bool match = i + pattern.size() <= s.size();
    for (size_t j = 0; match && j < pattern.size(); ++j) {
      const Char c = ignoreCase ? UpperChar(s[i + j]) : s[i + j];
      match = c == pattern[j];
    }
    if (!match) {
      result += s[i++];
      continue;
    }
    result += replace;
    i += pattern.size();
    if (!replaceAll) {
      result.append(s, i);
      break;
    }
  }
  s = std::move(result);
}

void TextToLines(StringView s, StringView separator, TStrings& list, bool allowEmpty) {
  list.BeginUpdate();
  try {
    list.Clear();
    size_t start = 0;
    while (true) {
      const size_t found = separator.empty() ? StringView::npos : s.find(separator, start);
      const StringView line = s.substr(start, found == StringView::npos ? StringView::npos : found - start);
      if (allowEmpty || !line.empty()) list.Add(String(line));
      if (found == StringView::npos) break;
      start = found + separator.size();
    }
  } catch (...) {
    list.EndUpdate();
    throw;
  }
  list.EndUpdate();
}

const Char* WideStrPos(const Char* text, const Char* subText) {
  if (text == nullptr || subText == nullptr || *text == 0 || *subText == 0) return nullptr;
  const StringView haystack(text);
  const size_t found = haystack.find(StringView(subText));
  return found == StringView::npos ? nullptr : text + found;
}
