// The pixel surface: one native display-service surface with its cached description,
// clipped and stretched copies, fills, colour keys, pixel access and picture loading.
#pragma once

#include <cstdint>
#include <memory>

#include "device/DXClass.h"
#include "image/PixelBlock.h"
#include "platform/ddraw/DDraw.h"
#include "platform/gdi/ComRef.h"

class TDirectDraw;
class TDirectDrawClipper;
class TDirectDrawPalette;
class TDirectDrawSurfaceCanvas;
class TDIB;
class TGraphic;
struct TSurfacePixels;

class TDirectDrawSurface : public TDirectX {
 public:
  LOUPIX_CLASS(TDirectDrawSurface, TDirectX)

  // An empty surface registered in the device object's Surfaces list.
  explicit TDirectDrawSurface(TDirectDraw& directDraw);
  ~TDirectDrawSurface() override;
  TDirectDrawSurface(const TDirectDrawSurface&) = delete;
  TDirectDrawSurface& operator=(const TDirectDrawSurface&) = delete;

  TDirectDraw& DirectDraw() const { return FDirectDraw; }

  IDirectDrawSurface* NativeSurface() const { return FIDDSurface.Get(); }
  // None for a missing surface object, so a missing source reads as no surface.
  static IDirectDrawSurface* NativeOf(const TDirectDrawSurface* surface) {
    return surface ? surface->NativeSurface() : nullptr;
  }
  // Holds its own reference to value (none empties the surface).
  void SetNativeSurface(IDirectDrawSurface* value);
  IDirectDrawSurface* RequiredSurface() const;
  IDirectDrawSurface4* RequiredSurface4() const;
  IDirectDrawSurface7* RequiredSurface7() const;
  IDirectDrawGammaControl* GammaControl() const { return FGammaControl.Get(); }

  const DDSURFACEDESC& Description() const { return FDescription; }
  int32_t Width() const { return static_cast<int32_t>(FDescription.dwWidth); }
  int32_t Height() const { return static_cast<int32_t>(FDescription.dwHeight); }
  int32_t BitCount() const {
    return static_cast<int32_t>(FDescription.ddpfPixelFormat.dwRGBBitCount);
  }
  TRect ClientRect() const { return {0, 0, Width(), Height()}; }

  bool ClipperAttached() const { return FClipperAttached; }
  bool SystemMemory() const { return FSystemMemory; }
  void SetSystemMemory(bool value) { FSystemMemory = value; }
  IDirectDrawClipper* StretchClipper() const { return FStretchClipper.Get(); }

  // Creation and content.
  bool CreateFromDescription(const DDSURFACEDESC& description);
  // A non-positive size empties the surface; raises EDirectDrawSurfaceError when
  // neither video nor system memory can hold it.
  void SetSize(int32_t width, int32_t height);
  // The surface takes the graphic's size and pixels.
  void LoadGraphic(TGraphic* graphic);
  // The surface takes width x height (0: the source rectangle's) and the graphic's
  // sourceRect, scaled when the sizes differ.
  void LoadGraphicPart(TGraphic* graphic, int32_t width, int32_t height, const TRect& sourceRect);
  // What SetSize and loading a picture of that size would make, over pixels already
  // converted to this surface's format, which the surface takes over (no copy). False,
  // with the pixels left to the caller and the surface empty, when the display
  // services cannot make such a surface or the format is not theirs.
  bool AdoptPixels(TSurfacePixels& pixels);
  // None empties; a TGraphic or TPicture is loaded; another surface is shared
  // through a duplicate of its native surface.
  void Assign(TPersistent* source) override;
  // Into a TDIB: 24 bits, this surface's size and pixels.
  void AssignTo(TPersistent* dest) override;

  // Copies; the destination is this surface.
  bool Blt(const TRect* destRect, const TRect* sourceRect, DWORD flags, const DDBLTFX& effects,
           const TDirectDrawSurface* source);
  bool BltFast(int32_t x, int32_t y, const TDirectDrawSurface* source, const TRect* sourceRect,
               DWORD flags);
  // Fills the whole surface with a raw pixel value.
  bool Fill(uint32_t pixelValue);
  // A source rectangle with Left > Right or Top > Bottom asks for a mirrored copy.
  void Draw(int32_t x, int32_t y, TRect sourceRect, const TDirectDrawSurface* source,
            bool transparent);
  void StretchDraw(const TRect& destRect, const TRect& sourceRect, const TDirectDrawSurface* source,
                   bool transparent);

  // Colour key, clipper, palette, restore.
  void SetTransparentColor(uint32_t pixelValue);
  void SetColorKey(DWORD flags, const DDCOLORKEY& key);
  void SetClipper(const TDirectDrawClipper* clipper);
  void SetPalette(const TDirectDrawPalette* palette);
  bool Restore();

  // Pixel access. A second Lock is refused, not nested.
  bool Lock(const TRect* rect, DDSURFACEDESC& description);
  void Unlock();
  int32_t LockCount() const { return FLockCount; }
  // Raw values at 1, 4, 8, 16, 24 and 32 bits. Outside the surface, on an empty one
  // or while another lock is out, reads give 0 and writes do nothing.
  uint32_t Pixel(int32_t x, int32_t y);
  void SetPixel(int32_t x, int32_t y, uint32_t value);
  // The raw value of a colour in this surface's format, found by drawing it through
  // the graphics services at (0, 0), which is left as it was. 0 on an empty surface.
  uint32_t ColorToPixel(TColor color);

  // Made on first use; drawing through it borrows the native device context.
  TDirectDrawSurfaceCanvas* Canvas();

 private:
  void DrawMirrored(int32_t x, int32_t y, TRect sourceRect, const TDirectDrawSurface* source,
                    bool transparent);
  void MakeStretchClipper();
  void LoadDIBPart(TDIB& dib, int32_t width, int32_t height, const TRect& sourceRect);
  // Makes the described surface in video memory unless the surface is to be in system
  // memory, and falls back to system memory; false when neither can hold it.
  bool CreateInEitherMemory(DDSURFACEDESC description);
  void DuplicateFrom(const TDirectDrawSurface& source);
  void ReleaseCanvas();
  // Lets go of the native surface and everything taken from it.
  void DropNativeSurface();

  std::unique_ptr<TDirectDrawSurfaceCanvas> FCanvas;
  bool FClipperAttached = false;
  TDirectDraw& FDirectDraw;
  TComRef<IDirectDrawSurface> FIDDSurface;
  TComRef<IDirectDrawSurface4> FIDDSurface4;
  TComRef<IDirectDrawSurface7> FIDDSurface7;
  bool FSystemMemory = false;
  TComRef<IDirectDrawClipper> FStretchClipper;
  DDSURFACEDESC FDescription{};
  TComRef<IDirectDrawGammaControl> FGammaControl;
  DDSURFACEDESC FLockDescription{};
  int32_t FLockCount = 0;
  // The pixels of a surface made over adopted memory; freed after the native surface.
  TPixelBlock FClientPixels;
};
