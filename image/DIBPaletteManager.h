// One palette handle per distinct colour table, shared by every DIB image whose
// table is the same and freed when the last of them lets it go.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/WinTypes.h"

class TPaletteItem {
 public:
  TPaletteItem(uint32_t checkSum, const RGBQUAD* entries, uint32_t count);
  ~TPaletteItem();
  TPaletteItem(const TPaletteItem&) = delete;
  TPaletteItem& operator=(const TPaletteItem&) = delete;

  bool Matches(uint32_t checkSum, const RGBQUAD* entries, uint32_t count) const;

  int32_t Count = 1;  // uses
  uint32_t CheckSum = 0;
  HPALETTE Palette = nullptr;  // owned
  RGBQUAD ColorTable[256]{};
  uint32_t ColorTableCount = 0;
};

class TPaletteManager {
 public:
  // A shared palette for the first count entries (at most 256); none when the
  // system cannot make one.
  HPALETTE AcquirePalette(const RGBQUAD* entries, uint32_t count);
  // Gives up one use of palette and clears the caller's variable.
  void ReleasePalette(HPALETTE& palette);

  // For tests: how many distinct palettes are held, and the uses of one.
  size_t ItemCount() const { return FItems.size(); }
  int32_t UseCount(HPALETTE palette) const;

 private:
  std::vector<std::unique_ptr<TPaletteItem>> FItems;
};

// The process-wide manager, made on first use and freed at program end.
TPaletteManager& PaletteManager();
