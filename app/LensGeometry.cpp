#include "app/LensGeometry.h"

#include <algorithm>
#include <limits>

namespace {

// Lens sizes come unbounded from a dialog; sums are made in 64 bits and held
// in range rather than wrapped.
int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t LensHalfExtent(int32_t lensWidth, int32_t magnification) {
  return Saturate(int64_t{lensWidth} / magnification / 2);
}

std::optional<TRect> LensSourceRect(const TLensLayout& layout, TPoint pointer) {
  const int32_t controlWidth = layout.Control.Width();
  const int32_t controlHeight = layout.Control.Height();
  if (controlWidth == 0 || controlHeight == 0 || layout.Magnification == 0) return std::nullopt;
  const int64_t h = LensHalfExtent(layout.LensWidth, layout.Magnification);
  const int64_t sx = layout.SurfaceWidth / controlWidth;
  const int64_t sy = layout.SurfaceHeight / controlHeight;
  const int64_t centreX = pointer.X * sx;
  const int64_t centreY = pointer.Y * sy;
  const int64_t rightLimit = int64_t{layout.SurfaceWidth} + layout.Control.Left;
  const int64_t bottomLimit = int64_t{layout.SurfaceHeight} + layout.Control.Top;
  return TRect{
      Saturate(std::max<int64_t>(centreX - h, 0)), Saturate(std::max<int64_t>(centreY - h, 0)),
      Saturate(std::min(centreX + h, rightLimit)), Saturate(std::min(centreY + h, bottomLimit))};
}

TPoint TrackedLensPosition(const TLensLayout& layout, TPoint pointer, TPoint cursor) {
  int64_t x = cursor.X;
  int64_t y = cursor.Y;
  if (int64_t{layout.SurfaceWidth} - pointer.X <= int64_t{layout.LensWidth} + 10)
    x -= int64_t{layout.LensWidth} + 25;
  if (int64_t{layout.SurfaceHeight} - pointer.Y <= int64_t{layout.LensHeight} + 10)
    y -= int64_t{layout.LensHeight} + 25;
  return {Saturate(x + 15), Saturate(y + 15)};
}

TRect RectAt(TPoint topLeft, int32_t width, int32_t height) {
  return {topLeft.X, topLeft.Y, Saturate(int64_t{topLeft.X} + width),
          Saturate(int64_t{topLeft.Y} + height)};
}
