#include <gtest/gtest.h>

#include "tests/platform/gdi/GdiTestSupport.h"

namespace {

LOGPALETTE Ramp(WORD count) {
  LOGPALETTE log;
  log.palNumEntries = count;
  for (WORD i = 0; i < count; ++i) log.palPalEntry[i] = PALETTEENTRY{static_cast<BYTE>(i), 0, 0, 0};
  return log;
}

TEST(LogicalPalettes, EntriesRoundTripAndClampToTheCount) {
  LOGPALETTE log = Ramp(16);
  HPALETTE palette = CreatePalette(&log);
  ASSERT_NE(palette, nullptr);
  PALETTEENTRY entries[32]{};
  EXPECT_EQ(GetPaletteEntries(palette, 0, 32, entries), 16u);
  EXPECT_EQ(entries[15].peRed, 15);
  EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 16u);
  const PALETTEENTRY blue[2] = {{0, 0, 255, 0}, {0, 0, 255, 0}};
  EXPECT_EQ(SetPaletteEntries(palette, 15, 2, blue), 1u);
  EXPECT_EQ(GetPaletteEntries(palette, 15, 1, entries), 1u);
  EXPECT_EQ(entries[0], blue[0]);
  EXPECT_EQ(GetPaletteEntries(palette, 16, 1, entries), 0u);
  WORD count = 0;
  EXPECT_EQ(GetObject(palette, sizeof(count), &count), 2);
  EXPECT_EQ(count, 16);
  EXPECT_EQ(DeleteObject(palette), TRUE_);
  EXPECT_EQ(GetPaletteEntries(palette, 0, 1, entries), 0u);
}

TEST(LogicalPalettes, OnlyVersion0x300WithOneTo256Entries) {
  LOGPALETTE log = Ramp(4);
  log.palVersion = 0x200;
  EXPECT_EQ(CreatePalette(&log), nullptr);
  log = Ramp(0);
  EXPECT_EQ(CreatePalette(&log), nullptr);
  log = Ramp(4);
  log.palNumEntries = 257;
  EXPECT_EQ(CreatePalette(&log), nullptr);
  EXPECT_EQ(CreatePalette(nullptr), nullptr);
}

TEST(LogicalPalettes, SelectReturnsThePreviousAndRealizeCountsEntries) {
  LOGPALETTE log = Ramp(8);
  HPALETTE palette = CreatePalette(&log);
  HDC dc = CreateCompatibleDC(nullptr);
  HPALETTE previous = SelectPalette(dc, palette, FALSE_);
  EXPECT_EQ(previous, GetStockObject(DEFAULT_PALETTE));
  EXPECT_EQ(RealizePalette(dc), 8u);
  EXPECT_EQ(SelectPalette(dc, previous, FALSE_), palette);
  EXPECT_EQ(RealizePalette(dc), 20u);
  EXPECT_EQ(SelectPalette(dc, nullptr, FALSE_), nullptr);
  EXPECT_EQ(SelectObject(dc, palette), nullptr);  // palettes are selected with SelectPalette
  DeleteDC(dc);
  DeleteObject(palette);
}

TEST(SystemPalette, StaticColoursSitAtBothEnds) {
  HDC screen = GetDC(nullptr);
  PALETTEENTRY entries[256]{};
  ASSERT_EQ(GetSystemPaletteEntries(screen, 0, 256, entries), 256u);
  EXPECT_EQ(entries[0], (PALETTEENTRY{0, 0, 0, 0}));
  EXPECT_EQ(entries[1], (PALETTEENTRY{128, 0, 0, 0}));
  EXPECT_EQ(entries[7], (PALETTEENTRY{192, 192, 192, 0}));
  EXPECT_EQ(entries[8], (PALETTEENTRY{192, 220, 192, 0}));
  EXPECT_EQ(entries[9], (PALETTEENTRY{166, 202, 240, 0}));
  EXPECT_EQ(entries[246], (PALETTEENTRY{255, 251, 240, 0}));
  EXPECT_EQ(entries[248], (PALETTEENTRY{128, 128, 128, 0}));
  EXPECT_EQ(entries[249], (PALETTEENTRY{255, 0, 0, 0}));
  EXPECT_EQ(entries[255], (PALETTEENTRY{255, 255, 255, 0}));
  // The middle holds a 6 x 6 x 6 cube, blue fastest.
  EXPECT_EQ(entries[10], (PALETTEENTRY{0, 0, 0, 0}));
  EXPECT_EQ(entries[11], (PALETTEENTRY{0, 0, 51, 0}));
  EXPECT_EQ(entries[10 + 215], (PALETTEENTRY{255, 255, 255, 0}));
  EXPECT_EQ(GetSystemPaletteEntries(screen, 250, 10, entries), 6u);
  EXPECT_EQ(GetSystemPaletteEntries(nullptr, 0, 1, entries), 0u);
  ReleaseDC(nullptr, screen);
}

TEST(SystemPalette, HalftonePaletteHas256EntriesWithTheStaticColours) {
  HDC screen = GetDC(nullptr);
  HPALETTE halftone = CreateHalftonePalette(screen);
  PALETTEENTRY entries[256]{}, system[256]{};
  ASSERT_EQ(GetPaletteEntries(halftone, 0, 256, entries), 256u);
  GetSystemPaletteEntries(screen, 0, 256, system);
  for (int i : {0, 5, 9, 246, 250, 255}) EXPECT_EQ(entries[i], system[i]) << i;
  DeleteObject(halftone);
  ReleaseDC(nullptr, screen);
}

TEST(SystemColours, KnownIndexes) {
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
}

}  // namespace
