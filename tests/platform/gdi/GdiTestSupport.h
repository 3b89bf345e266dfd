// Helpers of the graphics-service tests: sections of any format selected into
// their own memory context, released on scope exit.
#pragma once

#include <cstring>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/PixelFormat.h"

namespace gdi_test {

struct TInfo {
  BITMAPINFO Info{};

  TInfo(int width, int height, WORD bitCount, std::vector<RGBQUAD> colors = {},
        std::vector<DWORD> masks = {}) {
    Info.bmiHeader.biWidth = width;
    Info.bmiHeader.biHeight = height;
    Info.bmiHeader.biBitCount = bitCount;
    Info.bmiHeader.biCompression = masks.empty() ? BI_RGB : BI_BITFIELDS;
    auto* table = reinterpret_cast<uint8_t*>(Info.bmiColors);
    if (!masks.empty()) {
      std::memcpy(table, masks.data(), 12);
      table += 12;
    }
    Info.bmiHeader.biClrUsed = static_cast<DWORD>(colors.size());
    if (!colors.empty()) std::memcpy(table, colors.data(), colors.size() * 4);
  }
};

// A DIB section in its own memory context.
class TSection {
 public:
  explicit TSection(const TInfo& info) {
    DC = CreateCompatibleDC(nullptr);
    Bitmap = CreateDIBSection(DC, &info.Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (Bitmap) Old = SelectObject(DC, Bitmap);
    Width = info.Info.bmiHeader.biWidth;
    Height = info.Info.bmiHeader.biHeight < 0 ? -info.Info.bmiHeader.biHeight
                                              : info.Info.bmiHeader.biHeight;
    TopDown = info.Info.bmiHeader.biHeight < 0;
    BitCount = info.Info.bmiHeader.biBitCount;
  }
  ~TSection() {
    if (Old) SelectObject(DC, Old);
    if (Bitmap) DeleteObject(Bitmap);
    DeleteDC(DC);
  }
  TSection(const TSection&) = delete;
  TSection& operator=(const TSection&) = delete;

  int64_t RowBytes() const { return gdi::DibRowBytes(Width, BitCount); }
  // Row y counted from the top of the picture.
  uint8_t* Row(int y) const {
    const int stored = TopDown ? y : Height - 1 - y;
    return static_cast<uint8_t*>(Bits) + stored * RowBytes();
  }

  HDC DC = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ Old = nullptr;
  void* Bits = nullptr;
  int Width = 0;
  int Height = 0;
  bool TopDown = false;
  WORD BitCount = 0;
};

inline std::vector<RGBQUAD> GreyRamp(int count) {
  std::vector<RGBQUAD> colors;
  for (int i = 0; i < count; ++i) {
    const auto v = static_cast<BYTE>(count == 1 ? 0 : i * 255 / (count - 1));
    colors.push_back(RGBQUAD{v, v, v, 0});
  }
  return colors;
}

}  // namespace gdi_test
