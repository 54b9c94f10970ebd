// The arithmetic behind the kit's drawing providers: ratios, rectangles and
// where a box of a given size goes inside one, the brightness of a colour
// as a mask weight, and point lists mirrored for tabs at the bottom.
#pragma once

#include <vector>

#include "rtl/geometry.h"
#include "rtl/types.h"
#include "rtl/uitypes.h"

enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };

namespace calcprovider {

// Value as a percentage of max.
double GetRatio(double value, double max);
// True unless the two are apart; touching edges count as inside.
bool IsRectInRect(const TRect& guestRect, const TRect& hostRect);
// Where a box of the size goes in the rectangle, the margin kept from the
// edge it is aligned to; centred boxes ignore the margin.
TPoint PosInRect(Integer width, Integer height, Integer margin, const TRect& rect, TAlignment alignment,
                 TVerticalAlignment verticalAlignment);
TRect ResizeRect(const TRect& rect, Integer deltaLeft, Integer deltaTop, Integer deltaRight, Integer deltaBottom);

}  // namespace calcprovider

namespace maskprovider {

// The brightness of a resolved colour, 0 to 255, as a mask weight.
Integer GetColorLevel(TColor resolved);

}  // namespace maskprovider

// Every point's y mirrored about the rectangle's horizontal centre line.
std::vector<TPoint> MirrorPoints(std::vector<TPoint> points, const TRect& rect);
