// The form-file highlighter over arbitrary lines: tokens always tile the line,
// each takes at least one character, the scan ends exactly one past the line,
// and the range it leaves is one that the next line can start from. The same
// holds with the line's display form, whose token positions must stay inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "codeedit/dfmhighlighter.h"
#include "codeedit/displayform.h"

namespace {

class TTwoCellsAboveAscii : public ICodeEditCellMetrics {
 public:
  Integer GlyphCells(StringView glyph) override { return glyph.size() == 2 || glyph[0] >= 0x1100 ? 2 : 1; }
};

void Require(bool condition) {
  if (!condition) std::abort();
}

void ScanOnce(TCodeDfmHighlighter& highlighter, const String& line, const String* display, TCodeRange range) {
  highlighter.SetRange(range);
  if (display) {
    highlighter.SetLineExpandedAtWideGlyphs(line, *display, 0);
  } else {
    highlighter.SetLine(line, 0);
  }
  const auto length = static_cast<Integer>(line.size());
  Integer expected = 0;
  Integer expandedEnd = 0;
  for (Integer tokens = 0;; ++tokens) {
    Require(tokens <= length + 1);
    Require(highlighter.GetTokenPos() == expected);
    const String token = highlighter.GetToken();
    Require(highlighter.GetTokenKind() >= TCodeDfmHighlighter::tkComment &&
            highlighter.GetTokenKind() <= TCodeDfmHighlighter::tkUnknown);
    if (display) {
      const Integer expandedPos = highlighter.GetExpandedTokenPos();
      Require(expandedPos >= expandedEnd);
      Require(expandedPos <= static_cast<Integer>(display->size()) + 1);
      expandedEnd = expandedPos + static_cast<Integer>(highlighter.GetExpandedToken().size());
    }
    if (highlighter.GetEol()) {
      Require(highlighter.GetTokenKind() == TCodeDfmHighlighter::tkNull);
      Require(expected == length && token.empty());
      break;
    }
    Require(!token.empty());
    expected += static_cast<Integer>(token.size());
    highlighter.Next();
  }
  const TCodeRange after = highlighter.GetRange();
  Require(after == TCodeDfmHighlighter::rsComment || after == TCodeDfmHighlighter::rsUnKnown);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const TCodeRange range = (data[0] & 1) ? TCodeDfmHighlighter::rsComment : TCodeDfmHighlighter::rsUnKnown;
  String line;
  // Printable bytes stand for themselves so the fuzzer finds the syntax; pairs
  // of other bytes make any UTF-16 unit, surrogates included.
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] >= 0x80 && i + 1 < size) {
      line += static_cast<Char>(((data[i] & 0x7F) << 9) | data[i + 1]);
      ++i;
    } else {
      line += static_cast<Char>(data[i]);
    }
  }
  TCodeDfmHighlighter highlighter;
  ScanOnce(highlighter, line, nullptr, range);
  TTwoCellsAboveAscii metrics;
  TCodeGlyphCells cells(&metrics);
  const String display = DisplayForm(line, 4, cells);
  const String scanned = WithoutFillers(display);
  ScanOnce(highlighter, scanned, &display, range);
  return 0;
}
