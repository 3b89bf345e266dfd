// Drawing into a surface through a device context of the graphics layer.
#include <cstring>

#include "platform/gdi/Gdi.h"
#include "tests/platform/ddraw/DDrawFixture.h"

namespace {

// A 2 x 2 24-bit section: top row red, green; bottom row blue, white.
struct TTwoByTwo {
  TTwoByTwo() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = 2;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* bytes = static_cast<uint8_t*>(bits);
    const uint8_t bottomUp[2][8] = {{255, 0, 0, 255, 255, 255, 0, 0}, {0, 0, 255, 0, 255, 0, 0, 0}};
    std::memcpy(bytes, bottomUp[0], 8);
    std::memcpy(bytes + 8, bottomUp[1], 8);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bitmap);
  }
  ~TTwoByTwo() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  HBITMAP bitmap = nullptr;
  HDC dc = nullptr;
  HGDIOBJ old = nullptr;
};

struct DcCase {
  uint32_t bitCount;
  uint32_t red;
  uint32_t green;
  uint32_t blue;
  uint32_t white;
};
void PrintTo(const DcCase& sample, std::ostream* out) { *out << sample.bitCount << " bits"; }

class GetDCDepthTest : public DDrawTest, public ::testing::WithParamInterface<DcCase> {};

TEST_P(GetDCDepthTest, StretchBltFromASectionLandsInTheSurfaceFormat) {
  const DcCase& sample = GetParam();
  auto surface = MakeSurface(8, 6, sample.bitCount);
  if (sample.bitCount == 8) {
    PALETTEENTRY entries[256]{};
    entries[1] = {255, 0, 0, 0};
    entries[2] = {0, 255, 0, 0};
    entries[3] = {0, 0, 255, 0};
    entries[4] = {255, 255, 255, 0};
    IDirectDrawPalette* palette = nullptr;
    ASSERT_EQ(FDevice->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
    surface->SetPalette(palette);
    palette->Release();
  }
  TTwoByTwo picture;
  HDC dc = nullptr;
  ASSERT_EQ(surface->GetDC(&dc), DD_OK);
  ASSERT_NE(dc, nullptr);
  ASSERT_TRUE(StretchBlt(dc, 0, 0, 8, 6, picture.dc, 0, 0, 2, 2, SRCCOPY));
  ASSERT_EQ(surface->ReleaseDC(dc), DD_OK);
  EXPECT_EQ(PixelAt(surface.get(), 0, 0), sample.red);
  EXPECT_EQ(PixelAt(surface.get(), 7, 0), sample.green);
  EXPECT_EQ(PixelAt(surface.get(), 0, 5), sample.blue);
  EXPECT_EQ(PixelAt(surface.get(), 7, 5), sample.white);
}

INSTANTIATE_TEST_SUITE_P(Depths, GetDCDepthTest,
                         ::testing::Values(DcCase{8, 1, 2, 3, 4},
                                           DcCase{16, 0xF800, 0x07E0, 0x001F, 0xFFFF},
                                           DcCase{24, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                                           DcCase{32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));

class GetDCTest : public DDrawTest {};

TEST_F(GetDCTest, OneDeviceContextAtATime) {
  auto surface = MakeSurface(4, 4, 16);
  HDC dc = nullptr;
  ASSERT_EQ(surface->GetDC(&dc), DD_OK);
  HDC second = nullptr;
  EXPECT_EQ(surface->GetDC(&second), DDERR_DCALREADYCREATED);
  EXPECT_EQ(surface->ReleaseDC(nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(surface->ReleaseDC(dc), DD_OK);
  EXPECT_EQ(surface->ReleaseDC(dc), DDERR_INVALIDPARAMS);
  EXPECT_EQ(surface->GetDC(nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(GetDCTest, PaletteStaysWhileTheDeviceContextIsOpen) {
  auto surface = MakeSurface(4, 4, 8);
  PALETTEENTRY entries[256]{};
  IDirectDrawPalette* palette = nullptr;
  ASSERT_EQ(FDevice->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
  surface->SetPalette(palette);
  palette->Release();
  HDC dc = nullptr;
  ASSERT_EQ(surface->GetDC(&dc), DD_OK);
  EXPECT_EQ(surface->SetPalette(nullptr), DDERR_SURFACEBUSY);
  ASSERT_EQ(surface->ReleaseDC(dc), DD_OK);
  EXPECT_EQ(surface->SetPalette(nullptr), DD_OK);
}

TEST_F(GetDCTest, ReleasingThePrimaryDeviceContextPresents) {
  ASSERT_EQ(FDevice->SetDisplayMode(640, 480, 32), DD_OK);
  auto primary = MakePrimary(false);
  HDC dc = nullptr;
  ASSERT_EQ(primary->GetDC(&dc), DD_OK);
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  const TRect area{10, 10, 20, 20};
  FillRect(dc, &area, brush);
  DeleteObject(brush);
  FHost.dirtyRects.clear();
  ASSERT_EQ(primary->ReleaseDC(dc), DD_OK);
  ASSERT_EQ(FHost.dirtyRects.size(), 1u);
  const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(FHost.shown.Top) +
                                                      15 * FHost.shown.Pitch);
  EXPECT_EQ(row[15] & 0xFFFFFF, 0x0000FFu);
}

TEST_F(GetDCTest, FlipWaitsForTheDeviceContext) {
  auto primary = MakePrimary(true);
  HDC dc = nullptr;
  ASSERT_EQ(primary->GetDC(&dc), DD_OK);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
  primary->ReleaseDC(dc);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
}

}  // namespace
