#include "platform/ddraw/DisplayServices.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <tuple>

#include "platform/ddraw/DDSurface.h"
#include "platform/ddraw/PixelFormat.h"
#include "platform/ddraw/SurfaceMemory.h"

namespace ddraw {
namespace {

// The usual sizes of 4:3, 5:4, 16:10 and 16:9 screens.
constexpr TSize kStandardSizes[] = {
    {640, 480},   {800, 600},   {1024, 768},  {1152, 864},  {1280, 960},  {1400, 1050},
    {1600, 1200}, {1920, 1440}, {2048, 1536}, {1280, 1024}, {2560, 2048}, {1280, 800},
    {1440, 900},  {1680, 1050}, {1920, 1200}, {2560, 1600}, {1280, 720},  {1600, 900},
    {1920, 1080}, {2560, 1440}, {3840, 2160},
};
constexpr DWORD kStandardDepths[] = {8, 16, 24, 32};

bool ModeLess(const DDDisplayMode& a, const DDDisplayMode& b) {
  return std::tie(a.width, a.height, a.bitCount) < std::tie(b.width, b.height, b.bitCount);
}

bool SameMode(const DDDisplayMode& a, const DDDisplayMode& b) {
  return a.width == b.width && a.height == b.height && a.bitCount == b.bitCount;
}

// Every standard size that fits the monitor, and 1024 x 768 (the viewer's
// screen) even on a smaller one.
std::vector<DDDisplayMode> StandardDisplayModes(TSize monitor) {
  std::vector<TSize> sizes;
  for (const TSize& size : kStandardSizes) {
    if ((size.cx <= monitor.cx && size.cy <= monitor.cy) || size == TSize{1024, 768}) {
      sizes.push_back(size);
    }
  }
  if (monitor.cx > 0 && monitor.cy > 0 &&
      std::find(sizes.begin(), sizes.end(), monitor) == sizes.end()) {
    sizes.push_back(monitor);
  }
  std::vector<DDDisplayMode> modes;
  for (const TSize& size : sizes) {
    for (DWORD depth : kStandardDepths) {
      modes.push_back({static_cast<DWORD>(size.cx), static_cast<DWORD>(size.cy), depth});
    }
  }
  std::sort(modes.begin(), modes.end(), ModeLess);
  return modes;
}

}  // namespace

void TDisplayServices::LoseAllSurfaces() {
  for (TSurfaceMemory* memory : FLiveMemory) memory->SetLost(true);
}

void TDisplayServices::SetDisplayModes(const DDDisplayMode* modes, uint32_t count) {
  std::vector<DDDisplayMode> list;
  for (uint32_t i = 0; modes && i < count; ++i) {
    if (modes[i].width > 0 && modes[i].height > 0 && IsSupportedDepth(modes[i].bitCount)) {
      list.push_back(modes[i]);
    }
  }
  std::sort(list.begin(), list.end(), ModeLess);
  list.erase(std::unique(list.begin(), list.end(), SameMode), list.end());
  FModeOverride = std::move(list);
}

bool TDisplayServices::ReadFramebuffer(gdi::TPixelView* framebuffer) {
  if (!FPrimary || !framebuffer) return false;
  *framebuffer = FPrimary->View();
  return true;
}

bool TDisplayServices::ReserveVideoMemory(uint64_t bytes) {
  if (bytes > FBudget || FVideoMemoryUsed > FBudget - bytes) return false;
  FVideoMemoryUsed += bytes;
  return true;
}

void TDisplayServices::ReleaseVideoMemory(uint64_t bytes) {
  FVideoMemoryUsed -= std::min(bytes, FVideoMemoryUsed);
}

std::vector<DDDisplayMode> TDisplayServices::DisplayModes() const {
  return FModeOverride ? *FModeOverride : StandardDisplayModes(ScreenHost().MonitorSize());
}

bool TDisplayServices::OffersMode(const DDDisplayMode& mode) const {
  const std::vector<DDDisplayMode> modes = DisplayModes();
  return std::any_of(modes.begin(), modes.end(),
                     [&](const DDDisplayMode& offered) { return SameMode(offered, mode); });
}

DDDisplayMode TDisplayServices::ScreenMode() const {
  if (FScreenMode) return *FScreenMode;
  const TSize monitor = ScreenHost().MonitorSize();
  const int depth = ScreenHost().MonitorBitsPerPixel();
  return {static_cast<DWORD>(std::max(monitor.cx, 1)), static_cast<DWORD>(std::max(monitor.cy, 1)),
          IsSupportedDepth(static_cast<uint64_t>(std::max(depth, 0))) ? static_cast<DWORD>(depth)
                                                                      : 32u};
}

void TDisplayServices::SetScreenMode(const DDDisplayMode& mode) {
  FScreenMode = mode;
  ScreenHost().SetVirtualScreen(static_cast<int32_t>(mode.width),
                                static_cast<int32_t>(mode.height));
}

void TDisplayServices::RestoreScreenMode() {
  if (!FScreenMode) return;
  FScreenMode.reset();
  ScreenHost().RestoreDesktopScreen();
}

void TDisplayServices::WaitForVerticalBlank() const {
  if (FInstantVerticalBlank) return;
  using Clock = std::chrono::steady_clock;
  const int rate = ScreenHost().RefreshRateHz();
  const auto period =
      std::chrono::nanoseconds(1'000'000'000 / (rate > 0 && rate <= 1000 ? rate : 60));
  // Blanks fall on a fixed grid of the clock, so waits from anywhere agree.
  const auto sinceEpoch = Clock::now().time_since_epoch();
  const auto next = (sinceEpoch / period + 1) * period;
  std::this_thread::sleep_until(
      Clock::time_point(std::chrono::duration_cast<Clock::duration>(next)));
}

void TDisplayServices::PrimaryGone(const TDDSurface* surface) {
  if (FPrimary == surface) FPrimary = nullptr;
}

void TDisplayServices::Present(const TSurfaceMemory* memory, const TRect& dirty) const {
  if (!FPrimary || FPrimary->Memory() != memory) return;
  const TRect shown = IntersectRects(dirty, memory->Bounds());
  if (shown.IsEmpty()) return;
  ScreenHost().FramebufferChanged(FPrimary->View(), shown);
}

void TDisplayServices::PaletteChanged(const TDDPalette* palette) const {
  if (!FPrimary || FPrimary->Palette() != palette ||
      FPrimary->Memory()->View().Format.BitCount != 8)
    return;
  Present(FPrimary->Memory(), FPrimary->Memory()->Bounds());
}

TDisplayServices& Services() {
  static TDisplayServices services;
  return services;
}

}  // namespace ddraw
