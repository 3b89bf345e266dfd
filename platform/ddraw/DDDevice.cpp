#include "platform/ddraw/DDDevice.h"

#include <algorithm>
#include <new>

#include "platform/ddraw/DDClipper.h"
#include "platform/ddraw/DDPalette.h"
#include "platform/ddraw/DDSurface.h"
#include "platform/ddraw/DisplayServices.h"
#include "platform/ddraw/PixelFormat.h"

namespace ddraw {
namespace {

constexpr DWORD kSupportedSurfaceCaps =
    DDSCAPS_BACKBUFFER | DDSCAPS_COMPLEX | DDSCAPS_FLIP | DDSCAPS_FRONTBUFFER |
    DDSCAPS_OFFSCREENPLAIN | DDSCAPS_PALETTE | DDSCAPS_PRIMARYSURFACE | DDSCAPS_SYSTEMMEMORY |
    DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;

DDSURFACEDESC DescribeMode(const DDDisplayMode& mode) {
  DDSURFACEDESC desc;
  desc.dwSize = kDDSurfaceDescSize;
  desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
  desc.dwWidth = mode.width;
  desc.dwHeight = mode.height;
  desc.lPitch = static_cast<LONG>(RowPitch(mode.width, mode.bitCount));
  desc.dwRefreshRate = static_cast<DWORD>(ScreenHost().RefreshRateHz());
  desc.ddpfPixelFormat = DescribePixelFormat(mode.bitCount);
  return desc;
}

bool MatchesFilter(const DDSURFACEDESC* filter, const DDDisplayMode& mode) {
  if (!filter) return true;
  if ((filter->dwFlags & DDSD_WIDTH) && filter->dwWidth != mode.width) return false;
  if ((filter->dwFlags & DDSD_HEIGHT) && filter->dwHeight != mode.height) return false;
  return !(filter->dwFlags & DDSD_PIXELFORMAT) ||
         filter->ddpfPixelFormat.dwRGBBitCount == mode.bitCount;
}

}  // namespace

TDDDevice::~TDDDevice() {
  if (FModeSet) Services().RestoreScreenMode();
  if (FExclusiveWindow) ScreenHost().SetExclusiveWindow(nullptr);
}

HRESULT TDDDevice::QueryInterface(REFIID iid, void** object) {
  if (!object) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  if (iid != IID_IDirectDraw && iid != IID_IDirectDraw4 && iid != IID_IDirectDraw7)
    return E_NOINTERFACE;
  AddRef();
  *object = static_cast<IDirectDraw7*>(this);
  return DD_OK;
}

HRESULT TDDDevice::CreateClipper(DWORD, IDirectDrawClipper** clipper, IUnknown* outer) {
  if (outer) return DDERR_NOAGGREGATION;
  return TDDClipper::Create(clipper);
}

HRESULT TDDDevice::CreatePalette(DWORD caps, const PALETTEENTRY* entries,
                                 IDirectDrawPalette** palette, IUnknown* outer) {
  if (outer) return DDERR_NOAGGREGATION;
  return TDDPalette::Create(caps, entries, palette);
}

HRESULT TDDDevice::CreateSurface(DDSURFACEDESC* desc, IDirectDrawSurface** surface,
                                 IUnknown* outer) {
  if (!surface) return DDERR_INVALIDPARAMS;
  *surface = nullptr;
  if (outer) return DDERR_NOAGGREGATION;
  if (!desc || !ValidDescSize(desc->dwSize)) return DDERR_INVALIDPARAMS;
  const DWORD caps = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps : DDSCAPS_OFFSCREENPLAIN;
  if (caps & ~(kSupportedSurfaceCaps | DDSCAPS_3DDEVICE)) return DDERR_INVALIDCAPS;
  if ((caps & DDSCAPS_SYSTEMMEMORY) && (caps & DDSCAPS_VIDEOMEMORY)) return DDERR_INVALIDCAPS;
  if ((desc->dwFlags & DDSD_PIXELFORMAT) && !MatchesPixelFormat(desc->ddpfPixelFormat)) {
    return DDERR_INVALIDPIXELFORMAT;
  }
  return (caps & DDSCAPS_PRIMARYSURFACE) ? CreatePrimary(*desc, surface)
                                         : CreateOffscreen(*desc, surface);
}

HRESULT TDDDevice::CreatePrimary(const DDSURFACEDESC& desc, IDirectDrawSurface** surface) {
  const DWORD caps = desc.ddsCaps.dwCaps;
  const bool chain = (caps & DDSCAPS_FLIP) != 0;
  if (chain && (!(caps & DDSCAPS_COMPLEX) || !(desc.dwFlags & DDSD_BACKBUFFERCOUNT) ||
                desc.dwBackBufferCount != 1)) {
    return DDERR_INVALIDPARAMS;
  }
  // The screen: the display mode's size and format, outside the budget.
  const DDDisplayMode screen = Services().ScreenMode();
  std::shared_ptr<TSurfaceMemory> memory;
  HRESULT result = TSurfaceMemory::Create(screen.width, screen.height, screen.bitCount,
                                          TMemoryKind::Screen, &memory);
  if (result != DD_OK) return result;
  constexpr DWORD kChainCaps = DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  const DWORD extra = caps & DDSCAPS_3DDEVICE;
  TComRef<TDDSurface> front(new (std::nothrow) TDDSurface(
      memory, DDSCAPS_PRIMARYSURFACE | extra | (chain ? kChainCaps | DDSCAPS_FRONTBUFFER : 0)));
  if (!front) return DDERR_OUTOFMEMORY;
  if (chain) {
    // The back buffer lives in video memory when the budget allows.
    std::shared_ptr<TSurfaceMemory> backMemory;
    result = TSurfaceMemory::Create(screen.width, screen.height, screen.bitCount,
                                    TMemoryKind::Video, &backMemory);
    if (result == DDERR_OUTOFVIDEOMEMORY) {
      result = TSurfaceMemory::Create(screen.width, screen.height, screen.bitCount,
                                      TMemoryKind::System, &backMemory);
    }
    const TComRef<TDDSurface> back(
        result == DD_OK ? new (std::nothrow)
                              TDDSurface(backMemory, DDSCAPS_BACKBUFFER | kChainCaps | extra)
                        : nullptr);
    if (!back) return result == DD_OK ? DDERR_OUTOFMEMORY : result;
    front->AttachBackBuffer(back.Get());
  }
  Services().SetPrimary(front.Get());
  Services().Present(front->Memory(), front->Memory()->Bounds());
  *surface = front.Detach();
  return DD_OK;
}

HRESULT TDDDevice::CreateOffscreen(const DDSURFACEDESC& desc, IDirectDrawSurface** surface) {
  if ((desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT))
    return DDERR_INVALIDPARAMS;
  if (desc.ddsCaps.dwCaps & (DDSCAPS_FLIP | DDSCAPS_FRONTBUFFER | DDSCAPS_BACKBUFFER))
    return DDERR_INVALIDCAPS;
  const DWORD bitCount = (desc.dwFlags & DDSD_PIXELFORMAT) ? desc.ddpfPixelFormat.dwRGBBitCount
                                                           : Services().ScreenMode().bitCount;
  const TMemoryKind kind =
      (desc.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY) ? TMemoryKind::System : TMemoryKind::Video;
  std::shared_ptr<TSurfaceMemory> memory;
  // With DDSD_LPSURFACE the caller brings the pixels (and their pitch) and keeps them.
  const bool client = (desc.dwFlags & DDSD_LPSURFACE) != 0;
  if (client && !(desc.dwFlags & DDSD_PITCH)) return DDERR_INVALIDPARAMS;
  if (const HRESULT result =
          client ? TSurfaceMemory::CreateOver(desc.dwWidth, desc.dwHeight, bitCount, kind,
                                              desc.lpSurface, desc.lPitch, &memory)
                 : TSurfaceMemory::Create(desc.dwWidth, desc.dwHeight, bitCount, kind, &memory);
      result != DD_OK) {
    return result;
  }
  const DWORD role = DDSCAPS_OFFSCREENPLAIN | (desc.ddsCaps.dwCaps & DDSCAPS_3DDEVICE);
  auto* created = new (std::nothrow) TDDSurface(memory, role);
  if (!created) return DDERR_OUTOFMEMORY;
  *surface = created;
  return DD_OK;
}

HRESULT TDDDevice::DuplicateSurface(IDirectDrawSurface* source, IDirectDrawSurface** duplicate) {
  if (!duplicate) return DDERR_INVALIDPARAMS;
  *duplicate = nullptr;
  const TDDSurface* from = TDDSurface::From(source);
  if (!from) return DDERR_INVALIDPARAMS;
  // The caller frees client pixels when its surface goes; a duplicate could outlive them.
  if (from->Memory()->ClientMemory()) return DDERR_CANTDUPLICATE;
  *duplicate = from->Duplicate();
  return *duplicate ? DD_OK : DDERR_OUTOFMEMORY;
}

HRESULT TDDDevice::EnumDisplayModes(DWORD, DDSURFACEDESC* filter, void* context,
                                    LPDDENUMMODESCALLBACK callback) {
  if (!callback) return DDERR_INVALIDPARAMS;
  for (const DDDisplayMode& mode : Services().DisplayModes()) {
    if (!MatchesFilter(filter, mode)) continue;
    DDSURFACEDESC desc = DescribeMode(mode);
    if (callback(&desc, context) == static_cast<HRESULT>(DDENUMRET_CANCEL)) break;
  }
  return DD_OK;
}

HRESULT TDDDevice::FlipToGDISurface() { return DD_OK; }

HRESULT TDDDevice::GetCaps(DDCAPS* hardware, DDCAPS* emulation) {
  if (!hardware && !emulation) return DDERR_INVALIDPARAMS;
  if ((hardware && hardware->dwSize != kDDCapsSize) ||
      (emulation && emulation->dwSize != kDDCapsSize)) {
    return DDERR_INVALIDPARAMS;
  }
  if (hardware) FillCaps(hardware);
  if (emulation) FillCaps(emulation);
  return DD_OK;
}

void TDDDevice::FillCaps(DDCAPS* caps) const {
  *caps = DDCAPS{};
  caps->dwSize = kDDCapsSize;
  caps->dwCaps =
      DDCAPS_BLT | DDCAPS_BLTCOLORFILL | DDCAPS_BLTSTRETCH | DDCAPS_COLORKEY | DDCAPS_PALETTE;
  caps->dwCKeyCaps = DDCKEYCAPS_SRCBLT;
  caps->dwFXCaps = DDFXCAPS_BLTMIRRORLEFTRIGHT | DDFXCAPS_BLTMIRRORUPDOWN | DDFXCAPS_BLTSTRETCHX |
                   DDFXCAPS_BLTSTRETCHY;
  caps->dwPalCaps = DDPCAPS_8BIT | DDPCAPS_4BIT | DDPCAPS_ALLOW256 | DDPCAPS_PRIMARYSURFACE;
  const uint64_t budget = Services().VideoMemoryBudget();
  const uint64_t used = Services().VideoMemoryInUse();
  caps->dwVidMemTotal = static_cast<DWORD>(std::min<uint64_t>(budget, UINT32_MAX));
  caps->dwVidMemFree =
      static_cast<DWORD>(std::min<uint64_t>(budget - std::min(used, budget), UINT32_MAX));
  caps->ddsCaps = kSupportedSurfaceCaps;
}

HRESULT TDDDevice::GetDisplayMode(DDSURFACEDESC* desc) {
  if (!desc || !ValidDescSize(desc->dwSize)) return DDERR_INVALIDPARAMS;
  const DWORD size = desc->dwSize;
  *desc = DescribeMode(Services().ScreenMode());
  desc->dwSize = size;
  return DD_OK;
}

HRESULT TDDDevice::RestoreDisplayMode() {
  Services().RestoreScreenMode();
  FModeSet = false;
  return DD_OK;
}

HRESULT TDDDevice::SetCooperativeLevel(HWND window, DWORD flags) {
  const bool normal = (flags & DDSCL_NORMAL) != 0;
  const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
  if (normal == exclusive) return DDERR_INVALIDPARAMS;
  if (exclusive && (!(flags & DDSCL_FULLSCREEN) || !window)) return DDERR_INVALIDPARAMS;
  FExclusiveWindow = exclusive ? window : nullptr;
  ScreenHost().SetExclusiveWindow(FExclusiveWindow);
  return DD_OK;
}

HRESULT TDDDevice::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) {
  const DDDisplayMode mode{width, height, bitsPerPixel};
  if (!Services().OffersMode(mode)) return DDERR_UNSUPPORTEDMODE;
  Services().SetScreenMode(mode);
  FModeSet = true;
  return DD_OK;
}

HRESULT TDDDevice::WaitForVerticalBlank(DWORD flags, HANDLE) {
  if (flags & DDWAITVB_BLOCKBEGINEVENT) return DDERR_UNSUPPORTED;
  Services().WaitForVerticalBlank();
  return DD_OK;
}

}  // namespace ddraw
