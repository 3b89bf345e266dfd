// Surface pixels made ahead of time: the same values the graphics services write
// when the decoded picture's bitmap is drawn into a surface of that format.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/JpegImage.h"
#include "image/JpegRoute.h"
#include "image/SurfacePixels.h"
#include "platform/framework/Bitmap.h"
#include "platform/gdi/Gdi.h"
#include "tests/image/JpegSamples.h"
#include "tests/support/CaseName.h"

namespace {

struct TFormatCase {
  const char* name;
  uint32_t BitCount, Red, Green, Blue;
  // A camera-size picture is converted in two halves at once; an odd height splits
  // unevenly.
  int32_t Width = 57, Height = 33;
};

class SurfacePixelsLikeDrawing : public testing::TestWithParam<TFormatCase> {};

// What drawing the bitmap 1:1 into pixels of the format gives (as a surface's
// device context receives a picture).
std::vector<uint8_t> Drawn(TBitmap& bitmap, const gdi::TPixelFormat& format, int64_t pitch) {
  std::vector<uint8_t> pixels(static_cast<size_t>(pitch * bitmap.Height()), 0);
  HDC target = CreatePixelBufferDC(gdi::TPixelView{pixels.data(), static_cast<ptrdiff_t>(pitch),
                                                   bitmap.Width(), bitmap.Height(), format});
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(source, bitmap.Handle());
  SetStretchBltMode(target, COLORONCOLOR);
  StretchBlt(target, 0, 0, bitmap.Width(), bitmap.Height(), source, 0, 0, bitmap.Width(),
             bitmap.Height(), SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  DeleteDC(target);
  return pixels;
}

TEST_P(SurfacePixelsLikeDrawing, SameValues) {
  const TFormatCase& c = GetParam();
  const gdi::TPixelFormat format{c.BitCount, c.Red, c.Green, c.Blue};
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Photo, c.Width, c.Height});
  TJpegPixels picture;
  ASSERT_TRUE(DecodeJpegPixels(bytes.data(), bytes.size(), DefaultJpegOptions(), {}, picture));
  const TSurfacePixels surface = ConvertToSurfacePixels(picture, format);
  ASSERT_FALSE(surface.Empty());
  EXPECT_EQ(surface.Width, c.Width);
  EXPECT_EQ(surface.Height, c.Height);
  TPicture decoded;
  LoadJpegPixelsIntoPicture(decoded, std::move(picture));
  const std::vector<uint8_t> drawn = Drawn(*decoded.PictureBitmap(), format, surface.Pitch);
  ASSERT_EQ(surface.Bits.Size(), drawn.size());
  EXPECT_EQ(std::memcmp(surface.Bits.Data(), drawn.data(), drawn.size()), 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, SurfacePixelsLikeDrawing,
                         testing::Values(TFormatCase{"rgb565", 16, 0xF800, 0x07E0, 0x001F},
                                         TFormatCase{"rgb555", 16, 0x7C00, 0x03E0, 0x001F},
                                         TFormatCase{"bgr24", 24, 0, 0, 0},
                                         TFormatCase{"xrgb32", 32, 0xFF0000, 0xFF00, 0xFF},
                                         TFormatCase{"rgb565_large", 16, 0xF800, 0x07E0, 0x001F,
                                                     1283, 821},
                                         TFormatCase{"bgr24_large", 24, 0, 0, 0, 1283, 821}),
                         CaseName());

TEST(SurfacePixels, PalettisedFormatsAreLeftToTheSurface) {
  const std::vector<uint8_t> bytes = MakeSampleJpeg({TSampleKind::Colour, 16, 8});
  TJpegPixels picture;
  ASSERT_TRUE(DecodeJpegPixels(bytes.data(), bytes.size(), DefaultJpegOptions(), {}, picture));
  EXPECT_TRUE(ConvertToSurfacePixels(picture, gdi::TPixelFormat{8}).Empty());
  EXPECT_TRUE(ConvertToSurfacePixels(TJpegPixels{}, gdi::TPixelFormat{16}).Empty());
}

}  // namespace
