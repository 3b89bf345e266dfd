// The cells of the split-screen grid: a 5-pixel margin at the left and top and
// 5-pixel gaps; what the divisions leave over lies at the right and bottom.
#pragma once

#include <cstdint>

#include "platform/gdi/WinTypes.h"

struct TGridLayout {
  int32_t Columns;
  int32_t Rows;
  int32_t SurfaceWidth;
  int32_t SurfaceHeight;
};

inline constexpr int32_t kGridGap = 5;

// Width and height of every cell (none when the grid has no columns or rows).
TSize GridCellSize(const TGridLayout& layout);
// The cell in column and row, both from 0.
TRect GridCellRect(const TGridLayout& layout, int32_t column, int32_t row);
