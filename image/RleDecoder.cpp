#include "image/RleDecoder.h"

#include <algorithm>
#include <cstring>

namespace {

// One byte per pixel.
struct TRle8Packing {
  static size_t AbsoluteBytes(size_t pixels) { return pixels; }
  // Callers clip: x <= end <= width.
  static void Fill(uint8_t* row, int64_t x, int64_t end, uint8_t value) {
    std::memset(row + x, value, static_cast<size_t>(end - x));
  }
  static void Copy(uint8_t* row, int64_t x, int64_t end, const uint8_t* source) {
    std::memcpy(row + x, source, static_cast<size_t>(end - x));
  }
};

// Two pixels per byte, the high nibble first; the other nibble is kept.
struct TRle4Packing {
  static size_t AbsoluteBytes(size_t pixels) { return (pixels + 1) / 2; }
  static void SetNibble(uint8_t* row, int64_t x, uint8_t nibble) {
    uint8_t& byte = row[x / 2];
    byte = (x % 2 == 0) ? static_cast<uint8_t>((byte & 0x0F) | (nibble << 4))
                        : static_cast<uint8_t>((byte & 0xF0) | nibble);
  }
  static void Fill(uint8_t* row, int64_t x, int64_t end, uint8_t value) {
    for (int64_t k = 0; x + k < end; ++k)
      SetNibble(row, x + k, k % 2 == 0 ? value >> 4 : value & 0x0F);
  }
  static void Copy(uint8_t* row, int64_t x, int64_t end, const uint8_t* source) {
    for (int64_t k = 0; x + k < end; ++k) {
      const uint8_t byte = source[k / 2];
      SetNibble(row, x + k, k % 2 == 0 ? byte >> 4 : byte & 0x0F);
    }
  }
};

template <typename Packing>
class TRleDecoder {
 public:
  TRleDecoder(const uint8_t* data, size_t size, const TRleTarget& target)
      : FData(data), FSize(size), FTarget(target) {}

  void Run() {
    while (FRow < FTarget.Height && FPos + 2 <= FSize) {
      const uint8_t first = FData[FPos];
      const uint8_t second = FData[FPos + 1];
      FPos += 2;
      if (!Step(first, second)) return;
      FPos += FPos % 2;  // every step ends on an even offset
    }
  }

 private:
  // Returns false when decoding must stop.
  bool Step(uint8_t first, uint8_t second) {
    if (first != 0) {
      const int64_t end = ClipEnd(first);
      if (FX < end) Packing::Fill(Row(), FX, end, second);
      FX += first;
      return true;
    }
    switch (second) {
      case 0:  // end of line
        FX = 0;
        ++FRow;
        return true;
      case 1:  // end of bitmap
        return false;
      case 2:  // delta
        if (FPos + 2 > FSize) return false;
        FX += FData[FPos];
        FRow += FData[FPos + 1];
        FPos += 2;
        return true;
      default:
        return Absolute(second);
    }
  }

  bool Absolute(uint8_t count) {
    const size_t bytes = Packing::AbsoluteBytes(count);
    if (FPos + bytes > FSize) return false;  // cut short: nothing sound to copy
    const int64_t end = ClipEnd(count);
    if (FX < end) Packing::Copy(Row(), FX, end, FData + FPos);
    FX += count;
    FPos += bytes;
    return true;
  }

  int64_t ClipEnd(uint32_t count) const { return std::min<int64_t>(FX + count, FTarget.Width); }
  uint8_t* Row() const { return FTarget.Pixels + static_cast<size_t>(FRow) * FTarget.RowBytes; }

  const uint8_t* FData;
  size_t FSize;
  TRleTarget FTarget;
  size_t FPos = 0;
  int64_t FX = 0;
  int64_t FRow = 0;
};

}  // namespace

void DecodeRle8(const uint8_t* data, size_t size, const TRleTarget& target) {
  TRleDecoder<TRle8Packing>(data, size, target).Run();
}

void DecodeRle4(const uint8_t* data, size_t size, const TRleTarget& target) {
  TRleDecoder<TRle4Packing>(data, size, target).Run();
}
