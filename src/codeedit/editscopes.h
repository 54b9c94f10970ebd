// Brackets the editor's parts hold for a scope: an undo block, a forced
// option, a value set and put back. Each undoes itself however the scope ends.
#pragma once

#include "codeedit/editcore.h"
#include "codeedit/undo.h"

class TUndoBlock {
 public:
  explicit TUndoBlock(TCodeEditUndoList& list) : FList(list) { FList.BeginBlock(); }
  ~TUndoBlock() noexcept(false) { FList.EndBlock(); }
  TUndoBlock(const TUndoBlock&) = delete;
  TUndoBlock& operator=(const TUndoBlock&) = delete;

 private:
  TCodeEditUndoList& FList;
};

template <typename T>
class TScopedValue {
 public:
  TScopedValue(T& field, T value) : FField(field), FSaved(field) { FField = value; }
  ~TScopedValue() { FField = FSaved; }
  TScopedValue(const TScopedValue&) = delete;
  TScopedValue& operator=(const TScopedValue&) = delete;

 private:
  T& FField;
  T FSaved;
};

// The option set for the scope, the other options as they were.
class TForcedOption : public TScopedValue<TCodeEditorOptions> {
 public:
  TForcedOption(TCodeEditorOptions& options, TCodeEditorOption option)
      : TScopedValue(options, options + TCodeEditorOptions{option}) {}
};
