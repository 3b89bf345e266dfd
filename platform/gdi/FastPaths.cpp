// Named shortcuts of the nearest-neighbour copy. Each must give exactly the
// pixels of the generic row path (the differential tests hold them to it).
#include <array>

#include "platform/gdi/PixelFormat.h"

namespace gdi {

namespace {

bool HasMasks(const TPixelFormat& f, uint32_t bits, const uint32_t (&masks)[3]) {
  return f.BitCount == bits && f.RedMask == masks[0] && f.GreenMask == masks[1] &&
         f.BlueMask == masks[2];
}
bool SameMasks(const TPixelFormat& a, const TPixelFormat& b) {
  return a.RedMask == b.RedMask && a.GreenMask == b.GreenMask && a.BlueMask == b.BlueMask;
}
uint32_t ColourBits(const TPixelFormat& f) { return f.RedMask | f.GreenMask | f.BlueMask; }

uint16_t Pack565(uint32_t r, uint32_t g, uint32_t b) {
  return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

bool Is24To565(const TPixelFormat& s, const TPixelFormat& d) {
  return s.BitCount == 24 && HasMasks(d, 16, kMask565);
}
void Run24To565(const TStretchJob& job) {
  ConvertRows<Pixel24, uint16_t>(job, [](Pixel24 p) { return Pack565(p.R, p.G, p.B); });
}

bool Is32To565(const TPixelFormat& s, const TPixelFormat& d) {
  return HasMasks(s, 32, kMask888) && HasMasks(d, 16, kMask565);
}
void Run32To565(const TStretchJob& job) {
  ConvertRows<uint32_t, uint16_t>(
      job, [](uint32_t p) { return Pack565((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); });
}

bool Is16To16(const TPixelFormat& s, const TPixelFormat& d) {
  return s.BitCount == 16 && d.BitCount == 16 && SameMasks(s, d);
}
void Run16To16(const TStretchJob& job) {
  const auto keep = static_cast<uint16_t>(ColourBits(job.Dst->Format));
  ConvertRows<uint16_t, uint16_t>(job,
                                  [keep](uint16_t p) { return static_cast<uint16_t>(p & keep); });
}

bool Is8To16(const TPixelFormat& s, const TPixelFormat& d) {
  return s.BitCount == 8 && d.BitCount == 16;
}
void Run8To16(const TStretchJob& job) {
  const TPixelCodec srcCodec(job.Src->Format);
  const TPixelCodec dstCodec(job.Dst->Format);
  std::array<uint16_t, 256> lookup{};
  for (uint32_t i = 0; i < 256; ++i) {
    lookup[i] = static_cast<uint16_t>(dstCodec.FromRgb(srcCodec.ToRgb(i)));
  }
  ConvertRows<uint8_t, uint16_t>(job, [&lookup](uint8_t p) { return lookup[p]; });
}

bool Is24To24(const TPixelFormat& s, const TPixelFormat& d) {
  return s.BitCount == 24 && d.BitCount == 24;
}
void Run24To24(const TStretchJob& job) {
  ConvertRows<Pixel24, Pixel24>(job, [](Pixel24 p) { return p; });
}

bool Is24To32(const TPixelFormat& s, const TPixelFormat& d) {
  return s.BitCount == 24 && HasMasks(d, 32, kMask888);
}
void Run24To32(const TStretchJob& job) {
  ConvertRows<Pixel24, uint32_t>(job, [](Pixel24 p) {
    return static_cast<uint32_t>(p.B) | (static_cast<uint32_t>(p.G) << 8) |
           (static_cast<uint32_t>(p.R) << 16);
  });
}

bool Is32To32(const TPixelFormat& s, const TPixelFormat& d) {
  return s.BitCount == 32 && d.BitCount == 32 && SameMasks(s, d);
}
void Run32To32(const TStretchJob& job) {
  const uint32_t keep = ColourBits(job.Dst->Format);
  ConvertRows<uint32_t, uint32_t>(job, [keep](uint32_t p) { return p & keep; });
}

constexpr TFastPath kFastPaths[] = {
    {"24->16 (5-6-5)", Is24To565, Run24To565}, {"32->16 (5-6-5)", Is32To565, Run32To565},
    {"16->16", Is16To16, Run16To16},           {"8->16", Is8To16, Run8To16},
    {"24->24", Is24To24, Run24To24},           {"24->32", Is24To32, Run24To32},
    {"32->32", Is32To32, Run32To32},
};

}  // namespace

std::span<const TFastPath> FastPaths() { return kFastPaths; }

}  // namespace gdi
