#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "image/DIB.h"
#include "platform/framework/Bitmap.h"
#include "platform/framework/Exception.h"
#include "tests/image/DibTarget.h"

namespace {

std::vector<uint8_t> Row(const TDIB& dib, int32_t y) {
  const uint8_t* row = dib.TopRow() + static_cast<int64_t>(y) * dib.RowStep();
  return std::vector<uint8_t>(row, row + dib.RowBytes());
}

std::vector<uint8_t> AllPixels(const TDIB& dib) {
  std::vector<uint8_t> out;
  for (int32_t y = 0; y < dib.Height(); ++y) {
    const std::vector<uint8_t> row = Row(dib, y);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

void FillPattern(TDIB& dib, uint8_t seed) {
  uint8_t* bits = dib.PixelBits();
  for (uint32_t i = 0; i < dib.ImageSize(); ++i) bits[i] = static_cast<uint8_t>(seed + i * 37);
}

TEST(DIBTest, FreshDIBIsEmptyAndAttachedToTheEmptyImage) {
  const int before = EmptyDIBImage().RefCount();
  {
    TDIB dib;
    EXPECT_TRUE(dib.Empty());
    EXPECT_EQ(&dib.Image(), &EmptyDIBImage());
    EXPECT_EQ(EmptyDIBImage().RefCount(), before + 1);
    dib.SetDimensions(2, 2, 8);
    EXPECT_EQ(EmptyDIBImage().RefCount(), before);
    dib.ResetToEmpty();
    EXPECT_EQ(&dib.Image(), &EmptyDIBImage());
  }
  EXPECT_EQ(EmptyDIBImage().RefCount(), before);
}

TEST(DIBTest, OnePixelDIBPaintsItsColourTableEntry) {
  TDIB dib;
  dib.SetDimensions(1, 1, 8);
  EXPECT_TRUE(dib.Image().PlainMemory());
  EXPECT_EQ(dib.RowBytes(), 4u);
  EXPECT_EQ(dib.ImageSize(), 4u);
  EXPECT_EQ(dib.ColorTable[77], MakeQuad(77, 77, 77));
  dib.ColorTable[0] = MakeQuad(0x12, 0x34, 0x56);
  dib.ApplyColorTable();
  dib.PutPixel(0, 0, 0);
  PixelTarget target(2, 2);
  dib.RenderTo(target.Canvas(), Rect(0, 0, 1, 1));
  EXPECT_EQ(target.At(0, 0), 0x123456u);
  EXPECT_EQ(target.At(1, 0), 0xABCDEFu);  // outside the rectangle
}

TEST(DIBTest, RefusedDimensionsKeepThePreviousImage) {
  TDIB dib;
  dib.SetDimensions(4, 4, 24);
  const TDIBSharedImage* before = &dib.Image();
  try {
    dib.SetDimensions(4, 4, 16);
    FAIL();
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message(), "PixelFormat in invalid");
  }
  try {
    dib.SetDimensions(4, 4, 15);
    FAIL();
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message(), "Bitcount in invalid (15)");
  }
  EXPECT_THROW(dib.SetDimensions(70000, 70000, 32), EOutOfMemory);
  EXPECT_EQ(&dib.Image(), before);
  EXPECT_EQ(dib.Width(), 4);
  EXPECT_EQ(dib.BitCount(), 24);
}

TEST(DIBTest, UnchangedDimensionsKeepThePixels) {
  TDIB dib;
  dib.SetDimensions(4, 4, 24);
  const TDIBSharedImage* before = &dib.Image();
  dib.SetDimensions(4, 4, 24);
  EXPECT_EQ(&dib.Image(), before);
  dib.SetDimensions(0, 4, 24);
  EXPECT_TRUE(dib.Empty());
}

TEST(DIBTest, SetDimensionsMarksThePaletteModified) {
  TDIB dib;
  dib.SetPaletteModified(false);
  dib.SetDimensions(2, 2, 8);
  EXPECT_TRUE(dib.PaletteModified());
}

struct SizeCase {
  std::string name;
  bool setWidth;
  int32_t value;
  int32_t width, height, bits;
};

class DIBSetSizeTest : public testing::TestWithParam<SizeCase> {};

TEST_P(DIBSetSizeTest, SettingOneSideKeepsTheOther) {
  const SizeCase& c = GetParam();
  TDIB empty;
  TDIB sized;
  sized.SetDimensions(6, 7, 24);
  for (TDIB* dib : {&empty, &sized}) {
    const bool wasEmpty = dib->Empty();
    c.setWidth ? dib->SetWidth(c.value) : dib->SetHeight(c.value);
    if (c.value <= 0) {
      EXPECT_TRUE(dib->Empty());
      continue;
    }
    if (wasEmpty) {
      EXPECT_EQ(dib->Width(), c.setWidth ? c.value : 1);
      EXPECT_EQ(dib->Height(), c.setWidth ? 1 : c.value);
      EXPECT_EQ(dib->BitCount(), 8);
    } else {
      EXPECT_EQ(dib->Width(), c.width);
      EXPECT_EQ(dib->Height(), c.height);
      EXPECT_EQ(dib->BitCount(), c.bits);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sides, DIBSetSizeTest,
                         testing::Values(SizeCase{"Width", true, 5, 5, 7, 24},
                                         SizeCase{"Height", false, 9, 6, 9, 24},
                                         SizeCase{"ZeroWidth", true, 0, 0, 0, 0},
                                         SizeCase{"NegativeHeight", false, -2, 0, 0, 0}),
                         [](const testing::TestParamInfo<SizeCase>& p) { return p.param.name; });

struct PutPixelCase {
  int bits;
  int32_t x;
  uint32_t value;
  std::vector<uint8_t> row;  // the first bytes of the row after the store
};

class DIBPutPixelTest : public testing::TestWithParam<PutPixelCase> {};

TEST_P(DIBPutPixelTest, StoresTheValueInTheRowFormat) {
  const PutPixelCase& c = GetParam();
  TDIB dib;
  dib.PixelFormat = c.bits == 16 ? Layout565() : Layout888();
  dib.SetDimensions(8, 2, c.bits);
  std::memset(dib.PixelBits(), 0x00, dib.ImageSize());
  std::memset(dib.TopRow(), 0x55, dib.RowBytes());  // top row starts patterned
  dib.PutPixel(c.x, 0, c.value);
  const std::vector<uint8_t> row = Row(dib, 0);
  EXPECT_EQ(std::vector<uint8_t>(row.begin(), row.begin() + c.row.size()), c.row);
  EXPECT_EQ(Row(dib, 1), std::vector<uint8_t>(dib.RowBytes(), 0));  // bottom row untouched
}

INSTANTIATE_TEST_SUITE_P(
    Depths, DIBPutPixelTest,
    testing::Values(PutPixelCase{1, 0, 1, {0xD5}}, PutPixelCase{1, 1, 0, {0x15}},
                    PutPixelCase{1, 7, 3, {0x55}}, PutPixelCase{1, 6, 1, {0x57}},
                    PutPixelCase{4, 0, 0xFA, {0xA5}}, PutPixelCase{4, 3, 0x1F, {0x55, 0x5F}},
                    PutPixelCase{8, 2, 0x1234, {0x55, 0x55, 0x34, 0x55}},
                    PutPixelCase{16, 1, 0xABCDEF, {0x55, 0x55, 0xEF, 0xCD, 0x55}},
                    PutPixelCase{24, 1, 0x112233, {0x55, 0x55, 0x55, 0x11, 0x22, 0x33, 0x55}},
                    PutPixelCase{
                        32, 1, 0x11223344, {0x55, 0x55, 0x55, 0x55, 0x44, 0x33, 0x22, 0x11}}));

TEST(DIBTest, PutPixelOutsideThePictureChangesNothing) {
  TDIB dib;
  dib.SetDimensions(3, 3, 8);
  std::memset(dib.PixelBits(), 7, dib.ImageSize());
  const std::vector<uint8_t> before = AllPixels(dib);
  for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 3}, {4, 4}}) dib.PutPixel(x, y, 0);
  EXPECT_EQ(AllPixels(dib), before);
}

TEST(DIBCopyOnWriteTest, CopiesShareUntilOneWrites) {
  TDIB a, b;
  a.SetDimensions(4, 2, 24);
  FillPattern(a, 1);
  b.AssignFrom(&a);
  EXPECT_EQ(&a.Image(), &b.Image());
  EXPECT_EQ(a.Image().RefCount(), 2);
  const std::vector<uint8_t> original = AllPixels(a);
  b.PutPixel(0, 0, 0xFFFFFF);
  EXPECT_NE(&a.Image(), &b.Image());
  EXPECT_EQ(AllPixels(a), original);
  EXPECT_NE(AllPixels(b), original);
  EXPECT_EQ(a.Image().RefCount(), 1);
}

TEST(DIBCopyOnWriteTest, PutPixelOutsideStillUnshares) {
  TDIB a, b;
  a.SetDimensions(2, 2, 8);
  b.AssignFrom(&a);
  b.PutPixel(-5, -5, 1);
  EXPECT_NE(&a.Image(), &b.Image());
}

TEST(DIBCopyOnWriteTest, ApplyColorTableUnsharesAndKeepsTheNewTable) {
  TDIB a, b;
  a.SetDimensions(2, 2, 8);
  b.AssignFrom(&a);
  b.ColorTable[1] = MakeQuad(200, 0, 0);
  b.ApplyColorTable();
  EXPECT_NE(&a.Image(), &b.Image());
  EXPECT_EQ(b.ColorTable[1], MakeQuad(200, 0, 0));
  EXPECT_EQ(b.Image().ColorTable()[1], MakeQuad(200, 0, 0));
  EXPECT_EQ(a.ColorTable[1], MakeQuad(1, 1, 1));
  EXPECT_EQ(a.Image().ColorTable()[1], MakeQuad(1, 1, 1));
}

TEST(DIBCopyOnWriteTest, UnchangedColorTableKeepsSharing) {
  TDIB a, b;
  a.SetDimensions(2, 2, 8);
  b.AssignFrom(&a);
  b.SetPaletteModified(false);
  b.ApplyColorTable();
  EXPECT_EQ(&a.Image(), &b.Image());
  EXPECT_FALSE(b.PaletteModified());
}

TEST(DIBCopyOnWriteTest, DrawingIntoASharedImageGivesAnOwnCopy) {
  TDIB a, b;
  a.SetDimensions(2, 2, 24);
  std::memset(a.PixelBits(), 0, a.ImageSize());
  TCanvas& canvas = a.DrawingCanvas();  // a now holds a section
  EXPECT_FALSE(a.Image().PlainMemory());
  b.AssignFrom(&a);
  canvas.Brush().SetColor(0x0000FF);  // red
  canvas.FillRect(Rect(0, 0, 2, 2));
  EXPECT_NE(&a.Image(), &b.Image());
  EXPECT_EQ(Row(a, 0)[2], 0xFF);  // red is the third byte of a 24-bit pixel
  EXPECT_EQ(Row(b, 0)[2], 0x00);
}

TEST(DIBTest, DrawingCanvasTurnsPlainMemoryIntoASectionKeepingPixels) {
  TDIB dib;
  dib.SetDimensions(3, 2, 8);
  FillPattern(dib, 3);
  const std::vector<uint8_t> before = AllPixels(dib);
  TCanvas& canvas = dib.DrawingCanvas();
  EXPECT_TRUE(canvas.HandleAllocated());
  EXPECT_EQ(canvas.Handle(), dib.Image().DC());
  EXPECT_EQ(&dib.DrawingCanvas(), &canvas);
  EXPECT_EQ(AllPixels(dib), before);
}

TEST(DIBTest, AssignFromNoneAndFromItself) {
  TDIB dib;
  dib.SetDimensions(2, 2, 8);
  const TDIBSharedImage* image = &dib.Image();
  dib.AssignFrom(&dib);
  EXPECT_EQ(&dib.Image(), image);
  dib.AssignFrom(nullptr);
  EXPECT_TRUE(dib.Empty());
}

class DIBRenderTest : public testing::TestWithParam<bool> {};

TEST_P(DIBRenderTest, StretchesTheWholeImageAndRestoresTheContext) {
  TDIB dib;
  dib.SetDimensions(2, 1, 24);
  dib.PutPixel(0, 0, 0x0000FF);  // red low byte: the 24-bit value is blue-green-red
  dib.PutPixel(1, 0, 0xFF0000);
  if (GetParam()) dib.DrawingCanvas();  // section instead of plain memory
  PixelTarget target(4, 2);
  SetStretchBltMode(target.DC(), BLACKONWHITE);
  dib.RenderTo(target.Canvas(), Rect(0, 0, 4, 2));
  EXPECT_EQ(target.At(0, 0), 0xFF0000u);
  EXPECT_EQ(target.At(1, 1), 0xFF0000u);
  EXPECT_EQ(target.At(2, 0), 0x0000FFu);
  EXPECT_EQ(target.At(3, 1), 0x0000FFu);
  EXPECT_EQ(GetStretchBltMode(target.DC()), BLACKONWHITE);
}

INSTANTIATE_TEST_SUITE_P(Storage, DIBRenderTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& p) {
                           return std::string(p.param ? "Section" : "PlainMemory");
                         });

TEST(DIBTest, CanvasDrawUsesTheDIBsOwnSize) {
  TDIB dib;
  dib.SetDimensions(1, 1, 8);
  dib.ColorTable[0] = MakeQuad(1, 2, 3);
  dib.ApplyColorTable();
  dib.PutPixel(0, 0, 0);
  PixelTarget target(3, 3);
  target.Canvas().Draw(1, 1, &dib);
  EXPECT_EQ(target.At(1, 1), 0x010203u);
  EXPECT_EQ(target.At(2, 2), 0xABCDEFu);
}

TEST(DIBTest, RenderingAnEmptyDIBDoesNothing) {
  TDIB dib;
  PixelTarget target(1, 1);
  dib.RenderTo(target.Canvas(), Rect(0, 0, 1, 1));
  EXPECT_EQ(target.At(0, 0), 0xABCDEFu);
}

TEST(DIBPaletteTest, DIBsWithTheSameTableShareAPalette) {
  TDIB a, b;
  a.SetDimensions(1, 1, 8);
  b.SetDimensions(2, 2, 8);
  ASSERT_NE(a.Palette(), nullptr);
  EXPECT_EQ(a.Palette(), b.Palette());
  TDIB deep;
  deep.SetDimensions(1, 1, 24);
  EXPECT_EQ(deep.Palette(), nullptr);
}

TEST(DIBPaletteTest, SetPaletteTakesTheEntriesWithRedAndBlueSwapped) {
  LOGPALETTE logical;
  logical.palNumEntries = 2;
  logical.palPalEntry[0] = PALETTEENTRY{10, 20, 30, 0};
  logical.palPalEntry[1] = PALETTEENTRY{40, 50, 60, 0};
  TDIB dib;
  dib.SetDimensions(1, 1, 8);
  dib.SetPalette(CreatePalette(&logical));
  EXPECT_EQ(dib.ColorTable[0], MakeQuad(10, 20, 30));
  EXPECT_EQ(dib.Image().ColorTable()[1], MakeQuad(40, 50, 60));
}

struct BitmapCase {
  std::string name;
  TPixelFormat format;
  int bits;
  TPixelLayout layout;
  TBitmapHandleType handleType = bmDIB;
};

class DIBAssignBitmapTest : public testing::TestWithParam<BitmapCase> {};

TEST_P(DIBAssignBitmapTest, TakesSizeDepthLayoutAndPixels) {
  const BitmapCase& c = GetParam();
  TBitmap bitmap;
  bitmap.SetPixelFormat(c.format);
  bitmap.SetHandleType(c.handleType);
  bitmap.SetSize(3, 2);
  bitmap.Canvas().Brush().SetColor(0x000000);
  bitmap.Canvas().FillRect(Rect(0, 0, 3, 2));
  bitmap.Canvas().Brush().SetColor(0xFFFFFF);
  bitmap.Canvas().FillRect(Rect(1, 0, 2, 1));
  TDIB dib;
  dib.AssignFrom(&bitmap);
  EXPECT_EQ(dib.Width(), 3);
  EXPECT_EQ(dib.Height(), 2);
  EXPECT_EQ(dib.BitCount(), c.bits);
  EXPECT_EQ(dib.Image().PixelFormat(), c.layout);
  PixelTarget target(3, 2);
  dib.RenderTo(target.Canvas(), Rect(0, 0, 3, 2));
  // 16-bit pixels keep only the top bits of each channel.
  EXPECT_EQ(target.At(0, 0), 0x000000u);
  EXPECT_EQ(target.At(1, 0) & 0xF8F8F8, 0xF8F8F8u);
  EXPECT_EQ(target.At(1, 1), 0x000000u);
}

INSTANTIATE_TEST_SUITE_P(Formats, DIBAssignBitmapTest,
                         testing::Values(BitmapCase{"Bits8", pf8bit, 8, Layout888()},
                                         BitmapCase{"Bits16", pf16bit, 16, Layout565()},
                                         BitmapCase{"Bits15", pf15bit, 16, Layout555()},
                                         BitmapCase{"Bits24", pf24bit, 24, Layout888()},
                                         BitmapCase{"Bits32", pf32bit, 32, Layout888()},
                                         // a device bitmap has the desktop's 32 bits
                                         BitmapCase{"Device", pfDevice, 32, Layout888(), bmDDB}),
                         [](const testing::TestParamInfo<BitmapCase>& p) { return p.param.name; });

TEST(DIBTest, AssigningAnEmptyBitmapEndsBeforeSizing) {
  TDIB dib;
  dib.SetDimensions(2, 2, 8);
  TBitmap empty;
  dib.AssignFrom(&empty);
  EXPECT_EQ(dib.Width(), 2);  // no handle to examine: the assignment ends early
}

}  // namespace
