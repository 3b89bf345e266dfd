#include "image/DIBPixelLayout.h"

namespace {

uint32_t LowMask(uint32_t bits) { return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1u; }

// Consecutive set bits from the lowest set one, looking at bits 0 to 30.
uint32_t MaskWidth(uint32_t mask) {
  uint32_t bit = 0;
  while (bit < 31 && (mask & (1u << bit)) == 0) ++bit;
  uint32_t width = 0;
  while (bit < 31 && (mask & (1u << bit)) != 0) {
    ++width;
    ++bit;
  }
  return width;
}

}  // namespace

TPixelLayout LayoutFromBits(uint32_t redBits, uint32_t greenBits, uint32_t blueBits) {
  TPixelLayout layout;
  layout.RedBits = redBits;
  layout.GreenBits = greenBits;
  layout.BlueBits = blueBits;
  const uint32_t redPos = greenBits + blueBits;
  layout.RedMask = redPos >= 32 ? 0 : LowMask(redBits) << redPos;
  layout.GreenMask = blueBits >= 32 ? 0 : LowMask(greenBits) << blueBits;
  layout.BlueMask = LowMask(blueBits);
  // Unsigned wrap-around for widths below 8 mirrors the 32-bit fields of the record.
  layout.RedShift = redBits + greenBits + blueBits - 8;
  layout.GreenShift = greenBits + blueBits - 8;
  layout.BlueShift = 8 - blueBits;
  layout.RedLoss = 8 - redBits;
  layout.GreenLoss = 8 - greenBits;
  layout.BlueLoss = 8 - blueBits;
  return layout;
}

TPixelLayout LayoutFromMasks(uint32_t redMask, uint32_t greenMask, uint32_t blueMask) {
  return LayoutFromBits(MaskWidth(redMask), MaskWidth(greenMask), MaskWidth(blueMask));
}

TPixelLayout Layout888() { return LayoutFromBits(8, 8, 8); }
TPixelLayout Layout555() { return LayoutFromBits(5, 5, 5); }
TPixelLayout Layout565() { return LayoutFromBits(5, 6, 5); }

bool SameMasks(const TPixelLayout& a, const TPixelLayout& b) {
  return a.RedMask == b.RedMask && a.GreenMask == b.GreenMask && a.BlueMask == b.BlueMask;
}

void GreyColorTable(TColorTable& table) {
  for (uint32_t i = 0; i < 256; ++i) {
    const BYTE v = static_cast<BYTE>(i);
    table[i] = MakeQuad(v, v, v);
  }
}

PALETTEENTRY QuadToPaletteEntry(const RGBQUAD& quad) {
  return PALETTEENTRY{quad.rgbRed, quad.rgbGreen, quad.rgbBlue, 0};
}

RGBQUAD PaletteEntryToQuad(const PALETTEENTRY& entry) {
  return RGBQUAD{entry.peBlue, entry.peGreen, entry.peRed, 0};
}

void QuadsToPaletteEntries(const RGBQUAD* quads, PALETTEENTRY* entries, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) entries[i] = QuadToPaletteEntry(quads[i]);
}

void PaletteEntriesToQuads(const PALETTEENTRY* entries, RGBQUAD* quads, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) quads[i] = PaletteEntryToQuad(entries[i]);
}
