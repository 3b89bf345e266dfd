// Logical palettes and the system palette.
#include <algorithm>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SystemPalette.h"

using namespace gdi;

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  if (!palette || palette->palVersion != 0x300 || palette->palNumEntries == 0 ||
      palette->palNumEntries > 256) {
    return nullptr;
  }
  std::vector<PALETTEENTRY> entries(palette->palPalEntry,
                                    palette->palPalEntry + palette->palNumEntries);
  return static_cast<HPALETTE>(AddObject(std::make_shared<TGdiPalette>(std::move(entries))));
}

UINT GetPaletteEntries(HPALETTE handle, UINT start, UINT count, PALETTEENTRY* entries) {
  const auto palette = Find<TGdiPalette>(handle);
  if (!palette) return 0;
  const auto size = static_cast<UINT>(palette->Entries.size());
  if (!entries) return size;
  if (start >= size) return 0;
  const UINT n = std::min(count, size - start);
  std::copy_n(palette->Entries.begin() + start, n, entries);
  return n;
}

UINT SetPaletteEntries(HPALETTE handle, UINT start, UINT count, const PALETTEENTRY* entries) {
  const auto palette = Find<TGdiPalette>(handle);
  if (!palette || palette->Stock() || !entries) return 0;
  const auto size = static_cast<UINT>(palette->Entries.size());
  if (start >= size) return 0;
  const UINT n = std::min(count, size - start);
  std::copy_n(entries, n, palette->Entries.begin() + start);
  return n;
}

HPALETTE SelectPalette(HDC dc, HPALETTE handle, BOOL) {
  const auto context = FindDC(dc);
  const auto palette = Find<TGdiPalette>(handle);
  if (!context || !palette) return nullptr;
  HPALETTE previous = static_cast<HPALETTE>(context->State.Palette->Handle());
  context->State.Palette = palette;
  return previous;
}

// Our targets carry their own colour tables, so realising maps every entry as it is.
UINT RealizePalette(HDC dc) {
  const auto context = FindDC(dc);
  return context ? static_cast<UINT>(context->State.Palette->Entries.size()) : 0;
}

HPALETTE CreateHalftonePalette(HDC dc) {
  if (dc && !FindDC(dc)) return nullptr;
  std::vector<PALETTEENTRY> entries(256);
  for (uint32_t i = 0; i < 256; ++i) entries[i] = SystemPaletteEntry(i);
  return static_cast<HPALETTE>(AddObject(std::make_shared<TGdiPalette>(std::move(entries))));
}

UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, PALETTEENTRY* entries) {
  if (!FindDC(dc)) return 0;
  if (!entries) return 256;
  if (start >= 256) return 0;
  const UINT n = std::min<UINT>(count, 256 - start);
  for (UINT i = 0; i < n; ++i) entries[i] = SystemPaletteEntry(start + i);
  return n;
}
