// The header: its settings, the sort and main column, heights, the
// fixed-area constraints, column fitting and the header stream.
#include "livetree/livetreeheader.h"

#include <algorithm>
#include <cmath>

#include "livetree/basetree.h"
#include "livetree/livetreestreamio.h"
#include "rtl/numbers.h"
#include "rtl/unicode.h"

// ---- Fixed-area constraints ----

namespace {

Integer Percent(Integer value) {
  return std::clamp(value, 0, 100);
}

// Widths and edges from outside may be large: sums of them stay in range.
Integer SaturatedWidth(Int64 value) {
  return static_cast<Integer>(std::clamp<Int64>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

void TLTFixedAreaConstraints::SetMaxHeightPercent(Integer value) {
  value = Percent(value);
  if (value == FMaxHeightPercent) return;
  FMaxHeightPercent = value;
  if (value > 0 && value < FMinHeightPercent) FMinHeightPercent = value;
  Changed();
}

void TLTFixedAreaConstraints::SetMaxWidthPercent(Integer value) {
  value = Percent(value);
  if (value == FMaxWidthPercent) return;
  FMaxWidthPercent = value;
  if (value > 0 && value < FMinWidthPercent) FMinWidthPercent = value;
  Changed();
}

void TLTFixedAreaConstraints::SetMinHeightPercent(Integer value) {
  value = Percent(value);
  if (value == FMinHeightPercent) return;
  FMinHeightPercent = value;
  if (FMaxHeightPercent > 0 && value > FMaxHeightPercent) FMaxHeightPercent = value;
  Changed();
}

void TLTFixedAreaConstraints::SetMinWidthPercent(Integer value) {
  value = Percent(value);
  if (value == FMinWidthPercent) return;
  FMinWidthPercent = value;
  if (FMaxWidthPercent > 0 && value > FMaxWidthPercent) FMaxWidthPercent = value;
  Changed();
}

void TLTFixedAreaConstraints::Assign(const TLTFixedAreaConstraints& source) {
  FMaxHeightPercent = source.FMaxHeightPercent;
  FMaxWidthPercent = source.FMaxWidthPercent;
  FMinHeightPercent = source.FMinHeightPercent;
  FMinWidthPercent = source.FMinWidthPercent;
  Changed();
}

void TLTFixedAreaConstraints::Changed() {
  if (FHeader != nullptr) FHeader->FixedAreaChanged();
}

// ---- Header ----

TLTHeader::TLTHeader(TBaseLiveTree* owner) : FOwner(owner), FColumns(std::make_unique<TLiveTreeColumns>(this)) {}

TLTHeader::~TLTHeader() = default;

bool TLTHeader::TreeLoading() const {
  return FOwner->Loading();
}

bool TLTHeader::HasWindow() const {
  return FOwner->HasWindow();
}

ILiveTreeHost& TLTHeader::Host() const {
  return *FOwner->Host();
}

void TLTHeader::Assign(const TLTHeader& source) {
  if (&source == this) return;
  SetAutoSizeIndex(source.FAutoSizeIndex);
  SetBackground(source.FBackground);
  SetColumns(*source.FColumns);
  SetFont(source.FFont);
  SetFixedAreaConstraints(source.FFixedAreaConstraints);
  SetHeight(source.FHeight);
  SetMainColumn(source.FMainColumn);
  SetOptions(source.FOptions);
  SetParentFont(source.FParentFont);
  SetSortColumn(source.FSortColumn);
  SetSortDirection(source.FSortDirection);
  SetStyle(source.FStyle);
  ApplyFixedAreaConstraints();
}

bool TLTHeader::AllowFocus(TColumnIndex column) const {
  return FColumns->IsValidColumn(column) && FColumns->Items(column)->Options().Contains(coAllowFocus);
}

TRect TLTHeader::HeaderRect() const {
  return Rect(0, -FHeight, Host().ClientWidth(), 0);
}

bool TLTHeader::InHeader(TPoint p) const {
  return HeaderRect().Contains(p);
}

bool TLTHeader::InHeaderSplitterArea(TPoint p) const {
  if (!FOptions.Contains(hoVisible) || p.Y < -2 || p.Y > 2) return false;
  TRect area = HeaderRect();
  area.Bottom += 2;
  return p.X >= area.Left && p.X < area.Right && p.Y >= area.Top && p.Y < area.Bottom;
}

void TLTHeader::Invalidate(const TLiveTreeColumn* column, bool expandToBorder) {
  if (!FOptions.Contains(hoVisible) || !HasWindow()) return;
  TRect area = Rect(0, 0, Host().ClientWidth(), FHeight);
  if (column != nullptr) {
    area.Left = column->Left();
    area.Right = SaturatedWidth(static_cast<Int64>(column->Left()) + column->Width());
    if (!column->Options().Contains(coFixed)) area.Offset(-FOwner->EffectiveOffsetX(), 0);
    if (FOwner->UseRightToLeftAlignment()) area.Offset(FOwner->RightToLeftOffset(false), 0);
    if (expandToBorder) {
      if (FOptions.Contains(hoFullRepaintOnResize)) {
        area.Left = 0;
        area.Right = Host().ClientWidth();
      } else if (FOwner->UseRightToLeftAlignment()) {
        area.Left = 0;
      } else {
        area.Right = Host().ClientWidth();
      }
    }
  }
  Host().InvalidateHeader(area);
}

// ---- Properties ----

void TLTHeader::SetAutoSizeIndex(TColumnIndex value) {
  if (value == FAutoSizeIndex) return;
  FAutoSizeIndex = value;
  if (FOptions.Contains(hoAutoResize)) FitAutoSizeColumn(InvalidColumn, false);
}

void TLTHeader::SetBackground(TColor value) {
  if (value == FBackground) return;
  FBackground = value;
  Invalidate(nullptr);
}

void TLTHeader::SetStyle(TLTHeaderStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  if (!TreeLoading()) Invalidate(nullptr);
}

void TLTHeader::SetDefaultHeight(Integer value) {
  value = std::clamp(value, FMinHeight, std::max(FMinHeight, FMaxHeight));
  if (value == FDefaultHeight) return;
  bool follow = FHeight == FDefaultHeight;
  FDefaultHeight = value;
  if (follow) SetHeight(value);
}

void TLTHeader::SetFont(const TLiveTreeFont& value) {
  FFont = value;
  FParentFont = false;
  HeaderFontChanged();
}

void TLTHeader::SetParentFont(bool value) {
  if (value == FParentFont) return;
  FParentFont = value;
  if (value) {
    FFont = FOwner->Font();
    HeaderFontChanged();
  }
}

void TLTHeader::ParentFontChanged() {
  if (!FParentFont) return;
  FFont = FOwner->Font();
  HeaderFontChanged();
}

void TLTHeader::HeaderFontChanged() {
  if (FOwner->AutoOptions().Contains(toAutoChangeScale)) {
    Int64 spacing = 0;
    for (Integer i = 0; i < FColumns->Count(); ++i) spacing = std::max<Int64>(spacing, FColumns->Items(i)->Spacing());
    Int64 height = Host().TextExtent(FFont, u"Q").cy + spacing + spacing / 2;
    if (height > FHeight) SetHeight(SaturatedWidth(height));
  }
  Invalidate(nullptr);
}

void TLTHeader::SetHeight(Integer value) {
  if (!HasWindow()) {
    FHeight = value;
    FStates += hsNeedScaling;
    return;
  }
  Int64 total = static_cast<Int64>(Host().ClientHeight()) + FHeight;
  const TLTFixedAreaConstraints& limits = FFixedAreaConstraints;
  Int64 lower = FMinHeight, upper = FMaxHeight;
  if (limits.FMaxHeightPercent > 0) lower = std::min(lower, total * limits.FMaxHeightPercent / 100);
  if (limits.FMinHeightPercent > 0) upper = std::max(upper, total * limits.FMinHeightPercent / 100);
  Int64 height = std::min(std::max(static_cast<Int64>(value), lower), upper);
  if (limits.FMinHeightPercent > 0) height = std::max(height, total * limits.FMinHeightPercent / 100);
  if (limits.FMaxHeightPercent > 0) height = std::min(height, total * limits.FMaxHeightPercent / 100);
  value = static_cast<Integer>(height);
  if (value == FHeight) return;
  FHeight = value;
  if (!TreeLoading() && !FStates.Contains(hsScaling)) Host().HeaderFrameChanged();
  FOwner->Invalidate();
}

void TLTHeader::SetMinHeight(Integer value) {
  if (value < 0) value = 0;
  value = std::min(value, FMaxHeight);
  if (value == FMinHeight) return;
  FMinHeight = value;
  SetHeight(FHeight);
}

void TLTHeader::SetMaxHeight(Integer value) {
  value = std::max(value, FMinHeight);
  if (value == FMaxHeight) return;
  FMaxHeight = value;
  SetHeight(FHeight);
}

TColumnIndex TLTHeader::MainColumn() const {
  return FColumns->Count() > 0 ? FMainColumn : NoColumn;
}

void TLTHeader::SetMainColumn(TColumnIndex value) {
  if (TreeLoading() || FStates.Contains(hsLoading)) {
    FMainColumn = value;
    return;
  }
  value = FColumns->Count() == 0 ? NoColumn : std::clamp(value, 0, FColumns->Count() - 1);
  if (value == FMainColumn) return;
  FMainColumn = value;
  FOwner->MainColumnChanged();
  if (!FOwner->SelectionOptions().Contains(toExtendedFocus)) FOwner->FFocusedColumn = value;
  FOwner->Invalidate();
}

void TLTHeader::ClampMainColumn() {
  Integer count = FColumns->Count();
  FMainColumn = count == 0 ? NoColumn : std::clamp(FMainColumn, 0, count - 1);
}

void TLTHeader::SetOptions(TLTHeaderOptions value) {
  if (value == FOptions) return;
  TLTHeaderOptions old = FOptions;
  FOptions = value;
  bool autoResizeChanged = old.Contains(hoAutoResize) != value.Contains(hoAutoResize);
  if (autoResizeChanged && FColumns->Count() > 0) {
    FitAutoSizeColumn(InvalidColumn, false);
    if (HasWindow()) {
      FOwner->UpdateHorizontalScrollBar(false);
      if (value.Contains(hoAutoResize)) FOwner->Invalidate();
    }
  }
  if (TreeLoading() || !HasWindow()) return;
  if (old.Contains(hoVisible) != value.Contains(hoVisible)) Host().HeaderFrameChanged();
  Invalidate(nullptr);
  FOwner->Invalidate();
}

void TLTHeader::SetSortColumn(TColumnIndex value) {
  if (TreeLoading() || FStates.Contains(hsLoading)) {
    FSortColumn = value;
    return;
  }
  ApplySortColumn(value);
}

void TLTHeader::ApplySortColumn(TColumnIndex value) {
  value = std::clamp(value, NoColumn, FColumns->Count() - 1);
  if (value == FSortColumn) return;
  if (FSortColumn >= 0 && FColumns->IsValidColumn(FSortColumn)) Invalidate(FColumns->Items(FSortColumn));
  FSortColumn = value;
  if (FSortColumn >= 0) Invalidate(FColumns->Items(FSortColumn));
  ResortIfAutomatic();
}

void TLTHeader::SetSortDirection(TSortDirection value) {
  if (value == FSortDirection) return;
  FSortDirection = value;
  Invalidate(nullptr);
  if (!TreeLoading() && !FStates.Contains(hsLoading)) ResortIfAutomatic();
}

void TLTHeader::ResortIfAutomatic() {
  if ((FOwner->AutoOptions().Contains(toAutoSort) || FOptions.Contains(hoHeaderClickAutoSort)) && !FOwner->InUpdate())
    FOwner->SortTree(FSortColumn, FSortDirection, true);
}

// ---- Fitting ----

void TLTHeader::FitAutoSizeColumn(TColumnIndex, bool force) {
  Integer count = FColumns->Count();
  if (count == 0) return;
  TColumnIndex index = FColumns->IsValidColumn(FAutoSizeIndex) ? FAutoSizeIndex : count - 1;
  TLiveTreeColumn* column = FColumns->Items(index);
  Int64 width = Host().ClientWidth();
  for (Integer i = 0; i < count; ++i) {
    const TLiveTreeColumn* other = FColumns->Items(i);
    if (i != index && other->Options().Contains(coVisible)) width -= other->Width();
  }
  width = std::max<Int64>(std::min<Int64>(width, column->MaxWidth()), column->MinWidth());
  if (!force && width == column->FWidth) return;
  column->FWidth = static_cast<Integer>(width);
  FColumns->RecalculateColumnLefts(false);
  // The resize is reported as one change of the tree, without opening a
  // whole update (which would re-sort a tree that sorts automatically).
  if (FOwner->TreeStates().Contains(tsUpdating)) {
    FOwner->DoColumnResize(index);
  } else {
    FOwner->ChangeTreeStates({tsUpdating}, {});
    try {
      FOwner->DoColumnResize(index);
    } catch (...) {
      FOwner->ChangeTreeStates({}, {tsUpdating});
      throw;
    }
    FOwner->ChangeTreeStates({}, {tsUpdating});
  }
}

Integer TLTHeader::ResizeColumns(Integer changeBy, TColumnIndex rangeStartCol, TColumnIndex rangeEndCol,
                                 TLTColumnOptions options) {
  if (changeBy == 0) return 0;
  rangeStartCol = std::max(rangeStartCol, 0);
  rangeEndCol = std::min(rangeEndCol, FColumns->Count() - 1);
  if (rangeStartCol > rangeEndCol) return 0;
  const bool grow = changeBy > 0;
  const Integer sign = grow ? 1 : -1;
  const TColumnIndex startIndex = grow ? rangeStartCol : rangeEndCol;
  Int64 remaining = std::abs(static_cast<Int64>(changeBy));
  const size_t n = static_cast<size_t>(rangeEndCol - rangeStartCol + 1);
  std::vector<Int64> widths(n), limits(n);
  std::vector<bool> qualifies(n);
  auto column = [&](size_t i) { return FColumns->Items(rangeStartCol + static_cast<Integer>(i)); };
  for (size_t i = 0; i < n; ++i) {
    widths[i] = column(i)->Width();
    limits[i] = grow ? column(i)->MaxWidth() : column(i)->MinWidth();
    qualifies[i] = column(i)->Options().ContainsAll(options);
  }
  auto roomOf = [&](size_t i) -> Int64 {
    Int64 room = grow ? limits[i] - widths[i] : widths[i] - limits[i];
    return room > 0 ? room : 0;
  };
  for (;;) {
    Int64 room = 0;
    Integer counted = 0;
    auto measure = [&] {
      room = 0;
      counted = 0;
      for (size_t i = 0; i < n; ++i) {
        if (!qualifies[i] || roomOf(i) == 0) continue;
        room += roomOf(i);
        ++counted;
      }
    };
    measure();
    // While scaling, columns that cannot shrink enough give up a tenth of
    // their minimum at a time, the widest first.
    while (FStates.Contains(hsScaling) && !grow && room < std::abs(static_cast<Int64>(changeBy))) {
      size_t widest = n;
      for (size_t i = 0; i < n; ++i)
        if (qualifies[i] && limits[i] > 10 && (widest == n || widths[i] > widths[widest])) widest = i;
      if (widest == n) break;
      limits[widest] -= limits[widest] / 10;
      measure();
    }
    if (counted == 0) break;
    remaining = std::min(remaining, room);
    const Int64 distributed = remaining;
    Int64 share = remaining / counted;
    Int64 applied = 0;
    if (share > 0) {
      for (size_t i = 0; i < n; ++i) {
        if (!qualifies[i]) continue;
        Int64 step = std::min(share, roomOf(i));
        if (step == 0) continue;
        widths[i] += sign * step;
        remaining -= step;
        applied += step;
      }
    }
    // The rounding pixels go round: a column that had the last one waits
    // until every other column has had one.
    Int64 rest = std::min(distributed % counted, remaining);
    Integer flips = 0;
    Integer index = startIndex;
    while (rest > 0 && flips < 2) {
      if (index < rangeStartCol || index > rangeEndCol) {
        for (size_t i = 0; i < n; ++i)
          if (qualifies[i]) column(i)->FBonusPixel = !column(i)->FBonusPixel;
        ++flips;
        index = startIndex;
        continue;
      }
      size_t i = static_cast<size_t>(index - rangeStartCol);
      if (qualifies[i] && roomOf(i) > 0 && column(i)->FBonusPixel != grow) {
        widths[i] += sign;
        column(i)->FBonusPixel = grow;
        --rest;
        --remaining;
        ++applied;
        flips = 0;
      }
      index += sign;
    }
    if (remaining <= 0 || applied == 0) break;
  }
  Int64 result = 0;
  bool wasResizing = FStates.Contains(hsResizing);
  FStates += hsResizing;
  try {
    for (size_t i = 0; i < n; ++i) {
      if (!qualifies[i]) continue;
      Int64 old = column(i)->Width();
      column(i)->SetWidth(SaturatedWidth(widths[i]));
      result += column(i)->Width() - old;
    }
  } catch (...) {
    if (!wasResizing) FStates -= hsResizing;
    throw;
  }
  if (!wasResizing) FStates -= hsResizing;
  return SaturatedWidth(result);
}

void TLTHeader::SpringColumns() {
  Integer headerWidth = Host().ClientWidth();
  if (FOptions.Contains(hoAutoSpring) && FLastWidth != 0) {
    double delta = static_cast<double>(headerWidth) - FLastWidth;
    if (delta != 0) {
      Integer sign = delta > 0 ? 1 : -1;
      delta = std::abs(delta);
      Integer count = 0;
      for (Integer i = 0; i < FColumns->Count(); ++i) {
        TLTColumnOptions options = FColumns->Items(i)->Options();
        if (options.Contains(coAutoSpring) && options.Contains(coVisible)) ++count;
      }
      if (count > 0) {
        double part = delta / count;
        for (Integer i = 0; i < FColumns->Count(); ++i) {
          TLiveTreeColumn* column = FColumns->Items(i);
          TLTColumnOptions options = column->Options();
          if (!options.Contains(coAutoSpring) || !options.Contains(coVisible)) continue;
          column->FSpringRest += part;
          if (column->FSpringRest >= 1) {
            double whole = std::trunc(column->FSpringRest);
            column->SetWidth(SaturatedWidth(column->Width() + sign * static_cast<Int64>(whole)));
            column->FSpringRest -= whole;
          }
          delta -= part;
          if (delta < 0) break;
        }
      }
    }
  }
  FLastWidth = headerWidth;
}

void TLTHeader::AutoFitColumns(bool animated, TSmartAutoFitType smartAutoFitType, Integer rangeStartCol,
                               Integer rangeEndCol) {
  Integer count = FColumns->Count();
  if (rangeStartCol < 0) rangeStartCol = 0;
  if (rangeEndCol < 0 || rangeEndCol >= count) rangeEndCol = count - 1;
  if (rangeStartCol > rangeEndCol) return;
  FOwner->StartOperation(okAutoFitColumns);
  try {
    if (FOwner->OnBeforeAutoFitColumns) FOwner->OnBeforeAutoFitColumns(this, smartAutoFitType);
    for (Integer position = rangeStartCol; position <= rangeEndCol; ++position) {
      TColumnIndex index = FColumns->ColumnFromPosition(static_cast<TColumnPosition>(position));
      if (!FColumns->IsValidColumn(index)) continue;
      TLiveTreeColumn* column = FColumns->Items(index);
      TLTColumnOptions options = column->Options();
      if (!options.Contains(coResizable) || !options.Contains(coVisible)) continue;
      TSmartAutoFitType kind = smartAutoFitType;
      bool allowed = true;
      if (FOwner->OnBeforeAutoFitColumn) FOwner->OnBeforeAutoFitColumn(this, index, kind, allowed);
      if (!allowed || FOwner->OperationCanceled()) continue;
      bool useSmart = kind == smaAllColumns || (kind == smaUseColumnOption && options.Contains(coSmartResize));
      Integer width = FOwner->GetMaxColumnWidth(index, useSmart);
      if (animated)
        FColumns->AnimatedResize(index, width);
      else
        column->SetWidth(width);
      if (FOwner->OnAfterAutoFitColumn) FOwner->OnAfterAutoFitColumn(this, index);
    }
    if (FOwner->OnAfterAutoFitColumns) FOwner->OnAfterAutoFitColumns(this);
  } catch (...) {
    FOwner->EndOperation(okAutoFitColumns);
    throw;
  }
  FOwner->EndOperation(okAutoFitColumns);
}

void TLTHeader::RestoreColumns() {
  const auto& positions = FColumns->PositionToIndex();
  for (auto run = positions.rbegin(); run != positions.rend(); ++run) {
    if (!FColumns->IsValidColumn(*run)) continue;
    TLiveTreeColumn* column = FColumns->Items(*run);
    if (column->Options().Contains(coVisible) && column->Options().Contains(coResizable)) column->RestoreLastWidth();
  }
}

void TLTHeader::FixedAreaChanged() {
  if (HasWindow())
    ApplyFixedAreaConstraints();
  else
    FStates += hsNeedScaling;
}

void TLTHeader::ApplyFixedAreaConstraints() {
  if (TreeLoading() || FStates.Contains(hsLoading) || !HasWindow()) return;
  if (FStates.Contains(hsScaling)) {
    SetHeight(FHeight);
    Host().HeaderFrameChanged();
  }
  const TLTFixedAreaConstraints& limits = FFixedAreaConstraints;
  if (limits.FMinHeightPercent > 0 || limits.FMaxHeightPercent > 0) {
    for (Integer i = 0; i < FColumns->Count(); ++i) {
      TLiveTreeColumn* column = FColumns->Items(i);
      TLTColumnOptions options = column->Options();
      if (options.Contains(coVisible) && options.Contains(coFixed) && column->Width() < column->MinWidth())
        column->FWidth = column->MinWidth();
    }
    Int64 fixedWidth = FColumns->GetVisibleFixedWidth();
    Int64 clientWidth = Host().ClientWidth();
    Integer last = FColumns->Count() - 1;
    if (limits.FMaxWidthPercent > 0 && clientWidth * limits.FMaxWidthPercent / 100 < fixedWidth)
      ResizeColumns(static_cast<Integer>(clientWidth * limits.FMaxWidthPercent / 100 - fixedWidth), 0, last,
                    {coVisible, coFixed});
    else if (limits.FMinWidthPercent > 0 && fixedWidth < clientWidth * limits.FMinWidthPercent / 100)
      ResizeColumns(static_cast<Integer>(clientWidth * limits.FMinWidthPercent / 100 - fixedWidth), 0, last,
                    {coVisible, coFixed});
    FColumns->RecalculateColumnLefts(false);
  }
  FStates -= THeaderStates{hsScaling, hsNeedScaling};
}

void TLTHeader::ScaleHeader(Integer m, Integer d) {
  if (!FParentFont) {
    TLiveTreeFont font = FFont;
    font.Height = MulDiv(font.Height, m, d);
    FFont = font;
  }
  SetHeight(MulDiv(FHeight, m, d));
  for (Integer i = 0; i < FColumns->Count(); ++i) {
    TLiveTreeColumn* column = FColumns->Items(i);
    column->SetWidth(MulDiv(column->Width(), m, d));
  }
}

bool TLTHeader::FindSplitterColumn(TPoint p) {
  FColumns->FTrackIndex = NoColumn;
  if (FColumns->Count() == 0) return false;
  const auto& positions = FColumns->PositionToIndex();
  Integer fixedWidth = FColumns->GetVisibleFixedWidth();
  Integer offset = FOwner->EffectiveOffsetX();
  auto mayResize = [&](TColumnIndex index) {
    TLTColumnOptions options = FColumns->Items(index)->Options();
    if (!options.Contains(coResizable) || !options.Contains(coVisible)) return false;
    bool allowed = true;
    if (FOwner->OnCanSplitterResizeColumn) FOwner->OnCanSplitterResizeColumn(this, p, index, allowed);
    return allowed;
  };
  if (!FOwner->UseRightToLeftAlignment()) {
    Int64 edge = static_cast<Int64>(FOwner->RangeX()) - offset;
    for (auto run = positions.rbegin(); run != positions.rend(); ++run) {
      TLiveTreeColumn* column = FColumns->Items(*run);
      if (!column->Options().Contains(coVisible)) continue;
      bool fixed = column->Options().Contains(coFixed);
      Int64 right = fixed ? static_cast<Int64>(column->Left()) + column->Width() : edge;
      if ((fixed || p.X > fixedWidth) && p.X > right - 3 && p.X < right + 5 && mayResize(*run)) {
        FColumns->FTrackIndex = *run;
        FTrackPoint = Point(SaturatedWidth(right - column->Width()), p.Y);
        return true;
      }
      edge -= column->Width();
    }
  } else {
    Integer clientWidth = Host().ClientWidth();
    Int64 edge = -static_cast<Int64>(offset);
    if (FOwner->RangeX() < clientWidth) edge += clientWidth - FOwner->RangeX();
    for (TColumnIndex index : positions) {
      TLiveTreeColumn* column = FColumns->Items(index);
      if (!column->Options().Contains(coVisible)) continue;
      bool fixed = column->Options().Contains(coFixed);
      Int64 left = fixed ? edge + offset : edge;
      if ((fixed || p.X > fixedWidth) && p.X > left - 5 && p.X < left + 3 && mayResize(index)) {
        FColumns->FTrackIndex = index;
        FTrackPoint = Point(SaturatedWidth(left + column->Width() + (fixed ? offset : 0)), p.Y);
        return true;
      }
      edge += column->Width();
    }
  }
  return false;
}

TColumnPosition TLTHeader::DropPosition(TColumnPosition dragged, TColumnPosition target, bool dropBefore) {
  if (dropBefore) return dragged < target ? target - 1 : target;
  return dragged < target ? target : target + 1;
}

// ---- Header stream ----

namespace {

constexpr Integer HeaderStreamVersion = 6;

}  // namespace

void TLTHeader::SaveToStream(TStream& stream) const {
  LiveTreeStreamIO::WriteInteger(stream, -1);
  LiveTreeStreamIO::WriteInteger(stream, HeaderStreamVersion);
  FColumns->SaveToStream(stream);
  UTF8String fontName = StringToUTF8(FFont.Name);
  for (Integer value : {FAutoSizeIndex, static_cast<Integer>(FBackground), FHeight,
                        static_cast<Integer>(FOptions.ToBits()), static_cast<Integer>(FStyle),
                        static_cast<Integer>(FFont.Color), FFont.Height, static_cast<Integer>(fontName.size())})
    LiveTreeStreamIO::WriteInteger(stream, value);
  stream.WriteBuffer(fontName.data(), static_cast<Int64>(fontName.size()));
  for (Integer value : {static_cast<Integer>(FFont.Pitch), static_cast<Integer>(FFont.Style.Bits() & 0xFF), FMainColumn,
                        FSortColumn, static_cast<Integer>(FSortDirection), FParentFont ? 1 : 0, FMaxHeight, FMinHeight,
                        FDefaultHeight, FFixedAreaConstraints.FMaxHeightPercent, FFixedAreaConstraints.FMaxWidthPercent,
                        FFixedAreaConstraints.FMinHeightPercent, FFixedAreaConstraints.FMinWidthPercent})
    LiveTreeStreamIO::WriteInteger(stream, value);
}

void TLTHeader::LoadFromStream(TStream& stream) {
  TLTHeaderOptions storedOptions = FOptions;
  FStates += hsLoading;
  FOptions = {};
  // Indices from outside are stored as read while loading; whatever was
  // read, they must name columns that exist.
  auto clampIndices = [this] {
    ClampMainColumn();
    FSortColumn = std::clamp(FSortColumn, NoColumn, FColumns->Count() - 1);
  };
  try {
    ReadStreamFields(stream, storedOptions);
  } catch (...) {
    clampIndices();
    FOptions = storedOptions;
    FStates -= hsLoading;
    try {
      FOwner->DoColumnResize(NoColumn);
    } catch (...) {
      // The stream's failure is the one reported.
    }
    throw;
  }
  clampIndices();
  FStates -= hsLoading;
  FOwner->DoColumnResize(NoColumn);
}

void TLTHeader::ReadStreamFields(TStream& stream, TLTHeaderOptions storedOptions) {
  using namespace LiveTreeStreamIO;
  Integer version = -1;
  Integer first = ReadInteger(stream);
  if (first < 0)
    version = ReadInteger(stream);
  else
    stream.Seek(-4, soCurrent);
  FColumns->LoadFromStream(stream, version);
  SetAutoSizeIndex(ReadInteger(stream));
  SetBackground(ReadInteger(stream));
  SetHeight(ReadInteger(stream));
  Integer optionBits = ReadInteger(stream);
  FOptions = storedOptions;
  SetOptions(TLTHeaderOptions::FromBits(static_cast<Cardinal>(optionBits) & 0x1FFFF));
  Integer style = ReadInteger(stream);
  SetStyle(style >= 0 && style <= hsPlates ? static_cast<TLTHeaderStyle>(style) : hsThickButtons);
  TLiveTreeFont font = FFont;
  font.Color = ReadInteger(stream);
  font.Height = ReadInteger(stream);
  Integer nameLength = ReadInteger(stream);
  CheckCount(stream, nameLength, 1);
  UTF8String name(static_cast<size_t>(nameLength), '\0');
  stream.ReadBuffer(name.data(), nameLength);
  font.Name = UTF8ToString(name);
  Integer pitch = ReadInteger(stream);
  font.Pitch = pitch >= 0 && pitch <= fpFixed ? static_cast<TFontPitch>(pitch) : fpDefault;
  font.Style = TFontStyles::FromBits(static_cast<Cardinal>(ReadInteger(stream)) & 0x0F);
  SetFont(font);
  if (version > 0) {
    SetMainColumn(ReadInteger(stream));
    SetSortColumn(ReadInteger(stream));
    SetSortDirection(ReadInteger(stream) == sdDescending ? sdDescending : sdAscending);
  }
  if (version > 4) {
    SetParentFont(ReadInteger(stream) != 0);
    FMaxHeight = ReadInteger(stream);
    FMinHeight = ReadInteger(stream);
    FDefaultHeight = ReadInteger(stream);
    FFixedAreaConstraints.FMaxHeightPercent = Percent(ReadInteger(stream));
    FFixedAreaConstraints.FMaxWidthPercent = Percent(ReadInteger(stream));
    FFixedAreaConstraints.FMinHeightPercent = Percent(ReadInteger(stream));
    FFixedAreaConstraints.FMinWidthPercent = Percent(ReadInteger(stream));
  }
}
