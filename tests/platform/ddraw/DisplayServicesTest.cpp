// What reaches the screen: writes to the primary surface, flips, palettes.
#include "tests/platform/ddraw/DDrawFixture.h"

namespace {

class PresentTest : public DDrawTest {
 protected:
  void SetUp() override {
    DDrawTest::SetUp();
    ASSERT_EQ(FDevice->SetDisplayMode(640, 480, 16), DD_OK);
  }
  IDirectDrawSurface* BackOf(IDirectDrawSurface* primary) {
    const DDSCAPS caps{DDSCAPS_BACKBUFFER};
    IDirectDrawSurface* back = nullptr;
    EXPECT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
    FBack.reset(back);
    return back;
  }
  static uint16_t ShownAt(const gdi::TPixelView& shown, int32_t x, int32_t y) {
    return reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(shown.Top) +
                                             y * shown.Pitch)[x];
  }
  TRef<IDirectDrawSurface> FBack;
};

TEST_F(PresentTest, WritesToThePrimaryShowExactlyTheirRectangle) {
  auto primary = MakePrimary(false);
  auto picture = MakeSurface(20, 10, 16);
  FHost.dirtyRects.clear();
  DDBLTFX effects;
  effects.dwSize = kDDBltFxSize;
  effects.dwFillColor = 0xF800;
  const TRect fill{10, 20, 30, 25};
  ASSERT_EQ(primary->Blt(&fill, nullptr, nullptr, DDBLT_COLORFILL, &effects), DD_OK);
  ASSERT_EQ(primary->BltFast(100, 200, picture.get(), nullptr, 0), DD_OK);
  const TRect stretch{0, 0, 640, 480};
  ASSERT_EQ(primary->Blt(&stretch, picture.get(), nullptr, 0, nullptr), DD_OK);
  DDSURFACEDESC desc;
  desc.dwSize = kDDSurfaceDescSize;
  const TRect locked{5, 6, 7, 8};
  ASSERT_EQ(primary->Lock(&locked, &desc, 0, nullptr), DD_OK);
  ASSERT_EQ(primary->Unlock(desc.lpSurface), DD_OK);
  EXPECT_EQ(FHost.dirtyRects, (std::vector<TRect>{fill, {100, 200, 120, 210}, stretch, locked}));
  EXPECT_EQ(FHost.shown.Width, 640);
  EXPECT_EQ(FHost.shown.Format.BitCount, 16u);
  EXPECT_EQ(ShownAt(FHost.shown, 12, 22), 0u);  // the stretch covered the fill
}

TEST_F(PresentTest, ClippedWritesShowOnlyWhatWasWritten) {
  auto primary = MakePrimary(false);
  FHost.windows[FakeWindow(1)] = TRect{100, 50, 300, 250};
  IDirectDrawClipper* clipper = nullptr;
  ASSERT_EQ(FDevice->CreateClipper(0, &clipper, nullptr), DD_OK);
  TRef<IDirectDrawClipper> owned(clipper);
  clipper->SetHWnd(0, FakeWindow(1));
  primary->SetClipper(clipper);
  FHost.dirtyRects.clear();
  DDBLTFX effects;
  effects.dwSize = kDDBltFxSize;
  ASSERT_EQ(primary->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &effects), DD_OK);
  EXPECT_EQ(FHost.dirtyRects, (std::vector<TRect>{{100, 50, 300, 250}}));
}

TEST_F(PresentTest, BackBufferWritesShowNothingUntilTheFlip) {
  auto primary = MakePrimary(true);
  IDirectDrawSurface* back = BackOf(primary.get());
  FHost.dirtyRects.clear();
  DDBLTFX effects;
  effects.dwSize = kDDBltFxSize;
  effects.dwFillColor = 0x07E0;
  ASSERT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &effects), DD_OK);
  EXPECT_TRUE(FHost.dirtyRects.empty());
  ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(FHost.dirtyRects, (std::vector<TRect>{{0, 0, 640, 480}}));
  EXPECT_EQ(ShownAt(FHost.shown, 320, 240), 0x07E0);
  EXPECT_EQ(PixelAt(back, 0, 0), 0u);  // the old front is the new back
  gdi::TPixelView read;
  ASSERT_TRUE(Testing().ReadFramebuffer(&read));
  EXPECT_EQ(ShownAt(read, 1, 1), 0x07E0);
}

TEST_F(PresentTest, FlipNeedsAChain) {
  auto primary = MakePrimary(true);
  auto plain = MakeSurface(4, 4, 16);
  EXPECT_EQ(plain->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
  EXPECT_EQ(primary->Flip(plain.get(), DDFLIP_WAIT), DDERR_INVALIDPARAMS);
  IDirectDrawSurface* back = BackOf(primary.get());
  EXPECT_EQ(primary->DeleteAttachedSurface(0, plain.get()), DDERR_SURFACENOTATTACHED);
  ASSERT_EQ(primary->DeleteAttachedSurface(0, back), DD_OK);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
  const DDSCAPS caps{DDSCAPS_BACKBUFFER};
  IDirectDrawSurface* none = back;
  EXPECT_EQ(primary->GetAttachedSurface(&caps, &none), DDERR_NOTFOUND);
  EXPECT_EQ(none, nullptr);
}

TEST_F(PresentTest, ReadFramebufferIsEmptyWithoutAPrimary) {
  gdi::TPixelView read;
  EXPECT_FALSE(Testing().ReadFramebuffer(&read));
  auto primary = MakePrimary(false);
  EXPECT_TRUE(Testing().ReadFramebuffer(&read));
  primary.reset();
  EXPECT_FALSE(Testing().ReadFramebuffer(&read));
}

TEST_F(PresentTest, EightBitScreenShowsThroughItsPalette) {
  ASSERT_EQ(FDevice->SetDisplayMode(640, 480, 8), DD_OK);
  auto primary = MakePrimary(false);
  PALETTEENTRY entries[256]{};
  IDirectDrawPalette* palette = nullptr;
  ASSERT_EQ(FDevice->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
  TRef<IDirectDrawPalette> owned(palette);
  ASSERT_EQ(primary->SetPalette(palette), DD_OK);
  FHost.dirtyRects.clear();
  const PALETTEENTRY red{255, 0, 0, 0};
  ASSERT_EQ(palette->SetEntries(0, 7, 1, &red), DD_OK);
  ASSERT_EQ(FHost.dirtyRects.size(), 1u);
  EXPECT_EQ(FHost.dirtyRects[0], (TRect{0, 0, 640, 480}));
  ASSERT_NE(FHost.shown.Format.ColorTable, nullptr);
  EXPECT_EQ(FHost.shown.Format.ColorTable[7], (RGBQUAD{0, 0, 255, 0}));
}

}  // namespace
