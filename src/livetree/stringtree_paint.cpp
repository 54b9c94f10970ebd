// The string tree's cell content: the normal text, the static text beside it,
// shortened with an ellipsis or wrapped over several lines.
#include "livetree/stringtree.h"

namespace {

Cardinal AlignmentFlag(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return ltdtRight;
    case taCenter: return ltdtCenter;
    default: return ltdtLeft;
  }
}

}  // namespace

TColor TCustomLiveStringTree::CellTextColor(const TLTPaintInfo& info, bool staticText) {
  PLiveNode node = info.Node;
  const TLTColorTable& colors = PaintSettings().Colors;
  bool focusedLook = Host()->Focused() || PaintOptions().Contains(toPopupMode);
  bool fullRowSelect = SelectionOptions().Contains(toFullRowSelect);
  TColor color = Enabled() ? Font().Color : colors[ciDisabledColor];
  if (staticText) {
    if (!fullRowSelect) return color;
  } else {
    if (!info.PaintOptions.Contains(poDrawSelection)) return color;
    bool focusedColumn = !Header().UseColumns() || info.Column == FocusedColumn() ||
                         (!Header().Columns().IsValidColumn(FocusedColumn()) && info.Column == MainColumn());
    if (!focusedColumn && !fullRowSelect) return color;
  }
  if (node == DropTargetNode()) {
    if (PaintSettings().LastDropMode == dmOnNode || node->Has(vsSelected)) return colors[ciSelectionTextColor];
  } else if (node->Has(vsSelected) && focusedLook) {
    return colors[ciSelectionTextColor];
  }
  return color;
}

void TCustomLiveStringTree::PaintNodeCell(ILiveTreeCanvas& canvas, TLTPaintInfo& info) {
  String text = NodeText(info.Node, info.Column);
  if (!text.empty()) PaintCellText(canvas, info, text);
  if (Alignment() != taCenter && !info.Node->Has(vsMultiline) && StringOptions().Contains(toShowStaticText)) {
    String staticText;
    QueryCellText(info.Node, info.Column, ttStatic, staticText);
    if (!staticText.empty()) PaintStaticCellText(canvas, info, staticText);
  }
}

void TCustomLiveStringTree::PaintCellText(ILiveTreeCanvas& canvas, TLTPaintInfo& info, String text) {
  PLiveNode node = info.Node;
  TLiveTreeFont font = Font();
  font.Color = CellTextColor(info, false);
  if (PaintOptions().Contains(toHotTrack) && node == HotNode()) {
    font.Style.Include(fsUnderline);
    font.Color = PaintSettings().Colors[ciHotColor];
  }
  canvas.SetFont(font);
  TRect r = info.ContentRect;
  r.Left += TextMargin();
  r.Right -= TextMargin();
  bool disabled = node->Has(vsDisabled) || !Enabled();
  bool rightToLeft = info.BidiMode != bdLeftToRight;
  Cardinal format = 0;
  if (node->Has(vsMultiline)) {
    NotifyPaintText(node, canvas.EventCanvas(), info.Column, ttNormal);
    Integer height = ComputeNodeHeight(canvas.EventCanvas(), node, info.Column, {});
    format = ltdtNoPrefix | ltdtWordBreak | ltdtEndEllipsis | ltdtEditControl | AlignmentFlag(info.Alignment);
    if (height < r.Bottom - r.Top) {
      Integer shrink = (r.Bottom - r.Top - height) / 2;
      r.Top += shrink;
      r.Bottom -= shrink;
    }
  } else {
    TLiveTreeFont before = canvas.Font();
    Integer ellipsisWidth = EllipsisWidth();
    NotifyPaintText(node, canvas.EventCanvas(), info.Column, ttNormal);
    TLiveTreeFont after = canvas.Font();
    if (!(after == before)) {
      ellipsisWidth = 0;
      info.NodeWidth = Host()->TextExtent(after, text).cx + 2 * TextMargin();
    }
    format = ltdtNoPrefix | ltdtVCenter | ltdtSingleLine;
    if (info.Column >= 0 && info.NodeWidth - 2 * TextMargin() > r.Right - r.Left) {
      text = ShortenCellText(canvas.EventCanvas(), node, info.Column, text, r.Right - r.Left, ellipsisWidth);
      if (info.Alignment == taRightJustify) format |= ltdtRight;
    } else {
      format |= AlignmentFlag(info.Alignment);
    }
  }
  if (rightToLeft) format |= ltdtRtlReading;
  if (disabled) {
    TLiveTreeFont current = canvas.Font();
    current.Color = PaintSettings().Colors[ciDisabledColor];
    canvas.SetFont(current);
  }
  canvas.Text(text, r, format);
}

void TCustomLiveStringTree::PaintStaticCellText(ILiveTreeCanvas& canvas, TLTPaintInfo& info, const String& text) {
  PLiveNode node = info.Node;
  TLiveTreeFont font = Font();
  font.Color = CellTextColor(info, true);
  canvas.SetFont(font);
  NotifyPaintText(node, canvas.EventCanvas(), info.Column, ttStatic);
  if (node->Has(vsDisabled) || !Enabled()) {
    TLiveTreeFont current = canvas.Font();
    current.Color = PaintSettings().Colors[ciDisabledColor];
    canvas.SetFont(current);
  }
  TRect r = info.ContentRect;
  if (info.Alignment == taRightJustify)
    r.Right -= info.NodeWidth + TextMargin();
  else
    r.Left += info.NodeWidth + TextMargin();
  canvas.Text(text, r, ltdtNoPrefix | ltdtSingleLine | ltdtVCenter);
}
