// Surfaces on the real display services: sizing, fallbacks, keys and copied pixels.
#include <gtest/gtest.h>

#include <random>

#include "device/DXErrors.h"
#include "surface/DirectDrawSurface.h"
#include "tests/support/CaseName.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/SurfaceDescription.h"

namespace {

class SurfaceDeviceTest : public DeviceTest {
 protected:
  void TearDown() override {
    FSurfaces.clear();
    DeviceTest::TearDown();
  }
  TDirectDrawSurface& Make(int32_t width, int32_t height, DWORD bitCount = 16) {
    FSurfaces.push_back(std::make_unique<TDirectDrawSurface>(Device()));
    EXPECT_TRUE(
        FSurfaces.back()->CreateFromDescription(SurfaceDescription(width, height, bitCount)));
    return *FSurfaces.back();
  }
  static void Put(TDirectDrawSurface& s, std::initializer_list<uint32_t> values) {
    int32_t i = 0;
    for (uint32_t v : values) s.SetPixel(i % s.Width(), i / s.Width(), v), ++i;
  }
  static std::vector<uint32_t> Get(TDirectDrawSurface& s) {
    std::vector<uint32_t> values;
    for (int32_t y = 0; y < s.Height(); ++y)
      for (int32_t x = 0; x < s.Width(); ++x) values.push_back(s.Pixel(x, y));
    return values;
  }

  std::vector<std::unique_ptr<TDirectDrawSurface>> FSurfaces;
};

TEST_F(SurfaceDeviceTest, RegistersWithItsDevice) {
  const int before = Device().Surfaces().Count();
  {
    TDirectDrawSurface surface(Device());
    EXPECT_EQ(Device().Surfaces().Count(), before + 1);
    EXPECT_EQ(&surface.DirectDraw(), &Device());
  }
  EXPECT_EQ(Device().Surfaces().Count(), before);
}

TEST_F(SurfaceDeviceTest, NonPositiveSizesEmptyTheSurface) {
  TDirectDrawSurface surface(Device());
  surface.SetSize(4, 3);
  EXPECT_EQ(surface.ClientRect(), (TRect{0, 0, 4, 3}));
  EXPECT_FALSE(surface.SystemMemory());
  for (auto [w, h] : {std::pair{0, 10}, std::pair{10, 0}, std::pair{-1, 5}}) {
    surface.SetSize(4, 3);
    EXPECT_NO_THROW(surface.SetSize(w, h));
    EXPECT_EQ(surface.NativeSurface(), nullptr);
    EXPECT_EQ(surface.Width(), 0);
    EXPECT_EQ(surface.Height(), 0);
  }
}

TEST_F(SurfaceDeviceTest, FallsBackToSystemMemory) {
  DDrawHooks().SetVideoMemoryBudget(0);
  TDirectDrawSurface surface(Device());
  surface.SetSize(8, 8);
  EXPECT_NE(surface.NativeSurface(), nullptr);
  EXPECT_TRUE(surface.SystemMemory());
  EXPECT_EQ(surface.LastResult(), DD_OK);
}

TEST_F(SurfaceDeviceTest, SizeBeyondAnyMemoryRaisesAndLeavesItEmpty) {
  TDirectDrawSurface surface(Device());
  surface.SetSize(8, 8);
  try {
    surface.SetSize(1 << 30, 1 << 30);
    FAIL() << "no error";
  } catch (const EDirectDrawSurfaceError& e) {
    EXPECT_EQ(e.Message(), "Surface cannot be made");
  }
  EXPECT_EQ(surface.NativeSurface(), nullptr);
  EXPECT_NE(surface.LastResult(), DD_OK);
}

TEST_F(SurfaceDeviceTest, NewSurfacesKeyOutPixelValueZero) {
  TDirectDrawSurface& source = Make(4, 1);
  TDirectDrawSurface& dest = Make(4, 1);
  Put(source, {0, 5, 0, 7});
  ASSERT_TRUE(dest.Fill(9));
  dest.Draw(0, 0, source.ClientRect(), &source, true);
  EXPECT_EQ(Get(dest), (std::vector<uint32_t>{9, 5, 9, 7}));
  dest.Draw(0, 0, source.ClientRect(), &source, false);
  EXPECT_EQ(Get(dest), (std::vector<uint32_t>{0, 5, 0, 7}));
  source.SetTransparentColor(5);
  dest.Fill(9);
  dest.Draw(0, 0, source.ClientRect(), &source, true);
  EXPECT_EQ(Get(dest), (std::vector<uint32_t>{0, 9, 0, 7}));
}

TEST_F(SurfaceDeviceTest, FillWritesTheRawValue) {
  TDirectDrawSurface& s = Make(3, 2);
  ASSERT_TRUE(s.Fill(0x1234));
  EXPECT_EQ(Get(s), std::vector<uint32_t>(6, 0x1234));
}

TEST_F(SurfaceDeviceTest, MirroredStripShowsTheRightColumns) {
  TDirectDrawSurface& source = Make(100, 1);
  TDirectDrawSurface& dest = Make(100, 1);
  for (int32_t x = 0; x < 100; ++x) source.SetPixel(x, 0, static_cast<uint32_t>(x + 1));
  dest.Fill(0xFFFF);
  dest.Draw(-10, 0, {100, 0, 0, 1}, &source, false);
  // Source columns 0-89, mirrored: column 89 lands at 0.
  for (int32_t x = 0; x < 90; ++x) ASSERT_EQ(dest.Pixel(x, 0), static_cast<uint32_t>(90 - x)) << x;
  for (int32_t x = 90; x < 100; ++x) ASSERT_EQ(dest.Pixel(x, 0), 0xFFFFu) << x;
}

// Plain and mirrored copies of random rectangles, against the pixel each destination
// position should show: the source rectangle laid at (x, y), mirrored if reversed,
// with whatever falls outside either surface left out.
TEST_F(SurfaceDeviceTest, RandomCopiesMatchThePixelByPixelResult) {
  TDirectDrawSurface& source = Make(16, 8);
  TDirectDrawSurface& dest = Make(20, 10);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 16; ++x)
      source.SetPixel(x, y, static_cast<uint32_t>(0x100 + y * 16 + x));
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> coord(-12, 24);
  for (int n = 0; n < 300; ++n) {
    const TRect rect{coord(random), coord(random), coord(random), coord(random)};
    const int32_t x = coord(random), y = coord(random);
    dest.Fill(0xFFFF);
    dest.Draw(x, y, rect, &source, false);
    const bool flipX = rect.Left > rect.Right, flipY = rect.Top > rect.Bottom;
    const int32_t left = std::min(rect.Left, rect.Right), right = std::max(rect.Left, rect.Right);
    const int32_t top = std::min(rect.Top, rect.Bottom), bottom = std::max(rect.Top, rect.Bottom);
    for (int32_t dy = 0; dy < 10; ++dy)
      for (int32_t dx = 0; dx < 20; ++dx) {
        const int32_t kx = dx - x, ky = dy - y;
        uint32_t expected = 0xFFFF;
        if (kx >= 0 && kx < right - left && ky >= 0 && ky < bottom - top) {
          const int32_t sx = flipX ? right - 1 - kx : left + kx;
          const int32_t sy = flipY ? bottom - 1 - ky : top + ky;
          if (sx >= 0 && sx < 16 && sy >= 0 && sy < 8)
            expected = static_cast<uint32_t>(0x100 + sy * 16 + sx);
        }
        ASSERT_EQ(dest.Pixel(dx, dy), expected) << "case " << n << " at " << dx << "," << dy;
      }
  }
}

TEST_F(SurfaceDeviceTest, UpsideDownCopy) {
  TDirectDrawSurface& source = Make(1, 4);
  TDirectDrawSurface& dest = Make(1, 4);
  Put(source, {1, 2, 3, 4});
  dest.Draw(0, 0, {0, 4, 1, 0}, &source, false);
  EXPECT_EQ(Get(dest), (std::vector<uint32_t>{4, 3, 2, 1}));
}

TEST_F(SurfaceDeviceTest, StretchDrawIsClippedToTheSurface) {
  TDirectDrawSurface& source = Make(2, 2);
  TDirectDrawSurface& dest = Make(10, 10);
  Put(source, {1, 2, 3, 4});
  dest.Fill(0);
  dest.StretchDraw({-5, -5, 15, 15}, source.ClientRect(), &source, false);
  EXPECT_EQ(dest.Pixel(0, 0), 1u);
  EXPECT_EQ(dest.Pixel(4, 4), 1u);
  EXPECT_EQ(dest.Pixel(5, 0), 2u);
  EXPECT_EQ(dest.Pixel(9, 0), 2u);
  EXPECT_EQ(dest.Pixel(0, 9), 3u);
  EXPECT_EQ(dest.Pixel(9, 9), 4u);
  EXPECT_FALSE(dest.ClipperAttached());
}

TEST_F(SurfaceDeviceTest, StretchDrawOntoItself) {
  TDirectDrawSurface& s = Make(4, 4);
  Put(s, {1, 2, 0, 0, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  s.StretchDraw({0, 0, 4, 4}, {0, 0, 2, 2}, &s, false);
  EXPECT_EQ(Get(s), (std::vector<uint32_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
}

TEST_F(SurfaceDeviceTest, LostSurfaceWorksAgainAfterRestore) {
  TDirectDrawSurface& s = Make(2, 2);
  DDrawHooks().LoseAllSurfaces();
  EXPECT_FALSE(s.Fill(1));
  EXPECT_EQ(s.LastResult(), DDERR_SURFACELOST);
  EXPECT_TRUE(s.Restore());
  EXPECT_TRUE(s.Fill(1));
}

}  // namespace
