// Hooks the display-services module offers to tests, reached through the entry
// point "LoupixDDrawTesting". They reach what a real machine would do on its own:
// running out of video memory, losing surfaces, the vertical blank, the modes a
// driver offers, and what the screen shows.
#pragma once

#include <cstdint>

#include "platform/ddraw/DDraw.h"
#include "platform/ui/ScreenHost.h"

// Video memory the services count surfaces against until a test sets another
// budget: 32 MiB, a graphics card of the system's time. The screen itself (the
// primary surface) lies outside the budget.
constexpr uint64_t kDefaultVideoMemoryBudget = uint64_t{32} << 20;

struct DDDisplayMode {
  DWORD width = 0;
  DWORD height = 0;
  DWORD bitCount = 0;
};

class IDDrawTesting {
 public:
  // Bytes of video memory surfaces may take; creating past it fails.
  virtual void SetVideoMemoryBudget(uint64_t bytes) = 0;
  virtual void ResetVideoMemoryBudget() = 0;
  virtual uint64_t VideoMemoryInUse() = 0;

  // Every live surface reports DDERR_SURFACELOST until restored.
  virtual void LoseAllSurfaces() = 0;

  // Waiting for the vertical blank (and flipping) returns at once.
  virtual void SetInstantVerticalBlank(bool instant) = 0;

  // The modes EnumDisplayModes offers and SetDisplayMode accepts.
  virtual void SetDisplayModes(const DDDisplayMode* modes, uint32_t count) = 0;
  virtual void ResetDisplayModes() = 0;

  // The screen as last presented: the front surface's pixels, or false when no
  // primary surface exists.
  virtual bool ReadFramebuffer(gdi::TPixelView* framebuffer) = 0;

  // Makes every copy take the plain stretch kernel, so tests can compare the
  // fast paths against it.
  virtual void SetForceGenericBlits(bool force) = 0;

 protected:
  ~IDDrawTesting() = default;
};

using LoupixDDrawTestingFn = IDDrawTesting* (*)();
constexpr const char* kDDrawTestingEntry = "LoupixDDrawTesting";
