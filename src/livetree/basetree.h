// The tree model: node store, navigation, expansion, sorting, the position
// cache, selection, check states and the tree's options, properties and
// events. Portable: everything that needs the window goes through the host.
#pragma once

#include <exception>
#include <functional>
#include <iterator>
#include <memory>
#include <thread>

#include "livetree/livetreeheader.h"
#include "livetree/livetreehost.h"
#include "livetree/livetreeoptions.h"
#include "livetree/livetreepaint.h"
#include "livetree/livetreetransfer.h"
#include "livetree/livetreetypes.h"
#include "rtl/object.h"
#include "rtl/uitypes.h"

class TBaseLiveTree;
class TStream;

// Event types. A handler receives the tree as Sender; var parameters are
// references preset to the permissive answer.
using TLTChangeEvent = std::function<void(TBaseLiveTree* sender, PLiveNode node)>;
using TLTChangingEvent = std::function<void(TBaseLiveTree* sender, PLiveNode node, bool& allowed)>;
using TLTFreeNodeEvent = TLTChangeEvent;
using TLTAddToSelectionEvent = TLTChangeEvent;
using TLTRemoveFromSelectionEvent = TLTChangeEvent;
using TLTNodeMovedEvent = TLTChangeEvent;
using TLTNodeCopiedEvent = TLTChangeEvent;
using TLTGetNodeDataSizeEvent = std::function<void(TBaseLiveTree* sender, Integer& nodeDataSize)>;
using TLTInitNodeEvent = std::function<void(TBaseLiveTree* sender, PLiveNode parentNode, PLiveNode node,
                                            TLiveNodeInitStates& initialStates)>;
using TLTInitChildrenEvent = std::function<void(TBaseLiveTree* sender, PLiveNode node, Cardinal& childCount)>;
using TLTMeasureItemEvent =
    std::function<void(TBaseLiveTree* sender, TCanvas* targetCanvas, PLiveNode node, Integer& nodeHeight)>;
using TLTStructureChangeEvent = std::function<void(TBaseLiveTree* sender, PLiveNode node, TChangeReason reason)>;
using TLTStateChangeEvent = std::function<void(TBaseLiveTree* sender, TLiveTreeStates enter, TLiveTreeStates leave)>;
using TLTUpdatingEvent = std::function<void(TBaseLiveTree* sender, TLTUpdateState state)>;
using TLTNodeMovingEvent = std::function<void(TBaseLiveTree* sender, PLiveNode node, PLiveNode target, bool& allowed)>;
using TLTNodeCopyingEvent = TLTNodeMovingEvent;
using TLTCompareEvent =
    std::function<void(TBaseLiveTree* sender, PLiveNode node1, PLiveNode node2, TColumnIndex column, Integer& result)>;
using TLTOperationEvent = std::function<void(TBaseLiveTree* sender, TLTOperationKind operationKind)>;
using TLTCheckChangingEvent =
    std::function<void(TBaseLiveTree* sender, PLiveNode node, TCheckState& newState, bool& allowed)>;
using TLTFocusChangeEvent = std::function<void(TBaseLiveTree* sender, PLiveNode node, TColumnIndex column)>;
using TLTFocusChangingEvent = std::function<void(TBaseLiveTree* sender, PLiveNode oldNode, PLiveNode newNode,
                                                 TColumnIndex oldColumn, TColumnIndex newColumn, bool& allowed)>;
using TLTHotNodeChangeEvent = std::function<void(TBaseLiveTree* sender, PLiveNode oldNode, PLiveNode newNode)>;
using TLTGetCellIsEmptyEvent =
    std::function<void(TBaseLiveTree* sender, PLiveNode node, TColumnIndex column, bool& isEmpty)>;
using TLTIncrementalSearchEvent =
    std::function<void(TBaseLiveTree* sender, PLiveNode node, const String& searchText, Integer& result)>;
using TLTEditChangingEvent =
    std::function<void(TBaseLiveTree* sender, PLiveNode node, TColumnIndex column, bool& allowed)>;
using TLTEditChangeEvent = std::function<void(TBaseLiveTree* sender, PLiveNode node, TColumnIndex column)>;
using TLTEditCancelEvent = std::function<void(TBaseLiveTree* sender, TColumnIndex column)>;
using TLTDragAllowedEvent = TLTEditChangingEvent;
using TLTColumnClickEvent = std::function<void(TBaseLiveTree* sender, TColumnIndex column, TShiftState shift)>;
using TLTHelpContextEvent =
    std::function<void(TBaseLiveTree* sender, PLiveNode node, TColumnIndex column, Integer& helpContext)>;
using TLTScrollEvent = std::function<void(TBaseLiveTree* sender, Integer deltaX, Integer deltaY)>;
using TLTScrollBarShowEvent = std::function<void(TBaseLiveTree* sender, Integer bar, bool show)>;

// Events with the header as Sender.
using TLTHeaderNotifyEvent = std::function<void(TLTHeader* sender, TColumnIndex column)>;
using TLTAfterAutoFitColumnsEvent = std::function<void(TLTHeader* sender)>;
using TLTBeforeAutoFitColumnEvent =
    std::function<void(TLTHeader* sender, TColumnIndex column, TSmartAutoFitType& smartAutoFitType, bool& allowed)>;
using TLTBeforeAutoFitColumnsEvent = std::function<void(TLTHeader* sender, TSmartAutoFitType& smartAutoFitType)>;
using TLTBeforeGetMaxColumnWidthEvent =
    std::function<void(TLTHeader* sender, TColumnIndex column, bool& useSmartColumnWidth)>;
using TLTAfterGetMaxColumnWidthEvent = std::function<void(TLTHeader* sender, TColumnIndex column, Integer& maxWidth)>;
using TLTCanSplitterResizeColumnEvent =
    std::function<void(TLTHeader* sender, TPoint p, TColumnIndex column, bool& allowed)>;
using TLTHeaderClickEvent = std::function<void(TLTHeader* sender, const TLTHeaderHitInfo& hitInfo)>;

// The tree stream's events: the caller's data of a node (Node nil for the
// hidden root) and the caller's data behind the nodes.
using TLTSaveNodeEvent = std::function<void(TBaseLiveTree* sender, PLiveNode node, TStream& stream)>;
using TLTSaveTreeEvent = std::function<void(TBaseLiveTree* sender, TStream& stream)>;

using TLTGetImageEvent = std::function<void(TBaseLiveTree* sender, PLiveNode node, TLTImageKind kind,
                                            TColumnIndex column, bool& ghosted, Integer& imageIndex)>;

enum TLTCellPaintMode : std::uint8_t { cpmPaint, cpmGetContentMargin };
enum TLTCellContentMarginType : std::uint8_t { ccmtAllSides, ccmtTopLeftOnly, ccmtBottomRightOnly };
using TLTBeforeCellPaintEvent =
    std::function<void(TBaseLiveTree* sender, TCanvas* targetCanvas, PLiveNode node, TColumnIndex column,
                       TLTCellPaintMode cellPaintMode, TRect cellRect, TRect& contentRect)>;

enum TLTLineStyle : std::uint8_t { lsCustomStyle, lsDotted, lsSolid };
using TLTPaintEvent = std::function<void(TBaseLiveTree* sender, TCanvas* targetCanvas)>;
using TLTBeforeDrawLineImageEvent =
    std::function<void(TBaseLiveTree* sender, PLiveNode node, Integer level, Integer& posX)>;

// What lies under a point of the tree.
struct THitInfo {
  PLiveNode HitNode = nullptr;
  THitPositions HitPositions;
  TColumnIndex HitColumn = NoColumn;
  TPoint HitPoint;
};

using TLTNodeClickEvent = std::function<void(TBaseLiveTree* sender, const THitInfo& hitInfo)>;

// A key before the tree handles it: the handler may change the key and the
// shift state, or keep the tree from handling it.
using TLTKeyActionEvent =
    std::function<void(TBaseLiveTree* sender, Word& charCode, TShiftState& shift, bool& doDefault)>;

// The keys the tree handles, as the platform's virtual-key codes.
enum TLTKey : Word {
  ltkBack = 8,
  ltkTab = 9,
  ltkEscape = 27,
  ltkSpace = 32,
  ltkPrior = 33,
  ltkNext = 34,
  ltkEnd = 35,
  ltkHome = 36,
  ltkLeft = 37,
  ltkUp = 38,
  ltkRight = 39,
  ltkDown = 40,
  ltkA = 0x41,
  ltkMultiply = 0x6A,
  ltkAdd = 0x6B,
  ltkSubtract = 0x6D,
  ltkDivide = 0x6F,
  ltkF2 = 0x71
};

// The callback of IterateSubtree.
using TLTGetNodeProc = std::function<void(TBaseLiveTree* sender, PLiveNode node, void* data, bool& abort)>;

// What hints the tree shows: the control's own hint, node hints (with the
// control's hint where no node is), or tooltips for texts cut off.
enum TLTHintMode : std::uint8_t { hmDefault, hmHint, hmHintAndDefault, hmTooltip };

// A tooltip: the whole text of a cut-off cell, shown over that text.
struct TLTTooltip {
  PLiveNode Node = nullptr;
  TColumnIndex Column = NoColumn;
  String Text;
  TRect TextRect;  // client coordinates, the text's whole extent
  TRect CellRect;  // client coordinates: while the mouse stays inside, the tooltip stays
};

// The directions auto-scrolling and panning move the content in.
enum TScrollDirection : std::uint8_t { sdLeft, sdUp, sdRight, sdDown };
using TScrollDirections = TLTSet<TScrollDirection, std::uint8_t>;

enum TLTIncrementalSearch : std::uint8_t { isAll, isNone, isInitializedOnly, isVisibleOnly };
enum TLTSearchDirection : std::uint8_t { sdForward, sdBackward };
enum TLTSearchStart : std::uint8_t { ssAlwaysStartOver, ssLastHit, ssFocusedNode };

// Timer identifiers of the tree's window.
enum : int {
  TimerIdExpand = 1,
  TimerIdEdit = 2,
  TimerIdHeaderHover = 3,
  TimerIdScroll = 4,
  TimerIdChange = 5,
  TimerIdStructureChange = 6,
  TimerIdSearch = 7,
  TimerIdThemeChange = 8
};

// One cache entry every this many shown nodes.
constexpr Cardinal CacheThreshold = 2000;

struct TCacheEntry {
  PLiveNode Node = nullptr;
  Cardinal AbsoluteTop = 0;
};

enum TVZLiveNodeEnumerationMode : std::uint8_t {
  vneAll,
  vneChecked,
  vneChild,
  vneCutCopy,
  vneInitialized,
  vneLeaf,
  vneLevel,
  vneNoInit,
  vneSelected,
  vneVisible,
  vneVisibleChild,
  vneVisibleNoInitChild,
  vneVisibleNoInit
};

// A walk over the nodes of a tree usable with range-for; the mode picks the
// navigation pair.
struct TLTLiveNodeEnumeration {
  TVZLiveNodeEnumerationMode FMode = vneAll;
  TBaseLiveTree* FTree = nullptr;
  bool FConsiderChildrenAbove = false;
  PLiveNode FNode = nullptr;
  Cardinal FNodeLevel = 0;
  TCheckState FState = csUncheckedNormal;
  bool FIncludeFiltered = false;

  class Iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = PLiveNode;
    using difference_type = std::ptrdiff_t;
    using pointer = const PLiveNode*;
    using reference = PLiveNode;

    Iterator() = default;
    Iterator(const TLTLiveNodeEnumeration* owner, PLiveNode current) : FOwner(owner), FCurrent(current) {}
    PLiveNode operator*() const { return FCurrent; }
    Iterator& operator++();
    bool operator==(const Iterator& other) const { return FCurrent == other.FCurrent; }

   private:
    const TLTLiveNodeEnumeration* FOwner = nullptr;
    PLiveNode FCurrent = nullptr;
  };

  Iterator begin() const;
  Iterator end() const { return Iterator(this, nullptr); }
  PLiveNode First() const;
  PLiveNode Next(PLiveNode node) const;
};

class TBaseLiveTree : public TObject {
  friend class TCustomLiveTreeOptions;
  friend class TWorkerThread;
  friend class TLTHeader;
  friend class TLiveTreeColumns;
  friend class TLiveTreeColumn;
  friend class TLiveTreePaintRun;

 public:
  // Host nil: a tree without a window.
  explicit TBaseLiveTree(ILiveTreeHost* host = nullptr);
  ~TBaseLiveTree() override;
  TBaseLiveTree(const TBaseLiveTree&) = delete;
  TBaseLiveTree& operator=(const TBaseLiveTree&) = delete;

  ILiveTreeHost* Host() const { return FHost; }
  void SetHost(ILiveTreeHost* host);

  // ---- Node store ----
  Integer NodeDataSize() const { return FNodeDataSize; }
  void SetNodeDataSize(Integer value);
  Cardinal RootNodeCount() const { return FRoot->ChildCount; }
  void SetRootNodeCount(Cardinal value);
  Cardinal TotalCount();
  Cardinal UpdateCount() const { return FUpdateCount; }
  PLiveNode RootNode() const { return FRoot; }
  Cardinal GetChildCount(PLiveNode node) const;
  void SetChildCount(PLiveNode node, Cardinal newCount);
  PLiveNode NodeParent(PLiveNode node) const;
  bool Expanded(PLiveNode node) const { return node != nullptr && node->Has(vsExpanded); }
  bool HasChildren(PLiveNode node) const;
  Cardinal GetNodeHeight(PLiveNode node);
  void SetNodeHeight(PLiveNode node, Cardinal value);
  bool InitializedVisible(PLiveNode node);
  bool ShownPath(PLiveNode node) const;
  bool AncestorsShown(PLiveNode node) const;
  void* GetNodeData(PLiveNode node);
  template <typename T>
  T* GetNodeData(PLiveNode node) {
    return static_cast<T*>(GetNodeData(node));
  }
  Cardinal GetNodeLevel(PLiveNode node) const;
  bool HasAsParent(PLiveNode node, PLiveNode potentialParent) const;
  // The tree that owns a node.
  static TBaseLiveTree* TreeFromNode(PLiveNode node);

  virtual PLiveNode AddChild(PLiveNode parent, void* userData = nullptr);
  PLiveNode InsertNode(PLiveNode node, TLTNodeAttachMode mode, void* userData = nullptr);
  void DeleteNode(PLiveNode node, bool reindex = true);
  void DeleteChildren(PLiveNode node, bool resetHasChildren = false);
  virtual void Clear();
  // Moves or copies a node (or its children) to a target node of this or
  // another tree; a nil Target is the root of this tree. Nodes travel to
  // another tree through the tree stream.
  void MoveTo(PLiveNode source, PLiveNode target, TLTNodeAttachMode mode, bool childrenOnly);
  void MoveTo(PLiveNode node, TBaseLiveTree* tree, TLTNodeAttachMode mode, bool childrenOnly);
  PLiveNode CopyTo(PLiveNode source, PLiveNode target, TLTNodeAttachMode mode, bool childrenOnly);
  PLiveNode CopyTo(PLiveNode source, TBaseLiveTree* tree, TLTNodeAttachMode mode, bool childrenOnly);

  // ---- The tree stream ----
  // Writes the identifier, the nodes (all top-level nodes, or Node with its
  // subtree) and whatever OnSaveTree adds.
  virtual void SaveToStream(TStream& stream, PLiveNode node = nullptr);
  void SaveToFile(const String& fileName);
  // Replaces the content by the stream's nodes.
  virtual void LoadFromStream(TStream& stream);
  virtual void LoadFromFile(const String& fileName);
  // Appends the stream's nodes as the last children of TargetNode (the root
  // for the top level).
  void AddFromStream(TStream& stream, PLiveNode targetNode);

  virtual void BeginUpdate();
  virtual void EndUpdate();
  void BeginSynch();
  void EndSynch();

  virtual void ReinitNode(PLiveNode node, bool recursive);
  virtual void ReinitChildren(PLiveNode node, bool recursive);
  virtual void ResetNode(PLiveNode node);
  void ValidateNode(PLiveNode node, bool recursive);
  void ValidateChildren(PLiveNode node, bool recursive);
  virtual void MeasureItemHeight(TCanvas* canvas, PLiveNode node);

  Cardinal DefaultNodeHeight() const { return FDefaultNodeHeight; }
  void SetDefaultNodeHeight(Cardinal value);
  // The font's text height ("Tg") after a font change or window creation:
  // with toAutoChangeScale it may raise the default node height.
  void ApplyFontTextHeight(Integer textHeight);

  bool GetEffectivelyFiltered(PLiveNode node) const;
  bool GetEffectivelyVisible(PLiveNode node) const;

  // ---- Navigation ----
  PLiveNode GetFirst(bool considerChildrenAbove = false);
  PLiveNode GetFirstNoInit(bool considerChildrenAbove = false) const;
  PLiveNode GetNext(PLiveNode node, bool considerChildrenAbove = false);
  PLiveNode GetNextNoInit(PLiveNode node, bool considerChildrenAbove = false) const;
  PLiveNode GetPrevious(PLiveNode node, bool considerChildrenAbove = false);
  PLiveNode GetPreviousNoInit(PLiveNode node, bool considerChildrenAbove = false) const;
  PLiveNode GetFirstChild(PLiveNode node);
  PLiveNode GetLastChild(PLiveNode node);
  PLiveNode GetFirstChildNoInit(PLiveNode node) const;
  PLiveNode GetLastChildNoInit(PLiveNode node) const;
  PLiveNode GetLast(PLiveNode node = nullptr, bool considerChildrenAbove = false);
  PLiveNode GetLastNoInit(PLiveNode node = nullptr, bool considerChildrenAbove = false) const;
  PLiveNode GetNextSibling(PLiveNode node);
  PLiveNode GetPreviousSibling(PLiveNode node);
  PLiveNode GetNextSiblingNoInit(PLiveNode node) const;
  PLiveNode GetPreviousSiblingNoInit(PLiveNode node) const;
  PLiveNode GetFirstInitialized(bool considerChildrenAbove = false) const;
  PLiveNode GetNextInitialized(PLiveNode node, bool considerChildrenAbove = false) const;
  PLiveNode GetPreviousInitialized(PLiveNode node, bool considerChildrenAbove = false) const;
  PLiveNode GetLastInitialized(PLiveNode node = nullptr, bool considerChildrenAbove = false) const;
  PLiveNode GetFirstLeaf() { return GetNextLeaf(nullptr); }
  PLiveNode GetNextLeaf(PLiveNode node);
  PLiveNode GetPreviousLeaf(PLiveNode node);
  PLiveNode GetFirstLevel(Cardinal nodeLevel);
  PLiveNode GetNextLevel(PLiveNode node, Cardinal nodeLevel);
  PLiveNode GetPreviousLevel(PLiveNode node, Cardinal nodeLevel);
  PLiveNode GetFirstSelected(bool considerChildrenAbove = false) const {
    return GetNextSelected(nullptr, considerChildrenAbove);
  }
  PLiveNode GetNextSelected(PLiveNode node, bool considerChildrenAbove = false) const;
  PLiveNode GetPreviousSelected(PLiveNode node, bool considerChildrenAbove = false) const;
  PLiveNode GetFirstChecked(TCheckState state = csCheckedNormal, bool considerChildrenAbove = false) const {
    return GetNextChecked(nullptr, state, considerChildrenAbove);
  }
  PLiveNode GetNextChecked(PLiveNode node, TCheckState state, bool considerChildrenAbove = false) const;
  PLiveNode GetNextChecked(PLiveNode node, bool considerChildrenAbove = false) const {
    return GetNextChecked(node, csCheckedNormal, considerChildrenAbove);
  }
  PLiveNode GetPreviousChecked(PLiveNode node, TCheckState state = csCheckedNormal,
                               bool considerChildrenAbove = false) const;
  PLiveNode GetFirstCutCopy(bool considerChildrenAbove = false) const {
    return GetNextCutCopy(nullptr, considerChildrenAbove);
  }
  PLiveNode GetNextCutCopy(PLiveNode node, bool considerChildrenAbove = false) const;
  PLiveNode GetPreviousCutCopy(PLiveNode node, bool considerChildrenAbove = false) const;
  PLiveNode GetFirstVisible(PLiveNode node = nullptr, bool considerChildrenAbove = true, bool includeFiltered = false);
  PLiveNode GetFirstVisibleNoInit(PLiveNode node = nullptr, bool considerChildrenAbove = true,
                                  bool includeFiltered = false) const;
  PLiveNode GetNextVisible(PLiveNode node, bool considerChildrenAbove = true);
  PLiveNode GetNextVisibleNoInit(PLiveNode node, bool considerChildrenAbove = true) const;
  PLiveNode GetPreviousVisible(PLiveNode node, bool considerChildrenAbove = true);
  PLiveNode GetPreviousVisibleNoInit(PLiveNode node, bool considerChildrenAbove = true) const;
  PLiveNode GetLastVisible(PLiveNode node = nullptr, bool considerChildrenAbove = true, bool includeFiltered = false);
  PLiveNode GetLastVisibleNoInit(PLiveNode node = nullptr, bool considerChildrenAbove = true,
                                 bool includeFiltered = false) const;
  PLiveNode GetNextVisibleSibling(PLiveNode node, bool includeFiltered = false);
  PLiveNode GetPreviousVisibleSibling(PLiveNode node, bool includeFiltered = false);
  PLiveNode GetNextVisibleSiblingNoInit(PLiveNode node, bool includeFiltered = false) const;
  PLiveNode GetPreviousVisibleSiblingNoInit(PLiveNode node, bool includeFiltered = false) const;
  PLiveNode GetFirstVisibleChild(PLiveNode node, bool includeFiltered = false);
  PLiveNode GetFirstVisibleChildNoInit(PLiveNode node, bool includeFiltered = false) const;
  PLiveNode GetLastVisibleChild(PLiveNode node, bool includeFiltered = false);
  PLiveNode GetLastVisibleChildNoInit(PLiveNode node, bool includeFiltered = false) const;
  PLiveNode GetVisibleParent(PLiveNode node, bool includeFiltered = false) const;

  // Tree lines of painting.
  bool HasShownNextSibling(PLiveNode node) const;
  bool HasShownPreviousSibling(PLiveNode node) const;
  bool IsFirstShownChild(PLiveNode parent, PLiveNode node) const;
  bool IsLastShownChild(PLiveNode parent, PLiveNode node) const;

  Cardinal AbsoluteIndex(PLiveNode node);
  PLiveNode IterateSubtree(PLiveNode node, const TLTGetNodeProc& callback, void* data, TLiveNodeStates filter = {},
                           bool doInit = false, bool childNodesOnly = false);

  TLTLiveNodeEnumeration Nodes(bool considerChildrenAbove = false);
  TLTLiveNodeEnumeration CheckedNodes(TCheckState state = csCheckedNormal, bool considerChildrenAbove = false);
  TLTLiveNodeEnumeration ChildNodes(PLiveNode node);
  TLTLiveNodeEnumeration CutCopyNodes(bool considerChildrenAbove = false);
  TLTLiveNodeEnumeration InitializedNodes(bool considerChildrenAbove = false);
  TLTLiveNodeEnumeration LeafNodes();
  TLTLiveNodeEnumeration LevelNodes(Cardinal nodeLevel);
  TLTLiveNodeEnumeration NoInitNodes(bool considerChildrenAbove = false);
  TLTLiveNodeEnumeration SelectedNodes(bool considerChildrenAbove = false);
  TLTLiveNodeEnumeration VisibleNodes(PLiveNode node = nullptr, bool considerChildrenAbove = true,
                                      bool includeFiltered = false);
  TLTLiveNodeEnumeration VisibleChildNodes(PLiveNode node, bool includeFiltered = false);
  TLTLiveNodeEnumeration VisibleChildNoInitNodes(PLiveNode node, bool includeFiltered = false);
  TLTLiveNodeEnumeration VisibleNoInitNodes(PLiveNode node = nullptr, bool considerChildrenAbove = true,
                                            bool includeFiltered = false);

  // ---- Expansion, sorting, position ----
  void ToggleNode(PLiveNode node);
  virtual void FullExpand(PLiveNode node = nullptr);
  virtual void FullCollapse(PLiveNode node = nullptr);
  virtual void Sort(PLiveNode node, TColumnIndex column, TSortDirection direction, bool doInit = true);
  virtual void SortTree(TColumnIndex column, TSortDirection direction, bool doInit = true);
  void CancelOperation();
  bool OperationCanceled() const { return FOperationCanceled && FOperationCount > 0; }
  Cardinal OperationCount() const { return FOperationCount; }
  PLiveNode GetNodeAt(Integer x, Integer y, bool relative, Integer& nodeTop);
  PLiveNode GetNodeAt(Integer x, Integer y);
  // Display order of two nodes: negative when Node1 comes first.
  Integer CompareDisplayOrder(PLiveNode node1, PLiveNode node2, bool considerChildrenAbove = true) const;

  // The header's sort column and direction, by which the tree sorts.
  TColumnIndex SortColumn() const { return FHeader->SortColumn(); }
  void SetSortColumn(TColumnIndex value) { FHeader->SetSortColumn(value); }
  TSortDirection SortDirection() const { return FHeader->SortDirection(); }
  void SetSortDirection(TSortDirection value) { FHeader->SetSortDirection(value); }

  // Whether the position cache is valid and used for hit tests.
  bool PositionCacheValid() const { return TreeStates().Contains(tsUseCache); }
  // Entries of the position cache; read only while it is valid.
  const std::vector<TCacheEntry>& PositionCache() const { return FPositionCache; }

  // ---- Selection and check states ----
  bool Selected(PLiveNode node) const { return node != nullptr && node->Has(vsSelected); }
  void SetSelected(PLiveNode node, bool value);
  Integer SelectedCount() const { return static_cast<Integer>(FSelection.size()); }
  bool SelectionLocked() const { return FSelectionLocked; }
  void SetSelectionLocked(bool value) { FSelectionLocked = value; }
  Cardinal CheckedCount() const;
  Cardinal CutCopyCount() const;
  void ClearSelection();
  void SelectAll(bool visibleOnly);
  void InvertSelection(bool visibleOnly);
  TNodeArray GetSortedSelection(bool resolve) const;
  TNodeArray GetSortedCutCopySet(bool resolve) const;
  virtual void EnsureNodeSelected();
  bool IsMouseSelecting() const;
  virtual void DeleteSelectedNodes();
  // A click clears the selection at once, keeping Keep (when given and
  // selected) as the only selected node. A clearance still pending from an
  // earlier press (tsClearPending) is dropped: this one does its work.
  void ClearSelectionDirectly(PLiveNode keep = nullptr);
  // The selection array: ascending by node address.
  const TNodeArray& SelectionArray() const { return FSelection; }

  TCheckState GetCheckState(PLiveNode node) const { return node ? node->CheckState : csUncheckedNormal; }
  void SetCheckState(PLiveNode node, TCheckState value);
  TCheckType GetCheckType(PLiveNode node) const { return node ? node->CheckType : ctNone; }
  void SetCheckType(PLiveNode node, TCheckType value);
  void ClearChecked();

  // Focus (keyboard handling drives it).
  PLiveNode FocusedNode() const { return FFocusedNode; }
  void SetFocusedNode(PLiveNode value);
  TColumnIndex FocusedColumn() const { return FFocusedColumn; }
  void SetFocusedColumn(TColumnIndex value);
  PLiveNode HotNode() const { return FCurrentHotNode; }
  PLiveNode DropTargetNode() const { return FDropTargetNode; }
  PLiveNode RangeAnchor() const { return FRangeAnchor; }

  // ---- Options and properties ----
  TCustomLiveTreeOptions& TreeOptions() { return *FOptions; }
  const TCustomLiveTreeOptions& TreeOptions() const { return *FOptions; }
  void SetTreeOptions(const TCustomLiveTreeOptions& value) { FOptions->Assign(value); }
  TLiveTreeStates TreeStates() const { return TLiveTreeStates::FromBits(FStates.load(std::memory_order_relaxed)); }
  Cardinal VisibleCount() const { return FVisibleCount.load(std::memory_order_relaxed); }

  Cardinal AnimationDuration() const { return FAnimationDuration; }
  void SetAnimationDuration(Cardinal value);
  Cardinal AutoExpandDelay() const { return FAutoExpandDelay; }
  void SetAutoExpandDelay(Cardinal value) { FAutoExpandDelay = value; }
  Cardinal AutoScrollDelay() const { return FAutoScrollDelay; }
  void SetAutoScrollDelay(Cardinal value) { FAutoScrollDelay = value; }
  Cardinal AutoScrollInterval() const { return FAutoScrollInterval; }
  void SetAutoScrollInterval(Cardinal value) { FAutoScrollInterval = value; }
  Cardinal BottomSpace() const { return FBottomSpace; }
  void SetBottomSpace(Cardinal value);
  Cardinal ChangeDelay() const { return FChangeDelay; }
  void SetChangeDelay(Cardinal value) { FChangeDelay = value; }
  TLTNodeAttachMode DefaultPasteMode() const { return FDefaultPasteMode; }
  void SetDefaultPasteMode(TLTNodeAttachMode value) { FDefaultPasteMode = value; }
  Integer DragHeight() const { return FDragHeight; }
  void SetDragHeight(Integer value) { FDragHeight = value; }
  Integer DragWidth() const { return FDragWidth; }
  void SetDragWidth(Integer value) { FDragWidth = value; }
  Cardinal EditDelay() const { return FEditDelay; }
  void SetEditDelay(Cardinal value) { FEditDelay = value; }
  const String& EmptyListMessage() const { return FEmptyListMessage; }
  void SetEmptyListMessage(const String& value);
  TLTIncrementalSearch IncrementalSearch() const { return FIncrementalSearch; }
  void SetIncrementalSearch(TLTIncrementalSearch value);
  TLTSearchDirection IncrementalSearchDirection() const { return FSearchDirection; }
  void SetIncrementalSearchDirection(TLTSearchDirection value) { FSearchDirection = value; }
  TLTSearchStart IncrementalSearchStart() const { return FSearchStart; }
  void SetIncrementalSearchStart(TLTSearchStart value) { FSearchStart = value; }
  Cardinal IncrementalSearchTimeout() const { return FSearchTimeout; }
  void SetIncrementalSearchTimeout(Cardinal value) { FSearchTimeout = value; }
  const String& SearchBuffer() const { return FSearchBuffer; }
  Cardinal Indent() const { return FIndent; }
  void SetIndent(Cardinal value);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer value);
  Integer TextMargin() const { return FTextMargin; }
  void SetTextMargin(Integer value);
  Byte SelectionBlendFactor() const { return FSelectionBlendFactor; }
  void SetSelectionBlendFactor(Byte value) { FSelectionBlendFactor = value; }
  Cardinal SelectionCurveRadius() const { return FSelectionCurveRadius; }
  void SetSelectionCurveRadius(Cardinal value);
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool value) { FWantTabs = value; }
  Integer OffsetX() const { return FOffsetX; }
  Integer OffsetY() const { return FOffsetY; }
  // Scrolling moves these; the control owns the scrolling itself.
  void SetOffsets(Integer x, Integer y);

  // ---- Header and the control's appearance ----
  TLTHeader& Header() { return *FHeader; }
  const TLTHeader& Header() const { return *FHeader; }
  void SetHeader(const TLTHeader& value) { FHeader->Assign(value); }
  const TLiveTreeFont& Font() const { return FFont; }
  void SetFont(const TLiveTreeFont& value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode value);
  bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TLTLineStyle LineStyle() const { return FLineStyle; }
  void SetLineStyle(TLTLineStyle value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value) { FBorderStyle = value; }
  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer value) { FBorderWidth = value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);

  // ---- Scrolling ----
  // The content's width (the columns, or the widest shown node) and height.
  Integer RangeX() const { return FRangeX; }
  Integer RangeY() const { return FRangeY; }
  // The horizontal scroll position in left-to-right terms (never negative).
  Integer EffectiveOffsetX() const { return FEffectiveOffsetX; }
  void SetOffsetX(Integer value);
  void SetOffsetY(Integer value);
  void SetOffsetXY(TPoint value);
  // Moves the content to the offsets, clamped to the ranges; returns whether
  // anything moved.
  virtual bool ScrollOffsets(TPoint value, bool updateScrollBars = true);
  void UpdateRanges();
  void UpdateVerticalRange();
  void UpdateHorizontalRange();
  void UpdateHorizontalScrollBar(bool repaint);
  // The shift of right-to-left content whose columns are narrower than the
  // header.
  Integer RightToLeftOffset(bool forPainting = false);
  bool ScrollIntoView(PLiveNode node, bool center, bool horizontally = false);
  bool ScrollIntoView(TColumnIndex column, bool center);
  // (0, 0, the larger of client width and RangeX, the larger of client height
  // and RangeY).
  TRect GetTreeRect() const;
  // The nodes at the top and the bottom of the client area.
  PLiveNode TopNode();
  PLiveNode BottomNode();

  // ---- Geometry, measuring and hit tests ----
  // The rectangle a node's cell (Column -1: the whole row) occupies in the
  // client area; TextOnly narrows it to the text.
  TRect GetDisplayRect(PLiveNode node, TColumnIndex column, bool textOnly, bool unclipped = false,
                       bool applyCellContentMargin = false);
  // The width a column needs for its contents.
  virtual Integer GetMaxColumnWidth(TColumnIndex column, bool useSmartColumnWidth = false);
  // The font, rectangle and text an in-place editor of the cell starts with.
  virtual void GetTextInfo(PLiveNode node, TColumnIndex column, TLiveTreeFont& font, TRect& r, String& text);
  void GetHitTestInfoAt(Integer x, Integer y, bool relative, THitInfo& hitInfo);
  // A node's width in a column as the painter measures it (the base tree
  // has no content of its own); a nil canvas means the tree's own.
  virtual Integer MeasureNodeWidth(PLiveNode node, TColumnIndex column, TCanvas* canvas = nullptr);
  // What a node shows beside its main content (the string tree's static text).
  virtual Integer NodeExtraWidth(PLiveNode node, TColumnIndex column, TCanvas* canvas = nullptr);
  // The image index of a node (-1: none) as OnGetImageIndex tells it.
  Integer QueryImageIndex(PLiveNode node, TLTImageKind kind, TColumnIndex column, bool& ghosted);
  bool HasNodeImage(PLiveNode node, TLTImageKind kind, TColumnIndex column);
  // The mouse selection rectangle changed from OldRect to NewRect (tree
  // coordinates): the nodes it enters are selected, the nodes it leaves
  // unselected (with Ctrl in Shift both flip). Returns whether any changed.
  bool CollectRectNodes(const TRect& newRect, const TRect& oldRect, TShiftState shift);
  // Whether a cell shows nothing.
  virtual bool IsCellEmpty(PLiveNode node, TColumnIndex column);
  // 0 when the node matches the text typed so far in an incremental search.
  virtual Integer IncrementalSearchCompare(PLiveNode node, const String& searchText);

  // ---- Keyboard ----
  // A key went down: its virtual-key code, the shift state and the character
  // it types on the keyboard (0: none; "*", "+", "-" and "/" count as the keys
  // of the numeric pad). Navigation, expansion, check boxes by Space and the
  // start of an incremental search.
  void KeyDown(Word charCode, TShiftState shift, Char typed = 0);
  void KeyUp(Word charCode, TShiftState shift);
  // A character arrived; after a key that starts a search it is searched for.
  void KeyPress(Char c);
  // One character (8: backspace) of an incremental search.
  void SearchIncrementally(Char c);
  // Focuses and selects the first visible node when none is focused.
  void FocusFirstIfNone();

  // ---- Mouse ----
  // A button went down, came up or was double-clicked at a client point;
  // Shift holds the modifier keys.
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y);
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y);
  void MouseDblClick(TMouseButton button, TShiftState shift, Integer x, Integer y);
  // The mouse moved over the client area: the hot node follows it.
  void MouseMove(TShiftState shift, Integer x, Integer y);
  // A wheel turn of Delta (120 a notch); Lines is the system's lines per
  // notch (-1: a page a notch).
  void MouseWheel(Integer delta, TShiftState shift, Integer lines);
  TLTHintMode HintMode() const { return FHintMode; }
  void SetHintMode(TLTHintMode value) { FHintMode = value; }
  THintAnimationType HintAnimation() const { return FHintAnimation; }
  void SetHintAnimation(THintAnimationType value) { FHintAnimation = value; }
  // HintAnimation with the system's choice in place of hatSystemDefault.
  THintAnimationType EffectiveHintAnimation() const;

  // The mouse selection rectangle in tree coordinates: its corner where the
  // drag started and its free corner (not normalised).
  const TRect& SelectionRect() const { return FNewSelRect; }
  // Whether a rectangle selection or panning may scroll the tree by itself.
  virtual bool CanAutoScroll() const;
  // The directions the content should move with the mouse at a client point:
  // near the edges while a rectangle is drawn, away from the origin while
  // panning.
  virtual TScrollDirections DetermineScrollDirections(Integer x, Integer y) const;
  TScrollDirections ScrollDirections() const { return FScrollDirections; }
  // Starts or stops the auto-scroll timer for the mouse at a client point.
  virtual void AutoScrollDetect(Integer x, Integer y);
  // One step of auto-scrolling or panning (the scroll timer fired).
  virtual void TimerScrollStep();
  // Wheel panning with the middle button, from a client point.
  virtual void StartWheelPanning(TPoint p);
  virtual void StopWheelPanning();
  virtual void UpdatePanningCursor(Integer x, Integer y);
  bool IsPanning() const {
    return TreeStates().Contains(tsWheelPanning) || TreeStates().Contains(tsWheelScrolling);
  }
  // The window lost the focus or the system cancelled the mouse's mode: a
  // rectangle selection, auto-scrolling and panning end.
  void CancelMouseModes();
  // With hmTooltip: the tooltip for the cell under a client point, when its
  // text is cut off by the column or the window.
  bool TooltipAt(Integer x, Integer y, TLTTooltip& tooltip);
  // The node a handle from outside the tree names; nil unless it is one of
  // this tree's nodes.
  PLiveNode NodeFromHandle(const void* handle);

  // ---- Editing ----
  // Whether the cell may be edited: the options allow it and OnEditing agrees.
  virtual bool CanEdit(PLiveNode node, TColumnIndex column);
  // Focuses the node and starts editing the cell at once.
  bool EditNode(PLiveNode node, TColumnIndex column);
  bool IsEditing() const { return TreeStates().Contains(tsEditing); }
  TColumnIndex EditColumn() const { return FEditColumn; }
  // A running node edit ends, taking the editor's text, or is dropped.
  virtual bool EndEditNode();
  virtual bool CancelEditNode();

  // Component loading: while loading, setters only store and RootNodeCount is
  // only recorded; EndLoading creates the recorded nodes.
  bool Loading() const { return FLoading; }
  void BeginLoading() { FLoading = true; }
  void EndLoading();

  // Copies the properties, options and top-level node count of another tree.
  virtual void Assign(const TBaseLiveTree& source);

  // ---- Window side ----
  // A window timer of this tree fired (interface thread).
  virtual void TimerFired(int id);
  // Runs what the cache builder thread waits for (interface thread).
  bool DispatchHandOvers();
  // Puts a pending cache build in motion, as after a change outside an update.
  void RequestCacheValidation();
  virtual void InvalidateNode(PLiveNode node);
  void InvalidateToBottom(PLiveNode node);
  void Invalidate();
  void UpdateScrollBars(bool repaint);

  // ---- Painting ----
  // Paints the part Window (tree coordinates) of the tree so that its top-left
  // lands on Target of the canvas. A paint request inside a paint does nothing.
  virtual void PaintTree(ILiveTreeCanvas& canvas, const TRect& window, TPoint target, TLTInternalPaintOptions options);
  // The tree lines of a node's indentation levels; returns the number of its
  // selected ancestors.
  Integer BuildLineImage(PLiveNode node, TLineImage& lineImage);
  TLTPaintSettings& PaintSettings() { return FPaintSettings; }
  const TLTPaintSettings& PaintSettings() const { return FPaintSettings; }
  // A cell's own content (the string tree's texts); the base tree has none.
  virtual void PaintNodeCell(ILiveTreeCanvas&, TLTPaintInfo&) {}

  // ---- Clipboard and drag and drop ----
  // The identifier by which data objects refer to this tree (see
  // LiveTreeFromIdentifier); it names no other tree while this one lives.
  Cardinal TreeIdentifier() const { return FTreeIdentifier; }
  // The tree class whose registered clipboard formats this tree renders.
  virtual TLiveTreeClass ClipboardClass() const { return ltcBaseTree; }
  // The clipboard now holds this tree's data: the selected nodes (not the
  // disabled ones) are marked and a cut or copy is pending.
  void MarkCutOrCopy(bool cut);
  virtual void MarkClipboardNodes();
  // The marks go; a pending cut or copy ends.
  void CancelCutOrCopy();
  // A pending cut deletes its marked nodes; a copy stays pending.
  void FinishCutOrCopy();
  // The clipboard is rendering this tree's data for keeps (tsClipboardFlushing).
  void SetClipboardFlushing(bool value) {
    ChangeTreeStates(value ? TLiveTreeStates{tsClipboardFlushing} : TLiveTreeStates{},
                     value ? TLiveTreeStates{} : TLiveTreeStates{tsClipboardFlushing});
  }
  // The window applies a size change (tsSizing): scrolling leaves the bars
  // to it.
  void SetSizing(bool value) {
    ChangeTreeStates(value ? TLiveTreeStates{tsSizing} : TLiveTreeStates{},
                     value ? TLiveTreeStates{} : TLiveTreeStates{tsSizing});
  }
  // Writes the node chunks of the clipboard data (the cut or copy set) or
  // of the drag data (the selection), in tree order, each with its subtree.
  void StreamDataNodes(TStream& stream, bool forClipboard);
  // Reads node chunks until the stream ends and links them at Target (nil:
  // the hidden root) by Mode; OnNodeCopying may refuse each. A chunk that
  // cannot be read leaves no part of itself and raises the stream's error.
  void InsertDataNodes(TStream& stream, PLiveNode target, TLTNodeAttachMode mode, const TBaseLiveTree* source);
  // Moves the nodes of a drag or a cut of Source (a tree of this process)
  // to Target, keeping their order; a node that holds Target stays.
  void MoveDataNodes(TBaseLiveTree& source, PLiveNode target, TLTNodeAttachMode mode);
  // Where a drop at P lands, from the hit test there and the hit node's row.
  TDropMode ComputeDropMode(TPoint p, const THitInfo& hitInfo, const TRect& nodeRect) const;
  // The drop target follows the cursor: the rows of the old and the new
  // target repaint, and a new target with children starts the expand timer
  // (toAutoDropExpand). Returns whether the target or the mode changed.
  bool SetDropTarget(PLiveNode node, TDropMode mode);
  // A drag left or dropped: no target any more.
  void ClearDropTarget();
  // The drop target's expand timer fired: a collapsed target opens.
  void ExpandDropTarget();
  TDropMode LastDropMode() const { return FPaintSettings.LastDropMode; }
  // Scrolls while a drag lingers near an edge (after AutoScrollDelay, by
  // the increments, never beyond the ranges); returns whether it scrolled.
  bool DragAutoScroll(TPoint p, Cardinal nowMs, Integer incrementX, Integer incrementY);
  void ResetDragScroll() { FDragScrollTiming = false; }
  // The start and end of a drag with this tree as source: the focused node
  // joins the selection, the resolved selection is the drag's set; a move
  // that the target did not carry out itself deletes the dragged nodes
  // (toAutoDeleteMovedNodes).
  void BeginOleDrag();
  void EndOleDrag(Integer effect);
  // Whether a press on the node may start a drag (OnDragAllowed, which
  // refuses by default).
  bool AskDragAllowed(PLiveNode node, TColumnIndex column);
  // A press that may become a drag once the mouse moves far enough.
  void SetOleDragPending(bool value) {
    ChangeTreeStates(value ? TLiveTreeStates{tsOLEDragPending} : TLiveTreeStates{},
                     value ? TLiveTreeStates{} : TLiveTreeStates{tsOLEDragPending});
  }
  // Whether presses start drags by themselves (the automatic drag mode)
  // rather than only where OnDragAllowed allows.
  bool DragAutomatic() const { return FDragAutomatic; }
  void SetDragAutomatic(bool value) { FDragAutomatic = value; }
  // Whether the last button press may become a drag once the mouse moves.
  bool PressMayDrag() const { return FPressMayDrag; }
  const TNodeArray& DragSelection() const { return FDragSelection; }
  TDragOperations DragOperations() const { return FDragOperations; }
  void SetDragOperations(TDragOperations value) { FDragOperations = value; }
  Integer LastDragEffect() const { return FLastDragEffect; }

  // ---- Events ----
  TLTAddToSelectionEvent OnAddToSelection;
  TLTChangeEvent OnChange;
  TLTChangeEvent OnChecked;
  TLTCheckChangingEvent OnChecking;
  TLTChangeEvent OnCollapsed;
  TLTChangingEvent OnCollapsing;
  TLTCompareEvent OnCompareNodes;
  TLTDragAllowedEvent OnDragAllowed;
  TLTEditCancelEvent OnEditCancelled;
  TLTEditChangeEvent OnEdited;
  TLTEditChangingEvent OnEditing;
  TLTOperationEvent OnEndOperation;
  TLTChangeEvent OnExpanded;
  TLTChangingEvent OnExpanding;
  TLTFocusChangeEvent OnFocusChanged;
  TLTFocusChangingEvent OnFocusChanging;
  TLTFreeNodeEvent OnFreeNode;
  TLTGetCellIsEmptyEvent OnGetCellIsEmpty;
  TLTHelpContextEvent OnGetHelpContext;
  TLTGetNodeDataSizeEvent OnGetNodeDataSize;
  TLTHotNodeChangeEvent OnHotChange;
  TLTIncrementalSearchEvent OnIncrementalSearch;
  TLTInitChildrenEvent OnInitChildren;
  TLTInitNodeEvent OnInitNode;
  TLTMeasureItemEvent OnMeasureItem;
  TLTNodeCopiedEvent OnNodeCopied;
  TLTNodeCopyingEvent OnNodeCopying;
  TLTNodeMovedEvent OnNodeMoved;
  TLTNodeMovingEvent OnNodeMoving;
  TLTRemoveFromSelectionEvent OnRemoveFromSelection;
  TLTChangeEvent OnResetNode;
  TLTScrollEvent OnScroll;
  TLTScrollBarShowEvent OnShowScrollBar;
  TLTOperationEvent OnStartOperation;
  TLTStateChangeEvent OnStateChange;
  TLTStructureChangeEvent OnStructureChange;
  TLTUpdatingEvent OnUpdating;
  TLTGetImageEvent OnGetImageIndex;
  TLTKeyActionEvent OnKeyAction;
  TLTNodeClickEvent OnNodeClick;
  TLTNodeClickEvent OnNodeDblClick;
  TLTColumnClickEvent OnColumnClick;
  TLTColumnClickEvent OnColumnDblClick;
  TLTBeforeCellPaintEvent OnBeforeCellPaint;
  TLTPaintEvent OnBeforePaint;
  TLTPaintEvent OnAfterPaint;
  TLTBeforeDrawLineImageEvent OnBeforeDrawLineImage;
  TLTSaveNodeEvent OnSaveNode;
  TLTSaveNodeEvent OnLoadNode;
  TLTSaveTreeEvent OnSaveTree;
  TLTSaveTreeEvent OnLoadTree;
  // Header events (Sender: the header).
  TLTHeaderNotifyEvent OnColumnResize;
  TLTHeaderNotifyEvent OnAfterAutoFitColumn;
  TLTAfterAutoFitColumnsEvent OnAfterAutoFitColumns;
  TLTBeforeAutoFitColumnEvent OnBeforeAutoFitColumn;
  TLTBeforeAutoFitColumnsEvent OnBeforeAutoFitColumns;
  TLTBeforeGetMaxColumnWidthEvent OnBeforeGetMaxColumnWidth;
  TLTAfterGetMaxColumnWidthEvent OnAfterGetMaxColumnWidth;
  TLTCanSplitterResizeColumnEvent OnCanSplitterResizeColumn;
  TLTHeaderClickEvent OnHeaderClick;
  TLTHeaderClickEvent OnHeaderDblClick;

 protected:
  TBaseLiveTree(ILiveTreeHost* host, std::unique_ptr<TCustomLiveTreeOptions> options);

  // Internal data reserved by descendants, before any node exists; returns
  // the offset of the block from the start of the node.
  Cardinal ReserveInternalNodeData(Cardinal size);

  // Node store internals.
  virtual void InitializeNode(PLiveNode node);
  virtual void InitializeChildren(PLiveNode node);
  virtual void QueryNodeDataSize(Integer& size);
  void ReleaseNode(PLiveNode node);
  void LinkNode(PLiveNode node, PLiveNode destination, TLTNodeAttachMode mode);
  PLiveNode UnlinkNode(PLiveNode node, bool keepFocus, bool reindex);
  virtual Cardinal VisibleDescendantCount(PLiveNode node) const;
  virtual void UpdateAllChildrenHidden(PLiveNode node);
  virtual void UpdateAllHiddenFlags();
  void PropagateTotalCount(PLiveNode node, Integer value, bool relative);
  void PropagateTotalHeight(PLiveNode node, Integer value, bool relative);
  void RecountTotals(PLiveNode node);
  void RecomputeTotalHeights(PLiveNode node);
  virtual void NoteStructureChange(PLiveNode node, TChangeReason reason);
  void FireStructureChange(PLiveNode node, TChangeReason reason);
  virtual void AccumulateChange(bool isStructure, PLiveNode node, TChangeReason reason);
  virtual void NoteChange(PLiveNode node);
  void FireChange(PLiveNode node);
  void ChangeTreeStates(TLiveTreeStates enter, TLiveTreeStates leave);
  void ChangeVisibleCount(Integer delta);
  PLiveNode AllocateNode();

  // Event dispatchers, each presetting the permissive answer.
  virtual void FireAddToSelection(PLiveNode node);
  virtual bool AskChecking(PLiveNode node, TCheckState& newCheckState);
  virtual void FireChecked(PLiveNode node);
  virtual bool AskCollapsing(PLiveNode node);
  virtual void FireCollapsed(PLiveNode node);
  virtual Integer QueryCompare(PLiveNode node1, PLiveNode node2, TColumnIndex column);
  virtual bool AskExpanding(PLiveNode node);
  virtual void FireExpanded(PLiveNode node);
  virtual bool AskFocusChange(PLiveNode oldNode, PLiveNode newNode, TColumnIndex oldColumn, TColumnIndex newColumn);
  virtual void FireFocusChanged(PLiveNode node, TColumnIndex column);
  virtual void FireFreeNode(PLiveNode node);
  virtual bool QueryCellIsEmpty(PLiveNode node, TColumnIndex column);
  virtual bool FireInitChildren(PLiveNode node, Cardinal& childCount);
  virtual void FireInitNode(PLiveNode parentNode, PLiveNode node, TLiveNodeInitStates& initStates);
  virtual void FireMeasureItem(TCanvas* canvas, PLiveNode node, Integer& nodeHeight);
  virtual void FireNodeCopied(PLiveNode node);
  virtual bool AskNodeCopying(PLiveNode node, PLiveNode target);
  virtual void FireNodeMoved(PLiveNode node);
  virtual bool AskNodeMoving(PLiveNode node, PLiveNode target);
  virtual void FireRemoveFromSelection(PLiveNode node);
  virtual void FireResetNode(PLiveNode node);
  virtual void FireStartOperation(TLTOperationKind kind);
  virtual void FireEndOperation(TLTOperationKind kind);
  virtual void FireUpdating(TLTUpdateState state);

  // Expansion, sorting and the cache.
  void StartOperation(TLTOperationKind kind);
  void EndOperation(TLTOperationKind kind);
  void StopCacheValidation();
  void MarkCacheStale();
  virtual bool BuildPositionCache();
  PLiveNode CacheEntryForNode(PLiveNode node, Cardinal& top) const;
  PLiveNode CacheEntryForPosition(Cardinal position, Cardinal& top) const;
  // Runs on the builder thread: one whole validation of this tree.
  void RunCacheValidation();
  // Expansion or collapse of the node happened outside an update: the control
  // scrolls and repaints (HeightDelta: height added, negative when removed).
  virtual void NodeToggled(PLiveNode node, Integer heightDelta);
  // The toggle animation of the control; the model has nothing to animate.
  virtual void AnimateToggle(PLiveNode, Integer) {}
  // A validation finished with a valid cache (the editor is placed again).
  virtual void CacheValidated() {}
  // The focused column as hit tests report it: NoColumn without columns.
  TColumnIndex FocusedColumnOrNone() const { return FHeader->UseColumns() ? FFocusedColumn : NoColumn; }
  // The host's editor opens over the focused node's edit column.
  void StartEditing();
  // The hot node follows the mouse over labels and check boxes.
  virtual void UpdateHotNode(Integer x, Integer y);
  // A press on a node's check box: the box shows it pressed.
  void PressCheckBox(PLiveNode node, TMouseButton button);
  void ProcessMouseDown(TMouseButton button, TShiftState shift, const THitInfo& hitInfo, TPoint p);
  void ProcessMouseUp(TMouseButton button, TShiftState shift, const THitInfo& hitInfo);
  void ProcessMouseDblClick(TMouseButton button, TShiftState shift, const THitInfo& hitInfo);
  // The free corner of the selection rectangle follows a client point;
  // returns whether it moved.
  virtual bool UpdateSelectionRect(TPoint p);
  // The nodes between the rectangle applied last and the current one change
  // their selection; returns whether any did.
  bool UpdateRectangleSelection();
  // Repaints the client area the selection rectangle covered and covers now.
  void InvalidateSelectionRects(const TRect& oldRect, const TRect& newRect);
  // The picture that shows where the content can move while panning.
  TLTPanningImage PanningOrientation() const;

  // Selection internals.
  virtual void AddToSelection(PLiveNode node);
  virtual void AddNodesToSelection(const TNodeArray& newItems, bool forceInsert);
  virtual void RemoveFromSelection(PLiveNode node);
  bool BulkAddToSelection(TNodeArray& newItems, bool forceInsert);
  bool FindInSelection(PLiveNode node, Integer& index, Integer highBound = -1, Integer lowBound = -1) const;
  void FlagOutOfSelection(PLiveNode node);
  void ClearSelectionArray();
  void PackSelection();
  virtual void SelectRange(PLiveNode startNode, PLiveNode endNode, bool addOnly);
  virtual void ToggleRange(PLiveNode startNode, PLiveNode endNode);
  virtual void UnselectRange(PLiveNode startNode, PLiveNode endNode);
  virtual void ResetRangeAnchor();
  virtual void ChooseNextNodeToSelect(PLiveNode node);
  void AddToTempCache(PLiveNode node);
  virtual void ClearTempCache();

  // Check states.
  virtual TCheckState NextCheckState(TCheckType checkType, TCheckState checkState) const;
  virtual void CheckClick(PLiveNode node, TCheckState newCheckState);
  bool ChangeCheckState(PLiveNode node, TCheckState value);
  virtual bool UpdateParentCheckState(PLiveNode node, TCheckState newCheckState);

  // A left click that selects: Ctrl and Shift as held, DragPending when a
  // drag may start (the decision then waits for the button release).
  virtual void ClickSelect(PLiveNode newNode, bool ctrl, bool shift, bool dragPending);

  // Focus.
  virtual bool ChangeFocus(PLiveNode value, bool ask);
  // The column that holds the tree (NoColumn without columns).
  TColumnIndex MainColumn() const { return FHeader->MainColumn(); }
  // The header's main column changed: a running edit is cancelled.
  virtual void MainColumnChanged();
  // A column's width changed (Column -1: all columns).
  virtual void DoColumnResize(TColumnIndex column);
  // The tree's font changed.
  virtual void FontChanged();

  // The tree stream.
  virtual void NotifyLoadNode(PLiveNode node, TStream& stream);
  virtual void NotifySaveNode(PLiveNode node, TStream& stream);
  void PatchChunkSize(TStream& stream, Int64 startPos, Int64 endPos);
  virtual void RestoreNode(TStream& stream, Integer version, PLiveNode node);
  virtual void RestoreNodeChunk(TStream& stream, Integer version, PLiveNode node);
  // One part chunk whose header has been read (the base-data chunk, which
  // carries the children, is read by RestoreNodeChunk itself).
  virtual bool RestorePart(TStream& stream, Integer version, PLiveNode node, Integer chunkType, Integer chunkSize);
  void SkipNodeChunk(TStream& stream);
  virtual void StoreNodeParts(TStream& stream, PLiveNode node);
  virtual void StoreNode(TStream& stream, PLiveNode node);

  // Geometry.
  virtual TPoint QueryCellContentMargin(PLiveNode node, TColumnIndex column, TLTCellContentMarginType marginType,
                                        TCanvas* canvas);
  virtual void ClassifyHitLTR(THitInfo& hitInfo, Integer x, TAlignment alignment, Integer cellWidth);
  virtual void ClassifyHitRTL(THitInfo& hitInfo, Integer x, TAlignment alignment, Integer cellWidth);
  TSize ImageSize(TLTImageListKind kind) const { return FHost->ImageListSize(kind); }

  // Option reactions, after the new set is stored.
  virtual void PaintOptionsChanged(TLTPaintOptions oldOptions, TLTPaintOptions newOptions);
  virtual void AutoOptionsChanged(TLTAutoOptions oldOptions, TLTAutoOptions newOptions);
  virtual void SelectionOptionsChanged(TLTSelectionOptions oldOptions, TLTSelectionOptions newOptions);
  virtual void MiscOptionsChanged(TLTMiscOptions oldOptions, TLTMiscOptions newOptions);

  bool InUpdate() const { return FUpdateCount > 0; }
  bool HasWindow() const { return FHost->HandleAllocated(); }
  bool OnInterfaceThread() const { return std::this_thread::get_id() == FInterfaceThread; }
  TLTPaintOptions PaintOptions() const { return FOptions->PaintOptions(); }
  TLTAutoOptions AutoOptions() const { return FOptions->AutoOptions(); }
  TLTSelectionOptions SelectionOptions() const { return FOptions->SelectionOptions(); }
  TLTMiscOptions MiscOptions() const { return FOptions->MiscOptions(); }
  bool ReadOnly() const { return MiscOptions().Contains(toReadOnly); }
  bool ChildrenAbove(bool considerChildrenAbove) const {
    return considerChildrenAbove && PaintOptions().Contains(toChildrenAbove);
  }

  // Tree fields that refer to nodes; releasing a node clears every one of them.
  PLiveNode FFocusedNode = nullptr;
  TColumnIndex FFocusedColumn = InvalidColumn;
  TColumnIndex FEditColumn = NoColumn;
  TColumnIndex FCurrentHotColumn = NoColumn;
  TLTHintMode FHintMode = hmDefault;
  THintAnimationType FHintAnimation = hatSystemDefault;
  TPoint FLastClickPos;
  // The mouse selection rectangle now and as last applied to the selection
  // (tree coordinates), and the modifiers when it started.
  TRect FNewSelRect;
  TRect FLastSelRect;
  TShiftState FDrawSelShiftState;
  TScrollDirections FScrollDirections;
  PLiveNode FCurrentHotNode = nullptr;
  PLiveNode FDropTargetNode = nullptr;
  PLiveNode FLastChangedNode = nullptr;
  PLiveNode FLastStructureChangeNode = nullptr;
  PLiveNode FRangeAnchor = nullptr;
  PLiveNode FNextNodeToSelect = nullptr;
  PLiveNode FLastSelected = nullptr;
  PLiveNode FCheckNode = nullptr;
  PLiveNode FLastSearchNode = nullptr;
  PLiveNode FHeightTrackNode = nullptr;
  PLiveNode FLastDragTarget = nullptr;
  TNodeArray FDragSelection;
  TCheckState FPendingCheckState = csUncheckedNormal;
  String FSearchBuffer;

 private:
  void Construct();
  void CheckNotIterating() const;
  PLiveNode GetPreviousLevelFrom(PLiveNode node, Cardinal nodeLevel);
  PLiveNode GetNextVisibleStep(PLiveNode node, bool considerChildrenAbove, bool init);
  PLiveNode GetPreviousVisibleStep(PLiveNode node, bool considerChildrenAbove, bool init);
  void SortChildList(PLiveNode parent, TColumnIndex column, TSortDirection direction);
  void SortTreeLevel(PLiveNode node, TColumnIndex column, TSortDirection direction, bool doInit);
  void FreeNodeBlock(PLiveNode node);
  void DetachClearedNode(PLiveNode node);
  void CancelEditBelow(PLiveNode node, bool includingNode);
  void DeleteClearedSubtrees(PLiveNode node, bool nodeShown);
  void DropNodeReferences(PLiveNode node);
  void ClearTreeNodeReferences();
  Cardinal NodeBlockSize() const;

  ILiveTreeHost* FHost;
  TNullLiveTreeHost FNullHost;
  std::unique_ptr<TCustomLiveTreeOptions> FOptions;
  std::thread::id FInterfaceThread;
  bool FDestroying = false;
  bool FLoading = false;

  PLiveNode FRoot = nullptr;
  Integer FNodeDataSize = -1;
  Cardinal FTotalInternalDataSize = 0;
  Cardinal FDefaultNodeHeight = 18;
  Cardinal FUpdateCount = 0;
  Cardinal FSynchUpdateCount = 0;
  std::atomic<Cardinal> FVisibleCount{0};
  std::atomic<TLiveTreeStates::Storage> FStates{0};
  TChangeReason FLastStructureChangeReason = crIgnore;
  Cardinal FChangeDelay = 0;
  std::unique_ptr<TLTHeader> FHeader;

  // Expansion, sorting and the cache.
  Cardinal FOperationCount = 0;
  bool FOperationCanceled = false;
  std::vector<TCacheEntry> FPositionCache;
  Cardinal FStartIndex = 0;
  // Counts stale marks; a build only counts as valid when no mark came
  // during it.
  Cardinal FCacheGeneration = 0;
  // A comparison handler's failure, raised once the sorted list is whole.
  std::exception_ptr FSortFailure;

  // Selection.
  TNodeArray FSelection;
  bool FSelectionLocked = false;
  bool FDragAutomatic = false;
  bool FPressMayDrag = false;
  Integer FLastSelectionLevel = -1;
  TNodeArray FTempNodeCache;
  Cardinal FCheckPropagationCount = 0;

  // Clipboard and drag and drop.
  Cardinal FTreeIdentifier = 0;
  TDragOperations FDragOperations = DefaultDragOperations;
  Integer FLastDragEffect = 0;
  Cardinal FDragScrollStart = 0;
  bool FDragScrollTiming = false;

  // Properties.
  Cardinal FAnimationDuration = 200;
  Cardinal FAutoExpandDelay = 1000;
  Cardinal FAutoScrollDelay = 1000;
  Cardinal FAutoScrollInterval = 1;
  Cardinal FBottomSpace = 0;
  TLTNodeAttachMode FDefaultPasteMode = amAddChildLast;
  Integer FDragHeight = 350;
  Integer FDragWidth = 200;
  Cardinal FEditDelay = 1000;
  String FEmptyListMessage;
  TLTIncrementalSearch FIncrementalSearch = isNone;
  TLTSearchDirection FSearchDirection = sdForward;
  TLTSearchStart FSearchStart = ssFocusedNode;
  Cardinal FSearchTimeout = 1000;
  Cardinal FIndent = 18;
  Integer FMargin = 4;
  Integer FTextMargin = 4;
  Byte FSelectionBlendFactor = 128;
  Cardinal FSelectionCurveRadius = 0;
  bool FWantTabs = false;
  Integer FOffsetX = 0;
  Integer FOffsetY = 0;
  Integer FEffectiveOffsetX = 0;
  Integer FRangeX = 0;
  Integer FRangeY = 0;

  TLTPaintSettings FPaintSettings;
  // The control's appearance.
  TLiveTreeFont FFont;
  TColor FColor = clWindow;
  TBiDiMode FBiDiMode = bdLeftToRight;
  TAlignment FAlignment = taLeftJustify;
  TLTLineStyle FLineStyle = lsDotted;
  TBorderStyle FBorderStyle = bsSingle;
  Integer FBorderWidth = 0;
  bool FEnabled = true;
};
