#include "image/PixelLimits.h"

bool PixelStorageFits(int64_t width, int64_t height, int64_t bitCount) {
  if (width <= 0 || height <= 0 || bitCount <= 0 || bitCount > 64) return false;
  // Width and height come from 32-bit fields, so the products below stay in range.
  if (width > INT32_MAX || height > INT32_MAX) return false;
  const uint64_t rowBytes =
      PaddedRowBytes(static_cast<uint64_t>(width), static_cast<uint64_t>(bitCount));
  return rowBytes <= kMaxPixelStorageBytes / static_cast<uint64_t>(height);
}
