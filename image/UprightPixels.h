// Turning and mirroring decoded pixels into the upright picture, for the eight
// EXIF orientations. Works on plain memory only, so any thread may call it.
#pragma once

#include <cstdint>

#include "platform/gdi/PixelView.h"

// Orientations 5 to 8 stand the picture on its side: width and height swap.
bool OrientationSwapsSides(int32_t orientation);

// Writes the picture stored in source with the given EXIF orientation upright
// into target, which must have the upright size and source's bit count (8, 16,
// 24 or 32) and must not overlap source. Orientation 1, or one outside 1..8,
// copies as stored. Raises std::invalid_argument for a target of the wrong size
// or depth, or pixels smaller than a byte.
void UprightPixels(const gdi::TPixelView& source, const gdi::TPixelView& target,
                   int32_t orientation);
