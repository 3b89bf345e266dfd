// Clipped operations on pixel views, shared by copies, bitmap conversion and
// drawing: the public calls map coordinates, these clip and run the kernels.
#pragma once

#include "platform/gdi/PixelFormat.h"

namespace gdi {

// The part of a rectangle inside the view.
TRect ClipToView(const TPixelView& view, const TRect& rect);

// Fills the rectangle (clipped here) with a raw pixel value.
void FillView(const TPixelView& view, const TRect& rect, uint32_t pixel);

// Nearest-neighbour copy of the source rectangle (sx, sy, sw, sh) onto the
// destination rectangle (x, y, w, h); negative extents mirror. Clipped to both
// views; when the views share pixels the source is read before anything is
// written. False only for zero extents.
bool StretchView(const TPixelView& dst, int64_t x, int64_t y, int64_t w, int64_t h,
                 const TPixelView& src, int64_t sx, int64_t sy, int64_t sw, int64_t sh);

}  // namespace gdi
