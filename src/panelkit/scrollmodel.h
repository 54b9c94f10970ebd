// The scroll-bar model of the kit's scrolling controls: range, page and
// position with their clamping rules, the position a scroll request leads
// to, and the roll-scrolling direction and pace of a middle-button drag.
#pragma once

#include <functional>
#include <optional>

#include "rtl/sets.h"
#include "rtl/types.h"

enum TScrollKind { rkIdle, rkLine, rkPage, rkThumb, rkTopBottom };
// The kit's scroll-bar kinds carry the name the class library uses for its
// own; the namespace keeps the two apart where both are seen.
namespace pxscroll {
enum TScrollBarKind { skHorizontal, skVertical };
}  // namespace pxscroll
enum TRollDirectionItem { rdUp, rdDown };
using TRollDirection = TSet<TRollDirectionItem>;

// The requests of the platform's scroll messages, by their codes.
enum TScrollRequest {
  srLineUp = 0,
  srLineDown = 1,
  srPageUp = 2,
  srPageDown = 3,
  srThumbPosition = 4,
  srThumbTrack = 5,
  srTop = 6,
  srBottom = 7,
  srEndScroll = 8
};

class TScrollBarModel {
 public:
  bool AutoHide() const { return FAutoHide; }
  void SetAutoHide(bool value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value) { FEnabled = value; }
  bool ManualScroll() const { return FManualScroll; }
  void SetManualScroll(bool value) { FManualScroll = value; }
  Integer Max() const { return FMax; }
  void SetMax(Integer value);
  Integer Min() const { return FMin; }
  void SetMin(Integer value) { FMin = value < 0 ? 0 : value; }
  Integer PageSize() const { return FPageSize; }
  void SetPageSize(Integer value) { FPageSize = value <= 0 ? 1 : value; }
  Integer SmallChange() const { return FSmallChange; }
  void SetSmallChange(Integer value) { FSmallChange = value; }
  Integer LargeChange() const { return FLargeChange; }
  void SetLargeChange(Integer value) { FLargeChange = value; }
  Integer Position() const { return FPosition; }
  Integer OldPosition() const { return FOldPosition; }
  // Within Min..Max and never negative; the content moves by the change
  // unless updating or scrolled by hand.
  void SetPosition(Integer value);
  bool Visible() const { return FVisible; }
  TScrollKind ScrollKind() const { return FScrollKind; }
  bool IsFirst() const { return FPosition == 0; }
  bool IsLast() const { return FMax < FPosition + FPageSize; }
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
  }
  // Whether a line or page request would be sent at all.
  bool CanStepForward() const { return FMax >= 1; }
  bool CanStepBack() const { return FMax >= 1 && FPosition != 0; }

  // Takes a scroll request: records its kind and moves to the position it
  // asks for (the track position for the thumb), kept so that a page ends
  // the range.
  void Scroll(TScrollRequest request, Integer trackPosition);

  // Called with (old, new) whenever the content is to move.
  std::function<void(Integer oldPosition, Integer newPosition)> OnScrollContent;

 private:
  bool FAutoHide = true;
  bool FEnabled = true;
  bool FManualScroll = false;
  Integer FMax = 0, FMin = 0, FPageSize = 0, FPosition = 0, FOldPosition = 0;
  Integer FSmallChange = 1, FLargeChange = 1;
  Integer FUpdateCount = 0;
  bool FVisible = false;
  TScrollKind FScrollKind = rkIdle;
};

// The roll's direction for the pointer's distance below the start point.
TRollDirection RollDirection(Integer dy);
// Milliseconds between roll steps: the farther, the faster.
Integer RollInterval(Integer dy);
