#include "panelkit/navlayout.h"

#include <algorithm>

// --- Palette tab control ----------------------------------------------------

TRect PaletteTabsRect(const TPaletteMetrics& m) {
  return Rect(0, 0, m.ClientWidth, m.TopIndent + m.TabHeight);
}

TRect PaletteButtonsRect(const TPaletteMetrics& m) {
  const Integer top = m.TopIndent + m.TabHeight + m.Margin;
  return Rect(m.Margin, top, m.ClientWidth - 2, top + m.ButtonHeight);
}

TRect PaletteButtonRect(const TPaletteMetrics& m, Integer index) {
  const Integer left = m.Margin + index * m.ButtonWidth;
  const Integer top = m.Margin + m.TopIndent + m.TabHeight;
  return Rect(left, top, left + m.ButtonWidth, top + m.ButtonHeight);
}

Integer PaletteButtonAtPos(const TPaletteMetrics& m, Integer x) {
  if (m.ButtonWidth <= 0) return -1;
  return (x - m.Margin) / m.ButtonWidth;
}

Integer PaletteAutoHeight(const TPaletteMetrics& m) {
  return m.TopIndent + m.TabHeight + m.ButtonHeight + 2 * m.Margin;
}

Integer PaletteTabAtPos(const std::vector<Integer>& captionWidths, Integer leftIndent, Integer topIndent,
                        Integer tabHeight, Integer x, Integer y) {
  Integer left = leftIndent;
  for (size_t i = 0; i < captionWidths.size(); ++i) {
    const TRect tab = Rect(left, topIndent, left + captionWidths[i] + 12, topIndent + tabHeight);
    if (tab.Contains(TPoint{x, y})) return static_cast<Integer>(i);
    left = tab.Right;
  }
  return -1;
}

// --- Link menu ---------------------------------------------------------------

Integer LinkItemsHeight(const TLinkSectionShape& section, Integer itemSize) {
  return section.MarginTop + section.MarginBottom + section.ItemCount * itemSize;
}

std::vector<Integer> LinkSectionTops(const std::vector<TLinkSectionShape>& sections, const TLinkMenuMetrics& m) {
  std::vector<Integer> tops;
  Integer y = m.InnerTop - m.ScrollPos;
  for (const TLinkSectionShape& s : sections) {
    tops.push_back(y);
    y += m.HeaderSize + (s.Expanded ? LinkItemsHeight(s, m.ItemSize) : 0) + m.Spacing;
  }
  return tops;
}

Integer LinkItemTop(const std::vector<TLinkSectionShape>& sections, const TLinkMenuMetrics& m, Integer section,
                    Integer item) {
  const std::vector<Integer> tops = LinkSectionTops(sections, m);
  return tops[static_cast<size_t>(section)] + m.HeaderSize + sections[static_cast<size_t>(section)].MarginTop +
         item * m.ItemSize;
}

Integer LinkTotalHeight(const std::vector<TLinkSectionShape>& sections, const TLinkMenuMetrics& m) {
  Integer total = m.InnerTop;
  for (size_t i = 0; i < sections.size(); ++i) {
    total += m.HeaderSize + (sections[i].Expanded ? LinkItemsHeight(sections[i], m.ItemSize) : 0);
    total += i + 1 == sections.size() ? m.InnerBottom : m.Spacing;
  }
  return total;
}

Integer LinkSectionAtPos(const std::vector<TLinkSectionShape>& sections, const TLinkMenuMetrics& m, Integer y) {
  const std::vector<Integer> tops = LinkSectionTops(sections, m);
  for (size_t i = 0; i < tops.size(); ++i)
    if (tops[i] <= y && y <= tops[i] + m.HeaderSize) return static_cast<Integer>(i);
  return -1;
}

TLinkItemHit LinkItemAtPos(const std::vector<TLinkSectionShape>& sections, const TLinkMenuMetrics& m, Integer y) {
  const std::vector<Integer> tops = LinkSectionTops(sections, m);
  for (size_t i = 0; i < tops.size(); ++i) {
    if (!sections[i].Expanded) continue;
    Integer top = tops[i] + m.HeaderSize + sections[i].MarginTop;
    for (Integer j = 0; j < sections[i].ItemCount; ++j, top += m.ItemSize)
      if (top <= y && y <= top + m.ItemSize) return TLinkItemHit{static_cast<Integer>(i), j};
  }
  return {};
}

// --- Tool box ----------------------------------------------------------------

namespace {

// Calls visit(category, item, top, height) for every laid-out entry until it answers true.
template <class Visit>
void WalkToolBox(const std::vector<TToolBoxCategoryShape>& categories, Integer itemHeight, Integer scrollPos,
                 Visit visit) {
  Integer y = -scrollPos;
  for (size_t c = 0; c < categories.size(); ++c) {
    const auto category = static_cast<Integer>(c);
    if (visit(category, -1, y, kToolBoxHeaderHeight)) return;
    y += kToolBoxHeaderHeight;
    if (!categories[c].Expanded) continue;
    for (Integer i = 0; i < categories[c].ItemCount; ++i, y += itemHeight)
      if (visit(category, i, y, itemHeight)) return;
  }
}

}  // namespace

TToolBoxHit ToolBoxEntryAtPos(const std::vector<TToolBoxCategoryShape>& categories, Integer itemHeight,
                              Integer scrollPos, Integer y) {
  TToolBoxHit hit;
  WalkToolBox(categories, itemHeight, scrollPos, [&](Integer c, Integer i, Integer top, Integer height) {
    if (top <= y && y <= top + height) hit = TToolBoxHit{c, i};
    return hit.Category != -1;
  });
  return hit;
}

bool ToolBoxEntryTop(const std::vector<TToolBoxCategoryShape>& categories, Integer itemHeight, Integer scrollPos,
                     Integer category, Integer item, Integer& top) {
  bool found = false;
  WalkToolBox(categories, itemHeight, scrollPos, [&](Integer c, Integer i, Integer y, Integer) {
    if (c == category && i == item) {
      top = y;
      found = true;
    }
    return found;
  });
  return found;
}

Integer ToolBoxContentHeight(const std::vector<TToolBoxCategoryShape>& categories, Integer itemHeight) {
  Integer total = 0;
  for (const TToolBoxCategoryShape& c : categories)
    total += kToolBoxHeaderHeight + (c.Expanded ? c.ItemCount * itemHeight : 0);
  return total;
}

// --- Outlook bar -------------------------------------------------------------

Integer OutlookButtonsHeight(Integer toolbarHeight, Integer splitterHeight, Integer itemHeight, Integer displayCount,
                             Integer visibleCount) {
  return toolbarHeight + splitterHeight + std::min(displayCount, visibleCount) * (itemHeight + 1);
}

TRect OutlookSplitterRect(const TOutlookMetrics& m) {
  const Integer top = m.ClientHeight - m.ButtonsHeight;
  return Rect(0, top, m.ClientWidth, top + m.SplitterHeight);
}

std::vector<TOutlookPlace> OutlookLayout(const TOutlookMetrics& m, Integer visibleCount) {
  std::vector<TOutlookPlace> places;
  Integer y = m.ClientHeight - m.ButtonsHeight + m.SplitterHeight;
  Integer next = 0;
  for (; next < visibleCount && y < m.ClientHeight - m.ToolbarHeight; ++next, y += m.ItemHeight + 1)
    places.push_back(TOutlookPlace{next, false, Rect(0, y, m.ClientWidth, y + m.ItemHeight)});
  Integer x = m.ClientWidth;
  for (Integer i = visibleCount - 1; i >= next; --i, x -= m.ToolButtonWidth)
    places.push_back(
        TOutlookPlace{i, true, Rect(x - m.ToolButtonWidth, m.ClientHeight - m.ToolbarHeight, x, m.ClientHeight)});
  return places;
}

Integer OutlookItemAtPos(const TOutlookMetrics& m, Integer visibleCount, Integer x, Integer y) {
  for (const TOutlookPlace& p : OutlookLayout(m, visibleCount)) {
    if (!p.Tool && p.Rect.Top <= y && y < p.Rect.Bottom) return p.Visible;
    if (p.Tool && y > m.ClientHeight - m.ToolbarHeight && p.Rect.Left <= x && x < p.Rect.Right) return p.Visible;
  }
  return -1;
}

Integer OutlookSplitterCount(const TOutlookMetrics& m, Integer visibleCount, Integer y) {
  const Integer room = m.ClientHeight - y - m.ToolbarHeight - m.SplitterHeight;
  const Integer pitch = m.ItemHeight + 1;
  // Rounded towards positive infinity for either sign.
  const Integer n = room >= 0 ? (room + pitch - 1) / pitch : -((-room) / pitch);
  return std::min(n, visibleCount);
}

// --- Status bar --------------------------------------------------------------

TRect StatusPanelRect(const std::vector<Integer>& widths, Integer index, Integer clientHeight) {
  Integer x = 0;
  for (Integer i = 0; i < index && i < static_cast<Integer>(widths.size()); ++i) x += widths[static_cast<size_t>(i)];
  return Rect(x, 0, x + widths[static_cast<size_t>(index)], clientHeight);
}
