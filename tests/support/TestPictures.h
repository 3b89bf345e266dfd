// Pictures made by the tests themselves: bitmaps from colours, and BMP and JPEG
// files written through the project.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "image/DIB.h"
#include "image/JpegEncoder.h"
#include "image/JpegImage.h"
#include "platform/framework/Bitmap.h"

struct Rgb {
  uint8_t R, G, B;
};

inline constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255},
    kBlack{0, 0, 0}, kOlive{132, 130, 8};

// The 5-6-5 pixel value of a colour.
inline uint32_t Raw565(Rgb c) {
  return static_cast<uint32_t>((c.R >> 3) << 11 | (c.G >> 2) << 5 | (c.B >> 3));
}

// A 24-bit bitmap whose pixel (x, y) has the colour colourAt(x, y).
template <typename ColourAt>
std::unique_ptr<TBitmap> MakeBitmap(int32_t width, int32_t height, ColourAt&& colourAt) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(width, height);
  for (int32_t y = 0; y < height; ++y) {
    auto* line = static_cast<uint8_t*>(bitmap->ScanLine(y));
    for (int32_t x = 0; x < width; ++x) {
      const Rgb c = colourAt(x, y);
      line[3 * x] = c.B;
      line[3 * x + 1] = c.G;
      line[3 * x + 2] = c.R;
    }
  }
  return bitmap;
}

// A 24-bit bitmap of the given rows of colours.
inline std::unique_ptr<TBitmap> MakeBitmap(const std::vector<std::vector<Rgb>>& rows) {
  return MakeBitmap(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()),
                    [&](int32_t x, int32_t y) { return rows[y][x]; });
}

// A 24-bit bitmap of one colour.
inline std::unique_ptr<TBitmap> MakePlainBitmap(int32_t width, int32_t height, Rgb colour) {
  return MakeBitmap(width, height, [colour](int32_t, int32_t) { return colour; });
}

// An 8-bit DIB whose colour table is the given colours, then zeros.
inline std::unique_ptr<TDIB> MakePaletteDIB(const std::vector<Rgb>& colours) {
  auto dib = std::make_unique<TDIB>();
  dib->SetDimensions(1, 1, 8);
  std::fill(std::begin(dib->ColorTable), std::end(dib->ColorTable), RGBQUAD{});
  for (size_t i = 0; i < colours.size() && i < 256; ++i)
    dib->ColorTable[i] = RGBQUAD{colours[i].B, colours[i].G, colours[i].R, 0};
  dib->ApplyColorTable();
  return dib;
}

inline void WriteBmp(const std::string& path, int32_t width, int32_t height, Rgb colour) {
  MakePlainBitmap(width, height, colour)->SaveToFile(path);
}

inline void WriteJpeg(const std::string& path, int32_t width, int32_t height, Rgb colour) {
  std::unique_ptr<TBitmap> bitmap = MakePlainBitmap(width, height, colour);
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
