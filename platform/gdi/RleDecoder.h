// Decoders of run-length encoded DIB data (8 and 4 bits per pixel) into bottom-up
// rows. Hostile data is clipped: nothing is written outside the rows and nothing
// read past the data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gdi {

struct TRleTarget {
  uint8_t* Bits = nullptr;  // row 0 is the bottom row
  int64_t RowBytes = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

enum class TRleEnd { EndOfBitmap, DataExhausted };

TRleEnd DecodeRle8(const uint8_t* data, size_t size, const TRleTarget& target);
TRleEnd DecodeRle4(const uint8_t* data, size_t size, const TRleTarget& target);

}  // namespace gdi
