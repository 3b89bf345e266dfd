#include "image/UprightPixels.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace {

// How the stored picture maps onto the upright one: transposed means an upright
// row runs down a stored column; mirrored means that stored axis runs backwards.
struct TOrientationRule {
  bool Transposed;
  bool MirrorX;
  bool MirrorY;
};

constexpr std::array<TOrientationRule, 8> kRules{{
    {false, false, false},  // 1: as stored
    {false, true, false},   // 2: mirrored left to right
    {false, true, true},    // 3: turned half round
    {false, false, true},   // 4: mirrored top to bottom
    {true, false, false},   // 5: mirrored along the main diagonal
    {true, false, true},    // 6: stored a quarter turn anticlockwise
    {true, true, true},     // 7: mirrored along the other diagonal
    {true, true, false},    // 8: stored a quarter turn clockwise
}};

// Where the source pixel of upright pixel (x, y) is: Origin + x * ColumnStep + y * RowStep.
struct TWalk {
  ptrdiff_t Origin;
  ptrdiff_t ColumnStep;
  ptrdiff_t RowStep;
};

TWalk WalkOf(const gdi::TPixelView& source, const TOrientationRule& rule, int pixelBytes) {
  const ptrdiff_t stepX = rule.MirrorX ? -pixelBytes : pixelBytes;
  const ptrdiff_t stepY = rule.MirrorY ? -source.Pitch : source.Pitch;
  const ptrdiff_t originX = rule.MirrorX ? ptrdiff_t{source.Width} - 1 : 0;
  const ptrdiff_t originY = rule.MirrorY ? ptrdiff_t{source.Height} - 1 : 0;
  TWalk walk{originX * pixelBytes + originY * source.Pitch, stepX, stepY};
  if (rule.Transposed) std::swap(walk.ColumnStep, walk.RowStep);
  return walk;
}

// Square tiles keep both the rows read and the rows written in the cache when
// the walk runs down stored columns.
constexpr int32_t kTile = 64;

// The pixels of upright columns x0..x1 and rows y0..y1. Callers keep the
// rectangle inside the target.
template <int N>
void CopyTile(const uint8_t* source, const TWalk& walk, const gdi::TPixelView& target, int32_t x0,
              int32_t y0, int32_t x1, int32_t y1) {
  for (int32_t y = y0; y < y1; ++y) {
    ptrdiff_t from = walk.Origin + x0 * walk.ColumnStep + y * walk.RowStep;
    uint8_t* to = target.Row(y) + ptrdiff_t{x0} * N;
    for (int32_t x = x0; x < x1; ++x, from += walk.ColumnStep, to += N)
      std::memcpy(to, source + from, N);
  }
}

template <int N>
void CopyWalk(const uint8_t* source, const TWalk& walk, const gdi::TPixelView& target) {
  for (int32_t y = 0; y < target.Height; y += kTile)
    for (int32_t x = 0; x < target.Width; x += kTile)
      CopyTile<N>(source, walk, target, x, y, std::min(x + kTile, target.Width),
                  std::min(y + kTile, target.Height));
}

}  // namespace

bool OrientationSwapsSides(int32_t orientation) { return orientation >= 5 && orientation <= 8; }

void UprightPixels(const gdi::TPixelView& source, const gdi::TPixelView& target,
                   int32_t orientation) {
  if (orientation < 1 || orientation > 8) orientation = 1;
  const bool swaps = OrientationSwapsSides(orientation);
  if (target.Width != (swaps ? source.Height : source.Width) ||
      target.Height != (swaps ? source.Width : source.Height))
    throw std::invalid_argument("upright target has the wrong size");
  const uint32_t bitCount = source.Format.BitCount;
  if (target.Format.BitCount != bitCount)
    throw std::invalid_argument("upright target has another depth");
  if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    throw std::invalid_argument("upright pixels take whole bytes");
  if (source.Width <= 0 || source.Height <= 0) return;
  gdi::WithDepth(bitCount, [&](auto depth) {
    using TPixel = typename decltype(depth)::Pixel;
    if constexpr (!std::is_void_v<TPixel>) {
      constexpr int kBytes = sizeof(TPixel);
      CopyWalk<kBytes>(source.Top, WalkOf(source, kRules[orientation - 1], kBytes), target);
    }
  });
}
