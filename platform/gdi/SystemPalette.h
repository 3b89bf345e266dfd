// The screen's colours and format: the 256-entry system palette (the 20 static
// colours in entries 0-9 and 246-255, a 6x6x6 colour cube in 10-225 and a grey
// ramp in 226-245), which is also the halftone palette, and the desktop format.
#pragma once

#include "platform/gdi/PixelFormat.h"

namespace gdi {

// 256 entries as RGBQUAD, for colour tables.
const RGBQUAD* SystemColorTable();
PALETTEENTRY SystemPaletteEntry(uint32_t index);
// The 20 static colours: entries 0-9 and 246-255 of the system palette.
constexpr uint32_t kStaticColorCount = 20;

// Colours of palettised bitmaps without a table of their own: black and white
// for 1 bit, the 16 VGA colours for 4 bits, the system palette for 8 bits.
const RGBQUAD* DefaultColorTable(uint32_t bitCount);

// The format of device-dependent bitmaps of a depth: 16 bits 5-6-5, 24 bits,
// 32 bits 8-8-8, palettised depths through their default colours.
TPixelFormat DeviceFormat(uint32_t bitCount);

int DesktopBitsPerPixel();
TSize DesktopSize();
TPixelFormat DesktopFormat();

}  // namespace gdi
