#include <gtest/gtest.h>

#include "tests/platform/gdi/GdiTestSupport.h"

using gdi_test::GreyRamp;
using gdi_test::TInfo;
using gdi_test::TSection;

namespace {

// --- Conversions between formats -------------------------------------------

struct TConversionCase {
  const char* Name;
  WORD SrcBits;
  std::vector<DWORD> SrcMasks;
  WORD DstBits;
  std::vector<DWORD> DstMasks;
  COLORREF In;
  COLORREF Expected;
};

class FormatConversion : public testing::TestWithParam<TConversionCase> {};

TEST_P(FormatConversion, OnePixelRoundTripsThroughTheDestinationFormat) {
  const TConversionCase& c = GetParam();
  TSection src(TInfo(3, 2, c.SrcBits,
                     c.SrcBits <= 8 ? GreyRamp(1 << c.SrcBits) : std::vector<RGBQUAD>{},
                     c.SrcMasks));
  TSection dst(TInfo(3, 2, c.DstBits,
                     c.DstBits <= 8 ? GreyRamp(1 << c.DstBits) : std::vector<RGBQUAD>{},
                     c.DstMasks));
  ASSERT_NE(src.Bitmap, nullptr);
  ASSERT_NE(dst.Bitmap, nullptr);
  SetPixel(src.DC, 1, 1, c.In);
  ASSERT_EQ(BitBlt(dst.DC, 0, 0, 3, 2, src.DC, 0, 0, SRCCOPY), TRUE_);
  EXPECT_EQ(GetPixel(dst.DC, 1, 1), c.Expected) << std::hex << GetPixel(dst.DC, 1, 1);
}

const std::vector<DWORD> k565 = {0xF800, 0x07E0, 0x001F};
const std::vector<DWORD> kNone;

INSTANTIATE_TEST_SUITE_P(
    Pairs, FormatConversion,
    testing::Values(
        // 24 -> 16 -> 24 keeps the top bits of each channel.
        TConversionCase{"24to565", 24, kNone, 16, k565, RGB(0xFF, 0x87, 0x13),
                        RGB(0xF8, 0x84, 0x10)},
        TConversionCase{"24to555", 24, kNone, 16, kNone, RGB(0xFF, 0x87, 0x13),
                        RGB(0xF8, 0x80, 0x10)},
        TConversionCase{"565to24", 16, k565, 24, kNone, RGB(0x0C, 0x06, 0xFF),
                        RGB(0x08, 0x04, 0xF8)},
        TConversionCase{"32to24", 32, kNone, 24, kNone, RGB(1, 2, 3), RGB(1, 2, 3)},
        TConversionCase{"24to32", 24, kNone, 32, kNone, RGB(250, 128, 7), RGB(250, 128, 7)},
        TConversionCase{"565to555", 16, k565, 16, kNone, RGB(0xFF, 0xFF, 0xFF),
                        RGB(0xF8, 0xF8, 0xF8)},
        // Palettised destinations pick the nearest grey of their table.
        TConversionCase{"24to8", 24, kNone, 8, kNone, RGB(100, 102, 98), RGB(100, 100, 100)},
        TConversionCase{"24to4", 24, kNone, 4, kNone, RGB(40, 40, 40), RGB(34, 34, 34)},
        TConversionCase{"24to1", 24, kNone, 1, kNone, RGB(200, 200, 200), RGB(255, 255, 255)},
        TConversionCase{"8to565", 8, kNone, 16, k565, RGB(255, 255, 255), RGB(0xF8, 0xFC, 0xF8)},
        TConversionCase{"1to32", 1, kNone, 32, kNone, RGB(255, 255, 255), RGB(255, 255, 255)},
        TConversionCase{"4to8", 4, kNone, 8, kNone, RGB(17, 17, 17), RGB(17, 17, 17)}),
    [](const testing::TestParamInfo<TConversionCase>& p) { return std::string(p.param.Name); });

TEST(PalettisedSources, EightBitPixelsGoThroughTheirColourTable) {
  const std::vector<RGBQUAD> table = {RGBQUAD{0, 0, 255, 0}, RGBQUAD{0, 255, 0, 0},
                                      RGBQUAD{255, 0, 0, 0}};
  TSection src(TInfo(3, 1, 8, table));
  TSection dst(TInfo(3, 1, 24));
  src.Row(0)[0] = 2;
  src.Row(0)[1] = 0;
  src.Row(0)[2] = 1;
  BitBlt(dst.DC, 0, 0, 3, 1, src.DC, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(dst.DC, 0, 0), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dst.DC, 1, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dst.DC, 2, 0), RGB(0, 255, 0));
  // A new table applies to later copies.
  const RGBQUAD white{255, 255, 255, 0};
  EXPECT_EQ(SetDIBColorTable(src.DC, 1, 1, &white), 1u);
  BitBlt(dst.DC, 0, 0, 3, 1, src.DC, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(dst.DC, 2, 0), RGB(255, 255, 255));
}

TEST(PalettisedSources, OneBitPixelsRunFromTheHighBit) {
  TSection src(TInfo(8, 1, 1, {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}}));
  TSection dst(TInfo(8, 1, 24));
  src.Row(0)[0] = 0x81;
  BitBlt(dst.DC, 0, 0, 8, 1, src.DC, 0, 0, SRCCOPY);
  const COLORREF white = RGB(255, 255, 255);
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(GetPixel(dst.DC, x, 0), (x == 0 || x == 7) ? white : 0u) << x;
  }
}

TEST(PalettisedSources, FourBitPixelsTakeTheHighNibbleFirst) {
  TSection src(TInfo(3, 1, 4, GreyRamp(16)));
  TSection dst(TInfo(3, 1, 8, GreyRamp(16)));
  src.Row(0)[0] = 0x1F;
  src.Row(0)[1] = 0x20;
  BitBlt(dst.DC, 0, 0, 3, 1, src.DC, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.Row(0)[0], 1);
  EXPECT_EQ(dst.Row(0)[1], 0x0F);
  EXPECT_EQ(dst.Row(0)[2], 2);
}

TEST(PalettisedDestinations, NearestColourOfTheDestinationTable) {
  const std::vector<RGBQUAD> table = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{0, 0, 255, 0},
                                      RGBQUAD{0, 255, 0, 0}, RGBQUAD{255, 0, 0, 0},
                                      RGBQUAD{255, 255, 255, 0}};
  TSection src(TInfo(5, 1, 24));
  TSection dst(TInfo(5, 1, 8, table));
  const COLORREF in[5] = {RGB(200, 30, 30), RGB(10, 10, 10), RGB(20, 220, 40), RGB(30, 30, 160),
                          RGB(230, 230, 240)};
  const uint8_t expected[5] = {1, 0, 2, 3, 4};
  for (int x = 0; x < 5; ++x) SetPixel(src.DC, x, 0, in[x]);
  BitBlt(dst.DC, 0, 0, 5, 1, src.DC, 0, 0, SRCCOPY);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(dst.Row(0)[x], expected[x]) << x;
}

// --- Geometry -----------------------------------------------------------------

// A 4 x 4 8-bit section whose pixel at (x, y) is 16 * y + x + 1.
void FillNumbered(const TSection& section) {
  for (int y = 0; y < section.Height; ++y) {
    for (int x = 0; x < section.Width; ++x)
      section.Row(y)[x] = static_cast<uint8_t>(16 * y + x + 1);
  }
}

struct TGeometryCase {
  const char* Name;
  int X, Y, W, H, SrcX, SrcY, SrcW, SrcH;
  std::vector<const char*> Rows;  // expected destination rows, '.' = untouched (0)
};

class StretchGeometry : public testing::TestWithParam<TGeometryCase> {};

// Pixels are written as hex digits of their index's low nibble (column + 1),
// rows checked by their high nibble through the separate row digit.
TEST_P(StretchGeometry, DestinationPixelsSampleTheExpectedSource) {
  const TGeometryCase& c = GetParam();
  TSection src(TInfo(4, 4, 8, GreyRamp(256)));
  TSection dst(TInfo(4, 4, 8, GreyRamp(256)));
  FillNumbered(src);
  ASSERT_EQ(StretchBlt(dst.DC, c.X, c.Y, c.W, c.H, src.DC, c.SrcX, c.SrcY, c.SrcW, c.SrcH, SRCCOPY),
            TRUE_);
  for (int y = 0; y < 4; ++y) {
    std::string row;
    for (int x = 0; x < 4; ++x) {
      const uint8_t v = dst.Row(y)[x];
      row += v == 0 ? std::string("..") : std::to_string(v / 16) + std::to_string(v % 16 - 1);
      row += ' ';
    }
    row.pop_back();
    EXPECT_EQ(row, c.Rows[static_cast<size_t>(y)]) << "row " << y;
  }
}

// Each destination pixel shows "<source row><source column>".
INSTANTIATE_TEST_SUITE_P(
    Cases, StretchGeometry,
    testing::Values(TGeometryCase{"Identity",
                                  0,
                                  0,
                                  4,
                                  4,
                                  0,
                                  0,
                                  4,
                                  4,
                                  {"00 01 02 03", "10 11 12 13", "20 21 22 23", "30 31 32 33"}},
                    TGeometryCase{"MirrorLeftRight",
                                  4,
                                  0,
                                  -4,
                                  1,
                                  0,
                                  0,
                                  4,
                                  1,
                                  {"03 02 01 00", ".. .. .. ..", ".. .. .. ..", ".. .. .. .."}},
                    TGeometryCase{"MirrorBySourceWidth",
                                  0,
                                  0,
                                  4,
                                  1,
                                  4,
                                  0,
                                  -4,
                                  1,
                                  {"03 02 01 00", ".. .. .. ..", ".. .. .. ..", ".. .. .. .."}},
                    TGeometryCase{"MirrorUpDown",
                                  0,
                                  4,
                                  1,
                                  -4,
                                  0,
                                  0,
                                  1,
                                  4,
                                  {"30 .. .. ..", "20 .. .. ..", "10 .. .. ..", "00 .. .. .."}},
                    TGeometryCase{"DoubleSize",
                                  0,
                                  0,
                                  4,
                                  4,
                                  1,
                                  1,
                                  2,
                                  2,
                                  {"11 11 12 12", "11 11 12 12", "21 21 22 22", "21 21 22 22"}},
                    TGeometryCase{"HalfSizeSamplesCentres",
                                  0,
                                  0,
                                  2,
                                  2,
                                  0,
                                  0,
                                  4,
                                  4,
                                  {"11 13 .. ..", "31 33 .. ..", ".. .. .. ..", ".. .. .. .."}},
                    // Clipping the destination keeps the grid of the unclipped rectangle.
                    TGeometryCase{"ClippedLeftKeepsGrid",
                                  -1,
                                  0,
                                  4,
                                  1,
                                  0,
                                  0,
                                  2,
                                  1,
                                  {"00 01 01 ..", ".. .. .. ..", ".. .. .. ..", ".. .. .. .."}},
                    TGeometryCase{"SourcePartlyOutside",
                                  0,
                                  0,
                                  4,
                                  1,
                                  2,
                                  0,
                                  4,
                                  1,
                                  {"02 03 .. ..", ".. .. .. ..", ".. .. .. ..", ".. .. .. .."}},
                    TGeometryCase{"SourceLeftOfBitmap",
                                  0,
                                  0,
                                  4,
                                  1,
                                  -2,
                                  0,
                                  4,
                                  1,
                                  {".. .. 00 01", ".. .. .. ..", ".. .. .. ..", ".. .. .. .."}},
                    TGeometryCase{"DestinationOffRight",
                                  3,
                                  3,
                                  4,
                                  4,
                                  0,
                                  0,
                                  4,
                                  4,
                                  {".. .. .. ..", ".. .. .. ..", ".. .. .. ..", ".. .. .. 00"}}),
    [](const testing::TestParamInfo<TGeometryCase>& p) { return std::string(p.param.Name); });

TEST(StretchClipping, NothingIsWrittenOutsideTheRowsOrIntoThePadding) {
  TSection src(TInfo(3, 3, 24));
  TSection dst(TInfo(3, 3, 24));  // 9 bytes of pixels, 3 of padding a row
  for (int y = 0; y < 3; ++y) std::memset(src.Row(y), 0x77, 9);
  for (int y = 0; y < 3; ++y) std::memset(dst.Row(y) + 9, 0xEE, 3);
  StretchBlt(dst.DC, -5, -5, 20, 20, src.DC, -1, -1, 5, 5, SRCCOPY);
  for (int y = 0; y < 3; ++y) {
    for (int b = 9; b < 12; ++b) EXPECT_EQ(dst.Row(y)[b], 0xEE);
  }
  EXPECT_EQ(GetPixel(dst.DC, 1, 1), RGB(0x77, 0x77, 0x77));
}

TEST(StretchClipping, ZeroExtentsFailAndHugeOnesStayBounded) {
  TSection src(TInfo(2, 2, 32));
  TSection dst(TInfo(2, 2, 32));
  EXPECT_EQ(StretchBlt(dst.DC, 0, 0, 0, 2, src.DC, 0, 0, 2, 2, SRCCOPY), FALSE_);
  EXPECT_EQ(StretchBlt(dst.DC, 0, 0, 2, 2, src.DC, 0, 0, 2, 0, SRCCOPY), FALSE_);
  EXPECT_EQ(StretchBlt(dst.DC, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, src.DC, INT32_MAX,
                       INT32_MIN, INT32_MIN, INT32_MAX, SRCCOPY),
            TRUE_);
  EXPECT_EQ(StretchBlt(dst.DC, 0, 0, 2, 2, src.DC, 0, 0, 2, 2, 0x00EE0086), FALSE_);
}

TEST(StretchOverlap, CopiesWithinOneContextReadTheSourceFirst) {
  TSection section(TInfo(4, 4, 8, GreyRamp(256)));
  FillNumbered(section);
  // Shift right by one, then stretch the top-left 2 x 2 onto the whole bitmap.
  BitBlt(section.DC, 1, 0, 3, 1, section.DC, 0, 0, SRCCOPY);
  EXPECT_EQ(section.Row(0)[1], 1);
  EXPECT_EQ(section.Row(0)[2], 2);
  EXPECT_EQ(section.Row(0)[3], 3);
  FillNumbered(section);
  StretchBlt(section.DC, 0, 0, 4, 4, section.DC, 0, 0, 2, 2, SRCCOPY);
  EXPECT_EQ(section.Row(3)[3], 16 + 2);
  EXPECT_EQ(section.Row(0)[3], 2);
  EXPECT_EQ(section.Row(3)[0], 17);
}

TEST(RasterFills, BlacknessAndWhitenessNeedNoSource) {
  TSection dst(TInfo(4, 2, 16, {}, {0xF800, 0x07E0, 0x001F}));
  EXPECT_EQ(BitBlt(dst.DC, 0, 0, 4, 2, nullptr, 0, 0, WHITENESS), TRUE_);
  EXPECT_EQ(GetPixel(dst.DC, 3, 1), RGB(0xF8, 0xFC, 0xF8));
  EXPECT_EQ(StretchBlt(dst.DC, 4, 0, -2, 1, nullptr, 0, 0, 0, 0, BLACKNESS), TRUE_);
  EXPECT_EQ(GetPixel(dst.DC, 3, 0), 0u);
  EXPECT_EQ(GetPixel(dst.DC, 1, 0), RGB(0xF8, 0xFC, 0xF8));
}

// --- Packed DIBs ----------------------------------------------------------------

TEST(StretchDIBitsCopies, BottomUpSourceRowsCountFromTheBottom) {
  TInfo info(2, 3, 8, GreyRamp(256));
  // Stored bottom row first: rows hold 10, 20, 30 from the bottom.
  uint8_t bits[3 * 4] = {10, 10, 0, 0, 20, 20, 0, 0, 30, 30, 0, 0};
  TSection dst(TInfo(2, 3, 8, GreyRamp(256)));
  EXPECT_EQ(
      StretchDIBits(dst.DC, 0, 0, 2, 1, 0, 0, 2, 1, bits, &info.Info, DIB_RGB_COLORS, SRCCOPY), 3);
  EXPECT_EQ(dst.Row(0)[0], 10);  // source y 0 is the bottom row
  EXPECT_EQ(
      StretchDIBits(dst.DC, 0, 0, 2, 3, 0, 0, 2, 3, bits, &info.Info, DIB_RGB_COLORS, SRCCOPY), 3);
  EXPECT_EQ(dst.Row(0)[1], 30);
  EXPECT_EQ(dst.Row(2)[1], 10);
}

TEST(StretchDIBitsCopies, RunLengthSourcesAreDecodedFirst) {
  TInfo info(4, 2, 8, GreyRamp(256));
  const uint8_t rle[] = {4, 50, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1};
  info.Info.bmiHeader.biCompression = BI_RLE8;
  info.Info.bmiHeader.biSizeImage = sizeof(rle);
  TSection dst(TInfo(4, 2, 8, GreyRamp(256)));
  EXPECT_EQ(StretchDIBits(dst.DC, 0, 0, 4, 2, 0, 0, 4, 2, rle, &info.Info, DIB_RGB_COLORS, SRCCOPY),
            2);
  EXPECT_EQ(dst.Row(1)[3], 50);
  EXPECT_EQ(dst.Row(0)[0], 1);
  EXPECT_EQ(dst.Row(0)[3], 4);
  info.Info.bmiHeader.biSizeImage = 0;  // no way to know where the data ends
  EXPECT_EQ(StretchDIBits(dst.DC, 0, 0, 4, 2, 0, 0, 4, 2, rle, &info.Info, DIB_RGB_COLORS, SRCCOPY),
            0);
}

TEST(StretchDIBitsCopies, MalformedHeadersAreRefused) {
  uint8_t bits[64]{};
  TSection dst(TInfo(4, 4, 24));
  struct TBad {
    LONG Width, Height;
    WORD BitCount;
    DWORD Compression;
  };
  const TBad bad[] = {
      {0, 4, 24, BI_RGB}, {4, 0, 24, BI_RGB},  {4, 4, 7, BI_RGB}, {4, 4, 24, BI_BITFIELDS},
      {4, 4, 8, BI_RLE4}, {4, -4, 8, BI_RLE8}, {4, 4, 24, 9},     {1 << 30, 1 << 30, 32, BI_RGB}};
  for (const TBad& b : bad) {
    TInfo info(b.Width, b.Height, b.BitCount);
    info.Info.bmiHeader.biCompression = b.Compression;
    info.Info.bmiHeader.biSizeImage = 16;
    EXPECT_EQ(
        StretchDIBits(dst.DC, 0, 0, 4, 4, 0, 0, 4, 4, bits, &info.Info, DIB_RGB_COLORS, SRCCOPY), 0)
        << b.Width << "x" << b.Height << "x" << b.BitCount << " c" << b.Compression;
  }
  TInfo good(4, 4, 24);
  EXPECT_EQ(
      StretchDIBits(dst.DC, 0, 0, 4, 4, 0, 0, 4, 4, nullptr, &good.Info, DIB_RGB_COLORS, SRCCOPY),
      0);
  EXPECT_EQ(StretchDIBits(dst.DC, 0, 0, 4, 4, 0, 0, 4, 4, bits, nullptr, DIB_RGB_COLORS, SRCCOPY),
            0);
}

TEST(StretchDIBitsCopies, PaletteColoursIndexTheSelectedPalette) {
  LOGPALETTE log;
  log.palNumEntries = 2;
  log.palPalEntry[0] = PALETTEENTRY{0, 0, 0, 0};
  log.palPalEntry[1] = PALETTEENTRY{12, 34, 56, 0};
  HPALETTE palette = CreatePalette(&log);
  TSection dst(TInfo(1, 1, 24));
  SelectPalette(dst.DC, palette, FALSE_);
  TInfo info(1, 1, 8);
  const WORD indexes[2] = {1, 0};
  std::memcpy(info.Info.bmiColors, indexes, sizeof(indexes));
  info.Info.bmiHeader.biClrUsed = 2;
  const uint8_t bits[4] = {0, 0, 0, 0};
  StretchDIBits(dst.DC, 0, 0, 1, 1, 0, 0, 1, 1, bits, &info.Info, DIB_PAL_COLORS, SRCCOPY);
  EXPECT_EQ(GetPixel(dst.DC, 0, 0), RGB(12, 34, 56));
  SelectPalette(dst.DC, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE_);
  DeleteObject(palette);
}

TEST(ScreenContext, CopiesToTheScreenSucceedAndFromItFail) {
  TSection section(TInfo(2, 2, 32));
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(BitBlt(screen, 0, 0, 2, 2, section.DC, 0, 0, SRCCOPY), TRUE_);
  EXPECT_EQ(BitBlt(section.DC, 0, 0, 2, 2, screen, 0, 0, SRCCOPY), FALSE_);
  ReleaseDC(nullptr, screen);
}

TEST(PixelBufferTargets, SixteenBitSurfacePixelsReceiveFiveSixFive) {
  uint16_t pixels[2 * 3]{};  // pitch 6 bytes, 2 rows, 3 columns
  HDC dc = CreatePixelBufferDC(
      {reinterpret_cast<uint8_t*>(pixels), 6, 3, 2, {16, 0xF800, 0x07E0, 0x001F}});
  TSection src(TInfo(3, 2, 24));
  SetPixel(src.DC, 2, 1, RGB(255, 0, 8));
  EXPECT_EQ(BitBlt(dc, 0, 0, 3, 2, src.DC, 0, 0, SRCCOPY), TRUE_);
  EXPECT_EQ(pixels[3 + 2], 0xF801);
  DeleteDC(dc);
}

}  // namespace

// --- Every format pair --------------------------------------------------------

struct TFormat {
  const char* Name;
  WORD Bits;
  std::vector<DWORD> Masks;
};

const TFormat kFormats[] = {
    {"1", 1, {}},      {"4", 4, {}},   {"8", 8, {}},   {"555", 16, {}},
    {"565", 16, k565}, {"24", 24, {}}, {"32", 32, {}}, {"32bgr", 32, {0xFF, 0xFF00, 0xFF0000}}};

class EveryPair : public testing::TestWithParam<std::tuple<int, int>> {};

// Each destination pixel holds what its mirrored source pixel shows, matched to
// the destination's own colours.
TEST_P(EveryPair, MirroredCopyKeepsEachPixelsColour) {
  const TFormat& from = kFormats[std::get<0>(GetParam())];
  const TFormat& to = kFormats[std::get<1>(GetParam())];
  auto table = [](WORD bits) { return bits <= 8 ? GreyRamp(1 << bits) : std::vector<RGBQUAD>{}; };
  TSection src(TInfo(13, 3, from.Bits, table(from.Bits), from.Masks));
  TSection dst(TInfo(13, 3, to.Bits, table(to.Bits), to.Masks));
  TSection probe(TInfo(1, 1, to.Bits, table(to.Bits), to.Masks));
  uint32_t seed = 12345;
  for (int y = 0; y < 3; ++y) {
    for (int64_t b = 0; b < src.RowBytes(); ++b)
      src.Row(y)[b] = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
  }
  ASSERT_EQ(StretchBlt(dst.DC, 13, 0, -13, 3, src.DC, 0, 0, 13, 3, SRCCOPY), TRUE_);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 13; ++x) {
      const COLORREF expected = SetPixel(probe.DC, 0, 0, GetPixel(src.DC, 12 - x, y));
      ASSERT_EQ(GetPixel(dst.DC, x, y), expected) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, EveryPair,
                         testing::Combine(testing::Range(0, 8), testing::Range(0, 8)),
                         [](const testing::TestParamInfo<std::tuple<int, int>>& p) {
                           return std::string(kFormats[std::get<0>(p.param)].Name) + "to" +
                                  kFormats[std::get<1>(p.param)].Name;
                         });

TEST(DefaultColours, ReadingAsFourBitsUsesTheSixteenVgaColours) {
  TSection section(TInfo(2, 1, 24));
  SetPixel(section.DC, 0, 0, RGB(250, 5, 5));
  SetPixel(section.DC, 1, 0, RGB(120, 130, 125));
  TInfo request(2, 1, 4);
  uint8_t bits[4]{};
  ASSERT_EQ(GetDIBits(section.DC, section.Bitmap, 0, 1, bits, &request.Info, DIB_RGB_COLORS), 1);
  EXPECT_EQ(request.Info.bmiColors[9], (RGBQUAD{0, 0, 255, 0}));
  EXPECT_EQ(request.Info.bmiColors[8], (RGBQUAD{128, 128, 128, 0}));
  EXPECT_EQ(bits[0], 0x98);  // bright red, then dark grey
}
