#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/framework/Bitmap.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Stream.h"
#include "platform/gdi/Gdi.h"
#include "tests/support/DibBuilder.h"

namespace {

void Load(TBitmap& bitmap, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  bitmap.ReadFromStream(stream);
}

std::vector<uint8_t> Save(TBitmap& bitmap) {
  TMemoryStream stream;
  bitmap.WriteToStream(stream);
  const auto* bytes = static_cast<const uint8_t*>(stream.Memory());
  return {bytes, bytes + stream.Size()};
}

// Distinct colours, so palette lookups show which index a pixel holds.
std::vector<RGBQUAD> Colors(int count) {
  std::vector<RGBQUAD> colors;
  for (int i = 0; i < count; ++i)
    colors.push_back(RGBQUAD{static_cast<BYTE>(i * 37), static_cast<BYTE>(255 - i),
                             static_cast<BYTE>(i * 11 + 3), 0});
  return colors;
}

// Pixel rows with varied content; padding bytes zero so written files compare.
std::vector<uint8_t> Pattern(int32_t width, int32_t height, int bitCount) {
  const int32_t row = RowBytes(width, bitCount);
  const int32_t used = (width * bitCount + 7) / 8;
  std::vector<uint8_t> pixels(static_cast<size_t>(row * height), 0);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < used; ++x)
      pixels[static_cast<size_t>(y * row + x)] = static_cast<uint8_t>(x * 29 + y * 53 + 7);
  // Whole pixels only: clear the bits of a last partial byte beyond the width.
  if ((width * bitCount) % 8 != 0)
    for (int32_t y = 0; y < height; ++y)
      pixels[static_cast<size_t>(y * row + used - 1)] &=
          static_cast<uint8_t>(0xFF << (8 - (width * bitCount) % 8));
  return pixels;
}

struct DepthCase {
  const char* name;
  uint16_t bitCount;
  uint32_t compression;
  std::vector<uint32_t> masks;
  TPixelFormat format;
};

class BitmapDepths : public testing::TestWithParam<DepthCase> {};

// Every file row lands in the matching picture row, and writing gives a file
// that reads back to the same pixels.
TEST_P(BitmapDepths, ReadsEveryRowAndRoundTrips) {
  const DepthCase& c = GetParam();
  BmpRecipe recipe;
  recipe.Width = 7;
  recipe.Height = 3;
  recipe.BitCount = c.bitCount;
  recipe.Compression = c.compression;
  recipe.Masks = c.masks;
  if (c.bitCount <= 8) recipe.Colors = Colors(1 << c.bitCount);
  recipe.Pixels = Pattern(recipe.Width, recipe.Height, c.bitCount);
  const int32_t row = RowBytes(recipe.Width, c.bitCount);

  TBitmap first, second;
  Load(first, MakeBmp(recipe));
  EXPECT_EQ(first.Width(), 7);
  EXPECT_EQ(first.Height(), 3);
  EXPECT_EQ(first.PixelFormat(), c.format);
  EXPECT_EQ(first.Palette() != nullptr, c.bitCount <= 8);
  Load(second, Save(first));
  EXPECT_EQ(second.PixelFormat(), c.format);
  for (int32_t y = 0; y < 3; ++y) {
    const uint8_t* fileRow = recipe.Pixels.data() + (2 - y) * row;
    EXPECT_EQ(std::memcmp(first.ScanLine(y), fileRow, static_cast<size_t>(row)), 0) << "row " << y;
    EXPECT_EQ(std::memcmp(second.ScanLine(y), fileRow, static_cast<size_t>(row)), 0) << "row " << y;
  }
  if (c.bitCount <= 8) {
    PALETTEENTRY entries[256];
    ASSERT_EQ(GetPaletteEntries(second.Palette(), 0, 256, entries), 1u << c.bitCount);
    EXPECT_EQ(entries[1].peRed, recipe.Colors[1].rgbRed);
    EXPECT_EQ(entries[1].peBlue, recipe.Colors[1].rgbBlue);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, BitmapDepths,
    testing::Values(
        DepthCase{"Bits1", 1, BI_RGB, {}, pf1bit}, DepthCase{"Bits4", 4, BI_RGB, {}, pf4bit},
        DepthCase{"Bits8", 8, BI_RGB, {}, pf8bit}, DepthCase{"Bits16", 16, BI_RGB, {}, pf15bit},
        DepthCase{"Bits16Masks565", 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}, pf16bit},
        DepthCase{"Bits24", 24, BI_RGB, {}, pf24bit}, DepthCase{"Bits32", 32, BI_RGB, {}, pf32bit},
        DepthCase{"Bits32Masks", 32, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF}, pf32bit}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(BitmapRead, ZeroBytesGiveAnEmptyBitmap) {
  TBitmap bitmap;
  bitmap.SetSize(4, 4);
  Load(bitmap, {});
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_TRUE(Save(bitmap).empty());
}

TEST(BitmapRead, TopDownFileGivesTheSamePicture) {
  BmpRecipe recipe;
  recipe.Width = 3;
  recipe.Height = 4;
  recipe.Pixels = Pattern(3, 4, 24);
  TBitmap bottomUp, topDown;
  Load(bottomUp, MakeBmp(recipe));
  recipe.Height = -4;
  std::vector<uint8_t> flipped;
  for (int y = 3; y >= 0; --y) Put(flipped, recipe.Pixels.data() + y * 12, 12);
  recipe.Pixels = flipped;
  Load(topDown, MakeBmp(recipe));
  ASSERT_EQ(topDown.Height(), 4);
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(std::memcmp(bottomUp.ScanLine(y), topDown.ScanLine(y), 12), 0);
}

TEST(BitmapRead, OS2HeaderWidensItsThreeByteColours) {
  BmpRecipe recipe;
  recipe.Core = true;
  recipe.Width = 2;
  recipe.Height = 1;
  recipe.BitCount = 4;
  recipe.Colors = Colors(16);
  recipe.Pixels = {0x1F, 0, 0, 0};
  TBitmap bitmap;
  Load(bitmap, MakeBmp(recipe));
  EXPECT_EQ(bitmap.PixelFormat(), pf4bit);
  PALETTEENTRY entries[16];
  ASSERT_EQ(GetPaletteEntries(bitmap.Palette(), 0, 16, entries), 16u);
  EXPECT_EQ(entries[15].peGreen, recipe.Colors[15].rgbGreen);
  const RGBQUAD c = recipe.Colors[15];
  EXPECT_EQ(bitmap.Canvas().Pixels(1, 0), RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
}

TEST(BitmapRead, MissingRowsStayBlackAndGapsBeforePixelsAreSkipped) {
  BmpRecipe recipe;
  recipe.Width = 1;
  recipe.Height = 3;
  recipe.Gap = 6;
  recipe.Pixels = {10, 20, 30, 0};  // only the bottom row is present
  TBitmap bitmap;
  Load(bitmap, MakeBmp(recipe));
  const auto* bottom = static_cast<const uint8_t*>(bitmap.ScanLine(2));
  const auto* top = static_cast<const uint8_t*>(bitmap.ScanLine(0));
  EXPECT_EQ(bottom[0], 10);
  EXPECT_EQ(bottom[2], 30);
  EXPECT_EQ(top[0], 0);
}

TEST(BitmapRead, RunLengthFileBecomesADeviceBitmap) {
  BmpRecipe recipe;
  recipe.Width = 4;
  recipe.Height = 2;
  recipe.BitCount = 8;
  recipe.Compression = BI_RLE8;
  recipe.Colors = Colors(4);
  recipe.ClrUsed = 4;
  // Bottom row: 4 x index 1; end of line; top row: 2 x index 2, 2 x index 3; end.
  recipe.Pixels = {4, 1, 0, 0, 2, 2, 2, 3, 0, 1};
  TBitmap bitmap;
  Load(bitmap, MakeBmp(recipe));
  EXPECT_EQ(bitmap.HandleType(), bmDDB);
  const auto color = [&](int i) {
    return RGB(recipe.Colors[i].rgbRed, recipe.Colors[i].rgbGreen, recipe.Colors[i].rgbBlue);
  };
  EXPECT_EQ(bitmap.Canvas().Pixels(0, 1), color(1));
  EXPECT_EQ(bitmap.Canvas().Pixels(0, 0), color(2));
  EXPECT_EQ(bitmap.Canvas().Pixels(3, 0), color(3));
  TBitmap copy;
  Load(copy, Save(bitmap));  // written as a section of the desktop's depth
  EXPECT_EQ(copy.HandleType(), bmDIB);
  EXPECT_EQ(copy.Canvas().Pixels(3, 0), color(3));
}

struct BadCase {
  const char* name;
  std::vector<uint8_t> bytes;
};

std::vector<uint8_t> FromRecipe(void (*change)(BmpRecipe&)) {
  BmpRecipe recipe;
  recipe.Width = 2;
  recipe.Height = 2;
  recipe.Pixels = Pattern(2, 2, 24);
  change(recipe);
  return MakeBmp(recipe);
}

class BitmapBadFiles : public testing::TestWithParam<BadCase> {};

TEST_P(BitmapBadFiles, AreRefusedAndTheBitmapKeepsItsPicture) {
  TBitmap bitmap;
  bitmap.SetSize(5, 6);
  try {
    Load(bitmap, GetParam().bytes);
    FAIL() << "accepted";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Bitmap image is not valid");
  }
  EXPECT_EQ(bitmap.Width(), 5);
  EXPECT_EQ(bitmap.Height(), 6);
}

std::vector<uint8_t> Truncated(std::vector<uint8_t> bytes, size_t size) {
  bytes.resize(size);
  return bytes;
}

std::vector<uint8_t> Truncated(size_t size) {
  return Truncated(FromRecipe([](BmpRecipe&) {}), size);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BitmapBadFiles,
    testing::Values(
        BadCase{"NotBM", {'B', 'A', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0}},
        BadCase{"ShortFileHeader", {'B', 'M', 0, 0}}, BadCase{"NoInfoHeader", Truncated(14)},
        BadCase{"CutInfoHeader", Truncated(30)},
        BadCase{"TwoPlanes", FromRecipe([](BmpRecipe& s) { s.Planes = 2; })},
        BadCase{"SevenBits", FromRecipe([](BmpRecipe& s) { s.BitCount = 7; })},
        BadCase{"ZeroWidth", FromRecipe([](BmpRecipe& s) { s.Width = 0; })},
        BadCase{"NegativeWidth", FromRecipe([](BmpRecipe& s) { s.Width = -2; })},
        BadCase{"ZeroHeight", FromRecipe([](BmpRecipe& s) { s.Height = 0; })},
        BadCase{"MinimumHeight", FromRecipe([](BmpRecipe& s) { s.Height = INT32_MIN; })},
        BadCase{"HeaderSizeFive", FromRecipe([](BmpRecipe& s) { s.HeaderSize = 5; })},
        BadCase{"HeaderLongerThanFile",
                Truncated(FromRecipe([](BmpRecipe& s) { s.HeaderSize = 200; }), 100)},
        BadCase{"HeaderBeyondLimit", FromRecipe([](BmpRecipe& s) { s.HeaderSize = 5000; })},
        BadCase{"UnknownCompression", FromRecipe([](BmpRecipe& s) { s.Compression = 9; })},
        BadCase{"BitfieldsAt24Bits",
                FromRecipe([](BmpRecipe& s) { s.Compression = BI_BITFIELDS; })},
        BadCase{"Rle8At4Bits", FromRecipe([](BmpRecipe& s) {
                  s.BitCount = 4;
                  s.Compression = BI_RLE8;
                })},
        BadCase{"TopDownRle", FromRecipe([](BmpRecipe& s) {
                  s.BitCount = 8;
                  s.Height = -2;
                  s.Compression = BI_RLE8;
                })},
        BadCase{"RleWithoutData", FromRecipe([](BmpRecipe& s) {
                  s.BitCount = 8;
                  s.Compression = BI_RLE8;
                  s.Pixels.clear();
                })},
        BadCase{"ColourTableBeyondFile", FromRecipe([](BmpRecipe& s) {
                  s.BitCount = 8;
                  s.ClrUsed = 0xFFFFFFFF;
                })},
        BadCase{"MasksMissing", FromRecipe([](BmpRecipe& s) {
                  s.BitCount = 16;
                  s.Compression = BI_BITFIELDS;
                  s.Pixels.clear();
                })},
        BadCase{"ZeroMasks", FromRecipe([](BmpRecipe& s) {
                  s.BitCount = 16;
                  s.Compression = BI_BITFIELDS;
                  s.Masks = {0, 0, 0};
                })},
        BadCase{"HugeClaim", FromRecipe([](BmpRecipe& s) {
                  s.Width = 0x7FFFFFFF;
                  s.Height = 0x7FFFFFFF;
                  s.BitCount = 32;
                })},
        BadCase{"JustOverTheBound", FromRecipe([](BmpRecipe& s) {
                  s.Width = 16385;
                  s.Height = 16384;
                  s.BitCount = 32;
                })}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(BitmapSharing, AssignSharesUntilOneWrites) {
  BmpRecipe recipe;
  recipe.Width = 2;
  recipe.Height = 2;
  recipe.Pixels = Pattern(2, 2, 24);
  TBitmap a, b;
  Load(a, MakeBmp(recipe));
  a.SetTransparentColor(RGB(1, 2, 3));
  a.SetTransparent(true);
  b.Assign(&a);
  EXPECT_EQ(a.Handle(), b.Handle());
  EXPECT_TRUE(b.Transparent());
  EXPECT_EQ(b.TransparentColor(), RGB(1, 2, 3));
  static_cast<uint8_t*>(b.ScanLine(0))[0] = 99;
  EXPECT_NE(a.Handle(), b.Handle());
  EXPECT_EQ(static_cast<uint8_t*>(a.ScanLine(0))[0],
            recipe.Pixels[8]);  // top row: the file's second
  EXPECT_EQ(static_cast<uint8_t*>(b.ScanLine(0))[0], 99);
}

TEST(BitmapSharing, CanvasDrawingUnsharesToo) {
  TBitmap a, b;
  a.SetPixelFormat(pf24bit);
  a.SetSize(3, 3);
  a.Canvas().Brush().SetColor(RGB(0, 0, 255));
  a.Canvas().FillRect(Rect(0, 0, 3, 3));
  b.Assign(&a);
  b.Canvas().Brush().SetColor(RGB(0, 255, 0));
  b.Canvas().FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(a.Canvas().Pixels(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(b.Canvas().Pixels(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(b.Canvas().Pixels(2, 2), RGB(0, 0, 255));
}

TEST(BitmapSize, SizeIsRecordedAndPixelsComeOnNeed) {
  TBitmap bitmap;
  bitmap.SetSize(6000, 4000);
  EXPECT_FALSE(bitmap.HandleAllocated());
  TBitmap other;
  bitmap.Assign(&other);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_THROW(bitmap.SetSize(40000, 40000), EOutOfResources);
  EXPECT_TRUE(bitmap.Empty());
}

TEST(BitmapSize, GrowingKeepsTheOverlappingPixels) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(2, 2);
  bitmap.Canvas().Brush().SetColor(RGB(200, 10, 10));
  bitmap.Canvas().FillRect(Rect(0, 0, 2, 2));
  bitmap.SetWidth(4);
  bitmap.SetHeight(3);
  EXPECT_EQ(bitmap.Canvas().Pixels(1, 1), RGB(200, 10, 10));
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
}

// A 24-bit section of 3 x 2 pixels; a negative height makes it top-down.
HBITMAP Section3x2(int32_t height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 3;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// A bitmap given a handle holds that bitmap's pixels as its own.
TEST(BitmapHandle, TakesOverASectionWithItsSizeDepthAndPixels) {
  void* bits = nullptr;
  HBITMAP section = Section3x2(2, &bits);
  ASSERT_NE(section, nullptr);
  static_cast<uint8_t*>(bits)[12 + 2] = 0xFF;  // top row, first pixel: red
  TBitmap bitmap;
  bitmap.SetHandle(section);
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  EXPECT_EQ(bitmap.HandleType(), bmDIB);
  EXPECT_EQ(bitmap.Handle(), section);
  EXPECT_EQ(bitmap.ScanLine(0), static_cast<uint8_t*>(bits) + 12);
  EXPECT_EQ(bitmap.Canvas().Pixels(0, 0), static_cast<TColor>(RGB(255, 0, 0)));
  bitmap.SetHandle(nullptr);
  EXPECT_TRUE(bitmap.Empty());
}

TEST(BitmapHandle, TakesOverADeviceBitmap) {
  HDC screen = GetDC(nullptr);
  HBITMAP device = CreateCompatibleBitmap(screen, 4, 5);
  ReleaseDC(nullptr, screen);
  TBitmap bitmap;
  bitmap.SetHandle(device);
  EXPECT_EQ(bitmap.HandleType(), bmDDB);
  EXPECT_EQ(bitmap.Width(), 4);
  EXPECT_EQ(bitmap.Height(), 5);
}

TEST(BitmapHandle, TopDownSectionsAreRefused) {
  void* bits = nullptr;
  HBITMAP section = Section3x2(-2, &bits);
  TBitmap bitmap;
  EXPECT_THROW(bitmap.SetHandle(section), EInvalidGraphic);
  EXPECT_TRUE(bitmap.Empty());
  DeleteObject(section);
}

TEST(BitmapFormat, ConvertingKeepsColours) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(2, 1);
  bitmap.Canvas().SetPixels(1, 0, RGB(12, 34, 56));
  bitmap.SetPixelFormat(pf32bit);
  EXPECT_EQ(bitmap.PixelFormat(), pf32bit);
  EXPECT_EQ(bitmap.Canvas().Pixels(1, 0), RGB(12, 34, 56));
  EXPECT_THROW(bitmap.ScanLine(1), EInvalidGraphicOperation);
  EXPECT_THROW(bitmap.ScanLine(-1), EInvalidGraphicOperation);
}

TEST(BitmapPalette, SetPaletteColoursAnEightBitSection) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf8bit);
  bitmap.SetSize(1, 1);
  static_cast<uint8_t*>(bitmap.ScanLine(0))[0] = 5;
  LOGPALETTE log;
  log.palNumEntries = 6;
  log.palPalEntry[5] = PALETTEENTRY{90, 80, 70, 0};
  bitmap.SetPaletteModified(false);
  bitmap.SetPalette(CreatePalette(&log));
  EXPECT_TRUE(bitmap.PaletteModified());
  EXPECT_EQ(bitmap.Canvas().Pixels(0, 0), RGB(90, 80, 70));
}

TEST(BitmapClipboard, PackedBitmapRoundTrip) {
  BmpRecipe recipe;
  recipe.Width = 3;
  recipe.Height = 2;
  recipe.BitCount = 8;
  recipe.Colors = Colors(256);
  recipe.Pixels = Pattern(3, 2, 8);
  TBitmap source, copy;
  Load(source, MakeBmp(recipe));
  UINT format = 0;
  HANDLE data = nullptr;
  HPALETTE palette = nullptr;
  source.SaveClipboardData(format, data, palette);
  EXPECT_EQ(format, CF_DIB);
  copy.LoadClipboardData(format, data, palette);
  GlobalFree(static_cast<HGLOBAL>(data));
  EXPECT_EQ(copy.PixelFormat(), pf8bit);
  EXPECT_EQ(std::memcmp(copy.ScanLine(0), source.ScanLine(0), 3), 0);
  EXPECT_THROW(copy.LoadClipboardData(CF_BITMAP, nullptr, nullptr), EInvalidGraphic);
}

}  // namespace
