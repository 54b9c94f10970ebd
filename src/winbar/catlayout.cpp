#include "winbar/catlayout.h"

#include <algorithm>

namespace {

Integer Lines(Integer buttons, Integer perLine) {
  return (buttons + perLine - 1) / perLine;
}

}  // namespace

Integer TCatLayoutMetrics::SideBufferSize() const {
  bool captionBeside = Horizontal ? !VerticalCaptions : VerticalCaptions;
  return captionBeside ? CollapsedHeight + 9 : 8;
}

Integer TCatLayoutMetrics::CellsPerLine() const {
  if (Horizontal) return std::max<Integer>((ClientHeight - SideBufferSize()) / std::max<Integer>(ButtonHeight, 1), 1);
  if (FullSize) return 1;
  return std::max<Integer>((ClientWidth - SideBufferSize()) / std::max<Integer>(ButtonWidth, 1), 1);
}

Integer TCatLayoutMetrics::ButtonsPerLine(const TRect& buttonArea) const {
  if (!Horizontal) return CellsPerLine();
  return std::max<Integer>(buttonArea.Width() / std::max<Integer>(ButtonWidth, 1), 1);
}

Integer TCatLayoutMetrics::CategoryExtent(Integer buttons, bool collapsed) const {
  if (collapsed || buttons <= 0) return CollapsedHeight + 5;
  Integer lines = Lines(buttons, CellsPerLine());
  if (Horizontal) return lines * ButtonWidth + 5 + (VerticalCaptions ? GutterSize() : 0);
  return lines * ButtonHeight + 5 + (VerticalCaptions ? 0 : GutterSize());
}

TRect TCatLayoutMetrics::OuterRect(Integer position, Integer extent, Integer buttons, bool collapsed) const {
  if (Horizontal) return Rect(position + 1, 2, position + extent - 1, ClientHeight - 3);
  TRect r = Rect(2, position + 1, ClientWidth - 2, position + extent - 1);
  if (CaptionOnlyBorder && !collapsed && buttons > 0) r.Bottom = position + extent + 2;
  return r;
}

TRect TCatLayoutMetrics::ButtonArea(Integer position, Integer buttons) const {
  Integer lines = Lines(std::max<Integer>(buttons, 0), CellsPerLine());
  if (Horizontal) {
    Integer left = VerticalCaptions ? position + 3 + GutterSize() : position + 3;
    Integer top = VerticalCaptions ? 4 : GutterSize() + 3;
    return Rect(left, top, left + lines * ButtonWidth, ClientHeight - 4);
  }
  Integer left = VerticalCaptions ? GutterSize() + 7 : 4;
  Integer start = VerticalCaptions ? position : position + GutterSize() + 2;
  return Rect(left, start + 3, ClientWidth - 3, start + lines * ButtonHeight);
}

TRect TCatLayoutMetrics::CaptionStrip(Integer position, Integer extent, Integer buttons, bool collapsed) const {
  TRect outer = OuterRect(position, extent, buttons, collapsed);
  if (collapsed || buttons <= 0) return outer;
  if (VerticalCaptions) return Rect(outer.Left, outer.Top, outer.Left + CollapsedHeight + 5, outer.Bottom - 3);
  return Rect(outer.Left, outer.Top, outer.Right, outer.Top + CollapsedHeight + 3);
}

TRect TCatLayoutMetrics::ButtonRect(const TRect& area, Integer index) const {
  Integer perLine = ButtonsPerLine(area);
  Integer top = (index / perLine) * ButtonHeight + area.Top;
  if (!Horizontal && FullSize) return Rect(area.Left, top, area.Right, top + ButtonHeight);
  Integer left = (index % perLine) * ButtonWidth + area.Left;
  return Rect(left, top, left + ButtonWidth, top + ButtonHeight);
}

Integer TCatLayoutMetrics::ButtonIndexAt(const TRect& area, Integer buttons, Integer x, Integer y) const {
  if (x < area.Left || x > area.Right || y < area.Top || y > area.Bottom) return -1;
  Integer row = (y - area.Top) / std::max<Integer>(ButtonHeight, 1);
  Integer column = (!Horizontal && FullSize) ? 0 : (x - area.Left) / std::max<Integer>(ButtonWidth, 1);
  if (!(!Horizontal && FullSize) && area.Left + (column + 1) * ButtonWidth > area.Right) return -1;
  Integer index = row * ButtonsPerLine(area) + column;
  return index < buttons ? index : -1;
}

std::vector<TCatExtent> LayOutCategories(const TCatLayoutMetrics& metrics, const std::vector<TCatShape>& categories) {
  std::vector<TCatExtent> extents;
  extents.reserve(categories.size());
  Integer position = 0;
  for (const TCatShape& shape : categories) {
    Integer end = position + metrics.CategoryExtent(shape.Buttons, shape.Collapsed);
    extents.push_back({position, end});
    position = end;
  }
  return extents;
}

TCatScrollRange CategoryScrollRange(Integer total, Integer extent, Integer lineSize) {
  TCatScrollRange range;
  if (lineSize <= 0 || extent >= total) return range;
  range.Shown = true;
  range.Range = total / lineSize;
  range.Page = std::min<Integer>(extent / lineSize, range.Range);
  range.Max = range.Range - range.Page + 1;
  return range;
}

Integer ScrollPositionToShow(Integer position, Integer max, Integer lineSize, Integer extent, Integer top,
                             Integer bottom, bool alignTop) {
  if (lineSize <= 0) return position;
  auto lines = [lineSize](Integer pixels) { return pixels / lineSize + (pixels % lineSize > 3 ? 1 : 0); };
  if (top < 0) return std::max<Integer>(position - lines(-top), 0);
  if (top > extent || bottom > extent) {
    Integer step = (alignTop || bottom - top > extent) ? top / lineSize : lines(bottom - extent);
    return std::min<Integer>(position + step, max);
  }
  return position;
}
