// What the IDE stores for controls that the library shows no differently:
// bidirectional reading, the 3-D look of old forms, dragging and docking, the
// input method and the bevel of edit-like controls. Controls keep the values
// so that forms read and write them unchanged; a preview acts on none of them.
#pragma once

#include "classes/component.h"
#include "rtl/uitypes.h"

#include <any>
#include <array>
#include <map>
#include <memory>

enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
enum TImeMode {
  imDisable,
  imClose,
  imOpen,
  imDontCare,
  imSAlpha,
  imAlpha,
  imHira,
  imSKata,
  imKata,
  imChinese,
  imSHanguel,
  imHanguel
};
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum THelpType { htKeyword, htContext };
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
enum TBevelEdge { beLeft, beTop, beRight, beBottom };
using TBevelEdges = TSet<TBevelEdge>;

using TDragDropEvent = TDelegate<void(TObject* Sender, TObject* Source, Integer X, Integer Y)>;
using TDragOverEvent =
    TDelegate<void(TObject* Sender, TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept)>;
// The same call as a drop, under the name the designer shows.
using TEndDragEvent = TDragDropEvent;
using TStartDragEvent = TDelegate<void(TObject* Sender, TObject*& DragObject)>;

const TTypeInfo& DescribeType(TypeTag<TBiDiMode>);
const TTypeInfo& DescribeType(TypeTag<TDragMode>);
const TTypeInfo& DescribeType(TypeTag<TDragKind>);
const TTypeInfo& DescribeType(TypeTag<TDragState>);
const TTypeInfo& DescribeType(TypeTag<TImeMode>);
const TTypeInfo& DescribeType(TypeTag<THelpType>);
const TTypeInfo& DescribeType(TypeTag<TBevelKind>);
const TTypeInfo& DescribeType(TypeTag<TBevelEdge>);
const TTypeInfo& DescribeType(TypeTag<TBevelEdges>);
const TTypeInfo& DescribeType(TypeTag<TDragDropEvent>);
const TTypeInfo& DescribeType(TypeTag<TDragOverEvent>);
const TMethodTypeInfo& EndDragEventType();
const TTypeInfo& DescribeType(TypeTag<TStartDragEvent>);

class TCustomImageList;

// How the styled look reaches a control: its font, its face, its border.
enum TStyleElement { seFont, seClient, seBorder };
using TStyleElements = TSet<TStyleElement>;
// The look of a bit button: as the system draws, the old flat one, the raised one.
enum TBitBtnStyle { bsAutoDetect, bsWin31, bsNew };
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
enum TMultiSelectStyleItem { msControlSelect, msShiftSelect, msVisibleOnly, msSiblingOnly };
using TMultiSelectStyle = TSet<TMultiSelectStyleItem>;
namespace kept {
// Where a button puts its image (the icon arrangement of list views uses the
// same names).
enum TImageAlignment { iaLeft, iaRight, iaTop, iaBottom, iaCenter };
}  // namespace kept

const TTypeInfo& DescribeType(TypeTag<TStyleElement>);
const TTypeInfo& DescribeType(TypeTag<TStyleElements>);
const TTypeInfo& DescribeType(TypeTag<TBitBtnStyle>);
const TTypeInfo& DescribeType(TypeTag<TListBoxStyle>);
const TTypeInfo& DescribeType(TypeTag<TMultiSelectStyleItem>);
const TTypeInfo& DescribeType(TypeTag<TMultiSelectStyle>);
const TTypeInfo& DescribeType(TypeTag<kept::TImageAlignment>);

// The space around a control that aligning with margins leaves, and the
// space around a button's image.
class TMargins : public TPersistent {
  KST_CLASS(TMargins, TPersistent)
 public:
  Integer Left = 3, Top = 3, Right = 3, Bottom = 3;
};
class TImageMargins : public TPersistent {
  KST_CLASS(TImageMargins, TPersistent)
 public:
  Integer Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The events the IDE writes for handlers a preview never runs, by the
// signature each names (the value is kept as the unbound method read).
enum class TKeptEvent {
  Notify,
  FontApply,
  MonitorDpiChanged,
  ConstrainedResize,
  ShortCut,
  DrawItem,
  DrawTab,
  SplitterCanResize,
  LVData,
  LVDeletion,
  LVCustomDraw,
  LVCustomDrawItem,
  LVCustomDrawSubItem,
  LVAdvancedCustomDraw,
  LVAdvancedCustomDrawItem,
  LVAdvancedCustomDrawSubItem,
  TVCompare,
  TVCustomDrawItem,
  TVAdvancedCustomDrawItem,
  TVEdited,
  TVEditing,
  Gesture,
  MouseActivate,
  StartDock,
  MeasureItem,
  UDChanging,
  GetPickList,
  SetEditText,
  GetColors,
  ListBoxGetColors,
  TabGetImageIndex,
  DrawTabSet,
  MeasureTab,
  TabChange,
  CloseQuery,
  HelpEvent,
  LinkClick,
  ToolBarCustomDraw,
  ToolButtonCustomDraw,
  SelectCell,
  DockDrop,
  DockOver,
  UnDock,
  GetSiteInfo,
};
const TMethodTypeInfo& KeptEventType(TKeptEvent event);

// The kept values of one control, with the defaults forms leave out.
struct TKeptControlProperties {
  TBiDiMode BiDiMode = bdLeftToRight;
  bool ParentBiDiMode = true;
  bool Ctl3D = true;
  bool ParentCtl3D = true;
  TDragMode DragMode = dmManual;
  TDragKind DragKind = dkDrag;
  Integer DragCursor = -12;  // crDrag
  TBevelCut BevelInner = bvRaised;
  TBevelCut BevelOuter = bvLowered;
  Integer BevelWidth = 1;
  Integer BorderWidth = 0;
  String TextHint;
  TImeMode ImeMode = imDontCare;
  String ImeName;
  // How the control's help is found: by keyword or by context number.
  THelpType HelpType = htContext;
  String HelpKeyword;
  TBevelKind BevelKind = bkNone;
  TBevelEdges BevelEdges{beLeft, beTop, beRight, beBottom};
  // The image of a button from a list of the form (cleared when the list goes).
  TCustomImageList* Images = nullptr;
  Integer ImageIndex = -1;
  String ImageName;
  TDragDropEvent OnDragDrop;
  TDragOverEvent OnDragOver;
  TEndDragEvent OnEndDock;
  TEndDragEvent OnEndDrag;
  TStartDragEvent OnStartDrag;
  // Layout, docking and styling of newer IDEs.
  bool AlignWithMargins = false;
  std::shared_ptr<TMargins> Margins = std::make_shared<TMargins>();
  TStyleElements StyleElements{seFont, seClient, seBorder};
  bool ParentDoubleBuffered = true;
  bool UseDockManager = false;
  bool DockSite = false;
  // Buttons: the newer image placement and the caption's wrapping.
  kept::TImageAlignment ImageAlignment = kept::iaLeft;
  std::shared_ptr<TImageMargins> ImageMargins = std::make_shared<TImageMargins>();
  bool WordWrap = false;
  TBitBtnStyle BitBtnStyle = bsAutoDetect;
  // Per class: sizing to the content, completion, scrolling, dialogs' look.
  bool AutoSize = false;
  bool EditAutoSize = true;
  bool AutoComplete = true;
  Integer ScrollWidth = 0;
  TListBoxStyle ListBoxStyle = lbStandard;
  bool ColumnClick = true;
  bool OwnerData = false;
  Integer TabIndex = -1;
  Integer FormTabOrder = -1;
  Integer TransparentColorValue = 0;
  bool AutoSnap = true;
  bool AutoHint = false;
  bool UseSystemFont = true;
  bool Highlighted = false;
  bool Transparent = false;
  TCustomImageList* HotImages = nullptr;
  bool MultiSelect = false;
  TMultiSelectStyle MultiSelectStyle{msControlSelect};
  // Handlers as read, in the slots each class gives its kept events.
  std::array<TNotifyEvent, 8> Events;
  // Every other value a class keeps only to store it again, by property name.
  std::map<String, std::any> Values;
  template <class V>
  V ValueOr(const String& name, const V& fallback) const {
    const auto found = Values.find(name);
    if (found == Values.end()) return fallback;
    const V* value = std::any_cast<V>(&found->second);
    return value ? *value : fallback;
  }
};
