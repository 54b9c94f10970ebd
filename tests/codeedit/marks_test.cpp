#include "codeedit/marks.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

class FakeEditor : public ICodeEditMarkHost {
 public:
  TCodeEditMarkList& MarkList() override { return marks; }
  void InvalidateGutterLines(Integer first, Integer last) override { repainted.emplace_back(first, last); }
  void FirePlaceBookmark(std::unique_ptr<TCodeEditMark>& mark) override {
    if (onPlace) onPlace(mark);
  }

  TCodeEditMarkList marks{this};
  std::vector<std::pair<Integer, Integer>> repainted;
  std::function<void(std::unique_ptr<TCodeEditMark>&)> onPlace;
};

std::unique_ptr<TCodeEditMark> MarkAt(FakeEditor& editor, Integer line, Integer bookmark = -1) {
  auto mark = std::make_unique<TCodeEditMark>(&editor);
  mark->SetLine(line);
  mark->SetBookmarkNumber(bookmark);
  return mark;
}

TEST(Marks, ANewMarkIsNoBookmark) {
  FakeEditor editor;
  TCodeEditMark mark(&editor);
  EXPECT_EQ(mark.BookmarkNumber(), -1);
  EXPECT_FALSE(mark.IsBookmark());
  EXPECT_FALSE(mark.Visible());
  mark.SetBookmarkNumber(0);
  EXPECT_TRUE(mark.IsBookmark());
}

TEST(Marks, MovingAVisibleListedMarkRepaintsBothLines) {
  FakeEditor editor;
  TCodeEditMark* mark = editor.marks.Add(MarkAt(editor, 3));
  mark->SetVisible(true);
  editor.repainted.clear();
  mark->SetLine(7);
  EXPECT_EQ(editor.repainted, (std::vector<std::pair<Integer, Integer>>{{3, 3}, {7, 7}}));
  editor.repainted.clear();
  mark->SetImageIndex(2);
  mark->SetChar(4);  // stored only
  EXPECT_EQ(editor.repainted, (std::vector<std::pair<Integer, Integer>>{{7, 7}}));
}

TEST(Marks, AMarkOutsideTheListForgetsItsEditor) {
  FakeEditor editor;
  TCodeEditMark mark(&editor);
  mark.SetVisible(true);
  mark.SetLine(5);
  EXPECT_TRUE(editor.repainted.empty());
  EXPECT_EQ(mark.ValidatedEdit(), nullptr);
  EXPECT_EQ(mark.Edit(), nullptr);
}

TEST(Marks, APlacedMarkGetsItsEditorBack) {
  FakeEditor editor;
  auto made = MarkAt(editor, 3, 1);
  made->SetVisible(true);  // as a bookmark is made: shown before it is placed
  ASSERT_EQ(made->Edit(), nullptr);
  TCodeEditMark* mark = made.get();
  editor.marks.Place(std::move(made));
  EXPECT_EQ(mark->ValidatedEdit(), &editor);
  editor.repainted.clear();
  mark->SetLine(9);
  EXPECT_EQ(editor.repainted, (std::vector<std::pair<Integer, Integer>>{{3, 3}, {9, 9}}));
}

TEST(MarkList, ClearLineKeepsBookmarksAndNotifiesPerMark) {
  FakeEditor editor;
  editor.marks.Add(MarkAt(editor, 4, 0));
  editor.marks.Add(MarkAt(editor, 4));
  editor.marks.Add(MarkAt(editor, 5));
  editor.marks.Add(MarkAt(editor, 4));
  int changes = 0;
  editor.marks.OnChange = [&](TObject*) { ++changes; };
  editor.marks.ClearLine(4);
  EXPECT_EQ(changes, 2);
  ASSERT_EQ(editor.marks.Count(), 2);
  EXPECT_TRUE(editor.marks.First()->IsBookmark());
  EXPECT_EQ(editor.marks.Last()->Line(), 5);
}

TEST(MarkList, PlaceAsksTheEditorFirst) {
  FakeEditor editor;
  editor.onPlace = [](std::unique_ptr<TCodeEditMark>& mark) { mark.reset(); };
  editor.marks.Place(MarkAt(editor, 1));
  EXPECT_EQ(editor.marks.Count(), 0);
  editor.onPlace = [&](std::unique_ptr<TCodeEditMark>& mark) { mark = MarkAt(editor, 9); };
  editor.marks.Place(MarkAt(editor, 1));
  ASSERT_EQ(editor.marks.Count(), 1);
  EXPECT_EQ(editor.marks.First()->Line(), 9);
}

TEST(MarkList, MarksForALineInListOrderAtMostSixteen) {
  FakeEditor editor;
  for (int i = 0; i < 20; ++i) editor.marks.Add(MarkAt(editor, i % 2 == 0 ? 2 : 3))->SetChar(i);
  TCodeEditMarks marks;
  editor.marks.GetMarksForLine(3, marks);
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(marks[i]->Char(), static_cast<Integer>(2 * i + 1));
  EXPECT_EQ(marks[10], nullptr);
  for (int i = 0; i < 20; ++i) editor.marks.Add(MarkAt(editor, 2));
  editor.marks.GetMarksForLine(2, marks);
  EXPECT_NE(marks[15], nullptr);
}

TEST(MarkList, ExtractKeepsTheMarkAlive) {
  FakeEditor editor;
  TCodeEditMark* mark = editor.marks.Add(MarkAt(editor, 1));
  int changes = 0;
  editor.marks.OnChange = [&](TObject*) { ++changes; };
  auto extracted = editor.marks.Extract(mark);
  EXPECT_EQ(extracted.get(), mark);
  EXPECT_EQ(editor.marks.Count(), 0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(editor.marks.Remove(mark), -1);
  EXPECT_EQ(extracted->ValidatedEdit(), nullptr);
}

}  // namespace
