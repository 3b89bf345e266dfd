// Which pictures the next page changes will show, so they can be prepared before
// they come: the next pages in the direction the user pages (the other way at an end
// of the list or past its last grid page), or the pages a running slideshow shows at
// its next ticks.
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

// The FileList entries worth preparing, in the order they will be wanted: in the
// single view the next two pictures in the paging direction (or of the slideshow),
// in the grid the next page's cells in loading order.
std::vector<int32_t> EntriesAhead(const TPagingState& state);

// The entries of grid page page (a page past the end of the list has none).
std::vector<int32_t> GridPageEntries(int32_t page, int32_t cellsPerPage, int32_t count);
