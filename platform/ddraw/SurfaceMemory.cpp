#include "platform/ddraw/SurfaceMemory.h"

#include <cstring>

#include "platform/ddraw/DisplayServices.h"
#include "platform/ddraw/PixelFormat.h"

namespace ddraw {
namespace {

// Beyond these a surface is refused rather than allocated.
constexpr uint64_t kMaxSide = 32768;
constexpr uint64_t kMaxBytes = uint64_t{1} << 30;

}  // namespace

HRESULT TSurfaceMemory::Create(uint32_t width, uint32_t height, uint32_t bitCount, TMemoryKind kind,
                               std::shared_ptr<TSurfaceMemory>* memory) {
  if (width == 0 || height == 0 || !IsSupportedDepth(bitCount)) return DDERR_INVALIDPARAMS;
  if (width > kMaxSide || height > kMaxSide) return DDERR_OUTOFMEMORY;
  const uint64_t pitch = RowPitch(width, bitCount);
  const uint64_t bytes = pitch * height;
  if (bytes > kMaxBytes)
    return kind == TMemoryKind::Video ? DDERR_OUTOFVIDEOMEMORY : DDERR_OUTOFMEMORY;
  if (kind == TMemoryKind::Video && !Services().ReserveVideoMemory(bytes)) {
    return DDERR_OUTOFVIDEOMEMORY;
  }
  // New surfaces read as zero; calloc gets that without writing the pixels again
  // when the memory comes fresh from the system.
  TPixels pixels(static_cast<uint8_t*>(std::calloc(bytes, 1)));
  if (!pixels) {
    if (kind == TMemoryKind::Video) Services().ReleaseVideoMemory(bytes);
    return DDERR_OUTOFMEMORY;
  }
  const TPixelView view{pixels.get(), static_cast<ptrdiff_t>(pitch), static_cast<int32_t>(width),
                        static_cast<int32_t>(height), SurfaceFormat(bitCount)};
  memory->reset(new TSurfaceMemory(view, std::move(pixels), kind, bytes));
  return DD_OK;
}

TSurfaceMemory::TSurfaceMemory(const TPixelView& view, TPixels pixels, TMemoryKind kind,
                               uint64_t bytes)
    : FView(view), FPixels(std::move(pixels)), FKind(kind), FBytes(bytes) {
  Services().AddLiveMemory(this);
}

TSurfaceMemory::~TSurfaceMemory() {
  Services().RemoveLiveMemory(this);
  if (FKind == TMemoryKind::Video) Services().ReleaseVideoMemory(FBytes);
}

void TSurfaceMemory::Reclaim() {
  std::memset(FPixels.get(), 0, FBytes);
  FLost = false;
}

}  // namespace ddraw
