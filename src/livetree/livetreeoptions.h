// The tree's option sets. Bit N of a set is the option with ordinal N; form
// files name the options, the defaults below are the published defaults.
#pragma once

#include <atomic>

#include "livetree/livetreetypes.h"
#include "rtl/object.h"

enum TLTPaintOption : std::uint8_t {
  toHideFocusRect,
  toHideSelection,
  toHotTrack,
  toPopupMode,
  toShowBackground,
  toShowButtons,
  toShowDropmark,
  toShowHorzGridLines,
  toShowRoot,
  toShowTreeLines,
  toShowVertGridLines,
  toThemeAware,
  toUseBlendedImages,
  toGhostedIfUnfocused,
  toFullVertGridLines,
  toAlwaysHideSelection,
  toUseBlendedSelection,
  toStaticBackground,
  toChildrenAbove,
  toFixedIndent,
  toUseExplorerTheme,
  toHideTreeLinesIfThemed,
  toShowFilteredNodes
};
using TLTPaintOptions = TLTSet<TLTPaintOption, std::uint32_t>;

enum TLTAnimationOption : std::uint8_t { toAnimatedToggle, toAdvancedAnimatedToggle };
using TLTAnimationOptions = TLTSet<TLTAnimationOption, std::uint8_t>;

enum TLTAutoOption : std::uint8_t {
  toAutoDropExpand,
  toAutoExpand,
  toAutoScroll,
  toAutoScrollOnExpand,
  toAutoSort,
  toAutoSpanColumns,
  toAutoTristateTracking,
  toAutoHideButtons,
  toAutoDeleteMovedNodes,
  toDisableAutoscrollOnFocus,
  toAutoChangeScale,
  toAutoFreeOnCollapse,
  toDisableAutoscrollOnEdit,
  toAutoBidiColumnOrdering
};
using TLTAutoOptions = TLTSet<TLTAutoOption, std::uint16_t>;

enum TLTSelectionOption : std::uint8_t {
  toDisableDrawSelection,
  toExtendedFocus,
  toFullRowSelect,
  toLevelSelectConstraint,
  toMiddleClickSelect,
  toMultiSelect,
  toRightClickSelect,
  toSiblingSelectConstraint,
  toCenterScrollIntoView,
  toSimpleDrawSelection,
  toAlwaysSelectNode,
  toRestoreSelection
};
using TLTSelectionOptions = TLTSet<TLTSelectionOption, std::uint16_t>;

enum TLTMiscOption : std::uint8_t {
  toAcceptOLEDrop,
  toCheckSupport,
  toEditable,
  toFullRepaintOnResize,
  toGridExtensions,
  toInitOnSave,
  toReportMode,
  toToggleOnDblClick,
  toWheelPanning,
  toReadOnly,
  toVariableNodeHeight,
  toFullRowDrag,
  toNodeHeightResize,
  toNodeHeightDblClickResize,
  toEditOnClick,
  toEditOnDblClick,
  toReverseFullExpandHotKey
};
using TLTMiscOptions = TLTSet<TLTMiscOption, std::uint32_t>;

enum TLTExportMode : std::uint8_t { emAll, emChecked, emUnchecked, emVisibleDueToExpansion, emSelected };

constexpr TLTPaintOptions DefaultPaintOptions{toShowButtons,   toShowDropmark, toShowRoot,
                                              toShowTreeLines, toThemeAware,   toUseBlendedImages};
constexpr TLTAnimationOptions DefaultAnimationOptions{};
constexpr TLTAutoOptions DefaultAutoOptions{toAutoDropExpand,       toAutoScrollOnExpand,   toAutoSort,
                                            toAutoTristateTracking, toAutoDeleteMovedNodes, toAutoChangeScale};
constexpr TLTSelectionOptions DefaultSelectionOptions{};
constexpr TLTMiscOptions DefaultMiscOptions{toAcceptOLEDrop,    toFullRepaintOnResize, toInitOnSave,
                                            toToggleOnDblClick, toWheelPanning,        toEditOnClick};

// The option sets of one tree. Each setter stores the new set and lets the
// owning tree react. The sets are read by the cache builder thread as well,
// hence the atomic storage.
class TCustomLiveTreeOptions : public TObject {
 public:
  explicit TCustomLiveTreeOptions(TBaseLiveTree* owner) : FOwner(owner) {}

  TBaseLiveTree* Owner() const { return FOwner; }

  TLTPaintOptions PaintOptions() const { return TLTPaintOptions::FromBits(FPaintOptions.load(Relaxed)); }
  TLTAnimationOptions AnimationOptions() const {
    return TLTAnimationOptions::FromBits(FAnimationOptions.load(Relaxed));
  }
  TLTAutoOptions AutoOptions() const { return TLTAutoOptions::FromBits(FAutoOptions.load(Relaxed)); }
  TLTSelectionOptions SelectionOptions() const {
    return TLTSelectionOptions::FromBits(FSelectionOptions.load(Relaxed));
  }
  TLTMiscOptions MiscOptions() const { return TLTMiscOptions::FromBits(FMiscOptions.load(Relaxed)); }
  TLTExportMode ExportMode() const { return FExportMode; }

  void SetPaintOptions(TLTPaintOptions value);
  void SetAnimationOptions(TLTAnimationOptions value);
  void SetAutoOptions(TLTAutoOptions value);
  void SetSelectionOptions(TLTSelectionOptions value);
  void SetMiscOptions(TLTMiscOptions value);
  void SetExportMode(TLTExportMode value) { FExportMode = value; }

  // Applies the source's sets through the setters (the export mode is not
  // copied).
  virtual void Assign(const TCustomLiveTreeOptions& source);

 private:
  static constexpr auto Relaxed = std::memory_order_relaxed;

  TBaseLiveTree* FOwner;
  std::atomic<TLTPaintOptions::Storage> FPaintOptions{DefaultPaintOptions.ToBits()};
  std::atomic<TLTAnimationOptions::Storage> FAnimationOptions{DefaultAnimationOptions.ToBits()};
  std::atomic<TLTAutoOptions::Storage> FAutoOptions{DefaultAutoOptions.ToBits()};
  std::atomic<TLTSelectionOptions::Storage> FSelectionOptions{DefaultSelectionOptions.ToBits()};
  std::atomic<TLTMiscOptions::Storage> FMiscOptions{DefaultMiscOptions.ToBits()};
  TLTExportMode FExportMode = emAll;
};

// The options class of the base tree: nothing added.
class TLiveTreeOptions : public TCustomLiveTreeOptions {
 public:
  using TCustomLiveTreeOptions::TCustomLiveTreeOptions;
};
