// Columns and the header: defaults, positions, geometry, index bookkeeping on
// deletion, limits, sorting, clicks, proportional resizing, heights and the
// header and column streams.
#include <gtest/gtest.h>

#include "livetree/basetree.h"
#include "livetree/livetreeheader.h"
#include "livetree/livetreestreamio.h"
#include "rtl/streams.h"
#include "support/livetree_fakehost.h"

namespace {

class HeaderTest : public ::testing::Test {
 protected:
  HeaderTest() { host.Tree = &tree; }
  ~HeaderTest() override { DetachTreeEvents(tree); }

  TLiveTreeColumns& Columns() { return tree.Header().Columns(); }
  TLiveTreeColumn* AddColumns(std::initializer_list<Integer> widths) {
    TLiveTreeColumn* last = nullptr;
    for (Integer width : widths) {
      last = Columns().Add();
      last->SetWidth(width);
    }
    return last;
  }
  // Whether the position array is a permutation that agrees with every
  // column's Position and Left.
  std::string PositionProblems() {
    const auto& positions = Columns().PositionToIndex();
    if (static_cast<Integer>(positions.size()) != Columns().Count()) return "length";
    std::vector<bool> seen(positions.size(), false);
    Integer left = 0;
    for (size_t i = 0; i < positions.size(); ++i) {
      TColumnIndex index = positions[i];
      if (index < 0 || index >= Columns().Count() || seen[static_cast<size_t>(index)]) return "not a permutation";
      seen[static_cast<size_t>(index)] = true;
      if (Columns()[index]->Position() != i) return "position";
      if (Columns()[index]->Left() != left) return "left";
      if (Columns()[index]->Options().Contains(coVisible)) left += Columns()[index]->Width();
    }
    return "";
  }

  TFakeLiveTreeHost host;
  TBaseLiveTree tree{&host};
};

TEST_F(HeaderTest, NewColumnsTakeTheDefaults) {
  EXPECT_EQ(tree.Header().MainColumn(), NoColumn) << "no columns";
  TLiveTreeColumn* first = Columns().Add();
  TLiveTreeColumn* second = Columns().Add();
  EXPECT_EQ(second->Width(), 50);
  EXPECT_EQ(second->MinWidth(), 10);
  EXPECT_EQ(second->MaxWidth(), 10000);
  EXPECT_EQ(second->Position(), 1u);
  EXPECT_EQ(second->Options().ToBits(), 0x88FF);
  EXPECT_EQ(second->Left(), 50);
  EXPECT_EQ(first->Index(), 0);
  EXPECT_EQ(tree.Header().MainColumn(), 0);
  EXPECT_EQ(tree.Header().Options().ToBits(), 522u);
  EXPECT_EQ(PositionProblems(), "");
}

TEST_F(HeaderTest, HiddenColumnsTakeNoRoom) {
  AddColumns({120, 75, 73});
  Columns()[1]->SetOptions(Columns()[1]->Options() - TLTColumnOptions{coVisible});
  EXPECT_EQ(Columns()[2]->Left(), 120);
  EXPECT_EQ(Columns().TotalWidth(), 193);
  EXPECT_EQ(Columns().ColumnFromPosition(Point(130, 5)), 2);
  EXPECT_EQ(Columns().ColumnFromPosition(Point(119, 5)), 0);
  EXPECT_EQ(Columns().ColumnFromPosition(Point(193, 5)), InvalidColumn);
  EXPECT_EQ(Columns().ColumnFromPosition(Point(-1, 5)), InvalidColumn);
  EXPECT_EQ(Columns().ColumnFromPosition(TColumnPosition{2}), 2);
  EXPECT_EQ(Columns().ColumnFromPosition(TColumnPosition{3}), NoColumn);
  EXPECT_EQ(Columns().GetNextVisibleColumn(0), 2);
  EXPECT_EQ(Columns().GetNextVisibleColumn(2), InvalidColumn);
  EXPECT_EQ(Columns().GetPreviousVisibleColumn(2), 0);
  EXPECT_EQ(Columns().GetVisibleColumns(), (TColumnsArray{0, 2}));
  Columns()[0]->SetOptions(Columns()[0]->Options() - TLTColumnOptions{coAllowFocus});
  EXPECT_EQ(Columns().GetFirstVisibleColumn(true), 2);
  EXPECT_EQ(Columns().GetFirstVisibleColumn(false), 0);
  EXPECT_EQ(Columns().GetScrollWidth(), 96) << "(120 + 73) / 2 rounds to even";
}

TEST_F(HeaderTest, AutoSizeColumnTakesWhatTheOthersLeave) {
  AddColumns({100, 60});
  tree.Header().SetAutoSizeIndex(0);
  tree.Header().SetOptions(tree.Header().Options() + TLTHeaderOptions{hoAutoResize});
  EXPECT_EQ(Columns()[0]->Width(), 240) << "client width 300 minus 60";
  Columns()[0]->SetWidth(30);
  EXPECT_EQ(Columns()[0]->Width(), 240);
  Columns()[1]->SetWidth(100);
  EXPECT_EQ(Columns()[0]->Width(), 200);
  Columns()[0]->SetMaxWidth(150);
  EXPECT_EQ(Columns()[0]->Width(), 150);
}

TEST_F(HeaderTest, DeletingRenumbersTheHeaderIndices) {
  struct Case {
    TColumnIndex main, sort, deleted;
    Integer count;
    TColumnIndex mainAfter, sortAfter;
  } cases[] = {{0, 2, 0, 3, 0, 1}, {2, 1, 0, 3, 1, 0}, {1, 1, 1, 3, 0, NoColumn}, {0, 0, 0, 1, NoColumn, NoColumn}};
  for (const Case& c : cases) {
    Columns().Clear();
    for (Integer i = 0; i < c.count; ++i) Columns().Add()->SetText(String(1, static_cast<Char>(u'A' + i)));
    tree.Header().SetMainColumn(c.main);
    tree.Header().SetSortColumn(c.sort);
    String mainText = Columns()[c.main]->Text();
    Columns().Delete(c.deleted);
    EXPECT_EQ(tree.Header().MainColumn(), c.mainAfter) << c.main << " " << c.deleted;
    EXPECT_EQ(tree.Header().SortColumn(), c.sortAfter);
    if (c.main != c.deleted) {
      EXPECT_EQ(Columns()[c.mainAfter]->Text(), mainText) << "the same column stays main";
    }
    EXPECT_EQ(PositionProblems(), "");
  }
}

TEST_F(HeaderTest, WidthLimitsFollowEachOther) {
  TLiveTreeColumn* column = Columns().Add();
  column->SetMinWidth(20000);
  EXPECT_EQ(column->MinWidth(), 10000);
  EXPECT_EQ(column->Width(), 10000) << "re-clamped";
  column->SetMinWidth(-5);
  EXPECT_EQ(column->MinWidth(), 0);
  column->SetMinWidth(10);
  column->SetMaxWidth(5);
  EXPECT_EQ(column->MaxWidth(), 10);
  EXPECT_EQ(column->Width(), 10);
  column->SetMargin(-3);
  EXPECT_EQ(column->Margin(), 4);
  EXPECT_EQ(column->LastWidth(), 10000) << "the width before the last change";
}

TEST_F(HeaderTest, DisplayNameFallsBackForWideCharacters) {
  AddColumns({50, 50, 50});
  Columns()[1]->SetText(u"Caf\u00E9");
  Columns()[2]->SetText(u"\u0416ive");
  EXPECT_EQ(Columns()[1]->DisplayName(), u"Caf\u00E9");
  EXPECT_EQ(Columns()[2]->DisplayName(), u"Column 2");
}

TEST_F(HeaderTest, ShrinkingThePositionArrayKeepsAPermutation) {
  AddColumns({10, 20, 30, 40});
  // Display order D B A C, as indices 3 1 0 2.
  Columns()[3]->SetPosition(0);
  Columns()[1]->SetPosition(1);
  ASSERT_EQ(Columns().PositionToIndex(), (std::vector<TColumnIndex>{3, 1, 0, 2}));
  // A clear and refill inside one update leaves the old array to be fitted
  // to fewer columns at its end.
  Columns().BeginUpdate();
  Columns().Clear();
  Columns().Add();
  Columns().Add();
  Columns().EndUpdate();
  EXPECT_EQ(PositionProblems(), "");
  EXPECT_EQ(Columns().PositionToIndex(), (std::vector<TColumnIndex>{1, 0}));
}

TEST_F(HeaderTest, DroppedColumnsTakeTheirNewPosition) {
  struct Case {
    bool before;
    TColumnPosition expected;
  } cases[] = {{false, 2}, {true, 1}};
  for (const Case& c : cases) {
    Columns().Clear();
    AddColumns({10, 20, 30, 40});
    TColumnPosition position = TLTHeader::DropPosition(0, 2, c.before);
    EXPECT_EQ(position, c.expected);
    Columns()[0]->SetPosition(position);
    EXPECT_EQ(Columns()[0]->Position(), c.expected);
    EXPECT_EQ(PositionProblems(), "");
  }
  EXPECT_EQ(TLTHeader::DropPosition(3, 1, true), 1u);
  EXPECT_EQ(TLTHeader::DropPosition(3, 1, false), 2u);
  Columns()[0]->SetPosition(99);
  EXPECT_EQ(Columns()[0]->Position(), 3u) << "clamped to the last position";
}

TEST_F(HeaderTest, SortColumnIsClampedAndSortsOnlyWhenAutomatic) {
  AddColumns({50, 50, 50});
  tree.AddChild(nullptr);
  tree.AddChild(nullptr);
  int sorts = 0;
  tree.OnStartOperation = [&](TBaseLiveTree*, TLTOperationKind kind) { sorts += kind == okSortTree; };
  TLTHeader& header = tree.Header();
  header.SetSortColumn(5);
  EXPECT_EQ(header.SortColumn(), 2);
  EXPECT_EQ(sorts, 1) << "the default auto options hold toAutoSort";
  header.SetSortColumn(2);
  EXPECT_EQ(sorts, 1) << "an unchanged value does nothing";
  header.SetSortDirection(sdDescending);
  EXPECT_EQ(sorts, 2);
  header.SetSortColumn(-7);
  EXPECT_EQ(header.SortColumn(), NoColumn);
  EXPECT_EQ(sorts, 3);
  tree.BeginUpdate();
  header.SetSortColumn(1);
  EXPECT_EQ(sorts, 3) << "not inside an update";
  tree.EndUpdate();
  int afterUpdate = sorts;
  tree.TreeOptions().SetAutoOptions(tree.TreeOptions().AutoOptions() - TLTAutoOptions{toAutoSort});
  header.SetSortColumn(0);
  header.SetSortDirection(sdAscending);
  EXPECT_EQ(sorts, afterUpdate) << "neither toAutoSort nor hoHeaderClickAutoSort";
  header.SetOptions(header.Options() + TLTHeaderOptions{hoHeaderClickAutoSort});
  header.SetSortColumn(2);
  EXPECT_EQ(sorts, afterUpdate + 1);
}

TEST_F(HeaderTest, ClicksReportTheColumnAndButton) {
  AddColumns({100, 100});
  std::vector<TLTHeaderHitInfo> clicks;
  tree.OnHeaderClick = [&](TLTHeader*, const TLTHeaderHitInfo& info) { clicks.push_back(info); };
  Columns().PressColumn(Point(150, 5));
  EXPECT_EQ(Columns().DownIndex(), 1);
  Columns().ProcessHeaderClick(Point(150, 5), mbLeft, {}, false, false);
  Columns().ProcessHeaderClick(Point(20, 5), mbRight, {}, false, true);
  Columns().ProcessHeaderClick(Point(20, 5), mbLeft, {}, false, false);
  ASSERT_EQ(clicks.size(), 3u);
  EXPECT_EQ(clicks[0].Column, 1);
  EXPECT_EQ(clicks[0].Button, mbLeft);
  EXPECT_EQ(clicks[0].HitPosition, TLTHeaderHitPositions{hhiOnColumn});
  EXPECT_EQ(clicks[1].Column, 0) << "a forced click needs no press";
  EXPECT_EQ(clicks[1].Button, mbRight);
  EXPECT_EQ(clicks[2].Column, NoColumn) << "released on a column that was not pressed";
  EXPECT_EQ(clicks[2].HitPosition, TLTHeaderHitPositions{hhiNoWhere});
}

TEST_F(HeaderTest, HeaderClicksSortWithAutoSort) {
  AddColumns({100, 100});
  Columns()[1]->SetDefaultSortDirection(sdDescending);
  TLTHeader& header = tree.Header();
  header.SetOptions(header.Options() + TLTHeaderOptions{hoHeaderClickAutoSort});
  Columns().ProcessHeaderClick(Point(150, 5), mbLeft, {}, false, true);
  EXPECT_EQ(header.SortColumn(), 1);
  EXPECT_EQ(header.SortDirection(), sdDescending);
  Columns().ProcessHeaderClick(Point(150, 5), mbLeft, {}, false, true);
  EXPECT_EQ(header.SortDirection(), sdAscending) << "the sort column flips";
}

TEST_F(HeaderTest, ResizeColumnsHandsRoundingPixelsRoundRobin) {
  AddColumns({50, 50, 50});
  EXPECT_EQ(tree.Header().ResizeColumns(7, 0, 2, {coVisible}), 7);
  EXPECT_EQ(Columns()[0]->Width(), 53);
  EXPECT_EQ(Columns()[1]->Width(), 52);
  EXPECT_EQ(Columns()[2]->Width(), 52);
  EXPECT_EQ(tree.Header().ResizeColumns(7, 0, 2, {coVisible}), 7);
  EXPECT_EQ(Columns()[0]->Width(), 55);
  EXPECT_EQ(Columns()[1]->Width(), 55);
  EXPECT_EQ(Columns()[2]->Width(), 54);
  EXPECT_EQ(tree.Header().ResizeColumns(0, 0, 2), 0);
  Columns()[2]->SetMinWidth(54);
  EXPECT_EQ(tree.Header().ResizeColumns(-6, 0, 2), -6) << "the column at its minimum gives nothing";
  EXPECT_EQ(Columns()[2]->Width(), 54);
  EXPECT_EQ(Columns()[0]->Width() + Columns()[1]->Width(), 104);
  EXPECT_EQ(PositionProblems(), "");
}

TEST_F(HeaderTest, HeightIsClampedOnlyWithAWindow) {
  TLTHeader& header = tree.Header();
  header.SetHeight(5);
  EXPECT_EQ(header.Height(), 10);
  header.SetMaxHeight(30);
  header.SetHeight(50);
  EXPECT_EQ(header.Height(), 30);
  header.SetMinHeight(40);
  EXPECT_EQ(header.MinHeight(), 30) << "at most the maximum";
  host.Window = false;
  header.SetHeight(5);
  EXPECT_EQ(header.Height(), 5);
  EXPECT_TRUE(header.States().Contains(hsNeedScaling));
}

TEST_F(HeaderTest, SpringColumnsShareAWidthChange) {
  AddColumns({100, 100, 50});
  for (TColumnIndex i : {0, 1}) Columns()[i]->SetOptions(Columns()[i]->Options() + TLTColumnOptions{coAutoSpring});
  tree.Header().SetOptions(tree.Header().Options() + TLTHeaderOptions{hoAutoSpring});
  tree.Header().SpringColumns();
  host.Width = 341;
  tree.Header().SpringColumns();
  EXPECT_EQ(Columns()[0]->Width(), 120);
  EXPECT_EQ(Columns()[1]->Width(), 120);
  EXPECT_DOUBLE_EQ(Columns()[0]->SpringRest(), 0.5);
  host.Width = 342;
  tree.Header().SpringColumns();
  EXPECT_EQ(Columns()[0]->Width(), 121) << "the halves add up";
  EXPECT_EQ(Columns()[2]->Width(), 50);
}

// A column stream of an old version, written field by field.
TBytes OldColumnStream(Integer version, Integer options) {
  TBytesStream stream;
  using namespace LiveTreeStreamIO;
  WriteInteger(stream, 1);
  WriteCountedText(stream, u"Name");
  WriteCountedText(stream, u"");
  for (Integer value : {80, 10, 10000, 0, -1, 0, 4, 3, 0, options}) WriteInteger(stream, value);
  if (version >= 1) {
    WriteInteger(stream, 7);
    WriteInteger(stream, taRightJustify);
  }
  if (version >= 2) WriteInteger(stream, clWindow);
  WriteInteger(stream, 0);  // the position array
  return stream.Bytes();
}

TEST_F(HeaderTest, OldColumnStreamsUpgradeTheirOptions) {
  struct Case {
    Integer version, stored;
    Cardinal expected;
  } cases[] = {{1, 0x7F, 0xEF}, {0, 0x7F, 0xEF}, {2, 0x1FF, 0xFF}, {3, 0x1FF, 0x1FF}};
  for (const Case& c : cases) {
    TBytesStream stream(OldColumnStream(c.version, c.stored));
    Columns().LoadFromStream(stream, c.version);
    EXPECT_EQ(stream.Position(), stream.Size());
    ASSERT_EQ(Columns().Count(), 1);
    EXPECT_EQ(Columns()[0]->Options().ToBits(), c.expected) << c.version;
    EXPECT_EQ(Columns()[0]->Text(), u"Name");
    EXPECT_EQ(Columns()[0]->Alignment(), c.version >= 1 ? taRightJustify : taLeftJustify);
    EXPECT_EQ(PositionProblems(), "");
  }
}

TEST_F(HeaderTest, HeaderStreamRoundTrips) {
  TLTHeader& header = tree.Header();
  AddColumns({120, 75, 73});
  Columns()[0]->SetText(u"Name");
  Columns()[1]->SetHint(u"The value");
  Columns()[2]->SetCaptionAlignment(taCenter);
  Columns()[2]->SetPosition(0);
  header.SetMainColumn(1);
  header.SetSortColumn(2);
  header.SetHeight(24);
  TLiveTreeFont font;
  font.Name = u"Caf\u00E9 Sans";
  font.Style = {fsBold};
  header.SetFont(font);
  header.FixedAreaConstraints().SetMaxWidthPercent(40);
  TBytesStream stream;
  header.SaveToStream(stream);
  const TBytes& bytes = stream.Bytes();
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(TBytes(bytes.begin(), bytes.begin() + 8), (TBytes{0xFF, 0xFF, 0xFF, 0xFF, 6, 0, 0, 0}));

  TFakeLiveTreeHost otherHost;
  TBaseLiveTree other(&otherHost);
  stream.SetPosition(0);
  other.Header().LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), stream.Size());
  EXPECT_TRUE(other.Header().Columns().Equals(Columns()));
  EXPECT_EQ(other.Header().MainColumn(), 1);
  EXPECT_EQ(other.Header().SortColumn(), 2);
  EXPECT_EQ(other.Header().Height(), 24);
  EXPECT_EQ(other.Header().Font(), font);
  EXPECT_EQ(other.Header().FixedAreaConstraints().MaxWidthPercent(), 40);
  EXPECT_EQ(other.Header().Columns()[2]->CaptionAlignment(), taCenter);
  EXPECT_EQ(other.Header().Columns()[1]->Hint(), u"The value");
}

TEST_F(HeaderTest, ShortHeaderStreamsFailInTheStreamAndLeaveLoading) {
  AddColumns({120, 75});
  TBytesStream full;
  tree.Header().SaveToStream(full);
  for (size_t cut : {size_t{3}, size_t{12}, size_t{40}, full.Bytes().size() - 1}) {
    TBytesStream stream(TBytes(full.Bytes().begin(), full.Bytes().begin() + static_cast<std::ptrdiff_t>(cut)));
    TFakeLiveTreeHost otherHost;
    TBaseLiveTree other(&otherHost);
    EXPECT_THROW(other.Header().LoadFromStream(stream), EReadError) << cut;
    EXPECT_FALSE(other.Header().States().Contains(hsLoading));
  }
}

TEST_F(HeaderTest, FixedAreaLimitsFollowEachOther) {
  TLTFixedAreaConstraints& limits = tree.Header().FixedAreaConstraints();
  limits.SetMinWidthPercent(50);
  limits.SetMaxWidthPercent(30);
  EXPECT_EQ(limits.MinWidthPercent(), 30) << "a maximum below the minimum lowers it";
  limits.SetMinHeightPercent(20);
  limits.SetMaxHeightPercent(10);
  EXPECT_EQ(limits.MinHeightPercent(), 10);
  limits.SetMinHeightPercent(40);
  EXPECT_EQ(limits.MaxHeightPercent(), 40) << "a minimum above the maximum raises it";
  limits.SetMaxWidthPercent(150);
  EXPECT_EQ(limits.MaxWidthPercent(), 100);
}

TEST_F(HeaderTest, FixedColumnsStayWithinTheirShareOfTheWidth) {
  AddColumns({60, 60, 100});
  for (TColumnIndex i : {0, 1}) Columns()[i]->SetOptions(Columns()[i]->Options() + TLTColumnOptions{coFixed});
  TLTFixedAreaConstraints& limits = tree.Header().FixedAreaConstraints();
  limits.SetMaxHeightPercent(90);  // the width limits apply together with a height limit
  limits.SetMaxWidthPercent(50);
  EXPECT_EQ(Columns().GetVisibleFixedWidth(), 120) << "within half of the client width 300";
  Columns()[0]->SetWidth(200);
  EXPECT_EQ(Columns()[0]->Width(), 90);
  EXPECT_EQ(Columns().GetVisibleFixedWidth(), 150) << "a fixed column cannot grow past the limit";
  limits.SetMaxWidthPercent(40);
  EXPECT_LE(Columns().GetVisibleFixedWidth(), 120) << "a lower limit shrinks the fixed columns";
  Columns()[2]->SetWidth(200);
  EXPECT_EQ(Columns()[2]->Width(), 200) << "scrolling columns are free";
  EXPECT_EQ(PositionProblems(), "");
}

TEST_F(HeaderTest, SplittersLieAtTheRightEdges) {
  AddColumns({100, 80});
  tree.UpdateRanges();
  TLTHeader& header = tree.Header();
  EXPECT_TRUE(header.FindSplitterColumn(Point(101, -5)));
  EXPECT_EQ(Columns().TrackIndex(), 0);
  EXPECT_EQ(header.TrackPoint(), Point(0, -5)) << "the track point is the column's left edge";
  EXPECT_TRUE(header.FindSplitterColumn(Point(178, -5)));
  EXPECT_EQ(Columns().TrackIndex(), 1);
  EXPECT_FALSE(header.FindSplitterColumn(Point(50, -5)));
  EXPECT_EQ(Columns().TrackIndex(), NoColumn);
  Columns()[0]->SetOptions(Columns()[0]->Options() - TLTColumnOptions{coResizable});
  EXPECT_FALSE(header.FindSplitterColumn(Point(101, -5)));
  tree.OnCanSplitterResizeColumn = [](TLTHeader*, TPoint, TColumnIndex, bool& allowed) { allowed = false; };
  EXPECT_FALSE(header.FindSplitterColumn(Point(178, -5)));
}

TEST_F(HeaderTest, AssignCopiesColumnsAndSettings) {
  AddColumns({120, 75, 73});
  Columns()[1]->SetText(u"Value");
  Columns()[2]->SetPosition(0);
  tree.Header().SetMainColumn(2);
  tree.Header().SetHeight(30);
  TFakeLiveTreeHost otherHost;
  TBaseLiveTree other(&otherHost);
  other.SetHeader(tree.Header());
  EXPECT_TRUE(other.Header().Columns().Equals(Columns()));
  EXPECT_EQ(other.Header().MainColumn(), 2);
  EXPECT_EQ(other.Header().Height(), 30);
  other.Header().Columns()[1]->SetText(u"Other");
  EXPECT_FALSE(other.Header().Columns().Equals(Columns()));
}

TEST_F(HeaderTest, ScalingMultipliesHeightAndWidths) {
  AddColumns({100, 60});
  tree.Header().ScaleHeader(3, 2);
  EXPECT_EQ(tree.Header().Height(), 29) << "19 * 3 / 2 rounded";
  EXPECT_EQ(Columns()[0]->Width(), 150);
  EXPECT_EQ(Columns()[1]->Width(), 90);
  EXPECT_EQ(tree.Header().Font().Height, -17);
}

}  // namespace
