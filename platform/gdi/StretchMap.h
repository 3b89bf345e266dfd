// Where each destination column (or row) of a nearest-neighbour copy samples its
// source, after clipping. The one sampling rule of every stretched copy: the
// graphics services' and the display services' alike.
#pragma once

#include <cstdint>
#include <vector>

namespace gdi {

struct TAxisMap {
  int32_t DstStart = 0;           // first destination index drawn
  std::vector<int32_t> SrcIndex;  // source index for each drawn destination index
};

// Negative extents mirror. Destination pixel i (counted from the unclipped
// destination origin, so clipping never shifts the grid) samples the source at
// its centre: source index floor((i + 1/2) * srcLen / dstLen), computed exactly.
// Destination indexes outside [dstLow, dstHigh) or sampling outside
// [0, srcLimit) are dropped; the result is empty when nothing remains.
TAxisMap MapAxisWithin(int64_t dstPos, int64_t dstLen, int64_t srcPos, int64_t srcLen,
                       int64_t dstLow, int64_t dstHigh, int32_t srcLimit);

// The same, clipped to destination indexes [0, dstLimit).
TAxisMap MapAxis(int64_t dstPos, int64_t dstLen, int64_t srcPos, int64_t srcLen, int32_t dstLimit,
                 int32_t srcLimit);

}  // namespace gdi
