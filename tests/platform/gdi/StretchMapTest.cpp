// The one nearest-neighbour rule: each destination pixel takes the source pixel
// under its centre, exactly, also where the centre falls on a boundary between
// two source pixels, and only inside the destination window it is asked for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/StretchMap.h"

namespace {

struct TWindowCase {
  const char* Name;
  int64_t DstPos, DstLen, SrcPos, SrcLen, DstLow, DstHigh;
  int32_t SrcLimit;
  int32_t Start;
  std::vector<int32_t> Indexes;
};

class SamplingRule : public testing::TestWithParam<TWindowCase> {};

TEST_P(SamplingRule, TakesThePixelUnderEachCentre) {
  const TWindowCase& c = GetParam();
  const gdi::TAxisMap map =
      gdi::MapAxisWithin(c.DstPos, c.DstLen, c.SrcPos, c.SrcLen, c.DstLow, c.DstHigh, c.SrcLimit);
  EXPECT_EQ(map.SrcIndex, c.Indexes);
  if (!c.Indexes.empty()) {
    EXPECT_EQ(map.DstStart, c.Start);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SamplingRule,
    testing::Values(
        // Centres at 1/3, 1 and 5/3: the one on the boundary takes the later pixel.
        TWindowCase{"TwoToThree", 0, 3, 0, 2, 0, 10, 10, 0, {0, 1, 1}},
        TWindowCase{"SixToNine", 0, 9, 0, 6, 0, 10, 10, 0, {0, 1, 1, 2, 3, 3, 4, 5, 5}},
        TWindowCase{"WindowKeepsTheGrid", 10, 6, 0, 3, 12, 14, 3, 12, {1, 1}},
        TWindowCase{"MirrorInsideAWindow", 0, 4, 4, -4, 1, 3, 4, 1, {2, 1}},
        TWindowCase{"LargestSourceStaysExact",
                    0,
                    3,
                    0,
                    2147483647,
                    0,
                    3,
                    2147483647,
                    0,
                    {357913941, 1073741823, 1789569705}},
        TWindowCase{"EmptyWindow", 0, 5, 0, 5, 3, 3, 5, 0, {}}),
    [](const testing::TestParamInfo<TWindowCase>& p) { return std::string(p.param.Name); });

}  // namespace
