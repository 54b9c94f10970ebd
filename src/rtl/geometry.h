// Points, sizes and rectangles in integer pixels, as the platform's records
// have them: a rectangle runs from (Left, Top) up to but not including
// (Right, Bottom). Portable models (the tree's, the editor's) and the window
// library share them.
#pragma once

#include <algorithm>

#include "rtl/types.h"

struct TPoint {
  Integer X = 0;
  Integer Y = 0;
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  Integer cx = 0;
  Integer cy = 0;
  friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;

  constexpr Integer Width() const { return Right - Left; }
  constexpr Integer Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  // Empty when it encloses no pixel.
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  constexpr void Offset(Integer dx, Integer dy) {
    Left += dx;
    Right += dx;
    Top += dy;
    Bottom += dy;
  }
  constexpr void Inflate(Integer dx, Integer dy) {
    Left -= dx;
    Right += dx;
    Top -= dy;
    Bottom += dy;
  }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(Integer x, Integer y) {
  return {x, y};
}
constexpr TRect Rect(Integer left, Integer top, Integer right, Integer bottom) {
  return {left, top, right, bottom};
}
constexpr TRect Bounds(Integer left, Integer top, Integer width, Integer height) {
  return {left, top, left + width, top + height};
}
constexpr bool PtInRect(const TRect& r, TPoint p) {
  return r.Contains(p);
}

// The common part; false (and an empty result) when they do not overlap.
constexpr bool IntersectRect(TRect& result, const TRect& a, const TRect& b) {
  result = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
  if (result.IsEmpty()) {
    result = {};
    return false;
  }
  return true;
}

// The smallest rectangle holding both; an empty one adds nothing.
constexpr TRect UnionRect(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}
