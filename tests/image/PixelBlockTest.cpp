// Pixel blocks: zero-filled memory of one owner, small or camera-photo large.
#include <gtest/gtest.h>

#include <algorithm>

#include "image/PixelBlock.h"

namespace {

TEST(PixelBlock, NewBlocksOfEverySizeReadAsZeroAndCanBeWritten) {
  for (const size_t bytes : {size_t{1}, size_t{4096}, size_t{3} << 20, size_t{37} << 20}) {
    TPixelBlock block = TPixelBlock::Allocate(bytes);
    ASSERT_FALSE(block.Empty()) << bytes;
    ASSERT_EQ(block.Size(), bytes);
    EXPECT_TRUE(std::all_of(block.Data(), block.Data() + bytes, [](uint8_t b) { return b == 0; }))
        << bytes;
    block.Data()[0] = 1;
    block.Data()[bytes - 1] = 2;
    TPixelBlock moved = std::move(block);
    EXPECT_TRUE(block.Empty());
    EXPECT_EQ(moved.Data()[bytes - 1], 2);
    moved.Reset();
    EXPECT_TRUE(moved.Empty());
  }
}

TEST(PixelBlock, NothingIsAllocatedForNoBytes) { EXPECT_TRUE(TPixelBlock::Allocate(0).Empty()); }

}  // namespace
