#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "image/DIB.h"
#include "platform/framework/Exception.h"
#include "platform/framework/FileFormats.h"
#include "platform/framework/Filer.h"
#include "platform/framework/Picture.h"
#include "platform/framework/Stream.h"
#include "platform/gdi/Gdi.h"
#include "tests/image/DibTarget.h"
#include "tests/support/DibBuilder.h"
#include "tests/support/TempTree.h"

namespace {

std::vector<uint8_t> Bytes(TMemoryStream& stream) {
  const auto* p = static_cast<const uint8_t*>(stream.Memory());
  return std::vector<uint8_t>(p, p + stream.Size());
}

std::vector<uint8_t> FileOf(TDIB& dib) {
  TMemoryStream stream;
  dib.WriteToStream(stream);
  return Bytes(stream);
}

void ReadFile(TDIB& dib, const std::vector<uint8_t>& bytes) {
  TCustomMemoryStream stream(const_cast<uint8_t*>(bytes.data()),
                             static_cast<int64_t>(bytes.size()));
  dib.ReadFromStream(stream);
}

void ReadBare(TDIB& dib, const std::vector<uint8_t>& bytes) {
  TCustomMemoryStream stream(const_cast<uint8_t*>(bytes.data()),
                             static_cast<int64_t>(bytes.size()));
  dib.ReadInfoAndBits(stream);
}

// Pixel bytes of every row, the padding of each row left out.
std::vector<uint8_t> Pixels(const TDIB& dib) {
  const size_t used = (static_cast<size_t>(dib.Width()) * dib.BitCount() + 7) / 8;
  std::vector<uint8_t> out;
  for (int32_t y = 0; y < dib.Height(); ++y) {
    const uint8_t* row = dib.TopRow() + static_cast<int64_t>(y) * dib.RowStep();
    out.insert(out.end(), row, row + used);
  }
  return out;
}

// Random pixels and colours, the padding bits of the last byte in a row cleared.
void FillRandom(TDIB& dib, uint32_t seed) {
  std::mt19937 random(seed);
  uint8_t* bits = dib.PixelBits();
  for (uint32_t i = 0; i < dib.ImageSize(); ++i) bits[i] = static_cast<uint8_t>(random());
  for (int i = 0; i < 256; ++i)
    dib.ColorTable[i] = MakeQuad(static_cast<BYTE>(random()), static_cast<BYTE>(random()),
                                 static_cast<BYTE>(random()));
  dib.ApplyColorTable();
}

struct RoundTripCase {
  std::string name;
  int bits;
  TPixelLayout layout;
  int32_t width, height;
};

class DIBRoundTripTest : public testing::TestWithParam<RoundTripCase> {};

TEST_P(DIBRoundTripTest, WriteThenReadGivesTheSamePicture) {
  const RoundTripCase& c = GetParam();
  TDIB written;
  written.PixelFormat = c.layout;
  written.SetDimensions(c.width, c.height, c.bits);
  FillRandom(written, static_cast<uint32_t>(c.bits * 1000 + c.width));
  const std::vector<uint8_t> file = FileOf(written);
  ASSERT_EQ(file.size(), 14 + written.InfoSize() + written.ImageSize());

  TDIB read;
  ReadFile(read, file);
  EXPECT_EQ(read.Width(), c.width);
  EXPECT_EQ(read.Height(), c.height);
  EXPECT_EQ(read.BitCount(), c.bits);
  EXPECT_EQ(read.Image().PixelFormat(), c.layout);
  EXPECT_EQ(read.ColorCount(), written.ColorCount());
  for (uint32_t i = 0; i < read.ColorCount(); ++i)
    EXPECT_EQ(read.ColorTable[i], written.ColorTable[i]) << i;
  EXPECT_EQ(Pixels(read), Pixels(written));
  EXPECT_EQ(FileOf(read), file);  // and writing it again gives the same bytes
}

INSTANTIATE_TEST_SUITE_P(Depths, DIBRoundTripTest,
                         testing::Values(RoundTripCase{"Bits1", 1, Layout888(), 13, 5},
                                         RoundTripCase{"Bits4", 4, Layout888(), 7, 3},
                                         RoundTripCase{"Bits8", 8, Layout888(), 5, 4},
                                         RoundTripCase{"Bits16x555", 16, Layout555(), 3, 3},
                                         RoundTripCase{"Bits16x565", 16, Layout565(), 5, 2},
                                         RoundTripCase{"Bits24", 24, Layout888(), 3, 4},
                                         RoundTripCase{"Bits32", 32, Layout888(), 2, 3},
                                         RoundTripCase{"OnePixel", 24, Layout888(), 1, 1}),
                         [](const testing::TestParamInfo<RoundTripCase>& p) {
                           return p.param.name;
                         });

// The 12-byte header: three-byte colour entries and 16-bit sizes.
class DIBCoreHeaderTest : public testing::TestWithParam<int> {};

TEST_P(DIBCoreHeaderTest, ReadsLikeTheSamePictureWithTheLongHeader) {
  const int bits = GetParam();
  const uint16_t width = 5, height = 3;
  TDIB reference;
  reference.SetDimensions(width, height, bits);
  FillRandom(reference, 77);
  const uint32_t colors = reference.ColorCount();
  DibBuilder core;
  core.CoreHeader(width, height, static_cast<uint16_t>(bits));
  for (uint32_t i = 0; i < colors; ++i)
    core.U8(reference.ColorTable[i].rgbBlue)
        .U8(reference.ColorTable[i].rgbGreen)
        .U8(reference.ColorTable[i].rgbRed);
  const uint8_t* pixels = reference.Image().PixelData();
  core.Bytes(std::vector<uint8_t>(pixels, pixels + reference.ImageSize()));

  TDIB read;
  ReadBare(read, core.Data());
  EXPECT_EQ(read.Width(), width);
  EXPECT_EQ(read.Height(), height);
  EXPECT_EQ(read.BitCount(), bits);
  for (uint32_t i = 0; i < colors; ++i) EXPECT_EQ(read.ColorTable[i], reference.ColorTable[i]) << i;
  for (uint32_t i = colors; i < 256; ++i) EXPECT_EQ(read.ColorTable[i], RGBQUAD{}) << i;
  EXPECT_EQ(Pixels(read), Pixels(reference));
}

INSTANTIATE_TEST_SUITE_P(Depths, DIBCoreHeaderTest, testing::Values(1, 4, 8, 24));

class DIBTopDownTest : public testing::TestWithParam<int> {};

TEST_P(DIBTopDownTest, NegativeHeightGivesTheSamePictureAsBottomUp) {
  const int bits = GetParam();
  TDIB bottomUp;
  bottomUp.PixelFormat = bits == 16 ? Layout555() : Layout888();
  bottomUp.SetDimensions(4, 5, bits);
  FillRandom(bottomUp, 5);
  std::vector<uint8_t> file = FileOf(bottomUp);
  // Same header with a negative height, rows in picture order.
  const uint32_t offBits = 14 + bottomUp.InfoSize();
  const int32_t negative = -5;
  std::memcpy(file.data() + 14 + 8, &negative, 4);
  for (int32_t y = 0; y < 5; ++y) {
    const uint8_t* row = bottomUp.TopRow() + static_cast<int64_t>(y) * bottomUp.RowStep();
    std::memcpy(file.data() + offBits + y * bottomUp.RowBytes(), row, bottomUp.RowBytes());
  }
  TDIB topDown;
  ReadFile(topDown, file);
  EXPECT_EQ(topDown.Height(), 5);
  EXPECT_EQ(Pixels(topDown), Pixels(bottomUp));
  EXPECT_EQ(topDown.Image().BitmapInfo()->bmiHeader.biHeight, 5);  // stored bottom-up
}

INSTANTIATE_TEST_SUITE_P(Depths, DIBTopDownTest, testing::Values(1, 4, 8, 16, 24, 32));

std::vector<uint8_t> RleFile(int bits, int32_t width, int32_t height,
                             const std::vector<uint8_t>& data) {
  DibBuilder b;
  const uint32_t colors = 1u << bits;
  b.FileHeader(14 + 40 + 4 * colors + static_cast<uint32_t>(data.size()), 14 + 40 + 4 * colors);
  b.InfoHeader(width, height, static_cast<uint16_t>(bits), bits == 8 ? BI_RLE8 : BI_RLE4,
               static_cast<uint32_t>(data.size()));
  for (uint32_t i = 0; i < colors; ++i) b.U32(i * 0x010101);
  b.Bytes(data);
  return b.Data();
}

TEST(DIBRunLengthTest, Rle8StaysEncodedUntilTheFirstWrite) {
  // Row 0: 3 x 7, line end; delta (1, 1) to row 2, x 1; absolute run 1 2 3; end.
  const std::vector<uint8_t> rle = {3, 7, 0, 0, 0, 2, 1, 1, 0, 3, 1, 2, 3, 0, 0, 1};
  const std::vector<uint8_t> file = RleFile(8, 5, 3, rle);
  TDIB dib;
  ReadFile(dib, file);
  EXPECT_TRUE(dib.Image().RunLengthData());
  EXPECT_EQ(dib.ImageSize(), rle.size());
  EXPECT_EQ(FileOf(dib), file);  // saved in encoded form
  PixelTarget target(5, 3);
  dib.RenderTo(target.Canvas(), Rect(0, 0, 5, 3));  // drawn in encoded form
  EXPECT_EQ(target.At(0, 2), 0x070707u);
  EXPECT_TRUE(dib.Image().RunLengthData());
  dib.PutPixel(4, 0, 9);
  EXPECT_FALSE(dib.Image().RunLengthData());
  EXPECT_EQ(dib.ImageSize(), 8u * 3);
  EXPECT_EQ(Pixels(dib), (std::vector<uint8_t>{0, 1, 2, 3, 9, 0, 0, 0, 0, 0, 7, 7, 7, 0, 0}));
}

TEST(DIBRunLengthTest, Rle4DecodesOnCanvasRequest) {
  // Row 0: 3 pixels 1 2 1; line end; absolute 5 pixels 3 4 5 6 7; end.
  const std::vector<uint8_t> rle = {3, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 1};
  TDIB dib;
  ReadFile(dib, RleFile(4, 5, 2, rle));
  EXPECT_TRUE(dib.Image().RunLengthData());
  dib.DrawingCanvas();
  EXPECT_FALSE(dib.Image().RunLengthData());
  EXPECT_FALSE(dib.Image().PlainMemory());
  EXPECT_EQ(Pixels(dib), (std::vector<uint8_t>{0x34, 0x56, 0x70, 0x12, 0x10, 0x00}));
}

TEST(DIBRunLengthTest, HostileRunsStayInsideThePicture) {
  // A run past the row, then an absolute run cut short, and no end-of-bitmap escape.
  const std::vector<uint8_t> rle = {255, 1, 0, 0, 0, 255, 1, 2, 3, 4, 5, 6, 7, 8};
  TDIB dib;
  ReadFile(dib, RleFile(8, 2, 2, rle));
  ASSERT_NE(dib.PixelBits(), nullptr);
  EXPECT_EQ(Pixels(dib), (std::vector<uint8_t>{0, 0, 1, 1}));
}

TEST(DIBRunLengthTest, ZeroEncodedSizeDecodesToNothing) {
  TDIB dib;
  ReadFile(dib, RleFile(8, 3, 2, {}));
  ASSERT_NE(dib.PixelBits(), nullptr);
  EXPECT_EQ(Pixels(dib), std::vector<uint8_t>(6, 0));
}

struct BadFileCase {
  std::string name;
  std::vector<uint8_t> bytes;
  std::string message;
};

class DIBBadFileTest : public testing::TestWithParam<BadFileCase> {};

TEST_P(DIBBadFileTest, FailsAndKeepsThePreviousImage) {
  const BadFileCase& c = GetParam();
  TDIB dib;
  dib.SetDimensions(2, 2, 24);
  const TDIBSharedImage* before = &dib.Image();
  try {
    ReadFile(dib, c.bytes);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), c.message);
  }
  EXPECT_EQ(&dib.Image(), before);
  EXPECT_EQ(dib.Width(), 2);
}

std::vector<uint8_t> WithFileHeader(const DibBuilder& bare) {
  DibBuilder b;
  b.FileHeader(0, 0).Bytes(bare.Data());
  return b.Data();
}

INSTANTIATE_TEST_SUITE_P(
    Files, DIBBadFileTest,
    testing::Values(
        BadFileCase{"FileHeaderCutShort", {'B', 'M', 0, 0}, "DIB is invalid"},
        BadFileCase{"NotBM", DibBuilder().U16(0x4142).Fill(12, 0).Data(), "DIB is invalid"},
        BadFileCase{"HeaderSizeCutShort", DibBuilder().FileHeader(0, 0).U16(40).Data(),
                    "DIB is invalid"},
        BadFileCase{"InfoHeaderCutShort", DibBuilder().FileHeader(0, 0).U32(40).Fill(10, 0).Data(),
                    "Stream read error"},
        BadFileCase{"PixelsCutShort", WithFileHeader(DibBuilder().InfoHeader(4, 4, 24).Fill(47, 0)),
                    "Stream read error"},
        BadFileCase{"HugePictureInATinyFile",
                    WithFileHeader(DibBuilder().InfoHeader(65000, 65000, 32).Fill(16, 0)),
                    "Stream read error"},
        BadFileCase{"BitFieldsFor24Bits",
                    WithFileHeader(DibBuilder()
                                       .InfoHeader(1, 1, 24, BI_BITFIELDS)
                                       .U32(0xF800)
                                       .U32(0x7E0)
                                       .U32(0x1F)
                                       .Fill(4, 0)),
                    "PixelFormat in invalid"},
        BadFileCase{"UnknownDepth", WithFileHeader(DibBuilder().InfoHeader(1, 1, 7).Fill(4, 0)),
                    "Bitcount in invalid (7)"}),
    [](const testing::TestParamInfo<BadFileCase>& p) { return p.param.name; });

TEST(DIBFileTest, EmptyStreamChangesNothing) {
  TDIB dib;
  dib.SetDimensions(2, 2, 8);
  const TDIBSharedImage* before = &dib.Image();
  ReadFile(dib, {});
  EXPECT_EQ(&dib.Image(), before);
}

TEST(DIBFileTest, FileHeaderAloneGivesAnEmptyDIB) {
  TDIB dib;
  dib.SetDimensions(2, 2, 8);
  ReadFile(dib, DibBuilder().FileHeader(14, 14).Data());
  EXPECT_TRUE(dib.Empty());
}

TEST(DIBFileTest, BareDataWithoutBytesEmptiesTheDIB) {
  TDIB dib;
  dib.SetDimensions(2, 2, 8);
  ReadBare(dib, {});
  EXPECT_TRUE(dib.Empty());
}

TEST(DIBFileTest, FileHeaderCountsInfoBlockAndPixels) {
  TDIB dib;
  dib.SetDimensions(3, 2, 8);
  const std::vector<uint8_t> file = FileOf(dib);
  BITMAPFILEHEADER header;
  std::memcpy(&header, file.data(), sizeof header);
  // Copies: the packed fields cannot be bound to references.
  const uint32_t type = header.bfType, size = header.bfSize, offBits = header.bfOffBits;
  const uint32_t reserved = header.bfReserved1 | header.bfReserved2;
  EXPECT_EQ(type, 0x4D42u);
  EXPECT_EQ(size, 14u + 1064 + 8);
  EXPECT_EQ(offBits, 14u + 1064);
  EXPECT_EQ(reserved, 0u);
}

TEST(DIBFileTest, EmptyDIBWritesNothing) {
  TDIB dib;
  EXPECT_TRUE(FileOf(dib).empty());
}

TEST(DIBFileTest, ReadingKeepsTheStorageKind) {
  TDIB source;
  source.SetDimensions(2, 2, 24);
  const std::vector<uint8_t> file = FileOf(source);
  TDIB section;
  section.SetDimensions(1, 1, 8);
  section.DrawingCanvas();
  ReadFile(section, file);
  EXPECT_FALSE(section.Image().PlainMemory());
  TDIB plain;
  ReadFile(plain, file);
  EXPECT_TRUE(plain.Image().PlainMemory());
}

TEST(DIBClipboardTest, SavesFormat8AndLoadsItBack) {
  TDIB dib;
  dib.SetDimensions(3, 3, 8);
  FillRandom(dib, 9);
  UINT format = 0;
  HANDLE data = nullptr;
  HPALETTE palette = reinterpret_cast<HPALETTE>(1);
  dib.SaveClipboardData(format, data, palette);
  EXPECT_EQ(format, 8u);
  EXPECT_EQ(palette, nullptr);
  ASSERT_NE(data, nullptr);
  TMemoryStream bare;
  dib.WriteInfoAndBits(bare);
  const std::vector<uint8_t> expected = Bytes(bare);
  ASSERT_GE(GlobalSize(static_cast<HGLOBAL>(data)), expected.size());
  const auto* block = static_cast<const uint8_t*>(GlobalLock(static_cast<HGLOBAL>(data)));
  EXPECT_EQ(std::vector<uint8_t>(block, block + expected.size()), expected);
  GlobalUnlock(static_cast<HGLOBAL>(data));

  TDIB loaded;
  loaded.LoadClipboardData(CF_BITMAP, data, nullptr);  // format and palette are not looked at
  EXPECT_EQ(Pixels(loaded), Pixels(dib));
  EXPECT_EQ(loaded.ColorTable[5], dib.ColorTable[5]);
  EXPECT_EQ(GlobalFree(static_cast<HGLOBAL>(data)), nullptr);  // the block stays the caller's
}

TEST(DIBStoredPropertyTest, DIBPropertyCarriesTheBareForm) {
  TDIB dib;
  dib.SetDimensions(4, 2, 24);
  FillRandom(dib, 11);
  TMemoryStream stored;
  TWriter(stored).WriteProperties(dib);
  const std::vector<uint8_t> bytes = Bytes(stored);
  ASSERT_GT(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 3);
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "DIB");
  stored.SetPosition(0);
  TDIB read;
  TReader(stored).ReadProperties(read);
  EXPECT_EQ(read.Width(), 4);
  EXPECT_EQ(Pixels(read), Pixels(dib));
}

TEST(DIBStoredPropertyTest, EmptyDIBStoresNoProperty) {
  TDIB dib;
  TMemoryStream stored;
  TWriter(stored).WriteProperties(dib);
  EXPECT_EQ(Bytes(stored), std::vector<uint8_t>{0});
}

}  // namespace

namespace {

TEST(DIBRegistrationTest, DibFilesAndClipboardFormat8LoadAsTDIB) {
  const TFileFormat* format = TFileFormatsList::Instance().FindExt("DiB");
  ASSERT_NE(format, nullptr);
  EXPECT_EQ(format->Description, "Device Independent Bitmap");
  EXPECT_EQ(format->GraphicClass.Class, &TDIB::StaticClass());
  const TGraphicClass* clipboard = TClipboardFormats::Instance().Find(CF_DIB);
  ASSERT_NE(clipboard, nullptr);
  EXPECT_EQ(clipboard->Class, &TDIB::StaticClass());
}

TEST(DIBRegistrationTest, PictureLoadsADibFileAndADIBCopiesFromThePicture) {
  TDIB dib;
  dib.SetDimensions(3, 2, 24);
  FillRandom(dib, 21);
  TTempTree tree;
  const std::string path = tree.Path("registration.dib");
  {
    TFileStream file(path, fmCreate);
    dib.WriteToStream(file);
  }
  TPicture picture;
  picture.LoadPictureFile(path);
  ASSERT_NE(picture.Graphic(), nullptr);
  EXPECT_TRUE(picture.Graphic()->InheritsFrom(TDIB::StaticClass()));
  TDIB copy;
  copy.AssignFrom(&picture);
  EXPECT_EQ(Pixels(copy), Pixels(dib));
  TPicture empty;
  copy.AssignFrom(&empty);
  EXPECT_TRUE(copy.Empty());
}

}  // namespace
