// Columns and the column collection: properties, display positions, the
// geometric queries of the tree about columns and the column stream.
#include <algorithm>
#include <cmath>

#include "livetree/basetree.h"
#include "livetree/livetreeheader.h"
#include "livetree/livetreestreamio.h"
#include "rtl/format.h"

namespace {

// Widths and edges from outside may be large: sums of them stay in range.
Integer Saturated(Int64 value) {
  return static_cast<Integer>(std::clamp<Int64>(value, INT32_MIN, INT32_MAX));
}

// A true permutation of the columns 0 .. Count - 1 in the display order the
// entries give: entries out of range and repeated ones are dropped, columns
// without an entry follow in index order.
std::vector<TColumnIndex> DisplayPermutation(const std::vector<TColumnIndex>& entries, size_t count) {
  std::vector<bool> placed(count, false);
  std::vector<TColumnIndex> positions;
  positions.reserve(count);
  for (TColumnIndex entry : entries) {
    if (entry < 0 || static_cast<size_t>(entry) >= count || placed[static_cast<size_t>(entry)]) continue;
    placed[static_cast<size_t>(entry)] = true;
    positions.push_back(entry);
  }
  for (size_t i = 0; i < count; ++i)
    if (!placed[i]) positions.push_back(static_cast<TColumnIndex>(i));
  return positions;
}

}  // namespace

// ---- Column ----

TLiveTreeColumn::TLiveTreeColumn(TLiveTreeColumns* collection) : FCollection(collection) {
  FWidth = collection->FDefaultWidth;
  FLastWidth = FWidth;
}

TLTHeader* TLiveTreeColumn::Header() const {
  return FCollection->FHeader;
}

TBaseLiveTree* TLiveTreeColumn::Tree() const {
  return FCollection->Tree();
}

TColumnIndex TLiveTreeColumn::Index() const {
  const auto& items = FCollection->FItems;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].get() == this) return static_cast<TColumnIndex>(i);
  return NoColumn;
}

bool TLiveTreeColumn::TreeLoading() const {
  return Tree()->Loading();
}

void TLiveTreeColumn::Changed() {
  FCollection->Changed(this);
}

void TLiveTreeColumn::SetText(const String& value) {
  if (value == FText) return;
  FText = value;
  FCaptionText.clear();
  Changed();
}

void TLiveTreeColumn::SetWidth(Integer value) {
  TLTHeader* header = Header();
  if (!header->FStates.Contains(hsScaling)) {
    if (FOptions.Contains(coVisible) && FOptions.Contains(coFixed)) {
      const TLTFixedAreaConstraints& limits = header->FFixedAreaConstraints;
      Int64 clientWidth = Tree()->Host()->ClientWidth();
      Int64 minTotal = 0, maxTotal = 0;
      for (const auto& column : FCollection->FItems) {
        if (!column->FOptions.Contains(coVisible) || !column->FOptions.Contains(coFixed)) continue;
        minTotal += column->FMinWidth;
        maxTotal += column->FMaxWidth;
      }
      if (limits.FMaxWidthPercent > 0) minTotal = std::min(clientWidth * limits.FMaxWidthPercent / 100, minTotal);
      if (limits.FMinWidthPercent > 0) maxTotal = std::max(clientWidth * limits.FMinWidthPercent / 100, maxTotal);
      Int64 fixedWidth = FCollection->GetVisibleFixedWidth();
      Int64 upper = std::min<Int64>(maxTotal - fixedWidth + FWidth, FMaxWidth);
      Int64 lower = std::max<Int64>(minTotal - fixedWidth + FWidth, FMinWidth);
      Int64 clamped = std::min(upper, std::max(lower, static_cast<Int64>(value)));
      if (limits.FMinWidthPercent > 0)
        clamped = std::max(clamped, clientWidth * limits.FMinWidthPercent / 100 - fixedWidth + FWidth);
      if (limits.FMaxWidthPercent > 0)
        clamped = std::min(clamped, clientWidth * limits.FMaxWidthPercent / 100 - fixedWidth + FWidth);
      value = static_cast<Integer>(std::clamp<Int64>(clamped, INT32_MIN, INT32_MAX));
    } else {
      value = std::min(std::max(value, FMinWidth), FMaxWidth);
    }
  }
  if (value == FWidth) return;
  FLastWidth = FWidth;
  if (!header->FStates.Contains(hsResizing)) FBonusPixel = false;
  TColumnIndex index = Index();
  bool autoSized = header->FOptions.Contains(hoAutoResize) && index == header->FAutoSizeIndex;
  // The auto-size column's width follows the others; it is not set directly.
  if (!autoSized) {
    FWidth = value;
    FCollection->RecalculateColumnLefts(false);
  }
  if (!TreeLoading() && FCollection->FUpdateCount == 0) {
    if (header->FOptions.Contains(hoAutoResize)) header->FitAutoSizeColumn(index, false);
    Tree()->DoColumnResize(index);
  }
}

void TLiveTreeColumn::SetMinWidth(Integer value) {
  if (value < 0) value = 0;
  if (value == FMinWidth) return;
  FMinWidth = std::min(value, FMaxWidth);
  SetWidth(FWidth);
}

void TLiveTreeColumn::SetMaxWidth(Integer value) {
  if (value == FMaxWidth) return;
  FMaxWidth = std::max(value, FMinWidth);
  SetWidth(FWidth);
}

void TLiveTreeColumn::SetPosition(TColumnPosition value) {
  if (TreeLoading()) {
    FPosition = value;
    return;
  }
  Integer count = FCollection->Count();
  if (count == 0) return;
  if (value >= static_cast<TColumnPosition>(count)) value = static_cast<TColumnPosition>(count - 1);
  if (value != FPosition) {
    FCollection->FitPositionArray();
    Tree()->CancelEditNode();
    FCollection->MovePositionEntry(Index(), value);
    Changed();
    if (FCollection->FUpdateCount == 0 && Tree()->HasWindow()) {
      Header()->Invalidate(this);
      Tree()->Invalidate();
    }
  }
  // A column between fixed columns is fixed as well, one among scrolling
  // columns scrolls.
  const auto& positions = FCollection->FPositionToIndex;
  TColumnIndex neighbour = NoColumn;
  if (FOptions.Contains(coFixed) && value > 0 && value - 1 < positions.size())
    neighbour = positions[value - 1];
  else if (value + 1 < positions.size())
    neighbour = positions[value + 1];
  if (FCollection->IsValidColumn(neighbour) && neighbour != Index()) {
    TLTColumnOptions options = FOptions;
    if (FCollection->Items(neighbour)->FOptions.Contains(coFixed))
      options += coFixed;
    else
      options -= coFixed;
    SetOptions(options);
  }
}

void TLiveTreeColumn::SetStyle(TLiveTreeColumnStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  Changed();
}

void TLiveTreeColumn::SetImageIndex(TImageIndex value) {
  if (value == FImageIndex) return;
  FImageIndex = value;
  Changed();
}

void TLiveTreeColumn::SetBiDiMode(TBiDiMode value) {
  if (value == FBiDiMode) return;
  FBiDiMode = value;
  FOptions -= coParentBidiMode;
  Changed();
  Tree()->Invalidate();
}

void TLiveTreeColumn::SetLayout(TLTHeaderColumnLayout value) {
  if (value == FLayout) return;
  FLayout = value;
  Changed();
}

void TLiveTreeColumn::SetMargin(Integer value) {
  if (value < 0) value = 4;
  if (value == FMargin) return;
  FMargin = value;
  Changed();
}

void TLiveTreeColumn::SetSpacing(Integer value) {
  if (value == FSpacing) return;
  FSpacing = value;
  Changed();
}

void TLiveTreeColumn::SetOptions(TLTColumnOptions value) {
  if (value == FOptions) return;
  TLTColumnOptions old = FOptions;
  FOptions = value;
  if (value.Contains(coParentBidiMode) && !old.Contains(coParentBidiMode)) ParentBiDiModeChanged();
  if (value.Contains(coParentColor) && !old.Contains(coParentColor)) ParentColorChanged();
  if (value.Contains(coAutoSpring) && !old.Contains(coAutoSpring)) FSpringRest = 0;
  if (value.Contains(coFixed) != old.Contains(coFixed) && value.Contains(coVisible))
    Header()->ApplyFixedAreaConstraints();
  Changed();
  TBaseLiveTree* tree = Tree();
  bool visibilityChanged = value.Contains(coVisible) != old.Contains(coVisible);
  bool parentColorSet = value.Contains(coParentColor) && !old.Contains(coParentColor);
  if (!tree->Loading() && (visibilityChanged || parentColorSet) && !tree->InUpdate() && tree->HasWindow()) {
    tree->Invalidate();
    if (visibilityChanged) tree->UpdateHorizontalScrollBar(false);
  }
}

void TLiveTreeColumn::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  Changed();
  Tree()->Invalidate();
}

TAlignment TLiveTreeColumn::CaptionAlignment() const {
  return FOptions.Contains(coUseCaptionAlignment) ? FCaptionAlignment : FAlignment;
}

void TLiveTreeColumn::SetCaptionAlignment(TAlignment value) {
  if (FOptions.Contains(coUseCaptionAlignment) && value == FCaptionAlignment) return;
  FCaptionAlignment = value;
  FOptions += coUseCaptionAlignment;
  Header()->Invalidate(this);
}

void TLiveTreeColumn::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  FOptions -= coParentColor;
  Changed();
  Tree()->Invalidate();
}

void TLiveTreeColumn::SetCheckBox(bool value) {
  if (value == FCheckBox) return;
  FCheckBox = value;
  Changed();
}

void TLiveTreeColumn::SetCheckType(TCheckType value) {
  if (value == FCheckType) return;
  FCheckType = value;
  Changed();
}

void TLiveTreeColumn::SetCheckState(TCheckState value) {
  if (value == FCheckState) return;
  FCheckState = value;
  Changed();
}

TRect TLiveTreeColumn::GetRect() const {
  TRect result = Header()->HeaderRect();
  result.Left = FLeft;
  result.Right = Saturated(static_cast<Int64>(FLeft) + FWidth);
  return result;
}

Integer TLiveTreeColumn::ScrolledLeft() const {
  if (FOptions.Contains(coVisible) && FOptions.Contains(coFixed)) return FLeft;
  return FLeft - Tree()->EffectiveOffsetX();
}

void TLiveTreeColumn::AbsoluteBounds(Integer& left, Integer& right) const {
  left = FLeft;
  right = Saturated(static_cast<Int64>(FLeft) + FWidth);
}

void TLiveTreeColumn::RestoreLastWidth() {
  FCollection->AnimatedResize(Index(), FLastWidth);
}

void TLiveTreeColumn::ParentBiDiModeChanged() {
  if (!FOptions.Contains(coParentBidiMode)) return;
  TBiDiMode mode = Tree()->BiDiMode();
  if (mode == FBiDiMode) return;
  FBiDiMode = mode;
  Changed();
}

void TLiveTreeColumn::ParentColorChanged() {
  if (!FOptions.Contains(coParentColor)) return;
  TColor color = Tree()->Color();
  if (color == FColor) return;
  FColor = color;
  Changed();
}

void TLiveTreeColumn::Assign(const TLiveTreeColumn& source) {
  if (&source == this) return;
  TLTColumnOptions oldOptions = FOptions;
  FOptions = {};
  SetBiDiMode(source.FBiDiMode);
  SetImageIndex(source.FImageIndex);
  SetLayout(source.FLayout);
  SetMargin(source.FMargin);
  SetMaxWidth(source.FMaxWidth);
  SetMinWidth(source.FMinWidth);
  SetPosition(source.FPosition);
  SetSpacing(source.FSpacing);
  SetStyle(source.FStyle);
  SetText(source.Text());
  SetHint(source.FHint);
  SetWidth(source.FWidth);
  SetAlignment(source.FAlignment);
  SetCaptionAlignment(source.CaptionAlignment());
  SetColor(source.FColor);
  SetTag(source.FTag);
  FOptions = oldOptions;
  SetOptions(source.FOptions);
  Changed();
}

bool TLiveTreeColumn::Equals(const TLiveTreeColumn& other) const {
  return FBiDiMode == other.FBiDiMode && FImageIndex == other.FImageIndex && FLayout == other.FLayout &&
         FMargin == other.FMargin && FMaxWidth == other.FMaxWidth && FMinWidth == other.FMinWidth &&
         FPosition == other.FPosition && FSpacing == other.FSpacing && FStyle == other.FStyle &&
         Text() == other.Text() && FHint == other.FHint && FWidth == other.FWidth && FAlignment == other.FAlignment &&
         CaptionAlignment() == other.CaptionAlignment() && FColor == other.FColor && FTag == other.FTag &&
         FOptions == other.FOptions;
}

String TLiveTreeColumn::DisplayName() const {
  String text = Text();
  if (std::all_of(text.begin(), text.end(), [](Char c) { return c <= 255; })) return text;
  return Format(u"Column %d", {Index()});
}

namespace {

// Options of older streams: version 2 kept 8 bits; versions 0 and 1 had no
// coParentBidiMode, so their bits 4 to 6 move up by one.
TLTColumnOptions UpgradeColumnOptions(Integer bits, Integer version) {
  if (version >= 3) return TLTColumnOptions::FromBits(static_cast<std::uint16_t>(bits));
  if (version == 2) return TLTColumnOptions::FromBits(static_cast<std::uint16_t>(bits & 0xFF));
  return TLTColumnOptions::FromBits(static_cast<std::uint16_t>((bits & 0x0F) | ((bits & 0x70) << 1)));
}

template <typename E>
E EnumFromStream(Integer value, E last, E fallback) {
  if (value < 0 || value > static_cast<Integer>(last)) return fallback;
  return static_cast<E>(value);
}

}  // namespace

void TLiveTreeColumn::LoadFromStream(TStream& stream, Integer version) {
  SetText(LiveTreeStreamIO::ReadCountedText(stream));
  FHint = LiveTreeStreamIO::ReadCountedText(stream);
  SetWidth(LiveTreeStreamIO::ReadInteger(stream));
  SetMinWidth(LiveTreeStreamIO::ReadInteger(stream));
  SetMaxWidth(LiveTreeStreamIO::ReadInteger(stream));
  SetStyle(EnumFromStream(LiveTreeStreamIO::ReadInteger(stream), vsOwnerDraw, vsText));
  SetImageIndex(LiveTreeStreamIO::ReadInteger(stream));
  SetLayout(EnumFromStream(LiveTreeStreamIO::ReadInteger(stream), blGlyphBottom, blGlyphLeft));
  SetMargin(LiveTreeStreamIO::ReadInteger(stream));
  SetSpacing(LiveTreeStreamIO::ReadInteger(stream));
  SetBiDiMode(EnumFromStream(LiveTreeStreamIO::ReadInteger(stream), bdRightToLeftReadingOnly, bdLeftToRight));
  SetOptions(UpgradeColumnOptions(LiveTreeStreamIO::ReadInteger(stream), version));
  if (version >= 1) {
    SetTag(LiveTreeStreamIO::ReadInteger(stream));
    SetAlignment(EnumFromStream(LiveTreeStreamIO::ReadInteger(stream), taCenter, taLeftJustify));
  }
  if (version >= 2) SetColor(LiveTreeStreamIO::ReadInteger(stream));
  if (version >= 6 && FOptions.Contains(coUseCaptionAlignment))
    SetCaptionAlignment(EnumFromStream(LiveTreeStreamIO::ReadInteger(stream), taCenter, taLeftJustify));
}

void TLiveTreeColumn::SaveToStream(TStream& stream) const {
  LiveTreeStreamIO::WriteCountedText(stream, Text());
  LiveTreeStreamIO::WriteCountedText(stream, FHint);
  for (Integer value :
       {FWidth, FMinWidth, FMaxWidth, static_cast<Integer>(FStyle), FImageIndex, static_cast<Integer>(FLayout), FMargin,
        FSpacing, static_cast<Integer>(FBiDiMode), static_cast<Integer>(FOptions.ToBits()), static_cast<Integer>(FTag),
        static_cast<Integer>(FAlignment), static_cast<Integer>(FColor)})
    LiveTreeStreamIO::WriteInteger(stream, value);
  if (FOptions.Contains(coUseCaptionAlignment))
    LiveTreeStreamIO::WriteInteger(stream, static_cast<Integer>(FCaptionAlignment));
}

// ---- Collection ----

TLiveTreeColumns::TLiveTreeColumns(TLTHeader* owner) : FHeader(owner) {}

TLiveTreeColumns::~TLiveTreeColumns() {
  FClearing = true;
  FItems.clear();
}

TBaseLiveTree* TLiveTreeColumns::Tree() const {
  return FHeader->FOwner;
}

TLiveTreeColumn* TLiveTreeColumns::Items(TColumnIndex index) const {
  if (!IsValidColumn(index)) throw EListError(Format(u"List index out of bounds (%d)", {index}));
  return FItems[static_cast<size_t>(index)].get();
}

TLiveTreeColumn* TLiveTreeColumns::Add() {
  FItems.push_back(std::make_unique<TLiveTreeColumn>(this));
  TLiveTreeColumn* column = FItems.back().get();
  column->FPosition = static_cast<TColumnPosition>(Count() - 1);
  Changed(nullptr);
  column->ParentBiDiModeChanged();
  column->ParentColorChanged();
  return column;
}

void TLiveTreeColumns::Delete(TColumnIndex index) {
  if (!IsValidColumn(index)) throw EListError(Format(u"List index out of bounds (%d)", {index}));
  TBaseLiveTree* tree = Tree();
  if (!tree->Loading() && tree->FFocusedColumn == index) tree->FFocusedColumn = NoColumn;
  if (!FClearing) {
    tree->CancelEditNode();
    RemoveFromPositionArray(index);
    ShiftColumnIndexAfterDelete(index);
  }
  FItems.erase(FItems.begin() + index);
  Changed(nullptr);
}

void TLiveTreeColumns::RemoveFromPositionArray(TColumnIndex column) {
  auto found = std::find(FPositionToIndex.begin(), FPositionToIndex.end(), column);
  if (found != FPositionToIndex.end()) FPositionToIndex.erase(found);
  for (TColumnIndex& entry : FPositionToIndex)
    if (entry > column) --entry;
}

void TLiveTreeColumns::ShiftColumnIndexAfterDelete(TColumnIndex deleted) {
  auto shift = [deleted](TColumnIndex& index) {
    if (index == deleted)
      index = NoColumn;
    else if (index > deleted)
      --index;
  };
  shift(FHoverIndex);
  shift(FDownIndex);
  shift(FTrackIndex);
  shift(FClickIndex);
  shift(FHeader->FAutoSizeIndex);
  shift(FHeader->FSortColumn);
  if (FHeader->FMainColumn == deleted)
    FHeader->FMainColumn = Count() > 1 ? 0 : NoColumn;
  else if (FHeader->FMainColumn > deleted)
    --FHeader->FMainColumn;
}

void TLiveTreeColumns::Clear() {
  struct ClearingFlag {
    bool& Flag;
    ~ClearingFlag() { Flag = false; }
  } clearing{FClearing};
  FClearing = true;
  TBaseLiveTree* tree = Tree();
  tree->CancelEditNode();
  FHoverIndex = FDownIndex = FTrackIndex = FClickIndex = NoColumn;
  FCheckBoxHit = false;
  if (!FHeader->FStates.Contains(hsLoading)) {
    FHeader->FAutoSizeIndex = NoColumn;
    FHeader->FMainColumn = NoColumn;
    FHeader->FSortColumn = NoColumn;
  }
  if (!tree->Loading()) tree->FFocusedColumn = NoColumn;
  if (FItems.empty()) return;
  BeginUpdate();
  try {
    while (!FItems.empty()) Delete(Count() - 1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TLiveTreeColumns::BeginUpdate() {
  ++FUpdateCount;
}

void TLiveTreeColumns::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0) Update(nullptr);
}

void TLiveTreeColumns::Changed(TLiveTreeColumn* column) {
  if (FUpdateCount == 0) Update(column);
}

void TLiveTreeColumns::Assign(const TLiveTreeColumns& source) {
  if (&source == this) return;
  BeginUpdate();
  try {
    Clear();
    for (const auto& column : source.FItems) Add()->Assign(*column);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  FPositionToIndex = source.FPositionToIndex;
  FitPositionArray();
  RecalculateColumnLefts(true);
}

bool TLiveTreeColumns::Equals(const TLiveTreeColumns& other) const {
  if (Count() != other.Count() || FPositionToIndex != other.FPositionToIndex) return false;
  for (size_t i = 0; i < FItems.size(); ++i)
    if (!FItems[i]->Equals(*other.FItems[i])) return false;
  return true;
}

void TLiveTreeColumns::Update(TLiveTreeColumn* column) {
  FitPositionArray();
  TBaseLiveTree* tree = Tree();
  if (tree->Loading())
    FNeedPositionsFix = true;
  else
    RecalculateColumnLefts(false);
  if (Count() > 0 && FHeader->FMainColumn < 0) FHeader->FMainColumn = 0;
  if (tree->Loading() || FHeader->FStates.Contains(hsLoading)) return;
  if (FHeader->FOptions.Contains(hoAutoResize)) FHeader->FitAutoSizeColumn(InvalidColumn, false);
  if (column != nullptr) {
    FHeader->Invalidate(column);
  } else if (tree->HasWindow()) {
    tree->UpdateHorizontalScrollBar(false);
    FHeader->Invalidate(nullptr);
    tree->Invalidate();
  }
}

void TLiveTreeColumns::FitPositionArray() {
  size_t count = FItems.size();
  if (FPositionToIndex.size() == count) return;
  if (FPositionToIndex.size() < count) {
    for (size_t i = FPositionToIndex.size(); i < count; ++i) FPositionToIndex.push_back(static_cast<TColumnIndex>(i));
    return;
  }
  // Shrinking keeps the remaining columns in their display order and gives
  // every column exactly one position: a mere lowering of the large entries
  // could leave two positions showing one column and none showing another.
  FPositionToIndex = DisplayPermutation(FPositionToIndex, count);
}

void TLiveTreeColumns::RecalculateColumnLefts(bool force) {
  if (FNeedPositionsFix || (!force && FUpdateCount > 0)) return;
  Int64 left = 0;
  for (size_t i = 0; i < FPositionToIndex.size(); ++i) {
    TColumnIndex index = FPositionToIndex[i];
    if (!IsValidColumn(index)) continue;
    TLiveTreeColumn* column = FItems[static_cast<size_t>(index)].get();
    column->FPosition = static_cast<TColumnPosition>(i);
    column->FLeft = Saturated(left);
    if (column->FOptions.Contains(coVisible)) left += column->FWidth;
  }
  Tree()->UpdateHorizontalScrollBar(false);
}

void TLiveTreeColumns::PositionsFromColumns() {
  std::vector<TColumnIndex> positions(FItems.size(), InvalidColumn);
  for (size_t i = 0; i < FItems.size(); ++i) {
    TColumnPosition position = FItems[i]->FPosition;
    if (position < positions.size() && positions[position] == InvalidColumn)
      positions[position] = static_cast<TColumnIndex>(i);
  }
  // Positions that were read twice or out of range leave gaps; the columns
  // concerned fill them in index order.
  std::vector<bool> placed(FItems.size(), false);
  for (TColumnIndex index : positions)
    if (index >= 0) placed[static_cast<size_t>(index)] = true;
  size_t next = 0;
  for (TColumnIndex& entry : positions) {
    if (entry != InvalidColumn) continue;
    while (placed[next]) ++next;
    placed[next] = true;
    entry = static_cast<TColumnIndex>(next);
  }
  FPositionToIndex = std::move(positions);
  FNeedPositionsFix = false;
  RecalculateColumnLefts(true);
}

void TLiveTreeColumns::ResetPositionOrder(bool reverse) {
  Integer count = Count();
  FPositionToIndex.resize(static_cast<size_t>(count));
  for (Integer i = 0; i < count; ++i) FPositionToIndex[static_cast<size_t>(i)] = reverse ? count - 1 - i : i;
  RecalculateColumnLefts(true);
}

void TLiveTreeColumns::MovePositionEntry(TColumnIndex column, TColumnPosition newPosition) {
  auto found = std::find(FPositionToIndex.begin(), FPositionToIndex.end(), column);
  if (found == FPositionToIndex.end() || newPosition >= FPositionToIndex.size()) return;
  size_t old = static_cast<size_t>(found - FPositionToIndex.begin());
  if (old < newPosition)
    std::rotate(FPositionToIndex.begin() + static_cast<std::ptrdiff_t>(old),
                FPositionToIndex.begin() + static_cast<std::ptrdiff_t>(old) + 1,
                FPositionToIndex.begin() + static_cast<std::ptrdiff_t>(newPosition) + 1);
  else if (old > newPosition)
    std::rotate(FPositionToIndex.begin() + static_cast<std::ptrdiff_t>(newPosition),
                FPositionToIndex.begin() + static_cast<std::ptrdiff_t>(old),
                FPositionToIndex.begin() + static_cast<std::ptrdiff_t>(old) + 1);
}

TColumnIndex TLiveTreeColumns::ColumnFromPosition(TPoint p, bool relative) const {
  Integer left = 0, right = 0;
  return ColumnAndBoundsAt(p, left, right, relative);
}

TColumnIndex TLiveTreeColumns::ColumnFromPosition(TColumnPosition positionIndex) const {
  if (positionIndex >= FPositionToIndex.size()) return NoColumn;
  return FPositionToIndex[positionIndex];
}

TColumnIndex TLiveTreeColumns::ColumnAndBoundsAt(TPoint p, Integer& left, Integer& right, bool relative) const {
  TBaseLiveTree* tree = Tree();
  Integer treeHeight = FHeader->FHeight + tree->Host()->ClientHeight();
  if (p.X < 0 || p.Y < 0 || p.Y > treeHeight) return InvalidColumn;
  Int64 edge = 0;
  if (relative && p.X >= GetVisibleFixedWidth()) edge = -static_cast<Int64>(tree->EffectiveOffsetX());
  if (tree->UseRightToLeftAlignment()) edge += tree->RightToLeftOffset(false);
  for (TColumnIndex index : FPositionToIndex) {
    if (!IsValidColumn(index)) continue;
    const TLiveTreeColumn* column = FItems[static_cast<size_t>(index)].get();
    if (!column->FOptions.Contains(coVisible)) continue;
    Int64 columnRight = edge + column->FWidth;
    if (columnRight > p.X) {
      left = static_cast<Integer>(edge);
      right = static_cast<Integer>(columnRight);
      return index;
    }
    edge = columnRight;
  }
  return InvalidColumn;
}

void TLiveTreeColumns::GetColumnBounds(TColumnIndex column, Integer& left, Integer& right) const {
  TBaseLiveTree* tree = Tree();
  if (column < 0 || !IsValidColumn(column)) {
    left = 0;
    right = tree->Host()->ClientWidth();
    return;
  }
  Int64 scrolledLeft = FItems[static_cast<size_t>(column)]->ScrolledLeft();
  Int64 offset = tree->UseRightToLeftAlignment() ? tree->RightToLeftOffset(false) : 0;
  left = Saturated(scrolledLeft + offset);
  right = Saturated(scrolledLeft + FItems[static_cast<size_t>(column)]->FWidth + offset);
}

TColumnIndex TLiveTreeColumns::GetFirstColumn() const {
  return FPositionToIndex.empty() ? InvalidColumn : FPositionToIndex.front();
}

TColumnIndex TLiveTreeColumns::GetNextColumn(TColumnIndex column) const {
  if (!IsValidColumn(column)) return InvalidColumn;
  TColumnPosition position = FItems[static_cast<size_t>(column)]->FPosition;
  if (position + 1 >= FPositionToIndex.size()) return InvalidColumn;
  return FPositionToIndex[position + 1];
}

TColumnIndex TLiveTreeColumns::GetPreviousColumn(TColumnIndex column) const {
  if (!IsValidColumn(column)) return InvalidColumn;
  TColumnPosition position = FItems[static_cast<size_t>(column)]->FPosition;
  if (position == 0 || position > FPositionToIndex.size()) return InvalidColumn;
  return FPositionToIndex[position - 1];
}

namespace {

bool Qualifies(const TLiveTreeColumn* column, bool considerAllowFocus) {
  TLTColumnOptions options = column->Options();
  return options.Contains(coVisible) && (!considerAllowFocus || options.Contains(coAllowFocus));
}

}  // namespace

TColumnIndex TLiveTreeColumns::GetFirstVisibleColumn(bool considerAllowFocus) const {
  for (TColumnIndex index : FPositionToIndex)
    if (IsValidColumn(index) && Qualifies(FItems[static_cast<size_t>(index)].get(), considerAllowFocus)) return index;
  return InvalidColumn;
}

TColumnIndex TLiveTreeColumns::GetLastVisibleColumn(bool considerAllowFocus) const {
  for (auto run = FPositionToIndex.rbegin(); run != FPositionToIndex.rend(); ++run)
    if (IsValidColumn(*run) && Qualifies(FItems[static_cast<size_t>(*run)].get(), considerAllowFocus)) return *run;
  return InvalidColumn;
}

TColumnIndex TLiveTreeColumns::GetNextVisibleColumn(TColumnIndex column, bool considerAllowFocus) const {
  for (column = GetNextColumn(column); column != InvalidColumn; column = GetNextColumn(column))
    if (Qualifies(FItems[static_cast<size_t>(column)].get(), considerAllowFocus)) return column;
  return InvalidColumn;
}

TColumnIndex TLiveTreeColumns::GetPreviousVisibleColumn(TColumnIndex column, bool considerAllowFocus) const {
  for (column = GetPreviousColumn(column); column != InvalidColumn; column = GetPreviousColumn(column))
    if (Qualifies(FItems[static_cast<size_t>(column)].get(), considerAllowFocus)) return column;
  return InvalidColumn;
}

TColumnsArray TLiveTreeColumns::GetVisibleColumns() const {
  TColumnsArray result;
  for (TColumnIndex index : FPositionToIndex)
    if (IsValidColumn(index) && FItems[static_cast<size_t>(index)]->FOptions.Contains(coVisible))
      result.push_back(index);
  return result;
}

Integer TLiveTreeColumns::GetVisibleFixedWidth() const {
  Int64 width = 0;
  for (const auto& column : FItems)
    if (column->FOptions.Contains(coVisible) && column->FOptions.Contains(coFixed)) width += column->FWidth;
  return Saturated(width);
}

Integer TLiveTreeColumns::GetScrollWidth() const {
  Int64 total = 0;
  Integer count = 0;
  for (const auto& column : FItems) {
    if (!column->FOptions.Contains(coVisible) || column->FOptions.Contains(coFixed)) continue;
    total += column->FWidth;
    ++count;
  }
  if (count == 0) return static_cast<Integer>(Tree()->Indent());
  return static_cast<Integer>(std::nearbyint(static_cast<double>(total) / count));
}

Integer TLiveTreeColumns::TotalWidth() const {
  if (FPositionToIndex.empty()) return 0;
  for (auto run = FPositionToIndex.rbegin(); run != FPositionToIndex.rend(); ++run) {
    if (!IsValidColumn(*run)) continue;
    const TLiveTreeColumn* column = FItems[static_cast<size_t>(*run)].get();
    if (column->FOptions.Contains(coVisible)) return Saturated(static_cast<Int64>(column->FLeft) + column->FWidth);
  }
  return 0;
}

void TLiveTreeColumns::AnimatedResize(TColumnIndex column, Integer newWidth) {
  if (!IsValidColumn(column)) return;
  TLiveTreeColumn* item = FItems[static_cast<size_t>(column)].get();
  newWidth = std::min(std::max(newWidth, item->FMinWidth), item->FMaxWidth);
  if (newWidth == item->FWidth) return;
  item->SetWidth(newWidth);
}

void TLiveTreeColumns::PressColumn(TPoint p) {
  TColumnIndex column = ColumnFromPosition(p, true);
  if (!IsValidColumn(column)) return;
  const TLiveTreeColumn* item = FItems[static_cast<size_t>(column)].get();
  if (!item->FOptions.Contains(coAllowClick) || !item->FOptions.Contains(coEnabled)) return;
  FDownIndex = column;
  FCheckBoxHit = item->FHasImage && item->FImageRect.Contains(p) && item->FCheckBox;
}

void TLiveTreeColumns::ProcessHeaderClick(TPoint p, TMouseButton button, TShiftState shift, bool dblClick, bool force) {
  TBaseLiveTree* tree = Tree();
  TColumnIndex column = ColumnFromPosition(p, true);
  TLTHeaderHitInfo hitInfo;
  hitInfo.X = p.X;
  hitInfo.Y = p.Y;
  hitInfo.Button = button;
  hitInfo.Shift = shift;
  if (dblClick) hitInfo.Shift += TShiftState{ssDouble};
  TLiveTreeColumn* item = IsValidColumn(column) ? FItems[static_cast<size_t>(column)].get() : nullptr;
  if (item != nullptr && item->FOptions.Contains(coAllowClick) && (force || column == FDownIndex)) {
    FClickIndex = column;
    hitInfo.Column = column;
    hitInfo.HitPosition = {hhiOnColumn};
    if (item->FHasImage && item->FImageRect.Contains(p)) {
      hitInfo.HitPosition += hhiOnIcon;
      if (item->FCheckBox) {
        hitInfo.HitPosition += hhiOnCheckbox;
        if (button == mbLeft) item->SetCheckState(tree->NextCheckState(item->FCheckType, item->FCheckState));
      }
    }
  } else {
    FClickIndex = NoColumn;
    hitInfo.Column = NoColumn;
    hitInfo.HitPosition = {hhiNoWhere};
  }
  if (FHeader->FOptions.Contains(hoHeaderClickAutoSort) && button == mbLeft && !dblClick && hitInfo.Column >= 0 &&
      !hitInfo.HitPosition.Contains(hhiOnCheckbox)) {
    if (hitInfo.Column == FHeader->FSortColumn) {
      FHeader->SetSortDirection(FHeader->FSortDirection == sdAscending ? sdDescending : sdAscending);
    } else {
      FHeader->SetSortColumn(hitInfo.Column);
      FHeader->SetSortDirection(item->FDefaultSortDirection);
    }
  }
  if (dblClick) {
    if (tree->OnHeaderDblClick) tree->OnHeaderDblClick(FHeader, hitInfo);
  } else {
    if (tree->OnHeaderClick) tree->OnHeaderClick(FHeader, hitInfo);
  }
  if (hitInfo.Column >= 0 && IsValidColumn(hitInfo.Column)) FHeader->Invalidate(Items(hitInfo.Column));
}

// ---- Column stream ----

void TLiveTreeColumns::SaveToStream(TStream& stream) const {
  LiveTreeStreamIO::WriteInteger(stream, Count());
  if (Count() > 0) {
    for (const auto& column : FItems) column->SaveToStream(stream);
    for (TColumnIndex entry : FPositionToIndex) LiveTreeStreamIO::WriteInteger(stream, entry);
  }
  LiveTreeStreamIO::WriteInteger(stream, FDefaultWidth);
}

void TLiveTreeColumns::LoadFromStream(TStream& stream, Integer version) {
  Clear();
  Integer count = LiveTreeStreamIO::ReadInteger(stream);
  if (count > 0) {
    // Every column takes at least its fixed fields and a position entry.
    LiveTreeStreamIO::CheckCount(stream, count, LiveTreeStreamIO::MinimalColumnSize);
    BeginUpdate();
    try {
      for (Integer i = 0; i < count; ++i) Add()->LoadFromStream(stream, version);
      std::vector<TColumnIndex> positions(static_cast<size_t>(count));
      for (TColumnIndex& entry : positions) entry = LiveTreeStreamIO::ReadInteger(stream);
      // Positions from outside may repeat or leave gaps: the array is made a
      // true permutation again.
      FPositionToIndex = DisplayPermutation(positions, FItems.size());
      RecalculateColumnLefts(true);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  }
  if (version > 4) FDefaultWidth = LiveTreeStreamIO::ReadInteger(stream);
}
