// A palette made on a device object.
#pragma once

#include "device/DXClass.h"
#include "platform/ddraw/DDraw.h"
#include "platform/gdi/ComRef.h"

class TDirectDraw;

class TDirectDrawPalette : public TDirectX {
 public:
  LOUPIX_CLASS(TDirectDrawPalette, TDirectX)

  // Registers with `directDraw`; there is no native palette until CreatePalette.
  explicit TDirectDrawPalette(TDirectDraw& directDraw);
  ~TDirectDrawPalette() override;
  TDirectDrawPalette(const TDirectDrawPalette&) = delete;
  TDirectDrawPalette& operator=(const TDirectDrawPalette&) = delete;

  // Replaces the native palette with one of `caps` holding the 256 `entries`.
  bool CreatePalette(DWORD caps, const PALETTEENTRY* entries);
  // False without a native palette.
  bool SetEntries(int startIndex, int count, const PALETTEENTRY* entries);

  TDirectDraw& DirectDraw() const { return FDirectDraw; }
  IDirectDrawPalette* NativePalette() const { return FNativePalette.Get(); }
  // Raises EDirectDrawPaletteError "%s not made" without a native palette.
  IDirectDrawPalette* RequiredPalette() const;

 private:
  TDirectDraw& FDirectDraw;
  TComRef<IDirectDrawPalette> FNativePalette;
};
