#include "platform/ddraw/PixelFormat.h"

namespace ddraw {

bool IsSupportedDepth(uint64_t bitCount) {
  return bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

uint32_t BytesPerPixel(uint32_t bitCount) { return bitCount / 8; }

uint64_t RowPitch(uint64_t width, uint32_t bitCount) {
  return (width * BytesPerPixel(bitCount) + 3) & ~uint64_t{3};
}

bool ValidDescSize(DWORD size) {
  return size == kDDSurfaceDescSize || size == sizeof(DDSURFACEDESC);
}

DDPIXELFORMAT DescribePixelFormat(uint32_t bitCount) {
  DDPIXELFORMAT format;
  format.dwRGBBitCount = bitCount;
  switch (bitCount) {
    case 8:
      format.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
      break;
    case 16:
      format.dwFlags = DDPF_RGB;
      format.dwRBitMask = 0xF800;
      format.dwGBitMask = 0x07E0;
      format.dwBBitMask = 0x001F;
      break;
    default:
      format.dwFlags = DDPF_RGB;
      format.dwRBitMask = 0xFF0000;
      format.dwGBitMask = 0x00FF00;
      format.dwBBitMask = 0x0000FF;
      break;
  }
  return format;
}

bool MatchesPixelFormat(const DDPIXELFORMAT& format) {
  if (!IsSupportedDepth(format.dwRGBBitCount)) return false;
  const DDPIXELFORMAT ours = DescribePixelFormat(format.dwRGBBitCount);
  const bool noMasks = format.dwRBitMask == 0 && format.dwGBitMask == 0 && format.dwBBitMask == 0;
  return noMasks || (format.dwRBitMask == ours.dwRBitMask && format.dwGBitMask == ours.dwGBitMask &&
                     format.dwBBitMask == ours.dwBBitMask);
}

uint32_t ColourBits(uint32_t bitCount) { return bitCount >= 24 ? 0xFFFFFFu : (1u << bitCount) - 1; }

}  // namespace ddraw
