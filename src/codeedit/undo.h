// The editor's undo and redo lists: every change of the text is recorded as an
// item; the items of one user action share a change number, so that one undo
// step takes back the whole action. The list also remembers which state counts
// as not modified (the clean point).
#pragma once

#include <memory>
#include <vector>

#include "codeedit/types.h"
#include "rtl/events.h"
#include "rtl/object.h"

enum TCodeChangeReason : Byte {
  crInsert,
  crPaste,
  crDragDropInsert,
  crDeleteAfterCursor,
  crDelete,
  crLineBreak,
  crIndent,
  crUnindent,
  crSilentDelete,
  crSilentDeleteAfterCursor,
  crAutoCompleteBegin,
  crAutoCompleteEnd,
  crPasteBegin,
  crPasteEnd,
  crSpecial1Begin,
  crSpecial1End,
  crSpecial2Begin,
  crSpecial2End,
  crCaret,
  crSelection,
  crNothing,
  crGroupBreak,
  crDeleteAll,
  crWhiteSpaceAdd
};

class TCodeEditUndoItem : public TObject {
 public:
  TCodeEditUndoItem() = default;
  TCodeEditUndoItem(TCodeChangeReason reason, TCodeSelectionMode selMode, TBufferCoord startPos, TBufferCoord endPos,
                    String changeStr, Integer changeNumber);

  void Assign(const TCodeEditUndoItem& source);

  TCodeChangeReason ChangeReason() const noexcept { return fChangeReason; }
  TCodeSelectionMode ChangeSelMode() const noexcept { return fChangeSelMode; }
  TBufferCoord ChangeStartPos() const noexcept { return fChangeStartPos; }
  TBufferCoord ChangeEndPos() const noexcept { return fChangeEndPos; }
  const String& ChangeStr() const noexcept { return fChangeStr; }
  Integer ChangeNumber() const noexcept { return fChangeNumber; }

 private:
  TCodeChangeReason fChangeReason = crNothing;
  TCodeSelectionMode fChangeSelMode = smNormal;
  TBufferCoord fChangeStartPos;
  TBufferCoord fChangeEndPos;
  String fChangeStr;
  Integer fChangeNumber = 0;
};

class TCodeEditUndoList : public TObject {
 public:
  TCodeEditUndoList();
  ~TCodeEditUndoList() override;
  TCodeEditUndoList(const TCodeEditUndoList&) = delete;
  TCodeEditUndoList& operator=(const TCodeEditUndoList&) = delete;

  void AddChange(TCodeChangeReason reason, const TBufferCoord& start, const TBufferCoord& end, const String& changeText,
                 TCodeSelectionMode selMode);
  // Takes the item over; nothing for nil.
  void PushItem(std::unique_ptr<TCodeEditUndoItem> item);
  // The newest item, now the caller's; nil when the list is empty.
  std::unique_ptr<TCodeEditUndoItem> PopItem();
  TCodeEditUndoItem* PeekItem() const;
  TCodeChangeReason LastChangeReason() const;
  void AddGroupBreak();

  void BeginBlock();
  void EndBlock();
  void Clear();
  void Lock();
  void Unlock();
  void DeleteItem(Integer index);
  void Assign(const TCodeEditUndoList& source);

  Integer BlockChangeNumber() const noexcept { return fBlockChangeNumber; }
  void SetBlockChangeNumber(Integer value) noexcept { fBlockChangeNumber = value; }
  Integer BlockCount() const noexcept { return fBlockCount; }
  bool FullUndoImpossible() const noexcept { return fFullUndoImposible; }
  bool CanUndo() const noexcept { return !fItems.empty(); }
  Integer ItemCount() const noexcept { return static_cast<Integer>(fItems.size()); }
  TCodeEditUndoItem* Items(Integer index) const { return fItems.at(static_cast<size_t>(index)).get(); }
  Integer MaxUndoActions() const noexcept { return fMaxUndoActions; }
  void SetMaxUndoActions(Integer value);
  bool InsideRedo() const noexcept { return fInsideRedo; }
  void SetInsideRedo(bool value) noexcept { fInsideRedo = value; }
  // The number the next change outside a block gets (never 0).
  Integer NextChangeNumber() const noexcept { return fNextChangeNumber; }
  void SetNextChangeNumber(Integer value) noexcept { fNextChangeNumber = value == 0 ? 1 : value; }
  bool InitialState() const;
  void SetInitialState(bool value);

  const TNotifyEvent& OnAddedUndo() const noexcept { return fOnAddedUndo; }
  void SetOnAddedUndo(TNotifyEvent handler) { fOnAddedUndo = std::move(handler); }

 private:
  // The limit counts undo steps, never items: a step is undone whole or not
  // at all, so only whole old steps are dropped.
  void EnsureMaxEntries();
  void IncNextChangeNumber();
  // Whether item `index` begins a new step, given the marked runs still open
  // before it; updates that count.
  bool BeginsStep(size_t index, Integer& openMarks) const;
  void CountSteps();

  Integer fBlockChangeNumber = 0;
  Integer fBlockCount = 0;
  bool fFullUndoImposible = false;
  std::vector<std::unique_ptr<TCodeEditUndoItem>> fItems;
  Integer fLockCount = 0;
  Integer fMaxUndoActions = 1024;
  // The steps held, and the marked runs begun but not ended; the count is
  // made again lazily after items are taken out.
  Integer fStepCount = 0;
  Integer fOpenMarks = 0;
  bool fStepsKnown = true;
  Integer fNextChangeNumber = 1;
  Integer fInitialChangeNumber = 0;
  bool fInsideRedo = false;
  TNotifyEvent fOnAddedUndo;
};
