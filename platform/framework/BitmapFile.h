// BMP data for TBitmap. Internal to the framework's bitmap code.
//
// Reading: 0 bytes left gives no image (an empty bitmap). Otherwise a file header
// with "BM" (when withFileHeader), an info header (12-byte OS/2 headers are
// widened with their 3-byte colours; longer headers are read at their size),
// biPlanes 1, masks for BI_BITFIELDS, the colour table (biClrUsed or the full
// count for 8 bits or less), an optional gap up to bfOffBits, and the pixels:
// uncompressed rows go straight into a section (missing rows stay black), RLE8 and
// RLE4 data becomes a device-dependent bitmap. Anything else, and pictures beyond
// kMaxGraphicPixelBytes, raise EInvalidGraphic "Bitmap image is not valid".
#pragma once

#include <memory>

#include "platform/framework/BitmapImage.h"
#include "platform/framework/Stream.h"

std::unique_ptr<TBitmapImage> ReadBitmapImage(TStream& stream, bool withFileHeader);
// Writes nothing for an empty image; a device-dependent bitmap is written as a
// section of the desktop's depth.
void WriteBitmapImage(TBitmapImage& image, TStream& stream, bool withFileHeader);
