// The tree's node record and the small types around it: node and tree state
// sets, check types and states, attach modes, change reasons and the tree's
// error classes.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "rtl/exceptions.h"
#include "rtl/types.h"

// A set of enumeration values stored as the bits of an unsigned integer; bit N
// is the value with ordinal N, as the platform stores sets.
template <typename E, typename Bits>
class TLTSet {
 public:
  using Storage = Bits;

  constexpr TLTSet() = default;
  constexpr TLTSet(std::initializer_list<E> items) {
    for (E item : items) FBits |= Bit(item);
  }
  static constexpr TLTSet FromBits(Bits bits) {
    TLTSet result;
    result.FBits = bits;
    return result;
  }

  constexpr Bits ToBits() const { return FBits; }
  constexpr bool Contains(E item) const { return (FBits & Bit(item)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  // True when every member of Other is in this set.
  constexpr bool ContainsAll(TLTSet other) const { return (FBits & other.FBits) == other.FBits; }

  constexpr TLTSet& operator+=(TLTSet other) {
    FBits |= other.FBits;
    return *this;
  }
  constexpr TLTSet& operator-=(TLTSet other) {
    FBits &= static_cast<Bits>(~other.FBits);
    return *this;
  }
  constexpr TLTSet& operator*=(TLTSet other) {
    FBits &= other.FBits;
    return *this;
  }
  constexpr TLTSet& operator+=(E item) { return *this += TLTSet{item}; }
  constexpr TLTSet& operator-=(E item) { return *this -= TLTSet{item}; }
  friend constexpr TLTSet operator+(TLTSet a, TLTSet b) { return a += b; }
  friend constexpr TLTSet operator-(TLTSet a, TLTSet b) { return a -= b; }
  friend constexpr TLTSet operator*(TLTSet a, TLTSet b) { return a *= b; }
  friend constexpr bool operator==(TLTSet a, TLTSet b) { return a.FBits == b.FBits; }

 private:
  static constexpr Bits Bit(E item) { return static_cast<Bits>(Bits{1} << static_cast<unsigned>(item)); }
  Bits FBits = 0;
};

// Node states; the bit positions are part of the tree stream.
enum TLiveNodeState : std::uint8_t {
  vsInitialized,
  vsChecking,
  vsCutOrCopy,
  vsDisabled,
  vsDeleting,
  vsExpanded,
  vsHasChildren,
  vsVisible,
  vsSelected,
  vsOnFreeNodeCallRequired,
  vsAllChildrenHidden,
  vsClearing,
  vsMultiline,
  vsHeightMeasured,
  vsToggling,
  vsFiltered
};
using TLiveNodeStates = TLTSet<TLiveNodeState, std::uint16_t>;

enum TLiveNodeInitState : std::uint8_t {
  ivsDisabled,
  ivsExpanded,
  ivsHasChildren,
  ivsMultiline,
  ivsSelected,
  ivsFiltered,
  ivsReInit
};
using TLiveNodeInitStates = TLTSet<TLiveNodeInitState, std::uint8_t>;

enum TCheckState : std::uint8_t {
  csUncheckedNormal,
  csUncheckedPressed,
  csCheckedNormal,
  csCheckedPressed,
  csMixedNormal,
  csMixedPressed
};

enum TCheckType : std::uint8_t { ctNone, ctTriStateCheckBox, ctCheckBox, ctRadioButton, ctButton };

enum TLTNodeAttachMode : std::uint8_t { amNoWhere, amInsertBefore, amInsertAfter, amAddChildFirst, amAddChildLast };

enum TChangeReason : std::uint8_t {
  crIgnore,
  crAccumulated,
  crChildAdded,
  crChildDeleted,
  crNodeAdded,
  crNodeCopied,
  crNodeMoved
};

enum TLTUpdateState : std::uint8_t { usBegin, usBeginSynch, usSynch, usUpdate, usEnd, usEndSynch };

enum TLTOperationKind : std::uint8_t { okAutoFitColumns, okGetMaxColumnWidth, okSortNode, okSortTree };

enum TSortDirection : std::uint8_t { sdAscending, sdDescending };

// -1: no column; -2: not found (an invalid column).
using TColumnIndex = Integer;
constexpr TColumnIndex NoColumn = -1;
constexpr TColumnIndex InvalidColumn = -2;
// A display position of a column, 0 = leftmost.
using TColumnPosition = Cardinal;

enum TLTImageKind : std::uint8_t { ikNormal, ikSelected, ikState, ikOverlay };

// The string tree's two texts of a cell: the main text and the secondary
// text painted after it.
enum TLSTTextType : std::uint8_t { ttNormal, ttStatic };

// Where a point lies relative to the tree and its nodes.
enum THitPosition : std::uint8_t {
  hiAbove,
  hiBelow,
  hiNowhere,
  hiOnItem,
  hiOnItemButton,
  hiOnItemButtonExact,
  hiOnItemCheckbox,
  hiOnItemIndent,
  hiOnItemLabel,
  hiOnItemLeft,
  hiOnItemRight,
  hiOnNormalIcon,
  hiOnStateIcon,
  hiToLeft,
  hiToRight,
  hiUpperSplitter,
  hiLowerSplitter
};
using THitPositions = TLTSet<THitPosition, std::uint32_t>;

// The tree's own states.
enum TLiveTreeState : std::uint8_t {
  tsCancelHintAnimation,
  tsChangePending,
  tsCheckPropagation,
  tsCollapsing,
  tsToggleFocusedSelection,
  tsClearPending,
  tsClipboardFlushing,
  tsCopyPending,
  tsCutPending,
  tsDrawSelPending,
  tsDrawSelecting,
  tsEditing,
  tsEditPending,
  tsExpanding,
  tsNodeHeightTracking,
  tsNodeHeightTrackPending,
  tsHint,
  tsInAnimation,
  tsIncrementalSearching,
  tsIncrementalSearchPending,
  tsIterating,
  tsKeyCheckPending,
  tsLeftButtonDown,
  tsLeftDblClick,
  tsMouseCheckPending,
  tsMiddleButtonDown,
  tsMiddleDblClick,
  tsNeedRootCountUpdate,
  tsOLEDragging,
  tsOLEDragPending,
  tsPainting,
  tsRightButtonDown,
  tsRightDblClick,
  tsPopupMenuShown,
  tsScrolling,
  tsScrollPending,
  tsSizing,
  tsStopValidation,
  tsStructureChangePending,
  tsSynchMode,
  tsThumbTracking,
  tsToggling,
  tsUpdateHiddenChildrenNeeded,
  tsUpdating,
  tsUseCache,
  tsUserDragObject,
  tsUseThemes,
  tsValidating,
  tsPreviouslySelectedLocked,
  tsValidationNeeded,
  tsVCLDragging,
  tsVCLDragPending,
  tsVCLDragFinished,
  tsWheelPanning,
  tsWheelScrolling,
  tsWindowCreating,
  tsUseExplorerTheme
};
using TLiveTreeStates = TLTSet<TLiveTreeState, std::uint64_t>;

class TBaseLiveTree;

// One node of the tree: the fixed fields, then the internal area reserved by
// descendants of the tree class, then the caller's area (GetNodeData). States
// and NodeHeight are also read by the cache builder thread while the interface
// thread writes them, so they are atomics; only the interface thread writes.
struct alignas(8) TLiveNode {
  Cardinal Index = 0;
  Cardinal ChildCount = 0;
  std::atomic<Word> NodeHeight{0};
  std::atomic<Word> States{0};
  Byte Align = 0;
  TCheckState CheckState = csUncheckedNormal;
  TCheckType CheckType = ctNone;
  Byte Dummy = 0;
  Cardinal TotalCount = 0;
  Cardinal TotalHeight = 0;
  TLiveNode* Parent = nullptr;
  TLiveNode* PrevSibling = nullptr;
  TLiveNode* NextSibling = nullptr;
  TLiveNode* FirstChild = nullptr;
  TLiveNode* LastChild = nullptr;

  TLiveNodeStates GetStates() const { return TLiveNodeStates::FromBits(States.load(std::memory_order_relaxed)); }
  void SetStates(TLiveNodeStates value) { States.store(value.ToBits(), std::memory_order_relaxed); }
  bool Has(TLiveNodeState state) const { return GetStates().Contains(state); }
  void Include(TLiveNodeStates states) { SetStates(GetStates() + states); }
  void Exclude(TLiveNodeStates states) { SetStates(GetStates() - states); }
  Word Height() const { return NodeHeight.load(std::memory_order_relaxed); }
  void SetHeight(Word value) { NodeHeight.store(value, std::memory_order_relaxed); }

  // Start of the area that follows the fixed fields.
  Byte* Data() { return reinterpret_cast<Byte*>(this) + sizeof(TLiveNode); }
};
using PLiveNode = TLiveNode*;
using TNodeArray = std::vector<PLiveNode>;

static_assert(sizeof(TLiveNode) % 8 == 0, "the data area must start 8-aligned");

// Run-time errors of the tree, with a help context from 2001 to 2008.
KST_DECLARE_EXCEPTION(ELiveTreeError, Exception);

