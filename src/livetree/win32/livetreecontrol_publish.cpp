// The events the tree classes publish for forms beyond the hand-written
// ones. An event the model fires is handed to it with the control (or its
// header) as Sender; an event the window has no use for is kept as the form
// assigned it, so that the form reads and writes back unchanged.
#include <deque>
#include <memory>

#include "classes/reflection.h"
#include "livetree/win32/livetreecontrol.h"
#include "ui/menus.h"

namespace ltcontrol {

const TMethodTypeInfo& TreeEventType(const char16_t* typeName, const char16_t* params, const char16_t* resultType) {
  // Descriptions live as long as the classes they describe.
  static std::deque<std::unique_ptr<TMethodTypeInfo>> kept;
  std::vector<TMethodParam> list;
  String text = params;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u';', start);
    if (end == String::npos) end = text.size();
    String part = text.substr(start, end - start);
    start = end + 1;
    while (!part.empty() && part.front() == u' ') part.erase(0, 1);
    TParamFlags flags = 0;
    for (auto [prefix, flag] : {std::pair{u"var ", pfVar}, std::pair{u"const ", pfConst}, std::pair{u"out ", pfOut}}) {
      String p = prefix;
      if (part.compare(0, p.size(), p) == 0) {
        flags = ParamFlagBit(flag);
        part.erase(0, p.size());
      }
    }
    size_t colon = part.find(u':');
    String name = part.substr(0, colon);
    String type = colon == String::npos ? String() : part.substr(colon + 1);
    while (!type.empty() && type.front() == u' ') type.erase(0, 1);
    list.push_back(TMethodParam{flags, name, type});
  }
  kept.push_back(std::make_unique<TMethodTypeInfo>(typeName, u"LiveTree", resultType ? mkFunction : mkProcedure,
                                                   std::move(list), resultType ? String(resultType) : String()));
  return *kept.back();
}

const TTypeInfo& AnyTreeEventType() {
  static const TMethodTypeInfo t(u"TLTEvent", u"LiveTree", mkProcedure, {Param(u"Sender", u"TObject")});
  return t;
}

namespace {

template <class Sender>
Sender* SenderOf(TBaseLiveTree& tree) {
  if constexpr (std::is_same_v<Sender, TLTHeader>)
    return tree.GetHeader();
  else
    return &tree;
}

template <class D, class T>
D StoredHandler(const T& tree, const char16_t* name) {
  const std::any* stored = tree.PublishedEvent(name);
  const D* typed = stored != nullptr ? std::any_cast<D>(stored) : nullptr;
  return typed != nullptr ? *typed : D{};
}

// An event of the model (Owner is the model class that has it): the form's
// handler runs with the control, or the control's header, as Sender.
template <class T, class Owner, class R, class S, class... A>
void ModelEvent(TClassBuilder<T>& c, const char16_t* name, std::function<R(S*, A...)> Owner::*member,
                const TMethodTypeInfo& type) {
  using Sender = std::conditional_t<std::is_same_v<S, ::TLTHeader>, TLTHeader, TBaseLiveTree>;
  using D = TDelegate<R(Sender*, A...)>;
  c.Property(
      name, [name](const T& o) { return StoredHandler<D>(o, name); },
      [name, member](T& o, const D& handler) {
        auto* model = dynamic_cast<Owner*>(&o.Model());
        if (model == nullptr) {
          o.SetPublishedEvent(name, handler, nullptr);
          return;
        }
        Sender* sender = SenderOf<Sender>(o);
        if (handler)
          model->*member = [handler, sender](S*, A... args) -> R { return handler(sender, std::forward<A>(args)...); };
        else
          model->*member = nullptr;
        o.SetPublishedEvent(name, handler, [model, member] { model->*member = nullptr; });
      },
      &type);
}

// An event of the window itself (a field of the control with the control
// as Sender).
template <class T, class R, class... A>
void WindowEvent(TClassBuilder<T>& c, const char16_t* name, std::function<R(TBaseLiveTree*, A...)> TBaseLiveTree::*member,
                 const TMethodTypeInfo& type) {
  using D = TDelegate<R(TBaseLiveTree*, A...)>;
  c.Property(
      name, [name](const T& o) { return StoredHandler<D>(o, name); },
      [name, member](T& o, const D& handler) {
        TBaseLiveTree& tree = o;
        if (handler)
          tree.*member = [handler](TBaseLiveTree* sender, A... args) -> R {
            return handler(sender, std::forward<A>(args)...);
          };
        else
          tree.*member = nullptr;
        o.SetPublishedEvent(name, handler, [&tree, member] { tree.*member = nullptr; });
      },
      &type);
}

// An event the window does not fire: kept as the form assigned it.
template <class D, class T>
void KeptEvent(TClassBuilder<T>& c, const char16_t* name, const TMethodTypeInfo& type) {
  c.Property(
      name, [name](const T& o) { return StoredHandler<D>(o, name); },
      [name](T& o, const D& handler) { o.SetPublishedEvent(name, handler, nullptr); }, &type);
}

using M = ::TBaseLiveTree;
using T = TBaseLiveTree;
using H = TLTHeader;

const char16_t* const kHeaderColumn = u"Sender: TLTHeader; Column: TColumnIndex";

}  // namespace

void PublishTreeEvents(TClassBuilder<TBaseLiveTree>& c) {
  ModelEvent(c, u"OnAddToSelection", &M::OnAddToSelection,
             TreeEventType(u"TLTAddToSelectionEvent", u"Sender: TBaseLiveTree; Node: PLiveNode"));
  KeptEvent<TDelegate<void(H*, void*, void*)>>(
      c, u"OnAdvancedHeaderDraw",
      TreeEventType(u"TLTAdvancedHeaderPaintEvent",
                    u"Sender: TLTHeader; var PaintInfo: THeaderPaintInfo; const Elements: THeaderPaintElements"));
  ModelEvent(c, u"OnAfterAutoFitColumn", &M::OnAfterAutoFitColumn,
             TreeEventType(u"TLTAfterAutoFitColumnEvent", kHeaderColumn));
  ModelEvent(c, u"OnAfterAutoFitColumns", &M::OnAfterAutoFitColumns,
             TreeEventType(u"TLTAfterAutoFitColumnsEvent", u"Sender: TLTHeader"));
  KeptEvent<TDelegate<void(T*, TCanvas*, PLiveNode, TColumnIndex, TRect)>>(
      c, u"OnAfterCellPaint",
      TreeEventType(u"TLTAfterCellPaintEvent", u"Sender: TBaseLiveTree; TargetCanvas: TCanvas; Node: PLiveNode; "
                                               u"Column: TColumnIndex; CellRect: TRect"));
  KeptEvent<TDelegate<void(H*, TColumnIndex)>>(c, u"OnAfterColumnWidthTracking",
                                               TreeEventType(u"TLTAfterColumnWidthTrackingEvent", kHeaderColumn));
  ModelEvent(c, u"OnAfterGetMaxColumnWidth", &M::OnAfterGetMaxColumnWidth,
             TreeEventType(u"TLTAfterGetMaxColumnWidthEvent",
                           u"Sender: TLTHeader; Column: TColumnIndex; var MaxWidth: Integer"));
  KeptEvent<TDelegate<void(H*)>>(c, u"OnAfterHeaderHeightTracking",
                                 TreeEventType(u"TLTAfterHeaderHeightTrackingEvent", u"Sender: TLTHeader"));
  KeptEvent<TDelegate<void(T*, TCanvas*, PLiveNode, TRect)>>(
      c, u"OnAfterItemErase",
      TreeEventType(u"TLTAfterItemEraseEvent",
                    u"Sender: TBaseLiveTree; TargetCanvas: TCanvas; Node: PLiveNode; ItemRect: TRect"));
  KeptEvent<TDelegate<void(T*, TCanvas*, PLiveNode, TRect)>>(
      c, u"OnAfterItemPaint",
      TreeEventType(u"TLTAfterItemPaintEvent",
                    u"Sender: TBaseLiveTree; TargetCanvas: TCanvas; Node: PLiveNode; ItemRect: TRect"));
  ModelEvent(c, u"OnAfterPaint", &M::OnAfterPaint,
             TreeEventType(u"TLTPaintEvent", u"Sender: TBaseLiveTree; TargetCanvas: TCanvas"));
  ModelEvent(c, u"OnBeforeAutoFitColumn", &M::OnBeforeAutoFitColumn,
             TreeEventType(u"TLTBeforeAutoFitColumnEvent",
                           u"Sender: TLTHeader; Column: TColumnIndex; var SmartAutoFitType: TSmartAutoFitType; "
                           u"var Allowed: Boolean"));
  ModelEvent(c, u"OnBeforeAutoFitColumns", &M::OnBeforeAutoFitColumns,
             TreeEventType(u"TLTBeforeAutoFitColumnsEvent",
                           u"Sender: TLTHeader; var SmartAutoFitType: TSmartAutoFitType"));
  ModelEvent(c, u"OnBeforeCellPaint", &M::OnBeforeCellPaint,
             TreeEventType(u"TLTBeforeCellPaintEvent",
                           u"Sender: TBaseLiveTree; TargetCanvas: TCanvas; Node: PLiveNode; Column: TColumnIndex; "
                           u"CellPaintMode: TLTCellPaintMode; CellRect: TRect; var ContentRect: TRect"));
  KeptEvent<TDelegate<void(H*, TColumnIndex, TShiftState)>>(
      c, u"OnBeforeColumnWidthTracking",
      TreeEventType(u"TLTBeforeColumnWidthTrackingEvent", u"Sender: TLTHeader; Column: TColumnIndex; Shift: TShiftState"));
  ModelEvent(c, u"OnBeforeDrawTreeLine", &M::OnBeforeDrawLineImage,
             TreeEventType(u"TLTBeforeDrawLineImageEvent",
                           u"Sender: TBaseLiveTree; Node: PLiveNode; Level: Integer; var PosX: Integer"));
  ModelEvent(c, u"OnBeforeGetMaxColumnWidth", &M::OnBeforeGetMaxColumnWidth,
             TreeEventType(u"TLTBeforeGetMaxColumnWidthEvent",
                           u"Sender: TLTHeader; Column: TColumnIndex; var UseSmartColumnWidth: Boolean"));
  KeptEvent<TDelegate<void(H*, TShiftState)>>(
      c, u"OnBeforeHeaderHeightTracking",
      TreeEventType(u"TLTBeforeHeaderHeightTrackingEvent", u"Sender: TLTHeader; Shift: TShiftState"));
  KeptEvent<TDelegate<void(T*, TCanvas*, PLiveNode, TRect, TColor&, Integer&)>>(
      c, u"OnBeforeItemErase",
      TreeEventType(u"TLTBeforeItemEraseEvent",
                    u"Sender: TBaseLiveTree; TargetCanvas: TCanvas; Node: PLiveNode; ItemRect: TRect; "
                    u"var ItemColor: TColor; var EraseAction: TItemEraseAction"));
  KeptEvent<TDelegate<void(T*, TCanvas*, PLiveNode, TRect, bool&)>>(
      c, u"OnBeforeItemPaint",
      TreeEventType(u"TLTBeforeItemPaintEvent", u"Sender: TBaseLiveTree; TargetCanvas: TCanvas; Node: PLiveNode; "
                                                u"ItemRect: TRect; var CustomDraw: Boolean"));
  ModelEvent(c, u"OnBeforePaint", &M::OnBeforePaint,
             TreeEventType(u"TLTPaintEvent", u"Sender: TBaseLiveTree; TargetCanvas: TCanvas"));
  ModelEvent(c, u"OnCanSplitterResizeColumn", &M::OnCanSplitterResizeColumn,
             TreeEventType(u"TLTCanSplitterResizeColumnEvent",
                           u"Sender: TLTHeader; P: TPoint; Column: TColumnIndex; var Allowed: Boolean"));
  KeptEvent<TDelegate<void(H*, TPoint, bool&)>>(
      c, u"OnCanSplitterResizeHeader",
      TreeEventType(u"TLTCanSplitterResizeHeaderEvent", u"Sender: TLTHeader; P: TPoint; var Allowed: Boolean"));
  KeptEvent<TDelegate<void(T*, TPoint, PLiveNode, TColumnIndex, bool&)>>(
      c, u"OnCanSplitterResizeNode",
      TreeEventType(u"TLTCanSplitterResizeNodeEvent", u"Sender: TBaseLiveTree; P: TPoint; Node: PLiveNode; "
                                                      u"Column: TColumnIndex; var Allowed: Boolean"));
  ModelEvent(c, u"OnChecked", &M::OnChecked,
             TreeEventType(u"TLTChangeEvent", u"Sender: TBaseLiveTree; Node: PLiveNode"));
  ModelEvent(c, u"OnChecking", &M::OnChecking,
             TreeEventType(u"TLTCheckChangingEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; "
                                                     u"var NewState: TCheckState; var Allowed: Boolean"));
  ModelEvent(c, u"OnCollapsed", &M::OnCollapsed,
             TreeEventType(u"TLTChangeEvent", u"Sender: TBaseLiveTree; Node: PLiveNode"));
  ModelEvent(c, u"OnCollapsing", &M::OnCollapsing,
             TreeEventType(u"TLTChangingEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; var Allowed: Boolean"));
  ModelEvent(c, u"OnColumnClick", &M::OnColumnClick,
             TreeEventType(u"TLTColumnClickEvent", u"Sender: TBaseLiveTree; Column: TColumnIndex; Shift: TShiftState"));
  ModelEvent(c, u"OnColumnDblClick", &M::OnColumnDblClick,
             TreeEventType(u"TLTColumnDblClickEvent",
                           u"Sender: TBaseLiveTree; Column: TColumnIndex; Shift: TShiftState"));
  ModelEvent(c, u"OnColumnResize", &M::OnColumnResize, TreeEventType(u"TLTHeaderNotifyEvent", kHeaderColumn));
  KeptEvent<TDelegate<void(H*, TColumnIndex, TShiftState, TPoint, bool&)>>(
      c, u"OnColumnWidthDblClickResize",
      TreeEventType(u"TLTColumnWidthDblClickResizeEvent", u"Sender: TLTHeader; Column: TColumnIndex; "
                                                          u"Shift: TShiftState; P: TPoint; var Allowed: Boolean"));
  KeptEvent<TDelegate<void(H*, TColumnIndex, TShiftState, TPoint&, TPoint, bool&)>>(
      c, u"OnColumnWidthTracking",
      TreeEventType(u"TLTColumnWidthTrackingEvent", u"Sender: TLTHeader; Column: TColumnIndex; Shift: TShiftState; "
                                                    u"var TrackPoint: TPoint; P: TPoint; var Allowed: Boolean"));
  WindowEvent(c, u"OnCreateDataObject", &T::OnCreateDataObject,
              TreeEventType(u"TLTCreateDataObjectEvent", u"Sender: TBaseLiveTree; out IDataObject: IDataObject"));
  KeptEvent<TDelegate<void(T*, void*&)>>(
      c, u"OnCreateDragManager",
      TreeEventType(u"TLTCreateDragManagerEvent", u"Sender: TBaseLiveTree; out DragManager: ILTDragManager"));
  KeptEvent<TDelegate<void(T*, PLiveNode, TColumnIndex, void*&)>>(
      c, u"OnCreateEditor",
      TreeEventType(u"TLTCreateEditorEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Column: TColumnIndex; "
                                             u"out EditLink: ILTEditLink"));
  ModelEvent(c, u"OnDragAllowed", &M::OnDragAllowed,
             TreeEventType(u"TLTDragAllowedEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Column: TColumnIndex; "
                                                   u"var Allowed: Boolean"));
  WindowEvent(c, u"OnDragDrop", &T::OnDragDrop,
              TreeEventType(u"TLTDragDropEvent",
                            u"Sender: TBaseLiveTree; Source: TObject; DataObject: IDataObject; Formats: TFormatArray; "
                            u"Shift: TShiftState; Pt: TPoint; var Effect: Integer; Mode: TDropMode"));
  WindowEvent(c, u"OnDragOver", &T::OnDragOver,
              TreeEventType(u"TLTDragOverEvent",
                            u"Sender: TBaseLiveTree; Source: TObject; Shift: TShiftState; State: TDragState; "
                            u"Pt: TPoint; Mode: TDropMode; var Effect: Integer; var Accept: Boolean"));
  KeptEvent<TDelegate<void(T*, TCanvas*, PLiveNode, TRect, TColumnIndex)>>(
      c, u"OnDrawHint",
      TreeEventType(u"TLTDrawHintEvent", u"Sender: TBaseLiveTree; HintCanvas: TCanvas; Node: PLiveNode; R: TRect; "
                                         u"Column: TColumnIndex"));
  KeptEvent<TDelegate<void(T*, TCanvas*, PLiveNode, TColumnIndex, const String&, const TRect&, bool&)>>(
      c, u"OnDrawText",
      TreeEventType(u"TLTDrawTextEvent", u"Sender: TBaseLiveTree; TargetCanvas: TCanvas; Node: PLiveNode; "
                                         u"Column: TColumnIndex; const Text: string; const CellRect: TRect; "
                                         u"var DefaultDraw: Boolean"));
  ModelEvent(c, u"OnEditCancelled", &M::OnEditCancelled,
             TreeEventType(u"TLTEditCancelEvent", u"Sender: TBaseLiveTree; Column: TColumnIndex"));
  ModelEvent(c, u"OnEdited", &M::OnEdited,
             TreeEventType(u"TLTEditChangeEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Column: TColumnIndex"));
  ModelEvent(c, u"OnEditing", &M::OnEditing,
             TreeEventType(u"TLTEditChangingEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Column: TColumnIndex; "
                                                    u"var Allowed: Boolean"));
  ModelEvent(c, u"OnEndOperation", &M::OnEndOperation,
             TreeEventType(u"TLTOperationEvent", u"Sender: TBaseLiveTree; OperationKind: TLTOperationKind"));
  ModelEvent(c, u"OnExpanded", &M::OnExpanded,
             TreeEventType(u"TLTChangeEvent", u"Sender: TBaseLiveTree; Node: PLiveNode"));
  ModelEvent(c, u"OnExpanding", &M::OnExpanding,
             TreeEventType(u"TLTChangingEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; var Allowed: Boolean"));
  ModelEvent(c, u"OnFocusChanging", &M::OnFocusChanging,
             TreeEventType(u"TLTFocusChangingEvent",
                           u"Sender: TBaseLiveTree; OldNode: PLiveNode; NewNode: PLiveNode; OldColumn: TColumnIndex; "
                           u"NewColumn: TColumnIndex; var Allowed: Boolean"));
  ModelEvent(c, u"OnFreeNode", &M::OnFreeNode,
             TreeEventType(u"TLTFreeNodeEvent", u"Sender: TBaseLiveTree; Node: PLiveNode"));
  ModelEvent(c, u"OnGetCellIsEmpty", &M::OnGetCellIsEmpty,
             TreeEventType(u"TLTGetCellIsEmptyEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Column: TColumnIndex; "
                                                      u"var IsEmpty: Boolean"));
  KeptEvent<TDelegate<void(T*, TCursor&)>>(
      c, u"OnGetCursor", TreeEventType(u"TLTGetCursorEvent", u"Sender: TBaseLiveTree; var Cursor: TCursor"));
  KeptEvent<TDelegate<void(H*, HICON&)>>(
      c, u"OnGetHeaderCursor", TreeEventType(u"TLTGetHeaderCursorEvent", u"Sender: TLTHeader; var Cursor: HICON"));
  ModelEvent(c, u"OnGetHelpContext", &M::OnGetHelpContext,
             TreeEventType(u"TLTHelpContextEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Column: TColumnIndex; "
                                                   u"var HelpContext: Integer"));
  KeptEvent<TDelegate<void(T*, PLiveNode, TColumnIndex, Integer&)>>(
      c, u"OnGetHintKind",
      TreeEventType(u"TLTHintKindEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Column: TColumnIndex; "
                                         u"var Kind: TLTHintKind"));
  KeptEvent<TDelegate<void(T*, PLiveNode, TColumnIndex, TRect&)>>(
      c, u"OnGetHintSize",
      TreeEventType(u"TLTGetHintSizeEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Column: TColumnIndex; "
                                            u"var R: TRect"));
  KeptEvent<TDelegate<void(T*, PLiveNode, TLTImageKind, TColumnIndex, bool&, Integer&, TCustomImageList*&)>>(
      c, u"OnGetImageIndexEx",
      TreeEventType(u"TLTGetImageExEvent",
                    u"Sender: TBaseLiveTree; Node: PLiveNode; Kind: TLTImageKind; Column: TColumnIndex; "
                    u"var Ghosted: Boolean; var ImageIndex: Integer; var ImageList: TCustomImageList"));
  KeptEvent<TDelegate<void(T*, PLiveNode, TLTImageKind, TColumnIndex, String&)>>(
      c, u"OnGetImageText",
      TreeEventType(u"TLTGetImageTextEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Kind: TLTImageKind; "
                                             u"Column: TColumnIndex; var ImageText: string"));
  KeptEvent<TDelegate<void(T*, void*&)>>(
      c, u"OnGetLineStyle", TreeEventType(u"TLTGetLineStyleEvent", u"Sender: TBaseLiveTree; var Bits: Pointer"));
  ModelEvent(c, u"OnGetNodeDataSize", &M::OnGetNodeDataSize,
             TreeEventType(u"TLTGetNodeDataSizeEvent", u"Sender: TBaseLiveTree; var NodeDataSize: Integer"));
  KeptEvent<TDelegate<void(T*, PLiveNode, TColumnIndex, const TPoint&, bool&, TPopupMenu*&)>>(
      c, u"OnGetPopupMenu",
      TreeEventType(u"TLTPopupEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Column: TColumnIndex; "
                                      u"const P: TPoint; var AskParent: Boolean; var PopupMenu: TPopupMenu"));
  WindowEvent(c, u"OnGetUserClipboardFormats", &T::OnGetUserClipboardFormats,
              TreeEventType(u"TLTGetUserClipboardFormatsEvent",
                            u"Sender: TBaseLiveTree; var Formats: TFormatEtcArray"));
  ModelEvent(c, u"OnHeaderClick", &M::OnHeaderClick,
             TreeEventType(u"TLTHeaderClickEvent", u"Sender: TLTHeader; HitInfo: TLTHeaderHitInfo"));
  ModelEvent(c, u"OnHeaderDblClick", &M::OnHeaderDblClick,
             TreeEventType(u"TLTHeaderClickEvent", u"Sender: TLTHeader; HitInfo: TLTHeaderHitInfo"));
  KeptEvent<TDelegate<void(H*, TColumnIndex, Integer)>>(
      c, u"OnHeaderDragged",
      TreeEventType(u"TLTHeaderDraggedEvent", u"Sender: TLTHeader; Column: TColumnIndex; OldPosition: Integer"));
  KeptEvent<TDelegate<void(H*, TColumnIndex, TPoint)>>(
      c, u"OnHeaderDraggedOut",
      TreeEventType(u"TLTHeaderDraggedOutEvent", u"Sender: TLTHeader; Column: TColumnIndex; DropPosition: TPoint"));
  KeptEvent<TDelegate<void(H*, TColumnIndex, bool&)>>(
      c, u"OnHeaderDragging",
      TreeEventType(u"TLTHeaderDraggingEvent", u"Sender: TLTHeader; Column: TColumnIndex; var Allowed: Boolean"));
  KeptEvent<TDelegate<void(H*, TCanvas*, TLiveTreeColumn*, TRect, bool, bool, Integer)>>(
      c, u"OnHeaderDraw",
      TreeEventType(u"TLTHeaderPaintEvent", u"Sender: TLTHeader; HeaderCanvas: TCanvas; Column: TLiveTreeColumn; "
                                            u"R: TRect; Hover: Boolean; Pressed: Boolean; DropMark: TLTDropMarkMode"));
  KeptEvent<TDelegate<void(H*, void*, void*)>>(
      c, u"OnHeaderDrawQueryElements",
      TreeEventType(u"TLTHeaderPaintQueryElementsEvent",
                    u"Sender: TLTHeader; var PaintInfo: THeaderPaintInfo; var Elements: THeaderPaintElements"));
  KeptEvent<TDelegate<void(H*, TPoint&, TShiftState, bool&)>>(
      c, u"OnHeaderHeightDblClickResize",
      TreeEventType(u"TLTHeaderHeightDblClickResizeEvent",
                    u"Sender: TLTHeader; var P: TPoint; Shift: TShiftState; var Allowed: Boolean"));
  KeptEvent<TDelegate<void(H*, TPoint&, TShiftState, bool&)>>(
      c, u"OnHeaderHeightTracking",
      TreeEventType(u"TLTHeaderHeightTrackingEvent",
                    u"Sender: TLTHeader; var P: TPoint; Shift: TShiftState; var Allowed: Boolean"));
  KeptEvent<TDelegate<void(H*, TMouseButton, TShiftState, Integer, Integer)>>(
      c, u"OnHeaderMouseDown",
      TreeEventType(u"TLTHeaderMouseEvent", u"Sender: TLTHeader; Button: TMouseButton; Shift: TShiftState; "
                                            u"X: Integer; Y: Integer"));
  KeptEvent<TDelegate<void(H*, TShiftState, Integer, Integer)>>(
      c, u"OnHeaderMouseMove",
      TreeEventType(u"TLTHeaderMouseMoveEvent", u"Sender: TLTHeader; Shift: TShiftState; X: Integer; Y: Integer"));
  KeptEvent<TDelegate<void(H*, TMouseButton, TShiftState, Integer, Integer)>>(
      c, u"OnHeaderMouseUp",
      TreeEventType(u"TLTHeaderMouseEvent", u"Sender: TLTHeader; Button: TMouseButton; Shift: TShiftState; "
                                            u"X: Integer; Y: Integer"));
  ModelEvent(c, u"OnHotChange", &M::OnHotChange,
             TreeEventType(u"TLTHotNodeChangeEvent", u"Sender: TBaseLiveTree; OldNode: PLiveNode; NewNode: PLiveNode"));
  ModelEvent(c, u"OnInitChildren", &M::OnInitChildren,
             TreeEventType(u"TLTInitChildrenEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; "
                                                    u"var ChildCount: Cardinal"));
  ModelEvent(c, u"OnKeyAction", &M::OnKeyAction,
             TreeEventType(u"TLTKeyActionEvent", u"Sender: TBaseLiveTree; var CharCode: Word; var Shift: TShiftState; "
                                                 u"var DoDefault: Boolean"));
  ModelEvent(c, u"OnLoadNode", &M::OnLoadNode,
             TreeEventType(u"TLTSaveNodeEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Stream: TStream"));
  ModelEvent(c, u"OnLoadTree", &M::OnLoadTree,
             TreeEventType(u"TLTSaveTreeEvent", u"Sender: TBaseLiveTree; Stream: TStream"));
  ModelEvent(c, u"OnMeasureItem", &M::OnMeasureItem,
             TreeEventType(u"TLTMeasureItemEvent", u"Sender: TBaseLiveTree; TargetCanvas: TCanvas; Node: PLiveNode; "
                                                   u"var NodeHeight: Integer"));
  ModelEvent(c, u"OnNodeClick", &M::OnNodeClick,
             TreeEventType(u"TLTNodeClickEvent", u"Sender: TBaseLiveTree; const HitInfo: THitInfo"));
  ModelEvent(c, u"OnNodeCopied", &M::OnNodeCopied,
             TreeEventType(u"TLTNodeCopiedEvent", u"Sender: TBaseLiveTree; Node: PLiveNode"));
  ModelEvent(c, u"OnNodeCopying", &M::OnNodeCopying,
             TreeEventType(u"TLTNodeCopyingEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Target: PLiveNode; "
                                                   u"var Allowed: Boolean"));
  ModelEvent(c, u"OnNodeDblClick", &M::OnNodeDblClick,
             TreeEventType(u"TLTNodeClickEvent", u"Sender: TBaseLiveTree; const HitInfo: THitInfo"));
  KeptEvent<TDelegate<void(T*, PLiveNode, TColumnIndex, TShiftState, TPoint, bool&)>>(
      c, u"OnNodeHeightDblClickResize",
      TreeEventType(u"TLTNodeHeightDblClickResizeEvent",
                    u"Sender: TBaseLiveTree; Node: PLiveNode; Column: TColumnIndex; Shift: TShiftState; P: TPoint; "
                    u"var Allowed: Boolean"));
  KeptEvent<TDelegate<void(T*, PLiveNode, TColumnIndex, TShiftState, TPoint&, TPoint, bool&)>>(
      c, u"OnNodeHeightTracking",
      TreeEventType(u"TLTNodeHeightTrackingEvent",
                    u"Sender: TBaseLiveTree; Node: PLiveNode; Column: TColumnIndex; Shift: TShiftState; "
                    u"var TrackPoint: TPoint; P: TPoint; var Allowed: Boolean"));
  ModelEvent(c, u"OnNodeMoved", &M::OnNodeMoved,
             TreeEventType(u"TLTNodeMovedEvent", u"Sender: TBaseLiveTree; Node: PLiveNode"));
  ModelEvent(c, u"OnNodeMoving", &M::OnNodeMoving,
             TreeEventType(u"TLTNodeMovingEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Target: PLiveNode; "
                                                  u"var Allowed: Boolean"));
  KeptEvent<TDelegate<void(T*, TCanvas*, TRect, bool&)>>(
      c, u"OnPaintBackground",
      TreeEventType(u"TLTBackgroundPaintEvent",
                    u"Sender: TBaseLiveTree; TargetCanvas: TCanvas; R: TRect; var Handled: Boolean"));
  ModelEvent(c, u"OnRemoveFromSelection", &M::OnRemoveFromSelection,
             TreeEventType(u"TLTRemoveFromSelectionEvent", u"Sender: TBaseLiveTree; Node: PLiveNode"));
  WindowEvent(c, u"OnRenderOLEData", &T::OnRenderOLEData,
              TreeEventType(u"TLTRenderOLEDataEvent",
                            u"Sender: TBaseLiveTree; const FormatEtcIn: tagFORMATETC; out Medium: tagSTGMEDIUM; "
                            u"ForClipboard: Boolean; var Result: HRESULT"));
  ModelEvent(c, u"OnResetNode", &M::OnResetNode,
             TreeEventType(u"TLTChangeEvent", u"Sender: TBaseLiveTree; Node: PLiveNode"));
  ModelEvent(c, u"OnSaveNode", &M::OnSaveNode,
             TreeEventType(u"TLTSaveNodeEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Stream: TStream"));
  ModelEvent(c, u"OnSaveTree", &M::OnSaveTree,
             TreeEventType(u"TLTSaveTreeEvent", u"Sender: TBaseLiveTree; Stream: TStream"));
  ModelEvent(c, u"OnScroll", &M::OnScroll,
             TreeEventType(u"TLTScrollEvent", u"Sender: TBaseLiveTree; DeltaX: Integer; DeltaY: Integer"));
  ModelEvent(c, u"OnShowScrollBar", &M::OnShowScrollBar,
             TreeEventType(u"TLTScrollBarShowEvent", u"Sender: TBaseLiveTree; Bar: Integer; Show: Boolean"));
  ModelEvent(c, u"OnStartOperation", &M::OnStartOperation,
             TreeEventType(u"TLTOperationEvent", u"Sender: TBaseLiveTree; OperationKind: TLTOperationKind"));
  ModelEvent(c, u"OnStateChange", &M::OnStateChange,
             TreeEventType(u"TLTStateChangeEvent",
                           u"Sender: TBaseLiveTree; Enter: TLiveTreeStates; Leave: TLiveTreeStates"));
  ModelEvent(c, u"OnStructureChange", &M::OnStructureChange,
             TreeEventType(u"TLTStructureChangeEvent",
                           u"Sender: TBaseLiveTree; Node: PLiveNode; Reason: TChangeReason"));
  ModelEvent(c, u"OnUpdating", &M::OnUpdating,
             TreeEventType(u"TLTUpdatingEvent", u"Sender: TBaseLiveTree; State: TLTUpdateState"));
}

void PublishStringTreeEvents(TClassBuilder<TLiveStringTree>& c) {
  using S = ::TCustomLiveStringTree;
  const char16_t* nodeExport = u"Sender: TBaseLiveTree; aExportType: TLTExportType; Node: PLiveNode";
  const char16_t* columnExport = u"Sender: TBaseLiveTree; aExportType: TLTExportType; Column: TLiveTreeColumn";
  const char16_t* treeExport = u"Sender: TBaseLiveTree; aExportType: TLTExportType";
  ModelEvent(c, u"OnAfterColumnExport", &S::OnAfterColumnExport, TreeEventType(u"TLTColumnExportEvent", columnExport));
  ModelEvent(c, u"OnAfterHeaderExport", &S::OnAfterHeaderExport, TreeEventType(u"TLTTreeExportEvent", treeExport));
  ModelEvent(c, u"OnAfterNodeExport", &S::OnAfterNodeExport,
             TreeEventType(u"TLTNodeExportEvent", nodeExport, u"Boolean"));
  ModelEvent(c, u"OnAfterTreeExport", &S::OnAfterTreeExport, TreeEventType(u"TLTTreeExportEvent", treeExport));
  ModelEvent(c, u"OnBeforeColumnExport", &S::OnBeforeColumnExport,
             TreeEventType(u"TLTColumnExportEvent", columnExport));
  ModelEvent(c, u"OnBeforeHeaderExport", &S::OnBeforeHeaderExport, TreeEventType(u"TLTTreeExportEvent", treeExport));
  ModelEvent(c, u"OnBeforeNodeExport", &S::OnBeforeNodeExport,
             TreeEventType(u"TLTNodeExportEvent", nodeExport, u"Boolean"));
  ModelEvent(c, u"OnBeforeTreeExport", &S::OnBeforeTreeExport, TreeEventType(u"TLTTreeExportEvent", treeExport));
  ModelEvent(c, u"OnColumnExport", &S::OnColumnExport, TreeEventType(u"TLTColumnExportEvent", columnExport));
  ModelEvent(c, u"OnGetHint", &S::OnGetHint,
             TreeEventType(u"TLSTGetHintEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Column: TColumnIndex; "
                                                u"var LineBreakStyle: TLTTooltipLineBreakStyle; var HintText: string"));
  ModelEvent(c, u"OnMeasureTextHeight", &S::OnMeasureTextHeight,
             TreeEventType(u"TLTMeasureTextEvent", u"Sender: TBaseLiveTree; TargetCanvas: TCanvas; Node: PLiveNode; "
                                                   u"Column: TColumnIndex; const Text: string; var Extent: Integer"));
  ModelEvent(c, u"OnMeasureTextWidth", &S::OnMeasureTextWidth,
             TreeEventType(u"TLTMeasureTextEvent", u"Sender: TBaseLiveTree; TargetCanvas: TCanvas; Node: PLiveNode; "
                                                   u"Column: TColumnIndex; const Text: string; var Extent: Integer"));
  ModelEvent(c, u"OnNewText", &S::OnNewText,
             TreeEventType(u"TLSTNewTextEvent", u"Sender: TBaseLiveTree; Node: PLiveNode; Column: TColumnIndex; "
                                                u"NewText: string"));
  ModelEvent(c, u"OnNodeExport", &S::OnNodeExport, TreeEventType(u"TLTNodeExportEvent", nodeExport, u"Boolean"));
  ModelEvent(c, u"OnShortenString", &S::OnShortenString,
             TreeEventType(u"TLSTShortenStringEvent",
                           u"Sender: TBaseLiveTree; TargetCanvas: TCanvas; Node: PLiveNode; Column: TColumnIndex; "
                           u"const S: string; TextSpace: Integer; var Result: string; var Done: Boolean"));
}

void PublishDrawTreeEvents(TClassBuilder<TLiveDrawTree>& c) {
  using D = ::TCustomLiveDrawTree;
  ModelEvent(c, u"OnDrawNode", &D::OnDrawNode,
             TreeEventType(u"TLTDrawNodeEvent", u"Sender: TBaseLiveTree; const PaintInfo: TLTPaintInfo"));
  ModelEvent(c, u"OnGetNodeWidth", &D::OnGetNodeWidth,
             TreeEventType(u"TLTGetNodeWidthEvent", u"Sender: TBaseLiveTree; HintCanvas: TCanvas; Node: PLiveNode; "
                                                    u"Column: TColumnIndex; var NodeWidth: Integer"));
}

}  // namespace ltcontrol
