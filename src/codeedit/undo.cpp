#include "codeedit/undo.h"

#include <algorithm>
#include <limits>

TCodeEditUndoItem::TCodeEditUndoItem(TCodeChangeReason reason, TCodeSelectionMode selMode, TBufferCoord startPos,
                                     TBufferCoord endPos, String changeStr, Integer changeNumber)
    : fChangeReason(reason),
      fChangeSelMode(selMode),
      fChangeStartPos(startPos),
      fChangeEndPos(endPos),
      fChangeStr(std::move(changeStr)),
      fChangeNumber(changeNumber) {}

void TCodeEditUndoItem::Assign(const TCodeEditUndoItem& source) {
  *this = source;
}

TCodeEditUndoList::TCodeEditUndoList() = default;

TCodeEditUndoList::~TCodeEditUndoList() {
  fItems.clear();
}

void TCodeEditUndoList::AddChange(TCodeChangeReason reason, const TBufferCoord& start, const TBufferCoord& end,
                                  const String& changeText, TCodeSelectionMode selMode) {
  if (fLockCount > 0) return;
  Integer number = fBlockChangeNumber;
  if (number == 0) {
    number = fNextChangeNumber;
    if (fBlockCount == 0) IncNextChangeNumber();
  }
  PushItem(std::make_unique<TCodeEditUndoItem>(reason, selMode, start, end, changeText, number));
}

namespace {

bool IsMarkBegin(TCodeChangeReason reason) {
  return reason == crAutoCompleteBegin || reason == crPasteBegin || reason == crSpecial1Begin ||
         reason == crSpecial2Begin;
}

bool IsMarkEnd(TCodeChangeReason reason) {
  return reason == crAutoCompleteEnd || reason == crPasteEnd || reason == crSpecial1End || reason == crSpecial2End;
}

}  // namespace

bool TCodeEditUndoList::BeginsStep(size_t index, Integer& openMarks) const {
  const TCodeEditUndoItem& item = *fItems[index];
  // A group break only parts two steps; it is not one to undo.
  const bool begins = item.ChangeReason() != crGroupBreak &&
                      (index == 0 || (openMarks == 0 && item.ChangeNumber() != fItems[index - 1]->ChangeNumber()));
  if (IsMarkBegin(item.ChangeReason()))
    ++openMarks;
  else if (IsMarkEnd(item.ChangeReason()) && openMarks > 0)
    --openMarks;
  return begins;
}

void TCodeEditUndoList::CountSteps() {
  fStepCount = 0;
  fOpenMarks = 0;
  for (size_t i = 0; i < fItems.size(); ++i)
    if (BeginsStep(i, fOpenMarks)) ++fStepCount;
  fStepsKnown = true;
}

void TCodeEditUndoList::PushItem(std::unique_ptr<TCodeEditUndoItem> item) {
  if (!item) return;
  const bool isGroupBreak = item->ChangeReason() == crGroupBreak;
  fItems.push_back(std::move(item));
  if (!fStepsKnown)
    CountSteps();
  else if (BeginsStep(fItems.size() - 1, fOpenMarks))
    ++fStepCount;
  EnsureMaxEntries();
  if (!isGroupBreak) fOnAddedUndo(this);
}

std::unique_ptr<TCodeEditUndoItem> TCodeEditUndoList::PopItem() {
  if (fItems.empty()) return nullptr;
  auto item = std::move(fItems.back());
  fItems.pop_back();
  fStepsKnown = false;
  return item;
}

TCodeEditUndoItem* TCodeEditUndoList::PeekItem() const {
  return fItems.empty() ? nullptr : fItems.back().get();
}

TCodeChangeReason TCodeEditUndoList::LastChangeReason() const {
  return fItems.empty() ? crNothing : fItems.back()->ChangeReason();
}

void TCodeEditUndoList::AddGroupBreak() {
  if (LastChangeReason() != crGroupBreak) AddChange(crGroupBreak, {}, {}, String(), smNormal);
}

void TCodeEditUndoList::BeginBlock() {
  ++fBlockCount;
  fBlockChangeNumber = fNextChangeNumber;
}

void TCodeEditUndoList::EndBlock() {
  if (fBlockCount <= 0) return;
  --fBlockCount;
  if (fBlockCount != 0) return;
  const Integer blockNumber = fBlockChangeNumber;
  fBlockChangeNumber = 0;
  IncNextChangeNumber();
  if (!fItems.empty() && fItems.back()->ChangeNumber() == blockNumber) fOnAddedUndo(this);
}

void TCodeEditUndoList::Clear() {
  // The clean point cannot name an item that is gone: an unmodified text
  // stays clean at the empty list, a modified one can no longer become clean
  // by undoing.
  const bool clean = InitialState();
  fItems.clear();
  fFullUndoImposible = false;
  fInitialChangeNumber = clean ? 0 : -1;
  CountSteps();
}

void TCodeEditUndoList::Lock() {
  ++fLockCount;
}

void TCodeEditUndoList::Unlock() {
  if (fLockCount > 0) --fLockCount;
}

void TCodeEditUndoList::DeleteItem(Integer index) {
  if (index < 0 || index >= ItemCount()) return;
  fItems.erase(fItems.begin() + index);
  fStepsKnown = false;
}

void TCodeEditUndoList::Assign(const TCodeEditUndoList& source) {
  if (&source == this) return;
  fItems.clear();
  for (const auto& item : source.fItems) {
    auto copy = std::make_unique<TCodeEditUndoItem>();
    copy->Assign(*item);
    fItems.push_back(std::move(copy));
  }
  fBlockChangeNumber = source.fBlockChangeNumber;
  fBlockCount = source.fBlockCount;
  fFullUndoImposible = source.fFullUndoImposible;
  fLockCount = source.fLockCount;
  fMaxUndoActions = source.fMaxUndoActions;
  fNextChangeNumber = source.fNextChangeNumber;
  fInsideRedo = source.fInsideRedo;
  CountSteps();
}

void TCodeEditUndoList::SetMaxUndoActions(Integer value) {
  value = std::max(value, 0);
  if (value == fMaxUndoActions) return;
  fMaxUndoActions = value;
  EnsureMaxEntries();
}

bool TCodeEditUndoList::InitialState() const {
  if (fItems.empty()) return fInitialChangeNumber == 0;
  return fItems.back()->ChangeNumber() == fInitialChangeNumber;
}

void TCodeEditUndoList::SetInitialState(bool value) {
  if (value) {
    fInitialChangeNumber = fItems.empty() ? 0 : fItems.back()->ChangeNumber();
  } else if (InitialState()) {
    fInitialChangeNumber = -1;
  }
}

void TCodeEditUndoList::EnsureMaxEntries() {
  if (!fStepsKnown) CountSteps();
  if (fStepCount <= fMaxUndoActions) return;
  fFullUndoImposible = true;
  // The first kept item begins the oldest step that stays.
  Integer toDrop = fStepCount - fMaxUndoActions;
  Integer openMarks = 0;
  size_t cut = fItems.size();
  for (size_t i = 0; i < fItems.size(); ++i) {
    if (BeginsStep(i, openMarks) && toDrop-- == 0) {
      cut = i;
      break;
    }
  }
  const auto firstKept = fItems.begin() + static_cast<std::ptrdiff_t>(cut);
  const auto holdsCleanPoint = [this](const auto& item) { return item->ChangeNumber() == fInitialChangeNumber; };
  // Undoing can no longer reach a clean point at or before the dropped items:
  // the empty list, or an item that goes now and leaves none of its group.
  const bool cleanPointDropped = fInitialChangeNumber == 0 || std::any_of(fItems.begin(), firstKept, holdsCleanPoint);
  fItems.erase(fItems.begin(), firstKept);
  CountSteps();
  if (cleanPointDropped && std::none_of(fItems.begin(), fItems.end(), holdsCleanPoint)) fInitialChangeNumber = -1;
}

void TCodeEditUndoList::IncNextChangeNumber() {
  if (fNextChangeNumber == std::numeric_limits<Integer>::max()) {
    fNextChangeNumber = std::numeric_limits<Integer>::min();
  } else {
    ++fNextChangeNumber;
  }
  if (fNextChangeNumber == 0) ++fNextChangeNumber;
}
