// The string tree: texts, measuring and its cache, shortening, heights,
// incremental search, paths, the restored selection and the caption chunk.
#include "livetree/stringtree.h"

#include <gtest/gtest.h>

#include <map>

#include "livetree/livetreestreamio.h"
#include "rtl/streams.h"
#include "support/livetree_fakehost.h"

namespace {

// A string tree whose node texts live in a map from node to the texts of
// its columns (column -1 and 0 share the first).
class StringTreeTest : public ::testing::Test {
 protected:
  StringTreeTest() {
    host.Tree = &tree;
    tree.TreeOptions().SetAutoOptions(tree.TreeOptions().AutoOptions() - TLTAutoOptions{toAutoSort});
    tree.OnGetText = [this](TBaseLiveTree*, PLiveNode node, TColumnIndex column, TLSTTextType type, String& text) {
      ++textQuestions;
      auto found = texts.find(node);
      // A node that AddChild is still making shows the texts it is made with.
      const std::vector<String>& cells = found != texts.end() ? found->second : pending;
      if (found == texts.end() && pending.empty()) return;
      if (type == ttStatic) {
        if (staticTexts.count(node)) text = staticTexts[node];
        return;
      }
      size_t index = column < 0 ? 0 : static_cast<size_t>(column);
      if (index < cells.size()) text = cells[index];
    };
  }
  ~StringTreeTest() override { Detach(); }
  void Detach() {
    DetachTreeEvents(tree);
    tree.OnGetText = nullptr;
    tree.OnNewText = nullptr;
    tree.OnPaintText = nullptr;
  }
  PLiveNode Add(PLiveNode parent, std::vector<String> cells) {
    pending = cells;
    PLiveNode node = tree.AddChild(parent);
    pending.clear();
    texts[node] = std::move(cells);
    return node;
  }

  TFakeLiveTreeHost host;
  TLiveStringTree tree{&host};
  std::map<PLiveNode, std::vector<String>> texts;
  std::map<PLiveNode, String> staticTexts;
  std::vector<String> pending;
  int textQuestions = 0;
  static constexpr Integer W = TFakeLiveTreeHost::CharWidth;
};

TEST_F(StringTreeTest, CellsWithoutHandlerShowTheDefaultText) {
  tree.OnGetText = nullptr;
  PLiveNode node = tree.AddChild(nullptr);
  EXPECT_EQ(tree.NodeText(node, NoColumn), u"Node");
  EXPECT_EQ(tree.NodeText(node, 3), u"Node");
  EXPECT_EQ(tree.NodeStaticText(node, NoColumn), u"");
  EXPECT_FALSE(tree.IsCellEmpty(node, 1));
  EXPECT_THROW(tree.NodeText(nullptr, 0), EAssertionFailed);
  int invalidations = host.Invalidations;
  tree.SetDefaultText(u"Node");
  EXPECT_EQ(host.Invalidations, invalidations) << "an unchanged default text does not repaint";
  tree.SetDefaultText(u"Item");
  EXPECT_EQ(tree.NodeText(node, 0), u"Item");
  EXPECT_GT(host.Invalidations, invalidations);
}

TEST_F(StringTreeTest, StaticTextsCountOnlyWhenShownAndNotCentred) {
  PLiveNode node = Add(nullptr, {u"abc"});
  EXPECT_EQ(tree.NodeExtraWidth(node, NoColumn), 0) << "a handler that gives no static text";
  staticTexts[node] = u"(12)";
  EXPECT_EQ(tree.NodeExtraWidth(node, NoColumn), 0) << "toShowStaticText is off";
  tree.SetStringOptions(tree.StringOptions() + TLTStringOptions{toShowStaticText});
  EXPECT_EQ(tree.NodeExtraWidth(node, NoColumn), tree.TextMargin() + 4 * W);
  tree.SetAlignment(taCenter);
  EXPECT_EQ(tree.NodeExtraWidth(node, NoColumn), 0);
}

TEST(ShortenText, KeepsTheLongestPrefixThatFitsWithTheEllipsis) {
  TFakeLiveTreeHost host;
  TLiveTreeFont font;
  constexpr Integer W = TFakeLiveTreeHost::CharWidth;
  struct Case {
    const char16_t* text;
    Integer width;
    const char16_t* expected;
  } cases[] = {{u"Hello World", 5 * W, u"He..."},
               {u"Hello World", 5 * W - 1, u"H..."},
               {u"Hello", 100 * W, u"Hell..."},
               {u"Hello", 3 * W, u"..."},
               {u"Hello", 3 * W - 1, u""},
               {u"", 50, u""},
               {u"Hello", 0, u""}};
  for (const Case& c : cases) EXPECT_EQ(ShortenText(host, font, c.text, c.width, 0), c.expected) << c.width;
  EXPECT_EQ(ShortenText(host, font, u"Hello", 4 * W, 2 * W), u"He...") << "a given ellipsis width is used";
}

TEST_F(StringTreeTest, NodeWidthIsCachedForTheMainColumn) {
  PLiveNode node = Add(nullptr, {u"abc", u"de"});
  Integer margins = 2 * tree.TextMargin();
  EXPECT_EQ(tree.CachedTextWidth(node), 0);
  EXPECT_EQ(tree.MeasureNodeWidth(node, NoColumn), margins + 3 * W);
  EXPECT_EQ(tree.CachedTextWidth(node), margins + 3 * W);
  texts[node][0] = u"abcdef";
  EXPECT_EQ(tree.MeasureNodeWidth(node, NoColumn), margins + 3 * W) << "the cache answers";
  tree.InvalidateNode(node);
  EXPECT_EQ(tree.MeasureNodeWidth(node, NoColumn), margins + 6 * W);
  texts[node][0] = u"a";
  TLiveTreeFont font = tree.Font();
  font.Height = -12;
  tree.SetFont(font);
  EXPECT_EQ(tree.CachedTextWidth(node), 0) << "a new font clears every cache";
  EXPECT_EQ(tree.EllipsisWidth(), 3 * W);
  EXPECT_EQ(tree.TextHeight(), TFakeLiveTreeHost::LineHeight);
  tree.Header().Columns().Add();
  tree.Header().Columns().Add();
  EXPECT_EQ(tree.MeasureNodeWidth(node, 0), margins + 1 * W);
  EXPECT_EQ(tree.MeasureNodeWidth(node, 1), margins + 2 * W) << "other columns are measured every time";
  tree.Header().SetMainColumn(1);
  EXPECT_EQ(tree.CachedTextWidth(node), 0) << "a new main column clears every cache";
  EXPECT_EQ(tree.CachedTextWidth(nullptr), 0);
  EXPECT_EQ(tree.CachedTextWidth(tree.RootNode()), 0);
}

TEST_F(StringTreeTest, PaintTextHandlersChangeTheMeasuringFont) {
  PLiveNode node = Add(nullptr, {u"abc"});
  tree.OnPaintText = [](TBaseLiveTree*, TCanvas* canvas, PLiveNode, TColumnIndex, TLSTTextType) {
    TFakeLiveTreeHost::FontOf(canvas).Style = {fsBold};
  };
  EXPECT_EQ(tree.MeasureNodeWidth(node, NoColumn), 2 * tree.TextMargin() + 3 * (W + 1));
}

TEST_F(StringTreeTest, MeasureEventsAdjustTheExtent) {
  PLiveNode node = Add(nullptr, {u"abc"});
  tree.OnMeasureTextWidth = [](TBaseLiveTree*, TCanvas*, PLiveNode, TColumnIndex, const String& text, Integer& extent) {
    extent += static_cast<Integer>(text.size());
  };
  EXPECT_EQ(tree.MeasureNodeWidth(node, NoColumn), 2 * tree.TextMargin() + 3 * W + 3);
  tree.OnMeasureTextWidth = nullptr;
}

TEST_F(StringTreeTest, NodeHeightsWrapAtTheCellWidth) {
  PLiveNode node = Add(nullptr, {u"aa bb cc dd"});
  // Without columns the text wraps at the client width (300).
  EXPECT_EQ(tree.ComputeNodeHeight(nullptr, node, NoColumn), TFakeLiveTreeHost::LineHeight);
  host.Width = 5 * W;
  EXPECT_EQ(tree.ComputeNodeHeight(nullptr, node, NoColumn), 2 * TFakeLiveTreeHost::LineHeight);
  EXPECT_EQ(tree.ComputeNodeHeight(nullptr, node, NoColumn, u"aa"), TFakeLiveTreeHost::LineHeight);
  TLiveTreeColumn* column = tree.Header().Columns().Add();
  tree.Header().Columns().Add();
  // Main column: margins, indentation of one level (toShowRoot) and the
  // text margin on the right leave room for 2 words.
  column->SetWidth(tree.TextMargin() + tree.Margin() + static_cast<Integer>(tree.Indent()) + 5 * W + tree.TextMargin());
  EXPECT_EQ(tree.ComputeNodeHeight(nullptr, node, 0), 2 * TFakeLiveTreeHost::LineHeight);
  tree.Header().Columns()[1]->SetWidth(30);
  EXPECT_EQ(tree.ComputeNodeHeight(nullptr, node, 1, u"aa bb cc dd"), 4 * TFakeLiveTreeHost::LineHeight)
      << "one word per line";
}

TEST_F(StringTreeTest, IncrementalSearchMatchesPrefixesWithCase) {
  PLiveNode abc = Add(nullptr, {u"Abc"});
  PLiveNode lower = Add(nullptr, {u"abc"});
  PLiveNode inner = Add(nullptr, {u"xAb"});
  EXPECT_EQ(tree.IncrementalSearchCompare(abc, u"Ab"), 0);
  EXPECT_NE(tree.IncrementalSearchCompare(lower, u"Ab"), 0);
  EXPECT_NE(tree.IncrementalSearchCompare(inner, u"Ab"), 0);
  EXPECT_NE(tree.IncrementalSearchCompare(abc, u""), 0) << "an empty text matches nothing";
  tree.OnIncrementalSearch = [](TBaseLiveTree*, PLiveNode, const String& text, Integer& result) {
    result = text == u"x" ? 0 : 5;
  };
  EXPECT_EQ(tree.IncrementalSearchCompare(lower, u"x"), 0);
  EXPECT_EQ(tree.IncrementalSearchCompare(abc, u"Ab"), 5) << "the handler decides";
}

TEST_F(StringTreeTest, PathsEndWithTheDelimiter) {
  PLiveNode a = Add(nullptr, {u"A"});
  PLiveNode b = Add(a, {u"B"});
  PLiveNode c = Add(b, {u"C"});
  PLiveNode x = Add(nullptr, {u"X"});
  EXPECT_EQ(tree.Path(c, 0, ttNormal, u'\\'), u"A\\B\\C\\");
  EXPECT_EQ(tree.Path(x, 0, ttNormal, u'/'), u"X/");
  EXPECT_EQ(tree.Path(nullptr, 0, ttNormal, u'/'), u"/");
  EXPECT_EQ(tree.Path(tree.RootNode(), 0, ttNormal, u'/'), u"/");
  PLiveNode silent = tree.AddChild(a);
  EXPECT_EQ(tree.Path(silent, 0, ttNormal, u'/'), u"A//") << "a level without text stays empty";
}

TEST_F(StringTreeTest, RefilledTreesSelectTheSameTextsAgain) {
  tree.TreeOptions().SetSelectionOptions({toMultiSelect, toRestoreSelection});
  auto fill = [&](std::vector<String> names) {
    std::vector<PLiveNode> nodes;
    for (const String& name : names) nodes.push_back(Add(nullptr, {name}));
    return nodes;
  };
  std::vector<PLiveNode> nodes = fill({u"alpha", u"beta", u"gamma"});
  tree.SetSelected(nodes[0], true);
  tree.SetSelected(nodes[2], true);
  tree.SetSelected(nodes[0], false);
  tree.Clear();
  texts.clear();
  nodes = fill({u"ALPHA", u"Gamma", u"delta"});
  EXPECT_FALSE(tree.Selected(nodes[0])) << "unselected before the clear";
  EXPECT_TRUE(tree.Selected(nodes[1])) << "the list ignores letter case";
  EXPECT_FALSE(tree.Selected(nodes[2]));
  EXPECT_EQ(tree.SelectedCount(), 1);
  EXPECT_EQ(CheckTreeInvariants(tree), "");
}

TEST_F(StringTreeTest, CaptionChunksCarryTheMainColumnText) {
  PLiveNode a = Add(nullptr, {u"Alpha"});
  Add(a, {u"Beta"});
  tree.ValidateNode(nullptr, true);
  TBytesStream stream;
  tree.SaveToStream(stream);
  // Anchor + base (with the nested child) + caption chunk of 8 + 10 bytes.
  TFakeLiveTreeHost otherHost;
  TLiveStringTree other(&otherHost);
  std::vector<String> arrived;
  other.OnNewText = [&](TBaseLiveTree*, PLiveNode, TColumnIndex column, const String& text) {
    EXPECT_EQ(column, NoColumn);
    arrived.push_back(text);
  };
  stream.SetPosition(0);
  other.LoadFromStream(stream);
  EXPECT_EQ(arrived, (std::vector<String>{u"Beta", u"Alpha"})) << "a child's chunk ends before its parent's caption";
  other.OnNewText = nullptr;

  tree.SetStringOptions(tree.StringOptions() - TLTStringOptions{toSaveCaptions});
  TBytesStream without;
  tree.SaveToStream(without);
  EXPECT_EQ(without.Size() + 2 * 8 + 2 * 5 + 2 * 4, stream.Size());
}

TEST_F(StringTreeTest, OddCaptionChunksDropTheirLastByte) {
  using namespace LiveTreeStreamIO;
  TBytesStream stream;
  stream.WriteBuffer(u"\u2045VT\u0002 \u2046", 12);
  WriteInteger(stream, 1);
  WriteInteger(stream, 1);
  WriteInteger(stream, 25 + 8 + 5);
  WriteInteger(stream, 2);
  WriteInteger(stream, 17);
  for (Integer value : {0, 18}) WriteInteger(stream, value);
  Byte rest[] = {0x81, 0, 50, 0, 0, 0, 0, 0, 0};
  stream.WriteBuffer(rest, sizeof(rest));
  WriteInteger(stream, 3);
  WriteInteger(stream, 5);
  Byte caption[] = {'O', 0, 'K', 0, '!'};
  stream.WriteBuffer(caption, sizeof(caption));
  stream.SetPosition(0);
  String arrived;
  tree.OnNewText = [&](TBaseLiveTree*, PLiveNode, TColumnIndex, const String& text) { arrived = text; };
  tree.LoadFromStream(stream);
  EXPECT_EQ(arrived, u"OK");
  EXPECT_EQ(tree.RootNodeCount(), 1u);
}

TEST_F(StringTreeTest, AutoFitMakesColumnsAsWideAsTheirWidestCell) {
  TLiveTreeColumns& columns = tree.Header().Columns();
  columns.Add()->SetWidth(40);
  columns.Add()->SetWidth(40);
  PLiveNode a = Add(nullptr, {u"Alpha", u"1"});
  Add(a, {u"Be", u"123456789012"});
  tree.ToggleNode(a);
  Integer margins = 2 * tree.TextMargin();
  // The main column: margin, one level of indentation with toShowRoot (two
  // for the child) and the text.
  Integer mainWidth = std::max(tree.Margin() + static_cast<Integer>(tree.Indent()) + margins + 5 * W,
                               tree.Margin() + 2 * static_cast<Integer>(tree.Indent()) + margins + 2 * W);
  EXPECT_EQ(tree.GetMaxColumnWidth(0), mainWidth);
  EXPECT_EQ(tree.GetMaxColumnWidth(1), tree.Margin() + margins + 12 * W);
  std::vector<TColumnIndex> fitted;
  tree.OnAfterAutoFitColumn = [&](TLTHeader*, TColumnIndex column) { fitted.push_back(column); };
  tree.OnBeforeAutoFitColumn = [](TLTHeader*, TColumnIndex column, TSmartAutoFitType&, bool& allowed) {
    allowed = column != 0;
  };
  tree.Header().AutoFitColumns(false, smaNoColumn);
  EXPECT_EQ(fitted, (std::vector<TColumnIndex>{1}));
  EXPECT_EQ(columns[0]->Width(), 40);
  EXPECT_EQ(columns[1]->Width(), tree.Margin() + margins + 12 * W);
}

}  // namespace
