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

void TPixelBlock::Reset() {
  uint8_t* data = std::exchange(FData, nullptr);
  FSize = 0;
  if (FReclaimer)
    FReclaimer->Take(data);
  else
    std::free(data);
  FReclaimer.reset();
}
