// Builds BMP and bare DIB bytes for tests, field by field or from a recipe, so
// tests can make both sound and broken data without binary files.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/WinTypes.h"

// Appends bytes, and values as the little-endian machine stores them.
inline void Put(std::vector<uint8_t>& out, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  out.insert(out.end(), bytes, bytes + size);
}

template <typename T>
void PutValue(std::vector<uint8_t>& out, T value) {
  Put(out, &value, sizeof value);
}

class DibBuilder {
 public:
  DibBuilder& U8(uint8_t v) { return Value(v); }
  DibBuilder& U16(uint16_t v) { return Value(v); }
  DibBuilder& U32(uint32_t v) { return Value(v); }
  DibBuilder& Bytes(const std::vector<uint8_t>& v) {
    Put(FBytes, v.data(), v.size());
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
  template <typename T>
  DibBuilder& Value(T v) {
    PutValue(FBytes, v);
    return *this;
  }
  std::vector<uint8_t> FBytes;
};

// A BMP file with every header field under the test's control.
struct BmpRecipe {
  int32_t Width = 1;
  int32_t Height = 1;
  uint16_t BitCount = 24;
  uint32_t Compression = BI_RGB;
  bool Core = false;         // 12-byte OS/2 header with 3-byte colours
  uint32_t HeaderSize = 40;  // ignored for Core
  uint16_t Planes = 1;
  uint32_t ClrUsed = 0;
  uint32_t SizeImage = 0;
  std::vector<uint32_t> Masks;  // written after a 40-byte header
  std::vector<RGBQUAD> Colors;
  std::vector<uint8_t> Pixels;  // as stored in the file
  uint32_t Gap = 0;             // bytes between colours and pixels (bfOffBits says so)
};

inline std::vector<uint8_t> MakeBmp(const BmpRecipe& s) {
  DibBuilder info;
  if (s.Core) {
    info.U32(12)
        .U16(static_cast<uint16_t>(s.Width))
        .U16(static_cast<uint16_t>(s.Height))
        .U16(s.Planes)
        .U16(s.BitCount);
  } else {
    info.U32(s.HeaderSize)
        .U32(static_cast<uint32_t>(s.Width))
        .U32(static_cast<uint32_t>(s.Height))
        .U16(s.Planes)
        .U16(s.BitCount)
        .U32(s.Compression)
        .U32(s.SizeImage)
        .U32(0)
        .U32(0)
        .U32(s.ClrUsed)
        .U32(0);
    if (s.HeaderSize > 40) info.Fill(s.HeaderSize - 40, 0);
    for (uint32_t mask : s.Masks) info.U32(mask);
  }
  for (const RGBQUAD& c : s.Colors) {
    info.U8(c.rgbBlue).U8(c.rgbGreen).U8(c.rgbRed);
    if (!s.Core) info.U8(c.rgbReserved);
  }
  info.Fill(s.Gap, 0xEE);
  const auto offBits = static_cast<uint32_t>(14 + info.Data().size());
  DibBuilder file;
  file.FileHeader(static_cast<uint32_t>(offBits + s.Pixels.size()), offBits)
      .Bytes(info.Data())
      .Bytes(s.Pixels);
  return file.Data();
}

// Bytes in a stored row: whole 32-bit words.
inline int32_t RowBytes(int32_t width, int bitCount) { return (width * bitCount + 31) / 32 * 4; }
