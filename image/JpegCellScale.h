// How small a JPEG may be decoded for a grid cell it is stretched into.
#pragma once

#include <cstdint>

#include "platform/gdi/WinTypes.h"

// The scale shift (output 1 / (1 << shift) of the full size) for a picture of width x
// height shown in a cell: the smallest of libjpeg's 1/1, 1/2, 1/4 and 1/8 whose output
// still covers the cell in both directions. A picture that is not at least twice the
// cell's size both ways is decoded whole, so its cell shows exactly what it always did.
// A stored picture whose EXIF orientation stands it on its side is measured against
// the cell turned likewise.
int CellScaleShift(int64_t width, int64_t height, TSize cell, int32_t orientation = 1);
