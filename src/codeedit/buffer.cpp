#include "codeedit/buffer.h"

#include <algorithm>

#include "rtl/format.h"
#include "rtl/updatescope.h"

namespace {

constexpr Char LineSeparator = u'\u2028';

}  // namespace

TCodeEditStringList::TCodeEditStringList(ICodeEditCellMetrics* cellMetrics) : FGlyphCells(cellMetrics) {
  SetFileFormat(sffDos);
}

TCodeEditStringList::~TCodeEditStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  OnCleared = nullptr;
  OnDeleted = nullptr;
  OnInserted = nullptr;
  OnPutted = nullptr;
  fList.clear();
}

void TCodeEditStringList::ListIndexError(Integer index) {
  throw ECodeEditStringList(Format(u"Invalid stringlist index %d", {index}));
}

void TCodeEditStringList::CheckIndex(Integer index) const {
  if (index < 0 || index >= GetCount()) ListIndexError(index);
}

String TCodeEditStringList::Get(Integer index) const {
  return String(LineText(index));
}

StringView TCodeEditStringList::LineText(Integer index) const {
  if (index < 0 || index >= GetCount()) return {};
  return Record(index).FString;
}

TObject* TCodeEditStringList::GetObject(Integer index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return Record(index).fObject;
}

void TCodeEditStringList::PutObject(Integer index, TObject* object) {
  CheckIndex(index);
  TUpdateScope<TStrings> bracket(*this);
  Record(index).fObject = object;
}

void TCodeEditStringList::Put(Integer index, const String& s) {
  if (index == GetCount()) {
    Add(s);
    return;
  }
  CheckIndex(index);
  TUpdateScope<TStrings> bracket(*this);
  fIndexOfLongestLine = -1;
  TCodeEditStringRec& line = Record(index);
  line.fFlags = {sfExpandedLengthUnknown};
  line.FString = s;
  OnPutted(this, index, 1);
}

void TCodeEditStringList::Grow() {
  if (GetCount() < fCapacity) return;
  fCapacity += fCapacity > 64 ? fCapacity / 4 : 16;
  fList.reserve(static_cast<size_t>(fCapacity));
}

void TCodeEditStringList::InsertRecord(Integer index, String text, TObject* object) {
  Grow();
  TCodeEditStringRec line;
  line.FString = std::move(text);
  line.fObject = object;
  fList.insert(fList.begin() + index, std::move(line));
  fIndexOfLongestLine = -1;
}

Integer TCodeEditStringList::Add(const String& s) {
  TUpdateScope<TStrings> bracket(*this);
  const Integer index = GetCount();
  InsertRecord(index, s, nullptr);
  OnInserted(this, index, 1);
  return index;
}

void TCodeEditStringList::Insert(Integer index, const String& s) {
  if (index < 0 || index > GetCount()) ListIndexError(index);
  TUpdateScope<TStrings> bracket(*this);
  InsertRecord(index, s, nullptr);
  OnInserted(this, index, 1);
}

void TCodeEditStringList::AddStrings(const TStrings& strings) {
  const Integer added = strings.Count();
  if (added == 0) return;
  fIndexOfLongestLine = -1;
  TUpdateScope<TStrings> bracket(*this);
  const Integer first = GetCount();
  const Integer needed = first + added;
  if (fCapacity < needed) SetCapacity((needed + 15) / 16 * 16);
  for (Integer i = 0; i < added; ++i) {
    TCodeEditStringRec line;
    line.FString = strings.Get(i);
    line.fObject = strings.GetObject(i);
    fList.push_back(std::move(line));
  }
  OnInserted(this, first, added);
}

void TCodeEditStringList::Delete(Integer index) {
  CheckIndex(index);
  TUpdateScope<TStrings> bracket(*this);
  fList.erase(fList.begin() + index);
  fIndexOfLongestLine = -1;
  OnDeleted(this, index, 1);
}

void TCodeEditStringList::Exchange(Integer index1, Integer index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  TUpdateScope<TStrings> bracket(*this);
  std::swap(Record(index1), Record(index2));
  if (fIndexOfLongestLine == index1) {
    fIndexOfLongestLine = index2;
  } else if (fIndexOfLongestLine == index2) {
    fIndexOfLongestLine = index1;
  }
}

void TCodeEditStringList::Clear() {
  if (!fList.empty()) {
    TUpdateScope<TStrings> bracket(*this);
    fList.clear();
    fList.shrink_to_fit();
    fCapacity = 0;
    // Handlers of the clear may already ask for the longest line.
    fIndexOfLongestLine = -1;
    OnCleared(this);
  }
  fIndexOfLongestLine = -1;
}

void TCodeEditStringList::SetCapacity(Integer value) {
  if (value < GetCount()) throw EListError(u"Stringlist capacity cannot be smaller than count");
  fCapacity = value;
  if (static_cast<size_t>(value) < fList.capacity()) {
    fList.shrink_to_fit();
  }
  fList.reserve(static_cast<size_t>(value));
}

void TCodeEditStringList::SetUpdateState(bool updating) {
  FCharIndexesAreValid = false;
  if (updating) {
    OnChanging(this);
  } else {
    OnChange(this);
  }
}

String TCodeEditStringList::GetTextStr() const {
  if (!FStreaming) {
    String text;
    size_t size = 0;
    for (const auto& line : fList) size += line.FString.size() + 2;
    text.reserve(size);
    for (size_t i = 0; i < fList.size(); ++i) {
      if (i > 0) text += u"\r\n";
      text += fList[i].FString;
    }
    return text;
  }
  const String& lineBreak = LineBreak();
  String text;
  for (size_t i = 0; i < fList.size(); ++i) {
    if (i > 0) text += lineBreak;
    text += fList[i].FString;
  }
  if (fAppendNewLineAtEOF) text += lineBreak;
  return text;
}

void TCodeEditStringList::SetTextStr(const String& value) {
  bool separatorSeen = false;
  bool crSeen = false;
  bool lfSeen = false;
  {
    TUpdateScope<TStrings> bracket(*this);
    Clear();
    if (!value.empty()) {
      const size_t length = value.size();
      size_t breaks = 0;
      for (Char c : value) breaks += (c == u'\r' || c == u'\n' || c == LineSeparator) ? 1 : 0;
      fCapacity = static_cast<Integer>(breaks + 2);
      fList.reserve(breaks + 2);
      size_t pos = 0;
      while (pos < length) {
        size_t end = pos;
        while (end < length && value[end] != u'\r' && value[end] != u'\n' && value[end] != LineSeparator) ++end;
        TCodeEditStringRec line;
        line.FString.assign(value, pos, end - pos);
        fList.push_back(std::move(line));
        pos = end;
        if (pos < length && value[pos] == LineSeparator) {
          ++pos;
          separatorSeen = true;
        }
        if (pos < length && value[pos] == u'\r') {
          ++pos;
          crSeen = true;
        }
        if (pos < length && value[pos] == u'\n') {
          ++pos;
          lfSeen = true;
        }
      }
      const Char last = value.back();
      if (!fAppendNewLineAtEOF && (last == u'\r' || last == u'\n' || last == LineSeparator)) fList.emplace_back();
      fCapacity = std::max(fCapacity, GetCount());
      if (!fList.empty()) OnInserted(this, 0, GetCount());
    }
  }
  if (separatorSeen) {
    SetFileFormat(sffUnicode);
  } else if (crSeen && !lfSeen) {
    SetFileFormat(sffMac);
  } else if (lfSeen && !crSeen) {
    SetFileFormat(sffUnix);
  } else {
    SetFileFormat(sffDos);
  }
}

namespace {

// Sets a flag for its lifetime, however the operation ends.
class TFlagGuard {
 public:
  explicit TFlagGuard(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TFlagGuard() { FFlag = false; }
  TFlagGuard(const TFlagGuard&) = delete;
  TFlagGuard& operator=(const TFlagGuard&) = delete;

 private:
  bool& FFlag;
};

}  // namespace

void TCodeEditStringList::LoadFromStream(TStream& stream, TEncoding* encoding) {
  TFlagGuard streaming(FStreaming);
  TStrings::LoadFromStream(stream, encoding);
}

void TCodeEditStringList::SaveToStream(TStream& stream, TEncoding* encoding) const {
  TFlagGuard streaming(FStreaming);
  TStrings::SaveToStream(stream, encoding);
}

void TCodeEditStringList::InsertLines(Integer index, Integer numLines) {
  if (index < 0 || index > GetCount()) ListIndexError(index);
  if (numLines <= 0) return;
  TUpdateScope<TStrings> bracket(*this);
  const Integer needed = GetCount() + numLines;
  if (fCapacity < needed) SetCapacity(needed);
  fList.insert(fList.begin() + index, static_cast<size_t>(numLines), TCodeEditStringRec{});
  fIndexOfLongestLine = -1;
  OnInserted(this, index, numLines);
}

void TCodeEditStringList::InsertStrings(Integer index, const TStrings& newStrings) {
  const Integer count = newStrings.Count();
  if (count == 0) return;
  TUpdateScope<TStrings> bracket(*this);
  InsertLines(index, count);
  for (Integer i = 0; i < count; ++i) Put(index + i, newStrings.Get(i));
}

void TCodeEditStringList::InsertText(Integer index, const String& newText) {
  if (newText.empty()) return;
  TStringList lines;
  lines.SetText(newText);
  InsertStrings(index, lines);
}

void TCodeEditStringList::DeleteLines(Integer index, Integer numLines) {
  if (numLines <= 0) return;
  CheckIndex(index);
  numLines = std::min(numLines, GetCount() - index);
  const auto first = fList.begin() + index;
  if (index + numLines < GetCount()) {
    TUpdateScope<TStrings> bracket(*this);
    fList.erase(first, first + numLines);
  } else {
    fList.erase(first, first + numLines);
  }
  fIndexOfLongestLine = -1;
  OnDeleted(this, index, numLines);
}

Integer TCodeEditStringList::LineCharLength(Integer index) const {
  return static_cast<Integer>(LineText(index).size());
}

Integer TCodeEditStringList::LineCharIndex(Integer index) {
  if (index < 0 || index >= GetCount()) return 0;
  if (!FCharIndexesAreValid) RebuildCharIndexes();
  return Record(index).fCharIndex;
}

void TCodeEditStringList::RebuildCharIndexes() {
  Integer total = 0;
  for (auto& line : fList) {
    line.fCharIndex = total;
    total += static_cast<Integer>(line.FString.size());
  }
  FCharIndexesAreValid = true;
}

String TCodeEditStringList::GetSeparatedText(StringView separators) {
  if (fList.empty()) return {};
  const Integer last = GetCount() - 1;
  const size_t size = static_cast<size_t>(LineCharIndex(last)) + fList.back().FString.size() +
                      separators.size() * static_cast<size_t>(last);
  String text;
  text.reserve(size);
  for (size_t i = 0; i < fList.size(); ++i) {
    if (i > 0) text.append(separators);
    text += fList[i].FString;
  }
  return text;
}

void TCodeEditStringList::MeasureLine(TCodeEditStringRec& line) {
  bool hasTabs = false;
  line.fExpandedLength = DisplayWidth(line.FString, fTabWidth, FGlyphCells, &hasTabs);
  line.fFlags = {hasTabs ? sfHasTabs : sfHasNoTabs};
}

String TCodeEditStringList::ExpandLine(Integer index) {
  TCodeEditStringRec& line = Record(index);
  if (line.FString.empty()) {
    line.fFlags = {sfHasNoTabs};
    line.fExpandedLength = 0;
    return {};
  }
  bool hasTabs = false;
  String form = DisplayForm(line.FString, fTabWidth, FGlyphCells, &hasTabs);
  line.fExpandedLength = static_cast<Integer>(form.size());
  line.fFlags = {hasTabs ? sfHasTabs : sfHasNoTabs};
  return form;
}

String TCodeEditStringList::ExpandedText(Integer index) {
  if (index < 0 || index >= GetCount()) return {};
  const TCodeEditStringRec& line = Record(index);
  // A line without tabs whose width equals its length has no fillers either.
  if (line.fFlags == TCodeEditStringFlags{sfHasNoTabs} &&
      line.fExpandedLength == static_cast<Integer>(line.FString.size()))
    return line.FString;
  return ExpandLine(index);
}

Integer TCodeEditStringList::ExpandedTextLength(Integer index) {
  if (index < 0 || index >= GetCount()) return 0;
  TCodeEditStringRec& line = Record(index);
  if (line.fFlags.Contains(sfExpandedLengthUnknown)) MeasureLine(line);
  return line.fExpandedLength;
}

Integer TCodeEditStringList::LengthOfLongestLine() {
  if (fIndexOfLongestLine >= GetCount()) fIndexOfLongestLine = -1;
  if (fIndexOfLongestLine < 0) {
    Integer longest = 0;
    for (Integer i = 0; i < GetCount(); ++i) {
      TCodeEditStringRec& line = Record(i);
      if (line.fFlags.Contains(sfExpandedLengthUnknown)) MeasureLine(line);
      if (line.fExpandedLength > longest) {
        longest = line.fExpandedLength;
        fIndexOfLongestLine = i;
      }
    }
  }
  return fIndexOfLongestLine >= 0 ? Record(fIndexOfLongestLine).fExpandedLength : 0;
}

TCodeRange TCodeEditStringList::LineRange(Integer index) const {
  if (index < 0 || index >= GetCount()) return 0;
  return Record(index).fRange;
}

void TCodeEditStringList::SetLineRange(Integer index, TCodeRange range) {
  CheckIndex(index);
  TUpdateScope<TStrings> bracket(*this);
  Record(index).fRange = range;
}

TCodeEditStringFlags TCodeEditStringList::LineFlags(Integer index) const {
  if (index < 0 || index >= GetCount()) return {};
  return Record(index).fFlags;
}

void TCodeEditStringList::Assign(const TStrings& source) {
  const TCodeEditFileFormat kept = fFileFormat;
  TStrings::Assign(source);
  const String& taken = LineBreak();
  if (taken == u"\r\n")
    SetFileFormat(sffDos);
  else if (taken == u"\n")
    SetFileFormat(sffUnix);
  else if (taken == u"\r")
    SetFileFormat(sffMac);
  else if (taken == String(1, LineSeparator))
    SetFileFormat(sffUnicode);
  else
    SetFileFormat(kept);
}

void TCodeEditStringList::SetFileFormat(TCodeEditFileFormat value) {
  fFileFormat = value;
  switch (value) {
    case sffDos: SetLineBreak(u"\r\n"); break;
    case sffUnix: SetLineBreak(u"\n"); break;
    case sffMac: SetLineBreak(u"\r"); break;
    case sffUnicode: SetLineBreak(String(1, LineSeparator)); break;
  }
}

void TCodeEditStringList::InvalidateAllWidths() {
  fIndexOfLongestLine = -1;
  for (auto& line : fList) {
    line.fFlags.Exclude(sfHasNoTabs);
    line.fFlags.Include(sfExpandedLengthUnknown);
    line.fExpandedLength = -1;
  }
}

void TCodeEditStringList::SetTabWidth(Integer value) {
  if (value == fTabWidth) return;
  fTabWidth = value;
  InvalidateAllWidths();
}

void TCodeEditStringList::FontChanged() {
  FGlyphCells.FontChanged();
  InvalidateAllWidths();
}

void TCodeEditStringList::SetCellMetrics(ICodeEditCellMetrics* cellMetrics) {
  FGlyphCells.SetMetrics(cellMetrics);
  InvalidateAllWidths();
}
