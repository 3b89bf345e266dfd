#include <gtest/gtest.h>

#include <cstring>

#include "platform/framework/Bitmap.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Icon.h"
#include "platform/framework/Stream.h"
#include "tests/support/DibBuilder.h"

namespace {

struct IcoImage {
  int32_t Width = 2;
  int32_t Height = 2;
  uint16_t BitCount = 8;
  std::vector<RGBQUAD> Colors;
  std::vector<uint8_t> Xor;  // bottom-up rows as stored
  std::vector<uint8_t> And;  // bottom-up 1-bit rows
  uint32_t Compression = BI_RGB;
};

std::vector<uint8_t> DibOf(const IcoImage& image) {
  std::vector<uint8_t> dib;
  BITMAPINFOHEADER h;
  h.biWidth = image.Width;
  h.biHeight = image.Height * 2;
  h.biBitCount = image.BitCount;
  h.biCompression = image.Compression;
  h.biClrUsed = static_cast<DWORD>(image.Colors.size());
  Put(dib, &h, sizeof h);
  for (const RGBQUAD& c : image.Colors) Put(dib, &c, 4);
  Put(dib, image.Xor.data(), image.Xor.size());
  Put(dib, image.And.data(), image.And.size());
  return dib;
}

std::vector<uint8_t> MakeIco(const std::vector<std::vector<uint8_t>>& dibs,
                             const std::vector<IcoImage>& images, uint16_t reserved = 0,
                             uint16_t type = 1) {
  std::vector<uint8_t> out;
  PutValue<uint16_t>(out, reserved);
  PutValue<uint16_t>(out, type);
  PutValue<uint16_t>(out, static_cast<uint16_t>(dibs.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * dibs.size());
  for (size_t i = 0; i < dibs.size(); ++i) {
    PutValue<uint8_t>(out, static_cast<uint8_t>(images[i].Width));
    PutValue<uint8_t>(out, static_cast<uint8_t>(images[i].Height));
    PutValue<uint8_t>(out, 0);
    PutValue<uint8_t>(out, 0);
    PutValue<uint16_t>(out, 1);
    PutValue<uint16_t>(out, images[i].BitCount);
    PutValue<uint32_t>(out, static_cast<uint32_t>(dibs[i].size()));
    PutValue<uint32_t>(out, offset);
    offset += static_cast<uint32_t>(dibs[i].size());
  }
  for (const auto& dib : dibs) Put(out, dib.data(), dib.size());
  return out;
}

std::vector<uint8_t> MakeIco(const std::vector<IcoImage>& images) {
  std::vector<std::vector<uint8_t>> dibs;
  for (const IcoImage& image : images) dibs.push_back(DibOf(image));
  return MakeIco(dibs, images);
}

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
