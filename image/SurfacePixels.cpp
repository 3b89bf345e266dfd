#include "image/SurfacePixels.h"

#include <cstring>
#include <thread>

#include "platform/framework/ThreadPriority.h"
#include "platform/gdi/DibSource.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Raster.h"

namespace {

// The picture's pixels as the graphics services see a 24-bit bottom-up section.
bool OpenPicture(const TJpegPixels& picture, gdi::TDibSource& source) {
  const BITMAPINFO info = DescribeJpegPixels(picture);
  return !picture.Bits.Empty() && source.Open(&info, picture.Bits.Data(), DIB_RGB_COLORS, {});
}

// Row padding reads as zero, as in a new surface, also in recycled memory.
void ClearPadding(TSurfacePixels& surface) {
  const size_t used = static_cast<size_t>(surface.Width) * surface.Format.BitCount / 8;
  if (static_cast<size_t>(surface.Pitch) == used) return;
  for (int32_t y = 0; y < surface.Height; ++y)
    std::memset(surface.Bits.Data() + y * surface.Pitch + used, 0,
                static_cast<size_t>(surface.Pitch) - used);
}

}  // namespace

TSurfacePixels ConvertToSurfacePixels(const TJpegPixels& picture, const gdi::TPixelFormat& format,
                                      TPixelReclaimer* recycle) {
  TSurfacePixels surface;
  gdi::TDibSource source;
  const int64_t pitch = gdi::DibRowBytes(picture.Width, format.BitCount);
  if (format.BitCount <= 8 || !gdi::IsValidFormat(format) || pitch <= 0 ||
      !OpenPicture(picture, source))
    return surface;
  surface.Bits = TPixelBlock::Recycled(static_cast<size_t>(pitch) * picture.Height, recycle);
  if (surface.Bits.Empty()) return TSurfacePixels{};
  surface.Width = picture.Width;
  surface.Height = picture.Height;
  surface.Pitch = pitch;
  surface.Format = gdi::WithDefaultMasks(format);
  ClearPadding(surface);
  gdi::TPixelView target;
  target.Top = surface.Bits.Data();
  target.Pitch = static_cast<ptrdiff_t>(pitch);
  target.Width = picture.Width;
  target.Height = picture.Height;
  target.Format = surface.Format;
  const gdi::TPixelView from = source.View();
  const auto convertRows = [&](int32_t top, int32_t bottom) {
    gdi::StretchView(target, 0, top, picture.Width, bottom - top, from, 0, top, picture.Width,
                     bottom - top);
  };
  // A camera-size picture is converted in two halves at once: the thread that would
  // use the other processor, the viewer's, is usually waiting for this very picture.
  constexpr int64_t kSplitPixels = int64_t{1} << 20;
  if (int64_t{picture.Width} * picture.Height < kSplitPixels) {
    convertRows(0, picture.Height);
  } else {
    const int32_t middle = picture.Height / 2;
    std::thread helper([&] {
      GiveWayToInteractiveWork();
      convertRows(middle, picture.Height);
    });
    convertRows(0, middle);
    helper.join();
  }
  return surface;
}
