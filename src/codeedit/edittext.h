// Every change of the editor's text: reading the selected text, replacing
// the selection in one of the three selection modes, writing a line, block
// indent and unindent, and taking changes back and forth through the undo and
// redo lists.
#pragma once

#include "codeedit/types.h"
#include "codeedit/undo.h"

class TCodeEditCore;

class TCodeEditText {
 public:
  explicit TCodeEditText(TCodeEditCore& core) : E(core) {}

  String SelText() const;
  // The selected text as undo records it: what deleting the selection
  // takes, so that putting it back restores the text exactly (a column row
  // that ends early is not padded; a column block is cut by character
  // positions, as its deletion is).
  String UndoText() const { return SelectedText(false); }
  // Replaces the selection, recording the change.
  void SetSelText(const String& value);
  void ClearSelection();
  // Deletes the selection in the active mode and inserts the text in `mode`;
  // records only the lines a column insertion appends and its segments.
  void ReplaceSelectionTextEx(TCodeSelectionMode mode, const String& value, bool addToUndoList);
  void ReplaceSelectionText(const String& value);
  void InsertBlock(const TBufferCoord& begin, const TBufferCoord& end, const String& value, bool addToUndoList);
  // Writes line `index` (0-based); trailing blanks go with eoTrimTrailingSpaces.
  void StoreLine(Integer index, const String& value);

  void Undo();
  void Redo();
  void DoBlockIndent();
  void DoBlockUnindent();

  // Blanks for an indentation of `width` cells: tabs then spaces, or spaces
  // alone with eoTabsToSpaces or when narrower than one tab.
  String IndentText(Integer width) const;
  // Fills the caret line with blanks up to `upTo` characters (an empty line
  // by IndentText when `useIndentText`), recorded as crWhiteSpaceAdd;
  // returns the number of characters added.
  Integer PadToCaret(bool useIndentText, Integer upTo);

  void LinesInsertedNotify(Integer firstLine, Integer count);
  void LinesDeletedNotify(Integer firstLine, Integer count);

  // Copy, cut and paste through the window's clipboard.
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();

 private:
  // Column mode orders the two ends' columns.
  String SelectedText(bool padColumns) const;
  void DeleteSelection(TBufferCoord& begin, TBufferCoord& end);
  Integer InsertNormal(const String& value);
  Integer InsertColumn(const String& value, bool addToUndoList);
  Integer InsertLineMode(const String& value);
  // One undo (or redo) step: the newest item of `from` and the items that
  // belong with it, their counterparts going to `to`.
  void RunStep(TCodeEditUndoList& from, TCodeEditUndoList& to, bool redoing);
  // A group break newest on `from` goes over to `to`.
  void MoveGroupBreak(TCodeEditUndoList& from, TCodeEditUndoList& to);
  void UndoOneItem();
  void RedoOneItem();
  void SelectRange(const TBufferCoord& begin, const TBufferCoord& end, const TBufferCoord& caret);

  TCodeEditCore& E;
};
