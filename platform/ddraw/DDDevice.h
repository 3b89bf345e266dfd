// The display device: capabilities, cooperative level, display modes, the
// vertical blank, and the factory of surfaces, palettes and clippers.
#pragma once

#include "platform/ddraw/ComObject.h"
#include "platform/ddraw/DDraw.h"

namespace ddraw {

class TDDSurface;

class TDDDevice final : public TComObject<IDirectDraw7> {
 public:
  TDDDevice() = default;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer) override;
  HRESULT CreatePalette(DWORD caps, const PALETTEENTRY* entries, IDirectDrawPalette** palette,
                        IUnknown* outer) override;
  HRESULT CreateSurface(DDSURFACEDESC* desc, IDirectDrawSurface** surface,
                        IUnknown* outer) override;
  HRESULT DuplicateSurface(IDirectDrawSurface* source, IDirectDrawSurface** duplicate) override;
  HRESULT EnumDisplayModes(DWORD flags, DDSURFACEDESC* filter, void* context,
                           LPDDENUMMODESCALLBACK callback) override;
  HRESULT FlipToGDISurface() override;
  HRESULT GetCaps(DDCAPS* hardware, DDCAPS* emulation) override;
  HRESULT GetDisplayMode(DDSURFACEDESC* desc) override;
  HRESULT RestoreDisplayMode() override;
  HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
  HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) override;
  HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) override;

 private:
  ~TDDDevice() override;

  HRESULT CreatePrimary(const DDSURFACEDESC& desc, IDirectDrawSurface** surface);
  HRESULT CreateOffscreen(const DDSURFACEDESC& desc, IDirectDrawSurface** surface);
  void FillCaps(DDCAPS* caps) const;

  HWND FExclusiveWindow = nullptr;
  bool FModeSet = false;
};

}  // namespace ddraw
