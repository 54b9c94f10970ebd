#include "codeedit/wordwrap.h"

#include <algorithm>

#include "codeedit/textutils.h"
#include "rtl/exceptions.h"
#include "rtl/format.h"
#include "rtl/stringlist.h"

TCodeWordWrapPlugin::TCodeWordWrapPlugin(ICodeWordWrapHost* aOwner) : fEditor(aOwner) {
  if (!aOwner) throw Exception(u"Owner of TCodeWordWrapPlugin must be a TCustomCodeEdit");
  Reset();
}

void TCodeWordWrapPlugin::Reset() {
  const Integer chars = std::clamp(fEditor->CharsInWindow(), 0, 65535);
  fMaxRowLength = static_cast<Word>(chars);
  const Integer minimum = chars - chars / 3;
  fMinRowLength = static_cast<Word>(minimum == 0 ? 1 : minimum);
  WrapAllLines();
}

void TCodeWordWrapPlugin::DisplayChanged() {
  if (fEditor->CharsInWindow() != fMaxRowLength) Reset();
}

Integer TCodeWordWrapPlugin::RowCount() const {
  return fLineCount > 0 ? fLineOffsets[fLineCount - 1] : 0;
}

Integer TCodeWordWrapPlugin::GetRowLength(Integer aRow) const {
  if (aRow < 1 || aRow > RowCount()) throw EListError(Format(kListIndexError, {aRow}));
  return fRowLengths[static_cast<size_t>(aRow - 1)];
}

std::vector<Word> TCodeWordWrapPlugin::RowsOf(StringView display) const {
  std::vector<Word> rows;
  const auto n = static_cast<Integer>(display.size());
  const auto at = [&](Integer i) { return display[static_cast<size_t>(i)]; };
  Integer start = 0;
  while (start + fMaxRowLength < n) {
    Integer end = start + fMaxRowLength;
    for (Integer p = end; p > start + fMinRowLength; --p) {
      if (fEditor->IsWordBreakChar(at(p))) {
        end = p;
        break;
      }
    }
    // A wide glyph (its fillers and its code units) never starts on one row
    // and ends on the next.
    if (IsLowSurrogate(at(end))) --end;
    while (end > start && at(end - 1) == WideGlyphFiller) --end;
    if (end == start) {
      // A glyph wider than the whole row: it takes a row of its own.
      end = start + std::max<Integer>(fMaxRowLength, 1);
      while (end < n && (at(end - 1) == WideGlyphFiller || IsLowSurrogate(at(end)))) ++end;
    }
    rows.push_back(static_cast<Word>(end - start));
    start = end;
  }
  rows.push_back(static_cast<Word>(n - start));
  return rows;
}

Integer TCodeWordWrapPlugin::WrapLine(Integer aIndex) {
  const std::vector<Word> rows = RowsOf(fEditor->WrapLines().ExpandedText(aIndex));
  const Integer first = RowsBefore(aIndex);
  const Integer oldCount = fLineOffsets[static_cast<size_t>(aIndex)] - first;
  const auto newCount = static_cast<Integer>(rows.size());
  const auto position = fRowLengths.begin() + first;
  if (newCount > oldCount) {
    fRowLengths.insert(position + oldCount, static_cast<size_t>(newCount - oldCount), Word{0});
  } else if (newCount < oldCount) {
    fRowLengths.erase(position + newCount, position + oldCount);
  }
  std::copy(rows.begin(), rows.end(), fRowLengths.begin() + first);
  const Integer delta = newCount - oldCount;
  if (delta != 0)
    for (Integer i = aIndex; i < fLineCount; ++i) fLineOffsets[static_cast<size_t>(i)] += delta;
  return delta;
}

void TCodeWordWrapPlugin::WrapAllLines() {
  TCodeEditStringList& lines = fEditor->WrapLines();
  fLineOffsets.clear();
  fRowLengths.clear();
  fLineCount = 0;
  if (lines.Count() == 0 || fMaxRowLength == 0) {
    fLineOffsets.shrink_to_fit();
    fRowLengths.shrink_to_fit();
    return;
  }
  fLineOffsets.reserve(static_cast<size_t>(lines.Count()));
  for (Integer i = 0; i < lines.Count(); ++i) {
    const std::vector<Word> rows = RowsOf(lines.ExpandedText(i));
    fRowLengths.insert(fRowLengths.end(), rows.begin(), rows.end());
    fLineOffsets.push_back(static_cast<Integer>(fRowLengths.size()));
  }
  fLineCount = lines.Count();
}

Integer TCodeWordWrapPlugin::LinesInserted(Integer aIndex, Integer aCount) {
  if (fMaxRowLength == 0 || aCount <= 0) return 0;
  const Integer before = RowsBefore(aIndex);
  fLineOffsets.insert(fLineOffsets.begin() + aIndex, static_cast<size_t>(aCount), before);
  fLineCount += aCount;
  Integer added = 0;
  for (Integer i = aIndex; i < aIndex + aCount; ++i) added += WrapLine(i);
  return added;
}

Integer TCodeWordWrapPlugin::LinesDeleted(Integer aIndex, Integer aCount) {
  if (fMaxRowLength == 0 || aCount <= 0) return 0;
  aCount = std::min(aCount, fLineCount - aIndex);
  const Integer firstRow = RowsBefore(aIndex);
  const Integer removed = fLineOffsets[static_cast<size_t>(aIndex + aCount - 1)] - firstRow;
  fRowLengths.erase(fRowLengths.begin() + firstRow, fRowLengths.begin() + firstRow + removed);
  fLineOffsets.erase(fLineOffsets.begin() + aIndex, fLineOffsets.begin() + aIndex + aCount);
  fLineCount -= aCount;
  for (Integer i = aIndex; i < fLineCount; ++i) fLineOffsets[static_cast<size_t>(i)] -= removed;
  return removed;
}

Integer TCodeWordWrapPlugin::LinesPutted(Integer aIndex, Integer aCount) {
  if (fMaxRowLength == 0) return 0;
  Integer changed = 0;
  for (Integer i = aIndex; i < aIndex + aCount && i < fLineCount; ++i) changed += WrapLine(i);
  return changed;
}

TDisplayCoord TCodeWordWrapPlugin::BufferToDisplayPos(const TBufferCoord& aPos) {
  if (aPos.Line > fLineCount) return {aPos.Char, RowCount() + aPos.Line - fLineCount};
  const Integer firstRow = RowsBefore(aPos.Line - 1);
  const Integer lastRow = fLineOffsets[static_cast<size_t>(aPos.Line - 1)] - 1;
  Integer sum = 0;
  for (Integer row = firstRow; row <= lastRow; ++row) {
    sum += fRowLengths[static_cast<size_t>(row)];
    if (sum >= aPos.Char) return {fRowLengths[static_cast<size_t>(row)] + aPos.Char - sum, row + 1};
  }
  return {fRowLengths[static_cast<size_t>(lastRow)] + aPos.Char - sum, lastRow + 1};
}

TBufferCoord TCodeWordWrapPlugin::DisplayToBufferPos(const TDisplayCoord& aPos) {
  const Integer rows = RowCount();
  if (aPos.Row > rows) return {aPos.Column, aPos.Row + fLineCount - rows};
  // The line whose rows include the row: the first whose row total reaches it.
  const auto found = std::lower_bound(fLineOffsets.begin(), fLineOffsets.begin() + fLineCount, aPos.Row);
  const auto line = static_cast<Integer>(found - fLineOffsets.begin());
  const Integer firstRow = RowsBefore(line);  // 0-based row index of the line's first row
  const Integer row = aPos.Row - 1;
  const bool lastRowOfLine = row == fLineOffsets[static_cast<size_t>(line)] - 1;
  const Integer limit = lastRowOfLine ? fMaxRowLength + 1 : fRowLengths[static_cast<size_t>(row)] + 1;
  Integer aChar = std::min(aPos.Column, limit);
  for (Integer r = firstRow; r < row; ++r) aChar += fRowLengths[static_cast<size_t>(r)];
  return {aChar, line + 1};
}
