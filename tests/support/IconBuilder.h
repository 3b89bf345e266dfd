// Builds .ico file bytes for tests: a directory of uncompressed images, each a
// 40-byte header, colours, XOR pixels and an AND mask.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/support/DibBuilder.h"

struct IcoImage {
  int32_t Width = 2;
  int32_t Height = 2;
  uint16_t BitCount = 8;
  std::vector<RGBQUAD> Colors;
  std::vector<uint8_t> Xor;  // bottom-up rows as stored
  std::vector<uint8_t> And;  // bottom-up 1-bit rows
  uint32_t Compression = BI_RGB;
};

inline std::vector<uint8_t> DibOf(const IcoImage& image) {
  std::vector<uint8_t> dib;
  BITMAPINFOHEADER h;
  h.biWidth = image.Width;
  h.biHeight = image.Height * 2;
  h.biBitCount = image.BitCount;
  h.biCompression = image.Compression;
  h.biClrUsed = static_cast<DWORD>(image.Colors.size());
  Put(dib, &h, sizeof h);
  for (const RGBQUAD& c : image.Colors) Put(dib, &c, 4);
  Put(dib, image.Xor.data(), image.Xor.size());
  Put(dib, image.And.data(), image.And.size());
  return dib;
}

inline std::vector<uint8_t> MakeIco(const std::vector<std::vector<uint8_t>>& dibs,
                                    const std::vector<IcoImage>& images, uint16_t reserved = 0,
                                    uint16_t type = 1) {
  std::vector<uint8_t> out;
  PutValue<uint16_t>(out, reserved);
  PutValue<uint16_t>(out, type);
  PutValue<uint16_t>(out, static_cast<uint16_t>(dibs.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * dibs.size());
  for (size_t i = 0; i < dibs.size(); ++i) {
    PutValue<uint8_t>(out, static_cast<uint8_t>(images[i].Width));
    PutValue<uint8_t>(out, static_cast<uint8_t>(images[i].Height));
    PutValue<uint8_t>(out, 0);
    PutValue<uint8_t>(out, 0);
    PutValue<uint16_t>(out, 1);
    PutValue<uint16_t>(out, images[i].BitCount);
    PutValue<uint32_t>(out, static_cast<uint32_t>(dibs[i].size()));
    PutValue<uint32_t>(out, offset);
    offset += static_cast<uint32_t>(dibs[i].size());
  }
  for (const auto& dib : dibs) Put(out, dib.data(), dib.size());
  return out;
}

inline std::vector<uint8_t> MakeIco(const std::vector<IcoImage>& images) {
  std::vector<std::vector<uint8_t>> dibs;
  for (const IcoImage& image : images) dibs.push_back(DibOf(image));
  return MakeIco(dibs, images);
}
