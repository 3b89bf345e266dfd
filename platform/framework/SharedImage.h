// Reference-counted storage shared by several graphics until one of them writes.
// Holders call Reference when they attach and Release when they let go; the last
// Release frees the image. The count is atomic, so swapping references is safe
// from any thread; the images themselves are used from one thread.
#pragma once

#include <atomic>

class TSharedImage {
 public:
  TSharedImage() = default;
  virtual ~TSharedImage() = default;
  TSharedImage(const TSharedImage&) = delete;
  TSharedImage& operator=(const TSharedImage&) = delete;

  void Reference() { FRefCount.fetch_add(1, std::memory_order_relaxed); }
  void Release() {
    if (FRefCount.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }
  int RefCount() const { return FRefCount.load(std::memory_order_acquire); }

 private:
  std::atomic<int> FRefCount{0};
};
