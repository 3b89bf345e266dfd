// Which entries the next page changes will show.
#include <gtest/gtest.h>

#include "app/PagingForecast.h"
#include "tests/support/CaseName.h"

namespace {

struct TForecastCase {
  const char* name;
  TPagingState State;
  std::vector<int32_t> Entries;
};

class Forecast : public testing::TestWithParam<TForecastCase> {};

TEST_P(Forecast, EntriesAhead) { EXPECT_EQ(EntriesAhead(GetParam().State), GetParam().Entries); }

using V = std::vector<int32_t>;
// State: count, page index, cells per page (0: single view), slideshow, direction.
INSTANTIATE_TEST_SUITE_P(
    Cases, Forecast,
    testing::Values(
        TForecastCase{"empty_list", {0, 0, 0, false, 1}, V{}},
        TForecastCase{"page_down_next_two", {5, 2, 0, false, 1}, V{3, 4}},
        TForecastCase{"page_up_previous_two", {5, 2, 0, false, -1}, V{1, 0}},
        TForecastCase{"after_opening_page_down", {5, 1, 0, false, 1}, V{2, 3}},
        TForecastCase{"one_before_the_end", {5, 3, 0, false, 1}, V{4}},
        TForecastCase{"last_entry_turns_back", {5, 4, 0, false, 1}, V{3, 2}},
        TForecastCase{"first_entry_turns_forward", {5, 0, 0, false, -1}, V{1, 2}},
        TForecastCase{"single_entry", {1, 0, 0, false, 1}, V{0}},
        TForecastCase{"two_entries_at_the_end", {2, 1, 0, false, 1}, V{0}},
        TForecastCase{"slideshow_shows_the_index_then_the_next", {5, 2, 0, true, -1}, V{2, 3}},
        TForecastCase{"slideshow_holds_the_last", {5, 4, 0, true, 1}, V{4}},
        TForecastCase{"grid_next_page", {20, 0, 9, false, 1}, V{9, 10, 11, 12, 13, 14, 15, 16, 17}},
        TForecastCase{"grid_last_page_partly_filled", {20, 1, 9, false, 1}, V{18, 19}},
        TForecastCase{"grid_past_the_last_page_turns_back",
                      {20, 2, 9, false, 1},
                      V{9, 10, 11, 12, 13, 14, 15, 16, 17}},
        TForecastCase{"grid_slideshow_past_the_list", {20, 3, 9, true, 1}, V{}},
        TForecastCase{"grid_slideshow", {20, 1, 4, true, 1}, V{4, 5, 6, 7}},
        TForecastCase{"grid_first_page_turns_forward", {20, 0, 4, false, -1}, V{4, 5, 6, 7}}),
    CaseName());

TEST(GridPages, EntriesOfAPage) {
  EXPECT_EQ(GridPageEntries(0, 4, 6), (V{0, 1, 2, 3}));
  EXPECT_EQ(GridPageEntries(1, 4, 6), (V{4, 5}));
  EXPECT_EQ(GridPageEntries(5, 4, 6), V{});
  // A page number far past the list does not overflow.
  EXPECT_EQ(GridPageEntries(INT32_MAX, 100, 6), V{});
}

}  // namespace
