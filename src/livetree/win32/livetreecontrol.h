// The tree controls: windows around the tree models. The control owns its
// model, is the model's host (repaints, scroll bars, timers, measuring) and
// paints it through a surface on its canvas. The classes carry the names
// forms use; they live in their own namespace beside the models of the same
// names.
#pragma once

#include "ui/winapi.h"

#include <any>
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "classes/collection.h"
#include "classes/filer.h"
#include "livetree/drawtree.h"
#include "livetree/stringtree.h"
#include "livetree/win32/livetreeaccessible.h"
#include "livetree/win32/livetreeole.h"
#include "rtl/sets.h"
#include "ui/controls.h"
#include "ui/forms.h"
#include "ui/imglist.h"
#include "ui/keptprops.h"
#include "ui/stdctrls.h"

#include <oleacc.h>

class TClassRegistry;

const TTypeInfo& DescribeType(TypeTag<TLTPaintOption>);
const TTypeInfo& DescribeType(TypeTag<TSet<TLTPaintOption>>);
const TTypeInfo& DescribeType(TypeTag<TLTAnimationOption>);
const TTypeInfo& DescribeType(TypeTag<TSet<TLTAnimationOption>>);
const TTypeInfo& DescribeType(TypeTag<TLTAutoOption>);
const TTypeInfo& DescribeType(TypeTag<TSet<TLTAutoOption>>);
const TTypeInfo& DescribeType(TypeTag<TLTSelectionOption>);
const TTypeInfo& DescribeType(TypeTag<TSet<TLTSelectionOption>>);
const TTypeInfo& DescribeType(TypeTag<TLTMiscOption>);
const TTypeInfo& DescribeType(TypeTag<TSet<TLTMiscOption>>);
const TTypeInfo& DescribeType(TypeTag<TLTStringOption>);
const TTypeInfo& DescribeType(TypeTag<TSet<TLTStringOption>>);
const TTypeInfo& DescribeType(TypeTag<TLTColumnOption>);
const TTypeInfo& DescribeType(TypeTag<TSet<TLTColumnOption>>);
const TTypeInfo& DescribeType(TypeTag<TLTHeaderOption>);
const TTypeInfo& DescribeType(TypeTag<TSet<TLTHeaderOption>>);
const TTypeInfo& DescribeType(TypeTag<TLTHeaderStyle>);
const TTypeInfo& DescribeType(TypeTag<TLiveTreeColumnStyle>);
const TTypeInfo& DescribeType(TypeTag<TLTLineStyle>);
const TTypeInfo& DescribeType(TypeTag<TLTLineMode>);
const TTypeInfo& DescribeType(TypeTag<TLTButtonStyle>);
const TTypeInfo& DescribeType(TypeTag<TLTButtonFillMode>);
const TTypeInfo& DescribeType(TypeTag<TCheckImageKind>);
const TTypeInfo& DescribeType(TypeTag<TLTDrawSelectionMode>);
const TTypeInfo& DescribeType(TypeTag<TLTNodeAlignment>);
const TTypeInfo& DescribeType(TypeTag<TLTIncrementalSearch>);
const TTypeInfo& DescribeType(TypeTag<TLTHintMode>);
const TTypeInfo& DescribeType(TypeTag<THintAnimationType>);
const TTypeInfo& DescribeType(TypeTag<TSortDirection>);
const TTypeInfo& DescribeType(TypeTag<TCheckType>);
const TTypeInfo& DescribeType(TypeTag<TCheckState>);
const TTypeInfo& DescribeType(TypeTag<TLTExportMode>);
const TTypeInfo& DescribeType(TypeTag<TLTSearchDirection>);
const TTypeInfo& DescribeType(TypeTag<TLTSearchStart>);
const TTypeInfo& DescribeType(TypeTag<TLTNodeAttachMode>);
const TTypeInfo& DescribeType(TypeTag<TDragOperation>);
const TTypeInfo& DescribeType(TypeTag<TSet<TDragOperation>>);

// What a drag shows and how it runs; forms store them.
enum TLTDragImageKind : std::uint8_t { diComplete, diMainColumnOnly, diNoImage };
enum TLTDragType : std::uint8_t { dtOLE, dtVCL };
const TTypeInfo& DescribeType(TypeTag<TLTDragImageKind>);
const TTypeInfo& DescribeType(TypeTag<TLTDragType>);

namespace ltcontrol {

class TBaseLiveTree;

// The events forms bind to their published methods, with the control as
// Sender. Each is handed to the model while it is assigned.
using TLSTGetTextEvent = TDelegate<void(TBaseLiveTree* sender, PLiveNode node, TColumnIndex column,
                                        TLSTTextType textType, String& cellText)>;
using TLTPaintText = TDelegate<void(TBaseLiveTree* sender, TCanvas* targetCanvas, PLiveNode node, TColumnIndex column,
                                    TLSTTextType textType)>;
using TLTGetImageEvent = TDelegate<void(TBaseLiveTree* sender, PLiveNode node, TLTImageKind kind, TColumnIndex column,
                                        bool& ghosted, Integer& imageIndex)>;
using TLTCompareEvent =
    TDelegate<void(TBaseLiveTree* sender, PLiveNode node1, PLiveNode node2, TColumnIndex column, Integer& result)>;
using TLTIncrementalSearchEvent =
    TDelegate<void(TBaseLiveTree* sender, PLiveNode node, const String& searchText, Integer& result)>;
using TLTFocusChangeEvent = TDelegate<void(TBaseLiveTree* sender, PLiveNode node, TColumnIndex column)>;
using TLTChangeEvent = TDelegate<void(TBaseLiveTree* sender, PLiveNode node)>;
using TLTInitNodeEvent =
    TDelegate<void(TBaseLiveTree* sender, PLiveNode parentNode, PLiveNode node, TLiveNodeInitStates& initialStates)>;

const TTypeInfo& DescribeType(TypeTag<TLSTGetTextEvent>);
const TTypeInfo& DescribeType(TypeTag<TLTPaintText>);
const TTypeInfo& DescribeType(TypeTag<TLTGetImageEvent>);
const TTypeInfo& DescribeType(TypeTag<TLTCompareEvent>);
const TTypeInfo& DescribeType(TypeTag<TLTIncrementalSearchEvent>);
const TTypeInfo& DescribeType(TypeTag<TLTFocusChangeEvent>);
const TTypeInfo& DescribeType(TypeTag<TLTChangeEvent>);
const TTypeInfo& DescribeType(TypeTag<TLTInitNodeEvent>);

// The colour table (published as Colors).
class TLTColors : public TPersistent {
  KST_CLASS(TLTColors, TPersistent)
 public:
  explicit TLTColors(TBaseLiveTree* owner = nullptr) : FOwner(owner) {}
  TColor Color(TLTColorIndex index) const;
  void SetColor(TLTColorIndex index, TColor value);
  void Assign(const TPersistent* source) override;
  TPersistent* GetOwner() const override;

 private:
  TBaseLiveTree* FOwner;
  TLTColorTable FDetached = DefaultTreeColors;
};

// The option sets of a tree (published as TreeOptions).
class TLiveTreeOptions : public TPersistent {
  KST_CLASS(TLiveTreeOptions, TPersistent)
 public:
  explicit TLiveTreeOptions(TBaseLiveTree* owner = nullptr) : FOwner(owner) {}
  TCustomLiveTreeOptions& Model() const;
  TPersistent* GetOwner() const override;

 protected:
  TBaseLiveTree* FOwner;
};

class TStringTreeOptions : public TLiveTreeOptions {
  KST_CLASS(TStringTreeOptions, TLiveTreeOptions)
 public:
  using TLiveTreeOptions::TLiveTreeOptions;
};

class TLiveTreeColumns;

// One column; its values live in the model's column of the same index.
class TLiveTreeColumn : public TCollectionItem {
  KST_CLASS(TLiveTreeColumn, TCollectionItem)
 public:
  explicit TLiveTreeColumn(TCollection* collection);
  ::TLiveTreeColumn& Model() const;
  void DefineProperties(TFiler& filer) override;
  String DisplayName() const override { return Model().Text(); }
};

class TLiveTreeColumns : public TCollection {
  KST_CLASS(TLiveTreeColumns, TCollection)
 public:
  explicit TLiveTreeColumns(TBaseLiveTree* owner = nullptr);
  ::TLiveTreeColumns* Model() const;
  TPersistent* GetOwner() const override;

 protected:
  void Notify(TCollectionItem* item, bool added) override;

 private:
  friend class TLiveTreeColumn;
  TBaseLiveTree* FOwner;
  // Items the model already had when the collection made its item for them.
  bool FAdopting = false;
};

// The header (published as Header).
class TLTHeader : public TPersistent {
  KST_CLASS(TLTHeader, TPersistent)
 public:
  explicit TLTHeader(TBaseLiveTree* owner = nullptr);
  ~TLTHeader() override;
  ::TLTHeader& Model() const;
  TLiveTreeColumns* GetColumns() const { return FColumns.get(); }
  void SetColumns(const TLiveTreeColumns* value);
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(const TFont* value);
  TPersistent* GetOwner() const override;
  // The header's column images and its pop-up menu (the tree watches them
  // go).
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* value);
  void ComponentGone(TComponent* component);

 private:
  void FontChanged(TObject*);
  TBaseLiveTree* FOwner;
  TCustomImageList* FImages = nullptr;
  TPopupMenu* FPopupMenu = nullptr;
  std::unique_ptr<TLiveTreeColumns> FColumns;
  std::unique_ptr<TFont> FFont;
};

// The scroll bars a tree shows (published as ScrollBarOptions).
class TScrollBarOptions : public TPersistent {
  KST_CLASS(TScrollBarOptions, TPersistent)
 public:
  explicit TScrollBarOptions(TBaseLiveTree* owner = nullptr) : FOwner(owner) {}
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  bool AlwaysVisible() const { return FAlwaysVisible; }
  void SetAlwaysVisible(bool value);
  Integer HorizontalIncrement() const { return FHorizontalIncrement; }
  void SetHorizontalIncrement(Integer value) { FHorizontalIncrement = value; }
  Integer VerticalIncrement() const { return FVerticalIncrement; }
  void SetVerticalIncrement(Integer value) { FVerticalIncrement = value; }
  void Assign(const TPersistent* source) override;
  TPersistent* GetOwner() const override;

 private:
  TBaseLiveTree* FOwner;
  TScrollStyle FScrollBars = ssBoth;
  bool FAlwaysVisible = false;
  Integer FHorizontalIncrement = 20;
  Integer FVerticalIncrement = 20;
};

// The names of the clipboard formats a tree offers.
// Sorted, without duplicates, without regard to case; only the registered
// formats the owner's class renders are taken.
class TClipboardFormats : public TPersistent {
  KST_CLASS(TClipboardFormats, TPersistent)
 public:
  explicit TClipboardFormats(TBaseLiveTree* owner = nullptr);
  TStrings* GetStrings() const { return FStrings.get(); }
  void SetStrings(const TStrings* value);
  void Assign(const TPersistent* source) override;
  // -1 when the registry does not know the format or the owner cannot
  // render it; the existing index for a duplicate.
  Integer Add(const String& s);
  void Clear() { FStrings->Clear(); }

 protected:
  void DefineProperties(TFiler& filer) override;

 private:
  TBaseLiveTree* FOwner;
  std::unique_ptr<TStringList> FStrings;
};

class TBaseLiveTree;

// The in-place editor of a node's text: Enter takes the text, Escape drops
// it, and leaving the editor takes it with toAutoAcceptEditChange, else
// drops it.
class TLTEdit : public TCustomEdit {
  KST_CLASS(TLTEdit, TCustomEdit)
 public:
  using TCustomEdit::TCustomEdit;
  TBaseLiveTree* Tree() const { return FTree; }
  void SetTree(TBaseLiveTree* tree) { FTree = tree; }

 protected:
  void WndProc(TMessage& message) override;

 private:
  TBaseLiveTree* FTree = nullptr;
};

// The window of the tree's hints: with the tree's hint animation it fades or
// slides into view where the system can animate windows.
class TLiveTreeHintWindow : public THintWindow {
  KST_CLASS(TLiveTreeHintWindow, THintWindow)
 public:
  using THintWindow::THintWindow;
  // Data is the tree whose hint is shown (or nil).
  void ActivateHintData(TRect rect, const String& hint, void* data) override;
  // How the last hint came into view (hatNone: it simply appeared).
  THintAnimationType ShownWith() const { return FShownWith; }
  // The identity by which the hint machinery reuses windows of this class.
  static const void* ClassId();

 private:
  THintAnimationType FShownWith = hatNone;
};

// The drag events: the source is the tree of this process the drag comes
// from (nil for other sources); Formats are the data object's formats.
using TLTDragOverEvent = std::function<void(TBaseLiveTree* sender, TBaseLiveTree* source, TShiftState shift,
                                            TDragState state, TPoint pt, TDropMode mode, DWORD& effect, bool& accept)>;
using TLTDragDropEvent =
    std::function<void(TBaseLiveTree* sender, TBaseLiveTree* source, IDataObject* dataObject,
                       const std::vector<Word>& formats, TShiftState shift, TPoint pt, DWORD& effect, TDropMode mode)>;
using TLTRenderOLEDataEvent = std::function<void(TBaseLiveTree* sender, const FORMATETC& formatEtcIn, STGMEDIUM& medium,
                                                 bool forClipboard, HRESULT& result)>;
using TLTGetUserClipboardFormatsEvent = std::function<void(TBaseLiveTree* sender, TFormatEtcArray& formats)>;
using TLTCreateDataObjectEvent = std::function<void(TBaseLiveTree* sender, IDataObject*& dataObject)>;

class TLiveStringTree;
class TLiveDrawTree;

// The description of an event a form names, from its parameter list as
// "Sender: TBaseLiveTree; var Allowed: Boolean" (kept for the program's run).
const TMethodTypeInfo& TreeEventType(const char16_t* typeName, const char16_t* params,
                                     const char16_t* resultType = nullptr);
// The events that the classes publish beyond the hand-written ones.
void PublishTreeEvents(TClassBuilder<TBaseLiveTree>& c);
void PublishStringTreeEvents(TClassBuilder<TLiveStringTree>& c);
void PublishDrawTreeEvents(TClassBuilder<TLiveDrawTree>& c);
// Every published event of a tree or its header has its own description,
// given with its property; this one stands for the signature only.
const TTypeInfo& AnyTreeEventType();
template <class R, class... A>
const TTypeInfo& DescribeType(TypeTag<TDelegate<R(TBaseLiveTree*, A...)>>) {
  return AnyTreeEventType();
}
template <class R, class... A>
const TTypeInfo& DescribeType(TypeTag<TDelegate<R(TLTHeader*, A...)>>) {
  return AnyTreeEventType();
}

class TBaseLiveTree : public TCustomControl, public ILiveTreeHost {
  KST_CLASS(TBaseLiveTree, TCustomControl)
 public:
  explicit TBaseLiveTree(TComponent* owner);
  ~TBaseLiveTree() override;

  ::TBaseLiveTree& Model() const { return *FModel; }
  TLTColors* GetColors() const { return FColors.get(); }
  void SetColors(const TLTColors* value) { FColors->Assign(value); }
  TLTHeader* GetHeader() const { return FHeader.get(); }
  void SetHeader(const TLTHeader* value);
  TLiveTreeOptions* GetTreeOptions() const { return FTreeOptions.get(); }
  void SetTreeOptions(const TLiveTreeOptions* value);
  TScrollBarOptions* GetScrollBarOptions() const { return FScrollBarOptions.get(); }
  void SetScrollBarOptions(const TScrollBarOptions* value) { FScrollBarOptions->Assign(value); }
  TClipboardFormats* GetClipboardFormats() const { return FClipboardFormats.get(); }
  void SetClipboardFormats(const TClipboardFormats* value) { FClipboardFormats->Assign(value); }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* value);
  TCustomImageList* StateImages() const { return FStateImages; }
  void SetStateImages(TCustomImageList* value);
  TCustomImageList* CustomCheckImages() const { return FCustomCheckImages; }
  void SetCustomCheckImages(TCustomImageList* value);
  Cardinal RootNodeCount() const { return FModel->RootNodeCount(); }
  void SetRootNodeCount(Cardinal value);
  TBorderStyle BorderStyle() const { return FModel->BorderStyle(); }
  void SetBorderStyle(TBorderStyle value);
  // Stored for forms: how drags look and run, the cursor over hot nodes.
  TLTDragImageKind DragImageKind() const { return FDragImageKind; }
  void SetDragImageKind(TLTDragImageKind value) { FDragImageKind = value; }
  TLTDragType DragType() const { return FDragType; }
  void SetDragType(TLTDragType value) { FDragType = value; }
  TCursor HotCursor() const { return FHotCursor; }
  void SetHotCursor(TCursor value) { FHotCursor = value; }
  // Automatic drags start from any press on a node's content.
  TDragMode DragMode() const { return Kept.DragMode; }
  void SetDragMode(TDragMode value) {
    Kept.DragMode = value;
    FModel->SetDragAutomatic(value == dmAutomatic);
  }

  // The header strip as the window frame shows it, painted onto a context
  // at (X, Y), Width pixels wide (negative: the client width).
  void PaintHeader(HDC dc, Integer x, Integer y, Integer width = -1);
  // The header's height in the frame (0 when it is hidden).
  Integer HeaderHeight() const;
  // Paints the window frame and the header strip again, not the client area.
  void RepaintFrame();
  // Scrolls so that the tree's vertical position Y is at the top.
  void ScrollTo(Integer y);

  // ---- ILiveTreeHost ----
  bool HandleAllocated() const override { return TWinControl::HandleAllocated(); }
  bool Visible() const override { return TControl::Visible(); }
  bool Focused() const override;
  void Invalidate() override { TWinControl::Invalidate(); }
  void InvalidateNode(PLiveNode node) override;
  void InvalidateToBottom(PLiveNode node) override;
  void UpdateScrollBars(bool repaint) override;
  void UpdateVerticalScrollBar(bool repaint) override { UpdateScrollBars(repaint); }
  void UpdateHorizontalScrollBar(bool repaint) override { UpdateScrollBars(repaint); }
  void StartTimer(int id, Cardinal milliseconds) override;
  void StopTimer(int id) override;
  void SetRedraw(bool on) override;
  void WakeInterfaceThread() override;
  TCanvas* Canvas() override { return GetCanvas(); }
  // Never makes the window: the cache builder thread asks too.
  Integer ClientHeight() const override;
  Integer ClientWidth() const override;
  void CancelHint() override {}
  TSize TextExtent(const TLiveTreeFont& font, StringView text) override;
  TSize WrappedTextExtent(const TLiveTreeFont& font, StringView text, Integer width) override;
  Integer FontHeight(const TLiveTreeFont& font) override;
  TSize ImageListSize(TLTImageListKind kind) override;
  TLiveTreeFont CanvasFont(TCanvas* canvas) override;
  void SetCanvasFont(TCanvas* canvas, const TLiveTreeFont& font) override;
  Integer VerticalScrollBarWidth() const override { return GetSystemMetrics(SM_CXVSCROLL); }
  Integer HorizontalScrollBarHeight() const override { return GetSystemMetrics(SM_CYHSCROLL); }
  bool VerticalScrollBarShown() const override;
  bool HorizontalScrollBarShown() const override;
  void ScrollContent(Integer dx, Integer dy) override;
  void InvalidateHeader(const TRect&) override;
  void HeaderFrameChanged() override;
  void Beep() override { MessageBeep(0); }
  bool BeginNodeEdit(PLiveNode node, TColumnIndex column) override;
  bool EndNodeEdit(bool accept) override;
  TPoint CursorPos() const override;
  Integer DragThreshold() const override;
  Integer HorizontalIncrement() const override;
  Integer VerticalIncrement() const override;
  void InvalidateArea(const TRect& r) override;
  void PaintNow() override;
  void CaptureMouse(bool capture) override;
  void ShowPanningWindow(TPoint p, TLTPanningImage image) override;
  void HidePanningWindow() override;
  void SetPanningCursor(TLTPanningImage image) override;
  THintAnimationType SystemHintAnimation() const override;
  // The window wheel panning shows (nil while none runs) and the picture of
  // the cursor set last.
  HWND PanningWindow() const { return FPanningWindow; }
  TLTPanningImage PanningCursorImage() const { return FPanningCursorImage; }
  // The editor of the running (or last) node edit; nil before the first.
  TLTEdit* Editor() const { return FEditor.get(); }

  // ---- Clipboard ----
  // Copy and cut put a data object of this tree on the clipboard and mark
  // the selected nodes; nothing happens without a selection (or, for a cut,
  // in a read-only tree). Paste imports "Live Tree Data" at the focused node
  // by DefaultPasteMode; a cut of a tree of this process is moved.
  virtual bool CopyToClipboard();
  virtual bool CutToClipboard();
  virtual bool PasteFromClipboard();
  // The clipboard renders the data now and keeps it; the tree keeps no marks.
  void FlushClipboard();
  void CancelCutOrCopy() { FModel->CancelCutOrCopy(); }
  void FinishCutOrCopy() { FModel->FinishCutOrCopy(); }
  // The formats a new data object of this tree offers.
  virtual TFormatEtcArray CollectClipboardFormats();
  // Renders one format of the data: the nodes of a pending cut or copy for
  // the clipboard, the selection for a drag.
  virtual HRESULT RenderFormat(const FORMATETC& formatEtcIn, STGMEDIUM& medium, bool forClipboard);

  // ---- Drag and drop ----
  // The tree of this process that produced a data object; nil for data of
  // other processes, of trees that are gone, or without a reference.
  TBaseLiveTree* SourceTreeOf(IDataObject* dataObject);
  // Imports the "Live Tree Data" of a data object at Target by Mode; False
  // when it offers none. Optimized moves the nodes of Source instead.
  bool ProcessOLEData(TBaseLiveTree* source, IDataObject* dataObject, PLiveNode targetNode, TLTNodeAttachMode mode,
                      bool optimized);
  // A drop's import: a move from a tree of this process reports no effect
  // back, so the source does not delete the moved nodes again.
  bool ProcessDrop(IDataObject* dataObject, PLiveNode targetNode, DWORD& effect, TLTNodeAttachMode mode);
  // Starts dragging the selection (Immediate: at once, through the
  // platform's drag loop); otherwise the drag waits for the mouse.
  void BeginDrag(bool immediate, Integer threshold = -1);
  bool Dragging() const;
  TLTDragManager* DragManager();
  // A data object for dragging (OnCreateDataObject's, else the tree's own);
  // the caller owns the reference.
  IDataObject* DragDataObject();
  // The drop target side, driven by the drag manager (screen coordinates).
  HRESULT HandleOleDragEnter(IDataObject* dataObject, DWORD keyState, POINTL pt, DWORD& effect);
  HRESULT HandleOleDragOver(TBaseLiveTree* source, DWORD keyState, DWORD& effect, POINTL pt, TDragState state);
  void HandleOleDragLeave();
  HRESULT HandleOleDrop(IDataObject* dataObject, DWORD keyState, POINTL pt, DWORD& effect);
  // Whether the window is registered as a drop target.
  bool DropTargetRegistered() const { return FDropRegistered; }
  void AcceptDropsChanged(bool accept) override;

  TLTDragOverEvent OnDragOver;
  TLTDragDropEvent OnDragDrop;
  TLTRenderOLEDataEvent OnRenderOLEData;
  TLTGetUserClipboardFormatsEvent OnGetUserClipboardFormats;
  TLTCreateDataObjectEvent OnCreateDataObject;

  // ---- Accessibility ----
  const String& AccessibleName() const { return FAccessibleName; }
  void SetAccessibleName(const String& value) { FAccessibleName = value; }

  // Reading a form starts here: until Loaded the model only records what
  // needs the whole form (the root's child count, the main column, positions).
  void SetName(const String& name) override;
  void SetParentComponent(TComponent* parent) override;
  void Loaded() override;

  const TLTChangeEvent& OnChange() const { return FOnChange; }
  void SetOnChange(const TLTChangeEvent& value);
  // Destruction of the owner has begun: its handlers may no longer run.
  bool OwnerDestroying() const;
  void DropPublishedHandlers();
  // The published events kept by name: the handler a form assigned (empty
  // when none) and, for an event the model fires, how to let go of it.
  const std::any* PublishedEvent(const String& name) const;
  void SetPublishedEvent(const String& name, std::any handler, std::function<void()> drop);
  const TLTCompareEvent& OnCompareNodes() const { return FOnCompareNodes; }
  void SetOnCompareNodes(const TLTCompareEvent& value);
  const TLTFocusChangeEvent& OnFocusChanged() const { return FOnFocusChanged; }
  void SetOnFocusChanged(const TLTFocusChangeEvent& value);
  const TLTGetImageEvent& OnGetImageIndex() const { return FOnGetImageIndex; }
  void SetOnGetImageIndex(const TLTGetImageEvent& value);
  const TLTIncrementalSearchEvent& OnIncrementalSearch() const { return FOnIncrementalSearch; }
  void SetOnIncrementalSearch(const TLTIncrementalSearchEvent& value);
  const TLTInitNodeEvent& OnInitNode() const { return FOnInitNode; }
  void SetOnInitNode(const TLTInitNodeEvent& value);

 protected:
  TBaseLiveTree(TComponent* owner, std::unique_ptr<::TBaseLiveTree> model, bool stringOptions);
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Paint() override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void CMFontChanged(TMessage& message) override;
  void CMColorChanged(TMessage& message) override;

 private:
  void HandleScroll(int bar, int code);
  // The pop-up menu OnGetPopupMenu gives for a node (asking its parents
  // while the handler lets it), or for no node; shown at the client point.
  TPopupMenu* QueryPopupMenu(PLiveNode node, TColumnIndex column, TPoint p);
  bool ShowNodePopup(PLiveNode node, TColumnIndex column, TPoint p);
  // The context-menu key: the menu at the focused cell.
  void ShowFocusedNodePopup();
  // Shows or hides a scroll bar and tells OnShowScrollBar.
  void NotifyScrollBar(int bar, bool show);
  // The window's size changed: columns refit, ranges and bars follow.
  void ClientSizeChanged();
  // Lays the editor over the node's cell; returns the cell's text.
  String PlaceEditor(PLiveNode node, TColumnIndex column);
  // A running editor follows its cell after the content moved.
  void FollowWithEditor();
  // Keyboard and mouse input; true when the message was fully handled.
  bool HandleInput(TMessage& message);
  bool HandleHeaderMouse(TMessage& message);
  // The emulated tree-view item messages of accessibility clients.
  LRESULT HandleTreeViewMessage(const TMessage& message);
  LRESULT HandleGetObject(const TMessage& message);
  void ReleaseAccessibleObjects();
  void RegisterDropTarget();
  void RevokeDropTarget();
  void RunOleDrag();
  bool PutOnClipboard(bool cut);
  void PrepareDragImage(IDataObject* dataObject);
  bool AskDragOver(TBaseLiveTree* source, TShiftState shift, TDragState state, TPoint pt, DWORD& effect);
  TShiftState DragShiftState(DWORD keyState) const;
  HWND WindowHandleIfAny() const;
  void NoteReading();
  void NonClientPaint();
  TLiveTreeFont ModelFont(const TFont& font) const;
  void ApplyFont(TFont& target, const TLiveTreeFont& font) const;

  std::unique_ptr<::TBaseLiveTree> FModel;
  std::unique_ptr<TLTColors> FColors;
  std::unique_ptr<TLTHeader> FHeader;
  std::unique_ptr<TLiveTreeOptions> FTreeOptions;
  std::unique_ptr<TScrollBarOptions> FScrollBarOptions;
  std::unique_ptr<TClipboardFormats> FClipboardFormats;
  // Measures texts outside a paint.
  std::unique_ptr<TBitmap> FMeasureBitmap;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FStateImages = nullptr;
  TCustomImageList* FCustomCheckImages = nullptr;
  bool FSyncingScrollBars = false;
  std::unique_ptr<TLTEdit> FEditor;
  std::map<String, std::any> FPublishedEvents;
  TLTDragImageKind FDragImageKind = diComplete;
  TLTDragType FDragType = dtOLE;
  TCursor FHotCursor = crDefault;
  std::map<String, std::function<void()>> FPublishedEventDrops;
  PLiveNode FEditNode = nullptr;
  // An edit is ending: the editor losing the focus must not end it again.
  bool FEndingEdit = false;
  TLTChangeEvent FOnChange;
  TLTCompareEvent FOnCompareNodes;
  TLTFocusChangeEvent FOnFocusChanged;
  TLTGetImageEvent FOnGetImageIndex;
  TLTIncrementalSearchEvent FOnIncrementalSearch;
  TLTInitNodeEvent FOnInitNode;
  friend class TLTDataObject;
  friend class TLTAccessibilityFactory;
  // The data object of this tree on the clipboard (not counted): it tells
  // the tree when it goes.
  TLTDataObject* FClipboardDataObject = nullptr;
  TLTDragManager* FDragManager = nullptr;
  bool FOleInitialized = false;
  // False once the control is being destroyed: a handler may free the tree
  // while its own drag loop runs, and the loop must not touch it afterwards.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  bool FDropRegistered = false;
  TPoint FDragStart;
  HWND FPanningWindow = nullptr;
  HBITMAP FPanningImage = nullptr;
  std::array<HCURSOR, piMoveSW + 1> FPanningCursors{};
  TLTPanningImage FPanningCursorImage = piMoveAll;
  IAccessible* FAccessible = nullptr;
  IAccessible* FAccessibleItem = nullptr;
  String FAccessibleName;
};

class TLiveStringTree : public TBaseLiveTree {
  KST_CLASS(TLiveStringTree, TBaseLiveTree)
 public:
  explicit TLiveStringTree(TComponent* owner);
  // The clipboard takes the texts while the text events still answer.
  ~TLiveStringTree() override;
  ::TLiveStringTree& StringModel() const { return static_cast<::TLiveStringTree&>(Model()); }
  String DefaultText() const { return StringModel().DefaultText(); }
  void SetDefaultText(const String& value) { StringModel().SetDefaultText(value); }
  void DefineProperties(TFiler& filer) override;

  const TLSTGetTextEvent& OnGetText() const { return FOnGetText; }
  void SetOnGetText(const TLSTGetTextEvent& value);
  const TLTPaintText& OnPaintText() const { return FOnPaintText; }
  void SetOnPaintText(const TLTPaintText& value);
  // The text formats come after the base rendering.
  HRESULT RenderFormat(const FORMATETC& formatEtcIn, STGMEDIUM& medium, bool forClipboard) override;

 private:
  TLSTGetTextEvent FOnGetText;
  TLTPaintText FOnPaintText;
};

class TLiveDrawTree : public TBaseLiveTree {
  KST_CLASS(TLiveDrawTree, TBaseLiveTree)
 public:
  explicit TLiveDrawTree(TComponent* owner);
  ::TLiveDrawTree& DrawModel() const { return static_cast<::TLiveDrawTree&>(Model()); }
};

}  // namespace ltcontrol

// Makes the tree classes and their parts known by name to a registry.
void RegisterLiveTreeClasses(TClassRegistry& registry);
