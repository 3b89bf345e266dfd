// What the display services keep for the whole process: the video-memory
// budget, the display modes and the one that is set, the screen (the front
// surface that is presented) and the test switches.
#pragma once

#include <optional>
#include <unordered_set>
#include <vector>

#include "platform/ddraw/DDrawTesting.h"

namespace ddraw {

class TDDSurface;
class TDDPalette;
class TSurfaceMemory;

class TDisplayServices final : public IDDrawTesting {
 public:
  void SetVideoMemoryBudget(uint64_t bytes) override { FBudget = bytes; }
  void ResetVideoMemoryBudget() override { FBudget = kDefaultVideoMemoryBudget; }
  uint64_t VideoMemoryInUse() override { return FVideoMemoryUsed; }
  void LoseAllSurfaces() override;
  void SetInstantVerticalBlank(bool instant) override { FInstantVerticalBlank = instant; }
  void SetDisplayModes(const DDDisplayMode* modes, uint32_t count) override;
  void ResetDisplayModes() override { FModeOverride.reset(); }
  bool ReadFramebuffer(gdi::TPixelView* framebuffer) override;
  void SetForceGenericBlits(bool force) override { FForceGenericBlits = force; }

  uint64_t VideoMemoryBudget() const { return FBudget; }
  bool ReserveVideoMemory(uint64_t bytes);
  void ReleaseVideoMemory(uint64_t bytes);
  void AddLiveMemory(TSurfaceMemory* memory) { FLiveMemory.insert(memory); }
  void RemoveLiveMemory(TSurfaceMemory* memory) { FLiveMemory.erase(memory); }

  // Sorted by width, height and depth.
  std::vector<DDDisplayMode> DisplayModes() const;
  bool OffersMode(const DDDisplayMode& mode) const;
  // The mode set, or the monitor's size and depth.
  DDDisplayMode ScreenMode() const;
  void SetScreenMode(const DDDisplayMode& mode);
  void RestoreScreenMode();

  void WaitForVerticalBlank() const;
  bool ForceGenericBlits() const { return FForceGenericBlits; }

  // The newest primary surface is the screen.
  void SetPrimary(TDDSurface* primary) { FPrimary = primary; }
  void PrimaryGone(const TDDSurface* surface);
  // Shows `dirty` when `memory` is what the screen shows.
  void Present(const TSurfaceMemory* memory, const TRect& dirty) const;
  void PaletteChanged(const TDDPalette* palette) const;

 private:
  uint64_t FBudget = kDefaultVideoMemoryBudget;
  uint64_t FVideoMemoryUsed = 0;
  bool FInstantVerticalBlank = false;
  bool FForceGenericBlits = false;
  std::optional<std::vector<DDDisplayMode>> FModeOverride;
  std::optional<DDDisplayMode> FScreenMode;
  std::unordered_set<TSurfaceMemory*> FLiveMemory;
  TDDSurface* FPrimary = nullptr;
};

TDisplayServices& Services();

}  // namespace ddraw
