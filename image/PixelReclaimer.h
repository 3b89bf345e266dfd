// Frees pixel memory on another thread. Unmapping the pages of a camera-size
// picture takes the system milliseconds; the decode-ahead worker does it for the
// blocks it made, so the user-interface thread only hands them over. Once closed
// (the worker gone), blocks handed over are freed at once.
#pragma once

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

  // Any thread: memory from the C allocator to be freed; wake tells the worker.
  void Take(uint8_t* memory);
  // The worker: frees what was handed over; true when there was something.
  bool FreeAll();
  bool Pending() const;
  // Called (under no lock of ours) after each Take while open.
  void SetWake(std::function<void()> wake);
  // Frees what is left; later blocks are freed as they come.
  void Close();

 private:
  mutable std::mutex FMutex;
  std::vector<uint8_t*> FWaiting;
  std::function<void()> FWake;
  bool FClosed = false;
};
