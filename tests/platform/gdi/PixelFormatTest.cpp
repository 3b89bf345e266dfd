#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/gdi/PixelFormat.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/StretchMap.h"

namespace {

using gdi::TPixelFormat;
using gdi::TRgb;

TPixelFormat Masked(uint32_t bits, const uint32_t (&masks)[3]) {
  return TPixelFormat{bits, masks[0], masks[1], masks[2], nullptr, 0};
}

struct TCodecCase {
  const char* Name;
  TPixelFormat Format;
  TRgb In;
  uint32_t Pixel;
  TRgb Back;
};

class PixelCodec : public testing::TestWithParam<TCodecCase> {};

TEST_P(PixelCodec, PacksAndUnpacksByTruncation) {
  const TCodecCase& c = GetParam();
  EXPECT_EQ(gdi::RgbToPixel(c.Format, c.In), c.Pixel);
  EXPECT_EQ(gdi::PixelToRgb(c.Format, c.Pixel), c.Back);
}

constexpr uint32_t k101010[3] = {0x3FF00000, 0x000FFC00, 0x000003FF};

INSTANTIATE_TEST_SUITE_P(
    Formats, PixelCodec,
    testing::Values(TCodecCase{"Rgb565", Masked(16, gdi::kMask565), 0xFF8713, 0xFC22, 0xF88410},
                    TCodecCase{"Rgb555", Masked(16, gdi::kMask555), 0xFF8713, 0x7E02, 0xF88010},
                    TCodecCase{"Default16Is555", TPixelFormat{16}, 0x0000FF, 0x001F, 0x0000F8},
                    TCodecCase{"Bgr24", TPixelFormat{24}, 0x123456, 0x123456, 0x123456},
                    TCodecCase{"Xrgb32", TPixelFormat{32}, 0xABCDEF, 0xABCDEF, 0xABCDEF},
                    TCodecCase{"Wide32", Masked(32, k101010), 0xFF0080, 0x3FC00200, 0xFF0080},
                    TCodecCase{"Swapped32", Masked(32, {0xFF, 0xFF00, 0xFF0000}), 0x010203,
                               0x030201, 0x010203}),
    [](const testing::TestParamInfo<TCodecCase>& p) { return std::string(p.param.Name); });

TEST(PaletteMatching, NearestEntryAndLowestIndexOnTies) {
  const RGBQUAD table[4] = {{0, 0, 0, 0}, {0, 0, 200, 0}, {0, 0, 200, 0}, {255, 255, 255, 0}};
  EXPECT_EQ(gdi::NearestColorIndex(table, 4, 0xB40000), 1u);
  EXPECT_EQ(gdi::NearestColorIndex(table, 4, 0x101010), 0u);
  EXPECT_EQ(gdi::NearestColorIndex(table, 4, 0xF0F0F0), 3u);
  EXPECT_EQ(gdi::NearestColorIndex(table, 0, 0xF0F0F0), 0u);
  const TPixelFormat eight{8, 0, 0, 0, table, 4};
  // Repeated questions go through the cache and must still answer alike.
  gdi::TPixelCodec codec(eight);
  for (int round = 0; round < 40; ++round) {
    EXPECT_EQ(codec.FromRgb(0xB40000), 1u);
    EXPECT_EQ(codec.FromRgb(0xF0F0F0), 3u);
  }
  EXPECT_EQ(codec.ToRgb(3), 0xFFFFFFu);
  EXPECT_EQ(codec.ToRgb(200), 0u);  // beyond the table
}

TEST(FormatChecks, MasksMustBeContiguousDisjointAndInside) {
  EXPECT_TRUE(gdi::IsValidFormat(Masked(16, gdi::kMask565)));
  EXPECT_TRUE(gdi::IsValidFormat(TPixelFormat{32}));
  EXPECT_FALSE(gdi::IsValidFormat(Masked(16, {0xF800, 0x0FE0, 0x1F})));
  EXPECT_FALSE(gdi::IsValidFormat(Masked(16, {0xF000, 0x0A00, 0x1F})));
  EXPECT_FALSE(gdi::IsValidFormat(Masked(16, {0x1F0000, 0x07E0, 0x1F})));
  EXPECT_FALSE(gdi::IsValidFormat(TPixelFormat{2}));
  EXPECT_EQ(gdi::DibRowBytes(5, 24), 16);
  EXPECT_EQ(gdi::DibRowBytes(9, 1), 4);
  EXPECT_EQ(gdi::DibRowBytes(int64_t{1} << 32, 32), -1);
}

// --- Axis mapping -------------------------------------------------------------

struct TAxisCase {
  const char* Name;
  int64_t DstPos, DstLen, SrcPos, SrcLen;
  int32_t DstLimit, SrcLimit;
  int32_t Start;
  std::vector<int32_t> Indexes;
};

class AxisMapping : public testing::TestWithParam<TAxisCase> {};

TEST_P(AxisMapping, SamplesPixelCentres) {
  const TAxisCase& c = GetParam();
  const gdi::TAxisMap map =
      gdi::MapAxis(c.DstPos, c.DstLen, c.SrcPos, c.SrcLen, c.DstLimit, c.SrcLimit);
  EXPECT_EQ(map.SrcIndex, c.Indexes);
  if (!c.Indexes.empty()) {
    EXPECT_EQ(map.DstStart, c.Start);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AxisMapping,
    testing::Values(TAxisCase{"OneToOne", 0, 3, 2, 3, 10, 10, 0, {2, 3, 4}},
                    TAxisCase{"Triple", 0, 6, 0, 2, 10, 10, 0, {0, 0, 0, 1, 1, 1}},
                    TAxisCase{"Third", 0, 2, 0, 6, 10, 10, 0, {1, 4}},
                    TAxisCase{"ThreeToTwo", 0, 2, 0, 3, 10, 10, 0, {0, 2}},
                    TAxisCase{"MirrorByDestination", 3, -3, 0, 3, 10, 10, 0, {2, 1, 0}},
                    TAxisCase{"DoubleMirrorIsStraight", 3, -3, 3, -3, 10, 10, 0, {0, 1, 2}},
                    TAxisCase{"ClippedDestinationKeepsGrid", -3, 6, 0, 2, 10, 10, 0, {1, 1, 1}},
                    TAxisCase{"SourceClippedBothEnds", 0, 6, -2, 6, 10, 3, 2, {0, 1, 2}},
                    TAxisCase{"NothingLeft", 20, 5, 0, 5, 10, 10, 0, {}},
                    TAxisCase{"ZeroSource", 0, 5, 0, 0, 10, 10, 0, {}},
                    TAxisCase{
                        "HugeExtents", -2147483648LL, 4294967295LL, 0, 2147483647LL, 2, 2, 0, {}}),
    [](const testing::TestParamInfo<TAxisCase>& p) { return std::string(p.param.Name); });

// --- Fast paths against the generic path -------------------------------------

struct TPairCase {
  const char* Path;
  TPixelFormat Src;
  TPixelFormat Dst;
};

class FastPathDifferential : public testing::TestWithParam<TPairCase> {
 protected:
  void TearDown() override { gdi::SetForceGenericPath(false); }
};

std::vector<uint8_t> RandomBytes(std::mt19937& random, size_t count) {
  std::vector<uint8_t> bytes(count);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

gdi::TPixelView ViewOf(std::vector<uint8_t>& bytes, int32_t width, int32_t height,
                       TPixelFormat format, bool bottomUp) {
  const auto pitch = static_cast<ptrdiff_t>(gdi::DibRowBytes(width, format.BitCount));
  gdi::TPixelView view;
  view.Width = width;
  view.Height = height;
  view.Format = format;
  view.Pitch = bottomUp ? -pitch : pitch;
  view.Top = bottomUp ? bytes.data() + (height - 1) * pitch : bytes.data();
  return view;
}

TEST_P(FastPathDifferential, MatchesTheGenericPathOnRandomRectangles) {
  const TPairCase& c = GetParam();
  const gdi::TFastPath* path = gdi::FindFastPath(c.Src, c.Dst);
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(std::string(path->Name), c.Path);
  std::mt19937 random(20261208);
  std::vector<RGBQUAD> table(256);
  for (RGBQUAD& q : table)
    q = RGBQUAD{static_cast<BYTE>(random()), static_cast<BYTE>(random()),
                static_cast<BYTE>(random()), 0};
  TPixelFormat src = c.Src;
  if (src.BitCount == 8) {
    src.ColorTable = table.data();
    src.ColorCount = 256;
  }
  for (int round = 0; round < 300; ++round) {
    const int32_t sw = 1 + static_cast<int32_t>(random() % 40),
                  sh = 1 + static_cast<int32_t>(random() % 20);
    const int32_t dw = 1 + static_cast<int32_t>(random() % 40),
                  dh = 1 + static_cast<int32_t>(random() % 20);
    std::vector<uint8_t> srcBytes =
        RandomBytes(random, static_cast<size_t>(gdi::DibRowBytes(sw, src.BitCount) * sh));
    std::vector<uint8_t> fast =
        RandomBytes(random, static_cast<size_t>(gdi::DibRowBytes(dw, c.Dst.BitCount) * dh));
    std::vector<uint8_t> generic = fast;
    const gdi::TPixelView from = ViewOf(srcBytes, sw, sh, src, random() & 1);
    const bool bottomUp = random() & 1;
    auto pick = [&random](int32_t limit) {
      return static_cast<int64_t>(random() % (2 * limit + 1)) - limit / 2;
    };
    const int64_t x = pick(dw), y = pick(dh), w = pick(2 * dw) | 1, h = pick(2 * dh) | 1;
    const int64_t sx = pick(sw), sy = pick(sh), sws = pick(2 * sw) | 1, shs = pick(2 * sh) | 1;
    gdi::SetForceGenericPath(false);
    gdi::StretchView(ViewOf(fast, dw, dh, c.Dst, bottomUp), x, y, w, h, from, sx, sy, sws, shs);
    gdi::SetForceGenericPath(true);
    gdi::StretchView(ViewOf(generic, dw, dh, c.Dst, bottomUp), x, y, w, h, from, sx, sy, sws, shs);
    ASSERT_EQ(fast, generic) << "round " << round;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FastPathDifferential,
    testing::Values(TPairCase{"24->16 (5-6-5)", TPixelFormat{24}, Masked(16, gdi::kMask565)},
                    TPairCase{"32->16 (5-6-5)", TPixelFormat{32}, Masked(16, gdi::kMask565)},
                    TPairCase{"16->16", Masked(16, gdi::kMask565), Masked(16, gdi::kMask565)},
                    TPairCase{"16->16", TPixelFormat{16}, TPixelFormat{16}},
                    TPairCase{"8->16", TPixelFormat{8}, Masked(16, gdi::kMask565)},
                    TPairCase{"8->16", TPixelFormat{8}, TPixelFormat{16}},
                    TPairCase{"24->24", TPixelFormat{24}, TPixelFormat{24}},
                    TPairCase{"24->32", TPixelFormat{24}, TPixelFormat{32}},
                    TPairCase{"32->32", TPixelFormat{32}, TPixelFormat{32}}));

TEST(FastPathTable, OtherPairsUseTheGenericPath) {
  EXPECT_EQ(gdi::FindFastPath(TPixelFormat{16}, Masked(16, gdi::kMask565)), nullptr);
  EXPECT_EQ(gdi::FindFastPath(TPixelFormat{4}, TPixelFormat{24}), nullptr);
  EXPECT_EQ(gdi::FindFastPath(TPixelFormat{24}, TPixelFormat{8}), nullptr);
  EXPECT_EQ(gdi::FindFastPath(Masked(32, k101010), TPixelFormat{32}), nullptr);
}

}  // namespace
