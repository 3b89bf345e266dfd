#include "image/DIBPaletteManager.h"

#include <algorithm>
#include <cstring>

#include "image/DIBPixelLayout.h"
#include "platform/gdi/Gdi.h"

namespace {

uint32_t CheckSumOf(const RGBQUAD* entries, uint32_t count) {
  uint32_t sum = count;
  for (uint32_t i = 0; i < count; ++i)
    sum += entries[i].rgbBlue + entries[i].rgbGreen + entries[i].rgbRed;
  return sum;
}

}  // namespace

TPaletteItem::TPaletteItem(uint32_t checkSum, const RGBQUAD* entries, uint32_t count)
    : CheckSum(checkSum), ColorTableCount(count) {
  std::copy(entries, entries + count, ColorTable);
  LOGPALETTE logical;
  logical.palVersion = 0x300;
  logical.palNumEntries = static_cast<WORD>(count);
  QuadsToPaletteEntries(entries, logical.palPalEntry, count);
  Palette = CreatePalette(&logical);
}

TPaletteItem::~TPaletteItem() {
  if (Palette) DeleteObject(Palette);
}

bool TPaletteItem::Matches(uint32_t checkSum, const RGBQUAD* entries, uint32_t count) const {
  return CheckSum == checkSum && ColorTableCount == count &&
         std::memcmp(ColorTable, entries, count * sizeof(RGBQUAD)) == 0;
}

HPALETTE TPaletteManager::AcquirePalette(const RGBQUAD* entries, uint32_t count) {
  count = std::min<uint32_t>(count, 256);
  const uint32_t checkSum = CheckSumOf(entries, count);
  for (const auto& item : FItems) {
    if (item->Matches(checkSum, entries, count)) {
      ++item->Count;
      return item->Palette;
    }
  }
  auto item = std::make_unique<TPaletteItem>(checkSum, entries, count);
  if (!item->Palette) return nullptr;  // nothing to share
  FItems.push_back(std::move(item));
  return FItems.back()->Palette;
}

void TPaletteManager::ReleasePalette(HPALETTE& palette) {
  if (!palette) return;
  const auto it = std::find_if(FItems.begin(), FItems.end(),
                               [palette](const auto& item) { return item->Palette == palette; });
  palette = nullptr;
  if (it == FItems.end()) return;
  if (--(*it)->Count <= 0) FItems.erase(it);
}

int32_t TPaletteManager::UseCount(HPALETTE palette) const {
  for (const auto& item : FItems)
    if (item->Palette == palette) return item->Count;
  return 0;
}

TPaletteManager& PaletteManager() {
  static TPaletteManager manager;
  return manager;
}
