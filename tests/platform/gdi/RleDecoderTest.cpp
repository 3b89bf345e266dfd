#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/gdi/PixelFormat.h"
#include "platform/gdi/RleDecoder.h"

namespace {

using gdi::TRleEnd;

struct TRleCase {
  const char* Name;
  int Bits;  // 8 or 4
  int Width;
  int Height;
  std::vector<uint8_t> Data;
  std::vector<std::string> Rows;  // bottom row first, bytes in hex
  TRleEnd End;
};

class RleDecoding : public testing::TestWithParam<TRleCase> {};

std::string Hex(const uint8_t* bytes, size_t count) {
  static const char* kDigits = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

TEST_P(RleDecoding, DecodesWithinTheRows) {
  const TRleCase& c = GetParam();
  const int64_t rowBytes = gdi::DibRowBytes(c.Width, static_cast<uint32_t>(c.Bits));
  const size_t pixelBytes = static_cast<size_t>(rowBytes * c.Height);
  std::vector<uint8_t> buffer(pixelBytes + 8, 0xCC);  // canary after the rows
  std::fill_n(buffer.begin(), pixelBytes, 0);
  const gdi::TRleTarget target{buffer.data(), rowBytes, c.Width, c.Height};
  // The data sits at the end of its own allocation, so any over-read trips the sanitizer.
  std::vector<uint8_t> data(c.Data);
  const TRleEnd end = c.Bits == 8 ? gdi::DecodeRle8(data.data(), data.size(), target)
                                  : gdi::DecodeRle4(data.data(), data.size(), target);
  EXPECT_EQ(end, c.End);
  for (int r = 0; r < c.Height; ++r) {
    EXPECT_EQ(Hex(buffer.data() + r * rowBytes, static_cast<size_t>(rowBytes)), c.Rows[static_cast<size_t>(r)])
        << "row " << r;
  }
  for (size_t i = pixelBytes; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 0xCC);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RleDecoding,
    testing::Values(
        TRleCase{"Rle8RunsAndEndOfLine", 8, 4, 2, {2, 7, 1, 9, 0, 0, 4, 5, 0, 1}, {"07070900", "05050505"}, TRleEnd::EndOfBitmap},
        TRleCase{"Rle8AbsoluteRunPadsToWord", 8, 4, 1, {0, 3, 1, 2, 3, 0, 1, 4, 0, 1}, {"01020304"}, TRleEnd::EndOfBitmap},
        TRleCase{"Rle8Delta", 8, 4, 2, {0, 2, 2, 1, 2, 6, 0, 1}, {"00000000", "00000606"}, TRleEnd::EndOfBitmap},
        TRleCase{"Rle8RunPastTheRowIsClipped", 8, 4, 1, {9, 3, 0, 1}, {"03030303"}, TRleEnd::EndOfBitmap},
        TRleCase{"Rle8DeltaOutOfThePicture", 8, 4, 1, {0, 2, 200, 200, 5, 1, 0, 1}, {"00000000"}, TRleEnd::EndOfBitmap},
        TRleCase{"Rle8LinesPastTheTopAreDropped", 8, 4, 1, {0, 0, 0, 0, 4, 8, 0, 1}, {"00000000"}, TRleEnd::EndOfBitmap},
        TRleCase{"Rle8NoEndOfBitmap", 8, 4, 1, {2, 1}, {"01010000"}, TRleEnd::DataExhausted},
        TRleCase{"Rle8AbsoluteRunPastTheData", 8, 4, 1, {0, 4, 1, 2}, {"00000000"}, TRleEnd::DataExhausted},
        TRleCase{"Rle8DeltaPastTheData", 8, 4, 1, {0, 2, 1}, {"00000000"}, TRleEnd::DataExhausted},
        TRleCase{"Rle8OddByteAtTheEnd", 8, 4, 1, {1, 5, 0}, {"05000000"}, TRleEnd::DataExhausted},
        TRleCase{"Rle8Empty", 8, 4, 1, {}, {"00000000"}, TRleEnd::DataExhausted},
        TRleCase{"Rle4RunAlternatesNibbles", 4, 8, 1, {5, 0x12, 0, 1}, {"12121000"}, TRleEnd::EndOfBitmap},
        TRleCase{"Rle4AbsoluteRun", 4, 8, 1, {0, 3, 0xAB, 0xC0, 0, 1}, {"abc00000"}, TRleEnd::EndOfBitmap},
        TRleCase{"Rle4OddStartKeepsTheOtherNibble", 4, 8, 1, {1, 0x70, 2, 0x35, 0, 1}, {"73500000"}, TRleEnd::EndOfBitmap},
        TRleCase{"Rle4RunPastTheRowIsClipped", 4, 3, 2, {255, 0x11, 0, 0, 1, 0x20, 0, 1}, {"11100000", "20000000"}, TRleEnd::EndOfBitmap},
        TRleCase{"Rle4AbsoluteRunPastTheData", 4, 8, 1, {0, 6, 0x12}, {"00000000"}, TRleEnd::DataExhausted}),
    [](const testing::TestParamInfo<TRleCase>& p) { return std::string(p.param.Name); });

TEST(RleHostileData, LongStreamsOfDeltasAndLinesEndQuickly) {
  std::vector<uint8_t> data;
  for (int i = 0; i < 100000; ++i) {
    data.insert(data.end(), {0, 2, 255, 255, 0, 0, 255, 1});
  }
  std::vector<uint8_t> pixels(4, 0);
  const gdi::TRleTarget target{pixels.data(), 4, 4, 1};
  EXPECT_EQ(gdi::DecodeRle8(data.data(), data.size(), target), TRleEnd::DataExhausted);
  EXPECT_EQ(gdi::DecodeRle4(data.data(), data.size(), target), TRleEnd::DataExhausted);
  EXPECT_EQ(pixels, std::vector<uint8_t>(4, 0));
}

TEST(RleHostileData, RandomDataNeverLeavesTheRows) {
  std::mt19937 random(4242);
  for (int round = 0; round < 2000; ++round) {
    const int width = 1 + static_cast<int>(random() % 9), height = 1 + static_cast<int>(random() % 5);
    const bool four = round % 2 == 1;
    const int64_t rowBytes = gdi::DibRowBytes(width, four ? 4 : 8);
    std::vector<uint8_t> pixels(static_cast<size_t>(rowBytes * height) + 4, 0xCC);
    std::vector<uint8_t> data(random() % 64);
    for (uint8_t& b : data) b = static_cast<uint8_t>(random() % 4 == 0 ? random() % 3 : random());
    const gdi::TRleTarget target{pixels.data(), rowBytes, width, height};
    if (four) {
      gdi::DecodeRle4(data.data(), data.size(), target);
    } else {
      gdi::DecodeRle8(data.data(), data.size(), target);
    }
    for (size_t i = pixels.size() - 4; i < pixels.size(); ++i) ASSERT_EQ(pixels[i], 0xCC) << round;
    const int64_t used = four ? (width + 1) / 2 : width;  // the rest of each row is padding
    for (int r = 0; r < height; ++r) {
      for (int64_t b = used; b < rowBytes; ++b) ASSERT_EQ(pixels[static_cast<size_t>(r * rowBytes + b)], 0xCC);
    }
  }
}

}  // namespace
