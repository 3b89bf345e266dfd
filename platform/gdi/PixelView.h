// One description of pixels in memory, used by every layer that touches them:
// the graphics services' bitmaps, the display services' surfaces and the screen
// host's framebuffer. A view is the top row's address, the bytes from one row to
// the next, the size and the format. Beside it, the helpers that read, write and
// fill its pixels. The bit count is looked at once per call (WithDepth), never
// per pixel inside a loop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

#include "platform/gdi/WinTypes.h"

namespace gdi {

// Masks matter for 16 and 32 bits (zero masks mean 5-5-5 and 8-8-8); the colour
// table for 1, 4 and 8 bits. 24 bits are always blue, green, red bytes.
struct TPixelFormat {
  uint32_t BitCount = 0;
  uint32_t RedMask = 0;
  uint32_t GreenMask = 0;
  uint32_t BlueMask = 0;
  const RGBQUAD* ColorTable = nullptr;
  uint32_t ColorCount = 0;
  friend bool operator==(const TPixelFormat&, const TPixelFormat&) = default;
};

constexpr uint32_t kMask565[3] = {0xF800, 0x07E0, 0x001F};
constexpr uint32_t kMask555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr uint32_t kMask888[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};

// Rows of pixels, addressed top-down whatever the storage order (Pitch < 0 for
// bottom-up storage).
struct TPixelView {
  uint8_t* Top = nullptr;
  ptrdiff_t Pitch = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  TPixelFormat Format;
  uint8_t* Row(int32_t y) const { return Top + static_cast<ptrdiff_t>(y) * Pitch; }
};

// A 24-bit pixel as it lies in memory.
struct Pixel24 {
  uint8_t B = 0;
  uint8_t G = 0;
  uint8_t R = 0;
  friend bool operator==(const Pixel24&, const Pixel24&) = default;
};
static_assert(sizeof(Pixel24) == 3);

// One bit count as a type: kBits, and Pixel, the type of one pixel of a
// whole-byte depth (void for 1 and 4 bits, whose pixels share bytes).
template <uint32_t Bits>
struct TDepth {
  static constexpr uint32_t kBits = Bits;
  using Pixel = std::conditional_t<
      Bits == 8, uint8_t,
      std::conditional_t<
          Bits == 16, uint16_t,
          std::conditional_t<Bits == 24, Pixel24, std::conditional_t<Bits == 32, uint32_t, void>>>>;
};

// Calls visit(TDepth<bits>{}): the one place that turns a bit count into code.
// Counts other than 1, 4, 8, 16 and 24 are taken as 32; callers check formats first.
template <typename Visit>
decltype(auto) WithDepth(uint32_t bitCount, Visit&& visit) {
  switch (bitCount) {
    case 1:
      return visit(TDepth<1>{});
    case 4:
      return visit(TDepth<4>{});
    case 8:
      return visit(TDepth<8>{});
    case 16:
      return visit(TDepth<16>{});
    case 24:
      return visit(TDepth<24>{});
    default:
      return visit(TDepth<32>{});
  }
}

// A raw pixel value (the low bits of a 32-bit value, low byte first in memory)
// as a pixel of a whole-byte depth.
template <typename P>
P PixelFromValue(uint32_t value) {
  if constexpr (std::is_same_v<P, Pixel24>) {
    return Pixel24{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                   static_cast<uint8_t>(value >> 16)};
  } else {
    return static_cast<P>(value);
  }
}

// Pixel x of a row: sub-byte depths high bits first; wider ones little-endian.
template <uint32_t Bits>
uint32_t LoadPixel(const uint8_t* row, int32_t x) {
  if constexpr (Bits == 1) {
    return (row[x >> 3] >> (7 - (x & 7))) & 1u;
  } else if constexpr (Bits == 4) {
    return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
  } else if constexpr (Bits == 8) {
    return row[x];
  } else if constexpr (Bits == 16) {
    uint16_t v;
    std::memcpy(&v, row + 2 * static_cast<ptrdiff_t>(x), 2);
    return v;
  } else if constexpr (Bits == 24) {
    const uint8_t* p = row + 3 * static_cast<ptrdiff_t>(x);
    return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
  } else {
    uint32_t v;
    std::memcpy(&v, row + 4 * static_cast<ptrdiff_t>(x), 4);
    return v;
  }
}

// Stores the low Bits bits of the value as pixel x (a 1-bit pixel takes bit 0).
template <uint32_t Bits>
void StorePixel(uint8_t* row, int32_t x, uint32_t pixel) {
  if constexpr (Bits == 1) {
    const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
    row[x >> 3] = static_cast<uint8_t>((pixel & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
  } else if constexpr (Bits == 4) {
    uint8_t& b = row[x >> 1];
    b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (pixel & 0xF))
                : static_cast<uint8_t>((b & 0x0F) | ((pixel & 0xF) << 4));
  } else if constexpr (Bits == 8) {
    row[x] = static_cast<uint8_t>(pixel);
  } else if constexpr (Bits == 16) {
    const uint16_t v = static_cast<uint16_t>(pixel);
    std::memcpy(row + 2 * static_cast<ptrdiff_t>(x), &v, 2);
  } else if constexpr (Bits == 24) {
    uint8_t* p = row + 3 * static_cast<ptrdiff_t>(x);
    p[0] = static_cast<uint8_t>(pixel);
    p[1] = static_cast<uint8_t>(pixel >> 8);
    p[2] = static_cast<uint8_t>(pixel >> 16);
  } else {
    std::memcpy(row + 4 * static_cast<ptrdiff_t>(x), &pixel, 4);
  }
}

uint32_t ReadPixel(const TPixelView& view, int32_t x, int32_t y);
void WritePixel(const TPixelView& view, int32_t x, int32_t y, uint32_t pixel);
// Fills a rectangle that lies inside the view with a raw pixel value.
void FillPixels(const TPixelView& view, const TRect& rect, uint32_t pixel);

// A private copy of a rectangle of a view, read before a write that may overlap
// it. Rectangles of 1- and 4-bit views must start on a byte boundary.
class TPixelCopy {
 public:
  TPixelCopy(const TPixelView& from, const TRect& rect);
  const TPixelView& View() const { return FView; }

 private:
  std::unique_ptr<uint8_t[]> FBytes;
  TPixelView FView;
};

}  // namespace gdi
