// Builds BMP and bare DIB bytes for tests, field by field, so tests can make
// both sound and broken data without binary files.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/WinTypes.h"

class DibBuilder {
 public:
  DibBuilder& U8(uint8_t v) {
    FBytes.push_back(v);
    return *this;
  }
  DibBuilder& U16(uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
  DibBuilder& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  DibBuilder& Bytes(const std::vector<uint8_t>& v) {
    FBytes.insert(FBytes.end(), v.begin(), v.end());
    return *this;
  }
  DibBuilder& Fill(size_t count, uint8_t v) {
    FBytes.insert(FBytes.end(), count, v);
    return *this;
  }

  DibBuilder& InfoHeader(int32_t width, int32_t height, uint16_t bitCount,
                         uint32_t compression = BI_RGB, uint32_t sizeImage = 0,
                         uint32_t colorsUsed = 0) {
    return U32(40)
        .U32(static_cast<uint32_t>(width))
        .U32(static_cast<uint32_t>(height))
        .U16(1)
        .U16(bitCount)
        .U32(compression)
        .U32(sizeImage)
        .U32(0)
        .U32(0)
        .U32(colorsUsed)
        .U32(0);
  }
  DibBuilder& CoreHeader(uint16_t width, uint16_t height, uint16_t bitCount) {
    return U32(12).U16(width).U16(height).U16(1).U16(bitCount);
  }
  DibBuilder& FileHeader(uint32_t size, uint32_t offBits) {
    return U16(kBitmapFileType).U32(size).U16(0).U16(0).U32(offBits);
  }

  const std::vector<uint8_t>& Data() const { return FBytes; }
  std::vector<uint8_t>& Data() { return FBytes; }

 private:
  std::vector<uint8_t> FBytes;
};
