#include "codeedit/marks.h"

#include "rtl/exceptions.h"
#include "rtl/format.h"
#include "rtl/stringlist.h"

// ---- TCodeEditMark ----

ICodeEditMarkHost* TCodeEditMark::ValidatedEdit() {
  if (fEdit && fEdit->MarkList().IndexOf(this) >= 0) return fEdit;
  fEdit = nullptr;
  return nullptr;
}

void TCodeEditMark::InvalidateOwnLine() {
  if (!fVisible) return;
  if (ICodeEditMarkHost* edit = ValidatedEdit()) edit->InvalidateGutterLines(fLine, fLine);
}

void TCodeEditMark::SetLine(Integer value) {
  ICodeEditMarkHost* edit = fVisible ? ValidatedEdit() : nullptr;
  if (edit && fLine > 0) edit->InvalidateGutterLines(fLine, fLine);
  fLine = value;
  if (edit) edit->InvalidateGutterLines(fLine, fLine);
}

void TCodeEditMark::SetImageIndex(Integer value) {
  fImage = value;
  InvalidateOwnLine();
}

void TCodeEditMark::SetInternalImage(bool value) {
  fInternalImage = value;
  InvalidateOwnLine();
}

void TCodeEditMark::SetVisible(bool value) {
  if (fVisible == value) return;
  fVisible = value;
  if (ICodeEditMarkHost* edit = ValidatedEdit()) edit->InvalidateGutterLines(fLine, fLine);
}

// ---- TCodeEditMarkList ----

TCodeEditMark* TCodeEditMarkList::Items(Integer index) const {
  if (index < 0 || index >= Count()) throw EListError(Format(kListIndexError, {index}));
  return FItems[static_cast<size_t>(index)].get();
}

Integer TCodeEditMarkList::IndexOf(const TCodeEditMark* mark) const {
  for (Integer i = 0; i < Count(); ++i)
    if (FItems[static_cast<size_t>(i)].get() == mark) return i;
  return -1;
}

TCodeEditMark* TCodeEditMarkList::Add(std::unique_ptr<TCodeEditMark> mark) {
  TCodeEditMark* added = mark.get();
  // A mark made visible or moved before it was listed has forgotten its editor.
  if (added != nullptr && fEdit != nullptr) added->fEdit = fEdit;
  FItems.push_back(std::move(mark));
  OnChange(this);
  return added;
}

void TCodeEditMarkList::Delete(Integer index) {
  Items(index);
  auto removed = std::move(FItems[static_cast<size_t>(index)]);
  FItems.erase(FItems.begin() + index);
  removed.reset();
  OnChange(this);
}

Integer TCodeEditMarkList::Remove(TCodeEditMark* mark) {
  const Integer index = IndexOf(mark);
  if (index >= 0) Delete(index);
  return index;
}

std::unique_ptr<TCodeEditMark> TCodeEditMarkList::Extract(TCodeEditMark* mark) {
  const Integer index = IndexOf(mark);
  if (index < 0) return nullptr;
  auto extracted = std::move(FItems[static_cast<size_t>(index)]);
  FItems.erase(FItems.begin() + index);
  OnChange(this);
  return extracted;
}

void TCodeEditMarkList::Clear() {
  while (!FItems.empty()) Delete(Count() - 1);
}

void TCodeEditMarkList::ClearLine(Integer line) {
  for (Integer i = Count() - 1; i >= 0; --i) {
    const TCodeEditMark& mark = *FItems[static_cast<size_t>(i)];
    if (!mark.IsBookmark() && mark.Line() == line) Delete(i);
  }
}

void TCodeEditMarkList::GetMarksForLine(Integer line, TCodeEditMarks& marks) const {
  marks.fill(nullptr);
  size_t found = 0;
  for (const auto& mark : FItems) {
    if (mark->Line() != line) continue;
    marks[found++] = mark.get();
    if (found == marks.size()) break;
  }
}

void TCodeEditMarkList::Place(std::unique_ptr<TCodeEditMark> mark) {
  if (fEdit) fEdit->FirePlaceBookmark(mark);
  if (mark) Add(std::move(mark));
}
