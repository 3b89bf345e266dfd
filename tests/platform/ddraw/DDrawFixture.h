// Loads the display-services module beside the test binary and gives each test
// a fresh device over a screen host that records what the module asks of it.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/ddraw/DDraw.h"
#include "platform/ddraw/DDrawTesting.h"
#include "platform/ui/ScreenHost.h"

struct TDDrawModule {
  void* handle = nullptr;
  DirectDrawCreateExFn createEx = nullptr;
  DirectDrawCreateFn create = nullptr;
  DirectDrawEnumerateAFn enumerate = nullptr;
  IDDrawTesting* testing = nullptr;
};
const TDDrawModule& Module();

struct TReleaser {
  void operator()(IUnknown* object) const {
    if (object) object->Release();
  }
};
template <class T>
using TRef = std::unique_ptr<T, TReleaser>;

class TRecordingScreenHost final : public IScreenHost {
 public:
  TSize MonitorSize() override { return monitor; }
  int MonitorBitsPerPixel() override { return monitorBits; }
  int RefreshRateHz() override { return refreshRate; }
  void SetVirtualScreen(int32_t width, int32_t height) override { virtualScreen = {width, height}; }
  void RestoreDesktopScreen() override { virtualScreen = monitor; }
  void SetExclusiveWindow(HWND window) override { exclusiveWindow = window; }
  void FramebufferChanged(const gdi::TPixelView& framebuffer, const TRect& dirty) override {
    shown = framebuffer;
    dirtyRects.push_back(dirty);
  }
  void ShowFramebufferIn(HWND window, bool on) override {
    if (on) {
      viewers.insert(window);
    } else {
      viewers.erase(window);
    }
  }
  bool WindowClientRectOnScreen(HWND window, TRect* rect) override {
    const auto found = windows.find(window);
    if (found == windows.end()) return false;
    *rect = found->second;
    return true;
  }

  TSize monitor{1024, 768};
  int monitorBits = 32;
  int refreshRate = 60;
  TSize virtualScreen{1024, 768};
  HWND exclusiveWindow = nullptr;
  gdi::TPixelView shown;
  std::vector<TRect> dirtyRects;
  std::map<HWND, TRect> windows;
  std::set<HWND> viewers;
};

HWND FakeWindow(uintptr_t id);

class DDrawTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  IDDrawTesting& Testing() { return *Module().testing; }
  // An off-screen surface of the given depth (system memory unless asked).
  TRef<IDirectDrawSurface7> MakeSurface(int32_t width, int32_t height, uint32_t bitCount,
                                        DWORD caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);
  TRef<IDirectDrawSurface7> MakePrimary(bool flipping);
  TRef<IDirectDrawClipper> MakeClipList(const std::vector<TRect>& rects);

  static DDSURFACEDESC Describe(IDirectDrawSurface* surface);
  static uint32_t PixelAt(IDirectDrawSurface* surface, int32_t x, int32_t y);
  static void SetPixelAt(IDirectDrawSurface* surface, int32_t x, int32_t y, uint32_t value);
  // Every pixel from a fixed seed, masked to the depth.
  static void FillPattern(IDirectDrawSurface* surface, uint32_t seed);
  static std::vector<uint32_t> ReadAll(IDirectDrawSurface* surface);

  TRecordingScreenHost FHost;
  TRef<IDirectDraw7> FDevice;
};
