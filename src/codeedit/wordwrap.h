// Word wrap: each line of the buffer is shown as one or more rows that fit
// the window's width, breaking at word-break characters where possible. The
// plugin converts between positions in a line's display form (character
// cells, see codeedit/displayform.h) and rows.
#pragma once

#include <vector>

#include "codeedit/buffer.h"
#include "codeedit/types.h"

// What the editor tells a buffer plugin and asks of it.
class ICodeEditBufferPlugin {
 public:
  virtual ~ICodeEditBufferPlugin() = default;
  virtual TDisplayCoord BufferToDisplayPos(const TBufferCoord& aPos) = 0;
  virtual TBufferCoord DisplayToBufferPos(const TDisplayCoord& aPos) = 0;
  virtual Integer RowCount() const = 0;
  virtual Integer GetRowLength(Integer aRow) const = 0;
  // Each returns the number of rows added, removed or changed.
  virtual Integer LinesInserted(Integer aIndex, Integer aCount) = 0;
  virtual Integer LinesDeleted(Integer aIndex, Integer aCount) = 0;
  virtual Integer LinesPutted(Integer aIndex, Integer aCount) = 0;
  virtual void DisplayChanged() = 0;
  virtual void Reset() = 0;
};

// The editor as the word-wrap plugin sees it.
class ICodeWordWrapHost {
 public:
  virtual ~ICodeWordWrapHost() = default;
  virtual TCodeEditStringList& WrapLines() = 0;
  // Whole character cells across the text area.
  virtual Integer CharsInWindow() const = 0;
  virtual bool IsWordBreakChar(Char c) const = 0;
};

class TCodeWordWrapPlugin : public ICodeEditBufferPlugin {
 public:
  // Without an editor: "Owner of TCodeWordWrapPlugin must be a TCustomCodeEdit".
  explicit TCodeWordWrapPlugin(ICodeWordWrapHost* aOwner);

  // Positions: Char and Column count cells of the line's display form; Line
  // and Row are 1-based.
  TDisplayCoord BufferToDisplayPos(const TBufferCoord& aPos) override;
  TBufferCoord DisplayToBufferPos(const TDisplayCoord& aPos) override;
  Integer RowCount() const override;
  // A row outside 1..RowCount: "List index out of bounds (%d)".
  Integer GetRowLength(Integer aRow) const override;
  Integer LinesInserted(Integer aIndex, Integer aCount) override;
  Integer LinesDeleted(Integer aIndex, Integer aCount) override;
  Integer LinesPutted(Integer aIndex, Integer aCount) override;
  void DisplayChanged() override;
  void Reset() override;

  Integer LineCount() const noexcept { return fLineCount; }
  Integer MaxRowLength() const noexcept { return fMaxRowLength; }
  Integer MinRowLength() const noexcept { return fMinRowLength; }

 private:
  // The rows of one line's display form.
  std::vector<Word> RowsOf(StringView display) const;
  // Wraps line aIndex again; returns the change in its rows.
  Integer WrapLine(Integer aIndex);
  void WrapAllLines();
  Integer RowsBefore(Integer aIndex) const { return aIndex > 0 ? fLineOffsets[static_cast<size_t>(aIndex - 1)] : 0; }

  std::vector<Integer> fLineOffsets;
  std::vector<Word> fRowLengths;
  Integer fLineCount = 0;
  ICodeWordWrapHost* fEditor;
  Word fMinRowLength = 0;
  Word fMaxRowLength = 0;
};
