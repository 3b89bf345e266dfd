#include <gtest/gtest.h>

#include <chrono>

#include "platform/ui/Application.h"
#include "platform/ui/ExtCtrls.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs the message loop for the given time; a timer of its own wakes the loop.
void Wait(int milliseconds) {
  auto until = Clock::now() + std::chrono::milliseconds(milliseconds);
  TTimer wake(nullptr);
  wake.SetInterval(2);
  Application().RunLoopUntil([&] { return Clock::now() >= until; });
}

TEST(TimerTest, TicksWhileEnabled) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.SetInterval(10);
  Wait(120);
  EXPECT_GE(ticks, 3);
  timer.SetEnabled(false);
  int stopped = ticks;
  Wait(60);
  EXPECT_EQ(ticks, stopped);
}

TEST(TimerTest, ZeroOrNegativeIntervalGivesNoTicks) {
  for (int32_t interval : {0, -5}) {
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) { ++ticks; };
    timer.SetInterval(interval);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Running());
    Wait(50);
    EXPECT_EQ(ticks, 0);
  }
}

TEST(TimerTest, NewIntervalRestartsTheCountWhileRunning) {
  TTimer timer(nullptr);
  timer.SetInterval(150);
  Clock::time_point firstTick{};
  timer.OnTimer = [&](TObject*) {
    if (firstTick == Clock::time_point{}) firstTick = Clock::now();
  };
  Wait(100);
  auto restarted = Clock::now();
  timer.SetInterval(150);
  Wait(400);
  ASSERT_NE(firstTick, Clock::time_point{});
  // Without the restart the first tick would come 50 ms after the change.
  EXPECT_GE(firstTick - restarted, std::chrono::milliseconds(120));
}

TEST(TimerTest, StartsDisabledTimerOneIntervalLater) {
  TTimer timer(nullptr);
  timer.SetEnabled(false);
  timer.SetInterval(80);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.SetEnabled(true);
  Wait(40);
  EXPECT_EQ(ticks, 0);
  Wait(100);
  EXPECT_GE(ticks, 1);
}

TEST(TimerTest, ErrorInATickGoesToTheErrorReport) {
  TTimer timer(nullptr);
  timer.SetInterval(5);
  std::string reported;
  Application().OnException = [&](TObject*, const Exception& error) { reported = error.Message(); };
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    throw EInvalidGraphic("bad picture");
  };
  Wait(60);
  Application().OnException = nullptr;
  EXPECT_EQ(reported, "bad picture");
}

}  // namespace
