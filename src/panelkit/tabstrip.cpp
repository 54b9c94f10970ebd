#include "panelkit/tabstrip.h"

#include <algorithm>

Integer ClampExtent(Int64 value) {
  return static_cast<Integer>(std::clamp<Int64>(value, -kMaxExtent, kMaxExtent));
}

namespace {

// A sum over many tabs, kept where later arithmetic on it cannot overflow.
Integer ClampSum(Int64 value) {
  return static_cast<Integer>(std::clamp<Int64>(value, -(Int64{1} << 30), Int64{1} << 30));
}

// The settings with every size inside the clamp.
TTabStripSettings Sane(TTabStripSettings s) {
  s.ClientWidth = ClampExtent(s.ClientWidth);
  s.ClientHeight = ClampExtent(s.ClientHeight);
  s.TabHeight = std::max(0, ClampExtent(s.TabHeight));
  s.Indent = ClampExtent(s.Indent);
  s.TopIndent = ClampExtent(s.TopIndent);
  return s;
}

std::vector<TStripTab> Sane(std::vector<TStripTab> tabs) {
  for (TStripTab& tab : tabs) tab.Width = std::max(0, ClampExtent(tab.Width));
  return tabs;
}

}  // namespace

Integer TabOverlap(pxtabs::TTabStyle style, Integer tabHeight) {
  switch (style) {
    case pxtabs::tsClassic: return 0;
    case pxtabs::tsFlat: return tabHeight / 2;
    case pxtabs::tsOneNote: return tabHeight - 3;
    case pxtabs::tsWhidbey: return tabHeight - 7;
    case pxtabs::tsDexter: return tabHeight - 6;
  }
  return 0;
}

Integer TabWidthFor(Integer fixedWidth, Integer captionWidth, bool captionEmpty, pxtabs::TTabStyle style, Integer tabHeight,
                    Integer tabMargin, Integer pictureWidth, Integer maxWidth) {
  if (fixedWidth != 0) return ClampExtent(fixedWidth);
  Int64 width = captionEmpty ? 8 : captionWidth;
  switch (style) {
    case pxtabs::tsClassic: width += 12; break;
    case pxtabs::tsOneNote: width += tabHeight + 36; break;
    case pxtabs::tsFlat:
    case pxtabs::tsWhidbey:
    case pxtabs::tsDexter: width += tabHeight; break;
  }
  width += 2 * Int64{tabMargin};
  if (pictureWidth > 0) width += Int64{pictureWidth} + 4;
  if (maxWidth > 0 && width > maxWidth) width = maxWidth;
  return ClampExtent(width);
}

TTabStripLayout::TTabStripLayout(const TTabStripSettings& settings, std::vector<TStripTab> tabs, Integer activeIndex,
                                 Integer scrollPos)
    : FSettings(Sane(settings)),
      FTabs(Sane(std::move(tabs))),
      FActive(activeIndex),
      FScrollPos(std::clamp(scrollPos, 0, kMaxExtent * 64)) {}

bool TTabStripLayout::IsShown(int index) const {
  return index >= 0 && index < TabCount() && FTabs[static_cast<size_t>(index)].Shown;
}

Integer TTabStripLayout::TabsEdge() const {
  const TPageOptions& o = FSettings.Options;
  return FSettings.ClientWidth - (o.Contains(pgCloseButton) ? 39 : 23) - (o.Contains(pgTabsPopup) ? 16 : 0) -
         (o.Contains(pgScrollButtons) ? 32 : 0);
}

TRect TTabStripLayout::TabsClientRect() const {
  TRect r{FSettings.Indent, 0, TabsEdge(), 0};
  if (FSettings.Position == pxtabs::tpTop) {
    r.Top = FSettings.TopIndent;
    r.Bottom = r.Top + FSettings.TabHeight;
  } else {
    r.Bottom = FSettings.ClientHeight - FSettings.TopIndent - (FSettings.Options.Contains(pgTopBorder) ? 1 : 0);
    r.Top = r.Bottom - FSettings.TabHeight;
  }
  return r;
}

TRect TTabStripLayout::StripArea() const {
  const Integer h = FSettings.TabHeight + FSettings.TopIndent;
  if (FSettings.Position == pxtabs::tpTop) return Rect(0, 0, FSettings.ClientWidth, h);
  return Rect(0, FSettings.ClientHeight - h - 1, FSettings.ClientWidth, FSettings.ClientHeight);
}

Integer TTabStripLayout::PageLineY() const {
  if (FSettings.Position == pxtabs::tpTop) return FSettings.TabHeight + FSettings.TopIndent;
  return FSettings.ClientHeight - FSettings.TabHeight - FSettings.TopIndent - 1;
}

TRect TTabStripLayout::PageArea(bool showTabs) const {
  TRect r = Rect(0, 0, FSettings.ClientWidth, FSettings.ClientHeight);
  if (!showTabs) return r;
  const Integer strip = FSettings.TabHeight + FSettings.TopIndent + 1;
  if (FSettings.Position == pxtabs::tpTop)
    r.Top += strip;
  else
    r.Bottom -= strip;
  return r;
}

Integer TTabStripLayout::TabClientWidth(int index) const {
  if (index < 0 || index >= TabCount()) return 0;
  return FTabs[static_cast<size_t>(index)].Width - Overlap();
}

Integer TTabStripLayout::UnscrolledLeft(int index) const {
  Int64 x = FSettings.Indent;
  for (int i = 0; i < index && i < TabCount(); ++i)
    if (FTabs[static_cast<size_t>(i)].Shown) x += TabClientWidth(i);
  return ClampSum(x);
}

TRect TTabStripLayout::TabRect(int index) const {
  TRect r;
  r.Left = UnscrolledLeft(index) - FScrollPos;
  r.Right = r.Left + (index >= 0 && index < TabCount() ? FTabs[static_cast<size_t>(index)].Width : 0);
  r.Top = FSettings.Position == pxtabs::tpTop ? FSettings.TopIndent
                                      : FSettings.ClientHeight - FSettings.TabHeight - FSettings.TopIndent;
  r.Bottom = r.Top + FSettings.TabHeight;
  return r;
}

Integer TTabStripLayout::TabsRight() const {
  Int64 x = FSettings.Indent;
  const Integer edge = TabsEdge();
  for (int i = 0; i < TabCount(); ++i) {
    if (!IsShown(i)) continue;
    Integer w = FTabs[static_cast<size_t>(i)].Width;
    if (edge < x + w) break;
    x += i == FActive ? w : w - Overlap();
  }
  return ClampSum(x);
}

int TTabStripLayout::TabAtPos(Integer x, Integer y) const {
  const TRect band = TabsClientRect();
  if (!band.Contains(Point(x, y))) return -1;
  const Integer overlap = Overlap();
  const Integer edge = TabsEdge();
  Int64 left = FSettings.Indent - FScrollPos;
  for (int i = 0; i < TabCount(); ++i) {
    if (!IsShown(i)) continue;
    Integer w = FTabs[static_cast<size_t>(i)].Width;
    Int64 right = FSettings.PartialTabs ? std::min<Int64>(left + w, edge) : left + w;
    if (right > edge) return -1;
    if (x < left || x >= right) {
      left += w - overlap;
      continue;
    }
    int next = i + 1;
    while (next < TabCount() && !IsShown(next)) ++next;
    if (next != FActive) return i;
    // The active tab's slanted left edge lies over this tab's right part.
    Int64 dx = x + overlap - right;
    Integer dy = FSettings.Position == pxtabs::tpTop ? y + overlap - band.Bottom : overlap - (y - band.Top);
    if (dx + dy < overlap - 1) return i;
    left += w - overlap;
  }
  return -1;
}

TRect TTabStripLayout::ButtonRect(TPageButton button) const {
  const TPageOptions& o = FSettings.Options;
  Integer x = FSettings.ClientWidth - (o.Contains(pgCloseButton) ? 20 : 4);
  if (button != TPageButton::pbClose) {
    if (o.Contains(pgTabsPopup)) x -= 16;
    if (button == TPageButton::pbScrollLeft) x -= 32;
    if (button == TPageButton::pbScrollRight) x -= 16;
  }
  Integer centre =
      (FSettings.Position == pxtabs::tpTop ? FSettings.TopIndent
                                   : FSettings.ClientHeight - FSettings.TabHeight - FSettings.TopIndent + 1) +
      FSettings.TabHeight / 2;
  return Rect(x, centre - 8, x + 16, centre + 8);
}

TPageButton TTabStripLayout::ButtonAtPos(TPoint p) const {
  const TPageOptions& o = FSettings.Options;
  TPageButton result = TPageButton::pbNone;
  if (o.Contains(pgCloseButton) && ButtonRect(TPageButton::pbClose).Contains(p)) result = TPageButton::pbClose;
  if (o.Contains(pgScrollButtons)) {
    if (ButtonRect(TPageButton::pbScrollLeft).Contains(p)) result = TPageButton::pbScrollLeft;
    if (ButtonRect(TPageButton::pbScrollRight).Contains(p)) result = TPageButton::pbScrollRight;
  }
  if (o.Contains(pgTabsPopup) && ButtonRect(TPageButton::pbPopup).Contains(p)) result = TPageButton::pbPopup;
  return result;
}

Integer TTabStripLayout::TotalWidth() const {
  Int64 total = 0;
  bool any = false;
  for (int i = 0; i < TabCount(); ++i)
    if (IsShown(i)) {
      total += TabClientWidth(i);
      any = true;
    }
  return any ? ClampSum(total + Overlap()) : 0;
}

Integer TTabStripLayout::MaxScrollPos() const {
  // Scrolling ends where the last tab ends at the strip's end, whether it
  // moves by pixels or by tabs: no further scrolling would show more.
  const Integer total = TotalWidth();
  const Integer room = TabsEdge() - FSettings.Indent;
  return room >= total ? 0 : total - room;
}

bool TTabStripLayout::AtLeftEnd() const {
  if (FSettings.ScrollMethod != smSelect) return FScrollPos == 0;
  for (int i = 0; i < FActive && i < TabCount(); ++i)
    if (IsShown(i)) return false;
  return true;
}

bool TTabStripLayout::AtRightEnd() const {
  if (FSettings.ScrollMethod != smSelect) return FScrollPos >= MaxScrollPos();
  for (int i = std::max(FActive + 1, 0); i < TabCount(); ++i)
    if (IsShown(i)) return false;
  return true;
}

Integer TTabStripLayout::ClampedScroll(Integer delta) const {
  return std::clamp(FScrollPos + delta, 0, std::max(0, MaxScrollPos()));
}

Integer TTabStripLayout::TabStepTarget(int direction) const {
  std::vector<int> shown;
  for (int i = 0; i < TabCount(); ++i)
    if (IsShown(i)) shown.push_back(i);
  if (shown.empty()) return FScrollPos;
  const int count = static_cast<int>(shown.size());
  // The unscrolled right end of the k-th shown tab less its overlap.
  auto start = [&](int k) {
    if (k < 0) return 0;
    Int64 x = FSettings.Indent;
    for (int j = 0; j <= k && j < count; ++j) x += TabClientWidth(shown[static_cast<size_t>(j)]);
    return ClampSum(x);
  };
  int first = 0;
  for (int k = 0; k < count; ++k)
    if (TabRect(shown[static_cast<size_t>(k)]).Right > FSettings.Indent) {
      first = k;
      break;
    }
  const bool overlapping = Overlap() >= 1;
  if (direction < 0) {
    if (first == 0) return 0;
    return overlapping ? start(first - 1) : start(first - 2);
  }
  if (FScrollPos == 0) return start(first);
  const int last = count - 1;
  // Only while the last tab still runs past the strip's end.
  if (start(last) + Overlap() - FScrollPos > TabsEdge()) return overlapping ? start(first + 1) : start(first);
  return FScrollPos;
}

Integer TTabStripLayout::ScrollToShow(int index) const {
  if (!IsShown(index)) return FScrollPos;
  const TRect r = TabRect(index);
  const Integer edge = TabsEdge();
  if (r.Left >= FSettings.Indent && r.Right <= edge) return FScrollPos;
  Integer target = r.Left > FSettings.Indent ? FScrollPos + r.Right - edge : FScrollPos + r.Left - FSettings.Indent;
  return std::clamp(target, 0, std::max(0, MaxScrollPos()));
}

namespace tabshapes {

std::vector<TPoint> FlatOutline(const TRect& r, Integer tabHeight) {
  const Integer h = tabHeight / 2;
  return {{r.Left, r.Bottom}, {r.Left + h, r.Top}, {r.Right - h, r.Top}, {r.Right, r.Bottom}};
}

std::vector<TPoint> FlatFill(const TRect& r, Integer tabHeight) {
  const Integer h = tabHeight / 2;
  return {{r.Left + 1, r.Bottom}, {r.Left + h, r.Top + 1}, {r.Right - h - 1, r.Top + 1}, {r.Right - 1, r.Bottom}};
}

std::vector<TPoint> OneNoteOutline(const TRect& r, Integer H, bool leading) {
  const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  if (leading)
    return {{L, B - 1}, {L + 1, B - 1}, {L + H - 2, T + 2}, {L + H + 1, T + 1}, {L + H + 3, T},
            {R - 3, T}, {R - 1, T + 2}, {R - 1, T + 4},     {R - 1, B}};
  return {{L + H - 3, T + 3}, {L + H, T + 1}, {L + H + 4, T}, {R - 3, T}, {R - 1, T + 2}, {R - 1, T + 4}, {R - 1, B}};
}

std::vector<TPoint> OneNoteClip(const TRect& r, Integer H, bool leading) {
  const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  if (leading)
    return {{L + 1, B},     {L + H - 2, T + 3}, {L + H, T + 2}, {L + H + 3, T},
            {R - 2, T + 1}, {R - 1, T + 2},     {R - 1, T + 5}, {R - 1, B}};
  return {{L + H - 3, B - 1}, {L + H - 3, T + 4}, {L + H - 2, T + 3}, {L + H, T + 2}, {L + H + 3, T},
          {R - 2, T + 1},     {R - 1, T + 2},     {R - 1, T + 5},     {R - 1, B}};
}

std::vector<TPoint> OneNoteInnerLight(const TRect& r, Integer H) {
  const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  return {{L + 1, B}, {L + H - 2, T + 3}, {L + H + 1, T + 2}, {L + H + 2, T + 1}, {R - 2, T + 1}};
}

std::vector<TPoint> OneNoteInnerEdge(const TRect& r) {
  return {{r.Right - 3, r.Top + 1}, {r.Right - 2, r.Top + 2}, {r.Right - 2, r.Bottom}};
}

std::vector<TPoint> WhidbeyOutline(const TRect& r, Integer H, bool leading) {
  const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  TPoint start = leading ? TPoint{L, B - 1} : TPoint{L + H - 7, T + 6};
  return {start,      {L + H - 3, T + 2}, {L + H, T + 1}, {L + H + 2, T},
          {R - 3, T}, {R - 1, T + 2},     {R - 1, T + 4}, {R - 1, B}};
}

std::vector<TPoint> WhidbeyActiveFill(const TRect& r, Integer H) {
  const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  return {{L + 1, B - 1}, {L + H - 3, T + 3}, {L + H + 1, T + 2}, {L + H + 1, T + 1},
          {R - 3, T + 1}, {R - 2, T + 2},     {R - 2, T + 5},     {R - 2, B - 1}};
}

std::vector<TPoint> WhidbeyInactiveClip(const TRect& r, Integer H, bool first) {
  const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  if (first)
    return {{L, B},         {L + H - 3, T + 3}, {L + H - 1, T + 2}, {L + H + 2, T},
            {R - 2, T + 1}, {R - 1, T + 2},     {R - 1, T + 5},     {R - 1, B}};
  return {{L + H - 7, B - 1}, {L + H - 7, T + 7}, {L + H - 3, T + 3}, {L + H - 1, T + 2}, {L + H + 2, T},
          {R - 2, T + 1},     {R - 1, T + 2},     {R - 1, T + 5},     {R - 1, B}};
}

std::vector<TPoint> WhidbeyInnerLight(const TRect& r, Integer H) {
  return {{r.Left, r.Bottom}, {r.Left + H - 3, r.Top + 3}, {r.Left + H + 1, r.Top + 2}};
}

std::vector<TPoint> WhidbeyInnerEdge(const TRect& r) {
  return OneNoteInnerEdge(r);
}

std::vector<TPoint> DexterActive(const TRect& r) {
  const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  return {{L, B},          {L, T + 6},      {L + 2, T + 3},  {L + 3, T + 2},  {L + 6, T},       {R - 18, T},
          {R - 14, T + 2}, {R - 13, T + 3}, {R - 11, T + 6}, {R - 11, T + 7}, {R - 11, B - 10}, {R - 10, B - 9},
          {R - 9, B - 5},  {R - 5, B - 1},  {R - 1, B},      {R, B}};
}

std::vector<TPoint> DexterInactive(const TRect& r) {
  const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  return {{L, B - 1},      {L, T + 6},      {L + 2, T + 3},  {L + 3, T + 2},  {L + 6, T},     {R - 18, T},
          {R - 14, T + 2}, {R - 13, T + 3}, {R - 11, T + 6}, {R - 11, T + 7}, {R - 11, B - 1}};
}

std::vector<TPoint> Mirrored(std::vector<TPoint> points, const TRect& r) {
  const Integer centre = r.Top + (r.Bottom - r.Top) / 2;
  for (TPoint& p : points) p.Y = 2 * centre - p.Y;
  return points;
}

}  // namespace tabshapes

TGlyphTabRow::TGlyphTabRow(std::vector<Integer> widths, std::vector<bool> shown, Integer spacing, TAlignment alignment,
                           Integer clientWidth, Integer topIndent, Integer tabHeight)
    : FWidths(std::move(widths)),
      FShown(std::move(shown)),
      FSpacing(ClampExtent(spacing)),
      FAlignment(alignment),
      FClientWidth(ClampExtent(clientWidth)),
      FTopIndent(ClampExtent(topIndent)),
      FTabHeight(ClampExtent(tabHeight)) {
  FShown.resize(FWidths.size(), true);
  for (Integer& width : FWidths) width = ClampExtent(width);
}

Integer TGlyphTabRow::TabsWidth() const {
  Int64 total = 0;
  Int64 count = 0;
  for (size_t i = 0; i < FWidths.size(); ++i)
    if (FShown[i]) {
      total += FWidths[i];
      ++count;
    }
  return count == 0 ? 0 : ClampSum(total + FSpacing * (count - 1));
}

Integer TGlyphTabRow::RowStart() const {
  switch (FAlignment) {
    case taLeftJustify: return 10;
    case taRightJustify: return FClientWidth - TabsWidth() - 10;
    case taCenter: return FClientWidth / 2 - TabsWidth() / 2;
  }
  return 10;
}

TRect TGlyphTabRow::TabRect(int index) const {
  Int64 sum = RowStart();
  for (int i = 0; i < index && i < static_cast<int>(FWidths.size()); ++i)
    if (FShown[static_cast<size_t>(i)]) sum += FWidths[static_cast<size_t>(i)] + FSpacing;
  const Integer left = ClampSum(sum);
  Integer width = index >= 0 && index < static_cast<int>(FWidths.size()) ? FWidths[static_cast<size_t>(index)] : 0;
  return Rect(left, FTopIndent, left + width, FTopIndent + FTabHeight);
}

int TGlyphTabRow::TabAtPos(Integer x) const {
  Int64 left = RowStart();
  for (size_t i = 0; i < FWidths.size(); ++i) {
    if (!FShown[i]) continue;
    if (left <= x && x <= left + FWidths[i]) return static_cast<int>(i);
    left += FWidths[i] + FSpacing;
  }
  return -1;
}

namespace designbar {

TRect BarRect(Integer clientWidth, Integer clientHeight) {
  return Rect(0, clientHeight - kHeight, clientWidth, clientHeight);
}

TRect BackButton(Integer, Integer clientHeight) {
  return Rect(2, clientHeight - 23, 18, clientHeight - 2);
}

TRect ForwardButton(Integer clientWidth, Integer clientHeight) {
  return Rect(clientWidth - 18, clientHeight - 23, clientWidth - 2, clientHeight - 2);
}

std::vector<TRect> TabRects(const std::vector<Integer>& widths, Integer first, Integer clientWidth,
                            Integer clientHeight) {
  std::vector<TRect> rects;
  Integer x = 20;
  for (Integer i = std::max<Integer>(first, 0); i < static_cast<Integer>(widths.size()); ++i) {
    Integer w = std::max(0, ClampExtent(widths[static_cast<size_t>(i)]));
    if (x + w >= clientWidth - 18) break;
    rects.push_back(Rect(x, clientHeight - 23, x + w, clientHeight - 2));
    x += w + 2;
  }
  return rects;
}

int TabAtPos(const std::vector<Integer>& widths, Integer first, Integer clientWidth, Integer clientHeight, TPoint p) {
  std::vector<TRect> rects = TabRects(widths, first, clientWidth, clientHeight);
  for (size_t k = 0; k < rects.size(); ++k) {
    TRect taller = rects[k];
    taller.Top = clientHeight - 27;
    if (taller.Contains(p)) return static_cast<int>(std::max<Integer>(first, 0) + static_cast<Integer>(k));
  }
  return -1;
}

Integer MaxScrollPos(const std::vector<Integer>& widths, Integer first, Integer clientWidth, Integer clientHeight) {
  auto fitting = static_cast<Integer>(TabRects(widths, first, clientWidth, clientHeight).size());
  return std::max<Integer>(0, static_cast<Integer>(widths.size()) - fitting);
}

}  // namespace designbar
