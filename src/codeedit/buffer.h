// The editor's line buffer: the lines of one editor control with, per line,
// an attached object, the highlighter range at the line's end and the cached
// width of its display form (codeedit/displayform.h). It is the editor's
// Lines object; the editor and the word-wrap plugin listen to its events.
#pragma once

#include <vector>

#include "codeedit/displayform.h"
#include "codeedit/types.h"
#include "rtl/events.h"
#include "rtl/exceptions.h"
#include "rtl/stringlist.h"

KST_DECLARE_EXCEPTION(ECodeEditStringList, EStringListError);

enum TCodeEditFileFormat { sffDos, sffUnix, sffMac, sffUnicode };

enum TCodeEditStringFlag { sfHasTabs, sfHasNoTabs, sfExpandedLengthUnknown };
using TCodeEditStringFlags = TSet<TCodeEditStringFlag>;

// Sender, first index, number of lines.
using TStringListChangeEvent = TDelegate<void(TObject* Sender, Integer Index, Integer Count)>;

// The range of a line that has not been scanned yet.
inline constexpr TCodeRange CodeRangeNotScanned = -1;

struct TCodeEditStringRec {
  String FString;
  TObject* fObject = nullptr;
  TCodeRange fRange = CodeRangeNotScanned;
  Integer fExpandedLength = -1;
  Integer fCharIndex = 0;
  TCodeEditStringFlags fFlags{sfExpandedLengthUnknown};
};

class TCodeEditStringList : public TStrings {
 public:
  // The metrics say how wide glyphs are (nil: every glyph one cell); they
  // must outlive the list or be replaced by SetCellMetrics.
  explicit TCodeEditStringList(ICodeEditCellMetrics* cellMetrics = nullptr);
  ~TCodeEditStringList() override;

  // ---- The string-list operations (indexes 0-based) ----
  String Get(Integer index) const override;
  Integer GetCount() const override { return static_cast<Integer>(fList.size()); }
  Integer GetCapacity() const override { return fCapacity; }
  TObject* GetObject(Integer index) const override;
  void PutObject(Integer index, TObject* object) override;
  void Put(Integer index, const String& s) override;
  Integer Add(const String& s) override;
  void Insert(Integer index, const String& s) override;
  void AddStrings(const TStrings& strings) override;
  void Delete(Integer index) override;
  void Exchange(Integer index1, Integer index2) override;
  void Clear() override;
  void SetCapacity(Integer value) override;
  void SetUpdateState(bool updating) override;
  String GetTextStr() const override;
  void SetTextStr(const String& value) override;
  void LoadFromStream(TStream& stream, TEncoding* encoding = nullptr) override;
  void SaveToStream(TStream& stream, TEncoding* encoding = nullptr) const override;
  // Takes the source's line break with its lines: FileFormat follows it, or,
  // for a break that is none of the four formats, the list keeps its own.
  void Assign(const TStrings& source) override;
  using TStrings::AddStrings;

  // ---- Line operations ----
  void InsertLines(Integer index, Integer numLines);
  void InsertStrings(Integer index, const TStrings& newStrings);
  void InsertText(Integer index, const String& newText);
  void DeleteLines(Integer index, Integer numLines);
  // The line's text without copying it; empty outside the range.
  StringView LineText(Integer index) const;
  Integer LineCharLength(Integer index) const;
  // Characters in all lines before this one (line breaks not counted).
  Integer LineCharIndex(Integer index);
  String GetSeparatedText(StringView separators);

  // The line's display form; empty outside the range.
  String ExpandedText(Integer index);
  // Its length: the line's width in cells; 0 outside the range.
  Integer ExpandedTextLength(Integer index);
  Integer LengthOfLongestLine();
  TCodeRange LineRange(Integer index) const;
  void SetLineRange(Integer index, TCodeRange range);
  TCodeEditStringFlags LineFlags(Integer index) const;

  TCodeEditFileFormat FileFormat() const noexcept { return fFileFormat; }
  void SetFileFormat(TCodeEditFileFormat value);
  bool AppendNewLineAtEOF() const noexcept { return fAppendNewLineAtEOF; }
  void SetAppendNewLineAtEOF(bool value) noexcept { fAppendNewLineAtEOF = value; }
  Integer TabWidth() const noexcept { return fTabWidth; }
  void SetTabWidth(Integer value);
  // Glyph widths may have changed: every line's width is stale.
  void FontChanged();
  void SetCellMetrics(ICodeEditCellMetrics* cellMetrics);
  // The widths of glyphs, for coordinates that must agree with the display form.
  TCodeGlyphCells& GlyphCells() noexcept { return FGlyphCells; }

  // ---- Events ----
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;
  TNotifyEvent OnCleared;
  TStringListChangeEvent OnDeleted;
  TStringListChangeEvent OnInserted;
  TStringListChangeEvent OnPutted;

 private:
  TCodeEditStringRec& Record(Integer index) { return fList[static_cast<size_t>(index)]; }
  const TCodeEditStringRec& Record(Integer index) const { return fList[static_cast<size_t>(index)]; }
  [[noreturn]] static void ListIndexError(Integer index);
  void CheckIndex(Integer index) const;
  void Grow();
  void InsertRecord(Integer index, String text, TObject* object);
  String ExpandLine(Integer index);
  void MeasureLine(TCodeEditStringRec& line);
  void RebuildCharIndexes();
  void InvalidateAllWidths();

  std::vector<TCodeEditStringRec> fList;
  Integer fCapacity = 0;
  TCodeEditFileFormat fFileFormat = sffDos;
  bool fAppendNewLineAtEOF = false;
  Integer fIndexOfLongestLine = -1;
  Integer fTabWidth = 8;
  TCodeGlyphCells FGlyphCells;
  bool FCharIndexesAreValid = false;
  mutable bool FStreaming = false;
};
