// A cell-metrics fake for the editor's tests: East Asian wide characters and
// the pictographs of the supplementary planes take two cells, everything else
// one, unless a test sets a width for a character; every question is counted.
#pragma once

#include <map>

#include "codeedit/displayform.h"

class TFakeCellMetrics : public ICodeEditCellMetrics {
 public:
  Integer GlyphCells(StringView glyph) override;

  void SetCells(char32_t codePoint, Integer cells) { FOverrides[codePoint] = cells; }
  Integer Questions() const noexcept { return FQuestions; }

 private:
  std::map<char32_t, Integer> FOverrides;
  Integer FQuestions = 0;
};
