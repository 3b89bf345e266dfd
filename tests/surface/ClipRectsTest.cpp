#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "surface/ClipRects.h"
#include "tests/support/CaseName.h"

namespace {

struct ClipCase {
  const char* name;
  TRect dest, source, destBound, sourceBound;
  bool expected;
  TRect clippedDest, clippedSource;  // checked only when expected is true
};

void PrintTo(const ClipCase& c, std::ostream* os) { *os << c.name; }

class ClipRectsTest : public ::testing::TestWithParam<ClipCase> {};

TEST_P(ClipRectsTest, TrimsBothRectanglesAlike) {
  const ClipCase& c = GetParam();
  TRect dest = c.dest, source = c.source;
  EXPECT_EQ(ClipRects(dest, source, c.destBound, c.sourceBound), c.expected);
  if (!c.expected) return;
  EXPECT_EQ(dest, c.clippedDest);
  EXPECT_EQ(source, c.clippedSource);
  EXPECT_EQ(dest.Width(), source.Width());
  EXPECT_EQ(dest.Height(), source.Height());
}

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

INSTANTIATE_TEST_SUITE_P(Cases, ClipRectsTest,
                         ::testing::Values(ClipCase{"inside",
                                                    {10, 10, 20, 20},
                                                    {0, 0, 10, 10},
                                                    {0, 0, 100, 100},
                                                    {0, 0, 50, 50},
                                                    true,
                                                    {10, 10, 20, 20},
                                                    {0, 0, 10, 10}},
                                           ClipCase{"left of destination",
                                                    {-10, 0, 90, 50},
                                                    {0, 0, 100, 50},
                                                    {0, 0, 200, 200},
                                                    {0, 0, 100, 50},
                                                    true,
                                                    {0, 0, 90, 50},
                                                    {10, 0, 100, 50}},
                                           ClipCase{"above destination",
                                                    {0, -7, 10, 3},
                                                    {0, 0, 10, 10},
                                                    {0, 0, 20, 20},
                                                    {0, 0, 10, 10},
                                                    true,
                                                    {0, 0, 10, 3},
                                                    {0, 7, 10, 10}},
                                           ClipCase{"past destination right",
                                                    {150, 0, 250, 50},
                                                    {0, 0, 100, 50},
                                                    {0, 0, 200, 200},
                                                    {0, 0, 100, 50},
                                                    true,
                                                    {150, 0, 200, 50},
                                                    {0, 0, 50, 50}},
                                           ClipCase{"past destination bottom",
                                                    {0, 190, 10, 210},
                                                    {0, 0, 10, 20},
                                                    {0, 0, 200, 200},
                                                    {0, 0, 10, 20},
                                                    true,
                                                    {0, 190, 10, 200},
                                                    {0, 0, 10, 10}},
                                           ClipCase{"source before its bound",
                                                    {0, 0, 15, 15},
                                                    {-5, -5, 10, 10},
                                                    {0, 0, 100, 100},
                                                    {0, 0, 100, 100},
                                                    true,
                                                    {5, 5, 15, 15},
                                                    {0, 0, 10, 10}},
                                           ClipCase{"source past its bound",
                                                    {0, 0, 20, 20},
                                                    {90, 85, 110, 105},
                                                    {0, 0, 100, 100},
                                                    {0, 0, 100, 100},
                                                    true,
                                                    {0, 0, 10, 15},
                                                    {90, 85, 100, 100}},
                                           ClipCase{"every edge in order",
                                                    {-10, -20, 90, 80},
                                                    {-5, 0, 95, 100},
                                                    {0, 0, 50, 50},
                                                    {0, 0, 60, 60},
                                                    true,
                                                    {0, 0, 50, 40},
                                                    {5, 20, 55, 60}},
                                           ClipCase{"destination beyond right",
                                                    {200, 0, 300, 10},
                                                    {0, 0, 100, 10},
                                                    {0, 0, 200, 200},
                                                    {0, 0, 100, 10},
                                                    false,
                                                    {},
                                                    {}},
                                           ClipCase{"destination at the width",
                                                    {100, 0, 110, 10},
                                                    {0, 0, 10, 10},
                                                    {0, 0, 100, 100},
                                                    {0, 0, 10, 10},
                                                    false,
                                                    {},
                                                    {}},
                                           ClipCase{"destination left of zero",
                                                    {-30, 0, -10, 10},
                                                    {0, 0, 20, 10},
                                                    {0, 0, 100, 100},
                                                    {0, 0, 20, 10},
                                                    false,
                                                    {},
                                                    {}},
                                           ClipCase{"empty source",
                                                    {0, 0, 0, 10},
                                                    {0, 0, 0, 10},
                                                    {0, 0, 100, 100},
                                                    {0, 0, 100, 100},
                                                    false,
                                                    {},
                                                    {}},
                                           ClipCase{"empty source bound",
                                                    {0, 0, 10, 10},
                                                    {0, 0, 10, 10},
                                                    {0, 0, 100, 100},
                                                    {},
                                                    false,
                                                    {},
                                                    {}},
                                           ClipCase{"far away without wrapping",
                                                    {kMin, kMin, kMin + 100, kMin + 10},
                                                    {kMax - 100, kMax - 10, kMax, kMax},
                                                    {0, 0, 100, 100},
                                                    {0, 0, 100, 100},
                                                    false,
                                                    {},
                                                    {}},
                                           ClipCase{"huge rectangles cut to bounds",
                                                    {kMin, kMin, kMax, kMax},
                                                    {kMin, kMin, kMax, kMax},
                                                    {0, 0, 64, 48},
                                                    {0, 0, 64, 48},
                                                    true,
                                                    {0, 0, 64, 48},
                                                    {0, 0, 64, 48}}),
                         CaseName());

// The widest run of destination positions d (with source position d + shift) that
// lies in both bounds, found one position at a time.
std::pair<int32_t, int32_t> Brute(int32_t from, int32_t to, int32_t shift, int32_t boundFrom,
                                  int32_t boundTo, int32_t sourceFrom, int32_t sourceTo) {
  int32_t first = 0, last = -1;
  for (int32_t d = from; d < to; ++d) {
    const bool inside =
        d >= boundFrom && d < boundTo && d + shift >= sourceFrom && d + shift < sourceTo;
    if (!inside) continue;
    if (last < first) first = d;
    last = d;
  }
  return {first, last + 1};
}

TEST(ClipRectsRandomTest, KeepsExactlyThePositionsInsideBothBounds) {
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int32_t> coord(-40, 120), size(0, 60);
  for (int n = 0; n < 2000; ++n) {
    const TRect source{coord(random), coord(random), 0, 0};
    const TRect sized{source.Left, source.Top, source.Left + size(random),
                      source.Top + size(random)};
    const int32_t x = coord(random), y = coord(random);
    const TRect dest{x, y, x + sized.Width(), y + sized.Height()};
    const TRect destBound{0, 0, size(random) + 1, size(random) + 1};
    const TRect sourceBound{0, 0, size(random) + 1, size(random) + 1};
    TRect d = dest, s = sized;
    const bool left = ClipRects(d, s, destBound, sourceBound);
    const auto [x0, x1] = Brute(dest.Left, dest.Right, sized.Left - x, destBound.Left,
                                destBound.Right, sourceBound.Left, sourceBound.Right);
    const auto [y0, y1] = Brute(dest.Top, dest.Bottom, sized.Top - y, destBound.Top,
                                destBound.Bottom, sourceBound.Top, sourceBound.Bottom);
    const bool expected = x0 < x1 && y0 < y1;
    ASSERT_EQ(left, expected) << n;
    if (!expected) continue;
    ASSERT_EQ(d, (TRect{x0, y0, x1, y1})) << n;
    ASSERT_EQ(s, (TRect{x0 + sized.Left - x, y0 + sized.Top - y, x1 + sized.Left - x,
                        y1 + sized.Top - y}))
        << n;
  }
}

}  // namespace
