#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "device/DXErrors.h"
#include "device/DirectDraw.h"
#include "display/DXDrawDisplay.h"
#include "tests/support/CaseName.h"
#include "tests/support/DDrawHooks.h"

namespace {

class TFakeOwner : public TDXDrawDisplayOwner {
 public:
  TDirectDraw* Device() const override { return FDevice.get(); }
  const GUID* DriverGUID() const override { return nullptr; }
  std::unique_ptr<TDirectDraw> FDevice;
};

class DisplayModes : public testing::Test {
 protected:
  void TearDown() override { DDrawHooks().ResetDisplayModes(); }
  void Offer(const std::vector<DDDisplayMode>& modes) {
    DDrawHooks().SetDisplayModes(modes.data(), static_cast<uint32_t>(modes.size()));
  }
  TFakeOwner FOwner;
  TDXDrawDisplay FDisplay{FOwner};
};

TEST_F(DisplayModes, DefaultsAndValidatedSettings) {
  EXPECT_EQ(FDisplay.Width(), 640);
  EXPECT_EQ(FDisplay.Height(), 480);
  EXPECT_EQ(FDisplay.BitCount(), 8);
  EXPECT_TRUE(FDisplay.FixedBitCount());
  EXPECT_TRUE(FDisplay.FixedRatio());
  EXPECT_FALSE(FDisplay.FixedSize());
  FDisplay.SetWidth(-5);
  FDisplay.SetHeight(-1);
  EXPECT_EQ(FDisplay.Width(), 0);
  EXPECT_EQ(FDisplay.Height(), 0);
  for (int32_t bits : {8, 16, 24, 32}) {
    FDisplay.SetBitCount(bits);
    EXPECT_EQ(FDisplay.BitCount(), bits);
  }
  for (int32_t bits : {0, 1, 4, 15, 31, 64, -8}) {
    try {
      FDisplay.SetBitCount(bits);
      ADD_FAILURE() << bits << " accepted";
    } catch (const EDirectDrawError& error) {
      EXPECT_EQ(error.Message(), "It should be either of 8 or 16 or 24 or 32");
    }
    EXPECT_EQ(FDisplay.BitCount(), 32);
  }
}

TEST_F(DisplayModes, AssignCopiesTheSettingsButNotTheModes) {
  Offer({{800, 600, 16}});
  TFakeOwner otherOwner;
  TDXDrawDisplay other(otherOwner);
  other.SetWidth(1024);
  other.SetHeight(768);
  other.SetBitCount(16);
  other.SetFixedBitCount(false);
  other.SetFixedRatio(false);
  other.SetFixedSize(true);
  FDisplay.Assign(&other);
  EXPECT_EQ(FDisplay.Width(), 1024);
  EXPECT_EQ(FDisplay.Height(), 768);
  EXPECT_EQ(FDisplay.BitCount(), 16);
  EXPECT_FALSE(FDisplay.FixedBitCount());
  EXPECT_FALSE(FDisplay.FixedRatio());
  EXPECT_TRUE(FDisplay.FixedSize());
  EXPECT_THROW(FDisplay.Assign(nullptr), EConvertError);
}

TEST_F(DisplayModes, EnumeratesSortedThroughATemporaryDevice) {
  Offer({{1024, 768, 32}, {640, 480, 16}, {1024, 768, 8}, {800, 600, 16}, {640, 400, 8}});
  ASSERT_EQ(FDisplay.Count(), 5);
  const std::vector<std::vector<int32_t>> expected = {
      {640, 400, 8}, {640, 480, 16}, {800, 600, 16}, {1024, 768, 8}, {1024, 768, 32}};
  for (int i = 0; i < 5; ++i) {
    const TDXDrawDisplayMode& mode = FDisplay.Modes(i);
    EXPECT_EQ((std::vector<int32_t>{mode.Width(), mode.Height(), mode.BitCount()}), expected[i]);
    EXPECT_EQ(mode.ModeDescription().dwWidth, static_cast<DWORD>(expected[i][0]));
    EXPECT_EQ(mode.Index(), i);  // the list itself is in sorted order
  }
  EXPECT_THROW(FDisplay.Modes(5), EListError);
  EXPECT_EQ(FDisplay.IndexOf(1024, 768, 32), 4);
  EXPECT_EQ(FDisplay.IndexOf(1024, 768, 16), -1);
  // The list is kept until cleared.
  Offer({{320, 200, 8}});
  EXPECT_EQ(FDisplay.Count(), 5);
  FDisplay.ClearModes();
  EXPECT_EQ(FDisplay.Count(), 1);
}

TEST_F(DisplayModes, ApplyModeNeedsADevice) {
  Offer({{800, 600, 16}});
  EXPECT_FALSE(FDisplay.ApplyMode(800, 600, 16));
  EXPECT_EQ(FDisplay.Width(), 640);
  FOwner.FDevice = std::make_unique<TDirectDraw>(nullptr);
  EXPECT_FALSE(FDisplay.ApplyMode(1024, 768, 16));
  EXPECT_NE(FOwner.FDevice->LastResult(), DD_OK);
  EXPECT_EQ(FDisplay.Width(), 640);
  EXPECT_TRUE(FDisplay.ApplyMode(800, 600, 16));
  EXPECT_EQ(FOwner.FDevice->LastResult(), DD_OK);
  EXPECT_EQ(FDisplay.Width(), 800);
  EXPECT_EQ(FDisplay.Height(), 600);
  EXPECT_EQ(FDisplay.BitCount(), 16);
}

struct SelectCase {
  const char* name;
  std::vector<DDDisplayMode> Offered;
  int32_t Width, Height, BitCount;
  bool FixedBitCount, FixedRatio, FixedSize;
  bool Selected;
  int32_t SetWidth, SetHeight, SetBitCount;
};

class ModeSelection : public DisplayModes, public testing::WithParamInterface<SelectCase> {};

TEST_P(ModeSelection, PicksTheRequestedModeOrTheBestFallback) {
  const SelectCase& c = GetParam();
  Offer(c.Offered);
  FOwner.FDevice = std::make_unique<TDirectDraw>(nullptr);
  FDisplay.SetFixedBitCount(c.FixedBitCount);
  FDisplay.SetFixedRatio(c.FixedRatio);
  FDisplay.SetFixedSize(c.FixedSize);
  FOwner.FDevice->SetLastResult(12345);
  EXPECT_EQ(FDisplay.SelectMode(c.Width, c.Height, c.BitCount), c.Selected);
  EXPECT_EQ(FDisplay.Width(), c.SetWidth);
  EXPECT_EQ(FDisplay.Height(), c.SetHeight);
  EXPECT_EQ(FDisplay.BitCount(), c.SetBitCount);
}

const std::vector<DDDisplayMode> kFourThree = {
    {640, 480, 16}, {800, 600, 16}, {1152, 864, 16}, {1280, 1024, 16}};

INSTANTIATE_TEST_SUITE_P(
    Cases, ModeSelection,
    testing::Values(
        SelectCase{"Exact",
                   {{800, 600, 16}, {1024, 768, 16}},
                   1024,
                   768,
                   16,
                   true,
                   true,
                   false,
                   true,
                   1024,
                   768,
                   16},
        SelectCase{"SameRatioFirst", kFourThree, 1024, 768, 16, true, true, false, true, 1152, 864,
                   16},
        SelectCase{"RatioBeatsSmallerSize",
                   {{640, 480, 16}, {1280, 1024, 16}, {1600, 1200, 16}},
                   1024,
                   768,
                   16,
                   true,
                   true,
                   false,
                   true,
                   1600,
                   1200,
                   16},
        SelectCase{"OtherRatioWhenNoneMatches",
                   {{800, 600, 16}, {1280, 1024, 16}},
                   1024,
                   768,
                   16,
                   true,
                   true,
                   false,
                   true,
                   1280,
                   1024,
                   16},
        SelectCase{"WithoutRatioTheSmallestSize",
                   {{1280, 1024, 16}, {1600, 1200, 16}},
                   1024,
                   768,
                   16,
                   true,
                   false,
                   false,
                   true,
                   1280,
                   1024,
                   16},
        // Wide enough but too short is no candidate, even when it comes first.
        SelectCase{"TooShortModeIsSkipped",
                   {{1280, 720, 16}, {1280, 1024, 16}},
                   1024,
                   768,
                   16,
                   true,
                   false,
                   false,
                   true,
                   1280,
                   1024,
                   16},
        SelectCase{"FixedSizeDeeperDepth",
                   {{800, 600, 8}, {800, 600, 32}, {1024, 768, 16}},
                   800,
                   600,
                   16,
                   false,
                   true,
                   true,
                   true,
                   800,
                   600,
                   32},
        SelectCase{"DeepestAtSmallestSize",
                   {{640, 480, 16}, {640, 480, 32}, {800, 600, 32}},
                   640,
                   480,
                   8,
                   false,
                   true,
                   false,
                   true,
                   640,
                   480,
                   32},
        SelectCase{"RequestedDepthWins",
                   {{1024, 768, 16}, {1024, 768, 24}, {1024, 768, 32}},
                   800,
                   600,
                   16,
                   false,
                   true,
                   false,
                   true,
                   1024,
                   768,
                   16},
        SelectCase{"ShallowerDepthRefused",
                   {{1024, 768, 8}},
                   800,
                   600,
                   16,
                   false,
                   true,
                   false,
                   false,
                   640,
                   480,
                   8},
        SelectCase{"FixedDepthFindsNothing",
                   {{800, 600, 16}, {1280, 1024, 32}},
                   1024,
                   768,
                   16,
                   true,
                   true,
                   false,
                   false,
                   640,
                   480,
                   8},
        SelectCase{"FixedSizeFindsNothing",
                   {{1024, 768, 16}},
                   800,
                   600,
                   16,
                   true,
                   true,
                   true,
                   false,
                   640,
                   480,
                   8},
        SelectCase{"ZeroWidth", kFourThree, 0, 480, 16, true, true, false, false, 640, 480, 8},
        SelectCase{"ZeroHeight", kFourThree, 640, 0, 16, true, true, false, false, 640, 480, 8},
        SelectCase{"OddDepth", kFourThree, 640, 480, 15, true, true, false, false, 640, 480, 8}),
    CaseName());

TEST_F(DisplayModes, RefusedRequestMakesNoDeviceCall) {
  Offer(kFourThree);
  FOwner.FDevice = std::make_unique<TDirectDraw>(nullptr);
  FOwner.FDevice->SetLastResult(12345);
  EXPECT_FALSE(FDisplay.SelectMode(0, 768, 16));
  EXPECT_FALSE(FDisplay.SelectMode(1024, 768, 12));
  EXPECT_EQ(FOwner.FDevice->LastResult(), 12345);
}

}  // namespace
