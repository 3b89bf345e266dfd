// What the display services need from the window system: the monitor, the
// windows' places on the screen, and a way to show the screen framebuffer.
// No Qt here: the display-services module includes this header.
#pragma once

#include "platform/gdi/PixelView.h"

class IScreenHost {
 public:
  virtual ~IScreenHost() = default;

  // The real monitor: size in pixels, depth and refresh rate.
  virtual TSize MonitorSize() = 0;
  virtual int MonitorBitsPerPixel() = 0;
  virtual int RefreshRateHz() = 0;

  // The screen size the window system reports to its windows: the virtual screen
  // while a full-screen mode is set, the monitor otherwise.
  virtual void SetVirtualScreen(int32_t width, int32_t height) = 0;
  virtual void RestoreDesktopScreen() = 0;
  // The screen size in force: the virtual screen, or the monitor.
  virtual TSize ScreenSize() { return MonitorSize(); }

  // The window that shows the framebuffer full-screen (exclusive level), or none.
  virtual void SetExclusiveWindow(HWND window) = 0;

  // The framebuffer (the primary surface's pixels: 8 bits with a 256-colour
  // table, 16 bits 5-6-5, 24 bits B,G,R or 32 bits X,R,G,B) changed inside
  // `dirty`, in framebuffer coordinates; show it.
  virtual void FramebufferChanged(const gdi::TPixelView& framebuffer, const TRect& dirty) = 0;

  // In the normal level, the windows that show the part of the framebuffer under them.
  virtual void ShowFramebufferIn(HWND window, bool on) { (void)window, (void)on; }

  // A window's client area in screen coordinates, and whether it is visible.
  virtual bool WindowClientRectOnScreen(HWND window, TRect* rect) = 0;
};

// The host in use. Until the window system installs its own, a headless host
// answers (monitor 1024 x 768 x 32 at 60 Hz, no windows, nothing shown).
IScreenHost& ScreenHost();
// Installs a host (nullptr puts the headless one back). The caller keeps ownership.
void SetScreenHost(IScreenHost* host);
