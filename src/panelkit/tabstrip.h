// The arithmetic of the tabbed page containers, apart from any window: the
// page control's strip of overlapping tabs (widths, rectangles, hit tests,
// buttons, scrolling), the outlines of its tab styles, the glyph page
// control's row of tabs and the plain notebook's design bar. The controls
// feed it their sizes and the pages' tab widths and visibility.
#pragma once

#include <vector>

#include "rtl/geometry.h"
#include "rtl/sets.h"
#include "rtl/types.h"
#include "rtl/uitypes.h"

// The kit's own tab styles and positions carry the names the standard tab
// controls use for theirs; the namespace keeps the two apart.
namespace pxtabs {
enum TTabStyle { tsClassic, tsFlat, tsOneNote, tsWhidbey, tsDexter };
enum TTabPosition { tpTop, tpBottom };
}  // namespace pxtabs
enum TBackgroundKind { bkSolid, bkCustom, bkHorzGradient, bkTransparent, bkVertGradient, bkInveseVertGradient };
enum TScrollMethod { smTab, smPixels, smSelect };
enum TPageOption {
  pgAlwaysShowTabsRect,
  pgBoldActiveTab,
  pgCloseButton,
  pgConstantScroll,
  pgCustomTabsPopup,
  pgPageBorder,
  pgScrollButtons,
  pgTabsPopup,
  pgTopBorder
};
using TPageOptions = TSet<TPageOption>;
inline constexpr TPageOptions kDefaultPageOptions{pgBoldActiveTab, pgCloseButton, pgScrollButtons, pgTopBorder};
// The small buttons at the strip's right end (never stored in forms).
enum class TPageButton { pbNone, pbClose, pbPopup, pbScrollLeft, pbScrollRight };

// What the strip's layout reads of its control.
struct TTabStripSettings {
  Integer ClientWidth = 0;
  Integer ClientHeight = 0;
  Integer TabHeight = 17;
  Integer Indent = 2;
  Integer TopIndent = 3;
  pxtabs::TTabStyle Style = pxtabs::tsWhidbey;
  pxtabs::TTabPosition Position = pxtabs::tpTop;
  TPageOptions Options = kDefaultPageOptions;
  bool PartialTabs = false;
  TScrollMethod ScrollMethod = smPixels;
};

// One page as the strip sees it.
struct TStripTab {
  Integer Width = 0;  // the tab's full width
  bool Shown = true;  // both the page and its tab are visible
};

// Sizes read from a form are clamped to this many pixels either way, so that
// sums over many tabs stay well inside an Integer.
inline constexpr Integer kMaxExtent = 1 << 20;
Integer ClampExtent(Int64 value);

// How far each tab overlaps its right neighbour.
Integer TabOverlap(pxtabs::TTabStyle style, Integer tabHeight);
// The width a tab takes: a fixed width when given, else the measured caption
// (8 pixels when empty) with the style's room, the margins and the picture,
// cut to the maximum when there is one.
Integer TabWidthFor(Integer fixedWidth, Integer captionWidth, bool captionEmpty, pxtabs::TTabStyle style, Integer tabHeight,
                    Integer tabMargin, Integer pictureWidth, Integer maxWidth);

class TTabStripLayout {
 public:
  TTabStripLayout(const TTabStripSettings& settings, std::vector<TStripTab> tabs, Integer activeIndex,
                  Integer scrollPos);

  const TTabStripSettings& Settings() const { return FSettings; }
  Integer Overlap() const { return TabOverlap(FSettings.Style, FSettings.TabHeight); }
  Integer ScrollPos() const { return FScrollPos; }
  Integer ActiveIndex() const { return FActive; }
  int TabCount() const { return static_cast<int>(FTabs.size()); }
  bool IsShown(int index) const;

  // The x at which the tabs end and the buttons begin.
  Integer TabsEdge() const;
  // The band the tabs lie in, from the indent to the tabs' edge.
  TRect TabsClientRect() const;
  // The strip: the band with the top indent, across the whole width.
  TRect StripArea() const;
  // The y of the line that joins the active tab to its page.
  Integer PageLineY() const;
  // The page area when the tabs are shown (before margins and border).
  TRect PageArea(bool showTabs) const;
  Integer TabClientWidth(int index) const;
  TRect TabRect(int index) const;
  Integer TabsRight() const;
  // The page whose tab is at the point, honouring the active tab's slant
  // over its left neighbour; -1 for none.
  int TabAtPos(Integer x, Integer y) const;

  TRect ButtonRect(TPageButton button) const;
  // Only the buttons the options show; the menu button wins.
  TPageButton ButtonAtPos(TPoint p) const;

  // The width of every shown tab laid end to end.
  Integer TotalWidth() const;
  // Where the last tab ends at the strip's end (0 when all tabs fit).
  Integer MaxScrollPos() const;
  bool AtLeftEnd() const;
  bool AtRightEnd() const;
  // The scroll position after moving by delta, kept within 0..maximum.
  Integer ClampedScroll(Integer delta) const;
  // Where one press of a scroll button in direction -1 or +1 takes the
  // position under smTab; only shown tabs count.
  Integer TabStepTarget(int direction) const;
  // The scroll position that brings the tab into the band (unchanged when
  // it is in already, or not shown).
  Integer ScrollToShow(int index) const;

 private:
  // The left of shown tab `index` with no scrolling.
  Integer UnscrolledLeft(int index) const;
  TTabStripSettings FSettings;
  std::vector<TStripTab> FTabs;
  Integer FActive;
  Integer FScrollPos;
};

// The outline points of a tab (drawn for tabs above the page).
namespace tabshapes {
std::vector<TPoint> FlatOutline(const TRect& r, Integer tabHeight);
std::vector<TPoint> FlatFill(const TRect& r, Integer tabHeight);
std::vector<TPoint> OneNoteOutline(const TRect& r, Integer tabHeight, bool leading);
std::vector<TPoint> OneNoteClip(const TRect& r, Integer tabHeight, bool leading);
std::vector<TPoint> OneNoteInnerLight(const TRect& r, Integer tabHeight);
std::vector<TPoint> OneNoteInnerEdge(const TRect& r);
std::vector<TPoint> WhidbeyOutline(const TRect& r, Integer tabHeight, bool leading);
std::vector<TPoint> WhidbeyActiveFill(const TRect& r, Integer tabHeight);
std::vector<TPoint> WhidbeyInactiveClip(const TRect& r, Integer tabHeight, bool first);
std::vector<TPoint> WhidbeyInnerLight(const TRect& r, Integer tabHeight);
std::vector<TPoint> WhidbeyInnerEdge(const TRect& r);
std::vector<TPoint> DexterActive(const TRect& r);
std::vector<TPoint> DexterInactive(const TRect& r);
// Mirrors every y about the rectangle's horizontal centre line (tabs that
// hang below their page).
std::vector<TPoint> Mirrored(std::vector<TPoint> points, const TRect& r);
}  // namespace tabshapes

// The glyph page control's row of tabs: left, right or centred.
class TGlyphTabRow {
 public:
  // widths: each page's tab width; shown: whether its tab is listed. Hidden
  // tabs take no room, in drawing and hit testing alike.
  TGlyphTabRow(std::vector<Integer> widths, std::vector<bool> shown, Integer spacing, TAlignment alignment,
               Integer clientWidth, Integer topIndent, Integer tabHeight);
  Integer TabsWidth() const;
  Integer RowStart() const;
  TRect TabRect(int index) const;
  int TabAtPos(Integer x) const;

 private:
  std::vector<Integer> FWidths;
  std::vector<bool> FShown;
  Integer FSpacing;
  TAlignment FAlignment;
  Integer FClientWidth;
  Integer FTopIndent;
  Integer FTabHeight;
};

// The plain notebook's design bar along its bottom edge.
namespace designbar {
inline constexpr Integer kHeight = 25;
TRect BarRect(Integer clientWidth, Integer clientHeight);
TRect BackButton(Integer clientWidth, Integer clientHeight);
TRect ForwardButton(Integer clientWidth, Integer clientHeight);
// The design tabs from the page at `first` on (widths: every page's text
// width + 8), as many as fit before the forward button.
std::vector<TRect> TabRects(const std::vector<Integer>& widths, Integer first, Integer clientWidth,
                            Integer clientHeight);
// The page position of the design tab at the point, -1 for none.
int TabAtPos(const std::vector<Integer>& widths, Integer first, Integer clientWidth, Integer clientHeight, TPoint p);
Integer MaxScrollPos(const std::vector<Integer>& widths, Integer first, Integer clientWidth, Integer clientHeight);
}  // namespace designbar
