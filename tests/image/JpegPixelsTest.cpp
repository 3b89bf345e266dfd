// Decoding JPEG files into plain memory: the very bytes the viewer's JPEG route
// puts into a bitmap, for the whole picture and for grid cells.
#include <gtest/gtest.h>
#include <jerror.h>

#include <cstdlib>
#include <cstring>

#include "image/JpegImage.h"
#include "image/JpegPixels.h"
#include "image/JpegRoute.h"
#include "image/SurfacePixels.h"
#include "tests/image/JpegSamples.h"
#include "tests/support/CaseName.h"
#include "tests/support/ExifJpeg.h"
#include "tests/support/TempTree.h"

namespace {

struct TPixelsCase {
  const char* name;
  TSampleKind Kind;
  int Width, Height;
  TSize Cell;
  uint16_t Orientation = 0;  // EXIF orientation tag; none when 0
};

class JpegPixelsLikeTheRoute : public testing::TestWithParam<TPixelsCase> {
 protected:
  TTempTree FTree;
  std::string FFile;
};

TEST_P(JpegPixelsLikeTheRoute, SameSizeAndBytes) {
  const TPixelsCase& c = GetParam();
  std::vector<uint8_t> bytes = MakeSampleJpeg({c.Kind, c.Width, c.Height});
  if (c.Orientation != 0) bytes = WithApp1(bytes, ExifOrientationBlock(c.Orientation));
  FFile = FTree.Write("pixels.jpg", bytes);
  TJpegPixels pixels;
  ASSERT_TRUE(DecodeJpegPixels(bytes.data(), bytes.size(), DefaultJpegOptions(), c.Cell, pixels));
  TPicture picture;
  LoadJpegIntoPicture(picture, FFile, c.Cell);
  TBitmap* bitmap = picture.PictureBitmap();
  ASSERT_EQ(pixels.Width, bitmap->Width());
  ASSERT_EQ(pixels.Height, bitmap->Height());
  ASSERT_EQ(pixels.Bits.Size(), static_cast<size_t>(pixels.RowBytes * pixels.Height));
  // Whole rows, padding included; the first row in memory is the bottom one.
  for (int32_t y = 0; y < pixels.Height; ++y) {
    const uint8_t* row = pixels.Bits.Data() + (pixels.Height - 1 - y) * pixels.RowBytes;
    ASSERT_EQ(std::memcmp(row, bitmap->ScanLine(y), static_cast<size_t>(pixels.RowBytes)), 0)
        << "row " << y;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, JpegPixelsLikeTheRoute,
    testing::Values(
        TPixelsCase{"colour", TSampleKind::Colour, 48, 24, {}},
        TPixelsCase{"photo", TSampleKind::Photo, 61, 37, {}},
        TPixelsCase{"progressive", TSampleKind::Progressive, 48, 24, {}},
        TPixelsCase{"restart", TSampleKind::Restart, 48, 24, {}},
        TPixelsCase{"cmyk", TSampleKind::Cmyk, 33, 17, {}},
        TPixelsCase{"cmyk_no_adobe", TSampleKind::CmykNoAdobe, 33, 17, {}},
        TPixelsCase{"ycck", TSampleKind::Ycck, 33, 17, {}},
        // Cells a half, a quarter and an eighth of the picture, and one
        // a little more than half of it (decoded whole).
        TPixelsCase{"cell_half", TSampleKind::Photo, 203, 130, {100, 60}},
        TPixelsCase{"cell_quarter", TSampleKind::Photo, 203, 130, {50, 30}},
        TPixelsCase{"cell_eighth", TSampleKind::Photo, 203, 130, {20, 14}},
        TPixelsCase{"cell_over_half", TSampleKind::Photo, 203, 130, {102, 60}},
        // Photos turned upright; on their side, a cell is measured turned too.
        TPixelsCase{"upside_down", TSampleKind::Photo, 61, 37, {}, 3},
        TPixelsCase{"on_its_side", TSampleKind::Photo, 61, 37, {}, 6},
        TPixelsCase{"mirrored_on_its_side", TSampleKind::Photo, 61, 37, {}, 7},
        TPixelsCase{"on_its_side_cell_quarter", TSampleKind::Photo, 203, 130, {30, 50}, 8},
        TPixelsCase{"on_its_side_cell_over_half", TSampleKind::Photo, 203, 130, {62, 100}, 6}),
    CaseName());

class JpegPixels : public testing::Test {
 protected:
  bool Decode(const std::vector<uint8_t>& bytes, TSize cell = {},
              const TJPEGOptions& options = DefaultJpegOptions()) {
    return DecodeJpegPixels(bytes.data(), bytes.size(), options, cell, FPixels);
  }
  TJpegPixels FPixels;
};

// Memory of an earlier picture, full of its bytes, handed back for reuse.
uint8_t* DirtyBlock(TPixelReclaimer& reclaimer, size_t size) {
  auto* memory = static_cast<uint8_t*>(std::malloc(size));
  std::memset(memory, 0xA5, size);
  reclaimer.Take(memory, size);
  return memory;
}

TEST_F(JpegPixels, RecycledMemoryGivesTheSameBytesAsNewMemory) {
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Photo, 61, 37});
  ASSERT_TRUE(Decode(bytes));
  TPixelReclaimer reclaimer;
  const uint8_t* dirty = DirtyBlock(reclaimer, FPixels.Bits.Size());
  TJpegPixels recycled;
  ASSERT_TRUE(DecodeJpegPixels(bytes.data(), bytes.size(), DefaultJpegOptions(), {}, recycled,
                               SIZE_MAX, &reclaimer));
  EXPECT_EQ(recycled.Bits.Data(), dirty);
  EXPECT_EQ(std::memcmp(recycled.Bits.Data(), FPixels.Bits.Data(), FPixels.Bits.Size()), 0);
  // Converted into recycled memory, padding included, the same again.
  const gdi::TPixelFormat rgb565{16, 0xF800, 0x07E0, 0x001F};
  const TSurfacePixels fresh = ConvertToSurfacePixels(FPixels, rgb565);
  const uint8_t* dirtySurface = DirtyBlock(reclaimer, fresh.Bits.Size());
  const TSurfacePixels reused = ConvertToSurfacePixels(FPixels, rgb565, &reclaimer);
  EXPECT_EQ(reused.Bits.Data(), dirtySurface);
  EXPECT_EQ(std::memcmp(reused.Bits.Data(), fresh.Bits.Data(), fresh.Bits.Size()), 0);
}

TEST_F(JpegPixels, OutputsThatAreNotPlainColourAreLeftToTheRoute) {
  EXPECT_FALSE(Decode(MakeSampleJpeg({TSampleKind::Grey, 16, 8})));
  TJPEGOptions palettized = DefaultJpegOptions();
  palettized.Palettized = true;
  EXPECT_FALSE(Decode(MakeSampleJpeg({TSampleKind::Colour, 16, 8}), {}, palettized));
  TJPEGOptions incremental = DefaultJpegOptions();
  incremental.IncrementalDisplay = true;
  EXPECT_FALSE(Decode(MakeSampleJpeg({TSampleKind::Progressive, 16, 8}), {}, incremental));
  EXPECT_TRUE(FPixels.Bits.Empty());
}

TEST_F(JpegPixels, LibraryErrorsAreTheRoutesErrors) {
  EXPECT_EQ(MessageOf<EJPEG>([&] { Decode({}); }), JpegErrorText(JERR_INPUT_EMPTY));
  EXPECT_THROW(Decode({'h', 'e', 'l', 'l', 'o'}), EJPEG);
  EXPECT_THROW(Decode(MakeHugeHeaderJpeg(65500, 65500)), EJPEG);
}

TEST_F(JpegPixels, TheHeaderIsCheckedAtFullSizeEvenForASmallCell) {
  // An eighth of it would fit, but reading the file refuses the picture.
  EXPECT_THROW(Decode(MakeHugeHeaderJpeg(65500, 65500), {100, 100}), EJPEG);
}

TEST_F(JpegPixels, PicturesLargerThanAskedAreNotDecoded) {
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Colour, 16, 8});
  EXPECT_FALSE(DecodeJpegPixels(bytes.data(), bytes.size(), DefaultJpegOptions(), {}, FPixels,
                                16 * 3 * 8 - 1));
  EXPECT_TRUE(
      DecodeJpegPixels(bytes.data(), bytes.size(), DefaultJpegOptions(), {}, FPixels, 16 * 3 * 8));
}

TEST_F(JpegPixels, PicturesNoBitmapMayHoldAreNotDecoded) {
  // Within libjpeg's bound at 24 bits, beyond what a bitmap may hold at 32.
  EXPECT_FALSE(Decode(MakeHugeHeaderJpeg(18000, 18000)));
  EXPECT_TRUE(FPixels.Bits.Empty());
}

}  // namespace
