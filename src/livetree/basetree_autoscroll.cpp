// The mouse selection rectangle, scrolling by itself near the edges while it
// is drawn, and wheel panning with the middle button.
#include <algorithm>
#include <cstdlib>

#include "livetree/basetree.h"

namespace {

// Panning moves nothing while the mouse stays this close to its origin.
constexpr Integer PanningDeadZone = 8;
// The interval of the panning timer, in milliseconds.
constexpr Cardinal PanningInterval = 20;

TRect NormalisedRect(TRect r) {
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  return r;
}

}  // namespace

THintAnimationType TBaseLiveTree::EffectiveHintAnimation() const {
  return FHintAnimation == hatSystemDefault ? FHost->SystemHintAnimation() : FHintAnimation;
}

// ---- The selection rectangle ----

bool TBaseLiveTree::UpdateSelectionRect(TPoint p) {
  TPoint corner = Point(p.X + FEffectiveOffsetX, p.Y - FOffsetY);
  if (corner == FNewSelRect.BottomRight()) return false;
  FNewSelRect.Right = corner.X;
  FNewSelRect.Bottom = corner.Y;
  return true;
}

bool TBaseLiveTree::UpdateRectangleSelection() {
  if (FRoot->ChildCount == 0) return false;
  // Against the rectangle applied last: nodes the rectangle swept over while
  // the drag was still below the threshold count as well.
  bool changed = CollectRectNodes(FNewSelRect, FLastSelRect, FDrawSelShiftState);
  FLastSelRect = FNewSelRect;
  if (changed) NoteChange(nullptr);
  return changed;
}

void TBaseLiveTree::InvalidateSelectionRects(const TRect& oldRect, const TRect& newRect) {
  if (InUpdate() || !HasWindow()) return;
  for (TRect r : {NormalisedRect(oldRect), NormalisedRect(newRect)}) {
    r.Offset(-FEffectiveOffsetX, FOffsetY);
    // The frame is drawn on the rectangle's edge pixels.
    r.Inflate(1, 1);
    FHost->InvalidateArea(r);
  }
}

// ---- Auto-scroll ----

bool TBaseLiveTree::CanAutoScroll() const {
  const bool panning = IsPanning();
  if (!panning && !AutoOptions().Contains(toAutoScroll)) return false;
  const THeaderStates header = FHeader->States();
  if (header.Contains(hsColumnWidthTracking) || header.Contains(hsHeightTracking) || header.Contains(hsDragging))
    return false;
  return IsMouseSelecting() || panning;
}

TScrollDirections TBaseLiveTree::DetermineScrollDirections(Integer x, Integer y) const {
  TScrollDirections result;
  if (!CanAutoScroll()) return result;
  if (IsPanning()) {
    if (x < FLastClickPos.X - PanningDeadZone) result += sdLeft;
    if (x > FLastClickPos.X + PanningDeadZone) result += sdRight;
    if (y < FLastClickPos.Y - PanningDeadZone) result += sdUp;
    if (y > FLastClickPos.Y + PanningDeadZone) result += sdDown;
    return result;
  }
  const Integer zone = static_cast<Integer>(FDefaultNodeHeight);
  const Integer clientWidth = FHost->ClientWidth();
  const Integer clientHeight = FHost->ClientHeight();
  if (x < zone && FEffectiveOffsetX != 0) result += sdLeft;
  if (x > clientWidth - zone && clientWidth + FEffectiveOffsetX < FRangeX) result += sdRight;
  if (y < zone && FOffsetY != 0) result += sdUp;
  if (y > clientHeight - zone && clientHeight - FOffsetY < FRangeY) result += sdDown;
  return result;
}

void TBaseLiveTree::AutoScrollDetect(Integer x, Integer y) {
  FScrollDirections = DetermineScrollDirections(x, y);
  if (IsPanning()) return;
  const TLiveTreeStates states = TreeStates();
  const bool running = states.Contains(tsScrollPending) || states.Contains(tsScrolling);
  if (!FScrollDirections.Empty() && !running) {
    ChangeTreeStates({tsScrollPending}, {});
    FHost->StartTimer(TimerIdScroll, FAutoScrollDelay);
  } else if (FScrollDirections.Empty() && running) {
    FHost->StopTimer(TimerIdScroll);
    ChangeTreeStates({}, {tsScrollPending, tsScrolling});
  }
}

void TBaseLiveTree::TimerScrollStep() {
  const TPoint p = FHost->CursorPos();
  const Integer clientWidth = FHost->ClientWidth();
  const Integer clientHeight = FHost->ClientHeight();
  const bool inside = p.X >= 0 && p.Y >= 0 && p.X < clientWidth && p.Y < clientHeight;
  const bool panning = IsPanning();
  const bool selecting = IsMouseSelecting();
  if (panning) FScrollDirections = DetermineScrollDirections(p.X, p.Y);
  if (selecting || inside || panning) {
    const Int64 vertical = std::min<Int64>(FHost->VerticalIncrement(), clientHeight);
    const Int64 horizontal = FHost->HorizontalIncrement();
    // One direction's step: panning moves by the mouse's distance beyond the
    // quiet zone, the rectangle by the increment, times the distance outside
    // the window. A direction that reached its end is dropped.
    auto step = [&](TScrollDirection direction, Int64 beyondOrigin, Int64 increment, Int64 outside, bool atEnd) {
      if (!FScrollDirections.Contains(direction)) return Int64{0};
      if (atEnd) FScrollDirections -= direction;
      if (panning) return beyondOrigin;
      return inside ? increment : increment * outside;
    };
    const Int64 fromX = FLastClickPos.X - p.X, fromY = FLastClickPos.Y - p.Y;
    Int64 deltaY = step(sdUp, fromY - PanningDeadZone, vertical, std::abs(p.Y), FOffsetY == 0) +
                   step(sdDown, fromY + PanningDeadZone, -vertical, std::abs(p.Y - clientHeight),
                        clientHeight - FOffsetY >= FRangeY);
    Int64 deltaX = step(sdLeft, fromX - PanningDeadZone, horizontal, std::abs(p.X), FEffectiveOffsetX == 0) +
                   step(sdRight, fromX + PanningDeadZone, -horizontal, std::abs(p.X - clientWidth),
                        clientWidth + FEffectiveOffsetX >= FRangeX);
    if (UseRightToLeftAlignment()) deltaX = -deltaX;
    auto clamped = [](Int64 value) { return static_cast<Integer>(std::clamp<Int64>(value, -2147483647, 0)); };
    const TPoint target = Point(clamped(FOffsetX + deltaX), clamped(FOffsetY + deltaY));
    if (selecting) {
      const TRect oldRect = FNewSelRect;
      if (ScrollOffsets(target)) {
        // The free corner stays under the mouse while the content moves.
        if (UpdateSelectionRect(p) && UpdateRectangleSelection())
          Invalidate();
        else
          InvalidateSelectionRects(oldRect, FNewSelRect);
      }
    } else if (deltaX != 0 || deltaY != 0) {
      ScrollOffsets(target);
    }
  }
  FHost->PaintNow();
  if (FScrollDirections.Empty() && !panning) {
    FHost->StopTimer(TimerIdScroll);
    ChangeTreeStates({}, {tsScrolling, tsScrollPending});
  }
}

// ---- Wheel panning ----

TLTPanningImage TBaseLiveTree::PanningOrientation() const {
  const bool wider = FRangeX > FHost->ClientWidth();
  const bool taller = FRangeY > FHost->ClientHeight();
  if (wider && taller) return piMoveAll;
  return wider ? piMoveEW : piMoveNS;
}

void TBaseLiveTree::StartWheelPanning(TPoint p) {
  FHost->StopTimer(TimerIdScroll);
  ChangeTreeStates({tsWheelPanning, tsWheelScrolling}, {tsScrolling, tsScrollPending});
  FLastClickPos = p;
  FScrollDirections = {};
  FHost->ShowPanningWindow(p, PanningOrientation());
  FHost->SetPanningCursor(PanningOrientation());
  FHost->CaptureMouse(true);
  FHost->StartTimer(TimerIdScroll, PanningInterval);
}

void TBaseLiveTree::StopWheelPanning() {
  if (!IsPanning()) return;
  FHost->StopTimer(TimerIdScroll);
  ChangeTreeStates({}, {tsWheelPanning, tsWheelScrolling});
  FScrollDirections = {};
  FHost->CaptureMouse(false);
  FHost->HidePanningWindow();
}

void TBaseLiveTree::UpdatePanningCursor(Integer x, Integer y) {
  const Integer dx = x - FLastClickPos.X, dy = y - FLastClickPos.Y;
  const TLTPanningImage orientation = PanningOrientation();
  if (std::abs(dx) <= PanningDeadZone - 1 && std::abs(dy) <= PanningDeadZone - 1) {
    FHost->SetPanningCursor(orientation);
    return;
  }
  const bool left = dx < -PanningDeadZone, right = dx > PanningDeadZone;
  const bool up = dy < -PanningDeadZone, down = dy > PanningDeadZone;
  TLTPanningImage image = orientation;
  switch (orientation) {
    case piMoveAll:
      if (left)
        image = up ? piMoveNW : down ? piMoveSW : piMoveW;
      else if (right)
        image = up ? piMoveNE : down ? piMoveSE : piMoveE;
      else
        image = dy < 0 ? piMoveN : piMoveS;
      break;
    case piMoveEW: image = dx < 0 ? piMoveW : piMoveE; break;
    default: image = dy < 0 ? piMoveN : piMoveS; break;
  }
  FHost->SetPanningCursor(image);
}

void TBaseLiveTree::CancelMouseModes() {
  StopWheelPanning();
  FHost->StopTimer(TimerIdScroll);
  const bool selecting = IsMouseSelecting();
  ChangeTreeStates({}, {tsScrolling, tsScrollPending, tsDrawSelPending, tsDrawSelecting, tsClearPending});
  if (selecting) {
    FHost->CaptureMouse(false);
    Invalidate();
  }
}
