// The pixels a display surface made from a picture holds, converted ahead of time:
// the same conversion the graphics services make when the picture is drawn into a
// surface, run on plain memory, so any thread may do it.
#pragma once

#include <cstdint>

#include "image/JpegPixels.h"
#include "image/PixelBlock.h"
#include "platform/gdi/PixelFormat.h"

struct TSurfacePixels {
  int32_t Width = 0;
  int32_t Height = 0;
  int64_t Pitch = 0;         // bytes per row, rows top-down, padded to 4 bytes
  gdi::TPixelFormat Format;  // a direct-colour format of 16, 24 or 32 bits
  TPixelBlock Bits;
  bool Empty() const { return Bits.Empty(); }
};

// The picture drawn 1:1 into pixels of the format, in memory handed back to recycle
// when it has a block of their size. Empty for palettised formats (their colours
// depend on the palette of the moment) and when memory is short.
TSurfacePixels ConvertToSurfacePixels(const TJpegPixels& picture, const gdi::TPixelFormat& format,
                                      TPixelReclaimer* recycle = nullptr);
