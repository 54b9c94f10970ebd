#include "panelkit/scrollmodel.h"

#include <algorithm>
#include <cstdlib>

namespace {

// A pointer this close to the start point does not roll.
constexpr Integer kRollDeadZone = 5;

}  // namespace

void TScrollBarModel::SetAutoHide(bool value) {
  FAutoHide = value;
  FVisible = FMax != 0 || !FAutoHide;
}

void TScrollBarModel::SetMax(Integer value) {
  if (value == FMax) return;
  FMax = value < 0 ? 0 : value;
  FVisible = !(FAutoHide && FPageSize >= FMax);
  if (FMax < FPosition) SetPosition(FMax);
}

void TScrollBarModel::SetPosition(Integer value) {
  FOldPosition = FPosition;
  FPosition = std::max(value < FMin ? FMin : std::min(value, FMax), 0);
  if (FUpdateCount > 0 || FManualScroll || FOldPosition == FPosition) return;
  if (OnScrollContent) OnScrollContent(FOldPosition, FPosition);
}

void TScrollBarModel::Scroll(TScrollRequest request, Integer trackPosition) {
  std::optional<Integer> next;
  switch (request) {
    case srLineUp:
      FScrollKind = rkLine;
      next = FPosition - FSmallChange;
      break;
    case srLineDown:
      FScrollKind = rkLine;
      next = FPosition + FSmallChange;
      break;
    case srPageUp:
      FScrollKind = rkPage;
      next = FPosition - FLargeChange;
      break;
    case srPageDown:
      FScrollKind = rkPage;
      next = FPosition + FLargeChange;
      break;
    case srThumbPosition:
    case srThumbTrack:
      FScrollKind = rkThumb;
      next = trackPosition;
      break;
    case srTop:
      FScrollKind = rkTopBottom;
      next = 0;
      break;
    case srBottom:
      FScrollKind = rkTopBottom;
      next = FMax;
      break;
    case srEndScroll: break;
  }
  if (!next) return;
  Integer value = std::max(*next, 0);
  if (value > FMax - FPageSize) value = FMax - FPageSize + 1;
  SetPosition(value);
}

TRollDirection RollDirection(Integer dy) {
  if (dy < -kRollDeadZone) return TRollDirection{rdUp};
  if (dy > kRollDeadZone) return TRollDirection{rdDown};
  return TRollDirection{};
}

Integer RollInterval(Integer dy) {
  return std::max(100 - std::abs(dy), 1);
}
