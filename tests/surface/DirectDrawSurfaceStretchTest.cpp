// A surface's stretched and mirrored copies sample their source exactly as the
// graphics services' StretchBlt does: one nearest-neighbour rule for both,
// checked on random rectangles (partly outside the destination too).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "surface/DirectDrawSurface.h"
#include "tests/support/DeviceFixture.h"

namespace {

// 16-bit 5-6-5 pixels held twice: in a display surface and in plain memory that
// a graphics-services device context draws into.
struct TTwinPixels {
  TTwinPixels(TDirectDraw& device, int32_t width, int32_t height, std::mt19937& random)
      : Surface(device), Width(width), Height(height), Plain(size_t(width) * size_t(height)) {
    Surface.SetSize(width, height);
    for (uint16_t& pixel : Plain) pixel = static_cast<uint16_t>(random());
    DDSURFACEDESC desc;
    EXPECT_TRUE(Surface.Lock(nullptr, desc));
    for (int32_t y = 0; y < height; ++y) {
      std::memcpy(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch,
                  &Plain[size_t(y) * width], size_t(width) * 2);
    }
    Surface.Unlock();
    DC = CreatePixelBufferDC({reinterpret_cast<uint8_t*>(Plain.data()),
                              width * 2,
                              width,
                              height,
                              {16, gdi::kMask565[0], gdi::kMask565[1], gdi::kMask565[2]}});
  }
  ~TTwinPixels() { DeleteDC(DC); }
  TTwinPixels(const TTwinPixels&) = delete;
  TTwinPixels& operator=(const TTwinPixels&) = delete;

  // The surface's pixels, row by row.
  std::vector<uint16_t> SurfacePixels() {
    std::vector<uint16_t> pixels(Plain.size());
    DDSURFACEDESC desc;
    EXPECT_TRUE(Surface.Lock(nullptr, desc));
    for (int32_t y = 0; y < Height; ++y) {
      std::memcpy(&pixels[size_t(y) * Width],
                  static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch, size_t(Width) * 2);
    }
    Surface.Unlock();
    return pixels;
  }

  TDirectDrawSurface Surface;
  int32_t Width;
  int32_t Height;
  std::vector<uint16_t> Plain;
  HDC DC = nullptr;
};

int32_t UpTo(std::mt19937& random, int32_t limit) {
  return static_cast<int32_t>(random() % static_cast<uint32_t>(limit));
}

// A non-empty rectangle inside (0, 0, width, height).
TRect RandomPart(std::mt19937& random, int32_t width, int32_t height) {
  const int32_t x = UpTo(random, width), y = UpTo(random, height);
  return TRect{x, y, x + 1 + UpTo(random, width - x), y + 1 + UpTo(random, height - y)};
}

class SurfaceStretchTest : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    SetScreenDepth(16);
  }
  // A source and a target of random sizes and pixels.
  void NewPair(std::mt19937& random) {
    FSource =
        std::make_unique<TTwinPixels>(Device(), 1 + UpTo(random, 40), 1 + UpTo(random, 30), random);
    FTarget =
        std::make_unique<TTwinPixels>(Device(), 1 + UpTo(random, 48), 1 + UpTo(random, 36), random);
  }
  void TearDown() override {
    FSource.reset();
    FTarget.reset();
    DeviceTest::TearDown();
  }
  std::unique_ptr<TTwinPixels> FSource, FTarget;
};

TEST_F(SurfaceStretchTest, SamplesLikeTheGraphicsServicesOnRandomRectangles) {
  std::mt19937 random(20261209);
  for (int round = 0; round < 400; ++round) {
    NewPair(random);
    TTwinPixels &source = *FSource, &target = *FTarget;
    const TRect from = RandomPart(random, source.Width, source.Height);
    // The destination may reach past every edge; the surface clips it.
    const int32_t dx = UpTo(random, target.Width + 8) - 8, dy = UpTo(random, target.Height + 8) - 8;
    const TRect to{dx, dy, dx + 1 + UpTo(random, 2 * target.Width),
                   dy + 1 + UpTo(random, 2 * target.Height)};
    target.Surface.StretchDraw(to, from, &source.Surface, false);
    StretchBlt(target.DC, to.Left, to.Top, to.Width(), to.Height(), source.DC, from.Left, from.Top,
               from.Width(), from.Height(), SRCCOPY);
    ASSERT_EQ(target.SurfacePixels(), target.Plain)
        << "round " << round << ": (" << from.Left << ", " << from.Top << ", " << from.Right << ", "
        << from.Bottom << ") onto (" << to.Left << ", " << to.Top << ", " << to.Right << ", "
        << to.Bottom << ")";
  }
}

TEST_F(SurfaceStretchTest, MirrorsLikeTheGraphicsServicesOnRandomRectangles) {
  std::mt19937 random(20261210);
  for (int round = 0; round < 200; ++round) {
    NewPair(random);
    TTwinPixels &source = *FSource, &target = *FTarget;
    const TRect from = RandomPart(random, source.Width, source.Height);
    const TRect to = RandomPart(random, target.Width, target.Height);
    const bool leftRight = random() & 1, upDown = !leftRight || (random() & 1);
    DDBLTFX effects;
    effects.dwSize = kDDBltFxSize;
    effects.dwDDFX =
        (leftRight ? DDBLTFX_MIRRORLEFTRIGHT : 0) | (upDown ? DDBLTFX_MIRRORUPDOWN : 0);
    ASSERT_TRUE(target.Surface.Blt(&to, &from, DDBLT_DDFX | DDBLT_WAIT, effects, &source.Surface));
    // StretchBlt mirrors by a negative extent, measured from the far edge.
    StretchBlt(target.DC, leftRight ? to.Right : to.Left, upDown ? to.Bottom : to.Top,
               leftRight ? -to.Width() : to.Width(), upDown ? -to.Height() : to.Height(), source.DC,
               from.Left, from.Top, from.Width(), from.Height(), SRCCOPY);
    ASSERT_EQ(target.SurfacePixels(), target.Plain) << "round " << round;
  }
}

}  // namespace
