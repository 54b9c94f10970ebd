#include "panelkit/providers.h"

#include "panelkit/tabstrip.h"

namespace calcprovider {

double GetRatio(double value, double max) {
  return value / max * 100;
}

bool IsRectInRect(const TRect& guest, const TRect& host) {
  return !(guest.Right < host.Left || host.Right < guest.Left || guest.Bottom < host.Top || host.Bottom < guest.Top);
}

TPoint PosInRect(Integer width, Integer height, Integer margin, const TRect& rect, TAlignment alignment,
                 TVerticalAlignment verticalAlignment) {
  const Integer centreX = (rect.Left + rect.Right) / 2;
  const Integer centreY = (rect.Top + rect.Bottom) / 2;
  TPoint result;
  switch (alignment) {
    case taLeftJustify: result.X = rect.Left + margin; break;
    case taRightJustify: result.X = rect.Right - width - margin; break;
    case taCenter: result.X = centreX - width / 2; break;
  }
  switch (verticalAlignment) {
    case taAlignTop: result.Y = rect.Top + margin; break;
    case taAlignBottom: result.Y = rect.Bottom - height - margin; break;
    case taVerticalCenter: result.Y = centreY - height / 2; break;
  }
  return result;
}

TRect ResizeRect(const TRect& rect, Integer deltaLeft, Integer deltaTop, Integer deltaRight, Integer deltaBottom) {
  return Rect(rect.Left + deltaLeft, rect.Top + deltaTop, rect.Right + deltaRight, rect.Bottom + deltaBottom);
}

}  // namespace calcprovider

namespace maskprovider {

Integer GetColorLevel(TColor c) {
  const Integer red = c & 0xFF, green = (c >> 8) & 0xFF, blue = (c >> 16) & 0xFF;
  return (blue * 28 + green * 151 + red * 77) / 256;
}

}  // namespace maskprovider

std::vector<TPoint> MirrorPoints(std::vector<TPoint> points, const TRect& rect) {
  return tabshapes::Mirrored(std::move(points), rect);
}
