// A display surface: the screen (primary, optionally the front of a flipping
// chain with one back buffer) or an off-screen surface, over pixels it may
// share with duplicates.
#pragma once

#include <memory>
#include <vector>

#include "platform/ddraw/ComObject.h"
#include "platform/ddraw/DDraw.h"
#include "platform/ddraw/SurfaceMemory.h"

namespace ddraw {

class TDDPalette;
class TDDClipper;

class TDDSurface final : public TComObject<IDirectDrawSurface7> {
 public:
  // `roleCaps`: the DDSCAPS_ bits that say what the surface is (primary, front,
  // back, off-screen...); the memory caps come from the pixels.
  TDDSurface(std::shared_ptr<TSurfaceMemory> memory, DWORD roleCaps);
  static TDDSurface* From(IDirectDrawSurface* surface);

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT Blt(const TRect* destRect, IDirectDrawSurface* source, const TRect* sourceRect,
              DWORD flags, const DDBLTFX* effects) override;
  HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, const TRect* sourceRect,
                  DWORD flags) override;
  HRESULT Flip(IDirectDrawSurface* target, DWORD flags) override;
  HRESULT GetAttachedSurface(const DDSCAPS* caps, IDirectDrawSurface** surface) override;
  HRESULT DeleteAttachedSurface(DWORD flags, IDirectDrawSurface* surface) override;
  HRESULT GetClipper(IDirectDrawClipper** clipper) override;
  HRESULT SetClipper(IDirectDrawClipper* clipper) override;
  HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) override;
  HRESULT SetColorKey(DWORD flags, const DDCOLORKEY* key) override;
  HRESULT GetDC(HDC* dc) override;
  HRESULT ReleaseDC(HDC dc) override;
  HRESULT GetPalette(IDirectDrawPalette** palette) override;
  HRESULT SetPalette(IDirectDrawPalette* palette) override;
  HRESULT GetSurfaceDesc(DDSURFACEDESC* desc) override;
  HRESULT IsLost() override;
  HRESULT Lock(const TRect* rect, DDSURFACEDESC* desc, DWORD flags, HANDLE event) override;
  HRESULT Unlock(void* surfaceData) override;
  HRESULT Restore() override;

  // Makes `back` the chain's back buffer; the surface keeps a reference.
  void AttachBackBuffer(TDDSurface* back);
  // A new surface over the same pixels, with this one's caps and colour key.
  TDDSurface* Duplicate() const;

  const TSurfaceMemory* Memory() const { return FMemory.get(); }
  const TDDPalette* Palette() const { return FPalette.Get(); }
  // The pixels as the graphics layer sees them; an 8-bit surface's colour table
  // is its palette's, or the default one.
  TPixelView View() const;

 private:
  ~TDDSurface() override;

  TRect Bounds() const { return FMemory->Bounds(); }
  HRESULT ClipTarget(const TRect& target, std::vector<TRect>* pieces) const;
  HRESULT Fill(const std::vector<TRect>& pieces, const DDBLTFX* effects);
  HRESULT CopyPixels(TDDSurface& source, const TRect& sourceRect, const TRect& target,
                     const std::vector<TRect>& pieces, bool keyed, DWORD key, DWORD mirror);
  void Present(const TRect& dirty) const;

  std::shared_ptr<TSurfaceMemory> FMemory;
  DWORD FRoleCaps;
  DDCOLORKEY FSourceKey;
  TComRef<TDDPalette> FPalette;
  TComRef<TDDClipper> FClipper;
  TComRef<TDDSurface> FBackBuffer;
  bool FLocked = false;
  TRect FLockRect;
  HDC FDC = nullptr;
};

}  // namespace ddraw
