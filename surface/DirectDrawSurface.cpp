// Identity, creation, copies, colour keys, clipper, palette and restore of a surface.
// Pixel access is in DirectDrawSurfacePixels.cpp, pictures and colours in
// DirectDrawSurfaceContent.cpp.
#include "surface/DirectDrawSurface.h"

#include <utility>

#include "device/DXErrors.h"
#include "device/DirectDraw.h"
#include "device/DirectDrawClipper.h"
#include "device/DirectDrawPalette.h"
#include "platform/framework/Exception.h"
#include "surface/ClipRects.h"
#include "surface/DirectDrawSurfaceCanvas.h"

namespace {

// Flags indexed by the transparent argument of Draw and StretchDraw.
constexpr DWORD kBltFastFlags[2] = {DDBLTFAST_WAIT, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT};
constexpr DWORD kBltFlags[2] = {DDBLT_WAIT, DDBLT_KEYSRC | DDBLT_WAIT};

DDBLTFX Effects(DWORD ddfx) {
  DDBLTFX effects;
  effects.dwSize = kDDBltFxSize;
  effects.dwDDFX = ddfx;
  return effects;
}

// The destination of an unscaled copy of source placed at (x, y).
TRect64 PlaceAt(int32_t x, int32_t y, const TRect64& source) {
  return {x, y, x + (source.Right - source.Left), y + (source.Bottom - source.Top)};
}

// The mirror image of r in a surface of width x height, on the chosen axes.
TRect64 Reflect(const TRect64& r, bool leftRight, bool upDown, int64_t width, int64_t height) {
  TRect64 reflected = r;
  if (leftRight) reflected.Left = width - r.Right, reflected.Right = width - r.Left;
  if (upDown) reflected.Top = height - r.Bottom, reflected.Bottom = height - r.Top;
  return reflected;
}

[[noreturn]] void RaiseNotMade(const char* name) {
  throw EDirectDrawSurfaceError(DXText::kNotMade, name);
}

}  // namespace

TDirectDrawSurface::TDirectDrawSurface(TDirectDraw& directDraw) : FDirectDraw(directDraw) {
  FDirectDraw.Surfaces().Add(this);
}

TDirectDrawSurface::~TDirectDrawSurface() {
  FCanvas.reset();
  DropNativeSurface();
  FDirectDraw.Surfaces().Remove(this);
}

TDirectDrawSurfaceCanvas* TDirectDrawSurface::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TDirectDrawSurfaceCanvas>(*this);
  return FCanvas.get();
}

void TDirectDrawSurface::ReleaseCanvas() {
  if (FCanvas) FCanvas->Release();
}

void TDirectDrawSurface::DropNativeSurface() {
  // A device context or a lock on the old surface must not outlive it.
  ReleaseCanvas();
  if (FLockCount > 0 && FIDDSurface) FIDDSurface->Unlock(FLockDescription.lpSurface);
  FIDDSurface.Reset();
  FIDDSurface4.Reset();
  FIDDSurface7.Reset();
  FStretchClipper.Reset();
  FGammaControl.Reset();
  FClipperAttached = false;
  FLockCount = 0;
  FDescription = DDSURFACEDESC{};
  FClientPixels = TPixelBlock{};
}

void TDirectDrawSurface::SetNativeSurface(IDirectDrawSurface* value) {
  if (value == FIDDSurface.Get()) return;
  DropNativeSurface();
  if (!value) return;

  // Ask for every interface first, so a refusal leaves the surface empty.
  TComRef<IDirectDrawSurface4> surface4;
  TComRef<IDirectDrawSurface7> surface7;
  if (QueryInto(value, IID_IDirectDrawSurface4, surface4) != S_OK || !surface4)
    throw EIntfCastError(std::string(FrameworkText::kIntfNotSupported));
  if (FDirectDraw.NativeDevice7() &&
      (QueryInto(value, IID_IDirectDrawSurface7, surface7) != S_OK || !surface7))
    throw EIntfCastError(std::string(FrameworkText::kIntfNotSupported));
  FIDDSurface.Share(value);
  FIDDSurface4 = std::move(surface4);
  FIDDSurface7 = std::move(surface7);

  TComRef<IDirectDrawClipper> clipper;
  FClipperAttached = value->GetClipper(clipper.Out()) == DD_OK && clipper;
  FDescription.dwSize = kDDSurfaceDescSize;
  value->GetSurfaceDesc(&FDescription);
  if (FDirectDraw.HardwareCaps().dwCaps2 & DDCAPS2_PRIMARYGAMMA)
    QueryInto(value, IID_IDirectDrawGammaControl, FGammaControl);
}

IDirectDrawSurface* TDirectDrawSurface::RequiredSurface() const {
  if (!FIDDSurface) RaiseNotMade("IDirectDrawSurface");
  return FIDDSurface.Get();
}

IDirectDrawSurface4* TDirectDrawSurface::RequiredSurface4() const {
  if (!FIDDSurface4) RaiseNotMade("IDirectDrawSurface4");
  return FIDDSurface4.Get();
}

IDirectDrawSurface7* TDirectDrawSurface::RequiredSurface7() const {
  if (!FIDDSurface7) RaiseNotMade("IDirectDrawSurface7");
  return FIDDSurface7.Get();
}

bool TDirectDrawSurface::CreateFromDescription(const DDSURFACEDESC& description) {
  SetNativeSurface(nullptr);
  DDSURFACEDESC request = description;
  TComRef<IDirectDrawSurface> created;
  const HRESULT result =
      FDirectDraw.RequiredDevice()->CreateSurface(&request, created.Out(), nullptr);
  FDirectDraw.SetLastResult(result);
  SetLastResult(result);
  if (result != DD_OK) return false;
  SetNativeSurface(created.Get());
  // Every new surface starts with source colour key 0.
  SetTransparentColor(0);
  return true;
}

void TDirectDrawSurface::SetSize(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) {
    SetNativeSurface(nullptr);
    return;
  }
  DDSURFACEDESC description;
  description.dwSize = kDDSurfaceDescSize;
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  description.dwHeight = static_cast<DWORD>(height);
  description.dwWidth = static_cast<DWORD>(width);
  if (!CreateInEitherMemory(description))
    throw EDirectDrawSurfaceError(DXText::kCannotMake, "Surface");
}

bool TDirectDrawSurface::CreateInEitherMemory(DDSURFACEDESC description) {
  description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | (FSystemMemory ? DDSCAPS_SYSTEMMEMORY : 0);
  if (CreateFromDescription(description)) return true;
  if (!(description.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY)) {
    description.ddsCaps.dwCaps =
        (description.ddsCaps.dwCaps & ~DDSCAPS_VIDEOMEMORY) | DDSCAPS_SYSTEMMEMORY;
    if (CreateFromDescription(description)) {
      FSystemMemory = true;
      return true;
    }
  }
  return false;
}

bool TDirectDrawSurface::Blt(const TRect* destRect, const TRect* sourceRect, DWORD flags,
                             const DDBLTFX& effects, const TDirectDrawSurface* source) {
  if (!FIDDSurface) return false;
  SetLastResult(FIDDSurface->Blt(destRect, NativeOf(source), sourceRect, flags, &effects));
  return LastResult() == DD_OK;
}

bool TDirectDrawSurface::BltFast(int32_t x, int32_t y, const TDirectDrawSurface* source,
                                 const TRect* sourceRect, DWORD flags) {
  if (!FIDDSurface) return false;
  SetLastResult(FIDDSurface->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), NativeOf(source),
                                     sourceRect, flags));
  return LastResult() == DD_OK;
}

bool TDirectDrawSurface::Fill(uint32_t pixelValue) {
  DDBLTFX effects = Effects(0);
  effects.dwFillColor = pixelValue;
  return Blt(nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, effects, nullptr);
}

void TDirectDrawSurface::Draw(int32_t x, int32_t y, TRect sourceRect,
                              const TDirectDrawSurface* source, bool transparent) {
  if (!source || x > Width() || y > Height()) return;
  if (sourceRect.Left > sourceRect.Right || sourceRect.Top > sourceRect.Bottom) {
    DrawMirrored(x, y, sourceRect, source, transparent);
    return;
  }
  TRect64 from = Widen(sourceRect);
  TRect64 to = PlaceAt(x, y, from);
  if (!ClipRects(to, from, Widen(ClientRect()), Widen(source->ClientRect()))) return;
  const TRect dest = Narrow(to);
  sourceRect = Narrow(from);
  const DDBLTFX effects = Effects(0);
  if (FClipperAttached) {
    Blt(&dest, &sourceRect, kBltFlags[transparent], effects, source);
    return;
  }
  BltFast(dest.Left, dest.Top, source, &sourceRect, kBltFastFlags[transparent]);
  if (LastResult() != DDERR_BLTFASTCANTCLIP) return;
  // Someone attached a clipper behind our back: note it and copy through Blt.
  TComRef<IDirectDrawClipper> clipper;
  if (RequiredSurface()->GetClipper(clipper.Out()) == DD_OK && clipper) FClipperAttached = true;
  Blt(&dest, &sourceRect, kBltFlags[transparent], effects, source);
}

void TDirectDrawSurface::DrawMirrored(int32_t x, int32_t y, TRect sourceRect,
                                      const TDirectDrawSurface* source, bool transparent) {
  const int64_t spanX = int64_t{sourceRect.Left} - sourceRect.Right;
  const int64_t spanY = int64_t{sourceRect.Top} - sourceRect.Bottom;
  if ((spanX < 0 ? -spanX : spanX) + x <= 0 || (spanY < 0 ? -spanY : spanY) + y <= 0) return;
  DDBLTFX effects = Effects(0);
  const bool leftRight = sourceRect.Left > sourceRect.Right;
  const bool upDown = sourceRect.Bottom < sourceRect.Top;
  if (leftRight) {
    std::swap(sourceRect.Left, sourceRect.Right);
    effects.dwDDFX |= DDBLTFX_MIRRORLEFTRIGHT;
  }
  if (upDown) {
    std::swap(sourceRect.Top, sourceRect.Bottom);
    effects.dwDDFX |= DDBLTFX_MIRRORUPDOWN;
  }
  // In the source's mirror image the copy is a plain one, so it is clipped there and
  // reflected back: trimming the destination's left edge takes from the source's
  // right side. (For a source rectangle as wide as the source this is the same as
  // reflecting the clipped rectangle; narrower ones keep their own columns.)
  const int64_t width = source->Width(), height = source->Height();
  TRect64 from = Reflect(Widen(sourceRect), leftRight, upDown, width, height);
  TRect64 to = PlaceAt(x, y, from);
  if (!ClipRects(to, from, Widen(ClientRect()), Widen(source->ClientRect()))) return;
  const TRect dest = Narrow(to);
  sourceRect = Narrow(Reflect(from, leftRight, upDown, width, height));
  Blt(&dest, &sourceRect, kBltFlags[transparent] | DDBLT_DDFX, effects, source);
}

void TDirectDrawSurface::StretchDraw(const TRect& destRect, const TRect& sourceRect,
                                     const TDirectDrawSurface* source, bool transparent) {
  if (!source || destRect.IsEmpty() || sourceRect.IsEmpty()) return;
  const DDBLTFX effects = Effects(0);
  if (FClipperAttached) {
    Blt(&destRect, &sourceRect, kBltFlags[transparent], effects, source);
    return;
  }
  IDirectDrawSurface* native = RequiredSurface();
  if (!FStretchClipper) MakeStretchClipper();
  // Attached only for this copy, so later Draw calls keep the fast path.
  native->SetClipper(FStretchClipper.Get());
  Blt(&destRect, &sourceRect, kBltFlags[transparent], effects, source);
  native->SetClipper(nullptr);
}

void TDirectDrawSurface::MakeStretchClipper() {
  TDirectDrawClipper clipper(FDirectDraw);
  const TRect bounds = ClientRect();
  clipper.ClipToRects({&bounds, 1});
  FStretchClipper.Share(clipper.NativeClipper());
}

void TDirectDrawSurface::SetTransparentColor(uint32_t pixelValue) {
  DDCOLORKEY key;
  key.dwColorSpaceLowValue = pixelValue;
  key.dwColorSpaceHighValue = pixelValue;
  SetColorKey(DDCKEY_SRCBLT, key);
}

void TDirectDrawSurface::SetColorKey(DWORD flags, const DDCOLORKEY& key) {
  if (FIDDSurface) SetLastResult(FIDDSurface->SetColorKey(flags, &key));
}

void TDirectDrawSurface::SetClipper(const TDirectDrawClipper* clipper) {
  if (FIDDSurface)
    SetLastResult(FIDDSurface->SetClipper(clipper ? clipper->NativeClipper() : nullptr));
  FClipperAttached = FIDDSurface && clipper && LastResult() == DD_OK;
}

void TDirectDrawSurface::SetPalette(const TDirectDrawPalette* palette) {
  if (FIDDSurface)
    SetLastResult(FIDDSurface->SetPalette(palette ? palette->NativePalette() : nullptr));
}

bool TDirectDrawSurface::Restore() {
  if (!FIDDSurface) return false;
  SetLastResult(FIDDSurface->Restore());
  return LastResult() == DD_OK;
}
