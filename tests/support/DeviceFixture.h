// A device object on the real display-services module, with the module's test hooks.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "device/DirectDraw.h"
#include "tests/support/DDrawHooks.h"

class DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DDrawHooks().ResetVideoMemoryBudget();
    FDevice = std::make_unique<TDirectDraw>(nullptr);
  }
  void TearDown() override {
    if (FModeSet) FDevice->NativeDevice()->RestoreDisplayMode();
    FDevice.reset();
    DDrawHooks().ResetVideoMemoryBudget();
  }
  TDirectDraw& Device() { return *FDevice; }
  // Surfaces made without a pixel format take the screen's depth.
  void SetScreenDepth(DWORD bitCount) {
    ASSERT_EQ(FDevice->NativeDevice()->SetDisplayMode(1024, 768, bitCount), DD_OK);
    FModeSet = true;
  }

 private:
  std::unique_ptr<TDirectDraw> FDevice;
  bool FModeSet = false;
};
