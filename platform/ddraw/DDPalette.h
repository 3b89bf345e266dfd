// A palette of 256 (or 16) entries, kept both as palette entries and as the
// colour table the graphics layer reads when drawing into an 8-bit surface.
#pragma once

#include "platform/ddraw/ComObject.h"
#include "platform/ddraw/DDraw.h"

namespace ddraw {

class TDDPalette final : public TComObject<IDirectDrawPalette> {
 public:
  static HRESULT Create(DWORD caps, const PALETTEENTRY* entries, IDirectDrawPalette** palette);
  static TDDPalette* From(IDirectDrawPalette* palette);

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT GetCaps(DWORD* caps) override;
  HRESULT GetEntries(DWORD flags, DWORD start, DWORD count, PALETTEENTRY* entries) override;
  HRESULT SetEntries(DWORD flags, DWORD start, DWORD count, const PALETTEENTRY* entries) override;

  const PALETTEENTRY* Entries() const { return FEntries; }
  const RGBQUAD* ColorTable() const { return FColorTable; }

 private:
  TDDPalette(DWORD caps, DWORD size) : FCaps(caps), FSize(size) {}
  void Store(DWORD start, DWORD count, const PALETTEENTRY* entries);

  DWORD FCaps;
  DWORD FSize;
  PALETTEENTRY FEntries[256]{};
  RGBQUAD FColorTable[256]{};
};

// The colours an 8-bit surface shows before it has a palette: a 3-3-2 cube.
const PALETTEENTRY* DefaultPaletteEntries();
const RGBQUAD* DefaultColorTable();

}  // namespace ddraw
