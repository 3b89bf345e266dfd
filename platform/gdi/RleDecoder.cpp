#include "platform/gdi/RleDecoder.h"

#include <algorithm>

namespace gdi {

namespace {

// Output position; writes outside the target are dropped.
struct TRleCursor {
  const TRleTarget& Target;
  int64_t X = 0;
  int64_t Row = 0;

  void Put8(uint8_t value) {
    if (Inside()) Target.Bits[Row * Target.RowBytes + X] = value;
    ++X;
  }
  void Put4(uint8_t value) {
    if (Inside()) {
      uint8_t& b = Target.Bits[Row * Target.RowBytes + X / 2];
      b = (X & 1) ? static_cast<uint8_t>((b & 0xF0) | (value & 0x0F))
                  : static_cast<uint8_t>((b & 0x0F) | (value << 4));
    }
    ++X;
  }
  bool Inside() const { return X >= 0 && X < Target.Width && Row >= 0 && Row < Target.Height; }
  // How many of the next count pixels land in the picture; the rest are only stepped
  // over, so long runs past the row cost nothing.
  int64_t Visible(int64_t count) const {
    if (Row < 0 || Row >= Target.Height || X >= Target.Width) return 0;
    return std::min<int64_t>(count, Target.Width - X);
  }
};

// One decoder for both depths; PixelsPerByte says how absolute bytes unpack.
template <int PixelsPerByte>
TRleEnd Decode(const uint8_t* data, size_t size, const TRleTarget& target) {
  TRleCursor out{target};
  auto put = [&out](uint8_t byte, int64_t index) {
    if constexpr (PixelsPerByte == 1) {
      out.Put8(byte);
    } else {
      out.Put4((index & 1) ? byte & 0x0F : byte >> 4);
    }
  };
  size_t pos = 0;
  while (size - pos >= 2) {
    const uint8_t first = data[pos], second = data[pos + 1];
    pos += 2;
    if (first != 0) {
      const int64_t visible = out.Visible(first);
      for (int64_t i = 0; i < visible; ++i) put(second, i);
      out.X += first - visible;
    } else if (second == 0) {
      out.X = 0;
      ++out.Row;
    } else if (second == 1) {
      return TRleEnd::EndOfBitmap;
    } else if (second == 2) {
      if (size - pos < 2) break;
      out.X += data[pos];
      out.Row += data[pos + 1];
      pos += 2;
    } else {
      const size_t bytes = (static_cast<size_t>(second) + PixelsPerByte - 1) / PixelsPerByte;
      if (size - pos < bytes) break;
      const int64_t visible = out.Visible(second);
      for (int64_t i = 0; i < visible; ++i)
        put(data[pos + static_cast<size_t>(i / PixelsPerByte)], i);
      out.X += second - visible;
      pos += bytes;
    }
    pos += pos & 1;
    if (pos > size) break;
  }
  return TRleEnd::DataExhausted;
}

}  // namespace

TRleEnd DecodeRle8(const uint8_t* data, size_t size, const TRleTarget& target) {
  return Decode<1>(data, size, target);
}

TRleEnd DecodeRle4(const uint8_t* data, size_t size, const TRleTarget& target) {
  return Decode<2>(data, size, target);
}

}  // namespace gdi
