#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/framework/Bitmap.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Icon.h"
#include "platform/framework/Stream.h"
#include "tests/support/DibBuilder.h"
#include "tests/support/IconBuilder.h"

namespace {

// 2 x 2 at 8 bits: colours 1 (top row) and 2 (bottom row); the top-left pixel masked.
IcoImage Small() {
  IcoImage image;
  image.Colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{0, 0, 255, 0}, RGBQUAD{255, 0, 0, 0}};
  image.Xor = {2, 2, 0, 0, 1, 1, 0, 0};
  image.And = {0, 0, 0, 0, 0x80, 0, 0, 0};
  return image;
}

IcoImage Large() {
  IcoImage image;
  image.Width = image.Height = 32;
  image.BitCount = 32;
  image.Xor.assign(32 * 32 * 4, 0xFF);
  image.And.assign(32 * 4, 0);
  return image;
}

void Load(TIcon& icon, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  icon.ReadFromStream(stream);
}

TEST(IconRead, TakesTheLargestImage) {
  TIcon icon;
  Load(icon, MakeIco({Small(), Large(), Small()}));
  EXPECT_EQ(icon.Width(), 32);
  EXPECT_EQ(icon.Height(), 32);
  EXPECT_EQ(icon.Pixels()[0], 0xFFFFFFFFu);
}

TEST(IconRead, AndMaskMakesPixelsTransparent) {
  TIcon icon;
  const std::vector<uint8_t> bytes = MakeIco({Small()});
  Load(icon, bytes);
  ASSERT_EQ(icon.Width(), 2);
  EXPECT_EQ(icon.Pixels()[0], 0u);           // top-left: masked
  EXPECT_EQ(icon.Pixels()[1], 0xFFFF0000u);  // top row: colour 1 (red)
  EXPECT_EQ(icon.Pixels()[2], 0xFF0000FFu);  // bottom row: colour 2 (blue)
  TMemoryStream out;
  icon.WriteToStream(out);
  ASSERT_EQ(out.Size(), static_cast<int64_t>(bytes.size()));
  EXPECT_EQ(std::memcmp(out.Memory(), bytes.data(), bytes.size()), 0);
}

// One row of two pixels at each depth the icon reader takes from a colour table
// or straight from the bytes.
struct DepthCase {
  const char* Name;
  uint16_t BitCount;
  std::vector<uint8_t> Xor;  // the one stored row, padded to 4 bytes
  uint32_t Left, Right;
};

class IconDepth : public testing::TestWithParam<DepthCase> {};

TEST_P(IconDepth, ReadsBothPixelsOfTheRow) {
  const DepthCase& c = GetParam();
  IcoImage image;
  image.Width = 2;
  image.Height = 1;
  image.BitCount = c.BitCount;
  if (c.BitCount <= 8) {
    image.Colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{0, 0, 255, 0}, RGBQUAD{255, 0, 0, 0}};
  }
  image.Xor = c.Xor;
  image.And = {0, 0, 0, 0};
  TIcon icon;
  Load(icon, MakeIco({image}));
  ASSERT_EQ(icon.Width(), 2);
  EXPECT_EQ(icon.Pixels()[0], c.Left);
  EXPECT_EQ(icon.Pixels()[1], c.Right);
}

INSTANTIATE_TEST_SUITE_P(
    Depths, IconDepth,
    testing::Values(DepthCase{"OneBitHighBitFirst", 1, {0x80, 0, 0, 0}, 0xFFFF0000u, 0xFF000000u},
                    DepthCase{
                        "FourBitsHighNibbleFirst", 4, {0x21, 0, 0, 0}, 0xFF0000FFu, 0xFFFF0000u},
                    DepthCase{"EightBits", 8, {2, 1, 0, 0}, 0xFF0000FFu, 0xFFFF0000u},
                    DepthCase{"BlueGreenRedBytes",
                              24,
                              {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0, 0},
                              0xFF302010u,
                              0xFF605040u}),
    [](const testing::TestParamInfo<DepthCase>& p) { return std::string(p.param.Name); });

TEST(IconDraw, BlendsOverTheCanvasAndScales) {
  TIcon icon;
  Load(icon, MakeIco({Small()}));
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(4, 4);
  bitmap.Canvas().Brush().SetColor(RGB(0, 255, 0));
  bitmap.Canvas().FillRect(Rect(0, 0, 4, 4));
  bitmap.Canvas().StretchDraw(Rect(0, 0, 4, 4), &icon);
  EXPECT_EQ(bitmap.Canvas().Pixels(1, 1), RGB(0, 255, 0));  // masked pixel, doubled
  EXPECT_EQ(bitmap.Canvas().Pixels(3, 0), RGB(255, 0, 0));
  EXPECT_EQ(bitmap.Canvas().Pixels(0, 3), RGB(0, 0, 255));
  TBitmap copy;
  copy.Assign(&icon);  // an icon copies itself into a bitmap by drawing
  EXPECT_EQ(copy.Width(), 2);
  EXPECT_EQ(copy.Canvas().Pixels(1, 1), RGB(0, 0, 255));
}

TEST(IconSize, CannotChange) {
  TIcon icon;
  try {
    icon.SetWidth(3);
    FAIL();
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message(), "Cannot change the size of an icon");
  }
}

struct BadIcon {
  const char* name;
  std::vector<uint8_t> bytes;
};

std::vector<uint8_t> With(void (*change)(IcoImage&)) {
  IcoImage image = Small();
  change(image);
  return MakeIco({image});
}

std::vector<uint8_t> Patched(size_t at, uint8_t value) {
  std::vector<uint8_t> bytes = MakeIco({Small()});
  bytes[at] = value;
  return bytes;
}

std::vector<uint8_t> PngEntry() {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  png.resize(64, 0);
  return MakeIco({png}, {Small()});
}

class IconBadFiles : public testing::TestWithParam<BadIcon> {};

TEST_P(IconBadFiles, AreRefusedAndTheIconStaysAsItWas) {
  TIcon icon;
  Load(icon, MakeIco({Small()}));
  try {
    Load(icon, GetParam().bytes);
    FAIL() << "accepted";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Icon image is not valid");
  }
  EXPECT_EQ(icon.Width(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IconBadFiles,
    testing::Values(BadIcon{"TooShort", {0, 0, 1}}, BadIcon{"Reserved", Patched(0, 1)},
                    BadIcon{"Cursor", Patched(2, 2)}, BadIcon{"NoEntries", Patched(4, 0)},
                    BadIcon{"DirectoryBeyondData", Patched(4, 200)},
                    BadIcon{"EntryBeyondData", Patched(14, 0xFF)},
                    BadIcon{"OffsetBeyondData", Patched(21, 0x7F)}, BadIcon{"Png", PngEntry()},
                    BadIcon{"SixteenBits", With([](IcoImage& i) { i.BitCount = 16; })},
                    BadIcon{"Compressed", With([](IcoImage& i) { i.Compression = BI_RLE8; })},
                    BadIcon{"ZeroHeight", With([](IcoImage& i) { i.Height = 0; })},
                    BadIcon{"HugeWidth", With([](IcoImage& i) { i.Width = 100000; })},
                    BadIcon{"TooManyColours", With([](IcoImage& i) { i.Colors.resize(300); })},
                    BadIcon{"PixelsCut", With([](IcoImage& i) {
                              i.Xor.resize(4);
                              i.And.clear();
                            })}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
