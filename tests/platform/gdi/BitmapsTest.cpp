#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tests/platform/gdi/GdiTestSupport.h"

using gdi_test::GreyRamp;
using gdi_test::TInfo;
using gdi_test::TSection;

namespace {

struct TSectionCase {
  WORD BitCount;
  LONG Height;  // negative: top-down
  LONG WidthBytes;
  DWORD Masks[3];
};

class SectionLayout : public testing::TestWithParam<TSectionCase> {};

TEST_P(SectionLayout, DescribesItselfAndStoresRowsInDibOrder) {
  const TSectionCase& c = GetParam();
  TSection section(TInfo(5, c.Height, c.BitCount,
                         c.BitCount <= 8 ? GreyRamp(1 << c.BitCount) : std::vector<RGBQUAD>{}));
  ASSERT_NE(section.Bitmap, nullptr);
  ASSERT_NE(section.Bits, nullptr);
  DIBSECTION ds;
  ASSERT_EQ(GetObject(section.Bitmap, sizeof(ds), &ds), static_cast<int>(sizeof(DIBSECTION)));
  EXPECT_EQ(ds.dsBm.bmWidth, 5);
  EXPECT_EQ(ds.dsBm.bmHeight, 3);
  EXPECT_EQ(ds.dsBm.bmWidthBytes, c.WidthBytes);
  EXPECT_EQ(ds.dsBm.bmBitsPixel, c.BitCount);
  EXPECT_EQ(ds.dsBm.bmBits, section.Bits);
  EXPECT_EQ(ds.dsBmih.biHeight, c.Height);
  EXPECT_EQ(ds.dsBmih.biSizeImage, static_cast<DWORD>(c.WidthBytes * 3));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ds.dsBitfields[i], c.Masks[i]);
  BITMAP bm;
  EXPECT_EQ(GetObject(section.Bitmap, sizeof(bm), &bm), static_cast<int>(sizeof(BITMAP)));
  EXPECT_EQ(GetObject(section.Bitmap, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
  // The top-left pixel is in the last stored row unless the section is top-down.
  SetPixel(section.DC, 0, 0, RGB(255, 255, 255));
  const auto* bits = static_cast<const uint8_t*>(section.Bits);
  const uint8_t* topRow = c.Height < 0 ? bits : bits + 2 * c.WidthBytes;
  EXPECT_NE(topRow[0], 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, SectionLayout,
                         testing::Values(TSectionCase{1, 3, 4, {0, 0, 0}},
                                         TSectionCase{4, 3, 4, {0, 0, 0}},
                                         TSectionCase{8, 3, 8, {0, 0, 0}},
                                         TSectionCase{16, 3, 12, {0x7C00, 0x03E0, 0x001F}},
                                         TSectionCase{24, 3, 16, {0, 0, 0}},
                                         TSectionCase{32, 3, 20, {0xFF0000, 0xFF00, 0xFF}},
                                         TSectionCase{24, -3, 16, {0, 0, 0}},
                                         TSectionCase{8, -3, 8, {0, 0, 0}}));

// Memory freed by an earlier, painted section must not show through a new one.
TEST(SectionCreation, NewSectionsReadAsZero) {
  for (const LONG side : {16, 64, 1024}) {
    for (int round = 0; round < 2; ++round) {
      TSection section(TInfo(side, side, 32, {}));
      ASSERT_NE(section.Bits, nullptr);
      const auto* bytes = static_cast<const uint8_t*>(section.Bits);
      const size_t size = static_cast<size_t>(section.RowBytes() * side);
      EXPECT_EQ(std::count(bytes, bytes + size, 0), static_cast<std::ptrdiff_t>(size)) << side;
      std::memset(section.Bits, 0xFF, size);
    }
  }
}

TEST(SectionCreation, BitFieldMasksAreKept) {
  TSection section(TInfo(2, 2, 16, {}, {0xF800, 0x07E0, 0x001F}));
  DIBSECTION ds;
  GetObject(section.Bitmap, sizeof(ds), &ds);
  EXPECT_EQ(ds.dsBitfields[0], 0xF800u);
  EXPECT_EQ(ds.dsBitfields[1], 0x07E0u);
  EXPECT_EQ(ds.dsBmih.biCompression, BI_BITFIELDS);
}

TEST(SectionCreation, BadDescriptionsGiveNoSection) {
  const TInfo bad[] = {TInfo(0, 2, 24),
                       TInfo(2, 0, 24),
                       TInfo(2, 2, 12),
                       TInfo(2, 2, 16, {}, {0xF0F0, 0x0F00, 0x000F}),
                       TInfo(2, 2, 16, {}, {0xF800, 0x0FE0, 0x001F}),
                       TInfo(2, 2, 16, {}, {0x1F0000, 0x07E0, 0x001F}),
                       TInfo(100000, 100000, 32)};
  for (const TInfo& info : bad) {
    void* bits = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateDIBSection(nullptr, &info.Info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
  }
  TInfo rle(2, 2, 8);
  rle.Info.bmiHeader.biCompression = BI_RLE8;
  rle.Info.bmiHeader.biSizeImage = 4;
  EXPECT_EQ(CreateDIBSection(nullptr, &rle.Info, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
  EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
}

// The caller's pixels under a section: drawn and read in place, handed back once
// when the section goes.
struct TReleaseCount {
  uint8_t Pixels[24] = {};
  int Released = 0;
};
void CountRelease(void* context) { ++static_cast<TReleaseCount*>(context)->Released; }

TEST(SectionOverMemory, UsesTheGivenPixelsAndHandsThemBackOnce) {
  const TInfo info(3, 2, 24);
  TReleaseCount memory;
  memory.Pixels[12 + 2] = 0xFF;  // picture row 0 is the second stored row: its first pixel red
  HBITMAP section = CreateDIBSectionOver(&info.Info, memory.Pixels, 24, &CountRelease, &memory);
  ASSERT_NE(section, nullptr);
  DIBSECTION ds;
  ASSERT_EQ(GetObject(section, sizeof(ds), &ds), static_cast<int>(sizeof(DIBSECTION)));
  EXPECT_EQ(ds.dsBm.bmBits, memory.Pixels);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, section);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  SetPixel(dc, 2, 1, RGB(0, 0, 255));
  EXPECT_EQ(memory.Pixels[6], 0xFF);
  EXPECT_EQ(DeleteObject(section), TRUE_);
  EXPECT_EQ(memory.Released, 0);  // the context still holds the section
  SelectObject(dc, old);
  EXPECT_EQ(memory.Released, 1);
  DeleteDC(dc);
  EXPECT_EQ(memory.Released, 1);
}

TEST(SectionOverMemory, RefusesWhatItCannotUseAndLeavesThePixelsToTheCaller) {
  TReleaseCount memory;
  const TInfo fits(3, 2, 24);
  EXPECT_EQ(CreateDIBSectionOver(&fits.Info, memory.Pixels, 23, &CountRelease, &memory), nullptr);
  EXPECT_EQ(CreateDIBSectionOver(&fits.Info, nullptr, 24, &CountRelease, &memory), nullptr);
  EXPECT_EQ(CreateDIBSectionOver(&fits.Info, memory.Pixels, 24, nullptr, &memory), nullptr);
  TInfo compressed(3, 2, 8);
  compressed.Info.bmiHeader.biCompression = BI_RLE8;
  EXPECT_EQ(CreateDIBSectionOver(&compressed.Info, memory.Pixels, 24, &CountRelease, &memory),
            nullptr);
  EXPECT_EQ(CreateDIBSectionOver(nullptr, memory.Pixels, 24, &CountRelease, &memory), nullptr);
  EXPECT_EQ(memory.Released, 0);
}

TEST(SectionColourTable, SetAndGetClampToTheTable) {
  TSection section(TInfo(2, 2, 4, GreyRamp(16)));
  RGBQUAD colors[20]{};
  EXPECT_EQ(GetDIBColorTable(section.DC, 0, 20, colors), 16u);
  EXPECT_EQ(colors[15], (RGBQUAD{255, 255, 255, 0}));
  const RGBQUAD red[4] = {{0, 0, 255, 0}, {0, 0, 255, 0}, {0, 0, 255, 0}, {0, 0, 255, 0}};
  EXPECT_EQ(SetDIBColorTable(section.DC, 14, 4, red), 2u);
  EXPECT_EQ(SetDIBColorTable(section.DC, 16, 1, red), 0u);
  GetDIBColorTable(section.DC, 14, 2, colors);
  EXPECT_EQ(colors[1], red[0]);
  TSection trueColour(TInfo(2, 2, 24));
  EXPECT_EQ(SetDIBColorTable(trueColour.DC, 0, 1, red), 0u);
}

TEST(DeviceBitmaps, FollowTheDesktopFormat) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetDesktopBitsPerPixel(16);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 3, 2);
  SetDesktopBitsPerPixel(32);
  BITMAP bm;
  ASSERT_EQ(GetObject(bitmap, sizeof(bm), &bm), static_cast<int>(sizeof(BITMAP)));
  EXPECT_EQ(bm.bmBitsPixel, 16);
  EXPECT_EQ(bm.bmBits, nullptr);
  // A device bitmap never answers as a section.
  DIBSECTION ds;
  EXPECT_EQ(GetObject(bitmap, sizeof(ds), &ds), static_cast<int>(sizeof(BITMAP)));
  HGDIOBJ old = SelectObject(dc, bitmap);
  SetPixel(dc, 2, 1, RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 2, 1), RGB(0xF8, 0xFC, 0xF8));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST(DeviceBitmaps, CreateBitmapTakesWordAlignedTopDownRows) {
  const uint8_t bits[2 * 2] = {0x80, 0xFF, 0x01, 0xFF};  // rows of 10 pixels: 2 bytes each
  HBITMAP bitmap = CreateBitmap(10, 2, 1, 1, bits);
  ASSERT_NE(bitmap, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 1, 0), 0u);
  EXPECT_EQ(GetPixel(dc, 7, 1), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 9, 1), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 10, 1), CLR_INVALID);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  EXPECT_EQ(CreateBitmap(2, 2, 2, 1, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(-2, 2, 1, 1, nullptr), nullptr);
}

// A 4 x 2 8-bit RLE picture: bottom row all 9, top row 1 2 3 4.
struct TRlePicture {
  TInfo Info{4, 2, 8, GreyRamp(256)};
  std::vector<uint8_t> Data = {4, 9, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1};
  TRlePicture() {
    Info.Info.bmiHeader.biCompression = BI_RLE8;
    Info.Info.bmiHeader.biSizeImage = static_cast<DWORD>(Data.size());
  }
};

TEST(DeviceBitmapsFromDibs, RunLengthDataIsConverted) {
  HDC screen = GetDC(nullptr);
  TRlePicture picture;
  HBITMAP bitmap = CreateDIBitmap(screen, &picture.Info.Info.bmiHeader, CBM_INIT,
                                  picture.Data.data(), &picture.Info.Info, DIB_RGB_COLORS);
  ASSERT_NE(bitmap, nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(1, 1, 1));
  EXPECT_EQ(GetPixel(dc, 3, 0), RGB(4, 4, 4));
  EXPECT_EQ(GetPixel(dc, 2, 1), RGB(9, 9, 9));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

TEST(DeviceBitmapsFromDibs, HostileRunLengthDataStaysInside) {
  HDC screen = GetDC(nullptr);
  TRlePicture picture;
  picture.Data = {0, 2, 255, 255, 255, 7, 0, 200, 1};  // delta away, then a cut absolute run
  picture.Info.Info.bmiHeader.biSizeImage = static_cast<DWORD>(picture.Data.size());
  HBITMAP bitmap = CreateDIBitmap(screen, &picture.Info.Info.bmiHeader, CBM_INIT,
                                  picture.Data.data(), &picture.Info.Info, DIB_RGB_COLORS);
  EXPECT_NE(bitmap, nullptr);
  DeleteObject(bitmap);
  // Without CBM_INIT no bits are needed; with it they are.
  bitmap = CreateDIBitmap(screen, &picture.Info.Info.bmiHeader, 0, nullptr, nullptr, 0);
  EXPECT_NE(bitmap, nullptr);
  DeleteObject(bitmap);
  EXPECT_EQ(CreateDIBitmap(screen, &picture.Info.Info.bmiHeader, CBM_INIT, nullptr,
                           &picture.Info.Info, 0),
            nullptr);
  EXPECT_EQ(CreateDIBitmap(screen, nullptr, 0, nullptr, nullptr, 0), nullptr);
  ReleaseDC(nullptr, screen);
}

TEST(ReadingBits, HeaderOnlyDescribesTheBitmap) {
  TSection section(TInfo(7, 3, 16, {}, {0xF800, 0x07E0, 0x001F}));
  BITMAPINFO info{};
  EXPECT_NE(GetDIBits(section.DC, section.Bitmap, 0, 0, nullptr, &info, DIB_RGB_COLORS), 0);
  EXPECT_EQ(info.bmiHeader.biWidth, 7);
  EXPECT_EQ(info.bmiHeader.biHeight, 3);
  EXPECT_EQ(info.bmiHeader.biBitCount, 16);
  EXPECT_EQ(info.bmiHeader.biCompression, BI_BITFIELDS);
  EXPECT_EQ(info.bmiHeader.biSizeImage, 3u * 16u);
}

TEST(ReadingBits, ScanLinesCountFromTheBottom) {
  TSection section(TInfo(2, 3, 32));
  for (int y = 0; y < 3; ++y) SetPixel(section.DC, 0, y, RGB(10 * (y + 1), 0, 0));
  TInfo request(2, 3, 24);
  uint8_t bits[2 * 8]{};
  EXPECT_EQ(GetDIBits(section.DC, section.Bitmap, 1, 5, bits, &request.Info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(bits[2], 20);      // scan line 1 is the middle row
  EXPECT_EQ(bits[8 + 2], 10);  // scan line 2 is the top row
  EXPECT_EQ(GetDIBits(section.DC, section.Bitmap, 3, 1, bits, &request.Info, DIB_RGB_COLORS), 0);
}

TEST(ReadingBits, PalettisedRequestsGetTheBitmapsColourTable) {
  TSection section(TInfo(2, 1, 8, {RGBQUAD{1, 2, 3, 0}, RGBQUAD{4, 5, 6, 0}}));
  section.Row(0)[1] = 1;
  TInfo request(2, -1, 8);
  uint8_t bits[4]{};
  EXPECT_EQ(GetDIBits(section.DC, section.Bitmap, 0, 1, bits, &request.Info, DIB_RGB_COLORS), 1);
  EXPECT_EQ(request.Info.bmiColors[1], (RGBQUAD{4, 5, 6, 0}));
  EXPECT_EQ(bits[1], 1);
  EXPECT_EQ(GetDIBits(section.DC, nullptr, 0, 1, bits, &request.Info, DIB_RGB_COLORS), 0);
}

TEST(Flushing, GdiFlushSucceeds) { EXPECT_EQ(GdiFlush(), TRUE_); }

}  // namespace
