// How a picture item cuts its picture into surfaces and numbered patterns.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/WinTypes.h"

struct TPatternGeometry {
  int32_t PictureWidth = 0;
  int32_t PictureHeight = 0;
  int32_t PatternWidth = 0;   // 0 or less: the picture's width
  int32_t PatternHeight = 0;  // 0 or less: the picture's height
  int32_t SkipWidth = 0;
  int32_t SkipHeight = 0;
  bool SystemMemory = false;
};

struct TPatternPlace {
  TRect Rect;            // inside its surface
  int32_t SurfaceIndex;  // into TPatternLayout::Surfaces
  friend bool operator==(const TPatternPlace&, const TPatternPlace&) = default;
};

struct TPatternLayout {
  std::vector<TRect> Surfaces;  // the picture rectangle each surface holds
  std::vector<TPatternPlace> Patterns;
  // The whole picture as one pattern: the pattern exists even if its surface fails.
  bool WholePicture = false;
};

// Whole picture: one surface, one pattern. System memory: one surface of the picture
// with every pattern on it. Video memory: tiles of whole cells, at most the smallest
// multiple of a cell reaching 512 pixels per side. A cell (pattern plus skip) of 0 or
// less yields no patterns, and in video memory no surfaces either; so do a picture of
// zero width or height and a video-memory tile narrower than a pattern (possible only
// with negative skips).
TPatternLayout LayOutPatterns(const TPatternGeometry& geometry);
