#include "platform/ddraw/DDSurface.h"

#include <new>
#include <optional>
#include <utility>

#include "platform/ddraw/DDClipper.h"
#include "platform/ddraw/DDPalette.h"
#include "platform/ddraw/DisplayServices.h"
#include "platform/ddraw/PixelFormat.h"
#include "platform/gdi/Gdi.h"

namespace ddraw {
namespace {

// Rectangles farther out than this are refused, so their sizes fit 32 bits.
constexpr int32_t kCoordinateLimit = 1 << 24;

bool SaneRect(const TRect& rect) {
  const auto inRange = [](int32_t value) {
    return value >= -kCoordinateLimit && value <= kCoordinateLimit;
  };
  return !rect.IsEmpty() && inRange(rect.Left) && inRange(rect.Top) && inRange(rect.Right) &&
         inRange(rect.Bottom);
}

bool WithinBounds(const TRect& rect, const TRect& bounds) {
  return !rect.IsEmpty() && rect.Left >= bounds.Left && rect.Top >= bounds.Top &&
         rect.Right <= bounds.Right && rect.Bottom <= bounds.Bottom;
}

bool ValidEffects(const DDBLTFX* effects) { return effects && effects->dwSize == kDDBltFxSize; }

DWORD MemoryCaps(TMemoryKind kind) {
  return kind == TMemoryKind::System ? DDSCAPS_SYSTEMMEMORY
                                     : DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
}

}  // namespace

TDDSurface::TDDSurface(std::shared_ptr<TSurfaceMemory> memory, DWORD roleCaps)
    : FMemory(std::move(memory)), FRoleCaps(roleCaps) {}

TDDSurface::~TDDSurface() {
  if (FDC) ::DeleteDC(FDC);
  FPalette.Reset();
  FClipper.Reset();
  FBackBuffer.Reset();
  Services().PrimaryGone(this);
}

TDDSurface* TDDSurface::From(IDirectDrawSurface* surface) {
  return dynamic_cast<TDDSurface*>(surface);
}

HRESULT TDDSurface::QueryInterface(REFIID iid, void** object) {
  if (!object) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  if (iid != IID_IDirectDrawSurface && iid != IID_IDirectDrawSurface4 &&
      iid != IID_IDirectDrawSurface7) {
    return E_NOINTERFACE;
  }
  AddRef();
  *object = static_cast<IDirectDrawSurface7*>(this);
  return DD_OK;
}

HRESULT TDDSurface::Blt(const TRect* destRect, IDirectDrawSurface* source, const TRect* sourceRect,
                        DWORD flags, const DDBLTFX* effects) {
  if (FMemory->Lost()) return DDERR_SURFACELOST;
  const TRect target = destRect ? *destRect : Bounds();
  if (!SaneRect(target)) return DDERR_INVALIDRECT;
  if (!FClipper && !WithinBounds(target, Bounds())) return DDERR_INVALIDRECT;
  std::vector<TRect> pieces;
  if (const HRESULT result = ClipTarget(target, &pieces); result != DD_OK) return result;
  if (flags & DDBLT_COLORFILL) return Fill(pieces, effects);

  TDDSurface* from = From(source);
  if (!from) return DDERR_INVALIDPARAMS;
  if (from->FMemory->Lost()) return DDERR_SURFACELOST;
  const TRect sourceArea = sourceRect ? *sourceRect : from->Bounds();
  if (!WithinBounds(sourceArea, from->Bounds())) return DDERR_INVALIDRECT;
  if ((flags & (DDBLT_DDFX | DDBLT_KEYSRCOVERRIDE)) && !ValidEffects(effects))
    return DDERR_INVALIDPARAMS;
  const DWORD mirror = (flags & DDBLT_DDFX) ? effects->dwDDFX : 0;
  const bool keyed = (flags & (DDBLT_KEYSRC | DDBLT_KEYSRCOVERRIDE)) != 0;
  const DWORD key = (flags & DDBLT_KEYSRCOVERRIDE) ? effects->ddckSrcColorkey.dwColorSpaceLowValue
                                                   : from->FSourceKey.dwColorSpaceLowValue;
  return CopyPixels(*from, sourceArea, target, pieces, keyed, key, mirror);
}

HRESULT TDDSurface::BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, const TRect* sourceRect,
                            DWORD flags) {
  if (FClipper) return DDERR_BLTFASTCANTCLIP;
  if (FMemory->Lost()) return DDERR_SURFACELOST;
  if (flags & DDBLTFAST_DESTCOLORKEY) return DDERR_UNSUPPORTED;
  TDDSurface* from = From(source);
  if (!from) return DDERR_INVALIDPARAMS;
  if (from->FMemory->Lost()) return DDERR_SURFACELOST;
  const TRect sourceArea = sourceRect ? *sourceRect : from->Bounds();
  if (!WithinBounds(sourceArea, from->Bounds())) return DDERR_INVALIDRECT;
  const int64_t right = int64_t{x} + sourceArea.Width();
  const int64_t bottom = int64_t{y} + sourceArea.Height();
  if (right > Bounds().Right || bottom > Bounds().Bottom) return DDERR_INVALIDRECT;
  const TRect target{static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(right),
                     static_cast<int32_t>(bottom)};
  return CopyPixels(*from, sourceArea, target, {target}, (flags & DDBLTFAST_SRCCOLORKEY) != 0,
                    from->FSourceKey.dwColorSpaceLowValue, 0);
}

HRESULT TDDSurface::ClipTarget(const TRect& target, std::vector<TRect>* pieces) const {
  pieces->clear();
  if (!FClipper) {
    pieces->push_back(target);
    return DD_OK;
  }
  std::vector<TRect> clip;
  if (const HRESULT result = FClipper->ClipRects(&clip); result != DD_OK) return result;
  const TRect visible = IntersectRects(target, Bounds());
  for (const TRect& each : clip) {
    const TRect piece = IntersectRects(each, visible);
    if (!piece.IsEmpty()) pieces->push_back(piece);
  }
  return DD_OK;
}

HRESULT TDDSurface::Fill(const std::vector<TRect>& pieces, const DDBLTFX* effects) {
  if (!ValidEffects(effects)) return DDERR_INVALIDPARAMS;
  TRect written;
  for (const TRect& piece : pieces) {
    gdi::FillPixels(FMemory->View(), piece, effects->dwFillColor);
    written = UnionRects(written, piece);
  }
  Present(written);
  return DD_OK;
}

HRESULT TDDSurface::CopyPixels(TDDSurface& source, const TRect& sourceRect, const TRect& target,
                               const std::vector<TRect>& pieces, bool keyed, DWORD key,
                               DWORD mirror) {
  if (source.FMemory->View().Format.BitCount != FMemory->View().Format.BitCount)
    return DDERR_INVALIDPIXELFORMAT;
  TBlitRequest request{FMemory->View(),
                       target,
                       source.FMemory->View(),
                       sourceRect,
                       (mirror & DDBLTFX_MIRRORLEFTRIGHT) != 0,
                       (mirror & DDBLTFX_MIRRORUPDOWN) != 0,
                       keyed,
                       key};
  TRect written;
  for (const TRect& piece : pieces) written = UnionRects(written, piece);
  std::optional<gdi::TPixelCopy> band;
  if (source.FMemory == FMemory && RectsOverlap(sourceRect, written)) {
    band.emplace(source.FMemory->View(), sourceRect);
    request.source = band->View();
    request.sourceRect = TRect{0, 0, sourceRect.Width(), sourceRect.Height()};
  }
  for (const TRect& piece : pieces) BlitPixels(request, piece, Services().ForceGenericBlits());
  Present(written);
  return DD_OK;
}

HRESULT TDDSurface::Flip(IDirectDrawSurface* target, DWORD) {
  if (!FBackBuffer) return DDERR_NOTFLIPPABLE;
  if (target && From(target) != FBackBuffer.Get()) return DDERR_INVALIDPARAMS;
  if (FMemory->Lost() || FBackBuffer->FMemory->Lost()) return DDERR_SURFACELOST;
  if (FLocked || FDC || FBackBuffer->FLocked || FBackBuffer->FDC) return DDERR_SURFACEBUSY;
  // A flip takes effect at the vertical blank, as the hardware's would.
  Services().WaitForVerticalBlank();
  std::swap(FMemory, FBackBuffer->FMemory);
  Present(Bounds());
  return DD_OK;
}

HRESULT TDDSurface::GetAttachedSurface(const DDSCAPS* caps, IDirectDrawSurface** surface) {
  if (!caps || !surface) return DDERR_INVALIDPARAMS;
  *surface = nullptr;
  if (!FBackBuffer || !(caps->dwCaps & (DDSCAPS_BACKBUFFER | DDSCAPS_FLIP))) return DDERR_NOTFOUND;
  FBackBuffer->AddRef();
  *surface = FBackBuffer.Get();
  return DD_OK;
}

HRESULT TDDSurface::DeleteAttachedSurface(DWORD, IDirectDrawSurface* surface) {
  if (!FBackBuffer || (surface && From(surface) != FBackBuffer.Get()))
    return DDERR_SURFACENOTATTACHED;
  FBackBuffer.Reset();
  return DD_OK;
}

HRESULT TDDSurface::GetClipper(IDirectDrawClipper** clipper) {
  if (!clipper) return DDERR_INVALIDPARAMS;
  *clipper = FClipper.Get();
  if (!FClipper) return DDERR_NOCLIPPERATTACHED;
  FClipper->AddRef();
  return DD_OK;
}

HRESULT TDDSurface::SetClipper(IDirectDrawClipper* clipper) {
  TDDClipper* ours = TDDClipper::From(clipper);
  if (clipper && !ours) return DDERR_INVALIDPARAMS;
  FClipper.Share(ours);
  return DD_OK;
}

HRESULT TDDSurface::GetColorKey(DWORD flags, DDCOLORKEY* key) {
  if (!key) return DDERR_INVALIDPARAMS;
  if (!(flags & DDCKEY_SRCBLT)) return DDERR_UNSUPPORTED;
  *key = FSourceKey;
  return DD_OK;
}

HRESULT TDDSurface::SetColorKey(DWORD flags, const DDCOLORKEY* key) {
  if (!(flags & DDCKEY_SRCBLT)) return DDERR_UNSUPPORTED;
  // Without a key the surface goes back to its first one, raw value 0.
  FSourceKey = key ? *key : DDCOLORKEY{};
  return DD_OK;
}

HRESULT TDDSurface::GetDC(HDC* dc) {
  if (!dc) return DDERR_INVALIDPARAMS;
  *dc = nullptr;
  if (FMemory->Lost()) return DDERR_SURFACELOST;
  if (FDC) return DDERR_DCALREADYCREATED;
  FDC = ::CreatePixelBufferDC(View());
  if (!FDC) return DDERR_CANTCREATEDC;
  *dc = FDC;
  return DD_OK;
}

HRESULT TDDSurface::ReleaseDC(HDC dc) {
  if (!FDC || dc != FDC) return DDERR_INVALIDPARAMS;
  ::DeleteDC(FDC);
  FDC = nullptr;
  Present(Bounds());
  return DD_OK;
}

HRESULT TDDSurface::GetPalette(IDirectDrawPalette** palette) {
  if (!palette) return DDERR_INVALIDPARAMS;
  *palette = FPalette.Get();
  if (!FPalette) return DDERR_NOPALETTEATTACHED;
  FPalette->AddRef();
  return DD_OK;
}

HRESULT TDDSurface::SetPalette(IDirectDrawPalette* palette) {
  TDDPalette* ours = TDDPalette::From(palette);
  if (palette && !ours) return DDERR_INVALIDPARAMS;
  // An open device context reads the palette's colour table.
  if (FDC) return DDERR_SURFACEBUSY;
  FPalette.Share(ours);
  if (FMemory->View().Format.BitCount == 8) Present(Bounds());
  return DD_OK;
}

HRESULT TDDSurface::GetSurfaceDesc(DDSURFACEDESC* desc) {
  if (!desc || !ValidDescSize(desc->dwSize)) return DDERR_INVALIDPARAMS;
  const DWORD size = desc->dwSize;
  const TPixelView& view = FMemory->View();
  *desc = DDSURFACEDESC{};
  desc->dwSize = size;
  desc->dwFlags =
      DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_CKSRCBLT;
  desc->dwWidth = static_cast<DWORD>(view.Width);
  desc->dwHeight = static_cast<DWORD>(view.Height);
  desc->lPitch = static_cast<LONG>(view.Pitch);
  if (FBackBuffer) {
    desc->dwFlags |= DDSD_BACKBUFFERCOUNT;
    desc->dwBackBufferCount = 1;
  }
  desc->ddckCKSrcBlt = FSourceKey;
  desc->ddpfPixelFormat = DescribePixelFormat(view.Format.BitCount);
  desc->ddsCaps.dwCaps = FRoleCaps | MemoryCaps(FMemory->Kind());
  return DD_OK;
}

HRESULT TDDSurface::IsLost() { return FMemory->Lost() ? DDERR_SURFACELOST : DD_OK; }

HRESULT TDDSurface::Lock(const TRect* rect, DDSURFACEDESC* desc, DWORD, HANDLE) {
  if (!desc || !ValidDescSize(desc->dwSize)) return DDERR_INVALIDPARAMS;
  if (FMemory->Lost()) return DDERR_SURFACELOST;
  if (FLocked) return DDERR_SURFACEBUSY;
  const TRect area = rect ? *rect : Bounds();
  if (!WithinBounds(area, Bounds())) return DDERR_INVALIDRECT;
  GetSurfaceDesc(desc);
  const TPixelView& view = FMemory->View();
  desc->lpSurface =
      view.Row(area.Top) + static_cast<int64_t>(area.Left) * BytesPerPixel(view.Format.BitCount);
  desc->dwFlags |= DDSD_LPSURFACE;
  FLocked = true;
  FLockRect = area;
  return DD_OK;
}

HRESULT TDDSurface::Unlock(void*) {
  if (!FLocked) return DDERR_NOTLOCKED;
  FLocked = false;
  Present(FLockRect);
  return DD_OK;
}

HRESULT TDDSurface::Restore() {
  if (FMemory->Lost()) FMemory->Reclaim();
  if (FBackBuffer && FBackBuffer->FMemory->Lost()) FBackBuffer->FMemory->Reclaim();
  return DD_OK;
}

void TDDSurface::AttachBackBuffer(TDDSurface* back) { FBackBuffer.Share(back); }

TDDSurface* TDDSurface::Duplicate() const {
  constexpr DWORD kChainCaps =
      DDSCAPS_FRONTBUFFER | DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  auto* copy = new (std::nothrow) TDDSurface(FMemory, FRoleCaps & ~kChainCaps);
  if (copy) copy->FSourceKey = FSourceKey;
  return copy;
}

TPixelView TDDSurface::View() const {
  TPixelView view = FMemory->View();
  if (view.Format.BitCount == 8) {
    view.Format.ColorTable = FPalette ? FPalette->ColorTable() : DefaultColorTable();
    view.Format.ColorCount = 256;
  }
  return view;
}

void TDDSurface::Present(const TRect& dirty) const { Services().Present(FMemory.get(), dirty); }

}  // namespace ddraw
