// The geometry of the category buttons list: how far each category reaches
// along the flow, where its caption strip and button cells stand, which cell
// lies under a point and how far to scroll to show a rectangle. Pure
// arithmetic on sizes, so it is tested without a window.
#pragma once

#include <vector>

#include "rtl/geometry.h"
#include "rtl/types.h"

struct TCatLayoutMetrics {
  bool Horizontal = false;        // categories follow each other rightwards
  bool FullSize = false;          // one full-width button per row (vertical flow)
  bool VerticalCaptions = false;  // the caption stands beside the buttons
  bool CaptionOnlyBorder = false;
  Integer ButtonWidth = 24;
  Integer ButtonHeight = 24;
  Integer CollapsedHeight = 0;  // height of a collapsed category's caption
  Integer ClientWidth = 0;
  Integer ClientHeight = 0;

  Integer GutterSize() const { return CollapsedHeight + 1; }
  Integer SideBufferSize() const;
  // Buttons per row (vertical flow) or per column (horizontal flow), at least 1.
  Integer CellsPerLine() const;
  // Buttons per line as the keyboard and the drop target count them.
  Integer ButtonsPerLine(const TRect& buttonArea) const;
  // Pixels a category of `buttons` buttons takes along the flow.
  Integer CategoryExtent(Integer buttons, bool collapsed) const;
  // The rectangles of a category whose extent starts at `position` on screen.
  TRect OuterRect(Integer position, Integer extent, Integer buttons, bool collapsed) const;
  TRect ButtonArea(Integer position, Integer buttons) const;
  TRect CaptionStrip(Integer position, Integer extent, Integer buttons, bool collapsed) const;
  // The cell of button `index` inside a button area.
  TRect ButtonRect(const TRect& buttonArea, Integer index) const;
  // The button index under a point, -1 for none (area edges count as inside).
  Integer ButtonIndexAt(const TRect& buttonArea, Integer buttons, Integer x, Integer y) const;
};

struct TCatExtent {
  Integer Start = 0;
  Integer End = 0;
};

struct TCatShape {
  Integer Buttons = 0;
  bool Collapsed = false;
};

// Each category's start and end along the flow, one after another from 0.
std::vector<TCatExtent> LayOutCategories(const TCatLayoutMetrics& metrics, const std::vector<TCatShape>& categories);

struct TCatScrollRange {
  bool Shown = false;
  Integer Max = 0;    // the highest scroll position
  Integer Page = 0;   // lines in one page
  Integer Range = 0;  // the scroll bar's upper bound
};

// The scroll range for a list `total` pixels long in a view `extent` long,
// scrolling `lineSize` pixels per line.
TCatScrollRange CategoryScrollRange(Integer total, Integer extent, Integer lineSize);

// The scroll position that shows the span [top, bottom) (screen coordinates
// along the flow) in a view `extent` long; `alignTop` puts it at the start.
Integer ScrollPositionToShow(Integer position, Integer max, Integer lineSize, Integer extent, Integer top,
                             Integer bottom, bool alignTop);
