// Pixel memory with one owner at a time, from the C allocator. A block may name a
// reclaimer that frees it on another thread when the block lets it go.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "image/PixelReclaimer.h"

class TPixelBlock {
 public:
  TPixelBlock() = default;
  ~TPixelBlock() { Reset(); }
  TPixelBlock(TPixelBlock&& other) noexcept { *this = std::move(other); }
  TPixelBlock& operator=(TPixelBlock&& other) noexcept;
  TPixelBlock(const TPixelBlock&) = delete;
  TPixelBlock& operator=(const TPixelBlock&) = delete;

  // Zero-filled memory of the given size (fresh pages cost nothing to clear); an
  // empty block when there is none to be had.
  static TPixelBlock Allocate(size_t bytes);
  // A block of that size from those handed back to recycle when it has one (its
  // bytes left as they were: the caller writes them all), else a new one.
  static TPixelBlock Recycled(size_t bytes, TPixelReclaimer* recycle);

  uint8_t* Data() const { return FData; }
  size_t Size() const { return FSize; }
  bool Empty() const { return !FData; }
  // From now on the memory goes to the reclaimer when the block lets it go.
  void FreeThrough(std::shared_ptr<TPixelReclaimer> reclaimer) {
    FReclaimer = std::move(reclaimer);
  }
  // Lets the memory go; the block is empty afterwards.
  void Reset();

 private:
  uint8_t* FData = nullptr;
  size_t FSize = 0;
  std::shared_ptr<TPixelReclaimer> FReclaimer;
};
