// The string tree: cell texts, measuring with the per-node width cache,
// shortening, multi-line heights, incremental search, paths, the restored
// selection and the caption chunk of the tree stream.
#include "livetree/stringtree.h"

#include <algorithm>
#include <cstring>

#include "livetree/livetreeassert.h"
#include "livetree/livetreestreamio.h"
#include "rtl/sysstr.h"

namespace {

constexpr Integer CaptionChunk = 3;

}  // namespace

// ---- Options ----

void TCustomStringTreeOptions::SetStringOptions(TLTStringOptions value) {
  if (value == FStringOptions) return;
  TLTStringOptions old = FStringOptions;
  FStringOptions = value;
  if (auto* tree = dynamic_cast<TCustomLiveStringTree*>(Owner())) tree->StringOptionsChanged(old, value);
}

void TCustomStringTreeOptions::Assign(const TCustomLiveTreeOptions& source) {
  if (auto* strings = dynamic_cast<const TCustomStringTreeOptions*>(&source))
    SetStringOptions(strings->StringOptions());
  TCustomLiveTreeOptions::Assign(source);
}

String ShortenText(ILiveTreeHost& host, const TLiveTreeFont& font, const String& s, Integer width,
                   Integer ellipsisWidth) {
  if (s.empty() || width <= 0) return {};
  if (ellipsisWidth == 0) ellipsisWidth = host.TextExtent(font, u"...").cx;
  if (ellipsisWidth > width) return {};
  // The longest prefix (at most all but one character) that fits, by
  // bisection over the measured prefix widths.
  size_t low = 0, high = s.size() - 1;
  while (low < high) {
    size_t middle = (low + high + 1) / 2;
    if (host.TextExtent(font, StringView(s).substr(0, middle)).cx + ellipsisWidth <= width)
      low = middle;
    else
      high = middle - 1;
  }
  return s.substr(0, low) + u"...";
}

// ---- Construction ----

TCustomLiveStringTree::TCustomLiveStringTree(ILiveTreeHost* host)
    : TBaseLiveTree(host, std::make_unique<TCustomStringTreeOptions>(this)) {
  Construct();
}

TCustomLiveStringTree::TCustomLiveStringTree(ILiveTreeHost* host, std::unique_ptr<TCustomStringTreeOptions> options)
    : TBaseLiveTree(host, std::move(options)) {
  Construct();
}

void TCustomLiveStringTree::Construct() {
  FInternalDataOffset = ReserveInternalNodeData(sizeof(Integer));
}

TCustomLiveStringTree::~TCustomLiveStringTree() {
  // Handlers of the string tree are not called while the base tree frees
  // its nodes.
  OnGetText = nullptr;
  OnNewText = nullptr;
  OnPaintText = nullptr;
}

TLiveStringTree::TLiveStringTree(ILiveTreeHost* host)
    : TCustomLiveStringTree(host, std::make_unique<TStringTreeOptions>(this)) {}

// ---- Texts ----

void TCustomLiveStringTree::QueryCellText(PLiveNode node, TColumnIndex column, TLSTTextType textType, String& text) {
  if (OnGetText) OnGetText(this, node, column, textType, text);
}

String TCustomLiveStringTree::NodeText(PLiveNode node, TColumnIndex column) {
  LTAssert(node != nullptr, "Node must not be nil.");
  if (node != RootNode() && !node->Has(vsInitialized)) InitializeNode(node);
  String text = FDefaultText;
  QueryCellText(node, column, ttNormal, text);
  return text;
}

void TCustomLiveStringTree::SetNodeText(PLiveNode node, TColumnIndex column, const String& text) {
  ApplyNewText(node, column, text);
  InvalidateNode(node);
}

String TCustomLiveStringTree::NodeStaticText(PLiveNode node, TColumnIndex column) {
  LTAssert(node != nullptr, "Node must not be nil.");
  if (node != RootNode() && !node->Has(vsInitialized)) InitializeNode(node);
  String text;
  QueryCellText(node, column, ttStatic, text);
  return text;
}

void TCustomLiveStringTree::ApplyNewText(PLiveNode node, TColumnIndex column, const String& text) {
  if (OnNewText) OnNewText(this, node, column, text);
  if (!InUpdate()) UpdateHorizontalScrollBar(true);
}

void TCustomLiveStringTree::NotifyPaintText(PLiveNode node, TCanvas* canvas, TColumnIndex column,
                                            TLSTTextType textType) {
  if (OnPaintText) OnPaintText(this, canvas, node, column, textType);
}

void TCustomLiveStringTree::SetDefaultText(const String& value) {
  if (value == FDefaultText) return;
  FDefaultText = value;
  if (!Loading()) Invalidate();
}

TLTStringOptions TCustomLiveStringTree::StringOptions() const {
  return static_cast<const TCustomStringTreeOptions&>(TreeOptions()).StringOptions();
}

void TCustomLiveStringTree::SetStringOptions(TLTStringOptions value) {
  StringTreeOptions().SetStringOptions(value);
}

void TCustomLiveStringTree::StringOptionsChanged(TLTStringOptions oldOptions, TLTStringOptions newOptions) {
  if (oldOptions.Contains(toShowStaticText) != newOptions.Contains(toShowStaticText) && !Loading() && HasWindow())
    Invalidate();
}

TLiveTreeFont TCustomLiveStringTree::CanvasFont(TCanvas* canvas) const {
  return canvas != nullptr ? Host()->CanvasFont(canvas) : Font();
}

void TCustomLiveStringTree::SetCanvasFont(TCanvas* canvas, const TLiveTreeFont& font) const {
  if (canvas != nullptr) Host()->SetCanvasFont(canvas, font);
}

// ---- The width cache ----

Integer TCustomLiveStringTree::CachedTextWidth(PLiveNode node) const {
  if (node == nullptr || node == RootNode()) return 0;
  Integer width = 0;
  std::memcpy(&width, reinterpret_cast<const Byte*>(node) + FInternalDataOffset, sizeof(width));
  return width;
}

void TCustomLiveStringTree::SetCachedTextWidth(PLiveNode node, Integer width) {
  if (node == nullptr || node == RootNode()) return;
  std::memcpy(reinterpret_cast<Byte*>(node) + FInternalDataOffset, &width, sizeof(width));
}

void TCustomLiveStringTree::ClearTextWidthCache() {
  for (PLiveNode run = GetFirstNoInit(); run; run = GetNextNoInit(run)) SetCachedTextWidth(run, 0);
}

void TCustomLiveStringTree::InvalidateNode(PLiveNode node) {
  TBaseLiveTree::InvalidateNode(node);
  if (node == nullptr) return;
  SetCachedTextWidth(node, 0);
  node->Exclude({vsHeightMeasured});
}

void TCustomLiveStringTree::ReinitNode(PLiveNode node, bool recursive) {
  TBaseLiveTree::ReinitNode(node, recursive);
  SetCachedTextWidth(node, 0);
}

void TCustomLiveStringTree::MainColumnChanged() {
  TBaseLiveTree::MainColumnChanged();
  ClearTextWidthCache();
}

void TCustomLiveStringTree::FontChanged() {
  TBaseLiveTree::FontChanged();
  FTextHeight = Host()->FontHeight(Font());
  FEllipsisWidth = Host()->TextExtent(Font(), u"...").cx;
  ClearTextWidthCache();
}

// ---- Measuring ----

TSize TCustomLiveStringTree::MeasureCellText(TCanvas* canvas, PLiveNode node, TColumnIndex column, const String& text) {
  TLiveTreeFont font = CanvasFont(canvas);
  TSize size = Host()->TextExtent(font, text);
  if (node != nullptr && node->Has(vsMultiline)) size.cx = Host()->WrappedTextExtent(font, text, size.cx).cx;
  if (OnMeasureTextWidth) OnMeasureTextWidth(this, canvas, node, column, text, size.cx);
  if (OnMeasureTextHeight) OnMeasureTextHeight(this, canvas, node, column, text, size.cy);
  return size;
}

Integer TCustomLiveStringTree::NormalTextWidth(TCanvas* canvas, PLiveNode node, TColumnIndex column,
                                               const String& text) {
  Integer result = 2 * TextMargin();
  if (!text.empty()) {
    canvas = EventCanvas(canvas);
    SetCanvasFont(canvas, Font());
    NotifyPaintText(node, canvas, column, ttNormal);
    result += MeasureCellText(canvas, node, column, text).cx;
  }
  return result;
}

Integer TCustomLiveStringTree::StaticTextWidth(TCanvas* canvas, PLiveNode node, TColumnIndex column,
                                               const String& text) {
  if (text.empty() || Alignment() == taCenter || node->Has(vsMultiline) || !StringOptions().Contains(toShowStaticText))
    return 0;
  canvas = EventCanvas(canvas);
  SetCanvasFont(canvas, Font());
  NotifyPaintText(node, canvas, column, ttStatic);
  return TextMargin() + MeasureCellText(canvas, node, column, text).cx;
}

Integer TCustomLiveStringTree::NodeExtraWidth(PLiveNode node, TColumnIndex column, TCanvas* canvas) {
  if (node == nullptr) return 0;
  return StaticTextWidth(canvas, node, column, NodeStaticText(node, column));
}

Integer TCustomLiveStringTree::MeasureNodeWidth(PLiveNode node, TColumnIndex column, TCanvas* canvas) {
  if (node == nullptr) return 0;
  if (Header().Columns().IsValidColumn(column) && node->Has(vsMultiline)) return Header().Columns()[column]->Width();
  if (column == MainColumn()) {
    if (node == RootNode()) return 0;
    Integer width = CachedTextWidth(node);
    if (width == 0) {
      width = NormalTextWidth(canvas, node, column, NodeText(node, column));
      SetCachedTextWidth(node, width);
    }
    return width;
  }
  return NormalTextWidth(canvas, node, column, NodeText(node, column));
}

String TCustomLiveStringTree::ShortenCellText(TCanvas* canvas, PLiveNode node, TColumnIndex column, const String& s,
                                              Integer width, Integer ellipsisWidth) {
  String result;
  bool done = false;
  canvas = EventCanvas(canvas);
  if (OnShortenString) OnShortenString(this, canvas, node, column, s, width, result, done);
  if (done) return result;
  return ShortenText(*Host(), CanvasFont(canvas), s, width, ellipsisWidth);
}

Integer TCustomLiveStringTree::ComputeNodeHeight(TCanvas* canvas, PLiveNode node, TColumnIndex column, String s) {
  if (s.empty()) s = NodeText(node, column);
  TLiveTreeColumns& columns = Header().Columns();
  Int64 left = 0, right = 0;
  if (column >= 0 && columns.IsValidColumn(column)) {
    right = columns[column]->Width() - TextMargin();
    left = TextMargin() + Margin();
    if (column == MainColumn()) {
      Int64 levels = PaintOptions().Contains(toFixedIndent)
                         ? 1
                         : GetNodeLevel(node) + (PaintOptions().Contains(toShowRoot) ? 1 : 0);
      left += static_cast<Int64>(Indent()) * levels;
    }
  } else {
    right = Host()->ClientWidth();
  }
  Integer width = static_cast<Integer>(std::max<Int64>(right - left, 0));
  return Host()->WrappedTextExtent(CanvasFont(EventCanvas(canvas)), s, width).cy;
}

bool TCustomLiveStringTree::IsCellEmpty(PLiveNode node, TColumnIndex column) {
  if (!NodeText(node, column).empty()) return false;
  return TBaseLiveTree::IsCellEmpty(node, column);
}

Integer TCustomLiveStringTree::IncrementalSearchCompare(PLiveNode node, const String& searchText) {
  if (OnIncrementalSearch) return TBaseLiveTree::IncrementalSearchCompare(node, searchText);
  if (searchText.empty()) return 1;
  return StartsStr(searchText, NodeText(node, FocusedColumn())) ? 0 : 1;
}

String TCustomLiveStringTree::Path(PLiveNode node, TColumnIndex column, TLSTTextType textType, Char delimiter) {
  if (node == nullptr || node == RootNode()) return String(1, delimiter);
  String result;
  for (PLiveNode run = node; run != RootNode(); run = run->Parent) {
    // Each level starts empty, so that a handler that gives no text does not
    // repeat the text of the level below.
    String text;
    QueryCellText(run, column, textType, text);
    result = text + delimiter + result;
  }
  return result;
}

void TCustomLiveStringTree::GetTextInfo(PLiveNode node, TColumnIndex column, TLiveTreeFont& font, TRect& r,
                                        String& text) {
  TBaseLiveTree::GetTextInfo(node, column, font, r, text);
  TCanvas* canvas = EventCanvas(nullptr);
  SetCanvasFont(canvas, font);
  NotifyPaintText(node, canvas, column, ttNormal);
  Integer textHeight = FTextHeight;
  if (canvas != nullptr) {
    TLiveTreeFont changed = CanvasFont(canvas);
    if (!(changed == font)) {
      font = changed;
      textHeight = Host()->FontHeight(font);
    }
  }
  text = NodeText(node, column);
  r = GetDisplayRect(node, column, true, !node->Has(vsMultiline), false);
  if (PaintOptions().Contains(toShowHorzGridLines)) --r.Bottom;
  Integer shrink = (r.Height() - textHeight) / 2;
  r.Top += shrink;
  r.Bottom -= shrink;
}

// ---- The restored selection ----

String TCustomLiveStringTree::SelectionText(PLiveNode node) {
  String text;
  if (OnGetText) OnGetText(this, node, 0, ttNormal, text);
  return text;
}

void TCustomLiveStringTree::AddToSelection(PLiveNode node) {
  TBaseLiveTree::AddToSelection(node);
  if (!OnGetText || !SelectionOptions().Contains(toRestoreSelection)) return;
  if (!node->Has(vsSelected) || TreeStates().Contains(tsPreviouslySelectedLocked)) return;
  if (!FPreviouslySelected) FPreviouslySelected = std::make_unique<TStringList>(dupIgnore, true, false);
  if (SelectedCount() == 1) FPreviouslySelected->Clear();
  FPreviouslySelected->Add(SelectionText(node));
}

void TCustomLiveStringTree::RemoveFromSelection(PLiveNode node) {
  TBaseLiveTree::RemoveFromSelection(node);
  if (!OnGetText || !FPreviouslySelected || node->Has(vsSelected)) return;
  if (SelectedCount() == 0) {
    FPreviouslySelected->Clear();
    return;
  }
  Integer index = 0;
  if (FPreviouslySelected->Find(SelectionText(node), index)) FPreviouslySelected->Delete(index);
}

PLiveNode TCustomLiveStringTree::AddChild(PLiveNode parent, void* userData) {
  PLiveNode result = TBaseLiveTree::AddChild(parent, userData);
  if (result == nullptr || !OnGetText || !FPreviouslySelected) return result;
  if (FPreviouslySelected->IndexOf(SelectionText(result)) < 0) return result;
  ChangeTreeStates({tsPreviouslySelectedLocked}, {});
  try {
    SetSelected(result, true);
  } catch (...) {
    ChangeTreeStates({}, {tsPreviouslySelectedLocked});
    throw;
  }
  ChangeTreeStates({}, {tsPreviouslySelectedLocked});
  if (SelectedCount() > 0) ScrollIntoView(GetFirstSelected(), true, false);
  return result;
}

// ---- The caption chunk ----

void TCustomLiveStringTree::StoreNodeParts(TStream& stream, PLiveNode node) {
  TBaseLiveTree::StoreNodeParts(stream, node);
  if (!StringOptions().Contains(toSaveCaptions) || node == RootNode() || !node->Has(vsInitialized)) return;
  String text = NodeText(node, MainColumn());
  if (text.empty()) return;
  LiveTreeStreamIO::WriteInteger(stream, CaptionChunk);
  LiveTreeStreamIO::WriteInteger(stream, static_cast<Integer>(2 * text.size()));
  LiveTreeStreamIO::WriteText(stream, text);
}

bool TCustomLiveStringTree::RestorePart(TStream& stream, Integer version, PLiveNode node, Integer chunkType,
                                        Integer chunkSize) {
  if (chunkType != CaptionChunk) return TBaseLiveTree::RestorePart(stream, version, node, chunkType, chunkSize);
  if (chunkSize > 0) {
    String text = LiveTreeStreamIO::ReadText(stream, chunkSize / 2);
    // An odd last byte belongs to no character.
    if (chunkSize % 2 != 0) stream.Seek(1, soCurrent);
    SetNodeText(node, MainColumn(), text);
  }
  return true;
}
