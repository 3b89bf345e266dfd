// Surfaces over the caller's pixels (DDSD_LPSURFACE): the surface uses them as they
// are, counts them like memory of its kind, and never frees or duplicates them.
#include <cstdlib>
#include <vector>

#include "tests/platform/ddraw/DDrawFixture.h"

namespace {

class ClientMemoryTest : public DDrawTest {
 protected:
  HRESULT Create(DWORD caps, DWORD flags, void* pixels, LONG pitch, IDirectDrawSurface** surface) {
    DDSURFACEDESC desc;
    desc.dwSize = kDDSurfaceDescSize;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | flags;
    desc.dwWidth = 5;
    desc.dwHeight = 3;
    desc.ddsCaps.dwCaps = caps;
    desc.lpSurface = pixels;
    desc.lPitch = pitch;
    desc.dwFlags |= DDSD_PIXELFORMAT;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
    desc.ddpfPixelFormat.dwRGBBitCount = 16;
    desc.ddpfPixelFormat.dwRBitMask = 0xF800;
    desc.ddpfPixelFormat.dwGBitMask = 0x07E0;
    desc.ddpfPixelFormat.dwBBitMask = 0x001F;
    *surface = nullptr;
    return FDevice->CreateSurface(&desc, surface, nullptr);
  }
  // 5 x 3 pixels of 16 bits in rows of 12 bytes, each pixel its own value.
  std::vector<uint16_t> FPixels = std::vector<uint16_t>(18);
};

TEST_F(ClientMemoryTest, TheSurfaceShowsAndWritesTheGivenPixels) {
  for (size_t i = 0; i < FPixels.size(); ++i) FPixels[i] = static_cast<uint16_t>(0x100 + i);
  IDirectDrawSurface* raw = nullptr;
  ASSERT_EQ(Create(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, DDSD_LPSURFACE | DDSD_PITCH,
                   FPixels.data(), 12, &raw),
            DD_OK);
  TRef<IDirectDrawSurface> surface(raw);
  EXPECT_EQ(Describe(raw).lPitch, 12);
  EXPECT_EQ(PixelAt(raw, 0, 0), 0x100u);
  EXPECT_EQ(PixelAt(raw, 4, 2), 0x100u + 16);
  SetPixelAt(raw, 1, 1, 0xBEEF);
  EXPECT_EQ(FPixels[7], 0xBEEF);
}

TEST_F(ClientMemoryTest, CountsAsVideoMemoryOfItsSizeWhileItLives) {
  Testing().SetVideoMemoryBudget(1000);
  IDirectDrawSurface* raw = nullptr;
  ASSERT_EQ(Create(DDSCAPS_OFFSCREENPLAIN, DDSD_LPSURFACE | DDSD_PITCH, FPixels.data(), 12, &raw),
            DD_OK);
  TRef<IDirectDrawSurface> surface(raw);
  EXPECT_TRUE(Describe(raw).ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY);
  EXPECT_EQ(Testing().VideoMemoryInUse(), 36u);
  surface.reset();
  EXPECT_EQ(Testing().VideoMemoryInUse(), 0u);
  Testing().SetVideoMemoryBudget(30);
  EXPECT_EQ(Create(DDSCAPS_OFFSCREENPLAIN, DDSD_LPSURFACE | DDSD_PITCH, FPixels.data(), 12, &raw),
            DDERR_OUTOFVIDEOMEMORY);
}

TEST_F(ClientMemoryTest, IsNotDuplicated) {
  IDirectDrawSurface* raw = nullptr;
  ASSERT_EQ(Create(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, DDSD_LPSURFACE | DDSD_PITCH,
                   FPixels.data(), 12, &raw),
            DD_OK);
  TRef<IDirectDrawSurface> surface(raw);
  IDirectDrawSurface* duplicate = raw;
  EXPECT_EQ(FDevice->DuplicateSurface(raw, &duplicate), DDERR_CANTDUPLICATE);
  EXPECT_EQ(duplicate, nullptr);
}

TEST_F(ClientMemoryTest, RefusesPixelsWithoutAPitchOrWithRowsTooShort) {
  IDirectDrawSurface* raw = nullptr;
  const DWORD system = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  EXPECT_EQ(Create(system, DDSD_LPSURFACE, FPixels.data(), 12, &raw), DDERR_INVALIDPARAMS);
  EXPECT_EQ(Create(system, DDSD_LPSURFACE | DDSD_PITCH, FPixels.data(), 8, &raw),
            DDERR_INVALIDPARAMS);
  EXPECT_EQ(Create(system, DDSD_LPSURFACE | DDSD_PITCH, nullptr, 12, &raw), DDERR_INVALIDPARAMS);
  EXPECT_EQ(raw, nullptr);
}

}  // namespace
