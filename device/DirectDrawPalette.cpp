#include "device/DirectDrawPalette.h"

#include "device/DXErrors.h"
#include "device/DirectDraw.h"

TDirectDrawPalette::TDirectDrawPalette(TDirectDraw& directDraw) : FDirectDraw(directDraw) {
  FDirectDraw.Palettes().Add(this);
}

TDirectDrawPalette::~TDirectDrawPalette() {
  FDirectDraw.Palettes().Remove(this);
  FNativePalette.Reset();
}

bool TDirectDrawPalette::CreatePalette(DWORD caps, const PALETTEENTRY* entries) {
  FNativePalette.Reset();
  TComRef<IDirectDrawPalette> palette;
  FDirectDraw.SetLastResult(
      FDirectDraw.RequiredDevice()->CreatePalette(caps, entries, palette.Out(), nullptr));
  SetLastResult(FDirectDraw.LastResult());
  if (LastResult() == DD_OK) FNativePalette = std::move(palette);
  return LastResult() == DD_OK;
}

bool TDirectDrawPalette::SetEntries(int startIndex, int count, const PALETTEENTRY* entries) {
  if (!FNativePalette) return false;
  if (startIndex < 0 || count < 0) {
    SetLastResult(DDERR_INVALIDPARAMS);
    return false;
  }
  SetLastResult(FNativePalette->SetEntries(0, static_cast<DWORD>(startIndex),
                                           static_cast<DWORD>(count), entries));
  return LastResult() == DD_OK;
}

IDirectDrawPalette* TDirectDrawPalette::RequiredPalette() const {
  if (!FNativePalette) throw EDirectDrawPaletteError(DXText::kNotMade, "IDirectDrawPalette");
  return FNativePalette.Get();
}
