// Sorting a child list: the order, the owner's comparisons and their sequence
// against a plain bottom-up merge of a linked chain, which is how the tree
// has always asked; a handler that cancels, fails or answers inconsistently
// must see exactly the same questions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <utility>
#include <vector>

#include "livetree/basetree.h"
#include "rtl/exceptions.h"
#include "support/livetree_fakehost.h"

namespace {

using Answer = std::function<Integer(int left, int right)>;
using Question = std::pair<int, int>;

// The reference: runs of 1, 2, 4 ... keys kept like the digits of a binary
// counter, merged as each key arrives, then the rest from the last forwards.
std::vector<int> ReferenceSort(int count, TSortDirection direction, const Answer& answer,
                               std::vector<Question>& questions) {
  auto merge = [&](std::vector<int> left, std::vector<int> right) {
    std::vector<int> result;
    size_t l = 0, r = 0;
    while (l < left.size() && r < right.size()) {
      questions.emplace_back(left[l], right[r]);
      Integer order = answer(left[l], right[r]);
      bool takeRight = direction == sdAscending ? order > 0 : order < 0;
      result.push_back(takeRight ? right[r++] : left[l++]);
    }
    result.insert(result.end(), left.begin() + static_cast<std::ptrdiff_t>(l), left.end());
    result.insert(result.end(), right.begin() + static_cast<std::ptrdiff_t>(r), right.end());
    return result;
  };
  std::vector<std::vector<int>> runs(64);
  for (int key = 0; key < count; ++key) {
    std::vector<int> carry{key};
    size_t level = 0;
    for (; !runs[level].empty(); ++level) {
      carry = merge(std::move(runs[level]), std::move(carry));
      runs[level].clear();
    }
    runs[level] = std::move(carry);
  }
  std::vector<int> sorted;
  for (auto& run : runs)
    if (!run.empty()) sorted = sorted.empty() ? run : merge(run, sorted);
  return sorted;
}

enum class Handler { Random, CancelAt, ThrowAt };

struct SortCase {
  int count;
  TSortDirection direction;
  Handler handler;
  int stopAt;  // the comparison that cancels or throws
};

class SortOrderTest : public ::testing::TestWithParam<SortCase> {
 protected:
  SortOrderTest() {
    host.Tree = &tree;
    tree.SetNodeDataSize(8);
    tree.TreeOptions().SetAutoOptions({});
  }
  ~SortOrderTest() override { DetachTreeEvents(tree); }
  // The position each node had before the sort.
  int Position(PLiveNode node) { return static_cast<int>(*tree.GetNodeData<std::int64_t>(node)); }

  TFakeLiveTreeHost host;
  TBaseLiveTree tree{&host};
};

TEST_P(SortOrderTest, AsksLikeTheChainMerge) {
  const SortCase& c = GetParam();
  tree.SetRootNodeCount(static_cast<Cardinal>(c.count));
  int position = 0;
  for (PLiveNode run = tree.GetFirstNoInit(); run; run = run->NextSibling)
    *tree.GetNodeData<std::int64_t>(run) = position++;

  // Inconsistent answers on purpose: any reordering of the questions shows.
  std::mt19937 treeRandom(c.count * 2 + c.direction);
  std::vector<Question> asked;
  tree.OnCompareNodes = [&](TBaseLiveTree* sender, PLiveNode a, PLiveNode b, TColumnIndex column, Integer& result) {
    EXPECT_EQ(column, 3);
    asked.emplace_back(Position(a), Position(b));
    if (static_cast<int>(asked.size()) == c.stopAt) {
      if (c.handler == Handler::CancelAt) sender->CancelOperation();
      if (c.handler == Handler::ThrowAt) throw EAbort(u"stop");
    }
    result = static_cast<Integer>(treeRandom() % 3) - 1;
  };
  bool thrown = false;
  try {
    tree.Sort(nullptr, 3, c.direction, false);
  } catch (const EAbort&) {
    thrown = true;
  }
  EXPECT_EQ(thrown, c.handler == Handler::ThrowAt);

  std::mt19937 referenceRandom(c.count * 2 + c.direction);
  std::vector<Question> expectedQuestions;
  int answered = 0;
  Answer answer = [&](int, int) -> Integer {
    ++answered;
    if (c.handler != Handler::Random && answered >= c.stopAt) {
      if (c.handler == Handler::CancelAt && answered == c.stopAt)
        return static_cast<Integer>(referenceRandom() % 3) - 1;
      return 0;
    }
    return static_cast<Integer>(referenceRandom() % 3) - 1;
  };
  std::vector<int> expectedOrder = ReferenceSort(c.count, c.direction, answer, expectedQuestions);
  if (c.handler != Handler::Random) expectedQuestions.resize(static_cast<size_t>(c.stopAt));
  EXPECT_EQ(asked, expectedQuestions);

  std::vector<int> order;
  for (PLiveNode run = tree.GetFirstNoInit(); run; run = run->NextSibling) order.push_back(Position(run));
  EXPECT_EQ(order, expectedOrder);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
  EXPECT_EQ(tree.OperationCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SortOrderTest,
    ::testing::Values(
        SortCase{2, sdAscending, Handler::Random, 0}, SortCase{3, sdDescending, Handler::Random, 0},
        SortCase{7, sdAscending, Handler::Random, 0}, SortCase{8, sdDescending, Handler::Random, 0},
        SortCase{9, sdAscending, Handler::Random, 0}, SortCase{100, sdAscending, Handler::Random, 0},
        SortCase{100, sdDescending, Handler::Random, 0}, SortCase{1000, sdAscending, Handler::Random, 0},
        SortCase{1025, sdDescending, Handler::Random, 0}, SortCase{100, sdAscending, Handler::CancelAt, 1},
        SortCase{100, sdAscending, Handler::CancelAt, 250}, SortCase{77, sdDescending, Handler::CancelAt, 300},
        SortCase{100, sdAscending, Handler::ThrowAt, 1}, SortCase{100, sdDescending, Handler::ThrowAt, 250}));

// Consistent keys with many ties: the result is the stable order by key.
TEST(SortStabilityTest, EqualKeysKeepTheirOrder) {
  for (TSortDirection direction : {sdAscending, sdDescending}) {
    TFakeLiveTreeHost host;
    TBaseLiveTree tree{&host};
    host.Tree = &tree;
    tree.SetNodeDataSize(8);
    tree.TreeOptions().SetAutoOptions({});
    constexpr int Count = 3000;
    tree.SetRootNodeCount(Count);
    std::mt19937 random(11);
    std::vector<std::pair<int, PLiveNode>> expected;
    for (PLiveNode run = tree.GetFirstNoInit(); run; run = run->NextSibling) {
      int key = static_cast<int>(random() % 17);
      *tree.GetNodeData<std::int64_t>(run) = key;
      expected.emplace_back(key, run);
    }
    std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
      return direction == sdAscending ? a.first < b.first : a.first > b.first;
    });
    tree.OnCompareNodes = [](TBaseLiveTree* sender, PLiveNode a, PLiveNode b, TColumnIndex, Integer& result) {
      std::int64_t x = *sender->GetNodeData<std::int64_t>(a), y = *sender->GetNodeData<std::int64_t>(b);
      result = x < y ? -1 : (x > y ? 1 : 0);
    };
    tree.Sort(nullptr, 0, direction, false);
    std::vector<PLiveNode> order;
    for (PLiveNode run = tree.GetFirstNoInit(); run; run = run->NextSibling) order.push_back(run);
    ASSERT_EQ(order.size(), expected.size());
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], expected[i].second) << "at " << i;
    EXPECT_EQ(CheckTreeInvariants(tree), "");
    DetachTreeEvents(tree);
  }
}

}  // namespace
