// The scale a grid cell's JPEG is decoded at.
#include <gtest/gtest.h>

#include "image/JpegCellScale.h"
#include "tests/support/CaseName.h"

namespace {

struct TScaleCase {
  const char* name;
  int64_t Width, Height;
  TSize Cell;
  int Shift;
  int32_t Orientation = 1;
};

class CellScale : public testing::TestWithParam<TScaleCase> {};

TEST_P(CellScale, SmallestScaleStillCoveringTheCell) {
  const TScaleCase& c = GetParam();
  EXPECT_EQ(CellScaleShift(c.Width, c.Height, c.Cell, c.Orientation), c.Shift);
}

// The 3 x 3 grid's cell on 1024 x 768 is 336 x 251.
INSTANTIATE_TEST_SUITE_P(
    Cases, CellScale,
    testing::Values(TScaleCase{"camera_photo_eighth", 6000, 4000, {336, 251}, 3},
                    TScaleCase{"exactly_four_times_quarter", 1344, 1004, {336, 251}, 2},
                    TScaleCase{"exactly_twice_half", 672, 502, {336, 251}, 1},
                    TScaleCase{"rounded_up_side_still_covers", 1341, 1001, {336, 251}, 2},
                    TScaleCase{"narrower_than_twice_whole", 671, 1004, {336, 251}, 0},
                    TScaleCase{"lower_than_twice_whole", 1344, 501, {336, 251}, 0},
                    TScaleCase{"cell_size_whole", 336, 251, {336, 251}, 0},
                    TScaleCase{"smaller_than_cell_whole", 100, 80, {336, 251}, 0},
                    TScaleCase{"tall_picture_height_decides", 3000, 800, {336, 251}, 1},
                    TScaleCase{"no_cell_whole", 6000, 4000, {0, 0}, 0},
                    TScaleCase{"huge_picture_at_most_an_eighth", 65500, 65500, {10, 10}, 3},
                    // A portrait photo stored lying down fills a tall cell only when
                    // measured standing up.
                    TScaleCase{"stored_on_its_side", 4000, 1100, {251, 336}, 1},
                    TScaleCase{"stored_on_its_side_turned", 4000, 1100, {251, 336}, 2, 6},
                    TScaleCase{"upside_down_not_turned", 4000, 1100, {251, 336}, 1, 3}),
    CaseName());

}  // namespace
