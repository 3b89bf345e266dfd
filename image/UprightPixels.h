// Turning and mirroring decoded pixels into the upright picture, for the eight
// EXIF orientations. Works on plain memory only, so any thread may call it.
#pragma once

#include <cstddef>
#include <cstdint>

// Rows of pixels in memory: row k starts at FirstRow + k * Pitch (a negative
// pitch for rows stored bottom-up).
struct TPixelRows {
  uint8_t* FirstRow = nullptr;
  ptrdiff_t Pitch = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

// Orientations 5 to 8 stand the picture on its side: width and height swap.
bool OrientationSwapsSides(int32_t orientation);

// Writes the picture stored in source with the given EXIF orientation upright
// into target, which must have the upright size and must not overlap source.
// pixelBytes is 1, 3 or 4; orientation 1, or one outside 1..8, copies as stored.
// Raises std::invalid_argument for a target of the wrong size or another pixel size.
void UprightPixels(const TPixelRows& source, const TPixelRows& target, int32_t orientation,
                   int pixelBytes);
