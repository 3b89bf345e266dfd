// A 32-bit X-R-G-B pixel buffer with a canvas drawing into it, for reading back
// what a DIB renders.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/framework/Canvas.h"
#include "platform/gdi/Gdi.h"

class PixelTarget {
 public:
  PixelTarget(int32_t width, int32_t height) : FWidth(width), FPixels(width * height, 0x00ABCDEF) {
    FDC = CreatePixelBufferDC({reinterpret_cast<uint8_t*>(FPixels.data()),
                               width * 4,
                               width,
                               height,
                               {32, 0xFF0000, 0xFF00, 0xFF}});
    FCanvas.SetHandle(FDC);
  }
  ~PixelTarget() { DeleteDC(FDC); }
  PixelTarget(const PixelTarget&) = delete;
  PixelTarget& operator=(const PixelTarget&) = delete;

  TCanvas& Canvas() { return FCanvas; }
  HDC DC() const { return FDC; }
  // 0xRRGGBB at (x, y), y = 0 at the top.
  uint32_t At(int32_t x, int32_t y) const { return FPixels[y * FWidth + x] & 0xFFFFFF; }

 private:
  int32_t FWidth;
  std::vector<uint32_t> FPixels;
  HDC FDC = nullptr;
  TCanvas FCanvas;
};
