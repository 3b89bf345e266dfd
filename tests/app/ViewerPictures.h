// Small pictures the viewer tests write for themselves: plain colours whose
// 5-6-5 values are exact, as BMP through TBitmap and as JPEG through TJPEGImage.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "image/JpegEncoder.h"
#include "image/JpegImage.h"
#include "platform/framework/Bitmap.h"

struct TRgb {
  uint8_t R, G, B;
};

// A colour per picture, never black (black is the see-through colour).
inline TRgb EntryColour(int32_t i) {
  return {static_cast<uint8_t>(8 * (i % 31 + 1)), static_cast<uint8_t>(4 * ((7 * i) % 64)),
          static_cast<uint8_t>(8 * (30 - i % 31))};
}

inline uint32_t Raw565(TRgb c) {
  return static_cast<uint32_t>((c.R >> 3) << 11 | (c.G >> 2) << 5 | (c.B >> 3));
}

inline std::unique_ptr<TBitmap> PlainBitmap(int32_t width, int32_t height, TRgb colour) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(width, height);
  for (int32_t y = 0; y < height; ++y) {
    auto* line = static_cast<uint8_t*>(bitmap->ScanLine(y));
    for (int32_t x = 0; x < width; ++x) {
      line[3 * x] = colour.B;
      line[3 * x + 1] = colour.G;
      line[3 * x + 2] = colour.R;
    }
  }
  return bitmap;
}

inline void WriteBmp(const std::string& path, int32_t width, int32_t height, TRgb colour) {
  PlainBitmap(width, height, colour)->SaveToFile(path);
}

inline void WriteJpeg(const std::string& path, int32_t width, int32_t height, TRgb colour) {
  std::unique_ptr<TBitmap> bitmap = PlainBitmap(width, height, colour);
  TJPEGImage jpeg;
  jpeg.Assign(bitmap.get());
  jpeg.SaveToFile(path);
}

// A camera-like JPEG (soft shades, fine noise, colour at half resolution) that
// differs with seed, so decoders' filters all show in its pixels.
inline void WritePhotoJpeg(const std::string& path, int32_t width, int32_t height, int32_t seed) {
  std::vector<uint8_t> rows(static_cast<size_t>(width) * height * 3);
  uint32_t noise = static_cast<uint32_t>(seed) * 2654435761u + 7;
  for (size_t i = 0; i < rows.size(); ++i) {
    noise = noise * 1664525u + 1013904223u;
    const size_t pixel = i / 3, x = pixel % static_cast<size_t>(width);
    rows[i] = static_cast<uint8_t>((x * (i % 3 + 1) + pixel / static_cast<size_t>(width) * 2 +
                                    static_cast<size_t>(seed) * 50 + (noise >> 28)) &
                                   0xFF);
  }
  const std::vector<uint8_t> bytes =
      EncodeJpeg(rows.data(), width * 3, static_cast<uint32_t>(width),
                 static_cast<uint32_t>(height), {90, false, false});
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// A file with the start of a JPEG and then nothing a decoder can use.
inline void WriteCorruptJpeg(const std::string& path) {
  std::ofstream(path, std::ios::binary)
      << std::string("\xFF\xD8\xFF\xE0garbage that ends here", 25);
}
