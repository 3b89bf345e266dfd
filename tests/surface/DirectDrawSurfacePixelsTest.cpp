// Locking and single-pixel access at every depth, over memory the test can inspect.
#include <gtest/gtest.h>

#include "platform/framework/Exception.h"
#include "surface/DirectDrawSurface.h"
#include "surface/DirectDrawSurfaceCanvas.h"
#include "tests/support/CaseName.h"
#include "tests/support/DeviceFixture.h"
#include "tests/surface/FakeSurface.h"

namespace {

struct PixelCase {
  const char* name;
  DWORD bitCount;
  int32_t x, y;
  uint32_t written;
  size_t offset;               // byte offset from the start of the memory (pitch 16)
  std::vector<uint8_t> bytes;  // bytes at offset after writing `written` into zeros
  uint32_t readBack;
};
void PrintTo(const PixelCase& c, std::ostream* os) { *os << c.name; }

class PixelTest : public DeviceTest, public ::testing::WithParamInterface<PixelCase> {};

TEST_P(PixelTest, WritesAndReadsAtTheExactAddress) {
  const PixelCase& c = GetParam();
  TFakeSurface native{20, 4};
  native.GivePixels(c.bitCount, 16);
  TDirectDrawSurface surface(Device());
  surface.SetNativeSurface(&native);
  surface.SetPixel(c.x, c.y, c.written);
  std::vector<uint8_t> expected(native.FPixels.size(), 0);
  std::copy(c.bytes.begin(), c.bytes.end(), expected.begin() + static_cast<ptrdiff_t>(c.offset));
  EXPECT_EQ(native.FPixels, expected);
  EXPECT_EQ(surface.Pixel(c.x, c.y), c.readBack);
  EXPECT_EQ(native.FLocks, 0);
  EXPECT_EQ(surface.LockCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Depths, PixelTest,
    ::testing::Values(
        PixelCase{"bit x0 is the high bit", 1, 0, 1, 1, 16, {0x80}, 1},
        PixelCase{"bit x7", 1, 7, 0, 5, 0, {0x01}, 1},
        PixelCase{"bit x9", 1, 9, 2, 1, 33, {0x40}, 1},
        PixelCase{"bit zero stays clear", 1, 3, 0, 0, 0, {0x00}, 0},
        PixelCase{"nibble even x is high", 4, 2, 1, 0xA, 17, {0xA0}, 0xA},
        PixelCase{"nibble odd x is low", 4, 3, 0, 0x1B, 1, {0x0B}, 0xB},
        PixelCase{"byte", 8, 5, 2, 0x1FF, 37, {0xFF}, 0xFF},
        PixelCase{"word", 16, 3, 1, 0x12345678, 22, {0x78, 0x56}, 0x5678},
        PixelCase{"three bytes", 24, 2, 3, 0xAABBCCDD, 54, {0xDD, 0xCC, 0xBB}, 0xBBCCDD},
        PixelCase{"dword", 32, 3, 0, 0x01020304, 12, {0x04, 0x03, 0x02, 0x01}, 0x01020304},
        PixelCase{"unknown depth", 12, 1, 1, 0xFFFF, 0, {}, 0}),
    CaseName());

class PixelMemoryTest : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    FNative.GivePixels(4, 16);
    FSurface = std::make_unique<TDirectDrawSurface>(Device());
    FSurface->SetNativeSurface(&FNative);
  }
  void TearDown() override {
    FSurface.reset();
    DeviceTest::TearDown();
  }
  TFakeSurface FNative{20, 4};
  std::unique_ptr<TDirectDrawSurface> FSurface;
};

TEST_F(PixelMemoryTest, NeighbouringNibblesAndBitsAreKept) {
  FNative.FPixels[0] = 0xFF;
  FSurface->SetPixel(0, 0, 0);
  EXPECT_EQ(FNative.FPixels[0], 0x0F);
  FSurface->SetPixel(1, 0, 0);
  EXPECT_EQ(FNative.FPixels[0], 0x00);
  FNative.GivePixels(1, 16);
  FNative.FPixels[0] = 0xFF;
  FSurface->SetPixel(3, 0, 0);
  EXPECT_EQ(FNative.FPixels[0], 0xEF);
}

TEST_F(PixelMemoryTest, OutsideTheSurfaceNothingIsTouched) {
  FNative.FPixels.assign(FNative.FPixels.size(), 0x77);
  for (auto [x, y] : {std::pair{-1, 0}, std::pair{20, 0}, std::pair{0, -1}, std::pair{0, 4}}) {
    FSurface->SetPixel(x, y, 0);
    EXPECT_EQ(FSurface->Pixel(x, y), 0u);
  }
  EXPECT_EQ(FNative.FPixels, std::vector<uint8_t>(FNative.FPixels.size(), 0x77));
  EXPECT_EQ(FNative.FLocks, 0);
}

TEST_F(PixelMemoryTest, LocksDoNotNest) {
  DDSURFACEDESC desc;
  ASSERT_TRUE(FSurface->Lock(nullptr, desc));
  EXPECT_EQ(desc.lpSurface, FNative.FPixels.data());
  EXPECT_EQ(desc.lPitch, 16);
  DDSURFACEDESC second;
  EXPECT_FALSE(FSurface->Lock(nullptr, second));
  EXPECT_EQ(FSurface->LockCount(), 1);
  FNative.FPixels[0] = 0x50;
  EXPECT_EQ(FSurface->Pixel(0, 0), 0u);  // refused while the other lock is out
  FSurface->SetPixel(0, 0, 1);
  EXPECT_EQ(FNative.FPixels[0], 0x50);
  FSurface->Unlock();
  EXPECT_EQ(FSurface->LockCount(), 0);
  EXPECT_EQ(FNative.FLocks, 0);
  FSurface->Unlock();  // unbalanced unlock does nothing
  EXPECT_EQ(FNative.FLocks, 0);
  EXPECT_EQ(FSurface->Pixel(0, 0), 5u);
}

TEST_F(PixelMemoryTest, OnlyAPartIsLockedByItsRectangle) {
  DDSURFACEDESC desc;
  const TRect whole{0, 0, 20, 4}, part{1, 1, 3, 2};
  ASSERT_TRUE(FSurface->Lock(&whole, desc));
  EXPECT_EQ(FNative.FLockRect, std::nullopt);
  FSurface->Unlock();
  ASSERT_TRUE(FSurface->Lock(&part, desc));
  EXPECT_EQ(FNative.FLockRect, part);
  FSurface->Unlock();
}

TEST_F(PixelMemoryTest, RefusedDeviceContextLeavesTheCanvasWithoutHandle) {
  try {
    FSurface->Canvas()->Handle();
    FAIL() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "Canvas does not allow drawing");
  }
  EXPECT_EQ(FSurface->LastResult(), DDERR_CANTCREATEDC);
  EXPECT_EQ(FSurface->Canvas()->DeviceContext(), nullptr);
}

TEST_F(PixelMemoryTest, ChangingTheSurfaceEndsTheLock) {
  DDSURFACEDESC desc;
  ASSERT_TRUE(FSurface->Lock(nullptr, desc));
  FSurface->SetNativeSurface(nullptr);
  EXPECT_EQ(FSurface->LockCount(), 0);
  EXPECT_EQ(FNative.FLocks, 0);
  EXPECT_FALSE(FSurface->Lock(nullptr, desc));
  EXPECT_EQ(FSurface->Pixel(0, 0), 0u);
}

}  // namespace
