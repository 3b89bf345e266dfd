// Which pictures the next page change will show, so they can be prepared before it
// comes: the next page in the direction the user pages (the other way at an end of
// the list), or the page a running slideshow shows at its next tick.
#pragma once

#include <cstdint>
#include <vector>

struct TPagingState {
  int32_t Count = 0;  // entries of FileList
  int32_t PageIndex = 0;
  int32_t CellsPerPage = 0;  // 0 in the single view
  bool Slideshow = false;    // a tick comes next
  int32_t Direction = 1;     // -1 after Page Up, else 1
};

// The FileList entries of the next page, in the order they are loaded.
std::vector<int32_t> NextPageEntries(const TPagingState& state);

// The entries of grid page page (a page past the end of the list has none).
std::vector<int32_t> GridPageEntries(int32_t page, int32_t cellsPerPage, int32_t count);
