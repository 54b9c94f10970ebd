#include "codeedit/search.h"

#include <algorithm>

#include "codeedit/textutils.h"
#include "rtl/exceptions.h"

bool IsSearchDelimiter(Char c) {
  return c <= 47 || (c >= 58 && c <= 64) || (c >= 91 && c <= 94) || c == 96 || (c >= 123 && c <= 126) || c == 167 ||
         c == 176 || c == 180;
}

KST_CLASS_IMPL(TCodeEditSearchCustom, "CodeEditSearch")
KST_CLASS_IMPL(TCodeEditSearch, "CodeEditSearch")

void TCodeEditSearchCustom::Describe(TClassBuilder<TCodeEditSearchCustom>&) {}
void TCodeEditSearch::Describe(TClassBuilder<TCodeEditSearch>&) {}

TCodeEditSearch::TCodeEditSearch(TComponent* owner) : TCodeEditSearchCustom(owner), Shift(65536, 0) {}

void TCodeEditSearch::SetOptions(TCodeSearchOptions value) {
  SetCaseSensitive(value.Contains(ssoMatchCase));
  SetWhole(value.Contains(ssoWholeWord));
}

void TCodeEditSearch::SetCaseSensitive(bool value) {
  if (fCaseSensitive == value) return;
  fCaseSensitive = value;
  Pat = fCaseSensitive ? CasedPat : WideLowerCase(CasedPat);
  fShiftInitialized = false;
}

void TCodeEditSearch::SetPattern(const String& value) {
  // Compared with the pattern as set, so that a change of case alone is kept
  // for Pattern even when the searched (lower-cased) form stays the same.
  if (value != CasedPat) {
    CasedPat = value;
    Pat = fCaseSensitive ? value : WideLowerCase(value);
    fShiftInitialized = false;
  }
  fCount = 0;
}

void TCodeEditSearch::InitShiftTable() {
  PatLen = static_cast<Integer>(Pat.size());
  if (PatLen < 1) throw Exception(u"Pattern is empty");
  PatLenSucc = PatLen + 1;
  Look_At = 1;
  std::fill(Shift.begin(), Shift.end(), PatLenSucc);
  for (Integer i = 1; i <= PatLen; ++i) Shift[Pat[static_cast<size_t>(i - 1)]] = PatLenSucc - i;
  const Char last = Pat[static_cast<size_t>(PatLen - 1)];
  while (Look_At < PatLen && last != Pat[static_cast<size_t>(PatLen - 1 - Look_At)]) ++Look_At;
  fShiftInitialized = true;
}

bool TCodeEditSearch::IsWholeWordMatch(Integer start) const {
  const bool startsWord = start == Origin || IsSearchDelimiter(TextAt(start - 1));
  const Integer after = start + PatLen;
  const bool endsWord = after >= TheEnd || IsSearchDelimiter(TextAt(after));
  return startsWord && endsWord;
}

Integer TCodeEditSearch::Next() {
  const Char last = Pat.empty() ? Char{0} : Pat.back();
  Run += PatLen;
  while (Run < TheEnd) {
    if (TextAt(Run) != last) {
      Run += Shift[TextAt(Run + 1)];
      continue;
    }
    const Integer start = Run - PatLen + 1;
    const bool matches =
        StringView(FTextToSearch).substr(static_cast<size_t>(start), static_cast<size_t>(PatLen)) == StringView(Pat);
    if (matches && (!fWhole || IsWholeWordMatch(start))) {
      ++fCount;
      return Run - Origin - PatLen + 2;
    }
    Run += Look_At;
    if (Run >= TheEnd) break;
    Run += Shift[TextAt(Run)] - 1;
  }
  return 0;
}

Integer TCodeEditSearch::FindFirst(const String& newText) {
  if (!fShiftInitialized) InitShiftTable();
  fTextLen = static_cast<Integer>(newText.size());
  if (fTextLen < PatLen) return 0;
  FTextToSearch = fCaseSensitive ? newText : WideLowerCase(newText);
  Origin = 0;
  TheEnd = fTextLen;
  Run = Origin - 1;
  return Next();
}

Integer TCodeEditSearch::FindAll(const String& newText) {
  fResults.clear();
  for (Integer found = FindFirst(newText); found > 0; found = Next()) fResults.push_back(found);
  return ResultCount();
}

Integer TCodeEditSearch::ResultPosition(Integer index) const {
  if (index < 0 || index >= ResultCount()) return 0;
  return fResults[static_cast<size_t>(index)];
}

void TCodeEditSearch::FixResults(Integer first, Integer delta) {
  if (delta == 0 || fResults.empty()) return;
  for (auto i = fResults.size(); i-- > 0;) {
    if (fResults[i] <= first) break;
    fResults[i] -= delta;
  }
}
