#include "platform/ddraw/PixelFormat.h"

#include "platform/gdi/PixelFormat.h"

namespace ddraw {

bool IsSupportedDepth(uint64_t bitCount) {
  return bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

uint32_t BytesPerPixel(uint32_t bitCount) { return bitCount / 8; }

uint64_t RowPitch(uint64_t width, uint32_t bitCount) {
  return static_cast<uint64_t>(gdi::DibRowBytes(static_cast<int64_t>(width), bitCount));
}

bool ValidDescSize(DWORD size) {
  return size == kDDSurfaceDescSize || size == sizeof(DDSURFACEDESC);
}

gdi::TPixelFormat SurfaceFormat(uint32_t bitCount) {
  gdi::TPixelFormat format;
  format.BitCount = bitCount;
  if (bitCount == 16) {
    format.RedMask = gdi::kMask565[0];
    format.GreenMask = gdi::kMask565[1];
    format.BlueMask = gdi::kMask565[2];
  } else if (bitCount != 8) {
    format.RedMask = gdi::kMask888[0];
    format.GreenMask = gdi::kMask888[1];
    format.BlueMask = gdi::kMask888[2];
  }
  return format;
}

DDPIXELFORMAT DescribePixelFormat(uint32_t bitCount) {
  const gdi::TPixelFormat ours = SurfaceFormat(bitCount);
  DDPIXELFORMAT format;
  format.dwRGBBitCount = bitCount;
  format.dwFlags = bitCount == 8 ? DDPF_RGB | DDPF_PALETTEINDEXED8 : DDPF_RGB;
  format.dwRBitMask = ours.RedMask;
  format.dwGBitMask = ours.GreenMask;
  format.dwBBitMask = ours.BlueMask;
  return format;
}

bool MatchesPixelFormat(const DDPIXELFORMAT& format) {
  if (!IsSupportedDepth(format.dwRGBBitCount)) return false;
  const DDPIXELFORMAT ours = DescribePixelFormat(format.dwRGBBitCount);
  const bool noMasks = format.dwRBitMask == 0 && format.dwGBitMask == 0 && format.dwBBitMask == 0;
  return noMasks || (format.dwRBitMask == ours.dwRBitMask && format.dwGBitMask == ours.dwGBitMask &&
                     format.dwBBitMask == ours.dwBBitMask);
}

}  // namespace ddraw
