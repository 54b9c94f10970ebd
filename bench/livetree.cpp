// The tree model with a million nodes: adding, expanding, sorting, finding a
// node by position and selecting.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>

#include "livetree/basetree.h"
#include "livetree/livetreeworker.h"
#include "livetree/stringtree.h"
#include "rtl/numbers.h"

namespace {

constexpr Cardinal Million = 1000000;

// A window that exists, so that the position cache is built, and that runs
// the builder's hand-overs when asked.
class BenchHost : public TNullLiveTreeHost {
 public:
  bool HandleAllocated() const override { return true; }
  bool Visible() const override { return true; }
};

struct BenchTree {
  BenchHost Host;
  TBaseLiveTree Tree{&Host};
  BenchTree() { Tree.SetNodeDataSize(8); }
};

// 100 top-level nodes with 100 children with 100 children each.
void FillThreeLevels(TBaseLiveTree& tree) {
  tree.BeginUpdate();
  tree.SetRootNodeCount(100);
  for (PLiveNode top = tree.GetFirstNoInit(); top; top = top->NextSibling) {
    tree.SetChildCount(top, 100);
    for (PLiveNode middle = top->FirstChild; middle; middle = middle->NextSibling) tree.SetChildCount(middle, 100);
  }
  tree.EndUpdate();
}

void WaitForCache(TBaseLiveTree& tree) {
  if (TWorkerThread* worker = TWorkerThread::Instance())
    while (worker->WaitForHandOver(&tree)) {
    }
}

void BM_AddFlat(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = std::make_unique<BenchTree>();
    state.ResumeTiming();
    bench->Tree.BeginUpdate();
    for (Cardinal i = 0; i < Million; ++i) bench->Tree.AddChild(nullptr);
    bench->Tree.EndUpdate();
    state.PauseTiming();
    bench.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AddFlat)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AddThreeLevels(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = std::make_unique<BenchTree>();
    state.ResumeTiming();
    bench->Tree.BeginUpdate();
    for (int a = 0; a < 100; ++a) {
      PLiveNode top = bench->Tree.AddChild(nullptr);
      for (int b = 0; b < 100; ++b) {
        PLiveNode middle = bench->Tree.AddChild(top);
        for (int c = 0; c < 100; ++c) bench->Tree.AddChild(middle);
      }
    }
    bench->Tree.EndUpdate();
    state.PauseTiming();
    bench.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AddThreeLevels)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FullExpandCollapse(benchmark::State& state) {
  auto bench = std::make_unique<BenchTree>();
  bench->Tree.TreeOptions().SetAutoOptions({});
  FillThreeLevels(bench->Tree);
  for (auto _ : state) {
    bench->Tree.FullExpand();
    benchmark::DoNotOptimize(bench->Tree.VisibleCount());
    bench->Tree.FullCollapse();
  }
  state.counters["shown"] = static_cast<double>(bench->Tree.VisibleCount());
}
BENCHMARK(BM_FullExpandCollapse)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FullExpand(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = std::make_unique<BenchTree>();
    bench->Tree.TreeOptions().SetAutoOptions({});
    FillThreeLevels(bench->Tree);
    state.ResumeTiming();
    bench->Tree.FullExpand();
    state.PauseTiming();
    bench.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FullExpand)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SortLevel(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = std::make_unique<BenchTree>();
    TBaseLiveTree& tree = bench->Tree;
    tree.TreeOptions().SetAutoOptions({});
    tree.SetRootNodeCount(Million);
    std::mt19937 random(7);
    for (PLiveNode run = tree.GetFirstNoInit(); run; run = run->NextSibling)
      *static_cast<std::uint64_t*>(tree.GetNodeData(run)) = random();
    tree.OnCompareNodes = [](TBaseLiveTree* sender, PLiveNode a, PLiveNode b, TColumnIndex, Integer& result) {
      std::uint64_t x = *static_cast<std::uint64_t*>(sender->GetNodeData(a));
      std::uint64_t y = *static_cast<std::uint64_t*>(sender->GetNodeData(b));
      result = x < y ? -1 : (x > y ? 1 : 0);
    };
    state.ResumeTiming();
    tree.Sort(nullptr, 0, sdAscending, false);
    state.PauseTiming();
    bench.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SortLevel)->Unit(benchmark::kMillisecond)->Iterations(3);

// Many short lists: 10101 sorts of 100 nodes each, all expanded.
void BM_SortTreeThreeLevels(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = std::make_unique<BenchTree>();
    TBaseLiveTree& tree = bench->Tree;
    tree.TreeOptions().SetAutoOptions({});
    FillThreeLevels(tree);
    tree.FullExpand();
    std::mt19937 random(7);
    for (PLiveNode run = tree.GetFirstNoInit(); run; run = tree.GetNextNoInit(run))
      *static_cast<std::uint64_t*>(tree.GetNodeData(run)) = random();
    tree.OnCompareNodes = [](TBaseLiveTree* sender, PLiveNode a, PLiveNode b, TColumnIndex, Integer& result) {
      std::uint64_t x = *static_cast<std::uint64_t*>(sender->GetNodeData(a));
      std::uint64_t y = *static_cast<std::uint64_t*>(sender->GetNodeData(b));
      result = x < y ? -1 : (x > y ? 1 : 0);
    };
    state.ResumeTiming();
    tree.SortTree(0, sdAscending, false);
    state.PauseTiming();
    bench.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SortTreeThreeLevels)->Unit(benchmark::kMillisecond)->Iterations(3);

std::unique_ptr<BenchTree> ExpandedTree() {
  auto bench = std::make_unique<BenchTree>();
  bench->Tree.TreeOptions().SetAutoOptions({});
  FillThreeLevels(bench->Tree);
  bench->Tree.FullExpand();
  return bench;
}

void BM_GetNodeAtWithoutCache(benchmark::State& state) {
  auto bench = ExpandedTree();
  WaitForCache(bench->Tree);
  bench->Tree.SetNodeHeight(bench->Tree.GetFirstNoInit(), 19);  // stale from now on
  Integer y = static_cast<Integer>(bench->Tree.RootNode()->TotalHeight / 2);
  for (auto _ : state) {
    Integer top = 0;
    benchmark::DoNotOptimize(bench->Tree.GetNodeAt(0, y, false, top));
  }
}
BENCHMARK(BM_GetNodeAtWithoutCache)->Unit(benchmark::kMillisecond);

void BM_GetNodeAtWithCache(benchmark::State& state) {
  auto bench = ExpandedTree();
  bench->Tree.RequestCacheValidation();
  WaitForCache(bench->Tree);
  if (!bench->Tree.PositionCacheValid()) state.SkipWithError("no cache");
  Integer y = static_cast<Integer>(bench->Tree.RootNode()->TotalHeight / 2);
  for (auto _ : state) {
    Integer top = 0;
    benchmark::DoNotOptimize(bench->Tree.GetNodeAt(0, y, false, top));
  }
}
BENCHMARK(BM_GetNodeAtWithCache)->Unit(benchmark::kMicrosecond);

void BM_BuildPositionCache(benchmark::State& state) {
  auto bench = ExpandedTree();
  for (auto _ : state) {
    bench->Tree.SetNodeHeight(bench->Tree.GetFirstNoInit(), 18 + (state.iterations() % 2));
    bench->Tree.RequestCacheValidation();
    WaitForCache(bench->Tree);
  }
}
BENCHMARK(BM_BuildPositionCache)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SelectAll(benchmark::State& state) {
  auto bench = std::make_unique<BenchTree>();
  bench->Tree.TreeOptions().SetAutoOptions({});
  bench->Tree.TreeOptions().SetSelectionOptions({toMultiSelect});
  bench->Tree.SetRootNodeCount(Million);
  for (auto _ : state) {
    bench->Tree.SelectAll(false);
    state.PauseTiming();
    benchmark::DoNotOptimize(bench->Tree.SelectedCount());
    bench->Tree.ClearSelection();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

// A window that measures every character 7 pixels wide, for painting.
class PaintHost : public BenchHost {
 public:
  Integer ClientHeight() const override { return 720; }
  Integer ClientWidth() const override { return 600; }
  TSize TextExtent(const TLiveTreeFont&, StringView text) override {
    return TSize{static_cast<Integer>(text.size()) * 7, 14};
  }
  Integer FontHeight(const TLiveTreeFont&) override { return 14; }
  TSize ImageListSize(TLTImageListKind kind) override { return kind == ilCheck ? TSize{16, 16} : TSize{}; }
};

// Painting one page (40 rows) of a million-node tree with two columns, check
// boxes, lines and grid, scrolled to its middle, onto a surface that draws
// nothing: what the painter decides per paint.
void BM_PaintVisiblePage(benchmark::State& state) {
  PaintHost host;
  TLiveStringTree tree(&host);
  tree.SetNodeDataSize(0);
  tree.TreeOptions().SetAutoOptions({});
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toCheckSupport});
  tree.TreeOptions().SetPaintOptions(tree.TreeOptions().PaintOptions() +
                                     TLTPaintOptions{toShowHorzGridLines, toShowVertGridLines});
  tree.Header().Columns().Add()->SetWidth(300);
  tree.Header().Columns().Add()->SetWidth(200);
  tree.OnInitNode = [](TBaseLiveTree* sender, PLiveNode, PLiveNode node, TLiveNodeInitStates&) {
    sender->SetCheckType(node, ctCheckBox);
  };
  tree.OnGetText = [](TBaseLiveTree*, PLiveNode node, TColumnIndex column, TLSTTextType, String& text) {
    text = (column == 1 ? u"value " : u"Node ") + IntToStr(node->Index);
  };
  tree.SetRootNodeCount(Million);
  WaitForCache(tree);
  TNullLiveTreeCanvas canvas;
  Integer top = static_cast<Integer>(Million / 2 * tree.DefaultNodeHeight());
  for (auto _ : state) tree.PaintTree(canvas, Rect(0, top, 600, top + 720), Point(0, 0), ScreenPaintOptions);
  state.counters["rows"] = 40;
}
BENCHMARK(BM_PaintVisiblePage)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
