// What the IDE stores for controls that the library shows no differently:
// bidirectional reading, the 3-D look of old forms, dragging and docking, the
// input method and the bevel of edit-like controls. Controls keep the values
// so that forms read and write them unchanged; a preview acts on none of them.
#pragma once

#include "classes/component.h"
#include "rtl/uitypes.h"

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
};
