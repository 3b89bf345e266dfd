#include "display/DXDrawDisplay.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "device/DXErrors.h"
#include "device/DirectDraw.h"

namespace {

bool IsDisplayDepth(int32_t bitCount) {
  return bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

HRESULT AddMode(DDSURFACEDESC* mode, void* context) {
  new TDXDrawDisplayMode(static_cast<TCollection*>(context), *mode);  // owned by the list
  return DDENUMRET_OK;
}

}  // namespace

TDXDrawDisplay::TDXDrawDisplay(TDXDrawDisplayOwner& owner)
    : FOwner(owner),
      FModes(std::make_unique<TCollection>(TCollectionItemClass::Of<TDXDrawDisplayMode>())) {}

TDXDrawDisplay::~TDXDrawDisplay() = default;

void TDXDrawDisplay::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TDXDrawDisplay*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  FBitCount = other->FBitCount;
  FHeight = other->FHeight;
  FWidth = other->FWidth;
  FFixedBitCount = other->FFixedBitCount;
  FFixedRatio = other->FFixedRatio;
  FFixedSize = other->FFixedSize;
}

void TDXDrawDisplay::SetBitCount(int32_t value) {
  if (!IsDisplayDepth(value)) throw EDirectDrawError(DXText::kBadBitCount);
  FBitCount = value;
}

void TDXDrawDisplay::EnsureModes() {
  if (FModes->Count() == 0) EnumerateModes();
}

int TDXDrawDisplay::Count() {
  EnsureModes();
  return FModes->Count();
}

TDXDrawDisplayMode& TDXDrawDisplay::Modes(int index) {
  EnsureModes();
  return *static_cast<TDXDrawDisplayMode*>(FModes->Items(index));
}

int TDXDrawDisplay::IndexOf(int32_t width, int32_t height, int32_t bitCount) {
  EnsureModes();
  for (int i = 0; i < FModes->Count(); ++i) {
    const TDXDrawDisplayMode& mode = Modes(i);
    if (mode.Width() == width && mode.Height() == height && mode.BitCount() == bitCount) return i;
  }
  return -1;
}

void TDXDrawDisplay::EnumerateOn(TDirectDraw& device) {
  device.SetLastResult(
      device.RequiredDevice()->EnumDisplayModes(0, nullptr, FModes.get(), AddMode));
}

void TDXDrawDisplay::EnumerateModes() {
  FModes->Clear();
  if (TDirectDraw* device = FOwner.Device()) {
    EnumerateOn(*device);
  } else {
    TDirectDraw temporary(FOwner.DriverGUID());
    EnumerateOn(temporary);
  }
  SortModes();
}

// Sorts by width, height and depth, rewriting the items' order in the list.
void TDXDrawDisplay::SortModes() {
  std::vector<TDXDrawDisplayMode*> sorted;
  sorted.reserve(static_cast<size_t>(FModes->Count()));
  for (int i = 0; i < FModes->Count(); ++i) sorted.push_back(&Modes(i));
  std::stable_sort(sorted.begin(), sorted.end(), [](const auto* a, const auto* b) {
    if (a->Width() != b->Width()) return a->Width() < b->Width();
    if (a->Height() != b->Height()) return a->Height() < b->Height();
    return a->BitCount() < b->BitCount();
  });
  for (size_t i = 0; i < sorted.size(); ++i) sorted[i]->SetIndex(static_cast<int>(i));
}

bool TDXDrawDisplay::ApplyMode(int32_t width, int32_t height, int32_t bitCount) {
  TDirectDraw* device = FOwner.Device();
  if (!device) return false;
  device->SetLastResult(device->RequiredDevice()->SetDisplayMode(
      static_cast<DWORD>(width), static_cast<DWORD>(height), static_cast<DWORD>(bitCount)));
  if (device->LastResult() != DD_OK) return false;
  FWidth = width;
  FHeight = height;
  FBitCount = bitCount;
  return true;
}

bool TDXDrawDisplay::SelectMode(int32_t width, int32_t height, int32_t bitCount) {
  if (width <= 0 || height <= 0 || !IsDisplayDepth(bitCount)) return false;
  if (ApplyMode(width, height, bitCount)) return true;
  if (FFixedRatio && SearchMode(width, height, bitCount, true)) return true;
  return SearchMode(width, height, bitCount, false);
}

// Walks the sorted list keeping the smallest qualifying size; at that size the
// last (deepest) qualifying depth wins, unless the requested depth is offered.
bool TDXDrawDisplay::SearchMode(int32_t width, int32_t height, int32_t bitCount, bool sameRatio) {
  EnsureModes();
  int32_t bestWidth = INT_MAX;
  int32_t bestHeight = INT_MAX;
  int32_t bestBitCount = bitCount;
  bool found = false;
  for (int i = 0; i < FModes->Count(); ++i) {
    const TDXDrawDisplayMode& mode = Modes(i);
    const int32_t w = mode.Width();
    const int32_t h = mode.Height();
    const int32_t bits = mode.BitCount();
    if (w > bestWidth || h > bestHeight) continue;
    if (sameRatio && int64_t{w} * height != int64_t{width} * h) continue;
    if (FFixedSize ? (w != width || h != height) : (w < width || h < height)) continue;
    if (FFixedBitCount ? bits != bitCount : !((bits > 8 && bitCount > 8) || bits >= bitCount))
      continue;
    bestWidth = w;
    bestHeight = h;
    bestBitCount = bits;
    found = true;
  }
  if (!found) return false;
  if (bestBitCount != bitCount && IndexOf(bestWidth, bestHeight, bitCount) >= 0)
    bestBitCount = bitCount;
  return ApplyMode(bestWidth, bestHeight, bestBitCount);
}
