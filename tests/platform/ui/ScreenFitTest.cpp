#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/ScreenFit.h"

namespace {

constexpr TSize kScreen{1024, 768};

using M = TScaleMode;
using F = TScaleFilter;

// Case names such as "1920x1080_Auto".
std::string CaseName(TSize monitor, TScaleMode mode) {
  static const char* const kModes[] = {"Auto", "Integer", "Smooth", "Nearest"};
  return std::to_string(monitor.cx) + "x" + std::to_string(monitor.cy) + "_" +
         kModes[static_cast<int>(mode)];
}
template <typename Info>
std::string MonitorName(const Info& info) {
  return CaseName(info.param.Monitor, info.param.Mode);
}

struct TFitCase {
  TSize Monitor;
  TScaleMode Mode;
  TRect Target;
  TScaleFilter Filter;
};

// The monitors people own, in every mode: where the 1024 x 768 screen goes.
const TFitCase kFits[] = {
    {{1024, 768}, M::Auto, {0, 0, 1024, 768}, F::Replicate},
    {{1024, 768}, M::Integer, {0, 0, 1024, 768}, F::Replicate},
    {{1024, 768}, M::Smooth, {0, 0, 1024, 768}, F::Replicate},
    {{1024, 768}, M::Nearest, {0, 0, 1024, 768}, F::Replicate},
    {{1280, 1024}, M::Auto, {0, 32, 1280, 992}, F::Smooth},
    {{1280, 1024}, M::Integer, {128, 128, 1152, 896}, F::Replicate},
    {{1280, 1024}, M::Nearest, {0, 32, 1280, 992}, F::Nearest},
    {{1920, 1080}, M::Auto, {240, 0, 1680, 1080}, F::Smooth},
    {{1920, 1080}, M::Integer, {448, 156, 1472, 924}, F::Replicate},
    {{1920, 1080}, M::Smooth, {240, 0, 1680, 1080}, F::Smooth},
    {{1920, 1080}, M::Nearest, {240, 0, 1680, 1080}, F::Nearest},
    {{2560, 1440}, M::Auto, {320, 0, 2240, 1440}, F::Smooth},
    {{2560, 1440}, M::Integer, {768, 336, 1792, 1104}, F::Replicate},
    {{3840, 2160}, M::Auto, {896, 312, 2944, 1848}, F::Replicate},
    {{3840, 2160}, M::Integer, {896, 312, 2944, 1848}, F::Replicate},
    {{3840, 2160}, M::Smooth, {480, 0, 3360, 2160}, F::Smooth},
    {{3840, 2160}, M::Nearest, {480, 0, 3360, 2160}, F::Nearest},
    {{1080, 1920}, M::Auto, {0, 555, 1080, 1365}, F::Smooth},
    {{1080, 1920}, M::Integer, {28, 576, 1052, 1344}, F::Replicate},
    {{2048, 1536}, M::Smooth, {0, 0, 2048, 1536}, F::Replicate},
    // Smaller than the screen: no integer factor fits, so every mode shrinks it.
    {{800, 600}, M::Auto, {0, 0, 800, 600}, F::Smooth},
    {{800, 600}, M::Integer, {0, 0, 800, 600}, F::Smooth},
};

class ScreenFitTest : public testing::TestWithParam<TFitCase> {};

TEST_P(ScreenFitTest, TargetAndFilter) {
  const TFitCase& c = GetParam();
  const TScreenFit fit = FitScreen(c.Monitor, kScreen, c.Mode);
  EXPECT_EQ(fit.Screen, kScreen);
  EXPECT_EQ(fit.Target, c.Target);
  EXPECT_EQ(fit.Filter, c.Filter);
}

INSTANTIATE_TEST_SUITE_P(Monitors, ScreenFitTest, testing::ValuesIn(kFits),
                         MonitorName<testing::TestParamInfo<TFitCase>>);

// Mappings on every listed monitor in every mode.
struct TMonitorCase {
  TSize Monitor;
  TScaleMode Mode;
};

std::vector<TMonitorCase> MonitorCases() {
  std::vector<TMonitorCase> cases;
  for (TSize monitor : {TSize{1024, 768}, TSize{1280, 1024}, TSize{1920, 1080}, TSize{2560, 1440},
                        TSize{3840, 2160}, TSize{1080, 1920}})
    for (TScaleMode mode : {M::Auto, M::Integer, M::Smooth, M::Nearest})
      cases.push_back({monitor, mode});
  return cases;
}

class ScreenMappingTest : public testing::TestWithParam<TMonitorCase> {
 protected:
  TScreenFit Fit() const { return FitScreen(GetParam().Monitor, kScreen, GetParam().Mode); }
};

TEST_P(ScreenMappingTest, EveryScreenPixelComesBackFromWhereItIsShown) {
  const TScreenFit fit = Fit();
  for (int32_t x = 0; x < kScreen.cx; ++x) {
    const TPoint shown = ScreenToMonitor(fit, {x, x % kScreen.cy});
    EXPECT_EQ(MonitorToScreen(fit, shown), (TPoint{x, x % kScreen.cy})) << "screen x " << x;
  }
}

TEST_P(ScreenMappingTest, MonitorPixelsOfTheTargetCoverTheScreenInOrder) {
  const TScreenFit fit = Fit();
  int32_t expected = 0;
  for (int32_t x = fit.Target.Left; x < fit.Target.Right; ++x) {
    const int32_t screenX = MonitorToScreen(fit, {x, fit.Target.Top}).X;
    ASSERT_TRUE(screenX == expected || screenX == expected + 1) << "monitor x " << x;
    expected = screenX;
  }
  EXPECT_EQ(expected, kScreen.cx - 1);
  EXPECT_EQ(MonitorToScreen(fit, {fit.Target.Left - 1, fit.Target.Top - 1}).X, -1);
  EXPECT_EQ(MonitorToScreen(fit, {fit.Target.Right, fit.Target.Bottom}),
            (TPoint{kScreen.cx, kScreen.cy}));
}

TEST_P(ScreenMappingTest, ARectangleChangesTheMonitorPixelsThatShowIt) {
  const TScreenFit fit = Fit();
  EXPECT_EQ(ScreenRectOnMonitor(fit, {0, 0, kScreen.cx, kScreen.cy}), fit.Target);
  EXPECT_TRUE(ScreenRectOnMonitor(fit, {5, 5, 5, 9}).IsEmpty());
  const TRect one{300, 200, 301, 201};
  const TRect changed = ScreenRectOnMonitor(fit, one);
  // Every monitor pixel that shows the screen pixel lies inside the changed rectangle.
  for (int32_t y = changed.Top - 2; y < changed.Bottom + 2; ++y)
    for (int32_t x = changed.Left - 2; x < changed.Right + 2; ++x)
      if (MonitorToScreen(fit, {x, y}) == TPoint{300, 200}) {
        EXPECT_TRUE(x >= changed.Left && x < changed.Right && y >= changed.Top &&
                    y < changed.Bottom)
            << x << "," << y;
      }
}

INSTANTIATE_TEST_SUITE_P(Monitors, ScreenMappingTest, testing::ValuesIn(MonitorCases()),
                         MonitorName<testing::TestParamInfo<TMonitorCase>>);

TEST(ScreenFit, ReplicatedPixelsAreEvenBlocks) {
  for (const TMonitorCase& c : MonitorCases()) {
    const TScreenFit fit = FitScreen(c.Monitor, kScreen, c.Mode);
    if (fit.Filter != F::Replicate) continue;
    const int32_t factor = fit.Target.Width() / kScreen.cx;
    for (int32_t x = 0; x < kScreen.cx; ++x) {
      const TPoint first = ScreenToMonitor(fit, {x, 0});
      ASSERT_EQ(first.X, fit.Target.Left + x * factor) << CaseName(c.Monitor, c.Mode);
      ASSERT_EQ(MonitorToScreen(fit, {first.X + factor - 1, first.Y}).X, x)
          << CaseName(c.Monitor, c.Mode);
    }
  }
}

TEST(ScreenFit, TheMiddleOfTheMonitorIsTheMiddleOfTheScreen) {
  // A right click at the middle of a 1920 x 1080 monitor is at the screen's middle,
  // and a menu opened there goes back to the same monitor pixel.
  const TScreenFit fit = FitScreen({1920, 1080}, kScreen, M::Auto);
  EXPECT_EQ(MonitorToScreen(fit, {960, 540}), (TPoint{512, 384}));
  EXPECT_EQ(ScreenToMonitor(fit, {512, 384}), (TPoint{960, 540}));
  const TScreenFit four = FitScreen({3840, 2160}, kScreen, M::Auto);
  EXPECT_EQ(MonitorToScreen(four, {1920, 1080}), (TPoint{512, 384}));
  EXPECT_EQ(ScreenToMonitor(four, {512, 384}), (TPoint{1920, 1080}));
}

TEST(ScreenFit, WindowsGrowWithTheScreenButNeverShrink) {
  struct {
    TSize Monitor;
    TScaleMode Mode;
    double Scale;
  } const cases[] = {
      {{1024, 768}, M::Auto, 1.0},       {{1920, 1080}, M::Auto, 1.40625},
      {{1920, 1080}, M::Integer, 1.0},   {{3840, 2160}, M::Auto, 2.0},
      {{3840, 2160}, M::Smooth, 2.8125}, {{800, 600}, M::Auto, 1.0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(WindowScale(FitScreen(c.Monitor, kScreen, c.Mode)), c.Scale)
        << c.Monitor.cx << "x" << c.Monitor.cy;
}

TEST(ScreenFit, EmptySizesShowTheScreenAsItIs) {
  const TScreenFit fit = FitScreen({0, 0}, kScreen, M::Auto);
  EXPECT_EQ(fit.Target, (TRect{0, 0, 1024, 768}));
  EXPECT_EQ(MonitorToScreen(FitScreen(kScreen, {0, 0}, M::Auto), {7, 8}), (TPoint{7, 8}));
  EXPECT_EQ(WindowScale(FitScreen(kScreen, {0, 0}, M::Auto)), 1.0);
}

TEST(ScreenFit, ScaleModeNames) {
  EXPECT_EQ(ScaleModeFromText(""), M::Auto);
  EXPECT_EQ(ScaleModeFromText("auto"), M::Auto);
  EXPECT_EQ(ScaleModeFromText("integer"), M::Integer);
  EXPECT_EQ(ScaleModeFromText("Smooth"), M::Smooth);
  EXPECT_EQ(ScaleModeFromText("NEAREST"), M::Nearest);
  EXPECT_EQ(ScaleModeFromText("bilinear"), std::nullopt);
  EXPECT_EQ(ScaleModeFromText("integer "), std::nullopt);
}

}  // namespace
