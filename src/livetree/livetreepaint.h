// What the tree's painter needs to draw: the colour table, the appearance
// settings, the paint record handed to cell painting and the drawing surface
// the control maps onto its canvas. The painting itself is portable (the
// tree walks its nodes and decides what goes where); only the surface draws.
#pragma once

#include <array>
#include <vector>

#include "livetree/livetreehost.h"
#include "livetree/livetreetypes.h"
#include "rtl/uitypes.h"

class TCanvas;

// The tree's colour table, indexed as the published colour properties.
enum TLTColorIndex : std::uint8_t {
  ciDisabledColor,
  ciDropMarkColor,
  ciDropTargetColor,
  ciFocusedSelectionColor,
  ciGridLineColor,
  ciTreeLineColor,
  ciUnfocusedSelectionColor,
  ciBorderColor,
  ciHotColor,
  ciFocusedSelectionBorderColor,
  ciUnfocusedSelectionBorderColor,
  ciDropTargetBorderColor,
  ciSelectionRectangleBlendColor,
  ciSelectionRectangleBorderColor,
  ciHeaderHotColor,
  ciSelectionTextColor,
  ciUnfocusedColor
};
constexpr int LTColorCount = 17;

using TLTColorTable = std::array<TColor, LTColorCount>;
constexpr TLTColorTable DefaultTreeColors{clBtnShadow,     clHighlight, clHighlight, clHighlight,  clBtnFace,
                                          clBtnShadow,     clBtnFace,   clBtnFace,   clWindowText, clHighlight,
                                          clBtnFace,       clHighlight, clHighlight, clHighlight,  clBtnShadow,
                                          clHighlightText, clBtnFace};

enum TLTButtonStyle : std::uint8_t { bsRectangle, bsTriangle };
enum TLTButtonFillMode : std::uint8_t { fmTreeColor, fmWindowColor, fmShaded, fmTransparent };
enum TLTLineMode : std::uint8_t { lmNormal, lmBands };
enum TLTDrawSelectionMode : std::uint8_t { smDottedRectangle, smBlendedRectangle };
enum TLTNodeAlignment : std::uint8_t { naFromBottom, naFromTop, naProportional };
enum TCheckImageKind : std::uint8_t {
  ckLightCheck,
  ckDarkCheck,
  ckLightTick,
  ckDarkTick,
  ckFlat,
  ckXP,
  ckCustom,
  ckSystemFlat,
  ckSystemDefault
};
enum TDropMode : std::uint8_t { dmNowhere, dmAbove, dmOnNode, dmBelow };

// What the painter draws besides the model's own state.
struct TLTPaintSettings {
  TLTColorTable Colors = DefaultTreeColors;
  TLTButtonStyle ButtonStyle = bsRectangle;
  TLTButtonFillMode ButtonFillMode = fmTreeColor;
  TLTLineMode LineMode = lmNormal;
  TLTDrawSelectionMode DrawSelectionMode = smDottedRectangle;
  TLTNodeAlignment NodeAlignment = naProportional;
  TCheckImageKind CheckImageKind = ckSystemDefault;
  // The width and height of an expand button.
  Integer ButtonSize = 9;
  TDropMode LastDropMode = dmNowhere;
};

enum TLTInternalPaintOption : std::uint8_t {
  poBackground,
  poColumnColor,
  poDrawFocusRect,
  poDrawSelection,
  poDrawDropMark,
  poGridLines,
  poMainOnly,
  poSelectedOnly,
  poUnbuffered
};
using TLTInternalPaintOptions = TLTSet<TLTInternalPaintOption, std::uint16_t>;

// The client paint's options.
constexpr TLTInternalPaintOptions ScreenPaintOptions{poBackground,    poColumnColor,  poDrawFocusRect,
                                                     poDrawSelection, poDrawDropMark, poGridLines};

enum TLTLineType : std::uint8_t {
  ltNone,
  ltBottomRight,
  ltTopDown,
  ltTopDownRight,
  ltRight,
  ltTopRight,
  ltLeft,
  ltLeftBottom
};
using TLineImage = std::vector<TLTLineType>;

// One image a cell shows.
struct TLTImageEntry {
  Integer Index = -1;
  Integer X = 0;
  Integer Y = 0;
  bool Ghosted = false;
  TLTImageListKind List = ilNormal;
};
enum TLTImageInfoIndex : std::uint8_t { iiNormal, iiState, iiCheck, iiOverlay };

// The paint record of one cell; rectangles are row-relative (the row's top
// is 0) and horizontal positions are tree coordinates.
struct TLTPaintInfo {
  // The canvas events receive (nil where the surface has none).
  TCanvas* Canvas = nullptr;
  TLTInternalPaintOptions PaintOptions;
  PLiveNode Node = nullptr;
  TColumnIndex Column = NoColumn;
  TColumnPosition Position = 0;
  TRect CellRect;
  TRect ContentRect;
  Integer NodeWidth = 0;
  TAlignment Alignment = taLeftJustify;
  TAlignment CaptionAlignment = taLeftJustify;
  TBiDiMode BidiMode = bdLeftToRight;
  TPoint BrushOrigin;
  std::array<TLTImageEntry, 4> ImageInfo;
};

// DrawText flags the painter uses, with the platform's values.
enum : Cardinal {
  ltdtLeft = 0x0,
  ltdtCenter = 0x1,
  ltdtRight = 0x2,
  ltdtVCenter = 0x4,
  ltdtWordBreak = 0x10,
  ltdtSingleLine = 0x20,
  ltdtNoPrefix = 0x800,
  ltdtEditControl = 0x2000,
  ltdtEndEllipsis = 0x8000,
  ltdtRtlReading = 0x20000
};

// Image drawing styles.
struct TLTImageStyle {
  bool Enabled = true;
  // Half blended with the tree colour (ghosted or selected images).
  bool Blend = false;
  // Overlay image index (-1: none).
  Integer Overlay = -1;
};

// An 8 x 8 line pattern, one byte a row; a set bit is a gap.
using TLTLinePattern = std::array<Byte, 8>;
constexpr TLTLinePattern DottedLinePattern{0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
constexpr TLTLinePattern SolidLinePattern{0, 0, 0, 0, 0, 0, 0, 0};

// The drawing surface of one paint. Coordinates are relative to the origin
// the painter sets; the surface adds it.
class ILiveTreeCanvas {
 public:
  virtual ~ILiveTreeCanvas() = default;

  // The canvas that events receive (nil where there is none).
  virtual TCanvas* EventCanvas() = 0;
  // Moves the coordinate origin to (X, Y) of the target.
  virtual void SetOrigin(Integer x, Integer y) = 0;
  // Drawing is limited to the rectangle until ClearClip; an empty rectangle
  // draws nothing.
  virtual void SetClip(const TRect& r) = 0;
  virtual void ClearClip() = 0;
  // The line pattern's (0, 0) lands on this point of the target.
  virtual void SetBrushOrigin(Integer x, Integer y) = 0;

  virtual void FillRect(const TRect& r, TColor color) = 0;
  virtual void FrameRect(const TRect& r, TColor color) = 0;
  virtual void RoundRect(const TRect& r, Integer radius, TColor fill, TColor frame) = 0;
  virtual void Polygon(const std::vector<TPoint>& points, TColor color) = 0;
  // Fills R with the pattern: its set bits in Background, the others in Foreground.
  virtual void PatternRect(const TRect& r, const TLTLinePattern& pattern, TColor foreground, TColor background) = 0;
  virtual void FocusRect(const TRect& r) = 0;
  // Mixes the colour into what R shows, Alpha of 255 parts.
  virtual void BlendRect(const TRect& r, TColor color, Byte alpha) = 0;
  virtual void Image(TLTImageListKind list, Integer index, Integer x, Integer y, const TLTImageStyle& style) = 0;
  // A check image (index into the 25-image check layout) of the tree's check image kind.
  virtual void CheckImage(TCheckImageKind kind, Integer index, Integer x, Integer y, TColor selectionColor) = 0;
  // The font texts are drawn in; the font the surface keeps after a handler changed it.
  virtual void SetFont(const TLiveTreeFont& font) = 0;
  virtual TLiveTreeFont Font() = 0;
  // Text in the current font and colour (transparent unless Opaque).
  virtual void Text(const String& text, const TRect& r, Cardinal format, bool opaque = false,
                    TColor background = clNone) = 0;
};

// A surface that draws nothing (measuring and benchmarks).
class TNullLiveTreeCanvas : public ILiveTreeCanvas {
 public:
  TCanvas* EventCanvas() override { return nullptr; }
  void SetOrigin(Integer, Integer) override {}
  void SetClip(const TRect&) override {}
  void ClearClip() override {}
  void SetBrushOrigin(Integer, Integer) override {}
  void FillRect(const TRect&, TColor) override {}
  void FrameRect(const TRect&, TColor) override {}
  void RoundRect(const TRect&, Integer, TColor, TColor) override {}
  void Polygon(const std::vector<TPoint>&, TColor) override {}
  void PatternRect(const TRect&, const TLTLinePattern&, TColor, TColor) override {}
  void FocusRect(const TRect&) override {}
  void BlendRect(const TRect&, TColor, Byte) override {}
  void Image(TLTImageListKind, Integer, Integer, Integer, const TLTImageStyle&) override {}
  void CheckImage(TCheckImageKind, Integer, Integer, Integer, TColor) override {}
  void SetFont(const TLiveTreeFont& font) override { FFont = font; }
  TLiveTreeFont Font() override { return FFont; }
  void Text(const String&, const TRect&, Cardinal, bool, TColor) override {}

 private:
  TLiveTreeFont FFont;
};

// Rounds halves to the even neighbour.
Integer RoundHalfEven(double value);
// Index into the check image layout (-1: none).
Integer CheckImageIndexFor(TCheckType type, TCheckState state, bool enabled, bool hot);
