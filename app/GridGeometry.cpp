#include "app/GridGeometry.h"

TSize GridCellSize(const TGridLayout& layout) {
  if (layout.Columns <= 0 || layout.Rows <= 0) return {};
  return {(layout.SurfaceWidth - layout.Columns * kGridGap) / layout.Columns,
          (layout.SurfaceHeight - layout.Rows * kGridGap) / layout.Rows};
}

TRect GridCellRect(const TGridLayout& layout, int32_t column, int32_t row) {
  const TSize cell = GridCellSize(layout);
  const int32_t left = kGridGap + column * (cell.cx + kGridGap);
  const int32_t top = kGridGap + row * (cell.cy + kGridGap);
  return {left, top, left + cell.cx, top + cell.cy};
}
