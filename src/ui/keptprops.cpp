#include "ui/keptprops.h"

KST_CLASS_IMPL(TMargins, "Controls")
KST_CLASS_IMPL(TImageMargins, "StdCtrls")

namespace {

constexpr TParamFlags kConst = ParamFlagBit(pfConst);

std::unique_ptr<TMethodTypeInfo> MakeKeptEventType(TKeptEvent event) {
  const auto sender = Param(u"Sender", u"TObject");
  const auto make = [](const char16_t* name, const char16_t* unit, std::vector<TMethodParam> params) {
    return std::make_unique<TMethodTypeInfo>(name, unit, mkProcedure, std::move(params));
  };
  const auto lvCustomDraw = [&](const char16_t* name, bool item, bool subItem, bool advanced) {
    std::vector<TMethodParam> params{sender};
    if (item || subItem) params.push_back(Param(u"Item", u"TListItem"));
    else params.push_back(Param(u"ARect", u"TRect", kConst));
    if (subItem) params.push_back(Param(u"SubItem", u"Integer"));
    if (item || subItem) params.push_back(Param(u"State", u"TCustomDrawState"));
    if (advanced) params.push_back(Param(u"Stage", u"TCustomDrawStage"));
    params.push_back(Param(u"DefaultDraw", u"Boolean", kVarParam));
    return make(name, u"ComCtrls", std::move(params));
  };
  const auto tvCustomDraw = [&](const char16_t* name, bool advanced) {
    std::vector<TMethodParam> params{sender, Param(u"Node", u"TTreeNode"), Param(u"State", u"TCustomDrawState")};
    if (advanced) params.push_back(Param(u"Stage", u"TCustomDrawStage"));
    if (advanced) params.push_back(Param(u"PaintImages", u"Boolean", kVarParam));
    params.push_back(Param(u"DefaultDraw", u"Boolean", kVarParam));
    return make(name, u"ComCtrls", std::move(params));
  };
  switch (event) {
    case TKeptEvent::Notify:
      return make(u"TNotifyEvent", u"Classes", {sender});
    case TKeptEvent::FontApply:
      return make(u"TFDApplyEvent", u"Dialogs", {sender, Param(u"Wnd", u"HWND")});
    case TKeptEvent::MonitorDpiChanged:
      return make(u"TMonitorDpiChangedEvent", u"Forms",
                  {sender, Param(u"OldDPI", u"Integer"), Param(u"NewDPI", u"Integer")});
    case TKeptEvent::ConstrainedResize:
      return make(u"TConstrainedResizeEvent", u"Controls",
                  {sender, Param(u"MinWidth", u"Integer", kVarParam), Param(u"MinHeight", u"Integer", kVarParam),
                   Param(u"MaxWidth", u"Integer", kVarParam), Param(u"MaxHeight", u"Integer", kVarParam)});
    case TKeptEvent::ShortCut:
      return make(u"TShortCutEvent", u"Forms",
                  {Param(u"Msg", u"TWMKey", kVarParam), Param(u"Handled", u"Boolean", kVarParam)});
    case TKeptEvent::DrawItem:
      return make(u"TDrawItemEvent", u"StdCtrls",
                  {Param(u"Control", u"TWinControl"), Param(u"Index", u"Integer"), Param(u"Rect", u"TRect"),
                   Param(u"State", u"TOwnerDrawState")});
    case TKeptEvent::DrawTab:
      return make(u"TDrawTabEvent", u"ComCtrls",
                  {Param(u"Control", u"TCustomTabControl"), Param(u"TabIndex", u"Integer"),
                   Param(u"Rect", u"TRect", kConst), Param(u"Active", u"Boolean")});
    case TKeptEvent::SplitterCanResize:
      return make(u"TCanResizeEvent", u"ExtCtrls",
                  {sender, Param(u"NewSize", u"Integer", kVarParam), Param(u"Accept", u"Boolean", kVarParam)});
    case TKeptEvent::LVData:
      return make(u"TLVOwnerDataEvent", u"ComCtrls", {sender, Param(u"Item", u"TListItem")});
    case TKeptEvent::LVDeletion:
      return make(u"TLVDeletedEvent", u"ComCtrls", {sender, Param(u"Item", u"TListItem")});
    case TKeptEvent::LVCustomDraw:
      return lvCustomDraw(u"TLVCustomDrawEvent", false, false, false);
    case TKeptEvent::LVCustomDrawItem:
      return lvCustomDraw(u"TLVCustomDrawItemEvent", true, false, false);
    case TKeptEvent::LVCustomDrawSubItem:
      return lvCustomDraw(u"TLVCustomDrawSubItemEvent", false, true, false);
    case TKeptEvent::LVAdvancedCustomDraw:
      return lvCustomDraw(u"TLVAdvancedCustomDrawEvent", false, false, true);
    case TKeptEvent::LVAdvancedCustomDrawItem:
      return lvCustomDraw(u"TLVAdvancedCustomDrawItemEvent", true, false, true);
    case TKeptEvent::LVAdvancedCustomDrawSubItem:
      return lvCustomDraw(u"TLVAdvancedCustomDrawSubItemEvent", false, true, true);
    case TKeptEvent::TVCompare:
      return make(u"TTVCompareEvent", u"ComCtrls",
                  {sender, Param(u"Node1", u"TTreeNode"), Param(u"Node2", u"TTreeNode"), Param(u"Data", u"Integer"),
                   Param(u"Compare", u"Integer", kVarParam)});
    case TKeptEvent::TVCustomDrawItem:
      return tvCustomDraw(u"TTVCustomDrawItemEvent", false);
    case TKeptEvent::TVAdvancedCustomDrawItem:
      return tvCustomDraw(u"TTVAdvancedCustomDrawItemEvent", true);
    case TKeptEvent::TVEdited:
      return make(u"TTVEditedEvent", u"ComCtrls",
                  {sender, Param(u"Node", u"TTreeNode"), Param(u"S", u"string", kVarParam)});
    case TKeptEvent::TVEditing:
      return make(u"TTVEditingEvent", u"ComCtrls",
                  {sender, Param(u"Node", u"TTreeNode"), Param(u"AllowEdit", u"Boolean", kVarParam)});
    case TKeptEvent::Gesture:
      return make(u"TGestureEvent", u"Controls",
                  {sender, Param(u"EventInfo", u"TGestureEventInfo", kConst), Param(u"Handled", u"Boolean", kVarParam)});
    case TKeptEvent::MouseActivate:
      return make(u"TMouseActivateEvent", u"Controls",
                  {sender, Param(u"Button", u"TMouseButton"), Param(u"Shift", u"TShiftState"), Param(u"X", u"Integer"),
                   Param(u"Y", u"Integer"), Param(u"HitTest", u"Integer"),
                   Param(u"MouseActivate", u"TMouseActivate", kVarParam)});
    case TKeptEvent::StartDock:
      return make(u"TStartDockEvent", u"Controls", {sender, Param(u"DragObject", u"TDragDockObject", kVarParam)});
    case TKeptEvent::MeasureItem:
      return make(u"TMeasureItemEvent", u"StdCtrls",
                  {Param(u"Control", u"TWinControl"), Param(u"Index", u"Integer"),
                   Param(u"Height", u"Integer", kVarParam)});
    case TKeptEvent::UDChanging:
      return make(u"TUDChangingEvent", u"ComCtrls", {sender, Param(u"AllowChange", u"Boolean", kVarParam)});
    case TKeptEvent::GetPickList:
      return make(u"TGetPickListEvent", u"ValEdit",
                  {sender, Param(u"KeyName", u"string", kConst), Param(u"Values", u"TStrings")});
    case TKeptEvent::SetEditText:
      return make(u"TSetEditEvent", u"Grids",
                  {sender, Param(u"ACol", u"Integer"), Param(u"ARow", u"Integer"), Param(u"Value", u"string", kConst)});
    case TKeptEvent::GetColors:
      return make(u"TGetColorsEvent", u"ExtCtrls", {Param(u"Sender", u"TCustomColorBox"), Param(u"Items", u"TStrings")});
    case TKeptEvent::ListBoxGetColors:
      return make(u"TLBGetColorsEvent", u"ExtCtrls",
                  {Param(u"Sender", u"TCustomColorListBox"), Param(u"Items", u"TStrings")});
    case TKeptEvent::TabGetImageIndex:
      return make(u"TTabGetImageEvent", u"Tabs",
                  {sender, Param(u"TabIndex", u"Integer"), Param(u"ImageIndex", u"Integer", kVarParam)});
    case TKeptEvent::DrawTabSet:
      return make(u"TDrawTabEvent", u"Tabs",
                  {sender, Param(u"TabCanvas", u"TCanvas"), Param(u"R", u"TRect"), Param(u"Index", u"Integer"),
                   Param(u"Selected", u"Boolean")});
    case TKeptEvent::MeasureTab:
      return make(u"TMeasureTabEvent", u"Tabs",
                  {sender, Param(u"Index", u"Integer"), Param(u"TabWidth", u"Integer", kVarParam)});
    case TKeptEvent::TabChange:
      return make(u"TTabChangeEvent", u"Tabs",
                  {sender, Param(u"NewTab", u"Integer"), Param(u"AllowChange", u"Boolean", kVarParam)});
    case TKeptEvent::CloseQuery:
      return make(u"TCloseQueryEvent", u"Forms", {sender, Param(u"CanClose", u"Boolean", kVarParam)});
    case TKeptEvent::HelpEvent:
      return make(u"THelpEvent", u"Classes",
                  {Param(u"Command", u"Word"), Param(u"Data", u"NativeInt"), Param(u"CallHelp", u"Boolean", kVarParam)});
    case TKeptEvent::LinkClick:
      return make(u"TSysLinkEvent", u"ExtCtrls",
                  {sender, Param(u"Link", u"string", kConst), Param(u"LinkType", u"TSysLinkType")});
    case TKeptEvent::ToolBarCustomDraw:
      return make(u"TTBCustomDrawEvent", u"ComCtrls",
                  {Param(u"Sender", u"TToolBar"), Param(u"ARect", u"TRect", kConst),
                   Param(u"DefaultDraw", u"Boolean", kVarParam)});
    case TKeptEvent::ToolButtonCustomDraw:
      return make(u"TTBCustomDrawBtnEvent", u"ComCtrls",
                  {Param(u"Sender", u"TToolBar"), Param(u"Button", u"TToolButton"), Param(u"State", u"TCustomDrawState"),
                   Param(u"DefaultDraw", u"Boolean", kVarParam)});
    case TKeptEvent::SelectCell:
      return make(u"TSelectCellEvent", u"Grids",
                  {sender, Param(u"ACol", u"Integer"), Param(u"ARow", u"Integer"),
                   Param(u"CanSelect", u"Boolean", kVarParam)});
    case TKeptEvent::DockDrop:
      return make(u"TDockDropEvent", u"Controls",
                  {sender, Param(u"Source", u"TDragDockObject"), Param(u"X", u"Integer"), Param(u"Y", u"Integer")});
    case TKeptEvent::DockOver:
      return make(u"TDockOverEvent", u"Controls",
                  {sender, Param(u"Source", u"TDragDockObject"), Param(u"X", u"Integer"), Param(u"Y", u"Integer"),
                   Param(u"State", u"TDragState"), Param(u"Accept", u"Boolean", kVarParam)});
    case TKeptEvent::UnDock:
      return make(u"TUnDockEvent", u"Controls",
                  {sender, Param(u"Client", u"TControl"), Param(u"NewTarget", u"TWinControl"),
                   Param(u"Allow", u"Boolean", kVarParam)});
    case TKeptEvent::GetSiteInfo:
      return make(u"TGetSiteInfoEvent", u"Controls",
                  {sender, Param(u"DockClient", u"TControl"), Param(u"InfluenceRect", u"TRect", kVarParam),
                   Param(u"MousePos", u"TPoint"), Param(u"CanDock", u"Boolean", kVarParam)});
  }
  return make(u"TNotifyEvent", u"Classes", {sender});
}

}  // namespace

const TMethodTypeInfo& KeptEventType(TKeptEvent event) {
  static const std::vector<std::unique_ptr<TMethodTypeInfo>> types = [] {
    std::vector<std::unique_ptr<TMethodTypeInfo>> all;
    for (int i = 0; i <= static_cast<int>(TKeptEvent::GetSiteInfo); ++i)
      all.push_back(MakeKeptEventType(static_cast<TKeptEvent>(i)));
    return all;
  }();
  return *types[static_cast<size_t>(event)];
}

const TTypeInfo& DescribeType(TypeTag<TStyleElement>) {
  static const TEnumTypeInfo t(u"TStyleElements.TStyleElement", u"Controls", {u"seFont", u"seClient", u"seBorder"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TStyleElements>) {
  static const TSetTypeInfo t(u"TStyleElements", u"Controls",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TStyleElement>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TBitBtnStyle>) {
  static const TEnumTypeInfo t(u"TButtonStyle", u"Buttons", {u"bsAutoDetect", u"bsWin31", u"bsNew"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TListBoxStyle>) {
  static const TEnumTypeInfo t(
      u"TListBoxStyle", u"StdCtrls",
      {u"lbStandard", u"lbOwnerDrawFixed", u"lbOwnerDrawVariable", u"lbVirtual", u"lbVirtualOwnerDraw"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TMultiSelectStyleItem>) {
  static const TEnumTypeInfo t(u"TMultiSelectStyles", u"ComCtrls",
                               {u"msControlSelect", u"msShiftSelect", u"msVisibleOnly", u"msSiblingOnly"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TMultiSelectStyle>) {
  static const TSetTypeInfo t(u"TMultiSelectStyle", u"ComCtrls",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TMultiSelectStyleItem>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<kept::TImageAlignment>) {
  static const TEnumTypeInfo t(u"TImageAlignment", u"StdCtrls",
                               {u"iaLeft", u"iaRight", u"iaTop", u"iaBottom", u"iaCenter"});
  return t;
}

void TMargins::Describe(TClassBuilder<TMargins>& c) {
  c.Property(u"Left", &TMargins::Left).Default(3);
  c.Property(u"Top", &TMargins::Top).Default(3);
  c.Property(u"Right", &TMargins::Right).Default(3);
  c.Property(u"Bottom", &TMargins::Bottom).Default(3);
}
void TImageMargins::Describe(TClassBuilder<TImageMargins>& c) {
  c.Property(u"Left", &TImageMargins::Left).Default(0);
  c.Property(u"Top", &TImageMargins::Top).Default(0);
  c.Property(u"Right", &TImageMargins::Right).Default(0);
  c.Property(u"Bottom", &TImageMargins::Bottom).Default(0);
}

const TTypeInfo& DescribeType(TypeTag<TBiDiMode>) {
  static const TEnumTypeInfo t(
      u"TBiDiMode", u"Classes",
      {u"bdLeftToRight", u"bdRightToLeft", u"bdRightToLeftNoAlign", u"bdRightToLeftReadingOnly"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDragMode>) {
  static const TEnumTypeInfo t(u"TDragMode", u"Controls", {u"dmManual", u"dmAutomatic"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDragKind>) {
  static const TEnumTypeInfo t(u"TDragKind", u"Controls", {u"dkDrag", u"dkDock"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDragState>) {
  static const TEnumTypeInfo t(u"TDragState", u"Controls", {u"dsDragEnter", u"dsDragLeave", u"dsDragMove"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TImeMode>) {
  static const TEnumTypeInfo t(u"TImeMode", u"Controls",
                               {u"imDisable", u"imClose", u"imOpen", u"imDontCare", u"imSAlpha", u"imAlpha", u"imHira",
                                u"imSKata", u"imKata", u"imChinese", u"imSHanguel", u"imHanguel"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<THelpType>) {
  static const TEnumTypeInfo t(u"THelpType", u"Classes", {u"htKeyword", u"htContext"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TBevelKind>) {
  static const TEnumTypeInfo t(u"TBevelKind", u"Controls", {u"bkNone", u"bkTile", u"bkSoft", u"bkFlat"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TBevelEdge>) {
  static const TEnumTypeInfo t(u"TBevelEdge", u"Controls", {u"beLeft", u"beTop", u"beRight", u"beBottom"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TBevelEdges>) {
  static const TSetTypeInfo t(u"TBevelEdges", u"Controls",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TBevelEdge>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDragDropEvent>) {
  static const TMethodTypeInfo t(
      u"TDragDropEvent", u"Controls", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"Source", u"TObject"), Param(u"X", u"Integer"), Param(u"Y", u"Integer")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TDragOverEvent>) {
  static const TMethodTypeInfo t(
      u"TDragOverEvent", u"Controls", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"Source", u"TObject"), Param(u"X", u"Integer"), Param(u"Y", u"Integer"),
       Param(u"State", u"TDragState"), Param(u"Accept", u"Boolean", kVarParam)});
  return t;
}
const TMethodTypeInfo& EndDragEventType() {
  static const TMethodTypeInfo t(
      u"TEndDragEvent", u"Controls", mkProcedure,
      {Param(u"Sender", u"TObject"), Param(u"Target", u"TObject"), Param(u"X", u"Integer"), Param(u"Y", u"Integer")});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TStartDragEvent>) {
  static const TMethodTypeInfo t(u"TStartDragEvent", u"Controls", mkProcedure,
                                 {Param(u"Sender", u"TObject"), Param(u"DragObject", u"TDragObject", kVarParam)});
  return t;
}
