// Pixel copies between surfaces of one format. Callers validate and clip; these
// workers trust their rectangles.
#pragma once

#include <cstdint>

#include "platform/gdi/PixelView.h"

namespace ddraw {

using gdi::TPixelView;

struct TBlitRequest {
  TPixelView destination;
  TRect destinationRect;  // the whole target of the copy, before clipping
  TPixelView source;
  TRect sourceRect;
  bool mirrorLeftRight = false;
  bool mirrorUpDown = false;
  bool keyed = false;
  uint32_t key = 0;  // raw source pixel value left out when keyed
};

TRect IntersectRects(const TRect& a, const TRect& b);
bool RectsOverlap(const TRect& a, const TRect& b);
// The smallest rectangle holding both (either may be empty).
TRect UnionRects(const TRect& a, const TRect& b);

// Copies the part of the request that falls inside `clip`; `clip` lies inside
// both the destination rectangle and the destination view, and the source
// rectangle inside the source view. Source and destination memory must not
// overlap. Sizes that differ stretch by the graphics layer's nearest-neighbour
// rule, measured from the unclipped destination rectangle so clipping never
// shifts the sampling grid.
void BlitPixels(const TBlitRequest& request, const TRect& clip, bool forceGeneric);

}  // namespace ddraw
