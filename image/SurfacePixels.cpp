#include "image/SurfacePixels.h"

#include "platform/gdi/DibSource.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Raster.h"

namespace {

// The picture's pixels as the graphics services see a 24-bit bottom-up section.
bool OpenPicture(const TJpegPixels& picture, gdi::TDibSource& source) {
  const BITMAPINFO info = DescribeJpegPixels(picture);
  return !picture.Bits.Empty() && source.Open(&info, picture.Bits.Data(), DIB_RGB_COLORS, {});
}

}  // namespace

TSurfacePixels ConvertToSurfacePixels(const TJpegPixels& picture, const gdi::TPixelFormat& format) {
  TSurfacePixels surface;
  gdi::TDibSource source;
  const int64_t pitch = gdi::DibRowBytes(picture.Width, format.BitCount);
  if (format.BitCount <= 8 || !gdi::IsValidFormat(format) || pitch <= 0 ||
      !OpenPicture(picture, source))
    return surface;
  surface.Bits = TPixelBlock::Allocate(static_cast<size_t>(pitch) * picture.Height);
  if (surface.Bits.Empty()) return surface;
  surface.Width = picture.Width;
  surface.Height = picture.Height;
  surface.Pitch = pitch;
  surface.Format = gdi::WithDefaultMasks(format);
  gdi::TPixelView target;
  target.Top = surface.Bits.Data();
  target.Pitch = static_cast<ptrdiff_t>(pitch);
  target.Width = picture.Width;
  target.Height = picture.Height;
  target.Format = surface.Format;
  gdi::StretchView(target, 0, 0, picture.Width, picture.Height, source.View(), 0, 0, picture.Width,
                   picture.Height);
  return surface;
}
