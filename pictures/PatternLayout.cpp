#include "pictures/PatternLayout.h"

#include <algorithm>

namespace {

// 64-bit copies of the geometry: skips come from stored data and may be anything.
struct Cells {
  int64_t W, H, PW, PH, CW, CH, SkipW, SkipH;
  // A picture without pixels holds no pattern, whatever the skips say (a skip alone
  // could make a cell of a zero-width pattern, with no tile to put it on).
  bool Empty() const { return W <= 0 || H <= 0; }
  int64_t Columns() const { return CW > 0 && !Empty() ? (W + SkipW) / CW : 0; }
  int64_t Rows() const { return CH > 0 && !Empty() ? (H + SkipH) / CH : 0; }
};

Cells CellsOf(const TPatternGeometry& g) {
  Cells c{};
  c.W = g.PictureWidth;
  c.H = g.PictureHeight;
  c.PW = g.PatternWidth > 0 ? g.PatternWidth : c.W;
  c.PH = g.PatternHeight > 0 ? g.PatternHeight : c.H;
  c.SkipW = g.SkipWidth;
  c.SkipH = g.SkipHeight;
  c.CW = c.PW + c.SkipW;
  c.CH = c.PH + c.SkipH;
  return c;
}

TRect RectOf(int64_t left, int64_t top, int64_t width, int64_t height) {
  return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(left + width),
          static_cast<int32_t>(top + height)};
}

void LayOutSystemMemory(const Cells& c, TPatternLayout& layout) {
  layout.Surfaces.push_back(RectOf(0, 0, c.W, c.H));
  for (int64_t r = 0; r < c.Rows(); ++r)
    for (int64_t col = 0; col < c.Columns(); ++col)
      layout.Patterns.push_back({RectOf(col * c.CW, r * c.CH, c.PW, c.PH), 0});
}

// Tile size along one side: whole cells, the fewest reaching 512, no more than fit.
int64_t TileSide(int64_t cell, int64_t cellsAcross) {
  return std::min((cell + 511) / cell * cell, cellsAcross * cell);
}

int64_t TilePart(int64_t tile, int64_t picture, int64_t index) {
  const int64_t part = std::min(tile, std::max<int64_t>(picture - index * tile, 0));
  return part == 0 ? tile : part;
}

void LayOutVideoMemory(const Cells& c, TPatternLayout& layout) {
  if (c.CW <= 0 || c.CH <= 0) return;
  const int64_t sw = TileSide(c.CW, c.Columns());
  const int64_t sh = TileSide(c.CH, c.Rows());
  // Only negative skips can make a tile narrower than a pattern; such a layout has
  // no sound tiling (and could ask for a flood of tiny surfaces), so nothing is built.
  if (sw <= 0 || sh <= 0 || sw < c.PW || sh < c.PH) return;
  const int64_t nx = (c.W + sw - 1) / sw;
  const int64_t ny = (c.H + sh - 1) / sh;
  for (int64_t j = 0; j < ny; ++j)
    for (int64_t i = 0; i < nx; ++i)
      layout.Surfaces.push_back(RectOf(i * sw, j * sh, TilePart(sw, c.W, i), TilePart(sh, c.H, j)));
  for (int64_t r = 0; r < c.Rows(); ++r)
    for (int64_t col = 0; col < c.Columns(); ++col) {
      const int64_t px = col * c.CW, py = r * c.CH;
      layout.Patterns.push_back(
          {RectOf(px % sw, py % sh, c.PW, c.PH), static_cast<int32_t>(px / sw + py / sh * nx)});
    }
}

}  // namespace

TPatternLayout LayOutPatterns(const TPatternGeometry& geometry) {
  const Cells c = CellsOf(geometry);
  TPatternLayout layout;
  if (c.PW == c.W && c.PH == c.H) {
    layout.WholePicture = true;
    layout.Surfaces.push_back(RectOf(0, 0, c.W, c.H));
    layout.Patterns.push_back({RectOf(0, 0, c.W, c.H), 0});
  } else if (geometry.SystemMemory) {
    LayOutSystemMemory(c, layout);
  } else {
    LayOutVideoMemory(c, layout);
  }
  return layout;
}
