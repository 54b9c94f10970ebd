// The shared cache builder thread against an interface thread that keeps
// changing its trees (run under ThreadSanitizer as well).
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>

#include "livetree/basetree.h"
#include "livetree/livetreeworker.h"
#include "support/livetree_fakehost.h"

namespace {

struct HostedTree {
  TFakeLiveTreeHost Host;
  std::unique_ptr<TBaseLiveTree> Tree;

  explicit HostedTree(bool variableHeights) {
    Tree = std::make_unique<TBaseLiveTree>(&Host);
    Host.Tree = Tree.get();
    Tree->TreeOptions().SetAutoOptions({});
    if (variableHeights) {
      Tree->TreeOptions().SetMiscOptions(Tree->TreeOptions().MiscOptions() + TLTMiscOptions{toVariableNodeHeight});
      Tree->OnMeasureItem = [](TBaseLiveTree*, TCanvas*, PLiveNode node, Integer& height) {
        height = 16 + static_cast<Integer>(node->Index % 5);
      };
    }
    Tree->BeginUpdate();
    Tree->SetRootNodeCount(60);
    for (PLiveNode top = Tree->GetFirstNoInit(); top; top = top->NextSibling) Tree->SetChildCount(top, 100);
    Tree->EndUpdate();
    Tree->FullExpand();
  }
};

// Each shown node's top, by walking.
std::map<PLiveNode, Cardinal> Tops(TBaseLiveTree& tree) {
  std::map<PLiveNode, Cardinal> result;
  Cardinal top = 0;
  for (PLiveNode run = tree.GetFirstVisibleNoInit(); run; run = tree.GetNextVisibleNoInit(run)) {
    result[run] = top;
    top += run->Height();
  }
  return result;
}

void ExpectCacheMatches(TBaseLiveTree& tree) {
  ASSERT_TRUE(tree.PositionCacheValid());
  std::map<PLiveNode, Cardinal> tops = Tops(tree);
  ASSERT_FALSE(tree.PositionCache().empty());
  for (const TCacheEntry& entry : tree.PositionCache()) {
    ASSERT_TRUE(tops.count(entry.Node));
    EXPECT_EQ(entry.AbsoluteTop, tops[entry.Node]);
  }
  for (Integer y : {0, 17, 20000, 36000 + 5, 50000, 70000}) {
    Integer cachedTop = 0;
    PLiveNode cached = tree.GetNodeAt(0, y, true, cachedTop);
    PLiveNode walked = nullptr;
    for (const auto& [node, top] : tops)
      if (static_cast<Cardinal>(y) >= top && static_cast<Cardinal>(y) < top + node->Height()) walked = node;
    EXPECT_EQ(cached, walked) << y;
  }
}

TEST(WorkerTest, BuildsWhileTheInterfaceThreadWorks) {
  std::mt19937 random(42);
  std::vector<std::unique_ptr<HostedTree>> trees;
  for (int i = 0; i < 3; ++i) trees.push_back(std::make_unique<HostedTree>(i == 1));
  for (auto& hosted : trees) EXPECT_GT(hosted->Tree->VisibleCount(), CacheThreshold);
  for (int step = 0; step < 300; ++step) {
    HostedTree& hosted = *trees[random() % trees.size()];
    TBaseLiveTree& tree = *hosted.Tree;
    PLiveNode top = tree.GetFirstNoInit();
    for (std::uint32_t skip = random() % 60; skip > 0 && top->NextSibling; --skip) top = top->NextSibling;
    PLiveNode child = top->FirstChild != nullptr ? top->FirstChild : top;
    switch (random() % 6) {
      case 0: tree.SetNodeHeight(child, 10 + random() % 20); break;
      case 1: tree.SetSelected(child, !tree.Selected(child)); break;
      case 2: tree.ToggleNode(top); break;
      case 3: tree.AddChild(top); break;
      case 4:
        if (top->ChildCount > 2) tree.DeleteNode(top->LastChild);
        break;
      default: hosted.Host.RunInterfaceCalls(); break;
    }
  }
  for (auto& hosted : trees) {
    hosted->Tree->RequestCacheValidation();
    hosted->Host.WaitForBuilder();
    ExpectCacheMatches(*hosted->Tree);
    EXPECT_EQ(CheckTreeInvariants(*hosted->Tree), "");
  }
}

TEST(WorkerTest, DestroyingATreeDuringItsBuild) {
  for (int round = 0; round < 5; ++round) {
    auto hosted = std::make_unique<HostedTree>(round % 2 == 0);
    hosted->Tree->RequestCacheValidation();
    hosted->Tree.reset();
  }
  SUCCEED();
}

TEST(WorkerTest, SmallTreesNeverQueue) {
  TFakeLiveTreeHost host;
  TBaseLiveTree tree(&host);
  host.Tree = &tree;
  tree.SetRootNodeCount(CacheThreshold);
  host.WaitForBuilder();
  EXPECT_FALSE(tree.PositionCacheValid());
  EXPECT_EQ(host.Wakes.load(), 0);
}

}  // namespace
