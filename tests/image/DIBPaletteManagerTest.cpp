#include <gtest/gtest.h>

#include "image/DIBPaletteManager.h"
#include "platform/gdi/Gdi.h"

namespace {

class PaletteManagerTest : public testing::Test {
 protected:
  // Each test starts from what earlier tests left, so counts are compared to it.
  size_t FBaseItems = PaletteManager().ItemCount();
};

TEST_F(PaletteManagerTest, IdenticalTablesShareOneHandle) {
  const RGBQUAD table[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
  HPALETTE a = PaletteManager().AcquirePalette(table, 2);
  HPALETTE b = PaletteManager().AcquirePalette(table, 2);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(PaletteManager().UseCount(a), 2);
  EXPECT_EQ(PaletteManager().ItemCount(), FBaseItems + 1);
  PaletteManager().ReleasePalette(a);
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(PaletteManager().UseCount(b), 1);
  PaletteManager().ReleasePalette(b);
  EXPECT_EQ(PaletteManager().ItemCount(), FBaseItems);
}

TEST_F(PaletteManagerTest, SameChecksumDifferentEntriesGetTheirOwnHandle) {
  const RGBQUAD first[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
  const RGBQUAD swapped[2] = {{4, 5, 6, 0}, {1, 2, 3, 0}};
  HPALETTE a = PaletteManager().AcquirePalette(first, 2);
  HPALETTE b = PaletteManager().AcquirePalette(swapped, 2);
  HPALETTE c = PaletteManager().AcquirePalette(first, 1);  // fewer entries
  EXPECT_NE(a, b);
  EXPECT_NE(a, c);
  EXPECT_EQ(PaletteManager().ItemCount(), FBaseItems + 3);
  for (HPALETTE* p : {&a, &b, &c}) PaletteManager().ReleasePalette(*p);
  EXPECT_EQ(PaletteManager().ItemCount(), FBaseItems);
}

TEST_F(PaletteManagerTest, PaletteHoldsTheEntriesWithRedAndBlueSwapped) {
  const RGBQUAD table[2] = {{10, 20, 30, 0}, {40, 50, 60, 0}};
  HPALETTE palette = PaletteManager().AcquirePalette(table, 2);
  PALETTEENTRY entries[2];
  ASSERT_EQ(GetPaletteEntries(palette, 0, 2, entries), 2u);
  EXPECT_EQ(entries[0], (PALETTEENTRY{30, 20, 10, 0}));
  EXPECT_EQ(entries[1], (PALETTEENTRY{60, 50, 40, 0}));
  PaletteManager().ReleasePalette(palette);
}

TEST_F(PaletteManagerTest, ReleasingNoHandleDoesNothing) {
  HPALETTE none = nullptr;
  PaletteManager().ReleasePalette(none);
  EXPECT_EQ(PaletteManager().ItemCount(), FBaseItems);
}

}  // namespace
