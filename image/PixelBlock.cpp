#include "image/PixelBlock.h"

#include <cstdlib>
#include <utility>

TPixelBlock& TPixelBlock::operator=(TPixelBlock&& other) noexcept {
  if (this == &other) return *this;
  Reset();
  FData = std::exchange(other.FData, nullptr);
  FSize = std::exchange(other.FSize, 0);
  FReclaimer = std::move(other.FReclaimer);
  return *this;
}

TPixelBlock TPixelBlock::Allocate(size_t bytes) {
  TPixelBlock block;
  if (bytes == 0) return block;
  block.FData = static_cast<uint8_t*>(std::calloc(bytes, 1));
  if (block.FData) block.FSize = bytes;
  return block;
}

TPixelBlock TPixelBlock::Recycled(size_t bytes, TPixelReclaimer* recycle) {
  uint8_t* reused = recycle && bytes > 0 ? recycle->Reuse(bytes) : nullptr;
  if (!reused) return Allocate(bytes);
  TPixelBlock block;
  block.FData = reused;
  block.FSize = bytes;
  return block;
}

void TPixelBlock::Reset() {
  uint8_t* data = std::exchange(FData, nullptr);
  const size_t size = std::exchange(FSize, 0);
  if (FReclaimer)
    FReclaimer->Take(data, size);
  else
    std::free(data);
  FReclaimer.reset();
}
