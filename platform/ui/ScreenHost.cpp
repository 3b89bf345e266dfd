#include "platform/ui/ScreenHost.h"

namespace {

// Answers for a machine without a window system: a fixed monitor, no windows.
class HeadlessScreenHost final : public IScreenHost {
 public:
  TSize MonitorSize() override { return kMonitor; }
  int MonitorBitsPerPixel() override { return 32; }
  int RefreshRateHz() override { return 60; }
  void SetVirtualScreen(int32_t width, int32_t height) override { FScreen = {width, height}; }
  void RestoreDesktopScreen() override { FScreen = kMonitor; }
  TSize ScreenSize() override { return FScreen; }
  void SetExclusiveWindow(HWND) override {}
  void FramebufferChanged(const gdi::TPixelView&, const TRect&) override {}
  bool WindowClientRectOnScreen(HWND, TRect*) override { return false; }

 private:
  static constexpr TSize kMonitor{1024, 768};
  TSize FScreen = kMonitor;
};

HeadlessScreenHost& Headless() {
  static HeadlessScreenHost host;
  return host;
}

IScreenHost* InstalledHost = nullptr;

}  // namespace

IScreenHost& ScreenHost() { return InstalledHost ? *InstalledHost : Headless(); }

void SetScreenHost(IScreenHost* host) { InstalledHost = host; }
