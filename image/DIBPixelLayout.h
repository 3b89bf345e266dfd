// Where red, green and blue sit in a 16- or 32-bit DIB pixel, and the colour-table
// helpers shared by every DIB (quads, grey table, palette entry conversions).
#pragma once

#include <cstdint>

#include "platform/gdi/WinTypes.h"

struct TPixelLayout {
  uint32_t RedMask = 0;
  uint32_t GreenMask = 0;
  uint32_t BlueMask = 0;
  uint32_t RedBits = 0;
  uint32_t GreenBits = 0;
  uint32_t BlueBits = 0;
  uint32_t RedShift = 0;
  uint32_t GreenShift = 0;
  uint32_t BlueShift = 0;
  uint32_t RedLoss = 0;
  uint32_t GreenLoss = 0;
  uint32_t BlueLoss = 0;

  friend bool operator==(const TPixelLayout&, const TPixelLayout&) = default;
};

// Channels packed with blue lowest and red highest.
TPixelLayout LayoutFromBits(uint32_t redBits, uint32_t greenBits, uint32_t blueBits);
// Only the width of each mask counts; where the mask sits is not kept.
TPixelLayout LayoutFromMasks(uint32_t redMask, uint32_t greenMask, uint32_t blueMask);

// The three layouts a DIB may have.
TPixelLayout Layout888();
TPixelLayout Layout555();
TPixelLayout Layout565();
// Whether the three masks agree (the other fields follow from them).
bool SameMasks(const TPixelLayout& a, const TPixelLayout& b);

// red * 65536 + green * 256 + blue, reserved byte 0.
constexpr RGBQUAD MakeQuad(BYTE red, BYTE green, BYTE blue) { return RGBQUAD{blue, green, red, 0}; }

// Entry i is (i, i, i, 0).
void GreyColorTable(TColorTable& table);

// Table entries and system palette entries differ in the order of red and blue.
PALETTEENTRY QuadToPaletteEntry(const RGBQUAD& quad);
RGBQUAD PaletteEntryToQuad(const PALETTEENTRY& entry);
void QuadsToPaletteEntries(const RGBQUAD* quads, PALETTEENTRY* entries, uint32_t count);
void PaletteEntriesToQuads(const PALETTEENTRY* entries, RGBQUAD* quads, uint32_t count);
