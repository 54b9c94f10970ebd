// The header's mouse handling: pressing and clicking columns (sorting), the
// hover column, and resizing columns by their splitters.
#include "livetree/basetree.h"
#include "livetree/livetreeheader.h"

bool TLTHeader::ColumnSplitterHit(TPoint p) {
  if (!FOptions.Contains(hoColumnResize) || !FOptions.Contains(hoVisible) || !FindSplitterColumn(p)) return false;
  if (InHeader(p)) return true;
  // Below the header only the border between the fixed and the scrolling
  // columns can be dragged.
  TColumnIndex track = FColumns->TrackIndex();
  TColumnIndex next = FColumns->GetNextVisibleColumn(track);
  return FColumns->Items(track)->Options().Contains(coFixed) && next != InvalidColumn &&
         !FColumns->Items(next)->Options().Contains(coFixed) && p.Y >= 0 && p.Y <= FOwner->RangeY();
}

bool TLTHeader::MouseDown(TPoint p) {
  Host().CancelHint();
  if (ColumnSplitterHit(p)) {
    FTrackStart = p;
    FColumns->FHoverIndex = NoColumn;
    FStates += hsColumnWidthTrackPending;
    return true;
  }
  if (!FOptions.Contains(hoVisible) || !InHeader(p)) return false;
  FColumns->PressColumn(Point(p.X, p.Y + FHeight));
  if (FColumns->DownIndex() < 0) return false;
  Invalidate(FColumns->Items(FColumns->DownIndex()));
  return true;
}

bool TLTHeader::MouseMove(TPoint p) {
  if (FStates.Contains(hsColumnWidthTrackPending)) {
    FStates -= hsColumnWidthTrackPending;
    FStates += hsColumnWidthTracking;
  }
  if (FStates.Contains(hsColumnWidthTracking)) {
    TColumnIndex track = FColumns->TrackIndex();
    if (!FColumns->IsValidColumn(track)) return true;
    bool rightToLeft = FOwner->UseRightToLeftAlignment();
    Integer newWidth = rightToLeft ? FTrackPoint.X - p.X : p.X - FTrackPoint.X;
    TColumnIndex neighbour =
        rightToLeft ? FColumns->GetPreviousVisibleColumn(track) : FColumns->GetNextVisibleColumn(track);
    TLiveTreeColumn* column = FColumns->Items(track);
    if (FOptions.Contains(hoAutoResize) && track == FAutoSizeIndex && neighbour != InvalidColumn &&
        FColumns->Items(neighbour)->Options().Contains(coResizable) && newWidth > column->MinWidth() &&
        newWidth < column->MaxWidth()) {
      // The auto-size column follows by itself; its neighbour gives or takes.
      TLiveTreeColumn* next = FColumns->Items(neighbour);
      next->SetWidth(next->Width() + column->Width() - newWidth);
    } else {
      column->SetWidth(newWidth);
    }
    Invalidate(nullptr);
    return true;
  }
  if (FColumns->DownIndex() >= 0) return true;
  // Hot tracking: the cell under the mouse is drawn hot.
  TColumnIndex hover = FOptions.Contains(hoVisible) && InHeader(p)
                           ? FColumns->ColumnFromPosition(Point(p.X, p.Y + FHeight), true)
                           : NoColumn;
  if (hover < 0) hover = NoColumn;
  if (hover != FColumns->FHoverIndex) {
    FColumns->FHoverIndex = hover;
    if (FOptions.Contains(hoHotTrack)) Invalidate(nullptr);
  }
  return false;
}

bool TLTHeader::MouseUp(TPoint p, TShiftState shift) {
  bool active = FStates.Contains(hsColumnWidthTracking) || FStates.Contains(hsColumnWidthTrackPending) ||
                FColumns->DownIndex() >= 0;
  if (!active) return false;
  // The click's handlers (a sort's comparison among them) may raise: the
  // press and the tracking end all the same.
  auto release = [this] {
    if (FColumns->DownIndex() >= 0) {
      if (FColumns->IsValidColumn(FColumns->DownIndex())) Invalidate(FColumns->Items(FColumns->DownIndex()));
      FColumns->FDownIndex = NoColumn;
      FColumns->FCheckBoxHit = false;
    }
    if (FColumns->IsValidColumn(FColumns->TrackIndex())) Invalidate(FColumns->Items(FColumns->TrackIndex()));
    FColumns->FTrackIndex = NoColumn;
    FStates -= THeaderStates{hsColumnWidthTracking, hsColumnWidthTrackPending, hsDragging, hsDragPending};
  };
  try {
    if (FColumns->DownIndex() >= 0)
      FColumns->ProcessHeaderClick(Point(p.X, p.Y + FHeight), mbLeft, shift, false, false);
  } catch (...) {
    release();
    throw;
  }
  release();
  return true;
}

bool TLTHeader::MouseDblClick(TPoint p, TShiftState shift) {
  if (FOptions.Contains(hoDblClickResize) && ColumnSplitterHit(p)) {
    TColumnIndex track = FColumns->TrackIndex();
    Integer position = static_cast<Integer>(FColumns->Items(track)->Position());
    AutoFitColumns(true, smaUseColumnOption, position, position);
    FColumns->FTrackIndex = NoColumn;
    return true;
  }
  if (!FOptions.Contains(hoVisible) || !InHeader(p)) return false;
  TPoint headerPoint = Point(p.X, p.Y + FHeight);
  FColumns->PressColumn(headerPoint);
  FColumns->ProcessHeaderClick(headerPoint, mbLeft, shift, true, true);
  FColumns->FDownIndex = NoColumn;
  return true;
}

bool TLTHeader::CancelMouse() {
  // Only the mouse's own states count: scaling or loading states must not
  // swallow the Escape key meant for the tree.
  const THeaderStates mouseStates{hsColumnWidthTracking, hsColumnWidthTrackPending, hsDragging,
                                  hsDragPending,         hsHeightTracking,          hsHeightTrackPending};
  bool active = !(FStates * mouseStates).Empty() || FColumns->DownIndex() >= 0;
  FStates -= mouseStates;
  FColumns->FDownIndex = NoColumn;
  FColumns->FTrackIndex = NoColumn;
  if (active) Invalidate(nullptr);
  return active;
}
