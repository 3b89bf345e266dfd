// Copies between device contexts and from packed DIBs.
#include <algorithm>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DibSource.h"
#include "platform/gdi/Raster.h"

using namespace gdi;

namespace {

bool IsFill(DWORD rop) { return rop == BLACKNESS || rop == WHITENESS; }

BOOL Fill(const TDeviceContext& context, int x, int y, int width, int height, DWORD rop) {
  TPixelView view;
  if (!context.View(view)) return TRUE_;
  const TPoint origin = context.ToDevice(x, y);
  const int64_t left = width < 0 ? int64_t{origin.X} + width : origin.X;
  const int64_t top = height < 0 ? int64_t{origin.Y} + height : origin.Y;
  const int64_t right = left + (width < 0 ? -int64_t{width} : width);
  const int64_t bottom = top + (height < 0 ? -int64_t{height} : height);
  auto clamp = [](int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
  };
  const TRgb rgb = rop == WHITENESS ? MakeRgb(255, 255, 255) : 0;
  FillView(view, TRect{clamp(left), clamp(top), clamp(right), clamp(bottom)},
           RgbToPixel(view.Format, rgb));
  return TRUE_;
}

}  // namespace

BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, DWORD rop) {
  const auto target = FindDC(dst);
  if (!target) return FALSE_;
  if (IsFill(rop)) return Fill(*target, x, y, width, height, rop);
  const auto source = FindDC(src);
  TPixelView from, to;
  if (rop != SRCCOPY || !source || !source->View(from)) return FALSE_;
  if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return FALSE_;
  if (!target->View(to)) return TRUE_;  // the screen shows nothing of its own
  const TPoint d = target->ToDevice(x, y);
  const TPoint s = source->ToDevice(srcX, srcY);
  return StretchView(to, d.X, d.Y, width, height, from, s.X, s.Y, srcWidth, srcHeight) ? TRUE_
                                                                                       : FALSE_;
}

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  return StretchBlt(dst, x, y, width, height, src, srcX, srcY, width, height, rop);
}

int StretchDIBits(HDC dst, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  const auto target = FindDC(dst);
  if (!target) return 0;
  TDibSource source;
  if (!source.Open(info, bits, usage, target->State.Palette->Entries)) return 0;
  const TPixelView from = source.View();
  if (IsFill(rop)) return Fill(*target, x, y, width, height, rop) ? from.Height : 0;
  if (rop != SRCCOPY || width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return 0;
  TPixelView to;
  if (!target->View(to)) return from.Height;
  // Source rows of a bottom-up DIB count from its bottom.
  const int64_t top =
      source.Layout().TopDown ? int64_t{srcY} : int64_t{from.Height} - srcY - srcHeight;
  const TPoint d = target->ToDevice(x, y);
  StretchView(to, d.X, d.Y, width, height, from, srcX, top, srcWidth, srcHeight);
  return from.Height;
}
