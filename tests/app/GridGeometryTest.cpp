#include <gtest/gtest.h>

#include "app/GridGeometry.h"
#include "tests/support/CaseName.h"

namespace {

struct TCellCase {
  const char* name;
  TGridLayout Layout;
  int32_t Column;
  int32_t Row;
  TRect Cell;
};

class GridCellTest : public testing::TestWithParam<TCellCase> {};

TEST_P(GridCellTest, MarginGapsAndRemainderAtTheFarEdges) {
  const TCellCase& c = GetParam();
  EXPECT_EQ(GridCellRect(c.Layout, c.Column, c.Row), c.Cell);
}

constexpr TGridLayout k3x3{3, 3, 1024, 768};
constexpr TGridLayout k4x2{4, 2, 1024, 768};

const TCellCase kCells[] = {
    {"ThreeByThreeFirst", k3x3, 0, 0, {5, 5, 341, 256}},
    {"ThreeByThreeMiddle", k3x3, 1, 1, {346, 261, 682, 512}},
    {"ThreeByThreeLast", k3x3, 2, 2, {687, 517, 1023, 768}},
    {"OneByOne", {1, 1, 1024, 768}, 0, 0, {5, 5, 1024, 768}},
    {"FourByTwoFirst", k4x2, 0, 0, {5, 5, 256, 384}},
    {"FourByTwoEndOfFirstLine", k4x2, 3, 0, {773, 5, 1024, 384}},
    {"FourByTwoSecondLine", k4x2, 0, 1, {5, 389, 256, 768}},
    {"TenByTen", {10, 10, 1024, 768}, 9, 9, {923, 689, 1020, 760}},
};

INSTANTIATE_TEST_SUITE_P(Cases, GridCellTest, testing::ValuesIn(kCells), CaseName());

TEST(GridCellSizeTest, DividesWhatTheGapsLeave) {
  EXPECT_EQ(GridCellSize(k3x3), (TSize{336, 251}));
  EXPECT_EQ(GridCellSize(k4x2), (TSize{251, 379}));
  EXPECT_EQ(GridCellSize({1, 1, 1024, 768}), (TSize{1019, 763}));
  EXPECT_EQ(GridCellSize({0, 3, 1024, 768}), (TSize{}));
}

}  // namespace
