// Pixel memory handed over to be freed on the worker's thread.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "image/PixelBlock.h"
#include "image/PixelReclaimer.h"

namespace {

uint8_t* Memory() { return static_cast<uint8_t*>(std::malloc(32)); }

TEST(PixelReclaimer, HoldsMemoryUntilTheWorkerFreesIt) {
  TPixelReclaimer reclaimer;
  int wakes = 0;
  reclaimer.SetWake([&] { ++wakes; });
  reclaimer.Take(Memory(), 32);
  reclaimer.Take(Memory(), 32);
  EXPECT_EQ(wakes, 2);
  EXPECT_TRUE(reclaimer.Pending());
  EXPECT_TRUE(reclaimer.FreeAll());
  EXPECT_FALSE(reclaimer.Pending());
  EXPECT_FALSE(reclaimer.FreeAll());
}

TEST(PixelReclaimer, GivesBackABlockOfTheSizeAskedFor) {
  TPixelReclaimer reclaimer;
  uint8_t* small = Memory();
  auto* large = static_cast<uint8_t*>(std::malloc(64));
  reclaimer.Take(small, 32);
  reclaimer.Take(large, 64);
  EXPECT_EQ(reclaimer.Reuse(48), nullptr);
  EXPECT_EQ(reclaimer.Reuse(64), large);
  EXPECT_EQ(reclaimer.Reuse(64), nullptr);
  std::free(large);
  EXPECT_TRUE(reclaimer.FreeAll());  // the small one
}

TEST(PixelReclaimer, OnceClosedFreesAtOnce) {
  TPixelReclaimer reclaimer;
  int wakes = 0;
  reclaimer.SetWake([&] { ++wakes; });
  reclaimer.Take(Memory(), 32);
  reclaimer.Close();  // frees what waited
  reclaimer.Take(Memory(), 32);
  EXPECT_FALSE(reclaimer.Pending());
  EXPECT_EQ(wakes, 1);
}

TEST(PixelReclaimer, BlocksGoThroughItWhenTold) {
  auto reclaimer = std::make_shared<TPixelReclaimer>();
  TPixelBlock block = TPixelBlock::Allocate(100);
  block.FreeThrough(reclaimer);
  TPixelBlock moved = std::move(block);
  moved.Reset();
  EXPECT_TRUE(reclaimer->Pending());
  std::thread worker([&] { reclaimer->FreeAll(); });
  worker.join();
  EXPECT_FALSE(reclaimer->Pending());
}

}  // namespace
