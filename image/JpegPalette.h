// Logical palettes to and from libjpeg's colour map.
#pragma once

#include "image/JpegDecoder.h"
#include "platform/gdi/Gdi.h"

// A palette (version 0x300, flags 0) with the colour map's entries: grey output
// repeats its one row into red, green and blue. nullptr without a colour map.
HPALETTE PaletteFromColormap(const jpeg_decompress_struct& info);

// Gives libjpeg an external colour map with the palette's entries (at most 256).
void UseColormapOfPalette(TJpegDecoder& decoder, HPALETTE palette);
