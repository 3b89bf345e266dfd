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
    EXPECT_EQ(Hex(buffer.data() + r * rowBytes, static_cast<size_t>(rowBytes)),
              c.Rows[static_cast<size_t>(r)])
        << "row " << r;
  }
  for (size_t i = pixelBytes; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 0xCC);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RleDecoding,
    testing::Values(
        TRleCase{"Rle8RunsAndEndOfLine",
                 8,
                 4,
                 2,
                 {2, 7, 1, 9, 0, 0, 4, 5, 0, 1},
                 {"07070900", "05050505"},
                 TRleEnd::EndOfBitmap},
        TRleCase{"Rle8AbsoluteRunPadsToWord",
                 8,
                 4,
                 1,
                 {0, 3, 1, 2, 3, 0, 1, 4, 0, 1},
                 {"01020304"},
                 TRleEnd::EndOfBitmap},
        TRleCase{"Rle8Delta",
                 8,
                 4,
                 2,
                 {0, 2, 2, 1, 2, 6, 0, 1},
                 {"00000000", "00000606"},
                 TRleEnd::EndOfBitmap},
        TRleCase{"Rle8RunPastTheRowIsClipped",
                 8,
                 4,
                 1,
                 {9, 3, 0, 1},
                 {"03030303"},
                 TRleEnd::EndOfBitmap},
        TRleCase{"Rle8DeltaOutOfThePicture",
                 8,
                 4,
                 1,
                 {0, 2, 200, 200, 5, 1, 0, 1},
                 {"00000000"},
                 TRleEnd::EndOfBitmap},
        TRleCase{"Rle8LinesPastTheTopAreDropped",
                 8,
                 4,
                 1,
                 {0, 0, 0, 0, 4, 8, 0, 1},
                 {"00000000"},
                 TRleEnd::EndOfBitmap},
        TRleCase{"Rle8NoEndOfBitmap", 8, 4, 1, {2, 1}, {"01010000"}, TRleEnd::DataExhausted},
        TRleCase{"Rle8AbsoluteRunPastTheData",
                 8,
                 4,
                 1,
                 {0, 4, 1, 2},
                 {"00000000"},
                 TRleEnd::DataExhausted},
        TRleCase{"Rle8DeltaPastTheData", 8, 4, 1, {0, 2, 1}, {"00000000"}, TRleEnd::DataExhausted},
        TRleCase{"Rle8OddByteAtTheEnd", 8, 4, 1, {1, 5, 0}, {"05000000"}, TRleEnd::DataExhausted},
        TRleCase{"Rle8Empty", 8, 4, 1, {}, {"00000000"}, TRleEnd::DataExhausted},
        TRleCase{"Rle4RunAlternatesNibbles",
                 4,
                 8,
                 1,
                 {5, 0x12, 0, 1},
                 {"12121000"},
                 TRleEnd::EndOfBitmap},
        TRleCase{"Rle4AbsoluteRun",
                 4,
                 8,
                 1,
                 {0, 3, 0xAB, 0xC0, 0, 1},
                 {"abc00000"},
                 TRleEnd::EndOfBitmap},
        TRleCase{"Rle4OddStartKeepsTheOtherNibble",
                 4,
                 8,
                 1,
                 {1, 0x70, 2, 0x35, 0, 1},
                 {"73500000"},
                 TRleEnd::EndOfBitmap},
        TRleCase{"Rle4RunPastTheRowIsClipped",
                 4,
                 3,
                 2,
                 {255, 0x11, 0, 0, 1, 0x20, 0, 1},
                 {"11100000", "20000000"},
                 TRleEnd::EndOfBitmap},
        TRleCase{"Rle4AbsoluteRunPastTheData",
                 4,
                 8,
                 1,
                 {0, 6, 0x12},
                 {"00000000"},
                 TRleEnd::DataExhausted}),
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

TEST(RleHostileData, LongRunsPastTheRowEndQuickly) {
  // Runs of 255 pixels; every run but the first lies wholly past the row.
  std::vector<uint8_t> data(4000000, 7);
  for (size_t i = 0; i < data.size(); i += 2) data[i] = 255;
  std::vector<uint8_t> pixels(4, 0);
  const gdi::TRleTarget target{pixels.data(), 4, 4, 1};
  EXPECT_EQ(gdi::DecodeRle8(data.data(), data.size(), target), TRleEnd::DataExhausted);
  EXPECT_EQ(pixels, std::vector<uint8_t>(4, 7));
  std::fill(pixels.begin(), pixels.end(), 0);
  EXPECT_EQ(gdi::DecodeRle4(data.data(), data.size(), target), TRleEnd::DataExhausted);
  EXPECT_EQ(pixels, (std::vector<uint8_t>{0x07, 0x07, 0, 0}));
}

TEST(RleHostileData, RandomDataNeverLeavesTheRows) {
  std::mt19937 random(4242);
  for (int round = 0; round < 2000; ++round) {
    const int width = 1 + static_cast<int>(random() % 9),
              height = 1 + static_cast<int>(random() % 5);
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
      for (int64_t b = used; b < rowBytes; ++b)
        ASSERT_EQ(pixels[static_cast<size_t>(r * rowBytes + b)], 0xCC);
    }
  }
}

// Bytes the data never reaches keep what they held.

constexpr uint8_t kCanary = 0xAA;
constexpr size_t kGuard = 16;

struct RleCase {
  std::string name;
  int bits;
  int32_t width, height;
  std::vector<uint8_t> data;
  // Stored rows, bottom row first, each RowBytes long; untouched bytes keep kCanary.
  std::vector<std::vector<uint8_t>> rows;
};

// Decodes into storage with a guard band behind it and checks rows and guard.
void CheckDecode(const RleCase& c) {
  const int64_t rowBytes = gdi::DibRowBytes(c.width, static_cast<uint32_t>(c.bits));
  const auto pixelBytes = static_cast<size_t>(rowBytes * c.height);
  std::vector<uint8_t> storage(pixelBytes + kGuard, kCanary);
  const gdi::TRleTarget target{storage.data(), rowBytes, c.width, c.height};
  // Exact-size copy of the input, so reading past it is caught by the sanitizer.
  std::vector<uint8_t> input(c.data);
  (c.bits == 8 ? gdi::DecodeRle8 : gdi::DecodeRle4)(input.data(), input.size(), target);
  for (int32_t r = 0; r < c.height; ++r) {
    const std::vector<uint8_t> row(storage.begin() + r * rowBytes,
                                   storage.begin() + (r + 1) * rowBytes);
    EXPECT_EQ(row, c.rows.at(r)) << "stored row " << r;
  }
  for (size_t i = pixelBytes; i < storage.size(); ++i) ASSERT_EQ(storage[i], kCanary);
}

class RleStoredRows : public testing::TestWithParam<RleCase> {};

TEST_P(RleStoredRows, DecodesIntoStoredRows) { CheckDecode(GetParam()); }

constexpr uint8_t C = kCanary;

INSTANTIATE_TEST_SUITE_P(
    Rle8, RleStoredRows,
    testing::Values(
        RleCase{"EncodedRunsAndLineEnds",
                8,
                4,
                2,
                {2, 7, 2, 9, 0, 0, 4, 5, 0, 1},
                {{7, 7, 9, 9}, {5, 5, 5, 5}}},
        RleCase{"AbsoluteRunOddLengthIsPadded",
                8,
                4,
                1,
                {0, 3, 1, 2, 3, 0, 1, 4, 0, 1},
                {{1, 2, 3, 4}}},
        RleCase{"DeltaMovesRightAndUp",
                8,
                4,
                3,
                {0, 2, 1, 2, 1, 6, 0, 1},
                {{C, C, C, C}, {C, C, C, C}, {C, 6, C, C}}},
        RleCase{"EndOfBitmapStops", 8, 4, 1, {1, 3, 0, 1, 2, 9}, {{3, C, C, C}}},
        RleCase{
            "RunPastTheRowIsClipped", 8, 3, 2, {255, 4, 0, 0, 1, 5}, {{4, 4, 4, C}, {5, C, C, C}}},
        RleCase{"AbsolutePastTheRowIsClipped", 8, 2, 1, {0, 4, 1, 2, 3, 4, 0, 1}, {{1, 2, C, C}}},
        RleCase{"DeltaAboveThePictureStops",
                8,
                4,
                2,
                {0, 2, 0, 200, 4, 1},
                {{C, C, C, C}, {C, C, C, C}}},
        RleCase{"LineEndsAboveThePictureStop", 8, 4, 1, {0, 0, 0, 0, 0, 0, 4, 1}, {{C, C, C, C}}},
        RleCase{"NoEndOfBitmapEndsWithTheData", 8, 4, 1, {2, 8}, {{8, 8, C, C}}},
        RleCase{"EmptyDataWritesNothing", 8, 4, 1, {}, {{C, C, C, C}}},
        RleCase{"OddTrailingByteIsIgnored", 8, 4, 1, {2, 8, 0}, {{8, 8, C, C}}},
        RleCase{"CutShortDeltaStops", 8, 4, 1, {1, 1, 0, 2, 1}, {{1, C, C, C}}},
        RleCase{"CutShortAbsoluteRunStops", 8, 4, 1, {0, 4, 1, 2}, {{C, C, C, C}}}),
    [](const testing::TestParamInfo<RleCase>& p) { return p.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Rle4, RleStoredRows,
    testing::Values(
        RleCase{
            "RunAlternatesHighThenLowNibble", 4, 5, 1, {5, 0x12, 0, 1}, {{0x12, 0x12, 0x1A, C}}},
        RleCase{"RunStartingAtOddPixelKeepsTheOtherNibble",
                4,
                4,
                1,
                {1, 0x30, 3, 0x45, 0, 1},
                {{0x34, 0x54, C, C}}},
        RleCase{"AbsoluteRunOddLength", 4, 8, 1, {0, 3, 0x12, 0x30, 0, 1}, {{0x12, 0x3A, C, C}}},
        RleCase{"AbsoluteRunPaddedToEvenOffset",
                4,
                8,
                1,
                {0, 5, 0x12, 0x34, 0x50, 0, 1, 0x70, 0, 1},
                {{0x12, 0x34, 0x57, C}}},
        RleCase{"DeltaAndLineEnd",
                4,
                4,
                2,
                {0, 2, 3, 1, 1, 0xF0, 0, 0, 0, 1},
                {{C, C, C, C}, {C, 0xAF, C, C}}},
        RleCase{"RunPastTheRowIsClipped", 4, 3, 1, {9, 0x12, 0, 1}, {{0x12, 0x1A, C, C}}}),
    [](const testing::TestParamInfo<RleCase>& p) { return p.param.name; });

}  // namespace
