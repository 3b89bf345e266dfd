// The four pixel formats of display surfaces: 8 bits palettised, 16 bits 5-6-5,
// 24 bits blue-green-red bytes, 32 bits X-red-green-blue.
#pragma once

#include <cstdint>

#include "platform/ddraw/DDraw.h"
#include "platform/gdi/PixelView.h"

namespace ddraw {

bool IsSupportedDepth(uint64_t bitCount);
uint32_t BytesPerPixel(uint32_t bitCount);
// Bytes per row: rows are padded to four bytes, as the graphics layer's bitmaps are.
uint64_t RowPitch(uint64_t width, uint32_t bitCount);
// The description sizes callers may give: the original record's and ours.
bool ValidDescSize(DWORD size);
// A surface's format as the graphics layer describes pixels (no colour table).
gdi::TPixelFormat SurfaceFormat(uint32_t bitCount);
DDPIXELFORMAT DescribePixelFormat(uint32_t bitCount);
// Whether a caller's pixel format names one of ours.
bool MatchesPixelFormat(const DDPIXELFORMAT& format);

}  // namespace ddraw
