#include "rtl/list.h"

#include <gtest/gtest.h>

#include <string>

#include "rtl/exceptions.h"

namespace {

String ListErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EListError& e) {
    return e.Message();
  }
  return u"<no exception>";
}

// Records the notifications, as an owning subclass would act on them.
class RecordingList : public TList {
 public:
  std::string FLog;

 protected:
  void Notify(void* item, TListNotification action) override {
    FLog += *static_cast<char*>(item);
    FLog += action == TListNotification::lnAdded ? '+' : action == TListNotification::lnDeleted ? '-' : '^';
  }
};

TEST(List, KeepsPointersInOrderAndNotifies) {
  char a = 'a', b = 'b', c = 'c';
  RecordingList list;
  list.Add(&a);
  list.Add(&b);
  list.Insert(0, &c);
  EXPECT_EQ(list.IndexOf(&a), 1);
  list.Move(0, 2);
  EXPECT_EQ(list.Item<char>(2), &c);
  list.Exchange(0, 1);
  EXPECT_EQ(list.First(), &b);
  EXPECT_EQ(list.Extract(&a), &a);
  EXPECT_EQ(list.Remove(&a), -1);
  list.Put(0, &a);
  list.SetCount(4);
  EXPECT_EQ(list[3], nullptr);
  list.Pack();
  EXPECT_EQ(list.Count(), 2);
  list.Sort([](void* x, void* y) { return *static_cast<char*>(x) - *static_cast<char*>(y); });
  EXPECT_EQ(list.Last(), &c);
  list.Clear();
  EXPECT_EQ(list.FLog, "a+b+c+a^b-a+c-a-");
}

TEST(List, IndexErrorsNameTheIndex) {
  TList list;
  int x = 0;
  list.Add(&x);
  EXPECT_EQ(ListErrorOf([&] { list.Get(1); }), u"List index out of bounds (1)");
  EXPECT_EQ(ListErrorOf([&] { list.Insert(-1, &x); }), u"List index out of bounds (-1)");
  EXPECT_EQ(ListErrorOf([&] { list.Move(0, 1); }), u"List index out of bounds (1)");
  EXPECT_EQ(ListErrorOf([&] { list.SetCapacity(0); }), u"List capacity out of bounds (0)");
  EXPECT_EQ(ListErrorOf([&] { list.SetCount(-2); }), u"List count out of bounds (-2)");
  list.Delete(0);
  EXPECT_EQ(ListErrorOf([&] { list.First(); }), u"List index out of bounds (0)");
  EXPECT_EQ(ListErrorOf([&] { list.Last(); }), u"List index out of bounds (-1)");
}

}  // namespace
