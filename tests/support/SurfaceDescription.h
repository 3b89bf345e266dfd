// The description of a surface of a given size and depth, as tests ask the display
// services for one.
#pragma once

#include <cstdint>

#include "platform/ddraw/DDraw.h"

inline DDSURFACEDESC SurfaceDescription(int32_t width, int32_t height, DWORD bitCount,
                                        DWORD caps = DDSCAPS_OFFSCREENPLAIN) {
  DDSURFACEDESC desc;
  desc.dwSize = kDDSurfaceDescSize;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  desc.dwWidth = static_cast<DWORD>(width);
  desc.dwHeight = static_cast<DWORD>(height);
  desc.ddpfPixelFormat.dwRGBBitCount = bitCount;
  desc.ddsCaps.dwCaps = caps;
  return desc;
}
