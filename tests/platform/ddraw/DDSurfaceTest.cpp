// Surface creation and description, video memory, duplicates, locks, lost
// surfaces, palettes and colour keys.
#include <algorithm>
#include <cstring>

#include "tests/platform/ddraw/DDrawFixture.h"

namespace {

struct FormatCase {
  uint32_t bitCount;
  DWORD flags;
  DWORD red;
  DWORD green;
  DWORD blue;
};
void PrintTo(const FormatCase& sample, std::ostream* out) { *out << sample.bitCount << " bits"; }

class SurfaceFormatTest : public DDrawTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(SurfaceFormatTest, DescriptionGivesSizePitchCapsAndMasks) {
  const FormatCase& format = GetParam();
  auto surface = MakeSurface(5, 3, format.bitCount);
  const DDSURFACEDESC desc = Describe(surface.get());
  EXPECT_EQ(desc.dwSize, kDDSurfaceDescSize);
  EXPECT_EQ(desc.dwWidth, 5u);
  EXPECT_EQ(desc.dwHeight, 3u);
  EXPECT_GE(desc.lPitch, static_cast<LONG>(5 * format.bitCount / 8));
  EXPECT_EQ(desc.lPitch % 4, 0);
  EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, format.bitCount);
  EXPECT_EQ(desc.ddpfPixelFormat.dwFlags, format.flags);
  EXPECT_EQ(desc.ddpfPixelFormat.dwRBitMask, format.red);
  EXPECT_EQ(desc.ddpfPixelFormat.dwGBitMask, format.green);
  EXPECT_EQ(desc.ddpfPixelFormat.dwBBitMask, format.blue);
  EXPECT_EQ(desc.ddsCaps.dwCaps, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);
}

INSTANTIATE_TEST_SUITE_P(Depths, SurfaceFormatTest,
                         ::testing::Values(FormatCase{8, DDPF_RGB | DDPF_PALETTEINDEXED8, 0, 0, 0},
                                           FormatCase{16, DDPF_RGB, 0xF800, 0x07E0, 0x001F},
                                           FormatCase{24, DDPF_RGB, 0xFF0000, 0xFF00, 0xFF},
                                           FormatCase{32, DDPF_RGB, 0xFF0000, 0xFF00, 0xFF}));

class SurfaceTest : public DDrawTest {
 protected:
  TRef<IDirectDrawSurface7> TryVideo(int32_t width, int32_t height, HRESULT* result) {
    DDSURFACEDESC desc;
    desc.dwSize = kDDSurfaceDescSize;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface* surface = nullptr;
    *result = FDevice->CreateSurface(&desc, &surface, nullptr);
    return TRef<IDirectDrawSurface7>(static_cast<IDirectDrawSurface7*>(surface));
  }
};

TEST_F(SurfaceTest, SurfacesTakeTheMonitorDepthBeforeAnyMode) {
  for (const auto& [monitorBits, expected] : {std::pair{16, 16u}, {24, 24u}, {15, 32u}, {0, 32u}}) {
    FHost.monitorBits = monitorBits;
    HRESULT result = DD_OK;
    auto surface = TryVideo(4, 4, &result);
    ASSERT_EQ(result, DD_OK);
    EXPECT_EQ(Describe(surface.get()).ddpfPixelFormat.dwRGBBitCount, expected) << monitorBits;
  }
}

TEST_F(SurfaceTest, VideoMemoryIsCountedAgainstTheBudget) {
  Testing().SetVideoMemoryBudget(100 * 100 * 4 + 10);
  HRESULT result = DD_OK;
  auto first = TryVideo(100, 100, &result);
  ASSERT_EQ(result, DD_OK);
  EXPECT_EQ(Describe(first.get()).ddsCaps.dwCaps,
            DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM);
  EXPECT_EQ(Testing().VideoMemoryInUse(), 100u * 100u * 4u);
  auto second = TryVideo(2, 2, &result);
  EXPECT_EQ(result, DDERR_OUTOFVIDEOMEMORY);
  EXPECT_EQ(second, nullptr);
  auto system = MakeSurface(100, 100, 32);
  EXPECT_TRUE(Describe(system.get()).ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY);
  first.reset();
  EXPECT_EQ(Testing().VideoMemoryInUse(), 0u);
  second = TryVideo(2, 2, &result);
  EXPECT_EQ(result, DD_OK);
}

TEST_F(SurfaceTest, GetCapsReportsTheBudget) {
  Testing().SetVideoMemoryBudget(1 << 20);
  DDCAPS hardware;
  hardware.dwSize = kDDCapsSize;
  ASSERT_EQ(FDevice->GetCaps(&hardware, nullptr), DD_OK);
  EXPECT_EQ(hardware.dwVidMemTotal, 1u << 20);
  EXPECT_EQ(hardware.dwVidMemFree, 1u << 20);
}

TEST_F(SurfaceTest, FlippingChainBackBufferFallsBackToSystemMemory) {
  Testing().SetVideoMemoryBudget(0);
  auto primary = MakePrimary(true);
  ASSERT_NE(primary, nullptr);
  const DDSCAPS backCaps{DDSCAPS_BACKBUFFER};
  IDirectDrawSurface* back = nullptr;
  ASSERT_EQ(primary->GetAttachedSurface(&backCaps, &back), DD_OK);
  TRef<IDirectDrawSurface> owned(back);
  EXPECT_TRUE(Describe(back).ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY);
  EXPECT_TRUE(Describe(back).ddsCaps.dwCaps & DDSCAPS_BACKBUFFER);
  EXPECT_TRUE(Describe(primary.get()).ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY);
}

struct BadDescription {
  const char* name;
  DWORD size;
  DWORD flags;
  DWORD width;
  DWORD height;
  DWORD caps;
  DWORD bitCount;
  HRESULT expected;
};
void PrintTo(const BadDescription& sample, std::ostream* out) { *out << sample.name; }

class BadDescriptionTest : public DDrawTest,
                           public ::testing::WithParamInterface<BadDescription> {};

TEST_P(BadDescriptionTest, IsRefused) {
  const BadDescription& sample = GetParam();
  DDSURFACEDESC desc;
  desc.dwSize = sample.size;
  desc.dwFlags = sample.flags;
  desc.dwWidth = sample.width;
  desc.dwHeight = sample.height;
  desc.ddsCaps.dwCaps = sample.caps;
  desc.ddpfPixelFormat.dwRGBBitCount = sample.bitCount;
  IDirectDrawSurface* surface = reinterpret_cast<IDirectDrawSurface*>(&desc);
  EXPECT_EQ(FDevice->CreateSurface(&desc, &surface, nullptr), sample.expected);
  EXPECT_EQ(surface, nullptr);
}

constexpr DWORD kSized = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
const BadDescription kBadDescriptions[] = {
    {"WrongSize", 12, kSized, 4, 4, DDSCAPS_OFFSCREENPLAIN, 0, DDERR_INVALIDPARAMS},
    {"NoWidth", kDDSurfaceDescSize, DDSD_CAPS | DDSD_HEIGHT, 4, 4, DDSCAPS_OFFSCREENPLAIN, 0,
     DDERR_INVALIDPARAMS},
    {"ZeroWidth", kDDSurfaceDescSize, kSized, 0, 4, DDSCAPS_OFFSCREENPLAIN, 0, DDERR_INVALIDPARAMS},
    {"Huge", kDDSurfaceDescSize, kSized, 0xFFFFFFFF, 0xFFFFFFFF, DDSCAPS_SYSTEMMEMORY, 0,
     DDERR_OUTOFMEMORY},
    {"TooManyBytes", kDDSurfaceDescSize, kSized, 30000, 30000, DDSCAPS_SYSTEMMEMORY, 0,
     DDERR_OUTOFMEMORY},
    {"BothMemories", kDDSurfaceDescSize, kSized, 4, 4, DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY,
     0, DDERR_INVALIDCAPS},
    {"Texture", kDDSurfaceDescSize, kSized, 4, 4, DDSCAPS_TEXTURE, 0, DDERR_INVALIDCAPS},
    {"OddDepth", kDDSurfaceDescSize, kSized | DDSD_PIXELFORMAT, 4, 4, DDSCAPS_SYSTEMMEMORY, 15,
     DDERR_INVALIDPIXELFORMAT},
    {"NoBackBuffer", kDDSurfaceDescSize, DDSD_CAPS | DDSD_BACKBUFFERCOUNT, 0, 0,
     DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX, 0, DDERR_INVALIDPARAMS},
};

INSTANTIATE_TEST_SUITE_P(Cases, BadDescriptionTest, ::testing::ValuesIn(kBadDescriptions),
                         [](const auto& sample) { return std::string(sample.param.name); });

TEST_F(SurfaceTest, DuplicateSharesPixelsAndKey) {
  auto surface = MakeSurface(4, 4, 16);
  const DDCOLORKEY key{0x1234, 0x1234};
  surface->SetColorKey(DDCKEY_SRCBLT, &key);
  IDirectDrawSurface* duplicate = nullptr;
  ASSERT_EQ(FDevice->DuplicateSurface(surface.get(), &duplicate), DD_OK);
  TRef<IDirectDrawSurface> owned(duplicate);
  SetPixelAt(surface.get(), 2, 3, 0xBEEF);
  EXPECT_EQ(PixelAt(duplicate, 2, 3), 0xBEEFu);
  DDCOLORKEY copied;
  ASSERT_EQ(duplicate->GetColorKey(DDCKEY_SRCBLT, &copied), DD_OK);
  EXPECT_EQ(copied.dwColorSpaceLowValue, 0x1234u);
  surface.reset();
  SetPixelAt(duplicate, 0, 0, 0x0101);
  EXPECT_EQ(PixelAt(duplicate, 0, 0), 0x0101u);
}

TEST_F(SurfaceTest, QueryInterfaceGivesTheSameSurfaceForEveryVersion) {
  auto surface = MakeSurface(2, 2, 16);
  for (const IID& iid :
       {IID_IDirectDrawSurface, IID_IDirectDrawSurface4, IID_IDirectDrawSurface7}) {
    void* object = nullptr;
    ASSERT_EQ(surface->QueryInterface(iid, &object), DD_OK);
    EXPECT_EQ(object, static_cast<IDirectDrawSurface*>(surface.get()));
    static_cast<IUnknown*>(object)->Release();
  }
  void* gamma = &gamma;
  EXPECT_EQ(surface->QueryInterface(IID_IDirectDrawGammaControl, &gamma), E_NOINTERFACE);
  EXPECT_EQ(gamma, nullptr);
}

// Memory given back by an earlier, painted surface must not show through a new one.
TEST_F(SurfaceTest, NewSurfacesReadAsZero) {
  for (const int32_t side : {8, 64, 512}) {
    for (int round = 0; round < 2; ++round) {
      auto surface = MakeSurface(side, side, 32);
      const std::vector<uint32_t> pixels = ReadAll(surface.get());
      EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0u),
                static_cast<std::ptrdiff_t>(pixels.size()))
          << side;
      FillPattern(surface.get(), 7);
    }
  }
}

TEST_F(SurfaceTest, LockGivesTheRectangleCornerAndRefusesASecondLock) {
  auto surface = MakeSurface(6, 4, 24);
  DDSURFACEDESC whole;
  whole.dwSize = kDDSurfaceDescSize;
  ASSERT_EQ(surface->Lock(nullptr, &whole, DDLOCK_WAIT, nullptr), DD_OK);
  DDSURFACEDESC again;
  again.dwSize = kDDSurfaceDescSize;
  EXPECT_EQ(surface->Lock(nullptr, &again, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  ASSERT_EQ(surface->Unlock(whole.lpSurface), DD_OK);
  EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);
  const TRect part{2, 1, 5, 3};
  DDSURFACEDESC locked;
  locked.dwSize = kDDSurfaceDescSize;
  ASSERT_EQ(surface->Lock(&part, &locked, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(static_cast<uint8_t*>(locked.lpSurface),
            static_cast<uint8_t*>(whole.lpSurface) + whole.lPitch + 6);
  EXPECT_EQ(locked.lPitch, whole.lPitch);
  surface->Unlock(locked.lpSurface);
  for (const TRect& bad : {TRect{0, 0, 7, 4}, TRect{-1, 0, 2, 2}, TRect{3, 3, 3, 4}}) {
    EXPECT_EQ(surface->Lock(&bad, &locked, DDLOCK_WAIT, nullptr), DDERR_INVALIDRECT);
  }
  EXPECT_EQ(surface->Lock(nullptr, nullptr, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(SurfaceTest, LostSurfacesRefuseWorkUntilRestored) {
  auto surface = MakeSurface(4, 4, 16);
  auto other = MakeSurface(4, 4, 16);
  SetPixelAt(surface.get(), 1, 1, 0x7777);
  EXPECT_EQ(surface->IsLost(), DD_OK);
  Testing().LoseAllSurfaces();
  EXPECT_EQ(surface->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(other->IsLost(), DDERR_SURFACELOST);
  DDBLTFX effects;
  effects.dwSize = kDDBltFxSize;
  EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &effects), DDERR_SURFACELOST);
  EXPECT_EQ(surface->BltFast(0, 0, other.get(), nullptr, 0), DDERR_SURFACELOST);
  DDSURFACEDESC desc;
  desc.dwSize = kDDSurfaceDescSize;
  EXPECT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DDERR_SURFACELOST);
  HDC dc = nullptr;
  EXPECT_EQ(surface->GetDC(&dc), DDERR_SURFACELOST);
  ASSERT_EQ(surface->Restore(), DD_OK);
  EXPECT_EQ(surface->IsLost(), DD_OK);
  EXPECT_EQ(other->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(PixelAt(surface.get(), 1, 1), 0u);  // the old contents went with the memory
  EXPECT_EQ(other->Blt(nullptr, surface.get(), nullptr, 0, nullptr), DDERR_SURFACELOST);
  EXPECT_EQ(surface->Blt(nullptr, other.get(), nullptr, 0, nullptr), DDERR_SURFACELOST);
}

TEST_F(SurfaceTest, RestoringTheFrontRestoresTheChain) {
  auto primary = MakePrimary(true);
  const DDSCAPS backCaps{DDSCAPS_BACKBUFFER};
  IDirectDrawSurface* back = nullptr;
  ASSERT_EQ(primary->GetAttachedSurface(&backCaps, &back), DD_OK);
  TRef<IDirectDrawSurface> owned(back);
  Testing().LoseAllSurfaces();
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
  ASSERT_EQ(primary->Restore(), DD_OK);
  EXPECT_EQ(back->IsLost(), DD_OK);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
}

TEST_F(SurfaceTest, ColourKeyRoundTripsAndRejectsOtherKinds) {
  auto surface = MakeSurface(2, 2, 32);
  DDCOLORKEY key;
  ASSERT_EQ(surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  EXPECT_EQ(key.dwColorSpaceLowValue, 0u);
  const DDCOLORKEY set{0xABCDEF, 0xABCDEF};
  ASSERT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, &set), DD_OK);
  ASSERT_EQ(surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  EXPECT_EQ(key.dwColorSpaceLowValue, 0xABCDEFu);
  EXPECT_EQ(Describe(surface.get()).ddckCKSrcBlt.dwColorSpaceLowValue, 0xABCDEFu);
  EXPECT_EQ(surface->SetColorKey(0x2, &set), DDERR_UNSUPPORTED);
  EXPECT_EQ(surface->GetColorKey(DDCKEY_SRCBLT, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(SurfaceTest, PaletteEntriesRoundTripAndAttach) {
  PALETTEENTRY entries[256];
  for (int i = 0; i < 256; ++i) entries[i] = PALETTEENTRY{BYTE(i), BYTE(255 - i), BYTE(i / 2), 0};
  IDirectDrawPalette* palette = nullptr;
  ASSERT_EQ(FDevice->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr),
            DD_OK);
  TRef<IDirectDrawPalette> owned(palette);
  const PALETTEENTRY changed[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
  ASSERT_EQ(palette->SetEntries(0, 254, 2, changed), DD_OK);
  PALETTEENTRY read[3];
  ASSERT_EQ(palette->GetEntries(0, 253, 3, read), DD_OK);
  EXPECT_EQ(read[0], entries[253]);
  EXPECT_EQ(read[1], changed[0]);
  EXPECT_EQ(read[2], changed[1]);
  EXPECT_EQ(palette->SetEntries(0, 255, 2, changed), DDERR_INVALIDPARAMS);
  EXPECT_EQ(palette->SetEntries(0, 0xFFFFFFFF, 2, changed), DDERR_INVALIDPARAMS);
  EXPECT_EQ(palette->GetEntries(0, 0, 1, nullptr), DDERR_INVALIDPARAMS);

  auto surface = MakeSurface(2, 2, 8);
  IDirectDrawPalette* attached = nullptr;
  EXPECT_EQ(surface->GetPalette(&attached), DDERR_NOPALETTEATTACHED);
  ASSERT_EQ(surface->SetPalette(palette), DD_OK);
  ASSERT_EQ(surface->GetPalette(&attached), DD_OK);
  EXPECT_EQ(attached, palette);
  attached->Release();
  EXPECT_EQ(FDevice->CreatePalette(DDPCAPS_8BIT, nullptr, &palette, nullptr), DDERR_INVALIDPARAMS);
}

}  // namespace
