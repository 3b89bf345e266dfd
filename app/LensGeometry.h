// Where the lens reads from and where it stands: pure arithmetic on the pointer
// and the sizes of the back surface, the display control and the lens.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/gdi/WinTypes.h"

struct TLensLayout {
  int32_t SurfaceWidth;
  int32_t SurfaceHeight;
  TRect Control;  // the display control's bounds on its form
  int32_t LensWidth;
  int32_t LensHeight;
  int32_t Magnification;
};

// Half the side of the square read around the pointer.
int32_t LensHalfExtent(int32_t lensWidth, int32_t magnification);

// The square around pointer (control coordinates) scaled onto the back surface,
// each edge clamped on its own. None when the control or the factor leaves
// nothing to divide by.
std::optional<TRect> LensSourceRect(const TLensLayout& layout, TPoint pointer);

// The lens's new top-left corner (screen coordinates) beside cursor: right of and
// below it, or left of / above it where the lens would not fit before the
// surface's edge as seen from pointer (control coordinates).
TPoint TrackedLensPosition(const TLensLayout& layout, TPoint pointer, TPoint cursor);

// A rectangle of the given size at topLeft, its far edges held in 32 bits.
TRect RectAt(TPoint topLeft, int32_t width, int32_t height);
