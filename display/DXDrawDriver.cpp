#include "display/DXDrawDriver.h"

#include <algorithm>

#include "device/DXErrors.h"
#include "device/DirectDraw.h"
#include "device/DirectDrawClipper.h"
#include "device/DirectDrawPalette.h"
#include "display/DXDraw.h"
#include "platform/ui/Forms.h"
#include "surface/DirectDrawSurface.h"

TDXDrawDriver::TDXDrawDriver(TCustomDXDraw& dxDraw) : FDXDraw(dxDraw) {
  const TDXDrawOptions options = FDXDraw.Options();
  // With 3D the driver selection would pick a GUID here; this platform has none.
  const bool onDriver = options.Contains(doFullScreen) && options.Contains(doHardware) &&
                        !options.Contains(doSystemMemory);
  FDXDraw.FDevice = std::make_unique<TDirectDraw>(onDriver ? FDXDraw.DriverGUID() : nullptr,
                                                  options.Contains(doDirectX7Mode));
}

TDXDrawDriver::~TDXDrawDriver() {
  Finalize();
  FDXDraw.FDevice.reset();
}

void TDXDrawDriver::Finalize() {
  FDXDraw.FClipper.reset();
  FDXDraw.FPalette.reset();
  FDXDraw.FSurface.reset();
  FDXDraw.FPrimary.reset();
}

bool TDXDrawDriver::SetSize(int32_t, int32_t) { return false; }

bool TDXDrawDriver::Restore() {
  TDirectDrawSurface* primary = FDXDraw.Primary();
  TDirectDrawSurface* surface = FDXDraw.Surface();
  if (!primary || !surface || !primary->Restore() || !surface->Restore()) return false;
  primary->Fill(0);
  surface->Fill(0);
  return true;
}

void TDXDrawDriver::Initialize3D() { throw EDXDrawError(DXText::k3DDeviceNotFound); }

void TDXDrawDriver::CreatePrimary(const DDSURFACEDESC& description) {
  FDXDraw.FPrimary = std::make_unique<TDirectDrawSurface>(*FDXDraw.FDevice);
  if (!FDXDraw.FPrimary->CreateFromDescription(description))
    throw EDXDrawError(DXText::kCannotMake, "Primary Surface");
}

void TDXDrawDriver::CreatePalette(DWORD caps) {
  const bool allow256 = FDXDraw.EffectiveOptions().Contains(doAllowPalette256);
  PALETTEENTRY entries[256];
  TCustomDXDraw::ColorTableToEntries(FDXDraw.FColorTable, allow256, entries);
  FDXDraw.FPalette = std::make_unique<TDirectDrawPalette>(*FDXDraw.FDevice);
  // A failure is only recorded in the palette object.
  FDXDraw.FPalette->CreatePalette(caps | (allow256 ? DDPCAPS_ALLOW256 : 0), entries);
}

// --- Blit driver --------------------------------------------------------------

void TDXDrawDriverBlt::Initialize() {
  TDirectDraw& device = *FDXDraw.FDevice;
  DDSURFACEDESC description;
  description.dwSize = kDDSurfaceDescSize;
  description.dwFlags = DDSD_CAPS;
  description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  CreatePrimary(description);
  FDXDraw.FSurface = std::make_unique<TDirectDrawSurface>(device);

  // Copies onto the screen stay inside the control's window.
  FDXDraw.FClipper = std::make_unique<TDirectDrawClipper>(device);
  FDXDraw.FClipper->SetHandle(FDXDraw.Handle());
  FDXDraw.FPrimary->SetClipper(FDXDraw.FClipper.get());

  CreatePalette(DDPCAPS_8BIT | DDPCAPS_INITIALIZE);
  FDXDraw.FPrimary->SetPalette(FDXDraw.FPalette.get());
  InitializeSurface();
}

void TDXDrawDriverBlt::InitializeSurface() {
  TDirectDrawSurface& surface = *FDXDraw.FSurface;
  surface.SetNativeSurface(nullptr);
  FDXDraw.FEffectiveOptions.Exclude(doSystemMemory);

  DDSURFACEDESC description;
  description.dwSize = kDDSurfaceDescSize;
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  description.dwWidth = static_cast<DWORD>(std::max(FDXDraw.FSurfaceWidth, 1));
  description.dwHeight = static_cast<DWORD>(std::max(FDXDraw.FSurfaceHeight, 1));
  description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  if (FDXDraw.Options().Contains(doSystemMemory))
    description.ddsCaps.dwCaps |= DDSCAPS_SYSTEMMEMORY;
  if (FDXDraw.EffectiveOptions().Contains(do3D)) description.ddsCaps.dwCaps |= DDSCAPS_3DDEVICE;
  if (!surface.CreateFromDescription(description)) {
    description.ddsCaps.dwCaps |= DDSCAPS_SYSTEMMEMORY;
    if (!surface.CreateFromDescription(description))
      throw EDXDrawError(DXText::kCannotMake, "Surface");
  }
  if (!(surface.Description().ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY))
    FDXDraw.FEffectiveOptions.Include(doSystemMemory);

  surface.SetPalette(FDXDraw.FPalette.get());
  surface.Fill(0);
  if (FDXDraw.EffectiveOptions().Contains(do3D)) Initialize3D();
}

void TDXDrawDriverBlt::Flip() {
  const TDXDrawOptions options = FDXDraw.EffectiveOptions();
  TDirectDrawSurface& surface = *FDXDraw.FSurface;
  const TPoint origin = FDXDraw.ClientToScreen({0, 0});
  TRect dest;
  if (options.Contains(doStretch)) {
    dest = {origin.X, origin.Y, origin.X + FDXDraw.Width(), origin.Y + FDXDraw.Height()};
  } else {
    TPoint topLeft = origin;
    if (options.Contains(doCenter)) {
      topLeft.X += (FDXDraw.Width() - surface.Width()) / 2;
      topLeft.Y += (FDXDraw.Height() - surface.Height()) / 2;
    }
    dest = {topLeft.X, topLeft.Y, topLeft.X + surface.Width(), topLeft.Y + surface.Height()};
  }
  TDirectDraw& device = *FDXDraw.FDevice;
  if (options.Contains(doWaitVBlank))
    device.SetLastResult(
        device.RequiredDevice()->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr));
  DDBLTFX effects;
  effects.dwSize = kDDBltFxSize;
  const TRect source = surface.ClientRect();
  FDXDraw.FPrimary->Blt(&dest, &source, DDBLT_WAIT, effects, &surface);
}

bool TDXDrawDriverBlt::SetSize(int32_t width, int32_t height) {
  FDXDraw.FSurfaceWidth = std::max(width, 1);
  FDXDraw.FSurfaceHeight = std::max(height, 1);
  TCustomDXDraw::THoldRestoreNotify hold(FDXDraw);
  FDXDraw.SendNotify(nkFinalizeSurface);
  if (FDXDraw.FInitializeSurfaceFired) {
    FDXDraw.FInitializeSurfaceFired = false;
    FDXDraw.TriggerFinalizeSurface();
  }
  InitializeSurface();
  FDXDraw.SendNotify(nkInitializeSurface);
  FDXDraw.FInitializeSurfaceFired = true;
  FDXDraw.TriggerInitializeSurface();
  return true;
}

// --- Flip driver --------------------------------------------------------------

void TDXDrawDriverFlip::Initialize() {
  TDirectDraw& device = *FDXDraw.FDevice;
  const bool with3D = FDXDraw.EffectiveOptions().Contains(do3D);
  DDSURFACEDESC description;
  description.dwSize = kDDSurfaceDescSize;
  description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  description.dwBackBufferCount = 1;
  description.ddsCaps.dwCaps =
      DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | (with3D ? DDSCAPS_3DDEVICE : 0);
  CreatePrimary(description);

  FDXDraw.FSurface = std::make_unique<TDirectDrawSurface>(device);
  DDSCAPS backCaps;
  backCaps.dwCaps = DDSCAPS_BACKBUFFER;
  TComRef<IDirectDrawSurface> back;
  if (FDXDraw.FPrimary->RequiredSurface()->GetAttachedSurface(&backCaps, back.Out()) == DD_OK &&
      back) {
    FDXDraw.FSurface->SetNativeSurface(back.Get());
  }
  FDXDraw.FEffectiveOptions.Exclude(doSystemMemory);
  if (FDXDraw.FSurface->Description().ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY)
    FDXDraw.FEffectiveOptions.Include(doSystemMemory);

  FDXDraw.FClipper = std::make_unique<TDirectDrawClipper>(device);

  CreatePalette(DDPCAPS_8BIT);
  FDXDraw.FPrimary->SetPalette(FDXDraw.FPalette.get());
  FDXDraw.FSurface->SetPalette(FDXDraw.FPalette.get());
  if (with3D) Initialize3D();
}

void TDXDrawDriverFlip::Flip() {
  TCustomForm* form = FDXDraw.Form();
  if (form && form == Screen().ActiveForm()) {
    FDXDraw.FPrimary->SetLastResult(
        FDXDraw.FPrimary->RequiredSurface()->Flip(nullptr, DDFLIP_WAIT));
  } else {
    FDXDraw.FPrimary->SetLastResult(DD_OK);
  }
}
