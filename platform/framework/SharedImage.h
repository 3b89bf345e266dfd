// Reference-counted storage shared by several graphics until one of them writes.
// Holders call Reference when they attach and Release when they let go (a
// TComRef does both); the last Release frees the image. The count is atomic, so
// swapping references is safe from any thread; the images themselves are used
// from one thread.
#pragma once

#include "platform/gdi/ComRef.h"

class TSharedImage {
 public:
  TSharedImage() = default;
  virtual ~TSharedImage() = default;
  TSharedImage(const TSharedImage&) = delete;
  TSharedImage& operator=(const TSharedImage&) = delete;

  void Reference() { FRefCount.Add(); }
  void Release() {
    if (FRefCount.Drop() == 0) delete this;
  }
  int RefCount() const { return FRefCount.Count(); }

 private:
  TRefCount FRefCount{0};
};
