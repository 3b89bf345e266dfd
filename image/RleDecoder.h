// Run-length decoding of RLE8 and RLE4 pixel data into bottom-up DIB rows.
// The decoders are bounded both ways: pixels that would land outside the picture
// are dropped, and decoding stops at the end of the data even without an
// end-of-bitmap escape, so hostile data can neither overrun the storage nor the
// input.
#pragma once

#include <cstddef>
#include <cstdint>

struct TRleTarget {
  uint8_t* Pixels = nullptr;  // the bottom stored row
  int32_t Width = 0;
  int32_t Height = 0;
  uint32_t RowBytes = 0;  // at least the bytes width pixels need
};

void DecodeRle8(const uint8_t* data, size_t size, const TRleTarget& target);
void DecodeRle4(const uint8_t* data, size_t size, const TRleTarget& target);
