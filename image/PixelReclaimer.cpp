#include "image/PixelReclaimer.h"

#include <algorithm>
#include <cstdlib>

void TPixelReclaimer::Take(uint8_t* memory, size_t size) {
  if (!memory) return;
  std::function<void()> wake;
  {
    const std::lock_guard lock(FMutex);
    if (!FClosed) {
      FWaiting.push_back({memory, size});
      wake = FWake;
      memory = nullptr;
    }
  }
  std::free(memory);
  if (wake) wake();
}

uint8_t* TPixelReclaimer::Reuse(size_t size) {
  const std::lock_guard lock(FMutex);
  const auto found = std::find_if(FWaiting.begin(), FWaiting.end(),
                                  [&](const TBlock& b) { return b.Size == size; });
  if (found == FWaiting.end()) return nullptr;
  uint8_t* memory = found->Memory;
  FWaiting.erase(found);
  return memory;
}

bool TPixelReclaimer::FreeAll() {
  std::vector<TBlock> waiting;
  {
    const std::lock_guard lock(FMutex);
    waiting.swap(FWaiting);
  }
  for (const TBlock& block : waiting) std::free(block.Memory);
  return !waiting.empty();
}

bool TPixelReclaimer::Pending() const {
  const std::lock_guard lock(FMutex);
  return !FWaiting.empty();
}

size_t TPixelReclaimer::LargestBlock() const {
  const std::lock_guard lock(FMutex);
  size_t largest = 0;
  for (const TBlock& block : FWaiting) largest = std::max(largest, block.Size);
  return largest;
}

void TPixelReclaimer::SetWake(std::function<void()> wake) {
  const std::lock_guard lock(FMutex);
  FWake = std::move(wake);
}

void TPixelReclaimer::Close() {
  {
    const std::lock_guard lock(FMutex);
    FClosed = true;
    FWake = nullptr;
  }
  FreeAll();
}
