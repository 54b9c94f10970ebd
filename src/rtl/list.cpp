#include "rtl/list.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "rtl/exceptions.h"
#include "rtl/format.h"
#include "rtl/stringlist.h"

void TList::Error(const char16_t* message, Integer data) {
  throw EListError(Format(message, {data}));
}

void TList::CheckIndex(Integer index) const {
  if (index < 0 || index >= Count()) Error(kListIndexError, index);
}

Integer TList::Add(void* item) {
  Integer index = Count();
  FItems.push_back(item);
  if (item) Notify(item, TListNotification::lnAdded);
  return index;
}

void TList::Insert(Integer index, void* item) {
  if (index < 0 || index > Count()) Error(kListIndexError, index);
  FItems.insert(FItems.begin() + index, item);
  if (item) Notify(item, TListNotification::lnAdded);
}

void TList::Delete(Integer index) {
  CheckIndex(index);
  void* item = FItems[static_cast<size_t>(index)];
  FItems.erase(FItems.begin() + index);
  if (item) Notify(item, TListNotification::lnDeleted);
}

Integer TList::Remove(void* item) {
  Integer index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* item) {
  Integer index = IndexOf(item);
  if (index < 0) return nullptr;
  FItems.erase(FItems.begin() + index);
  Notify(item, TListNotification::lnExtracted);
  return item;
}

Integer TList::IndexOf(const void* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<Integer>(it - FItems.begin());
}

void TList::Clear() {
  SetCount(0);
  FItems.shrink_to_fit();
}

void TList::Exchange(Integer index1, Integer index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
}

void TList::Move(Integer currentIndex, Integer newIndex) {
  if (currentIndex == newIndex) return;
  CheckIndex(currentIndex);
  CheckIndex(newIndex);
  void* item = FItems[static_cast<size_t>(currentIndex)];
  FItems.erase(FItems.begin() + currentIndex);
  FItems.insert(FItems.begin() + newIndex, item);
}

void TList::Pack() {
  std::erase(FItems, nullptr);
}

void TList::Sort(const TListSortCompare& compare) {
  std::stable_sort(FItems.begin(), FItems.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}

void* TList::Get(Integer index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)];
}

void TList::Put(Integer index, void* item) {
  CheckIndex(index);
  void* old = FItems[static_cast<size_t>(index)];
  if (old == item) return;
  FItems[static_cast<size_t>(index)] = item;
  if (old) Notify(old, TListNotification::lnDeleted);
  if (item) Notify(item, TListNotification::lnAdded);
}

void TList::SetCount(Integer count) {
  if (count < 0) Error(u"List count out of bounds (%d)", count);
  while (Count() > count) Delete(Count() - 1);
  if (count > Count()) {
    SetCapacity(std::max(count, Capacity()));
    FItems.resize(static_cast<size_t>(count), nullptr);
  }
}

void TList::SetCapacity(Integer capacity) {
  if (capacity < Count()) Error(kListCapacityError, capacity);
  try {
    FItems.reserve(static_cast<size_t>(capacity));
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory(u"Out of memory");
  } catch (const std::length_error&) {
    throw EOutOfMemory(u"Out of memory");
  }
}
