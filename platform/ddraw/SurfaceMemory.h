// The pixels behind one or more surfaces (duplicates share them; a flip swaps
// them between the front and the back buffer). Video memory is counted against
// the module's budget for as long as the block lives.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/ddraw/Blitter.h"
#include "platform/ddraw/DDraw.h"

namespace ddraw {

enum class TMemoryKind { Screen, Video, System };

class TSurfaceMemory {
 public:
  // DD_OK and the block, or the failure (too large, out of video memory).
  static HRESULT Create(uint32_t width, uint32_t height, uint32_t bitCount, TMemoryKind kind,
                        std::shared_ptr<TSurfaceMemory>* memory);
  // A block over the caller's pixels (rows of pitch bytes), counted like memory of
  // that kind; the caller keeps them alive and frees them after the block is gone.
  static HRESULT CreateOver(uint32_t width, uint32_t height, uint32_t bitCount, TMemoryKind kind,
                            void* pixels, int64_t pitch, std::shared_ptr<TSurfaceMemory>* memory);
  ~TSurfaceMemory();
  TSurfaceMemory(const TSurfaceMemory&) = delete;
  TSurfaceMemory& operator=(const TSurfaceMemory&) = delete;

  const TPixelView& View() const { return FView; }
  TRect Bounds() const { return TRect{0, 0, FView.Width, FView.Height}; }
  TMemoryKind Kind() const { return FKind; }
  bool Lost() const { return FLost; }
  // The pixels belong to the caller.
  bool ClientMemory() const { return !FPixels.get_deleter().Owned; }
  void SetLost(bool lost) { FLost = lost; }
  // Gives the memory back after a loss: the old contents are gone.
  void Reclaim();

 private:
  struct TFreePixels {
    bool Owned;
    void operator()(uint8_t* pixels) const {
      if (Owned) std::free(pixels);
    }
  };
  using TPixels = std::unique_ptr<uint8_t, TFreePixels>;
  TSurfaceMemory(const TPixelView& view, TPixels pixels, TMemoryKind kind, uint64_t bytes);
  // The size checks and the video-memory reservation both ways of making a block share.
  static HRESULT Reserve(uint32_t width, uint32_t height, uint32_t bitCount, TMemoryKind kind,
                         uint64_t bytes);

  TPixelView FView;
  TPixels FPixels;
  TMemoryKind FKind;
  uint64_t FBytes;
  bool FLost = false;
};

}  // namespace ddraw
