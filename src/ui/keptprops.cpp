#include "ui/keptprops.h"

namespace {


}  // namespace

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
