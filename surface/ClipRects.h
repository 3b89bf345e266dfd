// Clipping of an unscaled copy: a destination rectangle and a source rectangle of the
// same size are cut down together so that both lie inside their bounds.
#pragma once

#include <cstdint>

#include "platform/gdi/WinTypes.h"

// Rectangle edges in 64 bits, for placements and reflections that may leave the
// 32-bit range before clipping brings them back.
struct TRect64 {
  int64_t Left = 0;
  int64_t Top = 0;
  int64_t Right = 0;
  int64_t Bottom = 0;
};

TRect64 Widen(const TRect& rect);
// Edges beyond the 32-bit range are clamped.
TRect Narrow(const TRect64& rect);

// Trims dest and source by the same amounts until dest lies in destBound and source in
// sourceBound. True when something is left to copy; then every edge lies in its bound.
bool ClipRects(TRect64& dest, TRect64& source, const TRect64& destBound,
               const TRect64& sourceBound);
bool ClipRects(TRect& dest, TRect& source, const TRect& destBound, const TRect& sourceBound);
