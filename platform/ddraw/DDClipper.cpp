#include "platform/ddraw/DDClipper.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "platform/ddraw/Blitter.h"
#include "platform/ui/ScreenHost.h"

namespace ddraw {
namespace {

// A clip list longer than this is refused rather than trusted.
constexpr DWORD kMaxClipRects = 1u << 16;
constexpr DWORD kRegionHeaderSize = sizeof(RGNDATAHEADER);

}  // namespace

HRESULT TDDClipper::Create(IDirectDrawClipper** clipper) {
  if (!clipper) return DDERR_INVALIDPARAMS;
  *clipper = new (std::nothrow) TDDClipper();
  return *clipper ? DD_OK : DDERR_OUTOFMEMORY;
}

TDDClipper* TDDClipper::From(IDirectDrawClipper* clipper) {
  return dynamic_cast<TDDClipper*>(clipper);
}

HRESULT TDDClipper::QueryInterface(REFIID iid, void** object) {
  if (!object) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  if (iid != IID_IDirectDrawClipper) return E_NOINTERFACE;
  AddRef();
  *object = static_cast<IDirectDrawClipper*>(this);
  return DD_OK;
}

HRESULT TDDClipper::GetClipList(const TRect* rect, RGNDATA* data, DWORD* size) {
  if (!size) return DDERR_INVALIDPARAMS;
  std::vector<TRect> rects;
  if (const HRESULT result = ClipRects(&rects); result != DD_OK) return result;
  std::vector<TRect> kept;
  TRect bound{INT32_MAX, INT32_MAX, -INT32_MAX, -INT32_MAX};
  for (const TRect& each : rects) {
    const TRect piece = rect ? IntersectRects(each, *rect) : each;
    if (piece.IsEmpty()) continue;
    kept.push_back(piece);
    bound = TRect{std::min(bound.Left, piece.Left), std::min(bound.Top, piece.Top),
                  std::max(bound.Right, piece.Right), std::max(bound.Bottom, piece.Bottom)};
  }
  const auto needed = static_cast<DWORD>(kRegionHeaderSize + kept.size() * sizeof(TRect));
  if (!data) {
    *size = needed;
    return DD_OK;
  }
  if (*size < needed) return DDERR_REGIONTOOSMALL;
  data->rdh = RGNDATAHEADER{kRegionHeaderSize, RDH_RECTANGLES, static_cast<DWORD>(kept.size()),
                            static_cast<DWORD>(kept.size() * sizeof(TRect)), bound};
  if (!kept.empty()) {
    std::memcpy(reinterpret_cast<char*>(data) + kRegionHeaderSize, kept.data(),
                kept.size() * sizeof(TRect));
  }
  *size = needed;
  return DD_OK;
}

HRESULT TDDClipper::GetHWnd(HWND* window) {
  if (!window) return DDERR_INVALIDPARAMS;
  *window = FWindow;
  return DD_OK;
}

HRESULT TDDClipper::SetClipList(const RGNDATA* data, DWORD) {
  if (!data) {
    FHasList = false;
    FRects.clear();
    return DD_OK;
  }
  const RGNDATAHEADER& header = data->rdh;
  if (header.dwSize != kRegionHeaderSize || header.iType != RDH_RECTANGLES ||
      header.nCount > kMaxClipRects) {
    return DDERR_INVALIDPARAMS;
  }
  std::vector<TRect> rects(header.nCount);
  if (!rects.empty()) {
    std::memcpy(rects.data(), reinterpret_cast<const char*>(data) + kRegionHeaderSize,
                rects.size() * sizeof(TRect));
  }
  std::erase_if(rects, [](const TRect& each) { return each.IsEmpty(); });
  FRects = std::move(rects);
  FHasList = true;
  ShowIn(nullptr);
  return DD_OK;
}

TDDClipper::~TDDClipper() { ShowIn(nullptr); }

void TDDClipper::ShowIn(HWND window) {
  if (window == FWindow) return;
  if (FWindow) ScreenHost().ShowFramebufferIn(FWindow, false);
  FWindow = window;
  if (FWindow) ScreenHost().ShowFramebufferIn(FWindow, true);
}

HRESULT TDDClipper::SetHWnd(DWORD, HWND window) {
  ShowIn(window);
  FHasList = false;
  FRects.clear();
  return DD_OK;
}

HRESULT TDDClipper::ClipRects(std::vector<TRect>* rects) const {
  rects->clear();
  if (FWindow) {
    TRect client;
    if (ScreenHost().WindowClientRectOnScreen(FWindow, &client) && !client.IsEmpty()) {
      rects->push_back(client);
    }
    return DD_OK;
  }
  if (!FHasList) return DDERR_NOCLIPLIST;
  *rects = FRects;
  return DD_OK;
}

}  // namespace ddraw
