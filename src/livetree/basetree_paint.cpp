// Painting of the tree: the visible rows from the top of the requested window,
// cell by cell, onto the surface the control gives. The decisions are all
// here; the surface only draws.
#include <algorithm>
#include <cmath>
#include <functional>

#include "livetree/basetree.h"

Integer RoundHalfEven(double value) {
  return static_cast<Integer>(std::nearbyint(value));
}

Integer CheckImageIndexFor(TCheckType type, TCheckState state, bool enabled, bool hot) {
  if (type == ctNone) return -1;
  if (type == ctTriStateCheckBox) type = ctCheckBox;
  // Per check state: the disabled, the normal and the hot image.
  struct Row {
    Integer CheckBox[3], Radio[3], Button[3];
  };
  static constexpr Row rows[] = {
      {{12, 9, 10}, {4, 1, 2}, {24, 21, 22}},      // csUncheckedNormal
      {{12, 11, 11}, {4, 3, 3}, {24, 23, 23}},     // csUncheckedPressed
      {{16, 13, 14}, {8, 5, 6}, {24, 21, 22}},     // csCheckedNormal
      {{16, 15, 15}, {8, 7, 7}, {24, 23, 23}},     // csCheckedPressed
      {{20, 17, 18}, {20, 17, 18}, {20, 17, 18}},  // csMixedNormal
      {{20, 19, 19}, {20, 19, 19}, {20, 19, 19}},  // csMixedPressed
  };
  const Row& row = rows[std::min<size_t>(static_cast<size_t>(state), std::size(rows) - 1)];
  int column = !enabled ? 0 : (hot ? 2 : 1);
  switch (type) {
    case ctRadioButton: return row.Radio[column];
    case ctButton: return row.Button[column];
    default: return row.CheckBox[column];
  }
}

namespace {

// Leaves the painting state on every path.
class TPaintingGuard {
 public:
  explicit TPaintingGuard(std::function<void()> leave) : FLeave(std::move(leave)) {}
  ~TPaintingGuard() { FLeave(); }
  TPaintingGuard(const TPaintingGuard&) = delete;
  TPaintingGuard& operator=(const TPaintingGuard&) = delete;

 private:
  std::function<void()> FLeave;
};

}  // namespace

// One run of PaintTree with the state its steps share.
class TLiveTreePaintRun {
 public:
  TLiveTreePaintRun(TBaseLiveTree& tree, ILiveTreeCanvas& canvas, const TRect& window, TPoint target,
                    TLTInternalPaintOptions options)
      : T(tree), C(canvas), FWindow(window), FTarget(target), FRequested(options) {}

  void Run();

 private:
  bool Focused() const { return T.FHost->Focused(); }
  bool FocusedLook() const { return Focused() || T.PaintOptions().Contains(toPopupMode); }
  TColor ColorOf(TLTColorIndex index) const { return T.FPaintSettings.Colors[index]; }
  TColor SelectionFill() const { return ColorOf(FocusedLook() ? ciFocusedSelectionColor : ciUnfocusedSelectionColor); }
  TColor SelectionFrame() const {
    return ColorOf(FocusedLook() ? ciFocusedSelectionBorderColor : ciUnfocusedSelectionBorderColor);
  }
  bool IsFocusedColumn(TColumnIndex column) const {
    TColumnIndex focused = T.FocusedColumn();
    if (!FUseColumns) return true;
    if (!T.Header().Columns().IsValidColumn(focused)) focused = T.MainColumn();
    return column == focused;
  }
  bool BlendedSelection() const { return T.PaintOptions().Contains(toUseBlendedSelection); }
  const TLTLinePattern& LinePattern() const { return T.LineStyle() == lsSolid ? SolidLinePattern : DottedLinePattern; }

  void PaintRow(PLiveNode node, Integer nodeTop);
  void PaintCell(TLTPaintInfo& info, Integer valign, Integer buttonY);
  void EraseRow(PLiveNode node, TRect r);
  void PaintCellBackground(TLTPaintInfo& info);
  void PaintLineImage(const TLTPaintInfo& info, Integer valign, Integer levels);
  void DrawLineSegment(Integer x, TLTLineType type, Integer y, Integer bottom, TColor color);
  void PaintExpandButton(const TLTPaintInfo& info, Integer buttonY);
  void PlaceImage(TLTPaintInfo& info, TLTImageInfoIndex which, TLTImageListKind list, Integer index, bool ghosted,
                  Integer valign);
  void PaintCellImage(const TLTPaintInfo& info, TLTImageInfoIndex which, bool doOverlay);
  void PaintDropMark(PLiveNode node, const TRect& r);
  void PaintBelow();
  void PaintSelectionRect();
  void HorzLine(Integer x1, Integer y, Integer x2, TColor color, TColor background) {
    C.PatternRect(Rect(x1, y, x2 + 1, y + 1), LinePattern(), color, background);
  }
  void VertLine(Integer y1, Integer x, Integer y2, TColor color, TColor background) {
    C.PatternRect(Rect(x, y1, x + 1, y2 + 1), LinePattern(), color, background);
  }

  TBaseLiveTree& T;
  ILiveTreeCanvas& C;
  TRect FWindow;
  TPoint FTarget;
  TLTInternalPaintOptions FRequested;
  TLTInternalPaintOptions FOptions;
  bool FUseColumns = false;
  bool FCheckSupport = false;
  Integer FMaximumRight = 0;
  Integer FTargetTop = 0;
  Integer FTargetBottom = 0;
  TColumnIndex FFirstColumn = InvalidColumn;
  TLineImage FLineImage;
  Integer FIndentSize = 0;
  Integer FRowHeight = 0;
  Integer FButtonX = 0;
};

void TLiveTreePaintRun::Run() {
  FUseColumns = T.Header().UseColumns();
  FCheckSupport = T.MiscOptions().Contains(toCheckSupport);
  FMaximumRight = std::max(T.FHost->ClientWidth(), T.RangeX());
  TLTPaintOptions treeOptions = T.PaintOptions();
  FOptions = FRequested;
  FOptions -= poDrawSelection;
  if (!treeOptions.Contains(toAlwaysHideSelection) && (Focused() || !treeOptions.Contains(toHideSelection)))
    FOptions += poDrawSelection;
  if (treeOptions.Contains(toHideFocusRect)) FOptions -= poDrawFocusRect;

  Integer nodeTop = 0;
  PLiveNode node = T.GetNodeAt(0, FWindow.Top, false, nodeTop);
  if (node == nullptr) nodeTop = FWindow.Top;
  FTargetTop = FTarget.Y + nodeTop - FWindow.Top;
  FTargetBottom = FTarget.Y + (FWindow.Bottom - FWindow.Top);
  C.SetFont(T.Font());
  while (node != nullptr && FTargetTop < FTargetBottom) {
    PaintRow(node, nodeTop);
    nodeTop += FRowHeight;
    FTargetTop += FRowHeight;
    node = T.GetNextVisible(node, true);
  }
  C.ClearClip();
  if (FTargetTop < FTargetBottom) PaintBelow();
  PaintSelectionRect();
}

void TLiveTreePaintRun::PaintSelectionRect() {
  TRect r = T.SelectionRect();
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  // The rectangle shows while the left button draws it.
  if (!T.IsMouseSelecting() || r.IsEmpty() || !T.TreeStates().Contains(tsLeftButtonDown)) return;
  // Tree coordinates, over all rows at once.
  C.SetOrigin(FTarget.X - FWindow.Left, FTarget.Y - FWindow.Top);
  C.SetClip(FWindow);
  if (T.FPaintSettings.DrawSelectionMode == smBlendedRectangle) {
    TRect shown;
    if (IntersectRect(shown, r, FWindow))
      C.BlendRect(shown, ColorOf(ciSelectionRectangleBlendColor), T.SelectionBlendFactor());
    C.FrameRect(r, ColorOf(ciSelectionRectangleBorderColor));
  } else {
    C.FocusRect(r);
  }
  C.ClearClip();
}

Integer TBaseLiveTree::BuildLineImage(PLiveNode node, TLineImage& lineImage) {
  TLTPaintOptions options = PaintOptions();
  Integer selectedAncestors = 0;
  Integer levels = options.Contains(toShowRoot) ? 1 : 0;
  for (PLiveNode run = node->Parent; run != FRoot && run != nullptr; run = run->Parent) {
    ++levels;
    if (run->Has(vsSelected)) ++selectedAncestors;
  }
  lineImage.assign(static_cast<size_t>(levels), ltNone);
  if (!options.Contains(toShowTreeLines) || levels == 0) return selectedAncestors;
  bool showRoot = options.Contains(toShowRoot);
  bool topLevel = node->Parent == FRoot;
  if (!options.Contains(toChildrenAbove)) {
    if (!topLevel) {
      lineImage.back() = HasShownNextSibling(node) ? ltTopDownRight : ltTopRight;
      // Each ancestor below the top-level one at its own level.
      Integer level = levels - 2;
      for (PLiveNode run = node->Parent; run->Parent != FRoot && level >= 0; run = run->Parent, --level)
        lineImage[static_cast<size_t>(level)] = HasShownNextSibling(run) ? ltTopDown : ltNone;
    }
    if (showRoot) {
      if (topLevel) {
        bool first = !HasShownPreviousSibling(node), last = !HasShownNextSibling(node);
        lineImage[0] = first && last ? ltRight : last ? ltTopRight : first ? ltBottomRight : ltTopDownRight;
      } else {
        PLiveNode top = node;
        while (top->Parent != FRoot) top = top->Parent;
        lineImage[0] = HasShownNextSibling(top) ? ltTopDown : ltNone;
      }
    }
  } else {
    bool laterOrDeeper = !topLevel || HasShownNextSibling(node);
    if (HasShownPreviousSibling(node))
      lineImage.back() = laterOrDeeper ? ltTopDownRight : ltTopRight;
    else
      lineImage.back() = laterOrDeeper ? ltBottomRight : ltRight;
    Integer level = levels - 2;
    for (PLiveNode run = node->Parent; run != FRoot && level >= 0; run = run->Parent, --level)
      lineImage[static_cast<size_t>(level)] = HasShownPreviousSibling(run) ? ltTopDown : ltNone;
  }
  return selectedAncestors;
}

void TLiveTreePaintRun::PaintRow(PLiveNode node, Integer nodeTop) {
  Integer selectLevel = T.BuildLineImage(node, FLineImage);
  FIndentSize = static_cast<Integer>(FLineImage.size());
  T.ValidateNode(node, false);
  if (node->Has(vsSelected) && !T.PaintOptions().Contains(toChildrenAbove)) ++selectLevel;
  T.MeasureItemHeight(C.EventCanvas(), node);
  FRowHeight = node->Height();
  if (FRowHeight <= 0) return;
  // Row-local coordinates: the row's top is 0, x is the tree's.
  C.SetOrigin(FTarget.X - FWindow.Left, FTargetTop);
  C.SetBrushOrigin(FTarget.X - FWindow.Left, FTargetTop - nodeTop);
  if (selectLevel == 0 && FRequested.Contains(poSelectedOnly)) return;

  const TLTPaintSettings& settings = T.FPaintSettings;
  Integer indent = static_cast<Integer>(T.Indent());
  FButtonX = RoundHalfEven((indent - settings.ButtonSize) / 2.0) + 1;
  if (!T.PaintOptions().Contains(toFixedIndent)) FButtonX += (FIndentSize - 1) * indent;
  C.SetClip(Rect(FWindow.Left, 0, FWindow.Right, std::min(FRowHeight, FTargetBottom - FTargetTop)));

  // The node's reference line and the button's top.
  Integer valign = 0;
  switch (settings.NodeAlignment) {
    case naFromBottom: valign = FRowHeight - node->Align; break;
    case naFromTop: valign = node->Align; break;
    case naProportional: {
      Integer imageHeight = T.ImageSize(ilNormal).cy;
      if (imageHeight == 0) imageHeight = T.ImageSize(ilState).cy;
      if (imageHeight == 0 && T.PaintOptions().Contains(toShowButtons)) imageHeight = settings.ButtonSize;
      if (imageHeight > 0)
        valign = (FRowHeight - imageHeight) * node->Align / 100 + imageHeight / 2;
      else
        valign = FRowHeight * node->Align / 100;
      break;
    }
  }
  Integer buttonY = valign - settings.ButtonSize / 2 - (settings.ButtonSize & 1);

  TRect nodeRect = Rect(0, 0, FMaximumRight, FRowHeight);
  EraseRow(node, Rect(FWindow.Left, 0, FWindow.Right, FRowHeight));
  TLTPaintInfo info;
  info.Canvas = C.EventCanvas();
  info.Node = node;
  info.PaintOptions = FOptions;
  info.CellRect = nodeRect;
  if (!FUseColumns) {
    info.Column = NoColumn;
    PaintCell(info, valign, buttonY);
  } else {
    const TLiveTreeColumns& columns = T.Header().Columns();
    const auto& positions = columns.PositionToIndex();
    for (size_t position = 0; position < positions.size(); ++position) {
      TColumnIndex column = positions[position];
      const TLiveTreeColumn* item = columns.Items(column);
      if (item == nullptr || !item->Options().Contains(coVisible)) continue;
      Integer left = 0, right = 0;
      item->AbsoluteBounds(left, right);
      if (left >= FWindow.Right) break;
      info.Column = column;
      info.Position = static_cast<TColumnPosition>(position);
      info.CellRect = Rect(left, 0, right, FRowHeight);
      info.PaintOptions = FOptions;
      if (FFirstColumn == InvalidColumn) FFirstColumn = column;
      PaintCell(info, valign, buttonY);
      C.SetClip(Rect(FWindow.Left, 0, FWindow.Right, std::min(FRowHeight, FTargetBottom - FTargetTop)));
    }
  }
  if (node == T.DropTargetNode() && T.PaintOptions().Contains(toShowDropmark) && FOptions.Contains(poDrawDropMark))
    PaintDropMark(node, nodeRect);
}

void TLiveTreePaintRun::EraseRow(PLiveNode node, TRect r) {
  TColor color = T.Color();
  if (FOptions.Contains(poDrawSelection) && T.SelectionOptions().Contains(toFullRowSelect) && node->Has(vsSelected) &&
      !BlendedSelection()) {
    if (T.PaintOptions().Contains(toShowHorzGridLines)) {
      C.FillRect(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), color);
      --r.Bottom;
    }
    C.RoundRect(r, static_cast<Integer>(T.SelectionCurveRadius()), SelectionFill(), SelectionFrame());
  } else {
    C.FillRect(r, color);
  }
}

void TLiveTreePaintRun::PlaceImage(TLTPaintInfo& info, TLTImageInfoIndex which, TLTImageListKind list, Integer index,
                                   bool ghosted, Integer valign) {
  TLTImageEntry& entry = info.ImageInfo[which];
  entry.Index = index;
  entry.Ghosted = ghosted;
  entry.List = list;
  if (index < 0) return;
  TSize size = T.ImageSize(list);
  if (info.BidiMode == bdLeftToRight) {
    entry.X = info.ContentRect.Left;
    info.ContentRect.Left += size.cx + 2;
  } else {
    entry.X = info.ContentRect.Right - size.cx;
    info.ContentRect.Right -= size.cx + 2;
  }
  entry.Y = info.CellRect.Top + valign - size.cy / 2;
}

void TLiveTreePaintRun::PaintCell(TLTPaintInfo& info, Integer valign, Integer buttonY) {
  PLiveNode node = info.Node;
  TColumnIndex column = info.Column;
  const TLiveTreeColumn* item = FUseColumns ? T.Header().Columns().Items(column) : nullptr;
  bool editingHere =
      T.TreeStates().Contains(tsEditing) && node == T.FocusedNode() && (!FUseColumns || column == T.FocusedColumn());
  if (editingHere) info.PaintOptions -= poDrawSelection;
  bool fullRowSelect = T.SelectionOptions().Contains(toFullRowSelect);
  bool drawsSelection = info.PaintOptions.Contains(poDrawSelection);
  if (!FUseColumns || (node->Has(vsSelected) && fullRowSelect && drawsSelection) ||
      (item != nullptr && item->Options().Contains(coParentColor)))
    info.PaintOptions -= poColumnColor;
  info.BidiMode = item != nullptr ? item->BiDiMode() : T.BiDiMode();
  info.Alignment = item != nullptr ? item->Alignment() : T.Alignment();
  if (info.BidiMode != bdLeftToRight) {
    if (info.Alignment == taLeftJustify)
      info.Alignment = taRightJustify;
    else if (info.Alignment == taRightJustify)
      info.Alignment = taLeftJustify;
  }
  bool mainColumn = column == T.MainColumn();
  if (FUseColumns && (item == nullptr || (info.PaintOptions.Contains(poMainOnly) && !mainColumn))) return;
  if (FWindow.Left >= info.CellRect.Right) return;
  bool rightToLeft = info.BidiMode != bdLeftToRight;

  info.NodeWidth = T.MeasureNodeWidth(node, column, C.EventCanvas());
  info.ContentRect = info.CellRect;
  if (rightToLeft)
    info.ContentRect.Right -= T.Margin();
  else
    info.ContentRect.Left += T.Margin();
  for (TLTImageEntry& entry : info.ImageInfo) entry = TLTImageEntry{};
  if (mainColumn && FCheckSupport) {
    bool enabled = !node->Has(vsDisabled) && T.Enabled();
    Integer index = CheckImageIndexFor(node->CheckType, node->CheckState, enabled, node == T.HotNode());
    PlaceImage(info, iiCheck, ilCheck, index, false, valign);
  }
  if (T.ImageSize(ilState).cx > 0) {
    bool ghosted = false;
    Integer index = T.QueryImageIndex(node, ikState, column, ghosted);
    PlaceImage(info, iiState, ilState, index, ghosted, valign);
  }
  if (T.ImageSize(ilNormal).cx > 0) {
    bool ghosted = false;
    Integer index = T.QueryImageIndex(node, node->Has(vsSelected) ? ikSelected : ikNormal, column, ghosted);
    PlaceImage(info, iiNormal, ilNormal, index, ghosted, valign);
  }
  Integer indent = static_cast<Integer>(T.Indent());
  Integer levels = T.PaintOptions().Contains(toFixedIndent) ? 1 : FIndentSize;
  if (mainColumn) {
    Integer shift = levels * indent;
    if (rightToLeft) {
      info.ContentRect.Right -= shift;
      shift = -shift;
    } else {
      info.ContentRect.Left += shift;
    }
    for (TLTImageInfoIndex which : {iiNormal, iiState, iiCheck}) info.ImageInfo[which].X += shift;
  }
  if (FUseColumns) {
    TRect clip = info.CellRect;
    clip.Left = std::max(clip.Left, FWindow.Left);
    clip.Right = std::min(clip.Right, FWindow.Right);
    clip.Bottom = std::min(clip.Bottom, FTargetBottom - FTargetTop);
    C.SetClip(clip);
  }

  TLTPaintOptions paintOptions = T.PaintOptions();
  const TLTPaintSettings& settings = T.FPaintSettings;
  TColor treeColor = T.Color();
  if (info.PaintOptions.Contains(poGridLines) && paintOptions.Contains(toShowHorzGridLines)) {
    Integer y = info.CellRect.Bottom - 1;
    if (mainColumn && settings.LineMode == lmBands) {
      if (rightToLeft)
        HorzLine(info.CellRect.Left, y, info.CellRect.Right - levels * indent - 1, ColorOf(ciGridLineColor), treeColor);
      else
        HorzLine(info.CellRect.Left + levels * indent, y, info.CellRect.Right - 1, ColorOf(ciGridLineColor), treeColor);
    } else {
      HorzLine(info.CellRect.Left, y, info.CellRect.Right, ColorOf(ciGridLineColor), treeColor);
    }
    --info.CellRect.Bottom;
    --info.ContentRect.Bottom;
  }
  if (FUseColumns && info.PaintOptions.Contains(poGridLines) && paintOptions.Contains(toShowVertGridLines)) {
    bool lastAutoResized =
        T.Header().Options().Contains(hoAutoResize) && column == T.Header().Columns().GetLastVisibleColumn();
    bool atWindowEdge = info.CellRect.Right == FWindow.Right && !item->Options().Contains(coFixed);
    bool emptyRtl = rightToLeft && T.IsCellEmpty(node, column);
    if (!lastAutoResized && !atWindowEdge && !emptyRtl) {
      bool selectedBackground = drawsSelection && fullRowSelect && node->Has(vsSelected) && !BlendedSelection();
      VertLine(info.CellRect.Top, info.CellRect.Right - 1, info.CellRect.Bottom, ColorOf(ciGridLineColor),
               selectedBackground ? SelectionFill() : treeColor);
      --info.CellRect.Right;
      --info.ContentRect.Right;
    }
  }

  PaintCellBackground(info);

  if (mainColumn) {
    if (paintOptions.Contains(toShowTreeLines)) PaintLineImage(info, valign, levels);
    if (paintOptions.Contains(toShowButtons) && node->Has(vsHasChildren) &&
        !(node->Has(vsAllChildrenHidden) && T.AutoOptions().Contains(toAutoHideButtons)))
      PaintExpandButton(info, buttonY);
    const TLTImageEntry& check = info.ImageInfo[iiCheck];
    if (check.Index >= 0) {
      TColor selection = node->Has(vsSelected) ? SelectionFill() : clNone;
      C.CheckImage(settings.CheckImageKind, check.Index, check.X, check.Y, selection);
    }
  }
  if (info.ImageInfo[iiState].Index >= 0) PaintCellImage(info, iiState, false);
  if (info.ImageInfo[iiNormal].Index >= 0) PaintCellImage(info, iiNormal, true);
  if (!editingHere) T.PaintNodeCell(C, info);
}

void TLiveTreePaintRun::PaintCellBackground(TLTPaintInfo& info) {
  PLiveNode node = info.Node;
  const TLiveTreeColumn* item = FUseColumns ? T.Header().Columns().Items(info.Column) : nullptr;
  if (info.PaintOptions.Contains(poColumnColor) && item != nullptr) C.FillRect(info.CellRect, item->Color());
  if (T.OnBeforeCellPaint)
    T.OnBeforeCellPaint(&T, C.EventCanvas(), node, info.Column, cpmPaint, info.CellRect, info.ContentRect);

  TRect inner = info.ContentRect;
  bool gridExtensions = T.MiscOptions().Contains(toGridExtensions);
  if (!gridExtensions) {
    Integer width = inner.Right - inner.Left;
    switch (info.Alignment) {
      case taLeftJustify:
        if (inner.Left + info.NodeWidth < inner.Right) inner.Right = inner.Left + info.NodeWidth;
        break;
      case taRightJustify:
        if (info.NodeWidth < width) inner.Left = inner.Right - info.NodeWidth;
        break;
      case taCenter:
        if (info.NodeWidth < width) {
          inner.Left = (inner.Left + inner.Right - info.NodeWidth) / 2;
          inner.Right = inner.Left + info.NodeWidth;
        }
        break;
    }
  }
  bool fullRowSelect = T.SelectionOptions().Contains(toFullRowSelect);
  bool focusedColumn = IsFocusedColumn(info.Column);
  if ((focusedColumn || fullRowSelect) && info.PaintOptions.Contains(poDrawSelection)) {
    bool paint = false;
    TColor fill = clNone, frame = clNone;
    if (node == T.DropTargetNode()) {
      if (T.FPaintSettings.LastDropMode == dmOnNode || node->Has(vsSelected)) {
        fill = ColorOf(ciDropTargetColor);
        frame = ColorOf(ciDropTargetBorderColor);
        paint = true;
      }
    } else if (node->Has(vsSelected)) {
      fill = SelectionFill();
      frame = SelectionFrame();
      paint = true;
    }
    TRect r = gridExtensions || fullRowSelect ? info.CellRect : inner;
    if (paint && r.Right > r.Left && r.Bottom > r.Top)
      C.RoundRect(r, static_cast<Integer>(T.SelectionCurveRadius()), fill, frame);
  }
  if ((focusedColumn || fullRowSelect) && info.PaintOptions.Contains(poDrawFocusRect) && FocusedLook() &&
      node == T.FocusedNode() && focusedColumn)
    C.FocusRect(gridExtensions ? info.CellRect : inner);
}

void TLiveTreePaintRun::DrawLineSegment(Integer x, TLTLineType type, Integer y, Integer bottom, TColor color) {
  Integer indent = static_cast<Integer>(T.Indent());
  Integer half = RoundHalfEven(indent / 2.0);
  TColor background = T.Color();
  Integer lineX = x + half;
  switch (type) {
    case ltBottomRight: VertLine(y, lineX, bottom, color, background); break;
    case ltTopDown:
    case ltTopDownRight: VertLine(0, lineX, bottom, color, background); break;
    case ltTopRight: VertLine(0, lineX, y, color, background); break;
    case ltLeft:
    case ltLeftBottom: VertLine(0, x, bottom, color, background); break;
    default: break;
  }
  // The stub towards the node, or a band's bottom edge.
  if (type == ltBottomRight || type == ltTopDownRight || type == ltRight || type == ltTopRight)
    HorzLine(lineX, y, x + indent, color, background);
  else if (type == ltLeftBottom)
    HorzLine(x, bottom, x + indent, color, background);
}

void TLiveTreePaintRun::PaintLineImage(const TLTPaintInfo& info, Integer valign, Integer levels) {
  Integer indent = static_cast<Integer>(T.Indent());
  bool rightToLeft = info.BidiMode != bdLeftToRight;
  Integer count = std::min(levels, static_cast<Integer>(FLineImage.size()));
  const TLTPaintSettings& settings = T.FPaintSettings;
  TLineImage image = FLineImage;
  Integer bottom = FRowHeight;
  TColor color = ColorOf(ciTreeLineColor);
  if (settings.LineMode == lmBands) {
    if (!info.PaintOptions.Contains(poGridLines)) return;
    color = ColorOf(ciGridLineColor);
    bottom = FRowHeight - 1;
    TLineImage bands(image.size(), ltNone);
    PLiveNode node = info.Node;
    if (node->Has(vsExpanded) && !node->Has(vsAllChildrenHidden)) {
      std::fill(bands.begin(), bands.end(), ltLeft);
    } else {
      for (Integer level = static_cast<Integer>(image.size()) - 1; level >= 0; --level) {
        TLTLineType line = image[static_cast<size_t>(level)];
        TLTLineType innerLine =
            level + 1 < static_cast<Integer>(image.size()) ? image[static_cast<size_t>(level) + 1] : ltNone;
        TLTLineType innerBand =
            level + 1 < static_cast<Integer>(bands.size()) ? bands[static_cast<size_t>(level) + 1] : ltNone;
        TLTLineType& band = bands[static_cast<size_t>(level)];
        switch (line) {
          case ltNone:
          case ltTopDown: band = innerLine == ltNone || innerLine == ltTopRight ? innerBand : ltLeft; break;
          case ltBottomRight:
          case ltTopDownRight:
          case ltRight:
          case ltTopRight: band = ltLeftBottom; break;
          default: band = ltNone; break;
        }
      }
    }
    image = std::move(bands);
  }
  Integer x = rightToLeft ? info.CellRect.Right - indent : info.CellRect.Left;
  bool showRoot = T.PaintOptions().Contains(toShowRoot);
  for (Integer level = 0; level < count; ++level) {
    Integer posX = x;
    if (T.OnBeforeDrawLineImage) T.OnBeforeDrawLineImage(&T, info.Node, level + (showRoot ? 0 : 1), posX);
    DrawLineSegment(posX, image[static_cast<size_t>(level)], valign - 1, bottom, color);
    x += rightToLeft ? -indent : indent;
  }
}

void TLiveTreePaintRun::PaintExpandButton(const TLTPaintInfo& info, Integer buttonY) {
  const TLTPaintSettings& settings = T.FPaintSettings;
  Integer size = settings.ButtonSize;
  Integer x = info.BidiMode != bdLeftToRight ? info.CellRect.Right - FButtonX - size : info.CellRect.Left + FButtonX;
  Integer y = info.CellRect.Top + buttonY;
  bool expanded = info.Node->Has(vsExpanded);
  if (settings.ButtonStyle == bsTriangle) {
    if (expanded)
      C.Polygon({Point(x, y + 2), Point(x + 8, y + 2), Point(x + 4, y + 6)}, clBlack);
    else
      C.Polygon({Point(x + 2, y), Point(x + 6, y + 4), Point(x + 2, y + 8)}, clBlack);
    return;
  }
  TRect frame = Rect(x, y, x + size, y + size);
  if (settings.ButtonFillMode == fmTreeColor)
    C.FillRect(frame, T.Color());
  else if (settings.ButtonFillMode == fmWindowColor || settings.ButtonFillMode == fmShaded)
    C.FillRect(frame, clWindow);
  C.FrameRect(frame, ColorOf(ciTreeLineColor));
  TColor glyph = T.Font().Color;
  Integer middle = size / 2;
  C.FillRect(Rect(x + 2, y + middle, x + size - 2, y + middle + 1), glyph);
  if (!expanded) C.FillRect(Rect(x + middle, y + 2, x + middle + 1, y + size - 2), glyph);
}

void TLiveTreePaintRun::PaintCellImage(const TLTPaintInfo& info, TLTImageInfoIndex which, bool doOverlay) {
  const TLTImageEntry& entry = info.ImageInfo[which];
  PLiveNode node = info.Node;
  TLTImageStyle style;
  style.Enabled = !node->Has(vsDisabled) && T.Enabled();
  bool cutGhost = node->Has(vsCutOrCopy) && T.TreeStates().Contains(tsCutPending);
  TLTPaintOptions options = T.PaintOptions();
  bool blend = (Focused() || options.Contains(toGhostedIfUnfocused)) && options.Contains(toUseBlendedImages);
  bool selectedBlend = node->Has(vsSelected) && !T.SelectionOptions().Contains(toFullRowSelect) &&
                       !T.MiscOptions().Contains(toGridExtensions);
  style.Blend = blend && (entry.Ghosted || selectedBlend || cutGhost);
  if (doOverlay) {
    bool ghosted = false;
    style.Overlay = T.QueryImageIndex(node, ikOverlay, info.Column, ghosted);
  }
  C.Image(entry.List, entry.Index, entry.X, entry.Y, style);
}

void TLiveTreePaintRun::PaintDropMark(PLiveNode, const TRect& r) {
  TDropMode mode = T.FPaintSettings.LastDropMode;
  TColor color = ColorOf(ciDropMarkColor);
  Integer l = std::max(r.Left, FWindow.Left), t = r.Top, rr = std::min(r.Right, FWindow.Right), b = r.Bottom;
  if (mode == dmAbove)
    C.Polygon({Point(l + 2, t), Point(rr - 2, t), Point(rr - 2, t + 6), Point(rr - 6, t + 2), Point(l + 6, t + 2),
               Point(l + 2, t + 6)},
              color);
  else if (mode == dmBelow)
    C.Polygon({Point(l + 2, b - 1), Point(rr - 2, b - 1), Point(rr - 2, b - 8), Point(rr - 7, b - 3),
               Point(l + 7, b - 3), Point(l + 2, b - 8)},
              color);
}

void TLiveTreePaintRun::PaintBelow() {
  // Area coordinates: the area's top-left is (0, 0) and x is the tree's.
  C.SetOrigin(FTarget.X - FWindow.Left, FTargetTop);
  Integer height = FTargetBottom - FTargetTop;
  TRect area = Rect(FWindow.Left, 0, FWindow.Right, height);
  C.SetClip(area);
  TColor treeColor = T.Color();
  if (!FUseColumns) {
    C.FillRect(area, treeColor);
    return;
  }
  const TLiveTreeColumns& columns = T.Header().Columns();
  bool fullGrid = FRequested.Contains(poGridLines) && T.PaintOptions().Contains(toFullVertGridLines) &&
                  T.PaintOptions().Contains(toShowVertGridLines);
  bool autoResize = T.Header().Options().Contains(hoAutoResize);
  TColumnIndex last = columns.GetLastVisibleColumn();
  Integer filledTo = FWindow.Left;
  for (TColumnIndex column = columns.GetFirstVisibleColumn(); column >= 0;
       column = columns.GetNextVisibleColumn(column)) {
    const TLiveTreeColumn* item = columns.Items(column);
    Integer left = 0, right = 0;
    item->AbsoluteBounds(left, right);
    if (right <= FWindow.Left) continue;
    if (left >= FWindow.Right) break;
    TColor color = item->Options().Contains(coParentColor) ? treeColor : item->Color();
    TRect slice = Rect(left, 0, right, height);
    if (fullGrid && !(autoResize && column == last)) {
      VertLine(0, right - 1, height, ColorOf(ciGridLineColor), color);
      --slice.Right;
    }
    C.FillRect(slice, color);
    filledTo = right;
  }
  if (filledTo < FWindow.Right) C.FillRect(Rect(filledTo, 0, FWindow.Right, height), treeColor);
}

void TBaseLiveTree::PaintTree(ILiveTreeCanvas& canvas, const TRect& window, TPoint target,
                              TLTInternalPaintOptions options) {
  if (TreeStates().Contains(tsPainting)) return;
  ChangeTreeStates({tsPainting}, {});
  TPaintingGuard leave([this, &canvas] {
    canvas.ClearClip();
    ChangeTreeStates({}, {tsPainting});
  });
  if (OnBeforePaint) OnBeforePaint(this, canvas.EventCanvas());
  TLiveTreePaintRun(*this, canvas, window, target, options).Run();
  if (FRoot->FirstChild == nullptr && !FEmptyListMessage.empty()) {
    canvas.SetOrigin(0, 0);
    canvas.ClearClip();
    TLiveTreeFont font = Font();
    font.Color = clGrayText;
    canvas.SetFont(font);
    canvas.Text(FEmptyListMessage, Rect(2, 2, FHost->ClientWidth(), FHost->ClientHeight() - 2),
                ltdtLeft | ltdtWordBreak | ltdtNoPrefix);
  }
  if (OnAfterPaint) OnAfterPaint(this, canvas.EventCanvas());
}
