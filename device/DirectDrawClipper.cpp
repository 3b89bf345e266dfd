#include "device/DirectDrawClipper.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "device/DXErrors.h"
#include "device/DirectDraw.h"

TDirectDrawClipper::TDirectDrawClipper(TDirectDraw& directDraw) : FDirectDraw(directDraw) {
  FDirectDraw.Clippers().Add(this);
  try {
    IDirectDrawClipper* clipper = nullptr;
    FDirectDraw.SetLastResult(FDirectDraw.RequiredDevice()->CreateClipper(0, &clipper, nullptr));
    if (FDirectDraw.LastResult() != DD_OK || !clipper)
      throw EDirectDrawClipperError(DXText::kCannotMake, "Clipper");
    FNativeClipper.Reset(clipper);
  } catch (...) {
    FDirectDraw.Clippers().Remove(this);
    throw;
  }
}

TDirectDrawClipper::~TDirectDrawClipper() {
  FDirectDraw.Clippers().Remove(this);
  FNativeClipper.Reset();
}

void TDirectDrawClipper::SetHandle(HWND window) {
  SetLastResult(RequiredClipper()->SetHWnd(0, window));
}

void TDirectDrawClipper::ClipToRects(std::span<const TRect> rects) {
  const std::vector<std::byte> region = MakeClipRegion(rects);
  SetLastResult(RequiredClipper()->SetClipList(reinterpret_cast<const RGNDATA*>(region.data()), 0));
}

IDirectDrawClipper* TDirectDrawClipper::RequiredClipper() const {
  if (!FNativeClipper) throw EDirectDrawClipperError(DXText::kNotMade, "IDirectDrawClipper");
  return FNativeClipper.Get();
}

std::vector<std::byte> MakeClipRegion(std::span<const TRect> rects) {
  RGNDATAHEADER header;
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = static_cast<DWORD>(rects.size());
  header.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(TRect));
  header.rcBound = TRect{INT_MAX, INT_MAX, -INT_MAX, -INT_MAX};
  for (const TRect& rect : rects) {
    header.rcBound.Left = std::min(header.rcBound.Left, rect.Left);
    header.rcBound.Top = std::min(header.rcBound.Top, rect.Top);
    header.rcBound.Right = std::max(header.rcBound.Right, rect.Right);
    header.rcBound.Bottom = std::max(header.rcBound.Bottom, rect.Bottom);
  }
  std::vector<std::byte> region(sizeof(header) + rects.size_bytes());
  std::memcpy(region.data(), &header, sizeof(header));
  if (!rects.empty()) std::memcpy(region.data() + sizeof(header), rects.data(), rects.size_bytes());
  return region;
}
