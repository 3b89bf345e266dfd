#include "image/JpegPalette.h"

#include <jerror.h>

HPALETTE PaletteFromColormap(const jpeg_decompress_struct& info) {
  if (!info.colormap || info.actual_number_of_colors <= 0) return nullptr;
  // The map has one row per colour component and at most 256 entries per row.
  const int rows = info.out_color_components;
  if (rows != 1 && rows != 3) RaiseJpegError(JERR_QUANT_COMPONENTS);
  if (info.actual_number_of_colors > 256) RaiseJpegError(JERR_QUANT_MANY_COLORS);
  const bool grey = rows == 1;
  LOGPALETTE palette;
  palette.palVersion = 0x300;
  palette.palNumEntries = static_cast<WORD>(info.actual_number_of_colors);
  for (int i = 0; i < palette.palNumEntries; ++i) {
    PALETTEENTRY& entry = palette.palPalEntry[i];
    entry.peRed = info.colormap[0][i];
    entry.peGreen = info.colormap[grey ? 0 : 1][i];
    entry.peBlue = info.colormap[grey ? 0 : 2][i];
    entry.peFlags = 0;
  }
  return CreatePalette(&palette);
}

void UseColormapOfPalette(TJpegDecoder& decoder, HPALETTE palette) {
  PALETTEENTRY entries[256];
  const UINT count = GetPaletteEntries(palette, 0, 256, entries);
  if (count == 0) return;
  jpeg_decompress_struct& info = decoder.Info();
  decoder.Guard().Run([&] {
    JSAMPARRAY map =
        info.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, count, 3);
    for (UINT i = 0; i < count; ++i) {
      map[0][i] = entries[i].peRed;
      map[1][i] = entries[i].peGreen;
      map[2][i] = entries[i].peBlue;
    }
    info.colormap = map;
    info.actual_number_of_colors = static_cast<int>(count);
  });
}
