#include "rtl/sysstr.h"

#include <algorithm>
#include <atomic>

#include "rtl/charmap_tables.h"
#include "rtl/sysstr_platform.h"

namespace {

std::atomic<const TTextCollator*> replacedCollator{nullptr};

Char AsciiLower(Char c) {
  return c >= u'A' && c <= u'Z' ? static_cast<Char>(c + 32) : c;
}

int Sign(int value) {
  return (value > 0) - (value < 0);
}

bool InRanges(std::span<const charmap_tables::TCharRange> ranges, Char c) {
  auto it = std::upper_bound(ranges.begin(), ranges.end(), c,
                             [](Char value, const charmap_tables::TCharRange& r) { return value < r.First; });
  return it != ranges.begin() && c <= (it - 1)->Last;
}

bool IsDelimiterChar(StringView delimiters, Char c) {
  return delimiters.find(c) != StringView::npos;
}

bool IsIdentStart(Char c) {
  return c == u'_' || IsLetterChar(c);
}

bool IsIdentPart(Char c) {
  return c == u'_' || IsLetterChar(c) || IsDigitChar(c);
}

bool IsPlainIdent(StringView s) {
  if (s.empty() || !IsIdentStart(s[0])) return false;
  return std::all_of(s.begin() + 1, s.end(), IsIdentPart);
}

}  // namespace

// --- Case ------------------------------------------------------------------

Char UpCase(Char c) {
  return c >= u'a' && c <= u'z' ? static_cast<Char>(c - 32) : c;
}

String UpperCase(StringView s) {
  String out(s);
  for (Char& c : out) c = UpCase(c);
  return out;
}

String LowerCase(StringView s) {
  String out(s);
  for (Char& c : out) c = AsciiLower(c);
  return out;
}

Char CharToUpper(Char c) {
  return charmap_tables::ToUpper(c);
}

Char CharToLower(Char c) {
  return charmap_tables::ToLower(c);
}

String AnsiUpperCase(StringView s) {
  String out(s.size(), u'\0');
  std::transform(s.begin(), s.end(), out.begin(), charmap_tables::ToUpper);
  return out;
}

String AnsiLowerCase(StringView s) {
  String out(s.size(), u'\0');
  std::transform(s.begin(), s.end(), out.begin(), charmap_tables::ToLower);
  return out;
}

// --- Comparison ------------------------------------------------------------

int CompareStr(StringView s1, StringView s2) {
  const std::size_t n = std::min(s1.size(), s2.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (s1[i] != s2[i]) return static_cast<int>(s1[i]) - static_cast<int>(s2[i]);
  }
  return s1.size() == s2.size() ? 0 : (s1.size() < s2.size() ? -1 : 1);
}

bool SameStr(StringView s1, StringView s2) {
  return s1 == s2;
}

int CompareText(StringView s1, StringView s2) {
  const std::size_t n = std::min(s1.size(), s2.size());
  for (std::size_t i = 0; i < n; ++i) {
    const Char a = UpCase(s1[i]);
    const Char b = UpCase(s2[i]);
    if (a != b) return static_cast<int>(a) - static_cast<int>(b);
  }
  return s1.size() == s2.size() ? 0 : (s1.size() < s2.size() ? -1 : 1);
}

bool SameText(StringView s1, StringView s2) {
  return s1.size() == s2.size() && CompareText(s1, s2) == 0;
}

bool SameText(std::string_view s1, std::string_view s2) {
  if (s1.size() != s2.size()) return false;
  for (std::size_t i = 0; i < s1.size(); ++i) {
    if (UpCase(static_cast<Byte>(s1[i])) != UpCase(static_cast<Byte>(s2[i]))) return false;
  }
  return true;
}

int TInvariantTextCollator::Compare(StringView s1, StringView s2, bool ignoreCase) const {
  const std::size_t n = std::min(s1.size(), s2.size());
  for (std::size_t i = 0; i < n; ++i) {
    const Char a = charmap_tables::ToUpper(s1[i]);
    const Char b = charmap_tables::ToUpper(s2[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  if (s1.size() != s2.size()) return s1.size() < s2.size() ? -1 : 1;
  return ignoreCase ? 0 : Sign(CompareStr(s1, s2));
}

const TTextCollator& CurrentTextCollator() {
  const TTextCollator* collator = replacedCollator.load(std::memory_order_acquire);
  return collator ? *collator : sysstr_platform::PlatformTextCollator();
}

const TTextCollator* SetTextCollator(const TTextCollator* collator) {
  return replacedCollator.exchange(collator, std::memory_order_acq_rel);
}

int AnsiCompareStr(StringView s1, StringView s2) {
  return Sign(CurrentTextCollator().Compare(s1, s2, false));
}

int AnsiCompareText(StringView s1, StringView s2) {
  return Sign(CurrentTextCollator().Compare(s1, s2, true));
}

bool AnsiSameStr(StringView s1, StringView s2) {
  return AnsiCompareStr(s1, s2) == 0;
}

bool AnsiSameText(StringView s1, StringView s2) {
  return AnsiCompareText(s1, s2) == 0;
}

// --- Substrings and search -------------------------------------------------

Integer Pos(StringView subText, StringView s) {
  return PosEx(subText, s, 1);
}

Integer PosEx(StringView subText, StringView s, Integer offset) {
  if (subText.empty() || offset < 1 || static_cast<std::size_t>(offset) > s.size()) return 0;
  const std::size_t found = s.find(subText, static_cast<std::size_t>(offset) - 1);
  return found == StringView::npos ? 0 : static_cast<Integer>(found + 1);
}

String Copy(StringView s, Integer index, Integer count) {
  const Int64 length = static_cast<Int64>(s.size());
  Int64 start = index < 1 ? 0 : static_cast<Int64>(index) - 1;
  if (start > length || count <= 0) return String();
  const Int64 take = std::min<Int64>(count, length - start);
  return String(s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(take)));
}

void Delete(String& s, Integer index, Integer count) {
  if (index < 1 || static_cast<std::size_t>(index) > s.size() || count <= 0) return;
  s.erase(static_cast<std::size_t>(index) - 1, static_cast<std::size_t>(count));
}

void Insert(StringView source, String& s, Integer index) {
  const std::size_t at = index < 1 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(index) - 1, s.size());
  s.insert(at, source);
}

String LeftStr(StringView s, Integer count) {
  return Copy(s, 1, count);
}

String RightStr(StringView s, Integer count) {
  if (count <= 0) return String();
  const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(count), s.size());
  return String(s.substr(s.size() - take));
}

String MidStr(StringView s, Integer start, Integer count) {
  return Copy(s, start, count);
}

bool StartsStr(StringView subText, StringView text) {
  return text.starts_with(subText);
}

bool EndsStr(StringView subText, StringView text) {
  return text.ends_with(subText);
}

bool ContainsStr(StringView text, StringView subText) {
  return text.find(subText) != StringView::npos;
}

bool StartsText(StringView subText, StringView text) {
  return text.size() >= subText.size() && AnsiSameText(text.substr(0, subText.size()), subText);
}

bool EndsText(StringView subText, StringView text) {
  return text.size() >= subText.size() && AnsiSameText(text.substr(text.size() - subText.size()), subText);
}

bool ContainsText(StringView text, StringView subText) {
  return AnsiUpperCase(text).find(AnsiUpperCase(subText)) != String::npos;
}

Integer LastDelimiter(StringView delimiters, StringView s) {
  const std::size_t found = s.find_last_of(delimiters);
  return found == StringView::npos ? 0 : static_cast<Integer>(found + 1);
}

bool IsDelimiter(StringView delimiters, StringView s, Integer index) {
  if (index < 1 || static_cast<std::size_t>(index) > s.size()) return false;
  return IsDelimiterChar(delimiters, s[static_cast<std::size_t>(index) - 1]);
}

// --- Building and changing -------------------------------------------------

String Trim(StringView s) {
  return TrimRight(TrimLeft(s));
}

String TrimLeft(StringView s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] <= u' ') ++i;
  return String(s.substr(i));
}

String TrimRight(StringView s) {
  std::size_t n = s.size();
  while (n > 0 && s[n - 1] <= u' ') --n;
  return String(s.substr(0, n));
}

String StringOfChar(Char c, Integer count) {
  return count <= 0 ? String() : String(static_cast<std::size_t>(count), c);
}

String DupeString(StringView s, Integer count) {
  String out;
  if (count <= 0 || s.empty()) return out;
  out.reserve(s.size() * static_cast<std::size_t>(count));
  for (Integer i = 0; i < count; ++i) out.append(s);
  return out;
}

String StringReplace(StringView s, StringView oldPattern, StringView newPattern, TReplaceFlags flags) {
  if (oldPattern.empty() || s.size() < oldPattern.size()) return String(s);
  // Without regard to case both texts are upper-cased once and searched plainly;
  // the case tables keep lengths, so positions carry over to the original.
  String foldedText;
  String foldedPattern;
  StringView searchText = s;
  StringView searchPattern = oldPattern;
  if (flags & rfIgnoreCase) {
    foldedText = AnsiUpperCase(s);
    foldedPattern = AnsiUpperCase(oldPattern);
    searchText = foldedText;
    searchPattern = foldedPattern;
  }
  String out;
  std::size_t from = 0;
  std::size_t found = searchText.find(searchPattern);
  if (found == StringView::npos) return String(s);
  out.reserve(s.size() + (newPattern.size() > oldPattern.size() ? newPattern.size() - oldPattern.size() : 0));
  while (found != StringView::npos) {
    out.append(s.substr(from, found - from));
    out.append(newPattern);
    from = found + oldPattern.size();
    if (!(flags & rfReplaceAll)) break;
    found = searchText.find(searchPattern, from);
  }
  out.append(s.substr(from));
  return out;
}

String ReplaceStr(StringView text, StringView fromText, StringView toText) {
  return StringReplace(text, fromText, toText, rfReplaceAll);
}

String ReplaceText(StringView text, StringView fromText, StringView toText) {
  return StringReplace(text, fromText, toText, rfReplaceAll | rfIgnoreCase);
}

String AdjustLineBreaks(StringView s, TTextLineBreakStyle style) {
  String out;
  out.reserve(s.size() + s.size() / 16);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const Char c = s[i];
    if (c != u'\r' && c != u'\n') {
      out.push_back(c);
      continue;
    }
    // The other break character right behind belongs to the same break.
    const Char partner = c == u'\r' ? u'\n' : u'\r';
    if (i + 1 < s.size() && s[i + 1] == partner) ++i;
    if (style == tlbsCRLF) out.push_back(u'\r');
    out.push_back(u'\n');
  }
  return out;
}

// --- Quoting ---------------------------------------------------------------

String QuotedStr(StringView s) {
  return AnsiQuotedStr(s, u'\'');
}

String AnsiQuotedStr(StringView s, Char quote) {
  String out;
  out.reserve(s.size() + 2);
  out.push_back(quote);
  for (Char c : s) {
    if (c == quote) out.push_back(quote);
    out.push_back(c);
  }
  out.push_back(quote);
  return out;
}

String AnsiExtractQuotedStr(StringView& src, Char quote) {
  String out;
  if (src.empty() || src[0] != quote) return out;
  std::size_t i = 1;
  while (i < src.size()) {
    if (src[i] == quote) {
      if (i + 1 < src.size() && src[i + 1] == quote) {
        out.push_back(quote);
        i += 2;
        continue;
      }
      ++i;  // the closing quote
      break;
    }
    out.push_back(src[i++]);
  }
  src.remove_prefix(i);
  return out;
}

String AnsiDequotedStr(StringView s, Char quote) {
  StringView rest = s;
  String result = AnsiExtractQuotedStr(rest, quote);
  // A text that is not enclosed in quotes stays as it is; a quoted part with
  // more text behind it gives just the quoted part.
  if ((result.empty() || rest.empty()) && !s.empty() && (s.front() != quote || s.back() != quote)) {
    return String(s);
  }
  return result;
}

// --- Identifiers -----------------------------------------------------------

bool IsLetterChar(Char c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  return InRanges(charmap_tables::LetterRanges(), c);
}

bool IsDigitChar(Char c) {
  if (c < 0x80) return c >= u'0' && c <= u'9';
  return InRanges(charmap_tables::DigitRanges(), c);
}

bool IsValidIdent(StringView ident, bool allowDots) {
  if (!allowDots) return IsPlainIdent(ident);
  if (ident.empty()) return false;
  std::size_t start = 0;
  while (true) {
    const std::size_t dot = ident.find(u'.', start);
    if (!IsPlainIdent(ident.substr(start, dot == StringView::npos ? StringView::npos : dot - start))) return false;
    if (dot == StringView::npos) return true;
    start = dot + 1;
  }
}
