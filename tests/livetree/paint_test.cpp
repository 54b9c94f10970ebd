// The tree's painter: which rows it visits, what it draws in them and in
// which colours, recorded from a surface that keeps every call.
#include <gtest/gtest.h>

#include <map>

#include "livetree/drawtree.h"
#include "livetree/stringtree.h"
#include "rtl/numbers.h"
#include "support/livetree_fakehost.h"

namespace {

struct Drawn {
  enum Kind { Fill, Frame, Round, Poly, Pattern, Focus, Blend, Image, Check, Text } What;
  TRect R;  // target coordinates
  TColor Color = clNone;
  String Caption;
  Integer Index = -1;
};

// Keeps every drawing call in target coordinates.
class RecordingCanvas : public ILiveTreeCanvas {
 public:
  explicit RecordingCanvas(TFakeLiveTreeHost& host) : FHost(&host) {}
  std::vector<Drawn> Calls;

  TCanvas* EventCanvas() override { return FHost->Canvas(); }
  void SetOrigin(Integer x, Integer y) override { FOrigin = Point(x, y); }
  void SetClip(const TRect&) override {}
  void ClearClip() override {}
  void SetBrushOrigin(Integer, Integer) override {}
  void FillRect(const TRect& r, TColor color) override { Add(Drawn::Fill, r, color); }
  void FrameRect(const TRect& r, TColor color) override { Add(Drawn::Frame, r, color); }
  void RoundRect(const TRect& r, Integer, TColor fill, TColor) override { Add(Drawn::Round, r, fill); }
  void Polygon(const std::vector<TPoint>&, TColor color) override { Add(Drawn::Poly, {}, color); }
  void PatternRect(const TRect& r, const TLTLinePattern&, TColor foreground, TColor) override {
    Add(Drawn::Pattern, r, foreground);
  }
  void FocusRect(const TRect& r) override { Add(Drawn::Focus, r, clNone); }
  void BlendRect(const TRect& r, TColor color, Byte) override { Add(Drawn::Blend, r, color); }
  void Image(TLTImageListKind, Integer index, Integer x, Integer y, const TLTImageStyle&) override {
    Add(Drawn::Image, Rect(x, y, x + 16, y + 16), clNone).Index = index;
  }
  void CheckImage(TCheckImageKind, Integer index, Integer x, Integer y, TColor) override {
    Add(Drawn::Check, Rect(x, y, x + 16, y + 16), clNone).Index = index;
  }
  void SetFont(const TLiveTreeFont& font) override { TFakeLiveTreeHost::FontOf(FHost->Canvas()) = font; }
  TLiveTreeFont Font() override { return TFakeLiveTreeHost::FontOf(FHost->Canvas()); }
  void Text(const String& text, const TRect& r, Cardinal, bool, TColor) override {
    Add(Drawn::Text, r, Font().Color).Caption = text;
  }

  std::vector<Drawn> Of(Drawn::Kind kind) const {
    std::vector<Drawn> result;
    for (const Drawn& d : Calls)
      if (d.What == kind) result.push_back(d);
    return result;
  }
  std::vector<String> Texts() const {
    std::vector<String> result;
    for (const Drawn& d : Of(Drawn::Text)) result.push_back(d.Caption);
    return result;
  }

 private:
  Drawn& Add(Drawn::Kind kind, TRect r, TColor color) {
    r = Rect(r.Left + FOrigin.X, r.Top + FOrigin.Y, r.Right + FOrigin.X, r.Bottom + FOrigin.Y);
    Calls.push_back(Drawn{kind, r, color, {}, -1});
    return Calls.back();
  }
  TFakeLiveTreeHost* FHost;
  TPoint FOrigin;
};

class PaintTest : public ::testing::Test {
 protected:
  PaintTest() {
    host.Tree = &tree;
    host.Height = 90;  // five rows of 18
    tree.SetNodeDataSize(0);
    tree.OnGetText = [](TBaseLiveTree*, PLiveNode node, TColumnIndex column, TLSTTextType type, String& text) {
      if (type == ttNormal) text = u"N" + IntToStr(node->Index) + (column > 0 ? u"c" + IntToStr(column) : u"");
    };
  }
  ~PaintTest() override { DetachTreeEvents(tree); }

  RecordingCanvas Paint(Integer top = 0) {
    RecordingCanvas canvas(host);
    tree.PaintTree(canvas, Rect(0, top, host.Width, top + host.Height), Point(0, 0), ScreenPaintOptions);
    return canvas;
  }

  TFakeLiveTreeHost host;
  TLiveStringTree tree{&host};
};

TEST_F(PaintTest, OnlyTheRowsInTheWindowAreVisitedAndTheRestIsBackground) {
  tree.SetRootNodeCount(100000);
  int asked = 0;
  tree.OnGetText = [&](TBaseLiveTree*, PLiveNode node, TColumnIndex, TLSTTextType type, String& text) {
    ++asked;
    if (type == ttNormal) text = u"N" + IntToStr(node->Index);
  };
  RecordingCanvas canvas = Paint();
  EXPECT_EQ(canvas.Texts(), (std::vector<String>{u"N0", u"N1", u"N2", u"N3", u"N4"}));
  EXPECT_LT(asked, 40);

  // Scrolled by two and a half rows: the window starts inside row 2.
  canvas = Paint(45);
  std::vector<Drawn> texts = canvas.Of(Drawn::Text);
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[0].Caption, u"N2");
  EXPECT_EQ(texts[0].R.Top, -9);  // half of row 2 is above the target
  EXPECT_EQ(texts[5].Caption, u"N7");

  // Three nodes leave room below them, filled with the tree colour.
  tree.SetRootNodeCount(3);
  canvas = Paint();
  EXPECT_EQ(canvas.Texts().size(), 3u);
  const Drawn below = canvas.Of(Drawn::Fill).back();
  EXPECT_EQ(below.R, Rect(0, 54, host.Width, 90));
  EXPECT_EQ(below.Color, clWindow);
}

TEST_F(PaintTest, SelectionAndFocusFollowTheColourTableAndTheFocus) {
  tree.SetRootNodeCount(3);
  PLiveNode second = tree.GetFirst()->NextSibling;
  tree.SetFocusedNode(second);
  tree.SetSelected(second, true);
  tree.PaintSettings().Colors[ciFocusedSelectionColor] = clRed;
  tree.PaintSettings().Colors[ciUnfocusedSelectionColor] = clSilver;
  tree.PaintSettings().Colors[ciSelectionTextColor] = clYellow;

  struct Case {
    bool focused;
    bool hideSelection;  // toHideSelection
    TColor fill;         // clNone: no selection drawn
    TColor text;
    bool focusRect;
  } cases[] = {
      {true, false, clRed, clYellow, true},
      {false, false, clSilver, clWindowText, false},
      {false, true, clNone, clWindowText, false},
      {true, true, clRed, clYellow, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "focused " << c.focused << " hide " << c.hideSelection);
    host.HasFocus = c.focused;
    TLTPaintOptions options = tree.TreeOptions().PaintOptions() - TLTPaintOptions{toHideSelection};
    if (c.hideSelection) options += toHideSelection;
    tree.TreeOptions().SetPaintOptions(options);
    RecordingCanvas canvas = Paint();
    std::vector<Drawn> rounds = canvas.Of(Drawn::Round);
    if (c.fill == clNone) {
      EXPECT_TRUE(rounds.empty());
    } else {
      ASSERT_EQ(rounds.size(), 1u);
      EXPECT_EQ(rounds[0].Color, c.fill);
      EXPECT_EQ(rounds[0].R.Top, 18);
      EXPECT_EQ(rounds[0].R.Bottom, 36);
    }
    std::vector<Drawn> texts = canvas.Of(Drawn::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].Color, c.text);
    EXPECT_EQ(texts[0].Color, clWindowText);
    std::vector<Drawn> focus = canvas.Of(Drawn::Focus);
    EXPECT_EQ(focus.size(), c.focusRect ? 1u : 0u);
    if (!focus.empty()) {
      EXPECT_EQ(focus[0].R.Top, 18);
      // The focus rectangle is fitted to the text, not the whole row.
      EXPECT_LT(focus[0].R.Right, host.Width);
    }
  }
}

TEST_F(PaintTest, TreeLinesButtonsAndCheckImagesOfANestedTree) {
  TTestTreeBuilder build;
  tree.SetNodeDataSize(sizeof(void*));
  build.Build(tree, "A(B,C(D)),E");
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toCheckSupport});
  host.ImageLists[ilCheck] = TSize{16, 16};
  tree.SetCheckType(build["B"], ctCheckBox);
  tree.SetCheckState(build["B"], csCheckedNormal);
  tree.FullExpand();

  struct LineCase {
    const char* node;
    TLineImage lines;
  } lineCases[] = {
      {"A", {ltBottomRight}},
      {"B", {ltTopDown, ltTopDownRight}},
      {"C", {ltTopDown, ltTopRight}},
      {"D", {ltTopDown, ltNone, ltTopRight}},
      {"E", {ltTopRight}},
  };
  for (const LineCase& c : lineCases) {
    TLineImage image;
    tree.BuildLineImage(build[c.node], image);
    EXPECT_EQ(image, c.lines) << c.node;
  }

  RecordingCanvas canvas = Paint();
  // Buttons: A and C have children; each is a framed square in the line colour.
  std::vector<Drawn> frames = canvas.Of(Drawn::Frame);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].R.Top / 18, 0);
  EXPECT_EQ(frames[1].R.Top / 18, 2);
  EXPECT_EQ(frames[0].R.Right - frames[0].R.Left, 9);
  EXPECT_EQ(frames[0].Color, clBtnShadow);
  // Only B shows a check box, the checked one.
  std::vector<Drawn> checks = canvas.Of(Drawn::Check);
  ASSERT_EQ(checks.size(), 1u);
  EXPECT_EQ(checks[0].Index, 13);
  EXPECT_EQ(checks[0].R.Top / 18, 1);
  // Text of deeper nodes starts further right, by one indentation a level.
  std::vector<Drawn> texts = canvas.Of(Drawn::Text);
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[3].R.Left - texts[2].R.Left, 18);
  // Tree lines are drawn in the line colour.
  for (const Drawn& line : canvas.Of(Drawn::Pattern)) EXPECT_EQ(line.Color, clBtnShadow);
  EXPECT_FALSE(canvas.Of(Drawn::Pattern).empty());
}

TEST_F(PaintTest, CheckImageIndicesFollowTypeStateAndLook) {
  struct Case {
    TCheckType type;
    TCheckState state;
    bool enabled, hot;
    Integer index;
  } cases[] = {
      {ctNone, csCheckedNormal, true, false, -1},          {ctCheckBox, csUncheckedNormal, true, false, 9},
      {ctTriStateCheckBox, csMixedNormal, true, true, 18}, {ctRadioButton, csCheckedNormal, false, false, 8},
      {ctButton, csUncheckedPressed, true, false, 23},     {ctCheckBox, csCheckedPressed, true, true, 15},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckImageIndexFor(c.type, c.state, c.enabled, c.hot), c.index);
  EXPECT_EQ(RoundHalfEven(4.0), 4);
  EXPECT_EQ(RoundHalfEven(8.5), 8);
  EXPECT_EQ(RoundHalfEven(9.5), 10);
}

TEST_F(PaintTest, ColumnsShortenTheirTextsAndFillTheirColours) {
  tree.SetRootNodeCount(2);
  TLiveTreeColumns& columns = tree.Header().Columns();
  columns.Add()->SetWidth(120);
  TLiveTreeColumn* narrow = columns.Add();
  narrow->SetWidth(60);
  narrow->SetOptions(narrow->Options() - TLTColumnOptions{coParentColor});
  narrow->SetColor(clAqua);
  tree.OnGetText = [](TBaseLiveTree*, PLiveNode node, TColumnIndex column, TLSTTextType type, String& text) {
    if (type == ttNormal) text = column == 1 ? u"a long text" : u"N" + IntToStr(node->Index);
  };
  RecordingCanvas canvas = Paint();
  std::vector<String> texts = canvas.Texts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0], u"N0");
  EXPECT_EQ(texts[1].substr(texts[1].size() - 3), u"...");
  EXPECT_LT(texts[1].size(), 11u);
  // The narrow column's own colour fills its cells and the area below.
  int aqua = 0;
  for (const Drawn& fill : canvas.Of(Drawn::Fill))
    if (fill.Color == clAqua) {
      ++aqua;
      EXPECT_EQ(fill.R.Left, 120);
    }
  EXPECT_EQ(aqua, 3);
}

TEST_F(PaintTest, APaintInsideAPaintDoesNothingAndAnEmptyTreeShowsItsMessage) {
  tree.SetRootNodeCount(2);
  int nested = 0;
  tree.OnBeforePaint = [&](TBaseLiveTree*, TCanvas*) {
    RecordingCanvas inner(host);
    tree.PaintTree(inner, Rect(0, 0, 100, 100), Point(0, 0), ScreenPaintOptions);
    nested += static_cast<int>(inner.Calls.size());
  };
  RecordingCanvas canvas = Paint();
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(canvas.Texts().size(), 2u);
  tree.OnBeforePaint = nullptr;

  tree.Clear();
  tree.SetEmptyListMessage(u"Nothing here");
  canvas = Paint();
  std::vector<Drawn> texts = canvas.Of(Drawn::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Caption, u"Nothing here");
  EXPECT_EQ(texts[0].Color, clGrayText);
  EXPECT_EQ(texts[0].R.Left, 2);
}

TEST_F(PaintTest, StaticTextFollowsTheNormalTextAndMultiLineNodesWrap) {
  tree.SetStringOptions(tree.StringOptions() + TLTStringOptions{toShowStaticText});
  tree.OnInitNode = [](TBaseLiveTree*, PLiveNode, PLiveNode node, TLiveNodeInitStates& states) {
    if (node->Index == 1) states += ivsMultiline;
  };
  tree.OnGetText = [](TBaseLiveTree*, PLiveNode node, TColumnIndex, TLSTTextType type, String& text) {
    text = type == ttStatic ? u"(static)" : u"N" + IntToStr(node->Index);
  };
  tree.SetRootNodeCount(2);
  RecordingCanvas canvas = Paint();
  std::vector<Drawn> texts = canvas.Of(Drawn::Text);
  // The single-line node shows its static text right of the normal text;
  // the multi-line node has none.
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].Caption, u"N0");
  EXPECT_EQ(texts[1].Caption, u"(static)");
  EXPECT_GE(texts[1].R.Left, texts[0].R.Left + 2 * TFakeLiveTreeHost::CharWidth);
  EXPECT_EQ(texts[2].Caption, u"N1");
}

TEST_F(PaintTest, TheDrawTreeHandsEachCellToItsOwner) {
  TLiveDrawTree drawTree(&host);
  drawTree.SetNodeDataSize(0);
  drawTree.SetRootNodeCount(3);
  std::vector<std::pair<Cardinal, TRect>> cells;
  drawTree.OnDrawNode = [&](TBaseLiveTree*, const TLTPaintInfo& info) {
    cells.emplace_back(info.Node->Index, info.ContentRect);
  };
  RecordingCanvas canvas(host);
  drawTree.PaintTree(canvas, Rect(0, 0, host.Width, host.Height), Point(0, 0), ScreenPaintOptions);
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[2].first, 2u);
  // Row-relative: every cell's content starts at the row's top.
  EXPECT_EQ(cells[2].second.Top, 0);
  EXPECT_EQ(cells[2].second.Bottom, 18);
  DetachTreeEvents(drawTree);
}

TEST_F(PaintTest, BandsReplaceTreeLinesOnlyWithGridLines) {
  TTestTreeBuilder build;
  tree.SetNodeDataSize(sizeof(void*));
  build.Build(tree, "A(B),C");
  tree.FullExpand();
  tree.PaintSettings().LineMode = lmBands;
  tree.PaintSettings().Colors[ciGridLineColor] = clLime;
  RecordingCanvas canvas = Paint();
  int lime = 0, shadow = 0;
  for (const Drawn& line : canvas.Of(Drawn::Pattern)) {
    if (line.Color == clLime) ++lime;
    if (line.Color == clBtnShadow) ++shadow;
  }
  EXPECT_GT(lime, 0);
  EXPECT_EQ(shadow, 0);
  RecordingCanvas unbuffered(host);
  tree.PaintTree(unbuffered, Rect(0, 0, host.Width, host.Height), Point(0, 0),
                 ScreenPaintOptions - TLTInternalPaintOptions{poGridLines});
  EXPECT_TRUE(unbuffered.Of(Drawn::Pattern).empty());
}

}  // namespace
