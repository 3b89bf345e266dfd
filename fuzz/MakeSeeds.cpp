// Writes the seed corpora of the fuzz targets: small pictures of the main variants
// each reader knows, all made here from nothing (scripts/fuzz-seeds runs this).
//   make_fuzz_seeds FOLDER      writes FOLDER/<reader>/<name> for every reader
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/image/JpegSamples.h"
#include "tests/support/DibBuilder.h"
#include "tests/support/ExifJpeg.h"
#include "tests/support/IconBuilder.h"
#include "tests/support/MetafileBuilder.h"

namespace {

using TBytes = std::vector<uint8_t>;

struct TSeed {
  std::string Name;
  TBytes Bytes;
};

// Odd sizes, so rows end in padding and JPEG blocks are cut at the edges.
constexpr int32_t kWidth = 13;
constexpr int32_t kHeight = 7;

std::vector<RGBQUAD> Palette(int count) {
  std::vector<RGBQUAD> colours;
  for (int i = 0; i < count; ++i)
    colours.push_back(RGBQUAD{uint8_t(i * 37), uint8_t(255 - i * 11), uint8_t(i * 5), 0});
  return colours;
}

uint8_t Channel(int32_t x, int32_t y, int c) { return uint8_t(x * 19 + y * 41 + c * 83); }

// Uncompressed rows as stored; pixel values follow x and y so every row differs.
TBytes Rows(int32_t width, int32_t height, int bits) {
  const int32_t rowBytes = RowBytes(width, bits);
  TBytes rows(static_cast<size_t>(rowBytes * height), 0);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* row = rows.data() + y * rowBytes;
      const int value = x + 2 * y;
      if (bits == 1) row[x / 8] |= uint8_t((value & 1) << (7 - x % 8));
      if (bits == 4) row[x / 2] |= uint8_t((value & 15) << (x % 2 ? 0 : 4));
      if (bits == 8) row[x] = uint8_t(value);
      for (int c = 0; bits >= 16 && c < bits / 8; ++c) row[x * bits / 8 + c] = Channel(x, y, c);
    }
  return rows;
}

BmpRecipe Plain(uint16_t bits) {
  BmpRecipe recipe;
  recipe.Width = kWidth;
  recipe.Height = kHeight;
  recipe.BitCount = bits;
  if (bits <= 8) recipe.Colors = Palette(1 << bits);
  recipe.Pixels = Rows(kWidth, kHeight, bits);
  return recipe;
}

BmpRecipe Bitfields(uint16_t bits, std::vector<uint32_t> masks) {
  BmpRecipe recipe = Plain(bits);
  recipe.Compression = BI_BITFIELDS;
  recipe.Masks = std::move(masks);
  return recipe;
}

BmpRecipe TopDown(uint16_t bits) {
  BmpRecipe recipe = Plain(bits);
  recipe.Height = -kHeight;
  return recipe;
}

BmpRecipe Core(uint16_t bits) {
  BmpRecipe recipe = Plain(bits);
  recipe.Core = true;
  return recipe;
}

// Run-length data with every escape: runs, absolute runs (odd ones padded), a
// delta, line ends and the end of the picture. Each line covers 13 pixels.
BmpRecipe RunLength(uint16_t bits) {
  BmpRecipe recipe = Plain(bits);
  recipe.Compression = bits == 8 ? BI_RLE8 : BI_RLE4;
  TBytes data;
  for (int32_t y = 0; y < kHeight; ++y) {
    const uint8_t run = bits == 8 ? uint8_t(y * 30) : uint8_t(0x12 + y);
    data.insert(data.end(), {5, run, 0, 5});
    if (bits == 8)
      data.insert(data.end(), {1, 2, 3, 4, 5, 0});
    else
      data.insert(data.end(), {0x34, 0x56, 0x70, 0});
    if (y == 3) {
      data.insert(data.end(), {0, 2, 2, 1});  // two pixels right, one line up
      ++y;
    }
    data.insert(data.end(), {3, uint8_t(run + 1), 0, 0});
  }
  data.insert(data.end(), {0, 1});
  recipe.Pixels = data;
  recipe.SizeImage = static_cast<uint32_t>(data.size());
  return recipe;
}

// The BMP variants both readers know (file header, 12- or 40-byte info header).
std::vector<TSeed> DibSeeds() {
  BmpRecipe used = Plain(8);
  used.Colors.resize(20);
  used.ClrUsed = 20;
  return {
      {"1bit.bmp", MakeBmp(Plain(1))},
      {"4bit.bmp", MakeBmp(Plain(4))},
      {"8bit.bmp", MakeBmp(Plain(8))},
      {"8bit-20colours.bmp", MakeBmp(used)},
      {"16bit-555.bmp", MakeBmp(Plain(16))},
      {"16bit-565-bitfields.bmp", MakeBmp(Bitfields(16, {0xF800, 0x07E0, 0x001F}))},
      {"16bit-555-bitfields.bmp", MakeBmp(Bitfields(16, {0x7C00, 0x03E0, 0x001F}))},
      {"24bit.bmp", MakeBmp(Plain(24))},
      {"32bit.bmp", MakeBmp(Plain(32))},
      {"32bit-bitfields.bmp", MakeBmp(Bitfields(32, {0xFF0000, 0x00FF00, 0x0000FF}))},
      {"8bit-topdown.bmp", MakeBmp(TopDown(8))},
      {"24bit-topdown.bmp", MakeBmp(TopDown(24))},
      {"rle8.bmp", MakeBmp(RunLength(8))},
      {"rle4.bmp", MakeBmp(RunLength(4))},
      {"os2-1bit.bmp", MakeBmp(Core(1))},
      {"os2-4bit.bmp", MakeBmp(Core(4))},
      {"os2-8bit.bmp", MakeBmp(Core(8))},
      {"os2-24bit.bmp", MakeBmp(Core(24))},
  };
}

// A version 4 or 5 header: the masks sit inside the header, after its first 40 bytes.
TBytes LongHeader(uint32_t headerSize, uint16_t bits, const std::vector<uint32_t>& masks) {
  BmpRecipe recipe = Plain(bits);
  recipe.HeaderSize = headerSize;
  if (!masks.empty()) recipe.Compression = BI_BITFIELDS;
  TBytes bytes = MakeBmp(recipe);
  for (size_t i = 0; i < masks.size(); ++i)
    std::memcpy(&bytes[14 + 40 + 4 * i], &masks[i], sizeof masks[i]);
  return bytes;
}

// What only the framework's BMP reader takes: longer headers, a stated image size
// and a gap before the pixels.
std::vector<TSeed> BitmapSeeds() {
  std::vector<TSeed> seeds = DibSeeds();
  BmpRecipe sized = Plain(24);
  sized.SizeImage = static_cast<uint32_t>(sized.Pixels.size());
  BmpRecipe gap = Plain(8);
  gap.Gap = 6;
  seeds.push_back({"v4-24bit.bmp", LongHeader(108, 24, {})});
  seeds.push_back({"v5-16bit-bitfields.bmp", LongHeader(124, 16, {0xF800, 0x07E0, 0x001F})});
  seeds.push_back({"24bit-sizeimage.bmp", MakeBmp(sized)});
  seeds.push_back({"8bit-gap.bmp", MakeBmp(gap)});
  return seeds;
}

// The JPEG target takes its decoding options from the last byte, which libjpeg
// ignores after the end of the picture: 1 palettized, 2 grey, 4 incremental,
// 8 fast, 16 block smoothing, 32 and 64 the scale.
TSeed Jpeg(const std::string& name, const TSampleRecipe& recipe, uint8_t options) {
  TBytes bytes = MakeSampleJpeg(recipe);
  bytes.push_back(options);
  return {name + ".jpg", bytes};
}

std::vector<TSeed> JpegSeeds() {
  using K = TSampleKind;
  return {
      Jpeg("baseline", {K::Colour, kWidth, kHeight}, 0x00),
      Jpeg("baseline-palettized", {K::Colour, kWidth, kHeight}, 0x01),
      Jpeg("subsampled-fast-half", {K::Colour, 33, 17, true}, 0x29),
      Jpeg("grey", {K::Grey, kWidth, kHeight}, 0x00),
      Jpeg("grey-quarter", {K::Grey, 33, 17}, 0x42),
      Jpeg("progressive", {K::Progressive, 33, 17}, 0x00),
      Jpeg("progressive-incremental", {K::Progressive, 33, 17, true}, 0x15),
      Jpeg("restart", {K::Restart, 33, 17}, 0x00),
      Jpeg("restart-eighth", {K::Restart, 33, 17, true}, 0x68),
      Jpeg("cmyk", {K::Cmyk, kWidth, kHeight}, 0x00),
      Jpeg("cmyk-no-adobe", {K::CmykNoAdobe, kWidth, kHeight}, 0x03),
      Jpeg("ycck", {K::Ycck, kWidth, kHeight}, 0x08),
      Jpeg("arithmetic", {K::Colour, 33, 17, true, true}, 0x00),
      Jpeg("arithmetic-progressive", {K::Progressive, 33, 17, false, true}, 0x04),
      Jpeg("two-components-palettized", {K::TwoComponent, 8, 8}, 0x01),
  };
}

// Photos with an orientation tag in either byte order, a tag outside the main
// directory, a value out of range, and bare EXIF blocks.
std::vector<TSeed> ExifSeeds() {
  const TBytes photo = MakeSampleJpeg({TSampleKind::Colour, kWidth, kHeight});
  std::vector<TSeed> seeds;
  for (uint16_t value = 1; value <= 8; ++value)
    seeds.push_back(
        {"intel-" + std::to_string(value) + ".jpg", WithApp1(photo, ExifOrientationBlock(value))});
  seeds.push_back(
      {"motorola-6.jpg", WithApp1(photo, ExifOrientationBlock(6, EXIF_BYTE_ORDER_MOTOROLA))});
  seeds.push_back({"exif-ifd-6.jpg",
                   WithApp1(photo, ExifOrientationBlock(6, EXIF_BYTE_ORDER_INTEL, EXIF_IFD_EXIF))});
  seeds.push_back({"out-of-range.jpg", WithApp1(photo, ExifOrientationBlock(9))});
  seeds.push_back({"bare-block-8.exif", ExifOrientationBlock(8)});
  seeds.push_back({"no-exif.jpg", photo});
  return seeds;
}

IcoImage Icon(int32_t side, uint16_t bits, bool alpha) {
  IcoImage image;
  image.Width = image.Height = side;
  image.BitCount = bits;
  if (bits <= 8) image.Colors = Palette(1 << bits);
  image.Xor = Rows(side, side, bits);
  if (bits == 32 && !alpha)
    for (size_t i = 3; i < image.Xor.size(); i += 4) image.Xor[i] = 0;
  image.And = Rows(side, side, 1);
  return image;
}

std::vector<TSeed> IconSeeds() {
  IcoImage noMask = Icon(16, 8, false);
  noMask.And.clear();
  return {
      {"1bit.ico", MakeIco({Icon(16, 1, false)})},
      {"4bit.ico", MakeIco({Icon(16, 4, false)})},
      {"8bit.ico", MakeIco({Icon(16, 8, false)})},
      {"24bit.ico", MakeIco({Icon(16, 24, false)})},
      {"32bit-alpha.ico", MakeIco({Icon(16, 32, true)})},
      {"32bit-mask.ico", MakeIco({Icon(16, 32, false)})},
      {"8bit-no-mask.ico", MakeIco({noMask})},
      {"three-sizes.ico", MakeIco({Icon(16, 4, false), Icon(32, 8, false), Icon(32, 32, true)})},
  };
}

// Every record the reader draws or keeps: objects made, selected and deleted,
// rectangles, ellipses, lines, polygons and polylines.
TBytes WmfShapes() {
  TBytes r;
  WmfRecord(r, 0x020B, {0, 0});                  // window origin
  WmfRecord(r, 0x020C, {60, 120});               // window extent
  WmfRecord(r, 0x02FC, {0, 0x00FF, 0x0000, 0});  // solid brush
  WmfRecord(r, 0x02FA, {0, 3, 0, 0x00FF, 0});    // solid pen, 3 wide
  WmfRecord(r, 0x00F7, {});                      // a palette: kept as a slot only
  WmfRecord(r, 0x012D, {0});
  WmfRecord(r, 0x012D, {1});
  WmfRecord(r, 0x041B, {40, 50, 10, 10});              // rectangle
  WmfRecord(r, 0x0418, {55, 110, 20, 60});             // ellipse
  WmfRecord(r, 0x0214, {5, 5});                        // move to
  WmfRecord(r, 0x0213, {50, 100});                     // line to
  WmfRecord(r, 0x0324, {3, 10, 10, 100, 10, 50, 55});  // polygon
  WmfRecord(r, 0x0325, {3, 0, 0, 60, 30, 120, 0});     // polyline
  WmfRecord(r, 0x01F0, {0});                           // delete the brush
  WmfRecord(r, 0x041B, {59, 119, 30, 30});
  return r;
}

TBytes EmfShapes() {
  TBytes r;
  EmfRecord(r, 9, {100, 50});                                  // window extent
  EmfRecord(r, 10, {0, 0});                                    // window origin
  EmfRecord(r, 39, {1, 0, 0x0000FF, 0});                       // solid brush
  EmfRecord(r, 38, {2, 0, 2, 0, 0x00FF00});                    // pen, 2 wide
  EmfRecord(r, 95, {3, 0, 0, 0, 0, 0, 1, 0, 0xFF0000, 0, 0});  // extended pen
  EmfRecord(r, 37, {1});
  EmfRecord(r, 37, {3});
  EmfRecord(r, 43, {10, 10, 40, 30});                       // rectangle
  EmfRecord(r, 37, {0x80000005});                           // stock null brush
  EmfRecord(r, 42, {50, 5, 90, 45});                        // ellipse
  EmfRecord(r, 27, {0, 49});                                // move to
  EmfRecord(r, 54, {99, 0});                                // line to
  EmfRecord(r, 3, {0, 0, 99, 49, 3, 5, 5, 95, 5, 50, 45});  // polygon
  EmfRecord(r, 4, {0, 0, 99, 49, 2, 0, 25, 99, 25});        // polyline
  EmfRecord(r, 86, {0, 0, 99, 49, 3, 5 | 5 << 16, 95 | 5 << 16, 50 | 45 << 16});
  EmfRecord(r, 87, {0, 0, 99, 49, 2, 0 | 10 << 16, 99 | 10 << 16});
  EmfRecord(r, 40, {1});  // delete the brush
  return r;
}

std::vector<TSeed> MetafileSeeds() {
  return {
      {"placeable.wmf", Wmf(true, WmfShapes())},
      {"extent-only.wmf", Wmf(false, WmfShapes())},
      {"shapes.emf", Emf(EmfShapes())},
  };
}

void WriteSeeds(const std::filesystem::path& folder, const std::vector<TSeed>& seeds) {
  std::filesystem::create_directories(folder);
  for (const TSeed& seed : seeds) {
    std::ofstream out(folder / seed.Name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(seed.Bytes.data()),
              static_cast<std::streamsize>(seed.Bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + (folder / seed.Name).string());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_fuzz_seeds FOLDER\n";
    return 2;
  }
  const std::filesystem::path root = argv[1];
  WriteSeeds(root / "bitmap", BitmapSeeds());
  WriteSeeds(root / "dib", DibSeeds());
  WriteSeeds(root / "jpeg", JpegSeeds());
  WriteSeeds(root / "icon", IconSeeds());
  WriteSeeds(root / "metafile", MetafileSeeds());
  WriteSeeds(root / "exif", ExifSeeds());
  return 0;
}
