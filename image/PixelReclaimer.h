// Pixel memory coming back from the pictures decode-ahead made. Giving pages of a
// camera-size picture back to the system, and taking fresh ones, costs
// milliseconds: the user-interface thread only hands the blocks over, and the
// worker reuses those of the size it needs for the next picture and frees the
// rest. Once closed (the worker gone), blocks handed over are freed at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

class TPixelReclaimer {
 public:
  TPixelReclaimer() = default;
  ~TPixelReclaimer() { Close(); }
  TPixelReclaimer(const TPixelReclaimer&) = delete;
  TPixelReclaimer& operator=(const TPixelReclaimer&) = delete;

  // Any thread: memory from the C allocator, of size bytes; wake tells the worker.
  void Take(uint8_t* memory, size_t size);
  // The worker: a block handed back of exactly that size (its bytes as they were
  // left), or none.
  uint8_t* Reuse(size_t size);
  // The worker: frees what was handed over; true when there was something.
  bool FreeAll();
  bool Pending() const;
  // The size of the largest block handed over and not yet reused or freed.
  size_t LargestBlock() const;
  // Called (under no lock of ours) after each Take while open.
  void SetWake(std::function<void()> wake);
  // Frees what is left; later blocks are freed as they come.
  void Close();

 private:
  struct TBlock {
    uint8_t* Memory;
    size_t Size;
  };
  mutable std::mutex FMutex;
  std::vector<TBlock> FWaiting;
  std::function<void()> FWake;
  bool FClosed = false;
};
