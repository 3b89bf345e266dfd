// Locking a surface and reading or writing single raw pixels.

#include "surface/DirectDrawSurface.h"

namespace {

// One pixel's bytes at `address`, for depths of whole bytes (little-endian).
uint32_t ReadBytes(const uint8_t* address, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | address[i];
  return value;
}

void WriteBytes(uint8_t* address, int count, uint32_t value) {
  for (int i = 0; i < count; ++i, value >>= 8) address[i] = static_cast<uint8_t>(value);
}

// Where pixel x of a row starts, in bytes, and how a pixel of that depth is read and
// written. Depths below 8 address parts of a byte, high bits first.
uint32_t ReadPixel(const uint8_t* row, int32_t x, DWORD bitCount) {
  switch (bitCount) {
    case 1:
      return (row[x / 8] >> (7 - x % 8)) & 1u;
    case 4:
      return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0Fu;
    case 8:
      return row[x];
    case 16:
      return ReadBytes(row + 2 * int64_t{x}, 2);
    case 24:
      return ReadBytes(row + 3 * int64_t{x}, 3);
    case 32:
      return ReadBytes(row + 4 * int64_t{x}, 4);
    default:
      return 0;
  }
}

void WritePixel(uint8_t* row, int32_t x, DWORD bitCount, uint32_t value) {
  switch (bitCount) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80u >> (x % 8));
      row[x / 8] = static_cast<uint8_t>(value != 0 ? row[x / 8] | bit : row[x / 8] & ~bit);
      break;
    }
    case 4: {
      uint8_t& byte = row[x / 2];
      byte = x % 2 == 0 ? static_cast<uint8_t>((byte & 0x0F) | (value << 4))
                        : static_cast<uint8_t>((byte & 0xF0) | (value & 0x0F));
      break;
    }
    case 8:
      row[x] = static_cast<uint8_t>(value);
      break;
    case 16:
      WriteBytes(row + 2 * int64_t{x}, 2, value);
      break;
    case 24:
      WriteBytes(row + 3 * int64_t{x}, 3, value);
      break;
    case 32:
      WriteBytes(row + 4 * int64_t{x}, 4, value);
      break;
    default:
      break;
  }
}

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

  bool Locked() const { return FLocked && FDesc.lpSurface; }
  uint8_t* Row(int32_t y) const {
    return static_cast<uint8_t*>(FDesc.lpSurface) + int64_t{y} * FDesc.lPitch;
  }
  DWORD BitCount() const { return FDesc.ddpfPixelFormat.dwRGBBitCount; }

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
  return lock.Locked() ? ReadPixel(lock.Row(y), x, lock.BitCount()) : 0;
}

void TDirectDrawSurface::SetPixel(int32_t x, int32_t y, uint32_t value) {
  if (!FIDDSurface || x < 0 || x >= Width() || y < 0 || y >= Height()) return;
  TPixelLock lock(*this);
  if (lock.Locked()) WritePixel(lock.Row(y), x, lock.BitCount(), value);
}
