#include "support/cellmetrics_fake.h"

namespace {

char32_t CodePointOf(StringView glyph) {
  if (glyph.size() == 2) return 0x10000 + ((static_cast<char32_t>(glyph[0]) - 0xD800) << 10) + (glyph[1] - 0xDC00);
  return glyph.empty() ? 0 : glyph[0];
}

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) ||
         (c >= 0x1F300 && c <= 0x1FAFF) || (c >= 0x20000 && c <= 0x3FFFD);
}

}  // namespace

Integer TFakeCellMetrics::GlyphCells(StringView glyph) {
  ++FQuestions;
  const char32_t c = CodePointOf(glyph);
  if (auto found = FOverrides.find(c); found != FOverrides.end()) return found->second;
  return IsWide(c) ? 2 : 1;
}
