#include "platform/gdi/StretchMap.h"

#include <algorithm>

namespace gdi {

TAxisMap MapAxisWithin(int64_t dstPos, int64_t dstLen, int64_t srcPos, int64_t srcLen,
                       int64_t dstLow, int64_t dstHigh, int32_t srcLimit) {
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
  const int64_t first = std::max<int64_t>(0, dstLow - dstPos);
  const int64_t last = std::min<int64_t>(dstLen, dstHigh - dstPos);  // exclusive
  if (first >= last) return map;
  // The centre of destination pixel i lies at (2i + 1) * srcLen / (2 * dstLen)
  // source pixels; it is stepped as a whole part and a remainder, so no rounding
  // ever creeps in. (2i + 1) * srcLen < 2^63: i < dstLen <= 2^31, srcLen <= 2^31.
  const uint64_t denominator = 2 * static_cast<uint64_t>(dstLen);
  const uint64_t step = 2 * static_cast<uint64_t>(srcLen);
  const uint64_t wholeStep = step / denominator, partStep = step % denominator;
  const uint64_t start = (2 * static_cast<uint64_t>(first) + 1) * static_cast<uint64_t>(srcLen);
  uint64_t whole = start / denominator, part = start % denominator;
  const int64_t origin = mirror ? srcPos + srcLen - 1 : srcPos, direction = mirror ? -1 : 1;
  map.SrcIndex.resize(static_cast<size_t>(last - first));
  int32_t* out = map.SrcIndex.data();
  size_t count = 0;
  for (int64_t i = first; i < last; ++i) {
    const int64_t source = origin + direction * static_cast<int64_t>(whole);
    whole += wholeStep;
    part += partStep;
    if (part >= denominator) {
      part -= denominator;
      ++whole;
    }
    if (source < 0 || source >= srcLimit) {
      if (count > 0) break;  // samples are monotonic: the rest leave too
      continue;
    }
    if (count == 0) map.DstStart = static_cast<int32_t>(dstPos + i);
    out[count++] = static_cast<int32_t>(source);
  }
  map.SrcIndex.resize(count);
  return map;
}

TAxisMap MapAxis(int64_t dstPos, int64_t dstLen, int64_t srcPos, int64_t srcLen, int32_t dstLimit,
                 int32_t srcLimit) {
  return MapAxisWithin(dstPos, dstLen, srcPos, srcLen, 0, dstLimit, srcLimit);
}

}  // namespace gdi
