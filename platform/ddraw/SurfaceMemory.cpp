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

HRESULT TSurfaceMemory::Reserve(uint32_t width, uint32_t height, uint32_t bitCount,
                                TMemoryKind kind, uint64_t bytes) {
  if (width == 0 || height == 0 || !IsSupportedDepth(bitCount)) return DDERR_INVALIDPARAMS;
  if (width > kMaxSide || height > kMaxSide) return DDERR_OUTOFMEMORY;
  if (bytes > kMaxBytes)
    return kind == TMemoryKind::Video ? DDERR_OUTOFVIDEOMEMORY : DDERR_OUTOFMEMORY;
  if (kind == TMemoryKind::Video && !Services().ReserveVideoMemory(bytes)) {
    return DDERR_OUTOFVIDEOMEMORY;
  }
  return DD_OK;
}

HRESULT TSurfaceMemory::CreateOver(uint32_t width, uint32_t height, uint32_t bitCount,
                                   TMemoryKind kind, void* pixels, int64_t pitch,
                                   std::shared_ptr<TSurfaceMemory>* memory) {
  if (!pixels || pitch < static_cast<int64_t>(uint64_t{width} * BytesPerPixel(bitCount)) ||
      pitch > INT32_MAX)
    return DDERR_INVALIDPARAMS;
  const uint64_t bytes = static_cast<uint64_t>(pitch) * height;
  if (const HRESULT result = Reserve(width, height, bitCount, kind, bytes); result != DD_OK)
    return result;
  const TPixelView view{static_cast<uint8_t*>(pixels), static_cast<ptrdiff_t>(pitch),
                        static_cast<int32_t>(width), static_cast<int32_t>(height),
                        SurfaceFormat(bitCount)};
  memory->reset(new TSurfaceMemory(view, TPixels(view.Top, TFreePixels{false}), kind, bytes));
  return DD_OK;
}

HRESULT TSurfaceMemory::Create(uint32_t width, uint32_t height, uint32_t bitCount, TMemoryKind kind,
                               std::shared_ptr<TSurfaceMemory>* memory) {
  const uint64_t pitch = width == 0 || !IsSupportedDepth(bitCount) ? 0 : RowPitch(width, bitCount);
  const uint64_t bytes = pitch * height;
  if (const HRESULT result = Reserve(width, height, bitCount, kind, bytes); result != DD_OK)
    return result;
  // New surfaces read as zero; calloc gets that without writing the pixels again
  // when the memory comes fresh from the system.
  TPixels pixels(static_cast<uint8_t*>(std::calloc(bytes, 1)), TFreePixels{true});
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
