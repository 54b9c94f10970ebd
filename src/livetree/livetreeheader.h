// The tree's header: the column collection with its display order and
// geometry, and the header's settings that concern all columns (options,
// heights, font, main, auto-size and sort column, the fixed-area
// constraints), column fitting (auto size, spring, proportional resizing,
// auto-fit) and the header and column streams. Portable: painting and the
// header's window messages belong to the control.
#pragma once

#include <memory>
#include <vector>

#include "livetree/livetreehost.h"
#include "livetree/livetreetypes.h"
#include "rtl/object.h"
#include "rtl/uitypes.h"

class TBaseLiveTree;
class TLTHeader;
class TLiveTreeColumns;
class TStream;

enum TLTColumnOption : std::uint8_t {
  coAllowClick,
  coDraggable,
  coEnabled,
  coParentBidiMode,
  coParentColor,
  coResizable,
  coShowDropMark,
  coVisible,
  coAutoSpring,
  coFixed,
  coSmartResize,
  coAllowFocus,
  coDisableAnimatedResize,
  coWrapCaption,
  coUseCaptionAlignment,
  coEditable
};
using TLTColumnOptions = TLTSet<TLTColumnOption, std::uint16_t>;

// $88FF.
constexpr TLTColumnOptions DefaultColumnOptions{coAllowClick,  coDraggable, coEnabled,      coParentBidiMode,
                                                coParentColor, coResizable, coShowDropMark, coVisible,
                                                coAllowFocus,  coEditable};

enum TLiveTreeColumnStyle : std::uint8_t { vsText, vsOwnerDraw };
using TLTHeaderColumnLayout = TButtonLayout;

enum TLTHeaderOption : std::uint8_t {
  hoAutoResize,
  hoColumnResize,
  hoDblClickResize,
  hoDrag,
  hoHotTrack,
  hoOwnerDraw,
  hoRestrictDrag,
  hoShowHint,
  hoShowImages,
  hoShowSortGlyphs,
  hoVisible,
  hoAutoSpring,
  hoFullRepaintOnResize,
  hoDisableAnimatedResize,
  hoHeightResize,
  hoHeightDblClickResize,
  hoHeaderClickAutoSort
};
using TLTHeaderOptions = TLTSet<TLTHeaderOption, std::uint32_t>;

// 522.
constexpr TLTHeaderOptions DefaultHeaderOptions{hoColumnResize, hoDrag, hoShowSortGlyphs};

enum TLTHeaderStyle : std::uint8_t { hsThickButtons, hsFlatButtons, hsPlates };

enum THeaderState : std::uint8_t {
  hsAutoSizing,
  hsDragging,
  hsDragPending,
  hsLoading,
  hsColumnWidthTracking,
  hsColumnWidthTrackPending,
  hsHeightTracking,
  hsHeightTrackPending,
  hsResizing,
  hsScaling,
  hsNeedScaling
};
using THeaderStates = TLTSet<THeaderState, std::uint16_t>;

enum TSmartAutoFitType : std::uint8_t { smaAllColumns, smaNoColumn, smaUseColumnOption };

enum TLTHeaderHitPosition : std::uint8_t { hhiNoWhere, hhiOnColumn, hhiOnIcon, hhiOnCheckbox };
using TLTHeaderHitPositions = TLTSet<TLTHeaderHitPosition, std::uint8_t>;

// What a header click reports.
struct TLTHeaderHitInfo {
  Integer X = 0;
  Integer Y = 0;  // header coordinates
  TMouseButton Button = mbLeft;
  TShiftState Shift;
  TColumnIndex Column = NoColumn;
  TLTHeaderHitPositions HitPosition;
};

using TColumnsArray = std::vector<TColumnIndex>;

// One column of the header.
class TLiveTreeColumn : public TObject {
  friend class TLiveTreeColumns;
  friend class TLTHeader;

 public:
  // Joins the collection as its last column.
  explicit TLiveTreeColumn(TLiveTreeColumns* collection);
  ~TLiveTreeColumn() override = default;
  TLiveTreeColumn(const TLiveTreeColumn&) = delete;
  TLiveTreeColumn& operator=(const TLiveTreeColumn&) = delete;

  TLiveTreeColumns* Collection() const { return FCollection; }
  TLTHeader* Header() const;
  TBaseLiveTree* Tree() const;
  TColumnIndex Index() const;

  virtual String Text() const { return FText; }
  virtual void SetText(const String& value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& value) { FHint = value; }
  const String& CaptionText() const { return FCaptionText; }
  void SetCaptionText(const String& value) { FCaptionText = value; }

  Integer Left() const { return FLeft; }
  Integer Width() const { return FWidth; }
  void SetWidth(Integer value);
  Integer MinWidth() const { return FMinWidth; }
  void SetMinWidth(Integer value);
  Integer MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(Integer value);
  Integer LastWidth() const { return FLastWidth; }
  TColumnPosition Position() const { return FPosition; }
  void SetPosition(TColumnPosition value);
  TLiveTreeColumnStyle Style() const { return FStyle; }
  void SetStyle(TLiveTreeColumnStyle value);
  TImageIndex ImageIndex() const { return FImageIndex; }
  void SetImageIndex(TImageIndex value);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode value);
  TLTHeaderColumnLayout Layout() const { return FLayout; }
  void SetLayout(TLTHeaderColumnLayout value);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer value);
  TLTColumnOptions Options() const { return FOptions; }
  void SetOptions(TLTColumnOptions value);
  NativeInt Tag() const { return FTag; }
  void SetTag(NativeInt value) { FTag = value; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  // Alignment unless coUseCaptionAlignment is set.
  TAlignment CaptionAlignment() const;
  void SetCaptionAlignment(TAlignment value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  bool CheckBox() const { return FCheckBox; }
  void SetCheckBox(bool value);
  TCheckType CheckType() const { return FCheckType; }
  void SetCheckType(TCheckType value);
  TCheckState CheckState() const { return FCheckState; }
  void SetCheckState(TCheckState value);
  TSortDirection DefaultSortDirection() const { return FDefaultSortDirection; }
  void SetDefaultSortDirection(TSortDirection value) { FDefaultSortDirection = value; }
  // Where the header glyph was last drawn (the painter records it).
  const TRect& ImageRect() const { return FImageRect; }
  void SetImageRect(const TRect& value, bool hasImage) {
    FImageRect = value;
    FHasImage = hasImage;
  }
  bool HasImage() const { return FHasImage; }
  bool BonusPixel() const { return FBonusPixel; }
  double SpringRest() const { return FSpringRest; }

  // The header rectangle narrowed to the column (unscrolled).
  virtual TRect GetRect() const;
  // Left minus the horizontal scroll offset, except for visible fixed columns.
  Integer ScrolledLeft() const;
  void AbsoluteBounds(Integer& left, Integer& right) const;
  void RestoreLastWidth();
  void ParentBiDiModeChanged();
  void ParentColorChanged();
  bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
  void Assign(const TLiveTreeColumn& source);
  bool Equals(const TLiveTreeColumn& other) const;
  // Text when every character is at most 255, else "Column %d".
  String DisplayName() const;

  void LoadFromStream(TStream& stream, Integer version);
  void SaveToStream(TStream& stream) const;

 protected:
  // Reports a change to the collection.
  void Changed();

 private:
  bool TreeLoading() const;

  TLiveTreeColumns* FCollection;
  String FText;
  String FHint;
  Integer FLeft = 0;
  Integer FWidth = 50;
  TColumnPosition FPosition = 0;
  Integer FMinWidth = 10;
  Integer FMaxWidth = 10000;
  TLiveTreeColumnStyle FStyle = vsText;
  TImageIndex FImageIndex = -1;
  TBiDiMode FBiDiMode = bdLeftToRight;
  TLTHeaderColumnLayout FLayout = blGlyphLeft;
  Integer FMargin = 4;
  Integer FSpacing = 3;
  TLTColumnOptions FOptions = DefaultColumnOptions;
  NativeInt FTag = 0;
  TAlignment FAlignment = taLeftJustify;
  TAlignment FCaptionAlignment = taLeftJustify;
  Integer FLastWidth = 50;
  TColor FColor = clWindow;
  bool FBonusPixel = false;
  double FSpringRest = 0;
  String FCaptionText;
  bool FCheckBox = false;
  TCheckType FCheckType = ctCheckBox;
  TCheckState FCheckState = csUncheckedNormal;
  TRect FImageRect;
  bool FHasImage = false;
  TSortDirection FDefaultSortDirection = sdAscending;
};

// The columns of a header, in index order (creation) and display order
// (positions).
class TLiveTreeColumns : public TObject {
  friend class TLiveTreeColumn;
  friend class TLTHeader;

 public:
  explicit TLiveTreeColumns(TLTHeader* owner);
  ~TLiveTreeColumns() override;
  TLiveTreeColumns(const TLiveTreeColumns&) = delete;
  TLiveTreeColumns& operator=(const TLiveTreeColumns&) = delete;

  TLTHeader* Header() const { return FHeader; }
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TLiveTreeColumn* Items(TColumnIndex index) const;
  TLiveTreeColumn* operator[](TColumnIndex index) const { return Items(index); }
  TLiveTreeColumn* Add();
  void Delete(TColumnIndex index);
  void Clear();
  void Assign(const TLiveTreeColumns& source);
  bool Equals(const TLiveTreeColumns& other) const;
  // Change notifications wait for the closing EndUpdate, which reports a
  // change of all columns.
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }

  // The column under a point (client coordinates; Relative: scrolled); -2 for
  // none.
  TColumnIndex ColumnFromPosition(TPoint p, bool relative = true) const;
  // The column at a display position; -1 when there is none.
  TColumnIndex ColumnFromPosition(TColumnPosition positionIndex) const;
  TColumnIndex ColumnAndBoundsAt(TPoint p, Integer& left, Integer& right, bool relative = true) const;
  void GetColumnBounds(TColumnIndex column, Integer& left, Integer& right) const;
  TColumnIndex GetFirstColumn() const;
  TColumnIndex GetNextColumn(TColumnIndex column) const;
  TColumnIndex GetPreviousColumn(TColumnIndex column) const;
  TColumnIndex GetFirstVisibleColumn(bool considerAllowFocus = false) const;
  TColumnIndex GetLastVisibleColumn(bool considerAllowFocus = false) const;
  TColumnIndex GetNextVisibleColumn(TColumnIndex column, bool considerAllowFocus = false) const;
  TColumnIndex GetPreviousVisibleColumn(TColumnIndex column, bool considerAllowFocus = false) const;
  TColumnsArray GetVisibleColumns() const;
  Integer GetVisibleFixedWidth() const;
  Integer GetScrollWidth() const;
  bool IsValidColumn(TColumnIndex column) const { return column >= 0 && column < Count(); }
  Integer TotalWidth() const;
  // Sets the width, clamped to the column's limits (the control animates).
  void AnimatedResize(TColumnIndex column, Integer newWidth);

  // The column index shown at each position.
  const std::vector<TColumnIndex>& PositionToIndex() const { return FPositionToIndex; }
  Integer DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer value) { FDefaultWidth = value; }
  TColumnIndex HoverIndex() const { return FHoverIndex; }
  TColumnIndex DownIndex() const { return FDownIndex; }
  TColumnIndex TrackIndex() const { return FTrackIndex; }
  TColumnIndex ClickIndex() const { return FClickIndex; }
  void SetClickIndex(TColumnIndex value) { FClickIndex = value; }

  void RecalculateColumnLefts(bool force);
  // After the tree has loaded: positions from the columns' own Position.
  void PositionsFromColumns();
  void ResetPositionOrder(bool reverse);

  // A header click at a client point: reports OnHeaderClick or
  // OnHeaderDblClick; Force reports a column that was not pressed before.
  void ProcessHeaderClick(TPoint p, TMouseButton button, TShiftState shift, bool dblClick, bool force);
  // A mouse button went down on the header: the clickable column under the
  // point becomes the pressed one.
  void PressColumn(TPoint p);

  void LoadFromStream(TStream& stream, Integer version);
  void SaveToStream(TStream& stream) const;

 private:
  // The collection's change notification: Column nil means all columns.
  void Update(TLiveTreeColumn* column);
  // A column (nil: all) changed; the update waits for an open bracket.
  void Changed(TLiveTreeColumn* column);
  void FitPositionArray();
  void MovePositionEntry(TColumnIndex column, TColumnPosition newPosition);
  void RemoveFromPositionArray(TColumnIndex column);
  void ShiftColumnIndexAfterDelete(TColumnIndex deleted);
  TBaseLiveTree* Tree() const;

  TLTHeader* FHeader;
  std::vector<std::unique_ptr<TLiveTreeColumn>> FItems;
  TColumnIndex FHoverIndex = NoColumn;
  TColumnIndex FDownIndex = NoColumn;
  TColumnIndex FTrackIndex = NoColumn;
  TColumnIndex FClickIndex = NoColumn;
  bool FCheckBoxHit = false;
  std::vector<TColumnIndex> FPositionToIndex;
  Integer FDefaultWidth = 50;
  bool FNeedPositionsFix = false;
  bool FClearing = false;
  Integer FUpdateCount = 0;
  bool FChangedInUpdate = false;
};

// Limits of the fixed (non-scrolling) area in percent of the tree; 0 is no
// limit.
class TLTFixedAreaConstraints : public TObject {
 public:
  explicit TLTFixedAreaConstraints(TLTHeader* header) : FHeader(header) {}
  Integer MaxHeightPercent() const { return FMaxHeightPercent; }
  Integer MaxWidthPercent() const { return FMaxWidthPercent; }
  Integer MinHeightPercent() const { return FMinHeightPercent; }
  Integer MinWidthPercent() const { return FMinWidthPercent; }
  void SetMaxHeightPercent(Integer value);
  void SetMaxWidthPercent(Integer value);
  void SetMinHeightPercent(Integer value);
  void SetMinWidthPercent(Integer value);
  void Assign(const TLTFixedAreaConstraints& source);

 private:
  friend class TLTHeader;
  friend class TLiveTreeColumn;
  void Changed();

  TLTHeader* FHeader;
  Integer FMaxHeightPercent = 0;
  Integer FMaxWidthPercent = 0;
  Integer FMinHeightPercent = 0;
  Integer FMinWidthPercent = 0;
};

class TLTHeader : public TObject {
  friend class TLiveTreeColumns;
  friend class TLiveTreeColumn;
  friend class TLTFixedAreaConstraints;

 public:
  explicit TLTHeader(TBaseLiveTree* owner);
  ~TLTHeader() override;
  TLTHeader(const TLTHeader&) = delete;
  TLTHeader& operator=(const TLTHeader&) = delete;

  TBaseLiveTree* Tree() const { return FOwner; }
  TLiveTreeColumns& Columns() { return *FColumns; }
  const TLiveTreeColumns& Columns() const { return *FColumns; }
  void SetColumns(const TLiveTreeColumns& value) { FColumns->Assign(value); }
  // Whether the tree shows columns at all.
  bool UseColumns() const { return FColumns->Count() > 0; }

  TColumnIndex AutoSizeIndex() const { return FAutoSizeIndex; }
  void SetAutoSizeIndex(TColumnIndex value);
  TColor Background() const { return FBackground; }
  void SetBackground(TColor value);
  Integer DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer value);
  const TLiveTreeFont& Font() const { return FFont; }
  void SetFont(const TLiveTreeFont& value);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value);
  Integer Height() const { return FHeight; }
  void SetHeight(Integer value);
  Integer MinHeight() const { return FMinHeight; }
  void SetMinHeight(Integer value);
  Integer MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(Integer value);
  // -1 when there are no columns.
  TColumnIndex MainColumn() const;
  void SetMainColumn(TColumnIndex value);
  TLTHeaderOptions Options() const { return FOptions; }
  void SetOptions(TLTHeaderOptions value);
  TLTHeaderStyle Style() const { return FStyle; }
  void SetStyle(TLTHeaderStyle value);
  TColumnIndex SortColumn() const { return FSortColumn; }
  void SetSortColumn(TColumnIndex value);
  TSortDirection SortDirection() const { return FSortDirection; }
  void SetSortDirection(TSortDirection value);
  TLTFixedAreaConstraints& FixedAreaConstraints() { return FFixedAreaConstraints; }
  void SetFixedAreaConstraints(const TLTFixedAreaConstraints& value) { FFixedAreaConstraints.Assign(value); }
  THeaderStates States() const { return FStates; }
  const TPoint& TrackPoint() const { return FTrackPoint; }

  void Assign(const TLTHeader& source);
  bool AllowFocus(TColumnIndex column) const;
  // The header's rectangle in client coordinates: above the client area.
  TRect HeaderRect() const;
  bool InHeader(TPoint p) const;
  bool InHeaderSplitterArea(TPoint p) const;
  // Repaints a column's header cell (nil column: the whole header).
  void Invalidate(const TLiveTreeColumn* column, bool expandToBorder = false);

  // Spreads ChangeBy pixels over the columns in the index range whose
  // options hold all of Options; returns the change applied.
  Integer ResizeColumns(Integer changeBy, TColumnIndex rangeStartCol, TColumnIndex rangeEndCol,
                        TLTColumnOptions options = {coVisible});
  // Spring columns follow a change of the tree's width.
  void SpringColumns();
  // Fits the columns at the positions of the range to their widest cells.
  void AutoFitColumns(bool animated = true, TSmartAutoFitType smartAutoFitType = smaUseColumnOption,
                      Integer rangeStartCol = NoColumn, Integer rangeEndCol = NoColumn);
  void RestoreColumns();
  void ApplyFixedAreaConstraints();
  void ScaleHeader(Integer m, Integer d);
  // The auto-size column takes the width the other visible columns leave.
  void FitAutoSizeColumn(TColumnIndex currentIndex, bool force);
  // The column whose right edge (splitter) lies under a client point becomes
  // the track column.
  bool FindSplitterColumn(TPoint p);
  // Whether a client point lies on a splitter that resizes a column.
  bool ColumnSplitterHit(TPoint p);

  // The mouse on the header, at client points (the header lies above the
  // client area, at negative Y). Each returns whether the header takes the
  // message; after a press it holds the mouse until the button comes up.
  bool MouseDown(TPoint p);
  bool MouseMove(TPoint p);
  // A pressed column released over itself is clicked (and sorts with
  // hoHeaderClickAutoSort); a width track ends.
  bool MouseUp(TPoint p, TShiftState shift);
  // On a splitter with hoDblClickResize the column fits its cells; elsewhere
  // in the header the column reports a double click.
  bool MouseDblClick(TPoint p, TShiftState shift);
  // Escape or the loss of focus: a running track or press ends.
  bool CancelMouse();
  // After a drag of the column at position Dragged onto the column at
  // position Target: the position the dragged column takes.
  static TColumnPosition DropPosition(TColumnPosition dragged, TColumnPosition target, bool dropBefore);
  // The tree's font changed; a header that follows it takes it.
  void ParentFontChanged();
  // The tree's end of loading: the main column clamped into range.
  void ClampMainColumn();

  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

 private:
  void ReadStreamFields(TStream& stream, TLTHeaderOptions storedOptions);
  void ApplySortColumn(TColumnIndex value);
  void HeaderFontChanged();
  void FixedAreaChanged();
  void ResortIfAutomatic();
  bool TreeLoading() const;
  bool HasWindow() const;
  ILiveTreeHost& Host() const;

  TBaseLiveTree* FOwner;
  std::unique_ptr<TLiveTreeColumns> FColumns;
  Integer FHeight = 19;
  TLiveTreeFont FFont;
  bool FParentFont = false;
  TLTHeaderOptions FOptions = DefaultHeaderOptions;
  TLTHeaderStyle FStyle = hsThickButtons;
  TColor FBackground = clBtnFace;
  TColumnIndex FAutoSizeIndex = NoColumn;
  TColumnIndex FMainColumn = NoColumn;
  Integer FMaxHeight = 10000;
  Integer FMinHeight = 10;
  Integer FDefaultHeight = 19;
  TLTFixedAreaConstraints FFixedAreaConstraints{this};
  TColumnIndex FSortColumn = NoColumn;
  TSortDirection FSortDirection = sdAscending;
  Integer FLastWidth = 0;
  THeaderStates FStates;
  TPoint FDragStart;
  TPoint FTrackStart;
  TPoint FTrackPoint;
};
