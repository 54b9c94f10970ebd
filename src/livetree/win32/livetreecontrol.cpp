#include "livetree/win32/livetreecontrol.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "classes/reflection.h"
#include "rtl/sets.h"
#include "ui/buttons.h"
#include "ui/graphics.h"
#include "ui/menus.h"
#include "ui/publish.h"

// ---------------------------------------------------------------------------
// Types

const TTypeInfo& DescribeType(TypeTag<TLTPaintOption>) {
  static const TEnumTypeInfo t(u"TLTPaintOption", u"LiveTree",
                               {u"toHideFocusRect",
                                u"toHideSelection",
                                u"toHotTrack",
                                u"toPopupMode",
                                u"toShowBackground",
                                u"toShowButtons",
                                u"toShowDropmark",
                                u"toShowHorzGridLines",
                                u"toShowRoot",
                                u"toShowTreeLines",
                                u"toShowVertGridLines",
                                u"toThemeAware",
                                u"toUseBlendedImages",
                                u"toGhostedIfUnfocused",
                                u"toFullVertGridLines",
                                u"toAlwaysHideSelection",
                                u"toUseBlendedSelection",
                                u"toStaticBackground",
                                u"toChildrenAbove",
                                u"toFixedIndent",
                                u"toUseExplorerTheme",
                                u"toHideTreeLinesIfThemed",
                                u"toShowFilteredNodes"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSet<TLTPaintOption>>) {
  static const TSetTypeInfo t(u"TLTPaintOptions", u"LiveTree",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TLTPaintOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTAnimationOption>) {
  static const TEnumTypeInfo t(u"TLTAnimationOption", u"LiveTree", {u"toAnimatedToggle", u"toAdvancedAnimatedToggle"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSet<TLTAnimationOption>>) {
  static const TSetTypeInfo t(u"TLTAnimationOptions", u"LiveTree",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TLTAnimationOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTAutoOption>) {
  static const TEnumTypeInfo t(u"TLTAutoOption", u"LiveTree",
                               {u"toAutoDropExpand", u"toAutoExpand", u"toAutoScroll", u"toAutoScrollOnExpand",
                                u"toAutoSort", u"toAutoSpanColumns", u"toAutoTristateTracking", u"toAutoHideButtons",
                                u"toAutoDeleteMovedNodes", u"toDisableAutoscrollOnFocus", u"toAutoChangeScale",
                                u"toAutoFreeOnCollapse", u"toDisableAutoscrollOnEdit", u"toAutoBidiColumnOrdering"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSet<TLTAutoOption>>) {
  static const TSetTypeInfo t(u"TLTAutoOptions", u"LiveTree",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TLTAutoOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTSelectionOption>) {
  static const TEnumTypeInfo t(
      u"TLTSelectionOption", u"LiveTree",
      {u"toDisableDrawSelection", u"toExtendedFocus", u"toFullRowSelect", u"toLevelSelectConstraint",
       u"toMiddleClickSelect", u"toMultiSelect", u"toRightClickSelect", u"toSiblingSelectConstraint",
       u"toCenterScrollIntoView", u"toSimpleDrawSelection", u"toAlwaysSelectNode", u"toRestoreSelection"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSet<TLTSelectionOption>>) {
  static const TSetTypeInfo t(u"TLTSelectionOptions", u"LiveTree",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TLTSelectionOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTMiscOption>) {
  static const TEnumTypeInfo t(
      u"TLTMiscOption", u"LiveTree",
      {u"toAcceptOLEDrop", u"toCheckSupport", u"toEditable", u"toFullRepaintOnResize", u"toGridExtensions",
       u"toInitOnSave", u"toReportMode", u"toToggleOnDblClick", u"toWheelPanning", u"toReadOnly",
       u"toVariableNodeHeight", u"toFullRowDrag", u"toNodeHeightResize", u"toNodeHeightDblClickResize",
       u"toEditOnClick", u"toEditOnDblClick", u"toReverseFullExpandHotKey"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSet<TLTMiscOption>>) {
  static const TSetTypeInfo t(u"TLTMiscOptions", u"LiveTree",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TLTMiscOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTStringOption>) {
  static const TEnumTypeInfo t(u"TLTStringOption", u"LiveTree",
                               {u"toSaveCaptions", u"toShowStaticText", u"toAutoAcceptEditChange"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSet<TLTStringOption>>) {
  static const TSetTypeInfo t(u"TLTStringOptions", u"LiveTree",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TLTStringOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTColumnOption>) {
  static const TEnumTypeInfo t(
      u"TLTColumnOption", u"LiveTree",
      {u"coAllowClick", u"coDraggable", u"coEnabled", u"coParentBidiMode", u"coParentColor", u"coResizable",
       u"coShowDropMark", u"coVisible", u"coAutoSpring", u"coFixed", u"coSmartResize", u"coAllowFocus",
       u"coDisableAnimatedResize", u"coWrapCaption", u"coUseCaptionAlignment", u"coEditable"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSet<TLTColumnOption>>) {
  static const TSetTypeInfo t(u"TLTColumnOptions", u"LiveTree",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TLTColumnOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTHeaderOption>) {
  static const TEnumTypeInfo t(u"TLTHeaderOption", u"LiveTree",
                               {u"hoAutoResize", u"hoColumnResize", u"hoDblClickResize", u"hoDrag", u"hoHotTrack",
                                u"hoOwnerDraw", u"hoRestrictDrag", u"hoShowHint", u"hoShowImages", u"hoShowSortGlyphs",
                                u"hoVisible", u"hoAutoSpring", u"hoFullRepaintOnResize", u"hoDisableAnimatedResize",
                                u"hoHeightResize", u"hoHeightDblClickResize", u"hoHeaderClickAutoSort"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSet<TLTHeaderOption>>) {
  static const TSetTypeInfo t(u"TLTHeaderOptions", u"LiveTree",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TLTHeaderOption>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTHeaderStyle>) {
  static const TEnumTypeInfo t(u"TLTHeaderStyle", u"LiveTree", {u"hsThickButtons", u"hsFlatButtons", u"hsPlates"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLiveTreeColumnStyle>) {
  static const TEnumTypeInfo t(u"TLiveTreeColumnStyle", u"LiveTree", {u"vsText", u"vsOwnerDraw"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTLineStyle>) {
  static const TEnumTypeInfo t(u"TLTLineStyle", u"LiveTree", {u"lsCustomStyle", u"lsDotted", u"lsSolid"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTLineMode>) {
  static const TEnumTypeInfo t(u"TLTLineMode", u"LiveTree", {u"lmNormal", u"lmBands"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTButtonStyle>) {
  static const TEnumTypeInfo t(u"TLTButtonStyle", u"LiveTree", {u"bsRectangle", u"bsTriangle"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTButtonFillMode>) {
  static const TEnumTypeInfo t(u"TLTButtonFillMode", u"LiveTree",
                               {u"fmTreeColor", u"fmWindowColor", u"fmShaded", u"fmTransparent"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCheckImageKind>) {
  static const TEnumTypeInfo t(u"TCheckImageKind", u"LiveTree",
                               {u"ckLightCheck", u"ckDarkCheck", u"ckLightTick", u"ckDarkTick", u"ckFlat", u"ckXP",
                                u"ckCustom", u"ckSystemFlat", u"ckSystemDefault"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTDrawSelectionMode>) {
  static const TEnumTypeInfo t(u"TLTDrawSelectionMode", u"LiveTree", {u"smDottedRectangle", u"smBlendedRectangle"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTNodeAlignment>) {
  static const TEnumTypeInfo t(u"TLTNodeAlignment", u"LiveTree", {u"naFromBottom", u"naFromTop", u"naProportional"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTIncrementalSearch>) {
  static const TEnumTypeInfo t(u"TLTIncrementalSearch", u"LiveTree",
                               {u"isAll", u"isNone", u"isInitializedOnly", u"isVisibleOnly"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<THintAnimationType>) {
  static const TEnumTypeInfo t(u"THintAnimationType", u"LiveTree", {u"hatNone", u"hatFade", u"hatSlide", u"hatSystemDefault"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TLTHintMode>) {
  static const TEnumTypeInfo t(u"TLTHintMode", u"LiveTree",
                               {u"hmDefault", u"hmHint", u"hmHintAndDefault", u"hmTooltip"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSortDirection>) {
  static const TEnumTypeInfo t(u"TSortDirection", u"LiveTree", {u"sdAscending", u"sdDescending"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCheckType>) {
  static const TEnumTypeInfo t(u"TCheckType", u"LiveTree",
                               {u"ctNone", u"ctTriStateCheckBox", u"ctCheckBox", u"ctRadioButton", u"ctButton"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TCheckState>) {
  static const TEnumTypeInfo t(u"TCheckState", u"LiveTree",
                               {u"csUncheckedNormal", u"csUncheckedPressed", u"csCheckedNormal", u"csCheckedPressed",
                                u"csMixedNormal", u"csMixedPressed"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTExportMode>) {
  static const TEnumTypeInfo t(u"TLTExportMode", u"LiveTree",
                               {u"emAll", u"emChecked", u"emUnchecked", u"emVisibleDueToExpansion", u"emSelected"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTSearchDirection>) {
  static const TEnumTypeInfo t(u"TLTSearchDirection", u"LiveTree", {u"sdForward", u"sdBackward"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTSearchStart>) {
  static const TEnumTypeInfo t(u"TLTSearchStart", u"LiveTree", {u"ssAlwaysStartOver", u"ssLastHit", u"ssFocusedNode"});
  return t;
}

const TTypeInfo& DescribeType(TypeTag<TLTNodeAttachMode>) {
  static const TEnumTypeInfo t(u"TLTNodeAttachMode", u"LiveTree",
                               {u"amNoWhere", u"amInsertBefore", u"amInsertAfter", u"amAddChildFirst", u"amAddChildLast"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDragOperation>) {
  static const TEnumTypeInfo t(u"TDragOperation", u"LiveTree", {u"doCopy", u"doMove", u"doLink"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSet<TDragOperation>>) {
  static const TSetTypeInfo t(u"TDragOperations", u"LiveTree",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TDragOperation>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTDragImageKind>) {
  static const TEnumTypeInfo t(u"TLTDragImageKind", u"LiveTree", {u"diComplete", u"diMainColumnOnly", u"diNoImage"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTDragType>) {
  static const TEnumTypeInfo t(u"TLTDragType", u"LiveTree", {u"dtOLE", u"dtVCL"});
  return t;
}

namespace ltcontrol {

KST_CLASS_IMPL(TLTColors, "LiveTree")
KST_CLASS_IMPL(TLiveTreeOptions, "LiveTree")
KST_CLASS_IMPL(TStringTreeOptions, "LiveTree")
KST_CLASS_IMPL(TLiveTreeColumn, "LiveTree")
KST_CLASS_IMPL(TLiveTreeColumns, "LiveTree")
KST_CLASS_IMPL(TLTHeader, "LiveTree")
KST_CLASS_IMPL(TScrollBarOptions, "LiveTree")
KST_CLASS_IMPL(TClipboardFormats, "LiveTree")
KST_CLASS_IMPL(TLTEdit, "LiveTree")
KST_CLASS_IMPL(TLiveTreeHintWindow, "LiveTree")
KST_CLASS_IMPL(TBaseLiveTree, "LiveTree")
KST_CLASS_IMPL(TLiveStringTree, "LiveTree")
KST_CLASS_IMPL(TLiveDrawTree, "LiveTree")

namespace {

TMethodParam SenderParam() {
  return Param(u"Sender", u"TBaseLiveTree");
}

}  // namespace

const TTypeInfo& DescribeType(TypeTag<TLSTGetTextEvent>) {
  static const TMethodTypeInfo t(u"TLSTGetTextEvent", u"LiveTree", mkProcedure,
                                 {SenderParam(), Param(u"Node", u"PLiveNode"), Param(u"Column", u"TColumnIndex"),
                                  Param(u"TextType", u"TLSTTextType"), Param(u"CellText", u"string", kVarParam)});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTPaintText>) {
  static const TMethodTypeInfo t(u"TLTPaintText", u"LiveTree", mkProcedure,
                                 {SenderParam(), Param(u"TargetCanvas", u"TCanvas"), Param(u"Node", u"PLiveNode"),
                                  Param(u"Column", u"TColumnIndex"), Param(u"TextType", u"TLSTTextType")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTGetImageEvent>) {
  static const TMethodTypeInfo t(
      u"TLTGetImageEvent", u"LiveTree", mkProcedure,
      {SenderParam(), Param(u"Node", u"PLiveNode"), Param(u"Kind", u"TLTImageKind"), Param(u"Column", u"TColumnIndex"),
       Param(u"Ghosted", u"Boolean", kVarParam), Param(u"ImageIndex", u"Integer", kVarParam)});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTCompareEvent>) {
  static const TMethodTypeInfo t(u"TLTCompareEvent", u"LiveTree", mkProcedure,
                                 {SenderParam(), Param(u"Node1", u"PLiveNode"), Param(u"Node2", u"PLiveNode"),
                                  Param(u"Column", u"TColumnIndex"), Param(u"Result", u"Integer", kVarParam)});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTIncrementalSearchEvent>) {
  static const TMethodTypeInfo t(u"TLTIncrementalSearchEvent", u"LiveTree", mkProcedure,
                                 {SenderParam(), Param(u"Node", u"PLiveNode"), Param(u"SearchText", u"string"),
                                  Param(u"Result", u"Integer", kVarParam)});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTFocusChangeEvent>) {
  static const TMethodTypeInfo t(u"TLTFocusChangeEvent", u"LiveTree", mkProcedure,
                                 {SenderParam(), Param(u"Node", u"PLiveNode"), Param(u"Column", u"TColumnIndex")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTChangeEvent>) {
  static const TMethodTypeInfo t(u"TLTChangeEvent", u"LiveTree", mkProcedure,
                                 {SenderParam(), Param(u"Node", u"PLiveNode")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TLTInitNodeEvent>) {
  static const TMethodTypeInfo t(u"TLTInitNodeEvent", u"LiveTree", mkProcedure,
                                 {SenderParam(), Param(u"ParentNode", u"PLiveNode"), Param(u"Node", u"PLiveNode"),
                                  Param(u"InitialStates", u"TLiveNodeInitStates", kVarParam)});
  return t;
}

namespace {

constexpr UINT WM_LIVETREE_HANDOVER = WM_APP + 0x4C54;

// A model set as the reflection's set of the same members.
template <class E, class S>
TSet<E> ToSet(S value) {
  return TSet<E>::FromBits(value.ToBits());
}
template <class S, class E>
S FromSet(TSet<E> value) {
  return S::FromBits(static_cast<typename S::Storage>(value.Bits()));
}

COLORREF RGBOf(TColor color) {
  return static_cast<COLORREF>(ColorToRGB(color));
}

// A pen and a brush of plain colours selected into a context while it lives.
class TSolidTools {
 public:
  TSolidTools(HDC dc, TColor pen, TColor brush)
      : FDC(dc),
        FOldPen(SelectObject(dc, GetStockObject(DC_PEN))),
        FOldBrush(SelectObject(dc, GetStockObject(DC_BRUSH))) {
    SetDCPenColor(dc, RGBOf(pen));
    SetDCBrushColor(dc, RGBOf(brush));
  }
  ~TSolidTools() {
    SelectObject(FDC, FOldPen);
    SelectObject(FDC, FOldBrush);
  }
  TSolidTools(const TSolidTools&) = delete;
  TSolidTools& operator=(const TSolidTools&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FOldPen;
  HGDIOBJ FOldBrush;
};

// Draws on a bitmap canvas; coordinates are moved by the origin the painter sets.
class TCanvasSurface : public ILiveTreeCanvas {
 public:
  TCanvasSurface(TCanvas& canvas, TBaseLiveTree& control, TPoint deviceShift)
      : FCanvas(canvas), FControl(control), FShift(deviceShift) {}
  ~TCanvasSurface() override {
    for (auto& [pattern, brush] : FBrushes) DeleteObject(brush);
  }
  TCanvasSurface(const TCanvasSurface&) = delete;
  TCanvasSurface& operator=(const TCanvasSurface&) = delete;

  TCanvas* EventCanvas() override { return &FCanvas; }
  void SetOrigin(Integer x, Integer y) override { FOrigin = Point(x + FShift.X, y + FShift.Y); }
  void SetClip(const TRect& r) override {
    HDC dc = DC();
    SelectClipRgn(dc, nullptr);
    TRect m = Move(r);
    IntersectClipRect(dc, m.Left, m.Top, m.Right, m.Bottom);
  }
  void ClearClip() override { SelectClipRgn(DC(), nullptr); }
  void SetBrushOrigin(Integer x, Integer y) override { FBrushOrigin = Point(x + FShift.X, y + FShift.Y); }
  void FillRect(const TRect& r, TColor color) override {
    if (color == clNone) return;
    HDC dc = DC();
    SetDCBrushColor(dc, RGBOf(color));
    RECT rc = ToRECT(Move(r));
    ::FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
  void FrameRect(const TRect& r, TColor color) override {
    HDC dc = DC();
    SetDCBrushColor(dc, RGBOf(color));
    RECT rc = ToRECT(Move(r));
    ::FrameRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
  void RoundRect(const TRect& r, Integer radius, TColor fill, TColor frame) override {
    if (radius <= 0) {
      FillRect(r, fill);
      if (frame != clNone) FrameRect(r, frame);
      return;
    }
    TSolidTools tools(DC(), frame, fill);
    TRect m = Move(r);
    ::RoundRect(DC(), m.Left, m.Top, m.Right, m.Bottom, radius, radius);
  }
  void Polygon(const std::vector<TPoint>& points, TColor color) override {
    std::vector<POINT> moved;
    for (TPoint p : points) moved.push_back({p.X + FOrigin.X, p.Y + FOrigin.Y});
    TSolidTools tools(DC(), color, color);
    ::Polygon(DC(), moved.data(), static_cast<int>(moved.size()));
  }
  void PatternRect(const TRect& r, const TLTLinePattern& pattern, TColor foreground, TColor background) override {
    HDC dc = DC();
    HBRUSH brush = PatternBrush(pattern);
    SetBrushOrgEx(dc, FBrushOrigin.X & 7, FBrushOrigin.Y & 7, nullptr);
    COLORREF oldText = SetTextColor(dc, RGBOf(foreground));
    COLORREF oldBack = SetBkColor(dc, RGBOf(background));
    RECT rc = ToRECT(Move(r));
    ::FillRect(dc, &rc, brush);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
  }
  void FocusRect(const TRect& r) override {
    HDC dc = DC();
    COLORREF oldText = SetTextColor(dc, RGB(255, 255, 255));
    COLORREF oldBack = SetBkColor(dc, RGB(0, 0, 0));
    RECT rc = ToRECT(Move(r));
    DrawFocusRect(dc, &rc);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
  }
  void BlendRect(const TRect& r, TColor color, Byte alpha) override {
    TRect m = Move(r);
    if (m.IsEmpty()) return;
    // One pixel of the colour, stretched over the rectangle at the opacity.
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 1, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP pixel = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (pixel == nullptr) return;
    COLORREF c = RGBOf(color);
    *static_cast<DWORD*>(bits) = (DWORD{GetRValue(c)} << 16) | (DWORD{GetGValue(c)} << 8) | GetBValue(c);
    HDC source = CreateCompatibleDC(DC());
    HGDIOBJ old = SelectObject(source, pixel);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
    AlphaBlend(DC(), m.Left, m.Top, m.Width(), m.Height(), source, 0, 0, 1, 1, blend);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(pixel);
  }
  void Image(TLTImageListKind list, Integer index, Integer x, Integer y, const TLTImageStyle& style) override {
    TCustomImageList* images = list == ilState ? FControl.StateImages() : FControl.Images();
    if (images == nullptr) return;
    UINT flags = ILD_TRANSPARENT;
    if (style.Blend) flags |= ILD_BLEND50;
    if (style.Overlay >= 0 && style.Overlay < 15) flags |= INDEXTOOVERLAYMASK(style.Overlay + 1);
    if (style.Enabled) {
      ImageList_DrawEx(images->Handle(), index, DC(), x + FOrigin.X, y + FOrigin.Y, 0, 0, CLR_NONE, CLR_DEFAULT, flags);
    } else {
      images->Draw(FCanvas, x + FOrigin.X, y + FOrigin.Y, index, false);
    }
  }
  void CheckImage(TCheckImageKind kind, Integer index, Integer x, Integer y, TColor) override {
    if (kind == ckCustom && FControl.CustomCheckImages() != nullptr) {
      FControl.CustomCheckImages()->Draw(FCanvas, x + FOrigin.X, y + FOrigin.Y, index);
      return;
    }
    if (index <= 0) return;
    // The system's own buttons, in the order of the check image layout.
    Integer n = index - 1;
    UINT state = DFCS_BUTTONCHECK;
    if (n < 8)
      state = DFCS_BUTTONRADIO;
    else if (n >= 16 && n < 20)
      state = DFCS_BUTTON3STATE;
    else if (n >= 20)
      state = DFCS_BUTTONPUSH;
    switch (n % 4) {
      case 1: state |= DFCS_HOT; break;
      case 2: state |= DFCS_PUSHED; break;
      case 3: state |= DFCS_INACTIVE; break;
    }
    if ((n >= 4 && n < 8) || (n >= 12 && n < 20)) state |= DFCS_CHECKED;
    if (kind == ckSystemFlat || kind == ckFlat) state |= DFCS_FLAT;
    TSize size = FControl.ImageListSize(ilCheck);
    RECT rc{x + FOrigin.X + 1, y + FOrigin.Y + 2, x + FOrigin.X + size.cx - 2, y + FOrigin.Y + size.cy - 1};
    DrawFrameControl(DC(), &rc, DFC_BUTTON, state);
  }
  void SetFont(const TLiveTreeFont& font) override { FControl.SetCanvasFont(&FCanvas, font); }
  TLiveTreeFont Font() override { return FControl.CanvasFont(&FCanvas); }
  void Text(const String& text, const TRect& r, Cardinal format, bool opaque, TColor background) override {
    TRect m = Move(r);
    if (opaque) {
      FCanvas.Brush().SetColor(background);
    } else {
      FCanvas.Brush().SetStyle(bsClear);
    }
    FCanvas.DrawText(text, m, format);
    FCanvas.Brush().SetStyle(bsSolid);
  }

 private:
  HDC DC() { return FCanvas.Handle(); }
  TRect Move(const TRect& r) const {
    return Rect(r.Left + FOrigin.X, r.Top + FOrigin.Y, r.Right + FOrigin.X, r.Bottom + FOrigin.Y);
  }
  HBRUSH PatternBrush(const TLTLinePattern& pattern) {
    for (auto& [known, brush] : FBrushes)
      if (known == pattern) return brush;
    // Monochrome rows are word aligned.
    std::array<WORD, 8> rows{};
    for (size_t i = 0; i < 8; ++i) rows[i] = pattern[i];
    HBITMAP bits = CreateBitmap(8, 8, 1, 1, rows.data());
    HBRUSH brush = CreatePatternBrush(bits);
    DeleteObject(bits);
    FBrushes.emplace_back(pattern, brush);
    return brush;
  }

  TCanvas& FCanvas;
  TBaseLiveTree& FControl;
  TPoint FShift;
  TPoint FOrigin;
  TPoint FBrushOrigin;
  std::vector<std::pair<TLTLinePattern, HBRUSH>> FBrushes;
};

// The header's font as the model describes fonts.
TLiveTreeFont DescribeFont(const TFont& font) {
  TLiveTreeFont result;
  result.Name = font.Name();
  result.Height = font.Height();
  result.Color = font.Color();
  result.Style = font.Style();
  result.Pitch = font.Pitch();
  return result;
}

void AssignFont(TFont& target, const TLiveTreeFont& font) {
  target.SetName(font.Name);
  target.SetHeight(font.Height);
  target.SetColor(font.Color);
  target.SetStyle(font.Style);
  target.SetPitch(font.Pitch);
}

}  // namespace

// ---------------------------------------------------------------------------
// Colours

TColor TLTColors::Color(TLTColorIndex index) const {
  return FOwner != nullptr ? FOwner->Model().PaintSettings().Colors[index] : FDetached[index];
}

void TLTColors::SetColor(TLTColorIndex index, TColor value) {
  if (FOwner == nullptr) {
    FDetached[index] = value;
    return;
  }
  TColor& slot = FOwner->Model().PaintSettings().Colors[index];
  if (slot == value) return;
  slot = value;
  if (FOwner->ComponentState().Contains(csLoading) || !FOwner->HandleAllocated()) return;
  if (index == ciBorderColor)
    FOwner->RepaintFrame();
  else
    FOwner->Invalidate();
}

void TLTColors::Assign(const TPersistent* source) {
  if (auto* colors = dynamic_cast<const TLTColors*>(source)) {
    for (int i = 0; i < LTColorCount; ++i)
      SetColor(static_cast<TLTColorIndex>(i), colors->Color(static_cast<TLTColorIndex>(i)));
    return;
  }
  TPersistent::Assign(source);
}

TPersistent* TLTColors::GetOwner() const {
  return FOwner;
}

void TLTColors::Describe(TClassBuilder<TLTColors>& c) {
  static const char16_t* const names[LTColorCount] = {u"DisabledColor",
                                                      u"DropMarkColor",
                                                      u"DropTargetColor",
                                                      u"FocusedSelectionColor",
                                                      u"GridLineColor",
                                                      u"TreeLineColor",
                                                      u"UnfocusedSelectionColor",
                                                      u"BorderColor",
                                                      u"HotColor",
                                                      u"FocusedSelectionBorderColor",
                                                      u"UnfocusedSelectionBorderColor",
                                                      u"DropTargetBorderColor",
                                                      u"SelectionRectangleBlendColor",
                                                      u"SelectionRectangleBorderColor",
                                                      u"HeaderHotColor",
                                                      u"SelectionTextColor",
                                                      u"UnfocusedColor"};
  for (int i = 0; i < LTColorCount; ++i) {
    auto index = static_cast<TLTColorIndex>(i);
    c.Property(
         names[i], [index](const TLTColors& o) { return o.Color(index); },
         [index](TLTColors& o, TColor v) { o.SetColor(index, v); }, &types::Color())
        .Default(DefaultTreeColors[i]);
  }
}

// ---------------------------------------------------------------------------
// Options

TCustomLiveTreeOptions& TLiveTreeOptions::Model() const {
  return FOwner->Model().TreeOptions();
}

TPersistent* TLiveTreeOptions::GetOwner() const {
  return FOwner;
}

void TLiveTreeOptions::Describe(TClassBuilder<TLiveTreeOptions>& c) {
  c.Property(
       u"AnimationOptions",
       [](const TLiveTreeOptions& o) { return ToSet<TLTAnimationOption>(o.Model().AnimationOptions()); },
       [](TLiveTreeOptions& o, TSet<TLTAnimationOption> v) {
         o.Model().SetAnimationOptions(FromSet<TLTAnimationOptions>(v));
       })
      .Default(0);
  c.Property(
       u"AutoOptions", [](const TLiveTreeOptions& o) { return ToSet<TLTAutoOption>(o.Model().AutoOptions()); },
       [](TLiveTreeOptions& o, TSet<TLTAutoOption> v) { o.Model().SetAutoOptions(FromSet<TLTAutoOptions>(v)); })
      .Default(1369);
  c.Property(
       u"ExportMode", [](const TLiveTreeOptions& o) { return o.Model().ExportMode(); },
       [](TLiveTreeOptions& o, TLTExportMode v) { o.Model().SetExportMode(v); })
      .Default(emAll);
  c.Property(
       u"MiscOptions", [](const TLiveTreeOptions& o) { return ToSet<TLTMiscOption>(o.Model().MiscOptions()); },
       [](TLiveTreeOptions& o, TSet<TLTMiscOption> v) { o.Model().SetMiscOptions(FromSet<TLTMiscOptions>(v)); })
      .Default(16809);
  c.Property(
       u"PaintOptions", [](const TLiveTreeOptions& o) { return ToSet<TLTPaintOption>(o.Model().PaintOptions()); },
       [](TLiveTreeOptions& o, TSet<TLTPaintOption> v) { o.Model().SetPaintOptions(FromSet<TLTPaintOptions>(v)); })
      .Default(7008);
  c.Property(
       u"SelectionOptions",
       [](const TLiveTreeOptions& o) { return ToSet<TLTSelectionOption>(o.Model().SelectionOptions()); },
       [](TLiveTreeOptions& o, TSet<TLTSelectionOption> v) {
         o.Model().SetSelectionOptions(FromSet<TLTSelectionOptions>(v));
       })
      .Default(0);
}

void TStringTreeOptions::Describe(TClassBuilder<TStringTreeOptions>& c) {
  c.Property(
       u"StringOptions",
       [](const TStringTreeOptions& o) {
         return ToSet<TLTStringOption>(static_cast<TCustomStringTreeOptions&>(o.Model()).StringOptions());
       },
       [](TStringTreeOptions& o, TSet<TLTStringOption> v) {
         static_cast<TCustomStringTreeOptions&>(o.Model()).SetStringOptions(FromSet<TLTStringOptions>(v));
       })
      .Default(5);
}

// ---------------------------------------------------------------------------
// Columns

TLiveTreeColumn::TLiveTreeColumn(TCollection* collection) : TCollectionItem(collection) {
  auto* columns = dynamic_cast<TLiveTreeColumns*>(collection);
  if (columns != nullptr && !columns->FAdopting && columns->Model() != nullptr) columns->Model()->Add();
}

::TLiveTreeColumn& TLiveTreeColumn::Model() const {
  auto* columns = static_cast<TLiveTreeColumns*>(Collection());
  ::TLiveTreeColumn* column =
      columns != nullptr && columns->Model() != nullptr ? columns->Model()->Items(Index()) : nullptr;
  if (column == nullptr) throw EInvalidOperation(u"The column has no tree");
  return *column;
}

void TLiveTreeColumn::DefineProperties(TFiler& filer) {
  TCollectionItem::DefineProperties(filer);
  filer.DefineProperty(
      u"WideText", [this](TReader& reader) { Model().SetText(reader.ReadWideString()); },
      [this](TWriter& writer) { writer.WriteWideString(Model().Text()); }, !Model().Text().empty());
  filer.DefineProperty(
      u"WideHint", [this](TReader& reader) { Model().SetHint(reader.ReadWideString()); },
      [this](TWriter& writer) { writer.WriteWideString(Model().Hint()); }, !Model().Hint().empty());
}

void TLiveTreeColumn::Describe(TClassBuilder<TLiveTreeColumn>& c) {
  using C = TLiveTreeColumn;
  c.Property(
       u"Alignment", [](const C& o) { return o.Model().Alignment(); },
       [](C& o, TAlignment v) { o.Model().SetAlignment(v); })
      .Default(taLeftJustify);
  c.Property(
       u"CaptionAlignment", [](const C& o) { return o.Model().CaptionAlignment(); },
       [](C& o, TAlignment v) { o.Model().SetCaptionAlignment(v); })
      .StoredWhen([](const C& o) { return o.Model().Options().Contains(coUseCaptionAlignment); });
  c.Property(
       u"CheckType", [](const C& o) { return o.Model().CheckType(); },
       [](C& o, TCheckType v) { o.Model().SetCheckType(v); })
      .Default(ctCheckBox);
  c.Property(
       u"CheckState", [](const C& o) { return o.Model().CheckState(); },
       [](C& o, TCheckState v) { o.Model().SetCheckState(v); })
      .Default(csUncheckedNormal);
  c.Property(
       u"CheckBox", [](const C& o) { return o.Model().CheckBox(); }, [](C& o, bool v) { o.Model().SetCheckBox(v); })
      .Default(0);
  c.Property(
       u"Color", [](const C& o) { return o.Model().Color(); }, [](C& o, TColor v) { o.Model().SetColor(v); },
       &types::Color())
      .StoredWhen([](const C& o) { return !o.Model().Options().Contains(coParentColor); });
  c.Property(
       u"DefaultSortDirection", [](const C& o) { return o.Model().DefaultSortDirection(); },
       [](C& o, TSortDirection v) { o.Model().SetDefaultSortDirection(v); })
      .Default(sdAscending);
  c.Property(
       u"ImageIndex", [](const C& o) { return static_cast<Integer>(o.Model().ImageIndex()); },
       [](C& o, Integer v) { o.Model().SetImageIndex(v); })
      .Default(-1);
  c.Property(
       u"Layout", [](const C& o) { return o.Model().Layout(); }, [](C& o, TButtonLayout v) { o.Model().SetLayout(v); })
      .Default(blGlyphLeft);
  c.Property(
       u"Margin", [](const C& o) { return o.Model().Margin(); }, [](C& o, Integer v) { o.Model().SetMargin(v); })
      .Default(4);
  c.Property(
       u"MaxWidth", [](const C& o) { return o.Model().MaxWidth(); }, [](C& o, Integer v) { o.Model().SetMaxWidth(v); })
      .Default(10000);
  c.Property(
       u"MinWidth", [](const C& o) { return o.Model().MinWidth(); }, [](C& o, Integer v) { o.Model().SetMinWidth(v); })
      .Default(10);
  c.Property(
       u"Options", [](const C& o) { return ToSet<TLTColumnOption>(o.Model().Options()); },
       [](C& o, TSet<TLTColumnOption> v) { o.Model().SetOptions(FromSet<TLTColumnOptions>(v)); })
      .Default(35071);
  c.Property(
      u"Position", [](const C& o) { return static_cast<Integer>(o.Model().Position()); },
      [](C& o, Integer v) { o.Model().SetPosition(static_cast<TColumnPosition>(v)); });
  c.Property(
       u"Spacing", [](const C& o) { return o.Model().Spacing(); }, [](C& o, Integer v) { o.Model().SetSpacing(v); })
      .Default(3);
  c.Property(
       u"Style", [](const C& o) { return o.Model().Style(); },
       [](C& o, TLiveTreeColumnStyle v) { o.Model().SetStyle(v); })
      .Default(vsText);
  // Forms of older writers name the caption and the hint directly; they are
  // written as WideText and WideHint.
  c.Property(
       u"Text", [](const C& o) { return o.Model().Text(); }, [](C& o, const String& v) { o.Model().SetText(v); })
      .Stored(false);
  c.Property(
       u"Hint", [](const C& o) { return o.Model().Hint(); }, [](C& o, const String& v) { o.Model().SetHint(v); })
      .Stored(false);
  c.Property(
       u"Tag", [](const C& o) { return static_cast<Integer>(o.Model().Tag()); },
       [](C& o, Integer v) { o.Model().SetTag(v); })
      .Default(0);
  c.Property(
       u"Width", [](const C& o) { return o.Model().Width(); }, [](C& o, Integer v) { o.Model().SetWidth(v); })
      .Default(50);
}

TLiveTreeColumns::TLiveTreeColumns(TBaseLiveTree* owner) : TCollection(TLiveTreeColumn::StaticClass()), FOwner(owner) {}

::TLiveTreeColumns* TLiveTreeColumns::Model() const {
  return FOwner != nullptr ? &FOwner->Model().Header().Columns() : nullptr;
}

TPersistent* TLiveTreeColumns::GetOwner() const {
  return FOwner != nullptr ? FOwner->GetHeader() : nullptr;
}

void TLiveTreeColumns::Notify(TCollectionItem* item, bool added) {
  if (added || Model() == nullptr) return;
  // The item still knows its index while it leaves.
  Integer index = item->Index();
  if (index >= 0 && index < Model()->Count()) Model()->Delete(index);
}

void TLiveTreeColumns::Describe(TClassBuilder<TLiveTreeColumns>&) {}

// ---------------------------------------------------------------------------
// Header

TLTHeader::TLTHeader(TBaseLiveTree* owner)
    : FOwner(owner), FColumns(std::make_unique<TLiveTreeColumns>(owner)), FFont(std::make_unique<TFont>()) {
  FFont->SetOwner(this);
  FFont->OnChange = TNotifyEvent(this, &TLTHeader::FontChanged);
}

TLTHeader::~TLTHeader() = default;

::TLTHeader& TLTHeader::Model() const {
  return FOwner->Model().Header();
}

void TLTHeader::SetColumns(const TLiveTreeColumns* value) {
  FColumns->Assign(value);
}

void TLTHeader::SetFont(const TFont* value) {
  FFont->Assign(value);
}

void TLTHeader::FontChanged(TObject*) {
  if (FOwner != nullptr) Model().SetFont(DescribeFont(*FFont));
}

TPersistent* TLTHeader::GetOwner() const {
  return FOwner;
}

void TLTHeader::SetImages(TCustomImageList* value) {
  if (value == FImages) return;
  if (FImages != nullptr && FOwner != nullptr) FImages->RemoveFreeNotification(FOwner);
  FImages = value;
  if (FImages != nullptr && FOwner != nullptr) FImages->FreeNotification(FOwner);
  if (FOwner != nullptr && !FOwner->ComponentState().Contains(csLoading)) Model().Invalidate(nullptr);
}

void TLTHeader::SetPopupMenu(TPopupMenu* value) {
  if (value == FPopupMenu) return;
  if (FPopupMenu != nullptr && FOwner != nullptr) FPopupMenu->RemoveFreeNotification(FOwner);
  FPopupMenu = value;
  if (FPopupMenu != nullptr && FOwner != nullptr) FPopupMenu->FreeNotification(FOwner);
}

void TLTHeader::ComponentGone(TComponent* component) {
  if (component == FImages) FImages = nullptr;
  if (component == FPopupMenu) FPopupMenu = nullptr;
}

void TLTHeader::Describe(TClassBuilder<TLTHeader>& c) {
  using H = TLTHeader;
  c.Property(
      u"AutoSizeIndex", [](const H& o) { return o.Model().AutoSizeIndex(); },
      [](H& o, Integer v) { o.Model().SetAutoSizeIndex(v); });
  c.Property(
       u"Background", [](const H& o) { return o.Model().Background(); },
       [](H& o, TColor v) { o.Model().SetBackground(v); }, &types::Color())
      .Default(clBtnFace);
  c.Property(u"Columns", &H::GetColumns, &H::SetColumns);
  c.Property(
       u"DefaultHeight", [](const H& o) { return o.Model().DefaultHeight(); },
       [](H& o, Integer v) { o.Model().SetDefaultHeight(v); })
      .Default(19);
  c.Property(u"Font", &H::GetFont, &H::SetFont).StoredWhen([](const H& o) { return !o.Model().ParentFont(); });
  c.Property(
       u"Height", [](const H& o) { return o.Model().Height(); }, [](H& o, Integer v) { o.Model().SetHeight(v); })
      .Default(19);
  c.Property(u"Images", &H::Images, &H::SetImages);
  c.Property(
       u"MainColumn", [](const H& o) { return o.Model().MainColumn(); },
       [](H& o, Integer v) { o.Model().SetMainColumn(v); })
      .Default(0);
  c.Property(
       u"MaxHeight", [](const H& o) { return o.Model().MaxHeight(); },
       [](H& o, Integer v) { o.Model().SetMaxHeight(v); })
      .Default(10000);
  c.Property(
       u"MinHeight", [](const H& o) { return o.Model().MinHeight(); },
       [](H& o, Integer v) { o.Model().SetMinHeight(v); })
      .Default(10);
  c.Property(
       u"Options", [](const H& o) { return ToSet<TLTHeaderOption>(o.Model().Options()); },
       [](H& o, TSet<TLTHeaderOption> v) { o.Model().SetOptions(FromSet<TLTHeaderOptions>(v)); })
      .Default(522);
  c.Property(
       u"ParentFont", [](const H& o) { return o.Model().ParentFont(); },
       [](H& o, bool v) { o.Model().SetParentFont(v); })
      .Default(0);
  c.Property(u"PopupMenu", &H::PopupMenu, &H::SetPopupMenu);
  c.Property(
       u"SortColumn", [](const H& o) { return o.Model().SortColumn(); },
       [](H& o, Integer v) { o.Model().SetSortColumn(v); })
      .Default(-1);
  c.Property(
       u"SortDirection", [](const H& o) { return o.Model().SortDirection(); },
       [](H& o, TSortDirection v) { o.Model().SetSortDirection(v); })
      .Default(sdAscending);
  c.Property(
       u"Style", [](const H& o) { return o.Model().Style(); }, [](H& o, TLTHeaderStyle v) { o.Model().SetStyle(v); })
      .Default(hsThickButtons);
}

// ---------------------------------------------------------------------------
// Scroll bar options, clipboard formats, the editor

void TScrollBarOptions::SetScrollBars(TScrollStyle value) {
  if (value == FScrollBars) return;
  FScrollBars = value;
  if (FOwner != nullptr && FOwner->HandleAllocated()) FOwner->RecreateWnd();
}

void TScrollBarOptions::SetAlwaysVisible(bool value) {
  if (value == FAlwaysVisible) return;
  FAlwaysVisible = value;
  if (FOwner != nullptr && FOwner->HandleAllocated()) FOwner->UpdateScrollBars(true);
}

void TScrollBarOptions::Assign(const TPersistent* source) {
  if (auto* options = dynamic_cast<const TScrollBarOptions*>(source)) {
    SetScrollBars(options->FScrollBars);
    SetAlwaysVisible(options->FAlwaysVisible);
    FHorizontalIncrement = options->FHorizontalIncrement;
    FVerticalIncrement = options->FVerticalIncrement;
    return;
  }
  TPersistent::Assign(source);
}

TPersistent* TScrollBarOptions::GetOwner() const {
  return FOwner;
}

void TScrollBarOptions::Describe(TClassBuilder<TScrollBarOptions>& c) {
  using S = TScrollBarOptions;
  c.Property(u"AlwaysVisible", &S::AlwaysVisible, &S::SetAlwaysVisible).Default(0);
  c.Property(u"HorizontalIncrement", &S::HorizontalIncrement, &S::SetHorizontalIncrement).Default(20);
  c.Property(u"ScrollBars", &S::ScrollBars, &S::SetScrollBars).Default(ssBoth);
  c.Property(u"VerticalIncrement", &S::VerticalIncrement, &S::SetVerticalIncrement).Default(20);
}

TClipboardFormats::TClipboardFormats(TBaseLiveTree* owner)
    : FOwner(owner), FStrings(std::make_unique<TStringList>(dupIgnore, true, false)) {}

Integer TClipboardFormats::Add(const String& s) {
  RegisterTreeClipboardFormats();
  const TClipboardFormatListEntry* entry = TreeClipboardFormats().FindFormat(s);
  TLiveTreeClass treeClass = FOwner != nullptr ? FOwner->Model().ClipboardClass() : ltcStringTree;
  if (entry == nullptr || !InheritsFrom(treeClass, entry->TreeClass)) return -1;
  Integer index = FStrings->IndexOf(s);
  return index >= 0 ? index : FStrings->Add(s);
}

void TClipboardFormats::SetStrings(const TStrings* value) {
  if (value == nullptr || value == FStrings.get()) return;
  FStrings->Clear();
  for (Integer i = 0; i < value->GetCount(); ++i) Add(value->Get(i));
}

void TClipboardFormats::Assign(const TPersistent* source) {
  if (auto* formats = dynamic_cast<const TClipboardFormats*>(source)) {
    SetStrings(formats->FStrings.get());
    return;
  }
  TPersistent::Assign(source);
}

void TClipboardFormats::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  // Written as a string list is: the names in parentheses.
  filer.DefineProperty(
      u"Strings",
      [this](TReader& reader) {
        reader.ReadListBegin();
        FStrings->Clear();
        while (!reader.EndOfList()) Add(reader.ReadString());
        reader.ReadListEnd();
      },
      [this](TWriter& writer) {
        writer.WriteListBegin();
        for (Integer i = 0; i < FStrings->GetCount(); ++i) writer.WriteString(FStrings->Get(i));
        writer.WriteListEnd();
      },
      FStrings->GetCount() > 0);
}

void TClipboardFormats::Describe(TClassBuilder<TClipboardFormats>&) {}

void TLTEdit::Describe(TClassBuilder<TLTEdit>&) {}

void TLTEdit::WndProc(TMessage& message) {
  if (FTree != nullptr) {
    switch (message.Msg) {
      case WM_GETDLGCODE:
        // Enter and Escape belong to the edit, not to the dialog around it.
        message.Result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
      case WM_KEYDOWN:
        if (message.WParam == VK_RETURN) {
          FTree->Model().EndEditNode();
          return;
        }
        if (message.WParam == VK_ESCAPE) {
          FTree->Model().CancelEditNode();
          return;
        }
        // Ctrl+A (and only Ctrl) selects the whole text.
        if (message.WParam == 'A' && FTree->Model().IsEditing() && GetKeyState(VK_CONTROL) < 0 &&
            GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_MENU) >= 0) {
          SelectAll();
          return;
        }
        break;
      case WM_CHAR:
        // The edit would beep at the keys that end it.
        if (message.WParam == u'\r' || message.WParam == 27) return;
        break;
      case WM_KILLFOCUS: {
        TCustomEdit::WndProc(message);
        if (!IsWindowVisible(Handle()) || !FTree->Model().IsEditing()) return;
        // Switching elsewhere keeps the text only when the tree says so.
        const auto* strings = dynamic_cast<const TCustomLiveStringTree*>(&FTree->Model());
        if (strings != nullptr && strings->StringOptions().Contains(toAutoAcceptEditChange))
          FTree->Model().EndEditNode();
        else
          FTree->Model().CancelEditNode();
        return;
      }
      default: break;
    }
  }
  TCustomEdit::WndProc(message);
}

// ---------------------------------------------------------------------------
// The tree control

TBaseLiveTree::TBaseLiveTree(TComponent* owner)
    : TBaseLiveTree(owner, std::make_unique<::TBaseLiveTree>(nullptr), false) {}

TBaseLiveTree::TBaseLiveTree(TComponent* owner, std::unique_ptr<::TBaseLiveTree> model, bool stringOptions)
    : TCustomControl(owner), FModel(std::move(model)) {
  FModel->SetHost(this);
  FColors = std::make_unique<TLTColors>(this);
  FHeader = std::make_unique<TLTHeader>(this);
  FTreeOptions = stringOptions ? std::make_unique<TStringTreeOptions>(this) : std::make_unique<TLiveTreeOptions>(this);
  FScrollBarOptions = std::make_unique<TScrollBarOptions>(this);
  FClipboardFormats = std::make_unique<TClipboardFormats>(this);
  RegisterTreeClipboardFormats();
  // Clipboard and drag and drop need OLE on this thread; a thread set up for
  // another model keeps it, and the tree then only exchanges nothing.
  FOleInitialized = SUCCEEDED(OleInitialize(nullptr));
  FMeasureBitmap = std::make_unique<TBitmap>();
  FMeasureBitmap->SetSize(1, 1);
  FControlStyle.Include(csOpaque);
  SetBounds(Left(), Top(), 200, 100);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FModel->SetFont(ModelFont(Font()));
}

TBaseLiveTree::~TBaseLiveTree() {
  *FAlive = false;
  // The editor is a child window: it goes first, while the model still is.
  FEditor.reset();
  if (OwnerDestroying()) DropPublishedHandlers();
  // The clipboard renders this tree's data now, while the tree still can;
  // a data object left behind reaches nothing once the model is gone.
  try {
    FlushClipboard();
  } catch (...) {
    // A failing rendering leaves the clipboard without that format.
  }
  RevokeDropTarget();
  if (FDragManager != nullptr) {
    FDragManager->Detach();
    FDragManager->Release();
    FDragManager = nullptr;
  }
  ReleaseAccessibleObjects();
  HidePanningWindow();
  // The window goes after the model: nothing may reach the model from then on.
  if (TWinControl::HandleAllocated())
    for (int id = TimerIdExpand; id <= TimerIdThemeChange; ++id) KillTimer(Handle(), static_cast<UINT_PTR>(id));
  FModel->SetHost(nullptr);
  FModel.reset();
  if (FOleInitialized) OleUninitialize();
}

bool TBaseLiveTree::OwnerDestroying() const {
  return Owner() != nullptr && Owner()->ComponentState().Contains(csDestroying);
}

const std::any* TBaseLiveTree::PublishedEvent(const String& name) const {
  auto found = FPublishedEvents.find(name);
  return found != FPublishedEvents.end() ? &found->second : nullptr;
}

void TBaseLiveTree::SetPublishedEvent(const String& name, std::any handler, std::function<void()> drop) {
  FPublishedEvents[name] = std::move(handler);
  if (drop)
    FPublishedEventDrops[name] = std::move(drop);
  else
    FPublishedEventDrops.erase(name);
}

void TBaseLiveTree::DropPublishedHandlers() {
  for (auto& [name, drop] : FPublishedEventDrops) drop();
  FPublishedEventDrops.clear();
  FPublishedEvents.clear();
  SetOnChange({});
  SetOnCompareNodes({});
  SetOnFocusChanged({});
  SetOnGetImageIndex({});
  SetOnIncrementalSearch({});
  SetOnInitNode({});
}

void TBaseLiveTree::Describe(TClassBuilder<TBaseLiveTree>& c) {
  using T = TBaseLiveTree;
  publish::Align(c);
  c.Property(
       u"Alignment", [](const T& o) { return o.Model().Alignment(); },
       [](T& o, TAlignment v) { o.Model().SetAlignment(v); })
      .Default(taLeftJustify);
  c.Property(
       u"AnimationDuration", [](const T& o) { return o.Model().AnimationDuration(); },
       [](T& o, Cardinal v) { o.Model().SetAnimationDuration(v); })
      .Default(200);
  publish::Anchors(c);
  c.Property(
       u"AutoExpandDelay", [](const T& o) { return o.Model().AutoExpandDelay(); },
       [](T& o, Cardinal v) { o.Model().SetAutoExpandDelay(v); })
      .Default(1000);
  c.Property(
       u"AutoScrollDelay", [](const T& o) { return o.Model().AutoScrollDelay(); },
       [](T& o, Cardinal v) { o.Model().SetAutoScrollDelay(v); })
      .Default(1000);
  c.Property(
       u"AutoScrollInterval", [](const T& o) { return o.Model().AutoScrollInterval(); },
       [](T& o, Cardinal v) { o.Model().SetAutoScrollInterval(v); })
      .Default(1);
  publish::BevelProperties(c);
  publish::BevelCutProperties(c);
  publish::BiDiProperties(c);
  c.Property(u"BorderStyle", &T::BorderStyle, &T::SetBorderStyle).Default(bsSingle);
  publish::BorderWidth(c);
  c.Property(
       u"BottomSpace", [](const T& o) { return o.Model().BottomSpace(); },
       [](T& o, Cardinal v) { o.Model().SetBottomSpace(v); })
      .Default(0);

  c.Property(
       u"ButtonFillMode", [](const T& o) { return o.Model().PaintSettings().ButtonFillMode; },
       [](T& o, TLTButtonFillMode v) {
         o.Model().PaintSettings().ButtonFillMode = v;
         o.Invalidate();
       })
      .Default(fmTreeColor);
  c.Property(
       u"ButtonStyle", [](const T& o) { return o.Model().PaintSettings().ButtonStyle; },
       [](T& o, TLTButtonStyle v) {
         o.Model().PaintSettings().ButtonStyle = v;
         o.Invalidate();
       })
      .Default(bsRectangle);
  c.Property(
       u"ChangeDelay", [](const T& o) { return o.Model().ChangeDelay(); },
       [](T& o, Cardinal v) { o.Model().SetChangeDelay(v); })
      .Default(0);
  c.Property(
       u"CheckImageKind", [](const T& o) { return o.Model().PaintSettings().CheckImageKind; },
       [](T& o, TCheckImageKind v) {
         o.Model().PaintSettings().CheckImageKind = v;
         o.Invalidate();
       })
      .Default(ckSystemDefault);
  c.Property(u"ClipboardFormats", &T::GetClipboardFormats, &T::SetClipboardFormats);
  publish::Color(c);
  c.Property(u"Colors", &T::GetColors, &T::SetColors);
  c.Property(
      u"Columns", [](const T& o) { return o.GetHeader()->GetColumns(); },
      [](T& o, TLiveTreeColumns* v) { o.GetHeader()->SetColumns(v); });
  publish::Constraints(c);
  publish::Ctl3DProperties(c);
  c.Property(u"CustomCheckImages", &T::CustomCheckImages, &T::SetCustomCheckImages);
  c.Property(
       u"DefaultNodeHeight", [](const T& o) { return o.Model().DefaultNodeHeight(); },
       [](T& o, Cardinal v) { o.Model().SetDefaultNodeHeight(v); })
      .Default(18);
  c.Property(
       u"DefaultPasteMode", [](const T& o) { return o.Model().DefaultPasteMode(); },
       [](T& o, TLTNodeAttachMode v) { o.Model().SetDefaultPasteMode(v); })
      .Default(amAddChildLast);
  c.Property(
       u"DragCursor", [](const T& o) { return o.Kept.DragCursor; }, [](T& o, Integer v) { o.Kept.DragCursor = v; },
       &types::Cursor())
      .Default(-12);
  c.Property(
       u"DragHeight", [](const T& o) { return o.Model().DragHeight(); },
       [](T& o, Integer v) { o.Model().SetDragHeight(v); })
      .Default(350);
  c.Property(u"DragImageKind", &T::DragImageKind, &T::SetDragImageKind).Default(diComplete);
  KST_KEPT_PROPERTY(u"DragKind", DragKind).Default(dkDrag);
  c.Property(u"DragMode", &T::DragMode, &T::SetDragMode).Default(dmManual);
  c.Property(
       u"DragOperations", [](const T& o) { return o.Model().DragOperations(); },
       [](T& o, TDragOperations v) { o.Model().SetDragOperations(v); })
      .Default(3);
  c.Property(u"DragType", &T::DragType, &T::SetDragType).Default(dtOLE);
  c.Property(
       u"DragWidth", [](const T& o) { return o.Model().DragWidth(); },
       [](T& o, Integer v) { o.Model().SetDragWidth(v); })
      .Default(200);
  c.Property(
       u"DrawSelectionMode", [](const T& o) { return o.Model().PaintSettings().DrawSelectionMode; },
       [](T& o, TLTDrawSelectionMode v) { o.Model().PaintSettings().DrawSelectionMode = v; })
      .Default(smDottedRectangle);
  c.Property(
       u"EditDelay", [](const T& o) { return o.Model().EditDelay(); },
       [](T& o, Cardinal v) { o.Model().SetEditDelay(v); })
      .Default(1000);
  c.Property(
      u"EmptyListMessage", [](const T& o) { return o.Model().EmptyListMessage(); },
      [](T& o, const String& v) { o.Model().SetEmptyListMessage(v); });
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"Header", &T::GetHeader, &T::SetHeader);
  c.Property(
       u"HintAnimation", [](const T& o) { return o.Model().HintAnimation(); },
       [](T& o, THintAnimationType v) { o.Model().SetHintAnimation(v); })
      .Default(hatSystemDefault);
  c.Property(
       u"HintMode", [](const T& o) { return o.Model().HintMode(); },
       [](T& o, TLTHintMode v) { o.Model().SetHintMode(v); })
      .Default(hmDefault);
  c.Property(u"HotCursor", &T::HotCursor, &T::SetHotCursor, &types::Cursor()).Default(crDefault);
  c.Property(u"Images", &T::Images, &T::SetImages);
  c.Property(
       u"IncrementalSearch", [](const T& o) { return o.Model().IncrementalSearch(); },
       [](T& o, TLTIncrementalSearch v) { o.Model().SetIncrementalSearch(v); })
      .Default(isNone);
  c.Property(
       u"IncrementalSearchDirection", [](const T& o) { return o.Model().IncrementalSearchDirection(); },
       [](T& o, TLTSearchDirection v) { o.Model().SetIncrementalSearchDirection(v); })
      .Default(sdForward);
  c.Property(
       u"IncrementalSearchStart", [](const T& o) { return o.Model().IncrementalSearchStart(); },
       [](T& o, TLTSearchStart v) { o.Model().SetIncrementalSearchStart(v); })
      .Default(ssFocusedNode);
  c.Property(
       u"IncrementalSearchTimeout", [](const T& o) { return o.Model().IncrementalSearchTimeout(); },
       [](T& o, Cardinal v) { o.Model().SetIncrementalSearchTimeout(v); })
      .Default(1000);
  c.Property(
       u"Indent", [](const T& o) { return o.Model().Indent(); }, [](T& o, Cardinal v) { o.Model().SetIndent(v); })
      .Default(18);
  c.Property(
       u"LineMode", [](const T& o) { return o.Model().PaintSettings().LineMode; },
       [](T& o, TLTLineMode v) {
         o.Model().PaintSettings().LineMode = v;
         o.Invalidate();
       })
      .Default(lmNormal);
  c.Property(
       u"LineStyle", [](const T& o) { return o.Model().LineStyle(); },
       [](T& o, TLTLineStyle v) { o.Model().SetLineStyle(v); })
      .Default(lsDotted);
  c.Property(
       u"Margin", [](const T& o) { return o.Model().Margin(); }, [](T& o, Integer v) { o.Model().SetMargin(v); })
      .Default(4);
  c.Property(
       u"NodeAlignment", [](const T& o) { return o.Model().PaintSettings().NodeAlignment; },
       [](T& o, TLTNodeAlignment v) {
         o.Model().PaintSettings().NodeAlignment = v;
         o.Invalidate();
       })
      .Default(naProportional);
  c.Property(
       u"NodeDataSize", [](const T& o) { return o.Model().NodeDataSize(); },
       [](T& o, Integer v) { o.Model().SetNodeDataSize(v); })
      .Default(-1);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  publish::PopupMenu(c);
  c.Property(u"RootNodeCount", &T::RootNodeCount, &T::SetRootNodeCount).Default(0);
  c.Property(u"ScrollBarOptions", &T::GetScrollBarOptions, &T::SetScrollBarOptions);
  c.Property(
       u"SelectionBlendFactor", [](const T& o) { return static_cast<Integer>(o.Model().SelectionBlendFactor()); },
       [](T& o, Integer v) { o.Model().SetSelectionBlendFactor(static_cast<Byte>(std::clamp(v, 0, 255))); })
      .Default(128);
  c.Property(
       u"SelectionCurveRadius", [](const T& o) { return o.Model().SelectionCurveRadius(); },
       [](T& o, Cardinal v) { o.Model().SetSelectionCurveRadius(v); })
      .Default(0);
  publish::ShowHint(c);
  c.Property(u"StateImages", &T::StateImages, &T::SetStateImages);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(1);
  c.Property(
       u"TextMargin", [](const T& o) { return o.Model().TextMargin(); },
       [](T& o, Integer v) { o.Model().SetTextMargin(v); })
      .Default(4);
  c.Property(u"TreeOptions", &T::GetTreeOptions, &T::SetTreeOptions);
  publish::Visible(c);
  c.Property(
       u"WantTabs", [](const T& o) { return o.Model().WantTabs(); }, [](T& o, bool v) { o.Model().SetWantTabs(v); })
      .Default(0);
  publish::MouseEvents(c);
  c.Property(u"OnMouseWheel", &T::OnMouseWheel);
  c.Property(u"OnResize", &T::OnResize);
  c.Property(
      u"OnEndDock", [](const T& o) { return o.Kept.OnEndDock; },
      [](T& o, const TEndDragEvent& v) { o.Kept.OnEndDock = v; }, &EndDragEventType());
  c.Property(
      u"OnEndDrag", [](const T& o) { return o.Kept.OnEndDrag; },
      [](T& o, const TEndDragEvent& v) { o.Kept.OnEndDrag = v; }, &EndDragEventType());
  publish::KeptEvent<0>(c, u"OnStartDock", TKeptEvent::StartDock);
  c.Property(
      u"OnStartDrag", [](const T& o) { return o.Kept.OnStartDrag; },
      [](T& o, const TStartDragEvent& v) { o.Kept.OnStartDrag = v; });
  publish::FocusEvents(c);
  publish::KeyEvents(c);
  c.Property(u"OnChange", &T::OnChange, &T::SetOnChange);
  c.Property(u"OnCompareNodes", &T::OnCompareNodes, &T::SetOnCompareNodes);
  c.Property(u"OnFocusChanged", &T::OnFocusChanged, &T::SetOnFocusChanged);
  c.Property(u"OnGetImageIndex", &T::OnGetImageIndex, &T::SetOnGetImageIndex);
  c.Property(u"OnIncrementalSearch", &T::OnIncrementalSearch, &T::SetOnIncrementalSearch);
  c.Property(u"OnInitNode", &T::OnInitNode, &T::SetOnInitNode);
  PublishTreeEvents(c);
}

TLiveTreeFont TBaseLiveTree::ModelFont(const TFont& font) const {
  return DescribeFont(font);
}

void TBaseLiveTree::ApplyFont(TFont& target, const TLiveTreeFont& font) const {
  if (DescribeFont(target) == font) return;
  AssignFont(target, font);
}

void TBaseLiveTree::SetHeader(const TLTHeader* value) {
  if (value != nullptr && value != FHeader.get()) FModel->SetHeader(value->Model());
}

void TBaseLiveTree::SetTreeOptions(const TLiveTreeOptions* value) {
  if (value != nullptr && value != FTreeOptions.get()) FModel->SetTreeOptions(value->Model());
}

void TBaseLiveTree::SetImages(TCustomImageList* value) {
  if (value == FImages) return;
  if (FImages != nullptr) FImages->RemoveFreeNotification(this);
  FImages = value;
  if (FImages != nullptr) FImages->FreeNotification(this);
  if (!ComponentState().Contains(csLoading)) Invalidate();
}

void TBaseLiveTree::SetStateImages(TCustomImageList* value) {
  if (value == FStateImages) return;
  if (FStateImages != nullptr) FStateImages->RemoveFreeNotification(this);
  FStateImages = value;
  if (FStateImages != nullptr) FStateImages->FreeNotification(this);
  if (!ComponentState().Contains(csLoading)) Invalidate();
}

void TBaseLiveTree::SetCustomCheckImages(TCustomImageList* value) {
  if (value == FCustomCheckImages) return;
  if (FCustomCheckImages != nullptr) FCustomCheckImages->RemoveFreeNotification(this);
  FCustomCheckImages = value;
  if (FCustomCheckImages != nullptr) FCustomCheckImages->FreeNotification(this);
  if (!ComponentState().Contains(csLoading)) Invalidate();
}

void TBaseLiveTree::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FImages) FImages = nullptr;
  if (component == FStateImages) FStateImages = nullptr;
  if (FHeader) FHeader->ComponentGone(component);
  if (component == FCustomCheckImages) {
    FCustomCheckImages = nullptr;
    FModel->PaintSettings().CheckImageKind = ckSystemDefault;
  }
  if (!ComponentState().Contains(csDestroying)) Invalidate();
}

// Each assigned event goes to the model with this control as Sender; an
// empty one leaves the model's event unassigned.
void TBaseLiveTree::SetOnChange(const TLTChangeEvent& value) {
  FOnChange = value;
  FModel->OnChange =
      value ? ::TLTChangeEvent([this](::TBaseLiveTree*, PLiveNode node) { FOnChange(this, node); }) : nullptr;
}

void TBaseLiveTree::SetOnCompareNodes(const TLTCompareEvent& value) {
  FOnCompareNodes = value;
  FModel->OnCompareNodes =
      value ? ::TLTCompareEvent([this](::TBaseLiveTree*, PLiveNode node1, PLiveNode node2, TColumnIndex column,
                                       Integer& result) { FOnCompareNodes(this, node1, node2, column, result); })
            : nullptr;
}

void TBaseLiveTree::SetOnFocusChanged(const TLTFocusChangeEvent& value) {
  FOnFocusChanged = value;
  FModel->OnFocusChanged = value ? ::TLTFocusChangeEvent([this](::TBaseLiveTree*, PLiveNode node, TColumnIndex column) {
    FOnFocusChanged(this, node, column);
  })
                                 : nullptr;
}

void TBaseLiveTree::SetOnGetImageIndex(const TLTGetImageEvent& value) {
  FOnGetImageIndex = value;
  FModel->OnGetImageIndex = value ? ::TLTGetImageEvent([this](::TBaseLiveTree*, PLiveNode node, TLTImageKind kind,
                                                              TColumnIndex column, bool& ghosted, Integer& index) {
    FOnGetImageIndex(this, node, kind, column, ghosted, index);
  })
                                  : nullptr;
}

void TBaseLiveTree::SetOnIncrementalSearch(const TLTIncrementalSearchEvent& value) {
  FOnIncrementalSearch = value;
  FModel->OnIncrementalSearch =
      value ? ::TLTIncrementalSearchEvent([this](::TBaseLiveTree*, PLiveNode node, const String& text,
                                                 Integer& result) { FOnIncrementalSearch(this, node, text, result); })
            : nullptr;
}

void TBaseLiveTree::SetOnInitNode(const TLTInitNodeEvent& value) {
  FOnInitNode = value;
  FModel->OnInitNode =
      value ? ::TLTInitNodeEvent([this](::TBaseLiveTree*, PLiveNode parent, PLiveNode node,
                                        TLiveNodeInitStates& states) { FOnInitNode(this, parent, node, states); })
            : nullptr;
}

void TBaseLiveTree::NoteReading() {
  if (ComponentState().Contains(csLoading) && !FModel->Loading()) FModel->BeginLoading();
}

void TBaseLiveTree::SetName(const String& name) {
  NoteReading();
  TCustomControl::SetName(name);
}

void TBaseLiveTree::SetParentComponent(TComponent* parent) {
  NoteReading();
  TCustomControl::SetParentComponent(parent);
}

void TBaseLiveTree::SetRootNodeCount(Cardinal value) {
  NoteReading();
  FModel->SetRootNodeCount(value);
}

void TBaseLiveTree::SetBorderStyle(TBorderStyle value) {
  if (value == FModel->BorderStyle()) return;
  FModel->SetBorderStyle(value);
  if (TWinControl::HandleAllocated()) RecreateWnd();
}

void TBaseLiveTree::Loaded() {
  TCustomControl::Loaded();
  TCustomLiveTreeOptions& options = FModel->TreeOptions();
  TLTMiscOptions misc = options.MiscOptions();
  bool readOnly = misc.Contains(toReadOnly);
  if (readOnly) options.SetMiscOptions(misc - TLTMiscOptions{toReadOnly});
  if (FModel->Loading()) {
    FModel->EndLoading();
  } else {
    FModel->Header().ClampMainColumn();
    FModel->Header().Columns().PositionsFromColumns();
  }
  if (readOnly) options.SetMiscOptions(options.MiscOptions() + TLTMiscOptions{toReadOnly});
  ::TLTHeader& header = FModel->Header();
  if (options.AutoOptions().Contains(toAutoBidiColumnOrdering))
    header.Columns().ResetPositionOrder(FModel->UseRightToLeftAlignment());
  if (header.States().Contains(hsNeedScaling)) header.ApplyFixedAreaConstraints();
  if (header.Options().Contains(hoAutoResize)) header.FitAutoSizeColumn(header.AutoSizeIndex(), false);
  FModel->UpdateRanges();
  UpdateScrollBars(true);
  HeaderFrameChanged();
  RegisterDropTarget();
  FModel->RequestCacheValidation();
}

void TBaseLiveTree::CMFontChanged(TMessage& message) {
  TCustomControl::CMFontChanged(message);
  if (FModel) FModel->SetFont(ModelFont(Font()));
}

void TBaseLiveTree::CMColorChanged(TMessage& message) {
  TCustomControl::CMColorChanged(message);
  if (FModel) FModel->SetColor(Color());
}

void TBaseLiveTree::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  switch (FScrollBarOptions->ScrollBars()) {
    case ssHorizontal: params.Style |= WS_HSCROLL; break;
    case ssVertical: params.Style |= WS_VSCROLL; break;
    case ssBoth: params.Style |= WS_HSCROLL | WS_VSCROLL; break;
    case ssNone: break;
  }
  if (FModel->BorderStyle() == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
  params.WindowClass.style |= CS_DBLCLKS;
}

void TBaseLiveTree::CreateWnd() {
  TCustomControl::CreateWnd();
  FModel->SetFont(ModelFont(Font()));
  FModel->SetColor(Color());
  FModel->UpdateRanges();
  UpdateScrollBars(true);
  HeaderFrameChanged();
  RegisterDropTarget();
  // Nodes made before the window existed still need their position cache.
  FModel->RequestCacheValidation();
}

void TBaseLiveTree::DestroyWnd() {
  RevokeDropTarget();
  FModel->StopWheelPanning();
  HidePanningWindow();
  TCustomControl::DestroyWnd();
}

bool TBaseLiveTree::Focused() const {
  HWND handle = WindowHandleIfAny();
  return handle != nullptr && GetFocus() == handle;
}

Integer TBaseLiveTree::ClientHeight() const {
  HWND handle = WindowHandleIfAny();
  if (handle != nullptr) {
    RECT r{};
    GetClientRect(handle, &r);
    return r.bottom;
  }
  Integer frame = FModel->BorderStyle() == bsSingle ? 2 * GetSystemMetrics(SM_CYEDGE) : 0;
  return std::max(0, Height() - frame - HeaderHeight());
}

Integer TBaseLiveTree::ClientWidth() const {
  HWND handle = WindowHandleIfAny();
  if (handle != nullptr) {
    RECT r{};
    GetClientRect(handle, &r);
    return r.right;
  }
  Integer frame = FModel->BorderStyle() == bsSingle ? 2 * GetSystemMetrics(SM_CXEDGE) : 0;
  return std::max(0, Width() - frame);
}

HWND TBaseLiveTree::WindowHandleIfAny() const {
  return TWinControl::HandleAllocated() ? const_cast<TBaseLiveTree*>(this)->Handle() : nullptr;
}

void TBaseLiveTree::InvalidateNode(PLiveNode node) {
  if (!TWinControl::HandleAllocated() || node == nullptr || node == FModel->RootNode()) return;
  TRect r = FModel->GetDisplayRect(node, NoColumn, false);
  RECT rc{0, r.Top, ClientWidth(), r.Bottom};
  InvalidateRect(Handle(), &rc, FALSE);
}

void TBaseLiveTree::InvalidateToBottom(PLiveNode node) {
  if (!TWinControl::HandleAllocated()) return;
  if (node == nullptr || node == FModel->RootNode()) {
    Invalidate();
    return;
  }
  TRect r = FModel->GetDisplayRect(node, NoColumn, false);
  if (r.Top >= ClientHeight()) return;
  RECT rc{0, std::max(0, r.Top), ClientWidth(), ClientHeight()};
  InvalidateRect(Handle(), &rc, FALSE);
}

void TBaseLiveTree::UpdateScrollBars(bool repaint) {
  if (!TWinControl::HandleAllocated() || FSyncingScrollBars) return;
  FSyncingScrollBars = true;
  struct Reset {
    bool& Flag;
    ~Reset() { Flag = false; }
  } reset{FSyncingScrollBars};
  TScrollStyle bars = FScrollBarOptions->ScrollBars();
  const bool always = FScrollBarOptions->AlwaysVisible();
  UINT disable = always ? SIF_DISABLENOSCROLL : 0;
  // A bar that appears or goes changes the client area, which can call for
  // the other bar and refits the auto-size column: settle both again until
  // the client area stays as it is.
  for (int pass = 0; pass < 3; ++pass) {
    const Integer oldWidth = ClientWidth();
    const Integer oldHeight = ClientHeight();
    FModel->UpdateVerticalRange();
    if (bars == ssVertical || bars == ssBoth) {
      const bool show = ClientHeight() < FModel->RangeY() || always;
      SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL | disable, 0, 0, 0, 0, 0};
      if (show) {
        info.nMax = std::max(0, FModel->RangeY() - 1);
        info.nPage = static_cast<UINT>(std::max(0, ClientHeight()));
        info.nPos = -FModel->OffsetY();
      }
      const bool wasShown = VerticalScrollBarShown();
      SetScrollInfo(Handle(), SB_VERT, &info, repaint);
      if (show != wasShown || show != VerticalScrollBarShown()) NotifyScrollBar(SB_VERT, show);
    }
    FModel->UpdateHorizontalRange();
    if (bars == ssHorizontal || bars == ssBoth) {
      const bool show = ClientWidth() < FModel->RangeX() || always;
      SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL | disable, 0, 0, 0, 0, 0};
      if (show) {
        info.nMax = std::max(0, FModel->RangeX() - 1);
        info.nPage = static_cast<UINT>(std::max(0, ClientWidth()));
        info.nPos = FModel->EffectiveOffsetX();
      }
      const bool wasShown = HorizontalScrollBarShown();
      SetScrollInfo(Handle(), SB_HORZ, &info, repaint);
      if (show != wasShown || show != HorizontalScrollBarShown()) NotifyScrollBar(SB_HORZ, show);
    }
    // The offsets follow the ranges and the client area as they are now.
    FModel->ScrollOffsets(Point(FModel->OffsetX(), FModel->OffsetY()), false);
    if (ClientWidth() == oldWidth && ClientHeight() == oldHeight) break;
  }
}

void TBaseLiveTree::NotifyScrollBar(int bar, bool show) {
  ShowScrollBar(Handle(), bar, show ? TRUE : FALSE);
  if (FModel->OnShowScrollBar) FModel->OnShowScrollBar(FModel.get(), bar, show);
}

void TBaseLiveTree::ClientSizeChanged() {
  if (!TWinControl::HandleAllocated() || ClientHeight() < 1) return;
  ::TLTHeader& header = FModel->Header();
  // The auto-size column takes what the other columns leave of the new
  // width, also while a scroll bar coming or going resizes the client area.
  if (header.Options().Contains(hoAutoResize)) {
    if (!header.States().Contains(hsAutoSizing)) header.FitAutoSizeColumn(InvalidColumn, false);
  } else {
    header.ApplyFixedAreaConstraints();
  }
  header.SpringColumns();
  header.Invalidate(nullptr);
  FollowWithEditor();
  if (FModel->TreeStates().Contains(tsSizing) || FSyncingScrollBars) return;
  FModel->SetSizing(true);
  try {
    FModel->UpdateRanges();
    FModel->ScrollOffsets(Point(FModel->OffsetX(), FModel->OffsetY()));
    FModel->SetSizing(false);
  } catch (...) {
    FModel->SetSizing(false);
    throw;
  }
  UpdateScrollBars(true);
}

void TBaseLiveTree::StartTimer(int id, Cardinal milliseconds) {
  if (TWinControl::HandleAllocated()) SetTimer(Handle(), static_cast<UINT_PTR>(id), milliseconds, nullptr);
}

void TBaseLiveTree::StopTimer(int id) {
  if (TWinControl::HandleAllocated()) KillTimer(Handle(), static_cast<UINT_PTR>(id));
}

void TBaseLiveTree::SetRedraw(bool on) {
  if (!TWinControl::HandleAllocated()) return;
  SendMessageW(Handle(), WM_SETREDRAW, on ? TRUE : FALSE, 0);
  if (on) Invalidate();
}

void TBaseLiveTree::WakeInterfaceThread() {
  // Called from the cache builder: only the message crosses threads.
  if (TWinControl::HandleAllocated()) PostMessageW(Handle(), WM_LIVETREE_HANDOVER, 0, 0);
}

TSize TBaseLiveTree::TextExtent(const TLiveTreeFont& font, StringView text) {
  TCanvas& canvas = FMeasureBitmap->Canvas();
  ApplyFont(canvas.Font(), font);
  return canvas.TextExtent(String(text));
}

TSize TBaseLiveTree::WrappedTextExtent(const TLiveTreeFont& font, StringView text, Integer width) {
  TCanvas& canvas = FMeasureBitmap->Canvas();
  ApplyFont(canvas.Font(), font);
  TRect r = Rect(0, 0, width, 0);
  canvas.DrawText(String(text), r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
  return TSize{r.Right - r.Left, r.Bottom - r.Top};
}

Integer TBaseLiveTree::FontHeight(const TLiveTreeFont& font) {
  TCanvas& canvas = FMeasureBitmap->Canvas();
  ApplyFont(canvas.Font(), font);
  canvas.TextExtent(u"Tg");
  TEXTMETRICW metrics{};
  GetTextMetricsW(canvas.Handle(), &metrics);
  return metrics.tmHeight;
}

TSize TBaseLiveTree::ImageListSize(TLTImageListKind kind) {
  auto sizeOf = [](TCustomImageList* list) {
    return list != nullptr ? TSize{list->Width(), list->Height()} : TSize{0, 0};
  };
  switch (kind) {
    case ilNormal: return sizeOf(FImages);
    case ilState: return sizeOf(FStateImages);
    case ilCheck:
      if (FModel->PaintSettings().CheckImageKind == ckCustom && FCustomCheckImages != nullptr)
        return sizeOf(FCustomCheckImages);
      return TSize{GetSystemMetrics(SM_CXMENUCHECK) + 3, GetSystemMetrics(SM_CYMENUCHECK) + 3};
  }
  return {};
}

TLiveTreeFont TBaseLiveTree::CanvasFont(TCanvas* canvas) {
  return canvas != nullptr ? DescribeFont(canvas->Font()) : FModel->Font();
}

void TBaseLiveTree::SetCanvasFont(TCanvas* canvas, const TLiveTreeFont& font) {
  if (canvas != nullptr) ApplyFont(canvas->Font(), font);
}

bool TBaseLiveTree::VerticalScrollBarShown() const {
  return TWinControl::HandleAllocated() &&
         (GetWindowLongW(const_cast<TBaseLiveTree*>(this)->Handle(), GWL_STYLE) & WS_VSCROLL) != 0;
}

bool TBaseLiveTree::HorizontalScrollBarShown() const {
  return TWinControl::HandleAllocated() &&
         (GetWindowLongW(const_cast<TBaseLiveTree*>(this)->Handle(), GWL_STYLE) & WS_HSCROLL) != 0;
}

void TBaseLiveTree::ScrollContent(Integer dx, Integer dy) {
  if (!TWinControl::HandleAllocated()) return;
  // What stays in view moves; only the uncovered strip is painted anew.
  // Fixed columns move only up and down.
  Integer fixed = FModel->Header().UseColumns() ? FModel->Header().Columns().GetVisibleFixedWidth() : 0;
  if (dx != 0 && fixed > 0) {
    RECT scrolling{fixed, 0, ClientWidth(), ClientHeight()};
    ScrollWindowEx(Handle(), dx, dy, &scrolling, &scrolling, nullptr, nullptr, SW_INVALIDATE);
    RECT fixedArea{0, 0, fixed, ClientHeight()};
    if (dy != 0) ScrollWindowEx(Handle(), 0, dy, &fixedArea, &fixedArea, nullptr, nullptr, SW_INVALIDATE);
  } else {
    ScrollWindowEx(Handle(), dx, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  }
  if (dx != 0) InvalidateHeader({});
  FollowWithEditor();
}

void TBaseLiveTree::InvalidateHeader(const TRect&) {
  RepaintFrame();
}

void TBaseLiveTree::RepaintFrame() {
  // Invalidating with the frame flag would take the client area along.
  if (TWinControl::HandleAllocated() && IsWindowVisible(Handle())) SendMessageW(Handle(), WM_NCPAINT, 1, 0);
}

void TBaseLiveTree::HeaderFrameChanged() {
  if (TWinControl::HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Integer TBaseLiveTree::HeaderHeight() const {
  const ::TLTHeader& header = FModel->Header();
  return header.Options().Contains(hoVisible) ? header.Height() : 0;
}

void TBaseLiveTree::ScrollTo(Integer y) {
  FModel->ScrollOffsets(Point(FModel->OffsetX(), -y));
}

void TBaseLiveTree::HandleScroll(int bar, int code) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(Handle(), bar, &info);
  bool vertical = bar == SB_VERT;
  Integer line = vertical ? FScrollBarOptions->VerticalIncrement() : FScrollBarOptions->HorizontalIncrement();
  Integer page = vertical ? ClientHeight() : ClientWidth();
  Integer position = vertical ? -FModel->OffsetY() : FModel->EffectiveOffsetX();
  switch (code) {
    case SB_LINEUP: position -= line; break;
    case SB_LINEDOWN: position += line; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return;
  }
  if (vertical)
    FModel->ScrollOffsets(Point(FModel->OffsetX(), -position));
  else
    FModel->ScrollOffsets(Point(-position, FModel->OffsetY()));
}

namespace {

TShiftState KeyboardShiftState() {
  TShiftState shift;
  if (GetKeyState(VK_SHIFT) < 0) shift += TShiftState{ssShift};
  if (GetKeyState(VK_CONTROL) < 0) shift += TShiftState{ssCtrl};
  if (GetKeyState(VK_MENU) < 0) shift += TShiftState{ssAlt};
  return shift;
}

// The modifiers a mouse message carries (Alt is not among them).
TShiftState MouseShiftState(WPARAM keys) {
  TShiftState shift;
  if (keys & MK_SHIFT) shift += TShiftState{ssShift};
  if (keys & MK_CONTROL) shift += TShiftState{ssCtrl};
  if (GetKeyState(VK_MENU) < 0) shift += TShiftState{ssAlt};
  return shift;
}

// The tree-view item state of the focused item (the common headers lack it).
constexpr UINT TreeItemFocused = 0x0001;

TPoint MessagePoint(LPARAM lParam) {
  return Point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

// The character a key types on the current keyboard (0: none).
Char TypedCharacter(WPARAM key, LPARAM keyData) {
  BYTE state[256]{};
  if (!GetKeyboardState(state)) return 0;
  wchar_t buffer[4]{};
  int count = ToUnicode(static_cast<UINT>(key), (static_cast<UINT>(keyData) >> 16) & 0xFF, state, buffer, 4, 0);
  return count == 1 ? static_cast<Char>(buffer[0]) : Char{0};
}

}  // namespace

bool TBaseLiveTree::BeginNodeEdit(PLiveNode node, TColumnIndex column) {
  auto* stringModel = dynamic_cast<::TLiveStringTree*>(FModel.get());
  if (stringModel == nullptr || !TWinControl::HandleAllocated()) return false;
  if (!FEditor) {
    FEditor = std::make_unique<TLTEdit>(nullptr);
    FEditor->SetTree(this);
    FEditor->SetVisible(false);
    FEditor->SetParent(this);
  }
  String text = PlaceEditor(node, column);
  FEditor->Font().SetColor(clWindowText);
  FEditor->SetText(text);
  FEditor->SetModified(false);
  FEditNode = node;
  FEditor->Show();
  FEditor->SelectAll();
  FEditor->SetFocus();
  return true;
}

String TBaseLiveTree::PlaceEditor(PLiveNode node, TColumnIndex column) {
  TLiveTreeFont font = FModel->Font();
  TRect r;
  String text;
  FModel->GetTextInfo(node, column, font, r, text);
  ApplyFont(FEditor->Font(), font);
  // The editor sits on the text and stretches to the cell's right edge.
  TRect cell = FModel->GetDisplayRect(node, column, false);
  Integer height = std::max<Integer>(r.Height() + 4, FontHeight(font) + 6);
  Integer top = (r.Top + r.Bottom - height) / 2;
  FEditor->SetBounds(r.Left - 2, top, std::max<Integer>(cell.Right - r.Left + 2, 40), height);
  return text;
}

void TBaseLiveTree::FollowWithEditor() {
  // The editor stays on its cell wherever the content moves.
  if (FEditor && FEditNode != nullptr && FModel->IsEditing() && IsWindowVisible(FEditor->Handle()))
    PlaceEditor(FEditNode, FModel->EditColumn());
}

bool TBaseLiveTree::EndNodeEdit(bool accept) {
  if (FEndingEdit) return false;
  if (!FEditor) return true;
  FEndingEdit = true;
  try {
    auto* stringModel = dynamic_cast<::TLiveStringTree*>(FModel.get());
    if (accept && stringModel != nullptr && FEditNode != nullptr && FEditor->Modified())
      stringModel->SetNodeText(FEditNode, FModel->EditColumn(), FEditor->Text());
    FEditNode = nullptr;
    bool hadFocus = FEditor->Focused();
    FEditor->Hide();
    if (hadFocus && TWinControl::HandleAllocated()) ::SetFocus(Handle());
  } catch (...) {
    FEndingEdit = false;
    throw;
  }
  FEndingEdit = false;
  return true;
}

bool TBaseLiveTree::HandleHeaderMouse(TMessage& message) {
  ::TLTHeader& header = FModel->Header();
  bool nonClient = message.Msg >= WM_NCMOUSEMOVE && message.Msg <= WM_NCMBUTTONDBLCLK;
  TPoint p = MessagePoint(message.LParam);
  if (nonClient) {
    POINT screen{p.X, p.Y};
    ::ScreenToClient(Handle(), &screen);
    p = Point(screen.x, screen.y);
  }
  TShiftState shift = nonClient ? KeyboardShiftState() : MouseShiftState(message.WParam);
  switch (message.Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_LBUTTONDOWN:
      if (!header.MouseDown(p)) return false;
      SetCapture(Handle());
      RepaintFrame();
      return true;
    case WM_NCMOUSEMOVE:
    case WM_MOUSEMOVE:
      if (!header.MouseMove(p)) return false;
      RepaintFrame();
      return true;
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP: {
      bool handled = false;
      try {
        handled = header.MouseUp(p, shift);
      } catch (...) {
        // A failing click handler leaves neither the mouse captured nor
        // the column pressed.
        if (GetCapture() == Handle()) ReleaseCapture();
        RepaintFrame();
        throw;
      }
      if (!handled) return false;
      if (GetCapture() == Handle()) ReleaseCapture();
      RepaintFrame();
      return true;
    }
    case WM_NCLBUTTONDBLCLK:
      header.MouseDblClick(p, shift);
      RepaintFrame();
      return true;
    default: return false;
  }
}

TPopupMenu* TBaseLiveTree::QueryPopupMenu(PLiveNode node, TColumnIndex column, TPoint p) {
  using TGetPopup = TDelegate<void(TBaseLiveTree*, PLiveNode, TColumnIndex, const TPoint&, bool&, TPopupMenu*&)>;
  const std::any* stored = PublishedEvent(u"OnGetPopupMenu");
  const TGetPopup* handler = stored != nullptr ? std::any_cast<TGetPopup>(stored) : nullptr;
  if (handler == nullptr || !*handler) return nullptr;
  TPopupMenu* menu = nullptr;
  bool askParent = true;
  if (node == nullptr) {
    (*handler)(this, nullptr, NoColumn, p, askParent, menu);
    return menu;
  }
  // A node without a menu of its own may take its parent's.
  for (PLiveNode run = node; run != nullptr && run != FModel->RootNode() && menu == nullptr && askParent;
       run = run->Parent)
    (*handler)(this, run, column, p, askParent, menu);
  return menu;
}

bool TBaseLiveTree::ShowNodePopup(PLiveNode node, TColumnIndex column, TPoint p) {
  TPopupMenu* menu = QueryPopupMenu(node, column, p);
  if (menu == nullptr) return false;
  StopTimer(TimerIdEdit);
  menu->SetPopupComponent(this);
  POINT screen{p.X, p.Y};
  ::ClientToScreen(Handle(), &screen);
  menu->Popup(screen.x, screen.y);
  return true;
}

void TBaseLiveTree::ShowFocusedNodePopup() {
  PLiveNode node = FModel->FocusedNode();
  TColumnIndex column = FModel->FocusedColumn();
  if (node == nullptr) {
    ShowNodePopup(nullptr, column, Point(-1, -1));
    return;
  }
  // The middle of the focused cell's text, within the cell.
  ::TLiveTreeColumns& columns = FModel->Header().Columns();
  const bool inColumn = FModel->Header().UseColumns() && columns.IsValidColumn(column);
  TRect r = FModel->GetDisplayRect(node, inColumn ? column : NoColumn, true);
  Integer limit = inColumn ? columns[column]->Width() : ClientWidth();
  Integer width = std::min<Integer>(r.Width(), limit);
  ShowNodePopup(node, column, Point(r.Left + width / 2, (r.Top + r.Bottom) / 2));
}

bool TBaseLiveTree::HandleInput(TMessage& message) {
  ::TBaseLiveTree& model = *FModel;
  switch (message.Msg) {
    case WM_GETDLGCODE:
      message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (model.WantTabs() ? DLGC_WANTTAB : 0);
      return true;
    case WM_KEYDOWN:
      TCustomControl::WndProc(message);
      if (message.WParam == VK_ESCAPE && model.Header().CancelMouse()) {
        if (GetCapture() == Handle()) ReleaseCapture();
        RepaintFrame();
        return true;
      }
      if (message.WParam == VK_APPS) {
        ShowFocusedNodePopup();
        return true;
      }
      model.KeyDown(static_cast<Word>(message.WParam), KeyboardShiftState(),
                    TypedCharacter(message.WParam, message.LParam));
      return true;
    case WM_KEYUP:
      TCustomControl::WndProc(message);
      model.KeyUp(static_cast<Word>(message.WParam), KeyboardShiftState());
      return true;
    case WM_CHAR:
      model.KeyPress(static_cast<Char>(message.WParam));
      TCustomControl::WndProc(message);
      return true;
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
      if (model.Header().CancelMouse()) RepaintFrame();
      if (model.TreeStates().Contains(tsIncrementalSearching)) model.TimerFired(TimerIdSearch);
      model.CancelMouseModes();
      return false;
    case WM_CAPTURECHANGED:
      // Another window took the mouse: panning cannot go on.
      if (model.IsPanning() && reinterpret_cast<HWND>(message.LParam) != Handle()) model.StopWheelPanning();
      return false;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      if (message.Msg == WM_LBUTTONDOWN && HandleHeaderMouse(message)) return true;
      if (!Focused() && IsWindowEnabled(Handle())) ::SetFocus(Handle());
      TMouseButton button =
          message.Msg == WM_LBUTTONDOWN ? mbLeft : (message.Msg == WM_RBUTTONDOWN ? mbRight : mbMiddle);
      TPoint p = MessagePoint(message.LParam);
      if (button == mbLeft) SetCapture(Handle());
      model.MouseDown(button, MouseShiftState(message.WParam), p.X, p.Y);
      if (button == mbLeft && model.PressMayDrag()) {
        // A press on a node's content may become a drag.
        FDragStart = p;
        model.SetOleDragPending(true);
      }
      return false;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      if (message.Msg == WM_LBUTTONUP && HandleHeaderMouse(message)) return true;
      if (message.Msg == WM_LBUTTONUP && GetCapture() == Handle()) ReleaseCapture();
      TMouseButton button = message.Msg == WM_LBUTTONUP ? mbLeft : (message.Msg == WM_RBUTTONUP ? mbRight : mbMiddle);
      TPoint p = MessagePoint(message.LParam);
      model.MouseUp(button, MouseShiftState(message.WParam), p.X, p.Y);
      if (button == mbRight && PopupMenu() == nullptr) {
        // Without a menu of its own the tree asks for one for the node.
        THitInfo hit;
        model.GetHitTestInfoAt(p.X, p.Y, true, hit);
        ShowNodePopup(hit.HitNode, hit.HitColumn, p);
      }
      return false;
    }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      TMouseButton button =
          message.Msg == WM_LBUTTONDBLCLK ? mbLeft : (message.Msg == WM_RBUTTONDBLCLK ? mbRight : mbMiddle);
      TPoint p = MessagePoint(message.LParam);
      model.MouseDblClick(button, MouseShiftState(message.WParam), p.X, p.Y);
      return false;
    }
    case WM_MOUSEMOVE: {
      if (HandleHeaderMouse(message)) return true;
      TPoint p = MessagePoint(message.LParam);
      if (model.TreeStates().Contains(tsOLEDragPending)) {
        if ((message.WParam & MK_LBUTTON) == 0) {
          model.SetOleDragPending(false);
        } else if (std::abs(p.X - FDragStart.X) > GetSystemMetrics(SM_CXDRAG) ||
                   std::abs(p.Y - FDragStart.Y) > GetSystemMetrics(SM_CYDRAG)) {
          // The platform's drag loop takes the mouse from here.
          if (GetCapture() == Handle()) ReleaseCapture();
          RunOleDrag();
          return true;
        }
      }
      model.MouseMove(MouseShiftState(message.WParam), p.X, p.Y);
      return false;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCMOUSEMOVE:
      if (message.Msg == WM_NCLBUTTONDOWN && !Focused() && IsWindowEnabled(Handle())) ::SetFocus(Handle());
      return HandleHeaderMouse(message);
    case WM_MOUSEWHEEL: {
      UINT lines = 3;
      SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
      Integer wheelLines = lines == WHEEL_PAGESCROLL ? -1 : static_cast<Integer>(lines);
      model.MouseWheel(static_cast<short>(HIWORD(message.WParam)), MouseShiftState(LOWORD(message.WParam)), wheelLines);
      message.Result = 0;
      return true;
    }
    case WM_SETCURSOR: {
      if (model.IsPanning()) {
        SetPanningCursor(FPanningCursorImage);
        message.Result = 1;
        return true;
      }
      if (LOWORD(message.LParam) != HTCLIENT && LOWORD(message.LParam) != HTBORDER &&
          LOWORD(message.LParam) != HTNOWHERE)
        return false;
      POINT cursor{};
      GetCursorPos(&cursor);
      ::ScreenToClient(Handle(), &cursor);
      ::TLTHeader& header = model.Header();
      if (header.States().Empty() && !header.ColumnSplitterHit(Point(cursor.x, cursor.y))) return false;
      ::SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
      message.Result = 1;
      return true;
    }
    case TVM_GETITEMW:
    case TVM_GETITEMRECT:
    case TVM_GETNEXTITEM: message.Result = HandleTreeViewMessage(message); return true;
    case WM_GETOBJECT: message.Result = HandleGetObject(message); return true;
    case CM_HINTSHOW: {
      if (model.HintMode() != hmTooltip) return false;
      auto* info = reinterpret_cast<THintInfo*>(message.LParam);
      TLTTooltip tooltip;
      // Nothing pops up while the mouse draws a rectangle or the tree moves.
      const bool busy = model.IsMouseSelecting() || model.IsPanning() || model.TreeStates().Contains(tsScrolling);
      if (info == nullptr || busy || !model.TooltipAt(info->CursorPos.X, info->CursorPos.Y, tooltip)) {
        message.Result = 1;
        return true;
      }
      // The whole text lies exactly over the cut-off one.
      info->HintStr = tooltip.Text;
      info->CursorRect = tooltip.CellRect;
      TPoint origin = ClientToScreen(Point(tooltip.TextRect.Left - 3, tooltip.TextRect.Top));
      info->HintPos = origin;
      info->HintWindowClass = [] { return new TLiveTreeHintWindow(Application); };
      info->HintWindowClassId = TLiveTreeHintWindow::ClassId();
      info->HintData = this;
      message.Result = 0;
      return true;
    }
    default: return false;
  }
}

LRESULT TBaseLiveTree::HandleTreeViewMessage(const TMessage& message) {
  ::TBaseLiveTree& model = *FModel;
  switch (message.Msg) {
    case TVM_GETNEXTITEM: {
      // The item handle comes from outside: only this tree's nodes count.
      PLiveNode node = model.NodeFromHandle(reinterpret_cast<const void*>(message.LParam));
      PLiveNode result = nullptr;
      switch (message.WParam) {
        case TVGN_ROOT: result = model.GetFirst(); break;
        case TVGN_NEXT: result = node != nullptr ? node->NextSibling : nullptr; break;
        case TVGN_PREVIOUS: result = node != nullptr ? node->PrevSibling : nullptr; break;
        case TVGN_PARENT: result = node != nullptr ? model.NodeParent(node) : nullptr; break;
        case TVGN_CHILD: result = node != nullptr ? model.GetFirstChild(node) : nullptr; break;
        case TVGN_FIRSTVISIBLE: result = model.GetFirstVisible(nullptr, true, false); break;
        case TVGN_NEXTVISIBLE: result = node != nullptr ? model.GetNextVisible(node, true) : nullptr; break;
        case TVGN_PREVIOUSVISIBLE: result = node != nullptr ? model.GetPreviousVisible(node, true) : nullptr; break;
        case TVGN_DROPHILITE: result = model.DropTargetNode(); break;
        case TVGN_CARET: result = model.FocusedNode(); break;
        case TVGN_LASTVISIBLE: result = model.GetLastVisible(nullptr, true, false); break;
        default: break;
      }
      return reinterpret_cast<LRESULT>(result);
    }
    case TVM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(message.LParam);
      if (rect == nullptr) return FALSE;
      // The buffer carries the item handle in.
      const void* handle = nullptr;
      std::memcpy(&handle, rect, sizeof handle);
      PLiveNode node = model.NodeFromHandle(handle);
      if (node == nullptr || !model.GetEffectivelyVisible(node) || !model.AncestorsShown(node)) return FALSE;
      TRect r = model.GetDisplayRect(node, NoColumn, message.WParam != 0);
      *rect = RECT{r.Left, r.Top, r.Right, r.Bottom};
      return TRUE;
    }
    case TVM_GETITEMW: {
      auto* item = reinterpret_cast<TVITEMW*>(message.LParam);
      if (item == nullptr || (item->mask & TVIF_HANDLE) == 0) return FALSE;
      PLiveNode node = model.NodeFromHandle(item->hItem);
      if (node == nullptr) return FALSE;
      if (item->mask & TVIF_CHILDREN) item->cChildren = static_cast<int>(node->ChildCount);
      if (item->mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)) {
        bool ghosted = false;
        if (item->mask & TVIF_IMAGE) item->iImage = model.QueryImageIndex(node, ikNormal, NoColumn, ghosted);
        if (item->mask & TVIF_SELECTEDIMAGE)
          item->iSelectedImage = model.QueryImageIndex(node, ikSelected, NoColumn, ghosted);
      }
      if (item->mask & TVIF_STATE) {
        item->stateMask = 0xFF2F;
        item->state = 0;
        if (node == model.FocusedNode()) item->state |= TreeItemFocused;
        if (node->Has(vsSelected)) item->state |= TVIS_SELECTED;
        if (node->Has(vsCutOrCopy)) item->state |= TVIS_CUT;
        if (node == model.DropTargetNode()) item->state |= TVIS_DROPHILITED;
        if (node->Has(vsExpanded)) item->state |= TVIS_EXPANDED;
      }
      if ((item->mask & TVIF_TEXT) && item->pszText != nullptr && item->cchTextMax > 0) {
        TLiveTreeFont font = model.Font();
        TRect r;
        String text;
        model.GetTextInfo(node, NoColumn, font, r, text);
        size_t length = std::min<size_t>(text.size(), static_cast<size_t>(item->cchTextMax) - 1);
        std::copy_n(text.data(), length, item->pszText);
        item->pszText[length] = 0;
      }
      return TRUE;
    }
    default: return 0;
  }
}

void TBaseLiveTree::Paint() {
  TCanvas& target = TCustomControl::Canvas();
  TRect update = target.ClipRect();
  Integer width = update.Right - update.Left, height = update.Bottom - update.Top;
  if (width <= 0 || height <= 0) return;
  // The rows are drawn off screen and copied at once, so nothing flickers.
  TBitmap buffer;
  buffer.SetSize(width, height);
  TCanvasSurface surface(buffer.Canvas(), *this, Point(-update.Left, -update.Top));
  // Fixed columns stay where they are; the rest scrolls horizontally.
  Integer fixed = FModel->Header().UseColumns() ? FModel->Header().Columns().GetVisibleFixedWidth() : 0;
  auto paintPart = [&](Integer left, Integer right, Integer scrollX) {
    if (right <= left) return;
    TRect window =
        Rect(left + scrollX, update.Top - FModel->OffsetY(), right + scrollX, update.Bottom - FModel->OffsetY());
    FModel->PaintTree(surface, window, Point(left, update.Top), ScreenPaintOptions);
  };
  paintPart(update.Left, std::min(update.Right, fixed), 0);
  paintPart(std::max(update.Left, fixed), update.Right, FModel->EffectiveOffsetX());
  BitBlt(target.Handle(), update.Left, update.Top, width, height, buffer.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TBaseLiveTree::PrepareDragImage(IDataObject* dataObject) {
  // The shell's helper draws the image where the platform has one; without
  // it the drag shows the cursor alone.
  IDragSourceHelper* helper = nullptr;
  if (FAILED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDragSourceHelper,
                              reinterpret_cast<void**>(&helper))) ||
      helper == nullptr)
    return;
  Integer width = std::max(1, std::min(FModel->DragWidth(), ClientWidth()));
  Integer height = std::max(1, std::min(FModel->DragHeight(), ClientHeight()));
  TBitmap image;
  image.SetSize(width, height);
  TCanvas& canvas = image.Canvas();
  canvas.Brush().SetColor(Color());
  canvas.FillRect(Rect(0, 0, width, height));
  POINT cursor{};
  GetCursorPos(&cursor);
  TPoint hot = ScreenToClient(Point(cursor.x, cursor.y));
  Integer left = std::max(0, hot.X - width / 2), top = std::max(0, hot.Y - height / 2);
  {
    TCanvasSurface surface(canvas, *this, Point(0, 0));
    TLTInternalPaintOptions options{poDrawSelection, poSelectedOnly};
    if (FModel->Header().UseColumns()) options += poColumnColor;
    FModel->PaintTree(surface,
                      Rect(left + FModel->EffectiveOffsetX(), top - FModel->OffsetY(),
                           left + FModel->EffectiveOffsetX() + width, top - FModel->OffsetY() + height),
                      Point(0, 0), options);
  }
  SHDRAGIMAGE drag{};
  drag.sizeDragImage = SIZE{width, height};
  drag.ptOffset = POINT{hot.X - left, hot.Y - top};
  drag.hbmpDragImage = static_cast<HBITMAP>(CopyImage(image.Handle(), IMAGE_BITMAP, 0, 0, 0));
  drag.crColorKey = RGBOf(Color());
  if (drag.hbmpDragImage != nullptr && FAILED(helper->InitializeFromBitmap(&drag, dataObject)))
    DeleteObject(drag.hbmpDragImage);
  helper->Release();
}

void TBaseLiveTree::NonClientPaint() {
  Integer headerHeight = HeaderHeight();
  if (headerHeight <= 0) return;
  HWND window = Handle();
  RECT frame{};
  GetWindowRect(window, &frame);
  POINT client{0, 0};
  ::ClientToScreen(window, &client);
  HDC dc = GetWindowDC(window);
  if (dc == nullptr) return;
  // The strip also covers the corner above a vertical scroll bar.
  Integer border = client.x - frame.left;
  PaintHeader(dc, border, client.y - frame.top - headerHeight,
              std::max<Integer>(0, frame.right - frame.left - 2 * border));
  ReleaseDC(window, dc);
}

void TBaseLiveTree::PaintHeader(HDC dc, Integer x, Integer y, Integer width) {
  const ::TLTHeader& header = FModel->Header();
  if (width < 0) width = ClientWidth();
  Integer height = HeaderHeight();
  if (width <= 0 || height <= 0) return;
  TBitmap buffer;
  buffer.SetSize(width, height);
  TCanvas& canvas = buffer.Canvas();
  HDC memory = canvas.Handle();
  canvas.Brush().SetColor(header.Background());
  canvas.FillRect(Rect(0, 0, width, height));
  ApplyFont(canvas.Font(), header.Font());
  const ::TLiveTreeColumns& columns = header.Columns();
  Integer offset = FModel->EffectiveOffsetX();
  Integer fixedWidth = columns.GetVisibleFixedWidth();
  bool showRightBorder = header.Style() == hsThickButtons || !header.Options().Contains(hoAutoResize);
  TColumnIndex lastByIndex = columns.Count() - 1;
  for (TColumnIndex column = columns.GetFirstVisibleColumn(); column >= 0;
       column = columns.GetNextVisibleColumn(column)) {
    const ::TLiveTreeColumn* item = columns.Items(column);
    Integer left = 0, right = 0;
    item->AbsoluteBounds(left, right);
    // Scrolling columns pass under the fixed ones.
    Integer clipLeft = 0;
    if (!item->Options().Contains(coFixed)) {
      left -= offset;
      right -= offset;
      clipLeft = fixedWidth;
    }
    if (right <= clipLeft) continue;
    if (left >= width) continue;
    RECT cell{left, 0, right, height};
    SelectClipRgn(memory, nullptr);
    IntersectClipRect(memory, std::max(clipLeft, left), 0, std::min(width, right), height);
    bool pressed = columns.DownIndex() == column;
    UINT rightBorder = showRightBorder || column != lastByIndex ? BF_RIGHT : 0;
    UINT edge = 0, flags = 0;
    switch (header.Style()) {
      case hsThickButtons:
        edge = EDGE_RAISED;
        flags = pressed ? 0x780F : 0x380B | rightBorder;
        break;
      case hsFlatButtons:
        edge = pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER;
        flags = pressed ? 0x280F : 0x280B | rightBorder;
        break;
      case hsPlates:
        edge = pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER;
        flags = pressed ? 0x280F : 0x380F | rightBorder;
        break;
    }
    RECT inner = cell;
    DrawEdge(memory, &inner, edge, flags);
    // The layout area: the cell less two pixels, less the margins.
    TRect text = Rect(cell.left + 2 + item->Margin(), cell.top + 2, cell.right - 2 - item->Margin(), cell.bottom - 2);
    if (pressed) text = Rect(text.Left + 1, text.Top + 1, text.Right + 1, text.Bottom + 1);
    bool sortGlyph = column == header.SortColumn() && header.Options().Contains(hoShowSortGlyphs);
    constexpr Integer SortGlyphWidth = 8;
    if (sortGlyph) text.Right -= SortGlyphWidth + item->Spacing();
    String caption = item->Text();
    Integer textWidth = TextExtent(header.Font(), caption).cx;
    if (textWidth > text.Right - text.Left) {
      caption = ShortenText(*this, header.Font(), caption, text.Right - text.Left, 0);
      textWidth = TextExtent(header.Font(), caption).cx;
    }
    UINT format = DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
    TAlignment alignment = item->CaptionAlignment();
    if (alignment == taRightJustify) format |= DT_RIGHT;
    if (alignment == taCenter) format |= DT_CENTER;
    bool enabled = item->Options().Contains(coEnabled) && FModel->Enabled();
    canvas.Brush().SetStyle(bsClear);
    TLiveTreeFont font = header.Font();
    font.Color = enabled ? font.Color : clGrayText;
    ApplyFont(canvas.Font(), font);
    TRect textRect = text;
    canvas.DrawText(caption, textRect, format);
    canvas.Brush().SetStyle(bsSolid);
    if (sortGlyph) {
      // The arrow sits after the caption, pointing up for ascending order.
      Integer captionRight = alignment == taLeftJustify ? text.Left + textWidth : text.Right;
      Integer gx = std::min(captionRight + item->Spacing(), static_cast<Integer>(cell.right) - 2 - SortGlyphWidth);
      Integer gy = (height - 4) / 2;
      std::vector<POINT> arrow;
      if (header.SortDirection() == sdAscending)
        arrow = {{gx, gy + 4}, {gx + SortGlyphWidth, gy + 4}, {gx + SortGlyphWidth / 2, gy}};
      else
        arrow = {{gx, gy}, {gx + SortGlyphWidth, gy}, {gx + SortGlyphWidth / 2, gy + 4}};
      TSolidTools tools(memory, clBtnShadow, clBtnShadow);
      ::Polygon(memory, arrow.data(), static_cast<int>(arrow.size()));
    }
  }
  SelectClipRgn(memory, nullptr);
  BitBlt(dc, x, y, width, height, memory, 0, 0, SRCCOPY);
}

void TBaseLiveTree::WndProc(TMessage& message) {
  if (!FModel) {
    TCustomControl::WndProc(message);
    return;
  }
  if (HandleInput(message)) return;
  switch (message.Msg) {
    case WM_ERASEBKGND: message.Result = 1; return;
    case 0xB7D0: message.Result = 1; return;
    case WM_NCCALCSIZE: {
      TCustomControl::WndProc(message);
      RECT* r = message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0]
                               : reinterpret_cast<RECT*>(message.LParam);
      r->top = std::min(r->bottom, r->top + HeaderHeight());
      return;
    }
    case WM_NCPAINT:
      TCustomControl::WndProc(message);
      NonClientPaint();
      return;
    case WM_VSCROLL:
    case WM_HSCROLL:
      HandleScroll(message.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(message.WParam));
      message.Result = 0;
      return;
    case WM_TIMER:
      if (message.WParam >= TimerIdExpand && message.WParam <= TimerIdThemeChange) {
        FModel->TimerFired(static_cast<int>(message.WParam));
        return;
      }
      break;
    case WM_LIVETREE_HANDOVER: FModel->DispatchHandOvers(); return;
    // The edit menu's commands, as any window takes them.
    case WM_COPY: CopyToClipboard(); return;
    case WM_CUT: CutToClipboard(); return;
    case WM_PASTE: PasteFromClipboard(); return;
    case WM_SIZE:
      TCustomControl::WndProc(message);
      ClientSizeChanged();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::WndProc(message);
      Invalidate();
      return;
    default: break;
  }
  TCustomControl::WndProc(message);
}

// ---------------------------------------------------------------------------
// The string and draw trees

TLiveStringTree::TLiveStringTree(TComponent* owner)
    : TBaseLiveTree(owner, std::make_unique<::TLiveStringTree>(nullptr), true) {}

TLiveStringTree::~TLiveStringTree() {
  // The owner's handlers die with the owner: a form being destroyed has
  // already run its destructor, so the clipboard renders without them.
  if (OwnerDestroying()) {
    SetOnGetText({});
    SetOnPaintText({});
    DropPublishedHandlers();
  }
  try {
    FlushClipboard();
  } catch (...) {
    // A failing rendering leaves the clipboard without that format.
  }
}

void TLiveStringTree::DefineProperties(TFiler& filer) {
  TBaseLiveTree::DefineProperties(filer);
  filer.DefineProperty(
      u"WideDefaultText", [this](TReader& reader) { SetDefaultText(reader.ReadString()); },
      [this](TWriter& writer) { writer.WriteWideString(DefaultText()); }, DefaultText() != u"Node");
}

void TLiveStringTree::SetOnGetText(const TLSTGetTextEvent& value) {
  FOnGetText = value;
  StringModel().OnGetText =
      value ? ::TLSTGetTextEvent([this](::TBaseLiveTree*, PLiveNode node, TColumnIndex column, TLSTTextType type,
                                        String& text) { FOnGetText(this, node, column, type, text); })
            : nullptr;
}

void TLiveStringTree::SetOnPaintText(const TLTPaintText& value) {
  FOnPaintText = value;
  StringModel().OnPaintText =
      value ? ::TLTPaintText([this](::TBaseLiveTree*, TCanvas* canvas, PLiveNode node, TColumnIndex column,
                                    TLSTTextType type) { FOnPaintText(this, canvas, node, column, type); })
            : nullptr;
}

void TLiveStringTree::Describe(TClassBuilder<TLiveStringTree>& c) {
  using T = TLiveStringTree;
  c.Property(u"DefaultText", &T::DefaultText, &T::SetDefaultText).Stored(false);
  c.Property(u"OnGetText", &T::OnGetText, &T::SetOnGetText);
  c.Property(u"OnPaintText", &T::OnPaintText, &T::SetOnPaintText);
  PublishStringTreeEvents(c);
}

TLiveDrawTree::TLiveDrawTree(TComponent* owner)
    : TBaseLiveTree(owner, std::make_unique<::TLiveDrawTree>(nullptr), false) {}

void TLiveDrawTree::Describe(TClassBuilder<TLiveDrawTree>& c) {
  PublishDrawTreeEvents(c);
}

}  // namespace ltcontrol

void RegisterLiveTreeClasses(TClassRegistry& registry) {
  registry.RegisterClasses({&ltcontrol::TBaseLiveTree::StaticClass(), &ltcontrol::TLiveStringTree::StaticClass(),
                            &ltcontrol::TLiveDrawTree::StaticClass(), &ltcontrol::TLiveTreeOptions::StaticClass(),
                            &ltcontrol::TStringTreeOptions::StaticClass(), &ltcontrol::TLiveTreeColumn::StaticClass(),
                            &ltcontrol::TLiveTreeColumns::StaticClass(), &ltcontrol::TLTHeader::StaticClass(),
                            &ltcontrol::TScrollBarOptions::StaticClass(), &ltcontrol::TLTColors::StaticClass(),
                            &ltcontrol::TClipboardFormats::StaticClass(), &ltcontrol::TLTEdit::StaticClass()},
                           u"LiveTree");
  for (const TTypeInfo* type : {&DescribeType(TypeTag<TSet<TLTPaintOption>>{}),
                                &DescribeType(TypeTag<TSet<TLTAnimationOption>>{}),
                                &DescribeType(TypeTag<TSet<TLTAutoOption>>{}),
                                &DescribeType(TypeTag<TSet<TLTSelectionOption>>{}),
                                &DescribeType(TypeTag<TSet<TLTMiscOption>>{}),
                                &DescribeType(TypeTag<TSet<TLTStringOption>>{}),
                                &DescribeType(TypeTag<TSet<TLTColumnOption>>{}),
                                &DescribeType(TypeTag<TSet<TLTHeaderOption>>{}),
                                &DescribeType(TypeTag<TLTHeaderStyle>{}),
                                &DescribeType(TypeTag<TLiveTreeColumnStyle>{}),
                                &DescribeType(TypeTag<TLTLineStyle>{}),
                                &DescribeType(TypeTag<TLTLineMode>{}),
                                &DescribeType(TypeTag<TLTButtonStyle>{}),
                                &DescribeType(TypeTag<TLTButtonFillMode>{}),
                                &DescribeType(TypeTag<TCheckImageKind>{}),
                                &DescribeType(TypeTag<TLTDrawSelectionMode>{}),
                                &DescribeType(TypeTag<TLTNodeAlignment>{}),
                                &DescribeType(TypeTag<TLTIncrementalSearch>{}),
                                &DescribeType(TypeTag<TLTHintMode>{}),
                                &DescribeType(TypeTag<THintAnimationType>{}),
                                &DescribeType(TypeTag<TSortDirection>{}),
                                &DescribeType(TypeTag<TCheckType>{}),
                                &DescribeType(TypeTag<TCheckState>{}),
                                &DescribeType(TypeTag<TLTExportMode>{}),
                                &ltcontrol::DescribeType(TypeTag<ltcontrol::TLSTGetTextEvent>{}),
                                &ltcontrol::DescribeType(TypeTag<ltcontrol::TLTPaintText>{}),
                                &ltcontrol::DescribeType(TypeTag<ltcontrol::TLTGetImageEvent>{}),
                                &ltcontrol::DescribeType(TypeTag<ltcontrol::TLTCompareEvent>{}),
                                &ltcontrol::DescribeType(TypeTag<ltcontrol::TLTIncrementalSearchEvent>{}),
                                &ltcontrol::DescribeType(TypeTag<ltcontrol::TLTFocusChangeEvent>{}),
                                &ltcontrol::DescribeType(TypeTag<ltcontrol::TLTChangeEvent>{}),
                                &ltcontrol::DescribeType(TypeTag<ltcontrol::TLTInitNodeEvent>{})})
    registry.RegisterType(*type);
}
