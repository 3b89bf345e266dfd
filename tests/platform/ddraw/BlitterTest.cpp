// Fills, copies, stretches, mirrors and colour keys at every depth.
#include <cstring>
#include <random>

#include "tests/platform/ddraw/DDrawFixture.h"

namespace {

uint32_t Mask(uint32_t bitCount) { return bitCount == 32 ? 0xFFFFFFFFu : (1u << bitCount) - 1; }

DDBLTFX Effects(DWORD fx = 0) {
  DDBLTFX effects;
  effects.dwSize = kDDBltFxSize;
  effects.dwDDFX = fx;
  return effects;
}

class BltDepthTest : public DDrawTest, public ::testing::WithParamInterface<uint32_t> {
 protected:
  uint32_t Bits() const { return GetParam(); }
  // A 1-row surface whose pixel i holds i + 1.
  TRef<IDirectDrawSurface7> Ramp(int32_t width) {
    auto surface = MakeSurface(width, 1, Bits());
    for (int32_t x = 0; x < width; ++x)
      SetPixelAt(surface.get(), x, 0, static_cast<uint32_t>(x + 1));
    return surface;
  }
  std::vector<uint32_t> Row(IDirectDrawSurface* surface) { return ReadAll(surface); }
};

TEST_P(BltDepthTest, ColourFillWritesOnlyTheRectangleWithTheRawValue) {
  auto surface = MakeSurface(9, 6, Bits());
  FillPattern(surface.get(), 1);
  std::vector<uint32_t> expected = ReadAll(surface.get());
  const TRect rect{2, 3, 7, 5};
  DDBLTFX effects = Effects();
  effects.dwFillColor = 0xA1B2C3D4u;
  ASSERT_EQ(surface->Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects), DD_OK);
  for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
    for (int32_t x = rect.Left; x < rect.Right; ++x)
      expected[static_cast<size_t>(y * 9 + x)] = 0xA1B2C3D4u & Mask(Bits());
  }
  EXPECT_EQ(ReadAll(surface.get()), expected);
}

TEST_P(BltDepthTest, WholeSurfaceFillWithoutRectangles) {
  auto surface = MakeSurface(5, 4, Bits());
  FillPattern(surface.get(), 2);
  DDBLTFX effects = Effects();
  ASSERT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects), DD_OK);
  EXPECT_EQ(ReadAll(surface.get()), std::vector<uint32_t>(20, 0));
}

TEST_P(BltDepthTest, UnscaledCopyMovesTheSourceRectangle) {
  auto source = MakeSurface(8, 6, Bits());
  auto target = MakeSurface(10, 7, Bits());
  FillPattern(source.get(), 3);
  FillPattern(target.get(), 4);
  const std::vector<uint32_t> from = ReadAll(source.get());
  std::vector<uint32_t> expected = ReadAll(target.get());
  const TRect sourceRect{1, 2, 6, 5};
  const TRect destRect{3, 1, 8, 4};
  ASSERT_EQ(target->Blt(&destRect, source.get(), &sourceRect, DDBLT_WAIT, nullptr), DD_OK);
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 5; ++x) {
      expected[static_cast<size_t>((1 + y) * 10 + 3 + x)] =
          from[static_cast<size_t>((2 + y) * 8 + 1 + x)];
    }
  }
  EXPECT_EQ(ReadAll(target.get()), expected);
}

TEST_P(BltDepthTest, SourceColourKeySkipsKeyPixels) {
  for (const bool fast : {false, true}) {
    auto source = MakeSurface(6, 1, Bits());
    auto target = MakeSurface(6, 1, Bits());
    const uint32_t key = 5;
    const std::vector<uint32_t> pixels{1, key, 2, key, 3, 4};
    for (int32_t x = 0; x < 6; ++x) SetPixelAt(source.get(), x, 0, pixels[static_cast<size_t>(x)]);
    DDBLTFX fill = Effects();
    fill.dwFillColor = 9;
    target->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fill);
    const DDCOLORKEY colorKey{key, key};
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &colorKey), DD_OK);
    const HRESULT result = fast
                               ? target->BltFast(0, 0, source.get(), nullptr, DDBLTFAST_SRCCOLORKEY)
                               : target->Blt(nullptr, source.get(), nullptr, DDBLT_KEYSRC, nullptr);
    ASSERT_EQ(result, DD_OK);
    EXPECT_EQ(Row(target.get()), (std::vector<uint32_t>{1, 9, 2, 9, 3, 4})) << "BltFast " << fast;
  }
}

TEST_P(BltDepthTest, NewSurfaceKeysOnRawZero) {
  auto source = MakeSurface(3, 1, Bits());
  auto target = MakeSurface(3, 1, Bits());
  SetPixelAt(source.get(), 1, 0, 7);
  DDBLTFX fill = Effects();
  fill.dwFillColor = 2;
  target->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fill);
  ASSERT_EQ(target->Blt(nullptr, source.get(), nullptr, DDBLT_KEYSRC, nullptr), DD_OK);
  EXPECT_EQ(Row(target.get()), (std::vector<uint32_t>{2, 7, 2}));
}

TEST_P(BltDepthTest, KeyOverrideComesFromTheEffects) {
  auto source = Ramp(4);
  auto target = MakeSurface(4, 1, Bits());
  DDBLTFX effects = Effects();
  effects.ddckSrcColorkey = DDCOLORKEY{3, 3};
  ASSERT_EQ(target->Blt(nullptr, source.get(), nullptr, DDBLT_KEYSRCOVERRIDE, &effects), DD_OK);
  EXPECT_EQ(Row(target.get()), (std::vector<uint32_t>{1, 2, 0, 4}));
}

struct StretchCase {
  int32_t sourceWidth;
  int32_t destWidth;
  std::vector<uint32_t> expected;  // source pixel values (index + 1) per destination pixel
};
void PrintTo(const StretchCase& sample, std::ostream* out) {
  *out << sample.sourceWidth << "to" << sample.destWidth;
}

class StretchTest : public DDrawTest,
                    public ::testing::WithParamInterface<std::tuple<uint32_t, StretchCase>> {};

TEST_P(StretchTest, SamplesPixelCentresForwardAndMirrored) {
  const auto& [bits, sample] = GetParam();
  auto source = MakeSurface(sample.sourceWidth, 1, bits);
  for (int32_t x = 0; x < sample.sourceWidth; ++x)
    SetPixelAt(source.get(), x, 0, static_cast<uint32_t>(x + 1));
  for (const bool mirror : {false, true}) {
    auto target = MakeSurface(sample.destWidth, 1, bits);
    DDBLTFX effects = Effects(mirror ? DDBLTFX_MIRRORLEFTRIGHT : 0);
    ASSERT_EQ(target->Blt(nullptr, source.get(), nullptr, DDBLT_DDFX | DDBLT_WAIT, &effects),
              DD_OK);
    std::vector<uint32_t> expected = sample.expected;
    if (mirror) {
      for (uint32_t& value : expected)
        value = static_cast<uint32_t>(sample.sourceWidth) + 1 - value;
    }
    EXPECT_EQ(ReadAll(target.get()), expected) << "mirror " << mirror;
  }
}

const StretchCase kStretchCases[] = {
    {2, 4, {1, 1, 2, 2}},    {4, 2, {2, 4}},    {3, 7, {1, 1, 2, 2, 2, 3, 3}},
    {5, 5, {1, 2, 3, 4, 5}}, {7, 3, {2, 4, 6}}, {1, 3, {1, 1, 1}},
};

INSTANTIATE_TEST_SUITE_P(Depths, StretchTest,
                         ::testing::Combine(::testing::Values(8u, 16u, 24u, 32u),
                                            ::testing::ValuesIn(kStretchCases)));

TEST_P(BltDepthTest, MirrorUpDownReversesRows) {
  auto source = MakeSurface(2, 3, Bits());
  auto target = MakeSurface(2, 3, Bits());
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 2; ++x)
      SetPixelAt(source.get(), x, y, static_cast<uint32_t>(10 * y + x + 1));
  }
  DDBLTFX effects = Effects(DDBLTFX_MIRRORUPDOWN | DDBLTFX_MIRRORLEFTRIGHT);
  ASSERT_EQ(target->Blt(nullptr, source.get(), nullptr, DDBLT_DDFX, &effects), DD_OK);
  EXPECT_EQ(ReadAll(target.get()), (std::vector<uint32_t>{22, 21, 12, 11, 2, 1}));
}

TEST_P(BltDepthTest, FastPathsMatchTheGenericKernelOnRandomCopies) {
  std::mt19937 random(1234 + Bits());
  for (int round = 0; round < 60; ++round) {
    auto source = MakeSurface(23, 17, Bits());
    auto fastTarget = MakeSurface(29, 19, Bits());
    auto genericTarget = MakeSurface(29, 19, Bits());
    FillPattern(source.get(), static_cast<uint32_t>(round));
    FillPattern(fastTarget.get(), 99);
    FillPattern(genericTarget.get(), 99);
    const auto pick = [&](int32_t limit) {
      return static_cast<int32_t>(random() % static_cast<uint32_t>(limit));
    };
    const int32_t sx = pick(22), sy = pick(16);
    const TRect sourceRect{sx, sy, sx + 1 + pick(23 - sx), sy + 1 + pick(17 - sy)};
    const int32_t dx = pick(28), dy = pick(18);
    const TRect destRect{dx, dy, dx + 1 + pick(29 - dx), dy + 1 + pick(19 - dy)};
    const DDCOLORKEY key{ReadAll(source.get())[0], 0};
    source->SetColorKey(DDCKEY_SRCBLT, &key);
    const DWORD flags = (round % 2) ? DDBLT_KEYSRC : 0;
    Testing().SetForceGenericBlits(false);
    ASSERT_EQ(fastTarget->Blt(&destRect, source.get(), &sourceRect, flags, nullptr), DD_OK);
    Testing().SetForceGenericBlits(true);
    ASSERT_EQ(genericTarget->Blt(&destRect, source.get(), &sourceRect, flags, nullptr), DD_OK);
    Testing().SetForceGenericBlits(false);
    ASSERT_EQ(ReadAll(fastTarget.get()), ReadAll(genericTarget.get())) << "round " << round;
  }
}

TEST_P(BltDepthTest, RowPaddingIsNeverWritten) {
  auto source = MakeSurface(7, 5, Bits());
  auto target = MakeSurface(7, 5, Bits());
  FillPattern(source.get(), 5);
  DDSURFACEDESC desc;
  desc.dwSize = kDDSurfaceDescSize;
  ASSERT_EQ(target->Lock(nullptr, &desc, 0, nullptr), DD_OK);
  const size_t rowBytes = 7 * Bits() / 8;
  auto* bytes = static_cast<uint8_t*>(desc.lpSurface);
  for (int y = 0; y < 5; ++y)
    std::memset(bytes + y * desc.lPitch + rowBytes, 0xCC, desc.lPitch - rowBytes);
  target->Unlock(desc.lpSurface);
  DDBLTFX fx = Effects(DDBLTFX_MIRRORLEFTRIGHT);
  fx.dwFillColor = 0xFFFFFFFF;
  target->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx);
  target->Blt(nullptr, source.get(), nullptr, DDBLT_DDFX, &fx);
  const TRect small{1, 1, 3, 2};
  target->Blt(nullptr, source.get(), &small, 0, nullptr);
  for (int y = 0; y < 5; ++y) {
    for (size_t i = rowBytes; i < static_cast<size_t>(desc.lPitch); ++i)
      EXPECT_EQ(bytes[y * desc.lPitch + i], 0xCC);
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, BltDepthTest, ::testing::Values(8u, 16u, 24u, 32u));

class BltRulesTest : public DDrawTest {};

TEST_F(BltRulesTest, ThirtyTwoBitKeysIgnoreTheUnusedTopByte) {
  auto source = MakeSurface(2, 1, 32);
  auto target = MakeSurface(2, 1, 32);
  SetPixelAt(source.get(), 0, 0, 0xFF000000u);
  SetPixelAt(source.get(), 1, 0, 0x00123456u);
  ASSERT_EQ(target->Blt(nullptr, source.get(), nullptr, DDBLT_KEYSRC, nullptr), DD_OK);
  EXPECT_EQ(ReadAll(target.get()), (std::vector<uint32_t>{0, 0x00123456u}));
}

struct BadBlt {
  const char* name;
  TRect dest;
  TRect source;
  DWORD flags;
  HRESULT expected;
};
void PrintTo(const BadBlt& sample, std::ostream* out) { *out << sample.name; }

class BadBltTest : public DDrawTest, public ::testing::WithParamInterface<BadBlt> {};

TEST_P(BadBltTest, IsRefusedAndWritesNothing) {
  const BadBlt& sample = GetParam();
  auto source = MakeSurface(8, 8, 16);
  auto target = MakeSurface(8, 8, 16);
  FillPattern(source.get(), 1);
  const std::vector<uint32_t> before = ReadAll(target.get());
  DDBLTFX effects = Effects();
  EXPECT_EQ(target->Blt(&sample.dest, source.get(), &sample.source, sample.flags, &effects),
            sample.expected);
  EXPECT_EQ(ReadAll(target.get()), before);
}

const BadBlt kBadBlts[] = {
    {"EmptyDest", {2, 2, 2, 5}, {0, 0, 2, 2}, 0, DDERR_INVALIDRECT},
    {"ReversedDest", {5, 2, 2, 5}, {0, 0, 2, 2}, 0, DDERR_INVALIDRECT},
    {"DestOutside", {6, 6, 10, 10}, {0, 0, 4, 4}, 0, DDERR_INVALIDRECT},
    {"DestNegative", {-1, 0, 3, 3}, {0, 0, 4, 4}, 0, DDERR_INVALIDRECT},
    {"SourceOutside", {0, 0, 4, 4}, {5, 5, 9, 9}, 0, DDERR_INVALIDRECT},
    {"SourceReversed", {0, 0, 4, 4}, {4, 0, 0, 4}, 0, DDERR_INVALIDRECT},
    {"HugeDest", {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {0, 0, 4, 4}, 0, DDERR_INVALIDRECT},
};

INSTANTIATE_TEST_SUITE_P(Cases, BadBltTest, ::testing::ValuesIn(kBadBlts),
                         [](const auto& sample) { return std::string(sample.param.name); });

TEST_F(BltRulesTest, MissingArgumentsAreInvalidParameters) {
  auto source = MakeSurface(4, 4, 16);
  auto target = MakeSurface(4, 4, 16);
  EXPECT_EQ(target->Blt(nullptr, nullptr, nullptr, 0, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(target->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(target->Blt(nullptr, source.get(), nullptr, DDBLT_DDFX, nullptr), DDERR_INVALIDPARAMS);
  DDBLTFX wrongSize;
  wrongSize.dwSize = 12;
  EXPECT_EQ(target->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &wrongSize),
            DDERR_INVALIDPARAMS);
  EXPECT_EQ(target->BltFast(0, 0, nullptr, nullptr, 0), DDERR_INVALIDPARAMS);
}

TEST_F(BltRulesTest, DepthsMustMatch) {
  auto source = MakeSurface(4, 4, 32);
  auto target = MakeSurface(4, 4, 16);
  EXPECT_EQ(target->Blt(nullptr, source.get(), nullptr, 0, nullptr), DDERR_INVALIDPIXELFORMAT);
}

}  // namespace
