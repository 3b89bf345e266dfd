#include "platform/gdi/StretchMap.h"

#include <algorithm>

namespace gdi {

TAxisMap MapAxis(int64_t dstPos, int64_t dstLen, int64_t srcPos, int64_t srcLen, int32_t dstLimit,
                 int32_t srcLimit) {
  TAxisMap map;
  constexpr int64_t kMaxExtent = int64_t{1} << 31;
  if (dstLen == 0 || srcLen == 0 || dstLen < -kMaxExtent || dstLen > kMaxExtent ||
      srcLen < -kMaxExtent || srcLen > kMaxExtent) {
    return map;
  }
  bool mirror = false;
  if (dstLen < 0) {
    dstPos += dstLen;
    dstLen = -dstLen;
    mirror = !mirror;
  }
  if (srcLen < 0) {
    srcPos += srcLen;
    srcLen = -srcLen;
    mirror = !mirror;
  }
  const uint64_t step = (static_cast<uint64_t>(srcLen) << 32) / static_cast<uint64_t>(dstLen);
  const int64_t first = std::max<int64_t>(0, -dstPos);
  const int64_t last = std::min<int64_t>(dstLen, int64_t{dstLimit} - dstPos);  // exclusive
  // 32.32 position of the first drawn centre; it never exceeds srcLen << 32.
  uint64_t position = step * static_cast<uint64_t>(first) + step / 2;
  for (int64_t i = first; i < last; ++i, position += step) {
    const auto k = static_cast<int64_t>(position >> 32);
    const int64_t source = srcPos + (mirror ? srcLen - 1 - k : k);
    if (source < 0 || source >= srcLimit) {
      if (!map.SrcIndex.empty()) break;  // samples are monotonic: the rest leave too
      continue;
    }
    if (map.SrcIndex.empty()) map.DstStart = static_cast<int32_t>(dstPos + i);
    map.SrcIndex.push_back(static_cast<int32_t>(source));
  }
  return map;
}

}  // namespace gdi
