// Pixel copies and fills between surfaces of one format. Callers validate and
// clip; these workers trust their rectangles.
#pragma once

#include <cstdint>

#include "platform/gdi/WinTypes.h"

namespace ddraw {

struct TPixelView {
  uint8_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;  // bytes per row, rows top-down
  uint32_t bitCount = 0;
};

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

// Fills `rect` (inside the view) with a raw pixel value.
void FillPixels(const TPixelView& destination, const TRect& rect, uint32_t value);

// Copies the part of the request that falls inside `clip`; `clip` lies inside
// both the destination rectangle and the destination view, and the source
// rectangle inside the source view. Source and destination memory must not
// overlap. Sizes that differ stretch by nearest neighbour on pixel centres,
// measured from the unclipped destination rectangle so clipping never shifts
// the sampling grid.
void BlitPixels(const TBlitRequest& request, const TRect& clip, bool forceGeneric);

}  // namespace ddraw
