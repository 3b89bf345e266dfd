#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "platform/ui/ScreenScaler.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;
constexpr uint32_t kCanary = 0xA5A5A5A5;

// A framebuffer of any depth, filled pixel by pixel with raw values.
struct TFrame {
  TFrame(int32_t width, int32_t height, uint32_t bitCount)
      : pitch(width * static_cast<int32_t>(bitCount / 8) + 4),
        bytes(static_cast<size_t>(pitch) * static_cast<size_t>(height)) {
    frame = {bytes.data(), pitch, width, height, {bitCount}};
    frame.Format.ColorTable = palette.data();
    frame.Format.ColorCount = static_cast<uint32_t>(palette.size());
  }
  void Set(int32_t x, int32_t y, uint32_t raw) {
    std::memcpy(bytes.data() + y * pitch + x * static_cast<int32_t>(frame.Format.BitCount / 8),
                &raw, frame.Format.BitCount / 8);
  }
  int32_t pitch;
  std::vector<uint8_t> bytes;
  std::array<RGBQUAD, 256> palette{};
  gdi::TPixelView frame;
};

// The shown picture, with a canary pixel after every row.
struct TShown {
  TShown(int32_t width, int32_t height)
      : pixels(static_cast<size_t>(width + 1) * static_cast<size_t>(height), kCanary) {
    view = {reinterpret_cast<uint8_t*>(pixels.data()),
            static_cast<ptrdiff_t>((width + 1) * sizeof(uint32_t)),
            width,
            height,
            {32}};
  }
  const uint32_t* Row(int32_t y) const { return reinterpret_cast<const uint32_t*>(view.Row(y)); }
  uint32_t At(int32_t x, int32_t y) const { return Row(y)[x]; }
  bool CanariesIntact() const {
    for (int32_t y = 0; y < view.Height; ++y)
      if (Row(y)[view.Width] != kCanary) return false;
    return true;
  }
  std::vector<uint32_t> pixels;
  gdi::TPixelView view;
};

TScreenFit Fit(TSize screen, TRect target, TScaleFilter filter) { return {screen, target, filter}; }

// The whole frame scaled to a picture of the given size by the filter.
TShown ScaledWhole(const TFrame& frame, TSize size, TScaleFilter filter) {
  TShown shown(size.cx, size.cy);
  TScreenScaler scaler;
  const TSize screen{frame.frame.Width, frame.frame.Height};
  EXPECT_TRUE(scaler.Scale(frame.frame, Fit(screen, {0, 0, size.cx, size.cy}, filter),
                           {0, 0, screen.cx, screen.cy}, shown.view));
  return shown;
}

struct TDepthCase {
  uint32_t BitCount;
  uint32_t Raw;
  uint32_t Shown;
};

// Raw framebuffer values and the colours the monitor shows for them; 5-6-5
// channels widen by repeating their top bits, so white stays white.
const TDepthCase kDepths[] = {
    {8, 7, 0xFF102030},         {16, 0xFFFF, kWhite},         {16, 0xF800, 0xFFFF0000},
    {16, 0x07E0, 0xFF00FF00},   {16, 0x001F, 0xFF0000FF},     {16, 0x8410, 0xFF848284},
    {24, 0x123456, 0xFF123456}, {32, 0x00654321, 0xFF654321},
};

class ScreenScalerDepthTest : public testing::TestWithParam<TDepthCase> {};

TEST_P(ScreenScalerDepthTest, PixelsAreShownAsTheMonitorShowsThem) {
  const TDepthCase& c = GetParam();
  TFrame frame(3, 2, c.BitCount);
  frame.palette[7] = {0x30, 0x20, 0x10, 0};  // blue, green, red
  frame.Set(1, 1, c.Raw);
  const TShown shown = ScaledWhole(frame, {3, 2}, TScaleFilter::Replicate);
  EXPECT_EQ(shown.At(1, 1), c.Shown);
  EXPECT_EQ(shown.At(0, 0), kBlack);
  EXPECT_TRUE(shown.CanariesIntact());
}

INSTANTIATE_TEST_SUITE_P(Depths, ScreenScalerDepthTest, testing::ValuesIn(kDepths));

// Columns alternately white and black, one pixel each.
TFrame Stripes(int32_t width, int32_t height) {
  TFrame frame(width, height, 16);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; x += 2) frame.Set(x, y, 0xFFFF);
  return frame;
}

TEST(ScreenScaler, AnIntegerFactorShowsEveryPixelAsAnEvenBlock) {
  TFrame frame = Stripes(8, 3);
  const TShown shown = ScaledWhole(frame, {16, 6}, TScaleFilter::Replicate);
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 16; ++x) EXPECT_EQ(shown.At(x, y), x % 4 < 2 ? kWhite : kBlack);
  EXPECT_TRUE(shown.CanariesIntact());
}

TEST(ScreenScalerSmooth, EdgesBetweenPixelsAreBlendedByTheAreaCovered) {
  // Two pixels on three: the middle one covers half of each.
  TFrame frame(2, 1, 16);
  frame.Set(0, 0, 0xFFFF);
  const TShown shown = ScaledWhole(frame, {3, 1}, TScaleFilter::Smooth);
  EXPECT_EQ(shown.At(0, 0), kWhite);
  EXPECT_EQ(shown.At(1, 0), 0xFF808080);
  EXPECT_EQ(shown.At(2, 0), kBlack);
}

TEST(ScreenScalerSmooth, ShrinkingAveragesThePixelsCovered) {
  TFrame frame(4, 4, 32);
  frame.Set(0, 0, 0x00FF0000);
  frame.Set(1, 0, 0x00FF0000);
  frame.Set(3, 3, 0x000000FF);
  const TShown shown = ScaledWhole(frame, {2, 2}, TScaleFilter::Smooth);
  EXPECT_EQ(shown.At(0, 0), 0xFF800000);
  EXPECT_EQ(shown.At(1, 0), kBlack);
  EXPECT_EQ(shown.At(1, 1), 0xFF000040);
}

// The light a row carries, summed over monitor pixels x0 .. x0 + count - 1.
int32_t Light(const TShown& shown, int32_t y, int32_t x0, int32_t count) {
  int32_t sum = 0;
  for (int32_t x = x0; x < x0 + count; ++x) sum += static_cast<int32_t>(shown.At(x, y) & 0xFF);
  return sum;
}

TEST(ScreenScalerSmooth, OnePixelStripesKeepAnEvenWeightAtAFractionalFactor) {
  // 1024 -> 1440 columns (x 1.40625): every stripe gets the same share of light,
  // so any three neighbouring monitor pixels (2.13 screen pixels) carry about
  // the same light; nearest-neighbour runs of one and two pixels would not.
  TFrame frame = Stripes(1024, 2);
  const TShown shown = ScaledWhole(frame, {1440, 3}, TScaleFilter::Smooth);
  const int32_t mean = Light(shown, 1, 0, 1440) * 3 / 1440;
  for (int32_t x = 0; x + 3 <= 1440; ++x) {
    const int32_t light = Light(shown, 1, x, 3);
    ASSERT_GE(light, mean * 85 / 100) << "at " << x;
    ASSERT_LE(light, mean * 115 / 100) << "at " << x;
  }
  // Half of the light, as in the picture.
  EXPECT_NEAR(Light(shown, 1, 0, 1440), 255 * 720, 255 * 2);
}

TEST(ScreenScalerNearest, RunsOfAFractionalFactorAreUneven) {
  TFrame frame = Stripes(1024, 1);
  const TShown shown = ScaledWhole(frame, {1440, 1}, TScaleFilter::Nearest);
  int32_t shortest = 1440, longest = 0, run = 0;
  for (int32_t x = 0; x < 1440; ++x) {
    ASSERT_TRUE(shown.At(x, 0) == kWhite || shown.At(x, 0) == kBlack);
    ++run;
    if (x + 1 == 1440 || shown.At(x + 1, 0) != shown.At(x, 0)) {
      shortest = std::min(shortest, run);
      longest = std::max(longest, run);
      run = 0;
    }
  }
  EXPECT_EQ(shortest, 1);
  EXPECT_EQ(longest, 2);
}

struct TDirtyCase {
  TScaleFilter Filter;
  TRect Target;
};

class ScreenScalerDirtyTest : public testing::TestWithParam<TDirtyCase> {};

TEST_P(ScreenScalerDirtyTest, OnlyThePixelsShowingTheChangeAreRedrawn) {
  const TDirtyCase& c = GetParam();
  const TScreenFit fit = Fit({64, 48}, c.Target, c.Filter);
  TFrame frame(64, 48, 16);
  TShown shown(c.Target.Width(), c.Target.Height());
  TScreenScaler scaler;
  ASSERT_TRUE(scaler.Scale(frame.frame, fit, {0, 0, 64, 48}, shown.view));
  for (int32_t y = 0; y < 48; ++y)
    for (int32_t x = 0; x < 64; ++x) frame.Set(x, y, 0xFFFF);
  const TRect dirty{10, 20, 13, 22};
  ASSERT_TRUE(scaler.Scale(frame.frame, fit, dirty, shown.view));
  TRect changed = ScreenRectOnMonitor(fit, dirty);
  changed = {changed.Left - c.Target.Left, changed.Top - c.Target.Top,
             changed.Right - c.Target.Left, changed.Bottom - c.Target.Top};
  int32_t lit = 0;
  for (int32_t y = 0; y < c.Target.Height(); ++y)
    for (int32_t x = 0; x < c.Target.Width(); ++x) {
      const bool inside =
          x >= changed.Left && x < changed.Right && y >= changed.Top && y < changed.Bottom;
      if (!inside) {
        ASSERT_EQ(shown.At(x, y), kBlack) << x << "," << y;
      }
      lit += shown.At(x, y) != kBlack;
    }
  EXPECT_GT(lit, 0);
  EXPECT_TRUE(shown.CanariesIntact());
}

INSTANTIATE_TEST_SUITE_P(Filters, ScreenScalerDirtyTest,
                         testing::Values(TDirtyCase{TScaleFilter::Replicate, {0, 0, 128, 96}},
                                         TDirtyCase{TScaleFilter::Nearest, {5, 0, 95, 67}},
                                         TDirtyCase{TScaleFilter::Smooth, {5, 0, 95, 67}},
                                         TDirtyCase{TScaleFilter::Smooth, {0, 0, 40, 30}}));

TEST(ScreenScaler, RefusesSizesThatDoNotMatchTheFit) {
  TFrame frame(8, 6, 16);
  TShown shown(16, 12);
  TScreenScaler scaler;
  const TScreenFit fit = Fit({8, 6}, {0, 0, 16, 12}, TScaleFilter::Replicate);
  EXPECT_FALSE(scaler.Scale(frame.frame, Fit({9, 6}, {0, 0, 16, 12}, TScaleFilter::Replicate),
                            {0, 0, 8, 6}, shown.view));
  EXPECT_FALSE(scaler.Scale(frame.frame, Fit({8, 6}, {0, 0, 15, 12}, TScaleFilter::Replicate),
                            {0, 0, 8, 6}, shown.view));
  TFrame odd(8, 6, 15);
  EXPECT_FALSE(scaler.Scale(odd.frame, fit, {0, 0, 8, 6}, shown.view));
  EXPECT_EQ(shown.At(0, 0), kCanary);
  // A dirty rectangle reaching outside the framebuffer is clipped to it.
  EXPECT_TRUE(scaler.Scale(frame.frame, fit, {-5, -5, 100, 100}, shown.view));
  EXPECT_EQ(shown.At(15, 11), kBlack);
  EXPECT_TRUE(shown.CanariesIntact());
}

}  // namespace
