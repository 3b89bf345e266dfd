// Where each destination column (or row) of a nearest-neighbour copy samples its
// source, after clipping to both bitmaps. The clip arithmetic of every copy.
#pragma once

#include <cstdint>
#include <vector>

namespace gdi {

struct TAxisMap {
  int32_t DstStart = 0;           // first destination index drawn
  std::vector<int32_t> SrcIndex;  // source index for each drawn destination index
};

// Negative extents mirror. Samples sit at pixel centres, stepped in 32.32 fixed
// point from the unclipped destination origin, so clipping never shifts the grid.
// Destination indexes outside [0, dstLimit) or sampling outside [0, srcLimit) are
// dropped; the result is empty when nothing remains.
TAxisMap MapAxis(int64_t dstPos, int64_t dstLen, int64_t srcPos, int64_t srcLen, int32_t dstLimit,
                 int32_t srcLimit);

}  // namespace gdi
