#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/DIBReader.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Stream.h"
#include "tests/support/DibBuilder.h"

namespace {

TDibHeader ReadHeader(const std::vector<uint8_t>& bytes, bool* had = nullptr) {
  TCustomMemoryStream stream(const_cast<uint8_t*>(bytes.data()),
                             static_cast<int64_t>(bytes.size()));
  TDibHeader header;
  const bool read = ReadDibHeader(stream, header);
  if (had) *had = read;
  if (read) CheckPixelDataAvailable(header, stream);
  return header;
}

template <typename Error>
void ExpectError(const std::vector<uint8_t>& bytes, const std::string& message) {
  try {
    ReadHeader(bytes);
    FAIL() << "no error, expected " << message;
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

TEST(DibHeaderTest, EmptyDataIsNoPicture) {
  bool had = true;
  ReadHeader({}, &had);
  EXPECT_FALSE(had);
}

struct BadHeaderCase {
  std::string name;
  std::vector<uint8_t> bytes;
};

class DibInvalidHeaderTest : public testing::TestWithParam<BadHeaderCase> {};

TEST_P(DibInvalidHeaderTest, IsRefusedAsInvalid) {
  ExpectError<EInvalidGraphic>(GetParam().bytes, "DIB is invalid");
}

INSTANTIATE_TEST_SUITE_P(
    Headers, DibInvalidHeaderTest,
    testing::Values(
        BadHeaderCase{"SizeFieldCutShort", {40, 0, 0}},
        BadHeaderCase{"UnknownHeaderSize", DibBuilder().U32(108).Fill(104, 0).Data()},
        BadHeaderCase{"UnknownCompression",
                      DibBuilder().InfoHeader(1, 1, 8, 4).Fill(1028, 0).Data()},
        BadHeaderCase{"Rle8WithFourBits",
                      DibBuilder().InfoHeader(1, 1, 4, BI_RLE8, 2).Fill(66, 0).Data()},
        BadHeaderCase{"Rle4WithEightBits",
                      DibBuilder().InfoHeader(1, 1, 8, BI_RLE4, 2).Fill(1026, 0).Data()},
        BadHeaderCase{"NegativeWidth", DibBuilder().InfoHeader(-4, 1, 24).Fill(16, 0).Data()},
        BadHeaderCase{"ZeroWidth", DibBuilder().InfoHeader(0, 1, 24).Data()},
        BadHeaderCase{"ZeroHeight", DibBuilder().InfoHeader(1, 0, 24).Data()},
        BadHeaderCase{"LowestHeight", DibBuilder().InfoHeader(1, INT32_MIN, 24).Data()}),
    [](const testing::TestParamInfo<BadHeaderCase>& p) { return p.param.name; });

class DibBitCountTest : public testing::TestWithParam<int> {};

TEST_P(DibBitCountTest, UnknownDepthsNameTheirBitCount) {
  const int bits = GetParam();
  ExpectError<EInvalidGraphicOperation>(DibBuilder().InfoHeader(1, 1, bits).Fill(64, 0).Data(),
                                        "Bitcount in invalid (" + std::to_string(bits) + ")");
}

INSTANTIATE_TEST_SUITE_P(Depths, DibBitCountTest, testing::Values(0, 2, 15, 48, 65535));

TEST(DibHeaderTest, HugeClaimOnTinyDataIsAReadErrorBeforeAnyAllocation) {
  // 60000 x 60000 at 32 bits would be 13 GiB of pixels.
  ExpectError<EReadError>(DibBuilder().InfoHeader(60000, 60000, 32).Fill(8, 0).Data(),
                          "Stream read error");
}

TEST(DibHeaderTest, RunLengthDataMustBeThere) {
  ExpectError<EReadError>(DibBuilder().InfoHeader(4, 4, 8, BI_RLE8, 100).Fill(1024 + 50, 0).Data(),
                          "Stream read error");
}

TEST(DibHeaderTest, ColourEntriesCutShortAreAReadError) {
  ExpectError<EReadError>(DibBuilder().InfoHeader(1, 1, 8).Fill(100, 0).Data(),
                          "Stream read error");
}

TEST(DibHeaderTest, CoreHeaderReadsThreeByteEntries) {
  DibBuilder b;
  b.CoreHeader(3, 2, 4);
  for (uint8_t i = 0; i < 16; ++i) b.U8(i).U8(100 + i).U8(200 + i);  // blue, green, red
  b.Fill(8, 0);
  const TDibHeader h = ReadHeader(b.Data());
  EXPECT_EQ(h.Width, 3);
  EXPECT_EQ(h.Height, 2);
  EXPECT_EQ(h.BitCount, 4u);
  EXPECT_EQ(h.Compression, BI_RGB);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(h.ColorTable[i], MakeQuad(200 + i, 100 + i, i)) << i;
  for (int i = 16; i < 256; ++i) EXPECT_EQ(h.ColorTable[i], RGBQUAD{}) << i;
}

TEST(DibHeaderTest, ColoursUsedLimitsTheEntriesAndIsCappedAt256) {
  const TDibHeader few = ReadHeader(
      DibBuilder().InfoHeader(1, 1, 8, BI_RGB, 0, 2).U32(0x010203).U32(0x040506).Fill(4, 0).Data());
  EXPECT_EQ(few.ColorTable[1], MakeQuad(4, 5, 6));
  EXPECT_EQ(few.ColorTable[2], RGBQUAD{});
  const TDibHeader many =
      ReadHeader(DibBuilder().InfoHeader(1, 1, 24, BI_RGB, 0, 0xFFFFFFFF).Fill(1024 + 4, 1).Data());
  EXPECT_EQ(many.ColorTable[255], (RGBQUAD{1, 1, 1, 1}));
}

TEST(DibHeaderTest, BitFieldsGiveTheLayoutFromTheMasks) {
  const TDibHeader h = ReadHeader(DibBuilder()
                                      .InfoHeader(2, 1, 16, BI_BITFIELDS)
                                      .U32(0xF800)
                                      .U32(0x7E0)
                                      .U32(0x1F)
                                      .Fill(4, 0)
                                      .Data());
  EXPECT_EQ(h.Layout, Layout565());
  const TDibHeader plain = ReadHeader(DibBuilder().InfoHeader(2, 1, 16).Fill(4, 0).Data());
  EXPECT_EQ(plain.Layout, Layout555());
}

TEST(DibHeaderTest, NegativeHeightIsTopDown) {
  const TDibHeader h = ReadHeader(DibBuilder().InfoHeader(1, -3, 24).Fill(12, 0).Data());
  EXPECT_TRUE(h.TopDown);
  EXPECT_EQ(h.Height, 3);
}

TEST(DibRowsTest, TopDownRowsAreStoredBottomUp) {
  const std::vector<uint8_t> rows = {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3};
  for (const bool topDown : {false, true}) {
    TDibHeader h;
    h.Width = 4;
    h.Height = 3;
    h.BitCount = 8;
    h.TopDown = topDown;
    std::vector<uint8_t> storage(12);
    TCustomMemoryStream stream(const_cast<uint8_t*>(rows.data()),
                               static_cast<int64_t>(rows.size()));
    ReadDibRows(stream, h, storage.data());
    const std::vector<uint8_t> expected =
        topDown ? std::vector<uint8_t>{3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1} : rows;
    EXPECT_EQ(storage, expected);
  }
}

}  // namespace
