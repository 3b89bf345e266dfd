#include "platform/ddraw/DDSurface.h"

#include <cstring>
#include <new>
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

// A private copy of `rect`, read before an overlapping write starts.
struct TSourceBand {
  std::unique_ptr<uint8_t[]> pixels;
  TPixelView view;
};

TSourceBand ReadBand(const TPixelView& from, const TRect& rect) {
  const uint32_t bytesPerPixel = BytesPerPixel(from.bitCount);
  const auto rowBytes = static_cast<size_t>(rect.Width()) * bytesPerPixel;
  const auto pitch =
      static_cast<size_t>(RowPitch(static_cast<uint64_t>(rect.Width()), from.bitCount));
  TSourceBand band;
  band.pixels.reset(new uint8_t[pitch * static_cast<size_t>(rect.Height())]);
  band.view = TPixelView{band.pixels.get(), rect.Width(), rect.Height(),
                         static_cast<int32_t>(pitch), from.bitCount};
  for (int32_t y = 0; y < rect.Height(); ++y) {
    std::memcpy(band.pixels.get() + static_cast<size_t>(y) * pitch,
                from.bits + static_cast<int64_t>(rect.Top + y) * from.pitch +
                    static_cast<int64_t>(rect.Left) * bytesPerPixel,
                rowBytes);
  }
  return band;
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
    FillPixels(FMemory->View(), piece, effects->dwFillColor);
    written = UnionRects(written, piece);
  }
  Present(written);
  return DD_OK;
}

HRESULT TDDSurface::CopyPixels(TDDSurface& source, const TRect& sourceRect, const TRect& target,
                               const std::vector<TRect>& pieces, bool keyed, DWORD key,
                               DWORD mirror) {
  if (source.FMemory->View().bitCount != FMemory->View().bitCount) return DDERR_INVALIDPIXELFORMAT;
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
  TSourceBand band;
  if (source.FMemory == FMemory && RectsOverlap(sourceRect, written)) {
    band = ReadBand(source.FMemory->View(), sourceRect);
    request.source = band.view;
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
  const TPixelView& view = FMemory->View();
  const DDPIXELFORMAT format = DescribePixelFormat(view.bitCount);
  PixelBufferDesc pixels;
  pixels.bits = view.bits;
  pixels.width = view.width;
  pixels.height = view.height;
  pixels.pitch = view.pitch;
  pixels.bitCount = view.bitCount;
  pixels.redMask = format.dwRBitMask;
  pixels.greenMask = format.dwGBitMask;
  pixels.blueMask = format.dwBBitMask;
  if (view.bitCount == 8) {
    pixels.colorTable = FPalette ? FPalette->ColorTable() : DefaultColorTable();
    pixels.colorCount = 256;
  }
  FDC = ::CreatePixelBufferDC(pixels);
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
  if (FMemory->View().bitCount == 8) Present(Bounds());
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
  desc->dwWidth = static_cast<DWORD>(view.width);
  desc->dwHeight = static_cast<DWORD>(view.height);
  desc->lPitch = view.pitch;
  if (FBackBuffer) {
    desc->dwFlags |= DDSD_BACKBUFFERCOUNT;
    desc->dwBackBufferCount = 1;
  }
  desc->ddckCKSrcBlt = FSourceKey;
  desc->ddpfPixelFormat = DescribePixelFormat(view.bitCount);
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
  desc->lpSurface = view.bits + static_cast<int64_t>(area.Top) * view.pitch +
                    static_cast<int64_t>(area.Left) * BytesPerPixel(view.bitCount);
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

const PALETTEENTRY* TDDSurface::PaletteEntries() const {
  return FPalette ? FPalette->Entries() : DefaultPaletteEntries();
}

void TDDSurface::Present(const TRect& dirty) const { Services().Present(FMemory.get(), dirty); }

}  // namespace ddraw
