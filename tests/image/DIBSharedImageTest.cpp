#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "image/DIBPaletteManager.h"
#include "image/DIBSharedImage.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Stream.h"
#include "platform/gdi/Gdi.h"
#include "tests/support/DibBuilder.h"

namespace {

// Owns one reference, as a DIB object does.
struct ImageRef {
  TDIBSharedImage* Image = new TDIBSharedImage;
  ImageRef() { Image->Reference(); }
  ~ImageRef() { Image->Release(); }
  TDIBSharedImage* operator->() const { return Image; }
};

const TColorTable& GreyTable() {
  static TColorTable table;
  GreyColorTable(table);
  return table;
}

TEST(DIBSharedImageTest, NewImageHasNoPixelsAndGreyTable) {
  ImageRef image;
  EXPECT_EQ(image->ImageSize(), 0u);
  EXPECT_EQ(image->PixelData(), nullptr);
  EXPECT_TRUE(image->PlainMemory());
  EXPECT_TRUE(image->PaletteStale());
  EXPECT_EQ(image->PixelFormat(), Layout888());
  EXPECT_EQ(image->ColorTable()[200], MakeQuad(200, 200, 200));
  EXPECT_EQ(image->PaletteHandle(), nullptr);
}

struct AllocateCase {
  int bits;
  TPixelLayout layout;
  int32_t width;
  uint32_t rowBytes, colorCount, infoSize, compression;
};

class AllocateImageTest : public testing::TestWithParam<std::tuple<AllocateCase, bool>> {};

TEST_P(AllocateImageTest, LaysOutHeaderAndStorage) {
  const auto& [c, plain] = GetParam();
  ImageRef image;
  image->AllocateImage(c.width, 5, c.bits, c.layout, GreyTable(), plain, false);
  EXPECT_EQ(image->RowBytes(), c.rowBytes);
  EXPECT_EQ(image->RowStep(), -static_cast<int32_t>(c.rowBytes));
  EXPECT_EQ(image->ImageSize(), c.rowBytes * 5);
  EXPECT_EQ(image->ColorCount(), c.colorCount);
  EXPECT_EQ(image->InfoSize(), c.infoSize);
  EXPECT_EQ(image->PlainMemory(), plain);
  EXPECT_EQ(image->DC() == nullptr, plain);
  ASSERT_NE(image->PixelData(), nullptr);
  EXPECT_EQ(image->TopRow(), image->PixelData() + 4 * c.rowBytes);
  const BITMAPINFOHEADER& h = image->BitmapInfo()->bmiHeader;
  EXPECT_EQ(h.biSize, 40u);
  EXPECT_EQ(h.biWidth, c.width);
  EXPECT_EQ(h.biHeight, 5);
  EXPECT_EQ(h.biPlanes, 1);
  EXPECT_EQ(h.biBitCount, c.bits);
  EXPECT_EQ(h.biCompression, c.compression);
  EXPECT_EQ(h.biSizeImage, c.rowBytes * 5);
  EXPECT_EQ(h.biClrUsed, 0u);
  const auto* info = reinterpret_cast<const uint8_t*>(image->BitmapInfo());
  if (c.compression == BI_BITFIELDS) {
    uint32_t masks[3];
    std::memcpy(masks, info + 40, sizeof masks);
    EXPECT_EQ(masks[0], c.layout.RedMask);
    EXPECT_EQ(masks[1], c.layout.GreenMask);
    EXPECT_EQ(masks[2], c.layout.BlueMask);
  }
  if (c.colorCount > 1) {
    RGBQUAD last;
    std::memcpy(&last, info + c.infoSize - 4, 4);
    const BYTE v = static_cast<BYTE>(c.colorCount - 1);
    EXPECT_EQ(last, MakeQuad(v, v, v));
  }
  // Every byte of the storage is writable (the sanitizer watches).
  std::memset(image->PixelData(), 0x5A, image->ImageSize());
}

INSTANTIATE_TEST_SUITE_P(
    Depths, AllocateImageTest,
    testing::Combine(testing::Values(AllocateCase{1, Layout888(), 3, 4, 2, 48, BI_RGB},
                                     AllocateCase{1, Layout888(), 33, 8, 2, 48, BI_RGB},
                                     AllocateCase{4, Layout888(), 9, 8, 16, 104, BI_RGB},
                                     AllocateCase{8, Layout888(), 5, 8, 256, 1064, BI_RGB},
                                     AllocateCase{16, Layout555(), 3, 8, 0, 52, BI_BITFIELDS},
                                     AllocateCase{16, Layout565(), 2, 4, 0, 52, BI_BITFIELDS},
                                     AllocateCase{24, Layout888(), 3, 12, 0, 40, BI_RGB},
                                     AllocateCase{32, Layout888(), 3, 12, 0, 52, BI_BITFIELDS}),
                     testing::Bool()));

struct RefusedCase {
  int bits;
  TPixelLayout layout;
  std::string message;
};

class AllocateRefusedTest : public testing::TestWithParam<RefusedCase> {};

TEST_P(AllocateRefusedTest, RaisesInvalidGraphicOperation) {
  const RefusedCase& c = GetParam();
  ImageRef image;
  try {
    image->AllocateImage(4, 4, c.bits, c.layout, GreyTable(), true, false);
    FAIL();
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message(), c.message);
  }
}

INSTANTIATE_TEST_SUITE_P(DepthsAndLayouts, AllocateRefusedTest,
                         testing::Values(RefusedCase{16, Layout888(), "PixelFormat in invalid"},
                                         RefusedCase{24, Layout565(), "PixelFormat in invalid"},
                                         RefusedCase{8, Layout555(), "PixelFormat in invalid"},
                                         RefusedCase{32, LayoutFromBits(10, 10, 10),
                                                     "PixelFormat in invalid"},
                                         RefusedCase{15, Layout888(), "Bitcount in invalid (15)"},
                                         RefusedCase{0, Layout888(), "Bitcount in invalid (0)"}));

TEST(DIBSharedImageTest, StorageBeyondTheBoundIsRefusedLikeMissingMemory) {
  ImageRef image;
  EXPECT_THROW(image->AllocateImage(70000, 70000, 32, Layout888(), GreyTable(), true, false),
               EOutOfMemory);
  try {
    image->AllocateImage(70000, 70000, 32, Layout888(), GreyTable(), false, false);
    FAIL();
  } catch (const EOutOfResources& e) {
    EXPECT_EQ(e.Message(), "DIB cannot be made");
  }
}

TEST(DIBSharedImageTest, CloneCopiesPixelsTableAndLayoutIntoTheWantedStorage) {
  ImageRef source;
  TColorTable table;
  GreyColorTable(table);
  table[3] = MakeQuad(9, 8, 7);
  source->AllocateImage(3, 2, 8, Layout888(), table, true, false);
  for (uint32_t i = 0; i < source->ImageSize(); ++i)
    source->PixelData()[i] = static_cast<uint8_t>(i);
  ImageRef copy;
  copy->CloneImage(*source.Image, false);
  EXPECT_FALSE(copy->PlainMemory());
  EXPECT_EQ(copy->ColorTable()[3], MakeQuad(9, 8, 7));
  EXPECT_EQ(std::memcmp(copy->PixelData(), source->PixelData(), source->ImageSize()), 0);
  EXPECT_NE(copy->PixelData(), source->PixelData());
}

TEST(DIBSharedImageTest, CloneOfAnEmptyImageIsEmptyWithTheWantedStorage) {
  ImageRef source;
  ImageRef copy;
  copy->CloneImage(*source.Image, false);
  EXPECT_EQ(copy->ImageSize(), 0u);
  EXPECT_FALSE(copy->PlainMemory());
}

TEST(DIBSharedImageTest, SectionColourTableFollowsStoreColorTable) {
  ImageRef image;
  image->AllocateImage(2, 2, 4, Layout888(), GreyTable(), false, false);
  TColorTable table{};
  table[5] = MakeQuad(1, 2, 3);
  image->StoreColorTable(table);
  EXPECT_TRUE(image->PaletteStale());
  RGBQUAD stored[16];
  ASSERT_EQ(GetDIBColorTable(image->DC(), 0, 16, stored), 16u);
  EXPECT_EQ(stored[5], MakeQuad(1, 2, 3));
  RGBQUAD inInfo;
  std::memcpy(&inInfo, reinterpret_cast<const uint8_t*>(image->BitmapInfo()) + 40 + 5 * 4, 4);
  EXPECT_EQ(inInfo, MakeQuad(1, 2, 3));
}

TEST(DIBSharedImageTest, ImagesWithTheSameTableShareOnePalette) {
  const size_t before = PaletteManager().ItemCount();
  {
    ImageRef a, b;
    a->AllocateImage(1, 1, 8, Layout888(), GreyTable(), true, false);
    b->AllocateImage(4, 4, 8, Layout888(), GreyTable(), false, false);
    HPALETTE pa = a->PaletteHandle();
    ASSERT_NE(pa, nullptr);
    EXPECT_FALSE(a->PaletteStale());
    EXPECT_EQ(b->PaletteHandle(), pa);
    EXPECT_EQ(PaletteManager().UseCount(pa), 2);
    TColorTable other;
    GreyColorTable(other);
    other[0] = MakeQuad(255, 0, 0);
    b->StoreColorTable(other);
    EXPECT_NE(b->PaletteHandle(), pa);
    EXPECT_EQ(PaletteManager().UseCount(pa), 1);
  }
  EXPECT_EQ(PaletteManager().ItemCount(), before);  // freed with their images
}

TEST(DIBSharedImageTest, EmptyImageIsProcessWideWithAPermanentReference) {
  TDIBSharedImage& empty = EmptyDIBImage();
  EXPECT_EQ(&empty, &EmptyDIBImage());
  EXPECT_GE(empty.RefCount(), 1);
  EXPECT_EQ(empty.ImageSize(), 0u);
  EXPECT_TRUE(empty.PlainMemory());
}

// Reading bare DIB data; the file form and round trips are tested through TDIB.
TEST(DIBSharedImageTest, RunLengthDataStaysEncodedUntilExpanded) {
  const std::vector<uint8_t> rle = {3, 7, 0, 0, 0, 2, 1, 0, 1, 9, 0, 1};
  DibBuilder b;
  b.InfoHeader(4, 2, 8, BI_RLE8, static_cast<uint32_t>(rle.size())).Fill(1024, 0).Bytes(rle);
  TCustomMemoryStream stream(b.Data().data(), static_cast<int64_t>(b.Data().size()));
  ImageRef encoded;
  encoded->ReadImage(stream, false);
  EXPECT_TRUE(encoded->RunLengthData());
  EXPECT_TRUE(encoded->PlainMemory());
  EXPECT_EQ(encoded->ImageSize(), rle.size());
  EXPECT_EQ(encoded->BitmapInfo()->bmiHeader.biCompression, BI_RLE8);
  EXPECT_EQ(std::memcmp(encoded->PixelData(), rle.data(), rle.size()), 0);
  ImageRef decoded;
  decoded->ExpandImage(*encoded.Image, false);
  EXPECT_FALSE(decoded->RunLengthData());
  EXPECT_EQ(decoded->BitmapInfo()->bmiHeader.biCompression, BI_RGB);
  const std::vector<uint8_t> pixels(decoded->PixelData(),
                                    decoded->PixelData() + decoded->ImageSize());
  EXPECT_EQ(pixels, (std::vector<uint8_t>{7, 7, 7, 0, 0, 9, 0, 0}));
}

TEST(DIBSharedImageTest, EmptyDataGivesANewEmptyImage) {
  ImageRef image;
  image->AllocateImage(2, 2, 24, Layout888(), GreyTable(), true, false);
  TCustomMemoryStream stream(nullptr, 0);
  image->ReadImage(stream, false);
  EXPECT_EQ(image->ImageSize(), 0u);
  EXPECT_EQ(image->PixelData(), nullptr);
}

}  // namespace
