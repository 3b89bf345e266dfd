// Builds BMP file bytes for tests, with every header field under the test's control.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gdi/WinTypes.h"

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

inline void Put(std::vector<uint8_t>& out, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  out.insert(out.end(), bytes, bytes + size);
}

template <typename T>
void PutValue(std::vector<uint8_t>& out, T value) {
  Put(out, &value, sizeof value);
}

inline std::vector<uint8_t> MakeBmp(const BmpRecipe& s) {
  std::vector<uint8_t> info;
  if (s.Core) {
    PutValue<uint32_t>(info, 12);
    PutValue<uint16_t>(info, static_cast<uint16_t>(s.Width));
    PutValue<uint16_t>(info, static_cast<uint16_t>(s.Height));
    PutValue<uint16_t>(info, s.Planes);
    PutValue<uint16_t>(info, s.BitCount);
  } else {
    BITMAPINFOHEADER h;
    h.biSize = s.HeaderSize;
    h.biWidth = s.Width;
    h.biHeight = s.Height;
    h.biPlanes = s.Planes;
    h.biBitCount = s.BitCount;
    h.biCompression = s.Compression;
    h.biSizeImage = s.SizeImage;
    h.biClrUsed = s.ClrUsed;
    Put(info, &h, sizeof h);
    if (s.HeaderSize > 40) info.resize(s.HeaderSize, 0);
    for (uint32_t m : s.Masks) PutValue(info, m);
  }
  for (const RGBQUAD& c : s.Colors) Put(info, &c, s.Core ? 3 : 4);
  info.resize(info.size() + s.Gap, 0xEE);
  BITMAPFILEHEADER file;
  file.bfType = kBitmapFileType;
  file.bfOffBits = static_cast<uint32_t>(sizeof file + info.size());
  file.bfSize = static_cast<uint32_t>(file.bfOffBits + s.Pixels.size());
  std::vector<uint8_t> out;
  Put(out, &file, sizeof file);
  Put(out, info.data(), info.size());
  Put(out, s.Pixels.data(), s.Pixels.size());
  return out;
}

inline int32_t RowBytes(int32_t width, int bitCount) { return (width * bitCount + 31) / 32 * 4; }
