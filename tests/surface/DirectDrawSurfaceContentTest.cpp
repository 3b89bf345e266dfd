// Pictures into surfaces, surfaces into DIBs, sharing, colour matching and the canvas.
#include <gtest/gtest.h>

#include "device/DXErrors.h"
#include "device/DirectDrawPalette.h"
#include "image/DIB.h"
#include "image/SurfacePixels.h"
#include "platform/framework/Bitmap.h"
#include "platform/framework/Exception.h"
#include "platform/gdi/Gdi.h"
#include "surface/DirectDrawSurface.h"
#include "surface/DirectDrawSurfaceCanvas.h"
#include "tests/support/CaseName.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/TestPictures.h"

namespace {

class SurfaceContentTest : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    SetScreenDepth(16);
    FSurface = std::make_unique<TDirectDrawSurface>(Device());
  }
  void TearDown() override {
    FSurface.reset();
    DeviceTest::TearDown();
  }
  std::vector<uint32_t> Pixels(TDirectDrawSurface& s) {
    std::vector<uint32_t> values;
    for (int32_t y = 0; y < s.Height(); ++y)
      for (int32_t x = 0; x < s.Width(); ++x) values.push_back(s.Pixel(x, y));
    return values;
  }
  std::unique_ptr<TDirectDrawSurface> FSurface;
};

TEST_F(SurfaceContentTest, BitmapGivesASurfaceOfItsSizeAndPixels) {
  auto bitmap = MakeBitmap({{kRed, kGreen, kBlue}, {kWhite, kBlack, kOlive}});
  FSurface->LoadGraphic(bitmap.get());
  ASSERT_EQ(FSurface->ClientRect(), (TRect{0, 0, 3, 2}));
  EXPECT_EQ(FSurface->BitCount(), 16);
  EXPECT_EQ(Pixels(*FSurface),
            (std::vector<uint32_t>{0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8401}));
  EXPECT_EQ(FSurface->Canvas()->DeviceContext(), nullptr);  // given back
}

// 3 x 2 pixels of 16 bits (5-6-5) in rows of 8 bytes, each pixel its own value.
TSurfacePixels Converted(uint32_t bitCount = 16) {
  TSurfacePixels pixels;
  pixels.Width = 3;
  pixels.Height = 2;
  pixels.Pitch = 8 * (bitCount / 16);
  pixels.Format =
      gdi::WithDefaultMasks({bitCount, bitCount == 16 ? 0xF800u : 0u, bitCount == 16 ? 0x07E0u : 0u,
                             bitCount == 16 ? 0x1Fu : 0u});
  pixels.Bits = TPixelBlock::Allocate(static_cast<size_t>(pixels.Pitch * 2));
  auto* values = reinterpret_cast<uint16_t*>(pixels.Bits.Data());
  for (int i = 0; i < 8; ++i) values[i] = static_cast<uint16_t>(0x1000 + i);
  return pixels;
}

TEST_F(SurfaceContentTest, AdoptedPixelsAreTheSurfacesOwn) {
  TSurfacePixels pixels = Converted();
  const uint8_t* memory = pixels.Bits.Data();
  ASSERT_TRUE(FSurface->AdoptPixels(pixels));
  EXPECT_TRUE(pixels.Empty());
  ASSERT_EQ(FSurface->ClientRect(), (TRect{0, 0, 3, 2}));
  EXPECT_FALSE(FSurface->SystemMemory());
  EXPECT_EQ(Pixels(*FSurface),
            (std::vector<uint32_t>{0x1000, 0x1001, 0x1002, 0x1004, 0x1005, 0x1006}));
  DDSURFACEDESC locked{};
  locked.dwSize = kDDSurfaceDescSize;
  ASSERT_TRUE(FSurface->Lock(nullptr, locked));
  EXPECT_EQ(locked.lpSurface, memory);  // no copy
  FSurface->Unlock();
}

TEST_F(SurfaceContentTest, AdoptedPixelsFallBackToSystemMemoryAsSizingDoes) {
  DDrawHooks().SetVideoMemoryBudget(0);
  TSurfacePixels pixels = Converted();
  ASSERT_TRUE(FSurface->AdoptPixels(pixels));
  EXPECT_TRUE(FSurface->SystemMemory());
  EXPECT_TRUE(FSurface->Description().ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY);
}

TEST_F(SurfaceContentTest, PixelsOfAnotherFormatAreNotAdopted) {
  TSurfacePixels pixels = Converted(32);
  EXPECT_FALSE(FSurface->AdoptPixels(pixels));
  EXPECT_FALSE(pixels.Empty());
  EXPECT_EQ(FSurface->NativeSurface(), nullptr);
  TSurfacePixels none;
  EXPECT_FALSE(FSurface->AdoptPixels(none));
}

TEST_F(SurfaceContentTest, PartOfABitmapLandsAtTheOrigin) {
  auto bitmap = MakeBitmap({{kRed, kGreen, kBlue}, {kWhite, kBlack, kOlive}});
  FSurface->LoadGraphicPart(bitmap.get(), 0, 0, {1, 0, 3, 2});
  ASSERT_EQ(FSurface->ClientRect(), (TRect{0, 0, 2, 2}));
  EXPECT_EQ(Pixels(*FSurface), (std::vector<uint32_t>{0x07E0, 0x001F, 0x0000, 0x8401}));
}

TEST_F(SurfaceContentTest, ScaledPartGoesThroughATemporaryDIB) {
  auto bitmap = MakeBitmap({{kRed, kGreen}, {kBlue, kWhite}});
  FSurface->LoadGraphicPart(bitmap.get(), 4, 0, {0, 0, 2, 2});
  ASSERT_EQ(FSurface->ClientRect(), (TRect{0, 0, 4, 2}));
  EXPECT_EQ(Pixels(*FSurface), (std::vector<uint32_t>{0xF800, 0xF800, 0x07E0, 0x07E0, 0x001F,
                                                      0x001F, 0xFFFF, 0xFFFF}));
}

TEST_F(SurfaceContentTest, DIBIsStretchCopied) {
  TDIB dib;
  dib.SetDimensions(2, 1, 24);
  uint8_t* row = dib.PixelBits() == nullptr ? nullptr : dib.TopRow();
  ASSERT_NE(row, nullptr);
  const uint8_t redThenBlue[6] = {0, 0, 255, 255, 0, 0};  // blue, green, red bytes
  std::copy(std::begin(redThenBlue), std::end(redThenBlue), row);
  FSurface->LoadGraphicPart(&dib, 4, 2, {0, 0, 2, 1});
  ASSERT_EQ(FSurface->ClientRect(), (TRect{0, 0, 4, 2}));
  EXPECT_EQ(Pixels(*FSurface), (std::vector<uint32_t>{0xF800, 0xF800, 0x001F, 0x001F, 0xF800,
                                                      0xF800, 0x001F, 0x001F}));
}

TEST_F(SurfaceContentTest, EmptyPicturesGiveEmptySurfacesOrTheSurfaceError) {
  TBitmap empty;
  FSurface->SetSize(5, 5);
  EXPECT_NO_THROW(FSurface->LoadGraphic(&empty));
  EXPECT_EQ(FSurface->NativeSurface(), nullptr);
  TDIB emptyDIB;
  try {
    FSurface->LoadGraphic(&emptyDIB);
    FAIL() << "no error";
  } catch (const EDirectDrawSurfaceError& e) {
    EXPECT_EQ(e.Message(), "IDirectDrawSurface not made");
  }
}

TEST_F(SurfaceContentTest, AssignLoadsSharesOrEmpties) {
  auto bitmap = MakeBitmap({{kRed, kBlue}});
  FSurface->Assign(bitmap.get());
  EXPECT_EQ(Pixels(*FSurface), (std::vector<uint32_t>{0xF800, 0x001F}));

  TDirectDrawSurface shared(Device());
  shared.Assign(FSurface.get());
  ASSERT_NE(shared.NativeSurface(), nullptr);
  EXPECT_NE(shared.NativeSurface(), FSurface->NativeSurface());
  FSurface->SetPixel(0, 0, 0x1234);
  EXPECT_EQ(shared.Pixel(0, 0), 0x1234u);

  TDirectDrawSurface empty(Device());
  shared.Assign(&empty);
  EXPECT_EQ(shared.NativeSurface(), nullptr);
  FSurface->Assign(nullptr);
  EXPECT_EQ(FSurface->NativeSurface(), nullptr);
  EXPECT_THROW(FSurface->Assign(&Device()), EConvertError);
}

TEST_F(SurfaceContentTest, AssignToADIBCopiesAt24Bits) {
  auto bitmap = MakeBitmap({{kWhite, kBlack, kRed}});
  FSurface->LoadGraphic(bitmap.get());
  TDIB dib;
  dib.Assign(FSurface.get());
  ASSERT_EQ(dib.Width(), 3);
  ASSERT_EQ(dib.Height(), 1);
  EXPECT_EQ(dib.BitCount(), 24);
  const uint8_t* row = dib.TopRow();
  EXPECT_GE(row[0], 0xF0);  // white, from 5-6-5
  EXPECT_EQ(row[3] | row[4] | row[5], 0);
  EXPECT_EQ(row[6], 0);
  EXPECT_GE(row[8], 0xF0);
  TBitmap other;
  EXPECT_THROW(other.Assign(FSurface.get()), EConvertError);
}

TEST_F(SurfaceContentTest, CanvasOfAnEmptySurfaceRaises) {
  FSurface->SetSize(0, 10);
  try {
    FSurface->Canvas()->Handle();
    FAIL() << "no error";
  } catch (const EDirectDrawSurfaceError& e) {
    EXPECT_EQ(e.Message(), "IDirectDrawSurface not made");
  }
}

TEST_F(SurfaceContentTest, CanvasBorrowsAndGivesBackTheContext) {
  FSurface->SetSize(4, 4);
  TDirectDrawSurfaceCanvas& canvas = *FSurface->Canvas();
  EXPECT_EQ(FSurface->Canvas(), &canvas);
  canvas.Brush().SetColor(RGB(0, 0, 255));
  canvas.FillRect({0, 0, 4, 4});
  EXPECT_NE(canvas.DeviceContext(), nullptr);
  EXPECT_TRUE(canvas.HandleAllocated());
  canvas.Release();
  EXPECT_EQ(canvas.DeviceContext(), nullptr);
  EXPECT_FALSE(canvas.HandleAllocated());
  EXPECT_EQ(FSurface->Pixel(3, 3), 0x001Fu);
  // A new native surface also takes the context back first.
  canvas.FillRect({0, 0, 1, 1});
  FSurface->SetSize(2, 2);
  EXPECT_EQ(canvas.DeviceContext(), nullptr);
}

TEST_F(SurfaceContentTest, ColorToPixelOfAnEmptySurfaceIsZero) {
  EXPECT_EQ(FSurface->ColorToPixel(RGB(255, 255, 255)), 0u);
}

struct MatchCase {
  const char* name;
  DWORD bitCount;
  TColor color;
  uint32_t expected;
};
void PrintTo(const MatchCase& c, std::ostream* os) { *os << c.name; }

class ColorToPixelTest : public DeviceTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(ColorToPixelTest, MatchesTheDepthAndKeepsPixelZero) {
  const MatchCase& c = GetParam();
  SetScreenDepth(c.bitCount);
  TDirectDrawSurface surface(Device());
  TDirectDrawPalette palette(Device());
  if (c.bitCount == 8) {
    PALETTEENTRY entries[256]{};
    entries[7] = {10, 200, 30, 0};
    entries[255] = {255, 255, 255, 0};
    ASSERT_TRUE(palette.CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries));
  }
  surface.SetSize(3, 3);
  if (c.bitCount == 8) surface.SetPalette(&palette);
  surface.SetPixel(0, 0, 0x5A);
  EXPECT_EQ(surface.ColorToPixel(c.color), c.expected);
  EXPECT_EQ(surface.Pixel(0, 0), 0x5Au);
}

INSTANTIATE_TEST_SUITE_P(
    Depths, ColorToPixelTest,
    ::testing::Values(MatchCase{"p8 entry", 8, RGB(10, 200, 30), 7},
                      MatchCase{"p8 white", 8, RGB(255, 255, 255), 255},
                      MatchCase{"p16 red", 16, RGB(255, 0, 0), 0xF800},
                      MatchCase{"p16 green", 16, RGB(0, 255, 0), 0x07E0},
                      MatchCase{"p16 blue", 16, RGB(0, 0, 255), 0x001F},
                      MatchCase{"p16 black", 16, RGB(0, 0, 0), 0},
                      MatchCase{"p16 olive", 16, RGB(132, 130, 8), 0x8401},
                      MatchCase{"p24 mixed", 24, RGB(1, 2, 3), 0x010203},
                      MatchCase{"p32 mixed", 32, RGB(0xAB, 0xCD, 0xEF), 0xABCDEF},
                      MatchCase{"p32 white", 32, RGB(255, 255, 255), 0xFFFFFF}),
    CaseName());

TEST_F(SurfaceContentTest, ColorToPixelResolvesSystemColours) {
  FSurface->SetSize(1, 1);
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(FSurface->ColorToPixel(clSystemColor | COLOR_WINDOW), FSurface->ColorToPixel(window));
}

}  // namespace
