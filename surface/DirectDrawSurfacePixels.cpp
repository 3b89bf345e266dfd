// Locking a surface and reading or writing single raw pixels.

#include "platform/gdi/PixelFormat.h"
#include "surface/DirectDrawSurface.h"

namespace {

// Keeps a surface locked for the length of one pixel access.
class TPixelLock {
 public:
  explicit TPixelLock(TDirectDrawSurface& surface)
      : FSurface(surface), FLocked(surface.Lock(nullptr, FDesc)) {}
  ~TPixelLock() {
    if (FLocked) FSurface.Unlock();
  }
  TPixelLock(const TPixelLock&) = delete;
  TPixelLock& operator=(const TPixelLock&) = delete;

  // The locked pixels; false while another lock is out, or for depths other than
  // 1, 4, 8, 16, 24 and 32 bits.
  bool View(gdi::TPixelView& view) const {
    view.Top = static_cast<uint8_t*>(FDesc.lpSurface);
    view.Pitch = FDesc.lPitch;
    view.Width = static_cast<int32_t>(FDesc.dwWidth);
    view.Height = static_cast<int32_t>(FDesc.dwHeight);
    view.Format.BitCount = FDesc.ddpfPixelFormat.dwRGBBitCount;
    return FLocked && FDesc.lpSurface && gdi::IsValidFormat(view.Format);
  }

 private:
  TDirectDrawSurface& FSurface;
  DDSURFACEDESC FDesc;
  bool FLocked;
};

}  // namespace

bool TDirectDrawSurface::Lock(const TRect* rect, DDSURFACEDESC& description) {
  if (!FIDDSurface || FLockCount > 0) return false;  // locks do not nest
  FLockDescription = DDSURFACEDESC{};
  FLockDescription.dwSize = kDDSurfaceDescSize;
  const bool whole = !rect || *rect == ClientRect();
  SetLastResult(FIDDSurface->Lock(whole ? nullptr : rect, &FLockDescription, DDLOCK_WAIT, nullptr));
  if (LastResult() != DD_OK) return false;
  ++FLockCount;
  description = FLockDescription;
  return true;
}

void TDirectDrawSurface::Unlock() {
  if (!FIDDSurface || FLockCount <= 0) return;
  if (--FLockCount == 0) SetLastResult(FIDDSurface->Unlock(FLockDescription.lpSurface));
}

uint32_t TDirectDrawSurface::Pixel(int32_t x, int32_t y) {
  if (!FIDDSurface || x < 0 || x >= Width() || y < 0 || y >= Height()) return 0;
  TPixelLock lock(*this);
  gdi::TPixelView view;
  return lock.View(view) ? gdi::ReadPixel(view, x, y) : 0;
}

void TDirectDrawSurface::SetPixel(int32_t x, int32_t y, uint32_t value) {
  if (!FIDDSurface || x < 0 || x >= Width() || y < 0 || y >= Height()) return;
  TPixelLock lock(*this);
  gdi::TPixelView view;
  if (!lock.View(view)) return;
  // Any value other than 0 sets a 1-bit pixel.
  gdi::WritePixel(view, x, y, view.Format.BitCount == 1 ? uint32_t{value != 0} : value);
}
