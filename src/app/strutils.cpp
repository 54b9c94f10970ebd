#include "app/strutils.h"

#include <algorithm>

#include "rtl/sysstr.h"

Integer FindStringInList(const TStrings& list, StringView text, Integer start) {
  Integer count = list.GetCount();
  if (count == 0 || start >= count || text.empty()) return -1;
  String wanted = AnsiUpperCase(text);
  for (Integer i = std::max<Integer>(start, 0); i < count; ++i)
    if (AnsiUpperCase(list.Get(i)).find(wanted) != String::npos) return i;
  return -1;
}

String Dequote(StringView text, Char quote) {
  if (text.size() > 1 && text.front() == quote && text.back() == quote) return String(text.substr(1, text.size() - 2));
  return String(text);
}

String NamePart(StringView text, StringView separator) {
  size_t at = separator.empty() ? StringView::npos : text.find(separator);
  if (at == StringView::npos) return String(text);
  return Trim(text.substr(0, at));
}

Integer IndexOfNamePart(const TStrings& list, StringView name, StringView separator) {
  for (Integer i = 0; i < list.GetCount(); ++i)
    if (AnsiSameText(NamePart(list.Get(i), separator), name)) return i;
  return -1;
}

String ValuePart(StringView text, StringView separator) {
  size_t at = separator.empty() ? StringView::npos : text.find(separator);
  if (at == StringView::npos) return {};
  return String(text.substr(at + separator.size(), 1024));
}

namespace {

bool IsWordChar(Char c) { return IsLetterChar(c) || IsDigitChar(c); }

}  // namespace

Integer FindText(StringView what, StringView text, bool matchCase, bool wholeWord) {
  if (what.empty() || what.size() > text.size()) return 0;
  String needle = matchCase ? String(what) : AnsiUpperCase(what);
  String haystack = matchCase ? String(text) : AnsiUpperCase(text);
  for (size_t at = haystack.find(needle); at != String::npos; at = haystack.find(needle, at + 1)) {
    if (wholeWord) {
      bool startsWord = at == 0 || !IsWordChar(haystack[at - 1]);
      size_t end = at + needle.size();
      bool endsWord = end >= haystack.size() || !IsWordChar(haystack[end]);
      if (!startsWord || !endsWord) continue;
    }
    return static_cast<Integer>(at + 1);
  }
  return 0;
}

String CollapseSpaces(StringView text) {
  String result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] != u' ' || i == 0 || text[i - 1] != u' ') result += text[i];
  return result;
}

String MessageBoxText(StringView text) {
  constexpr size_t kLongestRun = 64;
  constexpr size_t kKeptOfRun = 48;
  constexpr size_t kLongestLine = 160;
  String result;
  result.reserve(std::min<size_t>(text.size(), 4096));
  size_t runStart = 0;   // where the current run without blanks began in `result`
  size_t lineStart = 0;  // where the current line began in `result`
  // A cut run resumes at the next blank, so the words after a long name are
  // still read; a cut line resumes only at the next line.
  enum class TCut { None, Run, Line } cut = TCut::None;
  for (Char c : text) {
    const bool lineBreak = c == u'\r' || c == u'\n';
    if (lineBreak) {
      result.push_back(c);
      runStart = lineStart = result.size();
      cut = TCut::None;
      continue;
    }
    if (cut == TCut::Line || (cut == TCut::Run && c != u' ')) continue;
    cut = TCut::None;
    if (c < u' ' || c == u'\uFFFD' || c == u'\x7F') c = u'?';
    result.push_back(c);
    if (c == u' ') runStart = result.size();
    if (result.size() - lineStart > kLongestLine) {
      result.resize(lineStart + kLongestLine - 3);
      result += u"...";
      cut = TCut::Line;
    } else if (result.size() - runStart > kLongestRun) {
      result.resize(runStart + kKeptOfRun);
      result += u"...";
      cut = TCut::Run;
    }
  }
  return result;
}
