#include "app/PagingForecast.h"

#include <algorithm>
#include <utility>

namespace {

// The page the next page change shows, and the direction it goes.
std::pair<int32_t, int32_t> NextPage(const TPagingState& state) {
  const int32_t last = state.Count - 1;
  if (state.Slideshow) return {state.PageIndex, 1};
  const int32_t ahead = std::clamp(state.PageIndex + state.Direction, 0, last);
  if (ahead != state.PageIndex) return {ahead, state.Direction};
  // At an end of the list the way back is the likelier one.
  return {std::clamp(state.PageIndex - state.Direction, 0, last), -state.Direction};
}

}  // namespace

std::vector<int32_t> GridPageEntries(int32_t page, int32_t cellsPerPage, int32_t count) {
  std::vector<int32_t> entries;
  for (int64_t entry = int64_t{page} * cellsPerPage;
       entry < count && entry < (int64_t{page} + 1) * cellsPerPage; ++entry)
    entries.push_back(static_cast<int32_t>(entry));
  return entries;
}

std::vector<int32_t> EntriesAhead(const TPagingState& state) {
  if (state.Count <= 0) return {};
  const auto [page, direction] = NextPage(state);
  if (state.CellsPerPage > 0) {
    std::vector<int32_t> entries = GridPageEntries(page, state.CellsPerPage, state.Count);
    // Keys page past the last page, which shows nothing: there too the way back is the
    // likelier one.
    if (entries.empty() && !state.Slideshow)
      entries = GridPageEntries(std::max(state.PageIndex - direction, 0), state.CellsPerPage,
                                state.Count);
    return entries;
  }
  // The page change after that one: a slideshow moves on by one, keys go on the same
  // way (and back from an end, but not to the picture they left).
  TPagingState then = state;
  then.PageIndex = state.Slideshow ? std::min(page + 1, state.Count - 1) : page;
  then.Direction = direction;
  const int32_t following = NextPage(then).first;
  if (following == page || (!state.Slideshow && following == state.PageIndex)) return {page};
  return {page, following};
}
