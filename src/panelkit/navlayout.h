// The arithmetic of the kit's navigation controls, apart from any window:
// the palette tab control's button row, the link menu's and the tool box's
// vertical walk over sections and items, the outlook bar's large buttons,
// toolbar row and splitter, and the status bar's panel row.
#pragma once

#include <vector>

#include "rtl/geometry.h"
#include "rtl/types.h"

// --- Palette tab control ----------------------------------------------------

struct TPaletteMetrics {
  Integer ClientWidth = 200;
  Integer ButtonWidth = 23;
  Integer ButtonHeight = 22;
  Integer Margin = 2;
  Integer TopIndent = 2;
  Integer TabHeight = 21;
};

TRect PaletteTabsRect(const TPaletteMetrics& m);
TRect PaletteButtonsRect(const TPaletteMetrics& m);
TRect PaletteButtonRect(const TPaletteMetrics& m, Integer index);
// The y coordinate is not consulted: callers test the button row first.
Integer PaletteButtonAtPos(const TPaletteMetrics& m, Integer x);
Integer PaletteAutoHeight(const TPaletteMetrics& m);
// The tab under the point, each tab (x, TopIndent, x + width + 12,
// TopIndent + TabHeight) from x = leftIndent; -1 for none.
Integer PaletteTabAtPos(const std::vector<Integer>& captionWidths, Integer leftIndent, Integer topIndent,
                        Integer tabHeight, Integer x, Integer y);

// --- Link menu ---------------------------------------------------------------

struct TLinkSectionShape {
  bool Expanded = true;
  Integer ItemCount = 0;
  Integer MarginTop = 5;
  Integer MarginBottom = 5;
};

struct TLinkMenuMetrics {
  Integer HeaderSize = 25;
  Integer ItemSize = 20;
  Integer Spacing = 10;
  Integer InnerTop = 10;
  Integer InnerBottom = 10;
  Integer ScrollPos = 0;
};

Integer LinkItemsHeight(const TLinkSectionShape& section, Integer itemSize);
// The top of each section's header, in order.
std::vector<Integer> LinkSectionTops(const std::vector<TLinkSectionShape>& sections, const TLinkMenuMetrics& m);
// The top of an item's band (after the header and the section's top margin).
Integer LinkItemTop(const std::vector<TLinkSectionShape>& sections, const TLinkMenuMetrics& m, Integer section,
                    Integer item);
Integer LinkTotalHeight(const std::vector<TLinkSectionShape>& sections, const TLinkMenuMetrics& m);
// Both ends of a band count: -1 when no header (or item) band holds y.
Integer LinkSectionAtPos(const std::vector<TLinkSectionShape>& sections, const TLinkMenuMetrics& m, Integer y);
struct TLinkItemHit {
  Integer Section = -1;
  Integer Item = -1;
};
TLinkItemHit LinkItemAtPos(const std::vector<TLinkSectionShape>& sections, const TLinkMenuMetrics& m, Integer y);

// --- Tool box ----------------------------------------------------------------

constexpr Integer kToolBoxHeaderHeight = 17;

struct TToolBoxCategoryShape {
  bool Expanded = true;
  Integer ItemCount = 0;
};

// A category header when Item is -1; nothing when Category is -1.
struct TToolBoxHit {
  Integer Category = -1;
  Integer Item = -1;
  bool operator==(const TToolBoxHit&) const = default;
};

TToolBoxHit ToolBoxEntryAtPos(const std::vector<TToolBoxCategoryShape>& categories, Integer itemHeight,
                              Integer scrollPos, Integer y);
// The top of a header (item -1) or of an item's row; false for an entry
// that is not laid out (an item of a collapsed category, or out of range).
bool ToolBoxEntryTop(const std::vector<TToolBoxCategoryShape>& categories, Integer itemHeight, Integer scrollPos,
                     Integer category, Integer item, Integer& top);
Integer ToolBoxContentHeight(const std::vector<TToolBoxCategoryShape>& categories, Integer itemHeight);

// --- Outlook bar -------------------------------------------------------------

struct TOutlookMetrics {
  Integer ClientWidth = 185;
  Integer ClientHeight = 265;
  Integer ItemHeight = 31;
  Integer SplitterHeight = 9;
  Integer ToolbarHeight = 30;
  Integer ToolButtonWidth = 22;
  Integer ButtonsHeight = 0;
};

Integer OutlookButtonsHeight(Integer toolbarHeight, Integer splitterHeight, Integer itemHeight, Integer displayCount,
                             Integer visibleCount);
TRect OutlookSplitterRect(const TOutlookMetrics& m);

// Where one visible item stands: Visible is its position among the visible
// items; Rect is its button (a tool button's hit rectangle).
struct TOutlookPlace {
  Integer Visible = 0;
  bool Tool = false;
  TRect Rect;
};
// Large buttons from the splitter down, then the rest right-aligned in the
// toolbar row from the last one backwards.
std::vector<TOutlookPlace> OutlookLayout(const TOutlookMetrics& m, Integer visibleCount);
// The visible position at the point, -1 for none.
Integer OutlookItemAtPos(const TOutlookMetrics& m, Integer visibleCount, Integer x, Integer y);
// The number of large buttons a splitter dragged to y asks for (rounded
// up, at most visibleCount; may be negative below the toolbar).
Integer OutlookSplitterCount(const TOutlookMetrics& m, Integer visibleCount, Integer y);

// --- Status bar --------------------------------------------------------------

TRect StatusPanelRect(const std::vector<Integer>& widths, Integer index, Integer clientHeight);
