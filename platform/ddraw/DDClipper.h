// Limits copies to a window's client area on the screen or to a list of
// rectangles, whichever was set last.
#pragma once

#include <vector>

#include "platform/ddraw/ComObject.h"
#include "platform/ddraw/DDraw.h"

namespace ddraw {

class TDDClipper final : public TComObject<IDirectDrawClipper> {
 public:
  static HRESULT Create(IDirectDrawClipper** clipper);
  static TDDClipper* From(IDirectDrawClipper* clipper);

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT GetClipList(const TRect* rect, RGNDATA* data, DWORD* size) override;
  HRESULT GetHWnd(HWND* window) override;
  HRESULT SetClipList(const RGNDATA* data, DWORD flags) override;
  HRESULT SetHWnd(DWORD flags, HWND window) override;

  // The rectangles copies may write, in screen (surface) coordinates; none
  // when the window is hidden. DDERR_NOCLIPLIST when nothing was set.
  HRESULT ClipRects(std::vector<TRect>* rects) const;

 private:
  TDDClipper() = default;
  ~TDDClipper() override;
  // The window a clipper follows shows the screen under it (normal level).
  void ShowIn(HWND window);

  HWND FWindow = nullptr;
  bool FHasList = false;
  std::vector<TRect> FRects;
};

}  // namespace ddraw
