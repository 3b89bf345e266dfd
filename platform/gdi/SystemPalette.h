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

int DesktopBitsPerPixel();
TSize DesktopSize();
// The desktop's pixel format: 8 bits through the system palette, 16 bits 5-6-5,
// 24 bits, 32 bits 8-8-8.
TPixelFormat DesktopFormat();

}  // namespace gdi
