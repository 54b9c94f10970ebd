// Search engines: the editor hands a search engine one line at a time and
// gets back the positions of all matches in it.
#pragma once

#include <vector>

#include "classes/component.h"
#include "classes/reflection.h"
#include "codeedit/types.h"

// A component, so that a form names it and an editor refers to it by name.
class TCodeEditSearchCustom : public TComponent {
  KST_CLASS(TCodeEditSearchCustom, TComponent)
 public:
  explicit TCodeEditSearchCustom(TComponent* owner = nullptr) : TComponent(owner) {}
  virtual String Pattern() const = 0;
  virtual void SetPattern(const String& value) = 0;
  virtual Integer ResultLength(Integer index) const = 0;
  virtual Integer ResultPosition(Integer index) const = 0;
  virtual Integer ResultCount() const = 0;
  virtual void SetOptions(TCodeSearchOptions value) = 0;
  // Finds every match in the text; returns their number.
  virtual Integer FindAll(const String& newText) = 0;
  // The text that replaces an occurrence.
  virtual String Replace(const String& aOccurrence, const String& aReplacement) = 0;
};

// A plain-text engine: every non-overlapping occurrence of the pattern, left
// to right, found with a skip table over all UTF-16 code units; optionally
// ignoring case (by the length-preserving case mapping) and only as a whole
// word.
class TCodeEditSearch : public TCodeEditSearchCustom {
  KST_CLASS(TCodeEditSearch, TCodeEditSearchCustom)
 public:
  explicit TCodeEditSearch(TComponent* owner = nullptr);

  String Pattern() const override { return CasedPat; }
  // Count := 0 in every case.
  void SetPattern(const String& value) override;
  Integer ResultLength(Integer) const override { return PatLen; }
  // 1-based positions; 0 outside the results.
  Integer ResultPosition(Integer index) const override;
  Integer ResultCount() const override { return static_cast<Integer>(fResults.size()); }
  // Reads ssoMatchCase and ssoWholeWord only.
  void SetOptions(TCodeSearchOptions value) override;
  Integer FindAll(const String& newText) override;
  String Replace(const String&, const String& aReplacement) override { return aReplacement; }

  // The first match of the text (1-based), 0 for none; raises "Pattern is
  // empty" when there is no pattern.
  Integer FindFirst(const String& newText);
  // The next match, 0 for none.
  Integer Next();
  // Results after First move back by Delta (text before them was replaced).
  void FixResults(Integer first, Integer delta);

  bool CaseSensitive() const noexcept { return fCaseSensitive; }
  void SetCaseSensitive(bool value);
  bool Whole() const noexcept { return fWhole; }
  void SetWhole(bool value) noexcept { fWhole = value; }
  Integer Count() const noexcept { return fCount; }
  void SetCount(Integer value) noexcept { fCount = value; }
  bool Finished() const noexcept { return Run >= TheEnd || PatLen >= fTextLen; }

 private:
  void InitShiftTable();
  bool IsWholeWordMatch(Integer start) const;
  Char TextAt(Integer index) const {
    return index >= 0 && index < TheEnd ? FTextToSearch[static_cast<size_t>(index)] : Char{0};
  }

  Integer Run = -1;
  Integer Origin = 0;
  Integer TheEnd = 0;
  String Pat;
  String CasedPat;
  Integer fCount = 0;
  Integer fTextLen = 0;
  Integer Look_At = 1;
  Integer PatLen = 0;
  Integer PatLenSucc = 1;
  std::vector<Integer> Shift;
  bool fCaseSensitive = false;
  bool fWhole = false;
  std::vector<Integer> fResults;
  bool fShiftInitialized = false;
  String FTextToSearch;
};

// The delimiters of the whole-word test: codes 0-47, 58-64, 91-94, 96,
// 123-126, 167, 176 and 180.
bool IsSearchDelimiter(Char c);
