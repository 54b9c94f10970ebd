#include "codeedit/undo.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

class UndoList : public ::testing::Test {
 protected:
  void SetUp() override {
    list.SetOnAddedUndo([this](TObject* sender) {
      EXPECT_EQ(sender, &list);
      ++added;
    });
  }
  void Change(const char16_t* text = u"x") { list.AddChange(crInsert, {1, 1}, {2, 1}, text, smNormal); }
  void UndoAll() {
    while (list.CanUndo()) list.PopItem();
  }

  TCodeEditUndoList list;
  int added = 0;
};

TEST_F(UndoList, LimitKeepsTheNewestAndRemembersTheLoss) {
  list.SetMaxUndoActions(2);
  Change(u"a");
  Change(u"b");
  Change(u"c");
  ASSERT_EQ(list.ItemCount(), 2);
  EXPECT_EQ(list.Items(0)->ChangeStr(), u"b");
  EXPECT_TRUE(list.FullUndoImpossible());
  list.Clear();
  EXPECT_FALSE(list.FullUndoImpossible());
  EXPECT_EQ(list.ItemCount(), 0);
  list.SetMaxUndoActions(-5);
  EXPECT_EQ(list.MaxUndoActions(), 0);
}

TEST_F(UndoList, BlockItemsShareOneNumberAndNotifyOnceMoreAtTheEnd) {
  list.BeginBlock();
  Change();
  list.BeginBlock();  // nested: same number
  Change();
  list.EndBlock();
  Change();
  EXPECT_EQ(added, 3);
  list.EndBlock();
  EXPECT_EQ(added, 4);
  EXPECT_EQ(list.Items(0)->ChangeNumber(), list.Items(2)->ChangeNumber());
  Change();
  EXPECT_NE(list.Items(3)->ChangeNumber(), list.Items(0)->ChangeNumber());

  added = 0;
  list.BeginBlock();
  list.EndBlock();  // an empty block fires nothing
  list.EndBlock();  // nor does closing a block that is not open
  EXPECT_EQ(added, 0);
  EXPECT_EQ(list.BlockCount(), 0);
}

TEST_F(UndoList, GroupBreaksAreAddedOnceAndSilently) {
  Change();
  added = 0;
  list.AddGroupBreak();
  list.AddGroupBreak();
  EXPECT_EQ(list.ItemCount(), 2);
  EXPECT_EQ(list.LastChangeReason(), crGroupBreak);
  EXPECT_EQ(added, 0);
}

TEST_F(UndoList, EmptyListAnswersWithoutFailing) {
  EXPECT_EQ(list.PopItem(), nullptr);
  EXPECT_EQ(list.PeekItem(), nullptr);
  EXPECT_EQ(list.LastChangeReason(), crNothing);
  list.Unlock();
  list.Lock();
  Change();
  EXPECT_EQ(list.ItemCount(), 0);  // nothing is recorded while locked
  list.Unlock();
  list.Unlock();
  Change();
  EXPECT_EQ(list.ItemCount(), 1);
}

TEST_F(UndoList, CleanPointIsFoundAgainByUndoing) {
  list.SetInitialState(true);
  Change();
  EXPECT_FALSE(list.InitialState());
  list.PopItem();
  EXPECT_TRUE(list.InitialState());

  Change();
  list.SetInitialState(true);
  Change();
  EXPECT_FALSE(list.InitialState());
  list.PopItem();
  EXPECT_TRUE(list.InitialState());
}

TEST_F(UndoList, WritingFalseAtTheCleanPointMakesItUnreachable) {
  list.SetInitialState(true);
  list.SetInitialState(false);
  EXPECT_FALSE(list.InitialState());
  Change();
  list.PopItem();
  EXPECT_FALSE(list.InitialState());
  list.SetInitialState(true);
  EXPECT_TRUE(list.InitialState());
}

TEST_F(UndoList, WritingFalseAwayFromTheCleanPointKeepsIt) {
  list.SetInitialState(true);
  Change();
  list.SetInitialState(false);
  list.PopItem();
  EXPECT_TRUE(list.InitialState());
}

// Typing eleven characters with the program's limit of 10 and undoing all
// that is left must not read as unmodified: the first character is still there.
TEST_F(UndoList, CleanPointDroppedByTheLimitIsGone) {
  list.SetMaxUndoActions(10);
  list.SetInitialState(true);
  for (int i = 0; i < 11; ++i) Change();
  UndoAll();
  EXPECT_FALSE(list.InitialState());
}

TEST_F(UndoList, CleanItemKeptByTheLimitStaysReachable) {
  list.SetMaxUndoActions(3);
  Change();
  Change();
  list.SetInitialState(true);
  Change();
  Change();  // drops the oldest, which lies before the clean item
  list.PopItem();
  list.PopItem();
  EXPECT_TRUE(list.InitialState());
  list.PopItem();
  EXPECT_FALSE(list.InitialState());
}

TEST_F(UndoList, ClearingKeepsWhetherTheTextIsModified) {
  Change();
  list.SetInitialState(true);
  list.Clear();
  EXPECT_TRUE(list.InitialState());  // unmodified: clean at the empty list

  list.SetInitialState(true);
  Change();
  list.Clear();
  EXPECT_FALSE(list.InitialState());  // modified: no way back by undoing
  Change();
  list.PopItem();
  EXPECT_FALSE(list.InitialState());
}

TEST_F(UndoList, ChangeNumbersSkipZeroWhenTheyWrap) {
  list.SetNextChangeNumber(std::numeric_limits<Integer>::max());
  Change();
  Change();
  EXPECT_EQ(list.Items(0)->ChangeNumber(), std::numeric_limits<Integer>::max());
  EXPECT_EQ(list.Items(1)->ChangeNumber(), std::numeric_limits<Integer>::min());
  list.SetNextChangeNumber(-1);
  Change();
  Change();
  EXPECT_EQ(list.Items(2)->ChangeNumber(), -1);
  EXPECT_EQ(list.Items(3)->ChangeNumber(), 1);
}

TEST_F(UndoList, AssignCopiesItemsAndCounters) {
  list.SetMaxUndoActions(7);
  Change(u"a");
  list.AddChange(crDelete, {3, 4}, {5, 6}, u"b", smColumn);
  list.BeginBlock();
  TCodeEditUndoList copy;
  copy.Assign(list);
  ASSERT_EQ(copy.ItemCount(), 2);
  EXPECT_NE(copy.Items(1), list.Items(1));
  EXPECT_EQ(copy.Items(1)->ChangeReason(), crDelete);
  EXPECT_EQ(copy.Items(1)->ChangeSelMode(), smColumn);
  EXPECT_EQ(copy.Items(1)->ChangeStartPos(), (TBufferCoord{3, 4}));
  EXPECT_EQ(copy.Items(1)->ChangeEndPos(), (TBufferCoord{5, 6}));
  EXPECT_EQ(copy.Items(1)->ChangeStr(), u"b");
  EXPECT_EQ(copy.MaxUndoActions(), 7);
  EXPECT_EQ(copy.BlockCount(), 1);
  EXPECT_EQ(copy.BlockChangeNumber(), list.BlockChangeNumber());
  EXPECT_EQ(copy.NextChangeNumber(), list.NextChangeNumber());
}

}  // namespace
