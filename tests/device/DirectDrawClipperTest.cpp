#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "device/DirectDrawClipper.h"

namespace {

// Clip region blocks.
struct RegionCase {
  std::vector<TRect> Rects;
  TRect Bound;
};

class ClipRegion : public testing::TestWithParam<RegionCase> {};

TEST_P(ClipRegion, HeaderBoundAndRectanglesInOrder) {
  const RegionCase& c = GetParam();
  const std::vector<std::byte> block = MakeClipRegion(c.Rects);
  ASSERT_EQ(block.size(), 32 + 16 * c.Rects.size());
  uint32_t header[4];
  std::memcpy(header, block.data(), sizeof(header));
  EXPECT_EQ(header[0], 32u);
  EXPECT_EQ(header[1], 1u);
  EXPECT_EQ(header[2], c.Rects.size());
  EXPECT_EQ(header[3], 16 * c.Rects.size());
  TRect bound;
  std::memcpy(&bound, block.data() + 16, sizeof(bound));
  EXPECT_EQ(bound, c.Bound);
  for (size_t i = 0; i < c.Rects.size(); ++i) {
    TRect rect;
    std::memcpy(&rect, block.data() + 32 + 16 * i, sizeof(rect));
    EXPECT_EQ(rect, c.Rects[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(Blocks, ClipRegion,
                         testing::Values(RegionCase{{}, {INT_MAX, INT_MAX, -INT_MAX, -INT_MAX}},
                                         RegionCase{{{0, 0, 1024, 768}}, {0, 0, 1024, 768}},
                                         RegionCase{
                                             {{10, 20, 30, 40}, {-5, 25, 15, 35}, {0, -7, 8, 100}},
                                             {-5, -7, 30, 100}}));

}  // namespace
