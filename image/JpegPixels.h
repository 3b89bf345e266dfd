// A JPEG picture decoded into plain memory, exactly as the JPEG route's 24-bit bitmap
// would hold it, with no framework object involved, so any thread may do it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/JpegOptions.h"
#include "image/PixelBlock.h"
#include "platform/gdi/PixelView.h"
#include "platform/gdi/WinTypes.h"

struct TJpegPixels {
  int32_t Width = 0;
  int32_t Height = 0;
  int64_t RowBytes = 0;  // padded to 4 bytes
  // Blue, green, red; the bottom row first, as in a bitmap section.
  TPixelBlock Bits;
};

// The pixels as the graphics layer's view of them.
gdi::TPixelView ViewOf(const TJpegPixels& pixels);

// What the pixels are as a device-independent bitmap: 24 bits, bottom-up.
BITMAPINFO DescribeJpegPixels(const TJpegPixels& pixels);

// Decodes JPEG file bytes as a new TJPEGImage with these options does, and turns a
// photo upright as the JPEG route does: the header is
// checked at full size as reading the file checks it, then the picture is decoded at
// the scale CellScaleShift gives for the cell (0 x 0: the whole picture at the options'
// scale). False, with nothing decoded, when the result would not be a plain 24-bit
// picture (grey or palettized output, progressive display), or a bitmap may not hold
// it, or its rows would take more than maxBytes, or memory is short; libjpeg's
// errors arrive as EJPEG. The rows go into memory handed back to recycle when it
// has a block of their size.
bool DecodeJpegPixels(const uint8_t* data, size_t size, const TJPEGOptions& options, TSize cell,
                      TJpegPixels& picture, size_t maxBytes = SIZE_MAX,
                      TPixelReclaimer* recycle = nullptr);
