// The tree's geometry: appearance properties, scroll offsets and ranges,
// scrolling nodes and columns into view, display rectangles, column
// measuring, hit tests and the mouse selection rectangle.
#include <algorithm>

#include "livetree/basetree.h"
#include "livetree/livetreeassert.h"
#include "rtl/numbers.h"

// ---- Appearance ----

void TBaseLiveTree::SetFont(const TLiveTreeFont& value) {
  if (value == FFont) return;
  FFont = value;
  FontChanged();
}

void TBaseLiveTree::FontChanged() {
  FHeader->ParentFontChanged();
  if (!FLoading) Invalidate();
}

void TBaseLiveTree::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  for (Integer i = 0; i < FHeader->Columns().Count(); ++i) FHeader->Columns()[i]->ParentColorChanged();
  Invalidate();
}

void TBaseLiveTree::SetBiDiMode(TBiDiMode value) {
  if (value == FBiDiMode) return;
  FBiDiMode = value;
  FEffectiveOffsetX = std::max(0, UseRightToLeftAlignment() ? FRangeX + FOffsetX - FHost->ClientWidth() : -FOffsetX);
  for (Integer i = 0; i < FHeader->Columns().Count(); ++i) FHeader->Columns()[i]->ParentBiDiModeChanged();
  if (AutoOptions().Contains(toAutoBidiColumnOrdering))
    FHeader->Columns().ResetPositionOrder(UseRightToLeftAlignment());
  FHeader->Invalidate(nullptr);
  Invalidate();
}

void TBaseLiveTree::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  if (!FLoading) Invalidate();
}

void TBaseLiveTree::SetLineStyle(TLTLineStyle value) {
  if (value == FLineStyle) return;
  FLineStyle = value;
  if (!FLoading) Invalidate();
}

void TBaseLiveTree::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Invalidate();
}

void TBaseLiveTree::MainColumnChanged() {
  CancelEditNode();
}

void TBaseLiveTree::DoColumnResize(TColumnIndex column) {
  if (FLoading || !HasWindow()) return;
  for (PLiveNode run = GetFirstInitialized(); run; run = GetNextInitialized(run))
    if (run->Has(vsMultiline)) run->Exclude({vsHeightMeasured});
  UpdateHorizontalScrollBar(true);
  if (column >= 0 && FHeader->Columns().IsValidColumn(column)) {
    Invalidate();
    FHeader->Invalidate(FHeader->Columns()[column], true);
  }
  if (!FHeader->States().Contains(hsResizing) && OnColumnResize) OnColumnResize(FHeader.get(), column);
}

// ---- Scrolling ----

void TBaseLiveTree::SetOffsetX(Integer value) {
  ScrollOffsets(Point(value, FOffsetY));
}

void TBaseLiveTree::SetOffsetY(Integer value) {
  ScrollOffsets(Point(FOffsetX, value));
}

void TBaseLiveTree::SetOffsetXY(TPoint value) {
  ScrollOffsets(value);
}

bool TBaseLiveTree::ScrollOffsets(TPoint value, bool updateScrollBars) {
  Integer clientWidth = FHost->ClientWidth();
  Integer clientHeight = FHost->ClientHeight();
  Integer x = std::min(std::max(value.X, clientWidth - FRangeX), 0);
  Integer y = std::min(std::max(value.Y, clientHeight - FRangeY), 0);
  Integer deltaX = x - FOffsetX;
  if (UseRightToLeftAlignment()) deltaX = -deltaX;
  Integer deltaY = y - FOffsetY;
  if (deltaX == 0 && deltaY == 0) return false;
  FOffsetX = x;
  FOffsetY = y;
  FEffectiveOffsetX = std::max(0, UseRightToLeftAlignment() ? FRangeX + FOffsetX - clientWidth : -FOffsetX);
  if (TreeStates().Contains(tsHint)) FHost->CancelHint();
  if (!InUpdate()) {
    FHost->ScrollContent(deltaX, deltaY);
    if (updateScrollBars) {
      TLiveTreeStates states = TreeStates();
      if (deltaX != 0) {
        if (FHeader->Options().Contains(hoVisible)) FHeader->Invalidate(nullptr);
        if (!states.Contains(tsSizing)) FHost->UpdateHorizontalScrollBar(true);
      }
      if (deltaY != 0 && !states.Contains(tsSizing) && !states.Contains(tsThumbTracking)) {
        FHost->UpdateVerticalScrollBar(true);
        if (!FHeader->UseColumns() && !IsMouseSelecting()) FHost->UpdateHorizontalScrollBar(true);
      }
    }
  }
  if (OnScroll) OnScroll(this, deltaX, deltaY);
  return true;
}

void TBaseLiveTree::UpdateRanges() {
  UpdateVerticalRange();
  UpdateHorizontalRange();
}

void TBaseLiveTree::UpdateVerticalRange() {
  Int64 total = std::max<Int64>(FRoot->TotalHeight, FDefaultNodeHeight);
  FRangeY = static_cast<Integer>(std::min<Int64>(total + FBottomSpace - FRoot->Height(), INT32_MAX));
}

void TBaseLiveTree::UpdateHorizontalRange() {
  if (FHeader->UseColumns()) {
    FRangeX = FHeader->Columns().TotalWidth();
    return;
  }
  Integer nodeTop = 0;
  PLiveNode node = GetNodeAt(0, 0, true, nodeTop);
  Int64 widest = 0;
  if (node != nullptr) {
    Integer showRoot = PaintOptions().Contains(toShowRoot) ? 1 : 0;
    Int64 indentation = (static_cast<Int64>(GetNodeLevel(node)) + showRoot) * FIndent;
    for (TLTImageListKind kind : {ilState, ilNormal}) {
      TSize size = ImageSize(kind);
      if (size.cx > 0) indentation += size.cx + 2;
    }
    bool checks = MiscOptions().Contains(toCheckSupport) && ImageSize(ilCheck).cx > 0;
    Integer clientHeight = FHost->ClientHeight();
    Int64 top = nodeTop;
    while (node != nullptr) {
      if (!node->Has(vsInitialized)) InitializeNode(node);
      Int64 width = indentation + MeasureNodeWidth(node, NoColumn) + NodeExtraWidth(node, NoColumn);
      if (checks && node->CheckType != ctNone) width += ImageSize(ilCheck).cx + 2;
      widest = std::max(widest, width);
      top += node->Height();
      if (top > clientHeight) break;
      PLiveNode next = GetNextVisible(node, true);
      if (next == nullptr) break;
      indentation += (static_cast<Int64>(GetNodeLevel(next)) - static_cast<Int64>(GetNodeLevel(node))) * FIndent;
      node = next;
    }
  }
  FRangeX = static_cast<Integer>(std::min<Int64>(widest + FMargin, INT32_MAX));
}

void TBaseLiveTree::UpdateHorizontalScrollBar(bool repaint) {
  UpdateHorizontalRange();
  if (TreeStates().Contains(tsUpdating) || !HasWindow()) return;
  FEffectiveOffsetX = std::max(0, UseRightToLeftAlignment() ? FRangeX + FOffsetX - FHost->ClientWidth() : -FOffsetX);
  FHost->UpdateHorizontalScrollBar(repaint);
  // A shrunken range may leave the offset outside it.
  ScrollOffsets(Point(FOffsetX, FOffsetY), false);
}

Integer TBaseLiveTree::RightToLeftOffset(bool forPainting) {
  bool verticalBar = FHost->VerticalScrollBarShown();
  Integer extra = verticalBar ? FHost->VerticalScrollBarWidth() : 0;
  Integer headerWidth = FHeader->HeaderRect().Width();
  if (headerWidth >= extra + FRangeX) extra = headerWidth - FRangeX;
  if (forPainting && verticalBar) extra -= FHost->VerticalScrollBarWidth();
  return extra;
}

TRect TBaseLiveTree::GetTreeRect() const {
  return Rect(0, 0, std::max(FHost->ClientWidth(), FRangeX), std::max(FHost->ClientHeight(), FRangeY));
}

PLiveNode TBaseLiveTree::TopNode() {
  Integer top = 0;
  return GetNodeAt(0, 0, true, top);
}

PLiveNode TBaseLiveTree::BottomNode() {
  Integer top = 0;
  PLiveNode node = GetNodeAt(0, FHost->ClientHeight() - 1, true, top);
  return node != nullptr ? node : GetLastVisibleNoInit(nullptr, true);
}

bool TBaseLiveTree::ScrollIntoView(PLiveNode node, bool center, bool horizontally) {
  if (node == nullptr || node == FRoot) return false;
  // A node under a hidden ancestor has no place on screen to scroll to.
  for (PLiveNode run = node; run != FRoot && run != nullptr; run = run->Parent)
    if (!run->Has(vsVisible)) return false;
  std::vector<PLiveNode> collapsed;
  for (PLiveNode run = node->Parent; run != FRoot; run = run->Parent)
    if (!run->Has(vsExpanded)) collapsed.push_back(run);
  for (auto run = collapsed.rbegin(); run != collapsed.rend(); ++run) ToggleNode(*run);
  UpdateVerticalRange();
  TColumnIndex column =
      FHeader->UseColumns() && FHeader->Columns().IsValidColumn(FFocusedColumn) ? FFocusedColumn : NoColumn;
  TRect r = GetDisplayRect(node, column, false, false, !MiscOptions().Contains(toGridExtensions));
  Integer clientHeight = FHost->ClientHeight();
  bool scrolled = false;
  if (r.Top < 0) {
    scrolled = ScrollOffsets(Point(FOffsetX, FOffsetY - r.Top + (center ? clientHeight / 2 : 0)));
  } else if (r.Bottom > clientHeight || center) {
    Integer y = FOffsetY + (center ? clientHeight / 2 : clientHeight) - r.Bottom;
    // Room for a horizontal scroll bar that is about to appear.
    if (!FHeader->UseColumns() && !FHost->HorizontalScrollBarShown() && FHost->ClientWidth() < FRangeX)
      y -= FHost->HorizontalScrollBarHeight();
    scrolled = ScrollOffsets(Point(FOffsetX, y));
  }
  if (horizontally && FHeader->UseColumns() && FHeader->Columns().IsValidColumn(FFocusedColumn))
    scrolled = ScrollIntoView(FFocusedColumn, center) || scrolled;
  return scrolled;
}

bool TBaseLiveTree::ScrollIntoView(TColumnIndex column, bool center) {
  TLiveTreeColumns& columns = FHeader->Columns();
  if (!FHeader->UseColumns() || !columns.IsValidColumn(column)) return false;
  UpdateHorizontalRange();
  // The column's edges as shown now: the targets below add the current
  // offset back.
  Integer left = columns[column]->ScrolledLeft();
  Integer width = columns[column]->Width();
  Integer fixedWidth = columns.GetVisibleFixedWidth();
  Integer clientWidth = FHost->ClientWidth();
  Integer target = FEffectiveOffsetX;
  if (center) {
    target = left + FEffectiveOffsetX + width / 2 - fixedWidth / 2 - clientWidth / 2;
  } else {
    if (columns[column]->Options().Contains(coFixed)) return true;
    if (left + width > clientWidth)
      target = left + width + FEffectiveOffsetX - clientWidth;
    else if (left < fixedWidth)
      target = FEffectiveOffsetX + left - fixedWidth;
  }
  if (target != FEffectiveOffsetX) {
    if (UseRightToLeftAlignment())
      ScrollOffsets(Point(clientWidth + target - FRangeX, FOffsetY));
    else
      ScrollOffsets(Point(-target, FOffsetY));
  }
  return true;
}

// ---- Node measuring and images ----

Integer TBaseLiveTree::MeasureNodeWidth(PLiveNode, TColumnIndex, TCanvas*) {
  return 0;
}

Integer TBaseLiveTree::NodeExtraWidth(PLiveNode, TColumnIndex, TCanvas*) {
  return 0;
}

bool TBaseLiveTree::IsCellEmpty(PLiveNode node, TColumnIndex column) {
  return QueryCellIsEmpty(node, column);
}

Integer TBaseLiveTree::IncrementalSearchCompare(PLiveNode node, const String& searchText) {
  Integer result = 0;
  if (OnIncrementalSearch) OnIncrementalSearch(this, node, searchText, result);
  return result;
}

Integer TBaseLiveTree::QueryImageIndex(PLiveNode node, TLTImageKind kind, TColumnIndex column, bool& ghosted) {
  Integer index = -1;
  ghosted = false;
  if (OnGetImageIndex) OnGetImageIndex(this, node, kind, column, ghosted, index);
  return index;
}

bool TBaseLiveTree::HasNodeImage(PLiveNode node, TLTImageKind kind, TColumnIndex column) {
  if (ImageSize(kind == ikState ? ilState : ilNormal).cx <= 0) return false;
  bool ghosted = false;
  return QueryImageIndex(node, kind, column, ghosted) >= 0;
}

TPoint TBaseLiveTree::QueryCellContentMargin(PLiveNode node, TColumnIndex column, TLTCellContentMarginType marginType,
                                             TCanvas* canvas) {
  if (!OnBeforeCellPaint) return {};
  TRect cell = GetDisplayRect(node, column, true, false, false);
  TRect content = cell;
  OnBeforeCellPaint(this, canvas != nullptr ? canvas : FHost->Canvas(), node, column, cpmGetContentMargin, cell,
                    content);
  switch (marginType) {
    case ccmtTopLeftOnly: return Point(content.Left - cell.Left, content.Top - cell.Top);
    case ccmtBottomRightOnly: return Point(cell.Right - content.Right, cell.Bottom - content.Bottom);
    default:
      return Point(content.Left - cell.Left + cell.Right - content.Right,
                   content.Top - cell.Top + cell.Bottom - content.Bottom);
  }
}

void TBaseLiveTree::GetTextInfo(PLiveNode, TColumnIndex, TLiveTreeFont& font, TRect& r, String& text) {
  r = TRect{};
  text.clear();
  font = FFont;
}

// ---- Display rectangles ----

TRect TBaseLiveTree::GetDisplayRect(PLiveNode node, TColumnIndex column, bool textOnly, bool unclipped,
                                    bool applyCellContentMargin) {
  LTAssert(node != nullptr, "Node must not be nil.");
  LTAssert(node != FRoot, "Node must not be the hidden root node.");
  if (!node->Has(vsInitialized)) InitializeNode(node);
  TColumnIndex mainColumn = MainColumn();
  bool inMain = column == NoColumn || column == mainColumn;
  TRect result;
  if (!GetEffectivelyVisible(node)) return result;
  Int64 indentation = 0;
  TLTPaintOptions paintOptions = PaintOptions();
  if (!paintOptions.Contains(toFixedIndent)) {
    for (PLiveNode run = node; run != FRoot; run = run->Parent) {
      if (!run->Has(vsVisible)) return result;
      if (run != node) {
        if (!run->Has(vsExpanded)) return result;
        if (inMain) indentation += FIndent;
      }
    }
  }
  Int64 top = 0;
  PLiveNode run = nullptr;
  if (TreeStates().Contains(tsUseCache)) {
    Cardinal entryTop = 0;
    run = CacheEntryForNode(node, entryTop);
    top = entryTop;
  }
  if (run != nullptr) {
    while (run != nullptr && run != node) {
      top += run->Height();
      run = GetNextVisibleNoInit(run, true);
    }
  } else {
    for (run = GetPreviousVisibleNoInit(node, true); run != nullptr; run = GetPreviousVisibleNoInit(run, true))
      top += run->Height();
  }
  Integer width = std::max(FHost->ClientWidth(), FRangeX);
  result = Rect(0, static_cast<Integer>(top), width, static_cast<Integer>(top) + node->Height());
  TLiveTreeColumns& columns = FHeader->Columns();
  bool realColumn = column != NoColumn && columns.IsValidColumn(column);
  if (!realColumn) {
    result.Offset(-FEffectiveOffsetX, 0);
  } else {
    columns.GetColumnBounds(column, result.Left, result.Right);
    --result.Right;
  }
  result.Offset(0, FOffsetY);
  if (!textOnly) return result;

  Int64 offset = FMargin + indentation;
  TAlignment alignment = realColumn ? columns[column]->Alignment() : FAlignment;
  TBiDiMode bidiMode = realColumn ? columns[column]->BiDiMode() : FBiDiMode;
  if (inMain) {
    if (paintOptions.Contains(toShowRoot)) offset += FIndent;
    if (MiscOptions().Contains(toCheckSupport) && ImageSize(ilCheck).cx > 0 && node->CheckType != ctNone)
      offset += ImageSize(ilCheck).cx + 2;
  }
  TColumnIndex imageColumn = realColumn ? column : NoColumn;
  if (HasNodeImage(node, ikState, imageColumn)) offset += ImageSize(ilState).cx + 2;
  if (HasNodeImage(node, ikNormal, imageColumn)) offset += ImageSize(ilNormal).cx + 2;
  if (bidiMode != bdLeftToRight) {
    result.Right -= static_cast<Integer>(offset);
    if (alignment == taLeftJustify)
      alignment = taRightJustify;
    else if (alignment == taRightJustify)
      alignment = taLeftJustify;
  } else {
    result.Left += static_cast<Integer>(offset);
  }
  Integer textWidth = MeasureNodeWidth(node, column);
  if (applyCellContentMargin && OnBeforeCellPaint) {
    TRect content = result;
    OnBeforeCellPaint(this, FHost->Canvas(), node, column, cpmGetContentMargin, result, content);
    result = content;
  }
  if (unclipped) {
    if (result.Width() < textWidth - 1) alignment = bidiMode != bdLeftToRight ? taRightJustify : taLeftJustify;
    Integer fontHeight = FHost->FontHeight(FFont);
    if (fontHeight > result.Height()) {
      Integer extra = (fontHeight - result.Height()) / 2;
      result.Top -= extra;
      result.Bottom = result.Top + fontHeight;
    }
    switch (alignment) {
      case taRightJustify: result.Left = result.Right - textWidth; break;
      case taCenter:
        result.Left = (result.Left + result.Right - textWidth) / 2;
        result.Right = result.Left + textWidth;
        break;
      default: result.Right = result.Left + textWidth - 1; break;
    }
  } else if (textWidth < result.Width()) {
    switch (alignment) {
      case taRightJustify: result.Left = result.Right - textWidth; break;
      case taCenter:
        result.Left = (result.Left + result.Right - textWidth) / 2;
        result.Right = result.Left + textWidth;
        break;
      default: result.Right = result.Left + textWidth; break;
    }
  }
  return result;
}

// ---- Column measuring ----

Integer TBaseLiveTree::GetMaxColumnWidth(TColumnIndex column, bool useSmartColumnWidth) {
  TLiveTreeColumns& columns = FHeader->Columns();
  if (OperationCanceled()) return columns.IsValidColumn(column) ? columns[column]->Width() : 0;
  StartOperation(okGetMaxColumnWidth);
  Integer result = 0;
  try {
    if (OnBeforeGetMaxColumnWidth) OnBeforeGetMaxColumnWidth(FHeader.get(), column, useSmartColumnWidth);
    PLiveNode node = nullptr;
    PLiveNode stop = nullptr;
    if (useSmartColumnWidth) {
      node = TopNode();
      PLiveNode bottom = BottomNode();
      stop = bottom != nullptr ? GetNextVisible(bottom, true) : nullptr;
    } else {
      node = GetFirstVisible(nullptr, true, false);
    }
    bool inMain = column == MainColumn();
    bool fixedIndent = PaintOptions().Contains(toFixedIndent);
    Int64 offset = 0;
    if (inMain && node != nullptr) {
      if (fixedIndent)
        offset = FIndent;
      else
        offset = (static_cast<Int64>(GetNodeLevel(node)) + (PaintOptions().Contains(toShowRoot) ? 1 : 0)) * FIndent;
    }
    offset += FMargin;
    bool checks = inMain && MiscOptions().Contains(toCheckSupport) && ImageSize(ilCheck).cx > 0;
    bool imageSeen = false;
    TColumnIndex imageColumn = columns.IsValidColumn(column) ? column : NoColumn;
    Int64 widest = 0;
    while (node != nullptr && node != stop) {
      if (OperationCanceled()) break;
      Int64 left = offset;
      if (checks && node->CheckType != ctNone) left += ImageSize(ilCheck).cx + 2;
      if (ImageSize(ilNormal).cx > 0) {
        if (HasNodeImage(node, ikNormal, imageColumn)) imageSeen = true;
        if (imageSeen) left += ImageSize(ilNormal).cx + 2;
      }
      if (HasNodeImage(node, ikState, imageColumn)) left += ImageSize(ilState).cx + 2;
      Int64 width = left + MeasureNodeWidth(node, column) + NodeExtraWidth(node, column) +
                    QueryCellContentMargin(node, column, ccmtAllSides, nullptr).X;
      widest = std::max(widest, width);
      PLiveNode next = GetNextVisible(node, true);
      if (next != nullptr && inMain && !fixedIndent)
        offset += (static_cast<Int64>(GetNodeLevel(next)) - static_cast<Int64>(GetNodeLevel(node))) * FIndent;
      node = next;
    }
    if (PaintOptions().Contains(toShowVertGridLines)) ++widest;
    result = static_cast<Integer>(std::min<Int64>(widest, INT32_MAX));
    if (OnAfterGetMaxColumnWidth) OnAfterGetMaxColumnWidth(FHeader.get(), column, result);
  } catch (...) {
    EndOperation(okGetMaxColumnWidth);
    throw;
  }
  EndOperation(okGetMaxColumnWidth);
  return result;
}

// ---- Hit tests ----

void TBaseLiveTree::GetHitTestInfoAt(Integer x, Integer y, bool relative, THitInfo& hitInfo) {
  hitInfo = THitInfo{};
  Integer clientWidth = FHost->ClientWidth();
  Integer clientHeight = FHost->ClientHeight();
  if (x < 0) hitInfo.HitPositions += hiToLeft;
  if (x > std::max(clientWidth, FRangeX)) hitInfo.HitPositions += hiToRight;
  if (y < 0) hitInfo.HitPositions += hiAbove;
  if (y > std::max(clientHeight, FRangeY)) hitInfo.HitPositions += hiBelow;
  TLiveTreeColumns& columns = FHeader->Columns();
  if (relative) {
    y -= FOffsetY;
    if (x >= columns.GetVisibleFixedWidth()) x += FEffectiveOffsetX;
  }
  hitInfo.HitPoint = Point(x, y);
  if (!hitInfo.HitPositions.Empty()) return;

  Integer nodeTop = 0;
  PLiveNode node = GetNodeAt(x, y, false, nodeTop);
  if (node != nullptr && !node->Has(vsInitialized)) InitializeNode(node);
  hitInfo.HitNode = node;
  Int64 left = 0, right = 0;
  if (FHeader->UseColumns()) {
    // The point is absolute here: the column search must not scroll again.
    hitInfo.HitColumn = InvalidColumn;
    Int64 edge = 0;
    if (UseRightToLeftAlignment()) edge += RightToLeftOffset(false);
    for (TColumnIndex index : columns.PositionToIndex()) {
      if (!columns.IsValidColumn(index) || !columns[index]->Options().Contains(coVisible)) continue;
      Int64 columnRight = edge + columns[index]->Width();
      if (columnRight > x) {
        hitInfo.HitColumn = index;
        left = edge;
        right = columnRight;
        break;
      }
      edge = columnRight;
    }
    if (node != nullptr && hitInfo.HitColumn >= 0 && AutoOptions().Contains(toAutoSpanColumns)) {
      // Empty cells belong to the cell on their left that spans them.
      while (IsCellEmpty(node, hitInfo.HitColumn)) {
        TColumnIndex previous = columns.GetPreviousVisibleColumn(hitInfo.HitColumn);
        if (previous == InvalidColumn) break;
        hitInfo.HitColumn = previous;
        left -= columns[previous]->Width();
      }
      for (TColumnIndex next = columns.GetNextVisibleColumn(hitInfo.HitColumn);
           next != InvalidColumn && IsCellEmpty(node, next); next = columns.GetNextVisibleColumn(next))
        right += columns[next]->Width();
    }
    x = static_cast<Integer>(std::clamp<Int64>(x - left, INT32_MIN, INT32_MAX));
    right = std::min<Int64>(right - left, INT32_MAX);
  } else {
    hitInfo.HitColumn = NoColumn;
    right = std::max(clientWidth, FRangeX);
  }
  if (node == nullptr || hitInfo.HitColumn == InvalidColumn) {
    hitInfo.HitPositions += hiNowhere;
    return;
  }
  hitInfo.HitPositions = {hiOnItem};
  if (MiscOptions().Contains(toNodeHeightResize)) {
    if (y <= nodeTop + 1)
      hitInfo.HitPositions += hiUpperSplitter;
    else if (y >= nodeTop + node->Height() - 3)
      hitInfo.HitPositions += hiLowerSplitter;
  }
  bool realColumn = hitInfo.HitColumn >= 0;
  TAlignment alignment = realColumn ? columns[hitInfo.HitColumn]->Alignment() : FAlignment;
  TBiDiMode bidiMode = realColumn ? columns[hitInfo.HitColumn]->BiDiMode() : FBiDiMode;
  if (bidiMode != bdLeftToRight)
    ClassifyHitRTL(hitInfo, x, alignment, static_cast<Integer>(right));
  else
    ClassifyHitLTR(hitInfo, x, alignment, static_cast<Integer>(right));
}

namespace {

constexpr Integer ButtonWidth = 9;

}  // namespace

void TBaseLiveTree::ClassifyHitLTR(THitInfo& hitInfo, Integer x, TAlignment alignment, Integer cellWidth) {
  PLiveNode node = hitInfo.HitNode;
  TColumnIndex column = hitInfo.HitColumn;
  bool inMain = column == MainColumn();
  Int64 indent = 0;
  if (inMain) {
    if (PaintOptions().Contains(toFixedIndent))
      indent = FIndent;
    else
      indent = (static_cast<Int64>(GetNodeLevel(node)) + (PaintOptions().Contains(toShowRoot) ? 1 : 0)) * FIndent;
  }
  if (inMain && x < indent + FMargin) {
    if (PaintOptions().Contains(toShowButtons) && node->Has(vsHasChildren)) {
      if (x >= indent - FIndent) hitInfo.HitPositions += hiOnItemButton;
      if (x >= indent - ButtonWidth) hitInfo.HitPositions += hiOnItemButtonExact;
    }
    return;
  }
  if (!inMain && MiscOptions().Contains(toReportMode)) return;
  Int64 offset = indent + FMargin;
  if (inMain && MiscOptions().Contains(toCheckSupport) && ImageSize(ilCheck).cx > 0 && node->CheckType != ctNone) {
    offset += ImageSize(ilCheck).cx + 2;
    if (x < offset) {
      hitInfo.HitPositions += hiOnItemCheckbox;
      return;
    }
  }
  TColumnIndex imageColumn = column >= 0 ? column : NoColumn;
  if (HasNodeImage(node, ikState, imageColumn)) {
    offset += ImageSize(ilState).cx + 2;
    if (x < offset) {
      hitInfo.HitPositions += hiOnStateIcon;
      return;
    }
  }
  if (HasNodeImage(node, ikNormal, imageColumn)) {
    offset += ImageSize(ilNormal).cx + 2;
    if (x < offset) {
      hitInfo.HitPositions += hiOnNormalIcon;
      return;
    }
  }
  Int64 width = MeasureNodeWidth(node, column);
  if (cellWidth - offset < width) {
    hitInfo.HitPositions += hiOnItemLabel;
    return;
  }
  switch (alignment) {
    case taRightJustify: hitInfo.HitPositions += x >= cellWidth - width ? hiOnItemLabel : hiOnItemLeft; break;
    case taCenter: {
      Int64 start = (offset + cellWidth - width) / 2;
      if (x < start)
        hitInfo.HitPositions += hiOnItemLeft;
      else if (x >= start + width)
        hitInfo.HitPositions += hiOnItemRight;
      else
        hitInfo.HitPositions += hiOnItemLabel;
      break;
    }
    default: hitInfo.HitPositions += x >= offset + width ? hiOnItemRight : hiOnItemLabel; break;
  }
}

void TBaseLiveTree::ClassifyHitRTL(THitInfo& hitInfo, Integer x, TAlignment alignment, Integer cellWidth) {
  // The mirror image: measured from the cell's right edge.
  TAlignment mirrored = alignment == taLeftJustify    ? taRightJustify
                        : alignment == taRightJustify ? taLeftJustify
                                                      : taCenter;
  PLiveNode node = hitInfo.HitNode;
  TColumnIndex column = hitInfo.HitColumn;
  bool inMain = column == MainColumn();
  Int64 indent = 0;
  if (inMain)
    indent = PaintOptions().Contains(toFixedIndent)
                 ? FIndent
                 : (static_cast<Int64>(GetNodeLevel(node)) + (PaintOptions().Contains(toShowRoot) ? 1 : 0)) * FIndent;
  Int64 fromRight = static_cast<Int64>(cellWidth) - x;
  if (inMain && fromRight <= indent + FMargin) {
    if (PaintOptions().Contains(toShowButtons) && node->Has(vsHasChildren)) {
      if (x <= cellWidth - indent + FIndent) hitInfo.HitPositions += hiOnItemButton;
      if (x <= cellWidth - indent + ButtonWidth) hitInfo.HitPositions += hiOnItemButtonExact;
    }
    return;
  }
  if (!inMain && MiscOptions().Contains(toReportMode)) return;
  Int64 offset = indent + FMargin;
  if (inMain && MiscOptions().Contains(toCheckSupport) && ImageSize(ilCheck).cx > 0 && node->CheckType != ctNone) {
    offset += ImageSize(ilCheck).cx + 2;
    if (fromRight <= offset) {
      hitInfo.HitPositions += hiOnItemCheckbox;
      return;
    }
  }
  TColumnIndex imageColumn = column >= 0 ? column : NoColumn;
  if (HasNodeImage(node, ikState, imageColumn)) {
    offset += ImageSize(ilState).cx + 2;
    if (fromRight <= offset) {
      hitInfo.HitPositions += hiOnStateIcon;
      return;
    }
  }
  if (HasNodeImage(node, ikNormal, imageColumn)) {
    offset += ImageSize(ilNormal).cx + 2;
    if (fromRight <= offset) {
      hitInfo.HitPositions += hiOnNormalIcon;
      return;
    }
  }
  Int64 width = MeasureNodeWidth(node, column);
  if (cellWidth - offset < width) {
    hitInfo.HitPositions += hiOnItemLabel;
    return;
  }
  Int64 textRight = cellWidth - offset;
  switch (mirrored) {
    case taLeftJustify: hitInfo.HitPositions += x < width ? hiOnItemLabel : hiOnItemRight; break;
    case taCenter: {
      Int64 start = (textRight - width) / 2;
      if (x < start)
        hitInfo.HitPositions += hiOnItemLeft;
      else if (x >= start + width)
        hitInfo.HitPositions += hiOnItemRight;
      else
        hitInfo.HitPositions += hiOnItemLabel;
      break;
    }
    default: hitInfo.HitPositions += x >= textRight - width ? hiOnItemLabel : hiOnItemLeft; break;
  }
}

// ---- The mouse selection rectangle ----

bool TBaseLiveTree::CollectRectNodes(const TRect& newRect, const TRect& oldRect, TShiftState shift) {
  auto normalised = [](TRect r) {
    if (r.Left > r.Right) std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
    return r;
  };
  TRect fresh = normalised(newRect);
  TRect old = normalised(oldRect);
  TLiveTreeColumns& columns = FHeader->Columns();
  TColumnIndex mainColumn = MainColumn();
  Integer columnLeft = 0, columnRight = std::max(FHost->ClientWidth(), FRangeX);
  TAlignment alignment = FAlignment;
  bool rightToLeft = UseRightToLeftAlignment();
  if (columns.IsValidColumn(mainColumn)) {
    columnLeft = columns[mainColumn]->Left();
    columnRight = columnLeft + columns[mainColumn]->Width();
    alignment = columns[mainColumn]->Alignment();
    rightToLeft = columns[mainColumn]->BiDiMode() != bdLeftToRight;
  }
  Integer bottom = std::max(fresh.Bottom, old.Bottom);
  bool withCtrl = shift.Contains(ssCtrl);
  Integer top = std::min(fresh.Top, old.Top);
  Integer nodeTop = 0;
  PLiveNode node = GetNodeAt(0, std::max(top, 0), false, nodeTop);
  if (node == nullptr) return false;
  TLTSelectionOptions selectionOptions = SelectionOptions();
  bool simple = selectionOptions.Contains(toSimpleDrawSelection) || selectionOptions.Contains(toFullRowSelect);
  Integer showRoot = PaintOptions().Contains(toShowRoot) ? 1 : 0;
  Int64 level = GetNodeLevel(node);
  bool checks = MiscOptions().Contains(toCheckSupport) && ImageSize(ilCheck).cx > 0;
  TColumnIndex imageColumn = columns.IsValidColumn(mainColumn) ? mainColumn : NoColumn;
  Integer totalWidth = columns.TotalWidth();
  bool changed = false;
  // A rectangle that encloses no pixel (the press before any drag) holds no node.
  auto overlaps = [](Int64 left, Int64 right, Int64 rowTop, Int64 rowBottom, const TRect& r) {
    return !r.IsEmpty() && left < r.Right && right > r.Left && rowTop < r.Bottom && rowBottom > r.Top;
  };
  while (node != nullptr && nodeTop <= bottom) {
    Int64 indentWidth = FMargin + (level + showRoot) * static_cast<Int64>(FIndent);
    Int64 nodeLeft = rightToLeft ? columnRight - indentWidth : columnLeft + indentWidth;
    Int64 textStart = indentWidth;
    if (checks && node->CheckType != ctNone) textStart += ImageSize(ilCheck).cx + 2;
    if (HasNodeImage(node, ikNormal, imageColumn)) textStart += ImageSize(ilNormal).cx + 2;
    if (HasNodeImage(node, ikState, imageColumn)) textStart += ImageSize(ilState).cx + 2;
    Int64 rowTop = nodeTop, rowBottom = static_cast<Int64>(nodeTop) + node->Height();
    bool insideNew = false, insideOld = false;
    if (simple) {
      auto inside = [&](const TRect& r) {
        if (r.IsEmpty() || !(rowTop < r.Bottom && rowBottom > r.Top)) return false;
        if (rightToLeft) return nodeLeft > r.Left;
        return nodeLeft < r.Right && (!FHeader->UseColumns() || r.Left < totalWidth);
      };
      insideNew = inside(fresh);
      insideOld = inside(old);
    } else {
      Int64 width = MeasureNodeWidth(node, mainColumn);
      Int64 areaLeft, areaRight;
      if (!rightToLeft) {
        areaLeft = columnLeft + textStart;
        areaRight = columnRight;
        if (AutoOptions().Contains(toAutoSpanColumns) && FHeader->UseColumns()) {
          for (TColumnIndex next = columns.GetNextVisibleColumn(mainColumn);
               next != InvalidColumn && IsCellEmpty(node, next) && columns[next]->BiDiMode() == bdLeftToRight;
               next = columns.GetNextVisibleColumn(next))
            areaRight = static_cast<Int64>(columns[next]->Left()) + columns[next]->Width();
        }
      } else {
        areaLeft = columnLeft;
        areaRight = columnRight - textStart;
      }
      if (areaRight - areaLeft > width) {
        TAlignment effective = alignment;
        if (rightToLeft)
          effective = alignment == taLeftJustify    ? taRightJustify
                      : alignment == taRightJustify ? taLeftJustify
                                                    : taCenter;
        switch (effective) {
          case taCenter:
            areaLeft = (areaLeft + areaRight - width) / 2;
            areaRight = areaLeft + width;
            break;
          case taRightJustify: areaLeft = areaRight - width; break;
          default:
            if (!(areaLeft > fresh.Left && areaLeft > old.Left)) areaRight = areaLeft + width;
            break;
        }
      }
      insideNew = overlaps(areaLeft, areaRight, rowTop, rowBottom, fresh);
      insideOld = overlaps(areaLeft, areaRight, rowTop, rowBottom, old);
    }
    if (insideNew != insideOld) {
      if (withCtrl) {
        if (node->Has(vsSelected))
          RemoveFromSelection(node);
        else
          AddToSelection(node);
      } else if (insideNew) {
        AddToSelection(node);
      } else {
        RemoveFromSelection(node);
      }
      changed = true;
    }
    nodeTop += node->Height();
    PLiveNode next = GetNextVisibleNoInit(node, true);
    if (next != nullptr) level += static_cast<Int64>(GetNodeLevel(next)) - static_cast<Int64>(GetNodeLevel(node));
    node = next;
  }
  return changed;
}

// ---- Fonts ----

Integer TLiveTreeFont::Size(Integer pixelsPerInch) const {
  return -MulDiv(Height, 72, pixelsPerInch);
}
