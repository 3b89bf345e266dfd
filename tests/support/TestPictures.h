// Pictures made by the tests themselves.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/DIB.h"
#include "platform/framework/Bitmap.h"

struct Rgb {
  uint8_t r, g, b;
};

inline constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255},
    kBlack{0, 0, 0}, kOlive{132, 130, 8};

// A 24-bit bitmap of the given rows of colours.
inline std::unique_ptr<TBitmap> MakeBitmap(const std::vector<std::vector<Rgb>>& rows) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()));
  for (size_t y = 0; y < rows.size(); ++y) {
    auto* line = static_cast<uint8_t*>(bitmap->ScanLine(static_cast<int32_t>(y)));
    for (size_t x = 0; x < rows[y].size(); ++x) {
      line[3 * x] = rows[y][x].b;
      line[3 * x + 1] = rows[y][x].g;
      line[3 * x + 2] = rows[y][x].r;
    }
  }
  return bitmap;
}

// A 24-bit bitmap of one colour.
inline std::unique_ptr<TBitmap> MakePlainBitmap(int32_t width, int32_t height, Rgb colour) {
  return MakeBitmap(std::vector<std::vector<Rgb>>(
      static_cast<size_t>(height), std::vector<Rgb>(static_cast<size_t>(width), colour)));
}

// An 8-bit DIB whose colour table is the given colours, then zeros.
inline std::unique_ptr<TDIB> MakePaletteDIB(const std::vector<Rgb>& colours) {
  auto dib = std::make_unique<TDIB>();
  dib->SetDimensions(1, 1, 8);
  std::fill(std::begin(dib->ColorTable), std::end(dib->ColorTable), RGBQUAD{});
  for (size_t i = 0; i < colours.size() && i < 256; ++i)
    dib->ColorTable[i] = RGBQUAD{colours[i].b, colours[i].g, colours[i].r, 0};
  dib->ApplyColorTable();
  return dib;
}
