#include <gtest/gtest.h>

#include "tests/platform/gdi/GdiTestSupport.h"

using gdi_test::TInfo;
using gdi_test::TSection;

namespace {

TEST(DeviceContextHandles, BadAndDeadHandlesFailWithoutCrashing) {
  auto bogus = reinterpret_cast<HDC>(static_cast<uintptr_t>(0xDEAD0));
  EXPECT_EQ(GetDeviceCaps(bogus, BITSPIXEL), 0);
  EXPECT_EQ(SelectObject(bogus, GetStockObject(WHITE_BRUSH)), nullptr);
  EXPECT_EQ(DeleteDC(bogus), FALSE_);
  EXPECT_EQ(BitBlt(bogus, 0, 0, 1, 1, bogus, 0, 0, SRCCOPY), FALSE_);
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(DeleteDC(dc), TRUE_);
  EXPECT_EQ(DeleteDC(dc), FALSE_);
  EXPECT_EQ(SetPixel(dc, 0, 0, 0), CLR_INVALID);
  EXPECT_EQ(CreateCompatibleDC(dc), nullptr);
}

TEST(DeviceContextHandles, ScreenContextHasTheDesktopFormat) {
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(screen, PLANES), 1);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 1024);
  EXPECT_EQ(GetDeviceCaps(screen, VERTRES), 768);
  EXPECT_EQ(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE, 0);
  SetDesktopBitsPerPixel(8);
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 8);
  EXPECT_EQ(GetDeviceCaps(screen, SIZEPALETTE), 256);
  EXPECT_EQ(GetDeviceCaps(screen, NUMRESERVED), 20);
  EXPECT_NE(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE, 0);
  SetDesktopBitsPerPixel(13);  // ignored
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 8);
  SetDesktopBitsPerPixel(32);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 0);
}

TEST(DeviceContextHandles, MemoryContextStartsWithAOneByOneMonochromeBitmap) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 1);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 1);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 5, 4);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ASSERT_NE(old, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 5);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 4);
  EXPECT_EQ(SelectObject(dc, old), bitmap);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 1);
  EXPECT_EQ(DeleteObject(bitmap), TRUE_);
  EXPECT_EQ(DeleteDC(dc), TRUE_);
}

TEST(DeviceContextHandles, DeletingASelectedBitmapKillsTheHandleButNotTheContextsPixels) {
  TSection section(TInfo(4, 4, 24));
  EXPECT_EQ(DeleteObject(section.Bitmap), TRUE_);
  EXPECT_EQ(GetObject(section.Bitmap, sizeof(BITMAP), nullptr), 0);
  // The context still draws into the pixels it holds.
  EXPECT_NE(SetPixel(section.DC, 1, 1, RGB(10, 20, 30)), CLR_INVALID);
  EXPECT_EQ(GetPixel(section.DC, 1, 1), RGB(10, 20, 30));
  EXPECT_EQ(DeleteObject(section.Bitmap), FALSE_);
  section.Bitmap = nullptr;
}

TEST(DeviceContextHandles, SelectedPensAndPalettesOutliveTheirHandles) {
  TSection section(TInfo(4, 1, 32));
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
  LOGPALETTE log;
  log.palNumEntries = 1;
  HPALETTE palette = CreatePalette(&log);
  EXPECT_EQ(SelectObject(section.DC, pen), GetStockObject(BLACK_PEN));
  EXPECT_NE(SelectPalette(section.DC, palette, FALSE_), nullptr);
  EXPECT_EQ(DeleteObject(pen), TRUE_);
  EXPECT_EQ(DeleteObject(palette), TRUE_);
  EXPECT_EQ(RealizePalette(section.DC), 1u);  // still selected, still working
  MoveToEx(section.DC, 0, 0, nullptr);
  LineTo(section.DC, 4, 0);
  EXPECT_EQ(GetPixel(section.DC, 3, 0), RGB(0, 255, 0));
  EXPECT_EQ(SelectObject(section.DC, GetStockObject(BLACK_PEN)), pen);  // the old, now dead handle
  EXPECT_EQ(SelectObject(section.DC, pen), nullptr);
}

TEST(DeviceContextHandles, StockObjectsSurviveDeleteObject) {
  HGDIOBJ brush = GetStockObject(WHITE_BRUSH);
  ASSERT_NE(brush, nullptr);
  EXPECT_EQ(DeleteObject(brush), TRUE_);
  EXPECT_EQ(GetStockObject(WHITE_BRUSH), brush);
  EXPECT_EQ(GetStockObject(99), nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(dc, brush), brush);  // the default brush is the stock one
  EXPECT_EQ(DeleteObject(dc), FALSE_);        // contexts go through DeleteDC
  DeleteDC(dc);
}

TEST(DeviceContextState, SaveAndRestoreBringBackSelectionsAndOrigins) {
  TSection section(TInfo(8, 8, 32));
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  const int level = SaveDC(section.DC);
  EXPECT_EQ(level, 1);
  SelectObject(section.DC, pen);
  SetWindowOrgEx(section.DC, 3, 3, nullptr);
  SetStretchBltMode(section.DC, COLORONCOLOR);
  EXPECT_EQ(SaveDC(section.DC), 2);
  EXPECT_EQ(RestoreDC(section.DC, -1), TRUE_);
  EXPECT_EQ(GetStretchBltMode(section.DC), COLORONCOLOR);
  EXPECT_EQ(RestoreDC(section.DC, level), TRUE_);
  EXPECT_EQ(GetStretchBltMode(section.DC), BLACKONWHITE);
  TPoint old;
  SetWindowOrgEx(section.DC, 0, 0, &old);
  EXPECT_EQ(old, (TPoint{0, 0}));
  EXPECT_EQ(RestoreDC(section.DC, 1), FALSE_);
  EXPECT_EQ(RestoreDC(section.DC, 0), FALSE_);
  EXPECT_EQ(DeleteObject(pen), TRUE_);
}

TEST(DeviceContextState, WindowAndViewportOriginsMoveDrawing) {
  TSection section(TInfo(8, 8, 32));
  SetWindowOrgEx(section.DC, 2, 0, nullptr);
  SetViewportOrgEx(section.DC, 0, 3, nullptr);
  SetPixel(section.DC, 4, 1, RGB(1, 2, 3));
  SetWindowOrgEx(section.DC, 0, 0, nullptr);
  SetViewportOrgEx(section.DC, 0, 0, nullptr);
  EXPECT_EQ(GetPixel(section.DC, 2, 4), RGB(1, 2, 3));
}

TEST(DeviceContextState, StretchModeRejectsUnknownModes) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SetStretchBltMode(dc, COLORONCOLOR), BLACKONWHITE);
  EXPECT_EQ(SetStretchBltMode(dc, 77), 0);
  EXPECT_EQ(GetStretchBltMode(dc), COLORONCOLOR);
  DeleteDC(dc);
}

TEST(PixelBufferContext, DrawsIntoTheCallersPixelsAndReadsTheColourTableAtDrawTime) {
  uint8_t pixels[2 * 8]{};
  RGBQUAD first[2] = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{0, 0, 255, 0}};
  RGBQUAD second[2] = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 0, 0, 0}};
  HDC dc = CreatePixelBufferDC({pixels, 8, 4, 2, {8, 0, 0, 0, first, 2}});
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 8);
  pixels[8 + 3] = 1;
  EXPECT_EQ(GetPixel(dc, 3, 1), RGB(255, 0, 0));
  std::memcpy(first, second, sizeof(first));  // the owner changes its table
  EXPECT_EQ(GetPixel(dc, 3, 1), RGB(0, 0, 255));
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 1, 1);
  EXPECT_EQ(SelectObject(dc, bitmap), nullptr);  // its pixels are not ours to swap
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST(PixelBufferContext, RefusesBadDescriptions) {
  uint8_t pixels[16]{};
  gdi::TPixelView desc{pixels, 4, 4, 2, {16}};  // 16 bits need 8 bytes a row
  EXPECT_EQ(CreatePixelBufferDC(desc), nullptr);
  desc.Pitch = 8;
  desc.Format.RedMask = 0xF0F0;  // not contiguous
  desc.Format.GreenMask = 0x0F00;
  desc.Format.BlueMask = 0x000F;
  EXPECT_EQ(CreatePixelBufferDC(desc), nullptr);
  desc.Format.BitCount = 12;
  EXPECT_EQ(CreatePixelBufferDC(desc), nullptr);
  desc.Top = nullptr;
  desc.Format.BitCount = 8;
  EXPECT_EQ(CreatePixelBufferDC(desc), nullptr);
}

}  // namespace
