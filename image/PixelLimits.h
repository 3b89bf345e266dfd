// The largest pixel storage a picture may ask for. Headers of hostile or broken
// files can claim any size; every reader checks against this bound before it
// allocates, so a few bytes of input never reserve gigabytes.
#pragma once

#include <cstdint>

// 1 GiB: room for 256 megapixels at 24 bits (768 MiB) and for 16384 x 16384 at 32 bits.
inline constexpr uint64_t kMaxPixelStorageBytes = uint64_t{1} << 30;

// Bytes of one stored row, padded to 32 bits, computed without overflow.
constexpr uint64_t PaddedRowBytes(uint64_t width, uint64_t bitCount) {
  return ((width * bitCount + 31) / 32) * 4;
}

// Whether width x height pixels at bitCount bits fit the bound (both dimensions > 0).
bool PixelStorageFits(int64_t width, int64_t height, int64_t bitCount);
