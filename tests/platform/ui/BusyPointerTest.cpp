// The busy pointer: shown by its own watcher once a wait outlasts the delay, gone at
// the end of the wait.
#include <gtest/gtest.h>

#include <thread>

#include "platform/ui/Application.h"
#include "platform/ui/BusyPointer.h"

namespace {

// Gives the watcher time to act; the test fails only if it never does.
bool Eventually(const TBusyPointer& pointer, bool shown) {
  for (int i = 0; i < 1000 && pointer.Shown() != shown; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return pointer.Shown() == shown;
}

TEST(BusyPointer, ShowsWhileTheUserInterfaceThreadIsStillBusyAfterTheDelay) {
  Application().Initialize();
  TBusyPointer pointer(std::chrono::milliseconds(0));
  EXPECT_FALSE(pointer.Shown());
  pointer.Begin(nullptr);
  // This thread does not return to its message loop meanwhile.
  EXPECT_TRUE(Eventually(pointer, true));
  pointer.End();
  EXPECT_FALSE(pointer.Shown());
}

TEST(BusyPointer, AWaitEndingBeforeTheDelayShowsNothing) {
  TBusyPointer pointer(std::chrono::hours(1));
  for (int i = 0; i < 3; ++i) {
    pointer.Begin(nullptr);
    pointer.End();
  }
  EXPECT_FALSE(pointer.Shown());
}

TEST(BusyPointer, TheWaitEndsWithItsScopeAndTheNextWaitShowsAgain) {
  TBusyPointer pointer(std::chrono::milliseconds(0));
  {
    const TBusyWait wait(pointer, nullptr);
    EXPECT_TRUE(Eventually(pointer, true));
  }
  EXPECT_FALSE(pointer.Shown());
  pointer.Begin(nullptr);
  EXPECT_TRUE(Eventually(pointer, true));
}

}  // namespace
