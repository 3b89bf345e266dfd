#include <gtest/gtest.h>

#include <cstring>

#include "image/DIBPixelLayout.h"

namespace {

struct LayoutCase {
  uint32_t r, g, b;
  TPixelLayout expected;
};

class LayoutFromBitsTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutFromBitsTest, FillsEveryField) {
  const LayoutCase& c = GetParam();
  EXPECT_EQ(LayoutFromBits(c.r, c.g, c.b), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    KnownLayouts, LayoutFromBitsTest,
    testing::Values(LayoutCase{8, 8, 8, {0xFF0000, 0xFF00, 0xFF, 8, 8, 8, 16, 8, 0, 0, 0, 0}},
                    LayoutCase{5, 5, 5, {0x7C00, 0x3E0, 0x1F, 5, 5, 5, 7, 2, 3, 3, 3, 3}},
                    LayoutCase{5, 6, 5, {0xF800, 0x7E0, 0x1F, 5, 6, 5, 8, 3, 3, 3, 2, 3}}));

struct MaskCase {
  uint32_t red, green, blue;
  uint32_t r, g, b;
};

class LayoutFromMasksTest : public testing::TestWithParam<MaskCase> {};

TEST_P(LayoutFromMasksTest, CountsTheRunFromTheLowestSetBit) {
  const MaskCase& c = GetParam();
  EXPECT_EQ(LayoutFromMasks(c.red, c.green, c.blue), LayoutFromBits(c.r, c.g, c.b));
}

INSTANTIATE_TEST_SUITE_P(
    Masks, LayoutFromMasksTest,
    testing::Values(MaskCase{0xFF0000, 0xFF00, 0xFF, 8, 8, 8},
                    MaskCase{0x7C00, 0x3E0, 0x1F, 5, 5, 5}, MaskCase{0xF800, 0x7E0, 0x1F, 5, 6, 5},
                    // positions are not kept: swapped red and blue still give 8-8-8
                    MaskCase{0xFF, 0xFF00, 0xFF0000, 8, 8, 8},
                    // a gap ends the run; zero masks have width zero
                    MaskCase{0xF0F0, 0, 0x3, 4, 0, 2},
                    // bit 31 is never searched
                    MaskCase{0xC0000000u, 0x80000000u, 0x1, 1, 0, 1}));

TEST(LayoutTest, SameMasksComparesOnlyMasks) {
  EXPECT_TRUE(SameMasks(Layout565(), LayoutFromMasks(0x1F << 11, 0x3F << 5, 0x1F)));
  EXPECT_FALSE(SameMasks(Layout555(), Layout565()));
  EXPECT_FALSE(SameMasks(Layout888(), Layout565()));
}

TEST(ColorTableTest, MakeQuadPacksRedHighBlueLow) {
  const RGBQUAD q = MakeQuad(0x12, 0x34, 0x56);
  uint32_t packed;
  static_assert(sizeof packed == sizeof q);
  std::memcpy(&packed, &q, sizeof q);
  EXPECT_EQ(packed, 0x00123456u);
}

TEST(ColorTableTest, GreyTableRunsFromBlackToWhite) {
  TColorTable table;
  GreyColorTable(table);
  for (int i = 0; i < 256; ++i) {
    const BYTE v = static_cast<BYTE>(i);
    EXPECT_EQ(table[i], (RGBQUAD{v, v, v, 0})) << i;
  }
}

TEST(ColorTableTest, PaletteEntriesSwapRedAndBlueBothWays) {
  const RGBQUAD quads[2] = {{1, 2, 3, 99}, {200, 100, 50, 0}};
  PALETTEENTRY entries[2];
  QuadsToPaletteEntries(quads, entries, 2);
  EXPECT_EQ(entries[0], (PALETTEENTRY{3, 2, 1, 0}));
  EXPECT_EQ(entries[1], (PALETTEENTRY{50, 100, 200, 0}));
  RGBQUAD back[2];
  PaletteEntriesToQuads(entries, back, 2);
  EXPECT_EQ(back[0], (RGBQUAD{1, 2, 3, 0}));
  EXPECT_EQ(back[1], quads[1]);
}

}  // namespace
