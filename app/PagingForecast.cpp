#include "app/PagingForecast.h"

#include <algorithm>

namespace {

int32_t NextPage(const TPagingState& state) {
  if (state.Slideshow) return state.PageIndex;
  const int32_t last = state.Count - 1;
  const int32_t ahead = std::clamp(state.PageIndex + state.Direction, 0, last);
  // At an end of the list the way back is the likelier one.
  return ahead != state.PageIndex ? ahead : std::clamp(state.PageIndex - state.Direction, 0, last);
}

}  // namespace

std::vector<int32_t> GridPageEntries(int32_t page, int32_t cellsPerPage, int32_t count) {
  std::vector<int32_t> entries;
  for (int64_t entry = int64_t{page} * cellsPerPage;
       entry < count && entry < (int64_t{page} + 1) * cellsPerPage; ++entry)
    entries.push_back(static_cast<int32_t>(entry));
  return entries;
}

std::vector<int32_t> NextPageEntries(const TPagingState& state) {
  if (state.Count <= 0) return {};
  const int32_t page = NextPage(state);
  if (state.CellsPerPage <= 0) return {page};
  return GridPageEntries(page, state.CellsPerPage, state.Count);
}
