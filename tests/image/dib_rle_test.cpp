#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "image/PixelLimits.h"
#include "image/RleDecoder.h"

namespace {

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
  const uint32_t rowBytes = static_cast<uint32_t>(PaddedRowBytes(c.width, c.bits));
  std::vector<uint8_t> storage(rowBytes * c.height + kGuard, kCanary);
  const TRleTarget target{storage.data(), c.width, c.height, rowBytes};
  // Exact-size copy of the input, so reading past it is caught by the sanitizer.
  std::vector<uint8_t> input(c.data);
  (c.bits == 8 ? DecodeRle8 : DecodeRle4)(input.data(), input.size(), target);
  for (int32_t r = 0; r < c.height; ++r) {
    const std::vector<uint8_t> row(storage.begin() + r * rowBytes,
                                   storage.begin() + (r + 1) * rowBytes);
    EXPECT_EQ(row, c.rows.at(r)) << "stored row " << r;
  }
  for (size_t i = rowBytes * c.height; i < storage.size(); ++i) ASSERT_EQ(storage[i], kCanary);
}

class RleDecodeTest : public testing::TestWithParam<RleCase> {};

TEST_P(RleDecodeTest, DecodesIntoStoredRows) { CheckDecode(GetParam()); }

constexpr uint8_t C = kCanary;

INSTANTIATE_TEST_SUITE_P(
    Rle8, RleDecodeTest,
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
    Rle4, RleDecodeTest,
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

// Random data must stay inside the storage (the guard band and the sanitizers watch).
TEST(RleHostileTest, RandomDataStaysInBounds) {
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<uint8_t>(seed >> 24);
  };
  for (int round = 0; round < 2000; ++round) {
    const int32_t width = 1 + next() % 13;
    const int32_t height = 1 + next() % 5;
    const int bits = round % 2 ? 8 : 4;
    std::vector<uint8_t> data(next() % 64);
    for (uint8_t& b : data) b = next() % 4 == 0 ? 0 : next();
    const uint32_t rowBytes = static_cast<uint32_t>(PaddedRowBytes(width, bits));
    std::vector<uint8_t> storage(rowBytes * height + kGuard, kCanary);
    (bits == 8 ? DecodeRle8 : DecodeRle4)(data.data(), data.size(),
                                          {storage.data(), width, height, rowBytes});
    for (size_t i = rowBytes * height; i < storage.size(); ++i)
      ASSERT_EQ(storage[i], kCanary) << round;
  }
}

}  // namespace
