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
  reclaimer.Take(Memory());
  reclaimer.Take(Memory());
  EXPECT_EQ(wakes, 2);
  EXPECT_TRUE(reclaimer.Pending());
  EXPECT_TRUE(reclaimer.FreeAll());
  EXPECT_FALSE(reclaimer.Pending());
  EXPECT_FALSE(reclaimer.FreeAll());
}

TEST(PixelReclaimer, OnceClosedFreesAtOnce) {
  TPixelReclaimer reclaimer;
  int wakes = 0;
  reclaimer.SetWake([&] { ++wakes; });
  reclaimer.Take(Memory());
  reclaimer.Close();  // frees what waited
  reclaimer.Take(Memory());
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
