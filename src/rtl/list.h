// TList: the platform's list of untyped pointers, for code that keeps the
// platform's shape (fields and parameters typed as a list of references). New
// code uses std::vector. The list never owns what it points to; a subclass
// that does overrides Notify. Index errors raise EListError
// "List index out of bounds (%d)".
#pragma once

#include <functional>
#include <vector>

#include "rtl/object.h"
#include "rtl/types.h"

enum class TListNotification { lnAdded, lnExtracted, lnDeleted };

// Negative, zero or positive as item1 sorts before, with or after item2.
using TListSortCompare = std::function<int(void* item1, void* item2)>;

class TList : public TObject {
 public:
  TList() = default;
  TList(const TList&) = delete;
  TList& operator=(const TList&) = delete;
  // Notifies nothing (a base destructor cannot reach the subclass): a
  // subclass that owns its items calls Clear in its own destructor.
  ~TList() override = default;

  Integer Add(void* item);
  void Insert(Integer index, void* item);
  void Delete(Integer index);
  // Removes the first occurrence; its former index or -1.
  Integer Remove(void* item);
  // Removes the first occurrence without deleting it (lnExtracted); the item or nullptr.
  void* Extract(void* item);
  Integer IndexOf(const void* item) const;
  void Clear();
  void Exchange(Integer index1, Integer index2);
  void Move(Integer currentIndex, Integer newIndex);
  // Removes every nullptr.
  void Pack();
  // Stable, so equal items keep their order.
  void Sort(const TListSortCompare& compare);

  void* Get(Integer index) const;
  void Put(Integer index, void* item);
  void* operator[](Integer index) const { return Get(index); }
  template <typename T>
  T* Item(Integer index) const {
    return static_cast<T*>(Get(index));
  }
  void* First() const { return Get(0); }
  void* Last() const { return Get(Count() - 1); }

  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  // A larger count adds nullptrs; a smaller one deletes from the end.
  void SetCount(Integer count);
  Integer Capacity() const { return static_cast<Integer>(FItems.capacity()); }
  // Below the count: "List capacity out of bounds (%d)".
  void SetCapacity(Integer capacity);
  const std::vector<void*>& List() const { return FItems; }

 protected:
  // Called after an item was added and after it was taken out of the list.
  virtual void Notify(void* /*item*/, TListNotification /*action*/) {}
  [[noreturn]] static void Error(const char16_t* message, Integer data);

 private:
  void CheckIndex(Integer index) const;
  std::vector<void*> FItems;
};
