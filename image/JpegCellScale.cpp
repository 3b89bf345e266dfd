#include "image/JpegCellScale.h"

#include "image/UprightPixels.h"

namespace {

// libjpeg's output size at a scale shift: the size divided, rounded up.
int64_t ScaledSide(int64_t side, int shift) { return (side + (int64_t{1} << shift) - 1) >> shift; }

}  // namespace

int CellScaleShift(int64_t width, int64_t height, TSize cell, int32_t orientation) {
  if (OrientationSwapsSides(orientation)) cell = TSize{cell.cy, cell.cx};
  if (cell.cx <= 0 || cell.cy <= 0 || width < 2 * int64_t{cell.cx} || height < 2 * int64_t{cell.cy})
    return 0;
  int shift = 1;
  while (shift < 3 && ScaledSide(width, shift + 1) >= cell.cx &&
         ScaledSide(height, shift + 1) >= cell.cy)
    ++shift;
  return shift;
}
