// A clipper made on a device object: limits copies onto a surface to a window's
// visible region or to a list of rectangles.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "device/DXClass.h"
#include "platform/ddraw/DDraw.h"
#include "platform/gdi/ComRef.h"

class TDirectDraw;

class TDirectDrawClipper : public TDirectX {
 public:
  LOUPIX_CLASS(TDirectDrawClipper, TDirectX)

  // Registers with `directDraw` and makes the native clipper; raises
  // EDirectDrawClipperError "%s cannot be made" when it cannot.
  explicit TDirectDrawClipper(TDirectDraw& directDraw);
  ~TDirectDrawClipper() override;
  TDirectDrawClipper(const TDirectDrawClipper&) = delete;
  TDirectDrawClipper& operator=(const TDirectDrawClipper&) = delete;

  // The clipper follows the visible region of `window`.
  void SetHandle(HWND window);
  // An explicit clip list of `rects`.
  void ClipToRects(std::span<const TRect> rects);

  TDirectDraw& DirectDraw() const { return FDirectDraw; }
  IDirectDrawClipper* NativeClipper() const { return FNativeClipper.Get(); }
  // Raises EDirectDrawClipperError "%s not made" without a native clipper.
  IDirectDrawClipper* RequiredClipper() const;

 private:
  TDirectDraw& FDirectDraw;
  TComRef<IDirectDrawClipper> FNativeClipper;
};

// The region block ClipToRects hands to the native clipper: a 32-byte header
// (size, type, count, byte size of the rectangles, their bound) and the rectangles.
std::vector<std::byte> MakeClipRegion(std::span<const TRect> rects);
