#include "platform/gdi/SystemPalette.h"

#include <array>

#include "platform/gdi/Gdi.h"

namespace gdi {

namespace {

constexpr RGBQUAD Quad(BYTE r, BYTE g, BYTE b) { return RGBQUAD{b, g, r, 0}; }

constexpr std::array<RGBQUAD, 10> kLowStatic = {
    Quad(0, 0, 0),       Quad(128, 0, 0),    Quad(0, 128, 0),   Quad(128, 128, 0),
    Quad(0, 0, 128),     Quad(128, 0, 128),  Quad(0, 128, 128), Quad(192, 192, 192),
    Quad(192, 220, 192), Quad(166, 202, 240)};
constexpr std::array<RGBQUAD, 10> kHighStatic = {
    Quad(255, 251, 240), Quad(160, 160, 164), Quad(128, 128, 128), Quad(255, 0, 0),
    Quad(0, 255, 0),     Quad(255, 255, 0),   Quad(0, 0, 255),     Quad(255, 0, 255),
    Quad(0, 255, 255),   Quad(255, 255, 255)};

std::array<RGBQUAD, 256> BuildSystemTable() {
  std::array<RGBQUAD, 256> table{};
  for (size_t i = 0; i < 10; ++i) {
    table[i] = kLowStatic[i];
    table[246 + i] = kHighStatic[i];
  }
  size_t next = 10;
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 6; ++g) {
      for (int b = 0; b < 6; ++b) {
        table[next++] =
            Quad(static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 51), static_cast<BYTE>(b * 51));
      }
    }
  }
  for (int i = 1; next < 246; ++i) {  // greys between the cube's own greys
    const auto level = static_cast<BYTE>(i * 255 / 21);
    table[next++] = Quad(level, level, level);
  }
  return table;
}

int gDesktopBits = 32;
// The screen context's size (HORZRES, VERTRES).
constexpr TSize kDesktopSize{1024, 768};

}  // namespace

const RGBQUAD* SystemColorTable() {
  static const std::array<RGBQUAD, 256> table = BuildSystemTable();
  return table.data();
}

PALETTEENTRY SystemPaletteEntry(uint32_t index) {
  const RGBQUAD q = SystemColorTable()[index & 0xFF];
  return PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
}

int DesktopBitsPerPixel() { return gDesktopBits; }
TSize DesktopSize() { return kDesktopSize; }

const RGBQUAD* DefaultColorTable(uint32_t bitCount) {
  static const RGBQUAD kBlackWhite[2] = {kLowStatic[0], kHighStatic[9]};
  static const std::array<RGBQUAD, 16> kVga = [] {
    constexpr int kIndexes[16] = {0, 1, 2, 3, 4, 5, 6, 7, 248, 249, 250, 251, 252, 253, 254, 255};
    std::array<RGBQUAD, 16> colors{};
    for (size_t i = 0; i < colors.size(); ++i) colors[i] = SystemColorTable()[kIndexes[i]];
    return colors;
  }();
  return bitCount == 1 ? kBlackWhite : bitCount == 4 ? kVga.data() : SystemColorTable();
}

TPixelFormat DeviceFormat(uint32_t bitCount) {
  TPixelFormat format;
  format.BitCount = bitCount;
  if (bitCount <= 8) {
    format.ColorTable = DefaultColorTable(bitCount);
    format.ColorCount = 1u << bitCount;
  } else if (bitCount == 16) {
    format.RedMask = kMask565[0];
    format.GreenMask = kMask565[1];
    format.BlueMask = kMask565[2];
  }
  return WithDefaultMasks(format);
}

TPixelFormat DesktopFormat() { return DeviceFormat(static_cast<uint32_t>(gDesktopBits)); }

}  // namespace gdi

void SetDesktopBitsPerPixel(int bitsPerPixel) {
  if (bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32) {
    gdi::gDesktopBits = bitsPerPixel;
  }
}
