#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "image/UprightPixels.h"

namespace {

constexpr uint8_t kCanary = 0xCD;
constexpr size_t kPadding = 5;

// A picture in memory with padded rows (canary bytes) stored top-down or bottom-up.
class TPaddedPicture {
 public:
  TPaddedPicture(int32_t width, int32_t height, int pixelBytes, bool bottomUp)
      : FStride(size_t(width) * pixelBytes + kPadding),
        FBytes(FStride * size_t(height), kCanary),
        FRows{nullptr, 0, width, height, {uint32_t(pixelBytes) * 8}},
        FPixelBytes(pixelBytes) {
    FRows.Top = FBytes.data() + (bottomUp ? FStride * size_t(height - 1) : 0);
    FRows.Pitch = bottomUp ? -ptrdiff_t(FStride) : ptrdiff_t(FStride);
  }
  const gdi::TPixelView& Rows() const { return FRows; }
  uint8_t* Pixel(int32_t x, int32_t y) { return FRows.Row(y) + ptrdiff_t(x) * FPixelBytes; }
  // Every byte of pixel (x, y) derived from one label, so channel order shows too.
  void SetLabel(int32_t x, int32_t y, uint8_t label) {
    for (int i = 0; i < FPixelBytes; ++i) Pixel(x, y)[i] = uint8_t(label + 16 * i);
  }
  bool HasLabel(int32_t x, int32_t y, uint8_t label) {
    for (int i = 0; i < FPixelBytes; ++i)
      if (Pixel(x, y)[i] != uint8_t(label + 16 * i)) return false;
    return true;
  }
  bool CanariesIntact() const {
    for (size_t row = 0; row < FBytes.size() / FStride; ++row)
      for (size_t i = FStride - kPadding; i < FStride; ++i)
        if (FBytes[row * FStride + i] != kCanary) return false;
    return true;
  }
  bool SamePixels(TPaddedPicture& other) {
    for (int32_t y = 0; y < FRows.Height; ++y)
      for (int32_t x = 0; x < FRows.Width; ++x)
        if (!std::equal(Pixel(x, y), Pixel(x, y) + FPixelBytes, other.Pixel(x, y))) return false;
    return true;
  }

 private:
  size_t FStride;
  std::vector<uint8_t> FBytes;
  gdi::TPixelView FRows;
  int FPixelBytes;
};

// The stored picture is "abc" over "def"; Upright reads the upright picture row by row.
struct TOrientationCase {
  std::string name;
  int32_t Orientation;
  int32_t Width;
  int32_t Height;
  std::string Upright;
};

const TOrientationCase kCases[] = {
    {"AsStored", 1, 3, 2, "abcdef"},           {"MirroredLeftToRight", 2, 3, 2, "cbafed"},
    {"HalfTurn", 3, 3, 2, "fedcba"},           {"MirroredTopToBottom", 4, 3, 2, "defabc"},
    {"MainDiagonal", 5, 2, 3, "adbecf"},       {"TurnedClockwiseToStand", 6, 2, 3, "daebfc"},
    {"OtherDiagonal", 7, 2, 3, "fcebda"},      {"TurnedAnticlockwiseToStand", 8, 2, 3, "cfbead"},
    {"OutOfRangeAsStored", 9, 3, 2, "abcdef"},
};

using TLayout = std::tuple<TOrientationCase, int, bool>;

class UprightPixelsTest : public testing::TestWithParam<TLayout> {};

TEST_P(UprightPixelsTest, EveryPixelLandsWhereTheOrientationSays) {
  const auto& [c, pixelBytes, bottomUp] = GetParam();
  TPaddedPicture stored(3, 2, pixelBytes, bottomUp);
  for (int32_t i = 0; i < 6; ++i) stored.SetLabel(i % 3, i / 3, uint8_t('a' + i));
  TPaddedPicture upright(c.Width, c.Height, pixelBytes, !bottomUp);
  UprightPixels(stored.Rows(), upright.Rows(), c.Orientation);
  for (int32_t i = 0; i < 6; ++i)
    EXPECT_TRUE(upright.HasLabel(i % c.Width, i / c.Width, uint8_t(c.Upright[size_t(i)])))
        << "upright pixel " << i << " should be " << c.Upright[size_t(i)];
  EXPECT_TRUE(upright.CanariesIntact());
  EXPECT_TRUE(stored.CanariesIntact());
}

INSTANTIATE_TEST_SUITE_P(Cases, UprightPixelsTest,
                         testing::Combine(testing::ValuesIn(kCases), testing::Values(1, 3, 4),
                                          testing::Bool()),
                         [](const testing::TestParamInfo<TLayout>& param) {
                           return std::get<0>(param.param).name + "_" +
                                  std::to_string(std::get<1>(param.param)) + "Bytes" +
                                  (std::get<2>(param.param) ? "_BottomUp" : "_TopDown");
                         });

// Larger pictures than one tile, filled at random with a fixed seed: turning a
// picture and then turning the result further must agree with the orientation
// the two steps make together.
struct TChainCase {
  int32_t First;
  int32_t Second;
  int32_t Together;
};

const TChainCase kChains[] = {
    {2, 2, 1}, {3, 3, 1}, {4, 4, 1}, {5, 5, 1}, {7, 7, 1},
    {6, 8, 1}, {8, 6, 1}, {6, 6, 3}, {8, 8, 3}, {2, 4, 3},
};

TPaddedPicture Turned(TPaddedPicture& picture, int32_t orientation, int pixelBytes) {
  const gdi::TPixelView& rows = picture.Rows();
  const bool swaps = OrientationSwapsSides(orientation);
  TPaddedPicture result(swaps ? rows.Height : rows.Width, swaps ? rows.Width : rows.Height,
                        pixelBytes, false);
  UprightPixels(rows, result.Rows(), orientation);
  return result;
}

class UprightPixelsChain : public testing::TestWithParam<std::tuple<int32_t, int32_t>> {};

TEST_P(UprightPixelsChain, TwoStepsMakeTheirCombinedOrientation) {
  const auto [width, height] = GetParam();
  std::mt19937 random(20261209);
  for (int pixelBytes : {1, 3, 4}) {
    TPaddedPicture stored(width, height, pixelBytes, true);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) stored.SetLabel(x, y, uint8_t(random()));
    for (const TChainCase& chain : kChains) {
      TPaddedPicture once = Turned(stored, chain.First, pixelBytes);
      TPaddedPicture twice = Turned(once, chain.Second, pixelBytes);
      TPaddedPicture together = Turned(stored, chain.Together, pixelBytes);
      EXPECT_TRUE(twice.SamePixels(together))
          << chain.First << " then " << chain.Second << ", " << pixelBytes << " bytes";
      EXPECT_TRUE(twice.CanariesIntact());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, UprightPixelsChain,
                         testing::Values(std::tuple{1, 1}, std::tuple{1, 70}, std::tuple{65, 1},
                                         std::tuple{130, 47}, std::tuple{200, 129}));

TEST(UprightPixelsRefusal, ATargetOfTheWrongSizeOrDepthOrPixelsSmallerThanAByte) {
  std::vector<uint8_t> source(3 * 2 * 3), target(3 * 2 * 3);
  const gdi::TPixelView stored{source.data(), 9, 3, 2, {24}};
  const gdi::TPixelView flat{target.data(), 9, 3, 2, {24}};
  const gdi::TPixelView standing{target.data(), 6, 2, 3, {24}};
  const gdi::TPixelView standingGrey{target.data(), 6, 2, 3, {8}};
  const gdi::TPixelView nibbles{source.data(), 9, 3, 2, {4}};
  const gdi::TPixelView nibblesStanding{target.data(), 6, 2, 3, {4}};
  EXPECT_THROW(UprightPixels(stored, standing, 1), std::invalid_argument);
  EXPECT_THROW(UprightPixels(stored, flat, 6), std::invalid_argument);
  EXPECT_THROW(UprightPixels(stored, standingGrey, 6), std::invalid_argument);
  EXPECT_THROW(UprightPixels(nibbles, nibblesStanding, 6), std::invalid_argument);
  EXPECT_NO_THROW(UprightPixels(stored, standing, 6));
}

}  // namespace
