#include "image/PixelReclaimer.h"

#include <cstdlib>

void TPixelReclaimer::Take(uint8_t* memory) {
  if (!memory) return;
  std::function<void()> wake;
  {
    const std::lock_guard lock(FMutex);
    if (!FClosed) {
      FWaiting.push_back(memory);
      wake = FWake;
      memory = nullptr;
    }
  }
  std::free(memory);
  if (wake) wake();
}

bool TPixelReclaimer::FreeAll() {
  std::vector<uint8_t*> waiting;
  {
    const std::lock_guard lock(FMutex);
    waiting.swap(FWaiting);
  }
  for (uint8_t* memory : waiting) std::free(memory);
  return !waiting.empty();
}

bool TPixelReclaimer::Pending() const {
  const std::lock_guard lock(FMutex);
  return !FWaiting.empty();
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
